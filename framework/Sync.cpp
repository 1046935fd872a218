// Sync.cpp: the synchronisation objects of Sync.h.
#include "Sync.h"

#include "Exception.h"

// ---------------------------------------------------------------------------
// CSyncObject

IMPLEMENT_DYNAMIC(CSyncObject, CObject)

CSyncObject::CSyncObject(LPCSTR) : m_hObject(nullptr) {}

CSyncObject::~CSyncObject() {
    if (m_hObject != nullptr) {
        ::CloseHandle(m_hObject);
        m_hObject = nullptr;
    }
}

BOOL CSyncObject::Lock(DWORD dwTimeout) {
    DWORD result = ::WaitForSingleObject(m_hObject, dwTimeout);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

BOOL CSyncObject::Unlock(LONG, LPLONG) {
    return TRUE;
}

// ---------------------------------------------------------------------------
// CCriticalSection

IMPLEMENT_DYNAMIC(CCriticalSection, CSyncObject)

CCriticalSection::CCriticalSection() : CSyncObject(nullptr) {
    if (!::InitializeCriticalSectionAndSpinCount(&m_sect, 0))
        AfxThrowMemoryException();
}

CCriticalSection::~CCriticalSection() {
    ::DeleteCriticalSection(&m_sect);
}

BOOL CCriticalSection::Lock() {
    ::EnterCriticalSection(&m_sect);
    return TRUE;
}

BOOL CCriticalSection::Lock(DWORD dwTimeout) {
    if (dwTimeout == INFINITE)
        return Lock();
    if (::TryEnterCriticalSection(&m_sect))
        return TRUE;
    // Poll: a few yields for a holder that is about to leave, then 1 ms sleeps.
    const DWORD start = ::GetTickCount();
    for (int round = 0;; ++round) {
        DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= dwTimeout)
            return ::TryEnterCriticalSection(&m_sect) ? TRUE : FALSE;
        ::Sleep(round < 4 ? 0 : 1);
        if (::TryEnterCriticalSection(&m_sect))
            return TRUE;
    }
}

BOOL CCriticalSection::Unlock() {
    ::LeaveCriticalSection(&m_sect);
    return TRUE;
}

// ---------------------------------------------------------------------------
// CMutex

IMPLEMENT_DYNAMIC(CMutex, CSyncObject)

CMutex::CMutex(BOOL bInitiallyOwn, LPCSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute)
    : CSyncObject(lpszName) {
    m_hObject = ::CreateMutexA(lpsaAttribute, bInitiallyOwn, lpszName);
    if (m_hObject == nullptr)
        AfxThrowResourceException();
}

BOOL CMutex::Unlock() {
    return ::ReleaseMutex(m_hObject);
}

// ---------------------------------------------------------------------------
// CEvent

IMPLEMENT_DYNAMIC(CEvent, CSyncObject)

CEvent::CEvent(BOOL bInitiallyOwn, BOOL bManualReset, LPCSTR lpszName,
               LPSECURITY_ATTRIBUTES lpsaAttribute)
    : CSyncObject(lpszName) {
    m_hObject = ::CreateEventA(lpsaAttribute, bManualReset, bInitiallyOwn, lpszName);
    if (m_hObject == nullptr)
        AfxThrowResourceException();
}

BOOL CEvent::SetEvent() {
    return ::SetEvent(m_hObject);
}
BOOL CEvent::ResetEvent() {
    return ::ResetEvent(m_hObject);
}
BOOL CEvent::PulseEvent() {
    return ::PulseEvent(m_hObject);
}
BOOL CEvent::Unlock() {
    return TRUE;
}

// ---------------------------------------------------------------------------
// CSingleLock

CSingleLock::CSingleLock(CSyncObject* pObject, BOOL bInitialLock)
    : m_pObject(pObject), m_hObject(nullptr), m_bAcquired(FALSE) {
    if (pObject == nullptr)
        AfxThrowInvalidArgException();
    m_hObject = pObject->m_hObject;
    if (bInitialLock)
        Lock();
}

CSingleLock::~CSingleLock() {
    Unlock();
}

BOOL CSingleLock::Lock(DWORD dwTimeOut) {
    if (m_bAcquired)
        return TRUE;
    m_bAcquired = m_pObject->Lock(dwTimeOut);
    return m_bAcquired;
}

BOOL CSingleLock::Unlock() {
    if (m_bAcquired)
        m_bAcquired = !m_pObject->Unlock();
    return !m_bAcquired;
}

BOOL CSingleLock::Unlock(LONG lCount, LPLONG lPrevCount) {
    if (m_bAcquired)
        m_bAcquired = !m_pObject->Unlock(lCount, lPrevCount);
    return !m_bAcquired;
}
