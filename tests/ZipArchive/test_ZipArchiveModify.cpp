// Tests of changing entries in place: renames committed to the local headers
// (data moved right or left), entries copied in from another archive, and
// entries replaced by bigger and smaller ones.
#include "native/gtest.h"

#include "ZipArchive.h"
#include "ZipException.h"
#include "ZipHandMadeArchive.h"
#include "ZipTestTools.h"
#include "tests/support/TempFolder.h"
#include "ZipTestFixtures.h"

#include <windows.h>

#include <string>
#include <vector>

using namespace ZipTestFixtures;

namespace {

std::vector<HandMade::SEntry> FourEntries() {
    return {
        {"one.zel", Noise(5000, 1), false, "", false},
        {"calls/two.zel", std::string(20000, 'x') + Noise(100, 2), true, "", false},
        {"three.zel", Noise(300, 3), false, "", false},
        {"four.zel", Noise(9000, 4), true, "", false},
    };
}

Listing ListingOf(const std::vector<HandMade::SEntry>& entries) {
    Listing result;
    for (const HandMade::SEntry& e : entries)
        result.emplace_back(Backslashed(e.name), e.data);
    return result;
}

class ZipArchiveModify : public ::testing::Test {
protected:
    std::string Write(const std::string& file, const std::vector<HandMade::SEntry>& entries) {
        const std::string path = m_temp.File(file);
        EXPECT_TRUE(WriteWholeFile(path, HandMade::Build(entries)));
        return path;
    }
    static void ExpectToolsAccept(const std::string& path, const std::string& password = "") {
        const ZipTools::SToolRun check = ZipTools::UnzipTest(path, password);
        EXPECT_TRUE(check.ok) << check.output;
    }
    CTempFolder m_temp;
};

TEST_F(ZipArchiveModify, RenamesMoveTheFollowingDataByTheLocalHeadersDifference) {
    struct SCase {
        WORD index;
        const char* newName;
    };
    const SCase cases[] = {
        {1, "calls\\a much longer name for the second call.zel"}, // data moves right
        {0, "1.zel"},                                             // left
        {3, "last.zel"},                                          // the last entry
        {2, "3hree.zel"},                                         // same length
    };
    for (int iCommitMode : {1, 0}) {
        for (const SCase& c : cases) {
            std::vector<HandMade::SEntry> entries = FourEntries();
            const std::string path = Write("rename.zip", entries);
            CZipArchive zip;
            zip.SetCommitMode(iCommitMode);
            ASSERT_TRUE(zip.OpenArchive(path.c_str()));
            ASSERT_TRUE(zip.GetEntryInfo(c.index)->SetFileName(c.newName));
            EXPECT_EQ(zip.FindEntry(c.newName), c.index);
            zip.CloseArchive();
            entries[c.index].name = c.newName;
            EXPECT_EQ(ReadBack(path), ListingOf(entries)) << c.newName << " mode " << iCommitMode;
            ExpectToolsAccept(path);
        }
    }
}

TEST_F(ZipArchiveModify, SeveralRenamesInOneCommit) {
    std::vector<HandMade::SEntry> entries = FourEntries();
    const std::string path = Write("rename.zip", entries);
    CZipArchive zip;
    zip.SetCommitMode(0);
    ASSERT_TRUE(zip.OpenArchive(path.c_str()));
    const char* names[] = {"a-longer-first-name.zel", "2.zel", "third-gets-longer-too.zel",
                           "4.zel"};
    for (WORD i = 0; i < 4; i++) {
        ASSERT_TRUE(zip.GetEntryInfo(i)->SetFileName(names[i]));
        entries[i].name = names[i];
    }
    zip.CommitEntryChanges();
    zip.CloseArchive();
    EXPECT_EQ(ReadBack(path), ListingOf(entries));
    ExpectToolsAccept(path);
}

TEST_F(ZipArchiveModify, CopiesEntriesFromAnotherArchiveWithAndWithoutANewName) {
    const std::vector<HandMade::SEntry> source = FourEntries();
    const std::string sourcePath = Write("source.zip", source);
    std::vector<HandMade::SEntry> target = {{"kept.zel", Noise(700, 9), true, "", false}};
    const std::string targetPath = Write("target.zip", target);

    CZipArchive from;
    ASSERT_TRUE(from.OpenArchive(sourcePath.c_str(), CZipArchive::zipOpenReadOnly));
    CZipArchive to;
    ASSERT_TRUE(to.OpenArchive(targetPath.c_str()));
    EXPECT_FALSE(to.CopyEntryFromArchive(to, 0)) << "the same archive";
    EXPECT_FALSE(to.CopyEntryFromArchive(from, 4)) << "no such entry";
    EXPECT_FALSE(from.CopyEntryFromArchive(to, 0)) << "a read-only target";
    ASSERT_TRUE(to.CopyEntryFromArchive(from, 1));
    ASSERT_TRUE(to.CopyEntryFromArchive(from, 3, "copies\\renamed.zel"));
    ASSERT_TRUE(to.CopyEntryFromArchive(from, 1, "again.zel"));
    to.CloseArchive();
    from.CloseArchive();

    target.push_back(source[1]);
    target.push_back(source[3]);
    target.back().name = "copies/renamed.zel";
    target.push_back(source[1]);
    target.back().name = "again.zel";
    EXPECT_EQ(ReadBack(targetPath), ListingOf(target));
    ExpectToolsAccept(targetPath);

    // Into a new archive in memory, the raw data unchanged: the compressed
    // bytes are those of the source.
    CZipMemFile memory;
    ASSERT_TRUE(from.OpenArchive(sourcePath.c_str(), CZipArchive::zipOpenReadOnly));
    ASSERT_TRUE(to.OpenArchiveInMemory(memory, CZipArchive::zipCreate));
    for (WORD i = 0; i < 4; i++)
        ASSERT_TRUE(to.CopyEntryFromArchive(from, i));
    to.CloseArchive();
    from.CloseArchive();
    const std::string written((const char*)memory.GetData(), (size_t)memory.GetLength());
    const std::string original = ReadWholeFile(sourcePath);
    const std::vector<std::string> records = HandMade::LocalRecords(source);
    size_t at = 0;
    for (const std::string& record : records) {
        // Same data after a local header of the same length (the name is kept).
        EXPECT_EQ(written.substr(at + 30, record.size() - 30), record.substr(30));
        at += record.size();
    }
}

TEST_F(ZipArchiveModify, ReplacingAnEntryWithABiggerOrSmallerOne) {
    const std::vector<HandMade::SEntry> donors = {
        {"tiny.zel", "4 by", false, "", false},
        {"big.zel", Noise(60000, 7), false, "", false},
        {"same-length-name.zel", Noise(5000, 8), true, "", false},
    };
    const std::string donorPath = Write("donors.zip", donors);
    for (WORD uDonor = 0; uDonor < donors.size(); uDonor++) {
        for (WORD uReplace : {0, 1, 3}) {
            std::vector<HandMade::SEntry> entries = FourEntries();
            const std::string path = Write("replace.zip", entries);
            CZipArchive from;
            ASSERT_TRUE(from.OpenArchive(donorPath.c_str(), CZipArchive::zipOpenReadOnly));
            CZipArchive zip;
            zip.SetBufferSize(3000);
            ASSERT_TRUE(zip.OpenArchive(path.c_str()));
            ASSERT_TRUE(zip.CopyEntryFromArchive(from, uDonor, nullptr, uReplace));
            EXPECT_EQ(zip.GetCount(), 4);
            zip.CloseArchive();
            from.CloseArchive();
            entries[uReplace] = donors[uDonor];
            EXPECT_EQ(ReadBack(path), ListingOf(entries))
                << "donor " << uDonor << " at " << uReplace;
            ExpectToolsAccept(path);
        }
    }
}

TEST_F(ZipArchiveModify, MovingCallbacksReportTheBytesBehindTheChangedEntry) {
    class CSum : public CZipActionCallback {
    public:
        bool Callback(DWORD uProgress) override {
            m_uSum += uProgress;
            return true;
        }
        DWORD m_uSum = 0;
    };
    const std::vector<HandMade::SEntry> entries = FourEntries();
    const std::vector<std::string> records = HandMade::LocalRecords(entries);
    const size_t uBehindFirst = records[1].size() + records[2].size() + records[3].size();

    // A rename of the first entry moves everything after its local header:
    // its own data and the three entries behind it.
    std::string path = Write("rename.zip", entries);
    CZipArchive zip;
    zip.SetBufferSize(1000);
    ASSERT_TRUE(zip.OpenArchive(path.c_str()));
    CSum modify;
    zip.SetActionCallback(&modify, CZipActionCallback::cbModify);
    ASSERT_TRUE(zip.GetEntryInfo(0)->SetFileName("first-entry-renamed.zel"));
    EXPECT_EQ(modify.m_uSum, entries[0].data.size() + uBehindFirst);
    EXPECT_EQ(modify.m_uTotalToProcess, modify.m_uSum);
    zip.CloseArchive();

    // Replacing the first entry moves only the three entries behind it.
    const std::vector<HandMade::SEntry> donor = {{"bigger.zel", Noise(9000, 6), false, "", false}};
    const std::string donorPath = Write("donor.zip", donor);
    path = Write("replace.zip", entries);
    CZipArchive from;
    ASSERT_TRUE(from.OpenArchive(donorPath.c_str(), CZipArchive::zipOpenReadOnly));
    ASSERT_TRUE(zip.OpenArchive(path.c_str()));
    CSum move;
    zip.SetActionCallback(&move, CZipActionCallback::cbMoveData);
    ASSERT_TRUE(zip.CopyEntryFromArchive(from, 0, nullptr, 0));
    EXPECT_EQ(move.m_uSum, uBehindFirst);
    zip.CloseArchive();
    from.CloseArchive();
}

TEST_F(ZipArchiveModify, EncryptedEntriesCopyWithTheirEncryptionHeader) {
    const std::string folder = m_temp.File("src");
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string data = Noise(20000, 5) + std::string(30000, 'z');
    ASSERT_TRUE(WriteWholeFile(folder + "\\secret.zel", data));
    const std::string sourcePath = m_temp.File("sealed.zip");
    ZipTools::SZipOptions options;
    options.password = "pw-123";
    ASSERT_TRUE(ZipTools::MakeWithZip(folder, {"secret.zel"}, sourcePath, options));

    const std::string targetPath = Write("target.zip", FourEntries());
    CZipArchive from;
    ASSERT_TRUE(from.OpenArchive(sourcePath.c_str(), CZipArchive::zipOpenReadOnly));
    CZipArchive to;
    ASSERT_TRUE(to.OpenArchive(targetPath.c_str()));
    ASSERT_TRUE(to.CopyEntryFromArchive(from, 0, "copied.zel"));
    to.SetPassword("pw-123");
    std::string bytes;
    ASSERT_TRUE(to.OpenEntryForExtraction(4));
    char buffer[4096];
    DWORD uRead;
    while ((uRead = to.ReadEntryData(buffer, sizeof buffer)) > 0)
        bytes.append(buffer, uRead);
    EXPECT_EQ(to.CloseExtractedEntry(), CZipArchive::ceOk);
    EXPECT_EQ(bytes, data);
    to.CloseArchive();
    from.CloseArchive();
    const ZipTools::SToolRun extracted = ZipTools::UnzipEntry(targetPath, "copied.zel", "pw-123");
    EXPECT_TRUE(extracted.ok);
    EXPECT_EQ(extracted.output, data);
}

TEST_F(ZipArchiveModify, ARefusedCopyLeavesTheTargetAsItWas) {
    class CRefuse : public CZipActionCallback {
    public:
        bool Callback(DWORD) override { return ++m_iCalls < 2; }
        int m_iCalls = 0;
    };
    const std::vector<HandMade::SEntry> entries = FourEntries();
    const std::string sourcePath = Write("source.zip", entries);
    const std::string targetPath = Write("target.zip", entries);
    const std::string original = ReadWholeFile(targetPath);
    CZipArchive from;
    ASSERT_TRUE(from.OpenArchive(sourcePath.c_str(), CZipArchive::zipOpenReadOnly));
    CZipArchive to;
    to.SetBufferSize(4096);
    ASSERT_TRUE(to.OpenArchive(targetPath.c_str()));
    CRefuse refuse;
    EXPECT_EQ(
        ZipErrorOf([&] { to.CopyEntryFromArchive(from, 3, nullptr, 0xFFFF, false, &refuse); }),
        CZipException::abortedSafely);
    EXPECT_EQ(to.GetCount(), 4);
    to.CloseArchive();
    from.CloseArchive();
    EXPECT_EQ(ReadWholeFile(targetPath), original);
}

} // namespace
