#include "native/gtest.h"

#include "toolkit/OXUxTheme.h"
#include "tests/support/ChildProcess.h"

#include <windows.h>

namespace {

// The prefix runs Wine's "Light" theme.
TEST(OXUxTheme, WithAnActiveThemeOpenThemeDataAnswersAHandleForTheColours) {
    COXUxTheme theme;
    for (HWND hWnd : {HWND(nullptr), GetDesktopWindow()}) {
        HTHEME hTheme = theme.OpenThemeData(hWnd, "button");
        ASSERT_NE(nullptr, hTheme);
        COLORREF crHighlight = theme.GetThemeSysColor(hTheme, COLOR_HIGHLIGHT);
        EXPECT_EQ(0u, crHighlight & 0xFF000000u);
        theme.CloseThemeData(hTheme);
    }
    EXPECT_EQ(nullptr, theme.OpenThemeData(nullptr, nullptr));
    EXPECT_EQ(nullptr, theme.OpenThemeData(nullptr, "NoSuchClassAnywhere"));
    theme.CloseThemeData(nullptr);
    // Wine reports a later Windows than XP.
    EXPECT_FALSE(IsThemedWindowsXP());
}

// Runs in a child process that Wine starts without the theme library (below).
TEST(OXUxTheme, DISABLED_ChildWithoutThemeLibrary) {
    ASSERT_EQ(nullptr, GetModuleHandleA("uxtheme.dll"));
    {
        COXUxTheme theme;
        EXPECT_EQ(nullptr, GetModuleHandleA("uxtheme.dll"));
        EXPECT_EQ(nullptr, theme.OpenThemeData(nullptr, "button"));
        // A caller that asks anyway gets the system colour, never a call through null.
        EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), theme.GetThemeSysColor(nullptr, COLOR_HIGHLIGHT));
        EXPECT_EQ(GetSysColor(COLOR_ACTIVECAPTION),
                  theme.GetThemeSysColor(nullptr, COLOR_ACTIVECAPTION));
        theme.CloseThemeData(nullptr);
    }
    EXPECT_FALSE(IsThemedWindowsXP());
}

TEST(OXUxTheme, WithoutTheThemeLibraryEveryQueryAnswersNoTheme) {
    EXPECT_TRUE(RunTestInChild("OXUxTheme.DISABLED_ChildWithoutThemeLibrary", "uxtheme=d"));
}

} // namespace
