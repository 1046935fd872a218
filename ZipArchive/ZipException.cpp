// ZipException.cpp: CZipException, its codes' descriptions and the system text.
#include "ZipException.h"

#include <cerrno>
#include <cstring>

IMPLEMENT_DYNAMIC(CZipException, CException)

namespace {

// The fixed descriptions; the codes that combine a text with the system's state
// (116 to 118, 502) and the unlisted codes are handled by DescribeError.
LPCSTR FixedDescription(int iCause) {
    switch (iCause) {
    case 1:
        return "Not super-user.";
    case 2:
        return "No such file or directory.";
    case 4:
        return "Interrupted system call.";
    case 5:
        return "I/O error.";
    case 6:
        return "No such device or address.";
    case 9:
        return "Bad file number.";
    case 12:
        return "Not enough space.";
    case 13:
        return "Permission denied.";
    case 14:
        return "Bad address.";
    case 17:
        return "File exists.";
    case 18:
        return "Cross-device link.";
    case 19:
        return "No such device.";
    case 20:
        return "Not a directory.";
    case 21:
        return "Is a directory.";
    case 22:
        return "Invalid argument.";
    case 23:
        return "File table overflow.";
    case 24:
        return "Too many open files.";
    case 27:
        return "File too large.";
    case 28:
        return "No space left on device.";
    case 29:
        return "Illegal seek.";
    case 30:
        return "Read-only file system.";
    case CZipException::badZipFile:
        return "Damaged or not a zip file.";
    case CZipException::badCrc:
        return "Crc is mismatched.";
    case CZipException::noCallback:
        return "There is no spanned archive callback object set.";
    case CZipException::noVolumeSize:
        return "The volume size was not defined for a split archive.";
    case CZipException::aborted:
        return "Volume change aborted in a segmented archive.";
    case CZipException::abortedAction:
        return "Action aborted.";
    case CZipException::abortedSafely:
        return "Action aborted safely.";
    case CZipException::nonRemovable:
        return "The device selected for the spanned archive is not removable.";
    case CZipException::tooManyVolumes:
        return "The limit of the maximum number of volumes has been reached.";
    case CZipException::tooManyFiles:
        return "The limit of the maximum number of files in an archive has been reached.";
    case CZipException::tooLongData:
        return "The filename, the comment or local or central extra field of the file added "
               "to the archive is too long.";
    case CZipException::tooBigSize:
        return "The file size is too large to be supported.";
    case CZipException::badPassword:
        return "An incorrect password set for the file being decrypted.";
    case CZipException::dirWithSize:
        return "The directory with a non-zero size found while testing.";
    case CZipException::internalError:
        return "An internal error.";
    case CZipException::platfNotSupp:
        return "Cannot create a file for the specified platform.";
    case CZipException::cdirNotFound:
        return "The central directory was not found in the archive (or you were trying to "
               "open not the last volume of a segmented archive).";
    case CZipException::noZip64:
        return "The Zip64 format has not been enabled for the library, but is required to "
               "use the archive.";
    case CZipException::noAES:
        return "WinZip AES encryption has not been enabled for the library, but is required "
               "to decompress the archive.";
    case CZipException::streamEnd:
        return "Zlib library error (end of stream).";
    case CZipException::streamError:
        return "Zlib library error (stream error).";
    case CZipException::dataError:
        return "Zlib library error (data error).";
    case CZipException::memError:
        return "Not enough memory.";
    case CZipException::bufError:
        return "Zlib library error (buffer error).";
    case CZipException::versionError:
        return "Zlib library error (version error).";
    default:
        return nullptr;
    }
}

// The runtime library's error number described as a code of the table. A number
// that would come back here (the system-text codes 116 to 118 and 502, which
// the C library also uses for its own errors) gets the plain fallback instead,
// so that describing never recurses without end.
CString DescribeErrno(int iErrno) {
    if (iErrno == 0 || iErrno == CZipException::errNo)
        iErrno = CZipException::genericError;
    LPCSTR lpszFixed = FixedDescription(iErrno);
    return lpszFixed != nullptr ? CString(lpszFixed) : CString("Unspecified error");
}

CString WithSystemText(LPCSTR lpszWhat) {
    CString szText;
    szText.Format("%s (%s).", lpszWhat, (LPCSTR)CZipException::GetSystemErrorText());
    return szText;
}

} // namespace

CZipException::CZipException(int iCause, LPCSTR lpszZipName)
    : m_iCause(iCause), m_iSystemError(::GetLastError()) {
    if (lpszZipName != nullptr)
        m_szFileName = lpszZipName;
}

CZipException::~CZipException() = default;

void CZipException::Raise(int iCause, LPCSTR lpszZipName) {
    // Taken before the allocation, which may touch the last error itself.
    DWORD uSystemError = ::GetLastError();
    CZipException* e = new CZipException(iCause, lpszZipName);
    e->m_iSystemError = uSystemError;
    throw e;
}

CString CZipException::DescribeError(int iCause, bool bUseUnspecified) {
    LPCSTR lpszFixed = FixedDescription(iCause);
    if (lpszFixed != nullptr)
        return CString(lpszFixed);
    switch (iCause) {
    case fileError:
        return WithSystemText("A file error occurred");
    case notRemoved:
        return WithSystemText("Error while removing a file");
    case notRenamed:
        return WithSystemText("Error while renaming a file");
    case errNo:
        return DescribeErrno(errno);
    default:
        return bUseUnspecified ? CString("Unspecified error") : GetSystemErrorText();
    }
}

CString CZipException::GetSystemErrorText() {
    DWORD uError = ::GetLastError();
    if (uError == 0)
        return DescribeErrno(errno);
    LPSTR lpMessage = nullptr;
    DWORD uLength = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, uError, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), (LPSTR)&lpMessage, 0, nullptr);
    CString szText;
    if (uLength != 0 && lpMessage != nullptr)
        szText = CString(lpMessage, (int)uLength);
    if (lpMessage != nullptr)
        ::LocalFree(lpMessage);
    // The system's texts end with a line break, which would split "(...)." apart.
    szText.TrimRight("\r\n");
    return szText;
}

BOOL CZipException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT) const {
    if (lpszError == nullptr || nMaxError == 0)
        return FALSE;
    CString szText = DescribeError(m_iCause, false);
    if (szText.IsEmpty()) {
        lpszError[0] = '\0';
        return FALSE;
    }
    UINT nCopy = (UINT)szText.GetLength();
    if (nCopy > nMaxError - 1)
        nCopy = nMaxError - 1;
    memcpy(lpszError, (LPCSTR)szText, nCopy);
    lpszError[nCopy] = '\0';
    return TRUE;
}
