// GoogleTest, included with the Win32 platform macros hidden: its headers take
// their Windows branch when _WIN32 is defined, but the library on this machine is
// the native Linux build.
#pragma once

#include "native/hide_win32.h"
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include "native/restore_win32.h"
