#include "cli_lan.h"

#include <pty.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

namespace {

using vlan::Host;
using vlan::VirtualLan;

// A change request as it must arrive: from the tool port, to the limited
// broadcast, the text and its NUL.
LoggedDatagram SentChange(const std::string& text)
{
    return FromOperator(text + '\0');
}

const std::vector<std::string> kToStatic77 = { "set-ip", "198.18.0.20", "--static", "--address", "198.18.0.77",
    "--netmask", "255.255.255.0", "--gateway", "198.18.0.1", "--user", "admin", "--password-stdin" };

class CliSetIp : public ::testing::Test {
protected:
    // A skip ends the test only from SetUp: from a helper the body would go on.
    void SetUp() override { VLAN_REQUIRE(lan); }

    // The operator's host and the device's, the simulator started on the latter.
    void StartLan(std::vector<std::string> simArgs)
    {
        op = &lan.AddHost("op", 0, 10);
        device = &lan.AddHost("dev", 0, 20);
        ASSERT_TRUE(sim.Start(*device, simArgs)) << sim.Failure();
    }

    // The static change to 198.18.0.77 and its check, `input` on standard input.
    CliRun SetIpAndVerify(const std::string& input)
    {
        auto args = kToStatic77;
        args.push_back("--verify");
        return RunCliOn(*op, args, input);
    }

    VirtualLan lan;
    Host* op = nullptr;
    Host* device = nullptr;
    CDevsimProcess sim { lan };
};

TEST_F(CliSetIp, StaticChangeSendsTheDesktopBytesAndVerifiesTheNewAddress)
{
    StartLan({ "--user", "admin", "--password", "pa ss word" });
    CliRun run = SetIpAndVerify("pa ss word\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Success\nThe device answers at 198.18.0.77\n");
    std::vector<LoggedDatagram> received = sim.Received();
    // The look-up that finds the device's port, the change, the check.
    ASSERT_GE(received.size(), 3u);
    EXPECT_EQ(received[0].bytes, kDiscovery);
    EXPECT_EQ(received[1], SentChange("STLG@198.18.0.20@admin@pa ss word@198.18.0.77@255.255.255.0@198.18.0.1@0"));
    EXPECT_EQ(received[2].bytes, kDiscovery);
}

TEST_F(CliSetIp, VerifyReportsADeviceThatDidNotMove)
{
    // Says "$0" but keeps its address.
    StartLan({ "--change-reply", "$0" });
    CliRun run = SetIpAndVerify("admin\n");
    EXPECT_EQ(run.status, 6) << run.err;
    EXPECT_EQ(run.out, "Success\nThe device does not answer at 198.18.0.77\n");
    // The look-up, one change request, then the check's three scans of three requests.
    std::vector<LoggedDatagram> received = sim.Received();
    ASSERT_EQ(received.size(), 11u);
    for (size_t i = 0; i < received.size(); ++i) {
        if (i == 1)
            continue;
        EXPECT_EQ(received[i].length, 5u) << i;
        EXPECT_EQ(received[i].bytes, kDiscovery) << i;
    }
}

TEST_F(CliSetIp, DhcpCarriesTheDevicesPresentValues)
{
    StartLan({ "--gateway", "198.18.0.254", "--netmask", "255.255.0.0", "--mac", "02:00:00:00:00:2a" });
    CliRun run = RunCliOn(*op, { "set-ip", "198.18.0.20", "--dhcp", "--user", "admin", "--password-stdin", "--verify" },
        "admin\r\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Success\nThe device answers at 198.18.0.20\n");
    std::vector<LoggedDatagram> received = sim.Received();
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[0].bytes, kDiscovery);
    EXPECT_EQ(received[1], SentChange("STLG@198.18.0.20@admin@admin@198.18.0.20@255.255.0.0@198.18.0.254@1@"));
    // Afterwards the device reports DHCP.
    CliRun scan = RunCliOn(*op, { "scan", "--timeout", "300", "--csv" });
    EXPECT_TRUE(Has(scan.out, ",dhcp,eth0")) << scan.out;
}

TEST_F(CliSetIp, WrongPasswordIsDenied)
{
    StartLan({});
    CliRun run = RunCliOn(*op, kToStatic77, "not-admin\n");
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_EQ(run.out, "Wrong user or password!\n");
    ASSERT_EQ(sim.Received().size(), 2u);
    EXPECT_EQ(sim.Received()[1],
        SentChange("STLG@198.18.0.20@admin@not-admin@198.18.0.77@255.255.255.0@198.18.0.1@0"));
}

