// Wnd.cpp: CWnd's handle map, creation, subclassing, teardown, family and layout
// helpers, and the window procedure AfxWndProc. Message dispatch and routing are
// in WndMsg.cpp, tooltips in WndToolTip.cpp.
#include "Wnd.h"

#include "Dc.h"
#include "Exception.h"
#include "Gdi.h"
#include "HandleMap.h"
#include "Menu.h"
#include "WinApp.h"
#include "WinThread.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

namespace {

using CWndMap = CHandleMap<CWnd, HWND>;

// Windows whose object left while a foreign subclass sat above AfxWndProc:
// AfxWndProc stays in their chain and passes each message to the procedure it
// had subclassed. Per thread, as window procedures run on their window's thread;
// made on first use and freed when it empties.
// (The procedures are kept as LONG_PTR, the form GetWindowLongPtr gives them.)
thread_local std::unordered_map<HWND, LONG_PTR>* t_pOrphans = nullptr;

WNDPROC OrphanLookup(HWND hWnd) {
    if (t_pOrphans == nullptr)
        return nullptr;
    auto it = t_pOrphans->find(hWnd);
    return it == t_pOrphans->end() ? nullptr : reinterpret_cast<WNDPROC>(it->second);
}

void OrphanAdd(HWND hWnd, WNDPROC pfnSuper) {
    if (t_pOrphans == nullptr)
        t_pOrphans = new std::unordered_map<HWND, LONG_PTR>;
    (*t_pOrphans)[hWnd] = reinterpret_cast<LONG_PTR>(pfnSuper);
}

void OrphanRemove(HWND hWnd) {
    if (t_pOrphans == nullptr)
        return;
    t_pOrphans->erase(hWnd);
    if (t_pOrphans->empty()) {
        delete t_pOrphans;
        t_pOrphans = nullptr;
    }
}

WNDPROC CurrentWndProc(HWND hWnd) {
    return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
}

// Puts AfxWndProc in front of the window's procedure; the previous one, or null
// when AfxWndProc is the class's own procedure already.
WNDPROC InstallAfxWndProc(HWND hWnd) {
    if (CurrentWndProc(hWnd) == &AfxWndProc)
        return nullptr;
    // A subclass put over such a class before this (PreSubclassWindow may do
    // that) passes every message down to AfxWndProc already; another one on
    // top would have the object's default processing come back to it for ever.
    if (reinterpret_cast<WNDPROC>(::GetClassLongPtrA(hWnd, GCLP_WNDPROC)) == &AfxWndProc)
        return nullptr;
    return reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
}

// The parent of a child window, the owner of any other.
HWND ParentOrOwner(HWND hWnd) {
    if (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD)
        return ::GetParent(hWnd);
    return ::GetWindow(hWnd, GW_OWNER);
}

bool IsWindowOfThisThread(HWND hWnd) {
    DWORD dwProcessId = 0;
    return hWnd != nullptr && ::IsWindow(hWnd) &&
           ::GetWindowThreadProcessId(hWnd, &dwProcessId) == ::GetCurrentThreadId() &&
           dwProcessId == ::GetCurrentProcessId();
}

// The input-method window that Wine may create inside the first CreateWindowEx
// of a thread, before the window asked for; the creation hook must skip it.
bool IsImeWindow(HWND hWnd) {
    char szClass[8] = "";
    return ::GetClassNameA(hWnd, szClass, sizeof(szClass)) > 0 && lstrcmpiA(szClass, "IME") == 0;
}

// The window-procedure result for a message whose handler threw: the thread
// object decides (CWinThread::ProcessWndProcException), or a stand-in on threads
// without one.
LRESULT ResultOfEscapedException(CException* e, MSG msg) {
    if (CWinThread* pThread = AfxGetThread())
        return pThread->ProcessWndProcException(e, &msg);
    return AfxProcessWndProcException(e, &msg);
}

} // namespace

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

