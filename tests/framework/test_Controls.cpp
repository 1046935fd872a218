// Tests of the control wrappers: each control made on a host window, driven
// through its wrapper and read back through the platform's own messages.
#include "native/gtest.h"

#include "framework/Button.h"
#include "framework/ComboBox.h"
#include "framework/DateTimeCtrl.h"
#include "framework/Edit.h"
#include "framework/HeaderCtrl.h"
#include "framework/ListBox.h"
#include "framework/ListCtrl.h"
#include "framework/ProgressCtrl.h"
#include "framework/SpinButtonCtrl.h"
#include "framework/Static.h"
#include "framework/TabCtrl.h"
#include "framework/ToolTipCtrl.h"
#include "framework/TreeCtrl.h"

#include <string>
#include <vector>

namespace {

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
        ::InitCommonControlsEx(&icc);
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "host",
                                    WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 400, nullptr,
                                    nullptr));
    }
    void TearDown() override { m_host.DestroyWindow(); }

    static RECT Rect(int x, int y, int cx, int cy) { return RECT{x, y, x + cx, y + cy}; }

    CWnd m_host;
};

TEST_F(ControlsTest, ListBoxItemsSearchAndSelection) {
    CListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_SORT | LBS_HASSTRINGS | LBS_EXTENDEDSEL,
                            Rect(0, 0, 200, 200), &m_host, 10));
    for (LPCSTR psz : {"C:\\Rec\\B", "C:\\Rec", "C:\\Other", "c:\\rec\\a"})
        list.AddString(psz);
    ASSERT_EQ(4, list.GetCount());
    CString text;
    list.GetText(0, text);
    EXPECT_STREQ("C:\\Other", text);
    list.GetText(99, text);
    EXPECT_STREQ("", text); // out of range: empty, not stale

    // Prefix search is case-insensitive and wraps round from nStartAfter.
    EXPECT_EQ(1, list.FindString(-1, "c:\\REC"));
    EXPECT_EQ(1, list.FindString(3, "c:\\rec"));
    EXPECT_EQ(LB_ERR, list.FindString(-1, "D:"));
    EXPECT_EQ(1, list.FindStringExact(-1, "C:\\REC"));

    list.SetItemData(2, 0xABCD);
    EXPECT_EQ(0xABCDu, list.GetItemData(2));

    list.SelItemRange(TRUE, 1, 3);
    EXPECT_EQ(3, list.GetSelCount());
    int selected[4] = {};
    EXPECT_EQ(3, list.GetSelItems(4, selected));
    EXPECT_EQ(1, selected[0]);
    EXPECT_EQ(3, selected[2]);
    list.SelItemRange(FALSE, 2, 3);
    EXPECT_EQ(1, list.GetSelCount());

    EXPECT_EQ(3, list.DeleteString(0));
    EXPECT_EQ(LB_ERR, list.DeleteString(10));
    list.ResetContent();
    EXPECT_EQ(0, list.GetCount());
}

