#include "simulator.h"

#include "host_addresses.h"
#include "port_send.h"
#include "wire.h"

#include <arpa/inet.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>

namespace {

volatile sig_atomic_t g_stop = 0;

void OnStopSignal(int)
{
    g_stop = 1;
}

constexpr int kMaxDatagram = 65507;   // largest UDP payload over IPv4
constexpr int kSocketBuffer = 8 << 20; // a burst of 1000 devices' replies fits
constexpr int kReceiveBatch = 256;
constexpr int kEveryLengthBatch = 16;

sockaddr_in ToolAddress(in_addr host)
{
    CSockAddr address(nullptr, kToolPort);
    address.m_addr.sin_addr = host;
    return address.m_addr;
}

sockaddr_in ToolAddress(const std::string& host)
{
    return CSockAddr(host.c_str(), kToolPort).m_addr;
}

void SetBuffer(int handle, int forced, int plain, int bytes)
{
    // The forced variant passes the system's ceiling; it needs root.
    if (setsockopt(handle, SOL_SOCKET, forced, &bytes, sizeof bytes) != 0)
        setsockopt(handle, SOL_SOCKET, plain, &bytes, sizeof bytes);
}

} // namespace

CDeviceSimulator::CDeviceSimulator(SimOptions options)
    : m_options(std::move(options))
    , m_random(m_options.seed ? *m_options.seed
                              : static_cast<unsigned>(Clock::now().time_since_epoch().count()) ^ static_cast<unsigned>(getpid()))
{
}

CDeviceSimulator::~CDeviceSimulator()
{
    m_socket.Close();
    if (m_log != nullptr)
        std::fclose(m_log);
}

bool CDeviceSimulator::Start()
{
    std::vector<in_addr> addresses = DeviceAddresses(m_options, DefaultHostAddress());
    std::set<in_addr_t> hostAddresses;
    for (const HostAddress& h : ListHostAddresses())
        hostAddresses.insert(h.address.s_addr);
    size_t missing = 0;
    for (in_addr a : addresses) {
        if (!hostAddresses.contains(a.s_addr) && missing++ == 0)
            std::fprintf(stderr, "orbisk-devsim: %s is not an address of this host (add it first: ip addr add)\n",
                AddressText(a).c_str());
    }
    if (missing > 0) {
        std::fprintf(stderr, "orbisk-devsim: %zu of %zu device addresses missing\n", missing, addresses.size());
        return false;
    }
    m_devices = MakeDevices(m_options, addresses);
    m_requestsToDrop.assign(m_devices.size(), m_options.dropFirst);
    m_repliesToDrop.assign(m_devices.size(), m_options.dropFirstReplies);

    if (!m_options.logFile.empty()) {
        m_log = std::fopen(m_options.logFile.c_str(), "a");
        if (m_log == nullptr) {
            std::fprintf(stderr, "orbisk-devsim: %s: %s\n", m_options.logFile.c_str(), std::strerror(errno));
            return false;
        }
    }

    if (!m_socket.Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET)) {
        std::fprintf(stderr, "orbisk-devsim: socket: %s\n", std::strerror(errno));
        return false;
    }
    int h = m_socket.m_hRawSocket;
    int on = 1;
    setsockopt(h, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    // Tells each request's destination, and lets sendmsg pick each reply's source address.
    setsockopt(h, IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
    SetBuffer(h, SO_SNDBUFFORCE, SO_SNDBUF, kSocketBuffer);
    SetBuffer(h, SO_RCVBUFFORCE, SO_RCVBUF, kSocketBuffer);
    CSockAddr local(nullptr, kDevicePort);
    if (bind(h, reinterpret_cast<const sockaddr*>(&local.m_addr), sizeof local.m_addr) != 0) {
        std::fprintf(stderr, "orbisk-devsim: cannot bind UDP port %d: %s\n", kDevicePort, std::strerror(errno));
        return false;
    }

    m_start = Clock::now();
    m_bFloodDone = m_options.floodRate == 0;
    m_nNextLength = m_options.everyLengthTarget.empty() ? kMaxDatagram + 1 : 0;
    m_nextUnsolicited = m_start;
    std::fprintf(stderr, "orbisk-devsim: listening on UDP port %d as %zu device(s), %s%s%s\n", kDevicePort,
        m_devices.size(), AddressText(m_devices.front().address).c_str(), m_devices.size() > 1 ? " .. " : "",
        m_devices.size() > 1 ? AddressText(m_devices.back().address).c_str() : "");
    return true;
}

int CDeviceSimulator::Run()
{
    // Stop signals stay blocked except inside ppoll, so none is lost between
    // the check of g_stop and the wait.
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigset_t stopSignals, waitMask;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
    sigdelset(&waitMask, SIGTERM);
    sigdelset(&waitMask, SIGINT);

    if (!Start())
        return 1;

    while (!g_stop) {
        Clock::time_point now = Clock::now();
        SendDue(now);
        RunHostile(now);
        auto wait = std::max(Clock::duration::zero(), NextWake(now) - Clock::now());
        auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
        timespec timeout { static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000) };
        pollfd pfd { m_socket.m_hRawSocket, POLLIN, 0 };
        int ready = ppoll(&pfd, 1, &timeout, &waitMask);
        if (ready > 0 && (pfd.revents & POLLIN))
            ReceivePending();
    }
    std::fprintf(stderr, "orbisk-devsim: stopped; %llu datagrams received, %llu sent, %llu send errors, %llu dropped\n",
        m_nReceived, m_nSent, m_nSendErrors, m_nDropped);
    return 0;
}

