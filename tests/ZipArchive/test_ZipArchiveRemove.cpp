// Tests of removing entries: by names and indexes, every entry, the data that
// moves down behind removed entries, and callbacks that stop a removal.
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

// Five entries a..e of different sizes and methods.
std::vector<HandMade::SEntry> FiveEntries() {
    std::vector<HandMade::SEntry> entries;
    const char* names[] = {"a.zel", "dir/b.zel", "c.zel", "dir/d.zel", "e.zel"};
    for (int i = 0; i < 5; i++)
        entries.push_back({names[i], Noise(1000 + 7000 * i, i + 1), i % 2 == 1, "", false});
    return entries;
}

class CCountingCallback : public CZipActionCallback {
public:
    explicit CCountingCallback(int iRefuseAt = -1) : m_iRefuseAt(iRefuseAt) {}
    bool Callback(DWORD uProgress) override {
        m_uSum += uProgress;
        return ++m_iCalls != m_iRefuseAt;
    }
    int m_iRefuseAt;
    int m_iCalls = 0;
    DWORD m_uSum = 0;
};

class ZipArchiveRemove : public ::testing::Test {
protected:
    std::string Write(const std::vector<HandMade::SEntry>& entries,
                      const std::string& before = "") {
        const std::string path = m_temp.File("test.zip");
        EXPECT_TRUE(WriteWholeFile(path, HandMade::Build(entries, before)));
        return path;
    }
    CTempFolder m_temp;
};

struct SRemovalCase {
    std::vector<std::string> names;
    std::vector<int> kept; // indexes of the entries left, in order
};

TEST_F(ZipArchiveRemove, RemovingByNamesKeepsTheOthersDataMovedDownUnchanged) {
    const std::vector<SRemovalCase> cases = {
        {{"dir\\b.zel", "dir\\d.zel"}, {0, 2, 4}},
        {{"a.zel"}, {1, 2, 3, 4}},
        {{"e.zel"}, {0, 1, 2, 3}},
        {{"c.zel", "dir\\d.zel"}, {0, 1, 4}},
        {{"DIR\\B.ZEL", "dir\\b.zel", "a.zel"}, {2, 3, 4}}, // another case, a name twice
    };
    const std::vector<HandMade::SEntry> entries = FiveEntries();
    for (const std::string& before : {std::string(), std::string(100, 'S')}) {
        const std::vector<std::string> records = HandMade::LocalRecords(entries, before);
        for (const SRemovalCase& c : cases) {
            const std::string path = Write(entries, before);
            CZipArchive zip;
            ASSERT_TRUE(zip.OpenArchive(path.c_str()));
            CZipStringArray names;
            for (const std::string& name : c.names)
                names.Add(name.c_str());
            ASSERT_TRUE(zip.RemoveEntriesByName(names)) << c.names[0];
            EXPECT_EQ(zip.GetCount(), c.kept.size());
            zip.CloseArchive();

            // The kept local records follow the bytes before the archive
            // without a gap, byte for byte as they were.
            std::string expected = before;
            for (int i : c.kept)
                expected += records[i];
            const std::string after = ReadWholeFile(path);
            EXPECT_EQ(after.substr(0, expected.size()), expected) << c.names[0];
            const auto back = ReadBack(path);
            ASSERT_EQ(back.size(), c.kept.size());
            for (size_t k = 0; k < back.size(); k++) {
                const std::string name = Backslashed(entries[c.kept[k]].name);
                EXPECT_EQ(back[k].first, name);
                EXPECT_EQ(back[k].second, entries[c.kept[k]].data) << name;
            }
            if (before.empty()) {
                const ZipTools::SToolRun check = ZipTools::UnzipTest(path);
                EXPECT_TRUE(check.ok) << check.output;
            }
        }
    }
}

