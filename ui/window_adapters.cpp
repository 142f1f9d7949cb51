#include "window_adapters.h"

#include "app.h"
#include "message_texts.h"

void CWndServices::SetItemText(int id, const OperatorText& text)
{
    if (CWnd* item = m_wnd.GetDlgItem(id))
        item->SetWindowText(Translated(text));
}

std::string CWndServices::GetItemText(int id)
{
    CWnd* item = m_wnd.GetDlgItem(id);
    return item ? item->GetWindowText() : std::string();
}

void CWndServices::EnableItem(int id, bool enable)
{
    if (CWnd* item = m_wnd.GetDlgItem(id))
        item->EnableWindow(enable);
}

void CWndServices::SetTimer(unsigned id, unsigned ms)
{
    m_wnd.SetTimer(id, ms);
}

void CWndServices::KillTimer(unsigned id)
{
    m_wnd.KillTimer(id);
}

bool CWndServices::AskYesNo(const OperatorText& text)
{
    return m_wnd.MessageBox(Translated(text), nullptr, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void CWndServices::MessageBox(const OperatorText& text, bool owned)
{
    const std::string shown = Translated(text);
    if (owned)
        m_wnd.MessageBox(shown);
    else
        AfxMessageBox(shown);
}

void CWndServices::WatchSocket(int handle, std::function<void()> onReadable)
{
    StopWatching();
    if (handle == -1)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(handle, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
        [onReadable = std::move(onReadable)] { onReadable(); });
}

void CWndServices::StopWatching()
{
    m_notifier.reset();
}

void CListViewAdapter::SetItemData(int row, const RowInfo& info)
{
    m_list.SetItemValue(row, QVariant::fromValue(info));
}

RowInfo CListViewAdapter::GetItemData(int row) const
{
    QVariant value = m_list.GetItemValue(row);
    return value.canConvert<RowInfo>() ? value.value<RowInfo>() : RowInfo {};
}
