// The main window's part in remembering devices: each scan records what it
// listed, and a woken device is waited for through scans until it answers.

#include "scan_dlg.h"

#include "reply_channel.h"
#include "tool_port.h"

void CScanDlg::OnRemembered()
{
    if (!CDialog::IsTemplateOpen(IDD_REMEMBERED))
        m_RememberedDlg.DoModal();
}

void CScanDlg::OnDeviceListed(const DeviceReply& reply)
{
    m_heard.push_back({ reply, g_replies.InterfaceName(reply.ifindex) });
    if (!m_awaited || ParseMac(reply.mac) != m_awaited)
        return;
    for (int row = 0; row < m_DeviceList.GetItemCount(); ++row) {
        if (m_DeviceList.GetItemText(row, ColAddress) == reply.sender)
            m_DeviceList.SelectItem(row);
    }
    auto done = std::move(m_awaitDone);
    StopAwaiting();
    if (done)
        done(reply.sender);
}

void CScanDlg::OnScanEnded()
{
    RecordProblem problem;
    Status recorded = RecordHeard(m_heard, problem);
    m_heard.clear();
    // Shown when the Remembered Devices window opens, not in a box.
    if (QString note = RecordMessage(problem, recorded); !note.isEmpty())
        m_strRecordNote = note.toStdString();
    if (!m_awaited)
        return;
    if (MonotonicNs() < m_nAwaitEndNs) {
        StartScan();
        return;
    }
    auto done = std::move(m_awaitDone);
    StopAwaiting();
    if (done)
        done({});
}

bool CScanDlg::IsListed(const DeviceReply& device) const
{
    std::optional<MacAddress> mac = ParseMac(device.mac);
    for (int row = 0; row < m_DeviceList.GetItemCount(); ++row) {
        if (mac ? ParseMac(m_DeviceList.GetItemText(row, ColMac)) == mac
                : m_DeviceList.GetItemText(row, ColAddress) == device.sender)
            return true;
    }
    return false;
}

void CScanDlg::AwaitDevice(const MacAddress& mac, int timeoutMs, std::function<void(const std::string&)> done)
{
    m_awaited = mac;
    m_nAwaitEndNs = MonotonicNs() + int64_t { timeoutMs } * 1000000;
    m_awaitDone = std::move(done);
    if (!IsScanning())
        StartScan();
}

void CScanDlg::StopAwaiting()
{
    m_awaited.reset();
    m_awaitDone = nullptr;
}

std::string CScanDlg::TakeRecordNote()
{
    return std::exchange(m_strRecordNote, {});
}
