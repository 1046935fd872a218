// File.h: CFile, the framework's binary file, and CMemFile, a file in memory
// (no CStdioFile or CFileFind: the program uses neither).
//
// How CFile works here
// --------------------
// A file opened by name is opened with POSIX calls (open, read, write, lseek,
// ftruncate, fsync, close) on the Unix path that Wine gives its Windows path
// (UnixPath.h). Opening, reading and closing a small file costs a few system
// calls (10 µs where a call costs over 1 µs) against 0.1 to 0.45 ms for Wine's
// CreateFileA + ReadFile + CloseHandle, which go through the Wine server
// (bench/bench_File.cpp). A file of the folder of the last open is opened on its
// Unix path without asking Wine (OpenInLastFolder), and a reader that denies
// writers takes its sharing with one lock call and one test: a search's header
// read is an open, an fstat, the two lock calls, the read and a close.
// A path without a Unix form (devices such as NUL or COM1, pipes, UNC paths) or
// naming something that is not a regular file or folder is opened with
// CreateFileA instead, and then behaves exactly as Win32 does.
//
// Behaviour kept from Win32 and the framework:
// - Open modes, creation and truncation as the framework maps them to CreateFile:
//   modeCreate = CREATE_ALWAYS (truncates), modeCreate|modeNoTruncate = OPEN_ALWAYS,
//   neither = OPEN_EXISTING. shareCompat (0) is exclusive, as in the framework.
// - Errors carry the Win32 error code Windows would report (m_lOsError) and the
//   cause the framework derives from it: a missing file fileNotFound
//   (ERROR_FILE_NOT_FOUND); a missing folder on the way badPath
//   (ERROR_PATH_NOT_FOUND; the framework has no separate "path not found" cause);
//   a folder opened as a file, writing a read-only file (no write permission bits,
//   which is how Wine keeps FILE_ATTRIBUTE_READONLY; also for root) or reading a
//   write-only file accessDenied (ERROR_ACCESS_DENIED); a sharing conflict
//   sharingViolation (ERROR_SHARING_VIOLATION); a full disk diskFull
//   (ERROR_DISK_FULL); a seek before the start badSeek (ERROR_NEGATIVE_SEEK).
// - Read returns fewer bytes at the end of the file and 0 past it, never an error.
// - SetLength leaves the position at the new length (the framework seeks there).
// - GetFilePath is the full path (GetFullPathName) of the name given to Open.
//
// Sharing (shareExclusive, shareDenyWrite, shareDenyRead, shareDenyNone) is kept
// between every CFile of every process on this machine, and between CFiles of one
// process on any threads, with open-file-description byte-range locks (Linux OFD
// locks, in a range far beyond any file's data). The Win32 rules hold: an open
// fails with sharingViolation when an earlier open denies the access it asks for,
// or when it would deny an access an earlier open holds; Remove and Rename fail
// with sharingViolation while any CFile has the file open (the framework never
// grants delete sharing). What is NOT enforced:
// - opens through Win32 (CreateFileA, including files this class itself opens
//   through Win32) and POSIX opens do not see each other's sharing: a file that a
//   CFile holds exclusively can still be opened with CreateFileA, and the other
//   way round; DeleteFileA and MoveFileA ignore CFile opens;
// - other programs ignore the locks: non-Wine programs, and Wine programs that
//   open the file through Win32;
// - on a file system without byte-range locks (ENOLCK, EINVAL), and for a file
//   opened write-only whose permissions deny reading, the open succeeds unguarded.
// If two conflicting opens race, both may fail; never do both succeed.
//
// Other differences: modeNoInherit has no effect (a Unix descriptor is never
// inherited by a Win32 child process; it is always close-on-exec), osNoBuffer is
// ignored, osWriteThrough writes synchronously (O_DSYNC), osRandomAccess and
// osSequentialScan become read-ahead hints.
//
// m_hFile tells whether the file is open (it equals hFileNull when closed) but
// is not a Win32 handle: for Win32 calls that need one (file mappings, for
// example) use (HANDLE)file or GetOsHandle(), which makes a Win32 handle for a
// POSIX-opened file on first use (one call into the Wine server) and keeps it
// until Close. It shares the file position with the CFile.
//
// A CFile is not safe for simultaneous use from two threads.
#pragma once

#include "AfxString.h"
#include "Object.h"

#include <windows.h>

class CFileException;

