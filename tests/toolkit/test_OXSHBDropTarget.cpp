// Tests of COXSHBDropTarget and COXSHBDropSource: the records they send, the
// defaults of a window that handles nothing, the drag-scroll rules of the
// built-in auto-scroll (zones, delay, Ctrl/Shift/Alt effects, no horizontal
// messages, re-entering the drag) and the clipboard format. The overrides are
// called directly with a window and points, as OLE's drag loop would.
#include "native/gtest.h"

#include "toolkit/OXSHBDropTarget.h"

#include "framework/OleData.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

#include <map>
#include <vector>

namespace {

CWinApp theApp;

static_assert(sizeof(SHBDROPTARGETACTION::pWnd) == sizeof(void*), "pointer-sized window");
static_assert(sizeof(SHBDROPTARGETACTION::pDataObject) == sizeof(void*), "pointer-sized data");
static_assert(sizeof(SHBDROPSOURCEACTION::pWnd) == sizeof(void*), "pointer-sized window");

// A window that records the private messages it receives and answers them
// from a table: return value and the result it writes into the record.
class CRecordingWnd : public CWnd {
public:
    struct Answer {
        LRESULT lReturn;
        LRESULT lResult;
    };
    struct Seen {
        UINT message;
        SHBDROPTARGETACTION target;
        SHBDROPSOURCEACTION source;
        WPARAM wParam;
    };

    BOOL Make(DWORD dwStyle) {
        return CreateEx(0, AfxRegisterWndClass(0), "drop", WS_POPUP | dwStyle, 0, 0, 220, 220,
                        nullptr, nullptr);
    }
    int Count(UINT message) const {
        int n = 0;
        for (const Seen& seen : m_seen)
            n += seen.message == message ? 1 : 0;
        return n;
    }
    const Seen* Last(UINT message) const {
        for (auto it = m_seen.rbegin(); it != m_seen.rend(); ++it)
            if (it->message == message)
                return &*it;
        return nullptr;
    }

    std::map<UINT, Answer> m_answers;
    std::vector<Seen> m_seen;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        const bool bTarget = message >= SHBDTM_DRAGENTER && message <= SHBDTM_DROPEX;
        const bool bSource = message >= SHBDSM_GIVEFEEDBACK && message <= SHBDSM_QUERYCONTINUEDRAG;
        if (bTarget || bSource || message == WM_VSCROLL || message == WM_HSCROLL) {
            Seen seen = {message, {}, {}, wParam};
            if (bTarget)
                seen.target = *reinterpret_cast<SHBDROPTARGETACTION*>(lParam);
            if (bSource)
                seen.source = *reinterpret_cast<SHBDROPSOURCEACTION*>(lParam);
            m_seen.push_back(seen);
            auto it = m_answers.find(message);
            if (it == m_answers.end())
                return 0;
            if (bTarget)
                reinterpret_cast<SHBDROPTARGETACTION*>(lParam)->result =
                    static_cast<DROPEFFECT>(it->second.lResult);
            if (bSource)
                reinterpret_cast<SHBDROPSOURCEACTION*>(lParam)->result = it->second.lResult;
            return it->second.lReturn;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// Reaches the drop target's drag state, as OLE's bridge would set it.
class CTestDropTarget : public COXSHBDropTarget {
public:
    void SetDataObject(LPDATAOBJECT lpDataObject) { m_lpDataObject = lpDataObject; }
    UINT ScrollCode() const { return m_nTimerID; }
};

class OXSHBDropTargetTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_nDelay = COleDropTarget::nScrollDelay;
        m_nInterval = COleDropTarget::nScrollInterval;
    }
    void TearDown() override {
        COleDropTarget::nScrollDelay = m_nDelay;
        COleDropTarget::nScrollInterval = m_nInterval;
        if (m_wnd.m_hWnd != nullptr)
            m_wnd.DestroyWindow();
    }
    // A window whose vertical range scrolls (and the horizontal one too with bHorz).
    void MakeScrollingWindow(DWORD dwStyle) {
        ASSERT_TRUE(m_wnd.Make(dwStyle));
        SCROLLINFO info = {sizeof(info), SIF_RANGE | SIF_PAGE, 0, 100, 10, 0, 0};
        if (dwStyle & WS_VSCROLL)
            ::SetScrollInfo(m_wnd.m_hWnd, SB_VERT, &info, FALSE);
        if (dwStyle & WS_HSCROLL)
            ::SetScrollInfo(m_wnd.m_hWnd, SB_HORZ, &info, FALSE);
        m_wnd.m_answers[SHBDTM_DRAGSCROLL] = {1, static_cast<LRESULT>(DROPEFFECT_SCROLL)};
        ::GetClientRect(m_wnd.m_hWnd, &m_rectClient);
    }
    CPoint BelowInset() const { return CPoint(m_rectClient.Width() / 2, m_rectClient.bottom - 2); }
    CPoint Middle() const { return m_rectClient.CenterPoint(); }

