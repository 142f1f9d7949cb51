#include "scan_dlg.h"

#include "about_box.h"
#include "byte_escape.h"
#include "clipboard.h"
#include "device_table.h"
#include "orbisk_resources.h"
#include "resources.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMenu>
#include <QTreeWidget>
#include <QUrl>

#include <cstdio>
#include <string_view>

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
    const char* sample; // the widest text the column is made for
};

constexpr ColumnSpec kColumns[kDeviceColumns] = {
    {QT_TRANSLATE_NOOP("Resources", "No."), "0000"},
    {QT_TRANSLATE_NOOP("Resources", "IP Address"), "255.255.255.255"},
    {QT_TRANSLATE_NOOP("Resources", "Version"), "0.0.00"},
    {QT_TRANSLATE_NOOP("Resources", "Hostname"), "NAS-0000"},
    {QT_TRANSLATE_NOOP("Resources", "Gateway"), "255.255.255.255"},
    {QT_TRANSLATE_NOOP("Resources", "MAC Address"), "FF:FF:FF:FF:FF:FF"},
    {QT_TRANSLATE_NOOP("Resources", "Netmask"), "255.255.255.255"},
};

// The headings stand here for lupdate to find; they are the shared columns'.
constexpr bool HeadingsAreTheColumns()
{
    for (int col = 0; col < kDeviceColumns; ++col) {
        if (std::string_view(kColumns[col].heading) != kColumnNames[col].heading)
            return false;
    }
    return true;
}
static_assert(HeadingsAreTheColumns(), "the headings of device_identity.h, in its order");

// Fits every "smb://" plus a dotted quad and "/", with room to spare.
constexpr size_t kUrlBufferSize = 52;

// The device menu's entries in order; 0 stands for a separator.
constexpr int kDeviceMenu[] = {
    ID_DEVICE_OPEN_PAGE, ID_DEVICE_OPEN_SHARES, 0,
    ID_DEVICE_COPY_ADDRESS, ID_DEVICE_COPY_MAC, ID_DEVICE_COPY_ROW, ID_DEVICE_COPY_ALL, 0,
    ID_DEVICE_SETUP_IP, 0,
    ID_REMEMBERED,
};

void SendCommand(CWnd& wnd, int id)
{
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<UINT>(id), BN_CLICKED));
}

// Linux window managers offer no way to add entries to a window's own menu,
// so the main window shows the same entries as a context menu: on a
// right-click outside the device list, and on the keyboard's menu key when
// no row of the list is marked. A right-click on a row, or the menu key or
// Shift+F10 on the list with a row marked, opens the device menu instead.
// Ctrl+C anywhere in the window copies the marked row.
class WindowMenus : public QObject {
public:
    WindowMenus(CScanDlg& dlg, QTreeWidget* list, QMenu* windowMenu, QMenu* deviceMenu)
        : QObject(dlg.GetSafeHwnd()), m_dlg(dlg), m_list(list), m_windowMenu(windowMenu), m_deviceMenu(deviceMenu)
    {
        setObjectName("windowMenu");
        dlg.GetSafeHwnd()->installEventFilter(this);
        if (m_list)
            m_list->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            return OnKey(static_cast<QKeyEvent*>(event));
        if (event->type() != QEvent::ContextMenu || watched != parent())
            return false;
        auto* e = static_cast<QContextMenuEvent*>(event);
        if (e->reason() == QContextMenuEvent::Keyboard) {
            OpenFromKeyboard(e->globalPos());
            return true;
        }
        bool onList = m_list && m_list->geometry().contains(e->pos());
        if (e->reason() == QContextMenuEvent::Mouse && onList) {
            // Empty space of the list: no menu, as ever.
            QTreeWidgetItem* item = m_list->itemAt(m_list->viewport()->mapFromGlobal(e->globalPos()));
            if (item) {
                m_dlg.m_DeviceList.SelectItem(m_list->indexOfTopLevelItem(item));
                m_deviceMenu->popup(e->globalPos());
            }
            return true;
        }
        m_windowMenu->popup(e->globalPos());
        return true;
    }

private:
    bool OnKey(QKeyEvent* e)
    {
        if (e->matches(QKeySequence::Copy)) {
            // Before the list's own Ctrl+C, which copies one cell.
            SendCommand(m_dlg, ID_DEVICE_COPY_ROW);
            return true;
        }
        Qt::KeyboardModifiers mods = e->modifiers();
        mods.setFlag(Qt::KeypadModifier, false);
        bool menuKey = e->key() == Qt::Key_Menu && mods == Qt::NoModifier;
        bool shiftF10 = e->key() == Qt::Key_F10 && mods == Qt::ShiftModifier;
        if (!menuKey && !shiftF10)
            return false;
        QWidget* focus = QApplication::focusWidget();
        QWidget* at = focus ? focus : m_dlg.GetSafeHwnd();
        OpenFromKeyboard(at->mapToGlobal(at->rect().center()));
        return true;
    }

