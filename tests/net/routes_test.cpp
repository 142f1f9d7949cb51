#include "datagram.h"
#include "virtual_lan.h"

#include <gtest/gtest.h>

#include <net/if.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace {

Ipv4 Ip(const char* text)
{
    return *Ipv4::Parse(text);
}

std::vector<std::string> Described(const Result<std::vector<Route>>& routes)
{
    std::vector<std::string> out;
    for (const Route& r : *routes)
        out.push_back(DescribeRoute(r) + " from " + r.source.ToText() + " #" + std::to_string(r.ifindex));
    return out;
}

TEST(Ipv4, ParsesWhatInetPtonReadsAndComputesSubnets)
{
    for (const char* bad : { "", "1.2.3", "1.2.3.4.", "01.2.3.4", "1.2.3.256", " 1.2.3.4", "1.2.3.4/24" })
        EXPECT_FALSE(Ipv4::Parse(bad)) << bad;
    EXPECT_FALSE(Ipv4::Parse(std::string_view("1.2.3.4\0x", 9)));
    Ipv4 a = Ip("192.168.1.200");
    EXPECT_EQ(a.ToText(), "192.168.1.200");
    EXPECT_EQ(a.Subnet(Ip("255.255.255.192")), "192.168.1.192/26");
    EXPECT_EQ(a.Broadcast(Ip("255.255.240.0")).ToText(), "192.168.15.255");
    EXPECT_EQ(Ip("255.255.255.0").PrefixLength(), 24);
    EXPECT_EQ(Ip("0.0.0.0").PrefixLength(), 0);
    EXPECT_EQ(Ip("255.255.255.255").PrefixLength(), 32);
    EXPECT_FALSE(Ip("255.0.255.0").PrefixLength());
    EXPECT_FALSE(Ip("0.255.255.255").PrefixLength());
    EXPECT_EQ(Ipv4::MaskOfPrefix(20).ToText(), "255.255.240.0");
}

// Every way a request can leave, planned over two ports.
TEST(PlanRoutes, EveryPortOnePortTargetsAndTheRoutedFallback)
{
    std::vector<HostInterface> ports(2);
    ports[0] = { "eth0", 2, IFF_UP | IFF_BROADCAST, Ip("198.18.0.10"), Ip("255.255.255.0"), Ip("198.18.0.255") };
    ports[1] = { "eth1", 3, IFF_UP | IFF_BROADCAST, Ip("198.18.1.20"), Ip("255.255.255.0"), Ip("198.18.1.255") };

    EXPECT_EQ(Described(PlanRoutes({}, ports)), (std::vector<std::string> { "255.255.255.255 via eth0 from 198.18.0.10 #2",
                                                  "255.255.255.255 via eth1 from 198.18.1.20 #3" }));
    EXPECT_EQ(Described(PlanRoutes({ .interfaceName = "eth1" }, ports)),
        (std::vector<std::string> { "255.255.255.255 via eth1 from 198.18.1.20 #3" }));
    EXPECT_EQ(Described(PlanRoutes({ .ifindex = 2 }, ports)),
        (std::vector<std::string> { "255.255.255.255 via eth0 from 198.18.0.10 #2" }));
    EXPECT_EQ(Described(PlanRoutes({ .targets = { Ip("203.0.113.9"), Ip("198.18.1.255") } }, ports)),
        (std::vector<std::string> { "203.0.113.9 from 0.0.0.0 #0", "198.18.1.255 from 0.0.0.0 #0" }));
    EXPECT_EQ(Described(PlanRoutes({ .interfaceName = "eth0", .targets = { Ip("198.18.0.20") } }, ports)),
        (std::vector<std::string> { "198.18.0.20 via eth0 from 198.18.0.10 #2" }));
    EXPECT_EQ(Described(PlanRoutes({}, {})), (std::vector<std::string> { "255.255.255.255 from 0.0.0.0 #0" }));

    auto gone = PlanRoutes({ .ifindex = 7 }, ports);
    ASSERT_FALSE(gone.Ok());
    EXPECT_EQ(gone.Failure().Errno(), ENODEV);
    auto unknown = PlanRoutes({ .interfaceName = "nosuch9" }, ports);
    ASSERT_FALSE(unknown.Ok());
    EXPECT_EQ(unknown.Failure().Message(), "No interface named \"nosuch9\"");
}

// A batch read over loopback: how many, from whom, to which address and by
// which port each came, its arrival time, and a datagram longer than its
// buffer marked as cut.
TEST(ReceiveBatch, TellsEachDatagramsSenderPortAndDestination)
{
    PRIVATE_NET_REQUIRE();
    int receiver = socket(AF_INET, SOCK_DGRAM, 0);
    int sender = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in local {};
    local.sin_family = AF_INET;
    local.sin_addr = Ip("127.0.0.1").ToInAddr();
    ASSERT_EQ(bind(receiver, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
    socklen_t length = sizeof local;
    getsockname(receiver, reinterpret_cast<sockaddr*>(&local), &length);
    AskArrivalInfo(receiver, true);

    CDatagramBatch batch(2, 8);
    EXPECT_EQ(batch.Receive(receiver).Failure().Errno(), EAGAIN);
    for (const char* text : { "#one", "#a longer one", "$0" })
        ASSERT_TRUE(SendDatagram(sender, std::span<const char>(text, strlen(text)), local, 0, Ipv4()).Ok());
    auto first = batch.Receive(receiver);
    ASSERT_TRUE(first.Ok());
    ASSERT_EQ(*first, 2);
    EXPECT_EQ(std::string(batch[0].Bytes().data(), batch[0].Bytes().size()), "#one");
    EXPECT_FALSE(batch[0].truncated);
    EXPECT_TRUE(batch[1].truncated);
    EXPECT_EQ(batch[0].ifindex, if_nametoindex("lo"));
    EXPECT_EQ(batch[0].destination, Ip("127.0.0.1"));
    EXPECT_EQ(Ipv4::FromInAddr(batch[0].sender.sin_addr), Ip("127.0.0.1"));
    EXPECT_GT(batch[0].arrivalNs, 0);
    auto rest = batch.Receive(receiver);
    ASSERT_TRUE(rest.Ok());
    EXPECT_EQ(*rest, 1);
    EXPECT_EQ(std::string(batch[0].Bytes().data(), batch[0].Bytes().size()), "$0");
    close(receiver);
    close(sender);
}

} // namespace
