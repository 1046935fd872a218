// StatusBar.cpp: CStatusBar.
#include "StatusBar.h"

#include "CmdUI.h"
#include "Dc.h"
#include "Gdi.h"

#include <commctrl.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

// clang-format off
BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
    ON_WM_SIZE()
    ON_MESSAGE(WM_SETTEXT, &CStatusBar::OnSetText)
    ON_MESSAGE(WM_GETTEXT, &CStatusBar::OnGetText)
    ON_MESSAGE(WM_GETTEXTLENGTH, &CStatusBar::OnGetTextLength)
END_MESSAGE_MAP()
// clang-format on

namespace {

// Room around a pane's text: its sunken edge and a little air.
const int kPanePadding = 8;

// Updates a pane from the owner's ON_UPDATE_COMMAND_UI handler.
class CStatusCmdUI : public CCmdUI {
public:
    explicit CStatusCmdUI(CStatusBar* pBar) : m_pBar(pBar) {}
    void Enable(BOOL bOn) override {
        m_bEnableChanged = TRUE;
        int nIndex = static_cast<int>(m_nIndex);
        UINT nStyle = m_pBar->GetPaneStyle(nIndex);
        m_pBar->SetPaneStyle(nIndex, bOn ? (nStyle & ~SBPS_DISABLED) : (nStyle | SBPS_DISABLED));
    }
    void SetCheck(int nCheck) override {
        int nIndex = static_cast<int>(m_nIndex);
        UINT nStyle = m_pBar->GetPaneStyle(nIndex);
        m_pBar->SetPaneStyle(nIndex, nCheck ? (nStyle | SBPS_POPOUT) : (nStyle & ~SBPS_POPOUT));
    }
    void SetRadio(BOOL bOn) override { SetCheck(bOn ? 1 : 0); }
    void SetText(LPCTSTR lpszText) override {
        m_pBar->SetPaneText(static_cast<int>(m_nIndex), lpszText);
    }

private:
    CStatusBar* m_pBar;
};

} // namespace

CStatusBar::CStatusBar() = default;

CStatusBar::~CStatusBar() = default;

BOOL CStatusBar::PreCreateWindow(CREATESTRUCT& cs) {
    if (cs.lpszClass == nullptr)
        cs.lpszClass = STATUSCLASSNAMEA;
    if (!CControlBar::PreCreateWindow(cs))
        return FALSE;
    // The low word is the control's own style: the frame's layout places the
    // bar, so the control must not move or size itself.
    cs.style = (cs.style & 0xFFFF0000) | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NOMOVEY;
    return TRUE;
}

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    if (!CWnd::Create(nullptr, nullptr, dwStyle, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    // Idle updates come from the frame the bar belongs to.
    CFrameWnd* pFrame = pParentWnd->AsFrameWnd();
    if (pFrame == nullptr)
        pFrame = pParentWnd->GetParentFrame();
    if (pFrame != nullptr)
        SetOwner(pFrame);
    if (SendMessage(WM_GETFONT) == 0)
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)));
    return TRUE;
}

int CStatusBar::TextWidth(LPCTSTR lpszText) const {
    CClientDC dc(const_cast<CStatusBar*>(this));
    HGDIOBJ hOld = ::SelectObject(
        dc.GetSafeHdc(), reinterpret_cast<HGDIOBJ>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)));
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(dc.GetSafeHdc(), lpszText, lstrlenA(lpszText), &size);
    ::SelectObject(dc.GetSafeHdc(), hOld);
    return size.cx;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    if (nIDCount < 0 || nIDCount > 255 || m_hWnd == nullptr)
        return FALSE;
    m_panes.assign(static_cast<size_t>(nIDCount), SPane{ID_SEPARATOR, SBPS_NORMAL, 0, CString()});
    BOOL bResult = TRUE;
    for (int i = 0; i < nIDCount; ++i) {
        SPane& pane = m_panes[static_cast<size_t>(i)];
        pane.nID = lpIDArray != nullptr ? lpIDArray[i] : ID_SEPARATOR;
        if (pane.nID == ID_SEPARATOR) {
            pane.nStyle = SBPS_STRETCH | SBPS_NOBORDERS;
            continue;
        }
        if (!pane.strText.LoadString(pane.nID)) {
            TRACE("CStatusBar::SetIndicators: no string for indicator %u.\n", pane.nID);
            bResult = FALSE;
        }
        pane.cxText = TextWidth(pane.strText);
    }
    UpdateParts();
    for (int i = 0; i < nIDCount; ++i)
        UpdatePaneText(i);
    return bResult;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const {
    for (size_t i = 0; i < m_panes.size(); ++i) {
        if (m_panes[i].nID == nIDFind)
            return static_cast<int>(i);
    }
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount())
        return ID_SEPARATOR;
    return m_panes[static_cast<size_t>(nIndex)].nID;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    ::SetRectEmpty(lpRect);
    if (nIndex >= 0 && nIndex < GetCount())
        ::SendMessageA(m_hWnd, SB_GETRECT, static_cast<WPARAM>(nIndex),
                       reinterpret_cast<LPARAM>(lpRect));
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    const SPane& pane = m_panes[static_cast<size_t>(nIndex)];
    nID = pane.nID;
    nStyle = pane.nStyle;
    cxWidth = pane.cxText;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    SPane& pane = m_panes[static_cast<size_t>(nIndex)];
    pane.nID = nID;
    pane.nStyle = nStyle;
    pane.cxText = cxWidth;
    UpdateParts();
    UpdatePaneText(nIndex);
}

