// OXMenuSkin.h: the element skins of bitmap menus and the menu bar: COXMenuSkin and its
// families COXMenuSkinClassic, COXMenuSkinXP and COXMenuSkin2003.
//
// Status: only what the skins need to own the family (construction, the skin
// pointer, virtual destruction); the drawing operations are not implemented yet.
#pragma once

#include "OXSkins.h"

class COXMenuSkin {
public:
    COXMenuSkin() = default;
    virtual ~COXMenuSkin() = default;
    COXMenuSkin(const COXMenuSkin&) = delete;
    COXMenuSkin& operator=(const COXMenuSkin&) = delete;
};

// Draws with system colours.
class COXMenuSkinClassic : public COXMenuSkin {};

class COXMenuSkinXP : public COXMenuSkin {
public:
    explicit COXMenuSkinXP(COXSkinXP* pSkin) : m_pSkin(pSkin) {}

protected:
    COXSkinXP* m_pSkin; // not owned: the skin owns this element skin and outlives it
};

// Its skin pointer refers to a COXSkin2003.
class COXMenuSkin2003 : public COXMenuSkinXP {
public:
    explicit COXMenuSkin2003(COXSkin2003* pSkin) : COXMenuSkinXP(pSkin) {}
};
