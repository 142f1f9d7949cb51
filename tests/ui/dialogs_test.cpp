// The Setup IP, Authentication and About dialogs, without a network: what
// they show at each opening and what the operator's clicks and keys do.

#include "about_box.h"
#include "auth_dlg.h"
#include "dialog_helpers.h"
#include "orbisk_resources.h"
#include "qt_test_support.h"
#include "setup_ip_dlg.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRawFont>
#include <QTest>
#include <QTextLayout>

namespace {

constexpr char kEmptyCredentials[] = "用户名或密码不能为空";

// Opens the protected parts the tests look at.
class CTestSetupIpDlg : public CSetupIpDlg {
public:
    using CSetupIpDlg::UpdateData;
};

class SetupIpDialogTest : public WidgetTest {
protected:
    void SetUp() override { SelectedDevice = {"198.18.0.20", "198.18.0.1", "255.255.255.0"}; }
    void TearDown() override
    {
        SelectedDevice = {};
        WidgetTest::TearDown();
    }

    // Opens the dialog with the given mode, runs body in it, closes it with Back.
    void Open(int mode, const std::function<void(QWidget*)>& body)
    {
        m_dlg.m_nMode = mode;
        WhenShown("dlg131", [&](QWidget* w) {
            body(w);
            Click(Ctl(w, IDCANCEL));
        });
        EXPECT_EQ(m_dlg.DoModal(), IDCANCEL);
    }

    CTestSetupIpDlg m_dlg;
};

bool Checked(QWidget* w, int id)
{
    return Ctl<QRadioButton>(w, id)->isChecked();
}

bool FieldsEnabled(QWidget* w)
{
    bool a = Ctl(w, IDC_NEW_ADDRESS)->isEnabled();
    EXPECT_EQ(Ctl(w, IDC_NEW_GATEWAY)->isEnabled(), a);
    EXPECT_EQ(Ctl(w, IDC_NEW_NETMASK)->isEnabled(), a);
    return a;
}

void TypeAndLeave(QWidget* w, int id, int field, const QString& text)
{
    TypeAndLeave(w, id, field, text, IDC_SETUP);
}

} // namespace

// ---- Setup IP ------------------------------------------------------------------

TEST_F(SetupIpDialogTest, ModeZeroSelectsStaticIpWithTheFieldsEnabled)
{
    Open(0, [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), "Orbisk");
        EXPECT_TRUE(Checked(w, IDC_STATIC_IP));
        EXPECT_FALSE(Checked(w, IDC_DHCP));
        EXPECT_TRUE(FieldsEnabled(w));
        EXPECT_TRUE(Ctl(w, IDC_SETUP)->isEnabled());
        EXPECT_TRUE(Ctl<QPushButton>(w, IDC_SETUP)->isDefault());
        EXPECT_TRUE(WaitUntil([&] { return Ctl(w, IDC_SETUP)->hasFocus(); })) << "the first tab stop";
    });
}

TEST_F(SetupIpDialogTest, ModeOneSelectsDhcpWithTheFieldsDisabled)
{
    Open(1, [](QWidget* w) {
        EXPECT_FALSE(Checked(w, IDC_STATIC_IP));
        EXPECT_TRUE(Checked(w, IDC_DHCP));
        EXPECT_FALSE(FieldsEnabled(w));
    });
}

TEST_F(SetupIpDialogTest, AnyOtherModeSelectsNeitherWithTheFieldsDisabled)
{
    for (int mode : {-1, 2, 48}) {
        Open(mode, [mode](QWidget* w) {
            EXPECT_FALSE(Checked(w, IDC_STATIC_IP)) << mode;
            EXPECT_FALSE(Checked(w, IDC_DHCP)) << mode;
            EXPECT_FALSE(FieldsEnabled(w)) << mode;
        });
        EXPECT_EQ(m_dlg.m_nMode, mode) << "opening and Back leave the mode alone";
    }
}

