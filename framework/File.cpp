// File.cpp: CFile over POSIX calls with a Win32 fallback, and CMemFile (File.h).
#include "File.h"

#include "Exception.h"
#include "UnixPath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

// ntdll: a Win32 handle for a Unix descriptor (the server keeps its own copy of
// the descriptor, which shares the open file description with ours).
extern "C" NTSTATUS CDECL wine_server_fd_to_handle(int fd, unsigned int access,
                                                   unsigned int attributes, HANDLE* handle);

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CMemFile, CFile)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {

// ---------------------------------------------------------------------------
// Errors

// The Win32 error that Windows (and Wine) reports for what errno says.
DWORD Win32ErrorFromErrno(int err, bool creating) {
    switch (err) {
    case 0:
        return NO_ERROR;
    case ENOENT:
        return creating ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EBADF:
        return ERROR_ACCESS_DENIED;
    case EROFS:
        return ERROR_WRITE_PROTECT;
    case EEXIST:
        return ERROR_FILE_EXISTS;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ERROR_DISK_FULL;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EAGAIN:
    case ETXTBSY:
        return ERROR_SHARING_VIOLATION;
    case EBUSY:
        return ERROR_BUSY;
    case ELOOP:
        return ERROR_CANT_RESOLVE_FILENAME;
    case ESTALE:
        return ERROR_NETNAME_DELETED;
    case EIO:
        return ERROR_IO_DEVICE;
    default:
        return ERROR_GEN_FAILURE;
    }
}

void FillException(CFileException* pError, DWORD osError, LPCSTR name) {
    if (pError == nullptr)
        return;
    pError->m_lOsError = static_cast<LONG>(osError);
    pError->m_cause = CFileException::OsErrorToException(static_cast<LONG>(osError));
    pError->m_strFileName = name;
}

// ---------------------------------------------------------------------------
// Sharing between our processes: shared OFD locks on four bytes far beyond any
// file's data. Every open holds a shared lock on the bytes of what it does (read,
// write) and of what it denies (read, write); it then asks whether anyone else
// holds a byte that conflicts with it. Locks are taken before the check, so of two
// conflicting opens at least one sees the other. Each run of adjacent bytes costs
// a call, so the bytes lie in the order that makes the commonest opens one run to
// hold and one to test: a reader that denies writers (every header read of a
// search) holds read and deny-write and tests write and deny-read.

const off_t kShareBase = 0x7FFFFFFFFFFFFF00LL;
constexpr unsigned kAccessRead = 1, kDenyWrite = 2, kAccessWrite = 4, kDenyRead = 8, kAllShare = 15;

struct ShareRequest {
    bool read, write, shareRead, shareWrite;
    unsigned Held() const {
        return (read ? kAccessRead : 0) | (write ? kAccessWrite : 0) | (shareRead ? 0 : kDenyRead) |
               (shareWrite ? 0 : kDenyWrite);
    }
    // The bytes whose holders would conflict with this open.
    unsigned Conflicting() const {
        return (read ? kDenyRead : 0) | (write ? kDenyWrite : 0) | (shareRead ? 0 : kAccessRead) |
               (shareWrite ? 0 : kAccessWrite);
    }
};

// Calls fcntl(cmd) for every run of consecutive bits of mask. For F_OFD_GETLK,
// *pConflict tells whether any run is locked by another open. -1 with errno on
// failure.
int LockRuns(int fd, int cmd, short type, unsigned mask, bool* pConflict) {
    for (unsigned bit = 0; bit < 4;) {
        if (!(mask & (1u << bit))) {
            ++bit;
            continue;
        }
        unsigned first = bit;
        while (bit < 4 && (mask & (1u << bit)))
            ++bit;
        struct flock fl;
        std::memset(&fl, 0, sizeof fl);
        fl.l_type = type;
        fl.l_whence = SEEK_SET;
        fl.l_start = kShareBase + first;
        fl.l_len = bit - first;
        if (::fcntl(fd, cmd, &fl) < 0)
            return -1;
        if (cmd == F_OFD_GETLK && fl.l_type != F_UNLCK) {
            *pConflict = true;
            return 0;
        }
    }
    return 0;
}

void ReleaseShare(int fd) {
    int saved = errno;
    LockRuns(fd, F_OFD_SETLK, F_UNLCK, kAllShare, nullptr);
    errno = saved;
}

// NO_ERROR when the open may go on (also when the file system has no locks),
// ERROR_SHARING_VIOLATION when it conflicts with another open.
DWORD AcquireShare(int fd, const ShareRequest& request) {
    if (LockRuns(fd, F_OFD_SETLK, F_RDLCK, request.Held(), nullptr) < 0) {
        int err = errno;
        ReleaseShare(fd);
        // Someone holds an exclusive lock there: not ours, but a conflict all the same.
        return (err == EAGAIN || err == EACCES) ? ERROR_SHARING_VIOLATION : NO_ERROR;
    }
    bool conflict = false;
    if (LockRuns(fd, F_OFD_GETLK, F_WRLCK, request.Conflicting(), &conflict) < 0) {
        ReleaseShare(fd);
        return NO_ERROR;
    }
    if (conflict) {
        ReleaseShare(fd);
        return ERROR_SHARING_VIOLATION;
    }
    return NO_ERROR;
}

// ERROR_SHARING_VIOLATION while any CFile has the file open, else NO_ERROR (also
// when that cannot be told).
DWORD CheckNotOpenByUs(LPCSTR windowsPath) {
    std::string unixPath;
    if (!UnixPathFromWindows(windowsPath, unixPath))
        return NO_ERROR;
    int fd = ::open(unixPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return NO_ERROR;
    DWORD result = NO_ERROR;
    struct stat st;
    bool conflict = false;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
        LockRuns(fd, F_OFD_GETLK, F_WRLCK, kAllShare, &conflict) == 0 && conflict)
        result = ERROR_SHARING_VIOLATION;
    ::close(fd);
    return result;
}

// ---------------------------------------------------------------------------
// Paths and times

FILETIME FileTimeFromTimespec(const struct timespec& ts) {
    // 100-ns units since 1601-01-01.
    ULONGLONG t =
        static_cast<ULONGLONG>(ts.tv_sec) * 10000000ULL + ts.tv_nsec / 100 + 116444736000000000ULL;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(t);
    ft.dwHighDateTime = static_cast<DWORD>(t >> 32);
    return ft;
}

// The text after the last '\', '/' or ':'.
LPCSTR FileNamePart(LPCSTR path) {
    LPCSTR name = path;
    for (LPCSTR p = path; *p; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/' || *p == ':')
            name = p + 1;
    }
    return name;
}

void StatusFromFindData(CFileStatus& rStatus, DWORD attributes, DWORD sizeHigh, DWORD sizeLow,
                        const FILETIME& created, const FILETIME& written,
                        const FILETIME& accessed) {
    rStatus.m_attribute = static_cast<BYTE>(attributes & ~FILE_ATTRIBUTE_NORMAL);
    rStatus.m_size = (static_cast<ULONGLONG>(sizeHigh) << 32) | sizeLow;
    rStatus.m_ctime = created;
    rStatus.m_mtime = written;
    rStatus.m_atime = accessed;
}

// Marks m_hFile of a file open through its Unix descriptor; never a Win32 handle.
HANDLE PosixFileId(int fd) {
    return reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(0x4F58000000000000ULL) |
                                    static_cast<UINT_PTR>(fd));
}

} // namespace

