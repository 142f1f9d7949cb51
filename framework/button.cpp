#include "button.h"

#include "widgets_p.h"

#include <QAbstractButton>
#include <QButtonGroup>

void AfxSetButtonCheck(QAbstractButton* button, bool checked)
{
    if (!button || button->isChecked() == checked)
        return;
    QButtonGroup* group = button->group();
    if (!checked && group && group->exclusive()) {
        group->setExclusive(false);
        button->setChecked(false);
        group->setExclusive(true);
        return;
    }
    button->setChecked(checked);
}

int CButton::GetCheck() const
{
    auto* b = qobject_cast<QAbstractButton*>(m_hWnd);
    return b && b->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CButton::SetCheck(int nCheck)
{
    AfxSetButtonCheck(qobject_cast<QAbstractButton*>(m_hWnd), nCheck == BST_CHECKED);
}
