// SearchWalk.cpp: the listing of the sources and the walk of the search
// thread with its match rules and its header-reading helper threads.
#include "SearchWalk.h"

#include "KWThread.h"
#include "ScoredFileListEntry.h"

#include <algorithm>
#include <cstring>

namespace {

const char kRecordingExtension[] = ".zel";
const size_t kRecordingExtensionLength = 4;
const ULONGLONG kFileTimeTicksPerSecond = 10000000ULL;
const ULONGLONG kFileTimeTicksPerDay = 86400ULL * kFileTimeTicksPerSecond;
// Seconds from 1601-01-01 (FILETIME) to 1970-01-01.
const LONGLONG kUnixEpochInFileTimeSeconds = 11644473600LL;
// Measured over 100,000 recordings on 8 cores: three helpers beside the
// search thread read fastest; five or seven were slower than three.
const DWORD kMostHelpers = 3;
// Starting the helpers costs Wine some milliseconds: a listing this short is
// judged by the search thread alone.
const size_t kMostJudgedAlone = 64;

ULONGLONG TicksOf(const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME FileTimeOf(ULONGLONG ticks) {
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return time;
}

ULONGLONG TicksOfUnixTime(LONG seconds) {
    return static_cast<ULONGLONG>(kUnixEpochInFileTimeSeconds + seconds) * kFileTimeTicksPerSecond;
}

// Local midnight, as a UTC instant, of the local calendar date that lies the
// given number of days before the Unix time now. False when a conversion fails.
bool LocalMidnightDaysBefore(LONG now, int days, ULONGLONG& instant) {
    SYSTEMTIME utc, local;
    const FILETIME nowTime = FileTimeOf(TicksOfUnixTime(now));
    if (!FileTimeToSystemTime(&nowTime, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return false;
    // Calendar arithmetic on the local wall clock, which has no zone of its own.
    FILETIME wall;
    if (!SystemTimeToFileTime(&local, &wall))
        return false;
    const ULONGLONG back = static_cast<ULONGLONG>(days) * kFileTimeTicksPerDay;
    if (TicksOf(wall) < back)
        return false;
    const FILETIME earlier = FileTimeOf(TicksOf(wall) - back);
    SYSTEMTIME midnight;
    if (!FileTimeToSystemTime(&earlier, &midnight))
        return false;
    midnight.wHour = midnight.wMinute = midnight.wSecond = midnight.wMilliseconds = 0;
    SYSTEMTIME midnightUtc;
    FILETIME result;
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &midnight, &midnightUtc) ||
        !SystemTimeToFileTime(&midnightUtc, &result))
        return false;
    instant = TicksOf(result);
    return true;
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsRecordingName(const char* text, size_t length) {
    if (length < kRecordingExtensionLength)
        return false;
    const char* tail = text + length - kRecordingExtensionLength;
    for (size_t i = 0; i < kRecordingExtensionLength; ++i)
        if (LowerAscii(tail[i]) != kRecordingExtension[i])
            return false;
    return true;
}

// The folder part of a pattern, with its separator: what found names join.
std::string FolderOfPattern(const std::string& pattern) {
    const size_t separator = pattern.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : pattern.substr(0, separator + 1);
}

bool IsDotEntry(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

bool IsFolder(const WIN32_FIND_DATAA& found) {
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Calls visit(found) for every item of the pattern but "." and "..", in the
// order the file system reports them, until visit returns false.
template <class Visit> void ForEachItem(const std::string& pattern, Visit visit) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!IsDotEntry(found.cFileName) && !visit(found))
            break;
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::string UpperCased(const char* text, size_t length) {
    std::string upper(text, length);
    if (!upper.empty())
        CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
    return upper;
}

// A mask limits nothing when it is empty or "*"; otherwise it is matched
// anywhere in the text, without regard to case.
bool PrepareMask(const char* mask, std::string& prepared) {
    if (!mask || !*mask || strcmp(mask, "*") == 0)
        return false;
    prepared = mask;
    if (prepared.front() != '*')
        prepared.insert(prepared.begin(), '*');
    if (prepared.back() != '*')
        prepared.push_back('*');
    prepared = UpperCased(prepared.c_str(), prepared.size());
    return true;
}

bool MatchesUpperCased(const std::string& mask, const char* text, size_t length) {
    return WildcardMatch(mask.c_str(), UpperCased(text, length).c_str()) == 1;
}

bool IsAscii(const char* text) {
    for (; *text; ++text)
        if (static_cast<unsigned char>(*text) >= 0x80)
            return false;
    return true;
}

} // namespace

std::string SourcePattern(const char* source) {
    std::string pattern(source ? source : "");
    if (IsRecordingName(pattern.c_str(), pattern.size()))
        return pattern;
    if (!pattern.empty() && pattern.back() == '\\')
        return pattern + "*";
    return pattern + "\\*";
}

LONG ListRecordings(const std::string& pattern, bool subFolders,
                    std::vector<ListedRecording>& listing) {
    const std::string folder = FolderOfPattern(pattern);
    LONG count = 0;
    ForEachItem(pattern, [&](const WIN32_FIND_DATAA& found) {
        if (IsFolder(found)) {
            if (subFolders)
                count += ListRecordings(folder + found.cFileName + "\\*", true, listing);
        } else if (IsRecordingName(found.cFileName, strlen(found.cFileName))) {
            listing.push_back({folder + found.cFileName, found.ftCreationTime});
            ++count;
        }
        return true;
    });
    return count;
}

CSearchWalk::CSearchWalk(const SearchCriteria& criteria, const std::string& passphrase, LONG now,
                         CKWThread* owner, std::atomic<LONG>* examined)
    : m_criteria(criteria), m_passphrase(passphrase), m_owner(owner), m_examined(examined) {
    InitializeSRWLock(&m_scoreGuard);
    PrepareRules(now);
}

// The rules are fixed once per walk, so every recording of one search is
// judged against the same "now".
void CSearchWalk::PrepareRules(LONG now) {
    m_byName = PrepareMask(m_criteria.FileNameMask, m_nameMask);
    m_byCallerId = PrepareMask(m_criteria.CallerIdMask, m_callerIdMask);
    m_byLength = m_criteria.LimitLength != 0;
    m_minMinutes = m_criteria.MinMinutes;

    int days = 0;
    switch (m_criteria.DateKind) {
    case SearchCriteria::kDateYesterday:
        days = 1;
        break;
    case SearchCriteria::kDate7Days:
        days = 7;
        break;
    case SearchCriteria::kDate30Days:
        days = 30;
        break;
    case SearchCriteria::kDateRange:
        m_byDate = true;
        if (m_criteria.RangeStart >= m_criteria.RangeEnd) {
            m_dateNeverHolds = true;
        } else {
            m_notBefore = TicksOfUnixTime(m_criteria.RangeStart);
            // Times count in whole seconds: all of the last second is in range.
            m_notAfter = TicksOfUnixTime(m_criteria.RangeEnd) + kFileTimeTicksPerSecond - 1;
        }
        return;
    default:
        return;
    }
    // A "now" that cannot be put on the local calendar limits nothing.
    m_byDate = LocalMidnightDaysBefore(now, days, m_notBefore);
}

void CSearchWalk::Run(const std::vector<ListedRecording>& listing,
                      std::vector<CScoredFileListEntry*>& results) {
    m_listing = &listing;
    m_slots.assign(listing.size(), nullptr);
    m_next = 0;
    std::vector<HANDLE> helpers; // owns
    if (listing.size() > kMostJudgedAlone) {
        SYSTEM_INFO system;
        GetSystemInfo(&system);
        const DWORD wanted =
            std::min(kMostHelpers, std::max<DWORD>(1, system.dwNumberOfProcessors - 1));
        for (DWORD i = 0; i < wanted; ++i) {
            HANDLE helper = CreateThread(nullptr, 0, &CSearchWalk::HelperProc, this, 0, nullptr);
            if (!helper)
                break; // the threads that did start share the work
            SetThreadPriority(helper, THREAD_PRIORITY_BELOW_NORMAL);
            helpers.push_back(helper);
        }
    }
    Work();
    for (HANDLE helper : helpers) {
        WaitForSingleObject(helper, INFINITE);
        CloseHandle(helper);
    }
    for (CScoredFileListEntry* entry : m_slots)
        if (entry)
            results.push_back(entry);
    m_slots.clear();
    m_listing = nullptr;
}

DWORD WINAPI CSearchWalk::HelperProc(void* param) {
    static_cast<CSearchWalk*>(param)->Work();
    return 0;
}

// The running flag is read before an index is taken, so the indices judged
// are always a prefix of the listing: a stop ends the walk at the next item.
void CSearchWalk::Work() {
    while (m_owner->IsRunning()) {
        const size_t index = m_next++;
        if (index >= m_listing->size())
            return;
        m_slots[index] = Judge((*m_listing)[index]);
        ++*m_examined;
    }
}

// The rules in their order, each only while the earlier ones hold. File name
// and date come from the directory listing, which holds the same attributes a
// query of the file returns. The header is read at most once: the length and
// Caller-ID rules read it into the entry, and a kept entry keeps what they
// read. Null when a rule fails.
CScoredFileListEntry* CSearchWalk::Judge(const ListedRecording& recording) {
    if (m_byName) {
        const size_t separator = recording.path.find_last_of("\\/");
        const char* name =
            recording.path.c_str() + (separator == std::string::npos ? 0 : separator + 1);
        const char* dot = strrchr(name, '.');
        if (!MatchesUpperCased(m_nameMask, name, dot ? dot - name : strlen(name)))
            return nullptr;
    }
    if (m_byDate) {
        const ULONGLONG created = TicksOf(recording.created);
        if (m_dateNeverHolds || created < m_notBefore || created > m_notAfter)
            return nullptr;
    }
    CScoredFileListEntry* entry = new CScoredFileListEntry;
    entry->SetPath(recording.path.c_str());
    bool keep = entry->GetPath()[0] != '\0'; // a path too long to keep names no file
    bool headerRead = false;
    if (keep && m_byLength) {
        entry->LoadHeader(m_passphrase.c_str());
        headerRead = true;
        keep = entry->GetDuration() / 60 > m_minMinutes;
    }
    if (keep && m_byCallerId) {
        if (!headerRead) {
            entry->LoadHeader(m_passphrase.c_str());
            headerRead = true;
        }
        const char* callerId = entry->GetCallerId();
        keep = MatchesUpperCased(m_callerIdMask, callerId, strlen(callerId));
    }
    if (!keep) {
        delete entry;
        return nullptr;
    }
    if (!headerRead)
        entry->LoadHeader(m_passphrase.c_str());
    if (MayHaveScoreFile(entry->GetScoreFilePath()))
        entry->LoadScores(FALSE);
    return entry;
}

// All score files lie in one folder, and few recordings have one: a listing
// of the folder, made once, spares each recording the lookup of a missing
// file, which costs Wine a scan of the folder. Names that Windows and Wine
// might compare differently (not ASCII) are always looked up.
bool CSearchWalk::MayHaveScoreFile(const char* scorePath) {
    const char* separator = strrchr(scorePath, '\\');
    if (!*scorePath || !separator || !IsAscii(scorePath))
        return *scorePath != '\0';
    const std::string folder = UpperCased(scorePath, separator + 1 - scorePath);
    const std::string name = UpperCased(separator + 1, strlen(separator + 1));

    AcquireSRWLockShared(&m_scoreGuard);
    const auto listed = m_scoreFiles.find(folder);
    const bool isListed = listed != m_scoreFiles.end();
    const bool found = isListed && listed->second.count(name) != 0;
    const bool unlisted = !isListed && m_unlistedScoreFolders.count(folder) != 0;
    ReleaseSRWLockShared(&m_scoreGuard);
    if (isListed)
        return found;
    if (unlisted)
        return true;

    // A folder that does not exist holds no score file; one that cannot be
    // listed for another reason leaves each recording to its own lookup.
    std::set<std::string> names;
    WIN32_FIND_DATAA item;
    HANDLE search = FindFirstFileA((std::string(scorePath, separator + 1) + "*").c_str(), &item);
    const DWORD error = search == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    const bool listable =
        error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    if (search != INVALID_HANDLE_VALUE) {
        do
            if (!IsFolder(item))
                names.insert(UpperCased(item.cFileName, strlen(item.cFileName)));
        while (FindNextFileA(search, &item));
        FindClose(search);
    }
    AcquireSRWLockExclusive(&m_scoreGuard);
    if (listable)
        m_scoreFiles.emplace(folder, std::move(names));
    else
        m_unlistedScoreFolders.insert(folder);
    ReleaseSRWLockExclusive(&m_scoreGuard);
    return MayHaveScoreFile(scorePath);
}