TEST_F(ControlsTest, CheckListBoxKeepsStatesWithSortedItems) {
    CCheckListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_SORT | LBS_NOTIFY, Rect(0, 0, 200, 200),
                            &m_host, 11));
    EXPECT_TRUE(list.GetStyle() & LBS_OWNERDRAWFIXED);
    list.AddString("B");
    list.SetCheck(0, BST_CHECKED);
    list.AddString("A"); // sorts before B: B's state must move with it
    list.AddString("C");
    EXPECT_EQ(BST_UNCHECKED, list.GetCheck(0));
    EXPECT_EQ(BST_CHECKED, list.GetCheck(1));
    EXPECT_EQ(BST_UNCHECKED, list.GetCheck(2));
    list.SetItemData(1, 77); // item data stays the caller's
    EXPECT_EQ(77u, list.GetItemData(1));

    list.DeleteString(0);
    EXPECT_EQ(BST_CHECKED, list.GetCheck(0));
    EXPECT_EQ(BST_UNCHECKED, list.GetCheck(1));
    EXPECT_EQ(BST_UNCHECKED, list.GetCheck(-1));
    EXPECT_EQ(BST_UNCHECKED, list.GetCheck(50));
    list.SetCheck(50, BST_CHECKED); // out of range: ignored
    EXPECT_EQ(2, list.GetCount());

    // A click on the box toggles it; a click on the text does not.
    RECT rcItem;
    list.GetItemRect(1, &rcItem);
    int y = (rcItem.top + rcItem.bottom) / 2;
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rcItem.left + 5, y));
    list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(rcItem.left + 5, y));
    EXPECT_EQ(BST_CHECKED, list.GetCheck(1));
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rcItem.left + 100, y));
    list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(rcItem.left + 100, y));
    EXPECT_EQ(BST_CHECKED, list.GetCheck(1));
    // Space toggles the caret item; a disabled item does not toggle.
    list.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(BST_UNCHECKED, list.GetCheck(list.GetCaretIndex()));
    list.Enable(list.GetCaretIndex(), FALSE);
    list.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(BST_UNCHECKED, list.GetCheck(list.GetCaretIndex()));
    EXPECT_FALSE(list.IsEnabled(list.GetCaretIndex()));
    // Three states cycle with BS_AUTO3STATE.
    list.SetCheckStyle(BS_AUTO3STATE);
    list.Enable(0, TRUE);
    list.SetCheck(0, BST_CHECKED);
    list.SetCurSel(0); // the caret of a single-selection list is its selection
    list.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(BST_INDETERMINATE, list.GetCheck(0));
    list.ResetContent();
    EXPECT_EQ(BST_UNCHECKED, list.GetCheck(0));
    list.UpdateWindow(); // painting an empty owner-drawn list must not fail
}

TEST_F(ControlsTest, ComboBoxItemsAndTexts) {
    CComboBox combo;
    ASSERT_TRUE(
        combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, Rect(0, 0, 150, 200), &m_host, 12));
    for (LPCSTR psz : {"User ID", "Caller ID", "Comment", "All"})
        combo.AddString(psz);
    EXPECT_EQ(4, combo.GetCount());
    EXPECT_EQ(CB_ERR, combo.GetCurSel());
    EXPECT_EQ(3, combo.SetCurSel(3));
    EXPECT_EQ(CB_ERR, combo.SetCurSel(9));
    CString text;
    combo.GetLBText(1, text);
    EXPECT_STREQ("Caller ID", text);
    combo.GetLBText(-5, text);
    EXPECT_STREQ("", text);
    EXPECT_EQ(2, combo.FindString(-1, "com"));
    EXPECT_EQ(2, combo.SelectString(-1, "COMMENT"));
    EXPECT_EQ(2, combo.GetCurSel());
    combo.SetItemData(0, 5);
    EXPECT_EQ(5u, combo.GetItemData(0));
    combo.DeleteString(0);
    EXPECT_EQ(3, combo.GetCount());
}

TEST_F(ControlsTest, EditSelectionLimitAndLines) {
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL,
                            Rect(0, 0, 200, 100), &m_host, 13));
    edit.SetWindowText("first\r\nsecond line");
    EXPECT_EQ(2, edit.GetLineCount());
    char line[32];
    EXPECT_EQ(11, edit.GetLine(1, line, sizeof line));
    EXPECT_STREQ("second line", line);
    char tiny[4];
    EXPECT_EQ(4, edit.GetLine(1, tiny, sizeof tiny)); // cut, and no NUL fits
    EXPECT_EQ(0, edit.GetLine(1, tiny, 1));

    edit.SetSel(0, -1);
    int nStart = -1, nEnd = -1;
    edit.GetSel(nStart, nEnd);
    EXPECT_EQ(0, nStart);
    EXPECT_EQ(18, nEnd);
    edit.SetSel(0, 5);
    edit.ReplaceSel("1st");
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ("1st\r\nsecond line", text);

    edit.SetLimitText(1024);
    EXPECT_EQ(1024u, edit.GetLimitText());
    edit.SetReadOnly(TRUE);
    EXPECT_TRUE(edit.GetStyle() & ES_READONLY);
    edit.SetModify(TRUE);
    EXPECT_TRUE(edit.GetModify());
}