TEST_F(ZipArchiveRemove, AMissingNameOrABadIndexRemovesNothing) {
    const std::vector<HandMade::SEntry> entries = FiveEntries();
    const std::string path = Write(entries);
    const std::string original = ReadWholeFile(path);
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchive(path.c_str()));
    CZipStringArray names;
    names.Add("c.zel");
    names.Add("missing.zel");
    EXPECT_FALSE(zip.RemoveEntriesByName(names));
    CZipArray<WORD> indexes;
    indexes.Add(1);
    indexes.Add(5);
    EXPECT_FALSE(zip.RemoveEntriesByIndex(indexes));
    EXPECT_EQ(zip.GetCount(), 5);
    CZipArray<WORD> none;
    EXPECT_TRUE(zip.RemoveEntriesByIndex(none));
    zip.CloseArchive();
    EXPECT_EQ(ReadWholeFile(path), original);

    ASSERT_TRUE(zip.OpenArchive(path.c_str(), CZipArchive::zipOpenReadOnly));
    EXPECT_FALSE(zip.RemoveEntriesByIndex(none)) << "read-only";
    indexes.RemoveAll();
    indexes.Add(0);
    EXPECT_FALSE(zip.RemoveEntriesByIndex(indexes)) << "read-only";
    zip.CloseArchive();
    EXPECT_EQ(ReadWholeFile(path), original);
}

TEST_F(ZipArchiveRemove, RemovingEveryEntryLeavesTheBytesBeforeAndAnEndRecord) {
    const std::string before = "self-extractor stub";
    for (int iWay = 0; iWay < 2; iWay++) {
        const std::string path = Write(FiveEntries(), before);
        CZipArchive zip;
        ASSERT_TRUE(zip.OpenArchive(path.c_str()));
        if (iWay == 0) {
            CZipArray<WORD> indexes;
            for (WORD i : {4, 0, 2, 1, 3})
                indexes.Add(i);
            ASSERT_TRUE(zip.RemoveEntriesByIndex(indexes));
        } else {
            CZipStringArray names;
            for (const char* name : {"a.zel", "dir\\b.zel", "c.zel", "dir\\d.zel", "e.zel"})
                names.Add(name);
            ASSERT_TRUE(zip.RemoveEntriesByName(names));
        }
        EXPECT_EQ(zip.GetCount(), 0);
        zip.CloseArchive();
        const std::string endRecord("PK\x05\x06\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 22);
        EXPECT_EQ(ReadWholeFile(path), before + endRecord);
    }
}

TEST_F(ZipArchiveRemove, MovingCallbackSeesEveryByteAndRefusalsStopTheRemoval) {
    const std::vector<HandMade::SEntry> entries = FiveEntries();
    const std::vector<std::string> records = HandMade::LocalRecords(entries);
    {
        const std::string path = Write(entries);
        CZipArchive zip;
        zip.SetBufferSize(4096);
        ASSERT_TRUE(zip.OpenArchive(path.c_str()));
        CCountingCallback moving;
        zip.SetActionCallback(&moving, CZipActionCallback::cbDelete);
        CZipArray<WORD> indexes;
        indexes.Add(1);
        ASSERT_TRUE(zip.RemoveEntriesByIndex(indexes));
        EXPECT_EQ(moving.m_uSum, records[2].size() + records[3].size() + records[4].size());
        EXPECT_EQ(moving.m_uTotalToProcess, moving.m_uSum);
        EXPECT_GT(moving.m_iCalls, 5);
        zip.CloseArchive();
    }
    {
        // Refusing while the map is built: nothing has changed yet (107).
        const std::string path = Write(entries);
        const std::string original = ReadWholeFile(path);
        CZipArchive zip;
        ASSERT_TRUE(zip.OpenArchive(path.c_str()));
        CCountingCallback counting(1);
        zip.SetActionCallback(&counting, CZipActionCallback::cbDeleteCnt);
        CZipArray<WORD> indexes;
        indexes.Add(2);
        EXPECT_EQ(ZipErrorOf([&] { zip.RemoveEntriesByIndex(indexes); }),
                  CZipException::abortedSafely);
        EXPECT_EQ(zip.GetCount(), 5);
        zip.CloseArchive();
        EXPECT_EQ(ReadWholeFile(path), original);
    }
    {
        // Refusing while data moves: the archive is changed already (106).
        const std::string path = Write(entries);
        CZipArchive zip;
        zip.SetBufferSize(4096);
        ASSERT_TRUE(zip.OpenArchive(path.c_str()));
        CCountingCallback moving(2);
        zip.SetActionCallback(&moving, CZipActionCallback::cbDelete);
        CZipArray<WORD> indexes;
        indexes.Add(0);
        EXPECT_EQ(ZipErrorOf([&] { zip.RemoveEntriesByIndex(indexes); }),
                  CZipException::abortedAction);
        EXPECT_EQ(moving.m_iCalls, 2);
        zip.CloseArchive(CZipArchive::afAfterException);
    }
}

} // namespace
