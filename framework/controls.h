#pragma once

// Wrappers of the common controls. Each is bound to a control of a dialog
// window (DDX_Control) and works on it while the window lives; unbound, the
// operations do nothing and return 0, -1 or "".

#include "button.h"
#include "ip_address_ctrl.h"
#include "list_ctrl.h"
#include "wnd.h"

// Text controls: everything they do is CWnd's.
class CStatic : public CWnd {
};

class CEdit : public CWnd {
};
