#include "native/gtest.h"
#include "native/tinyxml.h"

#include "Common/KWSysUtils.h"
#include "Common/KWXMLSettings.h"
#include "Common/Settings.h"
#include "Common/TraceLog.h"
#include "framework/UnixPath.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

// Answers the message boxes that tell the user of an unreadable settings file.
CAnsweringApp theApp;

namespace {

const int kDefaultWidths[CSettings::COLUMN_COUNT] = {40,  25, 100, 100, 58, 130,
                                                     100, 40, 225, 58,  50, 50};

// A settings file whose "settings" section holds the given elements.
std::string SettingsXml(const std::string& elements) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<profile version=\"1\">\n"
           "<section name=\"settings\">" +
           elements + "</section>\n</profile>\n";
}

std::vector<int> Widths(CSettings* settings) {
    std::vector<int> widths;
    for (int i = 0; i < CSettings::COLUMN_COUNT; ++i)
        widths.push_back(settings->GetColumnWidth(i));
    return widths;
}

std::vector<int> DefaultWidths() {
    return std::vector<int>(kDefaultWidths, kDefaultWidths + CSettings::COLUMN_COUNT);
}

// The names in a folder (given with its trailing backslash), sorted.
std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
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

// The name a file moved aside at the given time gets.
std::string BackupName(const SYSTEMTIME& time) {
    char name[64];
    wsprintfA(name, "config.xml.unreadable-%04u%02u%02u-%02u%02u%02u", time.wYear, time.wMonth,
              time.wDay, time.wHour, time.wMinute, time.wSecond);
    return name;
}

bool IsBackupName(const std::string& name) {
    const std::string prefix = "config.xml.unreadable-";
    if (name.compare(0, prefix.size(), prefix) != 0 || name.size() < prefix.size() + 15)
        return false;
    const std::string stamp = name.substr(prefix.size(), 15);
    for (size_t i = 0; i < stamp.size(); ++i) {
        if (i == 8 ? stamp[i] != '-' : !isdigit(static_cast<unsigned char>(stamp[i])))
            return false;
    }
    return true;
}

// Gives every test folders of its own (tests run in parallel in one Wine
// prefix) by naming a company of its own, sends error traces to a private log,
// and removes the folders and the singletons afterwards.
class SettingsTest : public ::testing::Test {
protected:
    SettingsTest() : m_log(m_logFolder.File("trace.log")) {
        static LONG counter = 0;
        char company[64];
        wsprintfA(company, "ZMSettings-%lx-%ld-%lx", GetCurrentProcessId(),
                  InterlockedIncrement(&counter), GetTickCount());
        m_company = company;
        CSettings::SetFolderNamesOverride(company, "Zel Moxel", "Zel Config");
        g_TraceLog.SetPath(m_log.c_str(), "");
        g_TraceLog.SetLevel(CTraceLog::LEVEL_ERRORS);
        theApp.m_prompts.clear();
    }
    ~SettingsTest() override {
        g_TraceLog.SetLevel(CTraceLog::LEVEL_OFF);
        g_TraceLog.SetPath("", "");
        CSettings::DeleteInstance();
        CKWXMLSettings::DeleteInstance();
        CKWSysUtils* utils = CKWSysUtils::GetInstance();
        for (bool allUsers : {false, true}) {
            CKWString folder = utils->GetConfigurationFolder(m_company.c_str(), "", allUsers);
            std::string companyFolder(folder);
            companyFolder.resize(companyFolder.size() - strlen("Configuration\\"));
            RemoveFolderTree(companyFolder);
        }
        CSettings::SetFolderNamesOverride(nullptr, nullptr, nullptr);
    }

    static std::string OwnFile() {
        return std::string(CSettings::GetConfigFilePath(FALSE, "config.xml"));
    }
    static std::string OwnFolder() { return OwnFile().substr(0, OwnFile().rfind('\\') + 1); }

    // A fresh store, loaded.
    static CSettings* Loaded() {
        CSettings::DeleteInstance();
        CSettings* settings = CSettings::GetInstance();
        settings->Load();
        return settings;
    }

    CTempFolder m_logFolder;
    std::string m_log;
    std::string m_company;
};

