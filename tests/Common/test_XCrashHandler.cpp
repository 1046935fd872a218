#include "native/gtest.h"

#include "Common/KWSysUtils.h"
#include "Common/ModuleVersionInfo.h"
#include "Common/MonitorScreenshots.h"
#include "Common/XCrashHandler.h"
#include "Common/XCrashReport.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempFolder.h"

#include <windows.h>
#include <winternl.h>

#include <sys/stat.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const char kProduct[] = "Zel Moxel";
const char kChildFilter[] = "CrashChild.DISABLED_Fault";
// The child ends itself with this code from its own handlers, so that Wine's
// debugger never starts for it.
const UINT kChildExitCode = 90;
// Where the child writes: low enough to be certain no page is there.
const ULONG_PTR kFaultAddress = 0x10;
const ULONG_PTR kSecondFaultAddress = 0x20;

std::string Environment(const char* name) {
    char value[2048] = "";
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? value : "";
}

void AppendToFile(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::string ModulePath() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// The Unix permission bits of a file, or -1 when it cannot be seen.
int UnixMode(const std::string& path) {
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    char* unixPath = wine_get_unix_file_name(wide);
    if (!unixPath)
        return -1;
    struct stat status;
    int mode = stat(unixPath, &status) == 0 ? static_cast<int>(status.st_mode & 0777) : -1;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return mode;
}

template <typename T> T ReadAt(const std::string& data, size_t offset) {
    T value{};
    if (offset + sizeof(T) <= data.size())
        std::memcpy(&value, data.data() + offset, sizeof(T));
    return value;
}

// Checks one screenshot file: a 14-byte file header whose sizes agree with
// the file, a 40-byte info header of the display's size and the given depth,
// a colour table of 2^depth entries (none above 8 bits) and whole rows.
void ExpectBitmapFile(const std::string& path, int width, int height, int depth) {
    SCOPED_TRACE(path);
    const std::string data = ReadWholeFile(path);
    ASSERT_GE(data.size(), 54u);
    const size_t colors = depth <= 8 ? size_t(1) << depth : 0;
    const size_t headerBlock = 40 + 4 * colors;
    const size_t rowBytes = (size_t(depth) * width + 31) / 32 * 4;
    EXPECT_EQ(0, data.compare(0, 2, "BM"));
    EXPECT_EQ(data.size(), ReadAt<DWORD>(data, 2));
    EXPECT_EQ(0u, ReadAt<DWORD>(data, 6)); // both reserved words
    EXPECT_EQ(14 + headerBlock, ReadAt<DWORD>(data, 10));
    EXPECT_EQ(40u, ReadAt<DWORD>(data, 14));
    EXPECT_EQ(width, ReadAt<LONG>(data, 18));
    EXPECT_EQ(height, ReadAt<LONG>(data, 22));
    EXPECT_EQ(1, ReadAt<WORD>(data, 26));
    EXPECT_EQ(depth, ReadAt<WORD>(data, 28));
    EXPECT_EQ(static_cast<DWORD>(BI_RGB), ReadAt<DWORD>(data, 30));
    EXPECT_EQ(14 + headerBlock + rowBytes * height, data.size());
}

// The stand-in report sender is this program again, copied beside a
// crashing child under the sender's name (and as a decoy where an unquoted
// path would be cut). It finds ZM_CRASH_SENDER_LOG, which only the child
// sets, appends its own path and its arguments as the platform's parser
// splits them, one a line, signals the event ZM_CRASH_SENDER_DONE names and
// ends before GoogleTest starts: GoogleTest would read its filter from the
// Unix environment, which Wine does not pass on.
bool RecordIfStartedAsSender() {
    const std::string log = Environment("ZM_CRASH_SENDER_LOG");
    if (log.empty())
        return false;
    std::string text = ModulePath() + "\n";
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; arguments && i < count; ++i) {
        char argument[2048] = "";
        WideCharToMultiByte(CP_ACP, 0, arguments[i], -1, argument, sizeof argument, nullptr,
                            nullptr);
        text += std::string(argument) + "\n";
    }
    LocalFree(arguments);
    AppendToFile(log, text);
    HANDLE done =
        OpenEventA(EVENT_MODIFY_STATE, FALSE, Environment("ZM_CRASH_SENDER_DONE").c_str());
    if (done) {
        SetEvent(done);
        CloseHandle(done);
    }
    ExitProcess(0);
}

