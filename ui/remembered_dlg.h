#pragma once

// The Remembered Devices window: the devices either program has heard, to
// wake one, forget one, or add one never seen by its MAC address.

#include "controls.h"
#include "device_record.h"
#include "dialog.h"
#include "magic_packet.h"
#include "orbisk_resources.h"

#include <functional>
#include <optional>
#include <string>

// What the window needs of the main window, which lists devices and scans.
class IDeviceWaker {
public:
    virtual ~IDeviceWaker() = default;
    // Whether the main list shows the device now.
    virtual bool IsListed(const DeviceReply& device) const = 0;
    // The main window scans until the device answers, at most timeoutMs; then
    // done(its address), or done("") when it did not answer. A new wait or
    // StopAwaiting ends the last without calling its done.
    virtual void AwaitDevice(const MacAddress& mac, int timeoutMs, std::function<void(const std::string&)> done) = 0;
    virtual void StopAwaiting() = 0;
    // What recording the last scan met, for the status line; "" for nothing.
    // Taken once.
    virtual std::string TakeRecordNote() = 0;
};

// How long a woken device has to answer, as `orbisk-cli wake --wait` allows.
inline constexpr int kWakeWaitMs = 120000;

// The MAC address and name for a device never seen; OK only with a MAC
// address that parses, which it stores.
class CAddDeviceDlg : public CDialog {
public:
    explicit CAddDeviceDlg(CWnd* pParent = nullptr) : CDialog(IDD, pParent) {}
    enum { IDD = IDD_ADD_DEVICE };

    CString m_strMac;
    CString m_strName;
    // What storing met, for the window's status line; "" when all went well.
    std::string m_strNote;

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
};

class CRememberedDlg : public CDialog {
public:
    explicit CRememberedDlg(IDeviceWaker& waker, CWnd* pParent = nullptr) : CDialog(IDD, pParent), m_waker(waker) {}
    enum { IDD = IDD_REMEMBERED };

    CListCtrl m_List;
    CAddDeviceDlg m_AddDlg;

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnWake();
    void OnForget();
    void OnAdd();
    void OnListItemChanged(NMHDR* pNMHDR, LRESULT* pResult);

private:
    // Reads the record again and lists it, marking the device of `key`, else the newest.
    void Reload(const std::string& key = {});
    void SetStatus(const QString& text);
    // The marked device, if a row is marked.
    const KnownDevice* Marked() const;
    // Wake Up reads Stop Waiting while a wait runs; Forget needs a mark.
    void UpdateButtons();
    void OnWaitEnded(const std::string& name, const std::string& address);

    IDeviceWaker& m_waker;
    std::vector<KnownDevice> m_devices; // as listed, newest first
    std::optional<std::string> m_waitingFor; // the name shown while a wait runs
};

// What reading or writing the record met, for the operator (translated);
// "" when it went well.
QString RecordMessage(const RecordProblem& problem, const Status& written);

// A device for the status line and questions: its host name, else its MAC
// address, else its address.
std::string DeviceName(const DeviceReply& device);