CDeviceSimulator::Clock::time_point CDeviceSimulator::NextWake(Clock::time_point now) const
{
    Clock::time_point wake = now + std::chrono::seconds(1);
    if (!m_queue.empty())
        wake = std::min(wake, m_queue.begin()->first);
    if (m_nNextLength <= kMaxDatagram)
        wake = now;
    if (!m_bFloodDone) {
        auto next = std::chrono::duration<double>((m_nFloodSent + 1.0) / m_options.floodRate);
        wake = std::min(wake, m_start + std::chrono::duration_cast<Clock::duration>(next));
    }
    if (!m_options.unsolicited.empty())
        wake = std::min(wake, m_nextUnsolicited);
    return wake;
}

void CDeviceSimulator::ReceivePending()
{
    static char buffer[kMaxDatagram + 1];
    for (int n = 0; n < kReceiveBatch; ++n) {
        sockaddr_in from {};
        iovec iov { buffer, sizeof buffer };
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
        msghdr msg {};
        msg.msg_name = &from;
        msg.msg_namelen = sizeof from;
        msg.msg_iov = &iov;
        msg.msg_iovlen = 1;
        msg.msg_control = control;
        msg.msg_controllen = sizeof control;
        ssize_t length = recvmsg(m_socket.m_hRawSocket, &msg, MSG_DONTWAIT);
        if (length < 0)
            return;
        ++m_nReceived;
        in_addr destination {};
        for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c != nullptr; c = CMSG_NXTHDR(&msg, c)) {
            if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
                in_pktinfo info;
                std::memcpy(&info, CMSG_DATA(c), sizeof info);
                destination = info.ipi_addr;
            }
        }
        std::string_view data(buffer, static_cast<size_t>(length));
        if (m_log != nullptr) {
            std::fprintf(m_log, "src=%s:%d dst=%s len=%zd hex=%s\n", AddressText(from.sin_addr).c_str(),
                ntohs(from.sin_port), AddressText(destination).c_str(), length, ToHex(data).c_str());
            std::fflush(m_log);
        }
        Handle(data, from, destination);
    }
}

