// Tests of the hot-list store: what it does differently from the shortcut
// store (file, element, default groups, HasChildGroups), call links that
// round-trip, and the two stores side by side.
#include "native/gtest.h"

#include "HotLists.h"
#include "ShortCuts.h"
#include "StoreTestFolders.h"
#include "tests/support/AnsweringApp.h"

#include <windows.h>

#include <string>
#include <vector>

// Answers the message box that tells of an unreadable file, and keeps it.
CAnsweringApp theApp;

namespace {

typedef CHotLists::HOTLISTENTRY Entry;

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n";

std::string Stored(CTreeStore* store, int id) {
    CTreeStore::ENTRY e;
    if (!store->GetEntryCopy(id, e))
        return "missing";
    return std::to_string(e.ID) + "," + std::to_string(e.ParentID) + ",[" + std::string(e.Name) +
           "],[" + std::string(e.Target) + "]," + std::to_string(e.IsGroup);
}

class HotListsTest : public ::testing::Test {
protected:
    HotListsTest() : m_folders("ZMHotLists") { theApp.m_prompts.clear(); }
    ~HotListsTest() override {
        delete CHotLists::GetInstance();
        delete CShortCuts::GetInstance();
    }

    static std::string File() { return CStoreTestFolders::File("hotlist.xml"); }

    static CHotLists* Loaded() {
        delete CHotLists::GetInstance();
        CHotLists* store = CHotLists::GetInstance();
        store->Load();
        return store;
    }

    CStoreTestFolders m_folders;
};

TEST_F(HotListsTest, AMissingFileGivesTheFiveDefaultGroups) {
    CHotLists* store = Loaded();
    EXPECT_TRUE(theApp.m_prompts.empty());
    ASSERT_EQ(5, store->GetCount());
    const char* expected[] = {
        "0,-1,[Links to Recordings...],[],1",
        "1,0,[Important Calls],[],1",
        "2,0,[Won Sales],[],1",
        "3,0,[Lost Sales],[],1",
        "4,0,[Personal],[],1",
    };
    for (int id = 0; id < 5; ++id)
        EXPECT_EQ(expected[id], Stored(store, id));
    // The hot lists below the root, in the order they are offered.
    std::vector<int> lists;
    for (Entry* e = store->FindFirst(0, CHotLists::FIND_BY_PARENT); e;
         e = store->FindNext(0, CHotLists::FIND_BY_PARENT))
        lists.push_back(e->ID);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), lists);
    EXPECT_EQ(5, store->GetNextID());
}

