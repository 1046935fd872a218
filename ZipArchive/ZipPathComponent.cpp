// ZipPathComponent.cpp: splitting paths and the separator helpers.
#include "ZipPathComponent.h"

namespace {

// The drive, folder, title and extension of a path as the runtime library's
// path splitter gives them: the folder keeps its separators and the extension
// its dot.
void SplitParts(const CString& szPath, CString& szDrive, CString& szDir, CString& szTitle,
                CString& szExt) {
    CString szRest = szPath;
    if (szRest.GetLength() >= 2 && szRest[1] == ':') {
        szDrive = szRest.Left(2);
        szRest = szRest.Mid(2);
    }
    int iLastSep = -1;
    for (int i = 0; i < szRest.GetLength(); i++)
        if (CZipPathComponent::IsSeparatorChar(szRest[i]))
            iLastSep = i;
    szDir = szRest.Left(iLastSep + 1);
    CString szName = szRest.Mid(iLastSep + 1);
    int iDot = szName.ReverseFind('.');
    if (iDot < 0) {
        szTitle = szName;
    } else {
        szTitle = szName.Left(iDot);
        szExt = szName.Mid(iDot);
    }
}

} // namespace

void CZipPathComponent::Split(LPCSTR lpszFullPath) {
    static const char kLongUncPrefix[] = "\\\\?\\unc\\";
    CString szPath = lpszFullPath != nullptr ? lpszFullPath : "";
    int iMatched = 0;
    while (iMatched < 8 && iMatched < szPath.GetLength()) {
        char c = szPath[iMatched];
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
        if (c != kLongUncPrefix[iMatched])
            break;
        iMatched++;
    }
    m_szPrefix.Empty();
    m_szDrive.Empty();
    m_szDirectory.Empty();
    m_szFileTitle.Empty();
    m_szFileExt.Empty();
    if (iMatched == 2 || iMatched == 4 || iMatched == 8) {
        m_szPrefix = szPath.Left(iMatched);
        szPath = szPath.Mid(iMatched);
    }
    SplitParts(szPath, m_szDrive, m_szDirectory, m_szFileTitle, m_szFileExt);
    // Both separators: a folder given with forward slashes must not keep one at
    // its end, or the joined paths would hold doubled separators.
    TrimLeadingSeparators(m_szDirectory);
    TrimTrailingSeparators(m_szDirectory);
    m_szFileExt.TrimLeft('.');
}

CString CZipPathComponent::FolderPath() const {
    CString szPath = m_szPrefix + m_szDrive;
    if (!m_szDrive.IsEmpty() && !m_szDirectory.IsEmpty())
        szPath += '\\';
    return szPath + m_szDirectory;
}

CString CZipPathComponent::NameWithExtension() const {
    if (m_szFileExt.IsEmpty())
        return m_szFileTitle;
    return m_szFileTitle + "." + m_szFileExt;
}

CString CZipPathComponent::FullPath() const {
    CString szPath = FolderPath();
    CString szName = NameWithExtension();
    if (!szName.IsEmpty()) {
        if (szPath.IsEmpty())
            szPath = ".";
        szPath += '\\';
        szPath += szName;
    }
    return szPath;
}

CString CZipPathComponent::PathWithoutDrive() const {
    CString szName = NameWithExtension();
    CString szPath = m_szDirectory;
    if (!szPath.IsEmpty() && !szName.IsEmpty())
        szPath += '\\';
    return szPath + szName;
}

void CZipPathComponent::SetExtension(LPCSTR lpszExt) {
    m_szFileExt = lpszExt != nullptr ? lpszExt : "";
    m_szFileExt.TrimLeft('.');
}

bool CZipPathComponent::EndsWithSeparator(const CString& szPath) {
    int iLength = szPath.GetLength();
    return iLength > 0 && IsSeparatorChar(szPath[iLength - 1]);
}

void CZipPathComponent::TrimTrailingSeparators(CString& szPath) {
    szPath.TrimRight("\\/");
}

void CZipPathComponent::TrimLeadingSeparators(CString& szPath) {
    szPath.TrimLeft("\\/");
}

void CZipPathComponent::AddTrailingSeparator(CString& szPath) {
    TrimTrailingSeparators(szPath);
    szPath += '\\';
}

ZIPSTRINGCOMPARE SelectCompareFunction(bool bCaseSensitive, bool bCollate) {
    if (bCollate)
        return bCaseSensitive ? &CString::Collate : &CString::CollateNoCase;
    return bCaseSensitive ? &CString::Compare : &CString::CompareNoCase;
}
