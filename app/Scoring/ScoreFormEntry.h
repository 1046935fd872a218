// ScoreFormEntry.h: CScoreFormEntry, one score form: its ID, title, owner,
// creation time, the total computed last, and its questions in display order.
#pragma once

#include "Question.h"

#include <windows.h>

#include <memory>
#include <vector>

class CScoreFormEntry {
public:
    enum { TEXT_SIZE = 128 }; // of the title and owner, NUL included

    // No title or owner, time 0, total 0, no questions.
    explicit CScoreFormEntry(LONG id);
    // Copies every member and makes its own copy of every question.
    CScoreFormEntry(const CScoreFormEntry& other);
    CScoreFormEntry& operator=(const CScoreFormEntry& other);
    ~CScoreFormEntry();

    LONG GetID() const { return m_id; }
    void SetID(LONG id) { m_id = id; }
    const char* GetTitle() const { return m_title; }
    // Keep at most 127 characters, without blanks or line breaks at the ends
    // (see ScoreFile.h).
    void SetTitle(const char* title);
    const char* GetOwner() const { return m_owner; }
    void SetOwner(const char* owner);
    // Seconds since 1970-01-01 UTC.
    LONG GetTime() const { return m_time; }
    void SetTime(LONG time) { m_time = time; }
    double GetLastTotal() const { return m_lastTotal; }
    void SetLastTotal(double total) { m_lastTotal = total; }

    int GetQuestionCount() const { return static_cast<int>(m_questions.size()); }
    // The form's own question; null for an index out of range.
    CQuestion* GetQuestion(int index) const;
    // Appends a copy.
    void AddQuestion(const CQuestion& question);
    void RemoveQuestionAt(int index);
    void RemoveAllQuestions();
    // Does nothing for an index out of range.
    void SetQuestionValue(int index, LONG value);

    // Totals (ScoreTotals.cpp).
    // Questions answered and applicable (Value 0 or more).
    int CountAnswered() const;
    // No question unanswered; a form without questions is complete.
    BOOL IsComplete() const;
    // Computes the total, keeps it as the last total and returns it; gives
    // each question its share of the not-applicable questions' biases.
    double ComputeTotal();
    // The last total, computed afresh first when recompute is set.
    double GetTotal(BOOL recompute);

private:
    LONG m_id;
    char m_title[TEXT_SIZE];
    char m_owner[TEXT_SIZE];
    LONG m_time;
    double m_lastTotal;
    std::vector<std::unique_ptr<CQuestion>> m_questions; // owns, display order
};
