// Tests of CZelDorvaneView, the call-list view, on the program's own document
// and child frame: the columns with and without score forms, what each cell
// shows (text, image, tooltip), the caption and title of the four list kinds,
// the counters, the button states, the recording the selection and the
// activation load, sorting by header clicks, the frame's reports of marked,
// deleted and bookmarked recordings, the column widths kept at closing, and
// with real input the Caller-ID edit written once to the row's file.
// Screenshot: call-list.png.
#include "native/gtest.h"

#include "ArchiveLookup.h"
#include "CallHistory.h"
#include "CallListRes.h"
#include "InPlaceEdit.h"
#include "Scoring/ScoreFormManager.h"
#include "resource.h"
#include "tests/app/ListViewTestBed.h"
#include "tests/app/SmallDialogsTestKit.h"

#include "Common/Settings.h"

#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/RecordFileHelpers.h"
#include "tests/support/SampleRecordings.h"
#include "tests/support/SyntheticInput.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

CAnsweringApp theApp;

using smalldlg::PumpTranslated;
using smalldlg::PumpTranslatedUntil;

const int kCallerIdColumn = 3;

// Button ids in the order the view keeps them.
const UINT kButtons[CZelDorvaneView::kButtonCount] = {
    IDC_PLAY,         IDC_LIST_REFRESH, IDC_LIST_SEARCH,    IDC_EMAIL_WAV,        IDC_EMAIL_ZEL,
    IDC_EXPORT_WAV,   IDC_EXPORT_ZEL,   IDC_MARK_IMPORTANT, IDC_UNMARK_IMPORTANT, IDC_ANNOTATE,
    IDC_DELETE_CALLS, IDC_REPORTS,      IDC_SCORE_FORMS,    IDC_ARCHIVE_MENU,     IDC_WATCHER};

// A mu-law recording with a second of audio, whatever duration its header
// gives (the list reads the header only).
std::string ZelBytes(RecordingFields fields) {
    fields.format = 7;
    return MakeHeaderV2to4(4, 1440, fields) + EncodeMuLaw(MakeTestSignal(8000));
}

// Archive jobs by path, for the archive hook.
std::map<std::string, ArchiveJobInfo>& ArchiveJobs() {
    static std::map<std::string, ArchiveJobInfo> jobs;
    return jobs;
}
bool LookUpTestJob(const CKWFileListEntry& entry, ArchiveJobInfo& info) {
    const auto it = ArchiveJobs().find(entry.GetPath());
    if (it == ArchiveJobs().end())
        return false;
    info = it->second;
    return true;
}

CString NowText() {
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    char szDate[80] = "";
    char szTime[80] = "";
    ::GetDateFormatA(LOCALE_USER_DEFAULT, 0, &now, nullptr, szDate, sizeof(szDate));
    ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &now, nullptr, szTime, sizeof(szTime));
    return CString(szDate) + " " + szTime;
}

class ZelDorvaneViewTest : public ::testing::Test {
protected:
    ZelDorvaneViewTest() : m_bed("ViewTest") {}

    void SetUp() override {
        theApp.m_prompts.clear();
        theApp.m_answers.clear();
        SetForms({});
        ASSERT_TRUE(m_bed.SetUp());
    }
    void TearDown() override {
        m_bed.TearDown();
        SetArchiveLookup(nullptr);
        ArchiveJobs().clear();
        CScoreFormManager::GetInstance()->Clear();
    }

    // The score forms of the store, by title; their IDs. The store counts as
    // loaded, so the view takes these instead of a file.
    std::vector<LONG> SetForms(const std::vector<std::string>& titles) {
        CScoreFormManager* pForms = CScoreFormManager::GetInstance();
        pForms->Clear();
        pForms->Load((m_bed.Folder() + "no-forms.xml").c_str());
        std::vector<LONG> ids;
        for (const std::string& title : titles) {
            CScoreFormEntry form(pForms->GetNextFormID());
            form.SetTitle(title.c_str());
            EXPECT_TRUE(pForms->AddForm(form));
            ids.push_back(form.GetID());
        }
        return ids;
    }

    std::string Write(const std::string& name, const RecordingFields& fields) {
        const std::string path = m_bed.Folder() + name;
        EXPECT_TRUE(WriteWholeFile(path, ZelBytes(fields)));
        return path;
    }
    std::string MakeFolder(const std::string& name) {
        const std::string path = m_bed.Folder() + name;
        EXPECT_TRUE(::CreateDirectoryA(path.c_str(), nullptr));
        return path;
    }

