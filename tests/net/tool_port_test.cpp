#include "descriptor_limit.h"
#include "tool_port.h"
#include "virtual_lan.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace {

int OpenDescriptors()
{
    int count = 0;
    DIR* dir = opendir("/proc/self/fd");
    if (dir == nullptr)
        return -1;
    while (dirent* e = readdir(dir))
        count += e->d_name[0] != '.';
    closedir(dir);
    return count;
}

// Binds a fresh socket to 0.0.0.0:port; returns its handle or -errno.
int BindAny(int port)
{
    int fd = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (fd < 0)
        return -errno;
    CSockAddr local(nullptr, port);
    if (bind(fd, reinterpret_cast<sockaddr*>(&local.m_addr), sizeof local.m_addr) != 0) {
        int error = errno;
        close(fd);
        return -error;
    }
    return fd;
}

int LocalPort(int fd)
{
    sockaddr_in a {};
    socklen_t length = sizeof a;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length) != 0)
        return -1;
    return ntohs(a.sin_port);
}

// In a private namespace only loopback is up, so the limited broadcast has no
// route: the send fails there, which is the failure path under test, and
// nothing can leave the machine.
class Listener : public ::testing::Test {
protected:
    void SetUp() override { PRIVATE_NET_REQUIRE(); }
    void TearDown() override { CloseListener(); }
};

TEST_F(Listener, FailedBroadcastStillClosesItsSocket)
{
    int before = OpenDescriptors();
    int error = 0;
    EXPECT_EQ(SendBroadcast("STSS", &error), 0);
    EXPECT_EQ(error, ENETUNREACH);
    EXPECT_EQ(SendBroadcast("", nullptr), 0);
    EXPECT_EQ(OpenDescriptors(), before);

    // Port 10001 is free again for the listener.
    EXPECT_EQ(OpenListener(), 0);
    ASSERT_NE(g_listener.m_hRawSocket, -1);
    EXPECT_EQ(LocalPort(g_listener.m_hRawSocket), 10001);
}

TEST_F(Listener, BroadcastWhileTheListenerHoldsThePortLeavesItBound)
{
    ASSERT_EQ(OpenListener(), 0);
    int before = OpenDescriptors();
    EXPECT_EQ(SendBroadcast("STSS"), 0);
    EXPECT_EQ(OpenDescriptors(), before);
    EXPECT_EQ(LocalPort(g_listener.m_hRawSocket), 10001);
    EXPECT_EQ(BindAny(10001), -EADDRINUSE);
}

TEST_F(Listener, ReopeningKeepsOneBoundSocket)
{
    int before = OpenDescriptors();
    ASSERT_EQ(OpenListener(), 0);
    ASSERT_EQ(OpenListener(), 0);
    EXPECT_EQ(OpenDescriptors(), before + 1);
    EXPECT_EQ(LocalPort(g_listener.m_hRawSocket), 10001);
    EXPECT_EQ(BindAny(10001), -EADDRINUSE);
    int on = 0;
    socklen_t length = sizeof on;
    ASSERT_EQ(getsockopt(g_listener.m_hRawSocket, SOL_SOCKET, SO_BROADCAST, &on, &length), 0);
    EXPECT_EQ(on, 1);

    CloseListener();
    EXPECT_EQ(g_listener.m_hRawSocket, -1);
    EXPECT_EQ(OpenDescriptors(), before);
    int again = BindAny(10001);
    EXPECT_GE(again, 0);
    if (again >= 0)
        close(again);
}

TEST_F(Listener, ClosingAClosedListenerDoesNothing)
{
    int before = OpenDescriptors();
    CloseListener();
    CloseListener();
    EXPECT_EQ(g_listener.m_hRawSocket, -1);
    EXPECT_EQ(OpenDescriptors(), before);

    ASSERT_EQ(OpenListener(), 0);
    CloseListener();
    int reused = open("/dev/null", O_RDONLY);
    CloseListener(); // must not close whatever now has the old number
    EXPECT_NE(fcntl(reused, F_GETFD), -1);
    close(reused);
}

TEST_F(Listener, TakenPortLeavesTheListenerUnbound)
{
    int holder = BindAny(10001);
    ASSERT_GE(holder, 0);
    EXPECT_EQ(OpenListener(), EADDRINUSE);
    EXPECT_NE(g_listener.m_hRawSocket, -1);
    EXPECT_NE(LocalPort(g_listener.m_hRawSocket), 10001);
    close(holder);
}

// A child started a moment ago holds a copy of the port until it ends (or
// replaces itself): the listener waits that moment out instead of reporting
// the port as taken.
TEST_F(Listener, APortFreedAMomentLaterIsTaken)
{
    int holder = BindAny(10001);
    ASSERT_GE(holder, 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        usleep(60 * 1000);
        _exit(0);
    }
    close(holder);
    EXPECT_EQ(OpenListener(), 0);
    EXPECT_EQ(LocalPort(g_listener.m_hRawSocket), 10001);
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
}

TEST_F(Listener, NoDescriptorLeftMeansNoSocketAndAReportedError)
{
    rlimit saved {};
    ASSERT_TRUE(LeaveNoDescriptorFree(&saved));

    int sendError = 0;
    BOOL sent = SendBroadcast("STSS", &sendError);
    int openError = OpenListener();
    int handle = g_listener.m_hRawSocket;
    setrlimit(RLIMIT_NOFILE, &saved);

    EXPECT_EQ(sent, 0);
    EXPECT_EQ(sendError, EMFILE);
    EXPECT_EQ(openError, EMFILE);
    EXPECT_EQ(handle, -1);
}

} // namespace
