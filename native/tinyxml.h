// TinyXML 1, included with the Win32 platform macros hidden: the Debian build is
// the native Linux library (with TIXML_USE_STL), and its header must see the
// same platform as the library.
#pragma once

#include "native/hide_win32.h"
#include <tinyxml.h>
#include "native/restore_win32.h"
