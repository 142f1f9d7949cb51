// The address change, driven through the Setup IP command and the dialog's
// timer against simulated devices on the virtual LAN.
//
// Empty polls wait 500 ms each. Where a test is not about the waiting itself,
// it pads: the blocking wait gets a junk datagram before each of its polls
// (onSleep), and the ticks get junk once the reply they wait for has been
// read. Junk is no reply of the protocol, so every count stays exact. A reply
// delay of 3 s then lands a device's answer after the padded wait, and the
// first tick is held back until it is there.

#include "ops_lan.h"
#include "test_windows.h"

#include "tool_port.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cstring>
#include <thread>

namespace {

constexpr int kLateReplyMs = 3000;

void PadTheWait(TestSetupDlg& d)
{
    d.wnd.onSleep = [] { Inject(kJunk); };
}

// Ticks the dialog's timer to its end. With expectReply the first tick is
// held back until a datagram waits, so that tick reads it; after that the
// rest is padded. Returns the ticks; *replyTick is 0 when the reply came.
int TickChangeToEnd(TestSetupDlg& d, bool expectReply, int* replyTick = nullptr)
{
    bool padded = false;
    return d.TickUntilIdle([&](int tick) {
        if (tick == 0 && expectReply && ListenerHasPending(10000) && replyTick)
            *replyTick = tick;
        if (tick == (expectReply ? 1 : 0) && !padded) {
            Inject(kJunk, 40);
            padded = true;
        }
    });
}

void ScanAndMark(TestMainWindow& main, int rows, const std::string& address)
{
    main.StartScan();
    ASSERT_EQ(TickScanToEnd(main, rows), 21);
    ASSERT_EQ(main.Rows(), rows);
    int row = main.RowOf(address);
    ASSERT_NE(row, -1) << address << " not listed";
    main.list.SetSelectionMark(row);
}

void OpenOn(TestSetupDlg& d, const std::string& address)
{
    SelectedDevice = { address, "198.18.0.1", "255.255.255.0" };
    d.Open();
}

void TypeNewConfig(TestSetupDlg& d, const std::string& address)
{
    d.wnd.texts[IDC_NEW_ADDRESS] = address;
    d.wnd.texts[IDC_NEW_GATEWAY] = "198.18.0.254";
    d.wnd.texts[IDC_NEW_NETMASK] = "255.255.255.0";
}

std::string Request(const std::string& current, const std::string& user, const std::string& password,
    const std::string& address, const std::string& ending)
{
    return "STLG@" + current + "@" + user + "@" + password + "@" + address + "@255.255.255.0@198.18.0.254" + ending
        + std::string(1, '\0');
}

// The state right after OnSetup has sent a request and its blocking wait is over.
void ExpectWatching(TestSetupDlg& d)
{
    EXPECT_FALSE(d.wnd.Enabled(IDC_SETUP));
    EXPECT_TRUE(d.wnd.timerArmed);
    EXPECT_EQ(d.wnd.timerId, 0u);
    EXPECT_EQ(d.wnd.timerMs, 50u);
    EXPECT_EQ(d.m_nTick, 0u);
    EXPECT_EQ(d.m_nTickLimit, 30u);
    EXPECT_TRUE(ListenerOpen());
    EXPECT_EQ(d.m_strUser, "");
    EXPECT_EQ(d.m_strPassword, "");
}

void ExpectFinished(TestSetupDlg& d)
{
    EXPECT_FALSE(d.wnd.timerArmed);
    EXPECT_TRUE(d.wnd.Enabled(IDC_SETUP));
    EXPECT_FALSE(ListenerOpen());
}

} // namespace

class ChangeOnLan : public OpsLanTest { };

