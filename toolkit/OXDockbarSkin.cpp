// OXDockbarSkin.cpp: what the dock-bar skins share (caption geometry and the
// caption text), and COXDockbarSkinClassic, which paints in system colours
// with the platform's caption controls.
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

// Classic gripper marks: two raised bars 3 pixels thick, 4 apart.
const int kMarkThickness = 3;
const int kMarkStep = 4;
// Room needed for the marks along the caption.
const int kMinMarkLength = 6;
// Between the text and the marks, and the text's distance from the band's start.
const int kMarkGap = 3;
const int kClassicTextInset = 6;

} // namespace

// ---- COXDockbarSkin: shared geometry

BOOL COXDockbarSkin::IsFloatingBar(COXSizeControlBar* pBar) {
    return (pBar->GetBarStyle() & CBRS_FLOATING) != 0;
}

BOOL COXDockbarSkin::HasVerticalCaption(COXSizeControlBar* pBar) {
    return (pBar->GetBarStyle() & CBRS_ORIENT_HORZ) != 0;
}

BOOL COXDockbarSkin::ShowsCaptionBand(COXSizeControlBar* pBar) {
    return pBar->HasGripper() && !IsFloatingBar(pBar);
}

CRect COXDockbarSkin::GetWindowInClient(COXSizeControlBar* pBar) {
    CRect rect;
    pBar->GetWindowRect(&rect);
    pBar->ScreenToClient(&rect);
    return rect;
}

void COXDockbarSkin::InsetNonClient(LPRECT lpRect, COXSizeControlBar* pBar, int nCaptionInset) {
    CRect rect(lpRect);
    rect.DeflateRect(kBorder, kBorder);
    if (ShowsCaptionBand(pBar)) {
        if (HasVerticalCaption(pBar))
            rect.left = std::min(rect.left + nCaptionInset, rect.right);
        else
            rect.top = std::min(rect.top + nCaptionInset, rect.bottom);
    }
    *lpRect = rect;
}

void COXDockbarSkin::LayoutBandCaption(COXSizeControlBar* pBar, int nGap) {
    CRect& rectCaption = pBar->m_rectCaption;
    rectCaption = GetWindowInClient(pBar);
    rectCaption.DeflateRect(kBorder, kBorder);
    if (!ShowsCaptionBand(pBar))
        return;
    const int nStep = nGap + kButtonSize;
    // Close outermost, then resize; the gripper keeps what is left.
    if (HasVerticalCaption(pBar)) {
        rectCaption.right = rectCaption.left + kButtonSize;
        if (pBar->HasCloseButton()) {
            pBar->m_rectCloseBtn.SetRect(rectCaption.left, rectCaption.top, rectCaption.right,
                                         rectCaption.top + kButtonSize);
            rectCaption.top += nStep;
        }
        if (pBar->HasResizeButton()) {
            pBar->m_rectResizeBtn.SetRect(rectCaption.left, rectCaption.top, rectCaption.right,
                                          rectCaption.top + kButtonSize);
            rectCaption.top += nStep;
        }
    } else {
        rectCaption.bottom = rectCaption.top + kButtonSize;
        if (pBar->HasCloseButton()) {
            pBar->m_rectCloseBtn.SetRect(rectCaption.right - kButtonSize, rectCaption.top,
                                         rectCaption.right, rectCaption.bottom);
            rectCaption.right -= nStep;
        }
        if (pBar->HasResizeButton()) {
            pBar->m_rectResizeBtn.SetRect(rectCaption.right - kButtonSize, rectCaption.top,
                                          rectCaption.right, rectCaption.bottom);
            rectCaption.right -= nStep;
        }
    }
}

