// Static.h: CStatic, the framework's wrapper of the stock static control
// ("STATIC"): labels, frames, icons and bitmaps.
//
// Status: a stateless wrapper, one message per method. The image handles it is
// given are borrowed: the caller keeps owning them and must keep them alive
// while the control shows them. Not wrapped: enhanced metafiles and cursors.
#pragma once

#include "Wnd.h"

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)

public:
    CStatic() = default;
    ~CStatic() override;

    BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID = 0xffff);

    // SS_ICON controls; answers the icon shown before.
    HICON SetIcon(HICON hIcon) {
        return (HICON)::SendMessage(m_hWnd, STM_SETICON, (WPARAM)hIcon, 0);
    }
    HICON GetIcon() const { return (HICON)::SendMessage(m_hWnd, STM_GETICON, 0, 0); }
    // SS_BITMAP controls; answers the bitmap shown before.
    HBITMAP SetBitmap(HBITMAP hBitmap) {
        return (HBITMAP)::SendMessage(m_hWnd, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hBitmap);
    }
    HBITMAP GetBitmap() const {
        return (HBITMAP)::SendMessage(m_hWnd, STM_GETIMAGE, IMAGE_BITMAP, 0);
    }
};
