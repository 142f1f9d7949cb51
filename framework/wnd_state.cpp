// A window's text, enabled state, visibility and focus.

#include "wnd.h"

#include <QVariant>
#include <QWidget>

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QAccessible>
#endif

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

// A status line's new text is spoken where Qt can announce it (6.8 on);
// before that a screen reader finds it in place.
static void Announce(QWidget* w, const QString& text)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(w, text);
    event.setPoliteness(QAccessible::AnnouncementPoliteness::Polite);
    QAccessible::updateAccessibility(&event);
#else
    Q_UNUSED(w);
    Q_UNUSED(text);
#endif
}

void CWnd::SetWindowText(const CString& text)
{
    if (!m_hWnd)
        return;
    QString value = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    m_hWnd->setProperty(TextProperty(m_hWnd), value);
    // Set while the window opens, the text is read with the window.
    if (m_hWnd->isVisible() && m_hWnd->property("announcesText").toBool())
        Announce(m_hWnd, value);
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
