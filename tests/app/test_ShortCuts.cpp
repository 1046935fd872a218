// Tests of the shortcut store and, through it, of the tree store that the
// hot-list store shares: the file's layout and round trip, tolerant and
// malformed reads, the unreadable file that is kept, and the queries.
#include "native/gtest.h"
#include "native/tinyxml.h"

#include "ShortCuts.h"
#include "StoreTestFolders.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/TraceCapture.h"

#include <windows.h>

#include <string>
#include <vector>

// Answers the message box that tells of an unreadable file, and keeps it.
CAnsweringApp theApp;

namespace {

typedef CShortCuts::SHORTCUTENTRY Entry;

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n";

std::string Describe(const Entry& e) {
    return std::to_string(e.ID) + "," + std::to_string(e.ParentID) + ",[" + std::string(e.Name) +
           "],[" + std::string(e.Target) + "]," + std::to_string(e.IsGroup);
}

// The record of the ID as the store holds it, or "missing".
std::string Stored(CShortCuts* store, int id) {
    Entry copy;
    return store->GetEntryCopy(id, copy) ? Describe(copy) : "missing";
}

// The IDs of the records below the parent, in store order, by the children walk
// the trees use.
std::vector<int> Children(CShortCuts* store, int parent) {
    std::vector<int> ids;
    for (Entry* e = store->FindFirst(parent, CShortCuts::FIND_BY_PARENT); e;
         e = store->FindNext(parent, CShortCuts::FIND_BY_PARENT))
        ids.push_back(e->ID);
    return ids;
}

class ShortCutsTest : public ::testing::Test {
protected:
    ShortCutsTest() : m_folders("ZMShortCuts") { theApp.m_prompts.clear(); }
    ~ShortCutsTest() override { delete CShortCuts::GetInstance(); }

    static std::string File() { return CStoreTestFolders::File("shortcut.xml"); }

    // A fresh store, loaded from what is on disk.
    static CShortCuts* Loaded() {
        delete CShortCuts::GetInstance();
        CShortCuts* store = CShortCuts::GetInstance();
        store->Load();
        return store;
    }
    static CShortCuts* LoadedFrom(const std::string& content) {
        EXPECT_TRUE(WriteWholeFile(File(), content));
        return Loaded();
    }
    // A fresh, empty store holding the records.
    static CShortCuts* Holding(const std::vector<Entry>& records) {
        delete CShortCuts::GetInstance();
        CShortCuts* store = CShortCuts::GetInstance();
        for (const Entry& e : records)
            EXPECT_TRUE(store->AddEntry(e)) << Describe(e);
        return store;
    }

