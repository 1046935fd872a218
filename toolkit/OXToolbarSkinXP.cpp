// OXToolbarSkinXP.cpp: COXToolbarSkinXP, the flat Office XP look: the whole
// bar is painted into one off-screen bitmap at the control's pre-paint and
// copied in one blit; the control's own drawing is skipped.
#include "OXToolbarSkin.h"

#include "OXCoolToolBar.h"
#include "OXMenuBar.h"

#include "framework/MDIFrameWnd.h"

namespace {

COLORREF Sys(int nIndex) {
    return ::GetSysColor(nIndex);
}

// Image offsets inside a button: list-style images and text-below images
// start this far in; texts keep these gaps to their image and edges.
const int kImageInset = 3;
const int kListTextGap = 6;
const int kTextGap = 1;
const int kTextInset = 3;
// The insertion mark's width.
const int kInsertMarkWidth = 3;
// The drop-down arrow: Marlett's '6' at 8 points, with this much room.
const int kArrowPointSize = 80;
const int kArrowExtra = 4;
// Raster operation "PSDPxax": the brush where the source (an image's mask)
// is black, the destination elsewhere.
const DWORD kRopShapeInBrush = 0x00B8074A;

// The shape of image nImage in the shadow colour at pt. The mask is drawn
// into a white work bitmap first (Wine's image lists ignore ILD_ROP), then
// laid over pDC with the brush selected.
void DrawImageShadow(CDC* pDC, HIMAGELIST hList, int nImage, CPoint pt, CSize sizeImage) {
    CDC dcMask;
    dcMask.CreateCompatibleDC(pDC);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(pDC, sizeImage.cx, sizeImage.cy);
    CScopedSelect selectBitmap(dcMask, &bitmap);
    dcMask.FillSolidRect(0, 0, sizeImage.cx, sizeImage.cy, RGB(255, 255, 255));
    ImageList_Draw(hList, nImage, dcMask.GetSafeHdc(), 0, 0, ILD_MASK);
    CBrush brush;
    brush.CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW));
    CScopedSelect selectBrush(*pDC, &brush);
    const COLORREF crOldBk = pDC->SetBkColor(RGB(255, 255, 255));
    pDC->BitBlt(pt.x, pt.y, sizeImage.cx, sizeImage.cy, &dcMask, 0, 0, kRopShapeInBrush);
    pDC->SetBkColor(crOldBk);
}

HIMAGELIST ImageList(COXCoolToolBar* pBar, UINT nMessage) {
    return reinterpret_cast<HIMAGELIST>(pBar->SendMessage(nMessage));
}

CSize ImageSize(HIMAGELIST hImageList) {
    int cx = 0, cy = 0;
    if (hImageList != nullptr)
        ImageList_GetIconSize(hImageList, &cx, &cy);
    return CSize(cx, cy);
}

void FrameWithColor(CDC* pDC, const CRect& rect, COLORREF crColor) {
    CBrush brush;
    brush.CreateSolidBrush(crColor);
    pDC->FrameRect(&rect, &brush);
}

} // namespace

// ---------------------------------------------------------------------------
// Gripper, non-client area, separators, marks.

void COXToolbarSkinXP::DrawGripperLines(CDC* pDC, const CRect& rect, BOOL bHorizontal) {
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, m_pSkin->GetGripperColor());
    CScopedSelect selectPen(*pDC, &pen);
    if (bHorizontal) {
        for (int y = rect.top; y <= rect.bottom; y += 2) {
            pDC->MoveTo(rect.left, y);
            pDC->LineTo(rect.right, y);
        }
    } else {
        for (int x = rect.left; x <= rect.right; x += 2) {
            pDC->MoveTo(x, rect.top);
            pDC->LineTo(x, rect.bottom);
        }
    }
}

