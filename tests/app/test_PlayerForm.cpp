// Tests of CPlayerForm in the Player Panel of a frame docked as the program
// docks it: the display of a loaded call, playing captured through the ALSA
// file device and compared with the decoded samples, the timer's stop at the
// end, the steps, the bookmark marks written into the file with the message
// the frame gets, the Ctrl+B cycle, marking important, eject, the checked
// load, drops, the File menu, mail, delete, Calls for Review and History.
// The player is kept as player-empty.png, player-loaded.png and
// player-playing.png in the working folder.
#include "native/gtest.h"

#include "tests/app/PlayerFrameFixture.h"

#include "CallHistory.h"
#include "HotLists.h"
#include "OutputScope.h"
#include "PlayerRes.h"

#include "Common/KWFileListEntry.h"
#include "Common/Settings.h"
#include "framework/Ole.h"
#include "framework/OleData.h"

#include "tests/app/DropBlock.h"
#include "tests/app/SmallDialogsTestKit.h"
#include "tests/support/AudioCapture.h"
#include "tests/support/Canvas.h"
#include "tests/support/RecordFileHelpers.h"
#include "tests/support/SampleRecordings.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UiScript.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace {

CPlayerTestApp theApp;

const int32_t kSecond = 8000;

// The thirteen buttons, in the form's order.
const int kAllButtons[] = {
    IDC_BACK30,    IDC_BACK10,           IDC_PLAY,           IDC_PAUSE,        IDC_STOP,
    IDC_FORWARD10, IDC_FORWARD30,        IDC_BOOKMARK_START, IDC_BOOKMARK_END, IDC_BOOKMARK_CLEAR,
    IDC_FILE_MENU, IDC_CALLS_FOR_REVIEW, IDC_HISTORY};

class PlayerFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(theApp.SetCurrentSkin("Office 2003"));
        static LONG counter = 0;
        m_company = "PlayerFormTest-" + std::to_string(::GetCurrentProcessId()) + "-" +
                    std::to_string(InterlockedIncrement(&counter));
        CSettings::SetFolderNamesOverride(m_company.c_str(), "Zel Moxel", "Zel Config");
        CSettings::DeleteInstance();
        CHotLists::GetInstance()->Load();
        theApp.m_prompts.clear();
        theApp.m_answers.clear();
        m_historyAtStart = CCallHistory::GetInstance()->GetCount();
        m_pFrame = new CPlayerTestFrame;
        ASSERT_TRUE(m_pFrame->Make(CRect(0, 0, 900, 600)));
        m_hFrame = m_pFrame->GetSafeHwnd();
        m_pForm = m_pFrame->GetForm();
        ASSERT_NE(nullptr, m_pForm);
        Settle(200);
    }
    void TearDown() override {
        CPlaybackManager::GetInstance()->Unload();
        if (::GetCapture() != nullptr)
            ::ReleaseCapture();
        if (::IsWindow(m_hFrame))
            m_pFrame->DestroyWindow();
        AfxGetApp()->m_pMainWnd = nullptr;
        CPlaybackManager::GetInstance()->SetNotifyWindow(nullptr);
        CCallHistory::GetInstance()->Clear();
        delete CHotLists::GetInstance();
        CSettings::DeleteInstance();
        CSettings::SetFolderNamesOverride(nullptr, nullptr, nullptr);
        RemoveFolderTree(CSettings::GetConfigFilePath(TRUE, "").GetString());
    }

    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = m_folder.File(name);
        EXPECT_TRUE(WriteWholeFile(path, bytes));
        return path;
    }

    // ---- The form's controls as the user sees them.
    CWnd* Item(int id) { return m_pForm->GetDlgItem(id); }
    bool Shown(int id) { return (Item(id)->GetStyle() & WS_VISIBLE) != 0; }
    bool Enabled(int id) { return Item(id)->IsWindowEnabled() != FALSE; }
    std::string Text(int id) {
        CString text;
        m_pForm->GetDlgItemText(id, text);
        return text.GetString();
    }
    // Whether the status icon shows its picture (not the empty one).
    bool IconOn(int id, UINT nIcon) {
        const HICON hShown =
            reinterpret_cast<HICON>(m_pForm->SendDlgItemMessage(id, STM_GETICON, 0, 0));
        const HICON hOn = static_cast<HICON>(::LoadImageA(
            AfxGetResourceHandle(), MAKEINTRESOURCEA(nIcon), IMAGE_ICON, 16, 16, LR_SHARED));
        const HICON hOff = static_cast<HICON>(::LoadImageA(AfxGetResourceHandle(),
                                                           MAKEINTRESOURCEA(IDI_STATUS_OFF),
                                                           IMAGE_ICON, 16, 16, LR_SHARED));
        EXPECT_TRUE(hShown == hOn || hShown == hOff) << "icon " << id;
        return hShown == hOn;
    }
    COutputScope* Scope() {
        return dynamic_cast<COutputScope*>(CWnd::FromHandlePermanent(Item(IDC_SCOPE)->m_hWnd));
    }
    void Click(int id) {
        m_pForm->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                             reinterpret_cast<LPARAM>(Item(id)->m_hWnd));
    }
    void Command(UINT id) { m_pForm->SendMessage(WM_COMMAND, id, 0); }

    CPlaybackManager* Engine() { return CPlaybackManager::GetInstance(); }
    int PlaysRecorded() { return CCallHistory::GetInstance()->GetCount() - m_historyAtStart; }
    std::vector<SPosted> Posted(UINT message) {
        PumpPending();
        return m_pFrame->Received(message);
    }

    // The engine's decoded samples from first on.
    std::vector<int16_t> Decoded(int32_t first = 0) {
        CKWRecordFile* pRecord = Engine()->GetRecordFile();
        const int16_t* samples = nullptr;
        const int32_t count = pRecord->GetSamples(first, pRecord->GetSampleCount(), &samples);
        return std::vector<int16_t>(samples, samples + count);
    }
    // How many samples of the recording from first on one opening of the
    // device played in order; the device plays silence whenever it has
    // nothing, so zeros the recording does not hold are passed over. Fails
    // on any other sample.
    ::testing::AssertionResult PlayedFrom(const std::vector<int16_t>& played, int32_t first,
                                          size_t* pMatched) {
        const std::vector<int16_t> expected = Decoded(first);
        size_t matched = 0;
        for (size_t i = 0; i < played.size(); ++i) {
            if (matched < expected.size() && played[i] == expected[matched])
                ++matched;
            else if (played[i] != 0)
                return ::testing::AssertionFailure()
                       << "after " << matched << " samples from " << first << ", the device played "
                       << played[i] << " in place of sample " << first + matched;
        }
        *pMatched = matched;
        if (matched == 0)
            return ::testing::AssertionFailure() << "nothing from " << first << " was played";
        return ::testing::AssertionSuccess();
    }
    bool PumpUntilStopped() {
        return PumpUntil([&] { return !Engine()->IsPlaying() && !Engine()->IsPaused(); });
    }

    // The header as a fresh reader finds it in the file.
    bool StoredBookmark(const std::string& path, int* pStart, int* pEnd) {
        CKWRecordFile file;
        if (!file.Load(path.c_str(), ""))
            return false;
        return file.GetBookmark(pStart, pEnd);
    }
    bool StoredImportant(const std::string& path) {
        CKWFileListEntry entry;
        entry.SetPath(path.c_str());
        EXPECT_TRUE(entry.LoadHeader(""));
        return entry.IsImportant() != FALSE;
    }

    // Runs a modal loop that cmd opens; atOpen gets the dialog (or menu)
    // window once it is up and ends it.
    void RunModal(const std::function<void()>& cmd, const std::function<HWND()>& find,
                  const std::function<void(HWND)>& atOpen) {
        bool bSeen = false;
        CUiScript script([&] { ::EndMenu(); }, {[&] {
                             HWND hWnd = find();
                             if (hWnd == nullptr || !::IsWindowVisible(hWnd))
                                 return false;
                             Settle(100);
                             bSeen = true;
                             atOpen(hWnd);
                             return true;
                         }});
        cmd();
        EXPECT_TRUE(bSeen);
        EXPECT_FALSE(script.Stalled());
    }

    CAudioCapture m_capture; // first: before any opening of the device
    CTempFolder m_folder;
    std::string m_company;
    int m_historyAtStart = 0;
    CPlayerTestFrame* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
    CPlayerForm* m_pForm = nullptr;
};

