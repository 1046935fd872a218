// Tests of CButtonST: the automatic darker and grey icons, where the image and
// caption go for each alignment, the setters' answers, the check-box mode, the
// default button, the focus when a button is disabled, the tooltip, and hover
// and double clicks under the real mouse.
#include "native/gtest.h"

#include "ButtonST.h"
#include "resource.h"

#include "tests/app/BasesTestIcons.h"
#include "tests/app/BasesTestIds.h"
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

const COLORREF kOrange = RGB(200, 100, 40);
const COLORREF kBlack = RGB(0, 0, 0);
const int kIconSize = 16;

// The button with its layout and state in reach.
class CProbeButton : public CButtonST {
public:
    using CButtonST::PrepareImageRect;
    CToolTipCtrl& Tip() { return m_ToolTip; }
};

// A white top-level window that counts the clicks its buttons report.
class CClickHost : public smalldlg::CHostWnd {
public:
    int m_nClicks = 0;

protected:
    afx_msg void OnClicked(UINT) { ++m_nClicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CClickHost, smalldlg::CHostWnd)
ON_CONTROL_RANGE(BN_CLICKED, 1, 0xFFFF, &CClickHost::OnClicked)
END_MESSAGE_MAP()

class ButtonSTTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_host.Make("Image buttons", CRect(40, 40, 440, 300))); }

    // A button made from a template style and subclassed, as data exchange does.
    void MakeButton(CButtonST& button, DWORD dwType, UINT nID, const CRect& rect,
                    const char* pszText = "") {
        HWND hWnd =
            ::CreateWindowExA(0, "BUTTON", pszText, WS_CHILD | WS_VISIBLE | WS_TABSTOP | dwType,
                              rect.left, rect.top, rect.Width(), rect.Height(), m_host.m_hWnd,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)),
                              ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(hWnd, nullptr);
        ASSERT_TRUE(button.SubclassWindow(hWnd));
    }

    CPoint ScreenPoint(CWnd& wnd, CPoint point) {
        wnd.ClientToScreen(&point);
        return point;
    }

    // The colour on the screen at a point of a window's client area.
    COLORREF ScreenPixel(CWnd& wnd, CPoint point) {
        const CPoint ptScreen = ScreenPoint(wnd, point);
        CCanvas canvas(1, 1);
        CaptureScreen(canvas, CRect(ptScreen, CSize(1, 1)));
        return canvas.dc.GetPixel(0, 0);
    }

    CClickHost m_host;
};

// ---- Automatic icons.

TEST(ButtonSTIcons, DarkerIconTakesAQuarterOffEveryChannelAndKeepsBlack) {
    HICON hIcon = MakeTestIcon(kIconSize, kOrange, kBlack);
    HICON hDarker = CButtonST::CreateDarkerIcon(hIcon);
    ASSERT_NE(hDarker, nullptr);
    EXPECT_EQ(Hex(IconPixel(hDarker, kIconSize, 2, 5)), Hex(RGB(150, 75, 30)));
    EXPECT_EQ(Hex(IconPixel(hDarker, kIconSize, kIconSize - 2, 5)), Hex(kBlack));
    // The original is left as it was.
    EXPECT_EQ(Hex(IconPixel(hIcon, kIconSize, 2, 5)), Hex(kOrange));
    ::DestroyIcon(hDarker);
    ::DestroyIcon(hIcon);
}

TEST(ButtonSTIcons, GreyIconWeighsTheChannelsAndKeepsBlack) {
    HICON hIcon = MakeTestIcon(kIconSize, kOrange, kBlack);
    HICON hGrey = CButtonST::CreateGrayscaleIcon(hIcon);
    ASSERT_NE(hGrey, nullptr);
    // 200 x 0.299 + 100 x 0.587 + 40 x 0.114 = 123.06
    EXPECT_EQ(Hex(IconPixel(hGrey, kIconSize, 2, 5)), Hex(RGB(123, 123, 123)));
    EXPECT_EQ(Hex(IconPixel(hGrey, kIconSize, kIconSize - 2, 5)), Hex(kBlack));
    ::DestroyIcon(hGrey);
    ::DestroyIcon(hIcon);
}

