// CoolBarTestFrame.h: what the tests of cool toolbars and toolbar skins share:
// a main frame with sizeable dock bars that answers WM_QUERYTABDOCKING and
// records the commands, drop-downs and forwarded custom draws of its bars; a
// bar that reaches the toolbar's protected state; and a fixture that makes a
// docked bar of coloured buttons.
#pragma once

#include "DockingFrameSetUp.h"

#include "toolkit/OXCoolToolBar.h"
#include "toolkit/OXSizableMiniDockFrameWnd.h"
#include "toolkit/OXSizeCtrlBar.h"
#include "toolkit/OXToolbarSkin.h"

#include "framework/WinApp.h"

#include "native/gtest.h"
#include "tests/support/Canvas.h"
#include "tests/support/UiScript.h"

#include <commctrl.h>

#include <vector>

// The control id of the test bars.
const UINT kBarID = 0xE801;
// Commands of the buttons: kFirstCommand, kFirstCommand + 1, ...
const UINT kFirstCommand = 40001;

class CCoolBarTestFrame : public CFrameWnd {
public:
    LRESULT m_lTabDocking = 1;
    std::vector<UINT> m_commands;
    std::vector<int> m_dropDowns;
    std::vector<int> m_barDropDownCommands; // the bar's GetDropDownCommand at each drop-down
    int m_nMenusSeen = 0;                   // popup menus seen open by a drop-down
    BOOL m_bDrawItself = FALSE;             // answer forwarded custom draws, not the skin
    LRESULT m_lDrawResult = 0;
    int m_nForwarded = 0;

protected:
    afx_msg LRESULT OnQueryTabDocking(WPARAM, LPARAM) { return m_lTabDocking; }
    afx_msg void OnButton(UINT nID) { m_commands.push_back(nID); }
    afx_msg void OnDropDown(NMHDR* pNMHDR, LRESULT* pResult) {
        auto* pToolBar = reinterpret_cast<NMTOOLBARA*>(pNMHDR);
        m_dropDowns.push_back(pToolBar->iItem);
        auto* pBar = dynamic_cast<COXCoolToolBar*>(CWnd::FromHandlePermanent(pNMHDR->hwndFrom));
        m_barDropDownCommands.push_back(pBar != nullptr ? pBar->GetDropDownCommand() : -2);
        // The drop-down's menu; a timer sees it open and closes it.
        CMenu menu;
        menu.CreatePopupMenu();
        menu.AppendMenu(MF_STRING, 1, "Item");
        ::SetTimer(m_hWnd, 1, 200, &CCoolBarTestFrame::CloseMenu);
        CRect rect(pToolBar->rcButton);
        ::MapWindowPoints(pNMHDR->hwndFrom, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        ::TrackPopupMenu(menu.GetSafeHmenu(), TPM_LEFTALIGN | TPM_TOPALIGN, rect.left, rect.bottom,
                         0, m_hWnd, nullptr);
        ::KillTimer(m_hWnd, 1);
        *pResult = TBDDRET_DEFAULT;
    }
    afx_msg void OnForwardedDraw(NMHDR* pNMHDR, LRESULT* pResult) {
        ++m_nForwarded;
        if (m_bDrawItself) {
            auto* pForward = reinterpret_cast<OXCUSTOMDRAWFORWARD*>(pNMHDR);
            pForward->bDoDefault = FALSE;
            pForward->lResult = m_lDrawResult;
        }
        *pResult = 0;
    }
    static void CALLBACK CloseMenu(HWND hWnd, UINT, UINT_PTR, DWORD) {
        HWND hMenu = ::FindWindowA("#32768", nullptr);
        if (hMenu != nullptr && ::IsWindowVisible(hMenu)) {
            auto* pThis = static_cast<CCoolBarTestFrame*>(CWnd::FromHandlePermanent(hWnd));
            if (pThis != nullptr)
                ++pThis->m_nMenusSeen;
        }
        ::EndMenu();
    }
    DECLARE_MESSAGE_MAP()
};

// Each test program includes this header once, so the map is defined here.
// clang-format off
BEGIN_MESSAGE_MAP(CCoolBarTestFrame, CFrameWnd)
    ON_MESSAGE(WM_QUERYTABDOCKING, &CCoolBarTestFrame::OnQueryTabDocking)
    ON_COMMAND_RANGE(kFirstCommand, kFirstCommand + 20, &CCoolBarTestFrame::OnButton)
    ON_NOTIFY(TBN_DROPDOWN, kBarID, &CCoolBarTestFrame::OnDropDown)
    ON_NOTIFY(OX_TBN_CUSTOMDRAW, kBarID, &CCoolBarTestFrame::OnForwardedDraw)
END_MESSAGE_MAP()
// clang-format on

// Reaches the toolbar's protected state and counts its non-client paints.
class CTestCoolBar : public COXCoolToolBar {
public:
    static void SetComCtlVersion(DWORD dwVersion) { s_dwComCtlVersion = dwVersion; }
    BOOL HasToolTips() const { return (m_nFlags & WF_TOOLTIPS) != 0; }
    void SetColors(COLORREF crHotBk, COLORREF crHotBorder) {
        m_crHotBk = crHotBk;
        m_crHotBorder = crHotBorder;
    }
    int m_nNcPaints = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NCPAINT)
            ++m_nNcPaints;
        return COXCoolToolBar::WindowProc(message, wParam, lParam);
    }
};