// ---------------------------------------------------------------------------
// The display.

TEST_F(PlayerFormTest, ScreenAnEmptyPlayerHasEveryButtonDisabled) {
    for (int id : kAllButtons)
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Shown(IDC_PLAY));
    EXPECT_FALSE(Shown(IDC_PAUSE));
    EXPECT_TRUE(Shown(IDC_BOOKMARK_START));
    EXPECT_FALSE(Shown(IDC_BOOKMARK_END));
    EXPECT_FALSE(Shown(IDC_BOOKMARK_CLEAR));
    EXPECT_EQ("", Text(IDC_TITLE));
    EXPECT_EQ("", Text(IDC_POSITION));
    CRect rcBar;
    m_pFrame->m_bar.GetWindowRect(&rcBar);
    EXPECT_TRUE(SaveScreenPng(rcBar, "player-empty.png"));
}

TEST_F(PlayerFormTest, ShowsTheLoadedCallWithItsMarks) {
    const std::string passphrase = "secret";
    CSettings::GetInstance()->SetPassphrase(passphrase.c_str());
    const std::string check = LowercaseCheckString(passphrase);
    RecordingFields plainFields;
    RecordingFields markedFields;
    markedFields.important = 1;
    markedFields.comment = BookmarkComment(2, 4, "Call back");
    RecordingFields blankComment;
    blankComment.comment = "   ";
    RecordingFields lockedFields;
    lockedFields.format = 7;
    lockedFields.duration = 5;
    const std::string lockedAudio = EncodeMuLaw(MakeTestSignal(5 * kSecond));
    struct Case {
        const char* name;
        std::string bytes;
        bool important, bookmark, comment, encrypted;
    };
    const Case cases[] = {
        {"1001-plain.zel", MakeZel(5, plainFields), false, false, false, false},
        {"1002-marked.zel", MakeZel(5, markedFields), true, true, true, false},
        {"1003-blank.zel", MakeZel(5, blankComment), false, false, false, false},
        {"1004-locked.zel",
         MakeHeaderV5(lockedFields, check, 0) + EncryptLikeRecorder(lockedAudio, check, 0), false,
         false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Write(c.name, c.bytes);
        ASSERT_TRUE(m_pForm->LoadAndShow(path.c_str(), false));
        CKWFileListEntry entry;
        entry.SetPath(path.c_str());
        entry.LoadHeader(passphrase.c_str());
        std::string base = c.name;
        base = base.substr(0, base.size() - 4);
        EXPECT_EQ("File - " + base + ".zel", Text(IDC_TITLE));
        EXPECT_EQ(entry.GetDateTimeText(), Text(IDC_DATE));
        EXPECT_EQ("00:00:05", Text(IDC_DURATION));
        EXPECT_EQ("00:00:00", Text(IDC_POSITION));
        EXPECT_EQ(c.important, IconOn(IDC_ICON_IMPORTANT, IDI_STATUS_IMPORTANT));
        EXPECT_EQ(c.bookmark, IconOn(IDC_ICON_BOOKMARK, IDI_STATUS_BOOKMARK));
        EXPECT_EQ(c.comment, IconOn(IDC_ICON_COMMENT, IDI_STATUS_COMMENT));
        EXPECT_EQ(c.encrypted, IconOn(IDC_ICON_ENCRYPTED, IDI_STATUS_ENCRYPTED));
        // Loaded and stopped: Play shown, Stop disabled, the rest enabled.
        for (int id : kAllButtons)
            EXPECT_EQ(id != IDC_STOP, Enabled(id)) << id;
        EXPECT_TRUE(Shown(IDC_PLAY));
        EXPECT_FALSE(Shown(IDC_PAUSE));
        EXPECT_EQ(!c.bookmark, Shown(IDC_BOOKMARK_START));
        EXPECT_EQ(c.bookmark, Shown(IDC_BOOKMARK_CLEAR));
        EXPECT_FALSE(Shown(IDC_BOOKMARK_END));
        EXPECT_EQ(5 * kSecond, Scope()->GetLength());
        EXPECT_EQ(0, Scope()->GetPosition());
        EXPECT_EQ(c.bookmark ? 2 * kSecond : -1, Scope()->GetSelectionStart());
        EXPECT_EQ(c.bookmark ? 4 * kSecond : -1, Scope()->GetSelectionEnd());
    }
    EXPECT_TRUE(theApp.m_prompts.empty());
}

// ---------------------------------------------------------------------------
// Playing.

TEST_F(PlayerFormTest, PlayIsHeardAsDecodedAndTheTimerStopsAtTheEnd) {
    const std::string path = Write("2001-play.zel", MakeZel(3, RecordingFields(), 11));
    ASSERT_TRUE(m_pForm->LoadAndShow(path.c_str(), false));
    Click(IDC_PLAY);
    EXPECT_TRUE(Engine()->IsPlaying());
    EXPECT_TRUE(Shown(IDC_PAUSE));
    EXPECT_FALSE(Shown(IDC_PLAY));
    EXPECT_TRUE(Enabled(IDC_STOP));
    EXPECT_EQ(1, PlaysRecorded());
    EXPECT_EQ(1, m_pForm->GetPlayedCount());
    const std::vector<SPosted> played = Posted(WM_RECORDING_CHANGED);
    ASSERT_EQ(1u, played.size());
    EXPECT_EQ(WPARAM(3), played[0].wParam);
    EXPECT_EQ(path, played[0].path);

    // The tick whose position reads "00:00:03" ends the play and rewinds.
    ASSERT_TRUE(PumpUntilStopped());
    EXPECT_EQ(0, Engine()->GetPosition());
    EXPECT_TRUE(Shown(IDC_PLAY));
    EXPECT_FALSE(Shown(IDC_PAUSE));
    EXPECT_FALSE(Enabled(IDC_STOP));
    Settle(300);
    EXPECT_EQ("00:00:00", Text(IDC_POSITION));

    const std::vector<std::vector<int16_t>> openings = m_capture.Openings();
    ASSERT_EQ(1u, openings.size());
    size_t matched = 0;
    EXPECT_TRUE(PlayedFrom(openings[0], 0, &matched));
    // The stop may drop what Wine had not yet handed on; nearly all of it
    // was played.
    EXPECT_GE(matched, size_t(2 * kSecond));
}

// The timer compares the position text with the header's duration text: a
// call whose header says 2 seconds stops there though its audio runs on.
TEST_F(PlayerFormTest, TheTimerStopsAtTheHeadersDuration) {
    RecordingFields fields;
    std::string bytes = MakeZel(20, fields, 5);
    fields.format = 7;
    fields.duration = 2;
    bytes = MakeHeaderV2to4(4, 1440, fields) + bytes.substr(1440);
    const std::string path = Write("2002-short-header.zel", bytes);
    ASSERT_TRUE(m_pForm->LoadAndShow(path.c_str(), true));
    EXPECT_EQ("00:00:02", Text(IDC_DURATION));
    ASSERT_TRUE(PumpUntilStopped());
    const std::vector<std::vector<int16_t>> openings = m_capture.Openings();
    ASSERT_EQ(1u, openings.size());
    size_t matched = 0;
    EXPECT_TRUE(PlayedFrom(openings[0], 0, &matched));
    EXPECT_GE(matched, size_t(kSecond));
    EXPECT_LT(matched, size_t(12 * kSecond));
}

TEST_F(PlayerFormTest, PlayPauseFollowsTheEngineAfterAStartFromElsewhere) {
    const std::string path = Write("2003-outside.zel", MakeZel(20));
    // As the trees and the history dialog do: load, show, start, then Play.
    ASSERT_TRUE(Engine()->Load(path.c_str()));
    m_pForm->UpdateFromPlayback();
    Engine()->Start(TRUE, FALSE);
    m_pForm->Play();
    EXPECT_TRUE(Shown(IDC_PAUSE));
    EXPECT_FALSE(Shown(IDC_PLAY));
    EXPECT_TRUE(Enabled(IDC_STOP));
    EXPECT_EQ(1, PlaysRecorded());

    // Ctrl+Space pauses, and again resumes.
    Command(ID_PLAYER_PAUSE_RESUME);
    EXPECT_TRUE(Engine()->IsPaused());
    EXPECT_TRUE(Shown(IDC_PLAY));
    EXPECT_FALSE(Shown(IDC_PAUSE));
    EXPECT_TRUE(Enabled(IDC_STOP));
    Command(ID_PLAYER_PAUSE_RESUME);
    EXPECT_TRUE(Engine()->IsPlaying());
    EXPECT_TRUE(Shown(IDC_PAUSE));
    EXPECT_EQ(2, PlaysRecorded());

    // The Pause button pauses; Stop rewinds.
    Click(IDC_PAUSE);
    EXPECT_TRUE(Engine()->IsPaused());
    EXPECT_TRUE(Shown(IDC_PLAY));
    Click(IDC_STOP);
    EXPECT_FALSE(Engine()->IsPaused());
    EXPECT_EQ(0, Engine()->GetPosition());
    EXPECT_FALSE(Enabled(IDC_STOP));
    EXPECT_EQ(1, m_pForm->GetPlayedCount());
}

struct StepCase {
    const char* name;
    int32_t start;
    bool paused;
    int button;
    int32_t position; // afterwards
    bool pausedAfter;
};

TEST_F(PlayerFormTest, StepsSeekOrStopAtTheEnds) {
    const std::string path = Write("2004-steps.zel", MakeZel(20)); // 160,000 samples
    const StepCase cases[] = {
        {"back 10 s at 5 s stops and rewinds", 5 * kSecond, true, IDC_BACK10, 0, false},
        {"back 10 s at 12 s", 12 * kSecond, true, IDC_BACK10, 2 * kSecond, true},
        {"back 30 s at 29.9 s... of 20: at 20 s stops", 20 * kSecond, true, IDC_BACK30, 0, false},
        {"forward 30 s with 20 s left stops and rewinds", 0, true, IDC_FORWARD30, 0, false},
        {"forward 10 s onto the last sample is a seek", 10 * kSecond, true, IDC_FORWARD10,
         20 * kSecond, true},
        {"forward 10 s from a stopped start", 0, false, IDC_FORWARD10, 10 * kSecond, false},
        {"forward 30 s from a stopped start keeps the place", 0, false, IDC_FORWARD30, 0, false},
    };
    for (const StepCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(m_pForm->LoadAndShow(path.c_str(), false));
        Engine()->SetPosition(c.start);
        if (c.paused)
            Engine()->TogglePause();
        Click(c.button);
        EXPECT_EQ(c.position, Engine()->GetPosition());
        EXPECT_EQ(c.pausedAfter, Engine()->IsPaused() != FALSE);
        EXPECT_FALSE(Engine()->IsPlaying());
        EXPECT_EQ(c.position, Scope()->GetPosition());
    }
}

TEST_F(PlayerFormTest, SteppingWhilePlayingGoesOnFromTheNewPlaceAndRecordsAPlay) {
    const std::string path = Write("2005-step-playing.zel", MakeZel(20, RecordingFields(), 9));
    ASSERT_TRUE(m_pForm->LoadAndShow(path.c_str(), true));
    ASSERT_TRUE(Engine()->IsPlaying());
    Settle(300);
    Click(IDC_FORWARD10);
    const int32_t target = Scope()->GetPosition();
    EXPECT_GE(target, 10 * kSecond);
    EXPECT_TRUE(Engine()->IsPlaying());
    EXPECT_TRUE(Shown(IDC_PAUSE));
    EXPECT_EQ(2, PlaysRecorded());
    EXPECT_EQ(2u, Posted(WM_RECORDING_CHANGED).size());
    ASSERT_TRUE(PumpUntilStopped());
    const std::vector<std::vector<int16_t>> openings = m_capture.Openings();
    ASSERT_EQ(2u, openings.size());
    size_t matched = 0;
    EXPECT_TRUE(PlayedFrom(openings[1], target, &matched));
    EXPECT_GE(matched, size_t(kSecond));
}

// ---------------------------------------------------------------------------
// Bookmarks.

struct MarkCase {
    const char* name;
    int32_t start;
    int32_t end;
    bool stored;
    int startSecond, endSecond;
};

TEST_F(PlayerFormTest, AMarkedAreaIsWrittenToTheFileAndPosted) {
    const MarkCase cases[] = {
        {"an area", 2 * kSecond, 4 * kSecond, true, 2, 4},
        {"the end before the start", 4 * kSecond + 100, 2 * kSecond, true, 2, 4},
        {"start and end at one place", 3 * kSecond, 3 * kSecond, false, 0, 0},
        {"an end within the first second", 0, kSecond / 2, false, 0, 0},
        {"an end on the first second", 0, kSecond, false, 0, 0},
        {"start and end in one second", 2 * kSecond + 800, 2 * kSecond + 4000, false, 0, 0},
    };
    int n = 0;
    for (const MarkCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Write("30" + std::to_string(n++) + "-mark.zel", MakeZel(6));
        ASSERT_TRUE(m_pForm->LoadAndShow(path.c_str(), false));
        const size_t postedBefore = Posted(WM_BOOKMARK_CHANGED).size();
        Engine()->SetPosition(c.start);
        Click(IDC_BOOKMARK_START);
        EXPECT_FALSE(Shown(IDC_BOOKMARK_START));
        EXPECT_TRUE(Shown(IDC_BOOKMARK_END));
        EXPECT_EQ(c.start, Scope()->GetSelectionStart());
        EXPECT_EQ(-1, Scope()->GetSelectionEnd());
        Engine()->SetPosition(c.end);
        Click(IDC_BOOKMARK_END);
        EXPECT_TRUE(Shown(IDC_BOOKMARK_CLEAR));
        EXPECT_FALSE(Shown(IDC_BOOKMARK_END));
        EXPECT_FALSE(Shown(IDC_BOOKMARK_START));

        int start = -1, end = -1;
        const std::vector<SPosted> posted = Posted(WM_BOOKMARK_CHANGED);
        EXPECT_EQ(c.stored, StoredBookmark(path, &start, &end));
        EXPECT_EQ(c.stored, IconOn(IDC_ICON_BOOKMARK, IDI_STATUS_BOOKMARK));
        if (!c.stored) {
            EXPECT_EQ(postedBefore, posted.size());
            continue;
        }
        EXPECT_EQ(c.startSecond, start);
        EXPECT_EQ(c.endSecond, end);
        ASSERT_EQ(postedBefore + 1, posted.size());
        EXPECT_EQ(WPARAM((c.endSecond << 16) | c.startSecond), posted.back().wParam);
        EXPECT_EQ(path, posted.back().path);

        // Clear removes the area from the file and posts -1.
        Click(IDC_BOOKMARK_CLEAR);
        EXPECT_FALSE(StoredBookmark(path, &start, &end));
        EXPECT_FALSE(IconOn(IDC_ICON_BOOKMARK, IDI_STATUS_BOOKMARK));
        EXPECT_TRUE(Shown(IDC_BOOKMARK_START));
        EXPECT_FALSE(Shown(IDC_BOOKMARK_CLEAR));
        EXPECT_EQ(-1, Scope()->GetSelectionStart());
        const std::vector<SPosted> cleared = Posted(WM_BOOKMARK_CHANGED);
        ASSERT_EQ(postedBefore + 2, cleared.size());
        EXPECT_EQ(static_cast<WPARAM>(-1), cleared.back().wParam);
        EXPECT_EQ(path, cleared.back().path);
    }
}

TEST_F(PlayerFormTest, CtrlBClearsAStoredAreaThenCyclesStartAndEnd) {
    RecordingFields fields;
    fields.comment = BookmarkComment(2, 4);
    const std::string path = Write("3100-cycle.zel", MakeZel(12, fields));
    ASSERT_TRUE(m_pForm->LoadAndShow(path.c_str(), false));
    ASSERT_TRUE(Shown(IDC_BOOKMARK_CLEAR));
    int start = -1, end = -1;

    // A stored area: cleared (the file and the message), and a new start.
    Engine()->SetPosition(5 * kSecond);
    Command(ID_PLAYER_BOOKMARK_STEP);
    EXPECT_FALSE(StoredBookmark(path, &start, &end));
    std::vector<SPosted> posted = Posted(WM_BOOKMARK_CHANGED);
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(static_cast<WPARAM>(-1), posted[0].wParam);
    EXPECT_TRUE(Shown(IDC_BOOKMARK_END));
    EXPECT_EQ(5 * kSecond, Scope()->GetSelectionStart());

    // The end: stored.
    Engine()->SetPosition(8 * kSecond);
    Command(ID_PLAYER_BOOKMARK_STEP);
    ASSERT_TRUE(StoredBookmark(path, &start, &end));
    EXPECT_EQ(5, start);
    EXPECT_EQ(8, end);
    posted = Posted(WM_BOOKMARK_CHANGED);
    ASSERT_EQ(2u, posted.size());
    EXPECT_EQ(WPARAM((8 << 16) | 5), posted[1].wParam);
    EXPECT_TRUE(Shown(IDC_BOOKMARK_CLEAR));

    // Once more: cleared and started again.
    Engine()->SetPosition(9 * kSecond);
    Command(ID_PLAYER_BOOKMARK_STEP);
    EXPECT_FALSE(StoredBookmark(path, &start, &end));
    EXPECT_EQ(3u, Posted(WM_BOOKMARK_CHANGED).size());
    EXPECT_TRUE(Shown(IDC_BOOKMARK_END));
    EXPECT_EQ(9 * kSecond, Scope()->GetSelectionStart());
}

TEST_F(PlayerFormTest, TheKeysAreCtrlSpaceAndCtrlB) {
    HACCEL hAccel = ::LoadAcceleratorsA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_PLAYER_ACCEL));
    ASSERT_NE(nullptr, hAccel);
    ACCEL keys[8] = {};
    const int count = ::CopyAcceleratorTableA(hAccel, keys, 8);
    ASSERT_EQ(2, count);
    EXPECT_EQ(FVIRTKEY | FCONTROL, keys[0].fVirt & ~FNOINVERT);
    EXPECT_EQ(VK_SPACE, keys[0].key);
    EXPECT_EQ(ID_PLAYER_PAUSE_RESUME, keys[0].cmd);
    EXPECT_EQ(FVIRTKEY | FCONTROL, keys[1].fVirt & ~FNOINVERT);
    EXPECT_EQ('B', keys[1].key);
    EXPECT_EQ(ID_PLAYER_BOOKMARK_STEP, keys[1].cmd);
}

