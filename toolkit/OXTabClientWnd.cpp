// OXTabClientWnd.cpp: COXTabClientWnd, the MDI client's side of the MDI tabs:
// attaching, the MDI messages and the frame's layout.
#include "OXTabClientWnd.h"

#include "OXSkinnedApp.h"
#include "OXTabSkin.h"

#include "Common/TraceLog.h"
#include "framework/MDIFrameWnd.h"

namespace {

// A single tab narrower than the tab area by less than this gets a spare
// empty tab beside it.
const int kSpareTabMargin = 50;
// The tab skin may widen the MDI client by this much over the tab frame.
const int kSkinAdjustAmount = 5;
// Tab styles that take part in the layout beside TCS_BUTTONS, TCS_VERTICAL
// and TCS_BOTTOM (which share a bit with TCS_RIGHT).
const DWORD kTabStyleBits = WS_CHILD | WS_VISIBLE | TCS_FOCUSNEVER;

// rect shrunk by nOffset on every side; an axis too short for it collapses.
void DeflateByOffset(CRect& rect, int nOffset) {
    if (rect.Height() > 2 * nOffset) {
        rect.top += nOffset;
        rect.bottom -= nOffset;
    } else {
        rect.top = rect.bottom;
    }
    if (rect.Width() > 2 * nOffset) {
        rect.left += nOffset;
        rect.right -= nOffset;
    } else {
        rect.left = rect.right;
    }
}

// Changes the tab control's style for a measurement without repainting it.
void SetTabStyle(CWnd* pTab, DWORD dwStyle) {
    ::SetWindowLongA(pTab->m_hWnd, GWL_STYLE, static_cast<LONG>(dwStyle));
    ::SetWindowPos(pTab->m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW |
                       SWP_FRAMECHANGED);
}

HDWP DeferWindow(HDWP hDWP, HWND hWnd, const CRect& rect) {
    if (hDWP == nullptr)
        return nullptr;
    return ::DeferWindowPos(hDWP, hWnd, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                            SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

// clang-format off
BEGIN_MESSAGE_MAP(COXTabClientWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_SHOWWINDOW()
    ON_WM_NCPAINT()
    ON_MESSAGE(WM_MDICREATE, &COXTabClientWnd::OnMDICreate)
    ON_MESSAGE(WM_MDIDESTROY, &COXTabClientWnd::OnMDIDestroy)
    ON_MESSAGE(WM_MDIACTIVATE, &COXTabClientWnd::OnMDIActivate)
END_MESSAGE_MAP()
// clang-format on

COXTabClientWnd::COXTabClientWnd()
    : m_pParentFrame(nullptr), m_bForceToRecalc(FALSE), m_bHasSpareTab(FALSE),
      m_pOwnTabSkin(nullptr) {}

COXTabClientWnd::~COXTabClientWnd() {
    delete m_pOwnTabSkin;
}

BOOL COXTabClientWnd::Attach(CWnd* pParentFrame, DWORD dwTabCtrlStyle) {
    if (IsAttached()) {
        KWTRACE_ERROR(("COXTabClientWnd::Attach: window has already been attached. Call Detach() "
                       "function before!\n"));
        return FALSE;
    }
    if (pParentFrame == nullptr || !pParentFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) {
        KWTRACE_ERROR(("COXTabClientWnd::Attach: specified frame window is not of CMDIFrameWnd "
                       "class (or derived)!\n"));
        return FALSE;
    }
    auto* pFrame = static_cast<CMDIFrameWnd*>(pParentFrame);
    if (CWnd::FromHandlePermanent(pFrame->m_hWndMDIClient) != nullptr) {
        KWTRACE_ERROR(("COXTabClientWnd::Attach: MDIClient window has already been subclassed\n"));
        return FALSE;
    }
    if (!SubclassWindow(pFrame->m_hWndMDIClient)) {
        KWTRACE_ERROR(("COXTabClientWnd::Attach: failed to subclass MDI Client window\n"));
        return FALSE;
    }
    m_pParentFrame = pFrame;
    m_tab.m_pTabClientWnd = this;
    if (!m_tab.Create(dwTabCtrlStyle | kTabStyleBits, CRect(0, 0, 0, 0), pFrame,
                      IDC_OXTABWORKSPACE)) {
        KWTRACE_ERROR(("COXTabClientWnd::Attach: failed to create tab control\n"));
        Detach();
        return FALSE;
    }
    pFrame->RecalcLayout();
    m_tab.SyncTabs(TRUE, FALSE);
    return TRUE;
}

BOOL COXTabClientWnd::Detach() {
    if (!IsAttached()) {
        KWTRACE_ERROR(("COXTabClientWnd::Attach: there is nothing to detach! Window hasn't been "
                       "attached!\n"));
        return FALSE;
    }
    if (m_tab.m_hWnd != nullptr)
        m_tab.DestroyWindow();
    m_tab.m_pTabClientWnd = nullptr;
    m_bHasSpareTab = FALSE;
    m_bForceToRecalc = FALSE;
    UnsubclassWindow();
    CMDIFrameWnd* pFrame = m_pParentFrame;
    if (::IsWindow(pFrame->m_hWnd))
        pFrame->RecalcLayout();
    m_pParentFrame = nullptr;
    return TRUE;
}

void COXTabClientWnd::PostNcDestroy() {
    m_tab.m_pTabClientWnd = nullptr;
    m_pParentFrame = nullptr;
    m_bHasSpareTab = FALSE;
    m_bForceToRecalc = FALSE;
}

COXTabSkin* COXTabClientWnd::GetTabSkin() {
    return OXGetElementSkin<COXTabSkinClassic>(&COXSkin::GetTabSkin, m_pOwnTabSkin);
}

void COXTabClientWnd::PostSync() {
    if (m_tab.m_hWnd != nullptr)
        m_tab.PostMessage(WM_TIMER, IDT_OXTABCLIENT_SYNC, 0);
}

// ---- MDI client messages

LRESULT COXTabClientWnd::OnMDICreate(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    const LRESULT lResult = Default();
    if (lResult != 0 && m_tab.m_hWnd != nullptr) {
        m_tab.SetCurSel(-1);
        PostSync();
    }
    return lResult;
}

LRESULT COXTabClientWnd::OnMDIDestroy(WPARAM wParam, LPARAM /*lParam*/) {
    if (m_tab.m_hWnd != nullptr)
        m_tab.RemoveTab(reinterpret_cast<HWND>(wParam), TRUE);
    const LRESULT lResult = Default();
    PostSync();
    return lResult;
}

LRESULT COXTabClientWnd::OnMDIActivate(WPARAM wParam, LPARAM /*lParam*/) {
    const LRESULT lResult = Default();
    if (m_tab.m_hWnd != nullptr) {
        const int nTab = m_tab.FindTab(reinterpret_cast<HWND>(wParam));
        if (nTab != -1) {
            m_tab.SetCurSel(nTab);
            // With scrolling opposite the rows move under the selected one.
            if (m_tab.GetStyle() & TCS_SCROLLOPPOSITE)
                m_bForceToRecalc = TRUE;
        }
    }
    PostSync();
    return lResult;
}

void COXTabClientWnd::OnSize(UINT /*nType*/, int /*cx*/, int /*cy*/) {
    Default();
    m_bForceToRecalc = TRUE;
    PostSync();
}

void COXTabClientWnd::OnShowWindow(BOOL bShow, UINT nStatus) {
    Default();
    // Only a direct show or hide of the client, not one of its parent's.
    if (nStatus != 0 || m_tab.m_hWnd == nullptr)
        return;
    // Through SetWindowPos rather than the style bit alone, so that the
    // screen follows too.
    ::SetWindowPos(m_tab.m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                       (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void COXTabClientWnd::OnNcPaint() {
    GetTabSkin()->DrawMDIClientNonClient(this);
}

// ---- Layout

void COXTabClientWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) {
    HDWP hDWP = ::BeginDeferWindowPos(2);
    CRect rect = *lpClientRect;
    if (m_tab.m_hWnd != nullptr && (m_tab.GetStyle() & WS_VISIBLE)) {
        LayoutTabs(hDWP, rect);
        if (rect.bottom < rect.top || rect.right < rect.left)
            rect.SetRectEmpty();
        m_tab.ShowWindow(SW_SHOWNA);
        // A collapsed area stays empty rather than grow around nothing.
        if (!rect.IsRectEmpty())
            GetTabSkin()->AdjustClientRect(rect, kSkinAdjustAmount, &m_tab);
    }
    hDWP = DeferWindow(hDWP, m_hWnd, rect);
    if (hDWP != nullptr)
        ::EndDeferWindowPos(hDWP);
    *lpClientRect = rect;
    CWnd::CalcWindowRect(lpClientRect, nAdjustType);
}

void COXTabClientWnd::LayoutTabs(HDWP& hDWP, LPRECT lpRect) {
    CRect& rect = *reinterpret_cast<CRect*>(lpRect);
    const DWORD dwStyle = m_tab.GetStyle();
    if ((dwStyle & TCS_BUTTONS) && (dwStyle & TCS_VERTICAL)) {
        LayoutVerticalButtons(hDWP, rect, dwStyle);
        return;
    }
    hDWP = DeferWindow(hDWP, m_tab.m_hWnd, rect);
    DeflateByOffset(rect, m_tab.m_nOffset);
    AdjustForTabs(rect, dwStyle);
}

// Buttons at the side: the tab control measures them as a horizontal strip,
// which is then turned back onto the side.
void COXTabClientWnd::LayoutVerticalButtons(HDWP& hDWP, CRect& rect, DWORD dwStyle) {
    const CRect rectGiven = rect;
    const CRect rectTurned(rectGiven.left, rectGiven.top, rectGiven.left + rectGiven.Height(),
                           rectGiven.top + rectGiven.Width());
    ::SetWindowPos(m_tab.m_hWnd, nullptr, rectTurned.left, rectTurned.top, rectTurned.Width(),
                   rectTurned.Height(), SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    CRect rectMeasure = rectTurned;
    DeflateByOffset(rectMeasure, m_tab.m_nOffset);
    DeflateByOffset(rect, m_tab.m_nOffset);

    const DWORD dwMeasureStyle = dwStyle & ~(TCS_VERTICAL | TCS_RIGHT);
    SetTabStyle(&m_tab, dwMeasureStyle);
    CRect rectAdjusted = rectMeasure;
    m_tab.AdjustRect(FALSE, &rectAdjusted);
    SetTabStyle(&m_tab, dwStyle);

    rect.top += rectAdjusted.left - rectMeasure.left;
    if ((dwStyle & TCS_RIGHT) == 0)
        rect.left += rectAdjusted.top - rectMeasure.top;
    rect.bottom = rect.top + rectAdjusted.Width();
    rect.right = rect.left + rectAdjusted.Height();
    hDWP = DeferWindow(hDWP, m_tab.m_hWnd, rectGiven);
}

// rect, already inside the border, becomes the display area of the tabs.
void COXTabClientWnd::AdjustForTabs(CRect& rect, DWORD dwStyle) {
    if ((dwStyle & TCS_BUTTONS) && (dwStyle & TCS_BOTTOM)) {
        // Buttons at the bottom: measured as if at the top, then moved back up.
        const int nTop = rect.top;
        SetTabStyle(&m_tab, dwStyle & ~TCS_BOTTOM);
        m_tab.AdjustRect(FALSE, &rect);
        SetTabStyle(&m_tab, dwStyle);
        rect.OffsetRect(0, nTop - rect.top);
        return;
    }

    const int nCount = m_tab.GetItemCount();
    const int nReal = m_bHasSpareTab ? nCount - 1 : nCount;
    if (nReal != 1) {
        // No document, or several: the spare tab has done its work.
        if (nReal == 0 && m_bHasSpareTab) {
            m_tab.DeleteItem(nCount - 1);
            m_bHasSpareTab = FALSE;
        }
        m_tab.AdjustRect(FALSE, &rect);
        return;
    }
    // One document: its tab, when too wide for the area, gets an empty tab
    // beside it, so that the control scrolls instead of cutting it.
    CRect rectTab;
    m_tab.GetItemRect(0, &rectTab);
    if (rectTab.Width() + kSpareTabMargin < rect.Width()) {
        if (m_bHasSpareTab) {
            m_tab.DeleteItem(nCount - 1);
            m_bHasSpareTab = FALSE;
        }
    } else if (!m_bHasSpareTab) {
        m_tab.InsertItem(1, "");
        m_bHasSpareTab = TRUE;
    }
    m_tab.AdjustRect(FALSE, &rect);
}

// ---- COXTabWorkspace

namespace {

CString DoubleAmpersands(const CString& sText) {
    CString sDoubled;
    for (int i = 0; i < sText.GetLength(); ++i) {
        sDoubled += sText[i];
        if (sText[i] == '&')
            sDoubled += '&';
    }
    return sDoubled;
}

CString WindowClassName(HWND hWnd) {
    char szClass[512] = "";
    ::GetClassNameA(hWnd, szClass, static_cast<int>(sizeof(szClass)));
    return szClass;
}

} // namespace

IMPLEMENT_DYNAMIC(COXTabWorkspace, COXSkinnedTabCtrl)

// clang-format off
BEGIN_MESSAGE_MAP(COXTabWorkspace, COXSkinnedTabCtrl)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_NCCALCSIZE()
    ON_WM_ERASEBKGND()
    ON_WM_NCPAINT()
    ON_NOTIFY_REFLECT(TCN_SELCHANGE, &COXTabWorkspace::OnSelChange)
END_MESSAGE_MAP()
// clang-format on

COXTabWorkspace::COXTabWorkspace()
    : m_pTabClientWnd(nullptr), m_nOffset(1), m_bAcceptDraggedObject(TRUE) {}

// The image list goes with the window (OnDestroy) or with its member.
COXTabWorkspace::~COXTabWorkspace() = default;

CMDIFrameWnd* COXTabWorkspace::GetFrame() const {
    return m_pTabClientWnd != nullptr ? m_pTabClientWnd->m_pParentFrame : nullptr;
}

HWND COXTabWorkspace::GetActiveChild(BOOL* pbMaximized) const {
    // Asked of the client itself, so that children without a framework
    // object (made by WM_MDICREATE) count too.
    CMDIFrameWnd* pFrame = GetFrame();
    BOOL bMaximized = FALSE;
    HWND hActive = nullptr;
    if (pFrame != nullptr && pFrame->m_hWndMDIClient != nullptr)
        hActive = reinterpret_cast<HWND>(::SendMessageA(pFrame->m_hWndMDIClient, WM_MDIGETACTIVE, 0,
                                                        reinterpret_cast<LPARAM>(&bMaximized)));
    if (pbMaximized != nullptr)
        *pbMaximized = hActive != nullptr && bMaximized;
    return hActive;
}

void COXTabWorkspace::RecalcFrameLayout() const {
    CMDIFrameWnd* pFrame = GetFrame();
    if (pFrame != nullptr && ::IsWindow(pFrame->m_hWnd))
        pFrame->RecalcLayout();
}

HWND COXTabWorkspace::GetTabWindow(int nIndex) const {
    if (nIndex < 0 || nIndex >= m_arrTab.GetSize())
        return nullptr;
    const _tagTAB_ITEM_ENTRY& entry = m_arrTab[nIndex];
    // A handle the system gave to another window since is not this child.
    if (!::IsWindow(entry.hWnd) || WindowClassName(entry.hWnd) != entry.sWndClass)
        return nullptr;
    return entry.hWnd;
}

int COXTabWorkspace::GetSpareTabIndex() const {
    if (m_pTabClientWnd == nullptr || !m_pTabClientWnd->m_bHasSpareTab)
        return -1;
    return static_cast<int>(m_arrTab.GetSize());
}

int COXTabWorkspace::FindTab(HWND hWnd) const {
    if (hWnd == nullptr)
        return -1;
    const CString sClass = WindowClassName(hWnd);
    for (int i = 0; i < m_arrTab.GetSize(); ++i) {
        if (m_arrTab[i].hWnd == hWnd && m_arrTab[i].sWndClass == sClass)
            return i;
    }
    return -1;
}

int COXTabWorkspace::AddTabIcon(HICON hIcon) {
    for (int i = 0; i < m_arrImage.GetSize(); ++i) {
        if (m_arrImage[i] == hIcon)
            return i;
    }
    if (m_imageList.Add(hIcon) == -1)
        return -1;
    return static_cast<int>(m_arrImage.Add(hIcon));
}

CString COXTabWorkspace::GetTabText(HWND hWnd) {
    // A non-zero answer below 0x10000 is a string resource id, which the
    // string's constructor loads.
    const LRESULT lText = ::SendMessageA(hWnd, WM_OX_GETTABTEXT, 0, 0);
    CString sText(lText != 0 ? reinterpret_cast<LPCSTR>(lText) : nullptr);
    if (sText.IsEmpty()) {
        const int nLength = ::GetWindowTextLengthA(hWnd);
        ::GetWindowTextA(hWnd, sText.GetBufferSetLength(nLength), nLength + 1);
        sText.ReleaseBuffer();
    }
    return sText;
}

HICON COXTabWorkspace::GetWindowSmallIcon(HWND hWnd) {
    if (auto hIcon = reinterpret_cast<HICON>(::SendMessageA(hWnd, WM_GETICON, ICON_SMALL, 0)))
        return hIcon;
    if (auto hIcon = reinterpret_cast<HICON>(::GetClassLongPtrA(hWnd, GCLP_HICONSM)))
        return hIcon;
    if (auto hIcon = reinterpret_cast<HICON>(::SendMessageA(hWnd, WM_GETICON, ICON_BIG, 0)))
        return hIcon;
    return reinterpret_cast<HICON>(::GetClassLongPtrA(hWnd, GCLP_HICON));
}

BOOL COXTabWorkspace::InsertTab(int nIndex, HWND hWnd, BOOL bRecalcLayout, BOOL bOnlyVisible) {
    if ((::GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_MDICHILD) == 0)
        return FALSE;
    if (bOnlyVisible && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_VISIBLE) == 0)
        return FALSE;
    _tagTAB_ITEM_ENTRY entry;
    entry.sWndClass = WindowClassName(hWnd);
    HICON hIcon = GetWindowSmallIcon(hWnd);
    const int nImage = hIcon != nullptr ? AddTabIcon(hIcon) : -1;
    entry.sText = GetTabText(hWnd);
    entry.hWnd = hWnd;
    entry.bFound = TRUE;

    // The tab shows every '&' of the label literally from the start.
    CString sLabel = DoubleAmpersands(entry.sText);
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<LPSTR>(sLabel.GetString());
    item.iImage = nImage;
    if (InsertItem(nIndex, &item) == -1)
        return FALSE;
    if (m_arrTab.IsEmpty() && bRecalcLayout)
        Invalidate(TRUE);
    m_arrTab.InsertAt(nIndex, entry);
    if (bRecalcLayout)
        RecalcFrameLayout();
    return TRUE;
}

BOOL COXTabWorkspace::RemoveTab(HWND hWnd, BOOL bRecalcLayout) {
    const int nTab = FindTab(hWnd);
    if (nTab == -1)
        return FALSE;
    DeleteItem(nTab);
    m_arrTab.RemoveAt(nTab);
    if (bRecalcLayout)
        RecalcFrameLayout();
    return TRUE;
}

void COXTabWorkspace::SyncTabs(BOOL bAddNewWindows, BOOL bUpdateIcons) {
    CMDIFrameWnd* pFrame = GetFrame();
    if (pFrame == nullptr || m_hWnd == nullptr)
        return;
    BOOL bChanged = m_pTabClientWnd->m_bForceToRecalc;

    // Tabs of children destroyed without WM_MDIDESTROY (or whose handle now
    // names another window) go first.
    for (int i = static_cast<int>(m_arrTab.GetSize()) - 1; i >= 0; --i) {
        if (GetTabWindow(i) == nullptr) {
            DeleteItem(i);
            m_arrTab.RemoveAt(i);
            bChanged = TRUE;
        }
    }

    const HWND hActive = GetActiveChild(nullptr);
    int nSelected = -1;
    if (hActive != nullptr) {
        int nOldCount = static_cast<int>(m_arrTab.GetSize());
        for (HWND hChild = ::GetWindow(hActive, GW_HWNDFIRST); hChild != nullptr;
             hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
            const CString sText = GetTabText(hChild);
            const int nTab = FindTab(hChild);
            // The child's own style: a frame not shown yet hides no child.
            const BOOL bVisible = (::GetWindowLongA(hChild, GWL_STYLE) & WS_VISIBLE) != 0;
            if (nTab != -1 && bVisible) {
                if (hChild == hActive)
                    nSelected = nTab;
                _tagTAB_ITEM_ENTRY& entry = m_arrTab[nTab];
                if (entry.sText != sText) {
                    entry.sText = sText;
                    CString sLabel = DoubleAmpersands(sText);
                    TCITEMA item = {};
                    item.mask = TCIF_TEXT;
                    item.pszText = const_cast<LPSTR>(sLabel.GetString());
                    SetItem(nTab, &item);
                    bChanged = TRUE;
                }
                if (bUpdateIcons) {
                    TCITEMA item = {};
                    item.mask = TCIF_IMAGE;
                    GetItem(nTab, &item);
                    HICON hIcon = GetWindowSmallIcon(hChild);
                    const int nImage = hIcon != nullptr ? AddTabIcon(hIcon) : -1;
                    if (item.iImage != nImage) {
                        item.iImage = nImage;
                        SetItem(nTab, &item);
                    }
                }
            } else if (nTab != -1) {
                --nOldCount;
                if (nSelected > nTab)
                    --nSelected;
                RemoveTab(hChild, FALSE);
                bChanged = TRUE;
            } else if (bAddNewWindows) {
                // Every child new in this pass goes to the same place, after
                // the tabs there were; a refused window changes nothing.
                if (InsertTab(nOldCount, hChild, FALSE, TRUE)) {
                    if (nSelected >= nOldCount)
                        ++nSelected;
                    bChanged = TRUE;
                }
            }
        }
    }

    if (nSelected >= 0 && nSelected != GetCurSel()) {
        SetCurSel(nSelected);
        bChanged = TRUE;
    }
    if (bChanged) {
        RecalcFrameLayout();
        m_pTabClientWnd->m_bForceToRecalc = FALSE;
    }
}

// ---- Workspace messages

int COXTabWorkspace::OnCreate(LPCREATESTRUCT lpcs) {
    if (COXSkinnedTabCtrl::OnCreate(lpcs) == -1)
        return -1;
    if (SetTimer(IDT_OXTABCLIENT_SYNC, OXTABCLIENT_SYNC_PERIOD) == 0) {
        KWTRACE_ERROR(("COXTabWorkspace::OnCreate: SetTimer() failed\n"));
        return -1;
    }
    if (!m_imageList.Create(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                            ILC_MASK | ILC_COLOR8, 4, 4)) {
        KWTRACE_ERROR(("COXTabWorkspace::OnCreate: Create() image list failed\n"));
        return -1;
    }
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    SetImageList(&m_imageList);
    if (!m_dropTarget.Register(this)) {
        KWTRACE_ERROR(("COXTabWorkspace::OnCreate: failed to register the control with "
                       "COleDropTarget\n"));
        KWTRACE_ERROR(("you've probably forgot to initialize OLE libraries using AfxOleInit "
                       "function\n"));
    }
    return 0;
}

void COXTabWorkspace::OnDestroy() {
    Default();
    m_imageList.DeleteImageList();
    KillTimer(IDT_OXTABCLIENT_SYNC);
    m_arrImage.RemoveAll();
    m_arrTab.RemoveAll();
    if (m_pTabClientWnd != nullptr)
        m_pTabClientWnd->m_bHasSpareTab = FALSE;
}

void COXTabWorkspace::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == IDT_OXTABCLIENT_SYNC)
        SyncTabs(TRUE, FALSE);
    else
        Default();
}

void COXTabWorkspace::OnSelChange(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
    CMDIFrameWnd* pFrame = GetFrame();
    if (pFrame != nullptr) {
        if (HWND hChild = GetTabWindow(GetCurSel()))
            pFrame->MDIActivate(CWnd::FromHandle(hChild));
        pFrame->RecalcLayout();
    }
    *pResult = 0;
}

void COXTabWorkspace::OnLButtonDblClk(UINT /*nFlags*/, CPoint /*point*/) {
    CMDIFrameWnd* pFrame = GetFrame();
    HWND hChild = GetTabWindow(GetCurSel());
    if (pFrame == nullptr || hChild == nullptr)
        return;
    BOOL bMaximized = FALSE;
    if (GetActiveChild(&bMaximized) == hChild && bMaximized)
        pFrame->MDIRestore(CWnd::FromHandle(hChild));
    else
        pFrame->MDIMaximize(CWnd::FromHandle(hChild));
}

void COXTabWorkspace::OnNcCalcSize(BOOL /*bCalcValidRects*/, NCCALCSIZE_PARAMS* lpncsp) {
    Default();
    CRect rect(lpncsp->rgrc[0]);
    DeflateByOffset(rect, m_nOffset);
    lpncsp->rgrc[0] = rect;
}

BOOL COXTabWorkspace::OnEraseBkgnd(CDC* pDC) {
    CRect rect;
    GetWindowRect(&rect);
    ScreenToClient(&rect);
    rect.right += m_nOffset;
    rect.bottom += m_nOffset;
    pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

void COXTabWorkspace::OnNcPaint() {
    CWindowDC dc(this);
    CRect rectWindow, rectClient;
    GetWindowRect(&rectWindow);
    GetClientRect(&rectClient);
    ClientToScreen(&rectClient);
    rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    if (!rectClient.IsRectEmpty())
        dc.ExcludeClipRect(&rectClient);
    SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC));
    GetTabSkin()->DrawBorder(&dc, rectWindow, this);
}

// ---- COXTabWorkspaceDropTarget

DROPEFFECT COXTabWorkspaceDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* /*pDataObject*/,
                                                 DWORD /*dwKeyState*/, CPoint point) {
    if (pWnd == nullptr || !pWnd->IsKindOf(RUNTIME_CLASS(COXTabWorkspace)))
        return DROPEFFECT_NONE;
    auto* pTab = static_cast<COXTabWorkspace*>(pWnd);
    if (!pTab->m_bAcceptDraggedObject)
        return DROPEFFECT_NONE;
    TCHITTESTINFO info = {};
    info.pt = point;
    const int nItem = pTab->HitTest(&info);
    if (nItem < 0 || nItem == m_nOldItem)
        return DROPEFFECT_NONE;
    CMDIFrameWnd* pFrame =
        pTab->m_pTabClientWnd != nullptr ? pTab->m_pTabClientWnd->m_pParentFrame : nullptr;
    HWND hChild = pTab->GetTabWindow(nItem);
    if (pFrame != nullptr && hChild != nullptr) {
        pFrame->MDIActivate(CWnd::FromHandle(hChild));
        // The activation may have moved the tabs.
        TCHITTESTINFO again = {};
        again.pt = point;
        m_nOldItem = pTab->HitTest(&again);
    }
    return DROPEFFECT_NONE;
}

void COXTabWorkspaceDropTarget::OnDragLeave(CWnd* pWnd) {
    m_nOldItem = -1;
    COleDropTarget::OnDragLeave(pWnd);
}
