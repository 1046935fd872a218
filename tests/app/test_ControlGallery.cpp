// The gallery of the application's small controls: one white window with the
// image buttons in their looks and states and the hyperlinks in theirs, kept
// as a screenshot to look at, with a few pixels checked so that a control
// that stops painting fails the test.
#include "native/gtest.h"

#include "ButtonST.h"
#include "FilenameEdit.h"
#include "ToolTipListCtrl.h"
#include "XHyperLink.h"
#include "resource.h"

#include "tests/app/BasesTestIcons.h"
#include "tests/app/SmallDialogsTestKit.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/ColorCheck.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/UiScript.h"

#include <memory>
#include <vector>

namespace {

CAnsweringApp theApp;

using smalldlg::PumpTranslated;
using smalldlg::PumpTranslatedUntil;

const COLORREF kOrange = RGB(200, 100, 40);
const COLORREF kTeal = RGB(0, 128, 128);

class ControlGalleryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_host.Make("Control gallery", CRect(20, 20, 620, 380)));
        m_hFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    }

    HWND MakeChild(const char* pszClass, const char* pszText, DWORD dwStyle, const CRect& rect,
                   UINT nID) {
        HWND hWnd =
            ::CreateWindowExA(0, pszClass, pszText, WS_CHILD | WS_VISIBLE | dwStyle, rect.left,
                              rect.top, rect.Width(), rect.Height(), m_host.m_hWnd,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)),
                              ::GetModuleHandleA(nullptr), nullptr);
        ::SendMessageA(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), FALSE);
        return hWnd;
    }

    // An image button from a template style, with a test icon.
    CButtonST& AddButton(const char* pszText, DWORD dwType, const CRect& rect, BYTE byAlign,
                         int nIconSize = 16) {
        m_buttons.push_back(std::make_unique<CButtonST>());
        CButtonST& button = *m_buttons.back();
        const UINT nID = 200 + static_cast<UINT>(m_buttons.size());
        EXPECT_TRUE(
            button.SubclassWindow(MakeChild("BUTTON", pszText, WS_TABSTOP | dwType, rect, nID)));
        button.SetIcon(MakeTestIcon(nIconSize, kOrange, kTeal),
                       reinterpret_cast<HICON>(CButtonST::BTNST_AUTO_DARKER));
        button.SetAlign(byAlign, FALSE);
        return button;
    }

    CXHyperLink& AddLink(const char* pszText, const CRect& rect) {
        m_links.push_back(std::make_unique<CXHyperLink>());
        CXHyperLink& link = *m_links.back();
        const UINT nID = 300 + static_cast<UINT>(m_links.size());
        EXPECT_TRUE(link.SubclassWindow(MakeChild("STATIC", pszText, SS_LEFT, rect, nID)));
        return link;
    }

    COLORREF ScreenPixel(CWnd& wnd, CPoint point) {
        wnd.ClientToScreen(&point);
        CCanvas canvas(1, 1);
        CaptureScreen(canvas, CRect(point, CSize(1, 1)));
        return canvas.dc.GetPixel(0, 0);
    }

    smalldlg::CHostWnd m_host;
    HFONT m_hFont = nullptr;
    std::vector<std::unique_ptr<CButtonST>> m_buttons;
    std::vector<std::unique_ptr<CXHyperLink>> m_links;
};

