// Tests of the call-score store: its default tree, the exact bytes of its
// file, texts that read back as written, tolerant reading of odd files, and
// files that hold nothing or cannot be read.
#include "native/gtest.h"

#include "CallScore.h"
#include "StoreTestFolders.h"
#include "tests/support/AnsweringApp.h"

#include <windows.h>

#include <string>
#include <vector>

// Answers the message box that tells of an unreadable file, and keeps it.
CAnsweringApp theApp;

namespace {

typedef CCallScore::CALLSCOREENTRY Entry;

const char kCrCrLf[] = "\r\r\n";

std::string Stored(CTreeStore* store, int id) {
    CTreeStore::ENTRY e;
    if (!store->GetEntryCopy(id, e))
        return "missing";
    return std::to_string(e.ID) + "," + std::to_string(e.ParentID) + ",[" + std::string(e.Name) +
           "],[" + std::string(e.Target) + "]," + std::to_string(e.IsGroup);
}

// Every record: parents' IDs ascending, the children of each in store order.
std::vector<std::string> AllStored(CCallScore* store) {
    std::vector<std::string> all;
    std::vector<int> ids;
    for (int key = -1000; key < 1000; ++key) {
        for (Entry* e = store->FindFirst(key, CCallScore::FIND_BY_PARENT); e;
             e = store->FindNext(key, CCallScore::FIND_BY_PARENT))
            ids.push_back(e->ID);
    }
    for (int id : ids)
        all.push_back(Stored(store, id));
    return all;
}

// The default tree's file, as the first save writes it.
const char kDefaultFile[] = "<?xml version=\"1.0\" standalone=\"yes\" ?>\n"
                            "<CallScoreData>\n"
                            "<CallScore>\n"
                            "   <ID>0</ID>\n"
                            "   <ParentID>-1</ParentID>\n"
                            "   <Name>Links to Scored Recordings...</Name>\n"
                            "   <Target></Target>\n"
                            "   <IsGroup>TRUE</IsGroup>\n"
                            "</CallScore>\n"
                            "<CallScore>\n"
                            "   <ID>1</ID>\n"
                            "   <ParentID>0</ParentID>\n"
                            "   <Name>Sample Sales Calls</Name>\n"
                            "   <Target></Target>\n"
                            "   <IsGroup>TRUE</IsGroup>\n"
                            "</CallScore>\n"
                            "<CallScore>\n"
                            "   <ID>2</ID>\n"
                            "   <ParentID>0</ParentID>\n"
                            "   <Name>Sample Customer Service</Name>\n"
                            "   <Target></Target>\n"
                            "   <IsGroup>TRUE</IsGroup>\n"
                            "</CallScore>\n"
                            "</CallScoreData>\n";

const std::vector<std::string> kDefaultRecords = {
    "0,-1,[Links to Scored Recordings...],[],1",
    "1,0,[Sample Sales Calls],[],1",
    "2,0,[Sample Customer Service],[],1",
};

class CallScoreTest : public ::testing::Test {
protected:
    CallScoreTest() : m_folders("ZMCallScore") { theApp.m_prompts.clear(); }
    ~CallScoreTest() override { delete CCallScore::GetInstance(); }

    static std::string File() { return CStoreTestFolders::File("CallScore.xml"); }

    static CCallScore* Loaded() {
        delete CCallScore::GetInstance();
        CCallScore* store = CCallScore::GetInstance();
        store->Load();
        return store;
    }

