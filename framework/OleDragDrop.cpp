// OleDragDrop.cpp: COleDropSource and COleDropTarget with their COM bridges
// (CDropSourceBridge, CDropTargetBridge), the file-drop delivery, and
// COleDataSource::DoDragDrop.
#include "OleDragDrop.h"

#include "ComRefCounted.h"

#include "Exception.h"
#include "Ole.h"
#include "Wnd.h"

#include <commctrl.h>
#include <shlobj.h>
#include <windowsx.h>

#include <memory>
#include <new>
#include <vector>

IMPLEMENT_DYNAMIC(COleDropSource, CCmdTarget)
IMPLEMENT_DYNAMIC(COleDropTarget, CCmdTarget)

UINT COleDropSource::nDragDelay = DD_DEFDRAGDELAY;
int COleDropTarget::nScrollInset = DD_DEFSCROLLINSET;
UINT COleDropTarget::nScrollDelay = DD_DEFSCROLLDELAY;
UINT COleDropTarget::nScrollInterval = DD_DEFSCROLLINTERVAL;

namespace {

const DWORD kAllButtons = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;
const DROPEFFECT kDropActions = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
// The subclass that revokes a target when its window goes; also marks the
// windows that have a target of ours.
const UINT_PTR kTargetSubclassId = 0x4F4C4544; // "OLED"

// The effect a target wants, cut to what the source allows. A move or link the
// source does not allow becomes a copy (or a link) so the drop still happens,
// but nothing is ever widened to a move: a source deletes what was moved.
DROPEFFECT FilterEffect(DROPEFFECT desired, DWORD allowed) {
    const DROPEFFECT scroll = desired & DROPEFFECT_SCROLL;
    const DROPEFFECT wanted = desired & kDropActions;
    if ((wanted & allowed) != 0)
        return (wanted & allowed) | scroll;
    if (wanted == DROPEFFECT_NONE)
        return scroll;
    if ((allowed & DROPEFFECT_COPY) != 0)
        return DROPEFFECT_COPY | scroll;
    if ((allowed & DROPEFFECT_LINK) != 0)
        return DROPEFFECT_LINK | scroll;
    return scroll;
}

bool WindowAcceptsFiles(HWND hWnd) {
    return IsWindow(hWnd) && (GetWindowLongW(hWnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
}

bool OffersFiles(COleDataObject* pDataObject) {
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return pDataObject != nullptr && pDataObject->IsDataAvailable(CF_HDROP, &format);
}

// The number of names in a DROPFILES block, or -1 when the block is malformed
// (too short, list outside the block, a name or the list not terminated).
int CountDropFiles(const BYTE* pBlock, SIZE_T nSize) {
    if (nSize < sizeof(DROPFILES))
        return -1;
    const DROPFILES* pHeader = reinterpret_cast<const DROPFILES*>(pBlock);
    const SIZE_T nUnit = pHeader->fWide ? 2 : 1;
    SIZE_T nPos = pHeader->pFiles;
    if (nPos < sizeof(DROPFILES) || nPos > nSize)
        return -1;
    int nFiles = 0;
    for (;;) {
        const SIZE_T nStart = nPos;
        for (;;) {
            if (nPos + nUnit > nSize)
                return -1;
            const bool bEnd = pBlock[nPos] == 0 && (nUnit == 1 || pBlock[nPos + 1] == 0);
            nPos += nUnit;
            if (bEnd)
                break;
        }
        if (nPos - nStart == nUnit)
            return nFiles;
        ++nFiles;
    }
}

CPoint ScreenToClientPoint(HWND hWnd, POINTL pt) {
    POINT point = {pt.x, pt.y};
    ScreenToClient(hWnd, &point);
    return CPoint(point);
}

// Holds a reference on a bridge for the length of one call, in case a handler
// revokes the target and OLE lets go of it meanwhile.
class CKeepAlive {
public:
    explicit CKeepAlive(IUnknown* pUnknown) : m_pUnknown(pUnknown) { m_pUnknown->AddRef(); }
    ~CKeepAlive() { m_pUnknown->Release(); }
    CKeepAlive(const CKeepAlive&) = delete;
    CKeepAlive& operator=(const CKeepAlive&) = delete;

private:
    IUnknown* m_pUnknown;
};

// The reference data is the registered target, or 0 once it was revoked: the
// subclass itself stays until the window's WM_NCDESTROY (see Revoke).
LRESULT CALLBACK DropTargetSubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR dwRefData) {
    if (message == WM_NCDESTROY) {
        if (dwRefData != 0)
            reinterpret_cast<COleDropTarget*>(dwRefData)->Revoke();
        RemoveWindowSubclass(hWnd, DropTargetSubclassProc, kTargetSubclassId);
    }
    return DefSubclassProc(hWnd, message, wParam, lParam);
}

} // namespace

// ---------------------------------------------------------------------------
// The COM objects lent to OLE. Each holds a pointer back to its C++ object,
// cleared by Detach when that object lets go; detached, it answers "no drop".

class CDropSourceBridge final : public CComRefCounted<IDropSource> {
public:
    explicit CDropSourceBridge(COleDropSource* pOwner)
        : CComRefCounted(IID_IDropSource), m_pOwner(pOwner) {}

