#include "dialog.h"

#include "app.h"
#include "controls.h"
#include "resources.h"
#include "dialog_widget_p.h"
#include "ip_address_widget_p.h"
#include "report_list_widget_p.h"
#include "widgets_p.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <cstring>

// ---- building a window from its template -----------------------------------

namespace {

QWidget* CreateButton(const DialogItemTemplate& item, QWidget* parent, QButtonGroup*& radioGroup, bool hasDefault)
{
    QString text = AfxTranslateResource(item.text);
    DWORD type = item.style & BS_TYPEMASK;
    QWidget* w = nullptr;
    if (type == BS_GROUPBOX) {
        auto* box = new QGroupBox(text, parent);
        // A frame drawn around controls must not take their clicks.
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        box->setFocusPolicy(Qt::NoFocus);
        w = box;
    } else if (type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON) {
        auto* radio = new QRadioButton(text, parent);
        if ((item.style & WS_GROUP) || !radioGroup) {
            radioGroup = new QButtonGroup(parent);
            radioGroup->setExclusive(true);
        }
        // Each radio's id in the group is its place in template order.
        radioGroup->addButton(radio, static_cast<int>(radioGroup->buttons().size()));
        QObject::connect(radio, &QAbstractButton::clicked, radio, [radio] { AfxNotifyCommand(radio, BN_CLICKED); });
        w = radio;
    } else if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX) {
        auto* check = new QCheckBox(text, parent);
        QObject::connect(check, &QAbstractButton::clicked, check, [check] { AfxNotifyCommand(check, BN_CLICKED); });
        w = check;
    } else {
        auto* button = new QPushButton(text, parent);
        // Qt makes the first auto-default button the default of a dialog
        // that has none; here Enter in such a dialog means IDOK.
        if (!hasDefault)
            button->setAutoDefault(false);
        if (type == BS_DEFPUSHBUTTON)
            button->setDefault(true);
        QObject::connect(button, &QAbstractButton::clicked, button, [button] { AfxNotifyCommand(button, BN_CLICKED); });
        w = button;
    }
    return w;
}

