#include "report_list_widget_p.h"

#include "wnd.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace {

Qt::Alignment AlignmentOf(int format)
{
    switch (format) {
    case LVCFMT_CENTER:
        return Qt::AlignCenter;
    case LVCFMT_RIGHT:
        return Qt::AlignRight | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace

ReportListWidget::ReportListWidget(QWidget* parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSortingEnabled(false);
    setColumnCount(0);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    header()->setSectionsClickable(false);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ReportListWidget::OnSelectionChanged);
}

// A column's format lives on its header item as the heading's alignment; the
// cells below take theirs from it.
int ReportListWidget::InsertColumn(int col, const QString& heading, int format, int width)
{
    int count = columnCount();
    if (col < 0)
        return -1;
    if (col > count)
        col = count;
    QStringList headings;
    std::vector<Qt::Alignment> alignments;
    std::vector<int> widths;
    for (int i = 0; i < count; ++i) {
        headings << headerItem()->text(i);
        alignments.push_back(Qt::Alignment(headerItem()->textAlignment(i)));
        widths.push_back(columnWidth(i));
    }
    headings.insert(col, heading);
    alignments.insert(alignments.begin() + col, AlignmentOf(format));
    widths.insert(widths.begin() + col, width < 0 ? 100 : width);
    setColumnCount(count + 1);
    setHeaderLabels(headings);
    for (int i = 0; i <= count; ++i) {
        headerItem()->setTextAlignment(i, alignments[i]);
        setColumnWidth(i, widths[i]);
    }
    for (int r = 0; r < topLevelItemCount(); ++r) {
        QTreeWidgetItem* item = topLevelItem(r);
        for (int c = count; c > col; --c)
            item->setText(c, item->text(c - 1));
        item->setText(col, QString());
        for (int c = 0; c <= count; ++c)
            item->setTextAlignment(c, alignments[c]);
    }
    return col;
}

int ReportListWidget::ColumnFormat(int col) const
{
    if (col < 0 || col >= columnCount())
        return -1;
    int alignment = headerItem()->textAlignment(col);
    if (alignment & Qt::AlignHCenter)
        return LVCFMT_CENTER;
    return alignment & Qt::AlignRight ? LVCFMT_RIGHT : LVCFMT_LEFT;
}

int ReportListWidget::InsertRow(int row, const QString& text)
{
    int count = topLevelItemCount();
    if (row < 0 || row > count)
        row = count;
    auto* item = new QTreeWidgetItem();
    for (int c = 0; c < columnCount(); ++c)
        item->setTextAlignment(c, Qt::Alignment(headerItem()->textAlignment(c)));
    item->setText(0, text);
    insertTopLevelItem(row, item);
    if (m_nMark >= row)
        ++m_nMark;
    return row;
}

bool ReportListWidget::SetCell(int row, int col, const QString& text)
{
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item || col < 0 || col >= std::max(1, columnCount()))
        return false;
    item->setText(col, text);
    return true;
}

void ReportListWidget::DeleteAllRows()
{
    clear();
    m_nMark = -1;
}

int ReportListWidget::SetMark(int row)
{
    int old = m_nMark;
    m_nMark = row >= 0 && row < topLevelItemCount() ? row : -1;
    return old;
}

// A row's value lives on its item, so it follows the row wherever it goes.
bool ReportListWidget::SetRowValue(int row, const QVariant& value)
{
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item)
        return false;
    item->setData(0, Qt::UserRole, value);
    return true;
}

QVariant ReportListWidget::RowValue(int row) const
{
    QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->data(0, Qt::UserRole) : QVariant();
}

DWORD ReportListWidget::SetExtendedStyle(DWORD style)
{
    DWORD old = m_exStyle;
    m_exStyle = style;
    return old;
}

bool ReportListWidget::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case LVM_GETSELECTIONMARK:
        *result = m_nMark;
        return true;
    case LVM_SETSELECTIONMARK:
        *result = SetMark(static_cast<int>(lParam));
        return true;
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        // wParam is the mask of the bits to change; 0 means all.
        DWORD mask = wParam ? static_cast<DWORD>(wParam) : ~DWORD(0);
        *result = SetExtendedStyle((m_exStyle & ~mask) | (static_cast<DWORD>(lParam) & mask));
        return true;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        *result = m_exStyle;
        return true;
    default:
        return false;
    }
}

void ReportListWidget::mousePressEvent(QMouseEvent* event)
{
    QTreeWidget::mousePressEvent(event);
    QModelIndex index = indexAt(event->position().toPoint());
    // Clicking a row marks it even when it was selected already.
    if (index.isValid())
        m_nMark = index.row();
}

void ReportListWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    QModelIndex index = indexAt(event->position().toPoint());
    NMITEMACTIVATE nm;
    nm.iItem = index.isValid() ? index.row() : -1;
    nm.iSubItem = index.isValid() ? index.column() : 0;
    AfxNotifyParent(this, NM_DBLCLK, nm.hdr);
}

void ReportListWidget::OnSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    auto notify = [this](const QItemSelection& sel, UINT newState, UINT oldState) {
        QList<int> rows;
        for (const QModelIndex& i : sel.indexes()) {
            if (!rows.contains(i.row()))
                rows << i.row();
        }
        for (int row : rows) {
            NMLISTVIEW nm;
            nm.iItem = row;
            nm.uNewState = newState;
            nm.uOldState = oldState;
            nm.uChanged = LVIF_STATE;
            AfxNotifyParent(this, LVN_ITEMCHANGED, nm.hdr);
        }
        return rows;
    };
    notify(deselected, 0, LVIS_SELECTED);
    QList<int> rows = notify(selected, LVIS_SELECTED, 0);
    if (!rows.isEmpty())
        m_nMark = rows.front();
}