const bool g_startedAsSender = RecordIfStartedAsSender();

// ---------------------------------------------------------------------------
// The child processes. Each is this program, started again by a test below
// with one of these cases selected; run alone they skip.

LONG g_passedCalls = 0;
LONG g_filterCalls = 0;
std::string g_childMode;
std::string g_childResults;
std::string g_childLogFolder;
size_t g_sink = 0;

bool IsOwnCode(const void* address) {
    HMODULE own = nullptr, module = nullptr;
    const DWORD flags =
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    return GetModuleHandleExA(flags, reinterpret_cast<LPCSTR>(&IsOwnCode), &own) &&
           GetModuleHandleExA(flags, static_cast<LPCSTR>(address), &module) && module == own;
}

// A fault below frames whose objects have destructors to run, as in most of
// the program's code.
__attribute__((noinline)) void FaultBelowDestructors(int depth, ULONG_PTR address) {
    std::string frame(64, static_cast<char>('a' + depth));
    std::vector<int> values(16, depth);
    if (depth == 0)
        *reinterpret_cast<volatile int*>(address) = 1;
    else
        FaultBelowDestructors(depth - 1, address);
    g_sink += frame.size() + values.size(); // keeps both alive past the call
}

// No C++ frame with clean-up lies between this fault and the thread's start.
DWORD WINAPI FaultOnThread(void* address) {
    *static_cast<volatile int*>(address) = 1;
    return 0;
}

DWORD WINAPI FaultOnWorker(void* address) {
    const std::string name = "worker";
    FaultBelowDestructors(4, reinterpret_cast<ULONG_PTR>(address));
    return static_cast<DWORD>(name.size());
}

LRESULT CALLBACK FaultingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        const std::string name = "window";
        FaultBelowDestructors(4, static_cast<ULONG_PTR>(wParam));
        return static_cast<LRESULT>(name.size());
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RunOnNewThread(LPTHREAD_START_ROUTINE procedure, ULONG_PTR address) {
    HANDLE thread =
        CreateThread(nullptr, 0, procedure, reinterpret_cast<void*>(address), 0, nullptr);
    // The fault ends the process; the parent's wait is the safety net.
    if (thread)
        WaitForSingleObject(thread, INFINITE);
}

