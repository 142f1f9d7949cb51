// The magic packet, MAC address notations and the record of remembered
// devices, without a network: commands that refuse before sending run here.

#include "byte_escape.h"
#include "cli_commands.h"
#include "cli_discover.h"
#include "device_record.h"
#include "magic_packet.h"
#include "test_files.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

TEST(MagicPacket, IsSixFfThenTheMacSixteenTimesAndReadsBack)
{
    const MacAddress mac { 0x00, 0x11, 0x32, 0xab, 0xcd, 0xef };
    std::string expected = "ffffffffffff";
    for (int i = 0; i < 16; ++i)
        expected += "001132abcdef";
    std::string packet = BuildMagicPacket(mac);
    EXPECT_EQ(packet.size(), 102u);
    EXPECT_EQ(ToHex(packet), expected);
    EXPECT_EQ(MagicPacketTarget(packet), mac);
    EXPECT_EQ(MagicPacketTarget(packet + "pass"), mac); // a SecureOn password is no obstacle
    std::string wrong = packet;
    wrong[60] ^= 1;
    EXPECT_EQ(MagicPacketTarget(wrong), std::nullopt);
    EXPECT_EQ(MagicPacketTarget(packet.substr(0, 101)), std::nullopt);
}

TEST(MagicPacket, EveryMacNotationInAnyCaseAndNothingElse)
{
    const MacAddress mac { 0xaa, 0xbb, 0xcc, 0x0d, 0xee, 0xff };
    for (const char* text : { "aa:bb:cc:0d:ee:ff", "AA-BB-CC-0D-EE-FF", "aabb.cc0d.eeff", "AaBbCc0dEeFf" }) {
        EXPECT_EQ(ParseMac(text), mac) << text;
    }
    EXPECT_EQ(MacText(mac), "aa:bb:cc:0d:ee:ff");
    for (const char* bad : { "", "aa:bb:cc:0d:ee", "aa:bb:cc:0d:ee:ff:00", "aa:bb-cc:0d:ee:ff", "aabb.cc0d:eeff",
             "aabbcc0deef", "aabbcc0deefg", "a:bb:cc:0d:ee:fff", "aab.bcc0d.eeff", "nas-01", "198.18.0.20" })
        EXPECT_EQ(ParseMac(bad), std::nullopt) << bad;
}

// Runs orbisk-cli in this process with the record in a scratch directory.
class CliState : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("XDG_STATE_HOME", dir.Path("state").c_str(), 1);
        unsetenv("ORBISK_NO_STATE");
    }
    void TearDown() override { unsetenv("XDG_STATE_HOME"); }

    int Cli(const std::vector<std::string>& args)
    {
        out.str("");
        err.str("");
        return RunCli(args, out, err);
    }
    void WriteRecord(const std::string& text)
    {
        std::filesystem::create_directories(dir.Path("state/orbisk"));
        std::ofstream(Record(), std::ios::binary) << text;
    }
    std::string Record() const { return dir.Path("state/orbisk/devices"); }
    std::vector<std::string> Aside() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path("state/orbisk"))) {
            if (entry.path().filename().string().starts_with("devices.corrupt-"))
                names.push_back(entry.path());
        }
        return names;
    }

    CScratchDir dir;
    std::ostringstream out, err;
};

KnownDevice Known(const std::string& mac, const std::string& address, const std::string& host, int64_t seen)
{
    KnownDevice known;
    known.device.reply = { .sender = address, .gateway = "198.18.0.1", .hostname = host, .mac = mac,
        .version = "1.0", .netmask = "255.255.255.0", .mode = AddressMode::Static, .ifindex = 7 };
    known.device.interfaceName = "eth0";
    known.lastSeenNs = seen * 1000000000;
    return known;
}

TEST_F(CliState, RecordKeepsEveryByteAndKnownListsNewestFirst)
{
    const std::string awkward = "tab\there\\ and\nline";
    CDeviceRecord record(Record());
    record.Note(Known("02:00:00:00:00:01", "198.18.0.20", "old", 0).device, 1000000000000000000);
    record.Note(Known("02:00:00:00:00:02", "198.18.0.21", awkward, 0).device, 1700000000000000000);
    // The same device under another notation is the same device.
    record.Note(Known("02-00-00-00-00-01", "198.18.0.22", "moved", 0).device, 1600000000000000000);
    ASSERT_TRUE(record.Save().Ok());

    Result<std::vector<KnownDevice>> back = ParseRecord(ReadFile(Record()));
    ASSERT_TRUE(back.Ok()) << back.Failure().Message();
    ASSERT_EQ(back->size(), 2u);
    EXPECT_EQ((*back)[1].device.reply.hostname, awkward);
    EXPECT_EQ((*back)[0].device.reply.sender, "198.18.0.22");

    ASSERT_EQ(Cli({ "known", "--csv" }), 0) << err.str();
    EXPECT_EQ(out.str(),
        "No.,IP Address,Version,Hostname,Gateway,MAC Address,Netmask,Mode,Interface,Last Seen\r\n"
        "0,198.18.0.21,1.0,\"tab\there\\ and\nline\",198.18.0.1,02:00:00:00:00:02,255.255.255.0,static,eth0,"
        "2023-11-14T22:13:20Z\r\n"
        "1,198.18.0.22,1.0,moved,198.18.0.1,02-00-00-00-00-01,255.255.255.0,static,eth0,2020-09-13T12:26:40Z\r\n");
    EXPECT_EQ(err.str(), "");

    ASSERT_EQ(Cli({ "known", "--forget" }), 0) << err.str();
    ASSERT_EQ(Cli({ "known", "--json" }), 0) << err.str();
    EXPECT_EQ(out.str(), "[]\n");
}

