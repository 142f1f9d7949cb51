#pragma once

// Reading and typing into the controls of an open dialog window.

#include "qt_test_support.h"
#include "wnd.h"

#include <QLineEdit>
#include <QTest>

// The window text of control id, as the dialog code reads it.
inline QString Text(QWidget* w, int id)
{
    return QString::fromStdString(CWnd::FromHandle(Ctl(w, id))->GetWindowText());
}

// Field 0..3 of an IP-address control.
inline QLineEdit* Field(QWidget* w, int id, int field)
{
    QWidget* ip = Ctl(w, id);
    return ip ? ip->findChild<QLineEdit*>(QStringLiteral("f%1").arg(field)) : nullptr;
}

// Types into an address field and leaves it for control `next`.
inline void TypeAndLeave(QWidget* w, int id, int field, const QString& text, int next)
{
    QLineEdit* f = Field(w, id, field);
    f->setFocus();
    EXPECT_TRUE(WaitUntil([&] { return f->hasFocus(); }));
    f->selectAll();
    QTest::keyClicks(f, text);
    Ctl(w, next)->setFocus();
    EXPECT_TRUE(WaitUntil([&] { return !f->hasFocus(); }));
}