// ---------------------------------------------------------------------------
// CFile

CFile::CFile()
    : m_bCloseOnDelete(FALSE), m_fd(-1), m_hWin32(hFileNull), m_hMadeForFd(nullptr),
      m_bCanRead(false), m_bCanWrite(false) {}

CFile::CFile(HANDLE hFile) : CFile() {
    if (hFile != hFileNull && hFile != nullptr) {
        m_hWin32 = hFile;
        m_hFile.m_value = hFile;
        m_bCanRead = m_bCanWrite = true; // unknown: Win32 reports what the handle lacks
    }
}

CFile::CFile(LPCSTR lpszFileName, UINT nOpenFlags) : CFile() {
    CFileException* error = new CFileException;
    if (!Open(lpszFileName, nOpenFlags, error))
        throw error;
    error->Delete();
}

CFile::~CFile() {
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        Abort();
    else if (m_hMadeForFd != nullptr)
        ::CloseHandle(m_hMadeForFd);
}

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
    if (m_hFile != hFileNull)
        Abort();
    nOpenFlags &= ~static_cast<UINT>(typeBinary);
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
    if (pError != nullptr) {
        pError->m_cause = CFileException::none;
        pError->m_lOsError = 0;
    }

    if (lpszFileName == nullptr || std::strlen(lpszFileName) >= MAX_PATH) {
        FillException(pError, ERROR_FILENAME_EXCED_RANGE, lpszFileName);
        return FALSE;
    }
    char full[MAX_PATH];
    DWORD fullLength = ::GetFullPathNameA(lpszFileName, MAX_PATH, full, nullptr);
    if (fullLength == 0) {
        DWORD err = ::GetLastError();
        FillException(pError, err ? err : ERROR_PATH_NOT_FOUND, lpszFileName);
        return FALSE;
    }
    if (fullLength >= MAX_PATH) {
        FillException(pError, ERROR_FILENAME_EXCED_RANGE, lpszFileName);
        return FALSE;
    }

    ShareRequest request{};
    switch (nOpenFlags & 3) {
    case modeRead:
        request.read = true;
        break;
    case modeWrite:
        request.write = true;
        break;
    case modeReadWrite:
        request.read = request.write = true;
        break;
    default:
        FillException(pError, ERROR_INVALID_PARAMETER, lpszFileName);
        return FALSE;
    }
    switch (nOpenFlags & 0x70) {
    case shareCompat:
    case shareExclusive:
        break;
    case shareDenyWrite:
        request.shareRead = true;
        break;
    case shareDenyRead:
        request.shareWrite = true;
        break;
    case shareDenyNone:
        request.shareRead = request.shareWrite = true;
        break;
    default:
        FillException(pError, ERROR_INVALID_PARAMETER, lpszFileName);
        return FALSE;
    }
    const bool create = (nOpenFlags & modeCreate) != 0;
    const bool truncate = create && !(nOpenFlags & modeNoTruncate);

    // Through Win32 (the framework's own call), for paths without a Unix form and
    // for what is neither a regular file nor a folder.
    auto openWin32 = [&]() -> BOOL {
        SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, (nOpenFlags & modeNoInherit) == 0};
        DWORD access = (request.read ? GENERIC_READ : 0) | (request.write ? GENERIC_WRITE : 0);
        DWORD share =
            (request.shareRead ? FILE_SHARE_READ : 0) | (request.shareWrite ? FILE_SHARE_WRITE : 0);
        DWORD disposition = create ? (truncate ? CREATE_ALWAYS : OPEN_ALWAYS) : OPEN_EXISTING;
        DWORD attributes = FILE_ATTRIBUTE_NORMAL;
        if (nOpenFlags & osNoBuffer)
            attributes |= FILE_FLAG_NO_BUFFERING;
        if (nOpenFlags & osWriteThrough)
            attributes |= FILE_FLAG_WRITE_THROUGH;
        if (nOpenFlags & osRandomAccess)
            attributes |= FILE_FLAG_RANDOM_ACCESS;
        if (nOpenFlags & osSequentialScan)
            attributes |= FILE_FLAG_SEQUENTIAL_SCAN;
        HANDLE h =
            ::CreateFileA(lpszFileName, access, share, &sa, disposition, attributes, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            FillException(pError, ::GetLastError(), lpszFileName);
            return FALSE;
        }
        m_hWin32 = h;
        m_hFile.m_value = h;
        m_bCanRead = request.read;
        m_bCanWrite = request.write;
        m_bCloseOnDelete = TRUE;
        m_strFileName = full;
        return TRUE;
    };

    // Read access is taken even for write-only opens when the permissions allow
    // it: the sharing locks need it. What the caller may do is checked by us.
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    if (nOpenFlags & osWriteThrough)
        flags |= O_DSYNC;
    const bool needWrite = request.write || truncate;
    const int access = needWrite ? O_RDWR : O_RDONLY;
    int fd = -1;
    std::string unixPath;
    if (!OpenInLastFolder(full, flags | access, &fd)) {
        DWORD translateError = 0;
        if (!UnixPathOfFileToOpen(full, unixPath, &translateError)) {
            // Wine answers these two exactly as CreateFileA would, without its cost.
            if (translateError == ERROR_PATH_NOT_FOUND || translateError == ERROR_INVALID_NAME) {
                FillException(pError, translateError, lpszFileName);
                return FALSE;
            }
            return openWin32();
        }
        fd = ::open(unixPath.c_str(), flags | access | (create ? O_CREAT : 0), 0666);
    }
    bool lockable = true;
    if (fd < 0 && errno == EACCES && needWrite && !request.read) {
        // No read access, so no sharing locks. The first open may have found the
        // file without translating its path.
        if (unixPath.empty() && !UnixPathOfFileToOpen(full, unixPath))
            errno = EACCES;
        else
            fd = ::open(unixPath.c_str(), flags | O_WRONLY | (create ? O_CREAT : 0), 0666);
        lockable = false;
    }
    if (fd < 0) {
        FillException(pError, Win32ErrorFromErrno(errno, create), lpszFileName);
        return FALSE;
    }

    struct stat st;
    DWORD failure = NO_ERROR;
    if (::fstat(fd, &st) < 0)
        failure = Win32ErrorFromErrno(errno, false);
    else if (S_ISDIR(st.st_mode))
        failure = ERROR_ACCESS_DENIED;
    else if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return openWin32();
    } else if (needWrite && (st.st_mode & 0222) == 0)
        failure = ERROR_ACCESS_DENIED; // FILE_ATTRIBUTE_READONLY, as Wine keeps it
    else if (lockable)
        failure = AcquireShare(fd, request);
    if (failure == NO_ERROR && truncate && st.st_size != 0 && ::ftruncate(fd, 0) < 0)
        failure = Win32ErrorFromErrno(errno, false);
    if (failure != NO_ERROR) {
        ::close(fd);
        FillException(pError, failure, lpszFileName);
        return FALSE;
    }
    if (nOpenFlags & osRandomAccess)
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_RANDOM);
    else if (nOpenFlags & osSequentialScan)
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);

    m_fd = fd;
    m_hFile.m_value = PosixFileId(fd);
    m_bCanRead = request.read;
    m_bCanWrite = request.write;
    m_bCloseOnDelete = TRUE;
    m_strFileName = full;
    return TRUE;
}

