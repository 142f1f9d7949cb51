#pragma once

// Resource and control identifiers shared by the operations and the dialogs.
#include "../framework/afxids.h" // IDOK, IDCANCEL

enum : int {
    IDD_ABOUTBOX = 100,
    IDS_ABOUTBOX = 101,
    IDD_SCAN_DIALOG = 102,
    IDS_SOCKETS_INIT_FAILED = 103,
    IDR_MAINFRAME = 128,
    IDD_AUTH = 130,
    IDD_SETUP_IP = 131,

    IDC_DEVICE_LIST = 1000,
    IDC_SCAN = 1009,
    IDC_CLEAR = 1012,
    IDC_SETUP_IP = 1014,
    IDC_USER = 1016,
    IDC_PASSWORD = 1017,
    IDC_SETUP = 1024,
    IDC_CUR_ADDRESS = 1029,
    IDC_CUR_NETMASK = 1030,
    IDC_CUR_GATEWAY = 1031,
    IDC_NEW_ADDRESS = 1035,
    IDC_NEW_GATEWAY = 1036,
    IDC_NEW_NETMASK = 1037,
    IDC_STATUS = 1038,
    IDC_STATIC_IP = 1042,
    IDC_DHCP = 1043,
};
