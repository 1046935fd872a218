// WinApp.h: CWinApp, the application object (its profile in the registry, its
// recent-file list, message boxes and the wait cursor), CRecentFileList, the
// program's entry AfxWinMain, and the Afx accessors of the application.
//
// The program has exactly one CWinApp object, a static object of the derived
// application class; its constructor makes it AfxGetApp(). WinMain (AppMain.cpp)
// hands control to AfxWinMain, which runs InitInstance, then the message loop
// Run (which ends in ExitInstance), and returns ExitInstance's exit code.
//
// The profile lives under HKEY_CURRENT_USER, in the key
// Software\<m_pszRegistryKey>\<m_pszProfileName>\<section>; SetRegistryKey must
// run before any profile call.
#pragma once

#include "AfxResource.h"
#include "AfxString.h"
#include "CmdTarget.h"
#include "Collections.h"
#include "WinThread.h"

#include <windows.h>

#include <vector>

class CCmdUI;
class CDocTemplate;
class CDocument;
class CWnd;

// Framework resource and command ids used here.
#ifndef AFX_IDS_APP_TITLE
#define AFX_IDS_APP_TITLE 0xE000 // the application's title (string resource)
#endif
#ifndef ID_FILE_MRU_FILE1
#define ID_FILE_MRU_FILE1 0xE110 // the recent files' commands, one per entry
#define ID_FILE_MRU_FILE16 0xE11F
#endif
#ifndef AFX_ABBREV_FILENAME_LEN
#define AFX_ABBREV_FILENAME_LEN 30 // longest path a recent-file menu item shows
#endif

// The recently used files, most recent first, kept in the profile as the values
// entry format (for example "File%d", counting from 1) in one section.
class CRecentFileList {
public:
    CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize,
                    int nMaxDispLen = AFX_ABBREV_FILENAME_LEN);
    virtual ~CRecentFileList() = default;
    CRecentFileList(const CRecentFileList&) = delete;
    CRecentFileList& operator=(const CRecentFileList&) = delete;

    int GetSize() const { return static_cast<int>(m_arrNames.size()); }
    // The path at nIndex, empty past the used entries; an index out of range gives
    // an empty scratch string.
    CString& operator[](int nIndex);

    // Puts the full path first (an equal path, compared without case, moves up);
    // the oldest entry drops off a full list. Empty paths are ignored.
    virtual void Add(LPCTSTR lpszPathName);
    virtual void Remove(int nIndex);
    // The menu text of entry nIndex: the file name alone when the file lies in
    // lpszCurDir (its first nCurDir characters), else the path shortened to
    // m_nMaxDisplayLength with "..." (at least the file name when bAtLeastName).
    // FALSE for an empty entry.
    virtual BOOL GetDisplayName(CString& strName, int nIndex, LPCTSTR lpszCurDir, int nCurDir,
                                BOOL bAtLeastName = TRUE) const;
    // Replaces the menu item of pCmdUI (the first recent-file command) with one
    // item "&n name" per entry, or shows the item's original text disabled when
    // the list is empty.
    virtual void UpdateMenu(CCmdUI* pCmdUI);
    virtual void ReadList();
    virtual void WriteList();

    CString m_strSectionName;
    CString m_strEntryFormat;
    UINT m_nStart; // command id of entry 0 is ID_FILE_MRU_FILE1 + m_nStart
    int m_nMaxDisplayLength;
    CString m_strOriginal; // the placeholder item's text, kept at the first update

