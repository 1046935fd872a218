// Tests of the commands on listed recordings: delete (row order, a failing
// file, only regular files), remove and trim, the important marks written to
// each row's own file, the caller-ID edit, refresh, the find in the list, the
// longest calls, the clipboard and multi-row play, export naming and bulk
// export, mail, and the context menu's states.
#include "native/gtest.h"

#include "ListCommandsRes.h"
#include "SearchDlg.h"
#include "resource.h"
#include "tests/app/ListViewTestBed.h"

#include "Common/Settings.h"

#include "framework/Menu.h"

#include "tests/support/AnsweringApp.h"
#include "tests/support/AudioCapture.h"
#include "tests/support/Canvas.h"
#include "tests/support/RecordFileHelpers.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

CAnsweringApp theApp;

class ViewCommandsTest : public CListViewTest {
protected:
    ViewCommandsTest() : CListViewTest(theApp, "ViewCommands") {}

    // count recordings "r0.zel" ... named by their number, newest first in
    // row order (the list's own sort).
    std::vector<std::string> WriteNumbered(int count) {
        std::vector<std::string> paths;
        for (int i = 0; i < count; ++i) {
            SViewRecording rec;
            rec.name = "r" + std::to_string(i) + ".zel";
            rec.startTime = 1000000000 - i * 60;
            paths.push_back(m_bed.Write(rec));
        }
        return paths;
    }
    std::vector<std::string> Prompts() const { return theApp.m_prompts; }
};

} // namespace

// ---------------------------------------------------------------------------
// Delete

TEST_F(ViewCommandsTest, DeleteGoesFromTheHighestSelectedRowDownAfterAYes) {
    const std::vector<std::string> paths = WriteNumbered(8);
    CZelDorvaneView* pView = m_bed.OpenList(paths);
    ASSERT_NE(pView, nullptr);
    CListViewTestBed::Select(pView, {2, 5, 7});

    theApp.m_answers.push_back(IDNO);
    pView->OnDeleteRecordings();
    EXPECT_EQ(pView->GetDocument()->GetRecordingCount(), 8);
    EXPECT_TRUE(Exists(paths[2]) && Exists(paths[5]) && Exists(paths[7]));

    CListViewTestBed::Select(pView, {2, 5, 7});
    theApp.m_answers.push_back(IDYES);
    pView->OnDeleteRecordings();
    PumpPending();

    const std::string question = "This will delete 3 call(s)\n\nAre you sure?";
    EXPECT_EQ(Prompts(), (std::vector<std::string>{question, question}));
    std::vector<std::string> posted;
    for (const SPostedChange& change : m_bed.m_pFrame->m_changes) {
        EXPECT_EQ(change.code, 2u);
        posted.push_back(change.path);
    }
    EXPECT_EQ(posted, (std::vector<std::string>{paths[7], paths[5], paths[2]}));
    const std::vector<std::string> left = {paths[0], paths[1], paths[3], paths[4], paths[6]};
    EXPECT_EQ(CListViewTestBed::Paths(pView->GetDocument()), left);
    EXPECT_EQ(pView->GetList().GetItemCount(), 5);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Exists(paths[i]), i != 2 && i != 5 && i != 7) << i;
    // The progress texts reach the window in the ANSI code page, ellipsis included.
    CString progress;
    progress.Format(IDS_DELETING, 1, 3);
    EXPECT_EQ(std::string(progress), "Deleteing Recording List\x85\n\nDeleting 1 of 3.");
    progress.Format(IDS_EXPORTING, 2, 4);
    EXPECT_EQ(std::string(progress), "Exporting Recording List\x85\n\nExporting 2 of 4.");
}

