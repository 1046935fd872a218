// Tests of CBaseWndWithToolbar, CFrameToolbar and CDialogToolbar: the ids of
// the window and its tree, the layout of toolbar and tree (and a collapsed
// window that keeps it), a window without toolbar, the tooltip texts, and the
// routing of commands and button states.
#include "native/gtest.h"

#include "BaseWndWithToolbar.h"

#include "tests/app/BasesTestIds.h"
#include "tests/app/SmallDialogsTestKit.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/UiScript.h"

#include "framework/FrameWnd.h"

#include <string>
#include <vector>

namespace {

CAnsweringApp theApp;

using smalldlg::FindVisibleToolTip;
using smalldlg::PumpTranslated;
using smalldlg::PumpTranslatedUntil;

const UINT kTreeId = 5;

// A tree window as the Access Panel's are made: the tree, a toolbar id, and
// a record of the commands and state updates that reached it.
class CTestTreeWnd : public CBaseWndWithToolbar {
public:
    using CBaseWndWithToolbar::OnToolTipText;

    BOOL CreateTree(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override {
        if (m_bFailTree)
            return FALSE;
        return m_tree.Create(dwStyle | WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES |
                                 TVS_LINESATROOT,
                             rect, pParentWnd, nID);
    }
    CTreeCtrl* GetTree() override { return &m_tree; }
    UINT GetToolbarId() override { return m_nToolbarId; }
    BOOL OnToolbarCommand(UINT nID) override {
        m_commands.push_back(nID);
        return nID != ID_TEST_REFRESH;
    }
    void OnUpdateToolbarCommand(CCmdUI* pCmdUI) override {
        m_updates.push_back(pCmdUI->m_nID);
        pCmdUI->Enable(pCmdUI->m_nID != ID_TEST_REFRESH);
        pCmdUI->SetCheck(pCmdUI->m_nID == ID_TEST_LONG);
    }

    CTreeCtrl m_tree;
    UINT m_nToolbarId = IDR_TEST_TOOLBAR;
    bool m_bFailTree = false;
    std::vector<UINT> m_commands;
    std::vector<UINT> m_updates;
};

CRect ChildRect(CWnd& child, CWnd& parent) {
    CRect rect;
    child.GetWindowRect(&rect);
    parent.ScreenToClient(&rect);
    return rect;
}

class BaseWndWithToolbarTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "Tree window", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     CRect(40, 40, 460, 560)));
        m_hFrame = m_pFrame->m_hWnd;
        AfxGetApp()->m_pMainWnd = m_pFrame;
    }
    void TearDown() override {
        if (::IsWindow(m_wnd.m_hWnd))
            m_wnd.DestroyWindow();
        if (::IsWindow(m_hFrame))
            m_pFrame->DestroyWindow();
        AfxGetApp()->m_pMainWnd = nullptr;
    }

    // Made hidden and then shown, as the Access Panel shows its groups.
    void MakeWindow(const CRect& rect = CRect(10, 10, 310, 410)) {
        ASSERT_TRUE(m_wnd.Create(WS_CHILD, rect, m_pFrame, kTreeId));
        m_wnd.ShowWindow(SW_SHOW);
        Settle(100);
    }

    CFrameWnd* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
    CTestTreeWnd m_wnd;
};

TEST_F(BaseWndWithToolbarTest, WindowTakesIdPlus1000AndTheTreeTheGivenId) {
    MakeWindow();
    EXPECT_EQ(m_wnd.GetDlgCtrlID(), 1005);
    EXPECT_EQ(m_wnd.m_tree.GetDlgCtrlID(), 5);
    EXPECT_EQ(::GetParent(m_wnd.m_tree.m_hWnd), m_wnd.m_hWnd);
    EXPECT_EQ(m_wnd.GetToolbar().GetDlgCtrlID(), 0xE801);
    EXPECT_TRUE(m_wnd.GetStyle() & WS_CLIPCHILDREN);
    EXPECT_TRUE(m_wnd.GetStyle() & WS_CLIPSIBLINGS);
}

