// Dialog templates: every control with its id, class, text, style and its
// position and size in dialog units, in tab order.

#include "orbisk_resources.h"

#include "control_ids.h"

namespace {

// Captions, control texts and accessible names are source texts: the
// framework translates them as it builds a dialog (QT_TRANSLATE_NOOP marks
// them for lupdate). Names, placeholders and the version stay as they are.

constexpr char kFont[] = "宋体";
constexpr int kPointSize = 9;
constexpr int kNoId = -1;

// Every dialog: a modal pop-up with caption and system menu, font from the template.
constexpr DWORD kDialog = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
// A visible control; the ones the Tab key reaches add WS_TABSTOP.
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kLabel = kChild | WS_GROUP | SS_LEFT;
constexpr DWORD kPushButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kDefaultButton = kChild | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kEdit = kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;

// About box.
constexpr DialogItemTemplate kAboutItems[] = {
    {kNoId, "Static", "#128", kChild | SS_ICON, 11, 17, 20, 20},
    {kNoId, "Static", "Orbisk " ORBISK_VERSION, kLabel | SS_NOPREFIX, 40, 10, 119, 8},
    {kNoId, "Static", QT_TRANSLATE_NOOP("Resources", "Finds NAS devices, sets their IP."), kLabel, 40, 25, 119, 8},
    {IDOK, "Button", QT_TRANSLATE_NOOP("Resources", "OK"), kDefaultButton | WS_GROUP | BS_FLAT, 178, 7, 50, 14},
};

// Main window.
constexpr DialogItemTemplate kScanItems[] = {
    {IDC_DEVICE_LIST, "SysListView32", "List1", kChild | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL,
     15, 15, 376, 167},
    {IDC_SCAN, "Button", QT_TRANSLATE_NOOP("Resources", "Scan"), kPushButton, 46, 189, 50, 14},
    {IDCANCEL, "Button", QT_TRANSLATE_NOOP("Resources", "Quit"), kPushButton, 137, 189, 50, 14},
    {IDC_CLEAR, "Button", QT_TRANSLATE_NOOP("Resources", "Clear"), kPushButton, 228, 189, 50, 14},
    {IDC_SETUP_IP, "Button", QT_TRANSLATE_NOOP("Resources", "Setup IP"), kPushButton, 319, 189, 39, 14},
};

// Authentication.
constexpr DialogItemTemplate kAuthItems[] = {
    {IDOK, "Button", QT_TRANSLATE_NOOP("Resources", "OK"), kDefaultButton, 20, 52, 35, 13},
    {IDCANCEL, "Button", QT_TRANSLATE_NOOP("Resources", "Cancel"), kPushButton, 84, 52, 35, 13},
    {IDC_USER, "Edit", "", kEdit, 58, 16, 50, 12},
    {IDC_PASSWORD, "Edit", "", kEdit | ES_PASSWORD, 58, 32, 50, 12},
    {kNoId, "Static", QT_TRANSLATE_NOOP("Resources", "User"), kLabel, 20, 20, 17, 8},
    {kNoId, "Static", QT_TRANSLATE_NOOP("Resources", "Password"), kLabel, 20, 36, 33, 8},
};

// Setup IP.
constexpr DWORD kHiddenLabel = WS_CHILD | WS_GROUP | SS_LEFT;
constexpr DialogItemTemplate kSetupIpItems[] = {
    {IDC_SETUP, "Button", QT_TRANSLATE_NOOP("Resources", "Setup"), kDefaultButton, 86, 122, 36, 14},
    {IDCANCEL, "Button", QT_TRANSLATE_NOOP("Resources", "Back"), kPushButton, 146, 122, 36, 14},
    {kNoId, "Static", QT_TRANSLATE_NOOP("Resources", "IP Address"), kLabel, 30, 52, 26, 8},
    {kNoId, "Static", QT_TRANSLATE_NOOP("Resources", "Gateway"), kLabel, 30, 67, 39, 8},
    {kNoId, "Static", QT_TRANSLATE_NOOP("Resources", "Netmask"), kLabel, 30, 82, 29, 8},
    {IDC_CUR_ADDRESS, "Static", "IP", kHiddenLabel, 71, 52, 68, 8},
    {IDC_CUR_NETMASK, "Static", "MAS", kHiddenLabel, 71, 82, 68, 8},
    {IDC_CUR_GATEWAY, "Static", "GATWAY", kHiddenLabel, 71, 67, 68, 8},
    {IDC_NEW_ADDRESS, "SysIPAddress32", "IPAddress2", kChild | WS_TABSTOP, 108, 48, 67, 12},
    {IDC_NEW_GATEWAY, "SysIPAddress32", "IPAddress3", kChild | WS_TABSTOP, 108, 63, 67, 12},
    {IDC_NEW_NETMASK, "SysIPAddress32", "IPAddress4", kChild | WS_TABSTOP, 108, 78, 67, 12},
    // A row of its own under the buttons: every outcome text fits whole.
    {IDC_STATUS, "Static", QT_TRANSLATE_NOOP("Resources", "Not set"), kChild | WS_GROUP | SS_CENTER, 7, 141, 196, 10},
    {kNoId, "Button", "", kChild | BS_GROUPBOX, 22, 37, 165, 64},
    // The radio pair: WS_GROUP on the first starts the group, no tab stops.
    {IDC_STATIC_IP, "Button", QT_TRANSLATE_NOOP("Resources", "Static IP"), kChild | WS_GROUP | BS_AUTORADIOBUTTON, 25, 17, 52, 10},
    {IDC_DHCP, "Button", "DHCP", kChild | BS_AUTORADIOBUTTON, 77, 17, 32, 10},
};

// Remembered Devices: the list, the buttons under it, a status line.
constexpr DialogItemTemplate kRememberedItems[] = {
    {IDC_REMEMBERED_LIST, "SysListView32", "List1", kChild | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL,
     7, 7, 390, 140},
    {IDC_WAKE, "Button", QT_TRANSLATE_NOOP("Resources", "Wake Up"), kDefaultButton, 7, 153, 84, 14},
    {IDC_FORGET, "Button", QT_TRANSLATE_NOOP("Resources", "Forget"), kPushButton, 96, 153, 60, 14},
    {IDC_ADD, "Button", QT_TRANSLATE_NOOP("Resources", "Add..."), kPushButton, 161, 153, 60, 14},
    {IDCANCEL, "Button", QT_TRANSLATE_NOOP("Resources", "Close"), kPushButton, 337, 153, 60, 14},
    // Three lines: a problem with the record names its file.
    {IDC_REMEMBERED_STATUS, "Static", "", kChild | WS_GROUP | SS_LEFT | SS_NOPREFIX, 7, 173, 390, 28},
};

// Add: a MAC address and a name for a device never seen.
constexpr DialogItemTemplate kAddDeviceItems[] = {
    {kNoId, "Static", QT_TRANSLATE_NOOP("Resources", "MAC Address"), kLabel, 7, 10, 70, 8},
    {IDC_ADD_MAC, "Edit", "", kEdit, 80, 8, 120, 12},
    {kNoId, "Static", QT_TRANSLATE_NOOP("Resources", "Name (optional)"), kLabel, 7, 28, 70, 8},
    {IDC_ADD_NAME, "Edit", "", kEdit, 80, 26, 120, 12},
    {IDC_ADD_PROBLEM, "Static", "", kChild | WS_GROUP | SS_LEFT | SS_NOPREFIX, 7, 44, 193, 19},
    {IDOK, "Button", QT_TRANSLATE_NOOP("Resources", "OK"), kDefaultButton, 90, 66, 52, 14},
    {IDCANCEL, "Button", QT_TRANSLATE_NOOP("Resources", "Cancel"), kPushButton, 148, 66, 52, 14},
};

// Who names what for a screen reader; the device list shows no label.
constexpr ControlAccess kScanAccess[] = {
    {IDC_DEVICE_LIST, AccessKind::Named, QT_TRANSLATE_NOOP("Resources", "Devices")},
};
constexpr ControlAccess kAuthAccess[] = {
    {IDC_USER, AccessKind::LabelledBy, QT_TRANSLATE_NOOP("Resources", "User")},
    {IDC_PASSWORD, AccessKind::LabelledBy, QT_TRANSLATE_NOOP("Resources", "Password")},
};
constexpr ControlAccess kSetupIpAccess[] = {
    {IDC_NEW_ADDRESS, AccessKind::LabelledBy, QT_TRANSLATE_NOOP("Resources", "IP Address")},
    {IDC_NEW_GATEWAY, AccessKind::LabelledBy, QT_TRANSLATE_NOOP("Resources", "Gateway")},
    {IDC_NEW_NETMASK, AccessKind::LabelledBy, QT_TRANSLATE_NOOP("Resources", "Netmask")},
    {IDC_STATUS, AccessKind::AnnouncesText, nullptr},
};
constexpr ControlAccess kRememberedAccess[] = {
    {IDC_REMEMBERED_LIST, AccessKind::Named, QT_TRANSLATE_NOOP("Resources", "Remembered devices")},
    {IDC_REMEMBERED_STATUS, AccessKind::AnnouncesText, nullptr},
};
constexpr ControlAccess kAddDeviceAccess[] = {
    {IDC_ADD_MAC, AccessKind::LabelledBy, QT_TRANSLATE_NOOP("Resources", "MAC Address")},
    {IDC_ADD_NAME, AccessKind::LabelledBy, QT_TRANSLATE_NOOP("Resources", "Name (optional)")},
    {IDC_ADD_PROBLEM, AccessKind::AnnouncesText, nullptr},
};

// The styles as the templates have always stored them.
static_assert(kDialog == 0x80C800C0);
static_assert(kAboutItems[0].style == 0x50000003 && kAboutItems[1].style == 0x50020080 &&
              kAboutItems[2].style == 0x50020000 && kAboutItems[3].style == 0x50038001);
static_assert(kScanItems[0].style == 0x50810005 && kScanItems[1].style == 0x50010000);
static_assert(kAuthItems[0].style == 0x50010001 && kAuthItems[1].style == 0x50010000 &&
              kAuthItems[2].style == 0x50810080 && kAuthItems[3].style == 0x508100A0 &&
              kAuthItems[4].style == 0x50020000);
static_assert(kSetupIpItems[0].style == 0x50010001 && kSetupIpItems[5].style == 0x40020000 &&
              kSetupIpItems[8].style == 0x50010000 && kSetupIpItems[11].style == 0x50020001 &&
              kSetupIpItems[12].style == 0x50000007 && kSetupIpItems[13].style == 0x50020009 &&
              kSetupIpItems[14].style == 0x50000009);
static_assert((kDialog | WS_VISIBLE) == 0x90C800C0 && WS_EX_APPWINDOW == 0x00040000);

} // namespace

