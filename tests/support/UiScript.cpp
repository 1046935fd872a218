#include "UiScript.h"

#include <string>

namespace {

const UINT kTickMilliseconds = 10;
const int kStallTicks = 1000;
const int kMessageBoxTextId = 0xFFFF;

struct FindData {
    HWND hWndExclude;
    bool bMessageBox;
    HWND hWndFound;
};

BOOL CALLBACK FindDialogProc(HWND hWnd, LPARAM lParam) {
    auto* pData = reinterpret_cast<FindData*>(lParam);
    char szClass[16] = "";
    ::GetClassNameA(hWnd, szClass, sizeof szClass);
    if (hWnd != pData->hWndExclude && std::string(szClass) == "#32770" && ::IsWindowVisible(hWnd) &&
        (!pData->bMessageBox || ::GetDlgItem(hWnd, kMessageBoxTextId) != nullptr)) {
        pData->hWndFound = hWnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

CUiScript* CUiScript::s_pCurrent = nullptr;

CUiScript::CUiScript(std::function<void()> onStall, std::vector<Step> steps)
    : m_steps(std::move(steps)), m_onStall(std::move(onStall)) {
    s_pCurrent = this;
    m_nTimer = ::SetTimer(nullptr, 0, kTickMilliseconds, &CUiScript::OnTick);
}

CUiScript::~CUiScript() {
    ::KillTimer(nullptr, m_nTimer);
    s_pCurrent = nullptr;
}

void CALLBACK CUiScript::OnTick(HWND, UINT, UINT_PTR, DWORD) {
    CUiScript* pScript = s_pCurrent;
    if (pScript == nullptr || pScript->m_bRunning || pScript->Finished())
        return;
    pScript->m_bRunning = true;
    if (pScript->m_steps[pScript->m_nNext]()) {
        ++pScript->m_nNext;
        pScript->m_nIdleTicks = 0;
    } else if (++pScript->m_nIdleTicks > kStallTicks && !pScript->m_bStalled) {
        pScript->m_bStalled = true;
        if (pScript->m_onStall)
            pScript->m_onStall();
    }
    pScript->m_bRunning = false;
}

HWND FindThreadDialog(HWND hWndExclude, bool bMessageBox) {
    FindData data = {hWndExclude, bMessageBox, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialogProc, reinterpret_cast<LPARAM>(&data));
    return data.hWndFound;
}

void PumpPending() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

int TakeQuitMessage() {
    MSG msg;
    if (!::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        return -1;
    return static_cast<int>(msg.wParam);
}

bool PumpUntil(const std::function<bool()>& pred) {
    for (int i = 0; i < 2000 && !pred(); ++i) {
        PumpPending();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return pred();
}

void Settle(DWORD nMilliseconds) {
    const DWORD nStart = ::GetTickCount();
    do {
        PumpPending();
        ::Sleep(10);
    } while (::GetTickCount() - nStart < nMilliseconds);
}
