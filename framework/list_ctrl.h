#pragma once

#include "wnd.h"

#include <QVariant>

// Report-style list view: columns with pixel widths, single selection of
// whole rows, a selection mark (the row the user last selected, or -1; never
// a row that does not exist), per-row data.
class CListCtrl : public CWnd {
public:
    int InsertColumn(int nCol, const CString& heading, int nFormat = LVCFMT_LEFT, int nWidth = -1);
    int GetColumnCount() const;
    int GetColumnWidth(int nCol) const;
    CString GetColumnHeading(int nCol) const;
    int GetColumnFormat(int nCol) const;

    int GetItemCount() const;
    CString GetItemText(int nItem, int nSubItem) const;
    // Inserts a row with column 0's text; returns its index or -1.
    int InsertItem(int nItem, const CString& text);
    BOOL SetItemText(int nItem, int nSubItem, const CString& text);
    BOOL DeleteAllItems();

    int GetSelectionMark() const;
    // -1 or a row index; returns the previous mark. Leaves the visible
    // selection alone.
    int SetSelectionMark(int nIndex);
    // Selects a row (as the user would), which also marks it.
    BOOL SelectItem(int nItem);
    int GetSelectedItem() const;

    BOOL SetItemData(int nItem, LPARAM data);
    LPARAM GetItemData(int nItem) const;
    // Any value as the row's data (GetItemData gives 0 for a value that is no number).
    BOOL SetItemValue(int nItem, const QVariant& value);
    QVariant GetItemValue(int nItem) const;

    DWORD SetExtendedStyle(DWORD exStyle);
    DWORD GetExtendedStyle() const;
};