// Faults at address at the site named: "thread", "worker" (a thread with C++
// frames), "window" (inside a window procedure) or "deep" (below the test
// case's own frames).
void FaultAt(const std::string& site, ULONG_PTR address) {
    if (site == "thread") {
        RunOnNewThread(FaultOnThread, address);
    } else if (site == "worker") {
        RunOnNewThread(FaultOnWorker, address);
    } else if (site == "window") {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = FaultingWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ZMCrashFaulting";
        RegisterClassA(&windowClass);
        HWND window = CreateWindowExA(0, "ZMCrashFaulting", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                      nullptr, windowClass.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
        SendMessageA(window, WM_APP, address, 0);
    } else {
        FaultBelowDestructors(4, address);
    }
}

// The last of the vectored handlers, after the crash handler's: records that
// the handler let a fault of this program pass, and ends the process as the
// platform would, but without Wine's debugger and its dialog.
LONG WINAPI EndChild(EXCEPTION_POINTERS* pointers) {
    if (pointers->ExceptionRecord->ExceptionCode != EXCEPTION_ACCESS_VIOLATION ||
        !IsOwnCode(pointers->ExceptionRecord->ExceptionAddress))
        return EXCEPTION_CONTINUE_SEARCH;
    const LONG call = InterlockedIncrement(&g_passedCalls);
    AppendToFile(g_childResults, "passed" + std::to_string(call) + "\n");
    if (g_childMode == "twice" && call == 1) {
        // Clear the first report away, then fault on another thread, whose
        // pass through this handler ends the process.
        RemoveFolderTree(g_childLogFolder);
        RunOnNewThread(FaultOnThread, kSecondFaultAddress);
    }
    TerminateProcess(GetCurrentProcess(), kChildExitCode);
    return EXCEPTION_CONTINUE_SEARCH;
}

// Wine, like Windows, gives a process under a real debugger no unhandled-
// exception filter, so the handler is shown one through the flag it reads,
// from in front of its own vectored handler.
LONG WINAPI PretendDebugger(EXCEPTION_POINTERS*) {
    NtCurrentTeb()->Peb->BeingDebugged = TRUE;
    return EXCEPTION_CONTINUE_SEARCH;
}

// Whatever reaches the unhandled-exception filter ends the child as well.
LONG WINAPI ChildFilter(EXCEPTION_POINTERS* pointers) {
    const LONG call = InterlockedIncrement(&g_filterCalls);
    const LONG result = CXCrashHandler::RecordExceptionInfo(pointers);
    AppendToFile(g_childResults,
                 "filter" + std::to_string(call) + "=" + std::to_string(result) + "\n");
    TerminateProcess(GetCurrentProcess(), kChildExitCode);
    return EXCEPTION_CONTINUE_SEARCH;
}

// Exceptions that are raised and handled on their way: the platform's own
// checks of bad pointers, a notice to a debugger, a C++ exception.
void RaiseHandledExceptions() {
    EXPECT_TRUE(IsBadReadPtr(reinterpret_cast<const void*>(kFaultAddress), 4));
    EXPECT_TRUE(IsBadWritePtr(reinterpret_cast<void*>(kFaultAddress), 4));
    EXPECT_EQ(0, lstrlenA(reinterpret_cast<LPCSTR>(kFaultAddress)));
    OutputDebugStringA("handled\r\n");
    bool caught = false;
    try {
        throw std::runtime_error("handled");
    } catch (const std::runtime_error&) {
        caught = true;
    }
    EXPECT_TRUE(caught);
}

// ZM_CRASH_CHILD = "company|mode|site|results file|sender log|sender event";
// mode "plain", "twice", "debugger" or "handled" (which raises only handled
// exceptions and ends as a test case does).
TEST(CrashChild, DISABLED_Fault) {
    std::vector<std::string> fields;
    const std::string spec = Environment("ZM_CRASH_CHILD");
    for (size_t start = 0, end; !spec.empty(); start = end + 1) {
        end = spec.find('|', start);
        fields.push_back(spec.substr(start, end - start));
        if (end == std::string::npos)
            break;
    }
    if (fields.size() != 6)
        GTEST_SKIP() << "run by the CrashHandlerProcess tests only";
    g_childMode = fields[1];
    g_childResults = fields[3];
    SetEnvironmentVariableA("ZM_CRASH_SENDER_LOG", fields[4].c_str());
    SetEnvironmentVariableA("ZM_CRASH_SENDER_DONE", fields[5].c_str());
    CKWSysUtils::GetInstance()->SetNames(fields[0].c_str(), kProduct);
    g_childLogFolder = static_cast<const char*>(CKWSysUtils::GetInstance()->GetLogFolder());

    static CXCrashHandler handler;
    LPTOP_LEVEL_EXCEPTION_FILTER installed = SetUnhandledExceptionFilter(ChildFilter);
    AppendToFile(g_childResults,
                 std::string("installed=") +
                     (installed == CXCrashHandler::RecordExceptionInfo ? "1" : "0") + "\n");
    if (g_childMode == "handled") {
        RaiseHandledExceptions();
        return;
    }
    AddVectoredExceptionHandler(FALSE, EndChild);
    if (g_childMode == "debugger")
        AddVectoredExceptionHandler(TRUE, PretendDebugger);
    FaultAt(fields[2], kFaultAddress);
    ADD_FAILURE() << "the fault did not end the process";
}

// ---------------------------------------------------------------------------
// Crashes in child processes

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

// Gives each test a company of its own, so that parallel tests never share a
// Log folder, and removes that company's folders afterwards.
class CrashHandlerProcess : public ::testing::Test {
protected:
    CrashHandlerProcess() {
        static LONG counter = 0;
        char company[64];
        wsprintfA(company, "ZMCrash-%lx-%ld-%lx", GetCurrentProcessId(),
                  InterlockedIncrement(&counter), GetTickCount());
        m_company = company;
        CKWSysUtils* utils = CKWSysUtils::GetInstance();
        utils->SetNames(m_company.c_str(), kProduct);
        m_logFolder = static_cast<const char*>(utils->GetLogFolder());
        m_userConfiguration = static_cast<const char*>(utils->GetConfigurationFolder(false));
        m_results = m_folder.File("results.txt");
        m_senderLog = m_folder.File("sender.txt");
        m_senderDoneName = m_company + "-sender";
        m_senderDone = CreateEventA(nullptr, TRUE, FALSE, m_senderDoneName.c_str());
    }
    ~CrashHandlerProcess() override {
        if (m_senderDone)
            CloseHandle(m_senderDone);
        RemoveFolderTree(Environment("ProgramData") + "\\" + m_company);
        RemoveFolderTree(Environment("APPDATA") + "\\" + m_company);
        delete CKWSysUtils::GetInstance();
    }

    // Copies this program into a folder with a blank in its name, with a
    // report sender beside it and a decoy "Crash.exe" where an unquoted
    // sender path would be cut. All three are this program. Returns the copy.
    std::string InstallProgramCopies() {
        const std::string folder = m_folder.File("Crash Test\\");
        const std::string self = ModulePath() + ".so";
        const std::string program = folder + "common_test_XCrashHandler.exe.so";
        EXPECT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        EXPECT_TRUE(CopyFileA(self.c_str(), program.c_str(), FALSE));
        EXPECT_TRUE(
            CopyFileA(self.c_str(), (folder + CXCrashHandler::SENDER_FILE_NAME).c_str(), FALSE));
        EXPECT_TRUE(CopyFileA(self.c_str(), m_folder.File("Crash.exe").c_str(), FALSE));
        return program;
    }

    // Runs the child case in program (a .exe.so) and returns its exit code;
    // the test's report of a child that runs to its end goes to m_report.
    DWORD RunChild(const std::string& program, const char* mode, const char* site) {
        SetEnvironmentVariableA("ZM_CRASH_CHILD",
                                (m_company + "|" + mode + "|" + site + "|" + m_results + "|" +
                                 m_senderLog + "|" + m_senderDoneName)
                                    .c_str());
        std::string command = ChildTestCommand(kChildFilter, m_report);
        // The copy runs in place of this program.
        const std::string self = ModulePath() + ".so";
        command.replace(command.find(self), self.size(), program);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                      nullptr, &startup, &process);
        SetEnvironmentVariableA("ZM_CRASH_CHILD", nullptr);
        if (!started) {
            ADD_FAILURE() << "cannot start " << program;
            return 0;
        }
        DWORD code = 0;
        if (WaitForSingleObject(process.hProcess, kChildTimeoutMs) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the child did not end within " << kChildTimeoutMs << " ms";
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, INFINITE);
        }
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return code;
    }

    std::string LogFile(const char* name) const { return m_logFolder + name; }

    CTempFolder m_folder;
    std::string m_company;
    std::string m_logFolder;
    std::string m_userConfiguration;
    std::string m_results;
    std::string m_senderLog;
    std::string m_senderDoneName;
    HANDLE m_senderDone = nullptr;
    std::string m_report = m_folder.File("child.json");
};

