#include "TraceLog.h"

#include <cstring>

// Built before every other static object of the program, whose constructors
// and destructors may trace, and destroyed after them.
CTraceLog g_TraceLog __attribute__((init_priority(101)));

namespace {

// wvsprintfA writes at most 1,024 characters with the NUL.
const int kMessageBytes = 1025;
// The finished line, CR LF included; a message too long for it is cut.
const int kLineBytes = 1024;

} // namespace

const char* FindFileBaseName(const char* path) {
    if (!path)
        return "";
    const char* base = path;
    for (const char* p = path; *p; ++p) {
        // Our build's __FILE__ uses slashes; Windows paths use backslashes.
        if (*p == '\\' || *p == '/')
            base = p + 1;
    }
    return base;
}

CTraceLog::CTraceLog() : m_level(LEVEL_OFF), m_sourceLine(0), m_savedError(0) {
    InitializeCriticalSection(&m_lock);
    m_logPath[0] = '\0';
    m_backupPath[0] = '\0';
    m_sourceFile[0] = '\0';
}

CTraceLog::~CTraceLog() {
    DeleteCriticalSection(&m_lock);
}

void CTraceLog::Enter() {
    // Read before anything here can touch it, so that the closing call can put
    // back exactly what the caller had.
    DWORD error = GetLastError();
    EnterCriticalSection(&m_lock);
    m_savedError = error;
}

void CTraceLog::Leave() {
    DWORD error = m_savedError;
    LeaveCriticalSection(&m_lock);
    SetLastError(error);
}

void CTraceLog::SetLine(int line) {
    m_sourceLine = line;
}

void CTraceLog::SetFile(const char* sourcePath) {
    lstrcpynA(m_sourceFile, FindFileBaseName(sourcePath), MAX_PATH);
}

void WINAPIV CTraceLog::Trace(const char* format, ...) {
    if (m_level >= LEVEL_ALL) {
        AfxWin32VaList args;
        AFX_WIN32_VA_START(args, format);
        WriteMessage(format, args);
        AFX_WIN32_VA_END(args);
    }
    Leave();
}

void WINAPIV CTraceLog::TraceError(const char* format, ...) {
    if (m_level >= LEVEL_ERRORS) {
        AfxWin32VaList args;
        AFX_WIN32_VA_START(args, format);
        WriteMessage(format, args);
        AFX_WIN32_VA_END(args);
    }
    Leave();
}

void CTraceLog::SetLevel(int level) {
    Enter();
    m_level = level;
    Leave();
}

void CTraceLog::SetPath(const char* logPath, const char* backupPath) {
    Enter();
    lstrcpynA(m_logPath, logPath ? logPath : "", MAX_PATH);
    lstrcpynA(m_backupPath, backupPath ? backupPath : "", MAX_PATH);
    Leave();
}

void CTraceLog::WriteMessage(const char* format, AfxWin32VaList args) {
    char message[kMessageBytes];
    wvsprintfA(message, format ? format : "", args);
    message[kMessageBytes - 1] = '\0';
    size_t length = strlen(message);
    // Callers end their texts with "\n" out of habit; the line brings its own end.
    if (length > 0 && message[length - 1] == '\n')
        message[length - 1] = '\0';
    WriteLine(message);
}

// Builds the line and appends it to the log file, which is opened and closed
// for this one line so that the log survives a crash and can be renamed
// between two lines. Any failure loses the line silently.
void CTraceLog::WriteLine(const char* text) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char line[kLineBytes];
    // The prefix needs at most about 330 bytes: a base name of up to 259
    // characters plus fixed fields.
    int length = wsprintfA(line, "%s(%d):\t(TID %X) %02u/%02u/%02u %02u:%02u:%02u\t", m_sourceFile,
                           m_sourceLine, GetCurrentThreadId(), now.wMonth, now.wDay,
                           now.wYear % 100, now.wHour, now.wMinute, now.wSecond);
    int room = kLineBytes - length - 2;
    int textLength = static_cast<int>(strnlen(text, room));
    memcpy(line + length, text, textLength);
    length += textLength;
    line[length++] = '\r';
    line[length++] = '\n';

    HANDLE file = CreateFileA(m_logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    BOOL ok = WriteFile(file, line, length, &written, nullptr);
    LARGE_INTEGER size;
    ok = ok && GetFileSizeEx(file, &size);
    CloseHandle(file);
    if (ok && size.QuadPart > SIZE_LIMIT) {
        DeleteFileA(m_backupPath);
        MoveFileA(m_logPath, m_backupPath);
    }
}
