// Tests of CPlaybackManager on Wine's real wave-out device, whose output goes to
// a capture file of the test (CAudioCapture): the buffer queue, the position,
// pause, seek and stop, loading and unloading with the header changes written
// back, and a device that cannot be opened.
#include "native/gtest.h"

#include "Common/KWWav.h"
#include "Common/PlaybackManager.h"
#include "framework/Wnd.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/AudioCapture.h"
#include "tests/support/AudioFixtures.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UiScript.h"

#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

CAnsweringApp theApp;

const int32_t kMuLaw = 7;
const int32_t kSecond = 8000;

// The engine with its queue in view.
class CPlaybackProbe : public CPlaybackManager {
public:
    using CPlaybackManager::GetDeviceErrorText;
    int32_t NextPosition() const { return m_nextPosition; }
    // The samples of each queued buffer, oldest first.
    std::vector<int32_t> Queue() const {
        std::vector<int32_t> queue;
        for (const WAVEHDR* header : m_buffers)
            queue.push_back(static_cast<int32_t>(header->dwBufferLength / 2));
        return queue;
    }
};

// Stands in for the main frame: hands each MM_WOM_DONE to the engine and notes
// the queue after it.
class CNotifyWnd : public CWnd {
public:
    CPlaybackProbe* m_engine = nullptr;
    std::vector<std::vector<int32_t>> m_queues;

protected:
    afx_msg LRESULT OnWaveOutDone(WPARAM wParam, LPARAM lParam) {
        m_engine->OnWaveOutMessage(MM_WOM_DONE, wParam, lParam);
        m_queues.push_back(m_engine->Queue());
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CNotifyWnd, CWnd)
    ON_MESSAGE(MM_WOM_DONE, &CNotifyWnd::OnWaveOutDone)
END_MESSAGE_MAP()
// clang-format on

// Handles the thread's messages for a while.
void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= milliseconds; });
}

std::string ZelBytes(int32_t sampleCount, int32_t duration, uint32_t seed) {
    RecordingFields fields;
    fields.format = kMuLaw;
    fields.duration = duration;
    return MakeHeaderV2to4(4, 1440, fields) + EncodeMuLaw(MakeTestSignal(sampleCount, seed));
}

std::string WavBytes(int32_t sampleCount) {
    CKWWav header;
    header.SetDataSize(static_cast<uint32_t>(sampleCount) * 2);
    std::string bytes(reinterpret_cast<const char*>(header.GetBytes()), CKWWav::kHeaderSize);
    for (int16_t sample : MakeTestSignal(sampleCount))
        bytes += std::string{static_cast<char>(sample & 0xFF), static_cast<char>(sample >> 8)};
    return bytes;
}

class PlaybackManagerTest : public ::testing::Test {
protected:
    PlaybackManagerTest() {
        theApp.m_prompts.clear();
        const RECT rect = {0, 0, 100, 100};
        EXPECT_TRUE(m_window.CreateEx(0, nullptr, "notify", WS_POPUP, rect, nullptr, 0));
        m_window.m_engine = &m_engine;
        m_engine.SetNotifyWindow(&m_window);
    }

    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = m_folder.File(name);
        EXPECT_TRUE(WriteWholeFile(path, bytes));
        return path;
    }
    std::string WriteZel(const std::string& name, int32_t seconds, uint32_t seed = 1) {
        return Write(name, ZelBytes(seconds * kSecond, seconds, seed));
    }

    // The decoded samples of the loaded recording from first on.
    std::vector<int16_t> Decoded(int32_t first = 0) {
        const int16_t* samples = nullptr;
        const int32_t count = m_engine.GetRecordFile()->GetSamples(
            first, m_engine.GetRecordFile()->GetSampleCount(), &samples);
        return std::vector<int16_t>(samples, samples + count);
    }

    // Pumps the device's messages until the last buffer has finished, then
    // stops as the player does; the capture is then complete.
    bool PlayToEnd() {
        const int32_t count = m_engine.GetRecordFile()->GetSampleCount();
        const bool ended =
            PumpUntil([&] { return m_engine.Queue().empty() && m_engine.NextPosition() == count; });
        m_engine.Start(FALSE, TRUE);
        return ended;
    }

    // Whether one opening of the device played the recording from sample
    // first on: all of the rest when whole, else a part of it (a pause or a
    // stop ended it). The device plays silence whenever it has no samples (at
    // the end, and when a busy machine lets the test fall behind the device,
    // which runs faster than real time here): zero samples that the recording
    // does not hold are passed over.
    ::testing::AssertionResult PlayedFrom(const std::vector<int16_t>& played, int32_t first,
                                          bool whole) {
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
        if (matched == 0 || (whole && matched < expected.size()))
            return ::testing::AssertionFailure() << matched << " of the " << expected.size()
                                                 << " samples from " << first << " were played";
        return ::testing::AssertionSuccess();
    }

    CTempFolder m_folder;
    CAudioCapture m_capture;
    CNotifyWnd m_window;
    CPlaybackProbe m_engine; // last, so that it stops before the window goes
};

