#include "XCrashHandler.h"

#include "KWSysUtils.h"
#include "MonitorScreenshots.h"
#include "OwnerOnlyFile.h"
#include "TraceLog.h"
#include "XCrashReport.h"

#include <dbghelp.h>

const char CXCrashHandler::SENDER_FILE_NAME[] = "XCrashReport.exe";

namespace {

// Set at load; the first exception clears it, so the report is written once
// even when several threads fault together.
LONG g_armed = 1;

const char kScreenshotPrefix[] = "XCRASHREPORT_Mon";
const char kReportFileName[] = "ERRORLOG.TXT";
const char kDumpFileName[] = "CRASH.DMP";
const int kProgramPathLength = 519; // 518 characters and the NUL
const int kNameLength = MAX_PATH;
// Sender path, four arguments of at most MAX_PATH characters each, doubled
// backslashes at their ends, quotes and blanks.
const int kCommandLineLength = 4096;
// The platform id of Windows CE, which the desktop headers leave out.
const DWORD kPlatformWindowsCE = 3;

struct ExceptionName {
    DWORD code;
    const char* text;
};

const ExceptionName kExceptionNames[] = {
    {0x40010005, "a Control-C"},
    {0x40010008, "a Control-Break"},
    {0x80000002, "a Datatype Misalignment"},
    {0x80000003, "a Breakpoint"},
    {0xC0000005, "an Access Violation"},
    {0xC0000006, "an In Page Error"},
    {0xC0000017, "a No Memory"},
    {0xC000001D, "an Illegal Instruction"},
    {0xC0000025, "a Noncontinuable Exception"},
    {0xC0000026, "an Invalid Disposition"},
    {0xC000008C, "a Array Bounds Exceeded"},
    {0xC000008D, "a Float Denormal Operand"},
    {0xC000008E, "a Float Divide by Zero"},
    {0xC000008F, "a Float Inexact Result"},
    {0xC0000090, "a Float Invalid Operation"},
    {0xC0000091, "a Float Overflow"},
    {0xC0000092, "a Float Stack Check"},
    {0xC0000093, "a Float Underflow"},
    {0xC0000094, "an Integer Divide by Zero"},
    {0xC0000095, "an Integer Overflow"},
    {0xC0000096, "a Privileged Instruction"},
    {0xC00000FD, "a Stack Overflow"},
    {0xC0000142, "a DLL Initialization Failed"},
    {0xE06D7363, "a Microsoft C++ Exception"},
};

// Appends text to buffer (holding length of size characters) when it fits.
bool Append(LPSTR buffer, int& length, int size, LPCSTR text) {
    const int textLength = lstrlenA(text);
    if (length + textLength >= size)
        return false;
    lstrcpyA(buffer + length, text);
    length += textLength;
    return true;
}

// Appends a blank and the argument in double quotes. Backslashes that end the
// argument are doubled, so that a folder's closing backslash does not escape
// the closing quote for the sender's argument parser.
bool AppendArgument(LPSTR buffer, int& length, int size, LPCSTR prefix, LPCSTR value) {
    int trailing = 0;
    for (int i = lstrlenA(value); i > 0 && value[i - 1] == '\\'; --i)
        ++trailing;
    if (!Append(buffer, length, size, " \"") || !Append(buffer, length, size, prefix) ||
        !Append(buffer, length, size, value))
        return false;
    for (int i = 0; i < trailing; ++i) {
        if (!Append(buffer, length, size, "\\"))
            return false;
    }
    return Append(buffer, length, size, "\"");
}

// The sender's path and command line for a program at programPath (which has
// a folder); false when they do not fit. The path is quoted as the command
// line's first word: unquoted, a folder with blanks would start another program.
bool BuildSenderCommandLine(LPCSTR programPath, LPCSTR programFile, LPCSTR company, LPCSTR product,
                            LPCSTR configurationFolder, LPSTR senderPath, LPSTR commandLine) {
    const int folderLength = static_cast<int>(programFile - programPath);
    if (folderLength + lstrlenA(CXCrashHandler::SENDER_FILE_NAME) >= MAX_PATH)
        return false;
    lstrcpynA(senderPath, programPath, folderLength + 1);
    lstrcatA(senderPath, CXCrashHandler::SENDER_FILE_NAME);

    int length = 0;
    return Append(commandLine, length, kCommandLineLength, "\"") &&
           Append(commandLine, length, kCommandLineLength, senderPath) &&
           Append(commandLine, length, kCommandLineLength, "\"") &&
           AppendArgument(commandLine, length, kCommandLineLength, "", programFile) &&
           AppendArgument(commandLine, length, kCommandLineLength, "/MAN=", company) &&
           AppendArgument(commandLine, length, kCommandLineLength, "/APP=", product) &&
           AppendArgument(commandLine, length, kCommandLineLength,
                          "/LOCALCONFIG=", configurationFolder);
}

// Starts the sender with its window shown normally; false, traced, when it
// cannot be started (it ships apart from the program and may be missing).
bool StartSender(LPCSTR senderPath, LPSTR commandLine) {
    OutputDebugStringA(commandLine);
    OutputDebugStringA("\r\n");
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    // The application name as well, so that nothing is searched for.
    if (!CreateProcessA(senderPath, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        KWTRACE_ERROR(
            ("CXCrashHandler: cannot start <%s>, error %u\n", senderPath, GetLastError()));
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// The codes of faults that the program's own code cannot have meant to raise
// and handle. Breakpoints belong to debuggers; C++ exceptions, guard pages and
// the platform's notices have handlers of their own.
bool IsFatalCode(DWORD code) {
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_STACK_OVERFLOW:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_UNDERFLOW:
        return true;
    default:
        return false;
    }
}

// The module of address, or null when no module holds it.
HMODULE ModuleAt(const void* address) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCSTR>(address), &module))
        return nullptr;
    return module;
}

