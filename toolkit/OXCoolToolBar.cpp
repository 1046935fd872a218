// OXCoolToolBar.cpp: CMFCToolBar, and COXCoolToolBar's creation, styles,
// state, button texts, redrawing and command-UI update.
#include "OXCoolToolBar.h"

#include "OXSkinnedApp.h"
#include "OXToolbarSkin.h"

#include "Common/TraceLog.h"
#include "framework/DockContext.h"
#include "framework/WinApp.h"

#include <shlwapi.h>

#include <cstring>

IMPLEMENT_DYNAMIC(CMFCToolBar, CToolBar)
IMPLEMENT_DYNAMIC(COXCoolToolBar, CMFCToolBar)

// ---------------------------------------------------------------------------
// CMFCToolBar

BOOL CMFCToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders,
                           UINT nID) {
    dwStyle = (dwStyle & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_TOP;
    return CToolBar::CreateEx(pParentWnd, dwCtrlStyle, dwStyle, rcBorders, nID);
}

void CMFCToolBar::SetBarStyle(DWORD dwStyle) {
    EnableToolTips((dwStyle & CBRS_TOOLTIPS) != 0);
    const DWORD dwOld = GetBarStyle();
    if (dwOld == dwStyle)
        return;
    CToolBar::SetBarStyle(dwStyle);
    OnBarStyleChange(dwOld, dwStyle);
}

// ---------------------------------------------------------------------------
// The common-controls version.

// 0 until the first bar is constructed.
DWORD COXCoolToolBar::s_dwComCtlVersion = 0;

HRESULT OXGetDllVersion(LPCSTR lpszDll, DWORD* pdwMajor, DWORD* pdwMinor) {
    if (lpszDll == nullptr || pdwMajor == nullptr || pdwMinor == nullptr ||
        ::IsBadWritePtr(pdwMajor, sizeof(DWORD)) || ::IsBadWritePtr(pdwMinor, sizeof(DWORD)))
        return E_INVALIDARG;
    HMODULE hModule = ::GetModuleHandleA(lpszDll);
    const bool bLoaded = hModule == nullptr;
    if (bLoaded)
        hModule = ::LoadLibraryA(lpszDll);
    if (hModule == nullptr)
        return E_FAIL;
    // A library without version information is taken for version 4.0.
    *pdwMajor = 4;
    *pdwMinor = 0;
    HRESULT hr = S_OK;
    auto pfnGetVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(::GetProcAddress(hModule, "DllGetVersion")));
    if (pfnGetVersion != nullptr) {
        DLLVERSIONINFO info = {};
        info.cbSize = sizeof(info);
        hr = pfnGetVersion(&info);
        if (SUCCEEDED(hr)) {
            *pdwMajor = info.dwMajorVersion;
            *pdwMinor = info.dwMinorVersion;
        }
    }
    if (bLoaded)
        ::FreeLibrary(hModule);
    return hr;
}

DWORD COXCoolToolBar::GetComCtlVersion() {
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

// ---------------------------------------------------------------------------
// Construction and creation.

COXCoolToolBar::COXCoolToolBar()
    : m_nDropDownArrowWidth(0), m_nTextKind(OX_TB_TEXT_NONE), m_bCool(FALSE), m_bSeparator(TRUE),
      m_bDropDownArrow(FALSE), m_crDefaultText(OX_TB_SKIN_COLOR), m_crHotText(OX_TB_SKIN_COLOR),
      m_crSelectedText(OX_TB_SKIN_COLOR), m_crCheckedText(OX_TB_SKIN_COLOR),
      m_crDefaultBk(OX_TB_SKIN_COLOR), m_crHotBk(OX_TB_SKIN_COLOR),
      m_crSelectedBk(OX_TB_SKIN_COLOR), m_crCheckedBk(OX_TB_SKIN_COLOR),
      m_crDefaultBorder(OX_TB_SKIN_COLOR), m_crHotBorder(OX_TB_SKIN_COLOR),
      m_crSelectedBorder(OX_TB_SKIN_COLOR), m_crCheckedBorder(OX_TB_SKIN_COLOR),
      m_nLastFloatingState(OX_TB_FLOATSTATE_UNKNOWN), m_dwLastDockSide(static_cast<DWORD>(-1)),
      m_hIcon(nullptr), m_nCustomizedButton(-1), m_bAdvancedCustomizable(FALSE),
      m_bDragDropOperation(FALSE), m_bDockedByFrame(FALSE), m_bDragging(FALSE),
      m_ptDragOffset(0, 0), m_bInsideInsertDelete(FALSE), m_bInsideRecalcLayout(FALSE),
      m_nPendingUpdates(0), m_bDragAnywhere(TRUE), m_nDropDownCommand(-1), m_pOwnSkin(nullptr) {
    GetComCtlVersion();
    MeasureDropDownArrow();
    m_rectIcon.SetRectEmpty();
}

COXCoolToolBar::~COXCoolToolBar() {
    delete m_pOwnSkin;
}

BOOL COXCoolToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    if (GetComCtlVersion() >= OX_COMCTL_VERSION_471) {
        if (!CMFCToolBar::Create(pParentWnd, dwStyle | WS_CLIPCHILDREN, nID))
            return FALSE;
        ModifyStyle(0, TBSTYLE_FLAT | TBSTYLE_TRANSPARENT);
        SetBorders(0, 0, 0, 0);
        SetDropDownArrow(TRUE);
        // A transparent bar in an MDI child shows the client's background
        // through its buttons.
        if (pParentWnd != nullptr && (pParentWnd->GetExStyle() & WS_EX_MDICHILD))
            ModifyStyle(TBSTYLE_TRANSPARENT, 0);
    } else {
        if (!CMFCToolBar::Create(pParentWnd, dwStyle, nID))
            return FALSE;
        SetFlat(TRUE);
    }
    if (!m_dropTarget.Register(this))
        KWTRACE_ERROR(("COXCoolToolBar::Create: failed to register the control with "
                       "COleDropTarget. You've probably forgotten to initialize OLE libraries "
                       "using AfxOleInit function\n"));
    static const char kNoStrings[2] = {'\0', '\0'};
    ControlProc(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(kNoStrings));
    return TRUE;
}

