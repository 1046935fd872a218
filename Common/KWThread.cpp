#include "KWThread.h"

#include "TraceLog.h"

CKWThread::CKWThread() : m_threadId(0), m_thread(nullptr), m_signal(0), m_running(0) {}

CKWThread::~CKWThread() {
    if (m_thread)
        CloseHandle(m_thread);
}

bool CKWThread::TestAndClearSignal() {
    return m_signal.exchange(0) != 0;
}

bool CKWThread::IsRunning() {
    return m_running != 0;
}

void CKWThread::RequestStop() {
    m_running = 0;
}

HANDLE CKWThread::Start() {
    if (m_thread)
        Wait();
    m_running = 1;
    m_thread = CreateThread(nullptr, 0, ThreadProc, this, 0, &m_threadId);
    if (!m_thread)
        KWTRACE_ERROR(("CKWThread::Start: cannot create the thread, error %u", GetLastError()));
    return m_thread;
}

void CKWThread::Wait() {
    KWTRACE(("Waiting for 0x%X\n", m_threadId));
    if (m_thread) {
        WaitForSingleObject(m_thread, INFINITE);
        if (!CloseHandle(m_thread))
            KWTRACE(("Close handle %d failed", (int)(INT_PTR)m_thread));
        m_thread = nullptr;
    }
    KWTRACE(("Wait done"));
}

DWORD WINAPI CKWThread::ThreadProc(void* param) {
    return static_cast<CKWThread*>(param)->Run();
}
