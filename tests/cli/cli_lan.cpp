#include "cli_lan.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>

int OpenNetns(const vlan::Host& host)
{
    return open(("/run/netns/" + host.netns).c_str(), O_RDONLY | O_CLOEXEC);
}

void ExecCliIn(int netns, const std::vector<std::string>& args, const std::string& stateHome)
{
    if (setns(netns, CLONE_NEWNET) != 0)
        _exit(126);
    if (stateHome.empty()) {
        setenv("ORBISK_NO_STATE", "1", 1);
    } else {
        setenv("XDG_STATE_HOME", stateHome.c_str(), 1);
        unsetenv("ORBISK_NO_STATE");
    }
    std::vector<char*> argv { const_cast<char*>(ORBISK_CLI_PATH) };
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
}

bool CCliProcess::Start(const vlan::Host& host, const std::vector<std::string>& args, const std::string& input,
    const std::string& stateHome)
{
    std::ofstream(m_dir.Path("stdin"), std::ios::binary) << input;
    int ns = OpenNetns(host);
    if (ns < 0) {
        m_failure = "no namespace " + host.netns + ": " + std::strerror(errno);
        return false;
    }
    m_pid = fork();
    if (m_pid == 0) {
        int in = open(m_dir.Path("stdin").c_str(), O_RDONLY);
        int out = open(m_dir.Path("stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = open(m_dir.Path("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        ExecCliIn(ns, args, stateHome);
    }
    if (m_pid < 0)
        m_failure = std::string("fork: ") + std::strerror(errno);
    close(ns);
    return m_pid > 0;
}

std::string CCliProcess::OutputSoFar() const
{
    return ReadFile(m_dir.Path("stdout"));
}

CliRun CCliProcess::Wait(int timeoutMs)
{
    CliRun run;
    if (m_pid <= 0) {
        run.err = "orbisk-cli not started: " + m_failure;
        return run;
    }
    Result<int> status = vlan::EndChild(m_pid, std::chrono::milliseconds(timeoutMs));
    m_pid = -1;
    run.status = status.Ok() && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
    run.out = ReadFile(m_dir.Path("stdout"));
    run.err = ReadFile(m_dir.Path("stderr"));
    if (!status.Ok())
        run.err += "\n" + status.Failure().Message();
    return run;
}

CliRun RunCliOn(const vlan::Host& host, const std::vector<std::string>& args, const std::string& input,
    const std::string& stateHome)
{
    CCliProcess process;
    process.Start(host, args, input, stateHome);
    return process.Wait();
}

LoggedDatagram FromOperator(const std::string& bytes, const std::string& destination)
{
    return { "198.18.0.10", 10001, destination, bytes.size(), bytes };
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}
