// SizeBarTestFrame.h: what the tests of sizeable bars, their floating frames
// and their drag context share: a main frame with sizeable dock bars on all
// sides and the toolkit's floating frames, that answers WM_QUERYTABDOCKING
// and records its status prompts, a bar that records what it is told, and
// the fixture that makes them.
#pragma once

#include "DockingFrameSetUp.h"

#include "toolkit/OXSizableMiniDockFrameWnd.h"
#include "toolkit/OXSizeCtrlBar.h"
#include "toolkit/OXSizeDockBar.h"
#include "toolkit/OXSkinnedApp.h"

#include "framework/WinApp.h"

#include "native/gtest.h"
#include "tests/support/GeometryPrint.h"
#include "tests/support/UiScript.h"
#include "tests/support/WindowRects.h"

#include <vector>

// The main frame's part in docking: whether bars may be dragged by their
// captions, and the status prompts the drags show.
class CSizeBarTestFrame : public CFrameWnd {
public:
    LRESULT m_nTabDocking = 1;
    std::vector<WPARAM> m_prompts;

protected:
    afx_msg LRESULT OnQueryTabDocking(WPARAM, LPARAM) { return m_nTabDocking; }
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM) {
        m_prompts.push_back(wParam);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

// Each test program includes this header once, so the map is defined here.
// clang-format off
BEGIN_MESSAGE_MAP(CSizeBarTestFrame, CFrameWnd)
    ON_MESSAGE(WM_QUERYTABDOCKING, &CSizeBarTestFrame::OnQueryTabDocking)
    ON_MESSAGE(WM_SETMESSAGESTRING, &CSizeBarTestFrame::OnSetMessageString)
END_MESSAGE_MAP()
// clang-format on

// A sizeable bar that records its size notifications and caption-button
// drawing, and says when it is deleted.
class CRecordingBar : public COXSizeControlBar {
public:
    struct SSizeChange {
        int cx, cy;
        BOOL bFloating;
        int nMask;
    };
    explicit CRecordingBar(DWORD dwSizeBarStyle = 0, bool* pbDeleted = nullptr)
        : COXSizeControlBar(dwSizeBarStyle), m_pbDeleted(pbDeleted) {}
    ~CRecordingBar() override {
        if (m_pbDeleted != nullptr)
            *m_pbDeleted = true;
    }
    void OnBarSizeChanged(int cx, int cy, BOOL bFloating, int nMask) override {
        m_changes.push_back({cx, cy, bFloating, nMask});
    }
    BOOL DrawCloseButton(CDC* pDC) override {
        ++m_nCloseDrawn;
        return COXSizeControlBar::DrawCloseButton(pDC);
    }
    std::vector<SSizeChange> m_changes;
    int m_nCloseDrawn = 0;
    bool* m_pbDeleted;
};

// Dispatches whatever is waiting, idle layout included.
inline void PumpMessages(CWnd* pFrame = nullptr) {
    PumpPending();
    if (pFrame != nullptr && pFrame->m_hWnd != nullptr)
        pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    if (pFrame != nullptr && pFrame->m_hWnd != nullptr)
        pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
}

// A visible main frame of a given client size with sizeable dock bars on all
// four sides, a pane, and COXSizableMiniDockFrameWnd as floating frame.
class SizeBarTest : public ::testing::Test {
protected:
    void SetUpFrame(CSize sizeClient) {
        m_pFrame = new CSizeBarTestFrame;
        ASSERT_TRUE(CreateDockingFrame(m_pFrame, CRect(20, 20, 400, 300), &m_pane, nullptr,
                                       RUNTIME_CLASS(COXSizableMiniDockFrameWnd)));
        m_hFrame = m_pFrame->m_hWnd;
        CRect rectWindow(0, 0, sizeClient.cx, sizeClient.cy);
        ::AdjustWindowRectEx(&rectWindow, m_pFrame->GetStyle(), FALSE, m_pFrame->GetExStyle());
        m_pFrame->SetWindowPos(nullptr, 0, 0, rectWindow.Width(), rectWindow.Height(),
                               SWP_NOMOVE | SWP_NOZORDER);
        m_pFrame->RecalcLayout();
    }
    void SetUp() override { SetUpFrame(CSize(900, 600)); }
    void TearDown() override {
        DestroyDockingFrame(m_pFrame, m_hFrame);
        for (CRecordingBar* pBar : m_bars)
            delete pBar;
        PumpMessages();
    }

    // A visible bar of the given size that may dock anywhere, docked on a side
    // (an AFX_IDW_DOCKBAR_* id) or, with 0, left floating-less in the frame.
    CRecordingBar* MakeBar(CSize size, UINT nDockBarID, DWORD dwSizeBarStyle = 0,
                           DWORD dwDockStyle = CBRS_ALIGN_ANY) {
        auto* pBar = new CRecordingBar(dwSizeBarStyle);
        m_bars.push_back(pBar);
        UINT nID = AFX_IDW_CONTROLBAR_FIRST + 0x40 + static_cast<UINT>(m_bars.size());
        EXPECT_TRUE(pBar->Create(m_pFrame, "Bar", nID, WS_CHILD | WS_VISIBLE | CBRS_TOP,
                                 CRect(CPoint(0, 0), size)));
        pBar->EnableDocking(dwDockStyle);
        if (nDockBarID != 0)
            m_pFrame->DockControlBar(pBar, nDockBarID);
        m_pFrame->RecalcLayout();
        PumpMessages(m_pFrame);
        return pBar;
    }
    // Docks pBar on a side (an AFX_IDW_DOCKBAR_* id) and lays the frame out.
    void DockAndLayout(CControlBar* pBar, UINT nDockBarID) {
        m_pFrame->DockControlBar(pBar, nDockBarID);
        m_pFrame->RecalcLayout();
        PumpMessages(m_pFrame);
    }
    COXSizeDockBar* DockBar(UINT nID) {
        return dynamic_cast<COXSizeDockBar*>(m_pFrame->GetControlBar(nID));
    }

    CSizeBarTestFrame* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
    CWnd m_pane;
    // Owned; a test that lets a bar be deleted takes it out first.
    std::vector<CRecordingBar*> m_bars;
    const int B2X = AfxGetAuxData().cxBorder2;
    const int B2Y = AfxGetAuxData().cyBorder2;
};
