// OXToolbarSkin.cpp: COXToolbarSkin (the custom-draw forwarding every family
// begins with) and COXToolbarSkinClassic, which tints the control's own
// drawing with the bar's colours and draws gripper, border and separators in
// system colours.
#include "OXToolbarSkin.h"

#include "OXCoolToolBar.h"
#include "OXMenuBar.h"

#include "framework/MDIFrameWnd.h"

namespace {

COLORREF Sys(int nIndex) {
    return ::GetSysColor(nIndex);
}

// Classic separators wider than this are gaps, not lines.
const int kMaxClassicSeparator = 8;

// The three colours of one button state; OX_TB_SKIN_COLOR where unset.
struct SStateColors {
    COLORREF crText;
    COLORREF crBk;
    COLORREF crBorder;
};

SStateColors ColorsForState(const COXCoolToolBar* pBar, UINT uItemState) {
    const bool bChecked = (uItemState & CDIS_CHECKED) != 0;
    const bool bHot = (uItemState & CDIS_HOT) != 0;
    const bool bSelected = (uItemState & CDIS_SELECTED) != 0;
    if ((bChecked && bHot) || bSelected)
        return {pBar->GetSelectedTextColor(), pBar->GetSelectedBkColor(),
                pBar->GetSelectedBorderColor()};
    if (bChecked)
        return {pBar->GetCheckedTextColor(), pBar->GetCheckedBkColor(),
                pBar->GetCheckedBorderColor()};
    if (bHot)
        return {pBar->GetHotTextColor(), pBar->GetHotBkColor(), pBar->GetHotBorderColor()};
    return {pBar->GetDefaultTextColor(), pBar->GetDefaultBkColor(), pBar->GetDefaultBorderColor()};
}

void FrameWithColor(CDC* pDC, const CRect& rect, COLORREF crColor) {
    CBrush brush;
    brush.CreateSolidBrush(crColor);
    pDC->FrameRect(&rect, &brush);
}

BOOL IsNewComCtl() {
    return COXCoolToolBar::GetComCtlVersion() >= OX_COMCTL_VERSION_471;
}

} // namespace

// ---------------------------------------------------------------------------
// COXToolbarSkin

BOOL COXToolbarSkin::IsWindowButton(COXCoolToolBar* pBar, int nIndex) {
    TBBUTTON button = {};
    if (nIndex < 0 || !pBar->SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex),
                                         reinterpret_cast<LPARAM>(&button)))
        return FALSE;
    return (button.fsStyle & TBSTYLE_SEP) && button.idCommand != 0;
}

CRect COXToolbarSkin::ItemRect(COXCoolToolBar* pBar, int nIndex) {
    CRect rect;
    pBar->SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(nIndex),
                      reinterpret_cast<LPARAM>(static_cast<RECT*>(&rect)));
    return rect;
}

BOOL COXToolbarSkin::IsMenuBar(const COXCoolToolBar* pBar) {
    return pBar->IsKindOf(RUNTIME_CLASS(COXMenuBar));
}

BOOL COXToolbarSkin::IsHorizontal(const COXCoolToolBar* pBar) {
    return (pBar->m_dwStyle & CBRS_ORIENT_HORZ) != 0;
}

BOOL COXToolbarSkin::ForwardCustomDraw(NMHDR* pNMHDR, LRESULT* pResult, COXCoolToolBar* pBar) {
    OXCUSTOMDRAWFORWARD forward = {};
    forward.hdr.hwndFrom = pNMHDR->hwndFrom;
    forward.hdr.idFrom = pNMHDR->idFrom;
    forward.hdr.code = static_cast<UINT>(OX_TBN_CUSTOMDRAW);
    forward.pCustomDraw = reinterpret_cast<LPNMTBCUSTOMDRAW>(pNMHDR);
    forward.lResult = 0;
    forward.bDoDefault = TRUE;
    // A floating bar's parent frame is its mini-frame: the application's
    // frame is the one that may draw the bar's items.
    CWnd* pFrame = pBar->IsFloating() ? pBar->GetTopLevelParent() : pBar->GetParentFrame();
    if (pFrame != nullptr)
        pFrame->SendMessage(WM_NOTIFY, pNMHDR->idFrom, reinterpret_cast<LPARAM>(&forward));
    if (forward.bDoDefault)
        return FALSE;
    *pResult = forward.lResult;
    return TRUE;
}

void COXToolbarSkin::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult, COXCoolToolBar* pBar) {
    if (ForwardCustomDraw(pNMHDR, pResult, pBar))
        return;
    auto* pCustomDraw = reinterpret_cast<LPNMTBCUSTOMDRAW>(pNMHDR);
    // The control's context, borrowed for the notification.
    CDCHandle dc(pCustomDraw->nmcd.hdc);
    *pResult = 0;
    *pResult = CustomDraw(&dc, pCustomDraw, pBar);
}

void COXToolbarSkin::OnPaintComboBox(CComboBox* pComboBox) {
    // Called from the combo box's WM_PAINT: the control paints itself.
    pComboBox->Default();
}