void CFile::ThrowLastErrno() const {
    CFileException::ThrowOsError(static_cast<LONG>(Win32ErrorFromErrno(errno, false)),
                                 m_strFileName);
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
    if (nCount == 0)
        return 0;
    if (lpBuf == nullptr)
        AfxThrowInvalidArgException();
    if (m_fd >= 0) {
        if (!m_bCanRead)
            CFileException::ThrowOsError(ERROR_ACCESS_DENIED, m_strFileName);
        char* p = static_cast<char*>(lpBuf);
        size_t total = 0;
        while (total < nCount) {
            ssize_t got = ::read(m_fd, p + total, nCount - total);
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                ThrowLastErrno();
            }
            if (got == 0)
                break;
            total += static_cast<size_t>(got);
        }
        return static_cast<UINT>(total);
    }
    DWORD got = 0;
    if (!::ReadFile(m_hWin32, lpBuf, nCount, &got, nullptr))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
    return got;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
    if (nCount == 0)
        return;
    if (lpBuf == nullptr)
        AfxThrowInvalidArgException();
    if (m_fd >= 0) {
        if (!m_bCanWrite)
            CFileException::ThrowOsError(ERROR_ACCESS_DENIED, m_strFileName);
        const char* p = static_cast<const char*>(lpBuf);
        size_t total = 0;
        while (total < nCount) {
            ssize_t put = ::write(m_fd, p + total, nCount - total);
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                ThrowLastErrno();
            }
            if (put == 0)
                AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
            total += static_cast<size_t>(put);
        }
        return;
    }
    DWORD put = 0;
    if (!::WriteFile(m_hWin32, lpBuf, nCount, &put, nullptr))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
    if (put != nCount)
        AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
    if (nFrom > end)
        CFileException::ThrowOsError(ERROR_INVALID_PARAMETER, m_strFileName);
    if (m_fd >= 0) {
        static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
        off_t position = ::lseek(m_fd, static_cast<off_t>(lOff), whence[nFrom]);
        if (position < 0) {
            if (errno == EINVAL)
                CFileException::ThrowOsError(ERROR_NEGATIVE_SEEK, m_strFileName);
            ThrowLastErrno();
        }
        return static_cast<ULONGLONG>(position);
    }
    LARGE_INTEGER distance, position;
    distance.QuadPart = lOff;
    if (!::SetFilePointerEx(m_hWin32, distance, &position, nFrom))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
    return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::GetPosition() const {
    if (m_fd >= 0) {
        off_t position = ::lseek(m_fd, 0, SEEK_CUR);
        if (position < 0)
            ThrowLastErrno();
        return static_cast<ULONGLONG>(position);
    }
    LARGE_INTEGER zero, position;
    zero.QuadPart = 0;
    if (!::SetFilePointerEx(m_hWin32, zero, &position, FILE_CURRENT))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
    return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::GetLength() const {
    if (m_fd >= 0) {
        struct stat st;
        if (::fstat(m_fd, &st) < 0)
            ThrowLastErrno();
        return static_cast<ULONGLONG>(st.st_size);
    }
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(m_hWin32, &size))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
    return static_cast<ULONGLONG>(size.QuadPart);
}

