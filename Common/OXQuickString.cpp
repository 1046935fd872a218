// OXQuickString.cpp: the growable string of the markup parser's tree.
#include "OXQuickString.h"

#include "OXCharClass.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

COXQuickString::COXQuickString()
    : m_buffer(nullptr), m_allocated(0), m_length(0), m_growStep(10), m_inline() {}

COXQuickString::COXQuickString(const char* text) : COXQuickString() {
    Append(text);
}

COXQuickString::COXQuickString(const COXQuickString& other) : COXQuickString() {
    AppendN(other.m_buffer, other.m_length);
}

COXQuickString& COXQuickString::operator=(const COXQuickString& other) {
    if (this != &other) {
        Empty();
        AppendN(other.m_buffer, other.m_length);
    }
    return *this;
}

COXQuickString::~COXQuickString() {
    if (m_buffer != m_inline)
        free(m_buffer);
}

void COXQuickString::SetText(const char* text) {
    Empty();
    Append(text);
}

void COXQuickString::Empty() {
    m_length = 0;
    if (m_buffer)
        m_buffer[0] = 0;
}

// Grows the buffer by at least minimum bytes. A text that outgrows the inline
// buffer gets an exact block first, so that one-piece texts keep no slack;
// later growth adds half again, so that a text built a character at a time
// costs linear, not quadratic, time. Throws std::bad_alloc when memory or the
// 32-bit size runs out; the parser turns that into its out-of-memory error.
void COXQuickString::GrowBy(int minimum) {
    long long wanted = static_cast<long long>(m_allocated) + minimum;
    if (!m_buffer && wanted <= INLINE_SIZE) {
        m_buffer = m_inline;
        m_buffer[0] = 0;
        m_allocated = INLINE_SIZE;
        return;
    }
    if (m_buffer && m_buffer != m_inline)
        wanted = std::max(wanted, static_cast<long long>(m_allocated) + m_allocated / 2);
    if (wanted > INT_MAX)
        wanted = INT_MAX;
    if (wanted < static_cast<long long>(m_allocated) + minimum)
        throw std::bad_alloc();
    char* grown;
    if (m_buffer == m_inline) {
        grown = static_cast<char*>(malloc(static_cast<size_t>(wanted)));
        if (grown)
            memcpy(grown, m_inline, static_cast<size_t>(m_length) + 1);
    } else {
        grown = static_cast<char*>(realloc(m_buffer, static_cast<size_t>(wanted)));
        if (grown && !m_buffer)
            grown[0] = 0;
    }
    if (!grown)
        throw std::bad_alloc();
    m_buffer = grown;
    m_allocated = static_cast<int>(wanted);
}

void COXQuickString::Append(const char* text) {
    if (text)
        AppendN(text, static_cast<int>(std::min<size_t>(strlen(text), INT_MAX)));
}

void COXQuickString::AppendN(const char* text, int n) {
    if (!text || n <= 0)
        return;
    if (static_cast<long long>(m_length) + n + 1 > m_allocated)
        GrowBy(static_cast<int>(
            std::min<long long>(static_cast<long long>(m_length) + n + 1 - m_allocated, INT_MAX)));
    memcpy(m_buffer + m_length, text, static_cast<size_t>(n));
    m_length += n;
    m_buffer[m_length] = 0;
}

// White space is ASCII only, and the trail byte of a double-byte character is
// never below 0x40, so the end can be trimmed byte by byte.
void COXQuickString::Trim() {
    if (m_length == 0)
        return;
    while (m_length > 0 &&
           COXCharClass::IsSpace(static_cast<unsigned char>(m_buffer[m_length - 1])))
        --m_length;
    int start = 0;
    while (start < m_length && COXCharClass::IsSpace(static_cast<unsigned char>(m_buffer[start])))
        ++start;
    if (start > 0)
        memmove(m_buffer, m_buffer + start, static_cast<size_t>(m_length - start));
    m_length -= start;
    m_buffer[m_length] = 0;
}

bool COXQuickString::IsEqual(const char* text, bool caseSensitive) const {
    if (!text || m_length == 0)
        return false;
    return COXCharClass::Compare(m_buffer, text, caseSensitive) == 0;
}

COXQuickString COXQuickString::GetField(int n, char separator) const {
    COXQuickString field;
    if (n < 0)
        return field;
    const char* p = GetText();
    for (; n > 0; --n) {
        p = strchr(p, separator);
        if (!p)
            return field;
        ++p;
    }
    const char* end = strchr(p, separator);
    field.AppendN(p, end ? static_cast<int>(end - p) : static_cast<int>(strlen(p)));
    return field;
}