// What GetStatus reports. The framework keeps the times as CTime, which does not
// exist here: they are FILETIME values (UTC, zero when unknown).
struct CFileStatus {
    FILETIME m_ctime; // creation
    FILETIME m_mtime; // last write
    FILETIME m_atime; // last access
    ULONGLONG m_size; // bytes (0 for a folder)
    BYTE m_attribute; // CFile::Attribute bits (FILE_ATTRIBUTE_* without NORMAL)
    BYTE _m_padding;
    char m_szFullName[MAX_PATH]; // full path; empty when it could not be made
};

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags {
        modeRead = 0x00000,
        modeWrite = 0x00001,
        modeReadWrite = 0x00002,
        shareCompat = 0x00000, // exclusive, as in the framework
        shareExclusive = 0x00010,
        shareDenyWrite = 0x00020,
        shareDenyRead = 0x00030,
        shareDenyNone = 0x00040,
        modeNoInherit = 0x00080,
        modeCreate = 0x01000,
        modeNoTruncate = 0x02000,
        typeText = 0x04000, // for derived classes; CFile ignores both
        typeBinary = 0x08000,
        osNoBuffer = 0x10000,
        osWriteThrough = 0x20000,
        osRandomAccess = 0x40000,
        osSequentialScan = 0x80000,
    };
    enum Attribute {
        normal = 0x00,
        readOnly = 0x01,
        hidden = 0x02,
        system = 0x04,
        volume = 0x08,
        directory = 0x10,
        archive = 0x20,
    };
    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

    // INVALID_HANDLE_VALUE, as in the framework.
    static const HANDLE hFileNull;

    // What m_hFile holds: hFileNull while closed, another value while open. It
    // compares with HANDLE values but does not convert to one (see the top).
    class FileId {
    public:
        bool operator==(HANDLE h) const { return m_value == h; }
        bool operator!=(HANDLE h) const { return m_value != h; }
        friend bool operator==(HANDLE h, const FileId& id) { return id.m_value == h; }
        friend bool operator!=(HANDLE h, const FileId& id) { return id.m_value != h; }

    private:
        friend class CFile;
        HANDLE m_value = INVALID_HANDLE_VALUE;
    };

    CFile();
    // Wraps an open Win32 handle; the CFile does not close it at destruction
    // (Close does).
    explicit CFile(HANDLE hFile);
    // Opens, throwing the CFileException of Open on failure.
    CFile(LPCSTR lpszFileName, UINT nOpenFlags);
    // Closes an open file that it opened itself, ignoring errors.
    ~CFile() override;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens the file. FALSE on failure, with *pError (when given) filled with the
    // cause, the Win32 error code and the name as given. A file still open in this
    // object is closed first. A name of MAX_PATH characters or more fails with
    // badPath.
    virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);

    // Reads up to nCount bytes; fewer at the end of the file. Throws on errors.
    virtual UINT Read(void* lpBuf, UINT nCount);
    // Writes all nCount bytes or throws (diskFull when the disk fills up).
    virtual void Write(const void* lpBuf, UINT nCount);
    // Moves the position (from begin, current or end); returns the new position.
    // Beyond the end is allowed; before the start throws badSeek.
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    // Truncates or extends (with zeros) the file; the position becomes dwNewLen.
    virtual void SetLength(ULONGLONG dwNewLen);
    // Commits the file's data to disk (fsync). Nothing when closed.
    virtual void Flush();
    // Closes the file; throws when the system reports an error (the file is closed
    // all the same). The name is forgotten.
    virtual void Close();
    // Closes without reporting errors; nothing when closed.
    virtual void Abort();
    // A second CFile on the same open file (shared position and sharing state).
    virtual CFile* Duplicate() const;

    // Full path, name with extension, and name without extension.
    virtual CString GetFilePath() const { return m_strFileName; }
    virtual CString GetFileName() const;
    virtual CString GetFileTitle() const;
    virtual void SetFilePath(LPCSTR lpszNewName);

    // Status of the open file (FALSE when closed), or of a path (FALSE when it does
    // not exist; a name with wildcards reports the first match, as FindFirstFile).
    BOOL GetStatus(CFileStatus& rStatus) const;
    static BOOL GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus);
    // MoveFileA / DeleteFileA, throwing CFileException on failure; sharingViolation
    // while a CFile has the file open.
    static void Rename(LPCSTR lpszOldName, LPCSTR lpszNewName);
    static void Remove(LPCSTR lpszFileName);

    // A Win32 handle of the open file (see the top); hFileNull when closed or when
    // none can be made.
    HANDLE GetOsHandle() const;
    operator HANDLE() const { return GetOsHandle(); }
    // The Unix descriptor of a POSIX-opened file, else -1.
    int GetUnixFd() const { return m_fd; }

    FileId m_hFile;
    BOOL m_bCloseOnDelete;
    CString m_strFileName;

private:
    void CloseHandles(bool* pFailed, DWORD* pError);
    [[noreturn]] void ThrowLastErrno() const;

    int m_fd;                    // POSIX-opened file, else -1
    HANDLE m_hWin32;             // Win32-opened or attached file, else hFileNull
    mutable HANDLE m_hMadeForFd; // Win32 handle made for m_fd on demand, else null
    bool m_bCanRead;             // the access asked for at Open
    bool m_bCanWrite;
};

// A file in memory that grows in steps of nGrowBytes (the framework's CMemFile).
// Reading past the data returns fewer bytes; seeking past the data grows the
// buffer (not the length); writing past the data fills the gap with zeros.
class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT nGrowBytes = 1024);
    // Works on the caller's buffer, which it never frees. With nGrowBytes 0 the
    // length is nBufferSize and the file cannot grow (a write beyond throws
    // CMemoryException); otherwise the file starts empty and grows into new
    // memory of its own.
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    ~CMemFile() override;

    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    // Hands the buffer to the caller (free it with free() when the file allocated
    // it) and empties the file.
    BYTE* Detach();

    BOOL Open(LPCSTR, UINT, CFileException* = nullptr) override { return FALSE; }
    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    // From the end only backwards (a positive offset throws badSeek); before the
    // start throws badSeek.
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override { return m_nPosition; }
    ULONGLONG GetLength() const override { return m_nFileSize; }
    void SetLength(ULONGLONG dwNewLen) override;
    void Flush() override {}
    // Frees a buffer the file allocated; afterwards the file is empty and cannot
    // grow any more.
    void Close() override;
    void Abort() override { Close(); }
    // Not supported (CNotSupportedException).
    CFile* Duplicate() const override;

protected:
    virtual BYTE* Alloc(SIZE_T nBytes);
    virtual BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes);
    virtual void Free(BYTE* lpMem);
    virtual void GrowFile(SIZE_T dwNewLen);

    SIZE_T m_nGrowBytes;
    SIZE_T m_nPosition;
    SIZE_T m_nBufferSize;
    SIZE_T m_nFileSize;
    BYTE* m_lpBuffer;
    BOOL m_bAutoDelete;
};
