// OXSkinnedTabCtrl.cpp: COXSkinnedTabCtrl and COXSkinnedSpinCtrl.
#include "OXSkinnedTabCtrl.h"

#include "OXMouseHook.h"
#include "OXSkinnedApp.h"
#include "OXTabSkin.h"

namespace {

// The arrows the mouse has left repaint at once, without their hover edge.
void RedrawSpinLeft(HWND hWndLast, HWND hWndNow) {
    CWnd* pLast = CWnd::FromHandlePermanent(hWndLast);
    if (pLast == nullptr || !pLast->IsKindOf(RUNTIME_CLASS(COXSkinnedSpinCtrl)))
        return;
    CWnd* pNow = CWnd::FromHandlePermanent(hWndNow);
    if (pNow == pLast)
        return;
    pLast->SendMessage(WM_MOUSEMOVE, 0, 0);
}

LRESULT CALLBACK SpinMouseHookProc(int nCode, WPARAM wParam, LPARAM lParam);

// Shared by every subclassed spin control of the thread; each one counts.
COXMouseHook g_spinHook(SpinMouseHookProc, RedrawSpinLeft, "COXSkinnedSpinCtrl");

LRESULT CALLBACK SpinMouseHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    return g_spinHook.OnHook(nCode, wParam, lParam);
}

} // namespace

// ---- COXSkinnedSpinCtrl

IMPLEMENT_DYNCREATE(COXSkinnedSpinCtrl, CSpinButtonCtrl)

// clang-format off
BEGIN_MESSAGE_MAP(COXSkinnedSpinCtrl, CSpinButtonCtrl)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()
// clang-format on

COXSkinnedSpinCtrl::COXSkinnedSpinCtrl() : m_pOwnTabSkin(nullptr), m_bHookUser(FALSE) {}

COXSkinnedSpinCtrl::~COXSkinnedSpinCtrl() {
    // A window that outlives its subclassing (or goes with this object, whose
    // map entry is removed before WM_DESTROY) never reaches OnDestroy.
    ReleaseHook();
    delete m_pOwnTabSkin;
}

COXTabSkin* COXSkinnedSpinCtrl::GetTabSkin() {
    return OXGetElementSkin<COXTabSkinClassic>(&COXSkin::GetTabSkin, m_pOwnTabSkin);
}

void COXSkinnedSpinCtrl::PreSubclassWindow() {
    if (!m_bHookUser) {
        g_spinHook.AddUser();
        m_bHookUser = TRUE;
    }
    CSpinButtonCtrl::PreSubclassWindow();
}

void COXSkinnedSpinCtrl::ReleaseHook() {
    if (m_bHookUser) {
        g_spinHook.RemoveUser();
        m_bHookUser = FALSE;
    }
}

void COXSkinnedSpinCtrl::OnPaint() {
    GetTabSkin()->DrawSpinControl(this);
}

BOOL COXSkinnedSpinCtrl::OnEraseBkgnd(CDC* /*pDC*/) {
    // The skin paints every pixel from its buffer.
    return TRUE;
}

void COXSkinnedSpinCtrl::OnMouseMove(UINT /*nFlags*/, CPoint /*point*/) {
    // The hover edge follows the cursor.
    Invalidate(TRUE);
    Default();
}

void COXSkinnedSpinCtrl::OnDestroy() {
    ReleaseHook();
    Default();
}

// ---- COXSkinnedTabCtrl

IMPLEMENT_DYNAMIC(COXSkinnedTabCtrl, CTabCtrl)

// clang-format off
BEGIN_MESSAGE_MAP(COXSkinnedTabCtrl, CTabCtrl)
    ON_WM_PAINT()
END_MESSAGE_MAP()
// clang-format on

COXSkinnedTabCtrl::COXSkinnedTabCtrl() : m_pOwnTabSkin(nullptr) {}

COXSkinnedTabCtrl::~COXSkinnedTabCtrl() {
    delete m_pOwnTabSkin;
}

COXTabSkin* COXSkinnedTabCtrl::GetTabSkin() {
    return OXGetElementSkin<COXTabSkinClassic>(&COXSkin::GetTabSkin, m_pOwnTabSkin);
}

void COXSkinnedTabCtrl::OnPaint() {
    GetTabSkin()->DrawTabControl(this);
}
