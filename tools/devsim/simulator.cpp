#include "simulator.h"

#include "datagram.h"
#include "host_addresses.h"
#include "magic_packet.h"
#include "wire.h"

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

constexpr int kSocketBuffer = 8 << 20; // a burst of 1000 devices' replies fits
constexpr int kReceiveBatch = 256;    // datagrams handled before the next wake
constexpr int kEveryLengthBatch = 16;

sockaddr_in ToolAddress(Ipv4 host)
{
    CSockAddr address(nullptr, kToolPort);
    address.m_addr.sin_addr = host.ToInAddr();
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
    m_wakeSocket.Close();
    if (m_log != nullptr)
        std::fclose(m_log);
}

bool CDeviceSimulator::Start()
{
    std::vector<Ipv4> addresses = DeviceAddresses(m_options, DefaultHostAddress());
    std::set<Ipv4> hostAddresses;
    for (const HostInterface& h : ListHostAddresses())
        hostAddresses.insert(h.address);
    size_t missing = 0;
    for (Ipv4 a : addresses) {
        if (!hostAddresses.contains(a) && missing++ == 0)
            std::fprintf(stderr, "orbisk-devsim: %s is not an address of this host (add it first: ip addr add)\n",
                a.ToText().c_str());
    }
    if (missing > 0) {
        std::fprintf(stderr, "orbisk-devsim: %zu of %zu device addresses missing\n", missing, addresses.size());
        return false;
    }
    m_devices = MakeDevices(m_options, addresses);
    m_requestsToDrop.assign(m_devices.size(), m_options.dropFirst);
    m_repliesToDrop.assign(m_devices.size(), m_options.dropFirstReplies);
    m_awakeFrom.assign(m_devices.size(), m_options.asleep ? std::nullopt : std::optional(Clock::time_point()));

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
    // Tells each request's destination; sendmsg picks each reply's source address.
    AskArrivalInfo(h, false);
    SetBuffer(h, SO_SNDBUFFORCE, SO_SNDBUF, kSocketBuffer);
    SetBuffer(h, SO_RCVBUFFORCE, SO_RCVBUF, kSocketBuffer);
    CSockAddr local(nullptr, kDevicePort);
    if (bind(h, reinterpret_cast<const sockaddr*>(&local.m_addr), sizeof local.m_addr) != 0) {
        std::fprintf(stderr, "orbisk-devsim: cannot bind UDP port %d: %s\n", kDevicePort, std::strerror(errno));
        return false;
    }

    if (m_options.asleep && !OpenWakePort())
        return false;

    m_start = Clock::now();
    m_bFloodDone = m_options.floodRate == 0;
    m_nNextLength = m_options.everyLengthTarget.empty() ? kMaxDatagram + 1 : 0;
    m_nextUnsolicited = m_start;
    std::fprintf(stderr, "orbisk-devsim: listening on UDP port %d as %zu device(s), %s%s%s\n", kDevicePort,
        m_devices.size(), m_devices.front().address.ToText().c_str(), m_devices.size() > 1 ? " .. " : "",
        m_devices.size() > 1 ? m_devices.back().address.ToText().c_str() : "");
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
        pollfd pfd[2] = { { m_socket.m_hRawSocket, POLLIN, 0 }, { m_wakeSocket.m_hRawSocket, POLLIN, 0 } };
        int ready = ppoll(pfd, m_wakeSocket.m_hRawSocket >= 0 ? 2 : 1, &timeout, &waitMask);
        if (ready > 0 && (pfd[0].revents & POLLIN))
            ReceivePending();
        if (ready > 0 && (pfd[1].revents & POLLIN))
            ReceiveWake();
    }
    std::fprintf(stderr, "orbisk-devsim: stopped; %llu datagrams received, %llu sent, %llu send errors, %llu dropped\n",
        m_nReceived, m_nSent, m_nSendErrors, m_nDropped);
    return 0;
}

