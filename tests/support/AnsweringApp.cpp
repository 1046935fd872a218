#include "AnsweringApp.h"

int CAnsweringApp::DoMessageBox(LPCTSTR lpszPrompt, UINT, UINT) {
    m_prompts.push_back(lpszPrompt ? lpszPrompt : "");
    if (m_answers.empty())
        return IDNO;
    int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}
