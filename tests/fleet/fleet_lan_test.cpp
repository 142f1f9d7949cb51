// orbisk-cli on the virtual LAN with the programs a fleet runs beside it: the
// real node exporter serving watch --textfile's metrics, and Ansible reading
// the shipped inventory script. Both run inside the LAN's namespaces only.

#include "cli_lan.h"
#include "lan_test.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <thread>

#include <gtest/gtest.h>

namespace {

using vlan::Host;

const std::string kMacA = "02:00:00:00:00:0a";
const std::string kMacB = "02:00:00:00:00:0b";
const std::string kInventory = ORBISK_SOURCE_DIR "/packaging/fleet/orbisk-inventory";

// A program the test needs: fails under CI when it is missing, skips elsewhere.
#define TOOL_REQUIRE(path)                                                       \
    do {                                                                         \
        if (access((path), X_OK) != 0) {                                         \
            if (::vlan::RequiredByCi())                                          \
                FAIL() << "no " << (path) << " (make prometheus-tools, ansible-core)"; \
            GTEST_SKIP() << "no " << (path);                                     \
        }                                                                        \
    } while (0)

// GET of a path on 127.0.0.1 of the calling process's namespace; "" when
// nothing answers. Each read and write waits 2 s at most.
std::string HttpGet(int port, const std::string& path)
{
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return "";
    timeval limit { 2, 0 };
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    sockaddr_in to {};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string response;
    if (connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0) {
        std::string request = "GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
        if (send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size())) {
            char buffer[8192];
            while (ssize_t n = recv(fd, buffer, sizeof buffer, 0)) {
                if (n < 0)
                    break;
                response.append(buffer, static_cast<size_t>(n));
            }
        }
    }
    close(fd);
    return response;
}

// Polls until `done` holds, 15 s at most; whether it did.
bool Await(const std::function<bool()>& done)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

// The lines of a scrape that begin with `prefix`.
std::string LinesWith(const std::string& text, const std::string& prefix)
{
    std::string picked;
    for (const std::string& line : Lines(text))
        if (line.rfind(prefix, 0) == 0)
            picked += line + "\n";
    return picked;
}

class Fleet : public LanTest {
protected:
    void SetUpLan() override
    {
        devA = &lan.AddHost("devA", 0, 20);
        devB = &lan.AddHost("devB", 0, 21);
        devC = &lan.AddHost("devC", 0, 22);
    }

    Host* devA = nullptr;
    Host* devB = nullptr;
    Host* devC = nullptr;
    CScratchDir state;
};

