// Benchmarks of the menu bar's response through the menu-bar frame's hooks:
// from a keystroke (Alt, then Down, through the keyboard hook) to the popup on
// the screen, and from a mouse move onto the next bar item while a popup is
// open (through the mouse hook) to that item's popup on the screen. The input
// is real (SendInput), so the wall time holds the trip through the X server;
// the counter "cpu_ms" is this process's own processor time (user and kernel)
// over the same span, the work the program itself does (Wine's user32 and X11
// driver included; Wine counts processor time in 10 ms ticks, so it is the
// mean of many spans that says something). For comparison, the same popup
// opened straight with TrackPopupMenu, without the menu bar.
//
// A popup counts as shown when its window ("#32768") is shown (WM_SHOWWINDOW
// or a position change that shows it). The
// popup's own message loop runs inside the dispatch of the input, so a thread
// timer, which that loop still dispatches, closes it (or moves the mouse on).
#include "native/benchmark.h"

#include "toolkit/OXMenuBarFrame.h"
#include "toolkit/OXSizableMiniDockFrameWnd.h"
#include "toolkit/OXSkinnedApp.h"

#include <cstring>

namespace {

COXSkinnedApp theApp;

using CBenchFrame = COXMenuBarFrame<CMDIFrameWnd, COXSizeDockBar>;

// Wait for the X server and the popups at most this long per step.
const DWORD kStepTimeoutMs = 3000;

LONGLONG Now() {
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

double Seconds(LONGLONG nTicks) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(nTicks) / static_cast<double>(frequency.QuadPart);
}

// This process's processor time, in 100-nanosecond units.
ULONGLONG ProcessCpu() {
    FILETIME ftCreation, ftExit, ftKernel, ftUser;
    ::GetProcessTimes(::GetCurrentProcess(), &ftCreation, &ftExit, &ftKernel, &ftUser);
    auto value = [](const FILETIME& ft) {
        return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    };
    return value(ftKernel) + value(ftUser);
}

// What one measurement waits for and what it saw.
struct SProbe {
    int nShownWanted = 0; // popups to see shown before the span ends
    int nShown = 0;
    LONGLONG tStart = 0, tShown = 0;
    ULONGLONG cpuStart = 0, cpuShown = 0;
    CPoint ptHover;      // hover: where the mouse goes once the first popup is up
    BOOL bHover = FALSE; // hover: the move has been sent
    DWORD dwArmed = 0;   // GetTickCount when the measurement began
};
SProbe g_probe;
HHOOK g_hShowHook = nullptr;

bool IsPopupMenuWindow(HWND hWnd) {
    char szClass[16] = "";
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    return std::strcmp(szClass, "#32768") == 0;
}

LRESULT CALLBACK ShowHook(int nCode, WPARAM wParam, LPARAM lParam) {
    const auto* pMsg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    const bool bShown =
        (pMsg->message == WM_SHOWWINDOW && pMsg->wParam) ||
        (pMsg->message == WM_WINDOWPOSCHANGED &&
         (reinterpret_cast<const WINDOWPOS*>(pMsg->lParam)->flags & SWP_SHOWWINDOW));
    if (nCode == HC_ACTION && bShown && IsPopupMenuWindow(pMsg->hwnd)) {
        if (++g_probe.nShown == g_probe.nShownWanted) {
            g_probe.tShown = Now();
            g_probe.cpuShown = ProcessCpu();
        }
    }
    return ::CallNextHookEx(g_hShowHook, nCode, wParam, lParam);
}

void MoveMouse(CPoint ptScreen) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (ptScreen.x * 65535) / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = (ptScreen.y * 65535) / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof(input));
}

void SendKey(WORD wVk, bool bUp) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = wVk;
    input.ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof(input));
}