TEST_F(SetupIpDialogTest, FieldsShowTheMarkedDeviceWhateverTheRadiosShow)
{
    for (int mode : {0, 1}) {
        Open(mode, [](QWidget* w) {
            EXPECT_EQ(Text(w, IDC_NEW_ADDRESS), "198.18.0.20");
            EXPECT_EQ(Text(w, IDC_NEW_GATEWAY), "198.18.0.1");
            EXPECT_EQ(Text(w, IDC_NEW_NETMASK), "255.255.255.0");
            // The hidden copies of the current values.
            EXPECT_EQ(Text(w, IDC_CUR_ADDRESS), "198.18.0.20");
            EXPECT_EQ(Text(w, IDC_CUR_GATEWAY), "198.18.0.1");
            EXPECT_EQ(Text(w, IDC_CUR_NETMASK), "255.255.255.0");
            EXPECT_FALSE(Ctl(w, IDC_CUR_ADDRESS)->isVisible());
            EXPECT_FALSE(Ctl(w, IDC_CUR_GATEWAY)->isVisible());
            EXPECT_FALSE(Ctl(w, IDC_CUR_NETMASK)->isVisible());
        });
    }
    // The next device.
    SelectedDevice = {"10.1.2.3", "10.1.2.254", "255.0.0.0"};
    Open(0, [](QWidget* w) {
        EXPECT_EQ(Text(w, IDC_NEW_ADDRESS), "10.1.2.3");
        EXPECT_EQ(Text(w, IDC_NEW_GATEWAY), "10.1.2.254");
        EXPECT_EQ(Text(w, IDC_NEW_NETMASK), "255.0.0.0");
    });
}

TEST_F(SetupIpDialogTest, EachOpeningStartsWithNotSetAndAnEnabledSetupButton)
{
    Open(0, [this](QWidget* w) {
        EXPECT_EQ(Text(w, IDC_STATUS), "Not set");
        EXPECT_TRUE(Ctl<QLabel>(w, IDC_STATUS)->alignment() & Qt::AlignHCenter);
        m_dlg.m_Status.SetWindowText("Success");
        m_dlg.m_SetupButton.EnableWindow(FALSE);
    });
    Open(0, [](QWidget* w) {
        EXPECT_EQ(Text(w, IDC_STATUS), "Not set");
        EXPECT_TRUE(Ctl(w, IDC_SETUP)->isEnabled());
    });
}

TEST_F(SetupIpDialogTest, RadioClicksSwitchTheFieldsButNotTheStoredMode)
{
    Open(1, [this](QWidget* w) {
        Click(Ctl(w, IDC_STATIC_IP));
        EXPECT_TRUE(Checked(w, IDC_STATIC_IP));
        EXPECT_FALSE(Checked(w, IDC_DHCP));
        EXPECT_TRUE(FieldsEnabled(w));
        EXPECT_EQ(m_dlg.m_nMode, 1);
        Click(Ctl(w, IDC_DHCP));
        EXPECT_FALSE(FieldsEnabled(w));
        Click(Ctl(w, IDC_DHCP));
        EXPECT_FALSE(FieldsEnabled(w));
        Click(Ctl(w, IDC_STATIC_IP));
        EXPECT_TRUE(FieldsEnabled(w));
        EXPECT_EQ(m_dlg.m_nMode, 1);
        m_dlg.UpdateData(true);
        EXPECT_EQ(m_dlg.m_nMode, 0);
    });
}

TEST_F(SetupIpDialogTest, EditingTheAddressKeepsTheOperatorsRadioChoice)
{
    Open(1, [this](QWidget* w) {
        Click(Ctl(w, IDC_STATIC_IP));
        TypeAndLeave(w, IDC_NEW_ADDRESS, 3, "77");
        TypeAndLeave(w, IDC_NEW_ADDRESS, 0, "10");
        EXPECT_EQ(Text(w, IDC_NEW_ADDRESS), "10.18.0.77");
        EXPECT_TRUE(Checked(w, IDC_STATIC_IP));
        EXPECT_FALSE(Checked(w, IDC_DHCP));
        EXPECT_TRUE(FieldsEnabled(w));
        m_dlg.UpdateData(true);
        EXPECT_EQ(m_dlg.m_nMode, 0);
    });
}

TEST_F(SetupIpDialogTest, FirstAddressFieldKeepsToOneTo223)
{
    struct Typed {
        int control;
        int field;
        const char* typed;
        const char* kept;
    };
    const Typed typings[] = {
        { IDC_NEW_ADDRESS, 0, "192", "192" },
        { IDC_NEW_ADDRESS, 0, "172", "172" },
        { IDC_NEW_ADDRESS, 0, "224", "223" },
        { IDC_NEW_ADDRESS, 0, "0", "1" },
        { IDC_NEW_ADDRESS, 0, "1", "1" },
        // The other fields and the other controls keep 0 to 255.
        { IDC_NEW_ADDRESS, 1, "0", "0" },
        { IDC_NEW_GATEWAY, 0, "0", "0" },
        { IDC_NEW_NETMASK, 0, "255", "255" },
    };
    Open(0, [&](QWidget* w) {
        for (const Typed& t : typings) {
            TypeAndLeave(w, t.control, t.field, t.typed);
            EXPECT_EQ(Field(w, t.control, t.field)->text(), t.kept) << t.control << "/" << t.field << " typed " << t.typed;
        }
        EXPECT_EQ(Text(w, IDC_NEW_ADDRESS), "1.0.0.20");
    });
}