TEST_F(CliSetIp, AnyOtherRefusalAndDiscoveryRepliesWhileWaiting)
{
    // The device refuses with a status other than 0 and 1; meanwhile another
    // device's discovery reply arrives and must not count as the answer.
    StartLan({ "--change-reply", "$7 busy", "--reply-delay", "200" });
    Host& other = lan.AddHost("other", 0, 30);
    CDevsimProcess chatty(lan);
    ASSERT_TRUE(chatty.Start(other, { "--unsolicited", "#gw@host@mac@ver@mask@0@", "--target", "198.18.0.10",
                                        "--interval", "50" }))
        << chatty.Failure();
    CliRun run = RunCliOn(*op, kToStatic77, "admin\n");
    EXPECT_EQ(run.status, 4) << run.err;
    EXPECT_EQ(run.out, "Could not modify the IP address!\n");
}

TEST_F(CliSetIp, NoAnswerIsReportedAfterTheTimeout)
{
    StartLan({});
    auto args = kToStatic77;
    args[1] = "198.18.0.99"; // no device there
    args.insert(args.end(), { "--timeout", "300" });
    auto start = std::chrono::steady_clock::now();
    CliRun run = RunCliOn(*op, args, "admin\n");
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(run.status, 5) << run.err;
    EXPECT_EQ(run.out, "No device answered within 300 ms\n");
    EXPECT_GE(took, std::chrono::milliseconds(300));
    EXPECT_LT(took, std::chrono::milliseconds(2900)); // the default of 3 s would be longer
    // The look-up's three requests, then the change, once: the device saw it was not for it.
    ASSERT_EQ(sim.Received().size(), 4u);
    EXPECT_TRUE(sim.Received()[3].bytes.starts_with("STLG@198.18.0.99@"));

    CliRun dhcp = RunCliOn(*op, { "set-ip", "198.18.0.99", "--dhcp", "--user", "admin", "--password-stdin" }, "admin\n");
    EXPECT_EQ(dhcp.status, 5) << dhcp.err;
    EXPECT_EQ(dhcp.out, "No device answered at 198.18.0.99\n");
    // Only the discovery went out: no change request without the device's values.
    EXPECT_EQ(sim.Received().size(), 7u);
}

TEST_F(CliSetIp, MalformedValuesAreRefusedBeforeAnythingIsSent)
{
    StartLan({});
    struct Case {
        size_t index;
        const char* value;
        const char* option;
    };
    for (Case c : { Case { 4, "198.18.0.777", "--address" }, Case { 6, "255.255.255", "--netmask" },
             Case { 8, "198.18.0.1.", "--gateway" }, Case { 1, "dev20", "device address" } }) {
        auto args = kToStatic77;
        args[c.index] = c.value;
        CliRun run = RunCliOn(*op, args, "admin\n");
        EXPECT_EQ(run.status, 2) << c.value;
        EXPECT_TRUE(Has(run.err, std::string(c.option) + " \"" + c.value + "\" is not a dotted-quad IPv4 address"))
            << run.err;
        EXPECT_EQ(run.out, "");
    }
    CliRun noPassword = RunCliOn(*op, kToStatic77, "");
    EXPECT_EQ(noPassword.status, 2);
    EXPECT_EQ(noPassword.err, "orbisk-cli: No password on standard input\n");
    auto fromTerminal = kToStatic77;
    fromTerminal.pop_back();
    CliRun noTerminal = RunCliOn(*op, fromTerminal, "admin\n");
    EXPECT_EQ(noTerminal.status, 2);
    EXPECT_TRUE(Has(noTerminal.err, "not a terminal")) << noTerminal.err;

    EXPECT_TRUE(sim.Received().empty());
    // The log does record what reaches the device.
    RunCliOn(*op, { "scan", "--timeout", "200", "--repeat", "1" });
    EXPECT_EQ(sim.Received().size(), 1u);
}

