// OXDockbarSkin2003.cpp: COXDockbarSkin2003, the Office 2003 look: 24-pixel
// gradient captions with dotted grippers, and the dock area's gradient behind
// dock bars that hold only toolbars.
#include "OXDockbarSkin.h"

#include "OXSizeCtrlBar.h"
#include "OXSizeDockBar.h"
#include "OXSplitterRect.h"
#include "OXWndGeometry.h"

#include <algorithm>

namespace {

COLORREF Sys(int nIndex) {
    return ::GetSysColor(nIndex);
}

const int kCaptionSize = 24;
// A caption button is its band's square less these on the near and far sides.
const int kButtonNearInset = 7;
const int kButtonFarInset = 6;
const int kButtonGap = 3;
// The separator strip towards a neighbouring bar.
const int kSeparatorSize = 2;

} // namespace

void COXDockbarSkin2003::CalcNonClientSize(BOOL, LPRECT lpRect, COXSizeControlBar* pBar) {
    InsetNonClient(lpRect, pBar, kCaptionSize);
}

void COXDockbarSkin2003::LayoutCaption(COXSizeControlBar* pBar) {
    CRect& rectCaption = pBar->m_rectCaption;
    rectCaption = GetWindowInClient(pBar);
    if (!ShowsCaptionBand(pBar))
        return;
    const BOOL bVertical = HasVerticalCaption(pBar);
    CRect rectSquare;
    if (bVertical) {
        rectCaption.DeflateRect(0, 2);
        rectCaption.right = rectCaption.left + kCaptionSize;
        rectSquare = rectCaption;
        rectSquare.bottom = rectSquare.top + rectSquare.Width();
    } else {
        rectCaption.DeflateRect(2, 0);
        rectCaption.bottom = rectCaption.top + kCaptionSize;
        rectSquare = rectCaption;
        rectSquare.left = rectSquare.right - rectSquare.Height();
    }
    rectSquare.DeflateRect(kButtonNearInset, kButtonNearInset, kButtonFarInset, kButtonFarInset);
    if (pBar->HasCloseButton())
        pBar->m_rectCloseBtn = rectSquare;
    if (pBar->HasResizeButton()) {
        CRect rectResize = rectSquare;
        if (pBar->HasCloseButton()) {
            if (bVertical)
                rectResize.OffsetRect(0, rectResize.Height() + kButtonGap);
            else
                rectResize.OffsetRect(-(rectResize.Width() + kButtonGap), 0);
        }
        pBar->m_rectResizeBtn = rectResize;
    }
}

void COXDockbarSkin2003::DrawGripper(CDC* pDC, COXSizeControlBar* pBar) {
    if (!ShowsCaptionBand(pBar))
        return;
    COXSkin2003* pSkin = Skin2003();
    const BOOL bVertical = HasVerticalCaption(pBar);
    const CPoint ptOffset = OXClientOffsetInWindow(pBar);
    CRect rect = pBar->m_rectCaption;
    rect.OffsetRect(ptOffset);
    pSkin->FillGradient(pDC, rect, pSkin->GetDockbarLightColor(), pSkin->GetDockbarDarkColor(),
                        bVertical ? OX_GRADIENT_HORIZONTAL : OX_GRADIENT_VERTICAL);

    // A bar with a neighbour before it in its dock bar is set off by a strip.
    CDockBar* pDockBar = pBar->m_pDockBar;
    if (pDockBar != nullptr && pDockBar->GetSafeHwnd() != nullptr) {
        CRect rectInDock;
        pBar->GetWindowRect(&rectInDock);
        pDockBar->ScreenToClient(&rectInDock);
        if (bVertical && rectInDock.left > 0)
            pDC->FillSolidRect(rect.left, rect.top, kSeparatorSize, rect.Height(),
                               pSkin->GetFaceColor());
        else if (!bVertical && rectInDock.top > 0)
            pDC->FillSolidRect(rect.left, rect.top, rect.Width(), kSeparatorSize,
                               pSkin->GetFaceColor());
    }

    CRect rectDots = rect;
    if (bVertical) {
        rectDots.DeflateRect(5, 5);
        rectDots.top = rectDots.bottom - 2;
    } else {
        rectDots.DeflateRect(3, 6);
        rectDots.right = rectDots.left + 2;
    }
    pSkin->DrawGripperPattern(pDC, rectDots, !bVertical);

    CString strText;
    pBar->GetWindowText(strText);
    if (strText.IsEmpty())
        return;
    // The text ends before the innermost button.
    const CRect* pButton = nullptr;
    if (pBar->HasResizeButton())
        pButton = &pBar->m_rectResizeBtn;
    else if (pBar->HasCloseButton())
        pButton = &pBar->m_rectCloseBtn;
    CRect rectButton;
    if (pButton != nullptr) {
        rectButton = *pButton;
        rectButton.OffsetRect(ptOffset);
    }

    CFont fontRotated;
    CFont* pFont = &m_fontCaption;
    CRect rectText;
    UINT nFormat = DT_SINGLELINE | DT_END_ELLIPSIS;
    if (bVertical) {
        LOGFONT lf;
        m_fontCaption.GetLogFont(&lf);
        lf.lfEscapement = lf.lfOrientation = 900;
        if (fontRotated.CreateFontIndirect(&lf))
            pFont = &fontRotated;
        rectText.SetRect(6, 0, rect.Height(), rect.bottom + 2);
        if (pButton != nullptr)
            rectText.top = rectButton.bottom + 1;
        nFormat |= DT_BOTTOM;
    } else {
        rectText = rect;
        rectText.OffsetRect(13, 2);
        if (pButton != nullptr)
            rectText.right = rectButton.left - 1;
        nFormat |= DT_VCENTER;
    }
    CScopedSelect selectFont(*pDC, pFont);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(strText, &rectText, nFormat);
    pDC->SetBkMode(nOldMode);
}

