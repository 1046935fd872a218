// TempFolder.h: CTempFolder, a private folder for one test, removed with its contents.
#pragma once

#include <string>

class CTempFolder {
public:
    CTempFolder();
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    // Windows path with a trailing backslash.
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + name; }

private:
    std::string m_path;
};

// Whole content of a file, or an empty string when it cannot be read.
std::string ReadWholeFile(const std::string& path);
// Writes the bytes as the whole file; false when it cannot be written.
bool WriteWholeFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// Deletes a folder with everything below it; with or without a trailing backslash.
void RemoveFolderTree(const std::string& folder);
