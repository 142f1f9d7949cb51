// The list view and the IP-address control as the dialogs use them.

#include "qt_test_support.h"
#include "test_dialogs.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>

namespace {

class ControlsTest : public WidgetTest {
protected:
    // Runs body inside the open test dialog, then closes it.
    void InDialog(const std::function<void(CTestDlg&, QWidget*)>& body)
    {
        CTestDlg dlg;
        WhenShown("dlg900", [&](QWidget* w) {
            body(dlg, w);
            dlg.EndDialog(IDCANCEL);
        });
        dlg.DoModal();
        m_fieldChanges = dlg.fieldChanges;
    }
    std::vector<NMIPADDRESS> m_fieldChanges;
};

// The test dialog's address control, left for its edit box.
QLineEdit* Field(QWidget* dlg, int field)
{
    return ::Field(dlg, IDC_T_IP, field);
}

void TypeAndLeave(QWidget* dlg, int field, const QString& text)
{
    ::TypeAndLeave(dlg, IDC_T_IP, field, text, IDC_T_EDIT);
}

void FillList(CListCtrl& list, int rows)
{
    list.InsertColumn(0, "No.", LVCFMT_CENTER, 50);
    list.InsertColumn(1, "IP Address", LVCFMT_CENTER, 150);
    for (int i = 0; i < rows; ++i) {
        list.InsertItem(i, std::to_string(i));
        list.SetItemText(i, 1, "198.18.0." + std::to_string(20 + i));
    }
}

QPoint RowCentre(QTreeWidget* tree, int row)
{
    return tree->visualItemRect(tree->topLevelItem(row)).center();
}

// A point of the list's empty area below its last row.
QPoint BelowRows(QTreeWidget* tree)
{
    QRect last = tree->visualItemRect(tree->topLevelItem(tree->topLevelItemCount() - 1));
    QPoint p(10, last.bottom() + 8);
    EXPECT_LT(p.y(), tree->viewport()->height());
    EXPECT_FALSE(tree->indexAt(p).isValid());
    return p;
}

} // namespace

// ---- IP address ----------------------------------------------------------------

TEST_F(ControlsTest, AddressTextIsADottedQuadWithEmptyFieldsAsZero)
{
    InDialog([](CTestDlg& d, QWidget* w) {
        CIPAddressCtrl& ip = d.m_Ip;
        EXPECT_TRUE(ip.IsBlank());
        EXPECT_EQ(ip.GetWindowText(), "0.0.0.0");

        ip.SetWindowText("192.168.1.10");
        EXPECT_EQ(ip.GetWindowText(), "192.168.1.10");
        EXPECT_EQ(Field(w, 0)->text(), "192");
        DWORD a = 0;
        EXPECT_EQ(ip.GetAddress(a), 4);
        EXPECT_EQ(a, 0xC0A8010Au);

        ip.SetWindowText("10.2");
        EXPECT_EQ(ip.GetWindowText(), "10.2.0.0");
        EXPECT_EQ(Field(w, 2)->text(), "") << "missing parts stay empty";
        EXPECT_EQ(ip.GetAddress(a), 2);
        EXPECT_FALSE(ip.IsBlank());

        ip.SetWindowText("300.x.7.");
        EXPECT_EQ(ip.GetWindowText(), "255.0.7.0");
        EXPECT_EQ(Field(w, 1)->text(), "");

        ip.SetWindowText("not an address");
        EXPECT_TRUE(ip.IsBlank());
        EXPECT_EQ(ip.GetWindowText(), "0.0.0.0");

        ip.SetAddress(1, 2, 3, 4);
        EXPECT_EQ(ip.GetWindowText(), "1.2.3.4");
        ip.ClearAddress();
        EXPECT_TRUE(ip.IsBlank());
        // The same through the generic window object.
        d.GetDlgItem(IDC_T_IP)->SetWindowText("8.8.4.4");
        EXPECT_EQ(d.GetDlgItem(IDC_T_IP)->GetWindowText(), "8.8.4.4");
    });
}

TEST_F(ControlsTest, TypedValuesAreKeptInTheFieldsRangeWhenTheFieldIsLeft)
{
    struct Typed {
        int field;
        const char* typed;
        const char* kept;
    };
    const Typed inRange[] = {
        { 0, "250", "223" },
        { 0, "0", "1" },
        { 0, "192", "192" },
        { 0, "223", "223" },
        // Other fields keep the full range.
        { 1, "0", "0" },
        { 3, "255", "255" },
        { 2, "999", "255" },
    };
    InDialog([&](CTestDlg& d, QWidget* w) {
        EXPECT_EQ(d.m_Ip.SendMessage(IPM_SETRANGE, 0, MAKEIPRANGE(1, 223)), 1);
        BYTE lo = 0, hi = 0;
        d.m_Ip.GetFieldRange(0, lo, hi);
        EXPECT_EQ(lo, 1);
        EXPECT_EQ(hi, 223);

        for (const Typed& t : inRange) {
            TypeAndLeave(w, t.field, t.typed);
            EXPECT_EQ(Field(w, t.field)->text(), t.kept) << "field " << t.field << " typed " << t.typed;
        }
        EXPECT_EQ(d.m_Ip.GetWindowText(), "223.0.255.255");
        // Letters never get in.
        TypeAndLeave(w, 1, "a7b");
        EXPECT_EQ(Field(w, 1)->text(), "7");
    });
}

