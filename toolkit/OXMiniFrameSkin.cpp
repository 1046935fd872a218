// OXMiniFrameSkin.cpp: the floating frames' skins: COXMiniFrameSkinClassic,
// which leaves the frame to the system, and COXMiniFrameSkinXP, which paints
// a flat border, caption band and close button of its own.
#include "OXMiniFrameSkin.h"

#include "OXWndGeometry.h"

#include "framework/MiniFrameWnd.h"

namespace {

COLORREF Sys(int nIndex) {
    return ::GetSysColor(nIndex);
}

} // namespace

// ---- COXMiniFrameSkinClassic

void COXMiniFrameSkinClassic::DrawNonClient(CMiniFrameWnd* pFrame) {
    // The system's caption and border, through the frame's default processing
    // of the WM_NCPAINT being handled.
    pFrame->Default();
}

BOOL COXMiniFrameSkinClassic::OnNcActivate(BOOL bActive, CMiniFrameWnd* pFrame) {
    // Straight to the default procedure: the frame's own handler is the caller.
    return static_cast<BOOL>(pFrame->DefWindowProc(WM_NCACTIVATE, bActive, 0));
}

void COXMiniFrameSkinClassic::DrawCaption(CMiniFrameWnd*) {}

BOOL COXMiniFrameSkinClassic::DrawCloseButton(CMiniFrameWnd*) {
    return FALSE;
}

// ---- COXMiniFrameSkinXP

COXMiniFrameSkinXP::COXMiniFrameSkinXP(COXSkinXP* pSkin) : m_pSkin(pSkin) {
    m_fontCaption.CreatePointFont(85, "Tahoma BOLD");
}

CRect COXMiniFrameSkinXP::GetCaptionRect(CMiniFrameWnd* pFrame) const {
    CRect rectWindow;
    pFrame->GetWindowRect(&rectWindow);
    const int nClientTop = OXClientOffsetInWindow(pFrame).y;
    return CRect(3, 3, rectWindow.Width() - 3, nClientTop - 2);
}

void COXMiniFrameSkinXP::DrawNonClient(CMiniFrameWnd* pFrame) {
    const CRect rectClient = OXClientRectInWindow(pFrame);
    CRect rectWindow;
    pFrame->GetWindowRect(&rectWindow);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    {
        CWindowDC dc(pFrame);
        dc.ExcludeClipRect(rectClient);
        const COLORREF crOuter = m_pSkin->GetMiniFrameBorderColor();
        dc.FillSolidRect(rectWindow, crOuter);
        CRect rectInner = rectWindow;
        rectInner.DeflateRect(2, 2);
        dc.FillSolidRect(rectInner, m_pSkin->GetMiniFrameInnerColor());
        // The outer colour in the inner corners rounds them.
        dc.SetPixelV(rectInner.left, rectInner.top, crOuter);
        dc.SetPixelV(rectInner.right - 1, rectInner.top, crOuter);
        dc.SetPixelV(rectInner.right - 1, rectInner.bottom - 1, crOuter);
        dc.SetPixelV(rectInner.left, rectInner.bottom - 1, crOuter);
    }
    DrawCaption(pFrame);
}

BOOL COXMiniFrameSkinXP::OnNcActivate(BOOL, CMiniFrameWnd*) {
    // Activation changes nothing of this look; the system must not repaint
    // its own caption over it.
    return TRUE;
}

void COXMiniFrameSkinXP::DrawCaption(CMiniFrameWnd* pFrame) {
    const CRect rectCaption = GetCaptionRect(pFrame);
    {
        CWindowDC dc(pFrame);
        const COLORREF crCaption = m_pSkin->GetMiniFrameCaptionColor();
        dc.FillSolidRect(rectCaption, crCaption);
        CString strTitle;
        pFrame->GetWindowText(strTitle);
        CRect rectText = rectCaption;
        rectText.DeflateRect(3, 0);
        CScopedSelect selectFont(dc, &m_fontCaption);
        dc.SetTextColor(m_pSkin->GetMiniFrameCaptionTextColor());
        dc.SetBkColor(crCaption);
        dc.SetBkMode(OPAQUE);
        dc.DrawText(strTitle, &rectText, DT_SINGLELINE | DT_VCENTER);
    }
    DrawCloseButton(pFrame);
}

