// CallHistory.h: CCallHistory, the play history: one entry per press of Play,
// kept in "history.reclist" in the all-users configuration folder.
#pragma once

#include "KWSemaphore.h"
#include "KWString.h"

#include <string>
#include <vector>

class COXParserElement;
class CScoredFileListEntry;
class CZelDorvaneDoc;

class CCallHistory {
public:
    static CCallHistory* GetInstance();
    static void DeleteInstance();

    // Appends an entry for the recording when its file exists (a folder is
    // none). A path of MAX_PATH characters or more is not added.
    void Add(const char* path);
    void Clear();
    // Sorts the store newest first, then offers every entry to the document.
    void FillDocument(CZelDorvaneDoc* pDoc);
    // Writes the file when the store holds an entry; false when that failed.
    // The file is replaced only once the new one is whole: a failed save
    // leaves the old file and tells the user.
    bool Save();
    // Replaces the store with the file's recordings; a file that is missing or
    // cannot be parsed leaves the store empty, without a message.
    void Load();
    // Adds every text below the element; names to the user the paths that are
    // too long to add.
    void AddPathsFromElement(COXParserElement* pElement);
    int GetCount() const { return static_cast<int>(m_entries.size()); }
    const CScoredFileListEntry* GetAt(int index) const;

    // The file's path: "history.reclist" in the all-users configuration
    // folder of CKWSysUtils, whose names tests set to folders of their own.
    CKWString GetFilePath() const;
    // The file's bytes as Save writes them (empty for an empty store).
    std::string FormatFile() const;

private:
    CCallHistory();
    ~CCallHistory();
    CCallHistory(const CCallHistory&) = delete;
    CCallHistory& operator=(const CCallHistory&) = delete;

    void AddTexts(COXParserElement* pElement, std::vector<CKWString>& tooLong);

    static CCallHistory* s_instance;

    std::vector<CScoredFileListEntry*> m_entries; // owned, in store order
    CKWLoggedSemaphore* m_lock;                   // owned; null when it could not be made
};
