// Exception.h: the framework's exception classes and their AfxThrow functions.
//
// Exceptions are thrown as pointers and deleted by whoever handles them:
//     try { ... } catch (CException* e) { ...; e->Delete(); }
// Delete frees an exception made on the heap (auto-delete) and leaves a static one
// alone: AfxThrowMemoryException throws one static CMemoryException (no memory is
// needed to report that memory is short); every other AfxThrow* function throws a
// new heap object. Never `delete` an exception directly: call Delete.
//
// The old-style macros TRY / CATCH / AND_CATCH / END_CATCH / CATCH_ALL /
// AND_CATCH_ALL / END_CATCH_ALL delete the caught exception at the end of the
// handler themselves (do not call Delete inside them); THROW_LAST() rethrows it
// without deleting it.
//
// Texts: the framework's resources do not exist here, so the messages of
// GetErrorMessage are built in (English, as the framework's own); a file or
// archive exception inserts its file name, or "an unnamed file".
#pragma once

#include "Object.h"
#include "AfxString.h"

class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    CException() : m_bAutoDelete(TRUE) {}
    explicit CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete) {}
    ~CException() override;

    // Frees the exception when it is auto-deleting; otherwise does nothing.
    void Delete();

    // Copies the message, cut to nMaxError - 1 bytes and terminated, into
    // lpszError; *pnHelpContext (when given) becomes 0. FALSE without a buffer,
    // with nMaxError 0, or when there is no message (the buffer then holds "").
    virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError,
                                 PUINT pnHelpContext = nullptr) const;
    // Shows the message (or string resource nMessageID when there is none, or
    // "No error message is available.") in a message box of type nType over the
    // active window; returns the box's result.
    virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);

    BOOL m_bAutoDelete;
};

// An exception whose message is fixed by its class.
class CSimpleException : public CException {
    DECLARE_DYNAMIC(CSimpleException)
public:
    CSimpleException() = default;
    explicit CSimpleException(BOOL bAutoDelete) : CException(bAutoDelete) {}

    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError,
                         PUINT pnHelpContext = nullptr) const override;

protected:
    // The built-in message of the class; empty in this base.
    virtual LPCSTR GetMessageText() const;
};

class CMemoryException : public CSimpleException {
    DECLARE_DYNAMIC(CMemoryException)
public:
    CMemoryException() = default;
    explicit CMemoryException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {}

protected:
    LPCSTR GetMessageText() const override; // "Out of memory."
};

class CNotSupportedException : public CSimpleException {
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    CNotSupportedException() = default;
    explicit CNotSupportedException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {}

protected:
    LPCSTR GetMessageText() const override; // "An unsupported operation was attempted."
};

class CResourceException : public CSimpleException {
    DECLARE_DYNAMIC(CResourceException)
public:
    CResourceException() = default;
    explicit CResourceException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {}

protected:
    LPCSTR GetMessageText() const override; // "A required resource was unavailable."
};

// The exception that ends an operation the user stopped (after being told why).
class CUserException : public CSimpleException {
    DECLARE_DYNAMIC(CUserException)
public:
    CUserException() = default;
    explicit CUserException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {}

protected:
    LPCSTR GetMessageText() const override; // "An unknown error has occurred."
};

class CInvalidArgException : public CSimpleException {
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    CInvalidArgException() = default;
    explicit CInvalidArgException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {}

protected:
    LPCSTR GetMessageText() const override; // "Encountered an improper argument."
};

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = CFileException::none, LONG lOsError = -1,
                            LPCSTR lpszArchiveName = nullptr);
    void Construct(int cause = CFileException::none, LONG lOsError = -1,
                   LPCSTR lpszArchiveName = nullptr);

    // The cause for a Win32 error code (GetLastError), or for a C runtime errno.
    static int OsErrorToException(LONG lOsError);
    static int ErrnoToException(int nErrno);
    // Throw a new CFileException with the cause of the error, that error, the file.
    [[noreturn]] static void ThrowOsError(LONG lOsError, LPCSTR lpszFileName = nullptr);
    [[noreturn]] static void ThrowErrno(int nErrno, LPCSTR lpszFileName = nullptr);

    // The message of the cause with the file name, e.g. "C:\a.zel was not found.".
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError,
                         PUINT pnHelpContext = nullptr) const override;

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema,
        bufferFull
    };

    explicit CArchiveException(int cause = CArchiveException::none,
                               LPCSTR lpszArchiveName = nullptr);

    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError,
                         PUINT pnHelpContext = nullptr) const override;

    int m_cause;
    CString m_strFileName;
};

[[noreturn]] void AFXAPI AfxThrowMemoryException();
[[noreturn]] void AFXAPI AfxThrowNotSupportedException();
[[noreturn]] void AFXAPI AfxThrowResourceException();
[[noreturn]] void AFXAPI AfxThrowUserException();
[[noreturn]] void AFXAPI AfxThrowInvalidArgException();
[[noreturn]] void AFXAPI AfxThrowFileException(int cause, LONG lOsError = -1,
                                               LPCSTR lpszFileName = nullptr);
[[noreturn]] void AFXAPI AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName = nullptr);

// ---------------------------------------------------------------------------
// Old-style exception macros. The handler deletes the caught exception at its end.

class CAfxExceptionDeleter {
public:
    explicit CAfxExceptionDeleter(CException* e) : m_e(e) {}
    ~CAfxExceptionDeleter() {
        if (m_e)
            m_e->Delete();
    }
    void Release() { m_e = nullptr; }
    CAfxExceptionDeleter(const CAfxExceptionDeleter&) = delete;
    CAfxExceptionDeleter& operator=(const CAfxExceptionDeleter&) = delete;

private:
    CException* m_e;
};

#define TRY                                                                                        \
    {                                                                                              \
        try {
#define CATCH(class_name, e)                                                                       \
    }                                                                                              \
    catch (class_name * e) {                                                                       \
        ::CAfxExceptionDeleter _afxExceptionDeleter(e);
#define AND_CATCH(class_name, e) CATCH(class_name, e)
#define END_CATCH                                                                                  \
    }                                                                                              \
    }
#define CATCH_ALL(e) CATCH(CException, e)
#define AND_CATCH_ALL(e) CATCH(CException, e)
#define END_CATCH_ALL END_CATCH
#define THROW(e) throw e
#define THROW_LAST()                                                                               \
    do {                                                                                           \
        _afxExceptionDeleter.Release();                                                            \
        throw;                                                                                     \
    } while (0)