TEST_F(SettingsTest, WithoutFilesTheDefaultsHold) {
    CSettings* settings = CSettings::GetInstance();
    settings->Load();
    EXPECT_EQ(DefaultWidths(), Widths(settings));
    EXPECT_TRUE(settings->GetShowHistory());
    EXPECT_FALSE(settings->GetSavePassphrase());
    EXPECT_STREQ("", settings->GetPassphrase());
    EXPECT_FALSE(settings->IsExportBlocked());
    EXPECT_FALSE(settings->IsDeleteDisabled());
    LocationSetting location;
    settings->GetCallScoreLocation(location);
    EXPECT_EQ(LocationSetting::MODE_ALL_USERS, location.Mode);
    EXPECT_STREQ("", location.Folder);
    settings->GetCallScoreFormLocation(location);
    EXPECT_EQ(LocationSetting::MODE_ALL_USERS, location.Mode);
    EXPECT_STREQ("", location.Folder);
    EXPECT_STREQ("", settings->LoadBranding());
}

TEST_F(SettingsTest, FoldersComeFromTheCompanyAndBothProductNames) {
    CKWSysUtils* utils = CKWSysUtils::GetInstance();
    struct Case {
        BOOL allUsers;
        bool shared;
        const char* product;
    };
    const Case cases[] = {{FALSE, false, "Zel Moxel"},
                          {TRUE, false, "Zel Moxel"},
                          {FALSE, true, "Zel Config"},
                          {TRUE, true, "Zel Config"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.product) + (c.allUsers ? " all users" : " per user"));
        CString path = c.shared ? CSettings::GetSharedConfigFilePath(c.allUsers, "x.xml")
                                : CSettings::GetConfigFilePath(c.allUsers, "x.xml");
        std::string folder(
            utils->GetConfigurationFolder(m_company.c_str(), c.product, c.allUsers != FALSE));
        EXPECT_EQ(folder + "x.xml", std::string(path));
        DWORD attributes = GetFileAttributesA(folder.c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES &&
                    (attributes & FILE_ATTRIBUTE_DIRECTORY));
    }
}

// Without the names in a string table (as in this program) the built-in names
// hold. Only the folders are made; nothing is written into them.
TEST_F(SettingsTest, WithoutAStringTableTheProductsOwnNamesHold) {
    CSettings::SetFolderNamesOverride(nullptr, nullptr, nullptr);
    CKWSysUtils* utils = CKWSysUtils::GetInstance();
    EXPECT_EQ(std::string(utils->GetConfigurationFolder("Brennix", "Zel Moxel", true)) + "a.xml",
              std::string(CSettings::GetConfigFilePath(TRUE, "a.xml")));
    EXPECT_EQ(std::string(utils->GetConfigurationFolder("Brennix", "Zel Moxel", false)) + "a.xml",
              std::string(CSettings::GetConfigFilePath(FALSE, "a.xml")));
    EXPECT_EQ(std::string(utils->GetConfigurationFolder("Brennix", "Zel Config", false)) + "a.xml",
              std::string(CSettings::GetSharedConfigFilePath(FALSE, "a.xml")));
}

