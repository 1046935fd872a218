// WinApp.cpp: CWinApp, CRecentFileList, AfxWinMain and the application accessors.
#include "WinApp.h"

#include "CmdUI.h"
#include "DocTemplate.h"
#include "Exception.h"
#include "Menu.h"
#include "Ole.h"
#include "Wnd.h"

#include <cstdlib>
#include <cstring>
#include <exception>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {

// The one application object; set by its constructor, cleared by its destructor.
CWinApp* g_pApp = nullptr;

const char kRecentFileSection[] = "Recent File List";
const char kRecentFileEntry[] = "File%d";

void FreeText(LPCTSTR& psz) {
    free(const_cast<char*>(psz));
    psz = nullptr;
}

} // namespace

// ---------------------------------------------------------------------------
// Construction and the program's run.

CWinApp::CWinApp(LPCTSTR lpszAppName)
    : m_hInstance(nullptr), m_lpCmdLine(nullptr), m_nCmdShow(SW_SHOWNORMAL),
      m_pszAppName(lpszAppName != nullptr ? strdup(lpszAppName) : nullptr), m_pszExeName(nullptr),
      m_pszRegistryKey(nullptr), m_pszProfileName(nullptr), m_pRecentFileList(nullptr),
      m_nWaitCursorCount(0), m_hcurWaitCursorRestore(nullptr) {
    if (g_pApp != nullptr)
        AfxTrace("CWinApp: a second application object replaces the first.\n");
    g_pApp = this;
    // The application object runs on the thread that makes it (the main thread).
    m_bAutoDelete = FALSE;
    m_nThreadID = ::GetCurrentThreadId();
    AfxGetThreadState()->m_pCurrentWinThread = this;
}

CWinApp::~CWinApp() {
    delete m_pRecentFileList;
    FreeText(m_pszAppName);
    FreeText(m_pszExeName);
    FreeText(m_pszRegistryKey);
    FreeText(m_pszProfileName);
    if (g_pApp == this)
        g_pApp = nullptr;
}

void CWinApp::SetCurrentHandles(HINSTANCE hInstance, LPTSTR lpCmdLine, int nCmdShow) {
    m_hInstance = hInstance;
    m_lpCmdLine = lpCmdLine;
    m_nCmdShow = nCmdShow;
    m_nThreadID = ::GetCurrentThreadId();
    AfxGetThreadState()->m_pCurrentWinThread = this;
    if (m_hThread == nullptr)
        ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(),
                          &m_hThread, 0, FALSE, DUPLICATE_SAME_ACCESS);

    if (m_pszExeName == nullptr) {
        char szPath[MAX_PATH] = "";
        ::GetModuleFileNameA(hInstance, szPath, MAX_PATH);
        const char* pszName = std::max(strrchr(szPath, '\\'), strrchr(szPath, '/'));
        CString strName = pszName != nullptr ? pszName + 1 : szPath;
        int nDot = strName.ReverseFind('.');
        // "prog.exe.so" of a winelib program and "prog.exe" both give "prog".
        if (nDot > 0 && strName.Mid(nDot).CompareNoCase(".so") == 0)
            strName = strName.Left(nDot);
        nDot = strName.ReverseFind('.');
        if (nDot > 0)
            strName = strName.Left(nDot);
        m_pszExeName = strdup(strName);
    }
    if (m_pszAppName == nullptr) {
        CString strTitle;
        if (strTitle.LoadString(AFX_IDS_APP_TITLE) && !strTitle.IsEmpty())
            m_pszAppName = strdup(strTitle);
        else
            m_pszAppName = strdup(m_pszExeName);
    }
}

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPTSTR lpCmdLine, int nCmdShow) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr) {
        AfxTrace("AfxWinMain: the program has no application object.\n");
        return -1;
    }
    pApp->SetCurrentHandles(hInstance, lpCmdLine, nCmdShow);
    // The exit code is that of this run's WM_QUIT, 0 when no loop ran.
    AfxGetThreadState()->m_msgCur = MSG();
    int nResult = -1;
    try {
        if (!pApp->InitInstance()) {
            if (CWnd* pMainWnd = pApp->m_pMainWnd) {
                pMainWnd->DestroyWindow();
                MSG msg; // the WM_QUIT the main window's destruction posted
                ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
            }
            nResult = pApp->ExitInstance();
        } else {
            nResult = pApp->Run();
        }
    } catch (CException* e) {
        char szText[256] = "";
        e->GetErrorMessage(szText, sizeof(szText));
        AfxTrace("AfxWinMain: the application ended by an exception (%s).\n", szText);
        e->Delete();
    } catch (const std::exception& e) {
        AfxTrace("AfxWinMain: the application ended by an exception (%s).\n", e.what());
    } catch (...) {
        AfxTrace("AfxWinMain: the application ended by an exception.\n");
    }
    // Templates and documents go before static destruction, OLE on the thread
    // that started it.
    AfxSetDocManager(nullptr);
    AfxOleTerm();
    return nResult;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::Run() {
    if (m_pMainWnd == nullptr) {
        TRACE("CWinApp::Run: no main window; the program ends.\n");
        ::PostQuitMessage(0);
    }
    return CWinThread::Run();
}

