// SmallDialogsTestKit.h: what the tests of the small controls and dialogs
// share: a top-level host window, a pump that runs the windows'
// PreTranslateMessage as the application's loop does, and window finders.
#pragma once

#include "framework/WinApp.h"
#include "framework/Wnd.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

namespace smalldlg {

// A plain top-level window to put the control under test in; the test's main
// window, so that the framework's PreTranslateMessage walk stops at it.
class CHostWnd : public CWnd {
public:
    bool Make(const char* pszTitle, const RECT& rect) {
        LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                                reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        if (!CreateEx(0, lpszClass, pszTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect, nullptr, 0))
            return false;
        AfxGetApp()->m_pMainWnd = this;
        return true;
    }
    ~CHostWnd() override {
        if (AfxGetApp()->m_pMainWnd == this)
            AfxGetApp()->m_pMainWnd = nullptr;
    }
};

// Runs the thread's messages for a while, each through the application's
// PreTranslateMessage first (which relays the mouse to tooltips and lets the
// cell editor take Enter and Escape).
inline void PumpTranslated(DWORD nMilliseconds) {
    const DWORD dwStart = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!AfxGetApp()->PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        ::Sleep(10);
    } while (::GetTickCount() - dwStart < nMilliseconds);
}

// PumpTranslated until pred holds, at most nMilliseconds; whether it held.
inline bool PumpTranslatedUntil(const std::function<bool()>& pred, DWORD nMilliseconds = 5000) {
    const DWORD dwStart = ::GetTickCount();
    while (!pred() && ::GetTickCount() - dwStart < nMilliseconds)
        PumpTranslated(20);
    return pred();
}

inline std::string WindowText(HWND hWnd) {
    char szText[2048] = "";
    ::GetWindowTextA(hWnd, szText, sizeof szText);
    return szText;
}

struct SFindText {
    const std::string* pText;
    HWND hWndFound;
};

inline BOOL CALLBACK FindTextProc(HWND hWnd, LPARAM lParam) {
    SFindText* pFind = reinterpret_cast<SFindText*>(lParam);
    if (WindowText(hWnd) != *pFind->pText)
        return TRUE;
    pFind->hWndFound = hWnd;
    return FALSE;
}

// The first descendant of hWndParent whose text is exactly strText; null when none.
inline HWND FindChildWithText(HWND hWndParent, const std::string& strText) {
    SFindText find = {&strText, nullptr};
    ::EnumChildWindows(hWndParent, FindTextProc, reinterpret_cast<LPARAM>(&find));
    return find.hWndFound;
}

inline BOOL CALLBACK FindToolTipProc(HWND hWnd, LPARAM lParam) {
    char szClass[64] = "";
    ::GetClassNameA(hWnd, szClass, sizeof szClass);
    if (lstrcmpiA(szClass, TOOLTIPS_CLASSA) != 0 || !::IsWindowVisible(hWnd))
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

// The visible tooltip window of this thread, or null.
inline HWND FindVisibleToolTip() {
    HWND hWndFound = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindToolTipProc,
                        reinterpret_cast<LPARAM>(&hWndFound));
    return hWndFound;
}

// The text of the folder browser's selected tree item.
inline std::string SelectedTreeText(HWND hWndBrowser) {
    HWND hWndTree = ::FindWindowExA(hWndBrowser, nullptr, WC_TREEVIEWA, nullptr);
    char szText[MAX_PATH] = "";
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = TreeView_GetSelection(hWndTree);
    item.pszText = szText;
    item.cchTextMax = sizeof szText;
    if (hWndTree == nullptr || item.hItem == nullptr || !TreeView_GetItem(hWndTree, &item))
        return "";
    return szText;
}

// A folder for the folder browser to choose, below a parent that no test
// changes: Wine's browser refreshes its tree when folders come and go on its
// way (as the tests' temporary folders do all the time in Temp), and a
// selection made then stops short. The folders are made once and kept.
inline std::string QuietFolder(const std::string& strPath) {
    std::string strFolder = "C:\\ZelMoxel folder browser tests";
    ::CreateDirectoryA(strFolder.c_str(), nullptr);
    size_t nStart = 0;
    while (nStart < strPath.size()) {
        size_t nEnd = strPath.find('\\', nStart);
        if (nEnd == std::string::npos)
            nEnd = strPath.size();
        strFolder += "\\" + strPath.substr(nStart, nEnd - nStart);
        ::CreateDirectoryA(strFolder.c_str(), nullptr);
        nStart = nEnd + 1;
    }
    return strFolder;
}

// Whether the folder browser shows the folder as its choice: selected in its
// tree and named in its edit box, which is what its OK takes.
inline bool BrowserShows(HWND hWndBrowser, const std::string& strName) {
    HWND hWndEdit = ::FindWindowExA(hWndBrowser, nullptr, "Edit", nullptr);
    return SelectedTreeText(hWndBrowser) == strName &&
           (hWndEdit == nullptr || WindowText(hWndEdit) == strName);
}

} // namespace smalldlg
