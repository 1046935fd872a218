// ProgressWnd.cpp: the progress window of long operations on the
// user-interface thread.
#include "ProgressWnd.h"

#include "framework/WinApp.h"

#include <cstring>

namespace {

const int kMargin = 10;
const int kDefaultWidth = 390;
const int kDefaultHeight = 130;
const int kMaxMessageBytes = 511;

} // namespace

BEGIN_MESSAGE_MAP(CProgressWnd, CWnd)
ON_WM_CTLCOLOR()
ON_WM_CLOSE()
ON_BN_CLICKED(CProgressWnd::kCancelId, &CProgressWnd::OnCancelClicked)
END_MESSAGE_MAP()

CProgressWnd::CProgressWnd() {
    SetDefaults();
}

CProgressWnd::CProgressWnd(CWnd* pParent, LPCTSTR pszTitle, BOOL bSmooth) {
    SetDefaults();
    if (pszTitle != nullptr)
        m_strTitle = pszTitle;
    CreateProgressWindow(pParent, m_strTitle, bSmooth);
}

CProgressWnd::~CProgressWnd() {
    DestroyWindow();
}

void CProgressWnd::SetDefaults() {
    m_hWndDisabledAncestor = nullptr;
    m_bCancelled = FALSE;
    m_bModal = FALSE;
    m_nPos = 0;
    m_nStep = 1;
    m_nMaxValue = 100;
    m_nMinValue = 0;
    m_nNumTextLines = 4;
    m_strTitle = "Progress";
    m_strCancelLabel = " Cancel ";
}

BOOL CProgressWnd::CreateProgressWindow(CWnd* pParent, LPCTSTR pszTitle, BOOL bSmooth) {
    if (pszTitle != nullptr)
        m_strTitle = pszTitle;
    // One window per object: a second creation only takes the new title.
    if (::IsWindow(m_hWnd)) {
        SetWindowText(m_strTitle);
        return TRUE;
    }

    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                            ::LoadCursor(nullptr, IDC_APPSTARTING),
                                            ::GetSysColorBrush(COLOR_BTNFACE));
    if (lpszClass == nullptr)
        return FALSE;

    if (m_font.GetSafeHandle() == nullptr) {
        NONCLIENTMETRICSA metrics;
        std::memset(&metrics, 0, sizeof metrics);
        metrics.cbSize = sizeof metrics;
        if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) ||
            !m_font.CreateFontIndirect(&metrics.lfMessageFont))
            return FALSE;
    }

    CWnd* pOwner = pParent != nullptr ? pParent : AfxGetMainWnd();
    if (!CreateEx(WS_EX_DLGMODALFRAME, lpszClass, m_strTitle, WS_POPUP | WS_CAPTION, 0, 0,
                  kDefaultWidth, kDefaultHeight,
                  pOwner != nullptr ? pOwner->GetSafeHwnd() : nullptr, nullptr))
        return FALSE;

    const CRect rectNone(0, 0, 0, 0);
    if (!m_wndMessage.Create("", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, rectNone,
                             this, kMessageId) ||
        !m_wndProgress.Create(WS_CHILD | WS_VISIBLE | (bSmooth ? PBS_SMOOTH : 0), rectNone, this,
                              kProgressId) ||
        !m_wndCancel.Create(m_strCancelLabel, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                            rectNone, this, kCancelId)) {
        DestroyWindow();
        return FALSE;
    }
    m_wndMessage.SetFont(&m_font);
    m_wndCancel.SetFont(&m_font);
    if (m_brushBackground.GetSafeHandle() == nullptr)
        m_brushBackground.CreateSolidBrush(RGB(255, 255, 255));
    // The bar starts with what the owner may have set before the window existed.
    m_wndProgress.SetRange32(m_nMinValue, m_nMaxValue);
    m_wndProgress.SetStep(m_nStep);
    m_wndProgress.SetPos(m_nPos);

    Layout(m_nNumTextLines, kDefaultWidth);
    CenterWindow();
    ShowWindow(SW_SHOWNA);
    return TRUE;
}

