// Tests of "Edit question": the dialog shows the question's type, its bias cut
// to a whole percent and its prompt; OK writes all three back into the same
// object, Cancel nothing; a bias that is not a whole number from 0 to 100
// keeps the dialog open with the framework's message; the spin arrows step
// the bias by one and stop at 0 and 100. Each test runs the dialog modally,
// driven by a script from a timer. Screenshot: question-edit.png.
#include "native/gtest.h"

#include "QuestionEditDlg.h"
#include "QuestionsRes.h"
#include "Scoring/Question.h"

#include "tests/app/QuestionsTreeFixture.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/UiScript.h"

#include <commctrl.h>

#include <string>

namespace {

CAnsweringApp theApp;

std::string Text(HWND hDlg, int nID) {
    char szText[1024] = "";
    ::GetDlgItemTextA(hDlg, nID, szText, sizeof szText);
    return szText;
}

bool Checked(HWND hDlg, int nID) {
    return ::SendDlgItemMessageA(hDlg, nID, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Click(HWND hDlg, int nID) {
    ::SendDlgItemMessageA(hDlg, nID, BM_CLICK, 0, 0);
}

void Press(HWND hDlg, int nID) {
    ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)::GetDlgItem(hDlg, nID));
}

// One spin arrow, as the spin control reports it to the dialog.
void SpinArrow(HWND hDlg, int nDelta) {
    NMUPDOWN nm = {};
    nm.hdr.hwndFrom = ::GetDlgItem(hDlg, IDC_QUESTION_BIAS_SPIN);
    nm.hdr.idFrom = IDC_QUESTION_BIAS_SPIN;
    nm.hdr.code = UDN_DELTAPOS;
    nm.iDelta = nDelta;
    ::SendMessageA(hDlg, WM_NOTIFY, IDC_QUESTION_BIAS_SPIN, (LPARAM)&nm);
}

CQuestion MakeQuestion(LONG nType, double dBias, const char* pszPrompt) {
    CQuestion question(7);
    question.SetType(nType);
    question.SetBias(dBias);
    question.SetPrompt(pszPrompt);
    return question;
}

class QuestionEditDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_host.Make(CRect(60, 60, 460, 400)));
        theApp.m_prompts.clear();
        theApp.m_answers.clear();
    }
    void TearDown() override { m_host.Unmake(); }

    // Runs the editor on the question; atOpen sees it shown and ends it.
    INT_PTR Run(CQuestion* pQuestion, const std::function<void(HWND)>& atOpen) {
        CQuestionEditDlg dlg(&m_host);
        if (pQuestion != nullptr)
            dlg.SetQuestion(pQuestion);
        INT_PTR nResult = -2;
        WithDialog(IDC_QUESTION_BIAS, atOpen, [&] { nResult = dlg.DoModal(); });
        return nResult;
    }

    CQuestionsHostWnd m_host;
};

TEST_F(QuestionEditDlgTest, ShowsTypeWholeBiasAndPromptScreen) {
    const struct {
        LONG nType;
        double dBias;
        const char* pszPrompt;
        bool bYesNo, bScale;
        const char* pszBias;
    } cases[] = {
        {CQuestion::TYPE_SCALE, 33.7, "Rate the agent's offer", false, true, "33"},
        {CQuestion::TYPE_YESNO, 100.0, "Did the agent greet?", true, false, "100"},
        // A type read from a file without one sets neither button.
        {CQuestion::TYPE_NONE, 0.99, "Old question", false, false, "0"},
    };
    for (const auto& c : cases) {
        CQuestion question = MakeQuestion(c.nType, c.dBias, c.pszPrompt);
        bool bYesNo = !c.bYesNo, bScale = !c.bScale;
        std::string bias, prompt, caption;
        EXPECT_EQ(IDCANCEL, Run(&question, [&](HWND hDlg) {
                      bYesNo = Checked(hDlg, IDC_QUESTION_TYPE_YESNO);
                      bScale = Checked(hDlg, IDC_QUESTION_TYPE_SCALE);
                      bias = Text(hDlg, IDC_QUESTION_BIAS);
                      prompt = Text(hDlg, IDC_QUESTION_PROMPT);
                      char szCaption[64] = "";
                      ::GetWindowTextA(hDlg, szCaption, sizeof szCaption);
                      caption = szCaption;
                      if (c.nType == CQuestion::TYPE_SCALE) {
                          RECT rect;
                          ::GetWindowRect(hDlg, &rect);
                          EXPECT_TRUE(SaveScreenPng(rect, "question-edit.png"));
                      }
                      Press(hDlg, IDCANCEL);
                  }));
        EXPECT_EQ(c.bYesNo, bYesNo) << c.pszPrompt;
        EXPECT_EQ(c.bScale, bScale) << c.pszPrompt;
        EXPECT_EQ(c.pszBias, bias) << c.pszPrompt;
        EXPECT_EQ(c.pszPrompt, prompt);
        EXPECT_EQ("Edit question", caption);
    }
}

