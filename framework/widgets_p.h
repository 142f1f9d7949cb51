#pragma once

// Qt widgets behind the framework's windows and controls. Private to the
// framework; tests reach them by objectName: dialogs "dlg<template id>",
// controls "ctl<id>", the fields of an IP-address control "f0" to "f3"
// inside it, message boxes "msgbox".

#include "afxtypes.h"

#include <QDialog>
#include <QFrame>
#include <QTreeWidget>

#include <array>
#include <map>
#include <vector>

class CDialog;
class QAbstractButton;
class QLineEdit;

// Checks or unchecks a button; unchecking works inside an exclusive group.
void AfxSetButtonCheck(QAbstractButton* button, bool checked);

// Control messages (LVM_*, IPM_*) are handled by the control widget itself,
// whichever wrapper sends them.
class ControlMessageTarget {
public:
    virtual ~ControlMessageTarget() = default;
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) = 0;
};

// Holds a window's timers; a child of the window, so the timers end with it.
class TimerHost : public QObject {
public:
    explicit TimerHost(QWidget* window);
    void Set(UINT_PTR id, UINT ms);
    bool Kill(UINT_PTR id);
    static TimerHost* Of(QWidget* window, bool create);

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    QWidget* m_window;
    std::map<UINT_PTR, int> m_timers;   // window's id -> Qt's id
};

class DialogWidget : public QDialog {
public:
    DialogWidget(CDialog* owner, QWidget* parent);
    void ReleaseOwner() { m_owner = nullptr; }
    // The controls in template (tab) order.
    const std::vector<QWidget*>& Controls() const { return m_controls; }
    std::vector<QWidget*> m_controls;
    bool m_bHasDefault = false;   // the template has a default push button

    void done(int r) override;
    void accept() override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Command(int id);
    CDialog* m_owner;
    bool m_bDoneByOwner = false;
    friend class CDialog;
};

class ReportListWidget : public QTreeWidget, public ControlMessageTarget {
public:
    explicit ReportListWidget(QWidget* parent);

    int InsertColumn(int col, const QString& heading, int format, int width);
    int ColumnFormat(int col) const;
    int InsertRow(int row, const QString& text);
    bool SetCell(int row, int col, const QString& text);
    void DeleteAllRows();
    int Mark() const { return m_nMark; }
    int SetMark(int row);
    bool SetRowValue(int row, const QVariant& value);
    QVariant RowValue(int row) const;
    DWORD ExtendedStyle() const { return m_exStyle; }
    DWORD SetExtendedStyle(DWORD style);

    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void OnSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    int m_nMark = -1;
    DWORD m_exStyle = 0;
};

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
