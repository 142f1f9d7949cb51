#include "setup_ip_dlg.h"

#include "message_texts.h"

CSetupIpDlg::CSetupIpDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

CSetupIpDlg::~CSetupIpDlg() = default;

BEGIN_MESSAGE_MAP(CSetupIpDlg, CDialog)
    ON_BN_CLICKED(IDC_SETUP, OnSetup)
    ON_TIMER(OnSetupTick)
    ON_NOTIFY(IPN_FIELDCHANGED, IDC_NEW_ADDRESS, OnAddressFieldChanged)
    ON_BN_CLICKED(IDC_STATIC_IP, OnStaticIp)
    ON_BN_CLICKED(IDC_DHCP, OnDhcp)
END_MESSAGE_MAP()

void CSetupIpDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SETUP, m_SetupButton);
    DDX_Control(pDX, IDC_STATUS, m_Status);
    DDX_Control(pDX, IDC_CUR_GATEWAY, m_CurGatewayText);
    DDX_Control(pDX, IDC_CUR_NETMASK, m_CurNetmaskText);
    DDX_Control(pDX, IDC_NEW_NETMASK, m_NetmaskCtrl);
    DDX_Control(pDX, IDC_NEW_GATEWAY, m_GatewayCtrl);
    DDX_Control(pDX, IDC_NEW_ADDRESS, m_AddressCtrl);
    DDX_Control(pDX, IDC_CUR_ADDRESS, m_CurAddressText);
    DDX_Radio(pDX, IDC_STATIC_IP, m_nMode);
}

BOOL CSetupIpDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    SelectedDeviceRecord device = SelectedDevice;
    GetDlgItem(IDC_NEW_ADDRESS)->SetWindowText(device.address);
    GetDlgItem(IDC_NEW_GATEWAY)->SetWindowText(device.gateway);
    GetDlgItem(IDC_NEW_NETMASK)->SetWindowText(device.netmask);
    GetDlgItem(IDC_CUR_ADDRESS)->SetWindowText(device.address);
    GetDlgItem(IDC_CUR_NETMASK)->SetWindowText(device.netmask);
    GetDlgItem(IDC_CUR_GATEWAY)->SetWindowText(device.gateway);
    GetDlgItem(IDC_STATUS)->SetWindowText(Translated(text::kNotSet));

    // First octets of class A to C: 192 and 172 must be typeable.
    GetDlgItem(IDC_NEW_ADDRESS)->SendMessage(IPM_SETRANGE, 0, MAKEIPRANGE(1, 223));

    if (m_nMode == 0)
        OnStaticIp();
    else
        OnDhcp();
    UpdateData(FALSE);
    return TRUE;
}

void CSetupIpDlg::OnStaticIp()
{
    GetDlgItem(IDC_NEW_ADDRESS)->EnableWindow(TRUE);
    GetDlgItem(IDC_NEW_GATEWAY)->EnableWindow(TRUE);
    GetDlgItem(IDC_NEW_NETMASK)->EnableWindow(TRUE);
}

void CSetupIpDlg::OnDhcp()
{
    GetDlgItem(IDC_NEW_ADDRESS)->EnableWindow(FALSE);
    GetDlgItem(IDC_NEW_GATEWAY)->EnableWindow(FALSE);
    GetDlgItem(IDC_NEW_NETMASK)->EnableWindow(FALSE);
}

void CSetupIpDlg::OnAddressFieldChanged(NMHDR* /*pNMHDR*/, LRESULT* pResult)
{
    // The radios stay as the operator set them: loading the stored mode here
    // would quietly turn a chosen static address back into DHCP.
    *pResult = 0;
}
