// FrameWnd.cpp: CFrameWnd.
#include "FrameWnd.h"

#include "AfxResource.h"
#include "CmdUI.h"
#include "DocTemplate.h"
#include "Document.h"
#include "Menu.h"
#include "View.h"
#include "WinApp.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_INITMENUPOPUP()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CFrameWnd::OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_SETMESSAGESTRING, &CFrameWnd::OnSetMessageString)
END_MESSAGE_MAP()
// clang-format on

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

// The place and size CreateEx gets for rect: rectDefault lets the system choose,
// which its width and height would not say (they would overflow).
void AfxFrameCreateRect(const RECT& rect, int& x, int& y, int& cx, int& cy) {
    if (rect.left == CW_USEDEFAULT) {
        x = y = cx = cy = CW_USEDEFAULT;
        return;
    }
    x = rect.left;
    y = rect.top;
    cx = rect.right - rect.left;
    cy = rect.bottom - rect.top;
}

CFrameWnd::CFrameWnd()
    : m_bAutoMenuEnable(TRUE), m_nWindow(0), m_hMenuDefault(nullptr), m_hAccelTable(nullptr),
      m_nIDHelp(0), m_rectBorder(0, 0, 0, 0), m_pFloatingFrameClass(nullptr), m_nIdleFlags(0),
      m_pViewActive(nullptr), m_bRoutedByParent(FALSE), m_nIDLastMessage(0), m_pbDeleted(nullptr) {}

CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (cs.lpszClass == nullptr) {
        cs.lpszClass =
            AfxRegisterWndClass(CS_DBLCLKS, LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)),
                                reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    }
    // A top-level frame reads "document - app"; the parent decides for children.
    if ((cs.style & FWS_ADDTOTITLE) && (cs.style & WS_CHILD) == 0)
        cs.style |= FWS_PREFIXTITLE;
    return CWnd::PreCreateWindow(cs);
}

void CFrameWnd::PostNcDestroy() {
    if (m_pbDeleted != nullptr)
        *m_pbDeleted = true;
    delete this;
}

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                       const RECT& rect, CWnd* pParentWnd, LPCTSTR lpszMenuName, DWORD dwExStyle,
                       CCreateContext* pContext) {
    HMENU hMenu = nullptr;
    if (lpszMenuName != nullptr) {
        hMenu = LoadMenuA(AfxGetResourceHandle(), lpszMenuName);
        if (hMenu == nullptr)
            TRACE("CFrameWnd::Create: no menu resource, the frame has none\n");
    }
    m_strTitle = lpszWindowName != nullptr ? lpszWindowName : "";

    // The object deletes itself when a window was made and destroyed again; a
    // window that never came to be leaves it to us.
    bool bDeleted = false;
    m_pbDeleted = &bDeleted;
    int x, y, cx, cy;
    AfxFrameCreateRect(rect, x, y, cx, cy);
    BOOL bCreated = CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy,
                             pParentWnd->GetSafeHwnd(), hMenu, pContext);
    if (bDeleted) {
        if (hMenu != nullptr && !IsMenu(hMenu))
            hMenu = nullptr; // went with the window
        if (hMenu != nullptr)
            DestroyMenu(hMenu);
        return FALSE;
    }
    m_pbDeleted = nullptr;
    if (!bCreated) {
        if (hMenu != nullptr)
            DestroyMenu(hMenu);
        PostNcDestroy();
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext) {
    m_nIDHelp = nIDResource;
    HINSTANCE hInst = AfxGetResourceHandle();
    CString strFull;
    if (strFull.LoadString(nIDResource)) {
        int iEnd = strFull.Find('\n');
        m_strTitle = iEnd < 0 ? strFull : strFull.Left(iEnd);
    }
    HICON hIcon = LoadIconA(hInst, MAKEINTRESOURCEA(nIDResource));
    LPCTSTR lpszClass =
        AfxRegisterWndClass(CS_DBLCLKS, LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)),
                            reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), hIcon);
    HMENU hProbe = LoadMenuA(hInst, MAKEINTRESOURCEA(nIDResource));
    LPCTSTR lpszMenu = hProbe != nullptr ? MAKEINTRESOURCEA(nIDResource) : nullptr;
    if (hProbe != nullptr)
        DestroyMenu(hProbe);

    CString strTitle = m_strTitle;
    if (!Create(lpszClass, strTitle, dwDefaultStyle, rectDefault, pParentWnd, lpszMenu, 0L,
                pContext))
        return FALSE; // the object is gone
    m_hMenuDefault = ::GetMenu(m_hWnd);
    if (m_hAccelTable == nullptr)
        m_hAccelTable = LoadAcceleratorsA(hInst, MAKEINTRESOURCEA(nIDResource));
    // Without a context nobody else will send the first update.
    if (pContext == nullptr)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
    return OnCreateHelper(lpcs, static_cast<CCreateContext*>(lpcs->lpCreateParams));
}

