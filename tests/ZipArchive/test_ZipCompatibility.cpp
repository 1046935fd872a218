// Tests of the host-system tables: supported ids, attribute conversions between
// hosts (error 119 for a host without a converter), the Unix mode conversions
// and the code pages of names, comments and passwords.
#include "native/gtest.h"

#include "ZipCompatibility.h"
#include "ZipException.h"

#include <windows.h>

namespace {

using namespace ZipCompatibility;

TEST(ZipCompatibilityTest, SupportedPlatforms) {
    for (int iCode = 0; iCode < 40; iCode++) {
        bool bExpected = iCode == 0 || iCode == 3 || iCode == 6 || iCode == 7 || iCode == 11 ||
                         iCode == 15 || iCode == 20;
        EXPECT_EQ(IsPlatformSupported(iCode), bExpected) << iCode;
    }
    EXPECT_EQ(kSystemCompatibility, 0);
    EXPECT_FALSE(kSystemIsCaseSensitive);
}

TEST(ZipCompatibilityTest, UnixModeToDosAttributes) {
    struct Case {
        DWORD uMode;
        DWORD uAttr;
    } const kCases[] = {
        {0100644, 0x20},         // rw-r--r-- file: archive
        {0100664, 0x20},         // the mode that a 0x20 file gets
        {0100755, 0x00},         // owner-executable: no archive bit
        {0100444, 0x21},         // no owner write: read-only
        {0100200, 0x22},         // no owner read: hidden
        {0100000, 0x23},         // nothing for the owner
        {0040755, 0x10},         // directory
        {0040555, 0x11},         // read-only directory
        {0040775 & ~0400, 0x12}, // directory the owner cannot read
        {0120777, 0x00},         // symbolic link, owner-executable
    };
    for (const Case& c : kCases)
        EXPECT_EQ(AttrUnixToDos(c.uMode), c.uAttr) << std::oct << c.uMode;
}

TEST(ZipCompatibilityTest, DosAttributesToUnixMode) {
    struct Case {
        DWORD uAttr;
        DWORD uMode;
    } const kCases[] = {
        {0x20, 0x81B4},                 // 0100664
        {0x00, 0x81B4}, {0x10, 0x41FD}, // 040775
        {0x01, 0x8124},                 // 0100444
        {0x02, 0x8090},                 // 0100220
        {0x03, 0x8000}, {0x11, 0x416D}, // 040555
        {0x13, 0x4049},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(AttrDosToUnix(c.uAttr), c.uMode) << std::hex << c.uAttr;
}

TEST(ZipCompatibilityTest, ConvertToSystemTable) {
    struct Case {
        DWORD uAttr;
        int iFrom;
        int iTo;
        DWORD uExpected;
    } const kCases[] = {
        {0x27, zcDosFat, zcDosFat, 0x27},
        {0x27, zcDosFat, zcOs2Hpfs, 0x27},
        {0x20, zcDosFat, zcUnix, 0x81B4},
        {0x10, zcDosFat, zcUnix, 0x41FD},
        {0100644, zcUnix, zcDosFat, 0x20},
        {040755, zcUnix, zcDosFat, 0x10},
        {0100644, zcUnix, zcUnix, 0100644},
        {0x37, zcDosFat, zcMacintosh, 0x11},
        {0x37, zcMacintosh, zcDosFat, 0x11},
        {040755, zcUnix, zcMacintosh, 0x10},
        // Ids 11 and above pass through whatever the other side.
        {0x1234, zcNtfs, zcDosFat, 0x1234},
        {0x1234, zcDosFat, zcOsX, 0x1234},
        {0x1234, zcOs400, zcUnix, 0x1234},
        {0x1234, 12, 1, 0x1234},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(ConvertToSystem(c.uAttr, c.iFrom, c.iTo), c.uExpected)
            << c.iFrom << " -> " << c.iTo;
}

TEST(ZipCompatibilityTest, AHostWithoutAConverterRaises119) {
    struct Case {
        int iFrom;
        int iTo;
    } const kCases[] = {{1, 0}, {0, 2}, {3, 5}, {10, 0}, {0, 8}, {4, 9}};
    for (const Case& c : kCases) {
        int iCause = 0;
        try {
            ConvertToSystem(0x20, c.iFrom, c.iTo);
        } catch (CZipException* e) {
            iCause = e->m_iCause;
            e->Delete();
        }
        EXPECT_EQ(iCause, CZipException::platfNotSupp) << c.iFrom << " -> " << c.iTo;
    }
    // The same unsupported id on both sides needs no converter.
    EXPECT_EQ(ConvertToSystem(0x20, 5, 5), 0x20u);
}

TEST(ZipCompatibilityTest, CodePagesOfEachHost) {
    struct Case {
        int iPlatform;
        UINT uName;
        UINT uComment;
        UINT uPassword;
    } const kCases[] = {
        {zcDosFat, CP_OEMCP, CP_ACP, CP_ACP}, {zcUnix, CP_UTF8, CP_UTF8, CP_UTF8},
        {zcOs2Hpfs, CP_ACP, CP_ACP, CP_ACP},  {zcMacintosh, CP_UTF8, CP_UTF8, CP_UTF8},
        {zcNtfs, CP_OEMCP, CP_ACP, CP_ACP},   {zcOs400, CP_ACP, CP_ACP, CP_ACP},
        {zcOsX, CP_UTF8, CP_UTF8, CP_UTF8},   {1, CP_ACP, CP_ACP, CP_ACP},
        {19, CP_ACP, CP_ACP, CP_ACP},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(GetDefaultNameCodePage(c.iPlatform), c.uName) << c.iPlatform;
        EXPECT_EQ(GetDefaultCommentCodePage(c.iPlatform), c.uComment) << c.iPlatform;
        EXPECT_EQ(GetDefaultPasswordCodePage(c.iPlatform), c.uPassword) << c.iPlatform;
    }
}

} // namespace
