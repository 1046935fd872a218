// OXBitmapMenuOrganizerState.cpp: the record of rarely used commands and
// submenus of COXBitmapMenuOrganizer, its archive form and its place in the
// profile.
//
// The record of rarely used submenus lives in the profile as "RUContents" (the
// archive bytes) and "RUItemsDataSize" (their count). Layout, framework archive:
//   entry count (32-bit);
//   per entry: the positions (32-bit each, outermost first) that lead from the
//   root menu to the submenu, then -1.
// The profile comes from outside the program, so loading trusts none of it: the
// stored size must match the value, every count and path is bounded by the bytes
// there are (reading past them raises the archive's end-of-file exception, which
// is caught here), paths by OX_RUSUBMENU_MAXDEPTH, and data that does not parse
// leaves the record as it was.
#include "OXBitmapMenuOrganizer.h"

#include "Common/TraceLog.h"

#include "framework/Archive.h"
#include "framework/File.h"
#include "framework/WinApp.h"

#include <vector>

namespace {

// Deepest submenu a path may lead to: menus nest a few levels, so a longer path
// is damaged data.
const int kMaxPathDepth = 16;
// Growth of the memory file and buffer of the archive the record is written with.
const UINT kMemFileGrowth = 1024;
const int kArchiveBuffer = 4096;

const char kSectionSuffix[] = "_RecentlyUsedSubmenuItems";
const char kEntryContents[] = "RUContents";
const char kEntrySize[] = "RUItemsDataSize";

// The positions that lead from hMenu down to hTarget, outermost first; false
// when hTarget is not among its submenus.
bool FindSubmenuPath(HMENU hMenu, HMENU hTarget, std::vector<int>& path) {
    if (static_cast<int>(path.size()) >= kMaxPathDepth)
        return false;
    const int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        HMENU hSub = ::GetSubMenu(hMenu, i);
        if (hSub == nullptr)
            continue;
        path.push_back(i);
        if (hSub == hTarget || FindSubmenuPath(hSub, hTarget, path))
            return true;
        path.pop_back();
    }
    return false;
}

// The submenu the positions lead to from hRootMenu, null when a step is missing.
HMENU FollowSubmenuPath(HMENU hRootMenu, const std::vector<int>& path) {
    HMENU hMenu = hRootMenu;
    for (int nPos : path) {
        if (hMenu == nullptr || nPos < 0 || nPos >= ::GetMenuItemCount(hMenu))
            return nullptr;
        hMenu = ::GetSubMenu(hMenu, nPos);
    }
    return hMenu;
}

CString SectionOf(LPCTSTR lpszSection) {
    CString strSection(lpszSection);
    strSection += kSectionSuffix;
    return strSection;
}

} // namespace

void COXBitmapMenuOrganizer::SetShortenedMenus(BOOL bShortenedMenus) {
    m_bShortenedMenus = bShortenedMenus;
}

BOOL COXBitmapMenuOrganizer::AddHiddenCommand(UINT nCmdID) {
    int nValue = 0;
    if (nCmdID == 0 || m_mapHiddenCommands.Lookup(static_cast<int>(nCmdID), nValue))
        return FALSE;
    m_mapHiddenCommands.SetAt(static_cast<int>(nCmdID), 1);
    return TRUE;
}

BOOL COXBitmapMenuOrganizer::AddHiddenSubmenu(HMENU hSubmenu) {
    int nValue = 0;
    if (hSubmenu == nullptr || m_mapHiddenSubmenus.Lookup(hSubmenu, nValue))
        return FALSE;
    m_mapHiddenSubmenus.SetAt(hSubmenu, 1);
    return TRUE;
}

BOOL COXBitmapMenuOrganizer::IsHiddenCommand(UINT nCmdID) const {
    int nValue = 0;
    return nCmdID != 0 && m_mapHiddenCommands.Lookup(static_cast<int>(nCmdID), nValue);
}

BOOL COXBitmapMenuOrganizer::IsHiddenSubmenu(HMENU hSubmenu) const {
    int nValue = 0;
    return hSubmenu != nullptr && m_mapHiddenSubmenus.Lookup(hSubmenu, nValue);
}

BOOL COXBitmapMenuOrganizer::RemoveHiddenCommand(UINT nCmdID) {
    return m_mapHiddenCommands.RemoveKey(static_cast<int>(nCmdID));
}

BOOL COXBitmapMenuOrganizer::RemoveHiddenSubmenu(HMENU hSubmenu) {
    return m_mapHiddenSubmenus.RemoveKey(hSubmenu);
}

void COXBitmapMenuOrganizer::SaveHiddenCommands(CArchive& ar) {
    ar << static_cast<int>(m_mapHiddenCommands.GetCount());
    POSITION pos = m_mapHiddenCommands.GetStartPosition();
    while (pos != nullptr) {
        int nCmdID = 0, nValue = 0;
        m_mapHiddenCommands.GetNextAssoc(pos, nCmdID, nValue);
        ar << nCmdID;
    }
}

void COXBitmapMenuOrganizer::LoadHiddenCommands(CArchive& ar) {
    m_mapHiddenCommands.RemoveAll();
    int nCount = 0;
    ar >> nCount;
    for (int i = 0; i < nCount; ++i) {
        int nCmdID = 0;
        ar >> nCmdID;
        AddHiddenCommand(static_cast<UINT>(nCmdID));
    }
}

