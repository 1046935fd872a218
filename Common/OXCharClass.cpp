// OXCharClass.cpp: byte classes of the ANSI code page for the markup parser.
#include "OXCharClass.h"

#include <windows.h>

namespace {

struct CharTable {
    unsigned char flags[256];

    CharTable() {
        for (int c = 0; c < 256; ++c) {
            unsigned char f = 0;
            if (c == ' ' || (c >= '\t' && c <= '\r'))
                f |= COXCharClass::SPACE;
            if (c >= 0x80 && IsDBCSLeadByte(static_cast<BYTE>(c)))
                f |= COXCharClass::LEAD;
            // A lead byte stands for a whole character, which is taken as a letter:
            // the names of a double-byte code page are written in its own script.
            if ((f & COXCharClass::LEAD) || c == '-' || c == ':' || c == '_' ||
                (c != 0 && IsCharAlphaNumericA(static_cast<CHAR>(c))))
                f |= COXCharClass::NAME;
            flags[c] = f;
        }
    }
};

unsigned char FoldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

} // namespace

const unsigned char* COXCharClass::Table() {
    static const CharTable table;
    return table.flags;
}

int COXCharClass::Compare(const char* a, const char* b, bool caseSensitive) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b);
    for (;;) {
        unsigned char c = *p++, d = *q++;
        if (IsLeadByte(c) && *p != 0) {
            // The trail byte of a double-byte character may look like an ASCII
            // letter; it is compared exactly, never folded.
            if (c != d)
                return c - d;
            c = *p++;
            d = *q;
            if (d != 0)
                ++q;
        } else if (!caseSensitive) {
            c = FoldAscii(c);
            d = FoldAscii(d);
        }
        if (c != d)
            return c - d;
        if (c == 0)
            return 0;
    }
}
