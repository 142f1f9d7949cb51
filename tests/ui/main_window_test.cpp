// The main window and the application start-up, driven as an operator would:
// offscreen, on the virtual LAN with orbisk-devsim playing the devices. The
// test process enters the operator host before any socket is opened.
//
// Modal loops are driven by a Script (modal_driver.h).

#include "byte_escape.h"
#include "device_record.h"
#include "devsim_process.h"
#include "tool_port.h"
#include "magic_packet.h"
#include "modal_driver.h"
#include "operations.h"
#include "orbisk_resources.h"
#include "scan_app.h"
#include "scan_dlg.h"
#include "virtual_lan.h"
#include "wire.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

// ---- widgets -------------------------------------------------------------------

QWidget* Ctl(QWidget* dlg, int id)
{
    return dlg ? dlg->findChild<QWidget*>(QStringLiteral("ctl%1").arg(id)) : nullptr;
}

QPushButton* Button(QWidget* dlg, int id)
{
    return qobject_cast<QPushButton*>(Ctl(dlg, id));
}

QString ButtonText(QWidget* dlg, int id)
{
    QPushButton* b = Button(dlg, id);
    return b ? b->text() : QStringLiteral("<no button %1>").arg(id);
}

bool ButtonEnabled(QWidget* dlg, int id)
{
    QPushButton* b = Button(dlg, id);
    return b && b->isEnabled();
}

// A click as the window system delivers it: press and release at the point.
void ClickAt(QWidget* w, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    QWidget* top = w->window();
    QTest::mouseClick(top->windowHandle(), button, {}, w->mapTo(top, pos));
}

void DoubleClickAt(QWidget* w, QPoint pos)
{
    QWidget* top = w->window();
    QTest::mouseDClick(top->windowHandle(), Qt::LeftButton, {}, w->mapTo(top, pos));
}

void Click(QWidget* dlg, int id)
{
    QWidget* b = Ctl(dlg, id);
    ASSERT_NE(b, nullptr) << "no control " << id;
    ClickAt(b, b->rect().center());
}

QTreeWidget* List(QWidget* dlg)
{
    return qobject_cast<QTreeWidget*>(Ctl(dlg, IDC_DEVICE_LIST));
}

QPoint RowCentre(QTreeWidget* list, int row)
{
    return list->visualItemRect(list->topLevelItem(row)).center();
}

// A right-click on a row, each a little away from the last: two presses at
// one spot in quick succession can make a double-click, which opens no menu.
void RightClickRow(QTreeWidget* list, int row)
{
    static int turn = 0;
    ClickAt(list->viewport(), RowCentre(list, row) + QPoint((turn++ % 5 - 2) * 40, 0), Qt::RightButton);
}

// A point of the list's empty area, below every row.
QPoint BelowRows(QTreeWidget* list)
{
    return QPoint(20, list->viewport()->height() - 4);
}

void PressKey(QWidget* w, Qt::Key key)
{
    QTest::keyClick(w, key);
}

// A key as the keyboard sends it: to the focus widget, else the active window.
void PressKey(Qt::Key key)
{
    QWidget* target = QApplication::focusWidget();
    PressKey(target ? target : QApplication::activeWindow(), key);
}

void CloseMessageBox()
{
    if (QMessageBox* box = VisibleMessageBox())
        box->button(QMessageBox::Ok)->click();
}

std::vector<QWidget*> VisibleWindows()
{
    std::vector<QWidget*> windows;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            windows.push_back(w);
    }
    return windows;
}

// ---- the network side ---------------------------------------------------------------

// A poll that finds nothing waits 500 ms. While the listener is open, this
// keeps one junk datagram (no reply of the protocol, read as nothing) queued
// on it from loopback, so each tick takes about its 50 ms and a scan lasts
// about its 21 ticks, whatever the number of devices.
class ListenerFeeder {
public:
    ListenerFeeder()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Feed(); });
    }
    ~ListenerFeeder()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    void Start() { m_timer.start(); }

private:
    void Feed()
    {
        int listener = g_listener.m_hRawSocket;
        if (listener == -1)
            return;
        pollfd p{listener, POLLIN, 0};
        if (::poll(&p, 1, 0) > 0)
            return;
        if (m_fd < 0)
            m_fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        SendToListener(m_fd, "x");
    }

    QTimer m_timer;
    int m_fd = -1;

public:
    static void SendToListener(int fd, const std::string& bytes)
    {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(10001);
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }
};

struct Device {
    vlan::Host* host = nullptr;
    CDevsimProcess* sim = nullptr;
};

// What one device says about itself.
struct Identity {
    std::string hostname, version, mac, gateway, netmask, mode;
};

// ---- fixtures -------------------------------------------------------------------------

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CloseListener();
        SelectedDevice = {};
        SetUrlOpener([this](const char* url) { m_urls.push_back(url); });
    }

    void TearDown() override
    {
        SetUrlOpener(nullptr);
        SetSocketInitCheck(nullptr);
        CloseListener();
        for (QWidget* w : VisibleWindows())
            ADD_FAILURE() << "window left open: " << w->objectName().toStdString();
    }

    // Runs the main window modally under the script; returns what DoModal gave.
    INT_PTR Run(CScanDlg& dlg, Script& script)
    {
        script.Start();
        INT_PTR result = dlg.DoModal();
        EXPECT_TRUE(script.Finished()) << script.Failure();
        return result;
    }

    std::vector<std::string> m_urls;
};

class MainWindowPrivateNetTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        PRIVATE_NET_REQUIRE();
    }
};

class MainWindowLanTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        VLAN_REQUIRE(m_lan);
        vlan::Host& op = m_lan.AddHost("op", 0, 10);
        ASSERT_TRUE(m_lan.Ok()) << m_lan.Error();
        ASSERT_TRUE(m_lan.Enter(op));
        m_feeder.Start();
    }

    void TearDown() override
    {
        MainWindowTest::TearDown();
        m_sims.clear();
        m_lan.TearDown();
    }

    // A device host at 198.18.0.<octet> running the simulator as one device.
    Device AddDevice(int octet, const Identity& id, std::vector<std::string> extra = {})
    {
        Device dev;
        dev.host = &m_lan.AddHost("dev" + std::to_string(octet), 0, octet);
        EXPECT_TRUE(m_lan.Ok()) << m_lan.Error();
        std::vector<std::string> args{"--reply-delay", "30", "--hostname", id.hostname, "--firmware", id.version,
            "--mac", id.mac, "--gateway", id.gateway, "--netmask", id.netmask, "--mode", id.mode};
        args.insert(args.end(), extra.begin(), extra.end());
        dev.sim = &m_sims.emplace_back(m_lan);
        EXPECT_TRUE(dev.sim->Start(*dev.host, args)) << dev.sim->Failure();
        return dev;
    }

    // The datagrams a device received, in order.
    static std::vector<std::string> Received(const Device& dev)
    {
        std::vector<std::string> datagrams;
        for (const LoggedDatagram& d : dev.sim->Received())
            datagrams.push_back(d.bytes);
        return datagrams;
    }

    std::string HostAddresses(const Device& dev)
    {
        std::string out;
        m_lan.Run(*dev.host, {"ip", "-4", "-o", "addr", "show"}, &out);
        return out;
    }

    vlan::VirtualLan m_lan;
    std::deque<CDevsimProcess> m_sims; // deque: devices keep pointers to them
    ListenerFeeder m_feeder;
};