void COXToolbarSkinXP::DrawGripper(CDC* pDC, CRect& rect, COXCoolToolBar* pBar) {
    if (pBar->IsFloating())
        return;
    CRect rectGrip = rect;
    if (IsHorizontal(pBar)) {
        rectGrip.DeflateRect(2, 6, 2, 5);
        if (pBar->m_pDockContext != nullptr) {
            rectGrip.left += 2;
            rectGrip.bottom -= 2;
        } else if (pBar->m_dwStyle & CBRS_BORDER_BOTTOM) {
            rectGrip.top -= 2;
            rectGrip.bottom -= 2;
        }
        rectGrip.right = rectGrip.left + 3;
        DrawGripperLines(pDC, rectGrip, TRUE);
    } else {
        rectGrip.DeflateRect(3, 4, 7, 4);
        if (pBar->m_pDockContext != nullptr)
            rectGrip.left += 2;
        else
            rectGrip.right += 2;
        rectGrip.bottom = rectGrip.top + 3;
        DrawGripperLines(pDC, rectGrip, FALSE);
    }
}

void COXToolbarSkinXP::DrawNonClient(CDC* pDC, CRect& rectWindow, COXCoolToolBar* pBar) {
    const COLORREF crFace = Sys(COLOR_BTNFACE);
    pDC->FillSolidRect(rectWindow, IsMenuBar(pBar) ? crFace : m_pSkin->GetBarColor());
    CRect rect = rectWindow;
    FrameWithColor(pDC, rect, crFace);
    rect.DeflateRect(1, 1);
    FrameWithColor(pDC, rect, crFace);
    // The corners of the bar's fill are rounded off in the face colour.
    rect.DeflateRect(1, 1);
    pDC->SetPixel(rect.left, rect.top, crFace);
    pDC->SetPixel(rect.right - 1, rect.top, crFace);
    pDC->SetPixel(rect.left, rect.bottom - 1, crFace);
    pDC->SetPixel(rect.right - 1, rect.bottom - 1, crFace);
}

void COXToolbarSkinXP::DrawSeparator(CDC* pDC, CRect& rectItem, COXCoolToolBar*) {
    const COLORREF crLine = m_pSkin->GetSeparatorColor();
    if (rectItem.Width() < rectItem.Height()) {
        const int x = (rectItem.left + rectItem.right) / 2 - 1;
        pDC->FillSolidRect(x, rectItem.top, 1, rectItem.Height(), crLine);
    } else {
        const int y = (rectItem.top + rectItem.bottom) / 2 - 1;
        pDC->FillSolidRect(rectItem.left, y, rectItem.Width(), 1, crLine);
    }
}

void COXToolbarSkinXP::DrawCustomizedButton(CDC* pDC, CRect& rectItem, COXCoolToolBar*) {
    CRect rect = rectItem;
    FrameWithColor(pDC, rect, Sys(COLOR_BTNTEXT));
    rect.DeflateRect(1, 1);
    FrameWithColor(pDC, rect, Sys(COLOR_BTNTEXT));
}

void COXToolbarSkinXP::DrawInsertMark(CDC* pDC, COXCoolToolBar* pBar) {
    TBINSERTMARK mark = {-1, 0};
    pBar->SendMessage(TB_GETINSERTMARK, 0, reinterpret_cast<LPARAM>(&mark));
    if (mark.iButton == -1)
        return;
    CRect rect = ItemRect(pBar, mark.iButton);
    if (mark.dwFlags == 0)
        rect.right = rect.left + kInsertMarkWidth;
    else if (mark.dwFlags == TBIMHT_AFTER)
        rect.left = rect.right - kInsertMarkWidth;
    else
        return;
    pDC->FillSolidRect(rect, Sys(COLOR_BTNTEXT));
}

// ---------------------------------------------------------------------------
// Combo boxes and edit controls on a bar.

void COXToolbarSkinXP::OnPaintComboBox(CComboBox* pComboBox) {
    COXToolbarSkin::OnPaintComboBox(pComboBox);
    DrawComboBox(pComboBox);
}