void CFile::SetLength(ULONGLONG dwNewLen) {
    if (m_fd >= 0 && !m_bCanWrite)
        CFileException::ThrowOsError(ERROR_ACCESS_DENIED, m_strFileName);
    if (dwNewLen > 0x7FFFFFFFFFFFFFFFULL)
        CFileException::ThrowOsError(ERROR_INVALID_PARAMETER, m_strFileName);
    Seek(static_cast<LONGLONG>(dwNewLen), begin);
    if (m_fd >= 0) {
        int rc;
        do
            rc = ::ftruncate(m_fd, static_cast<off_t>(dwNewLen));
        while (rc < 0 && errno == EINTR);
        if (rc < 0)
            ThrowLastErrno();
        return;
    }
    if (!::SetEndOfFile(m_hWin32))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
}

void CFile::Flush() {
    if (m_hFile == hFileNull)
        return;
    if (m_fd >= 0) {
        // Windows refuses to flush a handle without write access; so do we.
        if (!m_bCanWrite)
            CFileException::ThrowOsError(ERROR_ACCESS_DENIED, m_strFileName);
        if (::fsync(m_fd) < 0)
            ThrowLastErrno();
        return;
    }
    if (!::FlushFileBuffers(m_hWin32))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
}

void CFile::CloseHandles(bool* pFailed, DWORD* pError) {
    if (m_hMadeForFd != nullptr) {
        ::CloseHandle(m_hMadeForFd);
        m_hMadeForFd = nullptr;
    }
    if (m_fd >= 0) {
        // The descriptor is gone even when close reports an error (Linux).
        if (::close(m_fd) < 0 && errno != EINTR && pFailed != nullptr) {
            *pFailed = true;
            *pError = Win32ErrorFromErrno(errno, false);
        }
        m_fd = -1;
    }
    if (m_hWin32 != hFileNull) {
        if (!::CloseHandle(m_hWin32) && pFailed != nullptr) {
            *pFailed = true;
            *pError = ::GetLastError();
        }
        m_hWin32 = hFileNull;
    }
    m_hFile.m_value = hFileNull;
    m_bCanRead = m_bCanWrite = false;
}

