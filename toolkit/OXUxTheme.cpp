// OXUxTheme.cpp: the theme library loaded at run time, and the Windows XP
// visual-styles probe.
#include "OXUxTheme.h"

#include <shlwapi.h>

#include <vector>

namespace {

typedef HTHEME(WINAPI* PFN_OPENTHEMEDATA)(HWND, LPCWSTR);
typedef COLORREF(WINAPI* PFN_GETTHEMESYSCOLOR)(HTHEME, int);
typedef HRESULT(WINAPI* PFN_CLOSETHEMEDATA)(HTHEME);
typedef BOOL(WINAPI* PFN_ISAPPTHEMED)();
typedef BOOL(WINAPI* PFN_ISTHEMEACTIVE)();
typedef HRESULT(WINAPI* PFN_DLLGETVERSION)(DLLVERSIONINFO*);

// The version Windows XP reports (5.1).
const DWORD kXPMajorVersion = 5;
const DWORD kXPMinorVersion = 1;
// The first common controls that draw with visual styles.
const DWORD kThemedComctlMajorVersion = 6;

template <class PFN> PFN Resolve(HMODULE hModule, LPCSTR lpszName) {
    return reinterpret_cast<PFN>(reinterpret_cast<void*>(GetProcAddress(hModule, lpszName)));
}

// Step 2 of the probe: the program is themed and a theme is active.
BOOL IsThemeInForce(HMODULE hThemeLib) {
    PFN_ISAPPTHEMED pfnIsAppThemed = Resolve<PFN_ISAPPTHEMED>(hThemeLib, "IsAppThemed");
    PFN_ISTHEMEACTIVE pfnIsThemeActive = Resolve<PFN_ISTHEMEACTIVE>(hThemeLib, "IsThemeActive");
    if (pfnIsAppThemed == nullptr || pfnIsThemeActive == nullptr)
        return FALSE;
    return pfnIsAppThemed() && pfnIsThemeActive();
}

// Step 3: the common controls can draw with visual styles.
BOOL IsThemingComctl(HMODULE hComctl) {
    PFN_DLLGETVERSION pfnGetVersion = Resolve<PFN_DLLGETVERSION>(hComctl, "DllGetVersion");
    if (pfnGetVersion == nullptr)
        return FALSE;
    DLLVERSIONINFO version = {};
    version.cbSize = sizeof(version);
    if (pfnGetVersion(&version) != S_OK)
        return FALSE;
    return version.dwMajorVersion >= kThemedComctlMajorVersion;
}

} // namespace

COXUxTheme::COXUxTheme() : m_hThemeLib(LoadLibraryA("UxTheme.dll")) {}

COXUxTheme::~COXUxTheme() {
    if (m_hThemeLib != nullptr)
        FreeLibrary(m_hThemeLib);
}

HTHEME COXUxTheme::OpenThemeData(HWND hWnd, LPCSTR lpszClassList) const {
    if (m_hThemeLib == nullptr || lpszClassList == nullptr)
        return nullptr;
    PFN_OPENTHEMEDATA pfnOpen = Resolve<PFN_OPENTHEMEDATA>(m_hThemeLib, "OpenThemeData");
    if (pfnOpen == nullptr)
        return nullptr;
    int nChars = MultiByteToWideChar(CP_ACP, 0, lpszClassList, -1, nullptr, 0);
    if (nChars <= 0)
        return nullptr;
    std::vector<WCHAR> classList(nChars);
    MultiByteToWideChar(CP_ACP, 0, lpszClassList, -1, classList.data(), nChars);
    return pfnOpen(hWnd, classList.data());
}

// A handle only comes from a loaded library, but a missing export must not be
// called: without it the system colour is what an unthemed system shows.
COLORREF COXUxTheme::GetThemeSysColor(HTHEME hTheme, int nColorID) const {
    PFN_GETTHEMESYSCOLOR pfnGet =
        m_hThemeLib ? Resolve<PFN_GETTHEMESYSCOLOR>(m_hThemeLib, "GetThemeSysColor") : nullptr;
    if (pfnGet == nullptr)
        return ::GetSysColor(nColorID);
    return pfnGet(hTheme, nColorID);
}

void COXUxTheme::CloseThemeData(HTHEME hTheme) const {
    if (hTheme == nullptr || m_hThemeLib == nullptr)
        return;
    PFN_CLOSETHEMEDATA pfnClose = Resolve<PFN_CLOSETHEMEDATA>(m_hThemeLib, "CloseThemeData");
    if (pfnClose != nullptr)
        pfnClose(hTheme);
}

BOOL IsThemedWindowsXP() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExA(&version) || version.dwMajorVersion != kXPMajorVersion ||
        version.dwMinorVersion != kXPMinorVersion)
        return FALSE;
    HMODULE hThemeLib = LoadLibraryA("uxtheme.dll");
    BOOL bThemed = hThemeLib != nullptr && IsThemeInForce(hThemeLib);
    if (bThemed) {
        HMODULE hComctl = LoadLibraryA("comctl32.dll");
        bThemed = hComctl != nullptr && IsThemingComctl(hComctl);
        if (hComctl != nullptr)
            FreeLibrary(hComctl);
    }
    if (hThemeLib != nullptr)
        FreeLibrary(hThemeLib);
    return bThemed;
}
