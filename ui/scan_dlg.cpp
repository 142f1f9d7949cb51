#include "scan_dlg.h"

#include "about_box.h"
#include "device_table.h"
#include "resources.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QUrl>

#include <cstdio>

namespace {

void OpenWithDesktop(const char* url)
{
    // No browser, or none that starts: the operator sees nothing happen.
    QDesktopServices::openUrl(QUrl(QString::fromUtf8(url)));
}

UrlOpener& CurrentOpener()
{
    static UrlOpener opener = OpenWithDesktop;
    return opener;
}

struct ColumnSpec {
    const char* heading;
    int width; // pixels
};

constexpr ColumnSpec kColumns[kDeviceColumns] = {
    {QT_TRANSLATE_NOOP("Resources", "No."), 50},
    {QT_TRANSLATE_NOOP("Resources", "IP Address"), 150},
    {QT_TRANSLATE_NOOP("Resources", "Version"), 110},
    {QT_TRANSLATE_NOOP("Resources", "Hostname"), 150},
    {QT_TRANSLATE_NOOP("Resources", "Gateway"), 150},
    {QT_TRANSLATE_NOOP("Resources", "MAC Address"), 150},
    {QT_TRANSLATE_NOOP("Resources", "Netmask"), 150},
};

// Fits every "http://" plus a dotted quad, with room to spare.
constexpr size_t kUrlBufferSize = 52;

// Linux window managers offer no way to add entries to a window's own menu,
// so the main window shows the same entries as a context menu: on a
// right-click outside the device list, and on the keyboard's menu key.
class WindowMenu : public QObject {
public:
    WindowMenu(QWidget* window, QWidget* list, QMenu* menu) : QObject(window), m_list(list), m_menu(menu)
    {
        setObjectName("windowMenu");
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ContextMenu || watched != parent())
            return false;
        auto* e = static_cast<QContextMenuEvent*>(event);
        bool onList = m_list && m_list->geometry().contains(e->pos());
        if (e->reason() == QContextMenuEvent::Mouse && onList)
            return true;
        m_menu->popup(e->globalPos());
        return true;
    }

private:
    QWidget* m_list;
    QMenu* m_menu;
};

} // namespace

UrlOpener SetUrlOpener(UrlOpener opener)
{
    UrlOpener old = CurrentOpener();
    CurrentOpener() = opener ? std::move(opener) : UrlOpener(OpenWithDesktop);
    return old;
}

CScanDlg::CScanDlg(CWnd* pParent) : CDialog(IDD, pParent), m_hIcon(LoadIcon(IDR_MAINFRAME)) {}

CScanDlg::~CScanDlg() = default;

BEGIN_MESSAGE_MAP(CScanDlg, CDialog)
    ON_SYSCOMMAND(OnSysCommand)
    ON_COMMAND(IDOK, StartScan)
    ON_NOTIFY(NM_DBLCLK, IDC_DEVICE_LIST, OnDeviceDblClick)
    ON_BN_CLICKED(IDC_CLEAR, ClearDevices)
    ON_TIMER(OnScanTick)
    ON_BN_CLICKED(IDC_SETUP_IP, OnSetupIp)
    ON_BN_CLICKED(IDC_SCAN, StartScan)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_DEVICE_LIST, OnDeviceItemChanged)
END_MESSAGE_MAP()

void CScanDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DEVICE_LIST, m_DeviceList);
}

BOOL CScanDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    InstallWindowMenu();

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    for (int col = 0; col < kDeviceColumns; ++col)
        m_DeviceList.InsertColumn(col, AfxTranslateResource(kColumns[col].heading).toStdString(), LVCFMT_CENTER,
                                  kColumns[col].width);
    m_nDeviceCount = 0;
    m_DeviceList.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    return TRUE;
}

void CScanDlg::InstallWindowMenu()
{
    QWidget* window = GetSafeHwnd();
    if (!window)
        return;
    auto* menu = new QMenu(window);
    menu->setObjectName("windowMenu");
    QAction* close = menu->addAction(QCoreApplication::translate("Resources", "&Close"));
    QObject::connect(close, &QAction::triggered, menu, [this] { SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0); });

    CString about;
    about.LoadString(IDS_ABOUTBOX);
    if (!about.IsEmpty()) {
        menu->addSeparator();
        QAction* entry = menu->addAction(QString::fromUtf8(about.c_str()));
        QObject::connect(entry, &QAction::triggered, menu, [this] { SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX, 0); });
    }
    new WindowMenu(window, m_DeviceList.GetSafeHwnd(), menu);
}

void CScanDlg::OnSysCommand(UINT nID, LPARAM /*lParam*/)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutBox about;
        about.DoModal();
        return;
    }
    Default();
}

void CScanDlg::OnDeviceDblClick(NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    int mark = static_cast<int>(m_DeviceList.SendMessage(LVM_GETSELECTIONMARK));
    if (mark == -1)
        return;
    CString address = m_DeviceList.GetItemText(mark, ColAddress);
    char url[kUrlBufferSize];
    int length = std::snprintf(url, sizeof url, "http://%s", address.c_str());
    // A cut URL would open some other page; the table never makes one this long.
    if (length > 0 && static_cast<size_t>(length) < sizeof url)
        CurrentOpener()(url);
    m_DeviceList.SendMessage(LVM_SETSELECTIONMARK, 0, -1);
}

void CScanDlg::OnDeviceItemChanged(NMHDR* /*pNMHDR*/, LRESULT* pResult)
{
    *pResult = 0;
}
