// OXSHBEdit.cpp: COXSHBEdit.
#include "OXSHBEdit.h"

#include "Common/TraceLog.h"
#include "framework/Dc.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

namespace {

// The non-client form of each mouse message the editor passes on; 0 for a
// message it does not pass on.
UINT NonClientMouseMessage(UINT message) {
    switch (message) {
    case WM_MOUSEMOVE:
        return WM_NCMOUSEMOVE;
    case WM_LBUTTONDOWN:
        return WM_NCLBUTTONDOWN;
    case WM_LBUTTONDBLCLK:
        return WM_NCLBUTTONDBLCLK;
    case WM_RBUTTONDOWN:
        return WM_NCRBUTTONDOWN;
    case WM_RBUTTONDBLCLK:
        return WM_NCRBUTTONDBLCLK;
    case WM_MBUTTONDOWN:
        return WM_NCMBUTTONDOWN;
    case WM_MBUTTONDBLCLK:
        return WM_NCMBUTTONDBLCLK;
    default:
        return 0;
    }
}

BOOL Contains(const CRect& outer, const CRect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The window's rectangle in its parent's client coordinates; empty without a window.
CRect RectInParent(HWND hWnd) {
    CRect rect;
    if (hWnd == nullptr || !::GetWindowRect(hWnd, &rect))
        return CRect();
    if (HWND hWndParent = ::GetParent(hWnd))
        ::MapWindowPoints(nullptr, hWndParent, reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
}

// Hands a mouse message the editor does not keep to the window under ptScreen,
// as if the window had got it itself: its client form with the key state when
// the point is in that window's client area, else the non-client form with the
// hit-test code; then the cursor that window wants. The editor may be ended by
// then, so nothing of it is used here.
void PassMouseMessageOn(UINT message, WPARAM wParam, CPoint ptScreen) {
    HWND hWndUnder = ::WindowFromPoint(ptScreen);
    if (hWndUnder == nullptr)
        return;
    const LPARAM lScreen = MAKELPARAM(ptScreen.x, ptScreen.y);
    const UINT nHitTest = static_cast<UINT>(::SendMessageA(hWndUnder, WM_NCHITTEST, 0, lScreen));
    if (nHitTest == HTCLIENT) {
        CPoint point = ptScreen;
        ::ScreenToClient(hWndUnder, &point);
        ::SendMessageA(hWndUnder, message, wParam, MAKELPARAM(point.x, point.y));
    } else {
        ::SendMessageA(hWndUnder, NonClientMouseMessage(message), nHitTest, lScreen);
    }
    ::SendMessageA(hWndUnder, WM_SETCURSOR, reinterpret_cast<WPARAM>(hWndUnder),
                   MAKELPARAM(nHitTest, message));
}

} // namespace

IMPLEMENT_DYNAMIC(COXSHBEdit, CEdit)

// clang-format off
BEGIN_MESSAGE_MAP(COXSHBEdit, CEdit)
    ON_CONTROL_REFLECT(EN_UPDATE, &COXSHBEdit::OnUpdate)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()
// clang-format on

COXSHBEdit::COXSHBEdit()
    : m_bHasDisplay(FALSE), m_clrBrush(::GetSysColor(COLOR_WINDOW)), m_dwStyleCreated(0),
      m_bIsEditing(FALSE) {
    m_brushBack.CreateSolidBrush(m_clrBrush);
}

COXSHBEdit::~COXSHBEdit() = default;

BOOL COXSHBEdit::VerifyDisplayInfo(const SHBE_DISPLAY* pDisplay) const {
    if (pDisplay == nullptr) {
        KWTRACE_ERROR(("COXSHBEdit::VerifyDisplayInfo: no display record\n"));
        return FALSE;
    }
    const UINT nMask = pDisplay->nMask;
    if (nMask >= SHBEIF_LIMIT) {
        KWTRACE_ERROR(("COXSHBEdit::VerifyDisplayInfo: unspecified mask used\n"));
        return FALSE;
    }
    if ((nMask & SHBEIF_ENLARGE) && !(nMask & SHBEIF_RECTMAX)) {
        KWTRACE_ERROR(("COXSHBEdit::VerifyDisplayInfo: enlargement as typing is specified while "
                       "max rect is not\n"));
        return FALSE;
    }
    if (nMask & SHBEIF_SELRANGE) {
        const CPoint& sel = pDisplay->ptSelection;
        if (!(sel.x == 0 && sel.y == -1) && sel.x != -1) {
            int nLength = 0;
            if (nMask & SHBEIF_TEXT)
                nLength = pDisplay->pszText != nullptr ? (int)strlen(pDisplay->pszText) : 0;
            else if (m_hWnd != nullptr)
                nLength = GetWindowTextLength();
            if (nLength <= sel.x || nLength <= sel.y) {
                KWTRACE_ERROR(("COXSHBEdit::VerifyDisplayInfo: invalid selection range\n"));
                return FALSE;
            }
        }
    }
    // Without a display rectangle the edit opens where the window is now, so
    // that is the rectangle to check (in the parent's coordinates, as rectMax).
    const CRect rectDisplay =
        (nMask & SHBEIF_RECTDISPLAY) ? pDisplay->rectDisplay : RectInParent(m_hWnd);
    if (rectDisplay.IsRectEmpty()) {
        KWTRACE_ERROR(("COXSHBEdit::VerifyDisplayInfo: empty display rect specified\n"));
        return FALSE;
    }
    if ((nMask & SHBEIF_RECTMAX) && !Contains(pDisplay->rectMax, rectDisplay)) {
        KWTRACE_ERROR(("COXSHBEdit::VerifyDisplayInfo: display rect is bigger than specified max "
                       "rect\n"));
        return FALSE;
    }
    if ((nMask & SHBEIF_RECTMIN) && (nMask & SHBEIF_RECTMAX) &&
        !Contains(pDisplay->rectMax, pDisplay->rectMin)) {
        KWTRACE_ERROR(("COXSHBEdit::VerifyDisplayInfo: max rect doesn't include min rect\n"));
        return FALSE;
    }
    if ((nMask & SHBEIF_RECTMIN) && pDisplay->rectMin.IsRectEmpty()) {
        KWTRACE_ERROR(("COXSHBEdit::VerifyDisplayInfo: min rect mustn't be empty\n"));
        return FALSE;
    }
    return TRUE;
}

BOOL COXSHBEdit::StartEdit(const SHBE_DISPLAY* pDisplay) {
    if (pDisplay != nullptr && !VerifyDisplayInfo(pDisplay)) {
        KWTRACE_ERROR(("COXSHBEdit::StartEdit: LPSHBE_DISPLAY is invalid\n"));
        return FALSE;
    }

    CString sText;
    DWORD dwStyle = 0;
    UINT nID = 0;
    HWND hWndParent = nullptr;
    CRect rect = RectInParent(m_hWnd);
    if (m_hWnd != nullptr) {
        GetWindowText(sText);
        // The edit control takes WS_BORDER out of its style at creation and
        // draws the border itself; the window made again keeps it.
        dwStyle = GetStyle() | (m_dwStyleCreated & WS_BORDER);
        nID = static_cast<UINT>(GetDlgCtrlID());
        hWndParent = ::GetParent(m_hWnd);
    }

    LOGFONT logFont = {};
    BOOL bNewFont = FALSE;
    if (pDisplay != nullptr) {
        // The text and the font are the caller's and live only for this call.
        m_display = *pDisplay;
        m_display.pszText = nullptr;
        m_display.pFont = nullptr;
        m_bHasDisplay = TRUE;
        const UINT nMask = pDisplay->nMask;
        if (nMask & SHBEIF_TEXT)
            sText = pDisplay->pszText != nullptr ? pDisplay->pszText : "";
        if (nMask & SHBEIF_RECTDISPLAY)
            rect = pDisplay->rectDisplay;
        if (nMask & SHBEIF_STYLE)
            dwStyle = pDisplay->dwStyle;
        if ((nMask & SHBEIF_FONT) && pDisplay->pFont != nullptr &&
            pDisplay->pFont->m_hObject != nullptr)
            bNewFont = pDisplay->pFont->GetLogFont(&logFont) != 0;
        if (nMask & SHBEIF_RECTMIN) {
            const CRect& rectMin = pDisplay->rectMin;
            rect.SetRect(std::min(rect.left, rectMin.left), std::min(rect.top, rectMin.top),
                         std::max(rect.right, rectMin.right),
                         std::max(rect.bottom, rectMin.bottom));
        }
    } else {
        m_bHasDisplay = FALSE;
    }

    // The window's font goes with the window, so the own font is replaced only
    // once the window that uses it is gone.
    if (!DestroyWindow()) {
        KWTRACE_ERROR(("COXSHBEdit::StartEdit: failed to destroy window\n"));
        return FALSE;
    }
    if (bNewFont) {
        m_font.DeleteObject();
        if (!m_font.CreateFontIndirect(&logFont))
            KWTRACE_ERROR(
                ("COXSHBEdit::StartEdit: failed to create font, error %u\n", ::GetLastError()));
    }
    // Shown only once it holds its text, font and selection.
    if (!Create(dwStyle & ~WS_VISIBLE, rect, CWnd::FromHandle(hWndParent), nID)) {
        KWTRACE_ERROR(("COXSHBEdit::StartEdit: failed to create window\n"));
        return FALSE;
    }

    m_rectOpened = rect;
    if (m_font.m_hObject != nullptr)
        SetFont(&m_font, FALSE);
    SetWindowText(sText);
    const BOOL bBack = m_bHasDisplay && (m_display.nMask & SHBEIF_CLRBACK);
    UseBackground(bBack ? m_display.clrBackground : ::GetSysColor(COLOR_WINDOW));
    if (m_bHasDisplay && (m_display.nMask & SHBEIF_SELRANGE))
        SetSel(m_display.ptSelection.x, m_display.ptSelection.y, TRUE);
    ResetFormattingRect(TRUE);

    m_bIsEditing = TRUE;
    ShowWindow(SW_SHOW);
    SetFocus();
    return TRUE;
}

void COXSHBEdit::FinishEdit(BOOL bOK) {
    m_bIsEditing = FALSE;
    if (m_hWnd == nullptr)
        return;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    NMSHBEDIT notify;
    notify.hdr.hwndFrom = m_hWnd;
    notify.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    notify.hdr.code = SHBEN_FINISHEDIT;
    notify.bOK = bOK ? TRUE : FALSE;
    if (HWND hWndParent = ::GetParent(m_hWnd))
        ::SendMessageA(hWndParent, WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
    // The parent may have opened the next edit from the notification; that one stays.
    if (m_hWnd != nullptr && !m_bIsEditing)
        ShowWindow(SW_HIDE);
}

LRESULT COXSHBEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        m_dwStyleCreated = static_cast<DWORD>(reinterpret_cast<LPCREATESTRUCT>(lParam)->style);
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            FinishEdit(wParam == VK_RETURN);
            return 0;
        }
        break;
    case WM_CHAR:
        // The characters of the two keys that ended the edit.
        if (wParam == VK_RETURN || wParam == VK_ESCAPE)
            return 0;
        break;
    case WM_SETFOCUS: {
        const LRESULT lResult = CEdit::WindowProc(message, wParam, lParam);
        if (m_bIsEditing)
            SetCapture();
        return lResult;
    }
    case WM_KILLFOCUS: {
        const LRESULT lResult = CEdit::WindowProc(message, wParam, lParam);
        if (m_hWnd != nullptr && ::GetCapture() == m_hWnd)
            FinishEdit(TRUE);
        return lResult;
    }
    case WM_CAPTURECHANGED:
        // Whoever took the capture meant to; the next message takes it back.
        return CEdit::WindowProc(message, wParam, lParam);
    case WM_DESTROY:
        // An edit whose window goes without losing the focus ends unreported.
        m_bIsEditing = FALSE;
        break;
    default:
        if (NonClientMouseMessage(message) != 0 && OnMouseMessage(message, wParam, lParam))
            return 0;
        break;
    }
    const LRESULT lResult = CEdit::WindowProc(message, wParam, lParam);
    // The edit control releases the capture after its own clicks; an edit in
    // progress keeps it, so that a click anywhere ends it.
    if (m_bIsEditing && m_hWnd != nullptr && ::GetCapture() != m_hWnd)
        SetCapture();
    return lResult;
}

