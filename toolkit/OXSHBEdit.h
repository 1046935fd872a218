// OXSHBEdit.h: COXSHBEdit, the in-place editor of the shortcut bar's group
// headers and of its lists' item texts, with the records it is driven by:
// SHBE_DISPLAY (where and how one edit opens, SHBEIF_* tell its valid fields)
// and NMSHBEDIT (the end of an edit, SHBEN_FINISHEDIT to the parent).
//
// The bar and each list own one editor by value and create its window hidden
// (WS_BORDER, empty rectangle, identifier 0xFFFF). Every StartEdit destroys that
// window and creates it again with the style and place of the record, then
// shows it and gives it the focus. While it edits it holds the mouse capture, so
// that a click anywhere else accepts the edit and then reaches the window under
// the cursor. Enter accepts, Escape cancels, losing the focus accepts. The end
// goes to the parent as WM_NOTIFY (wParam the editor's identifier); the parent
// reads the new text from the editor's window during the notification; the
// window is hidden after it.
//
// Status:
// - Growth as typing (SHBEIF_ENLARGE) and the colours follow the reflected
//   EN_UPDATE and WM_CTLCOLOREDIT, so they work under a parent that is a
//   framework window (CWnd reflects both); under a raw Win32 parent the editor
//   still edits and reports, at its opening size and in the window colours.
// - The stored copy of the record keeps its rectangles, style, colours and mask
//   for the growth and the colours; its text and font pointers are borrowed for
//   the StartEdit call only and are not kept.
// - Where the plain rules of such an editor would give a wrong result, it does
//   this instead:
//   - a record without SHBEIF_STYLE keeps the border of the window before,
//     which the edit control hides from its own style;
//   - a record without SHBEIF_RECTDISPLAY is checked against the window's
//     rectangle in the parent's coordinates, where it opens, not against its
//     client rectangle;
//   - a mouse message passed on to a window's client area keeps its key-state
//     wParam (the hit-test code goes only with the non-client form);
//   - an edit that does not set SHBEIF_CLRBACK paints in the window colour
//     again, also after one that did;
//   - a null text counts as empty, a null font as none;
//   - the capture is taken on the focus only while an edit is open, so a
//     hidden editor that gets the focus reports no end when it loses it;
//   - the characters of Enter and Escape are consumed with their keys, so a
//     multi-line editor takes no line break after its edit has ended;
//   - an edit opened by the parent from the end notification stays shown.
#pragma once

#include "framework/Edit.h"
#include "framework/Gdi.h"
#include "framework/Geometry.h"

#include <windows.h>

// Valid fields of an SHBE_DISPLAY (its nMask).
#define SHBEIF_TEXT 0x001
#define SHBEIF_RECTDISPLAY 0x002
#define SHBEIF_RECTMAX 0x004
#define SHBEIF_STYLE 0x008
#define SHBEIF_ENLARGE 0x010
#define SHBEIF_SELRANGE 0x020
#define SHBEIF_FONT 0x040
#define SHBEIF_RECTMIN 0x080
#define SHBEIF_CLRTEXT 0x100
#define SHBEIF_CLRBACK 0x200
// Every mask from this value up names fields that do not exist.
#define SHBEIF_LIMIT 0x400

// WM_NOTIFY code of the end of an edit, with an NMSHBEDIT.
#define SHBEN_FINISHEDIT 0x80CF

// How one edit opens. Rectangles are in the parent's client coordinates.
struct SHBE_DISPLAY {
    LPCTSTR pszText;        // SHBEIF_TEXT: the initial text; borrowed for StartEdit
    CRect rectDisplay;      // SHBEIF_RECTDISPLAY: where the editor opens
    CRect rectMax;          // SHBEIF_RECTMAX: the largest it may grow to
    DWORD dwStyle;          // SHBEIF_STYLE: window style (WS_CHILD is added)
    BOOL bEnlargeAsTyping;  // SHBEIF_ENLARGE: grow with the text
    CPoint ptSelection;     // SHBEIF_SELRANGE: (start, end); (0, -1) selects all
    CFont* pFont;           // SHBEIF_FONT: copied into the editor; borrowed for StartEdit
    CRect rectMin;          // SHBEIF_RECTMIN: the smallest it keeps
    COLORREF clrText;       // SHBEIF_CLRTEXT
    COLORREF clrBackground; // SHBEIF_CLRBACK
    UINT nMask;             // SHBEIF_*; SHBEIF_LIMIT and above are refused

    SHBE_DISPLAY()
        : pszText(nullptr), dwStyle(0), bEnlargeAsTyping(FALSE), ptSelection(0, 0), pFont(nullptr),
          clrText(0), clrBackground(0), nMask(0) {}
};
typedef SHBE_DISPLAY* LPSHBE_DISPLAY;

// The end of an edit: hdr names the editor (its window, identifier and
// SHBEN_FINISHEDIT); bOK is TRUE for an accepted edit, FALSE for a cancelled one.
struct NMSHBEDIT {
    NMHDR hdr;
    BOOL bOK;

    NMSHBEDIT() : hdr(), bOK(FALSE) {}
};

class COXSHBEdit : public CEdit {
    DECLARE_DYNAMIC(COXSHBEdit)
public:
    COXSHBEdit();
    // The window, if any, goes with CWnd's destructor; the brush, the font and
    // the stored record with their members.
    ~COXSHBEdit() override;

    // TRUE when the record can open an edit; a refusal traces its reason.
    BOOL VerifyDisplayInfo(const SHBE_DISPLAY* pDisplay) const;

    // Opens an edit as the record says (fields it leaves out keep the window's
    // present text, place and style); FALSE, with a trace line, when the
    // record is refused or the window cannot be made again.
    virtual BOOL StartEdit(const SHBE_DISPLAY* pDisplay);
    // Ends the edit: releases the capture, tells the parent, hides the window.
    virtual void FinishEdit(BOOL bOK);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnUpdate();
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);

    DECLARE_MESSAGE_MAP()

private:
    // A mouse message of the editor's own procedure: TRUE when it is consumed.
    BOOL OnMouseMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Moves the editor to fit its text inside the stored maximal rectangle.
    void GrowWithText();
    // Makes the background brush in clrBack unless it already has that colour.
    void UseBackground(COLORREF clrBack);
    // The formatting rectangle becomes the whole client area.
    void ResetFormattingRect(BOOL bRepaint);

    SHBE_DISPLAY m_display; // the last record; pointers cleared (see the file comment)
    BOOL m_bHasDisplay;     // FALSE until an edit opens with a record, and after one without
    CRect m_rectOpened;     // where the current edit opened, in the parent's coordinates
    CFont m_font;           // owns; empty until an edit brings SHBEIF_FONT
    CBrush m_brushBack;     // owns; the background of the text
    COLORREF m_clrBrush;    // the colour m_brushBack was made in
    DWORD m_dwStyleCreated; // the style the window was made with, WS_BORDER included
    BOOL m_bIsEditing;
};
