// PrintfFormat.cpp: AfxVsnprintf. A format without Windows' own conversions goes
// to the C library whole; any other is printed one conversion at a time, each
// argument taken at the size Windows gives it.
#include "PrintfFormat.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

enum class Length {
    None,
    Char,
    Short,
    Long,
    LongLong,
    IntMax,
    Size,
    PtrDiff,
    LongDouble,
    Bits32,
    Bits64,
    Pointer
};

// One conversion of a format: "%", flags, width, precision, size prefix, type.
struct Conversion {
    const char* end = nullptr; // past the type character (or at the format's NUL)
    std::string flags;
    bool widthFromArgument = false;
    int width = -1; // -1: none
    bool precisionFromArgument = false;
    int precision = -1; // -1: none
    Length length = Length::None;
    char type = 0; // 0 when the format ends inside the conversion
};

int ReadNumber(const char*& p) {
    int value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        value = value < INT_MAX / 10 ? value * 10 + (*p - '0') : INT_MAX;
    return value;
}

Length ReadLength(const char*& p) {
    switch (*p) {
    case 'I':
        if (p[1] == '6' && p[2] == '4') {
            p += 3;
            return Length::Bits64;
        }
        if (p[1] == '3' && p[2] == '2') {
            p += 3;
            return Length::Bits32;
        }
        ++p;
        return Length::Pointer;
    case 'h':
        if (p[1] == 'h') {
            p += 2;
            return Length::Char;
        }
        ++p;
        return Length::Short;
    case 'l':
        if (p[1] == 'l') {
            p += 2;
            return Length::LongLong;
        }
        ++p;
        return Length::Long;
    case 'L':
        ++p;
        return Length::LongDouble;
    case 'j':
        ++p;
        return Length::IntMax;
    case 'z':
        ++p;
        return Length::Size;
    case 't':
        ++p;
        return Length::PtrDiff;
    default:
        return Length::None;
    }
}

// p points at the '%'.
Conversion ReadConversion(const char* p) {
    Conversion c;
    ++p;
    for (; *p && strchr("-+ #0'", *p); ++p)
        c.flags += *p;
    if (*p == '*') {
        c.widthFromArgument = true;
        ++p;
    } else if (*p >= '0' && *p <= '9')
        c.width = ReadNumber(p);
    if (*p == '.') {
        ++p;
        if (*p == '*') {
            c.precisionFromArgument = true;
            ++p;
        } else
            c.precision = ReadNumber(p);
    }
    c.length = ReadLength(p);
    c.type = *p;
    c.end = *p ? p + 1 : p;
    return c;
}

bool IsWideText(const Conversion& c) {
    return c.type == 'S' || c.type == 'C' ||
           ((c.type == 's' || c.type == 'c') && c.length == Length::Long);
}

bool IsNarrowedWide(const Conversion& c) {
    return (c.type == 'S' || c.type == 'C') && c.length == Length::Short;
}

// True when the C library would read some conversion otherwise than Windows does.
bool NeedsTranslation(const char* format) {
    for (const char* p = strchr(format, '%'); p; p = strchr(p, '%')) {
        const Conversion c = ReadConversion(p);
        if (c.length == Length::Bits32 || c.length == Length::Bits64 ||
            c.length == Length::Pointer || IsWideText(c))
            return true;
        if (!c.type)
            break;
        p = c.end;
    }
    return false;
}

// The result of a translated format, printed piece by piece.
class CPrinter {
public:
    bool failed = false;
    std::string text;

    void Append(const char* bytes, size_t n) { text.append(bytes, n); }

    // One conversion of the C library with one argument.
    template <class T> void Print(const std::string& spec, T value) {
        char local[64];
        int n = snprintf(local, sizeof local, spec.c_str(), value);
        if (n < 0) {
            failed = true;
            return;
        }
        if (static_cast<size_t>(n) < sizeof local) {
            text.append(local, static_cast<size_t>(n));
            return;
        }
        const size_t at = text.size();
        text.resize(at + static_cast<size_t>(n) + 1);
        snprintf(&text[at], static_cast<size_t>(n) + 1, spec.c_str(), value);
        text.resize(at + static_cast<size_t>(n));
    }
};

// Wide text in the ANSI code page, whole characters only, at most maxBytes bytes
// (-1: no limit). With a limit the text need not end in a NUL: no character past
// the limit is read. False when a character has no narrow form.
bool Narrow(const WCHAR* text, int maxBytes, std::string* out) {
    char bytes[8];
    for (; (maxBytes < 0 || static_cast<int>(out->size()) < maxBytes) && *text; ++text) {
        int n = WideCharToMultiByte(CP_ACP, 0, text, 1, bytes, sizeof bytes, nullptr, nullptr);
        if (n <= 0)
            return false;
        if (maxBytes >= 0 && static_cast<int>(out->size()) + n > maxBytes)
            break;
        out->append(bytes, static_cast<size_t>(n));
    }
    return true;
}