    // The device menu beside the marked row when the list has the focus,
    // else the window's menu at `globalPos`.
    void OpenFromKeyboard(QPoint globalPos)
    {
        QWidget* focus = QApplication::focusWidget();
        bool listFocused = m_list && focus && (focus == m_list || m_list->isAncestorOf(focus));
        QTreeWidgetItem* item = listFocused ? m_list->topLevelItem(m_dlg.m_DeviceList.GetSelectionMark()) : nullptr;
        if (!item) {
            m_windowMenu->popup(globalPos);
            return;
        }
        m_list->scrollToItem(item);
        m_deviceMenu->popup(m_list->viewport()->mapToGlobal(m_list->visualItemRect(item).center()));
    }

    CScanDlg& m_dlg;
    QTreeWidget* m_list;
    QMenu* m_windowMenu;
    QMenu* m_deviceMenu;
};

} // namespace

UrlOpener SetUrlOpener(UrlOpener opener)
{
    UrlOpener old = CurrentOpener();
    CurrentOpener() = opener ? std::move(opener) : UrlOpener(OpenWithDesktop);
    return old;
}

CScanDlg::CScanDlg(CWnd* pParent) : CDialog(IDD, pParent), m_hIcon(LoadIcon(IDR_MAINFRAME))
{
    EnableResizing();
}

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
    ON_COMMAND(ID_DEVICE_OPEN_PAGE, OnOpenWebPage)
    ON_COMMAND(ID_DEVICE_OPEN_SHARES, OnOpenSharedFolders)
    ON_COMMAND(ID_DEVICE_COPY_ADDRESS, OnCopyAddress)
    ON_COMMAND(ID_DEVICE_COPY_MAC, OnCopyMac)
    ON_COMMAND(ID_DEVICE_COPY_ROW, OnCopyRow)
    ON_COMMAND(ID_DEVICE_COPY_ALL, OnCopyAllRows)
    ON_COMMAND(ID_DEVICE_SETUP_IP, OnSetupIp)
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_COMMAND(ID_REMEMBERED, OnRemembered)
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

    const char* samples[kDeviceColumns];
    for (int col = 0; col < kDeviceColumns; ++col) {
        m_DeviceList.InsertColumn(col, AfxTranslateResource(kColumns[col].heading).toStdString(), LVCFMT_CENTER);
        samples[col] = kColumns[col].sample;
    }
    // Columns fitted to their texts, then the size and widths the last run kept.
    m_layout.Init(GetSafeHwnd(), qobject_cast<QTreeWidget*>(m_DeviceList.GetSafeHwnd()), samples);
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
    CString remembered;
    remembered.LoadString(ID_REMEMBERED);
    // Ctrl+H, as a browser opens its history; the window holds the shortcut.
    QAction* history = menu->addAction(QString::fromUtf8(remembered.c_str()));
    history->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    window->addAction(history);
    QObject::connect(history, &QAction::triggered, menu, [this] { SendCommand(*this, ID_REMEMBERED); });

    CString about;
    about.LoadString(IDS_ABOUTBOX);
    if (!about.IsEmpty()) {
        menu->addSeparator();
        QAction* entry = menu->addAction(QString::fromUtf8(about.c_str()));
        QObject::connect(entry, &QAction::triggered, menu, [this] { SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX, 0); });
    }

    auto* deviceMenu = new QMenu(window);
    deviceMenu->setObjectName("deviceMenu");
    for (int id : kDeviceMenu) {
        if (id == 0) {
            deviceMenu->addSeparator();
            continue;
        }
        CString text;
        text.LoadString(static_cast<UINT>(id));
        QAction* entry = deviceMenu->addAction(QString::fromUtf8(text.c_str()));
        QObject::connect(entry, &QAction::triggered, deviceMenu, [this, id] { SendCommand(*this, id); });
    }
    new WindowMenus(*this, qobject_cast<QTreeWidget*>(m_DeviceList.GetSafeHwnd()), menu, deviceMenu);
}

