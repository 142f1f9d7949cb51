#include "test_dialogs.h"

#include "afxids.h"

#include <gtest/gtest.h>

namespace {

constexpr DialogItemTemplate kTestItems[] = {
    {1, "Button", "OK", 0x50010000, 10, 124, 40, 14},
    {2, "Button", "Cancel", 0x50010000, 60, 124, 40, 14},
    {IDC_T_EDIT, "Edit", "", 0x50810080, 10, 10, 60, 12},
    {IDC_T_PASSWORD, "Edit", "", 0x508100A0, 10, 26, 60, 12},
    {IDC_T_RADIO_A, "Button", "A", 0x50020009, 80, 10, 30, 10},
    {IDC_T_RADIO_B, "Button", "B", 0x50000009, 80, 22, 30, 10},
    {IDC_T_RADIO_C, "Button", "C", 0x50020009, 120, 10, 30, 10},
    {IDC_T_RADIO_D, "Button", "D", 0x50000009, 120, 22, 30, 10},
    {IDC_T_IP, "SysIPAddress32", "", 0x50010000, 10, 42, 67, 12},
    {IDC_T_LIST, "SysListView32", "", 0x50810005, 10, 58, 150, 62},
    {IDC_T_CENTRED, "Static", "centred", 0x50020001, 170, 10, 40, 8},
    {IDC_T_HIDDEN, "Static", "hidden", 0x40020000, 170, 22, 40, 8},
    {IDC_T_DISABLED, "Button", "off", 0x58010000, 170, 34, 40, 14},
};

constexpr DialogItemTemplate kDefaultItems[] = {
    {IDC_T_EDIT, "Edit", "", 0x50810080, 10, 10, 60, 12},
    {IDC_T_GO, "Button", "Go", 0x50010001, 10, 30, 40, 14},
    {2, "Button", "Cancel", 0x50010000, 60, 30, 40, 14},
};

const DialogTemplate kTest{IDD_TEST, "Test", 0x80C800C0, 0, 0, 0, 220, 144, "宋体", 9, kTestItems, {}};
const DialogTemplate kTestDefault{IDD_TEST_DEFAULT, "Default", 0x80C800C0, 0, 0, 0, 120, 50, "宋体", 9, kDefaultItems, {}};

// The test program's resources, registered once before the tests as a
// program does at start.
class TestResources : public ::testing::Environment {
public:
    void SetUp() override
    {
        AfxRegisterDialogTemplate(kTest);
        AfxRegisterDialogTemplate(kTestDefault);
        AfxRegisterString(AFX_IDS_APP_TITLE, "Orbisk");
    }
};

const auto* const g_resources = ::testing::AddGlobalTestEnvironment(new TestResources);

} // namespace

BEGIN_MESSAGE_MAP(CTestDlg, CDialog)
    ON_BN_CLICKED(IDC_T_GO, OnGo)
    ON_BN_CLICKED(IDC_T_RADIO_A, OnRadioA)
    ON_TIMER(OnTick)
    ON_SYSCOMMAND(OnSysCommand)
    ON_NOTIFY(IPN_FIELDCHANGED, IDC_T_IP, OnFieldChanged)
    ON_NOTIFY(NM_DBLCLK, IDC_T_LIST, OnListDblClk)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_T_LIST, OnListItemChanged)
END_MESSAGE_MAP()

void CTestDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    if (GetTemplateId() == IDD_TEST) {
        DDX_Control(pDX, IDC_T_EDIT, m_Edit);
        DDX_Control(pDX, IDC_T_IP, m_Ip);
        DDX_Control(pDX, IDC_T_LIST, m_List);
        DDX_Text(pDX, IDC_T_PASSWORD, m_strText);
        DDX_Radio(pDX, IDC_T_RADIO_A, m_nRadio);
        DDX_Radio(pDX, IDC_T_RADIO_C, m_nRadio2);
    }
}

BOOL CTestDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    log.push_back("init");
    if (onInit)
        onInit(*this);
    return TRUE;
}

void CTestDlg::OnOK()
{
    log.push_back("ok");
    CDialog::OnOK();
}

void CTestDlg::OnCancel()
{
    log.push_back("cancel");
    CDialog::OnCancel();
}

void CTestDlg::OnGo()
{
    log.push_back("go");
}

void CTestDlg::OnRadioA()
{
    log.push_back("radioA");
}

void CTestDlg::OnTick(UINT_PTR id)
{
    ticks.push_back(id);
    if (onTick)
        onTick(*this, id);
}

void CTestDlg::OnSysCommand(UINT id, LPARAM)
{
    log.push_back("sys" + std::to_string(id));
    Default();
}

void CTestDlg::OnFieldChanged(NMHDR* hdr, LRESULT* result)
{
    auto* nm = reinterpret_cast<NMIPADDRESS*>(hdr);
    fieldChanges.push_back(*nm);
    if (replaceFieldValue >= -1)
        nm->iValue = replaceFieldValue;
    *result = 0;
}

void CTestDlg::OnListDblClk(NMHDR* hdr, LRESULT*)
{
    dblClicks.push_back(*reinterpret_cast<NMITEMACTIVATE*>(hdr));
}

void CTestDlg::OnListItemChanged(NMHDR*, LRESULT* result)
{
    ++itemChanges;
    *result = 0;
}
