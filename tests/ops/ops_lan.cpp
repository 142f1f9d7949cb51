#include "ops_lan.h"

#include "listener.h"
#include "operations.h"
#include "udp_socket.h"
#include "wire_ports.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

CUdpSocket g_injector;

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string FromHex(const std::string& hex)
{
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

// What a test must not carry over into the next one run in the same process.
void ResetProcessState()
{
    CloseListener();
    g_injector.Close();
    SelectedDevice = {};
}

} // namespace

void OpsLanTest::SetUp()
{
    ResetProcessState();
    VLAN_REQUIRE(m_lan);
    m_op = &m_lan.AddHost("op", 0, 10);
    ASSERT_TRUE(m_lan.Ok()) << m_lan.Error();
    ASSERT_TRUE(m_lan.Enter(*m_op));
    char dir[] = "/tmp/orbisk-ops-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    m_dir = dir;
}

void OpsLanTest::TearDown()
{
    ResetProcessState();
    m_lan.TearDown();
    if (!m_dir.empty())
        std::filesystem::remove_all(m_dir);
}

vlan::Host& OpsLanTest::AddDeviceHost(int octet, int extraAddresses)
{
    vlan::Host& host = m_lan.AddHost("dev" + std::to_string(octet), 0, octet);
    std::vector<std::string> extra;
    for (int i = 1; i <= extraAddresses; ++i)
        extra.push_back("198.18.0." + std::to_string(octet + i));
    m_lan.AddAddresses(host, extra);
    EXPECT_TRUE(m_lan.Ok()) << m_lan.Error();
    return host;
}

Simulator OpsLanTest::StartSimulator(vlan::Host& host, std::vector<std::string> args, int replyDelayMs)
{
    Simulator sim;
    sim.logFile = m_dir + "/" + host.name + ".log";
    sim.outputFile = m_dir + "/" + host.name + ".out";
    std::vector<std::string> argv { ORBISK_DEVSIM, "--log", sim.logFile, "--reply-delay",
        std::to_string(replyDelayMs) };
    argv.insert(argv.end(), args.begin(), args.end());
    sim.pid = m_lan.Spawn(host, argv, sim.outputFile);
    EXPECT_GT(sim.pid, 0);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (ReadFile(sim.outputFile).find("listening on UDP port") == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline) {
            ADD_FAILURE() << "simulator did not start: " << ReadFile(sim.outputFile);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return sim;
}

std::vector<LoggedDatagram> OpsLanTest::Received(const Simulator& sim)
{
    std::vector<LoggedDatagram> datagrams;
    std::istringstream lines(ReadFile(sim.logFile));
    for (std::string line; std::getline(lines, line);) {
        LoggedDatagram d;
        size_t src = line.find("src=");
        size_t hex = line.find("hex=");
        if (src == std::string::npos || hex == std::string::npos)
            continue;
        d.source = line.substr(src + 4, line.find(' ', src) - src - 4);
        d.bytes = FromHex(line.substr(hex + 4));
        datagrams.push_back(d);
    }
    return datagrams;
}

void PrivateNetTest::SetUp()
{
    ResetProcessState();
    PRIVATE_NET_REQUIRE();
}

void PrivateNetTest::TearDown()
{
    ResetProcessState();
}

void Inject(const std::string& bytes, int count)
{
    if (g_injector.m_hRawSocket == -1)
        g_injector.Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET);
    CSockAddr to("127.0.0.1", kToolPort);
    for (int i = 0; i < count; ++i)
        g_injector.SendTo(bytes.data(), static_cast<int>(bytes.size()), to, 0);
}

bool ListenerHasPending(int ms)
{
    return g_listener.m_hRawSocket != -1 && WaitReadable(g_listener.m_hRawSocket, ms) > 0;
}

bool ListenerOpen()
{
    return g_listener.m_hRawSocket != -1;
}