TEST_F(BaseWndWithToolbarTest, ShownWindowHasToolbarAcrossTheTopAndTheTreeBelow) {
    MakeWindow();
    CFrameToolbar& toolbar = m_wnd.GetToolbar();
    ASSERT_EQ(toolbar.GetCount(), 4); // three buttons and a separator
    EXPECT_TRUE(toolbar.IsWindowVisible());
    CRect rectClient;
    m_wnd.GetClientRect(&rectClient);
    const int nHeight = toolbar.CalcFixedLayout(FALSE, TRUE).cy;
    ASSERT_GT(nHeight, 0);
    EXPECT_EQ(ChildRect(toolbar, m_wnd), CRect(0, 0, rectClient.Width(), nHeight));
    EXPECT_EQ(ChildRect(m_wnd.m_tree, m_wnd),
              CRect(0, nHeight, rectClient.Width(), rectClient.Height()));
    // The tooltip style is on; gripper, left border and dynamic size are off.
    const DWORD dwBarStyle = toolbar.GetBarStyle();
    EXPECT_TRUE(dwBarStyle & CBRS_TOOLTIPS);
    EXPECT_FALSE(dwBarStyle & (CBRS_GRIPPER | CBRS_BORDER_LEFT | CBRS_SIZE_DYNAMIC));

    m_wnd.m_tree.InsertItem("Calls for review");
    m_wnd.m_tree.InsertItem("Escalations");
    Settle(200);
    CRect rectScreen;
    m_pFrame->GetWindowRect(&rectScreen);
    EXPECT_TRUE(SaveScreenPng(rectScreen, "BaseWndWithToolbar.png"));
}

TEST_F(BaseWndWithToolbarTest, WindowWithoutToolbarGivesTheTreeTheWholeWindow) {
    m_wnd.m_nToolbarId = 0;
    MakeWindow();
    CRect rectClient;
    m_wnd.GetClientRect(&rectClient);
    EXPECT_FALSE(m_wnd.GetToolbar().IsWindowVisible());
    EXPECT_EQ(ChildRect(m_wnd.m_tree, m_wnd), rectClient);
}

TEST_F(BaseWndWithToolbarTest, CollapsedWindowKeepsItsChildrenWhereTheyWere) {
    MakeWindow();
    const CRect rectToolbar = ChildRect(m_wnd.GetToolbar(), m_wnd);
    const CRect rectTree = ChildRect(m_wnd.m_tree, m_wnd);
    struct SCase {
        int cx, cy;
        bool bKeeps;
    };
    const SCase cases[] = {
        {300, 9, true}, {9, 400, true}, {5, 5, true}, {200, 10, false}, {10, 400, false}};
    for (const SCase& c : cases) {
        m_wnd.SetWindowPos(nullptr, 0, 0, c.cx, c.cy, SWP_NOMOVE | SWP_NOZORDER);
        const CRect rectNowTree = ChildRect(m_wnd.m_tree, m_wnd);
        if (c.bKeeps) {
            EXPECT_EQ(rectNowTree, rectTree) << c.cx << "x" << c.cy;
            EXPECT_EQ(ChildRect(m_wnd.GetToolbar(), m_wnd), rectToolbar) << c.cx << "x" << c.cy;
        } else {
            // Laid out again: the tree takes the new width below the toolbar.
            EXPECT_EQ(rectNowTree.Width(), c.cx) << c.cx << "x" << c.cy;
            EXPECT_EQ(rectNowTree.top, rectToolbar.bottom) << c.cx << "x" << c.cy;
        }
        // Back to the full size for the next case.
        m_wnd.SetWindowPos(nullptr, 0, 0, 300, 400, SWP_NOMOVE | SWP_NOZORDER);
        ASSERT_EQ(ChildRect(m_wnd.m_tree, m_wnd), rectTree);
    }
}

