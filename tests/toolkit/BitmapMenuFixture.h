// BitmapMenuFixture.h: a popup COXBitmapMenu whose items are owner-drawn the
// way the organizer converts them (each with a COXItemInfo pointing at an image
// record), with the image lists and records it needs, for the bitmap-menu and
// menu-skin tests.
//
// Classes: CBitmapMenuFixture.
#pragma once

#include "toolkit/OXBitmapMenu.h"
#include "toolkit/OXMenuSkin.h"

#include "framework/Dc.h"
#include "framework/Gdi.h"
#include "framework/ImageList.h"

#include <windows.h>

#include <memory>

// Colours of the two 16x16 command images (solid squares with a one-pixel
// transparent rim).
const COLORREF kImageColor = RGB(200, 30, 30);
const COLORREF kHotImageColor = RGB(30, 160, 30);
const COLORREF kImageMask = RGB(255, 0, 255);

class CBitmapMenuFixture {
public:
    CBitmapMenuFixture()
        : m_imageOpen(&m_images, 0, FALSE, 1), m_imagePlain(&m_images, 0),
          m_imageDefault(&m_checks, 0, TRUE) {
        MakeImages();
        m_pMenu = std::make_unique<COXBitmapMenu>();
        m_pMenu->CreatePopupMenu();
    }

    // Appends an item (a submenu when hSubmenu is set) and converts it with
    // pImage as its record; null pImage leaves it a plain string item.
    void Add(UINT nID, const char* pszText, COXImageInfo* pImage, HMENU hSubmenu = nullptr) {
        if (hSubmenu != nullptr)
            m_pMenu->AppendMenu(MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(hSubmenu),
                                pszText);
        else
            m_pMenu->AppendMenu(MF_STRING, nID, pszText);
        if (pImage == nullptr)
            return;
        const int nPos = m_pMenu->GetMenuItemCount() - 1;
        COXItemInfo* pItemInfo = new COXItemInfo(pImage, pszText);
        m_pMenu->AddItemInfo(pItemInfo);
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_DATA;
        mii.fType = MFT_OWNERDRAW;
        mii.dwItemData = reinterpret_cast<ULONG_PTR>(pItemInfo);
        ::SetMenuItemInfoA(m_pMenu->m_hMenu, nPos, TRUE, &mii);
    }
    void AddSeparator() {
        m_pMenu->AppendMenu(MF_SEPARATOR);
        const int nPos = m_pMenu->GetMenuItemCount() - 1;
        COXItemInfo* pItemInfo = new COXItemInfo(&m_imageDefault, "");
        m_pMenu->AddItemInfo(pItemInfo);
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_DATA;
        mii.fType = MFT_SEPARATOR | MFT_OWNERDRAW;
        mii.dwItemData = reinterpret_cast<ULONG_PTR>(pItemInfo);
        ::SetMenuItemInfoA(m_pMenu->m_hMenu, nPos, TRUE, &mii);
    }
    // The record of the item at nPos.
    COXItemInfo* InfoAt(int nPos) {
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_DATA;
        ::GetMenuItemInfoA(m_pMenu->m_hMenu, nPos, TRUE, &mii);
        return m_pMenu->FindItemInfo(mii.dwItemData);
    }
    // MeasureItem of the item at nPos, as the platform asks for it.
    MEASUREITEMSTRUCT Measure(int nPos) {
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_FTYPE;
        ::GetMenuItemInfoA(m_pMenu->m_hMenu, nPos, TRUE, &mii);
        MEASUREITEMSTRUCT mis = {};
        mis.CtlType = ODT_MENU;
        mis.itemID = mii.hSubMenu != nullptr
                         ? static_cast<UINT>(reinterpret_cast<UINT_PTR>(mii.hSubMenu))
                         : ((mii.fType & MFT_SEPARATOR) ? 0 : mii.wID);
        mis.itemData = mii.dwItemData;
        m_pMenu->MeasureItem(&mis);
        return mis;
    }
    // DrawItem of the item at nPos into rect of hDC, in the given ODS_ state.
    void Draw(HDC hDC, int nPos, const RECT& rect, UINT nState) {
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_FTYPE;
        ::GetMenuItemInfoA(m_pMenu->m_hMenu, nPos, TRUE, &mii);
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_MENU;
        dis.itemID = mii.hSubMenu != nullptr
                         ? static_cast<UINT>(reinterpret_cast<UINT_PTR>(mii.hSubMenu))
                         : ((mii.fType & MFT_SEPARATOR) ? 0 : mii.wID);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = nState;
        dis.hwndItem = reinterpret_cast<HWND>(m_pMenu->m_hMenu);
        dis.hDC = hDC;
        dis.rcItem = rect;
        dis.itemData = mii.dwItemData;
        m_pMenu->DrawItem(&dis);
    }

    std::unique_ptr<COXBitmapMenu> m_pMenu;
    CImageList m_images;         // image 0 kImageColor, image 1 (hot) kHotImageColor
    CImageList m_checks;         // the check mark, as the organizer's default list has it
    COXImageInfo m_imageOpen;    // an own image with a hot image
    COXImageInfo m_imagePlain;   // an own image
    COXImageInfo m_imageDefault; // no image of its own

private:
    void AddSquare(CImageList& list, int cx, int cy, COLORREF color) {
        HDC hScreen = ::GetDC(nullptr);
        CDC dc;
        dc.Attach(::CreateCompatibleDC(hScreen));
        CBitmap bitmap;
        bitmap.Attach(::CreateCompatibleBitmap(hScreen, cx, cy));
        ::ReleaseDC(nullptr, hScreen);
        HGDIOBJ hOld = ::SelectObject(dc, bitmap.m_hObject);
        dc.FillSolidRect(0, 0, cx, cy, kImageMask);
        dc.FillSolidRect(1, 1, cx - 2, cy - 2, color);
        ::SelectObject(dc, hOld);
        list.Add(&bitmap, kImageMask);
    }
    void MakeImages() {
        m_images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 0);
        AddSquare(m_images, 16, 16, kImageColor);
        AddSquare(m_images, 16, 16, kHotImageColor);
        const int cx = ::GetSystemMetrics(SM_CXMENUCHECK);
        const int cy = ::GetSystemMetrics(SM_CYMENUCHECK);
        m_checks.Create(cx, cy, ILC_COLOR24 | ILC_MASK, 1, 0);
        HDC hScreen = ::GetDC(nullptr);
        CDC dc;
        dc.Attach(::CreateCompatibleDC(hScreen));
        CBitmap bitmap;
        bitmap.Attach(::CreateCompatibleBitmap(hScreen, cx, cy));
        ::ReleaseDC(nullptr, hScreen);
        HGDIOBJ hOld = ::SelectObject(dc, bitmap.m_hObject);
        RECT rect = {0, 0, cx, cy};
        ::DrawFrameControl(dc, &rect, DFC_MENU, DFCS_MENUCHECK);
        ::SelectObject(dc, hOld);
        m_checks.Add(&bitmap, RGB(255, 255, 255));
    }
};