TEST_F(QuestionEditDlgTest, OkWritesTypeBiasAndPromptIntoTheSameQuestion) {
    const struct {
        LONG nTypeBefore;
        int nButton; // 0: none clicked
        const char* pszBias;
        const char* pszPrompt;
        LONG nType;
        double dBias;
    } cases[] = {
        {CQuestion::TYPE_SCALE, IDC_QUESTION_TYPE_YESNO, "25", "Polite & \"friendly\" <always>?",
         CQuestion::TYPE_YESNO, 25.0},
        {CQuestion::TYPE_YESNO, IDC_QUESTION_TYPE_SCALE, "0", ">Caf\xe9 line one\r\nline two",
         CQuestion::TYPE_SCALE, 0.0},
        {CQuestion::TYPE_SCALE, 0, "100", "Unchanged type", CQuestion::TYPE_SCALE, 100.0},
        // No type chosen: the question keeps the type it had.
        {CQuestion::TYPE_NONE, 0, "5", "Still typeless", CQuestion::TYPE_NONE, 5.0},
    };
    for (const auto& c : cases) {
        CQuestion question = MakeQuestion(c.nTypeBefore, 12.5, "before");
        EXPECT_EQ(IDOK, Run(&question, [&](HWND hDlg) {
                      if (c.nButton != 0)
                          Click(hDlg, c.nButton);
                      ::SetDlgItemTextA(hDlg, IDC_QUESTION_BIAS, c.pszBias);
                      ::SetDlgItemTextA(hDlg, IDC_QUESTION_PROMPT, c.pszPrompt);
                      Press(hDlg, IDOK);
                  }));
        EXPECT_EQ(c.nType, question.GetType()) << c.pszPrompt;
        EXPECT_EQ(c.dBias, question.GetBias()) << c.pszPrompt;
        EXPECT_STREQ(c.pszPrompt, question.GetPrompt());
        EXPECT_EQ(7, question.GetID());
    }
    EXPECT_TRUE(theApp.m_prompts.empty());
}

// The framework's range message is a real message box: the script reads it
// and closes it, then puts a valid bias and presses OK.
std::string RefusedBias(CWnd* pHost, CQuestion& question, const char* pszBias, bool bKillFocus,
                        bool& bStillOpen) {
    CQuestionEditDlg dlg(pHost);
    dlg.SetQuestion(&question);
    std::string message;
    HWND hDlg = nullptr;
    CUiScript script(
        [&] {
            if (HWND hBox = FindThreadDialog(hDlg, true))
                ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
            if (hDlg != nullptr)
                ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
        },
        {[&] {
             hDlg = FindDialogWith(IDC_QUESTION_BIAS);
             if (hDlg == nullptr)
                 return false;
             ::SetDlgItemTextA(hDlg, IDC_QUESTION_PROMPT, "changed");
             if (bKillFocus) {
                 ::SetFocus(::GetDlgItem(hDlg, IDC_QUESTION_BIAS));
                 ::SetDlgItemTextA(hDlg, IDC_QUESTION_BIAS, pszBias);
                 ::PostMessageA(hDlg, WM_NEXTDLGCTL,
                                (WPARAM)::GetDlgItem(hDlg, IDC_QUESTION_PROMPT), TRUE);
             } else {
                 ::SetDlgItemTextA(hDlg, IDC_QUESTION_BIAS, pszBias);
                 ::PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
             }
             return true;
         },
         [&] {
             HWND hBox = FindThreadDialog(hDlg, true);
             if (hBox == nullptr)
                 return false;
             char szText[256] = "";
             ::GetDlgItemTextA(hBox, 0xFFFF, szText, sizeof szText);
             message = szText;
             ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
             return true;
         },
         [&] {
             if (FindThreadDialog(hDlg, true) != nullptr)
                 return false;
             bStillOpen = ::IsWindowVisible(hDlg) != FALSE;
             // Nothing was written while the bias was refused.
             EXPECT_STREQ("kept", question.GetPrompt()) << pszBias;
             ::SetDlgItemTextA(hDlg, IDC_QUESTION_BIAS, "60");
             ::PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
             return true;
         }});
    EXPECT_EQ(IDOK, dlg.DoModal()) << pszBias;
    EXPECT_TRUE(script.Finished()) << pszBias;
    return message;
}

