// Sending messages to a window: control messages, its message map, the
// application, default processing; and controls notifying their dialog.

#include "wnd.h"

#include "app.h"
#include "widgets_p.h"

#include <QIcon>
#include <QWidget>

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (auto* control = dynamic_cast<ControlMessageTarget*>(m_hWnd)) {
        LRESULT result = 0;
        if (control->HandleMessage(message, wParam, lParam, &result))
            return result;
    }
    // A temporary wrapper stands for a window whose object is elsewhere.
    if (m_hWnd && FromHandlePermanent(m_hWnd) && FromHandlePermanent(m_hWnd) != this)
        return FromHandlePermanent(m_hWnd)->SendMessage(message, wParam, lParam);
    return WindowProc(message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    AFX_MSG msg{message, wParam, lParam, 0};
    const AFX_MSG* outer = m_pCurrentMsg;
    m_pCurrentMsg = &msg;
    UINT id = 0;
    UINT code = 0;
    if (message == WM_COMMAND) {
        id = LOWORD(wParam);
        code = HIWORD(wParam);
    } else if (message == WM_NOTIFY && lParam) {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
        id = static_cast<UINT>(hdr->idFrom);
        code = hdr->code;
    }
    bool handled = OnCmdMsg(message, code, id, msg);
    if (!handled && message == WM_COMMAND)
        handled = RouteUnhandledCommand(id, msg);
    if (!handled)
        msg.result = DefWindowProc(message, wParam, lParam);
    m_pCurrentMsg = outer;
    return msg.result;
}

bool CWnd::RouteUnhandledCommand(UINT id, AFX_MSG& msg)
{
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(WM_COMMAND, HIWORD(msg.wParam), id, msg);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            return SendMessage(WM_CLOSE);
        return 0;
    case WM_CLOSE:
        if (m_hWnd)
            m_hWnd->close();
        return 0;
    case WM_SETICON:
        if (m_hWnd && lParam)
            m_hWnd->setWindowIcon(*reinterpret_cast<HICON>(lParam));
        return 0;
    default:
        return 0;
    }
}

LRESULT CWnd::Default()
{
    if (!m_pCurrentMsg)
        return 0;
    return DefWindowProc(m_pCurrentMsg->message, m_pCurrentMsg->wParam, m_pCurrentMsg->lParam);
}

void AfxNotifyCommand(QWidget* control, UINT code)
{
    if (!control)
        return;
    if (CWnd* parent = CWnd::FromHandlePermanent(control->parentWidget()))
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<UINT>(AfxGetCtrlId(control)), code),
                            reinterpret_cast<LPARAM>(control));
}

LRESULT AfxNotifyParent(QWidget* control, UINT code, NMHDR& hdr)
{
    if (!control)
        return 0;
    hdr.hwndFrom = control;
    hdr.idFrom = static_cast<UINT_PTR>(AfxGetCtrlId(control));
    hdr.code = code;
    if (CWnd* parent = CWnd::FromHandlePermanent(control->parentWidget()))
        return parent->SendMessage(WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
    return 0;
}
