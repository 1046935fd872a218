// Tests of CScoreCallDlg, "Score Call", and its mark buttons: the rows a form
// shows, answers in and out of the row buttons, the running total and the bias
// tooltips, the mark picked by a click or the Right arrow, and what Save and
// Cancel leave behind: only forms with answers recorded, the question about
// incomplete forms, the score file written first (a failed write reported, the
// dialog left open, nothing marked), the recording's header marked important
// and the main window told with the scored copy. Forms are built in the form
// store of each test; recordings are generated .zel files; configuration and
// score folders are the test's own.
#include "native/gtest.h"

#include "AppMessages.h"
#include "MarkButton.h"
#include "ScoreCallDlg.h"
#include "ScoreCallRes.h"
#include "ScoredFileListEntry.h"
#include "ScoringRes.h"
#include "Scoring/ScoreFormManager.h"

#include "tests/app/ListTestRecordings.h"
#include "tests/app/SmallDialogsTestKit.h"
#include "tests/app/StoreTestFolders.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UiScript.h"

#include "Common/KWFileListEntry.h"
#include "Common/PlaybackManager.h"

#include "framework/WinApp.h"

#include <string>
#include <utility>
#include <vector>

namespace {

CAnsweringApp theApp;

using smalldlg::PumpTranslated;
using smalldlg::PumpTranslatedUntil;
using smalldlg::WindowText;

// The test's main window: keeps what WM_CALL_SCORED brings, as the main frame
// would hand it on.
class CScoringHost : public CWnd {
public:
    struct SCall {
        std::string path;
        int scores;
        int important;
    };

