#include "XCrashReport.h"

#include "ModuleVersionInfo.h"
#include "PrintfFormat.h"
#include "XCrashHandler.h"

#include <lm.h>

#include <cpuid.h>

namespace {

// The buffer is written out once it holds more than this many bytes, so one
// more piece of at most kReportPieceLength characters always fits.
const int kReportFlushThreshold = 15360;
// wvsprintfA writes at most 1,024 characters with the NUL.
const int kReportPieceLength = 1024;
const SIZE_T kStackDumpLimit = 16 * 1024;
const int kInstructionBytes = 16;
const int kStackRowWords = 4;
const int kVersionTextLength = 199; // 198 characters and the NUL
const int kUserNameLength = 199;
// A region that cannot be queried is passed over in steps of this size.
const SIZE_T kUnqueriedRegionSize = 64 * 1024;
const DWORD kMegabyte = 1024 * 1024;

// The build's values; 0 where neither the compiler nor the headers set one.
#ifdef _MSC_VER
const int kMscVersion = _MSC_VER;
#else
const int kMscVersion = 0;
#endif
#ifdef WINVER
const int kWinVer = WINVER;
#else
const int kWinVer = 0;
#endif
#ifdef _WIN32_WINNT
const int kWin32WinNT = _WIN32_WINNT;
#else
const int kWin32WinNT = 0;
#endif
#ifdef _WIN32_WINDOWS
const int kWin32Windows = _WIN32_WINDOWS;
#else
const int kWin32Windows = 0;
#endif
#ifdef NTDDI_VERSION
const int kNtddiVersion = NTDDI_VERSION;
#else
const int kNtddiVersion = 0;
#endif
#ifdef _WIN32_IE
const int kWin32IE = _WIN32_IE;
#else
const int kWin32IE = 0;
#endif

// Report buffer: written by one thread at a time, since the filter runs once.
char g_report[kReportFlushThreshold + kReportPieceLength + 1];
int g_reportLength = 0;
HANDLE g_reportFile = INVALID_HANDLE_VALUE;

void ReportFlush() {
    if (g_reportLength > 0 && g_reportFile != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(g_reportFile, g_report, g_reportLength, &written, nullptr);
    }
    g_reportLength = 0;
}

// Formats with the platform's wsprintf rules (%I64x for 64-bit values, %ls
// for wide text), which printf's format check does not know.
void WINAPIV ReportPrintf(const char* format, ...) {
    if (g_reportLength > kReportFlushThreshold)
        ReportFlush();
    char piece[kReportPieceLength + 1];
    AfxWin32VaList args;
    AFX_WIN32_VA_START(args, format);
    int length = wvsprintfA(piece, format, args);
    AFX_WIN32_VA_END(args);
    if (length > 0) {
        CopyMemory(g_report + g_reportLength, piece, length);
        g_reportLength += length;
        g_report[g_reportLength] = '\0';
    }
}

// The number of leading bytes of [address, address + size) in committed,
// readable pages. Memory that the crash may have damaged is checked with this
// before it is read: this code has no structured exception handling to catch
// a fault inside the filter.
SIZE_T ReadableLength(const void* address, SIZE_T size) {
    const ULONG_PTR start = reinterpret_cast<ULONG_PTR>(address);
    if (size > ~static_cast<ULONG_PTR>(0) - start)
        size = ~static_cast<ULONG_PTR>(0) - start;
    const ULONG_PTR end = start + size;
    const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                           PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    ULONG_PTR p = start;
    while (p < end) {
        MEMORY_BASIC_INFORMATION info;
        if (!VirtualQuery(reinterpret_cast<const void*>(p), &info, sizeof info) ||
            info.State != MEM_COMMIT || !(info.Protect & readable) ||
            (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)))
            break;
        p = reinterpret_cast<ULONG_PTR>(info.BaseAddress) + info.RegionSize;
    }
    return (p < end ? p : end) - start;
}

bool IsReadable(const void* address, SIZE_T size) {
    return ReadableLength(address, size) == size;
}

LPCSTR FileNamePart(LPCSTR path) {
    LPCSTR name = path;
    for (LPCSTR p = path; *p; ++p) {
        if (*p == '\\')
            name = p + 1;
    }
    return name;
}

// The name of the module that holds an address, or "Unknown".
void FaultingModuleName(const void* address, LPSTR name, int size) {
    lstrcpynA(name, "Unknown", size);
    MEMORY_BASIC_INFORMATION info;
    char path[MAX_PATH];
    if (VirtualQuery(address, &info, sizeof info) && info.AllocationBase) {
        DWORD length =
            GetModuleFileNameA(static_cast<HMODULE>(info.AllocationBase), path, MAX_PATH);
        if (length > 0 && length < MAX_PATH)
            lstrcpynA(name, FileNamePart(path), size);
    }
}

