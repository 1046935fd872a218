// ArchiveLookup.h: ArchiveJobInfo and the one hook through which the call
// list's archive column and the search's sort by archive time ask whether and
// when a recording was archived.
//
// The program keeps no archive log yet; the archiving sets the hook from its
// log when it starts. Until then every recording is "never archived".
#pragma once

#include "KWFileListEntry.h"
#include "KWString.h"

#include <windows.h>

#include <vector>

// The newest archive job that holds a recording.
struct ArchiveJobInfo {
    int type;  // 1 folder, 2 ZIP, 3 ISO; 0 when not archived
    LONG time; // seconds since 1970 (UTC); -1 when not archived
    std::vector<CKWString> reportLines;
};

// Fills info and returns true when the recording was archived. Called on the
// user-interface thread and on the search thread.
using ArchiveLookupFn = bool (*)(const CKWFileListEntry&, ArchiveJobInfo&);

// Null removes the hook.
void SetArchiveLookup(ArchiveLookupFn lookup);
// Asks the hook; false, with type 0, time -1 and no report lines, when no hook
// is set or the hook knows no job for the recording.
bool LookUpArchiveJob(const CKWFileListEntry& entry, ArchiveJobInfo& info);