    CStoreTestFolders m_folders;
};

TEST_F(CallScoreTest, AMissingFileGivesTheDefaultTreeWhichTheFirstSaveWrites) {
    CCallScore* store = Loaded();
    EXPECT_TRUE(theApp.m_prompts.empty());
    EXPECT_EQ(kDefaultRecords, AllStored(store));
    EXPECT_EQ(3, store->GetNextID());
    EXPECT_FALSE(FileExists(File()));

    ASSERT_TRUE(store->Save());
    EXPECT_EQ(WithLineEnds(kDefaultFile, kCrCrLf), ReadWholeFile(File()));
    EXPECT_EQ(kDefaultRecords, AllStored(Loaded()));
}

// The links the call-score tree adds: form group, scorer group, a group made
// below it (2, read back as 1), and links whose texts carry markup, quotes,
// accents and line breaks.
TEST_F(CallScoreTest, RecordsAreWrittenByteForByteAndReadBackAsWritten) {
    CCallScore* store = CCallScore::GetInstance();
    const Entry records[] = {
        {0, -1, "Links to Scored Recordings...", "", 1},
        {3, 0, "Sales & <Support>", "", 1},
        {4, 3, "\"Jos\xe9\" O'Neil", "", 1},
        {7, 4, "Later", "", 2},
        {5, 4, "call & <1>.zel", "D:\\Sales & Support\\call & <1>.zel", 0},
        {6, 7, ">leading", "C:\\Rec\\>leading.zel", 0},
        {8, 7, "two\r\nlines", "C:\\Caf\xe9\\a\"b'.zel", 0},
    };
    for (const Entry& e : records)
        ASSERT_TRUE(store->AddEntry(e));
    ASSERT_TRUE(store->Save());

    const std::string expected =
        WithLineEnds("<?xml version=\"1.0\" standalone=\"yes\" ?>\n"
                     "<CallScoreData>\n"
                     "<CallScore>\n   <ID>0</ID>\n   <ParentID>-1</ParentID>\n"
                     "   <Name>Links to Scored Recordings...</Name>\n   <Target></Target>\n"
                     "   <IsGroup>TRUE</IsGroup>\n</CallScore>\n"
                     "<CallScore>\n   <ID>3</ID>\n   <ParentID>0</ParentID>\n"
                     "   <Name>Sales &amp; &lt;Support&gt;</Name>\n   <Target></Target>\n"
                     "   <IsGroup>TRUE</IsGroup>\n</CallScore>\n"
                     "<CallScore>\n   <ID>4</ID>\n   <ParentID>3</ParentID>\n"
                     "   <Name>\"Jos\xe9\" O'Neil</Name>\n   <Target></Target>\n"
                     "   <IsGroup>TRUE</IsGroup>\n</CallScore>\n"
                     "<CallScore>\n   <ID>7</ID>\n   <ParentID>4</ParentID>\n"
                     "   <Name>Later</Name>\n   <Target></Target>\n"
                     "   <IsGroup>TRUE</IsGroup>\n</CallScore>\n"
                     "<CallScore>\n   <ID>5</ID>\n   <ParentID>4</ParentID>\n"
                     "   <Name>call &amp; &lt;1&gt;.zel</Name>\n"
                     "   <Target>D:\\Sales &amp; Support\\call &amp; &lt;1&gt;.zel</Target>\n"
                     "   <IsGroup>FALSE</IsGroup>\n</CallScore>\n"
                     "<CallScore>\n   <ID>6</ID>\n   <ParentID>7</ParentID>\n"
                     "   <Name>&gt;leading</Name>\n   <Target>C:\\Rec\\&gt;leading.zel</Target>\n"
                     "   <IsGroup>FALSE</IsGroup>\n</CallScore>\n"
                     "<CallScore>\n   <ID>8</ID>\n   <ParentID>7</ParentID>\n"
                     "   <Name>two&#13;&#10;lines</Name>\n"
                     "   <Target>C:\\Caf\xe9\\a\"b'.zel</Target>\n"
                     "   <IsGroup>FALSE</IsGroup>\n</CallScore>\n"
                     "</CallScoreData>\n",
                     kCrCrLf);
    EXPECT_EQ(expected, ReadWholeFile(File()));

    store = Loaded();
    EXPECT_TRUE(theApp.m_prompts.empty());
    ASSERT_EQ(7, store->GetCount());
    for (const Entry& e : records) {
        Entry read;
        ASSERT_TRUE(store->GetEntryCopy(e.ID, read)) << e.ID;
        EXPECT_EQ(e.ParentID, read.ParentID) << e.ID;
        EXPECT_STREQ(e.Name, read.Name) << e.ID;
        EXPECT_STREQ(e.Target, read.Target) << e.ID;
        EXPECT_EQ(e.IsGroup ? 1 : 0, read.IsGroup) << e.ID;
    }
    // Store order is file order.
    EXPECT_EQ(6, store->FindFirst(7, CCallScore::FIND_BY_PARENT)->ID);
    EXPECT_EQ(8, store->FindNext(7, CCallScore::FIND_BY_PARENT)->ID);
    // A second round leaves the file as it was.
    ASSERT_TRUE(store->Save());
    EXPECT_EQ(expected, ReadWholeFile(File()));
}

// Files written by hand or by other versions: what is a node and what is not.
TEST_F(CallScoreTest, OddButWellFormedFilesLoadWhatTheyCan) {
    struct Case {
        const char* name;
        const char* content;
        std::vector<std::string> records;
    };
    const Case cases[] = {
        {"IsGroup texts", // only TRUE in any case makes a group
         "<CallScoreData>"
         "<CallScore><ID>1</ID><ParentID>-1</ParentID><IsGroup>true</IsGroup></CallScore>"
         "<CallScore><ID>2</ID><ParentID>1</ParentID><IsGroup>yes</IsGroup></CallScore>"
         "<CallScore><ID>3</ID><ParentID>1</ParentID><IsGroup>1</IsGroup></CallScore>"
         "</CallScoreData>",
         {"1,-1,[],[],1", "2,1,[],[],0", "3,1,[],[],0"}},
        {"no IsGroup, no node",
         "<CallScoreData>"
         "<CallScore><ID>1</ID><ParentID>-1</ParentID><Name>kept</Name><IsGroup>TRUE</IsGroup>"
         "</CallScore>"
         "<CallScore><ID>2</ID><ParentID>1</ParentID><Name>lost</Name></CallScore>"
         "<CallScore><ID>3</ID><ParentID>1</ParentID><IsGroup></IsGroup></CallScore>"
         "</CallScoreData>",
         {"1,-1,[kept],[],1"}},
        {"the first of one ID wins",
         "<CallScoreData>"
         "<CallScore><ID>4</ID><ParentID>-1</ParentID><Name>first</Name><IsGroup>TRUE</IsGroup>"
         "</CallScore>"
         "<CallScore><ID>4</ID><ParentID>-1</ParentID><Name>second</Name><IsGroup>TRUE</IsGroup>"
         "</CallScore>"
         "</CallScoreData>",
         {"4,-1,[first],[],1"}},
        {"nested, any case, other elements and comments skipped",
         "<?xml version=\"1.0\"?>\n<Data><!-- kept --><Old><callscore><id>1</id>"
         "<parentid>-1</parentid><name>deep</name><isgroup>TRUE</isgroup></callscore></Old>"
         "<Other><ID>9</ID><IsGroup>TRUE</IsGroup></Other>"
         "<CALLSCORE><ID>2</ID><ParentID>1</ParentID><Target>C:\\a.zel</Target>"
         "<IsGroup>FALSE</IsGroup></CALLSCORE></Data>",
         {"1,-1,[deep],[],1", "2,1,[],[C:\\a.zel],0"}},
        {"numbers as atoi reads them, missing ones -1",
         "<CallScoreData>"
         "<CallScore><ID> 12abc</ID><IsGroup>TRUE</IsGroup></CallScore>"
         "<CallScore><ID>13</ID><ParentID>x</ParentID><IsGroup>TRUE</IsGroup></CallScore>"
         "</CallScoreData>",
         {"12,-1,[],[],1", "13,0,[],[],1"}},
        // A node without an ID or parent would be its own parent -1: a tree
        // filling its children would never end.
        {"a node that is its own parent is skipped",
         "<CallScoreData>"
         "<CallScore><Name>nobody</Name><IsGroup>TRUE</IsGroup></CallScore>"
         "<CallScore><ID>5</ID><ParentID>5</ParentID><IsGroup>TRUE</IsGroup></CallScore>"
         "<CallScore><ID>6</ID><ParentID>-1</ParentID><IsGroup>TRUE</IsGroup></CallScore>"
         "</CallScoreData>",
         {"6,-1,[],[],1"}},
        {"LF line ends and CDATA",
         "<CallScoreData>\n<CallScore>\n <ID>1</ID>\n <ParentID>-1</ParentID>\n"
         " <Name><![CDATA[a & b]]></Name>\n <IsGroup>TRUE</IsGroup>\n</CallScore>\n"
         "</CallScoreData>\n",
         {"1,-1,[a & b],[],1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteWholeFile(File(), c.content));
        CCallScore* store = Loaded();
        EXPECT_EQ(c.records, AllStored(store));
        EXPECT_EQ(static_cast<int>(c.records.size()), store->GetCount());
        EXPECT_TRUE(theApp.m_prompts.empty());
        EXPECT_EQ(std::vector<std::string>{"CallScore.xml"}, CStoreTestFolders::Names());
    }
}

// Files that hold no node give the default tree with its root, where the
// scored calls go; only a file that may hold the user's links is kept aside,
// and the user told.
TEST_F(CallScoreTest, FilesWithoutNodesGiveTheDefaultTree) {
    struct Case {
        const char* name;
        const char* content;
        bool unreadable;
    };
    const Case cases[] = {
        {"zero bytes", "", false},
        {"blanks", " \r\r\n\t\r\n", false},
        {"declaration only", "<?xml version=\"1.0\" standalone=\"yes\" ?>\r\r\n", false},
        {"a root without nodes", "<CallScoreData>\r\r\n</CallScoreData>\r\r\n", false},
        {"cut short", "<CallScoreData>\r\r\n<CallScore>\r\r\n   <ID>5</ID>\r\r\n   <Na", true},
        {"unescaped ampersand", "<CallScoreData><CallScore><Name>A & B</Name></CallScore>", true},
        {"end tags crossed", "<CallScoreData><CallScore></CallScoreData></CallScore>", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteWholeFile(File(), c.content));
        theApp.m_prompts.clear();
        CCallScore* store = Loaded();
        EXPECT_EQ(kDefaultRecords, AllStored(store));
        std::vector<std::string> names = CStoreTestFolders::Names();
        if (!c.unreadable) {
            EXPECT_TRUE(theApp.m_prompts.empty());
            EXPECT_EQ(std::vector<std::string>{"CallScore.xml"}, names);
            EXPECT_EQ(c.content, ReadWholeFile(File()));
        } else {
            ASSERT_EQ(1u, names.size());
            ASSERT_TRUE(IsUnreadableBackupOf(names[0], "CallScore.xml")) << names[0];
            EXPECT_EQ(c.content, ReadWholeFile(CStoreTestFolders::Folder() + names[0]));
            ASSERT_EQ(1u, theApp.m_prompts.size());
            EXPECT_NE(std::string::npos, theApp.m_prompts[0].find(names[0])) << theApp.m_prompts[0];
            DeleteFileA((CStoreTestFolders::Folder() + names[0]).c_str());
        }
        // The defaults are saved in the file's place.
        ASSERT_TRUE(store->Save());
        EXPECT_EQ(WithLineEnds(kDefaultFile, kCrCrLf), ReadWholeFile(File()));
        EXPECT_EQ(std::vector<std::string>{"CallScore.xml"}, CStoreTestFolders::Names());
    }
}

// Every node removed: nothing is written, so the tree comes back at the next
// start; and a new node is never -1, the top level's parent.
TEST_F(CallScoreTest, AnEmptyStoreHandsOutZeroAndLeavesTheFile) {
    CCallScore* store = Loaded();
    ASSERT_TRUE(store->Save());
    const std::string before = ReadWholeFile(File());
    for (int id = 0; id < 3; ++id)
        ASSERT_TRUE(store->RemoveEntry(id));
    EXPECT_EQ(0, store->GetCount());
    EXPECT_EQ(0, store->GetNextID());
    EXPECT_EQ(nullptr, store->FindNext(0, CCallScore::FIND_BY_PARENT));
    EXPECT_FALSE(store->Save());
    EXPECT_EQ(before, ReadWholeFile(File()));
    EXPECT_EQ(kDefaultRecords, AllStored(Loaded()));
}

// A file that turned unreadable while the program ran is kept aside by the
// save, not overwritten.
TEST_F(CallScoreTest, ASaveKeepsAnUnreadableFileAside) {
    CCallScore* store = Loaded();
    const std::string broken = "<CallScoreData><CallScore>";
    ASSERT_TRUE(WriteWholeFile(File(), broken));
    ASSERT_TRUE(store->Save());
    std::vector<std::string> names = CStoreTestFolders::Names();
    ASSERT_EQ(2u, names.size());
    EXPECT_EQ("CallScore.xml", names[0]);
    ASSERT_TRUE(IsUnreadableBackupOf(names[1], "CallScore.xml")) << names[1];
    EXPECT_EQ(broken, ReadWholeFile(CStoreTestFolders::Folder() + names[1]));
    EXPECT_EQ(WithLineEnds(kDefaultFile, kCrCrLf), ReadWholeFile(File()));
}

TEST_F(CallScoreTest, OneStoreExistsUntilItIsDeleted) {
    CCallScore* store = CCallScore::GetInstance();
    EXPECT_EQ(store, CCallScore::GetInstance());
    EXPECT_EQ(0, store->GetCount());
    ASSERT_TRUE(store->AddEntry({0, -1, "root", "", 1}));
    delete store;
    CCallScore* again = CCallScore::GetInstance();
    EXPECT_EQ(0, again->GetCount());
}

} // namespace
