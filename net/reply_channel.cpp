#include "reply_channel.h"

#include "tool_port.h"
#include "wire_ports.h"

#include <net/if.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <time.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iterator>

#include <unistd.h>

namespace {

int64_t ClockNs(clockid_t clock)
{
    timespec now {};
    clock_gettime(clock, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

} // namespace

int64_t MonotonicNs()
{
    return ClockNs(CLOCK_MONOTONIC);
}

int64_t RealtimeNs()
{
    return ClockNs(CLOCK_REALTIME);
}

int64_t CpuTimeNs()
{
    return ClockNs(CLOCK_PROCESS_CPUTIME_ID);
}

std::vector<int> RequestOffsetsMs(int repeat, int timeoutMs)
{
    static constexpr int kOffsets[] = { 0, 250, 600, 1000, 1500 };
    constexpr int kMost = static_cast<int>(std::size(kOffsets));
    repeat = std::clamp(repeat, 1, kMost);
    int64_t last = kOffsets[repeat - 1];
    int64_t room = timeoutMs / 2;
    std::vector<int> offsets;
    for (int i = 0; i < repeat; ++i)
        offsets.push_back(static_cast<int>(last <= room ? kOffsets[i] : kOffsets[i] * room / last));
    return offsets;
}

int ImposedReceiveQueue()
{
    const char* text = std::getenv("ORBISK_RECEIVE_QUEUE");
    return text != nullptr ? std::max(0, std::atoi(text)) : 0;
}

CReplyChannel::CReplyChannel() : m_socket(m_own)
{
}

CReplyChannel::CReplyChannel(CUdpSocket& socket) : m_socket(socket)
{
}

bool CReplyChannel::HoldsPort() const
{
    if (m_socket.m_hRawSocket == -1)
        return false;
    sockaddr_in local {};
    socklen_t length = sizeof local;
    return getsockname(m_socket.m_hRawSocket, reinterpret_cast<sockaddr*>(&local), &length) == 0
        && ntohs(local.sin_port) == kToolPort;
}

namespace {

constexpr int kBindRetries = 20;
constexpr unsigned kBindRetryMs = 10;

void AskDeepQueue(int handle)
{
    // Thousands of devices answer within milliseconds; the default queue
    // holds a few hundred replies. FORCE passes rmem_max for root.
    if (int imposed = ImposedReceiveQueue(); imposed > 0) {
        setsockopt(handle, SOL_SOCKET, SO_RCVBUF, &imposed, sizeof imposed);
        return;
    }
    int size = kReceiveBufferBytes;
    if (setsockopt(handle, SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size) != 0)
        setsockopt(handle, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
}

} // namespace

Status CReplyChannel::Open()
{
    // A channel that holds the port keeps it, with the replies queued on it.
    if (HoldsPort())
        return {};
    Close();
    // Bound without SO_REUSEADDR: EADDRINUSE is how another program holding
    // the port shows, and its replies would otherwise be split between us.
    if (!m_socket.Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET) && m_socket.m_hRawSocket == -1)
        return Status::FromErrno(errno, "Could not open a socket");
    int handle = m_socket.m_hRawSocket;
    // A program started from here a moment ago (the browser) holds a copy of
    // the last socket until it has replaced itself; the port is free again
    // soon after. Only a port that stays taken is reported.
    Status bound = BindToolPort(m_socket);
    for (int retry = 0; bound.Code() == std::errc::address_in_use && retry < kBindRetries; ++retry) {
        usleep(kBindRetryMs * 1000);
        bound = BindToolPort(m_socket);
    }
    if (!bound.Ok()) {
        // The socket stays open, unbound: what is sent goes from another port.
        if (bound.Code() == std::errc::address_in_use)
            return Status(bound.Code(), "Port 10001 is in use by another program");
        return bound;
    }
    AskDeepQueue(handle);
    AskArrivalInfo(handle, true);
    // Names are looked up now, not while a burst of replies waits.
    if (struct if_nameindex* names = if_nameindex()) {
        for (struct if_nameindex* n = names; n->if_index != 0; ++n)
            m_names[n->if_index] = n->if_name;
        if_freenameindex(names);
    }
    return {};
}

Status CReplyChannel::OpenForSending(bool toolPort)
{
    Close();
    if (!m_socket.Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET))
        return Status::FromErrno(errno, "Could not open a socket");
    if (toolPort)
        BindToolPort(m_socket); // while another program holds it, the request leaves from another port
    return {};
}

void CReplyChannel::Close()
{
    m_socket.Close();
    m_held.clear();
}

Result<int> CReplyChannel::Send(const std::vector<Route>& routes, const std::string& text)
{
    return SendBytes(routes, kDevicePort, std::string_view(text.c_str(), text.size() + 1)); // the NUL goes too
}

Result<int> CReplyChannel::SendBytes(const std::vector<Route>& routes, int port, std::string_view text)
{
    int sent = 0;
    Status first;
    std::string failures;
    std::span<const char> bytes(text.data(), text.size());
    for (const Route& route : routes) {
        Status failed = SendAlong(m_socket.m_hRawSocket, route, port, bytes);
        if (failed.Ok()) {
            ++sent;
            continue;
        }
        if (first.Ok())
            first = failed;
        if (failed.Errno() == ENETUNREACH && route.ifindex == 0 && route.destination == kLimitedBroadcast)
            failures += "No IPv4 interface is up and can broadcast\n"; // nor any route for it
        else
            failures += failed.Message() + "\n";
    }
    if (sent > 0 || routes.empty())
        return sent;
    return Status(first.Code(), failures);
}

namespace {

Datagram ToDatagram(const ReceivedDatagram& received)
{
    Datagram d;
    d.data = received.buffer.data();
    d.length = received.length;
    d.sender.m_addr = received.sender;
    d.ifindex = received.ifindex;
    d.arrivalNs = received.arrivalNs;
    return d;
}

} // namespace

void CReplyChannel::Collect(int64_t deadlineNs, const DatagramHandler& handler)
{
    if (HandHeld(handler))
        return;
    while (WaitReadable(deadlineNs)) {
        if (Drain(handler))
            return;
    }
}

// What was read but not yet handed comes first, up to `most` of it. True
// when the handler said stop.
bool CReplyChannel::HandHeld(const DatagramHandler& handler, size_t most)
{
    for (; most > 0 && !m_held.empty(); --most) {
        HeldDatagram held = std::move(m_held.front());
        m_held.pop_front();
        held.datagram.data = held.bytes.data();
        if (handler(held.datagram))
            return true;
    }
    return false;
}

// False once the deadline has passed, or when the socket cannot be waited on.
bool CReplyChannel::WaitReadable(int64_t deadlineNs)
{
    while (!Interrupted()) {
        int64_t left = deadlineNs - MonotonicNs();
        if (left <= 0)
            return false;
        pollfd pfd { m_socket.m_hRawSocket, POLLIN, 0 };
        timespec wait { static_cast<time_t>(left / 1000000000), static_cast<long>(left % 1000000000) };
        int ready = ppoll(&pfd, 1, &wait, m_waitMask);
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
    }
    return false;
}

// Reads batches until the queue is empty (false) or the handler says stop
// (true); the rest of that batch has left the queue and is kept for the next call.
bool CReplyChannel::Drain(const DatagramHandler& handler)
{
    while (true) {
        Result<int> count = m_batch.Receive(m_socket.m_hRawSocket);
        if (!count.Ok() || *count <= 0)
            return false;
        for (int i = 0; i < *count; ++i) {
            if (m_batch[i].truncated || !handler(ToDatagram(m_batch[i])))
                continue; // a truncated one is longer than any reply: dropped whole
            for (int rest = i + 1; rest < *count; ++rest)
                Hold(m_batch[rest]);
            return true;
        }
        if (*count < kBatch)
            return false;
    }
}

void CReplyChannel::Hold(const ReceivedDatagram& received)
{
    if (received.truncated || m_held.size() >= kMostHeld)
        return;
    m_held.push_back({ std::string(received.Bytes().begin(), received.Bytes().end()), ToDatagram(received) });
}

int CReplyChannel::TakeQueued()
{
    int taken = 0;
    while (m_socket.m_hRawSocket != -1) {
        Result<int> count = m_batch.Receive(m_socket.m_hRawSocket);
        if (!count.Ok() || *count <= 0)
            break;
        for (int i = 0; i < *count; ++i)
            Hold(m_batch[i]);
        taken += *count;
        if (*count < kBatch)
            break;
    }
    return taken;
}

bool CReplyChannel::WaitReady(int ms)
{
    return !m_held.empty() || ::WaitReadable(m_socket.m_hRawSocket, ms) > 0;
}

void CReplyChannel::HandReady(int64_t deadlineNs, const DatagramHandler& handler)
{
    TakeQueued();
    while (!m_held.empty() && MonotonicNs() < deadlineNs) {
        // A batch at a time, the socket read in between: a burst that
        // arrives while rows are listed waits here, not in the kernel's queue.
        if (HandHeld(handler, kBatch))
            return;
        TakeQueued();
    }
}

int CReplyChannel::ReceiveOne(void* buffer, int length, CSockAddr& sender, unsigned& ifindex)
{
    if (m_held.empty()) {
        int on = 1; // the socket stays non-blocking from its first read on
        ioctl(m_socket.m_hRawSocket, FIONBIO, &on);
        return ReceiveDatagram(m_socket.m_hRawSocket, buffer, length, 0, &sender.m_addr, &ifindex);
    }
    HeldDatagram held = std::move(m_held.front());
    m_held.pop_front();
    sender = held.datagram.sender;
    ifindex = held.datagram.ifindex;
    if (static_cast<int>(held.bytes.size()) > length)
        return -1;
    std::copy(held.bytes.begin(), held.bytes.end(), static_cast<char*>(buffer));
    return static_cast<int>(held.bytes.size());
}

void CReplyChannel::StopOn(const sigset_t* waitMask, const volatile sig_atomic_t* stop)
{
    m_waitMask = waitMask;
    m_stop = stop;
}

std::string CReplyChannel::InterfaceName(unsigned index)
{
    if (index == 0)
        return {};
    auto known = m_names.find(index);
    if (known != m_names.end())
        return known->second;
    char name[IF_NAMESIZE] = {};
    std::string text = if_indextoname(index, name) ? name : "";
    m_names[index] = text;
    return text;
}
