// OXSkin2003.cpp: the Office 2003 skin: its colours with and without a visual
// theme, gradients and the gripper pattern.
#include "OXSkins.h"

#include "OXDockbarSkin.h"
#include "OXFrameSkin.h"
#include "OXMenuSkin.h"
#include "OXMiniFrameSkin.h"
#include "OXShortcutBarSkin.h"
#include "OXSizeCtrlBar.h"
#include "OXStatusbarSkin.h"
#include "OXTabSkin.h"
#include "OXToolbarSkin.h"
#include "OXWndGeometry.h"

namespace {

const COLORREF kBlack = RGB(0, 0, 0);

// The theme's system-colour indices read by the skin.
const int kThemeHighlight = COLOR_HIGHLIGHT;
const int kThemeCaption = COLOR_ACTIVECAPTION;
// The fixed colours of the skin while a theme is active.
const COLORREF kThemedHot = RGB(255, 238, 194);
const COLORREF kThemedChecked = RGB(255, 192, 111);
const COLORREF kThemedPressed = RGB(254, 128, 62);
const COLORREF kThemedMenu = RGB(246, 246, 246);
const COLORREF kThemedDisabled = RGB(141, 141, 141);
const COLORREF kThemedHotStart = RGB(255, 244, 204);
const COLORREF kThemedHotEnd = RGB(255, 208, 145);
const COLORREF kThemedPressedStart = RGB(254, 145, 78);
const COLORREF kThemedPressedEnd = RGB(255, 211, 142);
const COLORREF kThemedCheckedStart = RGB(255, 213, 140);
const COLORREF kThemedCheckedEnd = RGB(255, 173, 85);

// Distance between two pairs of gripper lines.
const int kGripperStep = 4;

COLORREF Sys(int nIndex) {
    return ::GetSysColor(nIndex);
}

COLORREF Mix(COLORREF crA, float fWeightA, COLORREF crB, float fWeightB) {
    return COXSkinXP::MixColors(crA, crB, kBlack, fWeightA, fWeightB, 0.0f);
}
COLORREF Mix(COLORREF crA, float fWeightA) {
    return COXSkinXP::MixColors(crA, kBlack, kBlack, fWeightA, 0.0f, 0.0f);
}
// W wa + TH wt, W wa + F wf: the two mixes that most colours are made of.
COLORREF WindowAndTheme(float fWeightWindow, COLORREF crTheme, float fWeightTheme) {
    return Mix(Sys(COLOR_WINDOW), fWeightWindow, crTheme, fWeightTheme);
}
COLORREF WindowAndFace(float fWeightWindow, float fWeightFace) {
    return Mix(Sys(COLOR_WINDOW), fWeightWindow, Sys(COLOR_BTNFACE), fWeightFace);
}

// A vertex channel of GradientFill holds the 8-bit value in its upper byte.
COLOR16 VertexChannel(BYTE nValue) {
    return static_cast<COLOR16>(nValue << 8);
}
TRIVERTEX Vertex(LONG x, LONG y, COLORREF crColor) {
    TRIVERTEX vertex = {};
    vertex.x = x;
    vertex.y = y;
    vertex.Red = VertexChannel(GetRValue(crColor));
    vertex.Green = VertexChannel(GetGValue(crColor));
    vertex.Blue = VertexChannel(GetBValue(crColor));
    vertex.Alpha = 0;
    return vertex;
}

// start + (end - start) * nStep / nSteps, truncated toward zero.
int Interpolate(int nStart, int nEnd, int nStep, int nSteps) {
    return nStart + (nEnd - nStart) * nStep / nSteps;
}

void DrawLine(HDC hDC, int x1, int y1, int x2, int y2) {
    ::MoveToEx(hDC, x1, y1, nullptr);
    ::LineTo(hDC, x2, y2);
}

} // namespace

COXSkin2003::COXSkin2003()
    : COXSkin("Office 2003"), COXSkinXP(NoElementSkins()),
      m_hMsimg32(::LoadLibraryA("Msimg32.dll")), m_pfnGradientFill(nullptr) {
    if (m_hMsimg32 != nullptr)
        m_pfnGradientFill = reinterpret_cast<PFN_GRADIENTFILL>(
            reinterpret_cast<void*>(::GetProcAddress(m_hMsimg32, "GradientFill")));
    m_pToolbarSkin = new COXToolbarSkin2003(this);
    m_pMenuSkin = new COXMenuSkin2003(this);
    m_pToolbarSkin2 = new COXToolbarSkinXP(this);
    m_pDockbarSkin = new COXDockbarSkin2003(this);
    m_pTabSkin = new COXTabSkin2003(this);
    m_pShortcutBarSkin = new COXShortcutBarSkin2003(this);
    m_pMiniFrameSkin = new COXMiniFrameSkinXP(this);
    m_pStatusbarSkin = new COXStatusbarSkin2003(this);
    m_pFrameSkin = new COXFrameSkin2003(this);
}

