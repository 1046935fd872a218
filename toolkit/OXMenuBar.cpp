// OXMenuBar.cpp: COXMenuBar's creation, buttons, metrics, layout, the MDI
// child's icon and buttons, and the mouse.
#include "OXMenuBar.h"

#include "OXMenuBarKeys.h"
#include "OXMenuSkin.h"
#include "OXMouseHook.h"
#include "OXSkinnedApp.h"
#include "OXToolbarSkin.h"

#include "Common/TraceLog.h"
#include "framework/Dc.h"
#include "framework/DockBar.h"
#include "framework/Exception.h"
#include "framework/MDIFrameWnd.h"
#include "framework/Menu.h"
#include "framework/MiniFrameWnd.h"

#include <algorithm>

namespace {

// The MDI buttons: an 18-pixel square, each button 2 pixels inside it on the
// sides away from the bar's start; restore sits 18 pixels before close and
// minimise 16 before restore; the reserve starts at 2 and ends 6 past them.
const int kMDIButtonSquare = 18;
const int kMDIButtonInset = 2;
const int kRestoreStep = 18;
const int kMinimizeStep = 16;
const int kReserveStart = 2;
const int kReserveEnd = 6;
// Gap kept between the docked buttons and the MDI buttons and icon.
const int kMDIAreaGap = 14;
// Added to the button height for the bar height.
const int kBarHeightExtra = 3;
// The widest text of a vertical bar gets this much around it.
const int kVertTextExtra = 8;

} // namespace

IMPLEMENT_DYNAMIC(COXMenuBar, COXCoolToolBar)

HWND COXMenuBar::s_hWndFocusBeforeSurfing = nullptr;
COXMouseHook COXMenuBar::s_mouseHook(&COXMenuBar::MouseHookProc, &COXMenuBar::OnHookMouseMoved,
                                     "COXMenuBar");

// clang-format off
BEGIN_MESSAGE_MAP(COXMenuBar, COXCoolToolBar)
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCHITTEST()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_KILLFOCUS()
    ON_WM_SETTINGCHANGE()
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_NCMOUSEMOVE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &COXMenuBar::OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_OX_MENUBAR_OPENITEM, &COXMenuBar::OnOpenItem)
    ON_MESSAGE(WM_OX_MENUBAR_REOPENPENDING, &COXMenuBar::OnReopenPending)
    ON_NOTIFY_REFLECT(TBN_DROPDOWN, &COXMenuBar::OnDropDown)
    ON_UPDATE_COMMAND_UI_RANGE(0, 0xFFFF, &COXMenuBar::OnUpdateMenuItem)
END_MESSAGE_MAP()
// clang-format on

COXMenuBar::COXMenuBar()
    : m_hWindowMenu(nullptr), m_hMenu(nullptr), m_nOpenItem(-1), m_nNextItem(-1),
      m_nJustClosedItem(-1), m_nPendingItem(-1), m_bStretch(FALSE), m_bBackToSurfing(FALSE),
      m_bFullWidth(TRUE), m_pFrame(nullptr), m_nPressedMDIButton(OX_MENUBAR_NONE),
      m_bSurfing(FALSE), m_bMetricsInitialised(FALSE), m_pMenuSkin(nullptr),
      m_bLayoutInProgress(FALSE), m_bHookUser(FALSE) {
    if (GetComCtlVersion() < OX_COMCTL_VERSION_471) {
        KWTRACE_ERROR(("In order to use Menu Bar in your application you have to have "
                       "comctl32.dll v 4.71 or higher installed\n"));
        AfxThrowNotSupportedException();
    }
    SetBorders(0, 0, 0, 0);
}

COXMenuBar::~COXMenuBar() {
    // The popups made by loads belong to their menus' items; those menus may
    // have gone already (taking the popups along), so only live ones are
    // destroyed, innermost (last made) first.
    for (auto it = m_arrBuiltPopups.rbegin(); it != m_arrBuiltPopups.rend(); ++it) {
        if (::IsMenu(*it))
            CMenuHandle(*it).DestroyMenu();
    }
    delete m_pMenuSkin;
}

