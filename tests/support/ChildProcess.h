// ChildProcess.h: runs test cases of the running test program in a child
// process and checks that they really ran: a child whose filter matches no
// test case ends with 0 as well.
#pragma once

#include "native/gtest.h"

#include <string>

// A safety net for the waits for a child: generous, so that only a child that
// hangs meets it.
const unsigned long kChildTimeoutMs = 100000;

// The command line that runs this program's test cases of filter (disabled
// ones included) and has GoogleTest write its JSON report to report, a Win32
// path.
std::string ChildTestCommand(const std::string& filter, const std::string& report);

// Success when the JSON report at report (a Win32 path) shows that exactly
// count test cases ran, and that none failed or was skipped.
::testing::AssertionResult ChildTestsPassed(const std::string& report, int count);

// Runs the one test case of filter in a child that Wine starts with
// WINEDLLOVERRIDES=overrides (for example "uxtheme=d"), for tests of what the
// program does when a library is missing. Success when it ran and passed.
::testing::AssertionResult RunTestInChild(const std::string& filter, const std::string& overrides);
