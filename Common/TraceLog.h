// TraceLog.h: CTraceLog, the process-wide diagnostic log, its one object
// g_TraceLog, the trace-site macros KWTRACE and KWTRACE_ERROR, and
// FindFileBaseName.
//
// A line reads "<file>(<line>):\t(TID <hex>) MM/DD/YY HH:MM:SS\t<text>\r\n".
// Level 0 writes nothing, 1 writes errors, 2 writes everything. The log starts
// at level 0 without a file; only SetLevel and SetPath change that.
#pragma once

#include "PrintfFormat.h"

#include <windows.h>

// The part of a path after its last backslash or slash; the whole path when it
// has neither. Points into the given text.
const char* FindFileBaseName(const char* path);

class CTraceLog {
public:
    enum { LEVEL_OFF = 0, LEVEL_ERRORS = 1, LEVEL_ALL = 2 };
    enum { SIZE_LIMIT = 1048576 };

    CTraceLog();
    ~CTraceLog();
    CTraceLog(const CTraceLog&) = delete;
    CTraceLog& operator=(const CTraceLog&) = delete;

    // One trace site: Enter, SetLine, SetFile, then Trace or TraceError, which
    // leave the lock. Use the KWTRACE macros rather than calling these by hand.
    void Enter();
    void SetLine(int line);
    void SetFile(const char* sourcePath);
    void WINAPIV Trace(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void WINAPIV TraceError(const char* format, ...) __attribute__((format(printf, 2, 3)));

    void SetLevel(int level);
    // Either path may be null or empty; an empty log path writes nothing.
    void SetPath(const char* logPath, const char* backupPath);

private:
    void Leave();
    void WriteMessage(const char* format, AfxWin32VaList args);
    void WriteLine(const char* text);

    CRITICAL_SECTION m_lock; // held from Enter to the end of Trace or TraceError
    char m_logPath[MAX_PATH];
    char m_backupPath[MAX_PATH];
    int m_level;
    char m_sourceFile[MAX_PATH]; // base name for the line being written
    int m_sourceLine;
    DWORD m_savedError; // the caller's last-error code, read at Enter
};

extern CTraceLog g_TraceLog;

// KWTRACE(("format", args...)) writes an informational line (level 2 only),
// KWTRACE_ERROR(("format", args...)) an error line (level 1 and 2). One
// trailing line feed of the text is dropped.
#define KWTRACE(args)                                                                              \
    do {                                                                                           \
        g_TraceLog.Enter();                                                                        \
        g_TraceLog.SetLine(__LINE__);                                                              \
        g_TraceLog.SetFile(__FILE__);                                                              \
        g_TraceLog.Trace args;                                                                     \
    } while (0)

#define KWTRACE_ERROR(args)                                                                        \
    do {                                                                                           \
        g_TraceLog.Enter();                                                                        \
        g_TraceLog.SetLine(__LINE__);                                                              \
        g_TraceLog.SetFile(__FILE__);                                                              \
        g_TraceLog.TraceError args;                                                                \
    } while (0)