COXSkin2003::~COXSkin2003() {
    if (m_hMsimg32 != nullptr)
        ::FreeLibrary(m_hMsimg32);
}

// Every query asks anew, so switching the theme on or off shows at the next
// paint. The handle is closed at once: the queries come many times per paint.
BOOL COXSkin2003::GetThemeColors(COLORREF* pHighlight, COLORREF* pCaption) const {
    HTHEME hTheme = m_uxTheme.OpenThemeData(nullptr, "button");
    if (hTheme == nullptr)
        return FALSE;
    *pHighlight = m_uxTheme.GetThemeSysColor(hTheme, kThemeHighlight);
    *pCaption = m_uxTheme.GetThemeSysColor(hTheme, kThemeCaption);
    m_uxTheme.CloseThemeData(hTheme);
    return TRUE;
}

// ---- overrides of the Office XP colours

COLORREF COXSkin2003::GetHotColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? kThemedHot : COXSkinXP::GetHotColor();
}
COLORREF COXSkin2003::GetCheckedColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? kThemedChecked : COXSkinXP::GetCheckedColor();
}
COLORREF COXSkin2003::GetPressedColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? kThemedPressed : COXSkinXP::GetPressedColor();
}
COLORREF COXSkin2003::GetBorderColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? ShiftColor(crTC, 0, -84, -99) : Sys(COLOR_HIGHLIGHT);
}
COLORREF COXSkin2003::GetMenuColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? kThemedMenu : WindowAndFace(0.86f, 0.14f);
}
COLORREF COXSkin2003::GetShadowColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? Mix(crTC, 0.55f) : Sys(COLOR_BTNSHADOW);
}
COLORREF COXSkin2003::GetFaceColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? WindowAndTheme(0.7f, crTH, 0.3f) : Sys(COLOR_BTNFACE);
}
// Button text, with or without a theme.
COLORREF COXSkin2003::GetTabTextColor() const {
    return Sys(COLOR_BTNTEXT);
}
COLORREF COXSkin2003::GetSeparatorColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? WindowAndTheme(0.2f, crTH, 0.8f)
                                        : COXSkinXP::GetSeparatorColor();
}
// Without a theme the outline takes the Office XP separator colour, not the
// Office XP outline.
COLORREF COXSkin2003::GetOutlineColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? Mix(crTH, 0.5f) : COXSkinXP::GetSeparatorColor();
}
COLORREF COXSkin2003::GetGripperColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? Mix(crTH, 0.7f) : COXSkinXP::GetGripperColor();
}
COLORREF COXSkin2003::GetMiniFrameCaptionColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? crTH : Sys(COLOR_BTNSHADOW);
}
COLORREF COXSkin2003::GetMiniFrameBorderColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? crTH : COXSkinXP::GetMiniFrameBorderColor();
}
COLORREF COXSkin2003::GetMiniFrameInnerColor() const {
    return GetFaceColor();
}
COLORREF COXSkin2003::GetDisabledColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? kThemedDisabled : Sys(COLOR_GRAYTEXT);
}
COLORREF COXSkin2003::GetMenuDisabledTextColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? kThemedDisabled : GetSeparatorColor();
}

// ---- colours of the 2003 element skins