// Each address control is one tab stop, entered at its first field; within
// it the dot still moves on.
TEST_F(SetupIpDialogTest, TabStopsOncePerAddressControl)
{
    Open(0, [](QWidget* w) {
        auto focused = [w] { return QApplication::focusWidget(); };
        auto tab = [&](bool back) {
            QTest::keyClick(focused(), back ? Qt::Key_Backtab : Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
            QApplication::processEvents();
            return focused();
        };
        ASSERT_TRUE(WaitUntil([&] { return Ctl(w, IDC_SETUP)->hasFocus(); }));
        EXPECT_EQ(tab(false), Ctl(w, IDCANCEL));
        EXPECT_EQ(tab(false), Field(w, IDC_NEW_ADDRESS, 0));
        QTest::keyClicks(focused(), "10.");
        EXPECT_EQ(focused(), Field(w, IDC_NEW_ADDRESS, 1));
        EXPECT_EQ(tab(false), Field(w, IDC_NEW_GATEWAY, 0));
        EXPECT_EQ(tab(false), Field(w, IDC_NEW_NETMASK, 0));
        EXPECT_EQ(tab(false), Ctl(w, IDC_SETUP)) << "around to the first tab stop";
        EXPECT_EQ(tab(true), Field(w, IDC_NEW_NETMASK, 0));
        Field(w, IDC_NEW_GATEWAY, 2)->setFocus();
        ASSERT_TRUE(WaitUntil([&] { return Field(w, IDC_NEW_GATEWAY, 2)->hasFocus(); }));
        EXPECT_EQ(tab(true), Field(w, IDC_NEW_ADDRESS, 0));
        EXPECT_EQ(tab(true), Ctl(w, IDCANCEL));
        EXPECT_EQ(Text(w, IDC_NEW_ADDRESS), "10.18.0.20");
    });
}

TEST_F(SetupIpDialogTest, BackEscapeAndTheCloseBoxEndItWithCancel)
{
    m_dlg.m_nMode = 0;
    WhenShown("dlg131", [](QWidget* w) { QTest::keyClick(Ctl(w, IDC_NEW_ADDRESS), Qt::Key_Escape); });
    EXPECT_EQ(m_dlg.DoModal(), IDCANCEL);
    WhenShown("dlg131", [](QWidget* w) { w->close(); });
    EXPECT_EQ(m_dlg.DoModal(), IDCANCEL);
}

// ---- Authentication --------------------------------------------------------------

namespace {

class AuthDialogTest : public WidgetTest {
protected:
    // Types the two texts, presses OK; returns the message box text shown, if
    // any, after closing the box. The dialog stays open when refused.
    static QString TypeAndOk(QWidget* w, const QString& user, const QString& password)
    {
        Ctl<QLineEdit>(w, IDC_USER)->setText(user);
        Ctl<QLineEdit>(w, IDC_PASSWORD)->setText(password);
        QString shown;
        QString caption;
        QWidget* owner = nullptr;
        WhenShownHandle box = WhenShown("msgbox", [&](QWidget* box) {
            shown = MessageText(box);
            caption = box->windowTitle();
            owner = box->parentWidget();
            Click(qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok));
        }, 1000, true);
        Click(Ctl(w, IDOK));
        // A refused OK has shown and closed its box before the click returns.
        CancelWhenShown(box);
        if (!shown.isEmpty()) {
            EXPECT_EQ(caption, "Orbisk");
            EXPECT_EQ(owner, w) << "owned by the Authentication dialog";
        }
        return shown;
    }

    CAuthDlg m_dlg;
};

} // namespace

TEST_F(AuthDialogTest, OkWithAnEmptyFieldShowsTheMessageAndStaysOpen)
{
    WhenShown("dlg130", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), "Authentication");
        EXPECT_EQ(TypeAndOk(w, "", "pw"), QString::fromUtf8(kEmptyCredentials));
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(TypeAndOk(w, "admin", ""), QString::fromUtf8(kEmptyCredentials));
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(TypeAndOk(w, "", ""), QString::fromUtf8(kEmptyCredentials));
        EXPECT_EQ(Ctl<QLineEdit>(w, IDC_USER)->text(), "") << "what was typed stays";
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(TypeAndOk(w, "admin", "secret"), "");
    });
    EXPECT_EQ(m_dlg.DoModal(), IDOK);
    EXPECT_EQ(m_dlg.m_strUser, "admin");
    EXPECT_EQ(m_dlg.m_strPassword, "secret");
}

