// Tests of CToolTipListCtrl and CCoolToolTipListCtrl: the texts kept per cell
// and how they follow deleted rows, the hit test that makes each cell's label
// a tool of its own, the answers to the tooltip's text requests, and the tip
// shown over a cell under the real mouse.
#include "native/gtest.h"

#include "ToolTipListCtrl.h"

#include "tests/app/SmallDialogsTestKit.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/SyntheticInput.h"

#include <string>

namespace {

CAnsweringApp theApp;

using smalldlg::CHostWnd;
using smalldlg::FindVisibleToolTip;
using smalldlg::PumpTranslated;

const int kColumns = 5;
const int kRows = 5;

// The list with its protected parts in reach.
template <class TList> class CListProbe : public TList {
public:
    using TList::OnToolTipText;
};

std::string CellText(int nRow, int nColumn) {
    return "tip " + std::to_string(nRow) + "," + std::to_string(nColumn);
}

template <class TList> class ListTestBase : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_host.Make("ToolTipListCtrl", CRect(40, 40, 640, 340)));
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT,
                                  CRect(10, 10, 560, 250), &m_host, 100));
        for (int nColumn = 0; nColumn < kColumns; ++nColumn)
            m_list.InsertColumn(nColumn, ("Column " + std::to_string(nColumn)).c_str(), LVCFMT_LEFT,
                                90);
        for (int nRow = 0; nRow < kRows; ++nRow) {
            m_list.InsertItem(nRow, ("row " + std::to_string(nRow)).c_str());
            for (int nColumn = 1; nColumn < kColumns; ++nColumn)
                m_list.SetItemText(nRow, nColumn, ("cell " + std::to_string(nColumn)).c_str());
        }
        ::UpdateWindow(m_host.m_hWnd);
    }

    void FillAllTexts() {
        for (int nRow = 0; nRow < kRows; ++nRow)
            for (int nColumn = 0; nColumn < kColumns; ++nColumn)
                m_list.SetItemToolTipText(nRow, nColumn, CellText(nRow, nColumn).c_str());
    }

    // The middle of a cell's label, in the list's client coordinates.
    CPoint LabelCenter(int nRow, int nColumn) {
        CRect rect;
        EXPECT_TRUE(m_list.GetSubItemRect(nRow, nColumn, LVIR_LABEL, rect));
        return rect.CenterPoint();
    }
    CPoint ToScreen(CPoint point) {
        m_list.ClientToScreen(&point);
        return point;
    }

    CHostWnd m_host;
    CListProbe<TList> m_list;
};

using ToolTipListCtrlTest = ListTestBase<CToolTipListCtrl>;

// ---- Texts kept per cell.

TEST_F(ToolTipListCtrlTest, TextsAreKeptPerCellAndReplaced) {
    EXPECT_EQ(std::string(m_list.GetItemToolTipText(2, 3)), "");
    EXPECT_TRUE(m_list.SetItemToolTipText(2, 3, "first"));
    EXPECT_TRUE(m_list.SetItemToolTipText(2, 3, "second"));
    EXPECT_TRUE(m_list.SetItemToolTipText(3, 2, "other cell"));
    EXPECT_EQ(std::string(m_list.GetItemToolTipText(2, 3)), "second");
    EXPECT_EQ(std::string(m_list.GetItemToolTipText(3, 2)), "other cell");
    EXPECT_EQ(std::string(m_list.GetItemToolTipText(3, 3)), "");
    EXPECT_EQ(CToolTipListCtrl::CellKey(2, 3), 203);
}

