// Tests of adding entries: stored and deflated files, predicted names,
// folders, the efficiency check, callbacks and their refusals, the 32-bit and
// entry-count limits, and that a failed or refused add leaves the file as it was.
#include "native/gtest.h"

#include "ZipArchive.h"
#include "ZipException.h"
#include "framework/Exception.h"
#include "native/zlib.h"
#include "tests/support/TempFolder.h"
#include "ZipTestArchives.h"
#include "ZipTestTools.h"
#include "ZipTestFixtures.h"

#include <set>
#include <string>
#include <vector>

using namespace ZipTestFixtures;

namespace {

// A stored entry's local header and its central header, sizes as given.
std::string LocalHeader(const std::string& name, unsigned long long uSize) {
    std::string s("PK\x03\x04", 4);
    Put16(s, 10);
    Put16(s, 0);
    Put16(s, 0);
    Put16(s, 0);
    Put16(s, 0x21); // 1980-01-01
    Put32(s, 0);
    Put32(s, uSize);
    Put32(s, uSize);
    Put16(s, static_cast<unsigned>(name.size()));
    Put16(s, 0);
    return s + name;
}
std::string CentralHeader(const std::string& name, unsigned long long uSize,
                          unsigned long long uOffset) {
    std::string s("PK\x01\x02", 4);
    Put16(s, 20);
    Put16(s, 10);
    Put16(s, 0);
    Put16(s, 0);
    Put16(s, 0);
    Put16(s, 0x21);
    Put32(s, 0);
    Put32(s, uSize);
    Put32(s, uSize);
    Put16(s, static_cast<unsigned>(name.size()));
    Put16(s, 0);
    Put16(s, 0);
    Put16(s, 0);
    Put16(s, 0);
    Put32(s, 0x20);
    Put32(s, uOffset);
    return s + name;
}
std::string EndRecord(unsigned uCount, unsigned long long uSize, unsigned long long uOffset) {
    std::string s("PK\x05\x06", 4);
    Put32(s, 0);
    Put16(s, uCount);
    Put16(s, uCount);
    Put32(s, uSize);
    Put32(s, uOffset);
    Put16(s, 0);
    return s;
}

// Writes bytes at a position of a file (made sparse by the gap before them).
bool WriteAt(const std::string& path, ULONGLONG uPosition, const std::string& bytes, bool bCreate) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                           bCreate ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER li;
    li.QuadPart = static_cast<LONGLONG>(uPosition);
    DWORD uWritten = 0;
    bool bOk = SetFilePointerEx(h, li, nullptr, FILE_BEGIN) &&
               WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &uWritten, nullptr) &&
               uWritten == bytes.size();
    CloseHandle(h);
    return bOk;
}

// A file of that length, all holes.
bool MakeSparse(const std::string& path, ULONGLONG uLength) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER li;
    li.QuadPart = static_cast<LONGLONG>(uLength);
    bool bOk = SetFilePointerEx(h, li, nullptr, FILE_BEGIN) && SetEndOfFile(h);
    CloseHandle(h);
    return bOk;
}

ULONGLONG LengthOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The last bytes of a file (its directory and end record, for huge files).
std::string TailOf(const std::string& path, DWORD uCount) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::string();
    LARGE_INTEGER li;
    li.QuadPart = -static_cast<LONGLONG>(uCount);
    std::string bytes(uCount, '\0');
    DWORD uRead = 0;
    if (!SetFilePointerEx(h, li, nullptr, FILE_END) ||
        !ReadFile(h, &bytes[0], uCount, &uRead, nullptr))
        uRead = 0;
    CloseHandle(h);
    bytes.resize(uRead);
    return bytes;
}

// Records every notification, answering true until the refusal count.
class CRecordingCallback : public CZipActionCallback {
public:
    bool Callback(DWORD uProgress) override {
        m_types.insert(m_iType);
        m_uSum += uProgress;
        m_iCalls++;
        return m_iCalls <= m_iAnswerTrueCalls;
    }
    std::set<int> m_types;
    ULONGLONG m_uSum = 0;
    int m_iCalls = 0;
    int m_iAnswerTrueCalls = 1 << 30;
};