// Accepted at once: the blocking wait reads "$0", ends, and shows "Success";
// 31 ticks later Setup is enabled. The device then answers the next scan from
// its new address.
TEST_F(ChangeOnLan, AcceptedWithinTheWaitMovesTheDevice)
{
    vlan::Host& host = AddDeviceHost(100);
    const CDevsimProcess& sim = StartSimulator(host, { "--user", "root", "--password", "s3cret" });
    TestMainWindow main;
    ScanAndMark(main, 1, "198.18.0.100");

    main.inDialog = [&](TestSetupDlg& d) {
        EXPECT_EQ(d.Status(), "Not set");
        EXPECT_EQ(d.wnd.texts[IDC_NEW_ADDRESS], "198.18.0.100");
        EXPECT_EQ(d.wnd.texts[IDC_NEW_GATEWAY], "198.18.0.1");
        EXPECT_EQ(d.wnd.texts[IDC_NEW_NETMASK], "255.255.255.0");
        EXPECT_EQ(d.radio, 0);
        d.typedUser = "root";
        d.typedPassword = "s3cret";
        TypeNewConfig(d, "198.18.0.150");
        d.OnSetup();
        EXPECT_EQ(d.authRuns, 1);
        EXPECT_LT(d.wnd.sleeps, 20) << "the wait goes on after the change reply";
        EXPECT_TRUE(d.wnd.boxes.empty());
        EXPECT_EQ(d.Status(), "Success");
        ExpectWatching(d);
        EXPECT_EQ(TickChangeToEnd(d, false), 31);
        EXPECT_EQ(d.Status(), "Success");
        ExpectFinished(d);
        EXPECT_TRUE(d.wnd.boxes.empty());
    };
    main.OnSetupIp();
    EXPECT_EQ(main.setupRuns, 1);

    // Closing the dialog started a scan.
    EXPECT_TRUE(main.wnd.timerArmed);
    EXPECT_EQ(main.wnd.texts[IDC_SCAN], "Finished");
    EXPECT_EQ(main.Rows(), 0);
    EXPECT_EQ(TickScanToEnd(main, 1), 21);
    ASSERT_EQ(main.Rows(), 1);
    EXPECT_EQ(main.Cell(0, ColAddress), "198.18.0.150");
    EXPECT_EQ(main.Cell(0, ColGateway), "198.18.0.254");

    auto received = sim.Received();
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[0].bytes, kDiscovery);
    EXPECT_EQ(received[1].bytes, Request("198.18.0.100", "root", "s3cret", "198.18.0.150", "@0"));
    EXPECT_EQ(received[1].source, kOperatorAddress);
    EXPECT_EQ(received[1].sourcePort, 10001);
    EXPECT_EQ(received[2].bytes, kDiscovery);
}

// DHCP still carries the three field texts, and ends "@1@". After a sent
// request the credentials are gone: the second change of the same opening
// asks for them afresh, and a refusal read in the wait is a message box
// without owner, with the status line saying it behind the box.
TEST_F(ChangeOnLan, DhcpRequestThenARefusalInTheWait)
{
    vlan::Host& host = AddDeviceHost(100);
    const CDevsimProcess& sim = StartSimulator(host, { "--user", "root", "--password", "s3cret" });
    TestSetupDlg d;
    OpenOn(d, "198.18.0.100");
    d.radio = 1;
    d.typedUser = "root";
    d.typedPassword = "s3cret";
    TypeNewConfig(d, "198.18.0.160");
    d.OnSetup();
    EXPECT_TRUE(d.wnd.boxes.empty());
    ExpectWatching(d);
    EXPECT_EQ(TickChangeToEnd(d, false), 31);
    ExpectFinished(d);

    auto received = sim.Received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].bytes, Request("198.18.0.100", "root", "s3cret", "198.18.0.160", "@1@"));
    EXPECT_EQ(received[0].bytes.size(), Request("198.18.0.100", "root", "s3cret", "198.18.0.160", "@1@").size());

    d.typedPassword = "guess";
    int sleepsBefore = d.wnd.sleeps;
    std::string statusUnderTheBox;
    d.wnd.onBox = [&](const std::string&) { statusUnderTheBox = d.Status(); };
    d.OnSetup();
    ASSERT_EQ(d.authOpenedWith.size(), 2u);
    EXPECT_EQ(d.authOpenedWith[0], "/");
    EXPECT_EQ(d.authOpenedWith[1], "/") << "credentials kept after a sent request";
    ASSERT_EQ(d.wnd.boxes.size(), 1u);
    EXPECT_EQ(d.wnd.boxes[0].text,
        "Could not modify the IP address, please check the administrator name, password or the format of parameters");
    EXPECT_FALSE(d.wnd.boxes[0].owned);
    EXPECT_LT(d.wnd.sleeps - sleepsBefore, 20) << "the wait goes on after the refusal";
    EXPECT_EQ(statusUnderTheBox, "Wrong user or password!");
    ExpectWatching(d);
    EXPECT_EQ(TickChangeToEnd(d, false), 31);
    EXPECT_EQ(d.Status(), "Wrong user or password!");
    ExpectFinished(d);
    EXPECT_EQ(d.wnd.boxes.size(), 1u);
    EXPECT_EQ(sim.Received().size(), 2u);
}

