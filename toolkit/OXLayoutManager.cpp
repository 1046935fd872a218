// OXLayoutManager.cpp: side constraints, their resolution and the layout
// manager that applies them to a container's controls.
#include "OXLayoutManager.h"

#include "Common/TraceLog.h"

#include <algorithm>

namespace {

// Block size of the window-to-manager map: few containers are subclassed at once.
const int kMapBlockSize = 10;

// Every container subclassed by a manager, so that the shared window procedure
// finds its manager. An entry lives from SubclassContainer to
// UnsubclassContainer.
CMap<HWND, HWND, COXLayoutManager*, COXLayoutManager*> g_managerMap(kMapBlockSize);

const int kSideFlags[OX_LMSI_COUNT] = {OX_LMS_TOP, OX_LMS_BOTTOM, OX_LMS_LEFT, OX_LMS_RIGHT};

BOOL IsVerticalSide(int nSide) {
    return nSide < OX_LMSI_LEFT;
}
BOOL IsNearSide(int nSide) {
    return nSide == OX_LMSI_TOP || nSide == OX_LMSI_LEFT;
}
int OppositeSide(int nSide) {
    return nSide ^ 1;
}
int NearSideOfAxis(int nSide) {
    return IsVerticalSide(nSide) ? OX_LMSI_TOP : OX_LMSI_LEFT;
}
int FarSideOfAxis(int nSide) {
    return IsVerticalSide(nSide) ? OX_LMSI_BOTTOM : OX_LMSI_RIGHT;
}

int RectSide(const RECT& rect, int nSide) {
    switch (nSide) {
    case OX_LMSI_TOP:
        return rect.top;
    case OX_LMSI_BOTTOM:
        return rect.bottom;
    case OX_LMSI_LEFT:
        return rect.left;
    default:
        return rect.right;
    }
}

// Resolved coordinates stay within this distance of 0, so that the extent of
// a control and the product of a proportion cannot overflow; no window comes
// anywhere near it.
const long long kMaxCoordinate = 0x3FFFFFFF;

// A coordinate in range and not one of the two markers; anything else fails
// the layout, as it cannot be told apart from "unresolved".
int CheckedPosition(long long nPos) {
    if (nPos < -kMaxCoordinate || nPos > kMaxCoordinate || nPos == OX_LMPOS_TRACING)
        return OX_LMPOS_NULL;
    return static_cast<int>(nPos);
}

// Resolves the sides of the records for one container size. It needs no
// window: the current rectangles of controls come from the read procedure.
// Writes only the records' resolved positions and index hints.
class Resolver {
public:
    Resolver(COXWndConstraintArray& records, int cx, int cy, OXReadChildRectProc pfnRead,
             void* pContext);
    BOOL CalcLayout();
    int GetSidePosition(COXWndConstraint* pRecord, int nSide);
    static int FindChild(const COXWndConstraintArray& records, UINT nID);

private:
    COXWndConstraint* FindBase(OXSideConstraint& side);