    bool Make() {
        LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW),
                                                reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        if (!CreateEx(0, lpszClass, "Scoring host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                      CRect(0, 0, 200, 100), nullptr, 0))
            return false;
        AfxGetApp()->m_pMainWnd = this;
        return true;
    }
    ~CScoringHost() override {
        if (AfxGetApp()->m_pMainWnd == this)
            AfxGetApp()->m_pMainWnd = nullptr;
    }

    std::vector<SCall> m_calls;

protected:
    afx_msg LRESULT OnCallScored(WPARAM, LPARAM lParam) {
        auto* pEntry = reinterpret_cast<CScoredFileListEntry*>(lParam);
        m_calls.push_back({pEntry->GetPath(), pEntry->GetScoreCount(), pEntry->IsImportant()});
        return 1;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CScoringHost, CWnd)
ON_MESSAGE(WM_CALL_SCORED, &CScoringHost::OnCallScored)
END_MESSAGE_MAP()

struct SQuestion {
    LONG id;
    LONG type; // CQuestion::TYPE_SCALE or TYPE_YESNO
    double bias;
    const char* prompt;
};

typedef std::vector<std::pair<LONG, LONG>> Answers; // question ID, value

Answers AnswersOf(const ScoreDataList& list) {
    Answers answers;
    for (const ScoreData& answer : list)
        answers.emplace_back(answer.QuestionID, answer.Value);
    return answers;
}

const int kNext = IDOK;
const int kSave = IDC_SCORE_SAVE;

class ScoreCallDlgTest : public ::testing::Test {
protected:
    ScoreCallDlgTest() : m_folders("ZmScoreCall"), m_store(CScoreFormManager::GetInstance()) {}

    void SetUp() override {
        m_store->Clear();
        m_store->Load(m_scores.File("no-forms-here.xml").c_str()); // loaded, nothing read
        m_store->SetFolder(m_scores.Path().c_str());
        theApp.m_answers.clear();
        theApp.m_prompts.clear();
        ASSERT_TRUE(m_host.Make());
    }
    void TearDown() override {
        CPlaybackManager::GetInstance()->Unload();
        if (m_host.GetSafeHwnd() != nullptr)
            m_host.DestroyWindow();
        TakeQuitMessage(); // the main window's end; the next test's loops must not see it
        m_store->Clear();
        CScoreFormManager::DeleteInstance();
    }

    void AddForm(LONG id, const char* title, const std::vector<SQuestion>& questions) {
        CScoreFormEntry form(id);
        form.SetTitle(title);
        for (const SQuestion& q : questions) {
            CQuestion question(q.id);
            question.SetType(q.type);
            question.SetBias(q.bias);
            question.SetPrompt(q.prompt);
            form.AddQuestion(question);
        }
        ASSERT_TRUE(m_store->AddForm(form));
    }
    // Biases 40, 30, 20, 10: a scaled question, then three yes/no ones.
    void AddSalesForm(LONG id = 1) {
        AddForm(id, "Sales",
                {{11, CQuestion::TYPE_SCALE, 40, "Greeting & tone"},
                 {12, CQuestion::TYPE_YESNO, 30, "Asked for the order?"},
                 {13, CQuestion::TYPE_YESNO, 20, "Offered <extras>"},
                 {14, CQuestion::TYPE_YESNO, 10, "Said goodbye"}});
    }
    void AddServiceForm(LONG id = 2) {
        AddForm(id, "Service",
                {{21, CQuestion::TYPE_YESNO, 50, "Solved it"},
                 {22, CQuestion::TYPE_SCALE, 50, "Patience"}});
    }

    CScoredFileListEntry Recording(const char* name = "call-0412.zel", int important = 0) {
        RecordingFields fields;
        fields.important = important;
        fields.callerId = "0123 456789";
        fields.startTime = 1000000000;
        fields.duration = 2; // seconds of audio: a recording without any does not open
        const std::string path = WriteMuLawRecording(m_calls.Path(), name, fields);
        EXPECT_FALSE(path.empty());
        CScoredFileListEntry entry;
        entry.SetPath(path.c_str());
        entry.LoadHeader("");
        return entry;
    }
    std::string ScoreFileOf(const CScoredFileListEntry& entry) const {
        return std::string(entry.GetScoreFilePath());
    }
    // The important flag of the recording's header as a list reads it.
    static int HeaderImportant(const CScoredFileListEntry& entry) {
        CKWFileListEntry read;
        read.SetPath(entry.GetPath());
        read.LoadHeader("");
        return read.IsImportant() ? 1 : 0;
    }

    // The dialog, modeless under the host, scoring the entry.
    void Open(CScoreCallDlg& dlg, CScoredFileListEntry& entry) {
        dlg.SetRecording(&entry);
        ASSERT_TRUE(dlg.Create(IDD_SCORE_CALL, &m_host));
        dlg.ShowWindow(SW_SHOW); // a modal run shows it itself
        PumpTranslated(20);
    }
    static HWND Item(CScoreCallDlg& dlg, int nID) { return ::GetDlgItem(dlg.m_hWnd, nID); }
    static bool Visible(CScoreCallDlg& dlg, int nID) {
        return (::GetWindowLongA(Item(dlg, nID), GWL_STYLE) & WS_VISIBLE) != 0;
    }
    static void Press(CScoreCallDlg& dlg, int nID) {
        ::SendMessageA(Item(dlg, nID), BM_CLICK, 0, 0);
        PumpTranslated(20);
    }
    static void Command(CScoreCallDlg& dlg, int nID) {
        ::SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                       reinterpret_cast<LPARAM>(Item(dlg, nID)));
        PumpTranslated(20);
    }
    static CMarkButton* Mark(CScoreCallDlg& dlg, int row) {
        return dynamic_cast<CMarkButton*>(
            CWnd::FromHandlePermanent(Item(dlg, IDC_SCORE_MARK_FIRST + row)));
    }
    // Focuses the row's mark button and presses Right n times, each through
    // the application's message loop.
    static void PressRight(CScoreCallDlg& dlg, int row, int n) {
        HWND hMark = Item(dlg, IDC_SCORE_MARK_FIRST + row);
        ::SetFocus(hMark);
        for (int i = 0; i < n; ++i) {
            ::PostMessageA(hMark, WM_KEYDOWN, VK_RIGHT, 0);
            PumpTranslated(20);
        }
    }
    static void SelectTab(CScoreCallDlg& dlg, int tab) {
        HWND hTabs = Item(dlg, IDC_SCORE_TABS);
        ::SendMessageA(hTabs, TCM_SETCURSEL, tab, 0);
        NMHDR header = {hTabs, IDC_SCORE_TABS, static_cast<UINT>(TCN_SELCHANGE)};
        ::SendMessageA(dlg.m_hWnd, WM_NOTIFY, IDC_SCORE_TABS, reinterpret_cast<LPARAM>(&header));
        PumpTranslated(20);
    }
    static std::string Text(CScoreCallDlg& dlg, int nID) { return WindowText(Item(dlg, nID)); }
    // The tooltip text registered for a row's question.
    static std::string RowTip(CScoreCallDlg& dlg, int row) {
        HWND found[2] = {dlg.m_hWnd, nullptr}; // the owner looked for, the tooltip
        ::EnumThreadWindows(::GetCurrentThreadId(), FindToolTip, reinterpret_cast<LPARAM>(found));
        HWND hTip = found[1];
        char text[256] = "";
        TOOLINFOA info = {};
        info.cbSize = TTTOOLINFOA_V2_SIZE;
        info.hwnd = dlg.m_hWnd;
        info.uId = IDC_SCORE_QUESTION_FIRST + row;
        info.lpszText = text;
        if (hTip == nullptr)
            return "(no tooltip control)";
        ::SendMessageA(hTip, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&info));
        return text;
    }
    static BOOL CALLBACK FindToolTip(HWND hWnd, LPARAM lParam) {
        char name[64] = "";
        ::GetClassNameA(hWnd, name, sizeof name);
        HWND* found = reinterpret_cast<HWND*>(lParam);
        if (lstrcmpiA(name, TOOLTIPS_CLASSA) != 0 || ::GetWindow(hWnd, GW_OWNER) != found[0])
            return TRUE;
        found[1] = hWnd;
        return FALSE;
    }
    void KeepScreenshot(CScoreCallDlg& dlg, const char* name) {
        Settle(300);
        CRect rect;
        dlg.GetWindowRect(&rect);
        rect.InflateRect(0, 0, 8, 8);
        EXPECT_TRUE(SaveScreenPng(rect, name));
    }

