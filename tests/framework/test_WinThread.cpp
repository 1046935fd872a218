// Tests of CWinThread: workers and user-interface threads, the message loop and
// its idle passes (command-UI updates, temporary objects), and modal loops.
#include "native/gtest.h"

#include "framework/Exception.h"
#include "framework/HandleMap.h"
#include "framework/WinThread.h"
#include "framework/Wnd.h"

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

const RECT kRect = {0, 0, 120, 80};

// ---------------------------------------------------------------------------
// Workers.

struct SWorkerRun {
    CWinThread* pSeen; // AfxGetThread() inside the worker
    int nMode;         // 0 returns 7, 1 throws a CException, 2 throws std::runtime_error
};

UINT AFX_CDECL WorkerBody(LPVOID pParam) {
    SWorkerRun* pRun = static_cast<SWorkerRun*>(pParam);
    pRun->pSeen = AfxGetThread();
    if (pRun->nMode == 1)
        AfxThrowResourceException();
    if (pRun->nMode == 2)
        throw std::runtime_error("worker failed");
    return 7;
}

TEST(WinThreadWorker, RunsWithItsObjectAndExitCode) {
    struct SCase {
        const char* name;
        int nMode;
        DWORD dwExitCode;
    };
    const SCase cases[] = {
        {"returns", 0, 7},
        {"throws a framework exception", 1, static_cast<DWORD>(-1)},
        {"throws a standard exception", 2, static_cast<DWORD>(-1)},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        SWorkerRun run = {nullptr, c.nMode};
        CWinThread* pThread =
            AfxBeginThread(WorkerBody, &run, THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
        ASSERT_NE(nullptr, pThread);
        pThread->m_bAutoDelete = FALSE; // kept, so its handle can be waited on
        EXPECT_EQ(THREAD_PRIORITY_BELOW_NORMAL, pThread->GetThreadPriority());
        pThread->ResumeThread();
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(pThread->m_hThread, INFINITE));
        DWORD dwExitCode = 0;
        ASSERT_TRUE(::GetExitCodeThread(pThread->m_hThread, &dwExitCode));
        EXPECT_EQ(c.dwExitCode, dwExitCode);
        EXPECT_EQ(pThread, run.pSeen);
        delete pThread;
    }
    EXPECT_EQ(nullptr, AfxBeginThread(static_cast<AFX_THREADPROC>(nullptr), nullptr));
}

// ---------------------------------------------------------------------------
// User-interface threads.

int g_nUIThreadsDeleted = 0;
bool g_bInitSucceeds = true;
HANDLE g_hMainWndReady = nullptr;
HWND g_hWndUIMain = nullptr;
bool g_bQuitLeftInQueue = false;
std::string g_uiLog;

class CTestUIThread : public CWinThread {
    DECLARE_DYNCREATE(CTestUIThread)
public:
    ~CTestUIThread() override { ++g_nUIThreadsDeleted; }

    BOOL InitInstance() override {
        g_uiLog += "init,";
        BOOL bCreated = m_wndMain.CreateEx(0, nullptr, "ui", WS_POPUP, kRect, nullptr, 0);
        if (bCreated)
            m_pMainWnd = &m_wndMain;
        g_hWndUIMain = m_wndMain.m_hWnd;
        ::SetEvent(g_hMainWndReady);
        return bCreated && g_bInitSucceeds;
    }
    int Run() override {
        g_uiLog += "run,";
        return CWinThread::Run();
    }
    int ExitInstance() override {
        MSG msg;
        g_bQuitLeftInQueue = ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
        g_uiLog += "exit,";
        return CWinThread::ExitInstance() + 100;
    }

private:
    CWnd m_wndMain;
};

IMPLEMENT_DYNCREATE(CTestUIThread, CWinThread)

TEST(WinThreadUI, MainWindowEndsTheLoopAndTheObjectDeletesItself) {
    struct SCase {
        const char* name;
        bool bInitSucceeds;
        const char* log;
    };
    const SCase cases[] = {
        {"runs until its main window closes", true, "init,run,exit,"},
        {"initialisation fails", false, "init,exit,"},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        g_nUIThreadsDeleted = 0;
        g_bInitSucceeds = c.bInitSucceeds;
        g_uiLog.clear();
        g_hMainWndReady = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        CWinThread* pThread = AfxBeginThread(RUNTIME_CLASS(CTestUIThread), THREAD_PRIORITY_NORMAL,
                                             0, CREATE_SUSPENDED);
        ASSERT_NE(nullptr, pThread);
        // The object deletes itself with its handle: wait on a copy.
        HANDLE hThread = nullptr;
        ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), pThread->m_hThread,
                                      ::GetCurrentProcess(), &hThread, 0, FALSE,
                                      DUPLICATE_SAME_ACCESS));
        pThread->ResumeThread();
        ::WaitForSingleObject(g_hMainWndReady, INFINITE);
        if (c.bInitSucceeds)
            ::PostMessageA(g_hWndUIMain, WM_CLOSE, 0, 0); // its default destroys the window
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(hThread, INFINITE));
        DWORD dwExitCode = 0;
        ::GetExitCodeThread(hThread, &dwExitCode);
        EXPECT_EQ(100u, dwExitCode);
        EXPECT_EQ(c.log, g_uiLog);
        EXPECT_FALSE(::IsWindow(g_hWndUIMain));
        EXPECT_FALSE(g_bQuitLeftInQueue);
        EXPECT_EQ(1, g_nUIThreadsDeleted);
        ::CloseHandle(hThread);
        ::CloseHandle(g_hMainWndReady);
    }
    EXPECT_EQ(nullptr, AfxBeginThread(RUNTIME_CLASS(CWnd)));
}

