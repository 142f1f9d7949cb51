#pragma once

// Windows, command routing and message maps.
//
// A window object (CWnd) wraps one Qt widget, its "handle". Controls of a
// dialog are reached by control id; commands, notifications and timer ticks
// reach handlers through a message map: a static table per class, searched
// from the most derived class to its bases, first match wins.
//
//   // in the class:      DECLARE_MESSAGE_MAP()
//   // in the .cpp:
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//       ON_BN_CLICKED(1024, OnSetup)              // void OnSetup()
//       ON_COMMAND(1, StartScan)                  // void StartScan()
//       ON_NOTIFY(NM_DBLCLK, 1000, OnDblClick)    // void OnDblClick(NMHDR*, LRESULT*)
//       ON_TIMER(OnTick)                          // void OnTick(UINT_PTR id), any timer
//       ON_SYSCOMMAND(OnSysCommand)               // void OnSysCommand(UINT id, LPARAM)
//       ON_MESSAGE(WM_USER + 1, OnMine)           // LRESULT OnMine(WPARAM, LPARAM)
//   END_MESSAGE_MAP()

#include "afxtypes.h"

#include <QMetaObject>

#include <map>

// The arguments of the message being handled, and its result.
struct AFX_MSG {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
};

class CCmdTarget;

inline constexpr UINT kAnyId = ~0U;

struct AFX_MSGMAP_ENTRY {
    UINT message;   // 0 ends the table
    UINT code;      // notification code (WM_COMMAND, WM_NOTIFY); ignored otherwise
    UINT id;        // control or command id; kAnyId matches every id
    void (*pfn)(CCmdTarget* target, AFX_MSG& msg);
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();   // null for the root
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                              \
protected:                                                 \
    static const AFX_MSGMAP* GetThisMessageMap();          \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                  \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                             \
    {                                                                           \
        using ThisClass [[maybe_unused]] = theClass;                            \
        using TheBaseClass = baseClass;                                         \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                       \
            {0, 0, 0, nullptr}                                                  \
        };                                                                      \
        static const AFX_MSGMAP map{&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                            \
    }

#define ON_COMMAND(id, memberFxn)                                               \
    {WM_COMMAND, BN_CLICKED, static_cast<UINT>(id),                             \
     [](CCmdTarget* t, AFX_MSG&) { static_cast<ThisClass*>(t)->memberFxn(); }},

#define ON_BN_CLICKED(id, memberFxn) ON_COMMAND(id, memberFxn)

#define ON_NOTIFY(code, id, memberFxn)                                          \
    {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id),                 \
     [](CCmdTarget* t, AFX_MSG& m) {                                            \
         static_cast<ThisClass*>(t)->memberFxn(reinterpret_cast<NMHDR*>(m.lParam), &m.result); \
     }},

#define ON_TIMER(memberFxn)                                                     \
    {WM_TIMER, 0, kAnyId,                                                       \
     [](CCmdTarget* t, AFX_MSG& m) { static_cast<ThisClass*>(t)->memberFxn(static_cast<UINT_PTR>(m.wParam)); }},

#define ON_SYSCOMMAND(memberFxn)                                                \
    {WM_SYSCOMMAND, 0, kAnyId,                                                  \
     [](CCmdTarget* t, AFX_MSG& m) { static_cast<ThisClass*>(t)->memberFxn(static_cast<UINT>(m.wParam), m.lParam); }},

#define ON_MESSAGE(message, memberFxn)                                          \
    {static_cast<UINT>(message), 0, kAnyId,                                     \
     [](CCmdTarget* t, AFX_MSG& m) { m.result = static_cast<ThisClass*>(t)->memberFxn(m.wParam, m.lParam); }},

// Anything that handles commands through a message map.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Runs the first matching entry of this object's maps; false when none.
    bool OnCmdMsg(UINT message, UINT code, UINT id, AFX_MSG& msg);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The permanent object attached to a widget, or a temporary one that
    // lives as long as the widget.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    BOOL Attach(HWND hWnd);
    HWND Detach();
    // Binds this object to the dialog's control `id` (once; again after the
    // window was destroyed).
    BOOL SubclassDlgItem(UINT id, CWnd* parent);

    int GetDlgCtrlID() const;
    CWnd* GetDlgItem(int id) const;
    CWnd* GetParent() const;

    void SetWindowText(const CString& text);
    void GetWindowText(CString& text) const;
    CString GetWindowText() const;
    // Returns whether the window was disabled before.
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsWindowVisible() const;
    void ShowWindow(BOOL show);
    void SetFocus();

    // Timers of this window by its own ids; setting an armed id again
    // restarts its interval. Each expiry sends WM_TIMER with the id.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, void* unusedProc = nullptr);
    BOOL KillTimer(UINT_PTR id);

    // OK-only box with the application's name as caption, owned by this window.
    int MessageBox(const CString& text, const char* caption = nullptr, UINT type = MB_OK);

    // Handled at once: control messages by the control, all others by the
    // message map and then by default processing.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Default processing of the message being handled.
    LRESULT Default();

protected:
    const AFX_MSGMAP* GetMessageMap() const override;
    static const AFX_MSGMAP* GetThisMessageMap();

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Commands no entry of this window handled: offered to the application.
    virtual bool RouteUnhandledCommand(UINT id, AFX_MSG& msg);

private:
    friend class CWndHandleMap;
    QMetaObject::Connection m_destroyedConnection;
    const AFX_MSG* m_pCurrentMsg = nullptr;
};

// Sends WM_COMMAND (code, id of `control`) to the window object of the
// control's parent. For control implementations.
void AfxNotifyCommand(QWidget* control, UINT code);
// Sends WM_NOTIFY with hdr (hwndFrom, idFrom, code filled in) to the parent.
LRESULT AfxNotifyParent(QWidget* control, UINT code, NMHDR& hdr);

// Control id and class of a widget made from a template.
int AfxGetCtrlId(const QWidget* w);
