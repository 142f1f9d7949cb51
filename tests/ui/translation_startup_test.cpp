// The program's language from the session, end to end: ctest runs this once
// with LANGUAGE=de and once with a language Orbisk does not have. Start-up
// installs the translations (Orbisk's and Qt's own); the Scan button, the
// Setup IP status line and a Yes/No question, Qt's buttons included, then
// read in the session's language, or in English.

#include "control_ids.h"
#include "language.h"
#include "operations.h"
#include "qt_test_support.h"
#include "scan_app.h"
#include "scan_dlg.h"
#include "setup_ip_dlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {

struct Expected {
    const char* language; // as InstallTranslations names it
    const char* startupFailure;
    const char* scan;
    const char* notSet;
    const char* question; // the question's last line
    const char* yes;
    const char* no;
};

void ReadsIn(const Expected& e)
{
    // Start-up as the program runs it, stopped by a failing socket check:
    // its one message comes in the session's language.
    SetSocketInitCheck([] { return FALSE; });
    CScanApp app;
    QString startupMessage;
    AnswerMessageBox(QMessageBox::Ok, &startupMessage);
    EXPECT_EQ(app.InitInstance(), FALSE);
    SetSocketInitCheck(nullptr);
    EXPECT_EQ(InstalledLanguage(), e.language);
    EXPECT_EQ(startupMessage, QString::fromUtf8(e.startupFailure));

    CScanDlg scan;
    WhenShown("dlg102", [&](QWidget* w) {
        EXPECT_EQ(Ctl<QPushButton>(w, IDC_SCAN)->text(), QString::fromUtf8(e.scan));
        Click(Ctl(w, IDCANCEL));
    });
    scan.DoModal();

    // A gateway outside the subnet: Setup asks before sending, No sends nothing.
    SelectedDevice = {"198.18.0.20", "198.18.1.1", "255.255.255.0"};
    CSetupIpDlg setup;
    setup.m_nMode = 0;
    QString question, yes, no;
    WhenShown("dlg131", [&](QWidget* w) {
        EXPECT_EQ(Ctl<QLabel>(w, IDC_STATUS)->text(), QString::fromUtf8(e.notSet));
        WhenShown("dlg130", [](QWidget* a) {
            Ctl<QLineEdit>(a, IDC_USER)->setText("admin");
            Ctl<QLineEdit>(a, IDC_PASSWORD)->setText("admin");
            Click(Ctl(a, IDOK));
        });
        WhenShown("msgbox", [&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            question = box->text();
            yes = box->button(QMessageBox::Yes)->text();
            no = box->button(QMessageBox::No)->text();
            Click(box->button(QMessageBox::No));
        });
        Click(Ctl(w, IDC_SETUP));
        Click(Ctl(w, IDCANCEL));
    });
    setup.DoModal();
    SelectedDevice = {};
    EXPECT_TRUE(question.endsWith(QString::fromUtf8(e.question))) << question.toStdString();
    EXPECT_EQ(yes, QString::fromUtf8(e.yes));
    EXPECT_EQ(no, QString::fromUtf8(e.no));
}

class StartupLanguageTest : public WidgetTest {
protected:
    void TearDown() override
    {
        InstallTranslations({});
        WidgetTest::TearDown();
    }
};

} // namespace

TEST_F(StartupLanguageTest, GermanSessionReadsGerman)
{
    ASSERT_EQ(qgetenv("LANGUAGE"), "de") << "run by ctest with LANGUAGE=de";
    ReadsIn({"de", "Der Kommunikationsport konnte nicht initialisiert werden", "Suchen", "Nicht festgelegt",
             "Die Anfrage trotzdem senden?", "&Ja", "&Nein"});
}

TEST_F(StartupLanguageTest, UnknownLanguageReadsEnglish)
{
    ASSERT_EQ(qgetenv("LANGUAGE"), "xx_YY:tlh") << "run by ctest with a language Orbisk does not have";
    ReadsIn({"", "Communication port initialization failure", "Scan", "Not set", "Send the request anyway?", "&Yes",
             "&No"});
}
