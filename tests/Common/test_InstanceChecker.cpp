// Tests of CInstanceChecker between real processes: this program starts
// itself again to run InstanceCheckerChild.DISABLED_RunStartup as the other
// instance. Each test uses an identifier of its own, so parallel runs never meet.
// Tests that activate windows carry Focus in their names and run alone.
#include "native/gtest.h"

#include "Common/InstanceChecker.h"
#include "Common/TraceLog.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::string UniqueIdentifier() {
    static LONG counter = 0;
    char text[96];
    wsprintfA(text, "{zm-instance-test-%lx-%ld-%lx}", GetCurrentProcessId(),
              InterlockedIncrement(&counter), GetTickCount());
    return text;
}

std::string Environment(const char* name) {
    char value[1024];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value) : std::string();
}

// The child's side of the two events that the parent made.
void SignalEvent(const std::string& name) {
    HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, name.c_str());
    if (event) {
        SetEvent(event);
        CloseHandle(event);
    }
}

bool WaitForEvent(const std::string& name) {
    HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, name.c_str());
    if (!event)
        return false;
    const bool signalled = WaitForSingleObject(event, kChildTimeoutMs) == WAIT_OBJECT_0;
    CloseHandle(event);
    return signalled;
}

// A checker that publishes a window of the test's choosing.
class CTestChecker : public CInstanceChecker {
public:
    CTestChecker(const std::string& identifier, HWND window)
        : CInstanceChecker(identifier.c_str()), m_window(window) {}
    HWND GetWindowToPublish() const override { return m_window; }

private:
    HWND m_window;
};

// Whether another thread could take the named start-up mutex now: the owner
// thread itself always could, since the mutex is re-entrant.
DWORD WINAPI TryStartupMutex(void* parameter) {
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, static_cast<const char*>(parameter));
    if (!mutex)
        return 2;
    DWORD result = WaitForSingleObject(mutex, 0);
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED)
        ReleaseMutex(mutex);
    CloseHandle(mutex);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED ? 0 : 1;
}

bool StartupMutexIsFree(const std::string& identifier) {
    HANDLE thread = CreateThread(nullptr, 0, TryStartupMutex, const_cast<char*>(identifier.c_str()),
                                 0, nullptr);
    if (!thread)
        return false;
    WaitForSingleObject(thread, INFINITE);
    DWORD code = 1;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    return code == 0;
}

// A top-level window of the first instance that records the WM_COPYDATA it gets.
struct CopyDataRecord {
    int count;
    DWORD senderProcess; // read on receipt: the sender's window ends with its process
    ULONG_PTR value;
    std::string data;
};
CopyDataRecord g_copyData;