CWnd::CWnd()
    : m_hWnd(nullptr), m_pfnSuper(nullptr), m_hWndOwner(nullptr), m_nFlags(0), m_nModalResult(0) {}

CWnd::CWnd(HWND hWndSpecial) : CWnd() {
    m_hWnd = hWndSpecial;
}

CWnd::~CWnd() {
    if (m_hWnd == nullptr || this == &wndTop || this == &wndBottom || this == &wndTopMost ||
        this == &wndNoTopMost)
        return;
    HWND hWnd = m_hWnd;
    if (FromHandlePermanent(hWnd) != this) {
        // A temporary wrapper, or an object of another thread's map: not ours to destroy.
        m_hWnd = nullptr;
        return;
    }
    TRACE("CWnd::~CWnd: destroying window %p; its OnDestroy and PostNcDestroy do not run.\n", hWnd);
    Detach();
    ::DestroyWindow(hWnd);
}

HWND CWnd::GetSafeHwnd() const {
    // Read through a volatile copy: the compiler may otherwise assume that
    // `this` is never null and drop the test.
    const CWnd* volatile pSelf = this;
    return pSelf == nullptr ? nullptr : pSelf->m_hWnd;
}

// ---------------------------------------------------------------------------
// The handle map.

CWnd* PASCAL CWnd::FromHandle(HWND hWnd) {
    if (hWnd == nullptr)
        return nullptr;
    CWndMap* pMap = CWndMap::ForThisThread();
    if (pMap == nullptr)
        return nullptr; // the thread is ending
    if (CWnd* pWnd = pMap->LookupPermanent(hWnd))
        return pWnd;
    if (CWnd* pWnd = pMap->LookupTemporary(hWnd))
        return pWnd;
    std::unique_ptr<CWnd> pTemp(new CWnd);
    pTemp->m_hWnd = hWnd;
    return pMap->AddTemporary(hWnd, std::move(pTemp));
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd) {
    if (hWnd == nullptr)
        return nullptr;
    CWndMap* pMap = CWndMap::ForThisThread();
    return pMap == nullptr ? nullptr : pMap->LookupPermanent(hWnd);
}

void PASCAL CWnd::DeleteTempMap() {
    AfxDeleteTempGdiObjects();
}

BOOL CWnd::Attach(HWND hWndNew) {
    if (m_hWnd != nullptr || hWndNew == nullptr || !::IsWindow(hWndNew)) {
        TRACE("CWnd::Attach: the object has a window already or %p is no window.\n", hWndNew);
        return FALSE;
    }
    CWndMap* pMap = CWndMap::ForThisThread();
    if (pMap == nullptr)
        return FALSE;
    if (pMap->LookupPermanent(hWndNew) != nullptr) {
        TRACE("CWnd::Attach: window %p belongs to another object.\n", hWndNew);
        return FALSE;
    }
    pMap->SetPermanent(hWndNew, this);
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd == nullptr)
        return nullptr;
    ReleaseSubclass();
    if (CWndMap* pMap = CWndMap::ForThisThread())
        pMap->RemovePermanent(hWnd, this);
    m_hWnd = nullptr;
    return hWnd;
}

// ---------------------------------------------------------------------------
// Subclassing.

