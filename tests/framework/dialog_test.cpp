// Dialogs from templates: creation, keys, data exchange, timers, modal loops.

#include "app.h"
#include "qt_test_support.h"
#include "test_dialogs.h"

#include <QButtonGroup>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace {

class DialogTest : public WidgetTest {};

QRect ExpectedRect(const DialogItemTemplate& item, const DialogBaseUnits& base)
{
    return QRect(AfxDialogUnitsToPixelsX(item.x, base), AfxDialogUnitsToPixelsY(item.y, base),
                 AfxDialogUnitsToPixelsX(item.cx, base), AfxDialogUnitsToPixelsY(item.cy, base));
}

bool Checked(QWidget* dlg, int id)
{
    return Ctl<QRadioButton>(dlg, id)->isChecked();
}

} // namespace

TEST(DialogUnits, ConvertWithRoundingFromTheBaseUnits)
{
    DialogBaseUnits base{6, 13};
    EXPECT_EQ(AfxDialogUnitsToPixelsX(4, base), 6);
    EXPECT_EQ(AfxDialogUnitsToPixelsX(5, base), 8);    // 7.5 rounds up
    EXPECT_EQ(AfxDialogUnitsToPixelsX(210, base), 315);
    EXPECT_EQ(AfxDialogUnitsToPixelsY(8, base), 13);
    EXPECT_EQ(AfxDialogUnitsToPixelsY(3, base), 5);    // 4.875
    EXPECT_EQ(AfxDialogUnitsToPixelsY(155, base), 252); // 251.875
    EXPECT_EQ(AfxDialogUnitsToPixelsX(0, base), 0);
}

TEST(DialogUnits, BaseUnitsScaleWithTheTemplateFont)
{
    DialogBaseUnits base = AfxGetDialogBaseUnits(AfxTemplateFont("宋体", 9));
    // A character cell of a readable face: taller than wide, a few pixels wide.
    EXPECT_GT(base.cx, 3);
    EXPECT_GT(base.cy, base.cx);
    // Twice the size gives about twice the units.
    DialogBaseUnits large = AfxGetDialogBaseUnits(AfxTemplateFont("宋体", 18));
    EXPECT_GE(2 * large.cy, 3 * base.cy);
    EXPECT_LE(2 * large.cy, 5 * base.cy);
    EXPECT_GE(2 * large.cx, 3 * base.cx);
    EXPECT_LE(2 * large.cx, 5 * base.cx);
}

TEST_F(DialogTest, WindowIsBuiltFromTheTemplateInDialogUnits)
{
    CTestDlg dlg;
    const DialogTemplate* t = AfxFindDialogTemplate(IDD_TEST);
    ASSERT_NE(t, nullptr);
    WhenShown("dlg900", [&](QWidget* w) {
        DialogBaseUnits base = AfxGetDialogBaseUnits(w->font());
        EXPECT_EQ(w->windowTitle(), "Test");
        EXPECT_EQ(w->size(), QSize(AfxDialogUnitsToPixelsX(t->cx, base), AfxDialogUnitsToPixelsY(t->cy, base)));
        EXPECT_EQ(Ctl(w, IDC_T_EDIT)->geometry(), ExpectedRect(t->items[2], base));
        EXPECT_EQ(Ctl(w, IDC_T_LIST)->geometry(), ExpectedRect(t->items[9], base));
        EXPECT_EQ(Ctl(w, IDC_T_IP)->geometry(), ExpectedRect(t->items[8], base));
        EXPECT_EQ(Ctl<QLineEdit>(w, IDC_T_PASSWORD)->echoMode(), QLineEdit::Password);
        EXPECT_EQ(Ctl<QLineEdit>(w, IDC_T_EDIT)->echoMode(), QLineEdit::Normal);
        EXPECT_TRUE(Ctl<QLabel>(w, IDC_T_CENTRED)->alignment() & Qt::AlignHCenter);
        EXPECT_FALSE(Ctl(w, IDC_T_HIDDEN)->isVisible());
        EXPECT_FALSE(Ctl(w, IDC_T_DISABLED)->isEnabled());
        EXPECT_TRUE(Ctl(w, IDC_T_CENTRED)->isVisible());
        // The first tab stop has the focus.
        EXPECT_TRUE(WaitUntil([&] { return QApplication::focusWidget() == Ctl(w, 1); }));
        dlg.EndDialog(7);
    });
    EXPECT_EQ(dlg.DoModal(), 7);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_Edit.m_hWnd, nullptr) << "bound controls go with the window";
}

