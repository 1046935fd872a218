// OXSHBDropTarget.h: the toolkit's OLE drag source and drop target, shared by the
// shortcut bar and its lists, the cool toolbar and the bitmap menu.
//
// Classes: COXSHBDropSource, COXSHBDropTarget; the records SHBDROPTARGETACTION and
// SHBDROPSOURCEACTION; the messages SHBDTM_* and SHBDSM_*; the clipboard format
// of a shortcut-bar item (g_cfSHBChildWindowItem).
//
// Neither class has drag logic of its own: every event becomes a private
// message, sent (synchronously) with wParam 0 and lParam the address of a record
// that lives on the sender's stack for the send only. A window that handles the
// message returns non-zero and answers through the record's result; one that
// returns 0 gets the framework's default for that event (see each override).
//
// The records hold pointers at their natural size; nothing depends on a 32-bit
// layout of them.
#pragma once

#include "framework/OleDragDrop.h"

class CWnd;

// Drop target to the registered window.
#define SHBDTM_DRAGENTER 0x80AD
#define SHBDTM_DRAGLEAVE 0x80AE
#define SHBDTM_DRAGOVER 0x80AF
#define SHBDTM_DRAGSCROLL 0x80B0
#define SHBDTM_DROP 0x80B1
#define SHBDTM_DROPEX 0x80B2
// Drag source to its owner.
#define SHBDSM_GIVEFEEDBACK 0x80B3
#define SHBDSM_BEGINDRAG 0x80B4
#define SHBDSM_QUERYCONTINUEDRAG 0x80B5

// The clipboard format "Shortcut bar child window item", registered before main
// runs; 0 only if the registration failed.
extern CLIPFORMAT g_cfSHBChildWindowItem;

// The arguments of one drop-target event; fields an event does not use are 0.
struct SHBDROPTARGETACTION {
    CWnd* pWnd;                  // the registered window the drag is over
    COleDataObject* pDataObject; // the drag's data; null for leave and scroll
    DWORD dwKeyState;            // MK_* for enter, over and scroll; 0 otherwise
    POINT point;                 // the cursor in pWnd's client coordinates
    DROPEFFECT dropEffect;       // drop: the effect chosen; drop-ex: the default one
    DROPEFFECT dropList;         // drop-ex: the effects allowed
    DROPEFFECT result;           // the handler's answer (TRUE/FALSE for drop)

    SHBDROPTARGETACTION()
        : pWnd(nullptr), pDataObject(nullptr), dwKeyState(0), point(), dropEffect(0), dropList(0),
          result(0) {}
};

// The arguments of one drag-source event; fields an event does not use are 0.
struct SHBDROPSOURCEACTION {
    CWnd* pWnd;            // begin-drag: the window the drag starts from
    DWORD dwKeyState;      // query-continue: MK_* state
    BOOL bEscapePressed;   // query-continue: Esc was pressed
    DROPEFFECT dropEffect; // give-feedback: the current effect
    LRESULT result;        // the handler's answer (an SCODE, or a BOOL for begin-drag)

    SHBDROPSOURCEACTION()
        : pWnd(nullptr), dwKeyState(0), bEscapePressed(FALSE), dropEffect(0), result(0) {}
};

class COXSHBDropSource : public COleDropSource {
    DECLARE_DYNAMIC(COXSHBDropSource)
public:
    COXSHBDropSource();

    // The window the events go to; not owned. Returns the previous owner.
    CWnd* SetOwner(CWnd* pOwner);
    CWnd* GetOwner() const { return m_pOwner; }

    // Each asks the owner first; without an owner window, or when the owner does
    // not handle the message, the framework's operation decides.
    SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState) override;
    SCODE GiveFeedback(DROPEFFECT dropEffect) override;
    BOOL OnBeginDrag(CWnd* pWnd) override;

private:
    // TRUE when the owner handled the message; the answer is then in action.result.
    BOOL SendToOwner(UINT nMessage, SHBDROPSOURCEACTION& action) const;

    CWnd* m_pOwner; // not owned; null until set
};

class COXSHBDropTarget : public COleDropTarget {
    DECLARE_DYNAMIC(COXSHBDropTarget)
public:
    COXSHBDropTarget();

    // Handled: the record's result. Unhandled: DROPEFFECT_NONE.
    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                           CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                          CPoint point) override;
    // Unhandled: the framework's drag-leave.
    void OnDragLeave(CWnd* pWnd) override;
    // Handled: the record's result. Unhandled: FALSE.
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect,
                CPoint point) override;
    // Unhandled: the framework's extended drop (which falls back to OnDrop).
    DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                        DROPEFFECT dropList, CPoint point) override;
    // The window decides through the record's result; exactly DROPEFFECT_SCROLL
    // asks for the built-in auto-scroll of its border strip.
    DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) override;

private:
    // Sends the record to pWnd; TRUE when the window handled it.
    static BOOL SendToWindow(CWnd* pWnd, UINT nMessage, SHBDROPTARGETACTION& action);
    // The built-in auto-scroll of a window that is not a view.
    DROPEFFECT AutoScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point);
};
