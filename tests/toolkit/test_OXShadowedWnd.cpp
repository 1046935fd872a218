// Tests of COXShadowedWnd and COXShdWnd: the pixel rules of the shadow, and a
// shadowed dialog from test_OXShadowedWnd.rc over a backdrop window of one
// known colour, read back from the screen.
//
// The scene lies in the lower right corner of the display. Tests that read the
// screen back carry "Screen" in their names and run alone.
#include "native/gtest.h"

#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "toolkit/OXShadowedWnd.h"

#include "test_OXShadowedWnd_res.h"
#include "tests/support/Canvas.h"
#include "tests/support/UiScript.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

// AfxGetMainWnd answers its main window: the owner of the shadow.
CWinApp theApp;

const RECT kBackdropRect = {760, 540, 1270, 1010};
const int kDialogX = 840, kDialogY = 620, kDialogW = 300, kDialogH = 200;

std::string ColorText(COLORREF color) {
    char text[32];
    wsprintfA(text, "(%d,%d,%d)", GetRValue(color), GetGValue(color), GetBValue(color));
    return text;
}

// --- The pixel rules --------------------------------------------------------

struct DarkenCase {
    int k;
    COLORREF color;
    COLORREF expected;
};

TEST(ShadowPixels, DarkenColorRoundsEachChannelAndClearsTheFourthByte) {
    const DarkenCase cases[] = {
        // White across the full strip, outermost line first.
        {15, RGB(255, 255, 255), RGB(240, 240, 240)},
        {30, RGB(255, 255, 255), RGB(225, 225, 225)},
        {45, RGB(255, 255, 255), RGB(210, 210, 210)},
        {60, RGB(255, 255, 255), RGB(195, 195, 195)},
        // The corner's lightest and darkest pixels.
        {3, RGB(255, 255, 255), RGB(252, 252, 252)},
        {48, RGB(255, 255, 255), RGB(207, 207, 207)},
        // MulDiv rounds to nearest: 100*252/255 = 98.8, 150*252/255 = 148.2.
        {3, RGB(100, 150, 200), RGB(99, 148, 198)},
        {60, RGB(1, 2, 3), RGB(1, 2, 2)},
        {0, RGB(12, 34, 56), RGB(12, 34, 56)},
        {45, RGB(0, 0, 0), RGB(0, 0, 0)},
        // Whatever the fourth byte held is gone.
        {0, 0xFF804020u, RGB(0x20, 0x40, 0x80)},
        {15, 0x02FFFFFFu, RGB(240, 240, 240)},
    };
    for (const DarkenCase& c : cases)
        EXPECT_EQ(ColorText(c.expected), ColorText(DarkenColor(c.k, c.color)))
            << "k " << c.k << " on " << ColorText(c.color) << ", full value " << std::hex
            << DarkenColor(c.k, c.color);
}

struct DarknessCase {
    int x, y;
    int k; // -1: never painted, 0: copied unchanged
};

