// ZipSplitNamesHandler.cpp: volume names of split and binary split archives.
#include "ZipSplitNamesHandler.h"

#include <algorithm>

namespace {

// The position of the extension's dot in a path, or -1 when the last path
// component has no dot.
int ExtensionDot(const CString& szPath) {
    const int iDot = szPath.ReverseFind('.');
    if (iDot < 0)
        return -1;
    const int iSep = std::max(szPath.ReverseFind('\\'), szPath.ReverseFind('/'));
    return iDot > iSep ? iDot : -1;
}

CString Extension(const CString& szPath) {
    const int iDot = ExtensionDot(szPath);
    return iDot < 0 ? CString() : szPath.Mid(iDot + 1);
}

CString WithExtension(const CString& szPath, const CString& szExt) {
    const int iDot = ExtensionDot(szPath);
    CString szResult = iDot < 0 ? szPath : szPath.Left(iDot);
    if (!szExt.IsEmpty()) {
        szResult += '.';
        szResult += szExt;
    }
    return szResult;
}

} // namespace

void CZipSplitNamesHandler::Prepare(LPCSTR) {}

DWORD CZipSplitNamesHandler::VolumeNumber(LPCSTR) const {
    return 0;
}

void CZipRegularSplitNamesHandler::Prepare(LPCSTR lpszArchiveName) {
    m_szExt = Extension(lpszArchiveName);
}

CString CZipRegularSplitNamesHandler::VolumeName(LPCSTR lpszArchiveName, DWORD uVolume,
                                                 int iFlags) const {
    if (iFlags & flLast)
        return WithExtension(lpszArchiveName, m_szExt);
    CString szExt;
    szExt.Format(uVolume <= 99 ? "z%.2u" : "z%u", static_cast<unsigned>(uVolume));
    return WithExtension(lpszArchiveName, szExt);
}

CString CZipBinSplitNamesHandler::VolumeName(LPCSTR lpszArchiveName, DWORD uVolume,
                                             int iFlags) const {
    CString szExt;
    szExt.Format(uVolume <= 999 ? "%.3u" : "%u", static_cast<unsigned>(uVolume));
    if (iFlags & flExisting)
        return WithExtension(lpszArchiveName, szExt);
    CString szName(lpszArchiveName);
    szName += '.';
    szName += szExt;
    return szName;
}

DWORD CZipBinSplitNamesHandler::VolumeNumber(LPCSTR lpszVolumePath) const {
    const CString szExt = Extension(lpszVolumePath);
    if (szExt.GetLength() < 3)
        return 0;
    ULONGLONG uNumber = 0;
    for (int i = 0; i < szExt.GetLength(); i++) {
        const char c = szExt[i];
        if (c < '0' || c > '9')
            return 0;
        uNumber = uNumber * 10 + static_cast<ULONGLONG>(c - '0');
        if (uNumber > 0xFFFFFFFFULL)
            return 0;
    }
    return static_cast<DWORD>(uNumber);
}
