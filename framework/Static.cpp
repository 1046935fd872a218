#include "Static.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)

// The HWND, if any, is destroyed by CWnd's destructor.
CStatic::~CStatic() = default;

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                     UINT nID) {
    return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}
