#include "native/gtest.h"

#include "Common/KWSemaphore.h"
#include "Common/TraceLog.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <string>

namespace {

// Traces everything into a private log and makes one lock round 5 ms, so that
// a waiter writes its timeout lines at once.
class KWSemaphoreTest : public ::testing::TestWithParam<bool> {
protected:
    KWSemaphoreTest() : m_log(m_folder.File("trace.log")) {
        g_TraceLog.SetPath(m_log.c_str(), m_folder.File("trace.bak").c_str());
        g_TraceLog.SetLevel(CTraceLog::LEVEL_ALL);
        CKWLoggedSemaphore::SetWaitRound(5);
    }
    ~KWSemaphoreTest() override {
        CKWLoggedSemaphore::SetWaitRound(30000);
        g_TraceLog.SetLevel(CTraceLog::LEVEL_OFF);
        g_TraceLog.SetPath("", "");
    }

    std::string LogText() const { return ReadWholeFile(m_log); }
    bool LogHas(const std::string& text) const { return LogText().find(text) != std::string::npos; }
    int LogCount(const std::string& text) const {
        std::string log = LogText();
        int count = 0;
        for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1))
            ++count;
        return count;
    }

    // A label of its own for each named semaphore, since parallel tests share
    // one Wine prefix and its object namespace.
    static std::string UniqueLabel(const char* stem) {
        static LONG counter = 0;
        char label[96];
        wsprintfA(label, "%s-%lx-%ld", stem, GetCurrentProcessId(), InterlockedIncrement(&counter));
        return label;
    }
    std::string Label() const { return UniqueLabel(GetParam() ? "NAMED" : "UNNAMED"); }

    CTempFolder m_folder;
    std::string m_log;
};

// Locks (and, when asked, unlocks again) on another thread, naming the site
// given by the test.
struct Locker {
    CKWLoggedSemaphore* lock;
    const char* file;
    int line;
    bool unlockAfter;
    bool locked;

    static DWORD WINAPI LockThread(void* param) {
        Locker* self = static_cast<Locker*>(param);
        self->locked = self->lock->Lock(self->file, self->line);
        if (self->unlockAfter && self->locked)
            self->lock->Unlock(self->file, self->line + 1);
        return 0;
    }
};

struct Unlocker {
    CKWLoggedSemaphore* lock;
    const char* file;
    int line;

    static DWORD WINAPI UnlockThread(void* param) {
        Unlocker* self = static_cast<Unlocker*>(param);
        self->lock->Unlock(self->file, self->line);
        return 0;
    }
};

HANDLE StartThread(LPTHREAD_START_ROUTINE proc, void* param) {
    HANDLE thread = CreateThread(nullptr, 0, proc, param, 0, nullptr);
    EXPECT_NE(nullptr, thread);
    return thread;
}

void Join(HANDLE thread) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

std::string Hex(DWORD value) {
    char text[16];
    wsprintfA(text, "%X", value);
    return text;
}

