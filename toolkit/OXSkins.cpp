// OXSkins.cpp: the skin base, the Classic skin and the Office XP skin with its
// colours, colour arithmetic, transparent copies and caption-style buttons.
#include "OXSkins.h"

#include "OXDockbarSkin.h"
#include "OXFrameSkin.h"
#include "OXMenuSkin.h"
#include "OXMiniFrameSkin.h"
#include "OXShortcutBarSkin.h"
#include "OXStatusbarSkin.h"
#include "OXTabSkin.h"
#include "OXToolbarSkin.h"
#include "Wnd.h"

#include <algorithm>

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

// Glyph brightness change of a tinted caption button, on the background colour.
const int kTintLighter = 64;
const int kTintDarker = -96;
// The glyph sits this far inside the button on every side.
const int kGlyphInset = 2;

COLORREF Sys(int nIndex) {
    return ::GetSysColor(nIndex);
}

// The XP notation "A wa + B wb" of two colours.
COLORREF Mix(COLORREF crA, float fWeightA, COLORREF crB, float fWeightB) {
    return COXSkinXP::MixColors(crA, crB, kBlack, fWeightA, fWeightB, 0.0f);
}

int MixChannel(int a, int b, int c, float fWeightA, float fWeightB, float fWeightC) {
    // The single-precision weights are summed in double, so that weights such as
    // 0.7 and 0.3 still make 255 of two 255s.
    double dValue = a * static_cast<double>(fWeightA) + b * static_cast<double>(fWeightB) +
                    c * static_cast<double>(fWeightC);
    return std::min(static_cast<int>(dValue), 255);
}

int ClampChannel(int nValue) {
    return std::max(0, std::min(nValue, 255));
}

} // namespace

// ---- COXSkin

COXSkin::COXSkin(LPCTSTR lpszName)
    : m_strName(lpszName), m_pToolbarSkin(nullptr), m_pMenuSkin(nullptr), m_pToolbarSkin2(nullptr),
      m_pDockbarSkin(nullptr), m_pTabSkin(nullptr), m_pShortcutBarSkin(nullptr),
      m_pMiniFrameSkin(nullptr), m_pStatusbarSkin(nullptr), m_pFrameSkin(nullptr) {}

COXSkin::~COXSkin() {
    delete m_pToolbarSkin;
    delete m_pMenuSkin;
    delete m_pToolbarSkin2;
    delete m_pDockbarSkin;
    delete m_pTabSkin;
    delete m_pShortcutBarSkin;
    delete m_pMiniFrameSkin;
    delete m_pStatusbarSkin;
    delete m_pFrameSkin;
}

// ---- COXSkinClassic

COXSkinClassic::COXSkinClassic() : COXSkin("Classic") {
    m_pToolbarSkin = new COXToolbarSkinClassic;
    m_pMenuSkin = new COXMenuSkinClassic;
    m_pToolbarSkin2 = new COXToolbarSkinClassic;
    m_pDockbarSkin = new COXDockbarSkinClassic;
    m_pTabSkin = new COXTabSkinClassic;
    m_pShortcutBarSkin = new COXShortcutBarSkinClassic;
    m_pMiniFrameSkin = new COXMiniFrameSkinClassic;
    m_pStatusbarSkin = new COXStatusbarSkinClassic;
    m_pFrameSkin = new COXFrameSkinClassic;
}

// ---- COXSkinXP

COXSkinXP::COXSkinXP() : COXSkin("Office XP") {
    m_pToolbarSkin = new COXToolbarSkinXP(this);
    m_pMenuSkin = new COXMenuSkinXP(this);
    m_pToolbarSkin2 = new COXToolbarSkinXP(this);
    m_pDockbarSkin = new COXDockbarSkinXP(this);
    m_pTabSkin = new COXTabSkinXP(this);
    m_pShortcutBarSkin = new COXShortcutBarSkinXP(this);
    m_pMiniFrameSkin = new COXMiniFrameSkinXP(this);
    m_pStatusbarSkin = new COXStatusbarSkinXP(this);
    m_pFrameSkin = new COXFrameSkinXP(this);
}

