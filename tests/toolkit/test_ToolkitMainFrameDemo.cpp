// The toolkit's demo of a whole main frame, built the way the application's
// main frame builds it: an MDI frame whose menu is a menu bar, sizeable
// docking on all four sides with the toolkit's floating frame, two cool
// toolbars with bitmaps, the Access Panel on the left and the Player Panel at
// the bottom, a bitmap menu organizer that gives the menus the toolbars'
// images and a few icons, tabs over the MDI client, two MDI children, tabbed
// docking on, drag-anywhere off on the menu bar, and the "Office 2003" skin.
// It keeps two screenshots beside the test program: the frame
// (main_frame_demo.png) and the frame with the File popup open
// (main_frame_demo_popup.png).
#include "test_ToolkitMainFrameDemo_res.h"

#include "PanelBar.h"

#include "tests/support/Canvas.h"
#include "tests/support/UiScript.h"

#include "toolkit/OXBitmapMenuOrganizer.h"
#include "toolkit/OXMenuBarFrame.h"
#include "toolkit/OXSizableMiniDockFrameWnd.h"
#include "toolkit/OXSizeCtrlBar.h"
#include "toolkit/OXSkinnedApp.h"
#include "toolkit/OXTabClientWnd.h"

#include "framework/CmdUI.h"
#include "framework/WinApp.h"

#include "native/gtest.h"

#include <algorithm>

namespace {

COXSkinnedApp theApp;

const UINT kAccessPanelID = 130;
const UINT kPlayerPanelID = 133;
const UINT kFileBarID = AFX_IDW_CONTROLBAR_FIRST + 0x21;
const UINT kEditBarID = AFX_IDW_CONTROLBAR_FIRST + 0x22;
// The tab control style the frame gives the MDI tabs.
const DWORD kMDITabStyle = 0x40;

const UINT kFileButtons[] = {ID_DEMO_NEW, ID_DEMO_OPEN, ID_DEMO_SAVE, ID_DEMO_PRINT};
const UINT kEditButtons[] = {ID_DEMO_CUT, ID_DEMO_COPY, ID_DEMO_PASTE, ID_DEMO_UNDO};
const UINT kIconCommands[][2] = {
    {ID_DEMO_ABOUT, IDI_ABOUT}, {ID_DEMO_CASCADE, IDI_CASCADE}, {ID_DEMO_TILE, IDI_TILE}};

using CMenuBarMDIFrame = COXMenuBarFrame<CMDIFrameWnd, COXSizeDockBar>;

class CDemoMainFrame : public CMenuBarMDIFrame {
public:
    CDemoMainFrame()
        : CMenuBarMDIFrame(CBRS_ALIGN_ANY, RUNTIME_CLASS(COXSizableMiniDockFrameWnd)) {}

    // Once the frame template has made the menu bar and docked it, the frame
    // sets up its bars, the organizer and the tabs.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        LRESULT lResult = CMenuBarMDIFrame::WindowProc(message, wParam, lParam);
        if (message == WM_CREATE && lResult != -1 && !SetUpBars())
            lResult = -1;
        return lResult;
    }

