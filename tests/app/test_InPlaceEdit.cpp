// Tests of CInPlaceEdit, the cell editor: what it takes of typed and pasted
// text (allowed characters, maximum length, the number mode), what it
// reports to its list and when, Enter and Escape, and its single window.
// The editor takes the focus when it opens, so every test here is a Focus
// (or, with real keys, an Input) test.
#include "native/gtest.h"

#include "InPlaceEdit.h"

#include "tests/app/SmallDialogsTestKit.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/SyntheticInput.h"

#include "framework/ListCtrl.h"

#include <string>
#include <vector>

namespace {

CAnsweringApp theApp;

using smalldlg::CHostWnd;
using smalldlg::PumpTranslated;
using smalldlg::PumpTranslatedUntil;

const char kDigits[] = "0123456789";
const char kLetters[] = "abcdefghijklmnopqrstuvwxyz";
const UINT kListId = 100;
const UINT kEditorId = 7;

// One LVN_ENDLABELEDITA as the list received it.
struct SReport {
    WPARAM wParam;
    HWND hWndFrom;
    UINT_PTR idFrom;
    UINT code;
    UINT mask;
    int iItem;
    int iSubItem;
    std::string strText;
    int cchTextMax;
};

// The parent list, which keeps every report of the editor.
class CReportingList : public CListCtrl {
public:
    std::vector<SReport> m_reports;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NOTIFY &&
            reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(LVN_ENDLABELEDITA)) {
            const NMLVDISPINFOA* pInfo = reinterpret_cast<const NMLVDISPINFOA*>(lParam);
            m_reports.push_back({wParam, pInfo->hdr.hwndFrom, pInfo->hdr.idFrom, pInfo->hdr.code,
                                 pInfo->item.mask, pInfo->item.iItem, pInfo->item.iSubItem,
                                 pInfo->item.pszText != nullptr ? pInfo->item.pszText : "(null)",
                                 pInfo->item.cchTextMax});
            return 0;
        }
        return CListCtrl::WindowProc(message, wParam, lParam);
    }
};

bool SetClipboardText(const std::string& strText) {
    if (!::OpenClipboard(nullptr))
        return false;
    ::EmptyClipboard();
    HGLOBAL hData = ::GlobalAlloc(GMEM_MOVEABLE, strText.size() + 1);
    memcpy(::GlobalLock(hData), strText.c_str(), strText.size() + 1);
    ::GlobalUnlock(hData);
    const bool bSet = ::SetClipboardData(CF_TEXT, hData) != nullptr;
    ::CloseClipboard();
    return bSet;
}

std::string GetClipboardText() {
    std::string strText;
    if (!::OpenClipboard(nullptr))
        return "(no clipboard)";
    HANDLE hData = ::GetClipboardData(CF_TEXT);
    if (hData != nullptr) {
        strText = static_cast<const char*>(::GlobalLock(hData));
        ::GlobalUnlock(hData);
    }
    ::CloseClipboard();
    return strText;
}

class InPlaceEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_host.Make("InPlaceEdit", CRect(60, 60, 560, 360)));
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT,
                                  CRect(10, 10, 470, 250), &m_host, kListId));
        m_list.InsertColumn(0, "Question", LVCFMT_LEFT, 200);
        m_list.InsertColumn(1, "Answer", LVCFMT_LEFT, 200);
        for (int nRow = 0; nRow < 4; ++nRow)
            m_list.InsertItem(nRow, "question");
        m_host.SetForegroundWindow();
        PumpTranslated(50);
    }
    void TearDown() override {
        CInPlaceEdit::DeleteInstance();
        PumpTranslated(20);
    }

    // Opens the editor over the cell (row, 1).
    CInPlaceEdit* Open(int nRow, const char* pszAllowed, const char* pszInitial, int nMaxLength,
                       int nMode) {
        CRect rcCell;
        EXPECT_TRUE(m_list.GetSubItemRect(nRow, 1, LVIR_LABEL, rcCell));
        rcCell.DeflateRect(1, 1);
        CInPlaceEdit* pEditor = CInPlaceEdit::GetInstance();
        EXPECT_TRUE(pEditor->ShowEditor(WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, rcCell, &m_list,
                                        kEditorId, nRow, 1, pszAllowed, pszInitial, nMaxLength,
                                        nMode));
        return pEditor;
    }
    static std::string Text(CWnd* pWnd) { return smalldlg::WindowText(pWnd->m_hWnd); }

    CHostWnd m_host;
    CReportingList m_list;
};

