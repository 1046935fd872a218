// OXStatusbarSkin.h: the element skins of status bars: COXStatusbarSkin and its
// families COXStatusbarSkinClassic, COXStatusbarSkinXP and COXStatusbarSkin2003.
//
// Status: construction and destruction, which is all the skins need; no window
// of the program draws through a status-bar skin.
#pragma once

#include "OXSkins.h"

class COXStatusbarSkin {
public:
    COXStatusbarSkin() = default;
    virtual ~COXStatusbarSkin() = default;
    COXStatusbarSkin(const COXStatusbarSkin&) = delete;
    COXStatusbarSkin& operator=(const COXStatusbarSkin&) = delete;
};

// Draws with system colours.
class COXStatusbarSkinClassic : public COXStatusbarSkin {};

class COXStatusbarSkinXP : public COXStatusbarSkin {
public:
    explicit COXStatusbarSkinXP(COXSkinXP* pSkin) : m_pSkin(pSkin) {}

protected:
    COXSkinXP* m_pSkin; // not owned: the skin owns this element skin and outlives it
};

// Its skin pointer refers to a COXSkin2003.
class COXStatusbarSkin2003 : public COXStatusbarSkinXP {
public:
    explicit COXStatusbarSkin2003(COXSkin2003* pSkin) : COXStatusbarSkinXP(pSkin) {}
};
