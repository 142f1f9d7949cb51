#pragma once

#include "wnd.h"

// Four octet fields with dots. The window text is the dotted quad with an
// empty field read as 0, so an empty control reads "0.0.0.0". Setting the
// text takes up to four dot-separated numbers; a part that is not a number
// leaves its field empty, a number above 255 reads 255.
class CIPAddressCtrl : public CWnd {
public:
    void ClearAddress();
    BOOL IsBlank() const;
    void SetAddress(BYTE b0, BYTE b1, BYTE b2, BYTE b3);
    // Number of non-empty fields; the address as MAKEIPADDRESS.
    int GetAddress(DWORD& address) const;
    // Typed values are kept in [low, high] when the field is left or filled.
    void SetFieldRange(int nField, BYTE low, BYTE high);
    void GetFieldRange(int nField, BYTE& low, BYTE& high) const;
};