bool CDeviceSimulator::OpenWakePort()
{
    if (!m_wakeSocket.Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET)) {
        std::fprintf(stderr, "orbisk-devsim: socket: %s\n", std::strerror(errno));
        return false;
    }
    int on = 1;
    setsockopt(m_wakeSocket.m_hRawSocket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    AskArrivalInfo(m_wakeSocket.m_hRawSocket, false);
    CSockAddr local(nullptr, kWakePort);
    if (bind(m_wakeSocket.m_hRawSocket, reinterpret_cast<const sockaddr*>(&local.m_addr), sizeof local.m_addr) != 0) {
        std::fprintf(stderr, "orbisk-devsim: cannot bind UDP port %d: %s\n", kWakePort, std::strerror(errno));
        return false;
    }
    std::fprintf(stderr, "orbisk-devsim: asleep; waiting for a magic packet on UDP port %d\n", kWakePort);
    return true;
}

// Magic packets on port 9: the device whose MAC address one names starts
// answering after --boot-ms. Everything is logged as on port 10000.
void CDeviceSimulator::ReceiveWake()
{
    ReceivedDatagram d;
    char buffer[kMagicPacketSize + 64];
    d.buffer = std::span<char>(buffer, sizeof buffer);
    while (true) {
        Result<int> count = ReceiveBatch(m_wakeSocket.m_hRawSocket, std::span<ReceivedDatagram>(&d, 1), MSG_DONTWAIT);
        if (!count.Ok() || *count <= 0)
            return;
        ++m_nReceived;
        std::string_view data(d.Bytes().data(), d.Bytes().size());
        if (m_log != nullptr) {
            std::fprintf(m_log, "src=%s:%d dst=%s len=%d hex=%s\n", Ipv4::FromInAddr(d.sender.sin_addr).ToText().c_str(),
                ntohs(d.sender.sin_port), d.destination.ToText().c_str(), d.length, ToHex(data).c_str());
            std::fflush(m_log);
        }
        std::optional<MacAddress> target = d.truncated ? std::nullopt : MagicPacketTarget(data);
        for (size_t i = 0; target && i < m_devices.size(); ++i) {
            if (!SameMac(m_devices[i].fields.mac, MacText(*target)) || m_awakeFrom[i])
                continue;
            m_awakeFrom[i] = Clock::now() + std::chrono::milliseconds(m_options.bootMs);
            std::fprintf(stderr, "orbisk-devsim: %s woken by a magic packet; answers in %d ms\n",
                m_devices[i].address.ToText().c_str(), m_options.bootMs);
        }
    }
}

bool CDeviceSimulator::Awake(size_t device, Clock::time_point now) const
{
    return m_awakeFrom[device] && *m_awakeFrom[device] <= now;
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
    for (int handled = 0; handled < kReceiveBatch;) {
        Result<int> count = m_batch.Receive(m_socket.m_hRawSocket);
        if (!count.Ok() || *count <= 0)
            return;
        for (int i = 0; i < *count; ++i, ++handled) {
            const ReceivedDatagram& d = m_batch[i];
            ++m_nReceived;
            std::string_view data(d.Bytes().data(), d.Bytes().size());
            if (m_log != nullptr) {
                std::fprintf(m_log, "src=%s:%d dst=%s len=%d hex=%s\n",
                    Ipv4::FromInAddr(d.sender.sin_addr).ToText().c_str(), ntohs(d.sender.sin_port),
                    d.destination.ToText().c_str(), d.length, ToHex(data).c_str());
                std::fflush(m_log);
            }
            Handle(data, d.sender, d.destination);
        }
    }
}

void CDeviceSimulator::Handle(std::string_view data, const sockaddr_in& from, Ipv4 destination)
{
    std::string sender = Ipv4::FromInAddr(from.sin_addr).ToText();
    if (IsDiscoveryRequest(data)) {
        if (m_options.verbose)
            std::fprintf(stderr, "orbisk-devsim: discovery request from %s\n", sender.c_str());
        HandleDiscovery(from, destination);
    } else if (std::optional<ChangeRequest> request = ParseChangeRequest(data)) {
        HandleChange(*request, from, sender);
    } else if (m_options.verbose) {
        std::fprintf(stderr, "orbisk-devsim: ignored %zu bytes from %s\n", data.size(), sender.c_str());
    }
}

