// Tests of CBaseDialog and CBaseShadowedDialog: the white background of the
// dialog and of every kind of control, a control that colours itself, the
// brush that outlives a close (a dialog closed and shown again still paints
// white), and the shadowed dialog's parent and shadow.
#include "native/gtest.h"

#include "BaseDialog.h"

#include "tests/app/BasesTestIds.h"
#include "tests/app/SmallDialogsTestKit.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/ColorCheck.h"
#include "tests/support/UiScript.h"

#include "framework/Static.h"

namespace {

CAnsweringApp theApp;

using smalldlg::CHostWnd;

const COLORREF kWhite = RGB(255, 255, 255);

// The dialog with its brush in reach.
class CProbeDialog : public CBaseDialog {
public:
    CProbeDialog() : CBaseDialog(IDD_TEST_WHITE) {}
    HGDIOBJ Brush() const { return m_brushBackground.GetSafeHandle(); }
};

class CProbeShadowedDialog : public CBaseShadowedDialog {
public:
    explicit CProbeShadowedDialog(CWnd* pParent) : CBaseShadowedDialog(IDD_TEST_WHITE, pParent) {}
    HWND Shadow() const { return m_wndShadow.m_hWnd; }
};

// A text that colours itself, as a hyperlink does.
class CRedText : public CStatic {
public:
    CRedText() { m_brush.CreateSolidBrush(RGB(255, 255, 0)); }
    HBRUSH CtlColor(CDC* pDC, UINT) {
        pDC->SetTextColor(RGB(255, 0, 0));
        return static_cast<HBRUSH>(m_brush.GetSafeHandle());
    }
    CBrush m_brush;

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRedText, CStatic)
ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

COLORREF BrushColor(HBRUSH hBrush) {
    LOGBRUSH lb = {};
    if (::GetObjectType(hBrush) != OBJ_BRUSH || !::GetObjectA(hBrush, sizeof(lb), &lb))
        return CLR_INVALID;
    return lb.lbColor;
}

// What the dialog answers to a colour request of one of its controls.
HBRUSH AskColour(CWnd& dialog, UINT nMessage, int nControl, HDC hDC) {
    return reinterpret_cast<HBRUSH>(
        ::SendMessageA(dialog.m_hWnd, nMessage, reinterpret_cast<WPARAM>(hDC),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog.m_hWnd, nControl))));
}

// The colour WM_ERASEBKGND leaves in the dialog's client area.
COLORREF ErasedColour(CWnd& dialog) {
    CCanvas canvas(40, 40, RGB(1, 2, 3));
    ::SendMessageA(dialog.m_hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc.m_hDC), 0);
    return canvas.dc.GetPixel(20, 20);
}

class BaseDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_host.Make("Dialog host", CRect(0, 0, 200, 100))); }

    CHostWnd m_host;
};

TEST_F(BaseDialogTest, DialogAndEveryControlKindAreOnWhite) {
    CProbeDialog dialog;
    EXPECT_EQ(dialog.Brush(), nullptr); // none before the dialog is initialised
    ASSERT_TRUE(dialog.Create(IDD_TEST_WHITE, &m_host));
    ASSERT_NE(dialog.Brush(), nullptr);
    EXPECT_EQ(Hex(ErasedColour(dialog)), Hex(kWhite));
    CCanvas canvas(4, 4);
    const struct {
        UINT nMessage;
        int nControl;
    } requests[] = {{WM_CTLCOLORSTATIC, IDC_TEST_TEXT},
                    {WM_CTLCOLOREDIT, IDC_TEST_EDIT},
                    {WM_CTLCOLORBTN, IDC_TEST_BUTTON},
                    {WM_CTLCOLORDLG, 0},
                    {WM_CTLCOLORLISTBOX, IDC_TEST_EDIT}};
    for (const auto& request : requests) {
        HBRUSH hBrush = AskColour(dialog, request.nMessage, request.nControl, canvas.dc.m_hDC);
        EXPECT_EQ(hBrush, dialog.Brush()) << std::hex << request.nMessage;
        EXPECT_EQ(Hex(BrushColor(hBrush)), Hex(kWhite)) << std::hex << request.nMessage;
    }
    dialog.DestroyWindow();
}