QWidget* CreateStatic(const DialogItemTemplate& item, QWidget* parent, const QRect& rect)
{
    auto* label = new QLabel(parent);
    DWORD type = item.style & SS_TYPEMASK;
    if (type == SS_ICON) {
        int iconId = item.text && item.text[0] == '#' ? std::atoi(item.text + 1) : 0;
        if (HICON icon = LoadIcon(iconId))
            label->setPixmap(icon->pixmap(32, 32));
        // An icon static takes the icon's own size.
        label->setGeometry(rect.x(), rect.y(), 32, 32);
        return label;
    }
    label->setText(AfxTranslateResource(item.text));
    label->setTextFormat(Qt::PlainText);
    Qt::Alignment h = type == SS_CENTER ? Qt::AlignHCenter : type == SS_RIGHT ? Qt::AlignRight : Qt::AlignLeft;
    label->setAlignment(h | Qt::AlignTop);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

bool HasDefaultButton(const DialogTemplate& t)
{
    return std::any_of(t.items.begin(), t.items.end(), [](const DialogItemTemplate& item) {
        return std::strcmp(item.cls, "Button") == 0 && (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    });
}

// The controls of one template, created in template order, which is Qt's
// focus chain and so the tab order.
void BuildControls(const DialogTemplate& t, DialogWidget* dlg, const DialogBaseUnits& base)
{
    QButtonGroup* radioGroup = nullptr;
    const bool hasDefault = HasDefaultButton(t);
    dlg->m_bHasDefault = hasDefault;
    for (const DialogItemTemplate& item : t.items) {
        QRect rect(AfxDialogUnitsToPixelsX(item.x, base), AfxDialogUnitsToPixelsY(item.y, base),
                   AfxDialogUnitsToPixelsX(item.cx, base), AfxDialogUnitsToPixelsY(item.cy, base));
        const char* cls = item.cls;
        QWidget* w = nullptr;
        bool iconStatic = false;
        if (std::strcmp(cls, "Button") == 0) {
            w = CreateButton(item, dlg, radioGroup, hasDefault);
        } else if (std::strcmp(cls, "Static") == 0) {
            w = CreateStatic(item, dlg, rect);
            iconStatic = (item.style & SS_TYPEMASK) == SS_ICON;
        } else if (std::strcmp(cls, "Edit") == 0) {
            auto* edit = new QLineEdit(QString::fromUtf8(item.text), dlg);
            if (item.style & ES_PASSWORD)
                edit->setEchoMode(QLineEdit::Password);
            edit->setFrame((item.style & WS_BORDER) != 0);
            w = edit;
        } else if (std::strcmp(cls, "SysListView32") == 0) {
            w = new ReportListWidget(dlg);
        } else if (std::strcmp(cls, "SysIPAddress32") == 0) {
            w = new IpAddressWidget(dlg);
        } else {
            w = new QWidget(dlg);
        }
        // A radio only ends its group where the next group starts.
        if (std::strcmp(cls, "Button") != 0 || ((item.style & BS_TYPEMASK) != BS_AUTORADIOBUTTON &&
                                                (item.style & BS_TYPEMASK) != BS_RADIOBUTTON)) {
            if (item.style & WS_GROUP)
                radioGroup = nullptr;
        }
        w->setProperty("ctrlId", item.id);
        w->setProperty("ctrlClass", QString::fromLatin1(cls));
        w->setProperty("ctrlStyle", static_cast<qulonglong>(item.style));
        if (item.id > 0)
            w->setObjectName(QStringLiteral("ctl%1").arg(item.id));
        if (!iconStatic)
            w->setGeometry(rect);
        // Template widths were measured for a narrower face: a one-line label
        // or radio grows to its text rather than cut it off.
        if (auto* label = qobject_cast<QLabel*>(w); label && !iconStatic && !(label->alignment() & Qt::AlignHCenter))
            w->resize(std::max(rect.width(), w->sizeHint().width()), std::max(rect.height(), w->sizeHint().height()));
        if (qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w))
            w->resize(std::max(rect.width(), w->sizeHint().width()), rect.height());
        if (w->focusPolicy() != Qt::NoFocus)
            w->setFocusPolicy((item.style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
        if (item.style & WS_DISABLED)
            w->setEnabled(false);
        if (!(item.style & WS_VISIBLE))
            w->hide();
        if (qobject_cast<QGroupBox*>(w))
            w->lower();
        dlg->m_controls.push_back(w);
    }
}

// The visible text static of the template that shows `text`.
QLabel* LabelShowing(DialogWidget* dlg, const QString& text)
{
    for (QWidget* w : dlg->Controls()) {
        auto* label = qobject_cast<QLabel*>(w);
        if (label && !label->isHidden() && label->text() == text)
            return label;
    }
    return nullptr;
}

// What a screen reader reads for the controls whose own text does not say
// what they are. A label becomes its control's buddy too, which is how Qt
// ties the two for assistive technology; a label without '&' (no mnemonic)
// draws as before.
void NameControls(const DialogTemplate& t, DialogWidget* dlg)
{
    for (const ControlAccess& access : t.access) {
        QWidget* w = AfxFindCtrl(dlg, access.id);
        if (!w)
            continue;
        if (access.kind == AccessKind::AnnouncesText) {
            w->setProperty("announcesText", true);
            continue;
        }
        // Translated as the label's own text is, so that the two still match.
        QString name = AfxTranslateResource(access.text);
        if (access.kind == AccessKind::LabelledBy) {
            QLabel* label = LabelShowing(dlg, name);
            Q_ASSERT_X(label, "NameControls", "no static shows the label's text");
            if (label)
                label->setBuddy(w);
        }
        if (auto* ip = qobject_cast<IpAddressWidget*>(w))
            ip->SetAccessibleLabel(name);
        else
            w->setAccessibleName(name);
    }
}

// The template's frame: a window manager shows only the boxes it asks for.
// A window the user may resize is an ordinary window with both boxes, as some
// window managers offer a dialog no maximise box.
Qt::WindowFlags WindowFlagsOf(DWORD style, bool resizable)
{
    constexpr DWORD kSysMenu = 0x00080000, kMinimizeBox = 0x00020000, kMaximizeBox = 0x00010000;
    Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    flags |= resizable ? Qt::Window | Qt::WindowMinMaxButtonsHint : Qt::Dialog;
    if (style & kSysMenu)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style & kMinimizeBox)
        flags |= Qt::WindowMinimizeButtonHint;
    if (style & kMaximizeBox)
        flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

} // namespace

// ---- CDialog ------------------------------------------------------------------

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

CDialog::~CDialog() = default;

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

INT_PTR CDialog::DoModal()
{
    const DialogTemplate* t = AfxFindDialogTemplate(static_cast<int>(m_nIDTemplate));
    if (!t || m_hWnd)
        return -1;

    QWidget* parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!parent)
        parent = QApplication::activeModalWidget();
    auto* dlg = new DialogWidget(this, parent);
    dlg->setObjectName(QStringLiteral("dlg%1").arg(t->id));
    dlg->setProperty("ctrlStyle", static_cast<qulonglong>(t->style));
    dlg->setWindowTitle(AfxTranslateResource(t->caption));
    dlg->setWindowFlags(WindowFlagsOf(t->style, m_bResizable));
    QFont font = AfxTemplateFont(t->fontFace, t->pointSize);
    dlg->setFont(font);
    DialogBaseUnits base = AfxGetDialogBaseUnits(font);
    const QSize size(AfxDialogUnitsToPixelsX(t->cx, base), AfxDialogUnitsToPixelsY(t->cy, base));
    if (m_bResizable) {
        // The template's size shows every control, so it is the least.
        dlg->setMinimumSize(size);
        dlg->resize(size);
    } else {
        dlg->setFixedSize(size);
    }
    BuildControls(*t, dlg, base);
    NameControls(*t, dlg);

    Attach(dlg);
    m_bEnded = false;
    m_nResult = IDCANCEL;
    // Qt gives the focus to the first tab stop when the window shows, unless
    // OnInitDialog put it elsewhere.
    OnInitDialog();
    if (!m_bEnded && m_hWnd == dlg)
        dlg->exec();

    SendMessage(WM_DESTROY);
    int result = m_nResult;
    Detach();
    dlg->ReleaseOwner();
    delete dlg;
    return result;
}

bool CDialog::IsTemplateOpen(UINT nIDTemplate)
{
    const QString name = QStringLiteral("dlg%1").arg(nIDTemplate);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (dynamic_cast<DialogWidget*>(w) && w->objectName() == name)
            return true;
    }
    return false;
}

