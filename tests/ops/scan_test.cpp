// The scan, driven tick by tick against simulated devices on the virtual LAN.
//
// An empty poll waits 500 ms, so once the replies a test is about have been
// read, the test queues junk datagrams (no reply of the protocol) for the
// remaining ticks: they are read as nothing, and the count stays exact.

#include "ops_lan.h"
#include "test_windows.h"

#include "tool_port.h"
#include "udp_socket.h"
#include "wire_ports.h"

#include <gtest/gtest.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <set>

namespace {

void ExpectIdle(TestMainWindow& main)
{
    EXPECT_FALSE(main.wnd.timerArmed);
    EXPECT_EQ(main.wnd.texts[IDC_SCAN], "Scan");
    EXPECT_TRUE(main.wnd.Enabled(IDC_SCAN));
    EXPECT_FALSE(ListenerOpen());
}

} // namespace

class ScanOnLan : public OpsLanTest { };

TEST_F(ScanOnLan, NoDeviceAnswers)
{
    TestMainWindow main;
    main.StartScan();
    EXPECT_TRUE(main.wnd.timerArmed);
    EXPECT_EQ(main.wnd.timerId, 0u);
    EXPECT_EQ(main.wnd.timerMs, 50u);
    EXPECT_EQ(main.wnd.texts[IDC_SCAN], "Finished");
    EXPECT_FALSE(main.wnd.Enabled(IDC_SCAN));
    EXPECT_TRUE(ListenerOpen());
    EXPECT_EQ(main.m_nTick, 0u);
    EXPECT_EQ(main.m_nTickLimit, 20u);

    // Nothing padded: every poll waits its full bound.
    EXPECT_EQ(main.TickUntilIdle(), 21);
    ExpectIdle(main);
    EXPECT_EQ(main.Rows(), 0);
    EXPECT_EQ(main.m_nDeviceCount, 0);
    EXPECT_TRUE(main.wnd.boxes.empty());
}

TEST_F(ScanOnLan, ThreeDevicesAreListed)
{
    vlan::Host& host = AddDeviceHost(100, 2);
    const CDevsimProcess& sim = StartSimulator(host, { "--address", "198.18.0.100", "--count", "3", "--hostname",
        "vault", "--firmware", "4.2.7", "--gateway", "198.18.0.254", "--netmask", "255.255.255.128" });
    TestMainWindow main;
    main.StartScan();
    EXPECT_EQ(TickScanToEnd(main, 3), 21);
    ExpectIdle(main);
    EXPECT_TRUE(main.wnd.boxes.empty());

    ASSERT_EQ(main.Rows(), 3);
    EXPECT_EQ(main.m_nDeviceCount, 3);
    std::set<std::string> addresses, hosts, macs;
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(main.Cell(row, ColNumber), std::to_string(row));
        addresses.insert(main.Cell(row, ColAddress));
        hosts.insert(main.Cell(row, ColHostname));
        macs.insert(main.Cell(row, ColMac));
        EXPECT_EQ(main.Cell(row, ColVersion), "4.2.7");
        EXPECT_EQ(main.Cell(row, ColGateway), "198.18.0.254");
        EXPECT_EQ(main.Cell(row, ColNetmask), "255.255.255.128");
    }
    EXPECT_EQ(addresses, (std::set<std::string> { "198.18.0.100", "198.18.0.101", "198.18.0.102" }));
    EXPECT_EQ(hosts, (std::set<std::string> { "vault-0001", "vault-0002", "vault-0003" }));
    EXPECT_EQ(macs.size(), 3u);

    // One request, the four letters and a NUL, from the tool's port.
    auto received = sim.Received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].bytes, kDiscovery);
    EXPECT_EQ(received[0].source, kOperatorAddress);
    EXPECT_EQ(received[0].sourcePort, 10001);
}

// Rows numbered from 0 in order, one per sender, and how many there are.
void ExpectEachSenderOnce(TestMainWindow& main, int devices)
{
    ASSERT_EQ(main.Rows(), devices);
    std::set<std::string> addresses;
    for (int row = 0; row < main.Rows(); ++row) {
        EXPECT_EQ(main.Cell(row, ColNumber), std::to_string(row));
        addresses.insert(main.Cell(row, ColAddress));
    }
    EXPECT_EQ(addresses.size(), static_cast<size_t>(devices));
}

