#include "virtual_lan.h"

#include "tool_port.h"
#include "udp_socket.h"
#include "wire_ports.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

namespace {

std::string ListNetns()
{
    std::string out;
    FILE* p = popen("ip netns list", "r");
    char buf[256];
    while (p && fgets(buf, sizeof buf, p))
        out += buf;
    if (p)
        pclose(p);
    return out;
}

using namespace std::chrono_literals;

} // namespace

// A broadcast from the operator reaches a device host through the bridge, and
// a unicast answer comes back; afterwards nothing of the LAN is left.
TEST(VirtualLan, BroadcastCrossesTheSegmentAndEverythingIsRemoved)
{
    std::string tag;
    {
        vlan::VirtualLan lan;
        VLAN_REQUIRE(lan);
        vlan::Host& op = lan.AddHost("op", 0, 10);
        vlan::Host& dev = lan.AddHost("dev0", 0, 100);
        ASSERT_TRUE(lan.Ok()) << lan.Error();
        tag = op.netns.substr(0, op.netns.rfind('-'));
        EXPECT_NE(ListNetns().find(op.netns), std::string::npos);
        EXPECT_EQ(dev.address, "198.18.0.100");

        // The device side is a child of this process in the device's namespace.
        pid_t child = fork();
        if (child == 0) {
            if (!lan.Enter(dev))
                _exit(3);
            CUdpSocket s;
            s.Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET);
            CSockAddr local(nullptr, kDevicePort);
            if (bind(s.m_hRawSocket, reinterpret_cast<sockaddr*>(&local.m_addr), sizeof local.m_addr) != 0)
                _exit(4);
            char buf[16] {};
            CSockAddr from(nullptr, 0);
            if (WaitReadable(s.m_hRawSocket, 5000) <= 0 || s.ReceiveFrom(buf, sizeof buf, from, 0) != 5)
                _exit(5);
            CSockAddr back(from.ToString().c_str(), kToolPort);
            s.SendTo("#ok@", 4, back, 0);
            _exit(0);
        }
        ASSERT_GT(child, 0) << strerror(errno);
        ASSERT_TRUE(lan.Enter(op));
        ASSERT_EQ(OpenListener(), 0);
        // The child needs a moment to bind; send until it answers.
        int got = -1;
        char buf[16] {};
        CSockAddr from(nullptr, 0);
        for (int attempt = 0; attempt < 50 && got < 0; ++attempt) {
            SendBroadcast("STSS");
            if (WaitReadable(g_listener.m_hRawSocket, 100) > 0)
                got = g_listener.ReceiveFrom(buf, sizeof buf, from, 0);
        }
        CloseListener();
        Result<int> status = vlan::EndChild(child, std::chrono::seconds(10));
        EXPECT_EQ(got, 4);
        EXPECT_EQ(from.ToString(), "198.18.0.100");
        ASSERT_TRUE(status.Ok()) << status.Failure().Message();
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    }
    EXPECT_EQ(ListNetns().find(tag), std::string::npos) << ListNetns();
}

TEST(VirtualLan, PrivateNetworkHasOnlyLoopback)
{
    PRIVATE_NET_REQUIRE();
    // No route out: a limited broadcast from here cannot leave the namespace.
    int err = 0;
    EXPECT_EQ(SendBroadcast("STSS", &err), 0);
    EXPECT_EQ(err, ENETUNREACH);
}

