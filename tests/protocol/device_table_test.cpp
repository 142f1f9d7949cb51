#include "device_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class DeviceTable : public ::testing::Test {
protected:
    void Add(const std::string& reply, const std::string& sender)
    {
        if (auto parsed = ParseDeviceReply(std::span<const char>(reply.data(), reply.size()), sender))
            AddDeviceRow(m_list, m_nDeviceCount, *parsed);
    }

    std::vector<std::string> Row(int row) const
    {
        std::vector<std::string> cells;
        for (int column = 0; column < kDeviceColumns; ++column)
            cells.push_back(m_list.GetItemText(row, column));
        return cells;
    }

    using Cells = std::vector<std::string>;

    CMemoryListView m_list;
    int m_nDeviceCount = 0;
};

TEST_F(DeviceTable, ColumnsFollowTheTableNotTheReply)
{
    Add("#G@H@M@V@N@1@", "10.0.0.5");
    ASSERT_EQ(m_list.GetItemCount(), 1);
    EXPECT_EQ(m_nDeviceCount, 1);
    EXPECT_EQ(Row(0), (Cells { "0", "10.0.0.5", "V", "H", "G", "M", "N" }));
}

TEST_F(DeviceTable, RowsAreNumberedFromZeroInArrivalOrder)
{
    Add("#g0@h0@m0@v0@n0@0@", "10.0.0.7");
    Add("#g1@h1@m1@v1@n1@1@", "10.0.0.3");
    Add("#g2@h2@m2@v2@n2@1@", "10.0.0.9");
    ASSERT_EQ(m_nDeviceCount, 3);
    ASSERT_EQ(m_list.GetItemCount(), 3);
    EXPECT_EQ(Row(0), (Cells { "0", "10.0.0.7", "v0", "h0", "g0", "m0", "n0" }));
    EXPECT_EQ(Row(1), (Cells { "1", "10.0.0.3", "v1", "h1", "g1", "m1", "n1" }));
    EXPECT_EQ(Row(2), (Cells { "2", "10.0.0.9", "v2", "h2", "g2", "m2", "n2" }));
}

TEST_F(DeviceTable, ListedSenderKeepsItsFirstRow)
{
    Add("#G@H@M@V@N@1@", "10.0.0.5");
    Add("#G2@H2@M2@V2@N2@0@", "10.0.0.5");
    Add("garbage", "10.0.0.5");
    EXPECT_EQ(m_nDeviceCount, 1);
    ASSERT_EQ(m_list.GetItemCount(), 1);
    EXPECT_EQ(Row(0), (Cells { "0", "10.0.0.5", "V", "H", "G", "M", "N" }));
    EXPECT_EQ(m_list.GetItemData(0).reply.mode, AddressMode::Dhcp);
}

TEST_F(DeviceTable, SendersAreComparedWhole)
{
    Add("#a@@@@@@", "10.0.0.5");
    Add("#b@@@@@@", "10.0.0.50");
    Add("#c@@@@@@", "10.0.0.5");
    Add("#d@@@@@@", "10.0.0.50");
    Add("#e@@@@@@", "10.0.0.");
    ASSERT_EQ(m_nDeviceCount, 3);
    EXPECT_EQ(m_list.GetItemText(0, ColGateway), "a");
    EXPECT_EQ(m_list.GetItemText(1, ColAddress), "10.0.0.50");
    EXPECT_EQ(m_list.GetItemText(1, ColGateway), "b");
    EXPECT_EQ(m_list.GetItemText(2, ColAddress), "10.0.0.");
}

TEST_F(DeviceTable, MarkWithSixSeparatorsGivesEmptyCells)
{
    Add("#@@@@@@", "10.0.0.5");
    ASSERT_EQ(m_nDeviceCount, 1);
    EXPECT_EQ(Row(0), (Cells { "0", "10.0.0.5", "", "", "", "", "" }));
}

TEST_F(DeviceTable, FiveSeparatorsGiveACompleteRow)
{
    Add("#G@H@M@V@N@1", "10.0.0.5");
    Add("#G@H@M@V@N@", "10.0.0.6");
    ASSERT_EQ(m_nDeviceCount, 2);
    EXPECT_EQ(Row(0), (Cells { "0", "10.0.0.5", "V", "H", "G", "M", "N" }));
    EXPECT_EQ(Row(1), (Cells { "1", "10.0.0.6", "V", "H", "G", "M", "N" }));
}

