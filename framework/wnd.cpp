#include "wnd.h"

#include "app.h"
#include "widgets_p.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimerEvent>
#include <QVariant>

#include <memory>

// ---- handle map: widget -> window object --------------------------------

class CWndHandleMap {
public:
    static std::map<QWidget*, CWnd*>& Permanent()
    {
        static std::map<QWidget*, CWnd*> map;
        return map;
    }
    static std::map<QWidget*, std::unique_ptr<CWnd>>& Temporary()
    {
        static std::map<QWidget*, std::unique_ptr<CWnd>> map;
        return map;
    }
};

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    auto& map = CWndHandleMap::Permanent();
    auto it = map.find(hWnd);
    return it == map.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    if (CWnd* wnd = FromHandlePermanent(hWnd))
        return wnd;
    auto& temps = CWndHandleMap::Temporary();
    auto it = temps.find(hWnd);
    if (it != temps.end())
        return it->second.get();
    auto temp = std::make_unique<CWnd>();
    temp->m_hWnd = hWnd;
    CWnd* raw = temp.get();
    temps.emplace(hWnd, std::move(temp));
    // The temporary object goes with its widget.
    QObject::connect(hWnd, &QObject::destroyed, [hWnd] { CWndHandleMap::Temporary().erase(hWnd); });
    return raw;
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (!hWnd || m_hWnd || FromHandlePermanent(hWnd))
        return FALSE;
    m_hWnd = hWnd;
    CWndHandleMap::Permanent()[hWnd] = this;
    m_destroyedConnection = QObject::connect(hWnd, &QObject::destroyed, [this, hWnd] {
        CWndHandleMap::Permanent().erase(hWnd);
        m_hWnd = nullptr;
    });
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND old = m_hWnd;
    if (old) {
        QObject::disconnect(m_destroyedConnection);
        auto& map = CWndHandleMap::Permanent();
        if (auto it = map.find(old); it != map.end() && it->second == this)
            map.erase(it);
        m_hWnd = nullptr;
    }
    return old;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    if (m_hWnd || !parent || !parent->m_hWnd)
        return m_hWnd != nullptr;
    for (QWidget* child : parent->m_hWnd->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (AfxGetCtrlId(child) == static_cast<int>(id))
            return Attach(child);
    }
    return FALSE;
}

int AfxGetCtrlId(const QWidget* w)
{
    if (!w)
        return 0;
    QVariant v = w->property("ctrlId");
    return v.isValid() ? v.toInt() : 0;
}

int CWnd::GetDlgCtrlID() const
{
    return AfxGetCtrlId(m_hWnd);
}

CWnd* CWnd::GetDlgItem(int id) const
{
    if (!m_hWnd)
        return nullptr;
    for (QWidget* child : m_hWnd->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (AfxGetCtrlId(child) == id)
            return FromHandle(child);
    }
    return nullptr;
}

CWnd* CWnd::GetParent() const
{
    return m_hWnd ? FromHandle(m_hWnd->parentWidget()) : nullptr;
}

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

// ---- timers --------------------------------------------------------------

TimerHost::TimerHost(QWidget* window) : QObject(window), m_window(window)
{
    setObjectName("timers");
}

TimerHost* TimerHost::Of(QWidget* window, bool create)
{
    auto* host = window->findChild<TimerHost*>("timers", Qt::FindDirectChildrenOnly);
    if (!host && create)
        host = new TimerHost(window);
    return host;
}

void TimerHost::Set(UINT_PTR id, UINT ms)
{
    Kill(id);
    m_timers[id] = startTimer(static_cast<int>(ms), Qt::PreciseTimer);
}

bool TimerHost::Kill(UINT_PTR id)
{
    auto it = m_timers.find(id);
    if (it == m_timers.end())
        return false;
    killTimer(it->second);
    m_timers.erase(it);
    return true;
}

void TimerHost::timerEvent(QTimerEvent* event)
{
    for (const auto& [id, qtId] : m_timers) {
        if (qtId == event->timerId()) {
            if (CWnd* wnd = CWnd::FromHandlePermanent(m_window))
                wnd->SendMessage(WM_TIMER, id, 0);
            return;
        }
    }
}

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

// ---- messages --------------------------------------------------------------

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
    static const AFX_MSGMAP map{nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

bool CCmdTarget::OnCmdMsg(UINT message, UINT code, UINT id, AFX_MSG& msg)
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->message != 0; ++e) {
            if (e->message != message)
                continue;
            bool matchesCode = (message != WM_COMMAND && message != WM_NOTIFY) || e->code == code;
            bool matchesId = e->id == kAnyId || e->id == id;
            if (matchesCode && matchesId) {
                e->pfn(this, msg);
                return true;
            }
        }
    }
    return false;
}

const AFX_MSGMAP* CWnd::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
    static const AFX_MSGMAP map{&CCmdTarget::GetThisMessageMap, entries};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const
{
    return GetThisMessageMap();
}

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

// ---- message boxes ---------------------------------------------------------

int CWnd::MessageBox(const CString& text, const char* caption, UINT type)
{
    const bool yesNo = (type & 0xF) == MB_YESNO;
    QMessageBox box((type & 0xF0) == MB_ICONWARNING ? QMessageBox::Warning : QMessageBox::NoIcon,
                    QString::fromUtf8(caption ? caption : AfxGetAppName()), QString::fromStdString(text),
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, m_hWnd);
    box.setObjectName("msgbox");
    if (yesNo) {
        box.setDefaultButton((type & 0xF00) == MB_DEFBUTTON2 ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    }
    box.setWindowModality(m_hWnd ? Qt::WindowModal : Qt::ApplicationModal);
    int pressed = box.exec();
    if (!yesNo)
        return IDOK;
    return pressed == QMessageBox::Yes ? IDYES : IDNO;
}
