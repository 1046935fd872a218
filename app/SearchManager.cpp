// SearchManager.cpp: CSearchManager, the search for recordings: the count of
// the sources, the search thread, the sort orders and the hand-over to a
// recording list. The file system work and the match rules are in
// SearchWalk.cpp.
#include "SearchManager.h"

#include "ArchiveLookup.h"
#include "ScoredFileListEntry.h"
#include "SearchWalk.h"
#include "Settings.h"
#include "TraceLog.h"
#include "ZelDorvaneDoc.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace {

// Seconds from 1601-01-01 (FILETIME) to 1970-01-01.
const LONGLONG kUnixEpochInFileTimeSeconds = 11644473600LL;

CSearchManager* g_instance = nullptr;

LONG SystemClock() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<LONG>(static_cast<LONGLONG>(ticks / 10000000ULL) -
                             kUnixEpochInFileTimeSeconds);
}

std::atomic<CSearchManager::Clock> g_clock{&SystemClock};

// Signed 32-bit keys compared without the overflow of a subtraction.
int CompareNumbers(LONG a, LONG b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

template <class Key>
void SortByNumber(std::vector<CScoredFileListEntry*>& entries, bool descending, Key key) {
    std::vector<std::pair<LONG, CScoredFileListEntry*>> keyed;
    keyed.reserve(entries.size());
    for (CScoredFileListEntry* entry : entries)
        keyed.emplace_back(key(*entry), entry);
    std::sort(keyed.begin(), keyed.end(), [descending](const auto& a, const auto& b) {
        const int order = CompareNumbers(a.first, b.first);
        return descending ? order > 0 : order < 0;
    });
    for (size_t i = 0; i < keyed.size(); ++i)
        entries[i] = keyed[i].second;
}

// Texts go A before B when the descending flag is set: the list's arrow for
// its text columns follows this.
template <class Text>
void SortByText(std::vector<CScoredFileListEntry*>& entries, bool descending, Text text) {
    std::sort(entries.begin(), entries.end(),
              [descending, text](const CScoredFileListEntry* a, const CScoredFileListEntry* b) {
                  const int order = strcmp(text(*a), text(*b));
                  return descending ? order < 0 : order > 0;
              });
}

} // namespace

CSearchManager* CSearchManager::GetInstance() {
    if (!g_instance)
        g_instance = new CSearchManager;
    return g_instance;
}

void CSearchManager::DeleteInstance() {
    delete g_instance;
}

void CSearchManager::SetClock(Clock clock) {
    g_clock = clock ? clock : &SystemClock;
}

CSearchManager::CSearchManager()
    : m_lock(new (std::nothrow) CKWLoggedSemaphore("SEARCH_MANAGER", false)), m_error(0),
      m_examined(0), m_counted(0), m_sortColumn(kSortStartTime), m_sortDescending(1),
      m_walking(false) {
    if (!m_lock)
        KWTRACE_ERROR(("Failed to allocate memory for file list semaphore."));
    m_criteria.IncludeSubFolders = 0;
    m_criteria.FileNameMask = "*";
    m_criteria.CallerIdMask = "*";
    m_criteria.DateKind = SearchCriteria::kDate30Days;
    m_criteria.RangeEnd = -1;
    m_criteria.RangeStart = 0;
    m_criteria.LimitLength = 0;
    m_criteria.MinMinutes = 0;
}

CSearchManager::~CSearchManager() {
    if (IsRunning())
        RequestStop();
    Wait();
    m_walking = false;
    for (CScoredFileListEntry* entry : m_results)
        delete entry;
    m_results.clear();
    delete m_lock;
    if (g_instance == this)
        g_instance = nullptr;
}

// A walk still running would be discarded anyway: it is stopped rather than
// waited for, so the caller's thread never sits on the lock for a whole walk.
void CSearchManager::ClearResults() {
    if (IsRunning())
        RequestStop();
    Wait();
    CKWSemaphoreGuard hold(m_lock, __FILE__, __LINE__);
    for (CScoredFileListEntry* entry : m_results)
        delete entry;
    m_results.clear();
}

void CSearchManager::SetCriteria(const SearchCriteria& criteria, int sortColumn, int descending) {
    ClearResults();
    m_criteria = criteria;
    m_examined = 0;
    Count();
    m_sortColumn = sortColumn;
    m_sortDescending = descending;
}

