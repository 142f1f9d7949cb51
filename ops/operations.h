#pragma once

#include "change_check.h"
#include "device_table.h"
#include "operator_text.h"
#include "reply_receiver.h"
#include "window_services.h"

#include <cstdint>
#include <string>
#include <vector>

// Texts shown to the operator, marked for the desktop's translations.
namespace text {
inline constexpr TextId kScan = TEXT_ID("Operations", "Scan");
inline constexpr TextId kFinished = TEXT_ID("Operations", "Finished");
inline constexpr TextId kSelectDevice = TEXT_ID("Operations", "Select the NAS to modify its IP address");
inline constexpr TextId kDeniedInWait = TEXT_ID("Operations",
    "Could not modify the IP address, please check the administrator name, password or the format of parameters");
inline constexpr TextId kSuccess = TEXT_ID("Operations", "Success");
inline constexpr TextId kWrongCredentials = TEXT_ID("Operations", "Wrong user or password!");
inline constexpr TextId kNotModified = TEXT_ID("Operations", "Could not modify the IP address!");
inline constexpr TextId kNotSet = TEXT_ID("Operations", "Not set");
inline constexpr TextId kSelectMode = TEXT_ID("Operations", "Select Static IP or DHCP");
inline constexpr TextId kPortInUse =
    TEXT_ID("Operations", "Port 10001 is in use by another program; replies cannot be received.");
inline constexpr TextId kCannotListen = TEXT_ID("Operations", "Replies cannot be received: %1"); // strerror
inline constexpr TextId kNotSent = TEXT_ID("Operations", "The request could not be sent: %1");   // strerror
inline constexpr TextId kSendAnyway = TEXT_ID("Operations", "Send the request anyway?");         // after a problem
} // namespace text

inline constexpr unsigned kTimerId = 0;
inline constexpr unsigned kTickMs = 50;
inline constexpr unsigned kScanTickLimit = 20;     // 21 polls
inline constexpr int kScanTickBudgetMs = 30;        // listing time of one tick; the rest waits for the next
inline constexpr int kChangeWaitPolls = 20;
inline constexpr unsigned kChangeWaitSleepMs = 50;
inline constexpr unsigned kChangeTickLimit = 30;   // 31 polls

// The marked device, handed from the main window to the Setup IP dialog.
struct SelectedDeviceRecord {
    std::string address;
    std::string gateway;
    std::string netmask;
    unsigned ifindex = 0;  // the port its reply came in by; 0: unknown, every port
    std::string mac {};
    std::vector<std::string> macs {};        // every MAC address heard at its address on that port
    std::vector<ListedDevice> listed {};     // the table when the dialog opened
};
extern SelectedDeviceRecord SelectedDevice;

class CScanOperation;

// The address change, as run by the Setup IP dialog.
class CSetupOperation {
public:
    virtual ~CSetupOperation() = default;

    void OnSetup();
    void AwaitChangeReply(bool open);
    void OnSetupTick(unsigned timerId);

    unsigned m_nTickLimit = 0;
    unsigned m_nTick = 0;
    int m_nMode = 0; // 0 static, 1 DHCP, -1 neither radio selected

    // The main window whose running scan must end before a request goes out.
    CScanOperation* m_pScanOwner = nullptr;

protected:
    virtual IWindowServices& SetupWindow() = 0;
    // Radios into m_nMode (save) or m_nMode onto the radios (load).
    virtual int UpdateData(bool save) = 0;
    // Runs the Authentication dialog modally; returns IDOK or IDCANCEL.
    virtual int RunAuthDialog() = 0;
    virtual std::string& AuthUser() = 0;
    virtual std::string& AuthPassword() = 0;

private:
    // The status line's text for a reply read by the wait or a tick.
    void ShowOutcome(ReplyKind kind);
    // The checks before sending; false when the operator said No to one.
    bool ChecksPass(const SelectedDeviceRecord& device, const ChangeRequest& request);
    // The Authentication dialog opens empty again.
    void ForgetCredentials();

    std::vector<OperatorText> m_problems; // why the last request could not leave or be answered, if so
};

// The scan, the device table and the Setup IP command of the main window.
class CScanOperation : public CReplyTarget {
public:
    void StartScan();
    void OnScanTick(unsigned timerId);
    void OnSetupIp();
    void ClearDevices();
    // Ends a running scan at once, as its last tick would.
    void EndScan();
    bool IsScanning() const { return m_bScanning; }

    int& AddressMode() override;
    void AddDeviceRow(const DeviceReply& reply) override;

    int m_nDeviceCount = 0;
    unsigned m_nTick = 0;
    unsigned m_nTickLimit = 0;

protected:
    virtual IWindowServices& ScanWindow() = 0;
    virtual IListView& DeviceList() = 0;
    virtual CSetupOperation& SetupDlg() = 0;
    // Runs the Setup IP dialog modally.
    virtual int RunSetupDialog() = 0;
    // Each reply the moment the table has taken it, and the end of each scan:
    // the window records what it listed and waits for devices it woke.
    virtual void OnDeviceListed(const DeviceReply& /*reply*/) {}
    virtual void OnScanEnded() {}

private:
    // Sends the discovery requests whose time has come; returns the ms
    // until the next one is due, or -1 when none is left.
    int SendDueRequests();

    bool m_bScanning = false;
    CSenderIndex m_senders;
    std::vector<int> m_requestOffsetsMs;
    size_t m_nRequestsSent = 0;
    int64_t m_scanStartNs = 0;
};
