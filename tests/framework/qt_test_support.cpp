#include "qt_test_support.h"

#include "modal_driver.h"

#include <QAbstractButton>
#include <QTest>
#include <QWindow>

#include <memory>

QWidget* FindWindow(const QString& objectName)
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->objectName() == objectName)
            return w;
    }
    return nullptr;
}

QWidget* WaitForWindow(const QString& objectName, int timeoutMs)
{
    QWidget* found = nullptr;
    WaitUntil([&] { return (found = FindWindow(objectName)) != nullptr; }, timeoutMs);
    return found;
}

WhenShownHandle WhenShown(const QString& objectName, std::function<void(QWidget*)> action, int timeoutMs, bool optional)
{
    auto shown = std::make_shared<QWidget*>(nullptr);
    return WhenReady([=] { return (*shown = FindWindow(objectName)) != nullptr; }, [=] { action(*shown); },
                     timeoutMs,
                     [=] {
                         if (optional)
                             return;
                         ADD_FAILURE() << "no window " << objectName.toStdString() << " within " << timeoutMs
                                       << " ms";
                         // The test is likely blocked in another window's loop.
                         CloseWindowsFor(3000);
                     },
                     5);
}

void CancelWhenShown(WhenShownHandle handle)
{
    CancelWait(handle);
}

void CancelAllWhenShown()
{
    CancelAllWaits();
}

void Click(QWidget* w)
{
    ASSERT_NE(w, nullptr);
    // Through the top-level window, as the window system delivers it, so
    // that a window that Qt's modality blocks does not take the click.
    QWindow* window = w->window()->windowHandle();
    ASSERT_NE(window, nullptr) << "not shown";
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, w->mapTo(w->window(), w->rect().center()));
}

bool WaitUntil(const std::function<bool()>& pred, int timeoutMs)
{
    return QTest::qWaitFor(pred, timeoutMs);
}

QLineEdit* Field(QWidget* dlg, int id, int field)
{
    QWidget* ip = Ctl(dlg, id);
    return ip ? ip->findChild<QLineEdit*>(QStringLiteral("f%1").arg(field)) : nullptr;
}

void TypeAndLeave(QWidget* dlg, int id, int field, const QString& text, int next)
{
    QLineEdit* f = Field(dlg, id, field);
    ASSERT_NE(f, nullptr) << "no field " << field << " in control " << id;
    f->setFocus();
    EXPECT_TRUE(WaitUntil([&] { return f->hasFocus(); }));
    f->selectAll();
    QTest::keyClicks(f, text);
    Ctl(dlg, next)->setFocus();
    EXPECT_TRUE(WaitUntil([&] { return !f->hasFocus(); }));
}

void ExpectNoWindowOpen()
{
    QApplication::processEvents();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(w->isVisible()) << "window left open: " << w->objectName().toStdString() << " \""
                                     << w->windowTitle().toStdString() << "\"";
    }
}

QString MessageText(QWidget* box)
{
    auto* mb = qobject_cast<QMessageBox*>(box);
    return mb ? mb->text() : QString();
}

WhenShownHandle AnswerMessageBox(QMessageBox::StandardButton answer, QString* message)
{
    return WhenShown("msgbox", [answer, message](QWidget* box) {
        *message = MessageText(box);
        Click(qobject_cast<QMessageBox*>(box)->button(answer));
    });
}

void WidgetTest::TearDown()
{
    CancelAllWhenShown();
    ExpectNoWindowOpen();
}
