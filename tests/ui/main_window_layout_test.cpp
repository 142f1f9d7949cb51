// The main window's shape, without a network: it grows with the window and
// is maximised as an operator would, keeps its controls where the template
// puts them at the template's size, and keeps its size and column widths for
// the next start (in the test process's own XDG_CONFIG_HOME).

#include "about_box.h"
#include "auth_dlg.h"
#include "device_table.h"
#include "orbisk_resources.h"
#include "qt_test_support.h"
#include "resources.h"
#include "scan_dlg.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QScrollBar>
#include <QTreeWidget>

#include <functional>
#include <map>

namespace {

class MainWindowLayoutTest : public WidgetTest {
protected:
    void SetUp() override
    {
        // Never the home of whoever runs the tests (qt_test_main.cpp).
        ASSERT_EQ(m_conf, qEnvironmentVariable("XDG_CONFIG_HOME") + "/orbisk/orbisk.conf");
        ASSERT_FALSE(qEnvironmentVariable("XDG_CONFIG_HOME").startsWith(QDir::homePath()));
        QFile::remove(m_conf);
    }

    // Opens a main window, runs body in it, closes it with Quit.
    void Open(const std::function<void(QWidget*, QTreeWidget*)>& body)
    {
        CScanDlg dlg;
        WhenShown("dlg102", [&](QWidget* w) {
            body(w, Ctl<QTreeWidget>(w, IDC_DEVICE_LIST));
            Click(Ctl(w, IDCANCEL));
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    }

    const QString m_conf = MainWindowSettingsPath();
};

std::vector<int> Widths(QTreeWidget* list)
{
    std::vector<int> widths;
    for (int c = 0; c < list->columnCount(); ++c)
        widths.push_back(list->columnWidth(c));
    return widths;
}

// The template's size and its controls' places, in the window's font.
QSize TemplateSize(QWidget* w, std::map<int, QRect>* places = nullptr)
{
    const DialogTemplate* t = AfxFindDialogTemplate(IDD_SCAN_DIALOG);
    const DialogBaseUnits base = AfxGetDialogBaseUnits(w->font());
    for (const DialogItemTemplate& item : t->items) {
        if (places)
            (*places)[item.id] = QRect(AfxDialogUnitsToPixelsX(item.x, base), AfxDialogUnitsToPixelsY(item.y, base),
                                       AfxDialogUnitsToPixelsX(item.cx, base), AfxDialogUnitsToPixelsY(item.cy, base));
    }
    return QSize(AfxDialogUnitsToPixelsX(t->cx, base), AfxDialogUnitsToPixelsY(t->cy, base));
}

constexpr int kButtons[] = {IDC_SCAN, IDCANCEL, IDC_CLEAR, IDC_SETUP_IP};

// The buttons in their order along the bottom, at their template size and
// distance to the bottom, each centre at its template share of the width.
void ExpectButtonRow(QWidget* w, const std::map<int, QRect>& at, QSize templateSize)
{
    int left = -1;
    for (int id : kButtons) {
        const QRect r = Ctl(w, id)->geometry();
        const QRect was = at.at(id);
        EXPECT_EQ(r.size(), was.size()) << id;
        EXPECT_EQ(w->height() - r.bottom(), templateSize.height() - was.bottom()) << id;
        EXPECT_GT(r.left(), left) << id << " out of order";
        left = r.right();
        EXPECT_LE(r.right(), w->width()) << id;
        const double share = double(r.center().x()) / w->width();
        EXPECT_NEAR(share, double(was.center().x()) / templateSize.width(), 0.01) << id;
        EXPECT_LT(Ctl(w, IDC_DEVICE_LIST)->geometry().bottom(), r.top()) << id;
    }
}

} // namespace

TEST_F(MainWindowLayoutTest, ListGrowsWithTheWindowButtonsKeepToTheBottomInOrder)
{
    Open([&](QWidget* w, QTreeWidget* list) {
        // At the template's size every control is where the template puts it,
        // and every column shows whole, also once rows bring the scroll bar.
        std::map<int, QRect> at;
        const QSize templateSize = TemplateSize(w, &at);
        EXPECT_EQ(w->size(), templateSize);
        EXPECT_EQ(w->minimumSize(), templateSize);
        for (const auto& [id, rect] : at)
            EXPECT_EQ(Ctl(w, id)->geometry(), rect) << id;
        EXPECT_LE(list->header()->length(), list->viewport()->width() - list->verticalScrollBar()->sizeHint().width());
        EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);

        // Larger: the list takes it all.
        w->resize(1400, 900);
        const QSize gain = QSize(1400, 900) - templateSize;
        EXPECT_TRUE(WaitUntil([&] { return list->geometry() == at[IDC_DEVICE_LIST].adjusted(0, 0, gain.width(), gain.height()); }))
            << list->width() << "x" << list->height();
        EXPECT_EQ(w->size(), QSize(1400, 900));
        ExpectButtonRow(w, at, templateSize);

        // Never smaller than the template.
        w->resize(200, 150);
        EXPECT_TRUE(WaitUntil([&] { return list->geometry() == at[IDC_DEVICE_LIST]; }));
        EXPECT_EQ(w->size(), templateSize);

        w->showMaximized();
        ASSERT_TRUE(WaitUntil([&] { return w->isMaximized() && w->width() > templateSize.width(); }));
        EXPECT_EQ(list->size(), at[IDC_DEVICE_LIST].size() + (w->size() - templateSize));
        ExpectButtonRow(w, at, templateSize);
        // Restoring the size is the window manager's; Qt 6.8's offscreen
        // platform leaves it maximised-sized, so it is given as one would.
        w->showNormal();
        w->resize(templateSize);
        EXPECT_TRUE(WaitUntil([&] { return !w->isMaximized() && w->size() == templateSize; }));
        EXPECT_EQ(list->geometry(), at[IDC_DEVICE_LIST]);
    });