// A source that fails after so many bytes, as a file on a dying disk would.
class CFailingSource : public CZipMemFile {
public:
    CFailingSource(const std::string& bytes, UINT uFailAt) : m_uFailAt(uFailAt) {
        Write(bytes.data(), static_cast<UINT>(bytes.size()));
        SeekToBegin();
    }
    UINT Read(void* lpBuf, UINT nCount) override {
        if (GetPosition() + nCount > m_uFailAt)
            AfxThrowFileException(CFileException::genericException, -1, "failing.bin");
        return CZipMemFile::Read(lpBuf, nCount);
    }

private:
    UINT m_uFailAt;
};

// An archive on disk with the named entries holding text, made by our classes.
void MakeArchive(const std::string& path, const std::vector<std::string>& names) {
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchive(path.c_str(), CZipArchive::zipCreate));
    for (size_t i = 0; i < names.size(); i++) {
        CZipMemFile source;
        const std::string bytes = ZipTestArchives::TextBytes(2000 + i * 100, 7 + i);
        source.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        CZipAddFileRequest request;
        request.m_pFile = &source;
        request.m_szFileNameInZip = names[i].c_str();
        ASSERT_TRUE(zip.AddFile(request));
    }
    zip.CloseArchive();
}

TEST(ZipArchiveAdd, SmallFilesStoredOthersDeflated) {
    struct Case {
        std::string bytes;
        int iLevel;
        WORD uMethod;
    };
    const Case cases[] = {
        {"", -1, 0},
        {"abcd", -1, 0},
        {"abcde", -1, 8},
        {ZipTestArchives::TextBytes(5000, 1), -1, 8},
        {ZipTestArchives::TextBytes(5000, 2), 0, 0},
        {ZipTestArchives::TextBytes(5000, 3), 9, 8},
    };
    CTempFolder folder;
    const std::string path = folder.File("small.zip");
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchive(path.c_str(), CZipArchive::zipCreate));
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++) {
        const Case& c = cases[i];
        const std::string source = folder.File("f" + std::to_string(i) + ".txt");
        ASSERT_TRUE(WriteWholeFile(source, c.bytes));
        ASSERT_TRUE(zip.AddFileFromDisk(source.c_str(), ("f" + std::to_string(i) + ".txt").c_str(),
                                        c.iLevel));
        const CZipFileHeader* pHeader = zip.GetEntryInfo(static_cast<WORD>(i));
        ASSERT_NE(nullptr, pHeader);
        EXPECT_EQ(c.uMethod, pHeader->m_uMethod) << i;
        EXPECT_EQ(c.bytes.size(), pHeader->m_uUncomprSize) << i;
        EXPECT_EQ(Crc(c.bytes), pHeader->m_uCrc32) << i;
        EXPECT_EQ(0, pHeader->m_uFlag & CZipFileHeader::flDataDescriptor) << i;
        if (c.uMethod == 0) {
            EXPECT_EQ(c.bytes.size(), pHeader->m_uComprSize) << i;
        } else if (c.bytes.size() > 100) {
            EXPECT_LT(pHeader->m_uComprSize, c.bytes.size()) << i;
        }
    }
    zip.CloseArchive();

    // The 4-byte file's local header as it ends up on disk: version 20, no
    // flags, stored, CRC and both sizes patched in after the data.
    const std::string bytes = ReadWholeFile(path);
    ASSERT_TRUE(zip.OpenArchive(path.c_str(), CZipArchive::zipOpenReadOnly));
    const size_t uOffset = zip.GetEntryInfo(1)->m_uOffset;
    zip.CloseArchive();
    std::string expected("PK\x03\x04\x14\0\0\0\0\0", 10);
    const std::string fields = bytes.substr(uOffset + 10, 4); // DOS time and date
    expected += fields;
    Put32(expected, Crc("abcd"));
    Put32(expected, 4);
    Put32(expected, 4);
    Put16(expected, 6);
    Put16(expected, 0);
    expected += "f1.txtabcd";
    EXPECT_EQ(expected, bytes.substr(uOffset, expected.size()));

    const ZipTools::SPythonListing listing = ZipTools::PythonListing(path);
    ASSERT_TRUE(listing.tested) << listing.error;
    EXPECT_EQ("", listing.firstBad);
    ASSERT_EQ(6u, listing.entries.size());
    for (size_t i = 0; i < 6; i++) {
        EXPECT_EQ(cases[i].uMethod, listing.entries[i].method) << i;
        EXPECT_EQ(cases[i].bytes.size(), listing.entries[i].size) << i;
        EXPECT_EQ(Crc(cases[i].bytes), listing.entries[i].crc) << i;
    }
}

