// ButtonST.cpp: the image button's state, icons, tooltip and messages; its
// painting is in ButtonSTPaint.cpp.
#include "ButtonST.h"

#include "framework/AfxResource.h"

namespace {

// The button types that make a check-box button when subclassed: the check
// boxes of the template (an owner-drawn or group-box template is none).
bool IsCheckBoxType(UINT nType) {
    return nType == BS_CHECKBOX || nType == BS_AUTOCHECKBOX || nType == BS_AUTO3STATE;
}

const int kMaxTipWidth = 400;
const double kDarkenFactor = 0.25;

COLORREF DarkerPixel(COLORREF crColor) {
    return CButtonST::DarkenColor(crColor, kDarkenFactor);
}

COLORREF GreyPixel(COLORREF crColor) {
    const BYTE byGrey = static_cast<BYTE>(GetRValue(crColor) * 0.299 + GetGValue(crColor) * 0.587 +
                                          GetBValue(crColor) * 0.114);
    return RGB(byGrey, byGrey, byGrey);
}

HICON LoadIconResource(int nId, int cx, int cy) {
    return static_cast<HICON>(
        ::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nId), IMAGE_ICON, cx, cy, 0));
}

} // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CButtonST, CButton)
    ON_WM_KILLFOCUS()
    ON_WM_CANCELMODE()
    ON_WM_MOUSELEAVE()
    ON_WM_ACTIVATE()
    ON_WM_ENABLE()
    ON_WM_MOUSEMOVE()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_GETDLGCODE()
    ON_WM_CTLCOLOR_REFLECT()
    ON_MESSAGE(BM_SETSTYLE, &CButtonST::OnSetStyle)
    ON_MESSAGE(BM_SETCHECK, &CButtonST::OnSetCheck)
    ON_MESSAGE(BM_GETCHECK, &CButtonST::OnGetCheck)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, &CButtonST::OnClicked)
END_MESSAGE_MAP()
// clang-format on

CButtonST::CButtonST()
    : m_ptImageOrg(3, 3), m_ptPressedStyle(1, 1), m_bIsFlat(TRUE), m_bMouseOnButton(FALSE),
      m_bDrawTransparent(FALSE), m_bIsPressed(FALSE), m_bIsFocused(FALSE), m_bIsDisabled(FALSE),
      m_bIsDefault(FALSE), m_bIsCheckBox(FALSE), m_byAlign(ST_ALIGN_HORIZ), m_bDrawBorder(TRUE),
      m_bDrawFlatFocus(FALSE), m_crColors(), m_bAlwaysTrack(TRUE), m_nCheck(0), m_nTypeStyle(0x1F),
      m_dwToolTipStyle(0), m_csIcons() {
    SetDefaultColors(FALSE);
}

CButtonST::~CButtonST() {
    FreeResources();
}

void CButtonST::FreeResources() {
    // The outside icon may be the inside one when the caller passed the same
    // handle twice; it is destroyed once.
    if (m_csIcons[1].hIcon != nullptr && m_csIcons[1].hIcon != m_csIcons[0].hIcon)
        ::DestroyIcon(m_csIcons[1].hIcon);
    if (m_csIcons[0].hIcon != nullptr)
        ::DestroyIcon(m_csIcons[0].hIcon);
    m_csIcons[0] = STRUCT_ICONS();
    m_csIcons[1] = STRUCT_ICONS();
}

void CButtonST::PreSubclassWindow() {
    const DWORD dwStyle = GetStyle();
    m_nTypeStyle = dwStyle & 0x1F;
    m_bIsCheckBox = IsCheckBoxType(m_nTypeStyle & BS_TYPEMASK);
    if (m_nTypeStyle == BS_DEFPUSHBUTTON) {
        m_bIsDefault = TRUE;
        m_nTypeStyle = BS_PUSHBUTTON;
    }
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW,
                SWP_FRAMECHANGED | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CButton::PreSubclassWindow();
}

BOOL CButtonST::PreTranslateMessage(MSG* pMsg) {
    InitToolTip();
    m_ToolTip.RelayEvent(pMsg);
    // An owner-drawn button reports a double click as such, not as a click:
    // the second press counts as a press of its own.
    if (pMsg->message == WM_LBUTTONDBLCLK)
        pMsg->message = WM_LBUTTONDOWN;
    return CButton::PreTranslateMessage(pMsg);
}

