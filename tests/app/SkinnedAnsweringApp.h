// SkinnedAnsweringApp.h: CSkinnedAnsweringApp, the application object of the
// tests of windows that need the program's skinned application: message boxes
// are answered from a queue (IDNO when it is empty) and every prompt is kept,
// as CAnsweringApp does for a plain application.
#pragma once

#include "toolkit/OXSkinnedApp.h"

#include <deque>
#include <string>
#include <vector>

class CSkinnedAnsweringApp : public COXSkinnedApp {
public:
    int DoMessageBox(LPCTSTR lpszPrompt, UINT, UINT) override {
        m_prompts.push_back(lpszPrompt != nullptr ? lpszPrompt : "");
        if (m_answers.empty())
            return IDNO;
        const int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    std::deque<int> m_answers;
    std::vector<std::string> m_prompts;
};
