// Message maps: the most derived entry wins, bases are searched after it,
// codes and ids must both match, unhandled commands go to the application.

#include "app.h"
#include "wnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_calls;

class CBaseTarget : public CWnd {
protected:
    DECLARE_MESSAGE_MAP()
    void OnA() { g_calls.push_back("base A"); }
    void OnB() { g_calls.push_back("base B"); }
};

BEGIN_MESSAGE_MAP(CBaseTarget, CWnd)
    ON_COMMAND(100, OnA)
    ON_COMMAND(101, OnB)
END_MESSAGE_MAP()

class CDerivedTarget : public CBaseTarget {
protected:
    DECLARE_MESSAGE_MAP()
    void OnDerivedA() { g_calls.push_back("derived A"); }
    void OnDblClk(NMHDR* hdr, LRESULT* result)
    {
        g_calls.push_back("dblclk " + std::to_string(hdr->idFrom));
        *result = 42;
    }
    void OnTick(UINT_PTR id) { g_calls.push_back("tick " + std::to_string(id)); }
    void OnSys(UINT id, LPARAM) { g_calls.push_back("sys " + std::to_string(id)); }
    LRESULT OnMine(WPARAM w, LPARAM l) { return static_cast<LRESULT>(w) + l; }
};

BEGIN_MESSAGE_MAP(CDerivedTarget, CBaseTarget)
    ON_COMMAND(100, OnDerivedA)
    ON_NOTIFY(NM_DBLCLK, 200, OnDblClk)
    ON_TIMER(OnTick)
    ON_SYSCOMMAND(OnSys)
    ON_MESSAGE(WM_USER + 5, OnMine)
END_MESSAGE_MAP()

class CTestApp : public CWinApp {
public:
    void OnHelp() override { g_calls.push_back("help"); }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

LRESULT Command(CWnd& w, UINT id)
{
    return w.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

LRESULT Notify(CWnd& w, UINT id, UINT code)
{
    NMHDR hdr;
    hdr.idFrom = id;
    hdr.code = code;
    return w.SendMessage(WM_NOTIFY, id, reinterpret_cast<LPARAM>(&hdr));
}

class MessageMapTest : public ::testing::Test {
protected:
    void SetUp() override { g_calls.clear(); }
};

} // namespace

TEST_F(MessageMapTest, DerivedEntryHidesTheBaseEntryForTheSameId)
{
    CDerivedTarget t;
    Command(t, 100);
    Command(t, 101);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"derived A", "base B"}));
}

TEST_F(MessageMapTest, NotificationNeedsItsCodeAndItsIdAndReturnsTheHandlersResult)
{
    CDerivedTarget t;
    EXPECT_EQ(Notify(t, 200, NM_DBLCLK), 42);
    EXPECT_EQ(Notify(t, 200, LVN_ITEMCHANGED), 0);
    EXPECT_EQ(Notify(t, 201, NM_DBLCLK), 0);
    // A command with the notification's id is no notification.
    Command(t, 200);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"dblclk 200"}));
}

TEST_F(MessageMapTest, TimerAndSystemCommandEntriesTakeEveryIdAndPassIt)
{
    CDerivedTarget t;
    t.SendMessage(WM_TIMER, 0, 0);
    t.SendMessage(WM_TIMER, 7, 0);
    t.SendMessage(WM_SYSCOMMAND, 0x10, 0);
    EXPECT_EQ(t.SendMessage(WM_USER + 5, 3, 4), 7);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"tick 0", "tick 7", "sys 16"}));
}

TEST_F(MessageMapTest, CommandWithHigherNotificationCodeIsNotAClick)
{
    CDerivedTarget t;
    t.SendMessage(WM_COMMAND, MAKEWPARAM(100, 1), 0);
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(MessageMapTest, UnhandledCommandsReachTheApplicationOnly)
{
    CDerivedTarget t;
    Command(t, ID_HELP);
    EXPECT_TRUE(g_calls.empty()) << "no application yet";
    {
        CTestApp app;
        Command(t, ID_HELP);
        Command(t, 999);
        EXPECT_EQ(g_calls, (std::vector<std::string>{"help"}));
        EXPECT_EQ(AfxGetApp(), &app);
        EXPECT_STREQ(AfxGetAppName(), "Orbisk");
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
}