void CWnd::ReleaseSubclass() {
    if (m_pfnSuper == nullptr)
        return; // never subclassed, or AfxWndProc is the class's procedure
    if (CurrentWndProc(m_hWnd) == &AfxWndProc)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    else if (::IsWindow(m_hWnd))
        OrphanAdd(m_hWnd, m_pfnSuper); // a foreign subclass above still calls AfxWndProc
    m_pfnSuper = nullptr;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (m_hWnd != nullptr || !IsWindowOfThisThread(hWnd)) {
        TRACE("CWnd::SubclassWindow: the object has a window or %p is no window of this "
              "thread.\n",
              hWnd);
        return FALSE;
    }
    WNDPROC pfnOrphaned = OrphanLookup(hWnd);
    if (pfnOrphaned != nullptr && CurrentWndProc(hWnd) != &AfxWndProc) {
        // Subclassing again would call AfxWndProc twice for every message.
        TRACE("CWnd::SubclassWindow: an earlier subclass of %p lies under a foreign one.\n", hWnd);
        return FALSE;
    }
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    if (m_hWnd != hWnd)
        return FALSE; // PreSubclassWindow gave the window up
    if (pfnOrphaned != nullptr) {
        m_pfnSuper = pfnOrphaned; // AfxWndProc is on top of the chain already
        OrphanRemove(hWnd);
    } else {
        m_pfnSuper = InstallAfxWndProc(hWnd);
    }
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    HWND hWndParent = pParent->GetSafeHwnd();
    HWND hWndControl = hWndParent != nullptr ? ::GetDlgItem(hWndParent, nID) : nullptr;
    if (hWndControl == nullptr) {
        TRACE("CWnd::SubclassDlgItem: no control %u.\n", nID);
        return FALSE;
    }
    return SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow() {
    return Detach();
}

void CWnd::PreSubclassWindow() {}

// ---------------------------------------------------------------------------
// Creation.

LRESULT CALLBACK CWnd::CbtFilterHook(int nCode, WPARAM wParam, LPARAM lParam) {
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (nCode == HCBT_CREATEWND && pState->m_pWndInit != nullptr) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        if (!IsImeWindow(hWnd)) {
            CWnd* pWnd = pState->m_pWndInit;
            if (pWnd->Attach(hWnd)) {
                try {
                    pWnd->PreSubclassWindow();
                } catch (CException* e) {
                    AfxTrace("CWnd::CbtFilterHook: PreSubclassWindow threw; the window goes on.\n");
                    e->Delete();
                } catch (...) {
                    AfxTrace("CWnd::CbtFilterHook: PreSubclassWindow threw; the window goes on.\n");
                }
                pWnd->m_pfnSuper = InstallAfxWndProc(hWnd);
            }
            pState->m_pWndInit = nullptr;
        }
    }
    return ::CallNextHookEx(pState->m_hHookOldCbtFilter, nCode, wParam, lParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam) {
    if (m_hWnd != nullptr) {
        TRACE("CWnd::CreateEx: the object owns window %p already.\n", m_hWnd);
        return FALSE;
    }
    CREATESTRUCTA cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy(); // the window will never come: the object's last call
        return FALSE;
    }

    AFX_THREAD_STATE* pState = AfxGetThreadState();
    // A creation nested in the hook's PreSubclassWindow: put the outer one back after.
    CWnd* pOuterInit = pState->m_pWndInit;
    bool bOwnHook = false;
    if (pState->m_hHookOldCbtFilter == nullptr) {
        pState->m_hHookOldCbtFilter =
            ::SetWindowsHookExA(WH_CBT, &CWnd::CbtFilterHook, nullptr, ::GetCurrentThreadId());
        if (pState->m_hHookOldCbtFilter == nullptr) {
            AfxTrace("CWnd::CreateEx: cannot install the creation hook, error %lu.\n",
                     static_cast<unsigned long>(::GetLastError()));
            PostNcDestroy();
            return FALSE;
        }
        bOwnHook = true;
    }
    pState->m_pWndInit = this;
    HWND hWnd =
        ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx,
                          cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    DWORD dwError = ::GetLastError();
    bool bBound = pState->m_pWndInit != this;
    pState->m_pWndInit = pOuterInit;
    if (bOwnHook) {
        ::UnhookWindowsHookEx(pState->m_hHookOldCbtFilter);
        pState->m_hHookOldCbtFilter = nullptr;
    }

    if (hWnd == nullptr) {
        TRACE("CWnd::CreateEx: CreateWindowEx failed, error %lu.\n",
              static_cast<unsigned long>(dwError));
        // A bound object has had its WM_NCDESTROY and PostNcDestroy (it may be gone).
        if (!bBound)
            PostNcDestroy();
        return FALSE;
    }
    if (!bBound) {
        AfxTrace("CWnd::CreateEx: the creation hook missed window %p; subclassing it late.\n",
                 hWnd);
        SubclassWindow(hWnd);
    }
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
    if (dwStyle & WS_POPUP) {
        TRACE("CWnd::Create: a child window cannot have WS_POPUP; use CreateEx.\n");
        return FALSE;
    }
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID,
                    pContext);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (cs.lpszClass == nullptr) {
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW));
        if (cs.lpszClass == nullptr)
            return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    HWND hWnd = m_hWnd;
    if (hWnd == nullptr)
        return FALSE;
    BOOL bResult = ::DestroyWindow(hWnd);
    // An object that only Attach'ed its window saw no WM_NCDESTROY; `this` may be
    // gone otherwise (PostNcDestroy), so only the map is asked.
    if (bResult && FromHandlePermanent(hWnd) == this)
        Detach();
    return bResult;
}

