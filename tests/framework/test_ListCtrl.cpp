// Tests of CListCtrl: a report list with its texts, data and selection walk,
// and a virtual list (LVS_OWNERDATA) of 100,000 rows whose host records every
// row the control asks display information for.
#include "native/gtest.h"

#include "framework/ListCtrl.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

const UINT kListId = 100;
const int kRows = 100000;

// The host answers LVN_GETDISPINFO from the row number, as the call-list view
// answers from its document, and keeps the rows asked for.
class CHostWnd : public CWnd {
public:
    std::set<int> m_rowsAsked;
    int m_nRequests = 0;

protected:
    void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult) {
        auto* pInfo = reinterpret_cast<NMLVDISPINFOA*>(pNMHDR);
        ++m_nRequests;
        m_rowsAsked.insert(pInfo->item.iItem);
        if (pInfo->item.mask & LVIF_TEXT) {
            std::snprintf(m_szText, sizeof m_szText, "row %d col %d", pInfo->item.iItem,
                          pInfo->item.iSubItem);
            lstrcpynA(pInfo->item.pszText, m_szText, pInfo->item.cchTextMax);
        }
        *pResult = 0;
    }

    DECLARE_MESSAGE_MAP()

private:
    char m_szText[64] = "";
};

BEGIN_MESSAGE_MAP(CHostWnd, CWnd)
ON_NOTIFY(LVN_GETDISPINFOA, kListId, &CHostWnd::OnGetDispInfo)
END_MESSAGE_MAP()

class ListCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&icc);
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "host",
                                    WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400, nullptr,
                                    nullptr));
    }
    void TearDown() override { m_host.DestroyWindow(); }

    // Paints everything pending now, so the control asks for what it shows.
    void Paint() {
        ::RedrawWindow(m_host.m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }

    CHostWnd m_host;
};

TEST_F(ListCtrlTest, ReportListTextsDataAndSelectionWalk) {
    CListCtrl list;
    RECT rc = {0, 0, 500, 300};
    ASSERT_TRUE(list.CreateEx(LVS_EX_FULLROWSELECT,
                              WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, rc, &m_host,
                              kListId + 1));
    EXPECT_TRUE(list.GetExtendedStyle() & LVS_EX_FULLROWSELECT);
    EXPECT_EQ(0, list.InsertColumn(0, "Caller ID", LVCFMT_LEFT, 120));
    EXPECT_EQ(1, list.InsertColumn(1, "Comment", LVCFMT_LEFT, 200));
    EXPECT_EQ(2, list.GetColumnCount());
    EXPECT_EQ(120, list.GetColumnWidth(0));
    for (int i = 0; i < 5; ++i) {
        char szRow[16];
        std::snprintf(szRow, sizeof szRow, "%d", i);
        EXPECT_EQ(i, list.InsertItem(i, szRow));
        list.SetItemData(i, 1000 + i);
    }
    std::string longComment(3000, 'c'); // beyond the first read buffer
    ASSERT_TRUE(list.SetItemText(3, 1, longComment.c_str()));
    EXPECT_EQ(longComment, std::string(list.GetItemText(3, 1)));
    EXPECT_STREQ("3", list.GetItemText(3, 0));
    EXPECT_STREQ("", list.GetItemText(99, 0));
    char szSmall[3];
    list.GetItemText(3, 1, szSmall, sizeof szSmall);
    EXPECT_STREQ("cc", szSmall);
    EXPECT_EQ(1004u, list.GetItemData(4));

    // No selection: the walk is empty.
    EXPECT_EQ(nullptr, list.GetFirstSelectedItemPosition());
    for (int i : {0, 2, 4})
        list.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(3u, list.GetSelectedCount());
    std::vector<int> walked;
    for (POSITION pos = list.GetFirstSelectedItemPosition(); pos != nullptr;)
        walked.push_back(list.GetNextSelectedItem(pos));
    EXPECT_EQ((std::vector<int>{0, 2, 4}), walked);
    POSITION end = nullptr;
    EXPECT_EQ(-1, list.GetNextSelectedItem(end));

    RECT rcRow;
    ASSERT_TRUE(list.GetItemRect(2, &rcRow, LVIR_BOUNDS));
    UINT nFlags = 0;
    EXPECT_EQ(2, list.HitTest(POINT{rcRow.left + 5, (rcRow.top + rcRow.bottom) / 2}, &nFlags));
    RECT rcCell;
    ASSERT_TRUE(list.GetSubItemRect(2, 1, LVIR_BOUNDS, rcCell));
    EXPECT_EQ(120, rcCell.left - rcRow.left);

    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_EQ(4, list.GetItemCount());
    EXPECT_EQ(1001u, list.GetItemData(0));
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(0, list.GetItemCount());
}

