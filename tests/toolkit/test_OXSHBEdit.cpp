// Tests of COXSHBEdit: the records, the checks of a display record, opening an
// edit (place, style, text, selection, font, colours), growth with the text
// inside the maximal rectangle for the three alignments, the end by Enter and
// Escape, by a click elsewhere and by losing the focus, and odd texts. The
// editor lives in a plain parent window that records every end it is told of,
// beside a sibling standing for a header that records the mouse messages it
// gets. Tests named Input send real keys and clicks; Focus tests need the
// keyboard focus; Screen tests find windows by their place on the screen.
#include "native/gtest.h"

#include "toolkit/OXSHBEdit.h"

#include "tests/support/GeometryPrint.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/TraceCapture.h"
#include "tests/support/UiScript.h"

#include "framework/WinApp.h"
#include "framework/Wnd.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

CWinApp theApp;

const UINT kEditID = 0xFFFF;

// What the parent saw of one end of an edit.
struct Finished {
    HWND hWndFrom;
    UINT_PTR idFrom;
    UINT code;
    WPARAM wParam;
    BOOL bOK;
    std::string sText; // the editor's text during the notification
    BOOL bVisible;     // the editor was still shown during the notification
    BOOL bCaptured;    // the editor still held the mouse capture
};

// The parent: records the ends of edits and, when asked, runs a step from
// inside the notification.
class CParentWnd : public CWnd {
public:
    BOOL Make() {
        return CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), "parent",
                        WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 400, 300, nullptr,
                        nullptr);
    }
    std::vector<Finished> m_finished;
    std::function<void()> m_onFinish;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NOTIFY) {
            const NMSHBEDIT* pNotify = reinterpret_cast<const NMSHBEDIT*>(lParam);
            char szText[65536] = {};
            ::GetWindowTextA(pNotify->hdr.hwndFrom, szText, sizeof(szText));
            m_finished.push_back({pNotify->hdr.hwndFrom, pNotify->hdr.idFrom, pNotify->hdr.code,
                                  wParam, pNotify->bOK, szText,
                                  ::IsWindowVisible(pNotify->hdr.hwndFrom),
                                  ::GetCapture() == pNotify->hdr.hwndFrom});
            if (m_onFinish)
                m_onFinish();
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A sibling of the editor in the parent (a header of the bar): records the
// mouse and cursor messages it gets.
class CSiblingWnd : public CWnd {
public:
    struct Seen {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        int nEndsBefore; // ends of edits the parent had seen by then
    };
    BOOL Make(CParentWnd* pParent, const CRect& rect) {
        m_pParent = pParent;
        return CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), "header", WS_CHILD | WS_VISIBLE, rect,
                        pParent, 1);
    }
    const Seen* First(UINT message) const {
        for (const Seen& seen : m_seen)
            if (seen.message == message)
                return &seen;
        return nullptr;
    }
    std::vector<Seen> m_seen;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if ((message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
            (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK) || message == WM_SETCURSOR)
            m_seen.push_back(
                {message, wParam, lParam, static_cast<int>(m_pParent->m_finished.size())});
        return CWnd::WindowProc(message, wParam, lParam);
    }
    CParentWnd* m_pParent = nullptr;
};

CRect RectInParent(const CWnd& wnd) {
    CRect rect;
    wnd.GetWindowRect(&rect);
    ::MapWindowPoints(nullptr, ::GetParent(wnd.m_hWnd), reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
}

// The edit's formatting rectangle against the one it makes of its whole
// client area (the control keeps its own border inside it).
void ExpectWholeClientFormatting(COXSHBEdit& edit) {
    CRect rectFormat, rectClient, rectWhole;
    edit.GetRect(&rectFormat);
    edit.GetClientRect(&rectClient);
    edit.SendMessage(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&rectClient));
    edit.GetRect(&rectWhole);
    EXPECT_EQ(rectFormat, rectWhole);
}

std::string TextOf(const CWnd& wnd) {
    CString sText;
    wnd.GetWindowText(sText);
    return std::string(sText.GetString());
}

// The record with which the bar opens a header editor.
SHBE_DISPLAY HeaderRecord(LPCTSTR pszText, const CRect& rect, CFont* pFont) {
    SHBE_DISPLAY display;
    display.nMask = SHBEIF_TEXT | SHBEIF_RECTDISPLAY | SHBEIF_STYLE | SHBEIF_SELRANGE | SHBEIF_FONT;
    display.pszText = pszText;
    display.rectDisplay = rect;
    display.dwStyle = WS_BORDER | ES_AUTOHSCROLL;
    display.ptSelection = CPoint(0, -1);
    display.pFont = pFont;
    return display;
}

// The record with which a list opens an item editor that grows as typing.
SHBE_DISPLAY GrowingRecord(DWORD dwStyle, const CRect& rectText, const CRect& rectMax,
                           CFont* pFont) {
    SHBE_DISPLAY display;
    display.nMask = 0xFF;
    display.pszText = "";
    display.rectDisplay = rectText;
    display.rectMin = rectText;
    display.rectMax = rectMax;
    display.dwStyle = dwStyle;
    display.bEnlargeAsTyping = TRUE;
    display.ptSelection = CPoint(0, -1);
    display.pFont = pFont;
    return display;
}

class OXSHBEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.Make());
        ASSERT_TRUE(m_header.Make(&m_parent, CRect(0, 200, 400, 230)));
        ASSERT_TRUE(m_edit.Create(WS_BORDER, CRect(0, 0, 0, 0), &m_parent, kEditID));
        LOGFONT logFont = {};
        logFont.lfHeight = -13;
        lstrcpyA(logFont.lfFaceName, "Tahoma");
        ASSERT_TRUE(m_font.CreateFontIndirect(&logFont));
    }
    void TearDown() override {
        m_edit.DestroyWindow();
        m_header.DestroyWindow();
        m_parent.DestroyWindow();
    }
    // Types into the editor as the keyboard would: each piece replaces the
    // selection and tells the parent of the change.
    void Type(const char* pszText) { m_edit.ReplaceSel(pszText, TRUE); }

    CParentWnd m_parent;
    CSiblingWnd m_header;
    COXSHBEdit m_edit;
    CFont m_font;
};

// ---- Records.

TEST(OXSHBEditRecords, StartZeroedAndCopyFieldByField) {
    SHBE_DISPLAY zero;
    EXPECT_EQ(zero.pszText, nullptr);
    EXPECT_EQ(zero.rectDisplay, CRect(0, 0, 0, 0));
    EXPECT_EQ(zero.rectMax, CRect(0, 0, 0, 0));
    EXPECT_EQ(zero.rectMin, CRect(0, 0, 0, 0));
    EXPECT_EQ(zero.dwStyle, 0u);
    EXPECT_EQ(zero.bEnlargeAsTyping, FALSE);
    EXPECT_EQ(zero.ptSelection, CPoint(0, 0));
    EXPECT_EQ(zero.pFont, nullptr);
    EXPECT_EQ(zero.clrText, 0u);
    EXPECT_EQ(zero.clrBackground, 0u);
    EXPECT_EQ(zero.nMask, 0u);

    CFont font;
    SHBE_DISPLAY full;
    full.pszText = "x";
    full.rectDisplay = CRect(1, 2, 3, 4);
    full.rectMax = CRect(5, 6, 7, 8);
    full.dwStyle = ES_CENTER;
    full.bEnlargeAsTyping = TRUE;
    full.ptSelection = CPoint(1, 2);
    full.pFont = &font;
    full.rectMin = CRect(9, 10, 11, 12);
    full.clrText = RGB(1, 2, 3);
    full.clrBackground = RGB(4, 5, 6);
    full.nMask = 0x3FF;
    SHBE_DISPLAY copy(full);
    SHBE_DISPLAY assigned;
    assigned = full;
    for (const SHBE_DISPLAY* p : {&copy, &assigned}) {
        EXPECT_EQ(p->pszText, full.pszText);
        EXPECT_EQ(p->rectDisplay, full.rectDisplay);
        EXPECT_EQ(p->rectMax, full.rectMax);
        EXPECT_EQ(p->rectMin, full.rectMin);
        EXPECT_EQ(p->dwStyle, full.dwStyle);
        EXPECT_EQ(p->bEnlargeAsTyping, TRUE);
        EXPECT_EQ(p->ptSelection, full.ptSelection);
        EXPECT_EQ(p->pFont, &font);
        EXPECT_EQ(p->clrText, full.clrText);
        EXPECT_EQ(p->clrBackground, full.clrBackground);
        EXPECT_EQ(p->nMask, 0x3FFu);
    }

    NMSHBEDIT notify;
    EXPECT_EQ(notify.hdr.hwndFrom, nullptr);
    EXPECT_EQ(notify.hdr.idFrom, 0u);
    EXPECT_EQ(notify.hdr.code, 0u);
    EXPECT_EQ(notify.bOK, FALSE);
    EXPECT_EQ(SHBEN_FINISHEDIT, 0x80CF);
    const UINT bits[] = {SHBEIF_TEXT,    SHBEIF_RECTDISPLAY, SHBEIF_RECTMAX, SHBEIF_STYLE,
                         SHBEIF_ENLARGE, SHBEIF_SELRANGE,    SHBEIF_FONT,    SHBEIF_RECTMIN,
                         SHBEIF_CLRTEXT, SHBEIF_CLRBACK};
    for (UINT i = 0; i < sizeof(bits) / sizeof(bits[0]); ++i)
        EXPECT_EQ(bits[i], 1u << i);
}

// ---- Checks of a record.

