// Tests of CXHyperLink: target and text at subclassing, the size fitted to the
// text, the colours of the three states and the underline under the real
// mouse, clicks (visited, the parent told), the ".htm" command line built
// within its buffer, and the bounded registry read.
#include "native/gtest.h"

#include "XHyperLink.h"

#include "tests/app/SmallDialogsTestKit.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/ColorCheck.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/UiScript.h"

#include <string>

namespace {

CAnsweringApp theApp;

using smalldlg::PumpTranslated;
using smalldlg::PumpTranslatedUntil;
using smalldlg::WindowText;

const COLORREF kLink = RGB(0, 0, 238);
const COLORREF kVisited = RGB(85, 26, 139);
const COLORREF kHover = RGB(255, 0, 0);
const UINT kLinkId = 1063;

// A white window that records the clicks its links report.
class CLinkHost : public smalldlg::CHostWnd {
public:
    int m_nNotified = 0;
    WPARAM m_wParam = 0;

protected:
    afx_msg LRESULT OnLinkClicked(WPARAM wParam, LPARAM) {
        ++m_nNotified;
        m_wParam = wParam;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLinkHost, smalldlg::CHostWnd)
ON_REGISTERED_MESSAGE(WM_XHYPERLINK_CLICKED, &CLinkHost::OnLinkClicked)
END_MESSAGE_MAP()

// Pixels of one colour in a window's client area on the screen, and the
// longest run of them in one row.
struct SColourCount {
    int nPixels = 0;
    int nLongestRow = 0;
};

SColourCount CountOnScreen(CWnd& wnd, COLORREF crColour) {
    CRect rect;
    wnd.GetClientRect(&rect);
    wnd.ClientToScreen(&rect);
    CCanvas canvas(rect.Width(), rect.Height());
    CaptureScreen(canvas, rect);
    SColourCount count;
    for (int y = 0; y < rect.Height(); ++y) {
        int nRow = 0;
        for (int x = 0; x < rect.Width(); ++x) {
            if (canvas.dc.GetPixel(x, y) == crColour) {
                ++count.nPixels;
                ++nRow;
            }
        }
        count.nLongestRow = std::max(count.nLongestRow, nRow);
    }
    return count;
}

class XHyperLinkTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_host.Make("Links", CRect(60, 60, 460, 260))); }

    // A static of a dialog template, subclassed as data exchange does.
    void MakeLink(CXHyperLink& link, const char* pszText, DWORD dwStyle = SS_LEFT,
                  const CRect& rect = CRect(20, 20, 320, 60)) {
        HWND hWnd =
            ::CreateWindowExA(0, "STATIC", pszText, WS_CHILD | WS_VISIBLE | dwStyle, rect.left,
                              rect.top, rect.Width(), rect.Height(), m_host.m_hWnd,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kLinkId)),
                              ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(hWnd, nullptr);
        ::SendMessageA(hWnd, WM_SETFONT,
                       reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        ASSERT_TRUE(link.SubclassWindow(hWnd));
    }

    CRect RectInHost(CWnd& wnd) {
        CRect rect;
        wnd.GetWindowRect(&rect);
        m_host.ScreenToClient(&rect);
        return rect;
    }

    void Click(CXHyperLink& link) {
        m_host.SendMessage(WM_COMMAND, MAKEWPARAM(kLinkId, STN_CLICKED),
                           reinterpret_cast<LPARAM>(link.m_hWnd));
    }

    CLinkHost m_host;
};

// ---- Subclassing.

TEST_F(XHyperLinkTest, EmptyTargetTakesTheTextAndEmptyTextShowsTheTarget) {
    CXHyperLink linkText;
    MakeLink(linkText, "www.example.com");
    EXPECT_EQ(std::string(linkText.GetURL()), "www.example.com");
    EXPECT_TRUE(linkText.GetStyle() & SS_NOTIFY);

    CXHyperLink linkTarget;
    linkTarget.SetURL("mailto:support@example.com");
    MakeLink(linkTarget, "", SS_LEFT, CRect(20, 80, 320, 120));
    EXPECT_EQ(WindowText(linkTarget.m_hWnd), "mailto:support@example.com");
    EXPECT_NE(linkTarget.GetLinkCursor(), nullptr);
}

