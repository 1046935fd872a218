// Start latency of the playback engine for a one-hour GSM recording, as the
// call list's double-click pays it: Load (open the file, decode it on the
// decoder thread and wait for the decoder) and then Start, which opens the
// wave-out device and writes the first buffer (and the three after it) before
// it returns. The two halves are also timed alone. The recording is made once
// per run. Sound goes to ALSA's null device through an ALSA configuration of
// the benchmark's own, so the run needs no sound card and plays nothing aloud.
// Run through scripts/bench.sh.
#include "native/benchmark.h"

#include "Common/KWAudioCodec.h"
#include "Common/KWRecordFileHdr.h"
#include "Common/PlaybackManager.h"
#include "framework/Exception.h"
#include "framework/File.h"
#include "framework/UnixPath.h"
#include "framework/Wnd.h"

#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

const int32_t kSeconds = 3600;
const int32_t kSamplesPerSecond = 8000;
const int32_t kGsmFormat = 49;
const char kAlsaConfiguration[] = "pcm.!default { type null }\n";

// A one-hour GSM recording in the temporary folder: a version-4 header and
// one encoded second of a 440 Hz tone repeated for an hour.
struct Recording {
    std::string windowsPath;
    std::string unixPath;
    std::string alsaConfiguration;
    bool ok = false;

    Recording() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        char name[MAX_PATH];
        wsprintfA(name, "%szmbench-play-%lx.zel", temp, GetCurrentProcessId());
        windowsPath = name;
        if (!UnixPathFromWindows(name, unixPath) || !WriteAlsaConfiguration())
            return;

        CKWRecordFileHdr hdr;
        hdr.SetFormat(kGsmFormat);
        hdr.SetDuration(kSeconds);
        if (!hdr.SaveToFile(name))
            return;
        std::vector<int16_t> tone(kSamplesPerSecond);
        for (int32_t i = 0; i < kSamplesPerSecond; ++i)
            tone[i] =
                static_cast<int16_t>(12000 * std::sin(i * 2 * M_PI * 440 / kSamplesPerSecond));
        uint8_t* frames = nullptr;
        const int32_t size = GsmEncode(&frames, tone.data(), kSamplesPerSecond);
        if (!frames)
            return;
        CFile file;
        if (file.Open(name, CFile::modeWrite | CFile::modeNoTruncate)) {
            try {
                file.SeekToEnd();
                for (int32_t second = 0; second < kSeconds; ++second)
                    file.Write(frames, size);
                file.Close();
                ok = true;
            } catch (CException* e) {
                e->Delete();
            }
        }
        delete[] frames;
    }
    // Wine reads the sound configuration at the first waveOutOpen, after this.
    // The file lies in /tmp: ALSA_CONFIG_PATH is a list that colons separate,
    // and Wine's own paths run through "dosdevices/c:".
    bool WriteAlsaConfiguration() {
        char path[] = "/tmp/zmbench-asound-XXXXXX";
        const int fd = mkstemp(path);
        if (fd < 0)
            return false;
        alsaConfiguration = path;
        const ssize_t size = sizeof kAlsaConfiguration - 1;
        const bool written = write(fd, kAlsaConfiguration, size) == size;
        close(fd);
        setenv("ALSA_CONFIG_PATH", path, 1);
        setenv("PULSE_SERVER", "unix:/nonexistent/zm-no-pulse-server", 1);
        return written;
    }
    // POSIX calls: this runs after main, when Win32 file calls no longer work.
    ~Recording() {
        if (!unixPath.empty())
            unlink(unixPath.c_str());
        if (!alsaConfiguration.empty())
            unlink(alsaConfiguration.c_str());
    }
};

Recording& TheRecording() {
    static Recording recording;
    return recording;
}

// The engine with a window for the device's messages, as the main frame gives it.
struct Player {
    CWnd window;
    CPlaybackManager* engine;

    Player() : engine(CPlaybackManager::GetInstance()) {
        const RECT rect = {0, 0, 100, 100};
        window.CreateEx(0, nullptr, "notify", WS_POPUP, rect, nullptr, 0);
        engine->SetNotifyWindow(&window);
    }
    ~Player() { delete engine; }

    // Starts from a new engine, so that the next Load opens and decodes the
    // recording again instead of finding it loaded.
    void Eject() {
        delete engine;
        engine = CPlaybackManager::GetInstance();
        engine->SetNotifyWindow(&window);
    }
};

bool Ready(benchmark::State& state) {
    if (!TheRecording().ok)
        state.SkipWithError("the recording could not be made");
    return TheRecording().ok;
}

void BM_LoadToFirstBuffer(benchmark::State& state) {
    if (!Ready(state))
        return;
    Player player;
    for (auto _ : state) {
        if (!player.engine->Load(TheRecording().windowsPath.c_str())) {
            state.SkipWithError("the recording did not load");
            return;
        }
        player.engine->Start(TRUE, TRUE);
        state.PauseTiming();
        const bool playing = player.engine->IsPlaying();
        player.Eject();
        state.ResumeTiming();
        if (!playing) {
            state.SkipWithError("the device did not play");
            return;
        }
    }
}
BENCHMARK(BM_LoadToFirstBuffer)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Load(benchmark::State& state) {
    if (!Ready(state))
        return;
    Player player;
    for (auto _ : state) {
        if (!player.engine->Load(TheRecording().windowsPath.c_str())) {
            state.SkipWithError("the recording did not load");
            return;
        }
        state.PauseTiming();
        player.Eject();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->Iterations(5);

// Start alone: opening the device and writing the first four buffers.
void BM_StartPlaying(benchmark::State& state) {
    if (!Ready(state))
        return;
    Player player;
    if (!player.engine->Load(TheRecording().windowsPath.c_str())) {
        state.SkipWithError("the recording did not load");
        return;
    }
    for (auto _ : state) {
        player.engine->Start(TRUE, TRUE);
        state.PauseTiming();
        const bool playing = player.engine->IsPlaying();
        player.engine->Start(FALSE, TRUE);
        state.ResumeTiming();
        if (!playing) {
            state.SkipWithError("the device did not play");
            return;
        }
    }
}
BENCHMARK(BM_StartPlaying)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
