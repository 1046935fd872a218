// OXCoolToolBarPaint.cpp: COXCoolToolBar's drawing: non-client area, paint,
// background, custom draw and the drawing operations the skins call back.
#include "OXCoolToolBar.h"

#include "OXToolbarSkin.h"

void COXCoolToolBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
    Default();
    CRect rect(lpncsp->rgrc[0]);
    const BOOL bHorz = IsHorizontalStyle();
    // The framework's own inside rectangle: the icon and the reserved borders
    // follow here (CalcInsideRect of this class would add them twice).
    CMFCToolBar::CalcInsideRect(rect, bHorz);
    if (m_hIcon != nullptr) {
        if (bHorz)
            rect.left += ::GetSystemMetrics(SM_CXSMICON) + 2;
        else
            rect.top += ::GetSystemMetrics(SM_CYSMICON) + 2;
    }
    CRect rectReserved(0, 0, 0, 0);
    CalcReservedBorders(rectReserved, bHorz);
    rect.left += rectReserved.left;
    rect.top += rectReserved.top;
    rect.right -= rectReserved.right;
    rect.bottom -= rectReserved.bottom;
    if (rect.right < rect.left)
        rect.right = rect.left;
    if (rect.bottom < rect.top)
        rect.bottom = rect.top;
    lpncsp->rgrc[0] = rect;
}

void COXCoolToolBar::OnNcPaint() {
    PaintNonClient();
}

void COXCoolToolBar::PaintNonClient() {
    CWindowDC dc(this);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    CRect rectClient;
    GetClientRect(&rectClient);
    ClientToScreen(&rectClient);
    rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    dc.ExcludeClipRect(&rectClient);

    CRect rect = rectWindow;
    GetToolbarSkin()->DrawNonClient(&dc, rect, this);
    if (IsFlat() && IsGripper()) {
        rect = rectWindow;
        DrawGripper(&dc, rect);
    }
    if (m_hIcon != nullptr) {
        rect = rectWindow;
        DrawIcon(&dc, rect);
    }
    rect = rectWindow;
    DrawReservedArea(&dc, rect);
}

void COXCoolToolBar::OnPaint() {
    if (GetComCtlVersion() >= OX_COMCTL_VERSION_471) {
        Default();
        return;
    }
    // Old common controls: a docked non-flat bar lets the control paint,
    // then has the same area painted again with erasing.
    CRect rectUpdate;
    GetUpdateRect(&rectUpdate);
    if (!IsFloating()) {
        Default();
        if (IsFlat())
            return;
        InvalidateRect(&rectUpdate, TRUE);
    }
    Default();
}

BOOL COXCoolToolBar::OnEraseBkgnd(CDC* pDC) {
    if (GetToolbarSkin()->UseDefaultBackground())
        return CMFCToolBar::OnEraseBkgnd(pDC);
    return TRUE;
}

void COXCoolToolBar::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult) {
    GetToolbarSkin()->OnCustomDraw(pNMHDR, pResult, this);
}

void COXCoolToolBar::DrawGripper(CDC* pDC, CRect& rect) {
    GetToolbarSkin()->DrawGripper(pDC, rect, this);
}

void COXCoolToolBar::DrawSeparator(CDC* pDC, CRect& rect) {
    GetToolbarSkin()->DrawSeparator(pDC, rect, this);
}

void COXCoolToolBar::DrawCustomizedButton(CDC* pDC, CRect& rect) {
    GetToolbarSkin()->DrawCustomizedButton(pDC, rect, this);
}

void COXCoolToolBar::DrawReservedArea(CDC*, CRect&) {}

