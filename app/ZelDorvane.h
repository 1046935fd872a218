// ZelDorvane.h: CZelDorvaneApp, the application object. Its InitInstance does
// the whole start-up (skin, the single-instance check, resource library, folder
// names, settings and stores, the list template, the main frame) and its
// ExitInstance saves and frees the stores. The program's one instance lives in
// the program's own source (main/), so that test programs make their own.
#pragma once

#include "OXSkinnedApp.h"

class CZelDorvaneApp : public COXSkinnedApp {
public:
    CZelDorvaneApp();
    ~CZelDorvaneApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    // The names a resource library may have: a file name alone, no folder,
    // drive or parent reference.
    static bool IsPlainFileName(const char* name);

protected:
    // File > Exit: the framework has no handler of its own for it.
    afx_msg void OnAppExit();

private:
    // Reads "ResourceFile" from the branding and loads that library from the
    // program's folder as the source of every resource. False, after telling
    // the user, when one is named but cannot be used.
    bool LoadResourceLibrary();

    HINSTANCE m_hResourceLibrary = nullptr; // never freed: every resource comes from it
    bool m_bSettingsLoaded = false;         // the exit saves only what was read
    bool m_bStoresLoaded = false;

    DECLARE_MESSAGE_MAP()
};