bool Scanning(CScanDlg& dlg)
{
    return ButtonText(dlg.m_hWnd, IDC_SCAN) == "Finished";
}

bool ScanIdle(CScanDlg& dlg)
{
    return ButtonText(dlg.m_hWnd, IDC_SCAN) == "Scan" && ButtonEnabled(dlg.m_hWnd, IDC_SCAN);
}

int Rows(CScanDlg& dlg)
{
    return dlg.m_DeviceList.GetItemCount();
}

// The row that lists `address`, or -1.
int RowOf(CScanDlg& dlg, const std::string& address)
{
    for (int row = 0; row < Rows(dlg); ++row) {
        if (dlg.m_DeviceList.GetItemText(row, ColAddress) == address)
            return row;
    }
    return -1;
}

// ---- the window itself ------------------------------------------------------------------

TEST_F(MainWindowPrivateNetTest, ShowsSevenCentredColumnsAndAnIdleScanButton)
{
    CScanDlg dlg;
    Script script;
    script.Then("inspect", [&] {
        QWidget* w = dlg.m_hWnd;
        EXPECT_EQ(w->windowTitle(), "Orbisk");
        EXPECT_FALSE(w->windowIcon().isNull());
        QTreeWidget* list = List(w);
        ASSERT_NE(list, nullptr);
        // What the operator sees: seven centred headings, each wide enough to read.
        const char* headings[] = {"No.", "IP Address", "Version", "Hostname", "Gateway", "MAC Address", "Netmask"};
        ASSERT_EQ(list->columnCount(), 7);
        const QFontMetrics metrics(list->header()->font());
        for (int c = 0; c < 7; ++c) {
            QString heading = list->headerItem()->text(c);
            EXPECT_EQ(heading.toStdString(), headings[c]) << "column " << c;
            EXPECT_TRUE(list->headerItem()->textAlignment(c) & Qt::AlignHCenter) << "column " << c;
            EXPECT_GT(list->columnWidth(c), metrics.horizontalAdvance(heading)) << "column " << c;
        }
        EXPECT_EQ(dlg.m_DeviceList.GetExtendedStyle(), LVS_EX_FULLROWSELECT);
        EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_FALSE(list->isSortingEnabled());
        EXPECT_FALSE(list->header()->sectionsClickable());
        EXPECT_EQ(Rows(dlg), 0);
        EXPECT_EQ(dlg.m_nDeviceCount, 0);
        EXPECT_EQ(dlg.m_DeviceList.GetSelectionMark(), -1);
        // No scan starts by itself.
        EXPECT_TRUE(ScanIdle(dlg));
        EXPECT_FALSE(dlg.IsScanning());
        EXPECT_EQ(g_listener.m_hRawSocket, -1);
        // The buttons in tab order, the list first with the focus.
        EXPECT_EQ(QApplication::focusWidget(), list);
        EXPECT_EQ(ButtonText(w, IDC_SCAN), "Scan");
        EXPECT_EQ(ButtonText(w, IDCANCEL), "Quit");
        EXPECT_EQ(ButtonText(w, IDC_CLEAR), "Clear");
        EXPECT_EQ(ButtonText(w, IDC_SETUP_IP), "Setup IP");
        // No default button: Enter would go to it instead of starting a scan.
        for (int id : {int(IDC_SCAN), int(IDCANCEL), int(IDC_CLEAR), int(IDC_SETUP_IP)})
            EXPECT_FALSE(Button(w, id)->isDefault()) << id;
    });
    script.Then("Esc ends it", [&] { PressKey(List(dlg.m_hWnd), Qt::Key_Escape); });
    EXPECT_EQ(Run(dlg, script), IDCANCEL);

    // Quit and the close box end it the same way, and the window comes back
    // afresh each time.
    Script quit;
    quit.Then("Quit", [&] {
        EXPECT_EQ(dlg.m_DeviceList.GetColumnCount(), 7);
        Click(dlg.m_hWnd, IDCANCEL);
    });
    EXPECT_EQ(Run(dlg, quit), IDCANCEL);

    Script closeBox;
    closeBox.Then("close box", [&] { dlg.m_hWnd->close(); });
    EXPECT_EQ(Run(dlg, closeBox), IDCANCEL);
}

TEST_F(MainWindowPrivateNetTest, WindowMenuOpensTheAboutBox)
{
    CScanApp app; // routes F1 to the framework's help handler
    CScanDlg dlg;
    auto menu = [] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); };
    auto rightClick = [&](QWidget* target, QPoint pos) { ClickAt(target, pos, Qt::RightButton); };
    auto closeAbout = [&] {
        QWidget* about = Modal();
        EXPECT_EQ(about->windowTitle(), "About Orbisk");
        // The box's default button is OK: Enter ends it.
        PressKey(about, Qt::Key_Return);
    };

    Script script;
    script.Then("right-click on the list", [&] {
        QTreeWidget* list = List(dlg.m_hWnd);
        rightClick(list->viewport(), list->viewport()->rect().center());
        EXPECT_EQ(menu(), nullptr);
        // Outside the list: the window's menu, its last entry below a separator.
        rightClick(dlg.m_hWnd, QPoint(4, 4));
        QMenu* m = menu();
        ASSERT_NE(m, nullptr);
        QList<QAction*> actions = m->actions();
        ASSERT_EQ(actions.size(), 4);
        EXPECT_EQ(actions[0]->text(), "&Close");
        EXPECT_EQ(actions[1]->text(), "Remembered &Devices...");
        EXPECT_EQ(actions[1]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_H));
        EXPECT_TRUE(actions[2]->isSeparator());
        EXPECT_EQ(actions[3]->text(), "About Orbisk(&A)...");
        actions[3]->trigger();
    });
    script.When("About box from the menu", [] { return IsModal("dlg100"); }, closeAbout);
    script.When("back to the main window", [] { return IsModal("dlg102"); }, [&] {
        // The keyboard's menu key, with the focus on the list.
        QTreeWidget* list = List(dlg.m_hWnd);
        QContextMenuEvent e(QContextMenuEvent::Keyboard, list->rect().center(), list->mapToGlobal(list->rect().center()));
        QApplication::sendEvent(list, &e);
        ASSERT_NE(menu(), nullptr);
        menu()->close();
        // Any id whose upper bits are the About entry's opens the box.
        dlg.SendMessage(WM_SYSCOMMAND, CScanDlg::IDM_ABOUTBOX | 0x3, 0);
    });
    script.When("About box from the command", [] { return IsModal("dlg100"); }, closeAbout);
    script.When("main window again", [] { return IsModal("dlg102"); },
        [&] { PressKey(List(dlg.m_hWnd), Qt::Key_F1); });
    script.When("About box from F1", [] { return IsModal("dlg100"); }, [&] {
        EXPECT_FALSE(Ctl(Modal(), IDOK) == nullptr);
        closeAbout();
    });
    script.When("main window once more", [] { return IsModal("dlg102"); }, [&] {
        rightClick(dlg.m_hWnd, QPoint(4, 4));
        ASSERT_NE(menu(), nullptr);
        // The other entry is the standard close.
        menu()->actions()[0]->trigger();
    });
    EXPECT_EQ(Run(dlg, script), IDCANCEL);
}

