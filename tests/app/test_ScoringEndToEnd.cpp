// Call scoring in the program itself, ZelDorvane.exe, started and driven from
// outside with real mouse and keyboard input as a user works:
// - a score form of four questions built in the forms manager (Settings >
//   Forms Manager...) and saved, which gives the open call list its column;
// - a call of the list scored against that form (Ctrl+G), and the traces of
//   that everywhere a user looks: the score file, the call's important mark
//   and score, the counters, the saved answers when it is scored again, and
//   its link below form and scorer in the Access Panel's "My Call Score"
//   group, which plays it and outlives the program;
// - the forms exported, a clean profile started and the forms imported.
// Each test starts from forms it made itself, so a fault in one window does
// not hide what the others do. Each run has a private configuration
// (RunningProgram.h); the controls of the program are read through its own
// memory (RemoteControls.h). Screenshots of every dialog are kept in the
// test's working folder.
#include "native/gtest.h"

#include "CallHistory.h"
#include "CallScoreTreeRes.h"
#include "OutlookBar.h"
#include "QuestionsRes.h"
#include "ScoreCallRes.h"
#include "ScoreFormsRes.h"
#include "ScoringRes.h"
#include "resource.h"
#include "Scoring/Question.h"
#include "Scoring/ScoreFormEntry.h"
#include "Scoring/ScoreFormManager.h"

#include "tests/app/RemoteControls.h"
#include "tests/app/RunningProgram.h"
#include "tests/support/AudioCapture.h"
#include "tests/support/SampleRecordings.h"

#include "Common/KWFileListEntry.h"
#include "Common/KWSysUtils.h"

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

const int kRows = 10; // question rows of the scoring dialog

// The call list's columns that a score changes.
const int kImportantColumn = 1;
const int kImportantImage = 1;

const int kMessageText = 0xFFFF;  // a message box's text
const int kFileNameCombo = 0x47C; // the file dialogs' "File name" box

const DWORD kDialogTimeoutMs = 10000;

struct QuestionSpec {
    const char* prompt;
    bool scaled;
    int bias;
};

// The form a user builds: biases that add up to 100, two scaled questions and
// two yes/no ones, and texts that a file must keep as typed.
const char kFormTitle[] = "Sales & <Support> Review";
const QuestionSpec kQuestions[] = {{"Greets the caller by name", true, 40},
                                   {"Explains the \"Gold\" plan & its price", true, 30},
                                   {"Offers a follow-up call", false, 20},
                                   {"Mentions the survey > optional", false, 10}};
const int kQuestionCount = 4;