void WriteSystemInformation(LPCSTR programPath) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    char time[32];
    FormatReportTime(now, time);
    ReportPrintf("Error occurred at %s.\r\n", time);

    char user[kUserNameLength];
    DWORD userLength = kUserNameLength;
    if (!GetUserNameA(user, &userLength))
        lstrcpyA(user, "Unknown");
    ReportPrintf("%s, run by %s.\r\n", programPath, user);

    WKSTA_INFO_100* workstation = nullptr;
    if (NetWkstaGetInfo(nullptr, 100, reinterpret_cast<LPBYTE*>(&workstation)) == NERR_Success &&
        workstation) {
        ReportPrintf("Computer Name: %ls   Domain: %ls.\r\n", workstation->wki100_computername,
                     workstation->wki100_langroup);
    }
    if (workstation)
        NetApiBufferFree(workstation);

    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    char versionNumber[48] = "";
    const char* versionName = "unknown Windows version";
    if (GetVersionExA(&version)) {
        versionName =
            CXCrashHandler::GetWindowsVersionName(version.dwPlatformId, version.dwMajorVersion,
                                                  version.dwMinorVersion, version.dwBuildNumber);
        wsprintfA(versionNumber, "%u.%u.%u", version.dwMajorVersion, version.dwMinorVersion,
                  LOWORD(version.dwBuildNumber));
    }
    ReportPrintf("Operating system:  %s (%s).\r\n", versionName, versionNumber);

    SYSTEM_INFO system;
    GetSystemInfo(&system);
    ReportPrintf("%d logical processor(s), type %d.\r\n", system.dwNumberOfProcessors,
                 system.dwProcessorType);

    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    char vendor[13] = "";
    __cpuid(0, eax, ebx, ecx, edx);
    CopyMemory(vendor, &ebx, 4);
    CopyMemory(vendor + 4, &edx, 4);
    CopyMemory(vendor + 8, &ecx, 4);
    vendor[12] = '\0';
    __cpuid(1, eax, ebx, ecx, edx);
    ReportPrintf("CPU Vendor: %hs  Stepping: %X  Model: %X  Family: %X.\r\n", vendor, eax & 0xF,
                 (eax >> 4) & 0xF, (eax >> 8) & 0xF);

    MEMORYSTATUSEX memory = {};
    memory.dwLength = sizeof memory;
    GlobalMemoryStatusEx(&memory);
    auto megabytes = [](DWORDLONG bytes) {
        return static_cast<UINT>((bytes + kMegabyte - 1) / kMegabyte);
    };
    ReportPrintf("%u%% memory in use:\r\n", memory.dwMemoryLoad);
    ReportPrintf("%10u MB physical memory\r\n", megabytes(memory.ullTotalPhys));
    ReportPrintf("%10u MB physical memory free\r\n", megabytes(memory.ullAvailPhys));
    ReportPrintf("%10u MB paging file\r\n", megabytes(memory.ullTotalPageFile));
    ReportPrintf("%10u MB paging file free\r\n", megabytes(memory.ullAvailPageFile));
    ReportPrintf("%10u MB user address space\r\n", megabytes(memory.ullTotalVirtual));
    ReportPrintf("%10u MB user address space free\r\n", megabytes(memory.ullAvailVirtual));
}

void WriteCompilerOptions() {
    ReportPrintf("\r\nCompiler Options:\r\n");
    ReportPrintf("_MSC_VER=%d  ", kMscVersion);
    ReportPrintf("WINVER=0x%X  ", kWinVer);
    ReportPrintf("_WIN32_WINNT=0x%X  ", kWin32WinNT);
    ReportPrintf("_WIN32_WINDOWS=0x%X  ", kWin32Windows);
    ReportPrintf("\r\n");
    ReportPrintf("NTDDI_VERSION=0x%X  ", kNtddiVersion);
    ReportPrintf("_WIN32_IE=0x%X  ", kWin32IE);
#ifdef UNICODE
    ReportPrintf("UNICODE  ");
#else
    ReportPrintf("ANSI  ");
#endif
#ifdef _DEBUG
    ReportPrintf("Debug  ");
#else
    ReportPrintf("Release  ");
#endif
    ReportPrintf("\r\n");
}

