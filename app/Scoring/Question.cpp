// Question.cpp: a score form's question.
#include "Question.h"

#include "ScoreFile.h"

CQuestion::CQuestion(LONG id)
    : m_id(id), m_type(TYPE_SCALE), m_value(0), m_bias(0.0), m_share(0.0) {}

void CQuestion::Reset() {
    m_id = -1;
    m_prompt.Empty();
    m_type = TYPE_NONE;
    m_value = 0;
    m_bias = 0.0;
}

void CQuestion::SetPrompt(const char* prompt) {
    m_prompt = ScoreFile::Trimmed(prompt);
}