// Lists the sources in order and stops at the first that fails. The listing
// is what the next walk judges.
void CSearchManager::Count() {
    m_error = 0;
    m_counted = 0;
    m_listing.clear();
    for (int i = 0; i < m_criteria.GetSize(); ++i) {
        const CKWString& source = m_criteria.GetAt(i);
        if (source.IsEmpty() || GetFileAttributesA(source) == INVALID_FILE_ATTRIBUTES) {
            KWTRACE(("CSearchManager::Count: no source \"%s\"\n", (const char*)source));
            m_error = 1;
            break;
        }
        m_counted +=
            ListRecordings(SourcePattern(source), m_criteria.IncludeSubFolders != 0, m_listing);
    }
    m_listingFresh = true;
}

void CSearchManager::Start() {
    if (m_error)
        return;
    ClearResults();
    m_examined = 0;
    if (!m_lock) {
        // Without its lock the results could be handed over while the walk
        // fills them.
        KWTRACE_ERROR(("CSearchManager::Start: no lock, no search\n"));
        return;
    }
    // A listing that a walk has judged already is out of date: list again.
    if (!m_listingFresh) {
        Count();
        if (m_error)
            return;
    }
    m_listingFresh = false;
    m_passphrase = static_cast<const char*>(CSettings::GetInstance()->GetPassphrase());
    m_walking = true;
    if (!CKWThread::Start())
        m_walking = false;
}

void CSearchManager::Stop() {
    if (!IsRunning())
        return;
    RequestStop();
    Wait();
}

void CSearchManager::GetProgress(SearchProgress& progress) const {
    progress.Error = m_error;
    progress.Examined = m_examined;
    progress.Counted = m_counted;
}

bool CSearchManager::IsWalking() {
    return m_walking;
}

DWORD CSearchManager::Run() {
    // The running flag was set by Start; setting it again here could undo a
    // stop requested before this body began.
    {
        CKWSemaphoreGuard hold(m_lock, __FILE__, __LINE__);
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
        CSearchWalk walk(m_criteria, m_passphrase, g_clock.load()(), this, &m_examined);
        walk.Run(m_listing, m_results);
        if (IsRunning())
            SortResults(m_results, m_sortColumn, m_sortDescending);
        m_running = 0;
    }
    m_walking = false;
    return 0;
}

void CSearchManager::TransferResults(CZelDorvaneDoc* pDoc) {
    if (!pDoc)
        return;
    CKWSemaphoreGuard hold(m_lock, __FILE__, __LINE__);
    if (m_results.empty())
        return;
    pDoc->SetSearchCriteria(m_criteria);
    for (CScoredFileListEntry* entry : m_results)
        if (!pDoc->AddRecording(entry, TRUE))
            delete entry; // a path listed already, or a file gone since the walk
    m_results.clear();
}

void CSearchManager::SortResults(std::vector<CScoredFileListEntry*>& entries, int column,
                                 int descending) {
    if (entries.empty())
        return;
    const bool down = descending != 0;
    switch (column) {
    case kSortImportant:
        SortByNumber(entries, down, [](const CKWFileListEntry& e) { return LONG(e.m_important); });
        break;
    case kSortUserId:
        SortByText(entries, down, [](const CKWFileListEntry& e) { return e.GetUserId(); });
        break;
    case kSortCallerId:
        SortByText(entries, down, [](const CKWFileListEntry& e) { return e.GetCallerId(); });
        break;
    case kSortArchiveTime:
        // Never archived reads -1, which puts those recordings last when later
        // times come first.
        SortByNumber(entries, down, [](const CKWFileListEntry& e) {
            ArchiveJobInfo job;
            LookUpArchiveJob(e, job);
            return job.time;
        });
        break;
    case kSortStartTime:
        SortByNumber(entries, down, [](const CKWFileListEntry& e) { return LONG(e.m_startTime); });
        break;
    case kSortDuration:
        SortByNumber(entries, down, [](const CKWFileListEntry& e) { return LONG(e.m_duration); });
        break;
    case kSortComment:
        SortByText(entries, down, [](const CKWFileListEntry& e) { return e.GetComment(); });
        break;
    default:
        break; // the walk's order stays
    }
}