UINT CStatusBar::GetPaneStyle(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount())
        return 0;
    return m_panes[static_cast<size_t>(nIndex)].nStyle;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
    if (nIndex < 0 || nIndex >= GetCount() || m_panes[static_cast<size_t>(nIndex)].nStyle == nStyle)
        return;
    const bool bStretchChanged =
        ((m_panes[static_cast<size_t>(nIndex)].nStyle ^ nStyle) & SBPS_STRETCH) != 0;
    m_panes[static_cast<size_t>(nIndex)].nStyle = nStyle;
    if (bStretchChanged)
        UpdateParts();
    UpdatePaneText(nIndex);
}

CString CStatusBar::GetPaneText(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount())
        return CString();
    return m_panes[static_cast<size_t>(nIndex)].strText;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate) {
    if (nIndex < 0 || nIndex >= GetCount())
        return FALSE;
    m_panes[static_cast<size_t>(nIndex)].strText = lpszNewText != nullptr ? lpszNewText : "";
    UpdatePaneText(nIndex);
    if (bUpdate && m_hWnd != nullptr)
        ::UpdateWindow(m_hWnd);
    return TRUE;
}

void CStatusBar::UpdatePaneText(int nIndex) {
    if (m_hWnd == nullptr)
        return;
    const SPane& pane = m_panes[static_cast<size_t>(nIndex)];
    WPARAM wParam = static_cast<WPARAM>(nIndex) | (pane.nStyle & (SBT_NOBORDERS | SBT_POPOUT));
    LPCSTR lpszShown = (pane.nStyle & SBPS_DISABLED) ? "" : static_cast<LPCSTR>(pane.strText);
    ::SendMessageA(m_hWnd, SB_SETTEXTA, wParam, reinterpret_cast<LPARAM>(lpszShown));
}

void CStatusBar::UpdateParts() {
    if (m_hWnd == nullptr || m_panes.empty())
        return;
    int aBorders[3] = {0, 0, 0};
    ::SendMessageA(m_hWnd, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(aBorders));
    CRect rectClient;
    GetClientRect(&rectClient);
    // What the fixed panes and the least widths of the stretching ones take;
    // the stretching panes share the rest.
    int nUsed = aBorders[0], nStretch = 0;
    for (const SPane& pane : m_panes) {
        nUsed += pane.cxText + kPanePadding + aBorders[2];
        nStretch += (pane.nStyle & SBPS_STRETCH) ? 1 : 0;
    }
    const int nExtra = std::max(0, static_cast<int>(rectClient.Width()) - nUsed);
    std::vector<int> edges;
    int nRight = aBorders[0], nStretchSeen = 0;
    for (const SPane& pane : m_panes) {
        int cx = pane.cxText + kPanePadding;
        if (pane.nStyle & SBPS_STRETCH) {
            ++nStretchSeen;
            // The last stretching pane takes what the division leaves.
            cx += nStretchSeen == nStretch ? nExtra - (nExtra / nStretch) * (nStretch - 1)
                                           : nExtra / nStretch;
        }
        nRight += cx;
        edges.push_back(nRight);
        nRight += aBorders[2];
    }
    ::SendMessageA(m_hWnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < GetCount(); ++i)
        UpdatePaneText(i);
}

void CStatusBar::OnSize(UINT, int, int) {
    Default();
    UpdateParts();
}

CSize CStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
    TEXTMETRICA tm = {};
    {
        CClientDC dc(this);
        HGDIOBJ hOld =
            ::SelectObject(dc.GetSafeHdc(), reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
        ::GetTextMetricsA(dc.GetSafeHdc(), &tm);
        ::SelectObject(dc.GetSafeHdc(), hOld);
    }
    int aBorders[3] = {0, 0, 0};
    ::SendMessageA(m_hWnd, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(aBorders));
    // The text, the panes' sunken edges and the control's borders above and below.
    CRect rectInside(0, 0, 0, 0);
    CalcInsideRect(rectInside, bHorz);
    size.cy = tm.tmHeight + 2 * ::GetSystemMetrics(SM_CYEDGE) + 2 * aBorders[1] -
              (rectInside.top - rectInside.bottom);
    return size;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL /*bDisableIfNoHndler*/) {
    CStatusCmdUI state(this);
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetCount());
    for (int i = 0; i < GetCount(); ++i) {
        UINT nID = m_panes[static_cast<size_t>(i)].nID;
        if (nID == ID_SEPARATOR)
            continue; // the message line belongs to the frame's messages
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nID = nID;
        // A pane nobody updates keeps its text: never disabled for want of a handler.
        state.DoUpdate(pTarget, FALSE);
    }
}

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam) {
    return SetPaneText(0, reinterpret_cast<LPCSTR>(lParam));
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
    CString strText = GetPaneText(0);
    if (wParam == 0 || lParam == 0)
        return 0;
    auto* pszBuffer = reinterpret_cast<LPSTR>(lParam);
    lstrcpynA(pszBuffer, strText, static_cast<int>(wParam));
    return lstrlenA(pszBuffer);
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM) {
    return GetPaneText(0).GetLength();
}