void CScanDlg::OnSize(UINT nType, int cx, int cy)
{
    if (nType != SIZE_MINIMIZED)
        m_layout.Resize(QSize(cx, cy));
}

void CScanDlg::OnDestroy()
{
    m_layout.Save();
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
    OnOpenWebPage();
}

void CScanDlg::OpenMarkedDevice(const char* prefix, const char* suffix)
{
    int mark = m_DeviceList.GetSelectionMark();
    if (mark == -1)
        return;
    CString address = m_DeviceList.GetItemText(mark, ColAddress);
    char url[kUrlBufferSize];
    int length = std::snprintf(url, sizeof url, "%s%s%s", prefix, address.c_str(), suffix);
    // A cut URL would open some other page; the table never makes one this long.
    if (length > 0 && static_cast<size_t>(length) < sizeof url)
        CurrentOpener()(url);
}

void CScanDlg::OnOpenWebPage()
{
    if (m_DeviceList.GetSelectionMark() == -1)
        return;
    OpenMarkedDevice("http://", "");
    m_DeviceList.SendMessage(LVM_SETSELECTIONMARK, 0, -1);
}

void CScanDlg::OnOpenSharedFolders()
{
    OpenMarkedDevice("smb://", "/");
}

void CScanDlg::OnCopyAddress()
{
    int mark = m_DeviceList.GetSelectionMark();
    if (mark != -1)
        AfxSetClipboardText(m_DeviceList.GetItemText(mark, ColAddress));
}

void CScanDlg::OnCopyMac()
{
    int mark = m_DeviceList.GetSelectionMark();
    if (mark != -1)
        AfxSetClipboardText(m_DeviceList.GetItemText(mark, ColMac));
}

CString CScanDlg::RowText(int row) const
{
    CString text;
    for (int col = 0; col < kDeviceColumns; ++col) {
        if (col > 0)
            text += '\t';
        // A tab or line break of a host name would shift the pasted cells.
        text += EscapeForTerminal(m_DeviceList.GetItemText(row, col));
    }
    return text;
}

void CScanDlg::OnCopyRow()
{
    int mark = m_DeviceList.GetSelectionMark();
    if (mark != -1)
        AfxSetClipboardText(RowText(mark));
}

void CScanDlg::OnCopyAllRows()
{
    // The headings as shown first, so that a spreadsheet takes them as its
    // first row.
    CString text;
    for (int col = 0; col < kDeviceColumns; ++col) {
        if (col > 0)
            text += '\t';
        text += m_DeviceList.GetColumnHeading(col);
    }
    for (int row = 0; row < m_DeviceList.GetItemCount(); ++row) {
        text += '\n';
        text += RowText(row);
    }
    AfxSetClipboardText(text);
}

void CScanDlg::OnDeviceItemChanged(NMHDR* /*pNMHDR*/, LRESULT* pResult)
{
    *pResult = 0;
}
