#include "list_ctrl.h"

#include "report_list_widget_p.h"

namespace {

QString ToQ(const CString& s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// List cells keep the device's bytes as they came, so that reading a cell back
// gives those bytes; they are shown as UTF-8 when they are, else as Latin-1
// (decoding them as UTF-8 would turn every stray byte into U+FFFD).
constexpr int kBytesRole = Qt::UserRole + 1;

QString CellText(const CString& s)
{
    QByteArray bytes(s.data(), static_cast<qsizetype>(s.size()));
    QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes)
        text = QString::fromLatin1(bytes);
    return text;
}

void KeepBytes(QTreeWidgetItem* item, int column, const CString& s)
{
    if (item)
        item->setData(column, kBytesRole, QByteArray(s.data(), static_cast<qsizetype>(s.size())));
}

} // namespace

static ReportListWidget* ListOf(HWND h)
{
    return dynamic_cast<ReportListWidget*>(h);
}

int CListCtrl::InsertColumn(int nCol, const CString& heading, int nFormat, int nWidth)
{
    auto* list = ListOf(m_hWnd);
    return list ? list->InsertColumn(nCol, ToQ(heading), nFormat, nWidth) : -1;
}

int CListCtrl::GetColumnCount() const
{
    auto* list = ListOf(m_hWnd);
    return list ? list->columnCount() : 0;
}

int CListCtrl::GetColumnWidth(int nCol) const
{
    auto* list = ListOf(m_hWnd);
    return list && nCol >= 0 && nCol < list->columnCount() ? list->columnWidth(nCol) : 0;
}

CString CListCtrl::GetColumnHeading(int nCol) const
{
    auto* list = ListOf(m_hWnd);
    if (!list || nCol < 0 || nCol >= list->columnCount())
        return {};
    return CString(list->headerItem()->text(nCol).toStdString());
}

int CListCtrl::GetColumnFormat(int nCol) const
{
    auto* list = ListOf(m_hWnd);
    return list ? list->ColumnFormat(nCol) : -1;
}

int CListCtrl::GetItemCount() const
{
    auto* list = ListOf(m_hWnd);
    return list ? list->topLevelItemCount() : 0;
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    auto* list = ListOf(m_hWnd);
    QTreeWidgetItem* item = list ? list->topLevelItem(nItem) : nullptr;
    if (!item || nSubItem < 0)
        return {};
    QVariant bytes = item->data(nSubItem, kBytesRole);
    if (bytes.isValid())
        return CString(bytes.toByteArray().toStdString());
    return CString(item->text(nSubItem).toStdString());
}

int CListCtrl::InsertItem(int nItem, const CString& text)
{
    auto* list = ListOf(m_hWnd);
    int row = list ? list->InsertRow(nItem, CellText(text)) : -1;
    if (row >= 0)
        KeepBytes(list->topLevelItem(row), 0, text);
    return row;
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, const CString& text)
{
    auto* list = ListOf(m_hWnd);
    if (!list || !list->SetCell(nItem, nSubItem, CellText(text)))
        return FALSE;
    KeepBytes(list->topLevelItem(nItem), nSubItem, text);
    return TRUE;
}

BOOL CListCtrl::DeleteAllItems()
{
    auto* list = ListOf(m_hWnd);
    if (!list)
        return FALSE;
    list->DeleteAllRows();
    return TRUE;
}

int CListCtrl::GetSelectionMark() const
{
    auto* list = ListOf(m_hWnd);
    return list ? list->Mark() : -1;
}

int CListCtrl::SetSelectionMark(int nIndex)
{
    auto* list = ListOf(m_hWnd);
    return list ? list->SetMark(nIndex) : -1;
}

BOOL CListCtrl::SelectItem(int nItem)
{
    auto* list = ListOf(m_hWnd);
    QTreeWidgetItem* item = list ? list->topLevelItem(nItem) : nullptr;
    if (!item)
        return FALSE;
    list->setCurrentItem(item);
    item->setSelected(true);
    list->SetMark(nItem);
    return TRUE;
}

int CListCtrl::GetSelectedItem() const
{
    auto* list = ListOf(m_hWnd);
    if (!list)
        return -1;
    QList<QTreeWidgetItem*> sel = list->selectedItems();
    return sel.isEmpty() ? -1 : list->indexOfTopLevelItem(sel.front());
}

BOOL CListCtrl::SetItemData(int nItem, LPARAM data)
{
    return SetItemValue(nItem, QVariant::fromValue(static_cast<qintptr>(data)));
}

LPARAM CListCtrl::GetItemData(int nItem) const
{
    return static_cast<LPARAM>(GetItemValue(nItem).value<qintptr>());
}

BOOL CListCtrl::SetItemValue(int nItem, const QVariant& value)
{
    auto* list = ListOf(m_hWnd);
    return list && list->SetRowValue(nItem, value);
}

QVariant CListCtrl::GetItemValue(int nItem) const
{
    auto* list = ListOf(m_hWnd);
    return list ? list->RowValue(nItem) : QVariant();
}

DWORD CListCtrl::SetExtendedStyle(DWORD exStyle)
{
    auto* list = ListOf(m_hWnd);
    return list ? list->SetExtendedStyle(exStyle) : 0;
}

DWORD CListCtrl::GetExtendedStyle() const
{
    auto* list = ListOf(m_hWnd);
    return list ? list->ExtendedStyle() : 0;
}
