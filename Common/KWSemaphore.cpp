#include "KWSemaphore.h"

#include "TraceLog.h"

#include <atomic>

namespace {

const DWORD kDefaultWaitRound = 30000;
std::atomic<DWORD> g_waitRound(kDefaultWaitRound);

} // namespace

CKWString GetFileBaseName(const CKWString& path) {
    return CKWString(FindFileBaseName(path));
}

CKWLoggedSemaphore::CKWLoggedSemaphore(const CKWString& label, bool named)
    : m_named(named), m_semaphore(nullptr), m_label(label), m_free(true), m_ownerThread(0),
      m_ownerLine(0) {
    InitializeSRWLock(&m_guard);
    InitializeConditionVariable(&m_freed);
    if (!named) {
        // The stores' locks stay in the process: a kernel semaphore would cost a
        // round trip to the Wine server on every lock and unlock.
        KWTRACE(("Created unnamed semaphore <%s>", (const char*)m_label));
        return;
    }
    m_semaphore = CreateSemaphoreA(nullptr, 1, 1, m_label);
    if (!m_semaphore)
        KWTRACE(("Error <%d> creating semaphore <%s>", (int)GetLastError(), (const char*)m_label));
    else if (GetLastError() == ERROR_ALREADY_EXISTS)
        KWTRACE(("Opened handle to existing named semaphore <%s>", (const char*)m_label));
    else
        KWTRACE(("Created named semaphore <%s>", (const char*)m_label));
}

CKWLoggedSemaphore::~CKWLoggedSemaphore() {
    // A named semaphore that was never created, or fails to close, gets no line.
    if (m_named && (!m_semaphore || !CloseHandle(m_semaphore)))
        return;
    KWTRACE(("Closed handle for semaphore <%s>", (const char*)m_label));
}

void CKWLoggedSemaphore::SetWaitRound(DWORD milliseconds) {
    g_waitRound = milliseconds;
}

bool CKWLoggedSemaphore::Lock(const CKWString& file, int line) {
    for (;;) {
        DWORD result = WaitRound(g_waitRound);
        if (result == WAIT_OBJECT_0) {
            SetOwner(GetCurrentThreadId(), file, line);
            return true;
        }
        if (result != WAIT_TIMEOUT) {
            // A named lock whose semaphore could not be created: waiting again
            // would only spin, so the caller goes on without the lock.
            KWTRACE_ERROR(
                ("Error <%d> from WaitForSingleObject() for semaphore <%s> - from [%s(%d)]",
                 (int)result, (const char*)m_label, (const char*)GetFileBaseName(file), line));
            return false;
        }
        Owner owner = ReadOwner();
        KWTRACE_ERROR(("Semaphore <%s> timeout from [%s(%d)] as thread %X [%s(%d)] has it",
                       (const char*)m_label, (const char*)GetFileBaseName(file), line, owner.thread,
                       (const char*)GetFileBaseName(owner.file), owner.line));
    }
}

void CKWLoggedSemaphore::Unlock(const CKWString& file, int line) {
    Owner owner = ReadOwner();
    if (owner.thread != GetCurrentThreadId()) {
        // Allowed, and still released below: the lock cannot tell a deliberate
        // hand-over between threads from a bug, so the line is the only report.
        KWTRACE_ERROR(("Unlocking semaphore <%s> from [%s(%d)], locked by thread %X [%s(%d)]",
                       (const char*)m_label, (const char*)GetFileBaseName(file), line, owner.thread,
                       (const char*)GetFileBaseName(owner.file), owner.line));
    }
    AcquireSRWLockExclusive(&m_guard);
    m_ownerThread = 0;
    m_ownerFile.Empty();
    m_ownerLine = 0;
    // An unlock of a free lock leaves it free: the count never passes one, as
    // a named semaphore refuses a release past its maximum of one.
    m_free = true;
    ReleaseSRWLockExclusive(&m_guard);
    if (m_named)
        ReleaseSemaphore(m_semaphore, 1, nullptr);
    else
        WakeConditionVariable(&m_freed);
}

// Takes the lock when it frees within the round: WAIT_OBJECT_0 when taken,
// WAIT_TIMEOUT when the round passed, anything else when the wait failed.
DWORD CKWLoggedSemaphore::WaitRound(DWORD milliseconds) {
    if (m_named)
        return WaitForSingleObject(m_semaphore, milliseconds);

    AcquireSRWLockExclusive(&m_guard);
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    DWORD result = WAIT_OBJECT_0;
    while (!m_free) {
        ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            result = WAIT_TIMEOUT;
            break;
        }
        // Wakes early on an unlock or spuriously; the loop checks again.
        SleepConditionVariableSRW(&m_freed, &m_guard, static_cast<DWORD>(deadline - now), 0);
    }
    if (result == WAIT_OBJECT_0)
        m_free = false;
    ReleaseSRWLockExclusive(&m_guard);
    return result;
}

CKWLoggedSemaphore::Owner CKWLoggedSemaphore::ReadOwner() {
    // A copy taken under the guard, so that a trace line never reads a file
    // name that the holder's Unlock is freeing at the same moment.
    AcquireSRWLockShared(&m_guard);
    Owner owner = {m_ownerThread, m_ownerFile, m_ownerLine};
    ReleaseSRWLockShared(&m_guard);
    return owner;
}

void CKWLoggedSemaphore::SetOwner(DWORD thread, const CKWString& file, int line) {
    AcquireSRWLockExclusive(&m_guard);
    m_ownerThread = thread;
    m_ownerFile = file;
    m_ownerLine = line;
    ReleaseSRWLockExclusive(&m_guard);
}