COLORREF COXSkin2003::GetHotGradientStart() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? kThemedHotStart : COXSkinXP::GetHotColor();
}
COLORREF COXSkin2003::GetHotGradientEnd() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? kThemedHotEnd : COXSkinXP::GetHotColor();
}
COLORREF COXSkin2003::GetPressedGradientStart() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? kThemedPressedStart : COXSkinXP::GetPressedColor();
}
COLORREF COXSkin2003::GetPressedGradientEnd() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? kThemedPressedEnd : COXSkinXP::GetPressedColor();
}
COLORREF COXSkin2003::GetCheckedGradientStart() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? kThemedCheckedStart : COXSkinXP::GetCheckedColor();
}
COLORREF COXSkin2003::GetCheckedGradientEnd() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? kThemedCheckedEnd : COXSkinXP::GetCheckedColor();
}
COLORREF COXSkin2003::GetToolbarLightColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? WindowAndTheme(0.95f, crTH, 0.05f)
                                        : WindowAndFace(0.78f, 0.22f);
}
COLORREF COXSkin2003::GetToolbarDarkColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? WindowAndTheme(0.2f, crTH, 0.8f)
                                        : WindowAndFace(0.04f, 0.96f);
}
COLORREF COXSkin2003::GetDockAreaLightColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? WindowAndTheme(0.7f, crTH, 0.3f)
                                        : WindowAndFace(0.8f, 0.2f);
}
COLORREF COXSkin2003::GetDockAreaDarkColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? WindowAndTheme(0.5f, crTH, 0.5f) : Sys(COLOR_BTNFACE);
}
COLORREF COXSkin2003::GetMenuLightColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? WindowAndTheme(0.95f, crTH, 0.05f)
                                        : WindowAndFace(0.86f, 0.14f);
}
COLORREF COXSkin2003::GetMenuDarkColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? WindowAndTheme(0.2f, crTH, 0.8f)
                                        : WindowAndFace(0.08f, 0.92f);
}
COLORREF COXSkin2003::GetMenuBarItemLightColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? WindowAndTheme(0.95f, crTH, 0.05f)
                                        : WindowAndFace(0.86f, 0.14f);
}
COLORREF COXSkin2003::GetMenuBarItemDarkColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? WindowAndTheme(0.2f, crTH, 0.8f)
                                        : WindowAndFace(0.58f, 0.42f);
}
COLORREF COXSkin2003::GetTabLightColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? WindowAndTheme(0.95f, crTH, 0.05f)
                                        : WindowAndFace(0.78f, 0.22f);
}
COLORREF COXSkin2003::GetTabDarkColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? WindowAndTheme(0.2f, crTH, 0.8f)
                                        : WindowAndFace(0.04f, 0.96f);
}
COLORREF COXSkin2003::GetTabSelectedLightColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? WindowAndTheme(0.95f, crTH, 0.05f)
                                        : WindowAndFace(0.73f, 0.27f);
}
COLORREF COXSkin2003::GetTabSelectedDarkColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? WindowAndTheme(0.7f, crTH, 0.3f) : Sys(COLOR_BTNFACE);
}
COLORREF COXSkin2003::GetDockbarLightColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? WindowAndTheme(0.95f, crTH, 0.05f)
                                        : WindowAndFace(0.73f, 0.27f);
}
COLORREF COXSkin2003::GetDockbarDarkColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? WindowAndTheme(0.2f, crTH, 0.8f) : Sys(COLOR_BTNFACE);
}
COLORREF COXSkin2003::GetDockbarAccentColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? WindowAndTheme(0.5f, crTH, 0.5f)
                                        : COXSkinXP::GetSeparatorColor();
}
COLORREF COXSkin2003::GetShortcutBarLightColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? WindowAndTheme(0.95f, crTH, 0.05f)
                                        : WindowAndFace(0.86f, 0.14f);
}
COLORREF COXSkin2003::GetShortcutBarDarkColor() const {
    COLORREF crTH, crTC;
    return GetThemeColors(&crTH, &crTC) ? WindowAndTheme(0.5f, crTH, 0.5f) : GetBarColor();
}

// ---- gradients