TEST(ButtonSTIcons, DarkenColorTable) {
    const struct {
        double dFactor;
        COLORREF crExpected;
    } cases[] = {{0.25, RGB(150, 75, 30)}, {1.0, RGB(0, 0, 0)}, {0.5, RGB(100, 50, 20)},
                 {0.0, kOrange},           {-0.5, kOrange},     {1.5, kOrange}};
    for (const auto& c : cases)
        EXPECT_EQ(Hex(CButtonST::DarkenColor(kOrange, c.dFactor)), Hex(c.crExpected)) << c.dFactor;
}

TEST(ButtonSTIcons, AutomaticIconsOfABrokenHandleAreNone) {
    EXPECT_EQ(CButtonST::CreateDarkerIcon(nullptr), nullptr);
    EXPECT_EQ(CButtonST::CreateGrayscaleIcon(reinterpret_cast<HICON>(0x1234)), nullptr);
}

// ---- Icons of a button.

TEST_F(ButtonSTTest, SetIconLoadsResourcesAndMakesTheOutsideCopy) {
    CButtonST button;
    MakeButton(button, BS_PUSHBUTTON, 101, CRect(10, 10, 110, 50));
    EXPECT_EQ(button.SetIcon(IDI_BROWSE_FOLDER, CButtonST::BTNST_AUTO_GRAY),
              static_cast<DWORD>(CButtonST::BTNST_OK));
    EXPECT_NE(button.GetIconIn(), nullptr);
    EXPECT_NE(button.GetIconOut(), nullptr);
    EXPECT_NE(button.GetIconOut(), button.GetIconIn());

    // No outside icon; then an inside resource that does not exist.
    EXPECT_EQ(button.SetIcon(IDI_BROWSE_FOLDER, 0), static_cast<DWORD>(CButtonST::BTNST_OK));
    EXPECT_NE(button.GetIconIn(), nullptr);
    EXPECT_EQ(button.GetIconOut(), nullptr);
    EXPECT_EQ(button.SetIcon(31999, 0), static_cast<DWORD>(CButtonST::BTNST_OK));
    EXPECT_EQ(button.GetIconIn(), nullptr);
}

TEST_F(ButtonSTTest, IconThatCannotBeExaminedFreesEveryImage) {
    CButtonST button;
    MakeButton(button, BS_PUSHBUTTON, 101, CRect(10, 10, 110, 50));
    ASSERT_EQ(button.SetIcon(MakeTestIcon(kIconSize, kOrange, kBlack), nullptr),
              static_cast<DWORD>(CButtonST::BTNST_OK));
    EXPECT_EQ(button.SetIcon(reinterpret_cast<HICON>(0x1234),
                             reinterpret_cast<HICON>(CButtonST::BTNST_AUTO_DARKER)),
              static_cast<DWORD>(CButtonST::BTNST_INVALIDRESOURCE));
    EXPECT_EQ(button.GetIconIn(), nullptr);
    EXPECT_EQ(button.GetIconOut(), nullptr);
}

// ---- Layout of image and caption.