void CFile::Close() {
    bool failed = false;
    DWORD error = NO_ERROR;
    CloseHandles(&failed, &error);
    m_bCloseOnDelete = FALSE;
    CString name = m_strFileName;
    m_strFileName.Empty();
    if (failed)
        CFileException::ThrowOsError(static_cast<LONG>(error), name);
}

void CFile::Abort() {
    CloseHandles(nullptr, nullptr);
    m_strFileName.Empty();
}

CFile* CFile::Duplicate() const {
    if (m_hFile == hFileNull)
        CFileException::ThrowOsError(ERROR_INVALID_HANDLE, m_strFileName);
    CFile* copy = new CFile;
    if (m_fd >= 0) {
        int fd = ::fcntl(m_fd, F_DUPFD_CLOEXEC, 0);
        if (fd < 0) {
            int err = errno;
            delete copy;
            CFileException::ThrowOsError(static_cast<LONG>(Win32ErrorFromErrno(err, false)),
                                         m_strFileName);
        }
        copy->m_fd = fd;
        copy->m_hFile.m_value = PosixFileId(fd);
    } else {
        HANDLE h = nullptr;
        if (!::DuplicateHandle(::GetCurrentProcess(), m_hWin32, ::GetCurrentProcess(), &h, 0, FALSE,
                               DUPLICATE_SAME_ACCESS)) {
            DWORD err = ::GetLastError();
            delete copy;
            CFileException::ThrowOsError(static_cast<LONG>(err), m_strFileName);
        }
        copy->m_hWin32 = h;
        copy->m_hFile.m_value = h;
    }
    copy->m_bCanRead = m_bCanRead;
    copy->m_bCanWrite = m_bCanWrite;
    copy->m_bCloseOnDelete = m_bCloseOnDelete;
    copy->m_strFileName = m_strFileName;
    return copy;
}

