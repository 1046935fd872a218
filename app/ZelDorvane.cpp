// ZelDorvane.cpp: the application's start-up and exit.
#include "ZelDorvane.h"

#include "AppPaths.h"
#include "CallHistory.h"
#include "CallScore.h"
#include "ChildFrm.h"
#include "HotLists.h"
#include "MainFrm.h"
#include "ShortCuts.h"
#include "ZelDorvaneDoc.h"
#include "ZelDorvaneView.h"
#include "resource.h"

#include "framework/WinApp.h"

#include "Scoring/ScoreFormManager.h"

#include "Common/InstanceChecker.h"
#include "Common/KWSysUtils.h"
#include "Common/KWXMLSettings.h"
#include "Common/Settings.h"
#include "Common/TraceLog.h"

#include "framework/DocTemplate.h"
#include "framework/Ole.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstring>

namespace {

const char kInstanceId[] = "{7c2e9a41-5b3d-4f08-9e6a-2d41b8c7f350}";

// One per process, made at the first start-up that asks: a test program that
// never starts the application makes none.
CInstanceChecker& InstanceChecker() {
    static CInstanceChecker checker(kInstanceId);
    return checker;
}

CString LoadText(UINT id) {
    CString text;
    text.LoadString(id);
    return text;
}

} // namespace

BEGIN_MESSAGE_MAP(CZelDorvaneApp, COXSkinnedApp)
ON_COMMAND(ID_FILE_OPEN, &CWinApp::OnFileOpen)
ON_COMMAND(ID_APP_EXIT, &CZelDorvaneApp::OnAppExit)
END_MESSAGE_MAP()

CZelDorvaneApp::CZelDorvaneApp() = default;

CZelDorvaneApp::~CZelDorvaneApp() = default;

bool CZelDorvaneApp::IsPlainFileName(const char* name) {
    if (name == nullptr || name[0] == '\0' || strlen(name) >= MAX_PATH)
        return false;
    if (strcmp(name, ".") == 0 || strcmp(name, "..") == 0)
        return false;
    return strpbrk(name, "\\/:") == nullptr;
}

bool CZelDorvaneApp::LoadResourceLibrary() {
    CString name;
    try {
        name = CSettings::GetInstance()->LoadBranding();
    } catch (...) {
        // An unreadable branding file leaves the program on its own resources.
        name.Empty();
    }
    if (name.IsEmpty())
        return true;
    // Only a library beside the program, named by its plain file name, and
    // only as data: the branding file lies in a folder that every user of
    // the machine may write to, so it must not choose code to run.
    HINSTANCE hLibrary = nullptr;
    CKWString folder = GetModuleDirectory();
    if (IsPlainFileName(name) && !folder.IsEmpty()) {
        CString path = CString(static_cast<const char*>(folder)) + "\\" + name;
        hLibrary = ::LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    if (hLibrary == nullptr) {
        CString text;
        text.Format("Unable to locate the resources file\n\n(%s)\n\nin the system path. Unable to "
                    "continue.",
                    name.GetString());
        ::MessageBoxA(nullptr, text, "Initialization error", MB_OK | MB_ICONSTOP);
        return false;
    }
    m_hResourceLibrary = hLibrary;
    AfxSetResourceHandle(hLibrary);
    return true;
}

BOOL CZelDorvaneApp::InitInstance() {
    SetCurrentSkin("Office 2003");
    INITCOMMONCONTROLSEX controls = {sizeof(INITCOMMONCONTROLSEX), 0xFF};
    ::InitCommonControlsEx(&controls);
    if (!COXSkinnedApp::InitInstance())
        return FALSE;
    AfxOleInit();

    // Before anything is read: a second copy only brings the first to the
    // front, and leaves every file to the copy that runs.
    CInstanceChecker& checker = InstanceChecker();
    checker.LockStartup();
    if (checker.IsOtherInstanceRunning()) {
        checker.ActivateOtherInstance(nullptr, 0);
        return FALSE;
    }
    if (!LoadResourceLibrary()) {
        checker.ReleaseStartupLock();
        return FALSE;
    }

    SetRegistryKey(IDS_COMPANY);
    CKWSysUtils::GetInstance()->SetNames(CKWString(LoadText(IDS_COMPANY)),
                                         CKWString(LoadText(IDS_PRODUCT)));
    CSettings::GetInstance()->Load();
    m_bSettingsLoaded = true;
    CScoreFormManager::GetInstance()->SetFolder(GetCallScoresFolder());
    CCallHistory::GetInstance()->Load();
    CShortCuts::GetInstance()->Load();
    CHotLists::GetInstance()->Load();
    CCallScore::GetInstance()->Load();
    m_bStoresLoaded = true;
    LoadStdProfileSettings(4);

    auto* pTemplate =
        new CMultiDocTemplate(IDR_ZELTYPE, RUNTIME_CLASS(CZelDorvaneDoc),
                              RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CZelDorvaneView));
    AddDocTemplate(pTemplate);

    auto* pFrame = new CMainFrame;
    // A frame that fails to load has deleted itself.
    if (!pFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        checker.ReleaseStartupLock();
        return FALSE;
    }
    free(const_cast<char*>(m_pszAppName));
    m_pszAppName = strdup(LoadText(IDS_PRODUCT));
    m_pMainWnd = pFrame;
    checker.PublishFirstInstance();

    pFrame->ShowWindow(SW_SHOWMAXIMIZED);
    pFrame->UpdateWindow();
    pFrame->FitPlayerPanel();
    if (CSettings::GetInstance()->GetShowHistory())
        pFrame->SendMessage(WM_COMMAND, ID_SHOW_PLAY_HISTORY);
    return TRUE;
}

void CZelDorvaneApp::OnAppExit() {
    // The way the caption's close box goes: the frame asks about changed
    // lists and may stay.
    if (m_pMainWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

int CZelDorvaneApp::ExitInstance() {
    // Only what this copy read is written back: a second copy, or a start
    // that failed before the settings were read, would replace the user's
    // files with defaults.
    if (m_bSettingsLoaded)
        CSettings::GetInstance()->Save();
    CSettings::DeleteInstance();
    if (m_bStoresLoaded) {
        CCallHistory::GetInstance()->Save();
        CShortCuts::GetInstance()->Save();
        CHotLists::GetInstance()->Save();
        CCallScore::GetInstance()->Save();
    }
    CCallHistory::DeleteInstance();
    delete CShortCuts::GetInstance();
    delete CHotLists::GetInstance();
    delete CCallScore::GetInstance();
    CKWXMLSettings::DeleteInstance();
    delete CKWSysUtils::GetInstance();
    return COXSkinnedApp::ExitInstance();
}
