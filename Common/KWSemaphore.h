// KWSemaphore.h: CKWLoggedSemaphore, the lock of every store and engine,
// CKWSemaphoreGuard, which holds one for a scope, and GetFileBaseName.
//
// The lock has a count of one and is not re-entrant. It remembers the thread,
// source file and line of its holder, and a waiter writes a trace line naming
// both parties for every round it waits in vain (30,000 ms by default) without
// ever giving up. Any thread may unlock it; an unlock by another thread than
// the holder is logged and still releases.
#pragma once

#include "KWString.h"

#include <windows.h>

// The text after the last backslash or slash of the path; the whole path when
// it has neither.
CKWString GetFileBaseName(const CKWString& path);

class CKWLoggedSemaphore {
public:
    // Every lock of the system is unnamed: an in-process lock. A named one is a
    // system-wide semaphore under the label.
    CKWLoggedSemaphore(const CKWString& label, bool named);
    virtual ~CKWLoggedSemaphore();
    CKWLoggedSemaphore(const CKWLoggedSemaphore&) = delete;
    CKWLoggedSemaphore& operator=(const CKWLoggedSemaphore&) = delete;

    // Waits until the lock is free and takes it. False, with an error line and
    // the lock not held, only when the semaphore cannot be waited on at all.
    bool Lock(const CKWString& file, int line);
    void Unlock(const CKWString& file, int line);

    // Length of one wait round; tests shorten it.
    static void SetWaitRound(DWORD milliseconds);

private:
    struct Owner {
        DWORD thread;
        CKWString file;
        int line;
    };

    DWORD WaitRound(DWORD milliseconds);
    Owner ReadOwner();
    void SetOwner(DWORD thread, const CKWString& file, int line);

    bool m_named;
    HANDLE m_semaphore; // owns; named locks only, null when it could not be created
    CKWString m_label;  // only for the trace lines

    // Guards m_free and the owner record; held only briefly, never while waiting
    // for the semaphore itself or while tracing.
    SRWLOCK m_guard;
    CONDITION_VARIABLE m_freed; // woken by Unlock of an unnamed lock
    bool m_free;                // the unnamed lock's count: true = 1, false = 0

    DWORD m_ownerThread; // 0 when free
    CKWString m_ownerFile;
    int m_ownerLine;
};

// Holds a lock from construction to the end of the scope, naming the holder's
// source file and line in the lock's trace lines. A null lock, or one that
// cannot be waited on, is simply not held.
class CKWSemaphoreGuard {
public:
    CKWSemaphoreGuard(CKWLoggedSemaphore* lock, const char* file, int line)
        : m_lock(lock != nullptr && lock->Lock(file, line) ? lock : nullptr), m_file(file),
          m_line(line) {}
    ~CKWSemaphoreGuard() {
        if (m_lock != nullptr)
            m_lock->Unlock(m_file, m_line);
    }
    CKWSemaphoreGuard(const CKWSemaphoreGuard&) = delete;
    CKWSemaphoreGuard& operator=(const CKWSemaphoreGuard&) = delete;

private:
    CKWLoggedSemaphore* m_lock; // borrowed; held while not null
    const char* m_file;
    int m_line;
};