int CWinApp::ExitInstance() {
    SaveStdProfileSettings();
    return CWinThread::ExitInstance();
}

// ---------------------------------------------------------------------------
// The profile.

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey) {
    if (lpszRegistryKey == nullptr || *lpszRegistryKey == '\0' || m_pszAppName == nullptr) {
        TRACE("CWinApp::SetRegistryKey: an empty key or no application name yet.\n");
        return;
    }
    FreeText(m_pszRegistryKey);
    m_pszRegistryKey = strdup(lpszRegistryKey);
    FreeText(m_pszProfileName);
    m_pszProfileName = strdup(m_pszAppName);
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey) {
    CString strKey;
    if (!strKey.LoadString(nIDRegistryKey)) {
        AfxTrace("CWinApp::SetRegistryKey: no string %u; the profile stays unset.\n",
                 nIDRegistryKey);
        return;
    }
    SetRegistryKey(strKey);
}

HKEY CWinApp::GetAppRegistryKey() {
    if (m_pszRegistryKey == nullptr || m_pszProfileName == nullptr) {
        TRACE("CWinApp: profile access before SetRegistryKey.\n");
        return nullptr;
    }
    CString strPath;
    strPath.Format("Software\\%s\\%s", m_pszRegistryKey, m_pszProfileName);
    HKEY hKey = nullptr;
    LONG lError = ::RegCreateKeyExA(HKEY_CURRENT_USER, strPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_READ | KEY_WRITE, nullptr, &hKey, nullptr);
    if (lError != ERROR_SUCCESS) {
        AfxTrace("CWinApp: cannot open HKCU\\%s, error %ld.\n", strPath.GetString(),
                 static_cast<long>(lError));
        return nullptr;
    }
    return hKey;
}

