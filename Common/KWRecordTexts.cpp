// KWRecordTexts.cpp: duration, date and bookmark texts of a recording header.
#include "KWRecordTexts.h"

#include "KWRecordFileHdr.h"

#include <windows.h>

#include <climits>
#include <cstring>

namespace {

const char kLineMarker[] = "Bookmark at: ";
const char kBlockOpening[] = "\r\n\r\n### System information do no edit! ###\r\n";
const char kBookmarkTag[] = "<bookmark>";
const char kStartTag[] = "<bstart>";
const char kEndTag[] = "<bend>";
const int kLineLengthShortTimes = 24;   // with eight-character times
const int kBlockLengthShortTimes = 116; // with eight-character times
// Longest time text in the block: hours of ten digits and ":MM:SS".
const int kHourDigitsMax = 10;
const int kTimeTextMax = kHourDigitsMax + 6;
const int kDateTextMax = 20;
const int kFormatBufferSize = 32;
// Seconds from 1601-01-01 (FILETIME's epoch) to 1970-01-01, and FILETIME's unit.
const LONGLONG kUnixEpochInFileTimeSeconds = 11644473600LL;
const LONGLONG kFileTimeTicksPerSecond = 10000000LL;

int Length(const char* text) {
    return static_cast<int>(strlen(text));
}

CString MakeLine(int start) {
    return CString(kLineMarker) + " " + FormatDuration(start) + "\r\n";
}

CString MakeBlock(int start, int end) {
    return CString(kBlockOpening) + kBookmarkTag + "\r\n" + kStartTag + FormatDuration(start) +
           "</bstart>\r\n" + kEndTag + FormatDuration(end) + "</bend>\r\n" + kBookmarkTag;
}

// Reads at most maxDigits decimal digits, at least one; no sign is taken.
bool ReadDigits(const char*& text, int maxDigits, long long* value) {
    long long result = 0;
    int n = 0;
    for (; n < maxDigits && *text >= '0' && *text <= '9'; ++n, ++text)
        result = result * 10 + (*text - '0');
    *value = result;
    return n > 0;
}

// The time text after a tag, read as hours:minutes:seconds (hours of up to ten
// digits, minutes and seconds of up to two). The times become sample positions:
// a sign, or a total beyond an int, makes the text unreadable rather than a
// position before the samples or past any count.
bool ParseTime(const char* text, int* seconds) {
    long long hours = 0, minutes = 0, secs = 0;
    if (!ReadDigits(text, kHourDigitsMax, &hours) || *text++ != ':' ||
        !ReadDigits(text, 2, &minutes) || *text++ != ':' || !ReadDigits(text, 2, &secs))
        return false;
    const long long total = hours * 3600 + minutes * 60 + secs;
    if (total > INT_MAX)
        return false;
    *seconds = static_cast<int>(total);
    return true;
}

} // namespace

// A negative count (a damaged header) shows as no time at all.
CString FormatDuration(int seconds) {
    if (seconds < 0)
        seconds = 0;
    CString text;
    if (seconds >= 3600)
        text.Format("%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    else
        text.Format("00:%02d:%02d", seconds / 60, seconds % 60);
    return text;
}

// Both conversions go through the system's time-zone information, so that the
// one that "DOKA" and "LEnKA" undo is exactly the one that was applied.
CString FormatStartTime(int32_t startTime, const char* recorderType) {
    ULARGE_INTEGER ticks;
    ticks.QuadPart =
        (static_cast<LONGLONG>(startTime) + kUnixEpochInFileTimeSeconds) * kFileTimeTicksPerSecond;
    FILETIME fileTime;
    fileTime.dwLowDateTime = ticks.LowPart;
    fileTime.dwHighDateTime = ticks.HighPart;
    SYSTEMTIME utc, st;
    if (!FileTimeToSystemTime(&fileTime, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &st))
        return CString();
    st.wMilliseconds = 0;

    // These recorders store their local clock in the field; undoing the local
    // conversion gives that clock time back.
    if (recorderType && (strcmp(recorderType, "DOKA") == 0 || strcmp(recorderType, "LEnKA") == 0)) {
        TIME_ZONE_INFORMATION zone;
        SYSTEMTIME clockTime;
        GetTimeZoneInformation(&zone);
        if (TzSpecificLocalTimeToSystemTime(&zone, &st, &clockTime))
            st = clockTime;
    }

    char date[kFormatBufferSize] = "";
    char clock[kFormatBufferSize] = "";
    if (!GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, sizeof date))
        date[0] = '\0';
    if (!GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, clock, sizeof clock))
        clock[0] = '\0';
    CString text(date);
    text += " ";
    text += clock;
    return text.Left(kDateTextMax);
}

