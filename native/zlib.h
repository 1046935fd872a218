// zlib, included with the Win32 platform macros hidden: the Debian build is the
// native Linux library, and its header must see the same platform as the library
// (on Windows it declares wide-character calls and other calling conventions).
#pragma once

#include "native/hide_win32.h"
#include <zlib.h>
#include "native/restore_win32.h"
