// StoreTestFolders.h: CStoreTestFolders, configuration folders of one test's
// own for the store tests (tests of one program run in parallel in one Wine
// prefix), and the small file helpers those tests share.
#pragma once

#include "Common/KWSysUtils.h"
#include "Common/KWXMLSettings.h"
#include "Common/Settings.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

class CStoreTestFolders {
public:
    // Names a company of the test's own, so that every configuration path of
    // CSettings leads into folders nobody else uses.
    explicit CStoreTestFolders(const char* prefix) {
        static LONG counter = 0;
        char company[64];
        wsprintfA(company, "%s-%lx-%ld-%lx", prefix, GetCurrentProcessId(),
                  InterlockedIncrement(&counter), GetTickCount());
        m_company = company;
        CSettings::SetFolderNamesOverride(company, "Zel Moxel", "Zel Config");
    }
    ~CStoreTestFolders() {
        CKWXMLSettings::DeleteInstance();
        CKWSysUtils* utils = CKWSysUtils::GetInstance();
        for (bool allUsers : {false, true}) {
            std::string folder(utils->GetConfigurationFolder(m_company.c_str(), "", allUsers));
            folder.resize(folder.size() - strlen("Configuration\\"));
            RemoveFolderTree(folder);
        }
        CSettings::SetFolderNamesOverride(nullptr, nullptr, nullptr);
    }
    CStoreTestFolders(const CStoreTestFolders&) = delete;
    CStoreTestFolders& operator=(const CStoreTestFolders&) = delete;

    // A file of the all-users configuration folder, where the stores live.
    static std::string File(const char* name) {
        return std::string(CSettings::GetConfigFilePath(TRUE, name));
    }
    static std::string Folder() {
        std::string path = File("x");
        return path.substr(0, path.size() - 1);
    }
    // The names in the all-users configuration folder, sorted.
    static std::vector<std::string> Names() {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((Folder() + "*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            if (strcmp(found.cFileName, ".") && strcmp(found.cFileName, ".."))
                names.push_back(found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string m_company;
};

// Whether the name is "<file>.unreadable-YYYYMMDD-HHMMSS", with or without a
// "-n" that keeps it from an earlier one.
inline bool IsUnreadableBackupOf(const std::string& name, const std::string& file) {
    const std::string prefix = file + ".unreadable-";
    if (name.compare(0, prefix.size(), prefix) != 0 || name.size() < prefix.size() + 15)
        return false;
    const std::string stamp = name.substr(prefix.size(), 15);
    for (size_t i = 0; i < stamp.size(); ++i) {
        if (i == 8 ? stamp[i] != '-' : !isdigit(static_cast<unsigned char>(stamp[i])))
            return false;
    }
    return true;
}

// The same text with every LF as the given line end.
inline std::string WithLineEnds(const std::string& text, const std::string& lineEnd) {
    std::string result;
    for (char c : text) {
        if (c == '\n')
            result += lineEnd;
        else
            result += c;
    }
    return result;
}
