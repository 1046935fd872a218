// TreeCtrl.h: CTreeCtrl, the framework's wrapper of the tree-view common
// control (WC_TREEVIEW).
//
// Status: a stateless wrapper, one message per method, apart from the helpers
// that combine a few (GetItemText into a CString, the item accessors built on
// TVM_GETITEM). Implemented: inserting and deleting, the walk over items
// (children, siblings, parents, visible items, selection and drop target),
// item texts, images, states, data and check boxes, expanding, selecting,
// scrolling, hit tests, label editing, sorting, drag images, colours, the
// image lists and the tooltip control. Not wrapped: insert marks' colour, item
// heights' fine control, extended styles (comctl32 6).
#pragma once

#include "AfxString.h"
#include "TypedWnd.h"
#include "Wnd.h"

#include <commctrl.h>

class CEdit;
class CImageList;
class CToolTipCtrl;

class CTreeCtrl : public CWnd {
    DECLARE_DYNAMIC(CTreeCtrl)

public:
    CTreeCtrl() = default;
    ~CTreeCtrl() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // --- Inserting and deleting
    HTREEITEM InsertItem(LPTVINSERTSTRUCT lpInsertStruct) {
        return (HTREEITEM)::SendMessage(m_hWnd, TVM_INSERTITEMA, 0, (LPARAM)lpInsertStruct);
    }
    HTREEITEM InsertItem(UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                         UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter);
    HTREEITEM InsertItem(LPCTSTR lpszItem, HTREEITEM hParent = TVI_ROOT,
                         HTREEITEM hInsertAfter = TVI_LAST);
    HTREEITEM InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage,
                         HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST);
    BOOL DeleteItem(HTREEITEM hItem) {
        return (BOOL)::SendMessage(m_hWnd, TVM_DELETEITEM, 0, (LPARAM)hItem);
    }
    BOOL DeleteAllItems() {
        return (BOOL)::SendMessage(m_hWnd, TVM_DELETEITEM, 0, (LPARAM)TVI_ROOT);
    }

    // --- Walking the items; each answers null at the end.
    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const {
        return (HTREEITEM)::SendMessage(m_hWnd, TVM_GETNEXTITEM, nCode, (LPARAM)hItem);
    }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) const {
        return GetNextItem(hItem, TVGN_PREVIOUS);
    }
    HTREEITEM GetParentItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PARENT); }
    HTREEITEM GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
    HTREEITEM GetNextVisibleItem(HTREEITEM hItem) const {
        return GetNextItem(hItem, TVGN_NEXTVISIBLE);
    }
    HTREEITEM GetPrevVisibleItem(HTREEITEM hItem) const {
        return GetNextItem(hItem, TVGN_PREVIOUSVISIBLE);
    }
    HTREEITEM GetLastVisibleItem() const { return GetNextItem(nullptr, TVGN_LASTVISIBLE); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetDropHilightItem() const { return GetNextItem(nullptr, TVGN_DROPHILITE); }
    BOOL ItemHasChildren(HTREEITEM hItem) const;
    UINT GetCount() const { return (UINT)::SendMessage(m_hWnd, TVM_GETCOUNT, 0, 0); }
    UINT GetVisibleCount() const { return (UINT)::SendMessage(m_hWnd, TVM_GETVISIBLECOUNT, 0, 0); }

    // --- Items
    BOOL GetItem(TVITEM* pItem) const {
        return (BOOL)::SendMessage(m_hWnd, TVM_GETITEMA, 0, (LPARAM)pItem);
    }
    BOOL SetItem(TVITEM* pItem) {
        return (BOOL)::SendMessage(m_hWnd, TVM_SETITEMA, 0, (LPARAM)pItem);
    }
    BOOL SetItem(HTREEITEM hItem, UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage,
                 UINT nState, UINT nStateMask, LPARAM lParam);
    // Empty for an item that does not exist.
    CString GetItemText(HTREEITEM hItem) const;
    BOOL SetItemText(HTREEITEM hItem, LPCTSTR lpszItem);
    BOOL GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const;
    BOOL SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage);
    UINT GetItemState(HTREEITEM hItem, UINT nStateMask) const {
        return (UINT)::SendMessage(m_hWnd, TVM_GETITEMSTATE, (WPARAM)hItem, (LPARAM)nStateMask);
    }
    BOOL SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask);
    DWORD_PTR GetItemData(HTREEITEM hItem) const;
    BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData);
    // TVS_CHECKBOXES trees: the check state is state image 2 (1 is unchecked).
    BOOL GetCheck(HTREEITEM hItem) const;
    BOOL SetCheck(HTREEITEM hItem, BOOL fCheck = TRUE);
    BOOL GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const;

    // --- Expanding, selecting, scrolling
    // nCode TVE_EXPAND, TVE_COLLAPSE, TVE_TOGGLE (with TVE_COLLAPSERESET).
    BOOL Expand(HTREEITEM hItem, UINT nCode) {
        return (BOOL)::SendMessage(m_hWnd, TVM_EXPAND, nCode, (LPARAM)hItem);
    }
    BOOL Select(HTREEITEM hItem, UINT nCode) {
        return (BOOL)::SendMessage(m_hWnd, TVM_SELECTITEM, nCode, (LPARAM)hItem);
    }
    BOOL SelectItem(HTREEITEM hItem) { return Select(hItem, TVGN_CARET); }
    BOOL SelectDropTarget(HTREEITEM hItem) { return Select(hItem, TVGN_DROPHILITE); }
    BOOL SelectSetFirstVisible(HTREEITEM hItem) { return Select(hItem, TVGN_FIRSTVISIBLE); }
    BOOL EnsureVisible(HTREEITEM hItem) {
        return (BOOL)::SendMessage(m_hWnd, TVM_ENSUREVISIBLE, 0, (LPARAM)hItem);
    }
    HTREEITEM HitTest(TVHITTESTINFO* pHitTestInfo) const {
        return (HTREEITEM)::SendMessage(m_hWnd, TVM_HITTEST, 0, (LPARAM)pHitTestInfo);
    }
    HTREEITEM HitTest(POINT pt, UINT* pFlags = nullptr) const;

    // --- Label editing, sorting, dragging
    // The label's edit control: a typed view, or null.
    CEdit* EditLabel(HTREEITEM hItem);
    CEdit* GetEditControl() const;
    BOOL EndEditLabelNow(BOOL fCancelWithoutSave) {
        return (BOOL)::SendMessage(m_hWnd, TVM_ENDEDITLABELNOW, (WPARAM)fCancelWithoutSave, 0);
    }
    BOOL SortChildren(HTREEITEM hItem) {
        return (BOOL)::SendMessage(m_hWnd, TVM_SORTCHILDREN, 0, (LPARAM)hItem);
    }
    BOOL SortChildrenCB(LPTVSORTCB pSort) {
        return (BOOL)::SendMessage(m_hWnd, TVM_SORTCHILDRENCB, 0, (LPARAM)pSort);
    }
    // A drag image the caller owns (delete it); null on failure.
    CImageList* CreateDragImage(HTREEITEM hItem);
    BOOL SetInsertMark(HTREEITEM hItem, BOOL fAfter = TRUE) {
        return (BOOL)::SendMessage(m_hWnd, TVM_SETINSERTMARK, (WPARAM)fAfter, (LPARAM)hItem);
    }

    // --- Appearance
    // nImageList TVSIL_NORMAL or TVSIL_STATE; the list is borrowed. Answers the
    // previous list (a temporary view).
    CImageList* SetImageList(CImageList* pImageList, int nImageList);
    CImageList* GetImageList(int nImageList) const;
    UINT GetIndent() const { return (UINT)::SendMessage(m_hWnd, TVM_GETINDENT, 0, 0); }
    void SetIndent(UINT nIndent) { ::SendMessage(m_hWnd, TVM_SETINDENT, nIndent, 0); }
    SHORT GetItemHeight() const { return (SHORT)::SendMessage(m_hWnd, TVM_GETITEMHEIGHT, 0, 0); }
    SHORT SetItemHeight(SHORT cyHeight) {
        return (SHORT)::SendMessage(m_hWnd, TVM_SETITEMHEIGHT, (WPARAM)cyHeight, 0);
    }
    COLORREF GetBkColor() const { return (COLORREF)::SendMessage(m_hWnd, TVM_GETBKCOLOR, 0, 0); }
    COLORREF SetBkColor(COLORREF clr) {
        return (COLORREF)::SendMessage(m_hWnd, TVM_SETBKCOLOR, 0, (LPARAM)clr);
    }
    COLORREF GetTextColor() const {
        return (COLORREF)::SendMessage(m_hWnd, TVM_GETTEXTCOLOR, 0, 0);
    }
    COLORREF SetTextColor(COLORREF clr) {
        return (COLORREF)::SendMessage(m_hWnd, TVM_SETTEXTCOLOR, 0, (LPARAM)clr);
    }
    // The tree's tooltip control (TVS_NOTOOLTIPS: none): a typed view, or null.
    CToolTipCtrl* GetToolTips() const;
    HWND SetToolTips(HWND hWndTip) {
        return (HWND)::SendMessage(m_hWnd, TVM_SETTOOLTIPS, (WPARAM)hWndTip, 0);
    }
};