// ---------------------------------------------------------------------------
// The queue.

struct QueueCase {
    const char* name;
    bool wav;
    int32_t sampleCount;
    int32_t headerDuration;
    std::vector<int32_t> queuedAtStart;
    std::vector<int32_t> queuedAfterFirstBuffer;
    int32_t positionAtEnd;
};

void PrintTo(const QueueCase& c, std::ostream* os) {
    *os << c.name;
}

class PlaybackQueueTest : public PlaybackManagerTest,
                          public ::testing::WithParamInterface<QueueCase> {};

TEST_P(PlaybackQueueTest, QueuesWholeSecondsOfTheDurationAndPlaysEverySample) {
    const QueueCase& c = GetParam();
    const std::string path = c.wav
                                 ? Write("call.wav", WavBytes(c.sampleCount))
                                 : Write("call.zel", ZelBytes(c.sampleCount, c.headerDuration, 1));
    ASSERT_TRUE(m_engine.Load(path.c_str()));
    ASSERT_TRUE(m_engine.IsReadyToPlay());

    m_engine.Start(TRUE, TRUE);
    EXPECT_TRUE(m_engine.IsPlaying());
    EXPECT_FALSE(m_engine.IsReadyToPlay());
    EXPECT_EQ(c.queuedAtStart, m_engine.Queue());

    const int32_t count = c.sampleCount;
    ASSERT_TRUE(
        PumpUntil([&] { return m_engine.Queue().empty() && m_engine.NextPosition() == count; }));
    ASSERT_FALSE(m_window.m_queues.empty());
    EXPECT_EQ(c.queuedAfterFirstBuffer, m_window.m_queues[0]);
    // The last buffer leaves the engine playing until the player stops it.
    EXPECT_TRUE(m_engine.IsPlaying());
    EXPECT_EQ(c.positionAtEnd, m_engine.GetPosition());

    m_engine.Start(FALSE, TRUE);
    EXPECT_FALSE(m_engine.IsPlaying());
    EXPECT_EQ(0, m_engine.GetPosition());
    const std::vector<std::vector<int16_t>> openings = m_capture.Openings();
    ASSERT_EQ(1u, openings.size());
    EXPECT_TRUE(PlayedFrom(openings[0], 0, true));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Durations, PlaybackQueueTest, ::testing::Values(
    QueueCase{"HeaderOfTwoSeconds", false, 20000, 2, {8000, 8000}, {8000, 4000}, 16000},
    QueueCase{"HeaderOfThreeSeconds", false, 20000, 3, {8000, 8000, 4000}, {8000, 4000}, 20000},
    // A header shorter than its audio, and a WAV file without any duration:
    // the whole seconds of audio count.
    QueueCase{"HeaderShorterThanAudio", false, 24000, 1, {8000, 8000, 8000}, {8000, 8000}, 24000},
    QueueCase{"WavWithoutDuration", true, 20000, 0, {8000, 8000}, {8000, 4000}, 16000}),
    [](const ::testing::TestParamInfo<QueueCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(PlaybackManagerTest, KeepsFourBuffersQueuedUntilTheSamplesRunOut) {
    ASSERT_TRUE(m_engine.Load(WriteZel("long.zel", 8).c_str()));
    m_engine.Start(TRUE, TRUE);
    EXPECT_EQ(std::vector<int32_t>(4, kSecond), m_engine.Queue());
    EXPECT_EQ(4 * kSecond, m_engine.NextPosition());

    ASSERT_TRUE(PlayToEnd());
    std::vector<size_t> queued;
    for (const std::vector<int32_t>& queue : m_window.m_queues)
        queued.push_back(queue.size());
    EXPECT_EQ((std::vector<size_t>{4, 4, 4, 4, 3, 2, 1, 0}), queued);
    const std::vector<std::vector<int16_t>> openings = m_capture.Openings();
    ASSERT_EQ(1u, openings.size());
    EXPECT_TRUE(PlayedFrom(openings[0], 0, true));
}

// ---------------------------------------------------------------------------
// Position, pause and seek.

TEST_F(PlaybackManagerTest, SetPositionOnAStoppedEngineIsWherePlayingGoesOn) {
    ASSERT_TRUE(m_engine.Load(WriteZel("call.zel", 4).c_str()));
    m_engine.Start(TRUE, TRUE);
    ASSERT_TRUE(PumpUntil([&] { return m_engine.GetPosition() > kSecond; }));
    m_engine.Start(FALSE, FALSE);

    m_engine.SetPosition(12000);
    EXPECT_EQ(12000, m_engine.GetPosition());

    const struct {
        int32_t set;
        int32_t position;
    } clamps[] = {{-100, 0}, {1000000, 4 * kSecond}, {12000, 12000}};
    for (const auto& clamp : clamps) {
        m_engine.SetPosition(clamp.set);
        EXPECT_EQ(clamp.position, m_engine.GetPosition()) << "SetPosition(" << clamp.set << ")";
    }

    m_engine.Start(TRUE, FALSE);
    EXPECT_GE(m_engine.GetPosition(), 12000);
    ASSERT_TRUE(PlayToEnd());
    const std::vector<std::vector<int16_t>> openings = m_capture.Openings();
    ASSERT_EQ(2u, openings.size());
    EXPECT_TRUE(PlayedFrom(openings[0], 0, false));
    EXPECT_TRUE(PlayedFrom(openings[1], 12000, true));
}

TEST_F(PlaybackManagerTest, SetPositionWhilePlayingChangesNothing) {
    ASSERT_TRUE(m_engine.Load(WriteZel("call.zel", 6).c_str()));
    m_engine.Start(TRUE, TRUE);
    m_engine.SetPosition(5 * kSecond);
    EXPECT_EQ(4 * kSecond, m_engine.NextPosition());
    EXPECT_LT(m_engine.GetPosition(), 5 * kSecond);

    ASSERT_TRUE(PlayToEnd());
    const std::vector<std::vector<int16_t>> openings = m_capture.Openings();
    ASSERT_EQ(1u, openings.size());
    EXPECT_TRUE(PlayedFrom(openings[0], 0, true));
}

TEST_F(PlaybackManagerTest, PauseKeepsThePositionAndResumesThere) {
    ASSERT_TRUE(m_engine.Load(WriteZel("call.zel", 8).c_str()));
    m_engine.Start(TRUE, TRUE);
    ASSERT_TRUE(PumpUntil([&] { return m_engine.GetPosition() >= 5 * kSecond; }));

    m_engine.TogglePause();
    const int32_t paused = m_engine.GetPosition();
    EXPECT_GE(paused, 5 * kSecond);
    EXPECT_TRUE(m_engine.IsPaused());
    EXPECT_FALSE(m_engine.IsPlaying());
    // The buffers the device gave back at the pause change nothing.
    PumpFor(200);
    EXPECT_EQ(paused, m_engine.GetPosition());
    EXPECT_TRUE(m_engine.Queue().empty());
    EXPECT_FALSE(m_engine.IsPlaying());

    m_engine.TogglePause();
    EXPECT_FALSE(m_engine.IsPaused());
    EXPECT_TRUE(m_engine.IsPlaying());
    EXPECT_GE(m_engine.GetPosition(), paused);
    ASSERT_TRUE(PlayToEnd());
    const std::vector<std::vector<int16_t>> openings = m_capture.Openings();
    ASSERT_EQ(2u, openings.size());
    EXPECT_TRUE(PlayedFrom(openings[0], 0, false));
    EXPECT_TRUE(PlayedFrom(openings[1], paused, true));
}

TEST_F(PlaybackManagerTest, PauseAtFiveSecondsResumesAtSample40000) {
    ASSERT_TRUE(m_engine.Load(WriteZel("call.zel", 8).c_str()));
    m_engine.SetPosition(5 * kSecond);
    m_engine.TogglePause();
    EXPECT_TRUE(m_engine.IsPaused());
    EXPECT_EQ(40000, m_engine.GetPosition());

    m_engine.TogglePause();
    EXPECT_TRUE(m_engine.IsPlaying());
    EXPECT_GE(m_engine.GetPosition(), 40000);
    ASSERT_TRUE(PlayToEnd());
    const std::vector<std::vector<int16_t>> openings = m_capture.Openings();
    ASSERT_EQ(1u, openings.size());
    EXPECT_TRUE(PlayedFrom(openings[0], 40000, true));
}

// The player's step buttons: pause, set the position, resume, with no message
// handled in between, so the buffers given back by the pause arrive while the
// device plays again.
TEST_F(PlaybackManagerTest, SeekWhilePlayingGoesOnFromTheTarget) {
    ASSERT_TRUE(m_engine.Load(WriteZel("call.zel", 8).c_str()));
    m_engine.Start(TRUE, TRUE);
    ASSERT_TRUE(PumpUntil([&] { return m_engine.GetPosition() >= 2 * kSecond; }));

    m_engine.TogglePause();
    m_engine.SetPosition(6 * kSecond);
    m_engine.TogglePause();
    EXPECT_GE(m_engine.GetPosition(), 6 * kSecond);
    ASSERT_TRUE(PlayToEnd());
    const std::vector<std::vector<int16_t>> openings = m_capture.Openings();
    ASSERT_EQ(2u, openings.size());
    EXPECT_TRUE(PlayedFrom(openings[0], 0, false));
    EXPECT_TRUE(PlayedFrom(openings[1], 6 * kSecond, true));
}

// ---------------------------------------------------------------------------
// Loading and unloading.

enum class Leave { EmptyPath, NullPath, AnotherRecording, DeleteEngine };

class PlaybackLeaveTest : public PlaybackManagerTest,
                          public ::testing::WithParamInterface<Leave> {};

TEST_P(PlaybackLeaveTest, WritesBackPendingHeaderChanges) {
    const std::string first = WriteZel("first.zel", 2);
    const std::string second = WriteZel("second.zel", 2, 2);
    CPlaybackManager* engine =
        GetParam() == Leave::DeleteEngine ? CPlaybackManager::GetInstance() : &m_engine;
    ASSERT_TRUE(engine->Load(first.c_str()));
    engine->GetRecordFile()->SetImportant(1);
    engine->GetRecordFile()->SetComment("checked");

    switch (GetParam()) {
    case Leave::EmptyPath:
        EXPECT_FALSE(engine->Load(""));
        EXPECT_FALSE(engine->IsLoaded());
        break;
    case Leave::NullPath:
        EXPECT_FALSE(engine->Load(nullptr));
        EXPECT_FALSE(engine->IsLoaded());
        break;
    case Leave::AnotherRecording:
        EXPECT_TRUE(engine->Load(second.c_str()));
        EXPECT_STREQ(second.c_str(), engine->GetRecordFile()->GetPath().GetString());
        break;
    case Leave::DeleteEngine:
        delete engine;
        break;
    }
    const std::string bytes = ReadWholeFile(first);
    ASSERT_GE(bytes.size(), 1440u);
    EXPECT_EQ(1u, ReadLE32(bytes, 12)) << "the important flag";
    EXPECT_STREQ("checked", bytes.substr(144, 8).c_str()) << "the comment";
}

const char* const kLeaveNames[] = {"EmptyPath", "NullPath", "AnotherRecording", "DeleteEngine"};

void PrintTo(Leave leave, std::ostream* os) {
    *os << kLeaveNames[static_cast<int>(leave)];
}

INSTANTIATE_TEST_SUITE_P(Ways, PlaybackLeaveTest,
                         ::testing::Values(Leave::EmptyPath, Leave::NullPath,
                                           Leave::AnotherRecording, Leave::DeleteEngine),
                         [](const ::testing::TestParamInfo<Leave>& info) {
                             return std::string(kLeaveNames[static_cast<int>(info.param)]);
                         });

TEST_F(PlaybackManagerTest, LoadingAnotherRecordingStopsThePlayingFirst) {
    ASSERT_TRUE(m_engine.Load(WriteZel("first.zel", 8).c_str()));
    m_engine.Start(TRUE, TRUE);
    ASSERT_TRUE(m_engine.Load(WriteZel("second.zel", 3, 2).c_str()));
    EXPECT_FALSE(m_engine.IsPlaying());
    EXPECT_TRUE(m_engine.Queue().empty());
    EXPECT_EQ(0, m_engine.GetPosition());

    // The first recording's buffers, given back by the stop, leave the second alone.
    m_engine.Start(TRUE, TRUE);
    ASSERT_TRUE(PlayToEnd());
    // The first recording may have played a little before the stop.
    const std::vector<std::vector<int16_t>> openings = m_capture.Openings();
    ASSERT_FALSE(openings.empty());
    EXPECT_LE(openings.size(), 2u);
    EXPECT_TRUE(PlayedFrom(openings.back(), 0, true));
}

TEST_F(PlaybackManagerTest, FailedLoadUnloads) {
    ASSERT_TRUE(m_engine.Load(WriteZel("call.zel", 2).c_str()));
    EXPECT_FALSE(m_engine.Load(m_folder.File("missing.zel").c_str()));
    EXPECT_FALSE(m_engine.IsLoaded());
    EXPECT_FALSE(m_engine.IsReadyToPlay());
}

// The device plays straight from the recording's samples: whoever holds the
// engine's recording may read it and change its header, but only the engine,
// which stops the device first, may close it or load another file into it.
using EngineRecording =
    std::remove_pointer_t<decltype(std::declval<CPlaybackManager&>().GetRecordFile())>;

template <typename T, typename = void> struct CanClose : std::false_type {};
template <typename T>
struct CanClose<T, std::void_t<decltype(std::declval<T&>().Close())>> : std::true_type {};
template <typename T, typename = void> struct CanLoad : std::false_type {};
template <typename T>
struct CanLoad<T, std::void_t<decltype(std::declval<T&>().Load("", ""))>> : std::true_type {};
template <typename T, typename = void> struct CanLoadAndWait : std::false_type {};
template <typename T>
struct CanLoadAndWait<T, std::void_t<decltype(std::declval<T&>().LoadAndWait(""))>>
    : std::true_type {};
template <typename T, typename = void> struct CanReadAndChange : std::false_type {};
template <typename T>
struct CanReadAndChange<T, std::void_t<decltype(std::declval<T&>().GetSamples(0, 0, nullptr)),
                                       decltype(std::declval<T&>().GetBookmark(nullptr, nullptr)),
                                       decltype(std::declval<T&>().SetBookmark(0, 1)),
                                       decltype(std::declval<T&>().SetImportant(1)),
                                       decltype(std::declval<T&>().FlushHeader()),
                                       decltype(std::declval<T&>().SaveAsWavDlg())>>
    : std::true_type {};

TEST(PlaybackManagerRecording, ViewsCannotFreeTheSamplesUnderTheDevice) {
    EXPECT_FALSE(CanClose<EngineRecording>::value);
    EXPECT_FALSE(CanLoad<EngineRecording>::value);
    EXPECT_FALSE(CanLoadAndWait<EngineRecording>::value);
    EXPECT_TRUE(CanReadAndChange<EngineRecording>::value);
    // A recording of the views' own keeps all of it.
    EXPECT_TRUE(CanClose<CKWRecordFile>::value && CanLoad<CKWRecordFile>::value &&
                CanLoadAndWait<CKWRecordFile>::value);
}

// ---------------------------------------------------------------------------
// Device errors.

TEST_F(PlaybackManagerTest, DeviceThatCannotOpenIsReportedAndNothingPlays) {
    ASSERT_TRUE(m_engine.Load(WriteZel("call.zel", 2).c_str()));
    m_capture.PointNowhere();

    m_engine.Start(TRUE, TRUE);
    // What Wine 8 answers when ALSA cannot open the device: MMSYSERR_NOTENABLED.
    EXPECT_EQ((std::vector<std::string>{
                  "ERROR! There was an error opening your audio device.\n\nError Code = 3"}),
              theApp.m_prompts);
    EXPECT_FALSE(m_engine.IsPlaying());
    EXPECT_TRUE(m_engine.Queue().empty());
    EXPECT_TRUE(m_engine.IsReadyToPlay());
    EXPECT_TRUE(m_capture.Openings().empty());
}

TEST(PlaybackManagerTexts, DeviceErrorsHaveTheirTexts) {
    const struct {
        MMRESULT error;
        const char* text;
    } cases[] = {
        {MMSYSERR_ALLOCATED,
         "ERROR! Unable to open audio playback device\n\nPlayback device already in use"},
        {MMSYSERR_NODRIVER,
         "ERROR! Unable to open audio playback device\n\nNo playback device available"},
        {MMSYSERR_BADDEVICEID,
         "ERROR! There was an error opening your audio device.\n\nError Code = 2"},
        {MMSYSERR_NOTENABLED,
         "ERROR! There was an error opening your audio device.\n\nError Code = 3"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.text, CPlaybackProbe::GetDeviceErrorText(c.error).GetString())
            << "error " << c.error;
}

} // namespace