void CDeviceSimulator::HandleDiscovery(const sockaddr_in& from, Ipv4 destination)
{
    // A request sent to one device's own address is that device's alone;
    // a broadcast reaches them all.
    size_t only = m_devices.size();
    for (size_t i = 0; i < m_devices.size(); ++i) {
        if (m_devices[i].address == destination)
            only = i;
    }
    const Clock::time_point now = Clock::now();
    for (size_t i = 0; i < m_devices.size(); ++i) {
        if ((only != m_devices.size() && only != i) || !Awake(i, now))
            continue;
        if (Drops(m_requestsToDrop, i)) {
            if (m_options.verbose)
                std::fprintf(stderr, "orbisk-devsim: %s did not hear it\n", m_devices[i].address.ToText().c_str());
            continue;
        }
        Reply(i, from, DiscoveryAnswer(m_devices[i], m_options));
    }
}

void CDeviceSimulator::HandleChange(const ChangeRequest& request, const sockaddr_in& from, const std::string& sender)
{
    for (size_t i = 0; i < m_devices.size(); ++i) {
        ChangeDecision decision = DecideChange(m_devices[i], request, m_options);
        if (!decision.addressed || !Awake(i, Clock::now()))
            continue;
        if (Drops(m_requestsToDrop, i)) {
            if (m_options.verbose)
                std::fprintf(stderr, "orbisk-devsim: change request for %s not heard\n", request.current.c_str());
            return;
        }
        std::optional<Ipv4> to = Ipv4::Parse(request.address);
        for (size_t j = 0; decision.apply && request.mode == AddressMode::Static && j < m_devices.size(); ++j) {
            if (j != i && m_devices[j].address == to) {
                decision.reply = { wire::kChangeMark, '2' }; // another simulated device holds it
                decision.apply = false;
            }
        }
        // The change is made before the answer, so whoever hears "$0" finds
        // the device at its new address already; the answer comes from there.
        if (decision.apply && !ApplyChange(i, request))
            decision.reply = { wire::kChangeMark, '2' };
        if (m_options.verbose)
            std::fprintf(stderr, "orbisk-devsim: change request for %s from %s: %s\n", request.current.c_str(),
                sender.c_str(), ToHex(decision.reply).c_str());
        Reply(i, from, { decision.reply });
        return;
    }
    if (m_options.verbose)
        std::fprintf(stderr, "orbisk-devsim: change request for %s is not for us\n", request.current.c_str());
}

void CDeviceSimulator::Reply(size_t device, const sockaddr_in& from, const std::vector<std::string>& datagrams)
{
    auto delay = std::chrono::milliseconds(m_options.replyDelayMs);
    if (m_options.jitterMs > 0)
        delay += std::chrono::milliseconds(std::uniform_int_distribution<int>(0, m_options.jitterMs)(m_random));
    Clock::time_point due = Clock::now() + delay;
    Outgoing out;
    out.source = m_devices[device].address;
    out.to = ToolAddress(Ipv4::FromInAddr(from.sin_addr));
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

bool CDeviceSimulator::SendFrom(Ipv4 source, const sockaddr_in& to, std::string_view bytes)
{
    // Each device answers from its own address, all from the one socket.
    Status failed = SendDatagram(m_socket.m_hRawSocket, bytes, to, 0, source);
    if (!failed.Ok()) {
        if (m_nSendErrors++ < 10)
            std::fprintf(stderr, "orbisk-devsim: send from %s to %s: %s\n", source.ToText().c_str(),
                Ipv4::FromInAddr(to.sin_addr).ToText().c_str(), std::strerror(failed.Errno()));
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
    std::string old = d.address.ToText();
    if (change.mode == AddressMode::Static) {
        // Both were checked before the change was accepted.
        Ipv4 to = Ipv4::Parse(change.address).value_or(Ipv4());
        int prefix = Ipv4::Parse(change.netmask).value_or(Ipv4()).PrefixLength().value_or(-1);
        Status moved = MoveHostAddress(d.address, to, prefix);
        if (!moved.Ok()) {
            std::fprintf(stderr, "orbisk-devsim: %s keeps its address: %s\n", old.c_str(), moved.Message().c_str());
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
    const Ipv4 source = m_devices.front().address;
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
