// ComboBox.h: CComboBox, the framework's wrapper of the stock combo box
// ("COMBOBOX").
//
// Status: a stateless wrapper, one message per method: items, selection, texts,
// item data, searching, the drop-down and the edit part. Owner-drawn combo
// boxes are not supported (nothing in the program draws its own combo items).
#pragma once

#include "AfxString.h"
#include "Wnd.h"

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)

public:
    CComboBox() = default;
    ~CComboBox() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetCount() const { return (int)::SendMessage(m_hWnd, CB_GETCOUNT, 0, 0); }
    int GetCurSel() const { return (int)::SendMessage(m_hWnd, CB_GETCURSEL, 0, 0); }
    // -1 clears the selection; answers CB_ERR for an index out of range.
    int SetCurSel(int nSelect) {
        return (int)::SendMessage(m_hWnd, CB_SETCURSEL, (WPARAM)nSelect, 0);
    }

    int AddString(LPCTSTR lpszString) {
        return (int)::SendMessage(m_hWnd, CB_ADDSTRING, 0, (LPARAM)lpszString);
    }
    int InsertString(int nIndex, LPCTSTR lpszString) {
        return (int)::SendMessage(m_hWnd, CB_INSERTSTRING, (WPARAM)nIndex, (LPARAM)lpszString);
    }
    int DeleteString(UINT nIndex) { return (int)::SendMessage(m_hWnd, CB_DELETESTRING, nIndex, 0); }
    void ResetContent() { ::SendMessage(m_hWnd, CB_RESETCONTENT, 0, 0); }

    // Item texts. GetLBText into a buffer needs GetLBTextLen + 1 bytes.
    int GetLBText(int nIndex, LPTSTR lpszText) const {
        return (int)::SendMessage(m_hWnd, CB_GETLBTEXT, (WPARAM)nIndex, (LPARAM)lpszText);
    }
    // An index out of range leaves rString empty.
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const {
        return (int)::SendMessage(m_hWnd, CB_GETLBTEXTLEN, (WPARAM)nIndex, 0);
    }

    // Item data: a value the caller owns; the combo box never frees it.
    DWORD_PTR GetItemData(int nIndex) const {
        return (DWORD_PTR)::SendMessage(m_hWnd, CB_GETITEMDATA, (WPARAM)nIndex, 0);
    }
    int SetItemData(int nIndex, DWORD_PTR dwItemData) {
        return (int)::SendMessage(m_hWnd, CB_SETITEMDATA, (WPARAM)nIndex, (LPARAM)dwItemData);
    }

    // Searches after nStartAfter (-1: from the top), case-insensitive; FindString
    // matches a prefix, FindStringExact the whole text; SelectString also
    // selects.
    int FindString(int nStartAfter, LPCTSTR lpszString) const {
        return (int)::SendMessage(m_hWnd, CB_FINDSTRING, (WPARAM)nStartAfter, (LPARAM)lpszString);
    }
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const {
        return (int)::SendMessage(m_hWnd, CB_FINDSTRINGEXACT, (WPARAM)nIndexStart,
                                  (LPARAM)lpszFind);
    }
    int SelectString(int nStartAfter, LPCTSTR lpszString) {
        return (int)::SendMessage(m_hWnd, CB_SELECTSTRING, (WPARAM)nStartAfter, (LPARAM)lpszString);
    }

    // The edit part of CBS_DROPDOWN and CBS_SIMPLE boxes.
    BOOL LimitText(int nMaxChars) {
        return (BOOL)::SendMessage(m_hWnd, CB_LIMITTEXT, (WPARAM)nMaxChars, 0);
    }
    DWORD GetEditSel() const { return (DWORD)::SendMessage(m_hWnd, CB_GETEDITSEL, 0, 0); }
    BOOL SetEditSel(int nStartChar, int nEndChar) {
        return (BOOL)::SendMessage(m_hWnd, CB_SETEDITSEL, 0, MAKELPARAM(nStartChar, nEndChar));
    }

    // The drop-down list.
    void ShowDropDown(BOOL bShowIt = TRUE) {
        ::SendMessage(m_hWnd, CB_SHOWDROPDOWN, (WPARAM)bShowIt, 0);
    }
    BOOL GetDroppedState() const { return (BOOL)::SendMessage(m_hWnd, CB_GETDROPPEDSTATE, 0, 0); }
    int SetDroppedWidth(UINT nWidth) {
        return (int)::SendMessage(m_hWnd, CB_SETDROPPEDWIDTH, nWidth, 0);
    }
    int GetDroppedWidth() const { return (int)::SendMessage(m_hWnd, CB_GETDROPPEDWIDTH, 0, 0); }
    int SetItemHeight(int nIndex, UINT cyItemHeight) {
        return (int)::SendMessage(m_hWnd, CB_SETITEMHEIGHT, (WPARAM)nIndex, (LPARAM)cyItemHeight);
    }
    int GetItemHeight(int nIndex) const {
        return (int)::SendMessage(m_hWnd, CB_GETITEMHEIGHT, (WPARAM)nIndex, 0);
    }
    int GetTopIndex() const { return (int)::SendMessage(m_hWnd, CB_GETTOPINDEX, 0, 0); }
    int SetTopIndex(int nIndex) {
        return (int)::SendMessage(m_hWnd, CB_SETTOPINDEX, (WPARAM)nIndex, 0);
    }
};
