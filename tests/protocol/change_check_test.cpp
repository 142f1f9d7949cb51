#include "change_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

Ipv4 Ip(const char* text)
{
    return *Ipv4::Parse(text);
}

// The host as the checks see it: one port on 198.18.0.0/24, one neighbour.
class FakeNetwork : public INetworkView {
public:
    std::vector<OwnAddress> OwnAddresses() const override { return { { Ip("198.18.0.10"), Ip("255.255.255.0"), "eth0" } }; }
    std::string NeighbourHolding(Ipv4 address) const override
    {
        asked.push_back(address.ToText());
        return address == Ip("198.18.0.99") ? "02:00:00:00:00:ab" : "";
    }
    mutable std::vector<std::string> asked;
};

// Every configuration that cuts a device off, each with its reason; a usable
// one passes.
TEST(ChangeCheck, StaticConfigurationsThatCutTheDeviceOff)
{
    struct Case {
        const char* address;
        const char* netmask;
        const char* gateway;
        const char* says; // "" when it passes
    } const cases[] = {
        { "198.18.0.77", "255.255.255.0", "198.18.0.1", "" },
        { "10.1.2.3", "255.255.252.0", "10.1.3.254", "" },
        { "198.18.0.77", "255.0.255.0", "198.18.0.1", "The netmask 255.0.255.0 is not contiguous" },
        { "198.18.0.77", "0.0.0.0", "198.18.0.1", "The netmask 0.0.0.0 is not usable" },
        { "198.18.0.77", "255.255.255.255", "198.18.0.1", "The netmask 255.255.255.255 is not usable" },
        { "198.18.0.77", "255.255.255", "198.18.0.1", "The netmask \"255.255.255\" is not an IPv4 address." },
        { "198.18.0.0", "255.255.255.0", "198.18.0.1", "198.18.0.0 is the network address of the subnet 198.18.0.0/24." },
        { "198.18.0.255", "255.255.255.0", "198.18.0.1", "198.18.0.255 is the broadcast address of the subnet 198.18.0.0/24." },
        { "10.1.3.255", "255.255.252.0", "10.1.0.1", "10.1.3.255 is the broadcast address of the subnet 10.1.0.0/22." },
        { "0.18.0.77", "255.255.255.0", "0.18.0.1", "The address 0.18.0.77 is not usable" },
        { "127.0.0.77", "255.255.255.0", "127.0.0.1", "127.0.0.77 is a loopback address" },
        { "224.0.0.77", "255.255.255.0", "224.0.0.1", "224.0.0.77 is a multicast address" },
        { "255.255.255.255", "255.255.255.0", "198.18.0.1", "255.255.255.255 is the broadcast address" },
        { "198.18.0.077", "255.255.255.0", "198.18.0.1", "The address \"198.18.0.077\" is not an IPv4 address." },
        { "198.18.0.77", "255.255.255.0", "198.18.1.1", "The gateway 198.18.1.1 is not a host of the subnet 198.18.0.0/24" },
        { "198.18.0.77", "255.255.255.0", "198.18.0.255", "The gateway 198.18.0.255 is not a host" },
        { "198.18.0.77", "255.255.255.0", "198.18.0.77", "The gateway 198.18.0.77 is the new address itself" },
    };
    for (const Case& c : cases) {
        Status problem = StaticConfigProblem(c.address, c.netmask, c.gateway);
        std::string says = c.says;
        EXPECT_EQ(problem.Ok(), says.empty()) << c.address << " " << c.netmask << " " << c.gateway;
        EXPECT_NE(problem.Message().find(says), std::string::npos) << problem.Message();
    }
}

// Who else holds the new address: this computer, a listed device, or a
// neighbour on one of its subnets; the device itself never counts.
TEST(ChangeCheck, AddressHeldByAnotherHost)
{
    const std::vector<ListedDevice> listed { { "198.18.0.20", "02:00:00:00:00:20" }, { "198.18.0.30", "02:00:00:00:00:30" } };
    struct Case {
        const char* address;
        const char* deviceMac;
        const char* says;   // "" when it passes
        bool probed;        // whether the neighbour was asked
    } const cases[] = {
        { "198.18.0.10", "02:00:00:00:00:20", "198.18.0.10 is this computer's own address (eth0)", false },
        { "198.18.0.30", "02:00:00:00:00:20", "in use by the device with MAC address 02:00:00:00:00:30 that the last scan", false },
        { "198.18.0.30", "02:00:00:00:00:30", "", true },            // the device's own other row: itself
        { "198.18.0.99", "02:00:00:00:00:20", "in use by the host with MAC address 02:00:00:00:00:ab", true },
        { "198.18.0.99", "02:00:00:00:00:AB", "", true },            // the neighbour is the device, in other letters
        { "198.18.0.77", "02:00:00:00:00:20", "", true },            // nobody answers
        { "203.0.113.9", "02:00:00:00:00:20", "", false },           // off every subnet: not asked
        { "198.18.0.20", "02:00:00:00:00:20", "", false },           // keeps its address
        { "bad", "02:00:00:00:00:20", "", false },
    };
    for (const Case& c : cases) {
        FakeNetwork network;
        Status problem = AddressInUseProblem(c.address, "198.18.0.20", c.deviceMac, listed, network);
        std::string says = c.says;
        EXPECT_EQ(problem.Ok(), says.empty()) << c.address << ": " << problem.Message();
        EXPECT_NE(problem.Message().find(says), std::string::npos) << problem.Message();
        EXPECT_EQ(!network.asked.empty(), c.probed) << c.address;
    }
}

TEST(ChangeCheck, SeveralMacsAtOneAddressAreNamed)
{
    EXPECT_TRUE(SharedAddressProblem("198.18.0.20", { "02:00:00:00:00:0a" }).Ok());
    Status shared = SharedAddressProblem("198.18.0.20", { "02:00:00:00:00:0a", "" });
    EXPECT_EQ(shared.Message(), "Several devices answer at 198.18.0.20 (MAC addresses 02:00:00:00:00:0a, (none given)); "
                                "a change request would change all of them.");
}

} // namespace