TEST_F(OXSHBEditTest, RecordsAreCheckedInOrderAndEachRefusalSaysWhy) {
    const CRect rectShow(10, 10, 110, 30);
    struct Case {
        const char* pszName;
        UINT nMask;
        const char* pszText;
        CPoint ptSelection;
        CRect rectDisplay, rectMax, rectMin;
        const char* pszTrace; // null: accepted
    } cases[] = {
        {"unknown bit",
         0x400 | SHBEIF_RECTDISPLAY,
         "",
         {},
         rectShow,
         {},
         {},
         "unspecified mask used"},
        {"grow without max",
         SHBEIF_RECTDISPLAY | SHBEIF_ENLARGE,
         "",
         {},
         rectShow,
         {},
         {},
         "enlargement as typing is specified while max rect is not"},
        {"all of an empty text",
         SHBEIF_TEXT | SHBEIF_RECTDISPLAY | SHBEIF_SELRANGE,
         "",
         {0, -1},
         rectShow,
         {},
         {},
         nullptr},
        {"(0, 0) of an empty text",
         SHBEIF_TEXT | SHBEIF_RECTDISPLAY | SHBEIF_SELRANGE,
         "",
         {0, 0},
         rectShow,
         {},
         {},
         "invalid selection range"},
        {"starting at -1",
         SHBEIF_TEXT | SHBEIF_RECTDISPLAY | SHBEIF_SELRANGE,
         "ab",
         {-1, 7},
         rectShow,
         {},
         {},
         nullptr},
        {"inside the text",
         SHBEIF_TEXT | SHBEIF_RECTDISPLAY | SHBEIF_SELRANGE,
         "abcd",
         {1, 3},
         rectShow,
         {},
         {},
         nullptr},
        {"end at the length",
         SHBEIF_TEXT | SHBEIF_RECTDISPLAY | SHBEIF_SELRANGE,
         "abcd",
         {0, 4},
         rectShow,
         {},
         {},
         "invalid selection range"},
        {"null text counts as empty",
         SHBEIF_TEXT | SHBEIF_RECTDISPLAY | SHBEIF_SELRANGE,
         nullptr,
         {0, 0},
         rectShow,
         {},
         {},
         "invalid selection range"},
        {"empty display",
         SHBEIF_RECTDISPLAY,
         "",
         {},
         CRect(10, 10, 10, 30),
         {},
         {},
         "empty display rect specified"},
        {"display outside max",
         SHBEIF_RECTDISPLAY | SHBEIF_RECTMAX,
         "",
         {},
         rectShow,
         CRect(0, 0, 100, 100),
         {},
         "display rect is bigger than specified max rect"},
        {"min outside max",
         SHBEIF_RECTDISPLAY | SHBEIF_RECTMAX | SHBEIF_RECTMIN,
         "",
         {},
         rectShow,
         CRect(0, 0, 200, 100),
         CRect(150, 0, 250, 20),
         "max rect doesn't include min rect"},
        {"empty min",
         SHBEIF_RECTDISPLAY | SHBEIF_RECTMIN,
         "",
         {},
         rectShow,
         {},
         CRect(5, 5, 5, 5),
         "min rect mustn't be empty"},
        {"an item editor's record",
         0xFF,
         "item",
         {0, -1},
         rectShow,
         CRect(0, 10, 200, 200),
         CRect(40, 10, 50, 30),
         nullptr},
    };
    for (const Case& c : cases) {
        CTraceCapture trace;
        SHBE_DISPLAY display;
        display.nMask = c.nMask;
        display.pszText = c.pszText;
        display.ptSelection = c.ptSelection;
        display.rectDisplay = c.rectDisplay;
        display.rectMax = c.rectMax;
        display.rectMin = c.rectMin;
        display.bEnlargeAsTyping = TRUE;
        EXPECT_EQ(m_edit.VerifyDisplayInfo(&display), c.pszTrace == nullptr) << c.pszName;
        if (c.pszTrace != nullptr)
            EXPECT_TRUE(trace.Holds(c.pszTrace)) << c.pszName << ": " << trace.Text();
        else
            EXPECT_FALSE(trace.Holds("VerifyDisplayInfo")) << c.pszName << ": " << trace.Text();
    }
}

TEST_F(OXSHBEditTest, FieldsLeftOutAreCheckedAgainstTheWindowAsItStands) {
    m_edit.MoveWindow(CRect(50, 40, 150, 60), FALSE);
    m_edit.SetWindowText("abc");
    SHBE_DISPLAY display;
    display.nMask = SHBEIF_SELRANGE | SHBEIF_RECTMAX;
    display.ptSelection = CPoint(1, 2);
    display.rectMax = CRect(40, 30, 200, 100);
    EXPECT_TRUE(m_edit.VerifyDisplayInfo(&display));
    // The window's place is in the parent's coordinates, as the maximal rectangle.
    display.rectMax = CRect(0, 0, 120, 70);
    EXPECT_FALSE(m_edit.VerifyDisplayInfo(&display));
    display.rectMax = CRect(40, 30, 200, 100);
    display.ptSelection = CPoint(1, 3);
    EXPECT_FALSE(m_edit.VerifyDisplayInfo(&display));
    // The hidden editor made with an empty rectangle has no place to open at.
    m_edit.MoveWindow(CRect(0, 0, 0, 0), FALSE);
    display.nMask = 0;
    EXPECT_FALSE(m_edit.VerifyDisplayInfo(&display));
}

TEST_F(OXSHBEditTest, ARefusedRecordLeavesTheHiddenEditorAsItWas) {
    CTraceCapture trace;
    const HWND hWndBefore = m_edit.m_hWnd;
    SHBE_DISPLAY display = HeaderRecord("text", CRect(10, 10, 110, 30), &m_font);
    display.rectMax = CRect(0, 0, 50, 50);
    display.nMask |= SHBEIF_RECTMAX;
    EXPECT_FALSE(m_edit.StartEdit(&display));
    EXPECT_TRUE(trace.Holds("COXSHBEdit::VerifyDisplayInfo: display rect is bigger"));
    EXPECT_TRUE(trace.Holds("COXSHBEdit::StartEdit: LPSHBE_DISPLAY is invalid"));
    EXPECT_EQ(m_edit.m_hWnd, hWndBefore);
    EXPECT_FALSE(m_edit.IsWindowVisible());
    EXPECT_EQ(TextOf(m_edit), "");
    EXPECT_TRUE(m_parent.m_finished.empty());
}

TEST(OXSHBEditStart, AnEditorWithoutWindowCannotStart) {
    CTraceCapture trace;
    COXSHBEdit edit;
    SHBE_DISPLAY display;
    display.nMask = SHBEIF_RECTDISPLAY;
    display.rectDisplay = CRect(0, 0, 10, 10);
    EXPECT_FALSE(edit.StartEdit(&display));
    EXPECT_TRUE(trace.Holds("COXSHBEdit::StartEdit: failed to destroy window"));
    EXPECT_EQ(edit.m_hWnd, nullptr);
}

TEST_F(OXSHBEditTest, AWindowStyleTheEditCannotHaveFailsTheCreation) {
    CTraceCapture trace;
    SHBE_DISPLAY display = HeaderRecord("text", CRect(10, 10, 110, 30), &m_font);
    display.dwStyle = WS_POPUP | WS_BORDER;
    EXPECT_FALSE(m_edit.StartEdit(&display));
    EXPECT_TRUE(trace.Holds("COXSHBEdit::StartEdit: failed to create window"));
    EXPECT_TRUE(m_parent.m_finished.empty());
}

