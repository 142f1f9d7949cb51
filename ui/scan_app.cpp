#include "scan_app.h"

#include "control_ids.h"
#include "language.h"
#include "orbisk_resources.h"
#include "scan_dlg.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLocale>

namespace {

SocketInitCheck& CurrentSocketCheck()
{
    static SocketInitCheck check = AfxSocketInit;
    return check;
}

} // namespace

SocketInitCheck SetSocketInitCheck(SocketInitCheck check)
{
    SocketInitCheck old = CurrentSocketCheck();
    CurrentSocketCheck() = check ? std::move(check) : SocketInitCheck(AfxSocketInit);
    return old;
}

CScanApp::CScanApp()
{
    // F1 has no help content of its own: the framework's handler shows the About box.
    m_nHelpTemplate = IDD_ABOUTBOX;
}

CScanApp::~CScanApp() = default;

BEGIN_MESSAGE_MAP(CScanApp, CWinApp)
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

BOOL CScanApp::InitInstance()
{
    // LANGUAGE, LC_ALL, LC_MESSAGES, LANG, as every desktop program reads them.
    InstallTranslations(QLocale::system().uiLanguages());
    LoadOrbiskResources();
    QGuiApplication::setApplicationName(QString::fromUtf8(AfxGetAppName()));
    // Docks and Wayland compositors match the windows to the menu entry by
    // the desktop file name; the icon covers those that do not.
    QGuiApplication::setApplicationVersion(QStringLiteral(ORBISK_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(ORBISK_DESKTOP_ID));
    if (HICON icon = LoadIcon(IDR_MAINFRAME))
        QGuiApplication::setWindowIcon(*icon);
    if (!CurrentSocketCheck()()) {
        AfxMessageBox(IDS_SOCKETS_INIT_FAILED, MB_OK);
        return FALSE;
    }
    AfxEnableControlContainer();

    CScanDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    // FALSE: the framework ends the program instead of running a loop of its own.
    return FALSE;
}
