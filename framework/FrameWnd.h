// FrameWnd.h: CFrameWnd, the frame that holds views and control bars, and
// CCreateContext, what a frame needs to make its view.
//
// A frame owns its HWND and deletes itself when the window goes
// (PostNcDestroy), so frames are made with new and never destroyed by the
// caller; a failed Create or LoadFrame has already deleted the object.
//
// Layout: RecalcLayout asks every child whose id lies in the control-bar range
// (AFX_IDW_CONTROLBAR_FIRST..LAST) for its place, in z-order, with
// WM_SIZEPARENT (CWnd::RepositionBars): each bar takes its strip from the
// AFX_SIZEPARENTPARAMS rect and moves itself with AfxRepositionWindow; the pane
// AFX_IDW_PANE_FIRST (the view, or the MDI client) gets what is left, last.
//
// Commands: OnCmdMsg routes to the active view (which passes them on to its
// document), then the frame's own map, then the application. With
// m_bAutoMenuEnable a menu command nobody handles is shown disabled when its
// popup opens (OnInitMenuPopup asks every item through CCmdUI).
//
// Titles: with FWS_ADDTOTITLE the frame shows "document - app" when it has
// FWS_PREFIXTITLE (top-level frames get it by default), else "app - document";
// m_strTitle is the "app" part, from the first field of the frame's string.
// Titles follow the documents at once (no waiting for idle time).
//
// Closing (WM_CLOSE): the active document may refuse (CanCloseFrame); the main
// window asks every document through the document manager (DocTemplate.h),
// closes them all, then destroys itself.
//
// Docking (FrameWndDock.cpp, DOCKING.md): EnableDocking puts a CDockBar on
// each side asked for; DockControlBar hands a bar to one of them. Control bars
// enter m_listControlBars when made in the frame (or in its dock bars).
// DelayRecalcLayout leaves the layout to the next idle time
// (WM_IDLEUPDATECMDUI), so that many changes cost one layout.
//
// Message line: WM_SETMESSAGESTRING shows a text (lParam) or the prompt of a
// string resource (wParam; the part before its first '\n') in the frame's
// status bar (child AFX_IDW_STATUS_BAR); AFX_IDS_IDLEMESSAGE is the idle
// text ("Ready" when the program has no such string). It answers the id
// shown before.
//
// Not implemented yet: help, the prompts of menu items while a menu is open.
#pragma once

#include "AfxString.h"
#include "Geometry.h"
#include "PtrCollections.h"
#include "Wnd.h"

class CControlBar;
class CDockBar;
class CDocTemplate;
class CMiniDockFrameWnd;
class CDocument;
class CMenu;
class CView;

// Frame styles beside the window styles (they use bits Windows leaves to
// classes).
#ifndef FWS_ADDTOTITLE
#define FWS_ADDTOTITLE 0x00008000L
#endif
#ifndef FWS_PREFIXTITLE
#define FWS_PREFIXTITLE 0x00004000L
#endif
#ifndef FWS_SNAPTOBARS
#define FWS_SNAPTOBARS 0x00002000L
#endif

// Child ids with a meaning to frames.
#ifndef AFX_IDW_CONTROLBAR_FIRST
#define AFX_IDW_CONTROLBAR_FIRST 0xE800
#define AFX_IDW_CONTROLBAR_LAST 0xE8FF
#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDW_STATUS_BAR 0xE801
#define AFX_IDW_DOCKBAR_TOP 0xE81B
#define AFX_IDW_DOCKBAR_LEFT 0xE81C
#define AFX_IDW_DOCKBAR_RIGHT 0xE81D
#define AFX_IDW_DOCKBAR_BOTTOM 0xE81E
#define AFX_IDW_DOCKBAR_FLOAT 0xE81F
#endif
// The string shown in the message line while nothing else is.
#ifndef AFX_IDS_IDLEMESSAGE
#define AFX_IDS_IDLEMESSAGE 0xE001
#endif

#ifndef AFX_IDW_PANE_FIRST
#define AFX_IDW_PANE_FIRST 0xE900
#define AFX_IDW_PANE_LAST 0xE9FF
#endif

// Sent to every descendant of a new frame once its document and view exist.
#ifndef WM_INITIALUPDATE
#define WM_INITIALUPDATE 0x0364
#endif

// The window style of a view inside a frame.
#ifndef AFX_WS_DEFAULT_VIEW
#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)
#endif

// What a frame needs to make its view: handed through CreateEx's lParam to the
// frame's WM_CREATE and on to the view's.
struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr; // the view to make, or null
    CDocument* m_pCurrentDoc = nullptr;       // not owned: the view's document
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

