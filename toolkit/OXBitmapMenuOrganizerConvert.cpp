// OXBitmapMenuOrganizerConvert.cpp: how COXBitmapMenuOrganizer turns a popup
// into an owner-drawn COXBitmapMenu and back, shortens it, and answers the
// measuring and mnemonic messages of its items.
//
// A converted item keeps its place, command and submenu; it becomes
// MFT_OWNERDRAW with a COXItemInfo (its image record and its text) as item data.
// Restoring with texts makes it a plain string item with that text and no item
// data again. Items left out of a shortened menu are deleted from it and kept as
// OXSAVEDMENUITEM records; a submenu of such an item is kept as a copy, since
// deleting the item destroys the original.
#include "OXBitmapMenuOrganizer.h"

#include "OXBitmapMenu.h"

#include "Common/TraceLog.h"

#include "framework/FrameWnd.h"
#include "framework/Menu.h"

namespace {

// Longest item text read for a copy of a submenu.
const int kMaxCopiedText = 300;
// Deepest submenu copied or searched: menus nest a few levels.
const int kMaxMenuDepth = 16;
// Image-record key of items that open a submenu.
const UINT kSubmenuImageKey = 0xFFFFFFFF;

// What the conversion reads of each item and a saved item gives back.
const UINT kItemInfoMask =
    MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_FTYPE | MIIM_DATA;

MENUITEMINFO ReadItem(HMENU hMenu, int nPos) {
    MENUITEMINFO miInfo = {};
    miInfo.cbSize = sizeof(miInfo);
    miInfo.fMask = kItemInfoMask;
    if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(nPos), TRUE, &miInfo))
        miInfo.fMask = 0;
    return miInfo;
}

BOOL IsSeparator(const MENUITEMINFO& miInfo) {
    return (miInfo.fType & MFT_SEPARATOR) != 0;
}

// Inserts a plain item (a string item unless it is a separator) at nPos.
BOOL InsertPlainItem(HMENU hMenu, int nPos, MENUITEMINFO miInfo, const CString& strText) {
    miInfo.cbSize = sizeof(miInfo);
    miInfo.fMask = kItemInfoMask;
    miInfo.fType &= ~MFT_OWNERDRAW;
    miInfo.dwItemData = 0;
    if (!IsSeparator(miInfo)) {
        miInfo.fMask |= MIIM_STRING;
        miInfo.dwTypeData = const_cast<LPSTR>(strText.GetString());
    }
    return ::InsertMenuItemA(hMenu, static_cast<UINT>(nPos), TRUE, &miInfo);
}

// The character after the first '&' that is not one of a "&&" pair (which shows
// a plain '&'), 0 when there is none.
TCHAR MnemonicOf(const CString& strText) {
    const int nLength = strText.GetLength();
    for (int i = 0; i + 1 < nLength; ++i) {
        if (strText[i] != '&')
            continue;
        if (strText[i + 1] != '&')
            return strText[i + 1];
        ++i;
    }
    return 0;
}

// The permanent wrapper of the menu that holds item nID (an item that opens a
// submenu is known by the submenu's handle), searched depth first; null when
// none holds it.
CMenu* FindPermanentMenuOfItem(HMENU hMenu, UINT nID, int nDepth) {
    if (hMenu == nullptr || nDepth > kMaxMenuDepth)
        return nullptr;
    const int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        HMENU hSub = ::GetSubMenu(hMenu, i);
        const bool bHolds = hSub != nullptr
                                ? static_cast<UINT>(reinterpret_cast<UINT_PTR>(hSub)) == nID
                                : ::GetMenuItemID(hMenu, i) == nID;
        if (bHolds)
            if (CMenu* pMenu = CMenu::FromHandlePermanent(hMenu))
                return pMenu;
        if (hSub != nullptr)
            if (CMenu* pFound = FindPermanentMenuOfItem(hSub, nID, nDepth + 1))
                return pFound;
    }
    return nullptr;
}

} // namespace

// ---------------------------------------------------------------------------
// Messages

void COXBitmapMenuOrganizer::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
    if (pPopupMenu == nullptr || !::IsMenu(pPopupMenu->GetSafeHmenu()))
        return;
    const HMENU hMenu = pPopupMenu->GetSafeHmenu();
    CMenu* pOwner = CMenu::FromHandlePermanent(hMenu);
    COXBitmapMenu* pBitmapMenu = dynamic_cast<COXBitmapMenu*>(pOwner);
    BOOL bNewMenu = FALSE;
    if (pBitmapMenu == nullptr) {
        // The bitmap menu takes the popup over from its plain wrapper.
        if (pOwner != nullptr)
            pOwner->Detach();
        pBitmapMenu = new COXBitmapMenu;
        if (!pBitmapMenu->Attach(hMenu)) {
            KWTRACE_ERROR(("COXBitmapMenuOrganizer::OnInitMenuPopup: the popup could not be "
                           "taken over\n"));
            delete pBitmapMenu;
            return;
        }
        m_listBitmapMenus.AddTail(pBitmapMenu);
        bNewMenu = TRUE;
    }
    if (m_pFrameWnd != nullptr)
        COXBitmapMenu::UpdateMenuCmdUI(pBitmapMenu, m_pFrameWnd, nIndex, bSysMenu);
    ConvertBitmapMenu(pBitmapMenu, bNewMenu);
    pBitmapMenu->SetCustomizationMode(m_bCustomizationMode, m_hWndCustomizationNotify);
}