HANDLE CFile::GetOsHandle() const {
    if (m_hWin32 != hFileNull)
        return m_hWin32;
    if (m_fd < 0)
        return hFileNull;
    if (m_hMadeForFd == nullptr) {
        unsigned int access = SYNCHRONIZE | FILE_READ_ATTRIBUTES;
        if (m_bCanRead)
            access |= FILE_GENERIC_READ;
        if (m_bCanWrite)
            access |= FILE_GENERIC_WRITE;
        HANDLE h = nullptr;
        if (wine_server_fd_to_handle(m_fd, access, 0, &h) != 0 || h == nullptr)
            return hFileNull;
        m_hMadeForFd = h;
    }
    return m_hMadeForFd;
}

CString CFile::GetFileName() const {
    return CString(FileNamePart(m_strFileName));
}

CString CFile::GetFileTitle() const {
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    if (dot > 0)
        name.Truncate(dot);
    return name;
}

void CFile::SetFilePath(LPCSTR lpszNewName) {
    m_strFileName = lpszNewName;
}

BOOL CFile::GetStatus(CFileStatus& rStatus) const {
    std::memset(&rStatus, 0, sizeof rStatus);
    lstrcpynA(rStatus.m_szFullName, m_strFileName, MAX_PATH);
    if (m_hFile == hFileNull)
        return TRUE;
    WIN32_FILE_ATTRIBUTE_DATA data;
    const bool haveAttributes = !m_strFileName.IsEmpty() &&
                                ::GetFileAttributesExA(m_strFileName, GetFileExInfoStandard, &data);
    if (m_fd >= 0) {
        struct stat st;
        if (::fstat(m_fd, &st) < 0)
            return FALSE;
        rStatus.m_size = static_cast<ULONGLONG>(st.st_size);
        rStatus.m_mtime = FileTimeFromTimespec(st.st_mtim);
        rStatus.m_atime = FileTimeFromTimespec(st.st_atim);
        rStatus.m_ctime = haveAttributes ? data.ftCreationTime : rStatus.m_mtime;
    } else {
        LARGE_INTEGER size;
        if (!::GetFileTime(m_hWin32, &rStatus.m_ctime, &rStatus.m_atime, &rStatus.m_mtime) ||
            !::GetFileSizeEx(m_hWin32, &size))
            return FALSE;
        rStatus.m_size = static_cast<ULONGLONG>(size.QuadPart);
    }
    rStatus.m_attribute = haveAttributes ? static_cast<BYTE>(data.dwFileAttributes) : 0;
    return TRUE;
}

