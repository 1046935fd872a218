// Misuse.h: EXPECT_MISUSE_REFUSED, for calls that break a framework class's
// contract (creating a second handle over the first, reading into a full object).
// The framework asserts on such a call where its assertions are compiled in, as in
// the test builds, and refuses it with a false result elsewhere: the test checks
// whichever the build has. The assertion ends the process, so it is awaited in a
// forked copy of the test (Wine's program cannot be started again by path).
#pragma once

#include "native/gtest.h"

#include "framework/Object.h"

#if ZM_AFX_DIAGNOSTICS_ON
#define EXPECT_MISUSE_REFUSED(call)                                                                \
    do {                                                                                           \
        GTEST_FLAG_SET(death_test_style, "fast");                                                  \
        EXPECT_DEATH((void)(call), "ASSERT failed");                                               \
    } while (0)
#else
#define EXPECT_MISUSE_REFUSED(call) EXPECT_FALSE(call)
#endif
