// Tests of CSearchDlg, "Search for specific calls": the lists it offers and
// what it opens with, the length of the text, and what OK hands the call
// list (the column, the text upper-cased, the direction).
#include "native/gtest.h"

#include "SearchDlg.h"
#include "resource.h"

#include "tests/app/SmallDialogsTestKit.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/UiScript.h"

#include <string>
#include <vector>

namespace {

CAnsweringApp theApp;

using smalldlg::CHostWnd;
using smalldlg::WindowText;
using Items = std::vector<std::string>;

class SearchDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_host.Make("Search host", CRect(20, 20, 600, 400)));
        ASSERT_TRUE(m_dlg.Create(IDD_SEARCH, &m_host));
        m_dlg.ShowWindow(SW_SHOW);
    }

    HWND Item(int nID) const { return ::GetDlgItem(m_dlg.m_hWnd, nID); }
    Items ComboItems(int nID) const {
        Items items;
        const LRESULT nCount = ::SendMessageA(Item(nID), CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < nCount; ++i) {
            char szText[64] = "";
            ::SendMessageA(Item(nID), CB_GETLBTEXT, static_cast<WPARAM>(i),
                           reinterpret_cast<LPARAM>(szText));
            items.push_back(szText);
        }
        return items;
    }
    int Selected(int nID) const {
        return static_cast<int>(::SendMessageA(Item(nID), CB_GETCURSEL, 0, 0));
    }

    CHostWnd m_host;
    CSearchDlg m_dlg;
};

TEST_F(SearchDlgTest, OpensWithAllAndBoth) {
    EXPECT_EQ(WindowText(m_dlg.m_hWnd), "Search for specific calls");
    EXPECT_EQ(ComboItems(IDC_SEARCH_IN), (Items{"User ID", "Caller ID", "Comment", "All"}));
    EXPECT_EQ(ComboItems(IDC_SEARCH_DIRECTION), (Items{"Both", "Incoming", "Outgoing"}));
    EXPECT_EQ(Selected(IDC_SEARCH_IN), CSearchDlg::kInAll);
    EXPECT_EQ(Selected(IDC_SEARCH_DIRECTION), CSearchDlg::kDirectionBoth);
    EXPECT_EQ(WindowText(Item(IDC_SEARCH_FOR)), "");
    EXPECT_NE(smalldlg::FindChildWithText(m_dlg.m_hWnd,
                                          "Please note that the chevrons '<' and '>' are not "
                                          "required to be entered when searching for incoming or "
                                          "outgoing calls."),
              nullptr);
}

// Typing stops at 1024 characters.
TEST_F(SearchDlgTest, TextRefusesThe1025thCharacter) {
    const HWND hWndEdit = Item(IDC_SEARCH_FOR);
    for (int i = 0; i < CSearchDlg::kMaxSearchText + 1; ++i)
        ::SendMessageA(hWndEdit, WM_CHAR, 'a' + i % 26, 1);
    EXPECT_EQ(::GetWindowTextLengthA(hWndEdit), CSearchDlg::kMaxSearchText);
}

// OK hands over the choices and the text, upper-cased.
TEST_F(SearchDlgTest, OkHandsOverTheChoices) {
    const struct {
        int nIn;
        int nDirection;
        const char* pszTyped;
        const char* pszText;
    } cases[] = {
        {CSearchDlg::kInUserId, CSearchDlg::kDirectionIncoming, "agent 7", "AGENT 7"},
        {CSearchDlg::kInCallerId, CSearchDlg::kDirectionOutgoing, "0123*4?", "0123*4?"},
        {CSearchDlg::kInComment, CSearchDlg::kDirectionBoth, "Sale <b>", "SALE <B>"},
        {CSearchDlg::kInAll, CSearchDlg::kDirectionBoth, "", ""},
    };
    for (const auto& c : cases) {
        if (!::IsWindow(m_dlg.m_hWnd)) {
            ASSERT_TRUE(m_dlg.Create(IDD_SEARCH, &m_host));
        }
        ::SendMessageA(Item(IDC_SEARCH_IN), CB_SETCURSEL, static_cast<WPARAM>(c.nIn), 0);
        ::SendMessageA(Item(IDC_SEARCH_DIRECTION), CB_SETCURSEL, static_cast<WPARAM>(c.nDirection),
                       0);
        ::SetWindowTextA(Item(IDC_SEARCH_FOR), c.pszTyped);
        ::SendMessageA(Item(IDOK), BM_CLICK, 0, 0);
        EXPECT_EQ(m_dlg.GetSearchIn(), c.nIn) << c.pszTyped;
        EXPECT_EQ(m_dlg.GetDirection(), c.nDirection) << c.pszTyped;
        EXPECT_STREQ(m_dlg.GetSearchText(), c.pszText);
        m_dlg.DestroyWindow();
    }
}

TEST_F(SearchDlgTest, ScreenShowsTheSearchDetails) {
    ::SetWindowTextA(Item(IDC_SEARCH_FOR), "Complaint");
    Settle();
    CRect rect;
    m_dlg.GetWindowRect(&rect);
    rect.InflateRect(0, 0, 4, 4);
    EXPECT_TRUE(SaveScreenPng(rect, "SearchDlg.png"));
}

} // namespace
