// QuestionRepository.h: CQuestionRepository, the process-wide store of the
// predefined questions: a tree of named groups with questions below them, from
// which score forms are put together. Kept in "questions.xml" in the
// all-users configuration folder, shared by every user of the machine, and
// exported to and imported from files of the same format
// ("CallScorePredefinedQuestions.xml").
//
// The file, as every line ends (CR CR LF, see ScoreFile.h):
//   <?xml version="1.0" standalone="yes" ?>
//   <QuestionRepositoryData>
//   <Entry> ID, ParentID, GroupName, IsGroup (TRUE/FALSE), then
//      <Question> ID, Prompt, EvenBias, IsScaledType </Question>
//   </Entry> per node (groups carry a question too), in store order
//   </QuestionRepositoryData>
// Texts read back as written (escaped, ScoreFile.h).
//
// The repository lives until the process ends; its file is written only by
// the explicit saves of the question dialogs. Used on the user-interface
// thread; the lock guards Clear, the cursor searches and the appends of Load.
#pragma once

#include "Question.h"

#include "Common/KWString.h"

#include <windows.h>

#include <memory>
#include <vector>

class CKWLoggedSemaphore;
class COXParserElement;

class CQuestionRepository {
public:
    struct QUESTION_ENTRY {
        // ID 0, top level, no name, a new scaled question (ID -1), a question.
        QUESTION_ENTRY();

        LONG ID;
        LONG ParentID;       // -1 at the top level
        CKWString GroupName; // the label the tree shows, for groups and questions
        CQuestion Question;  // a question node's question; unused in a group
        LONG IsGroup;        // 1 group, 0 question
    };
    enum { FIND_BY_ID = 0, FIND_BY_PARENT = 1 };

    static CQuestionRepository* GetInstance();
    // Saves to the default path when it holds nodes and its file was read
    // (IsLoaded: else the file may hold questions this run never saw), then
    // deletes the store.
    static void DeleteInstance();

    // Appends the file's nodes (null: GetQuestionsFilePath()), skipping those
    // whose ID is held already. 1 when the file was parsed, else 0 with
    // nothing added; the store counts as loaded after any attempt.
    BOOL Load(const char* path = nullptr);
    // Writes every node (null: the default path). 0 when nothing was written:
    // the store is empty, or the write failed (the old file then stays).
    BOOL Save(const char* path = nullptr);
    // Deletes every node; the store is no longer loaded.
    void Clear();
    bool IsLoaded() const { return m_loaded; }

    // One more than the highest node ID; 0 for an empty store.
    LONG GetNextID() const;
    BOOL Exists(LONG id) const;
    BOOL HasChildren(LONG id) const;
    // The stored node itself; valid until it is removed.
    QUESTION_ENTRY* Find(LONG id) const;
    BOOL GetEntry(LONG id, QUESTION_ENTRY& entry) const;
    // Appends a copy unless a node holds its ID (then 0).
    BOOL Add(const QUESTION_ENTRY& entry);
    // Deletes the first node with the ID; the nodes below it stay.
    BOOL Remove(LONG id);
    // The first / next node whose ID (FIND_BY_ID) or ParentID (FIND_BY_PARENT)
    // is the key. The cursor is shared: one walk at a time.
    QUESTION_ENTRY* FindFirst(LONG key, int kind);
    QUESTION_ENTRY* FindNext(LONG key, int kind);
    int GetCount() const { return static_cast<int>(m_entries.size()); }
    // The first ID of the questions a form makes itself.
    static LONG GetFirstLocalQuestionID() { return 10000; }

private:
    CQuestionRepository();
    ~CQuestionRepository();
    CQuestionRepository(const CQuestionRepository&) = delete;
    CQuestionRepository& operator=(const CQuestionRepository&) = delete;

    void ReadEntries(const COXParserElement* parent);
    QUESTION_ENTRY* Scan(size_t start, LONG key, int kind);

    static CQuestionRepository* s_instance;

    CKWLoggedSemaphore* m_lock; // owns; null when it could not be allocated
    std::vector<std::unique_ptr<QUESTION_ENTRY>> m_entries; // owns, file or insertion order
    int m_cursor;                                           // -1: no search running
    bool m_loaded;
};