LRESULT CALLBACK TargetWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        ++g_copyData.count;
        GetWindowThreadProcessId(reinterpret_cast<HWND>(wParam), &g_copyData.senderProcess);
        g_copyData.value = data->dwData;
        g_copyData.data.assign(static_cast<const char*>(data->lpData), data->cbData);
        return TRUE;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND CreateTopLevel(const char* title, HWND owner = nullptr) {
    static ATOM atom = 0;
    if (!atom) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = TargetWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = "ZMInstanceCheckerTarget";
        atom = RegisterClassA(&wc);
    }
    return CreateWindowExA(0, "ZMInstanceCheckerTarget", title,
                           (owner ? WS_POPUP | WS_CAPTION : WS_OVERLAPPEDWINDOW) | WS_VISIBLE, 50,
                           50, 300, 200, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The other instance: this program again, running InstanceCheckerChild with its
// orders in the environment. Waiting for it keeps this thread's messages going,
// since the child sends WM_COPYDATA to our windows.
class CChildInstance {
public:
    // role "second" signals that it is about to run the start-up sequence of a
    // later instance and expects to find expected; "first" publishes, signals
    // and stays until it is released. Its test report goes into folder.
    CChildInstance(const char* role, const std::string& identifier, const std::string& folder,
                   HWND expected = nullptr, const char* text = nullptr, DWORD value = 0)
        : m_report(folder + "child.json") {
        const std::string readyName = identifier + "-ready";
        const std::string releaseName = identifier + "-release";
        m_ready = CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
        m_release = CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str());
        SetEnvironmentVariableA("ZM_INSTANCE_ROLE", role);
        SetEnvironmentVariableA("ZM_INSTANCE_ID", identifier.c_str());
        SetEnvironmentVariableA("ZM_INSTANCE_READY", readyName.c_str());
        SetEnvironmentVariableA("ZM_INSTANCE_RELEASE", releaseName.c_str());
        SetEnvironmentVariableA("ZM_INSTANCE_EXPECT",
                                std::to_string(reinterpret_cast<ULONG_PTR>(expected)).c_str());
        SetEnvironmentVariableA("ZM_INSTANCE_TEXT", text);
        SetEnvironmentVariableA("ZM_INSTANCE_VALUE", std::to_string(value).c_str());
        std::string command =
            ChildTestCommand("InstanceCheckerChild.DISABLED_RunStartup", m_report);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        m_started = m_ready && m_release &&
                    CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &si, &m_pi);
        for (const char* name :
             {"ZM_INSTANCE_ROLE", "ZM_INSTANCE_ID", "ZM_INSTANCE_READY", "ZM_INSTANCE_RELEASE",
              "ZM_INSTANCE_EXPECT", "ZM_INSTANCE_TEXT", "ZM_INSTANCE_VALUE"})
            SetEnvironmentVariableA(name, nullptr);
    }
    ~CChildInstance() {
        if (m_started) {
            SetEvent(m_release);
            if (!Wait(m_pi.hProcess))
                TerminateProcess(m_pi.hProcess, 2);
            CloseHandle(m_pi.hThread);
            CloseHandle(m_pi.hProcess);
        }
        for (HANDLE event : {m_ready, m_release}) {
            if (event)
                CloseHandle(event);
        }
    }
    CChildInstance(const CChildInstance&) = delete;
    CChildInstance& operator=(const CChildInstance&) = delete;

    bool Started() const { return m_started; }
    DWORD ProcessId() const { return m_pi.dwProcessId; }
    // Success when the child signalled; a child that ended first fails.
    ::testing::AssertionResult WaitUntilReady() {
        if (!Wait(m_ready))
            return ::testing::AssertionFailure() << "the child did not signal";
        if (WaitForSingleObject(m_ready, 0) != WAIT_OBJECT_0)
            return ::testing::AssertionFailure() << "the child ended without signalling";
        return ::testing::AssertionSuccess();
    }
    // True when the child ended within timeoutMs; messages are pumped meanwhile.
    bool HasEndedWithin(DWORD timeoutMs) { return Wait(m_pi.hProcess, timeoutMs); }
    // Releases a "first" child, waits for it to end and checks that its test
    // case ran and passed.
    ::testing::AssertionResult Finish() {
        SetEvent(m_release);
        if (!Wait(m_pi.hProcess))
            return ::testing::AssertionFailure()
                   << "the child did not end within " << kChildTimeoutMs << " ms";
        DWORD code = 1;
        GetExitCodeProcess(m_pi.hProcess, &code);
        if (code != 0)
            return ::testing::AssertionFailure() << "the child ended with " << code;
        return ChildTestsPassed(m_report, 1);
    }

private:
    // Waits for object, or for the child to end, pumping this thread's
    // messages; false when neither happened within timeoutMs.
    bool Wait(HANDLE object, DWORD timeoutMs = kChildTimeoutMs) {
        const HANDLE objects[] = {object, m_pi.hProcess};
        const DWORD count = object == m_pi.hProcess ? 1 : 2;
        const DWORD start = GetTickCount();
        for (;;) {
            const DWORD elapsed = GetTickCount() - start;
            if (elapsed >= timeoutMs)
                return false;
            const DWORD result =
                MsgWaitForMultipleObjects(count, objects, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
            if (result < WAIT_OBJECT_0 + count)
                return true;
            if (result != WAIT_OBJECT_0 + count)
                return false;
            Pump();
        }
    }

    std::string m_report;
    HANDLE m_ready = nullptr;
    HANDLE m_release = nullptr;
    PROCESS_INFORMATION m_pi = {};
    BOOL m_started = FALSE;
};

} // namespace

