// MDIFrameWnd.cpp: CMDIFrameWnd and CMDIChildWnd.
#include "MDIFrameWnd.h"

#include "AfxResource.h"
#include "CmdUI.h"
#include "DocTemplate.h"
#include "Document.h"
#include "Menu.h"
#include "View.h"
#include "WinApp.h"

// ---------------------------------------------------------------------------
// CMDIFrameWnd

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
    ON_WM_DESTROY()
    ON_COMMAND_EX_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT, &CMDIFrameWnd::OnMDIWindowCmd)
    ON_UPDATE_COMMAND_UI_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT,
                               &CMDIFrameWnd::OnUpdateMDIWindowCmd)
END_MESSAGE_MAP()
// clang-format on

CMDIFrameWnd::CMDIFrameWnd() : m_hWndMDIClient(nullptr) {}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* /*pContext*/) {
    // The menu is on the window already; m_hMenuDefault is set after creation.
    HMENU hWindowMenu = GetWindowMenuPopup(::GetMenu(m_hWnd));
    return CreateClient(lpcs, hWindowMenu != nullptr ? CMenu::FromHandle(hWindowMenu) : nullptr);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu) {
    ASSERT(m_hWndMDIClient == nullptr);
    CLIENTCREATESTRUCT ccs;
    ccs.hWindowMenu = pWindowMenu != nullptr ? pWindowMenu->m_hMenu : nullptr;
    ccs.idFirstChild = AFX_IDM_FIRST_MDICHILD;

    // The children keep the styles they ask for (maximised, no system menu ...).
    DWORD dwStyle = WS_VISIBLE | WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | MDIS_ALLCHILDSTYLES;
    // Scroll bars asked of the frame belong to the client.
    if (lpCreateStruct != nullptr && (lpCreateStruct->style & (WS_HSCROLL | WS_VSCROLL))) {
        dwStyle |= lpCreateStruct->style & (WS_HSCROLL | WS_VSCROLL);
        ModifyStyle(WS_HSCROLL | WS_VSCROLL, 0, SWP_NOREDRAW | SWP_FRAMECHANGED);
    }
    m_hWndMDIClient =
        ::CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr, dwStyle, 0, 0, 0, 0, m_hWnd,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)),
                          GetModuleHandleA(nullptr), &ccs);
    if (m_hWndMDIClient == nullptr) {
        TRACE("CMDIFrameWnd::CreateClient: the MDI client was not made (%lu)\n",
              static_cast<unsigned long>(GetLastError()));
        return FALSE;
    }
    ::BringWindowToTop(m_hWndMDIClient);
    return TRUE;
}

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU hMenuBar) {
    if (hMenuBar == nullptr || !::IsMenu(hMenuBar))
        return nullptr;
    for (int iItem = ::GetMenuItemCount(hMenuBar) - 1; iItem >= 0; --iItem) {
        HMENU hPopup = ::GetSubMenu(hMenuBar, iItem);
        if (hPopup == nullptr)
            continue;
        int nCount = ::GetMenuItemCount(hPopup);
        for (int i = 0; i < nCount; ++i) {
            UINT nID = ::GetMenuItemID(hPopup, i);
            if (nID >= AFX_IDM_WINDOW_FIRST && nID <= AFX_IDM_WINDOW_LAST)
                return hPopup;
        }
    }
    return nullptr;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const {
    BOOL bMaximized = FALSE;
    HWND hWnd = m_hWndMDIClient == nullptr
                    ? nullptr
                    : reinterpret_cast<HWND>(::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0,
                                                            reinterpret_cast<LPARAM>(&bMaximized)));
    CMDIChildWnd* pChild = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(hWnd));
    if (pbMaximized != nullptr)
        *pbMaximized = pChild != nullptr && bMaximized;
    return pChild;
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate) {
    ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE,
                   reinterpret_cast<WPARAM>(pWndActivate->GetSafeHwnd()), 0);
}

void CMDIFrameWnd::MDINext() {
    ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 0);
}

void CMDIFrameWnd::MDIMaximize(CWnd* pWnd) {
    ::SendMessageA(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(pWnd->GetSafeHwnd()),
                   0);
}

