// TabCtrl.h: CTabCtrl, the framework's wrapper of the tab control
// (WC_TABCONTROL).
//
// Status: a stateless wrapper, one message per method: items, selection, focus,
// geometry, hit tests, the image list. Owner-drawn tabs (TCS_OWNERDRAWFIXED)
// get WM_DRAWITEM reflected from the parent and call the virtual DrawItem.
// Not wrapped: extended styles and item highlighting.
#pragma once

#include "Wnd.h"

#include <commctrl.h>

class CImageList;

class CTabCtrl : public CWnd {
    DECLARE_DYNAMIC(CTabCtrl)

public:
    CTabCtrl() = default;
    ~CTabCtrl() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
        return CWnd::Create(WC_TABCONTROLA, nullptr, dwStyle, rect, pParentWnd, nID);
    }

    int GetItemCount() const { return (int)::SendMessage(m_hWnd, TCM_GETITEMCOUNT, 0, 0); }
    LONG InsertItem(int nItem, TCITEM* pTabCtrlItem) {
        return (LONG)::SendMessage(m_hWnd, TCM_INSERTITEMA, (WPARAM)nItem, (LPARAM)pTabCtrlItem);
    }
    LONG InsertItem(int nItem, LPCTSTR lpszItem);
    LONG InsertItem(int nItem, LPCTSTR lpszItem, int nImage);
    BOOL DeleteItem(int nItem) {
        return (BOOL)::SendMessage(m_hWnd, TCM_DELETEITEM, (WPARAM)nItem, 0);
    }
    BOOL DeleteAllItems() { return (BOOL)::SendMessage(m_hWnd, TCM_DELETEALLITEMS, 0, 0); }
    BOOL GetItem(int nItem, TCITEM* pTabCtrlItem) const {
        return (BOOL)::SendMessage(m_hWnd, TCM_GETITEMA, (WPARAM)nItem, (LPARAM)pTabCtrlItem);
    }
    BOOL SetItem(int nItem, TCITEM* pTabCtrlItem) {
        return (BOOL)::SendMessage(m_hWnd, TCM_SETITEMA, (WPARAM)nItem, (LPARAM)pTabCtrlItem);
    }

    int GetCurSel() const { return (int)::SendMessage(m_hWnd, TCM_GETCURSEL, 0, 0); }
    // Answers the previous selection; sends no TCN_SELCHANGE.
    int SetCurSel(int nItem) { return (int)::SendMessage(m_hWnd, TCM_SETCURSEL, (WPARAM)nItem, 0); }
    int GetCurFocus() const { return (int)::SendMessage(m_hWnd, TCM_GETCURFOCUS, 0, 0); }
    void SetCurFocus(int nItem) { ::SendMessage(m_hWnd, TCM_SETCURFOCUS, (WPARAM)nItem, 0); }

    BOOL GetItemRect(int nItem, LPRECT lpRect) const {
        return (BOOL)::SendMessage(m_hWnd, TCM_GETITEMRECT, (WPARAM)nItem, (LPARAM)lpRect);
    }
    // bLarger TRUE: the window rectangle for a display rectangle; FALSE: the
    // reverse.
    void AdjustRect(BOOL bLarger, LPRECT lpRect) {
        ::SendMessage(m_hWnd, TCM_ADJUSTRECT, (WPARAM)bLarger, (LPARAM)lpRect);
    }
    int GetRowCount() const { return (int)::SendMessage(m_hWnd, TCM_GETROWCOUNT, 0, 0); }
    // Answers the previous size (cx in the low word, cy in the high word).
    CSize SetItemSize(CSize size);
    void SetPadding(CSize size) {
        ::SendMessage(m_hWnd, TCM_SETPADDING, 0, MAKELPARAM(size.cx, size.cy));
    }
    int SetMinTabWidth(int cx) {
        return (int)::SendMessage(m_hWnd, TCM_SETMINTABWIDTH, 0, (LPARAM)cx);
    }
    int HitTest(TCHITTESTINFO* pHitTestInfo) const {
        return (int)::SendMessage(m_hWnd, TCM_HITTEST, 0, (LPARAM)pHitTestInfo);
    }
    // The list is borrowed; answers the previous one (a temporary view).
    CImageList* SetImageList(CImageList* pImageList);
    CImageList* GetImageList() const;

    // Paints an owner-drawn tab; called through the reflected WM_DRAWITEM.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