    COXBitmapMenuOrganizer m_organizer;
    COXTabClientWnd m_tabClient;
    CPanelBar m_wndAccessPanel{SCBS_CONTEXTMENU};
    CPanelBar m_wndPlayerPanel{SCBS_CONTEXTMENU};
    COXCoolToolBar m_wndFileBar;
    COXCoolToolBar m_wndEditBar;

protected:
    afx_msg void OnDemoCommand(UINT /*nID*/) {}
    afx_msg void OnUpdateDemoCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
    DECLARE_MESSAGE_MAP()

private:
    BOOL CreateToolBar(COXCoolToolBar& bar, UINT nID, UINT nBitmap, const UINT* pButtons,
                       int nCount) {
        if (!bar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_SIZE_DYNAMIC,
                        nID) ||
            !bar.LoadBitmap(nBitmap) || !bar.SetButtons(pButtons, nCount))
            return FALSE;
        bar.EnableDocking(CBRS_ALIGN_ANY);
        return TRUE;
    }

    BOOL SetUpBars() {
        if (!m_wndAccessPanel.CreatePanel(this, "Access Panel", kAccessPanelID,
                                          CRect(0, 0, 200, 400)) ||
            !m_wndPlayerPanel.CreatePanel(this, "Player Panel", kPlayerPanelID,
                                          CRect(0, 0, 650, 220)))
            return FALSE;
        if (!CreateToolBar(m_wndFileBar, kFileBarID, IDB_FILEBAR, kFileButtons, 4) ||
            !CreateToolBar(m_wndEditBar, kEditBarID, IDB_EDITBAR, kEditButtons, 4))
            return FALSE;
        EnableDocking(CBRS_ALIGN_ANY);
        m_wndAccessPanel.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
        m_wndPlayerPanel.EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM);
        DockControlBar(&m_wndAccessPanel, AFX_IDW_DOCKBAR_LEFT);
        DockControlBar(&m_wndPlayerPanel, AFX_IDW_DOCKBAR_BOTTOM);
        DockControlBar(&m_wndFileBar, AFX_IDW_DOCKBAR_TOP);
        RecalcLayout();
        // The edit bar joins the file bar's row, right of it.
        CRect rect;
        m_wndFileBar.GetWindowRect(&rect);
        rect.OffsetRect(rect.Width() + 4, 0);
        DockControlBar(&m_wndEditBar, AFX_IDW_DOCKBAR_TOP, &rect);

        m_organizer.AttachFrameWnd(this);
        m_organizer.AutoSetMenuImage();
        for (const UINT* pPair : kIconCommands) {
            // The frame never destroys these icons, as the application's.
            auto hIcon =
                static_cast<HICON>(::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(pPair[1]),
                                                IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
            m_organizer.SetMenuIcon(pPair[0], hIcon);
        }
        m_tabClient.Attach(this, kMDITabStyle);
        SetTabbedDocking(TRUE);
        GetMenuBar().SetDragAnywhere(FALSE);
        return TRUE;
    }
};

BEGIN_MESSAGE_MAP(CDemoMainFrame, CMenuBarMDIFrame)
ON_COMMAND_RANGE(ID_DEMO_NEW, ID_DEMO_UNDO, &CDemoMainFrame::OnDemoCommand)
ON_UPDATE_COMMAND_UI_RANGE(ID_DEMO_NEW, ID_DEMO_UNDO, &CDemoMainFrame::OnUpdateDemoCommand)
ON_COMMAND_RANGE(ID_DEMO_ABOUT, ID_DEMO_EXIT, &CDemoMainFrame::OnDemoCommand)
ON_UPDATE_COMMAND_UI_RANGE(ID_DEMO_ABOUT, ID_DEMO_EXIT, &CDemoMainFrame::OnUpdateDemoCommand)
END_MESSAGE_MAP()

// An MDI child with a call list stand-in over its client area.
BOOL CreateCallWindow(CMDIFrameWnd* pFrame, LPCTSTR lpszTitle) {
    auto* pChild = new CMDIChildWnd;
    if (!pChild->Create(nullptr, lpszTitle, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                        CFrameWnd::rectDefault, pFrame))
        return FALSE;
    auto* pPane = new CWnd;
    if (!pPane->CreateEx(0, "Edit", "Call 0042   12:30:05   00:03:12\r\nCall 0043   12:41:17",
                         WS_CHILD | WS_VISIBLE | ES_MULTILINE, CRect(0, 0, 10, 10), pChild,
                         AFX_IDW_PANE_FIRST)) {
        delete pPane;
        return FALSE;
    }
    pChild->RecalcLayout();
    return TRUE;
}

void Idle() {
    PumpPending();
    theApp.OnIdle(0);
    PumpPending();
}

bool HasOwnerDrawnItems(HMENU hMenu) {
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        if (::GetMenuItemInfoA(hMenu, static_cast<UINT>(i), TRUE, &info) &&
            (info.fType & MFT_OWNERDRAW))
            return true;
    }
    return false;
}

HWND FindPopupWindow() {
    for (HWND hWnd = ::FindWindowExA(nullptr, nullptr, "#32768", nullptr); hWnd != nullptr;
         hWnd = ::FindWindowExA(nullptr, hWnd, "#32768", nullptr)) {
        if (::IsWindowVisible(hWnd))
            return hWnd;
    }
    return nullptr;
}

