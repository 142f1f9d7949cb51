#pragma once

// Running orbisk-cli as a process on hosts of the virtual LAN, against
// orbisk-devsim (devsim_process.h).

#include "devsim_options.h"
#include "devsim_process.h"
#include "test_files.h"
#include "virtual_lan.h"

#include <sys/types.h>

#include <string>
#include <vector>

struct CliRun {
    int status = -1;    // exit status, -1 when killed or not run
    std::string out;    // standard output
    std::string err;    // standard error
};

// orbisk-cli started in a host's namespace, standard input from `input`,
// output to files. It remembers devices in stateHome's orbisk/ (its
// XDG_STATE_HOME); with none given it remembers nothing (ORBISK_NO_STATE),
// so no test writes to the real home directory.
class CCliProcess {
public:
    bool Start(const vlan::Host& host, const std::vector<std::string>& args, const std::string& input = "",
        const std::string& stateHome = "");
    pid_t Pid() const { return m_pid; }
    // Standard output so far, while it runs.
    std::string OutputSoFar() const;
    // Waits for the end (killing it after timeoutMs) and collects its output;
    // when it could not be started, status -1 and the reason in err.
    CliRun Wait(int timeoutMs = 20000);

private:
    CScratchDir m_dir;
    pid_t m_pid = -1;
    std::string m_failure;
};

CliRun RunCliOn(const vlan::Host& host, const std::vector<std::string>& args, const std::string& input = "",
    const std::string& stateHome = "");

// The host's network namespace, opened for setns; -1 when it is gone.
int OpenNetns(const vlan::Host& host);
// In a forked child: enters the namespace and becomes orbisk-cli with args,
// remembering devices as CCliProcess says.
[[noreturn]] void ExecCliIn(int netns, const std::vector<std::string>& args, const std::string& stateHome = "");

// A datagram as the simulator logs it when the operator host (198.18.0.10)
// sent it from the tool's port.
LoggedDatagram FromOperator(const std::string& bytes, const std::string& destination = "255.255.255.255");

inline bool Has(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// Lines of text without their line ends.
std::vector<std::string> Lines(const std::string& text);
