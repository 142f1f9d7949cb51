#pragma once

// Standard command ids that the framework itself routes and that dialogs
// return. No Qt here: code that only compares dialog results includes it too.
enum : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDYES = 6,
    IDNO = 7,
};

// The string resource that names the application when its CWinApp gives no
// name: the caption of message boxes.
enum : int {
    AFX_IDS_APP_TITLE = 0xE000,
};