// Wherever the program faults, the report is written once: on a thread of its
// own, below C++ frames that have objects to destroy (most of the program's
// code), inside a window procedure and on a worker thread.
class CrashHandlerFaultSite : public CrashHandlerProcess,
                              public ::testing::WithParamInterface<const char*> {};

TEST_P(CrashHandlerFaultSite, FaultWritesReportDumpAndScreenshotPrivately) {
    // No sender lies beside the test program, so the handler passes the
    // exception on to the platform (here, to the child's last handler).
    ASSERT_FALSE(FileExists(ModulePath().substr(0, ModulePath().rfind('\\') + 1) +
                            CXCrashHandler::SENDER_FILE_NAME));
    // Started as its .so, the child's file name has two dots; the report
    // names the program without the last one.
    const std::string program = ModulePath() + ".so";
    const std::string file = program.substr(program.rfind('\\') + 1);
    const std::string name = file.substr(0, file.rfind('.'));
    ASSERT_EQ(kChildExitCode, RunChild(program, "plain", GetParam()));
    EXPECT_EQ("installed=1\npassed1\n", ReadWholeFile(m_results));

    const std::string report = ReadWholeFile(LogFile("ERRORLOG.TXT"));
    // The report's blocks, in order.
    const std::string first =
        name + " caused an Access Violation (0xc0000005) \r\nin module " + file + " at ";
    const std::string programLine = "\r\n" + program + ", run by ";
    const char* const blocks[] = {
        first.c_str(),
        "\r\n\r\nError occurred at ",
        programLine.c_str(),
        "\r\nOperating system:  ",
        " logical processor(s), type ",
        "\r\nCPU Vendor: ",
        "% memory in use:\r\n",
        " MB user address space free\r\n",
        "\r\nWrite to location 00000010 caused an access violation.\r\n",
        "\r\nCompiler Options:\r\n_MSC_VER=",
        "ANSI  ",
        "\r\n\r\nContext:\r\nEDI:    0x",
        "\r\nEFlags: 0x",
        "\r\nBytes at CS:EIP:\r\n",
        "\r\n\r\nStack:\r\n0x",
        "\r\n\r\nEnvironment Variables:\r\n",
        ":  <ZM_CRASH_CHILD=",
        "\r\n\r\nModule 1\r\n",
        "\r\nImage Base: 0x",
        "\r\nVersion Information:\r\n   Company:    ",
        "\r\n   ProdVer:    ",
        "\r\n\r\n===== [end of ERRORLOG.TXT] =====\r\n",
    };
    size_t at = 0;
    for (const char* block : blocks) {
        size_t found = report.find(block, at);
        ASSERT_NE(std::string::npos, found) << "missing after offset " << at << ": " << block;
        at = found + std::strlen(block);
    }
    EXPECT_EQ(report.size(), at) << "the end line ends the report";
    EXPECT_NE(std::string::npos, report.find("\r\n" + program + "\r\nImage Base: 0x"))
        << "the program is in the module list";

    const std::string dump = ReadWholeFile(LogFile("CRASH.DMP"));
    EXPECT_EQ(0, dump.compare(0, 4, "MDMP"));

    ExpectBitmapFile(LogFile("XCRASHREPORT_Mon1.bmp"), GetSystemMetrics(SM_CXSCREEN),
                     GetSystemMetrics(SM_CYSCREEN), 8);
    EXPECT_EQ(1, GetSystemMetrics(SM_CMONITORS));
    EXPECT_FALSE(FileExists(LogFile("XCRASHREPORT_Mon2.bmp")));

    for (const char* logFile : {"ERRORLOG.TXT", "CRASH.DMP", "XCRASHREPORT_Mon1.bmp"})
        EXPECT_EQ(0600, UnixMode(LogFile(logFile))) << logFile;
}

