// Tests of CZipArchive opening, creating and closing, the settings and their
// refusals, lookups, and what is kept of an existing archive.
#include "native/gtest.h"

#include "ZipArchive.h"
#include "ZipCompatibility.h"
#include "ZipException.h"
#include "ZipPlatform.h"
#include "framework/Exception.h"
#include "tests/support/TempFolder.h"
#include "ZipTestTools.h"
#include "ZipTestFixtures.h"

#include <string>

using namespace ZipTestFixtures;

namespace {

const std::string kEmptyArchive("PK\x05\x06\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 22);

// One entry written through the entry interface.
void AddEntry(CZipArchive& zip, const char* lpszName, const std::string& bytes, time_t tTime = 0) {
    CZipFileHeader header;
    header.SetFileName(lpszName);
    if (tTime != 0)
        header.SetModificationTime(tTime);
    ASSERT_TRUE(zip.OpenNewEntry(header));
    ASSERT_TRUE(zip.WriteNewEntryData(bytes.data(), static_cast<DWORD>(bytes.size())));
    ASSERT_TRUE(zip.CloseNewEntry());
}

TEST(ZipArchive, EmptyArchiveIsOneEndRecord) {
    CZipMemFile mem;
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchiveInMemory(mem, CZipArchive::zipCreate));
    EXPECT_FALSE(zip.IsClosed());
    EXPECT_EQ(0, zip.GetCount());
    zip.CloseArchive();
    EXPECT_TRUE(zip.IsClosed());
    EXPECT_EQ(kEmptyArchive, MemBytes(mem));

    CTempFolder folder;
    const std::string path = folder.File("empty.zip");
    ASSERT_TRUE(zip.OpenArchive(path.c_str(), CZipArchive::zipCreate));
    EXPECT_STREQ(path.c_str(), zip.GetArchivePath());
    EXPECT_STREQ(path.c_str(), zip.CloseArchive());
    EXPECT_EQ(kEmptyArchive, ReadWholeFile(path));
    // Closing what is closed gives no path.
    EXPECT_STREQ("", zip.CloseArchive());
    EXPECT_STREQ("", zip.GetArchivePath());

    ASSERT_TRUE(zip.OpenArchive(path.c_str(), CZipArchive::zipOpen));
    EXPECT_EQ(0, zip.GetCount());
    // The directory already in the file is not counted twice.
    EXPECT_EQ(22u, zip.GetArchiveLength());
    zip.CloseArchive();
    EXPECT_EQ(kEmptyArchive, ReadWholeFile(path));
}

TEST(ZipArchive, OpenInMemoryAcceptsOnlyPlainModes) {
    struct Case {
        int iMode;
        bool bAccepted;
    };
    const Case cases[] = {
        {CZipArchive::zipOpen, true},         {CZipArchive::zipOpenReadOnly, true},
        {CZipArchive::zipCreate, true},       {CZipArchive::zipCreateAppend, true},
        {CZipArchive::zipCreateSplit, false}, {CZipArchive::zipCreateBinSplit, false},
        {CZipArchive::zipOpenSplit, false},   {0, false},
    };
    for (const Case& c : cases) {
        CZipMemFile mem;
        FillMem(mem, kEmptyArchive);
        CZipArchive zip;
        EXPECT_EQ(c.bAccepted, zip.OpenArchiveInMemory(mem, c.iMode)) << c.iMode;
        EXPECT_EQ(!c.bAccepted, zip.IsClosed()) << c.iMode;
        // An open archive refuses a second open of either kind.
        if (c.bAccepted) {
            CZipMemFile other;
            EXPECT_FALSE(zip.OpenArchiveInMemory(other, CZipArchive::zipCreate));
            EXPECT_FALSE(zip.OpenArchive("C:\\nowhere\\x.zip", CZipArchive::zipCreate));
        }
        zip.CloseArchive();
    }
}

TEST(ZipArchive, FailedOpenLeavesTheArchiveClosedAndUsable) {
    CTempFolder folder;
    // Lying counts: one entry, a directory of 10 bytes at offset 0 that is not there.
    const std::string lying("PK\x05\x06\0\0\0\0\x01\0\x01\0\x0A\0\0\0\0\0\0\0\0\0", 22);
    struct Case {
        const char* name;
        std::string bytes; // none: the file does not exist
        bool bExists;
        int iError;
    };
    const Case cases[] = {
        {"missing.zip", "", false, kOtherException},
        {"text.zip", "just some text, no archive at all", true, CZipException::cdirNotFound},
        {"lying.zip", lying, true, CZipException::badZipFile},
    };
    const std::string good = folder.File("good.zip");
    ASSERT_TRUE(WriteWholeFile(good, kEmptyArchive));
    for (const Case& c : cases) {
        const std::string path = folder.File(c.name);
        if (c.bExists) {
            ASSERT_TRUE(WriteWholeFile(path, c.bytes));
        }
        CZipArchive zip;
        EXPECT_EQ(c.iError, ZipErrorOf([&] { zip.OpenArchive(path.c_str()); })) << c.name;
        EXPECT_TRUE(zip.IsClosed()) << c.name;
        EXPECT_EQ(0, zip.GetCount()) << c.name;
        EXPECT_TRUE(zip.OpenArchive(good.c_str())) << c.name;
        EXPECT_STREQ(good.c_str(), zip.CloseArchive()) << c.name;
        if (c.bExists) {
            EXPECT_EQ(c.bytes, ReadWholeFile(path)) << c.name;
        }
    }
}

TEST(ZipArchive, BytesBeforeTheArchiveAreKept) {
    CZipMemFile mem;
    {
        CZipArchive zip;
        ASSERT_TRUE(zip.OpenArchiveInMemory(mem, CZipArchive::zipCreate));
        AddEntry(zip, "first.txt", "the first entry's text");
        zip.CloseArchive();
    }
    std::string prefix;
    for (int i = 0; i < 100; i++)
        prefix += "SFXSTUB-";
    CTempFolder folder;
    const std::string path = folder.File("sfx.zip");
    ASSERT_TRUE(WriteWholeFile(path, prefix + MemBytes(mem)));

    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchive(path.c_str()));
    ASSERT_EQ(1, zip.GetCount());
    EXPECT_STREQ("first.txt", zip.GetEntryInfo(0)->GetFileName());
    AddEntry(zip, "second.txt", "the second entry's text, a bit longer than the first");
    zip.CloseArchive();