    CStoreTestFolders m_folders;
    CTempFolder m_scores;
    CTempFolder m_calls;
    CScoreFormManager* m_store;
    CScoringHost m_host;
};

// ---------------------------------------------------------------------------
// Rows and answers

TEST_F(ScoreCallDlgTest, ShowsOneRowPerQuestionWithTheButtonsOfItsTypeScreen) {
    AddForm(1, "Three",
            {{1, CQuestion::TYPE_SCALE, 50, "Scaled"},
             {2, CQuestion::TYPE_YESNO, 25, "Yes or no"},
             {3, CQuestion::TYPE_SCALE, 25, "Another & more"}});
    CScoredFileListEntry entry = Recording("call-rows.zel");
    CScoreCallDlg dlg;
    Open(dlg, entry);

    EXPECT_EQ("Score Call - call-rows.zel", WindowText(dlg.m_hWnd));
    EXPECT_EQ(entry.GetPath(), Text(dlg, IDC_SCORE_PATH));
    EXPECT_EQ(std::string("Date/Time: ") + entry.GetDateTimeText() +
                  "  |  Length: " + entry.GetDurationText(),
              Text(dlg, IDC_SCORE_DATE_LENGTH));
    EXPECT_EQ(" 1. Scaled", Text(dlg, IDC_SCORE_QUESTION_FIRST));
    EXPECT_EQ(" 3. Another & more", Text(dlg, IDC_SCORE_QUESTION_FIRST + 2));
    EXPECT_EQ("Total Score: Incomplete", Text(dlg, IDC_SCORE_TOTAL));
    EXPECT_EQ(0u, Text(dlg, IDC_SCORE_USER).find("Scored by: "));
    // Scaled rows: N/A and the mark; yes/no rows: N/A, Yes and No.
    struct SRow {
        bool text, na, mark, yes, no;
    };
    const SRow expected[] = {{true, true, true, false, false},
                             {true, true, false, true, true},
                             {true, true, true, false, false},
                             {false, false, false, false, false},
                             {false, false, false, false, false}};
    for (int row = 0; row < 5; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(expected[row].text, Visible(dlg, IDC_SCORE_QUESTION_FIRST + row));
        EXPECT_EQ(expected[row].na, Visible(dlg, IDC_SCORE_NA_FIRST + row));
        EXPECT_EQ(expected[row].mark, Visible(dlg, IDC_SCORE_MARK_FIRST + row));
        EXPECT_EQ(expected[row].yes, Visible(dlg, IDC_SCORE_YES_FIRST + row));
        EXPECT_EQ(expected[row].no, Visible(dlg, IDC_SCORE_NO_FIRST + row));
    }
    for (int row = 5; row < CScoreCallDlg::ROW_COUNT; ++row)
        EXPECT_FALSE(Visible(dlg, IDC_SCORE_QUESTION_FIRST + row)) << row;
    // One form: the last tab from the start, so no Next and Save is the default.
    EXPECT_FALSE(Visible(dlg, kNext));
    EXPECT_FALSE(::IsWindowEnabled(Item(dlg, kNext)));
    EXPECT_EQ(kSave, LOWORD(dlg.SendMessage(DM_GETDEFID)));
    KeepScreenshot(dlg, "ScoreCallDlg-rows.png");
    dlg.DestroyWindow();
}

TEST_F(ScoreCallDlgTest, ShowAnswerAndGetAnswerAgreeOnEveryCode) {
    AddForm(
        1, "Both",
        {{1, CQuestion::TYPE_SCALE, 50, "Scaled"}, {2, CQuestion::TYPE_YESNO, 50, "Yes or no"}});
    CScoredFileListEntry entry = Recording();
    CScoreCallDlg dlg;
    Open(dlg, entry);
    struct SCase {
        int row, type, code, answer, mark; // mark -99: not looked at
    };
    const SCase cases[] = {
        {0, CQuestion::TYPE_SCALE, 0, 0, 0},     {0, CQuestion::TYPE_SCALE, 4, 4, 4},
        {0, CQuestion::TYPE_SCALE, 10, 10, 10},  {0, CQuestion::TYPE_SCALE, -1, -1, 0},
        {0, CQuestion::TYPE_SCALE, -2, -2, 0},   {0, CQuestion::TYPE_SCALE, 5, -2, -99},
        {1, CQuestion::TYPE_YESNO, 10, 10, -99}, {1, CQuestion::TYPE_YESNO, 0, 0, -99},
        {1, CQuestion::TYPE_YESNO, -1, -1, -99}, {1, CQuestion::TYPE_YESNO, -2, -2, -99},
        {1, CQuestion::TYPE_YESNO, 6, -2, -99},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << " code " << c.code);
        dlg.ShowAnswer(c.row, 10, c.type); // something checked before
        dlg.ShowAnswer(c.row, c.code, c.type);
        EXPECT_EQ(c.answer, dlg.GetAnswer(c.row));
        if (c.mark != -99) {
            EXPECT_EQ(c.mark, Mark(dlg, c.row)->GetMark());
        }
    }
    for (int row : {-1, 10, 99})
        EXPECT_EQ(-2, dlg.GetAnswer(row)) << row;
    dlg.DestroyWindow();
}

