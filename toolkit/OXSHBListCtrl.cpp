// OXSHBListCtrl.cpp: COXSHBListCtrl: creation, settings, item state, the
// message map and the list-view messages the list answers itself.
#include "OXSHBListCtrl.h"

#include "OXCoolToolBar.h"
#include "OXShortcutBar.h"
#include "OXShortcutBarSkin.h"

#include "Common/TraceLog.h"
#include "framework/WinThread.h"

#include <cstring>

namespace {

// The parts of a window style word that map onto bar styles for a list that
// lives outside a bar.
DWORD StyleFromWindowStyles(DWORD dwStyle, DWORD dwExStyle) {
    DWORD dwBarStyle = 0;
    if (dwStyle & LVS_NOSCROLL)
        dwBarStyle |= SHBS_NOSCROLL;
    if (dwStyle & LVS_EDITLABELS)
        dwBarStyle |= SHBS_EDITITEMS;
    if (dwStyle & LVS_SHOWSELALWAYS)
        dwBarStyle |= SHBS_SHOWACTIVEALWAYS;
    if (dwExStyle & 0x0800)
        dwBarStyle |= SHBS_UNDERLINEHOTITEM;
    if (dwExStyle & 0x0400)
        dwBarStyle |= SHBS_INFOTIP;
    return dwBarStyle;
}

} // namespace

IMPLEMENT_DYNCREATE(COXSHBListCtrl, CListCtrl)

// clang-format off
BEGIN_MESSAGE_MAP(COXSHBListCtrl, CListCtrl)
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_MBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_MESSAGE(LVM_GETBKCOLOR, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_SETBKCOLOR, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_GETTEXTCOLOR, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_SETTEXTCOLOR, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_GETTEXTBKCOLOR, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_SETTEXTBKCOLOR, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_SETITEMA, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_SETITEMTEXTA, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_INSERTITEMA, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_DELETEITEM, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_DELETEALLITEMS, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_SORTITEMS, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_FINDITEMA, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_GETITEMRECT, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_GETITEMPOSITION, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_HITTEST, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_ENSUREVISIBLE, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_SCROLL, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_REDRAWITEMS, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_GETVIEWRECT, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_GETTOPINDEX, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_GETCOUNTPERPAGE, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_GETORIGIN, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_UPDATE, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_SETHOTITEM, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_GETHOTITEM, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_EDITLABELA, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_GETEDITCONTROL, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(LVM_CREATEDRAGIMAGE, &COXSHBListCtrl::OnListViewMessage)
    ON_MESSAGE(SHBM_SETSHBGROUP, &COXSHBListCtrl::OnSetShbGroup)
    ON_MESSAGE(SHBM_SHBINFOCHANGED, &COXSHBListCtrl::OnShbInfoChanged)
    ON_MESSAGE(SHBM_SHBSTYLECHANGED, &COXSHBListCtrl::OnShbStyleChanged)
    ON_MESSAGE(SHBM_CHECKMOUSE, &COXSHBListCtrl::OnCheckMouse)
    ON_MESSAGE(SHBM_POPULATECONTEXTMENU, &COXSHBListCtrl::OnPopulateContextMenu)
    ON_MESSAGE(SHBM_STARTDRAGDROP, &COXSHBListCtrl::OnStartDragDrop)
    ON_MESSAGE(SHBDTM_DRAGENTER, &COXSHBListCtrl::OnDropTargetDragEnter)
    ON_MESSAGE(SHBDTM_DRAGOVER, &COXSHBListCtrl::OnDropTargetDragOver)
    ON_MESSAGE(SHBDTM_DRAGLEAVE, &COXSHBListCtrl::OnDropTargetDragLeave)
    ON_MESSAGE(SHBDTM_DROP, &COXSHBListCtrl::OnDropTargetDrop)
    ON_NOTIFY(SHBEN_FINISHEDIT, SHB_IDCEDIT, &COXSHBListCtrl::OnChangeItemText)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, &COXSHBListCtrl::OnToolTipText)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, &COXSHBListCtrl::OnToolTipText)
END_MESSAGE_MAP()
// clang-format on

// ---------------------------------------------------------------------------
// Construction and creation.

