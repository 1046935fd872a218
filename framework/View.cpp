// View.cpp: CView and CFormView.
#include "View.h"

#include "AfxResource.h"
#include "Dc.h"
#include "Document.h"

#include <cstring>
#include <vector>

// ---------------------------------------------------------------------------
// CView

IMPLEMENT_DYNAMIC(CView, CWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_MOUSEACTIVATE()
    ON_MESSAGE(WM_INITIALUPDATE, &CView::OnInitialUpdateMessage)
END_MESSAGE_MAP()
// clang-format on

CView::CView() : m_pDocument(nullptr), m_pbDeleted(nullptr) {}

CView::~CView() {
    if (m_pDocument != nullptr)
        m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs) {
    if (cs.lpszClass == nullptr) {
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                           LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    }
    // A view's border is drawn as a sunken client edge, as views look in frames.
    if (cs.style & WS_BORDER) {
        cs.dwExStyle |= WS_EX_CLIENTEDGE;
        cs.style &= ~WS_BORDER;
    }
    cs.style |= WS_CLIPSIBLINGS;
    return CWnd::PreCreateWindow(cs);
}

void CView::PostNcDestroy() {
    if (m_pbDeleted != nullptr)
        *m_pbDeleted = true;
    delete this;
}

void CView::AttachToContext(CCreateContext* pContext) {
    if (pContext != nullptr && pContext->m_pCurrentDoc != nullptr && m_pDocument == nullptr)
        pContext->m_pCurrentDoc->AddView(this);
}

int CView::OnCreate(LPCREATESTRUCT lpcs) {
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    AttachToContext(static_cast<CCreateContext*>(lpcs->lpCreateParams));
    return 0;
}

void CView::OnDestroy() {
    // The frame must not keep routing commands to a view that is going.
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr && pFrame->GetActiveView() == this)
        pFrame->SetActiveView(nullptr, FALSE);
    CWnd::OnDestroy();
}

void CView::OnPaint() {
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

void CView::OnPrepareDC(CDC* /*pDC*/) {}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
    int nResult = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT)
        return nResult;
    // A click in a view makes it the one that gets commands.
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr) {
        HWND hWndFocus = ::GetFocus();
        if (pFrame->GetActiveView() == this && hWndFocus != m_hWnd && !::IsChild(m_hWnd, hWndFocus))
            OnActivateView(TRUE, this, this);
        else
            pFrame->SetActiveView(this);
    }
    return nResult;
}

LRESULT CView::OnInitialUpdateMessage(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    OnInitialUpdate();
    return 0;
}

void CView::OnInitialUpdate() {
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView* /*pSender*/, LPARAM /*lHint*/, CObject* /*pHint*/) {
    Invalidate(TRUE);
}

void CView::OnActivateView(BOOL bActivate, CView* /*pActivateView*/, CView* /*pDeactiveView*/) {
    if (!bActivate)
        return;
    // Take the focus only when this view's frame is the one the user works in.
    CFrameWnd* pFrame = GetParentFrame();
    CFrameWnd* pTop = GetTopLevelFrame();
    if (pFrame != nullptr && pTop != nullptr && pTop->GetActiveFrame() == pFrame &&
        ::GetActiveWindow() == pTop->m_hWnd)
        SetFocus();
}

void CView::OnActivateFrame(UINT /*nState*/, CFrameWnd* /*pFrameWnd*/) {}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---------------------------------------------------------------------------
// CFormView

namespace {

// The form's dialog procedure does nothing: the view's map and DefDlgProc (the
// procedure it subclasses) answer everything.
INT_PTR CALLBACK FormDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// Window styles a child form cannot keep from a template written as a dialog.
const DWORD kNotForChildForm = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE |
                               WS_DISABLED | WS_BORDER | DS_MODALFRAME | WS_MINIMIZEBOX |
                               WS_MAXIMIZEBOX;

// Offsets of the style words in the two template layouts.
const size_t kDlgTemplateStyle = 0; // DLGTEMPLATE: style, then extended style
const size_t kDlgTemplateExStyle = 4;
const size_t kDlgTemplateExExStyle = 8; // DLGTEMPLATEEX: version, signature, help id, ...
const size_t kDlgTemplateExStyleEx = 12;
const size_t kDlgTemplateExHeader = 16;

} // namespace

IMPLEMENT_DYNAMIC(CFormView, CView)

// clang-format off
BEGIN_MESSAGE_MAP(CFormView, CView)
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()
// clang-format on

CFormView::CFormView(UINT nIDTemplate)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_hWndFocus(nullptr) {}

