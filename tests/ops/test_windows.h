#pragma once

// Stand-ins for the main window and the Setup IP dialog: they provide the
// window services with plain members and record what the operations did.
// Timers are not real; a test drives them by calling the tick handlers.

#include "control_ids.h"
#include "device_table.h"
#include "operations.h"

#include <poll.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

struct ShownBox {
    std::string text;
    bool owned;
};

class TestWindow : public IWindowServices {
public:
    void SetItemText(int id, const OperatorText& text) override { texts[id] = text.English(); }
    std::string GetItemText(int id) override { return texts[id]; }
    void EnableItem(int id, bool enable) override { enabled[id] = enable; }
    void SetTimer(unsigned id, unsigned ms) override
    {
        timerArmed = true;
        timerId = id;
        timerMs = ms;
        ++timersSet;
    }
    void KillTimer(unsigned id) override
    {
        if (id == timerId)
            timerArmed = false;
        ++timersKilled;
    }
    void MessageBox(const OperatorText& text, bool owned) override
    {
        boxes.push_back({ text.English(), owned });
        if (onBox)
            onBox(boxes.back().text);
    }
    bool AskYesNo(const OperatorText& text) override
    {
        questions.push_back(text.English());
        bool yes = !answers.empty() && answers.front();
        if (!answers.empty())
            answers.erase(answers.begin());
        return yes;
    }
    // Calls tick (beforeTick first) until the timer is killed; returns the
    // number of ticks.
    int TickWhileArmed(const std::function<void()>& tick, const std::function<void(int)>& beforeTick)
    {
        int ticks = 0;
        while (timerArmed && ticks < 1000) {
            if (beforeTick)
                beforeTick(ticks);
            tick();
            ++ticks;
        }
        return ticks;
    }

    // As an event loop runs them: a tick every timerMs, and in between the
    // watched socket's handler whenever the socket is readable.
    int TickOnTimerWhileArmed(const std::function<void()>& tick, const std::function<void(int)>& beforeTick)
    {
        using Clock = std::chrono::steady_clock;
        int ticks = 0;
        Clock::time_point due = Clock::now();
        while (timerArmed && ticks < 1000) {
            due += std::chrono::milliseconds(timerMs);
            if (beforeTick)
                beforeTick(ticks);
            tick();
            ++ticks;
            for (Clock::time_point now = Clock::now(); timerArmed && now < due; now = Clock::now()) {
                auto left = std::chrono::duration_cast<std::chrono::milliseconds>(due - now).count() + 1;
                pollfd pfd { watched, POLLIN, 0 };
                if (poll(&pfd, watched == -1 ? 0 : 1, static_cast<int>(left)) > 0 && onReadable)
                    onReadable();
            }
        }
        return ticks;
    }
    void WatchSocket(int handle, std::function<void()> handler) override
    {
        watched = handle;
        onReadable = std::move(handler);
    }
    void StopWatching() override
    {
        watched = -1;
        onReadable = {};
    }

    void Sleep(unsigned ms) override
    {
        ++sleeps;
        if (onSleep)
            onSleep();
        IWindowServices::Sleep(ms);
    }

    bool Enabled(int id) const
    {
        auto it = enabled.find(id);
        return it == enabled.end() || it->second; // controls start enabled
    }

    std::map<int, std::string> texts;
    std::map<int, bool> enabled;
    std::vector<ShownBox> boxes;
    std::vector<std::string> questions; // Yes / No questions asked
    std::vector<bool> answers;          // the operator's answers in turn; No when none is left
    bool timerArmed = false;
    unsigned timerId = 99;
    unsigned timerMs = 0;
    int timersSet = 0;
    int timersKilled = 0;
    int sleeps = 0;
    int watched = -1;                            // the socket the event loop would watch
    std::function<void()> onReadable;
    std::function<void()> onSleep;               // while the change wait sleeps
    std::function<void(const std::string&)> onBox; // while a box is shown
};