TEST_F(BaseWndWithToolbarTest, FailedTreeFailsTheWindow) {
    m_wnd.m_bFailTree = true;
    EXPECT_FALSE(m_wnd.Create(WS_CHILD, CRect(0, 0, 100, 100), m_pFrame, kTreeId));
    EXPECT_EQ(m_wnd.m_hWnd, nullptr);
    // Its toolbar is gone and has left the frame's bars, which outlive it.
    EXPECT_EQ(m_wnd.GetToolbar().m_hWnd, nullptr);
    EXPECT_EQ(m_pFrame->m_listControlBars.Find(&m_wnd.GetToolbar()), nullptr);
}

// ---- Tooltips.

TEST_F(BaseWndWithToolbarTest, TooltipIsTheTextBeforeTheLineFeedWithinTheBuffer) {
    MakeWindow();
    const std::string strLong = "A command text that goes on and on well past the seventy-nine "
                                "characters a tooltip buffer holds";
    struct SCase {
        UINT nId;
        BOOL bHandled;
        std::string strText;
    };
    const SCase cases[] = {
        {ID_TEST_ADD, TRUE, "Add the selected calls"},
        {ID_TEST_REFRESH, TRUE, "Refresh"},
        {ID_TEST_LONG, TRUE, strLong.substr(0, 79)},
        {0, FALSE, "untouched"},
    };
    for (const SCase& c : cases) {
        TOOLTIPTEXTA ttt = {};
        ttt.hdr.code = TTN_NEEDTEXTA;
        ttt.hdr.idFrom = c.nId;
        lstrcpyA(ttt.szText, "untouched");
        ttt.lpszText = ttt.szText;
        LRESULT lResult = 0;
        EXPECT_EQ(m_wnd.OnToolTipText(c.nId, &ttt.hdr, &lResult), c.bHandled) << c.nId;
        EXPECT_EQ(std::string(ttt.lpszText), c.strText) << c.nId;
        EXPECT_EQ(ttt.szText[79], '\0');
    }
}

TEST_F(BaseWndWithToolbarTest, TooltipOfAWindowToolIsItsControlIdsString) {
    MakeWindow();
    TOOLTIPTEXTA ttt = {};
    ttt.hdr.code = TTN_NEEDTEXTA;
    ttt.uFlags = TTF_IDISHWND;
    ttt.hdr.idFrom = reinterpret_cast<UINT_PTR>(m_wnd.m_tree.m_hWnd);
    LRESULT lResult = 0;
    EXPECT_TRUE(m_wnd.OnToolTipText(0, &ttt.hdr, &lResult));
    EXPECT_EQ(ttt.lpszText, MAKEINTRESOURCEA(kTreeId));
    EXPECT_EQ(ttt.hinst, AfxGetResourceHandle());

    // A window without a control id has no text.
    CWnd wndNoId;
    ASSERT_TRUE(wndNoId.CreateEx(0, "STATIC", "", WS_CHILD, CRect(0, 0, 5, 5), &m_wnd, 0));
    TOOLTIPTEXTA tttNoId = {};
    tttNoId.hdr.code = TTN_NEEDTEXTA;
    tttNoId.uFlags = TTF_IDISHWND;
    tttNoId.hdr.idFrom = reinterpret_cast<UINT_PTR>(wndNoId.m_hWnd);
    EXPECT_FALSE(m_wnd.OnToolTipText(0, &tttNoId.hdr, &lResult));
}