BOOL CFile::GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus) {
    std::memset(&rStatus, 0, sizeof rStatus);
    if (lpszFileName == nullptr)
        return FALSE;
    DWORD n = ::GetFullPathNameA(lpszFileName, MAX_PATH, rStatus.m_szFullName, nullptr);
    if (n == 0 || n >= MAX_PATH) {
        rStatus.m_szFullName[0] = '\0';
        return FALSE;
    }
    // The framework asks FindFirstFile, which finds no folder named with a trailing
    // separator (nor a drive root) and takes wildcards as a pattern.
    size_t length = std::strlen(lpszFileName);
    if (length == 0 || lpszFileName[length - 1] == '\\' || lpszFileName[length - 1] == '/')
        return FALSE;
    if (std::strpbrk(lpszFileName, "*?") != nullptr) {
        WIN32_FIND_DATAA found;
        HANDLE find = ::FindFirstFileA(lpszFileName, &found);
        if (find == INVALID_HANDLE_VALUE)
            return FALSE;
        ::FindClose(find);
        StatusFromFindData(rStatus, found.dwFileAttributes, found.nFileSizeHigh, found.nFileSizeLow,
                           found.ftCreationTime, found.ftLastWriteTime, found.ftLastAccessTime);
        return TRUE;
    }
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(lpszFileName, GetFileExInfoStandard, &data))
        return FALSE;
    StatusFromFindData(rStatus, data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow,
                       data.ftCreationTime, data.ftLastWriteTime, data.ftLastAccessTime);
    return TRUE;
}

void CFile::Rename(LPCSTR lpszOldName, LPCSTR lpszNewName) {
    DWORD sharing = CheckNotOpenByUs(lpszOldName);
    if (sharing != NO_ERROR)
        CFileException::ThrowOsError(static_cast<LONG>(sharing), lpszOldName);
    if (!::MoveFileA(lpszOldName, lpszNewName))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), lpszOldName);
}

void CFile::Remove(LPCSTR lpszFileName) {
    DWORD sharing = CheckNotOpenByUs(lpszFileName);
    if (sharing != NO_ERROR)
        CFileException::ThrowOsError(static_cast<LONG>(sharing), lpszFileName);
    if (!::DeleteFileA(lpszFileName))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), lpszFileName);
}

// ---------------------------------------------------------------------------
// CMemFile