TEST(KWSemaphoreBaseName, LastComponentOfEitherSeparator) {
    struct Case {
        const char* path;
        const char* base;
    };
    const Case cases[] = {
        {"..\\Application\\Settings.cpp", "Settings.cpp"},
        {"/work/main/Common/KWSemaphore.cpp", "KWSemaphore.cpp"},
        {"Settings.cpp", "Settings.cpp"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.base, GetFileBaseName(c.path)) << c.path;
}

TEST_P(KWSemaphoreTest, LifetimeIsTraced) {
    const std::string label = Label();
    {
        CKWLoggedSemaphore lock(label.c_str(), GetParam());
        EXPECT_TRUE(LogHas(
            std::string(GetParam() ? "Created named semaphore <" : "Created unnamed semaphore <") +
            label + ">"));
        if (GetParam()) {
            CKWLoggedSemaphore second(label.c_str(), true);
            EXPECT_TRUE(LogHas("Opened handle to existing named semaphore <" + label + ">"));
        }
    }
    EXPECT_EQ(GetParam() ? 2 : 1, LogCount("Closed handle for semaphore <" + label + ">"));
}

// Threads released together take the lock in turns, each staying inside for a
// while; a second thread inside at the same time counts as an overlap.
struct Holder {
    CKWLoggedSemaphore* lock;
    HANDLE go;
    volatile LONG inside;
    volatile LONG overlaps;
    int rounds;

    static DWORD WINAPI Run(void* param) {
        Holder* self = static_cast<Holder*>(param);
        WaitForSingleObject(self->go, INFINITE);
        for (int i = 0; i < self->rounds; ++i) {
            self->lock->Lock(__FILE__, __LINE__);
            if (InterlockedIncrement(&self->inside) != 1)
                InterlockedIncrement(&self->overlaps);
            for (volatile int spin = 0; spin < 5000; ++spin) {
            }
            InterlockedDecrement(&self->inside);
            self->lock->Unlock(__FILE__, __LINE__);
        }
        return 0;
    }
};

TEST_P(KWSemaphoreTest, OneHolderAtATime) {
    // Tracing every timeout would dominate; a normal round keeps the log quiet.
    CKWLoggedSemaphore::SetWaitRound(30000);
    CKWLoggedSemaphore lock(Label().c_str(), GetParam());
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(nullptr, go);
    Holder holder = {&lock, go, 0, 0, 2000};
    HANDLE threads[4];
    for (HANDLE& thread : threads)
        thread = StartThread(Holder::Run, &holder);
    SetEvent(go);
    for (HANDLE thread : threads)
        Join(thread);
    CloseHandle(go);
    EXPECT_EQ(0, holder.overlaps);
    EXPECT_FALSE(LogHas("Unlocking semaphore"));
}

TEST_P(KWSemaphoreTest, WaiterLogsEveryRoundNamingBothPartiesAndKeepsWaiting) {
    const std::string label = Label();
    CKWLoggedSemaphore lock(label.c_str(), GetParam());
    const int holderLine = 17;
    ASSERT_TRUE(lock.Lock("..\\Store\\Holder.cpp", holderLine));

    Locker waiter = {&lock, "..\\Store\\Waiter.cpp", 42, true, false};
    HANDLE thread = StartThread(Locker::LockThread, &waiter);
    const std::string timeout = "Semaphore <" + label + "> timeout from [";
    bool finished = false;
    while (!finished && LogCount(timeout) < 3)
        finished = WaitForSingleObject(thread, 1) == WAIT_OBJECT_0;
    EXPECT_FALSE(finished) << "the waiter gave up";

    std::string expected = timeout + "Waiter.cpp(42)] as thread " + Hex(GetCurrentThreadId()) +
                           " [Holder.cpp(" + std::to_string(holderLine) + ")] has it";
    EXPECT_TRUE(LogHas(expected)) << LogText();

    lock.Unlock("..\\Store\\Holder.cpp", holderLine + 10);
    Join(thread);
    EXPECT_TRUE(waiter.locked);
    EXPECT_FALSE(LogHas("Unlocking semaphore"));
}

TEST_P(KWSemaphoreTest, UnlockByAnotherThreadIsLoggedAndReleases) {
    const std::string label = Label();
    CKWLoggedSemaphore lock(label.c_str(), GetParam());
    ASSERT_TRUE(lock.Lock("Owner.cpp", 11));

    Unlocker other = {&lock, "/src/Other.cpp", 23};
    Join(StartThread(Unlocker::UnlockThread, &other));
    EXPECT_TRUE(LogHas("Unlocking semaphore <" + label +
                       "> from [Other.cpp(23)], locked by thread " + Hex(GetCurrentThreadId()) +
                       " [Owner.cpp(11)]"))
        << LogText();

    // Released: another thread takes it without a single timeout round.
    Locker next = {&lock, "Next.cpp", 30, true, false};
    Join(StartThread(Locker::LockThread, &next));
    EXPECT_TRUE(next.locked);
    EXPECT_FALSE(LogHas("timeout"));
}

TEST_P(KWSemaphoreTest, UnlockOfAFreeLockKeepsTheCountAtOne) {
    const std::string label = Label();
    CKWLoggedSemaphore lock(label.c_str(), GetParam());
    lock.Unlock("Stray.cpp", 5);
    lock.Unlock("Stray.cpp", 6);
    EXPECT_TRUE(
        LogHas("Unlocking semaphore <" + label + "> from [Stray.cpp(5)], locked by thread 0 [(0)]"))
        << LogText();

    // Had the unlocks raised the count, the second locker would get in too.
    ASSERT_TRUE(lock.Lock("First.cpp", 1));
    Locker second = {&lock, "Second.cpp", 40, true, false};
    HANDLE thread = StartThread(Locker::LockThread, &second);
    bool finished = false;
    while (!finished && !LogHas("Semaphore <" + label + "> timeout"))
        finished = WaitForSingleObject(thread, 1) == WAIT_OBJECT_0;
    EXPECT_FALSE(finished) << "a second thread got the lock while it was held";
    lock.Unlock("First.cpp", 2);
    Join(thread);
    EXPECT_TRUE(second.locked);
}

INSTANTIATE_TEST_SUITE_P(Kinds, KWSemaphoreTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Named" : "Unnamed";
                         });

TEST(KWSemaphoreNamed, LockWithoutASemaphoreFailsOnceAndIsNotHeld) {
    CTempFolder folder;
    const std::string log = folder.File("trace.log");
    g_TraceLog.SetPath(log.c_str(), "");
    g_TraceLog.SetLevel(CTraceLog::LEVEL_ALL);

    // A mutex of the same name keeps the semaphore from being created.
    char label[64];
    wsprintfA(label, "TAKEN-%lx", GetCurrentProcessId());
    HANDLE mutex = CreateMutexA(nullptr, FALSE, label);
    ASSERT_NE(nullptr, mutex);
    {
        CKWLoggedSemaphore lock(label, true);
        EXPECT_NE(std::string::npos,
                  ReadWholeFile(log).find(std::string("creating semaphore <") + label + ">"));

        EXPECT_FALSE(lock.Lock("Caller.cpp", 9));
        std::string text = ReadWholeFile(log);
        EXPECT_NE(std::string::npos,
                  text.find(std::string("Error <-1> from WaitForSingleObject() for semaphore <") +
                            label + "> - from [Caller.cpp(9)]"))
            << text;
        // Not held: unlocking now is a foreign unlock with no owner.
        lock.Unlock("Caller.cpp", 10);
        EXPECT_NE(std::string::npos, ReadWholeFile(log).find("locked by thread 0 [(0)]"));
    }
    EXPECT_EQ(std::string::npos, ReadWholeFile(log).find("Closed handle"));
    CloseHandle(mutex);
    g_TraceLog.SetLevel(CTraceLog::LEVEL_OFF);
    g_TraceLog.SetPath("", "");
}

} // namespace
