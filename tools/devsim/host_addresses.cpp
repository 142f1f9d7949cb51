#include "host_addresses.h"

#include <netinet/in.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>

extern char** environ;

std::vector<HostInterface> ListHostAddresses()
{
    std::vector<HostInterface> up;
    Result<std::vector<HostInterface>> all = ListHostInterfaces();
    for (const HostInterface& h : all.Ok() ? *all : std::vector<HostInterface>()) {
        if (h.IsUp())
            up.push_back(h);
    }
    return up;
}

Ipv4 DefaultHostAddress()
{
    for (const HostInterface& h : ListHostAddresses()) {
        if (!h.IsLoopback())
            return h.address;
    }
    return Ipv4(INADDR_LOOPBACK);
}

static Status RunIp(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    std::string program = "ip";
    argv.push_back(program.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    // The simulator blocks its stop signals; the child must not inherit that.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK);
    pid_t pid = 0;
    int error = posix_spawnp(&pid, "ip", nullptr, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    std::string command = "ip";
    for (const std::string& a : args)
        command += " " + a;
    if (error != 0)
        return Status::FromErrno(error, command);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return Status::Refused(std::errc::operation_not_permitted, command + " failed");
    return {};
}

Status MoveHostAddress(Ipv4 from, Ipv4 to, int prefix)
{
    if (from == to)
        return {};
    const HostInterface* old = nullptr;
    bool present = false;
    std::vector<HostInterface> list = ListHostAddresses();
    for (const HostInterface& h : list) {
        if (h.address == from)
            old = &h;
        present = present || h.address == to;
    }
    if (old == nullptr)
        return Status::Refused(std::errc::address_not_available, from.ToText() + " is no longer on any interface");
    // ip wants the device, not an address label ("eth0:1").
    std::string device = old->Device();
    // Adding first keeps an address on the interface throughout, so its routes stay.
    if (!present) {
        Status added = RunIp({ "addr", "add", to.ToText() + "/" + std::to_string(prefix), "dev", device });
        if (!added.Ok())
            return added;
    }
    // Without this, removing a primary address removes its secondaries with it,
    // the new address and the other simulated devices among them.
    if (FILE* f = std::fopen(("/proc/sys/net/ipv4/conf/" + device + "/promote_secondaries").c_str(), "w")) {
        std::fputs("1\n", f);
        std::fclose(f);
    }
    int oldPrefix = old->netmask.PrefixLength().value_or(32); // the kernel's netmasks are contiguous
    return RunIp({ "addr", "del", from.ToText() + "/" + std::to_string(oldPrefix), "dev", device });
}
