#include "cli_lan.h"

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

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
    if (ns < 0)
        return false;
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
    if (m_pid <= 0)
        return run;
    int status = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (waitpid(m_pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    m_pid = -1;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFile(m_dir.Path("stdout"));
    run.err = ReadFile(m_dir.Path("stderr"));
    return run;
}

CliRun RunCliOn(const vlan::Host& host, const std::vector<std::string>& args, const std::string& input,
    const std::string& stateHome)
{
    CCliProcess process;
    if (!process.Start(host, args, input, stateHome))
        return {};
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
