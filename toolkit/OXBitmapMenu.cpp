// OXBitmapMenu.cpp: COXBitmapMenu's records, extents, measuring and drawing, the
// popup-menu class, the command-UI update and the checker brush. The drop from a
// bar button and its placement are in OXBitmapMenuTrack.cpp.
#include "OXBitmapMenu.h"

#include "OXBitmapMenuOrganizer.h"
#include "OXMenuSkin.h"
#include "OXSkinnedApp.h"

#include "Common/TraceLog.h"
#include "framework/Dc.h"
#include "framework/FrameWnd.h"
#include "framework/Gdi.h"
#include "framework/WinApp.h"

#include <commctrl.h>

#include <algorithm>
#include <cstddef>

IMPLEMENT_DYNAMIC(COXBitmapMenu, CMenu)

WNDPROC COXBitmapMenu::s_pfnPopupMenuProc = nullptr;

namespace {

// SPI_GETNONCLIENTMETRICS is asked with the structure as it was before the
// padded border width was added, which every platform version answers.
const UINT kNonClientMetricsSize = 340;
static_assert(offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA) ==
                  kNonClientMetricsSize,
              "the menu font must lie inside the part of the structure that is asked for");

const int kMaxItemText = 300; // characters read of an item's text

bool IsSeparatorID(UINT nID) {
    return nID == 0 || nID == 0xFFFF;
}

// The part of strText before the first tab, and the part after it.
void SplitAtTab(const CString& strText, CString& strItem, CString& strShortcut) {
    int nTab = strText.Find('\t');
    if (nTab < 0) {
        strItem = strText;
        strShortcut.Empty();
    } else {
        strItem = strText.Left(nTab);
        strShortcut = strText.Mid(nTab + 1);
    }
}

int MeasureTextWidth(CDC& dc, const CString& strText) {
    if (strText.IsEmpty())
        return 0;
    CRect rect(0, 0, 0, 0);
    dc.DrawText(strText, rect, DT_CALCRECT | DT_SINGLELINE);
    return rect.Width();
}

} // namespace

// ---------------------------------------------------------------------------
// Records

CSize COXImageInfo::GetImageSize() const {
    IMAGEINFO info;
    if (m_pImageList == nullptr || m_pImageList->GetSafeHandle() == nullptr ||
        !m_pImageList->GetImageInfo(m_nIndex, &info))
        return CSize(0, 0);
    return CSize(info.rcImage.right - info.rcImage.left, info.rcImage.bottom - info.rcImage.top);
}

OXPOPUPWND* COXPopupWndStack::Find(HWND hWnd) const {
    for (POSITION pos = GetHeadPosition(); pos != nullptr;) {
        OXPOPUPWND* pRecord = GetNext(pos);
        if (pRecord->hWnd == hWnd)
            return pRecord;
    }
    return nullptr;
}

BOOL COXPopupWndStack::RemoveWnd(HWND hWnd) {
    for (POSITION pos = GetHeadPosition(); pos != nullptr;) {
        POSITION posRecord = pos;
        OXPOPUPWND* pRecord = GetNext(pos);
        if (pRecord->hWnd == hWnd) {
            RemoveAt(posRecord);
            delete pRecord;
            return TRUE;
        }
    }
    return FALSE;
}

void COXPopupWndStack::DeleteAll() {
    while (!IsEmpty())
        delete RemoveHead();
}

// ---------------------------------------------------------------------------
// Construction and the skin

COXBitmapMenu::COXBitmapMenu()
    : m_nImageWidth(0), m_nTextHeight(0), m_nShortcutWidth(0), m_nTextWidth(0),
      m_bCustomizationActive(FALSE), m_hWndCustomizeNotify(nullptr), m_rectBarButton(0, 0, 0, 0) {
    m_mapMnemonics.InitHashTable(10);
    RegisterPopupMenuClass();
}

