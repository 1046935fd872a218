// OXBitmapMenuOrganizer.cpp: construction and destruction of
// COXBitmapMenuOrganizer and its image tables (toolbar images, icons and the
// default check and bullet images).
//
// Image-list table keys: "1", "2", ... for the copies of the toolbars' lists in
// the order of the frame's control bars; 0x7F, the icon handle in decimal, 0x7F
// for an icon; 0x7F, the command (or 4294967295 for submenus) in decimal, 0x80
// for the default list entered for a command without an image.
#include "OXBitmapMenuOrganizer.h"

#include "OXBitmapMenu.h"

#include "Common/TraceLog.h"

#include "framework/FrameWnd.h"
#include "framework/ToolBar.h"

#include <commctrl.h>

IMPLEMENT_DYNAMIC(COXBitmapMenuOrganizer, CObject)

namespace {

// Hash size of the image tables: a menu has a few dozen commands.
const UINT kImageTableHashSize = 10;
// Block size of the list of bitmap menus.
const INT_PTR kMenuListBlockSize = 10;

// White is the background the platform draws its menu symbols on.
const COLORREF kSymbolBackground = RGB(255, 255, 255);

} // namespace

COXBitmapMenuOrganizer::COXBitmapMenuOrganizer()
    : m_pFrameWnd(nullptr), m_hFrameWnd(nullptr), m_pfnOldWndProc(nullptr),
      m_bCustomizationMode(FALSE), m_hWndCustomizationNotify(nullptr),
      m_listBitmapMenus(kMenuListBlockSize), m_bShortenedMenus(TRUE), m_bWindowMenuLoop(FALSE),
      m_nTracedPopups(0), m_pPendingMenu(nullptr), m_bExpanded(FALSE) {
    m_mapImageLists.InitHashTable(kImageTableHashSize);
    m_mapImageInfos.InitHashTable(kImageTableHashSize);

    // The default images take the size of the platform's menu check mark, drawn
    // by the platform itself into monochrome bitmaps.
    HDC hScreenDC = ::GetDC(nullptr);
    HDC hMemDC = ::CreateCompatibleDC(hScreenDC);
    POINT size = {::GetSystemMetrics(SM_CXMENUCHECK), ::GetSystemMetrics(SM_CYMENUCHECK)};
    ::DPtoLP(hMemDC, &size, 1);
    if (hMemDC != nullptr && m_defaultImageList.Create(size.x, size.y, ILC_MASK, 2, 0)) {
        const UINT symbols[] = {DFCS_MENUCHECK, DFCS_MENUBULLET};
        for (UINT nSymbol : symbols) {
            HBITMAP hBitmap = ::CreateCompatibleBitmap(hMemDC, size.x, size.y);
            if (hBitmap == nullptr)
                break;
            HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
            RECT rect = {0, 0, size.x, size.y};
            ::DrawFrameControl(hMemDC, &rect, DFC_MENU, nSymbol);
            ::SelectObject(hMemDC, hOld);
            ::ImageList_AddMasked(m_defaultImageList.GetSafeHandle(), hBitmap, kSymbolBackground);
            ::DeleteObject(hBitmap);
        }
    } else {
        KWTRACE_ERROR(("COXBitmapMenuOrganizer::COXBitmapMenuOrganizer: the default image list "
                       "could not be made\n"));
    }
    if (hMemDC != nullptr)
        ::DeleteDC(hMemDC);
    ::ReleaseDC(nullptr, hScreenDC);
}