TEST_F(ControlGalleryTest, InputScreenGalleryOfTheSmallControls) {
    // Row 1: the looks of a push button.
    CButtonST& raised = AddButton("Raised", BS_PUSHBUTTON, CRect(10, 10, 110, 50), 0);
    raised.SetFlat(FALSE, FALSE);
    CButtonST& flat = AddButton("Flat", BS_PUSHBUTTON, CRect(120, 10, 220, 50), 0);
    CButtonST& hovered = AddButton("Hovered", BS_PUSHBUTTON, CRect(230, 10, 330, 50), 0);
    CButtonST& disabled = AddButton("Disabled", BS_PUSHBUTTON, CRect(340, 10, 440, 50), 0);
    disabled.EnableWindow(FALSE);
    CButtonST& focused = AddButton("Default", BS_DEFPUSHBUTTON, CRect(450, 10, 550, 50), 0);
    focused.SetFlat(FALSE, FALSE);

    // Row 2: the alignments, the check-box states and an icon-only button.
    AddButton("Above", BS_PUSHBUTTON, CRect(10, 70, 110, 130), CButtonST::ST_ALIGN_VERT, 24)
        .SetFlat(FALSE, FALSE);
    AddButton("Right", BS_PUSHBUTTON, CRect(120, 70, 220, 130), CButtonST::ST_ALIGN_HORIZ_RIGHT)
        .SetFlat(FALSE, FALSE);
    AddButton("Over", BS_PUSHBUTTON, CRect(230, 70, 330, 130), CButtonST::ST_ALIGN_OVERLAP)
        .SetFlat(FALSE, FALSE);
    CButtonST& checked = AddButton("Checked", BS_AUTOCHECKBOX, CRect(340, 70, 440, 130), 0);
    checked.SetCheck(1);
    AddButton("", BS_PUSHBUTTON, CRect(450, 70, 490, 110), 0, 24);
    AddButton("Unchecked", BS_AUTOCHECKBOX, CRect(500, 70, 590, 130), 0);

    // Row 3: the links, on the white background the about box gives them.
    CXHyperLink& unvisited = AddLink("www.example.com", CRect(10, 160, 300, 180));
    CXHyperLink& visited = AddLink("Visited link", CRect(10, 190, 300, 210));
    visited.SetVisited(TRUE);
    CXHyperLink& plain = AddLink("Link on the button face", CRect(10, 220, 300, 240));
    for (CXHyperLink* pLink : {&unvisited, &visited})
        pLink->SetBackgroundColor(RGB(255, 255, 255));
    (void)plain;

    // Beside the links: a path box with a path too long for it, and a list
    // whose cells have tooltips.
    CFilenameEdit pathBox;
    ASSERT_TRUE(pathBox.SubclassWindow(
        MakeChild("EDIT", "", WS_BORDER | ES_AUTOHSCROLL, CRect(320, 160, 590, 182), 400)));
    pathBox.SetPath("C:\\Recordings\\Head Office\\Sales Department\\2024\\November\\Week 47");
    CToolTipListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT,
                            CRect(320, 195, 590, 300), &m_host, 401));
    list.SetFont(CFont::FromHandle(m_hFont));
    list.InsertColumn(0, "Question", LVCFMT_LEFT, 150);
    list.InsertColumn(1, "Score", LVCFMT_LEFT, 100);
    for (int nRow = 0; nRow < 3; ++nRow) {
        list.InsertItem(nRow, nRow == 0 ? "Greeting" : nRow == 1 ? "Needs found" : "Closing");
        list.SetItemText(nRow, 1, "10");
        list.SetItemToolTipText(nRow, 0, "The question's whole prompt");
    }
    EXPECT_NE(smalldlg::WindowText(pathBox.m_hWnd).find("..."), std::string::npos);

    m_host.SetForegroundWindow();
    focused.SetFocus();
    CRect rectHovered;
    hovered.GetWindowRect(&rectHovered);
    SendMouseMove(CPoint(rectHovered.left + 10, rectHovered.top + 5));
    ASSERT_TRUE(PumpTranslatedUntil([&hovered] { return hovered.IsHovered() != FALSE; }));
    Settle(300);

    CRect rectHost;
    m_host.GetWindowRect(&rectHost);
    EXPECT_TRUE(SaveScreenPng(rectHost, "ControlGallery.png"));

    // Spot checks: the flat button's icon is the darker copy, the hovered
    // one's the icon itself with a raised frame, the raised button has its
    // frame, the checked button its sunken one.
    const CPoint ptIcon(3 + 2, 12 + 4);
    EXPECT_EQ(Hex(ScreenPixel(flat, ptIcon)), Hex(RGB(150, 75, 30)));
    EXPECT_EQ(Hex(ScreenPixel(hovered, ptIcon)), Hex(kOrange));
    EXPECT_EQ(Hex(ScreenPixel(hovered, CPoint(0, 0))), Hex(::GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(Hex(ScreenPixel(raised, CPoint(0, 20))), Hex(::GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(Hex(ScreenPixel(raised, CPoint(99, 20))), Hex(::GetSysColor(COLOR_3DDKSHADOW)));
    EXPECT_EQ(Hex(ScreenPixel(checked, CPoint(0, 20))), Hex(::GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(Hex(ScreenPixel(checked, CPoint(3 + 2, 22 + 4))), Hex(kOrange));
}

} // namespace
