#include "cli_lan.h"

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

int OpenNetns(const vlan::Host& host)
{
    return open(("/run/netns/" + host.netns).c_str(), O_RDONLY | O_CLOEXEC);
}

} // namespace

CScratchDir::CScratchDir()
{
    char pattern[] = "/tmp/orbisk-cli-test-XXXXXX";
    if (mkdtemp(pattern) != nullptr)
        m_path = pattern;
}

CScratchDir::~CScratchDir()
{
    std::error_code ignored;
    if (!m_path.empty())
        std::filesystem::remove_all(m_path, ignored);
}

bool CCliProcess::Start(const vlan::Host& host, const std::vector<std::string>& args, const std::string& input)
{
    std::ofstream(m_dir.Path("stdin"), std::ios::binary) << input;
    int ns = OpenNetns(host);
    if (ns < 0)
        return false;
    m_pid = fork();
    if (m_pid == 0) {
        if (setns(ns, CLONE_NEWNET) != 0)
            _exit(126);
        int in = open(m_dir.Path("stdin").c_str(), O_RDONLY);
        int out = open(m_dir.Path("stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = open(m_dir.Path("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        std::vector<char*> argv { const_cast<char*>(ORBISK_CLI_PATH) };
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(ns);
    return m_pid > 0;
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

CliRun RunCliOn(const vlan::Host& host, const std::vector<std::string>& args, const std::string& input)
{
    CCliProcess process;
    if (!process.Start(host, args, input))
        return {};
    return process.Wait();
}

CSimulator::CSimulator(vlan::VirtualLan& lan, const vlan::Host& host, std::vector<std::string> args)
    : m_lan(lan)
{
    std::vector<std::string> argv { ORBISK_DEVSIM_PATH, "--log", m_dir.Path("received.log") };
    argv.insert(argv.end(), args.begin(), args.end());
    m_pid = lan.Spawn(host, argv, m_dir.Path("output.log"));
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (m_pid > 0 && std::chrono::steady_clock::now() < deadline) {
        if (Output().find("listening on UDP port") != std::string::npos) {
            m_ready = true;
            break;
        }
        if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
            m_pid = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

CSimulator::~CSimulator()
{
    if (m_pid > 0)
        m_lan.Stop(m_pid);
}

std::string CSimulator::Output() const
{
    return ReadFile(m_dir.Path("output.log"));
}

std::vector<std::string> CSimulator::Received() const
{
    return Lines(ReadFile(m_dir.Path("received.log")));
}

std::string Hex(const std::string& bytes)
{
    std::string out;
    char two[3];
    for (unsigned char c : bytes) {
        std::snprintf(two, sizeof two, "%02x", c);
        out += two;
    }
    return out;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}