    COXWndConstraintArray& m_records; // borrowed for the resolver's life
    int m_cx;
    int m_cy;
    OXReadChildRectProc m_pfnRead;
    void* m_pContext; // handed to m_pfnRead, not owned
};

Resolver::Resolver(COXWndConstraintArray& records, int cx, int cy, OXReadChildRectProc pfnRead,
                   void* pContext)
    : m_records(records), m_cx(cx), m_cy(cy), m_pfnRead(pfnRead), m_pContext(pContext) {}

int Resolver::FindChild(const COXWndConstraintArray& records, UINT nID) {
    for (int i = static_cast<int>(records.GetSize()) - 1; i >= 0; i--) {
        if (records.GetAt(i)->nID == nID)
            return i;
    }
    return -1;
}

BOOL Resolver::CalcLayout() {
    const int count = static_cast<int>(m_records.GetSize());
    // An axis with no constraint keeps its cached positions: they hold where
    // the control was when the first layout read it.
    for (int i = 0; i < count; i++) {
        OXSideConstraint* sc = m_records.GetAt(i)->sc;
        if (sc[OX_LMSI_TOP].IsSet() || sc[OX_LMSI_BOTTOM].IsSet())
            sc[OX_LMSI_TOP].nPos = sc[OX_LMSI_BOTTOM].nPos = OX_LMPOS_NULL;
        if (sc[OX_LMSI_LEFT].IsSet() || sc[OX_LMSI_RIGHT].IsSet())
            sc[OX_LMSI_LEFT].nPos = sc[OX_LMSI_RIGHT].nPos = OX_LMPOS_NULL;
    }
    for (int i = 0; i < count; i++) {
        for (int nSide = 0; nSide < OX_LMSI_COUNT; nSide++) {
            if (GetSidePosition(m_records.GetAt(i), nSide) == OX_LMPOS_NULL)
                return FALSE;
        }
    }
    return TRUE;
}

// The base's record through the side's index hint, refreshing the hint by a
// search when it is out of range or names another control.
COXWndConstraint* Resolver::FindBase(OXSideConstraint& side) {
    int index = side.nBaseWndIndex;
    if (index < 0 || index >= m_records.GetSize() || m_records.GetAt(index)->nID != side.nBaseWnd) {
        index = FindChild(m_records, side.nBaseWnd);
        side.nBaseWndIndex = index;
    }
    return index < 0 ? NULL : m_records.GetAt(index);
}

int Resolver::GetSidePosition(COXWndConstraint* pRecord, int nSide) {
    if (pRecord == NULL || nSide < 0 || nSide >= OX_LMSI_COUNT)
        return OX_LMPOS_NULL;
    OXSideConstraint& side = pRecord->sc[nSide];
    if (side.nPos == OX_LMPOS_TRACING)
        return OX_LMPOS_NULL; // the resolution came back to this side: a cycle
    if (side.nPos != OX_LMPOS_NULL)
        return side.nPos;

    if (!side.IsSet()) {
        RECT rect;
        if (m_pfnRead == NULL || !m_pfnRead(m_pContext, pRecord->nID, &rect))
            return OX_LMPOS_NULL;
        const int nOpposite = OppositeSide(nSide);
        long long nPos;
        if (!pRecord->sc[nOpposite].IsSet()) {
            nPos = RectSide(rect, nSide);
        } else {
            // Follow the constrained opposite side at the control's current size.
            const int nOppositePos = GetSidePosition(pRecord, nOpposite);
            if (nOppositePos == OX_LMPOS_NULL)
                return OX_LMPOS_NULL;
            const long long extent =
                IsVerticalSide(nSide) ? rect.bottom - rect.top : rect.right - rect.left;
            nPos = IsNearSide(nSide) ? nOppositePos - extent : nOppositePos + extent;
        }
        side.nPos = CheckedPosition(nPos);
        return side.nPos;
    }

    long long nNear, nFar;
    if (side.nBaseWnd != 0) {
        side.nPos = OX_LMPOS_TRACING;
        COXWndConstraint* pBase = FindBase(side);
        nNear = nFar = 0;
        if (pBase != NULL && side.nOffset1 != OX_LMPOS_NULL)
            nNear = GetSidePosition(pBase, NearSideOfAxis(nSide));
        if (pBase != NULL && side.nOffset2 != OX_LMPOS_NULL)
            nFar = GetSidePosition(pBase, FarSideOfAxis(nSide));
        if (pBase == NULL || nNear == OX_LMPOS_NULL || nFar == OX_LMPOS_NULL) {
            side.nPos = OX_LMPOS_NULL;
            return OX_LMPOS_NULL;
        }
    } else {
        nNear = 0;
        nFar = IsVerticalSide(nSide) ? m_cy : m_cx;
    }

    long long nPos;
    if (side.nOffset2 == OX_LMPOS_NULL)
        nPos = nNear + side.nOffset1;
    else if (side.nOffset1 == OX_LMPOS_NULL)
        nPos = nFar + side.nOffset2;
    else if (side.nOffset2 == 0)
        nPos = OX_LMPOS_NULL; // a proportion of nothing
    else
        nPos = nNear + (nFar - nNear) * side.nOffset1 / side.nOffset2;
    side.nPos = CheckedPosition(nPos);
    return side.nPos;
}

} // namespace

