#include "OXShdWnd.h"

#include "Gdi.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(COXShdWnd, CWnd)
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

// Darkness of the full length of a strip, per pixel of distance from the
// outer edge: 15 on the outermost line, 60 next to the dialog.
const int kFullStep = 15;
// Darkness step of the fading ends and the corner.
const int kFadeStep = 3;
// Pixels at the start of each strip that are copied unchanged, then the
// pixels over which the strip fades in.
const int kClearLength = OX_SHADOW_SIZE;
const int kFadeLength = OX_SHADOW_SIZE;

} // namespace

int ShadowPixelDarkness(int x, int y, int cx, int cy) {
    if (x < 0 || y < 0 || x >= cx || y >= cy)
        return -1;
    if (x >= cx - OX_SHADOW_SIZE) {
        // The right strip; i counts from the outermost column (1) inwards.
        const int i = cx - x;
        const int j = cy - y;
        if (j <= OX_SHADOW_SIZE)
            return kFadeStep * i * j; // the corner, drawn last
        if (y < kClearLength)
            return 0;
        if (y < kClearLength + kFadeLength)
            return kFadeStep * i * (y - kClearLength + 1);
        return kFullStep * i;
    }
    if (y >= cy - OX_SHADOW_SIZE) {
        // The bottom strip up to the corner, which belongs to the right strip.
        const int j = cy - y;
        if (x < kClearLength)
            return 0;
        if (x < kClearLength + kFadeLength)
            return kFadeStep * (x - kClearLength + 1) * j;
        return kFullStep * j;
    }
    return -1;
}

int ShadowStripIndex(int x, int y, int cx, int cy) {
    if (x < 0 || y < 0 || x >= cx || y >= cy)
        return -1;
    if (x >= cx - OX_SHADOW_SIZE)
        return (x - (cx - OX_SHADOW_SIZE)) * cy + y;
    if (y >= cy - OX_SHADOW_SIZE)
        return OX_SHADOW_SIZE * cy + (y - (cy - OX_SHADOW_SIZE)) * (cx - OX_SHADOW_SIZE) + x;
    return -1;
}

COLORREF DarkenColor(int k, COLORREF color) {
    const int scale = 255 - k;
    return RGB(::MulDiv(GetRValue(color), scale, 255), ::MulDiv(GetGValue(color), scale, 255),
               ::MulDiv(GetBValue(color), scale, 255));
}

COXShdWnd::COXShdWnd() = default;

COXShdWnd::~COXShdWnd() = default;

// A later window of this object starts with nothing of its own on the screen.
void COXShdWnd::PostNcDestroy() {
    m_sizeLast = CSize();
    m_lastUnder.clear();
    m_lastPainted.clear();
}

// Returns 0 as the shadow always has: the strips are its whole painting and
// there is no background to erase.
BOOL COXShdWnd::OnEraseBkgnd(CDC* pDC) {
    UpdateWindowsBelow();
    CRect rect;
    GetWindowRect(&rect);
    PaintShadow(pDC, rect);
    return FALSE;
}

// The capture reads the screen, so windows under the shadow with a paint
// pending would be copied stale. Only this thread's windows can be updated
// here; each gets one synchronous update, which cannot spin the way waiting
// for the queue to run dry of WM_PAINT does when some window never validates.
// The shadow itself is skipped (its paint would erase it again) and so is its
// dialog, which lies above the strips.
void COXShdWnd::UpdateWindowsBelow() {
    ::EnumThreadWindows(::GetCurrentThreadId(), &COXShdWnd::UpdateIfBelow,
                        reinterpret_cast<LPARAM>(this));
}

BOOL CALLBACK COXShdWnd::UpdateIfBelow(HWND hWnd, LPARAM lParam) {
    const COXShdWnd* pShadow = reinterpret_cast<const COXShdWnd*>(lParam);
    if (hWnd == pShadow->m_hWnd || hWnd == pShadow->m_pShadowedWnd->GetSafeHwnd() ||
        !::IsWindowVisible(hWnd))
        return TRUE;
    RECT rcShadow, rcWnd, rcCommon;
    ::GetWindowRect(pShadow->m_hWnd, &rcShadow);
    ::GetWindowRect(hWnd, &rcWnd);
    if (::IntersectRect(&rcCommon, &rcShadow, &rcWnd))
        ::RedrawWindow(hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return TRUE;
}

// About 8 * (width + height) pixel calls per erase. The screen is copied once
// first, so that the pixels read are never the shadow's own output of this
// pass.
void COXShdWnd::PaintShadow(CDC* pDC, const RECT& rect) {
    const int cx = rect.right - rect.left;
    const int cy = rect.bottom - rect.top;
    if (pDC == nullptr || cx <= 0 || cy <= 0)
        return;

    // The bitmap outlives the context it stays selected into: a selected
    // bitmap cannot be deleted.
    CBitmap bitmap;
    CDC capture;
    HWND hWndDesktop = ::GetDesktopWindow();
    HDC hScreen = ::GetWindowDC(hWndDesktop);
    const bool bCaptured = hScreen != nullptr &&
                           capture.CreateCompatibleDC(CDC::FromHandle(hScreen)) &&
                           bitmap.CreateCompatibleBitmap(CDC::FromHandle(hScreen), cx, cy) &&
                           capture.SelectObject(&bitmap) != nullptr &&
                           ::BitBlt(capture, 0, 0, cx, cy, hScreen, rect.left, rect.top, SRCCOPY);
    if (hScreen != nullptr)
        ::ReleaseDC(hWndDesktop, hScreen);
    if (!bCaptured) {
        TRACE("COXShdWnd::PaintShadow: cannot capture the screen under the shadow, error %lu.\n",
              static_cast<unsigned long>(::GetLastError()));
        return;
    }

    const size_t nPixels =
        static_cast<size_t>(OX_SHADOW_SIZE) * (cy + std::max(0, cx - OX_SHADOW_SIZE));
    std::vector<COLORREF> under(nPixels), painted(nPixels);
    auto paintPixel = [&](int x, int y) {
        const int nIndex = ShadowStripIndex(x, y, cx, cy);
        COLORREF color = capture.GetPixel(x, y);
        const int nLast = ShadowStripIndex(x, y, m_sizeLast.cx, m_sizeLast.cy);
        if (nLast >= 0 && m_lastPainted[nLast] == color)
            color = m_lastUnder[nLast]; // our own output, still on the screen
        const int k = ShadowPixelDarkness(x, y, cx, cy);
        under[nIndex] = color;
        painted[nIndex] = k > 0 ? DarkenColor(k, color) : color;
        pDC->SetPixelV(x, y, painted[nIndex]);
    };
    for (int x = std::max(0, cx - OX_SHADOW_SIZE); x < cx; ++x)
        for (int y = 0; y < cy; ++y)
            paintPixel(x, y);
    for (int y = std::max(0, cy - OX_SHADOW_SIZE); y < cy; ++y)
        for (int x = 0; x < cx - OX_SHADOW_SIZE; ++x)
            paintPixel(x, y);
    m_sizeLast = CSize(cx, cy);
    m_lastUnder.swap(under);
    m_lastPainted.swap(painted);
}
