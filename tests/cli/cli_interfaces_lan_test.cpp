#include "interfaces.h"
#include "virtual_lan.h"

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

TEST(BroadcastInterfaces, EachUpIpv4InterfaceOnceWithItsBroadcast)
{
    vlan::VirtualLan lan;
    VLAN_REQUIRE(lan);
    int second = lan.AddSegment("198.18.1");
    int third = lan.AddSegment("198.18.2");
    vlan::Host& host = lan.AddHost("op", 0, 10);
    lan.AddInterface(host, second, 11);
    lan.AddInterface(host, third, 12);
    lan.AddAddresses(host, { "198.18.0.50", "198.18.0.51" }); // more addresses, still one interface
    ASSERT_EQ(lan.Run(host, { "ip", "link", "set", "eth2", "down" }), 0);
    ASSERT_TRUE(lan.Ok()) << lan.Error();

    int home = open("/proc/self/ns/net", O_RDONLY | O_CLOEXEC);
    ASSERT_TRUE(lan.Enter(host));
    Result<std::vector<HostInterface>> all = ListHostInterfaces();
    setns(home, CLONE_NEWNET);
    close(home);

    ASSERT_TRUE(all.Ok()) << all.Failure().Message();
    std::vector<HostInterface> found = BroadcastPorts(*all);
    ASSERT_EQ(found.size(), 2u); // not lo (loopback), not eth2 (down)
    EXPECT_EQ(found[0].name, "eth0");
    EXPECT_EQ(found[0].address.ToText(), "198.18.0.10");
    EXPECT_EQ(found[0].netmask.ToText(), "255.255.255.0");
    EXPECT_EQ(found[0].broadcast.ToText(), "198.18.0.255");
    EXPECT_NE(found[0].index, 0u);
    EXPECT_EQ(found[1].name, "eth1");
    EXPECT_EQ(found[1].address.ToText(), "198.18.1.11");
    EXPECT_EQ(found[1].broadcast.ToText(), "198.18.1.255");
    EXPECT_NE(found[1].index, found[0].index);
}

} // namespace
