#include "remembered_dlg.h"

#include "reply_channel.h"

#include "device_wake.h"
#include "resources.h"
#include "udp_socket.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLabel>
#include <QLocale>

#include <net/if.h>
#include <sys/socket.h>

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate(kAfxResourceContext, text);
}

QString Utf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A host name is bytes from the network: a line break or tab in it would
// break a row or the status line, so it shows as a space.
QString OneLine(const std::string& text)
{
    QString shown = Utf8(text);
    for (QChar& c : shown) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
    }
    return shown;
}

enum Column { ColHost, ColMacAddress, ColAddr, ColPort, ColSeen, ColListed, kColumnCount };

struct ColumnSpec {
    const char* heading;
    int width; // pixels
};

constexpr ColumnSpec kColumns[kColumnCount] = {
    {QT_TRANSLATE_NOOP("Resources", "Hostname"), 115},
    {QT_TRANSLATE_NOOP("Resources", "MAC Address"), 130},
    {QT_TRANSLATE_NOOP("Resources", "IP Address"), 110},
    {QT_TRANSLATE_NOOP("Resources", "Interface"), 100},
    {QT_TRANSLATE_NOOP("Resources", "Last Seen"), 135},
    {QT_TRANSLATE_NOOP("Resources", "Listed"), 75},
};

// The record's problem for the operator; "" for none.
QString ProblemMessage(const RecordProblem& problem)
{
    switch (problem.kind) {
    case RecordProblem::SetAside:
        return Tr(QT_TRANSLATE_NOOP("Resources",
                      "The record of remembered devices could not be read; it is kept as %1 and a new one is started."))
            .arg(Utf8(problem.aside));
    case RecordProblem::LeftInPlace:
        return Tr(QT_TRANSLATE_NOOP("Resources", "The record of remembered devices %1 could not be read."))
            .arg(Utf8(problem.path));
    case RecordProblem::LinesSkipped:
        return Tr(QT_TRANSLATE_NOOP("Resources", "Lines of the record that could not be read and are left out: %1."))
            .arg(problem.lines);
    case RecordProblem::None: break;
    }
    return {};
}

// A status line holds more than one line of text.
void WrapLines(CWnd& dlg, int id)
{
    if (CWnd* line = dlg.GetDlgItem(id)) {
        if (auto* label = qobject_cast<QLabel*>(line->GetSafeHwnd()))
            label->setWordWrap(true);
    }
}

} // namespace

QString RecordMessage(const RecordProblem& problem, const Status& written)
{
    QString text = ProblemMessage(problem);
    if (!written.Ok()) {
        QString failed = Tr(QT_TRANSLATE_NOOP("Resources", "The record could not be written: %1"))
                             .arg(Utf8(written.Message()));
        text = text.isEmpty() ? failed : text + u' ' + failed;
    }
    return text;
}

namespace {

// Sends the magic packet as `orbisk-cli wake` does: out of the port the
// device last answered on, else every port, to UDP port 9.
Status SendWake(const KnownDevice& device, const MacAddress& mac)
{
    Result<WakePlan> plan = PlanWake(mac, device.device.interfaceName);
    if (!plan.Ok())
        return plan.Failure();
    CReplyChannel channel;
    if (Status opened = channel.OpenForSending(); !opened.Ok())
        return opened;
    Result<int> sent = channel.SendBytes(plan->routes, kWakePort, plan->packet);
    if (!sent.Ok())
        return sent.Failure();
    if (*sent == 0)
        return Status::Refused(std::errc::network_unreachable, "No port can broadcast");
    return {};
}

} // namespace

std::string DeviceName(const DeviceReply& device)
{
    if (!device.hostname.empty())
        return device.hostname;
    if (!device.mac.empty())
        return device.mac;
    return device.sender;
}

// ---- Add ---------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CAddDeviceDlg, CDialog)
END_MESSAGE_MAP()

BOOL CAddDeviceDlg::OnInitDialog()
{
    BOOL focus = CDialog::OnInitDialog();
    WrapLines(*this, IDC_ADD_PROBLEM);
    return focus;
}

void CAddDeviceDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ADD_MAC, m_strMac);
    DDX_Text(pDX, IDC_ADD_NAME, m_strName);
}