BOOL COXMenuBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    if (m_sizeImage.cx == 0 || m_sizeImage.cy == 0) {
        m_sizeImage = CSize(16, 15);
        m_sizeButton = CSize(23, 22);
    }
    if (!COXCoolToolBar::Create(pParentWnd, dwStyle, nID))
        return FALSE;
    SetDropDownArrow(FALSE);
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    CString strCaption;
    if (!strCaption.LoadString(ID_OX_MENUBAR_CAPTION))
        strCaption = "Menu"; // the program's resources lack the caption
    SetWindowText(strCaption);
    m_pFrame = pParentWnd;
    return TRUE;
}

// ---------------------------------------------------------------------------
// The menu and its buttons

int COXMenuBar::GetItemCount() const {
    if (m_hMenu == nullptr || !::IsMenu(m_hMenu))
        return 0;
    return std::max(::GetMenuItemCount(m_hMenu), 0);
}

CString COXMenuBar::GetMenuItemText(int nIndex) const {
    CString strText;
    if (m_hMenu != nullptr && nIndex >= 0 && nIndex < GetItemCount())
        CMenuHandle(m_hMenu).GetMenuString(static_cast<UINT>(nIndex), strText, MF_BYPOSITION);
    return strText;
}

BOOL COXMenuBar::SetMenu(HMENU hMenu) {
    if (hMenu == m_hMenu)
        return TRUE;
    SaveStateIfChanged(m_hMenu);
    m_hMenu = hMenu;
    if (m_hMenu != nullptr && IsCustomizable(TRUE))
        LoadStateOnShow();
    return RebuildButtons(TRUE);
}

BOOL COXMenuBar::RebuildButtons(BOOL bRedraw) {
    m_bInsideInsertDelete = TRUE;
    while (SendMessage(TB_DELETEBUTTON, 0) != 0) {
    }
    m_bInsideInsertDelete = FALSE;
    m_mapMnemonics.clear();
    UpdateMDIChildIcon(FALSE);

    BOOL bResult = TRUE;
    if (m_hMenu != nullptr) {
        if (!::IsMenu(m_hMenu)) {
            bResult = FALSE; // emptied; a dead handle shows nothing
        } else {
            const int nCount = GetItemCount();
            std::vector<TBBUTTON> buttons(static_cast<size_t>(nCount));
            for (int i = 0; i < nCount; ++i) {
                const CString strText = GetMenuItemText(i);
                const TCHAR chMnemonic = OXMenuMnemonic(strText);
                if (chMnemonic != 0)
                    m_mapMnemonics[chMnemonic] = i;
                TBBUTTON& button = buttons[static_cast<size_t>(i)];
                button = TBBUTTON();
                button.iBitmap = -1;
                button.idCommand = i + 1;
                button.fsState = TBSTATE_ENABLED;
                button.fsStyle = TBSTYLE_DROPDOWN | TBSTYLE_AUTOSIZE;
                button.dwData = static_cast<DWORD_PTR>(i);
                button.iString = -1;
                if (!strText.IsEmpty()) {
                    // One string as a double-zero-terminated list.
                    std::vector<char> list(static_cast<size_t>(strText.GetLength()) + 2, '\0');
                    std::copy(strText.GetString(), strText.GetString() + strText.GetLength(),
                              list.begin());
                    button.iString =
                        SendMessage(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(list.data()));
                }
            }
            if (nCount > 0) {
                m_bInsideInsertDelete = TRUE;
                bResult = SendMessage(TB_ADDBUTTONSA, static_cast<WPARAM>(nCount),
                                      reinterpret_cast<LPARAM>(buttons.data())) != 0;
                m_bInsideInsertDelete = FALSE;
            }
        }
    }

    if (!m_bMetricsInitialised) {
        UpdateMenuMetrics(FALSE);
        m_bMetricsInitialised = TRUE;
    }
    if (m_hMenu == nullptr) {
        ShowBar(FALSE);
        return bResult;
    }
    if (bRedraw) {
        RedrawToolBar(TRUE, TRUE);
        m_bDelayedButtonLayout = TRUE;
    }
    ShowBar(TRUE);
    return bResult;
}

