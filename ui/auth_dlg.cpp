#include "auth_dlg.h"

#include "resources.h"

#include <cstring>

namespace {
// The one text the program has always shown in Chinese, English readers too.
constexpr const char* kEmptyCredentials = QT_TRANSLATE_NOOP("Resources", "用户名或密码不能为空");
}

CAuthDlg::CAuthDlg(CWnd* pParent) : CDialog(IDD, pParent), m_strUser(""), m_strPassword("") {}

CAuthDlg::~CAuthDlg() = default;

BEGIN_MESSAGE_MAP(CAuthDlg, CDialog)
END_MESSAGE_MAP()

void CAuthDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_USER, m_strUser);
    DDX_Text(pDX, IDC_PASSWORD, m_strPassword);
}

void CAuthDlg::OnOK()
{
    UpdateData(TRUE);
    // Blanks are a name like any other; only an empty text is refused.
    if (std::strcmp(m_strUser.c_str(), "") != 0 && std::strcmp(m_strPassword.c_str(), "") != 0) {
        CDialog::OnOK();
        return;
    }
    MessageBox(AfxTranslateResource(kEmptyCredentials).toStdString(), nullptr, MB_OK);
}
