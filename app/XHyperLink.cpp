// XHyperLink.cpp: the hyperlink control.
#include "XHyperLink.h"

#include "Common/TraceLog.h"
#include "framework/Dc.h"
#include "framework/WinApp.h"

#include <shellapi.h>

const UINT WM_XHYPERLINK_CLICKED = ::RegisterWindowMessageA("WM_XHYPERLINK_CLICKED");

namespace {

const int kHoverTimer = 100;       // id and period in milliseconds
const int kRepaintBelow = 10;      // pixels below the text that an underline may touch
const int kEmptyTargetResult = 36; // GotoURL's answer for nothing to open
const int kWinHelpHandCursor = 106;

} // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CXHyperLink, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_ERASEBKGND()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_CONTROL_REFLECT(STN_CLICKED, &CXHyperLink::OnClicked)
END_MESSAGE_MAP()
// clang-format on

CXHyperLink::CXHyperLink()
    : m_crLinkColour(RGB(0, 0, 238)), m_crVisitedColour(RGB(85, 26, 139)),
      m_crHoverColour(RGB(255, 0, 0)), m_crBackground(static_cast<COLORREF>(-1)),
      m_bOverControl(FALSE), m_bVisited(FALSE), m_nUnderline(ulHover), m_bAdjustToFit(TRUE),
      m_hLinkCursor(nullptr), m_nTimerID(kHoverTimer), m_bGoToTarget(TRUE), m_bNotifyParent(FALSE),
      m_bShowToolTip(TRUE), m_bNewWindow(FALSE) {}

CXHyperLink::~CXHyperLink() {
    if (m_hLinkCursor != nullptr)
        ::DestroyCursor(m_hLinkCursor);
}

// ---------------------------------------------------------------------------
// Set-up

void CXHyperLink::PreSubclassWindow() {
    // Clicks are reported only by statics with the notify style.
    ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(GetStyle() | SS_NOTIFY));

    if (m_strURL.IsEmpty())
        GetWindowText(m_strURL);
    CString strText;
    GetWindowText(strText);
    if (strText.IsEmpty())
        SetLinkText(m_strURL);

    HFONT hFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (hFont == nullptr)
        hFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    if (hFont == nullptr)
        hFont = static_cast<HFONT>(::GetStockObject(ANSI_VAR_FONT));
    LOGFONTA lf = {};
    ::GetObjectA(hFont, sizeof(lf), &lf);
    m_StdFont.CreateFontIndirect(&lf);
    lf.lfUnderline = TRUE;
    m_UnderlineFont.CreateFontIndirect(&lf);

    AdjustSize();
    LoadHandCursor();
    // The control draws with one of its own two fonts from now on.
    SetFont(m_nUnderline == ulAlways ? &m_UnderlineFont : &m_StdFont, FALSE);

    if (m_bShowToolTip && m_ToolTip.Create(this)) {
        CRect rectClient;
        GetClientRect(&rectClient);
        m_ToolTip.AddTool(this, m_strURL, rectClient, 1);
    }
    CStatic::PreSubclassWindow();
}

void CXHyperLink::LoadHandCursor() {
    if (m_hLinkCursor != nullptr)
        return;
    KWTRACE(("loading from IDC_HAND\n"));
    CWinApp* pApp = AfxGetApp();
    HCURSOR hHand =
        pApp != nullptr ? pApp->LoadStandardCursor(IDC_HAND) : ::LoadCursorA(nullptr, IDC_HAND);
    // The system's cursor is shared; the control owns a copy of it.
    if (hHand != nullptr)
        m_hLinkCursor = static_cast<HCURSOR>(::CopyIcon(hHand));
    if (m_hLinkCursor != nullptr)
        return;
    KWTRACE(("loading from winhlp32\n"));
    char szPath[MAX_PATH] = "";
    const UINT nLength = ::GetWindowsDirectoryA(szPath, MAX_PATH);
    if (nLength == 0 || nLength + sizeof("\\winhlp32.exe") > MAX_PATH)
        return;
    ::lstrcatA(szPath, "\\winhlp32.exe");
    HMODULE hModule = ::LoadLibraryA(szPath);
    if (hModule == nullptr)
        return;
    HCURSOR hCursor = ::LoadCursorA(hModule, MAKEINTRESOURCEA(kWinHelpHandCursor));
    if (hCursor != nullptr)
        m_hLinkCursor = static_cast<HCURSOR>(::CopyIcon(hCursor));
    ::FreeLibrary(hModule);
}