// The labels are the report's fixed texts; on x86-64 they show the 64-bit
// registers in full ("%08I64x" prints eight digits at least, more when needed).
void WriteContext(const CONTEXT& context) {
    ReportPrintf("\r\n");
    ReportPrintf("Context:\r\n");
    ReportPrintf("EDI:    0x%08I64x   ESI: 0x%08I64x   EAX:   0x%08I64x\r\n", context.Rdi,
                 context.Rsi, context.Rax);
    ReportPrintf("EBX:    0x%08I64x   ECX: 0x%08I64x   EDX:   0x%08I64x\r\n", context.Rbx,
                 context.Rcx, context.Rdx);
    ReportPrintf("EIP:    0x%08I64x   EBP: 0x%08I64x   SegCs: 0x%08x\r\n", context.Rip, context.Rbp,
                 context.SegCs);
    ReportPrintf("EFlags: 0x%08x   ESP: 0x%08I64x   SegSs: 0x%08x\r\n", context.EFlags, context.Rsp,
                 context.SegSs);
}

void WriteInstructionBytes(const CONTEXT& context) {
    ReportPrintf("\r\nBytes at CS:EIP:\r\n");
    const BYTE* code = reinterpret_cast<const BYTE*>(context.Rip);
    for (int i = 0; i < kInstructionBytes; ++i) {
        if (IsReadable(code + i, 1))
            ReportPrintf("%02x ", code[i]);
        else
            ReportPrintf("?? ");
    }
}

// Rows of four 32-bit words from the stack pointer up to the thread's stack
// base, at most kStackDumpLimit bytes.
void WriteStack(const CONTEXT& context) {
    ReportPrintf("\r\n\r\nStack:\r\n");
    const BYTE* top = reinterpret_cast<const BYTE*>(context.Rsp);
    const BYTE* base =
        static_cast<const BYTE*>(reinterpret_cast<NT_TIB*>(NtCurrentTeb())->StackBase);
    SIZE_T size = base > top ? static_cast<SIZE_T>(base - top) : 0;
    if (size > kStackDumpLimit)
        size = kStackDumpLimit;
    const SIZE_T readable = ReadableLength(top, size);
    const SIZE_T words = readable / sizeof(DWORD);
    for (SIZE_T row = 0; row < words; row += kStackRowWords) {
        const BYTE* address = top + row * sizeof(DWORD);
        const SIZE_T rowWords = words - row < kStackRowWords ? words - row : kStackRowWords;
        char line[160];
        int length = wsprintfA(line, "0x%08I64x: ", reinterpret_cast<ULONGLONG>(address));
        for (SIZE_T i = 0; i < kStackRowWords; ++i) {
            if (i < rowWords) {
                DWORD word;
                CopyMemory(&word, address + i * sizeof(DWORD), sizeof word);
                length += wsprintfA(line + length, "%08x ", word);
            } else {
                length += wsprintfA(line + length, "         ");
            }
        }
        for (SIZE_T i = 0; i < rowWords * sizeof(DWORD); ++i) {
            const BYTE c = address[i];
            line[length++] = c < 32 || c >= 127 ? '.' : static_cast<char>(c);
        }
        line[length] = '\0';
        ReportPrintf("%s\r\n", line);
    }
    if (readable < size)
        ReportPrintf("Exception encountered during stack dump.\r\n");
    ReportPrintf("\r\n");
}

void WriteEnvironment() {
    ReportPrintf("Environment Variables:\r\n");
    LPCH block = GetEnvironmentStringsA();
    if (block) {
        int index = 0;
        for (LPCSTR entry = block; *entry; entry += lstrlenA(entry) + 1, ++index) {
            if (entry[0] != '=')
                ReportPrintf("%5d:  <%s>\n", index, entry);
        }
        FreeEnvironmentStringsA(block);
    }
    ReportPrintf("\r\n\r\n");
}

