#pragma once

#include "device_table.h"
#include "udp_socket.h"

#include <string>

enum ReplyKind {
    ReplyNone = 0,     // nothing read, or no reply of the protocol
    ReplyDevice = 1,   // a discovery reply
    ReplyChanged = 2,  // change reply "$0"
    ReplyDenied = 3,   // change reply "$1": wrong user or password
    ReplyOther = 4,    // any other change reply
};

// What the receiver reaches through the main window while a scan runs.
class CReplyTarget {
public:
    virtual ~CReplyTarget() = default;
    // The Setup IP dialog's address mode (m_nMode).
    virtual int& AddressMode() = 0;
    virtual void AddDeviceRow(const DeviceReply& reply) = 0;
};

// The main window as far as the receiver reaches it, over an in-memory device
// table: for front ends and tests without a window.
class CMemoryReplyTarget : public CReplyTarget {
public:
    int& AddressMode() override { return m_nMode; }
    void AddDeviceRow(const DeviceReply& reply) override
    {
        ::AddDeviceRow(m_list, m_nDeviceCount, reply);
    }

    CMemoryListView m_list;
    int m_nDeviceCount = 0;
    int m_nMode = -1;
};

// How long one poll waits for a datagram on the listener.
inline constexpr int kPollWaitMs = 500;

// Takes at most one datagram from g_listener, waiting up to kPollWaitMs, and
// classifies it. With a target, a discovery reply sets the address mode and
// goes to the device table.
ReplyKind PollReply(CReplyTarget* target);

// Takes every datagram ready on g_listener, waiting up to waitMs when none is,
// and handles each as PollReply does, until none is left or budgetMs have
// passed since the wait: the rest is taken by the next call. Returns how
// many were taken.
int PollReplies(CReplyTarget* target, int waitMs, int budgetMs);

// The part of PollReply after the read: one received datagram of `length`
// bytes from `sender`, arrived by port `ifindex` (0 when unknown).
ReplyKind HandleReply(CReplyTarget* target, const char* data, int length, const CSockAddr& sender,
    unsigned ifindex = 0);
