// Tests of CZipException: the descriptions of the codes, the system-text forms,
// Raise and GetErrorMessage.
#include "native/gtest.h"

#include "ZipException.h"

#include <windows.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace {

// The system's own text for a Win32 error, without its closing line break.
std::string SystemText(DWORD uError) {
    char szBuffer[512] = {};
    DWORD uLength = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, uError, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                   szBuffer, sizeof(szBuffer), nullptr);
    std::string text(szBuffer, uLength);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

std::string Describe(int iCause, bool bUseUnspecified) {
    return (LPCSTR)CZipException::DescribeError(iCause, bUseUnspecified);
}

struct FixedCase {
    int iCause;
    const char* lpszText;
};

const FixedCase kFixed[] = {
    {1, "Not super-user."},
    {2, "No such file or directory."},
    {4, "Interrupted system call."},
    {5, "I/O error."},
    {6, "No such device or address."},
    {9, "Bad file number."},
    {12, "Not enough space."},
    {13, "Permission denied."},
    {14, "Bad address."},
    {17, "File exists."},
    {18, "Cross-device link."},
    {19, "No such device."},
    {20, "Not a directory."},
    {21, "Is a directory."},
    {22, "Invalid argument."},
    {23, "File table overflow."},
    {24, "Too many open files."},
    {27, "File too large."},
    {28, "No space left on device."},
    {29, "Illegal seek."},
    {30, "Read-only file system."},
    {101, "Damaged or not a zip file."},
    {102, "Crc is mismatched."},
    {103, "There is no spanned archive callback object set."},
    {104, "The volume size was not defined for a split archive."},
    {105, "Volume change aborted in a segmented archive."},
    {106, "Action aborted."},
    {107, "Action aborted safely."},
    {108, "The device selected for the spanned archive is not removable."},
    {109, "The limit of the maximum number of volumes has been reached."},
    {110, "The limit of the maximum number of files in an archive has been reached."},
    {111, "The filename, the comment or local or central extra field of the file added to the "
          "archive is too long."},
    {112, "The file size is too large to be supported."},
    {113, "An incorrect password set for the file being decrypted."},
    {114, "The directory with a non-zero size found while testing."},
    {115, "An internal error."},
    {119, "Cannot create a file for the specified platform."},
    {120, "The central directory was not found in the archive (or you were trying to open not "
          "the last volume of a segmented archive)."},
    {121, "The Zip64 format has not been enabled for the library, but is required to use the "
          "archive."},
    {122, "WinZip AES encryption has not been enabled for the library, but is required to "
          "decompress the archive."},
    {500, "Zlib library error (end of stream)."},
    {503, "Zlib library error (stream error)."},
    {504, "Zlib library error (data error)."},
    {505, "Not enough memory."},
    {506, "Zlib library error (buffer error)."},
    {507, "Zlib library error (version error)."},
};

TEST(ZipExceptionTest, FixedCodesHaveTheirDescriptionsWhateverTheSystemState) {
    for (const FixedCase& c : kFixed) {
        SetLastError(ERROR_ACCESS_DENIED);
        EXPECT_EQ(Describe(c.iCause, false), c.lpszText) << "code " << c.iCause;
        EXPECT_EQ(Describe(c.iCause, true), c.lpszText) << "code " << c.iCause;
    }
}

TEST(ZipExceptionTest, UnlistedCodesFallBackToUnspecifiedOrTheSystemText) {
    const int kUnlisted[] = {0, 3, 100, 123, 501, 508};
    const std::string szDenied = SystemText(ERROR_ACCESS_DENIED);
    ASSERT_FALSE(szDenied.empty());
    for (int iCause : kUnlisted) {
        SetLastError(ERROR_ACCESS_DENIED);
        EXPECT_EQ(Describe(iCause, true), "Unspecified error") << "code " << iCause;
        SetLastError(ERROR_ACCESS_DENIED);
        EXPECT_EQ(Describe(iCause, false), szDenied) << "code " << iCause;
        // No system error: the runtime library's error number, 0 meaning generic.
        SetLastError(0);
        errno = 0;
        EXPECT_EQ(Describe(iCause, false), "Unspecified error") << "code " << iCause;
        SetLastError(0);
        errno = EACCES;
        EXPECT_EQ(Describe(iCause, false), "Permission denied.") << "code " << iCause;
    }
}