// The tip that the real mouse brings up over the first button, and its click.
TEST_F(BaseWndWithToolbarTest, InputHoverShowsTheShortTipAndAClickReachesTheWindow) {
    MakeWindow();
    m_pFrame->SetForegroundWindow();
    CFrameToolbar& toolbar = m_wnd.GetToolbar();
    CRect rectButton;
    toolbar.GetItemRect(0, &rectButton);
    CPoint ptButton = rectButton.CenterPoint();
    toolbar.ClientToScreen(&ptButton);
    SendMouseMove(CPoint(ptButton.x, ptButton.y + 200));
    PumpTranslated(100);
    SendMouseMove(ptButton);
    PumpTranslated(50);
    SendMouseMove(CPoint(ptButton.x + 1, ptButton.y));
    ASSERT_TRUE(PumpTranslatedUntil([] { return FindVisibleToolTip() != nullptr; }));
    HWND hWndTip = FindVisibleToolTip();
    TOOLINFOA info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(::SendMessageA(hWndTip, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(info.hwnd, toolbar.m_hWnd);
    EXPECT_EQ(info.uId, static_cast<UINT_PTR>(ID_TEST_ADD));
    char szText[128] = "";
    info.lpszText = szText;
    ::SendMessageA(hWndTip, TTM_GETTEXTA, sizeof(szText), reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(szText, "Add the selected calls");
    CRect rectScreen;
    m_pFrame->GetWindowRect(&rectScreen);
    EXPECT_TRUE(SaveScreenPng(rectScreen, "BaseWndWithToolbarTip.png"));

    SendLeftClick();
    ASSERT_TRUE(PumpTranslatedUntil([this] { return !m_wnd.m_commands.empty(); }));
    EXPECT_EQ(m_wnd.m_commands.front(), static_cast<UINT>(ID_TEST_ADD));
}

// ---- Commands and button states.

TEST_F(BaseWndWithToolbarTest, EveryCommandEndsInOnToolbarCommand) {
    MakeWindow();
    const HWND hToolbar = m_wnd.GetToolbar().m_hWnd;
    // From the toolbar, a menu command, and one the derived window does not know.
    m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEST_ADD, BN_CLICKED),
                      reinterpret_cast<LPARAM>(hToolbar));
    m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(40000, 0), 0);
    m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEST_REFRESH, 0), 0);
    EXPECT_EQ(m_wnd.m_commands, (std::vector<UINT>{ID_TEST_ADD, 40000, ID_TEST_REFRESH}));
}

TEST_F(BaseWndWithToolbarTest, ModalLoopKeepsTheButtonsStateFromTheWindow) {
    MakeWindow();
    CFrameToolbar& toolbar = m_wnd.GetToolbar();
    // No modal loop runs: the base answer, after the update.
    EXPECT_FALSE(m_wnd.ContinueModal());
    EXPECT_EQ(m_wnd.m_updates, (std::vector<UINT>{ID_TEST_ADD, ID_TEST_LONG, ID_TEST_REFRESH}));
    EXPECT_TRUE(toolbar.GetButtonState(0) & TBSTATE_ENABLED);
    EXPECT_TRUE(toolbar.GetButtonState(2) & TBSTATE_CHECKED);
    EXPECT_FALSE(toolbar.GetButtonState(3) & TBSTATE_ENABLED);
}

// A dialog-like owner whose own update handlers set the buttons.
class CToolbarOwner : public CWnd {
public:
    int m_nRefreshUpdates = 0;

protected:
    afx_msg void OnUpdateRefresh(CCmdUI* pCmdUI) {
        ++m_nRefreshUpdates;
        pCmdUI->Enable(FALSE);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CToolbarOwner, CWnd)
ON_UPDATE_COMMAND_UI(ID_TEST_REFRESH, &CToolbarOwner::OnUpdateRefresh)
END_MESSAGE_MAP()

TEST_F(BaseWndWithToolbarTest, DialogToolbarAsksItsOwnersUpdateHandlers) {
    CToolbarOwner owner;
    ASSERT_TRUE(
        owner.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 100), m_pFrame, 77));
    CDialogToolbar toolbar;
    ASSERT_TRUE(toolbar.Create(&owner, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE802));
    toolbar.SetOwner(&owner);
    ASSERT_TRUE(toolbar.LoadToolBar(IDR_TEST_TOOLBAR));
    toolbar.OnUpdateCmdUI(m_pFrame, FALSE);
    EXPECT_EQ(owner.m_nRefreshUpdates, 1);
    EXPECT_FALSE(toolbar.GetButtonState(3) & TBSTATE_ENABLED);
    // A button without a handler of the owner is left as it is.
    EXPECT_TRUE(toolbar.GetButtonState(0) & TBSTATE_ENABLED);
    toolbar.DestroyWindow();
    owner.DestroyWindow();
}

} // namespace