// Dispatches whatever is waiting and runs the idle update of the frame's bars.
inline void PumpWithIdle(CWnd* pFrame) {
    PumpPending();
    if (pFrame != nullptr && pFrame->m_hWnd != nullptr) {
        pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    }
    PumpPending();
}

// A visible main frame with sizeable dock bars, and bars of coloured buttons.
class CoolBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dwVersion = COXCoolToolBar::GetComCtlVersion();
        m_pFrame = new CCoolBarTestFrame;
        ASSERT_TRUE(CreateDockingFrame(m_pFrame, CRect(40, 40, 680, 480), &m_pane, nullptr,
                                       RUNTIME_CLASS(COXSizableMiniDockFrameWnd)));
        m_hFrame = m_pFrame->m_hWnd;
        m_hImages = ImageList_Create(16, 15, ILC_COLOR24 | ILC_MASK, 8, 0);
        const COLORREF colors[] = {RGB(220, 0, 0),   RGB(0, 160, 0),   RGB(0, 0, 220),
                                   RGB(200, 160, 0), RGB(160, 0, 160), RGB(0, 160, 160)};
        for (COLORREF color : colors)
            AddSquare(color);
    }
    void TearDown() override {
        DestroyDockingFrame(m_pFrame, m_hFrame);
        delete m_pBar;
        m_pBar = nullptr;
        ImageList_Destroy(m_hImages);
        CTestCoolBar::SetComCtlVersion(m_dwVersion);
        PumpPending();
    }
    // An image: a square of the colour inside a magenta (transparent) edge.
    void AddSquare(COLORREF color) {
        HDC hScreen = ::GetDC(nullptr);
        HDC hDC = ::CreateCompatibleDC(hScreen);
        HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, 16, 15);
        ::ReleaseDC(nullptr, hScreen);
        HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
        RECT rectAll = {0, 0, 16, 15};
        HBRUSH hMagenta = ::CreateSolidBrush(RGB(255, 0, 255));
        ::FillRect(hDC, &rectAll, hMagenta);
        ::DeleteObject(hMagenta);
        RECT rectSquare = {3, 2, 13, 12};
        HBRUSH hBrush = ::CreateSolidBrush(color);
        ::FillRect(hDC, &rectSquare, hBrush);
        ::DeleteObject(hBrush);
        ::SelectObject(hDC, hOld);
        ::DeleteDC(hDC);
        ImageList_AddMasked(m_hImages, hBitmap, RGB(255, 0, 255));
        ::DeleteObject(hBitmap);
    }
    // A bar with these commands (0 a separator), docked on the top unless
    // bDock is false.
    CTestCoolBar* MakeBar(const std::vector<UINT>& ids, bool bDock = true,
                          DWORD dwStyle = 0x50402808) {
        m_pBar = new CTestCoolBar;
        EXPECT_TRUE(m_pBar->Create(m_pFrame, dwStyle, kBarID));
        m_pBar->SetBarStyle(m_pBar->GetBarStyle() | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC);
        m_pBar->SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_hImages));
        m_pBar->SetSizes(CSize(23, 22), CSize(16, 15));
        EXPECT_TRUE(m_pBar->SetButtons(ids.data(), static_cast<int>(ids.size())));
        m_pBar->EnableDocking(CBRS_ALIGN_ANY);
        if (bDock)
            m_pFrame->DockControlBar(m_pBar, AFX_IDW_DOCKBAR_TOP);
        m_pFrame->RecalcLayout();
        PumpWithIdle(m_pFrame);
        return m_pBar;
    }
    CRect ItemRectOnScreen(int nIndex) {
        CRect rect;
        m_pBar->GetItemRect(nIndex, &rect);
        m_pBar->ClientToScreen(&rect);
        return rect;
    }

    CCoolBarTestFrame* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
    CWnd m_pane;
    CTestCoolBar* m_pBar = nullptr; // owned
    HIMAGELIST m_hImages = nullptr; // owned; lent to the bars
    DWORD m_dwVersion = 0;
};