// The virtual base is built by the most derived class, so the name here is
// never used.
COXSkinXP::COXSkinXP(NoElementSkins) : COXSkin("Office XP") {}

COLORREF COXSkinXP::GetHotColor() const {
    return Mix(Sys(COLOR_WINDOW), 0.7f, Sys(COLOR_HIGHLIGHT), 0.3f);
}
COLORREF COXSkinXP::GetCheckedColor() const {
    return MixColors(Sys(COLOR_BTNFACE), Sys(COLOR_WINDOW), Sys(COLOR_HIGHLIGHT), 0.42f, 0.48f,
                     0.1f);
}
COLORREF COXSkinXP::GetPressedColor() const {
    return Mix(Sys(COLOR_WINDOW), 0.5f, Sys(COLOR_HIGHLIGHT), 0.5f);
}
COLORREF COXSkinXP::GetBorderColor() const {
    return Sys(COLOR_HIGHLIGHT);
}
COLORREF COXSkinXP::GetMenuColor() const {
    return Mix(Sys(COLOR_WINDOW), 0.86f, Sys(COLOR_BTNFACE), 0.14f);
}
COLORREF COXSkinXP::GetShadowColor() const {
    return Sys(COLOR_BTNSHADOW);
}
COLORREF COXSkinXP::GetBarColor() const {
    return Mix(Sys(COLOR_WINDOW), 0.16f, Sys(COLOR_BTNFACE), 0.84f);
}
COLORREF COXSkinXP::GetFaceColor() const {
    return Sys(COLOR_BTNFACE);
}
COLORREF COXSkinXP::GetTabTextColor() const {
    return ShiftColor(Sys(COLOR_GRAYTEXT), -8, -12, -22);
}
COLORREF COXSkinXP::GetSeparatorColor() const {
    return ShiftColor(Sys(COLOR_BTNSHADOW), 38, 38, 38);
}
COLORREF COXSkinXP::GetOutlineColor() const {
    return Sys(COLOR_BTNSHADOW);
}
COLORREF COXSkinXP::GetGripperColor() const {
    return ShiftColor(Sys(COLOR_BTNSHADOW), 32, 32, 32);
}
COLORREF COXSkinXP::GetMiniFrameCaptionColor() const {
    return Sys(COLOR_BTNSHADOW);
}
COLORREF COXSkinXP::GetMiniFrameCaptionTextColor() const {
    return Sys(COLOR_CAPTIONTEXT);
}
COLORREF COXSkinXP::GetMiniFrameBorderColor() const {
    return ShiftColor(Sys(COLOR_BTNSHADOW), -9, -9, -9);
}
COLORREF COXSkinXP::GetMiniFrameInnerColor() const {
    return GetBarColor();
}
COLORREF COXSkinXP::GetDisabledColor() const {
    return Sys(COLOR_GRAYTEXT);
}
COLORREF COXSkinXP::GetMenuDisabledTextColor() const {
    return GetSeparatorColor();
}

COLORREF COXSkinXP::MixColors(COLORREF crA, COLORREF crB, COLORREF crC, float fWeightA,
                              float fWeightB, float fWeightC) {
    return RGB(
        MixChannel(GetRValue(crA), GetRValue(crB), GetRValue(crC), fWeightA, fWeightB, fWeightC),
        MixChannel(GetGValue(crA), GetGValue(crB), GetGValue(crC), fWeightA, fWeightB, fWeightC),
        MixChannel(GetBValue(crA), GetBValue(crB), GetBValue(crC), fWeightA, fWeightB, fWeightC));
}