void CButtonST::InitToolTip() {
    if (m_ToolTip.GetSafeHwnd() != nullptr || m_hWnd == nullptr)
        return;
    if (!m_ToolTip.Create(this, m_dwToolTipStyle))
        return;
    m_ToolTip.Activate(FALSE);
    m_ToolTip.SetMaxTipWidth(kMaxTipWidth);
}

// ---------------------------------------------------------------------------
// Icons

BOOL CButtonST::GetIconSize(HICON hIcon, int* pWidth, int* pHeight) {
    ICONINFO info = {};
    if (hIcon == nullptr || !::GetIconInfo(hIcon, &info))
        return FALSE;
    *pWidth = static_cast<int>(info.xHotspot * 2);
    *pHeight = static_cast<int>(info.yHotspot * 2);
    if (info.hbmColor != nullptr)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr)
        ::DeleteObject(info.hbmMask);
    return TRUE;
}

DWORD CButtonST::SetIcon(int nIconIn, int nIconOut) {
    return SetIcon(nIconIn, 0, 0, nIconOut, 0, 0);
}

DWORD CButtonST::SetIcon(int nIconIn, int cxIconIn, int cyIconIn, int nIconOut, int cxIconOut,
                         int cyIconOut) {
    HICON hIconIn = LoadIconResource(nIconIn, cxIconIn, cyIconIn);
    HICON hIconOut = nullptr;
    if (nIconOut == BTNST_AUTO_GRAY || nIconOut == BTNST_AUTO_DARKER)
        hIconOut = reinterpret_cast<HICON>(static_cast<INT_PTR>(nIconOut));
    else if (nIconOut != 0)
        hIconOut = LoadIconResource(nIconOut, cxIconOut, cyIconOut);
    return SetIcon(hIconIn, hIconOut);
}

DWORD CButtonST::SetIcon(HICON hIconIn, HICON hIconOut) {
    FreeResources();
    const INT_PTR nOut = reinterpret_cast<INT_PTR>(hIconOut);
    const bool bAuto = nOut == BTNST_AUTO_GRAY || nOut == BTNST_AUTO_DARKER;
    if (hIconIn != nullptr) {
        m_csIcons[0].hIcon = hIconIn;
        if (!GetIconSize(hIconIn, &m_csIcons[0].nWidth, &m_csIcons[0].nHeight)) {
            if (hIconOut != nullptr && !bAuto && hIconOut != hIconIn)
                ::DestroyIcon(hIconOut);
            FreeResources();
            return BTNST_INVALIDRESOURCE;
        }
        if (nOut == BTNST_AUTO_GRAY)
            hIconOut = CreateGrayscaleIcon(hIconIn);
        else if (nOut == BTNST_AUTO_DARKER)
            hIconOut = CreateDarkerIcon(hIconIn);
        if (hIconOut != nullptr) {
            m_csIcons[1].hIcon = hIconOut;
            if (!GetIconSize(hIconOut, &m_csIcons[1].nWidth, &m_csIcons[1].nHeight)) {
                FreeResources();
                return BTNST_INVALIDRESOURCE;
            }
        }
    } else if (hIconOut != nullptr && !bAuto) {
        // No inside icon: nothing is shown, and the outside one is not kept.
        ::DestroyIcon(hIconOut);
    }
    Repaint();
    return BTNST_OK;
}

COLORREF CButtonST::DarkenColor(COLORREF crColor, double dFactor) {
    if (dFactor <= 0.0 || dFactor > 1.0)
        return crColor;
    const auto darken = [dFactor](BYTE byChannel) {
        return static_cast<BYTE>(byChannel - dFactor * byChannel);
    };
    return RGB(darken(GetRValue(crColor)), darken(GetGValue(crColor)), darken(GetBValue(crColor)));
}

HICON CButtonST::CreateDarkerIcon(HICON hIcon) {
    return TransformIcon(hIcon, &DarkerPixel);
}

HICON CButtonST::CreateGrayscaleIcon(HICON hIcon) {
    return TransformIcon(hIcon, &GreyPixel);
}