void CWnd::OnNcDestroy() {
    // The main window of a thread takes the thread's message loop with it.
    if (CWinThread* pThread = AfxGetThread()) {
        if (pThread->m_pMainWnd == this) {
            pThread->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
        if (pThread->m_pActiveWnd == this)
            pThread->m_pActiveWnd = nullptr;
    }
    if (m_nFlags & WF_CONTINUEMODAL)
        EndModalLoop(-1); // a modal loop on a window that is gone ends
    Default();
    FinishNcDestroy();
}

void CWnd::FinishNcDestroy() {
    // The window is going: AfxWndProc leaves the chain when it is on top, and no
    // pass-through is kept for it otherwise (no message comes after this one).
    if (m_pfnSuper != nullptr && CurrentWndProc(m_hWnd) == &AfxWndProc)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    Detach();
    PostNcDestroy();
}

void CWnd::PostNcDestroy() {}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) {
    DWORD dwExStyle = GetExStyle();
    if (nAdjustType == adjustBorder)
        dwExStyle &= ~WS_EX_CLIENTEDGE;
    ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, dwExStyle);
}

// ---------------------------------------------------------------------------
// The window procedure.

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CWnd* pWnd = CWnd::FromHandlePermanent(hWnd))
        return AfxCallWndProc(pWnd, hWnd, message, wParam, lParam);
    if (WNDPROC pfnSuper = OrphanLookup(hWnd)) {
        LRESULT lResult = ::CallWindowProcA(pfnSuper, hWnd, message, wParam, lParam);
        if (message == WM_NCDESTROY)
            OrphanRemove(hWnd);
        return lResult;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    MSG msgOuter = pState->m_lastSentMsg;
    pState->m_lastSentMsg.hwnd = hWnd;
    pState->m_lastSentMsg.message = message;
    pState->m_lastSentMsg.wParam = wParam;
    pState->m_lastSentMsg.lParam = lParam;
    ++pState->m_nWndProcDepth;

    LRESULT lResult = 0;
    // Nothing may unwind through the system's frames: every exception ends here.
    // `pWnd` may be deleted by the time WindowProc returns or throws.
    try {
        lResult = pWnd->WindowProc(message, wParam, lParam);
    } catch (CException* e) {
        lResult = ResultOfEscapedException(e, pState->m_lastSentMsg);
        e->Delete();
    } catch (const std::exception& e) {
        AfxTrace("AfxCallWndProc: message 0x%04X to %p threw: %s\n", message, hWnd, e.what());
        lResult = ResultOfEscapedException(nullptr, pState->m_lastSentMsg);
    } catch (...) {
        lResult = ResultOfEscapedException(nullptr, pState->m_lastSentMsg);
    }

    --pState->m_nWndProcDepth;
    pState->m_lastSentMsg = msgOuter;
    if (message == WM_NCDESTROY) {
        // A WM_NCDESTROY handler that skipped CWnd::OnNcDestroy (or threw) still
        // must not leave the object bound to a dead handle.
        if (CWnd* pLeft = CWnd::FromHandlePermanent(hWnd)) {
            TRACE("AfxCallWndProc: WM_NCDESTROY of %p did not reach CWnd::OnNcDestroy.\n", hWnd);
            pLeft->FinishNcDestroy();
        }
    }
    return lResult;
}

