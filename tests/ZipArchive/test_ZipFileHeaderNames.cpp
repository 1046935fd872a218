// Tests of the names and comments of entry headers: decoding by the UTF-8
// flag, then a Unicode record that matches the raw bytes, then the host's code
// page; the Unicode records kept while a name is unchanged (also when appending
// to another tool's archive) and dropped by a rename; renaming inside an
// archive; the UTF-8 flag on names written for UTF-8 hosts.
#include "native/gtest.h"

#include "ZipArchive.h"
#include "ZipCompatibility.h"
#include "ZipRecordBytes.h"

#include <string>

using namespace ZipRecordBytes;

namespace {

// ---- Reading central records ---------------------------------------------------------

struct SNameCase {
    const char* what;
    WORD madeBy;
    WORD flag;
    std::string raw;
    std::string extra;
    std::string expectedUtf8;
};

TEST(ZipFileHeaderNamesTest, NamesDecodeByFlagThenUnicodeRecordThenHostCodePage) {
    const std::string mueller = kMuellerUtf8;
    const SNameCase cases[] = {
        {"UTF-8 flag", 0x0014, 0x0800, mueller, "", mueller},
        {"UTF-8 flag wins over a Unicode record", 0x0014, 0x0800, mueller,
         UnicodeRecord(0x7075, mueller, "other.zel"), mueller},
        {"Unix host: UTF-8 bytes", 0x0314, 0, mueller, "", mueller},
        {"OS X host: UTF-8 bytes", 0x1414, 0, mueller, "", mueller},
        {"DOS host: OEM bytes", 0x0014, 0, OemFromUtf8(mueller), "", mueller},
        {"Unicode record matching the raw name", 0x0014, 0, "Mueller.zel",
         UnicodeRecord(0x7075, "Mueller.zel", mueller), mueller},
        {"Unicode record after another record", 0x0014, 0, "Mueller.zel",
         Record(0x5455, "\x03"
                        "abcd") +
             UnicodeRecord(0x7075, "Mueller.zel", mueller),
         mueller},
        {"stale Unicode record (CRC of another name)", 0x0014, 0, "Mueller.zel",
         UnicodeRecord(0x7075, "Old.zel", mueller), "Mueller.zel"},
        {"Unicode record of an unknown version", 0x0014, 0, "Mueller.zel",
         UnicodeRecord(0x7075, "Mueller.zel", mueller, 2), "Mueller.zel"},
        {"separators turn into backslashes", 0x0014, 0, "calls/Mueller.zel",
         UnicodeRecord(0x7075, "calls/Mueller.zel", "calls/" + mueller), "calls\\" + mueller},
    };
    for (const SNameCase& c : cases) {
        SCOPED_TRACE(c.what);
        SCentral record;
        record.madeBy = c.madeBy;
        record.flag = c.flag;
        record.name = c.raw;
        record.extra = c.extra;
        CMemArchive archive(record.Bytes());
        CZipFileHeader header(&archive.m_dir);
        ASSERT_TRUE(header.ReadCentralHeader());
        EXPECT_EQ(header.GetSystemCompatibility(), c.madeBy >> 8);
        EXPECT_EQ(std::string(header.GetFileName()), AnsiFromUtf8(c.expectedUtf8));
    }
}

TEST(ZipFileHeaderNamesTest, CommentsDecodeByFlagThenUnicodeRecord) {
    const std::string mueller = kMuellerUtf8;
    const SNameCase cases[] = {
        {"UTF-8 flag", 0x0014, 0x0800, mueller, "", mueller},
        {"matching Unicode comment record", 0x0014, 0, "Mueller",
         UnicodeRecord(0x6375, "Mueller", mueller), mueller},
        {"stale Unicode comment record", 0x0014, 0, "Mueller", UnicodeRecord(0x6375, "M", mueller),
         "Mueller"},
        {"DOS host: ANSI bytes", 0x0014, 0, AnsiFromUtf8(mueller), "", mueller},
    };
    for (const SNameCase& c : cases) {
        SCOPED_TRACE(c.what);
        SCentral record;
        record.madeBy = c.madeBy;
        record.flag = c.flag;
        record.comment = c.raw;
        record.extra = c.extra;
        CMemArchive archive(record.Bytes());
        CZipFileHeader header(&archive.m_dir);
        ASSERT_TRUE(header.ReadCentralHeader());
        EXPECT_EQ(std::string(header.GetComment()), AnsiFromUtf8(c.expectedUtf8));
    }
}

// The extra field of the central record written for a header.
std::string CentralExtraOf(CZipFileHeader& header, std::string* pName = nullptr) {
    CMemArchive out;
    header.WriteCentralHeader(&out.m_storage);
    std::string bytes = out.Written();
    size_t nameSize = size_t(BYTE(bytes[28]) | (BYTE(bytes[29]) << 8));
    size_t extraSize = size_t(BYTE(bytes[30]) | (BYTE(bytes[31]) << 8));
    if (pName)
        *pName = bytes.substr(46, nameSize);
    return bytes.substr(46 + nameSize, extraSize);
}

TEST(ZipFileHeaderNamesTest, UnicodeRecordsStayWhileTheNameIsUnchangedAndGoAfterARename) {
    const std::string mueller = kMuellerUtf8;
    const std::string path = UnicodeRecord(0x7075, "Mueller.zel", mueller);
    const std::string comment = UnicodeRecord(0x6375, "note", "n\xC3\xB6te");
    const std::string other = Record(0xCAFE, "keep");
    SCentral record;
    record.name = "Mueller.zel";
    record.comment = "note";
    record.extra = path + Record(CZipExtraField::idOwnData, "ZL") + comment + other;
    CMemArchive archive(record.Bytes());
    CZipFileHeader header(&archive.m_dir);
    ASSERT_TRUE(header.ReadCentralHeader());
    EXPECT_EQ(std::string(header.GetFileName(true)), AnsiFromUtf8(mueller));
    EXPECT_TRUE(header.m_fileName.HasBuffer()); // the raw bytes cannot be made again from the text

    // Rewritten unchanged (an append to another tool's archive): the Unicode
    // records and the unknown one stay, the one this program manages goes.
    std::string name;
    EXPECT_EQ(CentralExtraOf(header, &name), path + comment + other);
    EXPECT_EQ(name, "Mueller.zel");

    // Local headers keep a matching Unicode name as well.
    CZipFileHeader local(header);
    local.m_aLocalExtraData.Parse(path.data(), DWORD(path.size()));
    CMemArchive localOut;
    local.WriteLocalHeader(&localOut.m_storage);
    EXPECT_EQ(localOut.Written().substr(30 + name.size()), path);

    // A renamed copy no longer carries the other tool's name for it.
    CZipFileHeader renamed(header);
    renamed.m_pCentralDir = nullptr;
    renamed.SetFileName("Renamed.zel");
    EXPECT_EQ(CentralExtraOf(renamed, &name), comment + other);
    EXPECT_EQ(name, "Renamed.zel");
    renamed.SetComment("new");
    EXPECT_EQ(CentralExtraOf(renamed), other);
}

TEST(ZipFileHeaderNamesTest, RenamingAnEntryNormalisesTheNameAndMarksItModified) {
    struct {
        const char* what;
        const char* name; // raw, as read
        DWORD externalAttr;
        const char* newName;
        const char* expected;
        bool modified;
    } const cases[] = {
        {"file loses trailing separators", "a.txt", 0x20, "b.txt\\/", "b.txt", true},
        {"folder gets exactly one backslash", "d/", 0x10, "e", "e\\", true},
        {"folder with several separators", "d/", 0x10, "e/\\", "e\\", true},
        {"same name is no change", "sub/a.txt", 0x20, "sub\\a.txt", "sub\\a.txt", false},
        {"case counts", "a.txt", 0x20, "A.txt", "A.txt", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SCentral record;
        record.name = c.name;
        record.externalAttr = c.externalAttr;
        record.extra = UnicodeRecord(0x7075, c.name, c.name);
        CMemArchive archive(record.Bytes());
        CZipFileHeader header(&archive.m_dir);
        ASSERT_TRUE(header.ReadCentralHeader());
        EXPECT_TRUE(header.SetFileName(c.newName));
        EXPECT_EQ(std::string(header.GetFileName()), c.expected);
        EXPECT_EQ(header.IsModified(), c.modified);
        // The other tool's Unicode name goes with the old name only.
        EXPECT_EQ(header.m_aCentralExtraData.HasHeader(CZipExtraField::idUnicodePath), !c.modified);
    }

    SCentral record;
    record.comment = "old";
    record.extra = UnicodeRecord(0x6375, "old", "old");
    CMemArchive archive(record.Bytes());
    CZipFileHeader header(&archive.m_dir);
    ASSERT_TRUE(header.ReadCentralHeader());
    EXPECT_TRUE(header.SetComment("old"));
    EXPECT_FALSE(header.IsModified());
    EXPECT_TRUE(header.SetComment("new"));
    EXPECT_TRUE(header.IsModified());
    EXPECT_EQ(std::string(header.GetComment()), "new");
    EXPECT_FALSE(header.m_aCentralExtraData.HasHeader(CZipExtraField::idUnicodeComment));
}

// Another tool's archive: one stored entry whose raw name is plain ASCII and
// whose Unicode path records (local and central) give the real name.
std::string OtherToolsArchive(const std::string& unicodeRecord) {
    const std::string name = "Mueller.zel";
    const std::string data = "hello";
    const std::string local = Hex("50 4B 03 04 14 00 00 00 00 00 1F 6E 65 58") + Le32(Crc(data)) +
                              Le32(5) + Le32(5) + Le16(unsigned(name.size())) +
                              Le16(unsigned(unicodeRecord.size())) + name + unicodeRecord;
    SCentral central;
    central.method = 0;
    central.crc = Crc(data);
    central.comprSize = 5;
    central.uncomprSize = 5;
    central.name = name;
    central.extra = unicodeRecord;
    const std::string directory = central.Bytes();
    return local + data + directory + Hex("50 4B 05 06 00 00 00 00 01 00 01 00") +
           Le32(unsigned(directory.size())) + Le32(unsigned(local.size() + data.size())) + Le16(0);
}

TEST(ZipFileHeaderNamesTest, AppendingToAnotherToolsArchiveKeepsItsUnicodeNames) {
    const std::string record = UnicodeRecord(0x7075, "Mueller.zel", kMuellerUtf8);
    const std::string original = OtherToolsArchive(record);
    CZipMemFile file;
    file.Write(original.data(), UINT(original.size()));
    {
        CZipArchive zip;
        ASSERT_TRUE(zip.OpenArchiveInMemory(file, CZipArchive::zipOpen));
        ASSERT_EQ(zip.GetCount(), 1);
        EXPECT_EQ(std::string(zip.GetEntryInfo(0)->GetFileName()), AnsiFromUtf8(kMuellerUtf8));
        CZipFileHeader added;
        added.SetFileName("new.txt");
        ASSERT_TRUE(zip.OpenNewEntry(added, 0));
        ASSERT_TRUE(zip.WriteNewEntryData("abc", 3));
        ASSERT_TRUE(zip.CloseNewEntry());
        zip.CloseArchive();
    }
    const std::string after = MemBytes(file);
    // The old entry and its central record are where they were, byte for byte;
    // the new entry's records follow.
    const size_t directoryAt = original.size() - 22 - (46 + 11 + record.size());
    ASSERT_GT(after.size(), original.size());
    EXPECT_EQ(after.substr(0, directoryAt), original.substr(0, directoryAt));
    const size_t oldCentral = after.find(Hex("50 4B 01 02"));
    ASSERT_NE(oldCentral, std::string::npos);
    EXPECT_EQ(after.substr(oldCentral, 46 + 11 + record.size()),
              original.substr(directoryAt, 46 + 11 + record.size()));

    // Read back, the name is still the Unicode one.
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchiveInMemory(file, CZipArchive::zipOpenReadOnly));
    ASSERT_EQ(zip.GetCount(), 2);
    EXPECT_EQ(std::string(zip.GetEntryInfo(0)->GetFileName()), AnsiFromUtf8(kMuellerUtf8));
    EXPECT_EQ(std::string(zip.GetEntryInfo(1)->GetFileName()), "new.txt");
    // A read-only archive refuses a rename and the header stays as it was.
    EXPECT_FALSE(zip.GetEntryInfo(0)->SetFileName("x.zel"));
    EXPECT_EQ(std::string(zip.GetEntryInfo(0)->GetFileName()), AnsiFromUtf8(kMuellerUtf8));
    EXPECT_FALSE(zip.GetEntryInfo(0)->IsModified());
    EXPECT_TRUE(zip.GetEntryInfo(0)->m_aCentralExtraData.HasHeader(CZipExtraField::idUnicodePath));
    zip.CloseArchive();
}

TEST(ZipFileHeaderNamesTest, NamesWrittenInUtf8CarryTheUtf8Flag) {
    const std::string koenig = "K\xC3\xB6nig.zel";
    struct {
        const char* what;
        int host;
        std::string name; // UTF-8
        std::string comment;
        WORD expectedFlag;
        std::string expectedRaw;
    } const cases[] = {
        {"Unix host, accented name", ZipCompatibility::zcUnix, koenig, "", 0x0800, koenig},
        {"Unix host, accented comment", ZipCompatibility::zcUnix, "plain.zel", koenig, 0x0800,
         "plain.zel"},
        {"Unix host, ASCII only", ZipCompatibility::zcUnix, "plain.zel", "note", 0, "plain.zel"},
        {"OS X host, accented name", ZipCompatibility::zcOsX, koenig, "", 0x0800, koenig},
        {"DOS host: OEM bytes, no flag", ZipCompatibility::zcDosFat, koenig, "", 0,
         OemFromUtf8(koenig)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CMemArchive archive;
        CZipFileHeader header(c.host);
        header.SetFileName(AnsiFromUtf8(c.name).c_str());
        header.SetComment(AnsiFromUtf8(c.comment).c_str());
        header.PrepareForWriting(-1, false);
        header.WriteLocalHeader(&archive.m_storage);
        header.OnDataWritten(&archive.m_storage);
        header.WriteCentralHeader(&archive.m_storage);
        const std::string written = archive.Written();
        ASSERT_EQ(written.size(), 30 + 46 + 2 * c.expectedRaw.size() + c.comment.size());
        EXPECT_EQ(written.substr(6, 2), Le16(c.expectedFlag)); // local
        EXPECT_EQ(written.substr(30, c.expectedRaw.size()), c.expectedRaw);
        const size_t central = 30 + c.expectedRaw.size();
        EXPECT_EQ(written.substr(central + 8, 2), Le16(c.expectedFlag));
        EXPECT_EQ(written.substr(central + 46, c.expectedRaw.size()), c.expectedRaw);
        EXPECT_EQ(written.substr(central + 46 + c.expectedRaw.size()), c.comment);
        // Read back, the texts are the ones written.
        CZipFileHeader reread(header);
        reread.m_fileName.ReleaseString();
        reread.m_comment.ReleaseString();
        EXPECT_EQ(std::string(reread.GetFileName()), AnsiFromUtf8(c.name));
        EXPECT_EQ(std::string(reread.GetComment()), AnsiFromUtf8(c.comment));
    }
}

} // namespace
