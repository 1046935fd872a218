// Reading the headers of a folder of 10,000 recordings, as a search does: our
// CKWRecordFileHdr::LoadFromFile against a native baseline of POSIX open, read
// of 1,440 bytes and close on the same files. The baseline's Unix paths are the
// folder's Unix path (UnixPathFromWindows, once) followed by each file name, so
// that it pays nothing for Wine's path translation. Run through scripts/bench.sh.
#include "native/benchmark.h"

#include "Common/KWRecordFileHdr.h"
#include "framework/Exception.h"
#include "framework/File.h"
#include "framework/UnixPath.h"

#include <windows.h>

#include <fcntl.h>
#include <unistd.h>

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
        ok = true;
    }
    // POSIX calls: this runs after main, when Win32 file calls no longer work.
    ~RecordingFolder() {
        for (const std::string& path : unixPaths)
            unlink(path.c_str());
        if (!unixFolder.empty())
            rmdir(unixFolder.c_str());
    }
};

RecordingFolder& Folder() {
    static RecordingFolder folder;
    return folder;
}

void BM_LoadFromFile(benchmark::State& state) {
    RecordingFolder& folder = Folder();
    if (!folder.ok) {
        state.SkipWithError("the recordings could not be made");
        return;
    }
    CKWRecordFileHdr hdr;
    for (auto _ : state) {
        for (const std::string& path : folder.windowsPaths) {
            if (hdr.LoadFromFile(path.c_str(), "") != kHeaderBytes) {
                state.SkipWithError("a header was not read");
                return;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * kRecordings);
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond);

void BM_PosixOpenReadClose(benchmark::State& state) {
    RecordingFolder& folder = Folder();
    if (!folder.ok) {
        state.SkipWithError("the recordings could not be made");
        return;
    }
    char buffer[kHeaderBytes];
    for (auto _ : state) {
        for (const std::string& path : folder.unixPaths) {
            const int fd = open(path.c_str(), O_RDONLY);
            if (fd < 0 || read(fd, buffer, sizeof buffer) != static_cast<ssize_t>(sizeof buffer)) {
                state.SkipWithError("a header was not read");
                return;
            }
            close(fd);
            benchmark::DoNotOptimize(buffer);
        }
    }
    state.SetItemsProcessed(state.iterations() * kRecordings);
}
BENCHMARK(BM_PosixOpenReadClose)->Unit(benchmark::kMillisecond);

} // namespace