TEST_F(ButtonSTTest, ImageRectanglesOfTheAlignments) {
    CProbeButton button;
    MakeButton(button, BS_PUSHBUTTON, 101, CRect(10, 10, 110, 50));
    const CRect rectItem(0, 0, 100, 40);
    struct SCase {
        BYTE byAlign;
        bool bCaption;
        bool bPressed;
        BYTE byPressedStyle;
        CRect rectImage;
        CRect rectTitle;
    };
    const SCase cases[] = {
        {CButtonST::ST_ALIGN_HORIZ, true, false, 0, CRect(3, 12, 19, 28), CRect(19, 0, 100, 40)},
        {CButtonST::ST_ALIGN_HORIZ, false, false, 0, CRect(42, 12, 58, 28), rectItem},
        {CButtonST::ST_ALIGN_VERT, true, false, 0, CRect(42, 3, 58, 19), CRect(0, 16, 100, 40)},
        {CButtonST::ST_ALIGN_VERT, false, false, 0, CRect(42, 12, 58, 28), rectItem},
        {CButtonST::ST_ALIGN_HORIZ_RIGHT, true, false, 0, CRect(81, 12, 97, 28),
         CRect(3, 0, 81, 40)},
        {CButtonST::ST_ALIGN_HORIZ_RIGHT, false, false, 0, CRect(42, 12, 58, 28), rectItem},
        {CButtonST::ST_ALIGN_OVERLAP, true, false, 0, CRect(0, 0, 16, 16), rectItem},
        // Pressed: shifted by the pressed style.
        {CButtonST::ST_ALIGN_HORIZ, false, true, CButtonST::BTNST_PRESSED_LEFTRIGHT,
         CRect(43, 13, 59, 29), rectItem},
        {CButtonST::ST_ALIGN_HORIZ, false, true, CButtonST::BTNST_PRESSED_TOPBOTTOM,
         CRect(42, 14, 58, 30), rectItem},
    };
    for (const SCase& c : cases) {
        ASSERT_EQ(button.SetAlign(c.byAlign, FALSE), static_cast<DWORD>(CButtonST::BTNST_OK));
        ASSERT_EQ(button.SetPressedStyle(c.byPressedStyle, FALSE),
                  static_cast<DWORD>(CButtonST::BTNST_OK));
        CRect rectTitle = rectItem;
        CRect rectImage;
        button.PrepareImageRect(c.bCaption, rectItem, &rectTitle, c.bPressed, kIconSize, kIconSize,
                                &rectImage);
        EXPECT_EQ(rectImage, c.rectImage) << int(c.byAlign) << " " << c.bCaption << c.bPressed;
        EXPECT_EQ(rectTitle, c.rectTitle) << int(c.byAlign) << " " << c.bCaption << c.bPressed;
    }
}

TEST_F(ButtonSTTest, SettersRefuseWhatTheyDoNotKnow) {
    CButtonST button;
    MakeButton(button, BS_PUSHBUTTON, 101, CRect(10, 10, 110, 50));
    ASSERT_EQ(button.SetAlign(CButtonST::ST_ALIGN_VERT), static_cast<DWORD>(CButtonST::BTNST_OK));
    EXPECT_EQ(button.SetAlign(4), static_cast<DWORD>(CButtonST::BTNST_INVALIDALIGN));
    EXPECT_EQ(button.GetAlign(), CButtonST::ST_ALIGN_VERT);
    EXPECT_EQ(button.SetPressedStyle(2), static_cast<DWORD>(CButtonST::BTNST_INVALIDPRESSEDSTYLE));
    EXPECT_EQ(button.SetFlat(FALSE), static_cast<DWORD>(CButtonST::BTNST_OK));
}

// ---- Button kinds.

TEST_F(ButtonSTTest, CheckBoxModeInvertsOnEveryClickAndTakesBmSetCheck) {
    CButtonST button;
    MakeButton(button, BS_AUTOCHECKBOX, 102, CRect(10, 10, 110, 50), "Important");
    ASSERT_TRUE(button.IsCheckBox());
    EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
    button.Click();
    EXPECT_EQ(button.GetCheck(), 1);
    button.Click();
    EXPECT_EQ(button.GetCheck(), 0);
    EXPECT_EQ(m_host.m_nClicks, 2); // the parent hears every click too

    const struct {
        WPARAM wParam;
        int nCheck;
    } messages[] = {{BST_CHECKED, 1}, {BST_UNCHECKED, 0}, {2, 1}, {3, 0}};
    for (const auto& m : messages) {
        EXPECT_EQ(button.SendMessage(BM_SETCHECK, m.wParam), 0);
        EXPECT_EQ(button.SendMessage(BM_GETCHECK), m.nCheck) << m.wParam;
    }
}

TEST_F(ButtonSTTest, PushAndOwnerDrawnTemplatesAreNoCheckBoxes) {
    const DWORD types[] = {BS_PUSHBUTTON, BS_OWNERDRAW, BS_GROUPBOX};
    UINT nID = 110;
    for (DWORD dwType : types) {
        CButtonST button;
        MakeButton(button, dwType, nID++, CRect(10, 10, 110, 50));
        EXPECT_FALSE(button.IsCheckBox()) << dwType;
        button.SendMessage(BM_SETCHECK, BST_CHECKED);
        EXPECT_EQ(button.GetCheck(), 0) << dwType;
        button.DestroyWindow();
    }
}