// The drop target revokes itself when it is destroyed; the shared Classic skin
// lives on (see GetMenuSkin).
COXBitmapMenu::~COXBitmapMenu() {
    m_mapMnemonics.RemoveAll();
    while (!m_listItemInfos.IsEmpty())
        delete m_listItemInfos.RemoveHead();
    m_popupWndStack.DeleteAll();
}

// One Classic skin for every bitmap menu of the process, made on first use and
// destroyed at exit: deleting it with any one menu would pull it from under a
// popup of another menu that is still drawing through it.
COXMenuSkin* PASCAL COXBitmapMenu::GetMenuSkin() {
    if (COXSkin* pSkin = OXGetCurrentSkin()) {
        if (COXMenuSkin* pMenuSkin = pSkin->GetMenuSkin())
            return pMenuSkin;
    }
    static COXMenuSkinClassic s_classicSkin;
    return &s_classicSkin;
}

void COXBitmapMenu::AddItemInfo(COXItemInfo* pItemInfo) {
    ASSERT(pItemInfo != nullptr);
    if (pItemInfo != nullptr && m_listItemInfos.Find(pItemInfo) == nullptr)
        m_listItemInfos.AddTail(pItemInfo);
}

COXItemInfo* COXBitmapMenu::FindItemInfo(ULONG_PTR nItemData) const {
    COXItemInfo* pItemInfo = reinterpret_cast<COXItemInfo*>(nItemData);
    return pItemInfo != nullptr && m_listItemInfos.Find(pItemInfo) != nullptr ? pItemInfo : nullptr;
}

// ---------------------------------------------------------------------------
// Extents and measuring

void COXBitmapMenu::CalcExtents() {
    m_nImageWidth = 0;
    m_nShortcutWidth = 0;
    m_nTextWidth = 0;

    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = kNonClientMetricsSize;
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &ncm, 0);
    CFont fontMenu, fontBold;
    fontMenu.CreateFontIndirect(&ncm.lfMenuFont);
    LOGFONTA lfBold = ncm.lfMenuFont;
    lfBold.lfWeight = FW_BOLD;
    fontBold.CreateFontIndirect(&lfBold);

    CWnd* pMainWnd = AfxGetMainWnd();
    HWND hWndMeasure = pMainWnd != nullptr ? pMainWnd->GetSafeHwnd() : nullptr;
    HDC hDC = ::GetDC(hWndMeasure);
    if (hDC == nullptr) {
        KWTRACE_ERROR(("COXBitmapMenu::CalcExtents: no device context (%lu)\n",
                       static_cast<unsigned long>(::GetLastError())));
        return;
    }
    CDCHandle dc(hDC);
    const int nMinImageWidth = GetMenuSkin()->GetMenuMetrics()->MinImageWidth;
    const UINT nDefault = ::GetMenuDefaultItem(m_hMenu, TRUE, GMDI_USEDISABLED);
    HGDIOBJ hOldFont = nullptr;
    const int nCount = GetMenuItemCount();
    for (int i = 0; i < nCount; ++i) {
        HGDIOBJ hPrevious = ::SelectObject(
            hDC, static_cast<UINT>(i) == nDefault ? fontBold.m_hObject : fontMenu.m_hObject);
        if (hOldFont == nullptr)
            hOldFont = hPrevious;

        char szText[kMaxItemText + 1] = "";
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
        mii.dwTypeData = szText;
        mii.cch = kMaxItemText;
        if (!::GetMenuItemInfoA(m_hMenu, i, TRUE, &mii) || (mii.fType & MFT_SEPARATOR))
            continue;
        CString strText = szText;
        if (COXItemInfo* pItemInfo = FindItemInfo(mii.dwItemData)) {
            if (COXImageInfo* pImageInfo = pItemInfo->GetImageInfo())
                m_nImageWidth = std::max(m_nImageWidth,
                                         std::max(pImageInfo->GetImageSize().cx, nMinImageWidth));
            strText = pItemInfo->GetText();
        }
        CString strItem, strShortcut;
        SplitAtTab(strText, strItem, strShortcut);
        // Room for the submenu arrow.
        if (strText.Find('\t') < 0 && mii.hSubMenu != nullptr)
            strShortcut = "W";
        m_nTextWidth = std::max(m_nTextWidth, MeasureTextWidth(dc, strItem));
        m_nShortcutWidth = std::max(m_nShortcutWidth, MeasureTextWidth(dc, strShortcut));
    }
    // "A" in the font the last item was measured with (the menu font, or its
    // bold form after a default item); the context's own font without items.
    CRect rectA(0, 0, 0, 0);
    dc.DrawText("A", 1, rectA, DT_CALCRECT | DT_SINGLELINE);
    m_nTextHeight = rectA.Height();
    if (hOldFont != nullptr)
        ::SelectObject(hDC, hOldFont);
    ::ReleaseDC(hWndMeasure, hDC);
}

