#include "port_send.h"

#include "datagram.h"

int SendThroughPort(int handle, const void* data, size_t length, const sockaddr_in& destination, unsigned ifindex,
    in_addr source)
{
    std::span<const char> bytes(static_cast<const char*>(data), length);
    return SendDatagram(handle, bytes, destination, ifindex, Ipv4::FromInAddr(source)).Errno();
}

std::vector<PortAttempt> BroadcastOnEveryPort(int handle, const void* data, size_t length, int port, unsigned only)
{
    Result<std::vector<Route>> routes = PlanRoutes(RoutePlan { .ifindex = only });
    if (!routes.Ok()) {
        const Status& failed = routes.Failure();
        return { { failed.Code() == std::errc::no_such_device ? only : 0, failed.Errno() } };
    }
    std::vector<PortAttempt> attempts;
    std::span<const char> bytes(static_cast<const char*>(data), length);
    for (const Route& route : *routes)
        attempts.push_back({ route.ifindex, SendAlong(handle, route, port, bytes).Errno() });
    return attempts;
}

int CountSent(const std::vector<PortAttempt>& attempts, int* firstError)
{
    int sent = 0;
    int error = 0;
    for (const PortAttempt& a : attempts) {
        if (a.error == 0)
            ++sent;
        else if (error == 0)
            error = a.error;
    }
    if (firstError != nullptr)
        *firstError = error;
    return sent;
}