TEST_F(DeviceTable, FewerSeparatorsLeaveUnclosedFieldsEmpty)
{
    Add("#G@H@M@V@Netmask", "10.0.0.1");
    Add("#G@Host", "10.0.0.2");
    Add("#", "10.0.0.3");
    Add("#Gateway", "10.0.0.4");
    ASSERT_EQ(m_nDeviceCount, 4);
    EXPECT_EQ(Row(0), (Cells { "0", "10.0.0.1", "V", "H", "G", "M", "" }));
    EXPECT_EQ(Row(1), (Cells { "1", "10.0.0.2", "", "", "G", "", "" }));
    EXPECT_EQ(Row(2), (Cells { "2", "10.0.0.3", "", "", "", "", "" }));
    EXPECT_EQ(Row(3), (Cells { "3", "10.0.0.4", "", "", "", "", "" }));
}

TEST_F(DeviceTable, BytesPassThroughUntrimmed)
{
    Add("# G @\xb2\xe2\xca\xd4@@v 1@@1@", "10.0.0.5");
    EXPECT_EQ(Row(0), (Cells { "0", "10.0.0.5", "v 1", "\xb2\xe2\xca\xd4", " G ", "", "" }));
}

TEST_F(DeviceTable, TextMustStartWithTheMark)
{
    Add("#G@H@M@V@N@1@", "10.0.0.1");
    for (const char* reply : { "G@H@M@V@N@1@", "x#G@H@M@V@N@1@", " #G@H@M@V@N@1@", "$0", "" })
        Add(reply, "10.0.0.9");
    EXPECT_EQ(m_nDeviceCount, 1);
    EXPECT_EQ(m_list.GetItemCount(), 1);
    // The rejected sender is not listed, so a proper reply from it still counts.
    Add("#G@H@M@V@N@1@", "10.0.0.9");
    EXPECT_EQ(m_nDeviceCount, 2);
    EXPECT_EQ(m_list.GetItemText(1, ColNumber), "1");
}

TEST_F(DeviceTable, ClearStartsNumberingAgain)
{
    Add("#a@@@@@@", "10.0.0.5");
    Add("#b@@@@@@", "10.0.0.6");
    m_list.SetSelectionMark(1);
    ClearDevices(m_list, m_nDeviceCount);
    EXPECT_EQ(m_nDeviceCount, 0);
    EXPECT_EQ(m_list.GetItemCount(), 0);
    EXPECT_EQ(m_list.GetSelectionMark(), -1);

    Add("#c@@@@@@", "10.0.0.6");
    ASSERT_EQ(m_nDeviceCount, 1);
    EXPECT_EQ(Row(0), (Cells { "0", "10.0.0.6", "", "", "c", "", "" }));
}

TEST_F(DeviceTable, SelectionMarkNamesOnlyExistingRows)
{
    EXPECT_EQ(m_list.GetSelectionMark(), -1);
    m_list.SetSelectionMark(0);
    EXPECT_EQ(m_list.GetSelectionMark(), -1);

    Add("#a@@@@@@", "10.0.0.5");
    Add("#b@@@@@@", "10.0.0.6");
    m_list.SetSelectionMark(1);
    EXPECT_EQ(m_list.GetSelectionMark(), 1);
    m_list.SetSelectionMark(2);
    EXPECT_EQ(m_list.GetSelectionMark(), -1);
    m_list.SetSelectionMark(0);
    Add("#c@@@@@@", "10.0.0.7");
    EXPECT_EQ(m_list.GetSelectionMark(), 0); // appending leaves the mark on its row
    m_list.SetSelectionMark(-1);
    EXPECT_EQ(m_list.GetSelectionMark(), -1);
    EXPECT_EQ(m_list.GetItemText(5, ColAddress), "");
}

TEST_F(DeviceTable, RowRemembersItsOwnAddressMode)
{
    Add("#a@@@@@1@", "10.0.0.5");
    Add("#b@@@@@0@", "10.0.0.6");
    Add("#c@@@@@@", "10.0.0.7");
    EXPECT_EQ(m_list.GetItemData(0).reply.mode, AddressMode::Dhcp);
    EXPECT_EQ(m_list.GetItemData(1).reply.mode, AddressMode::Static);
    EXPECT_EQ(m_list.GetItemData(2).reply.mode, AddressMode::NotGiven);
    EXPECT_EQ(m_list.GetItemData(3).reply.mode, AddressMode::NotGiven);
    ClearDevices(m_list, m_nDeviceCount);
    Add("#b@@@@@0@", "10.0.0.6");
    EXPECT_EQ(m_list.GetItemData(0).reply.mode, AddressMode::Static);
}

} // namespace
