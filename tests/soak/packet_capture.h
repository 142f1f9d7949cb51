#pragma once

// Sees every small datagram that reaches UDP port 10001 on one interface,
// beside the program under test and independent of it: a packet socket with a
// kernel filter that lets through only whole (unfragmented) UDP datagrams to
// that port of at most 100 bytes. The soak checks the rows a scan shows
// against these bytes.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class CPacketCapture {
public:
    CPacketCapture() = default;
    ~CPacketCapture();
    CPacketCapture(const CPacketCapture&) = delete;
    CPacketCapture& operator=(const CPacketCapture&) = delete;

    // Opens the capture on an interface of the calling process's namespace.
    // False with errno-based reason in `why`.
    bool Open(const std::string& interfaceName, std::string* why);

    // Takes everything queued, without waiting.
    void Drain();

    // Discovery replies (first byte '#') seen from each sender, "%d.%d.%d.%d".
    const std::map<std::string, std::vector<std::string>>& DiscoveryReplies() const { return m_discovery; }
    // Change replies (first byte '$') seen from each sender.
    const std::map<std::string, std::vector<std::string>>& ChangeReplies() const { return m_change; }
    // Every datagram seen, any first byte, by sender.
    const std::map<std::string, uint64_t>& CountBySender() const { return m_count; }
    uint64_t Datagrams() const { return m_nDatagrams; }
    // Forgets the replies seen so far (not the counts): a scan that starts
    // now can only read what arrives from now on.
    void ForgetReplies()
    {
        m_discovery.clear();
        m_change.clear();
    }
    // Packets the kernel had to drop because the capture fell behind.
    uint64_t Dropped();

private:
    int m_hSocket = -1;
    std::map<std::string, std::vector<std::string>> m_discovery;
    std::map<std::string, std::vector<std::string>> m_change;
    std::map<std::string, uint64_t> m_count;
    uint64_t m_nDatagrams = 0;
    uint64_t m_nDropped = 0;
};
