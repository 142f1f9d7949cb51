#include "ops_lan.h"
#include "test_windows.h"

#include "tool_port.h"
#include "operations.h"
#include "udp_socket.h"
#include "wire_ports.h"

#include <sys/socket.h>

#include <algorithm>
#include <cstdlib>

namespace {

CUdpSocket g_injector;

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
}

void OpsLanTest::TearDown()
{
    ResetProcessState();
    m_sims.clear();
    m_lan.TearDown();
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

CDevsimProcess& OpsLanTest::StartManyDevices(int count, std::vector<std::string> args)
{
    const int first = m_nManyAddresses;
    vlan::Host& host = m_lan.AddHost("many" + std::to_string(m_nManyAddresses), 0, 200 + static_cast<int>(m_sims.size()));
    std::vector<std::string> addresses;
    for (int i = 0; i < count; ++i)
        addresses.push_back(vlan::ManyDeviceAddress(first + i));
    m_nManyAddresses += count;
    m_lan.AddAddresses(host, addresses);
    EXPECT_TRUE(m_lan.Ok()) << m_lan.Error();
    args.insert(args.begin(), { "--address", vlan::ManyDeviceAddress(first), "--count", std::to_string(count) });
    return StartSimulator(host, args);
}

CDevsimProcess& OpsLanTest::StartSimulator(vlan::Host& host, std::vector<std::string> args, int replyDelayMs)
{
    args.insert(args.begin(), { "--reply-delay", std::to_string(replyDelayMs) });
    CDevsimProcess& sim = m_sims.emplace_back(m_lan);
    EXPECT_TRUE(sim.Start(host, args)) << sim.Failure();
    return sim;
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

CImposedReceiveQueue::CImposedReceiveQueue(int bytes)
{
    setenv("ORBISK_RECEIVE_QUEUE", std::to_string(bytes).c_str(), 1);
}

CImposedReceiveQueue::~CImposedReceiveQueue()
{
    unsetenv("ORBISK_RECEIVE_QUEUE");
}

int CImposedReceiveQueue::Of(int handle)
{
    int size = 0;
    socklen_t length = sizeof size;
    return getsockopt(handle, SOL_SOCKET, SO_RCVBUF, &size, &length) == 0 ? size : -1;
}

size_t CountOf(const std::vector<LoggedDatagram>& received, const std::string& bytes)
{
    return static_cast<size_t>(std::count_if(received.begin(), received.end(),
        [&](const LoggedDatagram& d) { return d.bytes == bytes; }));
}

std::optional<LoggedDatagram> FirstOtherThanDiscovery(const std::vector<LoggedDatagram>& received)
{
    for (const LoggedDatagram& d : received) {
        if (d.bytes != kDiscovery)
            return d;
    }
    return std::nullopt;
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

int TickScanToEnd(TestMainWindow& main, int rows, bool onTimer)
{
    auto pad = [&](int) {
        if (main.Rows() >= rows)
            Inject(kJunk); // the poll takes it at once instead of waiting
    };
    return onTimer ? main.TickOnTimerUntilIdle(pad) : main.TickUntilIdle(pad);
}
