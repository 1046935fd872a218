// Tests of the search: WildcardMatch, the criteria record, and CSearchManager
// with its match rules, sources, stop, sort orders and hand-over.
#include "native/gtest.h"

#include "app/ArchiveLookup.h"
#include "app/Scoring/ScoreFormManager.h"
#include "app/ScoredFileListEntry.h"
#include "app/SearchManager.h"
#include "app/ZelDorvaneDoc.h"
#include "tests/app/SearchTestCriteria.h"
#include "tests/app/StoreTestFolders.h"
#include "tests/support/RecordFileHelpers.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const char kPassphrase[] = "moxel";
const DWORD kWalkTimeoutMs = 20000;

using Names = std::set<std::string>;

std::string NameOf(const std::string& path) {
    const size_t separator = path.find_last_of('\\');
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string Header(const RecordingFields& fields) {
    return MakeHeaderV2to4(4, 1440, fields) + std::string(160, '\x55');
}

LONG UnixOf(const FILETIME& time) {
    const ULONGLONG ticks =
        (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<LONG>(static_cast<LONGLONG>(ticks / 10000000ULL) - 11644473600LL);
}

FILETIME FileTimeOfUnix(LONG seconds) {
    const ULONGLONG ticks = static_cast<ULONGLONG>(11644473600LL + seconds) * 10000000ULL;
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return time;
}

// Unix time of a wall-clock time of this machine's zone.
LONG LocalToUnix(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME local = {year, month, 0, day, hour, minute, second, 0};
    SYSTEMTIME utc;
    FILETIME time;
    EXPECT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc));
    EXPECT_TRUE(SystemTimeToFileTime(&utc, &time));
    return UnixOf(time);
}

DWORD WINAPI StopSearch(void*) {
    CSearchManager::GetInstance()->Stop();
    return 0;
}

LONG g_now = 0;
LONG TestClock() {
    return g_now;
}

// What one search found, as the walk reported it and the document received it.
struct SearchOutcome {
    SearchProgress counted{};  // after SetCriteria
    SearchProgress finished{}; // after the walk
    bool walked = false;       // Start started a walk
    std::vector<std::string> paths;
    Names names;
};

class SearchManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        CSettings::GetInstance()->SetPassphrase(kPassphrase);
        // The score store exists before any walk, as in the program, and keeps
        // its score files in a folder of this test's own.
        CScoreFormManager::GetInstance()->SetFolder(m_scores.Path().c_str());
    }
    void TearDown() override {
        CSearchManager::DeleteInstance();
        CSearchManager::SetClock(nullptr);
        SetArchiveLookup(nullptr);
        CScoreFormManager::DeleteInstance();
        CSettings::DeleteInstance();
    }

    std::string Recording(const std::string& name, const RecordingFields& fields = {}) {
        return Write(name, Header(fields));
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = m_folder.File(name);
        EXPECT_TRUE(WriteWholeFile(path, bytes)) << path;
        return path;
    }
    std::string Folder(const std::string& name) {
        const std::string path = m_folder.File(name);
        EXPECT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
        return path + "\\";
    }

    static SearchCriteria Criteria(const std::vector<std::string>& sources) {
        return MatchEverything(sources, 0);
    }

    static bool WaitForWalkEnd() {
        const DWORD start = GetTickCount();
        while (CSearchManager::GetInstance()->IsWalking()) {
            if (GetTickCount() - start > kWalkTimeoutMs)
                return false;
            Sleep(1);
        }
        return true;
    }

    static void TakeResults(SearchOutcome& outcome) {
        CZelDorvaneDoc doc;
        CSearchManager::GetInstance()->TransferResults(&doc);
        for (int i = 0; i < doc.GetRecordingCount(); ++i) {
            outcome.paths.push_back(doc.GetRecording(i)->GetPath());
            outcome.names.insert(NameOf(outcome.paths.back()));
        }
    }

    // The calling order of the frame: criteria, count, start, wait, transfer.
    static SearchOutcome Search(const SearchCriteria& criteria,
                                int sortColumn = CSearchManager::kSortNone, int descending = 0) {
        SearchOutcome outcome;
        CSearchManager* manager = CSearchManager::GetInstance();
        manager->SetCriteria(criteria, sortColumn, descending);
        manager->GetProgress(outcome.counted);
        manager->Start();
        outcome.walked = manager->IsWalking();
        EXPECT_TRUE(WaitForWalkEnd());
        manager->GetProgress(outcome.finished);
        TakeResults(outcome);
        return outcome;
    }

    CStoreTestFolders m_config{"search"};
    CTempFolder m_folder;
    CTempFolder m_scores;
};

