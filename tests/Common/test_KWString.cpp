#include "native/gtest.h"

#include "Common/KWString.h"

#include <windows.h>

#include <climits>
#include <cstdint>
#include <string>

namespace {

// The three integers that lie before the text of every string.
struct Header {
    int refs, length, alloc;
};

Header HeaderOf(const CKWString& s) {
    const int* p = reinterpret_cast<const int*>(static_cast<const char*>(s)) - 3;
    return {p[0], p[1], p[2]};
}

const char* SharedEmptyText() {
    return static_cast<const char*>(CKWString());
}

TEST(KWStringEmpty, AllEmptyStringsAreTheOneStaticBuffer) {
    CKWString byDefault, fromEmpty(""), fromNull(static_cast<const char*>(nullptr));
    const char* empty = SharedEmptyText();
    EXPECT_EQ(empty, static_cast<const char*>(byDefault));
    EXPECT_EQ(empty, static_cast<const char*>(fromEmpty));
    EXPECT_EQ(empty, static_cast<const char*>(fromNull));
    Header h = HeaderOf(byDefault);
    EXPECT_EQ(-1, h.refs);
    EXPECT_EQ(0, h.length);
    EXPECT_EQ(0, h.alloc);
    {
        CKWString copy(byDefault);
        CKWString assigned;
        assigned = fromNull;
        EXPECT_EQ(empty, static_cast<const char*>(copy));
        EXPECT_EQ(empty, static_cast<const char*>(assigned));
    }
    EXPECT_EQ(-1, HeaderOf(byDefault).refs); // copies and their destruction never count
    EXPECT_TRUE(fromEmpty.IsEmpty());
}

TEST(KWStringSharing, CopySharesUntilFirstWrite) {
    CKWString a("abc");
    CKWString b(a);
    EXPECT_EQ(static_cast<const char*>(a), static_cast<const char*>(b));
    EXPECT_EQ(2, HeaderOf(a).refs);

    b.SetAt(0, 'x');
    EXPECT_STREQ("xbc", b);
    EXPECT_STREQ("abc", a);
    EXPECT_NE(static_cast<const char*>(a), static_cast<const char*>(b));
    EXPECT_EQ(1, HeaderOf(a).refs);
    EXPECT_EQ(1, HeaderOf(b).refs);
    EXPECT_EQ(3, HeaderOf(b).alloc);
}

TEST(KWStringSharing, AssignmentSharesAndReleases) {
    CKWString a("first"), b("second");
    b = a;
    EXPECT_EQ(static_cast<const char*>(a), static_cast<const char*>(b));
    EXPECT_EQ(2, HeaderOf(a).refs);
    b = b; // self-assignment changes nothing
    EXPECT_EQ(2, HeaderOf(a).refs);
    a = "other";
    EXPECT_STREQ("first", b);
    EXPECT_STREQ("other", a);
    EXPECT_EQ(1, HeaderOf(b).refs);
}

TEST(KWStringAssign, EmptyTextKeepsAnOwnBufferButLeavesASharedOne) {
    CKWString owner("hello");
    const char* before = owner;
    owner = "";
    EXPECT_EQ(before, static_cast<const char*>(owner));
    EXPECT_EQ(0, owner.GetLength());
    EXPECT_EQ(5, owner.GetAllocLength());

    CKWString a("shared"), b(a);
    a = "";
    EXPECT_EQ(SharedEmptyText(), static_cast<const char*>(a));
    EXPECT_STREQ("shared", b);
    EXPECT_EQ(1, HeaderOf(b).refs);
}

TEST(KWStringAssign, TextFromInsideItsOwnBuffer) {
    CKWString s("abcdef");
    s = static_cast<const char*>(s) + 2;
    EXPECT_STREQ("cdef", s);
    EXPECT_EQ(4, s.GetLength());
}

TEST(KWStringAppend, ExactBuffersReallocateButSizedOnesGrowInPlace) {
    CKWString s("abc");
    const char* before = s;
    s += 'd';
    EXPECT_STREQ("abcd", s);
    EXPECT_NE(before, static_cast<const char*>(s));
    EXPECT_EQ(4, s.GetAllocLength());

    CKWString t("abc");
    t.GetBuffer(100);
    t.ReleaseBuffer(-1);
    const char* sized = t;
    t += "def";
    t += CKWString("g");
    EXPECT_EQ(sized, static_cast<const char*>(t));
    EXPECT_STREQ("abcdefg", t);
    EXPECT_EQ(100, t.GetAllocLength());
}

TEST(KWStringAppend, SharedBufferIsNotChangedAndSelfAppendWorks) {
    CKWString a("ab"), b(a);
    b += "cd";
    EXPECT_STREQ("ab", a);
    EXPECT_STREQ("abcd", b);

    CKWString self("xy");
    self += self;
    EXPECT_STREQ("xyxy", self);
    self.GetBuffer(20);
    self.ReleaseBuffer();
    self += self; // in place: source and target lie in one buffer
    EXPECT_STREQ("xyxyxyxy", self);
}

TEST(KWStringConcat, BuildsExactBuffers) {
    CKWString a("ab");
    CKWString r1 = a + "cd", r2 = "zz" + a, r3 = a + a;
    EXPECT_STREQ("abcd", r1);
    EXPECT_EQ(4, r1.GetAllocLength());
    EXPECT_STREQ("zzab", r2);
    EXPECT_STREQ("abab", r3);
    CKWString e1, e2;
    EXPECT_EQ(SharedEmptyText(), static_cast<const char*>(e1 + e2));
    EXPECT_EQ(SharedEmptyText(), static_cast<const char*>(e1 + ""));
}

TEST(KWStringAccess, IndexesOutOfRangeReadNulAndWriteNothing) {
    CKWString s("abc"), copy(s);
    EXPECT_EQ('b', s.GetAt(1));
    EXPECT_EQ(0, s.GetAt(-1));
    EXPECT_EQ(0, s.GetAt(3));
    s.SetAt(3, 'x');
    s.SetAt(-1, 'x');
    EXPECT_STREQ("abc", s);
    EXPECT_EQ(2, HeaderOf(s).refs); // a refused write does not unshare
}

TEST(KWStringCompare, OrderAndCaseFolding) {
    CKWString s("abc");
    EXPECT_EQ(0, s.Compare("abc"));
    EXPECT_LT(s.Compare("abd"), 0);
    EXPECT_GT(s.Compare("ABC"), 0); // upper case sorts before lower case
    EXPECT_GT(s.Compare(""), 0);
    EXPECT_EQ(0, s.CompareNoCase("AbC"));
    EXPECT_LT(s.CompareNoCase("ABD"), 0);
    EXPECT_LT(CKWString("_").CompareNoCase("A"), 0); // folded to lower case: "_" before letters
    EXPECT_GT(CKWString("\xe9").Compare("z"), 0);    // bytes compare unsigned

    EXPECT_TRUE(s == CKWString("abc"));
    EXPECT_TRUE(s == "abc");
    EXPECT_TRUE(s != CKWString("abd"));
    EXPECT_TRUE(CKWString("a") < CKWString("b"));
    EXPECT_TRUE(CKWString("b") > CKWString("a"));
    EXPECT_FALSE(CKWString("a") < CKWString("a"));
}

TEST(KWStringSearch, FindAndReverseFind) {
    CKWString s("a\\b\\c.txt");
    EXPECT_EQ(0, s.Find("a"));
    EXPECT_EQ(5, s.Find(".t"));
    EXPECT_EQ(-1, s.Find("zz"));
    EXPECT_EQ(0, s.Find(""));
    EXPECT_EQ(-1, s.Find(nullptr));
    EXPECT_EQ(3, s.ReverseFind('\\'));
    EXPECT_EQ(-1, s.ReverseFind('/'));
    EXPECT_EQ(-1, CKWString().Find("a"));
}

TEST(KWStringSubstrings, BoundsAreCutNotFailed) {
    struct Case {
        int first, count;
        const char* expected;
    } cases[] = {
        {0, 2, "ab"}, {1, 10, "bc"}, {10, 2, ""},         {-5, 2, "ab"},
        {3, 1, ""},   {1, -4, ""},   {0, INT_MAX, "abc"}, {INT_MAX, INT_MAX, ""},
    };
    CKWString s("abc");
    for (const Case& c : cases)
        EXPECT_STREQ(c.expected, s.Mid(c.first, c.count)) << c.first << "," << c.count;
    EXPECT_STREQ("bc", s.Mid(1));
    EXPECT_STREQ("abc", s.Mid(-5));
    EXPECT_STREQ("", s.Mid(7));
    EXPECT_STREQ("abc", s.Mid(INT_MIN));
    EXPECT_STREQ("ab", s.Left(2));
    EXPECT_STREQ("abc", s.Left(10));
    EXPECT_STREQ("abc", s.Left(static_cast<unsigned>(-1))); // a negative count is huge
    EXPECT_STREQ("bc", s.Right(2));
    EXPECT_STREQ("abc", s.Right(static_cast<unsigned>(-1)));
    EXPECT_EQ(SharedEmptyText(), static_cast<const char*>(s.Left(0)));
}

TEST(KWStringBuffer, GetBufferReleaseBuffer) {
    CKWString s("abc"), shared(s);
    char* text = s.GetBuffer(10);
    EXPECT_STREQ("abc", text);
    EXPECT_EQ(3, s.GetLength()); // the length is kept until the release
    EXPECT_EQ(10, s.GetAllocLength());
    strcpy(text, "0123456789");
    s.ReleaseBuffer();
    EXPECT_STREQ("0123456789", s);
    EXPECT_EQ(10, s.GetLength());
    EXPECT_STREQ("abc", shared);

    s.ReleaseBuffer(4);
    EXPECT_STREQ("0123", s);
    s.ReleaseBuffer(1000); // past the allocation: measured, not trusted
    EXPECT_EQ(4, s.GetLength());

    char* set = s.GetBufferSetLength(2);
    EXPECT_EQ(2, s.GetLength());
    EXPECT_EQ('\0', set[2]);

    CKWString empty;
    EXPECT_EQ(SharedEmptyText(), empty.GetBuffer(0));
    empty.ReleaseBuffer();
    EXPECT_EQ(SharedEmptyText(), empty.GetBufferSetLength(0));
    char* grown = empty.GetBuffer(5);
    strcpy(grown, "hey");
    empty.ReleaseBuffer();
    EXPECT_STREQ("hey", empty);
}

TEST(KWStringBuffer, ReleaseBufferUnsharesFirst) {
    CKWString a("abcdef");
    a.GetBuffer(0);
    CKWString b(a);
    a.ReleaseBuffer(2);
    EXPECT_STREQ("ab", a);
    EXPECT_STREQ("abcdef", b);
}

TEST(KWStringEmpty, EmptyReleasesOnlyNonEmptyStrings) {
    CKWString owner("abc");
    owner = "";
    const char* kept = owner;
    owner.Empty(); // already empty: left as it is
    EXPECT_EQ(kept, static_cast<const char*>(owner));
    CKWString full("abc");
    full.Empty();
    EXPECT_EQ(SharedEmptyText(), static_cast<const char*>(full));
}

TEST(KWStringFormat, AllocationFollowsTheEstimate) {
    CKWString s;
    s.Format("%d", 7);
    EXPECT_STREQ("7", s);
    EXPECT_EQ(1, s.GetLength());
    EXPECT_EQ(32, s.GetAllocLength());

    s.Format("%s %d", "ab", 5);
    EXPECT_STREQ("ab 5", s);
    EXPECT_EQ(4, s.GetLength());
    EXPECT_EQ(37, s.GetAllocLength());

    s.Format("Col%d", 11);
    EXPECT_STREQ("Col11", s);
    EXPECT_EQ(5 + 4 + 3 + 32, s.GetAllocLength()); // "Col%d", "ol%d", "l%d", then the field
}

TEST(KWStringFormat, ResultsLongerThanTheEstimateDoNotOverrun) {
    struct Case {
        const char* name;
        std::string expected;
        CKWString actual;
    };
    CKWString big, wide, llong, precise, self("self");
    big.Format("%f", 1e300);
    wide.Format("%300d|", 1);
    llong.Format("%lld %s", 1234567890123456789LL, "tail");
    precise.Format("%10.2s|", "abcdef");
    self.Format("%s-%s", static_cast<const char*>(self), static_cast<const char*>(self));

    char expectedBig[400];
    snprintf(expectedBig, sizeof expectedBig, "%f", 1e300);
    Case cases[] = {
        {"huge real", expectedBig, big},
        {"wide field", std::string(299, ' ') + "1|", wide},
        {"long long", "1234567890123456789 tail", llong},
        {"width over precision", "        ab|", precise},
        {"own text as argument", "self-self", self},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, std::string(c.actual)) << c.name;
        EXPECT_EQ(static_cast<int>(c.expected.size()), c.actual.GetLength()) << c.name;
        EXPECT_GE(c.actual.GetAllocLength(), c.actual.GetLength()) << c.name;
    }
}

