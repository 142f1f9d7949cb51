#include "devsim_process.h"

#include "devsim_options.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <thread>

namespace {

enum class ChildState { Running, Ended, Collected };

// Looks without collecting, so that VirtualLan::Stop still gets the status.
// A child that VirtualLan::TearDown killed is collected already.
ChildState StateOf(pid_t pid)
{
    siginfo_t info {};
    if (waitid(P_PID, pid, &info, WEXITED | WNOHANG | WNOWAIT) != 0)
        return ChildState::Collected;
    return info.si_pid == pid ? ChildState::Ended : ChildState::Running;
}

bool ParseLogLine(const std::string& line, LoggedDatagram& d)
{
    char source[64] = {}, destination[64] = {};
    int hexAt = 0;
    if (std::sscanf(line.c_str(), "src=%63[^:]:%d dst=%63s len=%zu hex=%n", source, &d.sourcePort, destination,
            &d.length, &hexAt) != 4 || hexAt == 0)
        return false;
    d.source = source;
    d.destination = destination;
    Result<std::string> bytes = DecodeBytes("hex:" + line.substr(static_cast<size_t>(hexAt)));
    d.bytes = bytes.Ok() ? *bytes : std::string();
    return bytes.Ok();
}

} // namespace

void PrintTo(const LoggedDatagram& d, std::ostream* out)
{
    *out << "src=" << d.source << ":" << d.sourcePort << " dst=" << d.destination << " len=" << d.length
         << " hex=" << ToHex(d.bytes);
}

CDevsimProcess::~CDevsimProcess()
{
    if (m_pid > 0 && StateOf(m_pid) != ChildState::Collected)
        Stop();
}

bool CDevsimProcess::Start(const vlan::Host& host, const std::vector<std::string>& args,
    std::chrono::milliseconds timeout)
{
    std::vector<std::string> argv { DevsimPath(), "--log", m_dir.Path("received.log") };
    argv.insert(argv.end(), args.begin(), args.end());
    m_failure.clear();
    Result<pid_t> pid = m_lan.Spawn(host, argv, m_dir.Path("output.log"));
    if (!pid.Ok()) {
        m_failure = "orbisk-devsim could not be started: " + pid.Failure().Message();
        return false;
    }
    m_pid = *pid;
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (Output().find("listening on UDP port") == std::string::npos) {
        if (Ended()) {
            m_failure = "orbisk-devsim ended before it listened: " + Output();
            return false;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            m_failure = "orbisk-devsim did not listen within " + std::to_string(timeout.count()) + " ms: " + Output();
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

int CDevsimProcess::Stop()
{
    if (m_pid <= 0)
        return -1;
    Result<int> status = m_lan.Stop(m_pid);
    m_pid = -1;
    return status.Ok() ? *status : -1;
}

bool CDevsimProcess::Ended() const
{
    return m_pid > 0 && StateOf(m_pid) != ChildState::Running;
}

std::string CDevsimProcess::Output() const
{
    return ReadFile(m_dir.Path("output.log"));
}

std::vector<LoggedDatagram> CDevsimProcess::Received() const
{
    std::vector<LoggedDatagram> received;
    std::string log = ReadFile(m_dir.Path("received.log"));
    // A last line without its line end is still being written.
    for (size_t at = 0, end; (end = log.find('\n', at)) != std::string::npos; at = end + 1) {
        std::string line = log.substr(at, end - at);
        LoggedDatagram d;
        if (ParseLogLine(line, d))
            received.push_back(d);
        else
            ADD_FAILURE() << "not a log line of orbisk-devsim: " << line;
    }
    return received;
}

std::vector<LoggedDatagram> CDevsimProcess::ReceivedAtLeast(size_t count, std::chrono::milliseconds timeout) const
{
    auto deadline = std::chrono::steady_clock::now() + timeout;
    std::vector<LoggedDatagram> received = Received();
    while (received.size() < count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        received = Received();
    }
    return received;
}

const char* DevsimPath()
{
    return ORBISK_DEVSIM_PATH;
}
