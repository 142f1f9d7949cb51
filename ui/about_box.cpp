#include "about_box.h"

#include "orbisk_resources.h"

CAboutBox::CAboutBox() : CDialog(IDD)
{
    LoadOrbiskResources();
}

CAboutBox::~CAboutBox() = default;

BEGIN_MESSAGE_MAP(CAboutBox, CDialog)
END_MESSAGE_MAP()

void CAboutBox::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
}
