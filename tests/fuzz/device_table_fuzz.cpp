// The device table's split of reply texts, over the in-memory list view.
// Input: records of control byte, [sender chunk if control & 0x20], reply
// chunk (a chunk is a length byte and that many bytes). control & 0x80 clears
// the table first; & 0x40 sets the selection mark to (control & 0x0f) - 1;
// otherwise the sender is 198.18.0.(control & 0x0f). Reply texts here may
// hold NUL bytes: the table is handed whatever it is given.

#include "fuzz_support.h"

#include "device_table.h"
#include "wire.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

bool Listed(const std::vector<DeviceRow>& rows, const std::string& sender)
{
    return std::any_of(rows.begin(), rows.end(), [&](const DeviceRow& r) { return r.cells[ColAddress] == sender; });
}

bool SameCells(const DeviceRow& a, const DeviceRow& b)
{
    return std::equal(std::begin(a.cells), std::end(a.cells), std::begin(b.cells)) && a.info.reply.mode == b.info.reply.mode;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    CMemoryListView list;
    int nDeviceCount = 0;

    while (!in.Empty()) {
        uint8_t control = in.Byte();
        if (control & 0x80) {
            ClearDevices(list, nDeviceCount);
            FUZZ_CHECK(list.GetItemCount() == 0 && nDeviceCount == 0 && list.GetSelectionMark() == -1);
        }
        if (control & 0x40) {
            int wanted = (control & 0x0f) - 1;
            list.SetSelectionMark(wanted);
            FUZZ_CHECK(list.GetSelectionMark() == (wanted < list.GetItemCount() ? wanted : -1));
        }
        std::string sender = "198.18.0." + std::to_string(control & 0x0f);
        if (control & 0x20)
            sender = std::string(in.Chunk());
        fuzz::ExactBuffer reply(in.Chunk());
        const std::string_view text = reply.view();

        const auto expected = fuzz::ReferenceFields(text);
        const auto fields = SplitDiscoveryReply(text);
        for (int j = 0; j < wire::kDiscoveryFields; ++j) {
            FUZZ_CHECK(fields[j] == expected[j]);
            FUZZ_CHECK(text.find(fields[j]) != std::string_view::npos);
        }
        const bool complete = !text.empty() && text[0] == '#' && std::count(text.begin() + 1, text.end(), '@') >= 5;
        FUZZ_CHECK(IsCompleteDiscoveryReply(text) == complete);

        const std::vector<DeviceRow> before = list.Rows();
        if (auto parsed = ParseDeviceReply(std::span<const char>(text.data(), text.size()), sender))
            AddDeviceRow(list, nDeviceCount, *parsed);
        const std::vector<DeviceRow>& rows = list.Rows();

        const bool added = !Listed(before, sender) && !text.empty() && text[0] == '#';
        FUZZ_CHECK(rows.size() == before.size() + (added ? 1 : 0));
        FUZZ_CHECK(nDeviceCount == list.GetItemCount());
        for (size_t i = 0; i < before.size(); ++i)
            FUZZ_CHECK(SameCells(rows[i], before[i]));
        if (added) {
            const DeviceRow& row = rows.back();
            FUZZ_CHECK(row.cells[ColNumber] == std::to_string(before.size()));
            FUZZ_CHECK(row.cells[ColAddress] == sender);
            FUZZ_CHECK(fuzz::RowShowsFields(row, fuzz::ReferenceFields(text.substr(0, text.find('\0')))));
            FUZZ_CHECK(row.info.reply.mode == ModeOfIndex(fuzz::ReferenceMode(text, -1)));
        }
        const int mark = list.GetSelectionMark();
        FUZZ_CHECK(mark >= -1 && mark < list.GetItemCount());
    }
    return 0;
}
