#pragma once

// Reading the controls of an open dialog window as the dialog code does.

#include "qt_test_support.h"
#include "wnd.h"

#include <QTest>

// The window text of control id, as the dialog code reads it.
inline QString Text(QWidget* w, int id)
{
    return QString::fromStdString(CWnd::FromHandle(Ctl(w, id))->GetWindowText());
}