TEST_F(MainWindowPrivateNetTest, DoubleClickOpensOnlyWhatTheMarkNames)
{
    CScanDlg dlg;
    Script script;
    script.Then("rows put in by hand", [&] {
        QTreeWidget* list = List(dlg.m_hWnd);
        // No row marked: a double-click anywhere does nothing.
        DoubleClickAt(list->viewport(), BelowRows(list));
        EXPECT_TRUE(m_urls.empty());

        dlg.AddDeviceRow({ "198.18.0.101", "198.18.0.1", "nas", "02:00:00:00:00:01", "1.0", "255.255.255.0",
            AddressMode::Static, 0 });
        // Longer than any dotted quad: the URL would not fit its buffer.
        std::string longText(60, '9');
        dlg.AddDeviceRow(
            { longText, "198.18.0.1", "long", "02:00:00:00:00:02", "1.0", "255.255.255.0", AddressMode::Static, 0 });
        ASSERT_EQ(Rows(dlg), 2);

        ClickAt(list->viewport(), RowCentre(list, 1));
        EXPECT_EQ(dlg.m_DeviceList.GetSelectionMark(), 1);
        DoubleClickAt(list->viewport(), RowCentre(list, 1));
        EXPECT_TRUE(m_urls.empty()) << m_urls.front();
        EXPECT_EQ(dlg.m_DeviceList.GetSelectionMark(), -1);

        ClickAt(list->viewport(), RowCentre(list, 0));
        DoubleClickAt(list->viewport(), RowCentre(list, 0));
        ASSERT_EQ(m_urls.size(), 1u);
        EXPECT_EQ(m_urls[0], "http://198.18.0.101");
        EXPECT_EQ(dlg.m_DeviceList.GetSelectionMark(), -1);
        // The row may still look selected; the mark is gone all the same.
        EXPECT_EQ(dlg.m_DeviceList.GetSelectedItem(), 0);
        DoubleClickAt(list->viewport(), BelowRows(list));
        EXPECT_EQ(m_urls.size(), 1u);
    });
    script.Then("Quit", [&] { Click(dlg.m_hWnd, IDCANCEL); });
    EXPECT_EQ(Run(dlg, script), IDCANCEL);
}

TEST_F(MainWindowPrivateNetTest, DeviceMenuCopiesAndOpensTheRowsDevice)
{
    CScanDlg dlg;
    auto popup = [] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); };
    // A menu may open after the event that asks for it has returned.
    auto awaitPopup = [&] {
        for (int i = 0; i < 200 && popup() == nullptr; ++i)
            QTest::qWait(10);
        return popup();
    };
    auto clipboard = [] { return QGuiApplication::clipboard()->text().toStdString(); };
    const std::string row0 = "0\t198.18.0.101\t1.0\tnas\t198.18.0.1\t02:00:00:00:00:01\t255.255.255.0";
    const std::string row1 = "1\t198.18.0.102\t3.0.7\tbeta-nas\t198.18.0.254\t02:aa:bb:cc:dd:02\t255.255.0.0";
    Script script;
    script.Then("two rows put in by hand", [&] {
        dlg.AddDeviceRow({"198.18.0.101", "198.18.0.1", "nas", "02:00:00:00:00:01", "1.0", "255.255.255.0",
            AddressMode::Static, 0});
        dlg.AddDeviceRow({"198.18.0.102", "198.18.0.254", "beta-nas", "02:aa:bb:cc:dd:02", "3.0.7", "255.255.0.0",
            AddressMode::Dhcp, 0});
        ASSERT_EQ(Rows(dlg), 2);
        QTreeWidget* list = List(dlg.m_hWnd);
        QGuiApplication::clipboard()->setText("before");

        // A right-click on a row marks it and opens the device menu, its
        // entries in order, each with a mnemonic and read out by its text.
        RightClickRow(list, 1);
        QMenu* m = awaitPopup();
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->objectName(), "deviceMenu");
        EXPECT_EQ(dlg.m_DeviceList.GetSelectionMark(), 1);
        QStringList names, mnemonics;
        QAccessibleInterface* menuIface = QAccessible::queryAccessibleInterface(m);
        ASSERT_NE(menuIface, nullptr);
        for (int i = 0; i < menuIface->childCount(); ++i) {
            QAccessibleInterface* item = menuIface->child(i);
            if (item->role() == QAccessible::MenuItem)
                names << item->text(QAccessible::Name);
        }
        for (QAction* a : m->actions()) {
            if (!a->isSeparator())
                mnemonics << a->text().section('&', 1).left(1).toLower();
        }
        EXPECT_EQ(names, QStringList({"Open Web Page", "Open Shared Folders", "Copy IP Address", "Copy MAC Address",
                                      "Copy Row", "Copy All Rows", "Setup IP...", "Remembered Devices..."}));
        EXPECT_EQ(mnemonics.size(), 8);
        EXPECT_EQ(QSet<QString>(mnemonics.begin(), mnemonics.end()).size(), 8) << mnemonics.join(",").toStdString();
        EXPECT_FALSE(mnemonics.contains(""));
        QTest::keyClick(m, 'i');
        EXPECT_EQ(popup(), nullptr);
        EXPECT_EQ(clipboard(), "198.18.0.102");

        // Shift+F10 on the list with the row marked.
        QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
        ASSERT_NE(awaitPopup(), nullptr);
        EXPECT_EQ(popup()->objectName(), "deviceMenu");
        QTest::keyClick(popup(), 'm');
        EXPECT_EQ(clipboard(), "02:aa:bb:cc:dd:02");

        // The menu key, as the window system reports it.
        QContextMenuEvent key(QContextMenuEvent::Keyboard, list->rect().center(), list->mapToGlobal(list->rect().center()));
        QApplication::sendEvent(list, &key);
        ASSERT_NE(awaitPopup(), nullptr);
        EXPECT_EQ(popup()->objectName(), "deviceMenu");
        QTest::keyClick(popup(), 'r');
        EXPECT_EQ(clipboard(), row1);

        // Every row under the headings, from any row.
        RightClickRow(list, 0);
        ASSERT_NE(awaitPopup(), nullptr);
        QTest::keyClick(popup(), 'a');
        EXPECT_EQ(clipboard(), "No.\tIP Address\tVersion\tHostname\tGateway\tMAC Address\tNetmask\n" + row0 + "\n" + row1);

        // Ctrl+C copies the marked row, not the list's current cell.
        EXPECT_EQ(dlg.m_DeviceList.GetSelectionMark(), 0);
        QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(clipboard(), row0);

        // The shares through the URL handler; the mark stays.
        RightClickRow(list, 0);
        ASSERT_NE(awaitPopup(), nullptr);
        QTest::keyClick(popup(), 'f');
        EXPECT_EQ(m_urls, std::vector<std::string>{"smb://198.18.0.101/"});
        EXPECT_EQ(dlg.m_DeviceList.GetSelectionMark(), 0);

        // Arrow keys reach the entries: the first is the double-click's page,
        // which leaves no row marked.
        QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
        ASSERT_NE(awaitPopup(), nullptr);
        QTest::keyClick(popup(), Qt::Key_Down);
        QTest::keyClick(popup(), Qt::Key_Return);
        EXPECT_EQ(popup(), nullptr);
        EXPECT_EQ(m_urls, (std::vector<std::string>{"smb://198.18.0.101/", "http://198.18.0.101"}));
        EXPECT_EQ(dlg.m_DeviceList.GetSelectionMark(), -1);

        // No mark: Ctrl+C copies nothing and the keyboard opens the window's menu.
        QGuiApplication::clipboard()->setText("kept");
        QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(clipboard(), "kept");
        QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
        ASSERT_NE(awaitPopup(), nullptr);
        EXPECT_EQ(popup()->objectName(), "windowMenu");
        popup()->close();
        // The list's empty space opens nothing.
        ClickAt(list->viewport(), BelowRows(list), Qt::RightButton);
        EXPECT_EQ(popup(), nullptr);
        EXPECT_EQ(m_urls.size(), 2u);

        // The last entry is the Setup IP button's, on the right-clicked row.
        RightClickRow(list, 1);
        ASSERT_NE(awaitPopup(), nullptr);
        QTest::keyClick(popup(), 's');
    });
    script.When("Setup IP dialog", [] { return IsModal("dlg131"); }, [&] {
        EXPECT_EQ(dlg.m_SetupDlg.m_AddressCtrl.GetWindowText(), "198.18.0.102");
        Click(Modal(), IDCANCEL);
    });
    // Back starts a scan, whose request has no network port to leave by here.
    script.When("the scan's message", [] { return VisibleMessageBox() != nullptr; }, CloseMessageBox);
    script.When("Quit", [] { return IsModal("dlg102"); }, [&] { Click(dlg.m_hWnd, IDCANCEL); });
    EXPECT_EQ(Run(dlg, script), IDCANCEL);
}