TEST(ZipArchiveAdd, StoredArchiveMethodStoresEverything) {
    CZipMemFile mem;
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchiveInMemory(mem, CZipArchive::zipCreate));
    zip.SetCompressionMethod(CZipCompressor::methodStore);
    const std::string bytes = ZipTestArchives::TextBytes(4000, 5);
    CZipMemFile source;
    source.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    CZipAddFileRequest request;
    request.m_pFile = &source;
    request.m_szFileNameInZip = "text.txt";
    request.m_iComprLevel = 9;
    ASSERT_TRUE(zip.AddFile(request));
    EXPECT_EQ(0, zip.GetEntryInfo(0)->m_uMethod);
    EXPECT_EQ(4000u, zip.GetEntryInfo(0)->m_uComprSize);
    zip.CloseArchive();
}

TEST(ZipArchiveAdd, PredictedNames) {
    CZipMemFile mem;
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchiveInMemory(mem, CZipArchive::zipCreate));
    struct Case {
        const char* root;
        const char* path;
        bool bFullPath;
        int iKind;
        const char* expected;
    };
    const Case cases[] = {
        {"", "C:\\data\\calls\\a.zel", true, 1, "data\\calls\\a.zel"},
        {"", "C:\\data\\calls\\a.zel", false, 1, "a.zel"},
        {"", "C:\\data\\calls\\", true, 2, "data\\calls\\"},
        {"", "C:\\data\\calls//", false, 2, "calls\\"},
        {"", "C:\\data\\calls", true, 2, "data\\calls"},
        {"", "C:\\data\\calls", false, 0, "calls\\"},
        {"", "\\\\", true, 1, ""},
        {"", "", true, 1, ""},
        {"", "\\data\\a.zel", true, 1, "data\\a.zel"},
        {"C:\\data", "C:\\data\\calls\\a.zel", false, 1, "calls\\a.zel"},
        {"C:\\data\\", "C:\\data\\calls\\a.zel", false, 1, "calls\\a.zel"},
        {"c:\\DATA", "C:\\data\\calls\\a.zel", false, 1, "calls\\a.zel"},
        {"C:\\dat", "C:\\data\\calls\\a.zel", false, 1, "a.zel"},
        {"C:\\data", "C:\\data", false, 0, ""},
        {"C:\\other", "C:\\data\\calls\\a.zel", false, 1, "a.zel"},
        {"C:\\data", "C:\\data\\calls\\a.zel", true, 1, "data\\calls\\a.zel"},
    };
    for (const Case& c : cases) {
        zip.SetRootPath(c.root);
        EXPECT_STREQ(c.expected, zip.NameInArchiveFor(c.path, c.bFullPath, c.iKind))
            << c.root << " | " << c.path << " | " << c.bFullPath << " | " << c.iKind;
    }
    zip.CloseArchive();
}

TEST(ZipArchiveAdd, NamesFromDiskPaths) {
    CTempFolder folder;
    const std::string source = folder.File("rec.zel");
    ASSERT_TRUE(WriteWholeFile(source, "recording bytes"));
    CZipMemFile mem;
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchiveInMemory(mem, CZipArchive::zipCreate));
    ASSERT_TRUE(zip.AddFileFromDiskByPath(source.c_str(), -1, true));
    // The full path without its drive, never absolute.
    EXPECT_STREQ(source.substr(3).c_str(), zip.GetEntryInfo(0)->GetFileName());
    ASSERT_TRUE(zip.AddFileFromDiskByPath(source.c_str(), -1, false));
    EXPECT_STREQ("rec.zel", zip.GetEntryInfo(1)->GetFileName());
    // The root is the temporary folder's parent: the name keeps the folder.
    const std::string own = folder.Path().substr(0, folder.Path().size() - 1);
    const size_t uCut = own.rfind('\\');
    zip.SetRootPath(own.substr(0, uCut).c_str());
    ASSERT_TRUE(zip.AddFileFromDiskByPath(source.c_str(), -1, false));
    const std::string tail = own.substr(uCut + 1) + "\\rec.zel";
    EXPECT_STREQ(tail.c_str(), zip.GetEntryInfo(2)->GetFileName());
    zip.CloseArchive();
}

