// MDIFrameWnd.h: CMDIFrameWnd, the main frame of a multiple-document
// application with its MDI client, and CMDIChildWnd, the frame of one document
// inside it.
//
// The MDI client ("mdiclient", id AFX_IDW_PANE_FIRST) is the frame's pane: it
// takes the space the control bars leave. Each child is created through
// CreateWindowEx with WS_EX_MDICHILD, which puts it in the client's window
// list. Default processing goes to DefFrameProc (frame) and DefMDIChildProc
// (child), so the system keeps the window menu, maximised-child buttons and
// activation.
//
// Menus: the frame shows its own menu (m_hMenuDefault) while no child is active
// and the active child's shared menu (its template's) otherwise; the window
// list is kept in the popup that holds the Window commands
// (GetWindowMenuPopup).
//
// Commands go to the active child first (its view, the view's document, the
// child frame), then to the frame, then to the application.
#pragma once

#include "FrameWnd.h"

class CMDIChildWnd;

// The Window commands and the first id of the window list.
#ifndef ID_WINDOW_NEW
#define ID_WINDOW_NEW 0xE130
#define ID_WINDOW_ARRANGE 0xE131
#define ID_WINDOW_CASCADE 0xE132
#define ID_WINDOW_TILE_HORZ 0xE133
#define ID_WINDOW_TILE_VERT 0xE134
#endif
#ifndef AFX_IDM_WINDOW_FIRST
#define AFX_IDM_WINDOW_FIRST 0xE130
#define AFX_IDM_WINDOW_LAST 0xE13F
#endif
#ifndef AFX_IDM_FIRST_MDICHILD
#define AFX_IDM_FIRST_MDICHILD 0xFF00
#endif

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd();

    // Makes the MDI client with pWindowMenu as the popup of the window list.
    virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu);
    // The popup of hMenuBar that holds a Window command (searched from the
    // right), or null.
    virtual HMENU GetWindowMenuPopup(HMENU hMenuBar);

    // The active child, or null; *pbMaximized tells whether it is maximised.
    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIActivate(CWnd* pWndActivate);
    void MDINext();
    void MDIMaximize(CWnd* pWnd);
    void MDIRestore(CWnd* pWnd);
    void MDICascade(int nType = 0);
    void MDITile(int nType = MDITILE_HORIZONTAL);
    void MDIIconArrange();
    // Shows hFrameMenu with hWindowMenu as its window list; the previous menu.
    HMENU MDISetMenu(HMENU hFrameMenu, HMENU hWindowMenu);

    CFrameWnd* GetActiveFrame() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // The active child's translation, then the frame's accelerators, then the
    // system's MDI keys (Ctrl+F6, Ctrl+F4).
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    void OnUpdateFrameMenu(HMENU hMenuAlt) override;

    HWND m_hWndMDIClient; // the client window, a child of the frame (destroyed
                          // with it)

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnDestroy();
    afx_msg BOOL OnMDIWindowCmd(UINT nID);
    afx_msg void OnUpdateMDIWindowCmd(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    CMDIChildWnd();

    // Creates the child in pParentWnd's MDI client (the main window when null).
    // On failure the object has deleted itself.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CMDIFrameWnd* pParentWnd = nullptr,
                        CCreateContext* pContext = nullptr);
    // Title from the resource string, icon of the id, and the menu and
    // accelerators of the context's template (shared, not owned).
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    // Closes through the MDI client, which activates the next child.
    BOOL DestroyWindow() override;

    CMDIFrameWnd* GetMDIFrame() const;
    void MDIActivate();
    void MDIDestroy();
    void MDIMaximize();
    void MDIRestore();

    void ActivateFrame(int nCmdShow = -1) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    // Puts this child's menu on the frame when it becomes active, the frame's
    // own back when the last child goes.
    virtual void OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt);
    using CFrameWnd::OnUpdateFrameMenu;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Not owned: the template's menu shown while the child is active. The
    // template's accelerators are in m_hAccelTable, likewise not owned.
    HMENU m_hMenuShared;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);

    // The context of the running Create: an MDI child's creation parameters are
    // the system's, so the context travels here.
    CCreateContext* m_pCreateContext;

    DECLARE_MESSAGE_MAP()
};