TEST_F(InPlaceEditTest, OpensOverTheCellWithItsTextSelectedFocus) {
    CInPlaceEdit* pEditor = Open(2, kDigits, "1234", 10, 0);
    ASSERT_TRUE(::IsWindow(pEditor->m_hWnd));
    EXPECT_EQ(::GetParent(pEditor->m_hWnd), m_list.m_hWnd);
    EXPECT_EQ(pEditor->GetDlgCtrlID(), static_cast<int>(kEditorId));
    EXPECT_TRUE(pEditor->IsWindowVisible());
    EXPECT_EQ(Text(pEditor), "1234");
    int nStart = -1, nEnd = -1;
    pEditor->GetSel(nStart, nEnd);
    EXPECT_EQ(nStart, 0);
    EXPECT_EQ(nEnd, 4);
    EXPECT_EQ(::GetFocus(), pEditor->m_hWnd);
    EXPECT_EQ(pEditor->SendMessage(WM_GETFONT), m_list.SendMessage(WM_GETFONT));
    CRect rcEditor;
    pEditor->GetWindowRect(&rcEditor);
    m_list.ScreenToClient(&rcEditor);
    CRect rcCell;
    m_list.GetSubItemRect(2, 1, LVIR_LABEL, rcCell);
    rcCell.DeflateRect(1, 1);
    EXPECT_EQ(rcEditor, rcCell);

    // A second call while the editor is open neither moves nor refills it.
    EXPECT_TRUE(pEditor->ShowEditor(WS_CHILD, CRect(0, 0, 30, 10), &m_list, kEditorId, 3, 1,
                                    kDigits, "other", 10, 0));
    EXPECT_EQ(Text(pEditor), "1234");
    pEditor->GetWindowRect(&rcEditor);
    m_list.ScreenToClient(&rcEditor);
    EXPECT_EQ(rcEditor, rcCell);
    EXPECT_EQ(CInPlaceEdit::GetInstance(), pEditor);
}

// What the editor takes, character by character: "\b" is Backspace, "\x03"
// Ctrl+C, "\x16" Ctrl+V, "\x18" Ctrl+X.
TEST_F(InPlaceEditTest, TypingAndPastingFollowTheRulesFocus) {
    struct Case {
        const char* pszCase;
        const char* pszAllowed;
        int nMaxLength;
        int nMode;
        const char* pszInitial;
        bool bCaretAtEnd; // else the initial text stays selected
        const char* pszClipboard;
        const char* pszKeys;
        const char* pszText;
        int nReports;
        const char* pszClipboardAfter;
    } const cases[] = {
        {"characters outside the allowed set", kDigits, 10, 0, "", false, "", "1a2-3 ", "123", 3,
         ""},
        {"a sixth character at length 5, then Backspace", kLetters, 5, 0, "", false, "",
         "abcdef\bx", "abcdx", 7, ""},
        {"mode 1 takes 4294967295 and no digit more", kDigits, 20, 1, "", false, "", "42949672955",
         "4294967295", 10, ""},
        {"mode 1 refuses 4294967296", kDigits, 20, 1, "", false, "", "4294967296", "429496729", 9,
         ""},
        {"mode 1 backspace below the top", kDigits, 20, 1, "", false, "", "4294967295\b1",
         "4294967291", 12, ""},
        {"a paste loses the refused characters and is cut to the room", kDigits, 5, 0, "12", true,
         "3a4b5678", "\x16", "12345", 1, "3a4b5678"},
        {"a paste of letters into a number cell", kDigits, 10, 0, "", false, "x1y2\r\nz3", "\x16",
         "123", 1, "x1y2\r\nz3"},
        {"a paste replaces the selection", kLetters, 5, 0, "abc", false, "wxyz", "\x16", "wxyz", 1,
         "wxyz"},
        {"a paste at the maximum length does nothing", kDigits, 5, 0, "12345", true, "6", "\x16",
         "12345", 0, "6"},
        {"mode 1: a paste that passes the top is undone", kDigits, 20, 1, "123", true,
         "99999999999999999", "\x16", "123", 0, "99999999999999999"},
        {"mode 1: a paste within the top stays", kDigits, 20, 1, "4294", true, "967295", "\x16",
         "4294967295", 1, "967295"},
        {"a copy below the maximum length", kDigits, 5, 0, "123", false, "old", "\x03", "123", 1,
         "123"},
        {"a copy at the maximum length does nothing", kDigits, 5, 0, "12345", false, "old", "\x03",
         "12345", 0, "old"},
        {"a cut at the maximum length", kDigits, 5, 0, "12345", false, "old", "\x18", "", 1,
         "12345"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszCase);
        ASSERT_TRUE(SetClipboardText(c.pszClipboard));
        CInPlaceEdit* pEditor = Open(1, c.pszAllowed, c.pszInitial, c.nMaxLength, c.nMode);
        if (c.bCaretAtEnd) {
            const int nLength = pEditor->GetWindowTextLength();
            pEditor->SetSel(nLength, nLength);
        }
        m_list.m_reports.clear();
        for (const char* p = c.pszKeys; *p != '\0'; ++p)
            pEditor->SendMessage(WM_CHAR, static_cast<unsigned char>(*p), 1);
        EXPECT_EQ(Text(pEditor), c.pszText);
        EXPECT_EQ(static_cast<int>(m_list.m_reports.size()), c.nReports);
        if (!m_list.m_reports.empty()) {
            EXPECT_EQ(m_list.m_reports.back().strText, c.pszText);
        }
        EXPECT_EQ(GetClipboardText(), c.pszClipboardAfter);
        CInPlaceEdit::DeleteInstance();
    }
}

