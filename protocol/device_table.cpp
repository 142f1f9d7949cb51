#include "device_table.h"

#include <algorithm>

int CMemoryListView::GetItemCount() const
{
    return static_cast<int>(m_rows.size());
}

std::string CMemoryListView::GetItemText(int row, int column) const
{
    if (!Has(row) || column < 0 || column >= kDeviceColumns)
        return {};
    return m_rows[row].cells[column];
}

int CMemoryListView::InsertItem(int row, const std::string& text)
{
    if (row < 0 || row > GetItemCount())
        row = GetItemCount();
    DeviceRow added;
    added.cells[ColNumber] = text;
    m_rows.insert(m_rows.begin() + row, added);
    if (m_nMark >= row)
        ++m_nMark;
    return row;
}

void CMemoryListView::SetItemText(int row, int column, const std::string& text)
{
    if (Has(row) && column >= 0 && column < kDeviceColumns)
        m_rows[row].cells[column] = text;
}

void CMemoryListView::DeleteAllItems()
{
    m_rows.clear();
    m_nMark = -1;
}

int CMemoryListView::GetSelectionMark() const
{
    return m_nMark;
}

void CMemoryListView::SetSelectionMark(int row)
{
    m_nMark = Has(row) ? row : -1;
}

void CMemoryListView::SetItemData(int row, const RowInfo& info)
{
    if (Has(row))
        m_rows[row].info = info;
}

RowInfo CMemoryListView::GetItemData(int row) const
{
    return Has(row) ? m_rows[row].info : RowInfo {};
}

namespace {

void NoteMac(IListView& list, int row, const DeviceReply& reply)
{
    RowInfo info = list.GetItemData(row);
    auto same = [&](const std::string& mac) { return SameMac(mac, reply.mac); };
    if (info.reply.ifindex != reply.ifindex || std::any_of(info.macs.begin(), info.macs.end(), same))
        return;
    info.macs.push_back(reply.mac);
    list.SetItemData(row, info);
}

} // namespace

int CSenderIndex::Find(const IListView& list, const std::string& sender)
{
    if (m_rows.size() != static_cast<size_t>(list.GetItemCount()))
        Rebuild(list);
    auto found = m_rows.find(sender);
    if (found != m_rows.end() && list.GetItemText(found->second, ColAddress) != sender) {
        Rebuild(list);
        found = m_rows.find(sender);
    }
    return found == m_rows.end() ? -1 : found->second;
}

void CSenderIndex::Rebuild(const IListView& list)
{
    m_rows.clear();
    for (int row = 0; row < list.GetItemCount(); ++row)
        m_rows.emplace(list.GetItemText(row, ColAddress), row); // the first row of a sender counts
}

void AddDeviceRow(IListView& list, int& nDeviceCount, const DeviceReply& reply)
{
    CSenderIndex index;
    AddDeviceRow(list, nDeviceCount, reply, index);
}

void AddDeviceRow(IListView& list, int& nDeviceCount, const DeviceReply& reply, CSenderIndex& index)
{
    if (int listed = index.Find(list, DesktopRowKey(reply)); listed != -1) {
        NoteMac(list, listed, reply);
        return;
    }
    int row = nDeviceCount;
    list.InsertItem(row, std::to_string(row));
    for (int column = ColAddress; column < kDeviceColumns; ++column)
        list.SetItemText(row, column, ColumnText(reply, column));
    list.SetItemData(row, RowInfo { reply, { reply.mac } });
    index.Add(DesktopRowKey(reply), row);
    ++nDeviceCount;
}

void ClearDevices(IListView& list, int& nDeviceCount)
{
    list.DeleteAllItems();
    nDeviceCount = 0;
}