void COXSkin2003::FillGradient(CDC* pDC, const CRect& rect, COLORREF crStart, COLORREF crEnd,
                               int nMode) const {
    if (m_pfnGradientFill == nullptr) {
        FillGradientByLines(pDC, rect, crStart, crEnd, nMode);
        return;
    }
    TRIVERTEX vertices[2] = {Vertex(rect.left, rect.top, crStart),
                             Vertex(rect.right, rect.bottom, crEnd)};
    GRADIENT_RECT mesh = {0, 1};
    m_pfnGradientFill(*pDC, vertices, 2, &mesh, 1,
                      nMode == OX_GRADIENT_VERTICAL ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

void COXSkin2003::FillGradientByLines(CDC* pDC, const CRect& rect, COLORREF crStart, COLORREF crEnd,
                                      int nMode) {
    const BOOL bVertical = nMode == OX_GRADIENT_VERTICAL;
    const int nSteps = bVertical ? rect.Height() : rect.Width();
    for (int i = 0; i < nSteps; ++i) {
        COLORREF crLine = RGB(Interpolate(GetRValue(crStart), GetRValue(crEnd), i, nSteps),
                              Interpolate(GetGValue(crStart), GetGValue(crEnd), i, nSteps),
                              Interpolate(GetBValue(crStart), GetBValue(crEnd), i, nSteps));
        CPen pen;
        if (!pen.CreatePen(PS_SOLID, 1, crLine))
            return;
        CScopedSelect selectPen(*pDC, &pen);
        if (bVertical)
            DrawLine(*pDC, rect.left, rect.top + i, rect.right, rect.top + i);
        else
            DrawLine(*pDC, rect.left + i, rect.top, rect.left + i, rect.bottom);
    }
}

void COXSkin2003::FillCornerGradient(CDC* pDC, const CRect& rect, COLORREF crTopLeft,
                                     COLORREF crTopRight, COLORREF crBottomLeft,
                                     COLORREF crBottomRight) const {
    if (m_pfnGradientFill == nullptr) {
        FillCornerGradientByLines(pDC, rect, crTopLeft, crTopRight, crBottomLeft);
        return;
    }
    TRIVERTEX vertices[6] = {Vertex(rect.left, rect.top, crTopLeft),
                             Vertex(rect.right, rect.top, crTopRight),
                             Vertex(rect.left, rect.bottom, crBottomLeft),
                             Vertex(rect.right, rect.top, crTopRight),
                             Vertex(rect.left, rect.bottom, crBottomLeft),
                             Vertex(rect.right, rect.bottom, crBottomRight)};
    GRADIENT_TRIANGLE meshes[2] = {{0, 1, 2}, {3, 4, 5}};
    m_pfnGradientFill(*pDC, vertices, 6, meshes, 2, GRADIENT_FILL_TRIANGLE);
}

void COXSkin2003::FillCornerGradientByLines(CDC* pDC, const CRect& rect, COLORREF crTopLeft,
                                            COLORREF crTopRight, COLORREF crBottomLeft) {
    if (rect.Width() >= rect.Height())
        FillGradientByLines(pDC, rect, crTopLeft, crBottomLeft, OX_GRADIENT_VERTICAL);
    else
        FillGradientByLines(pDC, rect, crTopLeft, crTopRight, OX_GRADIENT_HORIZONTAL);
}

// Each dark pair has its light pair one pixel right and down, which makes the
// dotted relief of the grippers.
void COXSkin2003::FillButtonBackground(CDC* pWorkDC, const CRect& rectButton, COLORREF crBackground,
                                       CWnd* pOwner) {
    auto* pBar = dynamic_cast<COXSizeControlBar*>(pOwner);
    if (pBar == nullptr) {
        COXSkinXP::FillButtonBackground(pWorkDC, rectButton, crBackground, pOwner);
        return;
    }
    // The caption band in the button's coordinates, so that the gradient
    // runs on through the button as it does around it.
    CRect rectCaption = pBar->m_rectCaption;
    rectCaption.OffsetRect(OXClientOffsetInWindow(pBar) - rectButton.TopLeft());
    CRect rectFill;
    int nMode;
    if (pBar->GetBarStyle() & CBRS_ORIENT_HORZ) {
        rectFill.SetRect(rectCaption.left, 0, rectCaption.right, rectButton.Height());
        nMode = OX_GRADIENT_HORIZONTAL;
    } else {
        rectFill.SetRect(0, rectCaption.top, rectButton.Width(), rectCaption.bottom);
        nMode = OX_GRADIENT_VERTICAL;
    }
    FillGradient(pWorkDC, rectFill, GetDockbarLightColor(), GetDockbarDarkColor(), nMode);
}

void COXSkin2003::DrawGripperPattern(CDC* pDC, const CRect& rect, BOOL bHorizontal) const {
    CPen penDark;
    CPen penLight;
    if (!penDark.CreatePen(PS_SOLID, 1, GetGripperColor()) ||
        !penLight.CreatePen(PS_SOLID, 1, Sys(COLOR_WINDOW)))
        return;
    HDC hDC = *pDC;
    if (bHorizontal) {
        for (int y = rect.top; y <= rect.bottom; y += kGripperStep) {
            CScopedSelect selectDark(*pDC, &penDark);
            DrawLine(hDC, rect.left, y, rect.right, y);
            DrawLine(hDC, rect.left, y + 1, rect.right, y + 1);
            CScopedSelect selectLight(*pDC, &penLight);
            DrawLine(hDC, rect.left + 1, y + 1, rect.right + 1, y + 1);
            DrawLine(hDC, rect.left + 1, y + 2, rect.right + 1, y + 2);
        }
    } else {
        for (int x = rect.left; x <= rect.right; x += kGripperStep) {
            CScopedSelect selectDark(*pDC, &penDark);
            DrawLine(hDC, x, rect.top, x, rect.bottom);
            DrawLine(hDC, x + 1, rect.top, x + 1, rect.bottom);
            CScopedSelect selectLight(*pDC, &penLight);
            DrawLine(hDC, x + 1, rect.top + 1, x + 1, rect.bottom + 1);
            DrawLine(hDC, x + 2, rect.top + 1, x + 2, rect.bottom + 1);
        }
    }
}