    // The other windows keep their template's size.
    CAboutBox about;
    CAuthDlg auth;
    for (CDialog* dlg : {static_cast<CDialog*>(&about), static_cast<CDialog*>(&auth)}) {
        WhenShown(QStringLiteral("dlg%1").arg(dlg->GetTemplateId()), [](QWidget* w) {
            EXPECT_EQ(w->minimumSize(), w->maximumSize());
            w->close();
        });
        dlg->DoModal();
    }
}

TEST_F(MainWindowLayoutTest, SizeAndColumnsKeptForTheNextStartBrokenFileGivesDefaults)
{
    QSize templateSize, size;
    std::vector<int> fitted;
    Open([&](QWidget* w, QTreeWidget* list) {
        templateSize = TemplateSize(w);
        fitted = Widths(list);
        size = templateSize + QSize(40, 30);
        w->resize(size);
        // As the operator's drag on the heading's edge does.
        list->header()->resizeSection(ColHostname, fitted[ColHostname] + 60);
        w->showMaximized();
        ASSERT_TRUE(WaitUntil([&] { return w->isMaximized(); }));
    });
    ASSERT_TRUE(QFile::exists(m_conf));

    std::vector<int> widened = fitted;
    widened[ColHostname] += 60;
    for (int start = 0; start < 2; ++start) {
        Open([&](QWidget* w, QTreeWidget* list) {
            EXPECT_TRUE(w->isMaximized()) << "start " << start;
            EXPECT_EQ(Widths(list), widened) << "start " << start;
        });
    }
    Open([&](QWidget* w, QTreeWidget* list) {
        w->showNormal();
        w->resize(size); // as a window manager restores it (see above)
        EXPECT_TRUE(WaitUntil([&] { return !w->isMaximized() && w->size() == size; })) << w->width() << "x" << w->height();
        // Back to the fitted widths: nothing of them is kept, so that the
        // next start fits its own language and dpi.
        list->header()->resizeSection(ColHostname, fitted[ColHostname]);
    });
    Open([&](QWidget* w, QTreeWidget* list) {
        EXPECT_FALSE(w->isMaximized());
        EXPECT_EQ(w->size(), size);
        EXPECT_EQ(Widths(list), fitted);
    });
    QFile kept(m_conf);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_FALSE(kept.readAll().contains("columns"));
    kept.close();

    // Garbage, and sizes no screen has: the template's size and the fitted
    // widths, no message (no window left open), and the file made good again.
    const auto expectDefaults = [&](QWidget* w, QTreeWidget* list) {
        EXPECT_FALSE(w->isMaximized());
        EXPECT_EQ(w->size(), templateSize);
        EXPECT_EQ(Widths(list), fitted);
    };
    static const char kJunk[] = "\x01\xfe\xff\x00junk\n[MainWindow\n=\n";
    for (const QByteArray& garbage :
         {QByteArray(kJunk, sizeof kJunk - 1),
          QByteArray("[MainWindow]\nwidth=wide\nheight=-40\nmaximized=perhaps\ncolumns=12, x, 40\n"),
          QByteArray("[MainWindow]\nwidth=99999999\nheight=2147483648\ncolumns=80, 80, 80, 80, 80, 80, 0\n")}) {
        QFile file(m_conf);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(garbage);
        file.close();
        Open(expectDefaults);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll().contains("width=" + QByteArray::number(templateSize.width()))) << garbage.data();
        file.close();
    }

    // A settings file that can be neither read nor written (a directory in
    // its place, which stops root as well).
    QFile::remove(m_conf);
    ASSERT_TRUE(QDir().mkpath(m_conf));
    Open([&](QWidget* w, QTreeWidget* list) {
        expectDefaults(w, list);
        w->resize(size);
    });
    Open(expectDefaults);
    EXPECT_TRUE(QDir(m_conf).removeRecursively());
}
