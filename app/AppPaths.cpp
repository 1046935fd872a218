#include "AppPaths.h"

#include "Settings.h"
#include "TraceLog.h"

#include <windows.h>

namespace {

const char kQuestionsFile[] = "questions.xml";
const char kScoreFormsFile[] = "scoreforms.xml";

// The configuration folder of the location's mode, ending with a backslash;
// false for the custom mode, which each caller treats in its own way.
bool ConfigFolderOf(const LocationSetting& location, CKWString& folder) {
    if (location.Mode == LocationSetting::MODE_CUSTOM)
        return false;
    // Through the settings so that a test's own folder names apply here too.
    BOOL allUsers = location.Mode == LocationSetting::MODE_USER ? FALSE : TRUE;
    folder = CKWString(CSettings::GetConfigFilePath(allUsers, "").GetString());
    return true;
}

bool FileExists(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

CKWString GetModuleDirectory() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    // A full buffer means the path was cut: as unusable as no path at all.
    if (length == 0 || length >= MAX_PATH) {
        KWTRACE_ERROR(("GetModuleFileName failed (%d)\n", static_cast<int>(GetLastError())));
        return CKWString();
    }
    CKWString directory(path);
    for (int i = 0; i < directory.GetLength(); ++i) {
        if (directory.GetAt(i) == '/')
            directory.SetAt(i, '\\');
    }
    int last = directory.ReverseFind('\\');
    if (last < 0)
        return CKWString();
    return directory.Left(static_cast<unsigned>(last));
}

CKWString GetCallScoresFolder() {
    LocationSetting location;
    CSettings::GetInstance()->GetCallScoreLocation(location);
    CKWString folder;
    if (!ConfigFolderOf(location, folder))
        folder = CKWString(location.Folder.GetString());
    return folder;
}

CKWString GetQuestionsFilePath() {
    return CKWString(CSettings::GetConfigFilePath(TRUE, kQuestionsFile).GetString());
}

CKWString GetScoreFormsFilePath() {
    LocationSetting location;
    CSettings::GetInstance()->GetCallScoreFormLocation(location);
    CKWString folder;
    if (ConfigFolderOf(location, folder))
        return folder + kScoreFormsFile;

    CKWString custom(location.Folder.GetString());
    if (custom.IsEmpty())
        return CKWString(kScoreFormsFile);
    char last = custom.GetAt(custom.GetLength() - 1);
    if (last == '\\' || last == '/')
        return custom + kScoreFormsFile;
    CKWString path = custom + "\\" + kScoreFormsFile;
    CKWString joined = custom + kScoreFormsFile;
    if (!FileExists(path) && FileExists(joined))
        return joined;
    return path;
}
