// wake, wait and watch against simulated devices on the virtual LAN, with
// the record of remembered devices in a scratch directory.

#include "cli_lan.h"
#include "lan_test.h"

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

namespace {

using vlan::Host;

const std::string kMac = "02:00:00:00:00:2a";

class CliWake : public LanTest {
protected:
    void SetUpLan() override { dev = &lan.AddHost("dev", 0, 20); }

    CliRun Cli(const std::vector<std::string>& args) { return RunCliOn(*op, args, "", state.Path("")); }

    // Polls the output of a running command until it holds `part`, 10 s at most.
    static bool AwaitOutput(const CCliProcess& process, const std::string& part)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!Has(process.OutputSoFar(), part)) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }

    Host* dev = nullptr;
    CScratchDir state;
};

// The device is heard once awake and remembered; asleep it answers nothing,
// so waiting for it times out; woken by its host name, out of the port it
// answered on, it answers after booting and wake --wait lists it.
TEST_F(CliWake, WakeByRememberedNameAndWaitForTheBoot)
{
    {
        CDevsimProcess awake(lan);
        ASSERT_TRUE(awake.Start(*dev, { "--hostname", "sleepy", "--mac", kMac })) << awake.Failure();
        CliRun scan = Cli({ "scan", "--timeout", "300" });
        ASSERT_EQ(scan.status, 0) << scan.err;
    }
    CliRun known = Cli({ "known", "--csv" });
    ASSERT_EQ(known.status, 0) << known.err;
    ASSERT_EQ(Lines(known.out).size(), 2u) << known.out;
    EXPECT_TRUE(Has(known.out, "0,198.18.0.20,1.0.0,sleepy,198.18.0.1," + kMac + ",255.255.255.0,static,eth0,"))
        << known.out;

    CDevsimProcess asleep(lan);
    ASSERT_TRUE(asleep.Start(*dev, { "--hostname", "sleepy", "--mac", kMac, "--asleep", "--boot-ms", "700" }))
        << asleep.Failure();
    auto start = std::chrono::steady_clock::now();
    CliRun early = Cli({ "wait", "sleepy", "--timeout", "0.8" });
    EXPECT_EQ(early.status, 1) << early.err;
    EXPECT_EQ(early.out, "");
    EXPECT_EQ(early.err, "orbisk-cli: no device \"sleepy\" answered within 0.8 s\n");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(3000));

    size_t before = asleep.Received().size();
    CliRun wake = Cli({ "wake", "SLEEPY", "--wait", "10" });
    ASSERT_EQ(wake.status, 0) << wake.err;
    EXPECT_EQ(wake.out,
        "Sent the magic packet for " + kMac + " (sleepy) to 255.255.255.255 via eth0, UDP port 9\n"
        "No.  IP Address   Version  Hostname  Gateway     MAC Address        Netmask        Mode\n"
        "0    198.18.0.20  1.0.0    sleepy    198.18.0.1  " + kMac + "  255.255.255.0  static\n");
    EXPECT_TRUE(Has(asleep.Output(), "198.18.0.20 woken by a magic packet; answers in 700 ms")) << asleep.Output();

    // One packet on port 9: 6 x 0xFF, the MAC address 16 times, broadcast;
    // the rest discovery requests (the two sockets' datagrams are logged in
    // no fixed order).
    std::string expected(6, '\xFF');
    for (int i = 0; i < 16; ++i)
        expected += std::string("\x02\x00\x00\x00\x00\x2a", 6);
    std::vector<LoggedDatagram> received = asleep.Received();
    int magic = 0;
    for (size_t i = before; i < received.size(); ++i) {
        magic += received[i].bytes != kDiscovery;
        EXPECT_EQ(received[i], FromOperator(received[i].bytes == kDiscovery ? kDiscovery : expected));
    }
    EXPECT_EQ(magic, 1);
}