TEST(MarkButtonTest, ClickPositionsAndMarksMapAsTheStarsLie) {
    const std::pair<int, int> clicks[] = {{-5, 0}, {0, 0},  {19, 0},  {20, 2},  {33, 2},
                                          {34, 4}, {46, 4}, {47, 6},  {59, 6},  {60, 8},
                                          {70, 8}, {72, 8}, {73, 10}, {119, 10}};
    for (const auto& click : clicks)
        EXPECT_EQ(click.second, CMarkButton::MarkFromX(click.first)) << click.first;
    const std::pair<int, UINT> pictures[] = {
        {-1, IDB_MARK_0}, {0, IDB_MARK_0},   {2, IDB_MARK_2}, {4, IDB_MARK_4}, {6, IDB_MARK_6},
        {8, IDB_MARK_8},  {10, IDB_MARK_10}, {3, 0u},         {12, 0u},        {-2, 0u}};
    for (const auto& picture : pictures)
        EXPECT_EQ(picture.second, CMarkButton::BitmapIdOf(picture.first)) << picture.first;
    CMarkButton button;
    EXPECT_EQ(CMarkButton::MARK_NONE, button.GetMark());
}

TEST_F(ScoreCallDlgTest, RightArrowRaisesTheMarkAndWrapsPastTen) {
    AddForm(1, "One", {{1, CQuestion::TYPE_SCALE, 100, "Scaled"}});
    CScoredFileListEntry entry = Recording();
    CScoreCallDlg dlg;
    Open(dlg, entry);
    CMarkButton* pMark = Mark(dlg, 0);
    ASSERT_NE(nullptr, pMark);
    ASSERT_EQ(-2, dlg.GetAnswer(0));
    // From unanswered (mark 0): the first press checks the button with 2.
    PressRight(dlg, 0, 1);
    EXPECT_EQ(2, pMark->GetMark());
    EXPECT_EQ(2, dlg.GetAnswer(0));
    EXPECT_EQ("Total Score: 20.00", Text(dlg, IDC_SCORE_TOTAL));
    PressRight(dlg, 0, 2);
    EXPECT_EQ(6, pMark->GetMark());
    PressRight(dlg, 0, 1);
    EXPECT_EQ(8, pMark->GetMark());
    EXPECT_EQ("Total Score: 80.00", Text(dlg, IDC_SCORE_TOTAL));
    PressRight(dlg, 0, 1);
    EXPECT_EQ(10, pMark->GetMark());
    PressRight(dlg, 0, 1);
    EXPECT_EQ(0, pMark->GetMark());
    EXPECT_EQ(0, dlg.GetAnswer(0));
    EXPECT_EQ("Total Score: 0.00", Text(dlg, IDC_SCORE_TOTAL));
    dlg.DestroyWindow();
}

