#include "udp_socket.h"
#include "virtual_lan.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <sys/socket.h>

#include <cstring>

namespace {

bool ZeroTail(const CSockAddr& a)
{
    static const unsigned char zero[sizeof a.m_addr.sin_zero] = {};
    return std::memcmp(a.m_addr.sin_zero, zero, sizeof zero) == 0;
}

TEST(SockAddr, NullHostIsAnyAddress)
{
    CSockAddr a(nullptr, 10001);
    static_assert(sizeof a.m_addr == 16);
    EXPECT_EQ(a.m_addr.sin_family, AF_INET);
    EXPECT_EQ(a.m_addr.sin_addr.s_addr, htonl(INADDR_ANY));
    EXPECT_EQ(ntohs(a.m_addr.sin_port), 10001);
    EXPECT_TRUE(ZeroTail(a));
    EXPECT_EQ(a.ToString(), "0.0.0.0");
}

TEST(SockAddr, DottedTextGoesToInetAddr)
{
    CSockAddr broadcast("255.255.255.255", 10000);
    EXPECT_EQ(broadcast.m_addr.sin_family, AF_INET);
    EXPECT_EQ(broadcast.m_addr.sin_addr.s_addr, htonl(INADDR_BROADCAST));
    EXPECT_EQ(ntohs(broadcast.m_addr.sin_port), 10000);
    EXPECT_TRUE(ZeroTail(broadcast));

    CSockAddr plain("198.18.3.4", 65535, AF_INET6); // the family argument is ignored
    EXPECT_EQ(plain.m_addr.sin_family, AF_INET);
    EXPECT_EQ(plain.m_addr.sin_addr.s_addr, inet_addr("198.18.3.4"));
    EXPECT_EQ(ntohs(plain.m_addr.sin_port), 65535);

    // Digits and dots that do not make an address give INADDR_NONE, as inet_addr does.
    EXPECT_EQ(CSockAddr("1.2.3.456", 1).m_addr.sin_addr.s_addr, INADDR_NONE);
    EXPECT_EQ(CSockAddr("1..2", 1).m_addr.sin_addr.s_addr, INADDR_NONE);
}

TEST(SockAddr, TextWithALetterGoesToNameResolution)
{
    // In a private namespace no name server is reachable, so only local names resolve.
    PRIVATE_NET_REQUIRE();
    CSockAddr unresolved("10.0.0.1a", 10001);
    EXPECT_NE(unresolved.m_addr.sin_addr.s_addr, inet_addr("10.0.0.1a")); // not INADDR_NONE
    EXPECT_EQ(unresolved.ToString(), "0.0.0.0");
    EXPECT_EQ(ntohs(unresolved.m_addr.sin_port), 10001);
    EXPECT_EQ(unresolved.m_addr.sin_family, AF_INET);

    CSockAddr local("localhost", 80);
    EXPECT_EQ(local.ToString(), "127.0.0.1");
    EXPECT_EQ(ntohs(local.m_addr.sin_port), 80);
}

TEST(SockAddr, ToStringPrintsOctetsUnsignedFirstFirst)
{
    EXPECT_EQ(CSockAddr("192.168.1.200", 0).ToString(), "192.168.1.200");
    EXPECT_EQ(CSockAddr("255.255.255.255", 0).ToString(), "255.255.255.255");
    CSockAddr a(nullptr, 0);
    const unsigned char octets[4] = { 10, 0, 128, 7 };
    std::memcpy(&a.m_addr.sin_addr.s_addr, octets, 4);
    EXPECT_EQ(a.ToString(), "10.0.128.7");
}

TEST(SockAddr, IsDottedQuadAcceptsOnlyDigitsAndDots)
{
    EXPECT_EQ(CSockAddr::IsDottedQuad(""), 1);
    EXPECT_EQ(CSockAddr::IsDottedQuad("1.2.3.4"), 1);
    EXPECT_EQ(CSockAddr::IsDottedQuad("1.2.3.456"), 1);
    EXPECT_EQ(CSockAddr::IsDottedQuad("..."), 1);
    EXPECT_EQ(CSockAddr::IsDottedQuad("host1"), 0);
    EXPECT_EQ(CSockAddr::IsDottedQuad("10.0.0.1a"), 0);
    EXPECT_EQ(CSockAddr::IsDottedQuad("1.2.3.4 "), 0);
    EXPECT_EQ(CSockAddr::IsDottedQuad("-1"), 0);
    EXPECT_EQ(CSockAddr::IsDottedQuad("1/2"), 0);
    EXPECT_EQ(CSockAddr::IsDottedQuad("1:2"), 0);
    EXPECT_EQ(CSockAddr::IsDottedQuad("1\xb2"), 0);
}

} // namespace
