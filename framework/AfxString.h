// AfxString.h: CString, the framework's string of 8-bit (ANSI / multibyte) text.
//
// The object is one pointer to NUL-terminated text. Two ints lie just before the
// text: its length and its allocation (bytes, the NUL not counted). Every string
// owns its buffer (copies copy the text; moves take it over), except that empty
// strings share one static, never-written empty text. One object is not safe for
// simultaneous use from two threads; distinct objects are independent.
//
// Lengths and indexes count bytes. Searches and case operations step over the
// two bytes of a double-byte character of the process's ANSI code page, so they
// never match or change a trail byte; case folding changes ASCII letters only
// (as the C locale does). Compare is byte-wise (unsigned), CompareNoCase folds
// ASCII letters; Collate and CollateNoCase use the user's locale (CompareStringA).
//
// Errors:
// - GetAt and operator[] accept 0..GetLength() (the index of the NUL reads 0);
//   SetAt accepts 0..GetLength()-1. Any other index throws CInvalidArgException,
//   as do negative counts given to GetBuffer, GetBufferSetLength, Preallocate,
//   Truncate beyond the length, and a ReleaseBuffer length above the allocation.
// - Mid, Left, Right, Insert and Delete clamp their arguments to the text.
// - A failed allocation throws CMemoryException.
// - A null LPCSTR counts as the empty text; a non-null LPCSTR below 0x10000 given
//   to a constructor or to operator= is a string resource id, loaded with LoadString.
//
// Format and FormatV print with AfxVsnprintf (PrintfFormat.h) into a buffer of the
// exact size: the conversions of Windows' narrow printf, its size prefixes I64,
// I32 and I and its wide strings and characters (%ls, %S, %lc, %C) included. A
// CString cannot be passed through "..." under GCC: pass (LPCTSTR)str or
// str.GetString().
#pragma once

#include "Object.h"

#include <cstdarg>
#include <type_traits>

class CString {
public:
    typedef char XCHAR;
    typedef char* PXSTR;
    typedef const char* PCXSTR;

    CString() noexcept;
    CString(const CString& src);
    CString(CString&& src) noexcept;
    CString(LPCSTR psz);
    // Unsigned text (a template so that NULL and 0 convert to the LPCSTR constructor).
    template <class U,
              typename std::enable_if<std::is_same<U, unsigned char>::value, int>::type = 0>
    CString(const U* psz) : CString() {
        AssignOrLoad(reinterpret_cast<LPCSTR>(psz));
    }
    CString(LPCSTR pch, int nLength); // nLength bytes (clamped at 0); pch may hold NULs
    // ch repeated nRepeat times (none for nRepeat <= 0). A template so that NULL and
    // 0 convert to the text constructor, not to a character.
    template <class C, typename std::enable_if<std::is_same<C, char>::value, int>::type = 0>
    CString(C ch, int nRepeat = 1) noexcept : CString() {
        AssignRepeat(ch, nRepeat);
    }
    // Wide text, converted to the ANSI code page (WCHAR is 2 bytes here).
    template <class W, typename std::enable_if<std::is_same<W, WCHAR>::value, int>::type = 0>
    CString(const W* pwsz, int nLength = -1) : CString() {
        AssignWide(pwsz, nLength);
    }
    ~CString();

    // ---- size and access
    int GetLength() const noexcept { return GetData()->nDataLength; }
    int GetAllocLength() const noexcept { return GetData()->nAllocLength; }
    bool IsEmpty() const noexcept { return GetLength() == 0; }
    void Empty() noexcept;
    char GetAt(int iChar) const;
    void SetAt(int iChar, char ch);
    template <class I, typename std::enable_if<std::is_integral<I>::value, int>::type = 0>
    char operator[](I iChar) const {
        return GetAt(CheckIndex(iChar));
    }
    operator LPCSTR() const noexcept { return m_pszData; }
    LPCSTR GetString() const noexcept { return m_pszData; }

