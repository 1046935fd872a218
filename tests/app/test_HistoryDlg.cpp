// Tests of the player's "History" dialog: one line per played call ("<base
// name>.zel"), Play and Remove following the selection, removing and
// clearing lines together with their paths, the results of Close, Escape and
// Play, and Play handing the call to the player form, which plays it (the
// sound is captured) or, when the file has gone, tells the user and plays
// nothing. Each test runs the dialog modally, driven by a script from a timer,
// over a frame with a real player form; one keeps a screenshot
// (history-dialog.png).
#include "native/gtest.h"

#include "CallHistory.h"
#include "HistoryDlg.h"
#include "PlayerForm.h"
#include "ScoredFileListEntry.h"
#include "resource.h"
#include "tests/app/ListTestRecordings.h"

#include "Common/KWRecordFile.h"
#include "Common/KWSysUtils.h"
#include "Common/PlaybackManager.h"

#include "framework/FrameWnd.h"

#include "tests/support/AnsweringApp.h"
#include "tests/support/AudioCapture.h"
#include "tests/support/Canvas.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/UiScript.h"

#include <functional>
#include <string>
#include <vector>

namespace {

CAnsweringApp theApp;

// The dialog with its list in view.
class CHistoryDlgProbe : public CHistoryDlg {
public:
    using CHistoryDlg::CHistoryDlg;
    CListBox& List() { return m_list; }
    bool Enabled(UINT nID) { return GetDlgItem(nID)->IsWindowEnabled() != FALSE; }
    // "Play Remove Clear" as the enabled ones stand, "-" for a disabled one.
    std::string Buttons() {
        return std::string(Enabled(IDC_PLAY) ? "P" : "-") + (Enabled(IDC_REMOVE) ? "R" : "-") +
               (Enabled(IDC_HISTORY_CLEAR) ? "C" : "-");
    }
    std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        for (int i = 0; i < m_list.GetCount(); ++i) {
            CString text;
            m_list.GetText(i, text);
            lines.push_back(static_cast<const char*>(text));
        }
        return lines;
    }
    // Selects the lines as a user would, the list telling the dialog.
    void Select(const std::vector<int>& lines) {
        m_list.SelItemRange(FALSE, 0, m_list.GetCount() - 1);
        for (int line : lines)
            m_list.SetSel(line, TRUE);
        if (!lines.empty())
            m_list.SetCaretIndex(lines.back());
        SendMessage(WM_COMMAND, MAKEWPARAM(IDC_HISTORY_LIST, LBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(m_list.m_hWnd));
    }
    void Press(UINT nID) { GetDlgItem(nID)->SendMessage(BM_CLICK); }
};

CKWArray<CKWString> PathArray(const std::vector<std::string>& paths) {
    CKWArray<CKWString> array(0, 10);
    for (const std::string& path : paths)
        array.Add(path.c_str());
    return array;
}

std::vector<std::string> PathVector(const CKWArray<CKWString>& array) {
    std::vector<std::string> paths;
    for (int i = 0; i < array.GetSize(); ++i)
        paths.push_back(static_cast<const char*>(array.GetAt(i)));
    return paths;
}

// Whether the device played the call from its first sample on (a part of it:
// the test stops it). The device plays silence whenever it has no samples, as
// when a busy machine lets the engine fall behind it: zero samples that the
// call does not hold there are passed over.
::testing::AssertionResult PlayedFromStart(const std::vector<int16_t>& played,
                                           const int16_t* pDecoded, int32_t nDecoded) {
    int32_t nMatched = 0;
    for (size_t i = 0; i < played.size(); ++i) {
        if (nMatched < nDecoded && played[i] == pDecoded[nMatched])
            ++nMatched;
        else if (played[i] != 0)
            return ::testing::AssertionFailure() << "after " << nMatched << " of " << nDecoded
                                                 << " samples the device played " << played[i];
    }
    if (nMatched == 0)
        return ::testing::AssertionFailure() << "nothing of the call was played";
    return ::testing::AssertionSuccess();
}

class HistoryDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int s_nTest = 0;
        m_company = "ZmHistoryDlgTest-" + std::to_string(::GetCurrentProcessId()) + "-" +
                    std::to_string(++s_nTest);
        CKWSysUtils::GetInstance()->SetNames(m_company.c_str(), "Zel Moxel");
        theApp.m_prompts.clear();
        theApp.m_answers.clear();
        m_pFrame = new CFrameWnd;
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CPlayerForm);
        ASSERT_TRUE(m_pFrame->Create(nullptr, "Player", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     CRect(20, 20, 620, 360), nullptr, nullptr, 0, &context));
        m_hFrame = m_pFrame->m_hWnd;
        m_pFrame->InitialUpdateFrame(nullptr, TRUE);
        m_pPlayer = DYNAMIC_DOWNCAST(CPlayerForm, m_pFrame->GetDlgItem(AFX_IDW_PANE_FIRST));
        ASSERT_NE(nullptr, m_pPlayer);
        theApp.m_pMainWnd = m_pFrame;
    }
    void TearDown() override {
        CPlaybackManager::GetInstance()->Start(FALSE, TRUE);
        CPlaybackManager::GetInstance()->Unload();
        theApp.m_pMainWnd = nullptr;
        if (::IsWindow(m_hFrame))
            m_pFrame->DestroyWindow();
        MSG msg;
        ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        CCallHistory::DeleteInstance();
        std::string config(CKWSysUtils::GetInstance()->GetConfigurationFolder(true));
        RemoveFolderTree(config.substr(0, config.find(m_company) + m_company.size()));
    }

    // Runs the dialog over the paths; atOpen sees it once it is shown and
    // ends it (a stalled script presses Cancel).
    INT_PTR Run(CHistoryDlgProbe& dlg, const std::vector<std::string>& paths,
                const std::function<void(CHistoryDlgProbe&)>& atOpen) {
        dlg.SetHistoryList(PathArray(paths));
        bool bSeen = false;
        CUiScript script(
            [&] {
                if (dlg.m_hWnd != nullptr)
                    dlg.PostMessage(WM_COMMAND, IDCANCEL);
            },
            {[&] {
                 if (dlg.m_hWnd == nullptr || !dlg.IsWindowVisible())
                     return false;
                 Settle(150);
                 bSeen = true;
                 atOpen(dlg);
                 return true;
             },
             // A dialog that atOpen left open is cancelled as stalled.
             [&] { return dlg.m_hWnd == nullptr; }});
        const INT_PTR nResult = dlg.DoModal();
        EXPECT_TRUE(bSeen);
        EXPECT_FALSE(script.Stalled());
        return nResult;
    }

    std::string m_company;
    CTempFolder m_folder;
    CFrameWnd* m_pFrame = nullptr; // deletes itself with its window
    HWND m_hFrame = nullptr;
    CPlayerForm* m_pPlayer = nullptr;
};

