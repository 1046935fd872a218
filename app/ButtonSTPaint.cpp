// ButtonSTPaint.cpp: the owner drawing of the image button: frame, icon and
// caption over whatever lies behind the button.
#include "ButtonST.h"

void CButtonST::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    const UINT nState = lpDIS->itemState;
    if (m_bIsCheckBox)
        m_bIsPressed = (nState & ODS_SELECTED) != 0 || m_nCheck != 0;
    else
        m_bIsPressed = (nState & ODS_SELECTED) != 0;
    m_bIsFocused = (nState & ODS_FOCUS) != 0;
    m_bIsDisabled = (nState & ODS_DISABLED) != 0;

    const CRect rectItem(lpDIS->rcItem);
    pDC->SetBkMode(TRANSPARENT);
    PaintBorder(pDC, rectItem);

    CString strTitle;
    GetWindowText(strTitle);
    CRect rectTitle = rectItem;
    if (m_csIcons[0].hIcon != nullptr)
        PaintIcon(pDC, !strTitle.IsEmpty(), rectItem, &rectTitle, m_bIsPressed, m_bIsDisabled);
    if (!strTitle.IsEmpty())
        PaintCaption(pDC, strTitle, rectItem, rectTitle);

    if ((!m_bIsFlat || m_bDrawFlatFocus) && m_bIsFocused) {
        CRect rectFocus = rectItem;
        rectFocus.DeflateRect(3, 3);
        pDC->DrawFocusRect(&rectFocus);
    }
}

void CButtonST::PaintBorder(CDC* pDC, const CRect& rectItem) {
    const COLORREF crHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF crShadow = ::GetSysColor(COLOR_BTNSHADOW);
    if (m_bIsPressed) {
        if (!m_bIsFlat) {
            CBrush brushShadow(crShadow);
            pDC->FrameRect(&rectItem, &brushShadow);
        } else if (m_bDrawBorder) {
            pDC->Draw3dRect(&rectItem, crShadow, crHighlight);
        }
        return;
    }
    if (!m_bIsFlat) {
        const int l = rectItem.left;
        const int t = rectItem.top;
        const int r = rectItem.right;
        const int b = rectItem.bottom;
        CPen penHighlight(PS_SOLID, 1, crHighlight);
        CPen penLight(PS_SOLID, 1, ::GetSysColor(COLOR_3DLIGHT));
        CPen penDarkShadow(PS_SOLID, 1, ::GetSysColor(COLOR_3DDKSHADOW));
        CPen penShadow(PS_SOLID, 1, crShadow);
        CPen* pOldPen = pDC->SelectObject(&penHighlight);
        pDC->MoveTo(l, b - 1);
        pDC->LineTo(l, t);
        pDC->LineTo(r, t);
        pDC->SelectObject(&penLight);
        pDC->MoveTo(l + 1, b - 1);
        pDC->LineTo(l + 1, t + 1);
        pDC->LineTo(r, t + 1);
        pDC->SelectObject(&penDarkShadow);
        pDC->MoveTo(l, b - 1);
        pDC->LineTo(r - 1, b - 1);
        pDC->LineTo(r - 1, t - 1);
        pDC->SelectObject(&penShadow);
        pDC->MoveTo(l + 1, b - 2);
        pDC->LineTo(r - 2, b - 2);
        pDC->LineTo(r - 2, t);
        pDC->SelectObject(pOldPen);
        return;
    }
    if (m_bMouseOnButton && m_bDrawBorder)
        pDC->Draw3dRect(&rectItem, crHighlight, crShadow);
}

void CButtonST::PaintIcon(CDC* pDC, BOOL bHasTitle, const CRect& rectItem, CRect* pRectTitle,
                          BOOL bIsPressed, BOOL bIsDisabled) {
    const bool bInside = m_bIsCheckBox ? bIsPressed != FALSE : (bIsPressed || m_bMouseOnButton);
    const STRUCT_ICONS& icon =
        (bInside || m_csIcons[1].hIcon == nullptr) ? m_csIcons[0] : m_csIcons[1];
    CRect rectImage;
    PrepareImageRect(bHasTitle, rectItem, pRectTitle, bIsPressed, icon.nWidth, icon.nHeight,
                     &rectImage);
    pDC->DrawState(rectImage.TopLeft(), CSize(icon.nWidth, icon.nHeight), icon.hIcon,
                   bIsDisabled ? DSS_DISABLED : DSS_NORMAL);
}