void CAddDeviceDlg::OnOK()
{
    UpdateData(TRUE);
    std::string typed = QString::fromUtf8(m_strMac.c_str()).trimmed().toStdString();
    std::optional<MacAddress> mac = ParseMac(typed);
    if (!mac) {
        QString problem = Tr(QT_TRANSLATE_NOOP("Resources", "\"%1\" is not a MAC address.")).arg(OneLine(typed));
        if (CWnd* line = GetDlgItem(IDC_ADD_PROBLEM))
            line->SetWindowText(problem.toStdString());
        if (CWnd* edit = GetDlgItem(IDC_ADD_MAC))
            edit->SetFocus();
        return;
    }
    HeardDevice device;
    device.reply.mac = MacText(*mac);
    device.reply.hostname = QString::fromUtf8(m_strName.c_str()).trimmed().toStdString();
    RecordProblem problem;
    // Never heard: no time, so it lists last and wakes out of every port.
    Status stored = UpdateRecord(DeviceRecordPath(), [&](CDeviceRecord& record) { record.Note(device, 0); }, problem);
    m_strNote = RecordMessage(problem, stored).toStdString();
    m_strMac = device.reply.mac;
    CDialog::EndDialog(IDOK);
}

// ---- Remembered Devices ----------------------------------------------------------

BEGIN_MESSAGE_MAP(CRememberedDlg, CDialog)
    ON_BN_CLICKED(IDC_WAKE, OnWake)
    ON_BN_CLICKED(IDC_FORGET, OnForget)
    ON_BN_CLICKED(IDC_ADD, OnAdd)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_REMEMBERED_LIST, OnListItemChanged)
END_MESSAGE_MAP()

void CRememberedDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_REMEMBERED_LIST, m_List);
}

BOOL CRememberedDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    WrapLines(*this, IDC_REMEMBERED_STATUS);
    for (int col = 0; col < kColumnCount; ++col)
        m_List.InsertColumn(col, Tr(kColumns[col].heading).toStdString(), LVCFMT_LEFT, kColumns[col].width);
    m_List.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    Reload();
    QString note = Utf8(m_waker.TakeRecordNote());
    if (m_waitingFor)
        SetStatus(Tr(QT_TRANSLATE_NOOP("Resources", "Waiting for %1...")).arg(OneLine(*m_waitingFor)));
    else if (!note.isEmpty())
        SetStatus(note);
    m_List.SetFocus();
    UpdateButtons();
    return FALSE;
}

void CRememberedDlg::Reload(const std::string& key)
{
    CDeviceRecord record;
    record.Load();
    m_devices = record.Newest();
    m_List.DeleteAllItems();
    int mark = m_devices.empty() ? -1 : 0;
    for (size_t i = 0; i < m_devices.size(); ++i) {
        const KnownDevice& known = m_devices[i];
        const DeviceReply& r = known.device.reply;
        int row = static_cast<int>(i);
        m_List.InsertItem(row, OneLine(r.hostname).toStdString());
        m_List.SetItemText(row, ColMacAddress, OneLine(r.mac).toStdString());
        m_List.SetItemText(row, ColAddr, OneLine(r.sender).toStdString());
        m_List.SetItemText(row, ColPort, OneLine(known.device.interfaceName).toStdString());
        QString seen;
        if (known.lastSeenNs > 0) {
            QDateTime when = QDateTime::fromSecsSinceEpoch(known.lastSeenNs / 1000000000);
            seen = QLocale().toString(when, QLocale::ShortFormat);
        }
        m_List.SetItemText(row, ColSeen, seen.toStdString());
        if (m_waker.IsListed(r))
            m_List.SetItemText(row, ColListed, Tr(QT_TRANSLATE_NOOP("Resources", "Yes")).toStdString());
        if (!key.empty() && RecordKey(r) == key)
            mark = row;
    }
    if (mark >= 0)
        m_List.SelectItem(mark);
    if (record.Problem().kind != RecordProblem::None)
        SetStatus(ProblemMessage(record.Problem()));
    UpdateButtons();
}

void CRememberedDlg::SetStatus(const QString& text)
{
    if (CWnd* line = GetDlgItem(IDC_REMEMBERED_STATUS))
        line->SetWindowText(text.toStdString());
}