TEST_F(ControlsTest, ButtonStaticSpinProgressAndDatePicker) {
    CButton check;
    ASSERT_TRUE(check.Create("Flag", WS_CHILD | WS_VISIBLE | BS_AUTO3STATE, Rect(0, 0, 80, 20),
                             &m_host, 14));
    EXPECT_EQ((UINT)BS_AUTO3STATE, check.GetButtonStyle());
    check.SetCheck(BST_INDETERMINATE);
    EXPECT_EQ(BST_INDETERMINATE, check.GetCheck());
    check.Click(); // the auto-3-state cycle goes on to unchecked
    EXPECT_EQ(BST_UNCHECKED, check.GetCheck());

    CStatic label;
    ASSERT_TRUE(
        label.Create("Minutes", WS_CHILD | WS_VISIBLE | SS_ICON, Rect(0, 30, 32, 32), &m_host));
    HICON hIcon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512) /* IDI_APPLICATION */);
    label.SetIcon(hIcon);
    EXPECT_EQ(hIcon, label.GetIcon());

    CEdit buddy;
    ASSERT_TRUE(buddy.Create(WS_CHILD | WS_VISIBLE | ES_NUMBER, Rect(0, 70, 80, 20), &m_host, 15));
    CSpinButtonCtrl spin;
    ASSERT_TRUE(
        spin.Create(WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                    Rect(80, 70, 16, 20), &m_host, 16));
    spin.SetBuddy(&buddy);
    EXPECT_EQ(buddy.m_hWnd, spin.GetBuddy());
    spin.SetRange32(1, 99999); // above the 16-bit range of UDM_SETRANGE
    int nLower = 0, nUpper = 0;
    spin.GetRange32(nLower, nUpper);
    EXPECT_EQ(1, nLower);
    EXPECT_EQ(99999, nUpper);
    spin.SetPos32(70000);
    EXPECT_EQ(70000, spin.GetPos32());
    CString text;
    buddy.GetWindowText(text);
    EXPECT_EQ(70000, atoi(text));

    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_CHILD | WS_VISIBLE, Rect(0, 100, 200, 16), &m_host, 17));
    progress.SetRange32(0, 100);
    progress.GetRange(nLower, nUpper);
    EXPECT_EQ(0, nLower);
    EXPECT_EQ(100, nUpper);
    progress.SetStep(10);
    progress.SetPos(30);
    EXPECT_EQ(30, progress.StepIt());
    EXPECT_EQ(40, progress.GetPos());

    CDateTimeCtrl picker;
    ASSERT_TRUE(picker.Create(WS_CHILD | WS_VISIBLE | DTS_SHORTDATEFORMAT | DTS_SHOWNONE,
                              Rect(0, 130, 150, 20), &m_host, 18));
    SYSTEMTIME set = {};
    set.wYear = 2026;
    set.wMonth = 12;
    set.wDay = 9;
    set.wHour = 2;
    ASSERT_TRUE(picker.SetTime(&set));
    SYSTEMTIME got = {};
    EXPECT_EQ((DWORD)GDT_VALID, picker.GetTime(&got));
    EXPECT_EQ(2026, got.wYear);
    EXPECT_EQ(12, got.wMonth);
    EXPECT_EQ(9, got.wDay);
    EXPECT_EQ(2, got.wHour);
    picker.SetTime(nullptr);
    EXPECT_EQ((DWORD)GDT_NONE, picker.GetTime(&got));
}