COLORREF COXSkinXP::ShiftColor(COLORREF crColor, int nRed, int nGreen, int nBlue) {
    return RGB(ClampChannel(GetRValue(crColor) + nRed), ClampChannel(GetGValue(crColor) + nGreen),
               ClampChannel(GetBValue(crColor) + nBlue));
}

COLORREF COXSkinXP::InvertColor(COLORREF crColor) {
    return RGB(255 - GetRValue(crColor), 255 - GetGValue(crColor), 255 - GetBValue(crColor));
}

COLORREF COXSkinXP::ScaleColor(COLORREF crColor, float fRed, float fGreen, float fBlue) {
    return RGB(MixChannel(GetRValue(crColor), 0, 0, fRed, 0.0f, 0.0f),
               MixChannel(GetGValue(crColor), 0, 0, fGreen, 0.0f, 0.0f),
               MixChannel(GetBValue(crColor), 0, 0, fBlue, 0.0f, 0.0f));
}

COLORREF COXSkinXP::GetLightFaceColor() {
    return ScaleColor(Sys(COLOR_BTNFACE), 1.2f, 1.2f, 1.2f);
}

// The classic mask copy: the target XOR the bitmap, cleared where the bitmap is
// opaque, XOR the bitmap again, so the target survives only where the mask is set.
void COXSkinXP::DrawTransparentBitmap(CBitmap* pBitmap, CDC* pDC, int x, int y, int nWidth,
                                      int nHeight, COLORREF crTransparent) {
    if (pBitmap == nullptr || pBitmap->m_hObject == nullptr || pDC == nullptr)
        return;
    COLORREF crOldBack = pDC->SetBkColor(kWhite);
    COLORREF crOldText = pDC->SetTextColor(kBlack);
    CDC dcImage;
    CDC dcMask;
    CBitmap bmpMask;
    if (dcImage.CreateCompatibleDC(pDC) && dcMask.CreateCompatibleDC(pDC) &&
        bmpMask.CreateBitmap(nWidth, nHeight, 1, 1, nullptr)) {
        CScopedSelect selectImage(dcImage, pBitmap);
        CScopedSelect selectMask(dcMask, &bmpMask);
        COLORREF crOldImageBack = dcImage.SetBkColor(crTransparent);
        ::BitBlt(dcMask, 0, 0, nWidth, nHeight, dcImage, 0, 0, SRCCOPY);
        dcImage.SetBkColor(crOldImageBack);
        ::BitBlt(*pDC, x, y, nWidth, nHeight, dcImage, 0, 0, SRCINVERT);
        ::BitBlt(*pDC, x, y, nWidth, nHeight, dcMask, 0, 0, SRCAND);
        ::BitBlt(*pDC, x, y, nWidth, nHeight, dcImage, 0, 0, SRCINVERT);
    }
    pDC->SetBkColor(crOldBack);
    pDC->SetTextColor(crOldText);
}

void COXSkinXP::FillButtonBackground(CDC* pWorkDC, const CRect& rectButton, COLORREF crBackground,
                                     CWnd* /*pOwner*/) {
    const CRect rectWork(0, 0, rectButton.Width(), rectButton.Height());
    ::SetBkColor(*pWorkDC, crBackground);
    ::ExtTextOutA(*pWorkDC, 0, 0, ETO_OPAQUE, &rectWork, nullptr, 0, nullptr);
}