const KnownDevice* CRememberedDlg::Marked() const
{
    int mark = m_List.GetSelectionMark();
    return mark >= 0 && static_cast<size_t>(mark) < m_devices.size() ? &m_devices[static_cast<size_t>(mark)] : nullptr;
}

void CRememberedDlg::UpdateButtons()
{
    if (CWnd* wake = GetDlgItem(IDC_WAKE)) {
        wake->SetWindowText(Tr(m_waitingFor ? QT_TRANSLATE_NOOP("Resources", "Stop Waiting")
                                            : QT_TRANSLATE_NOOP("Resources", "Wake Up")).toStdString());
        wake->EnableWindow(m_waitingFor || Marked());
    }
    if (CWnd* forget = GetDlgItem(IDC_FORGET))
        forget->EnableWindow(Marked() != nullptr);
}

void CRememberedDlg::OnListItemChanged(NMHDR* /*pNMHDR*/, LRESULT* pResult)
{
    *pResult = 0;
    UpdateButtons();
}

void CRememberedDlg::OnWake()
{
    if (m_waitingFor) {
        m_waker.StopAwaiting();
        m_waitingFor.reset();
        SetStatus({});
        UpdateButtons();
        return;
    }
    const KnownDevice* device = Marked();
    if (!device)
        return;
    const std::string name = DeviceName(device->device.reply);
    std::optional<MacAddress> mac = ParseMac(device->device.reply.mac);
    if (!mac) {
        SetStatus(Tr(QT_TRANSLATE_NOOP("Resources", "%1 has no MAC address to wake it by.")).arg(OneLine(name)));
        return;
    }
    if (Status sent = SendWake(*device, *mac); !sent.Ok()) {
        SetStatus(Tr(QT_TRANSLATE_NOOP("Resources", "The magic packet could not be sent: %1"))
                      .arg(Utf8(sent.Message()).trimmed()));
        return;
    }
    m_waitingFor = name;
    SetStatus(Tr(QT_TRANSLATE_NOOP("Resources", "Waiting for %1...")).arg(OneLine(name)));
    UpdateButtons();
    m_waker.AwaitDevice(*mac, kWakeWaitMs, [this, name](const std::string& address) { OnWaitEnded(name, address); });
}

void CRememberedDlg::OnWaitEnded(const std::string& name, const std::string& address)
{
    m_waitingFor.reset();
    // The window may have closed meanwhile; the next one opens without the wait.
    if (!GetSafeHwnd())
        return;
    std::string key;
    if (const KnownDevice* device = Marked())
        key = RecordKey(device->device.reply);
    Reload(key);
    if (address.empty())
        SetStatus(Tr(QT_TRANSLATE_NOOP("Resources", "%1 did not answer within %2 s."))
                      .arg(OneLine(name))
                      .arg(kWakeWaitMs / 1000));
    else
        SetStatus(Tr(QT_TRANSLATE_NOOP("Resources", "%1 is up at %2.")).arg(OneLine(name), Utf8(address)));
}

void CRememberedDlg::OnForget()
{
    const KnownDevice* device = Marked();
    if (!device)
        return;
    const std::string key = RecordKey(device->device.reply);
    QString question = Tr(QT_TRANSLATE_NOOP("Resources", "Forget %1?")).arg(OneLine(DeviceName(device->device.reply)));
    if (MessageBox(question.toStdString(), nullptr, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
        return;
    RecordProblem problem;
    Status written = UpdateRecord(DeviceRecordPath(), [&](CDeviceRecord& record) { record.Forget(key); }, problem);
    Reload();
    QString note = RecordMessage(problem, written);
    if (!note.isEmpty())
        SetStatus(note);
}

void CRememberedDlg::OnAdd()
{
    m_AddDlg.m_strMac = "";
    m_AddDlg.m_strName = "";
    m_AddDlg.m_strNote.clear();
    if (m_AddDlg.DoModal() != IDOK)
        return;
    std::optional<MacAddress> mac = ParseMac(m_AddDlg.m_strMac.c_str());
    Reload(mac ? MacText(*mac) : std::string());
    if (!m_AddDlg.m_strNote.empty())
        SetStatus(Utf8(m_AddDlg.m_strNote));
}