void CDeviceSimulator::Handle(std::string_view data, const sockaddr_in& from, in_addr destination)
{
    std::string sender = AddressText(from.sin_addr);
    if (IsDiscoveryRequest(data)) {
        // A request sent to one device's own address is that device's alone;
        // a broadcast reaches them all.
        size_t only = m_devices.size();
        for (size_t i = 0; i < m_devices.size(); ++i) {
            if (m_devices[i].address.s_addr == destination.s_addr)
                only = i;
        }
        if (m_options.verbose)
            std::fprintf(stderr, "orbisk-devsim: discovery request from %s\n", sender.c_str());
        for (size_t i = 0; i < m_devices.size(); ++i) {
            if (only != m_devices.size() && only != i)
                continue;
            if (Drops(m_requestsToDrop, i)) {
                if (m_options.verbose)
                    std::fprintf(stderr, "orbisk-devsim: %s did not hear it\n", AddressText(m_devices[i].address).c_str());
                continue;
            }
            Reply(i, from, DiscoveryAnswer(m_devices[i], m_options));
        }
        return;
    }
    std::optional<ChangeRequest> request = ParseChangeRequest(data);
    if (!request) {
        if (m_options.verbose)
            std::fprintf(stderr, "orbisk-devsim: ignored %zu bytes from %s\n", data.size(), sender.c_str());
        return;
    }
    for (size_t i = 0; i < m_devices.size(); ++i) {
        ChangeDecision decision = DecideChange(m_devices[i], *request, m_options);
        if (!decision.addressed)
            continue;
        if (Drops(m_requestsToDrop, i)) {
            if (m_options.verbose)
                std::fprintf(stderr, "orbisk-devsim: change request for %s not heard\n", request->current.c_str());
            return;
        }
        in_addr to {};
        inet_pton(AF_INET, request->address.c_str(), &to);
        for (size_t j = 0; decision.apply && request->mode == AddressMode::Static && j < m_devices.size(); ++j) {
            if (j != i && m_devices[j].address.s_addr == to.s_addr) {
                decision.reply = { wire::kChangeMark, '2' }; // another simulated device holds it
                decision.apply = false;
            }
        }
        // The change is made before the answer, so whoever hears "$0" finds
        // the device at its new address already; the answer comes from there.
        if (decision.apply && !ApplyChange(i, *request))
            decision.reply = { wire::kChangeMark, '2' };
        if (m_options.verbose)
            std::fprintf(stderr, "orbisk-devsim: change request for %s from %s: %s\n", request->current.c_str(),
                sender.c_str(), ToHex(decision.reply).c_str());
        Reply(i, from, { decision.reply });
        return;
    }
    if (m_options.verbose)
        std::fprintf(stderr, "orbisk-devsim: change request for %s is not for us\n", request->current.c_str());
}

void CDeviceSimulator::Reply(size_t device, const sockaddr_in& from, const std::vector<std::string>& datagrams)
{
    auto delay = std::chrono::milliseconds(m_options.replyDelayMs);
    if (m_options.jitterMs > 0)
        delay += std::chrono::milliseconds(std::uniform_int_distribution<int>(0, m_options.jitterMs)(m_random));
    Clock::time_point due = Clock::now() + delay;
    Outgoing out;
    out.source = m_devices[device].address;
    out.to = ToolAddress(from.sin_addr);
    for (int copy = 0; copy < m_options.duplicates; ++copy) {
        for (const std::string& bytes : datagrams) {
            if (Drops(m_repliesToDrop, device))
                continue;
            out.bytes = bytes;
            m_queue.emplace(due, out);
        }
    }
}

void CDeviceSimulator::SendDue(Clock::time_point now)
{
    while (!m_queue.empty() && m_queue.begin()->first <= now) {
        Outgoing out = std::move(m_queue.begin()->second);
        m_queue.erase(m_queue.begin());
        SendFrom(out.source, out.to, out.bytes);
    }
}

bool CDeviceSimulator::SendFrom(in_addr source, const sockaddr_in& to, std::string_view bytes)
{
    // Each device answers from its own address, all from the one socket.
    int failed = SendThroughPort(m_socket.m_hRawSocket, bytes.data(), bytes.size(), to, 0, source);
    if (failed != 0) {
        if (m_nSendErrors++ < 10)
            std::fprintf(stderr, "orbisk-devsim: send from %s to %s: %s\n", AddressText(source).c_str(),
                AddressText(to.sin_addr).c_str(), std::strerror(failed));
        return false;
    }
    ++m_nSent;
    return true;
}

