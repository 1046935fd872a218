// Tests of CZipCentralDir: finding and reading the end record and the central
// headers of hand-built archives (comments, Zip64 end records from zip writing
// to a pipe, bytes before the archive, damage, a directory across volumes), the
// sorted name index, and cutting, restoring and writing the directory.
#include "ZipArchive.h"
#include "ZipCentralDir.h"
#include "ZipException.h"
#include "ZipMemFile.h"
#include "ZipStorage.h"
#include "ZipTestFixtures.h"
#include "native/zlib.h"
#include "tests/support/RecordFileHelpers.h"
#include "tests/support/TempFolder.h"

#include "native/gtest.h"

#include <cstdint>
#include <string>
#include <vector>

using namespace ZipTestFixtures;

namespace {

const uint16_t kTime = 0x6000;
const uint16_t kDate = 0x5A21;

struct SEntry {
    std::string name; // with forward slashes, as stored
    std::string data;
};

// A stored entry's local header and data.
std::string LocalRecord(const SEntry& e) {
    std::string s("PK\x03\x04", 4);
    Put16(s, 20);
    Put16(s, 0);
    Put16(s, 0);
    Put16(s, kTime);
    Put16(s, kDate);
    Put32(s, Crc(e.data));
    Put32(s, uint32_t(e.data.size()));
    Put32(s, uint32_t(e.data.size()));
    Put16(s, uint32_t(e.name.size()));
    Put16(s, 0);
    return s + e.name + e.data;
}

// The central record as this program writes it for a stored DOS entry.
std::string CentralRecord(const SEntry& e, uint32_t uOffset, uint16_t uVolume = 0) {
    std::string s("PK\x01\x02", 4);
    Put16(s, 0x0014);
    Put16(s, 20);
    Put16(s, 0);
    Put16(s, 0);
    Put16(s, kTime);
    Put16(s, kDate);
    Put32(s, Crc(e.data));
    Put32(s, uint32_t(e.data.size()));
    Put32(s, uint32_t(e.data.size()));
    Put16(s, uint32_t(e.name.size()));
    Put16(s, 0);
    Put16(s, 0);
    Put16(s, uVolume);
    Put16(s, 0);
    Put32(s, 0x20);
    Put32(s, uOffset);
    return s + e.name;
}

struct SEnd {
    uint16_t thisVolume = 0;
    uint16_t cdVolume = 0;
    uint16_t volumeEntries = 0;
    uint16_t entries = 0;
    uint32_t size = 0;
    uint32_t offset = 0;
    std::string comment;
    int commentLength = -1; // -1: the comment's real length
};

std::string EndRecord(const SEnd& e) {
    std::string s("PK\x05\x06", 4);
    Put16(s, e.thisVolume);
    Put16(s, e.cdVolume);
    Put16(s, e.volumeEntries);
    Put16(s, e.entries);
    Put32(s, e.size);
    Put32(s, e.offset);
    Put16(s, e.commentLength < 0 ? uint32_t(e.comment.size()) : uint32_t(e.commentLength));
    return s + e.comment;
}

// The Zip64 end record and locator that zip adds when it writes to a pipe.
std::string Zip64Records(uint64_t uEntries, uint64_t uSize, uint64_t uOffset) {
    std::string s("PK\x06\x06", 4);
    Put64(s, 44);
    Put16(s, 45);
    Put16(s, 45);
    Put32(s, 0);
    Put32(s, 0);
    Put64(s, uEntries);
    Put64(s, uEntries);
    Put64(s, uSize);
    Put64(s, uOffset);
    std::string locator("PK\x06\x07", 4);
    Put32(locator, 0);
    Put64(locator, uOffset + uSize);
    Put32(locator, 1);
    return s + locator;
}

struct SArchive {
    std::string prefix; // bytes before the archive
    std::vector<SEntry> entries;
    std::string comment;
    bool zip64 = false;
};

const std::vector<SEntry> kThree = {
    {"a.txt", "alpha"}, {"dir/b.txt", "bravo!"}, {"c.bin", std::string("\0\1\2", 3)}};

std::string Build(const SArchive& a) {
    std::string locals, central;
    for (const SEntry& e : a.entries) {
        central += CentralRecord(e, uint32_t(locals.size()));
        locals += LocalRecord(e);
    }
    SEnd end;
    end.entries = end.volumeEntries = uint16_t(a.entries.size());
    end.size = uint32_t(central.size());
    end.offset = uint32_t(locals.size());
    end.comment = a.comment;
    std::string zip64 =
        a.zip64 ? Zip64Records(a.entries.size(), central.size(), locals.size()) : "";
    return a.prefix + locals + central + zip64 + EndRecord(end);
}

int CauseOf(CZipException* e) {
    const int iCause = e->m_iCause;
    e->Delete();
    return iCause;
}

class ZipCentralDirTest : public ::testing::Test {
protected:
    void Load(const std::string& bytes, int iMode = CZipStorage::zipOpen) {
        m_file.Write(bytes.data(), UINT(bytes.size()));
        m_storage.OpenOnFile(m_file, iMode, false);
        m_dir.Init(nullptr, &m_storage);
    }
    // 0 when the directory was read, else the error's cause.
    int Read(bool bExhaustive = false) {
        try {
            m_dir.ReadDirectory(bExhaustive);
            return 0;
        } catch (CZipException* e) {
            return CauseOf(e);
        }
    }
    std::string Bytes() const {
        return std::string(reinterpret_cast<const char*>(m_file.GetData()),
                           size_t(m_file.GetLength()));
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (WORD i = 0; i < m_dir.GetCount(); i++)
            names.push_back(std::string(LPCSTR(m_dir[i]->GetFileName())));
        return names;
    }
    std::string Comment() const {
        const CZipAutoBuffer& c = m_dir.GetInfo()->m_pszComment;
        return std::string(c.GetBuffer() ? c.GetBuffer() : "", c.GetSize());
    }

