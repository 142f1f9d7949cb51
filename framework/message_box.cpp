// Message boxes: owned by a window (CWnd::MessageBox) or by none
// (AfxMessageBox), with the application's name as caption.

#include "app.h"
#include "wnd.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QWindow>

int CWnd::MessageBox(const CString& text, const char* caption, UINT type)
{
    const bool yesNo = (type & 0xF) == MB_YESNO;
    QMessageBox box((type & 0xF0) == MB_ICONWARNING ? QMessageBox::Warning : QMessageBox::NoIcon,
                    QString::fromUtf8(caption ? caption : AfxGetAppName()), QString::fromStdString(text),
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, m_hWnd);
    box.setObjectName("msgbox");
    if (yesNo) {
        box.setDefaultButton((type & 0xF00) == MB_DEFBUTTON2 ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    }
    box.setWindowModality(m_hWnd ? Qt::WindowModal : Qt::ApplicationModal);
    int pressed = box.exec();
    if (!yesNo)
        return IDOK;
    return pressed == QMessageBox::Yes ? IDYES : IDNO;
}

int AfxMessageBox(const CString& text, UINT)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(AfxGetAppName()), QString::fromStdString(text),
                    QMessageBox::Ok);
    box.setObjectName("msgbox");
    // Without an owner the box disables no window; it runs its own loop.
    box.setWindowModality(Qt::NonModal);
    // Qt blocks every window outside the topmost modal one, this box too;
    // standing in front of that window lets both take input.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        box.winId();
        box.windowHandle()->setTransientParent(modal->windowHandle());
    }
    QEventLoop loop;
    QObject::connect(&box, &QDialog::finished, &loop, &QEventLoop::quit);
    box.show();
    loop.exec();
    return IDOK;
}

int AfxMessageBox(UINT idString, UINT type)
{
    CString text;
    text.LoadString(idString);
    return AfxMessageBox(text, type);
}