TEST_F(PlayerFormTest, InputFocusCtrlBOnThePlayerMarksAStart) {
    const std::string path = Write("3200-keys.zel", MakeZel(12));
    ASSERT_TRUE(m_pForm->LoadAndShow(path.c_str(), false));
    m_pFrame->SetForegroundWindow();
    Item(IDC_PLAY)->SetFocus();
    Settle(200);
    ASSERT_EQ(Item(IDC_PLAY)->m_hWnd, ::GetFocus());
    Engine()->SetPosition(3 * kSecond);
    SendKey(VK_CONTROL, false);
    SendKeyTap('B');
    SendKey(VK_CONTROL, true);
    // The program's message loop offers each message to the windows'
    // PreTranslateMessage first, where the form's keys are.
    smalldlg::PumpTranslatedUntil([&] { return Shown(IDC_BOOKMARK_END); });
    EXPECT_TRUE(Shown(IDC_BOOKMARK_END));
    EXPECT_EQ(3 * kSecond, Scope()->GetSelectionStart());
}

// ---------------------------------------------------------------------------
// Important, eject, and an empty player.

TEST_F(PlayerFormTest, MarkImportantWritesTheFileThenPosts) {
    const std::string path = Write("4000-important.zel", MakeZel(4));
    ASSERT_TRUE(m_pForm->LoadAndShow(path.c_str(), false));
    Command(ID_PLAYER_MARK);
    EXPECT_TRUE(StoredImportant(path));
    EXPECT_TRUE(IconOn(IDC_ICON_IMPORTANT, IDI_STATUS_IMPORTANT));
    std::vector<SPosted> posted = Posted(WM_RECORDING_CHANGED);
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(WPARAM(0), posted[0].wParam);
    EXPECT_EQ(path, posted[0].path);

    Command(ID_PLAYER_UNMARK);
    EXPECT_FALSE(StoredImportant(path));
    EXPECT_FALSE(IconOn(IDC_ICON_IMPORTANT, IDI_STATUS_IMPORTANT));
    posted = Posted(WM_RECORDING_CHANGED);
    ASSERT_EQ(2u, posted.size());
    EXPECT_EQ(WPARAM(1), posted[1].wParam);
    EXPECT_TRUE(theApp.m_prompts.empty());
}

