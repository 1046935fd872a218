// Benchmarks of the shortcut bar's layout and painting: a group list of 1,000
// items laid out (the list's CalculateBoundRects) in both views and painted
// whole (one WM_PAINT of the list), a whole WM_PAINT of the bar, and one
// animated expansion, frame by frame.
//
// The expansion slides the headers in N = height / 20 steps with a pause of
// 100 / N ms after each, so a frame is planned to take 100 / N ms; the
// animation keeps its frame rate while each frame's repaint stays well inside
// that. Reported per expansion: "frames", "planned_frame_ms" (100 / N, whole
// milliseconds as the bar sleeps), "paint_ms" (mean repaint of a frame, from
// WM_PAINT in to WM_PAINT out), "paint_max_ms", "frame_ms" (mean time from
// one frame's paint to the next, the frame period the eye sees: the sleep,
// and the previous group's list laying itself out again as it shrinks), and
// "late_frames" (frames whose period exceeds the plan by more than 10 ms, one
// tick of Wine's sleeps). The iteration time is the whole expansion, planned
// at about 100 ms.
#include "native/benchmark.h"

#include "toolkit/OXSHBListCtrl.h"
#include "toolkit/OXShortcutBar.h"
#include "toolkit/OXSkinnedApp.h"

#include "framework/ImageList.h"
#include "framework/Wnd.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

COXSkinnedApp theApp;

const int kItems = 1000;
const int kBarWidth = 220;
// Three 18-pixel headers, a 300-pixel child rectangle and its margins: N = 15.
const int kBarHeight = 3 * 18 + 300 + 10;
const UINT kRedrawNow = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;

LONGLONG Now() {
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

double Milliseconds(LONGLONG nTicks) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(nTicks) / static_cast<double>(frequency.QuadPart);
}

void PumpPending() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// A bar that times each WM_PAINT while asked to.
class CTimedBar : public COXShortcutBar {
public:
    struct Frame {
        LONGLONG tStart, tEnd;
    };
    bool m_bTiming = false;
    std::vector<Frame> m_frames;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_PAINT || !m_bTiming)
            return COXShortcutBar::WindowProc(message, wParam, lParam);
        const LONGLONG tStart = Now();
        const LRESULT lResult = COXShortcutBar::WindowProc(message, wParam, lParam);
        m_frames.push_back({tStart, Now()});
        return lResult;
    }
};

// A popup holding a bar of three groups with lists: the first with
// nFirstItems items, the others with a screenful each.
struct Fixture {
    CWnd owner;
    std::unique_ptr<CTimedBar> pBar;
    CImageList ilLarge, ilSmall;
    HSHBGROUP hGroups[3] = {};

    bool Create(const char* pszSkin, int nFirstItems = kItems) {
        theApp.m_pMainWnd = nullptr;
        if (!theApp.SetCurrentSkin(pszSkin))
            return false;
        if (!owner.CreateEx(0, AfxRegisterWndClass(0), "Shortcut bar",
                            WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, kBarWidth, kBarHeight,
                            nullptr, nullptr))
            return false;
        pBar = std::make_unique<CTimedBar>();
        if (!pBar->Create(&owner, CRect(0, 0, kBarWidth, kBarHeight), SHBS_ANIMATEEXPAND))
            return false;
        if (!ilLarge.Create(32, 32, ILC_COLOR32 | ILC_MASK, 4, 0) ||
            !ilSmall.Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 0))
            return false;
        for (LPCSTR pszIcon : {IDI_APPLICATION, IDI_ERROR, IDI_WARNING, IDI_INFORMATION}) {
            HICON hIcon = ::LoadIconA(nullptr, pszIcon);
            ilLarge.Add(hIcon);
            ilSmall.Add(hIcon);
        }
        for (int nGroup = 0; nGroup < 3; ++nGroup) {
            char szText[32];
            snprintf(szText, sizeof(szText), "Group %d", nGroup);
            SHB_GROUPINFO info;
            info.nMask = SHBIF_TEXT;
            info.pszText = szText;
            info.nTextMax = static_cast<int>(strlen(szText));
            hGroups[nGroup] = pBar->InsertGroup(&info);
            COXSHBListCtrl* pList = pBar->GetGroupListCtrl(hGroups[nGroup]);
            if (pList == nullptr)
                return false;
            pList->SetImageList(&ilLarge, LVSIL_NORMAL);
            pList->SetImageList(&ilSmall, LVSIL_SMALL);
            const int nCount = nGroup == 0 ? nFirstItems : 20;
            for (int i = 0; i < nCount; ++i) {
                snprintf(szText, sizeof(szText), "Item %d", i);
                pList->InsertItem(i, szText, i % 4);
            }
        }
        pBar->ExpandGroup(hGroups[0]);
        PumpPending();
        return pBar->GetExpandedGroup() == hGroups[0];
    }
    COXSHBListCtrl* List() { return pBar->GetGroupListCtrl(hGroups[0]); }
    void Destroy() {
        pBar.reset();
        owner.DestroyWindow();
        PumpPending();
    }
};

