#include "descriptor_limit.h"
#include "udp_socket.h"
#include "virtual_lan.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <string>
#include <thread>

namespace {

long long MillisSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

bool IsOpenDescriptor(int fd)
{
    return fcntl(fd, F_GETFD) != -1;
}

// A socket opened and bound to 127.0.0.1 on a port of the system's choice.
// Guarded by a receive timeout so that a read that should not block fails
// the test instead of hanging it.
class LoopbackSocket : public ::testing::Test {
protected:
    void SetUp() override
    {
        PRIVATE_NET_REQUIRE();
        ASSERT_EQ(m_socket.Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET), 1);
        CSockAddr local("127.0.0.1", 0);
        ASSERT_EQ(bind(m_socket.m_hRawSocket, reinterpret_cast<sockaddr*>(&local.m_addr), sizeof local.m_addr), 0);
        socklen_t length = sizeof m_address.m_addr;
        ASSERT_EQ(getsockname(m_socket.m_hRawSocket, reinterpret_cast<sockaddr*>(&m_address.m_addr), &length), 0);
        timeval guard { 2, 0 };
        setsockopt(m_socket.m_hRawSocket, SOL_SOCKET, SO_RCVTIMEO, &guard, sizeof guard);
        ASSERT_EQ(m_peer.Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET), 1);
    }

    void TearDown() override
    {
        m_socket.Close();
        m_peer.Close();
    }

    void SendToSocket(const std::string& datagram)
    {
        ASSERT_EQ(m_peer.SendTo(datagram.data(), static_cast<int>(datagram.size()), m_address, 0),
                  static_cast<int>(datagram.size()));
        ASSERT_EQ(WaitReadable(m_socket.m_hRawSocket, 1000), 1);
    }

    CUdpSocket m_socket;
    CUdpSocket m_peer;
    CSockAddr m_address { nullptr, 0 };
};

TEST(UdpSocket, OpenSetsBroadcastAndCloseReleasesOnce)
{
    PRIVATE_NET_REQUIRE();
    CUdpSocket s;
    EXPECT_EQ(s.m_hRawSocket, -1);
    ASSERT_EQ(s.Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET), 1);
    int fd = s.m_hRawSocket;
    ASSERT_GE(fd, 0);
    int on = 0;
    socklen_t length = sizeof on;
    ASSERT_EQ(getsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, &length), 0);
    EXPECT_EQ(on, 1);
    int type = 0;
    length = sizeof type;
    ASSERT_EQ(getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &length), 0);
    EXPECT_EQ(type, SOCK_DGRAM);

    s.Close();
    EXPECT_EQ(s.m_hRawSocket, -1);
    EXPECT_FALSE(IsOpenDescriptor(fd));
    // The number is free again; whoever gets it next must not lose it to a second Close.
    int reused = open("/dev/null", O_RDONLY);
    ASSERT_EQ(reused, fd);
    s.Close();
    EXPECT_TRUE(IsOpenDescriptor(reused));
    close(reused);
}

TEST(UdpSocket, OpenWithoutDescriptorsFailsAndHoldsNothing)
{
    PRIVATE_NET_REQUIRE();
    rlimit saved {};
    ASSERT_TRUE(LeaveNoDescriptorFree(&saved));

    CUdpSocket s;
    BOOL opened = s.Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET);
    int error = errno;
    int handle = s.m_hRawSocket;
    setrlimit(RLIMIT_NOFILE, &saved);

    EXPECT_EQ(opened, 0);
    EXPECT_EQ(error, EMFILE);
    EXPECT_EQ(handle, -1);
}

TEST(UdpSocket, WithoutHandleEveryCallFailsAtOnce)
{
    CUdpSocket s;
    s.SetReceiveTimeout(300);
    char buffer[8];
    CSockAddr peer(nullptr, 0);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(s.Receive(buffer, sizeof buffer, 0), -1); // not 0 after a 300 ms wait
    EXPECT_EQ(s.ReceiveFrom(buffer, sizeof buffer, peer, 0), -1);
    EXPECT_EQ(s.Send("x", 1, 0), -1);
    EXPECT_EQ(s.SendTo("x", 1, peer, 0), -1);
    EXPECT_EQ(WaitReadable(-1, 300), -1);
    EXPECT_LT(MillisSince(start), 50);
    s.Close();
    EXPECT_EQ(s.m_hRawSocket, -1);
}

TEST_F(LoopbackSocket, SendToAndReceiveCarryOneDatagram)
{
    CSockAddr to = m_address;
    EXPECT_EQ(m_peer.SendTo("hello", 6, to, 0), 6);
    char buffer[16] = {};
    EXPECT_EQ(m_socket.Receive(buffer, sizeof buffer, 0), 6);
    EXPECT_STREQ(buffer, "hello");

    // Send goes to the connected peer.
    ASSERT_EQ(connect(m_peer.m_hRawSocket, reinterpret_cast<sockaddr*>(&to.m_addr), sizeof to.m_addr), 0);
    EXPECT_EQ(m_peer.Send("abc", 3, 0), 3);
    CSockAddr from(nullptr, 0);
    ASSERT_EQ(WaitReadable(m_socket.m_hRawSocket, 1000), 1);
    EXPECT_EQ(m_socket.ReceiveFrom(buffer, sizeof buffer, from, 0), 3);
    EXPECT_EQ(std::string(buffer, 3), "abc");
    EXPECT_EQ(from.ToString(), "127.0.0.1");
}

TEST_F(LoopbackSocket, ReceiveWithTimeoutWaitsBounded)
{
    char buffer[16];
    m_socket.SetReceiveTimeout(999);
    EXPECT_EQ(m_socket.m_nTimeoutMs, 999);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(m_socket.Receive(buffer, sizeof buffer, 0), 0);
    long long elapsed = MillisSince(start);
    EXPECT_GE(elapsed, 980);
    EXPECT_LT(elapsed, 2000); // headroom for a loaded machine

    // A datagram that comes during a 1500 ms wait ends it at once.
    m_socket.SetReceiveTimeout(1500);
    std::thread late([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        m_peer.SendTo("late", 4, m_address, 0);
    });
    start = std::chrono::steady_clock::now();
    int received = m_socket.Receive(buffer, sizeof buffer, 0);
    elapsed = MillisSince(start);
    late.join();
    EXPECT_EQ(received, 4);
    EXPECT_GE(elapsed, 80);
    EXPECT_LT(elapsed, 1200); // well short of the 1500 ms, with headroom for a loaded machine

    m_socket.SetReceiveTimeout(-1);
    EXPECT_EQ(m_socket.m_nTimeoutMs, -1);
}

TEST_F(LoopbackSocket, ReceiveFromOnEmptySocketFailsAtOnceAndStaysNonBlocking)
{
    EXPECT_EQ(fcntl(m_socket.m_hRawSocket, F_GETFL) & O_NONBLOCK, 0);
    char buffer[16];
    CSockAddr from(nullptr, 0);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(m_socket.ReceiveFrom(buffer, sizeof buffer, from, 0), -1);
    EXPECT_TRUE(errno == EAGAIN || errno == EWOULDBLOCK) << std::strerror(errno);
    EXPECT_NE(fcntl(m_socket.m_hRawSocket, F_GETFL) & O_NONBLOCK, 0);
    // Receive without a timeout no longer blocks either.
    EXPECT_EQ(m_socket.Receive(buffer, sizeof buffer, 0), -1);
    EXPECT_LT(MillisSince(start), 50);
}

TEST_F(LoopbackSocket, LongerDatagramThanTheBufferIsDroppedWhole)
{
    std::string hundred(100, 'a');
    hundred.back() = 'z';
    std::string longer(101, 'b');
    CSockAddr from(nullptr, 0);
    char buffer[100];

    SendToSocket(longer);
    SendToSocket(hundred);
    EXPECT_EQ(m_socket.ReceiveFrom(buffer, sizeof buffer, from, 0), -1);
    EXPECT_EQ(m_socket.ReceiveFrom(buffer, sizeof buffer, from, 0), 100);
    EXPECT_EQ(std::string(buffer, 100), hundred);
    EXPECT_EQ(from.ToString(), "127.0.0.1");
    EXPECT_EQ(m_socket.ReceiveFrom(buffer, sizeof buffer, from, 0), -1); // queue empty

    // Receive drops it the same way.
    SendToSocket(longer);
    SendToSocket("ok");
    EXPECT_EQ(m_socket.Receive(buffer, sizeof buffer, 0), -1);
    EXPECT_EQ(m_socket.Receive(buffer, sizeof buffer, 0), 2);
}