void COXDockbarSkin2003::GetButtonLook(COXSizeControlBar*, BOOL* pbLight, COLORREF* pcrBackground) {
    *pbLight = FALSE;
    *pcrBackground = Sys(COLOR_BTNFACE);
}

void COXDockbarSkin2003::DrawNonClientArea(CDC* pDC, const CRect& rectWindow, COXSizeControlBar*) {
    const COLORREF crFace = m_pSkin->GetFaceColor();
    pDC->FillSolidRect(rectWindow, crFace);
    pDC->SetBkColor(crFace);
}

void COXDockbarSkin2003::DrawSplitter(CDC* pDC, COXSplitterRect* pSplitter, COXSizeDockBar*) {
    DrawFlatSplitter(pDC, pSplitter, m_pSkin->GetFaceColor(), Skin2003()->GetDockbarAccentColor());
}

void COXDockbarSkin2003::FillDockAreaBand(CDC* pDC, const CRect& rectBand) const {
    COXSkin2003* pSkin = Skin2003();
    const int nCentre = rectBand.CenterPoint().x;
    const COLORREF crLight = pSkin->GetDockAreaLightColor();
    pSkin->FillGradient(pDC, CRect(rectBand.left, rectBand.top, nCentre, rectBand.bottom),
                        pSkin->GetDockAreaDarkColor(), crLight, OX_GRADIENT_HORIZONTAL);
    pDC->FillSolidRect(CRect(nCentre, rectBand.top, rectBand.right, rectBand.bottom), crLight);
}

void COXDockbarSkin2003::DrawDockBarNonClient(COXSizeDockBar* pDockBar) {
    CRect rectWindow;
    pDockBar->GetWindowRect(&rectWindow);
    CRect rectFrame(0, 0, 0, 0);
    if (CWnd* pFrame = pDockBar->GetParent())
        pFrame->GetWindowRect(&rectFrame);
    // The band is anchored to the frame, so that neighbouring dock bars show
    // one gradient.
    const int nWidth = std::max<int>(::GetSystemMetrics(SM_CXSCREEN), rectFrame.Width());
    const int nLeft = rectFrame.left - rectWindow.left;
    const CRect rectBand(nLeft, 0, nLeft + nWidth, rectWindow.Height());

    CWindowDC dc(pDockBar);
    dc.ExcludeClipRect(OXClientRectInWindow(pDockBar));
    if (pDockBar->FindOtherSizeBar(nullptr) != nullptr)
        dc.FillSolidRect(rectBand, m_pSkin->GetFaceColor());
    else
        FillDockAreaBand(&dc, rectBand);
}

void COXDockbarSkin2003::DrawDockBarBackground(CDC* pDC, COXSizeDockBar* pDockBar) {
    CRect rectClient;
    pDockBar->GetClientRect(&rectClient);
    const int nWidth = std::max<int>(::GetSystemMetrics(SM_CXSCREEN), rectClient.Width());
    FillDockAreaBand(
        pDC, CRect(rectClient.left, rectClient.top, rectClient.left + nWidth, rectClient.bottom));
}