TEST_F(CliSetIp, PasswordFromStdinNeverShowsInTheArguments)
{
    StartLan({ "--password", "S3cret-pw", "--reply-delay", "800" });
    CCliProcess cli;
    ASSERT_TRUE(cli.Start(*op, kToStatic77, "S3cret-pw\n"));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::string cmdline = ReadFile("/proc/" + std::to_string(cli.Pid()) + "/cmdline");
    std::string environ = ReadFile("/proc/" + std::to_string(cli.Pid()) + "/environ");
    CliRun run = cli.Wait();
    EXPECT_TRUE(Has(cmdline, std::string("set-ip\0", 7))) << "not the waiting orbisk-cli: " << cmdline;
    EXPECT_FALSE(Has(cmdline, "S3cret-pw"));
    EXPECT_FALSE(Has(environ, "S3cret-pw"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Success\n");
}

// On a terminal the password is asked for with echo off, and never echoed.
TEST_F(CliSetIp, PasswordPromptOnATerminalDoesNotEcho)
{
    StartLan({ "--password", "S3cret-pw", "--reply-delay", "300" });
    auto args = kToStatic77;
    args.pop_back(); // no --password-stdin
    int ns = OpenNetns(*op);
    ASSERT_GE(ns, 0);
    int master = -1;
    pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    ASSERT_GE(pid, 0);
    if (pid == 0)
        ExecCliIn(ns, args);
    close(ns);

    // Reads the terminal until `until` shows up, the program ends, or ms pass.
    std::string screen;
    auto readUntil = [&](const std::string& until, int ms) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < deadline && (until.empty() || !Has(screen, until))) {
            pollfd pfd { master, POLLIN, 0 };
            if (poll(&pfd, 1, 20) <= 0)
                continue;
            char buf[256];
            ssize_t n = read(master, buf, sizeof buf);
            if (n <= 0)
                return; // EIO: the program is gone
            screen.append(buf, static_cast<size_t>(n));
        }
    };
    readUntil("Password: ", 5000);
    ASSERT_TRUE(Has(screen, "Password: ")) << screen;
    termios mode {};
    ASSERT_EQ(tcgetattr(master, &mode), 0);
    EXPECT_EQ(mode.c_lflag & ECHO, 0u) << "echo is on while the password is typed";
    ASSERT_EQ(write(master, "S3cret-pw\n", 10), 10);
    readUntil("", 5000);
    Result<int> ended = vlan::EndChild(pid, std::chrono::seconds(5));
    close(master);
    ASSERT_TRUE(ended.Ok()) << ended.Failure().Message();
    EXPECT_TRUE(WIFEXITED(*ended) && WEXITSTATUS(*ended) == 0) << screen;
    EXPECT_TRUE(Has(screen, "Success")) << screen;
    EXPECT_FALSE(Has(screen, "S3cret-pw")) << screen;
    // The look-up asked again while the slow answer was under way; the change went once.
    std::vector<LoggedDatagram> received = sim.Received();
    ASSERT_GE(received.size(), 2u);
    for (size_t i = 0; i + 1 < received.size(); ++i)
        EXPECT_EQ(received[i].bytes, kDiscovery) << i;
    EXPECT_EQ(received.back(), SentChange("STLG@198.18.0.20@admin@S3cret-pw@198.18.0.77@255.255.255.0@198.18.0.1@0"));
}

} // namespace

