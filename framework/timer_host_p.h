#pragma once

#include "afxtypes.h"

#include <QObject>

#include <map>

class QWidget;

// Holds a window's timers; a child of the window, so the timers end with it.
// Q_OBJECT: Qt 6.5 and later refuse findChild<> on a class without it.
class TimerHost : public QObject {
    Q_OBJECT
public:
    explicit TimerHost(QWidget* window);
    void Set(UINT_PTR id, UINT ms);
    bool Kill(UINT_PTR id);
    static TimerHost* Of(QWidget* window, bool create);

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    QWidget* m_window;
    std::map<UINT_PTR, int> m_timers;   // window's id -> Qt's id
};
