// AfxString.cpp: CString, the framework's 8-bit string, and the resource handle.
#include "AfxString.h"
#include "AfxResource.h"
#include "Exception.h"
#include "PrintfFormat.h"

#include <oleauto.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

// ---------------------------------------------------------------------------
// The resource handle (AfxResource.h).

namespace {
std::atomic<HINSTANCE> g_resourceHandle{nullptr};
} // namespace

HINSTANCE AfxGetResourceHandle() {
    HINSTANCE h = g_resourceHandle.load(std::memory_order_acquire);
    return h ? h : GetModuleHandleA(nullptr);
}

void AfxSetResourceHandle(HINSTANCE hInstResource) {
    g_resourceHandle.store(hInstResource, std::memory_order_release);
}

// ---------------------------------------------------------------------------
// Multibyte helpers.

namespace {

// The lead bytes of the process's ANSI code page, read once.
struct LeadBytes {
    bool lead[256];
    bool any;
    LeadBytes() : lead(), any(false) {
        for (int b = 0x80; b < 256; ++b) {
            lead[b] = IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(b)) != FALSE;
            any = any || lead[b];
        }
    }
};

const LeadBytes& Leads() {
    static const LeadBytes table;
    return table;
}

// Bytes of the character at p (1, or 2 for a lead byte followed by a trail byte).
inline int CharLen(const char* p, const LeadBytes& lb) {
    return (lb.lead[static_cast<unsigned char>(p[0])] && p[1] != '\0') ? 2 : 1;
}

inline bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

inline char FoldLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// True when the character of n bytes at p is one of the characters of set.
bool InSet(const char* p, int n, const char* set, const LeadBytes& lb) {
    if (set == nullptr)
        return false;
    for (const char* s = set; *s; s += CharLen(s, lb)) {
        int m = CharLen(s, lb);
        if (m == n && std::memcmp(s, p, n) == 0)
            return true;
    }
    return false;
}

// Leading bytes of text whose characters are in set (bIn) or not in set (!bIn).
int SpanSet(const char* text, const char* set, bool bIn) {
    const LeadBytes& lb = Leads();
    const char* p = text;
    while (*p) {
        int n = CharLen(p, lb);
        if (InSet(p, n, set, lb) != bIn)
            break;
        p += n;
    }
    return static_cast<int>(p - text);
}

} // namespace

// ---------------------------------------------------------------------------
// Buffer management.

namespace {
// Header and NUL of the shared empty text; zero-initialised before any code runs.
alignas(8) char g_nilBuffer[16];
} // namespace

char* CString::NilText() noexcept {
    return g_nilBuffer + sizeof(CStringData);
}
bool CString::IsNil() const noexcept {
    return m_pszData == NilText();
}

char* CString::Allocate(int nAlloc) {
    if (nAlloc < 0 || nAlloc > INT_MAX - 64)
        AfxThrowMemoryException();
    void* block = std::malloc(sizeof(CStringData) + static_cast<size_t>(nAlloc) + 1);
    if (block == nullptr)
        AfxThrowMemoryException();
    CStringData* data = static_cast<CStringData*>(block);
    data->nDataLength = 0;
    data->nAllocLength = nAlloc;
    data->Text()[0] = '\0';
    return data->Text();
}

void CString::Free(char* pszData) noexcept {
    if (pszData != NilText())
        std::free(reinterpret_cast<CStringData*>(pszData) - 1);
}

void CString::Reserve(int nMinAlloc, bool bGrow) {
    if (nMinAlloc < 0)
        AfxThrowInvalidArgException();
    int nAlloc = GetAllocLength();
    if (!IsNil() && nAlloc >= nMinAlloc)
        return;
    long long nNew = nMinAlloc;
    if (bGrow) {
        long long geometric = static_cast<long long>(nAlloc) + nAlloc / 2;
        if (geometric > nNew)
            nNew = geometric;
        if (nNew < 15)
            nNew = 15;
        if (nNew > INT_MAX - 64)
            nNew = nMinAlloc;
    }
    char* pszNew = Allocate(static_cast<int>(nNew));
    int nLength = GetLength();
    std::memcpy(pszNew, m_pszData, static_cast<size_t>(nLength) + 1);
    reinterpret_cast<CStringData*>(pszNew)[-1].nDataLength = nLength;
    char* pszOld = m_pszData;
    m_pszData = pszNew;
    Free(pszOld);
}

