// Exception.cpp: the framework's exception classes and AfxThrow functions.
#include "Exception.h"
#include "AfxResource.h"

#include <cerrno>
#include <cstring>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)
IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)
IMPLEMENT_DYNAMIC(CUserException, CSimpleException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

namespace {

// Copies text into the caller's buffer as GetErrorMessage promises.
BOOL CopyMessage(LPCSTR text, LPSTR buffer, UINT nMax, PUINT pnHelpContext) {
    if (pnHelpContext != nullptr)
        *pnHelpContext = 0;
    if (buffer == nullptr || nMax == 0)
        return FALSE;
    size_t n = text ? std::strlen(text) : 0;
    if (n > nMax - 1)
        n = nMax - 1;
    if (n)
        std::memcpy(buffer, text, n);
    buffer[n] = '\0';
    return text != nullptr && text[0] != '\0';
}

// Replaces every "%1" in pattern by the file name (or "an unnamed file").
CString InsertFileName(LPCSTR pattern, const CString& fileName) {
    CString text(pattern);
    text.Replace("%1", fileName.IsEmpty() ? "an unnamed file" : fileName.GetString());
    return text;
}

} // namespace

// ---------------------------------------------------------------------------
CException::~CException() = default;

void CException::Delete() {
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
    return CopyMessage("", lpszError, nMaxError, pnHelpContext);
}

int CException::ReportError(UINT nType, UINT nMessageID) {
    char text[512];
    CString message;
    if (GetErrorMessage(text, sizeof text, nullptr))
        message = text;
    else if (nMessageID == 0 || !message.LoadString(nMessageID))
        message = "No error message is available.";
    char caption[MAX_PATH] = "Error";
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
        const char* base = std::strrchr(path, '\\');
        base = base ? base + 1 : path;
        lstrcpynA(caption, base, MAX_PATH);
        char* dot = std::strchr(caption, '.');
        if (dot != nullptr && dot != caption)
            *dot = '\0';
    }
    return MessageBoxA(GetActiveWindow(), message, caption, nType);
}

// ---------------------------------------------------------------------------
LPCSTR CSimpleException::GetMessageText() const {
    return "";
}

BOOL CSimpleException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
    return CopyMessage(GetMessageText(), lpszError, nMaxError, pnHelpContext);
}

LPCSTR CMemoryException::GetMessageText() const {
    return "Out of memory.";
}
LPCSTR CNotSupportedException::GetMessageText() const {
    return "An unsupported operation was attempted.";
}
LPCSTR CResourceException::GetMessageText() const {
    return "A required resource was unavailable.";
}
LPCSTR CUserException::GetMessageText() const {
    return "An unknown error has occurred.";
}
LPCSTR CInvalidArgException::GetMessageText() const {
    return "Encountered an improper argument.";
}

// ---------------------------------------------------------------------------
CFileException::CFileException(int cause, LONG lOsError, LPCSTR lpszArchiveName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName) {}

void CFileException::Construct(int cause, LONG lOsError, LPCSTR lpszArchiveName) {
    m_cause = cause;
    m_lOsError = lOsError;
    m_strFileName = lpszArchiveName;
}

int CFileException::OsErrorToException(LONG lOsError) {
    switch (static_cast<DWORD>(lOsError)) {
    case NO_ERROR:
        return none;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_INVALID_HANDLE:
    case ERROR_NO_MORE_FILES:
    case ERROR_DISK_CHANGE:
        return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_SAME_DEVICE:
    case ERROR_WRONG_DISK:
    case ERROR_DUP_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_BAD_NET_NAME:
    case ERROR_ALREADY_ASSIGNED:
    case ERROR_BUFFER_OVERFLOW:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_LEVEL:
    case ERROR_NO_VOLUME_LABEL:
    case ERROR_DIR_NOT_ROOT:
    case ERROR_LABEL_TOO_LONG:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_META_EXPANSION_TOO_LONG:
    case ERROR_DIRECTORY:
        return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
    case ERROR_SHARING_BUFFER_EXCEEDED:
    case ERROR_TOO_MANY_NAMES:
    case ERROR_TOO_MANY_SESS:
    case ERROR_NO_MORE_SEARCH_HANDLES:
        return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_INVALID_ACCESS:
    case ERROR_WRITE_PROTECT:
    case ERROR_WRITE_FAULT:
    case ERROR_NETWORK_BUSY:
    case ERROR_BAD_NET_RESP:
    case ERROR_NETNAME_DELETED:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_SHARING_PAUSED:
    case ERROR_REQ_NOT_ACCEP:
    case ERROR_FILE_EXISTS:
    case ERROR_CANNOT_MAKE:
    case ERROR_INVALID_PASSWORD:
    case ERROR_BUSY:
    case ERROR_ALREADY_EXISTS:
    case ERROR_SWAPERROR:
        return accessDenied;
    case ERROR_BAD_FORMAT:
    case ERROR_NOT_DOS_DISK:
    case ERROR_BAD_REM_ADAP:
    case ERROR_INVALID_TARGET_HANDLE:
    case ERROR_INVALID_ORDINAL:
    case ERROR_INVALID_EXE_SIGNATURE:
    case ERROR_BAD_EXE_FORMAT:
        return invalidFile;
    case ERROR_CURRENT_DIRECTORY:
    case ERROR_DIR_NOT_EMPTY:
        return removeCurrentDir;
    case ERROR_NO_SPOOL_SPACE:
        return directoryFull;
    case ERROR_BAD_LENGTH:
    case ERROR_SEEK:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_READ_FAULT:
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK_ON_DEVICE:
        return badSeek;
    case ERROR_BAD_UNIT:
    case ERROR_NOT_READY:
    case ERROR_BAD_COMMAND:
    case ERROR_CRC:
    case ERROR_ADAP_HDW_ERR:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_NET_WRITE_FAULT:
    case ERROR_INVALID_CATEGORY:
    case ERROR_OPERATION_ABORTED:
    case ERROR_IO_INCOMPLETE:
    case ERROR_IO_PENDING:
        return hardIO;
    case ERROR_SHARING_VIOLATION:
        return sharingViolation;
    case ERROR_LOCK_VIOLATION:
    case ERROR_DRIVE_LOCKED:
    case ERROR_LOCK_FAILED:
        return lockViolation;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
        return diskFull;
    case ERROR_HANDLE_EOF:
        return endOfFile;
    default:
        return genericException;
    }
}

