// WinThread.cpp: CWinThread, AfxBeginThread, the thread state and the message pump.
#include "WinThread.h"

#include "Exception.h"
#include "HandleMap.h"
#include "Wnd.h"

#include <exception>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace {
// Plain data: no constructor or destructor runs, so it is readable at any time
// of the thread's life, static destruction included.
thread_local AFX_THREAD_STATE t_threadState;

// The caret's blink timer: not a reason to leave idle time.
const UINT kSysTimerMessage = 0x0118;
} // namespace

AFX_THREAD_STATE* AFXAPI AfxGetThreadState() {
    return &t_threadState;
}

CWinThread* AFXAPI AfxGetThread() {
    return t_threadState.m_pCurrentWinThread;
}

CWinThread::CWinThread() : CWinThread(nullptr, nullptr) {}

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pMainWnd(nullptr), m_pActiveWnd(nullptr), m_bAutoDelete(TRUE), m_hThread(nullptr),
      m_nThreadID(0), m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam) {}

CWinThread::~CWinThread() {
    if (m_hThread != nullptr)
        ::CloseHandle(m_hThread);
    if (t_threadState.m_pCurrentWinThread == this)
        t_threadState.m_pCurrentWinThread = nullptr;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize,
                              LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    if (m_hThread != nullptr) {
        TRACE("CWinThread::CreateThread: the object has a thread already.\n");
        return FALSE;
    }
    // Suspended until m_hThread is set, so the thread never sees it unset.
    DWORD nThreadID = 0;
    HANDLE hThread = ::CreateThread(lpSecurityAttrs, nStackSize, &CWinThread::ThreadEntry, this,
                                    dwCreateFlags | CREATE_SUSPENDED, &nThreadID);
    if (hThread == nullptr) {
        AfxTrace("CWinThread::CreateThread: the system refused, error %lu.\n",
                 static_cast<unsigned long>(::GetLastError()));
        return FALSE;
    }
    m_hThread = hThread;
    m_nThreadID = nThreadID;
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        ::ResumeThread(hThread);
    return TRUE;
}

DWORD WINAPI CWinThread::ThreadEntry(LPVOID pParam) {
    CWinThread* pThread = static_cast<CWinThread*>(pParam);
    t_threadState.m_pCurrentWinThread = pThread;
    DWORD nResult = 0;
    // Nothing unwinds out of the thread's entry.
    try {
        if (pThread->m_pfnThreadProc != nullptr) {
            nResult = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
        } else if (!pThread->InitInstance()) {
            if (CWnd* pMainWnd = pThread->m_pMainWnd) {
                pMainWnd->DestroyWindow();
                MSG msg; // the WM_QUIT the main window's destruction posted
                ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
            }
            nResult = static_cast<DWORD>(pThread->ExitInstance());
        } else {
            nResult = static_cast<DWORD>(pThread->Run());
        }
    } catch (CException* e) {
        AfxTrace("CWinThread: thread %lu ended by an exception.\n",
                 static_cast<unsigned long>(::GetCurrentThreadId()));
        e->Delete();
        nResult = static_cast<DWORD>(-1);
    } catch (...) {
        AfxTrace("CWinThread: thread %lu ended by an exception.\n",
                 static_cast<unsigned long>(::GetCurrentThreadId()));
        nResult = static_cast<DWORD>(-1);
    }
    t_threadState.m_pCurrentWinThread = nullptr;
    pThread->Delete();
    return nResult;
}

void CWinThread::Delete() {
    if (m_bAutoDelete)
        delete this;
}

BOOL CWinThread::InitInstance() {
    return FALSE;
}

int CWinThread::Run() {
    bool bIdle = true;
    LONG lIdleCount = 0;
    MSG msg;
    for (;;) {
        while (bIdle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++))
                bIdle = false;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&t_threadState.m_msgCur)) {
                bIdle = true;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinThread::PumpMessage() {
    MSG& msg = t_threadState.m_msgCur;
    BOOL bGot = ::GetMessageA(&msg, nullptr, 0, 0);
    if (bGot == 0)
        return FALSE; // WM_QUIT
    if (bGot == -1) {
        AfxTrace("CWinThread::PumpMessage: GetMessage failed, error %lu; ending the loop.\n",
                 static_cast<unsigned long>(::GetLastError()));
        msg.wParam = static_cast<WPARAM>(-1);
        return FALSE;
    }
    BOOL bUsed = FALSE;
    try {
        bUsed = PreTranslateMessage(&msg);
    } catch (CException* e) {
        AfxTrace("CWinThread::PumpMessage: PreTranslateMessage threw for message 0x%04X.\n",
                 msg.message);
        e->Delete();
    } catch (...) {
        AfxTrace("CWinThread::PumpMessage: PreTranslateMessage threw for message 0x%04X.\n",
                 msg.message);
    }
    if (!bUsed) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->hwnd == nullptr)
        return FALSE; // thread messages have no window to translate them
    CWnd* pMainWnd = GetMainWnd();
    HWND hWndMain = pMainWnd->GetSafeHwnd();
    if (CWnd::WalkPreTranslateTree(hWndMain, pMsg))
        return TRUE;
    // A window outside the main window (a modeless dialog, a floating frame)
    // still gets the main window's accelerators.
    if (hWndMain != nullptr && !AfxIsDescendant(hWndMain, pMsg->hwnd))
        return pMainWnd->PreTranslateMessage(pMsg);
    return FALSE;
}