void COXCoolToolBar::DrawIcon(CDC* pDC, CRect& rect) {
    if (m_hIcon == nullptr)
        return;
    const int cxIcon = ::GetSystemMetrics(SM_CXSMICON);
    const int cyIcon = ::GetSystemMetrics(SM_CYSMICON);
    // Inside a gripper's space on a docked bar at the window's start.
    const bool bAtStart = !IsFloating();
    if (IsHorizontalStyle()) {
        if (rect.left != 0 || !bAtStart) {
            m_rectIcon.left = rect.left + 3;
            m_rectIcon.top = 3;
        } else {
            m_rectIcon.left = rect.left + 10;
            m_rectIcon.top = (rect.Height() - cyIcon) / 2;
        }
        m_rectIcon.right = m_rectIcon.left + cxIcon;
        m_rectIcon.bottom = m_rectIcon.top + cyIcon;
        rect.left = m_rectIcon.right + 1;
    } else {
        if (rect.top != 0 || !bAtStart)
            m_rectIcon.top = rect.top + 3;
        else
            m_rectIcon.top = rect.top + 10;
        m_rectIcon.left = (rect.Width() - cxIcon) / 2;
        m_rectIcon.right = m_rectIcon.left + cxIcon;
        m_rectIcon.bottom = m_rectIcon.top + cyIcon;
        rect.top = m_rectIcon.bottom + 1;
    }
    ::DrawIconEx(pDC->GetSafeHdc(), m_rectIcon.left, m_rectIcon.top, m_hIcon, cxIcon, cyIcon, 0,
                 nullptr, DI_NORMAL);
}

void COXCoolToolBar::DrawBorders(CDC* pDC, CRect& rect) {
    const DWORD dwStyle = m_dwStyle;
    if (!(dwStyle & CBRS_BORDER_ANY))
        return;
    const bool b3D = (dwStyle & CBRS_BORDER_3D) != 0;
    const COLORREF crShadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF crHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    CRect rectLines = rect;
    // With the 3D bit the shadow's right and bottom lines sit one pixel in,
    // leaving the outer edge to the highlight.
    if (b3D) {
        rectLines.right -= 1;
        rectLines.bottom -= 1;
    }
    const int cy = rectLines.Height();
    if (dwStyle & CBRS_BORDER_LEFT)
        pDC->FillSolidRect(rectLines.left, rectLines.top, 1, cy, crShadow);
    if (dwStyle & CBRS_BORDER_TOP)
        pDC->FillSolidRect(rectLines.left, rectLines.top, rectLines.Width(), 1, crShadow);
    if (dwStyle & CBRS_BORDER_RIGHT)
        pDC->FillSolidRect(rectLines.right - 1, rectLines.top, 1, cy, crShadow);
    if (dwStyle & CBRS_BORDER_BOTTOM)
        pDC->FillSolidRect(rectLines.left, rectLines.bottom - 1, rectLines.Width(), 1, crShadow);
    if (b3D) {
        const int cyAll = rect.Height();
        if (dwStyle & CBRS_BORDER_LEFT)
            pDC->FillSolidRect(rect.left + 1, rect.top + 1, 1, cyAll - 2, crHighlight);
        if (dwStyle & CBRS_BORDER_TOP)
            pDC->FillSolidRect(rect.left + 1, rect.top + 1, rect.Width() - 2, 1, crHighlight);
        if (dwStyle & CBRS_BORDER_RIGHT)
            pDC->FillSolidRect(rect.right - 1, rect.top, 1, cyAll, crHighlight);
        if (dwStyle & CBRS_BORDER_BOTTOM)
            pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, crHighlight);
    }
    const int cx2 = ::GetSystemMetrics(SM_CXBORDER) * 2;
    const int cy2 = ::GetSystemMetrics(SM_CYBORDER) * 2;
    if (dwStyle & CBRS_BORDER_LEFT)
        rect.left += cx2;
    if (dwStyle & CBRS_BORDER_TOP)
        rect.top += cy2;
    if (dwStyle & CBRS_BORDER_RIGHT)
        rect.right -= cx2;
    if (dwStyle & CBRS_BORDER_BOTTOM)
        rect.bottom -= cy2;
}