// Ticks inside the popups' loops: starts the hover once the first popup is
// up, and closes the popup the span ended with.
void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
    // A popup that never counts as shown is closed all the same, so that a
    // failed measurement cannot hold the program in the popup's loop.
    if (g_probe.nShownWanted != 0 && ::GetTickCount() - g_probe.dwArmed > kStepTimeoutMs) {
        ::EndMenu();
        return;
    }
    if (g_probe.nShown == 0)
        return;
    if (g_probe.ptHover != CPoint(0, 0) && !g_probe.bHover) {
        g_probe.bHover = TRUE;
        g_probe.tStart = Now();
        g_probe.cpuStart = ProcessCpu();
        MoveMouse(g_probe.ptHover);
        return;
    }
    if (g_probe.nShown >= g_probe.nShownWanted)
        ::EndMenu();
}

template <class PRED> bool PumpUntil(PRED pred) {
    const DWORD dwStart = ::GetTickCount();
    while (!pred()) {
        if (::GetTickCount() - dwStart > kStepTimeoutMs)
            return false;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(1);
    }
    return true;
}

void PumpFor(DWORD dwMilliseconds) {
    const DWORD dwStart = ::GetTickCount();
    PumpUntil([&] { return ::GetTickCount() - dwStart >= dwMilliseconds; });
}

struct Fixture {
    CBenchFrame* pFrame = nullptr;
    CMenu menu;
    UINT_PTR nTimer = 0;

    bool Create() {
        theApp.SetCurrentSkin("Office 2003");
        pFrame = new CBenchFrame(CBRS_ALIGN_ANY, RUNTIME_CLASS(COXSizableMiniDockFrameWnd));
        if (!pFrame->Create(nullptr, "Menu bar", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                            CRect(0, 0, 900, 600)))
            return false;
        theApp.m_pMainWnd = pFrame;
        // The frame's menu: four popups of a few commands each.
        static const char* const kTitles[] = {"&File", "&Edit", "&View", "&Help"};
        menu.CreateMenu();
        UINT nID = 0xE100;
        for (const char* pszTitle : kTitles) {
            CMenu popup;
            popup.CreatePopupMenu();
            for (int i = 0; i < 6; ++i) {
                char szItem[32];
                wsprintfA(szItem, "Command &%d", i + 1);
                popup.AppendMenu(MF_STRING, nID++, szItem);
            }
            menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(popup.Detach()), pszTitle);
        }
        pFrame->SetMenu(&menu);
        pFrame->RecalcLayout();
        pFrame->SetForegroundWindow();
        pFrame->SetFocus();
        g_hShowHook =
            ::SetWindowsHookExA(WH_CALLWNDPROC, ShowHook, nullptr, ::GetCurrentThreadId());
        nTimer = ::SetTimer(nullptr, 0, 1, OnTick);
        return PumpUntil([this] { return ::GetActiveWindow() == pFrame->m_hWnd; });
    }
    void Destroy() {
        ::KillTimer(nullptr, nTimer);
        ::UnhookWindowsHookEx(g_hShowHook);
        g_hShowHook = nullptr;
        pFrame->DestroyWindow();
        theApp.m_pMainWnd = nullptr;
    }
    COXMenuBar& Bar() { return pFrame->GetMenuBar(); }
    CPoint ItemCentre(int nItem) {
        CRect rect;
        Bar().GetMenuItemRect(nItem, &rect);
        Bar().ClientToScreen(&rect);
        return rect.CenterPoint();
    }
    // Ends the span: the popup shown and closed again, the bar idle.
    bool WaitForSpan(benchmark::State& state) {
        if (!PumpUntil([] { return g_probe.nShown >= g_probe.nShownWanted; }) ||
            !PumpUntil([this] { return !Bar().IsPopupOpen(); })) {
            ::EndMenu();
            state.SkipWithError("no popup shown");
            return false;
        }
        state.SetIterationTime(Seconds(g_probe.tShown - g_probe.tStart));
        state.counters["cpu_ms"] +=
            static_cast<double>(g_probe.cpuShown - g_probe.cpuStart) / 10000.0;
        Bar().SetSurfingMode(FALSE, -1);
        return true;
    }
};

