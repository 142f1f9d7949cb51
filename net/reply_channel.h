#pragma once

// The tool port (UDP 10001) of both programs: bound before a request leaves,
// the requests sent from it, and every reply taken with a deep receive queue
// and batch reads. orbisk-cli reads it without pause until a deadline; the
// desktop takes what is queued whenever the socket is readable and lists it
// a tick at a time.

#include "datagram.h"
#include "status.h"
#include "udp_socket.h"
#include "wire_ports.h"

#include <signal.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

struct Datagram {
    const char* data = nullptr;
    int length = 0;
    CSockAddr sender { nullptr, 0 };
    unsigned ifindex = 0;      // interface that received it, 0 when unknown
    int64_t arrivalNs = 0;     // kernel receive time, CLOCK_REALTIME
};

// Returns true to stop.
using DatagramHandler = std::function<bool(const Datagram&)>;

class CReplyChannel {
public:
    // Over a socket of its own.
    CReplyChannel();
    // Over a socket that lives elsewhere (the desktop's g_listener).
    explicit CReplyChannel(CUdpSocket& socket);
    ~CReplyChannel() { Close(); }
    CReplyChannel(const CReplyChannel&) = delete;
    CReplyChannel& operator=(const CReplyChannel&) = delete;

    // Binds 0.0.0.0:10001 with a deep receive queue. A channel that holds the
    // port already is kept as it is, with the replies queued on it (a scan
    // started again). A port that stays taken for 200 ms fails with
    // EADDRINUSE: "Port 10001 is in use by another program".
    Status Open();
    // A socket that only sends: no reply is awaited. From any port, or from
    // the tool port with `toolPort` while no other program holds it.
    Status OpenForSending(bool toolPort = false);
    // The socket and every datagram taken from it.
    void Close();
    bool HoldsPort() const;
    int Handle() const { return m_socket.m_hRawSocket; }

    // Sends text and its NUL along every route. Returns how many went out; a
    // port that refuses is no failure while another took the text. When none
    // did, the failure's message describes each route's, one line each.
    Result<int> Send(const std::vector<Route>& routes, const std::string& text);
    // Sends raw bytes (no NUL added) along every route to UDP `port`, as Send.
    Result<int> SendBytes(const std::vector<Route>& routes, int port, std::string_view bytes);

    // Hands every datagram of at most the reply limit to the handler until
    // the deadline (CLOCK_MONOTONIC ns) or until the handler says stop;
    // datagrams read with the last one handed are handed first next time.
    // Longer datagrams are dropped, as the protocol wants.
    void Collect(int64_t deadlineNs, const DatagramHandler& handler);

    // Moves what is queued on the socket into the channel, without waiting:
    // the socket's queue is emptied as replies arrive, however slowly they
    // are listed. Returns how many were taken.
    int TakeQueued();
    // Whether a datagram is ready, in the channel or on the socket, waiting
    // up to ms for one.
    bool WaitReady(int ms);
    // Hands what is ready, without waiting, until none is left, the handler
    // says stop or the deadline passes; the socket is read between batches.
    void HandReady(int64_t deadlineNs, const DatagramHandler& handler);
    // One datagram, without waiting: its length, or -1 when none is ready or
    // it was longer than `length` (dropped all the same).
    int ReceiveOne(void* buffer, int length, CSockAddr& sender, unsigned& ifindex);

    // Lets a stop signal end a wait at once: the caller keeps the signals
    // blocked but for `waitMask`, which is in force only inside the wait
    // (ppoll), and the handler sets `stop`. Collect then returns early.
    void StopOn(const sigset_t* waitMask, const volatile sig_atomic_t* stop);
    bool Interrupted() const { return m_stop != nullptr && *m_stop != 0; }

    // Name of an interface index, "" when unknown. Open learns the names of
    // the interfaces present; others are looked up once and remembered.
    std::string InterfaceName(unsigned index);

private:
    struct HeldDatagram {
        std::string bytes;
        Datagram datagram;
    };
    static constexpr int kBatch = 64;
    // Room for the largest bursts measured, 4,000 devices answering three
    // requests, with a wide margin; a flood beyond it is dropped.
    static constexpr size_t kMostHeld = 65536;

    bool HandHeld(const DatagramHandler& handler, size_t most = SIZE_MAX);
    bool WaitReadable(int64_t deadlineNs);
    bool Drain(const DatagramHandler& handler);
    void Hold(const ReceivedDatagram& received);

    CUdpSocket m_own;
    CUdpSocket& m_socket;
    CDatagramBatch m_batch { kBatch, wire::kReplyLimit }; // longer datagrams come back truncated
    std::map<unsigned, std::string> m_names;
    std::deque<HeldDatagram> m_held; // read but not yet handed
    const sigset_t* m_waitMask = nullptr;
    const volatile sig_atomic_t* m_stop = nullptr;
};

// Broadcast is not acknowledged, so a discovery request goes several times.
inline constexpr int kDefaultRepeat = 3;
inline constexpr int kMaxRepeat = 5;

// When each of `repeat` discovery requests leaves, in ms after the first:
// a few hundred ms apart, and within the first half of a short timeout, so
// the answers to the last one still have time to arrive.
std::vector<int> RequestOffsetsMs(int repeat, int timeoutMs);

int64_t MonotonicNs();
int64_t RealtimeNs();
int64_t CpuTimeNs(); // this process's CPU time

// How large a receive queue is asked for. Each queued reply is charged
// about 830 bytes (its buffer, not its payload), and the kernel doubles the
// figure: room for some 40,000 replies that arrive before a read. An
// ordinary user gets net.core.rmem_max at most, room for a few hundred.
inline constexpr int kReceiveBufferBytes = 16 * 1024 * 1024;

// The receive queue to ask for instead, as SO_RCVBUF bytes: ORBISK_RECEIVE_QUEUE
// when it holds a number, else 0. Tests run as root give the channel an
// ordinary user's queue with it: net.core.rmem_max, 212992 on a stock system
// (which the kernel doubles, as it does for everyone).
int ImposedReceiveQueue();
