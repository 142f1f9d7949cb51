#pragma once

#include "control_ids.h"
#include "controls.h"
#include "dialog.h"
#include "main_window_layout.h"
#include "operations.h"
#include "remembered_dlg.h"
#include "setup_ip_dlg.h"
#include "window_adapters.h"

#include <functional>

// Opens a device's web page or shared folders. The default hands the URL to
// the desktop's URL handler; tests put their own in to see the URL without a
// browser or file manager.
using UrlOpener = std::function<void(const char* url)>;
// Replaces the opener; an empty one restores the default. Returns the old one.
UrlOpener SetUrlOpener(UrlOpener opener);

// The main window: the device list with its context menu, Scan, Quit, Clear
// and Setup IP. The scan, the device table and the Setup IP command are
// CScanOperation's; this class binds them to the window. Each scan's devices
// go into the record of remembered devices, which the Remembered Devices
// window (Ctrl+H) shows and wakes from.
class CScanDlg : public CDialog, public CScanOperation, public IDeviceWaker {
public:
    explicit CScanDlg(CWnd* pParent = nullptr);
    ~CScanDlg() override;

    enum { IDD = IDD_SCAN_DIALOG };

    // The About entry of the window menu.
    static constexpr UINT IDM_ABOUTBOX = 0x0010;

    CListCtrl m_DeviceList;
    HICON m_hIcon;
    // m_nDeviceCount, m_nTick and m_nTickLimit are CScanOperation's.
    CSetupIpDlg m_SetupDlg;
    CRememberedDlg m_RememberedDlg{*this, this};

    // For the Remembered Devices window (scan_dlg_record.cpp).
    bool IsListed(const DeviceReply& device) const override;
    void AwaitDevice(const MacAddress& mac, int timeoutMs, std::function<void(const std::string&)> done) override;
    void StopAwaiting() override;
    std::string TakeRecordNote() override;

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    // The list grows with the window; size and column widths are kept.
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();
    void OnDeviceDblClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnDeviceItemChanged(NMHDR* pNMHDR, LRESULT* pResult);

    // The device menu's entries, on the marked row (Setup IP is the button's
    // OnSetupIp).
    void OnOpenWebPage();
    void OnOpenSharedFolders();
    void OnCopyAddress();
    void OnCopyMac();
    void OnCopyRow();
    void OnCopyAllRows();
    void OnRemembered();

    // What the scan and the Setup IP command need of this window.
    IWindowServices& ScanWindow() override { return m_services; }
    IListView& DeviceList() override { return m_listView; }
    CSetupOperation& SetupDlg() override { return m_SetupDlg; }
    int RunSetupDialog() override { return static_cast<int>(m_SetupDlg.DoModal()); }
    // Each scan records the devices it listed; a wake waits through scans.
    void OnDeviceListed(const DeviceReply& reply) override;
    void OnScanEnded() override;

private:
    void InstallWindowMenu();
    // Hands "<prefix><marked row's address><suffix>" to the URL opener.
    void OpenMarkedDevice(const char* prefix, const char* suffix);
    // The row's seven cells, tab-separated.
    CString RowText(int row) const;

    std::vector<HeardDevice> m_heard;   // listed by the scan now running
    std::string m_strRecordNote;         // what recording met, for the Remembered Devices window
    std::optional<MacAddress> m_awaited; // the woken device waited for
    int64_t m_nAwaitEndNs = 0;           // CLOCK_MONOTONIC
    std::function<void(const std::string&)> m_awaitDone;

    CWndServices m_services{*this};
    CListViewAdapter m_listView{m_DeviceList};
    MainWindowLayout m_layout;
};
