// KWFileListEntry.cpp: one recording in a list, filled from its file name and header.
#include "KWFileListEntry.h"

#include "KWRecordFileHdr.h"
#include "KWRecordTexts.h"
#include "TraceLog.h"

#include "framework/Exception.h"
#include "framework/File.h"

#include <algorithm>
#include <cstring>

const char CKWFileListEntry::kUnknownText[] = "?";
const char CKWFileListEntry::kFileErrorText[] = "File error!";
const char CKWFileListEntry::kFileErrorComment[] =
    "File error! Unable to find or open the filename specified!";
const char CKWFileListEntry::kDecryptErrorText[] = "Decryption error!";
const char CKWFileListEntry::kDecryptErrorComment[] =
    "Decryption error! Unable to decrypt the file using the passphrase specified!";

namespace {

// Longest texts taken from a header or a file name; each field keeps one more
// byte for its terminator at the least.
const size_t kHeaderTextMax = 127;
const size_t kCommentMax = 1023;
const size_t kUserIdFromNameMax = 128;
const size_t kDateFromNameMax = 127;
const size_t kSetCallerIdMax = 128;
const size_t kSetCommentMax = 1024;
// Where a file name "<User ID>-<date>..." turns from the User ID to the date.
const char kNameDateMarker[] = "-2";

// Copies at most maxChars characters of text (fewer when the field is smaller)
// and terminates the field.
template <size_t N> void CopyText(char (&field)[N], const char* text, size_t maxChars = N - 1) {
    const size_t length = text ? strnlen(text, std::min(maxChars, N - 1)) : 0;
    if (length)
        memcpy(field, text, length);
    field[length] = '\0';
}

} // namespace

CKWFileListEntry::CKWFileListEntry()
    : m_important(0), m_startTime(0), m_duration(0), m_secondDuration(0), m_recordType(0),
      m_headerLoaded(0), m_bookmark(0), m_encrypted(0) {
    m_path[0] = '\0';
    CopyText(m_callerId, kUnknownText);
    CopyText(m_userId, kUnknownText);
    CopyText(m_durationText, kUnknownText);
    CopyText(m_dateText, kUnknownText);
    CopyText(m_secondDurationText, kUnknownText);
    m_comment[0] = '\0';
}

void CKWFileListEntry::SetPath(const char* path) {
    CopyText(m_userId, kUnknownText);
    CopyText(m_dateText, kUnknownText);
    const size_t length = path ? strnlen(path, kPathSize) : 0;
    if (length >= static_cast<size_t>(kPathSize)) {
        KWTRACE_ERROR(("CKWFileListEntry::SetPath: a path of %d characters or more is not "
                       "stored\n",
                       kPathSize));
        m_path[0] = '\0';
        return;
    }
    CopyText(m_path, path);

    const char* marker = strstr(m_path, kNameDateMarker);
    if (!marker)
        return;
    const char* backslash = strrchr(m_path, '\\');
    const char* name = backslash ? backslash + 1 : m_path;
    if (name <= marker)
        CopyText(m_userId, name, std::min<size_t>(marker - name, kUserIdFromNameMax));
    else
        m_userId[0] = '\0'; // the marker lies in a folder name
    CopyText(m_dateText, marker + 1, kDateFromNameMax);
}

bool CKWFileListEntry::LoadHeader(const char* passphrase) {
    CKWRecordFileHdr header;
    m_headerLoaded = 1;
    if (header.LoadFromFile(m_path, passphrase) == 0) {
        // A freshly made header has the encrypted flag clear: set, it says the
        // file is protected and the passphrase did not open it.
        if (header.IsEncrypted()) {
            SetErrorTexts(kDecryptErrorText, kDecryptErrorComment);
            m_encrypted = 1;
        } else {
            SetErrorTexts(kFileErrorText, kFileErrorComment);
        }
        return false;
    }
    m_important = header.GetImportant();
    m_startTime = header.GetStartTime();
    m_duration = std::max(0, header.GetDuration());
    m_secondDuration = std::max(0, header.GetSecondDuration());
    m_recordType = header.GetRecordType();
    CopyText(m_callerId, header.GetCallerId(), kHeaderTextMax);
    CopyText(m_userId, header.GetUserId(), kHeaderTextMax);
    CopyText(m_dateText, header.GetDateTimeText(), kHeaderTextMax);
    CopyText(m_durationText, FormatDuration(m_duration));
    CopyText(m_secondDurationText, FormatDuration(m_secondDuration));
    CopyText(m_comment, header.GetComment(), kCommentMax);
    m_encrypted = header.IsEncrypted() ? 1 : 0;
    int start = 0, end = 0;
    m_bookmark = header.GetBookmark(&start, &end) ? 1 : 0;
    return true;
}

// The comment now says why the header was not read, so no bookmark is shown.
void CKWFileListEntry::SetErrorTexts(const char* text, const char* comment) {
    CopyText(m_comment, comment);
    CopyText(m_callerId, text);
    CopyText(m_userId, text);
    CopyText(m_dateText, text);
    CopyText(m_durationText, text);
    m_bookmark = 0;
}

// The flag follows what the changed header would read back, so clearing an
// area clears it even when the area came from the file.
void CKWFileListEntry::SetBookmark(int start, int end, const char* passphrase) {
    CKWRecordFileHdr header;
    if (!m_headerLoaded && header.LoadFromFile(m_path, passphrase) == 0)
        return;
    header.SetBookmark(start, end);
    int areaStart = 0, areaEnd = 0;
    m_bookmark = header.GetBookmark(&areaStart, &areaEnd) ? 1 : 0;
}

ULONGLONG CKWFileListEntry::GetFileSize() const {
    CFile file;
    if (!m_path[0] || !file.Open(m_path, CFile::modeRead | CFile::shareDenyNone))
        return 0;
    ULONGLONG size = 0;
    try {
        size = file.GetLength();
    } catch (CException* e) {
        e->Delete();
    }
    file.Abort();
    return size;
}

void CKWFileListEntry::SetCallerId(const char* text) {
    CopyText(m_callerId, text, kSetCallerIdMax);
}

void CKWFileListEntry::SetComment(const char* text) {
    CopyText(m_comment, text, kSetCommentMax);
}
