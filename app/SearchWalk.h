// SearchWalk.h: the pieces of a search that touch the file system, used by
// CSearchManager (SearchManager.cpp):
//   ListedRecording / SourcePattern / ListRecordings   the count of the sources
//   CSearchWalk                                        the walk over what was counted
//
// The count lists every recording file of the sources, depth first in the
// order the file system reports them, and the walk judges exactly that list:
// a folder is read once per search, not once to count and again to walk. The
// walk judges each recording by the match rules in their order; the header
// reads, which cost a file open each, spread over a few helper threads once
// the list is longer than a few dozen, and the kept entries come out in the
// list's order.
#pragma once

#include "SearchCriteria.h"

#include <windows.h>

#include <atomic>
#include <map>
#include <set>
#include <string>
#include <vector>

class CKWThread;
class CScoredFileListEntry;

// One recording file as the directory listing showed it.
struct ListedRecording {
    std::string path;
    FILETIME created; // UTC
};

// A recording's path is its own pattern; a folder's pattern lists its items.
std::string SourcePattern(const char* source);
// Appends the recording files the pattern finds, and those of its sub-folders
// when asked; returns how many it appended.
LONG ListRecordings(const std::string& pattern, bool subFolders,
                    std::vector<ListedRecording>& listing);

class CSearchWalk {
public:
    // The criteria and the passphrase are borrowed for the walk's lifetime;
    // now is the Unix time the date kinds count back from. The walk runs while
    // owner->IsRunning() and adds 1 to *examined for every recording judged.
    CSearchWalk(const SearchCriteria& criteria, const std::string& passphrase, LONG now,
                CKWThread* owner, std::atomic<LONG>* examined);
    CSearchWalk(const CSearchWalk&) = delete;
    CSearchWalk& operator=(const CSearchWalk&) = delete;

    // Judges the listing in order and appends the kept entries (the caller's
    // from then on) in the listing's order. After a stop, what was judged up
    // to then is appended: a prefix of the listing, less what the rules left.
    void Run(const std::vector<ListedRecording>& listing,
             std::vector<CScoredFileListEntry*>& results);

private:
    void PrepareRules(LONG now);
    static DWORD WINAPI HelperProc(void* param);
    void Work();
    CScoredFileListEntry* Judge(const ListedRecording& recording);
    bool MayHaveScoreFile(const char* scorePath);

    const SearchCriteria& m_criteria;
    const std::string& m_passphrase;
    CKWThread* m_owner;            // borrowed: its running flag ends the walk
    std::atomic<LONG>* m_examined; // borrowed

    // The rules as each recording is tested.
    bool m_byName = false;
    std::string m_nameMask; // wrapped in '*' and upper-cased
    bool m_byDate = false;
    bool m_dateNeverHolds = false; // a range whose start is not before its end
    ULONGLONG m_notBefore = 0;     // UTC FILETIME ticks
    ULONGLONG m_notAfter = ~0ULL;  // UTC FILETIME ticks
    bool m_byLength = false;
    LONG m_minMinutes = 0;
    bool m_byCallerId = false;
    std::string m_callerIdMask; // wrapped in '*' and upper-cased

    // During Run: the threads take the listing's indices in order, and each
    // writes only the slot of the index it took.
    const std::vector<ListedRecording>* m_listing = nullptr;
    std::vector<CScoredFileListEntry*> m_slots; // null: rejected or not judged
    std::atomic<size_t> m_next{0};

    // Upper-cased names of the score files in each score folder seen, listed
    // once per walk; a folder that could not be listed is in neither.
    SRWLOCK m_scoreGuard;
    std::map<std::string, std::set<std::string>> m_scoreFiles;
    std::set<std::string> m_unlistedScoreFolders;
};