static BOOL IsSubmenuItem(HMENU hMenu, UINT nID) {
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_SUBMENU;
    return ::GetMenuItemInfoA(hMenu, nID, FALSE, &mii) && mii.hSubMenu != nullptr;
}

void COXBitmapMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    if (lpMeasureItemStruct == nullptr)
        return;
    COXMenuSkin* pSkin = GetMenuSkin();
    const OXMENUMETRICS* pMetrics = pSkin->GetMenuMetrics();
    if (lpMeasureItemStruct->itemData == 0) {
        if (IsSubmenuItem(m_hMenu, lpMeasureItemStruct->itemID))
            lpMeasureItemStruct->itemHeight = m_nTextHeight + pMetrics->TextPadding;
        return;
    }

    lpMeasureItemStruct->itemWidth = pMetrics->LeftMargin + m_nImageWidth + pMetrics->ImageTextGap +
                                     m_nTextWidth +
                                     (m_nShortcutWidth != 0 ? pMetrics->TextShortcutGap : 0) +
                                     m_nShortcutWidth + pMetrics->RightMargin;
    if (IsSeparatorID(lpMeasureItemStruct->itemID)) {
        lpMeasureItemStruct->itemHeight = pMetrics->SeparatorHeight;
        return;
    }

    COXItemInfo* pItemInfo = FindItemInfo(lpMeasureItemStruct->itemData);
    COXImageInfo* pImageInfo = pItemInfo != nullptr ? pItemInfo->GetImageInfo() : nullptr;
    const int nImageHeight = pImageInfo != nullptr
                                 ? pImageInfo->GetImageSize().cy + 2 + pMetrics->ImagePadding
                                 : pMetrics->ImagePadding;
    int nHeight = std::max(nImageHeight, m_nTextHeight + pMetrics->TextPadding);
    if (lpMeasureItemStruct->itemID == ID_OX_SHOWALLITEMS)
        pSkin->MeasureShowAllItem(nHeight, this);
    lpMeasureItemStruct->itemHeight = nHeight;
}

// ---------------------------------------------------------------------------
// Drawing

void COXBitmapMenu::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (lpDrawItemStruct == nullptr || lpDrawItemStruct->hDC == nullptr)
        return;
    CDCHandle dc(lpDrawItemStruct->hDC);
    const CRect rectItem(lpDrawItemStruct->rcItem);
    const UINT nID = lpDrawItemStruct->itemID;
    if (IsSeparatorID(nID)) {
        DrawItemSeparator(&dc, rectItem);
        return;
    }

    COXItemInfo* pItemInfo = FindItemInfo(lpDrawItemStruct->itemData);
    COXImageInfo* pImageInfo = pItemInfo != nullptr ? pItemInfo->GetImageInfo() : nullptr;
    const CString strText = pItemInfo != nullptr ? pItemInfo->GetText() : CString();
    UINT nState = lpDrawItemStruct->itemState;
    CRect rectButton, rectImage, rectText, rectShortcut;
    CalcItemRects(nState, pImageInfo, rectItem, rectButton, rectImage, rectText, rectShortcut);
    nState |= GetRarelyUsedState(rectItem);

    if (IsSubmenuItem(m_hMenu, nID)) {
        DrawSubmenuItem(&dc, nState, strText, pImageInfo, rectItem, rectButton, rectText,
                        rectShortcut);
        return;
    }
    DrawItemBackground(&dc, nState, pImageInfo, rectItem, rectButton);
    DrawImageFrame(&dc, nState, pImageInfo, rectButton);
    DrawItemImage(&dc, nState, pImageInfo, rectImage);
    if (nID == ID_OX_SHOWALLITEMS)
        DrawShowAllItem(&dc, rectItem, nState);
    else
        DrawItemText(&dc, nState, strText, rectText, rectShortcut);
}