// Types text (ASCII and Latin-1 letters) as a keyboard enters each character.
void TypeText(const std::string& text) {
    for (unsigned char c : text) {
        INPUT inputs[2] = {};
        for (int i = 0; i < 2; ++i) {
            inputs[i].type = INPUT_KEYBOARD;
            inputs[i].ki.wScan = c;
            inputs[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
        }
        ::SendInput(2, inputs, sizeof(INPUT));
        ::Sleep(10);
    }
}

void PressKey(WORD wVk) {
    SendKeyTap(wVk);
    ::Sleep(100);
}

// A key with a modifier held (VK_CONTROL, VK_MENU).
void PressWith(WORD wModifier, WORD wVk) {
    SendKey(wModifier, false);
    SendKeyTap(wVk);
    SendKey(wModifier, true);
    ::Sleep(300);
}

POINT RectCenter(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

bool IsShown(HWND hWnd) {
    return hWnd != nullptr && ::IsWindowVisible(hWnd);
}

bool IsChecked(HWND hButton) {
    return ::SendMessageA(hButton, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// A control's text as the control itself holds it (the caption that
// GetWindowText reads of another process's window is not an edit field's
// typed text).
std::string ControlText(HWND hWnd) {
    char text[1024] = "";
    ::SendMessageA(hWnd, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

std::string ItemText(HWND hDlg, int nID) {
    return ControlText(::GetDlgItem(hDlg, nID));
}

// The pixels of a screen rectangle dark enough to be text or a line.
int DarkPixels(const RECT& rect) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0)
        return 0;
    CCanvas canvas(w, h);
    CaptureScreen(canvas, rect);
    int dark = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const COLORREF color = ::GetPixel(canvas.dc.m_hDC, x, y);
            if (GetRValue(color) + GetGValue(color) + GetBValue(color) < 3 * 96)
                ++dark;
        }
    }
    return dark;
}

// Whether a label shows all of its text: measured in the dialogs' font (MS
// Shell Dlg, 8 points), a text wider than the label wraps, and a label one
// line high then shows its first words only.
::testing::AssertionResult ShowsWholeText(HWND hDlg, int nID) {
    HWND hLabel = ::GetDlgItem(hDlg, nID);
    const std::string text = ControlText(hLabel);
    RECT client;
    ::GetClientRect(hLabel, &client);
    HDC hdc = ::GetDC(nullptr);
    HFONT hFont =
        ::CreateFontA(-::MulDiv(8, ::GetDeviceCaps(hdc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE,
                      FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                      DEFAULT_QUALITY, DEFAULT_PITCH, "MS Shell Dlg");
    HGDIOBJ hOld = ::SelectObject(hdc, hFont);
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(hdc, text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICA metrics = {};
    ::GetTextMetricsA(hdc, &metrics);
    ::SelectObject(hdc, hOld);
    ::DeleteObject(hFont);
    ::ReleaseDC(nullptr, hdc);
    const int lines = client.bottom / (metrics.tmHeight > 0 ? metrics.tmHeight : 1);
    if (size.cx <= client.right || lines > 1)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << text << "\" needs " << size.cx
                                         << " pixels, control " << nID << " has " << client.right;
}

// The toolbar below hParent that holds the command.
struct ToolbarSearch {
    int command;
    HWND found;
};

BOOL CALLBACK MatchToolbar(HWND hWnd, LPARAM lParam) {
    auto* pSearch = reinterpret_cast<ToolbarSearch*>(lParam);
    char name[64] = "";
    ::GetClassNameA(hWnd, name, sizeof(name));
    if (lstrcmpiA(name, TOOLBARCLASSNAMEA) == 0 &&
        ::SendMessageA(hWnd, TB_COMMANDTOINDEX, pSearch->command, 0) >= 0) {
        pSearch->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND ToolbarWithCommand(HWND hParent, int nCommand) {
    ToolbarSearch search = {nCommand, nullptr};
    ::EnumChildWindows(hParent, &MatchToolbar, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The texts between <Value> and </Value>, in file order.
std::vector<std::string> ValuesOf(const std::string& xml) {
    std::vector<std::string> values;
    const std::string open = "<Value>", close = "</Value>";
    for (size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at)) {
        at += open.size();
        const size_t end = xml.find(close, at);
        if (end == std::string::npos)
            break;
        values.push_back(xml.substr(at, end - at));
    }
    return values;
}

std::string LogonName() {
    char name[1000] = "";
    DWORD size = sizeof(name);
    ::GetUserNameA(name, &size);
    return name;
}

std::string AllUsersConfig(const char* file) {
    return std::string(CSettings::GetConfigFilePath(TRUE, file));
}

// The forms a user had made: one with the texts a file must keep as typed,
// one with a predefined question (a repository ID below 10000).
void AddForm(CScoreFormManager& store, LONG id, const char* title,
             const std::vector<CQuestion>& questions) {
    CScoreFormEntry form(id);
    form.SetTitle(title);
    form.SetOwner("Mira Okafor");
    form.SetTime(1760000000);
    for (const CQuestion& question : questions)
        form.AddQuestion(question);
    ASSERT_TRUE(store.AddForm(form));
}

CQuestion MakeQuestion(LONG id, const char* prompt, LONG type, double bias) {
    CQuestion question(id);
    question.SetPrompt(prompt);
    question.SetType(type);
    question.SetBias(bias);
    return question;
}

// Title, owner, time and every question of each form, one line each, so two
// stores compare as text.
std::vector<std::string> Outline(CScoreFormManager& store) {
    std::vector<std::string> lines;
    for (CScoreFormEntry* pForm = store.GetFirstForm(); pForm != nullptr;
         pForm = store.GetNextForm()) {
        lines.push_back(std::to_string(pForm->GetID()) + " " + pForm->GetTitle() + " | " +
                        pForm->GetOwner() + " | " + std::to_string(pForm->GetTime()));
        for (int i = 0; i < pForm->GetQuestionCount(); ++i) {
            const CQuestion* pQuestion = pForm->GetQuestion(i);
            lines.push_back("  " + std::to_string(pQuestion->GetID()) + " " +
                            std::to_string(pQuestion->GetType()) + " " +
                            std::to_string(pQuestion->GetBias()) + " " +
                            static_cast<const char*>(pQuestion->GetPrompt()));
        }
    }
    return lines;
}

class ScoringEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string folder = m_temp.File("calls");
        ::CreateDirectoryA(folder.c_str(), nullptr);
        for (const SSampleRecording& sample : MakeSampleRecordings(folder + "\\")) {
            if (!sample.encrypted && !sample.important && m_calls.size() < 2)
                m_calls.push_back(sample.path);
        }
        ASSERT_EQ(2u, m_calls.size());
        // The stores of the program find their folders through its names.
        CString company, product;
        company.LoadString(IDS_COMPANY);
        product.LoadString(IDS_PRODUCT);
        CKWSysUtils::GetInstance()->SetNames(CKWString(company), CKWString(product));
    }
    // The test's own copy of the form store goes without a save: its default
    // path may already be the standard profile's again.
    void TearDown() override { ForgetForms(); }

    static void ForgetForms() {
        CScoreFormManager::GetInstance()->Clear();
        CScoreFormManager::DeleteInstance();
    }

    // Starts the program with nothing to list.
    void Start(CProgram& program) {
        ASSERT_TRUE(program.Start());
        m_hMain = program.WaitForWindow("Zel Moxel");
        ASSERT_NE(nullptr, m_hMain);
        ::Sleep(700);
        Foreground(m_hMain);
    }

    // Starts the program with the two calls in the play history, which opens
    // as the call list at start-up.
    void StartWithCalls(CProgram& program) {
        CCallHistory* pHistory = CCallHistory::GetInstance();
        for (const std::string& path : m_calls)
            pHistory->Add(path.c_str());
        ASSERT_TRUE(pHistory->Save());
        CCallHistory::DeleteInstance();

        ASSERT_TRUE(program.Start());
        m_hMain = program.WaitForWindow("Zel Moxel");
        ASSERT_NE(nullptr, m_hMain);
        ASSERT_TRUE(WaitFor([&] {
            return (m_hList = VisibleListWithCount(m_hMain, 2)) != nullptr;
        })) << "the play history opens at start-up";
        ::Sleep(700); // the new list takes its first selection before the user's
        Foreground(m_hMain);
    }

    static void Foreground(HWND hWnd) {
        ::SetForegroundWindow(hWnd);
        EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == hWnd; }, 5000));
        ::Sleep(200);
    }

    // Settings > Forms Manager... from the keyboard.
    HWND OpenFormsManager(CProgram& program) {
        Foreground(m_hMain);
        PressWith(VK_MENU, 'S');
        PressKey('F');
        HWND hDlg = program.WaitForWindow("Manage Call Score Forms", kDialogTimeoutMs);
        EXPECT_NE(nullptr, hDlg) << "Settings > Forms Manager...";
        if (hDlg != nullptr)
            ::Sleep(500);
        return hDlg;
    }

    // A message box of the program (other than the main window) and its text.
    HWND WaitForMessageBox(CProgram& program, std::string& text) {
        HWND hBox = nullptr;
        WaitFor(
            [&] {
                hBox = program.FindWindowTitled("Zel Moxel", m_hMain);
                return hBox != nullptr && ::GetDlgItem(hBox, kMessageText) != nullptr;
            },
            kDialogTimeoutMs);
        text = hBox != nullptr ? ItemText(hBox, kMessageText) : std::string();
        return hBox;
    }

    void ClickToolbarCommand(CProgram& program, HWND hDlg, int nCommand) {
        HWND hBar = ToolbarWithCommand(hDlg, nCommand);
        ASSERT_NE(nullptr, hBar) << "toolbar button " << nCommand;
        ASSERT_TRUE(WaitFor(
            [&] { return (::SendMessageA(hBar, TB_GETSTATE, nCommand, 0) & TBSTATE_ENABLED) != 0; },
            5000))
            << "toolbar button " << nCommand << " enabled";
        const RECT rect = ToolbarButtonRect(program.Process(), hBar, nCommand);
        ASSERT_LT(rect.left, rect.right) << "toolbar button " << nCommand;
        Click(RectCenter(rect));
    }

    // Replaces an edit field's text as a user does: click into it, select
    // everything, type. Input reaches the program a little later: the field
    // has the focus before the keys go, and holds the text before this returns
    // (false when it never does).
    static bool TypeInto(HWND hEdit, const std::string& text) {
        Click(Center(hEdit));
        if (!WaitFor([&] { return HasFocus(hEdit); }, 3000))
            return false;
        PressWith(VK_CONTROL, VK_END);
        SendKey(VK_SHIFT, false);
        SendKey(VK_CONTROL, false);
        SendKeyTap(VK_HOME);
        SendKey(VK_CONTROL, true);
        SendKey(VK_SHIFT, true);
        ::Sleep(100);
        TypeText(text);
        return WaitFor([&] { return ControlText(hEdit) == text; }, 3000);
    }

    // Whether the window (or, for a combo box, its edit field) has the
    // keyboard focus of its thread.
    static bool HasFocus(HWND hWnd) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(hWnd, nullptr), &info))
            return false;
        return info.hwndFocus == hWnd || ::IsChild(hWnd, info.hwndFocus);
    }

    // New Question in the forms manager, filled in the question editor.
    void AddQuestion(CProgram& program, HWND hManager, const QuestionSpec& question, bool shot) {
        ClickToolbarCommand(program, hManager, ID_NEW_QUESTION);
        HWND hEdit = program.WaitForWindow("Edit question", kDialogTimeoutMs);
        ASSERT_NE(nullptr, hEdit) << "New Question opens the question editor";
        ::Sleep(300);
        HWND hType = ::GetDlgItem(hEdit, question.scaled ? IDC_QUESTION_TYPE_SCALE
                                                         : IDC_QUESTION_TYPE_YESNO);
        HWND hBias = ::GetDlgItem(hEdit, IDC_QUESTION_BIAS);
        HWND hPrompt = ::GetDlgItem(hEdit, IDC_QUESTION_PROMPT);
        ASSERT_NE(nullptr, hType);
        ASSERT_NE(nullptr, hBias);
        ASSERT_NE(nullptr, hPrompt);
        EXPECT_EQ(question.scaled ? "&Scale" : "&Yes/No", WindowText(hType));
        Click(Center(hType));
        EXPECT_TRUE(IsChecked(hType));
        EXPECT_TRUE(TypeInto(hBias, std::to_string(question.bias))) << ControlText(hBias);
        EXPECT_TRUE(TypeInto(hPrompt, question.prompt)) << ControlText(hPrompt);
        if (shot)
            SaveWindowPng(hEdit, "e2e_question_editor.png");
        Click(Center(::GetDlgItem(hEdit, IDOK)));
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(hEdit); }, kDialogTimeoutMs))
            << "OK closes the question editor";
        ::Sleep(200);
    }

    // The program's visible top-level window that holds a control with the id.
    struct OwnWindowSearch {
        DWORD pid;
        int id;
        HWND found;
    };
    static BOOL CALLBACK MatchOwnWindow(HWND hWnd, LPARAM lParam) {
        auto* pSearch = reinterpret_cast<OwnWindowSearch*>(lParam);
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hWnd, &pid);
        if (pid == pSearch->pid && ::IsWindowVisible(hWnd) &&
            ChildWithId(hWnd, pSearch->id) != nullptr) {
            pSearch->found = hWnd;
            return FALSE;
        }
        return TRUE;
    }
    static HWND WaitForWindowWith(CProgram& program, int nID) {
        OwnWindowSearch search = {::GetProcessId(program.Process()), nID, nullptr};
        WaitFor(
            [&] {
                ::EnumWindows(&MatchOwnWindow, reinterpret_cast<LPARAM>(&search));
                return search.found != nullptr;
            },
            kDialogTimeoutMs);
        return search.found;
    }

    // A file dialog of the program: the path typed as the file name, Enter.
    void ChooseFile(CProgram& program, const std::string& path, const char* shot) {
        HWND hDialog = WaitForWindowWith(program, kFileNameCombo);
        ASSERT_NE(nullptr, hDialog) << "a file dialog";
        ::Sleep(500);
        HWND hName = ChildWithId(hDialog, kFileNameCombo);
        EXPECT_EQ("CallScoreForms.xml", ControlText(hName)) << "the suggested file name";
        SaveWindowPng(hDialog, shot);
        EXPECT_TRUE(TypeInto(hName, path)) << ControlText(hName);
        PressKey(VK_RETURN);
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(hDialog); }, kDialogTimeoutMs))
            << "Enter takes the file name";
    }

    // The message box that answers a command: its text, then OK.
    std::string Acknowledge(CProgram& program, const char* shot) {
        std::string text;
        HWND hBox = WaitForMessageBox(program, text);
        EXPECT_NE(nullptr, hBox) << "a message";
        if (hBox == nullptr)
            return text;
        ::Sleep(300);
        SaveWindowPng(hBox, shot);
        Click(Center(::GetDlgItem(hBox, IDOK)));
        EXPECT_TRUE(WaitFor([&] { return !::IsWindow(hBox); }, kDialogTimeoutMs));
        return text;
    }

    // A click on the Access Panel's last group header, "My Call Score", at
    // the bottom of the bar; its tree.
    HWND ShowCallScoreGroup() {
        HWND hCallScores = ChildWithId(m_hMain, COutlookBar::IDC_CALLSCORES);
        EXPECT_NE(nullptr, hCallScores);
        HWND hBar = hCallScores;
        while (hBar != nullptr && ::GetDlgCtrlID(hBar) != COutlookBar::IDC_SHORTCUTBAR)
            hBar = ::GetParent(hBar);
        EXPECT_NE(nullptr, hBar) << "the Access Panel's shortcut bar";
        if (hCallScores == nullptr || hBar == nullptr)
            return nullptr;
        RECT bar;
        ::GetWindowRect(hBar, &bar);
        Click({(bar.left + bar.right) / 2, bar.bottom - 8});
        EXPECT_TRUE(WaitFor([&] { return IsShown(hCallScores); }, 5000))
            << "a click on \"My Call Score\" shows its tree";
        ::Sleep(300);
        return hCallScores;
    }

    // The column of the call list that shows the form's scores; -1 when the
    // list has none.
    int ScoreColumn(CProgram& program) {
        const std::string title = std::string("Call Score <") + kFormTitle + ">";
        std::vector<std::string> titles;
        WaitFor(
            [&] {
                titles = ListColumnTitles(program.Process(), m_hList);
                return !titles.empty() && titles.back() == title;
            },
            5000);
        EXPECT_FALSE(titles.empty());
        return !titles.empty() && titles.back() == title ? static_cast<int>(titles.size()) - 1 : -1;
    }

    // The form of kQuestions as the forms manager saves it, in the profile.
    static void SaveForm() {
        std::vector<CQuestion> questions;
        for (int i = 0; i < kQuestionCount; ++i)
            questions.push_back(
                MakeQuestion(10000 + i, kQuestions[i].prompt,
                             kQuestions[i].scaled ? CQuestion::TYPE_SCALE : CQuestion::TYPE_YESNO,
                             kQuestions[i].bias));
        CScoreFormManager* pStore = CScoreFormManager::GetInstance();
        AddForm(*pStore, 0, kFormTitle, questions);
        ASSERT_TRUE(pStore->Save(AllUsersConfig("scoreforms.xml").c_str()));
        ForgetForms();
    }

    // A modal dialog that a message has answered is in front again, with the
    // main window still disabled below it.
    void ExpectModalInFront(HWND hDialog) {
        EXPECT_TRUE(IsShown(hDialog));
        EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == hDialog; }, 3000))
            << "the dialog is in front after the message";
        EXPECT_FALSE(::IsWindowEnabled(m_hMain)) << "the main window waits for the dialog";
    }

    // File > Exit; a question about the changed list is answered No.
    void Exit(CProgram& program) {
        Foreground(m_hMain);
        PressWith(VK_MENU, 'F');
        PressKey('X');
        EXPECT_TRUE(WaitFor([&] {
            if (HWND hBox = program.FindWindowTitled("Zel Moxel", m_hMain)) {
                if (::GetDlgItem(hBox, IDNO) != nullptr)
                    ::PostMessageA(hBox, WM_COMMAND, IDNO, 0);
            }
            return !program.IsRunning();
        })) << "File > Exit ends the program";
    }

    CTempFolder m_temp;
    std::vector<std::string> m_calls;
    HWND m_hMain = nullptr;
    HWND m_hList = nullptr;
};

