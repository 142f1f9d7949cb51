// orbisk-uidriver: the desktop program, started the same way (AfxWinMain, the
// application object, the main window run modally), with a script in front
// of it. For the documentation's pictures and the desktop benchmarks; not
// installed. Run it only inside the operator host of the virtual LAN.
//
//   orbisk-uidriver screenshots DIR  a session in pictures (needs a display, e.g. Xvfb),
//                                    in the session's language (LANGUAGE=de)
//   orbisk-uidriver startup T0_NS    ms from T0 (CLOCK_REALTIME in ns, taken just
//                                    before the exec) to the main window's first exposure
//   orbisk-uidriver scan N           N scans: ms from the click on Scan to the
//                                    button's return, the rows listed, ms to the
//                                    last row and the longest hold of the window
//                                    until then; then the resident memory

#include "modal_driver.h"
#include "orbisk_resources.h"
#include "scan_app.h"
#include "scan_dlg.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>

namespace {

enum class Mode { Screenshots, Startup, Scan };

Mode g_mode = Mode::Startup;
QString g_dir;
long long g_t0Ns = 0;
int g_nScans = 1;
int g_exitCode = 0;

long long NowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

double Ms(long long ns)
{
    return static_cast<double>(ns) / 1e6;
}

long ResidentKb()
{
    FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, status)) {
        if (std::sscanf(line, "VmRSS: %ld", &kb) == 1)
            break;
    }
    std::fclose(status);
    return kb;
}

CScanDlg* MainWindow()
{
    CWinApp* app = AfxGetApp();
    return app ? dynamic_cast<CScanDlg*>(app->m_pMainWnd) : nullptr;
}

QWidget* Ctl(QWidget* dlg, int id)
{
    return dlg ? dlg->findChild<QWidget*>(QStringLiteral("ctl%1").arg(id)) : nullptr;
}

void Click(QWidget* dlg, int id)
{
    if (auto* b = qobject_cast<QAbstractButton*>(Ctl(dlg, id)))
        b->click();
}

// A text of the program as it reads in the installed language.
QString Shown(const char* text, const char* context = "Resources")
{
    return QCoreApplication::translate(context, text);
}

bool ScanIdle()
{
    CScanDlg* dlg = MainWindow();
    auto* b = dlg ? qobject_cast<QPushButton*>(Ctl(dlg->m_hWnd, IDC_SCAN)) : nullptr;
    return b && b->isEnabled() && b->text() == Shown("Scan");
}

int Rows()
{
    CScanDlg* dlg = MainWindow();
    return dlg ? dlg->m_DeviceList.GetItemCount() : 0;
}

// Serves events for a while, so that windows are painted before a picture.
void Settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The window manager's frame around a window: left, top, right, bottom.
// Asked of the X server, since Qt learns of it late or not at all.
QMargins FrameExtents(QWidget* w)
{
    QProcess xprop;
    xprop.start("xprop", {"-id", QString::number(w->winId()), "_NET_FRAME_EXTENTS"});
    if (!xprop.waitForFinished(2000))
        return {};
    // "_NET_FRAME_EXTENTS(CARDINAL) = 1, 1, 20, 1": left, right, top, bottom
    QString out = QString::fromLocal8Bit(xprop.readAllStandardOutput());
    QStringList v = out.section('=', 1).split(',', Qt::SkipEmptyParts);
    if (v.size() != 4)
        return {};
    return QMargins(v[0].trimmed().toInt(), v[2].trimmed().toInt(), v[1].trimmed().toInt(), v[3].trimmed().toInt());
}

// A picture of the screen where these windows are: what the operator sees.
void Picture(std::initializer_list<QWidget*> windows, const char* name)
{
    Settle(500);
    QRect area;
    for (QWidget* w : windows)
        area = area.united(w->geometry().marginsAdded(FrameExtents(w)));
    QScreen* screen = QApplication::primaryScreen();
    area = area.intersected(screen->geometry());
    QPixmap shot = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    QString path = QDir(g_dir).filePath(QString::fromLatin1(name));
    if (shot.isNull() || !shot.save(path)) {
        std::fprintf(stderr, "orbisk-uidriver: cannot write %s\n", qPrintable(path));
        g_exitCode = 1;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

// Calls back on events the timing needs, before they are handled.
class EventWatch : public QObject {
public:
    explicit EventWatch(std::function<void(QObject*, QEvent*)> onEvent) : m_onEvent(std::move(onEvent))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        m_onEvent(watched, event);
        return false;
    }

private:
    std::function<void(QObject*, QEvent*)> m_onEvent;
};

bool IsMainWindowExposure(QObject* watched, QEvent* event)
{
    auto* window = qobject_cast<QWindow*>(watched);
    if (event->type() != QEvent::Expose || !window || !window->isExposed())
        return false;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->windowHandle() == window && w->objectName() == "dlg102")
            return true;
    }
    return false;
}