HKEY CWinApp::GetSectionKey(LPCTSTR lpszSection) {
    if (lpszSection == nullptr)
        return nullptr;
    HKEY hAppKey = GetAppRegistryKey();
    if (hAppKey == nullptr)
        return nullptr;
    HKEY hKey = nullptr;
    LONG lError = ::RegCreateKeyExA(hAppKey, lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_READ | KEY_WRITE, nullptr, &hKey, nullptr);
    ::RegCloseKey(hAppKey);
    if (lError != ERROR_SUCCESS) {
        AfxTrace("CWinApp: cannot open the profile section %s, error %ld.\n", lpszSection,
                 static_cast<long>(lError));
        return nullptr;
    }
    return hKey;
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault) {
    HKEY hKey = GetSectionKey(lpszSection);
    if (hKey == nullptr)
        return static_cast<UINT>(nDefault);
    DWORD dwType = 0, dwValue = 0, cbData = sizeof(dwValue);
    LONG lError = ::RegQueryValueExA(hKey, lpszEntry, nullptr, &dwType,
                                     reinterpret_cast<LPBYTE>(&dwValue), &cbData);
    ::RegCloseKey(hKey);
    if (lError != ERROR_SUCCESS || dwType != REG_DWORD || cbData != sizeof(dwValue))
        return static_cast<UINT>(nDefault);
    return dwValue;
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue) {
    HKEY hKey = GetSectionKey(lpszSection);
    if (hKey == nullptr)
        return FALSE;
    DWORD dwValue = static_cast<DWORD>(nValue);
    LONG lError = ::RegSetValueExA(hKey, lpszEntry, 0, REG_DWORD,
                                   reinterpret_cast<const BYTE*>(&dwValue), sizeof(dwValue));
    ::RegCloseKey(hKey);
    return lError == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault) {
    CString strValue = lpszDefault;
    HKEY hKey = GetSectionKey(lpszSection);
    if (hKey == nullptr)
        return strValue;
    DWORD dwType = 0, cbData = 0;
    LONG lError = ::RegQueryValueExA(hKey, lpszEntry, nullptr, &dwType, nullptr, &cbData);
    if (lError == ERROR_SUCCESS && dwType == REG_SZ) {
        // The value may be stored without its terminating zero; one byte more holds it.
        CString strRead;
        char* pBuf = strRead.GetBuffer(static_cast<int>(cbData));
        DWORD cbRead = cbData;
        lError = ::RegQueryValueExA(hKey, lpszEntry, nullptr, &dwType,
                                    reinterpret_cast<LPBYTE>(pBuf), &cbRead);
        if (lError == ERROR_SUCCESS && cbRead <= cbData) {
            pBuf[cbRead] = '\0';
            strRead.ReleaseBuffer();
            strValue = strRead;
        } else {
            strRead.ReleaseBuffer(0);
        }
    }
    ::RegCloseKey(hKey);
    return strValue;
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue) {
    if (lpszSection == nullptr)
        return FALSE;
    LONG lError;
    if (lpszEntry == nullptr) {
        HKEY hAppKey = GetAppRegistryKey();
        if (hAppKey == nullptr)
            return FALSE;
        lError = ::RegDeleteKeyA(hAppKey, lpszSection);
        ::RegCloseKey(hAppKey);
        return lError == ERROR_SUCCESS || lError == ERROR_FILE_NOT_FOUND;
    }
    HKEY hKey = GetSectionKey(lpszSection);
    if (hKey == nullptr)
        return FALSE;
    if (lpszValue == nullptr) {
        lError = ::RegDeleteValueA(hKey, lpszEntry);
        if (lError == ERROR_FILE_NOT_FOUND)
            lError = ERROR_SUCCESS;
    } else {
        lError =
            ::RegSetValueExA(hKey, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                             static_cast<DWORD>(strlen(lpszValue) + 1));
    }
    ::RegCloseKey(hKey);
    return lError == ERROR_SUCCESS;
}

BOOL CWinApp::GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData,
                               UINT* pBytes) {
    if (ppData == nullptr || pBytes == nullptr)
        return FALSE;
    *ppData = nullptr;
    *pBytes = 0;
    HKEY hKey = GetSectionKey(lpszSection);
    if (hKey == nullptr)
        return FALSE;
    DWORD dwType = 0, cbData = 0;
    LONG lError = ::RegQueryValueExA(hKey, lpszEntry, nullptr, &dwType, nullptr, &cbData);
    BOOL bOk = FALSE;
    if (lError == ERROR_SUCCESS && dwType == REG_BINARY) {
        LPBYTE pData = new BYTE[cbData > 0 ? cbData : 1];
        DWORD cbRead = cbData;
        lError = ::RegQueryValueExA(hKey, lpszEntry, nullptr, &dwType, pData, &cbRead);
        if (lError == ERROR_SUCCESS && dwType == REG_BINARY && cbRead <= cbData) {
            *ppData = pData;
            *pBytes = cbRead;
            bOk = TRUE;
        } else {
            delete[] pData;
        }
    }
    ::RegCloseKey(hKey);
    return bOk;
}

BOOL CWinApp::WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData,
                                 UINT nBytes) {
    if (pData == nullptr && nBytes != 0)
        return FALSE;
    HKEY hKey = GetSectionKey(lpszSection);
    if (hKey == nullptr)
        return FALSE;
    LONG lError = ::RegSetValueExA(hKey, lpszEntry, 0, REG_BINARY, pData, nBytes);
    ::RegCloseKey(hKey);
    return lError == ERROR_SUCCESS;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (nMaxMRU == 0)
        return;
    // The commands ID_FILE_MRU_FILE1..ID_FILE_MRU_FILE16 bound the list.
    int nSize = static_cast<int>(std::min(nMaxMRU, static_cast<UINT>(16)));
    m_pRecentFileList = new CRecentFileList(0, kRecentFileSection, kRecentFileEntry, nSize,
                                            AFX_ABBREV_FILENAME_LEN);
    m_pRecentFileList->ReadList();
}