// Real clicks: the mark follows where on the stars the pointer was.
TEST_F(ScoreCallDlgTest, ClickOnTheStarsSetsTheMarkInputCursor) {
    AddForm(1, "One", {{1, CQuestion::TYPE_SCALE, 100, "Scaled"}});
    CScoredFileListEntry entry = Recording();
    CScoreCallDlg dlg;
    Open(dlg, entry);
    dlg.SetForegroundWindow();
    Settle(200);
    HWND hMark = Item(dlg, IDC_SCORE_MARK_FIRST);
    CRect rect;
    ::GetWindowRect(hMark, &rect);
    for (const auto& click :
         std::vector<std::pair<int, int>>{{70, 8}, {73, 10}, {19, 0}, {40, 4}}) {
        SCOPED_TRACE(click.first);
        SendMouseMove(CPoint(rect.left + click.first, rect.top + rect.Height() / 2));
        SendLeftClick();
        ASSERT_TRUE(
            PumpTranslatedUntil([&] { return Mark(dlg, 0)->GetMark() == click.second; }, 3000))
            << Mark(dlg, 0)->GetMark();
        EXPECT_EQ(click.second, dlg.GetAnswer(0));
        if (click.first == 70)
            KeepScreenshot(dlg, "ScoreCallDlg-mark-8.png");
    }
    char total[64];
    wsprintfA(total, "Total Score: %d.00", 40);
    EXPECT_EQ(total, Text(dlg, IDC_SCORE_TOTAL));
    dlg.DestroyWindow();
}

// The worked example: 8 of 40, Yes of 30, N/A of 20, No of 10.
TEST_F(ScoreCallDlgTest, TotalAndBiasTooltipsFollowTheAnswersScreen) {
    AddSalesForm();
    CScoredFileListEntry entry = Recording();
    CScoreCallDlg dlg;
    Open(dlg, entry);
    EXPECT_EQ("Set Bias Value = 40% / Adjusted Bias Value = 40%", RowTip(dlg, 0));
    PressRight(dlg, 0, 4); // 8
    Press(dlg, IDC_SCORE_YES_FIRST + 1);
    Press(dlg, IDC_SCORE_NO_FIRST + 3);
    EXPECT_EQ("Total Score: Incomplete", Text(dlg, IDC_SCORE_TOTAL));
    EXPECT_TRUE(::IsWindowEnabled(Item(dlg, IDC_SCORE_QUESTION_FIRST + 2)));
    Press(dlg, IDC_SCORE_NA_FIRST + 2);
    EXPECT_EQ("Total Score: 75.33", Text(dlg, IDC_SCORE_TOTAL));
    EXPECT_TRUE(dlg.IsCurrentFormComplete());
    // N/A greys the question and hands its bias to the others.
    EXPECT_FALSE(::IsWindowEnabled(Item(dlg, IDC_SCORE_QUESTION_FIRST + 2)));
    EXPECT_EQ("Set Bias Value = 40% / Adjusted Bias Value = 47%", RowTip(dlg, 0));
    EXPECT_EQ("Set Bias Value = 10% / Adjusted Bias Value = 17%", RowTip(dlg, 3));
    Press(dlg, IDC_SCORE_YES_FIRST + 3);
    EXPECT_EQ("Total Score: 92.00", Text(dlg, IDC_SCORE_TOTAL));
    // The shown total comes from a copy: nothing is recorded yet.
    EXPECT_EQ(0, dlg.GetScoredEntry().GetScoreCount());
    KeepScreenshot(dlg, "ScoreCallDlg-answered.png");
    dlg.DestroyWindow();
}

TEST_F(ScoreCallDlgTest, NotApplicableOnAScaledRowResetsItsMarkPicture) {
    AddForm(1, "Two",
            {{1, CQuestion::TYPE_SCALE, 50, "First"}, {2, CQuestion::TYPE_SCALE, 50, "Second"}});
    CScoredFileListEntry entry = Recording();
    CScoreCallDlg dlg;
    Open(dlg, entry);
    PressRight(dlg, 1, 2); // the second answered 4
    PressRight(dlg, 0, 3);
    ASSERT_EQ(6, Mark(dlg, 0)->GetMark());
    Press(dlg, IDC_SCORE_NA_FIRST);
    EXPECT_EQ(0, Mark(dlg, 0)->GetMark());
    EXPECT_EQ(-1, dlg.GetAnswer(0));
    EXPECT_EQ("Set Bias Value = 50% / Adjusted Bias Value = 100%", RowTip(dlg, 1));
    dlg.DestroyWindow();
}

// ---------------------------------------------------------------------------
// Tabs, Next, Save and Cancel