TEST_F(ScoringEndToEnd, BuildsAFormOfFourQuestionsInTheFormsManagerInputScreen) {
    CPrivateConfiguration configuration;
    CProgram program;
    StartWithCalls(program);
    if (HasFatalFailure())
        return;
    const HANDLE hProcess = program.Process();
    SaveWindowPng(m_hMain, "e2e_main_before.png");

    // The forms manager of a new profile has no forms.
    HWND hManager = OpenFormsManager(program);
    ASSERT_NE(nullptr, hManager);
    HWND hTree = ::GetDlgItem(hManager, IDC_FORMS_TREE);
    HWND hQuestions = ::GetDlgItem(hManager, IDC_FORM_QUESTIONS);
    ASSERT_NE(nullptr, hTree);
    ASSERT_NE(nullptr, hQuestions);
    EXPECT_EQ(0, ::SendMessageA(hTree, TVM_GETCOUNT, 0, 0));
    SaveWindowPng(hManager, "e2e_forms_manager_empty.png");

    // New Score Form: "New Form", selected and shown; renamed in the tree.
    ClickToolbarCommand(program, hManager, ID_NEW_SCORE_FORM);
    ASSERT_TRUE(WaitFor([&] { return ::SendMessageA(hTree, TVM_GETCOUNT, 0, 0) == 1; }, 5000))
        << "a click on New Score Form adds a form";
    HTREEITEM hForm = FindTreeItem(hProcess, hTree, "New Form");
    ASSERT_NE(nullptr, hForm);
    EXPECT_EQ("New Form", ItemText(hManager, IDC_FORM_NAME));
    // A click on the selected label, a pause, a second click: the label edit.
    const POINT ptLabel = RectCenter(TreeItemRect(hProcess, hTree, hForm));
    Click(ptLabel);
    ::Sleep(::GetDoubleClickTime() + 200);
    Click(ptLabel);
    HWND hLabelEdit = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            hLabelEdit = reinterpret_cast<HWND>(::SendMessageA(hTree, TVM_GETEDITCONTROL, 0, 0));
            return hLabelEdit != nullptr;
        },
        5000))
        << "a slow second click edits the form's name";
    PressWith(VK_CONTROL, VK_END);
    SendKey(VK_SHIFT, false);
    SendKeyTap(VK_HOME);
    SendKey(VK_SHIFT, true);
    TypeText(kFormTitle);
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(hLabelEdit); }, 5000));
    EXPECT_EQ(kFormTitle, TreeItemText(hProcess, hTree, hForm));
    EXPECT_EQ(kFormTitle, ItemText(hManager, IDC_FORM_NAME));
    EXPECT_TRUE(IsShown(hManager)) << "Enter in the label edit ends the edit only";

    // Four questions; Save Changes shows only once the biases add up to 100.
    for (int i = 0; i < kQuestionCount; ++i) {
        const QuestionSpec& question = kQuestions[i];
        AddQuestion(program, hManager, question, i == 1);
        if (HasFatalFailure())
            return;
        ASSERT_EQ(i + 1, ::SendMessageA(hQuestions, LVM_GETITEMCOUNT, 0, 0));
        EXPECT_EQ(std::to_string(i + 1), ListCellText(hProcess, hQuestions, i, 0));
        EXPECT_EQ(question.scaled ? "Scale" : "Yes/No", ListCellText(hProcess, hQuestions, i, 1));
        EXPECT_EQ(question.prompt, ListCellText(hProcess, hQuestions, i, 2));
        EXPECT_EQ(std::to_string(question.bias) + "%", ListCellText(hProcess, hQuestions, i, 3));
        const bool complete = i + 1 == kQuestionCount;
        EXPECT_EQ(complete, IsShown(::GetDlgItem(hManager, IDOK))) << "after question " << i + 1;
        EXPECT_EQ(!complete, IsShown(::GetDlgItem(hManager, IDC_FORM_BIAS_WARNING)))
            << "after question " << i + 1;
        if (i == 2) {
            EXPECT_EQ("Total Bias: 90%", ItemText(hManager, IDC_FORM_BIAS));
            EXPECT_TRUE(ShowsWholeText(hManager, IDC_FORM_BIAS));
            SaveWindowPng(hManager, "e2e_forms_manager_90.png");
            // Enter does not save a form whose biases miss 100.
            PressKey(VK_RETURN);
            ::Sleep(500);
            EXPECT_TRUE(IsShown(hManager)) << "Enter at 90%";
            EXPECT_FALSE(FileExists(AllUsersConfig("scoreforms.xml"))) << "Enter at 90%";
        }
    }
    EXPECT_EQ("Total Bias: 100%", ItemText(hManager, IDC_FORM_BIAS));
    EXPECT_TRUE(ShowsWholeText(hManager, IDC_FORM_BIAS));
    EXPECT_TRUE(ShowsWholeText(hManager, IDC_FORM_USER));
    ::Sleep(300);
    SaveWindowPng(hManager, "e2e_forms_manager_form.png");

    // Save Changes writes the forms and gives the open call list the form's
    // score column.
    Click(Center(::GetDlgItem(hManager, IDOK)));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(hManager); }, kDialogTimeoutMs))
        << "Save Changes closes the forms manager";
    const std::string formsFile = ReadWholeFile(AllUsersConfig("scoreforms.xml"));
    EXPECT_NE(std::string::npos, formsFile.find("Sales &amp; &lt;Support&gt; Review")) << formsFile;
    {
        CScoreFormManager* pForms = CScoreFormManager::GetInstance();
        ASSERT_TRUE(pForms->Load(AllUsersConfig("scoreforms.xml").c_str()));
        ASSERT_EQ(1, pForms->GetFormCount());
        CScoreFormEntry* pForm = pForms->GetFormAt(0);
        EXPECT_STREQ(kFormTitle, pForm->GetTitle());
        EXPECT_EQ(LogonName(), pForm->GetOwner());
        ASSERT_EQ(kQuestionCount, pForm->GetQuestionCount());
        for (int i = 0; i < kQuestionCount; ++i) {
            const CQuestion* pQuestion = pForm->GetQuestion(i);
            EXPECT_EQ(10000 + i, pQuestion->GetID());
            EXPECT_STREQ(kQuestions[i].prompt, pQuestion->GetPrompt());
            EXPECT_EQ(kQuestions[i].scaled ? CQuestion::TYPE_SCALE : CQuestion::TYPE_YESNO,
                      pQuestion->GetType());
            EXPECT_DOUBLE_EQ(kQuestions[i].bias, pQuestion->GetBias());
        }
    }
    const int scoreColumn = ScoreColumn(program);
    ASSERT_GE(scoreColumn, 0) << "Save Changes gives the list the form's score column";
    EXPECT_EQ("", ListCellText(hProcess, m_hList, 0, scoreColumn));
    Exit(program);
}