TEST_F(SettingsTest, TheOwnFileIsReadIntoTheSettings) {
    struct Case {
        const char* name;
        std::string elements;
        std::vector<int> widths;
        BOOL showHistory;
        const char* passphrase;
        int formMode;
        const char* formFolder;
        int scoreMode;
        const char* scoreFolder;
    };
    std::vector<int> firstFive = DefaultWidths();
    for (int i = 0; i < 5; ++i)
        firstFive[i] = 10 + i;
    std::vector<int> firstThree = DefaultWidths();
    for (int i = 0; i < 3; ++i)
        firstThree[i] = 10 + i;
    std::vector<int> all;
    std::string allColumns;
    for (int i = 0; i < CSettings::COLUMN_COUNT; ++i) {
        all.push_back(200 + i);
        allColumns += "<Col" + std::to_string(i) + ">" + std::to_string(200 + i) + "</Col" +
                      std::to_string(i) + ">";
    }
    const std::string fullRest = "<ShowHistory>1</ShowHistory><SavePassphrase>1</SavePassphrase>"
                                 "<Passphrase>  open sesame </Passphrase>"
                                 "<callscoreformmode>2</callscoreformmode>"
                                 "<callscoreformlocation>C:\\forms</callscoreformlocation>"
                                 "<callscoremode>0</callscoremode>"
                                 "<callscorelocation>C:\\scores</callscorelocation>";
    const Case cases[] = {
        {"every setting", allColumns + fullRest, all, TRUE, "open sesame", 2, "C:\\forms", 0,
         "C:\\scores"},
        {"widths 0 to 4 only",
         "<Col0>10</Col0><Col1>11</Col1><Col2>12</Col2><Col3>13</Col3><Col4>14</Col4>", firstFive,
         FALSE, "", 0, "", 0, ""},
        {"an unreadable width ends the widths",
         "<Col0>10</Col0><Col1>11</Col1><Col2>12</Col2><Col3>abc</Col3><Col4>14</Col4>"
         "<ShowHistory>1</ShowHistory>",
         firstThree, TRUE, "", 0, "", 0, ""},
        {"a passphrase without SavePassphrase is dropped",
         "<SavePassphrase>0</SavePassphrase><Passphrase>secret</Passphrase>", DefaultWidths(),
         FALSE, "", 0, "", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteWholeFile(OwnFile(), SettingsXml(c.elements)));
        CSettings::DeleteInstance();
        CSettings* settings = CSettings::GetInstance();
        settings->SetPassphrase("before load");
        settings->Load();
        EXPECT_EQ(c.widths, Widths(settings));
        EXPECT_EQ(c.showHistory, settings->GetShowHistory());
        EXPECT_STREQ(c.passphrase, settings->GetPassphrase());
        LocationSetting location;
        settings->GetCallScoreFormLocation(location);
        EXPECT_EQ(c.formMode, location.Mode);
        EXPECT_STREQ(c.formFolder, location.Folder);
        settings->GetCallScoreLocation(location);
        EXPECT_EQ(c.scoreMode, location.Mode);
        EXPECT_STREQ(c.scoreFolder, location.Folder);
    }
}

TEST_F(SettingsTest, OnlyTheFirstSectionNamedSettingsCounts) {
    struct Case {
        const char* name;
        std::string content;
        BOOL showHistory;
    };
    const Case cases[] = {
        {"other sections first",
         "<profile><section name=\"Settings\"><ShowHistory>5</ShowHistory></section>"
         "<section><ShowHistory>6</ShowHistory></section>"
         "<section name=\"settings\"><ShowHistory>0</ShowHistory></section>"
         "<section name=\"settings\"><ShowHistory>7</ShowHistory></section></profile>",
         FALSE},
        {"no settings section", "<profile><section name=\"other\"/></profile>", TRUE},
        {"not XML", "<profile><section name=\"settings\"><ShowHistory>0</Show", TRUE},
        {"empty file", "", TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteWholeFile(OwnFile(), c.content));
        CSettings::DeleteInstance();
        CSettings* settings = CSettings::GetInstance();
        settings->Load();
        EXPECT_EQ(c.showHistory, settings->GetShowHistory());
        EXPECT_EQ(DefaultWidths(), Widths(settings));
    }
}

TEST_F(SettingsTest, GlobalSettingsChoosesTheSharedFile) {
    ASSERT_TRUE(WriteWholeFile(
        CSettings::GetSharedConfigFilePath(TRUE, "config.xml").GetString(),
        SettingsXml("<BlockExport>1</BlockExport><DisableDelete>0</DisableDelete>")));
    ASSERT_TRUE(WriteWholeFile(
        CSettings::GetSharedConfigFilePath(FALSE, "config.xml").GetString(),
        SettingsXml("<BlockExport>0</BlockExport><DisableDelete>1</DisableDelete>")));
    const std::string global = CSettings::GetConfigFilePath(TRUE, "global.xml").GetString();
    struct Case {
        const char* globalElements; // null: no global.xml
        bool allUsersFile;
    };
    const Case cases[] = {{"<GlobalSettings>1</GlobalSettings>", true},
                          {"<GlobalSettings>0</GlobalSettings>", false},
                          {"<GlobalSettings>2</GlobalSettings>", false},
                          {"<GlobalSettings>yes</GlobalSettings>", false},
                          {"", false},
                          {nullptr, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.globalElements ? c.globalElements : "no global.xml");
        if (c.globalElements)
            ASSERT_TRUE(WriteWholeFile(global, SettingsXml(c.globalElements)));
        else
            DeleteFileA(global.c_str());
        CSettings::DeleteInstance();
        CSettings* settings = CSettings::GetInstance();
        settings->Load();
        EXPECT_EQ(c.allUsersFile, settings->IsExportBlocked() != FALSE);
        EXPECT_EQ(!c.allUsersFile, settings->IsDeleteDisabled() != FALSE);
    }
}