TEST_F(ButtonSTTest, DefaultButtonAnswersTheDefaultPushButtonCode) {
    CButtonST buttonDefault;
    CButtonST buttonPlain;
    MakeButton(buttonDefault, BS_DEFPUSHBUTTON, IDOK, CRect(10, 10, 110, 50), "OK");
    MakeButton(buttonPlain, BS_PUSHBUTTON, IDCANCEL, CRect(120, 10, 220, 50), "Cancel");
    EXPECT_TRUE(buttonDefault.IsDefault());
    EXPECT_TRUE(buttonDefault.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    EXPECT_FALSE(buttonDefault.SendMessage(WM_GETDLGCODE) & DLGC_UNDEFPUSHBUTTON);
    EXPECT_TRUE(buttonPlain.SendMessage(WM_GETDLGCODE) & DLGC_UNDEFPUSHBUTTON);

    // The dialog manager moves the default with BM_SETSTYLE; the button stays owner-drawn.
    buttonDefault.SendMessage(BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    buttonPlain.SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_FALSE(buttonDefault.IsDefault());
    EXPECT_TRUE(buttonPlain.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(buttonPlain.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
}

TEST_F(ButtonSTTest, FocusDisabledButtonHandsTheFocusOnButLeavesOthersAlone) {
    CButtonST buttonPlay;
    CButtonST buttonStop;
    MakeButton(buttonPlay, BS_PUSHBUTTON, 121, CRect(10, 10, 110, 50), "Play");
    MakeButton(buttonStop, BS_PUSHBUTTON, 122, CRect(120, 10, 220, 50), "Stop");
    HWND hEdit =
        ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 60,
                          200, 24, m_host.m_hWnd, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    m_host.SetForegroundWindow();
    buttonPlay.SetFocus();
    ASSERT_EQ(::GetFocus(), buttonPlay.m_hWnd);
    buttonPlay.EnableWindow(FALSE);
    EXPECT_EQ(::GetFocus(), buttonStop.m_hWnd);

    // Disabling a button while the user types elsewhere keeps the focus there.
    ::SetFocus(hEdit);
    ASSERT_EQ(::GetFocus(), hEdit);
    buttonStop.EnableWindow(FALSE);
    EXPECT_EQ(::GetFocus(), hEdit);
}

// ---- Tooltip.

TEST_F(ButtonSTTest, TooltipTextFromTextOrStringResource) {
    CProbeButton button;
    MakeButton(button, BS_PUSHBUTTON, 101, CRect(10, 10, 110, 50));
    // No text, no tooltip: the control is made on first need.
    button.SetTooltipText(IDS_TEST_EMPTY);
    button.SetTooltipText(static_cast<LPCTSTR>(nullptr));
    EXPECT_EQ(button.Tip().m_hWnd, nullptr);

    button.SetTooltipText(IDS_TEST_TIP);
    CToolTipCtrl* pTip = &button.Tip();
    ASSERT_NE(pTip->m_hWnd, nullptr);
    ASSERT_EQ(pTip->GetToolCount(), 1);
    TOOLINFOA info = {};
    info.cbSize = sizeof(info);
    char szText[128] = "";
    info.hwnd = button.m_hWnd;
    info.uId = 1;
    info.lpszText = szText;
    pTip->SendMessage(TTM_GETTEXTA, sizeof(szText), reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(szText, "Play the call");
    EXPECT_EQ(pTip->GetMaxTipWidth(), 400);

    button.SetTooltipText("Stop");
    EXPECT_EQ(pTip->GetToolCount(), 1);
    pTip->SendMessage(TTM_GETTEXTA, sizeof(szText), reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(szText, "Stop");
}

// ---- Real mouse.

// The darker copy until the mouse comes, the icon itself while it is there
// with a raised frame, and the darker copy with no frame left after it goes.
TEST_F(ButtonSTTest, InputHoverShowsTheInsideIconAndLeavesNoFrameBehind) {
    CButtonST button;
    MakeButton(button, BS_PUSHBUTTON, 101, CRect(20, 20, 120, 60));
    button.SetIcon(MakeTestIcon(kIconSize, kOrange, kBlack),
                   reinterpret_cast<HICON>(CButtonST::BTNST_AUTO_DARKER));
    const CPoint ptIcon(42 + 2, 12 + 5);
    const CPoint ptCorner(0, 0);
    SendMouseMove(ScreenPoint(m_host, CPoint(300, 200)));
    PumpTranslated(200);
    EXPECT_FALSE(button.IsHovered());
    EXPECT_EQ(Hex(ScreenPixel(button, ptIcon)), Hex(RGB(150, 75, 30)));
    EXPECT_EQ(Hex(ScreenPixel(button, ptCorner)), Hex(::GetSysColor(COLOR_WINDOW)));

    SendMouseMove(ScreenPoint(button, CPoint(50, 20)));
    ASSERT_TRUE(PumpTranslatedUntil([&button] { return button.IsHovered() != FALSE; }));
    PumpTranslated(200);
    EXPECT_EQ(Hex(ScreenPixel(button, ptIcon)), Hex(kOrange));
    EXPECT_EQ(Hex(ScreenPixel(button, ptCorner)), Hex(::GetSysColor(COLOR_BTNHIGHLIGHT)));
    CRect rectHost;
    m_host.GetWindowRect(&rectHost);
    EXPECT_TRUE(SaveScreenPng(rectHost, "ButtonSTHover.png"));

    SendMouseMove(ScreenPoint(m_host, CPoint(300, 200)));
    ASSERT_TRUE(PumpTranslatedUntil([&button] { return button.IsHovered() == FALSE; }));
    PumpTranslated(200);
    EXPECT_EQ(Hex(ScreenPixel(button, ptIcon)), Hex(RGB(150, 75, 30)));
    EXPECT_EQ(Hex(ScreenPixel(button, ptCorner)), Hex(::GetSysColor(COLOR_WINDOW)));
}

TEST_F(ButtonSTTest, InputOnlyAFlatButtonHoversAndNotWithTheButtonHeldFromElsewhere) {
    CButtonST buttonFlat;
    CButtonST buttonRaised;
    MakeButton(buttonFlat, BS_PUSHBUTTON, 101, CRect(20, 20, 120, 60), "Flat");
    MakeButton(buttonRaised, BS_PUSHBUTTON, 102, CRect(140, 20, 240, 60), "Raised");
    buttonRaised.SetFlat(FALSE);
    SendMouseMove(ScreenPoint(m_host, CPoint(300, 200)));
    PumpTranslated(100);
    SendMouseMove(ScreenPoint(buttonRaised, CPoint(50, 20)));
    PumpTranslated(300);
    EXPECT_FALSE(buttonRaised.IsHovered());

    // Pressed on the window's background, then dragged onto the flat button.
    SendMouseMove(ScreenPoint(m_host, CPoint(300, 200)));
    PumpTranslated(100);
    SendMouseButton(MOUSEEVENTF_LEFTDOWN);
    PumpTranslated(100);
    SendMouseMove(ScreenPoint(buttonFlat, CPoint(50, 20)));
    PumpTranslated(300);
    EXPECT_FALSE(buttonFlat.IsHovered());
    SendMouseButton(MOUSEEVENTF_LEFTUP);
    PumpTranslated(100);
    SendMouseMove(ScreenPoint(buttonFlat, CPoint(51, 21)));
    EXPECT_TRUE(PumpTranslatedUntil([&buttonFlat] { return buttonFlat.IsHovered() != FALSE; }));
}

TEST_F(ButtonSTTest, InputDoubleClickGivesTwoClicks) {
    CButtonST button;
    MakeButton(button, BS_PUSHBUTTON, 101, CRect(20, 20, 120, 60), "Play");
    m_host.SetForegroundWindow();
    SendMouseMove(ScreenPoint(button, CPoint(50, 20)));
    PumpTranslated(100);
    SendLeftClick();
    SendLeftClick();
    EXPECT_TRUE(PumpTranslatedUntil([this] { return m_host.m_nClicks >= 2; }, 2000));
    PumpTranslated(200);
    EXPECT_EQ(m_host.m_nClicks, 2);
}

} // namespace
