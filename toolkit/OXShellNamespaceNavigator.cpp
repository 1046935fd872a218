#include "OXShellNamespaceNavigator.h"

#include "Common/TraceLog.h"
#include "framework/Exception.h"
#include "framework/Wnd.h"

#include <string.h>

namespace {

// A context menu's commands are numbered from 1, so an ordinal verb is the id less 1.
const UINT FIRST_MENU_COMMAND = 1;
const UINT LAST_MENU_COMMAND = 0x7FFF;

// Bytes of the terminating item of an identifier list.
const UINT PIDL_TERMINATOR_SIZE = sizeof(USHORT);

// The ANSI text as UTF-16 for the shell. A text that does not fit is refused:
// a path cut at 260 units may name another object.
BOOL AnsiToShellText(LPCSTR lpszText, WCHAR (&wszText)[MAX_PATH]) {
    if (MultiByteToWideChar(CP_ACP, 0, lpszText, -1, wszText, MAX_PATH) != 0)
        return TRUE;
    KWTRACE_ERROR(("COXShellNamespaceNavigator: the text does not fit %d UTF-16 units (%u)\n",
                   MAX_PATH, static_cast<unsigned>(GetLastError())));
    wszText[0] = L'\0';
    return FALSE;
}

} // namespace

COXShellNamespaceNavigator::COXShellNamespaceNavigator()
    : m_pOwnerWnd(nullptr), m_pEnumerator(nullptr), m_bEnumerating(FALSE), m_pEnumFolder(nullptr),
      m_pidlEnumFolder(nullptr), m_pMalloc(nullptr) {
    if (FAILED(SHGetMalloc(&m_pMalloc)) || m_pMalloc == nullptr)
        AfxThrowMemoryException();
}

COXShellNamespaceNavigator::~COXShellNamespaceNavigator() {
    if (m_bEnumerating)
        ReleaseObjectsEnumerator();
    m_pMalloc->Release();
}

HWND COXShellNamespaceNavigator::GetOwnerHwnd() const {
    return m_pOwnerWnd != nullptr ? m_pOwnerWnd->GetSafeHwnd() : nullptr;
}

// ---------------------------------------------------------------------------
// Identifier lists

LPITEMIDLIST COXShellNamespaceNavigator::GetNextItemID(LPCITEMIDLIST pidl) const {
    if (pidl == nullptr || pidl->mkid.cb == 0)
        return nullptr;
    LPITEMIDLIST pidlNext =
        reinterpret_cast<LPITEMIDLIST>(reinterpret_cast<ULONG_PTR>(pidl) + pidl->mkid.cb);
    return pidlNext->mkid.cb != 0 ? pidlNext : nullptr;
}

UINT COXShellNamespaceNavigator::GetPIDLSize(LPCITEMIDLIST pidl) const {
    if (pidl == nullptr)
        return 0;
    UINT cbTotal = PIDL_TERMINATOR_SIZE;
    for (const BYTE* pItem = reinterpret_cast<const BYTE*>(pidl);;) {
        USHORT cb;
        memcpy(&cb, pItem, sizeof cb); // items need not be aligned
        if (cb == 0)
            break;
        cbTotal += cb;
        pItem += cb;
    }
    return cbTotal;
}

LPITEMIDLIST COXShellNamespaceNavigator::CopyPIDL(LPCITEMIDLIST pidl) const {
    if (pidl == nullptr)
        return nullptr;
    const UINT cb = GetPIDLSize(pidl);
    LPITEMIDLIST pidlCopy = static_cast<LPITEMIDLIST>(m_pMalloc->Alloc(cb));
    if (pidlCopy != nullptr)
        memcpy(pidlCopy, pidl, cb);
    return pidlCopy;
}