// ---------------------------------------------------------------------------
// The message loop and idle time, on the test's own thread.

const UINT WM_TEST_STEP = WM_APP + 1;

// Logs its idle passes and drives the test: a message after the first idle
// round, the quit after the second.
class CIdleProbeThread : public CWinThread {
public:
    std::string m_log;
    HWND m_hWndTarget = nullptr;
    int m_nRound = 0;

    BOOL OnIdle(LONG lCount) override {
        m_log += "idle" + std::to_string(lCount) + ",";
        BOOL bMore = CWinThread::OnIdle(lCount);
        if (!bMore && m_nRound++ == 0)
            ::PostMessageA(m_hWndTarget, WM_TEST_STEP, 0, 0);
        else if (!bMore)
            ::PostQuitMessage(9);
        return bMore;
    }
};

class CStepWnd : public CWnd {
public:
    std::string* m_pLog = nullptr;

protected:
    afx_msg LRESULT OnStep(WPARAM, LPARAM) {
        *m_pLog += "step,";
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CStepWnd, CWnd)
    ON_MESSAGE(WM_TEST_STEP, &CStepWnd::OnStep)
END_MESSAGE_MAP()
// clang-format on

TEST(WinThreadLoop, IdlePassesRestartAfterEachMessageAndQuitGivesTheExitCode) {
    CIdleProbeThread thread;
    CStepWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, kRect, nullptr, 0));
    wnd.m_pLog = &thread.m_log;
    thread.m_hWndTarget = wnd.m_hWnd;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) // the creation's leftovers
        ::DispatchMessageA(&msg);
    EXPECT_EQ(9, thread.Run());
    EXPECT_EQ("idle0,idle1,step,idle0,idle1,", thread.m_log);
    wnd.DestroyWindow();
}

TEST(WinThreadLoop, IsIdleMessageTable) {
    CWinThread thread;
    struct SCase {
        const char* name;
        UINT message;
        POINT pt;
        BOOL bIdle;
    };
    const SCase cases[] = {
        {"a key", WM_KEYDOWN, {0, 0}, TRUE},
        {"a mouse move", WM_MOUSEMOVE, {5, 5}, TRUE},
        {"the same move again", WM_MOUSEMOVE, {5, 5}, FALSE},
        {"a move elsewhere", WM_MOUSEMOVE, {6, 5}, TRUE},
        {"a non-client move there", WM_NCMOUSEMOVE, {6, 5}, TRUE},
        {"painting", WM_PAINT, {0, 0}, FALSE},
        {"the caret's timer", 0x0118, {0, 0}, FALSE},
        {"a timer", WM_TIMER, {0, 0}, TRUE},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        MSG msg = {nullptr, c.message, 0, 0, 0, c.pt};
        EXPECT_EQ(c.bIdle, thread.IsIdleMessage(&msg));
    }
}

// Keeps which windows got the idle update.
std::vector<std::string>* g_pUpdated = nullptr;

class CUpdateWnd : public CWnd {
public:
    explicit CUpdateWnd(const char* pszName) : m_pszName(pszName) {}

protected:
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
        if (wParam == TRUE)
            g_pUpdated->push_back(m_pszName);
        return 0;
    }
    const char* m_pszName;
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CUpdateWnd, CWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CUpdateWnd::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()
// clang-format on

bool g_bRawChildUpdated = false;

LRESULT CALLBACK RawChildProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_IDLEUPDATECMDUI)
        g_bRawChildUpdated = true;
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

