#pragma once

#include "widgets_p.h"

#include <QFrame>

#include <array>

class QLineEdit;

// The IP-address control behind CIPAddressCtrl.
class IpAddressWidget : public QFrame, public ControlMessageTarget {
    Q_OBJECT
    // The dotted text, as the window text of the control.
    Q_PROPERTY(QString text READ Text WRITE SetText)

public:
    explicit IpAddressWidget(QWidget* parent);

    QString Text() const;
    void SetText(const QString& text);
    void Clear();
    bool IsBlank() const;
    int Address(DWORD* address) const;
    void SetAddress(DWORD address);
    void SetRange(int field, int low, int high);
    int Low(int field) const { return m_low[field]; }
    int High(int field) const { return m_high[field]; }
    QLineEdit* Field(int i) const { return m_fields[i]; }
    // What a screen reader reads: the control as one group named `label`,
    // each field as "<label>, part <n> of 4".
    void SetAccessibleLabel(const QString& label);

    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    int FieldIndex(QObject* o) const;
    QWidget* TabStop(bool next) const;
    void Constrain(int field);
    void FocusField(int field, bool selectAll);
    std::array<QLineEdit*, 4> m_fields{};
    std::array<int, 4> m_low{0, 0, 0, 0};
    std::array<int, 4> m_high{255, 255, 255, 255};
};