bool InsertBookmarkText(CString& comment, int start, int end, int maxLength) {
    if (start < 0 || start >= end)
        return false;
    const CString block = MakeBlock(start, end);
    comment.Insert(0, MakeLine(start));
    // The block is placed so that cutting the comment never cuts the block.
    const int blockIndex = maxLength - block.GetLength();
    if (comment.GetLength() < blockIndex)
        comment += block;
    else
        comment.Insert(blockIndex, block);
    if (comment.GetLength() > maxLength)
        comment = comment.Left(maxLength);
    return true;
}

// Each piece is removed up to its own end, so areas of 100 hours or more (longer
// times) come out whole; the fixed lengths apply only when an end is missing.
bool RemoveBookmarkText(CString& comment) {
    bool removed = false;
    const int line = comment.Find(kLineMarker);
    if (line >= 0) {
        const int lineEnd = comment.Find("\r\n", line);
        const int longestLine = kLineLengthShortTimes + 2 * kTimeTextMax;
        int count = kLineLengthShortTimes;
        if (lineEnd >= 0 && lineEnd + 2 - line <= longestLine)
            count = lineEnd + 2 - line;
        comment.Delete(line, count);
        removed = true;
    }
    const int block = comment.Find(kBlockOpening);
    if (block >= 0) {
        const int first = comment.Find(kBookmarkTag, block);
        const int second = first >= 0 ? comment.Find(kBookmarkTag, first + 1) : -1;
        int count = kBlockLengthShortTimes;
        if (second >= 0 && second + Length(kBookmarkTag) - block <= 2 * kBlockLengthShortTimes)
            count = second + Length(kBookmarkTag) - block;
        comment.Delete(block, count);
        removed = true;
    }
    return removed;
}

bool ParseBookmarkText(const char* comment, int* start, int* end) {
    if (!comment)
        return false;
    const char* first = strstr(comment, kBookmarkTag);
    if (!first || first == comment)
        return false;
    if (!strstr(first + 1, kBookmarkTag))
        return false;
    const char* startTag = strstr(first, kStartTag);
    if (!startTag)
        return false;
    const char* endTag = strstr(startTag, kEndTag);
    if (!endTag)
        return false;
    int startSeconds = 0, endSeconds = 0;
    if (!ParseTime(startTag + Length(kStartTag), &startSeconds) ||
        !ParseTime(endTag + Length(kEndTag), &endSeconds))
        return false;
    *start = startSeconds;
    *end = endSeconds;
    return true;
}

// ---- CKWRecordFileHdr's texts

CString CKWRecordFileHdr::GetDateTimeText() const {
    return FormatStartTime(GetStartTime(), GetRecorderType());
}

CString CKWRecordFileHdr::GetDurationText() const {
    return FormatDuration(GetDuration());
}

CString CKWRecordFileHdr::GetSecondDurationText() const {
    return FormatDuration(GetSecondDuration());
}

bool CKWRecordFileHdr::GetBookmark(int* start, int* end) const {
    if (!start || !end)
        return false;
    return ParseBookmarkText(GetComment(), start, end);
}

// The comment field keeps at most kCommentSize - 1 characters and its terminator.
bool CKWRecordFileHdr::SetBookmark(int start, int end) {
    CString comment = GetComment();
    bool changed = false;
    if (start == -1 && end == -1)
        changed = RemoveBookmarkText(comment);
    else
        changed = InsertBookmarkText(comment, start, end, kCommentSize - 1);
    if (changed)
        SetComment(comment);
    return changed;
}