    // A new list of these entries (already made), shown as a custom list.
    CZelDorvaneView* OpenEntries(const std::vector<CScoredFileListEntry*>& entries) {
        CZelDorvaneView* pView = m_bed.NewList();
        EXPECT_NE(pView, nullptr);
        for (CScoredFileListEntry* pEntry : entries)
            if (!pView->GetDocument()->AddRecording(pEntry, TRUE))
                delete pEntry;
        pView->ShowList(CZelDorvaneDoc::kCustomList, CKWString());
        return pView;
    }
    static CScoredFileListEntry* Entry(const std::string& path) {
        CScoredFileListEntry* pEntry = new CScoredFileListEntry;
        pEntry->SetPath(path.c_str());
        pEntry->LoadHeader("");
        return pEntry;
    }

    static std::string ItemText(CZelDorvaneView* pView, int id) {
        char text[256] = "";
        ::GetDlgItemTextA(pView->m_hWnd, id, text, sizeof(text));
        return text;
    }
    static std::string Enabled(CZelDorvaneView* pView) {
        std::string states;
        for (UINT id : kButtons)
            states +=
                ::IsWindowEnabled(::GetDlgItem(pView->m_hWnd, static_cast<int>(id))) ? '1' : '0';
        return states;
    }
    static std::vector<std::string> Column(CZelDorvaneView* pView, int column) {
        std::vector<std::string> texts;
        for (int row = 0; row < pView->GetList().GetItemCount(); ++row)
            texts.push_back(std::string(pView->GetList().GetItemText(row, column)));
        return texts;
    }
    // The list's header click, as the list control reports it.
    static void ClickHeader(CZelDorvaneView* pView, int column) {
        NMLISTVIEW info = {};
        info.hdr.hwndFrom = pView->GetList().m_hWnd;
        info.hdr.idFrom = IDC_CALL_LIST;
        info.hdr.code = LVN_COLUMNCLICK;
        info.iItem = -1;
        info.iSubItem = column;
        pView->SendMessage(WM_NOTIFY, IDC_CALL_LIST, reinterpret_cast<LPARAM>(&info));
    }
    static std::string LoadedPath() {
        CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
        return pEngine->IsLoaded() ? std::string(pEngine->GetRecordFile()->GetPath()) : "";
    }

    CListViewTestBed m_bed;
};

// ---------------------------------------------------------------------------
// Columns and cells

// Without score forms the list has the nine columns of a recording; with
// three, a column per form follows Caller ID on the screen, titled after it.
TEST_F(ZelDorvaneViewTest, ScoreColumnsFollowTheForms) {
    struct Case {
        std::vector<std::string> forms;
        std::vector<std::string> scoreTitles;
        std::vector<int> order;
    } const cases[] = {
        {{}, {}, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
        {{"Quality", "Tone", "Close"},
         {"Call Score <Quality>", "Call Score <Tone>", "Call Score <Close>"},
         {0, 1, 2, 3, 9, 10, 11, 4, 5, 6, 7, 8}},
        {{"Only"}, {"Call Score <Only>"}, {0, 1, 2, 3, 9, 4, 5, 6, 7, 8}},
    };
    const char* const fixed[] = {"ENC",         "!",        "User ID", "Caller ID", "Archived",
                                 "Date + Time", "Duration", "BM",      "Comment"};
    CZelDorvaneView* pView = m_bed.NewList();
    ASSERT_NE(pView, nullptr);
    CCallDetailsCtrl& list = pView->GetList();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.forms.size());
        SetForms(c.forms);
        pView->UpdateCallScoreColumns();
        const int count = list.GetColumnCount();
        ASSERT_EQ(count, static_cast<int>(c.order.size()));
        for (int i = 0; i < count; ++i) {
            char title[80] = "";
            LVCOLUMNA column = {};
            column.mask = LVCF_TEXT;
            column.pszText = title;
            column.cchTextMax = sizeof(title);
            ASSERT_TRUE(list.GetColumn(i, &column));
            EXPECT_EQ(std::string(title),
                      i < 9 ? fixed[i] : c.scoreTitles[static_cast<size_t>(i - 9)]);
        }
        std::vector<int> order(static_cast<size_t>(count));
        ::SendMessage(list.m_hWnd, LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(count),
                      reinterpret_cast<LPARAM>(order.data()));
        EXPECT_EQ(order, c.order);
    }
    // The stored widths, User ID and Caller ID one pixel wider.
    CSettings* pSettings = CSettings::GetInstance();
    for (int i : {0, 1, 4, 8})
        EXPECT_EQ(list.GetColumnWidth(i), pSettings->GetColumnWidth(i)) << i;
    for (int i : {2, 3})
        EXPECT_EQ(list.GetColumnWidth(i), pSettings->GetColumnWidth(i) + 1) << i;
}