BOOL CFormView::Create(LPCTSTR /*lpszClassName*/, LPCTSTR /*lpszWindowName*/, DWORD dwStyle,
                       const RECT& rect, CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
    ASSERT(m_hWnd == nullptr);
    if (m_hWnd != nullptr || pParentWnd == nullptr)
        return FALSE;
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRes = FindResourceA(hInst, m_lpszTemplateName, RT_DIALOG);
    HGLOBAL hData = hRes != nullptr ? LoadResource(hInst, hRes) : nullptr;
    const BYTE* pData = hData != nullptr ? static_cast<const BYTE*>(LockResource(hData)) : nullptr;
    DWORD cbData = hRes != nullptr ? SizeofResource(hInst, hRes) : 0;
    if (pData == nullptr || cbData < kDlgTemplateExHeader) {
        TRACE("CFormView::Create: no dialog template\n");
        return FALSE;
    }

    // A writable copy whose styles make a child of the frame.
    std::vector<BYTE> tmpl(pData, pData + cbData);
    bool bExtended = tmpl[2] == 0xFF && tmpl[3] == 0xFF;
    size_t offStyle = bExtended ? kDlgTemplateExStyleEx : kDlgTemplateStyle;
    size_t offExStyle = bExtended ? kDlgTemplateExExStyle : kDlgTemplateExStyle;
    DWORD style, exStyle;
    std::memcpy(&style, &tmpl[offStyle], sizeof style);
    std::memcpy(&exStyle, &tmpl[offExStyle], sizeof exStyle);
    style = (style & ~kNotForChildForm) | WS_CHILD | WS_CLIPSIBLINGS;
    if (dwStyle & WS_BORDER)
        exStyle |= WS_EX_CLIENTEDGE;
    std::memcpy(&tmpl[offStyle], &style, sizeof style);
    std::memcpy(&tmpl[offExStyle], &exStyle, sizeof exStyle);

    HWND hWnd = CreateDialogIndirectParamA(hInst, reinterpret_cast<LPCDLGTEMPLATEA>(tmpl.data()),
                                           pParentWnd->GetSafeHwnd(), &FormDialogProc, 0);
    if (hWnd == nullptr) {
        TRACE("CFormView::Create: the dialog was not made (%lu)\n",
              static_cast<unsigned long>(GetLastError()));
        return FALSE;
    }
    if (!SubclassWindow(hWnd)) {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    CRect rectTemplate;
    GetWindowRect(&rectTemplate);
    m_sizeTemplate = rectTemplate.Size();

    SetDlgCtrlID(static_cast<int>(nID));
    AttachToContext(pContext);
    ::SetWindowPos(m_hWnd, nullptr, rect.left, rect.top, rect.right - rect.left,
                   rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (dwStyle & WS_VISIBLE)
        ShowWindow(SW_SHOWNORMAL);
    return TRUE;
}

void CFormView::OnInitialUpdate() {
    if (!UpdateData(FALSE))
        TRACE("CFormView::OnInitialUpdate: UpdateData failed\n");
    CView::OnInitialUpdate();
}

void CFormView::OnDraw(CDC* /*pDC*/) {}

BOOL CFormView::PreTranslateMessage(MSG* pMsg) {
    if (CView::PreTranslateMessage(pMsg))
        return TRUE;
    // The frames' accelerators before the dialog keys, which would eat them.
    for (CFrameWnd* pFrame = GetParentFrame(); pFrame != nullptr;
         pFrame = pFrame->GetParentFrame()) {
        if (pFrame->PreTranslateMessage(pMsg))
            return TRUE;
    }
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    if (::GetWindow(m_hWnd, GW_CHILD) == nullptr)
        return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))
        return FALSE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

void CFormView::ResizeParentToFit(BOOL bShrinkOnly) {
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == nullptr)
        return;
    CRect rectClient;
    GetClientRect(&rectClient);
    // The client area the template needs: its window size less this view's
    // borders.
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    CSize sizeBorders(rectWindow.Width() - rectClient.Width(),
                      rectWindow.Height() - rectClient.Height());
    int dx = m_sizeTemplate.cx - sizeBorders.cx - rectClient.Width();
    int dy = m_sizeTemplate.cy - sizeBorders.cy - rectClient.Height();
    if (bShrinkOnly) {
        dx = dx < 0 ? dx : 0;
        dy = dy < 0 ? dy : 0;
    }
    if (dx == 0 && dy == 0)
        return;
    CRect rectFrame;
    pFrame->GetWindowRect(&rectFrame);
    ::SetWindowPos(pFrame->m_hWnd, nullptr, 0, 0, rectFrame.Width() + dx, rectFrame.Height() + dy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CFormView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
    // Remember the control that had the focus, to give it back on return.
    if (!bActivate) {
        HWND hWndFocus = ::GetFocus();
        if (hWndFocus != nullptr && ::IsChild(m_hWnd, hWndFocus))
            m_hWndFocus = hWndFocus;
    }
    CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void CFormView::OnSetFocus(CWnd* /*pOldWnd*/) {
    if (m_hWndFocus == nullptr || !::IsWindow(m_hWndFocus) || !::IsChild(m_hWnd, m_hWndFocus))
        m_hWndFocus = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE);
    if (m_hWndFocus != nullptr)
        ::SetFocus(m_hWndFocus);
}
