#include "cli_devices.h"

#include "reply_receiver.h"

#include <netinet/in.h>

#include <random>

#include <gtest/gtest.h>

namespace {

// orbisk-cli reads replies without the desktop table; both must make the
// same device of the same bytes. Awkward cases first, then random datagrams
// built from the bytes that matter: marks, separators, mode digits, NULs.
TEST(CliDevices, ReadsEveryReplyAsTheDesktopTableDoes)
{
    std::vector<std::string> datagrams = {
        std::string("#gw@host@mac@ver@mask@1@"),
        std::string("#gw@host@mac@ver@mask@0"),                 // mode field without its closing '@'
        std::string("#gw@host@mac@ver@mask@x1y0z@1@", 31),      // last digit of the field wins
        std::string("#gw@ho\0st@mac@ver@mask@1@", 25),           // NUL cuts the fields, not the mode
        std::string("#gw@host@mac@ver@mask@\0" "1@", 25),
        std::string("#gw@host@mac"),                             // fields missing
        std::string("#"),
        std::string("#@@@@@@@@@"),
        std::string("$0"),                                       // a change reply
        std::string("STSS\0", 5),
        std::string(),
    };
    std::mt19937 random(16);
    const char bytes[] = { '#', '@', '@', '@', '0', '1', 'a', '\0', '\xE9', '$' };
    for (int i = 0; i < 5000; ++i) {
        std::string d(std::uniform_int_distribution<size_t>(0, 100)(random), '\0');
        for (char& c : d)
            c = bytes[std::uniform_int_distribution<size_t>(0, sizeof bytes - 1)(random)];
        if (!d.empty() && i % 4 != 0)
            d[0] = '#';
        datagrams.push_back(d);
    }

    CSockAddr sender("198.18.4.7", 10001);
    for (const std::string& d : datagrams) {
        SCOPED_TRACE(testing::PrintToString(d));
        CMemoryReplyTarget desktop;
        ReplyKind kind = HandleReply(&desktop, d.data(), static_cast<int>(d.size()), sender);
        CliDevice device;
        bool read = ReadDeviceReply(d.data(), static_cast<int>(d.size()), sender.ToString(), device);
        ASSERT_EQ(read, kind == ReplyDevice);
        ASSERT_EQ(desktop.m_list.Rows().size(), read ? 1u : 0u);
        if (!read)
            continue;
        const DeviceRow& row = desktop.m_list.Rows()[0];
        for (int column = ColAddress; column < kDeviceColumns; ++column)
            ASSERT_EQ(device.row.cells[column], row.cells[column]) << "column " << column;
        ASSERT_EQ(device.row.info.mode, row.info.mode);
    }
}

} // namespace
