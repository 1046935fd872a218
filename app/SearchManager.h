// SearchManager.h: CSearchManager, the process-wide search for recordings on a
// worker thread: it counts the sources, walks what it counted, keeps the
// recordings that match the criteria with their headers and scores read, and
// sorts them.
#pragma once

#include <windows.h>

#include "KWSemaphore.h"
#include "KWThread.h"
#include "SearchCriteria.h"
#include "SearchWalk.h"

#include <atomic>
#include <string>
#include <vector>

class CScoredFileListEntry;
class CZelDorvaneDoc;

class CSearchManager : public CKWThread {
public:
    // Sort codes; every other value leaves the order as it is.
    enum {
        kSortNone = 0,
        kSortImportant = 1,
        kSortUserId = 2,
        kSortCallerId = 3,
        kSortArchiveTime = 4,
        kSortStartTime = 5,
        kSortDuration = 6,
        kSortComment = 8
    };

    static CSearchManager* GetInstance();
    // Deletes the instance when it exists (stops and waits for a running walk).
    static void DeleteInstance();

    // Clears the results, copies the criteria and counts the sources on this
    // thread; the progress then tells whether a walk is worth starting.
    void SetCriteria(const SearchCriteria& criteria, int sortColumn, int descending);
    // Nothing when the count failed. The walk judges what the count listed; a
    // second start without new criteria counts again first.
    void Start();
    // Stops a running walk and waits for its thread.
    void Stop();
    void GetProgress(SearchProgress& progress) const;
    const SearchCriteria* GetCriteria() const { return &m_criteria; }
    // True from Start until the walk and its sort have ended.
    bool IsWalking();
    // Hands the results to the document (null: nothing changes). Waits for a
    // running walk to end: callers ask IsWalking first.
    void TransferResults(CZelDorvaneDoc* pDoc);

    static void SortResults(std::vector<CScoredFileListEntry*>& entries, int column,
                            int descending);

    // Clock used by the date rules, seconds since 1970; tests inject their own.
    using Clock = LONG (*)();
    static void SetClock(Clock clock);

protected:
    DWORD Run() override;

private:
    CSearchManager();
    ~CSearchManager() override;

    // Stops a running walk, then empties the results under the lock.
    void ClearResults();
    void Count();

    std::vector<CScoredFileListEntry*> m_results; // owned until handed over
    CKWLoggedSemaphore* m_lock;                   // owns; null when it could not be made
    std::atomic<LONG> m_error;
    std::atomic<LONG> m_examined;
    std::atomic<LONG> m_counted;
    SearchCriteria m_criteria; // written only while no walk runs
    // What the last count found, in walk order; the walk judges it. Written
    // only while no walk runs.
    std::vector<ListedRecording> m_listing;
    bool m_listingFresh = false; // counted, and no walk has used it yet
    int m_sortColumn;
    int m_sortDescending;
    // Set by Start before the thread exists, cleared by the thread after it
    // released the lock, so a caller that sees it clear never waits on the lock.
    std::atomic<bool> m_walking;
    // Taken from the settings by Start on the user-interface thread: the
    // settings have no lock, and the walk must not read them while the user
    // changes the passphrase.
    std::string m_passphrase;
};