TEST_F(ZelDorvaneViewTest, EachCellShowsItsTextImageAndTip) {
    const std::vector<LONG> forms = SetForms({"Quality", "Tone", "Close"});
    RecordingFields a;
    a.userId = "alice";
    a.callerId = ">0123 456";
    a.important = 1;
    a.duration = 65;
    a.startTime = 1000000000;
    a.comment = BookmarkComment(1, 2, "hello there");
    RecordingFields c;
    c.userId = "carol";
    c.comment = "first line\r\nsecond line";
    RecordingFields d;
    d.userId = "dave";
    d.comment = BookmarkComment(1, 2, "");
    RecordingFields e;
    e.userId = "erin";
    e.comment = "  see Bookmark at: 1  ";
    const std::string pathA = Write("alice-1.zel", a);
    const std::string pathB = m_bed.Folder() + "bob-2.zel";
    ASSERT_TRUE(
        WriteWholeFile(pathB, MakeHeaderV5(RecordingFields(), LowercaseCheckString("not ours"), 2) +
                                  std::string(320, 'a')));
    const std::string pathC = Write("carol-3.zel", c);
    const std::string pathD = Write("dave-4.zel", d);
    const std::string pathE = Write("erin-5.zel", e);
    ArchiveJobs()[pathA] = ArchiveJobInfo{2, 1000, {"Job 7", "To calls.zip"}};
    ArchiveJobs()[pathB] = ArchiveJobInfo{9, 1000, {}};
    ArchiveJobs()[pathD] = ArchiveJobInfo{3, 1000, {"ISO"}};
    ArchiveJobs()[pathE] = ArchiveJobInfo{1, 1000, {"Folder"}};
    SetArchiveLookup(&LookUpTestJob);

    CScoredFileListEntry* pA = Entry(pathA);
    pA->SetScore(forms[1], "scorer", 7.5);
    pA->SetScore(forms[2], "scorer", 10);
    CZelDorvaneView* pView =
        OpenEntries({pA, Entry(pathB), Entry(pathC), Entry(pathD), Entry(pathE)});
    ASSERT_NE(pView, nullptr);
    CZelDorvaneDoc* pDoc = pView->GetDocument();
    ASSERT_EQ(CListViewTestBed::Paths(pDoc),
              (std::vector<std::string>{pathA, pathB, pathC, pathD, pathE}));
    ASSERT_TRUE(pDoc->GetRecording(1)->IsEncrypted());
    const CScoredFileListEntry* pEntryA = pDoc->GetRecording(0);

    struct Cell {
        int row;
        int column;
        std::string text;
        int image; // -1: the cell has no image
        std::string tip;
    };
    const std::string comment = CString(pEntryA->GetComment()).Trim().GetString();
    const Cell cells[] = {
        {0, 0, "", 0, ""},
        {1, 0, "", 6, "Call Encrypted"},
        {0, 1, "", 1, "Important"},
        {2, 1, "", 0, ""},
        {0, 2, "alice", -1, "alice"},
        {0, 3, ">0123 456", -1, ">0123 456"},
        {0, 4, "", 5, "Job 7\nTo calls.zip\n"},
        {1, 4, "", 0, ""},
        {2, 4, "", 0, "Not archived yet"},
        {3, 4, "", 3, "ISO\n"},
        {4, 4, "", 4, "Folder\n"},
        {0, 5, pEntryA->GetDateTimeText(), -1, pEntryA->GetDateTimeText()},
        {0, 6, pEntryA->GetDurationText(), -1, pEntryA->GetDurationText()},
        {0, 7, "", 2, "Bookmark the call"},
        {2, 7, "", 0, ""},
        {0, 8, "hello there", -1, comment},
        {2, 8, "first line", -1, "first line\r\nsecond line"},
        {3, 8, "", -1, CString(d.comment.c_str()).Trim().GetString()},
        {4, 8, "", -1, "see Bookmark at: 1"},
        {0, 9, "", -1, ""},
        {0, 10, "7.50", -1, "7.50"},
        {0, 11, "10.00", -1, "10.00"},
        {2, 10, "", -1, ""},
    };
    CCallDetailsCtrl& list = pView->GetList();
    for (const Cell& cell : cells) {
        SCOPED_TRACE(std::to_string(cell.row) + "," + std::to_string(cell.column));
        EXPECT_EQ(std::string(list.GetItemText(cell.row, cell.column)), cell.text);
        if (cell.image >= 0) {
            LVITEMA item = {};
            item.mask = LVIF_IMAGE;
            item.iItem = cell.row;
            item.iSubItem = cell.column;
            item.iImage = -7;
            ASSERT_TRUE(list.GetItem(&item));
            EXPECT_EQ(item.iImage, cell.image);
        }
        EXPECT_EQ(std::string(list.GetItemToolTipText(cell.row, cell.column)), cell.tip);
        // Only the Caller ID may be edited.
        EXPECT_EQ(list.IsCellReadOnly(cell.row, cell.column), cell.column == 3 ? 0 : 1);
    }

    // A score column without its form: the request is answered with -1 and
    // nothing of the cell is set.
    char buffer[32] = "untouched";
    NMLVDISPINFOA info = {};
    info.hdr.hwndFrom = list.m_hWnd;
    info.hdr.idFrom = IDC_CALL_LIST;
    info.hdr.code = LVN_GETDISPINFOA;
    info.item.mask = LVIF_TEXT;
    info.item.iItem = 0;
    info.item.iSubItem = 12;
    info.item.pszText = buffer;
    info.item.cchTextMax = sizeof(buffer);
    EXPECT_EQ(pView->SendMessage(WM_NOTIFY, IDC_CALL_LIST, reinterpret_cast<LPARAM>(&info)), -1);
    EXPECT_STREQ(buffer, "untouched");
    EXPECT_EQ(list.IsCellReadOnly(0, 12), 0);
}

