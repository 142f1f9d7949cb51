#include "interfaces.h"
#include "virtual_lan.h"

#include <gtest/gtest.h>

#include <net/if.h>

namespace {

TEST(BroadcastInterfaces, LoopbackAloneGivesNone)
{
    PRIVATE_NET_REQUIRE();
    Result<std::vector<HostInterface>> all = ListHostInterfaces();
    ASSERT_TRUE(all.Ok()) << all.Failure().Message();
    EXPECT_TRUE(BroadcastPorts(*all).empty());
}

TEST(BroadcastInterfaces, EachUpInterfaceOnceWithItsFirstAddress)
{
    vlan::VirtualLan lan;
    VLAN_REQUIRE(lan);
    int second = lan.AddSegment("198.18.1");
    vlan::Host& host = lan.AddHost("op", 0, 10);
    lan.AddAddresses(host, { "198.18.0.11", "198.18.0.12" });
    lan.AddInterface(host, second, 20);
    lan.AddInterface(host, second, 21);
    ASSERT_EQ(lan.Run(host, { "ip", "link", "set", "eth2", "down" }), 0);
    VLAN_REQUIRE(lan);
    ASSERT_TRUE(lan.Enter(host));

    Result<std::vector<HostInterface>> all = ListHostInterfaces();
    ASSERT_TRUE(all.Ok()) << all.Failure().Message();
    std::vector<HostInterface> found = BroadcastPorts(*all);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].name, "eth0");
    EXPECT_EQ(found[0].address.ToText(), "198.18.0.10");
    EXPECT_EQ(found[0].netmask.ToText(), "255.255.255.0");
    EXPECT_EQ(found[0].broadcast.ToText(), "198.18.0.255");
    EXPECT_EQ(found[0].index, if_nametoindex("eth0"));
    EXPECT_NE(found[0].index, 0u);
    EXPECT_EQ(found[1].name, "eth1");
    EXPECT_EQ(found[1].address.ToText(), "198.18.1.20");
    EXPECT_EQ(found[1].broadcast.ToText(), "198.18.1.255");
}

} // namespace