// --- OXSideConstraint, COXWndConstraint ---------------------------------------

void OXSideConstraint::Reset() {
    nBaseWnd = 0;
    nOffset1 = OX_LMPOS_NULL;
    nOffset2 = OX_LMPOS_NULL;
    nPos = OX_LMPOS_NULL;
}

COXWndConstraint::COXWndConstraint(UINT nID)
    : nID(nID), bHasMinMax(FALSE), szMin{0, 0}, szMax{0, 0} {
    for (OXSideConstraint& side : sc) {
        side.Reset();
        side.nBaseWndIndex = -1;
    }
}

void COXWndConstraint::ResetSides(int nSides) {
    for (int i = 0; i < OX_LMSI_COUNT; i++) {
        if (nSides & kSideFlags[i])
            sc[i].Reset();
    }
}

void COXWndConstraint::SetSides(int nSides, int nType, int nOffset, UINT nBaseWnd,
                                int nProportionBase) {
    for (int i = 0; i < OX_LMSI_COUNT; i++) {
        if (!(nSides & kSideFlags[i]))
            continue;
        OXSideConstraint& side = sc[i];
        side.nBaseWnd = nBaseWnd;
        switch (nType) {
        case OX_LMT_SAME:
            side.nOffset1 = IsNearSide(i) ? nOffset : OX_LMPOS_NULL;
            side.nOffset2 = IsNearSide(i) ? OX_LMPOS_NULL : nOffset;
            break;
        case OX_LMT_OPPOSITE:
            side.nOffset1 = IsNearSide(i) ? OX_LMPOS_NULL : nOffset;
            side.nOffset2 = IsNearSide(i) ? nOffset : OX_LMPOS_NULL;
            break;
        case OX_LMT_PROPORTIONAL:
            side.nOffset1 = nOffset;
            side.nOffset2 = nProportionBase;
            break;
        default:
            side.nOffset1 = nOffset;
            side.nOffset2 = OX_LMPOS_NULL;
            break;
        }
    }
}

// --- COXLayoutManager ----------------------------------------------------------

IMPLEMENT_DYNAMIC(COXLayoutManager, CObject)

COXLayoutManager::COXLayoutManager(CWnd* pContainer)
    : m_pContainer(NULL), m_nBase(OX_LM_PROPORTION_BASE), m_bMinMax(FALSE), m_cx(0), m_cy(0),
      m_hWnd(NULL), m_pfnOldWndProc(NULL) {
    ResetLimits();
    if (pContainer != NULL)
        Attach(pContainer);
}

// Teardown: delete the records, then give the container its own procedure back
// while the window still exists, and drop the map entry.
COXLayoutManager::~COXLayoutManager() {
    RemoveAllChildren();
    UnsubclassContainer();
}

BOOL COXLayoutManager::Attach(CWnd* pContainer) {
    RemoveAllChildren();
    m_pContainer = pContainer;
    return SubclassContainer();
}

void COXLayoutManager::Detach() {
    RemoveAllChildren();
    m_pContainer = NULL;
    UnsubclassContainer();
}

HWND COXLayoutManager::GetContainerHandle() const {
    HWND hWnd = m_pContainer != NULL ? m_pContainer->GetSafeHwnd() : NULL;
    return hWnd != NULL && ::IsWindow(hWnd) ? hWnd : NULL;
}

BOOL COXLayoutManager::SubclassContainer() {
    HWND hWnd = m_pContainer != NULL ? m_pContainer->GetSafeHwnd() : NULL;
    if (m_hWnd != NULL) {
        // Already subclassed: still right only for the same, still hooked window.
        return m_hWnd == hWnd && reinterpret_cast<WNDPROC>(
                                     ::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC)) == LayoutWndProc;
    }
    if (hWnd == NULL || !::IsWindow(hWnd))
        return FALSE;
    COXLayoutManager* pOther = NULL;
    if (g_managerMap.Lookup(hWnd, pOther)) {
        // A second manager on one window would make the shared procedure call
        // itself as the "previous" procedure without end.
        KWTRACE_ERROR(("COXLayoutManager::Attach: the window already has a layout manager\n"));
        return FALSE;
    }
    WNDPROC pfnOld = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    if (pfnOld == NULL)
        return FALSE;
    // The map entry and the old procedure must be in place before the first
    // message reaches LayoutWndProc.
    m_hWnd = hWnd;
    m_pfnOldWndProc = pfnOld;
    g_managerMap.SetAt(hWnd, this);
    if (::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LayoutWndProc)) == 0) {
        KWTRACE_ERROR(("COXLayoutManager::Attach: SetWindowLongPtr failed (%u)\n",
                       static_cast<unsigned>(GetLastError())));
        g_managerMap.RemoveKey(hWnd);
        m_hWnd = NULL;
        m_pfnOldWndProc = NULL;
        return FALSE;
    }
    return TRUE;
}

