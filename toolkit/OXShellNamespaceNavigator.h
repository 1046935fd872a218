// OXShellNamespaceNavigator.h: COXShellNamespaceNavigator, the toolkit's service
// over the shell namespace, and SHELLOBJECTINFO, its record of one shell object.
//
// The navigator has no window. It turns paths into item identifier lists and
// folder interfaces, enumerates a folder into self-contained records, compares
// objects for a tree sort, renames an object and runs the commands of an
// object's shell context menu. Every call goes to the shell itself (shell32 and
// its folders): nothing here imitates the namespace.
//
// Ownership: every list and record handed out is allocated with the navigator's
// allocator and belongs to the caller, who frees it with FreeShellMemory
// (a record with FreeShellObjectInfo, which also frees what it holds). Folder
// interfaces handed out carry one reference that the caller releases.
//
// Text is single-byte in the ANSI code page. A path or name given to the shell
// must fit 260 UTF-16 units; a longer one is refused rather than cut, since a
// cut path can name another object.
//
// User-interface thread only; one enumeration per navigator at a time.
// Failures give FALSE or null results and a trace line (Common/TraceLog.h);
// nothing is shown to the user by the navigator itself.
//
// Under Wine's shell (8.0):
// - a context menu asked for CMF_DEFAULTONLY comes back empty, so the default
//   command is taken from the full menu (InvokeDefaultCommand);
// - every object's menu has a default item ("Open"); for a file it does
//   nothing and reports success; for a folder it goes to the "Folder" class,
//   for which a bare prefix has no program: the shell then does not return
//   (seen with a 40-second limit), so the tests never run it on a folder;
// - the structure size of an invoked command is that of this build (56 bytes
//   on 64-bit), not the 36 of a 32-bit program.
#pragma once

#include "framework/AfxString.h"

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

class CWnd;

// One enumerated object. One block of the navigator's allocator; the two lists
// are separate blocks of the same allocator, owned by the record.
struct SHELLOBJECTINFO {
    IShellFolder* pParentFolder;  // holds one reference: the folder that contains the object
    LPITEMIDLIST pidlRelative;    // owned: the object's list relative to pParentFolder
    LPITEMIDLIST pidlFull;        // owned: the object's list from the desktop
    ULONG dwAttributes;           // SFGAO_* bits, asked with all bits set
    char szDisplayName[MAX_PATH]; // SHGDN_NORMAL name, never empty
    int nLargeIcon;               // system image-list indexes
    int nLargeOpenIcon;
    int nSmallIcon;
    int nSmallOpenIcon;
};

class COXShellNamespaceNavigator {
public:
    // Throws the framework's memory exception when the shell has no allocator.
    COXShellNamespaceNavigator();
    virtual ~COXShellNamespaceNavigator();
    COXShellNamespaceNavigator(const COXShellNamespaceNavigator&) = delete;
    COXShellNamespaceNavigator& operator=(const COXShellNamespaceNavigator&) = delete;

    // The window that owns any user interface the shell shows; not owned, may be null.
    void SetOwnerWnd(CWnd* pOwnerWnd) { m_pOwnerWnd = pOwnerWnd; }
    CWnd* GetOwnerWnd() const { return m_pOwnerWnd; }

    // Item identifier lists.
    LPITEMIDLIST GetNextItemID(LPCITEMIDLIST pidl) const;
    UINT GetPIDLSize(LPCITEMIDLIST pidl) const;
    LPITEMIDLIST CopyPIDL(LPCITEMIDLIST pidl) const;
    LPITEMIDLIST ConcatenatePIDLs(LPCITEMIDLIST pidlParent, LPCITEMIDLIST pidlRelative) const;
    void FreeShellMemory(void* pBlock) const;
    // Frees a record of GetShellObjectInfo with its lists and folder reference; null is ignored.
    void FreeShellObjectInfo(SHELLOBJECTINFO* pInfo) const;
    BOOL GetPIDLFromPath(LPCSTR lpszPath, LPITEMIDLIST* ppidl) const;

    // Folders.
    IShellFolder* GetShellFolderFromPath(LPCSTR lpszPath) const;
    IShellFolder* GetShellFolder(IShellFolder* pParentFolder, LPCITEMIDLIST pidlRelative) const;
    HIMAGELIST GetSystemImageList(BOOL bSmallIcons) const;

    // Enumeration: Init, then GetNext until the end flag, then Release. The folder
    // and its list are borrowed and must outlive the enumeration.
    BOOL InitObjectsEnumerator(IShellFolder* pFolder, LPCITEMIDLIST pidlFolder, DWORD dwFlags);
    SHELLOBJECTINFO* GetNextEnumeratedObject(BOOL& bEnd);
    BOOL ReleaseObjectsEnumerator();
    SHELLOBJECTINFO* GetShellObjectInfo(IShellFolder* pParentFolder, LPCITEMIDLIST pidlRelative,
                                        LPCITEMIDLIST pidlFull) const;
    // The SHGDN_NORMAL name; empty when the shell gives none.
    CString GetDisplayName(IShellFolder* pFolder, LPCITEMIDLIST pidlRelative) const;

    // Tree-control sort callback over two SHELLOBJECTINFO records.
    static int CALLBACK CompareObjectsProc(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

    // Commands on one object.
    HMENU GetObjectContextMenu(IShellFolder* pFolder, LPCITEMIDLIST pidlRelative,
                               UINT nFlags) const;
    BOOL InvokeCommand(IShellFolder* pFolder, LPCITEMIDLIST pidlRelative, UINT nCmdID,
                       UINT nFlags) const;
    BOOL InvokeDefaultCommand(IShellFolder* pFolder, LPCITEMIDLIST pidlRelative) const;
    // On success *ppidlNewRelative (when asked for) receives the object's new
    // relative list; the old one stays the caller's, who frees it once it has
    // taken the new one.
    BOOL RenameShellObject(IShellFolder* pFolder, LPCITEMIDLIST pidlRelative,
                           LPITEMIDLIST* ppidlNewRelative, LPCSTR lpszNewName) const;

private:
    HWND GetOwnerHwnd() const;
    IContextMenu* QueryObjectContextMenu(IShellFolder* pFolder, LPCITEMIDLIST pidlRelative,
                                         UINT nFlags, HMENU* phMenu) const;

    CWnd* m_pOwnerWnd;              // not owned; null: the shell's UI has no owner
    IEnumIDList* m_pEnumerator;     // owns one reference; null while idle or for a folder
                                    // that answered without an enumerator
    BOOL m_bEnumerating;            // between Init and Release
    IShellFolder* m_pEnumFolder;    // borrowed for the enumeration
    LPCITEMIDLIST m_pidlEnumFolder; // borrowed for the enumeration
    IMalloc* m_pMalloc;             // owns one reference
};
