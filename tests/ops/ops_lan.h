#pragma once

// The operator's side of a virtual LAN for the operation tests: the test
// process enters the operator host (198.18.0.10) before it opens any socket,
// device hosts run orbisk-devsim, and a loopback sender lets a test put
// datagrams on the listener's port between ticks.

#include "devsim_process.h"
#include "virtual_lan.h"

#include <gtest/gtest.h>

#include <deque>
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
    // Starts the simulator on the host and waits until it listens. Its
    // devices answer at once unless a delay is given.
    CDevsimProcess& StartSimulator(vlan::Host& host, std::vector<std::string> args, int replyDelayMs = 0);

    vlan::VirtualLan m_lan;
    vlan::Host* m_op = nullptr;
    std::deque<CDevsimProcess> m_sims; // deque: the references handed out stay valid
};

// Tests that need no device: a private namespace with loopback only, where a
// broadcast has no route.
class PrivateNetTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Datagrams to the listener's port from a local socket (127.0.0.1:10001).
void Inject(const std::string& bytes, int count = 1);
// Bytes that are no reply of the protocol: a poll reads them as nothing.
inline constexpr char kJunk[] = "x";

// Whether a datagram waits on the listener, after up to ms milliseconds.
bool ListenerHasPending(int ms = 0);
bool ListenerOpen();

// Ticks the scan to its end; once `rows` rows are listed, the rest is padded
// so that the remaining polls do not wait. Returns the ticks run.
int TickScanToEnd(TestMainWindow& main, int rows);
