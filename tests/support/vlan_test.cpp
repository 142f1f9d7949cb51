#include "virtual_lan.h"

#include "listener.h"
#include "udp_socket.h"
#include "wire_ports.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>


#include <string>

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
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_EQ(got, 4);
        EXPECT_EQ(from.ToString(), "198.18.0.100");
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
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
