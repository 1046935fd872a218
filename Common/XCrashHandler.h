// XCrashHandler.h: CXCrashHandler, the program's unhandled-exception filter.
//
// When an exception escapes every handler, the filter writes into the Log
// folder of CKWSysUtils one screenshot per display ("XCRASHREPORT_Mon<n>.bmp"),
// the text report "ERRORLOG.TXT" (XCrashReport.h) and the minidump "CRASH.DMP",
// each readable by its owner only. Unless a debugger is attached it then starts
// the report sender, SENDER_FILE_NAME in the program's own folder, and lets
// the process end; when the sender cannot be started the platform's default
// handling follows. The filter acts once per process: a second exception, on
// any thread, passes straight on.
//
// The application holds one static CXCrashHandler, constructed before its own
// code runs.
#pragma once

#include <windows.h>

class CXCrashHandler {
public:
    static const char SENDER_FILE_NAME[];

    // Installs RecordExceptionInfo and keeps the filter it replaces.
    CXCrashHandler();
    // Puts the replaced filter back.
    ~CXCrashHandler();
    CXCrashHandler(const CXCrashHandler&) = delete;
    CXCrashHandler& operator=(const CXCrashHandler&) = delete;

    // The filter: EXCEPTION_EXECUTE_HANDLER (the process ends) when the sender
    // was started, EXCEPTION_CONTINUE_SEARCH otherwise.
    static LONG WINAPI RecordExceptionInfo(EXCEPTION_POINTERS* pointers);

    // The report's name of an exception code, such as "an Access Violation".
    static const char* GetExceptionDescription(DWORD code);
    // The name of a Windows version (platform id, major, minor, build), or
    // "unknown Windows version".
    static const char* GetWindowsVersionName(DWORD platform, DWORD major, DWORD minor, DWORD build);

private:
    LPTOP_LEVEL_EXCEPTION_FILTER m_previousFilter; // not owned
};