intmax_t SignedArgument(Length length, va_list* args) {
    switch (length) {
    case Length::Char:
        return static_cast<signed char>(va_arg(*args, int));
    case Length::Short:
        return static_cast<short>(va_arg(*args, int));
    case Length::Long:
        return va_arg(*args, long);
    case Length::LongLong:
    case Length::LongDouble:
    case Length::Bits64:
        return va_arg(*args, long long);
    case Length::IntMax:
        return va_arg(*args, intmax_t);
    case Length::Size:
    case Length::PtrDiff:
    case Length::Pointer:
        return va_arg(*args, intptr_t);
    default:
        return va_arg(*args, int);
    }
}

uintmax_t UnsignedArgument(Length length, va_list* args) {
    switch (length) {
    case Length::Char:
        return static_cast<unsigned char>(va_arg(*args, unsigned));
    case Length::Short:
        return static_cast<unsigned short>(va_arg(*args, unsigned));
    case Length::Long:
        return va_arg(*args, unsigned long);
    case Length::LongLong:
    case Length::LongDouble:
    case Length::Bits64:
        return va_arg(*args, unsigned long long);
    case Length::IntMax:
        return va_arg(*args, uintmax_t);
    case Length::Size:
    case Length::PtrDiff:
    case Length::Pointer:
        return va_arg(*args, uintptr_t);
    default:
        return va_arg(*args, unsigned);
    }
}

// Prints one conversion, its width and precision taken first when they come from
// the arguments.
void PrintConversion(Conversion c, const char* begin, va_list* args, CPrinter* out) {
    if (c.widthFromArgument) {
        c.width = va_arg(*args, int);
        if (c.width < 0) {
            c.flags += '-';
            c.width = c.width == INT_MIN ? INT_MAX : -c.width;
        }
    }
    if (c.precisionFromArgument)
        c.precision = std::max(va_arg(*args, int), -1);
    std::string spec = "%" + c.flags;
    if (c.width >= 0)
        spec += std::to_string(c.width);
    const std::string widthSpec = spec;
    if (c.precision >= 0)
        spec += "." + std::to_string(c.precision);

    switch (c.type) {
    case 'd':
    case 'i':
        out->Print(spec + 'j' + c.type, SignedArgument(c.length, args));
        return;
    case 'o':
    case 'u':
    case 'x':
    case 'X':
        out->Print(spec + 'j' + c.type, UnsignedArgument(c.length, args));
        return;
    case 'e':
    case 'E':
    case 'f':
    case 'F':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
        if (c.length == Length::LongDouble)
            out->Print(spec + 'L' + c.type, va_arg(*args, long double));
        else
            out->Print(spec + c.type, va_arg(*args, double));
        return;
    case 'p':
        out->Print(spec + 'p', va_arg(*args, void*));
        return;
    case 'n':
        va_arg(*args, void*);
        return;
    case '%':
        out->Append("%", 1);
        return;
    default:
        break;
    }

    if (c.type == 'c' || c.type == 'C') {
        const int ch = va_arg(*args, int);
        if (!IsWideText(c) || IsNarrowedWide(c) || ch == 0) {
            out->Print(widthSpec + 'c', ch);
            return;
        }
        const WCHAR wide[2] = {static_cast<WCHAR>(ch), 0};
        std::string narrow;
        if (!Narrow(wide, -1, &narrow))
            out->failed = true;
        else
            out->Print(widthSpec + 's', narrow.c_str());
        return;
    }
    if (c.type == 's' || c.type == 'S') {
        if (!IsWideText(c) || IsNarrowedWide(c)) {
            out->Print(spec + 's', va_arg(*args, const char*));
            return;
        }
        const WCHAR* wide = va_arg(*args, const WCHAR*);
        std::string narrow;
        if (!wide)
            narrow = std::string("(null)").substr(0, c.precision >= 0 ? c.precision : 6);
        else if (!Narrow(wide, c.precision, &narrow)) {
            out->failed = true;
            return;
        }
        out->Print(widthSpec + 's', narrow.c_str());
        return;
    }
    // Not a conversion: the text stands as it is, as the C library prints it.
    out->Append(begin, static_cast<size_t>(c.end - begin));
}

int Translate(char* buffer, size_t size, const char* format, va_list* args) {
    CPrinter out;
    const char* p = format;
    while (*p && !out.failed) {
        const char* percent = strchr(p, '%');
        if (!percent) {
            out.Append(p, strlen(p));
            break;
        }
        out.Append(p, static_cast<size_t>(percent - p));
        const Conversion c = ReadConversion(percent);
        PrintConversion(c, percent, args, &out);
        p = c.end;
    }
    if (out.failed || out.text.size() > static_cast<size_t>(INT_MAX))
        return -1;
    if (size > 0) {
        const size_t n = std::min(out.text.size(), size - 1);
        memcpy(buffer, out.text.data(), n);
        buffer[n] = '\0';
    }
    return static_cast<int>(out.text.size());
}

} // namespace

int AfxVsnprintf(char* buffer, size_t size, const char* format, va_list args) {
    if (!NeedsTranslation(format))
        return vsnprintf(buffer, size, format, args);
    va_list own;
    va_copy(own, args);
    const int n = Translate(buffer, size, format, &own);
    va_end(own);
    return n;
}
