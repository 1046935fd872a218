// AnsweringApp.h: CAnsweringApp, the base of a test program's application
// object: it answers the framework's message boxes from a queue instead of
// showing them, and keeps every prompt for the test to check.
#pragma once

#include "framework/WinApp.h"

#include <deque>
#include <string>
#include <vector>

class CAnsweringApp : public CWinApp {
public:
    // The next queued answer; IDNO when the queue is empty.
    int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt) override;

    std::deque<int> m_answers;
    std::vector<std::string> m_prompts;
};