TEST(ZipArchiveAdd, EmptyNamesBecomeFileN) {
    CZipMemFile mem;
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchiveInMemory(mem, CZipArchive::zipCreate));
    for (int i = 0; i < 2; i++) {
        CZipFileHeader header;
        ASSERT_TRUE(zip.OpenNewEntry(header));
        ASSERT_TRUE(zip.WriteNewEntryData("xyz", 3));
        ASSERT_TRUE(zip.CloseNewEntry());
    }
    EXPECT_STREQ("file0", zip.GetEntryInfo(0)->GetFileName());
    EXPECT_STREQ("file1", zip.GetEntryInfo(1)->GetFileName());
    zip.CloseArchive();
}

TEST(ZipArchiveAdd, FoldersAreStoredWithOneTrailingSeparator) {
    struct Case {
        const char* password;
        int iFlags;
        bool bEncrypted;
    };
    const Case cases[] = {
        {"", zipsmSafeSmart, false},
        {"pw", zipsmSafeSmart, false},
        {"pw", 0, true},
    };
    for (const Case& c : cases) {
        CTempFolder folder;
        const std::string sub = folder.File("sub");
        ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
        const std::string path = folder.File("dirs.zip");
        CZipArchive zip;
        ASSERT_TRUE(zip.OpenArchive(path.c_str(), CZipArchive::zipCreate));
        zip.SetPassword(c.password);
        CZipAddFileRequest request;
        request.m_szFilePath = (sub + "\\").c_str();
        request.m_bFullPath = false;
        request.m_iSmartLevel = c.iFlags;
        ASSERT_TRUE(zip.AddFile(request));
        CZipFileHeader* pHeader = zip.GetEntryInfo(0);
        EXPECT_STREQ("sub\\", pHeader->GetFileName());
        EXPECT_TRUE(pHeader->IsDirectory());
        EXPECT_EQ(0, pHeader->m_uMethod);
        EXPECT_EQ(0u, pHeader->m_uUncomprSize);
        EXPECT_EQ(10, pHeader->m_uVersionNeeded);
        EXPECT_EQ(c.bEncrypted, pHeader->IsEncrypted()) << c.iFlags;
        // The password is back for the next entry.
        EXPECT_STREQ(c.password, zip.GetPassword());
        zip.CloseArchive();
        const ZipTools::SPythonListing listing = ZipTools::PythonListing(path, c.password);
        ASSERT_TRUE(listing.opened) << listing.error;
        ASSERT_EQ(1u, listing.entries.size());
        EXPECT_EQ("sub/", listing.entries[0].name);
        EXPECT_EQ(c.bEncrypted ? 1 : 0, listing.entries[0].flags & 1);
    }
}

TEST(ZipArchiveAdd, ZeroLengthFileWithoutThePassword) {
    CTempFolder folder;
    const std::string path = folder.File("zero.zip");
    const std::string empty = folder.File("empty.bin");
    const std::string full = folder.File("full.bin");
    ASSERT_TRUE(WriteWholeFile(empty, ""));
    ASSERT_TRUE(WriteWholeFile(full, ZipTestArchives::TextBytes(300, 4)));
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchive(path.c_str(), CZipArchive::zipCreate));
    zip.SetPassword("pw");
    ASSERT_TRUE(zip.AddFileFromDisk(empty.c_str(), "empty.bin"));
    ASSERT_TRUE(zip.AddFileFromDisk(full.c_str(), "full.bin"));
    ASSERT_TRUE(zip.AddFileFromDisk(empty.c_str(), "empty2.bin", -1, 0));
    EXPECT_FALSE(zip.GetEntryInfo(0)->IsEncrypted());
    EXPECT_TRUE(zip.GetEntryInfo(1)->IsEncrypted());
    EXPECT_TRUE(zip.GetEntryInfo(2)->IsEncrypted());
    zip.CloseArchive();
    EXPECT_TRUE(ZipTools::UnzipTest(path, "pw").ok);
}