void AddStartupSteps(Script& script, const long long& shownNs, long long appNs)
{
    script.When("main window exposed", [&shownNs] { return shownNs != 0; }, [&shownNs, appNs] {
        std::printf("startup_ms %.1f\n", Ms(shownNs - g_t0Ns));
        std::printf("qapplication_ms %.1f\n", Ms(appNs - g_t0Ns));
        Click(MainWindow()->m_hWnd, IDCANCEL);
    });
}

// While a scan runs, a 2 ms probe on the window's event loop notes when the
// row count last changed and the longest the window was held until then,
// while replies were arriving (later, each empty poll holds it by design).
struct RowProbe {
    long long startNs = 0;
    long long lastRowNs = 0;
    long long lastBeatNs = 0;
    long long longestHoldNs = 0;
    int rows = 0;
    QTimer timer;

    void Start()
    {
        startNs = lastRowNs = lastBeatNs = NowNs();
        longestHoldNs = 0;
        rows = 0;
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(2);
        timer.callOnTimeout([this] { Beat(); });
        timer.start();
    }
    void Beat()
    {
        long long now = NowNs();
        if (Rows() != rows) {
            rows = Rows();
            lastRowNs = now;
            longestHoldNs = std::max(longestHoldNs, now - lastBeatNs - 2000000LL);
        }
        lastBeatNs = now;
    }
};

void AddScanSteps(Script& script, long long& startNs, const long long& endNs)
{
    static RowProbe probe;
    script.When("main window", [] { return IsModal("dlg102"); }, [] {});
    for (int i = 0; i < g_nScans; ++i) {
        script.When("idle", [] { return ScanIdle(); }, [&startNs] {
            startNs = NowNs();
            probe.Start();
            Click(MainWindow()->m_hWnd, IDC_SCAN);
        });
        script.When("scan end", [] { return ScanIdle(); }, [&startNs, &endNs] {
            probe.timer.stop();
            probe.Beat();
            std::printf("scan_ms %.1f rows %d last_row_ms %.1f longest_hold_ms %.1f\n", Ms(endNs - startNs), Rows(),
                Ms(probe.lastRowNs - startNs), Ms(probe.longestHoldNs));
            std::fflush(stdout);
        }, 60000);
    }
    script.Then("quit", [] {
        std::printf("rss_kb %ld\n", ResidentKb());
        Click(MainWindow()->m_hWnd, IDCANCEL);
    });
}

void AddScreenshotSteps(Script& script)
{
    script.When("main window", [] { return IsModal("dlg102"); }, [] { Click(Modal(), IDC_SCAN); });
    script.When("devices listed", [] { return ScanIdle() && Rows() >= 3; }, [] {
        CScanDlg* dlg = MainWindow();
        // A device with a static address: the Setup IP dialog opens with its fields editable.
        for (int row = 0; row < Rows(); ++row) {
            if (dlg->m_DeviceList.GetItemText(row, ColHostname) == "archive")
                dlg->m_DeviceList.SelectItem(row);
        }
        Picture({dlg->m_hWnd}, "main_window.png");
        // The marked row's menu, as a right-click on it opens it.
        auto* list = qobject_cast<QTreeWidget*>(Ctl(dlg->m_hWnd, IDC_DEVICE_LIST));
        QTreeWidgetItem* marked = list ? list->topLevelItem(dlg->m_DeviceList.GetSelectionMark()) : nullptr;
        if (marked) {
            QPoint at = list->visualItemRect(marked).center();
            QContextMenuEvent click(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
            QApplication::sendEvent(list->viewport(), &click);
        }
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            Picture({dlg->m_hWnd, menu}, "main_window_device_menu.png");
            menu->close();
        }
        Click(dlg->m_hWnd, IDC_SETUP_IP);
    });
    script.When("Setup IP dialog", [] { return IsModal("dlg131"); }, [] {
        QWidget* setup = Modal();
        Picture({setup}, "main_window_setup_ip.png");
        // The device moves to a new address.
        CWnd::FromHandle(Ctl(setup, IDC_NEW_ADDRESS))->SetWindowText("198.18.0.120");
        Click(setup, IDC_SETUP);
    });
    script.When("Authentication dialog", [] { return IsModal("dlg130"); }, [] {
        QWidget* auth = Modal();
        if (auto* user = qobject_cast<QLineEdit*>(Ctl(auth, IDC_USER)))
            user->setText("admin");
        Click(auth, IDOK); // no password: refused with the message
    });
    script.When("the message", [] { return VisibleMessageBox() != nullptr; }, [] {
        QMessageBox* box = VisibleMessageBox();
        // Over its owner, where desktops put a modal dialog; a bare window
        // manager may leave it in a corner.
        QWidget* owner = box->parentWidget();
        QRect frame = box->geometry();
        frame.moveCenter(owner->geometry().center());
        box->move(frame.topLeft());
        Picture({owner, box}, "main_window_auth_message.png");
        box->button(QMessageBox::Ok)->click();
    });
    script.When("Authentication dialog again", [] { return IsModal("dlg130") && !VisibleMessageBox(); }, [] {
        QWidget* auth = Modal();
        if (auto* password = qobject_cast<QLineEdit*>(Ctl(auth, IDC_PASSWORD)))
            password->setText("admin");
        Click(auth, IDOK);
    });
    script.When("the device's answer", [] {
        auto* status = qobject_cast<QLabel*>(Ctl(Modal(), IDC_STATUS));
        return IsModal("dlg131") && status && status->text() == Shown("Success", "Operations");
    }, [] {
        QWidget* setup = Modal();
        Picture({setup}, "main_window_setup_ip_success.png");
        Click(setup, IDCANCEL);
    }, 20000);
    script.When("main window again", [] { return IsModal("dlg102"); }, [] {
        // The About entry of the window menu.
        MainWindow()->SendMessage(WM_SYSCOMMAND, CScanDlg::IDM_ABOUTBOX, 0);
    });
    script.When("About box", [] { return IsModal("dlg100"); }, [] {
        QWidget* about = Modal();
        Picture({about}, "main_window_about.png");
        Click(about, IDOK);
    });
    script.When("main window, Ctrl+H", [] { return IsModal("dlg102"); }, [] {
        MainWindow()->SendMessage(WM_COMMAND, ID_REMEMBERED, 0);
    });
    script.When("Remembered Devices", [] { return IsModal("dlg132"); }, [] {
        // The device the scans never heard (the script put it in the record) is woken.
        CListCtrl& list = MainWindow()->m_RememberedDlg.m_List;
        for (int row = 0; row < list.GetItemCount(); ++row) {
            if (list.GetItemText(row, 0) == "cold-store")
                list.SelectItem(row);
        }
        Click(Modal(), IDC_WAKE);
    });
    script.When("waiting for it", [] {
        auto* status = qobject_cast<QLabel*>(Ctl(Modal(), IDC_REMEMBERED_STATUS));
        return IsModal("dlg132") && status && !status->text().isEmpty();
    }, [] {
        QWidget* remembered = Modal();
        Picture({remembered}, "remembered_devices.png");
        Click(remembered, IDC_WAKE); // Stop Waiting
        Click(remembered, IDCANCEL);
    });
    // Quit while the scan that followed Setup IP still runs: it ends with the window.
    script.When("main window at the end", [] { return IsModal("dlg102"); }, [] { Click(Modal(), IDCANCEL); });
}