TEST_F(HotListsTest, HasChildGroupsLooksAtGroupsOnly) {
    CHotLists* store = CHotLists::GetInstance();
    const Entry records[] = {
        {0, -1, "Links to Recordings...", "", 1},
        {1, 0, "Important Calls", "", 1},
        {2, 1, "call.zel", "C:\\Rec\\call.zel", 0},
        {3, 0, "Won Sales", "", 1},
        {4, 3, "Quarter", "", 1},
    };
    for (const Entry& e : records)
        ASSERT_TRUE(store->AddEntry(e));
    struct Case {
        int id;
        BOOL children;
        BOOL childGroups;
    };
    const Case cases[] = {{0, TRUE, TRUE},   {1, TRUE, FALSE},  {3, TRUE, TRUE},
                          {4, FALSE, FALSE}, {2, FALSE, FALSE}, {-1, TRUE, TRUE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(c.children, store->HasChildren(c.id));
        EXPECT_EQ(c.childGroups, store->HasChildGroups(c.id));
    }
}

// A call link as the player adds it: "%s.zel" name, the recording's full path.
TEST_F(HotListsTest, CallLinksAreWrittenAsHotlistElementsAndReadBack) {
    CHotLists* store = Loaded();
    Entry link = {store->GetNextID(), 1, "Caf\xe9 & <Bar>.zel",
                  "D:\\Sales & Support\\Caf\xe9 & <Bar>.zel", 0};
    ASSERT_TRUE(store->AddEntry(link));
    ASSERT_TRUE(store->Save());

    const std::string bytes = ReadWholeFile(File());
    EXPECT_EQ(0u, bytes.find(kDeclaration)) << bytes;
    EXPECT_NE(std::string::npos, bytes.find("<hotlist ID=\"5\">")) << bytes;
    EXPECT_EQ(std::string::npos, bytes.find("<shortcut")) << bytes;
    EXPECT_FALSE(FileExists(CStoreTestFolders::File("shortcut.xml")));

    store = Loaded();
    EXPECT_EQ(6, store->GetCount());
    EXPECT_EQ("5,1,[Caf\xe9 & <Bar>.zel],[D:\\Sales & Support\\Caf\xe9 & <Bar>.zel],0",
              Stored(store, 5));
    EXPECT_TRUE(theApp.m_prompts.empty());
}

// Each store reads only its own element name, whichever file it meets.
TEST_F(HotListsTest, EachStoreReadsOnlyItsOwnElements) {
    const std::string mixed = std::string(kDeclaration) +
                              "<profile version=\"1\">\r\r\n"
                              "<shortcut ID=\"1\"><Name>folder</Name></shortcut>\r\r\n"
                              "<hotlist ID=\"2\"><Name>call</Name></hotlist>\r\r\n</profile>\r\r\n";
    ASSERT_TRUE(WriteWholeFile(File(), mixed));
    ASSERT_TRUE(WriteWholeFile(CStoreTestFolders::File("shortcut.xml"), mixed));
    CHotLists* hotLists = Loaded();
    CShortCuts* shortCuts = CShortCuts::GetInstance();
    shortCuts->Load();
    EXPECT_EQ(1, hotLists->GetCount());
    EXPECT_EQ("2,0,[call],[],0", Stored(hotLists, 2));
    EXPECT_EQ(1, shortCuts->GetCount());
    EXPECT_EQ("1,0,[folder],[],0", Stored(shortCuts, 1));

    // Saved one after the other through the one XML document, each keeps to
    // its file.
    ASSERT_TRUE(hotLists->Save());
    ASSERT_TRUE(shortCuts->Save());
    EXPECT_EQ("2,0,[call],[],0", Stored(Loaded(), 2));
    delete shortCuts;
    shortCuts = CShortCuts::GetInstance();
    shortCuts->Load();
    EXPECT_EQ("1,0,[folder],[],0", Stored(shortCuts, 1));
}

TEST_F(HotListsTest, AnUnreadableFileIsMovedAsideWithTheDefaultsInItsPlace) {
    const std::string broken = "<profile><hotlist ID=\"7\"><Name>Lost</Name></hot";
    ASSERT_TRUE(WriteWholeFile(File(), broken));
    CHotLists* store = Loaded();
    EXPECT_EQ(5, store->GetCount());
    std::vector<std::string> names = CStoreTestFolders::Names();
    ASSERT_EQ(1u, names.size());
    ASSERT_TRUE(IsUnreadableBackupOf(names[0], "hotlist.xml")) << names[0];
    EXPECT_EQ(broken, ReadWholeFile(CStoreTestFolders::Folder() + names[0]));
    ASSERT_EQ(1u, theApp.m_prompts.size());
    EXPECT_NE(std::string::npos, theApp.m_prompts[0].find("Calls for Review"))
        << theApp.m_prompts[0];
    EXPECT_NE(std::string::npos, theApp.m_prompts[0].find(names[0])) << theApp.m_prompts[0];
}

TEST_F(HotListsTest, AnEmptyStoreHandsOutZeroAndIsNotSaved) {
    const std::string content = std::string(kDeclaration) + "<profile version=\"1\"></profile>";
    ASSERT_TRUE(WriteWholeFile(File(), content));
    CHotLists* store = Loaded();
    EXPECT_EQ(0, store->GetCount());
    // The first record an adder makes is 0 at the top level, never its own
    // parent -1.
    EXPECT_EQ(0, store->GetNextID());
    EXPECT_FALSE(store->Save());
    EXPECT_EQ(content, ReadWholeFile(File()));
}

} // namespace
