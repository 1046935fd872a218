// Tests of the files and the buffer of the ZIP classes: CZipFile over the
// framework's file, CZipMemFile, the unsigned seek of both, and CZipAutoBuffer.
#include "native/gtest.h"

#include "ZipAutoBuffer.h"
#include "ZipException.h"
#include "ZipFile.h"
#include "ZipMemFile.h"
#include "framework/Exception.h"
#include "tests/support/TempFolder.h"
#include "ZipTestFixtures.h"

#include <windows.h>

#include <cstring>
#include <string>

using namespace ZipTestFixtures;

namespace {

std::string ReadAll(CZipAbstractFile& file) {
    file.SeekToBegin();
    std::string data((size_t)file.GetLength(), '\0');
    UINT nRead = data.empty() ? 0 : file.Read(&data[0], (UINT)data.size());
    data.resize(nRead);
    return data;
}

// ---- CZipFile ---------------------------------------------------------------

TEST(ZipFileTest, OpenFailureThrowsTheFrameworkExceptionOnlyWhenAsked) {
    CTempFolder temp;
    const std::string missing = temp.File("missing.zip");
    CZipFile file;
    EXPECT_FALSE(file.Open(missing.c_str(), CFile::modeRead, false));
    EXPECT_TRUE(file.IsClosed());

    CFileException* pError = nullptr;
    try {
        file.Open(missing.c_str(), CFile::modeRead, true);
    } catch (CFileException* e) {
        pError = e;
    }
    ASSERT_NE(pError, nullptr);
    EXPECT_EQ(pError->m_cause, CFileException::fileNotFound);
    pError->Delete();

    // The opening constructor throws the same way.
    pError = nullptr;
    try {
        CZipFile opened(missing.c_str(), CFile::modeRead);
    } catch (CFileException* e) {
        pError = e;
    }
    ASSERT_NE(pError, nullptr);
    pError->Delete();
}

TEST(ZipFileTest, ReadsWritesSeeksAndTruncatesThroughTheFrameworkFile) {
    CTempFolder temp;
    const std::string path = temp.File("a.zip");
    {
        CZipFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeReadWrite, false));
        EXPECT_FALSE(file.IsClosed());
        file.Write("0123456789", 10);
        EXPECT_EQ(file.GetPosition(), 10u);
        EXPECT_EQ(file.GetLength(), 10u);
        EXPECT_EQ(file.Seek(-4, CZipAbstractFile::end), 6u);
        char szBuffer[8] = {};
        EXPECT_EQ(file.Read(szBuffer, 8), 4u);
        EXPECT_STREQ(szBuffer, "6789");
        EXPECT_EQ(file.SeekToBegin(), 0u);
        EXPECT_EQ(file.Seek(3, CZipAbstractFile::current), 3u);
        EXPECT_EQ(file.SeekToEnd(), 10u);
        file.SetLength(5);
        EXPECT_EQ(file.GetLength(), 5u);
        // The path is the full path of the name given to Open.
        char szFull[MAX_PATH];
        GetFullPathNameA(path.c_str(), MAX_PATH, szFull, nullptr);
        EXPECT_STREQ((LPCSTR)file.GetFilePath(), szFull);
        file.Close();
        EXPECT_TRUE(file.IsClosed());
        // Closing a closed file does nothing.
        file.Close();
        EXPECT_TRUE(file.IsClosed());
    }
    EXPECT_EQ(ReadWholeFile(path), "01234");
}

TEST(ZipFileTest, IsAFrameworkFileClassOfItsOwnName) {
    CZipFile file;
    EXPECT_STREQ(file.GetRuntimeClass()->m_lpszClassName, "CZipFile");
    EXPECT_EQ(file.GetRuntimeClass()->GetBaseClass(), RUNTIME_CLASS(CFile));
}

// ---- SafeSeek on both file kinds ---------------------------------------------

TEST(ZipFileTest, SafeSeekCountsHugeOffsetsFromTheOtherEnd) {
    CTempFolder temp;
    CZipFile disk;
    ASSERT_TRUE(
        disk.Open(temp.File("s.bin").c_str(), CFile::modeCreate | CFile::modeReadWrite, false));
    CZipMemFile memory;
    std::string data(100, 'z');
    disk.Write(data.data(), 100);
    memory.Write(data.data(), 100);
    CZipAbstractFile* files[] = {&disk, &memory};
    for (CZipAbstractFile* pFile : files) {
        EXPECT_EQ(pFile->SafeSeek(0), 0u);
        EXPECT_EQ(pFile->SafeSeek(7), 7u);
        EXPECT_EQ(pFile->SafeSeek(3, false), 97u);
        EXPECT_EQ(pFile->SafeSeek(0, false), 100u);
        // 2^64 - 5 is above the signed range: it becomes 100 - (2^64 - 5) = 105
        // counted from the other end, the beginning here.
        EXPECT_EQ(pFile->SafeSeek((ULONGLONG)-5, false), 105u);
        // From the end, 105 back lies before the start: the file refuses it.
        bool bRefused = false;
        try {
            pFile->SafeSeek((ULONGLONG)-5, true);
        } catch (CException* e) {
            bRefused = true;
            e->Delete();
        }
        EXPECT_TRUE(bRefused);
    }
}

