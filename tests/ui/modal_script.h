#pragma once

// Drives a program through its modal loops, as an operator would: a 10 ms
// timer checks the next step's condition and runs its action from a
// single-shot timer, so an action that opens a dialog simply blocks in that
// dialog's loop while the script goes on from there.

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include <deque>
#include <functional>
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

class Script {
public:
    using Ready = std::function<bool()>;
    using Act = std::function<void()>;

    Script()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
    }

    // When ready() holds, act() runs. A step that does not become ready within
    // timeoutMs fails the script, which then closes every window it finds.
    Script& When(std::string what, Ready ready, Act act, int timeoutMs = 15000)
    {
        m_steps.push_back({std::move(what), std::move(ready), std::move(act), timeoutMs});
        return *this;
    }
    Script& Then(std::string what, Act act)
    {
        return When(std::move(what), [] { return true; }, std::move(act));
    }

    void Start()
    {
        m_since.start();
        m_timer.start();
    }
    bool Finished() const { return m_steps.empty() && m_failure.empty() && m_nRunning == 0; }
    const std::string& Failure() const { return m_failure; }

private:
    struct Step {
        std::string what;
        Ready ready;
        Act act;
        int timeoutMs;
    };

    void Poll()
    {
        if (!m_failure.empty()) {
            Unwind();
            return;
        }
        if (m_steps.empty() || m_bStarting)
            return;
        Step& step = m_steps.front();
        if (step.ready()) {
            Act act = std::move(step.act);
            m_steps.pop_front();
            m_bStarting = true;
            QTimer::singleShot(0, [this, act] {
                m_bStarting = false;
                ++m_nRunning;
                act();
                --m_nRunning;
            });
            m_since.restart();
        } else if (m_since.elapsed() > step.timeoutMs) {
            m_failure = "timed out waiting for: " + step.what;
            m_steps.clear();
        }
    }

    // Ends whatever is open, innermost first, one window per poll.
    static void Unwind()
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

    QTimer m_timer;
    QElapsedTimer m_since;
    std::deque<Step> m_steps;
    bool m_bStarting = false;
    int m_nRunning = 0;
    std::string m_failure;
};
