// SearchTestCriteria.h: search criteria that let every recording of the given
// sources through (any name, Caller ID, date and length), as the tests and the
// benchmark of the search start from.
#pragma once

#include "app/SearchCriteria.h"

#include <string>
#include <vector>

inline SearchCriteria MatchEverything(const std::vector<std::string>& sources,
                                      int includeSubFolders) {
    SearchCriteria criteria;
    for (const std::string& source : sources)
        criteria.Add(source.c_str());
    criteria.IncludeSubFolders = includeSubFolders;
    criteria.FileNameMask = "*";
    criteria.CallerIdMask = "*";
    criteria.DateKind = SearchCriteria::kDateAll;
    criteria.RangeStart = 0;
    criteria.RangeEnd = -1;
    criteria.LimitLength = 0;
    criteria.MinMinutes = 0;
    return criteria;
}