LPITEMIDLIST COXShellNamespaceNavigator::ConcatenatePIDLs(LPCITEMIDLIST pidlParent,
                                                          LPCITEMIDLIST pidlRelative) const {
    if (pidlParent == nullptr)
        return CopyPIDL(pidlRelative);
    if (pidlRelative == nullptr)
        return CopyPIDL(pidlParent);
    const UINT cbParent = GetPIDLSize(pidlParent) - PIDL_TERMINATOR_SIZE;
    const UINT cbRelative = GetPIDLSize(pidlRelative);
    BYTE* pJoined = static_cast<BYTE*>(m_pMalloc->Alloc(cbParent + cbRelative));
    if (pJoined == nullptr)
        return nullptr;
    memcpy(pJoined, pidlParent, cbParent);
    memcpy(pJoined + cbParent, pidlRelative, cbRelative);
    return reinterpret_cast<LPITEMIDLIST>(pJoined);
}

void COXShellNamespaceNavigator::FreeShellMemory(void* pBlock) const {
    if (pBlock != nullptr)
        m_pMalloc->Free(pBlock);
}

void COXShellNamespaceNavigator::FreeShellObjectInfo(SHELLOBJECTINFO* pInfo) const {
    if (pInfo == nullptr)
        return;
    if (pInfo->pParentFolder != nullptr)
        pInfo->pParentFolder->Release();
    FreeShellMemory(pInfo->pidlRelative);
    FreeShellMemory(pInfo->pidlFull);
    FreeShellMemory(pInfo);
}

BOOL COXShellNamespaceNavigator::GetPIDLFromPath(LPCSTR lpszPath, LPITEMIDLIST* ppidl) const {
    if (ppidl == nullptr)
        return FALSE;
    *ppidl = nullptr;
    if (lpszPath == nullptr || lpszPath[0] == '\0')
        return TRUE; // the desktop, whose list is empty
    WCHAR wszPath[MAX_PATH];
    if (!AnsiToShellText(lpszPath, wszPath))
        return FALSE;
    IShellFolder* pDesktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&pDesktop)) || pDesktop == nullptr)
        return FALSE;
    LPITEMIDLIST pidlParsed = nullptr;
    ULONG cchEaten = 0;
    const HRESULT hr = pDesktop->ParseDisplayName(GetOwnerHwnd(), nullptr, wszPath, &cchEaten,
                                                  &pidlParsed, nullptr);
    pDesktop->Release();
    if (FAILED(hr) || pidlParsed == nullptr)
        return FALSE;
    *ppidl = CopyPIDL(pidlParsed);
    FreeShellMemory(pidlParsed); // the shell's allocation is the same task allocator
    return *ppidl != nullptr;
}

// ---------------------------------------------------------------------------
// Folders

// The tree asks for "" only; any other path that cannot be bound falls back to
// the desktop as callers of this service always had it, and says so in the trace.
IShellFolder* COXShellNamespaceNavigator::GetShellFolderFromPath(LPCSTR lpszPath) const {
    IShellFolder* pDesktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&pDesktop)) || pDesktop == nullptr)
        return nullptr;
    if (lpszPath == nullptr || lpszPath[0] == '\0')
        return pDesktop;
    LPITEMIDLIST pidl = nullptr;
    IShellFolder* pFolder = nullptr;
    if (GetPIDLFromPath(lpszPath, &pidl) && pidl != nullptr)
        pDesktop->BindToObject(pidl, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&pFolder));
    FreeShellMemory(pidl);
    if (pFolder == nullptr) {
        KWTRACE(("COXShellNamespaceNavigator::GetShellFolderFromPath: \"%s\" cannot be bound; "
                 "the desktop folder is returned\n",
                 lpszPath));
        return pDesktop;
    }
    pDesktop->Release();
    return pFolder;
}

IShellFolder* COXShellNamespaceNavigator::GetShellFolder(IShellFolder* pParentFolder,
                                                         LPCITEMIDLIST pidlRelative) const {
    if (pParentFolder == nullptr || pidlRelative == nullptr)
        return nullptr;
    IShellFolder* pFolder = nullptr;
    if (FAILED(pParentFolder->BindToObject(pidlRelative, nullptr, IID_IShellFolder,
                                           reinterpret_cast<void**>(&pFolder))))
        return nullptr;
    return pFolder;
}

