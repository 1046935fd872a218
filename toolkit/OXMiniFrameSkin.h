// OXMiniFrameSkin.h: the element skins of the floating frames of bars:
// COXMiniFrameSkin and its families COXMiniFrameSkinClassic (the system's own
// caption and border) and COXMiniFrameSkinXP (flat, in the colours of its
// skin; the Office 2003 skin uses it with its own colours).
//
// The XP skin draws its own close button, hot while the cursor is over it and
// pressed while the left button is held there; both states are read from the
// cursor and the mouse button at every call.
#pragma once

#include "OXSkins.h"

#include "framework/Gdi.h"

class CMiniFrameWnd;

class COXMiniFrameSkin {
public:
    COXMiniFrameSkin() = default;
    virtual ~COXMiniFrameSkin() = default;
    COXMiniFrameSkin(const COXMiniFrameSkin&) = delete;
    COXMiniFrameSkin& operator=(const COXMiniFrameSkin&) = delete;

    virtual void DrawNonClient(CMiniFrameWnd* pFrame) = 0;
    // The result of the frame's WM_NCACTIVATE.
    virtual BOOL OnNcActivate(BOOL bActive, CMiniFrameWnd* pFrame) = 0;
    virtual void DrawCaption(CMiniFrameWnd* pFrame) = 0;
    // TRUE when the skin handles the close button itself, FALSE when the
    // frame's standard close box applies.
    virtual BOOL DrawCloseButton(CMiniFrameWnd* pFrame) = 0;
};

class COXMiniFrameSkinClassic : public COXMiniFrameSkin {
public:
    void DrawNonClient(CMiniFrameWnd* pFrame) override;
    BOOL OnNcActivate(BOOL bActive, CMiniFrameWnd* pFrame) override;
    void DrawCaption(CMiniFrameWnd* pFrame) override;
    BOOL DrawCloseButton(CMiniFrameWnd* pFrame) override;
};

class COXMiniFrameSkinXP : public COXMiniFrameSkin {
public:
    explicit COXMiniFrameSkinXP(COXSkinXP* pSkin);
    void DrawNonClient(CMiniFrameWnd* pFrame) override;
    BOOL OnNcActivate(BOOL bActive, CMiniFrameWnd* pFrame) override;
    void DrawCaption(CMiniFrameWnd* pFrame) override;
    BOOL DrawCloseButton(CMiniFrameWnd* pFrame) override;
    // The caption band in window coordinates.
    CRect GetCaptionRect(CMiniFrameWnd* pFrame) const;

protected:
    COXSkinXP* m_pSkin;  // not owned: the skin owns this element skin and outlives it
    CFont m_fontCaption; // "Tahoma BOLD", 8.5 points
};
