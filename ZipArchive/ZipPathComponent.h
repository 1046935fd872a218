// ZipPathComponent.h: CZipPathComponent, a path split into prefix, drive, folder,
// title and extension, and the separator helpers of the ZIP classes.
#pragma once

#include "framework/AfxString.h"

class CZipPathComponent {
public:
    CZipPathComponent() = default;
    explicit CZipPathComponent(LPCSTR lpszFullPath) { Split(lpszFullPath); }
    virtual ~CZipPathComponent() = default;

    // A leading "\\?\unc\" (8), "\\?\" (4) or "\\" (2) is kept as the prefix.
    void Split(LPCSTR lpszFullPath);

    // prefix + drive + ('\' when both drive and folder) + folder
    CString FolderPath() const;
    // title, plus "." and the extension when there is one
    CString NameWithExtension() const;
    CString FullPath() const;
    CString PathWithoutDrive() const;
    const CString& Extension() const { return m_szFileExt; }
    const CString& Drive() const { return m_szDrive; }
    const CString& Folder() const { return m_szDirectory; }
    const CString& Title() const { return m_szFileTitle; }
    const CString& Prefix() const { return m_szPrefix; }
    void SetExtension(LPCSTR lpszExt); // stored without leading dots
    void SetTitle(LPCSTR lpszTitle) { m_szFileTitle = lpszTitle; }

    static bool IsSeparatorChar(char c) { return c == '\\' || c == '/'; }
    static bool EndsWithSeparator(const CString& szPath);
    static void TrimTrailingSeparators(CString& szPath);
    static void TrimLeadingSeparators(CString& szPath);
    static void AddTrailingSeparator(CString& szPath); // exactly one '\'

private:
    CString m_szDirectory;
    CString m_szFileTitle;
    CString m_szFileExt;
    CString m_szDrive;
    CString m_szPrefix;
};

// One of the framework string's four comparisons, as a pointer to member.
typedef int (CString::*ZIPSTRINGCOMPARE)(LPCSTR) const;
ZIPSTRINGCOMPARE SelectCompareFunction(bool bCaseSensitive, bool bCollate = true);