void CString::SetLength(int nLength) noexcept {
    GetData()->nDataLength = nLength;
    m_pszData[nLength] = '\0';
}

// ---------------------------------------------------------------------------
// Construction and assignment.

CString::CString() noexcept : m_pszData(NilText()) {}

CString::CString(const CString& src) : CString() {
    SetString(src.m_pszData, src.GetLength());
}

CString::CString(CString&& src) noexcept : m_pszData(src.m_pszData) {
    src.m_pszData = NilText();
}

CString::CString(LPCSTR psz) : CString() {
    AssignOrLoad(psz);
}

CString::CString(LPCSTR pch, int nLength) : CString() {
    if (nLength > 0 && pch == nullptr)
        AfxThrowInvalidArgException();
    SetString(pch, nLength > 0 ? nLength : 0);
}

CString::~CString() {
    Free(m_pszData);
}

void CString::AssignOrLoad(LPCSTR psz) {
    if (psz != nullptr && IS_INTRESOURCE(psz)) {
        if (!LoadString(LOWORD(reinterpret_cast<ULONG_PTR>(psz))))
            Empty();
        return;
    }
    SetString(psz);
}

void CString::AssignRepeat(char ch, int nRepeat) {
    if (nRepeat <= 0) {
        Empty();
        return;
    }
    char* p = GetBuffer(nRepeat);
    std::memset(p, ch, static_cast<size_t>(nRepeat));
    SetLength(nRepeat);
}

void CString::AssignWide(const WCHAR* pwsz, int nLength) {
    if (pwsz == nullptr || nLength == 0) {
        Empty();
        return;
    }
    if (nLength < 0)
        nLength = lstrlenW(pwsz);
    if (nLength == 0) {
        Empty();
        return;
    }
    int n = WideCharToMultiByte(CP_ACP, 0, pwsz, nLength, nullptr, 0, nullptr, nullptr);
    if (n <= 0) {
        Empty();
        return;
    }
    CString result;
    char* p = result.GetBuffer(n);
    n = WideCharToMultiByte(CP_ACP, 0, pwsz, nLength, p, n, nullptr, nullptr);
    result.SetLength(n > 0 ? n : 0);
    *this = std::move(result);
}

CString& CString::operator=(const CString& src) {
    if (this != &src)
        SetString(src.m_pszData, src.GetLength());
    return *this;
}

CString& CString::operator=(CString&& src) noexcept {
    if (this != &src) {
        Free(m_pszData);
        m_pszData = src.m_pszData;
        src.m_pszData = NilText();
    }
    return *this;
}

CString& CString::operator=(LPCSTR psz) {
    AssignOrLoad(psz);
    return *this;
}

void CString::SetString(LPCSTR psz) {
    SetString(psz, psz ? static_cast<int>(std::strlen(psz)) : 0);
}

void CString::SetString(LPCSTR pch, int nLength) {
    if (nLength < 0 || (nLength > 0 && pch == nullptr))
        AfxThrowInvalidArgException();
    if (nLength == 0) {
        if (!IsNil())
            SetLength(0);
        return;
    }
    if (!IsNil() && GetAllocLength() >= nLength) {
        std::memmove(m_pszData, pch, static_cast<size_t>(nLength)); // pch may lie in the text
        SetLength(nLength);
        return;
    }
    char* pszNew = Allocate(nLength);
    std::memcpy(pszNew, pch, static_cast<size_t>(nLength));
    char* pszOld = m_pszData;
    m_pszData = pszNew;
    SetLength(nLength);
    Free(pszOld);
}