TEST(ShadowPixels, DarknessOfAShadow300By200FollowsTheStripTable) {
    const int cx = 300, cy = 200;
    const DarknessCase cases[] = {// Right strip, full part: 15 outermost to 60 next to the dialog.
                                  {299, 100, 15},
                                  {298, 100, 30},
                                  {297, 100, 45},
                                  {296, 100, 60},
                                  {296, 8, 60},
                                  {299, 195, 15},
                                  // Its top rows are copied, then it fades in over four rows.
                                  {299, 0, 0},
                                  {296, 3, 0},
                                  {299, 4, 3},
                                  {299, 7, 12},
                                  {298, 5, 12},
                                  {296, 4, 12},
                                  {296, 7, 48},
                                  // The fading corner.
                                  {299, 199, 3},
                                  {296, 196, 48},
                                  {297, 198, 18},
                                  {299, 196, 12},
                                  {296, 199, 12},
                                  // Bottom strip: copied at its start, fading in, then full.
                                  {0, 199, 0},
                                  {3, 196, 0},
                                  {4, 199, 3},
                                  {4, 196, 12},
                                  {7, 199, 12},
                                  {7, 196, 48},
                                  {8, 199, 15},
                                  {150, 199, 15},
                                  {150, 198, 30},
                                  {150, 197, 45},
                                  {150, 196, 60},
                                  {295, 196, 60},
                                  {295, 199, 15},
                                  // Under the dialog and outside the window: never painted.
                                  {295, 195, -1},
                                  {100, 100, -1},
                                  {0, 0, -1},
                                  {0, 195, -1},
                                  {300, 100, -1},
                                  {100, 200, -1},
                                  {-1, 199, -1}};
    for (const DarknessCase& c : cases)
        EXPECT_EQ(c.k, ShadowPixelDarkness(c.x, c.y, cx, cy)) << "(" << c.x << "," << c.y << ")";

    // Exactly the two strips are painted, and each of their pixels has a place
    // of its own in the list of strip pixels.
    const int nStripPixels = 4 * cy + 4 * (cx - 4);
    std::vector<int> places(nStripPixels, 0);
    int nPainted = 0;
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x) {
            const bool bPainted = ShadowPixelDarkness(x, y, cx, cy) >= 0;
            const int nIndex = ShadowStripIndex(x, y, cx, cy);
            EXPECT_EQ(bPainted, nIndex >= 0) << "(" << x << "," << y << ")";
            if (!bPainted || nIndex < 0)
                continue;
            ++nPainted;
            ASSERT_LT(nIndex, nStripPixels);
            ++places[nIndex];
        }
    EXPECT_EQ(nStripPixels, nPainted);
    EXPECT_EQ(std::vector<int>(nStripPixels, 1), places);
}

TEST(ShadowPixels, TinyShadowsStayInsideTheWindow) {
    for (int size = 1; size <= 12; ++size) {
        for (int y = -1; y <= size; ++y)
            for (int x = -1; x <= size; ++x) {
                const int k = ShadowPixelDarkness(x, y, size, size);
                const bool bInside = x >= 0 && y >= 0 && x < size && y < size;
                EXPECT_TRUE(k <= 60 && (bInside || k == -1))
                    << size << ": (" << x << "," << y << ") gives " << k;
            }
    }
}

// --- A shadowed dialog on the screen ------------------------------------------

// A top-level window that paints itself in one colour.
class CBackdrop : public CWnd {
public:
    BOOL Create(COLORREF color) {
        m_color = color;
        return CreateEx(0, AfxRegisterWndClass(0), "Backdrop", WS_POPUP | WS_VISIBLE, kBackdropRect,
                        nullptr, 0);
    }
    void SetColor(COLORREF color) {
        m_color = color;
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    afx_msg BOOL OnEraseBkgnd(CDC* pDC) {
        CRect rect;
        GetClientRect(&rect);
        pDC->FillSolidRect(&rect, m_color);
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()

private:
    COLORREF m_color = RGB(255, 255, 255);
};

BEGIN_MESSAGE_MAP(CBackdrop, CWnd)
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

class CShadowedDialog : public COXShadowedWnd<CDialog> {
public:
    CShadowedDialog() : COXShadowedWnd<CDialog>(IDD_SHADOWED) {}
    HWND Shadow() const { return m_wndShadow.m_hWnd; }
    const COXShdWnd& ShadowObject() const { return m_wndShadow; }
    UINT m_nDialogNcPaints = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NCPAINT)
            ++m_nDialogNcPaints;
        return COXShadowedWnd<CDialog>::WindowProc(message, wParam, lParam);
    }
};

// The next window below hWnd in the Z order that belongs to this thread: test
// programs running at the same time share the display's Z order.
HWND NextWindowOfThisThread(HWND hWnd) {
    HWND hWndNext = ::GetWindow(hWnd, GW_HWNDNEXT);
    while (hWndNext != nullptr &&
           ::GetWindowThreadProcessId(hWndNext, nullptr) != ::GetCurrentThreadId())
        hWndNext = ::GetWindow(hWndNext, GW_HWNDNEXT);
    return hWndNext;
}

CRect WindowRect(HWND hWnd) {
    CRect rect;
    ::GetWindowRect(hWnd, &rect);
    return rect;
}