void CMDIFrameWnd::MDIRestore(CWnd* pWnd) {
    ::SendMessageA(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(pWnd->GetSafeHwnd()),
                   0);
}

void CMDIFrameWnd::MDICascade(int nType) {
    ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, static_cast<WPARAM>(nType), 0);
}

void CMDIFrameWnd::MDITile(int nType) {
    ::SendMessageA(m_hWndMDIClient, WM_MDITILE, static_cast<WPARAM>(nType), 0);
}

void CMDIFrameWnd::MDIIconArrange() {
    ::SendMessageA(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0);
}

HMENU CMDIFrameWnd::MDISetMenu(HMENU hFrameMenu, HMENU hWindowMenu) {
    HMENU hOld = reinterpret_cast<HMENU>(::SendMessageA(m_hWndMDIClient, WM_MDISETMENU,
                                                        reinterpret_cast<WPARAM>(hFrameMenu),
                                                        reinterpret_cast<LPARAM>(hWindowMenu)));
    ::DrawMenuBar(m_hWnd);
    return hOld;
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
    CMDIChildWnd* pActive = MDIGetActive();
    return pActive != nullptr ? static_cast<CFrameWnd*>(pActive) : this;
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    CMDIChildWnd* pActive = MDIGetActive();
    if (pActive != nullptr) {
        // The child routes through its view, document and itself; the
        // application hears of the command once, from this frame.
        BOOL bWasRouted = pActive->m_bRoutedByParent;
        pActive->m_bRoutedByParent = TRUE;
        BOOL bHandled = pActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
        pActive->m_bRoutedByParent = bWasRouted;
        if (bHandled)
            return TRUE;
    }
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg) {
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    CMDIChildWnd* pActive = MDIGetActive();
    if (pActive != nullptr && pActive->PreTranslateMessage(pMsg))
        return TRUE;
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    if (m_hAccelTable != nullptr && ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg))
        return TRUE;
    return (pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) &&
           m_hWndMDIClient != nullptr && ::TranslateMDISysAccel(m_hWndMDIClient, pMsg);
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if ((GetStyle() & FWS_ADDTOTITLE) == 0)
        return;
    // A maximised child's title is shown by the system beside the frame's
    // ("app - [doc]"), so the frame then shows its own part only.
    BOOL bMaximized = FALSE;
    CMDIChildWnd* pActive = MDIGetActive(&bMaximized);
    CDocument* pDoc = pActive != nullptr ? pActive->GetActiveDocument() : nullptr;
    if (bAddToTitle && pActive != nullptr && !bMaximized && pDoc != nullptr)
        UpdateFrameTitleForDocument(pDoc->GetTitle());
    else
        UpdateFrameTitleForDocument(nullptr);
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
    CMDIChildWnd* pActive = MDIGetActive();
    if (pActive != nullptr) {
        pActive->OnUpdateFrameMenu(TRUE, pActive, hMenuAlt);
        return;
    }
    if (hMenuAlt == nullptr)
        hMenuAlt = m_hMenuDefault;
    if (hMenuAlt != nullptr)
        MDISetMenu(hMenuAlt, GetWindowMenuPopup(hMenuAlt));
}