TEST_F(ControlsTest, FieldChangedNotificationNamesTheFieldAndMayReplaceItsValue)
{
    CTestDlg dlg;
    WhenShown("dlg900", [&](QWidget* w) {
        TypeAndLeave(w, 2, "42");
        dlg.replaceFieldValue = 9;
        TypeAndLeave(w, 1, "100");
        EXPECT_EQ(Field(w, 1)->text(), "9");
        dlg.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
    ASSERT_GE(dlg.fieldChanges.size(), 2u);
    EXPECT_EQ(dlg.fieldChanges[0].iField, 2);
    EXPECT_EQ(dlg.fieldChanges[0].iValue, 42);
    EXPECT_EQ(dlg.fieldChanges[0].hdr.idFrom, static_cast<UINT_PTR>(IDC_T_IP));
    EXPECT_EQ(dlg.fieldChanges[0].hdr.code, IPN_FIELDCHANGED);
    // Three digits moved on to field 2, which was left again afterwards.
    auto it = std::find_if(dlg.fieldChanges.begin(), dlg.fieldChanges.end(), [](const NMIPADDRESS& n) { return n.iField == 1; });
    ASSERT_NE(it, dlg.fieldChanges.end());
    EXPECT_EQ(it->iValue, 100);
}

TEST_F(ControlsTest, ThreeDigitsOrADotMoveToTheNextField)
{
    InDialog([](CTestDlg&, QWidget* w) {
        QLineEdit* f0 = Field(w, 0);
        f0->setFocus();
        ASSERT_TRUE(WaitUntil([&] { return f0->hasFocus(); }));
        QTest::keyClicks(f0, "172");
        EXPECT_TRUE(WaitUntil([&] { return Field(w, 1)->hasFocus(); }));
        QTest::keyClicks(Field(w, 1), "16.");
        EXPECT_TRUE(WaitUntil([&] { return Field(w, 2)->hasFocus(); }));
        QTest::keyClicks(Field(w, 2), "5");
        EXPECT_EQ(CWnd::FromHandle(Ctl(w, IDC_T_IP))->GetWindowText(), "172.16.5.0");
    });
}

TEST_F(ControlsTest, DisablingTheControlDisablesItsFields)
{
    InDialog([](CTestDlg& d, QWidget* w) {
        d.m_Ip.EnableWindow(FALSE);
        for (int i = 0; i < 4; ++i)
            EXPECT_FALSE(Field(w, i)->isEnabled());
        d.m_Ip.EnableWindow(TRUE);
        EXPECT_TRUE(Field(w, 3)->isEnabled());
    });
}

// ---- list view -----------------------------------------------------------------

TEST_F(ControlsTest, ColumnsAreCentredWithTheirPixelWidths)
{
    InDialog([](CTestDlg& d, QWidget* w) {
        CListCtrl& list = d.m_List;
        EXPECT_EQ(list.InsertColumn(0, "No.", LVCFMT_CENTER, 50), 0);
        EXPECT_EQ(list.InsertColumn(1, "Version", LVCFMT_CENTER, 110), 1);
        EXPECT_EQ(list.InsertColumn(1, "IP Address", LVCFMT_CENTER, 150), 1);
        EXPECT_EQ(list.GetColumnCount(), 3);
        EXPECT_EQ(list.GetColumnHeading(1), "IP Address");
        EXPECT_EQ(list.GetColumnHeading(2), "Version");
        EXPECT_EQ(list.GetColumnWidth(0), 50);
        EXPECT_EQ(list.GetColumnWidth(1), 150);
        EXPECT_EQ(list.GetColumnWidth(2), 110);
        list.InsertItem(0, "0");
        list.SetItemText(0, 2, "1.0");
        auto* tree = Ctl<QTreeWidget>(w, IDC_T_LIST);
        EXPECT_EQ(tree->topLevelItem(0)->textAlignment(2), int(Qt::AlignCenter));
        EXPECT_EQ(tree->headerItem()->textAlignment(1), int(Qt::AlignCenter));
        EXPECT_EQ(tree->selectionMode(), QAbstractItemView::SingleSelection);
        EXPECT_EQ(tree->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_EQ(list.GetItemText(0, 2), "1.0");
        EXPECT_EQ(list.GetItemText(0, 1), "");
        EXPECT_EQ(list.GetItemText(3, 0), "") << "no such row";
        EXPECT_FALSE(list.SetItemText(3, 0, "x"));
        EXPECT_EQ(list.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT), 0);
        EXPECT_EQ(list.GetExtendedStyle(), LVS_EX_FULLROWSELECT);
    });
}

TEST_F(ControlsTest, SelectionMarkIsTheLastSelectedRowOrMinusOneNeverAMissingRow)
{
    InDialog([](CTestDlg& d, QWidget* w) {
        CListCtrl& list = d.m_List;
        FillList(list, 3);
        auto* tree = Ctl<QTreeWidget>(w, IDC_T_LIST);
        EXPECT_EQ(list.GetSelectionMark(), -1);

        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, RowCentre(tree, 1));
        EXPECT_EQ(list.GetSelectionMark(), 1);
        EXPECT_EQ(list.GetSelectedItem(), 1);
        EXPECT_GE(d.itemChanges, 1);

        // Reset by the program: the row stays selected, the mark is gone.
        EXPECT_EQ(list.SendMessage(LVM_SETSELECTIONMARK, 0, -1), 1);
        EXPECT_EQ(list.SendMessage(LVM_GETSELECTIONMARK), -1);
        EXPECT_EQ(list.GetSelectedItem(), 1);
        // Clicking the selected row marks it again.
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, RowCentre(tree, 1));
        EXPECT_EQ(list.GetSelectionMark(), 1);

        // A click below the rows leaves the mark.
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, BelowRows(tree));
        EXPECT_EQ(list.GetSelectionMark(), 1);

        list.SetSelectionMark(7);
        EXPECT_EQ(list.GetSelectionMark(), -1) << "never a missing row";
        EXPECT_TRUE(list.SelectItem(2));
        EXPECT_EQ(list.GetSelectionMark(), 2);
        list.DeleteAllItems();
        EXPECT_EQ(list.GetItemCount(), 0);
        EXPECT_EQ(list.GetSelectionMark(), -1);
    });
}