TEST_F(PlayerFormTest, AMarkThatCannotBeWrittenIsReportedAndNotPosted) {
    const std::string path = Write("4001-readonly.zel", MakeZel(4));
    ASSERT_TRUE(m_pForm->LoadAndShow(path.c_str(), false));
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    Command(ID_PLAYER_MARK);
    ASSERT_EQ(1u, theApp.m_prompts.size());
    EXPECT_NE(std::string::npos, theApp.m_prompts[0].find(path));
    EXPECT_TRUE(Posted(WM_RECORDING_CHANGED).empty());
    EXPECT_FALSE(IconOn(IDC_ICON_IMPORTANT, IDI_STATUS_IMPORTANT));
    // A bookmark that cannot be written is not posted either.
    Engine()->SetPosition(kSecond);
    Click(IDC_BOOKMARK_START);
    Engine()->SetPosition(3 * kSecond);
    Click(IDC_BOOKMARK_END);
    EXPECT_EQ(2u, theApp.m_prompts.size());
    EXPECT_TRUE(Posted(WM_BOOKMARK_CHANGED).empty());
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(StoredImportant(path));
}

// The call list marks and annotates through the engine's recording, then
// asks the player to read its marks again.
TEST_F(PlayerFormTest, TheMarksAreReadAgainFromTheFileWhenAsked) {
    const std::string path = Write("4050-refresh.zel", MakeZel(4));
    ASSERT_TRUE(m_pForm->LoadAndShow(path.c_str(), false));
    CKWRecordFile* pRecord = Engine()->GetRecordFile();
    pRecord->SetImportant(1);
    pRecord->SetComment("Call back tomorrow");
    ASSERT_TRUE(pRecord->FlushHeader());
    EXPECT_FALSE(IconOn(IDC_ICON_IMPORTANT, IDI_STATUS_IMPORTANT));
    EXPECT_FALSE(IconOn(IDC_ICON_COMMENT, IDI_STATUS_COMMENT));
    m_pForm->RefreshImportantFlag();
    EXPECT_TRUE(IconOn(IDC_ICON_IMPORTANT, IDI_STATUS_IMPORTANT));
    EXPECT_FALSE(IconOn(IDC_ICON_COMMENT, IDI_STATUS_COMMENT));
    m_pForm->RefreshCommentFlag();
    EXPECT_TRUE(IconOn(IDC_ICON_COMMENT, IDI_STATUS_COMMENT));

    // An empty player keeps its blank icons.
    Command(ID_PLAYER_EJECT);
    m_pForm->RefreshImportantFlag();
    m_pForm->RefreshCommentFlag();
    EXPECT_FALSE(IconOn(IDC_ICON_IMPORTANT, IDI_STATUS_IMPORTANT));
    EXPECT_FALSE(IconOn(IDC_ICON_COMMENT, IDI_STATUS_COMMENT));
}