void COXSkinXP::DrawFrameButton(CDC* pDC, const CRect& rect, UINT nGlyphState, BOOL bTint,
                                BOOL bLight, COLORREF crBackground, CWnd* pOwner) {
    const int nWidth = rect.Width();
    const int nHeight = rect.Height();
    if (pDC == nullptr || pOwner == nullptr || nWidth <= 2 * kGlyphInset ||
        nHeight <= 2 * kGlyphInset)
        return;
    COLORREF crTint = kBlack;
    if (bTint) {
        const int nShift = bLight ? kTintLighter : kTintDarker;
        crTint = ShiftColor(crBackground, nShift, nShift, nShift);
        bLight = FALSE;
    }

    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    CRect rectOwner;
    ::GetWindowRect(pOwner->GetSafeHwnd(), &rectOwner);
    ptCursor.Offset(-rectOwner.left, -rectOwner.top);
    const BOOL bInButton = rect.PtInRect(ptCursor);
    const BOOL bCaptured = ::GetCapture() != nullptr;

    CDC dcWork;
    CBitmap bmpWork;
    if (!dcWork.CreateCompatibleDC(pDC) || !bmpWork.CreateCompatibleBitmap(pDC, nWidth, nHeight))
        return;
    {
        CScopedSelect selectWork(dcWork, &bmpWork);
        CRect rectWork(0, 0, nWidth, nHeight);
        if (!bInButton || bTint) {
            FillButtonBackground(&dcWork, rect, crBackground, pOwner);
        } else {
            CBrush brush;
            CPen pen;
            if (brush.CreateSolidBrush(bCaptured ? GetPressedColor() : GetHotColor()) &&
                pen.CreatePen(PS_SOLID, 1, GetBorderColor())) {
                CScopedSelect selectBrush(dcWork, &brush);
                CScopedSelect selectPen(dcWork, &pen);
                ::Rectangle(dcWork, 0, 0, nWidth, nHeight);
            }
        }

        // DrawFrameControl draws a whole button; drawn 2 pixels larger than the
        // glyph bitmap on every side, only the glyph on the face colour remains.
        const int nGlyphWidth = nWidth - 2 * kGlyphInset;
        const int nGlyphHeight = nHeight - 2 * kGlyphInset;
        CDC dcGlyph;
        CBitmap bmpGlyph;
        if (!dcGlyph.CreateCompatibleDC(pDC) ||
            !bmpGlyph.CreateCompatibleBitmap(pDC, nGlyphWidth, nGlyphHeight))
            return;
        COLORREF crTransparent = Sys(COLOR_BTNFACE);
        {
            CScopedSelect selectGlyph(dcGlyph, &bmpGlyph);
            RECT rectControl = {-kGlyphInset, -kGlyphInset, nGlyphWidth + kGlyphInset,
                                nGlyphHeight + kGlyphInset};
            ::DrawFrameControl(dcGlyph, &rectControl, DFC_CAPTION, nGlyphState | DFCS_FLAT);
            if ((bCaptured && bInButton) || (bLight && !bInButton)) {
                ::PatBlt(dcGlyph, 0, 0, nGlyphWidth, nGlyphHeight, DSTINVERT);
                crTransparent = InvertColor(crTransparent);
            }
        }
        DrawTransparentBitmap(&bmpGlyph, &dcWork, kGlyphInset, kGlyphInset, nGlyphWidth,
                              nGlyphHeight, crTransparent);
    }

    if (!bTint) {
        CScopedSelect selectWork(dcWork, &bmpWork);
        ::BitBlt(*pDC, rect.left, rect.top, nWidth, nHeight, dcWork, 0, 0, SRCCOPY);
        return;
    }
    // The black glyph takes the tint: the tinted bitmap shows through it only.
    CDC dcTint;
    CBitmap bmpTint;
    if (!dcTint.CreateCompatibleDC(pDC) || !bmpTint.CreateCompatibleBitmap(pDC, nWidth, nHeight))
        return;
    CScopedSelect selectTint(dcTint, &bmpTint);
    CRect rectTint(0, 0, nWidth, nHeight);
    ::SetBkColor(dcTint, crTint);
    ::ExtTextOutA(dcTint, 0, 0, ETO_OPAQUE, &rectTint, nullptr, 0, nullptr);
    DrawTransparentBitmap(&bmpWork, &dcTint, 0, 0, nWidth, nHeight, kBlack);
    ::BitBlt(*pDC, rect.left, rect.top, nWidth, nHeight, dcTint, 0, 0, SRCCOPY);
}
