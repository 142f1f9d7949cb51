#pragma once

// The operator's side of a virtual LAN for the operation tests: the test
// process enters the operator host (198.18.0.10) before it opens any socket,
// device hosts run orbisk-devsim, and a loopback sender lets a test put
// datagrams on the listener's port between ticks.

#include "devsim_process.h"
#include "virtual_lan.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

inline constexpr char kOperatorAddress[] = "198.18.0.10";

class TestMainWindow;

class OpsLanTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A device host at 198.18.0.<octet>, with extra /32 addresses when asked.
    vlan::Host& AddDeviceHost(int octet, int extraAddresses = 0);
    // `count` devices played by one simulator on a host of their own, each
    // at its own address from 198.18.4.1 on (beyond one /24).
    CDevsimProcess& StartManyDevices(int count, std::vector<std::string> args = {});
    // Starts the simulator on the host and waits until it listens. Its
    // devices answer at once unless a delay is given.
    CDevsimProcess& StartSimulator(vlan::Host& host, std::vector<std::string> args, int replyDelayMs = 0);

    vlan::VirtualLan m_lan;
    vlan::Host* m_op = nullptr;
    std::deque<CDevsimProcess> m_sims; // deque: the references handed out stay valid
    int m_nManyAddresses = 0;          // taken by StartManyDevices so far
};

// Tests that need no device: a private namespace with loopback only, where a
// broadcast has no route.
class PrivateNetTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// The receive queue an ordinary user gets (SO_RCVBUF capped by
// net.core.rmem_max), imposed on the listener the scan opens while the
// object lives: the tests run as root, who gets far more.
class CImposedReceiveQueue {
public:
    explicit CImposedReceiveQueue(int bytes);
    ~CImposedReceiveQueue();
    // The queue the kernel gives a socket, as it reports it.
    static int Of(int handle);
};

// How many of the logged datagrams are exactly these bytes.
size_t CountOf(const std::vector<LoggedDatagram>& received, const std::string& bytes);
// The first that is no discovery request: a scan sends several before it.
std::optional<LoggedDatagram> FirstOtherThanDiscovery(const std::vector<LoggedDatagram>& received);

// Datagrams to the listener's port from a local socket (127.0.0.1:10001).
void Inject(const std::string& bytes, int count = 1);
// Bytes that are no reply of the protocol: a poll reads them as nothing.
inline constexpr char kJunk[] = "x";

// Whether a datagram waits on the listener, after up to ms milliseconds.
bool ListenerHasPending(int ms = 0);
bool ListenerOpen();

// Ticks the scan to its end, one tick after the other or, onTimer, at the
// timer's pace with the socket watched in between, as the window's event
// loop runs it. Once `rows` rows are listed, each later poll finds a junk
// datagram, so that it does not wait. Returns the ticks run.
int TickScanToEnd(TestMainWindow& main, int rows, bool onTimer = false);
