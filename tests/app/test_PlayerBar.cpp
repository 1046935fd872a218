// Tests of CPlayerBar, the Player Panel, docked at the bottom of a frame as
// the program's main frame docks it: the host frame and the form it makes, the
// fixed height and least width it reports and keeps, and the context menu it
// does without. The panel is kept as player-bar.png in the working folder.
#include "native/gtest.h"

#include "tests/app/PlayerFrameFixture.h"

#include "Common/Settings.h"
#include "framework/Ole.h"

#include "tests/support/Canvas.h"
#include "tests/support/MouseDrag.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UiScript.h"

#include <string>

namespace {

CPlayerTestApp theApp;

class PlayerBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(theApp.SetCurrentSkin("Office 2003"));
        CSettings::SetFolderNamesOverride(m_company.c_str(), "Zel Moxel", "Zel Config");
        m_pFrame = new CPlayerTestFrame;
        ASSERT_TRUE(m_pFrame->Make(CRect(0, 0, 900, 640)));
        m_hFrame = m_pFrame->GetSafeHwnd();
        Settle(300);
    }
    void TearDown() override {
        if (::GetCapture() != nullptr)
            ::ReleaseCapture();
        if (::IsWindow(m_hFrame))
            m_pFrame->DestroyWindow();
        AfxGetApp()->m_pMainWnd = nullptr;
        CPlaybackManager::GetInstance()->SetNotifyWindow(nullptr);
        CSettings::SetFolderNamesOverride(nullptr, nullptr, nullptr);
        RemoveFolderTree(CSettings::GetConfigFilePath(TRUE, "").GetString());
    }

    CRect BarRect() const {
        CRect rect;
        m_pFrame->m_bar.GetWindowRect(&rect);
        return rect;
    }

    const std::string m_company = "PlayerBarTest" + std::to_string(::GetCurrentProcessId());
    CPlayerTestFrame* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
};

TEST_F(PlayerBarTest, HostsTheFormInAFrameOverItsClientArea) {
    CPlayerBar& bar = m_pFrame->m_bar;
    EXPECT_EQ(IDC_PLAYER_PANEL, bar.GetDlgCtrlID());
    CFrameWnd* pHost = bar.GetHostFrame();
    ASSERT_NE(nullptr, pHost);
    EXPECT_EQ(bar.m_hWnd, ::GetParent(pHost->m_hWnd));
    EXPECT_NE(0u, pHost->GetStyle() & WS_CLIPCHILDREN);
    CRect rcClient;
    bar.GetClientRect(&rcClient);
    CRect rcHost;
    pHost->GetWindowRect(&rcHost);
    bar.ScreenToClient(&rcHost);
    EXPECT_EQ(rcClient, rcHost);

    CPlayerForm* pForm = m_pFrame->GetForm();
    ASSERT_NE(nullptr, pForm);
    EXPECT_TRUE(pForm->IsWindowVisible());
    EXPECT_NE(nullptr, pForm->GetDlgItem(IDC_SCOPE));
    // The panel offers no menu of its own.
    EXPECT_EQ(0u, bar.m_dwSizeBarStyle & SCBS_CONTEXTMENU);

    CRect rcFrame;
    m_pFrame->GetWindowRect(&rcFrame);
    EXPECT_TRUE(SaveScreenPng(rcFrame, "player-bar.png"));
}

TEST_F(PlayerBarTest, DockedAtTheBottomItIs220HighAcrossTheFrame) {
    const CRect rcBar = BarRect();
    CRect rcFrameClient;
    m_pFrame->GetClientRect(&rcFrameClient);
    m_pFrame->ClientToScreen(&rcFrameClient);
    EXPECT_EQ(CPlayerBar::kHeight, rcBar.Height());
    EXPECT_GE(rcBar.Width(), CPlayerBar::kMinWidth);
    EXPECT_LE(rcBar.bottom, rcFrameClient.bottom);
    EXPECT_GE(rcBar.top, rcFrameClient.bottom - CPlayerBar::kHeight - 16);
}

TEST_F(PlayerBarTest, ReportsExactly220HighAndAtLeast650Wide) {
    const DWORD modes[] = {LM_HORZ | LM_HORZDOCK, LM_VERTDOCK, LM_HORZ | LM_MRUWIDTH,
                           LM_HORZ | LM_STRETCH, LM_HORZ | LM_COMMIT};
    const int lengths[] = {-1, 10, 300, 1200};
    for (DWORD nMode : modes) {
        for (int nLength : lengths) {
            const CSize size = m_pFrame->m_bar.CalcDynamicLayout(nLength, nMode);
            EXPECT_EQ(CPlayerBar::kHeight, size.cy) << nMode << " " << nLength;
            EXPECT_GE(size.cx, CPlayerBar::kMinWidth) << nMode << " " << nLength;
        }
    }
}

// What a drag of the dock bar's row splitter leaves behind: a taller docked
// size. The next layout asks the bar, which keeps its height.
TEST_F(PlayerBarTest, ATallerDockedSizeIsBroughtBackTo220) {
    CPlayerBar& bar = m_pFrame->m_bar;
    bar.m_sizeHorzDock.cy = 400;
    m_pFrame->RecalcLayout();
    Settle(100);
    EXPECT_EQ(CPlayerBar::kHeight, BarRect().Height());
}

TEST_F(PlayerBarTest, InputDraggingTheTopEdgeUpLeavesTheHeight) {
    const CRect rcBefore = BarRect();
    // The dock bar's splitter runs along the bar's top edge, just above it.
    const CPoint ptEdge(rcBefore.CenterPoint().x, rcBefore.top - 2);
    const bool bRan = RunMouseDrag(
        ptEdge, {{CPoint(ptEdge.x, ptEdge.y - 150), [] { return true; }}}, false, nullptr);
    EXPECT_TRUE(bRan);
    Settle(300);
    EXPECT_EQ(CPlayerBar::kHeight, BarRect().Height());
}

// The bar copies a given context but always makes the view class it is given.
TEST_F(PlayerBarTest, TheGivenViewClassWinsOverTheContexts) {
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CFrameWnd);
    context.m_pCurrentFrame = m_pFrame;
    CPlayerBar second;
    ASSERT_TRUE(second.Create(m_pFrame, RUNTIME_CLASS(CPlayerForm), &context, "Second",
                              WS_CHILD | CBRS_ALIGN_TOP, 134));
    CFrameWnd* pHost = second.GetHostFrame();
    ASSERT_NE(nullptr, pHost);
    CWnd* pPane = pHost->GetDlgItem(AFX_IDW_PANE_FIRST);
    ASSERT_NE(nullptr, pPane);
    EXPECT_NE(nullptr, dynamic_cast<CPlayerForm*>(CWnd::FromHandlePermanent(pPane->m_hWnd)));
    second.DestroyWindow();
}

} // namespace
