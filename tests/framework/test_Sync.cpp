// Tests of Sync.h: CCriticalSection, CMutex, CEvent and CSingleLock.
#include "native/gtest.h"

#include "framework/Exception.h"
#include "framework/Sync.h"

#include <windows.h>

#include <string>

namespace {

// Runs f on a Win32 thread and waits for it.
template <class F> void RunOnThread(F f) {
    struct Box {
        F* f;
        static DWORD WINAPI Run(void* p) {
            (*static_cast<Box*>(p)->f)();
            return 0;
        }
    } box{&f};
    HANDLE thread = CreateThread(nullptr, 0, &Box::Run, &box, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

// Starts f on a Win32 thread; the caller waits for the handle and closes it.
template <class F> HANDLE StartThread(F* f) {
    struct Run {
        static DWORD WINAPI Body(void* p) {
            (*static_cast<F*>(p))();
            return 0;
        }
    };
    return CreateThread(nullptr, 0, &Run::Body, f, 0, nullptr);
}

// A name of its own per process and call: parallel tests share one Wine prefix.
std::string UniqueName(const char* stem) {
    static LONG counter = 0;
    char name[96];
    wsprintfA(name, "zmtest-%s-%lx-%ld", stem, GetCurrentProcessId(),
              InterlockedIncrement(&counter));
    return name;
}

template <class F> CException* CatchAny(F f) {
    try {
        f();
    } catch (CException* e) {
        return e;
    }
    return nullptr;
}

} // namespace

TEST(Sync, RuntimeClasses) {
    CCriticalSection section;
    CMutex mutex;
    CEvent event;
    EXPECT_TRUE(section.IsKindOf(RUNTIME_CLASS(CSyncObject)));
    EXPECT_TRUE(mutex.IsKindOf(RUNTIME_CLASS(CSyncObject)));
    EXPECT_TRUE(event.IsKindOf(RUNTIME_CLASS(CSyncObject)));
    EXPECT_FALSE(event.IsKindOf(RUNTIME_CLASS(CMutex)));
    EXPECT_STREQ(mutex.GetRuntimeClass()->m_lpszClassName, "CMutex");
}

// ---------------------------------------------------------------------------
// CCriticalSection

TEST(CriticalSection, IsReentrantOnItsThreadAndExcludesOthers) {
    CCriticalSection section;
    EXPECT_EQ(section.m_hObject, nullptr);
    EXPECT_TRUE(section.Lock());
    EXPECT_TRUE(section.Lock());
    BOOL other = TRUE;
    RunOnThread([&] { other = section.Lock(30); });
    EXPECT_FALSE(other);
    EXPECT_TRUE(section.Unlock());
    RunOnThread([&] { other = section.Lock(0); });
    EXPECT_FALSE(other); // still held once
    EXPECT_TRUE(section.Unlock());
    RunOnThread([&] {
        other = section.Lock(0);
        if (other)
            section.Unlock();
    });
    EXPECT_TRUE(other);
}

TEST(CriticalSection, TimedLockWaitsForTheHolder) {
    CCriticalSection section;
    HANDLE held = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    auto holder = [&] {
        section.Lock();
        SetEvent(held);
        Sleep(50);
        section.Unlock();
    };
    HANDLE thread = StartThread(&holder);
    WaitForSingleObject(held, INFINITE);
    DWORD start = GetTickCount();
    EXPECT_TRUE(section.Lock(5000));
    DWORD waited = GetTickCount() - start;
    EXPECT_LT(waited, 4000u);
    section.Unlock();
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(held);
}

TEST(CriticalSection, KeepsACounterConsistentAcrossThreads) {
    CCriticalSection section;
    long counter = 0;
    auto work = [&] {
        for (int i = 0; i < 20000; ++i) {
            CSingleLock lock(&section, TRUE);
            long v = counter;
            counter = v + 1;
        }
    };
    HANDLE threads[4];
    for (HANDLE& t : threads)
        t = StartThread(&work);
    WaitForMultipleObjects(4, threads, TRUE, INFINITE);
    for (HANDLE t : threads)
        CloseHandle(t);
    EXPECT_EQ(counter, 80000);
}

// ---------------------------------------------------------------------------
// CMutex

TEST(Mutex, UnnamedMutexExcludesOtherThreads) {
    CMutex mutex;
    ASSERT_NE(mutex.m_hObject, nullptr);
    EXPECT_TRUE(mutex.Lock());
    BOOL other = TRUE;
    RunOnThread([&] { other = mutex.Lock(20); });
    EXPECT_FALSE(other);
    // Only the owner releases it.
    BOOL released = TRUE;
    RunOnThread([&] { released = mutex.Unlock(); });
    EXPECT_FALSE(released);
    EXPECT_TRUE(mutex.Unlock());
    RunOnThread([&] {
        other = mutex.Lock(0);
        if (other)
            mutex.Unlock();
    });
    EXPECT_TRUE(other);
}

TEST(Mutex, InitiallyOwned) {
    CMutex mutex(TRUE);
    BOOL other = TRUE;
    RunOnThread([&] { other = mutex.Lock(0); });
    EXPECT_FALSE(other);
    EXPECT_TRUE(mutex.Unlock());
}

TEST(Mutex, NamedMutexesShareOneKernelObject) {
    std::string name = UniqueName("mutex");
    CMutex first(FALSE, name.c_str());
    CMutex second(FALSE, name.c_str());
    ASSERT_TRUE(first.Lock(0));
    BOOL other = TRUE;
    RunOnThread([&] { other = second.Lock(20); });
    EXPECT_FALSE(other);
    first.Unlock();
    RunOnThread([&] {
        other = second.Lock(0);
        if (other)
            second.Unlock();
    });
    EXPECT_TRUE(other);
}

TEST(Mutex, AnAbandonedMutexCountsAsAcquired) {
    CMutex mutex;
    RunOnThread([&] { mutex.Lock(); }); // the thread ends holding it
    CSingleLock lock(&mutex);
    EXPECT_TRUE(lock.Lock(1000));
    EXPECT_TRUE(lock.IsLocked());
}

TEST(Mutex, ANameTakenByAnotherKindOfObjectThrowsResourceException) {
    std::string name = UniqueName("taken");
    CEvent event(FALSE, FALSE, name.c_str());
    CException* e = CatchAny([&] { CMutex mutex(FALSE, name.c_str()); });
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CResourceException)));
    e->Delete();
}

