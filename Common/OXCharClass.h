// OXCharClass.h: COXCharClass, the byte classes of the process's ANSI code page
// that the markup parser and its strings test: white space, lead bytes of
// double-byte characters, and the bytes that may appear in a name.
//
// The table is built once, on first use, from the ANSI code page in force then;
// the program never changes its code page while it runs.
#pragma once

class COXCharClass {
public:
    enum {
        SPACE = 0x01, // blank, tab, line feed, vertical tab, form feed, carriage return
        LEAD = 0x02,  // first byte of a double-byte character
        NAME = 0x04,  // letter or digit of the code page, "-", ":" or "_"
    };

    static bool IsSpace(unsigned char c) { return (Table()[c] & SPACE) != 0; }
    static bool IsLeadByte(unsigned char c) { return (Table()[c] & LEAD) != 0; }
    static bool IsNameChar(unsigned char c) { return (Table()[c] & NAME) != 0; }

    // Multibyte comparison: a double-byte character compares as two exact bytes,
    // ASCII letters fold when caseSensitive is false. <0, 0 or >0 like strcmp.
    static int Compare(const char* a, const char* b, bool caseSensitive);

private:
    static const unsigned char* Table();
};
