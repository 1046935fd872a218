// Tests of CZipPathComponent: splitting paths, joining the parts again, the
// separator helpers and the choice of string comparison.
#include "native/gtest.h"

#include "ZipPathComponent.h"

#include <string>

namespace {

std::string S(const CString& text) {
    return (LPCSTR)text;
}

TEST(ZipPathComponentTest, SplitTable) {
    struct Case {
        const char* lpszPath;
        const char* lpszPrefix;
        const char* lpszDrive;
        const char* lpszFolder;
        const char* lpszTitle;
        const char* lpszExt;
        const char* lpszFolderPath;
        const char* lpszName;
        const char* lpszFullPath;
        const char* lpszWithoutDrive;
    } const kCases[] = {
        {"C:\\a\\b\\c.d.txt", "", "C:", "a\\b", "c.d", "txt", "C:\\a\\b", "c.d.txt",
         "C:\\a\\b\\c.d.txt", "a\\b\\c.d.txt"},
        {"\\\\?\\UNC\\server\\share\\x.zip", "\\\\?\\UNC\\", "", "server\\share", "x", "zip",
         "\\\\?\\UNC\\server\\share", "x.zip", "\\\\?\\UNC\\server\\share\\x.zip",
         "server\\share\\x.zip"},
        {"\\\\?\\C:\\calls\\a.zel", "\\\\?\\", "C:", "calls", "a", "zel", "\\\\?\\C:\\calls",
         "a.zel", "\\\\?\\C:\\calls\\a.zel", "calls\\a.zel"},
        {"\\\\server\\share\\y.zip", "\\\\", "", "server\\share", "y", "zip", "\\\\server\\share",
         "y.zip", "\\\\server\\share\\y.zip", "server\\share\\y.zip"},
        // Six characters of the long prefix match: neither 2, 4 nor 8, so no prefix.
        {"\\\\?\\unx\\f", "", "", "?\\unx", "f", "", "?\\unx", "f", "?\\unx\\f", "?\\unx\\f"},
        // No extension: no dot; leading dots are dropped from the extension.
        {"C:\\dir\\README", "", "C:", "dir", "README", "", "C:\\dir", "README", "C:\\dir\\README",
         "dir\\README"},
        {"C:\\dir\\name..ext", "", "C:", "dir", "name.", "ext", "C:\\dir", "name..ext",
         "C:\\dir\\name..ext", "dir\\name..ext"},
        // Only a drive: no name, and the full path is the folder path.
        {"D:", "", "D:", "", "", "", "D:", "", "D:", ""},
        {"D:\\", "", "D:", "", "", "", "D:", "", "D:", ""},
        // A bare name gets "." as its folder in the full path.
        {"a.zip", "", "", "", "a", "zip", "", "a.zip", ".\\a.zip", "a.zip"},
        // Forward slashes separate as well, and no separator survives at either end.
        {"C:/x/y/", "", "C:", "x/y", "", "", "C:\\x/y", "", "C:\\x/y", "x/y"},
        {"", "", "", "", "", "", "", "", "", ""},
    };
    for (const Case& c : kCases) {
        CZipPathComponent path(c.lpszPath);
        EXPECT_EQ(S(path.Prefix()), c.lpszPrefix) << c.lpszPath;
        EXPECT_EQ(S(path.Drive()), c.lpszDrive) << c.lpszPath;
        EXPECT_EQ(S(path.Folder()), c.lpszFolder) << c.lpszPath;
        EXPECT_EQ(S(path.Title()), c.lpszTitle) << c.lpszPath;
        EXPECT_EQ(S(path.Extension()), c.lpszExt) << c.lpszPath;
        EXPECT_EQ(S(path.FolderPath()), c.lpszFolderPath) << c.lpszPath;
        EXPECT_EQ(S(path.NameWithExtension()), c.lpszName) << c.lpszPath;
        EXPECT_EQ(S(path.FullPath()), c.lpszFullPath) << c.lpszPath;
        EXPECT_EQ(S(path.PathWithoutDrive()), c.lpszWithoutDrive) << c.lpszPath;
    }
}

TEST(ZipPathComponentTest, SplittingAgainForgetsThePreviousPathAndPartsCanBeChanged) {
    CZipPathComponent path("\\\\?\\UNC\\srv\\share\\old.txt");
    path.Split("C:\\new.zip");
    EXPECT_EQ(S(path.Prefix()), "");
    EXPECT_EQ(S(path.Folder()), "");
    EXPECT_EQ(S(path.FullPath()), "C:\\new.zip");

    path.SetExtension("..z01");
    EXPECT_EQ(S(path.Extension()), "z01");
    EXPECT_EQ(S(path.FullPath()), "C:\\new.z01");
    path.SetTitle("part");
    EXPECT_EQ(S(path.NameWithExtension()), "part.z01");
    path.SetExtension("");
    EXPECT_EQ(S(path.NameWithExtension()), "part");
}

TEST(ZipPathComponentTest, SeparatorHelpers) {
    struct Case {
        const char* lpszText;
        bool bEndsWithSeparator;
        const char* lpszTrimmedTrailing;
        const char* lpszTrimmedLeading;
        const char* lpszWithTrailing;
    } const kCases[] = {
        {"", false, "", "", "\\"},
        {"a", false, "a", "a", "a\\"},
        {"a\\", true, "a", "a\\", "a\\"},
        {"a/", true, "a", "a/", "a\\"},
        {"\\/a\\b/\\", true, "\\/a\\b", "a\\b/\\", "\\/a\\b\\"},
        {"/\\", true, "", "", "\\"},
    };
    for (const Case& c : kCases) {
        CString szText = c.lpszText;
        EXPECT_EQ(CZipPathComponent::EndsWithSeparator(szText), c.bEndsWithSeparator) << c.lpszText;
        CString szTrailing = szText;
        CZipPathComponent::TrimTrailingSeparators(szTrailing);
        EXPECT_EQ(S(szTrailing), c.lpszTrimmedTrailing) << c.lpszText;
        CString szLeading = szText;
        CZipPathComponent::TrimLeadingSeparators(szLeading);
        EXPECT_EQ(S(szLeading), c.lpszTrimmedLeading) << c.lpszText;
        CString szAdded = szText;
        CZipPathComponent::AddTrailingSeparator(szAdded);
        EXPECT_EQ(S(szAdded), c.lpszWithTrailing) << c.lpszText;
    }
    EXPECT_TRUE(CZipPathComponent::IsSeparatorChar('\\'));
    EXPECT_TRUE(CZipPathComponent::IsSeparatorChar('/'));
    EXPECT_FALSE(CZipPathComponent::IsSeparatorChar(':'));
}

TEST(ZipPathComponentTest, SelectCompareFunctionPicksTheFourComparisons) {
    struct Case {
        bool bCaseSensitive;
        bool bCollate;
        ZIPSTRINGCOMPARE pExpected;
    } const kCases[] = {
        {true, true, &CString::Collate},
        {false, true, &CString::CollateNoCase},
        {true, false, &CString::Compare},
        {false, false, &CString::CompareNoCase},
    };
    for (const Case& c : kCases) {
        ZIPSTRINGCOMPARE pCompare = SelectCompareFunction(c.bCaseSensitive, c.bCollate);
        EXPECT_TRUE(pCompare == c.pExpected) << c.bCaseSensitive << c.bCollate;
        // And they behave as asked: case matters only when case-sensitive.
        CString szName = "Calls.ZIP";
        EXPECT_EQ((szName.*pCompare)("calls.zip") == 0, !c.bCaseSensitive);
        EXPECT_EQ((szName.*pCompare)("Calls.ZIP"), 0);
    }
    // The default collates.
    EXPECT_TRUE(SelectCompareFunction(false) == &CString::CollateNoCase);
}

} // namespace
