#include "udp_socket.h"

#include "datagram.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

CSockAddr::CSockAddr(const char* host, int port, int /*family*/)
{
    std::memset(&m_addr, 0, sizeof m_addr);
    m_addr.sin_family = AF_INET;
    if (host == nullptr) {
        m_addr.sin_addr.s_addr = htonl(INADDR_ANY);
    } else if (IsDottedQuad(host)) {
        m_addr.sin_addr.s_addr = inet_addr(host);
    } else {
        addrinfo hints {};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_DGRAM;
        addrinfo* found = nullptr;
        if (getaddrinfo(host, nullptr, &hints, &found) == 0 && found != nullptr) {
            m_addr.sin_addr = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
        }
        if (found != nullptr)
            freeaddrinfo(found);
    }
    m_addr.sin_port = htons(static_cast<uint16_t>(port));
}

std::string CSockAddr::ToString() const
{
    return Ipv4::FromInAddr(m_addr.sin_addr).ToText(); // first octet first, each 0 to 255
}

BOOL CSockAddr::IsDottedQuad(const char* text)
{
    for (const char* p = text; *p != '\0'; ++p) {
        if ((*p < '0' || *p > '9') && *p != '.')
            return 0;
    }
    return 1;
}

bool IsDottedQuadIpv4(std::string_view text)
{
    return Ipv4::Parse(text).has_value();
}

int WaitReadable(int handle, int ms)
{
    if (handle < 0) {
        errno = EBADF;
        return -1;
    }
    pollfd pfd { handle, POLLIN, 0 };
    return poll(&pfd, 1, ms);
}

CUdpSocket::CUdpSocket() = default;

CUdpSocket::~CUdpSocket()
{
    Close();
}

BOOL CUdpSocket::Open(int type, int protocol, int family)
{
    // Close-on-exec: a program started from here (the browser) must not keep
    // port 10001 bound after we close it, or the next scan cannot listen.
    m_hRawSocket = socket(family, type | SOCK_CLOEXEC, protocol);
    if (m_hRawSocket == -1)
        return 0;
    int on = 1;
    if (setsockopt(m_hRawSocket, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0)
        return 0;
    return 1;
}

void CUdpSocket::Close()
{
    if (m_hRawSocket != -1) {
        close(m_hRawSocket);
        m_hRawSocket = -1;
    }
}

// Linux silently truncates a datagram longer than the buffer; the devices'
// protocol wants such a datagram dropped whole, as a failed read.
int ReceiveDatagram(int handle, void* buffer, int length, int flags, sockaddr_in* from, unsigned* ifindex)
{
    ReceivedDatagram one;
    one.buffer = std::span<char>(static_cast<char*>(buffer), static_cast<size_t>(length < 0 ? 0 : length));
    Result<int> got = ReceiveBatch(handle, std::span<ReceivedDatagram>(&one, 1), flags);
    if (ifindex != nullptr)
        *ifindex = 0;
    if (!got.Ok() || *got == 0) {
        errno = got.Ok() ? EAGAIN : got.Failure().Errno();
        return -1;
    }
    if (one.truncated) {
        errno = EMSGSIZE;
        return -1;
    }
    if (from != nullptr)
        *from = one.sender;
    if (ifindex != nullptr)
        *ifindex = one.ifindex;
    return one.length;
}

int CUdpSocket::Receive(void* buffer, int length, int flags)
{
    if (m_nTimeoutMs != -1) {
        int ready = WaitReadable(m_hRawSocket, m_nTimeoutMs);
        if (ready == 0)
            return 0;
    }
    return ReceiveDatagram(m_hRawSocket, buffer, length, flags, nullptr, nullptr);
}

int CUdpSocket::Send(const void* buffer, int length, int flags)
{
    if (m_hRawSocket < 0) {
        errno = EBADF;
        return -1;
    }
    return static_cast<int>(send(m_hRawSocket, buffer, static_cast<size_t>(length), flags));
}

BOOL CUdpSocket::AcceptInto(CUdpSocket& target, CSockAddr* peer)
{
    int handle = -1;
    if (m_hRawSocket < 0) {
        errno = EBADF;
    } else if (peer != nullptr) {
        socklen_t len = sizeof peer->m_addr;
        handle = accept(m_hRawSocket, reinterpret_cast<sockaddr*>(&peer->m_addr), &len);
    } else {
        handle = accept(m_hRawSocket, nullptr, nullptr);
    }
    target.m_hRawSocket = handle;
    return handle != -1;
}

void CUdpSocket::SetReceiveTimeout(int ms)
{
    m_nTimeoutMs = ms;
}

int CUdpSocket::ReadByte()
{
    if (m_nReadPos >= m_nReadLen) {
        m_nReadPos = 0;
        m_nReadLen = Receive(m_readBuf, sizeof m_readBuf, 0);
        // A failed refill (-1) is not a byte either; the next call refills again.
        if (m_nReadLen <= 0)
            return -1;
    }
    return m_readBuf[m_nReadPos++];
}

int CUdpSocket::SendTo(const void* buffer, int length, CSockAddr& destination, int flags)
{
    if (m_hRawSocket < 0) {
        errno = EBADF;
        return -1;
    }
    return static_cast<int>(sendto(m_hRawSocket, buffer, static_cast<size_t>(length), flags,
        reinterpret_cast<const sockaddr*>(&destination.m_addr), sizeof destination.m_addr));
}

int CUdpSocket::ReceiveFrom(void* buffer, int length, CSockAddr& sender, int flags)
{
    if (m_hRawSocket < 0) {
        errno = EBADF;
        return -1;
    }
    int on = 1;
    ioctl(m_hRawSocket, FIONBIO, &on);
    return ReceiveDatagram(m_hRawSocket, buffer, length, flags, &sender.m_addr, nullptr);
}
