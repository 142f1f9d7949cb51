#pragma once

// Running orbisk-cli and orbisk-devsim as processes on hosts of the virtual LAN.

#include "virtual_lan.h"

#include <sys/types.h>

#include <string>
#include <vector>

struct CliRun {
    int status = -1;    // exit status, -1 when killed or not run
    std::string out;    // standard output
    std::string err;    // standard error
};

// A scratch directory removed with the object.
class CScratchDir {
public:
    CScratchDir();
    ~CScratchDir();
    std::string Path(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// orbisk-cli started in a host's namespace, standard input from `input`,
// output to files.
class CCliProcess {
public:
    bool Start(const vlan::Host& host, const std::vector<std::string>& args, const std::string& input = "");
    pid_t Pid() const { return m_pid; }
    // Waits for the end (killing it after timeoutMs) and collects its output.
    CliRun Wait(int timeoutMs = 20000);

private:
    CScratchDir m_dir;
    pid_t m_pid = -1;
};

CliRun RunCliOn(const vlan::Host& host, const std::vector<std::string>& args, const std::string& input = "");

// orbisk-devsim on a host, logging every datagram it receives.
class CSimulator {
public:
    CSimulator(vlan::VirtualLan& lan, const vlan::Host& host, std::vector<std::string> args);
    ~CSimulator();
    // True once it listens; false (with its output in Output()) when it did not start.
    bool Ready() const { return m_ready; }
    std::string Output() const;
    // The log's lines: "src=A:PORT dst=A len=N hex=...".
    std::vector<std::string> Received() const;

private:
    vlan::VirtualLan& m_lan;
    CScratchDir m_dir;
    pid_t m_pid = -1;
    bool m_ready = false;
};

// Lower-case hex of bytes, as the simulator logs them.
std::string Hex(const std::string& bytes);

// Reads a whole file; "" when missing.
std::string ReadFile(const std::string& path);

// Lines of text without their line ends.
std::vector<std::string> Lines(const std::string& text);
