// PlayerBar.cpp: the Player Panel, its host frame and its fixed height.
#include "PlayerBar.h"

#include "framework/WinApp.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CPlayerBar, COXSizeControlBar)
ON_WM_CREATE()
ON_WM_SIZE()
END_MESSAGE_MAP()

CPlayerBar::CPlayerBar()
    : COXSizeControlBar(SCBS_CONTEXTMENU),
      m_pHostFrame(static_cast<CFrameWnd*>(RUNTIME_CLASS(CFrameWnd)->CreateObject())),
      m_hHostFrame(nullptr), m_bHostFrameTried(false) {}

CPlayerBar::~CPlayerBar() {
    if (!m_bHostFrameTried)
        delete m_pHostFrame;
}

BOOL CPlayerBar::Create(CWnd* pParent, CRuntimeClass* pViewClass, CCreateContext* pContext,
                        LPCTSTR lpszTitle, DWORD dwStyle, UINT nID) {
    if (pContext != nullptr) {
        m_context = *pContext;
    } else {
        m_context = CCreateContext();
        m_context.m_pCurrentFrame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    }
    m_context.m_pNewViewClass = pViewClass;
    // The player offers nothing to hide or float through a menu of the bar.
    m_dwSizeBarStyle &= ~SCBS_CONTEXTMENU;
    return COXSizeControlBar::Create(pParent, lpszTitle, nID, dwStyle,
                                     CRect(0, 0, kMinWidth, kHeight));
}

CFrameWnd* CPlayerBar::GetHostFrame() const {
    return (m_hHostFrame != nullptr && ::IsWindow(m_hHostFrame)) ? m_pHostFrame : nullptr;
}

int CPlayerBar::OnCreate(LPCREATESTRUCT lpcs) {
    if (COXSizeControlBar::OnCreate(lpcs) == -1)
        return -1;
    if (m_pHostFrame == nullptr || m_bHostFrameTried)
        return -1;
    m_bHostFrameTried = true;
    // On failure the frame object has deleted itself.
    if (!m_pHostFrame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                              CRect(0, 0, kMinWidth, kHeight), this, nullptr, 0, &m_context)) {
        m_pHostFrame = nullptr;
        return -1;
    }
    m_hHostFrame = m_pHostFrame->GetSafeHwnd();
    return 0;
}

void CPlayerBar::OnSize(UINT nType, int cx, int cy) {
    COXSizeControlBar::OnSize(nType, std::max(cx, kMinWidth), std::max(cy, kHeight));
    if (CFrameWnd* pFrame = GetHostFrame()) {
        CRect rcClient;
        GetClientRect(&rcClient);
        pFrame->MoveWindow(&rcClient, TRUE);
    }
}

CSize CPlayerBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
    CSize size = COXSizeControlBar::CalcDynamicLayout(nLength, dwMode);
    size.cy = kHeight;
    size.cx = std::max<LONG>(size.cx, kMinWidth);
    return size;
}
