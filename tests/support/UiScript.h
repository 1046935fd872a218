// UiScript.h: CUiScript, steps that a test runs from a thread timer while a modal
// loop (a dialog, a property sheet, a common dialog) owns the thread, and the
// window-finding and pumping helpers such tests share.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

class CUiScript {
public:
    using Step = std::function<bool()>;

    // Each tick runs the current step until it answers true. A script that makes
    // no progress for about ten seconds calls onStall once (typically pressing
    // Cancel), so a broken window fails its test instead of hanging it.
    CUiScript(std::function<void()> onStall, std::vector<Step> steps);
    explicit CUiScript(std::vector<Step> steps) : CUiScript(nullptr, std::move(steps)) {}
    ~CUiScript();
    CUiScript(const CUiScript&) = delete;
    CUiScript& operator=(const CUiScript&) = delete;

    bool Finished() const { return m_nNext == m_steps.size(); }
    bool Stalled() const { return m_bStalled; }

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD);

    static CUiScript* s_pCurrent;
    std::vector<Step> m_steps;
    std::function<void()> m_onStall;
    size_t m_nNext = 0;
    int m_nIdleTicks = 0;
    bool m_bRunning = false; // a step that runs a nested loop gets no re-entry
    bool m_bStalled = false;
    UINT_PTR m_nTimer = 0;
};

// The visible dialog-class window of this thread other than hWndExclude, or null;
// with bMessageBox only one that carries a message box's text control.
HWND FindThreadDialog(HWND hWndExclude = nullptr, bool bMessageBox = false);

// Runs the thread's messages until pred holds; false when it never does.
bool PumpUntil(const std::function<bool()>& pred);
// Dispatches the messages waiting in the thread's queue.
void PumpPending();
// Takes the WM_QUIT waiting in the thread's queue (a loop that meets one must
// put it back) and gives its exit code; -1 when there is none.
int TakeQuitMessage();
// Runs the thread's messages for a while, so that every window has painted
// and Wine has put the painting on the X screen.
void Settle(DWORD nMilliseconds = 300);
