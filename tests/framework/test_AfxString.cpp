// Tests of AfxString.h: CString, the framework's 8-bit string.
#include "native/gtest.h"

#include "framework/AfxString.h"
#include "framework/AfxResource.h"
#include "framework/Exception.h"

#include <oleauto.h>

#include <cstring>
#include <string>
#include <utility>

namespace {

// Runs f and tells whether it threw a CInvalidArgException (which it deletes).
template <class F> bool ThrowsInvalidArg(F f) {
    try {
        f();
    } catch (CException* e) {
        bool ok = e->IsKindOf(RUNTIME_CLASS(CInvalidArgException));
        e->Delete();
        return ok;
    }
    return false;
}

} // namespace

// ---- construction -------------------------------------------------------------

TEST(CStringConstruct, EmptyStringsShareOneTextAndNullIsEmpty) {
    CString a, b(""), c(static_cast<const char*>(nullptr)), d = NULL;
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(0, b.GetLength());
    EXPECT_STREQ("", c);
    EXPECT_STREQ("", d);
    EXPECT_EQ(static_cast<LPCSTR>(a), static_cast<LPCSTR>(b));
    EXPECT_EQ(sizeof(void*), sizeof(CString));
}

TEST(CStringConstruct, FromTextCountCharacterAndWideText) {
    EXPECT_STREQ("hello", CString("hello"));
    EXPECT_STREQ("hel", CString("hello", 3));
    EXPECT_STREQ("", CString("hello", -2));
    EXPECT_STREQ("xxxx", CString('x', 4));
    EXPECT_STREQ("x", CString('x'));
    EXPECT_STREQ("", CString('x', 0));
    const unsigned char bytes[] = "abc";
    EXPECT_STREQ("abc", CString(bytes));
    EXPECT_STREQ("wide", CString(L"wide"));
    EXPECT_STREQ("wi", CString(L"wide", 2));
    CString w;
    w = L"text";
    EXPECT_STREQ("text", w);
}

TEST(CStringConstruct, CountedTextKeepsEmbeddedNuls) {
    CString s("a\0b", 3);
    EXPECT_EQ(3, s.GetLength());
    EXPECT_EQ('b', s[2]);
    CString copy(s);
    EXPECT_EQ(3, copy.GetLength());
    EXPECT_TRUE(copy == s);
    EXPECT_FALSE(copy == CString("a"));
}

TEST(CStringConstruct, CopyAndMoveAndSwap) {
    CString a("one");
    CString b(a);
    EXPECT_NE(static_cast<LPCSTR>(a), static_cast<LPCSTR>(b));
    CString c(std::move(a));
    EXPECT_STREQ("one", c);
    EXPECT_TRUE(a.IsEmpty());
    b = "two";
    swap(b, c);
    EXPECT_STREQ("one", b);
    EXPECT_STREQ("two", c);
    c = std::move(b);
    EXPECT_STREQ("one", c);
    c = c; // self-assignment keeps the text
    EXPECT_STREQ("one", c);
}

TEST(CStringConstruct, AssignFromOwnText) {
    CString s("abcdef");
    s = static_cast<LPCSTR>(s) + 2;
    EXPECT_STREQ("cdef", s);
    s += static_cast<LPCSTR>(s);
    EXPECT_STREQ("cdefcdef", s);
    s.Insert(2, static_cast<LPCSTR>(s) + 4);
    EXPECT_STREQ("cdcdefefcdef", s);
}

// ---- access ------------------------------------------------------------------

TEST(CStringAccess, GetAtSetAtAndIndexOperator) {
    CString s("abc");
    EXPECT_EQ('a', s.GetAt(0));
    EXPECT_EQ('\0', s.GetAt(3)); // the NUL may be read
    EXPECT_EQ('c', s[2]);
    EXPECT_EQ('b', s[1u]);
    EXPECT_EQ('b', s[1L]);
    EXPECT_EQ('b', s[size_t(1)]);
    s.SetAt(1, 'X');
    EXPECT_STREQ("aXc", s);
}

