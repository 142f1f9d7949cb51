#include "tool_port.h"

#include "reply_channel.h"
#include "wire_ports.h"

#include <cerrno>

CUdpSocket g_listener;
CReplyChannel g_replies(g_listener);

Status BindToolPort(CUdpSocket& socket)
{
    if (socket.m_hRawSocket == -1)
        return Status::FromErrno(EBADF, "Could not bind port 10001");
    CSockAddr local(nullptr, kToolPort);
    if (bind(socket.m_hRawSocket, reinterpret_cast<const sockaddr*>(&local.m_addr), sizeof local.m_addr) != 0)
        return Status::FromErrno(errno, "Could not bind port 10001");
    return {};
}

Status BroadcastRequest(const std::string& text, unsigned ifindex)
{
    Result<std::vector<Route>> routes = PlanRoutes(RoutePlan { .ifindex = ifindex });
    if (!routes.Ok())
        return routes.Failure();
    // From the listener itself when it holds the tool port: a device that
    // answers at once finds it bound, and answers to the sender's port reach it.
    auto sendFrom = [&](CReplyChannel& sender) {
        Result<int> sent = sender.Send(*routes, text);
        return sent.Ok() ? Status() : sent.Failure();
    };
    if (g_replies.HoldsPort())
        return sendFrom(g_replies);
    CReplyChannel own;
    if (Status opened = own.OpenForSending(true); !opened.Ok())
        return opened;
    return sendFrom(own);
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
    return g_replies.Open().Errno();
}

int ReceiveOnListener(void* buffer, int length, CSockAddr& sender, unsigned& ifindex)
{
    return g_replies.ReceiveOne(buffer, length, sender, ifindex);
}

void CloseListener()
{
    g_replies.Close();
}
