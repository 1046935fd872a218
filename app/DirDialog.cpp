// DirDialog.cpp: the folder picker over the shell's folder browser.
#include "DirDialog.h"

#include "Common/TraceLog.h"

#include <objbase.h>
#include <shlobj.h>

namespace {

// Only file-system folders and their ancestors, an edit box for typing a
// name, and the resizable browser of the new dialog style.
const UINT kBrowseFlags =
    BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;

const char kDefaultTitle[] = "Open";

// The identifier list of a folder path through the desktop folder; null when
// the shell cannot parse it. The caller frees it with the shell allocator.
LPITEMIDLIST ParseFolder(const CString& strPath) {
    IShellFolder* pDesktop = nullptr;
    if (FAILED(::SHGetDesktopFolder(&pDesktop)) || pDesktop == nullptr)
        return nullptr;
    WCHAR szWide[MAX_PATH] = {};
    LPITEMIDLIST pidl = nullptr;
    if (::MultiByteToWideChar(CP_ACP, 0, strPath, -1, szWide, MAX_PATH) == 0 ||
        FAILED(pDesktop->ParseDisplayName(nullptr, nullptr, szWide, nullptr, &pidl, nullptr)))
        pidl = nullptr;
    pDesktop->Release();
    return pidl;
}

} // namespace

CDirDialog::CDirDialog() : m_nImage(0) {}

CDirDialog::~CDirDialog() = default;

int CDirDialog::DoBrowse() {
    IMalloc* pMalloc = nullptr;
    if (FAILED(::SHGetMalloc(&pMalloc)) || pMalloc == nullptr) {
        KWTRACE_ERROR(("CDirDialog::DoBrowse: no shell allocator\n"));
        return 0;
    }
    LPITEMIDLIST pidlRoot = nullptr;
    if (!m_strRoot.IsEmpty()) {
        pidlRoot = ParseFolder(m_strRoot);
        if (pidlRoot == nullptr) {
            KWTRACE_ERROR(("CDirDialog::DoBrowse: the root \"%s\" cannot be parsed\n",
                           m_strRoot.GetString()));
            pMalloc->Release();
            return 0;
        }
    }

    // The browser writes the chosen folder's display name here; the path is
    // taken from the identifier list afterwards.
    char szDisplayName[MAX_PATH] = "";
    BROWSEINFOA bi = {};
    bi.hwndOwner = nullptr;
    bi.pidlRoot = pidlRoot;
    bi.pszDisplayName = szDisplayName;
    bi.lpszTitle = m_strTitle.IsEmpty() ? kDefaultTitle : m_strTitle.GetString();
    bi.ulFlags = kBrowseFlags;
    bi.lpfn = &CDirDialog::BrowseCallbackProc;
    bi.lParam = reinterpret_cast<LPARAM>(this);
    LPITEMIDLIST pidlChosen = ::SHBrowseForFolderA(&bi);

    int nResult = 0;
    if (pidlChosen != nullptr) {
        m_nImage = bi.iImage;
        char szPath[MAX_PATH] = "";
        if (::SHGetPathFromIDListA(pidlChosen, szPath)) {
            m_strSelDir = szPath;
            nResult = 1;
        } else {
            KWTRACE_ERROR(("CDirDialog::DoBrowse: the chosen item has no file-system path\n"));
        }
        pMalloc->Free(pidlChosen);
    }
    if (pidlRoot != nullptr)
        pMalloc->Free(pidlRoot);
    pMalloc->Release();
    return nResult;
}

int CALLBACK CDirDialog::BrowseCallbackProc(HWND hWnd, UINT uMsg, LPARAM, LPARAM lpData) {
    const CDirDialog* pThis = reinterpret_cast<const CDirDialog*>(lpData);
    if (uMsg == BFFM_INITIALIZED && pThis != nullptr && !pThis->m_strInitDir.IsEmpty())
        ::SendMessageA(hWnd, BFFM_SETSELECTIONA, TRUE,
                       reinterpret_cast<LPARAM>(pThis->m_strInitDir.GetString()));
    return 0;
}
