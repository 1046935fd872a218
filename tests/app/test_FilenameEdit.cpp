// Tests of CFilenameEdit, the read-only path box: the path compacted with an
// ellipsis to the box's width, the full path in its tooltip (and shown under
// the real mouse), and DDX_FilenameEdit with and without an owning object.
#include "native/gtest.h"

#include "FilenameEdit.h"

#include "tests/app/SmallDialogsTestKit.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/SyntheticInput.h"

#include <string>

namespace {

CAnsweringApp theApp;

using smalldlg::CHostWnd;
using smalldlg::PumpTranslated;

const UINT kBoxId = 1104;
const char kLongPath[] =
    "C:\\Recordings\\Head Office\\Sales Department\\Second Floor\\2024\\November\\Week 47";
const char kShortPath[] = "C:\\Calls";
const char kLongLastName[] =
    "C:\\Recordings\\Calls of the sales department for the whole month of November 2024";

// The box with its tooltip in view.
class CBoxProbe : public CFilenameEdit {
public:
    CToolTipCtrl* ToolTip() const { return m_pToolTip; }
};

// The tooltip's text of the tool that covers the box.
std::string ToolText(CToolTipCtrl* pToolTip, CWnd* pBox) {
    char szText[1024] = "";
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = pBox->m_hWnd;
    info.uId = reinterpret_cast<UINT_PTR>(pBox->m_hWnd);
    info.uFlags = TTF_IDISHWND;
    info.lpszText = szText;
    pToolTip->SendMessage(TTM_GETTEXTA, sizeof szText, reinterpret_cast<LPARAM>(&info));
    return szText;
}

class FilenameEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_host.Make("FilenameEdit", CRect(80, 80, 600, 260)));
        m_hBoxWnd = ::CreateWindowExA(
            WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 20, 30, 300, 24,
            m_host.m_hWnd, reinterpret_cast<HMENU>(kBoxId), nullptr, nullptr);
        ASSERT_NE(m_hBoxWnd, nullptr);
        ::SendMessageA(m_hBoxWnd, WM_SETFONT,
                       reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    }

    // The pixel width of a text in the box's font.
    int TextWidth(const std::string& strText) {
        HDC hDC = ::GetDC(m_hBoxWnd);
        HGDIOBJ hOld = ::SelectObject(
            hDC, reinterpret_cast<HFONT>(::SendMessageA(m_hBoxWnd, WM_GETFONT, 0, 0)));
        SIZE size = {};
        ::GetTextExtentPoint32A(hDC, strText.c_str(), static_cast<int>(strText.size()), &size);
        ::SelectObject(hDC, hOld);
        ::ReleaseDC(m_hBoxWnd, hDC);
        return size.cx;
    }
    int FormatWidth() {
        RECT rect = {};
        ::SendMessageA(m_hBoxWnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
        return rect.right - rect.left;
    }

    CHostWnd m_host;
    HWND m_hBoxWnd = nullptr;
};

TEST_F(FilenameEditTest, ALongPathIsShownWithAnEllipsisAndWholeInTheTooltip) {
    CBoxProbe box;
    ASSERT_TRUE(box.SubclassWindow(m_hBoxWnd));
    EXPECT_TRUE(box.GetStyle() & ES_READONLY);
    ASSERT_GT(TextWidth(kLongPath), FormatWidth());
    struct Case {
        const char* pszCase;
        const char* pszPath;
        bool bCompacted;
        const char* pszStart; // how the shortened text starts and ends
        const char* pszEnd;
    } const cases[] = {
        // The shell puts the ellipsis in place of middle folders...
        {"longer than the box", kLongPath, true, "C:\\Recordings\\", "...\\Week 47"},
        // ...and a last name that is still too wide is cut at its end.
        {"a last name wider than the box", kLongLastName, true, "...\\Calls of the sales", "..."},
        {"fits the box", kShortPath, false, "", ""},
        {"empty", "", false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszCase);
        box.SetPath(c.pszPath);
        EXPECT_EQ(std::string(box.GetPath()), c.pszPath);
        const std::string strShown = smalldlg::WindowText(m_hBoxWnd);
        if (c.bCompacted) {
            EXPECT_LT(strShown.size(), strlen(c.pszPath));
            EXPECT_LE(TextWidth(strShown), FormatWidth()) << strShown;
            EXPECT_EQ(strShown.substr(0, strlen(c.pszStart)), c.pszStart);
            ASSERT_GE(strShown.size(), strlen(c.pszEnd));
            EXPECT_EQ(strShown.substr(strShown.size() - strlen(c.pszEnd)), c.pszEnd);
        } else {
            EXPECT_EQ(strShown, c.pszPath);
        }
        ASSERT_NE(box.ToolTip(), nullptr);
        EXPECT_EQ(ToolText(box.ToolTip(), &box), c.pszPath);
    }
    // One tooltip for the box's whole life.
    CToolTipCtrl* pToolTip = box.ToolTip();
    box.SetPath(kShortPath);
    EXPECT_EQ(box.ToolTip(), pToolTip);
    EXPECT_EQ(pToolTip->GetToolCount(), 1);
    box.SetPath(kLongPath);
    ::UpdateWindow(m_host.m_hWnd);
    PumpTranslated(100);
    CRect rcHost;
    m_host.GetWindowRect(&rcHost);
    SaveScreenPng(rcHost, "FilenameEdit_compacted.png");
}