TEST_F(ScoringEndToEnd, ScoresACallAndShowsItEverywhereInputScreen) {
    CAudioCapture capture;
    CPrivateConfiguration configuration;
    SaveForm();
    CProgram program;
    StartWithCalls(program);
    if (HasFatalFailure())
        return;
    const HANDLE hProcess = program.Process();
    const int scoreColumn = ScoreColumn(program);
    ASSERT_GE(scoreColumn, 0) << "the list has the form's score column";

    // Score the first call: select it, Ctrl+G.
    Foreground(m_hMain);
    Click(ListRowPoint(m_hList, 0));
    ASSERT_TRUE(WaitFor(
        [&] { return ::SendMessageA(m_hList, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == 0; }, 5000));
    PressWith(VK_CONTROL, 'G');
    HWND hScore = program.WaitForWindow("Score Call - ", kDialogTimeoutMs);
    ASSERT_NE(nullptr, hScore) << "Ctrl+G opens the scoring dialog";
    ::Sleep(500);
    const std::string scoredPath = ItemText(hScore, IDC_SCORE_PATH);
    const std::string scoredName = scoredPath.substr(scoredPath.rfind('\\') + 1);
    EXPECT_EQ("Score Call - " + scoredName, WindowText(hScore));
    EXPECT_EQ(0u, ItemText(hScore, IDC_SCORE_DATE_LENGTH).rfind("Date/Time: ", 0))
        << ItemText(hScore, IDC_SCORE_DATE_LENGTH);
    EXPECT_EQ(0u, ItemText(hScore, IDC_SCORE_USER).rfind("Scored by: " + LogonName() + " - ", 0))
        << ItemText(hScore, IDC_SCORE_USER);
    EXPECT_EQ("Total Score: Incomplete", ItemText(hScore, IDC_SCORE_TOTAL));
    EXPECT_TRUE(ShowsWholeText(hScore, IDC_SCORE_TOTAL));
    EXPECT_TRUE(ShowsWholeText(hScore, IDC_SCORE_USER));
    EXPECT_TRUE(ShowsWholeText(hScore, IDC_SCORE_DATE_LENGTH));
    HWND hTabs = ::GetDlgItem(hScore, IDC_SCORE_TABS);
    ASSERT_EQ(1, ::SendMessageA(hTabs, TCM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(kFormTitle, TabItemText(hProcess, hTabs, 0));
    EXPECT_GT(DarkPixels(TabItemRect(hProcess, hTabs, 0)), 30) << "the form's tab is drawn";
    EXPECT_FALSE(IsShown(::GetDlgItem(hScore, IDOK))) << "one form: no Next";
    for (int i = 0; i < kRows; ++i) {
        const bool used = i < kQuestionCount;
        EXPECT_EQ(used, IsShown(::GetDlgItem(hScore, IDC_SCORE_QUESTION_FIRST + i)))
            << "row " << i + 1;
        EXPECT_EQ(used, IsShown(::GetDlgItem(hScore, IDC_SCORE_NA_FIRST + i))) << "row " << i + 1;
        EXPECT_EQ(used && kQuestions[i].scaled,
                  IsShown(::GetDlgItem(hScore, IDC_SCORE_MARK_FIRST + i)))
            << "row " << i + 1;
        EXPECT_EQ(used && !kQuestions[i].scaled,
                  IsShown(::GetDlgItem(hScore, IDC_SCORE_YES_FIRST + i)))
            << "row " << i + 1;
        if (used) {
            EXPECT_EQ(" " + std::to_string(i + 1) + ". " + kQuestions[i].prompt,
                      ItemText(hScore, IDC_SCORE_QUESTION_FIRST + i));
        }
    }
    SaveWindowPng(hScore, "e2e_score_dialog_new.png");

    // The answers: 8 and 10 on the scales (the stars clicked 70 and 80 pixels
    // in), Yes, No: 8 x 40 + 10 x 30 + 10 x 20 + 0 x 10, over 10.
    const int markX[2] = {70, 80};
    for (int i = 0; i < 2; ++i) {
        RECT mark;
        ::GetWindowRect(::GetDlgItem(hScore, IDC_SCORE_MARK_FIRST + i), &mark);
        Click({mark.left + markX[i], (mark.top + mark.bottom) / 2});
        EXPECT_TRUE(IsChecked(::GetDlgItem(hScore, IDC_SCORE_MARK_FIRST + i))) << "row " << i + 1;
    }
    EXPECT_EQ("Total Score: Incomplete", ItemText(hScore, IDC_SCORE_TOTAL));
    Click(Center(::GetDlgItem(hScore, IDC_SCORE_YES_FIRST + 2)));
    Click(Center(::GetDlgItem(hScore, IDC_SCORE_NO_FIRST + 3)));
    EXPECT_TRUE(IsChecked(::GetDlgItem(hScore, IDC_SCORE_YES_FIRST + 2)));
    EXPECT_TRUE(IsChecked(::GetDlgItem(hScore, IDC_SCORE_NO_FIRST + 3)));
    EXPECT_TRUE(
        WaitFor([&] { return ItemText(hScore, IDC_SCORE_TOTAL) == "Total Score: 82.00"; }, 3000))
        << ItemText(hScore, IDC_SCORE_TOTAL);
    EXPECT_TRUE(ShowsWholeText(hScore, IDC_SCORE_TOTAL));
    ::Sleep(300);
    SaveWindowPng(hScore, "e2e_score_dialog_answered.png");

    Click(Center(::GetDlgItem(hScore, IDC_SCORE_SAVE)));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(hScore); }, kDialogTimeoutMs))
        << "Save closes the scoring dialog";

    // The score file, in the all-users configuration folder.
    const std::string scoreFileName = scoredName.substr(0, scoredName.rfind('.')) + "_score.xml";
    const std::string scoreFile = ReadWholeFile(AllUsersConfig(scoreFileName.c_str()));
    ASSERT_FALSE(scoreFile.empty()) << "no score file for " << scoredName;
    EXPECT_NE(std::string::npos, scoreFile.find("<UserName>" + LogonName() + "</UserName>"))
        << scoreFile;
    EXPECT_EQ((std::vector<std::string>{"82.00", "8", "10", "10", "0"}), ValuesOf(scoreFile))
        << scoreFile;
    for (int i = 0; i < kQuestionCount; ++i)
        EXPECT_NE(std::string::npos, scoreFile.find("<ID>" + std::to_string(10000 + i) + "</ID>"))
            << scoreFile;

    // The list: the important mark, the score, the counters; the recording's
    // own header is marked important too.
    EXPECT_TRUE(
        WaitFor([&] { return ListCellText(hProcess, m_hList, 0, scoreColumn) == "82.00"; }, 5000))
        << ListCellText(hProcess, m_hList, 0, scoreColumn);
    EXPECT_EQ(kImportantImage, ListCellImage(hProcess, m_hList, 0, kImportantColumn));
    EXPECT_NE(kImportantImage, ListCellImage(hProcess, m_hList, 1, kImportantColumn));
    EXPECT_EQ("", ListCellText(hProcess, m_hList, 1, scoreColumn));
    HWND hView = ::GetParent(m_hList);
    EXPECT_EQ("Scored Calls: 1", ItemText(hView, IDC_COUNT_SCORED));
    EXPECT_EQ("Important: 1", ItemText(hView, IDC_COUNT_IMPORTANT));
    CKWFileListEntry header;
    header.SetPath(scoredPath.c_str());
    ASSERT_TRUE(header.LoadHeader(""));
    EXPECT_TRUE(header.IsImportant());

    // Scoring the call again shows what was saved; Cancel keeps the file.
    Foreground(m_hMain);
    Click(ListRowPoint(m_hList, 0));
    PressWith(VK_CONTROL, 'G');
    hScore = program.WaitForWindow("Score Call - ", kDialogTimeoutMs);
    ASSERT_NE(nullptr, hScore) << "Ctrl+G on the scored call";
    ::Sleep(300);
    EXPECT_EQ(scoredPath, ItemText(hScore, IDC_SCORE_PATH));
    EXPECT_TRUE(IsChecked(::GetDlgItem(hScore, IDC_SCORE_MARK_FIRST)));
    EXPECT_TRUE(IsChecked(::GetDlgItem(hScore, IDC_SCORE_MARK_FIRST + 1)));
    EXPECT_TRUE(IsChecked(::GetDlgItem(hScore, IDC_SCORE_YES_FIRST + 2)));
    EXPECT_TRUE(IsChecked(::GetDlgItem(hScore, IDC_SCORE_NO_FIRST + 3)));
    EXPECT_EQ("Total Score: 82.00", ItemText(hScore, IDC_SCORE_TOTAL));
    SaveWindowPng(hScore, "e2e_score_dialog_again.png");
    Click(Center(::GetDlgItem(hScore, IDCANCEL)));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(hScore); }, kDialogTimeoutMs))
        << "Cancel closes the scoring dialog";
    EXPECT_EQ(scoreFile, ReadWholeFile(AllUsersConfig(scoreFileName.c_str())));

    // The Access Panel's "My Call Score": the link sits below form and scorer.
    HWND hCallScores = ShowCallScoreGroup();
    ASSERT_NE(nullptr, hCallScores);
    const std::vector<std::string> expected = {
        "Links to Scored Recordings...", "  Sample Sales Calls", "  Sample Customer Service",
        std::string("  ") + kFormTitle,  "    " + LogonName(),   "      " + scoredName};
    EXPECT_EQ(expected, TreeOutline(hProcess, hCallScores));

    // The link plays its call: picked in the tree, then the tree's Play.
    HWND hPause = ChildWithId(ChildWithId(m_hMain, IDC_PLAYER_PANEL), IDC_PAUSE);
    ASSERT_NE(nullptr, hPause);
    EXPECT_FALSE(IsShown(hPause)) << "nothing plays yet";
    HTREEITEM hLink = FindTreeItem(hProcess, hCallScores, scoredName);
    ASSERT_NE(nullptr, hLink);
    Click(RectCenter(TreeItemRect(hProcess, hCallScores, hLink)));
    ClickToolbarCommand(program, ::GetParent(hCallScores), ID_CALLSCORE_PLAY);
    EXPECT_TRUE(WaitFor([&] { return IsShown(hPause); }, 10000)) << "Play from the link";
    ::Sleep(800);
    SaveWindowPng(m_hMain, "e2e_main_scored.png");

    // At exit the call-score store keeps the link; the next start shows it.
    Exit(program);
    const std::string links = ReadWholeFile(AllUsersConfig("CallScore.xml"));
    EXPECT_NE(std::string::npos, links.find("<Target>" + scoredPath + "</Target>")) << links;
    {
        CProgram again;
        StartWithCalls(again);
        if (HasFatalFailure())
            return;
        hCallScores = ShowCallScoreGroup();
        ASSERT_NE(nullptr, hCallScores);
        EXPECT_EQ(expected, TreeOutline(again.Process(), hCallScores));
        // The history lists the call played last first: the scored call's row
        // is the one marked important.
        const int column = ScoreColumn(again);
        int marked = 0;
        for (int row = 0; row < 2; ++row) {
            const bool important =
                ListCellImage(again.Process(), m_hList, row, kImportantColumn) == kImportantImage;
            marked += important ? 1 : 0;
            EXPECT_EQ(important ? "82.00" : "", ListCellText(again.Process(), m_hList, row, column))
                << "row " << row;
        }
        EXPECT_EQ(1, marked);
        SaveWindowPng(m_hMain, "e2e_main_restarted.png");
        Exit(again);
    }
    bool bPlayed = false;
    for (const auto& opening : capture.Openings())
        bPlayed = bPlayed || opening.size() > 8000;
    EXPECT_TRUE(bPlayed) << "the link's call reached the sound device";
}