    // ---- assignment and concatenation
    CString& operator=(const CString& src);
    CString& operator=(CString&& src) noexcept;
    CString& operator=(LPCSTR psz);
    template <class U,
              typename std::enable_if<std::is_same<U, unsigned char>::value, int>::type = 0>
    CString& operator=(const U* psz) {
        AssignOrLoad(reinterpret_cast<LPCSTR>(psz));
        return *this;
    }
    template <class C, typename std::enable_if<std::is_same<C, char>::value, int>::type = 0>
    CString& operator=(C ch) {
        AssignRepeat(ch, 1);
        return *this;
    }
    template <class W, typename std::enable_if<std::is_same<W, WCHAR>::value, int>::type = 0>
    CString& operator=(const W* pwsz) {
        AssignWide(pwsz, -1);
        return *this;
    }
    CString& operator+=(const CString& str);
    CString& operator+=(LPCSTR psz);
    template <class C, typename std::enable_if<std::is_same<C, char>::value, int>::type = 0>
    CString& operator+=(C ch) {
        AppendChar(ch);
        return *this;
    }
    void SetString(LPCSTR psz);
    void SetString(LPCSTR pch, int nLength);
    void Append(LPCSTR psz);
    void Append(LPCSTR pch, int nLength);
    void Append(const CString& str);
    void AppendChar(char ch);

    // ---- comparison (negative, 0, positive); null counts as ""
    int Compare(LPCSTR psz) const;
    int CompareNoCase(LPCSTR psz) const;
    int Collate(LPCSTR psz) const;
    int CollateNoCase(LPCSTR psz) const;

    // ---- extraction
    CString Mid(int iFirst) const;
    CString Mid(int iFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(LPCSTR pszCharSet) const;
    CString SpanExcluding(LPCSTR pszCharSet) const;
    // The next token after iStart that is delimited by characters of pszTokens;
    // iStart moves past it. At the end: an empty string and iStart = -1.
    CString Tokenize(LPCSTR pszTokens, int& iStart) const;

    // ---- changes (each returns the string, or the count or new length noted)
    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();                    // byte-wise, keeping double-byte characters whole
    int Replace(char chOld, char chNew);       // number replaced
    int Replace(LPCSTR pszOld, LPCSTR pszNew); // number replaced; empty pszOld: 0
    int Remove(char chRemove);                 // number removed
    int Insert(int iIndex, char ch);           // new length
    int Insert(int iIndex, LPCSTR psz);        // new length
    int Delete(int iIndex, int nCount = 1);    // new length
    CString& Trim();                           // white space: space, \t, \n, \v, \f, \r
    CString& Trim(char chTarget);
    CString& Trim(LPCSTR pszTargets);
    CString& TrimLeft();
    CString& TrimLeft(char chTarget);
    CString& TrimLeft(LPCSTR pszTargets);
    CString& TrimRight();
    CString& TrimRight(char chTarget);
    CString& TrimRight(LPCSTR pszTargets);
    void Truncate(int nNewLength);

    // ---- search (index or -1)
    int Find(char ch, int iStart = 0) const;
    int Find(LPCSTR pszSub, int iStart = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR pszCharSet) const;

    // ---- formatting
    void Format(LPCSTR pszFormat, ...) __attribute__((format(printf, 2, 3)));
    void Format(UINT nFormatID, ...); // the format is string resource nFormatID
    void FormatV(LPCSTR pszFormat, va_list args);
    void AppendFormat(LPCSTR pszFormat, ...) __attribute__((format(printf, 2, 3)));
    void AppendFormat(UINT nFormatID, ...);
    void AppendFormatV(LPCSTR pszFormat, va_list args);
    // The platform's message formatting ("%1", "%2!d!", ...); every insert is one
    // pointer-sized argument (a text pointer or an integer).
    void FormatMessage(LPCSTR pszFormat, ...);
    void FormatMessage(UINT nFormatID, ...);

    // ---- resources: FALSE (and the string unchanged) when the string does not exist
    BOOL LoadString(UINT nID); // from AfxGetResourceHandle()
    BOOL LoadString(HINSTANCE hInstance, UINT nID);

    // ---- the buffer
    // Writable text with room for at least nMinBufLength bytes and a NUL; its
    // text is the current text. End the writes with ReleaseBuffer.
    char* GetBuffer(int nMinBufLength);
    char* GetBuffer();
    // GetBuffer(nLength), then the length is nLength with a NUL at nLength.
    char* GetBufferSetLength(int nLength);
    // Sets the length to nNewLength (-1: up to the first NUL within the allocation).
    void ReleaseBuffer(int nNewLength = -1);
    void ReleaseBufferSetLength(int nNewLength) { ReleaseBuffer(nNewLength); }
    void Preallocate(int nLength);
    void FreeExtra();
    char* LockBuffer() { return GetBuffer(); }
    void UnlockBuffer() noexcept {}

    // ---- conversions
    BSTR AllocSysString() const; // wide copy (SysAllocStringLen); null when that fails

    friend void swap(CString& a, CString& b) noexcept {
        char* t = a.m_pszData;
        a.m_pszData = b.m_pszData;
        b.m_pszData = t;
    }

private:
    struct CStringData {
        int nDataLength;
        int nAllocLength;
        char* Text() { return reinterpret_cast<char*>(this + 1); }
    };
    CStringData* GetData() const noexcept { return reinterpret_cast<CStringData*>(m_pszData) - 1; }
    bool IsNil() const noexcept;
    static char* NilText() noexcept;
    static char* Allocate(int nAlloc); // header + nAlloc + 1 bytes; throws CMemoryException
    static void Free(char* pszData) noexcept;
    // Makes the buffer the string's own with an allocation of at least nMinAlloc,
    // keeping the text; the allocation grows geometrically when bGrow.
    void Reserve(int nMinAlloc, bool bGrow);
    void SetLength(int nLength) noexcept; // requires an own buffer with room
    void AssignRepeat(char ch, int nRepeat);
    void AssignWide(const WCHAR* pwsz, int nLength);
    void AssignOrLoad(LPCSTR psz);
    template <class I> static int CheckIndex(I i) {
        if (i < 0 || static_cast<unsigned long long>(i) > 0x7FFFFFFFull)
            return -1;
        return static_cast<int>(i);
    }

    char* m_pszData;
};

// ---- concatenation
CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCSTR b);
CString operator+(LPCSTR a, const CString& b);
CString operator+(CString&& a, const CString& b);
CString operator+(CString&& a, LPCSTR b);
template <class C, typename std::enable_if<std::is_same<C, char>::value, int>::type = 0>
CString operator+(const CString& a, C ch) {
    CString r(a);
    r.AppendChar(ch);
    return r;
}
template <class C, typename std::enable_if<std::is_same<C, char>::value, int>::type = 0>
CString operator+(C ch, const CString& b) {
    CString r(ch, 1);
    r.Append(b);
    return r;
}