// Alt pressed and released alone selects the bar; Down then opens the first
// popup. Measured: from Down to the popup shown.
void BM_KeyToPopup(benchmark::State& state) {
    Fixture f;
    if (!f.Create()) {
        state.SkipWithError("the frame could not be created or activated");
        return;
    }
    for (auto _ : state) {
        g_probe = SProbe{};
        g_probe.nShownWanted = 1;
        g_probe.dwArmed = ::GetTickCount();
        SendKey(VK_MENU, false);
        SendKey(VK_MENU, true);
        if (!PumpUntil([&f] { return f.Bar().IsInSurfingMode() != FALSE; })) {
            state.SkipWithError("Alt did not select the bar");
            break;
        }
        g_probe.tStart = Now();
        g_probe.cpuStart = ProcessCpu();
        SendKey(VK_DOWN, false);
        SendKey(VK_DOWN, true);
        if (!f.WaitForSpan(state))
            break;
    }
    state.counters["cpu_ms"] /= static_cast<double>(state.iterations());
    f.Destroy();
}
BENCHMARK(BM_KeyToPopup)->UseManualTime()->Iterations(60)->Unit(benchmark::kMillisecond);

// With the first item's popup open, the mouse moves onto the second item.
// Measured: from that move to the second popup shown.
void BM_HoverToNextPopup(benchmark::State& state) {
    Fixture f;
    if (!f.Create()) {
        state.SkipWithError("the frame could not be created or activated");
        return;
    }
    const CPoint ptFirst = f.ItemCentre(0), ptSecond = f.ItemCentre(1);
    int nIteration = 0;
    for (auto _ : state) {
        MoveMouse(ptFirst);
        PumpFor(100); // the move arrives before the popup opens
        g_probe = SProbe{};
        g_probe.nShownWanted = 2;
        g_probe.dwArmed = ::GetTickCount();
        // The hook ignores a move to the point it saw last (the move a popup
        // makes appear under a still cursor), so each hover ends elsewhere.
        g_probe.ptHover = ptSecond + CPoint(nIteration++ % 4, 0);
        f.Bar().PostMessage(WM_OX_MENUBAR_OPENITEM, 0);
        if (!f.WaitForSpan(state))
            break;
    }
    state.counters["cpu_ms"] /= static_cast<double>(state.iterations());
    f.Destroy();
}
BENCHMARK(BM_HoverToNextPopup)->UseManualTime()->Iterations(60)->Unit(benchmark::kMillisecond);

// The system's share: the first popup opened straight with TrackPopupMenu,
// below the bar, owned by the frame.
void BM_PlainTrackPopupMenu(benchmark::State& state) {
    Fixture f;
    if (!f.Create()) {
        state.SkipWithError("the frame could not be created or activated");
        return;
    }
    CRect rectItem;
    f.Bar().GetMenuItemRect(0, &rectItem);
    f.Bar().ClientToScreen(&rectItem);
    const HMENU hPopup = ::GetSubMenu(f.Bar().GetMenuHandle(), 0);
    for (auto _ : state) {
        g_probe = SProbe{};
        g_probe.nShownWanted = 1;
        g_probe.dwArmed = ::GetTickCount();
        g_probe.tStart = Now();
        g_probe.cpuStart = ProcessCpu();
        ::TrackPopupMenu(hPopup, TPM_LEFTALIGN | TPM_TOPALIGN, rectItem.left, rectItem.bottom, 0,
                         f.pFrame->m_hWnd, nullptr);
        if (!f.WaitForSpan(state))
            break;
    }
    state.counters["cpu_ms"] /= static_cast<double>(state.iterations());
    f.Destroy();
}
BENCHMARK(BM_PlainTrackPopupMenu)->UseManualTime()->Iterations(60)->Unit(benchmark::kMillisecond);

} // namespace