// ---- CZipMemFile ---------------------------------------------------------------

TEST(ZipMemFileTest, WritesGrowInStepsAndReadsStopAtTheData) {
    CZipMemFile file(16);
    EXPECT_FALSE(file.IsClosed()); // open, with no buffer yet
    file.Write("abcdef", 6);
    EXPECT_FALSE(file.IsClosed());
    EXPECT_EQ(file.GetLength(), 6u);
    EXPECT_EQ(file.GetPosition(), 6u);
    EXPECT_TRUE(file.GetFilePath().IsEmpty());
    EXPECT_FALSE(file.Open("x", CFile::modeRead, false));

    file.Seek(2, CZipAbstractFile::begin);
    file.Write("XY", 2);
    EXPECT_EQ(MemBytes(file), "abXYef");
    EXPECT_EQ(file.GetLength(), 6u);

    char szBuffer[16] = {};
    file.Seek(4, CZipAbstractFile::begin);
    EXPECT_EQ(file.Read(szBuffer, 10), 2u);
    EXPECT_STREQ(szBuffer, "ef");
    EXPECT_EQ(file.Read(szBuffer, 10), 0u);
    file.Write("", 0);
    EXPECT_EQ(file.GetLength(), 6u);

    // Far more than one step at once.
    std::string big(1000, 'q');
    file.SeekToEnd();
    file.Write(big.data(), (UINT)big.size());
    EXPECT_EQ(file.GetLength(), 1006u);
    EXPECT_EQ(ReadAll(file), "abXYef" + big);
}

TEST(ZipMemFileTest, SeekTable) {
    struct Case {
        const char* lpszName;
        LONGLONG lStart;
        LONGLONG lOff;
        UINT nFrom;
        int iError;
        ULONGLONG uPosition;
    } const kCases[] = {
        {"begin", 0, 4, CZipAbstractFile::begin, 0, 4},
        {"negative begin", 5, -1, CZipAbstractFile::begin, 505, 5},
        {"10 before the beginning", 0, -10, CZipAbstractFile::current, 505, 0},
        {"back from current", 8, -3, CZipAbstractFile::current, 0, 5},
        {"from the end", 0, -2, CZipAbstractFile::end, 0, 8},
        {"before the beginning from the end", 0, -11, CZipAbstractFile::end, 505, 0},
        {"past the end", 0, 5, CZipAbstractFile::end, 0, 15},
        {"beyond 32 bits", 0, 0x100000000LL, CZipAbstractFile::begin, 505, 0},
        {"beyond 32 bits from current", 6, 0xFFFFFFFALL, CZipAbstractFile::current, 505, 6},
    };
    for (const Case& c : kCases) {
        CZipMemFile file;
        file.Write("0123456789", 10);
        file.Seek(c.lStart, CZipAbstractFile::begin);
        ULONGLONG uResult = 0;
        int iError = ZipErrorOf([&] { uResult = file.Seek(c.lOff, c.nFrom); });
        EXPECT_EQ(iError, c.iError) << c.lpszName;
        EXPECT_EQ(file.GetPosition(), c.uPosition) << c.lpszName;
        if (iError == 0) {
            EXPECT_EQ(uResult, c.uPosition) << c.lpszName;
        }
        // A seek never changes the data.
        EXPECT_EQ(file.GetLength(), 10u) << c.lpszName;
    }
}

TEST(ZipMemFileTest, ReadPastTheEndGivesNothingAndAWriteThereLeavesZeros) {
    CZipMemFile file(4);
    file.Write("abcdefgh", 8);
    // The cut bytes stay in the buffer; they must not reappear in the gap.
    file.SetLength(3);
    EXPECT_EQ(file.Seek(5, CZipAbstractFile::end), 8u);
    char szBuffer[4];
    EXPECT_EQ(file.Read(szBuffer, 4), 0u);
    EXPECT_EQ(file.GetLength(), 3u);
    file.Write("Z", 1);
    EXPECT_EQ(MemBytes(file), std::string("abc\0\0\0\0\0Z", 9));
}

TEST(ZipMemFileTest, SetLengthTable) {
    struct Case {
        UINT nGrowBy;
        ULONGLONG uNewLength;
        ULONGLONG uPosition;
        std::string contents;
    } const kCases[] = {
        // Within the capacity: the position becomes the length.
        {64, 3, 3, "abc"},
        {64, 12, 12, std::string("abcdefgh\0\0\0\0", 12)},
        // Beyond the capacity: the capacity grows and the position stays.
        {16, 20, 2, std::string("abcdefgh") + std::string(12, '\0')},
        {16, 0, 0, ""},
    };
    for (const Case& c : kCases) {
        CZipMemFile file(c.nGrowBy);
        file.Write("abcdefghijkl", 12);
        file.SetLength(8);
        file.Seek(2, CZipAbstractFile::begin);
        file.SetLength(c.uNewLength);
        EXPECT_EQ(file.GetLength(), c.uNewLength) << c.uNewLength;
        EXPECT_EQ(file.GetPosition(), c.uPosition) << c.uNewLength;
        EXPECT_EQ(MemBytes(file), c.contents) << c.uNewLength;
    }
    CZipMemFile file;
    EXPECT_EQ(ZipErrorOf([&] { file.SetLength(0x100000000ULL); }), 505);
}