    void Detach() { m_pOwner = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) override {
        if (m_pOwner == nullptr)
            return DRAGDROP_S_CANCEL;
        try {
            return m_pOwner->QueryContinueDrag(fEscapePressed, grfKeyState);
        } catch (CException* e) {
            e->Delete();
        } catch (...) {
        }
        TRACE("COleDropSource::QueryContinueDrag threw: the drag is cancelled\n");
        return DRAGDROP_S_CANCEL;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD dwEffect) override {
        if (m_pOwner == nullptr)
            return DRAGDROP_S_USEDEFAULTCURSORS;
        try {
            return m_pOwner->GiveFeedback(dwEffect);
        } catch (CException* e) {
            e->Delete();
        } catch (...) {
        }
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }

private:
    ~CDropSourceBridge() = default;

    COleDropSource* m_pOwner; // not owned; null once detached
};

class CDropTargetBridge final : public CComRefCounted<IDropTarget> {
public:
    explicit CDropTargetBridge(COleDropTarget* pOwner)
        : CComRefCounted(IID_IDropTarget), m_pOwner(pOwner) {}

    void Detach() { m_pOwner = nullptr; }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                        DWORD* pdwEffect) override {
        if (pdwEffect == nullptr)
            return E_INVALIDARG;
        const DWORD allowed = *pdwEffect;
        *pdwEffect = DROPEFFECT_NONE;
        CKeepAlive keep(this);
        COleDropTarget* pTarget = Owner();
        if (pTarget == nullptr || pDataObj == nullptr)
            return S_OK;
        try {
            ForgetDrag(pTarget);
            pDataObj->AddRef();
            pTarget->m_lpDataObject = pDataObj;
            *pdwEffect = Track(pTarget, grfKeyState, pt, allowed, true);
        } catch (CException* e) {
            e->Delete();
        } catch (...) {
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override {
        if (pdwEffect == nullptr)
            return E_INVALIDARG;
        const DWORD allowed = *pdwEffect;
        *pdwEffect = DROPEFFECT_NONE;
        CKeepAlive keep(this);
        COleDropTarget* pTarget = Owner();
        if (pTarget == nullptr || pTarget->m_lpDataObject == nullptr)
            return S_OK;
        try {
            *pdwEffect = Track(pTarget, grfKeyState, pt, allowed, false);
        } catch (CException* e) {
            e->Delete();
        } catch (...) {
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        CKeepAlive keep(this);
        COleDropTarget* pTarget = Owner();
        if (pTarget == nullptr)
            return S_OK;
        try {
            pTarget->m_nTimerID = 0xFFFF;
            pTarget->OnDragLeave(CWnd::FromHandle(pTarget->m_hWnd));
        } catch (CException* e) {
            e->Delete();
        } catch (...) {
        }
        if (m_pOwner != nullptr)
            ForgetDrag(m_pOwner);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                   DWORD* pdwEffect) override {
        if (pdwEffect == nullptr)
            return E_INVALIDARG;
        const DWORD allowed = *pdwEffect;
        *pdwEffect = DROPEFFECT_NONE;
        CKeepAlive keep(this);
        COleDropTarget* pTarget = Owner();
        if (pTarget == nullptr)
            return S_OK;
        if (pDataObj != nullptr) {
            try {
                *pdwEffect = DropOn(pTarget, pDataObj, grfKeyState, pt, allowed);
            } catch (CException* e) {
                e->Delete();
            } catch (...) {
            }
        }
        // A handler may have revoked the target or deleted it (which detaches us).
        if (m_pOwner != nullptr)
            ForgetDrag(m_pOwner);
        return S_OK;
    }

private:
    ~CDropTargetBridge() = default;

    // The target is asked once more at the drop point; then a file drop goes to
    // the window, any other drop to OnDropEx and OnDrop.
    static DROPEFFECT DropOn(COleDropTarget* pTarget, IDataObject* pDataObj, DWORD grfKeyState,
                             POINTL pt, DWORD allowed) {
        pTarget->m_nTimerID = 0xFFFF;
        HWND hWnd = pTarget->m_hWnd;
        CWnd* pWnd = CWnd::FromHandle(hWnd);
        const CPoint point = ScreenToClientPoint(hWnd, pt);
        COleDataObject data;
        data.Attach(pDataObj, FALSE);
        DROPEFFECT effect = pTarget->OnDragOver(pWnd, &data, grfKeyState, point);
        effect = FilterEffect(AsFileDrop(pTarget, &data, effect), allowed) & kDropActions;
        if (pTarget->m_bFileDrop) {
            pTarget->OnDragLeave(pWnd);
            return COleDropTarget::DropFilesOnWindow(hWnd, &data, point) ? effect : DROPEFFECT_NONE;
        }
        const DROPEFFECT handled = pTarget->OnDropEx(pWnd, &data, effect, allowed, point);
        if (handled != static_cast<DROPEFFECT>(-1))
            return handled;
        if (effect == DROPEFFECT_NONE) {
            pTarget->OnDragLeave(pWnd);
            return DROPEFFECT_NONE;
        }
        return pTarget->OnDrop(pWnd, &data, effect, point) ? effect : DROPEFFECT_NONE;
    }

    // The owner while its window lives.
    COleDropTarget* Owner() const {
        return m_pOwner != nullptr && IsWindow(m_pOwner->m_hWnd) ? m_pOwner : nullptr;
    }

    static void ForgetDrag(COleDropTarget* pTarget) {
        if (pTarget->m_lpDataObject != nullptr)
            pTarget->m_lpDataObject->Release();
        pTarget->m_lpDataObject = nullptr;
        pTarget->m_bFileDrop = FALSE;
    }

    // A drag the target refuses becomes a file drop when its window accepts files.
    static DROPEFFECT AsFileDrop(COleDropTarget* pTarget, COleDataObject* pDataObject,
                                 DROPEFFECT effect) {
        pTarget->m_bFileDrop = (effect & kDropActions) == DROPEFFECT_NONE &&
                               WindowAcceptsFiles(pTarget->m_hWnd) && OffersFiles(pDataObject);
        return pTarget->m_bFileDrop ? DROPEFFECT_COPY : effect;
    }

    // Enter and over: the scroll zone first; outside it, the target's handler.
    static DROPEFFECT Track(COleDropTarget* pTarget, DWORD grfKeyState, POINTL pt, DWORD allowed,
                            bool bEnter) {
        CWnd* pWnd = CWnd::FromHandle(pTarget->m_hWnd);
        const CPoint point = ScreenToClientPoint(pTarget->m_hWnd, pt);
        DROPEFFECT effect = pTarget->OnDragScroll(pWnd, grfKeyState, point);
        if ((effect & DROPEFFECT_SCROLL) != 0) {
            pTarget->m_bFileDrop = FALSE;
            return FilterEffect(effect, allowed);
        }
        COleDataObject data;
        data.Attach(pTarget->m_lpDataObject, FALSE);
        effect = bEnter ? pTarget->OnDragEnter(pWnd, &data, grfKeyState, point)
                        : pTarget->OnDragOver(pWnd, &data, grfKeyState, point);
        return FilterEffect(AsFileDrop(pTarget, &data, effect), allowed);
    }

    COleDropTarget* m_pOwner; // not owned; null once detached
};

// ---------------------------------------------------------------------------
// COleDropSource

COleDropSource::COleDropSource() : m_dwButtonDrop(MK_LBUTTON), m_dwButtonCancel(0) {}

COleDropSource::~COleDropSource() = default;

SCODE COleDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState) {
    if (bEscapePressed || (dwKeyState & m_dwButtonCancel) != 0)
        return DRAGDROP_S_CANCEL;
    if ((dwKeyState & m_dwButtonDrop) == 0)
        return DRAGDROP_S_DROP;
    return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT) {
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

namespace {

// Holds the capture until the mouse leaves rcStart (screen coordinates) or
// nDelay ms pass: true; a button released or pressed, Esc or a lost capture: false.
bool WaitForDragStart(HWND hWnd, const RECT& rcStart, UINT nDelay) {
    SetCapture(hWnd);
    const DWORD dwStart = GetTickCount();
    bool bStarted = false;
    bool bDone = false;
    while (!bDone && GetCapture() == hWnd) {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
            if (msg.message == WM_MOUSEMOVE) {
                POINT pt = {GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
                ClientToScreen(msg.hwnd, &pt);
                bStarted = bDone = !PtInRect(&rcStart, pt);
            } else if (msg.message != WM_MOUSEWHEEL && msg.message != WM_MOUSEHWHEEL)
                bDone = true; // any button going up or down ends the wait
            continue;
        }
        if (PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
            bDone = msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE;
            continue;
        }
        const DWORD dwElapsed = GetTickCount() - dwStart;
        if (dwElapsed >= nDelay) {
            bStarted = true;
            break;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, nDelay - dwElapsed, QS_MOUSE | QS_KEY);
    }
    if (GetCapture() == hWnd)
        ReleaseCapture();
    return bStarted;
}

} // namespace

BOOL COleDropSource::OnBeginDrag(CWnd* pWnd) {
    // The first button held drops; the others cancel. None held (a drag started
    // by keyboard or by a test): the left button, so the drag drops at once.
    m_dwButtonDrop = GetKeyState(VK_LBUTTON) < 0   ? MK_LBUTTON
                     : GetKeyState(VK_RBUTTON) < 0 ? MK_RBUTTON
                     : GetKeyState(VK_MBUTTON) < 0 ? MK_MBUTTON
                                                   : MK_LBUTTON;
    m_dwButtonCancel = kAllButtons & ~m_dwButtonDrop;
    HWND hWnd = pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr;
    if (m_rectStartDrag.IsRectEmpty() || hWnd == nullptr)
        return TRUE;
    return WaitForDragStart(hWnd, m_rectStartDrag, nDragDelay);
}

// ---------------------------------------------------------------------------
// COleDropTarget

COleDropTarget::COleDropTarget()
    : m_lpDataObject(nullptr), m_nTimerID(0xFFFF), m_dwLastTick(0), m_nScrollDelay(0),
      m_hWnd(nullptr), m_pBridge(nullptr), m_bFileDrop(FALSE) {}

COleDropTarget::~COleDropTarget() {
    COleDropTarget::Revoke();
}

BOOL COleDropTarget::Register(CWnd* pWnd) {
    HWND hWnd = pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr;
    if (hWnd == nullptr || !IsWindow(hWnd) ||
        GetWindowThreadProcessId(hWnd, nullptr) != GetCurrentThreadId()) {
        TRACE("COleDropTarget::Register: no window of this thread\n");
        return FALSE;
    }
    if (m_pBridge != nullptr) {
        TRACE("COleDropTarget::Register: registered for a window already\n");
        return FALSE;
    }
    if (!AfxOleIsInitialized()) {
        TRACE("COleDropTarget::Register: OLE is not initialised on this thread (AfxOleInit)\n");
        return FALSE;
    }
    CDropTargetBridge* pBridge = new (std::nothrow) CDropTargetBridge(this);
    if (pBridge == nullptr)
        return FALSE;
    const HRESULT hr = RegisterDragDrop(hWnd, pBridge);
    if (FAILED(hr)) {
        TRACE("COleDropTarget::Register: RegisterDragDrop failed (0x%08lx)\n",
              static_cast<unsigned long>(hr));
        pBridge->Detach();
        pBridge->Release();
        return FALSE;
    }
    if (!SetWindowSubclass(hWnd, DropTargetSubclassProc, kTargetSubclassId,
                           reinterpret_cast<DWORD_PTR>(this))) {
        TRACE("COleDropTarget::Register: SetWindowSubclass failed\n");
        RevokeDragDrop(hWnd);
        pBridge->Detach();
        pBridge->Release();
        return FALSE;
    }
    m_hWnd = hWnd;
    m_pBridge = pBridge;
    return TRUE;
}

void COleDropTarget::Revoke() {
    if (m_pBridge == nullptr)
        return;
    if (IsWindow(m_hWnd)) {
        RevokeDragDrop(m_hWnd);
        // The subclass stays, forgetting this target, until WM_NCDESTROY: taking
        // the last one away gives the window back its original procedure, which
        // drops a procedure put over it after the subclass (AfxWndProc, when the
        // target was registered in PreSubclassWindow), and with it the
        // WM_NCDESTROY that ends the window's CWnd.
        SetWindowSubclass(m_hWnd, DropTargetSubclassProc, kTargetSubclassId, 0);
    }
    if (m_lpDataObject != nullptr)
        m_lpDataObject->Release();
    m_lpDataObject = nullptr;
    m_bFileDrop = FALSE;
    m_nTimerID = 0xFFFF;
    m_pBridge->Detach();
    m_pBridge->Release();
    m_pBridge = nullptr;
    m_hWnd = nullptr;
}

LPDROPTARGET COleDropTarget::GetDropTargetInterface() const {
    if (m_pBridge == nullptr)
        return nullptr;
    m_pBridge->AddRef();
    return m_pBridge;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                       CPoint point) {
    return OnDragOver(pWnd, pDataObject, dwKeyState, point);
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) {
    return DROPEFFECT_NONE;
}

void COleDropTarget::OnDragLeave(CWnd*) {}

BOOL COleDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT, CPoint point) {
    return DropFilesOnWindow(pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr, pDataObject, point);
}

DROPEFFECT COleDropTarget::OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint) {
    return static_cast<DROPEFFECT>(-1);
}

DROPEFFECT COleDropTarget::OnDragScroll(CWnd*, DWORD, CPoint) {
    return DROPEFFECT_NONE;
}

BOOL COleDropTarget::DropFilesOnWindow(HWND hWnd, COleDataObject* pDataObject, CPoint point) {
    if (!WindowAcceptsFiles(hWnd) || pDataObject == nullptr)
        return FALSE;
    HGLOBAL hDrop = pDataObject->GetGlobalData(CF_HDROP);
    if (hDrop == nullptr)
        return FALSE;
    BYTE* pBlock = static_cast<BYTE*>(GlobalLock(hDrop));
    const int nFiles = pBlock != nullptr ? CountDropFiles(pBlock, GlobalSize(hDrop)) : -1;
    if (nFiles > 0) {
        DROPFILES* pHeader = reinterpret_cast<DROPFILES*>(pBlock);
        pHeader->pt = point;
        pHeader->fNC = FALSE;
    }
    if (pBlock != nullptr)
        GlobalUnlock(hDrop);
    if (nFiles <= 0) {
        TRACE("COleDropTarget::DropFilesOnWindow: %s file list\n",
              nFiles < 0 ? "malformed" : "empty");
        GlobalFree(hDrop);
        return FALSE;
    }
    SendMessageW(hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(hDrop), 0);
    return TRUE;
}

// ---------------------------------------------------------------------------
// COleDataSource::DoDragDrop

namespace {

bool HasTargetOfOurs(HWND hWnd) {
    DWORD_PTR dwRefData = 0;
    return GetWindowSubclass(hWnd, DropTargetSubclassProc, kTargetSubclassId, &dwRefData) &&
           dwRefData != 0; // a revoked target leaves its subclass behind
}

// Plain targets lent, for one drag, to the windows of this thread that accept
// dropped files and have no target of ours on themselves or an ancestor. OLE
// finds a window's target by walking up from the window under the cursor, so
// these windows show the copy cursor and take the drop as WM_DROPFILES.
class CLentTargets {
public:
    CLentTargets() {
        EnumThreadWindows(GetCurrentThreadId(), &CLentTargets::OnTopLevel,
                          reinterpret_cast<LPARAM>(this));
        // Lent only after the search, so that a window is never skipped for an
        // ancestor's lent target.
        for (HWND hWnd : m_candidates) {
            std::unique_ptr<COleDropTarget> pTarget(new (std::nothrow) COleDropTarget);
            if (pTarget == nullptr || !pTarget->Register(CWnd::FromHandle(hWnd)))
                continue;
            try {
                m_targets.push_back(std::move(pTarget));
            } catch (const std::bad_alloc&) {
                // pTarget revokes itself here; that window goes without.
            }
        }
    }
    // The targets revoke themselves as they go.
    ~CLentTargets() = default;
    CLentTargets(const CLentTargets&) = delete;
    CLentTargets& operator=(const CLentTargets&) = delete;

private:
    static BOOL CALLBACK OnTopLevel(HWND hWnd, LPARAM lParam) {
        OnChild(hWnd, lParam);
        EnumChildWindows(hWnd, &CLentTargets::OnChild, lParam);
        return TRUE;
    }
    static BOOL CALLBACK OnChild(HWND hWnd, LPARAM lParam) {
        auto* pThis = reinterpret_cast<CLentTargets*>(lParam);
        if (!WindowAcceptsFiles(hWnd) ||
            GetWindowThreadProcessId(hWnd, nullptr) != GetCurrentThreadId())
            return TRUE;
        for (HWND hUp = hWnd; hUp != nullptr; hUp = GetAncestor(hUp, GA_PARENT)) {
            if (HasTargetOfOurs(hUp))
                return TRUE;
        }
        try {
            pThis->m_candidates.push_back(hWnd);
        } catch (const std::bad_alloc&) {
            return FALSE; // short of memory: lend to the windows found so far
        }
        return TRUE;
    }