INSTANTIATE_TEST_SUITE_P(Sites, CrashHandlerFaultSite,
                         ::testing::Values("thread", "deep", "window", "worker"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param);
                         });

TEST_F(CrashHandlerProcess, SecondExceptionPassesOnWithoutWriting) {
    ASSERT_EQ(kChildExitCode, RunChild(ModulePath() + ".so", "twice", "deep"));
    EXPECT_EQ("installed=1\npassed1\npassed2\n", ReadWholeFile(m_results));
    // The child removed the first report; the second exception made none.
    EXPECT_FALSE(FileExists(m_logFolder));
}

TEST_F(CrashHandlerProcess, HandledExceptionsWriteNoReport) {
    ASSERT_EQ(0u, RunChild(ModulePath() + ".so", "handled", "deep"));
    EXPECT_TRUE(ChildTestsPassed(m_report, 1));
    EXPECT_EQ("installed=1\n", ReadWholeFile(m_results));
    for (const char* name : {"ERRORLOG.TXT", "CRASH.DMP", "XCRASHREPORT_Mon1.bmp"})
        EXPECT_FALSE(FileExists(LogFile(name))) << name;
}

TEST_F(CrashHandlerProcess, StartsTheSenderFromTheProgramFolderQuoted) {
    const std::string program = InstallProgramCopies();
    // With the sender started, the handler ends the process with the fault's
    // code before any later handler sees it.
    ASSERT_EQ(static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION), RunChild(program, "plain", "deep"));
    EXPECT_EQ("installed=1\n", ReadWholeFile(m_results));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m_senderDone, kChildTimeoutMs))
        << "the sender did not run";
    const std::vector<std::string> expected = {
        m_folder.File("Crash Test\\") + CXCrashHandler::SENDER_FILE_NAME,
        "common_test_XCrashHandler.exe.so",
        "/MAN=" + m_company,
        std::string("/APP=") + kProduct,
        // The folder's closing backslash survives the argument parser.
        "/LOCALCONFIG=" + m_userConfiguration,
    };
    EXPECT_EQ(expected, Lines(ReadWholeFile(m_senderLog)));
    EXPECT_TRUE(FileExists(LogFile("ERRORLOG.TXT")));
}

