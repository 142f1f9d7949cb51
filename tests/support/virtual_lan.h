#pragma once

// A virtual LAN for tests: hosts in network namespaces of their own, joined by
// veth pairs to a bridge that lives in a namespace of its own, so that nothing
// sent here ever reaches the machine's real network. Needs root.
//
// Every namespace name carries the run's id (ORBISK_VLAN_RUN, when set), this
// process's id and a counter, so two runs never collide. While the LAN lives
// it holds a lock on /run/orbisk-vlan/<tag>.lock; the destructor removes
// everything that was made, and a sweep removes the namespaces of a LAN only
// once it can take that lock, that is once the process that made it is gone.

#include "status.h"

#include <sys/types.h>

#include <chrono>
#include <deque>
#include <string>
#include <vector>

namespace vlan {

struct Host {
    std::string name;        // short name given by the test ("op", "dev0", ...)
    std::string netns;       // the namespace's unique name
    std::string address;     // first address, e.g. "198.18.0.10"
    std::vector<std::string> interfaces; // interface names inside the namespace
};

class VirtualLan {
public:
    VirtualLan();
    ~VirtualLan();
    VirtualLan(const VirtualLan&) = delete;
    VirtualLan& operator=(const VirtualLan&) = delete;

    // False with a reason when the LAN could not be made (not root, no iproute2).
    bool Ok() const { return m_error.empty(); }
    const std::string& Error() const { return m_error; }

    // Adds a segment (a bridge) with the given /24 prefix, e.g. "198.18.1".
    // Segment 0, "198.18.0", exists from the start.
    int AddSegment(const std::string& prefix24);

    // Adds a host with one interface on the segment, address prefix24.hostOctet/24
    // and a default route through that interface (so 255.255.255.255 routes).
    // gatewayOctet > 0 makes the default route go via prefix24.gatewayOctet.
    Host& AddHost(const std::string& name, int segment, int hostOctet, int gatewayOctet = 0);

    // Adds another interface on another segment to an existing host (no route).
    std::string AddInterface(Host& host, int segment, int hostOctet);

    // Extra addresses on a host's first interface (a simulator playing many devices).
    void AddAddresses(Host& host, const std::vector<std::string>& addresses);

    // Turns a host into a router (ip_forward=1).
    void EnableForwarding(Host& host);

    // Moves the calling process into the host's namespace (all later sockets live there).
    bool Enter(const Host& host);

    // Starts argv inside the host's namespace, stdout+stderr to logFile (or /dev/null);
    // its pid (> 0), or why it could not be started, with the errno.
    // The process is killed by Stop or by the destructor.
    Result<pid_t> Spawn(const Host& host, const std::vector<std::string>& argv, const std::string& logFile = "");
    // SIGTERM, wait up to 3 s, SIGKILL if needed; the status as from waitpid.
    // Refuses, signalling nothing, a pid that Spawn did not return or that was
    // stopped already (so never one of 0 or less).
    Result<int> Stop(pid_t pid);
    // Runs argv in the host's namespace to completion; returns its exit code, output captured.
    // Killed after `limit`, which returns -1 with the reason appended to the output.
    int Run(const Host& host, const std::vector<std::string>& argv, std::string* output = nullptr,
            const std::string& input = "", std::chrono::milliseconds limit = std::chrono::seconds(60));

    // Removes everything made (also done by the destructor).
    void TearDown();

    std::deque<Host>& Hosts() { return m_hosts; }

private:
    std::string NewName(const std::string& role);
    bool Ip(const std::vector<std::string>& args);

    std::string m_error;
    std::string m_tag;                  // unique per run
    std::string m_switchNs;             // holds the bridges
    std::vector<std::string> m_segments; // "198.18.0", ...
    std::deque<Host> m_hosts; // deque: references handed out stay valid
    std::vector<std::string> m_namespaces;
    std::vector<pid_t> m_children;
    int m_counter = 0;
    int m_lock = -1;                    // the run's lock file, held while the LAN lives
};

// Removes the namespaces of every LAN whose lock is free: its process is gone
// (a test killed by a timeout cannot clean up). Namespaces of a LAN still
// alive, in this run or another, and namespaces without a lock file are left alone.
void SweepStale();

// Waits up to `limit` for the child `pid` to end, then kills it (SIGKILL) and
// reaps it; `first` (SIGTERM, say; 0 for none) is sent before the wait. The
// status as from waitpid. Refuses, signalling nothing, a pid of 0 or less and
// one that is not an unreaped child of this process.
Result<int> EndChild(pid_t pid, std::chrono::milliseconds limit, int first = 0);

// Moves the calling process into a fresh private namespace with loopback up:
// sockets bound there cannot collide with other tests, and a broadcast from
// there goes nowhere. False with a reason when not permitted.
bool EnterPrivateNetwork(std::string* why = nullptr);

// Whether tests must fail instead of skip when the LAN cannot be made (CI=true).
bool RequiredByCi();

// The address of the i-th of many simulated devices: 198.18.4.1 onwards,
// carrying into the next octet as orbisk-devsim --count does.
std::string ManyDeviceAddress(int i);

} // namespace vlan

// In a gtest body: makes the LAN usable or fails (under CI) / skips (elsewhere).
#define VLAN_REQUIRE(lan)                                                       \
    do {                                                                        \
        if (!(lan).Ok()) {                                                      \
            if (::vlan::RequiredByCi())                                         \
                FAIL() << "virtual LAN unavailable: " << (lan).Error();         \
            GTEST_SKIP() << "virtual LAN unavailable: " << (lan).Error();       \
        }                                                                       \
    } while (0)

#define PRIVATE_NET_REQUIRE()                                                   \
    do {                                                                        \
        std::string why_;                                                       \
        if (!::vlan::EnterPrivateNetwork(&why_)) {                              \
            if (::vlan::RequiredByCi())                                         \
                FAIL() << "private network namespace unavailable: " << why_;    \
            GTEST_SKIP() << "private network namespace unavailable: " << why_;  \
        }                                                                       \
    } while (0)