    const std::string bytes = ReadWholeFile(path);
    ASSERT_GT(bytes.size(), prefix.size());
    EXPECT_EQ(prefix, bytes.substr(0, prefix.size()));
    ASSERT_TRUE(zip.OpenArchive(path.c_str(), CZipArchive::zipOpenReadOnly));
    ASSERT_EQ(2, zip.GetCount());
    // Offsets count from the archive's start, after the kept bytes.
    for (WORD i = 0; i < 2; i++) {
        const size_t uOffset = prefix.size() + zip.GetEntryInfo(i)->m_uOffset;
        EXPECT_EQ("PK\x03\x04", bytes.substr(uOffset, 4)) << i;
    }
    EXPECT_STREQ("second.txt", zip.GetEntryInfo(1)->GetFileName());
    zip.CloseArchive();
    const ZipTools::SPythonListing listing = ZipTools::PythonListing(path);
    EXPECT_TRUE(listing.tested) << listing.error;
    EXPECT_EQ("", listing.firstBad);
    EXPECT_EQ(2u, listing.entries.size());
}

TEST(ZipArchive, ClosedArchiveAnswersEmpty) {
    CZipArchive zip;
    CZipFileHeader header;
    EXPECT_TRUE(zip.IsClosed());
    EXPECT_EQ(0, zip.GetCount());
    EXPECT_EQ(nullptr, zip.GetEntryInfo(0));
    EXPECT_FALSE(zip.GetEntryInfo(header, 0));
    EXPECT_EQ(0xFFFF, zip.FindEntry("a"));
    EXPECT_EQ(0u, zip.GetArchiveLength());
    EXPECT_STREQ("", zip.GetArchivePath());
    EXPECT_FALSE(zip.SetSystemCompatibility(ZipCompatibility::zcUnix));
    EXPECT_FALSE(zip.OpenNewEntry(header));
    EXPECT_FALSE(zip.AddFileFromDisk("C:\\x.txt", "x.txt"));
    EXPECT_FALSE(zip.WriteNewEntryData("x", 1));
    EXPECT_FALSE(zip.CloseNewEntry());
    EXPECT_STREQ("", zip.CloseArchive());
}