void COXToolbarSkinXP::DrawComboBox(CComboBox* pComboBox) {
    // A flat face: the sunken 3D edge becomes a one-pixel frame, in the
    // border colour while the box has the focus.
    CWindowDC dc(pComboBox);
    CRect rect;
    pComboBox->GetWindowRect(&rect);
    rect.OffsetRect(-rect.left, -rect.top);
    const bool bFocus = ::GetFocus() != nullptr && (::GetFocus() == pComboBox->m_hWnd ||
                                                    ::IsChild(pComboBox->m_hWnd, ::GetFocus()));
    FrameWithColor(&dc, rect, bFocus ? m_pSkin->GetBorderColor() : m_pSkin->GetBarColor());
    rect.DeflateRect(1, 1);
    FrameWithColor(&dc, rect, Sys(COLOR_WINDOW));
}

void COXToolbarSkinXP::DrawEditBorder(CEdit* pEdit) {
    CWindowDC dc(pEdit);
    CRect rect;
    pEdit->GetWindowRect(&rect);
    rect.OffsetRect(-rect.left, -rect.top);
    FrameWithColor(&dc, rect,
                   ::GetFocus() == pEdit->m_hWnd ? m_pSkin->GetBorderColor()
                                                 : m_pSkin->GetBarColor());
}

// ---------------------------------------------------------------------------
// Menu-bar buttons of a maximised MDI child.

void COXToolbarSkinXP::DrawMenuButtons(CDC* pDC, COXMenuBar* pMenuBar) {
    CWnd* pFrameWnd = pMenuBar->GetFrame();
    auto* pFrame = pFrameWnd != nullptr ? dynamic_cast<CMDIFrameWnd*>(pFrameWnd) : nullptr;
    BOOL bMaximized = FALSE;
    CWnd* pChild = pFrame != nullptr ? pFrame->MDIGetActive(&bMaximized) : nullptr;
    const CRect rectClose = pMenuBar->GetCloseRect();
    if (pChild == nullptr || !bMaximized || rectClose.IsRectEmpty())
        return;
    const COLORREF crFace = Sys(COLOR_BTNFACE);
    m_pSkin->DrawFrameButton(pDC, rectClose, DFCS_CAPTIONCLOSE, FALSE, FALSE, crFace, pMenuBar);
    const CRect rectRestore = pMenuBar->GetRestoreRect();
    if (!rectRestore.IsRectEmpty())
        m_pSkin->DrawFrameButton(pDC, rectRestore, DFCS_CAPTIONRESTORE, FALSE, FALSE, crFace,
                                 pMenuBar);
    const CRect rectMinimize = pMenuBar->GetMinimizeRect();
    if (!rectMinimize.IsRectEmpty())
        m_pSkin->DrawFrameButton(pDC, rectMinimize, DFCS_CAPTIONMIN, FALSE, FALSE, crFace,
                                 pMenuBar);
}

// ---------------------------------------------------------------------------
// The whole bar.

void COXToolbarSkinXP::DrawBackground(CDC* pDC, COXCoolToolBar* pBar) {
    CRect rectClient;
    pBar->GetClientRect(&rectClient);
    pDC->FillSolidRect(rectClient, IsMenuBar(pBar) ? Sys(COLOR_BTNFACE) : m_pSkin->GetBarColor());
}

void COXToolbarSkinXP::EraseButton(CDC* pDC, const CRect& rect) {
    pDC->FillSolidRect(rect, m_pSkin->GetBarColor());
}

