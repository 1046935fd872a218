// OXSizeCtrlBar.h: COXSizeControlBar, the resizable docking bar: a size of its
// own for each docking state, a caption with close and maximise/restore
// buttons painted by the dock-bar skin, an active state that follows the
// focus, a context menu, and a live caption drag that floats the bar or docks
// it into a sizeable dock bar (where bars may share one place as tabs).
//
// Classes: COXSizeControlBar; IsSizeControlBar.
//
// The caption and its buttons lie in the non-client area; their rectangles
// (m_rectCaption, m_rectCloseBtn, m_rectResizeBtn) are in client coordinates
// and so negative, filled by the skin's LayoutCaption. A docked bar answers
// HTCLIENT over its whole window, so presses on the caption arrive as client
// mouse messages.
//
// A shared mouse hook (installed by the first bar created, counted per user so
// that it stays while any bar lives) redraws the caption buttons of the bar
// the cursor has left; it always passes the event on to the next hook.
#pragma once

#include "framework/ControlBar.h"
#include "framework/PtrCollections.h"

class COXDockbarSkin;
class COXDockTabCtrl;

// Style word of a sizeable bar (m_dwSizeBarStyle).
#define SCBS_DELETEONCLOSE 0x0001
#define SCBS_AUTODELETE 0x0002
#define SCBS_CONTEXTMENU 0x0004
#define SCBS_NOCAPTION 0x0020
#define SCBS_NOCLOSEBTN 0x0040
#define SCBS_NORESIZEBTN 0x0080
#define SCBS_NOCAPTIONTEXT 0x0100
#define SCBS_SOLIDCAPTION 0x0200

// Asked of the application's main window: non-zero allows caption dragging
// and bars that share a place as tabs.
#define WM_QUERYTABDOCKING 0x045C
// lParam: a menu handle to fill with the bar's context-menu items; result 1.
#define WM_SIZEBAR_FILLCONTEXTMENU 0x80CC
// Sent by the drag context after it floated the bar; result 1.
#define WM_SIZEBAR_FLOATED 0x80CD

// Commands (and string resources) of the bar's context menu.
#define ID_SIZEBAR_ALLOWDOCKING 26431
#define ID_SIZEBAR_HIDE 26432
// String resource: the status prompt while a bar that docks anywhere is dragged.
#define ID_SIZEBAR_DRAGPROMPT 26430

// Docking state last told to OnBarSizeChanged (m_nLastFloatState); the first
// two are the BOOL it is told.
#define OX_SIZEBAR_DOCKED 0
#define OX_SIZEBAR_FLOATING 1
#define OX_SIZEBAR_NOT_YET_SHOWN 3

// Pressed caption button (m_nPressedButton).
#define OX_SIZEBAR_NOBUTTON (-1)
#define OX_SIZEBAR_RESIZEBTN (-2)
#define OX_SIZEBAR_CLOSEBTN (-3)

class COXSizeControlBar : public CControlBar {
    DECLARE_DYNAMIC(COXSizeControlBar)
public:
    explicit COXSizeControlBar(DWORD dwSizeBarStyle = 0);
    // Leaves the auto-delete list, deletes the dock context and m_pOwnSkin.
    ~COXSizeControlBar() override;

    // A child bar of pParentWnd; the default frame rectangle takes the right
    // half and bottom quarter of the parent's client area.
    BOOL Create(CWnd* pParentWnd, LPCTSTR lpszTitle, UINT nID,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                const RECT& rect = CFrameWnd::rectDefault);
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr) override;

    // Sides the bar may dock on; makes its COXDragDockContext.
    void EnableDocking(DWORD dwDockStyle);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    // ---- Overridables.
    virtual BOOL CanResize();
    virtual void PaintNonClientArea();
    // nMask: 1 the size changed, 2 the floating state changed.
    virtual void OnBarSizeChanged(int nWidth, int nHeight, BOOL bFloating, int nMask);
    virtual BOOL DrawCaptionArea(CDC* pDC);
    virtual BOOL DrawCloseButton(CDC* pDC);
    virtual BOOL DrawResizeButton(CDC* pDC);

    void SetActive(BOOL bActive, BOOL bDeactivateOthers);
    BOOL IsActive() const { return m_bActive; }
    BOOL HasGripper() const { return (m_dwSizeBarStyle & SCBS_NOCAPTION) == 0; }
    BOOL HasCloseButton() const { return (m_dwSizeBarStyle & SCBS_NOCLOSEBTN) == 0; }
    BOOL HasResizeButton() const { return (m_dwSizeBarStyle & SCBS_NORESIZEBTN) == 0; }
    BOOL ShowsCaptionText() const { return (m_dwSizeBarStyle & SCBS_NOCAPTIONTEXT) == 0; }
    BOOL HasSolidCaption() const { return (m_dwSizeBarStyle & SCBS_SOLIDCAPTION) != 0; }
    void SetMaximizedState(BOOL bMaximized);
    void ShowBar(BOOL bShow);
    BOOL IsBarFloating() const;
    // Frames the client area with a line of the skin's border colour.
    void EnableClientFrame(BOOL bFramed = TRUE) { m_bFramed = bFramed; }
    COXDockbarSkin* GetDockbarSkin();
    void UpdateCaptionRects();
    void RedrawCaptionButtons();
    COXDockTabCtrl* GetOwningTabCtrl() const;
    // Where the cursor sits in the floating caption for a caption drag that
    // starts at ptClient (client coordinates) of the docked caption.
    void CalcDragOffset(CPoint ptClient);

    // Destroys the auto-delete bars of pFrame and deletes the ones whose
    // windows are gone.
    static void DestroyAutoDeleteBars(CFrameWnd* pFrame);

    CSize m_sizeFloat;
    CSize m_sizeHorzDock;
    CSize m_sizeVertDock;
    CSize m_sizeBeforeMaximize;
    DWORD m_dwSavedDockStyle;
    DWORD m_dwSizeBarStyle;
    CSize m_sizeLast;
    int m_nLastFloatState; // OX_SIZEBAR_DOCKED, _FLOATING or _NOT_YET_SHOWN
    BOOL m_bCaptionDragging;
    BOOL m_bDragPending;
    int m_nLastTabIndex;
    CRect m_rectCaption;
    CRect m_rectCloseBtn;
    CRect m_rectResizeBtn;
    CPoint m_ptDragOffset;
    BOOL m_bFramed;
    int m_nPressedButton; // OX_SIZEBAR_*
    BOOL m_bMaximized;
    BOOL m_bActive;
    CPoint m_ptCaptionDown;
    COXDockbarSkin* m_pOwnSkin; // owned: the Classic skin of an unskinned application

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnHideBar();
    afx_msg void OnAllowDocking();
    afx_msg LRESULT OnFillContextMenu(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFloated(WPARAM wParam, LPARAM lParam);
    // Ends a pending or running caption drag that lost the mouse.
    afx_msg void OnCaptureChanged(CWnd* pWnd);

    DECLARE_MESSAGE_MAP()

private:
    void CaptionDragTo(CPoint point);
    void EndCaptionDrag();

    BOOL m_bHookUser; // this bar's window counts among the mouse hook's users
};

BOOL IsSizeControlBar(const CObject* pObject);
