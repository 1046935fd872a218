// ChildProcess.cpp: child runs of the test program and the check of their
// GoogleTest reports.
#include "ChildProcess.h"

#include "TempFolder.h"
#include "framework/UnixPath.h"

#include <windows.h>

#include <cstdlib>

namespace {

// The number after "key": at the report's top level, its first occurrence;
// -1 when it is not there.
int TopLevelCount(const std::string& json, const char* key) {
    const std::string quoted = std::string("\"") + key + "\": ";
    const size_t at = json.find(quoted);
    return at == std::string::npos ? -1 : std::atoi(json.c_str() + at + quoted.size());
}

} // namespace

std::string ChildTestCommand(const std::string& filter, const std::string& report) {
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    // GoogleTest opens the report with the C library, which needs the Unix path.
    std::string reportOption;
    if (!UnixPathFromWindows(report.c_str(), reportOption))
        reportOption = report;
    // The Win32 name lacks the ".so" of the winelib program file.
    return std::string("\"") + program +
           ".so\" --gtest_also_run_disabled_tests --gtest_filter=" + filter +
           " \"--gtest_output=json:" + reportOption + "\"";
}

::testing::AssertionResult ChildTestsPassed(const std::string& report, int count) {
    const std::string json = ReadWholeFile(report);
    if (json.empty())
        return ::testing::AssertionFailure() << "the child wrote no test report";
    const int ran = TopLevelCount(json, "tests");
    const int failed = TopLevelCount(json, "failures");
    if (ran != count)
        return ::testing::AssertionFailure()
               << "the child ran " << ran << " test cases, not " << count << ":\n"
               << json;
    if (failed != 0)
        return ::testing::AssertionFailure() << "the child failed:\n" << json;
    if (json.find("\"result\": \"SKIPPED\"") != std::string::npos)
        return ::testing::AssertionFailure() << "the child skipped its test case:\n" << json;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult RunTestInChild(const std::string& filter, const std::string& overrides) {
    CTempFolder folder;
    const std::string report = folder.File("child.json");
    std::string command = ChildTestCommand(filter, report);
    // Wine starts a child with the Unix environment of its parent and reads the
    // overrides from there: the Win32 environment block does not reach it.
    const char* previous = getenv("WINEDLLOVERRIDES");
    const std::string saved = previous ? previous : "";
    if (setenv("WINEDLLOVERRIDES", overrides.c_str(), 1) != 0)
        return ::testing::AssertionFailure() << "cannot set WINEDLLOVERRIDES";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child = {};
    const BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                        nullptr, &startup, &child);
    if (previous)
        setenv("WINEDLLOVERRIDES", saved.c_str(), 1);
    else
        unsetenv("WINEDLLOVERRIDES");
    if (!started)
        return ::testing::AssertionFailure() << "cannot start " << command;
    const bool ended = WaitForSingleObject(child.hProcess, kChildTimeoutMs) == WAIT_OBJECT_0;
    DWORD exitCode = 0;
    if (ended)
        GetExitCodeProcess(child.hProcess, &exitCode);
    else
        TerminateProcess(child.hProcess, 1);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    if (!ended)
        return ::testing::AssertionFailure()
               << "the child " << filter << " did not end within " << kChildTimeoutMs << " ms";
    if (exitCode != 0)
        return ::testing::AssertionFailure()
               << "the child " << filter << " ended with " << exitCode;
    return ChildTestsPassed(report, 1);
}
