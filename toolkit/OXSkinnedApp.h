// OXSkinnedApp.h: COXSkinnedApp, the base of the application object: it owns
// the three skins ("Classic", "Office XP", "Office 2003"), knows the current
// one and re-lays out and redraws the main window and its floating frames
// when the skin changes.
//
// Windows keep no skin of their own while a skinned application exists: at
// every paint they ask OXGetElementSkin for their element skin, which falls
// back on a Classic element skin of their own.
//
// Classes: COXSkinnedApp; OXGetCurrentSkin, OXGetElementSkin.
#pragma once

#include "OXSkins.h"
#include "PtrCollections.h"
#include "WinApp.h"

class CWnd;

class COXSkinnedApp : public CWinApp {
    DECLARE_DYNAMIC(COXSkinnedApp)
public:
    // Makes the three skins and selects "Office XP".
    explicit COXSkinnedApp(LPCTSTR lpszAppName = nullptr);
    // Deletes every skin.
    ~COXSkinnedApp() override;

    // Takes ownership of the skin, stored under its name.
    void AddSkin(COXSkin* pSkin);
    // Selects the skin of that exact name (letter case counts) and, when the
    // main window exists, re-lays out and redraws it and its floating frames.
    // An unknown name leaves no current skin and redraws nothing: FALSE.
    BOOL SetCurrentSkin(LPCTSTR lpszName);
    // Null when no skin is selected.
    COXSkin* GetCurrentSkin() const { return m_pCurrentSkin; }

    // Sends the window a WM_SIZE of its client size (unless it is maximised),
    // recomputes its frame and redraws it, then does the same for each child,
    // depth first.
    void RedrawSkinnedWindow(CWnd* pWnd);
    // RedrawSkinnedWindow for every floating mini-frame of the main window.
    void RedrawFloatingFrames(CWnd* pMainWnd);

protected:
    CMapStringToPtr m_mapSkins; // name to COXSkin*; owns the skins
    COXSkin* m_pCurrentSkin;    // one of m_mapSkins, or null
};

// The current skin of the application object, or null when it is no
// COXSkinnedApp or has no skin selected.
COXSkin* OXGetCurrentSkin();

// The element skin that pGetElement answers of the current skin; without one,
// the Classic element skin in pOwnClassic, made on first use and owned by the
// caller (who deletes it).
template <class TClassic, class TElement>
TElement* OXGetElementSkin(TElement* (COXSkin::*pGetElement)() const, TElement*& pOwnClassic) {
    COXSkin* pSkin = OXGetCurrentSkin();
    TElement* pElement = pSkin != nullptr ? (pSkin->*pGetElement)() : nullptr;
    if (pElement != nullptr)
        return pElement;
    if (pOwnClassic == nullptr)
        pOwnClassic = new TClassic;
    return pOwnClassic;
}