TEST_F(ScoreCallDlgTest, NextWalksTheTabsAndStaysOpenOnTheLastScreen) {
    AddSalesForm(1);
    AddServiceForm(2);
    CScoredFileListEntry entry = Recording();
    CScoreCallDlg dlg;
    Open(dlg, entry);
    EXPECT_TRUE(Visible(dlg, kNext));
    EXPECT_EQ(kNext, LOWORD(dlg.SendMessage(DM_GETDEFID)));
    EXPECT_EQ(" 1. Greeting & tone", Text(dlg, IDC_SCORE_QUESTION_FIRST));
    Command(dlg, kNext);
    EXPECT_EQ(1, dlg.GetCurrentTab());
    EXPECT_EQ(1, TabCtrl_GetCurSel(Item(dlg, IDC_SCORE_TABS)));
    EXPECT_EQ(" 1. Solved it", Text(dlg, IDC_SCORE_QUESTION_FIRST));
    EXPECT_FALSE(Visible(dlg, IDC_SCORE_QUESTION_FIRST + 2));
    EXPECT_FALSE(Visible(dlg, kNext));
    EXPECT_EQ(kSave, LOWORD(dlg.SendMessage(DM_GETDEFID)));
    Command(dlg, kNext); // the last tab: nothing more
    EXPECT_EQ(1, dlg.GetCurrentTab());
    EXPECT_TRUE(dlg.IsWindowVisible());
    KeepScreenshot(dlg, "ScoreCallDlg-last-tab.png");
    dlg.DestroyWindow();
}

// Only forms with answers are recorded: a tab passed by keeps no score.
TEST_F(ScoreCallDlgTest, SaveRecordsOnlyAnsweredFormsAndTellsTheMainWindow) {
    AddSalesForm(1);
    AddServiceForm(2);
    CScoredFileListEntry entry = Recording();
    CScoreCallDlg dlg;
    Open(dlg, entry);
    Command(dlg, kNext); // Sales passed by unanswered
    Press(dlg, IDC_SCORE_YES_FIRST);
    PressRight(dlg, 1, 5); // 10
    EXPECT_EQ("Total Score: 100.00", Text(dlg, IDC_SCORE_TOTAL));
    Command(dlg, kSave);

    EXPECT_FALSE(dlg.IsWindowVisible());
    EXPECT_TRUE(theApp.m_prompts.empty());
    CScoredFileListEntry saved;
    saved.SetPath(entry.GetPath());
    saved.LoadScores(TRUE);
    ASSERT_EQ(1, saved.GetScoreCount());
    EXPECT_EQ(nullptr, saved.FindScore(1));
    ASSERT_NE(nullptr, saved.FindScore(2));
    EXPECT_DOUBLE_EQ(100.0, saved.FindScore(2)->Value);
    EXPECT_EQ((Answers{{21, 10}, {22, 10}}), AnswersOf(saved.GetScoreData(2)));
    EXPECT_EQ(1, HeaderImportant(entry));
    ASSERT_EQ(1u, m_host.m_calls.size());
    EXPECT_EQ(std::string(entry.GetPath()), m_host.m_calls[0].path);
    EXPECT_EQ(1, m_host.m_calls[0].scores);
    EXPECT_EQ(1, m_host.m_calls[0].important);
    // The given entry is the caller's and stays as it was.
    EXPECT_EQ(0, entry.GetScoreCount());
    EXPECT_EQ(1, dlg.GetScoredEntry().GetScoreCount());
    dlg.DestroyWindow();
}

// Save asks about every visited form that was answered in part.
TEST_F(ScoreCallDlgTest, SaveAsksAboutIncompleteFormsAndNoKeepsEverything) {
    struct SCase {
        const char* name;
        bool answerSalesInPart;   // on the first tab, left by Next
        bool answerServiceInPart; // on the last tab, where Save is pressed
        bool asks;
    };
    const SCase cases[] = {{"visited form incomplete", true, false, true},
                           {"current form incomplete", false, true, true},
                           {"nothing answered", false, false, false}};
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_store->Clear();
        AddSalesForm(1);
        AddServiceForm(2);
        CScoredFileListEntry entry = Recording();
        ::DeleteFileA(ScoreFileOf(entry).c_str());
        theApp.m_prompts.clear();
        theApp.m_answers = {IDNO};
        m_host.m_calls.clear();
        CScoreCallDlg dlg;
        Open(dlg, entry);
        if (c.answerSalesInPart)
            Press(dlg, IDC_SCORE_YES_FIRST + 1);
        Command(dlg, kNext);
        if (c.answerServiceInPart)
            Press(dlg, IDC_SCORE_NO_FIRST);
        Command(dlg, kSave);
        if (c.asks) {
            ASSERT_EQ(1u, theApp.m_prompts.size());
            EXPECT_EQ("One or more forms are not completed. Continue with save?",
                      theApp.m_prompts[0]);
            EXPECT_TRUE(dlg.IsWindowVisible());
            EXPECT_FALSE(FileExists(ScoreFileOf(entry)));
            EXPECT_EQ(0, HeaderImportant(entry));
            EXPECT_TRUE(m_host.m_calls.empty());
            // Yes saves the incomplete form as it is.
            theApp.m_answers = {IDYES};
            Command(dlg, kSave);
            EXPECT_TRUE(FileExists(ScoreFileOf(entry)));
            EXPECT_EQ(1u, m_host.m_calls.size());
        } else {
            // Nothing to keep: no question, no file, no mark, no scored call.
            EXPECT_TRUE(theApp.m_prompts.empty());
            EXPECT_FALSE(FileExists(ScoreFileOf(entry)));
            EXPECT_EQ(0, HeaderImportant(entry));
            EXPECT_TRUE(m_host.m_calls.empty());
        }
        EXPECT_FALSE(dlg.IsWindowVisible());
        dlg.DestroyWindow();
    }
}

