#pragma once

// Push buttons, radio buttons and check boxes of a dialog.

#include "wnd.h"

class CButton : public CWnd {
public:
    int GetCheck() const;
    // Checking a radio unchecks the others of its group; unchecking works on
    // radios too, so a group can have none checked.
    void SetCheck(int nCheck);
};
