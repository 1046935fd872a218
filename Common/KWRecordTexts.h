// KWRecordTexts.h: the texts derived from a recording header: durations, the
// start date and time, and the bookmark line and block kept in the comment.
// No classes: free functions that CKWRecordFileHdr and the views call.
//
// The bookmark area lives in the comment as a line for people at its start,
//     "Bookmark at:  00:01:05" CR LF
// and a block near the end of the 1023 usable characters from which it is read:
//     CR LF CR LF "### System information do no edit! ###" CR LF "<bookmark>" CR LF
//     "<bstart>00:01:05</bstart>" CR LF "<bend>00:02:10</bend>" CR LF "<bookmark>"
// Times are FormatDuration texts, eight characters below 100 hours, more above.
#pragma once

#include "framework/AfxString.h"

#include <cstdint>

// Seconds as "HH:MM:SS" (hours not limited to two digits) from one hour on,
// "00:MM:SS" below.
CString FormatDuration(int seconds);

// The start time (seconds since 1970, UTC) as the user's short date and time,
// at most 20 characters. Recorders that store their local clock time in the
// field ("DOKA", "LEnKA") show that clock time.
CString FormatStartTime(int32_t startTime, const char* recorderType);

// Puts the bookmark line at the start of the comment and the block where it
// still fits in maxLength characters, then cuts the comment to maxLength. An
// area already in the comment is not removed. False, with nothing changed,
// unless 0 <= start < end.
bool InsertBookmarkText(CString& comment, int start, int end, int maxLength);

// Removes the first bookmark line and the first block, each when present.
// True when anything was removed.
bool RemoveBookmarkText(CString& comment);

// Reads the area from the block; false (outputs untouched) when the comment
// holds no readable block. A time with a sign, or one beyond an int's seconds,
// is unreadable, so the times given back are never negative.
bool ParseBookmarkText(const char* comment, int* start, int* end);