TEST_F(ChangeOnLan, RefusedInTheTicks)
{
    vlan::Host& host = AddDeviceHost(100);
    StartSimulator(host, { "--user", "root", "--password", "s3cret" }, kLateReplyMs);
    TestSetupDlg d;
    OpenOn(d, "198.18.0.100");
    TypeNewConfig(d, "198.18.0.150");
    d.typedUser = "root";
    d.typedPassword = "guess";
    PadTheWait(d);
    d.OnSetup();
    EXPECT_EQ(d.wnd.sleeps, 20);
    EXPECT_TRUE(d.wnd.boxes.empty());
    ExpectWatching(d);
    int replyTick = -1;
    EXPECT_EQ(TickChangeToEnd(d, true, &replyTick), 31);
    EXPECT_EQ(replyTick, 0) << "no refusal came";
    EXPECT_EQ(d.Status(), "Wrong user or password!");
    ExpectFinished(d);
    EXPECT_TRUE(d.wnd.boxes.empty());
}

// A device that answers at once: its "$0" arrives while the request is
// barely out, and is shown every time. The other devices hear the request
// too and keep the machine busy while it leaves.
TEST_F(ChangeOnLan, PromptChangeReplyIsShownEveryTime)
{
    StartSimulator(AddDeviceHost(100), { "--change-reply", "$0" });
    for (int octet = 101; octet < 108; ++octet)
        StartSimulator(AddDeviceHost(octet), {});
    int shown = 0;
    for (int attempt = 0; attempt < 10; ++attempt) {
        TestSetupDlg d;
        OpenOn(d, "198.18.0.100");
        d.radio = 1;
        PadTheWait(d);
        d.OnSetup();
        shown += d.Status() == "Success";
        EXPECT_EQ(TickChangeToEnd(d, false), 31);
        ExpectFinished(d);
    }
    EXPECT_EQ(shown, 10);
}

// Any other status ("$2", "$7"), read within the wait or by a tick: the
// status line says so, no box, and the wait runs its full course.
TEST_F(ChangeOnLan, OtherStatusWithinTheWaitAndInTheTicks)
{
    StartSimulator(AddDeviceHost(100), { "--change-reply", "$2" });
    StartSimulator(AddDeviceHost(101), { "--change-reply", "$7" }, kLateReplyMs);
    for (const char* address : { "198.18.0.100", "198.18.0.101" }) {
        SCOPED_TRACE(address);
        bool inTheWait = std::string(address) == "198.18.0.100";
        TestSetupDlg d;
        OpenOn(d, address);
        TypeNewConfig(d, "198.18.0.150");
        PadTheWait(d);
        d.OnSetup();
        EXPECT_EQ(d.wnd.sleeps, 20);
        EXPECT_EQ(d.Status(), inTheWait ? "Could not modify the IP address!" : "Not set");
        ExpectWatching(d);
        int replyTick = -1;
        EXPECT_EQ(TickChangeToEnd(d, !inTheWait, &replyTick), 31);
        if (!inTheWait) {
            EXPECT_EQ(replyTick, 0) << "no reply came";
        }
        EXPECT_EQ(d.Status(), "Could not modify the IP address!");
        ExpectFinished(d);
        EXPECT_TRUE(d.wnd.boxes.empty());
    }
}