// ---------------------------------------------------------------------------
// Showing a list

TEST_F(ZelDorvaneViewTest, EachListKindHasItsCaptionAndTitle) {
    const std::string north = MakeFolder("Team.North");
    const std::string longName = MakeFolder("ABCDEFGHIJKLMNOPQRSTUVWXY");
    const std::string plain = MakeFolder("North");
    const std::string file = Write("alice-1.zel", RecordingFields());
    struct Case {
        const char* name;
        int kind;
        std::string source;
        bool modified;
        const char* description;
        int shownKind;
        std::string shownSource;
        std::string title;
        std::string captionStart;
        BOOL reusable;
    } const cases[] = {
        {"a folder with a dot", 0, north, false, "", 0, north, "Team", "Team - ", TRUE},
        {"a name of 25 characters", 0, longName, false, "", 0, longName, "ABCDEFGHIJKLMNOPQ...",
         "ABCDEFGHIJKLMNOPQRSTUVWXY - ", TRUE},
        {"a modified folder list", 0, plain, true, "", 0, plain, "North*", "North - ", TRUE},
        {"a folder list without source", 0, "", false, "", 1, "", "Custom", "Custom Recordings - ",
         TRUE},
        {"a recording as source", 0, file, false, "", 1, "", "Custom", "Custom Recordings - ",
         TRUE},
        {"a custom list", 1, "", false, "", 1, "", "Custom", "Custom Recordings - ", TRUE},
        {"the play history", 2, "", true, "", 2, "", "Play History", "Play History - ", FALSE},
        {"the longest calls", 3, "", false, "alice", 3, "", "20 Longest Calls",
         "20 Longest Calls - alice - ", FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CZelDorvaneView* pView = m_bed.NewList();
        ASSERT_NE(pView, nullptr);
        CZelDorvaneDoc* pDoc = pView->GetDocument();
        pView->SetDescription(c.description);
        pDoc->SetModifiedFlag(c.modified);
        const CString before = NowText();
        pView->ShowList(c.kind, CKWString(c.source.c_str()));
        const CString after = NowText();
        EXPECT_EQ(pDoc->GetListKind(), c.shownKind);
        EXPECT_EQ(std::string(static_cast<const char*>(pDoc->GetSource())), c.shownSource);
        EXPECT_EQ(std::string(pDoc->GetTitle()), c.title);
        EXPECT_EQ(pDoc->IsReusable(), c.reusable);
        const std::string caption = ItemText(pView, IDC_LIST_CAPTION);
        EXPECT_TRUE(caption == c.captionStart + before.GetString() ||
                    caption == c.captionStart + after.GetString())
            << caption;
        // Only a folder can be watched.
        EXPECT_EQ(::IsWindowEnabled(::GetDlgItem(pView->m_hWnd, IDC_WATCHER)) != 0,
                  !c.shownSource.empty());
        pDoc->SetModifiedFlag(FALSE);
    }
}

// A custom list read from a file is captioned with the file's creation time
// and keeps the file's name as its title.
TEST_F(ZelDorvaneViewTest, ACustomListFromAFileShowsWhenTheFileWasMade) {
    const std::string path = m_bed.Folder() + "mine.reclist";
    ASSERT_TRUE(WriteWholeFile(path, ""));
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
    FILETIME local = {};
    SYSTEMTIME created = {};
    ::FileTimeToLocalFileTime(&data.ftCreationTime, &local);
    ::FileTimeToSystemTime(&local, &created);
    char szDate[80] = "";
    char szTime[80] = "";
    ::GetDateFormatA(LOCALE_USER_DEFAULT, 0, &created, nullptr, szDate, sizeof(szDate));
    ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &created, nullptr, szTime, sizeof(szTime));

    CZelDorvaneView* pView = m_bed.NewList();
    ASSERT_NE(pView, nullptr);
    pView->GetDocument()->SetPathName(path.c_str(), FALSE);
    const std::string title(pView->GetDocument()->GetTitle());
    pView->ShowList(CZelDorvaneDoc::kCustomList, CKWString());
    EXPECT_EQ(ItemText(pView, IDC_LIST_CAPTION),
              std::string("Custom Recordings - ") + szDate + " " + szTime);
    EXPECT_EQ(std::string(pView->GetDocument()->GetTitle()), title);
    EXPECT_NE(title, "Custom");
}

