#include "cli_lan.h"
#include "lan_test.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include <gtest/gtest.h>

namespace {

using vlan::Host;
using vlan::VirtualLan;

// The awkward device: a host name with a space, a comma, quotes, a bell and a
// Latin-1 byte, a version with a tab.
const std::string kAwkwardReply = "#198.18.0.1@My NAS, \"2nd\"\x07\xE9@02:00:00:00:00:0a@1.0\tb@255.255.255.0@1@";

class CliScanFormats : public LanTest {
protected:
    void SetUpLan() override
    {
        Host& first = lan.AddHost("dev1", 0, 20);
        Host& second = lan.AddHost("dev2", 0, 21);
        ASSERT_TRUE(awkward.Start(first, { "--raw-reply", "hex:" + ToHex(kAwkwardReply) })) << awkward.Failure();
        // Arrives second, so the order of the rows is known.
        ASSERT_TRUE(plain.Start(second, { "--hostname", "Caf\xC3\xA9 box", "--firmware", "2.1", "--mac",
            "02:00:00:00:00:0b", "--reply-delay", "150" })) << plain.Failure();
    }

    // Standard output of a scan that must succeed, in the format asked for.
    std::string ScanOutput(const std::string& format)
    {
        CliRun run = RunCliOn(*op, { "scan", "--timeout", "500", format });
        EXPECT_EQ(run.status, 0) << run.err;
        return run.out;
    }

