// Tests of COutlookBar, the Access Panel, docked at the left of a frame with
// the application's skin "Office 2003": its four groups in order with the
// expanded "My Shortcuts" showing its tree, the header images, the least size
// it reports, the header context menu it suppresses, the reloads that refill
// one tree only, and scored calls filed in "My Call Score". The frame is kept
// as access-panel.png (and -hotlists, -explorer, -callscore) in the working
// folder.
#include "native/gtest.h"

#include "CallScore.h"
#include "HotLists.h"
#include "OutlookBar.h"
#include "ScoredFileListEntry.h"
#include "Scoring/ScoreFormManager.h"
#include "ShortCuts.h"

#include "toolkit/OXSizeDockBar.h"
#include "toolkit/OXSkinnedApp.h"

#include "tests/support/Canvas.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UiScript.h"
#include "tests/app/TreeOutline.h"
#include "tests/toolkit/DockingFrameSetUp.h"

#include "Settings.h"
#include "framework/FrameWnd.h"
#include "framework/Ole.h"

#include <string>

namespace {

COXSkinnedApp theApp;

class OutlookBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(theApp.SetCurrentSkin("Office 2003"));
        CSettings::SetFolderNamesOverride(m_company.c_str(), "Zel Moxel", "Zel Config");
        CShortCuts::GetInstance()->Load();
        CHotLists::GetInstance()->Load();
        CCallScore::GetInstance()->Load();
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(CreateDockingFrame(m_pFrame, CRect(0, 0, 640, 560), nullptr, nullptr, nullptr));
        m_hFrame = m_pFrame->GetSafeHwnd();
        ASSERT_TRUE(m_bar.Create(m_pFrame, "Access Panel", 59500));
        m_bar.EnableDocking(CBRS_ALIGN_ANY);
        m_pFrame->DockControlBar(&m_bar, AFX_IDW_DOCKBAR_LEFT);
        m_pFrame->RecalcLayout();
        Settle(300);
    }

    void TearDown() override {
        DestroyDockingFrame(m_pFrame, m_hFrame);
        delete CShortCuts::GetInstance();
        delete CHotLists::GetInstance();
        delete CCallScore::GetInstance();
        CScoreFormManager::GetInstance()->Clear();
        CSettings::SetFolderNamesOverride(nullptr, nullptr, nullptr);
        RemoveFolderTree(CSettings::GetConfigFilePath(TRUE, "").GetString());
    }

    CString GroupText(int nOrder) {
        COXShortcutBar& bar = m_bar.GetShortcutBar();
        return bar.GetGroupText(bar.FindGroupByOrder(nOrder));
    }

    const std::string m_company = "OutlookBarTest" + std::to_string(::GetCurrentProcessId());
    CFrameWnd* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
    COutlookBar m_bar;
};

TEST_F(OutlookBarTest, ShowsItsGroupsWithMyShortcutsExpanded) {
    COXShortcutBar& bar = m_bar.GetShortcutBar();
    ASSERT_TRUE(::IsWindow(bar.GetSafeHwnd()));
    EXPECT_EQ(COutlookBar::IDC_SHORTCUTBAR, bar.GetDlgCtrlID());
    ASSERT_EQ(4, bar.GetGroupCount());
    const char* const texts[] = {"My Shortcuts", "My Calls for Review", "My Explorer",
                                 "My Call Score"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_STREQ(texts[i], GroupText(i).GetString());
        EXPECT_EQ(i, bar.GetGroupImage(bar.FindGroupByOrder(i)));
    }
    EXPECT_EQ(bar.FindGroupByOrder(0), bar.GetExpandedGroup());
    EXPECT_EQ(DWORD(0xAF4B), bar.GetBarStyle());

    CShortCutTree& shortcuts = m_bar.GetShortCutTree();
    EXPECT_TRUE(shortcuts.IsWindowVisible());
    CRect rcTree;
    shortcuts.GetClientRect(&rcTree);
    EXPECT_GT(rcTree.Height(), 100);
    // The other groups' windows take no room until their group is expanded.
    CRect rcShell;
    m_bar.GetShellFolderTree().GetWindowRect(&rcShell);
    EXPECT_TRUE(!m_bar.GetShellFolderTree().IsWindowVisible() || rcShell.IsRectEmpty());
    EXPECT_EQ(4000, m_bar.GetHotListsWnd().GetDlgCtrlID());
    EXPECT_EQ(3000, m_bar.GetHotListsWnd().GetHotListsTree().GetDlgCtrlID());
    EXPECT_EQ(3001, shortcuts.GetDlgCtrlID());
    EXPECT_EQ(3002, m_bar.GetShellFolderTree().GetDlgCtrlID());
    EXPECT_EQ(4003, m_bar.GetCallScoreWnd().GetDlgCtrlID());
    EXPECT_EQ(3003, m_bar.GetCallScoreWnd().GetCallScoreTree().GetDlgCtrlID());

    // The default store: one group, the root item of the tree.
    HTREEITEM hRoot = shortcuts.GetRootItem();
    ASSERT_NE(nullptr, hRoot);
    EXPECT_STREQ("Shortcuts to Sources..", shortcuts.GetItemText(hRoot).GetString());

    CRect rcFrame;
    m_pFrame->GetWindowRect(&rcFrame);
    EXPECT_TRUE(SaveScreenPng(rcFrame, "access-panel.png"));
}