// The second of three deletes fails: the first is done and reported, the
// failure is told once, and the failed row and the one not reached stay.
TEST_F(ViewCommandsTest, AFailedDeleteKeepsItsRowAndEndsTheCommand) {
    struct Case {
        const char* what;
        bool replaceByFolder; // else the file has gone already
    };
    const Case cases[] = {{"the file went", false}, {"a folder of the same name", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        theApp.m_prompts.clear();
        m_bed.m_pFrame->m_changes.clear();
        const std::vector<std::string> paths = WriteNumbered(3);
        CZelDorvaneView* pView = m_bed.OpenList(paths);
        ASSERT_NE(pView, nullptr);
        ASSERT_TRUE(::DeleteFileA(paths[1].c_str()));
        if (c.replaceByFolder) {
            ASSERT_TRUE(::CreateDirectoryA(paths[1].c_str(), nullptr));
        }
        CListViewTestBed::Select(pView, {0, 1, 2});
        theApp.m_answers.push_back(IDYES);
        pView->OnDeleteRecordings();
        PumpPending();

        ASSERT_EQ(Prompts().size(), 2u);
        EXPECT_EQ(Prompts()[1], "Failed to delete one or more files!\rPossibly it is Read Only?");
        ASSERT_EQ(m_bed.m_pFrame->m_changes.size(), 1u);
        EXPECT_EQ(m_bed.m_pFrame->m_changes[0].path, paths[2]);
        EXPECT_EQ(CListViewTestBed::Paths(pView->GetDocument()),
                  (std::vector<std::string>{paths[0], paths[1]}));
        EXPECT_FALSE(Exists(paths[2]));
        EXPECT_TRUE(Exists(paths[0]));
        EXPECT_EQ(Exists(paths[1]), c.replaceByFolder);
        ::RemoveDirectoryA(paths[1].c_str());
    }
}

// ---------------------------------------------------------------------------
// Remove and trim change the list, never the files

TEST_F(ViewCommandsTest, RemoveAndTrimKeepTheFilesAndTheRowsTheySay) {
    struct Case {
        UINT command;
        std::vector<int> left; // rows of the five that stay
    };
    const Case cases[] = {{ID_LIST_REMOVE, {1, 2, 4}}, {ID_LIST_TRIM, {0, 3}}};
    const std::vector<std::string> paths = WriteNumbered(5);
    for (const Case& c : cases) {
        CZelDorvaneView* pView = m_bed.OpenList(paths);
        ASSERT_NE(pView, nullptr);
        CListViewTestBed::Select(pView, {0, 3});
        CListViewTestBed::Command(pView, c.command);
        std::vector<std::string> expected;
        for (int row : c.left)
            expected.push_back(paths[row]);
        EXPECT_EQ(CListViewTestBed::Paths(pView->GetDocument()), expected) << c.command;
        EXPECT_EQ(pView->GetList().GetItemCount(), static_cast<int>(c.left.size()));
    }
    for (const std::string& path : paths)
        EXPECT_TRUE(Exists(path));
}

// ---------------------------------------------------------------------------
// Header writes go to the file of each row

// The engine holds another recording than the one marked: the mark lands in
// the marked row's file, and the engine's file is left alone.
TEST_F(ViewCommandsTest, MarkAndUnmarkWriteTheFileOfEachSelectedRow) {
    struct Case {
        const char* what;
        std::vector<int> rows;
    };
    const Case cases[] = {{"one row", {1}}, {"several rows", {1, 3}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_bed.m_pFrame->m_changes.clear();
        const std::vector<std::string> paths = WriteNumbered(4);
        CZelDorvaneView* pView = m_bed.OpenList(paths);
        ASSERT_NE(pView, nullptr);
        CListViewTestBed::Select(pView, c.rows);
        ASSERT_TRUE(CPlaybackManager::GetInstance()->Load(paths[0].c_str()));

        for (int flag : {1, 0}) {
            m_bed.m_pFrame->m_changes.clear();
            CListViewTestBed::Command(pView, flag ? ID_LIST_MARK : ID_LIST_UNMARK);
            PumpPending();
            for (int row = 0; row < 4; ++row) {
                const bool marked =
                    flag && std::find(c.rows.begin(), c.rows.end(), row) != c.rows.end();
                EXPECT_EQ(ReadEntry(paths[row]).IsImportant(), marked) << row << " " << flag;
                EXPECT_EQ(pView->GetDocument()->GetRecording(row)->IsImportant(), marked) << row;
            }
            EXPECT_EQ(pView->GetDocument()->GetImportantCount(),
                      flag ? static_cast<int>(c.rows.size()) : 0);
            ASSERT_EQ(m_bed.m_pFrame->m_changes.size(), c.rows.size());
            for (size_t i = 0; i < c.rows.size(); ++i) {
                EXPECT_EQ(m_bed.m_pFrame->m_changes[i].code, flag ? 0u : 1u);
                EXPECT_EQ(m_bed.m_pFrame->m_changes[i].path, paths[c.rows[i]]);
            }
        }
        // The engine's recording was not changed behind its back either.
        CPlaybackManager::GetInstance()->Unload();
        EXPECT_FALSE(ReadEntry(paths[0]).IsImportant());
        EXPECT_TRUE(Prompts().empty());
    }
}

TEST_F(ViewCommandsTest, AMarkThatCannotBeWrittenIsToldAndLeavesTheRow) {
    const std::vector<std::string> paths = WriteNumbered(2);
    CZelDorvaneView* pView = m_bed.OpenList(paths);
    ASSERT_NE(pView, nullptr);
    CPlaybackManager::GetInstance()->Unload();
    CListViewTestBed::Select(pView, {1});
    CPlaybackManager::GetInstance()->Unload();
    ASSERT_TRUE(WriteWholeFile(paths[1], "not a recording"));
    CListViewTestBed::Command(pView, ID_LIST_MARK);
    ASSERT_EQ(Prompts().size(), 1u);
    EXPECT_NE(Prompts()[0].find(paths[1]), std::string::npos) << Prompts()[0];
    EXPECT_FALSE(pView->GetDocument()->GetRecording(1)->IsImportant());
    EXPECT_EQ(pView->GetDocument()->GetImportantCount(), 0);
    EXPECT_TRUE(m_bed.m_pFrame->m_changes.empty());
}

// An accepted Caller-ID edit goes into the edited row's file; the same text
// again changes neither the list nor the file.
TEST_F(ViewCommandsTest, ACallerIdEditIsWrittenToItsRowsFileOnlyWhenItChanged) {
    const std::vector<std::string> paths = WriteNumbered(2);
    CZelDorvaneView* pView = m_bed.OpenList(paths);
    ASSERT_NE(pView, nullptr);
    CListViewTestBed::Select(pView, {1});
    ASSERT_TRUE(CPlaybackManager::GetInstance()->Load(paths[0].c_str()));
    pView->GetDocument()->SetModifiedFlag(FALSE);

    auto edit = [&](const char* text) {
        char buffer[64];
        lstrcpynA(buffer, text, sizeof buffer);
        NMLVDISPINFOA info = {};
        info.item.iItem = 1;
        info.item.iSubItem = 3;
        info.item.pszText = buffer;
        pView->SendMessage(WM_LIST_CELL_EDITED, IDC_CALL_LIST, reinterpret_cast<LPARAM>(&info));
    };
    edit(">0123 456789"); // the text the row has
    EXPECT_FALSE(pView->GetDocument()->IsModified());
    edit("<555 1234");
    EXPECT_TRUE(pView->GetDocument()->IsModified());
    EXPECT_STREQ(pView->GetDocument()->GetRecording(1)->GetCallerId(), "<555 1234");
    EXPECT_STREQ(ReadEntry(paths[1]).GetCallerId(), "<555 1234");
    CPlaybackManager::GetInstance()->Unload();
    EXPECT_STREQ(ReadEntry(paths[0]).GetCallerId(), ">0123 456789");
    EXPECT_TRUE(Prompts().empty());
}

// The annotation goes into the annotated row's file, whatever the engine holds.
TEST_F(ViewCommandsTest, AnAnnotationIsWrittenToTheRowsOwnFile) {
    const std::vector<std::string> paths = WriteNumbered(2);
    CZelDorvaneView* pView = m_bed.OpenList(paths);
    ASSERT_NE(pView, nullptr);
    CListViewTestBed::Select(pView, {1});
    ASSERT_TRUE(CPlaybackManager::GetInstance()->Load(paths[0].c_str()));
    CUiScript script([] {}, {[] {
                         HWND hDlg = FindThreadDialog();
                         if (hDlg == nullptr || ::GetDlgItem(hDlg, IDC_COMMENT) == nullptr)
                             return false;
                         ::SetDlgItemTextA(hDlg, IDC_COMMENT, "Promised a call back");
                         ::PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
                         return true;
                     }});
    CListViewTestBed::Command(pView, IDC_ANNOTATE);
    EXPECT_TRUE(script.Finished());
    EXPECT_STREQ(pView->GetDocument()->GetRecording(1)->GetComment(), "Promised a call back");
    EXPECT_STREQ(ReadEntry(paths[1]).GetComment(), "Promised a call back");
    CPlaybackManager::GetInstance()->Unload();
    EXPECT_STREQ(ReadEntry(paths[0]).GetComment(), "");
    EXPECT_TRUE(Prompts().empty());
}

// ---------------------------------------------------------------------------
// Refresh

TEST_F(ViewCommandsTest, RefreshOfASearchedListAsksTheFrameToSearchThatListAgain) {
    const std::vector<std::string> paths = WriteNumbered(2);
    CZelDorvaneView* pView = m_bed.OpenList(paths, CZelDorvaneDoc::kFolderList, m_bed.Folder());
    ASSERT_NE(pView, nullptr);
    SearchCriteria criteria;
    criteria.Add(CKWString(m_bed.Folder().c_str()));
    criteria.IncludeSubFolders = 1;
    criteria.FileNameMask = "r*";
    criteria.CallerIdMask = "*";
    criteria.DateKind = SearchCriteria::kDate7Days;
    criteria.RangeStart = criteria.RangeEnd = 0;
    criteria.LimitLength = 1;
    criteria.MinMinutes = 2;
    pView->GetDocument()->SetSearchCriteria(criteria);
    ASSERT_TRUE(pView->GetDocument()->IsReusable());

    CListViewTestBed::Command(pView, IDC_LIST_REFRESH);
    PumpPending();
    ASSERT_EQ(m_bed.m_pFrame->m_rescans.size(), 1u);
    const SPostedRescan& rescan = *m_bed.m_pFrame->m_rescans[0];
    EXPECT_EQ(rescan.pTarget, pView->GetDocument());
    ASSERT_EQ(rescan.criteria.GetSize(), 1);
    EXPECT_STREQ(rescan.criteria.GetAt(0), m_bed.Folder().c_str());
    EXPECT_STREQ(rescan.criteria.FileNameMask, "r*");
    EXPECT_EQ(rescan.criteria.DateKind, SearchCriteria::kDate7Days);
    EXPECT_EQ(rescan.criteria.MinMinutes, 2);
    EXPECT_EQ(pView->GetSelectedCount(), 1);
    EXPECT_EQ(pView->IsItemSelected(0), 1);
}

// A list that repeats no search (the play history, or a list whose criteria
// name no source) reads its recordings' headers again.
TEST_F(ViewCommandsTest, RefreshOfAnyOtherListRereadsTheHeaders) {
    struct Case {
        int kind;
    };
    for (const Case& c : {Case{CZelDorvaneDoc::kPlayHistory}, Case{CZelDorvaneDoc::kCustomList}}) {
        SCOPED_TRACE(c.kind);
        m_bed.m_pFrame->m_rescans.clear();
        const std::vector<std::string> paths = WriteNumbered(2);
        CZelDorvaneView* pView = m_bed.OpenList(paths, c.kind);
        ASSERT_NE(pView, nullptr);
        SViewRecording changed;
        changed.name = "r1.zel";
        changed.important = 1;
        changed.comment = "Called back";
        changed.startTime = 1000000000 - 60;
        ASSERT_EQ(m_bed.Write(changed), paths[1]);

        CListViewTestBed::Command(pView, IDC_LIST_REFRESH);
        PumpPending();
        EXPECT_TRUE(m_bed.m_pFrame->m_rescans.empty());
        EXPECT_TRUE(pView->GetDocument()->GetRecording(1)->IsImportant());
        EXPECT_STREQ(pView->GetDocument()->GetRecording(1)->GetComment(), "Called back");
        EXPECT_EQ(pView->GetDocument()->GetImportantCount(), 1);
        EXPECT_EQ(pView->GetList().GetItemCount(), 2);
    }
}

// ---------------------------------------------------------------------------
// Finding calls

namespace {

// Incoming calls begin with '>', outgoing ones with '<' and hold no '>'.
const SViewRecording kFindRecordings[] = {
    {"f0.zel", "ANNA", ">0111", "call back"},   {"f1.zel", "bob", "<0222", "Anna said hi"},
    {"f2.zel", "carl", "<03>33", "transfer"},   {"f3.zel", "dora", ">0444 anna", ""},
    {"f4.zel", "eve", ">0555", "nothing here"},
};

struct SFindCase {
    const char* pattern;
    int field;
    int direction;
    std::vector<int> found; // rows, in the new list's order
};

// Each case searches the list of kFindRecordings; a match opens a new list.
void FindAndCompare(CListViewTestBed& bed, const std::vector<SFindCase>& cases) {
    std::vector<std::string> paths;
    for (const SViewRecording& rec : kFindRecordings)
        paths.push_back(bed.Write(rec));
    CZelDorvaneView* pView = bed.OpenList(paths);
    ASSERT_NE(pView, nullptr);
    for (const SFindCase& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " " + std::to_string(c.field) + " " +
                     std::to_string(c.direction));
        const int lists = bed.OpenListCount();
        pView->SearchInList(CKWString(c.pattern), c.field, c.direction);
        if (c.found.empty()) {
            EXPECT_EQ(bed.OpenListCount(), lists);
            continue;
        }
        ASSERT_EQ(bed.OpenListCount(), lists + 1);
        CZelDorvaneView* pFound = bed.ActiveView();
        ASSERT_NE(pFound, nullptr);
        ASSERT_NE(pFound, pView);
        std::vector<std::string> expected;
        for (int row : c.found)
            expected.push_back(paths[row]);
        EXPECT_EQ(CListViewTestBed::Paths(pFound->GetDocument()), expected);
        EXPECT_EQ(pFound->GetDocument()->GetListKind(), CZelDorvaneDoc::kCustomList);
        EXPECT_EQ(pView->GetDocument()->GetRecordingCount(), 5); // the searched list stays
        pFound->GetDocument()->SetModifiedFlag(FALSE);
        pFound->GetParentFrame()->SendMessage(WM_CLOSE);
    }
}

} // namespace

TEST_F(ViewCommandsTest, FindInTheListLooksInTheChosenTexts) {
    FindAndCompare(m_bed, {
                              {"*ANNA*", CSearchDlg::kInAll, CSearchDlg::kDirectionBoth, {3, 1, 0}},
                              {"*ANNA*", CSearchDlg::kInUserId, CSearchDlg::kDirectionBoth, {0}},
                              {"*ANNA*", CSearchDlg::kInCallerId, CSearchDlg::kDirectionBoth, {3}},
                              {"*ANNA*", CSearchDlg::kInComment, CSearchDlg::kDirectionBoth, {1}},
                              {"*BOB*", CSearchDlg::kInUserId, CSearchDlg::kDirectionBoth, {1}},
                              {"*0?22*", CSearchDlg::kInCallerId, CSearchDlg::kDirectionBoth, {1}},
                              {"*ZZZ*", CSearchDlg::kInAll, CSearchDlg::kDirectionBoth, {}},
                              {"*", 4, CSearchDlg::kDirectionBoth, {}}, // no such field
                          });
}

TEST_F(ViewCommandsTest, FindInTheListKeepsOnlyCallsOfTheChosenDirection) {
    FindAndCompare(m_bed,
                   {
                       {"*ANNA*", CSearchDlg::kInAll, CSearchDlg::kDirectionIncoming, {3, 0}},
                       {"*ANNA*", CSearchDlg::kInAll, CSearchDlg::kDirectionOutgoing, {1}},
                       {"*", CSearchDlg::kInAll, CSearchDlg::kDirectionOutgoing, {1}},
                   });
}

// The text typed in lower case is found in upper case anywhere in the texts.
TEST_F(ViewCommandsTest, TheFindDialogsTextIsMatchedWithoutCaseAndAnywhere) {
    std::vector<std::string> paths;
    for (const SViewRecording& rec : kFindRecordings)
        paths.push_back(m_bed.Write(rec));
    CZelDorvaneView* pView = m_bed.OpenList(paths);
    ASSERT_NE(pView, nullptr);
    CUiScript script([] { ::EndMenu(); }, {[] {
                         HWND hDlg = FindThreadDialog();
                         if (hDlg == nullptr)
                             return false;
                         ::SetDlgItemTextA(hDlg, IDC_SEARCH_FOR, "nn");
                         ::PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
                         return true;
                     }});
    CListViewTestBed::Command(pView, IDC_LIST_SEARCH);
    EXPECT_TRUE(script.Finished());
    CZelDorvaneView* pFound = m_bed.ActiveView();
    ASSERT_NE(pFound, pView);
    EXPECT_EQ(CListViewTestBed::Paths(pFound->GetDocument()),
              (std::vector<std::string>{paths[3], paths[1], paths[0]}));
}

// ---------------------------------------------------------------------------
// 20 longest calls

TEST_F(ViewCommandsTest, LongestCallsListsTheTwentyLongestOfTheUserOnce) {
    std::vector<std::string> paths;
    std::vector<std::pair<int, std::string>> user; // duration, path of "U1"'s calls
    for (int i = 0; i < 25; ++i) {
        SViewRecording rec;
        rec.name = "u1-" + std::to_string(i) + ".zel";
        rec.userId = "U1";
        rec.duration = 10 + (i * 7) % 9 * 3; // ties on purpose
        paths.push_back(m_bed.Write(rec));
        user.push_back({rec.duration, paths.back()});
        if (i % 8 == 0) {
            SViewRecording other;
            other.name = "u2-" + std::to_string(i) + ".zel";
            other.userId = "U2";
            other.duration = 500; // longer than all of U1's
            paths.push_back(m_bed.Write(other));
        }
    }
    CZelDorvaneView* pView = m_bed.OpenList(paths);
    ASSERT_NE(pView, nullptr);
    CMDIChildWnd* pSourceFrame = m_bed.m_pFrame->MDIGetActive();
    CListViewTestBed::Select(pView, {5});
    ASSERT_STREQ(pView->GetDocument()->GetRecording(5)->GetUserId(), "U1");

    CListViewTestBed::Command(pView, ID_REPORT_LONGEST_CALLS);
    CZelDorvaneView* pLongest = m_bed.ActiveView();
    ASSERT_NE(pLongest, nullptr);
    ASSERT_NE(pLongest, pView);
    std::stable_sort(user.begin(), user.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<std::string> expected;
    for (int i = 0; i < 20; ++i)
        expected.push_back(user[static_cast<size_t>(i)].second);
    EXPECT_EQ(CListViewTestBed::Paths(pLongest->GetDocument()), expected);
    EXPECT_EQ(pLongest->GetDocument()->GetListKind(), CZelDorvaneDoc::kLongestCalls);
    EXPECT_EQ(pLongest->GetDescription(), "U1");
    EXPECT_FALSE(pLongest->GetDocument()->IsModified());

    // A second use only brings the open one to the front.
    m_bed.m_pFrame->MDIActivate(pSourceFrame);
    ASSERT_EQ(m_bed.ActiveView(), pView);
    const int lists = m_bed.OpenListCount();
    CListViewTestBed::Command(pView, ID_REPORT_LONGEST_CALLS);
    EXPECT_EQ(m_bed.OpenListCount(), lists);
    EXPECT_EQ(m_bed.ActiveView(), pLongest);
}

// ---------------------------------------------------------------------------
// The clipboard and playing several rows

TEST_F(ViewCommandsTest, CopyAndPasteCarryTheSelectedRecordingsThroughTheClipboard) {
    const std::vector<std::string> paths = WriteNumbered(4);
    CZelDorvaneView* pView = m_bed.OpenList(paths);
    ASSERT_NE(pView, nullptr);
    CListViewTestBed::Select(pView, {3, 1});
    std::vector<std::string> files;
    EXPECT_TRUE(WithinTenTries([&] {
        CListViewTestBed::Command(pView, ID_LIST_COPY);
        files = ClipboardFiles(pView->m_hWnd);
        return files == std::vector<std::string>{paths[1], paths[3]};
    })) << files.size();

    // A folder among the pasted paths is no recording.
    EXPECT_TRUE(WithinTenTries([&] {
        CListViewTestBed::Select(pView, {3, 1});
        CListViewTestBed::Command(pView, ID_LIST_COPY);
        CZelDorvaneView* pOther = m_bed.OpenList({paths[0]});
        if (pOther == nullptr)
            return false;
        CListViewTestBed::Command(pOther, ID_LIST_PASTE);
        return CListViewTestBed::Paths(pOther->GetDocument()) ==
                   std::vector<std::string>{paths[0], paths[1], paths[3]} &&
               pOther->GetDocument()->GetListKind() == CZelDorvaneDoc::kCustomList;
    }));
}

// Several rows play as a list of their own; the user's clipboard is not used.
TEST_F(ViewCommandsTest, PlayingSeveralRowsOpensThemAsANewListAndPlaysItsFirst) {
    CAudioCapture capture;
    const std::vector<std::string> paths = WriteNumbered(5);
    CZelDorvaneView* pView = m_bed.OpenList(paths);
    ASSERT_NE(pView, nullptr);
    EXPECT_TRUE(WithinTenTries([&] {
        if (!PutTextOnClipboard(pView->m_hWnd, "left alone"))
            return false;
        m_bed.m_pFrame->MDIActivate(pView->GetParentFrame());
        CListViewTestBed::Select(pView, {4, 0, 2});
        CListViewTestBed::Command(pView, ID_LIST_PLAY);
        return ClipboardText(pView->m_hWnd) == "left alone";
    }));
    CZelDorvaneView* pPlayed = m_bed.ActiveView();
    ASSERT_NE(pPlayed, pView);
    // The new list is sorted as its view sorts: newest first.
    EXPECT_EQ(CListViewTestBed::Paths(pPlayed->GetDocument()),
              (std::vector<std::string>{paths[0], paths[2], paths[4]}));
    EXPECT_EQ(pPlayed->GetFirstSelected(), 0);
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    EXPECT_EQ(std::string(pEngine->GetRecordFile()->GetPath()), paths[0]);
    EXPECT_TRUE(pEngine->IsPlaying());
    pEngine->Start(FALSE, TRUE);
}

// ---------------------------------------------------------------------------
// Export and mail

TEST_F(ViewCommandsTest, ExportTargetsSplitTheNameAndNeverNameAFileThatExists) {
    CTempFolder out;
    const std::string folder = out.Path(); // with its backslash
    const std::string bare = folder.substr(0, folder.size() - 1);
    ASSERT_TRUE(WriteWholeFile(out.File("call.zel"), "x"));
    ASSERT_TRUE(WriteWholeFile(out.File("call (2).zel"), "x"));
    ASSERT_TRUE(::CreateDirectoryA(out.File("dir.wav").c_str(), nullptr));
    struct Case {
        std::string folder;
        const char* source;
        const char* extension;
        std::string expected;
    };
    const Case cases[] = {
        {folder, "C:\\calls\\call.zel", ".wav", folder + "call.wav"},
        {folder, "C:\\calls\\call.zel", ".zel", folder + "call (3).zel"},
        {bare, "C:\\calls\\call.zel", ".wav", folder + "call.wav"},
        {folder, "C:\\a.b\\noext", ".zel", folder + "noext.zel"},
        {folder, "C:\\calls\\multi.part.name.zel", ".wav", folder + "multi.part.name.wav"},
        {folder, "C:\\calls/unix/style.zel", ".zel", folder + "style.zel"},
        {folder, "C:\\calls\\.zel", ".wav", folder + ".zel.wav"},
        {folder, "C:\\calls\\dir.zel", ".wav", folder + "dir (2).wav"}, // a folder is in the way
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::string(CZelDorvaneView::MakeExportPath(CString(c.folder.c_str()), c.source,
                                                              c.extension)),
                  c.expected)
            << c.source << " " << c.extension;
    }
}

// Two calls of one name from different folders and a file of that name in
// the target: nothing is replaced, every call gets a file of its own.
TEST_F(ViewCommandsTest, BulkExportKeepsEveryFileAndNumbersTheNames) {
    struct Case {
        bool wav;
        const char* extension;
    };
    for (const Case& c : {Case{false, ".zel"}, Case{true, ".wav"}}) {
        SCOPED_TRACE(c.extension);
        CTempFolder out;
        SViewRecording first, second, other;
        first.name = "one\\same.zel";
        second.name = "two\\same.zel";
        second.duration = 3;
        other.name = "other.zel";
        const std::vector<std::string> paths = {m_bed.Write(first), m_bed.Write(second),
                                                m_bed.Write(other)};
        const std::string kept = out.File(std::string("same") + c.extension);
        ASSERT_TRUE(WriteWholeFile(kept, "keep"));
        CZelDorvaneView* pView = m_bed.OpenList(paths);
        ASSERT_NE(pView, nullptr);
        CListViewTestBed::Select(pView, {0, 1, 2});

        pView->ExportSelectedTo(CString(out.Path().c_str()), c.wav);
        EXPECT_EQ(ReadWholeFile(kept), "keep");
        const std::string targets[] = {out.File(std::string("same (2)") + c.extension),
                                       out.File(std::string("same (3)") + c.extension),
                                       out.File(std::string("other") + c.extension)};
        for (size_t i = 0; i < 3; ++i) {
            const std::string bytes = ReadWholeFile(targets[i]);
            if (c.wav)
                EXPECT_EQ(bytes.substr(0, 4), "RIFF") << targets[i];
            else
                EXPECT_EQ(bytes, ReadWholeFile(paths[i])) << targets[i];
        }
        EXPECT_TRUE(Prompts().empty());
    }
}

TEST_F(ViewCommandsTest, MailingSeveralCallsSendsOneMessageWithEveryFile) {
    CMailCapture mail;
    const std::vector<std::string> paths = WriteNumbered(3);
    CZelDorvaneView* pView = m_bed.OpenList(paths);
    ASSERT_NE(pView, nullptr);
    CListViewTestBed::Select(pView, {2, 0});
    CListViewTestBed::Command(pView, IDC_EMAIL_ZEL);
    ASSERT_EQ(mail.mails.size(), 1u);
    EXPECT_EQ(mail.mails[0].subject, "My Recorded Calls");
    EXPECT_EQ(mail.mails[0].attachments, (std::vector<std::string>{paths[0], paths[2]}));
    CString body;
    body.LoadString(IDS_MAIL_BODY);
    CString url;
    url.LoadString(IDS_PLAYER_URL);
    EXPECT_EQ(mail.mails[0].note.find(std::string(body) + " " + std::string(url)), 0u);
    EXPECT_NE(body.Find("A free player is available from"), -1);
    EXPECT_TRUE(mail.mails[0].flags & MAPI_DIALOG);
}

namespace {

// The commands of the popup that the button shows; empty when it shows none.
std::vector<UINT> PopupCommands(CZelDorvaneView* pView, UINT nButton) {
    std::vector<UINT> commands;
    CUiScript script([] { ::EndMenu(); }, {[&] {
                         HMENU hMenu = CMenu::GetTrackingMenu();
                         if (hMenu == nullptr)
                             return false;
                         for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i)
                             commands.push_back(::GetMenuItemID(hMenu, i));
                         ::EndMenu();
                         return true;
                     }});
    CListViewTestBed::Command(pView, nButton);
    return commands;
}

} // namespace

