// Sync.h: the framework's synchronisation objects: CSyncObject, CCriticalSection,
// CMutex, CEvent and CSingleLock (no semaphore or multi-lock: the program uses
// neither).
//
// Cost on Wine: CCriticalSection lives in the process (no Wine-server call unless
// threads contend). CMutex and CEvent are kernel objects: creating, waiting on,
// setting or releasing one is a call into the Wine server, about a quarter of a
// millisecond; keep them out of hot paths.
//
// Errors: a kernel object that cannot be created (for example a name already
// used by an object of another type) throws CResourceException from the
// constructor; a critical section that cannot be initialised throws
// CMemoryException.
#pragma once

#include "Object.h"

#include <windows.h>

class CSyncObject : public CObject {
    DECLARE_DYNAMIC(CSyncObject)
public:
    // pstrName is kept for nothing (as in the framework); derived classes name
    // their kernel objects themselves.
    explicit CSyncObject(LPCSTR pstrName);
    ~CSyncObject() override; // closes m_hObject when there is one

    operator HANDLE() const { return m_hObject; }

    // Waits for the kernel object; TRUE when it was signalled or abandoned (an
    // abandoned mutex counts as acquired), FALSE on a time-out or an error.
    virtual BOOL Lock(DWORD dwTimeout = INFINITE);
    virtual BOOL Unlock() = 0;
    // For counted objects; the others do nothing and report TRUE.
    virtual BOOL Unlock(LONG lCount, LPLONG lpPrevCount = nullptr);

    // The kernel object; null for a critical section.
    HANDLE m_hObject;
};

// An in-process lock over CRITICAL_SECTION: re-entrant on the owning thread;
// each Lock needs its Unlock on the same thread.
class CCriticalSection : public CSyncObject {
    DECLARE_DYNAMIC(CCriticalSection)
public:
    CCriticalSection();
    ~CCriticalSection() override;

    operator CRITICAL_SECTION*() { return &m_sect; }

    BOOL Lock();
    // Unlike the framework, which ignores a time-out here, a finite time-out is
    // honoured: the section is polled with TryEnterCriticalSection (backing off
    // from a yield to 1 ms sleeps) until it is entered (TRUE) or the time passes
    // (FALSE). INFINITE waits like Lock().
    BOOL Lock(DWORD dwTimeout) override;
    BOOL Unlock() override;
    using CSyncObject::Unlock;

    CRITICAL_SECTION m_sect;
};

// A kernel mutex, unnamed (this process) or named (shared with every process of
// the same Wine prefix). Re-entrant on the owning thread; only the owner can
// release it (Unlock by another thread returns FALSE). Lock reports an abandoned
// mutex (its owner ended without releasing it) as acquired.
class CMutex : public CSyncObject {
    DECLARE_DYNAMIC(CMutex)
public:
    // A named mutex that exists already is opened; bInitiallyOwn then does not
    // make this thread its owner (Win32's rule), so Lock it when ownership matters.
    explicit CMutex(BOOL bInitiallyOwn = FALSE, LPCSTR lpszName = nullptr,
                    LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    ~CMutex() override = default;

    BOOL Unlock() override;
    using CSyncObject::Unlock;
};

// A kernel event. Auto-reset (the default) lets one waiter through per SetEvent
// and resets itself; manual-reset stays signalled until ResetEvent. Named events
// are shared by the processes of the Wine prefix.
class CEvent : public CSyncObject {
    DECLARE_DYNAMIC(CEvent)
public:
    // bInitiallyOwn: created signalled. An existing named event is opened as it is.
    explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE,
                    LPCSTR lpszName = nullptr, LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    ~CEvent() override = default;

    BOOL SetEvent();
    BOOL ResetEvent();
    // Releases the threads waiting now (manual-reset: all, auto-reset: one) and
    // leaves the event reset. Win32 itself calls PulseEvent unreliable: a waiter
    // that is briefly not waiting misses the pulse.
    BOOL PulseEvent();
    // Nothing to release: TRUE.
    BOOL Unlock() override;
    using CSyncObject::Unlock;
};

// Holds one synchronisation object for a scope: Lock acquires it (with an optional
// time-out), Unlock releases it, and the destructor releases it when still held.
// Not to be shared between threads.
class CSingleLock {
public:
    // pObject must not be null (CInvalidArgException). With bInitialLock the
    // object is locked at once, without limit.
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
    ~CSingleLock();
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    // TRUE when the object was acquired within the time-out. Locking again while
    // this lock already holds the object does not acquire it twice: TRUE at once.
    BOOL Lock(DWORD dwTimeOut = INFINITE);
    // Releases the object when held; TRUE when it is not held afterwards.
    BOOL Unlock();
    BOOL Unlock(LONG lCount, LPLONG lPrevCount = nullptr);
    BOOL IsLocked() const { return m_bAcquired; }

protected:
    CSyncObject* m_pObject;
    HANDLE m_hObject;
    BOOL m_bAcquired;
};