TEST_F(ZelDorvaneViewTest, TheCountersSumTheList) {
    const std::vector<LONG> forms = SetForms({"Quality"});
    struct Rec {
        int duration;
        int important;
        bool scored;
    };
    struct Case {
        const char* name;
        std::vector<Rec> recs;
        const char* calls;
        const char* important;
        const char* duration;
        const char* scored;
    } const cases[] = {
        {"empty", {}, "Calls: 0", "Important: 0", "Duration: 00:00:00", "Scored Calls: 0"},
        {"one second short of an hour",
         {{3599, 1, true}},
         "Calls: 1",
         "Important: 1",
         "Duration: 00:59:59",
         "Scored Calls: 1"},
        {"an hour",
         {{3000, 0, false}, {599, 1, true}, {1, 1, false}},
         "Calls: 3",
         "Important: 2",
         "Duration: 01:00:00",
         "Scored Calls: 1"},
        {"ten hours and a minute and a second",
         {{36061, 0, false}},
         "Calls: 1",
         "Important: 0",
         "Duration: 10:01:01",
         "Scored Calls: 0"},
    };
    int file = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<CScoredFileListEntry*> entries;
        for (const Rec& rec : c.recs) {
            RecordingFields fields;
            fields.duration = rec.duration;
            fields.important = rec.important;
            CScoredFileListEntry* pEntry =
                Entry(Write("agent-" + std::to_string(++file) + ".zel", fields));
            if (rec.scored)
                pEntry->SetScore(forms[0], "scorer", 5);
            entries.push_back(pEntry);
        }
        CZelDorvaneView* pView = OpenEntries(entries);
        ASSERT_NE(pView, nullptr);
        EXPECT_EQ(ItemText(pView, IDC_COUNT_CALLS), c.calls);
        EXPECT_EQ(ItemText(pView, IDC_COUNT_IMPORTANT), c.important);
        EXPECT_EQ(ItemText(pView, IDC_COUNT_DURATION), c.duration);
        EXPECT_EQ(ItemText(pView, IDC_COUNT_SCORED), c.scored);
    }
}

// ---------------------------------------------------------------------------
// Buttons and selection

// Buttons, in order: play, refresh, search, e-mail WAV, e-mail ZEL, export
// WAV, export ZEL, mark, un-mark, annotate, delete, reports, score forms,
// archiving, watcher. The last three but one come with later issues.
TEST_F(ZelDorvaneViewTest, TheButtonsFollowTheListAndTheSettings) {
    const std::string a = Write("alice-1.zel", RecordingFields());
    const std::string b = Write("bob-2.zel", RecordingFields());
    const std::string c = Write("carol-3.zel", RecordingFields());
    const std::string broken = m_bed.Folder() + "dave-4.zel";
    ASSERT_TRUE(WriteWholeFile(broken, "not a recording"));
    const std::string folder = m_bed.Folder();
    struct Case {
        const char* name;
        const char* shared; // shared settings, or null
        std::vector<std::string> rows;
        int kind;
        std::vector<int> selected; // {-1}: every row, by Ctrl+A in the list
        const char* enabled;
        bool deleteShown;
    } const cases[] = {
        {"an empty list", nullptr, {}, 1, {}, "000000000000000", true},
        {"one row selected", nullptr, {a, b, c}, 1, {1}, "111111111110100", true},
        {"two rows selected", nullptr, {a, b, c}, 1, {0, 2}, "111011111010100", true},
        {"no row selected", nullptr, {a, b, c}, 1, {}, "111011111010100", true},
        {"every row by Ctrl+A", nullptr, {a, b, c}, 1, {-1}, "111011111010100", true},
        {"a folder list", nullptr, {a, b}, 0, {0}, "111111111110101", true},
        {"a recording that cannot be opened",
         nullptr,
         {a, broken},
         1,
         {1},
         "110000000010100",
         true},
        {"export blocked", "<BlockExport>1</BlockExport>", {a, b}, 1, {0}, "111000011110100", true},
        {"delete disabled",
         "<DisableDelete>1</DisableDelete>",
         {a, b},
         1,
         {0},
         "111111111100100",
         false},
    };
    const std::string sharedFile =
        CSettings::GetSharedConfigFilePath(FALSE, "config.xml").GetString();
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        ::DeleteFileA(sharedFile.c_str());
        if (t.shared != nullptr) {
            ASSERT_TRUE(WriteWholeFile(
                sharedFile, std::string("<?xml version=\"1.0\"?>\r\n<profile version=\"1\">"
                                        "<section name=\"settings\">") +
                                t.shared + "</section></profile>\r\n"));
        }
        CSettings::DeleteInstance();
        CSettings::GetInstance()->Load();
        CZelDorvaneView* pView =
            m_bed.OpenList(t.rows, t.kind, t.kind == 0 ? folder : std::string());
        ASSERT_NE(pView, nullptr);
        if (t.selected == std::vector<int>{-1})
            pView->GetList().SendMessage(WM_CHAR, 1, 0);
        else
            CListViewTestBed::Select(pView, t.selected);
        EXPECT_EQ(Enabled(pView), t.enabled);
        EXPECT_EQ(::IsWindowVisible(::GetDlgItem(pView->m_hWnd, IDC_DELETE_CALLS)) != 0,
                  t.deleteShown);
        for (UINT legend :
             {IDC_LEGEND1, IDC_LEGEND2, IDC_LEGEND3, IDC_LEGEND4, IDC_LEGEND5, IDC_LEGEND6})
            EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(pView->m_hWnd, static_cast<int>(legend))));
    }
    ::DeleteFileA(sharedFile.c_str());
    CSettings::DeleteInstance();
}

