#include "virtual_lan.h"

#include <dirent.h>
#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <spawn.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <thread>

namespace vlan {
namespace {

constexpr char kPrefix[] = "obk-";

// Lans alive in this process, so that a crash or a signal still tears them down.
std::set<VirtualLan*>& LiveLans()
{
    static std::set<VirtualLan*> lans;
    return lans;
}

void TearDownAll()
{
    auto lans = LiveLans();
    for (VirtualLan* lan : lans)
        lan->TearDown();
}

void OnFatalSignal(int sig)
{
    TearDownAll();
    signal(sig, SIG_DFL);
    raise(sig);
}

void InstallCleanupOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        LiveLans(); // made before the exit handler is registered, so it outlives it
        std::atexit(TearDownAll);
        for (int sig : { SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGTERM, SIGINT, SIGHUP })
            signal(sig, OnFatalSignal);
    });
}

// Runs argv (no shell) with the given input, output captured; returns the exit
// code or -1. posix_spawn, not fork: forking a large sanitizer-instrumented
// test process for every `ip` call costs seconds per test.
int Exec(const std::vector<std::string>& argv, std::string* output, const std::string& input)
{
    int out[2], in[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return -1;
    if (pipe2(in, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, out[1], 2);
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    if (rc != 0) {
        close(in[1]);
        close(out[0]);
        return -1;
    }
    if (!input.empty()) {
        ssize_t unused = write(in[1], input.data(), input.size());
        (void)unused;
    }
    close(in[1]);
    std::string text;
    char buf[4096];
    ssize_t n;
    while ((n = read(out[0], buf, sizeof buf)) > 0)
        text.append(buf, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    if (output)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int OpenNetns(const std::string& name)
{
    return open(("/run/netns/" + name).c_str(), O_RDONLY | O_CLOEXEC);
}

void KillNetnsProcesses(const std::string& ns)
{
    std::string pids;
    Exec({ "ip", "netns", "pids", ns }, &pids, "");
    size_t pos = 0;
    while (pos < pids.size()) {
        size_t end = pids.find('\n', pos);
        if (end == std::string::npos)
            end = pids.size();
        pid_t pid = static_cast<pid_t>(std::atoi(pids.substr(pos, end - pos).c_str()));
        if (pid > 0 && pid != getpid())
            kill(pid, SIGKILL);
        pos = end + 1;
    }
}

void DeleteNetns(const std::string& ns)
{
    KillNetnsProcesses(ns);
    Exec({ "ip", "netns", "del", ns }, nullptr, "");
}

bool BringLoopbackUp()
{
    int s = socket(AF_INET, SOCK_DGRAM, 0);
    if (s < 0)
        return false;
    ifreq ifr {};
    std::strncpy(ifr.ifr_name, "lo", IFNAMSIZ - 1);
    bool ok = ioctl(s, SIOCGIFFLAGS, &ifr) == 0;
    ifr.ifr_flags |= IFF_UP;
    ok = ok && ioctl(s, SIOCSIFFLAGS, &ifr) == 0;
    close(s);
    return ok;
}

} // namespace

VirtualLan::VirtualLan()
{
    if (geteuid() != 0) {
        m_error = "needs root (ip netns)";
        return;
    }
    if (Exec({ "ip", "-V" }, nullptr, "") != 0) {
        m_error = "iproute2 (ip) not found";
        return;
    }
    SweepStale();
    InstallCleanupOnce();
    LiveLans().insert(this);
    static int runs = 0;
    m_tag = kPrefix + std::to_string(getpid()) + "-" + std::to_string(runs++);
    m_switchNs = NewName("sw");
    if (!Ip({ "netns", "add", m_switchNs }))
        return;
    m_namespaces.push_back(m_switchNs);
    AddSegment("198.18.0");
}

VirtualLan::~VirtualLan()
{
    TearDown();
    LiveLans().erase(this);
}

std::string VirtualLan::NewName(const std::string& role)
{
    return m_tag + "-" + role;
}

bool VirtualLan::Ip(const std::vector<std::string>& args)
{
    if (!m_error.empty())
        return false;
    std::vector<std::string> argv { "ip" };
    argv.insert(argv.end(), args.begin(), args.end());
    std::string out;
    if (Exec(argv, &out, "") != 0) {
        std::string cmd;
        for (const auto& a : argv)
            cmd += a + " ";
        m_error = cmd + ": " + out;
        return false;
    }
    return true;
}

int VirtualLan::AddSegment(const std::string& prefix24)
{
    int index = static_cast<int>(m_segments.size());
    std::string br = "br" + std::to_string(index);
    Ip({ "-n", m_switchNs, "link", "add", br, "type", "bridge" });
    Ip({ "-n", m_switchNs, "link", "set", br, "up" });
    m_segments.push_back(prefix24);
    return index;
}

std::string VirtualLan::AddInterface(Host& host, int segment, int hostOctet)
{
    int n = m_counter++;
    std::string port = "p" + std::to_string(n);
    std::string peer = "h" + std::to_string(n);
    std::string ifname = "eth" + std::to_string(host.interfaces.size());
    std::string address = m_segments.at(static_cast<size_t>(segment)) + "." + std::to_string(hostOctet);
    Ip({ "-n", m_switchNs, "link", "add", port, "type", "veth", "peer", "name", peer });
    Ip({ "-n", m_switchNs, "link", "set", peer, "netns", host.netns });
    Ip({ "-n", host.netns, "link", "set", peer, "name", ifname });
    Ip({ "-n", m_switchNs, "link", "set", port, "master", "br" + std::to_string(segment) });
    Ip({ "-n", m_switchNs, "link", "set", port, "up" });
    Ip({ "-n", host.netns, "addr", "add", address + "/24", "brd", "+", "dev", ifname });
    Ip({ "-n", host.netns, "link", "set", ifname, "up" });
    host.interfaces.push_back(ifname);
    if (host.address.empty())
        host.address = address;
    return ifname;
}

Host& VirtualLan::AddHost(const std::string& name, int segment, int hostOctet, int gatewayOctet)
{
    Host host;
    host.name = name;
    host.netns = NewName(name);
    if (Ip({ "netns", "add", host.netns }))
        m_namespaces.push_back(host.netns);
    Ip({ "-n", host.netns, "link", "set", "lo", "up" });
    AddInterface(host, segment, hostOctet);
    if (gatewayOctet > 0) {
        std::string gw = m_segments.at(static_cast<size_t>(segment)) + "." + std::to_string(gatewayOctet);
        Ip({ "-n", host.netns, "route", "add", "default", "via", gw, "dev", host.interfaces[0] });
    } else {
        // Without a default route the limited broadcast 255.255.255.255 is unroutable.
        Ip({ "-n", host.netns, "route", "add", "default", "dev", host.interfaces[0] });
    }
    m_hosts.push_back(host);
    return m_hosts.back();
}

void VirtualLan::AddAddresses(Host& host, const std::vector<std::string>& addresses)
{
    if (addresses.empty())
        return;
    std::string batch;
    for (const auto& a : addresses)
        batch += "addr add " + a + "/32 dev " + host.interfaces.at(0) + "\n";
    std::string out;
    if (Exec({ "ip", "-n", host.netns, "-batch", "-" }, &out, batch) != 0 && m_error.empty())
        m_error = "adding addresses: " + out;
}

void VirtualLan::EnableForwarding(Host& host)
{
    Ip({ "netns", "exec", host.netns, "sysctl", "-q", "-w", "net.ipv4.ip_forward=1" });
}

bool VirtualLan::Enter(const Host& host)
{
    int fd = OpenNetns(host.netns);
    if (fd < 0)
        return false;
    bool ok = setns(fd, CLONE_NEWNET) == 0;
    close(fd);
    return ok;
}

pid_t VirtualLan::Spawn(const Host& host, const std::vector<std::string>& argv, const std::string& logFile)
{
    // `ip netns exec` enters the namespace and execs the program in place, so
    // the pid returned is the program's own.
    std::vector<std::string> full { "ip", "netns", "exec", host.netns };
    full.insert(full.end(), argv.begin(), argv.end());
    std::vector<char*> args;
    for (const auto& a : full)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, logFile.empty() ? "/dev/null" : logFile.c_str(),
        O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attr, 0);
    pid_t pid = -1;
    if (posix_spawnp(&pid, args[0], &actions, &attr, args.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (pid > 0)
        m_children.push_back(pid);
    return pid;
}

int VirtualLan::Stop(pid_t pid)
{
    m_children.erase(std::remove(m_children.begin(), m_children.end(), pid), m_children.end());
    kill(pid, SIGTERM);
    int status = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (std::chrono::steady_clock::now() < deadline) {
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid || r < 0)
            return status;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return status;
}

int VirtualLan::Run(const Host& host, const std::vector<std::string>& argv, std::string* output, const std::string& input)
{
    std::vector<std::string> full { "ip", "netns", "exec", host.netns };
    full.insert(full.end(), argv.begin(), argv.end());
    return Exec(full, output, input);
}

void VirtualLan::TearDown()
{
    for (pid_t pid : m_children) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    m_children.clear();
    for (auto it = m_namespaces.rbegin(); it != m_namespaces.rend(); ++it)
        DeleteNetns(*it);
    m_namespaces.clear();
}

void SweepStale()
{
    DIR* dir = opendir("/run/netns");
    if (!dir)
        return;
    std::vector<std::string> stale;
    while (dirent* e = readdir(dir)) {
        std::string name = e->d_name;
        if (name.rfind(kPrefix, 0) != 0)
            continue;
        pid_t owner = static_cast<pid_t>(std::atoi(name.c_str() + std::strlen(kPrefix)));
        if (owner > 0 && owner != getpid() && kill(owner, 0) != 0 && errno == ESRCH)
            stale.push_back(name);
    }
    closedir(dir);
    for (const auto& ns : stale)
        DeleteNetns(ns);
}

bool EnterPrivateNetwork(std::string* why)
{
    if (unshare(CLONE_NEWNET) != 0) {
        if (why)
            *why = std::string("unshare(CLONE_NEWNET): ") + std::strerror(errno);
        return false;
    }
    if (!BringLoopbackUp()) {
        if (why)
            *why = "cannot bring loopback up";
        return false;
    }
    return true;
}

bool RequiredByCi()
{
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::string(ci) == "true";
}

} // namespace vlan
