// OXDockbarSkinXP.cpp: COXDockbarSkinXP, the flat Office XP look of sizeable
// bars, dock bars and splitters in the colours of its skin.
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

// Splitters are painted no further down than this.
const int kSplitterLimit = 8000;
const int kMarkGap = 3;
const int kMinMarkLength = 6;
// The four gripper lines, 2 pixels apart.
const int kMarkLines = 4;
const int kMarkStep = 2;
// A solid caption's text starts this far into the band.
const int kSolidTextInset = 4;

} // namespace

COXDockbarSkinXP::COXDockbarSkinXP(COXSkinXP* pSkin) : m_pSkin(pSkin), m_nButtonGap(3) {
    m_fontCaption.CreatePointFont(85, "Tahoma BOLD");
}

void COXDockbarSkinXP::DrawGripper(CDC* pDC, COXSizeControlBar* pBar) {
    if (!ShowsCaptionBand(pBar))
        return;
    const BOOL bVertical = HasVerticalCaption(pBar);
    const BOOL bSolid = pBar->HasSolidCaption();
    CRect rect = pBar->m_rectCaption;
    if (bSolid) {
        // The solid band runs under the buttons too.
        if (pBar->HasCloseButton())
            rect.UnionRect(rect, pBar->m_rectCloseBtn);
        if (pBar->HasResizeButton())
            rect.UnionRect(rect, pBar->m_rectResizeBtn);
    }
    rect.InflateRect(3, 3);
    rect.OffsetRect(OXClientOffsetInWindow(pBar));

    CRect rectText = rect;
    if (bSolid) {
        CRect rectFill = rect;
        rectFill.DeflateRect(bVertical ? 2 : 1, 2, 1, 1);
        pDC->FillSolidRect(rectFill, Sys(COLOR_INACTIVECAPTION));
        if (bVertical)
            rectText.bottom -= kSolidTextInset;
        else
            rectText.left += kSolidTextInset;
    } else {
        if (bVertical)
            rect.DeflateRect(2, 0);
        else
            rect.DeflateRect(4, 2);
        rectText = rect;
    }
    const CRect rectDrawn =
        DrawCaptionText(pDC, pBar, rect, rectText, &m_fontCaption,
                        Sys(bSolid ? COLOR_CAPTIONTEXT : COLOR_WINDOWTEXT), bSolid);
    if (bSolid)
        return;

    const BOOL bTextDrawn = !rectDrawn.IsRectNull();
    if (bVertical) {
        if (bTextDrawn)
            rect.bottom = rectDrawn.top - kMarkGap;
        if (rect.Height() < kMinMarkLength)
            return;
        rect.left += 3;
        rect.bottom -= 1;
    } else {
        if (bTextDrawn)
            rect.left = rectDrawn.right + kMarkGap;
        if (rect.Width() < kMinMarkLength)
            return;
        rect.top += 3;
        rect.right -= 1;
    }
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, 1, m_pSkin->GetGripperColor()))
        return;
    CScopedSelect selectPen(*pDC, &pen);
    for (int i = 0; i < kMarkLines; i++) {
        if (bVertical) {
            pDC->MoveTo(rect.left + i * kMarkStep, rect.top);
            pDC->LineTo(rect.left + i * kMarkStep, rect.bottom);
        } else {
            pDC->MoveTo(rect.left, rect.top + i * kMarkStep);
            pDC->LineTo(rect.right, rect.top + i * kMarkStep);
        }
    }
}

void COXDockbarSkinXP::GetButtonLook(COXSizeControlBar* pBar, BOOL* pbLight,
                                     COLORREF* pcrBackground) {
    *pbLight = pBar->HasSolidCaption();
    *pcrBackground = Sys(pBar->HasSolidCaption() ? COLOR_INACTIVECAPTION : COLOR_BTNFACE);
}