class TestSetupDlg : public CSetupOperation {
public:
    TestWindow wnd;
    int radio = 0;             // 0 "Static IP", 1 "DHCP", -1 neither
    int authResult = IDOK;     // what the operator does in the Authentication dialog
    std::string typedUser = "admin";
    std::string typedPassword = "admin";
    int authRuns = 0;
    std::vector<std::string> authOpenedWith; // user and password shown at each opening
    std::function<void()> duringAuth;         // while the Authentication dialog is open
    std::string m_strUser;
    std::string m_strPassword;

    // One opening: a fresh window loaded as the dialog's initialisation does.
    void Open()
    {
        wnd.texts.clear();
        wnd.enabled.clear();
        wnd.timerArmed = false;
        wnd.texts[IDC_STATUS] = text::kNotSet.source;
        wnd.texts[IDC_NEW_ADDRESS] = SelectedDevice.address;
        wnd.texts[IDC_NEW_GATEWAY] = SelectedDevice.gateway;
        wnd.texts[IDC_NEW_NETMASK] = SelectedDevice.netmask;
        UpdateData(false);
    }
    // Closing ends the dialog's timer with its window; no final tick runs.
    void Close() { wnd.timerArmed = false; }

    // Drives the dialog's timer until it is killed; returns the number of ticks.
    int TickUntilIdle(const std::function<void(int)>& beforeTick = {})
    {
        return wnd.TickWhileArmed([this] { OnSetupTick(0); }, beforeTick);
    }

    std::string Status() { return wnd.texts[IDC_STATUS]; }

protected:
    IWindowServices& SetupWindow() override { return wnd; }
    int UpdateData(bool save) override
    {
        if (save)
            m_nMode = radio;
        else
            radio = (m_nMode == 0 || m_nMode == 1) ? m_nMode : -1;
        return 1;
    }
    int RunAuthDialog() override
    {
        ++authRuns;
        authOpenedWith.push_back(m_strUser + "/" + m_strPassword);
        if (duringAuth)
            duringAuth();
        if (authResult == IDOK) {
            m_strUser = typedUser;
            m_strPassword = typedPassword;
        }
        return authResult;
    }
    std::string& AuthUser() override { return m_strUser; }
    std::string& AuthPassword() override { return m_strPassword; }
};

class TestMainWindow : public CScanOperation {
public:
    TestWindow wnd;
    CMemoryListView list;
    TestSetupDlg setup;
    int setupRuns = 0;
    // The operator inside the Setup IP dialog, run between its opening and closing.
    std::function<void(TestSetupDlg&)> inDialog;

    // Drives the scan timer until it is killed; returns the number of ticks.
    int TickUntilIdle(const std::function<void(int)>& beforeTick = {})
    {
        return wnd.TickWhileArmed([this] { OnScanTick(0); }, beforeTick);
    }
    // The same at the timer's pace, the socket watched in between.
    int TickOnTimerUntilIdle(const std::function<void(int)>& beforeTick = {})
    {
        return wnd.TickOnTimerWhileArmed([this] { OnScanTick(0); }, beforeTick);
    }

    std::string Cell(int row, int column) const { return list.GetItemText(row, column); }
    int Rows() const { return list.GetItemCount(); }
    // Row of the given address, or -1.
    int RowOf(const std::string& address) const
    {
        for (int row = 0; row < list.GetItemCount(); ++row)
            if (list.GetItemText(row, ColAddress) == address)
                return row;
        return -1;
    }

protected:
    IWindowServices& ScanWindow() override { return wnd; }
    IListView& DeviceList() override { return list; }
    CSetupOperation& SetupDlg() override { return setup; }
    int RunSetupDialog() override
    {
        ++setupRuns;
        setup.Open();
        if (inDialog)
            inDialog(setup);
        setup.Close();
        return IDCANCEL;
    }
};