// ---------------------------------------------------------------------------
// Window classes.

LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground,
                                   HICON hIcon) {
    // Names live as long as the process: callers keep the pointer in CREATESTRUCTs.
    static SRWLOCK s_lock = SRWLOCK_INIT;
    static std::set<std::string>* s_pNames = new std::set<std::string>;

    HINSTANCE hInstance = AfxGetInstanceHandle();
    char szName[96];
    snprintf(szName, sizeof(szName), "Afx:%p:%x:%p:%p:%p", static_cast<void*>(hInstance),
             nClassStyle, static_cast<void*>(hCursor), static_cast<void*>(hbrBackground),
             static_cast<void*>(hIcon));

    ::AcquireSRWLockExclusive(&s_lock);
    auto it = s_pNames->find(szName);
    if (it == s_pNames->end()) {
        WNDCLASSA wc = {};
        if (!::GetClassInfoA(hInstance, szName, &wc)) {
            wc.style = nClassStyle;
            wc.lpfnWndProc = &AfxWndProc;
            wc.hInstance = hInstance;
            wc.hIcon = hIcon;
            wc.hCursor = hCursor;
            wc.hbrBackground = hbrBackground;
            wc.lpszClassName = szName;
            if (!::RegisterClassA(&wc)) {
                AfxTrace("AfxRegisterWndClass: cannot register %s, error %lu.\n", szName,
                         static_cast<unsigned long>(::GetLastError()));
                ::ReleaseSRWLockExclusive(&s_lock);
                return nullptr;
            }
        }
        it = s_pNames->insert(szName).first;
    }
    LPCTSTR lpszName = it->c_str();
    ::ReleaseSRWLockExclusive(&s_lock);
    return lpszName;
}

// ---------------------------------------------------------------------------
// Family.

CWnd* CWnd::GetOwner() const {
    return m_hWndOwner != nullptr ? FromHandle(m_hWndOwner) : GetParent();
}

CWnd* CWnd::GetTopLevelParent() const {
    if (m_hWnd == nullptr)
        return nullptr;
    HWND hWndTop = m_hWnd;
    for (HWND hWndUp; (hWndUp = ParentOrOwner(hWndTop)) != nullptr;)
        hWndTop = hWndUp;
    return FromHandle(hWndTop);
}

CWnd* CWnd::GetTopLevelOwner() const {
    if (m_hWnd == nullptr)
        return nullptr;
    HWND hWndTop = m_hWnd;
    for (HWND hWndUp; (hWndUp = ::GetWindow(hWndTop, GW_OWNER)) != nullptr;)
        hWndTop = hWndUp;
    return FromHandle(hWndTop);
}

CFrameWnd* CWnd::GetParentFrame() const {
    for (CWnd* pParent = GetParent(); pParent != nullptr; pParent = pParent->GetParent()) {
        if (CFrameWnd* pFrame = pParent->AsFrameWnd())
            return pFrame;
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
    CFrameWnd* pTop = const_cast<CWnd*>(this)->AsFrameWnd();
    for (CWnd* pParent = GetParent(); pParent != nullptr; pParent = pParent->GetParent()) {
        if (CFrameWnd* pFrame = pParent->AsFrameWnd())
            pTop = pFrame;
    }
    return pTop;
}

namespace {
HWND FindDescendant(HWND hWnd, int nID, BOOL bOnlyPerm) {
    for (HWND hChild = ::GetTopWindow(hWnd); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(hChild) == nID &&
            (!bOnlyPerm || CWnd::FromHandlePermanent(hChild) != nullptr))
            return hChild;
        if (HWND hFound = FindDescendant(hChild, nID, bOnlyPerm))
            return hFound;
    }
    return nullptr;
}
} // namespace

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const {
    return FromHandle(FindDescendant(m_hWnd, nID, bOnlyPerm));
}