// Writes the block of the module at base when it is a loaded image; returns
// whether it wrote one.
bool DumpModuleInfo(const BYTE* base, int number) {
    char path[MAX_PATH];
    DWORD pathLength =
        GetModuleFileNameA(reinterpret_cast<HMODULE>(const_cast<BYTE*>(base)), path, MAX_PATH);
    if (pathLength == 0 || pathLength >= MAX_PATH)
        return false;
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (!IsReadable(dos, sizeof *dos) || dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew <= 0)
        return false;
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (!IsReadable(nt, sizeof *nt) || nt->Signature != IMAGE_NT_SIGNATURE ||
        nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR_MAGIC)
        return false;

    ReportPrintf("Module %d\r\n", number);
    ReportPrintf("%s\r\n", path);
    ReportPrintf("Image Base: 0x%08I64x  Image Size: 0x%08x\r\n",
                 static_cast<ULONGLONG>(nt->OptionalHeader.ImageBase),
                 nt->OptionalHeader.SizeOfImage);
    ReportPrintf("Checksum:   0x%08x  Time Stamp: 0x%08x\r\n", nt->OptionalHeader.CheckSum,
                 nt->FileHeader.TimeDateStamp);

    // A module without a file of that name (a winelib program is its .so)
    // shows size 0 and an unknown time.
    DWORD fileSize = 0;
    char fileTime[32] = "Unknown";
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        fileSize = GetFileSize(file, nullptr);
        FILETIME written;
        if (GetFileTime(file, nullptr, nullptr, &written))
            FormatReportTime(written, fileTime);
        CloseHandle(file);
    }
    ReportPrintf("File Size:  %-10d  File Time:  %s\r\n", fileSize, fileTime);

    CModuleVersionInfo version;
    version.Init(path);
    char text[kVersionTextLength];
    WORD numbers[4];
    ReportPrintf("Version Information:\r\n");
    version.GetCompanyName(text, kVersionTextLength);
    ReportPrintf("   Company:    %s\r\n", text);
    version.GetProductName(text, kVersionTextLength);
    ReportPrintf("   Product:    %s\r\n", text);
    version.GetFileDescription(text, kVersionTextLength);
    ReportPrintf("   FileDesc:   %s\r\n", text);
    version.GetFileVersion(numbers);
    ReportPrintf("   FileVer:    %d.%d.%d.%d\r\n", numbers[0], numbers[1], numbers[2], numbers[3]);
    version.GetProductVersion(numbers);
    ReportPrintf("   ProdVer:    %d.%d.%d.%d\r\n", numbers[0], numbers[1], numbers[2], numbers[3]);
    ReportPrintf("\r\n");
    return true;
}

// Walks the whole user address space: on x86-64 the modules lie far above
// 4 GB, where a walk that stopped there would find none.
void WriteModuleList() {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const ULONG_PTR top = reinterpret_cast<ULONG_PTR>(system.lpMaximumApplicationAddress);
    ULONG_PTR lastBase = 0;
    int number = 1;
    for (ULONG_PTR address = 0; address < top;) {
        MEMORY_BASIC_INFORMATION info;
        if (!VirtualQuery(reinterpret_cast<const void*>(address), &info, sizeof info)) {
            address += kUnqueriedRegionSize;
            continue;
        }
        const ULONG_PTR base = reinterpret_cast<ULONG_PTR>(info.AllocationBase);
        if (info.State == MEM_COMMIT && base > lastBase) {
            lastBase = base;
            if (DumpModuleInfo(reinterpret_cast<const BYTE*>(base), number))
                ++number;
        }
        const ULONG_PTR next = reinterpret_cast<ULONG_PTR>(info.BaseAddress) + info.RegionSize;
        if (next <= address)
            break; // a region that does not move the walk on would hold it forever
        address = next;
    }
}

} // namespace

void FormatReportTime(const FILETIME& utc, LPSTR buffer) {
    FILETIME local;
    WORD date = 0, time = 0;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToDosDateTime(&local, &date, &time)) {
        lstrcpyA(buffer, "Unknown");
        return;
    }
    wsprintfA(buffer, "%d/%d/%d %02d:%02d:%02d", (date >> 5) & 0xF, date & 0x1F,
              ((date >> 9) & 0x7F) + 1980, (time >> 11) & 0x1F, (time >> 5) & 0x3F,
              (time & 0x1F) * 2);
}

void WriteCrashReport(HANDLE file, const EXCEPTION_POINTERS* pointers, LPCSTR programPath,
                      LPCSTR programName) {
    g_reportFile = file;
    g_reportLength = 0;
    const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
    const CONTEXT& context = *pointers->ContextRecord;

    char module[MAX_PATH];
    FaultingModuleName(record.ExceptionAddress, module, MAX_PATH);
    ReportPrintf("%s caused %s (0x%08x) \r\nin module %s at %04x:%08I64x.\r\n\r\n", programName,
                 CXCrashHandler::GetExceptionDescription(record.ExceptionCode),
                 record.ExceptionCode, module, context.SegCs,
                 reinterpret_cast<ULONGLONG>(record.ExceptionAddress));

    WriteSystemInformation(programPath);
    if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2) {
        ReportPrintf("\r\n%s location %08I64x caused an access violation.\r\n",
                     record.ExceptionInformation[0] == 0 ? "Read from" : "Write to",
                     static_cast<ULONGLONG>(record.ExceptionInformation[1]));
    }
    WriteCompilerOptions();
    WriteContext(context);
    WriteInstructionBytes(context);
    WriteStack(context);
    WriteEnvironment();
    WriteModuleList();
    ReportPrintf("\r\n===== [end of %s] =====\r\n", "ERRORLOG.TXT");
    ReportFlush();
    g_reportFile = INVALID_HANDLE_VALUE;
}
