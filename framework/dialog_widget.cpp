#include "dialog_widget_p.h"

#include "dialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QResizeEvent>

DialogWidget::DialogWidget(CDialog* owner, QWidget* parent) : QDialog(parent), m_owner(owner)
{
}

void DialogWidget::Command(int id)
{
    if (m_owner)
        m_owner->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<UINT>(id), BN_CLICKED), 0);
}

void DialogWidget::done(int r)
{
    // Only EndDialog ends the dialog; Qt's own paths become commands.
    if (m_bDoneByOwner || !m_owner) {
        QDialog::done(r);
        return;
    }
    Command(r == QDialog::Accepted ? IDOK : IDCANCEL);
}

void DialogWidget::accept()
{
    Command(IDOK);
}

void DialogWidget::reject()
{
    Command(IDCANCEL);
}

// Esc (reject), the default button and auto-default buttons are Qt's; what
// Qt lacks is the help key and IDOK for Enter in a dialog without a default
// button.
void DialogWidget::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (event->modifiers() & ~Qt::KeypadModifier) {
        QDialog::keyPressEvent(event);
    } else if (key == Qt::Key_F1) {
        Command(static_cast<int>(ID_HELP));
    } else if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !m_bHasDefault) {
        // Such a dialog's push buttons are not auto-default (BuildControls),
        // so a focused one leaves Enter to the dialog.
        if (auto* focused = qobject_cast<QPushButton*>(focusWidget()); focused && focused->window() == this)
            focused->click();
        else
            Command(IDOK);
    } else {
        QDialog::keyPressEvent(event);
    }
}

void DialogWidget::closeEvent(QCloseEvent* event)
{
    if (m_bDoneByOwner || !m_owner) {
        event->accept();
        return;
    }
    // The close box is a system command; the dialog decides what it does.
    event->ignore();
    m_owner->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void DialogWidget::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (!m_owner)
        return;
    const WPARAM type = isMinimized() ? SIZE_MINIMIZED : isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED;
    m_owner->SendMessage(WM_SIZE, type, MAKELPARAM(static_cast<UINT>(width()), static_cast<UINT>(height())));
}
