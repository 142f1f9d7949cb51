#include "listener.h"

#include "wire_ports.h"

#include <sys/socket.h>

#include <cerrno>

CUdpSocket g_listener;

static int BindToolPort(CUdpSocket& socket)
{
    if (socket.m_hRawSocket == -1)
        return EBADF;
    CSockAddr local(nullptr, kToolPort);
    if (bind(socket.m_hRawSocket, reinterpret_cast<const sockaddr*>(&local.m_addr), sizeof local.m_addr) != 0)
        return errno;
    return 0;
}

BOOL SendBroadcast(std::string text, int* pError)
{
    CUdpSocket sender;
    int openError = sender.Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET) ? 0 : errno;
    BindToolPort(sender); // while the listener holds 10001 the datagram leaves from another port
    CSockAddr destination(kBroadcastAddress, kDevicePort);
    int sent = sender.SendTo(text.c_str(), static_cast<int>(text.size()) + 1, destination, 0);
    int sendError = errno;
    sender.Close();
    if (sent == -1) {
        if (pError != nullptr)
            *pError = openError != 0 ? openError : sendError;
        return 0;
    }
    return 1;
}

int OpenListener()
{
    if (g_listener.m_hRawSocket != -1)
        g_listener.Close();
    if (!g_listener.Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET) && g_listener.m_hRawSocket == -1)
        return errno;
    return BindToolPort(g_listener);
}

void CloseListener()
{
    g_listener.Close();
}