// ---- comparison (Compare: byte-wise; null counts as "")
inline bool operator==(const CString& a, const CString& b) {
    return a.GetLength() == b.GetLength() && a.Compare(b) == 0;
}
inline bool operator==(const CString& a, LPCSTR b) {
    return a.Compare(b) == 0;
}
inline bool operator==(LPCSTR a, const CString& b) {
    return b.Compare(a) == 0;
}
inline bool operator!=(const CString& a, const CString& b) {
    return !(a == b);
}
inline bool operator!=(const CString& a, LPCSTR b) {
    return a.Compare(b) != 0;
}
inline bool operator!=(LPCSTR a, const CString& b) {
    return b.Compare(a) != 0;
}
inline bool operator<(const CString& a, const CString& b) {
    return a.Compare(b) < 0;
}
inline bool operator<(const CString& a, LPCSTR b) {
    return a.Compare(b) < 0;
}
inline bool operator<(LPCSTR a, const CString& b) {
    return b.Compare(a) > 0;
}
inline bool operator>(const CString& a, const CString& b) {
    return a.Compare(b) > 0;
}
inline bool operator>(const CString& a, LPCSTR b) {
    return a.Compare(b) > 0;
}
inline bool operator>(LPCSTR a, const CString& b) {
    return b.Compare(a) < 0;
}
inline bool operator<=(const CString& a, const CString& b) {
    return a.Compare(b) <= 0;
}
inline bool operator<=(const CString& a, LPCSTR b) {
    return a.Compare(b) <= 0;
}
inline bool operator<=(LPCSTR a, const CString& b) {
    return b.Compare(a) >= 0;
}
inline bool operator>=(const CString& a, const CString& b) {
    return a.Compare(b) >= 0;
}
inline bool operator>=(const CString& a, LPCSTR b) {
    return a.Compare(b) >= 0;
}
inline bool operator>=(LPCSTR a, const CString& b) {
    return b.Compare(a) <= 0;
}

typedef CString CStringA;