void CButtonST::PrepareImageRect(BOOL bHasTitle, const CRect& rectItem, CRect* pRectTitle,
                                 BOOL bIsPressed, int nWidth, int nHeight,
                                 CRect* pRectImage) const {
    CRect rectImage = rectItem;
    const int cxItem = rectItem.Width();
    const int cyItem = rectItem.Height();
    switch (m_byAlign) {
    case ST_ALIGN_HORIZ:
        if (bHasTitle) {
            rectImage.left += m_ptImageOrg.x;
            pRectTitle->left += nWidth + m_ptImageOrg.x;
        } else {
            rectImage.left += (cxItem - nWidth) / 2;
        }
        rectImage.top += (cyItem - nHeight) / 2;
        break;
    case ST_ALIGN_VERT:
        rectImage.left += (cxItem - nWidth) / 2;
        if (bHasTitle) {
            rectImage.top = m_ptImageOrg.y;
            pRectTitle->top += nHeight;
        } else {
            rectImage.top += (cyItem - nHeight) / 2;
        }
        break;
    case ST_ALIGN_HORIZ_RIGHT:
        if (bHasTitle) {
            pRectTitle->right = pRectTitle->Width() - nWidth - m_ptImageOrg.x;
            pRectTitle->left = m_ptImageOrg.x;
            rectImage.left = rectItem.right - nWidth - m_ptImageOrg.x;
        } else {
            rectImage.left += (cxItem - nWidth) / 2;
        }
        rectImage.top += (cyItem - nHeight) / 2;
        break;
    default: // overlapped: the image keeps the item's corner, the caption the whole button
        break;
    }
    if (bIsPressed && !m_bIsCheckBox)
        rectImage.OffsetRect(m_ptPressedStyle);
    rectImage.right = rectImage.left + nWidth;
    rectImage.bottom = rectImage.top + nHeight;
    *pRectImage = rectImage;
}

void CButtonST::PaintCaption(CDC* pDC, const CString& strCaption, const CRect&, CRect rectTitle) {
    if (m_bIsPressed && !m_bIsCheckBox)
        rectTitle.OffsetRect(m_ptPressedStyle);
    const CRect rectCentre = rectTitle;
    pDC->DrawText(strCaption, -1, &rectTitle, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
    rectTitle.OffsetRect(
        rectCentre.left - rectTitle.left + (rectCentre.Width() - rectTitle.Width()) / 2,
        rectCentre.top - rectTitle.top + (rectCentre.Height() - rectTitle.Height()) / 2);
    pDC->SetBkMode(TRANSPARENT);
    if (m_bIsDisabled) {
        // Embossed: a light copy one pixel down and right, the shadow on top.
        CRect rectLight = rectTitle;
        rectLight.OffsetRect(1, 1);
        pDC->SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
        pDC->DrawText(strCaption, -1, &rectLight, DT_WORDBREAK | DT_CENTER);
        pDC->SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
        pDC->DrawText(strCaption, -1, &rectTitle, DT_WORDBREAK | DT_CENTER);
        return;
    }
    int nText = BTNST_COLOR_FG_OUT;
    int nBack = BTNST_COLOR_BK_OUT;
    if (m_bMouseOnButton || m_bIsPressed) {
        nText = BTNST_COLOR_FG_IN;
        nBack = BTNST_COLOR_BK_IN;
    } else if (m_bIsFocused) {
        nText = BTNST_COLOR_FG_FOCUS;
        nBack = BTNST_COLOR_BK_FOCUS;
    }
    pDC->SetTextColor(m_crColors[nText]);
    pDC->SetBkColor(m_crColors[nBack]);
    pDC->DrawText(strCaption, -1, &rectTitle, DT_WORDBREAK | DT_CENTER);
}
