#include "controls.h"

#include "widgets_p.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpressionValidator>

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

// ---- buttons -------------------------------------------------------------------

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

// ---- report list ---------------------------------------------------------------

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

// ---- IP address ------------------------------------------------------------------

IpAddressWidget::IpAddressWidget(QWidget* parent) : QFrame(parent)
{
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

static IpAddressWidget* IpOf(HWND h)
{
    return dynamic_cast<IpAddressWidget*>(h);
}

void CIPAddressCtrl::ClearAddress()
{
    if (auto* ip = IpOf(m_hWnd))
        ip->Clear();
}

BOOL CIPAddressCtrl::IsBlank() const
{
    auto* ip = IpOf(m_hWnd);
    return !ip || ip->IsBlank();
}

void CIPAddressCtrl::SetAddress(BYTE b0, BYTE b1, BYTE b2, BYTE b3)
{
    if (auto* ip = IpOf(m_hWnd))
        ip->SetAddress(static_cast<DWORD>(MAKEIPADDRESS(b0, b1, b2, b3)));
}

int CIPAddressCtrl::GetAddress(DWORD& address) const
{
    auto* ip = IpOf(m_hWnd);
    address = 0;
    return ip ? ip->Address(&address) : 0;
}

void CIPAddressCtrl::SetFieldRange(int nField, BYTE low, BYTE high)
{
    SendMessage(IPM_SETRANGE, static_cast<WPARAM>(nField), MAKEIPRANGE(low, high));
}

void CIPAddressCtrl::GetFieldRange(int nField, BYTE& low, BYTE& high) const
{
    auto* ip = IpOf(m_hWnd);
    low = 0;
    high = 255;
    if (ip && nField >= 0 && nField < 4) {
        low = static_cast<BYTE>(ip->Low(nField));
        high = static_cast<BYTE>(ip->High(nField));
    }
}