TEST(ZipArchiveAdd, EfficiencyCheckStoresWhatDoesNotCompress) {
    struct Case {
        bool bNoise;
        int iFlags;
        WORD uMethod;
    };
    const Case cases[] = {
        {true, zipsmSafeSmart | zipsmCheckForEff, 0},
        {true, zipsmSafeSmart | zipsmCheckForEff | zipsmMemoryFlag, 0},
        {true, zipsmSafeSmart, 8},
        {false, zipsmSafeSmart | zipsmCheckForEff, 8},
    };
    for (const Case& c : cases) {
        CTempFolder folder;
        const std::string path = folder.File("eff.zip");
        const std::string bytes = c.bNoise ? ZipTestArchives::NoiseBytes(150000, 9)
                                           : ZipTestArchives::TextBytes(150000, 9);
        const std::string source = folder.File("data.bin");
        ASSERT_TRUE(WriteWholeFile(source, bytes));
        CRecordingCallback callback;
        CZipArchive zip;
        ASSERT_TRUE(zip.OpenArchive(path.c_str(), CZipArchive::zipCreate));
        zip.SetActionCallback(&callback);
        ASSERT_TRUE(zip.AddFileFromDisk(source.c_str(), "data.bin", -1, c.iFlags));
        ASSERT_EQ(1, zip.GetCount()) << c.iFlags;
        EXPECT_EQ(c.uMethod, zip.GetEntryInfo(0)->m_uMethod) << c.iFlags;
        EXPECT_EQ(Crc(bytes), zip.GetEntryInfo(0)->m_uCrc32);
        // A stored second attempt reports under its own type.
        const bool bStoredAgain = c.uMethod == 0;
        EXPECT_EQ(bStoredAgain, callback.m_types.count(CZipActionCallback::cbAddStore) == 1);
        EXPECT_EQ(bStoredAgain ? 2 * bytes.size() : bytes.size(), callback.m_uSum);
        zip.CloseArchive();
        const ZipTools::SToolRun run = ZipTools::UnzipEntry(path, "data.bin");
        ASSERT_TRUE(run.ok) << run.output;
        EXPECT_TRUE(run.output == bytes) << c.iFlags;
    }
}

TEST(ZipArchiveAdd, ReplacingGoesThroughATemporaryArchive) {
    struct Case {
        bool bNoise;
        int iFlags;
        WORD uMethod;
    };
    const Case cases[] = {
        {false, zipsmSafeSmart, 8},                                     // temporary file
        {true, zipsmSafeSmart | zipsmCheckForEff | zipsmMemoryFlag, 0}, // in memory, stored
        {true, zipsmSafeSmart | zipsmCheckForEff, 0},                   // temporary file, stored
    };
    for (const Case& c : cases) {
        CTempFolder folder;
        const std::string path = folder.File("replace.zip");
        MakeArchive(path, {"a.txt", "b.txt", "c.txt"});
        const std::string bytes =
            c.bNoise ? ZipTestArchives::NoiseBytes(9000, 3) : ZipTestArchives::TextBytes(9000, 3);
        const std::string source = folder.File("new.bin");
        ASSERT_TRUE(WriteWholeFile(source, bytes));
        CZipArchive zip;
        ASSERT_TRUE(zip.OpenArchive(path.c_str()));
        zip.SetTempPath(folder.Path().c_str());
        CZipAddFileRequest request;
        request.m_szFilePath = source.c_str();
        request.m_szFileNameInZip = "new.bin";
        request.m_iSmartLevel = c.iFlags;
        request.m_uReplaceIndex = 1;
        ASSERT_TRUE(zip.AddFile(request)) << c.iFlags;
        ASSERT_EQ(3, zip.GetCount());
        EXPECT_STREQ("new.bin", zip.GetEntryInfo(1)->GetFileName());
        EXPECT_EQ(c.uMethod, zip.GetEntryInfo(1)->m_uMethod) << c.iFlags;
        zip.CloseArchive();
        // No temporary archive is left behind.
        WIN32_FIND_DATAA data;
        HANDLE hFind = FindFirstFileA(folder.File("ZAR*.tmp").c_str(), &data);
        EXPECT_EQ(INVALID_HANDLE_VALUE, hFind);
        if (hFind != INVALID_HANDLE_VALUE)
            FindClose(hFind);
        EXPECT_EQ("", ZipTools::CheckWithAllTools(path, 3));
        const ZipTools::SToolRun run = ZipTools::UnzipEntry(path, "new.bin");
        EXPECT_TRUE(run.ok && run.output == bytes) << c.iFlags;
    }
}

