// The search over one folder of 100,000 recordings: CSearchManager's count,
// walk (header and scores of every recording, newest first) against a native
// POSIX scan that lists the same folder and opens and reads every header.
// Both report recordings per second; the program ends with the ratio of the
// two. The POSIX scan is the reference only: the program itself stays on
// Win32. It runs on one thread, while the search spreads its header reads
// over helper threads, so the ratio depends on the idle cores of the machine.
// Run through scripts/bench.sh.
#include "native/benchmark.h"

#include "Scoring/ScoreFormManager.h"
#include "SearchManager.h"
#include "Settings.h"
#include "framework/UnixPath.h"
#include "tests/app/SearchTestCriteria.h"
#include "tests/app/StoreTestFolders.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const int kRecordings = 100000;
const size_t kHeaderSize = 1440;
const size_t kFileSize = kHeaderSize + 160;

std::string g_folder;      // Windows path with its closing backslash
std::string g_scoreFolder; // the score store's folder: no recording has a score file

void PutInt(char* record, size_t offset, int32_t value) {
    for (int i = 0; i < 4; ++i)
        record[offset + i] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
}

// A version-4 header in clear, as recorders write most calls, followed by a
// little audio; start times and lengths vary so that the sort has work.
void FillRecording(char* record, int index) {
    // Unsigned, so the spreading products wrap instead of overflowing.
    const uint32_t n = static_cast<uint32_t>(index);
    memset(record, 0, kFileSize);
    PutInt(record, 0, 4);           // version
    PutInt(record, 4, kHeaderSize); // header length
    PutInt(record, 8, 7);           // GSM 06.10
    PutInt(record, 12, n % 17 == 0);
    std::snprintf(record + 16, 128, "+49 30 %07u", (n * 7919u) % 10000000u);
    std::snprintf(record + 144, 1024, "Call %u", n);
    PutInt(record, 1168, static_cast<int32_t>(1600000000u + (n * 104729u) % 31536000u));
    PutInt(record, 1172, static_cast<int32_t>((n * 31u) % 3600u));
    std::snprintf(record + 1180, 128, "%u", 4700u + n % 50u);
    PutInt(record, 1308, -1);
    std::snprintf(record + 1312, 120, "Unknown");
}

// Written with POSIX calls: Wine looks up the name of a file to be created by
// reading the whole folder, which would make 100,000 creations quadratic.
bool MakeRecordings() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char name[MAX_PATH];
    wsprintfA(name, "%szmbench-search-%lx-%lx\\", temp, GetCurrentProcessId(), GetTickCount());
    if (!CreateDirectoryA(name, nullptr))
        return false;
    g_folder = name;
    g_scoreFolder = g_folder + "scores\\";
    std::string unixFolder;
    if (!CreateDirectoryA(g_scoreFolder.c_str(), nullptr) ||
        !UnixPathFromWindows(g_folder.c_str(), unixFolder))
        return false;
    const int dir = open(unixFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return false;
    char record[kFileSize];
    bool made = true;
    for (int i = 0; i < kRecordings && made; ++i) {
        char file[64];
        std::snprintf(file, sizeof file, "%d-2020%04d-%06d.zel", 4700 + i % 50, i % 1231, i);
        FillRecording(record, i);
        const int fd = openat(dir, file, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        made = fd >= 0 && write(fd, record, kFileSize) == static_cast<ssize_t>(kFileSize);
        if (fd >= 0)
            close(fd);
    }
    close(dir);
    return made;
}

void RemoveRecordings() {
    std::string unixFolder;
    if (g_folder.empty() || !UnixPathFromWindows(g_folder.c_str(), unixFolder))
        return;
    std::string command = "rm -rf '" + unixFolder + "'";
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "bench_Search: %s failed\n", command.c_str());
}

SearchCriteria AllOfTheFolder() {
    return MatchEverything({g_folder}, 0);
}

