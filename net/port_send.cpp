#include "port_send.h"

#include "interfaces.h"
#include "wire_ports.h"

#include <arpa/inet.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

int SendThroughPort(int handle, const void* data, size_t length, const sockaddr_in& destination, unsigned ifindex,
    in_addr source)
{
    if (handle < 0)
        return EBADF;
    iovec iov { const_cast<void*>(data), length };
    msghdr msg {};
    msg.msg_name = const_cast<sockaddr_in*>(&destination);
    msg.msg_namelen = sizeof destination;
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    if (ifindex != 0 || source.s_addr != INADDR_ANY) {
        msg.msg_control = control;
        msg.msg_controllen = sizeof control;
        cmsghdr* cm = CMSG_FIRSTHDR(&msg);
        cm->cmsg_level = IPPROTO_IP;
        cm->cmsg_type = IP_PKTINFO;
        cm->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
        in_pktinfo info {};
        info.ipi_ifindex = static_cast<int>(ifindex);
        info.ipi_spec_dst = source;
        std::memcpy(CMSG_DATA(cm), &info, sizeof info);
    }
    return sendmsg(handle, &msg, 0) >= 0 ? 0 : errno;
}

std::vector<PortAttempt> BroadcastOnEveryPort(int handle, const void* data, size_t length, int port, unsigned only)
{
    std::vector<NetInterface> interfaces;
    if (int failed = ListBroadcastInterfaces(interfaces); failed != 0)
        return { { 0, failed } };
    std::vector<PortAttempt> attempts;
    sockaddr_in destination {};
    destination.sin_family = AF_INET;
    destination.sin_port = htons(static_cast<uint16_t>(port));
    destination.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    for (const NetInterface& i : interfaces) {
        if (only != 0 && i.index != only)
            continue;
        in_addr source {};
        inet_pton(AF_INET, i.address.c_str(), &source);
        attempts.push_back({ i.index, SendThroughPort(handle, data, length, destination, i.index, source) });
    }
    if (only != 0 && attempts.empty())
        attempts.push_back({ only, ENODEV }); // the port the device was heard on is gone
    else if (attempts.empty())
        attempts.push_back({ 0, SendThroughPort(handle, data, length, destination, 0, in_addr {}) });
    return attempts;
}

int CountSent(const std::vector<PortAttempt>& attempts, int* firstError)
{
    int sent = 0;
    int error = 0;
    for (const PortAttempt& a : attempts) {
        if (a.error == 0)
            ++sent;
        else if (error == 0)
            error = a.error;
    }
    if (firstError != nullptr)
        *firstError = error;
    return sent;
}