    CZipMemFile m_file;
    CZipStorage m_storage;
    CZipCentralDir m_dir;
};

const std::vector<std::string> kThreeNames = {"a.txt", "dir\\b.txt", "c.bin"};

// ---- reading

TEST_F(ZipCentralDirTest, EmptyArchiveOpensWithNoHeadersAndIsWrittenAs22Bytes) {
    const std::string empty = Build(SArchive());
    ASSERT_EQ(22u, empty.size());
    Load(empty);
    ASSERT_EQ(0, Read());
    EXPECT_EQ(0, m_dir.GetCount());
    EXPECT_TRUE(m_dir.IsDirectoryInArchive());

    CZipMemFile created;
    CZipStorage storage;
    CZipCentralDir dir;
    storage.OpenOnFile(created, CZipStorage::zipCreate, false);
    dir.Init(nullptr, &storage);
    dir.Store();
    storage.Flush();
    EXPECT_EQ(empty, std::string(reinterpret_cast<const char*>(created.GetData()),
                                 size_t(created.GetLength())));
    EXPECT_EQ(22u, dir.GetDirectorySize());
}

TEST_F(ZipCentralDirTest, ReadsHeadersInFileOrderWithTheComment) {
    SArchive a;
    a.entries = kThree;
    a.comment = "archive comment";
    Load(Build(a));
    ASSERT_EQ(0, Read());
    EXPECT_EQ(kThreeNames, Names());
    EXPECT_EQ("archive comment", Comment());
    EXPECT_EQ(0u, m_storage.m_uBytesBeforeZip);
    EXPECT_EQ(uint32_t(Crc("bravo!")), m_dir[1]->m_uCrc32);
    EXPECT_EQ(uint32_t(LocalRecord(kThree[0]).size()), m_dir[1]->m_uOffset);
}

struct SSearchCase {
    const char* what;
    size_t commentSize; // comment of the true end record
    size_t trailing;    // bytes after the end record
    int expected;       // 0 opened, else the error
};

TEST_F(ZipCentralDirTest, EndRecordIsFoundWithinTheLongestCommentOnly) {
    const SSearchCase cases[] = {
        {"no comment", 0, 0, 0},
        {"65,535-byte comment", 65535, 0, 0},
        {"record 65,558 bytes from the end", 0, 65536, CZipException::cdirNotFound},
    };
    for (const SSearchCase& c : cases) {
        SCOPED_TRACE(c.what);
        SArchive a;
        a.entries = kThree;
        a.comment = std::string(c.commentSize, 'x');
        CZipMemFile file;
        CZipStorage storage;
        CZipCentralDir dir;
        const std::string bytes = Build(a) + std::string(c.trailing, 'y');
        file.Write(bytes.data(), UINT(bytes.size()));
        storage.OpenOnFile(file, CZipStorage::zipOpen, false);
        dir.Init(nullptr, &storage);
        int iResult = 0;
        try {
            dir.ReadDirectory(false);
        } catch (CZipException* e) {
            iResult = CauseOf(e);
        }
        EXPECT_EQ(c.expected, iResult);
        if (c.expected == 0) {
            EXPECT_EQ(3, dir.GetCount());
            EXPECT_EQ(c.commentSize, size_t(dir.GetInfo()->m_pszComment.GetSize()));
        }
    }
    // An empty file has no end record at all.
    Load("");
    EXPECT_EQ(CZipException::cdirNotFound, Read());
}

TEST_F(ZipCentralDirTest, EndRecordSignatureInsideTheCommentDoesNotHideTheArchive) {
    // A fake end record in the comment, whose own comment would end short of
    // the file, or run past it: the true record is the one reaching the end.
    SEnd fakeShort;
    fakeShort.commentLength = 2;
    SEnd fakeLong;
    fakeLong.commentLength = 5000;
    const std::string comments[] = {
        "see " + EndRecord(fakeShort) + " and more text after it",
        "trailing fake " + EndRecord(fakeLong),
        std::string("PK\x05\x06", 4),
    };
    for (const std::string& comment : comments) {
        SArchive a;
        a.entries = kThree;
        a.comment = comment;
        CZipMemFile file;
        CZipStorage storage;
        CZipCentralDir dir;
        const std::string bytes = Build(a);
        file.Write(bytes.data(), UINT(bytes.size()));
        storage.OpenOnFile(file, CZipStorage::zipOpen, false);
        dir.Init(nullptr, &storage);
        dir.ReadDirectory(false);
        ASSERT_EQ(3, dir.GetCount());
        EXPECT_EQ(comment.size(), size_t(dir.GetInfo()->m_pszComment.GetSize()));
        EXPECT_EQ(0u, storage.m_uBytesBeforeZip);
    }
}

TEST_F(ZipCentralDirTest, TrailingBytesAfterTheArchiveTakeTheNearestFittingRecord) {
    SArchive a;
    a.entries = kThree;
    const std::string archive = Build(a);
    Load(archive + "junk after the archive");
    ASSERT_EQ(0, Read());
    EXPECT_EQ(kThreeNames, Names());
    EXPECT_EQ(archive.size() - 22, m_dir.GetInfo()->m_uEndOffset);
}

TEST_F(ZipCentralDirTest, Zip64EndRecordsOfAPipedArchiveAreNotBytesBeforeIt) {
    const std::string prefixes[] = {"", "MZ self-extractor stub"};
    for (const std::string& prefix : prefixes) {
        SCOPED_TRACE(prefix);
        SArchive a;
        a.entries = kThree;
        a.prefix = prefix;
        a.zip64 = true;
        CZipMemFile file;
        CZipStorage storage;
        CZipCentralDir dir;
        const std::string bytes = Build(a);
        file.Write(bytes.data(), UINT(bytes.size()));
        storage.OpenOnFile(file, CZipStorage::zipOpen, false);
        dir.Init(nullptr, &storage);
        dir.ReadDirectory(false);
        EXPECT_EQ(prefix.size(), size_t(storage.m_uBytesBeforeZip));
        ASSERT_EQ(3, dir.GetCount());
        EXPECT_STREQ(kThreeNames[2].c_str(), LPCSTR(dir[2]->GetFileName()));

        // Rewritten, the archive is the same without the Zip64 records.
        dir.CutFromDisk();
        dir.Store();
        storage.Flush();
        a.zip64 = false;
        EXPECT_EQ(Build(a), std::string(reinterpret_cast<const char*>(file.GetData()),
                                        size_t(file.GetLength())));
    }
}

TEST_F(ZipCentralDirTest, Zip64RecordsThatCarryTheRealValuesGiveError121) {
    SArchive a;
    a.entries = kThree;
    const std::string plain = Build(a);
    const std::string locals =
        LocalRecord(kThree[0]) + LocalRecord(kThree[1]) + LocalRecord(kThree[2]);
    const std::string central = plain.substr(locals.size(), plain.size() - locals.size() - 22);

    struct SCase {
        const char* what;
        std::string bytes;
        int expected;
    };
    SEnd saturated;
    saturated.entries = saturated.volumeEntries = 0xFFFF;
    saturated.size = uint32_t(central.size());
    SEnd ordinary;
    ordinary.entries = ordinary.volumeEntries = 3;
    ordinary.size = uint32_t(central.size());
    ordinary.offset = uint32_t(locals.size());
    saturated.offset = ordinary.offset;
    const std::string z64 = Zip64Records(3, central.size(), locals.size());
    const std::string z64More = Zip64Records(70000, central.size(), locals.size());
    const SCase cases[] = {
        {"count 0xFFFF with a locator", locals + central + z64 + EndRecord(saturated),
         CZipException::noZip64},
        {"Zip64 record counts more entries", locals + central + z64More + EndRecord(ordinary),
         CZipException::noZip64},
        {"locator without its record", locals + central + z64.substr(56) + EndRecord(ordinary),
         CZipException::badZipFile},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        CZipMemFile file;
        CZipStorage storage;
        CZipCentralDir dir;
        file.Write(c.bytes.data(), UINT(c.bytes.size()));
        storage.OpenOnFile(file, CZipStorage::zipOpen, false);
        dir.Init(nullptr, &storage);
        int iResult = 0;
        try {
            dir.ReadDirectory(false);
        } catch (CZipException* e) {
            iResult = CauseOf(e);
        }
        EXPECT_EQ(c.expected, iResult);
    }
}

TEST_F(ZipCentralDirTest, DamagedEndRecordsGiveAnErrorNeverACrash) {
    SArchive a;
    a.entries = kThree;
    const std::string plain = Build(a);
    const size_t uRecord = plain.size() - 22;
    const std::string body = plain.substr(0, uRecord);
    const uint32_t uOffset =
        uint32_t(LocalRecord(kThree[0]).size() + LocalRecord(kThree[1]).size() +
                 LocalRecord(kThree[2]).size());
    const uint32_t uSize = uint32_t(uRecord) - uOffset;

    struct SCase {
        const char* what;
        SEnd end;
    };
    auto make = [&](uint16_t entries, uint32_t size, uint32_t offset, int commentLength) {
        SEnd e;
        e.entries = e.volumeEntries = entries;
        e.size = size;
        e.offset = offset;
        e.commentLength = commentLength;
        return e;
    };
    const SCase cases[] = {
        {"directory offset past the end", make(3, uSize, 0x7FFFFFF0, -1)},
        {"directory size past the record", make(3, uRecord + 10, uOffset, -1)},
        {"more entries than there are", make(4, uSize, uOffset, -1)},
        {"size 0 with entries", make(3, 0, uOffset, -1)},
        {"entries 0 with a size", make(0, uSize, uOffset, -1)},
        {"comment length past the end", make(3, uSize, uOffset, 40)},
        {"offset into the middle of a header", make(3, uSize - 7, uOffset + 7, -1)},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string bytes = body + EndRecord(c.end);
        CZipMemFile file;
        CZipStorage storage;
        CZipCentralDir dir;
        file.Write(bytes.data(), UINT(bytes.size()));
        storage.OpenOnFile(file, CZipStorage::zipOpen, false);
        dir.Init(nullptr, &storage);
        int iResult = 0;
        try {
            dir.ReadDirectory(false);
        } catch (CZipException* e) {
            iResult = CauseOf(e);
        }
        EXPECT_EQ(CZipException::badZipFile, iResult);
    }
}

TEST_F(ZipCentralDirTest, TwoHeadersAtOneOffsetAreDamage) {
    std::string locals = LocalRecord(kThree[0]);
    std::string central = CentralRecord(kThree[0], 0) + CentralRecord(kThree[1], 0);
    SEnd end;
    end.entries = end.volumeEntries = 2;
    end.size = uint32_t(central.size());
    end.offset = uint32_t(locals.size());
    Load(locals + central + EndRecord(end));
    EXPECT_EQ(CZipException::badZipFile, Read());
}

TEST_F(ZipCentralDirTest, ExhaustiveReadFindsHeadersBeyondTheDeclaredCount) {
    SArchive a;
    a.entries = kThree;
    std::string bytes = Build(a);
    // Declare two entries where three headers stand.
    bytes[bytes.size() - 22 + 8] = 2;
    bytes[bytes.size() - 22 + 10] = 2;
    Load(bytes);
    ASSERT_EQ(0, Read(false));
    EXPECT_EQ(2, m_dir.GetCount());
    ASSERT_EQ(0, Read(true));
    EXPECT_EQ(kThreeNames, Names());
}

TEST_F(ZipCentralDirTest, BytesBeforeTheArchiveAreKeptWhenTheDirectoryIsRewritten) {
    SArchive a;
    a.prefix = std::string(1000, 's');
    a.entries = kThree;
    a.comment = "kept";
    const std::string original = Build(a);
    Load(original);
    ASSERT_EQ(0, Read());
    EXPECT_EQ(1000u, m_storage.m_uBytesBeforeZip);
    EXPECT_EQ(kThreeNames, Names());

    m_dir.CutFromDisk();
    EXPECT_FALSE(m_dir.IsDirectoryInArchive());
    EXPECT_EQ(original.substr(0, 1000 + m_dir.GetInfo()->m_uOffset), Bytes());
    m_dir.Store();
    m_storage.Flush();
    EXPECT_EQ(original, Bytes());
    EXPECT_TRUE(m_dir.IsDirectoryInArchive());
}

// ---- a directory across volumes

TEST(ZipCentralDirVolumes, DirectoryContinuingOnTheNextVolumeOpens) {
    CTempFolder folder;
    const SEntry first = {"one.txt", "first entry"};
    const SEntry second = {"two.txt", "second entry"};
    std::string volume1("PK\x07\x08", 4);
    const uint32_t uOffsetFirst = uint32_t(volume1.size());
    volume1 += LocalRecord(first);
    const uint32_t uOffsetSecond = uint32_t(volume1.size());
    volume1 += LocalRecord(second);
    const uint32_t uDirectory = uint32_t(volume1.size());
    const std::string centralFirst = CentralRecord(first, uOffsetFirst);
    const std::string centralSecond = CentralRecord(second, uOffsetSecond);
    volume1 += centralFirst;
    SEnd end;
    end.thisVolume = 1;
    end.cdVolume = 0;
    end.volumeEntries = 1;
    end.entries = 2;
    end.size = uint32_t(centralFirst.size() + centralSecond.size());
    end.offset = uDirectory;
    ASSERT_TRUE(WriteWholeFile(folder.File("a.z01"), volume1));
    ASSERT_TRUE(WriteWholeFile(folder.File("a.zip"), centralSecond + EndRecord(end)));

    CZipStorage storage;
    CZipCentralDir dir;
    storage.Open(folder.File("a.zip").c_str(),
                 CZipStorage::zipOpenReadOnly | CZipStorage::zipModeSplit, 0);
    dir.Init(nullptr, &storage);
    try {
        dir.ReadDirectory(false);
    } catch (CZipException* e) {
        FAIL() << "error " << CauseOf(e);
    }
    ASSERT_EQ(2, dir.GetCount());
    EXPECT_STREQ("one.txt", LPCSTR(dir[0]->GetFileName()));
    EXPECT_STREQ("two.txt", LPCSTR(dir[1]->GetFileName()));
    EXPECT_EQ(uOffsetSecond, dir[1]->m_uOffset);
    dir.CloseDirectory();
    storage.Close(false);
}

// ---- the sorted name index

TEST_F(ZipCentralDirTest, SporadicLookupsWithTheOtherCaseRuleDoNotRebuildTheIndex) {
    SArchive a;
    a.entries = {{"Readme.TXT", "r"}, {"b.txt", "b"}, {"A.txt", "a"}};
    Load(Build(a));
    ASSERT_EQ(0, Read());

    EXPECT_EQ(0, m_dir.FindEntry("readme.txt", false, false, false));
    EXPECT_FALSE(m_dir.GetInfo()->m_bCaseSensitive);
    struct SLookup {
        const char* name;
        bool caseSensitive;
        bool sporadic;
        WORD expected;
        bool indexCaseRuleAfter;
    };
    const SLookup lookups[] = {
        {"readme.txt", true, true, 0xFFFF, false}, {"Readme.TXT", true, true, 0, false},
        {"a.TXT", false, false, 2, false},         {"readme.txt", true, false, 0xFFFF, true},
        {"Readme.TXT", true, false, 0, true},      {"B.TXT", false, true, 1, true},
        {"missing", false, false, 0xFFFF, false},
    };
    for (const SLookup& l : lookups) {
        SCOPED_TRACE(l.name);
        EXPECT_EQ(l.expected, m_dir.FindEntry(l.name, l.caseSensitive, l.sporadic, false));
        EXPECT_EQ(l.indexCaseRuleAfter, m_dir.GetInfo()->m_bCaseSensitive);
    }
}

TEST_F(ZipCentralDirTest, NameOnlyLookupComparesTheLastComponent) {
    SArchive a;
    a.entries = {{"x/deep/file.zel", "1"}, {"folder/", ""}, {"other.zel", "2"}};
    Load(Build(a));
    ASSERT_EQ(0, Read());
    EXPECT_EQ(0, m_dir.FindEntry("FILE.zel", false, false, true));
    EXPECT_EQ(1, m_dir.FindEntry("folder", false, false, true));
    EXPECT_EQ(0xFFFF, m_dir.FindEntry("deep", false, false, true));
    EXPECT_EQ(0xFFFF, m_dir.FindEntry("FILE.zel", true, true, true));
}

TEST_F(ZipCentralDirTest, RemovingMiddleEntriesKeepsEveryIndexRecordOnItsHeader) {
    SArchive a;
    a.entries = {{"e.txt", "1"}, {"d.txt", "2"}, {"c.txt", "3"}, {"b.txt", "4"}, {"a.txt", "5"}};
    Load(Build(a));
    ASSERT_EQ(0, Read());
    ASSERT_EQ(2, m_dir.FindEntry("c.txt", false, false, false));

    m_dir.RemoveEntry(nullptr, 2, true);
    m_dir.RemoveEntry(m_dir[0], -1, true);
    const std::vector<std::string> expected = {"d.txt", "b.txt", "a.txt"};
    EXPECT_EQ(expected, Names());
    for (const std::string& name : expected) {
        const WORD uIndex = m_dir.FindEntry(name.c_str(), false, false, false);
        ASSERT_TRUE(m_dir.IsValidIndex(uIndex)) << name;
        EXPECT_STREQ(name.c_str(), LPCSTR(m_dir[uIndex]->GetFileName()));
    }
    EXPECT_EQ(0xFFFF, m_dir.FindEntry("c.txt", false, false, false));
    EXPECT_EQ(0xFFFF, m_dir.FindEntry("e.txt", false, false, false));
    EXPECT_FALSE(m_dir.IsValidIndex(3));
    EXPECT_FALSE(m_dir.IsValidIndex(0xFFFF));
}

TEST_F(ZipCentralDirTest, RenameMovesTheHeaderInTheIndex) {
    SArchive a;
    a.entries = {{"a.txt", "1"}, {"m.txt", "2"}, {"z.txt", "3"}};
    Load(Build(a));
    ASSERT_EQ(0, Read());
    ASSERT_EQ(0, m_dir.FindEntry("a.txt", false, false, false));

    ASSERT_TRUE(m_dir[0]->SetFileName("zz.txt"));
    EXPECT_EQ(0, m_dir.FindEntry("zz.txt", false, false, false));
    EXPECT_EQ(0xFFFF, m_dir.FindEntry("a.txt", false, false, false));
    EXPECT_EQ(1, m_dir.FindEntry("m.txt", false, false, false));
    EXPECT_EQ(2, m_dir.FindEntry("z.txt", false, false, false));
    EXPECT_TRUE(m_dir.AnyEntryModified());
}

// ---- cutting, restoring, adding

TEST(ZipCentralDirRollback, FailedAddLeavesTheFileAsItWas) {
    struct SCase {
        const char* what;
        size_t nameSize; // 0: a short name
        int expected;    // the error of writing the local header, 0 when none
    };
    const SCase cases[] = {
        {"data written, then failed", 0, 0},
        {"name too long for its local header", 65536, CZipException::tooLongData},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        SArchive a;
        a.entries = kThree;
        a.comment = "old directory";
        a.prefix = "prefix";
        const std::string original = Build(a);
        CZipMemFile file;
        CZipStorage storage;
        CZipCentralDir dir;
        file.Write(original.data(), UINT(original.size()));
        storage.OpenOnFile(file, CZipStorage::zipOpen, false);
        dir.Init(nullptr, &storage);
        dir.ReadDirectory(false);
        ASSERT_EQ(0, dir.FindEntry("a.txt", false, false, false));
        auto bytes = [&file] {
            return std::string(reinterpret_cast<const char*>(file.GetData()),
                               size_t(file.GetLength()));
        };

        CZipFileHeader templ;
        templ.SetFileName(c.nameSize ? std::string(c.nameSize, 'n').c_str() : "new.txt");
        templ.m_uMethod = 0;
        CZipFileHeader* pHeader = dir.AddEntry(templ, 0xFFFF, 0);
        ASSERT_NE(nullptr, pHeader);
        EXPECT_EQ(4, dir.GetCount());
        int iResult = 0;
        try {
            pHeader->WriteLocalHeader(&storage);
            storage.Write("partial data", 12, false);
            storage.Flush();
        } catch (CZipException* e) {
            iResult = CauseOf(e);
        }
        EXPECT_EQ(c.expected, iResult);
        EXPECT_NE(original, bytes());

        // Nothing to restore while the failed entry is still there.
        EXPECT_FALSE(dir.RestoreCutDirectory());
        dir.RemoveLastEntry();
        EXPECT_TRUE(dir.RestoreCutDirectory());
        EXPECT_EQ(original, bytes());
        EXPECT_TRUE(dir.IsDirectoryInArchive());
        EXPECT_EQ(3, dir.GetCount());
        EXPECT_EQ(0xFFFF, dir.FindEntry("new.txt", false, false, false));
        EXPECT_FALSE(dir.RestoreCutDirectory());
    }
}

TEST_F(ZipCentralDirTest, AddedEntryIsStoredAfterTheOldOnesAndReadsBack) {
    SArchive a;
    a.entries = kThree;
    const std::string original = Build(a);
    Load(original);
    ASSERT_EQ(0, Read());

    const SEntry added = {"d.txt", "delta"};
    CZipFileHeader templ;
    templ.SetFileName("d.txt");
    templ.m_uMethod = 0;
    templ.m_uModTime = kTime;
    templ.m_uModDate = kDate;
    templ.m_uExternalAttr = 0x20;
    templ.m_uComprSize = templ.m_uUncomprSize = 5;
    CZipFileHeader* pHeader = m_dir.AddEntry(templ, 0xFFFF, 0);
    pHeader->WriteLocalHeader(&m_storage);
    m_storage.Write(added.data.data(), 5, false);
    pHeader->m_uCrc32 = Crc(added.data);
    pHeader->m_uComprSize = pHeader->m_uUncomprSize = 5;
    m_dir.CloseNewEntry();
    // A completed entry makes the kept directory stale.
    EXPECT_FALSE(m_dir.RestoreCutDirectory());
    m_dir.Store();
    m_storage.Flush();
    EXPECT_FALSE(m_dir.RestoreCutDirectory());

    a.entries.push_back(added);
    EXPECT_EQ(Build(a), Bytes());
}

TEST_F(ZipCentralDirTest, RemoveLastEntryCutsTheFileAtItsLocalHeader) {
    SArchive a;
    a.entries = kThree;
    Load(Build(a));
    ASSERT_EQ(0, Read());
    m_dir.RemoveLastEntry();
    EXPECT_EQ(2, m_dir.GetCount());
    EXPECT_FALSE(m_dir.IsDirectoryInArchive());
    EXPECT_EQ(LocalRecord(kThree[0]) + LocalRecord(kThree[1]), Bytes());
    m_dir.Store();
    m_storage.Flush();
    a.entries.pop_back();
    EXPECT_EQ(Build(a), Bytes());
    EXPECT_EQ(uint32_t(Build(a).size()) - m_dir.GetInfo()->m_uOffset, m_dir.GetDirectorySize());
}

} // namespace