TEST_F(PlayerFormTest, EjectEmptiesThePlayer) {
    RecordingFields fields;
    fields.important = 1;
    const std::string path = Write("4100-eject.zel", MakeZel(4, fields));
    ASSERT_TRUE(m_pForm->LoadAndShow(path.c_str(), true));
    Command(ID_PLAYER_EJECT);
    EXPECT_FALSE(Engine()->IsLoaded());
    EXPECT_FALSE(Engine()->IsPlaying());
    for (int id : kAllButtons)
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Shown(IDC_PLAY));
    EXPECT_FALSE(Shown(IDC_PAUSE));
    for (int id : {IDC_TITLE, IDC_DATE, IDC_DURATION, IDC_POSITION})
        EXPECT_EQ("", Text(id)) << id;
    EXPECT_FALSE(IconOn(IDC_ICON_IMPORTANT, IDI_STATUS_IMPORTANT));
}

// The engine's recording object still names the last file after an eject:
// nothing may act on it.
TEST_F(PlayerFormTest, AnEmptyPlayerNeitherPlaysNorMarksTheLastFile) {
    const std::string path = Write("4200-last.zel", MakeZel(6));
    ASSERT_TRUE(m_pForm->LoadAndShow(path.c_str(), false));
    Command(ID_PLAYER_EJECT);
    const size_t postedBefore = Posted(WM_RECORDING_CHANGED).size();
    Engine()->SetPosition(2 * kSecond);
    Command(ID_PLAYER_BOOKMARK_STEP);
    Command(ID_PLAYER_BOOKMARK_STEP);
    Command(ID_PLAYER_PAUSE_RESUME);
    m_pForm->Play();
    m_pForm->Stop(); // as the frame does when the panel is hidden
    int start = -1, end = -1;
    EXPECT_FALSE(StoredBookmark(path, &start, &end));
    EXPECT_FALSE(Engine()->IsPaused());
    EXPECT_FALSE(Engine()->IsPlaying());
    EXPECT_EQ(0, PlaysRecorded());
    EXPECT_EQ(postedBefore, Posted(WM_RECORDING_CHANGED).size());
    EXPECT_TRUE(Posted(WM_BOOKMARK_CHANGED).empty());
    for (int id : kAllButtons)
        EXPECT_FALSE(Enabled(id)) << id;
}

// ---------------------------------------------------------------------------
// The checked load and drops.