BOOL COXSHBEdit::OnMouseMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    CRect rectClient;
    GetClientRect(&rectClient);
    if (!m_bIsEditing || rectClient.PtInRect(point)) {
        ::SetCursor(::LoadCursorA(nullptr, IDC_IBEAM));
        return FALSE;
    }
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    if (message == WM_MOUSEMOVE) {
        PassMouseMessageOn(message, wParam, ptScreen);
        return FALSE;
    }
    FinishEdit(TRUE);
    PassMouseMessageOn(message, wParam, ptScreen);
    return TRUE;
}

void COXSHBEdit::OnUpdate() {
    const UINT nGrow = SHBEIF_ENLARGE | SHBEIF_RECTMAX;
    if (m_bHasDisplay && (m_display.nMask & nGrow) == nGrow && m_display.bEnlargeAsTyping)
        GrowWithText();
}

void COXSHBEdit::GrowWithText() {
    const CRect& rectMax = m_display.rectMax;
    const CRect rectBase = (m_display.nMask & SHBEIF_RECTMIN) ? m_display.rectMin : m_rectOpened;
    CString sText;
    GetWindowText(sText);
    if (sText.IsEmpty()) {
        MoveWindow(&rectBase, TRUE);
        ResetFormattingRect(FALSE);
        return;
    }

    CRect rectWindow, rectFormat;
    GetWindowRect(&rectWindow);
    GetRect(&rectFormat);
    ClientToScreen(&rectFormat);
    const int nLeft = rectFormat.left - rectWindow.left;
    const int nTop = rectFormat.top - rectWindow.top;
    const int nRight = rectWindow.right - rectFormat.right;
    const int nBottom = rectWindow.bottom - rectFormat.bottom;

    const DWORD dwStyle = GetStyle();
    UINT nFormat = DT_CALCRECT | DT_CENTER | DT_VCENTER;
    if (dwStyle & ES_MULTILINE)
        nFormat |= DT_WORDBREAK | DT_EDITCONTROL;
    const CRect rectRoom(0, 0, rectMax.Width(), rectMax.Height());
    CRect rectText(nLeft, nTop, rectRoom.right - nRight, rectRoom.bottom - nBottom);
    {
        CClientDC dc(this);
        HGDIOBJ hFont = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
        CScopedSelect select(dc, hFont != nullptr ? hFont : ::GetStockObject(SYSTEM_FONT));
        dc.DrawText(sText, &rectText, nFormat);
    }
    CRect rectFit(rectText.left - nLeft, rectText.top - nTop, rectText.right + nRight,
                  rectText.bottom + nBottom);
    rectFit.IntersectRect(rectFit, rectRoom);
    const int cx = std::max(rectFit.Width(), rectBase.Width());
    const int cy = std::max(rectFit.Height(), rectBase.Height());

    CRect rectNew = rectMax;
    const int nWider = rectMax.Width() - cx;
    if (nWider > 0) {
        if (dwStyle & ES_RIGHT) {
            rectNew.left += nWider;
        } else if (dwStyle & ES_CENTER) {
            rectNew.right -= nWider / 2;
            rectNew.left = rectNew.right - cx;
        } else {
            rectNew.right -= nWider;
        }
    }
    const int nTaller = rectMax.Height() - cy;
    if (nTaller >= 0)
        rectNew.bottom -= nTaller;
    MoveWindow(&rectNew, TRUE);
    ResetFormattingRect(FALSE);
}

HBRUSH COXSHBEdit::CtlColor(CDC* pDC, UINT) {
    const BOOL bBack = m_bHasDisplay && (m_display.nMask & SHBEIF_CLRBACK);
    pDC->SetBkColor(bBack ? m_display.clrBackground : ::GetSysColor(COLOR_WINDOW));
    if (m_bHasDisplay && (m_display.nMask & SHBEIF_CLRTEXT))
        pDC->SetTextColor(m_display.clrText);
    return static_cast<HBRUSH>(m_brushBack.m_hObject);
}

void COXSHBEdit::UseBackground(COLORREF clrBack) {
    if (m_brushBack.m_hObject != nullptr && m_clrBrush == clrBack)
        return;
    m_brushBack.DeleteObject();
    if (m_brushBack.CreateSolidBrush(clrBack))
        m_clrBrush = clrBack;
    else
        KWTRACE_ERROR(
            ("COXSHBEdit::UseBackground: failed to create brush, error %u\n", ::GetLastError()));
}

void COXSHBEdit::ResetFormattingRect(BOOL bRepaint) {
    CRect rectClient;
    GetClientRect(&rectClient);
    SendMessage(bRepaint ? EM_SETRECT : EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&rectClient));
}