TEST(ZipExceptionTest, SystemTextCodesCombineTheirTextWithTheCurrentLastError) {
    struct Case {
        int iCause;
        const char* lpszWhat;
    } const kCases[] = {
        {116, "A file error occurred"},
        {117, "Error while removing a file"},
        {118, "Error while renaming a file"},
    };
    const std::string szDenied = SystemText(ERROR_ACCESS_DENIED);
    const std::string szMissing = SystemText(ERROR_FILE_NOT_FOUND);
    ASSERT_NE(szDenied, szMissing);
    for (const Case& c : kCases) {
        SetLastError(ERROR_ACCESS_DENIED);
        EXPECT_EQ(Describe(c.iCause, true), std::string(c.lpszWhat) + " (" + szDenied + ").");
        SetLastError(ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(Describe(c.iCause, false), std::string(c.lpszWhat) + " (" + szMissing + ").");
        SetLastError(0);
        errno = ENOSPC;
        EXPECT_EQ(Describe(c.iCause, false),
                  std::string(c.lpszWhat) + " (No space left on device.).");
    }
}

TEST(ZipExceptionTest, RuntimeErrorCodeDescribesErrnoWithoutRecursing) {
    struct Case {
        int iErrno;
        const char* lpszText;
    } const kCases[] = {
        {EACCES, "Permission denied."},
        {ENOENT, "No such file or directory."},
        {0, "Unspecified error"},
        {502, "Unspecified error"},
        // C library numbers that coincide with the system-text codes must not
        // come back into the description again.
        {116, "Unspecified error"},
        {117, "Unspecified error"},
        {118, "Unspecified error"},
    };
    for (const auto& c : kCases) {
        SetLastError(ERROR_ACCESS_DENIED);
        errno = c.iErrno;
        EXPECT_EQ(Describe(CZipException::errNo, false), c.lpszText) << "errno " << c.iErrno;
        // Through the system text as well: no last error leads to errno.
        SetLastError(0);
        errno = c.iErrno;
        EXPECT_EQ(Describe(CZipException::fileError, false),
                  std::string("A file error occurred (") + c.lpszText + ").")
            << "errno " << c.iErrno;
    }
}

TEST(ZipExceptionTest, RaiseThrowsAHeapExceptionWithCodeNameAndLastError) {
    SetLastError(ERROR_SHARING_VIOLATION);
    CZipException* pCaught = nullptr;
    try {
        CZipException::Raise(CZipException::notRemoved, "C:\\a\\b.zip");
    } catch (CZipException* e) {
        pCaught = e;
    }
    ASSERT_NE(pCaught, nullptr);
    EXPECT_EQ(pCaught->m_iCause, 117);
    EXPECT_STREQ((LPCSTR)pCaught->m_szFileName, "C:\\a\\b.zip");
    EXPECT_EQ(pCaught->m_iSystemError, (DWORD)ERROR_SHARING_VIOLATION);
    EXPECT_TRUE(pCaught->IsKindOf(RUNTIME_CLASS(CException)));
    EXPECT_STREQ(pCaught->GetRuntimeClass()->m_lpszClassName, "CZipException");
    EXPECT_EQ(pCaught->GetRuntimeClass()->GetBaseClass(), RUNTIME_CLASS(CException));
    pCaught->Delete();

    SetLastError(0);
    try {
        CZipException::Raise();
    } catch (CZipException* e) {
        pCaught = e;
    }
    EXPECT_EQ(pCaught->m_iCause, 100);
    EXPECT_TRUE(pCaught->m_szFileName.IsEmpty());
    EXPECT_EQ(pCaught->m_iSystemError, 0u);
    pCaught->Delete();
}

TEST(ZipExceptionTest, GetErrorMessageCutsAndTerminates) {
    CZipException error(CZipException::badZipFile);
    struct Case {
        UINT nMax;
        BOOL bResult;
        const char* lpszText;
    } const kCases[] = {
        {10, TRUE, "Damaged o"},
        {1, TRUE, ""},
        {27, TRUE, "Damaged or not a zip file."},
        {200, TRUE, "Damaged or not a zip file."},
    };
    for (const Case& c : kCases) {
        char szBuffer[256];
        memset(szBuffer, 'x', sizeof(szBuffer));
        EXPECT_EQ(error.GetErrorMessage(szBuffer, c.nMax), c.bResult) << c.nMax;
        EXPECT_STREQ(szBuffer, c.lpszText) << c.nMax;
        // Nothing is written past the terminator.
        EXPECT_EQ(szBuffer[strlen(c.lpszText) + 1], 'x') << c.nMax;
    }
    char szBuffer[16] = "unchanged";
    EXPECT_FALSE(error.GetErrorMessage(nullptr, 10));
    EXPECT_FALSE(error.GetErrorMessage(szBuffer, 0));
    EXPECT_STREQ(szBuffer, "unchanged");
}

TEST(ZipExceptionTest, GetErrorMessageOfAnUnlistedCodeUsesTheSystemText) {
    CZipException error(3);
    char szBuffer[512];
    SetLastError(ERROR_ACCESS_DENIED);
    ASSERT_TRUE(error.GetErrorMessage(szBuffer, sizeof(szBuffer)));
    EXPECT_EQ(std::string(szBuffer), SystemText(ERROR_ACCESS_DENIED));
}

} // namespace
