// Our ZIP classes against Info-ZIP on the same generated recordings, in the
// same run: about 1 GB of .zel files (a version-4 header and A-law-like audio;
// less when the disk has not room for six times that) compressed by
// CZipArchive at the default level and by `zip -6`, then both archives
// extracted by CZipArchive and by `unzip`. The program ends with the time and
// size ratios (ours / theirs). Run through scripts/bench.sh; the size can be
// set with ZM_BENCH_ZIP_MB.
#include "native/benchmark.h"

#include "ZipArchive.h"
#include "ZipException.h"
#include "tests/support/RecordFileHelpers.h"
#include "tests/support/RecordingFixtures.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

const ULONGLONG kWantedBytes = 1000ull * 1000 * 1000;

std::string g_folder;             // Windows path with its closing backslash
std::vector<std::string> g_files; // the recordings' names, inside g_folder + "src\\"
ULONGLONG g_sourceBytes = 0;

std::string Quote(const std::string& windowsPath) {
    return "'" + HostPath(windowsPath) + "'";
}

ULONGLONG FileLength(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (ULONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// G.711 A-law of one 16-bit sample.
unsigned char ALaw(int pcm) {
    int mask = 0xD5;
    if (pcm < 0) {
        mask = 0x55;
        pcm = -pcm - 1;
    }
    if (pcm > 32767)
        pcm = 32767;
    int segment = 0;
    for (int v = pcm >> 8; v; v >>= 1)
        ++segment;
    const int mantissa = (segment < 2 ? pcm >> 4 : pcm >> (segment + 3)) & 0x0F;
    return static_cast<unsigned char>(((segment << 4) | mantissa) ^ mask);
}

// Telephone speech as the recorders store it: voiced syllables of two drifting
// tones with noise, pauses of line hiss between them, 8-bit A-law.
std::string AudioLikeBytes(size_t size, uint32_t seed) {
    static float sine[4096];
    static const bool made = [] {
        for (int i = 0; i < 4096; ++i)
            sine[i] = float(std::sin(i * 2 * 3.14159265358979 / 4096));
        return true;
    }();
    (void)made;
    std::string bytes(size, '\0');
    uint32_t state = seed * 2654435761u + 1;
    uint32_t phase1 = 0, phase2 = 0, step1 = 60000, step2 = 150000;
    int syllable = 0, amplitude = 0;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        if (--syllable <= 0) {
            syllable = 800 + int(state >> 20) % 2400;
            amplitude = (state >> 8) % 3 ? 2000 + int(state >> 16) % 9000 : 0;
            step1 = 40000 + (state >> 12) % 60000;
            step2 = step1 * 5 / 2;
        }
        phase1 += step1;
        phase2 += step2;
        const int noise = int(state >> 26) - 32;
        const float voiced = 0.7f * sine[phase1 >> 20] + 0.3f * sine[phase2 >> 20];
        bytes[i] = char(ALaw(int(amplitude * voiced) + noise * 4));
    }
    return bytes;
}

bool WriteWholeFileRaw(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

// Writes the recordings; false when the disk cannot take them.
bool MakeRecordings() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char name[MAX_PATH];
    wsprintfA(name, "%szmbench-zip-%lx-%lx\\", temp, GetCurrentProcessId(), GetTickCount());
    g_folder = name;
    if (!CreateDirectoryA(g_folder.c_str(), nullptr) ||
        !CreateDirectoryA((g_folder + "src").c_str(), nullptr))
        return false;
    // Sources, two archives and one extraction at a time, with room to spare.
    ULARGE_INTEGER freeBytes;
    ULONGLONG wanted = kWantedBytes;
    if (const char* mb = std::getenv("ZM_BENCH_ZIP_MB"))
        wanted = ULONGLONG(std::atoll(mb)) * 1000 * 1000;
    if (GetDiskFreeSpaceExA(g_folder.c_str(), &freeBytes, nullptr, nullptr) &&
        freeBytes.QuadPart / 6 < wanted)
        wanted = freeBytes.QuadPart / 6;
    std::printf("bench_Zip: %llu MB of recordings in %s\n", (unsigned long long)(wanted / 1000000),
                g_folder.c_str());
    for (uint32_t n = 0; g_sourceBytes < wanted; ++n) {
        RecordingFields fields;
        fields.format = 1;
        fields.callerId = "+49 30 " + std::to_string(5550000 + n);
        fields.startTime = int32_t(1600000000 + n * 3607);
        const size_t audio = 1000000 + size_t((n * 2654435761u) % 7000000u);
        fields.duration = int32_t(audio / 8000);
        const std::string bytes = MakeHeaderV2to4(4, 1440, fields) + AudioLikeBytes(audio, n);
        char file[64];
        std::snprintf(file, sizeof file, "4711-%08u.zel", n);
        if (!WriteWholeFileRaw(g_folder + "src\\" + file, bytes))
            return false;
        g_files.push_back(file);
        g_sourceBytes += bytes.size();
    }
    return true;
}

std::string OurArchive() {
    return g_folder + "ours.zip";
}
std::string InfoZipArchive() {
    return g_folder + "infozip.zip";
}

void RemoveTree(const std::string& folder) {
    std::string output;
    RunNativeCommand("rm -rf " + Quote(folder), &output);
}

void Report(benchmark::State& state, ULONGLONG archiveBytes) {
    state.counters["MB/s"] = benchmark::Counter(double(g_sourceBytes) / 1e6,
                                                benchmark::Counter::kIsIterationInvariantRate);
    if (archiveBytes)
        state.counters["archive/source"] = double(archiveBytes) / double(g_sourceBytes);
}

void BM_CompressOurs(benchmark::State& state) {
    for (auto _ : state) {
        DeleteFileA(OurArchive().c_str());
        CZipArchive zip;
        try {
            zip.OpenArchive(OurArchive().c_str(), CZipArchive::zipCreate);
            for (const std::string& file : g_files)
                if (!zip.AddFileFromDisk((g_folder + "src\\" + file).c_str(), file.c_str()))
                    state.SkipWithError("an add was refused");
            zip.CloseArchive();
        } catch (CException* e) {
            e->Delete();
            zip.CloseArchive(CZipArchive::afAfterException);
            state.SkipWithError("the archive raised an exception");
        }
    }
    Report(state, FileLength(OurArchive()));
}
BENCHMARK(BM_CompressOurs)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_CompressInfoZip(benchmark::State& state) {
    for (auto _ : state) {
        DeleteFileA(InfoZipArchive().c_str());
        std::string output;
        if (!RunNativeCommand("cd " + Quote(g_folder + "src") + " && zip -q -6 -X " +
                                  Quote(InfoZipArchive()) + " *.zel",
                              &output))
            state.SkipWithError("zip failed");
    }
    Report(state, FileLength(InfoZipArchive()));
}
BENCHMARK(BM_CompressInfoZip)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void ExtractOurs(benchmark::State& state, const std::string& archive) {
    const std::string out = g_folder + "out";
    for (auto _ : state) {
        CZipArchive zip;
        try {
            if (!zip.OpenArchive(archive.c_str(), CZipArchive::zipOpenReadOnly) ||
                zip.GetCount() != g_files.size())
                state.SkipWithError("the archive does not open with every entry");
            for (WORD i = 0; i < zip.GetCount(); ++i)
                if (!zip.ExtractEntry(i, out.c_str()))
                    state.SkipWithError("an extraction was refused");
            zip.CloseArchive();
        } catch (CException* e) {
            e->Delete();
            zip.CloseArchive(CZipArchive::afAfterException);
            state.SkipWithError("the archive raised an exception");
        }
        state.PauseTiming();
        RemoveTree(out);
        state.ResumeTiming();
    }
    Report(state, 0);
}

void ExtractUnzip(benchmark::State& state, const std::string& archive) {
    const std::string out = g_folder + "out";
    for (auto _ : state) {
        std::string output;
        if (!RunNativeCommand("unzip -q -o " + Quote(archive) + " -d " + Quote(out), &output))
            state.SkipWithError("unzip failed");
        state.PauseTiming();
        RemoveTree(out);
        state.ResumeTiming();
    }
    Report(state, 0);
}

void BM_ExtractOursByOurs(benchmark::State& state) {
    ExtractOurs(state, OurArchive());
}
BENCHMARK(BM_ExtractOursByOurs)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_ExtractOursByUnzip(benchmark::State& state) {
    ExtractUnzip(state, OurArchive());
}
BENCHMARK(BM_ExtractOursByUnzip)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_ExtractInfoZipByOurs(benchmark::State& state) {
    ExtractOurs(state, InfoZipArchive());
}
BENCHMARK(BM_ExtractInfoZipByOurs)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_ExtractInfoZipByUnzip(benchmark::State& state) {
    ExtractUnzip(state, InfoZipArchive());
}
BENCHMARK(BM_ExtractInfoZipByUnzip)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// Prints as usual and keeps every run's real time and size ratio for the
// comparison at the end.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const std::string name = run.benchmark_name().substr(0, run.benchmark_name().find('/'));
            m_seconds[name] = run.GetAdjustedRealTime() / 1000.0;
            auto size = run.counters.find("archive/source");
            if (size != run.counters.end())
                m_sizes[name] = size->second.value;
        }
    }
    void PrintRatios() {
        Ratio("compression time, ours / zip -6", m_seconds, "BM_CompressOurs",
              "BM_CompressInfoZip");
        Ratio("archive size, ours / zip -6", m_sizes, "BM_CompressOurs", "BM_CompressInfoZip");
        Ratio("extraction time of our archive, ours / unzip", m_seconds, "BM_ExtractOursByOurs",
              "BM_ExtractOursByUnzip");
        Ratio("extraction time of zip's archive, ours / unzip", m_seconds,
              "BM_ExtractInfoZipByOurs", "BM_ExtractInfoZipByUnzip");
    }

private:
    static void Ratio(const char* what, std::map<std::string, double>& values, const char* ours,
                      const char* theirs) {
        if (values.count(ours) && values.count(theirs) && values[theirs] > 0)
            std::printf("%s: %.3f / %.3f = %.3f\n", what, values[ours], values[theirs],
                        values[ours] / values[theirs]);
    }

    std::map<std::string, double> m_seconds;
    std::map<std::string, double> m_sizes;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    int result = 0;
    if (MakeRecordings()) {
        std::printf("bench_Zip: %zu recordings, %llu bytes\n", g_files.size(),
                    (unsigned long long)g_sourceBytes);
        CRatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        reporter.PrintRatios();
    } else {
        std::fprintf(stderr, "bench_Zip: the recordings could not be made in %s\n",
                     g_folder.c_str());
        result = 1;
    }
    RemoveTree(g_folder);
    benchmark::Shutdown();
    return result;
}