void CString::Empty() noexcept {
    Free(m_pszData);
    m_pszData = NilText();
}

// ---------------------------------------------------------------------------
// Access.

char CString::GetAt(int iChar) const {
    if (iChar < 0 || iChar > GetLength())
        AfxThrowInvalidArgException();
    return m_pszData[iChar];
}

void CString::SetAt(int iChar, char ch) {
    if (iChar < 0 || iChar >= GetLength())
        AfxThrowInvalidArgException();
    m_pszData[iChar] = ch;
}

// ---------------------------------------------------------------------------
// Concatenation.

void CString::Append(LPCSTR psz) {
    Append(psz, psz ? static_cast<int>(std::strlen(psz)) : 0);
}

void CString::Append(const CString& str) {
    Append(str.m_pszData, str.GetLength());
}

void CString::Append(LPCSTR pch, int nLength) {
    if (nLength < 0 || (nLength > 0 && pch == nullptr))
        AfxThrowInvalidArgException();
    if (nLength == 0)
        return;
    int nOld = GetLength();
    if (static_cast<long long>(nOld) + nLength > INT_MAX - 64)
        AfxThrowMemoryException();
    int nNew = nOld + nLength;
    if (IsNil() || GetAllocLength() < nNew) {
        // pch may point into the old text: copy it before the old buffer goes.
        int nAlloc = IsNil() ? nNew : GetAllocLength();
        long long geometric = static_cast<long long>(nAlloc) + nAlloc / 2;
        if (IsNil() || geometric < nNew || geometric > INT_MAX - 64)
            geometric = nNew;
        char* pszNew = Allocate(static_cast<int>(geometric));
        std::memcpy(pszNew, m_pszData, static_cast<size_t>(nOld));
        std::memcpy(pszNew + nOld, pch, static_cast<size_t>(nLength));
        char* pszOld = m_pszData;
        m_pszData = pszNew;
        SetLength(nNew);
        Free(pszOld);
        return;
    }
    std::memmove(m_pszData + nOld, pch, static_cast<size_t>(nLength));
    SetLength(nNew);
}

void CString::AppendChar(char ch) {
    Append(&ch, 1);
}

CString& CString::operator+=(const CString& str) {
    Append(str);
    return *this;
}

CString& CString::operator+=(LPCSTR psz) {
    Append(psz);
    return *this;
}

CString operator+(const CString& a, const CString& b) {
    CString r;
    r.Preallocate(a.GetLength() + b.GetLength());
    r.Append(a);
    r.Append(b);
    return r;
}

CString operator+(const CString& a, LPCSTR b) {
    CString r(a);
    r.Append(b);
    return r;
}

CString operator+(LPCSTR a, const CString& b) {
    CString r(a);
    r.Append(b);
    return r;
}

CString operator+(CString&& a, const CString& b) {
    CString r(std::move(a));
    r.Append(b);
    return r;
}

CString operator+(CString&& a, LPCSTR b) {
    CString r(std::move(a));
    r.Append(b);
    return r;
}

// ---------------------------------------------------------------------------
// Comparison.

int CString::Compare(LPCSTR psz) const {
    return std::strcmp(m_pszData, psz ? psz : "");
}

int CString::CompareNoCase(LPCSTR psz) const {
    const LeadBytes& lb = Leads();
    const unsigned char* a = reinterpret_cast<const unsigned char*>(m_pszData);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(psz ? psz : "");
    for (;;) {
        bool leadA = lb.lead[*a] && a[1] != 0;
        bool leadB = lb.lead[*b] && b[1] != 0;
        if (leadA || leadB) {
            // Double-byte characters compare by their bytes, unfolded.
            if (*a != *b)
                return *a < *b ? -1 : 1;
            if (a[1] != b[1])
                return a[1] < b[1] ? -1 : 1;
            a += 2;
            b += 2;
            continue;
        }
        unsigned char ca = static_cast<unsigned char>(FoldLower(static_cast<char>(*a)));
        unsigned char cb = static_cast<unsigned char>(FoldLower(static_cast<char>(*b)));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
        ++a;
        ++b;
    }
}

