// Tests of COutputScope, the player's waveform display: the rules of its
// picture as numbers (grid spacing, cursor place, the clipped bookmark span,
// the seek of a click, the decoding states), the envelope it builds from the
// playback engine's recording, seeking by click, and the picture itself on
// the screen, kept as output-scope.png in the working folder.
#include "native/gtest.h"

#include "OutputScope.h"

#include "Common/PlaybackManager.h"
#include "tests/app/SmallDialogsTestKit.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/AudioFixtures.h"
#include "tests/support/Canvas.h"
#include "tests/support/ColorCheck.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UiScript.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

CAnsweringApp theApp;

const int32_t kMuLaw = 7;
const int32_t kSecond = 8000;
const int32_t kMinute = 60 * kSecond;
const int32_t kHour = 60 * kMinute;

// A scope 607 pixels wide has an inner rectangle of 600 columns.
const int kScopeWidth = 607;
const int kScopeHeight = 60;
const int kColumns = 600;

// ---------------------------------------------------------------------------
// The rules as numbers.

struct GridCase {
    const char* name;
    int columns;
    int32_t length;
    int spacing;
};

TEST(OutputScopeRulesTest, GridSpacingIsAMinuteThenAnHourThenAFixedStep) {
    const GridCase cases[] = {
        {"2 minutes on 600 pixels: a line every 300", 600, 2 * kMinute, 300},
        {"3 hours on 600 pixels: a minute is 3, kept", 600, 3 * kHour, 3},
        {"10 hours on 600 pixels: a minute is 1, an hour 60", 600, 10 * kHour, 60},
        {"a minute of 2.5 pixels rounds to 3 and is kept", 600, 115200000, 3},
        {"too long for hours: the fixed step", 10, 60 * kHour, COutputScope::kDefaultGridSpacing},
        {"no length: the multiply-divide fails", 600, 0, COutputScope::kDefaultGridSpacing},
    };
    for (const GridCase& c : cases)
        EXPECT_EQ(c.spacing, COutputScope::CalcGridSpacing(c.columns, c.length)) << c.name;
}

struct CursorCase {
    const char* name;
    int32_t position;
    int32_t length;
    int x;
};

TEST(OutputScopeRulesTest, CursorStandsAtItsShareFromTheLeftEdgeInsideTheFrame) {
    // Inner rectangle of a 607-pixel scope: left 3, right 603.
    const CursorCase cases[] = {
        {"position 0 at the inner left edge", 0, 2 * kMinute, 3},
        {"no length at the inner left edge", 5000, 0, 3},
        {"a negative position at the inner left edge", -8000, 2 * kMinute, 3},
        {"the first pixels are inside the frame", 800, 2 * kMinute, 3},
        {"a quarter from the control's edge", kMinute / 2, 2 * kMinute, 150},
        {"the length at the column count, inside the right edge", 2 * kMinute, 2 * kMinute, 600},
        {"past the length at the right edge", 4 * kMinute, 2 * kMinute, 603},
    };
    for (const CursorCase& c : cases)
        EXPECT_EQ(c.x, COutputScope::CalcCursorX(c.position, c.length, kColumns, 3, 603)) << c.name;
}

struct SpanCase {
    const char* name;
    int32_t start;
    int32_t end;
    int32_t position;
    int32_t length;
    bool drawn;
    int first;
    int last;
};

TEST(OutputScopeRulesTest, BookmarkSpanIsClippedToTheColumnsThatExist) {
    const int32_t len = 2 * kMinute; // 1600 samples per column
    const SpanCase cases[] = {
        {"a stored area", 16000, 160000, 0, len, true, 10, 100},
        {"an open area up to the cursor", 16000, -1, 320000, len, true, 10, 200},
        {"an open area, cursor left of the start: from 3 left of the cursor", 160000, -1, 80000,
         len, true, 47, 100},
        {"an open area, cursor in the first columns: from column 0", 16000, -1, 1600, len, true, 0,
         10},
        {"an area past the length ends at the last column", 800000, 1200000, 0, len, true, 500,
         600},
        {"an area wholly past the length is not drawn", 1200000, 1600000, 0, len, false, 0, 0},
        {"no area", -1, -1, 0, len, false, 0, 0},
        {"no length", 16000, 160000, 0, 0, false, 0, 0},
    };
    for (const SpanCase& c : cases) {
        int first = -99;
        int last = -99;
        const bool drawn = COutputScope::CalcSelectionSpan(c.start, c.end, c.position, c.length,
                                                           kColumns, &first, &last);
        EXPECT_EQ(c.drawn, drawn) << c.name;
        if (!c.drawn || !drawn)
            continue;
        EXPECT_EQ(c.first, first) << c.name;
        EXPECT_EQ(c.last, last) << c.name;
        EXPECT_TRUE(first >= 0 && last <= kColumns) << c.name;
    }
}