// The score file comes first: when it cannot be written, nothing else happens.
TEST_F(ScoreCallDlgTest, AFailedScoreFileWriteIsReportedAndNothingIsMarked) {
    AddForm(1, "One", {{1, CQuestion::TYPE_YESNO, 100, "Solved"}});
    CScoredFileListEntry entry = Recording();
    m_store->SetFolder((m_scores.Path() + "missing folder\\").c_str());
    CScoreCallDlg dlg;
    Open(dlg, entry);
    Press(dlg, IDC_SCORE_YES_FIRST);
    theApp.m_answers = {IDOK};
    Command(dlg, kSave);
    ASSERT_EQ(1u, theApp.m_prompts.size());
    EXPECT_EQ("The scores could not be saved to the file: " + ScoreFileOf(entry),
              theApp.m_prompts[0]);
    EXPECT_TRUE(dlg.IsWindowVisible());
    EXPECT_EQ(0, HeaderImportant(entry));
    EXPECT_TRUE(m_host.m_calls.empty());
    EXPECT_EQ(0, dlg.GetScoredEntry().IsImportant());

    // Once the folder is there, the same Save goes through.
    ASSERT_TRUE(::CreateDirectoryA((m_scores.Path() + "missing folder").c_str(), nullptr));
    Command(dlg, kSave);
    EXPECT_FALSE(dlg.IsWindowVisible());
    EXPECT_TRUE(FileExists(ScoreFileOf(entry)));
    EXPECT_EQ(1, HeaderImportant(entry));
    EXPECT_EQ(1u, m_host.m_calls.size());
    dlg.DestroyWindow();
}

TEST_F(ScoreCallDlgTest, ReopeningAScoredCallShowsItsAnswersScorerAndTotal) {
    AddSalesForm(1);
    CScoredFileListEntry entry = Recording();
    {
        // Scored earlier by "jdoe": 8, Yes, N/A, No.
        CScoreFormEntry* pForm = m_store->FindForm(1);
        const LONG values[] = {8, 10, -1, 0};
        for (int i = 0; i < 4; ++i)
            pForm->SetQuestionValue(i, values[i]);
        CScoredFileListEntry earlier(entry);
        earlier.SetScore(1, "jdoe", pForm->GetTotal(TRUE), 1700000000);
        ASSERT_TRUE(earlier.SaveScores());
    }
    // A question added to the form since.
    CQuestion added(15);
    added.SetType(CQuestion::TYPE_YESNO);
    added.SetPrompt("Added later");
    m_store->FindForm(1)->AddQuestion(added);

    CScoreCallDlg dlg;
    Open(dlg, entry);
    EXPECT_EQ(8, dlg.GetAnswer(0));
    EXPECT_EQ(10, dlg.GetAnswer(1));
    EXPECT_EQ(-1, dlg.GetAnswer(2));
    EXPECT_EQ(0, dlg.GetAnswer(3));
    EXPECT_EQ(-2, dlg.GetAnswer(4));
    EXPECT_EQ(" 5. Added later", Text(dlg, IDC_SCORE_QUESTION_FIRST + 4));
    EXPECT_EQ("Total Score: 75.33", Text(dlg, IDC_SCORE_TOTAL));
    const std::string scorer = Text(dlg, IDC_SCORE_USER);
    EXPECT_EQ(0u, scorer.find("Scored by: jdoe - ")) << scorer;
    EXPECT_NE(std::string::npos, scorer.find("2023", 18)) << scorer; // 14 Nov 2023
    dlg.DestroyWindow();
}