int CFrameWnd::OnCreateHelper(LPCREATESTRUCT lpcs, CCreateContext* pContext) {
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    if (!OnCreateClient(lpcs, pContext)) {
        TRACE("CFrameWnd::OnCreate: the client could not be made\n");
        return -1;
    }
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT /*lpcs*/, CCreateContext* pContext) {
    if (pContext != nullptr && pContext->m_pNewViewClass != nullptr)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
    ASSERT(m_hWnd != nullptr && pContext != nullptr && pContext->m_pNewViewClass != nullptr);
    if (pContext == nullptr || pContext->m_pNewViewClass == nullptr)
        return nullptr;
    CObject* pObject = pContext->m_pNewViewClass->CreateObject();
    CWnd* pView = dynamic_cast<CWnd*>(pObject);
    if (pView == nullptr) {
        TRACE("CFrameWnd::CreateView: %s is no creatable window\n",
              pContext->m_pNewViewClass->m_lpszClassName);
        delete pObject;
        return nullptr;
    }
    // A view whose window was made and destroyed again deleted itself; one that
    // never got a window is still ours.
    CView* pAsView = dynamic_cast<CView*>(pView);
    bool bDeleted = false;
    if (pAsView != nullptr)
        pAsView->m_pbDeleted = &bDeleted;
    if (!pView->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID,
                       pContext)) {
        TRACE("CFrameWnd::CreateView: the view window was not made\n");
        if (!bDeleted)
            delete pView;
        return nullptr;
    }
    if (pAsView != nullptr)
        pAsView->m_pbDeleted = nullptr;
    return pView;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
    CView* pViewOld = m_pViewActive;
    if (pViewNew == pViewOld)
        return;
    // No view is active while the old one hears of its deactivation.
    m_pViewActive = nullptr;
    if (bNotify && pViewOld != nullptr)
        pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
    m_pViewActive = pViewNew;
    if (bNotify && pViewNew != nullptr)
        pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CDocument* CFrameWnd::GetActiveDocument() {
    CView* pView = GetActiveView();
    return pView != nullptr ? pView->GetDocument() : nullptr;
}

CFrameWnd* CFrameWnd::GetActiveFrame() {
    return this;
}

