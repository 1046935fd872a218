// SearchCriteria.h: the criteria of one search for recordings, its progress
// record, and WildcardMatch, the one wildcard matcher of the program.
#pragma once

#include <windows.h>

#include "KWArray.h"
#include "KWString.h"

// The elements are the sources: folders, or full paths of single ".zel" files.
struct SearchCriteria : public CKWArray<CKWString> {
    enum { kDateAll = 0, kDateYesterday = 1, kDate7Days = 2, kDate30Days = 3, kDateRange = 4 };

    SearchCriteria();
    SearchCriteria(const SearchCriteria& other);
    SearchCriteria& operator=(const SearchCriteria& other);
    ~SearchCriteria() override;

    LONG IncludeSubFolders; // walk the sub-folders of each source
    CKWString FileNameMask; // base name mask; "*" or empty: no limit
    CKWString CallerIdMask; // Caller ID mask; "*" or empty: no limit
    LONG DateKind;          // kDate...; any other value: all dates
    LONG RangeEnd;          // kDateRange: last instant, seconds since 1970 (UTC)
    LONG RangeStart;        // kDateRange: first instant
    LONG LimitLength;       // apply MinMinutes
    LONG MinMinutes;        // a call must last more than this many whole minutes
};

// Read without a lock while the search thread writes the examined count.
struct SearchProgress {
    LONG Error;    // a source failed the count
    LONG Examined; // recordings examined by the walk so far
    LONG Counted;  // recordings counted before the walk
};

// Whole-text, case-sensitive, byte-wise match: '*' any run, '?' one character.
// 1 on a match, 0 otherwise.
int WildcardMatch(const char* mask, const char* text);