BOOL COXMenuBar::RefreshButtons() {
    return RebuildButtons(::IsWindow(m_hWnd));
}

void COXMenuBar::ShowBar(BOOL bShow) {
    if (!::IsWindow(m_hWnd))
        return;
    CFrameWnd* pFrame = GetFrameWnd();
    if (pFrame != nullptr) {
        pFrame->ShowControlBar(this, bShow, FALSE);
        return;
    }
    if (!bShow) {
        ShowWindow(SW_HIDE);
        return;
    }
    if (m_pFrame == nullptr || !::IsWindow(m_pFrame->m_hWnd))
        return;
    CRect rectClient;
    m_pFrame->GetClientRect(&rectClient);
    const CSize size = CalcFixedLayout(TRUE, TRUE);
    SetWindowPos(nullptr, rectClient.left, rectClient.top - 2, rectClient.Width(), size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void COXMenuBar::UpdateMenuMetrics(BOOL bRedraw) {
    m_fontMenu.DeleteObject();
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    m_fontMenu.CreateFontIndirect(&ncm.lfMenuFont);
    SetFont(&m_fontMenu, bRedraw);
    if (GetCount() > 0) {
        SendMessage(TB_AUTOSIZE);
        CRect rectButton;
        SendMessage(TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rectButton));
        SendMessage(TB_SETBUTTONSIZE, 0,
                    MAKELPARAM(static_cast<WORD>(rectButton.Width()),
                               static_cast<WORD>(rectButton.Height())));
        m_sizeButton = rectButton.Size();
        // The bar's height: the button plus kBarHeightExtra, split between the
        // top and bottom borders after the border bits take their share.
        int cyExtra = kBarHeightExtra;
        if ((m_dwStyle & CBRS_BORDER_TOP) != 0)
            cyExtra -= AfxGetAuxData().cyBorder2;
        if ((m_dwStyle & CBRS_BORDER_BOTTOM) != 0)
            cyExtra -= AfxGetAuxData().cyBorder2;
        cyExtra = std::max(cyExtra, 0);
        SetBorders(0, cyExtra - cyExtra / 2, 0, cyExtra / 2);
    }
    SetDefaultTextColor(::GetSysColor(COLOR_MENUTEXT));
    if (bRedraw)
        RedrawToolBar(TRUE, FALSE);
}

COXMenuSkin* COXMenuBar::GetMenuSkin() {
    return OXGetElementSkin<COXMenuSkinClassic>(&COXSkin::GetMenuSkin, m_pMenuSkin);
}

// ---------------------------------------------------------------------------
// Layout

void COXMenuBar::UpdateButtonWidths() {
    const int nCount = GetCount();
    if (nCount <= 0 || !::IsWindow(m_hWnd))
        return;
    CClientDC dc(this);
    CFont* pFont = GetFont();
    CScopedSelect font(dc, pFont != nullptr ? pFont->GetSafeHandle() : m_fontMenu.GetSafeHandle());
    const int nExtra = GetMenuSkin()->GetMenuMetrics()->BarItemExtra;
    std::vector<int> widths(static_cast<size_t>(nCount), -1);
    int nWidest = 0;
    for (int i = 0; i < nCount; ++i) {
        const CString strText = GetMenuItemText(i);
        if (strText.IsEmpty())
            continue;
        CRect rectText(0, 0, 0, 0);
        dc.DrawText(strText, &rectText, DT_CALCRECT | DT_SINGLELINE);
        widths[static_cast<size_t>(i)] = rectText.Width();
        nWidest = std::max(nWidest, rectText.Width() + kVertTextExtra);
    }
    const BOOL bHorz = IsHorzBar();
    for (int i = 0; i < nCount; ++i) {
        if (widths[static_cast<size_t>(i)] < 0)
            continue;
        TBBUTTONINFOA info = {};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_SIZE;
        info.cx = static_cast<WORD>(bHorz ? widths[static_cast<size_t>(i)] + nExtra : nWidest);
        SendMessage(TB_SETBUTTONINFOA, static_cast<WPARAM>(i + 1), reinterpret_cast<LPARAM>(&info));
    }
}

CSize COXMenuBar::CalcLayout(DWORD dwMode, int nLength) {
    CSize size = COXCoolToolBar::CalcLayout(dwMode, nLength);
    UpdateButtonWidths();
    if (!((m_bFullWidth && (dwMode & (LM_HORZDOCK | LM_VERTDOCK)) != 0) || m_bStretch))
        return size;
    CWnd* pFrame = m_pDockSite;
    if (pFrame == nullptr)
        pFrame = GetParentFrame();
    if (pFrame == nullptr)
        pFrame = m_pFrame;
    if (pFrame == nullptr)
        pFrame = GetParent();
    if (pFrame == nullptr)
        return size;
    CRect rectClient;
    pFrame->GetClientRect(&rectClient);
    const BOOL bHorz = (dwMode & LM_HORZ) != 0;
    int nExtent = bHorz ? rectClient.Width() : rectClient.Height();
    // With dock bars on both sides, the far one spans what the bar may take.
    if (CFrameWnd* pFrameWnd = pFrame->AsFrameWnd()) {
        CControlBar* pNear =
            pFrameWnd->GetControlBar(bHorz ? AFX_IDW_DOCKBAR_TOP : AFX_IDW_DOCKBAR_LEFT);
        CControlBar* pFar =
            pFrameWnd->GetControlBar(bHorz ? AFX_IDW_DOCKBAR_BOTTOM : AFX_IDW_DOCKBAR_RIGHT);
        if (pNear != nullptr && pFar != nullptr) {
            CRect rectFar;
            pFar->GetWindowRect(&rectFar);
            nExtent = bHorz ? rectFar.Width() : rectFar.Height();
        }
    }
    const AUX_DATA& aux = AfxGetAuxData();
    if (bHorz)
        size.cx = nExtent + 2 * aux.cxBorder2;
    else
        size.cy = nExtent + 2 * aux.cyBorder2;
    return size;
}

CSize COXMenuBar::CalcSize(TBBUTTON* pButtons, int nCount) {
    CSize size = COXCoolToolBar::CalcSize(pButtons, nCount);
    if (m_pDockBar == nullptr || IsFloating())
        return size;
    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame == nullptr)
        return size;
    CRect rectClient;
    pFrame->GetClientRect(&rectClient);
    int nLimit = rectClient.Width();
    if (!m_rectClose.IsRectEmpty())
        nLimit -= m_rectClose.Width() + m_rectRestore.Width() + m_rectMinimize.Width() +
                  m_rectIcon.Width() + kMDIAreaGap;
    size.cx = std::min(size.cx, nLimit);
    return size;
}

