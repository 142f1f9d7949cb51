#include "about_box.h"

CAboutBox::CAboutBox() : CDialog(IDD) {}

CAboutBox::~CAboutBox() = default;

BEGIN_MESSAGE_MAP(CAboutBox, CDialog)
END_MESSAGE_MAP()

void CAboutBox::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
}
