#include "KWString.h"

#include "framework/PrintfFormat.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

// The buffer header, immediately before the text.
struct CKWString::Data {
    LONG refs;  // sharing objects; negative: never share (the static empty string)
    int length; // bytes of text without the NUL
    int alloc;  // bytes the block holds without the NUL
};
static_assert(sizeof(CKWString) == sizeof(char*), "a string is one pointer");

namespace {

// Constant-initialised, so strings made by other static constructors find it ready.
struct EmptyBuffer {
    LONG refs;
    int length;
    int alloc;
    char text[1];
} s_emptyBuffer = {-1, 0, 0, {0}};

// Formats whose estimate passes this get a buffer of their exact length: the
// estimate grows with the square of the format's length.
const long long kMaxEstimate = 1 << 20;

int TextLength(const char* text) {
    return text ? static_cast<int>(strlen(text)) : 0;
}

// Lead bytes of the ANSI code page, read once: asking the system per byte would
// cost a call for every character scanned.
bool IsLeadByte(unsigned char c) {
    static const struct Table {
        bool lead[256];
        Table() {
            for (int i = 0; i < 256; ++i)
                lead[i] = IsDBCSLeadByte(static_cast<BYTE>(i)) != 0;
        }
    } table;
    return table.lead[c];
}

const unsigned char* NextChar(const unsigned char* p) {
    return (IsLeadByte(*p) && p[1]) ? p + 2 : p + 1;
}

int FoldAscii(int c) {
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

int ReadDecimal(const unsigned char*& p) {
    int value = 0;
    while (*p >= '0' && *p <= '9') {
        if (value < INT_MAX / 10)
            value = value * 10 + (*p - '0');
        ++p;
    }
    return value;
}

// Upper bound of the formatted length, from the format alone and the string
// arguments: literal characters weigh the rest of the format, integers 32,
// reals 128. Walks its own copy of the argument list.
long long EstimateFormatLength(const char* format, va_list args) {
    long long sum = 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(format);
    while (*p) {
        if (*p != '%' || p[1] == '%') {
            sum += strlen(reinterpret_cast<const char*>(p));
            p = (*p == '%') ? p + 2 : NextChar(p);
            continue;
        }
        ++p;
        long long item = 0;
        int width = 0;
        for (; *p; ++p) {
            if (*p == '#')
                sum += 2;
            else if (*p == '*')
                width = va_arg(args, int);
            else if (*p != '-' && *p != '+' && *p != '0' && *p != ' ')
                break;
        }
        if (width == 0)
            width = ReadDecimal(p);
        width = std::max(width, 0);
        int precision = 0;
        bool hasPrecision = false;
        if (*p == '.') {
            ++p;
            hasPrecision = true;
            if (*p == '*') {
                precision = va_arg(args, int);
                ++p;
            } else
                precision = ReadDecimal(p);
            precision = std::max(precision, 0);
        }
        bool isShort = false, isLong = false, isLongDouble = false;
        for (;; ++p) {
            if (*p == 'h')
                isShort = true;
            else if (*p == 'l' || *p == 'z' || *p == 'j' || *p == 't')
                isLong = true;
            else if (*p == 'L')
                isLongDouble = true;
            else if (*p == 'I') // I64, I32, or I alone (pointer-sized)
                p += ((p[1] == '6' && p[2] == '4') || (p[1] == '3' && p[2] == '2')) ? 2 : 0;
            else if (*p != 'F' && *p != 'N')
                break;
        }
        switch (*p) {
        case 'c':
        case 'C':
            item = 2;
            va_arg(args, int);
            break;
        case 's':
        case 'S':
            if (isLong || (*p == 'S' && !isShort)) {
                va_arg(args, void*); // wide text: not counted
                break;
            }
            {
                const char* text = va_arg(args, const char*);
                item = text ? std::max<long long>(1, strlen(text)) : 6;
            }
            break;
        case 'd':
        case 'i':
        case 'o':
        case 'u':
        case 'x':
        case 'X':
        case 'p':
            item = std::max<long long>(32, static_cast<long long>(width) + precision);
            va_arg(args, long long);
            break;
        case 'e':
        case 'E':
        case 'f':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            item = std::max<long long>(128, static_cast<long long>(width) + precision);
            if (isLongDouble)
                va_arg(args, long double);
            else
                va_arg(args, double);
            break;
        case 'n':
            va_arg(args, void*);
            break;
        default:
            break;
        }
        if (*p == 'c' || *p == 'C' || *p == 's' || *p == 'S') {
            item = std::max<long long>(item, width);
            if (hasPrecision)
                item = std::min<long long>(item, precision);
        }
        sum += item;
        if (*p)
            p = NextChar(p);
    }
    return sum;
}

} // namespace

CKWString::Data* CKWString::DataOf(char* text) {
    return reinterpret_cast<Data*>(text) - 1;
}

char* CKWString::EmptyText() {
    return s_emptyBuffer.text;
}

// A new heap buffer for exactly n characters: references 1, length n, NUL at n.
char* CKWString::Allocate(int n) {
    static_assert(sizeof(Data) == 12, "three 32-bit integers before the text");
    n = std::max(n, 0);
    Data* data = static_cast<Data*>(malloc(sizeof(Data) + static_cast<size_t>(n) + 1));
    if (!data)
        throw std::bad_alloc();
    data->refs = 1;
    data->length = n;
    data->alloc = n;
    char* text = reinterpret_cast<char*>(data + 1);
    text[n] = 0;
    return text;
}

CKWString::CKWString() : m_text(EmptyText()) {}

CKWString::CKWString(const char* text) : m_text(EmptyText()) {
    DWORD lastError = GetLastError();
    AssignCopy(text, TextLength(text));
    SetLastError(lastError);
}

CKWString::CKWString(const CKWString& other) : m_text(EmptyText()) {
    if (other.GetData()->refs < 0)
        AssignCopy(other.m_text, other.GetLength());
    else {
        InterlockedIncrement(&other.GetData()->refs);
        m_text = other.m_text;
    }
}

CKWString::~CKWString() {
    Release();
}

void CKWString::Release() {
    if (m_text == EmptyText())
        return;
    if (InterlockedDecrement(&GetData()->refs) <= 0)
        free(GetData());
    m_text = EmptyText();
}

int CKWString::GetLength() const {
    return GetData()->length;
}

int CKWString::GetAllocLength() const {
    return GetData()->alloc;
}

char CKWString::GetAt(int index) const {
    return (index >= 0 && index < GetLength()) ? m_text[index] : 0;
}

void CKWString::SetAt(int index, char ch) {
    if (index < 0 || index >= GetLength())
        return;
    CopyBeforeWrite();
    m_text[index] = ch;
}

void CKWString::CopyBeforeWrite() {
    if (GetData()->refs < 2)
        return;
    int n = GetLength();
    char* copy = Allocate(n);
    memcpy(copy, m_text, n);
    Release();
    m_text = copy;
}

// The text may lie inside this string's own buffer.
void CKWString::AssignCopy(const char* text, int n) {
    Data* data = GetData();
    if (data->refs > 1 || data->alloc < n) {
        char* fresh = n ? Allocate(n) : EmptyText();
        memcpy(fresh, text, n);
        Release();
        m_text = fresh;
        return;
    }
    if (m_text == EmptyText())
        return; // n is 0 here and the shared empty text is never written
    memmove(m_text, text, n);
    data->length = n;
    m_text[n] = 0;
}

CKWString& CKWString::operator=(const char* text) {
    AssignCopy(text, TextLength(text));
    return *this;
}

CKWString& CKWString::operator=(const CKWString& other) {
    if (m_text == other.m_text)
        return *this;
    Data* mine = GetData();
    if (other.GetData()->refs < 0 || (mine->refs < 0 && m_text != EmptyText())) {
        AssignCopy(other.m_text, other.GetLength());
        return *this;
    }
    InterlockedIncrement(&other.GetData()->refs);
    Release();
    m_text = other.m_text;
    return *this;
}

// The bytes may lie inside this string's own buffer (s += s).
void CKWString::AppendBytes(const char* text, int n) {
    if (n <= 0)
        return;
    Data* data = GetData();
    int length = data->length;
    if (data->refs <= 1 && m_text != EmptyText() && data->alloc - length >= n) {
        memmove(m_text + length, text, n);
        data->length = length + n;
        m_text[length + n] = 0;
        return;
    }
    if (n > INT_MAX - length)
        throw std::bad_alloc();
    char* fresh = Allocate(length + n);
    memcpy(fresh, m_text, length);
    memcpy(fresh + length, text, n);
    Release();
    m_text = fresh;
}

CKWString& CKWString::operator+=(const char* text) {
    AppendBytes(text, TextLength(text));
    return *this;
}

CKWString& CKWString::operator+=(const CKWString& other) {
    AppendBytes(other.m_text, other.GetLength());
    return *this;
}

CKWString& CKWString::operator+=(char ch) {
    AppendBytes(&ch, 1);
    return *this;
}

CKWString CKWString::Concat(const char* a, int na, const char* b, int nb) {
    CKWString result;
    if (na + nb == 0)
        return result;
    if (nb > INT_MAX - na)
        throw std::bad_alloc();
    result.m_text = Allocate(na + nb);
    memcpy(result.m_text, a, na);
    memcpy(result.m_text + na, b, nb);
    return result;
}

CKWString operator+(const CKWString& a, const char* b) {
    return CKWString::Concat(a, a.GetLength(), b, TextLength(b));
}

CKWString operator+(const char* a, const CKWString& b) {
    return CKWString::Concat(a, TextLength(a), b, b.GetLength());
}

CKWString operator+(const CKWString& a, const CKWString& b) {
    return CKWString::Concat(a, a.GetLength(), b, b.GetLength());
}

// A lead byte never equals a single-byte character, so comparing unsigned bytes
// orders whole multibyte characters.
int CKWString::Compare(const char* text) const {
    return strcmp(m_text, text ? text : "");
}

int CKWString::CompareNoCase(const char* text) const {
    const unsigned char* a = reinterpret_cast<const unsigned char*>(m_text);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(text ? text : "");
    for (;;) {
        int ca = *a, cb = *b;
        if (!IsLeadByte(static_cast<unsigned char>(ca)))
            ca = FoldAscii(ca);
        if (!IsLeadByte(static_cast<unsigned char>(cb)))
            cb = FoldAscii(cb);
        if (ca != cb || ca == 0)
            return ca - cb;
        ++a;
        ++b;
    }
}

int CKWString::Find(const char* sub) const {
    if (!sub)
        return -1;
    size_t n = strlen(sub);
    const unsigned char* start = reinterpret_cast<const unsigned char*>(m_text);
    for (const unsigned char* p = start;; p = NextChar(p)) {
        if (strncmp(reinterpret_cast<const char*>(p), sub, n) == 0)
            return static_cast<int>(p - start);
        if (!*p)
            return -1;
    }
}

int CKWString::ReverseFind(char ch) const {
    int found = -1;
    const unsigned char* start = reinterpret_cast<const unsigned char*>(m_text);
    for (const unsigned char* p = start; *p;) {
        const unsigned char* next = NextChar(p);
        if (next == p + 1 && *p == static_cast<unsigned char>(ch))
            found = static_cast<int>(p - start);
        p = next;
    }
    return found;
}

CKWString CKWString::Left(unsigned n) const {
    unsigned length = static_cast<unsigned>(GetLength());
    return Concat(m_text, static_cast<int>(std::min(n, length)), nullptr, 0);
}

CKWString CKWString::Right(unsigned n) const {
    int length = GetLength();
    int count = static_cast<int>(std::min(n, static_cast<unsigned>(length)));
    return Concat(m_text + length - count, count, nullptr, 0);
}

CKWString CKWString::Mid(int first, int count) const {
    int length = GetLength();
    first = std::max(first, 0);
    count = std::max(count, 0);
    if (first >= length)
        return CKWString();
    count = static_cast<int>(std::min<long long>(count, length - first));
    return Concat(m_text + first, count, nullptr, 0);
}

CKWString CKWString::Mid(int first) const {
    long long count = static_cast<long long>(GetLength()) - first;
    return Mid(first, static_cast<int>(std::min<long long>(std::max(count, 0LL), INT_MAX)));
}

char* CKWString::GetBuffer(int n) {
    n = std::max(n, 0);
    Data* data = GetData();
    if (data->refs <= 1 && data->alloc >= n)
        return m_text;
    int length = data->length;
    char* fresh = Allocate(std::max(n, length));
    memcpy(fresh, m_text, length + 1);
    DataOf(fresh)->length = length;
    Release();
    m_text = fresh;
    return m_text;
}

char* CKWString::GetBufferSetLength(int n) {
    char* text = GetBuffer(n);
    if (text != EmptyText()) {
        GetData()->length = std::max(n, 0);
        text[std::max(n, 0)] = 0;
    }
    return text;
}

void CKWString::ReleaseBuffer(int n) {
    CopyBeforeWrite();
    if (m_text == EmptyText())
        return;
    Data* data = GetData();
    if (n < 0 || n > data->alloc)
        n = static_cast<int>(strnlen(m_text, data->alloc));
    data->length = n;
    m_text[n] = 0;
}

void CKWString::Empty() {
    if (GetLength() == 0)
        return;
    Release();
}

void CKWString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

// Prints into a new buffer, so the arguments may name this string's own text.
void CKWString::FormatV(const char* format, va_list args) {
    if (!format)
        format = "";
    va_list scan;
    va_copy(scan, args);
    long long estimate = EstimateFormatLength(format, scan);
    va_end(scan);

    int size = static_cast<int>(std::min(estimate, kMaxEstimate));
    char* fresh = Allocate(size);
    va_list print;
    va_copy(print, args);
    int needed = AfxVsnprintf(fresh, static_cast<size_t>(size) + 1, format, print);
    va_end(print);
    if (needed > size) {
        free(DataOf(fresh));
        fresh = Allocate(needed);
        va_copy(print, args);
        AfxVsnprintf(fresh, static_cast<size_t>(needed) + 1, format, print);
        va_end(print);
    }
    Release();
    m_text = fresh;
    GetData()->length = needed < 0 ? 0 : static_cast<int>(strlen(m_text));
    if (needed < 0)
        m_text[0] = 0;
}

bool operator==(const CKWString& a, const CKWString& b) {
    return a.Compare(b) == 0;
}
bool operator==(const CKWString& a, const char* b) {
    return a.Compare(b) == 0;
}
bool operator!=(const CKWString& a, const CKWString& b) {
    return a.Compare(b) != 0;
}
bool operator!=(const CKWString& a, const char* b) {
    return a.Compare(b) != 0;
}
bool operator<(const CKWString& a, const CKWString& b) {
    return a.Compare(b) < 0;
}
bool operator>(const CKWString& a, const CKWString& b) {
    return a.Compare(b) > 0;
}