// ---- Opening.

TEST_F(OXSHBEditTest, AHeaderEditOpensOverTheHeaderWithItsTextAllSelectedInACopyOfTheFont) {
    const HWND hWndBefore = m_edit.m_hWnd;
    const CRect rectHeader(0, 20, 400, 45);
    SHBE_DISPLAY display = HeaderRecord("My Shortcuts", rectHeader, &m_font);
    ASSERT_TRUE(m_edit.StartEdit(&display));
    EXPECT_NE(m_edit.m_hWnd, hWndBefore); // made again with the record's style
    EXPECT_EQ(::GetParent(m_edit.m_hWnd), m_parent.m_hWnd);
    EXPECT_EQ(m_edit.GetDlgCtrlID(), static_cast<int>(kEditID));
    EXPECT_EQ(RectInParent(m_edit), rectHeader);
    // (The edit control takes WS_BORDER out of its style and draws the border itself.)
    EXPECT_EQ(m_edit.GetStyle() &
                  (WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_MULTILINE | ES_CENTER | ES_RIGHT),
              static_cast<DWORD>(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL));
    EXPECT_EQ(TextOf(m_edit), "My Shortcuts");
    int nStart = -1, nEnd = -1;
    m_edit.GetSel(nStart, nEnd);
    EXPECT_EQ(nStart, 0);
    EXPECT_EQ(nEnd, 12);
    // The editor's own font: another handle of the same face and height, which
    // outlives the caller's.
    const HFONT hFont = reinterpret_cast<HFONT>(m_edit.SendMessage(WM_GETFONT));
    ASSERT_NE(hFont, nullptr);
    EXPECT_NE(hFont, static_cast<HFONT>(m_font));
    LOGFONT logFont = {};
    ASSERT_NE(::GetObjectA(hFont, sizeof(logFont), &logFont), 0);
    EXPECT_STREQ(logFont.lfFaceName, "Tahoma");
    EXPECT_EQ(logFont.lfHeight, -13);
    ExpectWholeClientFormatting(m_edit);
    EXPECT_TRUE(m_parent.m_finished.empty());
}

TEST_F(OXSHBEditTest, AnotherEditKeepsTheFontAndWhatItsRecordLeavesOut) {
    SHBE_DISPLAY first = HeaderRecord("first", CRect(10, 20, 210, 40), &m_font);
    ASSERT_TRUE(m_edit.StartEdit(&first));
    m_edit.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    m_font.DeleteObject(); // the editor made its own copy

    SHBE_DISPLAY second;
    second.nMask = SHBEIF_SELRANGE;
    second.ptSelection = CPoint(1, 3);
    ASSERT_TRUE(m_edit.StartEdit(&second));
    EXPECT_EQ(TextOf(m_edit), "first");
    EXPECT_EQ(RectInParent(m_edit), CRect(10, 20, 210, 40));
    EXPECT_TRUE(m_edit.GetStyle() & ES_AUTOHSCROLL);
    EXPECT_TRUE(m_edit.IsWindowVisible());
    int nStart = -1, nEnd = -1;
    m_edit.GetSel(nStart, nEnd);
    EXPECT_EQ(nStart, 1);
    EXPECT_EQ(nEnd, 3);
    LOGFONT logFont = {};
    const HFONT hFont = reinterpret_cast<HFONT>(m_edit.SendMessage(WM_GETFONT));
    ASSERT_NE(::GetObjectA(hFont, sizeof(logFont), &logFont), 0);
    EXPECT_STREQ(logFont.lfFaceName, "Tahoma");
}

// The edit control keeps WS_BORDER to itself (it draws the border inside its
// client area), so an edit that leaves the style out still has its border.
TEST_F(OXSHBEditTest, AnEditWithoutAStyleKeepsTheBorderOfTheLast) {
    auto inset = [&]() {
        CRect rectFormat, rectClient;
        m_edit.GetRect(&rectFormat);
        m_edit.GetClientRect(&rectClient);
        return rectFormat.top - rectClient.top;
    };
    SHBE_DISPLAY first = HeaderRecord("first", CRect(10, 20, 210, 45), &m_font);
    ASSERT_TRUE(m_edit.StartEdit(&first));
    const int nBordered = inset();
    m_edit.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    SHBE_DISPLAY second;
    second.nMask = SHBEIF_TEXT;
    second.pszText = "second";
    ASSERT_TRUE(m_edit.StartEdit(&second));
    EXPECT_EQ(inset(), nBordered);
    m_edit.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    first.dwStyle = ES_AUTOHSCROLL;
    ASSERT_TRUE(m_edit.StartEdit(&first));
    EXPECT_LT(inset(), nBordered);
}

TEST_F(OXSHBEditTest, TheMinimalRectangleWidensWhereTheEditorOpens) {
    SHBE_DISPLAY display = HeaderRecord("x", CRect(50, 20, 55, 40), &m_font);
    display.nMask |= SHBEIF_RECTMIN;
    display.rectMin = CRect(45, 25, 60, 38);
    ASSERT_TRUE(m_edit.StartEdit(&display));
    EXPECT_EQ(RectInParent(m_edit), CRect(45, 20, 60, 40));
}

