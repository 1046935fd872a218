// CFile (POSIX calls on the path Wine translates) against Wine's own file calls:
// open, read and close of a small file, as the header reader and the search do
// for every recording. Run through scripts/bench.sh.
#include "native/benchmark.h"

#include "framework/File.h"
#include "framework/UnixPath.h"

#include <windows.h>

#include <string>

namespace {

std::string g_smallFile;

// A file of 1440 bytes (one recording header) in the temporary folder, made once
// and removed by main.
const std::string& SmallFile() {
    if (g_smallFile.empty()) {
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        char name[MAX_PATH];
        wsprintfA(name, "%szmbench-file-%lx.zel", folder, GetCurrentProcessId());
        HANDLE h = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        char bytes[1440] = {4, 0, 0, 0};
        DWORD written = 0;
        WriteFile(h, bytes, sizeof bytes, &written, nullptr);
        CloseHandle(h);
        g_smallFile = name;
    }
    return g_smallFile;
}

void BM_CFile_OpenReadClose(benchmark::State& state) {
    const std::string& path = SmallFile();
    char buffer[1440];
    for (auto _ : state) {
        CFile file;
        if (!file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyWrite)) {
            state.SkipWithError("open failed");
            break;
        }
        benchmark::DoNotOptimize(file.Read(buffer, sizeof buffer));
        file.Close();
    }
}
BENCHMARK(BM_CFile_OpenReadClose);

void BM_Win32_OpenReadClose(benchmark::State& state) {
    const std::string& path = SmallFile();
    char buffer[1440];
    for (auto _ : state) {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            state.SkipWithError("open failed");
            break;
        }
        DWORD read = 0;
        benchmark::DoNotOptimize(ReadFile(h, buffer, sizeof buffer, &read, nullptr));
        CloseHandle(h);
    }
}
BENCHMARK(BM_Win32_OpenReadClose);

// The part of CFile::Open that is Wine's: the path translation alone.
void BM_UnixPathFromWindows(benchmark::State& state) {
    const std::string& path = SmallFile();
    std::string unixPath;
    for (auto _ : state) {
        benchmark::DoNotOptimize(UnixPathFromWindows(path.c_str(), unixPath));
    }
}
BENCHMARK(BM_UnixPathFromWindows);

} // namespace

// Static objects are destroyed while Wine ends the process, when Win32 file calls
// no longer work: the file is removed here instead.
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!g_smallFile.empty())
        DeleteFileA(g_smallFile.c_str());
    return 0;
}
