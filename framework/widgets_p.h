#pragma once

// Qt widgets behind the framework's windows and controls. Private to the
// framework; tests reach them by objectName: dialogs "dlg<template id>",
// controls "ctl<id>", the fields of an IP-address control "f0" to "f3"
// inside it, message boxes "msgbox".

#include "afxtypes.h"

class QAbstractButton;

// Checks or unchecks a button; unchecking works inside an exclusive group.
void AfxSetButtonCheck(QAbstractButton* button, bool checked);

// Control messages (LVM_*, IPM_*) are handled by the control widget itself,
// whichever wrapper sends them.
class ControlMessageTarget {
public:
    virtual ~ControlMessageTarget() = default;
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) = 0;
};
