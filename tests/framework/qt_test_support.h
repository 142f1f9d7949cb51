#pragma once

// Helpers for widget tests: modal dialogs are driven from inside their own
// loops by actions that wait for the window to show up, then act on it
// (waits of modal_driver.h).

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

// The visible top-level window with this objectName ("dlg131", "msgbox"),
// or null.
QWidget* FindWindow(const QString& objectName);
// Waits up to timeoutMs for it.
QWidget* WaitForWindow(const QString& objectName, int timeoutMs = 5000);

// Runs `action` once, from the event loop, as soon as a visible top-level
// window with this objectName exists (a modal loop serves it). Fails the
// test if none shows within timeoutMs, unless it is optional, and then
// closes the windows that are open for a while, so that the test does not
// hang in one. Returns a handle for CancelWhenShown; WidgetTest cancels what
// is left at its end.
using WhenShownHandle = int;   // a WaitHandle
WhenShownHandle WhenShown(const QString& objectName, std::function<void(QWidget*)> action, int timeoutMs = 5000,
                          bool optional = false);
void CancelWhenShown(WhenShownHandle handle);
void CancelAllWhenShown();

// The control of a dialog window by id ("ctl<id>").
template <class T = QWidget>
T* Ctl(QWidget* dlg, int id)
{
    return dlg ? dlg->findChild<T*>(QStringLiteral("ctl%1").arg(id)) : nullptr;
}

// A left click in the middle of w, delivered through its window.
void Click(QWidget* w);
// Waits, serving events, until pred holds or timeoutMs passes.
bool WaitUntil(const std::function<bool()>& pred, int timeoutMs = 5000);

// Field 0..3 of the IP-address control id, or null.
QLineEdit* Field(QWidget* dlg, int id, int field);
// Types into an address field and leaves it for control `next`, as the
// operator does with Tab.
void TypeAndLeave(QWidget* dlg, int id, int field, const QString& text, int next);

// Fails when a top-level window is still visible.
void ExpectNoWindowOpen();

// The text of the message box's message, or "" when w is none.
QString MessageText(QWidget* box);
// Once the next message box shows: its message into `message`, then a
// click on its `answer` button.
WhenShownHandle AnswerMessageBox(QMessageBox::StandardButton answer, QString* message);

// Fixture base: no window may be left open.
class WidgetTest : public ::testing::Test {
protected:
    void TearDown() override;
};