// The module this handler was linked into: the program's own code.
HMODULE g_ownModule = nullptr;

void WriteMinidump(LPCSTR path, EXCEPTION_POINTERS* pointers) {
    HANDLE file = CreateOwnerOnlyFile(path, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH);
    if (file == INVALID_HANDLE_VALUE)
        return;
    OutputDebugStringA("writing minidump\r\n");
    MINIDUMP_EXCEPTION_INFORMATION exception = {};
    exception.ThreadId = GetCurrentThreadId();
    exception.ExceptionPointers = pointers;
    exception.ClientPointers = FALSE;
    // The dump holds no symbols; loading them for every module up front made
    // writing it take several seconds under Wine.
    SymSetOptions(SymGetOptions() | SYMOPT_DEFERRED_LOADS);
    if (!MiniDumpWriteDump(GetCurrentProcess(), GetCurrentProcessId(), file, MiniDumpNormal,
                           &exception, nullptr, nullptr))
        KWTRACE_ERROR(("CXCrashHandler: cannot write <%s>, error %u\n", path, GetLastError()));
    CloseHandle(file);
}

} // namespace

CXCrashHandler::CXCrashHandler() {
    OutputDebugStringA("in CXCrashHandler\r\n");
    g_ownModule = ModuleAt(reinterpret_cast<const void*>(&OnRaisedException));
    m_previousFilter = SetUnhandledExceptionFilter(RecordExceptionInfo);
    m_watch = AddVectoredExceptionHandler(TRUE, OnRaisedException);
}

CXCrashHandler::~CXCrashHandler() {
    OutputDebugStringA("in ~CXCrashHandler\r\n");
    if (m_watch)
        RemoveVectoredExceptionHandler(m_watch);
    SetUnhandledExceptionFilter(m_previousFilter);
}

LONG WINAPI CXCrashHandler::OnRaisedException(EXCEPTION_POINTERS* pointers) {
    const EXCEPTION_RECORD* record = pointers ? pointers->ExceptionRecord : nullptr;
    if (!record || !IsFatalCode(record->ExceptionCode) || !g_ownModule ||
        ModuleAt(record->ExceptionAddress) != g_ownModule)
        return EXCEPTION_CONTINUE_SEARCH;
    // The filter's answer, as the platform would act on it: a started sender
    // ends the process; otherwise the platform's handling goes on (a debugger,
    // or the end of the process).
    if (RecordExceptionInfo(pointers) == EXCEPTION_EXECUTE_HANDLER)
        TerminateProcess(GetCurrentProcess(), record->ExceptionCode);
    return EXCEPTION_CONTINUE_SEARCH;
}

