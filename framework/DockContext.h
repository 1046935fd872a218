// DockContext.h: CDockContext, the drag, resize and float/dock toggle of a
// dockable bar, and what the bar remembers of its docked and floating places.
//
// Classes: CDockContext.
//
// A bar makes its context in EnableDocking and owns it. The dock bar's layout
// records in it where the bar last sat docked (m_rectMRUDockPos, dock-bar
// client coordinates) and in which dock bar (m_uMRUDockID), and a float
// records where its floating frame stood (m_ptMRUFloatPos), so that
// ToggleDocking can put the bar back at either place.
//
// The drag (StartDrag) runs a message loop of its own while the bar holds the
// mouse capture. A rubber-band frame follows the mouse on the desktop: thin
// where the bar would dock (the dock site's CanDock accepts the rectangle),
// thick and halftone where it would float. Ctrl forces floating, Shift flips
// the bar's orientation. The left button's release docks or floats the bar;
// the right button, Escape, a loss of the capture or WM_QUIT (posted again for
// the caller's loop) cancel and leave the bar where it was, and so does a
// release where the press was (a click). The desktop is
// locked against updates and its device context held only while the loop
// runs; a drag that cannot capture the mouse locks and draws nothing.
//
// The resize (StartResize) drags one edge of a floating frame the same way
// for bars with CBRS_SIZE_DYNAMIC, asking the bar for the size it takes at
// each length.
#pragma once

#include "Geometry.h"

#include <windows.h>

class CControlBar;
class CDC;
class CDockBar;
class CFrameWnd;

class CDockContext {
public:
    explicit CDockContext(CControlBar* pBar);
    virtual ~CDockContext();
    CDockContext(const CDockContext&) = delete;
    CDockContext& operator=(const CDockContext&) = delete;

    // Drags the bar from the screen point pt until the drag ends.
    virtual void StartDrag(CPoint pt);
    // Drags the floating frame's edge nHitTest (HTLEFT ... HTBOTTOMRIGHT) from
    // the screen point pt.
    virtual void StartResize(int nHitTest, CPoint pt);
    // Docks a floating bar at its last docked place (or where it may dock
    // first), floats a docked bar at its last floating place.
    virtual void ToggleDocking();

    // ---- Steps of the drag, for contexts that run a drag of their own.
    void MoveDrag(CPoint pt);
    void OnKey(int nChar, BOOL bDown);
    void EndDrag();
    void CancelDrag();
    // Which side would take the bar now: the dock site's CanDock of the
    // docked rectangle for the current orientation; 0 while floating is forced.
    DWORD CanDock();
    // The dock bar of the dock site on that side that takes the bar's rectangle.
    CDockBar* GetDockBar(DWORD dwOverDockStyle);
    // Draws the frame for the current state over the last one (bRemoveRect:
    // takes it away).
    void DrawFocusRect(BOOL bRemoveRect = FALSE);
    // Takes the desktop's device context and locks its updates for a loop.
    void InitLoop();
    // Erases the frame, releases the capture, the lock and the device context.
    void CancelLoop();

    // ---- The drag in progress.
    CPoint m_ptLast;           // last mouse point (screen)
    CRect m_rectLast;          // frame drawn last; empty when none
    CSize m_sizeLast;          // its border thickness
    BOOL m_bDitherLast;        // it was drawn with the halftone brush
    CRect m_rectDragHorz;      // docked rectangle, horizontal
    CRect m_rectDragVert;      // docked rectangle, vertical
    CRect m_rectFrameDragHorz; // floating frame's window, horizontal
    CRect m_rectFrameDragVert; // floating frame's window, vertical
    CControlBar* m_pBar;       // not owned: the bar that owns this context
    CFrameWnd* m_pDockSite;    // not owned: the frame the bar docks in
    DWORD m_dwDockStyle;       // sides the bar may dock on (CBRS_ALIGN_*)
    DWORD m_dwOverDockStyle;   // side under the mouse; 0 when it would float
    DWORD m_dwStyle;           // the bar's alignment when the drag began
    BOOL m_bFlip;              // Shift: the other orientation
    BOOL m_bForceFrame;        // Ctrl: float wherever the mouse is
    CDC* m_pDC;                // owned while a loop runs: the desktop's context
    BOOL m_bLocked;            // the desktop's updates are locked by us
    BOOL m_bDragging;          // a drag (not a resize) runs
    int m_nHitTest;            // the edge of a resize

    // ---- Resize of a floating frame.
    CRect m_rectRequestedSize;   // the frame's client rectangle the mouse asks for
    CRect m_rectActualSize;      // what the bar takes of it
    CRect m_rectActualFrameSize; // the frame window around that
    CRect m_rectFrameBorders;    // the frame's borders around its client area

    // ---- Places the bar goes back to.
    CRect m_rectMRUDockPos;  // last docked place, in the dock bar's client area
    UINT m_uMRUDockID;       // id of that dock bar (AFX_IDW_DOCKBAR_*), 0 before
    DWORD m_dwMRUFloatStyle; // alignment of the last float
    CPoint m_ptMRUFloatPos;  // top-left of the last floating frame (screen)

protected:
    // The loop of a drag or resize; FALSE when it was cancelled or could not
    // start (another window holds the capture).
    BOOL Track();
    void Stretch(CPoint pt);
    void EndResize();
    // Moves the four drag rectangles with the mouse to pt and makes pt the
    // last point; returns the move.
    CSize FollowMouse(CPoint pt);
    // The dock bar on the side dwOverDockStyle that takes rect (screen).
    CDockBar* DockBarAt(const CRect& rect, DWORD dwOverDockStyle);
    // Draws the frame rect of border size (0: none) over the last one, with
    // the halftone brush when bDither, and records it as the last; does
    // nothing while no loop runs.
    void DrawFrame(const CRect& rect, CSize size, BOOL bDither);
    // Releases what a loop holds (the capture, the desktop's lock and device
    // context) without touching the frame drawn.
    void ReleaseLoop();
    // Sets *pFlag and redraws when it changes.
    void UpdateState(BOOL* pFlag, BOOL bNewValue);
    // The orientation the bar would take now: its own, flipped by Shift.
    BOOL IsHorzNow() const;
    // The bar's size (less its overlap with the floating dock bar) for the
    // requested frame size, along the edge the resize moves.
    CSize AskBarForSize(DWORD dwCommit);

    CPoint m_ptDragStart; // where the drag or resize began (screen)
};
