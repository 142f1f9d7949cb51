#include "wnd.h"

#include <QVariant>
#include <QWidget>

#include <map>
#include <memory>

// Which window object belongs to which widget.
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
    QWidget* child = AfxFindCtrl(parent->m_hWnd, static_cast<int>(id));
    return child ? Attach(child) : FALSE;
}

int AfxGetCtrlId(const QWidget* w)
{
    if (!w)
        return 0;
    QVariant v = w->property("ctrlId");
    return v.isValid() ? v.toInt() : 0;
}

QWidget* AfxFindCtrl(const QWidget* parent, int id)
{
    for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (AfxGetCtrlId(child) == id)
            return child;
    }
    return nullptr;
}

int CWnd::GetDlgCtrlID() const
{
    return AfxGetCtrlId(m_hWnd);
}

CWnd* CWnd::GetDlgItem(int id) const
{
    QWidget* child = m_hWnd ? AfxFindCtrl(m_hWnd, id) : nullptr;
    return child ? FromHandle(child) : nullptr;
}

CWnd* CWnd::GetParent() const
{
    return m_hWnd ? FromHandle(m_hWnd->parentWidget()) : nullptr;
}
