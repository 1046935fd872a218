// OXToolbarSkin2003.cpp: COXToolbarSkin2003, the Office 2003 look: gradient
// bars with rounded corners on the frame-wide band of the dock area,
// gradient button states and separators with a white shadow line.
#include "OXToolbarSkin.h"

#include "OXCoolToolBar.h"

#include <algorithm>

namespace {

// Separators of the 2003 look stop this far short of both ends.
const int kSeparatorShortening = 4;

bool IsWindows9x() {
    return (::GetVersion() & 0x80000000) != 0;
}

int FrameWidth(CWnd* pFrame) {
    CRect rect;
    pFrame->GetWindowRect(&rect);
    return std::max(static_cast<int>(::GetSystemMetrics(SM_CXSCREEN)), rect.Width());
}

} // namespace

void COXToolbarSkin2003::Gradient(CDC* pDC, const CRect& rect, COLORREF crStart, COLORREF crEnd,
                                  int nMode) const {
    if (IsWindows9x())
        COXSkin2003::FillGradientByLines(pDC, rect, crStart, crEnd, nMode);
    else
        Skin2003()->FillGradient(pDC, rect, crStart, crEnd, nMode);
}

void COXToolbarSkin2003::DrawDockAreaBand(CDC* pDC, int nLeft, int nHeight,
                                          COXCoolToolBar* pBar) const {
    CWnd* pFrame = pBar->GetTopLevelParent();
    const int nWidth = pFrame != nullptr ? FrameWidth(pFrame) : ::GetSystemMetrics(SM_CXSCREEN);
    const COXSkin2003* pSkin = Skin2003();
    const CRect rectDark(nLeft, 0, nLeft + nWidth / 2, nHeight);
    Gradient(pDC, rectDark, pSkin->GetDockAreaDarkColor(), pSkin->GetDockAreaLightColor(),
             OX_GRADIENT_HORIZONTAL);
    pDC->FillSolidRect(CRect(rectDark.right, 0, nLeft + nWidth, nHeight),
                       pSkin->GetDockAreaLightColor());
}

void COXToolbarSkin2003::DrawGripper(CDC* pDC, CRect& rect, COXCoolToolBar* pBar) {
    if (pBar->IsFloating())
        return;
    CRect rectGrip = rect;
    if (IsHorizontal(pBar)) {
        rectGrip.DeflateRect(2, 6, 2, 5);
        rectGrip.OffsetRect(1, 0);
        if (pBar->m_pDockContext != nullptr) {
            rectGrip.left += 2;
            rectGrip.bottom -= 2;
        } else if (pBar->m_dwStyle & CBRS_BORDER_BOTTOM) {
            rectGrip.top -= 2;
            rectGrip.bottom -= 2;
        }
        rectGrip.right = rectGrip.left + 2;
        Skin2003()->DrawGripperPattern(pDC, rectGrip, TRUE);
    } else {
        rectGrip.DeflateRect(3, 4, 7, 4);
        rectGrip.OffsetRect(0, 1);
        if (pBar->m_pDockContext != nullptr)
            rectGrip.left += 2;
        else
            rectGrip.right += 2;
        rectGrip.bottom = rectGrip.top + 2;
        Skin2003()->DrawGripperPattern(pDC, rectGrip, FALSE);
    }
}

void COXToolbarSkin2003::DrawNonClient(CDC* pDC, CRect& rectWindow, COXCoolToolBar* pBar) {
    const COXSkin2003* pSkin = Skin2003();
    if (!pBar->IsFloating()) {
        // The band that runs across the whole frame behind all docked bars.
        CRect rectBar;
        pBar->GetWindowRect(&rectBar);
        CWnd* pFrame = pBar->GetTopLevelParent();
        CRect rectFrame = rectBar;
        if (pFrame != nullptr)
            pFrame->GetWindowRect(&rectFrame);
        DrawDockAreaBand(pDC, rectFrame.left - rectBar.left, rectWindow.Height(), pBar);
    } else {
        pDC->FillSolidRect(rectWindow, pSkin->GetFaceColor());
    }
    if (IsMenuBar(pBar))
        return;
    CRect rect = rectWindow;
    rect.DeflateRect(2, 2);
    if (rect.IsRectEmpty())
        return;
    // The corner pixels keep the band behind them: the ring looks rounded.
    const COLORREF crCorners[4] = {
        pDC->GetPixel(rect.left, rect.top), pDC->GetPixel(rect.right - 1, rect.top),
        pDC->GetPixel(rect.left, rect.bottom - 1), pDC->GetPixel(rect.right - 1, rect.bottom - 1)};
    Gradient(pDC, rect, pSkin->GetToolbarLightColor(), pSkin->GetToolbarDarkColor(),
             IsHorizontal(pBar) ? OX_GRADIENT_VERTICAL : OX_GRADIENT_HORIZONTAL);
    pDC->SetPixel(rect.left, rect.top, crCorners[0]);
    pDC->SetPixel(rect.right - 1, rect.top, crCorners[1]);
    pDC->SetPixel(rect.left, rect.bottom - 1, crCorners[2]);
    pDC->SetPixel(rect.right - 1, rect.bottom - 1, crCorners[3]);
}

