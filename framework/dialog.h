#pragma once

// Modal dialogs built from dialog templates.
//
// How to declare a dialog:
//
//   class CMyDlg : public CDialog {
//   public:
//       explicit CMyDlg(CWnd* pParent = nullptr) : CDialog(IDD, pParent) {}
//       enum { IDD = 131 };                 // the template's resource id
//       CButton m_SetupButton;              // controls and values as members
//       CString m_strUser;
//       int m_nMode = 0;
//   protected:
//       DECLARE_MESSAGE_MAP()
//       void DoDataExchange(CDataExchange* pDX) override {
//           CDialog::DoDataExchange(pDX);
//           DDX_Control(pDX, 1024, m_SetupButton);   // binds the wrapper
//           DDX_Text(pDX, 1016, m_strUser);          // text <-> member
//           DDX_Radio(pDX, 1042, m_nMode);           // radio group <-> index
//       }
//       BOOL OnInitDialog() override;   // call CDialog::OnInitDialog() first
//       void OnSetup();
//   };
//
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//       ON_BN_CLICKED(1024, OnSetup)
//   END_MESSAGE_MAP()
//
// The template (see resources.h) must be registered before DoModal. Every
// DoModal creates the window afresh from the template; the object and its
// members outlive it, bound controls are unbound when the window goes.
// CDialog's own map sends IDOK (1) to OnOK and IDCANCEL (2) to OnCancel; Esc
// and the close box send IDCANCEL; Enter clicks the focused push button, else
// the template's default button (Qt's own handling), else, with no default
// button in the template, sends IDOK.
//
// A dialog keeps the template's size, unless its constructor calls
// EnableResizing: then the user may resize and maximise it down to the
// template's size, and the dialog places its controls itself on WM_SIZE
// (ON_WM_SIZE), which comes as the window first shows and at each change.
// WM_DESTROY (ON_WM_DESTROY) comes when the modal loop has ended, while the
// window and its controls are still there to be read.

#include "wnd.h"

class CDialog;

class CDataExchange {
public:
    CDataExchange(CDialog* dlg, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(dlg) {}
    BOOL m_bSaveAndValidate;   // TRUE: controls -> members
    CDialog* m_pDlgWnd;
};

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Creates the window from the template, runs OnInitDialog and a modal
    // loop that keeps serving every other window's timers. Returns the code
    // given to EndDialog, or -1 when the template is missing.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    // Runs DoDataExchange in the given direction. Always TRUE.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    UINT GetTemplateId() const { return m_nIDTemplate; }
    // Whether a dialog made from this template is running now.
    static bool IsTemplateOpen(UINT nIDTemplate);

protected:
    // Loads the members onto the controls (UpdateData(FALSE)). The first tab
    // stop takes the focus unless this put it elsewhere; the result is kept
    // for the derived dialogs' sake.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    // UpdateData(TRUE) then EndDialog(IDOK).
    virtual void OnOK();
    // EndDialog(IDCANCEL).
    virtual void OnCancel();

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // See the top of this file; before DoModal.
    void EnableResizing() { m_bResizable = true; }

    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    bool m_bResizable = false;
    bool m_bEnded = false;
    int m_nResult = 0;
};

// Binds `control` to the dialog's control `id` (once per window).
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
// Window text of control `id` <-> value.
void DDX_Text(CDataExchange* pDX, int id, CString& value);
// The radio group that starts at `id` (a radio with WS_GROUP; the group runs
// to the next control with WS_GROUP) <-> index of the checked radio.
// Save: -1 when none is checked. Load: checks radio `value`, so a value
// outside the group leaves every radio unchecked.
void DDX_Radio(CDataExchange* pDX, int id, int& value);