TEST_F(ControlsTest, TabAndTreeControls) {
    CTabCtrl tabs;
    ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE, Rect(0, 0, 300, 100), &m_host, 20));
    EXPECT_EQ(0, tabs.InsertItem(0, "Schedule"));
    EXPECT_EQ(1, tabs.InsertItem(1, "Write Logs"));
    EXPECT_EQ(2, tabs.GetItemCount());
    tabs.SetCurSel(1);
    EXPECT_EQ(1, tabs.GetCurSel());
    RECT rc;
    EXPECT_TRUE(tabs.GetItemRect(0, &rc));
    EXPECT_GT(rc.right, rc.left);

    CTreeCtrl tree;
    ASSERT_TRUE(
        tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_EDITLABELS | TVS_CHECKBOXES,
                    Rect(0, 110, 300, 200), &m_host, 21));
    HTREEITEM hGroup = tree.InsertItem("Group");
    HTREEITEM hB = tree.InsertItem("b", hGroup);
    HTREEITEM hA = tree.InsertItem("a", hGroup);
    tree.SetItemData(hA, 42);
    EXPECT_EQ(42u, tree.GetItemData(hA));
    EXPECT_TRUE(tree.ItemHasChildren(hGroup));
    EXPECT_FALSE(tree.ItemHasChildren(hA));
    EXPECT_EQ(hGroup, tree.GetParentItem(hA));
    tree.SortChildren(hGroup);
    EXPECT_EQ(hA, tree.GetChildItem(hGroup));
    EXPECT_EQ(hB, tree.GetNextSiblingItem(hA));
    EXPECT_EQ(nullptr, tree.GetNextSiblingItem(hB));
    EXPECT_EQ(3u, tree.GetCount());

    // Texts longer than the first buffer come back whole.
    std::string longText(1000, 'x');
    tree.SetItemText(hB, longText.c_str());
    EXPECT_EQ(longText, std::string(tree.GetItemText(hB)));
    tree.SetCheck(hA, TRUE);
    EXPECT_TRUE(tree.GetCheck(hA));
    tree.SetCheck(hA, FALSE);
    EXPECT_FALSE(tree.GetCheck(hA));

    tree.Expand(hGroup, TVE_EXPAND);
    EXPECT_TRUE(tree.SelectItem(hB));
    EXPECT_EQ(hB, tree.GetSelectedItem());
    RECT rcItem;
    ASSERT_TRUE(tree.GetItemRect(hA, &rcItem, TRUE));
    UINT nFlags = 0;
    POINT pt = {(rcItem.left + rcItem.right) / 2, (rcItem.top + rcItem.bottom) / 2};
    EXPECT_EQ(hA, tree.HitTest(pt, &nFlags));
    EXPECT_TRUE(nFlags & TVHT_ONITEMLABEL);

    EXPECT_TRUE(tree.DeleteItem(hA));
    EXPECT_TRUE(tree.DeleteAllItems());
    EXPECT_EQ(0u, tree.GetCount());
    EXPECT_STREQ("", tree.GetItemText(nullptr));
}

TEST_F(ControlsTest, TypedViewsAreStableAndNeverDestroyTheirWindow) {
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, Rect(0, 0, 300, 200), &m_host, 30));
    CHeaderCtrl* pHeader = list.GetHeaderCtrl();
    ASSERT_NE(nullptr, pHeader);
    EXPECT_EQ(pHeader, list.GetHeaderCtrl());
    list.InsertColumn(0, "Caller ID", LVCFMT_LEFT, 100);
    EXPECT_EQ(1, pHeader->GetItemCount());
    HWND hHeader = pHeader->m_hWnd;
    AfxDeleteTempGdiObjects(); // the thread's idle clean-up frees the view
    EXPECT_TRUE(::IsWindow(hHeader));
    EXPECT_EQ(hHeader, list.GetHeaderCtrl()->m_hWnd);

    // A window owned by an object of the class answers with that object.
    CHeaderCtrl owned;
    ASSERT_TRUE(owned.SubclassWindow(hHeader));
    EXPECT_EQ(&owned, list.GetHeaderCtrl());
    owned.UnsubclassWindow();
}

TEST_F(ControlsTest, ToolTipToolsAndTexts) {
    CEdit box;
    ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE, Rect(0, 0, 100, 20), &m_host, 40));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&m_host, TTS_ALWAYSTIP));
    EXPECT_TRUE(tip.AddTool(&box, ""));
    EXPECT_EQ(1, tip.GetToolCount());
    tip.UpdateTipText("C:\\Recordings\\very\\long\\path", &box);
    char text[80] = "";
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = box.m_hWnd;
    info.uId = (UINT_PTR)box.m_hWnd;
    info.lpszText = text;
    tip.SendMessage(TTM_GETTEXTA, sizeof text, (LPARAM)&info);
    EXPECT_STREQ("C:\\Recordings\\very\\long\\path", text);
    tip.SetMaxTipWidth(320);
    EXPECT_EQ(320, tip.GetMaxTipWidth());
    tip.DelTool(&box);
    EXPECT_EQ(0, tip.GetToolCount());
    tip.DestroyWindow();
}

} // namespace