// ---------------------------------------------------------------------------
// WildcardMatch

TEST(WildcardMatch, Table) {
    struct Case {
        const char* mask;
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {"*12*", "A12B", 1},
        {"*12*", "12", 1},
        {"*12*", "1X2", 0},
        {"*1?3*", "X123Y", 1},
        {"*1?3*", "103", 1},
        {"*1?3*", "13", 0},
        {"abc", "abc", 1},
        {"abc", "abC", 0},
        {"abc", "ab", 0},
        {"ab", "abc", 0},
        {"", "", 1},
        {"", "a", 0},
        {"a", "", 0},
        {"*", "", 1},
        {"**", "xyz", 1},
        {"?", "", 0},
        {"*?", "", 0},
        {"*?", "x", 1},
        {"a*c", "abbbc", 1},
        {"a*c", "abbbd", 0},
        {"a*", "a", 1},
        {"*aab", "aaab", 1},
        {"*ab*cd", "xabyabzcd", 1},
        {"a*b?d", "axxbcd", 1},
        {"*a*b", "ba", 0},
        {"?b*", "abz", 1},
        {"x*", "yx", 0},
        {"*\xE4*", "b\xE4r", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, WildcardMatch(c.mask, c.text))
            << "mask \"" << c.mask << "\" text \"" << c.text << "\"";
}

// ---------------------------------------------------------------------------
// SearchCriteria

TEST(SearchCriteria, CopiesEveryField) {
    SearchCriteria original;
    EXPECT_EQ(0, original.GetSize());
    EXPECT_STREQ("", original.FileNameMask);
    EXPECT_STREQ("", original.CallerIdMask);
    original.Add("C:\\Calls");
    original.Add("D:\\More\\x.zel");
    original.IncludeSubFolders = 1;
    original.FileNameMask = "4711*";
    original.CallerIdMask = "+49*";
    original.DateKind = SearchCriteria::kDateRange;
    original.RangeEnd = 2000;
    original.RangeStart = 1000;
    original.LimitLength = 1;
    original.MinMinutes = 3;

    auto expectSame = [&](const SearchCriteria& copy) {
        ASSERT_EQ(2, copy.GetSize());
        EXPECT_STREQ("C:\\Calls", copy.GetAt(0));
        EXPECT_STREQ("D:\\More\\x.zel", copy.GetAt(1));
        EXPECT_EQ(1, copy.IncludeSubFolders);
        EXPECT_STREQ("4711*", copy.FileNameMask);
        EXPECT_STREQ("+49*", copy.CallerIdMask);
        EXPECT_EQ(SearchCriteria::kDateRange, copy.DateKind);
        EXPECT_EQ(2000, copy.RangeEnd);
        EXPECT_EQ(1000, copy.RangeStart);
        EXPECT_EQ(1, copy.LimitLength);
        EXPECT_EQ(3, copy.MinMinutes);
    };
    SearchCriteria constructed(original);
    expectSame(constructed);
    SearchCriteria assigned;
    assigned.Add("E:\\old");
    assigned = original;
    expectSame(assigned);
    assigned = assigned;
    expectSame(assigned);
    // The copy is deep: changing it leaves the original alone.
    constructed.GetAt(0) = "Z:\\";
    constructed.FileNameMask = "changed";
    expectSame(original);
}

// ---------------------------------------------------------------------------
// The manager's state

TEST_F(SearchManagerTest, NewManagerDefaults) {
    CSearchManager* manager = CSearchManager::GetInstance();
    EXPECT_EQ(manager, CSearchManager::GetInstance());
    const SearchCriteria* criteria = manager->GetCriteria();
    EXPECT_EQ(0, criteria->GetSize());
    EXPECT_EQ(0, criteria->IncludeSubFolders);
    EXPECT_STREQ("*", criteria->FileNameMask);
    EXPECT_STREQ("*", criteria->CallerIdMask);
    EXPECT_EQ(SearchCriteria::kDate30Days, criteria->DateKind);
    EXPECT_EQ(-1, criteria->RangeEnd);
    EXPECT_EQ(0, criteria->RangeStart);
    EXPECT_EQ(0, criteria->LimitLength);
    EXPECT_EQ(0, criteria->MinMinutes);
    SearchProgress progress{-1, -1, -1};
    manager->GetProgress(progress);
    EXPECT_EQ(0, progress.Error);
    EXPECT_EQ(0, progress.Examined);
    EXPECT_EQ(0, progress.Counted);
    EXPECT_FALSE(manager->IsWalking());

    // SetCriteria keeps a copy: the caller's record may go away.
    {
        SearchCriteria mine = Criteria({m_folder.Path()});
        mine.FileNameMask = "abc";
        manager->SetCriteria(mine, CSearchManager::kSortDuration, 0);
    }
    EXPECT_STREQ("abc", manager->GetCriteria()->FileNameMask);
    EXPECT_STREQ(m_folder.Path().c_str(), manager->GetCriteria()->GetAt(0));
}

// ---------------------------------------------------------------------------
// Match rules

TEST_F(SearchManagerTest, MasksMatchNamesAndCallerIds) {
    struct File {
        const char* name;
        const char* callerId;
    };
    const File files[] = {
        {"A12B.zel", "555-1234"},   {"12.zel", "5551234"}, {"1X2.zel", "+49 30 12"},
        {"X123Y.zel", "anonymous"}, {"103.zel", "Anon"},   {"13.zel", ""},
        {"xABy.zel", "Call ab"},
    };
    for (const File& file : files) {
        RecordingFields fields;
        fields.callerId = file.callerId;
        fields.duration = 30;
        Recording(file.name, fields);
    }
    // Encrypted with a passphrase the settings do not hold: its Caller ID reads
    // as the decryption error text, which the Caller-ID rule then sees.
    RecordingFields secret;
    secret.callerId = "0800 SECRET";
    Write("enc.zel", MakeHeaderV5(secret, LowercaseCheckString("other"), 2) + std::string(64, 'a'));
    const Names all = {"A12B.zel", "12.zel", "1X2.zel",  "X123Y.zel",
                       "103.zel",  "13.zel", "xABy.zel", "enc.zel"};

    struct Case {
        const char* nameMask;
        const char* callerIdMask;
        Names expected;
    };
    const Case cases[] = {
        {"", "", all},
        {"*", "*", all},
        {"12", "*", {"A12B.zel", "12.zel", "X123Y.zel"}},
        {"*12*", "", {"A12B.zel", "12.zel", "X123Y.zel"}},
        {"1?3", "*", {"X123Y.zel", "103.zel"}},
        {"ab", "*", {"xABy.zel"}},
        {"zel", "*", {}}, // the extension is not part of the name
        {"*", "555", {"A12B.zel", "12.zel"}},
        {"*", "ANON", {"X123Y.zel", "103.zel"}},
        {"*",
         "?",
         {"A12B.zel", "12.zel", "1X2.zel", "X123Y.zel", "103.zel", "xABy.zel", "enc.zel"}},
        {"*", "decryption", {"enc.zel"}},
        {"*", "secret", {}},
        {"1", "*12*", {"A12B.zel", "12.zel", "1X2.zel"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("name mask \"") + c.nameMask + "\", Caller-ID mask \"" +
                     c.callerIdMask + "\"");
        SearchCriteria criteria = Criteria({m_folder.Path()});
        criteria.FileNameMask = c.nameMask;
        criteria.CallerIdMask = c.callerIdMask;
        const SearchOutcome outcome = Search(criteria);
        EXPECT_EQ(c.expected, outcome.names);
        EXPECT_EQ(8, outcome.counted.Counted);
        EXPECT_EQ(8, outcome.finished.Examined);
    }
}

TEST_F(SearchManagerTest, DateKindsAgainstTheClock) {
    // Wine reports a file's last-write time as its creation time and keeps no
    // creation time of its own: both are set, and the test checks what the
    // directory listing then reports.
    struct File {
        const char* name;
        LONG created;
    };
    const File files[] = {
        {"0228-235959.zel", LocalToUnix(2026, 2, 28, 23, 59, 59)},
        {"0301-000000.zel", LocalToUnix(2026, 3, 1, 0, 0, 0)},
        {"0323-235959.zel", LocalToUnix(2026, 3, 23, 23, 59, 59)},
        {"0324-000000.zel", LocalToUnix(2026, 3, 24, 0, 0, 0)},
        {"0329-235959.zel", LocalToUnix(2026, 3, 29, 23, 59, 59)},
        {"0330-000000.zel", LocalToUnix(2026, 3, 30, 0, 0, 0)},
        {"0331-090000.zel", LocalToUnix(2026, 3, 31, 9, 0, 0)},
        {"0401-120000.zel", LocalToUnix(2026, 4, 1, 12, 0, 0)},
    };
    for (const File& file : files) {
        const std::string path = Recording(file.name);
        const FILETIME time = FileTimeOfUnix(file.created);
        HANDLE handle =
            CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, handle);
        EXPECT_TRUE(SetFileTime(handle, &time, nullptr, &time));
        CloseHandle(handle);
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(path.c_str(), &found);
        ASSERT_NE(INVALID_HANDLE_VALUE, search);
        FindClose(search);
        ASSERT_EQ(file.created, UnixOf(found.ftCreationTime)) << file.name;
    }
    g_now = LocalToUnix(2026, 3, 31, 10, 0, 0);
    CSearchManager::SetClock(&TestClock);

    auto createdBetween = [&](LONG first, LONG last) {
        Names names;
        for (const File& file : files)
            if (file.created >= first && file.created <= last)
                names.insert(file.name);
        return names;
    };
    const LONG start = LocalToUnix(2026, 3, 24, 0, 0, 0);
    const LONG end = LocalToUnix(2026, 3, 30, 0, 0, 0);
    struct Case {
        const char* what;
        LONG kind;
        LONG rangeStart, rangeEnd;
        Names expected;
    };
    const Case cases[] = {
        {"all dates", SearchCriteria::kDateAll, 0, -1, createdBetween(INT_MIN, INT_MAX)},
        {"unknown kind", 17, 0, -1, createdBetween(INT_MIN, INT_MAX)},
        {"yesterday and today", SearchCriteria::kDateYesterday, 0, -1,
         createdBetween(LocalToUnix(2026, 3, 30, 0, 0, 0), INT_MAX)},
        {"7 days", SearchCriteria::kDate7Days, 0, -1,
         createdBetween(LocalToUnix(2026, 3, 24, 0, 0, 0), INT_MAX)},
        {"30 days, back into February", SearchCriteria::kDate30Days, 0, -1,
         createdBetween(LocalToUnix(2026, 3, 1, 0, 0, 0), INT_MAX)},
        {"range, both ends kept", SearchCriteria::kDateRange, start, end,
         createdBetween(start, end)},
        {"range of one second", SearchCriteria::kDateRange, start - 1, start,
         createdBetween(start - 1, start)},
        {"range start equals end", SearchCriteria::kDateRange, start, start, {}},
        {"range start after end", SearchCriteria::kDateRange, end, start, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SearchCriteria criteria = Criteria({m_folder.Path()});
        criteria.DateKind = c.kind;
        criteria.RangeStart = c.rangeStart;
        criteria.RangeEnd = c.rangeEnd;
        EXPECT_EQ(c.expected, Search(criteria).names);
    }
    // The clock decides: a day later, yesterday starts a day later too.
    g_now += 86400;
    SearchCriteria criteria = Criteria({m_folder.Path()});
    criteria.DateKind = SearchCriteria::kDateYesterday;
    EXPECT_EQ(createdBetween(LocalToUnix(2026, 3, 31, 0, 0, 0), INT_MAX), Search(criteria).names);
}

TEST_F(SearchManagerTest, MinimumLength) {
    const int durations[] = {0, 59, 60, 119, 120, 121, 3600};
    std::map<std::string, int> lengths;
    for (int seconds : durations) {
        RecordingFields fields;
        fields.duration = seconds;
        const std::string name = "len" + std::to_string(seconds) + ".zel";
        Recording(name, fields);
        lengths[name] = seconds;
    }
    // Unreadable: its entry keeps duration 0 and the error texts.
    Write("broken.zel", "this is not a recording");
    lengths["broken.zel"] = 0;

    struct Case {
        LONG limit;
        LONG minMinutes;
    };
    const Case cases[] = {{0, 5}, {1, 0}, {1, 1}, {1, 2}, {1, 60}, {1, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE("limit " + std::to_string(c.limit) + ", minutes " +
                     std::to_string(c.minMinutes));
        Names expected;
        for (const auto& file : lengths)
            if (!c.limit || file.second / 60 > c.minMinutes)
                expected.insert(file.first);
        SearchCriteria criteria = Criteria({m_folder.Path()});
        criteria.LimitLength = c.limit;
        criteria.MinMinutes = c.minMinutes;
        EXPECT_EQ(expected, Search(criteria).names);
    }
    // The boundaries the rule is about: with one minute, 119 s fails and 120 s holds.
    SearchCriteria criteria = Criteria({m_folder.Path()});
    criteria.LimitLength = 1;
    criteria.MinMinutes = 1;
    const Names kept = Search(criteria).names;
    EXPECT_EQ(0u, kept.count("len119.zel"));
    EXPECT_EQ(1u, kept.count("len120.zel"));
}

// A folder of hundreds: the rules and the walk's order hold however many
// threads read the headers.
TEST_F(SearchManagerTest, LargeFolderKeepsRulesAndWalkOrder) {
    const int kFiles = 300;
    std::map<std::string, std::pair<int, std::string>> made; // duration, Caller ID
    for (int i = 0; i < kFiles; ++i) {
        RecordingFields fields;
        fields.duration = (i * 37) % 300;
        fields.callerId = (i % 3 ? "even " : "odd ") + std::to_string(i);
        const std::string path = Recording("call" + std::to_string(i) + ".zel", fields);
        made[path] = {fields.duration, fields.callerId};
    }
    std::vector<std::string> expected;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((m_folder.Path() + "*").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    do {
        const auto it = made.find(m_folder.File(found.cFileName));
        if (it != made.end() && it->second.first / 60 > 1 &&
            it->second.second.compare(0, 3, "odd") == 0)
            expected.push_back(it->first);
    } while (FindNextFileA(search, &found));
    FindClose(search);

    SearchCriteria criteria = Criteria({m_folder.Path()});
    criteria.LimitLength = 1;
    criteria.MinMinutes = 1;
    criteria.CallerIdMask = "ODD";
    const SearchOutcome outcome = Search(criteria, 7, 1);
    EXPECT_EQ(kFiles, outcome.counted.Counted);
    EXPECT_EQ(kFiles, outcome.finished.Examined);
    EXPECT_EQ(expected, outcome.paths);
}

// ---------------------------------------------------------------------------
// Sources

TEST_F(SearchManagerTest, Sources) {
    Recording("a.zel");
    Recording("B.ZEL");
    Recording("c.ZeL");
    Recording("x.zelx");
    Recording("zel");
    Write("notes.txt", "not a recording");
    const std::string sub = Folder("sub");
    Recording("sub\\d.zel");
    Folder("sub\\deeper");
    Recording("sub\\deeper\\e.zel");
    Folder("empty");
    std::string root = m_folder.Path();
    root.pop_back(); // without its closing backslash
    const std::string missing = m_folder.File("missing");

    struct Case {
        const char* what;
        std::vector<std::string> sources;
        LONG subFolders;
        LONG error;
        Names expected; // also what is counted
    };
    const Case cases[] = {
        {"folder", {root}, 0, 0, {"a.zel", "B.ZEL", "c.ZeL"}},
        {"folder with its backslash", {root + "\\"}, 0, 0, {"a.zel", "B.ZEL", "c.ZeL"}},
        {"sub-folders", {root}, 1, 0, {"a.zel", "B.ZEL", "c.ZeL", "d.zel", "e.zel"}},
        {"one recording", {sub + "d.zel"}, 1, 0, {"d.zel"}},
        {"one recording, upper-case extension", {m_folder.File("B.ZEL")}, 0, 0, {"B.ZEL"}},
        {"a folder and a recording", {sub, sub + "deeper\\e.zel"}, 0, 0, {"d.zel", "e.zel"}},
        {"an empty folder", {m_folder.File("empty")}, 1, 0, {}},
        {"missing first source", {missing, root}, 1, 1, {}},
        {"empty source", {"", root}, 0, 1, {}},
        {"missing recording", {m_folder.File("gone.zel")}, 0, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SearchCriteria criteria = Criteria(c.sources);
        criteria.IncludeSubFolders = c.subFolders;
        const SearchOutcome outcome = Search(criteria);
        EXPECT_EQ(c.error, outcome.counted.Error);
        EXPECT_EQ(static_cast<LONG>(c.expected.size()), outcome.counted.Counted);
        // A failed count starts no walk.
        EXPECT_EQ(c.error == 0, outcome.walked);
        EXPECT_EQ(static_cast<LONG>(c.expected.size()), outcome.finished.Examined);
        EXPECT_EQ(c.expected, outcome.names);
    }

    // A source that fails after others keeps what those counted, and still
    // starts no walk.
    SearchCriteria criteria = Criteria({root, missing, sub});
    const SearchOutcome outcome = Search(criteria);
    EXPECT_EQ(1, outcome.counted.Error);
    EXPECT_EQ(3, outcome.counted.Counted);
    EXPECT_FALSE(outcome.walked);
    EXPECT_TRUE(outcome.names.empty());

    // The found path joins the source's folder and the found name.
    const SearchOutcome single = Search(Criteria({sub + "d.zel"}));
    ASSERT_EQ(1u, single.paths.size());
    EXPECT_EQ(sub + "d.zel", single.paths[0]);
}

// A second start without new criteria lists the sources again: what the
// first walk judged may have changed since.
TEST_F(SearchManagerTest, StartAgainListsAgain) {
    Recording("first.zel");
    CSearchManager* manager = CSearchManager::GetInstance();
    const SearchOutcome first = Search(Criteria({m_folder.Path()}));
    EXPECT_EQ((Names{"first.zel"}), first.names);
    Recording("second.zel");
    manager->Start();
    ASSERT_TRUE(WaitForWalkEnd());
    SearchOutcome again;
    manager->GetProgress(again.finished);
    TakeResults(again);
    EXPECT_EQ(2, again.finished.Counted);
    EXPECT_EQ(2, again.finished.Examined);
    EXPECT_EQ((Names{"first.zel", "second.zel"}), again.names);
}

// ---------------------------------------------------------------------------
// Stop during the walk

// The walk is held at chosen recordings: an unreadable one traces a line, and
// while this thread holds the trace log's lock that line waits.
TEST_F(SearchManagerTest, StopDuringTheWalkLeavesPartialUnsortedResults) {
    const int kFiles = 200;
    for (int i = 0; i < kFiles; ++i)
        Write("rec" + std::to_string(i) + ".zel", "unreadable");
    // The walk's order is the directory's order: learn it, then make the first
    // two readable, with start times that rise along it, so that the
    // newest-first sort reverses them; every later one is unreadable.
    std::vector<std::string> walkOrder;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((m_folder.Path() + "*.zel").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    do
        walkOrder.push_back(m_folder.File(found.cFileName));
    while (FindNextFileA(search, &found));
    FindClose(search);
    ASSERT_EQ(static_cast<size_t>(kFiles), walkOrder.size());
    for (int i = 0; i < 2; ++i) {
        RecordingFields fields;
        fields.startTime = 1000000 + i;
        Recording(NameOf(walkOrder[i]), fields);
    }

    CSearchManager* manager = CSearchManager::GetInstance();
    const SearchCriteria criteria = Criteria({m_folder.Path()});

    // Starts a walk newest first and stops it while the unreadable recordings
    // hold it. The stop runs on a thread of its own, since it waits for the
    // walk, which waits for this thread.
    auto startAndStopWhileHeld = [&]() {
        manager->SetCriteria(criteria, CSearchManager::kSortStartTime, 1);
        CDecoderGate gate;
        manager->Start();
        const DWORD began = GetTickCount();
        SearchProgress progress{};
        do {
            Sleep(1);
            manager->GetProgress(progress);
        } while (progress.Examined < 2 && GetTickCount() - began < kWalkTimeoutMs);
        ASSERT_EQ(2, progress.Examined);
        Sleep(50);
        manager->GetProgress(progress);
        EXPECT_EQ(2, progress.Examined); // held by the unreadable ones
        EXPECT_TRUE(manager->IsWalking());
        HANDLE stopper = CreateThread(nullptr, 0, &StopSearch, nullptr, 0, nullptr);
        ASSERT_NE(nullptr, stopper);
        while (manager->IsRunning() && GetTickCount() - began < kWalkTimeoutMs)
            Sleep(1);
        EXPECT_FALSE(manager->IsRunning());
        gate.Open();
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(stopper, kWalkTimeoutMs));
        CloseHandle(stopper);
        EXPECT_FALSE(manager->IsWalking());
        manager->GetProgress(progress);
        EXPECT_EQ(kFiles, progress.Counted);
    };

    startAndStopWhileHeld();
    SearchProgress stopped{};
    manager->GetProgress(stopped);
    SearchOutcome partial;
    TakeResults(partial);
    // What was being read when the stop came is finished, the rest of the
    // listing is dropped unread: a prefix of the walk's order, and the sort
    // skipped (the older of the readable two comes first).
    EXPECT_EQ(static_cast<size_t>(stopped.Examined), partial.paths.size());
    EXPECT_GT(partial.paths.size(), 2u);
    EXPECT_LT(partial.paths.size(), static_cast<size_t>(kFiles) / 2);
    const std::vector<std::string> prefix(
        walkOrder.begin(), walkOrder.begin() + std::min(partial.paths.size(), walkOrder.size()));
    EXPECT_EQ(prefix, partial.paths);

    // The next search discards what a stopped walk left.
    startAndStopWhileHeld();
    manager->SetCriteria(criteria, CSearchManager::kSortStartTime, 1);
    SearchOutcome discarded;
    TakeResults(discarded);
    EXPECT_TRUE(discarded.paths.empty());

    // A walk that ends on its own keeps everything, sorted newest first: the
    // readable two lead, the unreadable ones (start time 0) follow.
    const SearchOutcome full = Search(criteria, CSearchManager::kSortStartTime, 1);
    EXPECT_EQ(kFiles, full.finished.Examined);
    ASSERT_EQ(static_cast<size_t>(kFiles), full.paths.size());
    EXPECT_EQ(walkOrder[1], full.paths[0]);
    EXPECT_EQ(walkOrder[0], full.paths[1]);
    EXPECT_TRUE(std::is_permutation(full.paths.begin(), full.paths.end(), walkOrder.begin()));
}

// ---------------------------------------------------------------------------
// Sort codes

std::map<std::string, LONG> g_archiveTimes;
bool ArchiveTimes(const CKWFileListEntry& entry, ArchiveJobInfo& info) {
    auto it = g_archiveTimes.find(entry.GetPath());
    if (it == g_archiveTimes.end())
        return false;
    info.type = 1;
    info.time = it->second;
    return true;
}

TEST_F(SearchManagerTest, SortCodes) {
    struct Row {
        const char* userId;
        const char* callerId;
        const char* comment;
        int important;
        int startTime;
        int duration;
        LONG archived; // -1: never
    };
    // Keys far apart in both directions: a comparison by subtraction of two
    // 32-bit values would overflow on them.
    const Row rows[] = {
        {"bob", "B", "b", 1, 2000000000, 30, 500},
        {"Alice", "a", "", 0, -2000000000, 3600, -1},
        {"carl", "C", "Z", 0, 0, 0, 100},
        {"alice", "A", "a", 1, 1, 2147483647, 2000000000},
        {"dave", "b", "zz", 0, -1, 59, -1},
        {"eve", "A", "a", 0, 1, 7, -2000000000},
    };
    std::vector<std::unique_ptr<CScoredFileListEntry>> owned;
    std::vector<CScoredFileListEntry*> input;
    g_archiveTimes.clear();
    for (const Row& row : rows) {
        owned.push_back(std::make_unique<CScoredFileListEntry>());
        CScoredFileListEntry* entry = owned.back().get();
        const std::string path = std::string("C:\\calls\\") + row.userId + "-20260101.zel";
        entry->SetPath(path.c_str());
        ASSERT_STREQ(row.userId, entry->GetUserId());
        entry->SetCallerId(row.callerId);
        entry->SetComment(row.comment);
        entry->m_important = row.important;
        entry->m_startTime = row.startTime;
        entry->m_duration = row.duration;
        if (row.archived != -1)
            g_archiveTimes[path] = row.archived;
        input.push_back(entry);
    }
    SetArchiveLookup(&ArchiveTimes);

    using NumberKey = std::function<LONG(const CScoredFileListEntry&)>;
    using TextKey = std::function<const char*(const CScoredFileListEntry&)>;
    const std::map<int, NumberKey> numbers = {
        {CSearchManager::kSortImportant,
         [](const CScoredFileListEntry& e) { return e.m_important; }},
        {CSearchManager::kSortArchiveTime,
         [](const CScoredFileListEntry& e) {
             auto it = g_archiveTimes.find(e.GetPath());
             return it == g_archiveTimes.end() ? LONG(-1) : it->second;
         }},
        {CSearchManager::kSortStartTime,
         [](const CScoredFileListEntry& e) { return e.m_startTime; }},
        {CSearchManager::kSortDuration, [](const CScoredFileListEntry& e) { return e.m_duration; }},
    };
    const std::map<int, TextKey> texts = {
        {CSearchManager::kSortUserId, [](const CScoredFileListEntry& e) { return e.GetUserId(); }},
        {CSearchManager::kSortCallerId,
         [](const CScoredFileListEntry& e) { return e.GetCallerId(); }},
        {CSearchManager::kSortComment,
         [](const CScoredFileListEntry& e) { return e.GetComment(); }},
    };

    for (int column : {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}) {
        for (int descending : {1, 0}) {
            SCOPED_TRACE("column " + std::to_string(column) + ", descending " +
                         std::to_string(descending));
            std::vector<CScoredFileListEntry*> sorted = input;
            CSearchManager::SortResults(sorted, column, descending);
            ASSERT_TRUE(std::is_permutation(sorted.begin(), sorted.end(), input.begin()));
            if (numbers.count(column)) {
                // Larger first with the flag; never archived (-1) therefore last.
                const NumberKey& key = numbers.at(column);
                for (size_t i = 1; i < sorted.size(); ++i)
                    EXPECT_TRUE(descending ? key(*sorted[i - 1]) >= key(*sorted[i])
                                           : key(*sorted[i - 1]) <= key(*sorted[i]))
                        << key(*sorted[i - 1]) << " then " << key(*sorted[i]);
            } else if (texts.count(column)) {
                // Texts by strcmp, A before B with the flag, case-sensitive.
                const TextKey& key = texts.at(column);
                for (size_t i = 1; i < sorted.size(); ++i) {
                    const int order = strcmp(key(*sorted[i - 1]), key(*sorted[i]));
                    EXPECT_TRUE(descending ? order <= 0 : order >= 0)
                        << key(*sorted[i - 1]) << " then " << key(*sorted[i]);
                }
            } else {
                EXPECT_EQ(input, sorted); // 0, 7 and unknown codes keep the order
            }
        }
    }
    std::vector<CScoredFileListEntry*> empty;
    CSearchManager::SortResults(empty, CSearchManager::kSortStartTime, 1);
    EXPECT_TRUE(empty.empty());

    // Without an archive hook nothing is archived: every key is -1, the order
    // of equal keys is not defined, only the set stays.
    SetArchiveLookup(nullptr);
    std::vector<CScoredFileListEntry*> unhooked = input;
    CSearchManager::SortResults(unhooked, CSearchManager::kSortArchiveTime, 1);
    EXPECT_TRUE(std::is_permutation(unhooked.begin(), unhooked.end(), input.begin()));
}

TEST_F(SearchManagerTest, SortCodeSevenKeepsTheWalkOrder) {
    // The walk's order is the directory's order.
    for (const char* name : {"k.zel", "b.zel", "x.zel", "a.zel", "m.zel"}) {
        RecordingFields fields;
        fields.startTime = static_cast<int>(name[0]);
        Recording(name, fields);
    }
    std::vector<std::string> walkOrder;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((m_folder.Path() + "*").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    do
        if (found.cFileName[0] != '.')
            walkOrder.push_back(m_folder.File(found.cFileName));
    while (FindNextFileA(search, &found));
    FindClose(search);
    for (int descending : {0, 1})
        EXPECT_EQ(walkOrder, Search(Criteria({m_folder.Path()}), 7, descending).paths);
}

// ---------------------------------------------------------------------------
// Hand-over

TEST_F(SearchManagerTest, TransferResultsHandsOverReadEntries) {
    RecordingFields fields;
    fields.callerId = "0301 555";
    fields.duration = 95;
    fields.important = 1;
    const std::string listed = Recording("listed.zel", fields);
    const std::string fresh = Recording("fresh.zel", fields);
    const std::string vanishing = Recording("vanishing.zel", fields);
    ASSERT_TRUE(WriteWholeFile(m_scores.File("fresh_score.xml"),
                               "<?xml version=\"1.0\" standalone=\"yes\" ?>\r\n"
                               "<QuestionsScoringData>\r\n<Entry><ID>7</ID>"
                               "<UserName>eve</UserName><Value>80.00</Value><Time>100</Time>"
                               "<ScoredValues><Entry><ID>1</ID><Value>5</Value></Entry>"
                               "</ScoredValues></Entry>\r\n</QuestionsScoringData>\r\n"));

    CSearchManager* manager = CSearchManager::GetInstance();
    SearchCriteria criteria = Criteria({m_folder.Path()});
    criteria.FileNameMask = "*e*";
    manager->SetCriteria(criteria, CSearchManager::kSortNone, 0);
    manager->Start();
    ASSERT_TRUE(WaitForWalkEnd());

    // No document: nothing changes.
    manager->TransferResults(nullptr);

    CZelDorvaneDoc doc;
    CScoredFileListEntry* before = new CScoredFileListEntry;
    before->SetPath(listed.c_str());
    ASSERT_EQ(1, doc.AddRecording(before, TRUE));
    ASSERT_TRUE(DeleteFileA(vanishing.c_str()));
    manager->TransferResults(&doc);

    // The listed path keeps its old entry, the vanished file is refused.
    ASSERT_EQ(2, doc.GetRecordingCount());
    EXPECT_EQ(before, doc.GetRecording(0));
    const CScoredFileListEntry* added = doc.GetRecording(1);
    EXPECT_EQ(fresh, added->GetPath());
    // Read while the walk kept it: header and scores.
    EXPECT_STREQ("0301 555", added->GetCallerId());
    EXPECT_EQ(95, added->GetDuration());
    EXPECT_TRUE(added->IsImportant());
    ASSERT_NE(nullptr, added->FindScore(7));
    EXPECT_STREQ("eve", added->FindScore(7)->UserName);
    // The document keeps the criteria for a later rescan.
    ASSERT_EQ(1, doc.GetSearchCriteria()->GetSize());
    EXPECT_STREQ(m_folder.Path().c_str(), doc.GetSearchCriteria()->GetAt(0));
    EXPECT_STREQ("*e*", doc.GetSearchCriteria()->FileNameMask);

    // The results are gone from the manager: a second document gets nothing,
    // not even the criteria.
    CZelDorvaneDoc second;
    manager->TransferResults(&second);
    EXPECT_EQ(0, second.GetRecordingCount());
    EXPECT_EQ(0, second.GetSearchCriteria()->GetSize());
}

} // namespace