TEST_F(OXSHBEditTest, ColoursComeFromTheRecordAndGoBackToTheWindowColours) {
    SHBE_DISPLAY display = HeaderRecord("colours", CRect(10, 20, 210, 40), &m_font);
    display.nMask |= SHBEIF_CLRTEXT | SHBEIF_CLRBACK;
    display.clrText = RGB(200, 0, 0);
    display.clrBackground = RGB(0, 0, 90);
    ASSERT_TRUE(m_edit.StartEdit(&display));
    struct Seen {
        COLORREF clrBack, clrText, clrBrush;
    };
    auto ask = [&]() {
        CClientDC dc(&m_edit);
        dc.SetTextColor(RGB(1, 1, 1));
        const HBRUSH hBrush = reinterpret_cast<HBRUSH>(
            m_parent.SendMessage(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.m_hDC),
                                 reinterpret_cast<LPARAM>(m_edit.m_hWnd)));
        LOGBRUSH logBrush = {};
        EXPECT_NE(::GetObjectA(hBrush, sizeof(logBrush), &logBrush), 0);
        return Seen{dc.GetBkColor(), dc.GetTextColor(), logBrush.lbColor};
    };
    Seen seen = ask();
    EXPECT_EQ(seen.clrBack, RGB(0, 0, 90));
    EXPECT_EQ(seen.clrText, RGB(200, 0, 0));
    EXPECT_EQ(seen.clrBrush, RGB(0, 0, 90));

    m_edit.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    SHBE_DISPLAY plain = HeaderRecord("plain", CRect(10, 20, 210, 40), &m_font);
    ASSERT_TRUE(m_edit.StartEdit(&plain));
    seen = ask();
    EXPECT_EQ(seen.clrBack, ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(seen.clrText, RGB(1, 1, 1)); // left as the control had it
    EXPECT_EQ(seen.clrBrush, ::GetSysColor(COLOR_WINDOW));
}

// ---- Growth with the text.

// The large-icon item editor: multi-line and centred, it grows to both sides
// alike and downwards, inside the list's visible area, never below its minimum.
TEST_F(OXSHBEditTest, ACentredEditorGrowsToBothSidesAndDownInsideTheMaximum) {
    const CRect rectText(195, 50, 205, 66); // a narrow label, 10 pixels wide
    const CRect rectMax(0, 50, 400, 180);
    SHBE_DISPLAY display = GrowingRecord(WS_BORDER | ES_MULTILINE | ES_CENTER | ES_AUTOVSCROLL,
                                         rectText, rectMax, &m_font);
    ASSERT_TRUE(m_edit.StartEdit(&display));
    EXPECT_EQ(RectInParent(m_edit), rectText);

    CRect rectLast = rectText;
    const char* pieces[] = {"a",
                            "bcdef",
                            " ghijklmnop",
                            " and a label that needs many lines",
                            " of text to hold what the user typed until it fills the list",
                            " and still more text than the list could ever show at once",
                            " so that the editor stops at the bottom of the list",
                            " while the user goes on typing word after word after word after word"
                            " after word after word after word after word after word after word"
                            " after word after word after word after word after word after word"
                            " after word after word after word after word after word after word"};
    for (const char* pszPiece : pieces) {
        Type(pszPiece);
        const CRect rect = RectInParent(m_edit);
        SCOPED_TRACE(TextOf(m_edit));
        EXPECT_EQ(rect.top, rectMax.top);
        EXPECT_GE(rect.left, rectMax.left);
        EXPECT_LE(rect.right, rectMax.right);
        EXPECT_LE(rect.bottom, rectMax.bottom);
        EXPECT_GE(rect.Width(), rectText.Width());
        EXPECT_GE(rect.Height(), rectText.Height());
        EXPECT_LE(std::abs((rect.left - rectMax.left) - (rectMax.right - rect.right)), 1);
        EXPECT_GE(rect.Width(), rectLast.Width());
        EXPECT_GE(rect.Height(), rectLast.Height());
        rectLast = rect;
    }
    // Wrapped lines fill most of the width; the lines reach the bottom and stop.
    EXPECT_GT(rectLast.Width(), rectMax.Width() * 3 / 4);
    EXPECT_EQ(rectLast.bottom, rectMax.bottom);
    ExpectWholeClientFormatting(m_edit);

    // Emptied, it goes back to the minimal rectangle.
    m_edit.SetSel(0, -1, TRUE);
    Type("");
    EXPECT_EQ(RectInParent(m_edit), rectText);
}

TEST_F(OXSHBEditTest, LeftAndRightAlignedEditorsGrowAwayFromTheirEdge) {
    struct Case {
        DWORD dwAlign;
        bool bLeftFixed;
    } cases[] = {{0, true}, {ES_RIGHT, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dwAlign);
        const CRect rectText(100, 60, 140, 80);
        const CRect rectMax(100, 60, 380, 80);
        SHBE_DISPLAY display =
            GrowingRecord(WS_BORDER | ES_AUTOHSCROLL | c.dwAlign, rectText, rectMax, &m_font);
        if (!c.bLeftFixed) {
            display.rectMin = display.rectDisplay = CRect(340, 60, 380, 80);
        }
        ASSERT_TRUE(m_edit.StartEdit(&display));
        int nLastWidth = 0;
        for (const char* pszPiece : {"S", "hort", "cuts of the calls", " reviewed this week",
                                     " and more words than the rectangle can hold"}) {
            Type(pszPiece);
            const CRect rect = RectInParent(m_edit);
            if (c.bLeftFixed)
                EXPECT_EQ(rect.left, rectMax.left);
            else
                EXPECT_EQ(rect.right, rectMax.right);
            EXPECT_EQ(rect.top, rectMax.top);
            EXPECT_EQ(rect.bottom, rectMax.bottom);
            EXPECT_GE(rect.Width(), 40);
            EXPECT_GE(rect.Width(), nLastWidth);
            EXPECT_LE(rect.Width(), rectMax.Width());
            nLastWidth = rect.Width();
        }
        EXPECT_GT(nLastWidth, 40);
        EXPECT_EQ(nLastWidth, rectMax.Width());
        m_edit.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    }
}

