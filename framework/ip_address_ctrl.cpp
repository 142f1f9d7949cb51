#include "ip_address_ctrl.h"

#include "ip_address_widget_p.h"

static IpAddressWidget* IpOf(HWND h)
{
    return dynamic_cast<IpAddressWidget*>(h);
}

void CIPAddressCtrl::ClearAddress()
{
    if (auto* ip = IpOf(m_hWnd))
        ip->Clear();
}

BOOL CIPAddressCtrl::IsBlank() const
{
    auto* ip = IpOf(m_hWnd);
    return !ip || ip->IsBlank();
}

void CIPAddressCtrl::SetAddress(BYTE b0, BYTE b1, BYTE b2, BYTE b3)
{
    if (auto* ip = IpOf(m_hWnd))
        ip->SetAddress(static_cast<DWORD>(MAKEIPADDRESS(b0, b1, b2, b3)));
}

int CIPAddressCtrl::GetAddress(DWORD& address) const
{
    auto* ip = IpOf(m_hWnd);
    address = 0;
    return ip ? ip->Address(&address) : 0;
}

void CIPAddressCtrl::SetFieldRange(int nField, BYTE low, BYTE high)
{
    SendMessage(IPM_SETRANGE, static_cast<WPARAM>(nField), MAKEIPRANGE(low, high));
}

void CIPAddressCtrl::GetFieldRange(int nField, BYTE& low, BYTE& high) const
{
    auto* ip = IpOf(m_hWnd);
    low = 0;
    high = 255;
    if (ip && nField >= 0 && nField < 4) {
        low = static_cast<BYTE>(ip->Low(nField));
        high = static_cast<BYTE>(ip->High(nField));
    }
}
