// OXShortcutBarSkin.h: the element skins of the shortcut bar:
// COXShortcutBarSkin and its families COXShortcutBarSkinClassic,
// COXShortcutBarSkinXP and COXShortcutBarSkin2003.
//
// Status: what the skins and the bar's layout need of the family (construction,
// the skin pointer, the skin type and the layout flag); the colour and drawing
// operations are not implemented yet.
#pragma once

#include "OXSkins.h"

class COXShortcutBarSkin {
public:
    virtual ~COXShortcutBarSkin() = default;
    COXShortcutBarSkin(const COXShortcutBarSkin&) = delete;
    COXShortcutBarSkin& operator=(const COXShortcutBarSkin&) = delete;

    // OX_SKIN_CLASSIC, OX_SKIN_XP or OX_SKIN_2003; the bar makes its group
    // headers taller for OX_SKIN_2003.
    virtual int GetSkinType() const { return OX_SKIN_BASE; }
    // FALSE for the 2003 family, whose bar keeps a title band above the groups.
    BOOL HasClassicLayout() const { return m_bClassicLayout; }

protected:
    explicit COXShortcutBarSkin(BOOL bClassicLayout) : m_bClassicLayout(bClassicLayout) {}

    BYTE m_bClassicLayout;
};

class COXShortcutBarSkinClassic : public COXShortcutBarSkin {
public:
    COXShortcutBarSkinClassic() : COXShortcutBarSkin(TRUE) {}
    int GetSkinType() const override { return OX_SKIN_CLASSIC; }
};

class COXShortcutBarSkinXP : public COXShortcutBarSkin {
public:
    explicit COXShortcutBarSkinXP(COXSkinXP* pSkin) : COXShortcutBarSkin(TRUE), m_pSkin(pSkin) {}
    int GetSkinType() const override { return OX_SKIN_XP; }

protected:
    COXShortcutBarSkinXP(COXSkinXP* pSkin, BOOL bClassicLayout)
        : COXShortcutBarSkin(bClassicLayout), m_pSkin(pSkin) {}

    COXSkinXP* m_pSkin; // not owned: the skin owns this element skin and outlives it
};

// Its skin pointer refers to a COXSkin2003.
class COXShortcutBarSkin2003 : public COXShortcutBarSkinXP {
public:
    explicit COXShortcutBarSkin2003(COXSkin2003* pSkin) : COXShortcutBarSkinXP(pSkin, FALSE) {}
    int GetSkinType() const override { return OX_SKIN_2003; }
};