TEST_F(OXSHBEditTest, AHeaderEditorScrollsALongWordAndKeepsTheHeadersRectangle) {
    const CRect rectHeader(0, 20, 200, 45);
    SHBE_DISPLAY display = HeaderRecord("", rectHeader, &m_font);
    ASSERT_TRUE(m_edit.StartEdit(&display));
    Type("Averyveryverylongwordthatcannotfitintotheheaderofthebaratallwhatever");
    EXPECT_EQ(RectInParent(m_edit), rectHeader);
    // The start of the text has scrolled out to the left.
    const LRESULT lPos = m_edit.SendMessage(EM_POSFROMCHAR, 0, 0);
    EXPECT_LT(static_cast<short>(LOWORD(lPos)), 0);
}

// ---- The end of an edit.

TEST_F(OXSHBEditTest, EnterAcceptsAndEscapeCancelsAndTheParentIsToldOnce) {
    struct Case {
        WPARAM wKey;
        BOOL bOK;
    } cases[] = {{VK_RETURN, TRUE}, {VK_ESCAPE, FALSE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wKey);
        m_parent.m_finished.clear();
        SHBE_DISPLAY display = HeaderRecord("Calls", CRect(0, 20, 200, 45), &m_font);
        ASSERT_TRUE(m_edit.StartEdit(&display));
        Type("Old calls");
        EXPECT_EQ(m_edit.SendMessage(WM_KEYDOWN, c.wKey, 0), 0);
        // The character that follows the key is not typed into the ended edit.
        m_edit.SendMessage(WM_CHAR, c.wKey, 0);
        ASSERT_EQ(m_parent.m_finished.size(), 1u);
        const Finished& end = m_parent.m_finished[0];
        EXPECT_EQ(end.hWndFrom, m_edit.m_hWnd);
        EXPECT_EQ(end.idFrom, kEditID);
        EXPECT_EQ(end.wParam, kEditID);
        EXPECT_EQ(end.code, static_cast<UINT>(SHBEN_FINISHEDIT));
        EXPECT_EQ(end.bOK, c.bOK);
        EXPECT_EQ(end.sText, "Old calls");
        EXPECT_TRUE(end.bVisible);   // told first, hidden after
        EXPECT_FALSE(end.bCaptured); // the capture is released before
        EXPECT_FALSE(m_edit.IsWindowVisible());
        EXPECT_EQ(TextOf(m_edit), "Old calls");
    }
}

TEST_F(OXSHBEditTest, AMultiLineEditorTakesNoLineBreakFromTheEnterThatEndedIt) {
    SHBE_DISPLAY display = GrowingRecord(WS_BORDER | ES_MULTILINE | ES_CENTER | ES_AUTOVSCROLL,
                                         CRect(150, 50, 250, 66), CRect(0, 50, 400, 180), &m_font);
    display.pszText = "Item";
    ASSERT_TRUE(m_edit.StartEdit(&display));
    m_edit.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    m_edit.SendMessage(WM_CHAR, VK_RETURN, 0);
    EXPECT_EQ(TextOf(m_edit), "Item");
    ASSERT_EQ(m_parent.m_finished.size(), 1u);
    EXPECT_EQ(m_parent.m_finished[0].sText, "Item");
}

TEST_F(OXSHBEditTest, AnEditStartedFromTheEndNotificationStaysOpen) {
    SHBE_DISPLAY first = HeaderRecord("first", CRect(0, 20, 200, 45), &m_font);
    SHBE_DISPLAY next = HeaderRecord("next", CRect(0, 60, 200, 85), &m_font);
    m_parent.m_onFinish = [&]() {
        m_parent.m_onFinish = nullptr;
        EXPECT_TRUE(m_edit.StartEdit(&next));
    };
    ASSERT_TRUE(m_edit.StartEdit(&first));
    m_edit.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(m_edit.IsWindowVisible());
    EXPECT_EQ(TextOf(m_edit), "next");
    EXPECT_EQ(RectInParent(m_edit), CRect(0, 60, 200, 85));
}

TEST_F(OXSHBEditTest, OddTextsComeBackToTheParentAsTheyWent) {
    const std::string sLong(40000, 'w');
    const char* texts[] = {"", "Caf\xe9 cr\xe8me \xe0 la \xc9t\xe9 \xfc\xdf",
                           "\"quoted\" 'single' & <tag> %s %d \\ back", sLong.c_str()};
    for (const char* pszText : texts) {
        SCOPED_TRACE(std::string(pszText).substr(0, 40));
        m_parent.m_finished.clear();
        SHBE_DISPLAY display = HeaderRecord(pszText, CRect(0, 20, 200, 45), &m_font);
        ASSERT_TRUE(m_edit.StartEdit(&display));
        m_edit.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
        ASSERT_EQ(m_parent.m_finished.size(), 1u);
        EXPECT_EQ(m_parent.m_finished[0].sText, pszText);
        EXPECT_TRUE(m_parent.m_finished[0].bOK);
    }
}

TEST_F(OXSHBEditTest, ANullTextOpensAnEmptyEditor) {
    m_edit.SetWindowText("left over");
    SHBE_DISPLAY display = HeaderRecord(nullptr, CRect(0, 20, 200, 45), &m_font);
    ASSERT_TRUE(m_edit.StartEdit(&display));
    EXPECT_EQ(TextOf(m_edit), "");
}