// A host name is the device's own bytes. A tab or line break in it would
// shift the cells of a pasted row, so the copies escape every cell as
// orbisk-cli's table does, backslashes included.
TEST_F(MainWindowPrivateNetTest, CopiedRowsKeepTheirCellsWhateverTheHostName)
{
    CScanDlg dlg;
    auto clipboard = [] { return QGuiApplication::clipboard()->text().toStdString(); };
    auto copy = [&](UINT id) { dlg.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED)); };
    const std::string row0 =
        "0\t198.18.0.101\t1.0\tnas\\x09one\\x0D\\x0Atwo \\\\t\t198.18.0.1\t02:00:00:00:00:01\t255.255.255.0";
    const std::string row1 = "1\t198.18.0.102\t1.0\tplain\t198.18.0.1\t02:00:00:00:00:02\t255.255.255.0";
    Script script;
    script.Then("rows put in by hand", [&] {
        dlg.AddDeviceRow({"198.18.0.101", "198.18.0.1", "nas\tone\r\ntwo \\t", "02:00:00:00:00:01", "1.0",
            "255.255.255.0", AddressMode::Static, 0});
        dlg.AddDeviceRow({"198.18.0.102", "198.18.0.1", "plain", "02:00:00:00:00:02", "1.0", "255.255.255.0",
            AddressMode::Static, 0});
        ASSERT_EQ(Rows(dlg), 2);
        QTreeWidget* list = List(dlg.m_hWnd);
        ClickAt(list->viewport(), RowCentre(list, 0));
        ASSERT_EQ(dlg.m_DeviceList.GetSelectionMark(), 0);

        copy(ID_DEVICE_COPY_ROW);
        EXPECT_EQ(clipboard(), row0);
        copy(ID_DEVICE_COPY_ALL);
        const std::string all = clipboard();
        EXPECT_EQ(all, "No.\tIP Address\tVersion\tHostname\tGateway\tMAC Address\tNetmask\n" + row0 + "\n" + row1);
        // As a spreadsheet reads it: three lines of seven cells.
        EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 2);
        EXPECT_EQ(std::count(all.begin(), all.end(), '\t'), 3 * 6);
        // The list itself shows the name as the device sent it.
        EXPECT_EQ(dlg.m_DeviceList.GetItemText(0, ColHostname), "nas\tone\r\ntwo \\t");
    });
    script.Then("Quit", [&] { Click(dlg.m_hWnd, IDCANCEL); });
    EXPECT_EQ(Run(dlg, script), IDCANCEL);
}

// ---- start-up ---------------------------------------------------------------------------------

