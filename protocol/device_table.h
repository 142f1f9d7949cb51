#pragma once

#include "device_identity.h" // the columns, kDeviceColumns
#include "wire.h"

#include <string>
#include <unordered_map>
#include <vector>

// What a row remembers beside its texts: the reply that made it, and every
// MAC address that answered from its sender on that port (more than one:
// several devices share the address).
struct RowInfo {
    DeviceReply reply;
    std::vector<std::string> macs {};
};

struct DeviceRow {
    std::string cells[kDeviceColumns];
    RowInfo info;
};

// The list-view operations the device table needs; the Qt list and an
// in-memory list both provide them.
class IListView {
public:
    virtual ~IListView() = default;
    virtual int GetItemCount() const = 0;
    virtual std::string GetItemText(int row, int column) const = 0;
    virtual int InsertItem(int row, const std::string& text) = 0;
    virtual void SetItemText(int row, int column, const std::string& text) = 0;
    virtual void DeleteAllItems() = 0;
    virtual int GetSelectionMark() const = 0;
    virtual void SetSelectionMark(int row) = 0;
    // Per-row record; a row that does not exist gives the empty one.
    virtual void SetItemData(int row, const RowInfo& info) = 0;
    virtual RowInfo GetItemData(int row) const = 0;
};

class CMemoryListView : public IListView {
public:
    int GetItemCount() const override;
    std::string GetItemText(int row, int column) const override;
    int InsertItem(int row, const std::string& text) override;
    void SetItemText(int row, int column, const std::string& text) override;
    void DeleteAllItems() override;
    int GetSelectionMark() const override;
    void SetSelectionMark(int row) override;
    void SetItemData(int row, const RowInfo& info) override;
    RowInfo GetItemData(int row) const override;

    const std::vector<DeviceRow>& Rows() const { return m_rows; }

private:
    bool Has(int row) const { return row >= 0 && row < static_cast<int>(m_rows.size()); }
    std::vector<DeviceRow> m_rows;
    int m_nMark = -1;
};

// The rows of a list by sender, kept beside it so that the duplicate check
// of a reply does not read every row: thousands of devices answer at once.
class CSenderIndex {
public:
    // The row that lists `sender`, or -1. An index out of step with the list
    // (rows removed or added behind its back) is built again from the list.
    int Find(const IListView& list, const std::string& sender);
    void Add(const std::string& sender, int row) { m_rows[sender] = row; }

private:
    void Rebuild(const IListView& list);
    std::unordered_map<std::string, int> m_rows;
};

// Appends a row for a discovery reply unless its sender is listed already.
// nDeviceCount is the window's row counter. A listed sender answering on the
// row's port with another MAC address adds that address to the row's record.
void AddDeviceRow(IListView& list, int& nDeviceCount, const DeviceReply& reply, CSenderIndex& index);
// The same, reading every row for the check.
void AddDeviceRow(IListView& list, int& nDeviceCount, const DeviceReply& reply);

void ClearDevices(IListView& list, int& nDeviceCount);