int CString::Collate(LPCSTR psz) const {
    int r = CompareStringA(LOCALE_USER_DEFAULT, 0, m_pszData, -1, psz ? psz : "", -1);
    return r == 0 ? Compare(psz) : r - CSTR_EQUAL;
}

int CString::CollateNoCase(LPCSTR psz) const {
    int r = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, m_pszData, -1, psz ? psz : "", -1);
    return r == 0 ? CompareNoCase(psz) : r - CSTR_EQUAL;
}

// ---------------------------------------------------------------------------
// Extraction.

CString CString::Mid(int iFirst) const {
    return Mid(iFirst, GetLength());
}

CString CString::Mid(int iFirst, int nCount) const {
    int nLength = GetLength();
    if (iFirst < 0)
        iFirst = 0;
    if (nCount < 0)
        nCount = 0;
    if (iFirst > nLength)
        return CString();
    if (static_cast<long long>(iFirst) + nCount > nLength)
        nCount = nLength - iFirst;
    return CString(m_pszData + iFirst, nCount);
}

CString CString::Left(int nCount) const {
    if (nCount < 0)
        nCount = 0;
    if (nCount > GetLength())
        nCount = GetLength();
    return CString(m_pszData, nCount);
}

CString CString::Right(int nCount) const {
    int nLength = GetLength();
    if (nCount < 0)
        nCount = 0;
    if (nCount > nLength)
        nCount = nLength;
    return CString(m_pszData + nLength - nCount, nCount);
}

CString CString::SpanIncluding(LPCSTR pszCharSet) const {
    return Left(SpanSet(m_pszData, pszCharSet ? pszCharSet : "", true));
}

CString CString::SpanExcluding(LPCSTR pszCharSet) const {
    return Left(SpanSet(m_pszData, pszCharSet ? pszCharSet : "", false));
}

CString CString::Tokenize(LPCSTR pszTokens, int& iStart) const {
    if (iStart < 0)
        AfxThrowInvalidArgException();
    int nLength = GetLength();
    if (pszTokens == nullptr || *pszTokens == '\0') {
        if (iStart < nLength) {
            CString rest(m_pszData + iStart, nLength - iStart);
            iStart = nLength + 1;
            return rest;
        }
    } else if (iStart < nLength) {
        int nIncluding = SpanSet(m_pszData + iStart, pszTokens, true);
        if (iStart + nIncluding < nLength) {
            int iFrom = iStart + nIncluding;
            int nExcluding = SpanSet(m_pszData + iFrom, pszTokens, false);
            iStart = iFrom + nExcluding + 1;
            return Mid(iFrom, nExcluding);
        }
    }
    iStart = -1;
    return CString();
}

// ---------------------------------------------------------------------------
// Changes.

CString& CString::MakeUpper() {
    if (IsNil())
        return *this;
    const LeadBytes& lb = Leads();
    for (char* p = m_pszData; *p;) {
        int n = CharLen(p, lb);
        if (n == 1 && *p >= 'a' && *p <= 'z')
            *p = static_cast<char>(*p - 'a' + 'A');
        p += n;
    }
    return *this;
}

CString& CString::MakeLower() {
    if (IsNil())
        return *this;
    const LeadBytes& lb = Leads();
    for (char* p = m_pszData; *p;) {
        int n = CharLen(p, lb);
        if (n == 1)
            *p = FoldLower(*p);
        p += n;
    }
    return *this;
}

