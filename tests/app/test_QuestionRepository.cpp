// Tests of the question repository: its file byte by byte, texts that read
// back as written, tolerant and malformed files, export and import, an empty
// store that writes nothing, and the lookups the question tree walks with.
#include "native/gtest.h"

#include "AppPaths.h"
#include "Scoring/QuestionRepository.h"
#include "StoreTestFolders.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

typedef CQuestionRepository::QUESTION_ENTRY Entry;

std::string Lines(const std::string& text) {
    return WithLineEnds(text, "\r\r\n");
}

Entry Group(LONG id, LONG parent, const char* name) {
    Entry entry;
    entry.ID = id;
    entry.ParentID = parent;
    entry.GroupName = name;
    entry.IsGroup = 1;
    return entry;
}

Entry Question(LONG id, LONG parent, const char* label, LONG questionId, const char* prompt,
               LONG type, double bias) {
    Entry entry;
    entry.ID = id;
    entry.ParentID = parent;
    entry.GroupName = label;
    entry.Question.SetID(questionId);
    entry.Question.SetPrompt(prompt);
    entry.Question.SetType(type);
    entry.Question.SetBias(bias);
    return entry;
}

// One node as a line to compare: its fields and its question's.
std::string Describe(const Entry& e) {
    char bias[32];
    wsprintfA(bias, "%d", static_cast<int>(e.Question.GetBias() * 100 + 0.5));
    return std::to_string(e.ID) + "," + std::to_string(e.ParentID) + ",[" +
           std::string(e.GroupName) + "]," + std::to_string(e.IsGroup) + ",q" +
           std::to_string(e.Question.GetID()) + ",[" + std::string(e.Question.GetPrompt()) + "],t" +
           std::to_string(e.Question.GetType()) + ",b" + bias;
}

// Every node below the parent, depth first, each level in store order.
void Walk(CQuestionRepository* store, LONG parent, std::vector<std::string>& out) {
    std::vector<LONG> ids;
    for (Entry* e = store->FindFirst(parent, CQuestionRepository::FIND_BY_PARENT); e;
         e = store->FindNext(parent, CQuestionRepository::FIND_BY_PARENT))
        ids.push_back(e->ID);
    for (LONG id : ids) {
        Entry copy;
        if (store->GetEntry(id, copy))
            out.push_back(Describe(copy));
        Walk(store, id, out);
    }
}

std::vector<std::string> Tree(CQuestionRepository* store) {
    std::vector<std::string> out;
    Walk(store, -1, out);
    return out;
}

class QuestionRepositoryTest : public ::testing::Test {
protected:
    QuestionRepositoryTest() : m_folders("ZMQuestions") { Fresh(); }
    ~QuestionRepositoryTest() override { Fresh(); }

    static std::string File() { return CStoreTestFolders::File("questions.xml"); }
    // An empty, unloaded repository, as the process starts with.
    static CQuestionRepository* Fresh() {
        CQuestionRepository* store = CQuestionRepository::GetInstance();
        store->Clear();
        return store;
    }

    CStoreTestFolders m_folders;
    CTempFolder m_temp;
};

const Entry kOddNodes[] = {
    Group(0, -1, "Sales & <Service>"),
    Question(1, 0, ">Greeting", 7, ">Did the agent greet the caller?", CQuestion::TYPE_SCALE, 25),
    Question(2, 0, "Caf\xe9 \"quotes\" 'too'", 8, "Line one\r\nLine two & <three>",
             CQuestion::TYPE_YESNO, 33.33),
    Group(3, 0, "Nested"),
    Question(4, 3, "", 0, "", CQuestion::TYPE_SCALE, 0),
};