// One call with a bookmark area: each e-mail and export button offers the
// whole call or the area; the area mailed in the native format goes as a
// temporary file that is removed afterwards.
TEST_F(ViewCommandsTest, AWholeCallOrItsBookmarkAreaIsOfferedByEachButton) {
    SViewRecording rec;
    rec.name = "marked.zel";
    rec.duration = 4;
    rec.comment = BookmarkComment(1, 3, "marked");
    const std::string path = m_bed.Write(rec);
    CZelDorvaneView* pView = m_bed.OpenList({path});
    ASSERT_NE(pView, nullptr);
    CListViewTestBed::Select(pView, {0});
    ASSERT_EQ(std::string(CPlaybackManager::GetInstance()->GetRecordFile()->GetPath()), path);
    struct Case {
        UINT button;
        std::vector<UINT> offered;
    };
    const Case cases[] = {
        {IDC_EXPORT_WAV, {ID_EXPORT_WAV_FULL, ID_EXPORT_WAV_BOOKMARK}},
        {IDC_EXPORT_ZEL, {ID_EXPORT_ZEL_FULL, ID_EXPORT_ZEL_BOOKMARK}},
        {IDC_EMAIL_WAV, {ID_EMAIL_WAV_FULL, ID_EMAIL_WAV_BOOKMARK}},
        {IDC_EMAIL_ZEL, {ID_EMAIL_ZEL_FULL, ID_EMAIL_ZEL_BOOKMARK}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PopupCommands(pView, c.button), c.offered) << c.button;

    CMailCapture mail;
    CListViewTestBed::Command(pView, ID_EMAIL_ZEL_BOOKMARK);
    ASSERT_EQ(mail.mails.size(), 1u);
    ASSERT_EQ(mail.mails[0].attachments.size(), 1u);
    const std::string sent = mail.mails[0].attachments[0];
    EXPECT_NE(sent, path);
    EXPECT_FALSE(FileExists(sent));
    ASSERT_TRUE(WriteWholeFile(sent, mail.mails[0].attachmentBytes[0]));
    EXPECT_EQ(ReadEntry(sent).GetDuration(), 2); // the area alone
    ::DeleteFileA(sent.c_str());

    // The whole call in the native format is the recording's own file.
    CListViewTestBed::Command(pView, ID_EMAIL_ZEL_FULL);
    ASSERT_EQ(mail.mails.size(), 2u);
    EXPECT_EQ(mail.mails[1].attachments, std::vector<std::string>{path});
}

// ---------------------------------------------------------------------------
// The context menu

namespace {

const UINT kMenuCommands[] = {ID_LIST_PLAY,   ID_LIST_COPY,       ID_LIST_PASTE,  ID_LIST_REMOVE,
                              ID_LIST_TRIM,   ID_LIST_SELECT_ALL, ID_LIST_MARK,   ID_LIST_UNMARK,
                              ID_SCORE,       ID_SCORE_PLAY_MODE, ID_ARCHIVE_ZIP, ID_ARCHIVE_DISK,
                              ID_ARCHIVE_ISO, ID_LIST_DELETE};

// Opens the list's context menu and answers the greyed commands; a picture
// of it is kept when pngPath is given.
std::vector<UINT> GreyedContextCommands(CZelDorvaneView* pView, const char* pngPath = nullptr) {
    std::vector<UINT> greyed;
    bool seen = false;
    CUiScript script([] { ::EndMenu(); }, {[&] {
                         HMENU hMenu = CMenu::GetTrackingMenu();
                         if (hMenu == nullptr)
                             return false;
                         if (pngPath != nullptr) {
                             Settle(300);
                             HWND hPopup = ::FindWindowA("#32768", nullptr);
                             RECT rect;
                             if (hPopup != nullptr && ::GetWindowRect(hPopup, &rect))
                                 SaveScreenPng(rect, pngPath);
                         }
                         for (UINT nID : kMenuCommands) {
                             if (::GetMenuState(hMenu, nID, MF_BYCOMMAND) & MF_GRAYED)
                                 greyed.push_back(nID);
                         }
                         seen = true;
                         ::EndMenu();
                         return true;
                     }});
    CRect rect;
    pView->GetList().GetWindowRect(&rect);
    ::SetCursorPos(rect.left + 40, rect.top + 40);
    pView->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(pView->GetList().m_hWnd),
                       MAKELPARAM(rect.left + 40, rect.top + 40));
    EXPECT_TRUE(seen);
    return greyed;
}

} // namespace