TEST_F(SettingsTest, BrandingNamesTheResourceLibrary) {
    const std::string branding = CSettings::GetConfigFilePath(TRUE, "branding.xml").GetString();
    ASSERT_TRUE(WriteWholeFile(branding, SettingsXml("<ResourceFile>ZelRes.dll</ResourceFile>")));
    EXPECT_STREQ("ZelRes.dll", CSettings::GetInstance()->LoadBranding());
    ASSERT_TRUE(WriteWholeFile(branding, SettingsXml("<Other>x</Other>")));
    EXPECT_STREQ("", CSettings::GetInstance()->LoadBranding());
}

TEST_F(SettingsTest, AccessorsKeepToTheColumnsAndTrimThePassphrase) {
    CSettings* settings = CSettings::GetInstance();
    for (int index : {-1, static_cast<int>(CSettings::COLUMN_COUNT), 1000}) {
        settings->SetColumnWidth(index, 77);
        EXPECT_EQ(-1, settings->GetColumnWidth(index)) << index;
    }
    EXPECT_EQ(DefaultWidths(), Widths(settings));
    settings->SetColumnWidth(11, 77);
    EXPECT_EQ(77, settings->GetColumnWidth(11));

    settings->SetPassphrase(" \t two words \r\n");
    EXPECT_STREQ("two words", settings->GetPassphrase());
    LocationSetting custom = {LocationSetting::MODE_CUSTOM, "D:\\scores"};
    settings->SetCallScoreLocation(custom);
    custom.Folder = "changed after the call";
    LocationSetting read;
    settings->GetCallScoreLocation(read);
    EXPECT_EQ(LocationSetting::MODE_CUSTOM, read.Mode);
    EXPECT_STREQ("D:\\scores", read.Folder);
}

// Names and texts of the settings section's children, in file order.
std::vector<std::pair<std::string, std::string>> SavedSettings(const std::string& path,
                                                               std::string& header) {
    std::vector<std::pair<std::string, std::string>> items;
    TiXmlDocument document;
    std::string content = ReadWholeFile(path);
    document.Parse(content.c_str());
    EXPECT_FALSE(document.Error()) << content;
    TiXmlDeclaration* declaration =
        document.FirstChild() ? document.FirstChild()->ToDeclaration() : nullptr;
    TiXmlElement* root = document.RootElement();
    if (!declaration || !root)
        return items;
    TiXmlElement* section = root->FirstChildElement();
    header = std::string(declaration->Version()) + " " + declaration->Encoding() + " " +
             root->Value() + " " + (root->Attribute("version") ? root->Attribute("version") : "") +
             " " + (section ? section->Value() : "") + " " +
             (section && section->Attribute("name") ? section->Attribute("name") : "");
    for (TiXmlElement* e = section ? section->FirstChildElement() : nullptr; e;
         e = e->NextSiblingElement())
        items.emplace_back(e->Value(), e->GetText() ? e->GetText() : "");
    return items;
}

