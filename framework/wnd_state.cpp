// A window's text, enabled state, visibility and focus.

#include "wnd.h"

#include <QVariant>
#include <QWidget>

// Every control shows its text in one Qt property: "text" (buttons, labels,
// edits, the IP-address control), a group box's "title", else the window title.
static const char* TextProperty(const QWidget* w)
{
    const QMetaObject* meta = w->metaObject();
    if (meta->indexOfProperty("text") >= 0)
        return "text";
    if (meta->indexOfProperty("title") >= 0)
        return "title";
    return "windowTitle";
}

void CWnd::SetWindowText(const CString& text)
{
    if (m_hWnd)
        m_hWnd->setProperty(TextProperty(m_hWnd), QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

CString CWnd::GetWindowText() const
{
    if (!m_hWnd)
        return {};
    return CString(m_hWnd->property(TextProperty(m_hWnd)).toString().toStdString());
}

void CWnd::GetWindowText(CString& text) const
{
    text = GetWindowText();
}

BOOL CWnd::EnableWindow(BOOL enable)
{
    if (!m_hWnd)
        return FALSE;
    BOOL wasDisabled = !m_hWnd->isEnabled();
    // A disabled control loses the focus to its window, not to the next
    // control: Qt would pass it on, so that a click on Scan followed by Enter
    // would press the button after it (Quit) instead of the window's IDOK.
    if (!enable && m_hWnd->hasFocus() && m_hWnd->window() != m_hWnd)
        m_hWnd->window()->setFocus(Qt::OtherFocusReason);
    m_hWnd->setEnabled(enable != FALSE);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const
{
    return m_hWnd && m_hWnd->isEnabled();
}

BOOL CWnd::IsWindowVisible() const
{
    return m_hWnd && m_hWnd->isVisible();
}

void CWnd::ShowWindow(BOOL show)
{
    if (m_hWnd)
        m_hWnd->setVisible(show != FALSE);
}

void CWnd::SetFocus()
{
    if (m_hWnd)
        m_hWnd->setFocus(Qt::OtherFocusReason);
}