void CMDIFrameWnd::OnDestroy() {
    // Wine's MDI client frees its list of children when it is destroyed, and each
    // child's own WM_DESTROY then reads that list: the children go first, through
    // the client, while it is whole.
    if (m_hWndMDIClient != nullptr) {
        HWND hChild;
        while ((hChild = ::GetWindow(m_hWndMDIClient, GW_CHILD)) != nullptr) {
            ::SendMessageA(m_hWndMDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(hChild), 0);
            if (::IsWindow(hChild)) {
                TRACE("CMDIFrameWnd::OnDestroy: child %p stays\n", static_cast<void*>(hChild));
                break;
            }
        }
    }
    CFrameWnd::OnDestroy();
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

BOOL CMDIFrameWnd::OnMDIWindowCmd(UINT nID) {
    switch (nID) {
    case ID_WINDOW_ARRANGE:
        MDIIconArrange();
        break;
    case ID_WINDOW_CASCADE:
        MDICascade();
        break;
    case ID_WINDOW_TILE_HORZ:
        MDITile(MDITILE_HORIZONTAL);
        break;
    case ID_WINDOW_TILE_VERT:
        MDITile(MDITILE_VERTICAL);
        break;
    default:
        return FALSE; // ID_WINDOW_NEW and the rest of the range are not ours
    }
    return TRUE;
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* pCmdUI) {
    pCmdUI->Enable(MDIGetActive() != nullptr);
}

// ---------------------------------------------------------------------------
// CMDIChildWnd

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_MDIACTIVATE()
END_MESSAGE_MAP()
// clang-format on

CMDIChildWnd::CMDIChildWnd() : m_hMenuShared(nullptr), m_pCreateContext(nullptr) {}

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style |= WS_CHILD;
    cs.dwExStyle |= WS_EX_MDICHILD;
    return TRUE;
}

BOOL CMDIChildWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                          const RECT& rect, CMDIFrameWnd* pParentWnd, CCreateContext* pContext) {
    if (pParentWnd == nullptr)
        pParentWnd = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    if (pParentWnd == nullptr || pParentWnd->m_hWndMDIClient == nullptr) {
        TRACE("CMDIChildWnd::Create: no MDI frame to live in\n");
        PostNcDestroy();
        return FALSE;
    }
    m_strTitle = lpszWindowName != nullptr ? lpszWindowName : "";
    m_pCreateContext = pContext;

    bool bDeleted = false;
    m_pbDeleted = &bDeleted;
    int x, y, cx, cy;
    AfxFrameCreateRect(rect, x, y, cx, cy);
    BOOL bCreated = CreateEx(WS_EX_MDICHILD, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, x,
                             y, cx, cy, pParentWnd->m_hWndMDIClient, nullptr, nullptr);
    if (bDeleted)
        return FALSE;
    m_pbDeleted = nullptr;
    m_pCreateContext = nullptr;
    if (!bCreated) {
        PostNcDestroy();
        return FALSE;
    }
    return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                             CCreateContext* pContext) {
    m_nIDHelp = nIDResource;
    HINSTANCE hInst = AfxGetResourceHandle();
    CString strFull, strTitle;
    if (strFull.LoadString(nIDResource)) {
        int iEnd = strFull.Find('\n');
        strTitle = iEnd < 0 ? strFull : strFull.Left(iEnd);
    }
    // The template's menu and accelerators are what this child shows.
    CMultiDocTemplate* pTemplate =
        pContext != nullptr ? dynamic_cast<CMultiDocTemplate*>(pContext->m_pNewDocTemplate)
                            : nullptr;
    if (pTemplate != nullptr) {
        m_hMenuShared = pTemplate->m_hMenuShared;
        m_hAccelTable = pTemplate->m_hAccelTable;
    }
    LPCTSTR lpszClass =
        AfxRegisterWndClass(CS_DBLCLKS, LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)),
                            reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
                            LoadIconA(hInst, MAKEINTRESOURCEA(nIDResource)));
    CMDIFrameWnd* pMDIFrame = dynamic_cast<CMDIFrameWnd*>(pParentWnd);
    if (!Create(lpszClass, strTitle, dwDefaultStyle, rectDefault, pMDIFrame, pContext))
        return FALSE; // the object is gone
    if (pContext == nullptr)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCT lpcs) {
    return OnCreateHelper(lpcs, m_pCreateContext);
}

BOOL CMDIChildWnd::DestroyWindow() {
    if (m_hWnd == nullptr)
        return FALSE;
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (pFrame == nullptr)
        return CFrameWnd::DestroyWindow();
    // The frame's title would otherwise flicker through each step of the close.
    HWND hWndFrame = pFrame->m_hWnd;
    DWORD dwStyle = static_cast<DWORD>(::GetWindowLongA(hWndFrame, GWL_STYLE));
    ::SetWindowLongA(hWndFrame, GWL_STYLE, static_cast<LONG>(dwStyle & ~FWS_ADDTOTITLE));
    MDIDestroy();
    if (::IsWindow(hWndFrame)) {
        ::SetWindowLongA(hWndFrame, GWL_STYLE, static_cast<LONG>(dwStyle));
        pFrame->OnUpdateFrameTitle(TRUE);
    }
    return TRUE;
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const {
    HWND hWndClient = ::GetParent(m_hWnd);
    return dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandlePermanent(::GetParent(hWndClient)));
}

