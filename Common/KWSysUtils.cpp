#include "KWSysUtils.h"

#include "TraceLog.h"

#include <shlobj.h>

#include <initializer_list>

CKWSysUtils* CKWSysUtils::s_instance = nullptr;

namespace {

bool CopyText(char* buffer, int size, const char* text) {
    if (!buffer || size <= 0)
        return false;
    lstrcpynA(buffer, text, size);
    return lstrlenA(text) < size;
}

bool IsDirectory(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

CKWSysUtils* CKWSysUtils::GetInstance() {
    if (!s_instance)
        s_instance = new CKWSysUtils;
    return s_instance;
}

CKWSysUtils::CKWSysUtils()
    : m_shell(LoadLibraryA("Shell32.dll")), m_getFolderPath(nullptr), m_createDirectory(nullptr),
      m_company("Brennix") {
    if (m_shell) {
        // Through void*, since FARPROC's own parameter list matches neither.
        m_getFolderPath = reinterpret_cast<GetFolderPathProc>(
            reinterpret_cast<void*>(GetProcAddress(m_shell, "SHGetFolderPathA")));
        m_createDirectory = reinterpret_cast<CreateDirectoryExProc>(
            reinterpret_cast<void*>(GetProcAddress(m_shell, "SHCreateDirectoryExA")));
    }
}

CKWSysUtils::~CKWSysUtils() {
    if (m_shell)
        FreeLibrary(m_shell);
    if (s_instance == this)
        s_instance = nullptr;
}

void CKWSysUtils::SetNames(const CKWString& company, const CKWString& product) {
    m_company = company;
    m_product = product;
}

void CKWSysUtils::GetNames(char* company, int companySize, char* product, int productSize) const {
    CopyText(company, companySize, m_company);
    CopyText(product, productSize, m_product);
}

void CKWSysUtils::GetReportSenderSettings(char* server, char* port, char* user, char* password,
                                          int size) const {
    for (char* buffer : {server, port, user, password})
        CopyText(buffer, size, "");
}

bool CKWSysUtils::GetSpecialFolder(int kind, CKWString& folder) const {
    int shellFolder;
    switch (kind) {
    case FOLDER_USER_APPDATA:
        shellFolder = CSIDL_APPDATA;
        break;
    case FOLDER_COMMON_APPDATA:
        shellFolder = CSIDL_COMMON_APPDATA;
        break;
    default:
        return false;
    }
    if (!m_getFolderPath)
        return false;
    char path[MAX_PATH];
    if (FAILED(m_getFolderPath(nullptr, shellFolder | CSIDL_FLAG_CREATE, nullptr,
                               SHGFP_TYPE_CURRENT, path)))
        return false;
    folder = path;
    return true;
}

CKWString CKWSysUtils::GetConfigurationFolder(const CKWString& company, const CKWString& product,
                                              bool allUsers) const {
    return BuildFolder(allUsers ? FOLDER_COMMON_APPDATA : FOLDER_USER_APPDATA, company, product,
                       "\\Configuration");
}

CKWString CKWSysUtils::GetConfigurationFolder(bool allUsers) const {
    return GetConfigurationFolder(m_company, m_product, allUsers);
}

CKWString CKWSysUtils::GetLogFolder() const {
    return BuildFolder(FOLDER_COMMON_APPDATA, m_company, m_product, "\\Log");
}

bool CKWSysUtils::CopyConfigurationFolder(char* buffer, int size, bool allUsers) const {
    if (CopyText(buffer, size, GetConfigurationFolder(allUsers)))
        return true;
    // A cut path names another folder; better none at all.
    CopyText(buffer, size, "");
    return false;
}

bool CKWSysUtils::CopyLogFolder(char* buffer, int size) const {
    if (CopyText(buffer, size, GetLogFolder()))
        return true;
    CopyText(buffer, size, "");
    return false;
}

// Never fails: a folder that cannot be created is traced, and the path is
// still returned, so the caller's later file open fails and reports instead.
CKWString CKWSysUtils::BuildFolder(int kind, const CKWString& company, const CKWString& product,
                                   const char* leaf) const {
    CKWString path;
    if (!GetSpecialFolder(kind, path)) {
        // Without a base the path would start at the root of the current
        // drive, which under Wine is often Z:, the Unix root, where a user
        // cannot write; the user's temporary folder can at least be written.
        char temp[MAX_PATH];
        DWORD length = GetTempPathA(MAX_PATH, temp);
        if (length > 0 && length < MAX_PATH && temp[length - 1] == '\\')
            temp[length - 1] = '\0';
        path = length > 0 && length < MAX_PATH ? temp : "";
        KWTRACE_ERROR(("CKWSysUtils::BuildFolder: no shell folder of kind %d, using <%s>\n", kind,
                       (const char*)path));
    }
    path += "\\";
    path += company;
    if (!product.IsEmpty()) {
        path += "\\";
        path += product;
    }
    path += leaf;
    if (!IsDirectory(path)) {
        int result = m_createDirectory ? m_createDirectory(nullptr, path, nullptr)
                                       : static_cast<int>(ERROR_PROC_NOT_FOUND);
        if (!IsDirectory(path))
            KWTRACE_ERROR(("CKWSysUtils::BuildFolder: cannot create <%s>, error %d\n",
                           (const char*)path, result));
    }
    path += "\\";
    return path;
}