TEST_F(QuestionEditDlgTest, ABiasThatIsNotAWholePercentKeepsTheDialogOpen) {
    const struct {
        const char* pszBias;
        const char* pszMessage;
    } cases[] = {
        {"101", "Please enter an integer between 0 and 100."},
        {"4294967296", "Please enter a positive integer."},
        {"-1", "Please enter a positive integer."},
        {"", "Please enter a positive integer."},
    };
    for (const auto& c : cases) {
        CQuestion question = MakeQuestion(CQuestion::TYPE_SCALE, 40.0, "kept");
        bool bStillOpen = false;
        EXPECT_EQ(c.pszMessage, RefusedBias(&m_host, question, c.pszBias, false, bStillOpen));
        EXPECT_TRUE(bStillOpen) << c.pszBias;
        EXPECT_EQ(60.0, question.GetBias());
        EXPECT_STREQ("changed", question.GetPrompt());
    }
}

TEST_F(QuestionEditDlgTest, TheBiasFieldLosingTheFocusChecksTheRangeFocus) {
    CQuestion question = MakeQuestion(CQuestion::TYPE_SCALE, 40.0, "kept");
    bool bStillOpen = false;
    EXPECT_EQ("Please enter an integer between 0 and 100.",
              RefusedBias(&m_host, question, "250", true, bStillOpen));
    EXPECT_TRUE(bStillOpen);
    EXPECT_EQ(60.0, question.GetBias());
}

TEST_F(QuestionEditDlgTest, SpinArrowsStepByOneAndStopAtTheEnds) {
    const struct {
        const char* pszStart;
        int nDelta;
        const char* pszAfter;
    } cases[] = {
        {"0", -1, "0"},   {"0", 1, "1"},     {"50", 1, "51"},
        {"50", -1, "49"}, {"100", 1, "100"}, {"100", -1, "99"},
    };
    CQuestion question = MakeQuestion(CQuestion::TYPE_SCALE, 10.0, "spin");
    std::vector<std::string> results;
    EXPECT_EQ(IDCANCEL, Run(&question, [&](HWND hDlg) {
                  for (const auto& c : cases) {
                      ::SetDlgItemTextA(hDlg, IDC_QUESTION_BIAS, c.pszStart);
                      SpinArrow(hDlg, c.nDelta);
                      results.push_back(Text(hDlg, IDC_QUESTION_BIAS));
                  }
                  Press(hDlg, IDCANCEL);
              }));
    ASSERT_EQ(std::size(cases), results.size());
    for (size_t i = 0; i < results.size(); ++i)
        EXPECT_EQ(cases[i].pszAfter, results[i]) << cases[i].pszStart << " " << cases[i].nDelta;
    // Cancel: the question is as it was.
    EXPECT_EQ(10.0, question.GetBias());
    EXPECT_STREQ("spin", question.GetPrompt());
}

TEST_F(QuestionEditDlgTest, OkWithoutAQuestionDoesNothing) {
    bool bStillOpen = false;
    EXPECT_EQ(IDCANCEL, Run(nullptr, [&](HWND hDlg) {
                  Press(hDlg, IDOK);
                  bStillOpen = ::IsWindowVisible(hDlg) != FALSE;
                  Press(hDlg, IDCANCEL);
              }));
    EXPECT_TRUE(bStillOpen);
}

TEST_F(QuestionEditDlgTest, EnterInThePromptStartsANewLineFocus) {
    CQuestion question = MakeQuestion(CQuestion::TYPE_SCALE, 10.0, "one");
    bool bStillOpen = false;
    std::string prompt;
    EXPECT_EQ(IDOK, Run(&question, [&](HWND hDlg) {
                  HWND hPrompt = ::GetDlgItem(hDlg, IDC_QUESTION_PROMPT);
                  ::SetFocus(hPrompt);
                  ::SendMessageA(hPrompt, EM_SETSEL, 3, 3);
                  // Through the dialog's own message handling, as a key press.
                  MSG msg = {hPrompt, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
                  if (!::IsDialogMessageA(hDlg, &msg))
                      ::DispatchMessageA(&msg);
                  MSG chr = {hPrompt, WM_CHAR, '\r', 0, 0, {0, 0}};
                  ::DispatchMessageA(&chr);
                  bStillOpen = ::IsWindowVisible(hDlg) != FALSE;
                  ::SendMessageA(hPrompt, EM_REPLACESEL, FALSE, (LPARAM) "two");
                  prompt = Text(hDlg, IDC_QUESTION_PROMPT);
                  Press(hDlg, IDOK);
              }));
    EXPECT_TRUE(bStillOpen);
    EXPECT_EQ("one\r\ntwo", prompt);
    EXPECT_STREQ("one\r\ntwo", question.GetPrompt());
}

} // namespace