TEST_F(OutlookBarTest, ExpandingAGroupShowsItsTree) {
    COXShortcutBar& bar = m_bar.GetShortcutBar();
    bar.ExpandGroup(bar.FindGroupByOrder(1));
    Settle(300);
    EXPECT_TRUE(m_bar.GetHotListsWnd().IsWindowVisible());
    EXPECT_FALSE(m_bar.GetShortCutTree().IsWindowVisible());
    CHotListsTree& tree = m_bar.GetHotListsWnd().GetHotListsTree();
    HTREEITEM hRoot = tree.GetRootItem();
    ASSERT_NE(nullptr, hRoot);
    EXPECT_STREQ("Links to Recordings...", tree.GetItemText(hRoot).GetString());
    // ExpandAll at creation showed the four default hot lists.
    EXPECT_TRUE(tree.GetItemState(hRoot, TVIS_EXPANDED) & TVIS_EXPANDED);
    CRect rcFrame;
    m_pFrame->GetWindowRect(&rcFrame);
    EXPECT_TRUE(SaveScreenPng(rcFrame, "access-panel-hotlists.png"));

    bar.ExpandGroup(bar.FindGroupByOrder(2));
    Settle(300);
    CShellFolderTree& shell = m_bar.GetShellFolderTree();
    EXPECT_TRUE(shell.IsWindowVisible());
    EXPECT_FALSE(m_bar.GetHotListsWnd().IsWindowVisible());
    // The desktop's folders form the top level.
    EXPECT_NE(nullptr, shell.GetRootItem());
    EXPECT_TRUE(SaveScreenPng(rcFrame, "access-panel-explorer.png"));

    bar.ExpandGroup(bar.FindGroupByOrder(3));
    Settle(300);
    EXPECT_TRUE(m_bar.GetCallScoreWnd().IsWindowVisible());
    EXPECT_FALSE(shell.IsWindowVisible());
    // Without a file, the store's default tree, filled and open.
    CCallScoreTree& scores = m_bar.GetCallScoreWnd().GetCallScoreTree();
    EXPECT_EQ(TreeOutline(scores),
              "Links to Scored Recordings...(Sample Sales Calls,Sample Customer Service)");
    EXPECT_TRUE(scores.GetItemState(scores.GetRootItem(), TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_TRUE(SaveScreenPng(rcFrame, "access-panel-callscore.png"));
}

TEST_F(OutlookBarTest, AScoredCallIsFiledInMyCallScore) {
    CScoreFormEntry form(5);
    form.SetTitle("Sales Calls");
    ASSERT_TRUE(CScoreFormManager::GetInstance()->AddForm(form));
    CScoredFileListEntry entry;
    entry.SetPath("C:\\Rec\\0412-1030.zel");
    entry.SetScore(5, "alice", 75.0);
    m_bar.AddScoredCall(&entry);
    m_bar.AddScoredCall(nullptr);
    CCallScoreTree& scores = m_bar.GetCallScoreWnd().GetCallScoreTree();
    EXPECT_EQ(TreeOutline(scores), "Links to Scored Recordings...(Sample Sales Calls,Sample "
                                   "Customer Service,Sales Calls(alice(0412-1030.zel)))");
    EXPECT_EQ(StoreOutlineOf(*CCallScore::GetInstance(), -1), TreeOutline(scores));
}

TEST_F(OutlookBarTest, ReportsAtLeastItsLeastSize) {
    const DWORD modes[] = {LM_HORZ | LM_HORZDOCK, LM_VERTDOCK, LM_MRUWIDTH, LM_HORZ | LM_STRETCH};
    for (DWORD nMode : modes) {
        const CSize size = m_bar.CalcDynamicLayout(10, nMode);
        EXPECT_GE(size.cx, COutlookBar::MIN_WIDTH) << nMode;
        EXPECT_GE(size.cy, COutlookBar::MIN_HEIGHT) << nMode;
    }
}

TEST_F(OutlookBarTest, SuppressesTheShortcutBarsHeaderMenu) {
    NMHDR nmhdr = {};
    nmhdr.hwndFrom = m_bar.GetShortcutBar().GetSafeHwnd();
    nmhdr.idFrom = COutlookBar::IDC_SHORTCUTBAR;
    nmhdr.code = SHBN_CONTEXTMENU;
    EXPECT_EQ(1, m_bar.SendMessage(WM_NOTIFY, COutlookBar::IDC_SHORTCUTBAR,
                                   reinterpret_cast<LPARAM>(&nmhdr)));
}

TEST_F(OutlookBarTest, ReloadingShortcutsLeavesTheHotListsAlone) {
    CHotListsTree& hotLists = m_bar.GetHotListsWnd().GetHotListsTree();
    HTREEITEM hFirstList = hotLists.GetChildItem(hotLists.GetRootItem());
    ASSERT_NE(nullptr, hFirstList);
    hotLists.SelectItem(hFirstList);

    CShortCuts::SHORTCUTENTRY entry;
    entry.ID = CShortCuts::GetInstance()->GetNextID();
    entry.ParentID = 0;
    entry.Name = "Sales";
    entry.Target = "C:\\Rec\\Sales";
    entry.IsGroup = 0;
    ASSERT_TRUE(CShortCuts::GetInstance()->AddEntry(entry));
    m_bar.ReloadShortcuts();

    CShortCutTree& shortcuts = m_bar.GetShortCutTree();
    HTREEITEM hSales = shortcuts.GetChildItem(shortcuts.GetRootItem());
    ASSERT_NE(nullptr, hSales);
    EXPECT_STREQ("Sales", shortcuts.GetItemText(hSales).GetString());
    EXPECT_EQ(hFirstList, hotLists.GetSelectedItem());
    EXPECT_TRUE(hotLists.GetItemState(hotLists.GetRootItem(), TVIS_EXPANDED) & TVIS_EXPANDED);
}

} // namespace
