#pragma once

// The socket side of orbisk-cli: one socket bound to the tool port both sends
// the requests and receives every reply, drained in batches until a deadline.

#include "cli_options.h"
#include "datagram.h"
#include "status.h"
#include "udp_socket.h"

#include <signal.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// The net routes of a send plan: its --target texts as addresses.
RoutePlan ToRoutePlan(const SendPlan& plan);

struct Datagram {
    const char* data = nullptr;
    int length = 0;
    CSockAddr sender { nullptr, 0 };
    unsigned ifindex = 0;      // interface that received it, 0 when unknown
    int64_t arrivalNs = 0;     // kernel receive time, CLOCK_REALTIME
};

// Returns true to stop collecting.
using DatagramHandler = std::function<bool(const Datagram&)>;

// The tool port with a receive queue deep enough for a burst of replies.
class CReplyChannel {
public:
    CReplyChannel() = default;
    ~CReplyChannel() { Close(); }
    CReplyChannel(const CReplyChannel&) = delete;
    CReplyChannel& operator=(const CReplyChannel&) = delete;

    // Binds 0.0.0.0:10001.
    Status Open();
    // A socket that only sends, from any port: no reply is awaited.
    Status OpenForSending();
    void Close();

    // Sends text and its NUL along every route. Returns how many went out; a
    // port that refuses is no failure while another took the text. When none
    // did, the failure's message describes each route's, one line each.
    Result<int> Send(const std::vector<Route>& routes, const std::string& text);

    // Hands every datagram of at most the reply limit to the handler until
    // the deadline (CLOCK_MONOTONIC ns) or until the handler says stop;
    // datagrams read with the last one handed are handed first next time.
    // Longer datagrams are dropped, as the protocol wants.
    void Collect(int64_t deadlineNs, const DatagramHandler& handler);

    // Sends raw bytes (no NUL added) along every route to UDP `port`, as Send.
    Result<int> SendBytes(const std::vector<Route>& routes, int port, std::string_view bytes);

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

    bool HandHeld(const DatagramHandler& handler);
    bool WaitReadable(int64_t deadlineNs);
    bool Drain(const DatagramHandler& handler);

    CUdpSocket m_socket;
    CDatagramBatch m_batch { kBatch, wire::kReplyLimit }; // longer datagrams come back truncated
    std::map<unsigned, std::string> m_names;
    std::deque<HeldDatagram> m_held; // read in a batch after the handler said stop
    const sigset_t* m_waitMask = nullptr;
    const volatile sig_atomic_t* m_stop = nullptr;
};

// When each of `repeat` discovery requests leaves, in ms after the first:
// a few hundred ms apart, and within the first half of a short timeout, so
// the answers to the last one still have time to arrive.
std::vector<int> RequestOffsetsMs(int repeat, int timeoutMs);

int64_t MonotonicNs();
int64_t RealtimeNs();
int64_t CpuTimeNs(); // this process's CPU time

// How large a receive queue is asked for. Each queued reply is charged
// about 830 bytes (its buffer, not its payload), and the kernel doubles the
// figure: room for some 40,000 replies that arrive before a read.
inline constexpr int kReceiveBufferBytes = 16 * 1024 * 1024;