protected:
    std::vector<CString> m_arrNames;
    CString m_strScratch;
};

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    // Becomes AfxGetApp(); there must not be a second one at the same time.
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    // Set by AfxWinMain.
    HINSTANCE m_hInstance;
    LPTSTR m_lpCmdLine;
    int m_nCmdShow;
    // Owned, allocated with malloc (strdup): a replacement frees the old text
    // and stores a strdup'ed one. AfxWinMain fills m_pszAppName from the string
    // AFX_IDS_APP_TITLE (else the program's name) when the constructor got none.
    LPCTSTR m_pszAppName;
    LPCTSTR m_pszExeName;               // the program file's name without extension
    LPCTSTR m_pszRegistryKey;           // the company key below HKCU\Software; null: no profile
    LPCTSTR m_pszProfileName;           // the application key below it
    CRecentFileList* m_pRecentFileList; // owned; made by LoadStdProfileSettings

    // FALSE ends the program (ExitInstance still runs).
    BOOL InitInstance() override;
    // The message loop; with no main window there is nothing to run and it ends at once.
    int Run() override;
    // Saves the recent-file list; the exit code of the WM_QUIT.
    int ExitInstance() override;

    // The company key; the profile name becomes the application name at this moment.
    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey); // a string resource
    // Opened (created when missing) keys of the profile; the caller closes them.
    // Null without a registry key or when the registry refuses.
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCTSTR lpszSection);

    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
    // A null entry deletes the whole section, a null value the entry.
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    // *ppData gets a new BYTE[] of *pBytes bytes (the caller delete[]s it);
    // FALSE (and null, 0) when the value is missing or not binary.
    BOOL GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
    BOOL WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes);

    // Documents: forwarded to the process's document manager (AfxGetDocManager).
    // Takes ownership of the template.
    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& rPos) const;
    // The open document of that path, else the path opened; null on failure
    // (the manager has told the user).
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    virtual BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);
    // File New and File Open, for the application's message map.
    afx_msg void OnFileNew();
    afx_msg void OnFileOpen();

    // Reads the recent-file list of nMaxMRU entries (0: none) from the profile.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void SaveStdProfileSettings();
    virtual void AddToRecentFileList(LPCTSTR lpszPathName);

    // A message box owned by the main window's active popup, captioned with the
    // application name; without an icon in nType, OK boxes get the exclamation
    // mark and yes/no boxes the question mark. Help ids are not used (the
    // program has no help file).
    virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);
    // The counted wait cursor: 1 shows it, -1 takes one back (the cursor before
    // the first returns at zero), 0 shows it again when the count is positive.
    virtual void DoWaitCursor(int nCode);

    // Resources from AfxGetResourceHandle, the standard ones from the system.
    HICON LoadIcon(LPCTSTR lpszResourceName) const {
        return ::LoadIconA(AfxGetResourceHandle(), lpszResourceName);
    }
    HICON LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCEA(nIDResource)); }
    HICON LoadStandardIcon(LPCTSTR lpszIconName) const {
        return ::LoadIconA(nullptr, lpszIconName);
    }
    HCURSOR LoadCursor(LPCTSTR lpszResourceName) const {
        return ::LoadCursorA(AfxGetResourceHandle(), lpszResourceName);
    }
    HCURSOR LoadCursor(UINT nIDResource) const { return LoadCursor(MAKEINTRESOURCEA(nIDResource)); }
    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const {
        return ::LoadCursorA(nullptr, lpszCursorName);
    }

protected:
    afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);
    // Opens the recent file of the command; an entry that fails to open leaves
    // the list.
    afx_msg BOOL OnOpenRecentFile(UINT nID);

    int m_nWaitCursorCount;
    HCURSOR m_hcurWaitCursorRestore; // the cursor before the wait cursor

    DECLARE_MESSAGE_MAP()

private:
    // Fills the names and handles of the running program (AfxWinMain).
    void SetCurrentHandles(HINSTANCE hInstance, LPTSTR lpCmdLine, int nCmdShow);

    friend int AFXAPI AfxWinMain(HINSTANCE, HINSTANCE, LPTSTR, int);
};

// The program's entry after WinMain: runs the application object. -1 when
// there is none.
int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);

CWinApp* AFXAPI AfxGetApp();
// The main window of the calling thread's thread object: the application's on
// the thread that runs it, a user-interface thread's own, null on workers and
// on threads without a thread object (AfxGetApp()->m_pMainWnd is the application's).
CWnd* AFXAPI AfxGetMainWnd();
// The program's module (the application's m_hInstance once AfxWinMain ran).
HINSTANCE AFXAPI AfxGetInstanceHandle();
LPCTSTR AFXAPI AfxGetAppName();

// Through the application's DoMessageBox (a plain system box without one).
int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The text is string resource nIDPrompt (an empty text when it is missing).
int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));
