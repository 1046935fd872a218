// KWString.h: CKWString, the common library's reference-counted 8-bit string.
//
// The object is one pointer to NUL-terminated text in the process's multibyte
// (ANSI) code page. Three signed 32-bit integers lie just before the text:
// references, length and allocation (characters, NUL not counted). Copies share
// one buffer through interlocked counts; the first write to a shared buffer
// copies it. Buffers are sized exactly: no slack, no growth policy. Every empty
// string points at one static buffer whose negative count keeps it from being
// shared, counted or freed.
//
// One object is not safe for simultaneous use from two threads; copies of one
// string may be made, assigned and destroyed on different threads at once.
#pragma once

#include <cstdarg>

class CKWString {
public:
    CKWString();
    CKWString(const char* text); // null counts as empty; keeps the thread's last error
    CKWString(const CKWString& other);
    ~CKWString();

    int GetLength() const;
    bool IsEmpty() const { return GetLength() == 0; }
    // Bytes the buffer can hold without the NUL.
    int GetAllocLength() const;
    // Out-of-range indexes read NUL and write nothing.
    char GetAt(int index) const;
    void SetAt(int index, char ch);
    operator const char*() const { return m_text; }

    CKWString& operator=(const char* text);
    CKWString& operator=(const CKWString& other);
    CKWString& operator+=(const char* text);
    CKWString& operator+=(const CKWString& other);
    CKWString& operator+=(char ch);

    int Compare(const char* text) const;       // case-sensitive, by multibyte character
    int CompareNoCase(const char* text) const; // ASCII letters folded, as the C locale does
    int Find(const char* sub) const;           // -1 when absent
    int ReverseFind(char ch) const;            // -1 when absent

    CKWString Left(unsigned n) const;
    CKWString Right(unsigned n) const;
    CKWString Mid(int first, int count) const;
    CKWString Mid(int first) const;

    // Writable text of at least n characters; end the write with ReleaseBuffer.
    char* GetBuffer(int n);
    char* GetBufferSetLength(int n);
    void ReleaseBuffer(int n = -1);
    void Empty();

    // Formats as Windows' narrow printf does (AfxVsnprintf, framework/PrintfFormat.h),
    // its size prefixes and wide text included. The allocation is at least the
    // estimate the format scan makes; a result longer than that estimate (wide
    // text is not counted) gets a buffer of its own length.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* format, va_list args);

    friend CKWString operator+(const CKWString& a, const char* b);
    friend CKWString operator+(const char* a, const CKWString& b);
    friend CKWString operator+(const CKWString& a, const CKWString& b);

private:
    struct Data;
    Data* GetData() const { return DataOf(m_text); }
    static Data* DataOf(char* text);
    static char* Allocate(int n);
    static char* EmptyText();
    void Release();
    void AssignCopy(const char* text, int n);
    void AppendBytes(const char* text, int n);
    void CopyBeforeWrite();
    static CKWString Concat(const char* a, int na, const char* b, int nb);

    char* m_text;
};

bool operator==(const CKWString& a, const CKWString& b);
bool operator==(const CKWString& a, const char* b);
bool operator!=(const CKWString& a, const CKWString& b);
bool operator!=(const CKWString& a, const char* b);
bool operator<(const CKWString& a, const CKWString& b);
bool operator>(const CKWString& a, const CKWString& b);