LRESULT COXBitmapMenuOrganizer::OnMenuChar(UINT nChar, UINT /*nFlags*/, CMenu* pMenu) {
    COXBitmapMenu* pBitmapMenu =
        pMenu != nullptr
            ? dynamic_cast<COXBitmapMenu*>(CMenu::FromHandlePermanent(pMenu->GetSafeHmenu()))
            : nullptr;
    int nPos = 0;
    if (pBitmapMenu == nullptr ||
        !pBitmapMenu->GetMnemonicTable().Lookup(static_cast<TCHAR>(nChar), nPos))
        return 0;
    return MAKELRESULT(nPos, MNC_EXECUTE);
}

BOOL COXBitmapMenuOrganizer::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    if (lpMeasureItemStruct == nullptr)
        return FALSE;
    if (lpMeasureItemStruct->CtlType != ODT_MENU) {
        CWnd* pChild = m_pFrameWnd != nullptr
                           ? m_pFrameWnd->GetDescendantWindow(
                                 static_cast<int>(lpMeasureItemStruct->CtlID), TRUE)
                           : nullptr;
        if (pChild != nullptr)
            pChild->OnChildNotify(WM_MEASUREITEM, static_cast<WPARAM>(nIDCtl),
                                  reinterpret_cast<LPARAM>(lpMeasureItemStruct), nullptr);
        return TRUE;
    }
    const HMENU hSearch = CMenu::GetTrackingWindow() == m_hFrameWnd ? CMenu::GetTrackingMenu()
                                                                    : ::GetMenu(m_hFrameWnd);
    CMenu* pMenu = FindPermanentMenuOfItem(hSearch, lpMeasureItemStruct->itemID, 0);
    if (pMenu == nullptr && m_nTracedPopups > 0 && !m_arrPopupTrace.IsEmpty()) {
        INT_PTR nLast = m_nTracedPopups - 1;
        if (nLast > m_arrPopupTrace.GetUpperBound())
            nLast = m_arrPopupTrace.GetUpperBound();
        pMenu = CMenu::FromHandlePermanent(m_arrPopupTrace[nLast].hPopupMenu);
    }
    if (pMenu == nullptr)
        return FALSE;
    pMenu->MeasureItem(lpMeasureItemStruct);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Conversion

CString COXBitmapMenuOrganizer::GetItemText(HMENU hMenu, int nPos,
                                            const MENUITEMINFO& miInfo) const {
    // An owner-drawn item has no menu string: its text is in its record, when
    // the item is one of ours.
    if ((miInfo.fType & MFT_OWNERDRAW) != 0 && miInfo.dwItemData != 0) {
        COXBitmapMenu* pBitmapMenu =
            dynamic_cast<COXBitmapMenu*>(CMenu::FromHandlePermanent(hMenu));
        if (pBitmapMenu != nullptr && m_listBitmapMenus.Find(pBitmapMenu) != nullptr)
            return reinterpret_cast<COXItemInfo*>(miInfo.dwItemData)->GetText();
        return CString();
    }
    CString strText;
    CMenuHandle(hMenu).GetMenuString(static_cast<UINT>(nPos), strText, MF_BYPOSITION);
    return strText;
}

HMENU COXBitmapMenuOrganizer::CopySubmenu(HMENU hSubmenu, int nDepth) {
    HMENU hCopy = ::CreatePopupMenu();
    if (hCopy == nullptr)
        return nullptr;
    const int nCount = ::GetMenuItemCount(hSubmenu);
    for (int i = 0; i < nCount; ++i) {
        MENUITEMINFO miInfo = ReadItem(hSubmenu, i);
        if (miInfo.fMask == 0)
            continue;
        CString strText = GetItemText(hSubmenu, i, miInfo);
        if (strText.GetLength() > kMaxCopiedText)
            strText = strText.Left(kMaxCopiedText);
        if (miInfo.hSubMenu != nullptr) {
            HMENU hNested =
                nDepth < kMaxMenuDepth ? CopySubmenu(miInfo.hSubMenu, nDepth + 1) : nullptr;
            if (hNested == nullptr)
                continue;
            miInfo.hSubMenu = hNested;
        }
        if (!InsertPlainItem(hCopy, ::GetMenuItemCount(hCopy), miInfo, strText) &&
            miInfo.hSubMenu != nullptr)
            ::DestroyMenu(miInfo.hSubMenu);
    }
    if (RemoveHiddenSubmenu(hSubmenu))
        AddHiddenSubmenu(hCopy);
    return hCopy;
}

