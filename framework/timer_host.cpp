#include "timer_host_p.h"

#include "wnd.h"

#include <QTimerEvent>
#include <QWidget>

TimerHost::TimerHost(QWidget* window) : QObject(window), m_window(window)
{
    setObjectName("timers");
}

TimerHost* TimerHost::Of(QWidget* window, bool create)
{
    auto* host = window->findChild<TimerHost*>("timers", Qt::FindDirectChildrenOnly);
    if (!host && create)
        host = new TimerHost(window);
    return host;
}

void TimerHost::Set(UINT_PTR id, UINT ms)
{
    Kill(id);
    m_timers[id] = startTimer(static_cast<int>(ms), Qt::PreciseTimer);
}

bool TimerHost::Kill(UINT_PTR id)
{
    auto it = m_timers.find(id);
    if (it == m_timers.end())
        return false;
    killTimer(it->second);
    m_timers.erase(it);
    return true;
}

void TimerHost::timerEvent(QTimerEvent* event)
{
    for (const auto& [id, qtId] : m_timers) {
        if (qtId == event->timerId()) {
            if (CWnd* wnd = CWnd::FromHandlePermanent(m_window))
                wnd->SendMessage(WM_TIMER, id, 0);
            return;
        }
    }
}
