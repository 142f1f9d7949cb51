// Dialog templates: every control with its id, class, text, style and its
// position and size in dialog units, in tab order.

#include "orbisk_resources.h"

#include "control_ids.h"

namespace {

constexpr char kFont[] = "宋体";
constexpr int kPointSize = 9;
constexpr int kNoId = -1;

// About box.
constexpr DialogItemTemplate kAboutItems[] = {
    {kNoId, "Static", "#128", 0x50000003, 11, 17, 20, 20},
    {kNoId, "Static", "Orbisk 1.0", 0x50020080, 40, 10, 119, 8},
    {kNoId, "Static", "Finds NAS devices, sets their IP.", 0x50020000, 40, 25, 119, 8},
    {IDOK, "Button", "OK", 0x50038001, 178, 7, 50, 14},
};

// Main window.
constexpr DialogItemTemplate kScanItems[] = {
    {IDC_DEVICE_LIST, "SysListView32", "List1", 0x50810005, 15, 15, 376, 167},
    {IDC_SCAN, "Button", "Scan", 0x50010000, 46, 189, 50, 14},
    {IDCANCEL, "Button", "Quit", 0x50010000, 137, 189, 50, 14},
    {IDC_CLEAR, "Button", "Clear", 0x50010000, 228, 189, 50, 14},
    {IDC_SETUP_IP, "Button", "Setup IP", 0x50010000, 319, 189, 39, 14},
};

// Authentication.
constexpr DialogItemTemplate kAuthItems[] = {
    {IDOK, "Button", "OK", 0x50010001, 20, 52, 35, 13},
    {IDCANCEL, "Button", "Cancel", 0x50010000, 84, 52, 35, 13},
    {IDC_USER, "Edit", "", 0x50810080, 58, 16, 50, 12},
    {IDC_PASSWORD, "Edit", "", 0x508100A0, 58, 32, 50, 12},
    {kNoId, "Static", "User", 0x50020000, 20, 20, 17, 8},
    {kNoId, "Static", "Password", 0x50020000, 20, 36, 33, 8},
};

// Setup IP.
constexpr DialogItemTemplate kSetupIpItems[] = {
    {IDC_SETUP, "Button", "Setup", 0x50010001, 86, 122, 36, 14},
    {IDCANCEL, "Button", "Back", 0x50010000, 146, 122, 36, 14},
    {kNoId, "Static", "IP Address", 0x50020000, 30, 52, 26, 8},
    {kNoId, "Static", "Gateway", 0x50020000, 30, 67, 39, 8},
    {kNoId, "Static", "Netmask", 0x50020000, 30, 82, 29, 8},
    {IDC_CUR_ADDRESS, "Static", "IP", 0x40020000, 71, 52, 68, 8},
    {IDC_CUR_NETMASK, "Static", "MAS", 0x40020000, 71, 82, 68, 8},
    {IDC_CUR_GATEWAY, "Static", "GATWAY", 0x40020000, 71, 67, 68, 8},
    {IDC_NEW_ADDRESS, "SysIPAddress32", "IPAddress2", 0x50010000, 108, 48, 67, 12},
    {IDC_NEW_GATEWAY, "SysIPAddress32", "IPAddress3", 0x50010000, 108, 63, 67, 12},
    {IDC_NEW_NETMASK, "SysIPAddress32", "IPAddress4", 0x50010000, 108, 78, 67, 12},
    // A row of its own under the buttons: every outcome text fits whole.
    {IDC_STATUS, "Static", "Not set", 0x50020001, 7, 141, 196, 10},
    {kNoId, "Button", "", 0x50000007, 22, 37, 165, 64},
    {IDC_STATIC_IP, "Button", "Static IP", 0x50020009, 25, 17, 52, 10},
    {IDC_DHCP, "Button", "DHCP", 0x50000009, 77, 17, 32, 10},
};

} // namespace

const DialogTemplate kAboutTemplate{IDD_ABOUTBOX, "About Orbisk", 0x80C800C0, 0, 0, 0, 235, 55, kFont, kPointSize, kAboutItems};
const DialogTemplate kScanTemplate{IDD_SCAN_DIALOG, "Orbisk", 0x90C800C0, 0x00040000, 0, 0, 405, 227, kFont, kPointSize, kScanItems};
const DialogTemplate kAuthTemplate{IDD_AUTH, "Authentication", 0x80C800C0, 0, 0, 0, 147, 80, kFont, kPointSize, kAuthItems};
const DialogTemplate kSetupIpTemplate{IDD_SETUP_IP, "Orbisk", 0x80C800C0, 0, 0, 0, 210, 169, kFont, kPointSize, kSetupIpItems};
