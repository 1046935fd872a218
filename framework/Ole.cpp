// Ole.cpp: AfxOleInit, AfxOleIsInitialized and AfxOleTerm.
#include "Ole.h"

namespace {

// The thread on which AfxOleInit succeeded; 0 before that and after AfxOleTerm.
// Set and cleared by compare-and-swap, so two threads can never both own OLE.
LONG s_nOleThread = 0;

} // namespace

BOOL AFXAPI AfxOleInit() {
    const LONG nThread = static_cast<LONG>(GetCurrentThreadId());
    const LONG nOwner = InterlockedCompareExchange(&s_nOleThread, 0, 0);
    if (nOwner == nThread)
        return TRUE;
    if (nOwner != 0) {
        TRACE("AfxOleInit: OLE was initialised by thread %lx already\n",
              static_cast<unsigned long>(nOwner));
        return FALSE;
    }
    const HRESULT hr = OleInitialize(nullptr);
    if (FAILED(hr)) {
        TRACE("AfxOleInit: OleInitialize failed (0x%08lx)\n", static_cast<unsigned long>(hr));
        return FALSE;
    }
    if (InterlockedCompareExchange(&s_nOleThread, nThread, 0) != 0) {
        // Another thread won the race: leave OLE to it.
        OleUninitialize();
        return FALSE;
    }
    return TRUE;
}

BOOL AFXAPI AfxOleIsInitialized() {
    return InterlockedCompareExchange(&s_nOleThread, 0, 0) ==
           static_cast<LONG>(GetCurrentThreadId());
}

void AFXAPI AfxOleTerm() {
    const LONG nThread = static_cast<LONG>(GetCurrentThreadId());
    if (InterlockedCompareExchange(&s_nOleThread, 0, nThread) != nThread)
        return;
    OleUninitialize();
}