void CMDIChildWnd::MDIActivate() {
    if (CMDIFrameWnd* pFrame = GetMDIFrame())
        pFrame->MDIActivate(this);
}

void CMDIChildWnd::MDIDestroy() {
    HWND hWndClient = ::GetParent(m_hWnd);
    ::SendMessageA(hWndClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIMaximize() {
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIRestore() {
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::ActivateFrame(int nCmdShow) {
    CMDIFrameWnd* pFrame = GetMDIFrame();
    BOOL bMaximized = FALSE;
    if (pFrame != nullptr)
        pFrame->MDIGetActive(&bMaximized);
    if (nCmdShow == -1 && !IsWindowVisible())
        nCmdShow = ((GetStyle() & WS_MAXIMIZE) || bMaximized) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    if (nCmdShow != -1)
        ShowWindow(nCmdShow);
    if (pFrame != nullptr && pFrame->MDIGetActive() != this)
        pFrame->MDIActivate(this);
    // Activation may have happened during creation, before the view was known.
    OnUpdateFrameMenu(TRUE, this, nullptr);
    if (pFrame != nullptr) {
        pFrame->DrawMenuBar();
        pFrame->OnUpdateFrameTitle(TRUE);
    }
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if (CMDIFrameWnd* pFrame = GetMDIFrame())
        pFrame->OnUpdateFrameTitle(bAddToTitle);
    if ((GetStyle() & FWS_ADDTOTITLE) == 0)
        return;
    // A child shows its document's name alone ("doc" or "doc:2").
    CDocument* pDoc = GetActiveDocument();
    CString text;
    if (bAddToTitle && pDoc != nullptr) {
        text = pDoc->GetTitle();
        if (m_nWindow > 0)
            text.AppendFormat(":%d", m_nWindow);
    } else {
        text = m_strTitle;
    }
    SetWindowText(text);
}

void CMDIChildWnd::OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt) {
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (pFrame == nullptr)
        return;
    if (hMenuAlt == nullptr)
        hMenuAlt = m_hMenuShared;
    if (hMenuAlt != nullptr && bActivate) {
        pFrame->MDISetMenu(hMenuAlt, pFrame->GetWindowMenuPopup(hMenuAlt));
    } else if (!bActivate && pActivateWnd == nullptr && pFrame->m_hMenuDefault != nullptr) {
        // The last child is going: the frame's own menu comes back.
        pFrame->MDISetMenu(pFrame->m_hMenuDefault,
                           pFrame->GetWindowMenuPopup(pFrame->m_hMenuDefault));
    } else {
        ::SendMessageA(pFrame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
        pFrame->DrawMenuBar();
    }
}

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* /*pDeactivateWnd*/) {
    CFrameWnd::OnMDIActivate(bActivate, pActivateWnd, nullptr);
    OnUpdateFrameMenu(bActivate, bActivate ? this : pActivateWnd, nullptr);
    if (CView* pView = GetActiveView()) {
        pView->OnActivateFrame(bActivate ? WA_ACTIVE : WA_INACTIVE, this);
        pView->OnActivateView(bActivate, pView, pView);
    }
    if (bActivate) {
        if (CMDIFrameWnd* pFrame = GetMDIFrame())
            pFrame->OnUpdateFrameTitle(TRUE);
    }
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG* pMsg) {
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST || m_hAccelTable == nullptr)
        return FALSE;
    // The commands go to the MDI frame, which routes them back through the child.
    CMDIFrameWnd* pFrame = GetMDIFrame();
    return pFrame != nullptr && ::TranslateAcceleratorA(pFrame->m_hWnd, m_hAccelTable, pMsg);
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefMDIChildProcA(m_hWnd, message, wParam, lParam);
}
