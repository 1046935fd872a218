// Google Benchmark, included with the Win32 platform macros hidden (see gtest.h).
#pragma once

#include "native/hide_win32.h"
#include <benchmark/benchmark.h>
#include "native/restore_win32.h"
