#include "native/gtest.h"

#include "Common/KWThread.h"
#include "Common/TraceLog.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <string>

namespace {

// A worker that polls the running flag until a stop is requested.
class CPollingWorker : public CKWThread {
public:
    CPollingWorker() : m_rounds(0), m_bodyThreadId(0) {}
    LONG Rounds() const { return m_rounds; }
    DWORD BodyThreadId() const { return m_bodyThreadId; }

protected:
    DWORD Run() override {
        m_bodyThreadId = GetCurrentThreadId();
        while (IsRunning()) {
            InterlockedIncrement(&m_rounds);
            Sleep(1);
        }
        return 7;
    }

private:
    volatile LONG m_rounds;
    volatile DWORD m_bodyThreadId;
};

// A body that ends on its own once its gate opens, clearing the running flag,
// and counts bodies that ran at the same time.
class CGatedWorker : public CKWThread {
public:
    explicit CGatedWorker(HANDLE gate) : m_gate(gate), m_active(0), m_overlaps(0), m_runs(0) {}
    LONG Overlaps() const { return m_overlaps; }
    LONG Runs() const { return m_runs; }

protected:
    DWORD Run() override {
        if (InterlockedIncrement(&m_active) > 1)
            InterlockedIncrement(&m_overlaps);
        WaitForSingleObject(m_gate, INFINITE);
        InterlockedIncrement(&m_runs);
        InterlockedDecrement(&m_active);
        m_running = 0;
        return 0;
    }

private:
    HANDLE m_gate; // not owned
    volatile LONG m_active;
    volatile LONG m_overlaps;
    volatile LONG m_runs;
};

class KWThreadTest : public ::testing::Test {
protected:
    KWThreadTest() : m_log(m_folder.File("trace.log")) {
        g_TraceLog.SetPath(m_log.c_str(), "");
        g_TraceLog.SetLevel(CTraceLog::LEVEL_ALL);
    }
    ~KWThreadTest() override {
        g_TraceLog.SetLevel(CTraceLog::LEVEL_OFF);
        g_TraceLog.SetPath("", "");
    }

    // The messages of the log, one per line.
    std::string Messages() const {
        std::string text = ReadWholeFile(m_log), messages;
        for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
             start = end + 2) {
            std::string line = text.substr(start, end - start);
            messages += line.substr(line.rfind('\t') + 1) + "|";
        }
        return messages;
    }

    CTempFolder m_folder;
    std::string m_log;
};

TEST_F(KWThreadTest, WaitOnANeverStartedThreadTracesAndReturns) {
    CPollingWorker worker;
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_FALSE(worker.TestAndClearSignal());
    worker.Wait();
    EXPECT_EQ("Waiting for 0x0|Wait done|", Messages());
}

TEST_F(KWThreadTest, StartRunsTheBodyUntilStopIsRequested) {
    CPollingWorker worker;
    HANDLE thread = worker.Start();
    ASSERT_NE(nullptr, thread);
    EXPECT_TRUE(worker.IsRunning());
    while (worker.Rounds() < 3)
        Sleep(1);
    EXPECT_NE(GetCurrentThreadId(), worker.BodyThreadId());

    worker.RequestStop();
    EXPECT_FALSE(worker.IsRunning());
    // Ask for the exit code before Wait closes the handle.
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, INFINITE));
    DWORD exitCode = 0;
    ASSERT_TRUE(GetExitCodeThread(thread, &exitCode));
    EXPECT_EQ(7u, exitCode);

    worker.Wait();
    char expected[64];
    wsprintfA(expected, "Waiting for 0x%X|Wait done|", worker.BodyThreadId());
    EXPECT_EQ(expected, Messages());
    EXPECT_FALSE(worker.TestAndClearSignal());
}

DWORD WINAPI OpenGateLater(void* gate) {
    // Long enough for a second Start that does not wait to have run its body.
    Sleep(50);
    SetEvent(static_cast<HANDLE>(gate));
    return 0;
}

TEST_F(KWThreadTest, StartWaitsForThePreviousThread) {
    HANDLE gate = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(nullptr, gate);
    CGatedWorker worker(gate);
    ASSERT_NE(nullptr, worker.Start());
    HANDLE opener = CreateThread(nullptr, 0, OpenGateLater, gate, 0, nullptr);
    ASSERT_NE(nullptr, opener);

    ASSERT_NE(nullptr, worker.Start());
    worker.Wait();
    EXPECT_EQ(2, worker.Runs());
    EXPECT_EQ(0, worker.Overlaps());
    EXPECT_FALSE(worker.IsRunning()); // the body cleared the flag on its own

    WaitForSingleObject(opener, INFINITE);
    CloseHandle(opener);
    CloseHandle(gate);
}

TEST_F(KWThreadTest, StartAgainAfterWaitRunsANewThread) {
    CPollingWorker worker;
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        const LONG roundsBefore = worker.Rounds();
        ASSERT_NE(nullptr, worker.Start());
        while (worker.Rounds() == roundsBefore)
            Sleep(1);
        worker.RequestStop();
        worker.Wait();
        EXPECT_FALSE(worker.IsRunning());
    }
}

} // namespace
