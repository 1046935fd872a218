// Edit.h: CEdit, the framework's wrapper of the stock edit control ("EDIT").
//
// Status: a stateless wrapper, one message per method. Implemented: selection,
// replacing, limits, read-only, modify flag, lines, margins, formatting
// rectangle, clipboard and undo. Not wrapped: cue banners and balloon tips
// (EM_SETCUEBANNER and friends belong to comctl32 6; Wine's 5.81 lacks them).
#pragma once

#include "Wnd.h"

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)

public:
    CEdit() = default;
    ~CEdit() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // Selection: nStartChar..nEndChar; (0, -1) selects everything, (-1, 0)
    // nothing.
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE) {
        SetSel((int)LOWORD(dwSelection), (int)HIWORD(dwSelection), bNoScroll);
    }
    void GetSel(int& nStartChar, int& nEndChar) const;
    DWORD GetSel() const { return (DWORD)::SendMessage(m_hWnd, EM_GETSEL, 0, 0); }
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE) {
        ::SendMessage(m_hWnd, EM_REPLACESEL, (WPARAM)bCanUndo, (LPARAM)lpszNewText);
    }
    void Clear() { ::SendMessage(m_hWnd, WM_CLEAR, 0, 0); }
    void Copy() { ::SendMessage(m_hWnd, WM_COPY, 0, 0); }
    void Cut() { ::SendMessage(m_hWnd, WM_CUT, 0, 0); }
    void Paste() { ::SendMessage(m_hWnd, WM_PASTE, 0, 0); }
    BOOL Undo() { return (BOOL)::SendMessage(m_hWnd, EM_UNDO, 0, 0); }
    BOOL CanUndo() const { return (BOOL)::SendMessage(m_hWnd, EM_CANUNDO, 0, 0); }
    void EmptyUndoBuffer() { ::SendMessage(m_hWnd, EM_EMPTYUNDOBUFFER, 0, 0); }

    // The most characters the user may type; 0 restores the control's maximum.
    void LimitText(int nChars = 0) { ::SendMessage(m_hWnd, EM_LIMITTEXT, (WPARAM)nChars, 0); }
    void SetLimitText(UINT nMax) { ::SendMessage(m_hWnd, EM_SETLIMITTEXT, (WPARAM)nMax, 0); }
    UINT GetLimitText() const { return (UINT)::SendMessage(m_hWnd, EM_GETLIMITTEXT, 0, 0); }
    BOOL SetReadOnly(BOOL bReadOnly = TRUE) {
        return (BOOL)::SendMessage(m_hWnd, EM_SETREADONLY, (WPARAM)bReadOnly, 0);
    }
    BOOL GetModify() const { return (BOOL)::SendMessage(m_hWnd, EM_GETMODIFY, 0, 0); }
    void SetModify(BOOL bModified = TRUE) {
        ::SendMessage(m_hWnd, EM_SETMODIFY, (WPARAM)bModified, 0);
    }
    void SetPasswordChar(TCHAR ch) {
        ::SendMessage(m_hWnd, EM_SETPASSWORDCHAR, (WPARAM)(BYTE)ch, 0);
    }
    TCHAR GetPasswordChar() const { return (TCHAR)::SendMessage(m_hWnd, EM_GETPASSWORDCHAR, 0, 0); }

    // Lines of a multi-line edit.
    int GetLineCount() const { return (int)::SendMessage(m_hWnd, EM_GETLINECOUNT, 0, 0); }
    // Copies line nIndex into lpszBuffer (nMaxLength bytes, NUL added when it
    // fits); answers the bytes copied, without the NUL.
    int GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const;
    int LineIndex(int nLine = -1) const {
        return (int)::SendMessage(m_hWnd, EM_LINEINDEX, (WPARAM)nLine, 0);
    }
    int LineLength(int nLine = -1) const {
        return (int)::SendMessage(m_hWnd, EM_LINELENGTH, (WPARAM)nLine, 0);
    }
    int LineFromChar(int nIndex = -1) const {
        return (int)::SendMessage(m_hWnd, EM_LINEFROMCHAR, (WPARAM)nIndex, 0);
    }
    void LineScroll(int nLines, int nChars = 0) {
        ::SendMessage(m_hWnd, EM_LINESCROLL, (WPARAM)nChars, (LPARAM)nLines);
    }
    int GetFirstVisibleLine() const {
        return (int)::SendMessage(m_hWnd, EM_GETFIRSTVISIBLELINE, 0, 0);
    }

    // Formatting rectangle and margins, in client pixels.
    void GetRect(LPRECT lpRect) const { ::SendMessage(m_hWnd, EM_GETRECT, 0, (LPARAM)lpRect); }
    void SetRect(LPCRECT lpRect) { ::SendMessage(m_hWnd, EM_SETRECT, 0, (LPARAM)lpRect); }
    void SetMargins(UINT nLeft, UINT nRight) {
        ::SendMessage(m_hWnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                      MAKELONG(nLeft, nRight));
    }
    DWORD GetMargins() const { return (DWORD)::SendMessage(m_hWnd, EM_GETMARGINS, 0, 0); }
};
