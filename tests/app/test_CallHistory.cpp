// Tests of the play-history store: "history.reclist" byte by byte (CR CR LF
// lines, escaped markup), a store that holds nothing leaving an old file as
// it was, a save that fails leaving it too, lenient reading, and the
// newest-first order in which the history list is shown.
#include "native/gtest.h"

#include "CallHistory.h"
#include "ScoredFileListEntry.h"
#include "ZelDorvaneDoc.h"
#include "tests/app/ListTestRecordings.h"

#include "Common/KWSysUtils.h"

#include "tests/support/AnsweringApp.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

CAnsweringApp theApp;

class CallHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int s_nTest = 0;
        m_company = "ZmHistoryTest-" + std::to_string(::GetCurrentProcessId()) + "-" +
                    std::to_string(++s_nTest);
        CKWSysUtils::GetInstance()->SetNames(m_company.c_str(), "Zel Moxel");
        m_file = static_cast<const char*>(History()->GetFilePath());
        theApp.m_prompts.clear();
    }
    void TearDown() override {
        CCallHistory::DeleteInstance();
        ::SetFileAttributesA(m_file.c_str(), FILE_ATTRIBUTE_NORMAL);
        std::string config(CKWSysUtils::GetInstance()->GetConfigurationFolder(true));
        RemoveFolderTree(config.substr(0, config.find(m_company) + m_company.size()));
    }

    static CCallHistory* History() { return CCallHistory::GetInstance(); }

    std::string Rec(const std::string& name, int startTime = 1000000000) {
        SListRecording rec;
        rec.name = name;
        rec.startTime = startTime;
        std::string path = WriteListRecording(m_folder.Path(), rec);
        EXPECT_FALSE(path.empty()) << name;
        return path;
    }

    static std::vector<std::string> StorePaths() {
        std::vector<std::string> paths;
        for (int i = 0; i < History()->GetCount(); ++i)
            paths.push_back(History()->GetAt(i)->GetPath());
        return paths;
    }

    static FILETIME WriteTime(const std::string& path) {
        FILETIME ft = {};
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
            ft = data.ftLastWriteTime;
        return ft;
    }

    std::string m_company;
    std::string m_file; // history.reclist of the test's own configuration folder
    CTempFolder m_folder;
};

TEST_F(CallHistoryTest, EachPlayIsALineEndingInCrCrLf) {
    const std::string a = Rec("a.zel"), rd = Rec("R&D\\b.zel");
    for (const std::string& path : {a, rd, a, a})
        History()->Add(path.c_str());
    ASSERT_TRUE(History()->Save());
    const std::string line = "   <rec>" + a + "</rec>\r\r\n";
    const std::string expected = "<root>\r\r\n" + line + "   <rec>" + m_folder.Path() +
                                 "R&amp;D\\b.zel</rec>\r\r\n" + line + line + "</root>\r\r\n";
    EXPECT_NE(std::string::npos, m_file.find(m_company)); // in the test's own folder
    EXPECT_EQ(expected, ReadWholeFile(m_file));
    EXPECT_EQ(expected, History()->FormatFile());
    EXPECT_TRUE(theApp.m_prompts.empty());

    // Read back, the same paths in the same order, escaped ones included.
    History()->Load();
    EXPECT_EQ((std::vector<std::string>{a, rd, a, a}), StorePaths());
}