CString& CString::MakeReverse() {
    int nLength = GetLength();
    if (nLength < 2)
        return *this;
    const LeadBytes& lb = Leads();
    if (!lb.any) {
        for (int i = 0, j = nLength - 1; i < j; ++i, --j) {
            char t = m_pszData[i];
            m_pszData[i] = m_pszData[j];
            m_pszData[j] = t;
        }
        return *this;
    }
    std::string reversed(static_cast<size_t>(nLength), '\0');
    size_t out = static_cast<size_t>(nLength);
    for (const char* p = m_pszData; p < m_pszData + nLength;) {
        int n = (*p == '\0') ? 1 : CharLen(p, lb);
        out -= static_cast<size_t>(n);
        std::memcpy(&reversed[out], p, static_cast<size_t>(n));
        p += n;
    }
    std::memcpy(m_pszData, reversed.data(), static_cast<size_t>(nLength));
    return *this;
}

int CString::Replace(char chOld, char chNew) {
    if (chOld == chNew || IsNil())
        return 0;
    const LeadBytes& lb = Leads();
    int nCount = 0;
    for (char* p = m_pszData; *p;) {
        int n = CharLen(p, lb);
        if (n == 1 && *p == chOld) {
            *p = chNew;
            ++nCount;
        }
        p += n;
    }
    return nCount;
}

int CString::Replace(LPCSTR pszOld, LPCSTR pszNew) {
    if (pszOld == nullptr || *pszOld == '\0' || IsNil())
        return 0;
    if (pszNew == nullptr)
        pszNew = "";
    const LeadBytes& lb = Leads();
    size_t nOld = std::strlen(pszOld);
    size_t nNew = std::strlen(pszNew);
    std::string result;
    int nCount = 0;
    const char* p = m_pszData;
    const char* copied = p;
    while (*p) {
        if (std::strncmp(p, pszOld, nOld) == 0) {
            result.append(copied, static_cast<size_t>(p - copied));
            result.append(pszNew, nNew);
            p += nOld;
            copied = p;
            ++nCount;
        } else {
            p += CharLen(p, lb);
        }
    }
    if (nCount == 0)
        return 0;
    result.append(copied, static_cast<size_t>(m_pszData + GetLength() - copied));
    if (result.size() > static_cast<size_t>(INT_MAX - 64))
        AfxThrowMemoryException();
    SetString(result.data(), static_cast<int>(result.size()));
    return nCount;
}

int CString::Remove(char chRemove) {
    if (IsNil())
        return 0;
    const LeadBytes& lb = Leads();
    char* out = m_pszData;
    const char* p = m_pszData;
    const char* end = m_pszData + GetLength();
    int nCount = 0;
    while (p < end) {
        int n = (*p == '\0') ? 1 : CharLen(p, lb);
        if (n == 1 && *p == chRemove) {
            ++nCount;
        } else {
            std::memmove(out, p, static_cast<size_t>(n));
            out += n;
        }
        p += n;
    }
    SetLength(static_cast<int>(out - m_pszData));
    return nCount;
}

int CString::Insert(int iIndex, char ch) {
    char text[2] = {ch, '\0'};
    int nLength = GetLength();
    if (iIndex < 0)
        iIndex = 0;
    if (iIndex > nLength)
        iIndex = nLength;
    CString tail(m_pszData + iIndex, nLength - iIndex);
    Truncate(iIndex);
    Append(text, 1);
    Append(tail);
    return GetLength();
}

int CString::Insert(int iIndex, LPCSTR psz) {
    if (psz == nullptr || *psz == '\0')
        return GetLength();
    int nLength = GetLength();
    if (iIndex < 0)
        iIndex = 0;
    if (iIndex > nLength)
        iIndex = nLength;
    CString inserted(psz); // psz may point into this string
    CString tail(m_pszData + iIndex, nLength - iIndex);
    Truncate(iIndex);
    Append(inserted);
    Append(tail);
    return GetLength();
}