HICON CButtonST::TransformIcon(HICON hIcon, COLORREF (*transform)(COLORREF)) {
    ICONINFO info = {};
    if (hIcon == nullptr || !::GetIconInfo(hIcon, &info))
        return nullptr;
    const int nWidth = static_cast<int>(info.xHotspot * 2);
    const int nHeight = static_cast<int>(info.yHotspot * 2);
    HICON hResult = nullptr;
    HDC hScreen = ::GetDC(nullptr);
    HDC hSource = hScreen != nullptr ? ::CreateCompatibleDC(hScreen) : nullptr;
    HDC hTarget = hScreen != nullptr ? ::CreateCompatibleDC(hScreen) : nullptr;
    HBITMAP hBitmap = hScreen != nullptr && nWidth > 0 && nHeight > 0
                          ? ::CreateCompatibleBitmap(hScreen, nWidth, nHeight)
                          : nullptr;
    if (info.hbmColor != nullptr && hSource != nullptr && hTarget != nullptr &&
        hBitmap != nullptr) {
        HGDIOBJ hOldSource = ::SelectObject(hSource, info.hbmColor);
        HGDIOBJ hOldTarget = ::SelectObject(hTarget, hBitmap);
        for (int y = 0; y < nHeight; ++y) {
            for (int x = 0; x < nWidth; ++x) {
                const COLORREF crPixel = ::GetPixel(hSource, x, y);
                ::SetPixel(hTarget, x, y, crPixel == 0 ? crPixel : transform(crPixel));
            }
        }
        ::SelectObject(hSource, hOldSource);
        ::SelectObject(hTarget, hOldTarget);
        ICONINFO made = {};
        made.fIcon = TRUE;
        made.hbmMask = info.hbmMask;
        made.hbmColor = hBitmap;
        hResult = ::CreateIconIndirect(&made);
    }
    if (hBitmap != nullptr)
        ::DeleteObject(hBitmap);
    if (hTarget != nullptr)
        ::DeleteDC(hTarget);
    if (hSource != nullptr)
        ::DeleteDC(hSource);
    if (hScreen != nullptr)
        ::ReleaseDC(nullptr, hScreen);
    if (info.hbmColor != nullptr)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr)
        ::DeleteObject(info.hbmMask);
    return hResult;
}

// ---------------------------------------------------------------------------
// Settings

DWORD CButtonST::SetTooltipText(int nText, BOOL bActivate) {
    CString strText;
    strText.LoadString(static_cast<UINT>(nText));
    if (!strText.IsEmpty())
        SetTooltipText(strText, bActivate);
    return BTNST_OK;
}

DWORD CButtonST::SetTooltipText(LPCTSTR lpszText, BOOL bActivate) {
    if (lpszText == nullptr)
        return BTNST_OK;
    InitToolTip();
    if (m_ToolTip.GetSafeHwnd() == nullptr)
        return BTNST_OK;
    if (m_ToolTip.GetToolCount() == 0) {
        CRect rectClient;
        GetClientRect(&rectClient);
        m_ToolTip.AddTool(this, lpszText, rectClient, 1);
    }
    m_ToolTip.UpdateTipText(lpszText, this, 1);
    m_ToolTip.Activate(bActivate);
    return BTNST_OK;
}

DWORD CButtonST::DrawTransparent(BOOL bRepaint) {
    m_bDrawTransparent = TRUE;
    if (bRepaint)
        Repaint();
    return BTNST_OK;
}

DWORD CButtonST::SetFlat(BOOL bFlat, BOOL bRepaint) {
    m_bIsFlat = bFlat;
    if (bRepaint)
        Repaint();
    return BTNST_OK;
}

DWORD CButtonST::SetAlign(BYTE byAlign, BOOL bRepaint) {
    if (byAlign > ST_ALIGN_OVERLAP)
        return BTNST_INVALIDALIGN;
    m_byAlign = byAlign;
    if (bRepaint)
        Repaint();
    return BTNST_OK;
}

DWORD CButtonST::SetCheck(int nCheck, BOOL bRepaint) {
    if (m_bIsCheckBox) {
        m_nCheck = nCheck != 0 ? 1 : 0;
        if (bRepaint)
            Repaint();
    }
    return BTNST_OK;
}

DWORD CButtonST::SetDefaultColors(BOOL bRepaint) {
    const COLORREF crFace = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF crText = ::GetSysColor(COLOR_BTNTEXT);
    m_crColors[BTNST_COLOR_BK_IN] = m_crColors[BTNST_COLOR_BK_OUT] =
        m_crColors[BTNST_COLOR_BK_FOCUS] = crFace;
    m_crColors[BTNST_COLOR_FG_IN] = m_crColors[BTNST_COLOR_FG_OUT] =
        m_crColors[BTNST_COLOR_FG_FOCUS] = crText;
    if (bRepaint)
        Repaint();
    return BTNST_OK;
}