TEST_F(ScoringEndToEnd, ExportedFormsComeBackIntoACleanProfileInputScreen) {
    const std::string exported = m_temp.File("exported-forms.xml");
    std::vector<std::string> made;
    {
        CPrivateConfiguration configuration;
        CScoreFormManager* pStore = CScoreFormManager::GetInstance();
        AddForm(
            *pStore, 0, kFormTitle,
            {MakeQuestion(10000, "Greets the caller \xe0 la \"maison\"", CQuestion::TYPE_SCALE, 60),
             MakeQuestion(10001, "Line one\r\nline two & <three>", CQuestion::TYPE_YESNO, 40)});
        AddForm(*pStore, 1, "Inbound Quality",
                {MakeQuestion(7, "> Quotes the ticket number", CQuestion::TYPE_YESNO, 100)});
        made = Outline(*pStore);
        ASSERT_TRUE(pStore->Save(AllUsersConfig("scoreforms.xml").c_str()));
        ForgetForms();

        CProgram program;
        Start(program);
        if (HasFatalFailure())
            return;
        HWND hManager = OpenFormsManager(program);
        ASSERT_NE(nullptr, hManager);
        HWND hTree = ::GetDlgItem(hManager, IDC_FORMS_TREE);
        EXPECT_EQ((std::vector<std::string>{kFormTitle, "Inbound Quality"}),
                  TreeOutline(program.Process(), hTree));
        EXPECT_EQ(kFormTitle, ItemText(hManager, IDC_FORM_NAME)) << "the first form is shown";

        ClickToolbarCommand(program, hManager, ID_EXPORT_FORMS);
        ChooseFile(program, exported, "e2e_export_dialog.png");
        if (HasFatalFailure())
            return;
        EXPECT_EQ("Call Score Forms exports successfully into the file: " + exported,
                  Acknowledge(program, "e2e_export_done.png"));
        ExpectModalInFront(hManager);
        Click(Center(::GetDlgItem(hManager, IDCANCEL)));
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(hManager); }, kDialogTimeoutMs));
        Exit(program);
    }
    {
        CScoreFormManager* pStore = CScoreFormManager::GetInstance();
        ASSERT_TRUE(pStore->Load(exported.c_str())) << ReadWholeFile(exported);
        EXPECT_EQ(made, Outline(*pStore));
        ForgetForms();
    }

    // A clean profile: no forms until the import; Save Changes keeps them. The
    // play history gives it a call list with rows, whose buttons work.
    CPrivateConfiguration configuration;
    ASSERT_FALSE(FileExists(AllUsersConfig("scoreforms.xml")));
    CProgram program;
    StartWithCalls(program);
    if (HasFatalFailure())
        return;
    HWND hManager = OpenFormsManager(program);
    ASSERT_NE(nullptr, hManager);
    HWND hTree = ::GetDlgItem(hManager, IDC_FORMS_TREE);
    HWND hQuestions = ::GetDlgItem(hManager, IDC_FORM_QUESTIONS);
    EXPECT_EQ(0, ::SendMessageA(hTree, TVM_GETCOUNT, 0, 0));

    ClickToolbarCommand(program, hManager, ID_IMPORT_FORMS);
    ChooseFile(program, exported, "e2e_import_dialog.png");
    if (HasFatalFailure())
        return;
    EXPECT_EQ("Call Score Forms imports successfully from the file: " + exported,
              Acknowledge(program, "e2e_import_done.png"));
    ExpectModalInFront(hManager);
    EXPECT_EQ((std::vector<std::string>{kFormTitle, "Inbound Quality"}),
              TreeOutline(program.Process(), hTree));
    // The second form, picked in the tree, shows its question.
    HTREEITEM hSecond = FindTreeItem(program.Process(), hTree, "Inbound Quality");
    ASSERT_NE(nullptr, hSecond);
    Click(RectCenter(TreeItemRect(program.Process(), hTree, hSecond)));
    EXPECT_TRUE(
        WaitFor([&] { return ItemText(hManager, IDC_FORM_NAME) == "Inbound Quality"; }, 5000))
        << ItemText(hManager, IDC_FORM_NAME);
    ASSERT_EQ(1, ::SendMessageA(hQuestions, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ("> Quotes the ticket number", ListCellText(program.Process(), hQuestions, 0, 2));
    EXPECT_EQ("Total Bias: 100%", ItemText(hManager, IDC_FORM_BIAS));
    EXPECT_TRUE(ShowsWholeText(hManager, IDC_FORM_BIAS));
    EXPECT_EQ(0u, ItemText(hManager, IDC_FORM_USER).rfind("User: Mira Okafor - ", 0))
        << ItemText(hManager, IDC_FORM_USER);
    ::Sleep(300);
    SaveWindowPng(hManager, "e2e_forms_manager_imported.png");
    EXPECT_FALSE(FileExists(AllUsersConfig("scoreforms.xml"))) << "an import alone writes nothing";

    Click(Center(::GetDlgItem(hManager, IDOK)));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(hManager); }, kDialogTimeoutMs))
        << "Save Changes closes the forms manager";
    {
        CScoreFormManager* pStore = CScoreFormManager::GetInstance();
        ASSERT_TRUE(pStore->Load(AllUsersConfig("scoreforms.xml").c_str()));
        EXPECT_EQ(made, Outline(*pStore));
        ForgetForms();
    }

    // The call list's own button opens the forms manager too while nothing
    // plays; the saved forms are there.
    HWND hListButton = nullptr;
    for (HWND hButton : ChildrenWithId(m_hMain, IDC_SCORE_FORMS)) {
        if (IsShown(hButton))
            hListButton = hButton;
    }
    ASSERT_NE(nullptr, hListButton) << "the call list's score-forms button";
    EXPECT_TRUE(::IsWindowEnabled(hListButton));
    Foreground(m_hMain);
    Click(Center(hListButton));
    hManager = program.WaitForWindow("Manage Call Score Forms", kDialogTimeoutMs);
    ASSERT_NE(nullptr, hManager) << "the list's score-forms button";
    EXPECT_EQ((std::vector<std::string>{kFormTitle, "Inbound Quality"}),
              TreeOutline(program.Process(), ::GetDlgItem(hManager, IDC_FORMS_TREE)));
    Click(Center(::GetDlgItem(hManager, IDCANCEL)));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(hManager); }, kDialogTimeoutMs));
    Exit(program);
}

} // namespace