COXSHBListCtrl::COXSHBListCtrl()
    : m_pShortcutBar(nullptr), m_hGroup(nullptr), m_nPressedItem(-1), m_nHotItem(-1),
      m_nLastHotItem(-1), m_nSelectedItem(-1), m_nDragItem(-1), m_nEditItem(-1), m_ptOrigin(0, 0),
      m_bMouseInside(FALSE), m_bScrollingUp(FALSE), m_bScrollingDown(FALSE),
      m_bAutoScrolling(FALSE), m_bDrawingDragImage(FALSE), m_bDragFromThisList(FALSE),
      m_bOleDragOver(FALSE), m_pDragImage(nullptr), m_ptDragHotSpot(0, 0), m_ptPress(0, 0),
      m_nDragCandidate(-1), m_nInsertItem(-1), m_lDragItemData(0), m_nScrollTimer(0),
      m_nCheckMouseTimer(0), m_dwOwnStyle(0), m_nLayoutWidth(-1) {
    GetComCtlVersion();
}

COXSHBListCtrl::~COXSHBListCtrl() {
    // Destroyed here, while the object is still whole, so that WM_DESTROY
    // reaches this class's handler and its timers stop.
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        DestroyWindow();
    delete m_pDragImage;
}

DWORD COXSHBListCtrl::GetComCtlVersion() {
    static DWORD s_dwComCtlVersion = 0;
    if (s_dwComCtlVersion == 0) {
        DWORD dwMajor = 4, dwMinor = 0;
        if (FAILED(OXGetDllVersion("comctl32.dll", &dwMajor, &dwMinor))) {
            dwMajor = 4;
            dwMinor = 0;
        }
        s_dwComCtlVersion = MAKELONG(dwMinor, dwMajor);
    }
    return s_dwComCtlVersion;
}

