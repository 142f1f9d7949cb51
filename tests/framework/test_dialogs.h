#pragma once

// Templates and a dialog class for the framework's own tests.

#include "controls.h"
#include "dialog.h"
#include "resources.h"

#include <functional>
#include <string>
#include <vector>

enum : int {
    IDD_TEST = 900,          // no default button
    IDD_TEST_DEFAULT = 901,  // default button 60
    IDC_T_EDIT = 10,
    IDC_T_PASSWORD = 11,
    IDC_T_RADIO_A = 20,
    IDC_T_RADIO_B = 21,
    IDC_T_RADIO_C = 22,
    IDC_T_RADIO_D = 23,
    IDC_T_IP = 30,
    IDC_T_LIST = 40,
    IDC_T_CENTRED = 50,
    IDC_T_HIDDEN = 51,
    IDC_T_DISABLED = 52,
    IDC_T_GO = 60,
};

class CTestDlg : public CDialog {
public:
    explicit CTestDlg(UINT id = IDD_TEST, CWnd* parent = nullptr) : CDialog(id, parent) {}

    CEdit m_Edit;
    CIPAddressCtrl m_Ip;
    CListCtrl m_List;
    CString m_strText;
    int m_nRadio = 0;
    int m_nRadio2 = -1;

    std::vector<std::string> log;
    std::vector<UINT_PTR> ticks;
    std::vector<NMIPADDRESS> fieldChanges;
    std::vector<NMITEMACTIVATE> dblClicks;
    int itemChanges = 0;
    int replaceFieldValue = -2;          // >= -1: the IPN_FIELDCHANGED handler sets iValue
    std::function<void(CTestDlg&)> onInit;
    std::function<void(CTestDlg&, UINT_PTR)> onTick;

    using CDialog::EndDialog;
    using CDialog::UpdateData;

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnGo();
    void OnRadioA();
    void OnTick(UINT_PTR id);
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnFieldChanged(NMHDR* hdr, LRESULT* result);
    void OnListDblClk(NMHDR* hdr, LRESULT* result);
    void OnListItemChanged(NMHDR* hdr, LRESULT* result);
};
