// ScoreFormManager.h: CScoreFormManager, the process-wide store of the score
// forms, kept in "scoreforms.xml" (and its exported copies, same format), and
// the holder of the folder of the per-recording score files.
//
// The file, as every line ends (CR CR LF, see ScoreFile.h):
//   <?xml version="1.0" standalone="yes" ?>
//   <FormData GlobalID=n>            (the next form ID, without quotes)
//   <Entry> ID, Title, Owner, Time, LastTotal (two decimals), then
//      <QuestionData> with one <Question> (ID, Prompt, EvenBias, IsScaledType
//      TRUE/FALSE) per question </QuestionData>
//   </Entry> per form
//   </FormData>
// Answers and shares are not stored. A form without questions is written but
// not read back. Texts read back as written (escaped, ScoreFile.h).
//
// Form IDs never collide: the next form ID stays above every ID the store has
// held, whatever the file's GlobalID says, and a form read with an ID already
// held (or none) is given a fresh one.
//
// Forms are used on the user-interface thread; the lock guards changes of the
// form array. The folder has a guard of its own: the search thread reads it
// for every recording it finds while the user-interface thread may change it.
#pragma once

#include "Common/KWString.h"
#include "ScoreFormEntry.h"

#include <windows.h>

#include <memory>
#include <vector>

class CKWLoggedSemaphore;
class COXParserElement;

class CScoreFormManager {
public:
    // Created on first use, without a lock (start-up comes first).
    static CScoreFormManager* GetInstance();
    // At exit: saves to the default path when the store was loaded and holds
    // forms, then deletes the store.
    static void DeleteInstance();

    // Reads the file (null: the score-forms file of the current score-form
    // location) and appends its forms to those
    // held; callers empty the store with Clear first. 1 when the file was
    // parsed, else 0 with nothing added. The store counts as loaded after any
    // attempt.
    BOOL Load(const char* path = nullptr);
    // Writes every form (null: the default path), an empty store as a file
    // without forms, so that deleting every form and saving sticks. 0 when the
    // file was not written; the file at the path then stays as it was.
    BOOL Save(const char* path = nullptr);
    // Deletes every form; the store is no longer loaded. The next form ID stays.
    void Clear();
    bool IsLoaded() const { return m_loaded; }

    // The shared cursor: form = GetFirstForm(); while (form) { ...; form =
    // GetNextForm(); }. Nothing may move it between two calls of one walk.
    CScoreFormEntry* GetFirstForm();
    CScoreFormEntry* GetNextForm();
    // Moves the cursor there when the index is in range; null otherwise.
    CScoreFormEntry* GetFormAt(int index);
    int GetFormCount() const { return static_cast<int>(m_forms.size()); }
    // "" for an index out of range.
    CKWString GetFormTitle(int index) const;
    // -1 for an index out of range.
    LONG GetFormId(int index) const;
    CScoreFormEntry* FindForm(LONG id) const;

    // Appends a copy; FALSE, with nothing added, when a form holds its ID or
    // the ID is negative.
    BOOL AddForm(const CScoreFormEntry& form);
    void RemoveForm(LONG id);
    // The ID for a new form, never one the store has held.
    LONG GetNextFormID();

    // The folder of the per-recording score files.
    void SetFolder(const CKWString& folder);
    CKWString GetFolder() const;

private:
    CScoreFormManager();
    ~CScoreFormManager();
    CScoreFormManager(const CScoreFormManager&) = delete;
    CScoreFormManager& operator=(const CScoreFormManager&) = delete;

    typedef std::vector<std::unique_ptr<CScoreFormEntry>> FormList;
    void ReadForms(const COXParserElement* element, FormList& read);
    bool HoldsID(LONG id) const;
    void RaiseNextID(LONG next);
    void KeepAbove(LONG id);

    static CScoreFormManager* s_instance;

    LONG m_globalId;            // the next form ID; above every form ID held since start
    CKWLoggedSemaphore* m_lock; // owns; null when it could not be allocated
    std::vector<std::unique_ptr<CScoreFormEntry>> m_forms; // owns, file order
    int m_cursor;
    bool m_loaded;

    mutable SRWLOCK m_folderGuard; // held only to copy m_folder
    CKWString m_folder;
};
