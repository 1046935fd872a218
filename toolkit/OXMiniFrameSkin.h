// OXMiniFrameSkin.h: the element skins of floating mini-frames: COXMiniFrameSkin and its
// families COXMiniFrameSkinClassic, COXMiniFrameSkinXP and COXMiniFrameSkin2003.
//
// Status: only what the skins need to own the family (construction, the skin
// pointer, virtual destruction); the drawing operations are not implemented yet.
#pragma once

#include "OXSkins.h"

class COXMiniFrameSkin {
public:
    COXMiniFrameSkin() = default;
    virtual ~COXMiniFrameSkin() = default;
    COXMiniFrameSkin(const COXMiniFrameSkin&) = delete;
    COXMiniFrameSkin& operator=(const COXMiniFrameSkin&) = delete;
};

// Draws with system colours.
class COXMiniFrameSkinClassic : public COXMiniFrameSkin {};

class COXMiniFrameSkinXP : public COXMiniFrameSkin {
public:
    explicit COXMiniFrameSkinXP(COXSkinXP* pSkin) : m_pSkin(pSkin) {}

protected:
    COXSkinXP* m_pSkin; // not owned: the skin owns this element skin and outlives it
};

// Its skin pointer refers to a COXSkin2003.
class COXMiniFrameSkin2003 : public COXMiniFrameSkinXP {
public:
    explicit COXMiniFrameSkin2003(COXSkin2003* pSkin) : COXMiniFrameSkinXP(pSkin) {}
};