void CFrameWnd::RecalcLayout(BOOL /*bNotify*/) {
    if (m_hWnd == nullptr)
        return;
    m_nIdleFlags &= ~idleLayout;
    // Bars first, in z-order; the pane takes what they leave.
    RepositionBars(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, AFX_IDW_PANE_FIRST,
                   reposExtra, &m_rectBorder);
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
    if (nCmdShow == -1) {
        if (!IsWindowVisible())
            nCmdShow = SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    if (nCmdShow != -1)
        ShowWindow(nCmdShow);
    BringWindowToTop();
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
    // The pane becomes the active view unless the frame chose one itself.
    CView* pView = nullptr;
    if (GetActiveView() == nullptr) {
        CWnd* pWnd = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
        pView = dynamic_cast<CView*>(pWnd);
        if (pView != nullptr)
            SetActiveView(pView, FALSE);
    }
    if (bMakeVisible) {
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        if (pView != nullptr)
            pView->OnActivateFrame(WA_INACTIVE, this);
        ActivateFrame(-1);
        if (pView != nullptr)
            pView->OnActivateView(TRUE, pView, pView);
    }
    if (pDoc != nullptr)
        pDoc->UpdateFrameCounts();
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if ((GetStyle() & FWS_ADDTOTITLE) == 0)
        return;
    CDocument* pDoc = GetActiveDocument();
    UpdateFrameTitleForDocument(bAddToTitle && pDoc != nullptr ? pDoc->GetTitle().GetString()
                                                               : nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCTSTR lpszDocName) {
    CString doc;
    if (lpszDocName != nullptr && *lpszDocName != '\0') {
        doc = lpszDocName;
        if (m_nWindow > 0)
            doc.AppendFormat(":%d", m_nWindow);
    }
    CString title;
    if (doc.IsEmpty())
        title = m_strTitle;
    else if (m_strTitle.IsEmpty())
        title = doc;
    else if (GetStyle() & FWS_PREFIXTITLE)
        title = doc + " - " + m_strTitle;
    else
        title = m_strTitle + " - " + doc;
    SetWindowText(title);
}

void CFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
    if (hMenuAlt == nullptr) {
        // The menu of the active document's template, else the frame's own.
        CDocument* pDoc = GetActiveDocument();
        CMultiDocTemplate* pTemplate =
            pDoc != nullptr ? dynamic_cast<CMultiDocTemplate*>(pDoc->GetDocTemplate()) : nullptr;
        if (pTemplate != nullptr)
            hMenuAlt = pTemplate->m_hMenuShared;
    }
    if (hMenuAlt == nullptr)
        hMenuAlt = m_hMenuDefault;
    if (hMenuAlt != nullptr && ::GetMenu(m_hWnd) != hMenuAlt)
        ::SetMenu(m_hWnd, hMenuAlt);
}

HACCEL CFrameWnd::GetDefaultAccelerator() {
    CDocument* pDoc = GetActiveDocument();
    CMultiDocTemplate* pTemplate =
        pDoc != nullptr ? dynamic_cast<CMultiDocTemplate*>(pDoc->GetDocTemplate()) : nullptr;
    if (pTemplate != nullptr && pTemplate->m_hAccelTable != nullptr)
        return pTemplate->m_hAccelTable;
    return m_hAccelTable;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    HACCEL hAccel = GetDefaultAccelerator();
    return hAccel != nullptr && ::TranslateAcceleratorA(m_hWnd, hAccel, pMsg);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    return RouteCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::RouteCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    CView* pView = GetActiveView();
    if (pView != nullptr && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (m_bRoutedByParent)
        return FALSE;
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFrameWnd::OnDestroy() {
    // The shown menu is destroyed with the window: put the frame's own back, so
    // a template's shared menu survives its frames. A frame whose menu lives
    // elsewhere (a menu bar) shows none and gets none.
    HMENU hMenuShown = ::GetMenu(m_hWnd);
    if (m_hMenuDefault != nullptr && hMenuShown != nullptr && hMenuShown != m_hMenuDefault)
        ::SetMenu(m_hWnd, m_hMenuDefault);
    m_pViewActive = nullptr;
    CWnd::OnDestroy();
}

void CFrameWnd::OnClose() {
    // Only the active document is asked here; the others when the application
    // closes them below.
    CDocument* pDoc = GetActiveDocument();
    if (pDoc != nullptr && !pDoc->CanCloseFrame(this))
        return;
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this) {
        if (pDoc == nullptr && !AfxGetDocManager()->SaveAllModified())
            return;
        AfxGetDocManager()->CloseAllDocuments(FALSE);
        // Closing the documents may have taken this window along.
        if (pApp->m_pMainWnd == nullptr)
            return;
    }
    if (pDoc != nullptr && pDoc->m_bAutoDelete) {
        // The document's last frame: closing the document destroys this frame.
        bool bOtherFrame = false;
        POSITION pos = pDoc->GetFirstViewPosition();
        while (pos != nullptr) {
            CView* pView = pDoc->GetNextView(pos);
            if (pView->GetParentFrame() != this)
                bOtherFrame = true;
        }
        if (!bOtherFrame) {
            pDoc->OnCloseDocument();
            return;
        }
        pDoc->PreCloseFrame(this);
    }
    DestroyWindow();
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
    // The focus belongs in the active view.
    if (m_pViewActive != nullptr)
        m_pViewActive->SetFocus();
    else
        CWnd::OnSetFocus(pOldWnd);
}

void CFrameWnd::OnInitMenuPopup(CMenu* pMenu, UINT /*nIndex*/, BOOL bSysMenu) {
    if (bSysMenu || pMenu == nullptr)
        return;
    CCmdUI state;
    state.m_pMenu = pMenu;
    state.m_nIndexMax = static_cast<UINT>(pMenu->GetMenuItemCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = pMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID == 0)
            continue; // separator
        if (state.m_nID == static_cast<UINT>(-1)) {
            // A submenu is updated as its first item; it is never disabled for
            // want of a handler.
            state.m_pSubMenu = pMenu->GetSubMenu(static_cast<int>(state.m_nIndex));
            if (state.m_pSubMenu == nullptr)
                continue;
            state.m_nID = state.m_pSubMenu->GetMenuItemID(0);
            if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1))
                continue;
            state.DoUpdate(this, FALSE);
        } else {
            state.m_pSubMenu = nullptr;
            state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
        }
        // A handler may have added or removed items: keep the walk on the next one.
        UINT nCount = static_cast<UINT>(pMenu->GetMenuItemCount());
        if (nCount < state.m_nIndexMax) {
            state.m_nIndex -= state.m_nIndexMax - nCount;
            while (state.m_nIndex < nCount &&
                   pMenu->GetMenuItemID(static_cast<int>(state.m_nIndex)) == state.m_nID)
                ++state.m_nIndex;
        }
        state.m_nIndexMax = nCount;
    }
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
    rMessage.Empty();
    CString strFull;
    if (!strFull.LoadString(nID))
        return;
    int nNewLine = strFull.Find('\n');
    rMessage = nNewLine >= 0 ? strFull.Left(nNewLine) : strFull;
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
    const UINT nIDLast = m_nIDLastMessage;
    const UINT nID = static_cast<UINT>(wParam);
    m_nIDLastMessage = lParam != 0 ? 0 : nID;
    HWND hMessageBar = ::GetDlgItem(m_hWnd, AFX_IDW_STATUS_BAR);
    if (hMessageBar == nullptr)
        return nIDLast;
    CString strMessage;
    if (lParam != 0) {
        strMessage = reinterpret_cast<LPCTSTR>(lParam);
    } else if (nID != 0) {
        GetMessageString(nID, strMessage);
        if (strMessage.IsEmpty() && nID == AFX_IDS_IDLEMESSAGE)
            strMessage = "Ready";
    }
    ::SetWindowTextA(hMessageBar, strMessage);
    ::UpdateWindow(hMessageBar);
    return nIDLast;
}
