#include "operations.h"

#include "control_ids.h"
#include "tool_port.h"
#include "neighbour.h"
#include "reply_channel.h"
#include "wire.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include <unistd.h>

SelectedDeviceRecord SelectedDevice;

void IWindowServices::Sleep(unsigned ms)
{
    usleep(ms * 1000);
}

void IWindowServices::WatchSocket(int /*handle*/, std::function<void()> /*onReadable*/)
{
}

void IWindowServices::StopWatching()
{
}

namespace {

OperatorText SendFailure(int err)
{
    return OperatorText(text::kNotSent, std::strerror(err));
}

OperatorText ListenFailure(int err)
{
    if (err == EADDRINUSE)
        return text::kPortInUse;
    return OperatorText(text::kCannotListen, std::strerror(err));
}

// One message, a line each, for everything that keeps the operator from hearing replies.
OperatorText Lines(std::vector<OperatorText> problems)
{
    return OperatorText::Join(std::move(problems), "\n");
}

// The listener is bound before the request leaves, so that a device that
// answers at once finds it; a listener already open (a restart) keeps what
// it has queued. Returns what keeps the operator from hearing replies, if anything.
std::vector<OperatorText> SendListening(const std::string& request, unsigned ifindex)
{
    int listenError = OpenListener();
    int sendError = 0;
    std::vector<OperatorText> problems;
    if (!SendBroadcast(request, &sendError, ifindex))
        problems.push_back(SendFailure(sendError));
    if (listenError != 0)
        problems.push_back(ListenFailure(listenError));
    return problems;
}

} // namespace

// ---- scan --------------------------------------------------------------------

void CScanOperation::StartScan()
{
    IWindowServices& wnd = ScanWindow();
    ClearDevices();
    wnd.SetItemText(IDC_SCAN, text::kFinished);
    wnd.EnableItem(IDC_SCAN, false);
    std::vector<OperatorText> problems = SendListening(BuildDiscoveryRequest(), 0);
    // Broadcast is not acknowledged: the request goes again, as orbisk-cli
    // sends it. The scan runs far longer than the schedule, which is kept whole.
    m_requestOffsetsMs = RequestOffsetsMs(kDefaultRepeat, std::numeric_limits<int>::max());
    m_nRequestsSent = 1;
    m_scanStartNs = MonotonicNs();
    m_nTick = 0;
    m_nTickLimit = kScanTickLimit;
    wnd.SetTimer(kTimerId, kTickMs);
    wnd.WatchSocket(g_listener.m_hRawSocket, [] { g_replies.TakeQueued(); });
    m_bScanning = true;
    // Shown after the timer is armed: the box's own loop keeps the scan ticking.
    if (!problems.empty())
        wnd.MessageBox(Lines(std::move(problems)));
}

int CScanOperation::SendDueRequests()
{
    int64_t elapsedMs = (MonotonicNs() - m_scanStartNs) / 1000000;
    for (; m_nRequestsSent < m_requestOffsetsMs.size(); ++m_nRequestsSent) {
        int64_t dueMs = m_requestOffsetsMs[m_nRequestsSent];
        if (dueMs > elapsedMs)
            return static_cast<int>(dueMs - elapsedMs);
        SendBroadcast(BuildDiscoveryRequest()); // the first sending told how the ports took it
    }
    return -1;
}

void CScanOperation::OnScanTick(unsigned /*timerId*/)
{
    // Every reply queued is listed, a tick's worth of time at a time; with
    // none queued the poll waits, but no longer than the next request.
    int nextMs = SendDueRequests();
    PollReplies(this, nextMs < 0 ? kPollWaitMs : std::min(nextMs, kPollWaitMs), kScanTickBudgetMs);
    SendDueRequests();
    if (m_nTick < m_nTickLimit) {
        ++m_nTick;
        return;
    }
    EndScan();
}

void CScanOperation::EndScan()
{
    IWindowServices& wnd = ScanWindow();
    wnd.KillTimer(kTimerId);
    wnd.StopWatching();
    m_bScanning = false;
    CloseListener();
    wnd.SetItemText(IDC_SCAN, text::kScan);
    wnd.EnableItem(IDC_SCAN, true);
    OnScanEnded();
}

void CScanOperation::ClearDevices()
{
    ::ClearDevices(DeviceList(), m_nDeviceCount);
    m_senders = {};
}

int& CScanOperation::AddressMode()
{
    return SetupDlg().m_nMode;
}

void CScanOperation::AddDeviceRow(const DeviceReply& reply)
{
    ::AddDeviceRow(DeviceList(), m_nDeviceCount, reply, m_senders);
    OnDeviceListed(reply);
}

void CScanOperation::OnSetupIp()
{
    IListView& list = DeviceList();
    int row = list.GetSelectionMark();
    if (row == -1) {
        ScanWindow().MessageBox(text::kSelectDevice);
        return;
    }
    SelectedDevice.address = list.GetItemText(row, ColAddress);
    SelectedDevice.gateway = list.GetItemText(row, ColGateway);
    SelectedDevice.netmask = list.GetItemText(row, ColNetmask);
    RowInfo info = list.GetItemData(row);
    // The change goes out of the port the device answered on: a device of the
    // same address on another port is not changed with it.
    SelectedDevice.ifindex = info.reply.ifindex;
    SelectedDevice.mac = info.reply.mac;
    SelectedDevice.macs = info.macs;
    SelectedDevice.listed.clear();
    for (int other = 0; other < list.GetItemCount(); ++other) {
        for (const std::string& mac : list.GetItemData(other).macs)
            SelectedDevice.listed.push_back({ list.GetItemText(other, ColAddress), mac });
    }
    // Open on the marked device's own mode, not on whichever device replied
    // last; a device that did not say opens with neither, so the operator chooses.
    SetupDlg().m_nMode = ModeIndex(info.reply.mode);
    SetupDlg().m_pScanOwner = this;
    RunSetupDialog();
    StartScan();
}

