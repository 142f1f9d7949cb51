#pragma once

#include "auth_dlg.h"
#include "control_ids.h"
#include "controls.h"
#include "dialog.h"
#include "operations.h"
#include "window_adapters.h"

// New address, gateway and netmask of the marked device, the choice between
// a static address and DHCP, and the status of the change. The address
// change itself (Setup button, the wait, the timer) is CSetupOperation's.
class CSetupIpDlg : public CDialog, public CSetupOperation {
public:
    explicit CSetupIpDlg(CWnd* pParent = nullptr);
    ~CSetupIpDlg() override;

    enum { IDD = IDD_SETUP_IP };

    CButton m_SetupButton;
    CStatic m_Status;
    CStatic m_CurGatewayText;
    CStatic m_CurNetmaskText;
    CIPAddressCtrl m_NetmaskCtrl;
    CIPAddressCtrl m_GatewayCtrl;
    CIPAddressCtrl m_AddressCtrl;
    CStatic m_CurAddressText;
    CAuthDlg m_AuthDlg;
    // m_nTickLimit, m_nTick and m_nMode (0 until a discovery reply sets it)
    // are CSetupOperation's.

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnStaticIp();
    void OnDhcp();
    void OnAddressFieldChanged(NMHDR* pNMHDR, LRESULT* pResult);

    // What the address change needs of this dialog.
    IWindowServices& SetupWindow() override { return m_services; }
    int UpdateData(bool save) override { return CDialog::UpdateData(save); }
    int RunAuthDialog() override { return static_cast<int>(m_AuthDlg.DoModal()); }
    std::string& AuthUser() override { return m_AuthDlg.m_strUser; }
    std::string& AuthPassword() override { return m_AuthDlg.m_strPassword; }

private:
    CWndServices m_services{*this};
};