TEST(OutputScopeRulesTest, DecodingStatesShowTheirTexts) {
    struct Case {
        bool decodedEnough, ready, open, loaded;
        COutputScope::DisplayState state;
        const char* text;
    };
    const Case cases[] = {
        {false, false, true, true, COutputScope::SHOW_DECODING_WAIT, "Decompressing - Please wait"},
        {true, false, true, true, COutputScope::SHOW_DECODING, "Decompressing"},
        {true, true, true, true, COutputScope::SHOW_WAVEFORM, nullptr},
        {true, true, true, false, COutputScope::SHOW_NOTHING, nullptr},
        // A failed open: nothing decodes, so the texts do not stay up.
        {true, false, false, false, COutputScope::SHOW_NOTHING, nullptr},
    };
    for (const Case& c : cases) {
        const COutputScope::DisplayState state =
            COutputScope::ChooseDisplayState(c.decodedEnough, c.ready, c.open, c.loaded);
        EXPECT_EQ(c.state, state) << c.decodedEnough << c.ready << c.open << c.loaded;
        const char* text = COutputScope::GetStateText(state);
        if (c.text == nullptr)
            EXPECT_EQ(nullptr, text);
        else
            EXPECT_STREQ(c.text, text);
    }
}

TEST(OutputScopeRulesTest, SelectionAndPositionKeepTheirBounds) {
    COutputScope scope;
    scope.SetLength(kMinute);
    scope.SetSelection(24000, 8000);
    EXPECT_EQ(8000, scope.GetSelectionStart());
    EXPECT_EQ(24000, scope.GetSelectionEnd());
    scope.SetSelection(24000, -1); // open: no swap
    EXPECT_EQ(24000, scope.GetSelectionStart());
    EXPECT_EQ(-1, scope.GetSelectionEnd());
    scope.SetPosition(2 * kMinute);
    EXPECT_EQ(kMinute, scope.GetPosition());
    scope.SetPosition(4000);
    EXPECT_EQ(4000, scope.GetPosition());
}

// ---------------------------------------------------------------------------
// The scope over the engine's recording.

std::string ZelBytes(const std::vector<int16_t>& samples, int32_t duration) {
    RecordingFields fields;
    fields.format = kMuLaw;
    fields.duration = duration;
    return MakeHeaderV2to4(4, 1440, fields) + EncodeMuLaw(samples);
}

class OutputScopeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_host.Make("Scope", CRect(60, 60, 60 + kScopeWidth + 40, 200)));
        ASSERT_TRUE(m_static.Create("", WS_CHILD | WS_VISIBLE | SS_BLACKFRAME,
                                    CRect(10, 10, 10 + kScopeWidth, 10 + kScopeHeight), &m_host,
                                    1052));
        HWND hStatic = m_static.Detach();
        ASSERT_TRUE(m_scope.SubclassWindow(hStatic));
    }
    void TearDown() override {
        CPlaybackManager::GetInstance()->Unload();
        if (m_scope.GetSafeHwnd() != nullptr)
            m_scope.DestroyWindow();
    }

    // Loads samples into the engine as a recording of duration seconds.
    bool Load(const std::vector<int16_t>& samples, int32_t duration) {
        const std::string path = m_folder.File("call.zel");
        if (!WriteWholeFile(path, ZelBytes(samples, duration)))
            return false;
        return CPlaybackManager::GetInstance()->Load(path.c_str()) != FALSE;
    }
    std::vector<int16_t> Decoded() {
        CKWRecordFile* pRecord = CPlaybackManager::GetInstance()->GetRecordFile();
        const int16_t* samples = nullptr;
        const int32_t count = pRecord->GetSamples(0, pRecord->GetSampleCount(), &samples);
        return std::vector<int16_t>(samples, samples + count);
    }

    CTempFolder m_folder;
    smalldlg::CHostWnd m_host;
    CStatic m_static;
    COutputScope m_scope;
};

TEST_F(OutputScopeTest, TakesClicksOnceSubclassed) {
    EXPECT_NE(0u, m_scope.GetStyle() & SS_NOTIFY);
}

TEST_F(OutputScopeTest, EnvelopeHoldsTheLowestAndHighestSampleBehindEachColumn) {
    ASSERT_TRUE(Load(MakeTestSignal(2 * kSecond, 7), 2));
    m_scope.SetLength(2 * kSecond);
    m_scope.BuildEnvelope();
    ASSERT_EQ(kColumns, m_scope.GetColumnCount());
    const int per = 2 * kSecond / kColumns; // 26: the last 400 samples lie behind no column
    EXPECT_EQ(per, m_scope.GetSamplesPerColumn());
    const std::vector<int16_t> decoded = Decoded();
    ASSERT_EQ(size_t(2 * kSecond), decoded.size());
    for (int i = 0; i < kColumns; ++i) {
        const auto first = decoded.begin() + i * per;
        const int16_t lowest = std::min<int16_t>(0, *std::min_element(first, first + per));
        const int16_t highest = std::max<int16_t>(-16, *std::max_element(first, first + per));
        ASSERT_EQ(lowest, m_scope.GetColumnMin(i)) << "column " << i;
        ASSERT_EQ(highest, m_scope.GetColumnMax(i)) << "column " << i;
    }
    // 16,000 samples on 600 columns: a minute would be 18,000 pixels.
    EXPECT_EQ(18000, m_scope.GetGridSpacing());
}

