// ControlBar.h: CControlBar, the base of every bar a frame lays out around its
// pane (dock bars, toolbars, status bars, the toolkit's sizeable bars), its
// style bits CBRS_*, the layout modes LM_* and the border metrics of docking.
//
// Classes: CControlBar; AUX_DATA (AfxGetAuxData).
//
// Styles: the bar style (m_dwStyle, GetBarStyle) is the creation style masked
// with CBRS_ALL. The window keeps the CBRS_* bits of the low word too (they
// mean nothing to the system for our window classes), so a dock bar's side
// can be read from its window style; CBRS_GRIPPER, which would be
// WS_DLGFRAME, stays out of the window style.
//
// Docking: a bar that may dock (EnableDocking) owns a CDockContext and lives
// in one CDockBar of its dock site (m_pDockBar, not owned). The dock site is
// the frame the bar was created in (m_pDockSite, not owned); the bar enters
// the site's m_listControlBars at WM_CREATE and leaves it, and its dock bar,
// at WM_DESTROY or in its destructor, whichever comes first.
//
// Delayed show and hide: DelayShow records the wish and IsVisible answers it
// at once; the window is shown or hidden only by the next layout
// (RecalcDelayShow, run by the dock bar or by the bar's own WM_SIZEPARENT), so
// one layout moves all bars at once.
//
// Idle time: WM_IDLEUPDATECMDUI reaches a visible bar as OnUpdateCmdUI with the
// owner frame (else the parent frame) as command target.
//
// Mouse: a left press on a bar that may dock and sits in a dock bar starts
// its dock context's drag; a double click toggles it between docked and
// floating.
//
// Status: no borders or gripper of its own, no tooltips, no CalcInsideRect
// beyond the CBRS_BORDER_* bits; floating bars sit in a CMiniDockFrameWnd
// (MiniFrameWnd.h).
#pragma once

#include "FrameWnd.h"
#include "Geometry.h"
#include "Wnd.h"

class CDockBar;
class CDockContext;

// Sides (alignment) of a bar and of the dock bars that take it.
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
// Edges of a bar that carry a border of B2x (B2y) pixels.
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_FLOAT_MULTI 0x0040L
#define CBRS_BORDER_3D 0x0080L
#define CBRS_HIDE_INPLACE 0x0008L
#define CBRS_SIZE_DYNAMIC 0x0004L
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_FLOATING 0x0001L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ORIENT_ANY (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)
#define CBRS_ALL 0x0040FFFFL
#define CBRS_NOALIGN 0x00000000L
// A side with the border that faces the frame's pane.
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// Modes of CalcDynamicLayout.
#define LM_STRETCH 0x01  // stretch across the whole side
#define LM_HORZ 0x02     // horizontal, else vertical
#define LM_MRUWIDTH 0x04 // the last width used while floating
#define LM_HORZDOCK 0x08 // docked on the top or bottom
#define LM_VERTDOCK 0x10 // docked on the left or right
#define LM_LENGTHY 0x20  // nLength is a height, else a width
#define LM_COMMIT 0x40   // keep the result as the bar's size

// The border metrics bars overlap by: twice the window border.
struct AUX_DATA {
    int cxBorder2;
    int cyBorder2;
};
const AUX_DATA& AFXAPI AfxGetAuxData();

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();
    // Leaves the dock bar and the dock site's list while the window still
    // exists, deletes the dock context, then CWnd's teardown destroys the window.
    ~CControlBar() override;

    // The size the bar needs: stretched across its side (bStretch) or its own.
    // This base answers 32767 along a stretched side and 0 otherwise.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // The size in one of the LM_* modes; this base answers CalcFixedLayout.
    virtual CSize CalcDynamicLayout(int nLength, DWORD nMode);
    // Called at idle time with the frame that routes the bar's commands.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
    // Shrinks rect by the border bits of the bar style.
    virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;
    virtual BOOL IsDockBar() const { return FALSE; }

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle & CBRS_ALL; }
    // The sides the bar may dock on (CBRS_ALIGN_*); makes the dock context
    // the first time sides are given.
    void EnableDocking(DWORD dwDockStyle);
    // The frame that lays the bar out: its parent frame.
    CFrameWnd* GetDockingFrame() const { return GetParentFrame(); }
    BOOL IsFloating() const;
    // Visible as the next layout will leave it.
    BOOL IsVisible() const;
    // Shows or hides the window at the next layout (see the file comment).
    void DelayShow(BOOL bShow);
    // Applies a pending DelayShow (deferred within lpLayout, unless it is a
    // query, which keeps the wish). Returns the window style as it will be.
    DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout);

    DWORD m_dwStyle;              // CBRS_* bar style
    DWORD m_dwDockStyle;          // sides the bar may dock on
    CFrameWnd* m_pDockSite;       // not owned: the frame the bar was made in
    CDockBar* m_pDockBar;         // not owned: the dock bar holding the bar, or null
    CDockContext* m_pDockContext; // owned, made by EnableDocking

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    // A press on a bar in a dock bar (docked or floating) drags it; a double
    // click docks a floating bar or floats a docked one (CDockContext).
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);

    enum StateFlags { delayHide = 0x1, delayShow = 0x2 };
    UINT m_nStateFlags;

    DECLARE_MESSAGE_MAP()

private:
    // Leaves the dock bar and the dock site's list; safe to repeat.
    void LeaveDockSite();
};
