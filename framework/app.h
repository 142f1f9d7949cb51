#pragma once

// The application object and the framework's entry.

#include "wnd.h"

class CWinApp : public CCmdTarget {
public:
    // No name: the string AFX_IDS_APP_TITLE, else the program's file name.
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    // Runs once at start; the program's own work. FALSE ends the program.
    virtual BOOL InitInstance();
    // The framework's help handler: runs a plain dialog on the template
    // m_nHelpTemplate when one is set and none from it is open, nothing otherwise.
    virtual void OnHelp();

    const char* m_pszAppName;   // null: see AfxGetAppName
    CWnd* m_pMainWnd = nullptr;
    UINT m_nHelpTemplate = 0;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;
};

CWinApp* AfxGetApp();
// The caption of every message box: the application's name, else the string
// AFX_IDS_APP_TITLE, else the program's file name.
const char* AfxGetAppName();

// Creates the Qt application and runs InitInstance of the one CWinApp.
int AfxWinMain(int argc, char** argv);

// The socket layer's start check: a UDP socket can be created.
BOOL AfxSocketInit();
// Control containers need nothing here.
inline void AfxEnableControlContainer() {}

// OK-only box with no owner window. It disables no other window; its own
// loop runs until it is closed.
int AfxMessageBox(const CString& text, UINT type = MB_OK);
int AfxMessageBox(UINT idString, UINT type = MB_OK);
