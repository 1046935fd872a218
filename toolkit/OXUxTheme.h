// OXUxTheme.h: COXUxTheme, the run-time access to the theme library
// ("UxTheme.dll") through which the Office 2003 skin reads theme colours, and
// IsThemedWindowsXP, the probe of the Classic tab skin.
//
// Nothing here imports the theme library: it is loaded when the object is made
// and every function is resolved when it is called, so the program runs on
// systems without the library. A Wine prefix runs Wine's own "Light" theme
// unless its theme is switched off, so OpenThemeData normally answers a
// handle there; without the library it answers null.
#pragma once

#include <windows.h>

#include <uxtheme.h>

class COXUxTheme {
public:
    // Loads the theme library; a failure leaves the object without one and is
    // not reported.
    COXUxTheme();
    virtual ~COXUxTheme();
    COXUxTheme(const COXUxTheme&) = delete;
    COXUxTheme& operator=(const COXUxTheme&) = delete;

    // The theme data of the window for a class list such as "button"; null
    // when the library or its export is missing or no theme is active, which
    // callers take as "no visual theme". A non-null handle goes back through
    // CloseThemeData.
    HTHEME OpenThemeData(HWND hWnd, LPCSTR lpszClassList) const;
    // The theme's colour of a system-colour index (COLOR_HIGHLIGHT, ...); the
    // system colour when the export is missing.
    COLORREF GetThemeSysColor(HTHEME hTheme, int nColorID) const;
    // Gives back a handle of OpenThemeData; null is ignored.
    void CloseThemeData(HTHEME hTheme) const;

private:
    HMODULE m_hThemeLib; // owns one reference of the library; null when it failed to load
};

// TRUE only on Windows XP (5.1) with visual styles in force for the program:
// the theme library reports an application theme and an active theme, and the
// common controls are of version 6 or later. Loads and frees both libraries
// on every call.
BOOL IsThemedWindowsXP();
