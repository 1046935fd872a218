// ScoreFile.cpp: line ends, escaping, element texts and file replacement of
// the score stores' files.
#include "ScoreFile.h"

#include "Common/OXCharClass.h"
#include "Common/OXParser.h"
#include "Common/SetAsideFile.h"
#include "Common/TraceLog.h"

#include <algorithm>
#include <limits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ScoreFile {

const char kLineEnd[] = "\r\r\n";
const char kDeclaration[] = "<?xml version=\"1.0\" standalone=\"yes\" ?>\r\r\n";

namespace {

bool IsSpace(char c) {
    return COXCharClass::IsSpace(static_cast<unsigned char>(c));
}

// Whether the buffer is a document the parser reads; a NUL inside the file
// makes it unreadable, as ParseFile would find.
bool Parses(const char* buffer, DWORD size) {
    if (memchr(buffer, 0, size))
        return false;
    COXParser parser;
    return parser.Parse(buffer) != FALSE;
}

// The folder part of the path, with its separator; "." when it has none.
std::string FolderOf(const char* path) {
    const char* slash = strrchr(path, '\\');
    const char* other = strrchr(path, '/');
    if (!slash || (other && other > slash))
        slash = other;
    return slash ? std::string(path, slash - path + 1) : std::string(".");
}

// Keeps whatever is at the path from being overwritten by the save: false when
// it must stay where it is.
bool ClearTheWay(const char* path) {
    if (!HoldsSomething(path))
        return true;
    COXParser reader;
    DWORD size = 0;
    char* buffer = reader.LoadFileBuffer(path, &size);
    if (!buffer) {
        KWTRACE_ERROR(("%s cannot be read; it is not saved over.", path));
        return false;
    }
    bool readable = Parses(buffer, size);
    GlobalFree(buffer);
    if (readable)
        return true;
    CString backup;
    if (!MoveAside(path, backup)) {
        KWTRACE_ERROR(("%s cannot be read and not be renamed; it is not saved over.", path));
        return false;
    }
    KWTRACE_ERROR(("%s could not be read; kept as %s.", path, backup.GetString()));
    return true;
}

bool WriteAll(HANDLE file, const std::string& content) {
    size_t done = 0;
    while (done < content.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size() - done, 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file, content.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return FlushFileBuffers(file) != FALSE;
}

} // namespace

CKWString Trimmed(const char* text) {
    if (!text)
        return CKWString();
    const char* end = text + strlen(text);
    while (*text && IsSpace(*text))
        ++text;
    while (end > text && IsSpace(end[-1]))
        --end;
    CKWString result;
    int length = static_cast<int>(end - text);
    memcpy(result.GetBufferSetLength(length), text, length);
    result.ReleaseBuffer(length);
    return result;
}

std::string Escape(const char* text) {
    std::string out;
    for (; text && *text; ++text) {
        switch (*text) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '\r':
            out += "&#13;";
            break;
        case '\n':
            out += "&#10;";
            break;
        default:
            out += *text;
        }
    }
    return out;
}

void AppendLine(std::string& out, const std::string& line) {
    out += line;
    out += kLineEnd;
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    CKWString text;
    text.FormatV(format, args);
    va_end(args);
    return std::string(text);
}

COXParserElement* FindChild(const COXParserElement* parent, const char* name) {
    return parent ? parent->FindElement(name, 0) : nullptr;
}

bool ChildText(const COXParserElement* parent, const char* name, std::string& text) {
    const COXParserElement* child = FindChild(parent, name);
    if (!child)
        return false;
    std::string joined;
    bool found = false;
    for (int i = 0; i < child->GetObjectCount(); ++i) {
        const COXParserObject* piece = child->GetObject(i);
        if (piece->GetType() == COXParserObject::TYPE_TEXT ||
            piece->GetType() == COXParserObject::TYPE_CDATA) {
            joined += piece->GetText();
            found = true;
        }
    }
    if (found)
        text = joined;
    return found;
}

LONG ToInteger(const std::string& text) {
    long long value = strtoll(text.c_str(), nullptr, 10);
    if (value > std::numeric_limits<LONG>::max())
        return std::numeric_limits<LONG>::max();
    if (value < std::numeric_limits<LONG>::min())
        return std::numeric_limits<LONG>::min();
    return static_cast<LONG>(value);
}

double ToReal(const std::string& text) {
    double value = strtod(text.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

bool Replace(const char* path, const std::string& content) {
    if (!path || !*path || !ClearTheWay(path))
        return false;
    char temporary[MAX_PATH];
    if (!GetTempFileNameA(FolderOf(path).c_str(), "zms", 0, temporary)) {
        KWTRACE_ERROR(("Cannot make a temporary file beside %s, error %lu", path,
                       static_cast<unsigned long>(GetLastError())));
        return false;
    }
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    bool written = file != INVALID_HANDLE_VALUE && WriteAll(file, content);
    DWORD error = GetLastError();
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (written &&
        !MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
        written = false;
    }
    if (!written) {
        KWTRACE_ERROR(("Cannot write %s, error %lu", path, static_cast<unsigned long>(error)));
        DeleteFileA(temporary);
    }
    return written;
}

} // namespace ScoreFile