// Compares the screen around and under the shadow with what a shadow over a
// plain backdrop must show; answers the number of wrong pixels and describes
// the first one.
int CountWrongShadowPixels(HWND hWndShadow, COLORREF backdrop, std::string& firstWrong) {
    const CRect rcShadow = WindowRect(hWndShadow);
    // A margin of backdrop around the shadow's strips must stay untouched.
    const int kMargin = 6;
    CRect rcArea = rcShadow;
    rcArea.InflateRect(0, 0, kMargin, kMargin);
    CCanvas canvas(rcArea.Width(), rcArea.Height(), RGB(1, 2, 3));
    CaptureScreen(canvas, rcArea);
    int nWrong = 0;
    for (int y = 0; y < rcArea.Height(); ++y)
        for (int x = 0; x < rcArea.Width(); ++x) {
            const int k = ShadowPixelDarkness(x, y, rcShadow.Width(), rcShadow.Height());
            const bool bOutside = x >= rcShadow.Width() || y >= rcShadow.Height();
            if (k < 0 && !bOutside)
                continue; // the dialog
            const COLORREF expected = k > 0 ? DarkenColor(k, backdrop) : backdrop;
            const COLORREF seen = canvas.dc.GetPixel(x, y);
            if (seen != expected && nWrong++ == 0)
                firstWrong = "(" + std::to_string(x) + "," + std::to_string(y) + ") is " +
                             ColorText(seen) + ", not " + ColorText(expected);
        }
    return nWrong;
}

class ShadowedDialog : public ::testing::Test {
protected:
    void SetUp() override { Open(RGB(255, 255, 255)); }
    void TearDown() override { Close(); }

    void Open(COLORREF backdrop) {
        ASSERT_TRUE(m_backdrop.Create(backdrop));
        theApp.m_pMainWnd = &m_backdrop;
        ASSERT_TRUE(m_dialog.Create(IDD_SHADOWED));
        ::SetWindowPos(m_dialog, nullptr, kDialogX, kDialogY, kDialogW, kDialogH,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        m_dialog.ShowWindow(SW_SHOW);
        Settle();
    }
    void Close() {
        m_dialog.DestroyWindow();
        m_backdrop.DestroyWindow();
        theApp.m_pMainWnd = nullptr;
        Settle(100);
    }

    // The shadow lies at the dialog's rectangle moved by (4, 4), directly
    // behind it, shown exactly when the dialog is.
    void ExpectShadowFollows(const char* pszStep) {
        SCOPED_TRACE(pszStep);
        CRect rcExpected = WindowRect(m_dialog);
        rcExpected.OffsetRect(4, 4);
        EXPECT_EQ(rcExpected, WindowRect(m_dialog.Shadow()));
        const HWND hWndNext = NextWindowOfThisThread(m_dialog);
        char szClass[64] = "";
        ::GetClassNameA(hWndNext, szClass, sizeof szClass);
        EXPECT_EQ(m_dialog.Shadow(), hWndNext) << "the next window is a " << szClass;
        EXPECT_EQ(m_dialog.IsWindowVisible(), ::IsWindowVisible(m_dialog.Shadow()));
    }

    CBackdrop m_backdrop;
    CShadowedDialog m_dialog;
};

TEST_F(ShadowedDialog, ShadowWindowIsADisabledPopupOwnedByTheMainWindow) {
    const HWND hWndShadow = m_dialog.Shadow();
    ASSERT_TRUE(::IsWindow(hWndShadow));
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_DISABLED),
              static_cast<DWORD>(::GetWindowLongA(hWndShadow, GWL_STYLE)) &
                  ~static_cast<DWORD>(WS_CLIPSIBLINGS));
    EXPECT_EQ(m_backdrop.m_hWnd, ::GetWindow(hWndShadow, GW_OWNER));
    EXPECT_EQ(&m_dialog, m_dialog.ShadowObject().GetShadowedWnd());
    EXPECT_EQ(0, ::GetWindowTextLengthA(hWndShadow));
    // It never takes the activation from its dialog.
    EXPECT_NE(hWndShadow, ::GetActiveWindow());
    ExpectShadowFollows("opened");
}

TEST_F(ShadowedDialog, ScreenStripsDarkenTheBackdropPixelByPixel) {
    EXPECT_TRUE(SaveScreenPng(kBackdropRect, "shadowed_dialog.png"));
    for (COLORREF backdrop : {RGB(255, 255, 255), RGB(40, 160, 220), RGB(7, 250, 128)}) {
        SCOPED_TRACE(ColorText(backdrop));
        Close();
        Open(backdrop);
        std::string firstWrong;
        EXPECT_EQ(0, CountWrongShadowPixels(m_dialog.Shadow(), backdrop, firstWrong)) << firstWrong;
    }
}

