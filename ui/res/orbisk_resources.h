#pragma once

// The program's resources: dialog templates 100, 102 and 130 to 133, icon 128,
// strings 101 and 103, the device menu's texts, the program's name and the
// template font's fallbacks.

#include "resources.h"

// The device list's context menu, in its order. Each command's id is also
// the id of its text.
enum : int {
    ID_DEVICE_OPEN_PAGE = 32771,
    ID_DEVICE_OPEN_SHARES,
    ID_DEVICE_COPY_ADDRESS,
    ID_DEVICE_COPY_MAC,
    ID_DEVICE_COPY_ROW,
    ID_DEVICE_COPY_ALL,
    ID_DEVICE_SETUP_IP,
    ID_REMEMBERED, // also in the window's own menu, and Ctrl+H
};

// The Remembered Devices window and its Add dialog.
enum : int {
    IDD_REMEMBERED = 132,
    IDD_ADD_DEVICE = 133,

    IDC_REMEMBERED_LIST = 1060,
    IDC_WAKE = 1061,
    IDC_FORGET = 1062,
    IDC_ADD = 1063,
    IDC_REMEMBERED_STATUS = 1064,
    IDC_ADD_MAC = 1065,
    IDC_ADD_NAME = 1066,
    IDC_ADD_PROBLEM = 1067,
};

class QImage;

// Registers every resource with the framework, once at start before any
// dialog is built; safe to call again.
void LoadOrbiskResources();

// The faces that stand in for the templates' face, for a language as
// InstallTranslations names it ("" for English).
QStringList OrbiskFontFallbacks(const QString& language);

// The application icon, drawn at size x size pixels.
QImage PaintOrbiskIcon(int size);

extern const DialogTemplate kAboutTemplate;
extern const DialogTemplate kScanTemplate;
extern const DialogTemplate kAuthTemplate;
extern const DialogTemplate kSetupIpTemplate;
extern const DialogTemplate kRememberedTemplate;
extern const DialogTemplate kAddDeviceTemplate;
