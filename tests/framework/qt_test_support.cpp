#include "qt_test_support.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <map>
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

namespace {
std::map<WhenShownHandle, QTimer*> g_pending;
WhenShownHandle g_nextHandle = 1;
} // namespace

WhenShownHandle WhenShown(const QString& objectName, std::function<void(QWidget*)> action, int timeoutMs, bool optional)
{
    WhenShownHandle handle = g_nextHandle++;
    auto* poll = new QTimer();
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    poll->setInterval(5);
    g_pending[handle] = poll;
    QObject::connect(poll, &QTimer::timeout, [=] {
        QWidget* w = FindWindow(objectName);
        if (!w && clock->elapsed() < timeoutMs)
            return;
        CancelWhenShown(handle);
        if (!w) {
            if (!optional)
                ADD_FAILURE() << "no window " << objectName.toStdString() << " within " << timeoutMs << " ms";
            return;
        }
        action(w);
    });
    poll->start();
    return handle;
}

void CancelWhenShown(WhenShownHandle handle)
{
    auto it = g_pending.find(handle);
    if (it == g_pending.end())
        return;
    it->second->stop();
    it->second->deleteLater();
    g_pending.erase(it);
}

void CancelAllWhenShown()
{
    while (!g_pending.empty())
        CancelWhenShown(g_pending.begin()->first);
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

void WidgetTest::TearDown()
{
    CancelAllWhenShown();
    ExpectNoWindowOpen();
}