BOOL COXMiniFrameSkinXP::DrawCloseButton(CMiniFrameWnd* pFrame) {
    HMENU hSysMenu = ::GetSystemMenu(pFrame->GetSafeHwnd(), FALSE);
    if (hSysMenu == nullptr || ::GetMenuItemCount(hSysMenu) <= 0)
        return TRUE;

    const CRect rectCaption = GetCaptionRect(pFrame);
    const CRect rectButton(rectCaption.right - rectCaption.Height(), rectCaption.top,
                           rectCaption.right, rectCaption.bottom);
    // The cursor in window coordinates, from the real window rectangle: the
    // tool window's border is the platform's, not a fixed 4 pixels.
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    CRect rectWindow;
    pFrame->GetWindowRect(&rectWindow);
    ptCursor.Offset(-rectWindow.left, -rectWindow.top);
    CRect rectHot = rectButton;
    rectHot.DeflateRect(0, 0, 1, 1);
    const BOOL bHot = rectHot.PtInRect(ptCursor);
    const BOOL bPressed = bHot && (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;

    COLORREF crGlyph = m_pSkin->GetMiniFrameCaptionTextColor();
    COLORREF crFill = 0;
    if (bPressed) {
        crGlyph = Sys(COLOR_HIGHLIGHTTEXT);
        crFill = m_pSkin->GetPressedColor();
    } else if (bHot) {
        crGlyph = Sys(COLOR_BTNTEXT);
        crFill = m_pSkin->GetHotColor();
    }

    const int nWidth = rectButton.Width();
    const int nHeight = rectButton.Height();
    CWindowDC dc(pFrame);
    CDC dcWork;
    CBitmap bmpWork;
    if (nWidth <= 0 || nHeight <= 0 || !dcWork.CreateCompatibleDC(&dc) ||
        !bmpWork.CreateCompatibleBitmap(&dc, nWidth, nHeight))
        return TRUE;
    CScopedSelect selectWork(dcWork, &bmpWork);
    if (bHot) {
        CBrush brush;
        CPen pen;
        if (brush.CreateSolidBrush(crFill) &&
            pen.CreatePen(PS_SOLID, 1, m_pSkin->GetBorderColor())) {
            CScopedSelect selectBrush(dcWork, &brush);
            CScopedSelect selectPen(dcWork, &pen);
            dcWork.Rectangle(0, 0, nWidth, nHeight);
        }
    } else {
        dcWork.FillSolidRect(0, 0, nWidth, nHeight, m_pSkin->GetMiniFrameCaptionColor());
    }

    // Two passes a pixel apart make the cross two pixels thick.
    CPen penGlyph;
    if (penGlyph.CreatePen(PS_SOLID, 1, crGlyph)) {
        CScopedSelect selectPen(dcWork, &penGlyph);
        CRect rectGlyph(0, 0, nWidth, nHeight);
        rectGlyph.DeflateRect(4, 4, 5, 5);
        for (int nPass = 0; nPass < 2; nPass++) {
            dcWork.MoveTo(rectGlyph.left, rectGlyph.top);
            dcWork.LineTo(rectGlyph.right + 1, rectGlyph.bottom + 1);
            dcWork.MoveTo(rectGlyph.right, rectGlyph.top);
            dcWork.LineTo(rectGlyph.left - 1, rectGlyph.bottom + 1);
            rectGlyph.OffsetRect(1, 0);
        }
    }
    dc.BitBlt(rectButton.left, rectButton.top, nWidth, nHeight, &dcWork, 0, 0, SRCCOPY);
    return TRUE;
}