HIMAGELIST COXShellNamespaceNavigator::GetSystemImageList(BOOL bSmallIcons) const {
    SHFILEINFOA sfi;
    ZeroMemory(&sfi, sizeof sfi);
    const UINT uFlags = SHGFI_SYSICONINDEX | (bSmallIcons ? SHGFI_SMALLICON : 0);
    return reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("", 0, &sfi, sizeof sfi, uFlags));
}

// ---------------------------------------------------------------------------
// Enumeration

BOOL COXShellNamespaceNavigator::InitObjectsEnumerator(IShellFolder* pFolder,
                                                       LPCITEMIDLIST pidlFolder, DWORD dwFlags) {
    if (m_bEnumerating) {
        KWTRACE_ERROR(("COXShellNamespaceNavigator::InitObjectsEnumerator: folder items enumerator "
                       "has already been initialized.\n"));
        KWTRACE_ERROR(("call COXShellNamespaceNavigator::ReleaseObjectsEnumerator() before.\n"));
        return FALSE;
    }
    if (pFolder == nullptr)
        return FALSE;
    IEnumIDList* pEnumerator = nullptr;
    const HRESULT hr = pFolder->EnumObjects(GetOwnerHwnd(), dwFlags, &pEnumerator);
    if (FAILED(hr)) {
        KWTRACE_ERROR(("COXShellNamespaceNavigator::InitObjectsEnumerator: EnumObjects() failed "
                       "(0x%08x)\n",
                       static_cast<unsigned>(hr)));
        return FALSE;
    }
    // The shell may answer an empty folder without an enumerator: that is an
    // enumeration that ends at once.
    if (pEnumerator != nullptr)
        pEnumerator->Reset();
    m_pEnumerator = pEnumerator;
    m_bEnumerating = TRUE;
    m_pEnumFolder = pFolder;
    m_pidlEnumFolder = pidlFolder;
    return TRUE;
}

SHELLOBJECTINFO* COXShellNamespaceNavigator::GetNextEnumeratedObject(BOOL& bEnd) {
    bEnd = FALSE;
    if (!m_bEnumerating || m_pEnumerator == nullptr) {
        bEnd = TRUE;
        return nullptr;
    }
    LPITEMIDLIST pidlItem = nullptr;
    ULONG nFetched = 0;
    if (m_pEnumerator->Next(1, &pidlItem, &nFetched) != S_OK || pidlItem == nullptr) {
        FreeShellMemory(pidlItem);
        bEnd = TRUE;
        return nullptr;
    }
    LPITEMIDLIST pidlFull = ConcatenatePIDLs(m_pidlEnumFolder, pidlItem);
    SHELLOBJECTINFO* pInfo =
        pidlFull != nullptr ? GetShellObjectInfo(m_pEnumFolder, pidlItem, pidlFull) : nullptr;
    FreeShellMemory(pidlFull); // the record holds its own copy
    FreeShellMemory(pidlItem);
    return pInfo;
}

BOOL COXShellNamespaceNavigator::ReleaseObjectsEnumerator() {
    if (!m_bEnumerating) {
        KWTRACE_ERROR(("COXShellNamespaceNavigator::ReleaseObjectsEnumerator: there is nothing to "
                       "release.\n"));
        return FALSE;
    }
    if (m_pEnumerator != nullptr)
        m_pEnumerator->Release();
    m_pEnumerator = nullptr;
    m_bEnumerating = FALSE;
    m_pEnumFolder = nullptr;
    m_pidlEnumFolder = nullptr;
    return TRUE;
}

