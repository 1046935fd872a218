// ScoredFileListEntry.h: CScoredFileListEntry, a listed recording with its
// scores, and the recording's score file "<base name>_score.xml".
//   ScoreData                              one answer: question ID and value
//   CScoredFileListEntry::SCallScoreEntry  one form's score of the recording
//
// A recording has at most one score per form. Its scores live in one file in
// the score store's folder (CScoreFormManager::GetFolder), named by the
// recording's base name, so recordings of one name in different folders share
// the file. The file, as every line ends (CR CR LF, see Scoring/ScoreFile.h):
//   <?xml version="1.0" standalone="yes" ?>
//   <QuestionsScoringData>
//   <Entry> ID (the form's), UserName, Value (two decimals), Time, then
//      <ScoredValues> with one <Entry> (ID, Value) per answer </ScoredValues>
//   </Entry> per score
//   </QuestionsScoringData>
//
// The entry has no lock: the search thread makes entries and loads their
// scores before it hands them to the user-interface thread, which alone uses
// them from then on.
#pragma once

#include "Common/KWFileListEntry.h"
#include "Common/KWString.h"

#include <windows.h>

#include <memory>
#include <vector>

class COXParserElement;

// An answer: the question's ID and its Value code (-2 unanswered, -1 not
// applicable, 0 to 10).
struct ScoreData {
    LONG QuestionID;
    LONG Value;
};
typedef std::vector<ScoreData> ScoreDataList;

class CScoredFileListEntry : public CKWFileListEntry {
public:
    struct SCallScoreEntry {
        enum { USER_NAME_SIZE = 128 }; // NUL included

        // No scorer, time 0, total 0, no answers.
        explicit SCallScoreEntry(LONG formId);

        char UserName[USER_NAME_SIZE]; // logon name of the scorer
        LONG Time;                     // seconds since 1970-01-01 UTC
        double Value;                  // the form's total score
        LONG FormID;
        ScoreDataList Answers; // one per question of the form, in its order
    };

    CScoredFileListEntry();
    // Takes the base part only: no scores.
    explicit CScoredFileListEntry(const CKWFileListEntry& entry);
    // Deep: every score with its answers.
    CScoredFileListEntry(const CScoredFileListEntry& other);
    CScoredFileListEntry& operator=(const CScoredFileListEntry& other);
    ~CScoredFileListEntry() override;

    // The walk over the scores: score = GetFirstScore(); while (score) { ...;
    // score = GetNextScore(); }.
    SCallScoreEntry* GetFirstScore();
    SCallScoreEntry* GetNextScore();
    // Moves the cursor there when the index is in range; null otherwise.
    SCallScoreEntry* GetScoreAt(int index);
    int GetScoreCount() const { return static_cast<int>(m_scores.size()); }
    // The total of the score at the cursor; 0 when the cursor is on none.
    double GetCurrentScoreValue() const;

    SCallScoreEntry* FindScore(LONG formId) const;
    int FindScoreIndex(LONG formId) const; // -1 when absent
    int HasScore(LONG formId) const { return FindScoreIndex(formId) >= 0 ? 1 : 0; }
    // The answers of the form's score; a shared empty list when there is none.
    const ScoreDataList& GetScoreData(LONG formId) const;
    static const ScoreDataList& GetEmptyScoreData();

    // Deletes every score; the file stays.
    void ClearScores();
    // Records the form's score with the answers its questions hold now; does
    // nothing when the store has no such form. A time of 0 means now. The
    // cursor moves to the score.
    void SetScore(LONG formId, const char* userName, double total, LONG time = 0);

    // Writes the score file; nothing when the entry holds no score. False when
    // the file was not written (nothing to write, no path, or a failure: the
    // old file then stays).
    bool SaveScores();
    // Reads the score file. Without force, nothing happens when the entry holds
    // a score already; with force the file is read even so (ClearScores first
    // for a fresh state). A missing or unreadable file adds nothing; of a file
    // that parses, every score that can be read is.
    void LoadScores(BOOL force);

    // Where SaveScores and LoadScores go: the store's folder (the current
    // folder when it has none) and "<base name>_score.xml". Empty when the
    // entry has no path or the path would be too long.
    CKWString GetScoreFilePath() const;

private:
    void ReadScores(const COXParserElement* parent);

    std::vector<std::unique_ptr<SCallScoreEntry>> m_scores; // owns, in the order added or read
    int m_cursor;
};