void COXBitmapMenuOrganizer::ForgetCreatedMenu(HMENU hMenu) {
    for (INT_PTR i = 0; i < m_arrCreatedMenus.GetSize(); ++i) {
        if (m_arrCreatedMenus[i] == hMenu) {
            m_arrCreatedMenus.RemoveAt(i);
            return;
        }
    }
}

void COXBitmapMenuOrganizer::ConvertBitmapMenu(COXBitmapMenu* pBitmapMenu, BOOL bNewMenu) {
    if (pBitmapMenu == nullptr || !::IsMenu(pBitmapMenu->GetSafeHmenu()))
        return;
    const HMENU hMenu = pBitmapMenu->GetSafeHmenu();
    const BOOL bShorten = bNewMenu && m_bShortenedMenus && !m_bExpanded && !m_bCustomizationMode;
    // Positions are those of the items as shown: stale ones would execute the
    // wrong item.
    pBitmapMenu->GetMnemonicTable().RemoveAll();

    COXArrSavedMenuItem* pSaved = nullptr;
    BOOL bSuppressSeparator = TRUE;
    BOOL bPreviousSeparator = FALSE;
    int nShownPos = 0;
    const int nCount = ::GetMenuItemCount(hMenu);
    for (int nPos = 0; nPos < nCount; ++nPos) {
        MENUITEMINFO miInfo = ReadItem(hMenu, nPos);
        if (miInfo.fMask == 0)
            continue;
        const BOOL bSeparator = IsSeparator(miInfo);
        const CString strText = GetItemText(hMenu, nPos, miInfo);

        BOOL bHidden = FALSE;
        if (bShorten) {
            if (bSeparator)
                bHidden = bSuppressSeparator;
            else if (miInfo.hSubMenu != nullptr)
                bHidden = IsHiddenSubmenu(miInfo.hSubMenu);
            else
                bHidden = IsHiddenCommand(miInfo.wID);
        }
        // A menu never starts with a separator, nor shows two in a row because
        // the items between them are left out.
        if (!bHidden)
            bSuppressSeparator = FALSE;
        else if (!bSeparator && bPreviousSeparator)
            bSuppressSeparator = TRUE;
        bPreviousSeparator = bSeparator;

        if (bHidden) {
            OXSAVEDMENUITEM item;
            item.nIndex = nPos;
            item.miInfo = miInfo;
            item.sText = strText;
            if (miInfo.hSubMenu != nullptr) {
                item.miInfo.hSubMenu = CopySubmenu(miInfo.hSubMenu, 1);
                if (item.miInfo.hSubMenu != nullptr)
                    m_arrCreatedMenus.Add(item.miInfo.hSubMenu);
            }
            if (pSaved == nullptr)
                pSaved = new COXArrSavedMenuItem;
            pSaved->Add(item);
            continue;
        }

        const UINT nKey = miInfo.hSubMenu != nullptr ? kSubmenuImageKey : miInfo.wID;
        COXImageInfo* pImageInfo = GetImageInfo(nKey);
        COXItemInfo* pItemInfo = reinterpret_cast<COXItemInfo*>(miInfo.dwItemData);
        if (pItemInfo == nullptr || bNewMenu) {
            pItemInfo = new COXItemInfo(pImageInfo, strText);
            pBitmapMenu->AddItemInfo(pItemInfo);
            KWTRACE(("\nCreated COXItemInfo at %x - Line: %d, %s",
                     static_cast<unsigned>(reinterpret_cast<UINT_PTR>(pItemInfo)), __LINE__,
                     __FILE__));
        } else if ((miInfo.fType & MFT_OWNERDRAW) == 0) {
            // A handler made it a string item again to change its text.
            pItemInfo->SetText(strText);
        }
        MENUITEMINFO miSet = {};
        miSet.cbSize = sizeof(miSet);
        miSet.fMask = MIIM_DATA;
        miSet.dwItemData = reinterpret_cast<ULONG_PTR>(pItemInfo);
        if ((miInfo.fType & MFT_OWNERDRAW) == 0) {
            miSet.fMask |= MIIM_FTYPE;
            miSet.fType = miInfo.fType | MFT_OWNERDRAW;
        }
        ::SetMenuItemInfoA(hMenu, static_cast<UINT>(nPos), TRUE, &miSet);

        const TCHAR chMnemonic = MnemonicOf(pItemInfo->GetText());
        if (chMnemonic != 0) {
            char chLower = chMnemonic;
            ::CharLowerBuffA(&chLower, 1);
            pBitmapMenu->GetMnemonicTable().SetAt(chLower, nShownPos);
        }
        ++nShownPos;
    }

    if (bNewMenu && pSaved != nullptr) {
        COXItemInfo* pShowAll = new COXItemInfo(GetImageInfo(ID_OX_SHOWALLITEMS), "");
        pBitmapMenu->AddItemInfo(pShowAll);
        ::AppendMenuA(hMenu, MF_OWNERDRAW, ID_OX_SHOWALLITEMS, reinterpret_cast<LPCSTR>(pShowAll));
        COXArrSavedMenuItem* pOld = nullptr;
        if (m_mapSavedItems.Lookup(pBitmapMenu, pOld))
            delete pOld;
        m_mapSavedItems.SetAt(pBitmapMenu, pSaved);
        // By position, last first, so the earlier positions stay valid.
        for (INT_PTR i = pSaved->GetUpperBound(); i >= 0; --i)
            pBitmapMenu->DeleteMenu(static_cast<UINT>((*pSaved)[i].nIndex), MF_BYPOSITION);
    } else {
        delete pSaved;
    }
    pBitmapMenu->CalcExtents();
}