// A click outside the editor's client area ends the edit first and then
// reaches the window under it: in that window's client coordinates with the
// key state, or as the non-client click with the hit-test code and the screen
// point, followed by the cursor request.
TEST_F(OXSHBEditTest, AClickOnAnotherHeaderAcceptsAndStillReachesItScreen) {
    // A second header with a border of its own, at (0, 240)-(400, 270).
    CSiblingWnd framed;
    ASSERT_TRUE(framed.Make(&m_parent, CRect(0, 240, 400, 270)));
    framed.ModifyStyle(0, WS_BORDER, SWP_FRAMECHANGED);
    struct Case {
        CSiblingWnd* pHeader;
        UINT message;
        WPARAM wParam;
        CPoint ptParent;
        UINT nExpected;
        WPARAM wExpected;
        CPoint ptExpected; // client or screen
        UINT nHitTest;
    } cases[] = {
        {&m_header, WM_LBUTTONDOWN, MK_LBUTTON, CPoint(30, 210), WM_LBUTTONDOWN, MK_LBUTTON,
         CPoint(30, 10), HTCLIENT},
        {&m_header, WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, CPoint(30, 210), WM_RBUTTONDOWN,
         MK_RBUTTON | MK_SHIFT, CPoint(30, 10), HTCLIENT},
        {&framed, WM_LBUTTONDBLCLK, MK_LBUTTON, CPoint(0, 250), WM_NCLBUTTONDBLCLK, HTBORDER,
         CPoint(0, 250), HTBORDER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        m_parent.m_finished.clear();
        c.pHeader->m_seen.clear();
        SHBE_DISPLAY display = HeaderRecord("Calls", CRect(0, 20, 200, 45), &m_font);
        ASSERT_TRUE(m_edit.StartEdit(&display));
        CPoint point = c.ptParent;
        ::MapWindowPoints(m_parent.m_hWnd, m_edit.m_hWnd, &point, 1);
        EXPECT_EQ(m_edit.SendMessage(c.message, c.wParam, MAKELPARAM(point.x, point.y)), 0);
        ASSERT_EQ(m_parent.m_finished.size(), 1u);
        EXPECT_TRUE(m_parent.m_finished[0].bOK);
        EXPECT_FALSE(m_edit.IsWindowVisible());
        CPoint ptExpected = c.ptExpected;
        if (c.nHitTest != HTCLIENT)
            m_parent.ClientToScreen(&ptExpected);
        const CSiblingWnd::Seen* pClick = c.pHeader->First(c.nExpected);
        ASSERT_NE(pClick, nullptr);
        EXPECT_EQ(pClick->nEndsBefore, 1);
        EXPECT_EQ(pClick->wParam, c.wExpected);
        EXPECT_EQ(pClick->lParam, MAKELPARAM(ptExpected.x, ptExpected.y));
        const CSiblingWnd::Seen* pCursor = c.pHeader->First(WM_SETCURSOR);
        ASSERT_NE(pCursor, nullptr);
        EXPECT_EQ(pCursor->wParam, reinterpret_cast<WPARAM>(c.pHeader->m_hWnd));
        EXPECT_EQ(pCursor->lParam, MAKELPARAM(c.nHitTest, c.message));
    }
    framed.DestroyWindow();
}

TEST_F(OXSHBEditTest, AMouseMoveOutsideIsPassedOnAndTheEditStaysOpenScreen) {
    SHBE_DISPLAY display = HeaderRecord("Calls", CRect(0, 20, 200, 45), &m_font);
    ASSERT_TRUE(m_edit.StartEdit(&display));
    CPoint point(60, 215);
    ::MapWindowPoints(m_parent.m_hWnd, m_edit.m_hWnd, &point, 1);
    m_edit.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
    // Inside its own client area a click is the editor's.
    m_edit.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    m_edit.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(m_parent.m_finished.empty());
    EXPECT_TRUE(m_edit.IsWindowVisible());
    const CSiblingWnd::Seen* pMove = m_header.First(WM_MOUSEMOVE);
    ASSERT_NE(pMove, nullptr);
    EXPECT_EQ(pMove->lParam, MAKELPARAM(60, 15));
    EXPECT_EQ(m_header.First(WM_LBUTTONDOWN), nullptr);
}

// ---- Focus and capture.

TEST_F(OXSHBEditTest, AnOpenEditHoldsTheFocusAndTheCaptureFocus) {
    m_parent.SetForegroundWindow();
    SHBE_DISPLAY display = HeaderRecord("Calls", CRect(0, 20, 200, 45), &m_font);
    ASSERT_TRUE(m_edit.StartEdit(&display));
    EXPECT_EQ(::GetFocus(), m_edit.m_hWnd);
    EXPECT_EQ(::GetCapture(), m_edit.m_hWnd);
    // The control's own click releases the capture; the edit takes it back.
    m_edit.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    m_edit.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(::GetCapture(), m_edit.m_hWnd);
    m_edit.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_NE(::GetFocus(), m_edit.m_hWnd);
}

TEST_F(OXSHBEditTest, LosingTheFocusAcceptsTheEditFocus) {
    m_parent.SetForegroundWindow();
    SHBE_DISPLAY display = HeaderRecord("Calls", CRect(0, 20, 200, 45), &m_font);
    ASSERT_TRUE(m_edit.StartEdit(&display));
    Type("Recent calls");
    m_parent.SetFocus();
    ASSERT_EQ(m_parent.m_finished.size(), 1u);
    EXPECT_TRUE(m_parent.m_finished[0].bOK);
    EXPECT_EQ(m_parent.m_finished[0].sText, "Recent calls");
    EXPECT_FALSE(m_edit.IsWindowVisible());
    // Losing it again while nothing is edited tells nothing.
    m_parent.SetFocus();
    EXPECT_EQ(m_parent.m_finished.size(), 1u);
}

TEST_F(OXSHBEditTest, StartingAnotherEditWhileEditingAcceptsTheFirstFocus) {
    m_parent.SetForegroundWindow();
    SHBE_DISPLAY first = HeaderRecord("first", CRect(0, 20, 200, 45), &m_font);
    ASSERT_TRUE(m_edit.StartEdit(&first));
    SHBE_DISPLAY second = HeaderRecord("second", CRect(0, 60, 200, 85), &m_font);
    ASSERT_TRUE(m_edit.StartEdit(&second));
    ASSERT_EQ(m_parent.m_finished.size(), 1u);
    EXPECT_TRUE(m_parent.m_finished[0].bOK);
    EXPECT_EQ(m_parent.m_finished[0].sText, "first");
    EXPECT_TRUE(m_edit.IsWindowVisible());
    EXPECT_EQ(TextOf(m_edit), "second");
    EXPECT_EQ(::GetCapture(), m_edit.m_hWnd);
}

// ---- Real input.

void TapKey(WORD wVk) {
    SendKeyTap(wVk);
    Settle(60);
}

void TypeKeys(const char* pszLetters) {
    TypeLetters(pszLetters, TapKey);
}

void Click(CPoint ptScreen) {
    SendMouseMove(ptScreen);
    SendLeftClick();
    Settle(200);
}

class OXSHBEditInputTest : public OXSHBEditTest {
protected:
    void SetUp() override {
        OXSHBEditTest::SetUp();
        m_parent.SetForegroundWindow();
        Settle(200);
    }
};

TEST_F(OXSHBEditInputTest, TypedTextReplacesTheSelectionAndEnterAcceptsItInput) {
    SHBE_DISPLAY display = HeaderRecord("My Shortcuts", CRect(0, 20, 200, 45), &m_font);
    ASSERT_TRUE(m_edit.StartEdit(&display));
    Settle(100);
    TypeKeys("new name");
    TapKey(VK_RETURN);
    ASSERT_EQ(m_parent.m_finished.size(), 1u);
    EXPECT_TRUE(m_parent.m_finished[0].bOK);
    EXPECT_EQ(m_parent.m_finished[0].sText, "new name");
    EXPECT_FALSE(m_edit.IsWindowVisible());
}

TEST_F(OXSHBEditInputTest, EscapeHidesTheEditorAndCancelsInput) {
    SHBE_DISPLAY display = HeaderRecord("My Shortcuts", CRect(0, 20, 200, 45), &m_font);
    ASSERT_TRUE(m_edit.StartEdit(&display));
    Settle(100);
    TypeKeys("x");
    TapKey(VK_ESCAPE);
    ASSERT_EQ(m_parent.m_finished.size(), 1u);
    EXPECT_FALSE(m_parent.m_finished[0].bOK);
    EXPECT_FALSE(m_edit.IsWindowVisible());
}

TEST_F(OXSHBEditInputTest, ClickingAnotherHeaderAcceptsAndTheClickReachesItInput) {
    SHBE_DISPLAY display = HeaderRecord("My Shortcuts", CRect(0, 20, 200, 45), &m_font);
    ASSERT_TRUE(m_edit.StartEdit(&display));
    Settle(100);
    TypeKeys("abc");
    CPoint point(40, 212);
    m_parent.ClientToScreen(&point);
    Click(point);
    ASSERT_EQ(m_parent.m_finished.size(), 1u);
    EXPECT_TRUE(m_parent.m_finished[0].bOK);
    EXPECT_EQ(m_parent.m_finished[0].sText, "abc");
    EXPECT_FALSE(m_edit.IsWindowVisible());
    const CSiblingWnd::Seen* pDown = m_header.First(WM_LBUTTONDOWN);
    ASSERT_NE(pDown, nullptr);
    EXPECT_EQ(pDown->nEndsBefore, 1);
    EXPECT_EQ(pDown->lParam, MAKELPARAM(40, 12));
}

TEST_F(OXSHBEditInputTest, AClickInsideTheEditorKeepsTheEditOpenInput) {
    SHBE_DISPLAY display = HeaderRecord("My Shortcuts", CRect(0, 20, 200, 45), &m_font);
    ASSERT_TRUE(m_edit.StartEdit(&display));
    Settle(100);
    CPoint point(20, 32);
    m_parent.ClientToScreen(&point);
    Click(point);
    EXPECT_TRUE(m_parent.m_finished.empty());
    EXPECT_TRUE(m_edit.IsWindowVisible());
    EXPECT_EQ(::GetCapture(), m_edit.m_hWnd);
    TapKey(VK_RETURN);
    ASSERT_EQ(m_parent.m_finished.size(), 1u);
    EXPECT_EQ(m_parent.m_finished[0].sText, "My Shortcuts");
}

TEST_F(OXSHBEditInputTest, ALargeIconEditorGrowsAsTheUserTypesInput) {
    const CRect rectText(180, 50, 220, 66);
    const CRect rectMax(0, 50, 400, 180);
    SHBE_DISPLAY display = GrowingRecord(WS_BORDER | ES_MULTILINE | ES_CENTER | ES_AUTOVSCROLL,
                                         rectText, rectMax, &m_font);
    display.pszText = "x";
    ASSERT_TRUE(m_edit.StartEdit(&display));
    Settle(100);
    TypeKeys("calls of the first week of the month reviewed by the team");
    const CRect rect = RectInParent(m_edit);
    EXPECT_GT(rect.Width(), rectText.Width());
    EXPECT_LE(std::abs((rect.left - rectMax.left) - (rectMax.right - rect.right)), 1);
    EXPECT_EQ(rect.top, rectMax.top);
    EXPECT_LE(rect.bottom, rectMax.bottom);
    TapKey(VK_RETURN);
    ASSERT_EQ(m_parent.m_finished.size(), 1u);
    EXPECT_EQ(m_parent.m_finished[0].sText,
              "calls of the first week of the month reviewed by the team");
}

} // namespace
