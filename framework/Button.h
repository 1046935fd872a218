// Button.h: CButton, the framework's wrapper of the stock push button, check
// box, radio button and group box ("BUTTON" window class).
//
// Status: a stateless wrapper, one message per method; the object holds nothing
// but the HWND of its CWnd base. Owner-drawn buttons (BS_OWNERDRAW) get their
// WM_DRAWITEM reflected back from the parent and call the virtual DrawItem,
// which derived buttons override; the base asserts, since an owner-drawn button
// without a painter is a programming error. Not wrapped: split buttons, notes,
// image lists (BCM_* messages of comctl32 6, which Wine's 5.81 lacks anyway).
#pragma once

#include "Wnd.h"

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)

public:
    CButton() = default;
    ~CButton() override;

    BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
    int GetCheck() const { return (int)::SendMessage(m_hWnd, BM_GETCHECK, 0, 0); }
    void SetCheck(int nCheck) { ::SendMessage(m_hWnd, BM_SETCHECK, (WPARAM)nCheck, 0); }
    // BST_PUSHED, BST_FOCUS and the check bits.
    UINT GetState() const { return (UINT)::SendMessage(m_hWnd, BM_GETSTATE, 0, 0); }
    void SetState(BOOL bHighlight) { ::SendMessage(m_hWnd, BM_SETSTATE, (WPARAM)bHighlight, 0); }
    // The BS_TYPEMASK part of the window style.
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE) {
        ::SendMessage(m_hWnd, BM_SETSTYLE, (WPARAM)nStyle, (LPARAM)bRedraw);
    }
    // The image handles are borrowed: the caller keeps owning them.
    HICON SetIcon(HICON hIcon) {
        return (HICON)::SendMessage(m_hWnd, BM_SETIMAGE, IMAGE_ICON, (LPARAM)hIcon);
    }
    HICON GetIcon() const { return (HICON)::SendMessage(m_hWnd, BM_GETIMAGE, IMAGE_ICON, 0); }
    HBITMAP SetBitmap(HBITMAP hBitmap) {
        return (HBITMAP)::SendMessage(m_hWnd, BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hBitmap);
    }
    HBITMAP GetBitmap() const {
        return (HBITMAP)::SendMessage(m_hWnd, BM_GETIMAGE, IMAGE_BITMAP, 0);
    }
    // Presses the button as a click would, sending BN_CLICKED to the parent.
    void Click() { ::SendMessage(m_hWnd, BM_CLICK, 0, 0); }

    // Paints an owner-drawn button; called through the reflected WM_DRAWITEM.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