void COXLayoutManager::UnsubclassContainer() {
    if (m_hWnd == NULL)
        return;
    if (::IsWindow(m_hWnd))
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnOldWndProc));
    g_managerMap.RemoveKey(m_hWnd);
    m_hWnd = NULL;
    m_pfnOldWndProc = NULL;
}

// Shared by every subclassed container. A WM_SIZE is laid out before the
// container's own procedure sees it. At WM_NCDESTROY the manager lets go of the
// window, so a handle reused later is not taken for the old container and a
// container object deleted after its window is not touched again.
LRESULT CALLBACK COXLayoutManager::LayoutWndProc(HWND hWnd, UINT nMsg, WPARAM wParam,
                                                 LPARAM lParam) {
    COXLayoutManager* pManager = NULL;
    if (!g_managerMap.Lookup(hWnd, pManager) || pManager == NULL)
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    // Read before the call: the container's procedure may detach or delete
    // the manager.
    WNDPROC pfnOld = pManager->m_pfnOldWndProc;
    if (nMsg == WM_SIZE) {
        pManager->OnSize(LOWORD(lParam), HIWORD(lParam));
    } else if (nMsg == WM_NCDESTROY) {
        pManager->UnsubclassContainer();
        pManager->m_pContainer = NULL;
    }
    return ::CallWindowProcA(pfnOld, hWnd, nMsg, wParam, lParam);
}

int COXLayoutManager::AddChild(UINT nChildWnd) {
    if (nChildWnd == 0)
        return -1;
    const int index = FindChild(nChildWnd);
    if (index >= 0)
        return index;
    return static_cast<int>(m_records.Add(new COXWndConstraint(nChildWnd)));
}

int COXLayoutManager::FindChild(UINT nChildWnd) const {
    return Resolver::FindChild(m_records, nChildWnd);
}

void COXLayoutManager::RemoveAllChildren() {
    for (int i = 0; i < m_records.GetSize(); i++)
        delete m_records.GetAt(i);
    m_records.RemoveAll();
    m_bMinMax = FALSE;
    ResetLimits();
}

void COXLayoutManager::ResetLimits() {
    m_nMinWidth = -1;
    m_nMaxWidth = OX_LMPOS_NULL;
    m_nMinHeight = -1;
    m_nMaxHeight = OX_LMPOS_NULL;
}

BOOL COXLayoutManager::SetConstraint(UINT nChildWnd, int nSides, int nType, int nOffset,
                                     UINT nBaseWnd) {
    // A base is managed too, so that its own sides can be resolved.
    if (nBaseWnd != 0 && FindChild(nBaseWnd) < 0)
        AddChild(nBaseWnd);
    const int index = AddChild(nChildWnd);
    if (index < 0)
        return FALSE;
    m_records.GetAt(index)->SetSides(nSides, nType, nOffset, nBaseWnd, m_nBase);
    ResetLimits();
    return TRUE;
}

BOOL COXLayoutManager::RemoveConstraint(UINT nChildWnd, int nSides) {
    const int index = FindChild(nChildWnd);
    if (index < 0)
        return FALSE;
    m_records.GetAt(index)->ResetSides(nSides);
    ResetLimits();
    return TRUE;
}