CMemFile::CMemFile(UINT nGrowBytes)
    : m_nGrowBytes(nGrowBytes), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0),
      m_lpBuffer(nullptr), m_bAutoDelete(TRUE) {}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
    : m_nGrowBytes(0), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(nullptr),
      m_bAutoDelete(FALSE) {
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile() {
    if (m_lpBuffer != nullptr)
        Close();
}

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) {
    if (lpBuffer == nullptr && nBufferSize != 0)
        AfxThrowInvalidArgException();
    if (m_lpBuffer != nullptr)
        Close();
    m_nGrowBytes = nGrowBytes;
    m_nPosition = 0;
    m_nBufferSize = nBufferSize;
    m_nFileSize = nGrowBytes == 0 ? nBufferSize : 0;
    m_lpBuffer = lpBuffer;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach() {
    BYTE* buffer = m_lpBuffer;
    m_lpBuffer = nullptr;
    m_nFileSize = 0;
    m_nBufferSize = 0;
    m_nPosition = 0;
    return buffer;
}

BYTE* CMemFile::Alloc(SIZE_T nBytes) {
    return static_cast<BYTE*>(std::malloc(nBytes));
}

BYTE* CMemFile::Realloc(BYTE* lpMem, SIZE_T nBytes) {
    return static_cast<BYTE*>(std::realloc(lpMem, nBytes));
}

void CMemFile::Free(BYTE* lpMem) {
    std::free(lpMem);
}

void CMemFile::GrowFile(SIZE_T dwNewLen) {
    if (dwNewLen <= m_nBufferSize)
        return;
    if (m_nGrowBytes == 0)
        AfxThrowMemoryException();
    SIZE_T newSize = m_nBufferSize;
    while (newSize < dwNewLen)
        newSize += m_nGrowBytes;
    BYTE* grown;
    if (m_lpBuffer == nullptr)
        grown = Alloc(newSize);
    else if (m_bAutoDelete)
        grown = Realloc(m_lpBuffer, newSize);
    else {
        // The caller's buffer is never reallocated or freed: move to memory of our own.
        grown = Alloc(newSize);
        if (grown != nullptr && m_nFileSize != 0)
            std::memcpy(grown, m_lpBuffer, m_nFileSize);
    }
    if (grown == nullptr)
        AfxThrowMemoryException();
    m_lpBuffer = grown;
    m_nBufferSize = newSize;
    m_bAutoDelete = TRUE;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount) {
    if (nCount == 0)
        return 0;
    if (lpBuf == nullptr)
        AfxThrowInvalidArgException();
    if (m_nPosition >= m_nFileSize)
        return 0;
    SIZE_T available = m_nFileSize - m_nPosition;
    UINT got = available < nCount ? static_cast<UINT>(available) : nCount;
    std::memcpy(lpBuf, m_lpBuffer + m_nPosition, got);
    m_nPosition += got;
    return got;
}

void CMemFile::Write(const void* lpBuf, UINT nCount) {
    if (nCount == 0)
        return;
    if (lpBuf == nullptr)
        AfxThrowInvalidArgException();
    if (m_nPosition + nCount < m_nPosition)
        AfxThrowMemoryException();
    if (m_nPosition + nCount > m_nBufferSize)
        GrowFile(m_nPosition + nCount);
    if (m_nPosition > m_nFileSize)
        std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    std::memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
    m_nPosition += nCount;
    if (m_nPosition > m_nFileSize)
        m_nFileSize = m_nPosition;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom) {
    LONGLONG position;
    switch (nFrom) {
    case begin:
        position = lOff;
        break;
    case current:
        position = static_cast<LONGLONG>(m_nPosition) + lOff;
        break;
    case end:
        if (lOff > 0)
            AfxThrowFileException(CFileException::badSeek);
        position = static_cast<LONGLONG>(m_nFileSize) + lOff;
        break;
    default:
        return m_nPosition;
    }
    if (position < 0)
        AfxThrowFileException(CFileException::badSeek);
    if (static_cast<ULONGLONG>(position) > m_nFileSize)
        GrowFile(static_cast<SIZE_T>(position));
    m_nPosition = static_cast<SIZE_T>(position);
    return m_nPosition;
}

void CMemFile::SetLength(ULONGLONG dwNewLen) {
    if (dwNewLen > 0xFFFFFFFFULL)
        AfxThrowMemoryException();
    if (dwNewLen > m_nBufferSize)
        GrowFile(static_cast<SIZE_T>(dwNewLen));
    if (dwNewLen > m_nFileSize)
        std::memset(m_lpBuffer + m_nFileSize, 0, static_cast<SIZE_T>(dwNewLen) - m_nFileSize);
    if (dwNewLen < m_nPosition)
        m_nPosition = static_cast<SIZE_T>(dwNewLen);
    m_nFileSize = static_cast<SIZE_T>(dwNewLen);
}

void CMemFile::Close() {
    m_nGrowBytes = 0;
    m_nPosition = 0;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    if (m_lpBuffer != nullptr && m_bAutoDelete)
        Free(m_lpBuffer);
    m_lpBuffer = nullptr;
}

CFile* CMemFile::Duplicate() const {
    AfxThrowNotSupportedException();
}