// The other instance of the tests below; it only runs when started by them.
TEST(InstanceCheckerChild, DISABLED_RunStartup) {
    std::string role = Environment("ZM_INSTANCE_ROLE");
    if (role.empty())
        GTEST_SKIP() << "run by the InstanceChecker tests only";
    HWND window = CreateWindowExA(0, "STATIC", "other instance", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    CTestChecker checker(Environment("ZM_INSTANCE_ID"), window);
    if (role == "first") {
        checker.LockStartup();
        EXPECT_FALSE(checker.IsOtherInstanceRunning());
        EXPECT_TRUE(checker.PublishFirstInstance());
        SignalEvent(Environment("ZM_INSTANCE_READY"));
        EXPECT_TRUE(WaitForEvent(Environment("ZM_INSTANCE_RELEASE")));
    } else {
        SignalEvent(Environment("ZM_INSTANCE_READY"));
        checker.LockStartup();
        ASSERT_TRUE(checker.IsOtherInstanceRunning());
        std::string text = Environment("ZM_INSTANCE_TEXT");
        HWND found = checker.ActivateOtherInstance(
            text.empty() ? nullptr : text.c_str(),
            static_cast<DWORD>(
                std::strtoul(Environment("ZM_INSTANCE_VALUE").c_str(), nullptr, 10)));
        EXPECT_EQ(reinterpret_cast<ULONG_PTR>(found),
                  std::strtoull(Environment("ZM_INSTANCE_EXPECT").c_str(), nullptr, 10));
    }
    DestroyWindow(window);
}

// ---------------------------------------------------------------------------
// One process

TEST(InstanceChecker, MappingIsNamedAfterTheIdentifier) {
    CInstanceChecker checker("{7c2e9a41-5b3d-4f08-9e6a-2d41b8c7f350}");
    EXPECT_STREQ(checker.GetMMFFilename(),
                 "{7c2e9a41-5b3d-4f08-9e6a-2d41b8c7f350}_CInstanceChecker_MMF");
}

// Handles that are not windows are read back as published and activate nothing.
TEST(InstanceChecker, PublishedHandleIsReadBackByALaterChecker) {
    const HWND handles[] = {reinterpret_cast<HWND>(0x1002a),
                            reinterpret_cast<HWND>(static_cast<LONG_PTR>(-0x7654322))};
    for (HWND handle : handles) {
        std::string identifier = UniqueIdentifier();
        CTestChecker first(identifier, handle);
        first.LockStartup();
        ASSERT_FALSE(first.IsOtherInstanceRunning());
        ASSERT_TRUE(first.PublishFirstInstance());
        EXPECT_TRUE(StartupMutexIsFree(identifier));

        CTestChecker later(identifier, nullptr);
        later.LockStartup();
        EXPECT_TRUE(later.IsOtherInstanceRunning());
        EXPECT_FALSE(later.PublishFirstInstance()); // the first one's handle stays
        later.LockStartup();
        EXPECT_EQ(later.ActivateOtherInstance("ignored", 1), handle);
        EXPECT_TRUE(StartupMutexIsFree(identifier));
    }
}

TEST(InstanceChecker, WithoutAFirstInstanceNothingIsFoundAndTheLockIsReleased) {
    std::string identifier = UniqueIdentifier();
    CTestChecker checker(identifier, nullptr);
    checker.LockStartup();
    checker.LockStartup(); // held once, however often it is asked
    EXPECT_FALSE(StartupMutexIsFree(identifier));
    EXPECT_FALSE(checker.IsOtherInstanceRunning());
    EXPECT_EQ(checker.ActivateOtherInstance("text", 3), nullptr);
    EXPECT_TRUE(StartupMutexIsFree(identifier));

    checker.LockStartup();
    checker.ReleaseStartupLock();
    EXPECT_TRUE(StartupMutexIsFree(identifier));
}

TEST(InstanceChecker, MappingThatCannotBeMadeIsTracedAndReleasesTheLock) {
    CTempFolder folder;
    std::string log = folder.File("trace.log");
    g_TraceLog.SetPath(log.c_str(), folder.File("trace.bak").c_str());
    g_TraceLog.SetLevel(CTraceLog::LEVEL_ERRORS);

    std::string identifier = UniqueIdentifier();
    CTestChecker checker(identifier, reinterpret_cast<HWND>(0x1002a));
    // An event already holds the mapping's name.
    HANDLE squatter = CreateEventA(nullptr, TRUE, FALSE, checker.GetMMFFilename());
    ASSERT_NE(squatter, nullptr);
    checker.LockStartup();
    EXPECT_FALSE(checker.PublishFirstInstance());
    EXPECT_TRUE(StartupMutexIsFree(identifier));
    EXPECT_FALSE(checker.IsOtherInstanceRunning());
    CloseHandle(squatter);

    g_TraceLog.SetLevel(CTraceLog::LEVEL_OFF);
    g_TraceLog.SetPath("", "");
    EXPECT_NE(ReadWholeFile(log).find("\tFailed to create the MMF even though this is the first "
                                      "instance, you might want to consider overriding "
                                      "GetMMFFilename()\r\n"),
              std::string::npos);
}

// ---------------------------------------------------------------------------
// Two processes

TEST(InstanceChecker, MappingEndsWithTheFirstInstance) {
    CTempFolder folder;
    std::string identifier = UniqueIdentifier();
    CTestChecker checker(identifier, reinterpret_cast<HWND>(0x1002a));
    {
        CChildInstance child("first", identifier, folder.Path());
        ASSERT_TRUE(child.Started());
        ASSERT_TRUE(child.WaitUntilReady());
        EXPECT_TRUE(checker.IsOtherInstanceRunning());
        checker.LockStartup();
        EXPECT_FALSE(checker.PublishFirstInstance());
        EXPECT_TRUE(child.Finish());
    }
    EXPECT_FALSE(checker.IsOtherInstanceRunning());
    checker.LockStartup();
    EXPECT_TRUE(checker.PublishFirstInstance());
    EXPECT_TRUE(checker.IsOtherInstanceRunning());
}

// A second instance that starts while the first still holds the start-up lock
// waits for it, then finds the published window and hands over its text.
TEST(InstanceCheckerFocus, SecondStartWaitsForTheFirstToPublish) {
    CTempFolder folder;
    std::string identifier = UniqueIdentifier();
    HWND window = CreateTopLevel("first instance");
    ASSERT_NE(window, nullptr);
    CTestChecker checker(identifier, window);
    checker.LockStartup();
    g_copyData = CopyDataRecord();

    CChildInstance child("second", identifier, folder.Path(), window, "C:\\calls\\a.zel", 7);
    ASSERT_TRUE(child.Started());
    ASSERT_TRUE(child.WaitUntilReady());
    EXPECT_FALSE(child.HasEndedWithin(1000)); // held in LockStartup
    EXPECT_EQ(g_copyData.count, 0);

    EXPECT_TRUE(checker.PublishFirstInstance());
    EXPECT_TRUE(child.Finish());
    EXPECT_EQ(g_copyData.count, 1);
    EXPECT_EQ(g_copyData.value, 7u);
    EXPECT_EQ(g_copyData.data, std::string("C:\\calls\\a.zel", 15)); // with its NUL
    EXPECT_EQ(g_copyData.senderProcess, child.ProcessId());
    DestroyWindow(window);
}

// The first instance is minimised, or shows a dialog; another window is in
// front. The second start restores it and brings it, or its dialog, to the front.
TEST(InstanceCheckerFocus, SecondInstanceBringsTheFirstOrItsDialogToTheFront) {
    struct Case {
        const char* name;
        bool minimised;
        bool dialog;
    };
    const Case cases[] = {{"minimised", true, false}, {"with a dialog", false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTempFolder folder;
        std::string identifier = UniqueIdentifier();
        HWND window = CreateTopLevel("first instance");
        ASSERT_NE(window, nullptr);
        HWND dialog = c.dialog ? CreateTopLevel("dialog", window) : nullptr;
        if (dialog)
            SetForegroundWindow(dialog);
        if (c.minimised)
            ShowWindow(window, SW_MINIMIZE);
        HWND other = CreateTopLevel("another program");
        SetForegroundWindow(other);
        Pump();
        ASSERT_EQ(GetForegroundWindow(), other);
        EXPECT_EQ(IsIconic(window) != FALSE, c.minimised);

        CTestChecker checker(identifier, window);
        checker.LockStartup();
        ASSERT_TRUE(checker.PublishFirstInstance());
        g_copyData = CopyDataRecord();
        CChildInstance child("second", identifier, folder.Path(), window);
        ASSERT_TRUE(child.Started());
        EXPECT_TRUE(child.Finish());
        Pump();

        EXPECT_FALSE(IsIconic(window));
        EXPECT_EQ(GetForegroundWindow(), dialog ? dialog : window);
        EXPECT_EQ(g_copyData.count, 0); // no text, no WM_COPYDATA
        DestroyWindow(other);
        if (dialog)
            DestroyWindow(dialog);
        DestroyWindow(window);
    }
}
