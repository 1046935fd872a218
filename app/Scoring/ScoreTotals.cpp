// ScoreTotals.cpp: the total score of a form. Questions that do not apply to
// a call give their bias, in equal parts, to the questions that do, so that a
// call can still reach 100.
#include "ScoreFormEntry.h"

double CQuestion::GetWeightedScore() const {
    return (m_value * m_bias + m_share * 10.0) / 10.0;
}

int CScoreFormEntry::CountAnswered() const {
    int answered = 0;
    for (const auto& question : m_questions) {
        if (question->GetValue() >= 0)
            ++answered;
    }
    return answered;
}

BOOL CScoreFormEntry::IsComplete() const {
    for (const auto& question : m_questions) {
        if (question->GetValue() < CQuestion::VALUE_NOT_APPLICABLE)
            return FALSE;
    }
    return TRUE;
}

// Unanswered questions take a share as well: they count once answered. With
// no question answered there is nobody to divide among (the total is 0 then
// whatever the shares hold), so nothing is given out rather than dividing by 0.
double CScoreFormEntry::ComputeTotal() {
    const int answered = CountAnswered();
    for (const auto& question : m_questions)
        question->ClearShare();
    if (answered > 0) {
        for (const auto& giver : m_questions) {
            if (giver->GetValue() != CQuestion::VALUE_NOT_APPLICABLE)
                continue;
            const double share = giver->GetBias() / answered;
            for (const auto& taker : m_questions) {
                if (taker->GetValue() != CQuestion::VALUE_NOT_APPLICABLE)
                    taker->AddShare(share);
            }
        }
    }
    // A question answered 0 adds nothing, not even its share.
    double total = 0.0;
    for (const auto& question : m_questions) {
        if (question->GetValue() > 0)
            total += question->GetWeightedScore();
    }
    m_lastTotal = total;
    return total;
}

double CScoreFormEntry::GetTotal(BOOL recompute) {
    if (recompute)
        ComputeTotal();
    return m_lastTotal;
}