TEST_F(CrashHandlerProcess, UnderADebuggerWritesTheReportButStartsNoSender) {
    const std::string program = InstallProgramCopies();
    // The fault reached the child's last handler: the crash handler let it
    // pass instead of ending the process, as it does once the sender started.
    ASSERT_EQ(kChildExitCode, RunChild(program, "debugger", "deep"));
    EXPECT_EQ("installed=1\npassed1\n", ReadWholeFile(m_results));
    for (const char* name : {"ERRORLOG.TXT", "CRASH.DMP", "XCRASHREPORT_Mon1.bmp"})
        EXPECT_TRUE(FileExists(LogFile(name))) << name;
    EXPECT_NE(WAIT_OBJECT_0, WaitForSingleObject(m_senderDone, 0));
}

// ---------------------------------------------------------------------------
// In-process parts

LONG WINAPI OtherFilter(EXCEPTION_POINTERS*) {
    return EXCEPTION_CONTINUE_SEARCH;
}

TEST(CXCrashHandler, InstallsItsFilterAndRestoresThePreviousOne) {
    LPTOP_LEVEL_EXCEPTION_FILTER original = SetUnhandledExceptionFilter(OtherFilter);
    {
        CXCrashHandler handler;
        LPTOP_LEVEL_EXCEPTION_FILTER current = SetUnhandledExceptionFilter(OtherFilter);
        EXPECT_EQ(current, CXCrashHandler::RecordExceptionInfo);
        SetUnhandledExceptionFilter(current);
    }
    EXPECT_EQ(SetUnhandledExceptionFilter(original), OtherFilter);
}

