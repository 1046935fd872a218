// SearchCriteria.cpp: the criteria record of a search and WildcardMatch.
#include "SearchCriteria.h"

// The numbers start at 0 (every date, no limit) rather than unset: a record
// that a caller forgets to fill completely still searches something defined.
SearchCriteria::SearchCriteria()
    : CKWArray<CKWString>(0, 10), IncludeSubFolders(0), DateKind(kDateAll), RangeEnd(0),
      RangeStart(0), LimitLength(0), MinMinutes(0) {}

SearchCriteria::SearchCriteria(const SearchCriteria& other)
    : CKWArray<CKWString>(other), IncludeSubFolders(other.IncludeSubFolders),
      FileNameMask(other.FileNameMask), CallerIdMask(other.CallerIdMask), DateKind(other.DateKind),
      RangeEnd(other.RangeEnd), RangeStart(other.RangeStart), LimitLength(other.LimitLength),
      MinMinutes(other.MinMinutes) {}

SearchCriteria& SearchCriteria::operator=(const SearchCriteria& other) {
    if (this == &other)
        return *this;
    Copy(other);
    IncludeSubFolders = other.IncludeSubFolders;
    FileNameMask = other.FileNameMask;
    CallerIdMask = other.CallerIdMask;
    DateKind = other.DateKind;
    RangeEnd = other.RangeEnd;
    RangeStart = other.RangeStart;
    LimitLength = other.LimitLength;
    MinMinutes = other.MinMinutes;
    return *this;
}

SearchCriteria::~SearchCriteria() = default;

// The leading run without '*' must match character for character; after the
// first '*', a mismatch goes back to the last '*' seen and lets it swallow one
// more character of the text. A null mask or text reads as empty.
int WildcardMatch(const char* mask, const char* text) {
    if (!mask)
        mask = "";
    if (!text)
        text = "";
    while (*text && *mask != '*') {
        if (*mask != *text && *mask != '?')
            return 0;
        ++mask;
        ++text;
    }
    const char* starMask = nullptr; // just after the last '*' seen
    const char* starText = nullptr; // where that '*' swallows its next character
    while (*text) {
        if (*mask == '*') {
            if (!*++mask)
                return 1;
            starMask = mask;
            starText = text + 1;
        } else if (*mask == *text || *mask == '?') {
            ++mask;
            ++text;
        } else {
            mask = starMask;
            text = starText++;
        }
    }
    while (*mask == '*')
        ++mask;
    return *mask ? 0 : 1;
}
