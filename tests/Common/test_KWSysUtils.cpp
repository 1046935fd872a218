#include "native/gtest.h"

#include "Common/KWSysUtils.h"
#include "Common/TraceLog.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <string>

namespace {

std::string Environment(const char* name) {
    char value[MAX_PATH] = "";
    DWORD length = GetEnvironmentVariableA(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? value : "";
}

bool IsDirectory(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Gives the instance a company name of its own (tests run in parallel in one
// Wine prefix) and removes that company's folders under both bases afterwards.
class KWSysUtilsTest : public ::testing::Test {
protected:
    KWSysUtilsTest()
        : m_utils(CKWSysUtils::GetInstance()), m_userBase(Environment("APPDATA")),
          m_commonBase(Environment("ProgramData")) {
        static LONG counter = 0;
        char company[64];
        wsprintfA(company, "ZMTest-%lx-%ld-%lx", GetCurrentProcessId(),
                  InterlockedIncrement(&counter), GetTickCount());
        m_company = company;
        m_utils->SetNames(m_company.c_str(), "Zel Moxel");
    }
    ~KWSysUtilsTest() override {
        for (const std::string& company : {m_company, m_company + "-B"}) {
            RemoveFolderTree(m_userBase + "\\" + company);
            RemoveFolderTree(m_commonBase + "\\" + company);
        }
        delete CKWSysUtils::GetInstance();
    }

    CKWSysUtils* m_utils;
    std::string m_company;
    const std::string m_userBase;
    const std::string m_commonBase;
};

TEST_F(KWSysUtilsTest, BaseFoldersAreTheShellsApplicationDataFolders) {
    ASSERT_FALSE(m_userBase.empty());
    ASSERT_FALSE(m_commonBase.empty());
    CKWString folder;
    ASSERT_TRUE(m_utils->GetSpecialFolder(CKWSysUtils::FOLDER_USER_APPDATA, folder));
    EXPECT_EQ(0, lstrcmpiA(m_userBase.c_str(), folder));
    ASSERT_TRUE(m_utils->GetSpecialFolder(CKWSysUtils::FOLDER_COMMON_APPDATA, folder));
    EXPECT_EQ(0, lstrcmpiA(m_commonBase.c_str(), folder));

    for (int kind : {-1, 2, 0x1a}) {
        CKWString unchanged("unchanged");
        EXPECT_FALSE(m_utils->GetSpecialFolder(kind, unchanged)) << kind;
        EXPECT_STREQ("unchanged", unchanged);
    }
}

TEST_F(KWSysUtilsTest, FoldersAreBuiltFromTheNamesAndCreated) {
    struct Case {
        const char* product;
        const char* productLevel;
    };
    const Case cases[] = {{"Zel Moxel", "\\Zel Moxel"}, {"", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.product);
        m_utils->SetNames(m_company.c_str(), c.product);
        const std::string stem = "\\" + m_company + c.productLevel;
        const std::string userConfiguration = m_userBase + stem + "\\Configuration\\";
        const std::string commonConfiguration = m_commonBase + stem + "\\Configuration\\";
        const std::string log = m_commonBase + stem + "\\Log\\";

        EXPECT_EQ(0, lstrcmpiA(userConfiguration.c_str(), m_utils->GetConfigurationFolder(false)));
        EXPECT_EQ(0, lstrcmpiA(commonConfiguration.c_str(), m_utils->GetConfigurationFolder(true)));
        EXPECT_EQ(0, lstrcmpiA(log.c_str(), m_utils->GetLogFolder()));
        EXPECT_TRUE(IsDirectory(userConfiguration));
        EXPECT_TRUE(IsDirectory(commonConfiguration));
        EXPECT_TRUE(IsDirectory(log));

        char buffer[MAX_PATH];
        ASSERT_TRUE(m_utils->CopyConfigurationFolder(buffer, MAX_PATH, true));
        EXPECT_EQ(0, lstrcmpiA(commonConfiguration.c_str(), buffer));
        ASSERT_TRUE(m_utils->CopyLogFolder(buffer, MAX_PATH));
        EXPECT_EQ(0, lstrcmpiA(log.c_str(), buffer));
    }
}

TEST_F(KWSysUtilsTest, PathsAreNeverCached) {
    CKWString first = m_utils->GetConfigurationFolder(false);
    EXPECT_STREQ(first, m_utils->GetConfigurationFolder(false));

    const std::string other = m_company + "-B";
    m_utils->SetNames(other.c_str(), "Other");
    CKWString second = m_utils->GetConfigurationFolder(false);
    EXPECT_NE(std::string::npos, std::string(second).find("\\" + other + "\\Other\\"));

    // A folder removed between two requests comes back at the next one.
    RemoveFolderTree(m_userBase + "\\" + other);
    ASSERT_FALSE(IsDirectory(std::string(second)));
    EXPECT_STREQ(second, m_utils->GetConfigurationFolder(false));
    EXPECT_TRUE(IsDirectory(std::string(second)));

    // Names given with the request win over the instance's.
    CKWString shared = m_utils->GetConfigurationFolder(m_company.c_str(), "Shared", true);
    EXPECT_EQ(0, lstrcmpiA((m_commonBase + "\\" + m_company + "\\Shared\\Configuration\\").c_str(),
                           shared));
}

TEST_F(KWSysUtilsTest, PlainFileInTheWayIsTracedAndThePathStillReturned) {
    CTempFolder logFolder;
    const std::string logPath = logFolder.File("trace.log");
    g_TraceLog.SetPath(logPath.c_str(), "");
    g_TraceLog.SetLevel(CTraceLog::LEVEL_ERRORS);

    const std::string parent = m_userBase + "\\" + m_company + "\\Zel Moxel";
    ASSERT_TRUE(CreateDirectoryA((m_userBase + "\\" + m_company).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(parent.c_str(), nullptr));
    const std::string blocker = parent + "\\Configuration";
    HANDLE file = CreateFileA(blocker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);

    EXPECT_EQ(0, lstrcmpiA((blocker + "\\").c_str(), m_utils->GetConfigurationFolder(false)));
    EXPECT_TRUE(FileExists(blocker));
    EXPECT_FALSE(IsDirectory(blocker));
    std::string log = ReadWholeFile(logPath);
    EXPECT_NE(std::string::npos, log.find("CKWSysUtils::BuildFolder: cannot create <" + blocker))
        << log;

    g_TraceLog.SetLevel(CTraceLog::LEVEL_OFF);
    g_TraceLog.SetPath("", "");
}

TEST_F(KWSysUtilsTest, NamesAndSenderSettingsAreCopiedWithinTheBuffers) {
    char company[64], product[64];
    m_utils->GetNames(company, sizeof company, product, sizeof product);
    EXPECT_EQ(m_company, company);
    EXPECT_STREQ("Zel Moxel", product);

    char shortCompany[4], shortProduct[4];
    m_utils->GetNames(shortCompany, sizeof shortCompany, shortProduct, sizeof shortProduct);
    EXPECT_STREQ("ZMT", shortCompany);
    EXPECT_STREQ("Zel", shortProduct);

    char server[8] = "x", port[8] = "x", user[8] = "x", password[8] = "x";
    m_utils->GetReportSenderSettings(server, port, user, password, 8);
    for (const char* text : {server, port, user, password})
        EXPECT_STREQ("", text);

    char tiny[8] = "x";
    EXPECT_FALSE(m_utils->CopyConfigurationFolder(tiny, sizeof tiny, false));
    EXPECT_STREQ("", tiny);
    EXPECT_FALSE(m_utils->CopyLogFolder(tiny, sizeof tiny));
    EXPECT_STREQ("", tiny);
}

TEST_F(KWSysUtilsTest, DeletedInstanceIsReplacedByAFreshOne) {
    delete m_utils;
    m_utils = CKWSysUtils::GetInstance();
    char company[64], product[64];
    m_utils->GetNames(company, sizeof company, product, sizeof product);
    EXPECT_STREQ("Brennix", company);
    EXPECT_STREQ("", product);
    EXPECT_EQ(m_utils, CKWSysUtils::GetInstance());
}

} // namespace