// The engine holds the recording of the last single selection and nothing
// once several rows are selected; a row that only takes the focus as it is
// deselected does not replace the one selected.
TEST_F(ZelDorvaneViewTest, ASingleSelectionLoadsItsRecording) {
    const std::string a = Write("alice-1.zel", RecordingFields());
    const std::string b = Write("bob-2.zel", RecordingFields());
    const std::string c = Write("carol-3.zel", RecordingFields());
    CZelDorvaneView* pView = m_bed.OpenList({a, b, c});
    ASSERT_NE(pView, nullptr);
    // Showing the list selects its first row.
    EXPECT_EQ(pView->GetFirstSelected(), 0);
    EXPECT_EQ(LoadedPath(), a);

    CCallDetailsCtrl& list = pView->GetList();
    struct Step {
        const char* name;
        std::vector<int> selected;
        std::string loaded;
    } const steps[] = {
        {"the second row", {1}, b}, {"two rows", {1, 2}, ""},
        {"the third row", {2}, c},  {"none, keeping the last single one", {}, c},
        {"the first row", {0}, a},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        CListViewTestBed::Select(pView, step.selected);
        EXPECT_EQ(pView->GetSelectedCount(), static_cast<int>(step.selected.size()));
        for (int row = 0; row < 3; ++row)
            EXPECT_EQ(pView->IsItemSelected(row),
                      std::count(step.selected.begin(), step.selected.end(), row) != 0 ? 1 : 0);
        EXPECT_EQ(LoadedPath(), step.loaded);
    }

    CListViewTestBed::Select(pView, {0, 2});
    list.SetItemState(2, LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(pView->GetSelectedCount(), 1);
    EXPECT_EQ(LoadedPath(), a);
    std::vector<CKWString> paths;
    CListViewTestBed::Select(pView, {2, 0});
    paths = pView->GetSelectedPaths();
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(std::string(paths[0]), a);
    EXPECT_EQ(std::string(paths[1]), c);
}

// Activating a list loads its selected recording again; a play history takes
// in the plays made since it was shown.
TEST_F(ZelDorvaneViewTest, ActivationLoadsTheListsSelectionAndRefillsTheHistory) {
    const std::string a = Write("alice-1.zel", RecordingFields());
    const std::string b = Write("bob-2.zel", RecordingFields());
    CZelDorvaneView* pFirst = m_bed.OpenList({a, b});
    ASSERT_NE(pFirst, nullptr);
    CListViewTestBed::Select(pFirst, {1});
    CZelDorvaneView* pHistory = m_bed.OpenList({}, CZelDorvaneDoc::kPlayHistory);
    ASSERT_NE(pHistory, nullptr);
    EXPECT_EQ(LoadedPath(), "");

    CCallHistory* pPlays = CCallHistory::GetInstance();
    pPlays->Clear();
    pPlays->Add(a.c_str());
    pPlays->Add(b.c_str());
    m_bed.m_pFrame->MDIActivate(pFirst->GetParentFrame());
    PumpPending();
    EXPECT_EQ(LoadedPath(), b);

    m_bed.m_pFrame->MDIActivate(pHistory->GetParentFrame());
    PumpPending();
    EXPECT_EQ(pHistory->GetList().GetItemCount(), 2);
    EXPECT_EQ(ItemText(pHistory, IDC_COUNT_CALLS), "Calls: 2");
    EXPECT_EQ(LoadedPath(), "");
    pPlays->Clear();
}

// ---------------------------------------------------------------------------
// Sorting

// The first click on "Date + Time" keeps newest first, the next reverses;
// another column starts with the flag clear, which for a text is Z to A. The
// first row is then the selection.
TEST_F(ZelDorvaneViewTest, HeaderClicksSortTheList) {
    struct Rec {
        const char* user;
        int start;
    } const recs[] = {{"carol", 1000000300}, {"alice", 1000000100}, {"bob", 1000000200}};
    std::vector<std::string> paths;
    for (const Rec& rec : recs) {
        RecordingFields fields;
        fields.userId = rec.user;
        fields.startTime = rec.start;
        paths.push_back(Write(std::string(rec.user) + "-1.zel", fields));
    }
    CZelDorvaneView* pView = m_bed.OpenList(paths);
    ASSERT_NE(pView, nullptr);
    struct Click {
        int column;
        std::vector<std::string> users;
    } const clicks[] = {
        {5, {"carol", "bob", "alice"}}, {5, {"alice", "bob", "carol"}},
        {2, {"carol", "bob", "alice"}}, {2, {"alice", "bob", "carol"}},
        {5, {"alice", "bob", "carol"}},
    };
    for (const Click& click : clicks) {
        SCOPED_TRACE(click.column);
        ClickHeader(pView, click.column);
        EXPECT_EQ(Column(pView, 2), click.users);
        EXPECT_EQ(pView->GetSelectedCount(), 1);
        EXPECT_EQ(pView->GetFirstSelected(), 0);
        EXPECT_EQ(LoadedPath(), std::string(pView->GetDocument()->GetRecording(0)->GetPath()));
    }
}

// ---------------------------------------------------------------------------
// The frame's reports

TEST_F(ZelDorvaneViewTest, MarksDeletionsAndBookmarksReachTheirRows) {
    RecordingFields fields;
    fields.duration = 1;
    const std::string a = Write("alice-1.zel", fields);
    const std::string b = Write("bob-2.zel", fields);
    const std::string c = Write("carol-3.zel", fields);
    CZelDorvaneView* pView = m_bed.OpenList({a, b, c});
    ASSERT_NE(pView, nullptr);
    CZelDorvaneDoc* pDoc = pView->GetDocument();

    pView->OnRecordingMarked(b.c_str(), 1);
    EXPECT_TRUE(pDoc->GetRecording(1)->IsImportant());
    EXPECT_EQ(ItemText(pView, IDC_COUNT_IMPORTANT), "Important: 1");
    pView->OnRecordingMarked((m_bed.Folder() + "other.zel").c_str(), 1);
    pView->OnRecordingMarked(b.c_str(), 1);
    EXPECT_EQ(ItemText(pView, IDC_COUNT_IMPORTANT), "Important: 1");
    pView->OnRecordingMarked(b.c_str(), 0);
    EXPECT_FALSE(pDoc->GetRecording(1)->IsImportant());
    EXPECT_EQ(ItemText(pView, IDC_COUNT_IMPORTANT), "Important: 0");

    // The player wrote the area into the file; the row reads its comment anew.
    RecordingFields marked = fields;
    marked.comment = BookmarkComment(0, 1, "note");
    ASSERT_TRUE(WriteWholeFile(c, ZelBytes(marked)));
    pView->OnBookmarkChanged(c.c_str(), 0, 1);
    EXPECT_TRUE(pDoc->GetRecording(2)->HasBookmark());
    EXPECT_EQ(std::string(pView->GetList().GetItemText(2, 8)), "note");

    pView->OnRecordingDeleted(a.c_str());
    EXPECT_EQ(CListViewTestBed::Paths(pDoc), (std::vector<std::string>{b, c}));
    EXPECT_EQ(pView->GetList().GetItemCount(), 2);
    EXPECT_EQ(ItemText(pView, IDC_COUNT_CALLS), "Calls: 2");
    EXPECT_EQ(pView->GetFirstSelected(), 0);
    pView->OnRecordingDeleted(b.c_str());
    pView->OnRecordingDeleted(c.c_str());
    EXPECT_EQ(pView->GetList().GetItemCount(), 0);
    EXPECT_EQ(Enabled(pView), "000000000000000");
    EXPECT_EQ(LoadedPath(), "");
}

TEST_F(ZelDorvaneViewTest, ClosingKeepsTheColumnWidths) {
    CZelDorvaneView* pView = m_bed.NewList();
    ASSERT_NE(pView, nullptr);
    pView->GetList().SetColumnWidth(6, 77);
    pView->GetList().SetColumnWidth(2, 140);
    pView->GetDocument()->OnCloseDocument();
    PumpPending();
    EXPECT_EQ(CSettings::GetInstance()->GetColumnWidth(6), 77);
    EXPECT_EQ(CSettings::GetInstance()->GetColumnWidth(2), 140);
}

// ---------------------------------------------------------------------------
// Screen and real input

TEST_F(ZelDorvaneViewTest, TheCallListOfSampleRecordingsScreen) {
    const std::vector<LONG> forms = SetForms({"Quality", "Courtesy"});
    const std::string folder = MakeFolder("Samples") + "\\";
    const std::vector<SSampleRecording> samples = MakeSampleRecordings(folder);
    ASSERT_FALSE(samples.empty());
    std::vector<std::string> paths;
    for (const SSampleRecording& sample : samples)
        paths.push_back(sample.path);
    CZelDorvaneView* pView =
        m_bed.OpenList(paths, CZelDorvaneDoc::kFolderList, folder.substr(0, folder.size() - 1));
    ASSERT_NE(pView, nullptr);
    CZelDorvaneDoc* pDoc = pView->GetDocument();
    pDoc->GetRecording(1)->SetScore(forms[0], "scorer", 8.25);
    pDoc->GetRecording(2)->SetScore(forms[1], "scorer", 6);
    m_bed.m_pFrame->SetForegroundWindow();
    Settle(600);
    CRect rect;
    m_bed.m_pFrame->GetWindowRect(&rect);
    EXPECT_TRUE(SaveScreenPng(rect, "call-list.png"));
    EXPECT_EQ(pView->GetList().GetItemCount(), static_cast<int>(samples.size()));
    EXPECT_EQ(ItemText(pView, IDC_LIST_CAPTION).substr(0, 10), "Samples - ");
}

class ZelDorvaneViewInputTest : public ZelDorvaneViewTest {
protected:
    CPoint CellPoint(CZelDorvaneView* pView, int row, int column) {
        CRect rect;
        EXPECT_TRUE(pView->GetList().GetSubItemRect(row, column, LVIR_BOUNDS, rect));
        CPoint point(rect.left + 20, rect.CenterPoint().y);
        pView->GetList().ClientToScreen(&point);
        return point;
    }
    static void Tap(WORD key) {
        SendKeyTap(key);
        PumpTranslated(60);
    }
};

// The row's own file gets the new Caller ID once, when Enter ends the edit;
// an edit ended with Esc leaves the file and the list as they were.
TEST_F(ZelDorvaneViewInputTest, TheCallerIdEditWritesTheRowsFileOnceInput) {
    RecordingFields fields;
    fields.callerId = "100";
    const std::string a = Write("alice-1.zel", fields);
    const std::string b = Write("bob-2.zel", fields);
    CZelDorvaneView* pView = m_bed.OpenList({a, b});
    ASSERT_NE(pView, nullptr);
    CZelDorvaneDoc* pDoc = pView->GetDocument();
    m_bed.m_pFrame->SetForegroundWindow();
    CListViewTestBed::Select(pView, {1});
    pView->GetList().SetItemState(1, LVIS_FOCUSED, LVIS_FOCUSED);
    pDoc->SetModifiedFlag(FALSE);
    Settle();

    struct Case {
        const char* name;
        const char* typed;
        WORD endKey;
        std::string callerId; // in the file and the list afterwards
        bool modified;
    } const cases[] = {
        {"Esc", "77", VK_ESCAPE, "100", false},
        {"Enter", "42", VK_RETURN, "42", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string before = ReadWholeFile(b);
        PumpTranslated(::GetDoubleClickTime() + 50);
        SendMouseMove(CellPoint(pView, 1, kCallerIdColumn));
        PumpTranslated(60);
        SendLeftClick();
        ASSERT_TRUE(PumpTranslatedUntil([] {
            CInPlaceEdit* pEditor = CInPlaceEdit::GetInstance();
            return ::IsWindow(pEditor->m_hWnd) && ::GetFocus() == pEditor->m_hWnd;
        }));
        TypeLetters(c.typed, &Tap);
        Tap(c.endKey);
        PumpTranslatedUntil([] { return !::IsWindow(CInPlaceEdit::GetInstance()->m_hWnd); });
        EXPECT_EQ(std::string(ReadEntry(b).GetCallerId()), c.callerId);
        EXPECT_EQ(std::string(pDoc->GetRecording(1)->GetCallerId()), c.callerId);
        EXPECT_EQ(pDoc->IsModified() != 0, c.modified);
        if (!c.modified) {
            EXPECT_EQ(ReadWholeFile(b), before);
        }
        EXPECT_EQ(std::string(ReadEntry(a).GetCallerId()), "100");
    }
}

} // namespace