int COXBitmapMenu::FindItemFromRect(const CRect& rectItem) {
    const int nCentre = rectItem.CenterPoint().y;
    int nTop = 0;
    const int nCount = GetMenuItemCount();
    for (int i = 0; i < nCount; ++i) {
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
        if (!::GetMenuItemInfoA(m_hMenu, i, TRUE, &mii))
            continue;
        MEASUREITEMSTRUCT mis = {};
        mis.CtlType = ODT_MENU;
        mis.itemID = mii.hSubMenu != nullptr
                         ? static_cast<UINT>(reinterpret_cast<UINT_PTR>(mii.hSubMenu))
                         : mii.wID;
        mis.itemData = mii.dwItemData;
        MeasureItem(&mis);
        nTop += static_cast<int>(mis.itemHeight);
        if (nCentre < nTop)
            return i;
    }
    return -1;
}

UINT COXBitmapMenu::GetRarelyUsedState(const CRect& rectItem) {
    CWnd* pMainWnd = AfxGetMainWnd();
    COXBitmapMenuOrganizer* pOrganizer =
        pMainWnd != nullptr ? COXBitmapMenuOrganizer::FindOrganizer(pMainWnd->GetSafeHwnd())
                            : nullptr;
    if (pOrganizer == nullptr || !pOrganizer->GetShortenedMenus())
        return 0;
    const int nPos = FindItemFromRect(rectItem);
    if (nPos < 0)
        return 0;
    auto isRarelyUsed = [&](int nItem) {
        HMENU hSubmenu = ::GetSubMenu(m_hMenu, nItem);
        if (hSubmenu != nullptr)
            return pOrganizer->IsHiddenSubmenu(hSubmenu) != FALSE;
        UINT nItemID = ::GetMenuItemID(m_hMenu, nItem);
        return !IsSeparatorID(nItemID) && pOrganizer->IsHiddenCommand(nItemID) != FALSE;
    };
    if (!isRarelyUsed(nPos))
        return 0;
    UINT nState = OXODS_HIDDEN;
    if (nPos > 0 && !isRarelyUsed(nPos - 1))
        nState |= OXODS_HIDDENFIRST;
    if (nPos + 1 < GetMenuItemCount() && !isRarelyUsed(nPos + 1))
        nState |= OXODS_HIDDENLAST;
    return nState;
}

void COXBitmapMenu::CalcItemRects(UINT nState, COXImageInfo* pImageInfo, const CRect& rectItem,
                                  CRect& rectButton, CRect& rectImage, CRect& rectText,
                                  CRect& rectShortcut) {
    GetMenuSkin()->CalcItemRects(nState, pImageInfo, rectItem, rectButton, rectImage, rectText,
                                 rectShortcut, this);
}

void COXBitmapMenu::DrawItemBackground(CDC* pDC, UINT nState, COXImageInfo* pImageInfo,
                                       const CRect& rectItem, const CRect& rectButton) {
    GetMenuSkin()->DrawItemBackground(pDC, nState, pImageInfo, rectItem, rectButton, this);
}

void COXBitmapMenu::DrawImageFrame(CDC* pDC, UINT nState, COXImageInfo* pImageInfo,
                                   const CRect& rectButton) {
    GetMenuSkin()->DrawImageFrame(pDC, nState, pImageInfo, rectButton, this);
}