TEST(ZipArchiveAdd, AlwaysTrueCallbackSeesEveryByte) {
    CTempFolder folder;
    const std::string path = folder.File("cb.zip");
    const std::string source = folder.File("big.txt");
    const std::string bytes = ZipTestArchives::TextBytes(300000, 11);
    ASSERT_TRUE(WriteWholeFile(source, bytes));
    CRecordingCallback callback;
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchive(path.c_str(), CZipArchive::zipCreate));
    zip.SetActionCallback(&callback, CZipActionCallback::cbAll);
    ASSERT_TRUE(zip.AddFileFromDisk(source.c_str(), "big.txt", -1, zipsmSafeSmart, 65536));
    EXPECT_EQ(bytes.size(), callback.m_uSum);
    EXPECT_EQ(5, callback.m_iCalls); // four full blocks and the rest
    EXPECT_EQ(std::set<int>{CZipActionCallback::cbAdd}, callback.m_types);
    EXPECT_EQ(bytes.size(), callback.m_uTotalToProcess);
    EXPECT_STREQ("big.txt", callback.m_szFileInZip);
    EXPECT_STREQ(source.c_str(), callback.m_szExternalFile);
    zip.CloseArchive();
    EXPECT_TRUE(ZipTools::UnzipTest(path).ok);
}

TEST(ZipArchiveAdd, RefusingCallbackOutcomes) {
    struct Case {
        size_t uSize;     // the source's length
        int iTrueAnswers; // notifications answered true before the refusal
        bool bEntryKept;  // a complete entry stays (refused only at the end)
    };
    const Case cases[] = {
        {200000, 0, false}, // the first block of four
        {200000, 2, false}, // a middle block
        {1000, 0, true},    // one short block: everything was read
    };
    for (const Case& c : cases) {
        CTempFolder folder;
        const std::string path = folder.File("refuse.zip");
        MakeArchive(path, {"old.txt"});
        const std::string before = ReadWholeFile(path);
        const std::string source = folder.File("new.txt");
        ASSERT_TRUE(WriteWholeFile(source, ZipTestArchives::TextBytes(c.uSize, 2)));
        CRecordingCallback callback;
        callback.m_iAnswerTrueCalls = c.iTrueAnswers;
        CZipArchive zip;
        ASSERT_TRUE(zip.OpenArchive(path.c_str()));
        // Only the add is refused; writing the directory on close is not.
        zip.SetActionCallback(&callback, CZipActionCallback::cbAdd);
        EXPECT_EQ(CZipException::abortedSafely,
                  ZipErrorOf([&] { zip.AddFileFromDisk(source.c_str(), "new.txt"); }))
            << c.uSize;
        EXPECT_EQ(c.bEntryKept ? 2 : 1, zip.GetCount()) << c.uSize;
        zip.CloseArchive();
        if (c.bEntryKept) {
            EXPECT_EQ("", ZipTools::CheckWithAllTools(path, 2));
        } else {
            EXPECT_TRUE(before == ReadWholeFile(path)) << c.uSize << " changed the archive";
        }
    }
}

TEST(ZipArchiveAdd, FailedAddLeavesTheFileAsItWas) {
    const std::string text = ZipTestArchives::TextBytes(400000, 6);
    struct Case {
        const char* what;
        int iLevel;
        UINT uFailAt;     // the source fails past this many bytes
        size_t uNameSize; // a name this long (0: a normal name)
        int iError;
    };
    const Case cases[] = {
        {"source fails, deflated", -1, 200000, 0, kOtherException},
        {"source fails, stored", 0, 70000, 0, kOtherException},
        {"source fails at once", -1, 0, 0, kOtherException},
        {"name too long", -1, 1 << 30, 65536, CZipException::tooLongData},
    };
    for (const Case& c : cases) {
        for (int iClose : {CZipArchive::afAfterException, CZipArchive::afWriteDir}) {
            CTempFolder folder;
            const std::string path = folder.File("rollback.zip");
            MakeArchive(path, {"one.txt", "two.txt"});
            const std::string before = ReadWholeFile(path);
            CZipArchive zip;
            ASSERT_TRUE(zip.OpenArchive(path.c_str()));
            CFailingSource source(text, c.uFailAt);
            CZipAddFileRequest request;
            request.m_pFile = &source;
            request.m_szFileNameInZip =
                c.uNameSize ? std::string(c.uNameSize, 'n').c_str() : "three.txt";
            request.m_iComprLevel = c.iLevel;
            EXPECT_EQ(c.iError, ZipErrorOf([&] { zip.AddFile(request); })) << c.what;
            EXPECT_EQ(2, zip.GetCount()) << c.what;
            zip.CloseArchive(iClose);
            EXPECT_TRUE(before == ReadWholeFile(path)) << c.what << ", close " << iClose;
        }
        // The archive takes the next add as if nothing had happened.
        CTempFolder folder;
        const std::string path = folder.File("again.zip");
        MakeArchive(path, {"one.txt", "two.txt"});
        CZipArchive zip;
        ASSERT_TRUE(zip.OpenArchive(path.c_str()));
        CFailingSource failing(text, c.uFailAt);
        CZipAddFileRequest request;
        request.m_pFile = &failing;
        request.m_szFileNameInZip =
            c.uNameSize ? std::string(c.uNameSize, 'n').c_str() : "three.txt";
        request.m_iComprLevel = c.iLevel;
        EXPECT_NE(kNoException, ZipErrorOf([&] { zip.AddFile(request); }));
        CZipMemFile good;
        good.Write(text.data(), 5000);
        request.m_pFile = &good;
        request.m_szFileNameInZip = "three.txt";
        ASSERT_TRUE(zip.AddFile(request)) << c.what;
        zip.CloseArchive();
        EXPECT_EQ("", ZipTools::CheckWithAllTools(path, 3)) << c.what;
    }
}

