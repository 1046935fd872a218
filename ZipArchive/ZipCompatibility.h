// ZipCompatibility.h: host systems of ZIP entries: their attribute forms and the
// code pages of names, comments and passwords.
#pragma once

#include "ZipAutoBuffer.h"
#include "framework/AfxString.h"

namespace ZipCompatibility {

enum ZipPlatforms {
    zcDosFat = 0,
    zcUnix = 3,
    zcOs2Hpfs = 6,
    zcMacintosh = 7,
    zcNtfs = 11,
    zcOs400 = 15,
    zcOsX = 20,
};

// The system's own host id (MS-DOS / FAT) and its name rule.
const int kSystemCompatibility = zcDosFat;
const bool kSystemIsCaseSensitive = false;

bool IsPlatformSupported(int iCode);
// Attributes from one host's form to another's; error 119 for a host without a
// converter (ids 11 and above pass through unchanged).
DWORD ConvertToSystem(DWORD uAttr, int iFromSystem, int iToSystem);
// Unix mode <-> MS-DOS attributes.
DWORD AttrUnixToDos(DWORD uMode);
DWORD AttrDosToUnix(DWORD uAttr);

UINT GetDefaultNameCodePage(int iPlatform);
UINT GetDefaultCommentCodePage(int iPlatform);
UINT GetDefaultPasswordCodePage(int iPlatform);

} // namespace ZipCompatibility