// The node exporter, on the operator host's loopback, reads the directory the
// watch writes into: both devices up; one stops answering and goes to 0,
// still listed, while the other stays 1; the exporter read the file cleanly.
TEST_F(Fleet, NodeExporterServesTheWatchDevicesUpThenGone)
{
    TOOL_REQUIRE(ORBISK_NODE_EXPORTER);
    CScratchDir textfiles;
    std::string directory = textfiles.Path("node-exporter");
    ASSERT_EQ(mkdir(directory.c_str(), 0755), 0);
    Result<pid_t> exporter = lan.Spawn(*op,
        { ORBISK_NODE_EXPORTER, "--web.listen-address=127.0.0.1:9100", "--collector.disable-defaults",
            "--collector.textfile", "--collector.textfile.directory=" + directory },
        textfiles.Path("exporter.log"));
    ASSERT_TRUE(exporter.Ok()) << exporter.Failure().Message();

    CDevsimProcess a(lan), b(lan);
    ASSERT_TRUE(a.Start(*devA, { "--hostname", "alpha", "--mac", kMacA })) << a.Failure();
    ASSERT_TRUE(b.Start(*devB, { "--hostname", "beta", "--mac", kMacB })) << b.Failure();
    CCliProcess watch;
    ASSERT_TRUE(watch.Start(*op,
        { "watch", "--interval", "0.5", "--misses", "2", "--textfile", directory + "/orbisk.prom" }, "",
        state.Path("")));

    ASSERT_TRUE(lan.Enter(*op));
    std::string scrape;
    auto scraped = [&](const std::vector<std::string>& parts) {
        return Await([&] {
            scrape = HttpGet(9100, "/metrics");
            for (const std::string& part : parts)
                if (!Has(scrape, part))
                    return false;
            return true;
        });
    };
    ASSERT_TRUE(scraped({ "orbisk_device_up{device=\"" + kMacA + "\"} 1", "orbisk_device_up{device=\"" + kMacB + "\"} 1",
        "orbisk_watch_devices 2" }))
        << scrape << ReadFile(textfiles.Path("exporter.log")) << watch.OutputSoFar();
    EXPECT_TRUE(Has(scrape, "orbisk_device_info{address=\"198.18.0.21\",device=\"" + kMacB
        + "\",gateway=\"198.18.0.1\",hostname=\"beta\",interface=\"eth0\",mac=\"" + kMacB
        + "\",mode=\"static\",netmask=\"255.255.255.0\",version=\"1.0.0\"} 1")) << scrape;

    EXPECT_EQ(b.Stop(), 0);
    ASSERT_TRUE(scraped({ "orbisk_device_up{device=\"" + kMacA + "\"} 1", "orbisk_device_up{device=\"" + kMacB + "\"} 0",
        "orbisk_watch_devices 1", "node_textfile_scrape_error 0" }))
        << scrape << watch.OutputSoFar();
    EXPECT_TRUE(Has(scrape, "hostname=\"beta\"")) << scrape;
    std::printf("%s", LinesWith(scrape, "orbisk_").c_str());
    if (access(ORBISK_PROMTOOL, X_OK) == 0 || vlan::RequiredByCi()) {
        std::string file = ReadFile(directory + "/orbisk.prom"), output;
        EXPECT_EQ(lan.Run(*op, { ORBISK_PROMTOOL, "check", "metrics" }, &output, file), 0) << output << file;
        EXPECT_EQ(output, "") << file;
    }

    ASSERT_GT(watch.Pid(), 0);
    kill(watch.Pid(), SIGTERM);
    CliRun run = watch.Wait(5000);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Has(run.out, " gone " + kMacB + " ")) << run.out;
    EXPECT_TRUE(lan.Stop(*exporter).Ok());
}

// A textfile directory that cannot be written: said at once, status 7,
// nothing sent and nothing left there.
TEST_F(Fleet, UnwritableTextfileDirectoryEndsWithStatus7)
{
    CDevsimProcess a(lan);
    ASSERT_TRUE(a.Start(*devA, { "--hostname", "alpha", "--mac", kMacA })) << a.Failure();
    CScratchDir dir;
    std::string notADirectory = dir.Path("file");
    ASSERT_TRUE(static_cast<bool>(std::ofstream(notADirectory)));
    CliRun run = RunCliOn(*op, { "watch", "--count", "1", "--textfile", notADirectory + "/orbisk.prom" });
    EXPECT_EQ(run.status, 7);
    EXPECT_EQ(run.err, "orbisk-cli watch: cannot write " + notADirectory + "/orbisk.prom: Not a directory\n");
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(a.Received().empty());
}

// A device's host name as hostile as a reply carries it, written by the
// watch itself and read by the real promtool.
TEST_F(Fleet, HostileHostNameFromTheWireStaysOneLabel)
{
    TOOL_REQUIRE(ORBISK_PROMTOOL);
    CDevsimProcess a(lan);
    ASSERT_TRUE(a.Start(*devA, { "--hostname", "q\"b\\s\nl\xff\xfe" "e\xC3\xA9}", "--mac", kMacA })) << a.Failure();
    CScratchDir dir;
    CliRun run = RunCliOn(*op, { "watch", "--interval", "0.2", "--count", "2", "--textfile", dir.Path("orbisk.prom") });
    ASSERT_EQ(run.status, 0) << run.err;
    std::string text = ReadFile(dir.Path("orbisk.prom"));
    EXPECT_TRUE(Has(text, "hostname=\"q\\\"b\\\\s\\nl\xEF\xBF\xBD\xEF\xBF\xBD" "e\xC3\xA9}\"")) << text;
    std::string output;
    EXPECT_EQ(lan.Run(*op, { ORBISK_PROMTOOL, "check", "metrics" }, &output, text), 0) << output;
    EXPECT_EQ(output, "");
}