BOOL COXSHBListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    // The control must be made in icon view and without scroll bars of its
    // own: its creation reads these bits before any later style change.
    m_dwOwnStyle = dwStyle;
    if (!CListCtrl::Create((dwStyle & ~LVS_TYPEMASK) | LVS_NOSCROLL, rect, pParentWnd, nID))
        return FALSE;
    if (!InitListControl()) {
        KWTRACE_ERROR(("COXSHBListCtrl::Create: failed to initialize list control"));
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

BOOL COXSHBListCtrl::CreateEditControl() {
    if (m_edit.m_hWnd == nullptr)
        m_edit.Create(WS_BORDER, CRect(0, 0, 0, 0), this, SHB_IDCEDIT);
    return m_edit.m_hWnd != nullptr && ::IsWindow(m_edit.m_hWnd);
}

BOOL COXSHBListCtrl::InitListControl() {
    if (!CreateEditControl()) {
        KWTRACE_ERROR(("COXSHBListCtrl::InitListControl: failed to create edit control"));
        return FALSE;
    }
    EnableToolTips(TRUE);
    COleDropTarget* pDropTarget = GetDropTarget();
    if (pDropTarget == nullptr || !pDropTarget->Register(this)) {
        KWTRACE_ERROR(("COXSHBListCtrl::InitListControl: failed to register the control with "
                       "COleDropTarget\n"));
        KWTRACE_ERROR(("COXSHBListCtrl: you've probably forgot to initialize OLE libraries "
                       "using AfxOleInit function"));
    }
    return TRUE;
}

void COXSHBListCtrl::PreSubclassWindow() {
    // The list lays its items out and scrolls them itself: the control stays
    // in an icon view, so that it makes no header or columns of its own, and
    // shows no scroll bars of its own.
    const BOOL bCreating = AfxGetThreadState()->m_pWndInit == this;
    if (!bCreating)
        m_dwOwnStyle = GetStyle();
    ModifyStyle(LVS_TYPEMASK, LVS_NOSCROLL);
    if (!bCreating && !InitListControl())
        KWTRACE_ERROR(("COXSHBListCtrl::PreSubclassWindow: failed to initialize list control\n"));
    CListCtrl::PreSubclassWindow();
}

// ---------------------------------------------------------------------------
// Settings.

DWORD COXSHBListCtrl::GetBarStyle() const {
    if (m_pShortcutBar != nullptr)
        return m_pShortcutBar->GetBarStyle();
    const DWORD dwKept = LVS_NOSCROLL | LVS_TYPEMASK;
    return StyleFromWindowStyles((GetStyle() & ~dwKept) | (m_dwOwnStyle & dwKept), GetExStyle());
}

int COXSHBListCtrl::GetView() const {
    if (m_pShortcutBar != nullptr)
        return m_pShortcutBar->GetGroupView(m_hGroup);
    return (m_dwOwnStyle & LVS_TYPEMASK) == LVS_SMALLICON ? SHB_SMALLICON : SHB_LARGEICON;
}

// Both go through the list-view messages, which answer the group's colours
// inside a bar and the control's own outside one.
COLORREF COXSHBListCtrl::GetBkColor() const {
    return CListCtrl::GetBkColor();
}

COLORREF COXSHBListCtrl::GetTextColor() const {
    return CListCtrl::GetTextColor();
}

BOOL COXSHBListCtrl::GetItemFont(LOGFONT* pLogFont) const {
    if (pLogFont == nullptr)
        return FALSE;
    if (m_pShortcutBar != nullptr)
        return m_pShortcutBar->GetGroupTextFont(m_hGroup, pLogFont);
    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    if (hFont == nullptr)
        return FALSE;
    return ::GetObjectA(hFont, sizeof(LOGFONT), pLogFont) == sizeof(LOGFONT);
}

CSize COXSHBListCtrl::GetScrollButtonSize() const {
    return m_pShortcutBar != nullptr ? m_pShortcutBar->GetScrollButtonSize() : CSize(16, 16);
}

UINT COXSHBListCtrl::GetScrollingDelay() const {
    return m_pShortcutBar != nullptr ? m_pShortcutBar->GetScrollingDelay() : 200;
}

UINT COXSHBListCtrl::GetAutoScrollingDelay() const {
    return m_pShortcutBar != nullptr ? m_pShortcutBar->GetAutoScrollingDelay() : 400;
}

COXShortcutBarSkin* COXSHBListCtrl::GetShortcutBarSkin() const {
    return m_pShortcutBar != nullptr ? m_pShortcutBar->GetShortcutBarSkin() : nullptr;
}

LRESULT COXSHBListCtrl::SendSHBNotification(UINT nCode, int nItem, LPARAM lParam) const {
    NMSHORTCUTBAR nmshb;
    nmshb.hdr.code = nCode;
    nmshb.nItem = nItem;
    nmshb.lParam = lParam;
    return SendSHBNotification(&nmshb);
}

LRESULT COXSHBListCtrl::SendSHBNotification(LPNMSHORTCUTBAR pNMSHB) const {
    if (m_pShortcutBar != nullptr) {
        pNMSHB->hGroup = m_hGroup;
        return m_pShortcutBar->SendSHBNotification(pNMSHB);
    }
    CWnd* pOwner = GetOwner();
    if (pOwner == nullptr || pOwner->m_hWnd == nullptr)
        return 0;
    pNMSHB->hdr.hwndFrom = m_hWnd;
    pNMSHB->hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    return pOwner->SendMessage(WM_NOTIFY, pNMSHB->hdr.idFrom, reinterpret_cast<LPARAM>(pNMSHB));
}

// ---------------------------------------------------------------------------
// Item state.

int COXSHBListCtrl::SetHotItem(int nItem) {
    if (nItem == m_nHotItem)
        return m_nHotItem;
    if (SendSHBNotification(SHBN_HOTITEM, nItem, 0) != 0)
        return m_nHotItem;
    const int nOld = m_nHotItem;
    m_nLastHotItem = nOld;
    m_nHotItem = nItem;
    return nOld;
}

int COXSHBListCtrl::SetPressedItem(int nItem) {
    if (nItem == m_nPressedItem)
        return m_nPressedItem;
    if (SendSHBNotification(SHBN_PRESSITEM, nItem, 0) != 0)
        return m_nPressedItem;
    const int nOld = m_nPressedItem;
    m_nPressedItem = nItem;
    return nOld;
}

int COXSHBListCtrl::SelectItem(int nItem) {
    if (nItem == m_nSelectedItem)
        return m_nSelectedItem;
    if (SendSHBNotification(SHBN_SELECTITEM, nItem, 0) != 0)
        return m_nSelectedItem;
    const int nOld = m_nSelectedItem;
    m_nSelectedItem = nItem;
    if (nOld != -1)
        UpdateItem(nOld);
    if (nItem != -1)
        UpdateItem(nItem);
    return nOld;
}

// ---------------------------------------------------------------------------
// The list-view messages the list answers itself.

LRESULT COXSHBListCtrl::OnListViewMessage(WPARAM wParam, LPARAM lParam) {
    const UINT message = GetCurrentMessage()->message;
    const BOOL bInBar = m_pShortcutBar != nullptr;
    switch (message) {
    case LVM_GETBKCOLOR:
    case LVM_GETTEXTBKCOLOR:
        return bInBar ? m_pShortcutBar->GetGroupBkColor(m_hGroup) : Default();
    case LVM_SETBKCOLOR:
        return bInBar ? m_pShortcutBar->SetGroupBkColor(m_hGroup, static_cast<COLORREF>(lParam))
                      : Default();
    case LVM_GETTEXTCOLOR:
        return bInBar ? m_pShortcutBar->GetGroupTextColor(m_hGroup) : Default();
    case LVM_SETTEXTCOLOR:
        return bInBar ? m_pShortcutBar->SetGroupTextColor(m_hGroup, static_cast<COLORREF>(lParam))
                      : Default();
    case LVM_SETTEXTBKCOLOR:
        // The text of a group list is always drawn transparently.
        return bInBar ? 0 : Default();

    case LVM_SETITEMA:
    case LVM_SETITEMTEXTA: {
        const LRESULT lResult = Default();
        if (lResult) {
            CalculateBoundRects();
            RedrawRect(CRect());
        }
        return lResult;
    }
    case LVM_INSERTITEMA: {
        const LRESULT lResult = Default();
        const int nNew = static_cast<int>(lResult);
        if (nNew != -1) {
            const LVITEMA* pItem = reinterpret_cast<const LVITEMA*>(lParam);
            SendSHBNotification(SHBN_INSERTITEM, pItem != nullptr ? pItem->iItem : nNew, lParam);
            if (m_nPressedItem >= nNew)
                m_nPressedItem++;
            if (m_nSelectedItem >= nNew)
                m_nSelectedItem++;
            CalculateBoundRects();
            if (!m_bOleDragOver)
                RedrawRect(CRect());
        }
        return lResult;
    }
    case LVM_DELETEITEM: {
        const int nItem = static_cast<int>(wParam);
        SendSHBNotification(SHBN_DELETEITEM, nItem, 0);
        const LRESULT lResult = Default();
        if (lResult) {
            if (m_nPressedItem > nItem)
                m_nPressedItem--;
            else if (m_nPressedItem == nItem)
                m_nPressedItem = -1;
            if (m_nSelectedItem > nItem)
                m_nSelectedItem--;
            else if (m_nSelectedItem == nItem)
                m_nSelectedItem = -1;
            CalculateBoundRects();
            // Scrolled past what is left: back to the start.
            if (GetTopIndex() == -1 && m_ptOrigin != CPoint(0, 0)) {
                m_ptOrigin = CPoint(0, 0);
                CalculateScrollRects();
            }
            if (!m_bOleDragOver)
                RedrawRect(CRect());
        }
        return lResult;
    }
    case LVM_DELETEALLITEMS: {
        SendSHBNotification(SHBN_DELETEALLITEMS, -1, 0);
        const LRESULT lResult = Default();
        if (lResult) {
            m_ptOrigin = CPoint(0, 0);
            SetPressedItem(-1);
            SelectItem(-1);
            CalculateBoundRects();
            RedrawRect(CRect());
        }
        return lResult;
    }
    case LVM_SORTITEMS: {
        const LRESULT lResult = Default();
        if (lResult) {
            SetPressedItem(-1);
            SelectItem(-1);
            CalculateBoundRects();
            RedrawRect(CRect());
        }
        return lResult;
    }
    case LVM_FINDITEMA: {
        const LVFINDINFOA* pFindInfo = reinterpret_cast<const LVFINDINFOA*>(lParam);
        if (pFindInfo != nullptr && (pFindInfo->flags & LVFI_NEARESTXY))
            return FindItem(pFindInfo, static_cast<int>(wParam));
        return Default();
    }
    case LVM_GETITEMRECT: {
        LPRECT pRect = reinterpret_cast<LPRECT>(lParam);
        if (pRect == nullptr)
            return FALSE;
        return GetItemRect(static_cast<int>(wParam), pRect, static_cast<UINT>(pRect->left));
    }
    case LVM_GETITEMPOSITION: {
        LPPOINT pPoint = reinterpret_cast<LPPOINT>(lParam);
        CRect rect;
        if (pPoint == nullptr || !GetItemRect(static_cast<int>(wParam), &rect, SHBLC_ENTIREITEM))
            return FALSE;
        *pPoint = rect.TopLeft();
        return TRUE;
    }
    case LVM_HITTEST: {
        LVHITTESTINFO* pInfo = reinterpret_cast<LVHITTESTINFO*>(lParam);
        if (pInfo == nullptr)
            return -1;
        UINT nFlags = 0;
        pInfo->iItem = HitTest(CPoint(pInfo->pt), &nFlags, FALSE);
        pInfo->flags = nFlags;
        return pInfo->iItem;
    }
    case LVM_ENSUREVISIBLE:
        return EnsureVisible(static_cast<int>(wParam), static_cast<BOOL>(LOWORD(lParam)));
    case LVM_SCROLL:
        return Scroll(CSize(static_cast<int>(wParam), static_cast<int>(lParam)));
    case LVM_REDRAWITEMS:
        return RedrawItems(static_cast<int>(wParam), static_cast<int>(lParam));
    case LVM_GETVIEWRECT: {
        LPRECT pRect = reinterpret_cast<LPRECT>(lParam);
        return pRect != nullptr && GetViewRect(pRect, FALSE);
    }
    case LVM_GETTOPINDEX:
        return GetTopIndex();
    case LVM_GETCOUNTPERPAGE:
        return GetCountPerPage();
    case LVM_GETORIGIN: {
        LPPOINT pPoint = reinterpret_cast<LPPOINT>(lParam);
        if (pPoint == nullptr)
            return FALSE;
        *pPoint = m_ptOrigin;
        return TRUE;
    }
    case LVM_UPDATE:
        return UpdateItem(static_cast<int>(wParam));
    case LVM_SETHOTITEM:
        return SetHotItem(static_cast<int>(wParam));
    case LVM_GETHOTITEM:
        return m_nHotItem;
    case LVM_EDITLABELA: {
        COXSHBEdit* pEdit = EditLabel(static_cast<int>(wParam));
        return reinterpret_cast<LRESULT>(pEdit != nullptr ? pEdit->m_hWnd : nullptr);
    }
    case LVM_GETEDITCONTROL:
        return reinterpret_cast<LRESULT>(m_edit.m_hWnd);
    case LVM_CREATEDRAGIMAGE: {
        const int nItem = static_cast<int>(wParam);
        CImageList* pImageList = CreateItemDragImage(nItem);
        if (pImageList == nullptr)
            return 0;
        // The caller owns the handle; the wrapper only carried it here.
        HIMAGELIST hImageList = pImageList->Detach();
        delete pImageList;
        CRect rect;
        if (LPPOINT pPoint = reinterpret_cast<LPPOINT>(lParam))
            if (GetItemRect(nItem, &rect, LVIR_BOUNDS))
                *pPoint = rect.TopLeft();
        return reinterpret_cast<LRESULT>(hImageList);
    }
    default:
        return Default();
    }
}

// ---------------------------------------------------------------------------
// The bar's messages.

LRESULT COXSHBListCtrl::OnSetShbGroup(WPARAM /*wParam*/, LPARAM lParam) {
    CWnd* pParent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
    if (COXShortcutBar* pBar = DYNAMIC_DOWNCAST(COXShortcutBar, pParent)) {
        m_pShortcutBar = pBar;
        m_hGroup = reinterpret_cast<HSHBGROUP>(lParam);
    }
    return 0;
}

LRESULT COXSHBListCtrl::OnShbInfoChanged(WPARAM /*wParam*/, LPARAM lParam) {
    const UINT nMask = static_cast<UINT>(lParam);
    if (nMask & SHBIF_DESCRIPTOR)
        CalculateBoundRects();
    if (nMask & SHBIF_VIEW) {
        Scroll(CSize(-m_ptOrigin.x, -m_ptOrigin.y));
        CalculateBoundRects();
    }
    return 0;
}

LRESULT COXSHBListCtrl::OnShbStyleChanged(WPARAM /*wParam*/, LPARAM lParam) {
    if (lParam & 0x01)
        CalculateScrollRects();
    if (lParam & 0x20) {
        CalculateScrollRects();
        RedrawRect(CRect());
    }
    return 0;
}

LRESULT COXSHBListCtrl::OnCheckMouse(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return CheckMousePosition();
}

// ---------------------------------------------------------------------------
// Window messages.

void COXSHBListCtrl::OnSize(UINT /*nType*/, int /*cx*/, int /*cy*/) {
    Default();
    // The bar's expansion animation resizes a list at every step; the items
    // stay where they are unless the width changes.
    const CRect rect = GetContentRect();
    if (m_nLayoutWidth >= 0 && !rect.IsRectEmpty() && rect.Width() == m_nLayoutWidth &&
        static_cast<int>(m_itemRects.size()) == GetItemCount())
        CalculateScrollRects();
    else
        CalculateBoundRects();
}

BOOL COXSHBListCtrl::OnEraseBkgnd(CDC* /*pDC*/) {
    // WM_PAINT fills every pixel.
    return TRUE;
}

void COXSHBListCtrl::OnDestroy() {
    Default();
    if (m_nScrollTimer != 0) {
        KillTimer(SHBLC_IDTSCROLL);
        m_nScrollTimer = 0;
    }
    if (m_nCheckMouseTimer != 0) {
        KillTimer(SHBLC_IDTCHECKMOUSE);
        m_nCheckMouseTimer = 0;
    }
}

void COXSHBListCtrl::OnRButtonDown(UINT /*nFlags*/, CPoint /*point*/) {
    // Swallowed: the control's own handling would run a modal tracking loop
    // and select items behind the list's back.
}

void COXSHBListCtrl::OnRButtonUp(UINT /*nFlags*/, CPoint point) {
    Default();
    // Older controls make no WM_CONTEXTMENU of their own; the default handling
    // of the posted one passes it on to the bar.
    if (GetComCtlVersion() < OX_COMCTL_VERSION_471) {
        CPoint ptScreen = point;
        ClientToScreen(&ptScreen);
        PostMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hWnd),
                    MAKELPARAM(ptScreen.x, ptScreen.y));
    }
}