TEST_F(FilenameEditTest, RestingOnTheBoxShowsTheFullPathInput) {
    CBoxProbe box;
    ASSERT_TRUE(box.SubclassWindow(m_hBoxWnd));
    box.SetPath(kLongPath);
    m_host.SetForegroundWindow();
    SendMouseMove(CPoint(5, 5));
    PumpTranslated(100);
    CRect rcBox;
    box.GetWindowRect(&rcBox);
    SendMouseMove(rcBox.CenterPoint());
    PumpTranslated(60);
    SendMouseMove(rcBox.CenterPoint() + CSize(1, 0));
    ASSERT_TRUE(
        smalldlg::PumpTranslatedUntil([] { return smalldlg::FindVisibleToolTip() != nullptr; }));
    HWND hWndTip = smalldlg::FindVisibleToolTip();
    EXPECT_EQ(hWndTip, box.ToolTip()->m_hWnd);
    PumpTranslated(200);
    CRect rcTip;
    ::GetWindowRect(hWndTip, &rcTip);
    CRect rcShot;
    rcShot.UnionRect(&rcTip, &rcBox);
    rcShot.InflateRect(10, 10);
    SaveScreenPng(rcShot, "FilenameEdit_tooltip.png");
    // The tip is wide enough for the whole path on one line.
    EXPECT_GE(rcTip.Width(), TextWidth(kLongPath));
}

// Loading shows the path through the owning box, or through a temporary one
// that leaves the box unowned; saving takes the full path from an owning
// box and the text from an unowned one.
TEST_F(FilenameEditTest, DataExchangeWithAndWithoutAnOwningBox) {
    {
        CString strPath = kLongPath;
        CDataExchange load(&m_host, FALSE);
        DDX_FilenameEdit(&load, kBoxId, strPath);
        EXPECT_EQ(CWnd::FromHandlePermanent(m_hBoxWnd), nullptr);
        const std::string strShown = smalldlg::WindowText(m_hBoxWnd);
        EXPECT_NE(strShown.find("..."), std::string::npos) << strShown;
        EXPECT_TRUE(::GetWindowLongA(m_hBoxWnd, GWL_STYLE) & ES_READONLY);

        CString strSaved;
        CDataExchange save(&m_host, TRUE);
        DDX_FilenameEdit(&save, kBoxId, strSaved);
        EXPECT_EQ(std::string(strSaved), strShown);
    }
    CBoxProbe box;
    ASSERT_TRUE(box.SubclassWindow(m_hBoxWnd));
    CString strPath = kLongPath;
    CDataExchange load(&m_host, FALSE);
    DDX_FilenameEdit(&load, kBoxId, strPath);
    EXPECT_EQ(std::string(box.GetPath()), kLongPath);
    ASSERT_NE(box.ToolTip(), nullptr);
    EXPECT_EQ(ToolText(box.ToolTip(), &box), kLongPath);

    CString strSaved;
    CDataExchange save(&m_host, TRUE);
    DDX_FilenameEdit(&save, kBoxId, strSaved);
    EXPECT_EQ(std::string(strSaved), kLongPath);
}

} // namespace