// The CreateEx arguments for a frame rectangle (rectDefault: all CW_USEDEFAULT).
void AfxFrameCreateRect(const RECT& rect, int& x, int& y, int& cx, int& cy);

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    // Lets Windows choose the place and size.
    static const CRect rectDefault;

    CFrameWnd();
    // The HWND is gone by now: frames are destroyed through their window.
    ~CFrameWnd() override;

    // Creates the frame. A menu name that cannot be loaded leaves the frame
    // without a menu. On failure the object has deleted itself.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                        DWORD dwStyle = WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                        CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
                        DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    // Creates the frame from resource nIDResource: title from the first field of
    // the string, menu, icon and accelerators of that id (each optional).
    virtual BOOL LoadFrame(UINT nIDResource,
                           DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    // Makes a view of pContext->m_pNewViewClass as child nID; null on failure.
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

    CView* GetActiveView() const { return m_pViewActive; }
    // Tells the old and the new view (OnActivateView) when bNotify is set.
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    // The frame whose view is active: this one; the MDI frame answers its child.
    virtual CFrameWnd* GetActiveFrame();

    // Lays out the control bars, then the pane (CWnd::RepositionBars).
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // Lays out at the next idle time instead.
    void DelayRecalcLayout(BOOL bNotify = TRUE);

    // ---- Docking of control bars.
    // Makes a dock bar for each side in dwDockStyle (CBRS_ALIGN_*) that has
    // none; floating frames become CMiniDockFrameWnd unless a class is set.
    void EnableDocking(DWORD dwDockStyle);
    // The same with dock bars of pDockBarClass (a CDockBar made dynamically),
    // such as the toolkit's sizeable dock bars.
    void EnableDocking(DWORD dwDockStyle, CRuntimeClass* pDockBarClass);
    // Docks pBar into dock bar nDockBarID (AFX_IDW_DOCKBAR_*), or with 0 into
    // the first of top, bottom, left, right that the bar's dock style allows;
    // lpRect (screen) picks the row and place. A side the bar may not dock on
    // is refused (asserted, traced).
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
    // Floats pBar in a floating frame whose window's top-left is point
    // (screen); dwStyle's CBRS_ALIGN_TOP or CBRS_ALIGN_LEFT lays it out
    // horizontally or vertically. A bar alone in a floating frame moves with
    // it (and the frame turns when dwStyle names the other orientation). The
    // bar's old dock bar keeps its place holder and lays out at idle time.
    void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle);
    // A floating frame of m_pFloatingFrameClass owned by this frame; null on failure.
    CMiniDockFrameWnd* CreateFloatingFrame(DWORD dwStyle);
    // Shows or hides pBar at the next layout: now (bDelay FALSE) or at idle time.
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    // The control bar (or dock bar) of this frame with child id nID, else null.
    CControlBar* GetControlBar(UINT nID);
    // The side (CBRS_ALIGN_*) among dwDockStyle's whose visible dock bar
    // touches rect (screen), 0 when none does; *ppDockBar gets that dock bar.
    // An empty dock bar counts as a strip of twice the border inside the client
    // area, so a side without bars can still be hit.
    DWORD CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar = nullptr);

    // Shows the frame (nCmdShow -1: as it should first appear) and brings it up.
    virtual void ActivateFrame(int nCmdShow = -1);
    // After a document and its view are made: picks the active view, sends
    // WM_INITIALUPDATE to the descendants and shows the frame.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);

    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    void UpdateFrameTitleForDocument(LPCTSTR lpszDocName);
    // Shows hMenuAlt, or the menu that fits the active document, or the default.
    virtual void OnUpdateFrameMenu(HMENU hMenuAlt);
    virtual HACCEL GetDefaultAccelerator();
    // The message-line prompt of command or string nID: its string resource up
    // to the first '\n'; empty when there is none.
    virtual void GetMessageString(UINT nID, CString& rMessage) const;

    void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
    CString GetTitle() const { return m_strTitle; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    CFrameWnd* AsFrameWnd() override { return this; }

    // Disable menu commands without a handler when their popup opens.
    BOOL m_bAutoMenuEnable;
    // The window number among the frames of one document (":2"); 0 alone.
    int m_nWindow;
    HMENU
    m_hMenuDefault;       // owned by the window: the menu shown without a document
    HACCEL m_hAccelTable; // the frame's accelerators (freed with the module)
    UINT m_nIDHelp;       // the resource id the frame was loaded from
    CRect m_rectBorder;   // space kept around the pane (reposExtra)
    // The frame class of floating control bars (set by docking frames).
    CRuntimeClass* m_pFloatingFrameClass;
    // Not owned: the control bars made in this frame (CControlBar*), dock bars
    // included; each bar enters at its WM_CREATE and leaves at its WM_DESTROY.
    CPtrList m_listControlBars;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Deletes the object: frames are always made with new.
    void PostNcDestroy() override;
    // Makes the view named by pContext; an override makes other clients.
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    // The part of WM_CREATE that MDI children share: client, layout, title.
    int OnCreateHelper(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    // Offers the command to the active view, then this frame, then (unless a
    // parent frame is routing it) the application.
    BOOL RouteCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);

    enum IdleFlags { idleLayout = 0x1 };
    UINT m_nIdleFlags; // work left for the next idle time

    CView* m_pViewActive; // not owned: the view that gets commands first, or null
    CString m_strTitle;   // the frame's own part of the title
    // Set by a parent frame while it routes a command through this one, so that
    // the application is offered the command once, by the parent.
    BOOL m_bRoutedByParent;
    UINT m_nIDLastMessage; // the string id the message line shows, 0 for a text
    // Points at the caller's flag while Create runs: set when the object deletes
    // itself, so Create knows not to touch it.
    bool* m_pbDeleted;

    friend class CMDIFrameWnd;
    DECLARE_MESSAGE_MAP()
};
