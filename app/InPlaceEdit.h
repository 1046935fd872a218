// InPlaceEdit.h: CInPlaceEdit, the one in-place cell editor of the process,
// which the call-details list opens over a cell.
//
// The editor object lives from the first cell edit until DeleteInstance (the
// call-details list's destructor); its window lives from ShowEditor until
// the focus leaves it, when it closes itself.
//
// What the editor takes:
// - typed characters only from its allowed set (Ctrl+C, Backspace, Ctrl+V
//   and Ctrl+X aside), and only while the text is shorter than its maximum
//   length (Backspace and Ctrl+X always);
// - pasted text (Ctrl+V or WM_PASTE) with the characters outside the allowed
//   set dropped and cut to the room the maximum length leaves;
// - in mode 1, only texts that read whole as a decimal number of at most
//   4,294,967,295 (or are empty): a change that makes the text anything else
//   is undone, back to the last valid text.
// Refused characters are dropped without a sound or message.
//
// What it reports: a WM_NOTIFY to the parent list (wParam the list's own
// control id) with an NMLVDISPINFOA of code LVN_ENDLABELEDITA, hwndFrom the
// list, idFrom the editor's control id, and the item's mask LVIF_TEXT, row,
// column, text and length; the text is the editor's current text, or the
// initial text once the edit was cancelled with Escape. It is sent after each
// change the editor accepts and once more when the editor loses the focus.
#pragma once

#include "framework/Edit.h"

class CInPlaceEdit : public CEdit {
public:
    // Mode of a text that is a number of at most kMaxNumber.
    static const int kModeNumber = 1;
    static const unsigned long long kMaxNumber = 4294967295ULL;

    // The editor, created on first use (no lock: user-interface thread only).
    static CInPlaceEdit* GetInstance();
    static void DeleteInstance();

    ~CInPlaceEdit() override;

    // Stores the cell and its rules and clears the cancelled flag; creates the
    // window over rcCell as a child of pParent when it does not exist (an open
    // editor is neither moved nor refilled). TRUE when the window exists.
    BOOL ShowEditor(DWORD dwStyle, const RECT& rcCell, CWnd* pParent, UINT nID, int nRow,
                    int nColumn, LPCTSTR lpszAllowedChars, LPCTSTR lpszInitialText, int nMaxLength,
                    int nMode);

    // Enter and Escape end the edit by giving the focus back to the list.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    CInPlaceEdit();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg LRESULT OnPaste(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    // Pastes the clipboard's text through the filter; true when the text changed.
    bool PasteFiltered();
    bool IsAllowed(UINT nChar) const;
    // Mode 1: the text reads whole as a decimal number within kMaxNumber.
    bool IsValidText(const CString& strText) const;
    // After a change: keeps a valid text as the last valid one, or puts the
    // last valid text and its selection back; true when the change stays.
    bool KeepOrRevert();
    void NotifyParent();

    int m_nRow;                // row of the edited cell
    int m_nColumn;             // column of the edited cell
    int m_nMaxLength;          // characters that may be typed
    BOOL m_bCancelled;         // the edit was ended with Escape
    CString m_strAllowedChars; // printable characters that may be typed
    CString m_strInitialText;  // the cell's text when the edit began
    int m_nMode;               // kModeNumber, or any other value for free text
    CString m_strLastValid;    // mode 1: the text before the last change that stayed
    DWORD m_dwLastValidSel;    // its selection (EM_GETSEL)

private:
    static CInPlaceEdit* s_pInstance;
};
