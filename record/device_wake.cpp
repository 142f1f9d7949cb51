#include "device_wake.h"

#include <cerrno>

Result<WakePlan> PlanWake(const MacAddress& mac, const std::string& lastPort, const std::optional<RoutePlan>& given)
{
    WakePlan plan;
    plan.packet = BuildMagicPacket(mac);
    Result<std::vector<Route>> routes = PlanRoutes(given ? *given : RoutePlan { .interfaceName = lastPort });
    if (!routes.Ok() && !given && !lastPort.empty()) {
        plan.fellBack = true;
        routes = PlanRoutes(RoutePlan {});
    }
    if (!routes.Ok())
        return routes.Failure();
    plan.routes = std::move(*routes);
    return plan;
}

Result<int> SendAlongEach(int handle, const std::vector<Route>& routes, int port, std::string_view text)
{
    int sent = 0;
    Status first;
    std::string failures;
    std::span<const char> bytes(text.data(), text.size());
    for (const Route& route : routes) {
        Status failed = SendAlong(handle, route, port, bytes);
        if (failed.Ok()) {
            ++sent;
            continue;
        }
        if (first.Ok())
            first = failed;
        if (failed.Errno() == ENETUNREACH && route.ifindex == 0 && route.destination == kLimitedBroadcast)
            failures += "No IPv4 interface is up and can broadcast\n"; // nor any route for it
        else
            failures += failed.Message() + "\n";
    }
    if (sent > 0 || routes.empty())
        return sent;
    return Status(first.Code(), failures);
}
