#pragma once

#include "widgets_p.h"

#include <QTreeWidget>

// The report-style list view behind CListCtrl.
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
