#pragma once

#include "app.h"

#include <functional>

// The application: checks the socket layer, runs the main window modally and
// ends when it closes.
class CScanApp : public CWinApp {
public:
    CScanApp();
    ~CScanApp() override;

    BOOL InitInstance() override;

protected:
    DECLARE_MESSAGE_MAP()
};

// The socket layer's start check (AfxSocketInit by default); tests put in one
// that fails. An empty check restores the default. Returns the old one.
using SocketInitCheck = std::function<BOOL()>;
SocketInitCheck SetSocketInitCheck(SocketInitCheck check);
