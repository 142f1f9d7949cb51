#include "ip_address_widget_p.h"

#include "wnd.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {

// Qt would read the control as a frame; it is one group of four fields.
QAccessibleInterface* GroupOfFields(const QString& className, QObject* object)
{
    if (className == QLatin1String("IpAddressWidget") && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Grouping);
    return nullptr;
}

} // namespace

IpAddressWidget::IpAddressWidget(QWidget* parent) : QFrame(parent)
{
    static const bool groupInstalled = (QAccessible::installFactory(GroupOfFields), true);
    Q_UNUSED(groupInstalled);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(0);
    auto* validator = new QRegularExpressionValidator(QRegularExpression("[0-9]{0,3}"), this);
    for (int i = 0; i < 4; ++i) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("f%1").arg(i));
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setMaxLength(3);
        field->setValidator(validator);
        // One tab stop for the whole control: Tab and Backtab pass over the
        // fields; '.', a full field and the arrows move between them.
        field->setFocusPolicy(Qt::ClickFocus);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, i](const QString& text) {
            // A full field moves on to the next one, as typing a dot does.
            if (text.size() == 3 && i < 3)
                FocusField(i + 1, true);
        });
        m_fields[i] = field;
        layout->addWidget(field, 1);
        if (i < 3) {
            auto* dot = new QLabel(QStringLiteral("."), this);
            dot->setAlignment(Qt::AlignCenter);
            layout->addWidget(dot);
        }
    }
    SetAccessibleLabel(QString());
}

void IpAddressWidget::SetAccessibleLabel(const QString& label)
{
    setAccessibleName(label);
    for (int i = 0; i < 4; ++i) {
        m_fields[i]->setAccessibleName(label.isEmpty() ? tr("part %1 of 4").arg(i + 1)
                                                       : tr("%1, part %2 of 4").arg(label, QString::number(i + 1)));
    }
}

void IpAddressWidget::focusInEvent(QFocusEvent* event)
{
    QFrame::focusInEvent(event);
    // Entered with Tab, Backtab or a click on the frame: the first field.
    FocusField(0, true);
}

// The tab stop after (or before) this control, its own fields skipped: Qt
// keeps them in the focus chain apart from the control.
QWidget* IpAddressWidget::TabStop(bool next) const
{
    QWidget* top = window();
    for (QWidget* w = next ? nextInFocusChain() : previousInFocusChain(); w && w != this;
         w = next ? w->nextInFocusChain() : w->previousInFocusChain()) {
        if (w == top || isAncestorOf(w) || !w->isEnabled() || !w->isVisibleTo(top))
            continue;
        if ((w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus)
            return w;
    }
    return nullptr;
}

int IpAddressWidget::FieldIndex(QObject* o) const
{
    for (int i = 0; i < 4; ++i) {
        if (m_fields[i] == o)
            return i;
    }
    return -1;
}

void IpAddressWidget::FocusField(int field, bool selectAll)
{
    QLineEdit* edit = m_fields[field];
    edit->setFocus(Qt::OtherFocusReason);
    if (selectAll)
        edit->selectAll();
    // Without focus (an inactive window) the field is still left properly.
    if (!edit->hasFocus()) {
        for (int i = 0; i < 4; ++i) {
            if (i != field)
                Constrain(i);
        }
    }
}

void IpAddressWidget::Constrain(int field)
{
    QLineEdit* edit = m_fields[field];
    if (edit->text().isEmpty())
        return;
    int value = edit->text().toInt();
    NMIPADDRESS nm;
    nm.iField = field;
    nm.iValue = value;
    AfxNotifyParent(this, IPN_FIELDCHANGED, nm.hdr);
    int newValue = std::clamp(nm.iValue, m_low[field], m_high[field]);
    if (newValue != value || edit->text() != QString::number(value))
        edit->setText(QString::number(newValue));
}

bool IpAddressWidget::eventFilter(QObject* watched, QEvent* event)
{
    int i = FieldIndex(watched);
    if (i < 0)
        return QFrame::eventFilter(watched, event);
    QLineEdit* edit = m_fields[i];
    if (event->type() == QEvent::FocusOut) {
        Constrain(i);
    } else if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            bool next = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
            if (QWidget* stop = TabStop(next))
                stop->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
        if ((key->key() == Qt::Key_Period || key->text() == QLatin1String(".")) ) {
            if (i < 3 && !edit->text().isEmpty() && !edit->hasSelectedText())
                FocusField(i + 1, true);
            return true;
        }
        if (key->key() == Qt::Key_Backspace && i > 0 && edit->cursorPosition() == 0 && !edit->hasSelectedText()) {
            FocusField(i - 1, false);
            m_fields[i - 1]->end(false);
            return true;
        }
        if (key->key() == Qt::Key_Left && i > 0 && edit->cursorPosition() == 0) {
            FocusField(i - 1, false);
            m_fields[i - 1]->end(false);
            return true;
        }
        if (key->key() == Qt::Key_Right && i < 3 && edit->cursorPosition() == edit->text().size()) {
            FocusField(i + 1, false);
            m_fields[i + 1]->home(false);
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

QString IpAddressWidget::Text() const
{
    QStringList parts;
    for (QLineEdit* f : m_fields)
        parts << QString::number(f->text().toInt());
    return parts.join('.');
}

void IpAddressWidget::SetText(const QString& text)
{
    QStringList parts = text.split('.');
    for (int i = 0; i < 4; ++i) {
        QString part = i < parts.size() ? parts[i].trimmed() : QString();
        bool ok = false;
        int v = part.toInt(&ok);
        ok = ok && !part.isEmpty() && part.size() <= 3 && v >= 0 && !part.startsWith('+');
        m_fields[i]->setText(ok ? QString::number(std::min(v, 255)) : QString());
    }
}

void IpAddressWidget::Clear()
{
    for (QLineEdit* f : m_fields)
        f->clear();
}

bool IpAddressWidget::IsBlank() const
{
    for (QLineEdit* f : m_fields) {
        if (!f->text().isEmpty())
            return false;
    }
    return true;
}

int IpAddressWidget::Address(DWORD* address) const
{
    int filled = 0;
    DWORD a = 0;
    for (QLineEdit* f : m_fields) {
        a = (a << 8) | static_cast<DWORD>(f->text().toInt() & 0xFF);
        if (!f->text().isEmpty())
            ++filled;
    }
    if (address)
        *address = a;
    return filled;
}

void IpAddressWidget::SetAddress(DWORD address)
{
    for (int i = 0; i < 4; ++i)
        m_fields[i]->setText(QString::number((address >> (8 * (3 - i))) & 0xFF));
}

void IpAddressWidget::SetRange(int field, int low, int high)
{
    if (field < 0 || field > 3)
        return;
    m_low[field] = std::min(low, high);
    m_high[field] = std::max(low, high);
}

bool IpAddressWidget::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case IPM_SETRANGE:
        if (wParam > 3) {
            *result = 0;
            return true;
        }
        SetRange(static_cast<int>(wParam), static_cast<int>(lParam & 0xFF), static_cast<int>((lParam >> 8) & 0xFF));
        *result = 1;
        return true;
    case IPM_CLEARADDRESS:
        Clear();
        return true;
    case IPM_SETADDRESS:
        SetAddress(static_cast<DWORD>(lParam));
        return true;
    case IPM_GETADDRESS:
        *result = Address(reinterpret_cast<DWORD*>(lParam));
        return true;
    case IPM_ISBLANK:
        *result = IsBlank();
        return true;
    default:
        return false;
    }
}