// One search as the main frame runs it: count, walk, newest first. The
// results are freed outside the timing.
void RunSearch(benchmark::State& state, const SearchCriteria& criteria) {
    CSearchManager* manager = CSearchManager::GetInstance();
    for (auto _ : state) {
        manager->SetCriteria(criteria, CSearchManager::kSortStartTime, 1);
        manager->Start();
        while (manager->IsWalking())
            Sleep(1);
        state.PauseTiming();
        SearchProgress progress;
        manager->GetProgress(progress);
        if (progress.Examined != kRecordings)
            state.SkipWithError("the walk did not examine every recording");
        manager->SetCriteria(SearchCriteria(), CSearchManager::kSortNone, 0);
        state.ResumeTiming();
    }
    state.counters["recordings/s"] =
        benchmark::Counter(kRecordings, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Search(benchmark::State& state) {
    RunSearch(state, AllOfTheFolder());
}
BENCHMARK(BM_Search)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The Caller-ID rule reads every header before the rules decide.
void BM_SearchByCallerId(benchmark::State& state) {
    SearchCriteria criteria = AllOfTheFolder();
    criteria.CallerIdMask = "30 1";
    RunSearch(state, criteria);
}
BENCHMARK(BM_SearchByCallerId)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The reference: list the folder, open and read each header, close.
void BM_NativeScan(benchmark::State& state) {
    std::string unixFolder;
    if (!UnixPathFromWindows(g_folder.c_str(), unixFolder)) {
        state.SkipWithError("no Unix path");
        return;
    }
    char header[kHeaderSize];
    for (auto _ : state) {
        DIR* dir = opendir(unixFolder.c_str());
        if (!dir) {
            state.SkipWithError("opendir failed");
            break;
        }
        long found = 0;
        while (const dirent* item = readdir(dir)) {
            const size_t length = strlen(item->d_name);
            if (length < 4 || strcasecmp(item->d_name + length - 4, ".zel") != 0)
                continue;
            const int fd = openat(dirfd(dir), item->d_name, O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                continue;
            if (read(fd, header, sizeof header) == static_cast<ssize_t>(sizeof header))
                ++found;
            close(fd);
        }
        closedir(dir);
        if (found != kRecordings)
            state.SkipWithError("the scan did not read every header");
    }
    state.counters["recordings/s"] =
        benchmark::Counter(kRecordings, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_NativeScan)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// Prints as usual and keeps each benchmark's rate for the ratio at the end.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            auto it = run.counters.find("recordings/s");
            if (it == run.counters.end() || run.error_occurred)
                continue;
            const std::string name = run.benchmark_name();
            if (name.rfind("BM_Search/", 0) == 0)
                m_search = it->second.value;
            else if (name.rfind("BM_NativeScan/", 0) == 0)
                m_native = it->second.value;
        }
    }
    void PrintRatio() const {
        if (m_search > 0 && m_native > 0)
            std::printf("search / native scan: %.0f / %.0f recordings/s = %.2f\n", m_search,
                        m_native, m_search / m_native);
    }

private:
    double m_search = 0;
    double m_native = 0;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    int result = 0;
    {
        CStoreTestFolders folders("ZMBenchSearch");
        if (MakeRecordings()) {
            CScoreFormManager::GetInstance()->SetFolder(g_scoreFolder.c_str());
            CRatioReporter reporter;
            benchmark::RunSpecifiedBenchmarks(&reporter);
            reporter.PrintRatio();
        } else {
            std::fprintf(stderr, "bench_Search: the recordings could not be made in %s\n",
                         g_folder.c_str());
            result = 1;
        }
        CSearchManager::DeleteInstance();
        CScoreFormManager::DeleteInstance();
        CSettings::DeleteInstance();
    }
    // Static objects are destroyed while Wine ends the process, when Win32 file
    // calls no longer work: the folder goes here.
    RemoveRecordings();
    benchmark::Shutdown();
    return result;
}