void CXHyperLink::AdjustSize() {
    if (m_hWnd == nullptr || !m_bAdjustToFit)
        return;
    CWnd* pParent = GetParent();
    if (pParent == nullptr)
        return;
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    pParent->ScreenToClient(&rectWindow);
    CRect rectClient;
    GetClientRect(&rectClient);
    ClientToScreen(&rectClient);
    pParent->ScreenToClient(&rectClient);

    CString strText;
    GetWindowText(strText);
    CSize sizeExtent;
    {
        CClientDC dc(this);
        // Before the fonts are made (a text set while subclassing) the
        // control's own font measures.
        HGDIOBJ hFont = m_UnderlineFont.GetSafeHandle() != nullptr
                            ? m_UnderlineFont.GetSafeHandle()
                            : reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
        HGDIOBJ hOldFont = hFont != nullptr ? ::SelectObject(dc.GetSafeHdc(), hFont) : nullptr;
        sizeExtent = dc.GetTextExtent(strText, strText.GetLength());
        if (hOldFont != nullptr)
            ::SelectObject(dc.GetSafeHdc(), hOldFont);
    }
    sizeExtent.cx += rectWindow.Width() - rectClient.Width();
    sizeExtent.cy += rectWindow.Height() - rectClient.Height();

    const DWORD dwStyle = GetStyle();
    if (dwStyle & SS_CENTERIMAGE)
        rectWindow.DeflateRect(0, (rectWindow.Height() - sizeExtent.cy) / 2);
    else
        rectWindow.bottom = rectWindow.top + sizeExtent.cy;
    const DWORD dwType = dwStyle & SS_TYPEMASK;
    if (dwType == SS_CENTER)
        rectWindow.DeflateRect((rectWindow.Width() - sizeExtent.cx) / 2, 0);
    else if (dwType == SS_RIGHT)
        rectWindow.left = rectWindow.right - sizeExtent.cx;
    else
        rectWindow.right = rectWindow.left + sizeExtent.cx;
    SetWindowPos(nullptr, rectWindow.left, rectWindow.top, rectWindow.Width(), rectWindow.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---------------------------------------------------------------------------
// Settings

void CXHyperLink::SetURL(LPCTSTR lpszURL) {
    m_strURL = lpszURL != nullptr ? lpszURL : "";
    if (m_hWnd == nullptr)
        return;
    AdjustSize();
    if (m_ToolTip.GetSafeHwnd() != nullptr)
        m_ToolTip.UpdateTipText(m_strURL, this, 1);
}

void CXHyperLink::SetBackgroundColor(COLORREF crBackground) {
    m_crBackground = crBackground;
    m_Brush.DeleteObject();
    m_Brush.CreateSolidBrush(crBackground);
}

void CXHyperLink::SetVisited(BOOL bVisited) {
    m_bVisited = bVisited;
    if (m_hWnd != nullptr)
        Invalidate();
}

void CXHyperLink::SetUnderline(int nUnderline) {
    if (nUnderline != m_nUnderline && m_hWnd != nullptr) {
        SetFont(nUnderline == ulAlways ? &m_UnderlineFont : &m_StdFont, FALSE);
        Invalidate();
    }
    m_nUnderline = nUnderline;
}

void CXHyperLink::SetLinkText(LPCTSTR lpszText) {
    if (lpszText == nullptr || m_hWnd == nullptr)
        return;
    // Emptied and redrawn first, so that a shorter text leaves nothing behind.
    ::SetWindowTextA(m_hWnd, "");
    RedrawWindow();
    ::SetWindowTextA(m_hWnd, lpszText);
    AdjustSize();
}

BOOL CXHyperLink::PreTranslateMessage(MSG* pMsg) {
    if (m_ToolTip.GetSafeHwnd() != nullptr)
        m_ToolTip.RelayEvent(pMsg);
    return CStatic::PreTranslateMessage(pMsg);
}

BOOL CXHyperLink::DestroyWindow() {
    KillTimer(m_nTimerID);
    return CStatic::DestroyWindow();
}

// ---------------------------------------------------------------------------
// Messages

HBRUSH CXHyperLink::CtlColor(CDC* pDC, UINT) {
    if (m_bOverControl)
        pDC->SetTextColor(m_crHoverColour);
    else if (m_bVisited)
        pDC->SetTextColor(m_crVisitedColour);
    else
        pDC->SetTextColor(m_crLinkColour);
    pDC->SetBkMode(TRANSPARENT);
    if (m_Brush.GetSafeHandle() == nullptr)
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    pDC->SetBkColor(m_crBackground);
    return static_cast<HBRUSH>(m_Brush.GetSafeHandle());
}

BOOL CXHyperLink::OnEraseBkgnd(CDC* pDC) {
    CRect rectClient;
    GetClientRect(&rectClient);
    const COLORREF crFill =
        m_crBackground == static_cast<COLORREF>(-1) ? ::GetSysColor(COLOR_BTNFACE) : m_crBackground;
    pDC->FillSolidRect(&rectClient, crFill);
    return TRUE;
}

BOOL CXHyperLink::OnSetCursor(CWnd*, UINT, UINT) {
    if (m_hLinkCursor == nullptr)
        return FALSE;
    ::SetCursor(m_hLinkCursor);
    return TRUE;
}

void CXHyperLink::OnMouseMove(UINT nFlags, CPoint point) {
    if (!m_bOverControl) {
        m_bOverControl = TRUE;
        if (m_nUnderline == ulHover)
            SetFont(&m_UnderlineFont, FALSE);
        Invalidate();
        SetTimer(m_nTimerID, static_cast<UINT>(m_nTimerID));
    }
    CStatic::OnMouseMove(nFlags, point);
}

void CXHyperLink::OnTimer(UINT_PTR nIDEvent) {
    const DWORD dwPos = ::GetMessagePos();
    CPoint point(static_cast<short>(LOWORD(dwPos)), static_cast<short>(HIWORD(dwPos)));
    ScreenToClient(&point);
    CRect rectClient;
    GetClientRect(&rectClient);
    if (!rectClient.PtInRect(point)) {
        m_bOverControl = FALSE;
        KillTimer(m_nTimerID);
        if (m_nUnderline != ulAlways)
            SetFont(&m_StdFont, FALSE);
        rectClient.bottom += kRepaintBelow;
        InvalidateRect(&rectClient, TRUE);
    }
    CStatic::OnTimer(nIDEvent);
}

void CXHyperLink::OnClicked() {
    m_bOverControl = FALSE;
    INT_PTR nResult = 33;
    if (m_bGoToTarget)
        nResult = GotoURL(m_strURL, SW_SHOW, m_bNewWindow);
    if (nResult > 32) {
        SetVisited(TRUE);
    } else {
        ::MessageBeep(MB_ICONEXCLAMATION);
    }
    NotifyParent();
}

void CXHyperLink::NotifyParent() {
    if (!m_bNotifyParent)
        return;
    CWnd* pParent = GetParent();
    if (pParent != nullptr && ::IsWindow(pParent->GetSafeHwnd()))
        pParent->SendMessage(WM_XHYPERLINK_CLICKED, static_cast<WPARAM>(GetDlgCtrlID()), 0);
}

// ---------------------------------------------------------------------------
// Opening the target

LONG CXHyperLink::ReadRegistryDefault(HKEY hKey, LPCTSTR lpszSubKey, LPTSTR lpszBuffer) {
    lpszBuffer[0] = '\0';
    HKEY hOpened = nullptr;
    LONG nError = ::RegOpenKeyExA(hKey, lpszSubKey, 0, KEY_QUERY_VALUE, &hOpened);
    if (nError != ERROR_SUCCESS)
        return nError;
    DWORD dwType = 0;
    DWORD dwSize = kCommandBufferSize;
    nError = ::RegQueryValueExA(hOpened, nullptr, nullptr, &dwType,
                                reinterpret_cast<LPBYTE>(lpszBuffer), &dwSize);
    ::RegCloseKey(hOpened);
    if (nError == ERROR_SUCCESS && dwType != REG_SZ && dwType != REG_EXPAND_SZ)
        nError = ERROR_INVALID_DATA;
    // A stored value need not end in a terminator: one that fills the whole
    // buffer without it is too long.
    if (nError == ERROR_SUCCESS && (dwSize == 0 || lpszBuffer[dwSize - 1] != '\0')) {
        if (dwSize < kCommandBufferSize)
            lpszBuffer[dwSize] = '\0';
        else
            nError = ERROR_MORE_DATA;
    }
    if (nError != ERROR_SUCCESS)
        lpszBuffer[0] = '\0';
    return nError;
}

BOOL CXHyperLink::BuildCommandLine(LPCTSTR lpszCommand, LPCTSTR lpszTarget,
                                   CString& strCommandLine) {
    strCommandLine.Empty();
    CString strCommand = lpszCommand != nullptr ? lpszCommand : "";
    int nCut = strCommand.Find("\"%1\"");
    if (nCut < 0)
        nCut = strCommand.Find("%1");
    if (nCut >= 0)
        strCommand = strCommand.Left(nCut);
    strCommand += " ";
    strCommand += lpszTarget != nullptr ? lpszTarget : "";
    if (strCommand.GetLength() >= kCommandBufferSize)
        return FALSE;
    strCommandLine = strCommand;
    return TRUE;
}

INT_PTR CXHyperLink::GotoURL(LPCTSTR lpszURL, int nShowCmd, BOOL bAlwaysOpenNew) {
    if (lpszURL == nullptr || lpszURL[0] == '\0')
        return kEmptyTargetResult;
    const INT_PTR nShellResult = reinterpret_cast<INT_PTR>(::ShellExecuteA(
        nullptr, bAlwaysOpenNew ? "new" : "open", lpszURL, nullptr, nullptr, nShowCmd));
    if (nShellResult > 32)
        return nShellResult;

    char szValue[kCommandBufferSize];
    if (ReadRegistryDefault(HKEY_CLASSES_ROOT, ".htm", szValue) != ERROR_SUCCESS)
        return nShellResult;
    CString strKey = szValue;
    strKey += "\\shell\\open\\command";
    if (ReadRegistryDefault(HKEY_CLASSES_ROOT, strKey, szValue) != ERROR_SUCCESS)
        return nShellResult;
    CString strCommandLine;
    if (!BuildCommandLine(szValue, lpszURL, strCommandLine)) {
        KWTRACE_ERROR(("CXHyperLink::GotoURL: the command line for %s is too long\n", lpszURL));
        return nShellResult;
    }
    return static_cast<INT_PTR>(::WinExec(strCommandLine, static_cast<UINT>(nShowCmd)));
}