void CWinApp::SaveStdProfileSettings() {
    if (m_pRecentFileList != nullptr)
        m_pRecentFileList->WriteList();
}

void CWinApp::AddToRecentFileList(LPCTSTR lpszPathName) {
    if (m_pRecentFileList != nullptr)
        m_pRecentFileList->Add(lpszPathName);
}

// clang-format off
BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
    ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, &CWinApp::OnUpdateRecentFileMenu)
    ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, &CWinApp::OnOpenRecentFile)
END_MESSAGE_MAP()
// clang-format on

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI) {
    if (m_pRecentFileList == nullptr)
        pCmdUI->Enable(FALSE);
    else
        m_pRecentFileList->UpdateMenu(pCmdUI);
}

BOOL CWinApp::OnOpenRecentFile(UINT nID) {
    int nIndex = static_cast<int>(nID - ID_FILE_MRU_FILE1);
    if (m_pRecentFileList == nullptr || nIndex < 0 || nIndex >= m_pRecentFileList->GetSize() ||
        (*m_pRecentFileList)[nIndex].IsEmpty())
        return FALSE;
    // A copy: opening the document adds it to the list, which moves the entries.
    CString strPath = (*m_pRecentFileList)[nIndex];
    if (OpenDocumentFile(strPath) == nullptr) {
        for (int i = 0; i < m_pRecentFileList->GetSize(); ++i) {
            if ((*m_pRecentFileList)[i].CompareNoCase(strPath) == 0) {
                m_pRecentFileList->Remove(i);
                break;
            }
        }
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Documents, through the document manager.

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
    AfxGetDocManager()->AddDocTemplate(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const {
    return AfxGetDocManager()->GetFirstDocTemplatePosition();
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& rPos) const {
    return AfxGetDocManager()->GetNextDocTemplate(rPos);
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName) {
    return AfxGetDocManager()->OpenDocumentFile(lpszFileName);
}

BOOL CWinApp::SaveAllModified() {
    return AfxGetDocManager()->SaveAllModified();
}

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
    AfxGetDocManager()->CloseAllDocuments(bEndSession);
}

void CWinApp::OnFileNew() {
    AfxGetDocManager()->OnFileNew();
}

void CWinApp::OnFileOpen() {
    AfxGetDocManager()->OnFileOpen();
}

// ---------------------------------------------------------------------------
// Message boxes and the wait cursor.

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT) {
    HWND hWndTop = nullptr;
    CWnd* pOwner = CWnd::GetSafeOwner(nullptr, &hWndTop);
    if ((nType & MB_ICONMASK) == 0) {
        switch (nType & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            nType |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            nType |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    return ::MessageBoxA(pOwner->GetSafeHwnd(), lpszPrompt != nullptr ? lpszPrompt : "",
                         m_pszAppName, nType);
}

void CWinApp::DoWaitCursor(int nCode) {
    m_nWaitCursorCount += nCode;
    if (m_nWaitCursorCount > 0) {
        HCURSOR hcurPrevious = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
        if (nCode > 0 && m_nWaitCursorCount == 1)
            m_hcurWaitCursorRestore = hcurPrevious;
    } else {
        m_nWaitCursorCount = 0; // more ends than begins: back to the first cursor
        ::SetCursor(m_hcurWaitCursorRestore);
    }
}

// ---------------------------------------------------------------------------
// Accessors.

CWinApp* AFXAPI AfxGetApp() {
    return g_pApp;
}

CWnd* AFXAPI AfxGetMainWnd() {
    CWinThread* pThread = AfxGetThread();
    return pThread != nullptr ? pThread->GetMainWnd() : nullptr;
}

HINSTANCE AFXAPI AfxGetInstanceHandle() {
    if (g_pApp != nullptr && g_pApp->m_hInstance != nullptr)
        return g_pApp->m_hInstance;
    return ::GetModuleHandleA(nullptr);
}

LPCTSTR AFXAPI AfxGetAppName() {
    return g_pApp != nullptr ? g_pApp->m_pszAppName : nullptr;
}

int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) {
    if (g_pApp != nullptr)
        return g_pApp->DoMessageBox(lpszText, nType, nIDHelp);
    return ::MessageBoxA(nullptr, lpszText != nullptr ? lpszText : "", nullptr, nType);
}

int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString strText;
    if (!strText.LoadString(nIDPrompt))
        AfxTrace("AfxMessageBox: no string %u.\n", nIDPrompt);
    if (nIDHelp == static_cast<UINT>(-1))
        nIDHelp = nIDPrompt;
    if (g_pApp != nullptr)
        return g_pApp->DoMessageBox(strText, nType, nIDHelp);
    return ::MessageBoxA(nullptr, strText, nullptr, nType);
}

// ---------------------------------------------------------------------------
// CRecentFileList.

CRecentFileList::CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat,
                                 int nSize, int nMaxDispLen)
    : m_strSectionName(lpszSection), m_strEntryFormat(lpszEntryFormat), m_nStart(nStart),
      m_nMaxDisplayLength(nMaxDispLen), m_arrNames(static_cast<size_t>(std::max(nSize, 0))) {}