void COXBitmapMenu::DrawItemImage(CDC* pDC, UINT nState, COXImageInfo* pImageInfo,
                                  const CRect& rectImage) {
    GetMenuSkin()->DrawItemImage(pDC, nState, pImageInfo, rectImage, this);
}

void COXBitmapMenu::DrawItemText(CDC* pDC, UINT nState, const CString& strText,
                                 const CRect& rectText, const CRect& rectShortcut) {
    GetMenuSkin()->DrawItemText(pDC, nState, strText, rectText, rectShortcut, this);
}

void COXBitmapMenu::DrawItemSeparator(CDC* pDC, const CRect& rectItem) {
    GetMenuSkin()->DrawItemSeparator(pDC, rectItem, this);
}

void COXBitmapMenu::DrawSubmenuItem(CDC* pDC, UINT nState, const CString& strText,
                                    COXImageInfo* pImageInfo, const CRect& rectItem,
                                    const CRect& rectButton, const CRect& rectText,
                                    const CRect& rectShortcut) {
    GetMenuSkin()->DrawSubmenuItem(pDC, nState, strText, pImageInfo, rectItem, rectButton, rectText,
                                   rectShortcut, this);
}

void COXBitmapMenu::DrawShowAllItem(CDC* pDC, const CRect& rectItem, UINT nState) {
    GetMenuSkin()->DrawShowAllItem(pDC, rectItem, nState, this);
}

// ---------------------------------------------------------------------------
// The popup-menu class

void PASCAL COXBitmapMenu::RegisterPopupMenuClass() {
    if (s_pfnPopupMenuProc != nullptr)
        return;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    if (!::GetClassInfoExA(nullptr, "#32768", &wc) || wc.lpfnWndProc == nullptr) {
        KWTRACE_ERROR(("COXBitmapMenu::RegisterPopupMenuClass: no popup-menu class (%lu)\n",
                       static_cast<unsigned long>(::GetLastError())));
        return;
    }
    // Kept before the class exists: a popup may be created as soon as it does.
    // A failed registration leaves the platform's class in charge, so it is
    // not tried again.
    s_pfnPopupMenuProc = wc.lpfnWndProc;
    wc.lpfnWndProc = PopupMenuClassProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.style = (wc.style & ~CS_DROPSHADOW) | CS_SAVEBITS;
    wc.lpszClassName = "#32768";
    if (!::RegisterClassExA(&wc))
        KWTRACE_ERROR(("COXBitmapMenu::RegisterPopupMenuClass: RegisterClassEx failed (%lu)\n",
                       static_cast<unsigned long>(::GetLastError())));
}

LRESULT CALLBACK COXBitmapMenu::PopupMenuClassProc(HWND hWnd, UINT nMsg, WPARAM wParam,
                                                   LPARAM lParam) {
    return GetMenuSkin()->PopupMenuProc(s_pfnPopupMenuProc, hWnd, nMsg, wParam, lParam);
}

// ---------------------------------------------------------------------------
// Command-UI update