namespace {

struct SIdleWalk {
    HWND hWndMain;
};

// The thread's other visible top-level windows that the main window owns
// (floating frames and bars) get the idle update as the main window does.
BOOL CALLBACK UpdateOwnedTopLevel(HWND hWnd, LPARAM lParam) {
    const SIdleWalk* pWalk = reinterpret_cast<const SIdleWalk*>(lParam);
    if (hWnd == pWalk->hWndMain || !::IsWindowVisible(hWnd))
        return TRUE;
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr || !AfxIsDescendant(pWalk->hWndMain, hWnd))
        return TRUE;
    ::SendMessageA(hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
    pWnd = CWnd::FromHandlePermanent(hWnd); // it may have gone in the update
    if (pWnd != nullptr)
        pWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    return TRUE;
}

} // namespace

BOOL CWinThread::OnIdle(LONG lCount) {
    if (lCount <= 0) {
        CWnd* pMainWnd = GetMainWnd();
        HWND hWndMain = pMainWnd->GetSafeHwnd();
        // A main window of another thread is that thread's to update: a send
        // across threads from idle time could wait on a thread that waits on us.
        if (hWndMain != nullptr && ::IsWindowVisible(hWndMain) &&
            ::GetWindowThreadProcessId(hWndMain, nullptr) == ::GetCurrentThreadId()) {
            // Through the window's whole procedure chain: subclassers of the main
            // window check their state on this message.
            ::SendMessageA(hWndMain, WM_IDLEUPDATECMDUI, TRUE, 0);
            if (CWnd* pMain = CWnd::FromHandlePermanent(hWndMain))
                pMain->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
            SIdleWalk walk = {hWndMain};
            ::EnumThreadWindows(::GetCurrentThreadId(), &UpdateOwnedTopLevel,
                                reinterpret_cast<LPARAM>(&walk));
        }
        return TRUE;
    }
    // A temporary object handed out inside a window procedure must outlive it.
    if (t_threadState.m_nWndProcDepth == 0)
        AfxDeleteTempGdiObjects();
    return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg) {
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        // Mouse moves to the same place (the system repeats them) change nothing.
        if (pMsg->message == t_threadState.m_nMsgLast &&
            pMsg->pt.x == t_threadState.m_ptCursorLast.x &&
            pMsg->pt.y == t_threadState.m_ptCursorLast.y)
            return FALSE;
        t_threadState.m_ptCursorLast = pMsg->pt;
        t_threadState.m_nMsgLast = pMsg->message;
        return TRUE;
    }
    return pMsg->message != WM_PAINT && pMsg->message != kSysTimerMessage;
}

int CWinThread::ExitInstance() {
    return static_cast<int>(t_threadState.m_msgCur.wParam);
}

LRESULT CWinThread::ProcessWndProcException(CException* e, const MSG* pMsg) {
    return AfxProcessWndProcException(e, pMsg);
}

LRESULT AFXAPI AfxProcessWndProcException(CException* e, const MSG* pMsg) {
    char szText[256] = "an exception that is no CException";
    if (e != nullptr && !e->GetErrorMessage(szText, sizeof(szText)))
        lstrcpynA(szText, e->GetRuntimeClass()->m_lpszClassName, sizeof(szText));
    AfxTrace("Message 0x%04X to window %p: a handler let an exception escape (%s).\n",
             pMsg->message, pMsg->hwnd, szText);
    if (pMsg->message == WM_CREATE)
        return -1; // the creation fails
    if (pMsg->message == WM_PAINT)
        ::ValidateRect(pMsg->hwnd, nullptr); // or WM_PAINT would come back at once
    return 0;
}

// ---------------------------------------------------------------------------
// Starting threads and pumping.

CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority,
                                  UINT nStackSize, DWORD dwCreateFlags,
                                  LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    if (pfnThreadProc == nullptr)
        return nullptr;
    CWinThread* pThread = new CWinThread(pfnThreadProc, pParam);
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
        delete pThread;
        return nullptr;
    }
    pThread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        pThread->ResumeThread();
    return pThread;
}

CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize,
                                  DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    if (pThreadClass == nullptr || !pThreadClass->IsDerivedFrom(RUNTIME_CLASS(CWinThread))) {
        TRACE("AfxBeginThread: the class is no CWinThread.\n");
        return nullptr;
    }
    CWinThread* pThread = static_cast<CWinThread*>(pThreadClass->CreateObject());
    if (pThread == nullptr)
        return nullptr;
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
        delete pThread;
        return nullptr;
    }
    pThread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        pThread->ResumeThread();
    return pThread;
}

BOOL AFXAPI AfxPumpMessage() {
    if (CWinThread* pThread = AfxGetThread()) {
        if (pThread->PumpMessage())
            return TRUE;
    } else {
        MSG& msg = t_threadState.m_msgCur;
        BOOL bGot = ::GetMessageA(&msg, nullptr, 0, 0);
        if (bGot != 0 && bGot != -1) {
            if (!CWnd::WalkPreTranslateTree(nullptr, &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
            return TRUE;
        }
    }
    // The outer loop must see the quit too.
    ::PostQuitMessage(static_cast<int>(t_threadState.m_msgCur.wParam));
    return FALSE;
}
