// OXFrameSkin.h: the element skins of frame windows: COXFrameSkin and its
// families COXFrameSkinClassic, COXFrameSkinXP and COXFrameSkin2003.
//
// No window of the program asks a skin for its frame skin, so the family
// carries no drawing operations: it is made and destroyed with its skin.
#pragma once

#include "OXSkins.h"

class COXFrameSkin {
public:
    COXFrameSkin() = default;
    virtual ~COXFrameSkin() = default;
    COXFrameSkin(const COXFrameSkin&) = delete;
    COXFrameSkin& operator=(const COXFrameSkin&) = delete;
};

// Draws with system colours.
class COXFrameSkinClassic : public COXFrameSkin {};

class COXFrameSkinXP : public COXFrameSkin {
public:
    explicit COXFrameSkinXP(COXSkinXP* pSkin) : m_pSkin(pSkin) {}

protected:
    COXSkinXP* m_pSkin; // not owned: the skin owns this element skin and outlives it
};

// Its skin pointer refers to a COXSkin2003.
class COXFrameSkin2003 : public COXFrameSkinXP {
public:
    explicit COXFrameSkin2003(COXSkin2003* pSkin) : COXFrameSkinXP(pSkin) {}
};