BOOL COXLayoutManager::TieChild(UINT nChildWnd, int nSides) {
    HWND hContainer = GetContainerHandle();
    RECT rect, client;
    if (hContainer == NULL || nChildWnd == 0 || !ReadChildRect(hContainer, nChildWnd, &rect) ||
        !::GetClientRect(hContainer, &client))
        return FALSE;
    const int offsets[OX_LMSI_COUNT] = {rect.top, rect.bottom - client.bottom, rect.left,
                                        rect.right - client.right};
    for (int i = 0; i < OX_LMSI_COUNT; i++) {
        if (nSides & kSideFlags[i])
            SetConstraint(nChildWnd, kSideFlags[i], OX_LMT_SAME, offsets[i], 0);
    }
    return TRUE;
}

BOOL COXLayoutManager::RedrawLayout() {
    HWND hContainer = GetContainerHandle();
    RECT client;
    if (hContainer == NULL || !::GetClientRect(hContainer, &client))
        return FALSE;
    return OnSize(client.right - client.left, client.bottom - client.top);
}

BOOL COXLayoutManager::ReadChildRect(void* pContext, UINT nID, RECT* pRect) {
    HWND hContainer = static_cast<HWND>(pContext);
    HWND hChild = ::GetDlgItem(hContainer, static_cast<int>(nID));
    if (hChild == NULL || !::GetWindowRect(hChild, pRect))
        return FALSE;
    ::MapWindowPoints(HWND_DESKTOP, hContainer, reinterpret_cast<POINT*>(pRect), 2);
    return TRUE;
}

BOOL COXLayoutManager::CalcLayout(int cx, int cy, OXReadChildRectProc pfnRead, void* pContext) {
    m_cx = cx;
    m_cy = cy;
    Resolver resolver(m_records, cx, cy, pfnRead, pContext);
    return resolver.CalcLayout();
}

const COXWndConstraint* COXLayoutManager::GetConstraint(UINT nChildWnd) const {
    const int index = FindChild(nChildWnd);
    return index < 0 ? NULL : m_records.GetAt(index);
}

BOOL COXLayoutManager::OnSize(int cx, int cy) {
    HWND hContainer = GetContainerHandle();
    if (hContainer == NULL || cx == 0 || cy == 0 || m_records.GetSize() == 0)
        return TRUE; // minimised, or nothing to lay out
    // The maximum wins when the limits cross.
    cx = std::min(std::max(cx, m_nMinWidth), m_nMaxWidth);
    cy = std::min(std::max(cy, m_nMinHeight), m_nMaxHeight);
    if (cx <= 0 || cx > OX_LMPOS_NULL || cy <= 0 || cy > OX_LMPOS_NULL)
        return FALSE;
    if (!CalcLayout(cx, cy, ReadChildRect, hContainer)) {
        KWTRACE_ERROR(("COXLayoutManager::OnSize: a side could not be resolved\n"));
        return FALSE;
    }

    const int count = static_cast<int>(m_records.GetSize());
    HDWP hdwp = ::BeginDeferWindowPos(count);
    if (hdwp == NULL) {
        KWTRACE_ERROR(("COXLayoutManager::OnSize: BeginDeferWindowPos failed (%u)\n",
                       static_cast<unsigned>(GetLastError())));
        return FALSE;
    }
    for (int i = 0; i < count; i++) {
        const COXWndConstraint* pRecord = m_records.GetAt(i);
        HWND hChild = ::GetDlgItem(hContainer, static_cast<int>(pRecord->nID));
        if (hChild == NULL)
            continue;
        const int left = pRecord->sc[OX_LMSI_LEFT].nPos;
        const int top = pRecord->sc[OX_LMSI_TOP].nPos;
        hdwp =
            ::DeferWindowPos(hdwp, hChild, NULL, left, top, pRecord->sc[OX_LMSI_RIGHT].nPos - left,
                             pRecord->sc[OX_LMSI_BOTTOM].nPos - top, SWP_NOZORDER);
        if (hdwp == NULL) {
            // The whole deferral is gone with the failed call.
            KWTRACE_ERROR(("COXLayoutManager::OnSize: DeferWindowPos failed (%u)\n",
                           static_cast<unsigned>(GetLastError())));
            return FALSE;
        }
        ::RedrawWindow(hChild, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    return ::EndDeferWindowPos(hdwp);
}
