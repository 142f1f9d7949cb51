// An operator machine with two network ports: the default route leads out of
// the first, the devices may be on either.

#include "ops_lan.h"
#include "test_windows.h"

#include "datagram.h"
#include "udp_socket.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

namespace {

class TwoPortLan : public OpsLanTest {
protected:
    void SetUp() override
    {
        OpsLanTest::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        m_second = m_lan.AddSegment("198.18.1");
        m_lan.AddInterface(*m_op, m_second, 10); // eth1, 198.18.1.10
        ASSERT_TRUE(m_lan.Ok()) << m_lan.Error();
    }

    void Scan(TestMainWindow& main, int rows)
    {
        main.StartScan();
        EXPECT_EQ(TickScanToEnd(main, rows), 21);
        EXPECT_EQ(main.Rows(), rows);
        EXPECT_TRUE(main.wnd.boxes.empty()) << main.wnd.boxes.front().text;
    }

    int m_second = 0;
};

bool IsChangeRequest(const LoggedDatagram& d)
{
    return d.bytes.rfind("STLG@", 0) == 0;
}

} // namespace

// The device is cabled to the port without the default route; later the
// machine goes offline and has no default route at all. Each scan finds it,
// and nothing is reported.
TEST_F(TwoPortLan, DeviceOnTheSecondPortIsFoundWithAndWithoutADefaultRoute)
{
    vlan::Host& far = m_lan.AddHost("far", m_second, 30);
    ASSERT_TRUE(m_lan.Ok()) << m_lan.Error();
    StartSimulator(far, { "--hostname", "far" });
    TestMainWindow main;

    Scan(main, 1);
    EXPECT_EQ(main.Cell(0, ColAddress), "198.18.1.30");

    ASSERT_EQ(m_lan.Run(*m_op, { "ip", "route", "del", "default" }), 0);
    Scan(main, 1);
    EXPECT_EQ(main.Cell(0, ColHostname), "far");
}

// Two ports cabled to the same switch: the device hears the request twice
// and answers twice from one address, and is listed once. The first answer
// may be listed before the device has read the second copy.
TEST_F(TwoPortLan, DeviceReachedByTwoPortsIsListedOnce)
{
    m_lan.AddInterface(*m_op, 0, 11); // eth2, on the first port's segment
    const CDevsimProcess& sim = StartSimulator(AddDeviceHost(20), { "--hostname", "near" });
    TestMainWindow main;
    Scan(main, 1);
    EXPECT_EQ(main.Cell(0, ColAddress), "198.18.0.20");
    EXPECT_EQ(CountOf(sim.ReceivedAtLeast(2), kDiscovery), 2u);
}

// Two factory-fresh devices answer at the same address, one on each port.
// The table lists the address once; the change goes out of the port of the
// device that row shows, and the other device never hears it.
TEST_F(TwoPortLan, ChangeGoesOutOfTheMarkedDevicesPortOnly)
{
    vlan::Host& a = m_lan.AddHost("a", 0, 20);
    vlan::Host& b = m_lan.AddHost("b", m_second, 20);
    // b has a's address; it finds the operator's second port by ARP on its on-link default route.
    ASSERT_EQ(m_lan.Run(b, { "ip", "addr", "flush", "dev", "eth0" }), 0);
    ASSERT_EQ(m_lan.Run(b, { "ip", "addr", "add", "198.18.0.20/24", "dev", "eth0" }), 0);
    ASSERT_EQ(m_lan.Run(b, { "ip", "route", "replace", "default", "dev", "eth0" }), 0);
    const CDevsimProcess& simA = StartSimulator(a, { "--hostname", "alpha" });
    const CDevsimProcess& simB = StartSimulator(b, { "--hostname", "beta" });
    TestMainWindow main;
    Scan(main, 1);
    ASSERT_EQ(main.Cell(0, ColAddress), "198.18.0.20");
    ASSERT_EQ(CountOf(simA.ReceivedAtLeast(1), kDiscovery), 1u);
    ASSERT_EQ(CountOf(simB.ReceivedAtLeast(1), kDiscovery), 1u);
    const bool alphaListed = main.Cell(0, ColHostname) == "alpha";

    main.list.SetSelectionMark(0);
    main.inDialog = [&](TestSetupDlg& d) {
        d.radio = 1;
        d.wnd.onSleep = [] { Inject(kJunk); };
        d.OnSetup();
        d.Close();
    };
    main.OnSetupIp();
    main.EndScan();

    auto a_ = simA.Received();
    auto b_ = simB.Received();
    size_t toA = static_cast<size_t>(std::count_if(a_.begin(), a_.end(), IsChangeRequest));
    size_t toB = static_cast<size_t>(std::count_if(b_.begin(), b_.end(), IsChangeRequest));
    EXPECT_EQ(toA, alphaListed ? 1u : 0u);
    EXPECT_EQ(toB, alphaListed ? 0u : 1u);
}

// One port refuses to send (a firewall rule on it) while the other takes the
// request: the device on the working port is found and nothing is reported.
TEST_F(TwoPortLan, APortThatRefusesIsNoErrorWhileAnotherSends)
{
    const CDevsimProcess& sim = StartSimulator(AddDeviceHost(20), { "--hostname", "near" });
    ASSERT_EQ(m_lan.Run(*m_op, { "nft", "add table inet t; add chain inet t out { type filter hook output priority 0; }; "
                                        "add rule inet t out oifname eth1 meta l4proto udp drop" }), 0)
        << "nft is needed to make a port refuse";
    CUdpSocket probe;
    ASSERT_TRUE(probe.Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET));
    Result<std::vector<Route>> routes = PlanRoutes(RoutePlan {});
    ASSERT_TRUE(routes.Ok()) << routes.Failure().Message();
    ASSERT_EQ(routes->size(), 2u);
    std::span<const char> x("x", 1);
    EXPECT_TRUE(SendAlong(probe.m_hRawSocket, (*routes)[0], 9, x).Ok());
    EXPECT_EQ(SendAlong(probe.m_hRawSocket, (*routes)[1], 9, x).Errno(), EPERM) << "the port must really refuse";
    probe.Close();

    TestMainWindow main;
    Scan(main, 1);
    EXPECT_EQ(main.Cell(0, ColAddress), "198.18.0.20");
    EXPECT_EQ(CountOf(sim.Received(), kDiscovery), 1u);
}