class CDriverApp : public CScanApp {
public:
    BOOL InitInstance() override
    {
        long long appNs = NowNs();
        long long shownNs = 0;
        long long scanStartNs = 0;
        long long scanEndNs = 0;
        EventWatch watch([&](QObject* watched, QEvent* event) {
            if (shownNs == 0 && IsMainWindowExposure(watched, event))
                shownNs = NowNs();
            if (event->type() == QEvent::EnabledChange && watched->objectName() == "ctl1009") {
                auto* w = qobject_cast<QWidget*>(watched);
                if (w && w->isEnabled())
                    scanEndNs = NowNs();
            }
        });
        // The browser stays shut: the pictures need no web page.
        SetUrlOpener([](const char* url) { std::printf("open %s\n", url); });

        Script script;
        switch (g_mode) {
        case Mode::Startup:
            AddStartupSteps(script, shownNs, appNs);
            break;
        case Mode::Scan:
            AddScanSteps(script, scanStartNs, scanEndNs);
            break;
        case Mode::Screenshots:
            QDir().mkpath(g_dir);
            AddScreenshotSteps(script);
            break;
        }
        script.Start();
        CScanApp::InitInstance();
        if (!script.Finished()) {
            std::fprintf(stderr, "orbisk-uidriver: %s\n", script.Failure().c_str());
            g_exitCode = 1;
        }
        return FALSE;
    }
};

CDriverApp theApp;

int Usage()
{
    std::fprintf(stderr, "usage: orbisk-uidriver screenshots DIR | startup T0_NS | scan N\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return Usage();
    if (std::strcmp(argv[1], "screenshots") == 0) {
        g_mode = Mode::Screenshots;
        g_dir = QString::fromLocal8Bit(argv[2]);
    } else if (std::strcmp(argv[1], "startup") == 0) {
        g_mode = Mode::Startup;
        g_t0Ns = std::atoll(argv[2]);
    } else if (std::strcmp(argv[1], "scan") == 0) {
        g_mode = Mode::Scan;
        g_nScans = std::atoi(argv[2]);
    } else {
        return Usage();
    }
    // The window as at its first start, whatever the size the one who runs
    // this left Orbisk at; nothing is kept in their home.
    QTemporaryDir config;
    if (!config.isValid()) {
        std::fprintf(stderr, "orbisk-uidriver: no temporary directory for the settings\n");
        return 1;
    }
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    int code = AfxWinMain(argc, argv);
    return code != 0 ? code : g_exitCode;
}
