#pragma once

// Drives a program through its modal loops, as an operator would: a timer
// polls a condition from the event loop (every modal loop serves it) and,
// once it holds, runs an action there; an action that opens a dialog simply
// blocks in that dialog's loop while the other waits go on. Free of
// GoogleTest: the program behind the pictures and benchmarks uses it too.

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>

// The innermost modal window.
inline QWidget* Modal()
{
    return QApplication::activeModalWidget();
}

// Whether the innermost modal window is the dialog "dlg<template id>".
inline bool IsModal(const char* name)
{
    return Modal() && Modal()->objectName() == QLatin1String(name);
}

// The visible OK-only box, modal or not.
inline QMessageBox* VisibleMessageBox()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
            return box;
    }
    return nullptr;
}

// ---- one wait ---------------------------------------------------------------

using WaitHandle = int;

namespace modal_driver {
inline std::map<WaitHandle, QTimer*> g_pending;
inline WaitHandle g_nextHandle = 1;
} // namespace modal_driver

inline void CancelWait(WaitHandle handle)
{
    auto it = modal_driver::g_pending.find(handle);
    if (it == modal_driver::g_pending.end())
        return;
    it->second->stop();
    it->second->deleteLater();
    modal_driver::g_pending.erase(it);
}

inline void CancelAllWaits()
{
    while (!modal_driver::g_pending.empty())
        CancelWait(modal_driver::g_pending.begin()->first);
}

// Every intervalMs, ready(); once it holds, the wait ends and act() runs.
// Without it for timeoutMs, the wait ends and timedOut() runs instead.
inline WaitHandle WhenReady(std::function<bool()> ready, std::function<void()> act, int timeoutMs,
                            std::function<void()> timedOut, int intervalMs)
{
    WaitHandle handle = modal_driver::g_nextHandle++;
    auto* poll = new QTimer();
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    poll->setInterval(intervalMs);
    modal_driver::g_pending[handle] = poll;
    QObject::connect(poll, &QTimer::timeout, [=] {
        bool isReady = ready();
        if (!isReady && clock->elapsed() < timeoutMs)
            return;
        CancelWait(handle);
        if (isReady)
            act();
        else if (timedOut)
            timedOut();
    });
    poll->start();
    return handle;
}

// Ends whatever is open innermost: a visible message box, a popup menu, or
// else the modal window.
inline void CloseInnermostWindow()
{
    if (QMessageBox* box = VisibleMessageBox()) {
        box->done(0);
        return;
    }
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        menu->close();
        return;
    }
    if (QWidget* top = Modal())
        top->close();
}

// For ms from now, closes one window every 10 ms: after a wait that failed,
// the modal loop the test is blocked in returns. A wait, ended by
// CancelWait or CancelAllWaits too.
inline WaitHandle CloseWindowsFor(int ms)
{
    return WhenReady(
        [] {
            CloseInnermostWindow();
            return false;
        },
        {}, ms, {}, 10);
}

// ---- a script of waits, one after the other ---------------------------------

class Script {
public:
    using Ready = std::function<bool()>;
    using Act = std::function<void()>;

    Script()
    {
        m_unwind.setInterval(10);
        QObject::connect(&m_unwind, &QTimer::timeout, [] { Unwind(); });
    }
    ~Script() { CancelWait(m_wait); }
    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;

    // When ready() holds, act() runs, and the next step waits from then on.
    // A step that does not become ready within timeoutMs fails the script,
    // which then closes every window it finds.
    Script& When(std::string what, Ready ready, Act act, int timeoutMs = 15000)
    {
        m_steps.push_back({std::move(what), std::move(ready), std::move(act), timeoutMs});
        return *this;
    }
    Script& Then(std::string what, Act act)
    {
        return When(std::move(what), [] { return true; }, std::move(act));
    }

    void Start() { WaitForNext(); }
    bool Finished() const { return m_steps.empty() && m_failure.empty() && m_nRunning == 0; }
    const std::string& Failure() const { return m_failure; }

private:
    struct Step {
        std::string what;
        Ready ready;
        Act act;
        int timeoutMs;
    };

    void WaitForNext()
    {
        if (m_steps.empty())
            return;
        const Step& step = m_steps.front();
        m_wait = WhenReady(
            step.ready,
            [this] {
                Act act = std::move(m_steps.front().act);
                m_steps.pop_front();
                // From the event loop once more, after what is pending there
                // (a window's activation, say), as an operator acts.
                QTimer::singleShot(0, &m_unwind, [this, act] {
                    WaitForNext();
                    ++m_nRunning;
                    act();
                    --m_nRunning;
                });
            },
            step.timeoutMs,
            [this] {
                m_failure = "timed out waiting for: " + m_steps.front().what;
                m_steps.clear();
                m_unwind.start();
            },
            10);
    }

    // Ends whatever is open, innermost first, one window per tick.
    static void Unwind() { CloseInnermostWindow(); }

    QTimer m_unwind;
    WaitHandle m_wait = 0;
    std::deque<Step> m_steps;
    int m_nRunning = 0;
    std::string m_failure;
};