TEST_F(ControlsTest, DoubleClickAnywhereInTheListNotifiesTheDialog)
{
    CTestDlg dlg;
    WhenShown("dlg900", [&](QWidget* w) {
        FillList(dlg.m_List, 2);
        auto* tree = Ctl<QTreeWidget>(w, IDC_T_LIST);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, RowCentre(tree, 1));
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, BelowRows(tree));
        dlg.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
    ASSERT_EQ(dlg.dblClicks.size(), 2u);
    EXPECT_EQ(dlg.dblClicks[0].iItem, 1);
    EXPECT_EQ(dlg.dblClicks[0].hdr.code, NM_DBLCLK);
    EXPECT_EQ(dlg.dblClicks[0].hdr.idFrom, static_cast<UINT_PTR>(IDC_T_LIST));
    EXPECT_EQ(dlg.dblClicks[1].iItem, -1) << "below the rows";
}

TEST_F(ControlsTest, ItemDataFollowsItsRow)
{
    InDialog([](CTestDlg& d, QWidget*) {
        CListCtrl& list = d.m_List;
        FillList(list, 2);
        EXPECT_TRUE(list.SetItemData(0, 1));
        EXPECT_TRUE(list.SetItemData(1, 0));
        EXPECT_FALSE(list.SetItemData(2, 1));
        list.SelectItem(1);
        list.InsertItem(0, "new");
        EXPECT_EQ(list.GetItemData(1), 1);
        EXPECT_EQ(list.GetItemData(0), 0);
        EXPECT_EQ(list.GetItemText(2, 1), "198.18.0.21");
        EXPECT_EQ(list.GetSelectionMark(), 2) << "the mark moves with its row";
    });
}

// Device texts are bytes from the network: a cell gives back exactly what was
// put in, and shows bytes that are not UTF-8 one character each.
TEST_F(ControlsTest, CellsGiveBackTheirBytes)
{
    InDialog([](CTestDlg& d, QWidget* w) {
        CListCtrl& list = d.m_List;
        FillList(list, 1);
        const std::string latin1 = "caf\xe9 \x80\xff";
        const std::string utf8 = "caf\xc3\xa9";
        list.SetItemText(0, 1, latin1);
        list.InsertItem(1, utf8);
        EXPECT_EQ(list.GetItemText(0, 1), latin1);
        EXPECT_EQ(list.GetItemText(1, 0), utf8);
        auto* tree = w->findChild<QTreeWidget*>();
        ASSERT_NE(tree, nullptr);
        EXPECT_EQ(tree->topLevelItem(0)->text(1), QString::fromLatin1("caf\xe9 \x80\xff"));
        EXPECT_EQ(tree->topLevelItem(1)->text(0), QString::fromUtf8("caf\xc3\xa9"));
    });
}

TEST_F(ControlsTest, UnboundWrappersDoNothing)
{
    CListCtrl list;
    CIPAddressCtrl ip;
    CButton button;
    EXPECT_EQ(list.GetSelectionMark(), -1);
    EXPECT_EQ(list.InsertItem(0, "x"), -1);
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_TRUE(ip.IsBlank());
    EXPECT_EQ(ip.GetWindowText(), "");
    EXPECT_EQ(button.GetCheck(), BST_UNCHECKED);
    EXPECT_FALSE(button.EnableWindow(TRUE));
}