TEST_F(CliWake, WaitListsTheDeviceOnceItAnswers)
{
    CCliProcess wait;
    ASSERT_TRUE(wait.Start(*op, { "wait", kMac, "--timeout", "10", "--json" }, "", state.Path("")));
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    CDevsimProcess later(lan);
    ASSERT_TRUE(later.Start(*dev, { "--hostname", "later", "--mac", "02-00-00-00-00-2A" })) << later.Failure();
    CliRun run = wait.Wait(12000);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
        "[\n  {\"no\": 0, \"address\": \"198.18.0.20\", \"version\": \"1.0.0\", \"hostname\": \"later\", "
        "\"gateway\": \"198.18.0.1\", \"mac\": \"02-00-00-00-00-2A\", \"netmask\": \"255.255.255.0\", "
        "\"mode\": \"static\", \"interface\": \"eth0\"}\n]\n");
    EXPECT_EQ(run.err, "");
}

// A device starts, changes its host name and stops: appeared, changed with
// the old and new name, gone after --misses silent scans; SIGTERM ends the
// watch with status 0, and each line was out before the next scan.
TEST_F(CliWake, WatchTellsAppearedChangedAndGone)
{
    CCliProcess watch;
    ASSERT_TRUE(watch.Start(*op, { "watch", "--interval", "0.4", "--misses", "2" }, "", state.Path("")));
    {
        CDevsimProcess first(lan);
        ASSERT_TRUE(first.Start(*dev, { "--hostname", "alpha", "--mac", kMac })) << first.Failure();
        ASSERT_TRUE(AwaitOutput(watch, " appeared ")) << watch.OutputSoFar();
    }
    {
        CDevsimProcess renamed(lan);
        ASSERT_TRUE(renamed.Start(*dev, { "--hostname", "beta", "--mac", kMac })) << renamed.Failure();
        ASSERT_TRUE(AwaitOutput(watch, " changed ")) << watch.OutputSoFar();
    }
    ASSERT_TRUE(AwaitOutput(watch, " gone ")) << watch.OutputSoFar();
    ASSERT_GT(watch.Pid(), 0);
    kill(watch.Pid(), SIGTERM);
    CliRun run = watch.Wait(5000);
    EXPECT_EQ(run.status, 0) << run.err;

    std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 3u) << run.out;
    const std::string stamp = "2026-12-07T23:50:01.234Z";
    for (const std::string& line : lines) {
        ASSERT_GT(line.size(), stamp.size()) << line;
        EXPECT_EQ(line[4], '-');
        EXPECT_EQ(line[10], 'T');
        EXPECT_EQ(line[stamp.size() - 1], 'Z') << line;
    }
    EXPECT_EQ(lines[0].substr(stamp.size()), " appeared " + kMac + " address=198.18.0.20 hostname=alpha version=1.0.0 "
        "netmask=255.255.255.0 gateway=198.18.0.1 mode=static interface=eth0");
    EXPECT_EQ(lines[1].substr(stamp.size()), " changed " + kMac + " hostname=alpha->beta");
    EXPECT_EQ(lines[2].substr(stamp.size()), " gone " + kMac + " address=198.18.0.20 hostname=beta version=1.0.0 "
        "netmask=255.255.255.0 gateway=198.18.0.1 mode=static interface=eth0");

    // The same as JSON, one object a line, over a bounded number of scans.
    CDevsimProcess again(lan);
    ASSERT_TRUE(again.Start(*dev, { "--hostname", "beta", "--mac", kMac })) << again.Failure();
    CliRun json = Cli({ "watch", "--interval", "0.2", "--count", "2", "--json" });
    ASSERT_EQ(json.status, 0) << json.err;
    ASSERT_EQ(Lines(json.out).size(), 1u) << json.out;
    EXPECT_TRUE(Has(json.out, "\", \"event\": \"appeared\", \"device\": {\"address\": \"198.18.0.20\", "
        "\"version\": \"1.0.0\", \"hostname\": \"beta\"")) << json.out;
}

} // namespace
