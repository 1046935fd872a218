// DirDialog.h: CDirDialog, a folder picker over the shell's folder browser
// (SHBrowseForFolder).
//
// Status:
// - Implemented: a title above the tree ("Open" when none is set), a root
//   folder, a folder selected when the browser opens, the chosen folder's path
//   and system image index.
// - The browser runs with no owner window, so the caller's windows stay
//   usable under it; callers that must not act while it is open keep a flag
//   of their own (CSelectDirDlg does).
// - Every failure (no shell allocator, a root the shell cannot parse, a chosen
//   item without a file-system path) and a cancel answer 0 alike.
// - The browser's new dialog style needs OLE on the calling thread; the
//   application initialises it at start-up.
#pragma once

#include "framework/AfxString.h"

#include <windows.h>

class CDirDialog {
public:
    CDirDialog();
    virtual ~CDirDialog();
    CDirDialog(const CDirDialog&) = delete;
    CDirDialog& operator=(const CDirDialog&) = delete;

    // Runs the browser; 1 when a folder was chosen (m_strSelDir and m_nImage
    // then hold it), 0 on cancel or failure.
    int DoBrowse();

    // Answers the browser's initialisation by selecting m_strInitDir of the
    // CDirDialog that lpData points to; every other event is left alone.
    static int CALLBACK BrowseCallbackProc(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM lpData);

    CString m_strSelDir;  // result: the chosen folder
    CString m_strRoot;    // folder the browser is rooted at; empty: the desktop
    CString m_strInitDir; // folder selected when the browser opens; empty: none
    CString m_strTitle;   // text above the browser's tree; empty: "Open"
    int m_nImage;         // result: the chosen folder's system image index
};
