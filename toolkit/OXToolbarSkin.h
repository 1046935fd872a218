// OXToolbarSkin.h: the element skins of toolbar and menu-bar buttons: COXToolbarSkin and its
// families COXToolbarSkinClassic, COXToolbarSkinXP and COXToolbarSkin2003.
//
// Status: only what the skins need to own the family (construction, the skin
// pointer, virtual destruction); the drawing operations are not implemented yet.
#pragma once

#include "OXSkins.h"

class COXToolbarSkin {
public:
    COXToolbarSkin() = default;
    virtual ~COXToolbarSkin() = default;
    COXToolbarSkin(const COXToolbarSkin&) = delete;
    COXToolbarSkin& operator=(const COXToolbarSkin&) = delete;
};

// Draws with system colours.
class COXToolbarSkinClassic : public COXToolbarSkin {};

class COXToolbarSkinXP : public COXToolbarSkin {
public:
    explicit COXToolbarSkinXP(COXSkinXP* pSkin) : m_pSkin(pSkin) {}

protected:
    COXSkinXP* m_pSkin; // not owned: the skin owns this element skin and outlives it
};

// Its skin pointer refers to a COXSkin2003.
class COXToolbarSkin2003 : public COXToolbarSkinXP {
public:
    explicit COXToolbarSkin2003(COXSkin2003* pSkin) : COXToolbarSkinXP(pSkin) {}
};
