#pragma once

// orbisk-devsim run on a host of the virtual LAN, as the tests use it: started
// with a log of every datagram it receives, waited for until it listens, and
// stopped; its log read back as records.

#include "test_files.h"
#include "virtual_lan.h"

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

// One line of the simulator's log: "src=A:PORT dst=A len=N hex=...".
struct LoggedDatagram {
    std::string source;      // the sender's address
    int sourcePort = 0;
    std::string destination; // the address it was sent to, e.g. 255.255.255.255
    size_t length = 0;       // as logged
    std::string bytes;       // exactly as received

    bool operator==(const LoggedDatagram&) const = default;
};

// A discovery request as a device receives it: the four letters and a NUL.
inline const std::string kDiscovery("STSS\0", 5);

// Shown in failures as the log line it came from.
void PrintTo(const LoggedDatagram& datagram, std::ostream* out);

class CDevsimProcess {
public:
    explicit CDevsimProcess(vlan::VirtualLan& lan) : m_lan(lan) {}
    ~CDevsimProcess();
    CDevsimProcess(const CDevsimProcess&) = delete;
    CDevsimProcess& operator=(const CDevsimProcess&) = delete;

    // Runs `orbisk-devsim --log FILE args...` on the host and waits until it
    // listens. False when it ended first or did not listen within the
    // timeout; Failure() then says which, with its output.
    bool Start(const vlan::Host& host, const std::vector<std::string>& args,
        std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // SIGTERM, SIGKILL if it has not ended within 3 s; the status as from
    // waitpid, -1 when it was not started.
    int Stop();

    pid_t Pid() const { return m_pid; }
    // Whether it has ended by itself (Stop still collects its status).
    bool Ended() const;
    const std::string& Failure() const { return m_failure; }
    // Its standard output and error.
    std::string Output() const;
    // The datagrams it has received so far, in order. A line that is not a
    // log line fails the test.
    std::vector<LoggedDatagram> Received() const;
    // The same once at least `count` have come, or after the timeout: a
    // device that did not answer may not have read its request yet.
    std::vector<LoggedDatagram> ReceivedAtLeast(size_t count,
        std::chrono::milliseconds timeout = std::chrono::seconds(2)) const;

private:
    vlan::VirtualLan& m_lan;
    CScratchDir m_dir;
    pid_t m_pid = -1;
    std::string m_failure;
};

// The program itself, for runs without the helper.
const char* DevsimPath();