BOOL COXBitmapMenuOrganizer::SaveRUSubmenusContents(HMENU hRootMenu, CArchive& ar) {
    ar << static_cast<int>(m_mapHiddenSubmenus.GetCount());
    POSITION pos = m_mapHiddenSubmenus.GetStartPosition();
    while (pos != nullptr) {
        HMENU hSubmenu = nullptr;
        int nValue = 0;
        m_mapHiddenSubmenus.GetNextAssoc(pos, hSubmenu, nValue);
        // A submenu that is gone, or not under this root, keeps its place in
        // the count with an empty path, which loading skips.
        std::vector<int> path;
        if (hRootMenu != nullptr && ::IsMenu(hSubmenu))
            FindSubmenuPath(hRootMenu, hSubmenu, path);
        for (int nPos : path)
            ar << nPos;
        ar << -1;
    }
    return TRUE;
}

BOOL COXBitmapMenuOrganizer::LoadRUSubmenusContents(HMENU hRootMenu, CArchive& ar) {
    // Parsed aside: only a record read to its end replaces the set.
    std::vector<HMENU> found;
    try {
        int nCount = 0;
        ar >> nCount;
        if (nCount < 0) {
            KWTRACE_ERROR(("COXBitmapMenuOrganizer::LoadRUSubmenusContents: negative count "
                           "%d\n",
                           nCount));
            return FALSE;
        }
        // Each entry takes at least its end mark, so a count larger than the data
        // ends in the archive's end-of-file exception.
        for (int i = 0; i < nCount; ++i) {
            std::vector<int> path;
            for (;;) {
                int nPos = 0;
                ar >> nPos;
                if (nPos == -1)
                    break;
                if (static_cast<int>(path.size()) >= kMaxPathDepth) {
                    KWTRACE_ERROR(("COXBitmapMenuOrganizer::LoadRUSubmenusContents: path "
                                   "deeper than %d\n",
                                   kMaxPathDepth));
                    return FALSE;
                }
                path.push_back(nPos);
            }
            if (path.empty())
                continue;
            HMENU hSubmenu = FollowSubmenuPath(hRootMenu, path);
            if (hSubmenu == nullptr) {
                KWTRACE_ERROR((
                    "COXBitmapMenuOrganizer::LoadRUSubmenusContents: failed to load RU submenu\n"));
                continue;
            }
            found.push_back(hSubmenu);
        }
    } catch (CException* e) {
        e->Delete();
        KWTRACE_ERROR(("COXBitmapMenuOrganizer::LoadRUSubmenusContents: the record ends "
                       "before its last entry\n"));
        return FALSE;
    }
    m_mapHiddenSubmenus.RemoveAll();
    for (HMENU hSubmenu : found)
        AddHiddenSubmenu(hSubmenu);
    return TRUE;
}

BOOL COXBitmapMenuOrganizer::SaveRUSubmenusState(HMENU hRootMenu, LPCTSTR lpszSection) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr || lpszSection == nullptr)
        return FALSE;
    const CString strSection = SectionOf(lpszSection);
    CMemFile file(kMemFileGrowth);
    try {
        CArchive ar(&file, CArchive::store, kArchiveBuffer);
        SaveRUSubmenusContents(hRootMenu, ar);
        ar.Close();
    } catch (CException* e) {
        e->Delete();
        KWTRACE_ERROR(("COXBitmapMenuOrganizer::SaveRUSubmenusState: the record could not be "
                       "written\n"));
        return FALSE;
    }
    const UINT nBytes = static_cast<UINT>(file.GetLength());
    BYTE* pData = file.Detach();
    BOOL bOk = pApp->WriteProfileBinary(strSection, kEntryContents, pData, nBytes) &&
               pApp->WriteProfileInt(strSection, kEntrySize, static_cast<int>(nBytes));
    free(pData);
    if (!bOk)
        KWTRACE_ERROR(("COXBitmapMenuOrganizer::SaveRUSubmenusState: the profile refused the "
                       "record\n"));
    return bOk;
}

BOOL COXBitmapMenuOrganizer::LoadRUSubmenusState(HMENU hRootMenu, LPCTSTR lpszSection) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr || lpszSection == nullptr)
        return FALSE;
    const CString strSection = SectionOf(lpszSection);
    const UINT nStoredSize = pApp->GetProfileInt(strSection, kEntrySize, -1);
    if (nStoredSize == static_cast<UINT>(-1))
        return TRUE; // nothing recorded: every menu stays whole
    BYTE* pData = nullptr;
    UINT nBytes = 0;
    if (!pApp->GetProfileBinary(strSection, kEntryContents, &pData, &nBytes)) {
        KWTRACE_ERROR(("COXBitmapMenuOrganizer::LoadRUSubmenusState: %s has a size but no "
                       "contents\n",
                       strSection.GetString()));
        return FALSE;
    }
    BOOL bOk = FALSE;
    if (nBytes != nStoredSize) {
        KWTRACE_ERROR(("COXBitmapMenuOrganizer::LoadRUSubmenusState: %s holds %u bytes, not "
                       "the %u recorded\n",
                       strSection.GetString(), nBytes, nStoredSize));
    } else {
        try {
            CMemFile file(pData, nBytes);
            CArchive ar(&file, CArchive::load, kArchiveBuffer);
            bOk = LoadRUSubmenusContents(hRootMenu, ar);
            ar.Close();
        } catch (CException* e) {
            e->Delete();
            KWTRACE_ERROR(("COXBitmapMenuOrganizer::LoadRUSubmenusState: %s could not be "
                           "read\n",
                           strSection.GetString()));
            bOk = FALSE;
        }
    }
    delete[] pData;
    return bOk;
}
