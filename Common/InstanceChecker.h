// InstanceChecker.h: CInstanceChecker, which keeps the application to one
// running instance.
//
// The first instance publishes its main window's handle (32 bits) in a 4-byte
// page-file mapping named "<identifier>_CInstanceChecker_MMF"; a later instance
// finds the mapping, brings that window to the front and quits. A named mutex
// (the identifier) held from LockStartup until the instance has published or
// activated makes instances that start together take turns, so the second
// always finds the first one's window published. The mapping lives as long as
// the process that published it. Use from the user-interface thread only: the
// start-up mutex belongs to the thread that locked it.
//
// Start-up sequence, after the main frame exists and before it is shown:
//   LockStartup();
//   if (IsOtherInstanceRunning()) { ActivateOtherInstance(nullptr, 0); quit; }
//   PublishFirstInstance(); show the main window.
#pragma once

#include "framework/AfxString.h"
#include "framework/Sync.h"

#include <windows.h>

#include <memory>

class CInstanceChecker {
public:
    // Creates both mutexes (not owned); throws CResourceException when a kernel
    // object of another type already has one of their names.
    explicit CInstanceChecker(LPCSTR identifier);
    // Releases the start-up mutex when still held. The published mapping stays
    // until the process ends.
    virtual ~CInstanceChecker();
    CInstanceChecker(const CInstanceChecker&) = delete;
    CInstanceChecker& operator=(const CInstanceChecker&) = delete;

    // The mapping's name: the identifier + "_CInstanceChecker_MMF".
    virtual CString GetMMFFilename() const;
    // The application's main window (AfxGetMainWnd), also the sender of the
    // WM_COPYDATA that ActivateOtherInstance sends.
    virtual HWND GetWindowToPublish() const;

    // Waits without limit for the start-up mutex (an abandoned one counts as
    // acquired); again while held does nothing.
    void LockStartup();
    void ReleaseStartupLock();

    // True when a first instance's mapping exists.
    bool IsOtherInstanceRunning() const;
    // Publishes GetWindowToPublish; false when another instance runs or the
    // mapping cannot be made (traced). Releases the start-up lock either way.
    bool PublishFirstInstance();
    // Restores the published window when minimised and brings its last active
    // pop-up (or itself) to the foreground; with a text, sends it WM_COPYDATA
    // carrying value and the text with its NUL. Returns the handle read, null
    // when there is no mapping or nothing was published. Releases the start-up
    // lock either way.
    HWND ActivateOtherInstance(LPCSTR text, DWORD value);

private:
    CMutex m_dataLock; // "<identifier>_CInstanceChecker_Data": orders the handle's write and read
    CMutex m_startupMutex;                      // named by the identifier
    CString m_name;                             // the identifier
    std::unique_ptr<CSingleLock> m_startupLock; // owns; present while m_startupMutex is held
};