TEST_F(OutputScopeTest, ColumnsBehindNoSampleStayAtZeroAndMinusSixteen) {
    // All samples positive: a column with samples has its minimum at 0 only
    // because the minimum starts there.
    const std::vector<int16_t> samples(250, 1000);
    ASSERT_TRUE(Load(samples, 0));
    m_scope.SetLength(250);
    m_scope.BuildEnvelope();
    EXPECT_EQ(1, m_scope.GetSamplesPerColumn());
    const std::vector<int16_t> decoded = Decoded();
    ASSERT_EQ(size_t(250), decoded.size());
    for (int i : {0, 100, 249}) {
        EXPECT_EQ(decoded[i], m_scope.GetColumnMax(i)) << i;
        EXPECT_EQ(0, m_scope.GetColumnMin(i)) << i;
    }
    for (int i : {250, 400, kColumns - 1}) {
        EXPECT_EQ(-16, m_scope.GetColumnMax(i)) << i;
        EXPECT_EQ(0, m_scope.GetColumnMin(i)) << i;
    }
}

TEST_F(OutputScopeTest, ClickSeeksToTheClickedShareOfTheLength) {
    ASSERT_TRUE(Load(MakeTestSignal(10 * kSecond), 10));
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    m_scope.SetLength(10 * kSecond);
    m_scope.BuildEnvelope();
    ASSERT_EQ(kColumns, m_scope.GetColumnCount());
    struct Case {
        int x;
        int32_t position;
    };
    const Case cases[] = {
        {150, 20000},        // a quarter
        {0, 0},              // the control's left edge: the start
        {605, 10 * kSecond}, // right of the frame: the engine clamps to the end
        {301, 40133},        // 40,133.3: the multiply-divide rounds
    };
    for (const Case& c : cases) {
        m_scope.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.x, 20));
        m_scope.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(c.x, 20));
        EXPECT_EQ(c.position, pEngine->GetPosition()) << "x " << c.x;
    }

    // Paused, a click moves the position and starts nothing.
    pEngine->TogglePause();
    ASSERT_TRUE(pEngine->IsPaused());
    m_scope.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 20));
    EXPECT_EQ(40000, pEngine->GetPosition());
    EXPECT_TRUE(pEngine->IsPaused());
    EXPECT_FALSE(pEngine->IsPlaying());
}

// The picture: black field, green frame and grid, the envelope, the blue
// bookmark area over it and the red cursor.
TEST_F(OutputScopeTest, ScreenShowsTheWaveformTheAreaAndTheCursor) {
    ASSERT_TRUE(Load(MakeTestSignal(2 * kMinute, 3), 120));
    m_scope.SetLength(2 * kMinute);
    m_scope.SetSelection(12 * kSecond, 36 * kSecond); // columns 50 to 150
    m_scope.SetPosition(kMinute);                     // x 300
    m_scope.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Settle(300);

    EXPECT_EQ(300, m_scope.GetGridSpacing());
    EXPECT_EQ(300, m_scope.GetCursorX());
    CRect rcScope;
    m_scope.GetWindowRect(&rcScope);
    CCanvas screen(rcScope.Width(), rcScope.Height());
    CaptureScreen(screen, rcScope);
    EXPECT_TRUE(SaveScreenPng(rcScope, "output-scope.png"));

    const CRect rcInner = COutputScope::CalcInnerRect(CRect(0, 0, kScopeWidth, kScopeHeight));
    const int middle = (rcInner.top + rcInner.bottom) / 2;
    EXPECT_EQ(Hex(RGB(0, 0, 0)), Hex(screen.dc.GetPixel(1, 1)));
    EXPECT_EQ(Hex(RGB(0, 128, 0)), Hex(screen.dc.GetPixel(rcInner.left + 20, rcInner.top)));
    // The first column's stroke covers the left line: the right one is free.
    EXPECT_EQ(Hex(RGB(0, 128, 0)), Hex(screen.dc.GetPixel(rcInner.right, middle + 10)));
    EXPECT_EQ(Hex(RGB(255, 0, 0)), Hex(screen.dc.GetPixel(300, rcInner.top + 3)));
    // The area in blue, the rest of the envelope in bright green, on the
    // middle line where every column's stroke passes.
    EXPECT_EQ(Hex(RGB(0, 0, 255)), Hex(screen.dc.GetPixel(rcInner.left + 100, middle)));
    EXPECT_EQ(Hex(RGB(0, 255, 0)), Hex(screen.dc.GetPixel(rcInner.left + 200, middle)));
    EXPECT_EQ(Hex(RGB(0, 255, 0)), Hex(screen.dc.GetPixel(rcInner.left + 40, middle)));
    // The grid line of the first minute at x 300 lies under the cursor; the
    // second, at 600, is drawn (600 < right): dashes above the envelope.
    int gridPixels = 0;
    for (int y = rcInner.top + 1; y < rcInner.top + 5; ++y)
        gridPixels += screen.dc.GetPixel(600, y) == RGB(0, 128, 0) ? 1 : 0;
    EXPECT_GT(gridPixels, 0);
}

} // namespace
