#include "qt_test_support.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

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

void WhenShown(const QString& objectName, std::function<void(QWidget*)> action, int timeoutMs)
{
    auto* poll = new QTimer();
    auto* clock = new QElapsedTimer();
    clock->start();
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [=] {
        QWidget* w = FindWindow(objectName);
        if (!w && clock->elapsed() < timeoutMs)
            return;
        poll->stop();
        poll->deleteLater();
        delete clock;
        if (!w) {
            ADD_FAILURE() << "no window " << objectName.toStdString() << " within " << timeoutMs << " ms";
            return;
        }
        action(w);
    });
    poll->start();
}

void Click(QWidget* w)
{
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
}

bool WaitUntil(const std::function<bool()>& pred, int timeoutMs)
{
    return QTest::qWaitFor(pred, timeoutMs);
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
    ExpectNoWindowOpen();
}
