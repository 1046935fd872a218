// SetAsideFile.h: keeping a user's file that the program cannot read. Instead
// of saving defaults over it, the caller renames it aside and tells the user
// where it went.
#pragma once

#include "AfxString.h"

// Whether anything that might hold the user's data is at the path: an empty
// file holds nothing and counts as none; a folder of that name counts.
bool HoldsSomething(const CString& path);
// Renames what is at the path to "<name>.unreadable-YYYYMMDD-HHMMSS" beside it,
// with "-2", "-3", ... added when an earlier one has that name: it is never
// moved over an earlier one. The new name goes to backup; false (traced) when
// it cannot be renamed.
bool MoveAside(const CString& path, CString& backup);