TEST(ZipArchive, SettingsRefusedAsTheRulesSay) {
    CZipMemFile mem;
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchiveInMemory(mem, CZipArchive::zipCreate));

    struct EncryptionCase {
        int iMethod;
        bool bAccepted;
    };
    const EncryptionCase methods[] = {{255, true}, {0, true}, {1, false}, {3, false}, {99, false}};
    for (const EncryptionCase& c : methods)
        EXPECT_EQ(c.bAccepted, zip.SetEncryptionMethod(c.iMethod)) << c.iMethod;
    struct SystemCase {
        int iSystem;
        bool bAccepted;
    };
    const SystemCase systems[] = {{ZipCompatibility::zcUnix, true},
                                  {ZipCompatibility::zcDosFat, true},
                                  {1, false},
                                  {255, false}};
    for (const SystemCase& c : systems)
        EXPECT_EQ(c.bAccepted, zip.SetSystemCompatibility(c.iSystem)) << c.iSystem;

    EXPECT_TRUE(zip.SetPassword("secret"));
    EXPECT_STREQ("secret", zip.GetPassword());
    EXPECT_TRUE(zip.SetPassword());
    EXPECT_STREQ("", zip.GetPassword());

    zip.SetRootPath("C:\\root\\");
    CZipFileHeader header;
    header.SetFileName("open.txt");
    ASSERT_TRUE(zip.OpenNewEntry(header));
    // While a new entry is open.
    EXPECT_FALSE(zip.SetPassword("other"));
    EXPECT_FALSE(zip.SetEncryptionMethod(255));
    EXPECT_FALSE(zip.SetSystemCompatibility(ZipCompatibility::zcUnix));
    zip.SetRootPath("C:\\elsewhere");
    EXPECT_STREQ("sub\\a.txt", zip.NameInArchiveFor("C:\\root\\sub\\a.txt", false, 1));
    CZipFileHeader second;
    EXPECT_FALSE(zip.OpenNewEntry(second));
    EXPECT_FALSE(zip.RemoveLastEntry(true));
    ASSERT_TRUE(zip.WriteNewEntryData("abc", 3));
    ASSERT_TRUE(zip.CloseNewEntry());
    EXPECT_FALSE(zip.CloseNewEntry());
    EXPECT_TRUE(zip.SetPassword("other"));
    EXPECT_EQ(1, zip.GetCount());
    zip.CloseArchive();
}

TEST(ZipArchive, FindEntryCaseRules) {
    CZipMemFile mem;
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchiveInMemory(mem, CZipArchive::zipCreate));
    AddEntry(zip, "Calls\\Monday.ZEL", "one");
    AddEntry(zip, "other.zel", "two");
    struct Case {
        const char* name;
        int iRule;
        bool bNameOnly;
        WORD uExpected;
    };
    const Case cases[] = {
        {"Calls\\Monday.ZEL", CZipArchive::ffDefault, false, 0},
        {"calls\\monday.zel", CZipArchive::ffDefault, false, 0},
        {"calls\\monday.zel", CZipArchive::ffCaseSens, false, 0xFFFF},
        {"Calls\\Monday.ZEL", CZipArchive::ffCaseSens, false, 0},
        {"CALLS\\MONDAY.zel", CZipArchive::ffNoCaseSens, false, 0},
        {"monday.zel", CZipArchive::ffDefault, true, 0},
        {"Monday.ZEL", CZipArchive::ffCaseSens, true, 0},
        {"monday.zel", CZipArchive::ffCaseSens, true, 0xFFFF},
        {"OTHER.ZEL", CZipArchive::ffDefault, false, 1},
        {"missing.zel", CZipArchive::ffDefault, false, 0xFFFF},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.uExpected, zip.FindEntry(c.name, c.iRule, c.bNameOnly))
            << c.name << " rule " << c.iRule;
    zip.SetCaseSensitivity(true);
    EXPECT_EQ(0xFFFF, zip.FindEntry("calls\\monday.zel"));
    EXPECT_EQ(1, zip.FindEntry("other.zel"));
    zip.CloseArchive();
}