// ---------------------------------------------------------------------------
// COXToolbarSkinClassic

void COXToolbarSkinClassic::DrawGripper(CDC* pDC, CRect& rect, COXCoolToolBar* pBar) {
    if (pBar->IsFloating())
        return;
    const COLORREF crLight = Sys(COLOR_BTNHIGHLIGHT);
    const COLORREF crDark = Sys(COLOR_BTNSHADOW);
    CRect rectGrip = rect;
    if (IsHorizontal(pBar)) {
        rectGrip.DeflateRect(1, 1);
        rectGrip.OffsetRect(0, 1);
        if (pBar->m_pDockContext != nullptr) {
            rectGrip.left += 2;
            rectGrip.bottom -= 2;
        } else if (pBar->m_dwStyle & CBRS_BORDER_BOTTOM) {
            rectGrip.top -= 2;
            rectGrip.bottom -= 2;
        }
        rectGrip.right = rectGrip.left + 3;
        pDC->Draw3dRect(rectGrip, crLight, crDark);
        rectGrip.OffsetRect(3, 0);
        pDC->Draw3dRect(rectGrip, crLight, crDark);
    } else {
        rectGrip.DeflateRect(0, 1, 2, 1);
        rectGrip.OffsetRect(0, 1);
        if (pBar->m_pDockContext != nullptr)
            rectGrip.left += 2;
        else
            rectGrip.right += 2;
        rectGrip.bottom = rectGrip.top + 3;
        pDC->Draw3dRect(rectGrip, crLight, crDark);
        rectGrip.OffsetRect(0, 3);
        pDC->Draw3dRect(rectGrip, crLight, crDark);
    }
}

void COXToolbarSkinClassic::DrawNonClient(CDC* pDC, CRect& rectWindow, COXCoolToolBar* pBar) {
    CRect rectWindowScreen;
    pBar->GetWindowRect(&rectWindowScreen);
    CRect rectClient;
    pBar->GetClientRect(&rectClient);
    pBar->ClientToScreen(&rectClient);
    rectClient.OffsetRect(-rectWindowScreen.left, -rectWindowScreen.top);

    CRect rect = rectWindow;
    if (!pBar->IsCool()) {
        pBar->DrawBorders(pDC, rect);
        if (!(pBar->m_dwStyle & CBRS_BORDER_3D))
            rect.InflateRect(1, 1);
    }
    const int nSaved = pDC->SaveDC();
    pDC->IntersectClipRect(&rect);
    pDC->ExcludeClipRect(&rectClient);
    pDC->FillSolidRect(rect, Sys(COLOR_BTNFACE));
    pDC->RestoreDC(nSaved);
}

void COXToolbarSkinClassic::DrawSeparator(CDC* pDC, CRect& rectItem, COXCoolToolBar* pBar) {
    if (rectItem.Width() > kMaxClassicSeparator)
        return;
    CRect rect;
    if (IsHorizontal(pBar)) {
        const int x = (rectItem.left + rectItem.right) / 2;
        rect.SetRect(x - 1, rectItem.top, x + 1, rectItem.bottom);
    } else {
        const int cxButton = pBar->GetButtonsSize().cx;
        rect.SetRect(rectItem.left - cxButton, rectItem.bottom + 1, rectItem.left,
                     rectItem.bottom + 4);
        const int y = (rect.top + rect.bottom) / 2;
        rect.top = y - 1;
        rect.bottom = y + 1;
    }
    pDC->Draw3dRect(rect, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT));
}

void COXToolbarSkinClassic::DrawCustomizedButton(CDC* pDC, CRect& rectItem, COXCoolToolBar*) {
    pDC->DrawDragRect(&rectItem, CSize(2, 2), nullptr, CSize(0, 0));
}

void COXToolbarSkinClassic::DrawComboBox(CComboBox*) {}

void COXToolbarSkinClassic::DrawEditBorder(CEdit*) {}

void COXToolbarSkinClassic::DrawMenuButtons(CDC* pDC, COXMenuBar* pMenuBar) {
    CWnd* pFrameWnd = pMenuBar->GetFrame();
    auto* pFrame = pFrameWnd != nullptr ? dynamic_cast<CMDIFrameWnd*>(pFrameWnd) : nullptr;
    BOOL bMaximized = FALSE;
    CWnd* pChild = pFrame != nullptr ? pFrame->MDIGetActive(&bMaximized) : nullptr;
    const CRect rectClose = pMenuBar->GetCloseRect();
    if (pChild == nullptr || !bMaximized || rectClose.IsRectEmpty())
        return;
    const DWORD dwChildStyle = pChild->GetStyle();
    const int nPressed = pMenuBar->GetPressedMDIButton();
    CRect rect = rectClose;
    pDC->DrawFrameControl(&rect, DFC_CAPTION,
                          DFCS_CAPTIONCLOSE | (nPressed == -4 ? DFCS_PUSHED : 0));
    rect = pMenuBar->GetRestoreRect();
    if (!rect.IsRectEmpty())
        pDC->DrawFrameControl(&rect, DFC_CAPTION,
                              DFCS_CAPTIONRESTORE |
                                  ((dwChildStyle & WS_MAXIMIZEBOX) ? 0 : DFCS_INACTIVE) |
                                  (nPressed == -3 ? DFCS_PUSHED : 0));
    rect = pMenuBar->GetMinimizeRect();
    if (!rect.IsRectEmpty())
        pDC->DrawFrameControl(&rect, DFC_CAPTION,
                              DFCS_CAPTIONMIN |
                                  ((dwChildStyle & WS_MINIMIZEBOX) ? 0 : DFCS_INACTIVE) |
                                  (nPressed == -2 ? DFCS_PUSHED : 0));
}