LRESULT COXToolbarSkinXP::CustomDraw(CDC* pDC, LPNMTBCUSTOMDRAW pCustomDraw, COXCoolToolBar* pBar) {
    // The whole bar is drawn at pre-paint. Wine's toolbar still draws its
    // items after a CDRF_SKIPDEFAULT pre-paint unless each item is skipped
    // too, and draws separators regardless: the bar is drawn once more at
    // post-paint, over whatever the control drew.
    switch (pCustomDraw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        PaintBar(pDC, pBar);
        return CDRF_SKIPDEFAULT | CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPREPAINT:
        return CDRF_SKIPDEFAULT;
    case CDDS_POSTPAINT:
        PaintBar(pDC, pBar);
        return CDRF_DODEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

void COXToolbarSkinXP::PaintBar(CDC* pDC, COXCoolToolBar* pBar) {
    CRect rectClient;
    pBar->GetClientRect(&rectClient);
    if (rectClient.IsRectEmpty())
        return;
    CDC dcMem;
    dcMem.CreateCompatibleDC(pDC);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(pDC, rectClient.Width(), rectClient.Height());
    CScopedSelect selectBitmap(dcMem, &bitmap);
    CScopedSelect selectFont(dcMem, pBar->GetFont());
    DrawBackground(&dcMem, pBar);
    const int nCount = static_cast<int>(pBar->SendMessage(TB_BUTTONCOUNT));
    const int nCustomized = pBar->GetCustomizedButton();
    for (int i = 0; i < nCount; ++i) {
        TBBUTTON button = {};
        pBar->SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
        if (button.fsState & TBSTATE_HIDDEN)
            continue;
        CRect rect = ItemRect(pBar, i);
        if (!(button.fsStyle & TBSTYLE_SEP)) {
            DrawButton(&dcMem, button, rect, pBar, TRUE);
        } else if (button.fsState & TBSTATE_WRAP) {
            CRect rectStrip(rectClient.left, rect.bottom - rect.Width(), rectClient.right,
                            rect.bottom);
            pBar->DrawSeparator(&dcMem, rectStrip);
        } else if (rect.Width() < rect.Height()) {
            pBar->DrawSeparator(&dcMem, rect);
        }
        if (i == nCustomized && !IsWindowButton(pBar, i))
            pBar->DrawCustomizedButton(&dcMem, rect);
    }
    DrawInsertMark(&dcMem, pBar);
    pDC->BitBlt(0, 0, rectClient.right, rectClient.bottom, &dcMem, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------
// One button.

CRect COXToolbarSkinXP::GetDropDownArrowRect(CDC* pDC, const CRect& rectButton) {
    CFont font;
    font.CreatePointFont(kArrowPointSize, "Marlett");
    CScopedSelect selectFont(*pDC, &font);
    CRect rectText(0, 0, 0, 0);
    pDC->DrawText("6", &rectText, DT_CALCRECT | DT_SINGLELINE);
    CRect rect = rectButton;
    rect.left = rect.right - (rectText.Width() + kArrowExtra);
    return rect;
}

void COXToolbarSkinXP::FillButtonLook(CDC* pDC, const CRect& rect, ButtonLook look) {
    COLORREF crFill = m_pSkin->GetHotColor();
    if (look == lookPressed)
        crFill = m_pSkin->GetPressedColor();
    else if (look == lookChecked)
        crFill = m_pSkin->GetCheckedColor();
    pDC->FillSolidRect(rect, crFill);
}

void COXToolbarSkinXP::DrawButton(CDC* pDC, const TBBUTTON& button, const CRect& rect,
                                  COXCoolToolBar* pBar, BOOL bBackground) {
    const int nIndex = static_cast<int>(pBar->SendMessage(TB_COMMANDTOINDEX, button.idCommand));
    const BOOL bPressed = (button.fsState & TBSTATE_PRESSED) != 0;
    const BOOL bChecked = (button.fsState & TBSTATE_CHECKED) != 0;
    const BOOL bDisabled = (button.fsState & TBSTATE_ENABLED) == 0;
    BOOL bHot = static_cast<int>(pBar->SendMessage(TB_GETHOTITEM)) == nIndex;
    if (bPressed && IsMenuBar(pBar) && static_cast<COXMenuBar*>(pBar)->GetOpenItem() == nIndex)
        bHot = TRUE;
    const DWORD dwExStyle = static_cast<DWORD>(pBar->SendMessage(TB_GETEXTENDEDSTYLE));
    const BOOL bArrows = (dwExStyle & TBSTYLE_EX_DRAWDDARROWS) != 0;
    const BOOL bDropDown = (button.fsStyle & TBSTYLE_DROPDOWN) != 0;

    ButtonLook look = lookNone;
    BOOL bRaised = FALSE, bImageHot = FALSE, bImageDisabled = FALSE;
    COLORREF crText = Sys(COLOR_BTNTEXT);
    if (pBar->GetDropDownCommand() == button.idCommand) {
        // The button whose menu was dropped last shows raised once; the mark
        // is used up by this paint.
        pBar->SetDropDownCommand(-1);
        look = lookErase;
        bRaised = RaisesHotImage();
        bImageHot = TRUE;
    } else if ((bPressed || bChecked) && bHot) {
        look = lookPressed;
        bImageHot = TRUE;
        // The menu-bar item of an open popup lies under the item window's
        // light gradient, where the highlight text would all but vanish.
        crText = IsMenuBar(pBar) && bPressed ? Sys(COLOR_MENUTEXT) : Sys(COLOR_HIGHLIGHTTEXT);
    } else if (bChecked) {
        look = lookChecked;
    } else if (bHot) {
        look = lookHot;
        bRaised = RaisesHotImage();
        bImageHot = TRUE;
    } else if (bPressed) {
        look = lookEraseShort;
        bRaised = RaisesHotImage();
        bImageHot = TRUE;
    } else if (bDisabled) {
        bImageDisabled = TRUE;
        crText = GetDisabledTextColor();
    }

    if (bBackground) {
        if (look == lookErase) {
            EraseButton(pDC, rect);
        } else if (look == lookEraseShort) {
            CRect rectShort = rect;
            rectShort.DeflateRect(0, 1);
            EraseButton(pDC, rectShort);
        } else if (look != lookNone) {
            CRect rectInner = rect;
            rectInner.DeflateRect(1, 1);
            FillButtonLook(pDC, rectInner, look);
            CRect rectFrame = rect;
            if (button.iBitmap == -1 && bDropDown && !bArrows)
                rectFrame.DeflateRect(0, 1);
            FrameWithColor(pDC, rectFrame, m_pSkin->GetBorderColor());
            if (bDropDown && bArrows)
                FrameWithColor(pDC, GetDropDownArrowRect(pDC, rect), m_pSkin->GetBorderColor());
        }
    }
    DrawButtonImage(pDC, button, rect, pBar, bRaised, bImageHot, bImageDisabled);
    DrawButtonText(pDC, button, nIndex, rect, pBar, crText);
}

void COXToolbarSkinXP::DrawButtonImage(CDC* pDC, const TBBUTTON& button, CRect rect,
                                       COXCoolToolBar* pBar, BOOL bRaised, BOOL bHot,
                                       BOOL bDisabled) {
    if (IsMenuBar(pBar) || button.iBitmap == -1)
        return;
    const DWORD dwExStyle = static_cast<DWORD>(pBar->SendMessage(TB_GETEXTENDEDSTYLE));
    if ((button.fsStyle & TBSTYLE_DROPDOWN) && (dwExStyle & TBSTYLE_EX_DRAWDDARROWS)) {
        CRect rectArrow = GetDropDownArrowRect(pDC, rect);
        rect.right = rectArrow.left;
        CFont font;
        font.CreatePointFont(kArrowPointSize, "Marlett");
        CScopedSelect selectFont(*pDC, &font);
        const int nOldMode = pDC->SetBkMode(TRANSPARENT);
        const COLORREF crOld =
            pDC->SetTextColor(bDisabled ? GetDisabledTextColor() : Sys(COLOR_BTNTEXT));
        pDC->DrawText("6", &rectArrow, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        pDC->SetTextColor(crOld);
        pDC->SetBkMode(nOldMode);
    }
    HIMAGELIST hNormal = ImageList(pBar, TB_GETIMAGELIST);
    if (hNormal == nullptr)
        return;
    const CSize sizeImage = ImageSize(hNormal);
    const int nIndex = static_cast<int>(pBar->SendMessage(TB_COMMANDTOINDEX, button.idCommand));
    CPoint pt;
    if (pBar->GetButtonText(nIndex).IsEmpty()) {
        pt.x = rect.left + (rect.Width() - sizeImage.cx) / 2;
        pt.y = rect.top + (rect.Height() - sizeImage.cy) / 2;
    } else if (pBar->IsList()) {
        pt.x = rect.left + kImageInset;
        pt.y = rect.top + (rect.Height() - sizeImage.cy) / 2;
    } else {
        pt.x = rect.left + (rect.Width() - sizeImage.cx) / 2;
        pt.y = rect.top + kImageInset;
    }
    const HDC hDC = pDC->GetSafeHdc();
    if (bHot) {
        HIMAGELIST hHot = ImageList(pBar, TB_GETHOTIMAGELIST);
        HIMAGELIST hList = hHot != nullptr ? hHot : hNormal;
        if (bRaised) {
            // The image's shape in the shadow colour one pixel down and
            // right, the image itself one pixel up and left.
            DrawImageShadow(pDC, hList, button.iBitmap, CPoint(pt.x + 1, pt.y + 1), sizeImage);
            ImageList_Draw(hList, button.iBitmap, hDC, pt.x - 1, pt.y - 1, ILD_TRANSPARENT);
        } else {
            ImageList_Draw(hList, button.iBitmap, hDC, pt.x, pt.y, ILD_TRANSPARENT);
        }
        return;
    }
    if (bDisabled) {
        HIMAGELIST hDisabled = ImageList(pBar, TB_GETDISABLEDIMAGELIST);
        if (hDisabled != nullptr) {
            ImageList_Draw(hDisabled, button.iBitmap, hDC, pt.x, pt.y, ILD_TRANSPARENT);
            return;
        }
        HICON hIcon = ImageList_GetIcon(hNormal, button.iBitmap, ILD_NORMAL);
        if (hIcon == nullptr)
            return;
        CBrush brush;
        brush.CreateSolidBrush(m_pSkin->GetDisabledColor());
        ::DrawStateA(hDC, static_cast<HBRUSH>(brush.GetSafeHandle()), nullptr,
                     reinterpret_cast<LPARAM>(hIcon), 0, pt.x, pt.y, sizeImage.cx, sizeImage.cy,
                     DST_ICON | DSS_MONO);
        ::DestroyIcon(hIcon);
        return;
    }
    ImageList_Draw(hNormal, button.iBitmap, hDC, pt.x, pt.y, ILD_TRANSPARENT);
}

void COXToolbarSkinXP::DrawButtonText(CDC* pDC, const TBBUTTON& button, int nIndex, CRect rect,
                                      COXCoolToolBar* pBar, COLORREF crText) {
    const DWORD dwExStyle = static_cast<DWORD>(pBar->SendMessage(TB_GETEXTENDEDSTYLE));
    const BOOL bArrows = (dwExStyle & TBSTYLE_EX_DRAWDDARROWS) != 0;
    const BOOL bDropDown = (button.fsStyle & TBSTYLE_DROPDOWN) != 0;
    CString strText = pBar->GetButtonText(nIndex);
    if (IsMenuBar(pBar) && bDropDown && !bArrows)
        strText = static_cast<COXMenuBar*>(pBar)->GetMenuItemText(button.idCommand - 1);
    if (strText.IsEmpty())
        return;
    if (bArrows && bDropDown)
        rect.right = GetDropDownArrowRect(pDC, rect).left;
    const CSize sizeImage = ImageSize(ImageList(pBar, TB_GETIMAGELIST));
    const BOOL bList = pBar->IsList();
    if (bList) {
        rect.left += sizeImage.cx + kListTextGap;
        rect.right -= kTextInset;
    } else {
        rect.top += sizeImage.cy + kTextGap;
        rect.DeflateRect(kTextInset, kTextInset);
    }
    UINT nFormat = DT_END_ELLIPSIS | DT_WORDBREAK;
    if (pBar->SendMessage(TB_GETTEXTROWS) == 1)
        nFormat |= DT_SINGLELINE;
    nFormat |= bList ? DT_VCENTER : DT_CENTER;
    CScopedSelect selectFont(*pDC, pBar->GetFont());
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF crOld = pDC->SetTextColor(crText);
    pDC->DrawText(strText, &rect, nFormat);
    pDC->SetTextColor(crOld);
    pDC->SetBkMode(nOldMode);
}