void COXBitmapMenuOrganizer::RestoreBitmapMenu(COXBitmapMenu* pBitmapMenu, BOOL bRestoreTexts) {
    if (pBitmapMenu == nullptr)
        return;
    POSITION pos = m_listBitmapMenus.Find(pBitmapMenu);
    if (pos != nullptr) {
        KWTRACE(("\nRemoving bitmapmenu at %x - Line: %d, %s",
                 static_cast<unsigned>(reinterpret_cast<UINT_PTR>(pBitmapMenu)), __LINE__,
                 __FILE__));
        m_listBitmapMenus.RemoveAt(pos);
    }
    const HMENU hMenu = pBitmapMenu->GetSafeHmenu();
    const BOOL bValid = hMenu != nullptr && ::IsMenu(hMenu);
    BOOL bHadShowAll = FALSE;
    if (bValid) {
        const int nCount = ::GetMenuItemCount(hMenu);
        if (nCount > 0 && ::GetMenuItemID(hMenu, nCount - 1) == ID_OX_SHOWALLITEMS) {
            pBitmapMenu->DeleteMenu(static_cast<UINT>(nCount - 1), MF_BYPOSITION);
            bHadShowAll = TRUE;
        }
        if (bRestoreTexts) {
            const int nItems = ::GetMenuItemCount(hMenu);
            for (int i = 0; i < nItems; ++i) {
                MENUITEMINFO miInfo = ReadItem(hMenu, i);
                if ((miInfo.fType & MFT_OWNERDRAW) == 0 || miInfo.dwItemData == 0)
                    continue;
                const CString strText =
                    reinterpret_cast<COXItemInfo*>(miInfo.dwItemData)->GetText();
                MENUITEMINFO miSet = {};
                miSet.cbSize = sizeof(miSet);
                miSet.fMask = MIIM_FTYPE | MIIM_DATA;
                miSet.fType = miInfo.fType & ~MFT_OWNERDRAW;
                miSet.dwItemData = 0;
                if (!IsSeparator(miInfo)) {
                    miSet.fMask |= MIIM_STRING;
                    miSet.dwTypeData = const_cast<LPSTR>(strText.GetString());
                }
                ::SetMenuItemInfoA(hMenu, static_cast<UINT>(i), TRUE, &miSet);
            }
        }
    }
    COXArrSavedMenuItem* pSaved = nullptr;
    if (m_mapSavedItems.Lookup(pBitmapMenu, pSaved)) {
        if (bValid) {
            for (const OXSAVEDMENUITEM& item : *pSaved) {
                if (InsertPlainItem(hMenu, item.nIndex, item.miInfo, item.sText) &&
                    item.miInfo.hSubMenu != nullptr)
                    ForgetCreatedMenu(item.miInfo.hSubMenu);
            }
        }
        m_mapSavedItems.RemoveKey(pBitmapMenu);
        delete pSaved;
    }
    pBitmapMenu->Detach();
    // A menu that had the show-all entry, or whose popup is being tracked right
    // now, may still be in use further up the stack (its own drop from a bar
    // button): its object lives until the next such restore.
    if (bHadShowAll || (hMenu != nullptr && hMenu == CMenu::GetTrackingMenu())) {
        delete m_pPendingMenu;
        m_pPendingMenu = pBitmapMenu;
    } else {
        delete pBitmapMenu;
    }
}
