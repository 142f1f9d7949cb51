#include "host_addresses.h"

#include "sim_device.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

extern char** environ;

std::vector<HostAddress> ListHostAddresses()
{
    std::vector<HostAddress> list;
    ifaddrs* all = nullptr;
    if (getifaddrs(&all) != 0)
        return list;
    for (ifaddrs* a = all; a != nullptr; a = a->ifa_next) {
        if (a->ifa_addr == nullptr || a->ifa_addr->sa_family != AF_INET || !(a->ifa_flags & IFF_UP))
            continue;
        HostAddress h;
        h.address = reinterpret_cast<sockaddr_in*>(a->ifa_addr)->sin_addr;
        if (a->ifa_netmask != nullptr)
            h.prefix = __builtin_popcount(reinterpret_cast<sockaddr_in*>(a->ifa_netmask)->sin_addr.s_addr);
        // Secondary addresses may carry a label "eth0:1"; ip wants the device.
        h.interface = a->ifa_name;
        h.interface = h.interface.substr(0, h.interface.find(':'));
        h.loopback = (a->ifa_flags & IFF_LOOPBACK) != 0;
        list.push_back(h);
    }
    freeifaddrs(all);
    return list;
}

in_addr DefaultHostAddress()
{
    for (const HostAddress& h : ListHostAddresses()) {
        if (!h.loopback)
            return h.address;
    }
    return in_addr { htonl(INADDR_LOOPBACK) };
}

static std::string RunIp(const std::vector<std::string>& args)
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
        return command + ": " + std::strerror(error);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return command + " failed";
    return {};
}

std::string MoveHostAddress(in_addr from, in_addr to, int prefix)
{
    if (from.s_addr == to.s_addr)
        return {};
    const HostAddress* old = nullptr;
    bool present = false;
    std::vector<HostAddress> list = ListHostAddresses();
    for (const HostAddress& h : list) {
        if (h.address.s_addr == from.s_addr)
            old = &h;
        present = present || h.address.s_addr == to.s_addr;
    }
    if (old == nullptr)
        return AddressText(from) + " is no longer on any interface";
    std::string device = old->interface;
    // Adding first keeps an address on the interface throughout, so its routes stay.
    if (!present) {
        std::string error = RunIp({ "addr", "add", AddressText(to) + "/" + std::to_string(prefix), "dev", device });
        if (!error.empty())
            return error;
    }
    // Without this, removing a primary address removes its secondaries with it,
    // the new address and the other simulated devices among them.
    if (FILE* f = std::fopen(("/proc/sys/net/ipv4/conf/" + device + "/promote_secondaries").c_str(), "w")) {
        std::fputs("1\n", f);
        std::fclose(f);
    }
    return RunIp({ "addr", "del", AddressText(from) + "/" + std::to_string(old->prefix), "dev", device });
}