TEST_F(CliState, BrokenRecordIsKeptAsideWithOneWarningAndTheCommandGoesOn)
{
    const std::string broken = "orbisk-devices 9\n02:00:00:00:00:01\t198.18.0.20\tonly three fields\n";
    WriteRecord(broken);
    ASSERT_EQ(Cli({ "known" }), 0);
    EXPECT_EQ(out.str(), "");
    ASSERT_EQ(Aside().size(), 1u);
    EXPECT_EQ(ReadFile(Aside()[0]), broken); // kept byte for byte
    EXPECT_FALSE(std::filesystem::exists(Record()));
    EXPECT_EQ(err.str(), "orbisk-cli: warning: the record of remembered devices " + Record()
        + " is broken (line 1: not \"orbisk-devices 1\"); it is kept as " + Aside()[0] + " and a new one is started\n"
        "No device is remembered\n");

    // A second broken file is kept beside the first, not over it.
    WriteRecord("not a record\n");
    RecordProblem problem;
    ASSERT_TRUE(UpdateRecord(Record(), [](CDeviceRecord& record) {
        record.Note(Known("02:00:00:00:00:05", "198.18.0.25", "new", 0).device, 1000000000000000000);
    }, problem).Ok());
    EXPECT_EQ(problem.kind, RecordProblem::SetAside);
    EXPECT_EQ(Aside().size(), 2u);
    EXPECT_NE(ReadFile(Record()).find("198.18.0.25"), std::string::npos);
}

TEST_F(CliState, UnreadableLinesAreLeftOutWithOneWarningAndDroppedAtTheNextWrite)
{
    const std::string good = "02:00:00:00:00:01\t198.18.0.20\tnas\t1.0\t255.255.255.0\t198.18.0.1\tstatic\teth0\t7\t"
                             "1000000000\n";
    WriteRecord("orbisk-devices 1\nonly\tthree\tfields\n" + good + "bad\\escape\n"
        "02:00:00:00:00:02\t198.18.0.21\tcut\t1.0\t255.255.255.0\t198.18.0.1\tstatic\teth0\t7\t10");
    ASSERT_EQ(Cli({ "known", "--csv" }), 0);
    EXPECT_EQ(out.str(), "No.,IP Address,Version,Hostname,Gateway,MAC Address,Netmask,Mode,Interface,Last Seen\r\n"
                         "0,198.18.0.20,1.0,nas,198.18.0.1,02:00:00:00:00:01,255.255.255.0,static,eth0,"
                         "2001-09-09T01:46:40Z\r\n");
    EXPECT_EQ(err.str(), "orbisk-cli: warning: 3 lines of the record of remembered devices " + Record()
        + " could not be read and are left out\n");
    EXPECT_TRUE(Aside().empty());

    CliDevice more;
    more.reply = Known("02:00:00:00:00:03", "198.18.0.23", "more", 0).device.reply;
    Remember({ more }, err);
    Result<std::vector<KnownDevice>> back = ParseRecord(ReadFile(Record()));
    int skipped = -1;
    ASSERT_TRUE(ParseRecord(ReadFile(Record()), &skipped).Ok());
    EXPECT_EQ(skipped, 0);
    ASSERT_TRUE(back.Ok());
    EXPECT_EQ(back->size(), 2u);
}

TEST_F(CliState, WakeRefusesUnknownAndAmbiguousTargetsBeforeSending)
{
    CDeviceRecord record(Record());
    record.Note(Known("02:00:00:00:00:01", "198.18.0.20", "twin", 0).device, 2000000000000000000);
    record.Note(Known("02:00:00:00:00:02", "198.18.0.21", "TWIN", 0).device, 1000000000000000000);
    ASSERT_TRUE(record.Save().Ok());

    EXPECT_EQ(Cli({ "wake", "nosuchbox" }), 2);
    EXPECT_EQ(err.str(), "orbisk-cli: \"nosuchbox\" is neither a MAC address (as aa:bb:cc:dd:ee:ff) nor the host "
                         "name or address of a remembered device ('orbisk-cli known' lists them)\n");
    EXPECT_EQ(out.str(), "");

    // Nothing is sent for the good target either.
    EXPECT_EQ(Cli({ "wake", "02:00:00:00:00:09", "twin" }), 2);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(),
        "orbisk-cli: \"twin\" names 2 remembered devices; give the MAC address of the one to wake:\n"
        "No.  IP Address   Version  Hostname  Gateway     MAC Address        Netmask        Mode    "
        "Interface  Last Seen\n"
        "0    198.18.0.20  1.0      twin      198.18.0.1  02:00:00:00:00:01  255.255.255.0  static  "
        "eth0       2033-05-18T03:33:20Z\n"
        "1    198.18.0.21  1.0      TWIN      198.18.0.1  02:00:00:00:00:02  255.255.255.0  static  "
        "eth0       2001-09-09T01:46:40Z\n");
}

} // namespace