int CString::Delete(int iIndex, int nCount) {
    int nLength = GetLength();
    if (iIndex < 0)
        iIndex = 0;
    if (nCount < 0)
        nCount = 0;
    if (iIndex >= nLength || nCount == 0)
        return nLength;
    if (static_cast<long long>(iIndex) + nCount > nLength)
        nCount = nLength - iIndex;
    std::memmove(m_pszData + iIndex, m_pszData + iIndex + nCount,
                 static_cast<size_t>(nLength - iIndex - nCount));
    SetLength(nLength - nCount);
    return GetLength();
}

void CString::Truncate(int nNewLength) {
    if (nNewLength < 0 || nNewLength > GetLength())
        AfxThrowInvalidArgException();
    if (nNewLength == GetLength())
        return;
    SetLength(nNewLength); // shorter than a non-empty text: an own buffer
}

namespace {
enum class TrimKind { Space, Char, Set };

// Index just past the leading characters to trim.
int TrimLeftIndex(const char* text, TrimKind kind, char ch, const char* set) {
    const LeadBytes& lb = Leads();
    const char* p = text;
    while (*p) {
        int n = CharLen(p, lb);
        bool trim = kind == TrimKind::Space  ? (n == 1 && IsSpace(*p))
                    : kind == TrimKind::Char ? (n == 1 && *p == ch)
                                             : InSet(p, n, set, lb);
        if (!trim)
            break;
        p += n;
    }
    return static_cast<int>(p - text);
}

// Length without the trailing characters to trim.
int TrimRightLength(const char* text, TrimKind kind, char ch, const char* set) {
    const LeadBytes& lb = Leads();
    const char* p = text;
    const char* keepEnd = text;
    while (*p) {
        int n = CharLen(p, lb);
        bool trim = kind == TrimKind::Space  ? (n == 1 && IsSpace(*p))
                    : kind == TrimKind::Char ? (n == 1 && *p == ch)
                                             : InSet(p, n, set, lb);
        p += n;
        if (!trim)
            keepEnd = p;
    }
    return static_cast<int>(keepEnd - text);
}
} // namespace

CString& CString::TrimLeft() {
    Delete(0, TrimLeftIndex(m_pszData, TrimKind::Space, 0, nullptr));
    return *this;
}
CString& CString::TrimLeft(char chTarget) {
    Delete(0, TrimLeftIndex(m_pszData, TrimKind::Char, chTarget, nullptr));
    return *this;
}
CString& CString::TrimLeft(LPCSTR pszTargets) {
    if (pszTargets != nullptr && *pszTargets != '\0')
        Delete(0, TrimLeftIndex(m_pszData, TrimKind::Set, 0, pszTargets));
    return *this;
}
CString& CString::TrimRight() {
    Truncate(TrimRightLength(m_pszData, TrimKind::Space, 0, nullptr));
    return *this;
}
CString& CString::TrimRight(char chTarget) {
    Truncate(TrimRightLength(m_pszData, TrimKind::Char, chTarget, nullptr));
    return *this;
}
CString& CString::TrimRight(LPCSTR pszTargets) {
    if (pszTargets != nullptr && *pszTargets != '\0')
        Truncate(TrimRightLength(m_pszData, TrimKind::Set, 0, pszTargets));
    return *this;
}
CString& CString::Trim() {
    return TrimRight().TrimLeft();
}
CString& CString::Trim(char chTarget) {
    return TrimRight(chTarget).TrimLeft(chTarget);
}
CString& CString::Trim(LPCSTR pszTargets) {
    return TrimRight(pszTargets).TrimLeft(pszTargets);
}

// ---------------------------------------------------------------------------
// Search.

int CString::Find(char ch, int iStart) const {
    int nLength = GetLength();
    if (iStart < 0 || iStart >= nLength || ch == '\0')
        return -1;
    const LeadBytes& lb = Leads();
    for (const char* p = m_pszData + iStart; *p;) {
        int n = CharLen(p, lb);
        if (n == 1 && *p == ch)
            return static_cast<int>(p - m_pszData);
        p += n;
    }
    return -1;
}

