// ZipSplitNamesHandler.h: how the volumes of a segmented archive are named.
// a.zip split: a.z01, a.z02, ... and the last volume a.zip; binary split:
// a.zip.001, a.zip.002, ...
#pragma once

#include "framework/AfxString.h"

class CZipSplitNamesHandler {
public:
    enum Flags { flLast = 0x01, flExisting = 0x02 };

    virtual void Prepare(LPCSTR lpszArchiveName);
    // uVolume counts from 1.
    virtual CString VolumeName(LPCSTR lpszArchiveName, DWORD uVolume, int iFlags) const = 0;
    // The 1-based volume number a path names; 0 when it names none.
    virtual DWORD VolumeNumber(LPCSTR lpszVolumePath) const;
    virtual ~CZipSplitNamesHandler() = default;
};

class CZipRegularSplitNamesHandler : public CZipSplitNamesHandler {
public:
    void Prepare(LPCSTR lpszArchiveName) override;
    CString VolumeName(LPCSTR lpszArchiveName, DWORD uVolume, int iFlags) const override;

private:
    CString m_szExt = "zip";
};

class CZipBinSplitNamesHandler : public CZipSplitNamesHandler {
public:
    CString VolumeName(LPCSTR lpszArchiveName, DWORD uVolume, int iFlags) const override;
    DWORD VolumeNumber(LPCSTR lpszVolumePath) const override;
};