int CFileException::ErrnoToException(int nErrno) {
    switch (nErrno) {
    case 0:
        return none;
    case EPERM:
    case EACCES:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case EDEADLK:
        return sharingViolation;
    case EMFILE:
        return tooManyOpenFiles;
    case ENOENT:
    case ENFILE:
        return fileNotFound;
    case ENOSPC:
        return diskFull;
    case EINVAL:
    case EIO:
        return hardIO;
    default:
        return genericException;
    }
}

void CFileException::ThrowOsError(LONG lOsError, LPCSTR lpszFileName) {
    throw new CFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

void CFileException::ThrowErrno(int nErrno, LPCSTR lpszFileName) {
    throw new CFileException(ErrnoToException(nErrno), nErrno, lpszFileName);
}

BOOL CFileException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
    static const char* const texts[] = {
        "No error occurred.",
        "An unknown error occurred while accessing %1.",
        "%1 was not found.",
        "%1 contains an invalid path.",
        "%1 could not be opened because there are too many open files.",
        "Access to %1 was denied.",
        "An incorrect file handle was associated with %1.",
        "%1 could not be removed because it is the current directory.",
        "%1 could not be created because the directory is full.",
        "Seek failed on %1",
        "A hardware I/O error was reported while accessing %1.",
        "A sharing violation occurred while accessing %1.",
        "A locking violation occurred while accessing %1.",
        "Disk full while accessing %1.",
        "An attempt was made to access %1 past its end.",
    };
    int cause = (m_cause >= 0 && m_cause <= endOfFile) ? m_cause : genericException;
    CString text = InsertFileName(texts[cause], m_strFileName);
    return CopyMessage(text, lpszError, nMaxError, pnHelpContext);
}

// ---------------------------------------------------------------------------
CArchiveException::CArchiveException(int cause, LPCSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName) {}

BOOL CArchiveException::GetErrorMessage(LPSTR lpszError, UINT nMaxError,
                                        PUINT pnHelpContext) const {
    static const char* const texts[] = {
        "No error occurred.",
        "An unexpected error occurred while reading %1.",
        "An attempt was made to write to the storage %1 being read.",
        "An attempt was made to access %1 past its end.",
        "An attempt was made to read from the storage %1 being written.",
        "%1 has an incorrect format.",
        "%1 contained an unexpected object.",
        "%1 contains an incorrect schema.",
        "The buffer of %1 is full.",
    };
    int cause = (m_cause >= 0 && m_cause <= bufferFull) ? m_cause : genericException;
    CString text = InsertFileName(texts[cause], m_strFileName);
    return CopyMessage(text, lpszError, nMaxError, pnHelpContext);
}

// ---------------------------------------------------------------------------
void AFXAPI AfxThrowMemoryException() {
    static CMemoryException s_memoryException(FALSE);
    throw &s_memoryException;
}

void AFXAPI AfxThrowNotSupportedException() {
    throw new CNotSupportedException;
}
void AFXAPI AfxThrowResourceException() {
    throw new CResourceException;
}
void AFXAPI AfxThrowUserException() {
    throw new CUserException;
}
void AFXAPI AfxThrowInvalidArgException() {
    throw new CInvalidArgException;
}

void AFXAPI AfxThrowFileException(int cause, LONG lOsError, LPCSTR lpszFileName) {
    throw new CFileException(cause, lOsError, lpszFileName);
}

void AFXAPI AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName) {
    throw new CArchiveException(cause, lpszArchiveName);
}