    CRecordingWnd m_wnd;
    CTestDropTarget m_target;
    CRect m_rectClient;
    UINT m_nDelay = 0;
    UINT m_nInterval = 0;
};

TEST(OXSHBDropTargetRecords, StartZeroedAndTheMessagesHaveTheirNumbers) {
    SHBDROPTARGETACTION target;
    EXPECT_EQ(target.pWnd, nullptr);
    EXPECT_EQ(target.pDataObject, nullptr);
    EXPECT_EQ(target.dwKeyState, 0u);
    EXPECT_EQ(target.point.x, 0);
    EXPECT_EQ(target.point.y, 0);
    EXPECT_EQ(target.dropEffect, 0u);
    EXPECT_EQ(target.dropList, 0u);
    EXPECT_EQ(target.result, 0u);
    SHBDROPSOURCEACTION source;
    EXPECT_EQ(source.pWnd, nullptr);
    EXPECT_EQ(source.dwKeyState, 0u);
    EXPECT_EQ(source.bEscapePressed, FALSE);
    EXPECT_EQ(source.dropEffect, 0u);
    EXPECT_EQ(source.result, 0);
    const UINT messages[] = {SHBDTM_DRAGENTER,    SHBDTM_DRAGLEAVE, SHBDTM_DRAGOVER,
                             SHBDTM_DRAGSCROLL,   SHBDTM_DROP,      SHBDTM_DROPEX,
                             SHBDSM_GIVEFEEDBACK, SHBDSM_BEGINDRAG, SHBDSM_QUERYCONTINUEDRAG};
    for (UINT i = 0; i < sizeof(messages) / sizeof(messages[0]); ++i)
        EXPECT_EQ(messages[i], 0x80ADu + i);
}

TEST(OXSHBDropTargetRecords, TheClipboardFormatIsRegisteredBeforeMain) {
    ASSERT_NE(g_cfSHBChildWindowItem, 0);
    EXPECT_EQ(g_cfSHBChildWindowItem, static_cast<CLIPFORMAT>(::RegisterClipboardFormatA(
                                          "Shortcut bar child window item")));
}

TEST_F(OXSHBDropTargetTest, AWindowThatHandlesNothingAcceptsNoDrop) {
    ASSERT_TRUE(m_wnd.Make(0));
    COleDataObject data;
    EXPECT_EQ(m_target.OnDragEnter(&m_wnd, &data, MK_LBUTTON, CPoint(5, 6)), DROPEFFECT_NONE);
    EXPECT_EQ(m_target.OnDragOver(&m_wnd, &data, MK_LBUTTON, CPoint(5, 6)), DROPEFFECT_NONE);
    EXPECT_FALSE(m_target.OnDrop(&m_wnd, &data, DROPEFFECT_COPY, CPoint(5, 6)));
    // Unhandled, the extended drop is the framework's: "not handled" (-1).
    EXPECT_EQ(m_target.OnDropEx(&m_wnd, &data, DROPEFFECT_COPY, DROPEFFECT_COPY, CPoint(5, 6)),
              static_cast<DROPEFFECT>(-1));
    EXPECT_EQ(m_target.OnDragScroll(&m_wnd, MK_LBUTTON, CPoint(5, 6)), DROPEFFECT_NONE);
    m_target.OnDragLeave(&m_wnd);
    EXPECT_EQ(m_wnd.Count(SHBDTM_DRAGENTER), 1);
    EXPECT_EQ(m_wnd.Count(SHBDTM_DRAGLEAVE), 1);
    EXPECT_EQ(m_wnd.Count(SHBDTM_DROPEX), 1);
}

TEST_F(OXSHBDropTargetTest, AHandledMessageAnswersWithTheRecordsResult) {
    ASSERT_TRUE(m_wnd.Make(0));
    COleDataObject data;
    struct Case {
        LRESULT lReturn, lResult;
        DROPEFFECT expected;
    } cases[] = {
        {1, DROPEFFECT_COPY, DROPEFFECT_COPY},
        {1, 0, DROPEFFECT_NONE},               // handled, result left 0
        {0, DROPEFFECT_MOVE, DROPEFFECT_NONE}, // not handled: the result does not count
    };
    for (const Case& c : cases) {
        m_wnd.m_answers[SHBDTM_DRAGOVER] = {c.lReturn, c.lResult};
        m_wnd.m_answers[SHBDTM_DRAGENTER] = {c.lReturn, c.lResult};
        EXPECT_EQ(m_target.OnDragOver(&m_wnd, &data, MK_LBUTTON, CPoint(1, 2)), c.expected);
        EXPECT_EQ(m_target.OnDragEnter(&m_wnd, &data, MK_LBUTTON, CPoint(1, 2)), c.expected);
    }
    m_wnd.m_answers[SHBDTM_DROP] = {1, TRUE};
    EXPECT_TRUE(m_target.OnDrop(&m_wnd, &data, DROPEFFECT_MOVE, CPoint(7, 8)));
    m_wnd.m_answers[SHBDTM_DROPEX] = {1, DROPEFFECT_LINK};
    EXPECT_EQ(m_target.OnDropEx(&m_wnd, &data, DROPEFFECT_COPY, DROPEFFECT_COPY | DROPEFFECT_LINK,
                                CPoint(9, 10)),
              DROPEFFECT_LINK);
}

TEST_F(OXSHBDropTargetTest, TheRecordsCarryTheArgumentsOfEachEvent) {
    ASSERT_TRUE(m_wnd.Make(0));
    COleDataObject data;
    m_target.OnDragOver(&m_wnd, &data, MK_LBUTTON | MK_SHIFT, CPoint(11, 12));
    const CRecordingWnd::Seen* pOver = m_wnd.Last(SHBDTM_DRAGOVER);
    ASSERT_NE(pOver, nullptr);
    EXPECT_EQ(pOver->wParam, 0u);
    EXPECT_EQ(pOver->target.pWnd, &m_wnd);
    EXPECT_EQ(pOver->target.pDataObject, &data);
    EXPECT_EQ(pOver->target.dwKeyState, static_cast<DWORD>(MK_LBUTTON | MK_SHIFT));
    EXPECT_EQ(pOver->target.point.x, 11);
    EXPECT_EQ(pOver->target.point.y, 12);
    EXPECT_EQ(pOver->target.dropEffect, 0u);

    m_target.OnDrop(&m_wnd, &data, DROPEFFECT_MOVE, CPoint(3, 4));
    const CRecordingWnd::Seen* pDrop = m_wnd.Last(SHBDTM_DROP);
    ASSERT_NE(pDrop, nullptr);
    EXPECT_EQ(pDrop->target.dwKeyState, 0u);
    EXPECT_EQ(pDrop->target.dropEffect, static_cast<DROPEFFECT>(DROPEFFECT_MOVE));
    EXPECT_EQ(pDrop->target.dropList, 0u);

    m_target.OnDropEx(&m_wnd, &data, DROPEFFECT_COPY, DROPEFFECT_COPY | DROPEFFECT_MOVE,
                      CPoint(5, 6));
    const CRecordingWnd::Seen* pDropEx = m_wnd.Last(SHBDTM_DROPEX);
    ASSERT_NE(pDropEx, nullptr);
    EXPECT_EQ(pDropEx->target.dropEffect, static_cast<DROPEFFECT>(DROPEFFECT_COPY));
    EXPECT_EQ(pDropEx->target.dropList, static_cast<DROPEFFECT>(DROPEFFECT_COPY | DROPEFFECT_MOVE));
}

TEST_F(OXSHBDropTargetTest, ADragSourceWithoutOwnerIsTheFrameworksSource) {
    COXSHBDropSource source;
    COleDropSource plain;
    EXPECT_EQ(source.GetOwner(), nullptr);
    const struct {
        BOOL bEscape;
        DWORD dwKeys;
    } steps[] = {
        {TRUE, MK_LBUTTON}, {FALSE, MK_LBUTTON}, {FALSE, 0}, {FALSE, MK_LBUTTON | MK_RBUTTON}};
    for (const auto& step : steps)
        EXPECT_EQ(source.QueryContinueDrag(step.bEscape, step.dwKeys),
                  plain.QueryContinueDrag(step.bEscape, step.dwKeys));
    EXPECT_EQ(source.GiveFeedback(DROPEFFECT_COPY), plain.GiveFeedback(DROPEFFECT_COPY));
}

TEST_F(OXSHBDropTargetTest, ADragSourceAsksItsOwnerFirst) {
    ASSERT_TRUE(m_wnd.Make(0));
    COXSHBDropSource source;
    EXPECT_EQ(source.SetOwner(&m_wnd), nullptr);
    EXPECT_EQ(source.SetOwner(&m_wnd), &m_wnd);

    // Unhandled: the framework decides, after the owner was asked.
    EXPECT_EQ(source.QueryContinueDrag(TRUE, MK_LBUTTON), DRAGDROP_S_CANCEL);
    const CRecordingWnd::Seen* pQuery = m_wnd.Last(SHBDSM_QUERYCONTINUEDRAG);
    ASSERT_NE(pQuery, nullptr);
    EXPECT_EQ(pQuery->source.bEscapePressed, TRUE);
    EXPECT_EQ(pQuery->source.dwKeyState, static_cast<DWORD>(MK_LBUTTON));
    EXPECT_EQ(pQuery->source.pWnd, nullptr);

    m_wnd.m_answers[SHBDSM_QUERYCONTINUEDRAG] = {1, S_OK};
    EXPECT_EQ(source.QueryContinueDrag(TRUE, MK_LBUTTON), S_OK);
    m_wnd.m_answers[SHBDSM_GIVEFEEDBACK] = {1, S_OK};
    EXPECT_EQ(source.GiveFeedback(DROPEFFECT_MOVE), S_OK);
    EXPECT_EQ(m_wnd.Last(SHBDSM_GIVEFEEDBACK)->source.dropEffect,
              static_cast<DROPEFFECT>(DROPEFFECT_MOVE));
    m_wnd.m_answers[SHBDSM_BEGINDRAG] = {1, FALSE};
    EXPECT_FALSE(source.OnBeginDrag(&m_wnd));
    EXPECT_EQ(m_wnd.Last(SHBDSM_BEGINDRAG)->source.pWnd, &m_wnd);

    // An owner whose window is gone is no owner.
    m_wnd.DestroyWindow();
    EXPECT_EQ(source.GiveFeedback(DROPEFFECT_MOVE), DRAGDROP_S_USEDEFAULTCURSORS);
}

TEST_F(OXSHBDropTargetTest, OnlyExactlyTheScrollEffectAsksForTheBuiltInScroll) {
    MakeScrollingWindow(WS_VSCROLL);
    // Another answer is returned as it is, and nothing scrolls.
    m_wnd.m_answers[SHBDTM_DRAGSCROLL] = {1, DROPEFFECT_SCROLL | DROPEFFECT_COPY};
    EXPECT_EQ(m_target.OnDragScroll(&m_wnd, 0, BelowInset()),
              static_cast<DROPEFFECT>(DROPEFFECT_SCROLL | DROPEFFECT_COPY));
    // The return value does not count: the result written does.
    m_wnd.m_answers[SHBDTM_DRAGSCROLL] = {0, DROPEFFECT_SCROLL};
    EXPECT_EQ(m_target.OnDragScroll(&m_wnd, 0, BelowInset()),
              static_cast<DROPEFFECT>(DROPEFFECT_SCROLL));
    EXPECT_EQ(m_wnd.Count(WM_VSCROLL), 0);
}

TEST_F(OXSHBDropTargetTest, TheBorderScrollsDownAfterTheDelayThenEveryInterval) {
    MakeScrollingWindow(WS_VSCROLL);
    COleDropTarget::nScrollDelay = 60;
    COleDropTarget::nScrollInterval = 0;
    EXPECT_EQ(m_target.OnDragScroll(&m_wnd, MK_LBUTTON, BelowInset()),
              static_cast<DROPEFFECT>(DROPEFFECT_SCROLL));
    // Entering the zone takes the drop feedback away once; the delay holds.
    EXPECT_EQ(m_wnd.Count(SHBDTM_DRAGLEAVE), 1);
    EXPECT_EQ(m_wnd.Count(WM_VSCROLL), 0);
    EXPECT_EQ(m_target.ScrollCode(), 0xFF01u);
    ::Sleep(100);
    m_target.OnDragScroll(&m_wnd, MK_LBUTTON, BelowInset());
    ASSERT_EQ(m_wnd.Count(WM_VSCROLL), 1);
    EXPECT_EQ(m_wnd.Last(WM_VSCROLL)->wParam, static_cast<WPARAM>(SB_LINEDOWN));
    ::Sleep(20);
    m_target.OnDragScroll(&m_wnd, MK_LBUTTON, BelowInset());
    EXPECT_EQ(m_wnd.Count(WM_VSCROLL), 2);
    EXPECT_EQ(m_wnd.Count(SHBDTM_DRAGLEAVE), 1);
    // Above the inset scrolls up.
    ::Sleep(20);
    m_target.OnDragScroll(&m_wnd, MK_LBUTTON, CPoint(Middle().x, 2));
    ::Sleep(70);
    m_target.OnDragScroll(&m_wnd, MK_LBUTTON, CPoint(Middle().x, 2));
    EXPECT_EQ(m_wnd.Last(WM_VSCROLL)->wParam, static_cast<WPARAM>(SB_LINEUP));
}

TEST_F(OXSHBDropTargetTest, BackInTheMiddleTheDragEntersAgainAndScrollingStops) {
    MakeScrollingWindow(WS_VSCROLL);
    COleDataSource source;
    source.CacheGlobalData(CF_TEXT, ::GlobalAlloc(GMEM_MOVEABLE, 4));
    LPDATAOBJECT lpData = source.GetDataObject();
    m_target.SetDataObject(lpData);
    m_target.OnDragScroll(&m_wnd, MK_LBUTTON, BelowInset());
    EXPECT_EQ(m_wnd.Count(SHBDTM_DRAGENTER), 0);
    EXPECT_EQ(m_target.OnDragScroll(&m_wnd, MK_LBUTTON, Middle()), DROPEFFECT_NONE);
    ASSERT_EQ(m_wnd.Count(SHBDTM_DRAGENTER), 1);
    EXPECT_NE(m_wnd.Last(SHBDTM_DRAGENTER)->target.pDataObject, nullptr);
    EXPECT_EQ(m_target.ScrollCode(), 0xFFFFu);
    // Not scrolling, the middle stays quiet.
    EXPECT_EQ(m_target.OnDragScroll(&m_wnd, MK_LBUTTON, Middle()), DROPEFFECT_NONE);
    EXPECT_EQ(m_wnd.Count(SHBDTM_DRAGENTER), 1);
    m_target.SetDataObject(nullptr);
    lpData->Release();
}

TEST_F(OXSHBDropTargetTest, KeysAddTheirEffectToTheScroll) {
    MakeScrollingWindow(WS_VSCROLL);
    struct Case {
        DWORD dwKeys;
        DROPEFFECT expected;
    } cases[] = {
        {MK_LBUTTON, DROPEFFECT_SCROLL},
        {MK_LBUTTON | MK_CONTROL | MK_SHIFT, DROPEFFECT_SCROLL | DROPEFFECT_LINK},
        {MK_LBUTTON | MK_CONTROL, DROPEFFECT_SCROLL | DROPEFFECT_COPY},
        {MK_LBUTTON | MK_SHIFT, DROPEFFECT_SCROLL | DROPEFFECT_MOVE},
        {MK_LBUTTON | MK_ALT, DROPEFFECT_SCROLL | DROPEFFECT_MOVE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(m_target.OnDragScroll(&m_wnd, c.dwKeys, BelowInset()), c.expected)
            << "keys " << c.dwKeys;
}

TEST_F(OXSHBDropTargetTest, OnlyHorizontalScrollingSendsNoScrollMessage) {
    MakeScrollingWindow(WS_HSCROLL);
    COleDropTarget::nScrollDelay = 0;
    const CPoint ptLeft(2, Middle().y);
    EXPECT_EQ(m_target.OnDragScroll(&m_wnd, MK_LBUTTON, ptLeft),
              static_cast<DROPEFFECT>(DROPEFFECT_SCROLL));
    EXPECT_EQ(m_target.ScrollCode(), 0x00FFu);
    ::Sleep(30);
    m_target.OnDragScroll(&m_wnd, MK_LBUTTON, ptLeft);
    EXPECT_EQ(m_wnd.Count(WM_HSCROLL), 0);
    EXPECT_EQ(m_wnd.Count(WM_VSCROLL), 0); // never a vertical step of "no direction"
}

TEST_F(OXSHBDropTargetTest, TheScrollRangeDecidesOverTheStyle) {
    // The style without a usable range does not scroll.
    ASSERT_TRUE(m_wnd.Make(WS_VSCROLL));
    m_wnd.m_answers[SHBDTM_DRAGSCROLL] = {1, DROPEFFECT_SCROLL};
    SCROLLINFO none = {sizeof(none), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    ::SetScrollInfo(m_wnd.m_hWnd, SB_VERT, &none, FALSE);
    ::GetClientRect(m_wnd.m_hWnd, &m_rectClient);
    EXPECT_EQ(m_target.OnDragScroll(&m_wnd, MK_LBUTTON, BelowInset()), DROPEFFECT_NONE);
}

} // namespace