// The layout of 1,000 items; the argument is the view.
void BM_ListLayout(benchmark::State& state) {
    Fixture f;
    if (!f.Create("Classic")) {
        state.SkipWithError("the bar could not be made");
        return;
    }
    f.pBar->SetGroupView(f.hGroups[0], static_cast<int>(state.range(0)));
    COXSHBListCtrl* pList = f.List();
    for (auto _ : state)
        pList->CalculateBoundRects();
    state.SetItemsProcessed(state.iterations() * kItems);
    f.Destroy();
}
BENCHMARK(BM_ListLayout)->Arg(SHB_LARGEICON)->Arg(SHB_SMALLICON)->Unit(benchmark::kMicrosecond);

// One whole WM_PAINT of the list of 1,000 items, scrolled to its middle.
void BM_ListPaint(benchmark::State& state) {
    Fixture f;
    if (!f.Create("Office 2003")) {
        state.SkipWithError("the bar could not be made");
        return;
    }
    f.pBar->SetGroupView(f.hGroups[0], static_cast<int>(state.range(0)));
    COXSHBListCtrl* pList = f.List();
    pList->EnsureVisible(kItems / 2, FALSE);
    PumpPending();
    for (auto _ : state)
        pList->RedrawWindow(nullptr, nullptr, kRedrawNow);
    f.Destroy();
}
BENCHMARK(BM_ListPaint)->Arg(SHB_LARGEICON)->Arg(SHB_SMALLICON)->Unit(benchmark::kMicrosecond);

// One whole WM_PAINT of the bar (its headers and background; the list paints
// itself).
void BM_BarPaint(benchmark::State& state) {
    Fixture f;
    if (!f.Create(state.range(0) == 0 ? "Classic" : "Office 2003")) {
        state.SkipWithError("the bar could not be made");
        return;
    }
    for (auto _ : state)
        f.pBar->RedrawWindow(nullptr, nullptr, kRedrawNow);
    f.Destroy();
}
BENCHMARK(BM_BarPaint)->ArgName("office2003")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One animated expansion from the first group to the last, frame by frame;
// the argument is the number of items in the first group's list, which
// shrinks at every frame (the way back is not measured).
void BM_ExpandAnimation(benchmark::State& state) {
    Fixture f;
    if (!f.Create("Classic", static_cast<int>(state.range(0))) ||
        f.pBar->GetChildWndRect().Height() != 300) {
        state.SkipWithError("the bar could not be made");
        return;
    }
    const int nSteps = f.pBar->GetChildWndRect().Height() / 20;
    const double dPlannedMs = 100 / nSteps;
    double dFrames = 0, dPaintMs = 0, dPaintMaxMs = 0, dPeriodMs = 0, dLate = 0;
    int nPeriods = 0;
    for (auto _ : state) {
        f.pBar->m_frames.clear();
        f.pBar->m_bTiming = true;
        const LONGLONG tStart = Now();
        f.pBar->ExpandGroup(f.hGroups[2]);
        const LONGLONG tEnd = Now();
        f.pBar->m_bTiming = false;
        state.SetIterationTime(Milliseconds(tEnd - tStart) / 1000.0);

        // Every paint but the last is a frame of the slide; the last shows
        // the final layout.
        const size_t nFrames = f.pBar->m_frames.size() > 0 ? f.pBar->m_frames.size() - 1 : 0;
        dFrames += static_cast<double>(nFrames);
        for (size_t i = 0; i < nFrames; ++i) {
            const CTimedBar::Frame& frame = f.pBar->m_frames[i];
            const double dPaint = Milliseconds(frame.tEnd - frame.tStart);
            dPaintMs += dPaint;
            dPaintMaxMs = std::max(dPaintMaxMs, dPaint);
            if (i + 1 < nFrames) {
                const double dPeriod = Milliseconds(f.pBar->m_frames[i + 1].tStart - frame.tStart);
                dPeriodMs += dPeriod;
                ++nPeriods;
                if (dPeriod > dPlannedMs + 10)
                    dLate += 1;
            }
        }
        PumpPending();
        f.pBar->ExpandGroup(f.hGroups[0]);
        PumpPending();
    }
    const double dIterations = static_cast<double>(state.iterations());
    state.counters["frames"] = dFrames / dIterations;
    state.counters["planned_frame_ms"] = dPlannedMs;
    state.counters["paint_ms"] = dFrames > 0 ? dPaintMs / dFrames : 0;
    state.counters["paint_max_ms"] = dPaintMaxMs;
    state.counters["frame_ms"] = nPeriods > 0 ? dPeriodMs / nPeriods : 0;
    state.counters["late_frames"] = dLate / dIterations;
    f.Destroy();
}
BENCHMARK(BM_ExpandAnimation)
    ->ArgName("items")
    ->Arg(20)
    ->Arg(kItems)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

} // namespace