void CProgressWnd::Layout(int nLines, int nWidth) {
    CClientDC dc(this);
    CFont* pOldFont = dc.SelectObject(&m_font);
    const CSize sizeLetter = dc.GetTextExtent("M", 1);
    const CSize sizeLabel = dc.GetTextExtent(m_strCancelLabel + "  ");
    dc.SelectObject(pOldFont);

    const int cxEdge = ::GetSystemMetrics(SM_CXEDGE);
    const int cyEdge = ::GetSystemMetrics(SM_CYEDGE);

    const CRect rectMessage(kMargin, kMargin, kMargin + nWidth, kMargin + nLines * sizeLetter.cy);
    const CSize sizeButton(sizeLabel.cx + 4 * cxEdge, sizeLabel.cy + 3 * cyEdge);
    const CRect rectButton(rectMessage.right - sizeButton.cx, rectMessage.bottom + kMargin,
                           rectMessage.right, rectMessage.bottom + kMargin + sizeButton.cy);
    const CRect rectBar(rectMessage.left, rectButton.top + cyEdge, rectButton.left - kMargin,
                        rectButton.bottom - cyEdge);

    m_wndMessage.MoveWindow(&rectMessage);
    m_wndCancel.MoveWindow(&rectButton);
    m_wndProgress.MoveWindow(&rectBar);

    // The client area fits the parts with the margin around them; the window
    // keeps its top-left corner.
    CRect rectWindow(0, 0, nWidth + 2 * kMargin,
                     rectMessage.Height() + sizeButton.cy + 3 * kMargin);
    ::AdjustWindowRectEx(&rectWindow, static_cast<DWORD>(GetStyle()), FALSE,
                         static_cast<DWORD>(GetExStyle()));
    SetWindowPos(nullptr, 0, 0, rectWindow.Width(), rectWindow.Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CProgressWnd::MakeModal(LPCTSTR pszTitle, BOOL bSmooth) {
    if (!::IsWindow(m_hWnd) && !CreateProgressWindow(AfxGetMainWnd(), pszTitle, bSmooth))
        return FALSE;
    // A second call would climb no further than this window: the main window
    // is disabled already, and it must be enabled again only once.
    if (m_bModal)
        return TRUE;

    HWND hWnd = m_hWnd;
    for (HWND hParent = ::GetParent(hWnd); hParent != nullptr && ::IsWindowEnabled(hParent);
         hParent = ::GetParent(hWnd))
        hWnd = hParent;
    if (hWnd != m_hWnd) {
        ::EnableWindow(hWnd, FALSE);
        m_hWndDisabledAncestor = hWnd;
    }
    EnableWindow(TRUE);
    m_bModal = TRUE;
    return TRUE;
}

void CProgressWnd::SetProgressRange(int nLower, int nUpper, int nStep) {
    if (::IsWindow(m_hWnd)) {
        m_wndProgress.SetRange32(nLower, nUpper);
        m_wndProgress.SetStep(nStep);
    }
    m_nMinValue = nLower;
    m_nMaxValue = nUpper;
    m_nStep = nStep;
}

int CProgressWnd::SetProgressPos(int nPos) {
    const int nPrevious = m_nPos;
    if (!::IsWindow(m_hWnd))
        return nPrevious;
    // A cancelled window stays hidden until its owner polls the flag: the
    // owner may still report a step or two before it looks.
    if (!m_bCancelled)
        ShowProgressWindow();
    m_nPos = nPos;
    m_wndProgress.SetPos(nPos);
    return nPrevious;
}

void CProgressWnd::SetMessageText(LPCTSTR pszText) {
    if (!::IsWindow(m_hWnd))
        return;
    char szBuffer[kMaxMessageBytes + 1];
    ::lstrcpynA(szBuffer, pszText != nullptr ? pszText : "", sizeof szBuffer);
    m_wndMessage.SetWindowText(szBuffer);
}

void CProgressWnd::PumpMessages(BOOL bCancelOnEsc) {
    if (!::IsWindow(m_hWnd))
        return;
    if (m_bModal) {
        const HWND hFocus = ::GetFocus();
        if (hFocus != m_hWnd && !::IsChild(m_hWnd, hFocus))
            SetFocus();
    }

    CWinApp* pApp = AfxGetApp();
    MSG msg;
    while (!m_bCancelled && ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (bCancelOnEsc && msg.message == WM_CHAR && msg.wParam == VK_ESCAPE)
            Cancel();
        // The release over the button cancels before the button itself has
        // seen it: the owner may not pump again for a while.
        if (m_bModal && msg.message == WM_LBUTTONUP && ::IsWindow(m_wndCancel.m_hWnd)) {
            CRect rectCancel;
            m_wndCancel.GetWindowRect(&rectCancel);
            if (rectCancel.PtInRect(msg.pt))
                Cancel();
        }
        const BOOL bGoOn = pApp != nullptr ? pApp->PumpMessage() : AfxPumpMessage();
        if (!bGoOn) {
            // The thread's own loop must still see the quit.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
    }
}

void CProgressWnd::Cancel() {
    m_bCancelled = TRUE;
    HideWindow();
    if (m_bModal && ::IsWindow(m_hWnd))
        PostMessage(WM_CLOSE);
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd != nullptr && ::IsWindow(pMainWnd->GetSafeHwnd()))
        pMainWnd->SetForegroundWindow();
}

void CProgressWnd::OnCancelClicked() {
    Cancel();
}

void CProgressWnd::HideWindow() {
    if (!::IsWindow(m_hWnd))
        return;
    if (IsWindowVisible())
        ShowWindow(SW_HIDE);
    ModifyStyle(WS_VISIBLE, 0);
}

void CProgressWnd::ShowProgressWindow() {
    if (!::IsWindow(m_hWnd))
        return;
    if (!IsWindowVisible())
        ShowWindow(SW_SHOWNA);
    RedrawWindow(nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CProgressWnd::EnableDisabledAncestor() {
    if (m_hWndDisabledAncestor != nullptr && ::IsWindow(m_hWndDisabledAncestor))
        ::EnableWindow(m_hWndDisabledAncestor, TRUE);
    m_hWndDisabledAncestor = nullptr;
}

BOOL CProgressWnd::DestroyWindow() {
    // The ancestor gets its input back before this window goes, so that the
    // system activates it rather than some other program's window.
    if (m_bModal) {
        m_bModal = FALSE;
        EnableDisabledAncestor();
    }
    if (m_hWnd == nullptr)
        return FALSE;
    return CWnd::DestroyWindow();
}

void CProgressWnd::OnClose() {
    DestroyWindow();
}

HBRUSH CProgressWnd::OnCtlColor(CDC*, CWnd*, UINT) {
    return static_cast<HBRUSH>(m_brushBackground.GetSafeHandle());
}
