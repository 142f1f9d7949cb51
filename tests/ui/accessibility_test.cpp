// What a screen reader finds in each window, read from Qt's accessibility
// interfaces as an assistive technology reads them: every control that can
// take the focus has a name, and each part of an IP-address control names
// its address (the label tied to the control) and which part it is.

#include "about_box.h"
#include "auth_dlg.h"
#include "device_record.h"
#include "qt_test_support.h"
#include "scan_dlg.h"
#include "setup_ip_dlg.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QMetaEnum>
#include <QTest>

namespace {

QString Describe(QAccessibleInterface* iface)
{
    const char* role = QMetaEnum::fromType<QAccessible::Role>().valueToKey(iface->role());
    return QStringLiteral("%1 \"%2\"").arg(QLatin1String(role), iface->text(QAccessible::Name));
}

// The text of the label that Qt ties to the control, or "".
QString LabelOf(QAccessibleInterface* iface)
{
    const auto labels = iface->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
}

// Every visible, focusable widget below iface, with what is wrong with it.
void Walk(QAccessibleInterface* iface, QStringList& faults, int& focusable)
{
    const QAccessible::State state = iface->state();
    if (qobject_cast<QWidget*>(iface->object()) && state.focusable && !state.invisible) {
        ++focusable;
        if (iface->text(QAccessible::Name).trimmed().isEmpty())
            faults << QStringLiteral("no name: ") + Describe(iface);
    }
    if (iface->object() && iface->object()->inherits("IpAddressWidget")) {
        const QString label = LabelOf(iface);
        if (label.isEmpty() || iface->text(QAccessible::Name) != label || iface->role() != QAccessible::Grouping)
            faults << QStringLiteral("address control not a group named by its label \"%1\": ").arg(label) +
                          Describe(iface);
        QStringList parts;
        for (int i = 0; i < iface->childCount(); ++i) {
            QAccessibleInterface* part = iface->child(i);
            if (part->role() == QAccessible::EditableText)
                parts << part->text(QAccessible::Name);
        }
        QStringList expected;
        for (int i = 1; i <= 4; ++i)
            expected << QStringLiteral("%1, part %2 of 4").arg(label).arg(i);
        if (label.isEmpty() || parts != expected)
            faults << QStringLiteral("address parts [%1] do not carry the label \"%2\"").arg(parts.join(" | "), label);
    }
    for (int i = 0; i < iface->childCount(); ++i)
        Walk(iface->child(i), faults, focusable);
}

// Opens the dialog, walks its window once it shows and closes it with Esc.
template <class Dialog>
void ExpectEveryControlNamed(Dialog& dialog, const char* name, int minFocusable)
{
    WhenShown(name, [&](QWidget* w) {
        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(root, nullptr);
        QStringList faults;
        int focusable = 0;
        Walk(root, faults, focusable);
        EXPECT_GE(focusable, minFocusable) << "the walk reached the controls";
        EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();
        QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL) << name;
}

class AccessibilityTest : public WidgetTest {
};

} // namespace

TEST_F(AccessibilityTest, EveryFocusableControlOfEveryWindowHasAName)
{
    SelectedDevice = {"198.18.0.20", "198.18.0.1", "255.255.255.0"};
    CScanDlg scan;
    ExpectEveryControlNamed(scan, "dlg102", 5);        // list, four buttons
    CSetupIpDlg setupIp;
    setupIp.m_nMode = 0;
    ExpectEveryControlNamed(setupIp, "dlg131", 4 + 3 * 5); // buttons, radios, 3 groups of 1 + 4
    CAuthDlg auth;
    ExpectEveryControlNamed(auth, "dlg130", 4);
    CAboutBox about;
    ExpectEveryControlNamed(about, "dlg100", 1);
    ExpectEveryControlNamed(scan.m_RememberedDlg, "dlg132", 3); // list, Add, Close; Wake Up and Forget need a device
    ExpectEveryControlNamed(scan.m_RememberedDlg.m_AddDlg, "dlg133", 4);
    SelectedDevice = {};
}

// The Remembered Devices window by keyboard alone: from the list, Tab goes
// through Wake Up and Forget to Add..., Enter opens it; there the MAC address
// is typed, Tab goes to the name, Enter stores both; Esc closes the window.
TEST_F(AccessibilityTest, RememberedDevicesByKeyboardAlone)
{
    HeardDevice heard;
    heard.reply.mac = "02:00:00:00:00:01";
    heard.reply.hostname = "old";
    RecordProblem problem;
    ASSERT_TRUE(UpdateRecord(DeviceRecordPath(), [&](CDeviceRecord& r) { r.Note(heard, 1000000000000000000); },
        problem).Ok());
    CScanDlg scan;
    auto focused = [] { return QApplication::focusWidget(); };
    WhenShown("dlg132", [&](QWidget* w) {
        w->activateWindow();
        QWidget* list = w->findChild<QWidget*>("ctl1060");
        ASSERT_TRUE(WaitUntil([&] { return focused() == list; }, 2000));
        QStringList order;
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(focused(), Qt::Key_Tab);
            ASSERT_NE(focused(), nullptr);
            auto* button = qobject_cast<QPushButton*>(focused());
            order << (button ? button->text() : QStringLiteral("?"));
        }
        EXPECT_EQ(order, QStringList({"Wake Up", "Forget", "Add..."}));
        WhenShown("dlg133", [&](QWidget* add) {
            add->activateWindow();
            QWidget* mac = add->findChild<QWidget*>("ctl1065");
            ASSERT_TRUE(WaitUntil([&] { return focused() == mac; }, 2000));
            QTest::keyClicks(focused(), "02-00-00-00-00-02");
            QTest::keyClick(focused(), Qt::Key_Tab);
            QTest::keyClicks(focused(), "typed");
            QTest::keyClick(focused(), Qt::Key_Return);
        });
        QTest::keyClick(focused(), Qt::Key_Return);
        auto* rows = qobject_cast<QTreeWidget*>(list);
        ASSERT_EQ(rows->topLevelItemCount(), 2);
        EXPECT_EQ(rows->currentItem()->text(0), "typed");
        QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_EQ(scan.m_RememberedDlg.DoModal(), IDCANCEL);
    std::remove(DeviceRecordPath().c_str());
}