// Stop(-1) once meant kill(-1): every process of the machine. The refusals run
// in a pid namespace of their own, in a process group of their own, where
// kill(-1) and kill(0) could reach only a bystander; it must live on.
TEST(VirtualLan, StopAndEndChildRefuseAPidOfZeroOrLessAndSignalNothing)
{
    vlan::VirtualLan lan;
    VLAN_REQUIRE(lan);
    vlan::Host& host = lan.AddHost("op", 0, 10);
    ASSERT_TRUE(lan.Ok()) << lan.Error();

    // A start that fails says why, with its errno.
    Result<pid_t> failed = lan.Spawn(host, { "true" }, "/nonexistent/orbisk/log");
    ASSERT_FALSE(failed.Ok());
    EXPECT_EQ(failed.Failure().Errno(), ENOENT) << failed.Failure().Message();

    pid_t outer = fork();
    if (outer == 0) {
        if (unshare(CLONE_NEWPID) != 0)
            _exit(64);
        pid_t init = fork(); // pid 1 of the new namespace
        if (init == 0) {
            if (setpgid(0, 0) != 0)
                _exit(65);
            pid_t bystander = fork();
            if (bystander == 0) {
                for (;;)
                    pause();
            }
            if (bystander < 0)
                _exit(66);
            int wrong = 0;
            wrong |= lan.Stop(-1).Ok() ? 1 : 0;
            wrong |= lan.Stop(0).Ok() ? 2 : 0;
            wrong |= vlan::EndChild(-1, 0ms, SIGTERM).Ok() ? 4 : 0;
            wrong |= vlan::EndChild(0, 0ms, SIGTERM).Ok() ? 8 : 0;
            std::this_thread::sleep_for(200ms); // a signal sent would have ended it by now
            siginfo_t info {};
            if (waitid(P_PID, bystander, &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid == bystander)
                wrong |= 16;
            vlan::EndChild(bystander, 0ms);
            _exit(wrong);
        }
        if (init < 0)
            _exit(67);
        Result<int> status = vlan::EndChild(init, 20s);
        _exit(status.Ok() && WIFEXITED(*status) ? WEXITSTATUS(*status) : 68);
    }
    ASSERT_GT(outer, 0) << strerror(errno);
    Result<int> status = vlan::EndChild(outer, 30s);
    ASSERT_TRUE(status.Ok()) << status.Failure().Message();
    ASSERT_TRUE(WIFEXITED(*status));
    int wrong = WEXITSTATUS(*status);
    ASSERT_LT(wrong, 64) << "the check itself failed: " << wrong;
    EXPECT_FALSE(wrong & 1) << "Stop(-1) did not refuse";
    EXPECT_FALSE(wrong & 2) << "Stop(0) did not refuse";
    EXPECT_FALSE(wrong & 4) << "EndChild(-1) did not refuse";
    EXPECT_FALSE(wrong & 8) << "EndChild(0) did not refuse";
    EXPECT_FALSE(wrong & 16) << "a process was signalled";
}

// A sweep takes the namespaces of a LAN whose process is gone (killed, no
// tear-down), and leaves those of a LAN that lives and those without a lock
// (another kind of run's: not ours to judge).
TEST(VirtualLan, SweepTakesOnlyTheNamespacesOfEndedRuns)
{
    vlan::VirtualLan live;
    VLAN_REQUIRE(live);
    const vlan::Host& op = live.AddHost("op", 0, 10);
    ASSERT_TRUE(live.Ok()) << live.Error();

    int names[2];
    ASSERT_EQ(pipe(names), 0);
    pid_t child = fork();
    if (child == 0) {
        close(names[0]);
        vlan::VirtualLan gone;
        const vlan::Host& host = gone.AddHost("op", 0, 10);
        std::string name = gone.Ok() ? host.netns : "";
        if (write(names[1], name.data(), name.size()) < 0)
            _exit(1);
        _exit(0); // as if killed: no tear-down
    }
    close(names[1]);
    ASSERT_GT(child, 0) << strerror(errno);
    Result<int> ended = vlan::EndChild(child, 30s);
    std::string goneNs;
    char buf[256];
    for (ssize_t n; (n = read(names[0], buf, sizeof buf)) > 0;)
        goneNs.append(buf, static_cast<size_t>(n));
    close(names[0]);
    ASSERT_TRUE(ended.Ok()) << ended.Failure().Message();
    ASSERT_FALSE(goneNs.empty()) << "the child could not make its LAN";

    const std::string unlocked = "obk-nolock" + std::to_string(getpid());
    ASSERT_EQ(system(("ip netns add " + unlocked).c_str()), 0);
    struct Remove {
        std::string ns;
        ~Remove() { EXPECT_EQ(system(("ip netns del " + ns).c_str()), 0); }
    } removeUnlocked { unlocked };

    // Another test's LAN, made meanwhile, may have swept it already.
    vlan::SweepStale();
    std::string after = ListNetns();
    EXPECT_EQ(after.find(goneNs), std::string::npos) << after;
    EXPECT_NE(after.find(op.netns), std::string::npos) << after;
    EXPECT_NE(after.find(unlocked), std::string::npos) << after;
}