TEST_F(DialogTest, MissingTemplateFailsWithoutAWindow)
{
    CTestDlg dlg(12345);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_TRUE(dlg.log.empty());
}

TEST_F(DialogTest, EachOpeningCreatesTheWindowAfreshAndRebindsControls)
{
    CTestDlg dlg;
    dlg.onInit = [](CTestDlg& d) {
        EXPECT_EQ(d.m_Edit.GetWindowText(), "") << "a new window starts from the template";
        d.m_Edit.SetWindowText("typed");
        d.EndDialog(IDCANCEL);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"init", "init"}));
}

TEST_F(DialogTest, EscapeAndCloseBoxSendCancelEnterWithoutDefaultButtonSendsOk)
{
    CTestDlg dlg;
    WhenShown("dlg900", [](QWidget* w) { QTest::keyClick(Ctl(w, IDC_T_EDIT), Qt::Key_Escape); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);

    WhenShown("dlg900", [](QWidget* w) { w->close(); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    // The close box is a system command, and its default processing closes.
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"init", "cancel", "init", "sys" + std::to_string(SC_CLOSE), "cancel"}));

    dlg.log.clear();
    WhenShown("dlg900", [](QWidget* w) {
        Ctl(w, IDC_T_EDIT)->setFocus();
        QTest::keyClick(Ctl(w, IDC_T_EDIT), Qt::Key_Return);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"init", "ok"}));
}

TEST_F(DialogTest, EnterClicksTheFocusedButtonElseTheDefaultButtonWhenEnabled)
{
    CTestDlg dlg(IDD_TEST_DEFAULT);
    WhenShown("dlg901", [&](QWidget* w) {
        auto* go = Ctl<QPushButton>(w, IDC_T_GO);
        EXPECT_TRUE(go->isDefault());
        QTest::keyClick(Ctl(w, IDC_T_EDIT), Qt::Key_Return);
        EXPECT_EQ(dlg.log.back(), "go");
        go->setEnabled(false);
        QTest::keyClick(Ctl(w, IDC_T_EDIT), Qt::Key_Enter);
        EXPECT_EQ(dlg.log.size(), 2u) << "a disabled default button takes no Enter, and it is no IDOK";
        Ctl(w, IDCANCEL)->setFocus();
        EXPECT_TRUE(WaitUntil([&] { return Ctl(w, IDCANCEL)->hasFocus(); }));
        QTest::keyClick(Ctl(w, IDCANCEL), Qt::Key_Return);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"init", "go", "cancel"}));
}

namespace {

class CHelpApp : public CWinApp {
public:
    int helps = 0;
    void OnHelp() override { ++helps; }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHelpApp, CWinApp)
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

} // namespace