TEST_F(BaseDialogTest, ControlThatColoursItselfKeepsItsColours) {
    CProbeDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_WHITE, &m_host));
    CRedText text;
    ASSERT_TRUE(text.SubclassDlgItem(IDC_TEST_TEXT, &dialog));
    CCanvas canvas(4, 4);
    HBRUSH hBrush = AskColour(dialog, WM_CTLCOLORSTATIC, IDC_TEST_TEXT, canvas.dc.m_hDC);
    EXPECT_EQ(hBrush, text.m_brush.GetSafeHandle());
    EXPECT_EQ(Hex(canvas.dc.GetTextColor()), Hex(RGB(255, 0, 0)));
    // The other controls stay on white.
    EXPECT_EQ(AskColour(dialog, WM_CTLCOLOREDIT, IDC_TEST_EDIT, canvas.dc.m_hDC), dialog.Brush());
    dialog.DestroyWindow();
}

// A closed modeless dialog is only hidden; shown again it must still paint
// white, which it cannot with a brush deleted at WM_CLOSE.
TEST_F(BaseDialogTest, ScreenClosedDialogShownAgainIsStillWhite) {
    CProbeDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_WHITE, &m_host));
    dialog.SendMessage(WM_CLOSE);
    Settle(100);
    ASSERT_FALSE(dialog.IsWindowVisible());
    HGDIOBJ hBrush = dialog.Brush();
    ASSERT_NE(hBrush, nullptr);
    EXPECT_EQ(::GetObjectType(hBrush), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(Hex(ErasedColour(dialog)), Hex(kWhite));

    dialog.SetWindowPos(&CWnd::wndTop, 300, 200, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    Settle(300);
    CRect rectText;
    dialog.GetDlgItem(IDC_TEST_TEXT)->GetWindowRect(&rectText);
    CRect rectClient;
    dialog.GetClientRect(&rectClient);
    dialog.ClientToScreen(&rectClient);
    CCanvas screen(rectClient.Width(), rectClient.Height());
    CaptureScreen(screen, rectClient);
    // Right of the static's text and at the client's bottom left: white.
    EXPECT_EQ(Hex(screen.dc.GetPixel(rectText.right - rectClient.left - 3,
                                     rectText.bottom - rectClient.top - 3)),
              Hex(kWhite));
    EXPECT_EQ(Hex(screen.dc.GetPixel(3, rectClient.Height() - 3)), Hex(kWhite));
    CRect rectWindow;
    dialog.GetWindowRect(&rectWindow);
    EXPECT_TRUE(SaveScreenPng(rectWindow, "BaseDialogShownAgain.png"));
    dialog.DestroyWindow();
}

TEST_F(BaseDialogTest, BrushGoesWithTheWindowAndComesBackWithTheNextOne) {
    CProbeDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_WHITE, &m_host));
    dialog.DestroyWindow();
    EXPECT_EQ(dialog.Brush(), nullptr);
    ASSERT_TRUE(dialog.Create(IDD_TEST_WHITE, &m_host));
    EXPECT_NE(dialog.Brush(), nullptr);
    EXPECT_EQ(Hex(ErasedColour(dialog)), Hex(kWhite));
    dialog.DestroyWindow();
}

TEST_F(BaseDialogTest, ShadowedDialogKeepsItsParentAndCastsAShadow) {
    CProbeShadowedDialog noParent(nullptr);
    EXPECT_EQ(noParent.m_pParentWnd, nullptr);

    CProbeShadowedDialog dialog(&m_host);
    EXPECT_EQ(dialog.m_pParentWnd, &m_host);
    ASSERT_TRUE(dialog.Create(IDD_TEST_WHITE, &m_host));
    dialog.ShowWindow(SW_SHOW);
    Settle(100);
    ASSERT_TRUE(::IsWindow(dialog.Shadow()));
    EXPECT_TRUE(::IsWindowVisible(dialog.Shadow()));
    EXPECT_EQ(Hex(ErasedColour(dialog)), Hex(kWhite));
    dialog.DestroyWindow();
    EXPECT_FALSE(::IsWindow(dialog.Shadow()));
}

} // namespace