// The first N of a device's, then --loss of them at random; mt19937's
// output is fixed by its seed on every platform.
bool CDeviceSimulator::Drops(std::vector<int>& firstLeft, size_t device)
{
    bool lost = firstLeft[device] > 0;
    if (lost)
        --firstLeft[device];
    else if (m_options.lossPercent > 0)
        lost = m_random() % 100 < static_cast<unsigned>(m_options.lossPercent);
    m_nDropped += lost;
    return lost;
}

bool CDeviceSimulator::ApplyChange(size_t device, const ChangeRequest& change)
{
    SimDevice& d = m_devices[device];
    std::string old = AddressText(d.address);
    if (change.mode == AddressMode::Static) {
        in_addr to {};
        inet_pton(AF_INET, change.address.c_str(), &to);
        std::string error = MoveHostAddress(d.address, to, PrefixOfNetmask(change.netmask));
        if (!error.empty()) {
            std::fprintf(stderr, "orbisk-devsim: %s keeps its address: %s\n", old.c_str(), error.c_str());
            return false;
        }
    }
    ApplyChangeFields(d, change);
    if (change.mode == AddressMode::Static)
        std::fprintf(stderr, "orbisk-devsim: %s is now %s netmask %s gateway %s (static)\n", old.c_str(),
            change.address.c_str(), change.netmask.c_str(), change.gateway.c_str());
    else
        std::fprintf(stderr, "orbisk-devsim: %s switched to DHCP\n", old.c_str());
    return true;
}

void CDeviceSimulator::RunHostile(Clock::time_point now)
{
    const in_addr source = m_devices.front().address;
    if (!m_bFloodDone) {
        double elapsed = std::chrono::duration<double>(now - m_start).count();
        double until = std::min(elapsed, m_options.floodSeconds);
        long long due = static_cast<long long>(until * m_options.floodRate);
        sockaddr_in to = ToolAddress(m_options.floodTarget);
        std::string junk;
        for (int batch = 0; m_nFloodSent < due && batch < 1000; ++batch, ++m_nFloodSent) {
            // Random bytes, a third of them dressed as discovery or change replies.
            junk.resize(std::uniform_int_distribution<size_t>(0, 150)(m_random));
            for (char& b : junk)
                b = static_cast<char>(m_random());
            if (!junk.empty() && m_nFloodSent % 3 != 0)
                junk[0] = m_nFloodSent % 3 == 1 ? wire::kDeviceMark : wire::kChangeMark;
            SendFrom(source, to, junk);
        }
        if (elapsed >= m_options.floodSeconds && m_nFloodSent >= due) {
            m_bFloodDone = true;
            std::fprintf(stderr, "orbisk-devsim: flood done, %lld datagrams\n", m_nFloodSent);
        }
    }
    if (m_nNextLength <= kMaxDatagram) {
        static const char kFill[] = { '@', '0', '@', '1', 'x', '\0', '\xff', '#' };
        sockaddr_in to = ToolAddress(m_options.everyLengthTarget);
        std::string datagram;
        for (int batch = 0; batch < kEveryLengthBatch && m_nNextLength <= kMaxDatagram; ++batch, ++m_nNextLength) {
            // Odd lengths look like change replies, even ones like discovery replies.
            datagram.resize(static_cast<size_t>(m_nNextLength));
            for (size_t i = 0; i < datagram.size(); ++i)
                datagram[i] = i == 0 ? (m_nNextLength % 2 ? wire::kChangeMark : wire::kDeviceMark) : kFill[i % 8];
            SendFrom(source, to, datagram);
        }
        if (m_nNextLength > kMaxDatagram)
            std::fprintf(stderr, "orbisk-devsim: sent every length 0..%d\n", kMaxDatagram);
    }
    if (!m_options.unsolicited.empty() && now >= m_nextUnsolicited) {
        sockaddr_in to = ToolAddress(m_options.target);
        for (const SimDevice& d : m_devices) {
            for (const std::string& bytes : m_options.unsolicited)
                SendFrom(d.address, to, bytes);
        }
        m_nextUnsolicited += std::chrono::milliseconds(m_options.intervalMs);
        if (m_nextUnsolicited < now)
            m_nextUnsolicited = now + std::chrono::milliseconds(m_options.intervalMs);
    }
}
