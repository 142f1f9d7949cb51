#pragma once

#include "control_ids.h"
#include "dialog.h"

// Asks for the device administrator's user name and password; OK only with
// both filled in.
class CAuthDlg : public CDialog {
public:
    explicit CAuthDlg(CWnd* pParent = nullptr);
    ~CAuthDlg() override;

    enum { IDD = IDD_AUTH };

    CString m_strUser;
    CString m_strPassword;

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
};
