#pragma once

// Plain types, message numbers and notification records of the dialog
// framework. Values follow the classic desktop dialog API so that the
// dialogs read like their originals; the framework itself runs on Qt.

#include "afxids.h"
#include "bool_result.h"

#include <cstdint>
#include <string>

class QWidget;
class QIcon;

using UINT = unsigned int;
using DWORD = std::uint32_t;
using BYTE = std::uint8_t;
using UINT_PTR = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using INT_PTR = std::intptr_t;
using HWND = QWidget*;
using HICON = const QIcon*;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

// Text is UTF-8, the multibyte encoding of a Linux desktop.
class CString : public std::string {
public:
    using std::string::string;
    CString() = default;
    CString(const std::string& s) : std::string(s) {}
    CString(std::string&& s) : std::string(std::move(s)) {}

    BOOL IsEmpty() const { return empty(); }
    int GetLength() const { return static_cast<int>(size()); }
    // Loads a string resource; FALSE (and an empty text) when there is none.
    BOOL LoadString(UINT id);
};

inline constexpr UINT ID_HELP = 0xE146;

// Messages.
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_SETICON = 0x0080;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_NOTIFY = 0x004E;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_USER = 0x0400;

// System commands (WM_SYSCOMMAND wParam, low four bits masked off).
inline constexpr UINT SC_CLOSE = 0xF060;

// WM_SIZE wParam; its lParam is MAKELPARAM(client width, client height).
inline constexpr WPARAM SIZE_RESTORED = 0;
inline constexpr WPARAM SIZE_MINIMIZED = 1;
inline constexpr WPARAM SIZE_MAXIMIZED = 2;

// WM_SETICON wParam.
inline constexpr WPARAM ICON_SMALL = 0;
inline constexpr WPARAM ICON_BIG = 1;

// Window styles that the dialog templates use.
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_DISABLED = 0x08000000;
inline constexpr DWORD WS_CAPTION = 0x00C00000;
inline constexpr DWORD WS_BORDER = 0x00800000;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
inline constexpr DWORD WS_GROUP = 0x00020000;
inline constexpr DWORD WS_TABSTOP = 0x00010000;

inline constexpr DWORD DS_SETFONT = 0x40;
inline constexpr DWORD DS_MODALFRAME = 0x80;

inline constexpr DWORD WS_EX_APPWINDOW = 0x00040000;

inline constexpr DWORD BS_TYPEMASK = 0x0000000F;
inline constexpr DWORD BS_PUSHBUTTON = 0x0;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
inline constexpr DWORD BS_CHECKBOX = 0x2;
inline constexpr DWORD BS_AUTOCHECKBOX = 0x3;
inline constexpr DWORD BS_RADIOBUTTON = 0x4;
inline constexpr DWORD BS_GROUPBOX = 0x7;
inline constexpr DWORD BS_AUTORADIOBUTTON = 0x9;
inline constexpr DWORD BS_FLAT = 0x8000;

inline constexpr DWORD SS_TYPEMASK = 0x0000001F;
inline constexpr DWORD SS_LEFT = 0x0;
inline constexpr DWORD SS_CENTER = 0x1;
inline constexpr DWORD SS_RIGHT = 0x2;
inline constexpr DWORD SS_ICON = 0x3;
inline constexpr DWORD SS_NOPREFIX = 0x80;

inline constexpr DWORD ES_PASSWORD = 0x20;
inline constexpr DWORD ES_AUTOHSCROLL = 0x80;

inline constexpr DWORD LVS_REPORT = 0x1;
inline constexpr DWORD LVS_SINGLESEL = 0x4;
inline constexpr DWORD LVS_EX_FULLROWSELECT = 0x20;

// Button notification codes (HIWORD of WM_COMMAND's wParam).
inline constexpr UINT BN_CLICKED = 0;

// Button check states.
inline constexpr int BST_UNCHECKED = 0;
inline constexpr int BST_CHECKED = 1;

// Control notifications (WM_NOTIFY codes).
inline constexpr UINT NM_DBLCLK = 0U - 3U;
inline constexpr UINT LVN_ITEMCHANGED = 0U - 101U;
inline constexpr UINT IPN_FIELDCHANGED = 0U - 860U;

// List-view messages.
inline constexpr UINT LVM_FIRST = 0x1000;
inline constexpr UINT LVM_SETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 54;
inline constexpr UINT LVM_GETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 55;
inline constexpr UINT LVM_GETSELECTIONMARK = LVM_FIRST + 66;
inline constexpr UINT LVM_SETSELECTIONMARK = LVM_FIRST + 67;

inline constexpr int LVCFMT_LEFT = 0;
inline constexpr int LVCFMT_RIGHT = 1;
inline constexpr int LVCFMT_CENTER = 2;

inline constexpr UINT LVIS_SELECTED = 0x2;
inline constexpr UINT LVIF_STATE = 0x8;

// IP-address control messages.
inline constexpr UINT IPM_CLEARADDRESS = WM_USER + 100;
inline constexpr UINT IPM_SETADDRESS = WM_USER + 101;
inline constexpr UINT IPM_GETADDRESS = WM_USER + 102;
inline constexpr UINT IPM_SETRANGE = WM_USER + 103;
inline constexpr UINT IPM_ISBLANK = WM_USER + 105;

constexpr LPARAM MAKEIPRANGE(int low, int high) { return static_cast<LPARAM>(((high & 0xFF) << 8) | (low & 0xFF)); }
constexpr LPARAM MAKEIPADDRESS(int b1, int b2, int b3, int b4)
{
    return static_cast<LPARAM>((static_cast<DWORD>(b1 & 0xFF) << 24) | ((b2 & 0xFF) << 16) | ((b3 & 0xFF) << 8) | (b4 & 0xFF));
}

// Message box types and results.
inline constexpr UINT MB_OK = 0;
inline constexpr UINT MB_YESNO = 0x4;
inline constexpr UINT MB_ICONWARNING = 0x30;
inline constexpr UINT MB_DEFBUTTON2 = 0x100;

constexpr WPARAM MAKEWPARAM(UINT low, UINT high) { return (WPARAM)((low & 0xFFFF) | ((high & 0xFFFF) << 16)); }
constexpr LPARAM MAKELPARAM(UINT low, UINT high) { return static_cast<LPARAM>(MAKEWPARAM(low, high)); }
constexpr UINT LOWORD(WPARAM v) { return static_cast<UINT>(v & 0xFFFF); }
constexpr UINT HIWORD(WPARAM v) { return static_cast<UINT>((v >> 16) & 0xFFFF); }

// Header of every WM_NOTIFY.
struct NMHDR {
    HWND hwndFrom = nullptr;
    UINT_PTR idFrom = 0;
    UINT code = 0;
};

// NM_DBLCLK from a list view.
struct NMITEMACTIVATE {
    NMHDR hdr;
    int iItem = -1;      // the row under the pointer, -1 for none
    int iSubItem = 0;
};

// LVN_ITEMCHANGED: one row's selection state changed.
struct NMLISTVIEW {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
};

// IPN_FIELDCHANGED: a field was left or completed. The handler may change
// iValue; the control stores it, within the field's range.
struct NMIPADDRESS {
    NMHDR hdr;
    int iField = 0;
    int iValue = 0;      // -1 for an empty field
};