TEST(CXCrashHandler, DescribesExceptionCodes) {
    const struct {
        DWORD code;
        const char* text;
    } cases[] = {
        {0x40010005, "a Control-C"},
        {EXCEPTION_ACCESS_VIOLATION, "an Access Violation"},
        {0xC000008C, "a Array Bounds Exceeded"},
        {EXCEPTION_INT_DIVIDE_BY_ZERO, "an Integer Divide by Zero"},
        {EXCEPTION_STACK_OVERFLOW, "a Stack Overflow"},
        {0xE06D7363, "a Microsoft C++ Exception"},
        {0, "an Unknown exception type"},
        {0xC0000004, "an Unknown exception type"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.text, CXCrashHandler::GetExceptionDescription(c.code)) << std::hex << c.code;
}

TEST(CXCrashHandler, NamesWindowsVersionsAtTheirBoundaries) {
    const DWORD k9x = VER_PLATFORM_WIN32_WINDOWS, kNT = VER_PLATFORM_WIN32_NT;
    const struct {
        DWORD platform, major, minor, build;
        const char* name;
    } cases[] = {
        {k9x, 4, 0, 949, "unknown Windows version"},
        {k9x, 4, 0, 950, "Windows 95"},
        {k9x, 4, 0, 951, "Windows 95 SP1"},
        {k9x, 4, 3, 1080, "Windows 95 SP1"},
        {k9x, 4, 0, 1081, "Windows 95 OSR2"},
        {k9x, 4, 10, 1998, "Windows 98"},
        // The 9x build word comes with the version in its high half.
        {k9x, 4, 10, 0x040A07CF, "Windows 98 SP1"},
        {k9x, 4, 10, 2182, "Windows 98 SP1"},
        {k9x, 4, 10, 2183, "Windows 98 SE"},
        {k9x, 4, 10, 1997, "unknown Windows version"},
        {k9x, 4, 90, 3000, "Windows ME"},
        {k9x, 5, 0, 950, "unknown Windows version"},
        {kNT, 3, 51, 1057, "Windows NT 3.51"},
        {kNT, 4, 0, 1381, "Windows NT 4"},
        {kNT, 5, 0, 2195, "Windows 2000"},
        {kNT, 5, 1, 2600, "Windows XP"},
        {kNT, 5, 2, 3790, "Windows 2003 Server"},
        {kNT, 6, 0, 6002, "Windows Vista"},
        {kNT, 6, 1, 7601, "Windows 7"},
        {kNT, 6, 2, 9200, "unknown Windows version"},
        {kNT, 10, 0, 19045, "unknown Windows version"},
        {3, 7, 0, 0, "Windows CE"},
        {VER_PLATFORM_WIN32s, 3, 11, 0, "unknown Windows version"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(c.name,
                     CXCrashHandler::GetWindowsVersionName(c.platform, c.major, c.minor, c.build))
            << c.platform << " " << c.major << "." << c.minor << "." << c.build;
    }
}

TEST(CXCrashHandler, FormatsTimesInLocalTimeWithEvenSeconds) {
    const struct {
        SYSTEMTIME local;
        const char* text;
    } cases[] = {
        {{2024, 3, 0, 7, 9, 5, 7, 0}, "3/7/2024 09:05:06"},
        {{1999, 12, 0, 31, 23, 59, 59, 999}, "12/31/1999 23:59:58"},
        {{1980, 1, 0, 1, 0, 0, 0, 0}, "1/1/1980 00:00:00"},
    };
    for (const auto& c : cases) {
        FILETIME local, utc;
        ASSERT_TRUE(SystemTimeToFileTime(&c.local, &local));
        ASSERT_TRUE(LocalFileTimeToFileTime(&local, &utc));
        char text[32];
        FormatReportTime(utc, text);
        EXPECT_STREQ(c.text, text);
    }
}

// ---------------------------------------------------------------------------
// Screenshots

TEST(MonitorScreenshots, CapturesEachDisplayAtTheModesDepth) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    const int deviceDepth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    ASSERT_GT(deviceDepth, 8) << "the modes below assume a true-colour display";

    const struct {
        int mode;
        int depth;
    } cases[] = {
        {MonitorScreenshots::MODE_COLORS_16, 4}, {MonitorScreenshots::MODE_COLORS_256, 8}, {0, 16}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        CTempFolder folder;
        MonitorScreenshots shots;
        ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), shots.Capture(c.mode));
        const MonitorScreenshot* shot = shots.GetScreenshot(0);
        ASSERT_NE(shot, nullptr);
        EXPECT_EQ(c.depth, shot->header->bmiHeader.biBitCount);
        EXPECT_EQ(nullptr, shots.GetScreenshot(shots.GetCount()));

        EXPECT_EQ(1, shots.WriteBitmaps(folder.Path().c_str(), "Shot"));
        ExpectBitmapFile(folder.File("Shot1.bmp"), width, height, c.depth);
        EXPECT_EQ(0600, UnixMode(folder.File("Shot1.bmp")));
        EXPECT_FALSE(FileExists(folder.File("Shot2.bmp")));
    }
}

