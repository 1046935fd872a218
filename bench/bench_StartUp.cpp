// Start-up time of the program: from CreateProcess to its main window shown,
// measured the same way for Wine's own notepad in the same run, as the floor of
// what any Win32 program pays here. Each iteration starts the program, waits
// for a visible top-level window of that process with the expected title,
// then closes it and waits for the process to end (not timed). The program
// runs with the bench build's own profile. Run through scripts/bench.sh.
#include "native/benchmark.h"

#include <windows.h>

#include <chrono>
#include <cstring>
#include <string>

namespace {

// Matched by title alone: Wine may start a winelib program through a process of
// its own, whose id is not the one CreateProcess reports.
struct SFind {
    const char* titlePrefix;
    HWND found;
};

BOOL CALLBACK Look(HWND hWnd, LPARAM lParam) {
    auto* find = reinterpret_cast<SFind*>(lParam);
    char title[256] = "";
    GetWindowTextA(hWnd, title, sizeof(title));
    if (IsWindowVisible(hWnd) && strstr(title, find->titlePrefix) != nullptr) {
        find->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

// The program beside the benchmarks in the build: ../app/main/ZelDorvane.exe.so.
std::string ProgramPath() {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    path = path.substr(0, path.find_last_of('\\')); // bench
    path = path.substr(0, path.find_last_of('\\')); // the build
    return path + "\\app\\main\\ZelDorvane.exe.so";
}

// Seconds from CreateProcess to the window shown; a negative value on failure.
double TimeToWindow(std::string command, const char* titlePart) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child = {};
    const auto start = std::chrono::steady_clock::now();
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &child))
        return -1;
    SFind find{titlePart, nullptr};
    double seconds = -1;
    // The started process may be a launcher that ends at once: the window alone
    // tells that the program is up.
    for (;;) {
        Sleep(5);
        EnumWindows(Look, reinterpret_cast<LPARAM>(&find));
        if (find.found != nullptr) {
            seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            break;
        }
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(60))
            break;
    }
    if (find.found != nullptr)
        PostMessageA(find.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(child.hProcess, 30000) != WAIT_OBJECT_0)
        TerminateProcess(child.hProcess, 1);
    // The window of the closed program may outlive its process handle briefly.
    while (find.found != nullptr && IsWindow(find.found))
        Sleep(50);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return seconds;
}

void RunStartUp(benchmark::State& state, const std::string& command, const char* titlePart) {
    for (auto _ : state) {
        const double seconds = TimeToWindow(command, titlePart);
        if (seconds < 0) {
            state.SkipWithError("the program did not show its window");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

void BM_StartUpZelMoxel(benchmark::State& state) {
    RunStartUp(state, "\"" + ProgramPath() + "\"", "Zel Moxel");
}
BENCHMARK(BM_StartUpZelMoxel)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_StartUpNotepad(benchmark::State& state) {
    RunStartUp(state, "notepad.exe", "Notepad");
}
BENCHMARK(BM_StartUpNotepad)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
