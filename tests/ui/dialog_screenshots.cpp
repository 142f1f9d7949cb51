// Writes pictures of the three dialogs (and of the Authentication dialog's
// message) into the folder given, in the session's language, e.g. under Xvfb:
//   xvfb-run -a build/tests/ui/orbisk_dialog_screenshots docs/screenshots
//   LANGUAGE=ja xvfb-run -a build/tests/ui/orbisk_dialog_screenshots /tmp/ja

#include "about_box.h"
#include "auth_dlg.h"
#include "language.h"
#include "orbisk_resources.h"
#include "qt_test_support.h"
#include "setup_ip_dlg.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>
#include <QTest>

#include <cstdio>

namespace {

QString g_dir;
int g_written = 0;

void Save(QWidget* w, const QString& name)
{
    QTest::qWait(150); // let the window paint
    QString path = QDir(g_dir).filePath(name);
    if (w->grab().save(path)) {
        std::printf("%s\n", qPrintable(path));
        ++g_written;
    } else {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    g_dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(g_dir);
    InstallTranslations(QLocale::system().uiLanguages());
    LoadOrbiskResources();
    app.setWindowIcon(*LoadIcon(IDR_MAINFRAME));

    SelectedDevice = {"192.168.1.20", "192.168.1.1", "255.255.255.0"};
    CSetupIpDlg setup;
    setup.m_nMode = 0;
    WhenShown("dlg131", [](QWidget* w) {
        Save(w, "setup_ip.png");
        QTest::keyClick(w, Qt::Key_Escape);
    });
    setup.DoModal();

    CAuthDlg auth;
    WhenShown("dlg130", [](QWidget* w) {
        Ctl<QLineEdit>(w, IDC_USER)->setText("admin");
        Ctl<QLineEdit>(w, IDC_PASSWORD)->setText("secret");
        Save(w, "auth.png");
        Ctl<QLineEdit>(w, IDC_PASSWORD)->clear();
        WhenShown("msgbox", [](QWidget* box) {
            Save(box, "auth_message.png");
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QTest::keyClick(w, Qt::Key_Return); // refused: the password is empty
        QTest::keyClick(w, Qt::Key_Escape);
    });
    auth.DoModal();

    CAboutBox about;
    WhenShown("dlg100", [](QWidget* w) {
        Save(w, "about.png");
        QTest::keyClick(w, Qt::Key_Escape);
    });
    about.DoModal();

    QPixmap::fromImage(PaintOrbiskIcon(128)).save(QDir(g_dir).filePath("icon128.png"));
    return g_written == 4 ? 0 : 1;
}