// ---------------------------------------------------------------------------
// The MDI child's icon and buttons

CFrameWnd* COXMenuBar::GetFrameWnd() const {
    return m_pFrame != nullptr ? m_pFrame->AsFrameWnd() : nullptr;
}

CMDIFrameWnd* COXMenuBar::GetMDIFrame() const {
    return dynamic_cast<CMDIFrameWnd*>(m_pFrame);
}

CMDIChildWnd* COXMenuBar::GetMaximizedChild() const {
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (pFrame == nullptr || !::IsWindow(pFrame->m_hWnd))
        return nullptr;
    BOOL bMaximized = FALSE;
    CMDIChildWnd* pChild = pFrame->MDIGetActive(&bMaximized);
    return pChild != nullptr && bMaximized ? pChild : nullptr;
}

void COXMenuBar::UpdateMDIChildIcon(BOOL bRedraw) {
    HICON hIcon = nullptr;
    if (CMDIChildWnd* pChild = GetMaximizedChild()) {
        const HWND hChild = pChild->m_hWnd;
        hIcon = reinterpret_cast<HICON>(::GetClassLongPtrA(hChild, GCLP_HICONSM));
        if (hIcon == nullptr)
            hIcon = reinterpret_cast<HICON>(::GetClassLongPtrA(hChild, GCLP_HICON));
        // A child that hangs is not waited for.
        for (WPARAM nKind : {static_cast<WPARAM>(ICON_SMALL), static_cast<WPARAM>(ICON_BIG)}) {
            if (hIcon != nullptr)
                break;
            DWORD_PTR dwResult = 0;
            if (::SendMessageTimeoutA(hChild, WM_GETICON, nKind, 0, SMTO_ABORTIFHUNG, 1000,
                                      &dwResult))
                hIcon = reinterpret_cast<HICON>(dwResult);
        }
        if (hIcon == nullptr)
            hIcon = ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_WINLOGO));
    }
    if (hIcon != GetIcon())
        SetIcon(hIcon, bRedraw);
}

