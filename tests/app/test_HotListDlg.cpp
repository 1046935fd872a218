// Tests of the hot-list dialog, "Calls for Review": it shows the store's
// groups (never call links) all expanded, with the first one as the caret
// item; OK answers the chosen group's ID, or -1 when none is chosen; Cancel
// changes nothing. Each test runs the dialog modally, driven by a script from
// a timer, over a store of its own; one keeps a screenshot (hotlist-dialog.png).
#include "native/gtest.h"

#include "HotListDlg.h"
#include "tests/app/HotListsTreeFixture.h"

#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/UiScript.h"

#include <functional>
#include <string>
#include <vector>

namespace {

CAnsweringApp theApp;

// The dialog with its tree in view.
class CHotListDlgProbe : public CHotListDlg {
public:
    using CHotListDlg::CHotListDlg;
    CTreeCtrl& Tree() { return m_tree; }
};

class HotListDlgTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_host.Make(CRect(50, 50, 450, 450))); }
    void TearDown() override { m_host.Unmake(); }

    // Runs the dialog; atOpen sees it once it is shown and ends it.
    INT_PTR Run(CHotListDlgProbe& dlg, const std::function<void(CHotListDlgProbe&)>& atOpen) {
        bool bSeen = false;
        CUiScript script(
            [&] {
                if (dlg.m_hWnd != nullptr)
                    dlg.PostMessage(WM_COMMAND, IDCANCEL);
            },
            {[&] {
                if (dlg.m_hWnd == nullptr || !dlg.IsWindowVisible())
                    return false;
                Settle(200);
                bSeen = true;
                atOpen(dlg);
                return true;
            }});
        const INT_PTR nResult = dlg.DoModal();
        EXPECT_TRUE(bSeen);
        EXPECT_FALSE(script.Stalled());
        return nResult;
    }

    CHotListsTestFiles m_files;
    CHostWnd m_host;
};

TEST_F(HotListDlgTest, ShowsTheGroupsOnlyAllExpandedWithTheFirstAsCaretScreen) {
    m_files.FillSampleStore();
    CHotListDlgProbe dlg(&m_host);
    std::string sOutline;
    HTREEITEM hCaret = nullptr;
    bool bAllExpanded = true;
    std::vector<int> images;
    COLORREF crBackground = CLR_INVALID;
    EXPECT_EQ(Run(dlg,
                  [&](CHotListDlgProbe& d) {
                      CTreeCtrl& tree = d.Tree();
                      sOutline = TreeOutline(tree);
                      hCaret = tree.GetSelectedItem();
                      EXPECT_EQ(hCaret, tree.GetRootItem());
                      for (const char* pszGroup : {"Links to Recordings...", "Won Sales"}) {
                          HTREEITEM h = FindItem(tree, pszGroup);
                          bAllExpanded &=
                              (tree.GetItemState(h, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
                      }
                      for (const char* pszGroup : {"Links to Recordings...", "Region"}) {
                          int nImage = -1, nSelected = -1;
                          tree.GetItemImage(FindItem(tree, pszGroup), nImage, nSelected);
                          images.push_back(nImage);
                          images.push_back(nSelected);
                      }
                      CRect rcWindow;
                      d.GetWindowRect(&rcWindow);
                      EXPECT_TRUE(SaveScreenPng(rcWindow, "hotlist-dialog.png"));
                      // Between the tree and the buttons the dialog is white.
                      CRect rcOk;
                      d.GetDlgItem(IDOK)->GetWindowRect(&rcOk);
                      CCanvas canvas(1, 1);
                      CaptureScreen(
                          canvas, CRect(rcOk.left - 8, rcOk.top + 4, rcOk.left - 7, rcOk.top + 5));
                      crBackground = canvas.dc.GetPixel(0, 0);
                      d.SendMessage(WM_COMMAND, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(sOutline,
              "Links to Recordings...(Important Calls,Won Sales(Region),Lost Sales,Personal)");
    EXPECT_TRUE(bAllExpanded);
    EXPECT_EQ(images, (std::vector<int>{1, 1, 1, 1}));
    EXPECT_EQ(crBackground, RGB(255, 255, 255));
    EXPECT_EQ(dlg.GetSelectedID(), 0);
}

TEST_F(HotListDlgTest, OkAnswersTheGroupChosenAndCancelNone) {
    m_files.FillSampleStore();
    const struct {
        const char* pszChoose;
        UINT nButton;
        INT_PTR nResult;
        int nID;
    } cases[] = {
        {"Region", IDOK, IDOK, 5},
        {"Personal", IDOK, IDOK, 8},
        {"Region", IDCANCEL, IDCANCEL, -1},
    };
    for (const auto& c : cases) {
        CHotListDlgProbe dlg(&m_host);
        EXPECT_EQ(Run(dlg,
                      [&](CHotListDlgProbe& d) {
                          d.Tree().SelectItem(FindItem(d.Tree(), c.pszChoose));
                          d.SendMessage(WM_COMMAND, c.nButton);
                      }),
                  c.nResult)
            << c.pszChoose;
        EXPECT_EQ(dlg.GetSelectedID(), c.nID) << c.pszChoose;
    }
    // The dialog itself adds or changes no record.
    EXPECT_EQ(StoreOutline(), "Links to Recordings...(Important Calls(a.zel,b.zel),Won "
                              "Sales(Region(c.zel)),Lost Sales,Personal)");
}

TEST_F(HotListDlgTest, OkWithoutAChosenGroupAnswersMinusOne) {
    m_files.FillSampleStore();
    CHotListDlgProbe dlg(&m_host);
    EXPECT_EQ(Run(dlg,
                  [&](CHotListDlgProbe& d) {
                      d.Tree().SelectItem(nullptr);
                      d.SendMessage(WM_COMMAND, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(dlg.GetSelectedID(), -1);
}

TEST_F(HotListDlgTest, AnEmptyStoreShowsNothingAndOkAnswersMinusOne) {
    CHotListDlgProbe dlg(&m_host);
    UINT nCount = 99;
    EXPECT_EQ(Run(dlg,
                  [&](CHotListDlgProbe& d) {
                      nCount = d.Tree().GetCount();
                      d.SendMessage(WM_COMMAND, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(nCount, 0u);
    EXPECT_EQ(dlg.GetSelectedID(), -1);
}

TEST_F(HotListDlgTest, AGroupHoldingOnlyCallLinksHasNoExpandButton) {
    m_files.FillSampleStore();
    CHotListDlgProbe dlg(&m_host);
    int nImportant = -1, nWon = -1;
    Run(dlg, [&](CHotListDlgProbe& d) {
        nImportant = d.Tree().ItemHasChildren(FindItem(d.Tree(), "Important Calls"));
        nWon = d.Tree().ItemHasChildren(FindItem(d.Tree(), "Won Sales"));
        d.SendMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_EQ(nImportant, FALSE);
    EXPECT_EQ(nWon, TRUE);
}

} // namespace