CString& CRecentFileList::operator[](int nIndex) {
    if (nIndex < 0 || nIndex >= GetSize()) {
        TRACE("CRecentFileList: index %d out of range.\n", nIndex);
        m_strScratch.Empty();
        return m_strScratch;
    }
    return m_arrNames[static_cast<size_t>(nIndex)];
}

void CRecentFileList::Add(LPCTSTR lpszPathName) {
    if (lpszPathName == nullptr || *lpszPathName == '\0' || m_arrNames.empty())
        return;
    char szFull[MAX_PATH];
    DWORD nLength = ::GetFullPathNameA(lpszPathName, MAX_PATH, szFull, nullptr);
    CString strPath = (nLength > 0 && nLength < MAX_PATH) ? szFull : lpszPathName;
    // An equal entry moves to the top; otherwise the oldest drops off.
    size_t nFrom = m_arrNames.size() - 1;
    for (size_t i = 0; i < m_arrNames.size(); ++i) {
        if (m_arrNames[i].CompareNoCase(strPath) == 0) {
            nFrom = i;
            break;
        }
    }
    for (size_t i = nFrom; i > 0; --i)
        m_arrNames[i] = m_arrNames[i - 1];
    m_arrNames[0] = strPath;
}

void CRecentFileList::Remove(int nIndex) {
    if (nIndex < 0 || nIndex >= GetSize())
        return;
    for (size_t i = static_cast<size_t>(nIndex); i + 1 < m_arrNames.size(); ++i)
        m_arrNames[i] = m_arrNames[i + 1];
    m_arrNames.back().Empty();
}

