#pragma once

#include "control_ids.h"
#include "dialog.h"

// The About box: icon, name and version, one notice line, OK.
class CAboutBox : public CDialog {
public:
    CAboutBox();
    ~CAboutBox() override;

    enum { IDD = IDD_ABOUTBOX };

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* pDX) override;
};
