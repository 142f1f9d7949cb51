#pragma once

// Windows. A window object (CWnd) wraps one Qt widget, its "handle".
// Controls of a dialog are reached by control id; commands, notifications
// and timer ticks reach handlers through the window's message map
// (cmd_target.h).

#include "afxtypes.h"
#include "cmd_target.h"

#include <QMetaObject>

#include <map>

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
// The direct child of `parent` with control identifier `id`, or null.
QWidget* AfxFindCtrl(const QWidget* parent, int id);
