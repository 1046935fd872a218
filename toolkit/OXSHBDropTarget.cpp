// OXSHBDropTarget.cpp: COXSHBDropSource, COXSHBDropTarget and the clipboard
// format of shortcut-bar items.
#include "OXSHBDropTarget.h"

#include "framework/View.h"
#include "framework/Wnd.h"

IMPLEMENT_DYNAMIC(COXSHBDropSource, COleDropSource)
IMPLEMENT_DYNAMIC(COXSHBDropTarget, COleDropTarget)

// Registered by a static initialiser so that the lists of every shortcut bar
// share one id from the first drag on.
CLIPFORMAT g_cfSHBChildWindowItem =
    static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("Shortcut bar child window item"));

namespace {

// The drop target's scroll code while not scrolling; a byte of 0xFF is "no
// scrolling in that direction" (high byte horizontal, low byte vertical).
const UINT kNotScrolling = 0xFFFF;
const UINT kNoDirection = 0xFF;

bool IsLiveWindow(const CWnd* pWnd) {
    return pWnd != nullptr && ::IsWindow(pWnd->GetSafeHwnd());
}

// Whether the window scrolls in direction nBar (SB_HORZ, SB_VERT): its style
// says so unless the scroll information says otherwise.
bool CanScroll(HWND hWnd, int nBar, DWORD dwStyleBit) {
    bool bScrolls = (::GetWindowLongA(hWnd, GWL_STYLE) & dwStyleBit) != 0;
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (::GetScrollInfo(hWnd, nBar, &info))
        bScrolls = info.nMax > 0 && info.nPage != 0 && info.nMax >= static_cast<int>(info.nPage);
    return bScrolls;
}

} // namespace

// ---------------------------------------------------------------------------
// COXSHBDropSource

COXSHBDropSource::COXSHBDropSource() : m_pOwner(nullptr) {}

CWnd* COXSHBDropSource::SetOwner(CWnd* pOwner) {
    CWnd* pPrevious = m_pOwner;
    m_pOwner = pOwner;
    return pPrevious;
}

BOOL COXSHBDropSource::SendToOwner(UINT nMessage, SHBDROPSOURCEACTION& action) const {
    // An owner whose window is gone is treated like no owner.
    if (!IsLiveWindow(m_pOwner))
        return FALSE;
    return ::SendMessageA(m_pOwner->GetSafeHwnd(), nMessage, 0,
                          reinterpret_cast<LPARAM>(&action)) != 0;
}

SCODE COXSHBDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState) {
    SHBDROPSOURCEACTION action;
    action.dwKeyState = dwKeyState;
    action.bEscapePressed = bEscapePressed;
    if (SendToOwner(SHBDSM_QUERYCONTINUEDRAG, action))
        return static_cast<SCODE>(action.result);
    return COleDropSource::QueryContinueDrag(bEscapePressed, dwKeyState);
}

SCODE COXSHBDropSource::GiveFeedback(DROPEFFECT dropEffect) {
    SHBDROPSOURCEACTION action;
    action.dropEffect = dropEffect;
    if (SendToOwner(SHBDSM_GIVEFEEDBACK, action))
        return static_cast<SCODE>(action.result);
    return COleDropSource::GiveFeedback(dropEffect);
}

BOOL COXSHBDropSource::OnBeginDrag(CWnd* pWnd) {
    SHBDROPSOURCEACTION action;
    action.pWnd = pWnd;
    if (SendToOwner(SHBDSM_BEGINDRAG, action))
        return static_cast<BOOL>(action.result);
    return COleDropSource::OnBeginDrag(pWnd);
}

// ---------------------------------------------------------------------------
// COXSHBDropTarget

COXSHBDropTarget::COXSHBDropTarget() = default;

BOOL COXSHBDropTarget::SendToWindow(CWnd* pWnd, UINT nMessage, SHBDROPTARGETACTION& action) {
    if (!IsLiveWindow(pWnd))
        return FALSE;
    action.pWnd = pWnd;
    return ::SendMessageA(pWnd->GetSafeHwnd(), nMessage, 0, reinterpret_cast<LPARAM>(&action)) != 0;
}

DROPEFFECT COXSHBDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                         CPoint point) {
    SHBDROPTARGETACTION action;
    action.pDataObject = pDataObject;
    action.dwKeyState = dwKeyState;
    action.point = point;
    return SendToWindow(pWnd, SHBDTM_DRAGENTER, action) ? action.result : DROPEFFECT_NONE;
}

DROPEFFECT COXSHBDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                        CPoint point) {
    SHBDROPTARGETACTION action;
    action.pDataObject = pDataObject;
    action.dwKeyState = dwKeyState;
    action.point = point;
    return SendToWindow(pWnd, SHBDTM_DRAGOVER, action) ? action.result : DROPEFFECT_NONE;
}