    CStoreTestFolders m_folders;
};

TEST_F(ShortCutsTest, AMissingFileGivesTheDefaultGroupWithoutAWord) {
    CShortCuts* store = Loaded();
    EXPECT_EQ(1, store->GetCount());
    EXPECT_EQ("0,-1,[Shortcuts to Sources..],[],1", Stored(store, 0));
    EXPECT_EQ(1, store->GetNextID());
    EXPECT_TRUE(theApp.m_prompts.empty());
    EXPECT_FALSE(FileExists(File()));

    // An empty file holds nothing to keep: it is read as a missing one.
    store = LoadedFrom("");
    EXPECT_EQ(1, store->GetCount());
    EXPECT_TRUE(theApp.m_prompts.empty());
    EXPECT_EQ(std::vector<std::string>{"shortcut.xml"}, CStoreTestFolders::Names());
}

// Names and paths as users type them: markup characters, quotes, runs of
// blanks, a name of blanks alone, accented letters of the ANSI code page, an
// entity that is only text, and a record whose group does not exist.
TEST_F(ShortCutsTest, EveryFieldReadsBackAsWritten) {
    const std::vector<Entry> records = {
        {0, -1, "Shortcuts to Sources..", "", 1},
        {4, 0, "Sales & Support <EMEA>", "D:\\Sales & Support\\<new>", 1},
        {2, 4, "\"Quoted\" and 'single'", "C:\\Rec\\It's \"here\"", 0},
        {9, 4, "Two  blanks  inside ", "  C:\\A  B", 0},
        {3, 0, "   ", "", 1},
        {5, 0, "Jos\xe9 M\xfcller", "C:\\Aufnahmen\\Caf\xe9", 0},
        {6, 0, "Tom &amp; Jerry", "", 0},
        {7, 99, "", "C:\\Orphan", 0},
    };
    ASSERT_TRUE(Holding(records)->Save());

    const std::string bytes = ReadWholeFile(File());
    EXPECT_EQ(0u, bytes.find(kDeclaration)) << bytes;
    // The declaration is true: accented letters are UTF-8, never raw ANSI.
    EXPECT_NE(std::string::npos, bytes.find("Jos\xc3\xa9 M\xc3\xbcller")) << bytes;
    EXPECT_EQ(std::string::npos, bytes.find("Jos\xe9")) << bytes;

    CShortCuts* store = Loaded();
    EXPECT_TRUE(theApp.m_prompts.empty());
    ASSERT_EQ(static_cast<int>(records.size()), store->GetCount());
    for (const Entry& e : records)
        EXPECT_EQ(Describe(e), Stored(store, e.ID));
    EXPECT_EQ((std::vector<int>{4, 3, 5, 6}), Children(store, 0));
    EXPECT_EQ((std::vector<int>{2, 9}), Children(store, 4));
    EXPECT_EQ(std::vector<int>{7}, Children(store, 99));
    EXPECT_EQ(10, store->GetNextID());
}

TEST_F(ShortCutsTest, TheFileHoldsOneElementPerRecordInStoreOrder) {
    ASSERT_TRUE(Holding({{3, -1, "Top", "", 1}, {1, 3, "Calls", "C:\\Calls", 0}})->Save());
    TiXmlDocument document;
    document.Parse(ReadWholeFile(File()).c_str());
    ASSERT_FALSE(document.Error()) << document.ErrorDesc();
    TiXmlElement* root = document.RootElement();
    ASSERT_NE(nullptr, root);
    EXPECT_STREQ("profile", root->Value());
    EXPECT_STREQ("1", root->Attribute("version"));

    const char* expected[][5] = {{"3", "-1", "Top", nullptr, "1"},
                                 {"1", "3", "Calls", "C:\\Calls", "0"}};
    const char* childNames[] = {"ParentID", "Name", "Target", "IsGroup"};
    int index = 0;
    for (TiXmlElement* record = root->FirstChildElement(); record;
         record = record->NextSiblingElement(), ++index) {
        ASSERT_LT(index, 2);
        SCOPED_TRACE(index);
        EXPECT_STREQ("shortcut", record->Value());
        EXPECT_STREQ(expected[index][0], record->Attribute("ID"));
        TiXmlElement* child = record->FirstChildElement();
        for (int c = 0; c < 4; ++c, child = child ? child->NextSiblingElement() : nullptr) {
            ASSERT_NE(nullptr, child) << childNames[c];
            EXPECT_STREQ(childNames[c], child->Value());
            if (expected[index][c + 1])
                EXPECT_STREQ(expected[index][c + 1], child->GetText());
            else
                EXPECT_EQ(nullptr, child->GetText()); // a group's empty target
        }
        EXPECT_EQ(nullptr, child);
    }
    EXPECT_EQ(2, index);
}

// Files written by other tools or older versions: LF, CR LF and CR CR LF line
// ends, and ANSI bytes under a UTF-8 declaration.
TEST_F(ShortCutsTest, LineEndsAndOldAnsiFilesAreRead) {
    const std::string body = "<profile version=\"1\">\n"
                             " <shortcut ID=\"0\">\n  <ParentID>-1</ParentID>\n"
                             "  <Name>Shortcuts to Sources..</Name>\n  <Target />\n"
                             "  <IsGroup>1</IsGroup>\n </shortcut>\n"
                             " <shortcut ID=\"1\">\n  <ParentID>0</ParentID>\n"
                             "  <Name>Caf\xe9  Calls</Name>\n  <Target>C:\\Caf\xe9</Target>\n"
                             "  <IsGroup>0</IsGroup>\n </shortcut>\n</profile>\n";
    const char* lineEnds[] = {"\n", "\r\n", "\r\r\n"};
    for (const char* lineEnd : lineEnds) {
        SCOPED_TRACE(testing::PrintToString(std::string(lineEnd)));
        CShortCuts* store = LoadedFrom(WithLineEnds(kDeclaration + body, lineEnd));
        EXPECT_TRUE(theApp.m_prompts.empty());
        ASSERT_EQ(2, store->GetCount());
        EXPECT_EQ("0,-1,[Shortcuts to Sources..],[],1", Stored(store, 0));
        EXPECT_EQ("1,0,[Caf\xe9  Calls],[C:\\Caf\xe9],0", Stored(store, 1));
        // Saved again as UTF-8, it reads back the same.
        ASSERT_TRUE(store->Save());
        EXPECT_EQ("1,0,[Caf\xe9  Calls],[C:\\Caf\xe9],0", Stored(Loaded(), 1));
    }
}

// Well-formed files that are not quite what the store writes: it loads what it
// can, silently, and keeps each record's values or their defaults.
TEST_F(ShortCutsTest, OddButWellFormedFilesLoadWhatTheyCan) {
    struct Case {
        const char* name;
        const char* content;
        std::vector<std::string> records; // in ID order of the checks below
        std::vector<int> ids;
    };
    const Case cases[] = {
        {"another root and version",
         "<settings version=\"7\"><shortcut ID=\"2\"><ParentID>-1</ParentID><Name>A</Name>"
         "<Target>T</Target><IsGroup>1</IsGroup></shortcut></settings>",
         {"2,-1,[A],[T],1"},
         {2}},
        {"duplicate IDs keep the first",
         "<profile><shortcut ID=\"1\"><Name>first</Name></shortcut>"
         "<shortcut ID=\"1\"><Name>second</Name></shortcut></profile>",
         {"1,0,[first],[],0"},
         {1}},
        {"a missing or bad ID reads as 0, once",
         "<profile><shortcut><ParentID>-1</ParentID><Name>no id</Name></shortcut>"
         "<shortcut ID=\"x\"><Name>bad id</Name></shortcut>"
         "<shortcut ID=\"3\"><Name>three</Name></shortcut></profile>",
         {"0,-1,[no id],[],0", "3,0,[three],[],0"},
         {0, 3}},
        {"missing and bad children take their defaults",
         "<profile><shortcut ID=\"5\"><IsGroup>yes</IsGroup><ParentID>z</ParentID>"
         "</shortcut></profile>",
         {"5,0,[],[],0"},
         {5}},
        {"records below another element are not the root's",
         "<profile><group><shortcut ID=\"1\"><Name>nested</Name></shortcut></group>"
         "<shortcut ID=\"2\"><Name>top</Name><shortcut ID=\"3\"/></shortcut></profile>",
         {"2,0,[top],[],0"},
         {2}},
        {"a parent that does not exist is kept",
         "<profile><shortcut ID=\"8\"><ParentID>42</ParentID><Name>orphan</Name>"
         "<IsGroup>0</IsGroup></shortcut></profile>",
         {"8,42,[orphan],[],0"},
         {8}},
        {"a record that is its own parent is passed over",
         "<profile><shortcut ID=\"-1\"><ParentID>-1</ParentID><Name>loop</Name></shortcut>"
         "<shortcut ID=\"2\"><ParentID>2</ParentID></shortcut>"
         "<shortcut ID=\"2\"><ParentID>-1</ParentID><Name>two</Name></shortcut></profile>",
         {"2,-1,[two],[],0"},
         {2}},
        {"hot-list records and comments are passed over",
         "<profile><!-- note --><hotlist ID=\"1\"><Name>call</Name></hotlist>"
         "<Shortcut ID=\"2\"/><shortcut ID=\"4\"><Name>kept</Name></shortcut></profile>",
         {"4,0,[kept],[],0"},
         {4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CShortCuts* store = LoadedFrom(std::string(kDeclaration) + c.content);
        EXPECT_TRUE(theApp.m_prompts.empty());
        EXPECT_EQ(static_cast<int>(c.records.size()), store->GetCount());
        for (size_t i = 0; i < c.ids.size(); ++i)
            EXPECT_EQ(c.records[i], Stored(store, c.ids[i]));
    }
}

TEST_F(ShortCutsTest, AFileWithoutRecordsGivesAnEmptyStoreThatIsNotSaved) {
    const std::string content = std::string(kDeclaration) + "<profile version=\"1\" />\n";
    CShortCuts* store = LoadedFrom(content);
    EXPECT_EQ(0, store->GetCount());
    EXPECT_EQ(0, store->GetNextID());
    EXPECT_FALSE(store->Save());
    EXPECT_EQ(content, ReadWholeFile(File()));
}

// A file that is there but cannot be read holds the user's shortcuts: it is
// moved aside, the user told where it went, and the defaults saved later do not
// replace it.
TEST_F(ShortCutsTest, AnUnreadableFileIsMovedAsideAndTheUserTold) {
    struct Case {
        const char* name;
        const char* content; // null: a folder of the file's name
    };
    const Case cases[] = {
        {"cut short", "<?xml version=\"1.0\"?>\n<profile version=\"1\"><shortcut ID=\"1\"><Na"},
        {"end tags crossed", "<profile><shortcut ID=\"1\"></profile></shortcut>"},
        {"no root element", "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n"},
        {"not markup", "Shortcuts to Sources..\r\n"},
        {"a folder", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.content) {
            ASSERT_TRUE(WriteWholeFile(File(), c.content));
        } else {
            ASSERT_TRUE(CreateDirectoryA(File().c_str(), nullptr));
            ASSERT_TRUE(WriteWholeFile(File() + "\\inside.txt", "kept"));
        }
        theApp.m_prompts.clear();
        CTraceCapture trace;
        CShortCuts* store = Loaded();
        EXPECT_EQ(1, store->GetCount());
        EXPECT_EQ("0,-1,[Shortcuts to Sources..],[],1", Stored(store, 0));

        std::vector<std::string> names = CStoreTestFolders::Names();
        ASSERT_EQ(1u, names.size());
        ASSERT_TRUE(IsUnreadableBackupOf(names[0], "shortcut.xml")) << names[0];
        const std::string backup = CStoreTestFolders::Folder() + names[0];
        if (c.content)
            EXPECT_EQ(c.content, ReadWholeFile(backup));
        else
            EXPECT_EQ("kept", ReadWholeFile(backup + "\\inside.txt"));
        ASSERT_EQ(1u, theApp.m_prompts.size());
        EXPECT_NE(std::string::npos, theApp.m_prompts[0].find(backup)) << theApp.m_prompts[0];
        EXPECT_TRUE(trace.Holds("cannot be read; kept as")) << trace.Text();

        // Saving works again, beside the kept file.
        EXPECT_TRUE(store->Save());
        EXPECT_EQ(1, Loaded()->GetCount());
        EXPECT_EQ(2u, CStoreTestFolders::Names().size());
        EXPECT_EQ(1u, theApp.m_prompts.size());
        if (c.content)
            DeleteFileA(backup.c_str());
        else
            RemoveFolderTree(backup);
        DeleteFileA(File().c_str());
    }
}

TEST_F(ShortCutsTest, AnUnreadableFileThatCannotBeMovedIsNeverSavedOver) {
    const std::string broken = "<profile><shortcut ID=\"1\">";
    ASSERT_TRUE(WriteWholeFile(File(), broken));
    // Held open without delete sharing, the file cannot be renamed.
    HANDLE held = CreateFileA(File().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    CShortCuts* store = Loaded();
    CloseHandle(held);

    EXPECT_EQ(1, store->GetCount());
    ASSERT_EQ(1u, theApp.m_prompts.size());
    EXPECT_NE(std::string::npos, theApp.m_prompts[0].find("cannot save")) << theApp.m_prompts[0];
    EXPECT_TRUE(store->AddEntry({1, 0, "new", "C:\\New", 0}));
    EXPECT_FALSE(store->Save());
    EXPECT_EQ(broken, ReadWholeFile(File()));
    EXPECT_EQ(std::vector<std::string>{"shortcut.xml"}, CStoreTestFolders::Names());
}

TEST_F(ShortCutsTest, AFailedSaveLeavesTheOldFile) {
    ASSERT_TRUE(Holding({{0, -1, "Old", "", 1}})->Save());
    const std::string old = ReadWholeFile(File());
    ASSERT_TRUE(SetFileAttributesA(File().c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(Holding({{0, -1, "New", "", 1}})->Save());
    SetFileAttributesA(File().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(old, ReadWholeFile(File()));
    EXPECT_EQ(std::vector<std::string>{"shortcut.xml"}, CStoreTestFolders::Names());
}

// An empty store hands out 0, never -1: -1 is the top level's parent, and a
// record with ID -1 at the top level would be its own child.
TEST_F(ShortCutsTest, TheNextIdIsOneAboveTheHighest) {
    struct Case {
        std::vector<int> ids;
        int next;
    };
    const Case cases[] = {{{}, 0}, {{0}, 1}, {{0, 5, 3}, 6}, {{7}, 8}, {{-3}, 0}, {{-3, 2}, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.ids));
        std::vector<Entry> records;
        for (int id : c.ids)
            records.push_back({id, -1, "g", "", 1});
        EXPECT_EQ(c.next, Holding(records)->GetNextID());
    }
    // A removed highest ID is handed out again.
    CShortCuts* store = Holding({{0, -1, "a", "", 1}, {1, 0, "b", "", 0}});
    ASSERT_TRUE(store->RemoveEntry(1));
    EXPECT_EQ(1, store->GetNextID());
}

TEST_F(ShortCutsTest, RecordsAreAddedOnceAndRemovedAlone) {
    CShortCuts* store = Holding({{0, -1, "root", "", 1},
                                 {1, 0, "group", "", 1},
                                 {2, 1, "a", "C:\\a", 0},
                                 {3, 1, "b", "C:\\b", 0}});
    EXPECT_FALSE(store->AddEntry({2, 0, "again", "C:\\c", 0}));
    // A record of its own parent, such as -1 at the top level, would hang the
    // tree that fills its children.
    EXPECT_FALSE(store->AddEntry({-1, -1, "loop", "", 1}));
    EXPECT_FALSE(store->AddEntry({8, 8, "loop", "", 1}));
    EXPECT_EQ("2,1,[a],[C:\\a],0", Stored(store, 2));
    EXPECT_EQ(4, store->GetCount());

    EXPECT_TRUE(store->HasChildren(1));
    EXPECT_FALSE(store->HasChildren(2));
    EXPECT_TRUE(store->RemoveEntry(1));
    EXPECT_FALSE(store->RemoveEntry(1));
    EXPECT_FALSE(store->Contains(1));
    // The records below stay, naming the removed group.
    EXPECT_EQ((std::vector<int>{2, 3}), Children(store, 1));
    EXPECT_TRUE(store->HasChildren(1));
    EXPECT_EQ(3, store->GetCount());
}

TEST_F(ShortCutsTest, GetEntryHandsOutTheStoredRecordAndGetEntryCopyACopy) {
    CShortCuts* store = Holding({{0, -1, "root", "", 1}, {1, 0, "old", "C:\\old", 0}});
    Entry* stored = store->GetEntry(1);
    ASSERT_NE(nullptr, stored);
    EXPECT_EQ(stored, store->GetEntry(1));
    EXPECT_EQ(nullptr, store->GetEntry(2));

    Entry copy = {};
    ASSERT_TRUE(store->GetEntryCopy(1, copy));
    copy.Name = "changed copy";
    EXPECT_EQ("1,0,[old],[C:\\old],0", Stored(store, 1));
    Entry untouched = {5, 5, "keep", "keep", 1};
    EXPECT_FALSE(store->GetEntryCopy(2, untouched));
    EXPECT_EQ("5,5,[keep],[keep],1", Describe(untouched));

    // A change through the stored record is saved with the store.
    stored->Name = "renamed";
    stored->Target = "C:\\new";
    ASSERT_TRUE(store->Save());
    EXPECT_EQ("1,0,[renamed],[C:\\new],0", Stored(Loaded(), 1));
}

TEST_F(ShortCutsTest, FindWalksMatchesInStoreOrder) {
    CShortCuts* store = Holding({{0, -1, "root", "", 1},
                                 {5, 0, "e", "", 0},
                                 {2, 9, "x", "", 0},
                                 {3, 0, "c", "", 1},
                                 {4, 3, "d", "", 0}});
    EXPECT_EQ((std::vector<int>{5, 3}), Children(store, 0));
    EXPECT_EQ(std::vector<int>{}, Children(store, 7));

    Entry* found = store->FindFirst(3, CShortCuts::FIND_BY_ID);
    ASSERT_NE(nullptr, found);
    EXPECT_EQ(3, found->ID);
    EXPECT_EQ(nullptr, store->FindNext(3, CShortCuts::FIND_BY_ID));

    // After a walk ends, and after another kind, FindNext finds nothing, even
    // where a match exists.
    EXPECT_EQ(nullptr, store->FindNext(0, CShortCuts::FIND_BY_PARENT));
    ASSERT_NE(nullptr, store->FindFirst(0, CShortCuts::FIND_BY_PARENT));
    EXPECT_EQ(nullptr, store->FindFirst(0, 2));
    EXPECT_EQ(nullptr, store->FindNext(0, CShortCuts::FIND_BY_PARENT));
    EXPECT_EQ(nullptr, store->FindFirst(0, -1));
}

TEST_F(ShortCutsTest, OneStoreExistsUntilItIsDeleted) {
    CShortCuts* store = CShortCuts::GetInstance();
    EXPECT_EQ(store, CShortCuts::GetInstance());
    store->AddEntry({0, -1, "root", "", 1});
    delete store;
    EXPECT_EQ(0, CShortCuts::GetInstance()->GetCount());
}

} // namespace