// A burst far larger than an ordinary user's receive queue (212,992 bytes,
// net.core.rmem_max on a stock system: a few hundred replies), answering
// at once: each is listed, in one scan and in one started again as the burst
// arrives.
TEST_F(ScanOnLan, EveryDeviceOfABurstIsListedUnderAnOrdinaryUsersQueue)
{
    CImposedReceiveQueue queue(212992);
    for (int devices : { 30, 1000 }) {
        SCOPED_TRACE(std::to_string(devices) + " devices");
        CDevsimProcess& sim = StartManyDevices(devices);
        TestMainWindow main;
        main.StartScan();
        EXPECT_EQ(queue.Of(g_listener.m_hRawSocket), 2 * 212992); // as the kernel reports it
        EXPECT_EQ(TickScanToEnd(main, devices, true), 21);
        ExpectIdle(main);
        ExpectEachSenderOnce(main, devices);

        main.StartScan();
        main.StartScan(); // Enter as the replies to the first request arrive
        EXPECT_EQ(TickScanToEnd(main, devices, true), 21);
        ExpectEachSenderOnce(main, devices);
        sim.Stop();
    }
}

// Broadcast over Wi-Fi is not acknowledged: with a tenth of the requests and
// of the replies lost each way, the three requests of a scan still find every
// device. The seed makes the losses the same each run; with it, the first
// request alone misses some of the devices.
TEST_F(ScanOnLan, RepeatedRequestsFindEveryDeviceOnALossySegment)
{
    constexpr int kDevices = 12;
    StartManyDevices(kDevices, { "--loss", "10", "--seed", "7" });
    TestMainWindow main;
    main.StartScan();
    EXPECT_EQ(TickScanToEnd(main, kDevices, true), 21);
    ExpectEachSenderOnce(main, kDevices);
}

// Every copy of a reply, and each request's answer, is read; the sender is listed once.
TEST_F(ScanOnLan, CopiesOfAReplyAddNoRow)
{
    vlan::Host& host = AddDeviceHost(100);
    StartSimulator(host, { "--duplicates", "2", "--hostname", "twice" });
    TestMainWindow main;
    main.StartScan();
    EXPECT_EQ(TickScanToEnd(main, 1, true), 21);
    ExpectIdle(main);
    ASSERT_EQ(main.Rows(), 1);
    EXPECT_EQ(main.m_nDeviceCount, 1);
    EXPECT_EQ(main.Cell(0, ColAddress), "198.18.0.100");
    EXPECT_EQ(main.Cell(0, ColHostname), "twice");
}

TEST_F(ScanOnLan, ChangeRepliesReadByTheScanAreConsumedWithoutEffect)
{
    vlan::Host& host = AddDeviceHost(100);
    // This device answers the discovery request with three change replies
    // first, then its discovery reply.
    StartSimulator(host, { "--raw-reply", "$0", "--raw-reply", "$1", "--raw-reply", "$7",
        "--raw-reply", "#198.18.0.1@late@02:00:00:00:00:07@1.0@255.255.255.0@1@" });
    TestMainWindow main;
    main.setup.m_nMode = 0;
    main.StartScan();
    int ticks = 0;
    while (main.Rows() == 0 && ticks < 21) {
        main.OnScanTick(0);
        ++ticks;
    }
    ASSERT_EQ(main.Rows(), 1); // the change replies before it taken as nothing
    EXPECT_EQ(main.Cell(0, ColNumber), "0");
    EXPECT_EQ(main.Cell(0, ColHostname), "late");
    EXPECT_EQ(main.setup.m_nMode, 1);
    EXPECT_EQ(ticks + TickScanToEnd(main, 1), 21);
    ExpectIdle(main);
    EXPECT_TRUE(main.wnd.boxes.empty());
    EXPECT_TRUE(main.setup.wnd.boxes.empty());
    EXPECT_TRUE(main.setup.wnd.texts.empty()) << "no status written";
}

TEST_F(ScanOnLan, EnterDuringAScanRestartsIt)
{
    vlan::Host& host = AddDeviceHost(100);
    const CDevsimProcess& sim = StartSimulator(host, {});
    TestMainWindow main;
    main.StartScan();
    main.OnScanTick(0);
    ASSERT_EQ(main.Rows(), 1);
    Inject(kJunk, 10);
    for (int i = 0; i < 4; ++i)
        main.OnScanTick(0);
    EXPECT_EQ(main.m_nTick, 5u);

    main.StartScan(); // Enter: IDOK is never disabled
    EXPECT_EQ(main.Rows(), 0);
    EXPECT_EQ(main.m_nDeviceCount, 0);
    EXPECT_EQ(main.m_nTick, 0u);
    EXPECT_TRUE(main.wnd.timerArmed);
    EXPECT_EQ(main.wnd.timersSet, 2);
    EXPECT_EQ(main.wnd.texts[IDC_SCAN], "Finished");

    // 21 ticks from the restart, not 16; the listener is kept, so the junk
    // left from before is read ahead of the new reply.
    EXPECT_EQ(TickScanToEnd(main, 1), 21);
    ExpectIdle(main);
    ASSERT_EQ(main.Rows(), 1);
    EXPECT_EQ(main.Cell(0, ColNumber), "0");
    EXPECT_EQ(main.Cell(0, ColAddress), "198.18.0.100");
    // A request or more from each scan, and nothing else.
    auto received = sim.Received();
    EXPECT_GE(received.size(), 2u);
    EXPECT_EQ(CountOf(received, kDiscovery), received.size());
}