void COXSHBDropTarget::OnDragLeave(CWnd* pWnd) {
    SHBDROPTARGETACTION action;
    if (!SendToWindow(pWnd, SHBDTM_DRAGLEAVE, action))
        COleDropTarget::OnDragLeave(pWnd);
}

BOOL COXSHBDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect,
                              CPoint point) {
    SHBDROPTARGETACTION action;
    action.pDataObject = pDataObject;
    action.dropEffect = dropEffect;
    action.point = point;
    return SendToWindow(pWnd, SHBDTM_DROP, action) ? static_cast<BOOL>(action.result) : FALSE;
}

DROPEFFECT COXSHBDropTarget::OnDropEx(CWnd* pWnd, COleDataObject* pDataObject,
                                      DROPEFFECT dropDefault, DROPEFFECT dropList, CPoint point) {
    SHBDROPTARGETACTION action;
    action.pDataObject = pDataObject;
    action.dropEffect = dropDefault;
    action.dropList = dropList;
    action.point = point;
    if (SendToWindow(pWnd, SHBDTM_DROPEX, action))
        return action.result;
    return COleDropTarget::OnDropEx(pWnd, pDataObject, dropDefault, dropList, point);
}

DROPEFFECT COXSHBDropTarget::OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) {
    // The window's return value does not matter here: a window that leaves the
    // result 0 asks for no scrolling, whatever it returned.
    SHBDROPTARGETACTION action;
    action.dwKeyState = dwKeyState;
    action.point = point;
    SendToWindow(pWnd, SHBDTM_DRAGSCROLL, action);
    if (action.result != DROPEFFECT_SCROLL)
        return action.result;
    if (pWnd->IsKindOf(RUNTIME_CLASS(CView)))
        return COleDropTarget::OnDragScroll(pWnd, dwKeyState, point);
    return AutoScroll(pWnd, dwKeyState, point);
}

DROPEFFECT COXSHBDropTarget::AutoScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) {
    HWND hWnd = pWnd->GetSafeHwnd();
    CRect rectClient;
    ::GetClientRect(hWnd, &rectClient);
    CRect rectInside = rectClient;
    rectInside.InflateRect(-nScrollInset, -nScrollInset);

    UINT nHorz = kNoDirection;
    UINT nVert = kNoDirection;
    if (rectClient.PtInRect(point) && !rectInside.PtInRect(point)) {
        if (CanScroll(hWnd, SB_HORZ, WS_HSCROLL)) {
            if (point.x < rectInside.left)
                nHorz = SB_LINELEFT;
            else if (point.x >= rectInside.right)
                nHorz = SB_LINERIGHT;
        }
        if (CanScroll(hWnd, SB_VERT, WS_VSCROLL)) {
            if (point.y < rectInside.top)
                nVert = SB_LINEUP;
            else if (point.y >= rectInside.bottom)
                nVert = SB_LINEDOWN;
        }
    }
    const UINT nCode = (nHorz << 8) | nVert;

    if (nCode == kNotScrolling) {
        if (m_nTimerID != kNotScrolling) {
            // Leaving the scroll zone: the window gets the drag again as if it
            // had just entered, so it can show its drop feedback once more.
            if (m_lpDataObject != nullptr) {
                COleDataObject data;
                data.Attach(m_lpDataObject, FALSE);
                OnDragEnter(pWnd, &data, dwKeyState, point);
            }
            m_nTimerID = kNotScrolling;
        }
        return DROPEFFECT_NONE;
    }

    const DWORD dwNow = ::GetTickCount();
    if (nCode != m_nTimerID) {
        m_dwLastTick = dwNow;
        m_nScrollDelay = nScrollDelay;
    }
    if (dwNow - m_dwLastTick > m_nScrollDelay) {
        // Only vertical steps are sent; a zone that scrolls horizontally only
        // sends nothing (never an SB_* code of 0xFF).
        if (nVert != kNoDirection)
            ::SendMessageA(hWnd, WM_VSCROLL, nVert, 0);
        m_dwLastTick = dwNow;
        m_nScrollDelay = nScrollInterval;
    }
    if (m_nTimerID == kNotScrolling)
        OnDragLeave(pWnd); // the window removes its drop feedback while scrolling
    m_nTimerID = nCode;

    DROPEFFECT effect = DROPEFFECT_SCROLL;
    const bool bCtrl = (dwKeyState & MK_CONTROL) != 0;
    const bool bShift = (dwKeyState & MK_SHIFT) != 0;
    const bool bAlt = (dwKeyState & MK_ALT) != 0;
    if (bCtrl && bShift)
        effect |= DROPEFFECT_LINK;
    else if (bCtrl)
        effect |= DROPEFFECT_COPY;
    else if (bAlt || bShift)
        effect |= DROPEFFECT_MOVE;
    return effect;
}