void COXSHBListCtrl::OnMButtonDown(UINT /*nFlags*/, CPoint /*point*/) {
    // Swallowed, like the right button.
}

// ---------------------------------------------------------------------------
// Tooltips.

BOOL COXSHBListCtrl::OnToolTipText(UINT /*nID*/, NMHDR* pNMHDR, LRESULT* pResult) {
    // The tool's identifier is the item + 1 (OnToolHitTest); the notification's
    // own id is the tooltip control's.
    *pResult = 0;
    const UINT_PTR nTool = pNMHDR->idFrom;
    if (nTool == 0)
        return FALSE;
    SHBINFOTIP infoTip;
    const LRESULT lResult = SendSHBNotification(SHBN_GETITEMINFOTIP, static_cast<int>(nTool) - 1,
                                                reinterpret_cast<LPARAM>(&infoTip));
    // At most 79 characters and a terminator fit the tooltip's own buffer.
    char szText[80];
    lstrcpynA(szText, infoTip.pszText != nullptr ? infoTip.pszText : infoTip.szText,
              sizeof(szText));
    if (pNMHDR->code == TTN_NEEDTEXTA) {
        NMTTDISPINFOA* pInfo = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
        lstrcpynA(pInfo->szText, infoTip.szText, sizeof(pInfo->szText));
        pInfo->lpszText = infoTip.pszText != nullptr ? infoTip.pszText : pInfo->szText;
        pInfo->hinst = infoTip.hInstance;
    } else {
        // A wide request cannot point at the owner's 8-bit text: the text is
        // converted into the tooltip's buffer, whichever field held it.
        NMTTDISPINFOW* pInfo = reinterpret_cast<NMTTDISPINFOW*>(pNMHDR);
        ::MultiByteToWideChar(CP_ACP, 0, szText, -1, pInfo->szText,
                              static_cast<int>(sizeof(pInfo->szText) / sizeof(WCHAR)));
        pInfo->szText[sizeof(pInfo->szText) / sizeof(WCHAR) - 1] = 0;
        pInfo->lpszText = pInfo->szText;
        pInfo->hinst = infoTip.hInstance;
    }
    *pResult = lResult;
    return TRUE;
}
