// ShellFolderTreeDrop.cpp: recordings dropped on the shell folder tree: the
// drop target that follows the cursor, the dropped-files handling and the copy
// of one file.
#include "ShellFolderTree.h"

#include "Common/TraceLog.h"

#include "framework/WinApp.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>

namespace {

bool IsDirectory(const CString& strPath) {
    const DWORD dwAttributes = ::GetFileAttributesA(strPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES &&
           (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The file's identity: its volume and its index on that volume. Two paths
// name the same file exactly when these agree, whatever their spelling
// (case, short names, "..", a different separator).
struct FILEIDENTITY {
    DWORD dwVolumeSerial;
    DWORD dwIndexHigh;
    DWORD dwIndexLow;
    bool operator==(const FILEIDENTITY& other) const {
        return dwVolumeSerial == other.dwVolumeSerial && dwIndexHigh == other.dwIndexHigh &&
               dwIndexLow == other.dwIndexLow;
    }
};

// Opened for no data access, so that a file another program holds open
// exclusively can still be identified.
bool GetFileIdentity(const CString& strPath, FILEIDENTITY& identity) {
    HANDLE hFile = ::CreateFileA(strPath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info = {};
    const BOOL bRead = ::GetFileInformationByHandle(hFile, &info);
    ::CloseHandle(hFile);
    if (!bRead)
        return false;
    identity.dwVolumeSerial = info.dwVolumeSerialNumber;
    identity.dwIndexHigh = info.nFileIndexHigh;
    identity.dwIndexLow = info.nFileIndexLow;
    return true;
}

// The text after the last '\' or '/', up to the last '.' after that.
CString BaseNameOf(const CString& strPath) {
    const int nSlash = std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/'));
    const CString strName = strPath.Mid(nSlash + 1);
    const int nDot = strName.ReverseFind('.');
    return nDot >= 0 ? strName.Left(nDot) : strName;
}

// One separator between the folder and the name, also for a drive's root.
CString JoinPath(const CString& strFolder, const CString& strName) {
    const char chLast = strFolder.IsEmpty() ? '\0' : strFolder[strFolder.GetLength() - 1];
    return chLast == '\\' || chLast == '/' ? strFolder + strName : strFolder + "\\" + strName;
}

} // namespace

// ---------------------------------------------------------------------------
// CShellFolderTreeDropTarget

DROPEFFECT CShellFolderTreeDropTarget::OnDragOver(CWnd*, COleDataObject* pDataObject, DWORD,
                                                  CPoint point) {
    if (m_pTree->m_bDraggingOwnItems)
        return DROPEFFECT_NONE;
    const HTREEITEM hItem = m_pTree->HitTest(point);
    if (hItem == nullptr)
        return DROPEFFECT_NONE;
    m_pTree->SetFocus();
    if (m_pTree->GetSelectedItem() != hItem)
        m_pTree->SelectItem(hItem);
    if (!pDataObject->IsDataAvailable(CF_HDROP))
        return DROPEFFECT_NONE;
    return IsDirectory(m_pTree->GetItemPath(hItem)) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

// ---------------------------------------------------------------------------
// Dropped files

void CShellFolderTree::OnDropFiles(HDROP hDropInfo) {
    CStringArray paths;
    const UINT nFiles = ::DragQueryFileA(hDropInfo, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < nFiles; ++i) {
        const UINT nLength = ::DragQueryFileA(hDropInfo, i, nullptr, 0);
        CString strPath;
        ::DragQueryFileA(hDropInfo, i, strPath.GetBuffer(static_cast<int>(nLength) + 1),
                         nLength + 1);
        strPath.ReleaseBuffer();
        paths.Add(strPath);
    }
    ::DragFinish(hDropInfo);
    HandleDroppedFiles(paths);
}

// The tree's own items dropped back on it are ignored. A caret item without a
// file-system folder refuses the drop: its destination paths would begin at a
// bare '\', the root of whatever drive is current.
BOOL CShellFolderTree::HandleDroppedFiles(const CStringArray& paths) {
    if (m_bDraggingOwnItems || paths.GetSize() == 0)
        return FALSE;
    const CString strFolder = GetItemPath(GetSelectedItem());
    if (!IsDirectory(strFolder)) {
        KWTRACE(("CShellFolderTree::HandleDroppedFiles: \"%s\" is no folder of the file system; "
                 "the drop is refused\n",
                 strFolder.GetString()));
        return FALSE;
    }
    const BOOL bCopied = CopyDroppedFiles(strFolder, paths);
    m_bDraggingOwnItems = FALSE;
    return bCopied;
}

BOOL CShellFolderTree::CopyDroppedFiles(const CString& strFolder, const CStringArray& paths) {
    CString strQuestion;
    strQuestion.Format("Are you sure want to copy recordings(s) to %s?\n%d recordings",
                       strFolder.GetString(), static_cast<int>(paths.GetSize()));
    if (AfxMessageBox(strQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return FALSE;
    for (INT_PTR i = 0; i < paths.GetSize(); ++i) {
        const CString& strSource = paths[i];
        if (!IsDropAccepted(strSource))
            continue;
        const CString strDestination = JoinPath(strFolder, BaseNameOf(strSource) + ".zel");
        if (!CopyOneFile(strSource, strFolder, strDestination)) {
            CString strMessage;
            strMessage.Format("Could not copy file %s to %s", strSource.GetString(),
                              strDestination.GetString());
            AfxMessageBox(strMessage, MB_OK);
            return FALSE;
        }
    }
    return TRUE;
}

// The copy is made under a temporary name in the target folder and renamed
// into place: a copy that fails leaves the destination as it was and no part
// of a file behind. A file is never copied onto itself (opened for writing, it
// would be emptied before it is read), and a different file of the
// destination's name is replaced only when the user says so.
BOOL CShellFolderTree::CopyOneFile(const CString& strSource, const CString& strFolder,
                                   const CString& strDestination) {
    FILEIDENTITY destination = {};
    if (GetFileIdentity(strDestination, destination)) {
        FILEIDENTITY source = {};
        if (!GetFileIdentity(strSource, source)) {
            KWTRACE_ERROR(("CShellFolderTree::CopyOneFile: cannot identify %s, error %u\n",
                           strSource.GetString(), static_cast<unsigned>(::GetLastError())));
            return FALSE;
        }
        if (source == destination) {
            KWTRACE(("CShellFolderTree::CopyOneFile: %s is %s itself; not copied\n",
                     strDestination.GetString(), strSource.GetString()));
            return TRUE;
        }
        CString strQuestion;
        strQuestion.Format("The file %s already exists.\nDo you want to replace it with %s?",
                           strDestination.GetString(), strSource.GetString());
        if (AfxMessageBox(strQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return TRUE;
    } else if (::GetFileAttributesA(strDestination) != INVALID_FILE_ATTRIBUTES) {
        // There, but its identity cannot be read: it is not safe to write over it.
        KWTRACE_ERROR(("CShellFolderTree::CopyOneFile: cannot identify %s, error %u\n",
                       strDestination.GetString(), static_cast<unsigned>(::GetLastError())));
        return FALSE;
    }

    char szTemporary[MAX_PATH] = "";
    if (!::GetTempFileNameA(strFolder, "zmc", 0, szTemporary)) {
        KWTRACE_ERROR(("CShellFolderTree::CopyOneFile: no temporary file in %s, error %u\n",
                       strFolder.GetString(), static_cast<unsigned>(::GetLastError())));
        return FALSE;
    }
    if (!::CopyFileA(strSource, szTemporary, FALSE)) {
        KWTRACE_ERROR(("CShellFolderTree::CopyOneFile: cannot copy %s to %s, error %u\n",
                       strSource.GetString(), szTemporary,
                       static_cast<unsigned>(::GetLastError())));
        ::DeleteFileA(szTemporary);
        return FALSE;
    }
    if (!::MoveFileExA(szTemporary, strDestination, MOVEFILE_REPLACE_EXISTING)) {
        KWTRACE_ERROR(("CShellFolderTree::CopyOneFile: cannot replace %s, error %u\n",
                       strDestination.GetString(), static_cast<unsigned>(::GetLastError())));
        ::DeleteFileA(szTemporary);
        return FALSE;
    }
    return TRUE;
}

BOOL CShellFolderTree::IsDropAccepted(LPCTSTR lpszPath) const {
    if (lpszPath == nullptr)
        return FALSE;
    const DWORD dwAttributes = ::GetFileAttributesA(lpszPath);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
        return FALSE;
    if ((dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return (m_dropFilter.dwFlags & DROP_FOLDERS) != 0;
    if ((m_dropFilter.dwFlags & DROP_FILES) == 0)
        return FALSE;
    if ((m_dropFilter.dwFlags & DROP_MATCH_EXTENSION) == 0)
        return TRUE;
    return m_dropFilter.strExtension.CompareNoCase(::PathFindExtensionA(lpszPath)) == 0;
}
