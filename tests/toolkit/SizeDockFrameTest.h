// SizeDockFrameTest.h: the fixture that the tests of sizeable dock bars and
// their tab strips share: a visible frame with sizeable dock bars on all four
// sides and a pane, and the bars it makes and owns. It defines no message
// map, so any number of a program's sources may include it.
#pragma once

#include "DockingFrameSetUp.h"

#include "toolkit/OXSizeCtrlBar.h"
#include "toolkit/OXSizeDockBar.h"

#include "framework/FrameWnd.h"
#include "framework/WinApp.h"

#include "native/gtest.h"
#include "tests/support/GeometryPrint.h"
#include "tests/support/UiScript.h"
#include "tests/support/WindowRects.h"

#include <memory>
#include <vector>

class SizeDockFrameTest : public ::testing::Test {
protected:
    static constexpr UINT kFirstBarID = AFX_IDW_CONTROLBAR_FIRST + 0x40;

    void SetUp() override {
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(
            CreateDockingFrame(m_pFrame, CRect(40, 40, 940, 740), &m_pane, "Static", nullptr));
        m_hFrame = m_pFrame->m_hWnd;
    }
    void TearDown() override {
        DestroyDockingFrame(m_pFrame, m_hFrame);
        m_ownedBars.clear();
        PumpPending();
    }

    COXSizeDockBar* Dock(UINT nID) {
        return DYNAMIC_DOWNCAST(COXSizeDockBar, m_pFrame->GetControlBar(nID));
    }
    // A visible sizeable bar of the given size in the frame, not yet docked.
    COXSizeControlBar* MakeBar(CSize size, DWORD dwDockStyle = CBRS_ALIGN_ANY,
                               const char* lpszTitle = "Bar") {
        COXSizeControlBar* pBar = Own(std::make_unique<COXSizeControlBar>(0));
        EXPECT_TRUE(pBar->Create(m_pFrame, lpszTitle, NewBarID(), WS_CHILD | WS_VISIBLE | CBRS_TOP,
                                 CRect(CPoint(0, 0), size)));
        pBar->EnableDocking(dwDockStyle);
        return pBar;
    }
    // Keeps pBar until the end of the test; bars live longer than the frame.
    template <class TBar> TBar* Own(std::unique_ptr<TBar> pBar) {
        m_ownedBars.push_back(std::move(pBar));
        return static_cast<TBar*>(m_ownedBars.back().get());
    }
    // The next free id, one per bar made.
    UINT NewBarID() const { return kFirstBarID + static_cast<UINT>(m_ownedBars.size()); }

    CFrameWnd* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
    CWnd m_pane;

private:
    std::vector<std::unique_ptr<CControlBar>> m_ownedBars;
};
