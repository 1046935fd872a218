// ZipCompatibility.cpp: attribute conversions and code pages of the host systems.
#include "ZipCompatibility.h"

#include "ZipException.h"

namespace ZipCompatibility {

namespace {

// One host's attributes to the internal (MS-DOS) form, or back.
typedef DWORD (*ConvertFunc)(DWORD uAttr, bool bToInternal);

DWORD KeepUnchanged(DWORD uAttr, bool) {
    return uAttr;
}

DWORD ConvertUnix(DWORD uAttr, bool bToInternal) {
    return bToInternal ? AttrUnixToDos(uAttr) : AttrDosToUnix(uAttr);
}

// The classic Mac OS keeps only the directory and read-only bits.
DWORD ConvertMacintosh(DWORD uAttr, bool) {
    return uAttr & 0x11;
}

ConvertFunc ConverterOf(int iPlatform) {
    switch (iPlatform) {
    case zcDosFat:
    case zcOs2Hpfs:
        return KeepUnchanged;
    case zcUnix:
        return ConvertUnix;
    case zcMacintosh:
        return ConvertMacintosh;
    default:
        return nullptr;
    }
}

// Unix and Mac tools write text in UTF-8; everything else is taken as ANSI.
UINT TextCodePageOf(int iPlatform) {
    switch (iPlatform) {
    case zcUnix:
    case zcMacintosh:
    case zcOsX:
        return CP_UTF8;
    default:
        return CP_ACP;
    }
}

} // namespace

bool IsPlatformSupported(int iCode) {
    switch (iCode) {
    case zcDosFat:
    case zcUnix:
    case zcOs2Hpfs:
    case zcMacintosh:
    case zcNtfs:
    case zcOs400:
    case zcOsX:
        return true;
    default:
        return false;
    }
}

DWORD ConvertToSystem(DWORD uAttr, int iFromSystem, int iToSystem) {
    if (iFromSystem == iToSystem || iFromSystem >= zcNtfs || iToSystem >= zcNtfs)
        return uAttr;
    ConvertFunc pFrom = ConverterOf(iFromSystem);
    ConvertFunc pTo = ConverterOf(iToSystem);
    if (pFrom == nullptr || pTo == nullptr)
        CZipException::Raise(CZipException::platfNotSupp);
    return pTo(pFrom(uAttr, true), false);
}

DWORD AttrUnixToDos(DWORD uMode) {
    DWORD uAttr;
    if ((uMode & 0x4000) != 0)
        uAttr = 0x10;
    else if ((uMode & 0x40) != 0)
        uAttr = 0;
    else
        uAttr = 0x20;
    if ((uMode & 0x80) == 0)
        uAttr |= 0x01;
    if ((uMode & 0x100) == 0)
        uAttr |= 0x02;
    return uAttr;
}

DWORD AttrDosToUnix(DWORD uAttr) {
    DWORD uMode = (uAttr & 0x02) != 0 ? 0 : 0444;
    if ((uAttr & 0x01) == 0)
        uMode |= 0220;
    uMode |= (uAttr & 0x10) != 0 ? 0x4049 : 0x8000;
    return uMode;
}

UINT GetDefaultNameCodePage(int iPlatform) {
    if (iPlatform == zcDosFat || iPlatform == zcNtfs)
        return CP_OEMCP;
    return TextCodePageOf(iPlatform);
}

UINT GetDefaultCommentCodePage(int iPlatform) {
    return TextCodePageOf(iPlatform);
}

UINT GetDefaultPasswordCodePage(int iPlatform) {
    return TextCodePageOf(iPlatform);
}

} // namespace ZipCompatibility