// Nothing padded: 20 polls of the blocking wait find nothing (about 11 s),
// and the reply comes during the ticks.
TEST_F(ChangeOnLan, AcceptedDuringTheTicks)
{
    vlan::Host& host = AddDeviceHost(100);
    StartSimulator(host, {}, 13000);
    TestSetupDlg d;
    OpenOn(d, "198.18.0.100");
    TypeNewConfig(d, "198.18.0.150");
    auto start = std::chrono::steady_clock::now();
    d.OnSetup();
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(d.wnd.sleeps, 20);
    EXPECT_GE(waited, std::chrono::milliseconds(20 * 50));
    EXPECT_EQ(d.Status(), "Not set");
    ExpectWatching(d);
    int successAt = -1;
    int ticks = d.TickUntilIdle([&](int tick) {
        if (successAt < 0 && d.Status() == "Success")
            successAt = tick;
        if (tick == 30) {
            EXPECT_FALSE(d.wnd.Enabled(IDC_SETUP)) << "enabled before the last tick";
        }
    });
    EXPECT_EQ(ticks, 31);
    EXPECT_GT(successAt, 0);
    EXPECT_EQ(d.Status(), "Success");
    ExpectFinished(d);
    EXPECT_TRUE(d.wnd.boxes.empty());
}

// The device is gone: the request goes out, nobody answers. The wait is
// padded; the ticks are not.
TEST_F(ChangeOnLan, NoAnswer)
{
    vlan::Host& host = AddDeviceHost(100);
    const CDevsimProcess& sim = StartSimulator(host, {});
    TestSetupDlg d;
    OpenOn(d, "198.18.0.99");
    TypeNewConfig(d, "198.18.0.150");
    PadTheWait(d);
    d.OnSetup();
    EXPECT_EQ(d.wnd.sleeps, 20);
    ExpectWatching(d);
    EXPECT_EQ(d.TickUntilIdle(), 31);
    EXPECT_EQ(d.Status(), "Not set");
    ExpectFinished(d);
    EXPECT_TRUE(d.wnd.boxes.empty());
    auto received = sim.Received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].bytes, Request("198.18.0.99", "admin", "admin", "198.18.0.150", "@0"));
}

// Closed during the ticks: no final tick, so the listener stays open and the
// Setup button untouched; the scan that follows takes the listener over.
TEST_F(ChangeOnLan, ClosedDuringTheTicks)
{
    vlan::Host& host = AddDeviceHost(100);
    StartSimulator(host, {});
    TestMainWindow main;
    ScanAndMark(main, 1, "198.18.0.100");
    main.inDialog = [&](TestSetupDlg& d) {
        TypeNewConfig(d, "198.18.0.150");
        d.OnSetup();
        Inject(kJunk, 5);
        for (int i = 0; i < 5; ++i)
            d.OnSetupTick(0);
        EXPECT_TRUE(d.wnd.timerArmed);
    };
    main.OnSetupIp();
    EXPECT_FALSE(main.setup.wnd.Enabled(IDC_SETUP));
    EXPECT_TRUE(ListenerOpen());
    EXPECT_TRUE(main.wnd.timerArmed);
    EXPECT_EQ(TickScanToEnd(main, 1), 21);
    ASSERT_EQ(main.Rows(), 1);
    EXPECT_EQ(main.Cell(0, ColAddress), "198.18.0.150");
    EXPECT_FALSE(ListenerOpen());
}

// A scan still running when Setup sends ends first: its listener would share
// the change reply with this operation, and its last tick would close it.
TEST_F(ChangeOnLan, SetupDuringAScanEndsTheScanFirst)
{
    vlan::Host& host = AddDeviceHost(100);
    const CDevsimProcess& sim = StartSimulator(host, {}, kLateReplyMs);
    TestMainWindow main;
    main.StartScan();
    while (main.Rows() == 0 && main.wnd.timerArmed)
        main.OnScanTick(0);
    ASSERT_EQ(main.Rows(), 1);
    ASSERT_TRUE(main.wnd.timerArmed) << "the scan should still run";
    main.list.SetSelectionMark(0);

    main.inDialog = [&](TestSetupDlg& d) {
        TypeNewConfig(d, "198.18.0.150");
        bool scanRanIntoTheWait = true;
        d.wnd.onSleep = [&] {
            if (d.wnd.sleeps == 1)
                scanRanIntoTheWait = main.wnd.timerArmed || main.wnd.texts[IDC_SCAN] != "Scan"
                    || !main.wnd.Enabled(IDC_SCAN);
            Inject(kJunk);
        };
        d.OnSetup();
        EXPECT_FALSE(scanRanIntoTheWait);
        // Both timers as the event loop would run them.
        bool padded = false;
        for (int round = 0; d.wnd.timerArmed && round < 100; ++round) {
            if (main.wnd.timerArmed)
                main.OnScanTick(0);
            d.OnSetupTick(0);
            if (!padded && d.Status() == "Success") {
                Inject(kJunk, 40);
                padded = true;
            }
        }
        EXPECT_EQ(d.Status(), "Success");
        ExpectFinished(d);
    };
    main.OnSetupIp();
    EXPECT_EQ(main.Rows(), 0) << "closing the dialog starts a scan as before";
    EXPECT_TRUE(main.wnd.timerArmed);
    EXPECT_EQ(main.wnd.texts[IDC_SCAN], "Finished");

    // After the scan's requests; sent once the scan let go of port 10001.
    std::optional<LoggedDatagram> change = FirstOtherThanDiscovery(sim.Received());
    ASSERT_TRUE(change.has_value());
    EXPECT_EQ(change->bytes, Request("198.18.0.100", "admin", "admin", "198.18.0.150", "@0"));
    EXPECT_EQ(change->source, kOperatorAddress);
    EXPECT_EQ(change->sourcePort, 10001);
}