const DialogTemplate kAboutTemplate{IDD_ABOUTBOX, QT_TRANSLATE_NOOP("Resources", "About Orbisk"), kDialog, 0, 0, 0, 235, 55, kFont, kPointSize, kAboutItems, {}};
const DialogTemplate kScanTemplate{IDD_SCAN_DIALOG, "Orbisk", kDialog | WS_VISIBLE, WS_EX_APPWINDOW, 0, 0, 405, 227, kFont, kPointSize, kScanItems, kScanAccess};
const DialogTemplate kAuthTemplate{IDD_AUTH, QT_TRANSLATE_NOOP("Resources", "Authentication"), kDialog, 0, 0, 0, 147, 80, kFont, kPointSize, kAuthItems, kAuthAccess};
const DialogTemplate kSetupIpTemplate{IDD_SETUP_IP, "Orbisk", kDialog, 0, 0, 0, 210, 169, kFont, kPointSize, kSetupIpItems, kSetupIpAccess};
const DialogTemplate kRememberedTemplate{IDD_REMEMBERED, QT_TRANSLATE_NOOP("Resources", "Remembered Devices"), kDialog, 0, 0, 0, 404, 207, kFont, kPointSize, kRememberedItems, kRememberedAccess};
const DialogTemplate kAddDeviceTemplate{IDD_ADD_DEVICE, QT_TRANSLATE_NOOP("Resources", "Add Device"), kDialog, 0, 0, 0, 207, 87, kFont, kPointSize, kAddDeviceItems, kAddDeviceAccess};