TEST(ZipArchiveAdd, EntryClosedAfterAnExceptionIsDropped) {
    CTempFolder folder;
    const std::string path = folder.File("drop.zip");
    MakeArchive(path, {"one.txt"});
    const std::string before = ReadWholeFile(path);
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchive(path.c_str()));
    CZipFileHeader header;
    header.SetFileName("partial.txt");
    ASSERT_TRUE(zip.OpenNewEntry(header));
    const std::string bytes = ZipTestArchives::NoiseBytes(100000, 1);
    ASSERT_TRUE(zip.WriteNewEntryData(bytes.data(), static_cast<DWORD>(bytes.size())));
    EXPECT_TRUE(zip.CloseNewEntry(true));
    EXPECT_EQ(1, zip.GetCount());
    zip.CloseArchive();
    EXPECT_TRUE(before == ReadWholeFile(path));
}

TEST(ZipArchiveAdd, RemoveLastEntry) {
    CZipMemFile mem;
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchiveInMemory(mem, CZipArchive::zipCreate));
    EXPECT_FALSE(zip.RemoveLastEntry(true)); // no entries
    const std::string text = ZipTestArchives::TextBytes(5000, 1);
    const std::string noise = ZipTestArchives::NoiseBytes(5000, 1);
    for (const std::string* pBytes : {&text, &noise, &text}) {
        CZipFileHeader header;
        ASSERT_TRUE(zip.OpenNewEntry(header));
        ASSERT_TRUE(zip.WriteNewEntryData(pBytes->data(), static_cast<DWORD>(pBytes->size())));
        ASSERT_TRUE(zip.CloseNewEntry());
    }
    const ULONGLONG uSecondOffset = zip.GetEntryInfo(2)->m_uOffset;
    EXPECT_FALSE(zip.RemoveLastEntry(false)); // compressed well: kept
    EXPECT_EQ(3, zip.GetCount());
    EXPECT_TRUE(zip.RemoveLastEntry(true));
    EXPECT_EQ(2, zip.GetCount());
    EXPECT_EQ(uSecondOffset, mem.GetLength()); // cut at its local header
    EXPECT_TRUE(zip.RemoveLastEntry(false));   // noise grew when deflated
    EXPECT_EQ(1, zip.GetCount());
    zip.CloseArchive();
}

// An archive of 65,535 empty stored entries, written by hand.
std::string FullArchive() {
    std::string local;
    std::string central;
    for (unsigned i = 0; i < 0xFFFF; i++) {
        char name[8];
        sprintf(name, "e%05u", i);
        central += CentralHeader(name, 0, local.size());
        local += LocalHeader(name, 0);
    }
    return local + central + EndRecord(0xFFFF, central.size(), local.size());
}

TEST(ZipArchiveAdd, FullArchiveRefusesTheNextEntry) {
    CTempFolder folder;
    const std::string path = folder.File("full.zip");
    ASSERT_TRUE(WriteWholeFile(path, FullArchive()));
    const std::string before = ReadWholeFile(path);
    const std::string source = folder.File("one.txt");
    ASSERT_TRUE(WriteWholeFile(source, "one more"));
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchive(path.c_str()));
    ASSERT_EQ(0xFFFF, zip.GetCount());
    EXPECT_FALSE(zip.AddFileFromDisk(source.c_str(), "one.txt"));
    CZipFileHeader header;
    header.SetFileName("two.txt");
    EXPECT_FALSE(zip.OpenNewEntry(header));
    EXPECT_EQ(0xFFFF, zip.GetCount());
    zip.CloseArchive();
    EXPECT_TRUE(before == ReadWholeFile(path));
}