namespace {

// The visible, enabled top-level window of this thread, nearest the front, that
// hWndTop owns directly or through other popups; null when there is none.
HWND FrontEnabledPopup(HWND hWndTop) {
    const DWORD dwThread = ::GetCurrentThreadId();
    for (HWND hWnd = ::GetTopWindow(nullptr); hWnd != nullptr;
         hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        if (hWnd == hWndTop || ::GetWindowThreadProcessId(hWnd, nullptr) != dwThread ||
            !::IsWindowVisible(hWnd) || !::IsWindowEnabled(hWnd))
            continue;
        for (HWND hWndOwner = ::GetWindow(hWnd, GW_OWNER); hWndOwner != nullptr;
             hWndOwner = ::GetWindow(hWndOwner, GW_OWNER)) {
            if (hWndOwner == hWndTop)
                return hWnd;
        }
    }
    return nullptr;
}

} // namespace

CWnd* PASCAL CWnd::GetSafeOwner(CWnd* pParent, HWND* pWndTop) {
    // Tested before any call through it: a member call tells the compiler that
    // the pointer is not null, and the test of pParent below would then go.
    HWND hWnd = pParent != nullptr ? pParent->m_hWnd : nullptr;
    if (hWnd == nullptr) {
        CWnd* pMain = AfxGetMainWnd();
        hWnd = pMain != nullptr ? pMain->m_hWnd : nullptr;
    }
    HWND hWndTop = hWnd;
    if (hWndTop != nullptr) {
        for (HWND hWndUp; (hWndUp = ParentOrOwner(hWndTop)) != nullptr;)
            hWndTop = hWndUp;
    }
    if (pWndTop != nullptr)
        *pWndTop = hWndTop;
    // Without a given parent the box belongs in front of whatever popup is active.
    if (pParent == nullptr && hWndTop != nullptr) {
        hWnd = ::GetLastActivePopup(hWndTop);
        // A disabled answer is a window under a modal loop: right after a common
        // dialog closes, the last active popup can be the main window itself while
        // a modal dialog owned by it still runs. A box owned by the disabled window
        // would enable it again when it closes, under the running dialog, so the
        // box goes to the front-most enabled popup of that window instead.
        if (hWnd != nullptr && !::IsWindowEnabled(hWnd)) {
            HWND hWndPopup = FrontEnabledPopup(hWndTop);
            if (hWndPopup != nullptr)
                hWnd = hWndPopup;
        }
    }
    return FromHandle(hWnd);
}

