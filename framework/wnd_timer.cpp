#include "wnd.h"

#include "timer_host_p.h"

#include <QWidget>

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs, void*)
{
    if (!m_hWnd)
        return 0;
    TimerHost::Of(m_hWnd, true)->Set(id, elapseMs);
    // The id itself is the result, and 0 is a valid id; callers that need
    // to know about failure check m_hWnd.
    return id;
}

BOOL CWnd::KillTimer(UINT_PTR id)
{
    if (!m_hWnd)
        return FALSE;
    TimerHost* host = TimerHost::Of(m_hWnd, false);
    return host && host->Kill(id);
}
