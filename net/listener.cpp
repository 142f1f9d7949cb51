#include "listener.h"

#include "port_send.h"
#include "wire_ports.h"

#include <sys/ioctl.h>
#include <sys/socket.h>

#include <cerrno>

CUdpSocket g_listener;

int BindToolPort(CUdpSocket& socket)
{
    if (socket.m_hRawSocket == -1)
        return EBADF;
    CSockAddr local(nullptr, kToolPort);
    if (bind(socket.m_hRawSocket, reinterpret_cast<const sockaddr*>(&local.m_addr), sizeof local.m_addr) != 0)
        return errno;
    return 0;
}

BOOL SendBroadcast(std::string text, int* pError, unsigned ifindex)
{
    CUdpSocket sender;
    int openError = sender.Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET) ? 0 : errno;
    BindToolPort(sender); // while the listener holds 10001 the datagram leaves from another port
    int sendError = 0;
    // A port that refuses is no failure while another took the request.
    bool sent = CountSent(BroadcastOnEveryPort(sender.m_hRawSocket, text.c_str(), text.size() + 1, kDevicePort,
                              ifindex), &sendError) > 0;
    sender.Close();
    if (sent)
        return 1;
    if (pError != nullptr)
        *pError = openError != 0 ? openError : sendError;
    return 0;
}

int OpenListener()
{
    if (g_listener.m_hRawSocket != -1)
        g_listener.Close();
    if (!g_listener.Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET) && g_listener.m_hRawSocket == -1)
        return errno;
    int on = 1; // tells which port each reply came in by
    setsockopt(g_listener.m_hRawSocket, IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
    return BindToolPort(g_listener);
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