BOOL AFXAPI AfxIsDescendant(HWND hWndParent, HWND hWndChild) {
    for (HWND hWnd = hWndChild; hWnd != nullptr; hWnd = ParentOrOwner(hWnd)) {
        if (hWnd == hWndParent)
            return TRUE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Styles, placement and layout.

BOOL PASCAL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    DWORD dwStyle = static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_STYLE));
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongA(hWnd, GWL_STYLE, static_cast<LONG>(dwNewStyle));
    if (nFlags != 0)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL PASCAL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    DWORD dwStyle = static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_EXSTYLE));
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongA(hWnd, GWL_EXSTYLE, static_cast<LONG>(dwNewStyle));
    if (nFlags != 0)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    bool bChild = (GetStyle() & WS_CHILD) != 0;
    HWND hWndCenter = pAlternateOwner->GetSafeHwnd();
    if (hWndCenter == nullptr)
        hWndCenter = bChild ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);

    RECT rcWindow, rcArea, rcCenter;
    ::GetWindowRect(m_hWnd, &rcWindow);
    if (bChild) {
        // Within the parent's client area, in its coordinates.
        HWND hWndParent = ::GetParent(m_hWnd);
        ::GetClientRect(hWndParent, &rcArea);
        if (hWndCenter == hWndParent)
            rcCenter = rcArea;
        else {
            ::GetWindowRect(hWndCenter, &rcCenter);
            ::MapWindowPoints(nullptr, hWndParent, reinterpret_cast<LPPOINT>(&rcCenter), 2);
        }
        ::MapWindowPoints(nullptr, hWndParent, reinterpret_cast<LPPOINT>(&rcWindow), 2);
    } else {
        // Over a visible, normal owner, else the work area of the window's monitor.
        if (hWndCenter != nullptr && (!::IsWindowVisible(hWndCenter) || ::IsIconic(hWndCenter)))
            hWndCenter = nullptr;
        MONITORINFO mi = {};
        mi.cbSize = sizeof(mi);
        HMONITOR hMonitor = ::MonitorFromWindow(hWndCenter != nullptr ? hWndCenter : m_hWnd,
                                                MONITOR_DEFAULTTONEAREST);
        if (!::GetMonitorInfoA(hMonitor, &mi))
            ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &mi.rcWork, 0);
        rcArea = mi.rcWork;
        if (hWndCenter != nullptr)
            ::GetWindowRect(hWndCenter, &rcCenter);
        else
            rcCenter = rcArea;
    }

    int cx = rcWindow.right - rcWindow.left;
    int cy = rcWindow.bottom - rcWindow.top;
    int x = (rcCenter.left + rcCenter.right) / 2 - cx / 2;
    int y = (rcCenter.top + rcCenter.bottom) / 2 - cy / 2;
    x = std::max(static_cast<int>(rcArea.left), std::min(x, static_cast<int>(rcArea.right) - cx));
    y = std::max(static_cast<int>(rcArea.top), std::min(y, static_cast<int>(rcArea.bottom) - cy));
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AFXAPI AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect) {
    if (lpLayout != nullptr && lpLayout->hDWP == nullptr)
        return; // a query, or an earlier DeferWindowPos failed
    HWND hWndParent = ::GetParent(hWnd);
    RECT rcNow;
    ::GetWindowRect(hWnd, &rcNow);
    ::MapWindowPoints(nullptr, hWndParent, reinterpret_cast<LPPOINT>(&rcNow), 2);
    if (::EqualRect(&rcNow, lpRect))
        return;
    int cx = lpRect->right - lpRect->left, cy = lpRect->bottom - lpRect->top;
    if (lpLayout != nullptr)
        lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top,
                                          cx, cy, SWP_NOACTIVATE | SWP_NOZORDER);
    else
        ::SetWindowPos(hWnd, nullptr, lpRect->left, lpRect->top, cx, cy,
                       SWP_NOACTIVATE | SWP_NOZORDER);
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlags,
                          LPRECT lpRectParam, LPCRECT lpRectClient, BOOL bStretch) {
    if (nFlags != reposDefault && lpRectParam == nullptr) {
        TRACE("CWnd::RepositionBars: mode %u needs lpRectParam.\n", nFlags);
        return;
    }
    AFX_SIZEPARENTPARAMS layout = {};
    layout.bStretch = bStretch;
    if (lpRectClient != nullptr)
        layout.rect = *lpRectClient;
    else
        ::GetClientRect(m_hWnd, &layout.rect);
    layout.hDWP = nFlags == reposQuery ? nullptr : ::BeginDeferWindowPos(8);

    // Each bar in id range takes its side out of layout.rect, in z-order.
    HWND hWndLeftOver = nullptr;
    for (HWND hChild = ::GetTopWindow(m_hWnd); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        UINT nID = static_cast<UINT>(::GetDlgCtrlID(hChild));
        if (nID == nIDLeftOver)
            hWndLeftOver = hChild;
        else if (nID >= nIDFirst && nID <= nIDLast && FromHandlePermanent(hChild) != nullptr)
            ::SendMessageA(hChild, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
    }

    if (nFlags == reposQuery) {
        if (bStretch)
            *lpRectParam = layout.rect;
        else
            ::SetRect(lpRectParam, 0, 0, layout.sizeTotal.cx, layout.sizeTotal.cy);
        return;
    }
    if (nIDLeftOver != 0 && hWndLeftOver != nullptr) {
        if (nFlags == reposExtra) {
            layout.rect.left += lpRectParam->left;
            layout.rect.top += lpRectParam->top;
            layout.rect.right -= lpRectParam->right;
            layout.rect.bottom -= lpRectParam->bottom;
        }
        FromHandle(hWndLeftOver)->CalcWindowRect(&layout.rect);
        AfxRepositionWindow(&layout, hWndLeftOver, &layout.rect);
    }
    if (layout.hDWP == nullptr || !::EndDeferWindowPos(layout.hDWP))
        AfxTrace("CWnd::RepositionBars: deferred window positions failed.\n");
}

// ---------------------------------------------------------------------------
// Painting, text, fonts, menus, misc.

void CWnd::InvalidateRgn(CRgn* pRgn, BOOL bErase) {
    ::InvalidateRgn(m_hWnd, pRgn != nullptr ? static_cast<HRGN>(pRgn->m_hObject) : nullptr, bErase);
}

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn* prgnUpdate, UINT flags) {
    return ::RedrawWindow(
        m_hWnd, lpRectUpdate,
        prgnUpdate != nullptr ? static_cast<HRGN>(prgnUpdate->m_hObject) : nullptr, flags);
}