namespace {

// ---- a new split archive that fits its first volume

TEST(ZipCentralDirVolumes, SplitArchiveFittingItsFirstVolumeIsWrittenPlain) {
    CTempFolder folder;
    const std::string path = folder.File("a.zip");
    const std::vector<SEntry> entries = {{"one.txt", "first entry"},
                                         {"two.txt", "second entry, longer"}};
    {
        CZipStorage storage;
        CZipCentralDir dir;
        storage.Open(path.c_str(), CZipStorage::zipCreate | CZipStorage::zipModeSplit, 1000000);
        dir.Init(nullptr, &storage);
        for (const SEntry& e : entries) {
            CZipFileHeader templ;
            templ.SetFileName(e.name.c_str());
            templ.m_uMethod = 0;
            templ.m_uModTime = kTime;
            templ.m_uModDate = kDate;
            templ.m_uExternalAttr = 0x20;
            CZipFileHeader* pHeader = dir.AddEntry(templ, 0xFFFF, 0);
            ASSERT_TRUE(pHeader->IsDataDescriptor());
            pHeader->WriteLocalHeader(&storage);
            storage.Write(e.data.data(), DWORD(e.data.size()), false);
            pHeader->m_uCrc32 = Crc(e.data);
            pHeader->m_uComprSize = pHeader->m_uUncomprSize = DWORD(e.data.size());
            dir.CloseNewEntry();
        }
        dir.Store();
        storage.Close(true);
    }
    ASSERT_FALSE(FileExists(folder.File("a.z01")));

    // No split signature, no data descriptors: the plain archive of the same entries.
    SArchive plain;
    plain.entries = entries;
    EXPECT_EQ(Build(plain), ReadWholeFile(path));

    std::string output;
    EXPECT_TRUE(RunNativeCommand("unzip -t '" + HostPath(path) + "' 2>&1", &output)) << output;
    EXPECT_NE(std::string::npos, output.find("No errors detected")) << output;
}

} // namespace