TEST_F(AuthDialogTest, EnterIsOkAndBlanksCountAsFilled)
{
    WhenShown("dlg130", [](QWidget* w) {
        Ctl<QLineEdit>(w, IDC_USER)->setText(" ");
        Ctl<QLineEdit>(w, IDC_PASSWORD)->setText("  ");
        QTest::keyClick(Ctl(w, IDC_PASSWORD), Qt::Key_Return);
    });
    EXPECT_EQ(m_dlg.DoModal(), IDOK);
    EXPECT_EQ(m_dlg.m_strUser, " ");
    EXPECT_EQ(m_dlg.m_strPassword, "  ");
}

TEST_F(AuthDialogTest, CancelReturnsWithoutAnyCheck)
{
    WhenShown("dlg130", [](QWidget* w) {
        WhenShown("msgbox", [](QWidget* box) {
            ADD_FAILURE() << "unexpected message " << MessageText(box).toStdString();
            box->close();
        }, 300, true);
        Click(Ctl(w, IDCANCEL));
    });
    EXPECT_EQ(m_dlg.DoModal(), IDCANCEL);
    WhenShown("dlg130", [](QWidget* w) { QTest::keyClick(Ctl(w, IDC_USER), Qt::Key_Escape); });
    EXPECT_EQ(m_dlg.DoModal(), IDCANCEL);
}

TEST_F(AuthDialogTest, PasswordIsMasked)
{
    WhenShown("dlg130", [](QWidget* w) {
        EXPECT_EQ(Ctl<QLineEdit>(w, IDC_PASSWORD)->echoMode(), QLineEdit::Password);
        EXPECT_EQ(Ctl<QLineEdit>(w, IDC_USER)->echoMode(), QLineEdit::Normal);
        QTest::keyClicks(Ctl(w, IDC_PASSWORD), "abc");
        EXPECT_EQ(Ctl<QLineEdit>(w, IDC_PASSWORD)->displayText(), QString(3, Ctl<QLineEdit>(w, IDC_PASSWORD)->displayText().at(0)));
        EXPECT_NE(Ctl<QLineEdit>(w, IDC_PASSWORD)->displayText(), "abc");
        Click(Ctl(w, IDCANCEL));
    });
    m_dlg.DoModal();
}

TEST_F(AuthDialogTest, CredentialsOfARefusedOkCarryOverACancel)
{
    WhenShown("dlg130", [](QWidget* w) {
        EXPECT_FALSE(TypeAndOk(w, "admin", "").isEmpty());
        Ctl<QLineEdit>(w, IDC_PASSWORD)->setText("typed, never saved");
        Click(Ctl(w, IDCANCEL));
    });
    EXPECT_EQ(m_dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(m_dlg.m_strUser, "admin");
    EXPECT_EQ(m_dlg.m_strPassword, "");
    WhenShown("dlg130", [](QWidget* w) {
        EXPECT_EQ(Ctl<QLineEdit>(w, IDC_USER)->text(), "admin");
        EXPECT_EQ(Ctl<QLineEdit>(w, IDC_PASSWORD)->text(), "");
        Click(Ctl(w, IDCANCEL));
    });
    m_dlg.DoModal();
}

TEST_F(AuthDialogTest, TheChineseMessageRendersWithRealGlyphs)
{
    QString text = QString::fromUtf8(kEmptyCredentials);
    ASSERT_EQ(text.size(), 10);
    QFont font = AfxTemplateFont("宋体", 9);
    for (const QFont& f : {font, QApplication::font()}) {
        QTextLayout layout(text, f);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        int glyphs = 0;
        for (const QGlyphRun& run : layout.glyphRuns()) {
            for (quint32 index : run.glyphIndexes()) {
                EXPECT_NE(index, 0u) << "a missing glyph in " << run.rawFont().familyName().toStdString();
                ++glyphs;
            }
        }
        EXPECT_EQ(glyphs, 10);
    }
}

// ---- About box --------------------------------------------------------------------

namespace {
class AboutBoxTest : public WidgetTest {};

QLabel* LabelWithText(QWidget* w, const QString& text)
{
    for (QLabel* l : w->findChildren<QLabel*>()) {
        if (l->text() == text)
            return l;
    }
    return nullptr;
}
} // namespace

TEST_F(AboutBoxTest, ShowsIconNameVersionNoticeAndADefaultOk)
{
    CAboutBox box;
    WhenShown("dlg100", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), "About Orbisk");
        QLabel* name = LabelWithText(w, "Orbisk 1.0");
        ASSERT_NE(name, nullptr);
        EXPECT_TRUE(name->isVisible());
        int icons = 0, texts = 0;
        for (QLabel* l : w->findChildren<QLabel*>()) {
            if (!l->pixmap().isNull())
                ++icons;
            else if (!l->text().isEmpty())
                ++texts;
        }
        EXPECT_EQ(icons, 1);
        EXPECT_EQ(texts, 2) << "name and one notice line";
        auto* ok = Ctl<QPushButton>(w, IDOK);
        ASSERT_NE(ok, nullptr);
        EXPECT_TRUE(ok->isDefault());
        Click(ok);
    });
    EXPECT_EQ(box.DoModal(), IDOK);
}

