// One received datagram after another through the reply receiver, with the
// device table behind it. Input: a start mode byte, then records of
//   control byte, [4 sender octets if control & 0x20], length byte, datagram.
// control & 0x80: no target (the address-change context); & 0x40: clear the
// table first; otherwise the sender is 198.18.0.(control & 0x1f), so that
// senders repeat.

#include "fuzz_support.h"

#include "device_table.h"
#include "reply_receiver.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

ReplyKind ExpectedKind(std::string_view d)
{
    if (d.empty())
        return ReplyNone;
    if (d[0] == '#')
        return ReplyDevice;
    if (d[0] != '$')
        return ReplyNone;
    if (d.size() < 2)
        return ReplyOther;
    return d[1] == '0' ? ReplyChanged : d[1] == '1' ? ReplyDenied : ReplyOther;
}

bool SameRow(const DeviceRow& a, const DeviceRow& b)
{
    for (int c = 0; c < kDeviceColumns; ++c)
        if (a.cells[c] != b.cells[c])
            return false;
    return a.info.reply.mode == b.info.reply.mode;
}

bool Listed(const std::vector<DeviceRow>& rows, const std::string& sender)
{
    for (const DeviceRow& row : rows)
        if (row.cells[ColAddress] == sender)
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    CMemoryReplyTarget window;
    window.m_nMode = in.Byte() % 3 - 1;
    size_t discoveryCalls = 0; // with the window, since the last clear

    while (!in.Empty()) {
        uint8_t control = in.Byte();
        if (control & 0x40) {
            ClearDevices(window.m_list, window.m_nDeviceCount);
            discoveryCalls = 0;
        }
        uint8_t octets[4] = { 198, 18, 0, static_cast<uint8_t>(control & 0x1f) };
        if (control & 0x20)
            for (uint8_t& o : octets)
                o = in.Byte();
        CSockAddr sender(nullptr, 0);
        std::memcpy(&sender.m_addr.sin_addr.s_addr, octets, 4); // network order: first octet first
        fuzz::ExactBuffer datagram(in.Chunk());
        CReplyTarget* target = (control & 0x80) ? nullptr : &window;

        const std::vector<DeviceRow> before = window.m_list.Rows();
        const int modeBefore = window.m_nMode;
        ReplyKind kind = HandleReply(target, datagram.data(), datagram.length(), sender);
        const std::vector<DeviceRow>& rows = window.m_list.Rows();

        const std::string_view bytes = datagram.view();
        FUZZ_CHECK(kind == ExpectedKind(bytes));
        const std::string senderText = sender.ToString();
        FUZZ_CHECK(senderText == std::to_string(octets[0]) + "." + std::to_string(octets[1]) + "."
                + std::to_string(octets[2]) + "." + std::to_string(octets[3]));

        if (target && kind == ReplyDevice) {
            ++discoveryCalls;
            FUZZ_CHECK(window.m_nMode == fuzz::ReferenceMode(bytes, modeBefore));
            const bool added = !Listed(before, senderText);
            FUZZ_CHECK(rows.size() == before.size() + (added ? 1 : 0));
            if (added) {
                const DeviceRow& row = rows.back();
                const std::string_view text = bytes.substr(0, bytes.find('\0'));
                const auto f = fuzz::ReferenceFields(text);
                FUZZ_CHECK(row.cells[ColNumber] == std::to_string(before.size()));
                FUZZ_CHECK(row.cells[ColAddress] == senderText);
                FUZZ_CHECK(fuzz::RowShowsFields(row, f));
                for (int c = ColVersion; c <= ColNetmask; ++c)
                    FUZZ_CHECK(text.find(row.cells[c]) != std::string_view::npos);
                FUZZ_CHECK(row.info.reply.mode == ModeOfIndex(fuzz::ReferenceMode(bytes, -1)));
            }
        } else {
            FUZZ_CHECK(window.m_nMode == modeBefore);
            FUZZ_CHECK(rows.size() == before.size());
        }

        FUZZ_CHECK(window.m_nMode == modeBefore || window.m_nMode == 0 || window.m_nMode == 1);
        for (size_t i = 0; i < before.size(); ++i)
            FUZZ_CHECK(SameRow(rows[i], before[i]));
        FUZZ_CHECK(window.m_nDeviceCount == window.m_list.GetItemCount());
        FUZZ_CHECK(rows.size() <= discoveryCalls);
    }
    // One row per sender.
    const std::vector<DeviceRow>& rows = window.m_list.Rows();
    for (size_t i = 0; i < rows.size(); ++i)
        for (size_t j = i + 1; j < rows.size(); ++j)
            FUZZ_CHECK(rows[i].cells[ColAddress] != rows[j].cells[ColAddress]);
    return 0;
}