TEST_F(LoopbackSocket, AcceptFailsOnADatagramSocketAndOverwritesTheTarget)
{
    CUdpSocket target;
    int held = open("/dev/null", O_RDONLY);
    ASSERT_GE(held, 0);
    target.m_hRawSocket = held;
    CSockAddr peer(nullptr, 0);
    errno = 0;
    EXPECT_EQ(m_socket.AcceptInto(target, &peer), 0);
    EXPECT_NE(errno, 0);
    EXPECT_EQ(target.m_hRawSocket, -1);
    EXPECT_TRUE(IsOpenDescriptor(held)); // overwritten, not closed

    target.m_hRawSocket = held;
    EXPECT_EQ(m_socket.AcceptInto(target, nullptr), 0);
    EXPECT_EQ(target.m_hRawSocket, -1);
    close(held);
}

// Serves scripted refills: each entry is either bytes or a bare result (0, -1).
class ScriptedSocket : public CUdpSocket {
public:
    struct Refill {
        std::string bytes;
        int result;
    };

    int Receive(void* buffer, int length, int flags) override
    {
        ++m_nCalls;
        m_lastBuffer = buffer;
        m_lastLength = length;
        m_lastFlags = flags;
        if (m_script.empty())
            return 0;
        Refill next = m_script.front();
        m_script.pop_front();
        std::memcpy(buffer, next.bytes.data(), next.bytes.size());
        return next.result;
    }

    void Bytes(const std::string& bytes) { m_script.push_back({ bytes, static_cast<int>(bytes.size()) }); }
    void Result(int result) { m_script.push_back({ {}, result }); }

    std::deque<Refill> m_script;
    int m_nCalls = 0;
    void* m_lastBuffer = nullptr;
    int m_lastLength = 0;
    int m_lastFlags = -1;
};

TEST(ReadByte, FreshObjectRefillsFirstAndServesEveryByte)
{
    ScriptedSocket s;
    s.Bytes(std::string("A\xff\0", 3));
    s.Bytes("z");
    EXPECT_EQ(s.ReadByte(), 'A');
    EXPECT_EQ(s.m_nCalls, 1);
    EXPECT_EQ(s.m_lastBuffer, static_cast<void*>(s.m_readBuf));
    EXPECT_EQ(s.m_lastLength, 1024);
    EXPECT_EQ(s.m_lastFlags, 0);
    EXPECT_EQ(s.ReadByte(), 255); // unsigned, never negative
    EXPECT_EQ(s.ReadByte(), 0);
    EXPECT_EQ(s.m_nCalls, 1);
    EXPECT_EQ(s.ReadByte(), 'z');
    EXPECT_EQ(s.m_nCalls, 2);
}

TEST(ReadByte, EmptyOrFailedRefillGivesMinusOneAndTheNextCallRefillsAgain)
{
    ScriptedSocket s;
    s.Result(0);
    s.Bytes("ab");
    s.Result(-1);
    s.Bytes("c");
    EXPECT_EQ(s.ReadByte(), -1);
    EXPECT_EQ(s.m_nCalls, 1);
    EXPECT_EQ(s.ReadByte(), 'a');
    EXPECT_EQ(s.ReadByte(), 'b');
    EXPECT_EQ(s.m_nCalls, 2);
    s.ReadByte(); // the failing refill's own result is left open
    EXPECT_EQ(s.m_nCalls, 3);
    EXPECT_EQ(s.ReadByte(), 'c');
    EXPECT_EQ(s.m_nCalls, 4);
}

TEST(ReadByte, FullRefillServesAllOfIt)
{
    ScriptedSocket s;
    std::string full(1024, '\0');
    for (int i = 0; i < 1024; ++i)
        full[i] = static_cast<char>(i);
    s.Bytes(full);
    for (int i = 0; i < 1024; ++i)
        ASSERT_EQ(s.ReadByte(), i % 256) << i;
    EXPECT_EQ(s.m_nCalls, 1);
    EXPECT_EQ(s.ReadByte(), -1);
    EXPECT_EQ(s.m_nCalls, 2);
}

TEST_F(LoopbackSocket, ReadByteReadsThroughTheRealReceive)
{
    SendToSocket("hi");
    m_socket.SetReceiveTimeout(50);
    EXPECT_EQ(m_socket.ReadByte(), 'h');
    EXPECT_EQ(m_socket.ReadByte(), 'i');
    EXPECT_EQ(m_socket.ReadByte(), -1); // the wait ended with nothing
}

} // namespace
