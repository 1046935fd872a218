// OXDockbarSkin.h: the element skins of sizeable bars, dock bars and their splitters:
// COXDockbarSkin and its families COXDockbarSkinClassic, COXDockbarSkinXP and COXDockbarSkin2003.
//
// Status: only what the skins need to own the family (construction, the skin
// pointer, virtual destruction); the drawing operations are not implemented yet.
#pragma once

#include "OXSkins.h"

class COXDockbarSkin {
public:
    COXDockbarSkin() = default;
    virtual ~COXDockbarSkin() = default;
    COXDockbarSkin(const COXDockbarSkin&) = delete;
    COXDockbarSkin& operator=(const COXDockbarSkin&) = delete;
};

// Draws with system colours.
class COXDockbarSkinClassic : public COXDockbarSkin {};

class COXDockbarSkinXP : public COXDockbarSkin {
public:
    explicit COXDockbarSkinXP(COXSkinXP* pSkin) : m_pSkin(pSkin) {}

protected:
    COXSkinXP* m_pSkin; // not owned: the skin owns this element skin and outlives it
};

// Its skin pointer refers to a COXSkin2003.
class COXDockbarSkin2003 : public COXDockbarSkinXP {
public:
    explicit COXDockbarSkin2003(COXSkin2003* pSkin) : COXDockbarSkinXP(pSkin) {}
};