namespace {

bool IsSlash(char ch) {
    return ch == '\\' || ch == '/';
}

// The path cut to nMax characters: its root, "...", and as many of its last
// components as fit ("C:\...\folder\file.reclist").
CString AbbreviatePath(const CString& strPath, int nMax, BOOL bAtLeastName) {
    if (strPath.GetLength() <= nMax)
        return strPath;
    int nName = strPath.GetLength();
    while (nName > 0 && !IsSlash(strPath[nName - 1]))
        --nName;
    CString strName = strPath.Mid(nName);
    // The root: "X:\" or "\\server\share\".
    int nRoot = 0;
    if (strPath.GetLength() >= 3 && strPath[1] == ':' && IsSlash(strPath[2])) {
        nRoot = 3;
    } else if (strPath.GetLength() >= 2 && IsSlash(strPath[0]) && IsSlash(strPath[1])) {
        int nSlashes = 0;
        for (nRoot = 2; nRoot < strPath.GetLength() && nSlashes < 2; ++nRoot)
            nSlashes += IsSlash(strPath[nRoot]) ? 1 : 0;
    }
    CString strRoot = strPath.Left(nRoot);
    const int nDots = 4; // "...\"
    if (nRoot + nDots + strName.GetLength() > nMax)
        return bAtLeastName ? strName : strPath.Left(nMax);
    // Whole components before the name, from the right, while they fit.
    int nTail = nName;
    for (int i = nName - 1; i > nRoot; --i) {
        if (IsSlash(strPath[i - 1])) {
            if (nRoot + nDots + (strPath.GetLength() - (i)) > nMax)
                break;
            nTail = i;
        }
    }
    return strRoot + "...\\" + strPath.Mid(nTail);
}

} // namespace

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex, LPCTSTR lpszCurDir, int nCurDir,
                                     BOOL bAtLeastName) const {
    if (nIndex < 0 || nIndex >= GetSize() || m_arrNames[static_cast<size_t>(nIndex)].IsEmpty())
        return FALSE;
    const CString& strPath = m_arrNames[static_cast<size_t>(nIndex)];
    if (lpszCurDir != nullptr && nCurDir > 0 && strPath.GetLength() > nCurDir + 1 &&
        IsSlash(strPath[nCurDir]) &&
        strPath.Left(nCurDir).CompareNoCase(CString(lpszCurDir, nCurDir)) == 0) {
        CString strRest = strPath.Mid(nCurDir + 1);
        if (strRest.FindOneOf("\\/") < 0) {
            strName = strRest;
            return TRUE;
        }
    }
    strName = AbbreviatePath(strPath, m_nMaxDisplayLength, bAtLeastName);
    return TRUE;
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI) {
    CMenu* pMenu = pCmdUI->m_pMenu;
    if (pMenu == nullptr)
        return;
    if (m_strOriginal.IsEmpty())
        pMenu->GetMenuString(pCmdUI->m_nID, m_strOriginal, MF_BYCOMMAND);
    if (m_arrNames.empty() || m_arrNames[0].IsEmpty()) {
        // Items of entries removed since the last update go; the first item
        // becomes the placeholder again.
        for (int i = 1; i < GetSize(); ++i)
            pMenu->DeleteMenu(pCmdUI->m_nID + static_cast<UINT>(i), MF_BYCOMMAND);
        if (!m_strOriginal.IsEmpty())
            pCmdUI->SetText(m_strOriginal);
        pCmdUI->Enable(FALSE);
        pCmdUI->m_nIndexMax = static_cast<UINT>(pMenu->GetMenuItemCount());
        return;
    }

    for (int i = 0; i < GetSize(); ++i)
        pMenu->DeleteMenu(pCmdUI->m_nID + static_cast<UINT>(i), MF_BYCOMMAND);
    char szCurDir[MAX_PATH] = "";
    int nCurDir = static_cast<int>(::GetCurrentDirectoryA(MAX_PATH, szCurDir));
    if (nCurDir >= MAX_PATH)
        nCurDir = 0;
    while (nCurDir > 0 && IsSlash(szCurDir[nCurDir - 1]))
        --nCurDir;

    UINT nIndex = pCmdUI->m_nIndex;
    for (int i = 0; i < GetSize(); ++i) {
        CString strName;
        if (!GetDisplayName(strName, i, szCurDir, nCurDir))
            break;
        strName.Replace("&", "&&");
        int nNumber = i + 1 + static_cast<int>(m_nStart);
        CString strText;
        if (nNumber < 10)
            strText.Format("&%d %s", nNumber, strName.GetString());
        else if (nNumber == 10)
            strText.Format("1&0 %s", strName.GetString());
        else
            strText.Format("%d %s", nNumber, strName.GetString());
        pMenu->InsertMenu(nIndex++, MF_STRING | MF_BYPOSITION, pCmdUI->m_nID + static_cast<UINT>(i),
                          strText);
    }
    // The updater's walk goes on after the items just inserted.
    pCmdUI->m_nIndex = nIndex - 1;
    pCmdUI->m_nIndexMax = static_cast<UINT>(pMenu->GetMenuItemCount());
    pCmdUI->m_bEnableChanged = TRUE;
}

void CRecentFileList::ReadList() {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    // Entries missing in the profile close up, so the list has no holes.
    size_t nNext = 0;
    for (size_t i = 0; i < m_arrNames.size(); ++i) {
        CString strEntry;
        strEntry.Format(m_strEntryFormat, static_cast<int>(i + 1));
        CString strPath = pApp->GetProfileString(m_strSectionName, strEntry);
        if (!strPath.IsEmpty())
            m_arrNames[nNext++] = strPath;
    }
    for (; nNext < m_arrNames.size(); ++nNext)
        m_arrNames[nNext].Empty();
}

void CRecentFileList::WriteList() {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    for (size_t i = 0; i < m_arrNames.size(); ++i) {
        CString strEntry;
        strEntry.Format(m_strEntryFormat, static_cast<int>(i + 1));
        pApp->WriteProfileString(m_strSectionName, strEntry,
                                 m_arrNames[i].IsEmpty() ? nullptr : m_arrNames[i].GetString());
    }
}