// The operator keeps Static IP for a static device; while they type the
// password, the scan still running behind reads a DHCP device's reply, which
// writes its mode into the dialog. The request still says static.
TEST_F(ChangeOnLan, TheRequestCarriesTheModeChosenWhenSetupWasPressed)
{
    const CDevsimProcess& fixed = StartSimulator(AddDeviceHost(100), { "--mode", "0", "--hostname", "fixed" });
    StartSimulator(AddDeviceHost(101), { "--mode", "1", "--hostname", "leased" }, 1500);
    TestMainWindow main;
    main.StartScan();
    while (main.RowOf("198.18.0.100") == -1 && main.wnd.timerArmed)
        main.OnScanTick(0);
    ASSERT_EQ(main.Rows(), 1) << "the DHCP device answered too early";
    main.list.SetSelectionMark(0);

    main.inDialog = [&](TestSetupDlg& d) {
        EXPECT_EQ(d.radio, 0);
        TypeNewConfig(d, "198.18.0.150");
        d.duringAuth = [&] {
            while (main.Rows() < 2 && main.wnd.timerArmed)
                main.OnScanTick(0);
            EXPECT_EQ(main.Rows(), 2);
            EXPECT_EQ(d.m_nMode, 1) << "the scan did not write the DHCP reply's mode";
        };
        PadTheWait(d);
        d.OnSetup();
        EXPECT_EQ(d.Status(), "Success");
        EXPECT_EQ(TickChangeToEnd(d, false), 31);
    };
    main.OnSetupIp();

    std::optional<LoggedDatagram> change = FirstOtherThanDiscovery(fixed.Received());
    ASSERT_TRUE(change.has_value());
    EXPECT_EQ(change->bytes, Request("198.18.0.100", "admin", "admin", "198.18.0.150", "@0"));
}

// A discovery reply (another operator's scan, say) says nothing about this
// change: the status stays, and with no target it sets no address mode.
TEST_F(ChangeOnLan, DiscoveryReplyDuringTheChangeLeavesTheStatus)
{
    vlan::Host& host = AddDeviceHost(100);
    StartSimulator(host, { "--change-reply", "#198.18.0.1@stranger@02:00:00:00:00:99@9.9@255.255.255.0@1@" },
        kLateReplyMs);
    TestSetupDlg d;
    OpenOn(d, "198.18.0.100");
    TypeNewConfig(d, "198.18.0.150");
    PadTheWait(d);
    d.OnSetup();
    EXPECT_EQ(d.m_nMode, 0);
    ExpectWatching(d);
    int replyTick = -1;
    EXPECT_EQ(TickChangeToEnd(d, true, &replyTick), 31);
    EXPECT_EQ(replyTick, 0) << "the discovery reply never came";
    EXPECT_EQ(d.Status(), "Not set");
    EXPECT_EQ(d.m_nMode, 0);
    ExpectFinished(d);
}