const std::vector<std::string> kSixPaths = {
    "C:\\Calls\\1001-20240105-091500.zel",
    "C:\\Calls\\Sales\\1002-20240105-093000.zel",
    "D:\\old.calls\\a.b.zel",
    "\\\\server\\share\\1003-20240106.wav",
    "C:\\Calls\\noextension",
    "relative\\1004-20240107.zel",
};

TEST_F(HistoryDlgTest, ShowsEachCallByItsBaseNameOnWhiteScreen) {
    CHistoryDlgProbe dlg(m_pFrame, m_pPlayer);
    std::vector<std::string> lines;
    std::string buttons;
    COLORREF crBackground = CLR_INVALID;
    EXPECT_EQ(Run(dlg, kSixPaths,
                  [&](CHistoryDlgProbe& d) {
                      lines = d.Lines();
                      buttons = d.Buttons();
                      CRect rcWindow;
                      d.GetWindowRect(&rcWindow);
                      EXPECT_TRUE(SaveScreenPng(rcWindow, "history-dialog.png"));
                      // Between the list and the buttons the dialog is white.
                      CRect rcClose;
                      d.GetDlgItem(IDOK)->GetWindowRect(&rcClose);
                      CCanvas canvas(1, 1);
                      CaptureScreen(canvas, CRect(rcClose.left - 6, rcClose.bottom + 10,
                                                  rcClose.left - 5, rcClose.bottom + 11));
                      crBackground = canvas.dc.GetPixel(0, 0);
                      d.Press(IDOK);
                  }),
              IDOK);
    EXPECT_EQ(
        (std::vector<std::string>{"1001-20240105-091500.zel", "1002-20240105-093000.zel", "a.b.zel",
                                  "1003-20240106.zel", "noextension.zel", "1004-20240107.zel"}),
        lines);
    EXPECT_EQ("--C", buttons);
    EXPECT_EQ(RGB(255, 255, 255), crBackground);

    CHistoryDlgProbe empty(m_pFrame, m_pPlayer);
    EXPECT_EQ(Run(empty, {},
                  [&](CHistoryDlgProbe& d) {
                      lines = d.Lines();
                      buttons = d.Buttons();
                      d.Press(IDOK);
                  }),
              IDOK);
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ("---", buttons);
}

