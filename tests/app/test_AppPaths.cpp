// Tests of the application's path functions: the program's folder, the folder
// of the score files and the paths of "questions.xml" and "scoreforms.xml" for
// every storage mode, including a custom folder given without its trailing
// separator and a score-forms file that an earlier version kept at the path
// without one.
#include "native/gtest.h"

#include "AppPaths.h"

#include "tests/app/StoreTestFolders.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/TempFolder.h"

#include "Common/Settings.h"

#include <string>

namespace {

CAnsweringApp theApp;

class AppPathsTest : public ::testing::Test {
protected:
    void TearDown() override { CSettings::DeleteInstance(); }

    static void SetScoreLocation(int mode, const std::string& folder) {
        LocationSetting location;
        location.Mode = mode;
        location.Folder = folder.c_str();
        CSettings::GetInstance()->SetCallScoreLocation(location);
    }
    static void SetFormLocation(int mode, const std::string& folder) {
        LocationSetting location;
        location.Mode = mode;
        location.Folder = folder.c_str();
        CSettings::GetInstance()->SetCallScoreFormLocation(location);
    }
    static std::string ConfigFolder(BOOL allUsers) {
        return std::string(CSettings::GetConfigFilePath(allUsers, ""));
    }

    CStoreTestFolders m_folders{"AppPaths"};
};

TEST_F(AppPathsTest, TheModuleDirectoryIsTheProgramsFolderWithoutItsSeparator) {
    char program[MAX_PATH] = "";
    ASSERT_NE(0u, ::GetModuleFileNameA(nullptr, program, MAX_PATH));
    std::string expected = program;
    expected = expected.substr(0, expected.rfind('\\'));
    const std::string directory(GetModuleDirectory());
    EXPECT_EQ(expected, directory);
    EXPECT_EQ(std::string::npos, directory.find('/'));
    EXPECT_NE('\\', directory.back());
}

TEST_F(AppPathsTest, TheScoreFolderFollowsItsMode) {
    const std::string user = ConfigFolder(FALSE);
    const std::string all = ConfigFolder(TRUE);
    ASSERT_NE(user, all);
    struct Case {
        int mode;
        std::string custom;
        std::string folder;
    } cases[] = {{0, "D:\\Scores", user},
                 {1, "D:\\Scores", all},
                 {2, "D:\\Scores", "D:\\Scores"}, // exactly as stored
                 {2, "D:\\Scores\\", "D:\\Scores\\"},
                 {7, "D:\\Scores", all}};
    for (const Case& c : cases) {
        SetScoreLocation(c.mode, c.custom);
        EXPECT_EQ(c.folder, std::string(GetCallScoresFolder())) << c.mode << " " << c.custom;
    }
    EXPECT_EQ(all + "questions.xml", std::string(GetQuestionsFilePath()));
}

TEST_F(AppPathsTest, TheScoreFormsFileGetsItsSeparator) {
    const std::string user = ConfigFolder(FALSE);
    const std::string all = ConfigFolder(TRUE);
    struct Case {
        int mode;
        std::string custom;
        std::string path;
    } cases[] = {{0, "", user + "scoreforms.xml"},
                 {1, "D:\\Scores", all + "scoreforms.xml"},
                 {-3, "D:\\Scores", all + "scoreforms.xml"},
                 {2, "D:\\Scores\\", "D:\\Scores\\scoreforms.xml"},
                 {2, "D:\\Scores", "D:\\Scores\\scoreforms.xml"},
                 {2, "D:\\Scores/", "D:\\Scores/scoreforms.xml"}};
    for (const Case& c : cases) {
        SetFormLocation(c.mode, c.custom);
        EXPECT_EQ(c.path, std::string(GetScoreFormsFilePath())) << c.mode << " " << c.custom;
    }
}

TEST_F(AppPathsTest, AScoreFormsFileAtTheOldJoinedPathIsStillUsed) {
    CTempFolder temp;
    const std::string custom = temp.File("Scores");
    ::CreateDirectoryA(custom.c_str(), nullptr);
    const std::string proper = custom + "\\scoreforms.xml";
    const std::string joined = custom + "scoreforms.xml";
    SetFormLocation(2, custom);
    struct Case {
        bool properExists;
        bool joinedExists;
        std::string path;
    } cases[] = {
        {false, false, proper}, {false, true, joined}, {true, true, proper}, {true, false, proper}};
    for (const Case& c : cases) {
        ::DeleteFileA(proper.c_str());
        ::DeleteFileA(joined.c_str());
        if (c.properExists) {
            ASSERT_TRUE(WriteWholeFile(proper, "<root/>"));
        }
        if (c.joinedExists) {
            ASSERT_TRUE(WriteWholeFile(joined, "<root/>"));
        }
        EXPECT_EQ(c.path, std::string(GetScoreFormsFilePath()))
            << c.properExists << " " << c.joinedExists;
    }
    ::DeleteFileA(proper.c_str());
    ::DeleteFileA(joined.c_str());
}

} // namespace
