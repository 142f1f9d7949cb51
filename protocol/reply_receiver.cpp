#include "reply_receiver.h"

#include "tool_port.h"
#include "reply_channel.h"
#include "wire.h"

ReplyKind PollReply(CReplyTarget* target)
{
    CSockAddr sender(nullptr, 0);
    g_replies.WaitReady(kPollWaitMs); // outcome not needed: the read tells
    char buffer[wire::kReplyLimit];
    unsigned ifindex = 0;
    int length = ReceiveOnListener(buffer, sizeof buffer, sender, ifindex);
    if (length <= 0)
        return ReplyNone;
    return HandleReply(target, buffer, length, sender, ifindex);
}

int PollReplies(CReplyTarget* target, int waitMs, int budgetMs)
{
    g_replies.WaitReady(waitMs);
    int taken = 0;
    g_replies.HandReady(MonotonicNs() + static_cast<int64_t>(budgetMs) * 1000000, [&](const Datagram& d) {
        HandleReply(target, d.data, d.length, d.sender, d.ifindex);
        ++taken;
        return false;
    });
    return taken;
}

ReplyKind HandleReply(CReplyTarget* target, const char* data, int length, const CSockAddr& sender, unsigned ifindex)
{
    if (length <= 0)
        return ReplyNone;
    if (data[0] == wire::kChangeMark) {
        if (length < 2)
            return ReplyOther;
        if (data[1] == wire::kStatusChanged)
            return ReplyChanged;
        if (data[1] == wire::kStatusDenied)
            return ReplyDenied;
        return ReplyOther;
    }
    if (data[0] != wire::kDeviceMark)
        return ReplyNone;
    if (target == nullptr)
        return ReplyDevice;

    std::span<const char> datagram(data, static_cast<size_t>(length));
    int& mode = target->AddressMode();
    mode = WalkAddressMode(datagram, mode);
    target->AddDeviceRow(*ParseDeviceReply(datagram, sender.ToString(), ifindex));
    return ReplyDevice;
}