TEST(ToolkitMainFrameDemo, TheWholeMainFrameWithAMenuPopupOpenScreen) {
    ASSERT_TRUE(theApp.SetCurrentSkin("Office 2003"));
    auto* pFrame = new CDemoMainFrame;
    ASSERT_TRUE(pFrame->LoadFrame(IDR_DEMOFRAME, WS_OVERLAPPEDWINDOW));
    const HWND hFrame = pFrame->m_hWnd;
    theApp.m_pMainWnd = pFrame;
    ::SetWindowPos(hFrame, nullptr, 0, 0, 1100, 760, SWP_NOZORDER);
    pFrame->ShowWindow(SW_SHOW);
    ASSERT_TRUE(CreateCallWindow(pFrame, "Calls of Monday"));
    ASSERT_TRUE(CreateCallWindow(pFrame, "Calls of Tuesday"));
    pFrame->MDICascade();
    pFrame->RecalcLayout();
    for (int i = 0; i < 5; ++i)
        Idle();
    Settle();

    COXMenuBar& bar = pFrame->GetMenuBar();
    EXPECT_EQ(bar.m_pDockBar, pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP));
    EXPECT_FALSE(bar.IsDragAnywhere());
    EXPECT_EQ(pFrame->SendMessage(WM_QUERYTABDOCKING), 1);
    EXPECT_EQ(COXBitmapMenuOrganizer::FindOrganizer(hFrame), &pFrame->m_organizer);
    EXPECT_TRUE(pFrame->m_tabClient.IsAttached());
    // The toolbars lie in a row below the menu bar.
    CRect rectBar, rectFileBar, rectEditBar;
    bar.GetWindowRect(&rectBar);
    pFrame->m_wndFileBar.GetWindowRect(&rectFileBar);
    pFrame->m_wndEditBar.GetWindowRect(&rectEditBar);
    EXPECT_GE(rectFileBar.top, rectBar.bottom - 4);
    EXPECT_EQ(rectEditBar.top, rectFileBar.top);
    EXPECT_GT(rectEditBar.left, rectFileBar.left);

    CRect rectFrame;
    pFrame->GetWindowRect(&rectFrame);
    EXPECT_TRUE(SaveScreenPng(rectFrame, "main_frame_demo.png"));

    // The File popup, a bitmap menu with the toolbars' images.
    bool bOwnerDrawn = false;
    HWND hPopup = nullptr;
    {
        CUiScript script(::EndMenu, {[&] {
                                         bar.PostMessage(WM_OX_MENUBAR_OPENITEM, 0);
                                         return true;
                                     },
                                     [&] {
                                         hPopup = FindPopupWindow();
                                         return hPopup != nullptr && bar.IsPopupOpen();
                                     },
                                     [&] {
                                         // Painted and on the X screen.
                                         static DWORD s_dwShown = 0;
                                         if (s_dwShown == 0)
                                             s_dwShown = ::GetTickCount();
                                         return ::GetTickCount() - s_dwShown > 500;
                                     },
                                     [&] {
                                         bOwnerDrawn = HasOwnerDrawnItems(
                                             ::GetSubMenu(bar.GetMenuHandle(), 0));
                                         CRect rectShot, rectPopup;
                                         ::GetWindowRect(hPopup, &rectPopup);
                                         rectShot.UnionRect(rectFrame, rectPopup);
                                         SaveScreenPng(rectShot, "main_frame_demo_popup.png");
                                         ::EndMenu();
                                         return true;
                                     },
                                     [&] { return !bar.IsPopupOpen(); }});
        PumpUntil([&script] { return script.Finished() || script.Stalled(); });
        EXPECT_TRUE(script.Finished());
        EXPECT_FALSE(script.Stalled());
    }
    EXPECT_NE(hPopup, nullptr);
    EXPECT_TRUE(bOwnerDrawn);

    pFrame->DestroyWindow();
    theApp.m_pMainWnd = nullptr;
    PumpPending();
}

} // namespace