TEST(ZipMemFileTest, AClosedOrStepLessFileCannotGrow) {
    CZipMemFile file;
    file.Write("abc", 3);
    file.Close();
    EXPECT_TRUE(file.IsClosed());
    EXPECT_EQ(file.GetLength(), 0u);
    EXPECT_EQ(file.GetPosition(), 0u);
    EXPECT_EQ(ZipErrorOf([&] { file.Write("x", 1); }), 505);
    EXPECT_EQ(ZipErrorOf([&] { file.Seek(1, CZipAbstractFile::begin); }), 505);
    EXPECT_EQ(ZipErrorOf([&] { file.Write("", 0); }), 0);

    CZipMemFile stepless(0);
    EXPECT_EQ(ZipErrorOf([&] { stepless.Write("x", 1); }), 505);
    EXPECT_EQ(ZipErrorOf([&] { stepless.SetLength(1); }), 505);
}

TEST(ZipMemFileTest, WithoutAutoDeleteTheBufferOutlivesClose) {
    BYTE* pData = nullptr;
    {
        CZipMemFile file;
        file.Write("kept", 4);
        pData = const_cast<BYTE*>(file.GetData());
        file.SetAutoDelete(false);
        file.Close();
        EXPECT_TRUE(file.IsClosed());
    }
    EXPECT_EQ(memcmp(pData, "kept", 4), 0);
    free(pData);
}

// ---- CZipAutoBuffer --------------------------------------------------------------

TEST(ZipAutoBufferTest, AllocateKeepsTheSameSizeAndRenewsAnother) {
    CZipAutoBuffer buffer;
    EXPECT_FALSE(buffer.IsAllocated());
    EXPECT_EQ(buffer.GetSize(), 0u);

    char* pFirst = buffer.Allocate(8, true);
    ASSERT_NE(pFirst, nullptr);
    EXPECT_EQ(std::string(pFirst, 8), std::string(8, '\0'));
    memcpy(pFirst, "abcdefgh", 8);
    // Same size: the same array and its bytes.
    EXPECT_EQ(buffer.Allocate(8), pFirst);
    EXPECT_EQ(std::string(buffer.GetBuffer(), 8), "abcdefgh");
    // Same size with zero fill: the same array, cleared.
    EXPECT_EQ(buffer.Allocate(8, true), pFirst);
    EXPECT_EQ(std::string(buffer.GetBuffer(), 8), std::string(8, '\0'));
    // Another size: a new array of that size.
    buffer.Allocate(3, true);
    EXPECT_EQ(buffer.GetSize(), 3u);
    EXPECT_EQ(std::string(buffer.GetBuffer(), 3), std::string(3, '\0'));
    // Zero: nothing allocated.
    EXPECT_EQ(buffer.Allocate(0), nullptr);
    EXPECT_FALSE(buffer.IsAllocated());
    EXPECT_EQ(buffer.GetSize(), 0u);

    CZipAutoBuffer sized(5, true);
    EXPECT_EQ(sized.GetSize(), 5u);
    EXPECT_EQ(std::string((const char*)sized, 5), std::string(5, '\0'));
    sized.Release();
    EXPECT_FALSE(sized.IsAllocated());
    EXPECT_EQ(sized.GetSize(), 0u);
}

TEST(ZipAutoBufferTest, CopiesAreDeepAndAnEmptySourceReleases) {
    CZipAutoBuffer source(4);
    memcpy(source.GetBuffer(), "wxyz", 4);
    CZipAutoBuffer copy(source);
    ASSERT_EQ(copy.GetSize(), 4u);
    EXPECT_NE(copy.GetBuffer(), source.GetBuffer());
    source.GetBuffer()[0] = 'W';
    EXPECT_EQ(std::string(copy.GetBuffer(), 4), "wxyz");

    CZipAutoBuffer assigned(9);
    assigned = source;
    EXPECT_EQ(assigned.GetSize(), 4u);
    EXPECT_EQ(std::string(assigned.GetBuffer(), 4), "Wxyz");
    assigned = assigned;
    EXPECT_EQ(std::string(assigned.GetBuffer(), 4), "Wxyz");

    CZipAutoBuffer empty;
    assigned = empty;
    EXPECT_FALSE(assigned.IsAllocated());
    EXPECT_EQ(assigned.GetSize(), 0u);
    CZipAutoBuffer emptyCopy(empty);
    EXPECT_FALSE(emptyCopy.IsAllocated());
}

} // namespace