// A deleted row takes its texts along and the rows below move up with theirs,
// so that no row shows its lower neighbour's tip.
TEST_F(ToolTipListCtrlTest, DeleteItemMovesTheTextsOfLaterRowsUp) {
    struct Case {
        const char* pszCase;
        int nDelete;
        BOOL bResult;
        int nRowsAfter;
        // Row of the texts that each row shows afterwards; -1: none.
        int from[kRows];
    } const cases[] = {
        {"middle row", 2, TRUE, 4, {0, 1, 3, 4, -1}},
        {"first row", 0, TRUE, 4, {1, 2, 3, 4, -1}},
        {"last row", 4, TRUE, 4, {0, 1, 2, 3, -1}},
        {"no such row", 7, FALSE, 5, {0, 1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszCase);
        m_list.DeleteAllItems();
        for (int nRow = 0; nRow < kRows; ++nRow)
            m_list.InsertItem(nRow, "row");
        FillAllTexts();
        EXPECT_EQ(m_list.DeleteItem(c.nDelete), c.bResult);
        EXPECT_EQ(m_list.GetItemCount(), c.nRowsAfter);
        for (int nRow = 0; nRow < kRows; ++nRow)
            for (int nColumn = 0; nColumn < kColumns; ++nColumn)
                EXPECT_EQ(std::string(m_list.GetItemToolTipText(nRow, nColumn)),
                          c.from[nRow] < 0 ? "" : CellText(c.from[nRow], nColumn))
                    << "row " << nRow << " column " << nColumn;
    }
}

TEST_F(ToolTipListCtrlTest, DeleteAllItemsTakesEveryText) {
    FillAllTexts();
    EXPECT_TRUE(m_list.DeleteAllItems());
    EXPECT_EQ(m_list.GetItemCount(), 0);
    for (int nRow = 0; nRow < kRows; ++nRow)
        EXPECT_EQ(std::string(m_list.GetItemToolTipText(nRow, 0)), "") << nRow;
    // Texts set again after the rows are gone stay until the next removal.
    m_list.SetItemToolTipText(0, 1, "kept");
    m_list.DeleteAllToolTips();
    EXPECT_EQ(std::string(m_list.GetItemToolTipText(0, 1)), "");
}

// ---- Hit test.

TEST_F(ToolTipListCtrlTest, EachCellsLabelIsAToolOfItsOwn) {
    CRect rcClient;
    m_list.GetClientRect(&rcClient);
    CRect rcLast;
    ASSERT_TRUE(m_list.GetSubItemRect(1, kColumns - 1, LVIR_LABEL, rcLast));
    CRect rcRow4;
    ASSERT_TRUE(m_list.GetItemRect(kRows - 1, &rcRow4, LVIR_BOUNDS));
    struct Case {
        const char* pszCase;
        CPoint point;
        INT_PTR nTool;
    } const cases[] = {
        {"row 2 column 3", LabelCenter(2, 3), 203},
        {"row 0 column 0", LabelCenter(0, 0), 0},
        {"row 4 column 1", LabelCenter(4, 1), 401},
        {"right of the last column", CPoint(rcLast.right + 20, rcLast.CenterPoint().y), -1},
        {"below the last row", CPoint(LabelCenter(0, 1).x, rcRow4.bottom + 10), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszCase);
        ASSERT_TRUE(rcClient.PtInRect(c.point));
        TOOLINFOA info = {};
        info.cbSize = sizeof info;
        EXPECT_EQ(m_list.OnToolHitTest(c.point, &info), c.nTool);
        if (c.nTool < 0)
            continue;
        EXPECT_EQ(info.hwnd, m_list.m_hWnd);
        EXPECT_EQ(info.uId, static_cast<UINT_PTR>(c.nTool));
        EXPECT_EQ(info.lpszText, LPSTR_TEXTCALLBACKA);
        EXPECT_EQ(CRect(info.rect), rcClient);
        EXPECT_EQ(info.uFlags & TTF_IDISHWND, 0u);
    }
}

// ---- Text requests.

// A request as the tooltip control sends it, with the cursor on a point of
// the list: the handler hit-tests the position of the current message.
class CRequest {
public:
    explicit CRequest(UINT nCode) {
        m_info.hdr.hwndFrom = m_hWndTip;
        m_info.hdr.code = nCode;
    }
    NMTTDISPINFOW m_info = {}; // the wide record is the larger one
    HWND m_hWndTip = nullptr;

    NMHDR* Header() { return &m_info.hdr; }
    std::string Narrow() const {
        const auto& infoA = reinterpret_cast<const NMTTDISPINFOA&>(m_info);
        return infoA.lpszText != nullptr ? infoA.lpszText : "";
    }
    std::string Wide() const {
        std::string text;
        for (const WCHAR* p = m_info.lpszText; p != nullptr && *p != 0; ++p)
            text += static_cast<char>(*p);
        return text;
    }
};

// Moves the cursor to a screen point, then takes a message so that the
// thread's message position is there.
void PlaceMessagePosition(CPoint ptScreen) {
    ::SetCursorPos(ptScreen.x, ptScreen.y);
    for (int i = 0; i < 50; ++i) {
        ::PostThreadMessageA(::GetCurrentThreadId(), WM_NULL, 0, 0);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
        const DWORD dwPos = ::GetMessagePos();
        if (static_cast<short>(LOWORD(dwPos)) == ptScreen.x &&
            static_cast<short>(HIWORD(dwPos)) == ptScreen.y)
            return;
        ::Sleep(10);
    }
    ADD_FAILURE() << "the message position never reached the point";
}

TEST_F(ToolTipListCtrlTest, RequestsGetTheCellsWholeTextCursor) {
    const std::string strLong(200, 'w');
    m_list.SetItemToolTipText(2, 3, strLong.c_str());
    m_list.SetItemToolTipText(1, 1, "narrow and wide");
    HWND hWndTip = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, 0, 0, 0, 0,
                                     m_host.m_hWnd, nullptr, nullptr, nullptr);
    ASSERT_NE(hWndTip, nullptr);
    struct Case {
        const char* pszCase;
        CPoint point; // in the list
        UINT nCode;
        std::string strText; // empty: no text handed over
    } const cases[] = {
        {"long text, narrow", LabelCenter(2, 3), TTN_NEEDTEXTA, strLong},
        {"long text, wide", LabelCenter(2, 3), TTN_NEEDTEXTW, strLong},
        {"short text, narrow", LabelCenter(1, 1), TTN_NEEDTEXTA, "narrow and wide"},
        {"cell without a text", LabelCenter(3, 3), TTN_NEEDTEXTA, ""},
        {"right of the columns", CPoint(LabelCenter(2, kColumns - 1).x + 120, LabelCenter(2, 0).y),
         TTN_NEEDTEXTA, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszCase);
        PlaceMessagePosition(ToScreen(c.point));
        ::SendMessageA(hWndTip, TTM_SETMAXTIPWIDTH, 0, -1);
        CRequest request(c.nCode);
        request.m_hWndTip = hWndTip;
        request.m_info.hdr.hwndFrom = hWndTip;
        LRESULT lResult = 99;
        // Reported as not handled in every case, so others may answer too.
        EXPECT_FALSE(m_list.OnToolTipText(0, request.Header(), &lResult));
        EXPECT_EQ(lResult, 0);
        const std::string strGot = c.nCode == TTN_NEEDTEXTA ? request.Narrow() : request.Wide();
        EXPECT_EQ(strGot, c.strText);
        EXPECT_EQ(::SendMessageA(hWndTip, TTM_GETMAXTIPWIDTH, 0, 0), c.strText.empty() ? -1 : 320);
    }
    ::DestroyWindow(hWndTip);
}

