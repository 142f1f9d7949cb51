#include "packet_capture.h"

#include "ipv4.h"

#include <arpa/inet.h>
#include <linux/filter.h>
#include <linux/if_packet.h>
#include <net/ethernet.h>
#include <net/if.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr uint16_t kPort = 10001;
constexpr unsigned kMaxPayload = 100;

// Classic BPF over the IP header (SOCK_DGRAM packet sockets start there):
// UDP, not a fragment, total length within header + 8 + 100, destination port.
sock_filter kFilter[] = {
    BPF_STMT(BPF_LD | BPF_B | BPF_ABS, 9),                       // protocol
    BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, IPPROTO_UDP, 0, 8),
    BPF_STMT(BPF_LD | BPF_H | BPF_ABS, 6),                       // flags and fragment offset
    BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, 0x3fff, 6, 0),          // MF or an offset: a fragment
    BPF_STMT(BPF_LD | BPF_H | BPF_ABS, 2),                       // total length
    BPF_JUMP(BPF_JMP | BPF_JGT | BPF_K, 60 + 8 + kMaxPayload, 4, 0),
    BPF_STMT(BPF_LDX | BPF_B | BPF_MSH, 0),                      // X = header length
    BPF_STMT(BPF_LD | BPF_H | BPF_IND, 2),                       // UDP destination port
    BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, kPort, 0, 1),
    BPF_STMT(BPF_RET | BPF_K, 0xffff),
    BPF_STMT(BPF_RET | BPF_K, 0),
};

std::string Why(const char* step)
{
    return std::string(step) + ": " + std::strerror(errno);
}

} // namespace

CPacketCapture::~CPacketCapture()
{
    if (m_hSocket >= 0)
        close(m_hSocket);
}

bool CPacketCapture::Open(const std::string& interfaceName, std::string* why)
{
    m_hSocket = socket(AF_PACKET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, htons(ETH_P_IP));
    if (m_hSocket < 0) {
        *why = Why("packet socket");
        return false;
    }
    sock_fprog program { static_cast<unsigned short>(sizeof kFilter / sizeof kFilter[0]), kFilter };
    if (setsockopt(m_hSocket, SOL_SOCKET, SO_ATTACH_FILTER, &program, sizeof program) != 0) {
        *why = Why("filter");
        return false;
    }
    // Room for a whole burst between two drains; FORCE passes rmem_max (we are root).
    int size = 16 << 20;
    if (setsockopt(m_hSocket, SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size) != 0)
        setsockopt(m_hSocket, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    sockaddr_ll where {};
    where.sll_family = AF_PACKET;
    where.sll_protocol = htons(ETH_P_IP);
    where.sll_ifindex = static_cast<int>(if_nametoindex(interfaceName.c_str()));
    if (where.sll_ifindex == 0) {
        *why = Why(("interface " + interfaceName).c_str());
        return false;
    }
    if (bind(m_hSocket, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0) {
        *why = Why("bind");
        return false;
    }
    // What was queued before the bind may come from any interface: drop it.
    Drain();
    ForgetReplies();
    m_count.clear();
    m_nDatagrams = 0;
    return true;
}

void CPacketCapture::Drain()
{
    unsigned char packet[256];
    for (;;) {
        sockaddr_ll from {};
        socklen_t fromLength = sizeof from;
        ssize_t n = recvfrom(m_hSocket, packet, sizeof packet, 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (n < 0)
            return;
        if (from.sll_pkttype == PACKET_OUTGOING || n < 20)
            continue;
        size_t header = (packet[0] & 0x0f) * 4u;
        if (static_cast<size_t>(n) < header + 8)
            continue;
        size_t udpLength = (packet[header + 4] << 8) | packet[header + 5];
        if (udpLength < 8 || udpLength - 8 > kMaxPayload || header + udpLength > static_cast<size_t>(n))
            continue;
        in_addr source;
        std::memcpy(&source, packet + 12, sizeof source);
        std::string sender = Ipv4::FromInAddr(source).ToText();
        std::string payload(reinterpret_cast<char*>(packet) + header + 8, udpLength - 8);
        ++m_nDatagrams;
        ++m_count[sender];
        if (!payload.empty() && payload[0] == '#')
            m_discovery[sender].push_back(payload);
        else if (!payload.empty() && payload[0] == '$')
            m_change[sender].push_back(payload);
    }
}

uint64_t CPacketCapture::Dropped()
{
    tpacket_stats stats {};
    socklen_t length = sizeof stats;
    if (m_hSocket >= 0 && getsockopt(m_hSocket, SOL_PACKET, PACKET_STATISTICS, &stats, &length) == 0)
        m_nDropped += stats.tp_drops; // the kernel resets its counters on each read
    return m_nDropped;
}