namespace {

size_t ChangeRequests(const CDevsimProcess& sim)
{
    size_t n = 0;
    for (const LoggedDatagram& d : sim.Received())
        n += d.bytes.rfind("STLG@", 0) == 0;
    return n;
}

// Each configuration that would leave the device unreachable is refused
// with exit status 2 and its reason, before anything reaches the device;
// --force sends it all the same.
TEST_F(CliSetIp, ConfigurationsThatCutTheDeviceOffAreRefused)
{
    StartLan({});
    struct Case {
        const char* address;
        const char* netmask;
        const char* gateway;
        const char* says;
    };
    const Case cases[] = {
        { "198.18.0.77", "255.0.255.0", "198.18.0.1", "The netmask 255.0.255.0 is not contiguous" },
        { "198.18.0.77", "0.0.0.0", "198.18.0.1", "The netmask 0.0.0.0 is not usable" },
        { "198.18.0.77", "255.255.255.255", "198.18.0.1", "The netmask 255.255.255.255 is not usable" },
        { "198.18.0.0", "255.255.255.0", "198.18.0.1", "198.18.0.0 is the network address of the subnet 198.18.0.0/24" },
        { "198.18.0.255", "255.255.255.0", "198.18.0.1", "198.18.0.255 is the broadcast address of the subnet" },
        { "0.18.0.77", "255.255.255.0", "0.18.0.1", "The address 0.18.0.77 is not usable" },
        { "127.0.0.77", "255.255.255.0", "127.0.0.1", "127.0.0.77 is a loopback address" },
        { "224.0.0.77", "255.255.255.0", "224.0.0.1", "224.0.0.77 is a multicast address" },
        { "255.255.255.255", "255.255.255.0", "198.18.0.1", "255.255.255.255 is the broadcast address" },
        { "198.18.0.77", "255.255.255.0", "198.18.1.1", "The gateway 198.18.1.1 is not a host of the subnet 198.18.0.0/24" },
        { "198.18.0.77", "255.255.255.0", "198.18.0.77", "The gateway 198.18.0.77 is the new address itself" },
    };
    for (const Case& c : cases) {
        auto args = kToStatic77;
        args[4] = c.address;
        args[6] = c.netmask;
        args[8] = c.gateway;
        CliRun run = RunCliOn(*op, args, "admin\n");
        EXPECT_EQ(run.status, 2) << c.says;
        EXPECT_TRUE(Has(run.err, c.says) && Has(run.err, "--force")) << run.err;
    }
    EXPECT_TRUE(sim.Received().empty());

    auto forced = kToStatic77;
    forced[8] = "198.18.1.1"; // a gateway the device cannot reach
    forced.push_back("--force");
    CliRun run = RunCliOn(*op, forced, "admin\n");
    EXPECT_EQ(run.out, "Success\n") << run.err;
    EXPECT_EQ(ChangeRequests(sim), 1u);
}

// Another host holds the new address: it answers the network's question
// and is named by its MAC address; the device is not sent the change.
TEST_F(CliSetIp, AnAddressAnotherHostHoldsIsRefused)
{
    StartLan({});
    Host& holder = lan.AddHost("holder", 0, 77);
    std::string link;
    ASSERT_EQ(lan.Run(holder, { "cat", "/sys/class/net/eth0/address" }, &link), 0);
    std::string mac = link.substr(0, link.find('\n'));
    CliRun run = RunCliOn(*op, kToStatic77, "admin\n");
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_TRUE(Has(run.err, "The address 198.18.0.77 is already in use by the host with MAC address " + mac))
        << run.err;
    EXPECT_EQ(ChangeRequests(sim), 0u);
}

// Two factory-fresh devices at one address: both are listed, with a warning;
// a change is refused, naming both, unless forced.
TEST_F(CliSetIp, TwoDevicesAtOneAddressAreListedAndNotChangedTogether)
{
    StartLan({ "--mac", "02:00:00:00:00:0a" });
    Host& twin = lan.AddHost("twin", 0, 21);
    ASSERT_EQ(lan.Run(twin, { "ip", "addr", "flush", "dev", "eth0" }), 0);
    ASSERT_EQ(lan.Run(twin, { "ip", "addr", "add", "198.18.0.20/24", "dev", "eth0" }), 0);
    ASSERT_EQ(lan.Run(twin, { "ip", "route", "replace", "default", "dev", "eth0" }), 0);
    CDevsimProcess twinSim(lan);
    ASSERT_TRUE(twinSim.Start(twin, { "--mac", "02:00:00:00:00:0b" })) << twinSim.Failure();

    CliRun scan = RunCliOn(*op, { "scan", "--timeout", "400", "--csv" });
    EXPECT_EQ(Lines(scan.out).size(), 3u) << scan.out;
    EXPECT_TRUE(Has(scan.out, ",02:00:00:00:00:0a,") && Has(scan.out, ",02:00:00:00:00:0b,")) << scan.out;
    EXPECT_TRUE(Has(scan.err, "warning: Several devices answer at 198.18.0.20")) << scan.err;

    CliRun refused = RunCliOn(*op, kToStatic77, "admin\n");
    EXPECT_EQ(refused.status, 2) << refused.err;
    EXPECT_TRUE(Has(refused.err, "02:00:00:00:00:0a") && Has(refused.err, "02:00:00:00:00:0b")) << refused.err;
    EXPECT_EQ(ChangeRequests(sim) + ChangeRequests(twinSim), 0u);
}

} // namespace
