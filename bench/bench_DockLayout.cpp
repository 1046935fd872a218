// Benchmarks of one layout pass of a frame with ten docked sizeable bars (three
// on the left, three at the bottom, two on the right, two at the top), in the
// "Office 2003" skin: what a drag or a frame resize costs each time it lays the
// frame out. Three passes are measured: with nothing changed, with the frame's
// width changed (the rows' lengths are shared out again), the same with the
// windows painted afterwards, and with one column made thicker or thinner as a
// splitter drag does.
#include "native/benchmark.h"

#include "toolkit/OXSizableMiniDockFrameWnd.h"
#include "toolkit/OXSizeCtrlBar.h"
#include "toolkit/OXSizeDockBar.h"
#include "toolkit/OXSkinnedApp.h"

#include <memory>
#include <vector>

namespace {

COXSkinnedApp theApp;

class CBenchFrame : public CFrameWnd {
protected:
    afx_msg LRESULT OnQueryTabDocking(WPARAM, LPARAM) { return 1; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBenchFrame, CFrameWnd)
ON_MESSAGE(WM_QUERYTABDOCKING, &CBenchFrame::OnQueryTabDocking)
END_MESSAGE_MAP()

struct SBarPlace {
    UINT nDockBarID;
    DWORD dwDockStyle;
};

const SBarPlace kPlaces[] = {
    {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT},     {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT},     {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM}, {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT},   {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT},
    {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP},       {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP},
};

struct Fixture {
    CBenchFrame* pFrame = nullptr;
    CWnd pane;
    std::vector<std::unique_ptr<COXSizeControlBar>> bars;

    bool Create() {
        theApp.SetCurrentSkin("Office 2003");
        pFrame = new CBenchFrame;
        if (!pFrame->Create(nullptr, "Docking", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                            CRect(0, 0, 1200, 900)))
            return false;
        theApp.m_pMainWnd = pFrame;
        if (!pane.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), pFrame,
                         AFX_IDW_PANE_FIRST))
            return false;
        pFrame->m_pFloatingFrameClass = RUNTIME_CLASS(COXSizableMiniDockFrameWnd);
        pFrame->EnableDocking(CBRS_ALIGN_ANY, RUNTIME_CLASS(COXSizeDockBar));
        UINT nID = AFX_IDW_CONTROLBAR_FIRST + 0x40;
        // Bars after the first of a side join its row (the first bar's rectangle
        // moved along the side), so the rows have several bars to share out.
        CRect rectFirst[4];
        int nOnSide[4] = {};
        for (const SBarPlace& place : kPlaces) {
            auto pBar = std::make_unique<COXSizeControlBar>();
            if (!pBar->Create(pFrame, "Bar", nID++, WS_CHILD | WS_VISIBLE | CBRS_TOP,
                              CRect(0, 0, 200, 150)))
                return false;
            pBar->EnableDocking(place.dwDockStyle);
            const int nSide = static_cast<int>(place.nDockBarID - AFX_IDW_DOCKBAR_TOP);
            if (nOnSide[nSide]++ == 0) {
                pFrame->DockControlBar(pBar.get(), place.nDockBarID);
                pFrame->RecalcLayout();
                pBar->GetWindowRect(&rectFirst[nSide]);
            } else {
                CRect rect = rectFirst[nSide];
                if (place.dwDockStyle & CBRS_ORIENT_HORZ)
                    rect.OffsetRect(rect.Width() * (nOnSide[nSide] - 1) + 40, 0);
                else
                    rect.OffsetRect(0, rect.Height() * (nOnSide[nSide] - 1) + 40);
                pFrame->DockControlBar(pBar.get(), place.nDockBarID, &rect);
            }
            pFrame->RecalcLayout();
            bars.push_back(std::move(pBar));
        }
        return true;
    }
    void Destroy() {
        pFrame->DestroyWindow();
        bars.clear();
        theApp.m_pMainWnd = nullptr;
    }
};

// state.range(0): 0 lays the frame out as it is; 1 changes the frame's width,
// which lays it out; 2 paints the frame and its bars after that; 3 changes the
// thickness of the left column and lays the frame out.
void BM_DockLayoutTenBars(benchmark::State& state) {
    Fixture f;
    if (!f.Create()) {
        state.SkipWithError("the frame or its bars could not be created");
        return;
    }
    int nWidth = 1200;
    int nThickness = 220;
    for (auto _ : state) {
        if (state.range(0) == 0) {
            f.pFrame->RecalcLayout();
            continue;
        }
        if (state.range(0) == 3) {
            // What each step of a row splitter's drag does: the left column
            // gets another thickness and the frame lays out.
            nThickness = nThickness == 220 ? 230 : 220;
            for (int i = 0; i < 3; ++i)
                f.bars[i]->m_sizeVertDock.cx = nThickness;
            f.pFrame->RecalcLayout();
            continue;
        }
        // The frame lays itself out on the WM_SIZE of its new width.
        nWidth = nWidth == 1200 ? 1180 : 1200;
        f.pFrame->SetWindowPos(nullptr, 0, 0, nWidth, 900,
                               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (state.range(0) == 2)
            ::RedrawWindow(f.pFrame->m_hWnd, nullptr, nullptr,
                           RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW |
                               RDW_ALLCHILDREN);
    }
    f.Destroy();
}
BENCHMARK(BM_DockLayoutTenBars)->Arg(0)->Arg(3)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace
