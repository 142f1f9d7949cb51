#pragma once

// Wrappers of the common controls. Each is bound to a control of a dialog
// window (DDX_Control) and works on it while the window lives; unbound, the
// operations do nothing and return 0, -1 or "".

#include "wnd.h"

#include <QVariant>

class CButton : public CWnd {
public:
    int GetCheck() const;
    // Checking a radio unchecks the others of its group; unchecking works on
    // radios too, so a group can have none checked.
    void SetCheck(int nCheck);
};

class CStatic : public CWnd {
};

class CEdit : public CWnd {
};

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

// Four octet fields with dots. The window text is the dotted quad with an
// empty field read as 0, so an empty control reads "0.0.0.0". Setting the
// text takes up to four dot-separated numbers; a part that is not a number
// leaves its field empty, a number above 255 reads 255.
class CIPAddressCtrl : public CWnd {
public:
    void ClearAddress();
    BOOL IsBlank() const;
    void SetAddress(BYTE b0, BYTE b1, BYTE b2, BYTE b3);
    // Number of non-empty fields; the address as MAKEIPADDRESS.
    int GetAddress(DWORD& address) const;
    // Typed values are kept in [low, high] when the field is left or filled.
    void SetFieldRange(int nField, BYTE low, BYTE high);
    void GetFieldRange(int nField, BYTE& low, BYTE& high) const;
};
