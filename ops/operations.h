#pragma once

#include "change_check.h"
#include "device_table.h"
#include "reply_receiver.h"
#include "window_services.h"

#include <string>
#include <vector>

// Texts shown to the operator.
namespace text {
inline constexpr char kScan[] = "Scan";
inline constexpr char kFinished[] = "Finished";
inline constexpr char kSelectDevice[] = "Select the NAS to modify its IP address";
inline constexpr char kDeniedInWait[] =
    "Could not modify the IP address, please check the administrator name, password or the format of parameters";
inline constexpr char kSuccess[] = "Success";
inline constexpr char kWrongCredentials[] = "Wrong user or password!";
inline constexpr char kNotModified[] = "Could not modify the IP address!";
inline constexpr char kNotSet[] = "Not set";
inline constexpr char kSelectMode[] = "Select Static IP or DHCP";
inline constexpr char kPortInUse[] = "Port 10001 is in use by another program; replies cannot be received.";
inline constexpr char kCannotListen[] = "Replies cannot be received: ";
inline constexpr char kNotSent[] = "The request could not be sent: ";
inline constexpr char kSendAnyway[] = "\n\nSend the request anyway?";
} // namespace text

inline constexpr unsigned kTimerId = 0;
inline constexpr unsigned kTickMs = 50;
inline constexpr unsigned kScanTickLimit = 20;     // 21 polls
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

    std::string m_strProblem; // why the last request could not leave or be answered, if so
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
    bool m_bScanning = false;
};