void PASCAL COXBitmapMenu::UpdateMenuCmdUI(CMenu* pPopupMenu, CWnd* pTarget, UINT /*nIndex*/,
                                           BOOL bSysMenu) {
    if (bSysMenu || pPopupMenu == nullptr || pPopupMenu->m_hMenu == nullptr || pTarget == nullptr)
        return;
    CBitmapMenuCmdUI state;
    state.m_pMenu = pPopupMenu;
    // The menu that holds the popup: the popup itself while the framework tracks
    // it, else the top-level window menu of the target's frame that contains it.
    if (CMenu::GetTrackingMenu() == pPopupMenu->m_hMenu) {
        state.m_pParentMenu = pPopupMenu;
    } else {
        CWnd* pParent = pTarget->GetTopLevelParent();
        HMENU hParentMenu = pParent != nullptr ? ::GetMenu(pParent->GetSafeHwnd()) : nullptr;
        const int nParentCount = hParentMenu != nullptr ? ::GetMenuItemCount(hParentMenu) : 0;
        for (int i = 0; i < nParentCount; ++i) {
            if (::GetSubMenu(hParentMenu, i) == pPopupMenu->m_hMenu) {
                state.m_pParentMenu = CMenu::FromHandle(hParentMenu);
                break;
            }
        }
    }

    CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, pTarget);
    const BOOL bAutoMenuEnable = pFrame != nullptr && pFrame->m_bAutoMenuEnable;
    state.m_nIndexMax = static_cast<UINT>(pPopupMenu->GetMenuItemCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID == 0)
            continue; // separator
        if (state.m_nID == static_cast<UINT>(-1)) {
            // A submenu follows its first item, unless that is a separator or
            // another submenu; it is never disabled for want of a handler.
            state.m_pSubMenu = pPopupMenu->GetSubMenu(static_cast<int>(state.m_nIndex));
            if (state.m_pSubMenu == nullptr)
                continue;
            state.m_nID = state.m_pSubMenu->GetMenuItemID(0);
            if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1))
                continue;
            state.DoUpdate(pTarget, FALSE);
        } else {
            state.m_pSubMenu = nullptr;
            state.DoUpdate(pTarget, bAutoMenuEnable && state.m_nID < 0xF000);
        }
        // A handler that removed items: go on after the run of this command.
        const UINT nCount = static_cast<UINT>(pPopupMenu->GetMenuItemCount());
        if (nCount < state.m_nIndexMax) {
            state.m_nIndex -= state.m_nIndexMax - nCount;
            while (state.m_nIndex < nCount &&
                   pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex)) == state.m_nID)
                ++state.m_nIndex;
        }
        state.m_nIndexMax = nCount;
    }
}

// The record's text changes and the item stays owner-drawn; any owner-drawn
// item counts, also one that shows a radio check (the platform's own text
// would turn it into a plain string item).
void CBitmapMenuCmdUI::SetText(LPCTSTR lpszText) {
    if (m_pMenu == nullptr || m_pMenu->m_hMenu == nullptr || m_pSubMenu != nullptr)
        return;
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
    if (!::GetMenuItemInfoA(m_pMenu->m_hMenu, m_nIndex, TRUE, &mii) || mii.hSubMenu != nullptr)
        return;
    COXBitmapMenu* pBitmapMenu = DYNAMIC_DOWNCAST(COXBitmapMenu, m_pMenu);
    if ((mii.fType & MFT_OWNERDRAW) && pBitmapMenu != nullptr) {
        if (COXItemInfo* pItemInfo = pBitmapMenu->FindItemInfo(mii.dwItemData)) {
            pItemInfo->SetText(lpszText != nullptr ? lpszText : "");
            return;
        }
    }
    CCmdUI::SetText(lpszText);
}

// ---------------------------------------------------------------------------
// The checker brush

HBRUSH PASCAL COXBitmapMenu::CreateCheckerBrush(COLORREF crColor1, COLORREF crColor2) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[2];
    } info = {};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = 8;
    info.header.biHeight = 8;
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    info.header.biCompression = BI_RGB;
    info.colors[0] = {GetBValue(crColor1), GetGValue(crColor1), GetRValue(crColor1), 0};
    info.colors[1] = {GetBValue(crColor2), GetGValue(crColor2), GetRValue(crColor2), 0};
    // Rows are padded to 32 bits; each alternates the colours pixel by pixel.
    DWORD rows[8];
    for (int y = 0; y < 8; ++y)
        rows[y] = (y % 2 == 0) ? 0xAA : 0x55;

    HDC hScreen = ::GetDC(nullptr);
    if (hScreen == nullptr)
        return nullptr;
    HBITMAP hBitmap = ::CreateDIBitmap(hScreen, &info.header, CBM_INIT, rows,
                                       reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, hScreen);
    if (hBitmap == nullptr)
        return nullptr;
    HBRUSH hBrush = ::CreatePatternBrush(hBitmap);
    ::DeleteObject(hBitmap);
    return hBrush;
}