TEST_F(PlayerFormTest, AFailedLoadIsReportedEjectsAndRecordsNoPlay) {
    CSettings::GetInstance()->SetPassphrase("right");
    RecordingFields lockedFields;
    lockedFields.format = 7;
    lockedFields.duration = 4;
    const std::string check = LowercaseCheckString("other");
    const std::string good = Write("5000-good.zel", MakeZel(4));
    struct Case {
        const char* name;
        std::string path;
    };
    const Case cases[] = {
        {"a missing file", m_folder.File("5001-missing.zel")},
        {"a file shorter than a header", Write("5002-short.zel", std::string(100, 'x'))},
        {"another passphrase",
         Write("5003-locked.zel",
               MakeHeaderV5(lockedFields, check, 0) +
                   EncryptLikeRecorder(EncodeMuLaw(MakeTestSignal(32000)), check, 0))},
    };
    for (bool bDrop : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (bDrop ? " (dropped)" : ""));
            ASSERT_TRUE(m_pForm->LoadAndShow(good.c_str(), false));
            theApp.m_prompts.clear();
            const size_t postedBefore = Posted(WM_RECORDING_CHANGED).size();
            if (bDrop) {
                COleDataSource source;
                ASSERT_TRUE(source.CacheGlobalData(CF_HDROP, MakeDropBlock({c.path})));
                LPDATAOBJECT pData = source.GetDataObject();
                LPDROPTARGET pTarget = m_pForm->GetDropTarget().GetDropTargetInterface();
                ASSERT_NE(nullptr, pTarget);
                const POINTL pt = {100, 100};
                DWORD dwEffect = DROPEFFECT_COPY | DROPEFFECT_LINK;
                pTarget->DragEnter(pData, MK_LBUTTON, pt, &dwEffect);
                dwEffect = DROPEFFECT_COPY | DROPEFFECT_LINK;
                pTarget->DragOver(MK_LBUTTON, pt, &dwEffect);
                EXPECT_EQ(DWORD(DROPEFFECT_LINK), dwEffect);
                dwEffect = DROPEFFECT_COPY | DROPEFFECT_LINK;
                pTarget->Drop(pData, MK_LBUTTON, pt, &dwEffect);
                pTarget->Release();
                pData->Release();
            } else {
                EXPECT_FALSE(m_pForm->LoadAndShow(c.path.c_str(), true));
            }
            ASSERT_EQ(1u, theApp.m_prompts.size());
            EXPECT_NE(std::string::npos, theApp.m_prompts[0].find(c.path));
            EXPECT_FALSE(Engine()->IsLoaded());
            EXPECT_FALSE(Engine()->IsPlaying());
            EXPECT_EQ("", Text(IDC_TITLE));
            for (int id : kAllButtons)
                EXPECT_FALSE(Enabled(id)) << id;
            EXPECT_EQ(0, PlaysRecorded());
            EXPECT_EQ(postedBefore, Posted(WM_RECORDING_CHANGED).size());
        }
    }
    EXPECT_EQ(0, m_pForm->GetPlayedCount());
}

struct DragCase {
    const char* name;
    std::vector<std::string> files; // empty: text data without files
    bool admitted;
};

TEST_F(PlayerFormTest, ADragOfOneRecordingIsAdmitted) {
    const std::string zel = Write("6000-drop.zel", MakeZel(3));
    const std::string upper = Write("6001-DROP.ZEL", MakeZel(3));
    const std::string wav = Write("6002-drop.wav", std::string(2000, '\0'));
    const DragCase cases[] = {
        {"one recording", {zel}, true},
        {"one recording in capitals", {upper}, true},
        {"two recordings", {zel, upper}, false},
        {"a sound file", {wav}, false},
        {"text", {}, false},
    };
    CPlayerDropTarget& target = m_pForm->GetDropTarget();
    for (const DragCase& c : cases) {
        SCOPED_TRACE(c.name);
        COleDataSource source;
        if (c.files.empty()) {
            HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, 5);
            memcpy(::GlobalLock(hText), "text", 5);
            ::GlobalUnlock(hText);
            ASSERT_TRUE(source.CacheGlobalData(CF_TEXT, hText));
        } else {
            ASSERT_TRUE(source.CacheGlobalData(CF_HDROP, MakeDropBlock(c.files)));
        }
        COleDataObject data;
        data.Attach(source.GetDataObject(), TRUE);
        // Acceptance starts on, so that a refusal must turn it off.
        m_pForm->DragAcceptFiles(TRUE);
        EXPECT_EQ(c.admitted ? DROPEFFECT(DROPEFFECT_LINK) : DROPEFFECT(DROPEFFECT_NONE),
                  target.OnDragOver(m_pForm, &data, MK_LBUTTON, CPoint(50, 50)));
        EXPECT_EQ(c.admitted, (m_pForm->GetExStyle() & WS_EX_ACCEPTFILES) != 0);
        target.OnDragLeave(m_pForm);
        EXPECT_EQ(0u, m_pForm->GetExStyle() & WS_EX_ACCEPTFILES);
    }
}

TEST_F(PlayerFormTest, ADroppedRecordingPlaysFromItsStartAndTwoAreRefused) {
    const std::string first = Write("6100-first.zel", MakeZel(3, RecordingFields(), 21));
    const std::string dropped = Write("6101-dropped.zel", MakeZel(3, RecordingFields(), 22));
    ASSERT_TRUE(m_pForm->LoadAndShow(first.c_str(), false));
    Engine()->SetPosition(2 * kSecond);

    auto drop = [&](const std::vector<std::string>& files) {
        COleDataSource source;
        EXPECT_TRUE(source.CacheGlobalData(CF_HDROP, MakeDropBlock(files)));
        LPDATAOBJECT pData = source.GetDataObject();
        LPDROPTARGET pTarget = m_pForm->GetDropTarget().GetDropTargetInterface();
        CPoint point(100, 60);
        m_pForm->ClientToScreen(&point);
        const POINTL pt = {point.x, point.y};
        DWORD dwEffect = DROPEFFECT_COPY | DROPEFFECT_LINK;
        pTarget->DragEnter(pData, MK_LBUTTON, pt, &dwEffect);
        dwEffect = DROPEFFECT_COPY | DROPEFFECT_LINK;
        pTarget->DragOver(MK_LBUTTON, pt, &dwEffect);
        const DWORD dwOver = dwEffect;
        dwEffect = DROPEFFECT_COPY | DROPEFFECT_LINK;
        pTarget->Drop(pData, MK_LBUTTON, pt, &dwEffect);
        pTarget->Release();
        pData->Release();
        return dwOver;
    };

    EXPECT_EQ(DWORD(DROPEFFECT_NONE), drop({dropped, first}));
    EXPECT_EQ("File - 6100-first.zel", Text(IDC_TITLE));
    EXPECT_FALSE(Engine()->IsPlaying());

    EXPECT_EQ(DWORD(DROPEFFECT_LINK), drop({dropped}));
    EXPECT_EQ("File - 6101-dropped.zel", Text(IDC_TITLE));
    EXPECT_TRUE(Engine()->IsPlaying());
    EXPECT_TRUE(Shown(IDC_PAUSE));
    EXPECT_EQ(0u, m_pForm->GetExStyle() & WS_EX_ACCEPTFILES);
    EXPECT_EQ(1, PlaysRecorded());
    const std::vector<SPosted> posted = Posted(WM_RECORDING_CHANGED);
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(dropped, posted[0].path);
    ASSERT_TRUE(PumpUntilStopped());
    const std::vector<std::vector<int16_t>> openings = m_capture.Openings();
    ASSERT_EQ(1u, openings.size());
    size_t matched = 0;
    EXPECT_TRUE(PlayedFrom(openings[0], 0, &matched));
    EXPECT_GE(matched, size_t(2 * kSecond));
}

// ---------------------------------------------------------------------------
// The File menu and its commands.

struct MenuCase {
    const char* name;
    const char* shared; // the shared settings, or null for none
    bool bookmark;
    bool deleteGrayed, exportGrayed, bookmarkGrayed;
};