TEST_F(CallHistoryTest, AStoreThatHoldsNothingLeavesAnOldFileUntouched) {
    // Nothing at all: no file is made.
    EXPECT_TRUE(History()->Save());
    EXPECT_FALSE(FileExists(m_file));

    // A file whose recordings have all gone loads as an empty store.
    const std::string old =
        "<root>\r\r\n   <rec>" + m_folder.File("gone.zel") + "</rec>\r\r\n</root>\r\r\n";
    ASSERT_TRUE(WriteWholeFile(m_file, old));
    HANDLE hFile =
        ::CreateFileA(m_file.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SYSTEMTIME st = {2001, 1, 1, 1, 12, 0, 0, 0};
    FILETIME oldTime;
    ::SystemTimeToFileTime(&st, &oldTime);
    ::SetFileTime(hFile, nullptr, nullptr, &oldTime);
    ::CloseHandle(hFile);

    History()->Load();
    EXPECT_EQ(0, History()->GetCount());
    EXPECT_TRUE(History()->Save());
    EXPECT_EQ(old, ReadWholeFile(m_file));
    const FILETIME nowTime = WriteTime(m_file);
    EXPECT_EQ(0, ::CompareFileTime(&oldTime, &nowTime));
    EXPECT_EQ("", History()->FormatFile());
}

TEST_F(CallHistoryTest, AFailedSaveLeavesTheOldFileAndTellsTheUser) {
    const std::string a = Rec("a.zel");
    const std::string old = "<root>\r\r\n   <rec>old</rec>\r\r\n</root>\r\r\n";
    ASSERT_TRUE(WriteWholeFile(m_file, old));
    ASSERT_TRUE(::SetFileAttributesA(m_file.c_str(), FILE_ATTRIBUTE_READONLY));
    History()->Add(a.c_str());
    EXPECT_FALSE(History()->Save());
    EXPECT_EQ(old, ReadWholeFile(m_file));
    ASSERT_EQ(1u, theApp.m_prompts.size());
    EXPECT_NE(std::string::npos, theApp.m_prompts[0].find(m_file)) << theApp.m_prompts[0];
    // Nothing is left beside it.
    std::string folder = m_file.substr(0, m_file.rfind('\\') + 1);
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((folder + "*.tmp").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, hFind);
    if (hFind != INVALID_HANDLE_VALUE)
        ::FindClose(hFind);
}

TEST_F(CallHistoryTest, ReadingTakesEveryTextOfTheFileAsAPath) {
    const std::string a = Rec("a.zel"), b = Rec("b.zel"), amp = Rec("Sales & Support\\c.zel");
    ::CreateDirectoryA(m_folder.File("folder.zel").c_str(), nullptr);
    const struct {
        const char* name;
        std::string file;
        std::vector<std::string> paths;
    } cases[] = {
        {"plays repeat; vanished files and folders are skipped",
         "<root>\r\r\n   <rec>" + a + "</rec>\r\r\n   <rec>" + m_folder.File("gone.zel") +
             "</rec>\r\r\n   <rec>" + a + "</rec>\r\r\n   <rec>" + m_folder.File("folder.zel") +
             "</rec>\r\r\n</root>\r\r\n",
         {a, a}},
        {"a folder element and nested elements name recordings too",
         "<root><Folder>" + b + "</Folder><x><y>" + a + "</y></x></root>",
         {b, a}},
        {"an old file's bare ampersand is kept", "<root><rec>" + amp + "</rec></root>", {amp}},
        {"malformed: nothing", "<root><rec>" + a + "</rec>", {}},
        {"binary bytes: nothing", std::string("\x01\x02<\xff", 4), {}},
        {"empty: nothing", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        History()->Add(b.c_str()); // replaced by the load
        ASSERT_TRUE(WriteWholeFile(m_file, c.file));
        History()->Load();
        EXPECT_EQ(c.paths, StorePaths());
    }
    ::DeleteFileA(m_file.c_str());
    History()->Load();
    EXPECT_EQ(0, History()->GetCount());
    // None of these is worth a box.
    EXPECT_TRUE(theApp.m_prompts.empty());
}

TEST_F(CallHistoryTest, PathsOfMaxPathOrMoreAreNamedToTheUserNeverCut) {
    const std::string a = Rec("a.zel");
    const std::string longPath = m_folder.Path() + std::string(MAX_PATH, 'x') + ".zel";
    ASSERT_TRUE(WriteWholeFile(longPath.substr(0, MAX_PATH - 1), ReadWholeFile(a)));
    ASSERT_TRUE(
        WriteWholeFile(m_file, "<root><rec>" + longPath + "</rec><rec>" + a + "</rec></root>"));
    History()->Load();
    EXPECT_EQ((std::vector<std::string>{a}), StorePaths());
    ASSERT_EQ(1u, theApp.m_prompts.size());
    EXPECT_NE(std::string::npos, theApp.m_prompts[0].find(longPath));

    History()->Add(longPath.c_str()); // a play of one: not added
    EXPECT_EQ(1, History()->GetCount());
}

TEST_F(CallHistoryTest, AnEntryWhoseHeaderCannotBeReadIsStillAdded) {
    const std::string broken = m_folder.File("broken.zel");
    ASSERT_TRUE(WriteWholeFile(broken, "not a recording"));
    History()->Add(broken.c_str());
    History()->Add(m_folder.File("gone.zel").c_str());
    History()->Add(m_folder.Path().c_str());
    History()->Add("");
    History()->Add(nullptr);
    ASSERT_EQ(1, History()->GetCount());
    EXPECT_STREQ(CKWFileListEntry::kFileErrorText, History()->GetAt(0)->GetCallerId());
    EXPECT_EQ(nullptr, History()->GetAt(1));
    EXPECT_EQ(nullptr, History()->GetAt(-1));
}

TEST_F(CallHistoryTest, TheHistoryListShowsNewestFirstAndTheStoreStaysSorted) {
    const struct {
        const char* name;
        std::vector<int> startTimes; // of a.zel, b.zel, ... in play order
        std::string order;           // the store's order afterwards, by letter
    } cases[] = {
        {"distinct times", {10, 30, 20}, "bca"},
        {"the later of two equal newest moves forward first", {1, 5, 5}, "cba"},
        {"all equal: as played", {5, 5, 5}, "abc"},
        {"five", {3, 1, 2, 5, 4}, "deacb"},
        {"one", {7}, "a"},
        {"none", {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        History()->Clear();
        std::vector<std::string> paths;
        for (size_t i = 0; i < c.startTimes.size(); ++i) {
            paths.push_back(
                Rec(std::string(1, static_cast<char>('a' + i)) + ".zel", c.startTimes[i]));
            History()->Add(paths.back().c_str());
        }
        CZelDorvaneDoc doc;
        History()->FillDocument(&doc);
        std::string docOrder, storeOrder;
        for (int i = 0; i < doc.GetRecordingCount(); ++i)
            docOrder += doc.GetRecording(i)->GetPath()[m_folder.Path().size()];
        for (const std::string& path : StorePaths())
            storeOrder += path[m_folder.Path().size()];
        EXPECT_EQ(c.order, docOrder);
        EXPECT_EQ(c.order, storeOrder);
    }
}

TEST_F(CallHistoryTest, ACallPlayedAgainIsListedOnceAndLaterPlaysFollowTheSortedPart) {
    const std::string a = Rec("a.zel", 100), b = Rec("b.zel", 200), c = Rec("c.zel", 300);
    for (const std::string& path : {a, b, a, a})
        History()->Add(path.c_str());
    CZelDorvaneDoc doc;
    History()->FillDocument(&doc);
    std::vector<std::string> listed;
    for (int i = 0; i < doc.GetRecordingCount(); ++i)
        listed.push_back(doc.GetRecording(i)->GetPath());
    EXPECT_EQ((std::vector<std::string>{b, a}), listed);
    // The document holds copies: the store keeps its own entries.
    EXPECT_NE(static_cast<const CKWFileListEntry*>(History()->GetAt(0)), doc.GetRecording(0));

    History()->Add(c.c_str());
    EXPECT_EQ((std::vector<std::string>{b, a, a, a, c}), StorePaths());
    History()->FillDocument(nullptr); // sorts only
    EXPECT_EQ((std::vector<std::string>{c, b, a, a, a}), StorePaths());
}

} // namespace