TEST_F(AboutBoxTest, EnterEscapeAndTheCloseBoxEndIt)
{
    CAboutBox box;
    WhenShown("dlg100", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); });
    EXPECT_EQ(box.DoModal(), IDOK);
    WhenShown("dlg100", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    EXPECT_EQ(box.DoModal(), IDCANCEL);
    WhenShown("dlg100", [](QWidget* w) { w->close(); });
    EXPECT_EQ(box.DoModal(), IDCANCEL);
}

// The templates' widths were made for a narrower face than the one here.
// The centred status line does not grow with its text: it must hold each
// outcome whole, at 100 % and at 200 % (the templates' font at twice its size).
TEST_F(AboutBoxTest, NoLabelOfTheThreeDialogsIsCutOff)
{
    auto fits = [](QWidget* w, QLabel* l) {
        EXPECT_GE(l->width(), l->sizeHint().width()) << l->text().toStdString();
        EXPECT_GE(l->height(), l->sizeHint().height()) << l->text().toStdString();
        if (l->parentWidget() == w) {
            EXPECT_TRUE(w->rect().contains(l->geometry())) << l->text().toStdString();
        }
    };
    auto check = [&](QWidget* w) {
        for (QLabel* l : w->findChildren<QLabel*>()) {
            if (l->isVisible() && !l->text().isEmpty())
                fits(w, l);
        }
        for (QRadioButton* r : w->findChildren<QRadioButton*>())
            EXPECT_GE(r->width(), r->sizeHint().width()) << r->text().toStdString();
        QTest::keyClick(w, Qt::Key_Escape);
    };
    for (int scale : {1, 2}) {
        SCOPED_TRACE(scale * 100);
        DialogTemplate about = kAboutTemplate, auth = kAuthTemplate, setupIp = kSetupIpTemplate;
        for (DialogTemplate* t : {&about, &auth, &setupIp}) {
            t->pointSize *= scale;
            AfxRegisterDialogTemplate(*t);
        }
        CAboutBox aboutBox;
        WhenShown("dlg100", check);
        aboutBox.DoModal();
        CAuthDlg authDlg;
        WhenShown("dlg130", check);
        authDlg.DoModal();
        CSetupIpDlg setup;
        WhenShown("dlg131", [&](QWidget* w) {
            for (const char* outcome : {text::kSuccess.source, text::kWrongCredentials.source, text::kNotModified.source}) {
                setup.m_Status.SetWindowText(outcome);
                EXPECT_EQ(Text(w, IDC_STATUS), outcome);
                fits(w, Ctl<QLabel>(w, IDC_STATUS));
            }
            check(w);
        });
        setup.DoModal();
        for (const DialogTemplate* t : {&kAboutTemplate, &kAuthTemplate, &kSetupIpTemplate})
            AfxRegisterDialogTemplate(*t);
    }
}

TEST(OrbiskIcon, IsDrawnAt128PixelsAndRegisteredAsIcon128)
{
    QImage image = PaintOrbiskIcon(128);
    EXPECT_EQ(image.size(), QSize(128, 128));
    int opaque = 0;
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x)
            opaque += qAlpha(image.pixel(x, y)) == 255;
    }
    EXPECT_GT(opaque, 128 * 128 / 4);
    EXPECT_LT(opaque, 128 * 128) << "a shape, not a filled square";
    HICON icon = LoadIcon(IDR_MAINFRAME);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->pixmap(128, 128).size(), QSize(128, 128));
    EXPECT_EQ(LoadIcon(IDR_MAINFRAME), icon) << "loaded once";
    CString about;
    EXPECT_TRUE(about.LoadString(IDS_ABOUTBOX));
    EXPECT_EQ(about, "About Orbisk(&A)...");
}