SHELLOBJECTINFO* COXShellNamespaceNavigator::GetShellObjectInfo(IShellFolder* pParentFolder,
                                                                LPCITEMIDLIST pidlRelative,
                                                                LPCITEMIDLIST pidlFull) const {
    if (pParentFolder == nullptr || pidlRelative == nullptr || pidlFull == nullptr)
        return nullptr;
    // The name decides first, so an object without one leaves nothing to free.
    const CString strName = GetDisplayName(pParentFolder, pidlRelative);
    if (strName.IsEmpty())
        return nullptr;

    SHELLOBJECTINFO* pInfo =
        static_cast<SHELLOBJECTINFO*>(m_pMalloc->Alloc(sizeof(SHELLOBJECTINFO)));
    if (pInfo == nullptr)
        return nullptr;
    ZeroMemory(pInfo, sizeof *pInfo);
    pInfo->pidlRelative = CopyPIDL(pidlRelative);
    pInfo->pidlFull = CopyPIDL(pidlFull);
    if (pInfo->pidlRelative == nullptr || pInfo->pidlFull == nullptr) {
        FreeShellObjectInfo(pInfo);
        return nullptr;
    }
    pParentFolder->AddRef();
    pInfo->pParentFolder = pParentFolder;

    ULONG dwAttributes = 0xFFFFFFFF;
    LPCITEMIDLIST apidl[1] = {pidlRelative};
    if (FAILED(pParentFolder->GetAttributesOf(1, apidl, &dwAttributes)))
        dwAttributes = 0;
    pInfo->dwAttributes = dwAttributes;
    lstrcpynA(pInfo->szDisplayName, strName, MAX_PATH);

    struct IconQuery {
        UINT uFlags;
        int SHELLOBJECTINFO::*pnIndex;
    };
    static const IconQuery aQueries[] = {
        {0, &SHELLOBJECTINFO::nLargeIcon},
        {SHGFI_OPENICON, &SHELLOBJECTINFO::nLargeOpenIcon},
        {SHGFI_SMALLICON, &SHELLOBJECTINFO::nSmallIcon},
        {SHGFI_SMALLICON | SHGFI_OPENICON, &SHELLOBJECTINFO::nSmallOpenIcon},
    };
    for (const IconQuery& query : aQueries) {
        SHFILEINFOA sfi;
        ZeroMemory(&sfi, sizeof sfi);
        SHGetFileInfoA(reinterpret_cast<LPCSTR>(pInfo->pidlFull), 0, &sfi, sizeof sfi,
                       SHGFI_PIDL | SHGFI_SYSICONINDEX | query.uFlags);
        pInfo->*query.pnIndex = sfi.iIcon;
    }
    return pInfo;
}

CString COXShellNamespaceNavigator::GetDisplayName(IShellFolder* pFolder,
                                                   LPCITEMIDLIST pidlRelative) const {
    if (pFolder == nullptr || pidlRelative == nullptr)
        return CString();
    STRRET strret;
    ZeroMemory(&strret, sizeof strret);
    if (FAILED(pFolder->GetDisplayNameOf(pidlRelative, SHGDN_NORMAL, &strret)))
        return CString();

    char szName[MAX_PATH];
    szName[0] = '\0';
    switch (strret.uType) {
    case STRRET_WSTR:
        if (strret.pOleStr != nullptr) {
            if (WideCharToMultiByte(CP_ACP, 0, strret.pOleStr, -1, szName, MAX_PATH, nullptr,
                                    nullptr) == 0)
                szName[0] = '\0';
            FreeShellMemory(strret.pOleStr); // the shell's string is the caller's to free
        }
        break;
    case STRRET_OFFSET: {
        // The name lies inside the identifier itself; never read past its end.
        const UINT cbList = GetPIDLSize(pidlRelative);
        if (strret.uOffset < cbList) {
            const UINT cbAvailable = cbList - strret.uOffset;
            lstrcpynA(szName, reinterpret_cast<LPCSTR>(pidlRelative) + strret.uOffset,
                      static_cast<int>(cbAvailable < MAX_PATH ? cbAvailable : MAX_PATH));
        }
        break;
    }
    case STRRET_CSTR:
        lstrcpynA(szName, strret.cStr, MAX_PATH);
        break;
    default:
        break;
    }
    return CString(szName);
}