TEST_F(InPlaceEditTest, TheReportCarriesTheCellAndTheTextFocus) {
    CInPlaceEdit* pEditor = Open(3, kLetters, "", 10, 0);
    m_list.m_reports.clear();
    pEditor->SendMessage(WM_CHAR, 'q', 1);
    pEditor->SendMessage(WM_CHAR, 'r', 1);
    ASSERT_EQ(m_list.m_reports.size(), 2u);
    const SReport& report = m_list.m_reports.back();
    EXPECT_EQ(report.wParam, kListId);
    EXPECT_EQ(report.hWndFrom, m_list.m_hWnd);
    EXPECT_EQ(report.idFrom, kEditorId);
    EXPECT_EQ(report.code, static_cast<UINT>(LVN_ENDLABELEDITA));
    EXPECT_EQ(report.mask, static_cast<UINT>(LVIF_TEXT));
    EXPECT_EQ(report.iItem, 3);
    EXPECT_EQ(report.iSubItem, 1);
    EXPECT_EQ(report.strText, "qr");
    EXPECT_EQ(report.cchTextMax, 2);
    EXPECT_EQ(m_list.m_reports.front().strText, "q");
}

// Enter and Escape give the focus back to the list; the report sent then has
// the typed text, or the initial one after Escape; the editor's window goes,
// the editor stays for the next cell.
TEST_F(InPlaceEditTest, EnterReportsTheTypedTextEscapeTheInitialTextInput) {
    struct Case {
        const char* pszCase;
        WORD wKey;
        const char* pszReported;
    } const cases[] = {
        {"Enter", VK_RETURN, "912"},
        {"Escape", VK_ESCAPE, "old"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszCase);
        CInPlaceEdit* pEditor = Open(0, kDigits, "old", 10, 0);
        ASSERT_TRUE(PumpTranslatedUntil([&] { return ::GetFocus() == pEditor->m_hWnd; }));
        m_list.m_reports.clear();
        for (WORD wVk : {WORD('9'), WORD('1'), WORD('2')}) {
            SendKeyTap(wVk);
            PumpTranslated(30);
        }
        ASSERT_TRUE(PumpTranslatedUntil([&] { return Text(pEditor) == "912"; }));
        EXPECT_EQ(m_list.m_reports.size(), 3u);
        SendKeyTap(c.wKey);
        ASSERT_TRUE(PumpTranslatedUntil([&] { return !::IsWindow(pEditor->m_hWnd); }));
        EXPECT_EQ(::GetFocus(), m_list.m_hWnd);
        ASSERT_EQ(m_list.m_reports.size(), 4u);
        EXPECT_EQ(m_list.m_reports.back().strText, c.pszReported);
        EXPECT_EQ(CInPlaceEdit::GetInstance(), pEditor);
    }
}

// Ctrl+V from the keyboard goes through the same filter as the paste message.
TEST_F(InPlaceEditTest, KeyboardPasteIsFilteredAndCutInput) {
    ASSERT_TRUE(SetClipboardText("3a4b5678"));
    CInPlaceEdit* pEditor = Open(0, kDigits, "12", 5, 0);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return ::GetFocus() == pEditor->m_hWnd; }));
    pEditor->SetSel(2, 2);
    SendKey(VK_CONTROL, false);
    SendKeyTap('V');
    SendKey(VK_CONTROL, true);
    EXPECT_TRUE(PumpTranslatedUntil([&] { return Text(pEditor) == "12345"; }, 2000));
    PumpTranslated(100);
    EXPECT_EQ(Text(pEditor), "12345");
    // The paste message of a context menu is filtered too.
    pEditor->SetSel(0, -1);
    ASSERT_TRUE(SetClipboardText("9z8"));
    pEditor->SendMessage(WM_PASTE);
    EXPECT_EQ(Text(pEditor), "98");
}

} // namespace