TEST_F(PlayerFormTest, TheFileMenuGraysWhatCannotRun) {
    RecordingFields marked;
    marked.comment = BookmarkComment(1, 3);
    const std::string withArea = Write("7000-area.zel", MakeZel(5, marked));
    const std::string without = Write("7001-plain.zel", MakeZel(5));
    const MenuCase cases[] = {
        {"all allowed", nullptr, true, false, false, false},
        {"no area", nullptr, false, false, false, true},
        {"export blocked", "<BlockExport>1</BlockExport>", true, false, true, true},
        {"delete disabled", "<DisableDelete>1</DisableDelete>", true, true, false, false},
    };
    const UINT exportIds[] = {ID_PLAYER_SEND_ZEL, ID_PLAYER_SEND_WAV, ID_PLAYER_CONVERT_ZEL,
                              ID_PLAYER_CONVERT_WAV};
    const UINT bookmarkIds[] = {ID_EMAIL_ZEL_BOOKMARK, ID_EMAIL_WAV_BOOKMARK,
                                ID_EXPORT_ZEL_BOOKMARK, ID_EXPORT_WAV_BOOKMARK};
    for (const MenuCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string sharedFile =
            CSettings::GetSharedConfigFilePath(FALSE, "config.xml").GetString();
        ::DeleteFileA(sharedFile.c_str());
        if (c.shared != nullptr) {
            ASSERT_TRUE(WriteWholeFile(
                sharedFile, std::string("<?xml version=\"1.0\"?>\r\n<profile version=\"1\">"
                                        "<section name=\"settings\">") +
                                c.shared + "</section></profile>\r\n"));
        }
        CSettings::DeleteInstance();
        CSettings::GetInstance()->Load();
        ASSERT_TRUE(m_pForm->LoadAndShow((c.bookmark ? withArea : without).c_str(), false));
        auto grayed = [](HMENU hMenu, UINT id) {
            return (::GetMenuState(hMenu, id, MF_BYCOMMAND) & MF_GRAYED) != 0;
        };
        bool bChecked = false;
        RunModal([&] { Click(IDC_FILE_MENU); }, [] { return ::FindWindowA("#32768", nullptr); },
                 [&](HWND hMenuWnd) {
                     HMENU hMenu =
                         reinterpret_cast<HMENU>(::SendMessageA(hMenuWnd, MN_GETHMENU, 0, 0));
                     ASSERT_NE(nullptr, hMenu);
                     bChecked = true;
                     EXPECT_EQ(c.deleteGrayed, grayed(hMenu, ID_PLAYER_DELETE));
                     for (UINT id : exportIds)
                         EXPECT_EQ(c.exportGrayed, grayed(hMenu, id)) << id;
                     for (UINT id : bookmarkIds)
                         EXPECT_EQ(c.bookmarkGrayed, grayed(hMenu, id)) << id;
                     for (UINT id : {ID_PLAYER_MARK, ID_PLAYER_UNMARK, ID_PLAYER_EJECT})
                         EXPECT_FALSE(grayed(hMenu, id)) << id;
                     ::EndMenu();
                 });
        EXPECT_TRUE(bChecked);
    }
}

TEST_F(PlayerFormTest, SendAsZelMailsTheRecordingWithTheFreePlayersAddress) {
    const std::string path = Write("7100-mail.zel", MakeZel(3));
    ASSERT_TRUE(m_pForm->LoadAndShow(path.c_str(), false));
    CMailCapture mails;
    Command(ID_PLAYER_SEND_ZEL);
    ASSERT_EQ(1u, mails.mails.size());
    const SCapturedMail& mail = mails.mails[0];
    EXPECT_EQ("My Recorded Calls", mail.subject);
    EXPECT_EQ(0u, mail.note.find("Please find attached, one or more telephone calls I have "
                                 "recorded\r\n\r\nThese files are in compressed format.\r\nA free "
                                 "player is available from "));
    CString address;
    ASSERT_TRUE(address.LoadString(IDS_PLAYER_URL));
    EXPECT_NE(std::string::npos, mail.note.find(address.GetString()));
    ASSERT_EQ(1u, mail.attachments.size());
    EXPECT_EQ(path, mail.attachments[0]);
    EXPECT_NE(0u, mail.flags & MAPI_DIALOG);
}

// The bookmark area goes out as a mail of its own: a recording cut to the
// area (the temporary file deleted after the mail) or a WAV file of it.
TEST_F(PlayerFormTest, SendingTheBookmarkMailsTheCutArea) {
    RecordingFields fields;
    fields.comment = BookmarkComment(1, 3);
    const std::string path = Write("7150-area.zel", MakeZel(6, fields));
    const size_t wholeSize = ReadWholeFile(path).size();
    ASSERT_TRUE(m_pForm->LoadAndShow(path.c_str(), false));
    struct Case {
        UINT command;
        const char* extension;
    };
    for (const Case& c :
         {Case{ID_EMAIL_ZEL_BOOKMARK, ".zel"}, Case{ID_EMAIL_WAV_BOOKMARK, ".wav"}}) {
        SCOPED_TRACE(c.extension);
        CMailCapture mails;
        Command(c.command);
        ASSERT_EQ(1u, mails.mails.size());
        ASSERT_EQ(1u, mails.mails[0].attachments.size());
        const std::string& attachment = mails.mails[0].attachments[0];
        EXPECT_EQ(c.extension, attachment.substr(attachment.size() - 4));
        EXPECT_NE(path, attachment);
        const size_t size = mails.mails[0].attachmentBytes[0].size();
        EXPECT_GT(size, 44u);
        EXPECT_LT(size, wholeSize);
        EXPECT_FALSE(FileExists(attachment)) << "the temporary file is gone after the mail";
    }
    EXPECT_TRUE(theApp.m_prompts.empty());
}

TEST_F(PlayerFormTest, DeleteAsksThenRemovesTheFileEjectsAndPosts) {
    // The delete may be undone: Wine moves the file into the host user's
    // trash, from which the test takes it again under its own unique name.
    const std::string name = "7200-delete-" + std::to_string(::GetCurrentProcessId()) + "-" +
                             std::to_string(::GetTickCount()) + ".zel";
    const std::string path = Write(name, MakeZel(3));
    ASSERT_TRUE(m_pForm->LoadAndShow(path.c_str(), false));
    theApp.m_answers = {IDNO};
    Command(ID_PLAYER_DELETE);
    ASSERT_EQ(1u, theApp.m_prompts.size());
    EXPECT_EQ("This will delete 1 call(s)\n\nAre you sure?", theApp.m_prompts[0]);
    EXPECT_TRUE(FileExists(path));
    EXPECT_TRUE(Engine()->IsLoaded());

    theApp.m_answers = {IDYES};
    Command(ID_PLAYER_DELETE);
    std::string output;
    RunNativeCommand("trash=\"${XDG_DATA_HOME:-$HOME/.local/share}/Trash\"; rm -f \"$trash/files/" +
                         name + "\"* \"$trash/info/" + name + "\"*",
                     &output);
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(Engine()->IsLoaded());
    EXPECT_FALSE(Enabled(IDC_FILE_MENU));
    const std::vector<SPosted> posted = Posted(WM_RECORDING_CHANGED);
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(WPARAM(2), posted[0].wParam);
    EXPECT_EQ(path, posted[0].path);
    EXPECT_EQ(2u, theApp.m_prompts.size());
}