TEST_F(HistoryDlgTest, PlayNeedsOneSelectedLineAndRemoveAny) {
    const struct {
        std::vector<int> selected;
        const char* buttons;
    } cases[] = {
        {{}, "--C"}, {{3}, "PRC"}, {{0, 5}, "-RC"}, {{1, 2, 3}, "-RC"}, {{5}, "PRC"},
    };
    CHistoryDlgProbe dlg(m_pFrame, m_pPlayer);
    std::vector<std::string> seen;
    EXPECT_EQ(Run(dlg, kSixPaths,
                  [&](CHistoryDlgProbe& d) {
                      for (const auto& c : cases) {
                          d.Select(c.selected);
                          seen.push_back(d.Buttons());
                      }
                      // A double-click with two lines selected plays nothing.
                      d.Select({1, 2});
                      d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_HISTORY_LIST, LBN_DBLCLK),
                                    reinterpret_cast<LPARAM>(d.List().m_hWnd));
                      seen.push_back(d.IsWindowVisible() ? "open" : "closed");
                      d.Press(IDOK);
                  }),
              IDOK);
    std::vector<std::string> expected;
    for (const auto& c : cases)
        expected.push_back(c.buttons);
    expected.push_back("open");
    EXPECT_EQ(expected, seen);
    EXPECT_FALSE(CPlaybackManager::GetInstance()->IsLoaded());
}

TEST_F(HistoryDlgTest, RemoveTakesTheSelectedLinesWithTheirPaths) {
    CHistoryDlgProbe dlg(m_pFrame, m_pPlayer);
    std::vector<std::string> lines;
    std::string afterTwo, afterAll;
    EXPECT_EQ(Run(dlg, kSixPaths,
                  [&](CHistoryDlgProbe& d) {
                      d.Select({2, 4});
                      d.Press(IDC_REMOVE);
                      lines = d.Lines();
                      afterTwo = d.Buttons();
                      d.Select({0, 1, 2, 3});
                      d.Press(IDC_REMOVE);
                      afterAll = d.Buttons();
                      d.Press(IDOK);
                  }),
              IDOK);
    EXPECT_EQ((std::vector<std::string>{"1001-20240105-091500.zel", "1002-20240105-093000.zel",
                                        "1003-20240106.zel", "1004-20240107.zel"}),
              lines);
    // Nothing is selected once the lines have gone.
    EXPECT_EQ("--C", afterTwo);
    EXPECT_EQ("---", afterAll);
    CKWArray<CKWString> left(0, 10);
    dlg.GetHistoryList(left);
    EXPECT_TRUE(PathVector(left).empty());
}

