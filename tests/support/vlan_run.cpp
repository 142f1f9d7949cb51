// orbisk-vlan: makes a virtual LAN, runs one command beside it, removes it.
//
//   orbisk-vlan [--devices N] -- COMMAND [ARGS...]
//   orbisk-vlan --sweep      removes what test runs that are gone left behind
//
// The operator host is 198.18.0.10, device host i is 198.18.0.(100 + i). The
// command runs in the machine's own namespace with the LAN described in its
// environment (VLAN_OP, VLAN_OP_ADDR, VLAN_DEVICES, VLAN_DEV<i>, VLAN_DEV<i>_ADDR),
// and starts programs on a host with `ip netns exec "$VLAN_OP" ...`.
#include "virtual_lan.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    int devices = 1;
    int i = 1;
    for (; i < argc; ++i) {
        if (std::strcmp(argv[i], "--devices") == 0 && i + 1 < argc) {
            devices = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--sweep") == 0) {
            vlan::SweepStale();
            return 0;
        } else if (std::strcmp(argv[i], "--") == 0) {
            ++i;
            break;
        } else {
            std::fprintf(stderr, "usage: orbisk-vlan [--devices N] -- COMMAND [ARGS...]\n");
            return 2;
        }
    }
    if (i >= argc || devices < 0 || devices > 100) {
        std::fprintf(stderr, "usage: orbisk-vlan [--devices N (0..100)] -- COMMAND [ARGS...]\n");
        return 2;
    }

    vlan::VirtualLan lan;
    const vlan::Host op = lan.AddHost("op", 0, 10);
    setenv("VLAN_OP", op.netns.c_str(), 1);
    setenv("VLAN_OP_ADDR", op.address.c_str(), 1);
    setenv("VLAN_DEVICES", std::to_string(devices).c_str(), 1);
    for (int d = 0; d < devices; ++d) {
        const vlan::Host dev = lan.AddHost("dev" + std::to_string(d), 0, 100 + d);
        std::string key = "VLAN_DEV" + std::to_string(d);
        setenv(key.c_str(), dev.netns.c_str(), 1);
        setenv((key + "_ADDR").c_str(), dev.address.c_str(), 1);
    }
    if (!lan.Ok()) {
        std::fprintf(stderr, "orbisk-vlan: %s\n", lan.Error().c_str());
        return 1;
    }

    pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[i], argv + i);
        std::perror(argv[i]);
        _exit(127);
    }
    if (pid < 0) {
        std::perror("orbisk-vlan: fork");
        return 1;
    }
    // The command runs as long as it likes (a demo); only an interruption is retried.
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    lan.TearDown();
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
