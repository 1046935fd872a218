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
// Under Wine, a fault below a C++ frame that has objects to destroy never
// reaches the filter: Wine calls that frame's clean-up as a Windows handler,
// which faults in turn. So the handler also watches every exception as it is
// raised (a vectored handler) and writes the report at once for a fault that
// no handler of the program can mend: a fatal code (access violation, illegal
// instruction, stack overflow, division by zero, ...) raised by the program's
// own module. Wine's own code raises and handles such faults itself, and the
// program's C++ exceptions and other codes are left to their handlers. When
// the sender was started the process then ends with the exception's code.
//
// The application holds one static CXCrashHandler, constructed before its own
// code runs.
#pragma once

#include <windows.h>

class CXCrashHandler {
public:
    static const char SENDER_FILE_NAME[];

    // Installs RecordExceptionInfo, keeping the filter it replaces, and the
    // watch of raised exceptions in front of every other vectored handler.
    CXCrashHandler();
    // Puts the replaced filter back and removes the watch.
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
    // The vectored handler: a fatal fault of the program's own module goes to
    // RecordExceptionInfo at once.
    static LONG WINAPI OnRaisedException(EXCEPTION_POINTERS* pointers);

    LPTOP_LEVEL_EXCEPTION_FILTER m_previousFilter; // not owned
    PVOID m_watch;                                 // the vectored handler's registration
};
