// ChildProcess.cpp: a child run of the test program under other DLL overrides.
#include "ChildProcess.h"

#include <windows.h>

#include <cstdlib>

namespace {

const DWORD kChildTimeoutMs = 60000;

} // namespace

int RunTestInChild(const std::string& filter, const std::string& overrides) {
    char program[MAX_PATH];
    if (GetModuleFileNameA(nullptr, program, MAX_PATH) == 0)
        return -1;
    // The Win32 name lacks the ".so" of the winelib program file.
    std::string command = std::string("\"") + program + ".so" +
                          "\" --gtest_also_run_disabled_tests --gtest_filter=" + filter;
    // Wine starts a child with the Unix environment of its parent and reads the
    // overrides from there: the Win32 environment block does not reach it.
    const char* previous = getenv("WINEDLLOVERRIDES");
    std::string saved = previous ? previous : "";
    if (setenv("WINEDLLOVERRIDES", overrides.c_str(), 1) != 0)
        return -1;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child = {};
    BOOL bStarted = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &child);
    if (previous)
        setenv("WINEDLLOVERRIDES", saved.c_str(), 1);
    else
        unsetenv("WINEDLLOVERRIDES");
    if (!bStarted)
        return -1;
    DWORD exitCode = static_cast<DWORD>(-1);
    if (WaitForSingleObject(child.hProcess, kChildTimeoutMs) != WAIT_OBJECT_0)
        TerminateProcess(child.hProcess, static_cast<UINT>(-1));
    else
        GetExitCodeProcess(child.hProcess, &exitCode);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return static_cast<int>(exitCode);
}