    CDevsimProcess awkward { lan }, plain { lan };
};

TEST_F(CliScanFormats, TableEscapesControlAndNonUtf8Bytes)
{
    CliRun run = RunCliOn(*op, { "scan", "--timeout", "500" });
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
        "No.  IP Address   Version   Hostname               Gateway     MAC Address        Netmask        Mode\n"
        "0    198.18.0.20  1.0\\x09b  My NAS, \"2nd\"\\x07\\xE9  198.18.0.1  02:00:00:00:00:0a  255.255.255.0  dhcp\n"
        "1    198.18.0.21  2.1       Caf\xC3\xA9 box               198.18.0.1  02:00:00:00:00:0b  255.255.255.0  static\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(CliScanFormats, JsonIsValidWithEveryByteAccountedFor)
{
    EXPECT_EQ(ScanOutput("--json"),
        "[\n"
        "  {\"no\": 0, \"address\": \"198.18.0.20\", \"version\": \"1.0\\tb\", "
        "\"hostname\": \"My NAS, \\\"2nd\\\"\\u0007\\u00e9\", \"gateway\": \"198.18.0.1\", "
        "\"mac\": \"02:00:00:00:00:0a\", \"netmask\": \"255.255.255.0\", \"mode\": \"dhcp\", \"interface\": \"eth0\"},\n"
        "  {\"no\": 1, \"address\": \"198.18.0.21\", \"version\": \"2.1\", \"hostname\": \"Caf\xC3\xA9 box\", "
        "\"gateway\": \"198.18.0.1\", \"mac\": \"02:00:00:00:00:0b\", \"netmask\": \"255.255.255.0\", "
        "\"mode\": \"static\", \"interface\": \"eth0\"}\n"
        "]\n");
}

TEST_F(CliScanFormats, CsvQuotesAsRfc4180AndKeepsTheBytes)
{
    EXPECT_EQ(ScanOutput("--csv"),
        "No.,IP Address,Version,Hostname,Gateway,MAC Address,Netmask,Mode,Interface\r\n"
        "0,198.18.0.20,\"1.0\tb\",\"My NAS, \"\"2nd\"\"\x07\xE9\",198.18.0.1,02:00:00:00:00:0a,255.255.255.0,dhcp,eth0\r\n"
        "1,198.18.0.21,2.1,Caf\xC3\xA9 box,198.18.0.1,02:00:00:00:00:0b,255.255.255.0,static,eth0\r\n");
}

// Each test builds its own hosts on the LAN.
class CliScan : public ::testing::Test {
protected:
    void SetUp() override { VLAN_REQUIRE(lan); }

    VirtualLan lan;
};

TEST_F(CliScan, NothingAnsweringGivesStatusOneInEveryFormat)
{
    Host& op = lan.AddHost("op", 0, 10);
    Host& quiet = lan.AddHost("quiet", 0, 20);
    // A device that answers only with something that is no discovery reply.
    CDevsimProcess junk(lan);
    ASSERT_TRUE(junk.Start(quiet, { "--raw-reply", "STSS" })) << junk.Failure();

    // The firewall hint goes to standard error in every format, never into
    // the output a script parses.
    const std::string hint = "orbisk-cli: a firewall may be dropping the devices' replies";
    const std::string commands[] = { "sudo ufw allow Orbisk\n",
        "sudo firewall-cmd --permanent --add-service=orbisk && sudo firewall-cmd --reload\n" };
    CliRun table = RunCliOn(op, { "scan", "--timeout", "300" });
    EXPECT_EQ(table.status, 1);
    EXPECT_EQ(table.out, "");
    EXPECT_TRUE(table.err.starts_with("No device answered\n" + hint)) << table.err;
    CliRun json = RunCliOn(op, { "scan", "--timeout", "300", "--json" });
    EXPECT_EQ(json.status, 1);
    EXPECT_EQ(json.out, "[]\n");
    EXPECT_TRUE(json.err.starts_with(hint)) << json.err;
    CliRun csv = RunCliOn(op, { "scan", "--timeout", "300", "--csv" });
    EXPECT_EQ(csv.status, 1);
    EXPECT_EQ(csv.out, "No.,IP Address,Version,Hostname,Gateway,MAC Address,Netmask,Mode,Interface\r\n");
    for (const CliRun* run : { &table, &json, &csv }) {
        for (const std::string& command : commands)
            EXPECT_TRUE(Has(run->err, command)) << run->err;
    }
    EXPECT_EQ(junk.Received().size(), 9u); // the requests did go out, three a scan
}

TEST_F(CliScan, OverlongRepliesAreDroppedAndEachSenderListedOnce)
{
    Host& op = lan.AddHost("op", 0, 10);
    Host& device = lan.AddHost("dev", 0, 20);
    // 101 bytes (one past the reply limit), then exactly 100, each sent twice.
    std::string overlong = "#gw@long@mac@ver@mask@0@";
    overlong += std::string(101 - overlong.size(), 'x');
    std::string exact = "#gw@exact@mac@ver@mask@1@";
    exact += std::string(100 - exact.size(), 'y');
    CDevsimProcess sim(lan);
    ASSERT_TRUE(sim.Start(device, { "--raw-reply", "hex:" + ToHex(overlong), "--raw-reply", "hex:" + ToHex(exact),
                                      "--duplicates", "2" }))
        << sim.Failure();
    CliRun run = RunCliOn(op, { "scan", "--timeout", "300", "--csv" });
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
        "No.,IP Address,Version,Hostname,Gateway,MAC Address,Netmask,Mode,Interface\r\n"
        "0,198.18.0.20,ver,exact,gw,mac,mask,dhcp,eth0\r\n");
}

// The receive queue must hold the whole burst even when orbisk-cli is not
// scheduled while it arrives; the default queue holds a few hundred.
TEST_F(CliScan, ABurstOfAThousandRepliesIsListedInFull)
{
    Host& op = lan.AddHost("op", 0, 10);
    Host& many = lan.AddHost("many", 0, 20);
    std::vector<std::string> addresses;
    for (int i = 0; i < 1000; ++i)
        addresses.push_back("198.18." + std::to_string(4 + (i + 1) / 256) + "." + std::to_string((i + 1) % 256));
    lan.AddAddresses(many, addresses);
    CDevsimProcess sim(lan);
    ASSERT_TRUE(sim.Start(many, { "--address", "198.18.4.1", "--count", "1000" })) << sim.Failure();
    CliRun run = RunCliOn(op, { "scan", "--timeout", "1000", "--csv" });
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> rows = Lines(run.out);
    ASSERT_EQ(rows.size(), 1001u);
    EXPECT_EQ(rows[1].substr(0, 2), "0,");
    EXPECT_EQ(rows[1000].substr(0, 4), "999,");
    EXPECT_TRUE(Has(run.out, ",198.18.4.1,") && Has(run.out, ",198.18.7.232,"));
}

// The operator's default route leads to the first port; the second port is
// cabled to another segment. Both are searched without being asked to.
TEST_F(CliScan, EveryPortIsSearchedWithOrWithoutADefaultRoute)
{
    int second = lan.AddSegment("198.18.1");
    Host& op = lan.AddHost("op", 0, 10);
    lan.AddInterface(op, second, 10);
    Host& near = lan.AddHost("near", 0, 20);
    Host& far = lan.AddHost("far", second, 30);
    CDevsimProcess nearSim(lan), farSim(lan);
    ASSERT_TRUE(nearSim.Start(near, { "--hostname", "near" })) << nearSim.Failure();
    ASSERT_TRUE(farSim.Start(far, { "--hostname", "far" })) << farSim.Failure();

    for (const char* how : { "default", "--all-interfaces" }) {
        std::vector<std::string> args { "scan", "--timeout", "400", "--csv" };
        if (std::string(how) != "default")
            args.push_back(how);
        CliRun all = RunCliOn(op, args);
        ASSERT_EQ(all.status, 0) << how << ": " << all.err;
        ASSERT_EQ(Lines(all.out).size(), 3u) << how << ": " << all.out;
        // Each row says which interface heard it.
        EXPECT_TRUE(Has(all.out, ",198.18.0.20,1.0.0,near,198.18.0.1,") && Has(all.out, "static,eth0\r\n")) << all.out;
        EXPECT_TRUE(Has(all.out, ",198.18.1.30,1.0.0,far,198.18.1.1,") && Has(all.out, "static,eth1\r\n")) << all.out;
    }
    CliRun table = RunCliOn(op, { "scan", "--timeout", "400" });
    EXPECT_TRUE(Has(Lines(table.out).at(0), "Interface")) << table.out; // two ports carried the request

    CliRun one = RunCliOn(op, { "scan", "--timeout", "400", "--csv", "--interface", "eth1" });
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_TRUE(Has(one.out, "198.18.1.30")) << one.out;
    EXPECT_FALSE(Has(one.out, "198.18.0.20")) << one.out;

    // An offline laptop: no default route at all.
    ASSERT_EQ(lan.Run(op, { "ip", "route", "del", "default" }), 0);
    CliRun offline = RunCliOn(op, { "scan", "--timeout", "400", "--csv" });
    ASSERT_EQ(offline.status, 0) << offline.err;
    EXPECT_EQ(offline.err, "");
    EXPECT_TRUE(Has(offline.out, "198.18.0.20") && Has(offline.out, "198.18.1.30")) << offline.out;
}

TEST_F(CliScan, DeviceBehindARouterIsFoundOnlyWithTarget)
{
    int remote = lan.AddSegment("198.18.5");
    Host& op = lan.AddHost("op", 0, 10, 1);
    Host& router = lan.AddHost("router", 0, 1);
    lan.AddInterface(router, remote, 1);
    lan.EnableForwarding(router);
    Host& device = lan.AddHost("dev", remote, 40, 1);
    CDevsimProcess sim(lan);
    ASSERT_TRUE(sim.Start(device, { "--hostname", "remote" })) << sim.Failure();

    CliRun broadcast = RunCliOn(op, { "scan", "--timeout", "400" });
    EXPECT_EQ(broadcast.status, 1) << broadcast.out;

    CliRun unicast = RunCliOn(op, { "scan", "--timeout", "400", "--csv", "--target", "198.18.5.40" });
    ASSERT_EQ(unicast.status, 0) << unicast.err;
    EXPECT_TRUE(Has(unicast.out, "0,198.18.5.40,1.0.0,remote,198.18.5.1,")) << unicast.out;

    // A directed broadcast crosses a router that is set to forward it (the
    // setting counts on the interface it arrives on).
    ASSERT_EQ(lan.Run(router, { "sysctl", "-q", "-w", "net.ipv4.conf.all.bc_forwarding=1",
                                 "net.ipv4.conf.eth0.bc_forwarding=1" }),
        0);
    CliRun subnet = RunCliOn(op, { "scan", "--timeout", "400", "--csv", "--target", "198.18.5.0/24" });
    ASSERT_EQ(subnet.status, 0) << subnet.err;
    EXPECT_TRUE(Has(subnet.out, "198.18.5.40")) << subnet.out;
    std::vector<LoggedDatagram> received = sim.Received();
    ASSERT_EQ(received.size(), 6u); // three requests a scan
    EXPECT_EQ(received[0].destination, "198.18.5.40");
    EXPECT_EQ(received[3].destination, "198.18.5.255");
}

TEST_F(CliScan, RequestIsTheFiveByteDiscoveryFromTheToolPort)
{
    Host& op = lan.AddHost("op", 0, 10);
    Host& device = lan.AddHost("dev", 0, 20);
    CDevsimProcess sim(lan);
    ASSERT_TRUE(sim.Start(device, {})) << sim.Failure();
    CliRun run = RunCliOn(op, { "scan", "--timeout", "300" });
    ASSERT_EQ(run.status, 0) << run.err;
    CliRun five = RunCliOn(op, { "scan", "--timeout", "300", "--repeat", "5" });
    ASSERT_EQ(five.status, 0) << five.err;
    EXPECT_EQ(Lines(five.out).size(), 2u) << five.out; // answered five times, listed once
    std::vector<LoggedDatagram> received = sim.Received();
    ASSERT_EQ(received.size(), 8u); // three by default, then five
    for (const LoggedDatagram& d : received)
        EXPECT_EQ(d, FromOperator(kDiscovery));
    CliRun bad = RunCliOn(op, { "scan", "--repeat", "6" });
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(Has(bad.err, "--repeat \"6\" is not a number of requests from 1 to 5")) << bad.err;
}

// Broadcast over Wi-Fi is not acknowledged: one device misses the first
// request, another's first reply is lost. The later requests of the same
// scan find both, each listed once; a single request misses the first.
TEST_F(CliScan, RepeatedRequestsFindDevicesThatMissedTheFirst)
{
    Host& op = lan.AddHost("op", 0, 10);
    Host& deaf = lan.AddHost("deaf", 0, 20);
    Host& mute = lan.AddHost("mute", 0, 21);
    CDevsimProcess deafSim(lan), muteSim(lan);
    ASSERT_TRUE(deafSim.Start(deaf, { "--hostname", "deaf", "--drop-first", "1" })) << deafSim.Failure();
    ASSERT_TRUE(muteSim.Start(mute, { "--hostname", "mute", "--mac", "02:00:00:00:00:02", "--drop-first-replies", "1" }))
        << muteSim.Failure();

    auto start = std::chrono::steady_clock::now();
    CliRun run = RunCliOn(op, { "scan", "--csv" });
    auto took = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> rows = Lines(run.out);
    ASSERT_EQ(rows.size(), 3u) << run.out;
    EXPECT_TRUE(Has(run.out, ",198.18.0.20,1.0.0,deaf,") && Has(run.out, ",198.18.0.21,1.0.0,mute,")) << run.out;
    EXPECT_EQ(deafSim.Received().size(), 3u);
    EXPECT_LT(took, std::chrono::milliseconds(2000)); // the default 1500 ms, not prolonged by the repeats

    // Again with one request, to a device that misses it.
    ASSERT_EQ(deafSim.Stop(), 0);
    CDevsimProcess deafAgain(lan);
    ASSERT_TRUE(deafAgain.Start(deaf, { "--hostname", "deaf", "--drop-first", "1" })) << deafAgain.Failure();
    CliRun once = RunCliOn(op, { "scan", "--csv", "--repeat", "1", "--timeout", "500" });
    EXPECT_EQ(once.status, 0) << once.err;
    EXPECT_FALSE(Has(once.out, "deaf")) << once.out;
    EXPECT_TRUE(Has(once.out, ",198.18.0.21,1.0.0,mute,")) << once.out;
    EXPECT_EQ(deafAgain.Received().size(), 1u);
}

TEST_F(CliScan, FailuresAreClearAndImmediate)
{
    Host& op = lan.AddHost("op", 0, 10);

    CliRun unknown = RunCliOn(op, { "scan", "--interface", "nosuch0" });
    EXPECT_EQ(unknown.status, 7);
    EXPECT_EQ(unknown.err, "orbisk-cli: No interface named \"nosuch0\"\n");
    CliRun loopback = RunCliOn(op, { "scan", "--interface", "lo" });
    EXPECT_EQ(loopback.status, 7);
    EXPECT_TRUE(Has(loopback.err, "cannot broadcast")) << loopback.err;

    CliRun usage = RunCliOn(op, { "scan", "--bogus" });
    EXPECT_EQ(usage.status, 2);
    EXPECT_TRUE(Has(usage.err, "unknown option --bogus") && Has(usage.err, "Usage: orbisk-cli scan")) << usage.err;
    EXPECT_EQ(usage.out, "");

    // Another program on the tool port, here this test itself.
    int home = open("/proc/self/ns/net", O_RDONLY | O_CLOEXEC);
    ASSERT_TRUE(lan.Enter(op));
    int holder = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in local {};
    local.sin_family = AF_INET;
    local.sin_port = htons(10001);
    ASSERT_EQ(bind(holder, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
    auto start = std::chrono::steady_clock::now();
    CliRun busy = RunCliOn(op, { "scan", "--timeout", "5000" });
    auto took = std::chrono::steady_clock::now() - start;
    // Refused before the password would be asked for (standard input is empty).
    CliRun busySetIp = RunCliOn(op, { "set-ip", "198.18.0.20", "--dhcp", "--user", "admin" });
    close(holder);
    setns(home, CLONE_NEWNET);
    close(home);
    EXPECT_EQ(busy.status, 7);
    EXPECT_EQ(busy.err, "orbisk-cli: Port 10001 is in use by another program\n");
    EXPECT_EQ(busySetIp.status, 7);
    EXPECT_EQ(busySetIp.err, "orbisk-cli: Port 10001 is in use by another program\n");
    EXPECT_LT(took, std::chrono::milliseconds(4000)); // at once, not after the scan's 5 s

    // No interface that can broadcast at all.
    ASSERT_EQ(lan.Run(op, { "ip", "link", "set", "eth0", "down" }), 0);
    CliRun none = RunCliOn(op, { "scan" });
    EXPECT_EQ(none.status, 7);
    EXPECT_EQ(none.err, "orbisk-cli: No IPv4 interface is up and can broadcast\n");
}

} // namespace
