#pragma once

// Adapters: the window services and the list view the operations are
// written against (ops/window_services.h, protocol/device_table.h), over
// the framework's window and list objects.

#include "controls.h"
#include "device_table.h"
#include "window_services.h"

#include <QSocketNotifier>

#include <memory>

Q_DECLARE_METATYPE(RowInfo)

class CWndServices : public IWindowServices {
public:
    explicit CWndServices(CWnd& wnd) : m_wnd(wnd) {}

    void SetItemText(int id, const OperatorText& text) override;
    std::string GetItemText(int id) override;
    void EnableItem(int id, bool enable) override;
    void SetTimer(unsigned id, unsigned ms) override;
    void KillTimer(unsigned id) override;
    void MessageBox(const OperatorText& text, bool owned = true) override;
    bool AskYesNo(const OperatorText& text) override;
    void WatchSocket(int handle, std::function<void()> onReadable) override;
    void StopWatching() override;

private:
    CWnd& m_wnd;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

class CListViewAdapter : public IListView {
public:
    explicit CListViewAdapter(CListCtrl& list) : m_list(list) {}

    int GetItemCount() const override { return m_list.GetItemCount(); }
    std::string GetItemText(int row, int column) const override { return m_list.GetItemText(row, column); }
    int InsertItem(int row, const std::string& text) override { return m_list.InsertItem(row, text); }
    void SetItemText(int row, int column, const std::string& text) override { m_list.SetItemText(row, column, text); }
    void DeleteAllItems() override { m_list.DeleteAllItems(); }
    int GetSelectionMark() const override { return m_list.GetSelectionMark(); }
    void SetSelectionMark(int row) override { m_list.SetSelectionMark(row); }
    void SetItemData(int row, const RowInfo& info) override;
    RowInfo GetItemData(int row) const override;

private:
    CListCtrl& m_list;
};
