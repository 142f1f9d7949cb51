#include "app.h"

#include "afxids.h"
#include "dialog.h"
#include "resources.h"

#include <QApplication>

#include <string>

#include <sys/socket.h>
#include <unistd.h>

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName)
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

void CWinApp::OnHelp()
{
    // F1 in the help dialog itself must not stack a second one on it.
    if (m_nHelpTemplate == 0 || CDialog::IsTemplateOpen(m_nHelpTemplate))
        return;
    CDialog help(m_nHelpTemplate);
    help.DoModal();
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

const char* AfxGetAppName()
{
    if (g_pApp && g_pApp->m_pszAppName)
        return g_pApp->m_pszAppName;
    if (const char* title = AfxFindString(AFX_IDS_APP_TITLE))
        return title;
    static std::string programName;
    programName = QCoreApplication::applicationName().toStdString();
    return programName.c_str();
}

int AfxWinMain(int argc, char** argv)
{
    QApplication app(argc, argv);
    // A closed last window must not end a modal loop that is still running.
    app.setQuitOnLastWindowClosed(false);
    CWinApp* theApp = AfxGetApp();
    if (!theApp)
        return 1;
    theApp->InitInstance();
    return 0;
}

BOOL AfxSocketInit()
{
    int s = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (s < 0)
        return FALSE;
    ::close(s);
    return TRUE;
}