DWORD CButtonST::SetPressedStyle(BYTE byStyle, BOOL bRepaint) {
    switch (byStyle) {
    case BTNST_PRESSED_LEFTRIGHT:
        m_ptPressedStyle = CPoint(1, 1);
        break;
    case BTNST_PRESSED_TOPBOTTOM:
        m_ptPressedStyle = CPoint(0, 2);
        break;
    default:
        return BTNST_INVALIDPRESSEDSTYLE;
    }
    if (bRepaint)
        Repaint();
    return BTNST_OK;
}

void CButtonST::Repaint() {
    if (m_hWnd == nullptr)
        return;
    // The face is not painted: the parent's picture under the button has to
    // be there again before the button draws over it.
    CWnd* pParent = GetParent();
    if (pParent != nullptr && pParent->GetSafeHwnd() != nullptr) {
        CRect rectButton;
        GetWindowRect(&rectButton);
        pParent->ScreenToClient(&rectButton);
        pParent->RedrawWindow(&rectButton, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return;
    }
    Invalidate(TRUE);
}

// ---------------------------------------------------------------------------
// Hover tracking

void CButtonST::CancelHover() {
    if (m_bIsFlat && m_bMouseOnButton) {
        m_bMouseOnButton = FALSE;
        Repaint();
    }
}

void CButtonST::OnMouseMove(UINT nFlags, CPoint point) {
    CButton::OnMouseMove(nFlags, point);
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    const HWND hWndUnder = ::WindowFromPoint(ptScreen);
    if ((nFlags & MK_LBUTTON) && !m_bMouseOnButton)
        return;
    if (!m_bIsFlat)
        return;
    const bool bActive = m_bAlwaysTrack || ::GetActiveWindow() != nullptr;
    if (hWndUnder == m_hWnd && bActive) {
        if (!m_bMouseOnButton) {
            m_bMouseOnButton = TRUE;
            Repaint();
            TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, 0};
            ::TrackMouseEvent(&track);
        }
    } else {
        CancelHover();
    }
}

void CButtonST::OnKillFocus(CWnd* pNewWnd) {
    CButton::OnKillFocus(pNewWnd);
    CancelHover();
}

void CButtonST::OnCancelMode() {
    CButton::OnCancelMode();
    CancelHover();
}

void CButtonST::OnMouseLeave() {
    CancelHover();
}

void CButtonST::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    CButton::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE)
        CancelHover();
}

void CButtonST::OnEnable(BOOL bEnable) {
    CButton::OnEnable(bEnable);
    if (!bEnable) {
        // The system has taken the focus from a button it disables; it goes on
        // to the next control. A focus elsewhere (the user typing in another
        // control, another program active) is left alone.
        CWnd* pParent = GetParent();
        const HWND hWndFocus = ::GetFocus();
        const bool bLostFocus =
            hWndFocus == m_hWnd ||
            (hWndFocus == nullptr && ::GetActiveWindow() == ::GetAncestor(m_hWnd, GA_ROOT));
        if (pParent != nullptr && bLostFocus) {
            CWnd* pNext = pParent->GetNextDlgTabItem(this);
            if (pNext != nullptr && pNext->m_hWnd != m_hWnd)
                pNext->SetFocus();
            else
                pParent->SetFocus();
        }
        CancelHover();
    }
}

void CButtonST::OnSysColorChange() {
    CButton::OnSysColorChange();
    SetDefaultColors(TRUE);
}

// ---------------------------------------------------------------------------
// Button messages

BOOL CButtonST::OnClicked() {
    SetFocus();
    if (m_bIsCheckBox) {
        m_nCheck = !m_nCheck;
        Repaint();
    }
    // The parent gets the click too.
    return FALSE;
}

UINT CButtonST::OnGetDlgCode() {
    UINT nCode = CButton::OnGetDlgCode();
    nCode |= m_bIsDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
    return nCode;
}

HBRUSH CButtonST::CtlColor(CDC*, UINT) {
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

LRESULT CButtonST::OnSetStyle(WPARAM wParam, LPARAM lParam) {
    const UINT nNewType = static_cast<UINT>(wParam) & BS_TYPEMASK;
    if (nNewType == BS_DEFPUSHBUTTON)
        m_bIsDefault = TRUE;
    else if (nNewType == BS_PUSHBUTTON)
        m_bIsDefault = FALSE;
    return DefWindowProc(BM_SETSTYLE, (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW,
                         lParam);
}

LRESULT CButtonST::OnSetCheck(WPARAM wParam, LPARAM) {
    SetCheck(wParam == BST_CHECKED || wParam == BST_INDETERMINATE ? 1 : 0, TRUE);
    return 0;
}

LRESULT CButtonST::OnGetCheck(WPARAM, LPARAM) {
    return GetCheck();
}