TEST(CStringAccess, OutOfRangeIndexesThrowInvalidArg) {
    CString s("abc");
    EXPECT_TRUE(ThrowsInvalidArg([&] { s.GetAt(4); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { s.GetAt(-1); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { (void)s[7]; }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { (void)s[size_t(1) << 40]; }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { s.SetAt(3, 'x'); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { CString().SetAt(0, 'x'); }));
    EXPECT_STREQ("abc", s);
}

// ---- concatenation and comparison --------------------------------------------

TEST(CStringConcat, OperatorsAndAppend) {
    CString a("ab");
    CString b = a + "cd";
    EXPECT_STREQ("abcd", b);
    EXPECT_STREQ("xyab", "xy" + a);
    EXPECT_STREQ("abab", a + a);
    EXPECT_STREQ("ab!", a + '!');
    EXPECT_STREQ("?ab", '?' + a);
    EXPECT_STREQ("abcdef", CString("ab") + "cd" + "ef");
    a += "c";
    a += 'd';
    a += CString("e");
    EXPECT_STREQ("abcde", a);
    a.Append("xyz", 2);
    a.AppendChar('!');
    EXPECT_STREQ("abcdexy!", a);
    EXPECT_EQ(8, a.GetLength());
    a += static_cast<LPCSTR>(nullptr);
    EXPECT_STREQ("abcdexy!", a);
}

TEST(CStringConcat, ManyAppendsGrowCorrectly) {
    CString s;
    std::string expect;
    for (int i = 0; i < 2000; ++i) {
        char c = static_cast<char>('a' + i % 26);
        s += c;
        expect += c;
    }
    EXPECT_EQ(expect, std::string(s));
    EXPECT_GE(s.GetAllocLength(), s.GetLength());
}

TEST(CStringCompare, OperatorsAgainstStringsAndText) {
    CString abc("abc"), abd("abd");
    EXPECT_TRUE(abc == "abc");
    EXPECT_TRUE("abc" == abc);
    EXPECT_TRUE(abc != abd);
    EXPECT_TRUE(abc < abd);
    EXPECT_TRUE(abc <= abd);
    EXPECT_TRUE(abd > abc);
    EXPECT_TRUE(abd >= "abc");
    EXPECT_TRUE("abb" < abc);
    EXPECT_FALSE(abc < "abc");
    EXPECT_TRUE(CString() == static_cast<LPCSTR>(nullptr));
    EXPECT_TRUE(CString("\xE9") > "z"); // bytes compare unsigned
}

TEST(CStringCompare, CompareCompareNoCaseAndCollate) {
    CString s("Hello");
    EXPECT_EQ(0, s.Compare("Hello"));
    EXPECT_LT(s.Compare("hello"), 0);
    EXPECT_GT(s.Compare("Hell"), 0);
    EXPECT_EQ(0, s.CompareNoCase("hELLO"));
    EXPECT_LT(s.CompareNoCase("help"), 0);
    EXPECT_GT(s.CompareNoCase(nullptr), 0);
    EXPECT_EQ(0, s.Collate("Hello"));
    EXPECT_EQ(0, s.CollateNoCase("HELLO"));
    EXPECT_LT(CString("apple").Collate("banana"), 0);
    EXPECT_GT(CString("banana").CollateNoCase("Apple"), 0);
}

// ---- extraction --------------------------------------------------------------

TEST(CStringExtract, MidLeftRightClampTheirArguments) {
    CString s("abcdef");
    EXPECT_STREQ("cd", s.Mid(2, 2));
    EXPECT_STREQ("cdef", s.Mid(2));
    EXPECT_STREQ("ef", s.Mid(4, 100));
    EXPECT_STREQ("", s.Mid(10));
    EXPECT_STREQ("ab", s.Mid(-3, 2));
    EXPECT_STREQ("", s.Mid(1, -1));
    EXPECT_STREQ("", s.Mid(1, 0));
    EXPECT_STREQ("abcdef", s.Mid(0, 0x7FFFFFFF));
    EXPECT_STREQ("ab", s.Left(2));
    EXPECT_STREQ("abcdef", s.Left(99));
    EXPECT_STREQ("", s.Left(-1));
    EXPECT_STREQ("ef", s.Right(2));
    EXPECT_STREQ("abcdef", s.Right(99));
    EXPECT_STREQ("", s.Right(-5));
}

TEST(CStringExtract, SpanIncludingAndExcluding) {
    CString s("123abc456");
    EXPECT_STREQ("123", s.SpanIncluding("0123456789"));
    EXPECT_STREQ("", s.SpanIncluding("abc"));
    EXPECT_STREQ("123", s.SpanExcluding("abc"));
    EXPECT_STREQ("123abc456", s.SpanExcluding("xyz"));
    EXPECT_STREQ("", s.SpanIncluding(nullptr));
}

TEST(CStringExtract, TokenizeWalksTheTokens) {
    CString s("  %one two;;three  ");
    int pos = 0;
    EXPECT_STREQ("%one", s.Tokenize(" ;", pos));
    EXPECT_STREQ("two", s.Tokenize(" ;", pos));
    EXPECT_STREQ("three", s.Tokenize(" ;", pos));
    EXPECT_STREQ("", s.Tokenize(" ;", pos));
    EXPECT_EQ(-1, pos);

    pos = 0;
    CString whole("abc");
    EXPECT_STREQ("abc", whole.Tokenize("", pos)); // no delimiters: the rest, once
    EXPECT_STREQ("", whole.Tokenize("", pos));
    EXPECT_EQ(-1, pos);
    pos = -1;
    EXPECT_TRUE(ThrowsInvalidArg([&] { whole.Tokenize(",", pos); }));
}

// ---- changes -----------------------------------------------------------------

TEST(CStringChange, CaseAndReverse) {
    CString s("Mixed Case 123 \xE9");
    s.MakeUpper();
    EXPECT_STREQ("MIXED CASE 123 \xE9", s);
    s.MakeLower();
    EXPECT_STREQ("mixed case 123 \xE9", s);
    EXPECT_STREQ("dcba", CString("abcd").MakeReverse());
    EXPECT_STREQ("", CString().MakeUpper().MakeReverse());
}

TEST(CStringChange, ReplaceRemoveInsertDelete) {
    CString s("a-b-c");
    EXPECT_EQ(2, s.Replace('-', '+'));
    EXPECT_STREQ("a+b+c", s);
    EXPECT_EQ(0, s.Replace('+', '+'));
    EXPECT_EQ(2, s.Replace("+", "--"));
    EXPECT_STREQ("a--b--c", s);
    EXPECT_EQ(2, s.Replace("--", nullptr));
    EXPECT_STREQ("abc", s);
    EXPECT_EQ(0, s.Replace("", "x"));
    EXPECT_EQ(2, CString("aaaa").Replace("aa", "a"));
    CString t("banana");
    EXPECT_EQ(3, t.Remove('a'));
    EXPECT_STREQ("bnn", t);
    EXPECT_EQ(4, t.Insert(1, 'a'));
    EXPECT_STREQ("bann", t);
    EXPECT_EQ(7, t.Insert(100, "ana"));
    EXPECT_STREQ("bannana", t);
    EXPECT_EQ(9, t.Insert(-4, "<>"));
    EXPECT_STREQ("<>bannana", t);
    EXPECT_EQ(7, t.Delete(0, 2));
    EXPECT_EQ(6, t.Delete(3));
    EXPECT_STREQ("banana", t);
    EXPECT_EQ(3, t.Delete(3, 100));
    EXPECT_EQ(3, t.Delete(5, 1));
    EXPECT_EQ(3, t.Delete(1, -1));
    EXPECT_STREQ("ban", t);
}

TEST(CStringChange, TrimFamily) {
    EXPECT_STREQ("x y", CString(" \t\r\nx y \v\f").Trim());
    EXPECT_STREQ("x y \n", CString("  x y \n").TrimLeft());
    EXPECT_STREQ("  x y", CString("  x y \n").TrimRight());
    EXPECT_STREQ("abc", CString("**abc**").Trim('*'));
    EXPECT_STREQ("abc**", CString("**abc**").TrimLeft('*'));
    EXPECT_STREQ("**abc", CString("**abc**").TrimRight('*'));
    EXPECT_STREQ("abc", CString("-+abc+-").Trim("+-"));
    EXPECT_STREQ("abc+-", CString("-+abc+-").TrimLeft("+-"));
    EXPECT_STREQ("-+abc", CString("-+abc+-").TrimRight("+-"));
    EXPECT_STREQ("", CString("   ").Trim());
    EXPECT_STREQ(" a ", CString(" a ").Trim(""));
}

TEST(CStringChange, Truncate) {
    CString s("abcdef");
    s.Truncate(3);
    EXPECT_STREQ("abc", s);
    EXPECT_TRUE(ThrowsInvalidArg([&] { s.Truncate(4); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { s.Truncate(-1); }));
    s.Truncate(0);
    EXPECT_TRUE(s.IsEmpty());
}

// ---- search --------------------------------------------------------------------

TEST(CStringSearch, FindReverseFindFindOneOf) {
    CString s("path\\to\\file.ext");
    EXPECT_EQ(4, s.Find('\\'));
    EXPECT_EQ(7, s.Find('\\', 5));
    EXPECT_EQ(-1, s.Find('\\', 8));
    EXPECT_EQ(-1, s.Find('\\', -1));
    EXPECT_EQ(-1, s.Find('\\', 100));
    EXPECT_EQ(5, s.Find("to"));
    EXPECT_EQ(-1, s.Find("to", 6));
    EXPECT_EQ(3, s.Find("", 3));
    EXPECT_EQ(-1, s.Find(static_cast<LPCSTR>(nullptr)));
    EXPECT_EQ(7, s.ReverseFind('\\'));
    EXPECT_EQ(-1, s.ReverseFind('#'));
    EXPECT_EQ(12, s.FindOneOf(".#"));
    EXPECT_EQ(-1, s.FindOneOf("#$"));
    EXPECT_EQ(-1, CString().Find('a'));
}

// ---- formatting ---------------------------------------------------------------

TEST(CStringFormat, FormatsExactly) {
    CString s;
    s.Format("%d-%s-%05.1f-%c-%x", 42, "str", 3.14159, 'z', 255u);
    EXPECT_STREQ("42-str-003.1-z-ff", s);
    EXPECT_EQ(17, s.GetLength());
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
    s.Format("100%%");
    EXPECT_STREQ("100%", s);
}

TEST(CStringFormat, LongResultsAndOwnTextAsArgument) {
    std::string big(10000, 'q');
    CString s;
    s.Format("<%s>", big.c_str());
    EXPECT_EQ(10002, s.GetLength());
    EXPECT_EQ('>', s[10001]);
    s.Format("[%s][%s]", static_cast<LPCSTR>(s), static_cast<LPCSTR>(s));
    EXPECT_EQ(2 * 10002 + 4, s.GetLength());
    CString t("abc");
    t.Format("%s%s", static_cast<LPCSTR>(t), static_cast<LPCSTR>(t));
    EXPECT_STREQ("abcabc", t);
}

TEST(CStringFormat, AppendFormat) {
    CString s("n=");
    s.AppendFormat("%d", 7);
    s.AppendFormat(", %s", "x");
    EXPECT_STREQ("n=7, x", s);
    s.AppendFormat("%s", static_cast<LPCSTR>(s));
    EXPECT_STREQ("n=7, xn=7, x", s);
}

namespace {
// Formats through "..." without the compile-time format check, as a caller of the
// framework's size prefixes would.
CString Fmt(const char* format, ...) {
    va_list args;
    va_start(args, format);
    CString s;
    s.FormatV(format, args);
    va_end(args);
    return s;
}
} // namespace

TEST(CStringFormat, FrameworkSizePrefixes) {
    EXPECT_STREQ("-1234567890123", Fmt("%I64d", -1234567890123LL));
    EXPECT_STREQ("18446744073709551615", Fmt("%I64u", ~0ULL));
    EXPECT_STREQ("7", Fmt("%I32d", 7));
    EXPECT_STREQ("   ff", Fmt("%5I64x", 255ULL));
    EXPECT_STREQ("123456789012", Fmt("%Iu", size_t(123456789012ULL)));
    EXPECT_STREQ("%I64d", Fmt("%%I64d"));
}

// wchar_t is 2 bytes here: wide text must not reach the C library's printf.
TEST(CStringFormat, WideTextInANarrowFormat) {
    EXPECT_STREQ("wide|ab   |c", Fmt("%ls|%-5S|%lc", L"wide", L"ab", L'c'));
}

TEST(CStringFormat, FormatMessageInsertsArguments) {
    CString s;
    s.FormatMessage("%1 has %2!d! items, %1!s!.", "List", 3);
    EXPECT_STREQ("List has 3 items, List.", s);
}

TEST(CStringFormat, NullFormatThrows) {
    CString s("keep");
    EXPECT_TRUE(ThrowsInvalidArg([&] { s = Fmt(nullptr); }));
    EXPECT_STREQ("keep", s);
}

// ---- buffer ------------------------------------------------------------------

TEST(CStringBuffer, GetBufferReleaseBuffer) {
    CString s("abc");
    char* p = s.GetBuffer(100);
    EXPECT_GE(s.GetAllocLength(), 100);
    EXPECT_STREQ("abc", p);
    std::strcpy(p, "a longer text");
    s.ReleaseBuffer();
    EXPECT_STREQ("a longer text", s);
    EXPECT_EQ(13, s.GetLength());
    p = s.GetBuffer();
    p[1] = '-';
    s.ReleaseBuffer(5);
    EXPECT_STREQ("a-lon", s);
}

TEST(CStringBuffer, GetBufferOfEmptyStringIsWritable) {
    CString s;
    char* p = s.GetBuffer();
    ASSERT_NE(nullptr, p);
    p[0] = '\0';
    s.ReleaseBuffer();
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_STREQ("", CString()); // the shared empty text is untouched
}

TEST(CStringBuffer, GetBufferSetLengthAndBadLengths) {
    CString s;
    char* p = s.GetBufferSetLength(4);
    std::memcpy(p, "wxyz", 4);
    EXPECT_EQ(4, s.GetLength());
    EXPECT_STREQ("wxyz", s);
    s.ReleaseBuffer(2);
    EXPECT_STREQ("wx", s);
    EXPECT_TRUE(ThrowsInvalidArg([&] { s.GetBuffer(-1); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { s.ReleaseBuffer(s.GetAllocLength() + 1); }));
    // ReleaseBuffer(-1) never reads past the allocation even without a NUL.
    p = s.GetBuffer(8);
    int alloc = s.GetAllocLength();
    std::memset(p, 'k', static_cast<size_t>(alloc));
    s.ReleaseBuffer();
    EXPECT_EQ(alloc, s.GetLength());
}

TEST(CStringBuffer, PreallocateAndFreeExtra) {
    CString s("ab");
    s.Preallocate(50);
    EXPECT_GE(s.GetAllocLength(), 50);
    EXPECT_STREQ("ab", s);
    s.FreeExtra();
    EXPECT_EQ(2, s.GetAllocLength());
    EXPECT_STREQ("ab", s);
    s.Empty();
    EXPECT_EQ(0, s.GetAllocLength());
}

// ---- resources and conversions -------------------------------------------------

TEST(CStringResource, MissingStringLeavesTextAndReturnsFalse) {
    CString s("keep");
    EXPECT_FALSE(s.LoadString(54321));
    EXPECT_STREQ("keep", s);
    CString fromId(MAKEINTRESOURCEA(54321)); // a resource id that does not exist
    EXPECT_TRUE(fromId.IsEmpty());
}

TEST(CStringResource, LoadsFromTheResourceHandle) {
    // user32 holds string resources of its own; load one through the handle.
    HMODULE user32 = GetModuleHandleA("user32.dll");
    ASSERT_NE(nullptr, user32);
    char expected[512] = "";
    UINT found = 0;
    for (UINT id = 1; id < 2000 && !found; ++id)
        if (LoadStringA(user32, id, expected, sizeof expected) > 0)
            found = id;
    ASSERT_NE(0u, found);
    EXPECT_EQ(GetModuleHandleA(nullptr), AfxGetResourceHandle());
    AfxSetResourceHandle(user32);
    CString s;
    EXPECT_TRUE(s.LoadString(found));
    EXPECT_STREQ(expected, s);
    CString t(MAKEINTRESOURCEA(found));
    EXPECT_STREQ(expected, t);
    AfxSetResourceHandle(nullptr);
    EXPECT_EQ(GetModuleHandleA(nullptr), AfxGetResourceHandle());
    CString u;
    EXPECT_TRUE(u.LoadString(user32, found));
    EXPECT_STREQ(expected, u);
}

TEST(CStringConvert, AllocSysString) {
    BSTR b = CString("wide text").AllocSysString();
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(9u, SysStringLen(b));
    EXPECT_EQ(0, lstrcmpW(b, L"wide text"));
    SysFreeString(b);
    BSTR e = CString().AllocSysString();
    ASSERT_NE(nullptr, e);
    EXPECT_EQ(0u, SysStringLen(e));
    SysFreeString(e);
}
