#pragma once

// The simulator's one loop: a single socket on port 10000 for every device,
// replies sent from each device's own address, hostile traffic on the side.

#include "datagram.h"
#include "devsim_options.h"
#include "sim_device.h"
#include "udp_socket.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

class CDeviceSimulator {
public:
    explicit CDeviceSimulator(SimOptions options);
    ~CDeviceSimulator();
    CDeviceSimulator(const CDeviceSimulator&) = delete;
    CDeviceSimulator& operator=(const CDeviceSimulator&) = delete;

    // Runs until SIGTERM or SIGINT; returns the process's exit status.
    int Run();

private:
    using Clock = std::chrono::steady_clock;
    static constexpr int kMaxDatagram = 65507; // largest UDP payload over IPv4
    static constexpr int kReadBatch = 16;      // datagrams read at once

    struct Outgoing {
        Ipv4 source;
        sockaddr_in to {};
        std::string bytes;
    };

    bool Start();
    bool OpenWakePort();
    void ReceiveWake();
    bool Awake(size_t device, Clock::time_point now) const;
    void ReceivePending();
    void Handle(std::string_view data, const sockaddr_in& from, Ipv4 destination);
    void HandleDiscovery(const sockaddr_in& from, Ipv4 destination);
    void HandleChange(const ChangeRequest& request, const sockaddr_in& from, const std::string& sender);
    void Reply(size_t device, const sockaddr_in& from, const std::vector<std::string>& datagrams);
    void SendDue(Clock::time_point now);
    void RunHostile(Clock::time_point now);
    Clock::time_point NextWake(Clock::time_point now) const;
    bool SendFrom(Ipv4 source, const sockaddr_in& to, std::string_view bytes);
    bool ApplyChange(size_t device, const ChangeRequest& change);
    bool Drops(std::vector<int>& firstLeft, size_t device);

    SimOptions m_options;
    std::vector<SimDevice> m_devices;
    CUdpSocket m_socket;
    CUdpSocket m_wakeSocket; // UDP port 9, with --asleep
    CDatagramBatch m_batch { kReadBatch, kMaxDatagram + 1 }; // one byte more than fits: none is truncated
    FILE* m_log = nullptr;
    std::multimap<Clock::time_point, Outgoing> m_queue;
    std::mt19937 m_random;
    std::vector<int> m_requestsToDrop; // per device, what is left of --drop-first
    std::vector<int> m_repliesToDrop;  // per device, of --drop-first-replies
    // Per device, when it answers from: never while asleep, at once otherwise.
    std::vector<std::optional<Clock::time_point>> m_awakeFrom;

    Clock::time_point m_start;
    long long m_nFloodSent = 0;
    bool m_bFloodDone = true;
    int m_nNextLength = 0; // next length of --every-length; past the maximum when done
    Clock::time_point m_nextUnsolicited;

    unsigned long long m_nReceived = 0;
    unsigned long long m_nSent = 0;
    unsigned long long m_nSendErrors = 0;
    unsigned long long m_nDropped = 0;
};
