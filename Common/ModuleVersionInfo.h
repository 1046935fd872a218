// ModuleVersionInfo.h: CModuleVersionInfo, the version resource of one module
// file as the crash report lists it.
//
// Init loads the resource and reads the fixed part and three texts of its first
// translation; whatever is missing stays empty or zero. The getters copy into
// a caller buffer and cut a text that does not fit.
#pragma once

#include <windows.h>

class CModuleVersionInfo {
public:
    enum { PATH_LENGTH = 520, TEXT_LENGTH = 520 };

    CModuleVersionInfo();
    ~CModuleVersionInfo();
    CModuleVersionInfo(const CModuleVersionInfo&) = delete;
    CModuleVersionInfo& operator=(const CModuleVersionInfo&) = delete;

    // False when the file has no readable version resource; the record is then
    // cleared except for the path.
    bool Init(LPCSTR path);
    void Release();

    void GetCompanyName(LPSTR buffer, int size) const;
    void GetProductName(LPSTR buffer, int size) const;
    void GetFileDescription(LPSTR buffer, int size) const;
    // Major, minor, build, revision.
    void GetFileVersion(WORD version[4]) const;
    void GetProductVersion(WORD version[4]) const;

    DWORD GetFileFlags() const { return m_fileFlags; }
    DWORD GetFileOS() const { return m_fileOS; }
    DWORD GetFileType() const { return m_fileType; }
    DWORD GetFileSubtype() const { return m_fileSubtype; }

private:
    void ReadString(WORD language, WORD codePage, LPCSTR name, LPSTR value);

    char m_path[PATH_LENGTH];
    BYTE* m_resource; // owns the loaded resource, one zero byte past its end; null when none
    WORD m_fileVersion[4];
    WORD m_productVersion[4];
    DWORD m_fileFlags;
    DWORD m_fileOS;
    DWORD m_fileType;
    DWORD m_fileSubtype;
    char m_companyName[TEXT_LENGTH];
    char m_productName[TEXT_LENGTH];
    char m_fileDescription[TEXT_LENGTH];
};
