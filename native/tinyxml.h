// TinyXML 1, included with the Win32 platform macros hidden: the Debian build is
// the native Linux library (with TIXML_USE_STL), and its header must see the
// same platform as the library.
#pragma once

#include "native/hide_win32.h"
#include <tinyxml.h>
#include "native/restore_win32.h"

namespace zm_tinyxml {

// TinyXML condenses every run of blanks in the texts it reads unless told not
// to, and the switch is one static for the whole process. A passphrase or a
// folder must read back exactly as it was written, so every program that uses
// the library through this header turns the condensing off before main runs.
inline const bool g_keepsWhiteSpace = (TiXmlBase::SetCondenseWhiteSpace(false), true);

} // namespace zm_tinyxml
