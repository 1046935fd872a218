// ListCtrl.h: CListCtrl, the framework's wrapper of the list-view common
// control (WC_LISTVIEW).
//
// Status: a stateless wrapper, one message per method, apart from the helpers
// that combine a few (GetItemText into a CString, the selected-item walk,
// GetHeaderCtrl's typed view). Implemented: items, sub-items, columns, states,
// item data, image lists, colours, extended styles, hit tests, geometry,
// scrolling, label editing, sorting by callback, and virtual lists
// (LVS_OWNERDATA: SetItemCount / SetItemCountEx; the control asks its parent
// for texts through LVN_GETDISPINFO, which the parent or a derived list answers
// with ON_NOTIFY / ON_NOTIFY_REFLECT). Not wrapped: groups, tiles, insertion
// marks, working areas, background images (comctl32 6; Wine's 5.81 lacks them).
//
// Text sizes: texts are read with growing buffers, so any length comes back
// whole.
#pragma once

#include "AfxString.h"
#include "Collections.h"
#include "HeaderCtrl.h"
#include "TypedWnd.h"
#include "Wnd.h"

#include <commctrl.h>

class CEdit;
class CImageList;

class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)

public:
    CListCtrl() = default;
    ~CListCtrl() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // --- Items
    int GetItemCount() const { return (int)::SendMessage(m_hWnd, LVM_GETITEMCOUNT, 0, 0); }
    // Virtual lists: the number of rows; nFlags LVSICF_NOINVALIDATEALL,
    // LVSICF_NOSCROLL. For other lists it only reserves room.
    void SetItemCount(int nItems) { ::SendMessage(m_hWnd, LVM_SETITEMCOUNT, (WPARAM)nItems, 0); }
    BOOL SetItemCountEx(int iCount, DWORD dwFlags = LVSICF_NOINVALIDATEALL) {
        return (BOOL)::SendMessage(m_hWnd, LVM_SETITEMCOUNT, (WPARAM)iCount, (LPARAM)dwFlags);
    }
    int InsertItem(const LVITEM* pItem) {
        return (int)::SendMessage(m_hWnd, LVM_INSERTITEMA, 0, (LPARAM)pItem);
    }
    int InsertItem(int nItem, LPCTSTR lpszItem);
    int InsertItem(int nItem, LPCTSTR lpszItem, int nImage);
    int InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask,
                   int nImage, LPARAM lParam);
    BOOL DeleteItem(int nItem) {
        return (BOOL)::SendMessage(m_hWnd, LVM_DELETEITEM, (WPARAM)nItem, 0);
    }
    BOOL DeleteAllItems() { return (BOOL)::SendMessage(m_hWnd, LVM_DELETEALLITEMS, 0, 0); }
    BOOL GetItem(LVITEM* pItem) const {
        return (BOOL)::SendMessage(m_hWnd, LVM_GETITEMA, 0, (LPARAM)pItem);
    }
    BOOL SetItem(const LVITEM* pItem) {
        return (BOOL)::SendMessage(m_hWnd, LVM_SETITEMA, 0, (LPARAM)pItem);
    }
    BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState,
                 UINT nStateMask, LPARAM lParam);
    // The text of a cell; empty for a cell out of range.
    CString GetItemText(int nItem, int nSubItem) const;
    // Copies at most nLen - 1 bytes and the NUL; answers the bytes copied.
    int GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const;
    BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);
    DWORD_PTR GetItemData(int nItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    UINT GetItemState(int nItem, UINT nMask) const {
        return (UINT)::SendMessage(m_hWnd, LVM_GETITEMSTATE, (WPARAM)nItem, (LPARAM)nMask);
    }
    // nItem -1 sets the state of every item.
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    BOOL SetItemState(int nItem, const LVITEM* pItem) {
        return (BOOL)::SendMessage(m_hWnd, LVM_SETITEMSTATE, (WPARAM)nItem, (LPARAM)pItem);
    }
    UINT GetCallbackMask() const { return (UINT)::SendMessage(m_hWnd, LVM_GETCALLBACKMASK, 0, 0); }
    BOOL SetCallbackMask(UINT nMask) {
        return (BOOL)::SendMessage(m_hWnd, LVM_SETCALLBACKMASK, nMask, 0);
    }

    // --- Selection and searching
    UINT GetSelectedCount() const {
        return (UINT)::SendMessage(m_hWnd, LVM_GETSELECTEDCOUNT, 0, 0);
    }
    // The walk over the selected rows: a POSITION is the row index + 1, null at
    // the end.
    POSITION GetFirstSelectedItemPosition() const;
    int GetNextSelectedItem(POSITION& pos) const;
    // nFlags LVNI_*: the next item after nItem (-1: from the start) with those
    // flags.
    int GetNextItem(int nItem, int nFlags) const {
        return (int)::SendMessage(m_hWnd, LVM_GETNEXTITEM, (WPARAM)nItem, MAKELPARAM(nFlags, 0));
    }
    int GetSelectionMark() const { return (int)::SendMessage(m_hWnd, LVM_GETSELECTIONMARK, 0, 0); }
    int SetSelectionMark(int iIndex) {
        return (int)::SendMessage(m_hWnd, LVM_SETSELECTIONMARK, 0, (LPARAM)iIndex);
    }
    int GetHotItem() const { return (int)::SendMessage(m_hWnd, LVM_GETHOTITEM, 0, 0); }
    int SetHotItem(int iIndex) {
        return (int)::SendMessage(m_hWnd, LVM_SETHOTITEM, (WPARAM)iIndex, 0);
    }
    int FindItem(LVFINDINFO* pFindInfo, int nStart = -1) const {
        return (int)::SendMessage(m_hWnd, LVM_FINDITEMA, (WPARAM)nStart, (LPARAM)pFindInfo);
    }
    // Sorts with pfnCompare(lParam1, lParam2, dwData) over the items' data.
    BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData) {
        return (BOOL)::SendMessage(m_hWnd, LVM_SORTITEMS, (WPARAM)dwData, (LPARAM)pfnCompare);
    }

    // --- Columns (report view)
    int InsertColumn(int nCol, const LVCOLUMN* pColumn) {
        return (int)::SendMessage(m_hWnd, LVM_INSERTCOLUMNA, (WPARAM)nCol, (LPARAM)pColumn);
    }
    int InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT,
                     int nWidth = -1, int nSubItem = -1);
    BOOL DeleteColumn(int nCol) {
        return (BOOL)::SendMessage(m_hWnd, LVM_DELETECOLUMN, (WPARAM)nCol, 0);
    }
    BOOL GetColumn(int nCol, LVCOLUMN* pColumn) const {
        return (BOOL)::SendMessage(m_hWnd, LVM_GETCOLUMNA, (WPARAM)nCol, (LPARAM)pColumn);
    }
    BOOL SetColumn(int nCol, const LVCOLUMN* pColumn) {
        return (BOOL)::SendMessage(m_hWnd, LVM_SETCOLUMNA, (WPARAM)nCol, (LPARAM)pColumn);
    }
    int GetColumnWidth(int nCol) const {
        return (int)::SendMessage(m_hWnd, LVM_GETCOLUMNWIDTH, (WPARAM)nCol, 0);
    }
    // cx may be LVSCW_AUTOSIZE or LVSCW_AUTOSIZE_USEHEADER.
    BOOL SetColumnWidth(int nCol, int cx) {
        return (BOOL)::SendMessage(m_hWnd, LVM_SETCOLUMNWIDTH, (WPARAM)nCol, MAKELPARAM(cx, 0));
    }
    // The columns of the header control; 0 when the list has no header.
    int GetColumnCount() const;
    // The list's header as a typed, non-owning view; null without a header.
    CHeaderCtrl* GetHeaderCtrl() const;

    // --- Appearance
    DWORD GetExtendedStyle() const {
        return (DWORD)::SendMessage(m_hWnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    }
    // Answers the previous extended style.
    DWORD SetExtendedStyle(DWORD dwNewStyle) {
        return (DWORD)::SendMessage(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, (LPARAM)dwNewStyle);
    }
    // A control without LVS_SHAREIMAGELISTS destroys its lists with itself, so
    // a list a CImageList owns needs that style (or a Detach). Answers the
    // previous list as a temporary view.
    CImageList* SetImageList(CImageList* pImageList, int nImageListType);
    CImageList* GetImageList(int nImageListType) const;
    COLORREF GetBkColor() const { return (COLORREF)::SendMessage(m_hWnd, LVM_GETBKCOLOR, 0, 0); }
    BOOL SetBkColor(COLORREF cr) {
        return (BOOL)::SendMessage(m_hWnd, LVM_SETBKCOLOR, 0, (LPARAM)cr);
    }
    COLORREF GetTextColor() const {
        return (COLORREF)::SendMessage(m_hWnd, LVM_GETTEXTCOLOR, 0, 0);
    }
    BOOL SetTextColor(COLORREF cr) {
        return (BOOL)::SendMessage(m_hWnd, LVM_SETTEXTCOLOR, 0, (LPARAM)cr);
    }
    COLORREF GetTextBkColor() const {
        return (COLORREF)::SendMessage(m_hWnd, LVM_GETTEXTBKCOLOR, 0, 0);
    }
    BOOL SetTextBkColor(COLORREF cr) {
        return (BOOL)::SendMessage(m_hWnd, LVM_SETTEXTBKCOLOR, 0, (LPARAM)cr);
    }
    int GetStringWidth(LPCTSTR lpsz) const {
        return (int)::SendMessage(m_hWnd, LVM_GETSTRINGWIDTHA, 0, (LPARAM)lpsz);
    }

    // --- Geometry, hit tests and scrolling
    // nCode LVIR_BOUNDS, LVIR_ICON, LVIR_LABEL or LVIR_SELECTBOUNDS.
    BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
    BOOL GetSubItemRect(int iItem, int iSubItem, int nArea, RECT& ref) const;
    BOOL GetItemPosition(int nItem, LPPOINT lpPoint) const {
        return (BOOL)::SendMessage(m_hWnd, LVM_GETITEMPOSITION, (WPARAM)nItem, (LPARAM)lpPoint);
    }
    BOOL GetViewRect(LPRECT lpRect) const {
        return (BOOL)::SendMessage(m_hWnd, LVM_GETVIEWRECT, 0, (LPARAM)lpRect);
    }
    BOOL GetOrigin(LPPOINT lpPoint) const {
        return (BOOL)::SendMessage(m_hWnd, LVM_GETORIGIN, 0, (LPARAM)lpPoint);
    }
    int HitTest(LVHITTESTINFO* pHitTestInfo) const {
        return (int)::SendMessage(m_hWnd, LVM_HITTEST, 0, (LPARAM)pHitTestInfo);
    }
    int HitTest(POINT pt, UINT* pFlags = nullptr) const;
    int SubItemHitTest(LVHITTESTINFO* pInfo) {
        return (int)::SendMessage(m_hWnd, LVM_SUBITEMHITTEST, 0, (LPARAM)pInfo);
    }
    int GetTopIndex() const { return (int)::SendMessage(m_hWnd, LVM_GETTOPINDEX, 0, 0); }
    int GetCountPerPage() const { return (int)::SendMessage(m_hWnd, LVM_GETCOUNTPERPAGE, 0, 0); }
    BOOL EnsureVisible(int nItem, BOOL bPartialOK) {
        return (BOOL)::SendMessage(m_hWnd, LVM_ENSUREVISIBLE, (WPARAM)nItem,
                                   MAKELPARAM(bPartialOK, 0));
    }
    // Pixels; in report view size.cy is rounded to whole rows by the control.
    BOOL Scroll(SIZE size) {
        return (BOOL)::SendMessage(m_hWnd, LVM_SCROLL, (WPARAM)size.cx, (LPARAM)size.cy);
    }
    BOOL RedrawItems(int nFirst, int nLast) {
        return (BOOL)::SendMessage(m_hWnd, LVM_REDRAWITEMS, (WPARAM)nFirst, (LPARAM)nLast);
    }
    BOOL Update(int nItem) { return (BOOL)::SendMessage(m_hWnd, LVM_UPDATE, (WPARAM)nItem, 0); }
    BOOL Arrange(UINT nCode) { return (BOOL)::SendMessage(m_hWnd, LVM_ARRANGE, nCode, 0); }

    // --- Label editing and dragging
    // The edit control of the label being edited: a temporary view, or null.
    CEdit* EditLabel(int nItem);
    CEdit* GetEditControl() const;
    // A drag image the caller owns (delete it); null on failure.
    CImageList* CreateDragImage(int nItem, LPPOINT lpPoint);
};
