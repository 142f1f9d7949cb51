#include "virtual_lan.h"

#include <dirent.h>
#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <spawn.h>
#include <signal.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
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
constexpr char kLockDir[] = "/run/orbisk-vlan";
constexpr char kLockSuffix[] = ".lock";

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
// test process for every `ip` call costs seconds per test. Killed after
// `limit`; a failure to start or the kill is said at the end of the output.
int Exec(const std::vector<std::string>& argv, std::string* output, const std::string& input,
    std::chrono::milliseconds limit = std::chrono::seconds(60))
{
    auto deadline = std::chrono::steady_clock::now() + limit;
    std::string text;
    auto fail = [&](const std::string& why) {
        if (output)
            *output = text + (text.empty() || text.back() == '\n' ? "" : "\n") + argv.at(0) + ": " + why;
        return -1;
    };
    // Input through a socket pair: a child that ends without reading all of
    // it gives an error (MSG_NOSIGNAL), not a SIGPIPE that ends the test.
    int out[2], in[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return fail(std::string("pipe: ") + std::strerror(errno));
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, in) != 0) {
        int error = errno;
        close(out[0]);
        close(out[1]);
        return fail(std::string("socketpair: ") + std::strerror(error));
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
    if (rc != 0 || pid <= 0) {
        close(in[1]);
        close(out[0]);
        return fail(std::string("cannot start: ") + std::strerror(rc));
    }
    // Input and output both through poll: a child that neither reads nor
    // ends cannot block us past the deadline.
    size_t written = 0;
    if (input.empty()) {
        close(in[1]);
        in[1] = -1;
    }
    bool timedOut = false;
    while (out[0] >= 0) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd fds[2] = { { out[0], POLLIN, 0 }, { in[1], POLLOUT, 0 } };
        int ready = poll(fds, in[1] >= 0 ? 2 : 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
        if (ready < 0 && errno != EINTR)
            break;
        if (in[1] >= 0 && (fds[1].revents & (POLLOUT | POLLERR | POLLHUP))) {
            ssize_t n = send(in[1], input.data() + written, input.size() - written, MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n > 0)
                written += static_cast<size_t>(n);
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                written = input.size(); // the child closed its input
            if (written == input.size()) {
                close(in[1]);
                in[1] = -1;
            }
        }
        if (fds[0].revents & (POLLIN | POLLERR | POLLHUP)) {
            char buf[4096];
            ssize_t n = read(out[0], buf, sizeof buf);
            if (n > 0) {
                text.append(buf, static_cast<size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                close(out[0]);
                out[0] = -1;
            }
        }
    }
    if (in[1] >= 0)
        close(in[1]);
    if (out[0] >= 0)
        close(out[0]);
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    Result<int> status = EndChild(pid, timedOut ? std::chrono::milliseconds(0) : std::max(left, std::chrono::milliseconds(0)));
    if (timedOut)
        return fail("killed after " + std::to_string(limit.count()) + " ms");
    if (!status.Ok())
        return fail(status.Failure().Message());
    if (!WIFEXITED(*status))
        return fail("ended by signal " + std::to_string(WTERMSIG(*status)));
    if (output)
        *output = text;
    return WEXITSTATUS(*status);
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
        pos = end + 1;
        if (pid <= 0 || pid == getpid())
            continue;
        // Through a pidfd that was checked to be in the namespace: a pid
        // that ended and was reused meanwhile is left alone. (The system
        // calls themselves: one C library here declares their wrappers for C only.)
        int fd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
        if (fd < 0)
            continue;
        struct stat inNs {}, of {};
        if (stat(("/run/netns/" + ns).c_str(), &inNs) == 0
            && stat(("/proc/" + std::to_string(pid) + "/ns/net").c_str(), &of) == 0 && inNs.st_dev == of.st_dev
            && inNs.st_ino == of.st_ino)
            syscall(SYS_pidfd_send_signal, fd, SIGKILL, nullptr, 0);
        close(fd);
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

std::string LockPath(const std::string& tag)
{
    return std::string(kLockDir) + "/" + tag + kLockSuffix;
}

// Locks the file at path, waiting up to `limit`; the open descriptor, or -1.
// The lock counts only while the path still names the locked file: a sweep
// removes the file of a LAN it took, and one opened before that is stale.
int TakeLock(const std::string& path, bool create, std::chrono::milliseconds limit, int* error)
{
    auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        // Close-on-exec: the programs a test starts do not hold the lock, so
        // that when the test dies its namespaces can go (and those programs with them).
        int fd = open(path.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0644);
        if (fd < 0) {
            *error = errno;
            return -1;
        }
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            struct stat held {}, named {};
            if (fstat(fd, &held) == 0 && stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev
                && held.st_ino == named.st_ino)
                return fd;
            *error = ENOENT;
        } else {
            *error = errno;
        }
        close(fd);
        if (std::chrono::steady_clock::now() >= deadline)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// The run's id from ORBISK_VLAN_RUN, or "" when unset; false when it is not
// a short word of letters and digits that starts with a letter (it becomes
// part of file names, and older sweeps read a number after the prefix as a pid).
bool RunId(std::string* id)
{
    const char* run = std::getenv("ORBISK_VLAN_RUN");
    *id = run ? run : "";
    return id->size() <= 16 && (id->empty() || std::isalpha(static_cast<unsigned char>(id->front())))
        && std::all_of(id->begin(), id->end(), [](unsigned char c) { return std::isalnum(c); });
}

} // namespace

Result<int> EndChild(pid_t pid, std::chrono::milliseconds limit, int first)
{
    const std::string who = "child " + std::to_string(pid);
    if (pid <= 0)
        return Status::FromErrno(EINVAL, who);
    // Ours and not reaped (ECHILD otherwise): until we reap it, the pid
    // cannot pass to another process.
    siginfo_t info {};
    if (waitid(P_PID, pid, &info, WEXITED | WNOHANG | WNOWAIT) != 0)
        return Status::FromErrno(errno, who);
    if (first > 0 && info.si_pid != pid)
        kill(pid, first);
    auto deadline = std::chrono::steady_clock::now() + limit;
    bool killed = false;
    for (;;) {
        int status = 0;
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid)
            return status;
        if (r < 0 && errno != EINTR)
            return Status::FromErrno(errno, who);
        if (std::chrono::steady_clock::now() >= deadline) {
            if (killed)
                return Status::FromErrno(ETIMEDOUT, who + " did not end on SIGKILL");
            kill(pid, SIGKILL);
            killed = true;
            deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

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
    std::string run;
    if (!RunId(&run)) {
        m_error = "ORBISK_VLAN_RUN is not a word of up to 16 letters and digits, starting with a letter";
        return;
    }
    SweepStale();
    InstallCleanupOnce();
    LiveLans().insert(this);
    static int runs = 0;
    m_tag = kPrefix + (run.empty() ? "" : run + "-") + std::to_string(getpid()) + "-" + std::to_string(runs++);
    int error = 0;
    if (mkdir(kLockDir, 0755) != 0 && errno != EEXIST) {
        m_error = std::string("mkdir ") + kLockDir + ": " + std::strerror(errno);
        return;
    }
    // Taken before any namespace exists, so that no sweep can see them unlocked.
    m_lock = TakeLock(LockPath(m_tag), true, std::chrono::seconds(10), &error);
    if (m_lock < 0) {
        m_error = "locking " + LockPath(m_tag) + ": " + std::strerror(error);
        return;
    }
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

Result<pid_t> VirtualLan::Spawn(const Host& host, const std::vector<std::string>& argv, const std::string& logFile)
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
    int rc = posix_spawnp(&pid, args[0], &actions, &attr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    std::string what = "starting " + argv.at(0) + " on " + host.name;
    if (rc != 0)
        return Status::FromErrno(rc, what);
    if (pid <= 0)
        return Status::FromErrno(ECHILD, what);
    m_children.push_back(pid);
    return pid;
}

Result<int> VirtualLan::Stop(pid_t pid)
{
    auto child = std::find(m_children.begin(), m_children.end(), pid);
    if (pid <= 0 || child == m_children.end())
        return Status::FromErrno(ESRCH, "stopping " + std::to_string(pid) + ", not a running program of this LAN");
    m_children.erase(child);
    return EndChild(pid, std::chrono::seconds(3), SIGTERM);
}

int VirtualLan::Run(const Host& host, const std::vector<std::string>& argv, std::string* output, const std::string& input,
    std::chrono::milliseconds limit)
{
    std::vector<std::string> full { "ip", "netns", "exec", host.netns };
    full.insert(full.end(), argv.begin(), argv.end());
    return Exec(full, output, input, limit);
}

void VirtualLan::TearDown()
{
    for (pid_t pid : m_children)
        EndChild(pid, std::chrono::seconds(0));
    m_children.clear();
    for (auto it = m_namespaces.rbegin(); it != m_namespaces.rend(); ++it)
        DeleteNetns(*it);
    m_namespaces.clear();
    if (m_lock >= 0) {
        unlink(LockPath(m_tag).c_str());
        close(m_lock);
        m_lock = -1;
    }
}

void SweepStale()
{
    DIR* dir = opendir(kLockDir);
    if (!dir)
        return;
    std::vector<std::string> tags;
    while (dirent* e = readdir(dir)) {
        std::string name = e->d_name;
        size_t suffix = name.size() - std::strlen(kLockSuffix);
        if (name.rfind(kPrefix, 0) == 0 && name.size() > std::strlen(kLockSuffix) && name.substr(suffix) == kLockSuffix)
            tags.push_back(name.substr(0, suffix));
    }
    closedir(dir);
    for (const std::string& tag : tags) {
        int error = 0;
        int lock = TakeLock(LockPath(tag), false, std::chrono::milliseconds(0), &error);
        if (lock < 0)
            continue; // alive, or swept by someone else just now
        std::vector<std::string> names;
        if (DIR* netns = opendir("/run/netns")) {
            while (dirent* e = readdir(netns)) {
                std::string name = e->d_name;
                if (name.rfind(tag + "-", 0) == 0)
                    names.push_back(name);
            }
            closedir(netns);
        }
        for (const auto& ns : names)
            DeleteNetns(ns);
        unlink(LockPath(tag).c_str());
        close(lock);
    }
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

std::string ManyDeviceAddress(int i)
{
    int n = 4 * 256 + 1 + i;
    return "198.18." + std::to_string(n / 256) + "." + std::to_string(n % 256);
}

} // namespace vlan