CDC* CWnd::GetDC() {
    return CDC::FromHandle(::GetDC(m_hWnd));
}

CDC* CWnd::GetWindowDC() {
    return CDC::FromHandle(::GetWindowDC(m_hWnd));
}

CDC* CWnd::GetDCEx(CRgn* prgnClip, DWORD flags) {
    return CDC::FromHandle(::GetDCEx(
        m_hWnd, prgnClip != nullptr ? static_cast<HRGN>(prgnClip->m_hObject) : nullptr, flags));
}

int CWnd::ReleaseDC(CDC* pDC) {
    return pDC != nullptr ? ::ReleaseDC(m_hWnd, pDC->m_hDC) : 0;
}

void CWnd::SetWindowText(LPCTSTR lpszString) {
    if (lpszString == nullptr)
        lpszString = "";
    // Compares first: setting an equal text still repaints the window.
    char szOld[256];
    int nNewLength = lstrlenA(lpszString);
    if (nNewLength >= static_cast<int>(sizeof(szOld)) ||
        ::GetWindowTextA(m_hWnd, szOld, sizeof(szOld)) != nNewLength ||
        lstrcmpA(szOld, lpszString) != 0)
        ::SetWindowTextA(m_hWnd, lpszString);
}

void CWnd::GetWindowText(CString& rString) const {
    int nLength = ::GetWindowTextLengthA(m_hWnd);
    ::GetWindowTextA(m_hWnd, rString.GetBuffer(nLength), nLength + 1);
    rString.ReleaseBuffer();
}

int CWnd::GetDlgItemText(int nID, CString& rString) const {
    rString.Empty();
    HWND hWndItem = ::GetDlgItem(m_hWnd, nID);
    if (hWndItem == nullptr)
        return 0;
    int nLength = ::GetWindowTextLengthA(hWndItem);
    ::GetWindowTextA(hWndItem, rString.GetBuffer(nLength), nLength + 1);
    rString.ReleaseBuffer();
    return rString.GetLength();
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw) {
    ::SendMessageA(m_hWnd, WM_SETFONT,
                   reinterpret_cast<WPARAM>(pFont != nullptr ? pFont->m_hObject : nullptr),
                   bRedraw);
}

CFont* CWnd::GetFont() const {
    return CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)));
}

CMenu* CWnd::GetMenu() const {
    return CMenu::FromHandle(::GetMenu(m_hWnd));
}

BOOL CWnd::SetMenu(CMenu* pMenu) {
    return ::SetMenu(m_hWnd, pMenu != nullptr ? pMenu->m_hMenu : nullptr);
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const {
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) {
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}

void CWnd::DragAcceptFiles(BOOL bAccept) {
    ::DragAcceptFiles(m_hWnd, bAccept);
}