TEST_F(ScoreCallDlgTest, CancelAfterTwoTabsLeavesTheFileScores) {
    AddSalesForm(1);
    AddServiceForm(2);
    CScoredFileListEntry entry = Recording();
    {
        CScoreFormEntry* pForm = m_store->FindForm(2);
        pForm->SetQuestionValue(0, 0);
        pForm->SetQuestionValue(1, 4);
        CScoredFileListEntry earlier(entry);
        earlier.SetScore(2, "asmith", pForm->GetTotal(TRUE), 1700000000);
        ASSERT_TRUE(earlier.SaveScores());
    }
    const std::string before = ReadWholeFile(ScoreFileOf(entry));
    CScoreCallDlg dlg;
    Open(dlg, entry);
    Press(dlg, IDC_SCORE_YES_FIRST + 1);
    Command(dlg, kNext); // Sales recorded in the dialog's copy
    Press(dlg, IDC_SCORE_YES_FIRST);
    SelectTab(dlg, 0); // Service recorded too
    EXPECT_EQ(2, dlg.GetScoredEntry().GetScoreCount());
    Command(dlg, IDCANCEL);
    EXPECT_FALSE(dlg.IsWindowVisible());
    EXPECT_EQ(before, ReadWholeFile(ScoreFileOf(entry)));
    ASSERT_EQ(1, dlg.GetScoredEntry().GetScoreCount());
    EXPECT_EQ((Answers{{21, 0}, {22, 4}}), AnswersOf(dlg.GetScoredEntry().GetScoreData(2)));
    EXPECT_EQ(0, HeaderImportant(entry));
    EXPECT_TRUE(m_host.m_calls.empty());
    dlg.DestroyWindow();
}

TEST_F(ScoreCallDlgTest, WithoutFormsOrRecordingTheDialogEndsAtOnce) {
    CScoredFileListEntry entry = Recording();
    struct SCase {
        const char* name;
        bool form;
        bool recording;
    };
    for (const SCase& c : {SCase{"no forms", false, true}, SCase{"no recording", true, false}}) {
        SCOPED_TRACE(c.name);
        m_store->Clear();
        m_store->Load(m_scores.File("no-forms-here.xml").c_str());
        if (c.form)
            AddSalesForm();
        theApp.m_prompts.clear();
        CScoreCallDlg dlg(&m_host);
        if (c.recording)
            dlg.SetRecording(&entry);
        CUiScript script([] { ::PostMessageA(FindThreadDialog(), WM_CLOSE, 0, 0); }, {});
        EXPECT_EQ(-1, dlg.DoModal());
        ASSERT_EQ(1u, theApp.m_prompts.size());
        EXPECT_EQ("Please add the Score form at first and try again.", theApp.m_prompts[0]);
    }
}

// The dialog run modally, as the call list runs it: the user's Save ends it.
TEST_F(ScoreCallDlgTest, ModalSaveEndsWithOkScreen) {
    AddSalesForm(1);
    AddServiceForm(2);
    CScoredFileListEntry entry = Recording();
    CScoreCallDlg dlg(&m_host);
    dlg.SetRecording(&entry);
    HWND hDlg = nullptr;
    CUiScript script([&] { ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0); },
                     {[&] {
                          hDlg = FindThreadDialog(m_host.m_hWnd);
                          return hDlg != nullptr && ::IsWindowVisible(hDlg);
                      },
                      [&] {
                          ::SendDlgItemMessageA(hDlg, IDC_SCORE_YES_FIRST + 1, BM_CLICK, 0, 0);
                          ::SendDlgItemMessageA(hDlg, IDC_SCORE_NA_FIRST + 2, BM_CLICK, 0, 0);
                          ::SendDlgItemMessageA(hDlg, IDC_SCORE_YES_FIRST + 3, BM_CLICK, 0, 0);
                          ::SendDlgItemMessageA(hDlg, IDC_SCORE_NA_FIRST, BM_CLICK, 0, 0);
                          Settle(300);
                          CRect rect;
                          ::GetWindowRect(hDlg, &rect);
                          rect.InflateRect(0, 0, 8, 8);
                          SaveScreenPng(rect, "ScoreCallDlg-modal.png");
                          ::PostMessageA(hDlg, WM_COMMAND, IDC_SCORE_SAVE, 0);
                          return true;
                      }});
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(script.Finished());
    for (const std::string& prompt : theApp.m_prompts)
        ADD_FAILURE() << prompt;
    ASSERT_EQ(1u, m_host.m_calls.size());
    CScoredFileListEntry saved;
    saved.SetPath(entry.GetPath());
    saved.LoadScores(TRUE);
    ASSERT_NE(nullptr, saved.FindScore(1));
    EXPECT_DOUBLE_EQ(100.0, saved.FindScore(1)->Value);
    EXPECT_EQ(nullptr, saved.FindScore(2));
}

} // namespace