CRect COXDockbarSkin::DrawCaptionText(CDC* pDC, COXSizeControlBar* pBar, const CRect& rectBand,
                                      const CRect& rectText, CFont* pFont, COLORREF crText,
                                      BOOL bTransparent) {
    CString strText;
    pBar->GetWindowText(strText);
    if (!pBar->ShowsCaptionText() || strText.IsEmpty())
        return CRect(0, 0, 0, 0);
    const BOOL bVertical = HasVerticalCaption(pBar);

    // Measured unrotated: a vertical text is measured in the transposed box, so
    // its length lies along x and its thickness along y either way.
    CRect rectMeasure =
        bVertical ? CRect(rectText.top, rectText.left, rectText.bottom, rectText.right) : rectText;
    {
        CScopedSelect selectFont(*pDC, pFont);
        pDC->DrawText(strText, &rectMeasure, DT_SINGLELINE | DT_CALCRECT);
    }
    const int nThickness = rectMeasure.Height();
    const int nAvailable = bVertical ? rectText.Height() : rectText.Width();
    const int nLength = std::max(0, std::min(rectMeasure.Width(), nAvailable));

    CRect rectBox;
    if (bVertical) {
        const int nFree = rectBand.Width() - nThickness;
        rectBox.left = rectBand.left + nFree - nFree / 2;
        rectBox.right = rectBox.left + nThickness;
        rectBox.bottom = rectBand.bottom - kClassicTextInset;
        rectBox.top = rectBox.bottom - nLength;
    } else {
        const int nFree = rectBand.Height() - nThickness;
        rectBox.top = rectBand.top + nFree - nFree / 2;
        rectBox.bottom = rectBox.top + nThickness;
        rectBox.left = rectText.left;
        rectBox.right = rectBox.left + nLength;
    }

    CFont fontRotated;
    CFont* pDrawFont = pFont;
    CRect rectDraw = rectBox;
    if (bVertical) {
        LOGFONT lf;
        pFont->GetLogFont(&lf);
        lf.lfEscapement = lf.lfOrientation = 900;
        if (fontRotated.CreateFontIndirect(&lf))
            pDrawFont = &fontRotated;
        // Text turned a quarter counter-clockwise grows right and up from the
        // bottom-left of its box, so the box is extended to let it fill the
        // measured place.
        rectDraw.bottom += nThickness;
        rectDraw.right += nLength;
    }
    CScopedSelect selectFont(*pDC, pDrawFont);
    const COLORREF crOldText = pDC->SetTextColor(crText);
    const int nOldMode = pDC->SetBkMode(bTransparent ? TRANSPARENT : OPAQUE);
    pDC->DrawText(strText, &rectDraw, DT_SINGLELINE | DT_BOTTOM | DT_END_ELLIPSIS);
    pDC->SetBkMode(nOldMode);
    pDC->SetTextColor(crOldText);
    return rectBox;
}

// ---- COXDockbarSkinClassic

COXDockbarSkinClassic::COXDockbarSkinClassic() : m_nButtonGap(2) {
    m_fontLarge.CreatePointFont(100, "Arial");
    m_fontSmall.CreatePointFont(80, "Arial");
}

