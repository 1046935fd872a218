// ZipException.h: CZipException, the error that the ZIP archive classes raise.
//
// Thrown by pointer and deleted by whoever catches it (e->Delete()), like the
// framework's own exceptions. Failures of the framework's file class are not
// converted: they reach the caller as CFileException.
#pragma once

#include "framework/Exception.h"

class CZipException : public CException {
    DECLARE_DYNAMIC(CZipException)
public:
    // The codes 1 to 30 are the runtime library's error numbers.
    enum ZipErrors {
        noError = 0,
        genericError = 100,
        badZipFile = 101,
        badCrc = 102,
        noCallback = 103,
        noVolumeSize = 104,
        aborted = 105,
        abortedAction = 106,
        abortedSafely = 107,
        nonRemovable = 108,
        tooManyVolumes = 109,
        tooManyFiles = 110,
        tooLongData = 111,
        tooBigSize = 112,
        badPassword = 113,
        dirWithSize = 114,
        internalError = 115,
        fileError = 116,
        notRemoved = 117,
        notRenamed = 118,
        platfNotSupp = 119,
        cdirNotFound = 120,
        noZip64 = 121,
        noAES = 122,
        streamEnd = 500,
        needDict = 501,
        errNo = 502,
        streamError = 503,
        dataError = 504,
        memError = 505,
        bufError = 506,
        versionError = 507,
    };

    // The system error is the platform's last error at construction.
    explicit CZipException(int iCause = genericError, LPCSTR lpszZipName = nullptr);
    ~CZipException() override;

    // Makes a CZipException on the heap and throws the pointer.
    [[noreturn]] static void Raise(int iCause = genericError, LPCSTR lpszZipName = nullptr);
    // The description of a code; codes without one give "Unspecified error" when
    // bUseUnspecified is set, else the system's text for the current state.
    static CString DescribeError(int iCause, bool bUseUnspecified);
    // The system's text for the platform's current last error (read now), else
    // the runtime library's current error number described.
    static CString GetSystemErrorText();

    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError,
                         PUINT pnHelpContext = nullptr) const override;

    CString m_szFileName;
    int m_iCause;
    DWORD m_iSystemError;
};
