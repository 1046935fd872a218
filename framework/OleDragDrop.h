// OleDragDrop.h: OLE drag and drop.
//   COleDropSource  the source side of a drag that COleDataSource::DoDragDrop runs:
//                   whether the drag goes on, drops or stops, and the cursor shown
//   COleDropTarget  the drop side for one window: register it for the window and
//                   override the On* handlers
//
// Each class lends OLE a small reference-counted COM object (IDropSource,
// IDropTarget) that calls back into it; the C++ object detaches that bridge when
// it dies, so a reference OLE still holds can never reach a dead object.
// Exceptions thrown by a handler stop at the bridge: the drag sees no effect.
//
// File drops: windows that accept dropped files (WS_EX_ACCEPTFILES, set with
// DragAcceptFiles) receive a dragged file list (CF_HDROP) as WM_DROPFILES, sent
// during the drop; the receiver frees the handle with DragFinish.
// - A registered window whose target answers DROPEFFECT_NONE still takes such a
//   drag as a file drop (the effect becomes a copy): the target gets OnDragLeave,
//   then the window gets WM_DROPFILES.
// - A target's own drop goes to OnDropEx, then OnDrop; the default OnDrop hands
//   the files to a window that accepts them, so a target that only overrides
//   OnDragOver works with a WM_DROPFILES handler.
// - While COleDataSource::DoDragDrop runs, each window of this thread that
//   accepts dropped files and has no target (on itself or an ancestor) is lent
//   a plain COleDropTarget, so the drag shows a copy over it and its drop
//   arrives as WM_DROPFILES; a window made during the drag gets none.
// Effects are cut to what the source allows, and never widened to a move (a
// source deletes what was moved): a move or link the source does not allow
// becomes a copy, else a link, when the source allows one; otherwise nothing.
//
// Drag scrolling: the default OnDragScroll never scrolls, since this framework's
// views do not scroll; targets over scrollable windows scroll them themselves,
// with the settings and state kept here.
#pragma once

#include "Geometry.h"
#include "OleData.h"

class CWnd;
class CDropSourceBridge;
class CDropTargetBridge;

class COleDropSource : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropSource)
public:
    COleDropSource();
    ~COleDropSource() override;

    // Called on each step of the drag with the keyboard and mouse state (MK_*):
    // DRAGDROP_S_CANCEL on Esc or when another mouse button goes down,
    // DRAGDROP_S_DROP once the button that started the drag is up, else S_OK.
    virtual SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState);
    // Sets the cursor for the effect the target answered; the default lets OLE
    // show its standard drag cursors (DRAGDROP_S_USEDEFAULTCURSORS).
    virtual SCODE GiveFeedback(DROPEFFECT dropEffect);
    // Called before the drag with the window it starts from (capture, else focus;
    // may be null); FALSE means no drag. Notes which mouse button is down. With a
    // start rectangle it waits, holding the capture, until the mouse leaves the
    // rectangle or nDragDelay ms pass (TRUE) or the button is released or Esc
    // pressed (FALSE).
    virtual BOOL OnBeginDrag(CWnd* pWnd);

    // Milliseconds after which a drag with a start rectangle begins anyway.
    static UINT nDragDelay;

protected:
    friend class COleDataSource;

    CRect m_rectStartDrag;  // screen coordinates; empty: the drag begins at once
    DWORD m_dwButtonDrop;   // the MK_* button whose release drops
    DWORD m_dwButtonCancel; // MK_* buttons whose press cancels
};

class COleDropTarget : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropTarget)
public:
    COleDropTarget();
    // Revokes a registration that is still in place.
    ~COleDropTarget() override;

    // Registers this target for pWnd's window; one window per target. FALSE, and
    // nothing registered, when AfxOleInit has not succeeded on this thread,
    // the window does not exist or belongs to another thread, this target is
    // registered already, or the window has a target already.
    BOOL Register(CWnd* pWnd);
    // Ends the registration; the window's destruction ends it too. Does nothing
    // when not registered.
    virtual void Revoke();
    // The IDropTarget lent to OLE, with a new reference the caller releases; null
    // when not registered. Code that forwards drags (or a test) drives it directly.
    LPDROPTARGET GetDropTargetInterface() const;

    // The handlers; points are in pWnd's client coordinates, the data object is
    // valid for the call only. The defaults: enter answers as over does; over
    // answers DROPEFFECT_NONE; leave does nothing; OnDropEx answers -1 (not
    // handled: OnDrop decides); OnDrop hands a file list to a window that accepts
    // dropped files (see the file comment), else FALSE; OnDragScroll answers
    // DROPEFFECT_NONE (no scrolling).
    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                   CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                  CPoint point);
    virtual void OnDragLeave(CWnd* pWnd);
    virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect,
                        CPoint point);
    virtual DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                                DROPEFFECT dropList, CPoint point);
    virtual DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point);

    // Drag-scroll settings for targets that scroll their windows: the width of
    // the border strip that scrolls, the wait before the first step and the
    // interval of the next ones (milliseconds).
    static int nScrollInset;
    static UINT nScrollDelay;
    static UINT nScrollInterval;

    // Sends the data's file list to hWnd as WM_DROPFILES with the drop point
    // (client coordinates); hWnd frees the handle. FALSE when hWnd does not
    // accept dropped files or the data holds no well-formed, non-empty list.
    static BOOL DropFilesOnWindow(HWND hWnd, COleDataObject* pDataObject, CPoint point);

protected:
    // The state of the drag over the window, kept for derived targets that
    // scroll: the drag's data (one reference, null outside a drag), the current
    // drag-scroll code (high byte horizontal, low byte vertical, 0xFF none;
    // 0xFFFF when not scrolling), the tick of the last scroll step and the
    // current wait before the next one.
    LPDATAOBJECT m_lpDataObject;
    UINT m_nTimerID;
    DWORD m_dwLastTick;
    UINT m_nScrollDelay;

    HWND m_hWnd; // the registered window; null when not registered

private:
    friend class CDropTargetBridge;

    CDropTargetBridge* m_pBridge; // one reference, owned; null when not registered
    BOOL m_bFileDrop;             // the current drag goes to the window as a file drop
};