TEST(ZipArchive, NewEntriesTakeTheHostOfTheFirstEntry) {
    struct Case {
        int iSystem;
        WORD uMadeByHigh;
    };
    const Case cases[] = {{ZipCompatibility::zcUnix, 3}, {ZipCompatibility::zcDosFat, 0}};
    for (const Case& c : cases) {
        CZipMemFile mem;
        CZipArchive zip;
        ASSERT_TRUE(zip.OpenArchiveInMemory(mem, CZipArchive::zipCreate));
        ASSERT_TRUE(zip.SetSystemCompatibility(c.iSystem));
        AddEntry(zip, "first.txt", "first");
        zip.CloseArchive();

        mem.SeekToBegin();
        ASSERT_TRUE(zip.OpenArchiveInMemory(mem, CZipArchive::zipOpen));
        AddEntry(zip, "second.txt", "second");
        ASSERT_EQ(2, zip.GetCount());
        EXPECT_EQ(c.iSystem, zip.GetEntryInfo(1)->GetSystemCompatibility());
        zip.CloseArchive();
        // The central record's version-made-by carries the host in its high byte.
        const std::string bytes = MemBytes(mem);
        const size_t uCentral = bytes.rfind("PK\x01\x02");
        ASSERT_NE(std::string::npos, uCentral);
        EXPECT_EQ(c.uMadeByHigh, static_cast<unsigned char>(bytes[uCentral + 5])) << c.iSystem;
    }
}

TEST(ZipArchive, ArchiveLengthCountsTheDirectoryToCome) {
    CTempFolder folder;
    const std::string path = folder.File("length.zip");
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchive(path.c_str(), CZipArchive::zipCreate));
    AddEntry(zip, "a.txt", std::string(3000, 'a'));
    AddEntry(zip, "b.txt", "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb");
    const ULONGLONG uPredicted = zip.GetArchiveLength();
    zip.CloseArchive();
    const ULONGLONG uActual = ReadWholeFile(path).size();
    EXPECT_EQ(uActual, uPredicted);
    ASSERT_TRUE(zip.OpenArchive(path.c_str()));
    EXPECT_EQ(uActual, zip.GetArchiveLength());
    zip.CloseArchive();
}

TEST(ZipArchive, CloseModes) {
    struct Case {
        int iAfterException;
        bool bEndRecord;
    };
    const Case cases[] = {
        {CZipArchive::afNoException, true},
        {CZipArchive::afAfterException, false},
        {CZipArchive::afWriteDir, true},
    };
    for (const Case& c : cases) {
        CTempFolder folder;
        const std::string path = folder.File("close.zip");
        CZipArchive zip;
        ASSERT_TRUE(zip.OpenArchive(path.c_str(), CZipArchive::zipCreate));
        AddEntry(zip, "a.txt", "some text for the entry");
        EXPECT_STREQ(path.c_str(), zip.CloseArchive(c.iAfterException));
        const std::string bytes = ReadWholeFile(path);
        EXPECT_EQ(c.bEndRecord, bytes.find("PK\x05\x06") != std::string::npos) << c.iAfterException;
        EXPECT_EQ("PK\x03\x04", bytes.substr(0, 4)) << c.iAfterException;
    }
}

TEST(ZipArchive, CloseCanStampTheNewestEntryTime) {
    CTempFolder folder;
    const std::string path = folder.File("stamp.zip");
    const time_t tOlder = 1262347200; // 2010-01-01, even seconds
    const time_t tNewer = 1577880000; // 2020-01-01
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchive(path.c_str(), CZipArchive::zipCreate));
    AddEntry(zip, "newer.txt", "newer", tNewer);
    AddEntry(zip, "older.txt", "older", tOlder);
    zip.CloseArchive(CZipArchive::afNoException, true);
    time_t tFile = 0;
    ASSERT_TRUE(ZipPlatform::ReadFileModTime(path.c_str(), tFile));
    EXPECT_EQ(tNewer, tFile);
}

} // namespace