TEST_F(HistoryDlgTest, TheListAsEditedComesBackWhicheverWayTheDialogEnds) {
    const struct {
        const char* name;
        std::function<void(CHistoryDlgProbe&)> end;
        INT_PTR result;
    } cases[] = {
        {"Close", [](CHistoryDlgProbe& d) { d.Press(IDOK); }, IDOK},
        // Escape reaches the dialog as a user's key would: through its loop.
        {"Escape",
         [](CHistoryDlgProbe& d) { d.List().PostMessage(WM_KEYDOWN, VK_ESCAPE, 0x00010001); },
         IDCANCEL},
        {"the window's close box", [](CHistoryDlgProbe& d) { d.PostMessage(WM_CLOSE); }, IDCANCEL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CHistoryDlgProbe dlg(m_pFrame, m_pPlayer);
        EXPECT_EQ(Run(dlg, kSixPaths,
                      [&](CHistoryDlgProbe& d) {
                          d.Select({1, 3});
                          d.Press(IDC_REMOVE);
                          c.end(d);
                      }),
                  c.result);
        CKWArray<CKWString> paths(0, 10);
        dlg.GetHistoryList(paths);
        // The player takes the list back only after OK.
        EXPECT_EQ(
            (std::vector<std::string>{kSixPaths[0], kSixPaths[2], kSixPaths[4], kSixPaths[5]}),
            PathVector(paths));
    }

    CHistoryDlgProbe cleared(m_pFrame, m_pPlayer);
    std::string buttons;
    EXPECT_EQ(Run(cleared, kSixPaths,
                  [&](CHistoryDlgProbe& d) {
                      d.Select({2});
                      d.Press(IDC_HISTORY_CLEAR);
                      buttons = d.Buttons();
                      EXPECT_EQ(0, d.List().GetCount());
                      d.Press(IDOK);
                  }),
              IDOK);
    EXPECT_EQ("---", buttons);
    CKWArray<CKWString> none(0, 10);
    cleared.GetHistoryList(none);
    EXPECT_EQ(0, none.GetSize());
}

TEST_F(HistoryDlgTest, PlayHandsTheCallToThePlayerWhichPlaysIt) {
    CAudioCapture capture;
    SListRecording rec;
    rec.name = "1001-20240105-091500.zel";
    rec.duration = 2;
    const std::string played = WriteListRecording(m_folder.Path(), rec);
    rec.name = "1002-20240105-093000.zel";
    const std::string other = WriteListRecording(m_folder.Path(), rec);
    ASSERT_FALSE(played.empty());
    ASSERT_FALSE(other.empty());

    const struct {
        const char* name;
        std::function<void(CHistoryDlgProbe&)> play;
    } cases[] = {
        {"the Play button", [](CHistoryDlgProbe& d) { d.Press(IDC_PLAY); }},
        {"a double-click",
         [](CHistoryDlgProbe& d) {
             d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_HISTORY_LIST, LBN_DBLCLK),
                           reinterpret_cast<LPARAM>(d.List().m_hWnd));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CPlaybackManager::GetInstance()->Unload();
        CCallHistory::GetInstance()->Clear();
        CHistoryDlgProbe dlg(m_pFrame, m_pPlayer);
        EXPECT_EQ(Run(dlg, {other, played},
                      [&](CHistoryDlgProbe& d) {
                          d.Select({1});
                          c.play(d);
                      }),
                  IDOK);
        CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
        ASSERT_TRUE(pEngine->IsLoaded());
        EXPECT_STREQ(played.c_str(), pEngine->GetRecordFile()->GetPath());
        EXPECT_TRUE(pEngine->IsPlaying());
        // The play is the store's too.
        ASSERT_EQ(1, CCallHistory::GetInstance()->GetCount());
        EXPECT_STREQ(played.c_str(), CCallHistory::GetInstance()->GetAt(0)->GetPath());
        pEngine->Start(FALSE, TRUE);
    }
    EXPECT_TRUE(theApp.m_prompts.empty());

    // What reached the sound device is the call from its start.
    const int16_t* pDecoded = nullptr;
    const int32_t nDecoded =
        CPlaybackManager::GetInstance()->GetRecordFile()->GetSamples(0, 2 * 8000, &pDecoded);
    const std::vector<std::vector<int16_t>> openings = capture.Openings();
    ASSERT_EQ(2u, openings.size());
    for (const std::vector<int16_t>& opening : openings)
        EXPECT_TRUE(PlayedFromStart(opening, pDecoded, nDecoded));
}

TEST_F(HistoryDlgTest, ACallWhoseFileHasGoneIsNotPlayedAndTheUserIsTold) {
    const std::string gone = m_folder.File("1001-20240105-091500.zel");
    CHistoryDlgProbe dlg(m_pFrame, m_pPlayer);
    EXPECT_EQ(Run(dlg, {gone},
                  [&](CHistoryDlgProbe& d) {
                      d.Select({0});
                      d.Press(IDC_PLAY);
                  }),
              IDOK);
    EXPECT_FALSE(CPlaybackManager::GetInstance()->IsLoaded());
    EXPECT_FALSE(CPlaybackManager::GetInstance()->IsPlaying());
    EXPECT_EQ(0, CCallHistory::GetInstance()->GetCount());
    ASSERT_EQ(1u, theApp.m_prompts.size());
    EXPECT_NE(std::string::npos, theApp.m_prompts[0].find(gone)) << theApp.m_prompts[0];
}

TEST_F(HistoryDlgTest, ADoubleClickOnALinePlaysItInput) {
    SListRecording rec;
    rec.name = "1003-20240106-120000.zel";
    const std::string path = WriteListRecording(m_folder.Path(), rec);
    ASSERT_FALSE(path.empty());
    CAudioCapture capture;
    CHistoryDlgProbe dlg(m_pFrame, m_pPlayer);
    EXPECT_EQ(Run(dlg, {kSixPaths[0], path},
                  [&](CHistoryDlgProbe& d) {
                      CRect rcLine;
                      d.List().GetItemRect(1, &rcLine);
                      d.List().ClientToScreen(&rcLine);
                      SendMouseMove(rcLine.CenterPoint());
                      SendLeftClick();
                      SendLeftClick();
                      // The dialog ends in its own loop once the clicks arrive.
                  }),
              IDOK);
    EXPECT_STREQ(path.c_str(), CPlaybackManager::GetInstance()->GetRecordFile()->GetPath());
    EXPECT_TRUE(CPlaybackManager::GetInstance()->IsPlaying());
}

} // namespace