void COXDockbarSkinClassic::DrawGripper(CDC* pDC, COXSizeControlBar* pBar) {
    if (!ShowsCaptionBand(pBar))
        return;
    const BOOL bVertical = HasVerticalCaption(pBar);
    const BOOL bSolid = pBar->HasSolidCaption();
    const BOOL bActive = pBar->IsActive();
    CRect rect = pBar->m_rectCaption;
    rect.OffsetRect(OXClientOffsetInWindow(pBar));
    if (bSolid)
        pDC->FillSolidRect(rect, Sys(bActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    else
        rect.DeflateRect(2, 2);

    CRect rectText = rect;
    if (bVertical)
        rectText.bottom -= kClassicTextInset;
    else
        rectText.left += kClassicTextInset;
    COLORREF crText;
    if (bSolid)
        crText = Sys(bActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT);
    else
        crText = Sys(bActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    const CRect rectDrawn = DrawCaptionText(pDC, pBar, rect, rectText,
                                            bSolid ? &m_fontSmall : &m_fontLarge, crText, bSolid);
    if (bSolid)
        return;

    const BOOL bTextDrawn = !rectDrawn.IsRectNull();
    const COLORREF crLight = Sys(COLOR_BTNHIGHLIGHT);
    const COLORREF crDark = Sys(COLOR_BTNSHADOW);
    if (bVertical) {
        if (bTextDrawn)
            rect.bottom = rectDrawn.top - kMarkGap;
        if (rect.Height() < kMinMarkLength)
            return;
        rect.right = rect.left + kMarkThickness;
        pDC->Draw3dRect(rect, crLight, crDark);
        rect.OffsetRect(kMarkStep, 0);
        pDC->Draw3dRect(rect, crLight, crDark);
    } else {
        if (bTextDrawn)
            rect.left = rectDrawn.right + kMarkGap;
        if (rect.Width() < kMinMarkLength)
            return;
        rect.bottom = rect.top + kMarkThickness;
        pDC->Draw3dRect(rect, crLight, crDark);
        rect.OffsetRect(0, kMarkStep);
        pDC->Draw3dRect(rect, crLight, crDark);
    }
}

namespace {

// A caption control drawn off-screen and copied, so that it never flickers.
void DrawCaptionControl(CDC* pDC, const CRect& rect, UINT nState) {
    if (rect.IsRectEmpty())
        return;
    CDC dcWork;
    CBitmap bmpWork;
    if (!dcWork.CreateCompatibleDC(pDC) ||
        !bmpWork.CreateCompatibleBitmap(pDC, rect.Width(), rect.Height()))
        return;
    CScopedSelect selectWork(dcWork, &bmpWork);
    RECT rectControl = {0, 0, rect.Width(), rect.Height()};
    ::DrawFrameControl(dcWork, &rectControl, DFC_CAPTION, nState);
    pDC->BitBlt(rect.left, rect.top, rect.Width(), rect.Height(), &dcWork, 0, 0, SRCCOPY);
}

} // namespace

void COXDockbarSkinClassic::DrawCloseButton(CDC* pDC, COXSizeControlBar* pBar) {
    if (!ShowsCaptionBand(pBar) || !pBar->HasCloseButton())
        return;
    CRect rect = pBar->m_rectCloseBtn;
    rect.OffsetRect(OXClientOffsetInWindow(pBar));
    UINT nState = DFCS_CAPTIONCLOSE;
    if (pBar->m_nPressedButton == OX_SIZEBAR_CLOSEBTN)
        nState |= DFCS_PUSHED;
    DrawCaptionControl(pDC, rect, nState);
}

void COXDockbarSkinClassic::DrawResizeButton(CDC* pDC, COXSizeControlBar* pBar) {
    if (!ShowsCaptionBand(pBar) || !pBar->HasResizeButton())
        return;
    CRect rect = pBar->m_rectResizeBtn;
    rect.OffsetRect(OXClientOffsetInWindow(pBar));
    UINT nState = pBar->m_bMaximized ? DFCS_CAPTIONMIN : DFCS_CAPTIONMAX;
    if (pBar->m_nPressedButton == OX_SIZEBAR_RESIZEBTN)
        nState |= DFCS_PUSHED;
    if (!pBar->CanResize())
        nState |= DFCS_INACTIVE;
    DrawCaptionControl(pDC, rect, nState);
}

void COXDockbarSkinClassic::DrawNonClientArea(CDC* pDC, const CRect& rectWindow,
                                              COXSizeControlBar*) {
    const COLORREF crFace = Sys(COLOR_BTNFACE);
    pDC->FillSolidRect(rectWindow, crFace);
    // An opaque caption text lies on the fill.
    pDC->SetBkColor(crFace);
}

void COXDockbarSkinClassic::DrawSplitter(CDC* pDC, COXSplitterRect* pSplitter, COXSizeDockBar*) {
    const CRect& rect = pSplitter->m_rectSplitter;
    // Outer to inner: face and highlight on the leading side, frame and shadow
    // on the trailing one.
    struct Line {
        int nOffset;
        BOOL bFromEnd;
        int nColor;
    };
    static const Line kLines[] = {{1, FALSE, COLOR_BTNFACE},
                                  {2, FALSE, COLOR_BTNHIGHLIGHT},
                                  {1, TRUE, COLOR_WINDOWFRAME},
                                  {2, TRUE, COLOR_BTNSHADOW}};
    for (const Line& line : kLines) {
        if (pSplitter->m_nSplitterType == OX_SPLITTER_VERT) {
            const int x = line.bFromEnd ? rect.right - line.nOffset : rect.left + line.nOffset;
            pDC->FillSolidRect(x, rect.top, 1, rect.Height(), Sys(line.nColor));
        } else if (pSplitter->m_nSplitterType == OX_SPLITTER_HORZ) {
            const int y = line.bFromEnd ? rect.bottom - line.nOffset : rect.top + line.nOffset;
            pDC->FillSolidRect(rect.left, y, rect.Width(), 1, Sys(line.nColor));
        }
    }
}

void COXDockbarSkinClassic::DrawDockBarNonClient(COXSizeDockBar* pDockBar) {
    // The system's own non-client painting of the message being handled.
    pDockBar->Default();
}

void COXDockbarSkinClassic::DrawDockBarBackground(CDC* pDC, COXSizeDockBar* pDockBar) {
    CRect rectClient;
    pDockBar->GetClientRect(&rectClient);
    pDC->FillSolidRect(rectClient, Sys(COLOR_BTNFACE));
}

void COXDockbarSkinClassic::CalcNonClientSize(BOOL, LPRECT lpRect, COXSizeControlBar* pBar) {
    InsetNonClient(lpRect, pBar, kBorder + kButtonSize);
}

void COXDockbarSkinClassic::LayoutCaption(COXSizeControlBar* pBar) {
    LayoutBandCaption(pBar, GetButtonGap());
}

COLORREF COXDockbarSkinClassic::GetBorderColor() {
    return Sys(COLOR_WINDOWFRAME);
}
