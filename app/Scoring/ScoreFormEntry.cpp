// ScoreFormEntry.cpp: a score form's members and questions.
#include "ScoreFormEntry.h"

#include "ScoreFile.h"

#include <cstring>

namespace {

void CopyText(char (&buffer)[CScoreFormEntry::TEXT_SIZE], const char* text) {
    CKWString kept = ScoreFile::Trimmed(text);
    lstrcpynA(buffer, kept, CScoreFormEntry::TEXT_SIZE);
}

} // namespace

CScoreFormEntry::CScoreFormEntry(LONG id) : m_id(id), m_time(0), m_lastTotal(0.0) {
    memset(m_title, 0, sizeof m_title);
    memset(m_owner, 0, sizeof m_owner);
}

CScoreFormEntry::CScoreFormEntry(const CScoreFormEntry& other) : CScoreFormEntry(other.m_id) {
    *this = other;
}

CScoreFormEntry& CScoreFormEntry::operator=(const CScoreFormEntry& other) {
    if (&other == this)
        return *this;
    m_id = other.m_id;
    memcpy(m_title, other.m_title, sizeof m_title);
    memcpy(m_owner, other.m_owner, sizeof m_owner);
    m_time = other.m_time;
    m_lastTotal = other.m_lastTotal;
    m_questions.clear();
    for (const auto& question : other.m_questions)
        m_questions.push_back(std::make_unique<CQuestion>(*question));
    return *this;
}

CScoreFormEntry::~CScoreFormEntry() = default;

void CScoreFormEntry::SetTitle(const char* title) {
    CopyText(m_title, title);
}

void CScoreFormEntry::SetOwner(const char* owner) {
    CopyText(m_owner, owner);
}

CQuestion* CScoreFormEntry::GetQuestion(int index) const {
    if (index < 0 || index >= GetQuestionCount())
        return nullptr;
    return m_questions[index].get();
}

void CScoreFormEntry::AddQuestion(const CQuestion& question) {
    m_questions.push_back(std::make_unique<CQuestion>(question));
}

void CScoreFormEntry::RemoveQuestionAt(int index) {
    if (index >= 0 && index < GetQuestionCount())
        m_questions.erase(m_questions.begin() + index);
}

void CScoreFormEntry::RemoveAllQuestions() {
    m_questions.clear();
}

void CScoreFormEntry::SetQuestionValue(int index, LONG value) {
    if (CQuestion* question = GetQuestion(index))
        question->SetValue(value);
}
