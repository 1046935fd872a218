// OwnerOnlyFile.h: CreateOwnerOnlyFile, which makes a file anew that only its
// owner may read.
//
// The crash report carries the user's screen, environment and memory into the
// all-users Log folder, where the report sender expects it and other users
// could read it. The file is born with the Unix mode 0600 (Wine does not
// enforce Windows access lists), so nobody else can open it even for a moment.
#pragma once

#include <windows.h>

// Replaces any old file at path with an empty one open for writing, not
// shared; flags are CreateFile's flags and attributes. INVALID_HANDLE_VALUE
// when the file cannot be created; a file whose mode cannot be restricted is
// still returned, with the failure traced, since losing the report is worse.
HANDLE CreateOwnerOnlyFile(LPCSTR path, DWORD flags);
