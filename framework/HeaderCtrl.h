// HeaderCtrl.h: CHeaderCtrl, the framework's wrapper of the header control
// (WC_HEADER), as list views carry it.
//
// Status: a stateless wrapper, one message per method: items, their order and
// rectangles, hit tests, the image list. Not wrapped: filters, drop-down
// buttons and focus (comctl32 6).
#pragma once

#include "Wnd.h"

#include <commctrl.h>

class CImageList;

class CHeaderCtrl : public CWnd {
    DECLARE_DYNAMIC(CHeaderCtrl)

public:
    CHeaderCtrl() = default;
    ~CHeaderCtrl() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
        return CWnd::Create(WC_HEADERA, nullptr, dwStyle, rect, pParentWnd, nID);
    }

    int GetItemCount() const { return (int)::SendMessage(m_hWnd, HDM_GETITEMCOUNT, 0, 0); }
    int InsertItem(int nPos, HDITEM* phdi) {
        return (int)::SendMessage(m_hWnd, HDM_INSERTITEMA, (WPARAM)nPos, (LPARAM)phdi);
    }
    BOOL DeleteItem(int nPos) {
        return (BOOL)::SendMessage(m_hWnd, HDM_DELETEITEM, (WPARAM)nPos, 0);
    }
    BOOL GetItem(int nPos, HDITEM* pHeaderItem) const {
        return (BOOL)::SendMessage(m_hWnd, HDM_GETITEMA, (WPARAM)nPos, (LPARAM)pHeaderItem);
    }
    BOOL SetItem(int nPos, HDITEM* pHeaderItem) {
        return (BOOL)::SendMessage(m_hWnd, HDM_SETITEMA, (WPARAM)nPos, (LPARAM)pHeaderItem);
    }
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const {
        return (BOOL)::SendMessage(m_hWnd, HDM_GETITEMRECT, (WPARAM)nIndex, (LPARAM)lpRect);
    }
    // Display order: lpiArray receives iCount item indexes, left to right.
    BOOL GetOrderArray(LPINT piArray, int iCount) const {
        return (BOOL)::SendMessage(m_hWnd, HDM_GETORDERARRAY, (WPARAM)iCount, (LPARAM)piArray);
    }
    BOOL SetOrderArray(int iCount, LPINT piArray) {
        return (BOOL)::SendMessage(m_hWnd, HDM_SETORDERARRAY, (WPARAM)iCount, (LPARAM)piArray);
    }
    int OrderToIndex(int nOrder) const {
        return (int)::SendMessage(m_hWnd, HDM_ORDERTOINDEX, (WPARAM)nOrder, 0);
    }
    int HitTest(LPHDHITTESTINFO pHeaderHitTestInfo) const {
        return (int)::SendMessage(m_hWnd, HDM_HITTEST, 0, (LPARAM)pHeaderHitTestInfo);
    }
    BOOL Layout(HDLAYOUT* pHeaderLayout) {
        return (BOOL)::SendMessage(m_hWnd, HDM_LAYOUT, 0, (LPARAM)pHeaderLayout);
    }
    // The list is borrowed; answers the previous one (a temporary view).
    CImageList* SetImageList(CImageList* pImageList);
    CImageList* GetImageList() const;
};