// Menus restored first, with their texts: a menu that outlives the organizer (a
// document template's shared menu) must keep no item data that points into the
// records deleted here. The frame is unsubclassed before the tables go, so no
// message reaches a half-destroyed organizer.
COXBitmapMenuOrganizer::~COXBitmapMenuOrganizer() {
    RestoreAllBitmapMenus(FALSE);
    delete m_pPendingMenu;
    m_pPendingMenu = nullptr;
    UnsubclassFrame();
    ClearImageTables();
    POSITION pos = m_mapSavedItems.GetStartPosition();
    while (pos != nullptr) {
        COXBitmapMenu* pMenu = nullptr;
        COXArrSavedMenuItem* pSaved = nullptr;
        m_mapSavedItems.GetNextAssoc(pos, pMenu, pSaved);
        delete pSaved;
    }
    m_mapSavedItems.RemoveAll();
    for (INT_PTR i = m_arrCreatedMenus.GetUpperBound(); i >= 0; --i)
        ::DestroyMenu(m_arrCreatedMenus[i]);
    m_arrCreatedMenus.RemoveAll();
}

void COXBitmapMenuOrganizer::RestoreAllBitmapMenus(BOOL bTraceEach) {
    // A copy of the list: each restore takes its menu out of the list.
    CArray<COXBitmapMenu*, COXBitmapMenu*> menus;
    POSITION pos = m_listBitmapMenus.GetHeadPosition();
    while (pos != nullptr)
        menus.Add(m_listBitmapMenus.GetNext(pos));
    for (COXBitmapMenu* pMenu : menus) {
        if (bTraceEach)
            KWTRACE(("\n %x menu should be removed by RestoreBitmapMenu",
                     static_cast<unsigned>(reinterpret_cast<UINT_PTR>(pMenu))));
        RestoreBitmapMenu(pMenu, TRUE);
    }
}

void COXBitmapMenuOrganizer::ClearImageTables() {
    // The items point at the records: they go back to plain items first.
    RestoreAllBitmapMenus(FALSE);
    POSITION pos = m_mapImageLists.GetStartPosition();
    while (pos != nullptr) {
        CString strKey;
        CImageList* pImageList = nullptr;
        m_mapImageLists.GetNextAssoc(pos, strKey, pImageList);
        if (pImageList != &m_defaultImageList)
            delete pImageList;
    }
    m_mapImageLists.RemoveAll();
    pos = m_mapImageInfos.GetStartPosition();
    while (pos != nullptr) {
        UINT nKey = 0;
        COXImageInfo* pImageInfo = nullptr;
        m_mapImageInfos.GetNextAssoc(pos, nKey, pImageInfo);
        delete pImageInfo;
    }
    m_mapImageInfos.RemoveAll();
}

COXImageInfo* COXBitmapMenuOrganizer::GetImageInfo(UINT nKey) {
    COXImageInfo* pImageInfo = nullptr;
    if (m_mapImageInfos.Lookup(nKey, pImageInfo))
        return pImageInfo;
    CString strKey;
    strKey.Format("\x7F%u\x80", nKey);
    m_mapImageLists.SetAt(strKey, &m_defaultImageList);
    pImageInfo = new COXImageInfo(&m_defaultImageList, 0, TRUE, -1);
    m_mapImageInfos.SetAt(nKey, pImageInfo);
    return pImageInfo;
}