// ---------------------------------------------------------------------------
// CEvent

TEST(Event, AutoResetLetsOneWaiterThrough) {
    CEvent event;
    EXPECT_FALSE(event.Lock(0));
    EXPECT_TRUE(event.SetEvent());
    EXPECT_TRUE(event.Lock(0));
    EXPECT_FALSE(event.Lock(0)); // reset itself
    EXPECT_TRUE(event.Unlock());
}

TEST(Event, ManualResetStaysSignalledUntilReset) {
    CEvent event(TRUE, TRUE); // signalled, manual-reset (the view's search-finished event)
    EXPECT_TRUE(event.Lock(0));
    EXPECT_TRUE(event.Lock(0));
    EXPECT_TRUE(event.ResetEvent());
    EXPECT_FALSE(event.Lock(0));
    BOOL got = FALSE;
    HANDLE waiting = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    auto waiter = [&] {
        SetEvent(waiting);
        got = event.Lock(5000);
    };
    HANDLE thread = StartThread(&waiter);
    WaitForSingleObject(waiting, INFINITE);
    Sleep(20);
    event.SetEvent();
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(waiting);
    EXPECT_TRUE(got);
    EXPECT_TRUE(event.Lock(0));
}

TEST(Event, PulseReleasesAWaiterAndLeavesTheEventReset) {
    CEvent event(FALSE, TRUE);
    LONG started = 0;
    BOOL got = FALSE;
    auto waiter = [&] {
        InterlockedExchange(&started, 1);
        got = event.Lock(5000);
    };
    HANDLE thread = StartThread(&waiter);
    while (InterlockedCompareExchange(&started, 1, 1) == 0)
        Sleep(1);
    // Pulse until the waiter has been released (it may not be waiting yet).
    for (int i = 0; i < 200 && WaitForSingleObject(thread, 0) == WAIT_TIMEOUT; ++i) {
        Sleep(10);
        event.PulseEvent();
    }
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    CloseHandle(thread);
    EXPECT_TRUE(got);
    EXPECT_FALSE(event.Lock(0));
}

TEST(Event, NamedEventsAreShared) {
    std::string name = UniqueName("event");
    CEvent first(FALSE, TRUE, name.c_str());
    CEvent second(TRUE, FALSE, name.c_str()); // opened as it is: not signalled, manual
    EXPECT_FALSE(second.Lock(0));
    first.SetEvent();
    EXPECT_TRUE(second.Lock(0));
    EXPECT_TRUE(second.Lock(0));
}

// ---------------------------------------------------------------------------
// CSingleLock

TEST(SingleLock, UnlocksAtTheEndOfItsScope) {
    CMutex mutex;
    {
        CSingleLock lock(&mutex, TRUE);
        EXPECT_TRUE(lock.IsLocked());
        BOOL other = TRUE;
        RunOnThread([&] { other = mutex.Lock(0); });
        EXPECT_FALSE(other);
    }
    BOOL other = FALSE;
    RunOnThread([&] {
        other = mutex.Lock(0);
        if (other)
            mutex.Unlock();
    });
    EXPECT_TRUE(other);
}

TEST(SingleLock, LockWithTimeOutUnlockAndRelock) {
    CEvent event;
    CSingleLock lock(&event);
    EXPECT_FALSE(lock.IsLocked());
    EXPECT_FALSE(lock.Lock(10));
    EXPECT_FALSE(lock.IsLocked());
    event.SetEvent();
    EXPECT_TRUE(lock.Lock(10));
    EXPECT_TRUE(lock.IsLocked());
    EXPECT_TRUE(lock.Unlock());
    EXPECT_FALSE(lock.IsLocked());
    EXPECT_TRUE(lock.Unlock()); // not held: nothing to do
}

TEST(SingleLock, LockingTwiceAcquiresOnce) {
    CCriticalSection section;
    CSingleLock lock(&section);
    EXPECT_TRUE(lock.Lock());
    EXPECT_TRUE(lock.Lock());
    EXPECT_TRUE(lock.Unlock());
    BOOL other = FALSE;
    RunOnThread([&] {
        other = section.Lock(0);
        if (other)
            section.Unlock();
    });
    EXPECT_TRUE(other);
}

TEST(SingleLock, AFailedUnlockKeepsTheLockHeld) {
    CMutex mutex;
    CSingleLock lock(&mutex, TRUE);
    BOOL released = TRUE;
    RunOnThread([&] { released = lock.Unlock(); }); // not the owner
    EXPECT_FALSE(released);
    EXPECT_TRUE(lock.IsLocked());
    EXPECT_TRUE(lock.Unlock());
}

TEST(SingleLock, RefusesANullObject) {
    CException* e = CatchAny([] { CSingleLock lock(nullptr); });
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CInvalidArgException)));
    e->Delete();
}