// The list window itself as a tool belongs to some other tooltip.
TEST_F(ToolTipListCtrlTest, ARequestForTheWindowAsAToolIsLeftAloneCursor) {
    m_list.SetItemToolTipText(2, 3, "cell text");
    PlaceMessagePosition(ToScreen(LabelCenter(2, 3)));
    NMTTDISPINFOA info = {};
    info.hdr.code = TTN_NEEDTEXTA;
    info.hdr.idFrom = reinterpret_cast<UINT_PTR>(m_list.m_hWnd);
    info.uFlags = TTF_IDISHWND;
    info.lpszText = const_cast<LPSTR>("untouched");
    LRESULT lResult = 99;
    EXPECT_FALSE(m_list.OnToolTipText(0, &info.hdr, &lResult));
    EXPECT_EQ(lResult, 99);
    EXPECT_EQ(std::string(info.lpszText), "untouched");
    // The same id without the window flag is a cell's request.
    info.uFlags = 0;
    EXPECT_FALSE(m_list.OnToolTipText(0, &info.hdr, &lResult));
    EXPECT_EQ(std::string(info.lpszText), "cell text");
}

// The derived list answers through its own override, reached from the
// message map, and keeps its text in buffers of its own.
TEST_F(ToolTipListCtrlTest, TheCoolListAnswersFromBuffersOfItsOwnCursor) {
    CListProbe<CCoolToolTipListCtrl> cool;
    ASSERT_TRUE(
        cool.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(10, 255, 560, 295), &m_host, 101));
    cool.InsertColumn(0, "Only", LVCFMT_LEFT, 120);
    cool.InsertItem(0, "cool row");
    cool.SetItemToolTipText(0, 0, "cool text");
    m_list.SetItemToolTipText(0, 0, "plain text");

    // The requests come from a tooltip control, as the framework's would.
    HWND hWndTip = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, 0, 0, 0, 0,
                                     m_host.m_hWnd, nullptr, nullptr, nullptr);
    ASSERT_NE(hWndTip, nullptr);
    PlaceMessagePosition(ToScreen(LabelCenter(0, 0)));
    NMTTDISPINFOA plain = {};
    plain.hdr.code = TTN_NEEDTEXTA;
    plain.hdr.hwndFrom = hWndTip;
    m_list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&plain));
    ASSERT_NE(plain.lpszText, nullptr);
    EXPECT_EQ(std::string(plain.lpszText), "plain text");

    CRect rcCool;
    ASSERT_TRUE(cool.GetSubItemRect(0, 0, LVIR_LABEL, rcCool));
    CPoint ptCool = rcCool.CenterPoint();
    cool.ClientToScreen(&ptCool);
    PlaceMessagePosition(ptCool);
    NMTTDISPINFOA coolInfo = {};
    coolInfo.hdr.code = TTN_NEEDTEXTA;
    coolInfo.hdr.hwndFrom = hWndTip;
    cool.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&coolInfo));
    ASSERT_NE(coolInfo.lpszText, nullptr);
    EXPECT_EQ(std::string(coolInfo.lpszText), "cool text");
    EXPECT_NE(coolInfo.lpszText, plain.lpszText);
    EXPECT_EQ(std::string(plain.lpszText), "plain text");
    ::DestroyWindow(hWndTip);
}