TEST_F(ViewCommandsTest, TheContextMenuGreysWhatTheSelectionAndTheClipboardAllow) {
    struct Case {
        const char* what;
        int rows; // in the list
        std::vector<int> selected;
        bool filesOnClipboard;
        std::vector<UINT> greyed; // besides archiving, never available here
    };
    const Case cases[] = {
        {"a selected row", 3, {1}, true, {}},
        {"text on the clipboard", 3, {1}, false, {ID_LIST_PASTE}},
        {"no selection",
         3,
         {},
         true,
         {ID_LIST_PLAY, ID_LIST_COPY, ID_LIST_REMOVE, ID_LIST_TRIM, ID_LIST_MARK, ID_LIST_UNMARK,
          ID_LIST_DELETE, ID_SCORE, ID_SCORE_PLAY_MODE}},
        {"an empty list",
         0,
         {},
         true,
         {ID_LIST_PLAY, ID_LIST_COPY, ID_LIST_REMOVE, ID_LIST_TRIM, ID_LIST_SELECT_ALL,
          ID_LIST_MARK, ID_LIST_UNMARK, ID_LIST_DELETE, ID_SCORE, ID_SCORE_PLAY_MODE}},
    };
    const std::vector<std::string> paths = WriteNumbered(3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CZelDorvaneView* pView =
            m_bed.OpenList(std::vector<std::string>(paths.begin(), paths.begin() + c.rows));
        ASSERT_NE(pView, nullptr);
        CListViewTestBed::Select(pView, c.selected);
        std::vector<UINT> expected = c.greyed;
        for (UINT nID : {ID_ARCHIVE_ZIP, ID_ARCHIVE_DISK, ID_ARCHIVE_ISO})
            expected.push_back(nID);
        std::sort(expected.begin(), expected.end());
        std::vector<UINT> greyed;
        EXPECT_TRUE(WithinTenTries([&] {
            if (c.filesOnClipboard) {
                CListViewTestBed::Select(pView, {});
                if (c.rows > 0) {
                    CListViewTestBed::Select(pView, {0});
                    CListViewTestBed::Command(pView, ID_LIST_COPY);
                }
                CListViewTestBed::Select(pView, c.selected);
            } else if (!PutTextOnClipboard(pView->m_hWnd, "text")) {
                return false;
            }
            greyed = GreyedContextCommands(pView);
            std::sort(greyed.begin(), greyed.end());
            return greyed == expected;
        })) << ::testing::PrintToString(greyed);
        if (c.selected.empty()) {
            for (UINT nID : {IDC_PLAY, IDC_LIST_REFRESH, IDC_EXPORT_ZEL, IDC_WATCHER})
                EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(pView->m_hWnd, nID))) << nID;
        }
    }
}

TEST_F(ViewCommandsTest, TheContextMenuScreen) {
    const std::vector<std::string> paths = WriteNumbered(3);
    CZelDorvaneView* pView = m_bed.OpenList(paths);
    ASSERT_NE(pView, nullptr);
    CListViewTestBed::Select(pView, {1});
    Settle(300);
    const std::vector<UINT> greyed = GreyedContextCommands(pView, "call_list_context_menu.png");
    // Scoring is offered for the selected row.
    EXPECT_EQ(std::find(greyed.begin(), greyed.end(), UINT(ID_SCORE)), greyed.end());
    EXPECT_TRUE(FileExists("call_list_context_menu.png"));
}