TEST_F(SettingsTest, SaveWritesEverySettingInOrderAndReadsBack) {
    for (BOOL savePassphrase : {TRUE, FALSE}) {
        SCOPED_TRACE(savePassphrase ? "passphrase saved" : "passphrase not saved");
        CSettings::DeleteInstance();
        CSettings* settings = CSettings::GetInstance();
        for (int i = 0; i < CSettings::COLUMN_COUNT; ++i)
            settings->SetColumnWidth(i, 300 + i);
        settings->SetShowHistory(FALSE);
        settings->SetSavePassphrase(savePassphrase);
        settings->SetPassphrase("a<b&c\xe9");
        settings->SetCallScoreFormLocation({LocationSetting::MODE_CUSTOM, "C:\\Donn\xe9"
                                                                          "es"});
        settings->SetCallScoreLocation({LocationSetting::MODE_USER, ""});
        ASSERT_TRUE(settings->Save());

        std::string header;
        auto items = SavedSettings(OwnFile(), header);
        EXPECT_EQ("1.0 UTF-8 profile 1 section settings", header);
        std::vector<std::pair<std::string, std::string>> expected;
        for (int i = 0; i < CSettings::COLUMN_COUNT; ++i)
            expected.emplace_back("Col" + std::to_string(i), std::to_string(300 + i));
        expected.insert(expected.end(), {{"ShowHistory", "0"},
                                         {"SavePassphrase", savePassphrase ? "1" : "0"},
                                         {"Passphrase", savePassphrase ? "a<b&c\xc3\xa9" : ""},
                                         {"callscoreformmode", "2"},
                                         {"callscoreformlocation", "C:\\Donn\xc3\xa9"
                                                                   "es"},
                                         {"callscoremode", "0"},
                                         {"callscorelocation", ""}});
        EXPECT_EQ(expected, items);

        CSettings::DeleteInstance();
        CSettings* reloaded = CSettings::GetInstance();
        reloaded->Load();
        for (int i = 0; i < CSettings::COLUMN_COUNT; ++i)
            EXPECT_EQ(300 + i, reloaded->GetColumnWidth(i));
        EXPECT_FALSE(reloaded->GetShowHistory());
        EXPECT_STREQ(savePassphrase ? "a<b&c\xe9" : "", reloaded->GetPassphrase());
        LocationSetting location;
        reloaded->GetCallScoreFormLocation(location);
        EXPECT_EQ(LocationSetting::MODE_CUSTOM, location.Mode);
        EXPECT_STREQ("C:\\Donn\xe9"
                     "es",
                     location.Folder);
        reloaded->GetCallScoreLocation(location);
        EXPECT_EQ(LocationSetting::MODE_USER, location.Mode);
    }
}

TEST_F(SettingsTest, TheSavedFileIsReadableByItsOwnerOnly) {
    std::string unixPath;
    ASSERT_TRUE(UnixPathFromWindows(OwnFile().c_str(), unixPath));
    // An older file made with the usual permissions is replaced, not rewritten in place.
    ASSERT_TRUE(WriteWholeFile(OwnFile(), SettingsXml("")));
    ASSERT_EQ(0, chmod(unixPath.c_str(), 0644));

    CSettings* settings = CSettings::GetInstance();
    settings->Load();
    settings->SetSavePassphrase(TRUE);
    settings->SetPassphrase("secret");
    ASSERT_TRUE(settings->Save());
    struct stat info;
    ASSERT_EQ(0, stat(unixPath.c_str(), &info));
    EXPECT_EQ(0600u, info.st_mode & 0777u);
    EXPECT_NE(std::string::npos, ReadWholeFile(OwnFile()).find("secret"));
}

// What cannot be read is renamed beside it, the user is told once, and the
// settings are saved again; a file that is no longer there is no reason to
// tell anything.
TEST_F(SettingsTest, AnUnreadableOwnFileIsKeptAsideAndSavingWorksAgain) {
    const std::string broken = "<profile><section name=\"settings\"><Col0>1</Col0>";
    for (bool folder : {false, true}) {
        SCOPED_TRACE(folder ? "a folder named config.xml" : "a file cut short");
        DeleteFileA(OwnFile().c_str());
        if (folder) {
            ASSERT_TRUE(CreateDirectoryA(OwnFile().c_str(), nullptr));
            ASSERT_TRUE(WriteWholeFile(OwnFile() + "\\inside.txt", "kept"));
        } else {
            ASSERT_TRUE(WriteWholeFile(OwnFile(), broken));
        }
        theApp.m_prompts.clear();
        CSettings* settings = Loaded();
        EXPECT_EQ(DefaultWidths(), Widths(settings));

        std::vector<std::string> names = FolderNames(OwnFolder());
        ASSERT_EQ(1u, names.size());
        EXPECT_TRUE(IsBackupName(names[0])) << names[0];
        const std::string backup = OwnFolder() + names[0];
        if (folder)
            EXPECT_EQ("kept", ReadWholeFile(backup + "\\inside.txt"));
        else
            EXPECT_EQ(broken, ReadWholeFile(backup));
        ASSERT_EQ(1u, theApp.m_prompts.size());
        EXPECT_NE(std::string::npos, theApp.m_prompts[0].find(backup)) << theApp.m_prompts[0];

        settings->SetColumnWidth(0, 99);
        EXPECT_TRUE(settings->Save());
        EXPECT_EQ(99, Loaded()->GetColumnWidth(0));
        EXPECT_EQ(1u, theApp.m_prompts.size());
        if (folder)
            RemoveFolderTree(backup);
        else
            DeleteFileA(backup.c_str());
    }
}