TEST(WinThreadLoop, IdleUpdateReachesTheMainWindowItsDescendantsAndOwnedFrames) {
    std::vector<std::string> updated;
    g_pUpdated = &updated;
    CUpdateWnd main("main"), child("child"), grandchild("grandchild"), owned("owned"),
        ownedChild("owned-child"), stranger("stranger");
    ASSERT_TRUE(main.CreateEx(0, nullptr, "", WS_POPUP, kRect, nullptr, 0));
    ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD | WS_VISIBLE, kRect, &main, 1));
    ASSERT_TRUE(grandchild.Create(nullptr, "", WS_CHILD | WS_VISIBLE, kRect, &child, 2));
    ASSERT_TRUE(owned.CreateEx(0, nullptr, "", WS_POPUP, kRect, &main, 0));
    ASSERT_TRUE(ownedChild.Create(nullptr, "", WS_CHILD | WS_VISIBLE, kRect, &owned, 3));
    ASSERT_TRUE(stranger.CreateEx(0, nullptr, "", WS_POPUP, kRect, nullptr, 0));
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RawChildProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZmRawIdleChild";
    ::RegisterClassA(&wc);
    ASSERT_NE(nullptr, ::CreateWindowExA(0, "ZmRawIdleChild", "", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5,
                                         main.m_hWnd, nullptr, wc.hInstance, nullptr));

    CWinThread thread;
    thread.m_pMainWnd = &main;
    // Nothing while the main window is hidden.
    EXPECT_TRUE(thread.OnIdle(0));
    EXPECT_TRUE(updated.empty());

    for (CWnd* pWnd :
         {static_cast<CWnd*>(&main), static_cast<CWnd*>(&owned), static_cast<CWnd*>(&stranger)})
        pWnd->ShowWindow(SW_SHOWNOACTIVATE);
    EXPECT_TRUE(thread.OnIdle(0));
    EXPECT_EQ((std::vector<std::string>{"main", "child", "grandchild", "owned", "owned-child"}),
              updated);
    EXPECT_FALSE(g_bRawChildUpdated); // only windows with a framework object
    thread.m_pMainWnd = nullptr;
    main.DestroyWindow();
    stranger.DestroyWindow();
}

// Frees temporaries at idle time, unless a window procedure is running.
class CIdleInsideWnd : public CWnd {
public:
    HWND m_hWndOther = nullptr;
    bool m_bSurvived = false;

protected:
    afx_msg LRESULT OnStep(WPARAM, LPARAM) {
        CWnd::FromHandle(m_hWndOther);
        CWinThread thread;
        thread.OnIdle(1);
        using CWndMap = CHandleMap<CWnd, HWND>;
        m_bSurvived = CWndMap::ForThisThread()->LookupTemporary(m_hWndOther) != nullptr;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CIdleInsideWnd, CWnd)
    ON_MESSAGE(WM_TEST_STEP, &CIdleInsideWnd::OnStep)
END_MESSAGE_MAP()
// clang-format on

TEST(WinThreadLoop, TemporariesLiveUntilIdleOutsideWindowProcedures) {
    HWND hWndRaw = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr,
                                     nullptr, nullptr);
    ASSERT_NE(nullptr, hWndRaw);
    CIdleInsideWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, kRect, nullptr, 0));
    wnd.m_hWndOther = hWndRaw;
    wnd.SendMessage(WM_TEST_STEP);
    EXPECT_TRUE(wnd.m_bSurvived);

    CWinThread thread;
    EXPECT_FALSE(thread.OnIdle(1));
    using CWndMap = CHandleMap<CWnd, HWND>;
    EXPECT_EQ(nullptr, CWndMap::ForThisThread()->LookupTemporary(hWndRaw));
    EXPECT_TRUE(::IsWindow(hWndRaw));
    wnd.DestroyWindow();
    ::DestroyWindow(hWndRaw);
}

// ---------------------------------------------------------------------------
// Modal loops.

class CModalWnd : public CWnd {
public:
    int m_nEndOnKick = 0; // EndModalLoop(this) at the first idle kick; 0: not
    bool m_bDestroyOnKick = false;
    bool m_bQuitOnKick = false;

protected:
    afx_msg LRESULT OnKickIdle(WPARAM, LPARAM) {
        if (m_nEndOnKick != 0)
            EndModalLoop(m_nEndOnKick);
        if (m_bQuitOnKick)
            ::PostQuitMessage(6);
        if (m_bDestroyOnKick)
            ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CModalWnd, CWnd)
    ON_MESSAGE(WM_KICKIDLE, &CModalWnd::OnKickIdle)
END_MESSAGE_MAP()
// clang-format on

TEST(WinThreadModal, RunModalLoopEndsHowItIsTold) {
    struct SCase {
        const char* name;
        int nEndOnKick;
        bool bDestroy;
        bool bQuit;
        int nResult;
    };
    const SCase cases[] = {
        {"EndModalLoop", 4, false, false, 4},
        {"the window is destroyed", 0, true, false, -1},
        {"WM_QUIT, kept for the outer loop", 0, false, true, -1},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        CModalWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, kRect, nullptr, 0));
        wnd.m_nEndOnKick = c.nEndOnKick;
        wnd.m_bDestroyOnKick = c.bDestroy;
        wnd.m_bQuitOnKick = c.bQuit;
        EXPECT_EQ(c.nResult, wnd.RunModalLoop());
        MSG msg;
        bool bQuitQueued = ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
        EXPECT_EQ(c.bQuit, bQuitQueued);
        if (bQuitQueued) {
            EXPECT_EQ(6u, msg.wParam);
        }
        wnd.DestroyWindow();
    }
}

} // namespace