void COXToolbarSkin2003::DrawSeparator(CDC* pDC, CRect& rectItem, COXCoolToolBar*) {
    CRect rectLine;
    if (rectItem.Width() < rectItem.Height()) {
        const int x = (rectItem.left + rectItem.right) / 2 - 1;
        rectLine.SetRect(x, rectItem.top + kSeparatorShortening, x + 1,
                         rectItem.bottom - kSeparatorShortening);
    } else {
        const int y = (rectItem.top + rectItem.bottom) / 2 - 1;
        rectLine.SetRect(rectItem.left + kSeparatorShortening, y,
                         rectItem.right - kSeparatorShortening, y + 1);
    }
    if (rectLine.IsRectEmpty())
        return;
    pDC->FillSolidRect(rectLine, m_pSkin->GetSeparatorColor());
    rectLine.OffsetRect(1, 1);
    pDC->FillSolidRect(rectLine, RGB(255, 255, 255));
}

void COXToolbarSkin2003::DrawComboBox(CComboBox* pComboBox) {
    // A gradient face on the drop-down button, framed in the border colour.
    CWindowDC dc(pComboBox);
    CRect rect;
    pComboBox->GetWindowRect(&rect);
    rect.OffsetRect(-rect.left, -rect.top);
    CRect rectButton = rect;
    rectButton.DeflateRect(1, 1);
    rectButton.left = rectButton.right - ::GetSystemMetrics(SM_CXVSCROLL);
    Skin2003()->FillGradient(&dc, rectButton, Skin2003()->GetTabLightColor(),
                             Skin2003()->GetTabDarkColor(), OX_GRADIENT_VERTICAL);
    CBrush brush;
    brush.CreateSolidBrush(m_pSkin->GetBorderColor());
    dc.FrameRect(&rect, &brush);
}

void COXToolbarSkin2003::DrawEditBorder(CEdit* pEdit) {
    // The border takes the light-to-dark gradient of the bar's fields.
    CWindowDC dc(pEdit);
    CRect rect;
    pEdit->GetWindowRect(&rect);
    rect.OffsetRect(-rect.left, -rect.top);
    CRect rectClient;
    pEdit->GetClientRect(&rectClient);
    pEdit->ClientToScreen(&rectClient);
    CRect rectWindow;
    pEdit->GetWindowRect(&rectWindow);
    rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
    const int nSaved = dc.SaveDC();
    dc.ExcludeClipRect(&rectClient);
    Skin2003()->FillGradient(&dc, rect, Skin2003()->GetTabLightColor(),
                             Skin2003()->GetTabDarkColor(), OX_GRADIENT_VERTICAL);
    dc.RestoreDC(nSaved);
}

void COXToolbarSkin2003::DrawBackground(CDC* pDC, COXCoolToolBar* pBar) {
    CRect rectWindow;
    pBar->GetWindowRect(&rectWindow);
    if (!IsMenuBar(pBar)) {
        pBar->ScreenToClient(&rectWindow);
        Gradient(pDC, rectWindow, Skin2003()->GetToolbarLightColor(),
                 Skin2003()->GetToolbarDarkColor(),
                 IsHorizontal(pBar) ? OX_GRADIENT_VERTICAL : OX_GRADIENT_HORIZONTAL);
        return;
    }
    CWnd* pFrame = pBar->GetTopLevelParent();
    CRect rectFrame = rectWindow;
    if (pFrame != nullptr)
        pFrame->GetWindowRect(&rectFrame);
    DrawDockAreaBand(pDC, rectFrame.left - rectWindow.left - 2, rectWindow.Height(), pBar);
}

void COXToolbarSkin2003::EraseButton(CDC*, const CRect&) {}

void COXToolbarSkin2003::FillButtonLook(CDC* pDC, const CRect& rect, ButtonLook look) {
    const COXSkin2003* pSkin = Skin2003();
    COLORREF crStart = pSkin->GetHotGradientStart();
    COLORREF crEnd = pSkin->GetHotGradientEnd();
    if (look == lookPressed) {
        crStart = pSkin->GetPressedGradientStart();
        crEnd = pSkin->GetPressedGradientEnd();
    } else if (look == lookChecked) {
        crStart = pSkin->GetCheckedGradientStart();
        crEnd = pSkin->GetCheckedGradientEnd();
    }
    pSkin->FillGradient(pDC, rect, crStart, crEnd, OX_GRADIENT_VERTICAL);
}