TEST_F(SettingsTest, EarlierBackupsAreNeverOverwritten) {
    // Backups named for this second and the next few, so that the one made now
    // meets a name that is taken whenever it is made.
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME time;
    ASSERT_TRUE(SystemTimeToFileTime(&now, &time));
    std::vector<std::string> earlier;
    for (int second = 0; second < 4; ++second) {
        ULARGE_INTEGER ticks = {{time.dwLowDateTime, time.dwHighDateTime}};
        ticks.QuadPart += second * 10000000ULL;
        FILETIME at = {ticks.LowPart, ticks.HighPart};
        SYSTEMTIME stamp;
        ASSERT_TRUE(FileTimeToSystemTime(&at, &stamp));
        earlier.push_back(BackupName(stamp));
        ASSERT_TRUE(WriteWholeFile(OwnFolder() + earlier.back(), "earlier " + earlier.back()));
    }
    const std::string broken = "<profile>";
    ASSERT_TRUE(WriteWholeFile(OwnFile(), broken));
    Loaded();
    for (const std::string& name : earlier)
        EXPECT_EQ("earlier " + name, ReadWholeFile(OwnFolder() + name));
    std::vector<std::string> made;
    for (const std::string& name : FolderNames(OwnFolder())) {
        if (ReadWholeFile(OwnFolder() + name) == broken)
            made.push_back(name);
    }
    ASSERT_EQ(1u, made.size());
    EXPECT_TRUE(IsBackupName(made[0])) << made[0];
    EXPECT_FALSE(FileExists(OwnFile()));
}

// A file of an earlier version with raw ANSI bytes, and an empty file, are read
// without a word to the user, and saved over at exit.
TEST_F(SettingsTest, AnsiAndEmptyOwnFilesAreRead) {
    struct Case {
        const char* name;
        std::string content;
        const char* folder;
    };
    const Case cases[] = {
        {"ANSI bytes",
         SettingsXml("<callscoremode>2</callscoremode>"
                     "<callscorelocation>C:\\Scores\\Jos\xe9</callscorelocation>"),
         "C:\\Scores\\Jos\xe9"},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteWholeFile(OwnFile(), c.content));
        CSettings* settings = Loaded();
        LocationSetting location;
        settings->GetCallScoreLocation(location);
        EXPECT_STREQ(c.folder, location.Folder);
        EXPECT_TRUE(theApp.m_prompts.empty());
        EXPECT_EQ(std::vector<std::string>{"config.xml"}, FolderNames(OwnFolder()));
        settings->SetShowHistory(FALSE);
        EXPECT_TRUE(settings->Save());
        settings = Loaded();
        EXPECT_FALSE(settings->GetShowHistory());
        settings->GetCallScoreLocation(location);
        EXPECT_STREQ(c.folder, location.Folder);
    }
}

// A passphrase is compared byte for byte when a recording opens, and a folder
// with two blanks is another folder than one with one.
TEST_F(SettingsTest, BlanksInsideTextsSurviveARestart) {
    CSettings* settings = CSettings::GetInstance();
    settings->SetSavePassphrase(TRUE);
    settings->SetPassphrase("my  pass word");
    settings->SetCallScoreLocation({LocationSetting::MODE_CUSTOM, "C:\\Scores\\Two  Blanks"});
    settings->SetCallScoreFormLocation({LocationSetting::MODE_CUSTOM, "C:\\Forms\\ Lead"});
    ASSERT_TRUE(settings->Save());
    settings = Loaded();
    EXPECT_STREQ("my  pass word", settings->GetPassphrase());
    LocationSetting location;
    settings->GetCallScoreLocation(location);
    EXPECT_STREQ("C:\\Scores\\Two  Blanks", location.Folder);
    settings->GetCallScoreFormLocation(location);
    EXPECT_STREQ("C:\\Forms\\ Lead", location.Folder);
}

TEST_F(SettingsTest, AFailedSaveIsTracedAndLeavesNothingBehind) {
    // A folder in the file's place makes the final rename fail.
    ASSERT_TRUE(CreateDirectoryA(OwnFile().c_str(), nullptr));
    EXPECT_FALSE(CSettings::GetInstance()->Save());
    EXPECT_NE(std::string::npos, ReadWholeFile(m_log).find("Failed to save the settings"));
    DWORD attributes = GetFileAttributesA(OwnFile().c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(std::vector<std::string>{"config.xml"}, FolderNames(OwnFolder()));
}

} // namespace