int COXMenuBar::LayoutMDIButtons() {
    m_rectClose.SetRectEmpty();
    m_rectRestore.SetRectEmpty();
    m_rectMinimize.SetRectEmpty();
    CMDIChildWnd* pChild = GetMaximizedChild();
    if (GetIcon() == nullptr || pChild == nullptr || !::IsWindow(m_hWnd))
        return 0;
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    const BOOL bHorz = IsHorzBar();
    // Across the bar: the square shrinks to a thin bar, else it is centred
    // (the odd pixel below or right).
    const int nAcross = bHorz ? rectWindow.Height() : rectWindow.Width();
    int nSquare = kMDIButtonSquare;
    int nOffset = 0;
    if (nAcross < kMDIButtonSquare)
        nSquare = nAcross;
    else
        nOffset = (nAcross - kMDIButtonSquare + 1) / 2;
    const DWORD dwChildStyle = pChild->GetStyle();
    const BOOL bBoxes = (dwChildStyle & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0;
    int nTotal = kReserveStart;
    if (bHorz) {
        const int nRight = rectWindow.Width() - kMDIButtonInset;
        m_rectClose.SetRect(nRight - nSquare, nOffset, nRight, nOffset + nSquare);
        m_rectClose.DeflateRect(0, kMDIButtonInset, kMDIButtonInset, kMDIButtonInset);
    } else {
        const int nBottom = rectWindow.Height() - kMDIButtonInset;
        m_rectClose.SetRect(nOffset, nBottom - nSquare, nOffset + nSquare, nBottom);
        m_rectClose.DeflateRect(kMDIButtonInset, 0, kMDIButtonInset, kMDIButtonInset);
    }
    nTotal += nSquare;
    if (bBoxes) {
        m_rectRestore = m_rectClose;
        m_rectRestore.OffsetRect(bHorz ? -kRestoreStep : 0, bHorz ? 0 : -kRestoreStep);
        m_rectMinimize = m_rectRestore;
        m_rectMinimize.OffsetRect(bHorz ? -kMinimizeStep : 0, bHorz ? 0 : -kMinimizeStep);
        nTotal += 2 * nSquare;
    }
    return nTotal + kReserveEnd;
}

void COXMenuBar::CalcReservedBorders(CRect& rect, BOOL bHorz) {
    rect.SetRectEmpty();
    const int nReserve = LayoutMDIButtons();
    if (bHorz)
        rect.right = nReserve;
    else
        rect.bottom = nReserve;
}

void COXMenuBar::DrawReservedArea(CDC* pDC, CRect& rect) {
    if (GetIcon() == nullptr || GetMDIFrame() == nullptr)
        return;
    CalcReservedBorders(rect, IsHorzBar());
    DrawMenuButtons(pDC);
}

void COXMenuBar::DrawMenuButtons(CDC* pDC) {
    GetToolbarSkin()->DrawMenuButtons(pDC, this);
}

void COXMenuBar::RedrawMDIButtons() {
    if (GetIcon() == nullptr || !::IsWindow(m_hWnd))
        return;
    CWindowDC dc(this);
    DrawMenuButtons(&dc);
}

int COXMenuBar::HitTest(CPoint point, int nKind) const {
    if (!::IsWindow(m_hWnd))
        return OX_MENUBAR_NONE;
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    CPoint ptClientOrigin(0, 0);
    ClientToScreen(&ptClientOrigin);
    CPoint pt = point; // to window coordinates
    if (nKind == OX_MENUBAR_HT_CLIENT)
        pt += ptClientOrigin - rectWindow.TopLeft();
    else if (nKind == OX_MENUBAR_HT_SCREEN)
        pt -= rectWindow.TopLeft();
    if (m_rectIcon.PtInRect(pt))
        return OX_MENUBAR_ICON;
    if (m_rectClose.PtInRect(pt))
        return OX_MENUBAR_CLOSE;
    if (m_rectRestore.PtInRect(pt))
        return OX_MENUBAR_RESTORE;
    if (m_rectMinimize.PtInRect(pt))
        return OX_MENUBAR_MINIMIZE;
    CRect rectClient;
    GetClientRect(&rectClient);
    const CPoint ptClient = pt - (ptClientOrigin - rectWindow.TopLeft());
    if (!rectClient.PtInRect(ptClient))
        return OX_MENUBAR_NONE;
    const int nCount = GetCount();
    for (int i = 0; i < nCount; ++i) {
        CRect rectButton;
        GetItemRect(i, &rectButton);
        if (rectButton.PtInRect(ptClient))
            return i;
    }
    return OX_MENUBAR_NONE;
}

BOOL COXMenuBar::GetMenuItemRect(int nIndex, LPRECT lpRect) const {
    if (lpRect == nullptr || !::IsWindow(m_hWnd))
        return FALSE;
    if (nIndex >= 0 && nIndex == GetItemCount() && GetIcon() != nullptr) {
        // The icon, from window to client coordinates.
        CRect rectWindow;
        GetWindowRect(&rectWindow);
        CPoint ptClientOrigin(0, 0);
        ClientToScreen(&ptClientOrigin);
        CRect rect = m_rectIcon;
        rect.OffsetRect(rectWindow.TopLeft() - ptClientOrigin);
        *lpRect = rect;
        return TRUE;
    }
    if (nIndex < 0 || nIndex >= GetCount())
        return FALSE;
    GetItemRect(nIndex, lpRect);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Docking

void COXMenuBar::OnFloatingDocking(BOOL bFloating) {
    COXCoolToolBar::OnFloatingDocking(bFloating);
    if (!bFloating)
        return;
    // The floating frame offers no window commands for the menu.
    auto* pMiniFrame = dynamic_cast<CMiniDockFrameWnd*>(GetParentFrame());
    if (pMiniFrame == nullptr)
        return;
    CMenu* pSysMenu = pMiniFrame->GetSystemMenu(FALSE);
    if (pSysMenu != nullptr) {
        while (pSysMenu->DeleteMenu(0, MF_BYPOSITION)) {
        }
    }
}

void COXMenuBar::OnChangeDockSide(DWORD dwDockSide) {
    COXCoolToolBar::OnChangeDockSide(dwDockSide);
    CFrameWnd* pFrame = GetParentFrame();
    if (m_pDockBar != nullptr && pFrame != nullptr)
        pFrame->RecalcLayout();
}

LRESULT COXMenuBar::OnDragOver(WPARAM, LPARAM lParam) {
    auto* pAction = reinterpret_cast<SHBDROPTARGETACTION*>(lParam);
    if (pAction != nullptr)
        pAction->result = DROPEFFECT_NONE;
    return TRUE;
}

LRESULT COXMenuBar::OnDrop(WPARAM, LPARAM lParam) {
    auto* pAction = reinterpret_cast<SHBDROPTARGETACTION*>(lParam);
    if (pAction != nullptr)
        pAction->result = DROPEFFECT_NONE;
    m_bDragDropOperation = FALSE;
    return TRUE;
}

// ---------------------------------------------------------------------------
// Messages

LRESULT CALLBACK COXMenuBar::MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    return s_mouseHook.OnHook(nCode, wParam, lParam);
}

void COXMenuBar::OnHookMouseMoved(HWND hWndLast, HWND hWndNow) {
    // A hot MDI button of the bar the mouse has left looks normal again.
    if (hWndLast == nullptr || hWndLast == hWndNow || !::IsWindow(hWndLast))
        return;
    auto* pBar = dynamic_cast<COXMenuBar*>(CWnd::FromHandlePermanent(hWndLast));
    if (pBar != nullptr && pBar->GetMDIFrame() != nullptr)
        pBar->RedrawMDIButtons();
}

int COXMenuBar::OnCreate(LPCREATESTRUCT lpcs) {
    if (COXCoolToolBar::OnCreate(lpcs) == -1)
        return -1;
    s_mouseHook.AddUser();
    m_bHookUser = TRUE;
    return 0;
}

void COXMenuBar::OnDestroy() {
    if (m_bHookUser) {
        s_mouseHook.RemoveUser();
        m_bHookUser = FALSE;
    }
    COXCoolToolBar::OnDestroy();
}

LRESULT COXMenuBar::OnNcHitTest(CPoint point) {
    if (GetIcon() != nullptr) {
        const int nHit = HitTest(point, OX_MENUBAR_HT_SCREEN);
        if (nHit <= OX_MENUBAR_MINIMIZE)
            return HTCAPTION;
    }
    return COXCoolToolBar::OnNcHitTest(point);
}

void COXMenuBar::OnNcLButtonDown(UINT, CPoint point) {
    if (GetIcon() == nullptr)
        return;
    m_nPressedMDIButton = OX_MENUBAR_NONE;
    const int nHit = HitTest(point, OX_MENUBAR_HT_SCREEN);
    if (nHit == OX_MENUBAR_ICON) {
        PostMessage(WM_OX_MENUBAR_OPENITEM, static_cast<WPARAM>(GetItemCount()));
    } else if (nHit <= OX_MENUBAR_MINIMIZE) {
        SetCapture();
        m_nPressedMDIButton = nHit;
        RedrawToolBar(FALSE, TRUE);
    } else {
        Default();
    }
}

void COXMenuBar::OnNcLButtonDblClk(UINT, CPoint point) {
    CMDIChildWnd* pChild = GetMaximizedChild();
    if (GetIcon() != nullptr && pChild != nullptr &&
        HitTest(point, OX_MENUBAR_HT_SCREEN) == OX_MENUBAR_ICON)
        pChild->PostMessage(WM_SYSCOMMAND, SC_CLOSE);
    Default();
}

void COXMenuBar::OnNcMouseMove(UINT, CPoint) {
    RedrawMDIButtons();
    Default();
}

void COXMenuBar::OnMouseMove(UINT nFlags, CPoint point) {
    RedrawMDIButtons();
    if (GetIcon() != nullptr && GetCapture() == this) {
        // The pressed button follows the cursor while the mouse is held.
        int nHit = HitTest(point, OX_MENUBAR_HT_CLIENT);
        if (nHit >= 0)
            nHit = OX_MENUBAR_NONE;
        if (nHit != m_nPressedMDIButton) {
            m_nPressedMDIButton = nHit;
            RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
        }
    }
    COXCoolToolBar::OnMouseMove(nFlags, point);
}

void COXMenuBar::OnLButtonUp(UINT nFlags, CPoint point) {
    if (GetIcon() == nullptr || GetCapture() != this || IsDragging()) {
        COXCoolToolBar::OnLButtonUp(nFlags, point);
        return;
    }
    ::ReleaseCapture();
    CMDIChildWnd* pChild = GetMaximizedChild();
    if (pChild != nullptr && HitTest(point, OX_MENUBAR_HT_CLIENT) == m_nPressedMDIButton) {
        UINT nCommand = 0;
        if (m_nPressedMDIButton == OX_MENUBAR_CLOSE)
            nCommand = SC_CLOSE;
        else if (m_nPressedMDIButton == OX_MENUBAR_RESTORE)
            nCommand = SC_RESTORE;
        else if (m_nPressedMDIButton == OX_MENUBAR_MINIMIZE)
            nCommand = SC_MINIMIZE;
        if (nCommand != 0)
            pChild->PostMessage(WM_SYSCOMMAND, nCommand);
    }
    m_nPressedMDIButton = OX_MENUBAR_NONE;
    RedrawToolBar(FALSE, TRUE);
}

void COXMenuBar::OnLButtonDown(UINT nFlags, CPoint point) {
    if (IsFloating())
        SendMessage(TB_PRESSBUTTON, 1, MAKELPARAM(FALSE, 0));
    if (IsDragAnywhere() || HitTest(point, OX_MENUBAR_HT_CLIENT) != OX_MENUBAR_NONE)
        COXCoolToolBar::OnLButtonDown(nFlags, point);
}

void COXMenuBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (IsFloating())
        SendMessage(TB_PRESSBUTTON, 1, MAKELPARAM(FALSE, 0));
    if (IsDragAnywhere() || HitTest(point, OX_MENUBAR_HT_CLIENT) != OX_MENUBAR_NONE)
        COXCoolToolBar::OnLButtonDblClk(nFlags, point);
}

