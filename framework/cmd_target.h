#pragma once

// Command targets and their message maps: a static table per class,
// searched from the most derived class to its bases, first match wins.
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
//       ON_WM_SIZE()                              // void OnSize(UINT type, int cx, int cy)
//       ON_WM_DESTROY()                           // void OnDestroy()
//   END_MESSAGE_MAP()

#include "afxtypes.h"

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

#define ON_WM_SIZE()                                                            \
    {WM_SIZE, 0, kAnyId,                                                        \
     [](CCmdTarget* t, AFX_MSG& m) {                                            \
         static_cast<ThisClass*>(t)->OnSize(static_cast<UINT>(m.wParam),         \
             static_cast<int>(LOWORD(static_cast<WPARAM>(m.lParam))),           \
             static_cast<int>(HIWORD(static_cast<WPARAM>(m.lParam))));          \
     }},

#define ON_WM_DESTROY()                                                         \
    {WM_DESTROY, 0, kAnyId, [](CCmdTarget* t, AFX_MSG&) { static_cast<ThisClass*>(t)->OnDestroy(); }},

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