// Three remembered devices, two of one host name: Ansible lists each once,
// grouped by port and version, with its address to connect to; with
// ORBISK_INVENTORY_SCAN=1 the script scans instead and finds the same.
TEST_F(Fleet, AnsibleListsRememberedDevices)
{
    TOOL_REQUIRE("/usr/bin/ansible-inventory");
    CDevsimProcess a(lan), b(lan), c(lan);
    ASSERT_TRUE(a.Start(*devA, { "--hostname", "nas.home", "--mac", kMacA })) << a.Failure();
    ASSERT_TRUE(b.Start(*devB, { "--hostname", "nas.home", "--mac", kMacB })) << b.Failure();
    ASSERT_TRUE(c.Start(*devC, { "--hostname", "", "--mac", "02:00:00:00:00:0c", "--firmware", "2.1.0" }))
        << c.Failure();
    ASSERT_EQ(RunCliOn(*op, { "scan", "--timeout", "400" }, "", state.Path("")).status, 0);

    std::string cliDirectory = ORBISK_CLI_PATH;
    cliDirectory.erase(cliDirectory.rfind('/'));
    CScratchDir home, emptyState;
    auto inventory = [&](const std::vector<std::string>& args, const std::string& stateHome, bool scan) {
        std::vector<std::string> argv { "env", "HOME=" + home.Path(""), "XDG_STATE_HOME=" + stateHome,
            "PATH=" + cliDirectory + ":/usr/bin:/bin", "ORBISK_INVENTORY_SCAN=" + std::string(scan ? "1" : "0"),
            "ANSIBLE_LOCAL_TEMP=" + home.Path("tmp"), "ANSIBLE_INVENTORY_UNPARSED_FAILED=true",
            "ansible-inventory", "-i", kInventory };
        argv.insert(argv.end(), args.begin(), args.end());
        std::string output;
        int status = lan.Run(*op, argv, &output);
        EXPECT_EQ(status, 0) << output;
        return output;
    };

    std::string graph = inventory({ "--graph" }, state.Path(""), false);
    EXPECT_TRUE(Has(graph, "  |--@orbisk:\n"
                           "  |  |--nas_home\n"
                           "  |  |--nas_home-2\n"
                           "  |  |--nas-02000000000c\n")) << graph;
    EXPECT_TRUE(Has(graph, "  |--@orbisk_if_eth0:\n"
                           "  |  |--nas_home\n"
                           "  |  |--nas_home-2\n"
                           "  |  |--nas-02000000000c\n")) << graph;
    EXPECT_TRUE(Has(graph, "  |--@orbisk_v1_0_0:\n"
                           "  |  |--nas_home\n"
                           "  |  |--nas_home-2\n")) << graph;
    EXPECT_TRUE(Has(graph, "  |--@orbisk_v2_1_0:\n"
                           "  |  |--nas-02000000000c\n")) << graph;

    // The second of the name is the one with the higher MAC, whoever answered last.
    std::string second = inventory({ "--host", "nas_home-2" }, state.Path(""), false);
    EXPECT_TRUE(Has(second, "\"ansible_host\": \"198.18.0.21\"")) << second;
    EXPECT_TRUE(Has(second, "\"orbisk_mac\": \"" + kMacB + "\"")) << second;
    EXPECT_TRUE(Has(second, "\"orbisk_gateway\": \"198.18.0.1\"")) << second;
    EXPECT_TRUE(Has(second, "\"orbisk_mode\": \"static\"")) << second;
    EXPECT_TRUE(Has(second, "\"orbisk_netmask\": \"255.255.255.0\"")) << second;
    EXPECT_TRUE(Has(second, "\"orbisk_version\": \"1.0.0\"")) << second;

    std::string list = inventory({ "--list" }, state.Path(""), false);
    std::printf("%s", list.c_str());
    EXPECT_TRUE(Has(list, "\"ansible_host\": \"198.18.0.22\"")) << list;

    std::string nothing = inventory({ "--graph" }, emptyState.Path(""), false);
    EXPECT_FALSE(Has(nothing, "nas_home")) << nothing;
    std::string scanned = inventory({ "--graph" }, emptyState.Path(""), true);
    EXPECT_TRUE(Has(scanned, "  |--@orbisk:\n"
                             "  |  |--nas_home\n"
                             "  |  |--nas_home-2\n"
                             "  |  |--nas-02000000000c\n")) << scanned;
}

} // namespace