TEST_F(XHyperLinkTest, SizeFitsTheTextOnTheSideOfTheAlignment) {
    const struct {
        DWORD dwStyle;
        const char* pszSide;
    } cases[] = {{SS_LEFT, "left"}, {SS_RIGHT, "right"}, {SS_CENTER, "centre"}};
    for (const auto& c : cases) {
        CXHyperLink link;
        const CRect rectTemplate(20, 20, 320, 60);
        MakeLink(link, "Sales", c.dwStyle, rectTemplate);
        const CRect rect = RectInHost(link);
        EXPECT_LT(rect.Width(), 100) << c.pszSide;
        EXPECT_GT(rect.Width(), 10) << c.pszSide;
        EXPECT_EQ(rect.top, rectTemplate.top) << c.pszSide;
        EXPECT_LT(rect.Height(), rectTemplate.Height()) << c.pszSide;
        if (c.dwStyle == SS_LEFT)
            EXPECT_EQ(rect.left, rectTemplate.left);
        else if (c.dwStyle == SS_RIGHT)
            EXPECT_EQ(rect.right, rectTemplate.right);
        else
            EXPECT_LE(std::abs(rect.CenterPoint().x - rectTemplate.CenterPoint().x), 1);
        link.DestroyWindow();
    }
}

TEST_F(XHyperLinkTest, TooltipShowsTheTargetAndFollowsIt) {
    CXHyperLink link;
    MakeLink(link, "Zel Moxel");
    char szText[256] = "";
    TOOLINFOA info = {};
    info.cbSize = sizeof(info);
    info.hwnd = link.m_hWnd;
    info.uId = 1;
    info.lpszText = szText;
    ASSERT_EQ(link.GetToolTip().GetToolCount(), 1);
    link.GetToolTip().SendMessage(TTM_GETTEXTA, sizeof(szText), reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(szText, "Zel Moxel");
    link.SetURL("https://www.example.com/support");
    link.GetToolTip().SendMessage(TTM_GETTEXTA, sizeof(szText), reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(szText, "https://www.example.com/support");
    EXPECT_EQ(WindowText(link.m_hWnd), "Zel Moxel"); // the shown text stays
}

// ---- Colours.

TEST_F(XHyperLinkTest, ScreenLinkAndVisitedColours) {
    CXHyperLink link;
    MakeLink(link, "Zel Moxel support");
    Settle(200);
    EXPECT_GT(CountOnScreen(link, kLink).nPixels, 20);
    EXPECT_EQ(CountOnScreen(link, kVisited).nPixels, 0);
    link.SetVisited(TRUE);
    Settle(200);
    EXPECT_GT(CountOnScreen(link, kVisited).nPixels, 20);
    EXPECT_EQ(CountOnScreen(link, kLink).nPixels, 0);
}

// Hovering underlines the text in the hover colour; leaving brings back the
// normal font and colour within the hover timer's period.
TEST_F(XHyperLinkTest, InputHoverUnderlinesInTheHoverColourAndLeavingRestores) {
    CXHyperLink link;
    MakeLink(link, "Zel Moxel support");
    CRect rectLink;
    link.GetWindowRect(&rectLink);
    SendMouseMove(CPoint(rectLink.right + 60, rectLink.bottom + 60));
    PumpTranslated(200);
    const SColourCount normal = CountOnScreen(link, kLink);
    EXPECT_GT(normal.nPixels, 20);

    SendMouseMove(rectLink.CenterPoint());
    ASSERT_TRUE(PumpTranslatedUntil([&link] { return link.IsOver() != FALSE; }));
    PumpTranslated(100);
    const SColourCount hover = CountOnScreen(link, kHover);
    EXPECT_EQ(CountOnScreen(link, kLink).nPixels, 0);
    // The underline: one row of the hover colour nearly as wide as the text.
    EXPECT_GT(hover.nLongestRow, rectLink.Width() * 8 / 10);
    EXPECT_LT(normal.nLongestRow, rectLink.Width() / 2);
    CRect rectHost;
    m_host.GetWindowRect(&rectHost);
    EXPECT_TRUE(SaveScreenPng(rectHost, "XHyperLinkHover.png"));

    SendMouseMove(CPoint(rectLink.right + 60, rectLink.bottom + 60));
    const DWORD dwLeft = ::GetTickCount();
    ASSERT_TRUE(PumpTranslatedUntil([&link] { return link.IsOver() == FALSE; }));
    EXPECT_LT(::GetTickCount() - dwLeft, 400u); // 100 ms timer, with Wine's slack
    PumpTranslated(100);
    EXPECT_EQ(CountOnScreen(link, kHover).nPixels, 0);
    EXPECT_LT(CountOnScreen(link, kLink).nLongestRow, rectLink.Width() / 2);
}

// ---- Clicks.

TEST_F(XHyperLinkTest, ClickWithoutGoingToTheTargetCountsAsVisitedAndTellsTheParent) {
    CXHyperLink link;
    MakeLink(link, "Zel Moxel support");
    link.EnableURL(FALSE);
    Click(link);
    EXPECT_TRUE(link.GetVisited());
    EXPECT_EQ(m_host.m_nNotified, 0); // the parent is told only when asked for

    link.SetNotifyParent(TRUE);
    Click(link);
    EXPECT_EQ(m_host.m_nNotified, 1);
    EXPECT_EQ(m_host.m_wParam, static_cast<WPARAM>(kLinkId));
}

TEST(XHyperLinkOpen, EmptyTargetOpensNothing) {
    EXPECT_EQ(CXHyperLink::GotoURL("", SW_SHOW, FALSE), 36);
    EXPECT_EQ(CXHyperLink::GotoURL(nullptr, SW_SHOW, TRUE), 36);
}

TEST(XHyperLinkOpen, HtmCommandLineIsCutAtThePlaceholderAndFitsItsBuffer) {
    const std::string strTarget = "https://www.example.com/a";
    const std::string strLongPath = "C:\\" + std::string(240, 'p') + "\\browser.exe";
    const std::string strExact(CXHyperLink::kCommandBufferSize - 2 - strTarget.size(), 'x');
    struct SCase {
        std::string strCommand;
        BOOL bBuilt;
        std::string strExpected;
    };
    const SCase cases[] = {
        {"\"C:\\Browser\\browser.exe\"", TRUE, "\"C:\\Browser\\browser.exe\" " + strTarget},
        {"\"C:\\Browser\\browser.exe\" -nohome \"%1\" -x", TRUE,
         "\"C:\\Browser\\browser.exe\" -nohome  " + strTarget},
        {"C:\\Browser\\browser.exe %1 -x", TRUE, "C:\\Browser\\browser.exe  " + strTarget},
        {"", TRUE, " " + strTarget},
        // 259 characters fit the buffer with its terminator; 260 do not.
        {strExact, TRUE, strExact + " " + strTarget},
        {strExact + "y", FALSE, ""},
        {strLongPath + " \"%1\"", FALSE, ""},
    };
    for (const SCase& c : cases) {
        CString strLine = "stale";
        EXPECT_EQ(CXHyperLink::BuildCommandLine(c.strCommand.c_str(), strTarget.c_str(), strLine),
                  c.bBuilt)
            << c.strCommand;
        EXPECT_EQ(std::string(strLine), c.strExpected) << c.strCommand;
    }
}

TEST(XHyperLinkOpen, RegistryValuesAreReadWithinTheBuffer) {
    const char* pszKey = "Software\\ZelMoxelTests\\XHyperLink";
    HKEY hKey = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, pszKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &hKey, nullptr),
              ERROR_SUCCESS);
    struct SCase {
        std::string strValue;
        LONG nError;
        std::string strRead;
    };
    const std::string strLong(400, 'c');
    const std::string strFull(CXHyperLink::kCommandBufferSize - 1, 'f');
    const SCase cases[] = {
        {"htmlfile", ERROR_SUCCESS, "htmlfile"},
        {strFull, ERROR_SUCCESS, strFull},
        {strLong, ERROR_MORE_DATA, ""},
    };
    for (const SCase& c : cases) {
        ASSERT_EQ(::RegSetValueExA(hKey, nullptr, 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>(c.strValue.c_str()),
                                   static_cast<DWORD>(c.strValue.size() + 1)),
                  ERROR_SUCCESS);
        char szBuffer[CXHyperLink::kCommandBufferSize + 16];
        memset(szBuffer, 'z', sizeof(szBuffer));
        EXPECT_EQ(CXHyperLink::ReadRegistryDefault(HKEY_CURRENT_USER, pszKey, szBuffer), c.nError)
            << c.strValue.size();
        EXPECT_EQ(std::string(szBuffer), c.strRead) << c.strValue.size();
        // Nothing is written past the buffer.
        EXPECT_EQ(szBuffer[CXHyperLink::kCommandBufferSize], 'z');
    }
    ::RegCloseKey(hKey);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, pszKey);

    char szBuffer[CXHyperLink::kCommandBufferSize];
    EXPECT_NE(CXHyperLink::ReadRegistryDefault(HKEY_CURRENT_USER, pszKey, szBuffer), ERROR_SUCCESS);
    EXPECT_EQ(szBuffer[0], '\0');
}

} // namespace
