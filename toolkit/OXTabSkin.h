// OXTabSkin.h: the element skins of skinned tab controls and the MDI tabs: COXTabSkin and its
// families COXTabSkinClassic, COXTabSkinXP and COXTabSkin2003.
//
// Status: only what the skins need to own the family (construction, the skin
// pointer, virtual destruction); the drawing operations are not implemented yet.
#pragma once

#include "OXSkins.h"

class COXTabSkin {
public:
    COXTabSkin() = default;
    virtual ~COXTabSkin() = default;
    COXTabSkin(const COXTabSkin&) = delete;
    COXTabSkin& operator=(const COXTabSkin&) = delete;
};

// Draws with system colours.
class COXTabSkinClassic : public COXTabSkin {};

class COXTabSkinXP : public COXTabSkin {
public:
    explicit COXTabSkinXP(COXSkinXP* pSkin) : m_pSkin(pSkin) {}

protected:
    COXSkinXP* m_pSkin; // not owned: the skin owns this element skin and outlives it
};

// Its skin pointer refers to a COXSkin2003.
class COXTabSkin2003 : public COXTabSkinXP {
public:
    explicit COXTabSkin2003(COXSkin2003* pSkin) : COXTabSkinXP(pSkin) {}
};