void COXCoolToolBar::EnableDocking(DWORD dwDockStyle, BOOL bByFrame) {
    m_dwDockStyle = dwDockStyle;
    if (m_pDockContext == nullptr)
        m_pDockContext = new CDockContext(this);
    if (m_hWndOwner == nullptr && m_hWnd != nullptr)
        m_hWndOwner = ::GetParent(m_hWnd);
    m_bDockedByFrame = bByFrame;
}

LRESULT COXCoolToolBar::ControlProc(UINT message, WPARAM wParam, LPARAM lParam) const {
    return const_cast<COXCoolToolBar*>(this)->CWnd::DefWindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// Styles and state.

void COXCoolToolBar::SetDropDownArrow(BOOL bDropDownArrow) {
    if (GetComCtlVersion() >= OX_COMCTL_VERSION_471 && m_hWnd != nullptr) {
        DWORD dwExStyle = static_cast<DWORD>(ControlProc(TB_GETEXTENDEDSTYLE));
        dwExStyle = bDropDownArrow ? (dwExStyle | TBSTYLE_EX_DRAWDDARROWS)
                                   : (dwExStyle & ~TBSTYLE_EX_DRAWDDARROWS);
        ControlProc(TB_SETEXTENDEDSTYLE, 0, dwExStyle);
    }
    m_bDropDownArrow = bDropDownArrow;
}

BOOL COXCoolToolBar::IsDropDownArrow() const {
    if (GetComCtlVersion() < OX_COMCTL_VERSION_471 || m_hWnd == nullptr)
        return m_bDropDownArrow;
    return (ControlProc(TB_GETEXTENDEDSTYLE) & TBSTYLE_EX_DRAWDDARROWS) != 0;
}

BOOL COXCoolToolBar::IsFlat() const {
    return m_hWnd != nullptr && (GetStyle() & TBSTYLE_FLAT) != 0;
}

void COXCoolToolBar::SetFlat(BOOL bFlat) {
    if (bFlat)
        ModifyStyle(0, TBSTYLE_FLAT);
    else
        ModifyStyle(TBSTYLE_FLAT, 0);
}

BOOL COXCoolToolBar::IsList() const {
    return m_hWnd != nullptr && (GetStyle() & TBSTYLE_LIST) != 0;
}

CSize COXCoolToolBar::GetButtonsSize() const {
    const DWORD dwSize = static_cast<DWORD>(ControlProc(TB_GETBUTTONSIZE));
    return CSize(LOWORD(dwSize), HIWORD(dwSize));
}

void COXCoolToolBar::MeasureDropDownArrow() {
    // Marlett's '6' is the down arrow of drop-down buttons.
    HFONT hFont = ::CreateFontA(::GetSystemMetrics(SM_CYMENUCHECK), 0, 0, 0, FW_NORMAL, FALSE,
                                FALSE, FALSE, SYMBOL_CHARSET, 0, 0, 0, 0, "Marlett");
    HDC hDC = ::GetDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(hDC, "6", 1, &size);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(nullptr, hDC);
    ::DeleteObject(hFont);
    m_nDropDownArrowWidth = size.cx;
}

void COXCoolToolBar::SetIcon(HICON hIcon, BOOL bRedraw) {
    if (hIcon == m_hIcon)
        return;
    m_rectIcon.SetRectEmpty();
    m_hIcon = hIcon;
    if (bRedraw)
        RedrawToolBar(TRUE, TRUE);
}

void COXCoolToolBar::StartBarDrag(CPoint ptOffset) {
    m_ptDragOffset = ptOffset;
    m_bDragging = TRUE;
    SetCapture();
    ::SetCursor(::LoadCursorA(nullptr, IDC_SIZEALL));
}

void COXCoolToolBar::StopBarDrag() {
    m_bDragging = FALSE;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

COXToolbarSkin* COXCoolToolBar::GetToolbarSkin() {
    return OXGetElementSkin<COXToolbarSkinClassic>(&COXSkin::GetToolbarSkin, m_pOwnSkin);
}

BOOL COXCoolToolBar::IsCustomizable(BOOL bAdvanced) const {
    if (bAdvanced)
        return m_bAdvancedCustomizable;
    return m_hWnd != nullptr && (GetStyle() & CCS_ADJUSTABLE) != 0;
}

BOOL COXCoolToolBar::SaveBarState() {
    return TRUE;
}

BOOL COXCoolToolBar::LoadBarState() {
    return TRUE;
}

void COXCoolToolBar::OnFloatingDocking(BOOL) {}

void COXCoolToolBar::OnChangeDockSide(DWORD) {}

// ---------------------------------------------------------------------------
// Button texts.

void COXCoolToolBar::SetButtonTextFromID(UINT nFirstID, UINT nLastID, int nKind) {
    m_nTextKind = nKind;
    if (nKind == OX_TB_TEXT_NONE)
        return;
    if (nKind < OX_TB_TEXT_STRING || nKind > OX_TB_TEXT_EMPTY)
        m_nTextKind = nKind = OX_TB_TEXT_EMPTY;
    CMenu* pMenu = nullptr;
    if (nKind == OX_TB_TEXT_MENU) {
        CWinApp* pApp = AfxGetApp();
        CWnd* pMainWnd = pApp != nullptr ? pApp->m_pMainWnd : nullptr;
        if (pMainWnd == nullptr)
            KWTRACE_ERROR(("COXCoolToolBar::SetButtonTextFromID: m_pMainWnd of app is not "
                           "defined yet menu!\n"));
        else if ((pMenu = pMainWnd->GetMenu()) == nullptr)
            KWTRACE_ERROR(("COXCoolToolBar::SetButtonTextFromID: cannot get framework menu!\n"));
    }
    const int nCount = static_cast<int>(ControlProc(TB_BUTTONCOUNT));
    for (int i = 0; i < nCount; ++i) {
        TBBUTTON button = {};
        GetButton(i, &button);
        const UINT nID = static_cast<UINT>(button.idCommand);
        if (nID < nFirstID || nID > nLastID)
            continue;
        CString strText;
        switch (nKind) {
        case OX_TB_TEXT_STRING:
        case OX_TB_TEXT_TOOLTIP:
            if (nID != 0 && strText.LoadString(nID)) {
                const int nNewLine = strText.Find('\n');
                if (nKind == OX_TB_TEXT_STRING)
                    strText = nNewLine >= 0 ? strText.Left(nNewLine) : strText;
                else
                    strText = nNewLine >= 0 ? strText.Mid(nNewLine + 1) : CString();
            }
            break;
        case OX_TB_TEXT_MENU:
            if (pMenu != nullptr) {
                char szItem[256] = "";
                if (::GetMenuStringA(pMenu->GetSafeHmenu(), nID, szItem, sizeof(szItem),
                                     MF_BYCOMMAND) > 0) {
                    strText = szItem;
                    const int nTab = strText.Find('\t');
                    if (nTab >= 0)
                        strText = strText.Left(nTab);
                }
            }
            break;
        default:
            break;
        }
        SetButtonText(i, strText);
    }
}

// ---------------------------------------------------------------------------
// Redrawing.

void COXCoolToolBar::RedrawToolBar(BOOL bRecalcLayout, BOOL bRefreshFrame) {
    if (m_bInsideInsertDelete || m_hWnd == nullptr || !IsWindowVisible())
        return;
    if (bRecalcLayout) {
        CFrameWnd* pFrame = GetDockingFrame();
        // A relayout that moves this bar may come back here: only the outer
        // call lays the frame out.
        if (pFrame != nullptr && !m_bInsideRecalcLayout) {
            m_bInsideRecalcLayout = TRUE;
            pFrame->RecalcLayout();
            m_bInsideRecalcLayout = FALSE;
        }
        const int nCount = static_cast<int>(ControlProc(TB_BUTTONCOUNT));
        for (int i = 0; i < nCount; ++i) {
            RedrawButton(i);
            CRect rect;
            GetItemRect(i, &rect);
            ValidateRect(&rect);
        }
    } else if (!bRefreshFrame) {
        RedrawWindow(nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    if (bRefreshFrame)
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void COXCoolToolBar::RedrawButton(int nIndex) {
    if (nIndex < 0 || nIndex >= static_cast<int>(ControlProc(TB_BUTTONCOUNT)))
        return;
    CRect rect;
    GetItemRect(nIndex, &rect);
    RedrawWindow(&rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// ---------------------------------------------------------------------------
// Buttons of the layout.

void COXCoolToolBar::GetButton(int nIndex, TBBUTTON* pButton) const {
    *pButton = TBBUTTON{};
    ControlProc(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(pButton));
    pButton->fsState ^= TBSTATE_ENABLED;
}

void COXCoolToolBar::SetButton(int nIndex, TBBUTTON* pButton) {
    TBBUTTON stored = {};
    ControlProc(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&stored));
    TBBUTTON button = *pButton;
    button.fsState ^= TBSTATE_ENABLED;
    std::memset(stored.bReserved, 0, sizeof(stored.bReserved));
    std::memset(button.bReserved, 0, sizeof(button.bReserved));
    if (std::memcmp(&stored, &button, sizeof(TBBUTTON)) == 0)
        return;
    // Deleting and inserting a visible control repaints it twice: hide the
    // window without redrawing while the button goes in again.
    const DWORD dwStyle = GetStyle();
    if (dwStyle & WS_VISIBLE)
        ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(dwStyle & ~WS_VISIBLE));
    ControlProc(TB_DELETEBUTTON, static_cast<WPARAM>(nIndex));
    ControlProc(TB_INSERTBUTTONA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&button));
    if (dwStyle & WS_VISIBLE)
        ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(dwStyle));
    const bool bKindChanged = ((stored.fsStyle ^ button.fsStyle) & TBSTYLE_SEP) != 0;
    const bool bSeparatorResized =
        (button.fsStyle & TBSTYLE_SEP) != 0 && stored.iBitmap != button.iBitmap;
    if (bKindChanged || bSeparatorResized) {
        Invalidate(FALSE);
    } else {
        CRect rect;
        GetItemRect(nIndex, &rect);
        InvalidateRect(&rect, FALSE);
    }
}

// ---------------------------------------------------------------------------
// Command-UI update.

void COXCoolToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    COXCoolToolBarCmdUI state;
    state.m_pOther = this;
    const int nCount = static_cast<int>(ControlProc(TB_BUTTONCOUNT));
    state.m_nIndexMax = static_cast<UINT>(nCount);
    for (int i = 0; i < nCount; ++i) {
        TBBUTTON button = {};
        GetButton(i, &button);
        if (button.fsStyle & TBSTYLE_SEP)
            continue;
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nID = static_cast<UINT>(button.idCommand);
        state.m_bEnableChanged = FALSE;
        state.m_bContinueRouting = FALSE;
        // The bar's own handlers first (the menu bar's range handler).
        if (CWnd::OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, nullptr))
            continue;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

namespace {

// Writes a state back by index when it changed.
void SetStateByIndex(CWnd* pBar, int nIndex, BYTE fsState) {
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_BYINDEX | TBIF_STATE;
    info.fsState = fsState;
    pBar->SendMessage(TB_SETBUTTONINFOA, static_cast<WPARAM>(nIndex),
                      reinterpret_cast<LPARAM>(&info));
}

BYTE StateByIndex(CWnd* pBar, int nIndex) {
    TBBUTTON button = {};
    pBar->SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&button));
    return button.fsState;
}

} // namespace

void COXCoolToolBarCmdUI::Enable(BOOL bOn) {
    m_bEnableChanged = TRUE;
    const int nIndex = static_cast<int>(m_nIndex);
    const BYTE fsOld = StateByIndex(m_pOther, nIndex);
    const BYTE fsNew =
        static_cast<BYTE>(bOn ? (fsOld | TBSTATE_ENABLED) : (fsOld & ~TBSTATE_ENABLED));
    if (fsNew != fsOld)
        SetStateByIndex(m_pOther, nIndex, fsNew);
}

void COXCoolToolBarCmdUI::SetCheck(int nCheck) {
    const int nIndex = static_cast<int>(m_nIndex);
    const BYTE fsOld = StateByIndex(m_pOther, nIndex);
    BYTE fsNew = static_cast<BYTE>(fsOld & ~(TBSTATE_CHECKED | TBSTATE_INDETERMINATE));
    if (nCheck == 1)
        fsNew |= TBSTATE_CHECKED;
    else if (nCheck == 2)
        fsNew |= TBSTATE_INDETERMINATE;
    if (fsNew != fsOld)
        SetStateByIndex(m_pOther, nIndex, fsNew);
}