// ---- The tip under the real mouse.

TEST_F(ToolTipListCtrlTest, RestingOnACellsLabelShowsItsWholeTextWrappedInput) {
    std::string strLong;
    for (int i = 0; strLong.size() < 200; ++i)
        strLong += "word" + std::to_string(i) + " ";
    strLong.resize(200);
    m_list.SetItemToolTipText(2, 3, strLong.c_str());
    m_host.SetForegroundWindow();
    SendMouseMove(CPoint(5, 5));
    PumpTranslated(100);

    const CPoint ptCell = ToScreen(LabelCenter(2, 3));
    SendMouseMove(ptCell);
    PumpTranslated(60);
    SendMouseMove(ptCell + CSize(1, 0));
    HWND hWndTip = nullptr;
    ASSERT_TRUE(
        smalldlg::PumpTranslatedUntil([&] { return (hWndTip = FindVisibleToolTip()) != nullptr; }));
    PumpTranslated(200);
    CRect rcTip;
    ::GetWindowRect(hWndTip, &rcTip);
    SaveScreenPng(CRect(rcTip.left - 250, rcTip.top - 120, rcTip.right + 20, rcTip.bottom + 20),
                  "ToolTipListCtrl_long_tip.png");
    // Wrapped at 320 pixels of text: narrower than the text would run on one
    // line, and several lines high.
    HDC hDC = ::GetDC(hWndTip);
    HGDIOBJ hOld =
        ::SelectObject(hDC, reinterpret_cast<HFONT>(::SendMessageA(hWndTip, WM_GETFONT, 0, 0)));
    SIZE sizeLine = {};
    ::GetTextExtentPoint32A(hDC, strLong.c_str(), static_cast<int>(strLong.size()), &sizeLine);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(hWndTip, hDC);
    EXPECT_LE(rcTip.Width(), 320 + 20);
    EXPECT_GE(rcTip.Height(), 3 * sizeLine.cy);
    EXPECT_EQ(::SendMessageA(hWndTip, TTM_GETMAXTIPWIDTH, 0, 0), 320);

    // Over empty space right of the last column the tip goes and stays away.
    CRect rcLast;
    ASSERT_TRUE(m_list.GetSubItemRect(2, kColumns - 1, LVIR_LABEL, rcLast));
    const CPoint ptEmpty = ToScreen(CPoint(rcLast.right + 40, rcLast.CenterPoint().y));
    SendMouseMove(ptEmpty);
    PumpTranslated(60);
    SendMouseMove(ptEmpty + CSize(1, 0));
    PumpTranslated(1500);
    EXPECT_EQ(FindVisibleToolTip(), nullptr);
}

} // namespace