TEST(KWStringFormat, OddFormatsStaySafe) {
    CKWString s;
    const char* volatile none = nullptr;
    s.Format("%s|%c|%%|%5.1f|%x", none, 'q', 2.25, 255);
    EXPECT_STREQ("(null)|q|%|  2.2|ff", s);
    s.Format("%*d|%-*s|", 4, 9, 3, "a");
    EXPECT_STREQ("   9|a  |", s);
    s.Format("%s", "");
    EXPECT_STREQ("", s);
    EXPECT_EQ(0, s.GetLength());
    std::string longFormat(3000, 'x'); // the estimate grows with the square of this
    s.Format("%s", longFormat.c_str());
    EXPECT_EQ(3000, s.GetLength());
}

CKWString FormatUnchecked(const char* format, ...) {
    va_list args;
    va_start(args, format);
    CKWString s;
    s.FormatV(format, args);
    va_end(args);
    return s;
}

// Windows' conversions (framework/PrintfFormat.h): the size scan must step over
// their arguments too, or the next string field reads an integer as a pointer.
TEST(KWStringFormat, WindowsConversions) {
    EXPECT_STREQ("5000000000 tail", FormatUnchecked("%I64d %s", 5000000000LL, "tail"));
    EXPECT_STREQ("7 tail", FormatUnchecked("%I32d %s", 7, "tail"));
    EXPECT_STREQ("-9 tail", FormatUnchecked("%Id %s", static_cast<intptr_t>(-9), "tail"));
    const CKWString wide = FormatUnchecked("%ls|%-5S|%C %s", L"wide", L"ab", L'c', "tail");
    EXPECT_STREQ("wide|ab   |c tail", wide);
    EXPECT_EQ(17, wide.GetLength());
}

TEST(KWStringErrors, ConstructionKeepsTheLastErrorCode) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    CKWString s("some text that needs a buffer");
    CKWString t("");
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
}

// Copies of one string made and dropped on many threads leave the count exact.
DWORD WINAPI CopyStorm(void* param) {
    const CKWString& source = *static_cast<const CKWString*>(param);
    for (int i = 0; i < 20000; ++i) {
        CKWString copy(source);
        CKWString assigned;
        assigned = copy;
        if (assigned.GetLength() != 6)
            return 1;
    }
    return 0;
}

TEST(KWStringThreads, CountsStayExactAcrossThreads) {
    CKWString source("shared");
    HANDLE threads[4];
    for (HANDLE& t : threads)
        t = CreateThread(nullptr, 0, CopyStorm, &source, 0, nullptr);
    WaitForMultipleObjects(4, threads, TRUE, INFINITE);
    for (HANDLE t : threads) {
        DWORD code = 99;
        GetExitCodeThread(t, &code);
        EXPECT_EQ(0u, code);
        CloseHandle(t);
    }
    EXPECT_EQ(1, HeaderOf(source).refs);
    EXPECT_STREQ("shared", source);
}

} // namespace