TEST_F(DialogTest, F1IsTheHelpCommandOfTheApplication)
{
    CHelpApp app;
    CTestDlg dlg;
    WhenShown("dlg900", [&](QWidget* w) {
        QTest::keyClick(Ctl(w, IDC_T_EDIT), Qt::Key_F1);
        dlg.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_EQ(app.helps, 1);
}

namespace {

// The framework's own help handler on F1.
class CTemplateHelpApp : public CWinApp {
protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTemplateHelpApp, CWinApp)
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

int VisibleWindows(const QString& objectName)
{
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += w->isVisible() && w->objectName() == objectName;
    return n;
}

} // namespace

// The help template runs as a plain modal dialog; F1 inside it opens no second one.
TEST_F(DialogTest, FrameworkHelpHandlerRunsTheHelpTemplate)
{
    CTemplateHelpApp app;
    app.OnHelp(); // no template: nothing opens, nothing waits
    app.m_nHelpTemplate = IDD_TEST_DEFAULT;
    bool shown = false;
    int mostOpen = 0;
    WhenShown("dlg901", [&](QWidget* w) {
        shown = true;
        EXPECT_EQ(w->windowTitle(), "Default");
        EXPECT_EQ(QApplication::activeModalWidget(), w);
        // A second box would run its own loop inside the key press: count, then close it.
        QTimer::singleShot(300, [&] {
            mostOpen = VisibleWindows("dlg901");
            if (mostOpen > 1)
                QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
        });
        QTest::keyClick(Ctl(w, IDC_T_EDIT), Qt::Key_F1);
        QTest::qWait(400);
        QTest::keyClick(Ctl(w, IDC_T_EDIT), Qt::Key_Escape);
    });
    app.OnHelp();
    EXPECT_TRUE(shown);
    EXPECT_EQ(mostOpen, 1) << "F1 in the help dialog opened another";
    EXPECT_EQ(FindWindow("dlg901"), nullptr);
}

// ---- data exchange ---------------------------------------------------------

TEST_F(DialogTest, RadioLoadSelectsTheIndexOrNoneAndStaysInItsGroup)
{
    CTestDlg dlg;
    dlg.onInit = [](CTestDlg& d) {
        QWidget* w = d.m_hWnd;
        // Loaded by OnInitDialog: group A/B from 0, group C/D from -1.
        EXPECT_TRUE(Checked(w, IDC_T_RADIO_A));
        EXPECT_FALSE(Checked(w, IDC_T_RADIO_B));
        EXPECT_FALSE(Checked(w, IDC_T_RADIO_C));
        EXPECT_FALSE(Checked(w, IDC_T_RADIO_D));

        d.m_nRadio = 1;
        d.m_nRadio2 = 0;
        d.UpdateData(FALSE);
        EXPECT_FALSE(Checked(w, IDC_T_RADIO_A));
        EXPECT_TRUE(Checked(w, IDC_T_RADIO_B));
        EXPECT_TRUE(Checked(w, IDC_T_RADIO_C)) << "the second group is separate";

        for (int outside : {-1, 2, 5, -7}) {
            d.m_nRadio = outside;
            d.UpdateData(FALSE);
            EXPECT_FALSE(Checked(w, IDC_T_RADIO_A)) << outside;
            EXPECT_FALSE(Checked(w, IDC_T_RADIO_B)) << outside;
            EXPECT_TRUE(Checked(w, IDC_T_RADIO_C)) << outside;
        }
        d.EndDialog(IDCANCEL);
    };
    dlg.DoModal();
}

TEST_F(DialogTest, RadioSaveGivesTheCheckedIndexOrMinusOne)
{
    CTestDlg dlg;
    dlg.m_nRadio = 7; // selects neither
    WhenShown("dlg900", [&](QWidget* w) {
        dlg.UpdateData(TRUE);
        EXPECT_EQ(dlg.m_nRadio, -1);
        EXPECT_EQ(dlg.m_nRadio2, -1);
        Click(Ctl(w, IDC_T_RADIO_B));
        Click(Ctl(w, IDC_T_RADIO_C));
        EXPECT_TRUE(Checked(w, IDC_T_RADIO_B));
        dlg.UpdateData(TRUE);
        EXPECT_EQ(dlg.m_nRadio, 1);
        EXPECT_EQ(dlg.m_nRadio2, 0);
        Click(Ctl(w, IDC_T_RADIO_A));
        EXPECT_FALSE(Checked(w, IDC_T_RADIO_B)) << "a click unchecks the others of the group";
        EXPECT_TRUE(Checked(w, IDC_T_RADIO_C)) << "but not those of another group";
        Click(Ctl(w, IDC_T_RADIO_A));
        EXPECT_TRUE(Checked(w, IDC_T_RADIO_A)) << "clicking the checked radio keeps it";
        dlg.UpdateData(TRUE);
        EXPECT_EQ(dlg.m_nRadio, 0);
        dlg.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
    // Each click of radio A reached its handler.
    EXPECT_EQ(std::count(dlg.log.begin(), dlg.log.end(), "radioA"), 2);
}

TEST_F(DialogTest, TextExchangeBothWaysAndOkSavesCancelDoesNot)
{
    CTestDlg dlg;
    dlg.m_strText = "secret";
    WhenShown("dlg900", [&](QWidget* w) {
        auto* pw = Ctl<QLineEdit>(w, IDC_T_PASSWORD);
        EXPECT_EQ(pw->text(), "secret");
        pw->setText("  ");
        Click(Ctl(w, IDCANCEL));
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_strText, "secret");
    WhenShown("dlg900", [&](QWidget* w) {
        Ctl<QLineEdit>(w, IDC_T_PASSWORD)->setText("用户 x");
        Click(Ctl(w, IDOK));
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strText, "用户 x");
}

TEST_F(DialogTest, GetDlgItemReachesUnboundControlsAndBoundOnesAlike)
{
    CTestDlg dlg;
    dlg.onInit = [](CTestDlg& d) {
        EXPECT_EQ(d.GetDlgItem(IDC_T_EDIT), &d.m_Edit);
        CWnd* centred = d.GetDlgItem(IDC_T_CENTRED);
        ASSERT_NE(centred, nullptr);
        EXPECT_EQ(centred->GetDlgCtrlID(), IDC_T_CENTRED);
        EXPECT_EQ(centred->GetWindowText(), "centred");
        centred->SetWindowText("Success");
        EXPECT_EQ(d.GetDlgItem(IDC_T_CENTRED)->GetWindowText(), "Success");
        EXPECT_EQ(d.GetDlgItem(4242), nullptr);
        CWnd* disabled = d.GetDlgItem(IDC_T_DISABLED);
        EXPECT_FALSE(disabled->IsWindowEnabled());
        EXPECT_TRUE(disabled->EnableWindow(TRUE)) << "it was disabled";
        EXPECT_TRUE(disabled->IsWindowEnabled());
        EXPECT_FALSE(disabled->EnableWindow(FALSE));
        EXPECT_EQ(d.GetWindowText(), "Test");
        d.EndDialog(IDCANCEL);
    };
    dlg.DoModal();
}

// ---- timers and modal loops ----------------------------------------------------

TEST_F(DialogTest, SettingAnArmedTimerAgainRestartsItsInterval)
{
    CTestDlg dlg;
    QElapsedTimer clock;
    std::vector<qint64> at;
    dlg.onInit = [&](CTestDlg& d) {
        clock.start();
        EXPECT_EQ(d.SetTimer(7, 100), 7u);
        QTimer::singleShot(60, [&] { d.SetTimer(7, 100); });
    };
    dlg.onTick = [&](CTestDlg& d, UINT_PTR id) {
        at.push_back(clock.elapsed());
        EXPECT_EQ(id, 7u);
        if (at.size() == 2) {
            EXPECT_TRUE(d.KillTimer(7));
            EXPECT_FALSE(d.KillTimer(7));
            QTimer::singleShot(150, [&] { d.EndDialog(IDOK); });
        }
    };
    dlg.DoModal();
    ASSERT_EQ(at.size(), 2u) << "killed after the second tick";
    EXPECT_GE(at[0], 155) << "the first tick counts from the second SetTimer";
    // From the start, not from the first tick: a first tick held up by a
    // loaded machine brings the second one closer to it.
    EXPECT_GE(at[1], 155 + 90);
}

TEST_F(DialogTest, TimersAreSeparateByIdAndEndWithTheWindow)
{
    CTestDlg dlg;
    dlg.onInit = [](CTestDlg& d) {
        d.SetTimer(0, 20);
        d.SetTimer(1, 45);
    };
    dlg.onTick = [](CTestDlg& d, UINT_PTR) {
        if (std::count(d.ticks.begin(), d.ticks.end(), 1u) == 2)
            d.EndDialog(IDOK);
    };
    dlg.DoModal();
    long zeros = std::count(dlg.ticks.begin(), dlg.ticks.end(), 0u);
    EXPECT_GE(zeros, 3);
    size_t before = dlg.ticks.size();
    QTest::qWait(120);
    EXPECT_EQ(dlg.ticks.size(), before) << "no tick after the window is gone";
    EXPECT_EQ(dlg.SetTimer(0, 20), 0u);
    EXPECT_FALSE(dlg.KillTimer(0));
}

TEST_F(DialogTest, AnotherWindowsTimerKeepsTickingWhileADialogOrBoxIsModal)
{
    CTestDlg outer;
    CTestDlg inner(IDD_TEST_DEFAULT, &outer);
    size_t ticksAtInner = 0, ticksAfterInner = 0, ticksAfterOwnedBox = 0, ticksAfterFreeBox = 0;
    outer.onInit = [](CTestDlg& d) { d.SetTimer(0, 10); };
    WhenShown("dlg900", [&](QWidget*) {
        WhenShown("dlg901", [&](QWidget* w) {
            ticksAtInner = outer.ticks.size();
            EXPECT_TRUE(WaitUntil([&] { return outer.ticks.size() >= ticksAtInner + 5; }));
            EXPECT_EQ(QApplication::activeModalWidget(), w);
            ticksAfterInner = outer.ticks.size();
            Click(Ctl(w, IDCANCEL));
        });
        EXPECT_EQ(inner.DoModal(), IDCANCEL);

        // A box owned by a window.
        WhenShown("msgbox", [&](QWidget* box) {
            size_t start = outer.ticks.size();
            EXPECT_TRUE(WaitUntil([&] { return outer.ticks.size() >= start + 5; }));
            ticksAfterOwnedBox = outer.ticks.size();
            EXPECT_EQ(box->windowTitle(), "Orbisk");
            EXPECT_EQ(MessageText(box), "owned");
            EXPECT_EQ(box->parentWidget(), outer.m_hWnd);
            auto* mb = qobject_cast<QMessageBox*>(box);
            ASSERT_NE(mb, nullptr);
            EXPECT_EQ(mb->buttons().size(), 1);
            Click(mb->button(QMessageBox::Ok));
        });
        EXPECT_EQ(outer.MessageBox("owned"), IDOK);

        // A box without an owner.
        WhenShown("msgbox", [&](QWidget* box) {
            size_t start = outer.ticks.size();
            EXPECT_TRUE(WaitUntil([&] { return outer.ticks.size() >= start + 5; }));
            ticksAfterFreeBox = outer.ticks.size();
            EXPECT_EQ(box->parentWidget(), nullptr);
            EXPECT_TRUE(outer.m_hWnd->isEnabled()) << "a box without owner disables no window";
            Click(qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok));
        });
        EXPECT_EQ(AfxMessageBox("free"), IDOK);
        outer.EndDialog(IDOK);
    });
    outer.DoModal();
    EXPECT_GE(ticksAfterInner, ticksAtInner + 5);
    EXPECT_GE(ticksAfterOwnedBox, ticksAfterInner + 5);
    EXPECT_GE(ticksAfterFreeBox, ticksAfterOwnedBox + 5);
}

TEST_F(DialogTest, BoxWithoutOwnerTakesInputOverAModalDialogWhichStaysUsable)
{
    CTestDlg dlg;
    bool dialogUsable = false;
    WhenShown("dlg900", [&](QWidget* w) {
        WhenShown("msgbox", [&](QWidget* box) {
            // The dialog under it still takes clicks ...
            Click(Ctl(w, IDC_T_RADIO_B));
            dialogUsable = Checked(w, IDC_T_RADIO_B);
            // ... and so does the box.
            Click(qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok));
        });
        AfxMessageBox("free");
        dlg.EndDialog(IDOK);
    });
    dlg.DoModal();
    EXPECT_TRUE(dialogUsable);
}