namespace {

// ---- the directory write and its callback

class CSaveAnswer : public CZipActionCallback {
public:
    bool Callback(DWORD uProgress) override {
        m_uReported += uProgress;
        m_iCalls++;
        return m_bAllow;
    }
    bool m_bAllow = false;
    int m_iCalls = 0;
    DWORD m_uReported = 0;
};

TEST(ZipCentralDirStore, RefusedDirectoryWriteIsCutBackAndGives107) {
    SArchive a;
    a.entries = kThree;
    const std::string original = Build(a);
    CZipMemFile file;
    file.Write(original.data(), UINT(original.size()));
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchiveInMemory(file, CZipArchive::zipOpen));
    ASSERT_EQ(3, zip.GetCount());

    // A new entry cuts the directory off; it is written again on request.
    const SEntry added = {"d.txt", "delta"};
    CZipFileHeader templ;
    templ.SetFileName(added.name.c_str());
    ASSERT_TRUE(zip.OpenNewEntry(templ, 0));
    ASSERT_TRUE(zip.WriteNewEntryData(added.data.data(), DWORD(added.data.size())));
    ASSERT_TRUE(zip.CloseNewEntry());
    zip.GetStorage()->Flush();
    const std::string data(reinterpret_cast<const char*>(file.GetData()), size_t(file.GetLength()));
    // The old entries stay where they were; the new one follows them.
    const size_t uLocals = LocalRecord(kThree[0]).size() + LocalRecord(kThree[1]).size() +
                           LocalRecord(kThree[2]).size();
    ASSERT_EQ(original.substr(0, uLocals), data.substr(0, uLocals));
    ASSERT_EQ(uLocals + LocalRecord(added).size(), data.size());

    CSaveAnswer answer;
    zip.SetActionCallback(&answer, CZipActionCallback::cbSave);
    int iCause = 0;
    try {
        zip.WriteDirectory();
    } catch (CZipException* e) {
        iCause = CauseOf(e);
    }
    EXPECT_EQ(CZipException::abortedSafely, iCause);
    EXPECT_EQ(1,
              answer.m_iCalls); // the steps of type 128 are cached up to the last header
    EXPECT_EQ(4u, answer.m_uReported);
    EXPECT_EQ(data,
              std::string(reinterpret_cast<const char*>(file.GetData()), size_t(file.GetLength())));

    answer.m_bAllow = true;
    zip.WriteDirectory();
    zip.CloseArchive();
    CZipArchive check;
    ASSERT_TRUE(check.OpenArchiveInMemory(file, CZipArchive::zipOpenReadOnly));
    ASSERT_EQ(4, check.GetCount());
    EXPECT_STREQ("d.txt", LPCSTR(check.GetEntryInfo(3)->GetFileName()));
    check.CloseArchive();
}

} // namespace