TEST_F(ListCtrlTest, VirtualListAsksOnlyForVisibleRows) {
    CListCtrl list;
    RECT rc = {0, 0, 500, 300};
    ASSERT_TRUE(
        list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, rc, &m_host, kListId));
    list.InsertColumn(0, "Caller ID", LVCFMT_LEFT, 200);
    list.InsertColumn(1, "Duration", LVCFMT_LEFT, 200);
    ASSERT_TRUE(list.SetItemCountEx(kRows, LVSICF_NOINVALIDATEALL));
    EXPECT_EQ(kRows, list.GetItemCount());
    int nPerPage = list.GetCountPerPage();
    ASSERT_GT(nPerPage, 0);
    ASSERT_LT(nPerPage, 100);

    m_host.m_rowsAsked.clear();
    list.Invalidate();
    Paint();
    ASSERT_FALSE(m_host.m_rowsAsked.empty());
    EXPECT_GE(*m_host.m_rowsAsked.begin(), 0);
    EXPECT_LE(*m_host.m_rowsAsked.rbegin(), nPerPage);

    // Scrolled to the end: only the last page is asked for.
    m_host.m_rowsAsked.clear();
    ASSERT_TRUE(list.EnsureVisible(kRows - 1, FALSE));
    Paint();
    int nTop = list.GetTopIndex();
    EXPECT_GE(nTop, kRows - nPerPage - 1);
    ASSERT_FALSE(m_host.m_rowsAsked.empty());
    EXPECT_GE(*m_host.m_rowsAsked.begin(), nTop);
    EXPECT_LE(*m_host.m_rowsAsked.rbegin(), kRows - 1);
    EXPECT_LE((int)m_host.m_rowsAsked.size(), nPerPage + 1);

    // Reading one cell asks for that row alone.
    m_host.m_rowsAsked.clear();
    EXPECT_STREQ("row 54321 col 1", list.GetItemText(54321, 1));
    EXPECT_EQ(std::set<int>{54321}, m_host.m_rowsAsked);

    // Shrinking the count keeps the list consistent.
    ASSERT_TRUE(list.SetItemCountEx(10, LVSICF_NOSCROLL));
    Paint();
    EXPECT_EQ(10, list.GetItemCount());
    m_host.m_rowsAsked.clear();
    list.Invalidate();
    Paint();
    EXPECT_LE(*m_host.m_rowsAsked.rbegin(), 9);
}

TEST_F(ListCtrlTest, VirtualListSelectionCoversRowsNeverShown) {
    CListCtrl list;
    RECT rc = {0, 0, 500, 300};
    ASSERT_TRUE(
        list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, rc, &m_host, kListId));
    list.InsertColumn(0, "Caller ID", LVCFMT_LEFT, 200);
    // Every row changing state is one notification: a thousand rows show the
    // behaviour without a hundred thousand round trips.
    const int nRows = 1000;
    list.SetItemCountEx(nRows);
    list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED); // select all
    EXPECT_EQ((UINT)nRows, list.GetSelectedCount());
    POSITION pos = list.GetFirstSelectedItemPosition();
    EXPECT_EQ(0, list.GetNextSelectedItem(pos));
    EXPECT_EQ(1, list.GetNextSelectedItem(pos));
    list.SetItemState(-1, 0, LVIS_SELECTED);
    list.SetItemState(nRows - 1, LVIS_SELECTED, LVIS_SELECTED);
    pos = list.GetFirstSelectedItemPosition();
    EXPECT_EQ(nRows - 1, list.GetNextSelectedItem(pos));
    EXPECT_EQ(nullptr, pos);
}

} // namespace
