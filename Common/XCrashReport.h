// XCrashReport.h: WriteCrashReport, the text of the crash report
// "ERRORLOG.TXT" that CXCrashHandler writes.
//
// The report, in CR LF lines: what faulted where and when; the program, user,
// computer, system, processor and memory; the faulting address of an access
// violation; the build options; the registers; the bytes at the instruction;
// the stack up to 16 KB; the environment; every loaded module with its headers,
// file and version; an end line. Memory that the crash may have damaged is
// checked before it is read, and a block that cannot be read is cut short with
// a line that says so. Text goes out in pieces of at most 1,024 characters
// through a static buffer, so the report needs no heap of its own.
#pragma once

#include <windows.h>

// Not reentrant: the caller writes one report at a time. programPath is the
// program's path or "Unknown", programName the first line's name of it.
void WriteCrashReport(HANDLE file, const EXCEPTION_POINTERS* pointers, LPCSTR programPath,
                      LPCSTR programName);

// "month/day/year hh:mm:ss" of a UTC file time in local time, seconds in the
// two-second steps of a DOS time; into a buffer of at least 32 characters.
void FormatReportTime(const FILETIME& utc, LPSTR buffer);
