// KWSysUtils.h: CKWSysUtils, the process-wide holder of the company and product
// names and the builder of every data-folder path.
//
// Folders, each path ending with a backslash; the product level is left out
// when the product name is empty:
//   per-user configuration:  <user application data>\company\product\Configuration
//   all-users configuration: <common application data>\company\product\Configuration
//   log:                     <common application data>\company\product\Log
// Paths are built afresh at every request, and a missing folder is created then.
// The shell's folder functions come from "Shell32.dll" at run time.
#pragma once

#include "KWString.h"

#include <windows.h>

class CKWSysUtils {
public:
    enum { FOLDER_USER_APPDATA = 0, FOLDER_COMMON_APPDATA = 1 };

    // Creates the instance on first use. Takes no lock: the first call comes
    // from start-up, before any worker thread runs.
    static CKWSysUtils* GetInstance();
    // Deleted last at exit; a later GetInstance makes a new instance.
    virtual ~CKWSysUtils();
    CKWSysUtils(const CKWSysUtils&) = delete;
    CKWSysUtils& operator=(const CKWSysUtils&) = delete;

    // Set once at start-up, before any worker thread asks for a folder.
    void SetNames(const CKWString& company, const CKWString& product);
    // Copies into buffers of the given size, cutting a name that does not fit.
    void GetNames(char* company, int companySize, char* product, int productSize) const;
    // The crash-report sender's server, port, user and password: always empty,
    // since no report server is configured. Each buffer holds size bytes.
    void GetReportSenderSettings(char* server, char* port, char* user, char* password,
                                 int size) const;

    // A FOLDER_* base folder, created by the shell when missing. False, with
    // folder unchanged, for an unknown kind or when the shell fails.
    bool GetSpecialFolder(int kind, CKWString& folder) const;

    CKWString GetConfigurationFolder(const CKWString& company, const CKWString& product,
                                     bool allUsers) const;
    CKWString GetConfigurationFolder(bool allUsers) const;
    CKWString GetLogFolder() const;
    // False, with an empty buffer, when the path does not fit in size bytes.
    bool CopyConfigurationFolder(char* buffer, int size, bool allUsers) const;
    bool CopyLogFolder(char* buffer, int size) const;

private:
    typedef HRESULT(WINAPI* GetFolderPathProc)(HWND, int, HANDLE, DWORD, LPSTR);
    typedef int(WINAPI* CreateDirectoryExProc)(HWND, LPCSTR, const SECURITY_ATTRIBUTES*);

    CKWSysUtils();
    CKWString BuildFolder(int kind, const CKWString& company, const CKWString& product,
                          const char* leaf) const;

    static CKWSysUtils* s_instance;

    HMODULE m_shell;                         // owns; null when Shell32 could not be loaded
    GetFolderPathProc m_getFolderPath;       // from m_shell, or null
    CreateDirectoryExProc m_createDirectory; // from m_shell, or null
    CKWString m_company;                     // "Brennix" until set
    CKWString m_product;                     // empty until set
};
