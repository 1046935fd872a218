// OXMenuBarState.cpp: the saved state of a menu as bytes (see the header).
#include "OXMenuBarState.h"

#include "framework/Exception.h"
#include "framework/Menu.h"

namespace {

// Smallest stored item: type, flag and id (4 bytes each) and an empty text
// (a one-byte length).
const UINT kMinItemBytes = 13;

// Item types that mean the same after a reload. Owner-drawn items lose their
// item data and bitmap items their bitmap on the way through the profile, so
// they come back as plain text items; unknown bits are dropped.
const UINT kKeptTypes = MFT_SEPARATOR | MFT_RADIOCHECK | MFT_MENUBREAK | MFT_MENUBARBREAK |
                        MFT_RIGHTJUSTIFY | MFT_RIGHTORDER;

void StoreLevel(CArchive& ar, HMENU hMenu) {
    const int nCount = ::GetMenuItemCount(hMenu);
    ar << (nCount > 0 ? nCount : 0);
    for (int i = 0; i < nCount; ++i) {
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
        if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(i), TRUE, &mii)) {
            mii.fType = MFT_SEPARATOR; // keeps the count true; reloads as a gap
            mii.wID = 0;
            mii.hSubMenu = nullptr;
        }
        char szText[OX_MENUSTATE_MAXTEXT + 1] = "";
        ::GetMenuStringA(hMenu, static_cast<UINT>(i), szText, sizeof(szText), MF_BYPOSITION);
        const int bSubmenu = mii.hSubMenu != nullptr ? 1 : 0;
        ar << static_cast<DWORD>(mii.fType) << bSubmenu
           << (bSubmenu ? -1 : static_cast<int>(mii.wID)) << CString(szText);
        if (bSubmenu)
            StoreLevel(ar, mii.hSubMenu);
    }
}

// Reads levels into new menus, checking everything it reads; the first fault
// ends the load (false).
class CMenuStateReader {
public:
    CMenuStateReader(CArchive& ar, UINT nBytes, OXMENUSTATELOAD& load)
        : m_ar(ar), m_nBytes(nBytes), m_load(load) {}

    bool ReadLevel(HMENU hBuild, int nDepth) {
        if (nDepth > OX_MENUSTATE_MAXDEPTH)
            return false;
        int nCount = 0;
        m_ar >> nCount;
        if (nCount < 0 || static_cast<UINT>(nCount) > m_nBytes / kMinItemBytes)
            return false;
        for (int i = 0; i < nCount; ++i) {
            DWORD dwType = 0;
            int bSubmenu = 0;
            int nID = 0;
            m_ar >> dwType >> bSubmenu >> nID;
            CString strText;
            if (!ReadText(strText))
                return false;
            if (bSubmenu != 0 && bSubmenu != 1)
                return false;
            if (bSubmenu ? nID != -1 : (nID < 0 || nID > 0xFFFF))
                return false;
            if (!bSubmenu && nID == OX_MENUSTATE_FIRST_MDICHILD && m_load.bMDIFrame) {
                // The MDI client puts its own separator before the window list.
                const int nLast = ::GetMenuItemCount(hBuild) - 1;
                if (nLast >= 0 && (::GetMenuState(hBuild, static_cast<UINT>(nLast), MF_BYPOSITION) &
                                   MF_SEPARATOR) != 0)
                    ::DeleteMenu(hBuild, static_cast<UINT>(nLast), MF_BYPOSITION);
                m_load.hWindowMenu = hBuild;
            }
            if (!bSubmenu && nID >= OX_MENUSTATE_FIRST_MDICHILD)
                continue;
            HMENU hSub = nullptr;
            if (bSubmenu) {
                hSub = ::CreatePopupMenu();
                if (hSub == nullptr)
                    return false;
            }
            if (!Append(hBuild, dwType & kKeptTypes, static_cast<UINT>(nID), hSub, strText)) {
                if (hSub != nullptr)
                    ::DestroyMenu(hSub);
                return false;
            }
            if (hSub != nullptr) {
                m_load.arrBuilt.push_back(hSub); // owned by hBuild from here on
                if (!ReadLevel(hSub, nDepth + 1))
                    return false;
            }
        }
        return true;
    }

private:
    bool ReadText(CString& strText) {
        int nCharSize = 1;
        const UINT_PTR nLength = AfxReadStringLength(m_ar, nCharSize);
        if (nLength > OX_MENUSTATE_MAXTEXT || nLength * nCharSize > m_nBytes)
            return false;
        const UINT nRead = static_cast<UINT>(nLength) * static_cast<UINT>(nCharSize);
        if (nCharSize == 1) {
            char szText[OX_MENUSTATE_MAXTEXT + 1] = "";
            if (m_ar.Read(szText, nRead) != nRead)
                return false;
            strText = CString(szText, static_cast<int>(nLength));
        } else {
            WCHAR szWide[OX_MENUSTATE_MAXTEXT + 1] = {};
            if (m_ar.Read(szWide, nRead) != nRead)
                return false;
            strText = CString(szWide, static_cast<int>(nLength));
        }
        return true;
    }

