// ListBox.h: CListBox, the framework's wrapper of the stock list box
// ("LISTBOX"), and CCheckListBox, a list box that draws a check box before each
// item.
//
// CListBox status: a stateless wrapper, one message per method. Owner-drawn
// list boxes get WM_DRAWITEM, WM_MEASUREITEM, WM_COMPAREITEM and WM_DELETEITEM
// reflected back from the parent and call the virtual DrawItem, MeasureItem,
// CompareItem and DeleteItem; a derived class that draws must override
// DrawItem.
//
// CCheckListBox status: the control must be LBS_OWNERDRAWFIXED with
// LBS_HASSTRINGS (as a dialog template declares it). It keeps one check state
// and one enabled flag per item in m_states, parallel to the items: the adding,
// inserting and deleting messages are watched in WindowProc, so sorted lists
// keep their states in step and item data stays the caller's. A click on the
// box or the space key toggles it (BS_AUTOCHECKBOX) or cycles through three
// states (BS_AUTO3STATE); the selection change that the click also causes is
// the only notification (no CLBN_CHKCHANGE). Not implemented: variable-height
// items, LB_DIR/LB_ADDFILE.
#pragma once

#include "AfxString.h"
#include "Wnd.h"

#include <vector>

class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)

public:
    CListBox() = default;
    ~CListBox() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetCount() const { return (int)::SendMessage(m_hWnd, LB_GETCOUNT, 0, 0); }
    // Single-selection list boxes.
    int GetCurSel() const { return (int)::SendMessage(m_hWnd, LB_GETCURSEL, 0, 0); }
    int SetCurSel(int nSelect) {
        return (int)::SendMessage(m_hWnd, LB_SETCURSEL, (WPARAM)nSelect, 0);
    }
    // Multiple-selection list boxes.
    int GetSel(int nIndex) const {
        return (int)::SendMessage(m_hWnd, LB_GETSEL, (WPARAM)nIndex, 0);
    }
    int SetSel(int nIndex, BOOL bSelect = TRUE) {
        return (int)::SendMessage(m_hWnd, LB_SETSEL, (WPARAM)bSelect, (LPARAM)nIndex);
    }
    int GetSelCount() const { return (int)::SendMessage(m_hWnd, LB_GETSELCOUNT, 0, 0); }
    int GetSelItems(int nMaxItems, LPINT rgIndex) const {
        return (int)::SendMessage(m_hWnd, LB_GETSELITEMS, (WPARAM)nMaxItems, (LPARAM)rgIndex);
    }
    int SelItemRange(BOOL bSelect, int nFirstItem, int nLastItem);
    int GetCaretIndex() const { return (int)::SendMessage(m_hWnd, LB_GETCARETINDEX, 0, 0); }
    int SetCaretIndex(int nIndex, BOOL bScroll = TRUE) {
        return (int)::SendMessage(m_hWnd, LB_SETCARETINDEX, (WPARAM)nIndex, MAKELONG(bScroll, 0));
    }

    // Texts. GetText into a buffer needs GetTextLen + 1 bytes.
    int GetText(int nIndex, LPTSTR lpszBuffer) const {
        return (int)::SendMessage(m_hWnd, LB_GETTEXT, (WPARAM)nIndex, (LPARAM)lpszBuffer);
    }
    // An index out of range leaves rString empty.
    void GetText(int nIndex, CString& rString) const;
    int GetTextLen(int nIndex) const {
        return (int)::SendMessage(m_hWnd, LB_GETTEXTLEN, (WPARAM)nIndex, 0);
    }

    // Item data: a value the caller owns; the list box never frees it.
    DWORD_PTR GetItemData(int nIndex) const {
        return (DWORD_PTR)::SendMessage(m_hWnd, LB_GETITEMDATA, (WPARAM)nIndex, 0);
    }
    int SetItemData(int nIndex, DWORD_PTR dwItemData) {
        return (int)::SendMessage(m_hWnd, LB_SETITEMDATA, (WPARAM)nIndex, (LPARAM)dwItemData);
    }
    void* GetItemDataPtr(int nIndex) const { return (void*)GetItemData(nIndex); }
    int SetItemDataPtr(int nIndex, void* pData) { return SetItemData(nIndex, (DWORD_PTR)pData); }

    // Adding and removing; each answers the control's result (LB_ERR,
    // LB_ERRSPACE).
    int AddString(LPCTSTR lpszItem) {
        return (int)::SendMessage(m_hWnd, LB_ADDSTRING, 0, (LPARAM)lpszItem);
    }
    int InsertString(int nIndex, LPCTSTR lpszItem) {
        return (int)::SendMessage(m_hWnd, LB_INSERTSTRING, (WPARAM)nIndex, (LPARAM)lpszItem);
    }
    int DeleteString(UINT nIndex) { return (int)::SendMessage(m_hWnd, LB_DELETESTRING, nIndex, 0); }
    void ResetContent() { ::SendMessage(m_hWnd, LB_RESETCONTENT, 0, 0); }

    // Searches after nStartAfter (-1: from the top), wrapping round;
    // case-insensitive. FindString matches a prefix, FindStringExact the whole
    // text.
    int FindString(int nStartAfter, LPCTSTR lpszItem) const {
        return (int)::SendMessage(m_hWnd, LB_FINDSTRING, (WPARAM)nStartAfter, (LPARAM)lpszItem);
    }
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const {
        return (int)::SendMessage(m_hWnd, LB_FINDSTRINGEXACT, (WPARAM)nIndexStart,
                                  (LPARAM)lpszFind);
    }
    int SelectString(int nStartAfter, LPCTSTR lpszItem) {
        return (int)::SendMessage(m_hWnd, LB_SELECTSTRING, (WPARAM)nStartAfter, (LPARAM)lpszItem);
    }

    // Scrolling and geometry.
    int GetTopIndex() const { return (int)::SendMessage(m_hWnd, LB_GETTOPINDEX, 0, 0); }
    int SetTopIndex(int nIndex) {
        return (int)::SendMessage(m_hWnd, LB_SETTOPINDEX, (WPARAM)nIndex, 0);
    }
    int GetItemRect(int nIndex, LPRECT lpRect) const {
        return (int)::SendMessage(m_hWnd, LB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)lpRect);
    }
    int GetItemHeight(int nIndex) const {
        return (int)::SendMessage(m_hWnd, LB_GETITEMHEIGHT, (WPARAM)nIndex, 0);
    }
    int SetItemHeight(int nIndex, UINT cyItemHeight) {
        return (int)::SendMessage(m_hWnd, LB_SETITEMHEIGHT, (WPARAM)nIndex,
                                  MAKELONG(cyItemHeight, 0));
    }
    // The nearest item to a client point; bOutside is set when the point lies
    // outside the item's rectangle.
    UINT ItemFromPoint(POINT pt, BOOL& bOutside) const;
    void SetHorizontalExtent(int cxExtent) {
        ::SendMessage(m_hWnd, LB_SETHORIZONTALEXTENT, (WPARAM)cxExtent, 0);
    }

    // Owner-drawn list boxes; called through the parent's reflected messages.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
    virtual void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CCheckListBox : public CListBox {
    DECLARE_DYNAMIC(CCheckListBox)

public:
    CCheckListBox() = default;
    ~CCheckListBox() override;

    // Adds LBS_OWNERDRAWFIXED and LBS_HASSTRINGS to dwStyle.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // BS_CHECKBOX, BS_AUTOCHECKBOX (the default), BS_AUTO3STATE or BS_3STATE.
    void SetCheckStyle(UINT nStyle);
    UINT GetCheckStyle() const { return m_nStyle; }
    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE; an index out of range
    // reads 0.
    void SetCheck(int nIndex, int nCheck);
    int GetCheck(int nIndex) const;
    // A disabled item's box is drawn greyed and cannot be toggled.
    void Enable(int nIndex, BOOL bEnabled = TRUE);
    BOOL IsEnabled(int nIndex) const;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct ItemState {
        int nCheck = BST_UNCHECKED;
        bool bEnabled = true;
    };
    // Width of the check-box column: the box plus a margin on either side.
    int CheckColumnWidth() const;
    // Toggles or cycles the item's check state as the style says; clicks and
    // keys.
    void ToggleCheck(int nIndex);
    // The item under a client point whose check box it hits, or -1.
    int CheckBoxHit(POINT pt) const;
    void InvalidateItem(int nIndex);

    UINT m_nStyle = BS_AUTOCHECKBOX;
    std::vector<ItemState> m_states; // one per item, in the control's order
};
