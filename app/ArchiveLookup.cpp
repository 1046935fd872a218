// ArchiveLookup.cpp: the archive-lookup hook.
#include "ArchiveLookup.h"

#include <atomic>

namespace {

// Set on the user-interface thread while a search thread may be sorting.
std::atomic<ArchiveLookupFn> g_lookup{nullptr};

void SetNotArchived(ArchiveJobInfo& info) {
    info.type = 0;
    info.time = -1;
    info.reportLines.clear();
}

} // namespace

void SetArchiveLookup(ArchiveLookupFn lookup) {
    g_lookup = lookup;
}

bool LookUpArchiveJob(const CKWFileListEntry& entry, ArchiveJobInfo& info) {
    SetNotArchived(info);
    const ArchiveLookupFn lookup = g_lookup;
    if (!lookup || !lookup(entry, info)) {
        // A hook that fails may have written part of the record.
        SetNotArchived(info);
        return false;
    }
    return true;
}
