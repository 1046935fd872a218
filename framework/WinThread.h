// WinThread.h: CWinThread, AfxBeginThread, the per-thread state AFX_THREAD_STATE
// and the message-pump helpers.
//
// A CWinThread is either a worker (a function run on a new thread) or a
// user-interface thread (InitInstance, then the message loop Run, then
// ExitInstance). Threads are Win32 threads. With m_bAutoDelete (the default)
// the object deletes itself when its thread ends, so a creator that wants to
// wait on m_hThread or read the exit code afterwards either clears
// m_bAutoDelete (start suspended, clear it, ResumeThread) or must not touch the
// object once the thread may have ended.
//
// Idle time of the loop: the first idle pass sends WM_IDLEUPDATECMDUI (wParam
// TRUE) to the main window, to its descendants that have a framework object, and
// to the visible top-level windows of the thread that the main window owns
// (floating frames) and their descendants; the next pass frees the thread's
// temporary objects (never while a window procedure runs on the thread).
#pragma once

#include "CmdTarget.h"
#include "Object.h"

#include <windows.h>

class CWnd;
class CException;
class CWinThread;

typedef UINT(AFX_CDECL* AFX_THREADPROC)(LPVOID pParam);

// The framework's state of one thread. Plain data, valid for the whole life of
// the thread (also during static destruction).
struct AFX_THREAD_STATE {
    CWinThread* m_pCurrentWinThread; // the thread object running on this thread
    CWnd* m_pWndInit;                // the object CreateEx is creating a window for
    HHOOK m_hHookOldCbtFilter;       // the creation hook while CreateEx runs
    MSG m_lastSentMsg;               // the message the innermost AfxCallWndProc handles
    int m_nWndProcDepth;             // nesting of AfxCallWndProc on this thread
    POINT m_ptCursorLast;            // for IsIdleMessage: the last mouse-move position
    UINT m_nMsgLast;                 // and its message
    MSG m_msgCur;                    // the message the thread's pump got last
};

AFX_THREAD_STATE* AFXAPI AfxGetThreadState();

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    // A user-interface thread: derive, override InitInstance, start with
    // AfxBeginThread(RUNTIME_CLASS(...)) or CreateThread.
    CWinThread();
    // A worker running pfnThreadProc(pParam); its result is the exit code.
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    // Closes m_hThread; does not wait for the thread.
    ~CWinThread() override;

    // Starts the thread (suspended with CREATE_SUSPENDED). FALSE when the object
    // already has a thread or the system refuses; the object is then unchanged.
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                      LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

    operator HANDLE() const { return m_hThread; }
    int GetThreadPriority() { return ::GetThreadPriority(m_hThread); }
    BOOL SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }
    DWORD SuspendThread() { return ::SuspendThread(m_hThread); }
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        return ::PostThreadMessageA(m_nThreadID, message, wParam, lParam);
    }

    // Overridables of a user-interface thread.
    virtual BOOL InitInstance();
    // The message loop; ends on WM_QUIT with ExitInstance's result.
    virtual int Run();
    // Gets and dispatches one message; FALSE on WM_QUIT.
    virtual BOOL PumpMessage();
    // Thread-level translation: the windows' PreTranslateMessage from the target
    // up to the main window, then the main window's for messages to other
    // top-level windows. TRUE when the message is used up.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Idle work, lCount counting the passes since the last message: TRUE asks for
    // another pass. Pass 0 updates the command UI, pass 1 frees temporary objects.
    virtual BOOL OnIdle(LONG lCount);
    // Whether a message ends idle time (mouse moves that do not move, WM_PAINT and
    // the caret timer do not).
    virtual BOOL IsIdleMessage(MSG* pMsg);
    // The exit code: the wParam of the WM_QUIT that ended the loop.
    virtual int ExitInstance();
    // The window-procedure result for an exception a handler let escape
    // (AfxCallWndProc): -1 for WM_CREATE, the update region validated for
    // WM_PAINT, 0 otherwise. The exception is logged and freed by the caller.
    virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg);
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }
    // Deletes the object when m_bAutoDelete; called when the thread ends.
    virtual void Delete();

    CWnd* m_pMainWnd;   // not owned; its destruction posts WM_QUIT on this thread
    CWnd* m_pActiveWnd; // not owned
    BOOL m_bAutoDelete;
    HANDLE m_hThread; // owned; null until CreateThread
    DWORD m_nThreadID;

protected:
    AFX_THREADPROC m_pfnThreadProc; // null for a user-interface thread
    LPVOID m_pThreadParams;

private:
    static DWORD WINAPI ThreadEntry(LPVOID pParam);
};

// Starts a worker: pfnThreadProc(pParam) on a new thread at nPriority. The
// object deletes itself when the thread ends; null when the thread cannot start.
CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                                  int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                                  DWORD dwCreateFlags = 0,
                                  LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
// Starts a user-interface thread of the class (made with CreateObject; it must
// derive from CWinThread); null when it cannot be made or started.
CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* pThreadClass,
                                  int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                                  DWORD dwCreateFlags = 0,
                                  LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

// The default of CWinThread::ProcessWndProcException, also used on threads
// without a thread object: logs the exception (e is null for one that is no
// CException) and answers the message's result.
LRESULT AFXAPI AfxProcessWndProcException(CException* e, const MSG* pMsg);

// The thread object running on the calling thread: the application object on the
// thread that runs it, the CWinThread on threads it started, else null.
CWinThread* AFXAPI AfxGetThread();
// One message through the calling thread's object (or plain translate and
// dispatch without one); FALSE on WM_QUIT, which is then posted again.
BOOL AFXAPI AfxPumpMessage();