void CDialog::EndDialog(int nResult)
{
    m_bEnded = true;
    m_nResult = nResult;
    if (auto* dlg = dynamic_cast<DialogWidget*>(m_hWnd)) {
        dlg->m_bDoneByOwner = true;
        dlg->QDialog::done(nResult);
        dlg->m_bDoneByOwner = false;
    }
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

void CDialog::OnOK()
{
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE)
        return SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return CWnd::DefWindowProc(message, wParam, lParam);
}

// ---- data exchange -----------------------------------------------------------

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (!control.m_hWnd)
        control.SubclassDlgItem(static_cast<UINT>(id), pDX->m_pDlgWnd);
}

void DDX_Text(CDataExchange* pDX, int id, CString& value)
{
    CWnd* item = pDX->m_pDlgWnd->GetDlgItem(id);
    if (!item)
        return;
    if (pDX->m_bSaveAndValidate)
        value = item->GetWindowText();
    else
        item->SetWindowText(value);
}

void DDX_Radio(CDataExchange* pDX, int id, int& value)
{
    CWnd* item = pDX->m_pDlgWnd->GetDlgItem(id);
    auto* first = item ? qobject_cast<QRadioButton*>(item->m_hWnd) : nullptr;
    QButtonGroup* group = first ? first->group() : nullptr;
    if (!group)
        return;
    // The dialog built one group per run of radios; `id` starts this one.
    const int base = group->id(first);
    if (pDX->m_bSaveAndValidate) {
        const int checked = group->checkedId();
        value = checked >= base ? checked - base : -1;
        return;
    }
    for (QAbstractButton* radio : group->buttons()) {
        if (group->id(radio) >= base)
            AfxSetButtonCheck(radio, group->id(radio) - base == value);
    }
}