// Each row remembers its own address mode, and the dialog opens with it, not
// with that of whichever device replied last; a row without one opens with
// neither radio chosen.
TEST_F(ChangeOnLan, DialogOpensWithTheMarkedDevicesOwnMode)
{
    StartSimulator(AddDeviceHost(100), { "--mode", "0", "--hostname", "fixed" });
    StartSimulator(AddDeviceHost(101), { "--mode", "1", "--hostname", "leased" });
    StartSimulator(AddDeviceHost(102), { "--raw-reply", "#198.18.0.1@unsaid@02:00:00:00:00:0c@1.0@255.255.255.0@@" });
    TestMainWindow main;
    struct Case {
        const char* address;
        int lastReplyMode; // as if this was the mode of the reply read last
        int opensWith;
    };
    const Case cases[] = {
        { "198.18.0.100", 1, 0 },
        { "198.18.0.101", 0, 1 },
        { "198.18.0.102", 1, -1 }, // no mode of its own: neither, the operator chooses
        { "198.18.0.102", 0, -1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        ScanAndMark(main, 3, c.address);
        main.setup.m_nMode = c.lastReplyMode;
        int opened = -2;
        main.inDialog = [&](TestSetupDlg& d) { opened = d.radio; };
        main.OnSetupIp();
        EXPECT_EQ(opened, c.opensWith);
        // Closed with no change: a scan starts and the table is emptied.
        EXPECT_EQ(main.Rows(), 0);
        EXPECT_TRUE(main.wnd.timerArmed);
        EXPECT_EQ(TickScanToEnd(main, 3), 21);
    }
}

// Neither radio selected: nothing is sent, the operator is asked to choose.
// A cancelled Authentication dialog sends nothing either and gives the
// Setup button back at once.
TEST_F(ChangeOnLan, NothingIsSentWithoutModeOrCredentials)
{
    vlan::Host& host = AddDeviceHost(100);
    const CDevsimProcess& sim = StartSimulator(host, {});
    TestSetupDlg d;
    OpenOn(d, "198.18.0.100");
    d.radio = -1;
    d.OnSetup();
    EXPECT_EQ(d.m_nMode, -1);
    ASSERT_EQ(d.wnd.boxes.size(), 1u);
    EXPECT_EQ(d.wnd.boxes[0].text, "Select Static IP or DHCP");
    EXPECT_EQ(d.authRuns, 0);
    EXPECT_TRUE(d.wnd.Enabled(IDC_SETUP));
    EXPECT_FALSE(d.wnd.timerArmed);
    EXPECT_EQ(d.wnd.sleeps, 0);
    EXPECT_FALSE(ListenerOpen());

    d.radio = 1;
    d.authResult = IDCANCEL;
    d.m_strUser = "kept";
    d.OnSetup();
    EXPECT_EQ(d.authRuns, 1);
    EXPECT_TRUE(d.wnd.Enabled(IDC_SETUP));
    EXPECT_FALSE(d.wnd.timerArmed);
    EXPECT_EQ(d.wnd.sleeps, 0);
    EXPECT_FALSE(ListenerOpen());
    EXPECT_EQ(d.m_strUser, "kept");
    EXPECT_EQ(d.wnd.boxes.size(), 1u);

    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(sim.Received().empty());
}

// Two factory-fresh devices answer at one address. Setup asks first, naming
// both MAC addresses: No sends nothing and gives Setup back; Yes sends the
// one request, which both devices hear. A configuration that would cut the
// device off is asked about the same way.
TEST_F(ChangeOnLan, SeveralDevicesAtOneAddressAreAskedAboutFirst)
{
    vlan::Host& a = AddDeviceHost(20);
    vlan::Host& b = AddDeviceHost(21);
    ASSERT_EQ(m_lan.Run(b, { "ip", "addr", "flush", "dev", "eth0" }), 0);
    ASSERT_EQ(m_lan.Run(b, { "ip", "addr", "add", "198.18.0.20/24", "dev", "eth0" }), 0);
    ASSERT_EQ(m_lan.Run(b, { "ip", "route", "replace", "default", "dev", "eth0" }), 0);
    const CDevsimProcess& simA = StartSimulator(a, { "--mac", "02:00:00:00:00:0a" });
    const CDevsimProcess& simB = StartSimulator(b, { "--mac", "02:00:00:00:00:0b" });
    auto changes = [](const CDevsimProcess& sim) {
        auto got = sim.Received();
        return std::count_if(got.begin(), got.end(), [](const LoggedDatagram& d) { return d.bytes.rfind("STLG@", 0) == 0; });
    };
    TestMainWindow main;
    main.StartScan();
    bool padded = false; // once both devices have answered
    main.TickUntilIdle([&](int) {
        if (!padded && main.Rows() == 1 && main.list.GetItemData(0).macs.size() == 2) {
            Inject(kJunk, 25);
            padded = true;
        }
    });
    ASSERT_TRUE(padded) << "both devices answer the scan";
    main.list.SetSelectionMark(0);
    main.inDialog = [&](TestSetupDlg& d) {
        TypeNewConfig(d, "198.18.0.150");
        d.wnd.texts[IDC_NEW_NETMASK] = "255.255.0.255";
        d.wnd.answers = { true, false };
        d.OnSetup();
        ASSERT_EQ(d.wnd.questions.size(), 2u);
        EXPECT_NE(d.wnd.questions[0].find("Several devices answer at 198.18.0.20 (MAC addresses "), std::string::npos)
            << d.wnd.questions[0];
        EXPECT_NE(d.wnd.questions[0].find("02:00:00:00:00:0a"), std::string::npos);
        EXPECT_NE(d.wnd.questions[0].find("02:00:00:00:00:0b"), std::string::npos);
        EXPECT_EQ(d.wnd.questions[1],
            "The netmask 255.255.0.255 is not contiguous: its one bits must all come first.\n\nSend the request anyway?");
        EXPECT_TRUE(d.wnd.Enabled(IDC_SETUP));
        EXPECT_FALSE(d.wnd.timerArmed);
        EXPECT_EQ(d.m_strPassword, "");

        d.wnd.texts[IDC_NEW_NETMASK] = "255.255.255.0";
        d.OnSetup(); // No to the shared address
        ASSERT_EQ(d.wnd.questions.size(), 3u);
        EXPECT_FALSE(d.wnd.timerArmed);

        d.wnd.answers = { true };
        PadTheWait(d);
        d.OnSetup();
        EXPECT_EQ(d.wnd.questions.size(), 4u);
        EXPECT_TRUE(d.wnd.timerArmed);
        d.Close();
    };
    main.OnSetupIp();
    main.EndScan();
    EXPECT_EQ(changes(simA), 1);
    EXPECT_EQ(changes(simB), 1);
}

class ChangeWithoutRoute : public PrivateNetTest { };

TEST_F(ChangeWithoutRoute, SendFailureIsReportedOnceAndTheChangeRunsItsCourse)
{
    TestSetupDlg d;
    OpenOn(d, "198.18.0.100");
    TypeNewConfig(d, "198.18.0.150");
    PadTheWait(d);
    d.OnSetup();
    ASSERT_EQ(d.wnd.boxes.size(), 1u);
    EXPECT_EQ(d.wnd.boxes[0].text, std::string("The request could not be sent: ") + std::strerror(ENETUNREACH));
    EXPECT_TRUE(d.wnd.boxes[0].owned);
    EXPECT_EQ(d.wnd.sleeps, 20);
    ExpectWatching(d);
    EXPECT_EQ(TickChangeToEnd(d, false), 31);
    EXPECT_EQ(d.Status(), "Not set");
    ExpectFinished(d);
    EXPECT_EQ(d.wnd.boxes.size(), 1u);
}

class SetupIpWithoutRoute : public PrivateNetTest { };

// No marked row: the message, no dialog, no scan, the list untouched.
TEST_F(SetupIpWithoutRoute, NoMarkedRow)
{
    TestMainWindow main;
    main.AddDeviceRow({ "198.18.0.100", "198.18.0.1", "nas", "02:00:00:00:00:01", "1.0", "255.255.255.0",
        AddressMode::Static, 0 });
    ASSERT_EQ(main.Rows(), 1);
    main.OnSetupIp();
    ASSERT_EQ(main.wnd.boxes.size(), 1u);
    EXPECT_EQ(main.wnd.boxes[0].text, "Select the NAS to modify its IP address");
    EXPECT_TRUE(main.wnd.boxes[0].owned);
    EXPECT_EQ(main.setupRuns, 0);
    EXPECT_FALSE(main.wnd.timerArmed);
    EXPECT_EQ(main.Rows(), 1);
    EXPECT_TRUE(SelectedDevice.address.empty());
}