TEST_F(ShadowedDialog, ScreenErasingAgainDoesNotDarkenTheStripsFurther) {
    for (int i = 0; i < 3; ++i) {
        ::RedrawWindow(m_dialog.Shadow(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
        m_dialog.SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    Settle();
    std::string firstWrong;
    EXPECT_EQ(0, CountWrongShadowPixels(m_dialog.Shadow(), RGB(255, 255, 255), firstWrong))
        << firstWrong;
}

TEST_F(ShadowedDialog, ShadowFollowsMovesSizesAndVisibility) {
    struct Step {
        const char* pszName;
        int x, y, cx, cy;
        UINT nFlags;
    };
    const Step steps[] = {
        {"moved", kDialogX - 30, kDialogY + 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER},
        {"sized", 0, 0, 260, 240, SWP_NOMOVE | SWP_NOZORDER},
        {"moved and sized", kDialogX + 10, kDialogY - 10, 320, 180, SWP_NOZORDER},
        {"raised", 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE},
        {"hidden by SetWindowPos", 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_HIDEWINDOW},
        {"moved while hidden", kDialogX, kDialogY, 0, 0, SWP_NOSIZE | SWP_NOZORDER},
        {"shown by SetWindowPos", 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW},
    };
    for (const Step& step : steps) {
        m_dialog.SetWindowPos(&CWnd::wndTop, step.x, step.y, step.cx, step.cy,
                              step.nFlags | SWP_NOACTIVATE);
        ExpectShadowFollows(step.pszName);
    }
    m_dialog.ShowWindow(SW_HIDE);
    ExpectShadowFollows("hidden");
    EXPECT_FALSE(::IsWindowVisible(m_dialog.Shadow()));
    m_dialog.ShowWindow(SW_SHOW);
    ExpectShadowFollows("shown");
    EXPECT_TRUE(::IsWindowVisible(m_dialog.Shadow()));
}

TEST_F(ShadowedDialog, ScreenStripsFollowAMoveDownAndRight) {
    m_dialog.MoveWindow(kDialogX + 40, kDialogY + 30, kDialogW, kDialogH);
    ExpectShadowFollows("MoveWindow");

    // After the move the strips show the backdrop darkened at the new place, and
    // the place the shadow left shows the backdrop again.
    Settle();
    std::string firstWrong;
    EXPECT_EQ(0, CountWrongShadowPixels(m_dialog.Shadow(), RGB(255, 255, 255), firstWrong))
        << firstWrong;
    // The dialog moved by (40, 30): the old bottom strip left of the dialog's
    // new place and the old right strip above it.
    const RECT oldStrips[] = {{kDialogX + 12, kDialogY + 200, kDialogX + 40, kDialogY + 204},
                              {kDialogX + 300, kDialogY + 12, kDialogX + 304, kDialogY + 30}};
    for (const RECT& rcOld : oldStrips) {
        const CRect rect = rcOld;
        CCanvas oldPlace(rect.Width(), rect.Height(), RGB(1, 2, 3));
        CaptureScreen(oldPlace, rect);
        EXPECT_EQ(rect.Width() * rect.Height(),
                  oldPlace.Count(RGB(255, 255, 255), CRect(0, 0, rect.Width(), rect.Height())));
    }
}

// Presses or releases the left button at a corner of the screen where no
// window of the test lies.
void SendLeftButton(bool bDown) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = 65535 * 1275 / 1280;
    input.mi.dy = 65535 * 4 / 1024;
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE |
                       (bDown ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    ::SendInput(1, &input, sizeof input);
    Settle(100);
}

TEST_F(ShadowedDialog, DragInputMakesTheShadowTransparentUntilTheButtonIsUp) {
    auto isTransparent = [this]() {
        return (::GetWindowLongA(m_dialog.Shadow(), GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
    };
    const LPARAM lCaption = MAKELPARAM(kDialogX + 20, kDialogY + 8);
    ASSERT_FALSE(isTransparent());
    // A move while the button is up is no drag.
    m_dialog.SetWindowPos(&CWnd::wndTop, kDialogX + 2, kDialogY, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_FALSE(isTransparent());

    SendLeftButton(true);
    ASSERT_TRUE(::GetAsyncKeyState(VK_LBUTTON) & 0x8000);
    m_dialog.SetWindowPos(&CWnd::wndTop, kDialogX + 6, kDialogY + 3, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(isTransparent());
    m_dialog.SendMessage(WM_NCMOUSEMOVE, HTCAPTION, lCaption);
    EXPECT_TRUE(isTransparent()) << "the button is still down";

    SendLeftButton(false);
    EXPECT_TRUE(isTransparent()) << "only a non-client mouse move restores it";
    m_dialog.SendMessage(WM_NCMOUSEMOVE, HTCAPTION, lCaption);
    EXPECT_FALSE(isTransparent());
    ExpectShadowFollows("dragged");
}

TEST_F(ShadowedDialog, ScreenFrameIsFlat) {
    const CRect rcDialog = WindowRect(m_dialog);
    CCanvas screen(rcDialog.Width(), rcDialog.Height());
    CaptureScreen(screen, rcDialog);
    // What the two flat edges draw on a window of the dialog's size.
    CCanvas expected(rcDialog.Width(), rcDialog.Height(), RGB(1, 2, 3));
    CRect rect(0, 0, rcDialog.Width(), rcDialog.Height());
    ::DrawEdge(expected.dc, &rect, BDR_SUNKENOUTER, BF_RECT | BF_FLAT);
    rect.DeflateRect(1, 1);
    ::DrawEdge(expected.dc, &rect, BDR_RAISEDINNER, BF_RECT | BF_FLAT);
    int nWrong = 0, nChecked = 0;
    for (int y = 0; y < rcDialog.Height(); ++y)
        for (int x = 0; x < rcDialog.Width(); ++x) {
            const COLORREF wanted = expected.dc.GetPixel(x, y);
            if (wanted == RGB(1, 2, 3))
                continue; // inside the two lines
            ++nChecked;
            if (screen.dc.GetPixel(x, y) != wanted)
                ++nWrong;
        }
    EXPECT_EQ(4 * (rcDialog.Width() + rcDialog.Height()) - 16, nChecked); // two rings
    EXPECT_EQ(0, nWrong);
    EXPECT_GT(m_dialog.m_nDialogNcPaints, 0u);
}

TEST_F(ShadowedDialog, ShadowGoesWithTheDialogWindow) {
    const HWND hWndShadow = m_dialog.Shadow();
    ASSERT_TRUE(::IsWindow(hWndShadow));
    m_dialog.DestroyWindow();
    EXPECT_FALSE(::IsWindow(hWndShadow));
    EXPECT_EQ(nullptr, m_dialog.Shadow());
}

TEST_F(ShadowedDialog, ShadowGoesWithTheDialogObject) {
    HWND hWndShadow = nullptr, hWndDialog = nullptr;
    {
        CShadowedDialog dialog;
        ASSERT_TRUE(dialog.Create(IDD_SHADOWED));
        hWndShadow = dialog.Shadow();
        hWndDialog = dialog.m_hWnd;
        ASSERT_TRUE(::IsWindow(hWndShadow));
    }
    EXPECT_FALSE(::IsWindow(hWndShadow));
    EXPECT_FALSE(::IsWindow(hWndDialog));
}

TEST_F(ShadowedDialog, ModalDialogCastsItsShadowWhileItRuns) {
    m_dialog.DestroyWindow();
    CShadowedDialog modal;
    HWND hWndShadow = nullptr;
    bool bFollowed = false;
    CUiScript script({[&]() {
                          if (modal.m_hWnd == nullptr || !modal.IsWindowVisible())
                              return false;
                          hWndShadow = modal.Shadow();
                          CRect rcExpected = WindowRect(modal);
                          rcExpected.OffsetRect(4, 4);
                          bFollowed = ::IsWindowVisible(hWndShadow) &&
                                      WindowRect(hWndShadow) == rcExpected &&
                                      NextWindowOfThisThread(modal) == hWndShadow;
                          return true;
                      },
                      [&]() {
                          modal.PostMessage(WM_COMMAND, IDOK);
                          return true;
                      }});
    EXPECT_EQ(IDOK, modal.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(bFollowed);
    EXPECT_NE(nullptr, hWndShadow);
    EXPECT_FALSE(::IsWindow(hWndShadow));
}

} // namespace
