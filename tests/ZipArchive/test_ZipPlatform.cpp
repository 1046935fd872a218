// Tests of the platform functions of the ZIP classes: path kinds, attributes,
// modification times (before 1970 and beyond 32 bits), file sizes up to 4 GiB,
// temporary names, renaming and deleting with their errors, code-page
// conversions with accented names, and mapping whole files.
#include "native/gtest.h"

#include "ZipException.h"
#include "ZipFile.h"
#include "ZipPlatform.h"
#include "framework/Exception.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <cstring>
#include <ctime>
#include <string>

namespace {

using namespace ZipPlatform;

std::string S(const CString& text) {
    return (LPCSTR)text;
}

std::string Bytes(const CZipAutoBuffer& buffer) {
    return std::string(buffer.GetBuffer() ? buffer.GetBuffer() : "", buffer.GetSize());
}

// The ZIP exception that f raises (the caller deletes it), or null.
template <class F> CZipException* ZipErrorOf(F f) {
    try {
        f();
    } catch (CZipException* e) {
        return e;
    }
    return nullptr;
}

TEST(ZipPlatformTest, PathKindsAndAttributes) {
    CTempFolder temp;
    const std::string file = temp.File("a.zel");
    ASSERT_TRUE(WriteWholeFile(file, "x"));
    EXPECT_EQ(GetPathKind(file.c_str()), 1);
    EXPECT_EQ(GetPathKind(temp.Path().c_str()), -1);
    EXPECT_EQ(GetPathKind(temp.File("missing").c_str()), 0);

    DWORD uAttr = 0xDEAD;
    EXPECT_FALSE(ReadFileAttributes(temp.File("missing").c_str(), uAttr));
    EXPECT_EQ(uAttr, 0xDEADu);
    EXPECT_FALSE(WriteFileAttributes(temp.File("missing").c_str(), FILE_ATTRIBUTE_NORMAL));

    ASSERT_TRUE(WriteFileAttributes(file.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(ReadFileAttributes(file.c_str(), uAttr));
    EXPECT_NE(uAttr & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(uAttr & FILE_ATTRIBUTE_DIRECTORY, 0u);
    ASSERT_TRUE(WriteFileAttributes(file.c_str(), FILE_ATTRIBUTE_NORMAL));
    ASSERT_TRUE(ReadFileAttributes(file.c_str(), uAttr));
    EXPECT_EQ(uAttr & FILE_ATTRIBUTE_READONLY, 0u);
    ASSERT_TRUE(ReadFileAttributes(temp.Path().c_str(), uAttr));
    EXPECT_NE(uAttr & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST(ZipPlatformTest, ModificationTimesRoundTripOnlyWithin1970To2038) {
    CTempFolder temp;
    const std::string file = temp.File("t.zel");
    ASSERT_TRUE(WriteWholeFile(file, "x"));
    struct Case {
        time_t tWritten;
        bool bRead;
    } const kCases[] = {
        {1000000000, true},                         // 2001-09-09
        {0, true},                                  // 1970-01-01 00:00:00 itself
        {0x7FFFFFFF, true},                         // the last 32-bit second
        {-315619200, false},                        // 1960-01-01: before 1970
        {-1, false},         {0x80000000LL, false}, // 2038, past 32 bits
    };
    for (const Case& c : kCases) {
        ASSERT_TRUE(WriteFileModTime(file.c_str(), c.tWritten)) << c.tWritten;
        time_t tBefore = time(nullptr);
        time_t tRead = 12345;
        EXPECT_EQ(ReadFileModTime(file.c_str(), tRead), c.bRead) << c.tWritten;
        if (c.bRead) {
            EXPECT_EQ(tRead, c.tWritten);
        } else {
            // The current time instead.
            EXPECT_GE(tRead, tBefore - 2) << c.tWritten;
            EXPECT_LE(tRead, time(nullptr) + 2) << c.tWritten;
        }
    }
    time_t tRead = 12345;
    EXPECT_FALSE(ReadFileModTime(temp.File("missing").c_str(), tRead));
    EXPECT_NEAR((double)tRead, (double)time(nullptr), 2.0);
    EXPECT_FALSE(WriteFileModTime(temp.File("missing").c_str(), 1000000000));
    EXPECT_NEAR((double)CurrentTime(), (double)time(nullptr), 2.0);
}

TEST(ZipPlatformTest, FileSizesBelowFourGiBOnly) {
    CTempFolder temp;
    struct Case {
        const char* lpszName;
        ULONGLONG uLength;
        bool bRead;
    } const kCases[] = {
        {"empty", 0, true},
        {"small", 1234, true},
        {"largest", 0xFFFFFFFFULL, true},
        {"four-gib", 0x100000000ULL, false},
        {"more", 0x100000005ULL, false},
    };
    for (const Case& c : kCases) {
        const std::string path = temp.File(c.lpszName);
        {
            // Sparse: the length alone costs no disk space.
            CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
            file.SetLength(c.uLength);
        }
        ULONGLONG uSize = 777;
        EXPECT_EQ(ReadFileSize(path.c_str(), uSize), c.bRead) << c.lpszName;
        EXPECT_EQ(uSize, c.bRead ? c.uLength : 777u) << c.lpszName;
        // The file is closed again: it can be deleted at once.
        EXPECT_TRUE(DeleteFileA(path.c_str())) << c.lpszName;
    }
    ULONGLONG uSize = 777;
    EXPECT_FALSE(ReadFileSize(temp.File("missing").c_str(), uSize));
    EXPECT_EQ(uSize, 777u);
}

TEST(ZipPlatformTest, CurrentFolderAndDrives) {
    CString szFolder;
    ASSERT_TRUE(GetCurrentFolder(szFolder));
    char szExpected[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, szExpected);
    EXPECT_EQ(S(szFolder), szExpected);

    CTempFolder temp;
    EXPECT_GT(GetFreeSpaceOf(temp.Path().c_str()), 0u);
    EXPECT_FALSE(IsRemovableDrive(temp.Path().c_str()));
    // A drive letter that names no drive.
    char szUnused[] = "?:\\x\\a.zip";
    DWORD uDrives = GetLogicalDrives();
    for (int i = 25; i >= 0; i--) {
        if ((uDrives & (1u << i)) == 0) {
            szUnused[0] = (char)('A' + i);
            break;
        }
    }
    ASSERT_NE(szUnused[0], '?');
    EXPECT_EQ(GetFreeSpaceOf(szUnused), 0u);
    EXPECT_FALSE(IsRemovableDrive(szUnused));
    EXPECT_FALSE(SetVolumeLabelOf(szUnused, "ZIP"));
}

TEST(ZipPlatformTest, TempFileNamesAreNewEmptyZarFiles) {
    CTempFolder temp;
    CString szFirst = MakeTempFileName(temp.Path().c_str(), 0);
    CString szSecond = MakeTempFileName(temp.Path().c_str(), 1024);
    for (const CString& szName : {szFirst, szSecond}) {
        std::string name = S(szName);
        ASSERT_EQ(name.compare(0, temp.Path().size(), temp.Path()), 0) << name;
        std::string file = name.substr(temp.Path().size());
        EXPECT_EQ(file.compare(0, 3, "ZAR"), 0) << name;
        EXPECT_EQ(file.substr(file.size() - 4), ".tmp") << name;
        EXPECT_EQ(GetPathKind(name.c_str()), 1) << name;
        EXPECT_EQ(ReadWholeFile(name), "") << name;
    }
    EXPECT_NE(S(szFirst), S(szSecond));

    // No folder: the system's temporary folder.
    char szTempPath[MAX_PATH];
    GetTempPathA(MAX_PATH, szTempPath);
    CString szSystem = MakeTempFileName(nullptr, 0);
    ASSERT_FALSE(szSystem.IsEmpty());
    EXPECT_EQ(S(szSystem).compare(0, strlen(szTempPath), szTempPath), 0) << S(szSystem);
    EXPECT_TRUE(DeleteFileA(szSystem));

    // A folder that does not exist gives no name; so does a need that no drive meets.
    EXPECT_TRUE(MakeTempFileName(temp.File("missing\\").c_str(), 0).IsEmpty());
    EXPECT_TRUE(MakeTempFileName(temp.Path().c_str(), 1ULL << 62).IsEmpty());
}

TEST(ZipPlatformTest, MoveAndDeleteReportTheirErrors) {
    CTempFolder temp;
    const std::string from = temp.File("a.zip"), to = temp.File("b.zip");
    ASSERT_TRUE(WriteWholeFile(from, "data"));
    EXPECT_TRUE(MoveFileOrThrow(from.c_str(), to.c_str()));
    EXPECT_EQ(ReadWholeFile(to), "data");
    EXPECT_FALSE(FileExists(from));

    EXPECT_FALSE(MoveFileOrThrow(from.c_str(), to.c_str(), false));
    CZipException* e = ZipErrorOf([&] { MoveFileOrThrow(from.c_str(), to.c_str()); });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_iCause, CZipException::notRenamed);
    EXPECT_EQ(S(e->m_szFileName), from);
    EXPECT_EQ(e->m_iSystemError, (DWORD)ERROR_FILE_NOT_FOUND);
    e->Delete();

    EXPECT_FALSE(DeleteFileOrThrow(from.c_str(), false));
    e = ZipErrorOf([&] { DeleteFileOrThrow(from.c_str()); });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_iCause, CZipException::notRemoved);
    EXPECT_EQ(S(e->m_szFileName), from);
    e->Delete();

    // A read-only file cannot be removed: 117 with the access-denied text.
    ASSERT_TRUE(WriteFileAttributes(to.c_str(), FILE_ATTRIBUTE_READONLY));
    e = ZipErrorOf([&] { DeleteFileOrThrow(to.c_str()); });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_iCause, CZipException::notRemoved);
    EXPECT_EQ(e->m_iSystemError, (DWORD)ERROR_ACCESS_DENIED);
    char szMessage[512];
    SetLastError(e->m_iSystemError);
    ASSERT_TRUE(e->GetErrorMessage(szMessage, sizeof(szMessage)));
    CString szDenied = (SetLastError(ERROR_ACCESS_DENIED), CZipException::GetSystemErrorText());
    EXPECT_EQ(std::string(szMessage), "Error while removing a file (" + S(szDenied) + ").");
    e->Delete();
    EXPECT_TRUE(FileExists(to));
    ASSERT_TRUE(WriteFileAttributes(to.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(DeleteFileOrThrow(to.c_str()));
    EXPECT_FALSE(FileExists(to));
}

// The accented names below are in the ANSI code page 1252, as the program's
// strings are; OEM is code page 437 or 850 (both put 'ü' at 0x81).
class ZipCodePageTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (GetACP() != 1252 || (GetOEMCP() != 437 && GetOEMCP() != 850))
            GTEST_SKIP() << "code pages " << GetACP() << "/" << GetOEMCP();
    }
};

TEST_F(ZipCodePageTest, TextToBytesAndBackInEachCodePage) {
    struct Case {
        const char* lpszText; // ANSI
        UINT uCodePage;
        std::string bytes;
    } const kCases[] = {
        {"M\xFCller.zel", CP_ACP, "M\xFCller.zel"},
        {"M\xFCller.zel", 1252, "M\xFCller.zel"},
        {"M\xFCller.zel", CP_UTF8, "M\xC3\xBCller.zel"},
        {"M\xFCller.zel", CP_OEMCP, "M\x81ller.zel"},
        {"Caf\xE9 \xC5sa\\r\xE9sum\xE9.zel", CP_UTF8,
         "Caf\xC3\xA9 \xC3\x85sa\\r\xC3\xA9sum\xC3\xA9.zel"},
        {"plain/ascii.zel", CP_UTF8, "plain/ascii.zel"},
        {"", CP_UTF8, ""},
        {"", CP_OEMCP, ""},
    };
    for (const Case& c : kCases) {
        CZipAutoBuffer buffer;
        TextToBytes(c.lpszText, buffer, c.uCodePage);
        EXPECT_EQ(Bytes(buffer), c.bytes) << c.lpszText << " in " << c.uCodePage;
        CString szBack = "stale";
        BytesToText(buffer.GetBuffer(), buffer.GetSize(), szBack, c.uCodePage);
        EXPECT_EQ(S(szBack), c.lpszText) << c.lpszText << " in " << c.uCodePage;
    }
}

TEST_F(ZipCodePageTest, NamesFromOtherToolsDecodeToAnsiWithSubstitutions) {
    struct Case {
        std::string bytes;
        UINT uCodePage;
        const char* lpszText;
    } const kCases[] = {
        // A Linux or macOS tool's UTF-8 name.
        {"M\xC3\xBCller.zel", CP_UTF8, "M\xFCller.zel"},
        // The same bytes taken as OEM are two OEM characters.
        {"M\x81ller.zel", CP_OEMCP, "M\xFCller.zel"},
        // Characters outside the ANSI code page become the platform's substitute.
        {"\xE4\xB8\xAD.zel", CP_UTF8, "?.zel"},
    };
    for (const Case& c : kCases) {
        CString szText;
        BytesToText(c.bytes.data(), (DWORD)c.bytes.size(), szText, c.uCodePage);
        EXPECT_EQ(S(szText), c.lpszText) << c.bytes;
    }
    // Bytes that are no UTF-8 at all still give text, never an empty name.
    CString szText;
    BytesToText("\xFF\xFE", 2, szText, CP_UTF8);
    EXPECT_FALSE(szText.IsEmpty());
}

TEST_F(ZipCodePageTest, ConvertAnsiOemBothWays) {
    CZipAutoBuffer buffer;
    TextToBytes("M\xFCller \xE9t\xE9.zel", buffer, CP_ACP);
    ConvertAnsiOem(buffer, true);
    EXPECT_EQ(Bytes(buffer), "M\x81ller \x82t\x82.zel");
    ConvertAnsiOem(buffer, false);
    EXPECT_EQ(Bytes(buffer), "M\xFCller \xE9t\xE9.zel");

    // The euro sign has no OEM form: the platform's substitute comes back.
    TextToBytes("5\x80.zel", buffer, CP_ACP);
    ConvertAnsiOem(buffer, true);
    ConvertAnsiOem(buffer, false);
    EXPECT_EQ(Bytes(buffer).size(), 6u);
    EXPECT_NE(Bytes(buffer), "5\x80.zel");

    CZipAutoBuffer empty;
    ConvertAnsiOem(empty, true);
    EXPECT_FALSE(empty.IsAllocated());
}

TEST(ZipPlatformTest, MappedFilesAreWrittenThroughTheirOwnView) {
    CTempFolder temp;
    CZipFile first, second;
    ASSERT_TRUE(
        first.Open(temp.File("1.zip").c_str(), CFile::modeCreate | CFile::modeReadWrite, false));
    ASSERT_TRUE(
        second.Open(temp.File("2.zip").c_str(), CFile::modeCreate | CFile::modeReadWrite, false));
    first.Write("first file", 10);
    second.Write("second file", 11);

    CZipFileMapping firstMap, secondMap;
    ASSERT_TRUE(MapWholeFile(first, firstMap));
    // Both mapped at once: each view shows its own file.
    ASSERT_TRUE(MapWholeFile(second, secondMap));
    EXPECT_EQ(std::string((const char*)firstMap.m_pFileMap, 10), "first file");
    EXPECT_EQ(std::string((const char*)secondMap.m_pFileMap, 11), "second file");
    memcpy(firstMap.m_pFileMap, "FIRST", 5);
    UnmapWholeFile(firstMap);
    UnmapWholeFile(secondMap);
    EXPECT_EQ(firstMap.m_pFileMap, nullptr);
    EXPECT_EQ(firstMap.m_hFileMap, nullptr);
    UnmapWholeFile(firstMap); // twice is harmless

    char szBuffer[11] = {};
    first.SeekToBegin();
    EXPECT_EQ(first.Read(szBuffer, 10), 10u);
    EXPECT_STREQ(szBuffer, "FIRST file");

    // An empty file or a closed one cannot be mapped.
    first.SetLength(0);
    CZipFileMapping none;
    EXPECT_FALSE(MapWholeFile(first, none));
    EXPECT_EQ(none.m_hFileMap, nullptr);
    EXPECT_EQ(none.m_pFileMap, nullptr);
    first.Close();
    EXPECT_FALSE(MapWholeFile(first, none));
}

} // namespace