// A file the shell cannot delete (held open without delete sharing) is
// reported; the player stays empty and nothing is posted.
TEST_F(PlayerFormTest, AFailedDeleteIsReported) {
    const std::string path = Write("7201-held.zel", MakeZel(3));
    ASSERT_TRUE(m_pForm->LoadAndShow(path.c_str(), false));
    HANDLE hHeld = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);
    theApp.m_answers = {IDYES};
    Command(ID_PLAYER_DELETE);
    ::CloseHandle(hHeld);
    EXPECT_TRUE(FileExists(path));
    ASSERT_EQ(2u, theApp.m_prompts.size());
    EXPECT_EQ("Failed to delete one or more files!\rPossibly it is Read Only?",
              theApp.m_prompts[1]);
    EXPECT_FALSE(Engine()->IsLoaded());
    EXPECT_TRUE(Posted(WM_RECORDING_CHANGED).empty());
}

// ---------------------------------------------------------------------------
// Calls for Review and History.

HTREEITEM FindTreeItem(HWND hTree, HTREEITEM hItem, const char* pszText) {
    for (; hItem != nullptr; hItem = TreeView_GetNextSibling(hTree, hItem)) {
        char text[128] = {};
        TVITEMA item = {};
        item.mask = TVIF_TEXT;
        item.hItem = hItem;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        if (strcmp(text, pszText) == 0)
            return hItem;
        if (HTREEITEM hFound = FindTreeItem(hTree, TreeView_GetChild(hTree, hItem), pszText))
            return hFound;
    }
    return nullptr;
}

TEST_F(PlayerFormTest, CallsForReviewLinksTheCallIntoTheChosenList) {
    const std::string path = Write("8000-review.zel", MakeZel(3));
    ASSERT_TRUE(m_pForm->LoadAndShow(path.c_str(), false));
    CHotLists* pStore = CHotLists::GetInstance();
    const int countBefore = pStore->GetCount();
    const int nextId = pStore->GetNextID();

    RunModal([&] { Click(IDC_CALLS_FOR_REVIEW); }, [] { return FindThreadDialog(); },
             [&](HWND hDlg) {
                 HWND hTree = ::GetDlgItem(hDlg, IDC_HOTLIST_TREE);
                 HTREEITEM hItem = FindTreeItem(hTree, TreeView_GetRoot(hTree), "Won Sales");
                 ASSERT_NE(nullptr, hItem);
                 TreeView_SelectItem(hTree, hItem);
                 ::SendMessageA(hDlg, WM_COMMAND, IDOK, 0);
             });
    ASSERT_EQ(countBefore + 1, pStore->GetCount());
    CHotLists::HOTLISTENTRY entry;
    ASSERT_TRUE(pStore->GetEntryCopy(nextId, entry));
    EXPECT_EQ(2, entry.ParentID); // "Won Sales"
    EXPECT_STREQ("8000-review.zel", entry.Name.GetString());
    EXPECT_EQ(path, entry.Target.GetString());
    EXPECT_EQ(0, entry.IsGroup);
    EXPECT_EQ(1u, Posted(WM_RELOAD_HOTLISTS).size());

    // OK with no list chosen adds nothing and says so.
    RunModal([&] { Click(IDC_CALLS_FOR_REVIEW); }, [] { return FindThreadDialog(); },
             [&](HWND hDlg) {
                 HWND hTree = ::GetDlgItem(hDlg, IDC_HOTLIST_TREE);
                 TreeView_SelectItem(hTree, nullptr);
                 ::SendMessageA(hDlg, WM_COMMAND, IDOK, 0);
             });
    EXPECT_EQ(countBefore + 1, pStore->GetCount());
    EXPECT_EQ(1u, theApp.m_prompts.size());
    EXPECT_EQ(1u, Posted(WM_RELOAD_HOTLISTS).size());
}

TEST_F(PlayerFormTest, HistoryKeepsItsEditsOnlyWhenClosed) {
    const std::string first = Write("9000-first.zel", MakeZel(3));
    const std::string second = Write("9001-second.zel", MakeZel(3));
    for (const std::string& path : {first, second, first}) {
        ASSERT_TRUE(m_pForm->LoadAndShow(path.c_str(), true));
        m_pForm->Stop();
    }
    EXPECT_EQ(2, m_pForm->GetPlayedCount());
    EXPECT_EQ(3, PlaysRecorded());

    auto removeFirstLine = [](HWND hDlg) {
        HWND hList = ::GetDlgItem(hDlg, IDC_HISTORY_LIST);
        EXPECT_EQ(2, ::SendMessageA(hList, LB_GETCOUNT, 0, 0));
        ::SendMessageA(hList, LB_SETSEL, TRUE, 0);
        ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_HISTORY_LIST, LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(hList));
        ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_REMOVE, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, IDC_REMOVE)));
        EXPECT_EQ(1, ::SendMessageA(hList, LB_GETCOUNT, 0, 0));
    };
    // Escape: the removal is forgotten.
    RunModal([&] { Click(IDC_HISTORY); }, [] { return FindThreadDialog(); },
             [&](HWND hDlg) {
                 removeFirstLine(hDlg);
                 ::SendMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
             });
    EXPECT_EQ(2, m_pForm->GetPlayedCount());
    // Close: it sticks.
    RunModal([&] { Click(IDC_HISTORY); }, [] { return FindThreadDialog(); },
             [&](HWND hDlg) {
                 removeFirstLine(hDlg);
                 ::SendMessageA(hDlg, WM_COMMAND, IDOK, 0);
             });
    EXPECT_EQ(1, m_pForm->GetPlayedCount());
}

// ---------------------------------------------------------------------------
// Pictures.

TEST_F(PlayerFormTest, ScreenShowsACallLoadedAndPlaying) {
    const std::vector<SSampleRecording> samples = MakeSampleRecordings(m_folder.Path());
    ASSERT_FALSE(samples.empty());
    CSettings::GetInstance()->SetPassphrase(kSamplePassphrase);
    const SSampleRecording* pShown = &samples[0];
    for (const SSampleRecording& sample : samples)
        if (sample.bookmarked && sample.important && sample.duration >= 20) {
            pShown = &sample;
            break;
        }
    ASSERT_TRUE(m_pForm->LoadAndShow(pShown->path.c_str(), false));
    Engine()->SetPosition(Engine()->GetRecordFile()->GetSampleCount() / 3);
    Settle(400);
    CRect rcBar;
    m_pFrame->m_bar.GetWindowRect(&rcBar);
    EXPECT_TRUE(SaveScreenPng(rcBar, "player-loaded.png"));
    EXPECT_TRUE(Shown(IDC_PLAY));

    Click(IDC_PLAY);
    Settle(400);
    EXPECT_TRUE(Shown(IDC_PAUSE));
    EXPECT_TRUE(SaveScreenPng(rcBar, "player-playing.png"));
    CCanvas screen(rcBar.Width(), rcBar.Height());
    CaptureScreen(screen, rcBar);
    // The scope's cursor is drawn in red somewhere on the screen.
    EXPECT_GT(screen.Count(RGB(255, 0, 0), CRect(0, 0, rcBar.Width(), rcBar.Height())), 0);
}

} // namespace
