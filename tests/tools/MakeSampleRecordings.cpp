// MakeSampleRecordings: writes the sample recordings into a folder, for the
// start script and for anyone who wants calls to look at. With
// --first-run-profile, and only when the program has never run for this user,
// it also prepares the profile so that the first start shows the samples: the
// play history lists them and opens at start-up, and "My Shortcuts" holds the
// folder, from which a recording list is one click away.
//   make_sample_recordings <folder> [--first-run-profile]
#include "app/CallHistory.h"
#include "app/ShortCuts.h"
#include "app/resource.h"
#include "Common/KWSysUtils.h"
#include "Common/KWString.h"
#include "Common/Settings.h"
#include "tests/support/SampleRecordings.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

CString LoadText(UINT id) {
    CString text;
    text.LoadString(id);
    return text;
}

bool Exists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// False when the profile was left alone because the program has run before.
bool PrepareFirstRunProfile(const std::string& folder, const std::vector<SSampleRecording>& made) {
    CKWSysUtils::GetInstance()->SetNames(CKWString(LoadText(IDS_COMPANY)),
                                         CKWString(LoadText(IDS_PRODUCT)));
    CSettings* settings = CSettings::GetInstance();
    if (Exists(CSettings::GetConfigFilePath(0, "config.xml")) ||
        Exists(CCallHistory::GetInstance()->GetFilePath()))
        return false;
    settings->Load();
    settings->SetShowHistory(TRUE);
    settings->Save();
    for (const auto& sample : made)
        CCallHistory::GetInstance()->Add(sample.path.c_str());
    CCallHistory::GetInstance()->Save();

    CShortCuts* shortcuts = CShortCuts::GetInstance();
    shortcuts->Load();
    CShortCuts::SHORTCUTENTRY entry;
    entry.ID = shortcuts->GetNextID();
    entry.ParentID = 0; // the root group of the default tree
    entry.Name = "Sample recordings";
    entry.Target = folder.substr(0, folder.size() - 1).c_str();
    entry.IsGroup = 0;
    if (shortcuts->Contains(0))
        shortcuts->AddEntry(entry);
    shortcuts->Save();
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const bool profile = argc == 3 && strcmp(argv[2], "--first-run-profile") == 0;
    if (argc != 2 && !profile) {
        fprintf(stderr, "usage: make_sample_recordings <folder> [--first-run-profile]\n");
        return 2;
    }
    std::string folder = argv[1];
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    CreateDirectoryA(folder.c_str(), nullptr);
    const auto made = MakeSampleRecordings(folder);
    if (made.empty()) {
        fprintf(stderr, "make_sample_recordings: cannot write into %s\n", folder.c_str());
        return 1;
    }
    for (const auto& sample : made)
        printf("%s\n", sample.path.c_str());
    if (profile && PrepareFirstRunProfile(folder, made))
        printf("first-run profile prepared\n");
    return 0;
}