LRESULT COXToolbarSkinClassic::CustomDraw(CDC* pDC, LPNMTBCUSTOMDRAW pCustomDraw,
                                          COXCoolToolBar* pBar) {
    NMCUSTOMDRAW& nmcd = pCustomDraw->nmcd;
    switch (nmcd.dwDrawStage) {
    case CDDS_PREPAINT: {
        CRect rectClient;
        pBar->GetClientRect(&rectClient);
        pDC->FillSolidRect(rectClient, Sys(COLOR_BTNFACE));
        // Old common controls draw no separators on flat bars.
        if (!IsNewComCtl() && pBar->IsFlat() && pBar->IsSeparator()) {
            const int nCount = static_cast<int>(pBar->SendMessage(TB_BUTTONCOUNT));
            for (int i = 0; i < nCount; ++i) {
                TBBUTTON button = {};
                pBar->SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i),
                                  reinterpret_cast<LPARAM>(&button));
                if (button.fsStyle != TBSTYLE_SEP || button.fsState == TBSTATE_HIDDEN)
                    continue;
                CRect rect = ItemRect(pBar, i);
                if (button.fsState & TBSTATE_WRAP) {
                    pDC->FillSolidRect(rect, Sys(COLOR_BTNFACE));
                } else {
                    rect.top -= 1;
                    pBar->DrawSeparator(pDC, rect);
                }
            }
        }
        const int nCustomized = pBar->GetCustomizedButton();
        if (IsWindowButton(pBar, nCustomized)) {
            CRect rect = ItemRect(pBar, nCustomized);
            pBar->DrawCustomizedButton(pDC, rect);
        }
        return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    }
    case CDDS_ITEMPREPAINT: {
        LRESULT lResult = CDRF_NOTIFYPOSTPAINT;
        const UINT nID = static_cast<UINT>(nmcd.dwItemSpec);
        if (pBar->SendMessage(TB_ISBUTTONHIDDEN, nID))
            return lResult;
        const SStateColors colors = ColorsForState(pBar, nmcd.uItemState);
        if (colors.crText != OX_TB_SKIN_COLOR) {
            if (IsNewComCtl())
                pCustomDraw->clrText = colors.crText;
            else
                pDC->SetTextColor(colors.crText);
        }
        CRect rectInner(nmcd.rc);
        if (colors.crBorder != OX_TB_SKIN_COLOR) {
            FrameWithColor(pDC, CRect(nmcd.rc), colors.crBorder);
            rectInner.DeflateRect(1, 1);
            if (IsNewComCtl())
                lResult |= TBCDRF_NOEDGES;
        }
        if (colors.crBk != OX_TB_SKIN_COLOR) {
            pDC->FillSolidRect(rectInner, colors.crBk);
            if ((nmcd.uItemState & CDIS_CHECKED) && IsNewComCtl())
                lResult |= TBCDRF_NOETCHEDEFFECT;
        }
        return lResult;
    }
    case CDDS_ITEMPOSTPAINT: {
        const UINT nID = static_cast<UINT>(nmcd.dwItemSpec);
        const int nIndex = static_cast<int>(pBar->SendMessage(TB_COMMANDTOINDEX, nID));
        TBBUTTON button = {};
        pBar->SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex),
                          reinterpret_cast<LPARAM>(&button));
        if (!(button.fsState & TBSTATE_HIDDEN) && (button.fsStyle & TBSTYLE_DROPDOWN) &&
            pBar->IsDropDownArrow()) {
            const SStateColors colors = ColorsForState(pBar, nmcd.uItemState);
            if (colors.crBorder != OX_TB_SKIN_COLOR) {
                CRect rectArrow(nmcd.rc);
                rectArrow.left = rectArrow.right - pBar->GetDropDownArrowWidth();
                FrameWithColor(pDC, rectArrow, colors.crBorder);
            }
        }
        if (nIndex == pBar->GetCustomizedButton() && nIndex != -1 &&
            !IsWindowButton(pBar, nIndex)) {
            CRect rect = ItemRect(pBar, nIndex);
            pBar->DrawCustomizedButton(pDC, rect);
        }
        return CDRF_DODEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}