int CString::Find(LPCSTR pszSub, int iStart) const {
    if (pszSub == nullptr || iStart < 0 || iStart > GetLength())
        return -1;
    const LeadBytes& lb = Leads();
    if (!lb.any) {
        const char* found = std::strstr(m_pszData + iStart, pszSub);
        return found ? static_cast<int>(found - m_pszData) : -1;
    }
    size_t nSub = std::strlen(pszSub);
    for (const char* p = m_pszData + iStart;; p += CharLen(p, lb)) {
        if (std::strncmp(p, pszSub, nSub) == 0)
            return static_cast<int>(p - m_pszData);
        if (*p == '\0')
            return -1;
    }
}

int CString::ReverseFind(char ch) const {
    if (ch == '\0')
        return -1;
    const LeadBytes& lb = Leads();
    int found = -1;
    for (const char* p = m_pszData; *p;) {
        int n = CharLen(p, lb);
        if (n == 1 && *p == ch)
            found = static_cast<int>(p - m_pszData);
        p += n;
    }
    return found;
}

int CString::FindOneOf(LPCSTR pszCharSet) const {
    if (pszCharSet == nullptr)
        return -1;
    const LeadBytes& lb = Leads();
    for (const char* p = m_pszData; *p;) {
        int n = CharLen(p, lb);
        if (InSet(p, n, pszCharSet, lb))
            return static_cast<int>(p - m_pszData);
        p += n;
    }
    return -1;
}

// ---------------------------------------------------------------------------
// Formatting.

void CString::FormatV(LPCSTR pszFormat, va_list args) {
    CString result; // the arguments may point into the current text
    result.AppendFormatV(pszFormat, args);
    *this = std::move(result);
}

void CString::AppendFormatV(LPCSTR pszFormat, va_list args) {
    if (pszFormat == nullptr)
        AfxThrowInvalidArgException();
    va_list measure;
    va_copy(measure, args);
    int n = AfxVsnprintf(nullptr, 0, pszFormat, measure);
    va_end(measure);
    if (n <= 0)
        return; // nothing to add, or an encoding error: the text stays as it was
    int nOld = GetLength();
    if (static_cast<long long>(nOld) + n > INT_MAX - 64)
        AfxThrowMemoryException();
    // A new buffer: the arguments may point into the current text.
    char* pszNew = Allocate(nOld + n);
    std::memcpy(pszNew, m_pszData, static_cast<size_t>(nOld));
    int written = AfxVsnprintf(pszNew + nOld, static_cast<size_t>(n) + 1, pszFormat, args);
    if (written < 0)
        written = 0;
    if (written > n)
        written = n;
    char* pszOld = m_pszData;
    m_pszData = pszNew;
    SetLength(nOld + written);
    Free(pszOld);
}

void CString::Format(LPCSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::Format(UINT nFormatID, ...) {
    CString format;
    if (!format.LoadString(nFormatID))
        AfxThrowInvalidArgException();
    va_list args;
    va_start(args, nFormatID);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(LPCSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    AppendFormatV(pszFormat, args);
    va_end(args);
}

void CString::AppendFormat(UINT nFormatID, ...) {
    CString format;
    if (!format.LoadString(nFormatID))
        AfxThrowInvalidArgException();
    va_list args;
    va_start(args, nFormatID);
    AppendFormatV(format, args);
    va_end(args);
}

namespace {
// The highest insert number ("%1" .. "%99") of a message format.
int HighestInsert(const char* format) {
    int highest = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%')
            continue;
        if (p[1] >= '1' && p[1] <= '9') {
            int n = p[1] - '0';
            if (p[2] >= '0' && p[2] <= '9')
                n = n * 10 + (p[2] - '0');
            if (n > highest)
                highest = n;
            ++p;
        } else if (p[1] != '\0') {
            ++p; // "%%", "%n", "%!" and the like
        }
    }
    return highest;
}

CString FormatMessageV(const char* format, va_list args) {
    if (format == nullptr)
        AfxThrowInvalidArgException();
    DWORD_PTR inserts[100] = {};
    int count = HighestInsert(format);
    for (int i = 0; i < count; ++i)
        inserts[i] = va_arg(args, DWORD_PTR);
    LPSTR text = nullptr;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                                 FORMAT_MESSAGE_ARGUMENT_ARRAY,
                             format, 0, 0, reinterpret_cast<LPSTR>(&text), 0,
                             reinterpret_cast<AfxWin32VaList*>(inserts));
    if (n == 0 || text == nullptr) {
        if (text != nullptr)
            LocalFree(text);
        AfxThrowMemoryException();
    }
    CString result(text, static_cast<int>(n));
    LocalFree(text);
    return result;
}
} // namespace

