// Reading the headers of a folder of 10,000 recordings, as a search does: our
// CKWRecordFileHdr::LoadFromFile against a native baseline of POSIX open, read
// of 1,440 bytes and close on the same files. The baseline's Unix paths are the
// folder's Unix path (UnixPathFromWindows, once) followed by each file name, so
// that it pays nothing for Wine's path translation.
//
// Each reader runs warm (the files' data in the page cache) and cold (the data
// evicted with posix_fadvise before every pass, outside the timing; the folder's
// entries and inodes stay cached). Unless the command line says otherwise, the
// four variants run 9 times each in random order and only the mean, median and
// spread are reported: a machine that slows down for a while then touches every
// variant alike instead of the one that happened to run then. Run through
// scripts/bench.sh.
#include "native/benchmark.h"

#include "Common/KWRecordFileHdr.h"
#include "framework/Exception.h"
#include "framework/File.h"
#include "framework/UnixPath.h"

#include <windows.h>

#include <fcntl.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const int kRecordings = 10000;
const size_t kHeaderBytes = 1440;
const size_t kAudioBytes = 1650; // 50 GSM frames

bool AppendAudio(const char* path) {
    static const std::vector<char> audio(kAudioBytes, 0x55);
    CFile file;
    if (!file.Open(path, CFile::modeWrite | CFile::modeNoTruncate | CFile::shareExclusive))
        return false;
    try {
        file.SeekToEnd();
        file.Write(audio.data(), kAudioBytes);
        file.Close();
    } catch (CException* e) {
        e->Delete();
        return false;
    }
    return true;
}

// The folder of recordings, made once: version-4 headers followed by one second
// of GSM audio, named as a recorder names its files.
struct RecordingFolder {
    std::string windowsFolder;
    std::string unixFolder;
    std::vector<std::string> windowsPaths;
    std::vector<std::string> unixPaths;
    bool ok = false;

    RecordingFolder() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        char folder[MAX_PATH];
        wsprintfA(folder, "%szmbench-hdr-%lx-%lx", temp, GetCurrentProcessId(), GetTickCount());
        if (!CreateDirectoryA(folder, nullptr))
            return;
        windowsFolder = folder;
        if (!UnixPathFromWindows(folder, unixFolder))
            return;
        CKWRecordFileHdr hdr;
        hdr.SetFormat(49);
        hdr.SetDuration(35);
        hdr.SetComment("Customer asked about the invoice.");
        for (int i = 0; i < kRecordings; ++i) {
            char name[64];
            wsprintfA(name, "%05d-20090115-103000.zel", i);
            windowsPaths.push_back(windowsFolder + "\\" + name);
            unixPaths.push_back(unixFolder + "/" + name);
            hdr.SetCallerId(name);
            if (!hdr.SaveToFile(windowsPaths.back().c_str()) ||
                !AppendAudio(windowsPaths.back().c_str()))
                return;
        }
        // Written pages stay in the cache until they are clean.
        const int dir = open(unixFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ok = dir >= 0 && syncfs(dir) == 0;
        if (dir >= 0)
            close(dir);
    }
    ~RecordingFolder() {
        for (const std::string& path : unixPaths)
            unlink(path.c_str());
        if (!unixFolder.empty())
            rmdir(unixFolder.c_str());
    }

    // Drops the files' data from the page cache.
    bool Evict() const {
        for (const std::string& path : unixPaths) {
            const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                return false;
            const int rc = posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
            close(fd);
            if (rc != 0)
                return false;
        }
        return true;
    }
};

// Made by the first benchmark that runs and removed by main: a static object's
// destructor would run while Wine ends the process, which cuts it short.
std::unique_ptr<RecordingFolder> g_folder;

RecordingFolder& Folder() {
    if (!g_folder)
        g_folder.reset(new RecordingFolder);
    return *g_folder;
}

// Runs one pass of readHeader over every file per iteration; state.range(0) 1
// evicts the data before each pass.
template <class ReadHeader> void ScanFolder(benchmark::State& state, ReadHeader readHeader) {
    RecordingFolder& folder = Folder();
    if (!folder.ok) {
        state.SkipWithError("the recordings could not be made");
        return;
    }
    const bool cold = state.range(0) != 0;
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            const bool evicted = folder.Evict();
            state.ResumeTiming();
            if (!evicted) {
                state.SkipWithError("the files could not be evicted from the cache");
                return;
            }
        }
        for (int i = 0; i < kRecordings; ++i) {
            if (!readHeader(i)) {
                state.SkipWithError("a header was not read");
                return;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * kRecordings);
}

void BM_LoadFromFile(benchmark::State& state) {
    const RecordingFolder& folder = Folder();
    CKWRecordFileHdr hdr;
    ScanFolder(state, [&](int i) {
        return hdr.LoadFromFile(folder.windowsPaths[i].c_str(), "") == kHeaderBytes;
    });
}

void BM_PosixOpenReadClose(benchmark::State& state) {
    const RecordingFolder& folder = Folder();
    char buffer[kHeaderBytes];
    ScanFolder(state, [&](int i) {
        const int fd = open(folder.unixPaths[i].c_str(), O_RDONLY);
        if (fd < 0)
            return false;
        const bool read_ = read(fd, buffer, sizeof buffer) == static_cast<ssize_t>(sizeof buffer);
        close(fd);
        benchmark::DoNotOptimize(buffer);
        return read_;
    });
}

void ColdAndWarm(benchmark::internal::Benchmark* b) {
    b->ArgName("cold")->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_LoadFromFile)->Apply(ColdAndWarm);
BENCHMARK(BM_PosixOpenReadClose)->Apply(ColdAndWarm);

} // namespace

// Defaults first: flags given on the command line come later and win.
int main(int argc, char** argv) {
    std::vector<char*> args{argv[0]};
    char repetitions[] = "--benchmark_repetitions=9";
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    char aggregates[] = "--benchmark_report_aggregates_only=true";
    args.insert(args.end(), {repetitions, interleave, aggregates});
    args.insert(args.end(), argv + 1, argv + argc);
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    g_folder.reset();
    benchmark::Shutdown();
    return 0;
}