// Devices that answer at once (on the same host, or while the desktop is
// busy) find the listener bound before the request leaves: every one is
// listed in every scan, and a restart loses none of the replies it finds queued.
TEST_F(ScanOnLan, PromptDevicesAreListedInEveryScanAndAfterEachRestart)
{
    constexpr int kDevices = 8;
    for (int octet = 100; octet < 100 + kDevices; ++octet)
        StartSimulator(AddDeviceHost(octet), {});
    TestMainWindow main;
    int missing = 0;
    std::string rows; // per scan; restarted ones marked
    for (int scan = 0; scan < 16; ++scan) {
        main.StartScan();
        if (scan % 2 == 1) {
            main.OnScanTick(0);
            main.StartScan(); // Enter with the first reply read and the rest queued
        }
        EXPECT_EQ(TickScanToEnd(main, kDevices), 21);
        missing += kDevices - main.Rows();
        rows += std::to_string(main.Rows()) + (scan % 2 == 1 ? "r " : " ");
    }
    EXPECT_EQ(missing, 0) << "device-scans missing of " << 16 * kDevices << "; rows: " << rows;
    ExpectIdle(main);
}

TEST_F(ScanOnLan, ClearDuringAScanRenumbers)
{
    vlan::Host& host = AddDeviceHost(100, 1);
    StartSimulator(host, { "--address", "198.18.0.100", "--count", "2" });
    TestMainWindow main;
    main.StartScan();
    while (main.Rows() < 2 && main.wnd.timerArmed)
        main.OnScanTick(0);
    ASSERT_EQ(main.Rows(), 2);

    main.ClearDevices(); // the Clear button
    EXPECT_EQ(main.Rows(), 0);
    EXPECT_EQ(main.m_nDeviceCount, 0);
    EXPECT_TRUE(main.wnd.timerArmed) << "the scan goes on";

    // A reply read from now on is row 0 again.
    Inject(BuildDiscoveryReply({ "127.0.0.254", "late", "02:00:00:00:00:99", "0.9", "255.0.0.0", "1" }));
    main.OnScanTick(0);
    ASSERT_GE(main.Rows(), 1);
    EXPECT_EQ(main.Cell(0, ColNumber), "0");
    EXPECT_EQ(main.Cell(0, ColHostname), "late");
    TickScanToEnd(main, 1);
    ExpectIdle(main);
    for (int row = 0; row < main.Rows(); ++row)
        EXPECT_EQ(main.Cell(row, ColNumber), std::to_string(row));
}

// Another program holds port 10001: the operator is told once, and the scan
// still runs its 21 ticks.
TEST_F(ScanOnLan, PortHeldByAnotherProgramIsReportedOnce)
{
    vlan::Host& host = AddDeviceHost(100);
    StartSimulator(host, {});
    CUdpSocket other;
    ASSERT_TRUE(other.Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET));
    CSockAddr port(nullptr, kToolPort);
    ASSERT_EQ(bind(other.m_hRawSocket, reinterpret_cast<sockaddr*>(&port.m_addr), sizeof port.m_addr), 0);

    TestMainWindow main;
    main.StartScan();
    ASSERT_EQ(main.wnd.boxes.size(), 1u);
    EXPECT_EQ(main.wnd.boxes[0].text, "Port 10001 is in use by another program; replies cannot be received.");
    EXPECT_TRUE(main.wnd.boxes[0].owned);
    EXPECT_TRUE(main.wnd.timerArmed) << "the box comes after the timer is armed";

    EXPECT_EQ(main.TickUntilIdle(), 21);
    ExpectIdle(main);
    EXPECT_EQ(main.Rows(), 0);
    EXPECT_EQ(main.wnd.boxes.size(), 1u);
    // The device did answer; the other program got it.
    EXPECT_GT(WaitReadable(other.m_hRawSocket, 0), 0);
    other.Close();
}

class ScanWithoutRoute : public PrivateNetTest { };

TEST_F(ScanWithoutRoute, SendFailureIsReportedOnceAndTheScanRunsItsCourse)
{
    TestMainWindow main;
    main.StartScan();
    ASSERT_EQ(main.wnd.boxes.size(), 1u);
    EXPECT_EQ(main.wnd.boxes[0].text, std::string("The request could not be sent: ") + std::strerror(ENETUNREACH));
    EXPECT_TRUE(main.wnd.boxes[0].owned);
    Inject(kJunk, 25);
    EXPECT_EQ(main.TickUntilIdle(), 21);
    ExpectIdle(main);
    EXPECT_EQ(main.wnd.boxes.size(), 1u);
}