void CString::FormatMessage(LPCSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    CString result;
    try {
        result = FormatMessageV(pszFormat, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
    *this = std::move(result);
}

void CString::FormatMessage(UINT nFormatID, ...) {
    CString format;
    if (!format.LoadString(nFormatID))
        AfxThrowInvalidArgException();
    va_list args;
    va_start(args, nFormatID);
    CString result;
    try {
        result = FormatMessageV(format, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
    *this = std::move(result);
}

// ---------------------------------------------------------------------------
// Resources.

BOOL CString::LoadString(UINT nID) {
    return LoadString(AfxGetResourceHandle(), nID);
}

BOOL CString::LoadString(HINSTANCE hInstance, UINT nID) {
    // LoadStringW with no buffer gives the resource's own text and its length.
    const WCHAR* text = nullptr;
    int n = LoadStringW(hInstance, nID, reinterpret_cast<LPWSTR>(&text), 0);
    if (n <= 0 || text == nullptr)
        return FALSE;
    AssignWide(text, n);
    return TRUE;
}

// ---------------------------------------------------------------------------
// The buffer.

char* CString::GetBuffer(int nMinBufLength) {
    if (nMinBufLength < 0)
        AfxThrowInvalidArgException();
    Reserve(nMinBufLength > GetLength() ? nMinBufLength : GetLength(), false);
    return m_pszData;
}

char* CString::GetBuffer() {
    return GetBuffer(0);
}

char* CString::GetBufferSetLength(int nLength) {
    char* p = GetBuffer(nLength);
    SetLength(nLength);
    return p;
}

void CString::ReleaseBuffer(int nNewLength) {
    if (IsNil()) {
        if (nNewLength > 0)
            AfxThrowInvalidArgException();
        return;
    }
    int nAlloc = GetAllocLength();
    if (nNewLength == -1)
        nNewLength = static_cast<int>(strnlen(m_pszData, static_cast<size_t>(nAlloc)));
    if (nNewLength < 0 || nNewLength > nAlloc)
        AfxThrowInvalidArgException();
    SetLength(nNewLength);
}

void CString::Preallocate(int nLength) {
    if (nLength < 0)
        AfxThrowInvalidArgException();
    if (nLength > 0)
        Reserve(nLength, false);
}

void CString::FreeExtra() {
    if (IsNil())
        return;
    int nLength = GetLength();
    if (nLength == 0) {
        Empty();
        return;
    }
    if (GetAllocLength() == nLength)
        return;
    char* pszNew = Allocate(nLength);
    std::memcpy(pszNew, m_pszData, static_cast<size_t>(nLength));
    char* pszOld = m_pszData;
    m_pszData = pszNew;
    SetLength(nLength);
    Free(pszOld);
}

// ---------------------------------------------------------------------------
// Conversions.

BSTR CString::AllocSysString() const {
    int nLength = GetLength();
    int n = nLength ? MultiByteToWideChar(CP_ACP, 0, m_pszData, nLength, nullptr, 0) : 0;
    if (n < 0)
        n = 0;
    BSTR bstr = SysAllocStringLen(nullptr, static_cast<UINT>(n));
    if (bstr != nullptr && n > 0)
        MultiByteToWideChar(CP_ACP, 0, m_pszData, nLength, bstr, n);
    return bstr;
}