void COXDockbarSkinXP::DrawCaptionButton(CDC* pDC, COXSizeControlBar* pBar, const CRect& rectButton,
                                         UINT nGlyphState, BOOL bTint) {
    CRect rect = rectButton;
    rect.OffsetRect(OXClientOffsetInWindow(pBar));
    rect.InflateRect(1, 1, 2, 2);
    BOOL bLight = FALSE;
    COLORREF crBackground = 0;
    GetButtonLook(pBar, &bLight, &crBackground);
    m_pSkin->DrawFrameButton(pDC, rect, nGlyphState, bTint, bLight, crBackground, pBar);
}

void COXDockbarSkinXP::DrawCloseButton(CDC* pDC, COXSizeControlBar* pBar) {
    if (!ShowsCaptionBand(pBar) || !pBar->HasCloseButton())
        return;
    DrawCaptionButton(pDC, pBar, pBar->m_rectCloseBtn, DFCS_CAPTIONCLOSE, FALSE);
}

void COXDockbarSkinXP::DrawResizeButton(CDC* pDC, COXSizeControlBar* pBar) {
    if (!ShowsCaptionBand(pBar) || !pBar->HasResizeButton())
        return;
    DrawCaptionButton(pDC, pBar, pBar->m_rectResizeBtn,
                      pBar->m_bMaximized ? DFCS_CAPTIONMIN : DFCS_CAPTIONMAX, !pBar->CanResize());
}

void COXDockbarSkinXP::DrawNonClientArea(CDC* pDC, const CRect& rectWindow, COXSizeControlBar*) {
    const COLORREF crFace = Sys(COLOR_BTNFACE);
    pDC->FillSolidRect(rectWindow, crFace);
    // An opaque caption text lies on the fill.
    pDC->SetBkColor(crFace);
}

void COXDockbarSkinXP::DrawFlatSplitter(CDC* pDC, COXSplitterRect* pSplitter, COLORREF crFill,
                                        COLORREF crLine) {
    CRect rect = pSplitter->m_rectSplitter;
    rect.bottom = std::min<LONG>(rect.bottom, kSplitterLimit);
    pDC->FillSolidRect(rect, crFill);
    const CPoint ptCentre = rect.CenterPoint();
    if (pSplitter->m_nSplitterType == OX_SPLITTER_VERT)
        pDC->FillSolidRect(ptCentre.x, rect.top, 1, rect.Height(), crLine);
    else
        pDC->FillSolidRect(rect.left, ptCentre.y, rect.Width(), 1, crLine);
}

void COXDockbarSkinXP::DrawSplitter(CDC* pDC, COXSplitterRect* pSplitter, COXSizeDockBar*) {
    DrawFlatSplitter(pDC, pSplitter, Sys(COLOR_BTNFACE), m_pSkin->GetSeparatorColor());
}

void COXDockbarSkinXP::DrawDockBarNonClient(COXSizeDockBar* pDockBar) {
    CRect rectWindow;
    pDockBar->GetWindowRect(&rectWindow);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    CWindowDC dc(pDockBar);
    dc.ExcludeClipRect(OXClientRectInWindow(pDockBar));
    dc.FillSolidRect(rectWindow, m_pSkin->GetFaceColor());
}

void COXDockbarSkinXP::DrawDockBarBackground(CDC* pDC, COXSizeDockBar* pDockBar) {
    CRect rectClient;
    pDockBar->GetClientRect(&rectClient);
    pDC->FillSolidRect(rectClient, Sys(COLOR_BTNFACE));
}

void COXDockbarSkinXP::CalcNonClientSize(BOOL, LPRECT lpRect, COXSizeControlBar* pBar) {
    InsetNonClient(lpRect, pBar, kBorder + kButtonSize);
}

void COXDockbarSkinXP::LayoutCaption(COXSizeControlBar* pBar) {
    LayoutBandCaption(pBar, GetButtonGap());
}

COLORREF COXDockbarSkinXP::GetBorderColor() {
    return m_pSkin->GetOutlineColor();
}