LONG WINAPI CXCrashHandler::RecordExceptionInfo(EXCEPTION_POINTERS* pointers) {
    OutputDebugStringA("in RecordExceptionInfo\r\n");
    if (InterlockedExchange(&g_armed, 0) == 0)
        return EXCEPTION_CONTINUE_SEARCH;
    if (!pointers || !pointers->ExceptionRecord || !pointers->ContextRecord)
        return EXCEPTION_CONTINUE_SEARCH;

    CKWSysUtils* utils = CKWSysUtils::GetInstance();
    char logFolder[MAX_PATH], configurationFolder[MAX_PATH];
    char company[kNameLength], product[kNameLength];
    utils->CopyLogFolder(logFolder, MAX_PATH);
    utils->CopyConfigurationFolder(configurationFolder, MAX_PATH, false);
    utils->GetNames(company, kNameLength, product, kNameLength);
    // Without its folder the report would land in whatever the current
    // folder happens to be.
    if (!logFolder[0]) {
        OutputDebugStringA("Error creating exception report\r\n");
        return EXCEPTION_CONTINUE_SEARCH;
    }

    MonitorScreenshots screenshots;
    screenshots.Capture(MonitorScreenshots::MODE_COLORS_256);
    screenshots.WriteBitmaps(logFolder, kScreenshotPrefix);
    screenshots.Free();

    // A path that does not fit is as unknown as one that cannot be read.
    char programPath[kProgramPathLength];
    DWORD pathLength = GetModuleFileNameA(nullptr, programPath, kProgramPathLength);
    const bool knownProgram = pathLength > 0 && pathLength < kProgramPathLength;
    if (!knownProgram)
        lstrcpyA(programPath, "Unknown");
    LPCSTR programFile = programPath;
    for (LPCSTR p = programPath; *p; ++p) {
        if (*p == '\\')
            programFile = p + 1;
    }
    char programName[kProgramPathLength];
    lstrcpyA(programName, programFile);
    char* dot = nullptr;
    for (char* p = programName; *p; ++p) {
        if (*p == '.')
            dot = p;
    }
    if (dot)
        *dot = '\0';

    char path[MAX_PATH + 16];
    wsprintfA(path, "%s%s", logFolder, kReportFileName);
    HANDLE report = CreateOwnerOnlyFile(path, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH);
    if (report == INVALID_HANDLE_VALUE) {
        OutputDebugStringA("Error creating exception report\r\n");
        return EXCEPTION_CONTINUE_SEARCH;
    }
    WriteCrashReport(report, pointers, programPath, programName);
    CloseHandle(report);

    wsprintfA(path, "%s%s", logFolder, kDumpFileName);
    WriteMinidump(path, pointers);

    if (IsDebuggerPresent())
        return EXCEPTION_CONTINUE_SEARCH;
    // Without the program's folder the sender would be searched for along
    // the path, which could start anything of that name.
    if (!knownProgram || programFile == programPath) {
        KWTRACE_ERROR(("CXCrashHandler: no program folder to start the sender from\n"));
        return EXCEPTION_CONTINUE_SEARCH;
    }
    static char senderPath[MAX_PATH];
    static char commandLine[kCommandLineLength];
    if (!BuildSenderCommandLine(programPath, programFile, company, product, configurationFolder,
                                senderPath, commandLine)) {
        KWTRACE_ERROR(("CXCrashHandler: the sender's command line is too long\n"));
        return EXCEPTION_CONTINUE_SEARCH;
    }
    return StartSender(senderPath, commandLine) ? EXCEPTION_EXECUTE_HANDLER
                                                : EXCEPTION_CONTINUE_SEARCH;
}

const char* CXCrashHandler::GetExceptionDescription(DWORD code) {
    for (const ExceptionName& name : kExceptionNames) {
        if (name.code == code)
            return name.text;
    }
    return "an Unknown exception type";
}

const char* CXCrashHandler::GetWindowsVersionName(DWORD platform, DWORD major, DWORD minor,
                                                  DWORD build) {
    const DWORD buildNumber = LOWORD(build);
    switch (platform) {
    case VER_PLATFORM_WIN32_WINDOWS:
        if (major != 4)
            break;
        if (minor < 10) {
            if (buildNumber == 950)
                return "Windows 95";
            if (buildNumber >= 951 && buildNumber <= 1080)
                return "Windows 95 SP1";
            if (buildNumber > 1080)
                return "Windows 95 OSR2";
        } else if (minor == 10) {
            if (buildNumber == 1998)
                return "Windows 98";
            if (buildNumber >= 1999 && buildNumber <= 2182)
                return "Windows 98 SP1";
            if (buildNumber > 2182)
                return "Windows 98 SE";
        } else if (minor == 90) {
            return "Windows ME";
        }
        break;
    case VER_PLATFORM_WIN32_NT:
        if (major == 3 && minor == 51)
            return "Windows NT 3.51";
        if (major == 4 && minor == 0)
            return "Windows NT 4";
        if (major == 5 && minor == 0)
            return "Windows 2000";
        if (major == 5 && minor == 1)
            return "Windows XP";
        if (major == 5 && minor == 2)
            return "Windows 2003 Server";
        if (major == 6 && minor == 0)
            return "Windows Vista";
        if (major == 6 && minor == 1)
            return "Windows 7";
        break;
    case kPlatformWindowsCE:
        return "Windows CE";
    }
    return "unknown Windows version";
}
