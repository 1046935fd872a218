#include "Button.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)

// The HWND, if any, is destroyed by CWnd's destructor.
CButton::~CButton() = default;

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                     UINT nID) {
    return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

UINT CButton::GetButtonStyle() const {
    return (UINT)::GetWindowLongA(m_hWnd, GWL_STYLE) & BS_TYPEMASK;
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) {
    // An owner-drawn button whose class paints nothing: a programming error.
    ASSERT(FALSE);
}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult != nullptr)
        *pResult = TRUE;
    return TRUE;
}
