// The textfile that watch --textfile writes: label values made safe, the file
// replaced whole, and the result accepted by the real promtool.

#include "prom_textfile.h"
#include "test_files.h"
#include "virtual_lan.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include <gtest/gtest.h>

namespace {

CliDevice Device(const std::string& mac, const std::string& hostname)
{
    CliDevice device;
    device.reply.sender = "198.18.0.20";
    device.reply.mac = mac;
    device.reply.hostname = hostname;
    device.reply.version = "1.0.0";
    device.reply.netmask = "255.255.255.0";
    device.reply.gateway = "198.18.0.1";
    device.reply.mode = AddressMode::Static;
    device.interfaceName = "eth0";
    return device;
}

std::vector<std::string> Entries(const std::string& directory)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// `promtool check metrics` on the file as its standard input; its status,
// its output in `output`.
int PromtoolCheck(const std::string& file, std::string& output)
{
    std::string command = std::string(ORBISK_PROMTOOL) + " check metrics < '" + file + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[4096];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
    int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(PromTextfile, LabelValuesAreEscapedAndMadeUtf8)
{
    EXPECT_EQ(PromLabelValue("plain-name_1"), "plain-name_1");
    EXPECT_EQ(PromLabelValue("a\"b\\c\nd"), "a\\\"b\\\\c\\nd");
    // A stray continuation byte, a lead byte cut short, an overlong '/', a
    // surrogate: each byte is one U+FFFD. Well-formed text stays, CR and tab too.
    EXPECT_EQ(PromLabelValue("\x80x\xC3"), "\xEF\xBF\xBDx\xEF\xBF\xBD");
    EXPECT_EQ(PromLabelValue("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(PromLabelValue("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(PromLabelValue("caf\xC3\xA9\r\t"), "caf\xC3\xA9\r\t");
}

// A device stays listed when gone, at 0, with its last fields and the time it
// was last heard; a round that missed it short of gone keeps it at 1.
TEST(PromTextfile, GoneDevicesStayListedAtZero)
{
    CWatchMetrics metrics;
    CliDevice a = Device("02:00:00:00:00:01", "alpha");
    CliDevice b = Device("02:00:00:00:00:02", "beta");
    metrics.Round({ { "02:00:00:00:00:01", { &a, true } }, { "02:00:00:00:00:02", { &b, true } } }, 1500000000,
        1000000000000);
    metrics.Round({ { "02:00:00:00:00:01", { &a, true } }, { "02:00:00:00:00:02", { &b, false } } }, 1500000000,
        1010000000000);
    std::string missed = metrics.Text();
    EXPECT_NE(missed.find("orbisk_device_up{device=\"02:00:00:00:00:02\"} 1\n"), std::string::npos) << missed;
    EXPECT_NE(missed.find("orbisk_watch_devices 1\n"), std::string::npos) << missed;
    EXPECT_NE(missed.find("orbisk_device_last_seen_timestamp_seconds{device=\"02:00:00:00:00:02\"} 1000.000\n"),
        std::string::npos) << missed;

    metrics.Round({ { "02:00:00:00:00:01", { &a, true } } }, 1250000000, 1020000000000);
    std::string gone = metrics.Text();
    EXPECT_NE(gone.find("orbisk_device_up{device=\"02:00:00:00:00:01\"} 1\n"), std::string::npos) << gone;
    EXPECT_NE(gone.find("orbisk_device_up{device=\"02:00:00:00:00:02\"} 0\n"), std::string::npos) << gone;
    EXPECT_NE(gone.find("orbisk_device_info{device=\"02:00:00:00:00:02\",mac=\"02:00:00:00:00:02\",hostname=\"beta\","
                        "address=\"198.18.0.20\",version=\"1.0.0\",netmask=\"255.255.255.0\",gateway=\"198.18.0.1\","
                        "mode=\"static\",interface=\"eth0\"} 1\n"),
        std::string::npos) << gone;
    EXPECT_NE(gone.find("orbisk_watch_round_duration_seconds 1.250\n"), std::string::npos) << gone;
    EXPECT_NE(gone.find("orbisk_watch_last_round_timestamp_seconds 1020.000\n"), std::string::npos) << gone;
    EXPECT_NE(gone.find("orbisk_watch_rounds_total 3\n"), std::string::npos) << gone;
}

// The file lands whole, readable by the collector's user; through a link the
// link's target is replaced; a failure leaves no temporary file behind.
TEST(PromTextfile, ReplacedWholeFollowingALinkAndNothingLeftOnFailure)
{
    CScratchDir dir;
    std::filesystem::create_directory(dir.Path("drop"));
    std::filesystem::create_directory(dir.Path("run"));
    std::string file = dir.Path("drop/orbisk.prom");
    ASSERT_TRUE(WriteTextfile(file, "first 1\n").Ok());
    ASSERT_TRUE(WriteTextfile(file, "second 1\n").Ok());
    EXPECT_EQ(ReadFile(file), "second 1\n");
    struct stat st {};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);

    ASSERT_EQ(symlink("../run/orbisk.prom", dir.Path("drop/linked.prom").c_str()), 0);
    ASSERT_TRUE(WriteTextfile(dir.Path("drop/linked.prom"), "linked 1\n").Ok());
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("drop/linked.prom")));
    EXPECT_EQ(ReadFile(dir.Path("run/orbisk.prom")), "linked 1\n");

    // A directory where the file should be: the rename fails after the write.
    std::filesystem::create_directory(dir.Path("drop/in-the-way.prom"));
    Status status = WriteTextfile(dir.Path("drop/in-the-way.prom"), "lost 1\n");
    EXPECT_FALSE(status.Ok());
    EXPECT_NE(status.Message().find("could not write " + dir.Path("drop/in-the-way.prom")), std::string::npos)
        << status.Message();
    EXPECT_EQ(Entries(dir.Path("drop")), (std::vector<std::string> { "in-the-way.prom", "linked.prom", "orbisk.prom" }));
    EXPECT_FALSE(CheckTextfile(dir.Path("missing/orbisk.prom")).Ok());
    EXPECT_TRUE(CheckTextfile(file).Ok());
    EXPECT_EQ(Entries(dir.Path("drop")), (std::vector<std::string> { "in-the-way.prom", "linked.prom", "orbisk.prom" }));
}

// Host names of any bytes a reply can carry (98 of them here: quotes,
// backslashes, line breaks, bytes that are not UTF-8), in every label: the
// real promtool reads the file without a complaint.
TEST(PromTextfile, HostileNamesPassPromtool)
{
    if (access(ORBISK_PROMTOOL, X_OK) != 0) {
        if (vlan::RequiredByCi())
            FAIL() << "no " ORBISK_PROMTOOL ": run scripts/fetch_prometheus_tools.sh";
        GTEST_SKIP() << "no " ORBISK_PROMTOOL;
    }
    std::string hostile;
    for (int i = 0; hostile.size() < 98; ++i)
        hostile += std::string("\"\\\n\r\x01\xff\xC3\xA9}{,=#") [i % 13];
    ASSERT_EQ(hostile.size(), 98u);
    CliDevice a = Device("02:00:00:00:00:01", hostile);
    a.reply.version = "1.0\"\n";
    a.interfaceName = "eth\\0";
    CliDevice b = Device("", "\n# TYPE orbisk_device_up counter\n");
    b.reply.sender = "198.18.0.21";
    CWatchMetrics metrics;
    metrics.Round({ { "02:00:00:00:00:01", { &a, true } }, { "198.18.0.21", { &b, true } } }, 1500000000,
        1000000000000);
    metrics.Round({ { "02:00:00:00:00:01", { &a, true } } }, 1500000000, 1010000000000);
    CScratchDir dir;
    std::string file = dir.Path("orbisk.prom");
    ASSERT_TRUE(WriteTextfile(file, metrics.Text()).Ok());
    std::string output;
    EXPECT_EQ(PromtoolCheck(file, output), 0) << output << ReadFile(file);
    EXPECT_EQ(output, "") << ReadFile(file);
    // One line per sample and per HELP and TYPE: no value broke a line.
    std::string text = ReadFile(file);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7 * 2 + 3 * 2 + 4);
}

} // namespace
