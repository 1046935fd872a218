// Question.h: CQuestion, one question of a score form: its ID, prompt, type,
// current answer and weight.
#pragma once

#include "Common/KWString.h"

#include <windows.h>

class CQuestion {
public:
    enum { TYPE_NONE = 0, TYPE_SCALE = 1, TYPE_YESNO = 2 };
    // The answer codes; answered values are 0, 2, 4, 6, 8, 10 for a scale and
    // 10 (Yes) or 0 (No) for a yes/no question.
    enum { VALUE_UNANSWERED = -2, VALUE_NOT_APPLICABLE = -1 };

    // A new question: Type 1 (scale), Value 0, Bias 0, no share.
    explicit CQuestion(LONG id = -1);
    CQuestion(const CQuestion&) = default;
    CQuestion& operator=(const CQuestion&) = default;

    // Before a question is read from a file: ID -1, no prompt, Type 0 (which
    // behaves as yes/no and is written back as such), Value 0, Bias 0. The
    // share stays.
    void Reset();

    LONG GetID() const { return m_id; }
    void SetID(LONG id) { m_id = id; }
    CKWString GetPrompt() const { return m_prompt; }
    // Blanks and line breaks at the ends are dropped (see ScoreFile.h).
    void SetPrompt(const char* prompt);
    LONG GetType() const { return m_type; }
    void SetType(LONG type) { m_type = type; }
    BOOL IsScaled() const { return m_type == TYPE_SCALE; }
    LONG GetValue() const { return m_value; }
    void SetValue(LONG value) { m_value = value; }
    // Percent of the form's total.
    double GetBias() const { return m_bias; }
    void SetBias(double bias) { m_bias = bias; }

    // Used by the total computation (ScoreTotals.cpp).
    double GetAdjustedBias() const { return m_bias + m_share; }
    double GetShare() const { return m_share; }
    void ClearShare() { m_share = 0.0; }
    void AddShare(double share) { m_share += share; }
    double GetWeightedScore() const;

private:
    LONG m_id;
    CKWString m_prompt;
    LONG m_type;
    LONG m_value;
    double m_bias;
    // What the last total computation gave this question of the biases of
    // not-applicable questions; never stored.
    double m_share;
};