// ---------------------------------------------------------------------------
// Sorting

// The shell's own order for its first column. Both records belong to one parent.
int CALLBACK COXShellNamespaceNavigator::CompareObjectsProc(LPARAM lParam1, LPARAM lParam2,
                                                            LPARAM /*lParamSort*/) {
    const SHELLOBJECTINFO* pInfo1 = reinterpret_cast<const SHELLOBJECTINFO*>(lParam1);
    const SHELLOBJECTINFO* pInfo2 = reinterpret_cast<const SHELLOBJECTINFO*>(lParam2);
    if (pInfo1 == nullptr || pInfo2 == nullptr || pInfo1->pParentFolder == nullptr)
        return 0;
    const HRESULT hr =
        pInfo1->pParentFolder->CompareIDs(0, pInfo1->pidlRelative, pInfo2->pidlRelative);
    if (FAILED(hr))
        return 0;
    return static_cast<short>(HRESULT_CODE(hr));
}

// ---------------------------------------------------------------------------
// Commands

// The object's context menu filled into a new popup menu; the caller destroys
// the menu and releases the interface. Null (and no menu) on failure.
IContextMenu* COXShellNamespaceNavigator::QueryObjectContextMenu(IShellFolder* pFolder,
                                                                 LPCITEMIDLIST pidlRelative,
                                                                 UINT nFlags, HMENU* phMenu) const {
    *phMenu = nullptr;
    if (pFolder == nullptr || pidlRelative == nullptr)
        return nullptr;
    IContextMenu* pContextMenu = nullptr;
    LPCITEMIDLIST apidl[1] = {pidlRelative};
    if (FAILED(pFolder->GetUIObjectOf(GetOwnerHwnd(), 1, apidl, IID_IContextMenu, nullptr,
                                      reinterpret_cast<void**>(&pContextMenu))) ||
        pContextMenu == nullptr)
        return nullptr;
    HMENU hMenu = CreatePopupMenu();
    if (hMenu == nullptr) {
        KWTRACE_ERROR(("COXShellNamespaceNavigator::GetObjectContextMenu: CreatePopupMenu() "
                       "failed\n"));
        pContextMenu->Release();
        return nullptr;
    }
    if (FAILED(pContextMenu->QueryContextMenu(hMenu, 0, FIRST_MENU_COMMAND, LAST_MENU_COMMAND,
                                              nFlags))) {
        KWTRACE_ERROR(("COXShellNamespaceNavigator::GetObjectContextMenu: QueryContextMenu() "
                       "failed\n"));
        DestroyMenu(hMenu);
        pContextMenu->Release();
        return nullptr;
    }
    *phMenu = hMenu;
    return pContextMenu;
}

HMENU COXShellNamespaceNavigator::GetObjectContextMenu(IShellFolder* pFolder,
                                                       LPCITEMIDLIST pidlRelative,
                                                       UINT nFlags) const {
    HMENU hMenu = nullptr;
    IContextMenu* pContextMenu = QueryObjectContextMenu(pFolder, pidlRelative, nFlags, &hMenu);
    if (pContextMenu != nullptr)
        pContextMenu->Release(); // the filled menu stands on its own
    return hMenu;
}

