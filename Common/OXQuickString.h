// OXQuickString.h: COXQuickString, the growable 8-bit string of the markup
// parser's tree (names, texts, attribute values).
//
// Texts of up to INLINE_SIZE - 1 bytes live in the object itself, since most
// names and values of our data files are that short; longer ones in an owned
// heap block. The buffer is null while nothing has been stored; GetText never
// returns null. Texts are in the ANSI code page; trimming and comparison step
// over double-byte characters whole.
#pragma once

class COXQuickString {
public:
    enum { INLINE_SIZE = 16 };

    COXQuickString();
    explicit COXQuickString(const char* text);
    COXQuickString(const COXQuickString& other);
    COXQuickString& operator=(const COXQuickString& other);
    virtual ~COXQuickString();

    const char* GetText() const { return m_buffer ? m_buffer : ""; }
    int GetLength() const { return m_length; }
    bool IsEmpty() const { return m_length == 0; }

    void SetText(const char* text); // null empties
    void Empty();

    void AppendChar(char c) {
        if (m_allocated - m_length < 2)
            GrowBy(m_growStep);
        m_buffer[m_length++] = c;
        m_buffer[m_length] = 0;
    }
    void Append(const char* text); // null appends nothing
    void AppendN(const char* text, int n);

    // Removes white space at the end, then at the start.
    void Trim();
    // False for a null text or when this string is empty.
    bool IsEqual(const char* text, bool caseSensitive) const;
    // The n-th field (from 0) between separator characters; empty when the text
    // has fewer fields.
    COXQuickString GetField(int n, char separator) const;

private:
    void GrowBy(int minimum);

    char* m_buffer;  // m_inline or an owned heap block; null while nothing was stored
    int m_allocated; // bytes of m_buffer
    int m_length;    // bytes before the NUL
    int m_growStep;  // least growth of AppendChar
    char m_inline[INLINE_SIZE];
};
