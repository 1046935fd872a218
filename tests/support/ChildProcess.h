// ChildProcess.h: RunTestInChild, which runs one (disabled) test case of the
// running test program in a child process that Wine starts with some DLLs
// overridden, for tests of what the program does when a library is missing.
#pragma once

#include <string>

// Runs the test program again with --gtest_filter=filter (disabled tests
// included) and WINEDLLOVERRIDES=overrides (for example "uxtheme=d"); waits up
// to a minute. The child's exit code (0: every test passed), or -1 when it
// could not be started or did not end in time.
int RunTestInChild(const std::string& filter, const std::string& overrides);