BOOL COXShellNamespaceNavigator::InvokeCommand(IShellFolder* pFolder, LPCITEMIDLIST pidlRelative,
                                               UINT nCmdID, UINT nFlags) const {
    if (nCmdID < FIRST_MENU_COMMAND || nCmdID > LAST_MENU_COMMAND) {
        KWTRACE_ERROR(("COXShellNamespaceNavigator::InvokeCommand: command %u is not one of a "
                       "context menu\n",
                       nCmdID));
        return FALSE;
    }
    HMENU hMenu = nullptr;
    IContextMenu* pContextMenu = QueryObjectContextMenu(pFolder, pidlRelative, nFlags, &hMenu);
    if (pContextMenu == nullptr)
        return FALSE;

    CMINVOKECOMMANDINFO info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    info.fMask = 0;
    info.hwnd = GetOwnerHwnd();
    info.lpVerb = MAKEINTRESOURCEA(nCmdID - FIRST_MENU_COMMAND);
    info.nShow = SW_SHOWNORMAL;
    const HRESULT hr = pContextMenu->InvokeCommand(&info);
    DestroyMenu(hMenu);
    pContextMenu->Release();
    if (FAILED(hr)) {
        KWTRACE_ERROR(("COXShellNamespaceNavigator::InvokeCommand: InvokeCommand() failed\n"));
        return FALSE;
    }
    return TRUE;
}

// Wine's shell folders add nothing to a menu asked for CMF_DEFAULTONLY, where
// Windows adds the default item; an empty default-only menu is therefore asked
// again in full, and the command is run from the menu that named it.
BOOL COXShellNamespaceNavigator::InvokeDefaultCommand(IShellFolder* pFolder,
                                                      LPCITEMIDLIST pidlRelative) const {
    UINT nFlags = CMF_DEFAULTONLY;
    HMENU hMenu = GetObjectContextMenu(pFolder, pidlRelative, nFlags);
    if (hMenu != nullptr && GetMenuItemCount(hMenu) <= 0) {
        DestroyMenu(hMenu);
        nFlags = CMF_NORMAL;
        hMenu = GetObjectContextMenu(pFolder, pidlRelative, nFlags);
    }
    if (hMenu == nullptr) {
        KWTRACE_ERROR(("COXShellNamespaceNavigator::InvokeDefaultCommand: GetObjectContextMenu() "
                       "failed\n"));
        return FALSE;
    }
    if (GetMenuItemCount(hMenu) <= 0) {
        KWTRACE_ERROR(("COXShellNamespaceNavigator::InvokeDefaultCommand: there is no context menu "
                       "for the specified object\n"));
        DestroyMenu(hMenu);
        return FALSE;
    }
    const UINT nDefaultID = GetMenuDefaultItem(hMenu, FALSE, GMDI_GOINTOPOPUPS);
    DestroyMenu(hMenu);
    if (nDefaultID == static_cast<UINT>(-1)) {
        KWTRACE_ERROR(("COXShellNamespaceNavigator::InvokeDefaultCommand: there is no default menu "
                       "item for the specified object\n"));
        return FALSE;
    }
    return InvokeCommand(pFolder, pidlRelative, nDefaultID, nFlags);
}

BOOL COXShellNamespaceNavigator::RenameShellObject(IShellFolder* pFolder,
                                                   LPCITEMIDLIST pidlRelative,
                                                   LPITEMIDLIST* ppidlNewRelative,
                                                   LPCSTR lpszNewName) const {
    if (ppidlNewRelative != nullptr)
        *ppidlNewRelative = nullptr;
    WCHAR wszName[MAX_PATH];
    HRESULT hr = E_INVALIDARG;
    LPITEMIDLIST pidlNew = nullptr;
    if (pFolder != nullptr && pidlRelative != nullptr && lpszNewName != nullptr &&
        lpszNewName[0] != '\0' && AnsiToShellText(lpszNewName, wszName))
        hr = pFolder->SetNameOf(GetOwnerHwnd(), pidlRelative, wszName, SHGDN_INFOLDER,
                                ppidlNewRelative != nullptr ? &pidlNew : nullptr);
    if (FAILED(hr)) {
        FreeShellMemory(pidlNew);
        KWTRACE_ERROR(("COXShellNamespaceNavigator::RenameShellObject: failed to set new name for "
                       "the specified object\n"));
        return FALSE;
    }
    if (ppidlNewRelative != nullptr)
        *ppidlNewRelative = pidlNew;
    return TRUE;
}
