// KWThread.h: CKWThread, the base of the worker threads that poll a running flag.
//
// Start sets the running flag and runs the virtual Run on a new thread;
// RequestStop clears the flag, which Run polls; Wait waits for the thread
// without limit. A subclass's Run loops while IsRunning and clears m_running
// when it ends on its own. It must not set the flag again at its start: a stop
// requested before the body began would be lost, and the owner's Wait would
// never return. Owners stop a worker with: if IsRunning, RequestStop, then
// Wait, before they free anything the body uses.
#pragma once

#include <windows.h>

#include <atomic>

class CKWThread {
public:
    CKWThread();
    // Closes a held thread handle without waiting for the thread.
    virtual ~CKWThread();
    CKWThread(const CKWThread&) = delete;
    CKWThread& operator=(const CKWThread&) = delete;

    // True once per raise of the signal flag, which nothing raises today.
    virtual bool TestAndClearSignal();
    virtual bool IsRunning();
    virtual void RequestStop();

    // Waits for an earlier thread of this object first. Returns the new
    // thread's handle (owned by this object), null when it could not start.
    HANDLE Start();
    void Wait();

protected:
    // The thread body; its result is the thread's exit code.
    virtual DWORD Run() = 0;

private:
    static DWORD WINAPI ThreadProc(void* param);

    DWORD m_threadId; // of the running or last thread
    HANDLE m_thread;  // owns; null when no thread is held
    std::atomic<LONG> m_signal;

protected:
    // 1 from Start until a stop request or the end of the body. Written by the
    // owner and the body, polled by the body: a stale read only delays the stop
    // by one round of the body's loop.
    std::atomic<LONG> m_running;
};