TEST(MonitorScreenshots, ShowsWhatIsOnTheScreen) {
    // A white window in the top left corner of the screen.
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "ZMCrashWhite";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "ZMCrashWhite", "", WS_POPUP | WS_VISIBLE, 0, 0,
                                  64, 64, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    UpdateWindow(window);
    GdiFlush();

    MonitorScreenshots shots;
    ASSERT_EQ(1, shots.Capture(MonitorScreenshots::MODE_COLORS_256));
    DestroyWindow(window);
    const MonitorScreenshot* shot = shots.GetScreenshot(0);
    ASSERT_NE(shot, nullptr);
    const LONG width = shot->header->bmiHeader.biWidth;
    const LONG height = shot->header->bmiHeader.biHeight;
    const size_t rowBytes = (8 * size_t(width) + 31) / 32 * 4;
    // Bottom-up rows: the screen's top row is the last one.
    const BYTE* topRow = shot->bits + rowBytes * (height - 1);
    const RGBQUAD& color = shot->header->bmiColors[topRow[10]];
    EXPECT_EQ(255, color.rgbRed);
    EXPECT_EQ(255, color.rgbGreen);
    EXPECT_EQ(255, color.rgbBlue);
}

TEST(MonitorScreenshots, StopsAtAFileThatCannotBeCreated) {
    CTempFolder folder;
    MonitorScreenshots shots;
    ASSERT_EQ(1, shots.Capture(MonitorScreenshots::MODE_COLORS_256));
    const std::string missing = folder.File("missing\\");
    EXPECT_EQ(0, shots.WriteBitmaps(missing.c_str(), "Shot"));
    EXPECT_FALSE(FileExists(missing));
    shots.Free();
    EXPECT_EQ(0, shots.GetCount());
    EXPECT_EQ(0, shots.WriteBitmaps(folder.Path().c_str(), "Shot"));
    EXPECT_FALSE(FileExists(folder.File("Shot1.bmp")));
}

// ---------------------------------------------------------------------------
// Version resources

TEST(CModuleVersionInfo, ReadsTheFirstTranslationsTexts) {
    // Wine 8's own user32 carries this resource.
    CModuleVersionInfo info;
    ASSERT_TRUE(info.Init("C:\\windows\\system32\\user32.dll"));
    char text[CModuleVersionInfo::TEXT_LENGTH];
    info.GetCompanyName(text, sizeof text);
    EXPECT_STREQ("Microsoft Corporation", text);
    info.GetProductName(text, sizeof text);
    EXPECT_STREQ("Wine", text);
    info.GetFileDescription(text, sizeof text);
    EXPECT_STREQ("Wine core dll", text);
    WORD version[4];
    info.GetFileVersion(version);
    EXPECT_EQ((std::vector<WORD>{5, 1, 2600, 2180}), std::vector<WORD>(version, version + 4));
    info.GetProductVersion(version);
    EXPECT_EQ((std::vector<WORD>{5, 1, 2600, 2180}), std::vector<WORD>(version, version + 4));
    EXPECT_EQ(static_cast<DWORD>(VFT_DLL), info.GetFileType());

    // A buffer too small gets the text cut to its size less one.
    char cut[5];
    info.GetCompanyName(cut, sizeof cut);
    EXPECT_STREQ("Micr", cut);

    info.Release();
    info.GetCompanyName(text, sizeof text);
    EXPECT_STREQ("", text);
    info.GetFileVersion(version);
    EXPECT_EQ((std::vector<WORD>{0, 0, 0, 0}), std::vector<WORD>(version, version + 4));
}

TEST(CModuleVersionInfo, FileWithoutResourceLeavesEverythingEmpty) {
    CTempFolder folder;
    const std::string path = folder.File("plain.txt");
    AppendToFile(path, "no version here");
    const std::string tooLong(CModuleVersionInfo::PATH_LENGTH, 'x');
    for (const std::string& file : {path, folder.File("missing.dll"), tooLong}) {
        CModuleVersionInfo info;
        ASSERT_TRUE(info.Init("C:\\windows\\system32\\user32.dll"));
        EXPECT_FALSE(info.Init(file.c_str())) << file;
        char text[CModuleVersionInfo::TEXT_LENGTH];
        info.GetProductName(text, sizeof text);
        EXPECT_STREQ("", text);
        WORD version[4];
        info.GetFileVersion(version);
        EXPECT_EQ(0, version[0]);
        EXPECT_EQ(0u, info.GetFileType());
    }
}

} // namespace