BOOL COXBitmapMenuOrganizer::AutoSetMenuImage() {
    if (m_pFrameWnd == nullptr)
        return FALSE;
    ClearImageTables();
    int nToolBar = 0;
    POSITION pos = m_pFrameWnd->m_listControlBars.GetHeadPosition();
    while (pos != nullptr) {
        CObject* pBar = static_cast<CObject*>(m_pFrameWnd->m_listControlBars.GetNext(pos));
        CToolBar* pToolBar = DYNAMIC_DOWNCAST(CToolBar, pBar);
        if (pToolBar == nullptr || !::IsWindow(pToolBar->GetSafeHwnd()))
            continue;
        const HWND hToolBar = pToolBar->GetSafeHwnd();
        const HIMAGELIST hNormal =
            reinterpret_cast<HIMAGELIST>(::SendMessageA(hToolBar, TB_GETIMAGELIST, 0, 0));
        if (hNormal == nullptr)
            continue;
        const HIMAGELIST hHot =
            reinterpret_cast<HIMAGELIST>(::SendMessageA(hToolBar, TB_GETHOTIMAGELIST, 0, 0));
        CImageList* pImageList = new CImageList;
        if (!pImageList->Attach(::ImageList_Duplicate(hNormal))) {
            KWTRACE_ERROR(("COXBitmapMenuOrganizer::AutoSetMenuImage: the image list of a "
                           "toolbar could not be copied\n"));
            delete pImageList;
            continue;
        }
        // Hot images follow the normal ones in the one list.
        const int nNormalImages = ::ImageList_GetImageCount(hNormal);
        const int nHotImages = hHot != nullptr ? ::ImageList_GetImageCount(hHot) : 0;
        for (int i = 0; i < nHotImages; ++i) {
            HICON hIcon = ::ImageList_GetIcon(hHot, i, ILD_NORMAL);
            if (hIcon == nullptr)
                continue;
            pImageList->Add(hIcon);
            ::DestroyIcon(hIcon);
        }
        CString strKey;
        strKey.Format("%i", ++nToolBar);
        m_mapImageLists.SetAt(strKey, pImageList);

        const int nButtons = static_cast<int>(::SendMessageA(hToolBar, TB_BUTTONCOUNT, 0, 0));
        for (int i = 0; i < nButtons; ++i) {
            TBBUTTON button = {};
            if (!::SendMessageA(hToolBar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)) ||
                (button.fsStyle & TBSTYLE_SEP) != 0)
                continue;
            const UINT nCmdID = static_cast<UINT>(button.idCommand);
            const int nHotIndex = nHotImages > 0 ? button.iBitmap + nNormalImages : -1;
            COXImageInfo* pImageInfo = nullptr;
            if (m_mapImageInfos.Lookup(nCmdID, pImageInfo)) {
                pImageInfo->SetImageList(pImageList);
                pImageInfo->SetIndex(button.iBitmap);
                pImageInfo->SetHotIndex(nHotIndex);
                pImageInfo->SetDefaultImage(FALSE);
            } else {
                m_mapImageInfos.SetAt(
                    nCmdID, new COXImageInfo(pImageList, button.iBitmap, FALSE, nHotIndex));
            }
        }
    }
    return TRUE;
}

BOOL COXBitmapMenuOrganizer::SetMenuIcon(UINT nCommandID, HICON hIcon, int cx, int cy) {
    if (m_pFrameWnd == nullptr)
        return FALSE;
    CString strKey;
    strKey.Format("\x7F%llu\x7F",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hIcon)));
    // One list per icon, however many commands show it.
    CImageList* pImageList = nullptr;
    if (m_mapImageLists.Lookup(strKey, pImageList)) {
        pImageList->DeleteImageList();
    } else {
        pImageList = new CImageList;
        m_mapImageLists.SetAt(strKey, pImageList);
    }
    if (!pImageList->Create(cx, cy, ILC_COLOR24 | ILC_MASK, 0, 0) || pImageList->Add(hIcon) < 0) {
        KWTRACE_ERROR(("COXBitmapMenuOrganizer::SetMenuIcon: the icon of command %u could not be "
                       "added\n",
                       nCommandID));
        return FALSE;
    }
    // The list holds this one image: a record taken over from a toolbar or from
    // the default list points at it, not at its old index.
    COXImageInfo* pImageInfo = nullptr;
    if (m_mapImageInfos.Lookup(nCommandID, pImageInfo)) {
        pImageInfo->SetImageList(pImageList);
        pImageInfo->SetIndex(0);
        pImageInfo->SetHotIndex(-1);
        pImageInfo->SetDefaultImage(FALSE);
    } else {
        m_mapImageInfos.SetAt(nCommandID, new COXImageInfo(pImageList, 0, FALSE, -1));
    }
    return TRUE;
}
