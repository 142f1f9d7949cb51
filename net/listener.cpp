#include "listener.h"

#include "datagram.h"
#include "wire_ports.h"

#include <arpa/inet.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <cerrno>

#include <unistd.h>

CUdpSocket g_listener;

namespace {

constexpr int kBindRetries = 20;
constexpr unsigned kBindRetryMs = 10;

} // namespace

Status BindToolPort(CUdpSocket& socket)
{
    if (socket.m_hRawSocket == -1)
        return Status::FromErrno(EBADF, "Could not bind port 10001");
    CSockAddr local(nullptr, kToolPort);
    if (bind(socket.m_hRawSocket, reinterpret_cast<const sockaddr*>(&local.m_addr), sizeof local.m_addr) != 0)
        return Status::FromErrno(errno, "Could not bind port 10001");
    return {};
}

namespace {

bool HoldsToolPort(const CUdpSocket& socket)
{
    if (socket.m_hRawSocket == -1)
        return false;
    sockaddr_in local {};
    socklen_t length = sizeof local;
    return getsockname(socket.m_hRawSocket, reinterpret_cast<sockaddr*>(&local), &length) == 0
        && ntohs(local.sin_port) == kToolPort;
}

} // namespace

Status BroadcastRequest(const std::string& text, unsigned ifindex)
{
    // From the listener itself when it holds the tool port: a device that
    // answers at once finds it bound, and answers to the sender's port reach it.
    CUdpSocket own;
    const bool fromListener = HoldsToolPort(g_listener);
    CUdpSocket& sender = fromListener ? g_listener : own;
    Status opened;
    if (!fromListener) {
        if (!own.Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET))
            opened = Status::FromErrno(errno, "Could not open a socket");
        BindToolPort(own); // while another program holds 10001 the datagram leaves from another port
    }
    Result<std::vector<Route>> routes = PlanRoutes(RoutePlan { .ifindex = ifindex });
    const std::vector<Route> none;
    Status failed = routes.Ok() ? Status() : routes.Failure();
    bool sent = false;
    // The NUL goes too. A port that refuses is no failure while another took the request.
    std::span<const char> bytes(text.c_str(), text.size() + 1);
    for (const Route& route : routes.Ok() ? *routes : none) {
        Status one = SendAlong(sender.m_hRawSocket, route, kDevicePort, bytes);
        sent = sent || one.Ok();
        if (failed.Ok())
            failed = one;
    }
    own.Close();
    if (sent)
        return {};
    return opened.Ok() ? failed : opened;
}

BOOL SendBroadcast(std::string text, int* pError, unsigned ifindex)
{
    Status sent = BroadcastRequest(text, ifindex);
    if (sent.Ok())
        return 1;
    if (pError != nullptr)
        *pError = sent.Errno();
    return 0;
}

int OpenListener()
{
    // A listener that holds the port already keeps it, with the replies queued on it.
    if (HoldsToolPort(g_listener))
        return 0;
    if (g_listener.m_hRawSocket != -1)
        g_listener.Close();
    if (!g_listener.Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET) && g_listener.m_hRawSocket == -1)
        return errno;
    AskArrivalInfo(g_listener.m_hRawSocket, false); // tells which port each reply came in by
    // A program started from here a moment ago (the browser) holds a copy of
    // the last listener's descriptor until it has replaced itself; the port
    // is free again soon after. Only a port that stays taken is reported.
    int error = BindToolPort(g_listener).Errno();
    for (int retry = 0; error == EADDRINUSE && retry < kBindRetries; ++retry) {
        usleep(kBindRetryMs * 1000);
        error = BindToolPort(g_listener).Errno();
    }
    return error;
}

int ReceiveOnListener(void* buffer, int length, CSockAddr& sender, unsigned& ifindex)
{
    int on = 1; // the listener stays non-blocking from its first read on
    ioctl(g_listener.m_hRawSocket, FIONBIO, &on);
    return ReceiveDatagram(g_listener.m_hRawSocket, buffer, length, 0, &sender.m_addr, &ifindex);
}

void CloseListener()
{
    g_listener.Close();
}
