#include "ModuleVersionInfo.h"

namespace {

void CopyText(LPSTR buffer, int size, LPCSTR text) {
    if (buffer && size > 0)
        lstrcpynA(buffer, text, size);
}

} // namespace

CModuleVersionInfo::CModuleVersionInfo() : m_resource(nullptr) {
    Release();
}

CModuleVersionInfo::~CModuleVersionInfo() {
    Release();
}

void CModuleVersionInfo::Release() {
    if (m_resource)
        HeapFree(GetProcessHeap(), 0, m_resource);
    m_resource = nullptr;
    m_path[0] = '\0';
    for (int i = 0; i < 4; ++i)
        m_fileVersion[i] = m_productVersion[i] = 0;
    m_fileFlags = m_fileOS = m_fileType = m_fileSubtype = 0;
    m_companyName[0] = m_productName[0] = m_fileDescription[0] = '\0';
}

bool CModuleVersionInfo::Init(LPCSTR path) {
    Release();
    if (!path || lstrlenA(path) >= PATH_LENGTH)
        return false; // a cut path would name another file
    lstrcpyA(m_path, path);

    DWORD unused = 0;
    DWORD size = GetFileVersionInfoSizeA(m_path, &unused);
    if (size == 0)
        return false;
    // One zero byte past the end, so that a text at the very end of a damaged
    // resource still ends inside the buffer.
    m_resource = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size + 1));
    if (!m_resource)
        return false;
    if (!GetFileVersionInfoA(m_path, 0, size, m_resource)) {
        HeapFree(GetProcessHeap(), 0, m_resource);
        m_resource = nullptr;
        return false;
    }

    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueA(m_resource, "\\", &value, &length) && value &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        const VS_FIXEDFILEINFO* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        m_fileVersion[0] = HIWORD(fixed->dwFileVersionMS);
        m_fileVersion[1] = LOWORD(fixed->dwFileVersionMS);
        m_fileVersion[2] = HIWORD(fixed->dwFileVersionLS);
        m_fileVersion[3] = LOWORD(fixed->dwFileVersionLS);
        m_productVersion[0] = HIWORD(fixed->dwProductVersionMS);
        m_productVersion[1] = LOWORD(fixed->dwProductVersionMS);
        m_productVersion[2] = HIWORD(fixed->dwProductVersionLS);
        m_productVersion[3] = LOWORD(fixed->dwProductVersionLS);
        m_fileFlags = fixed->dwFileFlags;
        m_fileOS = fixed->dwFileOS;
        m_fileType = fixed->dwFileType;
        m_fileSubtype = fixed->dwFileSubtype;
    }

    if (VerQueryValueA(m_resource, "\\VarFileInfo\\Translation", &value, &length) && value &&
        length >= 2 * sizeof(WORD)) {
        const WORD* translation = static_cast<const WORD*>(value);
        ReadString(translation[0], translation[1], "CompanyName", m_companyName);
        ReadString(translation[0], translation[1], "FileDescription", m_fileDescription);
        ReadString(translation[0], translation[1], "ProductName", m_productName);
    }
    return true;
}

// value holds TEXT_LENGTH characters; a missing string leaves it empty.
void CModuleVersionInfo::ReadString(WORD language, WORD codePage, LPCSTR name, LPSTR value) {
    char block[128];
    wsprintfA(block, "\\StringFileInfo\\%04x%04x\\%s", language, codePage, name);
    void* text = nullptr;
    UINT length = 0;
    if (VerQueryValueA(m_resource, block, &text, &length) && text && length > 0)
        lstrcpynA(value, static_cast<LPCSTR>(text), TEXT_LENGTH);
}

void CModuleVersionInfo::GetCompanyName(LPSTR buffer, int size) const {
    CopyText(buffer, size, m_companyName);
}

void CModuleVersionInfo::GetProductName(LPSTR buffer, int size) const {
    CopyText(buffer, size, m_productName);
}

void CModuleVersionInfo::GetFileDescription(LPSTR buffer, int size) const {
    CopyText(buffer, size, m_fileDescription);
}

void CModuleVersionInfo::GetFileVersion(WORD version[4]) const {
    for (int i = 0; i < 4; ++i)
        version[i] = m_fileVersion[i];
}

void CModuleVersionInfo::GetProductVersion(WORD version[4]) const {
    for (int i = 0; i < 4; ++i)
        version[i] = m_productVersion[i];
}