// An archive whose one stored entry (holes only) ends uRoom bytes before the
// 32-bit limit less its directory.
std::string MakeHugeArchive(const CTempFolder& folder, ULONGLONG uEntrySize) {
    const std::string path = folder.File("huge.zip");
    const std::string local = LocalHeader("big.bin", uEntrySize);
    const std::string central = CentralHeader("big.bin", uEntrySize, 0);
    const ULONGLONG uDirectory = local.size() + uEntrySize;
    EXPECT_TRUE(WriteAt(path, 0, local, true));
    EXPECT_TRUE(
        WriteAt(path, uDirectory, central + EndRecord(1, central.size(), uDirectory), false));
    return path;
}

TEST(ZipArchiveAdd, EntriesPastTheFourGiBLimitAreRefusedBeforeWriting) {
    CTempFolder folder;
    const ULONGLONG uEntrySize = 0xFFF00000ULL; // leaves about 1 MiB
    const std::string path = MakeHugeArchive(folder, uEntrySize);
    const ULONGLONG uLength = LengthOf(path);
    const std::string tail = TailOf(path, 200);
    ASSERT_EQ(200u, tail.size());
    auto unchanged = [&] { return LengthOf(path) == uLength && TailOf(path, 200) == tail; };

    struct Case {
        ULONGLONG uSourceSize;
        int iLevel;
        int iError;
    };
    const Case cases[] = {
        {0x200000, -1, CZipException::tooBigSize},      // 2 MiB: the directory would pass
        {0x200000, 0, CZipException::tooBigSize},       // stored the same
        {0x100000001ULL, 0, CZipException::tooBigSize}, // a source of 4 GiB and more
        {0x1000, -1, kNoException},                     // room for 4 KiB
    };
    for (const Case& c : cases) {
        const std::string source = folder.File("source.bin");
        ASSERT_TRUE(MakeSparse(source, c.uSourceSize));
        CZipArchive zip;
        ASSERT_TRUE(zip.OpenArchive(path.c_str()));
        int iError = ZipErrorOf(
            [&] { EXPECT_TRUE(zip.AddFileFromDisk(source.c_str(), "next.bin", c.iLevel)); });
        EXPECT_EQ(c.iError, iError) << c.uSourceSize;
        if (c.iError != kNoException) {
            EXPECT_EQ(1, zip.GetCount());
            zip.CloseArchive();
            EXPECT_TRUE(unchanged()) << c.uSourceSize;
            continue;
        }
        zip.CloseArchive();
        ASSERT_TRUE(zip.OpenArchive(path.c_str(), CZipArchive::zipOpenReadOnly));
        ASSERT_EQ(2, zip.GetCount());
        EXPECT_EQ(uEntrySize + 37, zip.GetEntryInfo(1)->m_uOffset);
        zip.CloseArchive();
    }
}

TEST(ZipArchiveAdd, DataBeyondTheLimitWrittenByTheCallerRollsBack) {
    CTempFolder folder;
    const std::string path = MakeHugeArchive(folder, 0xFFF00000ULL);
    const ULONGLONG uLength = LengthOf(path);
    const std::string tail = TailOf(path, 200);
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchive(path.c_str()));
    CZipFileHeader header;
    header.SetFileName("stream.bin");
    ASSERT_TRUE(zip.OpenNewEntry(header, 0));
    const std::string block(65536, 'z');
    int iBlocks = 0;
    int iError = kNoException;
    while (iError == kNoException && iBlocks < 64) {
        iError = ZipErrorOf([&] { zip.WriteNewEntryData(block.data(), 65536); });
        iBlocks++;
    }
    EXPECT_EQ(CZipException::tooBigSize, iError);
    EXPECT_EQ(16, iBlocks); // 15 blocks fit into the MiB left, the 16th does not
    EXPECT_FALSE(zip.CloseNewEntry());
    EXPECT_EQ(1, zip.GetCount());
    zip.CloseArchive(CZipArchive::afWriteDir);
    EXPECT_EQ(uLength, LengthOf(path));
    EXPECT_TRUE(tail == TailOf(path, 200));
}

} // namespace