    static bool Append(HMENU hMenu, UINT nType, UINT nID, HMENU hSub, const CString& strText) {
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_ID;
        mii.fType = nType;
        mii.wID = hSub != nullptr ? 0 : nID;
        if (hSub != nullptr) {
            mii.fMask |= MIIM_SUBMENU;
            mii.hSubMenu = hSub;
        }
        if ((nType & MFT_SEPARATOR) == 0) {
            mii.fMask |= MIIM_STRING;
            mii.dwTypeData = const_cast<LPSTR>(strText.GetString());
        }
        const int nCount = ::GetMenuItemCount(hMenu);
        return ::InsertMenuItemA(hMenu, static_cast<UINT>(nCount > 0 ? nCount : 0), TRUE, &mii) !=
               FALSE;
    }

    CArchive& m_ar;
    UINT m_nBytes;
    OXMENUSTATELOAD& m_load;
};

// Moves every item of hFrom (submenus included) to the end of hTo.
bool MoveItems(HMENU hFrom, HMENU hTo) {
    while (::GetMenuItemCount(hFrom) > 0) {
        char szText[OX_MENUSTATE_MAXTEXT + 1] = "";
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        mii.dwTypeData = szText;
        mii.cch = sizeof(szText);
        if (!::GetMenuItemInfoA(hFrom, 0, TRUE, &mii) || !::RemoveMenu(hFrom, 0, MF_BYPOSITION))
            return false;
        if ((mii.fType & MFT_SEPARATOR) != 0)
            mii.fMask &= ~static_cast<UINT>(MIIM_STRING);
        if (mii.hSubMenu == nullptr)
            mii.fMask &= ~static_cast<UINT>(MIIM_SUBMENU);
        const int nCount = ::GetMenuItemCount(hTo);
        if (!::InsertMenuItemA(hTo, static_cast<UINT>(nCount > 0 ? nCount : 0), TRUE, &mii)) {
            if (mii.hSubMenu != nullptr)
                ::DestroyMenu(mii.hSubMenu);
            return false;
        }
    }
    return true;
}

} // namespace

void OXStoreMenuItems(CArchive& ar, HMENU hMenu) {
    StoreLevel(ar, hMenu);
}

bool OXMenuItemsToBytes(HMENU hMenu, std::vector<BYTE>& bytes) {
    bytes.clear();
    try {
        CMemFile file(1024);
        {
            CArchive ar(&file, CArchive::store, 4096);
            OXStoreMenuItems(ar, hMenu);
            ar.Close();
        }
        const UINT nLength = static_cast<UINT>(file.GetLength());
        bytes.resize(nLength);
        file.SeekToBegin();
        if (file.Read(bytes.data(), nLength) != nLength) {
            bytes.clear();
            return false;
        }
    } catch (CException* e) {
        e->Delete();
        bytes.clear();
        return false;
    }
    return true;
}

BOOL OXLoadMenuItems(const BYTE* pData, UINT nBytes, HMENU hMenu, OXMENUSTATELOAD* pLoad) {
    if (pData == nullptr || nBytes == 0 || !::IsMenu(hMenu) || pLoad == nullptr)
        return FALSE;
    OXMENUSTATELOAD load;
    load.bMDIFrame = pLoad->bMDIFrame;
    HMENU hBuild = ::CreateMenu();
    if (hBuild == nullptr)
        return FALSE;
    bool bOk = false;
    try {
        CMemFile file(const_cast<BYTE*>(pData), nBytes);
        CArchive ar(&file, CArchive::load, 4096);
        CMenuStateReader reader(ar, nBytes, load);
        BYTE byExtra = 0;
        // Bytes after the top level mean the value is not what was written.
        bOk = reader.ReadLevel(hBuild, 1) && ar.Read(&byExtra, 1) == 0;
    } catch (CException* e) {
        e->Delete();
        bOk = false;
    }
    if (bOk) {
        // Only now is the shown menu touched: its old items go (their submenus
        // and the wrappers of those with them), the built ones move in.
        CMenuHandle menu(hMenu);
        while (menu.DeleteMenu(0, MF_BYPOSITION)) {
        }
        bOk = MoveItems(hBuild, hMenu);
    }
    ::DestroyMenu(hBuild); // empty on success; else takes the partial build along
    if (!bOk)
        return FALSE;
    pLoad->hWindowMenu = load.hWindowMenu == hBuild ? hMenu : load.hWindowMenu;
    pLoad->arrBuilt = std::move(load.arrBuilt);
    return TRUE;
}
