// Tests of PrintfFormat.h: AfxVsnprintf prints as Windows' narrow printf does,
// with Windows' size prefixes and 2-byte wide text, and keeps vsnprintf's contract.
#include "native/gtest.h"

#include "framework/PrintfFormat.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace {

// Formats through "..." without the compile-time check, which knows only C's
// conversions.
std::string Print(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int n = AfxVsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string text(n > 0 ? static_cast<size_t>(n) : 0, '?');
    const int written = AfxVsnprintf(&text[0], text.size() + 1, format, args);
    va_end(args);
    EXPECT_EQ(n, written) << format;
    return text;
}

const wchar_t* const kNoWideText = nullptr;

TEST(AfxVsnprintf, SizePrefixesReadTheirArgumentsAtWindowsSizes) {
    const struct {
        std::string expected;
        std::string actual;
    } cases[] = {
        {"5000000000", Print("%I64d", 5000000000LL)},
        {"-1234567890123", Print("%I64d", -1234567890123LL)},
        {"18446744073709551615", Print("%I64u", ~0ULL)},
        {"123456789", Print("%I64x", 0x123456789ULL)},
        {"   ff", Print("%5I64x", 255ULL)},
        {"5000000000  |", Print("%-*I64d|", 12, 5000000000LL)},
        {"7 next", Print("%I32d %s", 7, "next")},
        {"-5000000000", Print("%Id", static_cast<intptr_t>(-5000000000LL))},
        {"123456789012", Print("%Iu", static_cast<size_t>(123456789012ULL))},
        {"a=5000000000, 3", Print("%s=%I64d, %d", "a", 5000000000LL, 3)},
        {"%I64d", Print("%%I64d")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, c.actual);
}

// wchar_t is 2 bytes here; the C library would read 4 per character.
TEST(AfxVsnprintf, WideTextInANarrowFormatIsConverted) {
    const struct {
        std::string expected;
        std::string actual;
    } cases[] = {
        {"wide", Print("%ls", L"wide")},
        {"wide", Print("%S", L"wide")},
        {"wide", Print("%lS", L"wide")},
        {"ab    |", Print("%-6ls|", L"ab")},
        {"  ab|", Print("%*S|", 4, L"ab")},
        {"ab|", Print("%.2ls|", L"abcd")},
        {"(null)", Print("%ls", kNoWideText)},
        {"w|  x", Print("%lc|%3C", L'w', L'x')},
        {"narrow n N!", Print("%hs %hc %hS", "narrow", 'n', "N!")},
        {"n", Print("%hC", 'n')},
        {"a=5000000000, b, 2.25", Print("%s=%I64d, %ls, %.2f", "a", 5000000000LL, L"b", 2.25)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, c.actual);
}

// With a precision the wide text needs no terminator: nothing past it is read.
TEST(AfxVsnprintf, PrecisionBoundsTheWideCharactersRead) {
    const wchar_t unterminated[3] = {L'x', L'y', L'z'};
    EXPECT_EQ("xyz|", Print("%.3ls|", unterminated));
}

int PrintInto(char* buffer, size_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int n = AfxVsnprintf(buffer, size, format, args);
    va_end(args);
    return n;
}

TEST(AfxVsnprintf, KeepsTheContractOfVsnprintf) {
    char buffer[4] = "...";
    EXPECT_EQ(6, PrintInto(buffer, sizeof buffer, "%ls", L"abcdef")); // whole length, cut text
    EXPECT_STREQ("abc", buffer);
    EXPECT_EQ(10, PrintInto(buffer, sizeof buffer, "%I64d", 5000000000LL));
    EXPECT_STREQ("500", buffer);
    EXPECT_EQ(3, PrintInto(buffer, 0, "%ls", L"xyz")); // nothing written
    EXPECT_STREQ("500", buffer);
    EXPECT_EQ(2, PrintInto(buffer, sizeof buffer, "%d", 42)); // a plain format, straight through
    EXPECT_STREQ("42", buffer);
}

} // namespace