void COXMenuBar::OnRButtonDown(UINT nFlags, CPoint point) {
    if (IsFloating())
        SendMessage(TB_PRESSBUTTON, 1, MAKELPARAM(FALSE, 0));
    COXCoolToolBar::OnRButtonDown(nFlags, point);
}

void COXMenuBar::OnRButtonDblClk(UINT, CPoint) {
    if (IsFloating())
        SendMessage(TB_PRESSBUTTON, 1, MAKELPARAM(FALSE, 0));
    Default();
}

void COXMenuBar::OnKillFocus(CWnd*) {
    Default();
    m_bSurfing = FALSE;
}

void COXMenuBar::OnSettingChange(UINT uFlags, LPCTSTR lpszSection) {
    UpdateMenuMetrics(TRUE);
    COXCoolToolBar::OnSettingChange(uFlags, lpszSection);
}

void COXMenuBar::OnSize(UINT, int, int) {
    Default();
    if (m_pDockBar != nullptr && !IsFloating() && IsWindowVisible()) {
        m_bDelayedButtonLayout = TRUE;
        Layout();
    }
}

LRESULT COXMenuBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) {
    UpdateMDIChildIcon(TRUE);
    COXCoolToolBar::OnIdleUpdateCmdUI(wParam, lParam);
    return 0;
}

void COXMenuBar::OnUpdateMenuItem(CCmdUI* pCmdUI) {
    const UINT nPos = pCmdUI->m_nID - 1;
    if (m_hMenu == nullptr || nPos >= static_cast<UINT>(GetItemCount()))
        return;
    const UINT nState = ::GetMenuState(m_hMenu, nPos, MF_BYPOSITION);
    pCmdUI->Enable((nState & (MF_GRAYED | MF_DISABLED)) == 0);
}