const char kOddFile[] = "<?xml version=\"1.0\" standalone=\"yes\" ?>\n"
                        "<QuestionRepositoryData>\n"
                        "<Entry>\n"
                        "   <ID>0</ID>\n"
                        "   <ParentID>-1</ParentID>\n"
                        "   <GroupName>Sales &amp; &lt;Service&gt;</GroupName>\n"
                        "   <IsGroup>TRUE</IsGroup>\n"
                        "   <Question>\n"
                        "      <ID>-1</ID>\n"
                        "      <Prompt></Prompt>\n"
                        "      <EvenBias>0.00</EvenBias>\n"
                        "      <IsScaledType>TRUE</IsScaledType>\n"
                        "   </Question>\n"
                        "</Entry>\n"
                        "<Entry>\n"
                        "   <ID>1</ID>\n"
                        "   <ParentID>0</ParentID>\n"
                        "   <GroupName>&gt;Greeting</GroupName>\n"
                        "   <IsGroup>FALSE</IsGroup>\n"
                        "   <Question>\n"
                        "      <ID>7</ID>\n"
                        "      <Prompt>&gt;Did the agent greet the caller?</Prompt>\n"
                        "      <EvenBias>25.00</EvenBias>\n"
                        "      <IsScaledType>TRUE</IsScaledType>\n"
                        "   </Question>\n"
                        "</Entry>\n"
                        "<Entry>\n"
                        "   <ID>2</ID>\n"
                        "   <ParentID>0</ParentID>\n"
                        "   <GroupName>Caf\xe9 \"quotes\" 'too'</GroupName>\n"
                        "   <IsGroup>FALSE</IsGroup>\n"
                        "   <Question>\n"
                        "      <ID>8</ID>\n"
                        "      <Prompt>Line one&#13;&#10;Line two &amp; &lt;three&gt;</Prompt>\n"
                        "      <EvenBias>33.33</EvenBias>\n"
                        "      <IsScaledType>FALSE</IsScaledType>\n"
                        "   </Question>\n"
                        "</Entry>\n"
                        "<Entry>\n"
                        "   <ID>3</ID>\n"
                        "   <ParentID>0</ParentID>\n"
                        "   <GroupName>Nested</GroupName>\n"
                        "   <IsGroup>TRUE</IsGroup>\n"
                        "   <Question>\n"
                        "      <ID>-1</ID>\n"
                        "      <Prompt></Prompt>\n"
                        "      <EvenBias>0.00</EvenBias>\n"
                        "      <IsScaledType>TRUE</IsScaledType>\n"
                        "   </Question>\n"
                        "</Entry>\n"
                        "<Entry>\n"
                        "   <ID>4</ID>\n"
                        "   <ParentID>3</ParentID>\n"
                        "   <GroupName></GroupName>\n"
                        "   <IsGroup>FALSE</IsGroup>\n"
                        "   <Question>\n"
                        "      <ID>0</ID>\n"
                        "      <Prompt></Prompt>\n"
                        "      <EvenBias>0.00</EvenBias>\n"
                        "      <IsScaledType>TRUE</IsScaledType>\n"
                        "   </Question>\n"
                        "</Entry>\n"
                        "</QuestionRepositoryData>\n";

TEST_F(QuestionRepositoryTest, TheDefaultFileIsTheQuestionsFileOfTheAllUsersFolder) {
    EXPECT_EQ(File(), std::string(GetQuestionsFilePath()));
}

TEST_F(QuestionRepositoryTest, NoFileLoadsNothingButCountsAsLoaded) {
    CQuestionRepository* store = Fresh();
    EXPECT_FALSE(store->IsLoaded());
    EXPECT_FALSE(store->Load());
    EXPECT_TRUE(store->IsLoaded());
    EXPECT_EQ(0, store->GetCount());
    EXPECT_EQ(0, store->GetNextID());
    EXPECT_EQ(10000, CQuestionRepository::GetFirstLocalQuestionID());
}