TEST_F(MainWindowPrivateNetTest, StartupFailureShowsTheMessageAndNoWindow)
{
    int checks = 0;
    SetSocketInitCheck([&] {
        ++checks;
        return FALSE;
    });
    CScanApp app;
    bool sawMainWindow = false;
    Script script;
    script.When("the message", [] { return VisibleMessageBox() != nullptr; }, [&] {
        QMessageBox* box = VisibleMessageBox();
        EXPECT_EQ(box->text(), "Communication port initialization failure");
        EXPECT_EQ(box->windowTitle(), "Orbisk");
        EXPECT_EQ(box->buttons().size(), 1);
        for (QWidget* w : QApplication::topLevelWidgets())
            sawMainWindow |= w->objectName() == "dlg102";
        CloseMessageBox();
    });
    script.Start();
    EXPECT_EQ(app.InitInstance(), FALSE);
    EXPECT_TRUE(script.Finished()) << script.Failure();
    EXPECT_EQ(checks, 1);
    EXPECT_FALSE(sawMainWindow);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST_F(MainWindowPrivateNetTest, StartupRunsTheMainWindowUntilItCloses)
{
    // The real check: a UDP socket can be made here.
    CScanApp app;
    Script script;
    script.When("the main window", [] { return IsModal("dlg102"); }, [&] {
        ASSERT_NE(app.m_pMainWnd, nullptr);
        EXPECT_EQ(app.m_pMainWnd->m_hWnd, Modal());
        EXPECT_EQ(VisibleMessageBox(), nullptr);
        Click(Modal(), IDCANCEL);
    });
    script.Start();
    EXPECT_EQ(app.InitInstance(), FALSE);
    EXPECT_TRUE(script.Finished()) << script.Failure();
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

// ---- on the virtual LAN ----------------------------------------------------------------------

const Identity kAlpha{"alpha", "2.1.0", "02:11:22:33:44:01", "198.18.0.1", "255.255.255.0", "0"};
const Identity kBeta{"beta-nas", "3.0.7", "02:aa:bb:cc:dd:02", "198.18.0.254", "255.255.0.0", "1"};
const Identity kGamma{"gamma", "1.9.9b", "02:00:5e:10:20:03", "198.18.0.9", "255.255.255.128", "0"};

void ExpectRow(CScanDlg& dlg, const std::string& address, const Identity& id)
{
    int row = RowOf(dlg, address);
    ASSERT_NE(row, -1) << address << " not listed";
    CListCtrl& l = dlg.m_DeviceList;
    EXPECT_EQ(l.GetItemText(row, ColNumber), std::to_string(row));
    EXPECT_EQ(l.GetItemText(row, ColVersion), id.version);
    EXPECT_EQ(l.GetItemText(row, ColHostname), id.hostname);
    EXPECT_EQ(l.GetItemText(row, ColGateway), id.gateway);
    EXPECT_EQ(l.GetItemText(row, ColMac), id.mac);
    EXPECT_EQ(l.GetItemText(row, ColNetmask), id.netmask);
}

TEST_F(MainWindowLanTest, ScanListsEveryDeviceAndEnterRestartsIt)
{
    std::vector<Device> devices{AddDevice(101, kAlpha), AddDevice(102, kBeta), AddDevice(103, kGamma)};
    CScanDlg dlg;
    QElapsedTimer restarted;
    Script script;
    script.Then("Scan", [&] {
        Click(dlg.m_hWnd, IDC_SCAN);
        EXPECT_EQ(ButtonText(dlg.m_hWnd, IDC_SCAN), "Finished");
        EXPECT_FALSE(ButtonEnabled(dlg.m_hWnd, IDC_SCAN));
        EXPECT_NE(g_listener.m_hRawSocket, -1);
    });
    script.When("three rows", [&] { return Rows(dlg) == 3; }, [&] {
        EXPECT_TRUE(Scanning(dlg));
        ExpectRow(dlg, "198.18.0.101", kAlpha);
        ExpectRow(dlg, "198.18.0.102", kBeta);
        ExpectRow(dlg, "198.18.0.103", kGamma);
    });
    script.When("end of the scan", [&] { return ScanIdle(dlg); }, [&] {
        EXPECT_EQ(Rows(dlg), 3);
        EXPECT_EQ(dlg.m_nDeviceCount, 3);
        EXPECT_EQ(g_listener.m_hRawSocket, -1);
        // Enter with no scan running starts one, wherever the click on Scan
        // left the focus.
        PressKey(Qt::Key_Return);
        EXPECT_TRUE(Scanning(dlg));
        EXPECT_EQ(Rows(dlg), 0);
    });
    script.When("half a scan, rows back", [&] { return dlg.m_nTick >= 10 && Rows(dlg) == 3; }, [&] {
        // Enter again, while the Scan button is disabled: the scan starts over.
        PressKey(Qt::Key_Return);
        restarted.start();
        EXPECT_EQ(dlg.m_nTick, 0u);
        EXPECT_EQ(Rows(dlg), 0);
        EXPECT_TRUE(Scanning(dlg));
        EXPECT_FALSE(ButtonEnabled(dlg.m_hWnd, IDC_SCAN));
    });
    script.When("rows after the restart", [&] { return Rows(dlg) == 3; }, [&] {
        ExpectRow(dlg, "198.18.0.101", kAlpha);
        ExpectRow(dlg, "198.18.0.102", kBeta);
        ExpectRow(dlg, "198.18.0.103", kGamma);
    });
    script.When("end of the restarted scan", [&] { return ScanIdle(dlg); }, [&] {
        // 21 ticks of at least 50 ms counted from the restart.
        EXPECT_GE(restarted.elapsed(), 21 * 50 - 10);
        EXPECT_EQ(Rows(dlg), 3);
        Click(dlg.m_hWnd, IDCANCEL);
    });
    EXPECT_EQ(Run(dlg, script), IDCANCEL);
    // Discovery requests only: one to three from each of the three scans.
    for (const Device& dev : devices) {
        std::vector<std::string> got = Received(dev);
        EXPECT_EQ(std::count(got.begin(), got.end(), kDiscovery), static_cast<long>(got.size())) << dev.host->name;
        EXPECT_GE(got.size(), 3u) << dev.host->name;
        EXPECT_LE(got.size(), 9u) << dev.host->name;
    }
}

TEST_F(MainWindowLanTest, ClearDuringAScanEmptiesAndNumbersAfresh)
{
    AddDevice(101, kAlpha);
    AddDevice(102, kBeta);
    CScanDlg dlg;
    int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(fd, 0);
    Script script;
    script.Then("Scan", [&] { Click(dlg.m_hWnd, IDC_SCAN); });
    script.When("two rows", [&] { return Rows(dlg) == 2; }, [&] {
        QTreeWidget* list = List(dlg.m_hWnd);
        ClickAt(list->viewport(), RowCentre(list, 1));
        EXPECT_EQ(dlg.m_DeviceList.GetSelectionMark(), 1);
        Click(dlg.m_hWnd, IDC_CLEAR);
        EXPECT_EQ(Rows(dlg), 0);
        EXPECT_EQ(dlg.m_nDeviceCount, 0);
        EXPECT_EQ(dlg.m_DeviceList.GetSelectionMark(), -1);
        // The scan goes on; a reply read from now on is row 0 again.
        EXPECT_TRUE(Scanning(dlg));
        DiscoveryFields late{"127.0.0.254", "late", "02:00:00:00:00:99", "0.9", "255.0.0.0", "1"};
        ListenerFeeder::SendToListener(fd, BuildDiscoveryReply(late));
    });
    script.When("the late reply", [&] { return Rows(dlg) >= 1; }, [&] {
        EXPECT_EQ(dlg.m_DeviceList.GetItemText(0, ColNumber), "0");
        EXPECT_EQ(dlg.m_DeviceList.GetItemText(0, ColAddress), "127.0.0.1");
        EXPECT_EQ(dlg.m_DeviceList.GetItemText(0, ColHostname), "late");
        EXPECT_EQ(dlg.m_nDeviceCount, Rows(dlg));
    });
    script.When("end of the scan", [&] { return ScanIdle(dlg); }, [&] {
        // The devices come back with the scan's later requests, after it.
        EXPECT_EQ(Rows(dlg), 3);
        EXPECT_EQ(dlg.m_DeviceList.GetItemText(0, ColHostname), "late");
        // After Clear no row is marked, so a double-click opens nothing.
        QTreeWidget* list = List(dlg.m_hWnd);
        DoubleClickAt(list->viewport(), BelowRows(list));
        EXPECT_TRUE(m_urls.empty());
        Click(dlg.m_hWnd, IDC_CLEAR);
        EXPECT_EQ(Rows(dlg), 0);
        EXPECT_TRUE(ScanIdle(dlg));
        Click(dlg.m_hWnd, IDCANCEL);
    });
    EXPECT_EQ(Run(dlg, script), IDCANCEL);
    ::close(fd);
}

// A thousand devices answering at once, far more than an ordinary user's
// receive queue holds (SO_RCVBUF capped at 212,992 bytes; the test runs as
// root): the window's event loop takes the replies off the socket between
// the ticks, and one scan lists each device once, numbered in order.
TEST_F(MainWindowLanTest, AThousandDevicesAreListedInOneScanUnderAnOrdinaryUsersQueue)
{
    constexpr int kDevices = 1000;
    vlan::Host& host = m_lan.AddHost("many", 0, 200);
    std::vector<std::string> addresses;
    for (int i = 0; i < kDevices; ++i)
        addresses.push_back(vlan::ManyDeviceAddress(i));
    m_lan.AddAddresses(host, addresses);
    ASSERT_TRUE(m_lan.Ok()) << m_lan.Error();
    CDevsimProcess& sim = m_sims.emplace_back(m_lan);
    ASSERT_TRUE(sim.Start(host, {"--reply-delay", "0", "--address", addresses[0], "--count", std::to_string(kDevices)}))
        << sim.Failure();
    setenv("ORBISK_RECEIVE_QUEUE", "212992", 1);
    struct Unset {
        ~Unset() { unsetenv("ORBISK_RECEIVE_QUEUE"); }
    } unset;

    CScanDlg dlg;
    Script script;
    script.Then("Scan", [&] {
        Click(dlg.m_hWnd, IDC_SCAN);
        int queue = 0;
        socklen_t length = sizeof queue;
        getsockopt(g_listener.m_hRawSocket, SOL_SOCKET, SO_RCVBUF, &queue, &length);
        EXPECT_EQ(queue, 2 * 212992); // as the kernel reports it
    });
    script.When("end of the scan", [&] { return ScanIdle(dlg); }, [&] {
        ASSERT_EQ(Rows(dlg), kDevices);
        QSet<QString> senders;
        for (int row = 0; row < kDevices; ++row) {
            EXPECT_EQ(dlg.m_DeviceList.GetItemText(row, ColNumber), std::to_string(row));
            senders.insert(QString::fromStdString(dlg.m_DeviceList.GetItemText(row, ColAddress)));
        }
        EXPECT_EQ(senders.size(), kDevices);
        Click(dlg.m_hWnd, IDCANCEL);
    }, 30000);
    EXPECT_EQ(Run(dlg, script), IDCANCEL);
}

TEST_F(MainWindowLanTest, DoubleClickOpensTheMarkedDevicesPageOnce)
{
    AddDevice(101, kAlpha);
    AddDevice(102, kBeta);
    CScanDlg dlg;
    std::string first, second;
    Script script;
    script.Then("Scan", [&] { Click(dlg.m_hWnd, IDC_SCAN); });
    script.When("end of the scan", [&] { return ScanIdle(dlg) && Rows(dlg) == 2; }, [&] {
        QTreeWidget* list = List(dlg.m_hWnd);
        first = dlg.m_DeviceList.GetItemText(0, ColAddress);
        second = dlg.m_DeviceList.GetItemText(1, ColAddress);
        ClickAt(list->viewport(), RowCentre(list, 1));
        DoubleClickAt(list->viewport(), RowCentre(list, 1));
        ASSERT_EQ(m_urls.size(), 1u);
        EXPECT_EQ(m_urls[0], "http://" + second);
        EXPECT_EQ(dlg.m_DeviceList.GetSelectionMark(), -1);
        // Empty space with no mark: nothing.
        DoubleClickAt(list->viewport(), BelowRows(list));
        EXPECT_EQ(m_urls.size(), 1u);
        // Setup IP has no device to work on either.
        Click(dlg.m_hWnd, IDC_SETUP_IP);
    });
    script.When("the message", [] { return VisibleMessageBox() != nullptr; }, [&] {
        QMessageBox* box = VisibleMessageBox();
        EXPECT_EQ(box->text(), "Select the NAS to modify its IP address");
        EXPECT_EQ(box->windowTitle(), "Orbisk");
        EXPECT_EQ(box->parentWidget(), dlg.m_hWnd);
        CloseMessageBox();
    });
    script.When("back in the main window", [] { return IsModal("dlg102"); }, [&] {
        // No dialog came and no scan started.
        EXPECT_TRUE(ScanIdle(dlg));
        EXPECT_EQ(Rows(dlg), 2);
        // Empty space opens the page of the row last selected.
        QTreeWidget* list = List(dlg.m_hWnd);
        ClickAt(list->viewport(), RowCentre(list, 0));
        DoubleClickAt(list->viewport(), BelowRows(list));
        ASSERT_EQ(m_urls.size(), 2u);
        EXPECT_EQ(m_urls[1], "http://" + first);
        EXPECT_EQ(dlg.m_DeviceList.GetSelectionMark(), -1);
        Click(dlg.m_hWnd, IDCANCEL);
    });
    EXPECT_EQ(Run(dlg, script), IDCANCEL);
    EXPECT_NE(first, second);
}

TEST_F(MainWindowLanTest, AddressChangeFromTheMainWindow)
{
    Device dev = AddDevice(101, kAlpha, {"--user", "root", "--password", "s3cret"});
    CScanDlg dlg;
    Script script;
    script.Then("Scan", [&] { Click(dlg.m_hWnd, IDC_SCAN); });
    script.When("the device", [&] { return ScanIdle(dlg) && Rows(dlg) == 1; }, [&] {
        QTreeWidget* list = List(dlg.m_hWnd);
        ClickAt(list->viewport(), RowCentre(list, 0));
        Click(dlg.m_hWnd, IDC_SETUP_IP);
    });
    script.When("Setup IP dialog", [] { return IsModal("dlg131"); }, [&] {
        QWidget* setup = Modal();
        CSetupIpDlg& s = dlg.m_SetupDlg;
        EXPECT_EQ(s.m_AddressCtrl.GetWindowText(), "198.18.0.101");
        EXPECT_EQ(s.m_GatewayCtrl.GetWindowText(), kAlpha.gateway);
        EXPECT_EQ(s.m_NetmaskCtrl.GetWindowText(), kAlpha.netmask);
        EXPECT_EQ(s.m_Status.GetWindowText(), "Not set");
        s.m_AddressCtrl.SetWindowText("198.18.0.150");
        Click(setup, IDC_SETUP);
    });
    script.When("Authentication dialog", [] { return IsModal("dlg130"); }, [&] {
        QWidget* auth = Modal();
        qobject_cast<QLineEdit*>(Ctl(auth, IDC_USER))->setText("root");
        qobject_cast<QLineEdit*>(Ctl(auth, IDC_PASSWORD))->setText("s3cret");
        Click(auth, IDOK);
    });
    script.When("the change done", [&] {
        return IsModal("dlg131") && ButtonEnabled(Modal(), IDC_SETUP);
    }, [&] {
        EXPECT_NE(HostAddresses(dev).find("198.18.0.150/24"), std::string::npos) << HostAddresses(dev);
        EXPECT_EQ(HostAddresses(dev).find("198.18.0.101/"), std::string::npos) << HostAddresses(dev);
        // Back: the dialog closes and a new scan starts at once.
        Click(Modal(), IDCANCEL);
    });
    script.When("the new scan", [] { return IsModal("dlg102"); }, [&] { EXPECT_TRUE(Scanning(dlg)); });
    script.When("the device at its new address", [&] { return ScanIdle(dlg); }, [&] {
        ASSERT_EQ(Rows(dlg), 1);
        Identity moved = kAlpha;
        ExpectRow(dlg, "198.18.0.150", moved);
        Click(dlg.m_hWnd, IDCANCEL);
    });
    EXPECT_EQ(Run(dlg, script), IDCANCEL);

    ChangeRequest request{"198.18.0.101", "root", "s3cret", "198.18.0.150", kAlpha.netmask, kAlpha.gateway, AddressMode::Static};
    std::vector<std::string> got = Received(dev);
    std::string sent = BuildChangeRequest(request) + std::string(1, '\0');
    EXPECT_EQ(std::count(got.begin(), got.end(), sent), 1) << "change request not received as built";
    // Besides it, the requests of the scans before and after: one to three each.
    EXPECT_EQ(std::count(got.begin(), got.end(), kDiscovery) + 1, static_cast<long>(got.size()));
    EXPECT_GE(got.size(), 3u);
}

// ---- remembered devices ------------------------------------------------------------------

QString Status(QWidget* dlg, int id)
{
    auto* label = qobject_cast<QLabel*>(Ctl(dlg, id));
    return label ? label->text() : QStringLiteral("<no label %1>").arg(id);
}

// A record holding one device, heard before on the operator's port.
void RememberOnly(const std::string& mac, const std::string& address, const std::string& host)
{
    std::filesystem::remove(DeviceRecordPath());
    HeardDevice device;
    device.reply = {.sender = address, .gateway = "198.18.0.1", .hostname = host, .mac = mac, .version = "1.0",
        .netmask = "255.255.255.0", .mode = AddressMode::Static, .ifindex = 0};
    device.interfaceName = "eth0";
    RecordProblem problem;
    ASSERT_TRUE(UpdateRecord(DeviceRecordPath(), [&](CDeviceRecord& r) { r.Note(device, 1000000000000000000); },
        problem).Ok());
}

// Asleep, the device answers nothing. Ctrl+H, Wake Up: the magic packet
// leaves by the port it was heard on, the main window scans until it
// answers, marks its row, and the window says where it is.
TEST_F(MainWindowLanTest, RememberedWindowWakesASleepingDeviceAndSeesItListed)
{
    const Identity sleepy{"sleepy", "1.0.0", "02:00:00:00:00:2a", "198.18.0.1", "255.255.255.0", "0"};
    RememberOnly(sleepy.mac, "198.18.0.120", sleepy.hostname);
    Device dev = AddDevice(120, sleepy, {"--asleep"});
    CScanDlg dlg;
    QTreeWidget* remembered = nullptr;
    Script script;
    script.Then("Ctrl+H", [&] { QTest::keyClick(dlg.m_hWnd, Qt::Key_H, Qt::ControlModifier); });
    script.When("the Remembered Devices window", [] { return IsModal("dlg132"); }, [&] {
        QWidget* w = Modal();
        EXPECT_EQ(w->windowTitle(), "Remembered Devices");
        remembered = qobject_cast<QTreeWidget*>(Ctl(w, IDC_REMEMBERED_LIST));
        ASSERT_NE(remembered, nullptr);
        ASSERT_EQ(remembered->topLevelItemCount(), 1);
        EXPECT_EQ(remembered->topLevelItem(0)->text(0), "sleepy");
        EXPECT_EQ(remembered->topLevelItem(0)->text(3), "eth0");
        EXPECT_EQ(remembered->topLevelItem(0)->text(5), "");
        EXPECT_TRUE(remembered->topLevelItem(0)->isSelected());
        Click(w, IDC_WAKE);
        EXPECT_EQ(Status(w, IDC_REMEMBERED_STATUS), "Waiting for sleepy...");
        EXPECT_EQ(ButtonText(w, IDC_WAKE), "Stop Waiting");
        EXPECT_TRUE(Scanning(dlg));
    });
    script.When("it answers", [] { return IsModal("dlg132") && Status(Modal(), IDC_REMEMBERED_STATUS).contains(" up "); },
        [&] {
            QWidget* w = Modal();
            EXPECT_EQ(Status(w, IDC_REMEMBERED_STATUS), "sleepy is up at 198.18.0.120.");
            EXPECT_EQ(ButtonText(w, IDC_WAKE), "Wake Up");
            EXPECT_EQ(remembered->topLevelItem(0)->text(5), "Yes");
            int row = RowOf(dlg, "198.18.0.120");
            EXPECT_GE(row, 0);
            EXPECT_EQ(dlg.m_DeviceList.GetSelectionMark(), row);
            Click(w, IDCANCEL);
        }, 30000);
    script.When("back in the main window, scan over", [&] { return IsModal("dlg102") && ScanIdle(dlg); },
        [&] { Click(dlg.m_hWnd, IDCANCEL); });
    EXPECT_EQ(Run(dlg, script), IDCANCEL);

    std::vector<LoggedDatagram> wakes;
    for (const LoggedDatagram& d : dev.sim->Received()) {
        if (d.bytes.size() == kMagicPacketSize)
            wakes.push_back(d);
    }
    ASSERT_EQ(wakes.size(), 1u);
    EXPECT_EQ(wakes[0].bytes, BuildMagicPacket(*ParseMac(sleepy.mac)));
    EXPECT_EQ(wakes[0].destination, "255.255.255.255");
    EXPECT_EQ(wakes[0].source, "198.18.0.10");
    std::printf("magic packet as received: %s -> %s len=%zu hex=%s\n", wakes[0].source.c_str(),
        wakes[0].destination.c_str(), wakes[0].length, ToHex(wakes[0].bytes).c_str());
    // The scan that found it recorded it: now heard, at its address.
    CDeviceRecord record;
    record.Load();
    ASSERT_EQ(record.Newest().size(), 1u);
    EXPECT_GT(record.Newest()[0].lastSeenNs, int64_t{1000000000000000000});
}

// Add takes a MAC address in any notation; one that does not parse is said
// so in the dialog and nothing is stored. Forget asks first, No the default.
TEST_F(MainWindowPrivateNetTest, RememberedWindowAddsOnlyAMacAddressAndForgetsAfterAsking)
{
    std::filesystem::remove(DeviceRecordPath());
    CScanDlg dlg;
    Script script;
    script.Then("open", [&] { dlg.SendMessage(WM_COMMAND, ID_REMEMBERED, 0); });
    script.When("the window, empty", [] { return IsModal("dlg132"); }, [&] {
        EXPECT_FALSE(ButtonEnabled(Modal(), IDC_WAKE));
        EXPECT_FALSE(ButtonEnabled(Modal(), IDC_FORGET));
        Click(Modal(), IDC_ADD);
    });
    script.When("Add", [] { return IsModal("dlg133"); }, [&] {
        QWidget* add = Modal();
        qobject_cast<QLineEdit*>(Ctl(add, IDC_ADD_MAC))->setText("nas-01");
        qobject_cast<QLineEdit*>(Ctl(add, IDC_ADD_NAME))->setText("new box");
        Click(add, IDOK);
        EXPECT_TRUE(IsModal("dlg133"));
        EXPECT_EQ(Status(add, IDC_ADD_PROBLEM), "\"nas-01\" is not a MAC address.");
        EXPECT_FALSE(std::filesystem::exists(DeviceRecordPath()));
        qobject_cast<QLineEdit*>(Ctl(add, IDC_ADD_MAC))->setText("AABB.CCDD.EEFF");
        Click(add, IDOK);
    });
    script.When("the added device, marked", [] { return IsModal("dlg132"); }, [&] {
        auto* list = qobject_cast<QTreeWidget*>(Ctl(Modal(), IDC_REMEMBERED_LIST));
        ASSERT_EQ(list->topLevelItemCount(), 1);
        EXPECT_EQ(list->topLevelItem(0)->text(0), "new box");
        EXPECT_EQ(list->topLevelItem(0)->text(1), "aa:bb:cc:dd:ee:ff");
        EXPECT_TRUE(list->topLevelItem(0)->isSelected());
        Click(Modal(), IDC_FORGET);
    });
    script.When("the question; Enter is No", [] { return Modal() && Modal() != nullptr && !IsModal("dlg132"); }, [&] {
        EXPECT_EQ(qobject_cast<QMessageBox*>(Modal())->text(), "Forget new box?");
        PressKey(Modal(), Qt::Key_Return);
    });
    script.When("still there", [] { return IsModal("dlg132"); }, [&] {
        EXPECT_EQ(qobject_cast<QTreeWidget*>(Ctl(Modal(), IDC_REMEMBERED_LIST))->topLevelItemCount(), 1);
        Click(Modal(), IDC_FORGET);
    });
    script.When("the question again", [] { return Modal() && !IsModal("dlg132"); }, [&] {
        qobject_cast<QMessageBox*>(Modal())->button(QMessageBox::Yes)->click();
    });
    script.When("forgotten", [] { return IsModal("dlg132"); }, [&] {
        EXPECT_EQ(qobject_cast<QTreeWidget*>(Ctl(Modal(), IDC_REMEMBERED_LIST))->topLevelItemCount(), 0);
        Click(Modal(), IDCANCEL);
    });
    script.When("closed", [] { return IsModal("dlg102"); }, [&] { Click(dlg.m_hWnd, IDCANCEL); });
    EXPECT_EQ(Run(dlg, script), IDCANCEL);
    CDeviceRecord record;
    record.Load();
    EXPECT_TRUE(record.Newest().empty());
}

// A hostile record is data: host names with tabs, line breaks, quotes and
// 98 bytes, a line that cannot be read, ten thousand devices; then a
// directory where the record should be. The window opens each time, shows
// what it can and says what it could not read.
TEST_F(MainWindowPrivateNetTest, RememberedWindowShowsAHostileRecordAsDataAndSaysWhatItCouldNotRead)
{
    std::filesystem::create_directories(std::filesystem::path(DeviceRecordPath()).parent_path());
    {
        std::ofstream file(DeviceRecordPath(), std::ios::binary);
        file << "orbisk-devices 1\n";
        file << "02:00:00:00:00:01\t198.18.0.20\ttab\\there\\nnext \"q\" '$(x)'\t1.0\t\t\tstatic\teth0\t2\t2000000000\n";
        file << "02:00:00:00:00:02\t198.18.0.21\t" << std::string(98, 'n') << "\t1.0\t\t\tstatic\teth0\t2\t1999999999\n";
        file << "not\ta\tdevice\n";
        for (int i = 0; i < 10000; ++i)
            file << "zz:" << i << "\t198.18." << 2 + i / 250 << "." << i % 250 << "\thost" << i << "\t1.0\t\t\t\t\t0\t" << i << "\n";
    }
    CScanDlg dlg;
    QElapsedTimer opened;
    Script script;
    script.Then("open", [&] {
        opened.start();
        dlg.SendMessage(WM_COMMAND, ID_REMEMBERED, 0);
    });
    script.When("the window", [] { return IsModal("dlg132"); }, [&] {
        EXPECT_LT(opened.elapsed(), 5000);
        auto* list = qobject_cast<QTreeWidget*>(Ctl(Modal(), IDC_REMEMBERED_LIST));
        ASSERT_EQ(list->topLevelItemCount(), 10002);
        EXPECT_EQ(list->topLevelItem(0)->text(0), "tab here next \"q\" '$(x)'");
        EXPECT_EQ(list->topLevelItem(1)->text(0), QString(98, 'n'));
        EXPECT_EQ(list->topLevelItem(2)->text(1), "zz:9999"); // an odd MAC as it came
        EXPECT_EQ(Status(Modal(), IDC_REMEMBERED_STATUS),
            "Lines of the record that could not be read and are left out: 1.");
        Click(Modal(), IDCANCEL);
    });
    script.When("a directory in its place", [] { return IsModal("dlg102"); }, [&] {
        std::filesystem::remove(DeviceRecordPath());
        std::filesystem::create_directory(DeviceRecordPath());
        dlg.SendMessage(WM_COMMAND, ID_REMEMBERED, 0);
    });
    script.When("the window again", [] { return IsModal("dlg132"); }, [&] {
        EXPECT_EQ(qobject_cast<QTreeWidget*>(Ctl(Modal(), IDC_REMEMBERED_LIST))->topLevelItemCount(), 0);
        EXPECT_EQ(Status(Modal(), IDC_REMEMBERED_STATUS), QString::fromStdString(
            "The record of remembered devices " + DeviceRecordPath() + " could not be read."));
        Click(Modal(), IDCANCEL);
    });
    script.When("closed", [] { return IsModal("dlg102"); }, [&] { Click(dlg.m_hWnd, IDCANCEL); });
    EXPECT_EQ(Run(dlg, script), IDCANCEL);
    std::filesystem::remove(DeviceRecordPath());
}

} // namespace