    std::vector<HWND> m_candidates;
    std::vector<std::unique_ptr<COleDropTarget>> m_targets;
};

} // namespace

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects, LPCRECT lpRectStartDrag,
                                      COleDropSource* pDropSource) {
    COleDropSource defaultSource;
    COleDropSource* pSource = pDropSource != nullptr ? pDropSource : &defaultSource;
    pSource->m_rectStartDrag = lpRectStartDrag != nullptr ? CRect(lpRectStartDrag) : CRect();
    HWND hWndFrom = GetCapture() != nullptr ? GetCapture() : GetFocus();
    if (!pSource->OnBeginDrag(hWndFrom != nullptr ? CWnd::FromHandle(hWndFrom) : nullptr))
        return DROPEFFECT_NONE;

    CLentTargets lentTargets;
    CDropSourceBridge* pBridge = new CDropSourceBridge(pSource);
    LPDATAOBJECT lpDataObject = GetDataObject();
    DWORD dwEffect = DROPEFFECT_NONE;
    const HRESULT hr = ::DoDragDrop(lpDataObject, pBridge, dwEffects, &dwEffect);
    pBridge->Detach();
    pBridge->Release();
    lpDataObject->Release();
    if (FAILED(hr)) {
        TRACE("COleDataSource::DoDragDrop: DoDragDrop failed (0x%08lx)\n",
              static_cast<unsigned long>(hr));
        return DROPEFFECT_NONE;
    }
    return hr == DRAGDROP_S_DROP ? dwEffect & kDropActions : DROPEFFECT_NONE;
}