TEST_F(QuestionRepositoryTest, NodesAreWrittenByteForByteAndReadBackAsWritten) {
    CQuestionRepository* store = Fresh();
    for (const Entry& e : kOddNodes)
        ASSERT_TRUE(store->Add(e));
    ASSERT_TRUE(store->Save());
    const std::string expected = Lines(kOddFile);
    EXPECT_EQ(expected, ReadWholeFile(File()));

    std::vector<std::string> written;
    for (const Entry& e : kOddNodes)
        written.push_back(Describe(e));
    store = Fresh();
    ASSERT_TRUE(store->Load());
    EXPECT_EQ(written, Tree(store));
    // The multi-line prompt keeps its one CR LF.
    EXPECT_STREQ("Line one\r\nLine two & <three>", store->Find(2)->Question.GetPrompt());
    ASSERT_TRUE(store->Save());
    EXPECT_EQ(expected, ReadWholeFile(File()));
}

TEST_F(QuestionRepositoryTest, OddButWellFormedFilesLoadWhatTheyCan) {
    struct Case {
        const char* name;
        const char* content;
        std::vector<std::string> nodes;
    };
    const Case cases[] = {
        {"no IsGroup, no node; the first of one ID wins",
         "<QuestionRepositoryData>"
         "<Entry><ID>1</ID><GroupName>kept</GroupName><IsGroup>true</IsGroup></Entry>"
         "<Entry><ID>2</ID><GroupName>lost</GroupName></Entry>"
         "<Entry><ID>1</ID><GroupName>second</GroupName><IsGroup>TRUE</IsGroup></Entry>"
         "</QuestionRepositoryData>",
         {"1,-1,[kept],1,q-1,[],t1,b0"}},
        {"question types: TRUE scaled, other text yes/no, none scaled",
         "<QuestionRepositoryData>"
         "<Entry><ID>1</ID><IsGroup>FALSE</IsGroup><Question><ID>5</ID><Prompt>a</Prompt>"
         "<IsScaledType>true</IsScaledType></Question></Entry>"
         "<Entry><ID>2</ID><IsGroup>no</IsGroup><Question><ID>6</ID><Prompt>b</Prompt>"
         "<IsScaledType>no</IsScaledType><EvenBias>12.5</EvenBias></Question></Entry>"
         "<Entry><ID>3</ID><IsGroup>FALSE</IsGroup><Question><ID>7</ID><Prompt>c</Prompt>"
         "</Question></Entry>"
         "</QuestionRepositoryData>",
         {"1,-1,[],0,q5,[a],t1,b0", "2,-1,[],0,q6,[b],t2,b1250", "3,-1,[],0,q7,[c],t1,b0"}},
        {"an empty Question keeps the new question",
         "<QuestionRepositoryData><Entry><ID>4</ID><ParentID>-1</ParentID>"
         "<IsGroup>FALSE</IsGroup><Question/></Entry></QuestionRepositoryData>",
         {"4,-1,[],0,q-1,[],t1,b0"}},
        {"nested, any case, LF line ends, comments and CDATA",
         "<?xml version=\"1.0\"?>\n<Data>\n<!-- note -->\n<Old>\n<entry>\n<id>1</id>\n"
         "<parentid>-1</parentid>\n<groupname><![CDATA[A & B]]></groupname>\n"
         "<isgroup>TRUE</isgroup>\n</entry>\n</Old>\n<ENTRY><ID>2</ID><ParentID>1</ParentID>"
         "<IsGroup>FALSE</IsGroup><Question><ID>9</ID><Prompt>q</Prompt></Question></ENTRY>\n"
         "</Data>\n",
         {"1,-1,[A & B],1,q-1,[],t1,b0", "2,1,[],0,q9,[q],t1,b0"}},
        {"numbers as atoi reads them, missing ones -1",
         "<QuestionRepositoryData>"
         "<Entry><ID> 12abc</ID><IsGroup>TRUE</IsGroup></Entry>"
         "<Entry><ID>13</ID><ParentID>12x</ParentID><IsGroup>TRUE</IsGroup></Entry>"
         "</QuestionRepositoryData>",
         {"12,-1,[],1,q-1,[],t1,b0", "13,12,[],1,q-1,[],t1,b0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteWholeFile(File(), c.content));
        CQuestionRepository* store = Fresh();
        EXPECT_TRUE(store->Load());
        EXPECT_EQ(c.nodes, Tree(store));
        EXPECT_EQ(static_cast<int>(c.nodes.size()), store->GetCount());
    }
}

// An unreadable file loads nothing; the next save keeps it aside rather than
// writing over it.
TEST_F(QuestionRepositoryTest, AnUnreadableFileIsKeptAsideByTheNextSave) {
    const std::string broken = "<QuestionRepositoryData><Entry><GroupName>A & B</GroupName>";
    ASSERT_TRUE(WriteWholeFile(File(), broken));
    CQuestionRepository* store = Fresh();
    EXPECT_FALSE(store->Load());
    EXPECT_TRUE(store->IsLoaded());
    EXPECT_EQ(0, store->GetCount());
    EXPECT_EQ(broken, ReadWholeFile(File()));

    ASSERT_TRUE(store->Add(Group(0, -1, "New")));
    ASSERT_TRUE(store->Save());
    std::vector<std::string> names = CStoreTestFolders::Names();
    ASSERT_EQ(2u, names.size());
    EXPECT_EQ("questions.xml", names[0]);
    ASSERT_TRUE(IsUnreadableBackupOf(names[1], "questions.xml")) << names[1];
    EXPECT_EQ(broken, ReadWholeFile(CStoreTestFolders::Folder() + names[1]));
    store = Fresh();
    ASSERT_TRUE(store->Load());
    EXPECT_EQ(std::vector<std::string>{"0,-1,[New],1,q-1,[],t1,b0"}, Tree(store));
}

TEST_F(QuestionRepositoryTest, AnEmptyStoreWritesNothing) {
    CQuestionRepository* store = Fresh();
    EXPECT_FALSE(store->Save());
    EXPECT_FALSE(FileExists(File()));
    const std::string old = Lines(kOddFile);
    ASSERT_TRUE(WriteWholeFile(File(), old));
    EXPECT_FALSE(store->Save());
    EXPECT_EQ(old, ReadWholeFile(File()));
}

// Export writes the store as it stands; an import adds the nodes whose IDs are
// new and keeps the held ones, and reports success even when nothing is new.
TEST_F(QuestionRepositoryTest, ExportAndImportRoundTrip) {
    const std::string exported = m_temp.File("CallScorePredefinedQuestions.xml");
    CQuestionRepository* store = Fresh();
    for (const Entry& e : kOddNodes)
        ASSERT_TRUE(store->Add(e));
    ASSERT_TRUE(store->Save(exported.c_str()));
    EXPECT_EQ(Lines(kOddFile), ReadWholeFile(exported));
    EXPECT_FALSE(FileExists(File()));
    const std::vector<std::string> all = Tree(store);

    // Into an empty store: the same tree.
    store = Fresh();
    ASSERT_TRUE(store->Load(exported.c_str()));
    EXPECT_EQ(all, Tree(store));
    // Again: nothing is new.
    ASSERT_TRUE(store->Load(exported.c_str()));
    EXPECT_EQ(all, Tree(store));
    EXPECT_EQ(5, store->GetCount());

    // Into a store that holds node 1 of its own and node 9: 1 stays, the rest
    // comes in.
    store = Fresh();
    ASSERT_TRUE(store->Add(Question(1, 0, "mine", 70, "Mine?", CQuestion::TYPE_YESNO, 10)));
    ASSERT_TRUE(store->Add(Group(9, -1, "Local")));
    ASSERT_TRUE(store->Load(exported.c_str()));
    EXPECT_EQ(6, store->GetCount());
    EXPECT_STREQ("mine", store->Find(1)->GroupName);
    EXPECT_STREQ("Nested", store->Find(3)->GroupName);
    EXPECT_EQ(10, store->GetNextID());

    // A file that does not parse adds nothing.
    ASSERT_TRUE(WriteWholeFile(exported, "<QuestionRepositoryData><Entry>"));
    EXPECT_FALSE(store->Load(exported.c_str()));
    EXPECT_EQ(6, store->GetCount());
}

TEST_F(QuestionRepositoryTest, NodesAreAddedOnceFoundAndRemovedAlone) {
    CQuestionRepository* store = Fresh();
    for (const Entry& e : kOddNodes)
        ASSERT_TRUE(store->Add(e));
    EXPECT_FALSE(store->Add(Group(3, -1, "again")));
    EXPECT_EQ(5, store->GetNextID());

    // Find hands out the stored node; GetEntry a copy.
    Entry* held = store->Find(3);
    ASSERT_NE(nullptr, held);
    held->GroupName = "Renamed";
    Entry copy;
    ASSERT_TRUE(store->GetEntry(3, copy));
    EXPECT_STREQ("Renamed", copy.GroupName);
    copy.GroupName = "copy only";
    EXPECT_STREQ("Renamed", store->Find(3)->GroupName);
    EXPECT_FALSE(store->GetEntry(42, copy));
    EXPECT_EQ(nullptr, store->Find(42));

    struct Case {
        LONG id;
        BOOL exists;
        BOOL children;
    };
    const Case cases[] = {{-1, FALSE, TRUE}, {0, TRUE, TRUE},  {3, TRUE, TRUE},
                          {4, TRUE, FALSE},  {1, TRUE, FALSE}, {42, FALSE, FALSE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(c.exists, store->Exists(c.id));
        EXPECT_EQ(c.children, store->HasChildren(c.id));
    }

    // The walk: FindNext without a FindFirst, another kind, by ID.
    store = Fresh();
    for (const Entry& e : kOddNodes)
        ASSERT_TRUE(store->Add(e));
    EXPECT_EQ(nullptr, store->FindNext(0, CQuestionRepository::FIND_BY_PARENT));
    EXPECT_EQ(nullptr, store->FindFirst(0, 7));
    EXPECT_EQ(nullptr, store->FindNext(0, CQuestionRepository::FIND_BY_PARENT));
    ASSERT_NE(nullptr, store->FindFirst(2, CQuestionRepository::FIND_BY_ID));
    EXPECT_EQ(2, store->FindFirst(2, CQuestionRepository::FIND_BY_ID)->ID);
    EXPECT_EQ(nullptr, store->FindNext(2, CQuestionRepository::FIND_BY_ID));
    EXPECT_EQ(nullptr, store->FindNext(2, CQuestionRepository::FIND_BY_ID));

    // A removed group leaves its children to the caller.
    EXPECT_TRUE(store->Remove(3));
    EXPECT_FALSE(store->Remove(3));
    EXPECT_TRUE(store->Exists(4));
    EXPECT_EQ(3, store->Find(4)->ParentID);
    EXPECT_EQ(4, store->GetCount());
}

// Clear forgets the nodes and that the file was read, so the dialogs read it
// again; the exit of the store saves only what was read.
TEST_F(QuestionRepositoryTest, ClearAndDeleteInstance) {
    ASSERT_TRUE(WriteWholeFile(File(), Lines(kOddFile)));
    CQuestionRepository* store = Fresh();
    ASSERT_TRUE(store->Load());
    EXPECT_EQ(5, store->GetCount());
    store->Clear();
    EXPECT_FALSE(store->IsLoaded());
    EXPECT_EQ(0, store->GetCount());

    // Never read: nodes added are not written over the file.
    ASSERT_TRUE(store->Add(Group(20, -1, "unsaved")));
    CQuestionRepository::DeleteInstance();
    EXPECT_EQ(Lines(kOddFile), ReadWholeFile(File()));

    // Read and changed: written at deletion.
    store = CQuestionRepository::GetInstance();
    EXPECT_EQ(0, store->GetCount());
    ASSERT_TRUE(store->Load());
    ASSERT_TRUE(store->Remove(4));
    CQuestionRepository::DeleteInstance();
    store = Fresh();
    ASSERT_TRUE(store->Load());
    EXPECT_EQ(4, store->GetCount());
    EXPECT_FALSE(store->Exists(4));
}

} // namespace
