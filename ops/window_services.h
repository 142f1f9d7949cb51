#pragma once

#include "operator_text.h"

#include <functional>
#include <string>

// The few services of a window that the scan and the address change use.
// The dialogs provide them over Qt, showing texts in the session's language;
// tests provide them with plain members. Texts come marked
// (operator_text.h), so that the dialogs can translate them.
class IWindowServices {
public:
    virtual ~IWindowServices() = default;
    // GetDlgItem(id) then SetWindowText / GetWindowText / EnableWindow.
    virtual void SetItemText(int id, const OperatorText& text) = 0;
    virtual std::string GetItemText(int id) = 0;
    virtual void EnableItem(int id, bool enable) = 0;
    // The window's own timers; setting an armed timer restarts its interval.
    virtual void SetTimer(unsigned id, unsigned ms) = 0;
    virtual void KillTimer(unsigned id) = 0;
    // An OK-only message box with the application's caption, owned by this
    // window, or by no window when owned is false.
    virtual void MessageBox(const OperatorText& text, bool owned = true) = 0;
    // A Yes / No question owned by this window, No the default; true for Yes.
    virtual bool AskYesNo(const OperatorText& text) = 0;
    // Holds the thread; the change wait sleeps between its polls.
    virtual void Sleep(unsigned ms);
    // Calls onReadable from the window's event loop whenever the socket has
    // something to read, until StopWatching: replies are taken from the
    // socket as they arrive, between the ticks that list them. One socket at
    // a time; watching another replaces it. Without an event loop (tests
    // driving the ticks) nothing is watched.
    virtual void WatchSocket(int handle, std::function<void()> onReadable);
    virtual void StopWatching();
};