// ---- address change ------------------------------------------------------------

void CSetupOperation::OnSetup()
{
    IWindowServices& wnd = SetupWindow();
    wnd.EnableItem(IDC_SETUP, false);
    SelectedDeviceRecord device = SelectedDevice;
    UpdateData(true);
    // A scan behind the Authentication dialog writes each reply's mode into
    // m_nMode; the request carries what the radios showed when Setup was pressed.
    const int chosenMode = m_nMode;
    if (chosenMode == -1) {
        // Never send DHCP that nobody chose.
        wnd.MessageBox(text::kSelectMode);
        wnd.EnableItem(IDC_SETUP, true);
        return;
    }
    if (RunAuthDialog() != IDOK) {
        wnd.EnableItem(IDC_SETUP, true);
        return;
    }
    ChangeRequest request;
    request.current = device.address;
    request.user = AuthUser();
    request.password = AuthPassword();
    request.address = wnd.GetItemText(IDC_NEW_ADDRESS);
    request.gateway = wnd.GetItemText(IDC_NEW_GATEWAY);
    request.netmask = wnd.GetItemText(IDC_NEW_NETMASK);
    request.mode = chosenMode == 0 ? AddressMode::Static : AddressMode::Dhcp;

    if (!ChecksPass(device, request)) {
        ForgetCredentials();
        wnd.EnableItem(IDC_SETUP, true);
        return;
    }

    // A running scan would share the listener and could swallow the change reply.
    if (m_pScanOwner != nullptr && m_pScanOwner->IsScanning())
        m_pScanOwner->EndScan();

    m_problems = SendListening(BuildChangeRequest(request), device.ifindex);
    AwaitChangeReply(true);
    m_nTick = 0;
    m_nTickLimit = kChangeTickLimit;
    wnd.SetTimer(kTimerId, kTickMs);
    ForgetCredentials();
}

// What would cut the device off, or change other devices with it, is sent
// only when the operator says so.
bool CSetupOperation::ChecksPass(const SelectedDeviceRecord& device, const ChangeRequest& request)
{
    IWindowServices& wnd = SetupWindow();
    auto sendDespite = [&](const Status& problem) {
        return problem.Ok() || wnd.AskYesNo(OperatorText::Join({problem.Sentence(), text::kSendAnyway}, "\n\n"));
    };
    if (!sendDespite(SharedAddressProblem(device.address, device.macs)))
        return false;
    if (request.mode != AddressMode::Static)
        return true;
    Status problem = StaticConfigProblem(request.address, request.netmask, request.gateway);
    if (problem.Ok())
        problem = AddressInUseProblem(request.address, device.address, device.mac, device.listed, CHostNetwork());
    return sendDespite(problem);
}

void CSetupOperation::ForgetCredentials()
{
    AuthUser().clear();
    AuthPassword().clear();
}

void CSetupOperation::AwaitChangeReply(bool open)
{
    if (!open) {
        CloseListener();
        return;
    }
    IWindowServices& wnd = SetupWindow();
    // The listener was opened before the request left.
    std::vector<OperatorText> problems = std::move(m_problems);
    m_problems.clear();
    if (!problems.empty())
        wnd.MessageBox(Lines(std::move(problems)));
    for (int poll = 0; poll < kChangeWaitPolls; ++poll) {
        wnd.Sleep(kChangeWaitSleepMs);
        ReplyKind kind = PollReply(nullptr);
        // Shown here as in the ticks: a device answers well within this wait.
        ShowOutcome(kind);
        if (kind == ReplyChanged)
            break;
        if (kind == ReplyDenied) {
            wnd.MessageBox(text::kDeniedInWait, false);
            break;
        }
    }
}

void CSetupOperation::ShowOutcome(ReplyKind kind)
{
    IWindowServices& wnd = SetupWindow();
    switch (kind) {
    case ReplyChanged:
        wnd.SetItemText(IDC_STATUS, text::kSuccess);
        break;
    case ReplyDenied:
        wnd.SetItemText(IDC_STATUS, text::kWrongCredentials);
        break;
    case ReplyOther:
        wnd.SetItemText(IDC_STATUS, text::kNotModified);
        break;
    case ReplyNone:
    case ReplyDevice: // a discovery reply (another operator's scan) says nothing about this change
        break;
    }
}

void CSetupOperation::OnSetupTick(unsigned /*timerId*/)
{
    IWindowServices& wnd = SetupWindow();
    ShowOutcome(PollReply(nullptr));
    if (m_nTick < m_nTickLimit) {
        ++m_nTick;
        return;
    }
    wnd.KillTimer(kTimerId);
    AwaitChangeReply(false);
    wnd.EnableItem(IDC_SETUP, true);
}
