#pragma once

#include "bool_result.h"

#include <netinet/in.h>

#include <string>
#include <string_view>

// An IPv4 socket address built from a host text and a port.
class CSockAddr {
public:
    // host null: 0.0.0.0. A text of digits and dots goes to inet_addr, anything
    // else to name resolution (0.0.0.0 when it cannot be resolved).
    // The family is always AF_INET.
    CSockAddr(const char* host, int port, int family = AF_INET);

    // "%d.%d.%d.%d", first octet first.
    std::string ToString() const;

    // 1 when every character is a digit or '.', an empty text included.
    static BOOL IsDottedQuad(const char* text);

    sockaddr_in m_addr;
};

// True for exactly four decimal numbers 0 to 255 joined by dots, with no
// leading zeros, signs or blanks (what inet_pton accepts).
bool IsDottedQuadIpv4(std::string_view text);

// A datagram socket that owns one raw handle (-1 while it holds none).
class CUdpSocket {
public:
    CUdpSocket();
    virtual ~CUdpSocket();
    CUdpSocket(const CUdpSocket&) = delete;
    CUdpSocket& operator=(const CUdpSocket&) = delete;

    // socket(family, type, protocol) plus SO_BROADCAST. Returns 0 when either
    // fails; a handle is kept when only SO_BROADCAST failed.
    BOOL Open(int type, int protocol, int family);

    virtual void Close();
    virtual int Receive(void* buffer, int length, int flags);
    virtual int Send(const void* buffer, int length, int flags);
    virtual BOOL AcceptInto(CUdpSocket& target, CSockAddr* peer);
    virtual void SetReceiveTimeout(int ms);
    virtual int ReadByte();
    virtual int SendTo(const void* buffer, int length, CSockAddr& destination, int flags);
    virtual int ReceiveFrom(void* buffer, int length, CSockAddr& sender, int flags);

    int m_nReadPos = 0;
    int m_nReadLen = 0;
    unsigned char m_readBuf[1024];
    int m_nTimeoutMs = -1;
    int m_hRawSocket = -1;
};

// One recvmsg of a whole datagram: its length, or -1 (errno EMSGSIZE when it
// was longer than `length`: it has left the queue all the same). With
// ifindex, the interface it arrived on (0 unless IP_PKTINFO is on).
int ReceiveDatagram(int handle, void* buffer, int length, int flags, sockaddr_in* from, unsigned* ifindex);

// Waits until the handle is readable, at most ms milliseconds. Returns poll's
// result; a handle of -1 fails at once instead of sleeping the whole bound.
int WaitReadable(int handle, int ms);
