// Tests of the score-form store: the forms file byte by byte, texts that the
// markup parser would misread, tolerant and malformed files, saves that must
// not lose the file on disk, form IDs that never collide, and the cursor.
#include "native/gtest.h"

#include "Scoring/ScoreFormManager.h"
#include "StoreTestFolders.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

// The file's line end: a text-mode stream's CR LF written once more.
std::string Lines(const std::string& text) {
    return WithLineEnds(text, "\r\r\n");
}

CQuestion MakeQuestion(LONG id, const char* prompt, LONG type, double bias) {
    CQuestion question(id);
    question.SetPrompt(prompt);
    question.SetType(type);
    question.SetBias(bias);
    return question;
}

CScoreFormEntry MakeForm(LONG id, const char* title, int questions = 1) {
    CScoreFormEntry form(id);
    form.SetTitle(title);
    form.SetOwner("jdoe");
    form.SetTime(1700000000);
    for (int i = 0; i < questions; ++i)
        form.AddQuestion(
            MakeQuestion(100 + i, "Greeting?", CQuestion::TYPE_YESNO, 100.0 / questions));
    return form;
}

std::vector<LONG> FormIds() {
    std::vector<LONG> ids;
    CScoreFormManager* store = CScoreFormManager::GetInstance();
    for (int i = 0; i < store->GetFormCount(); ++i)
        ids.push_back(store->GetFormId(i));
    return ids;
}

class ScoreFormManagerTest : public ::testing::Test {
protected:
    ScoreFormManagerTest() : m_store(CScoreFormManager::GetInstance()) {}
    // Cleared first, so that the store's exit save has nothing to write.
    ~ScoreFormManagerTest() override {
        m_store->Clear();
        CScoreFormManager::DeleteInstance();
    }

    std::string Path(const char* name = "scoreforms.xml") const { return m_folder.File(name); }
    // Loads the content, written as the whole file, into the emptied store.
    BOOL LoadContent(const std::string& content) {
        EXPECT_TRUE(WriteWholeFile(Path("in.xml"), content));
        m_store->Clear();
        return m_store->Load(Path("in.xml").c_str());
    }
    // Saves, then loads the file back into the emptied store.
    void SaveAndReload() {
        ASSERT_TRUE(m_store->Save(Path().c_str()));
        m_store->Clear();
        ASSERT_TRUE(m_store->Load(Path().c_str()));
    }

    CTempFolder m_folder;
    CScoreFormManager* m_store;
};

TEST_F(ScoreFormManagerTest, WritesTheFileByteForByte) {
    CScoreFormEntry form = MakeForm(3, "Sales call", 0);
    form.SetLastTotal(75.3333);
    form.AddQuestion(MakeQuestion(12, "Did the agent greet?", CQuestion::TYPE_SCALE, 33.333));
    form.AddQuestion(MakeQuestion(10000, "Closed?", CQuestion::TYPE_YESNO, 66.667));
    form.AddQuestion(MakeQuestion(7, "Untyped", CQuestion::TYPE_NONE, 0));
    ASSERT_TRUE(m_store->AddForm(form));
    ASSERT_TRUE(m_store->AddForm(MakeForm(5, "Empty", 0)));
    ASSERT_TRUE(m_store->Save(Path().c_str()));
    EXPECT_EQ(Lines("<?xml version=\"1.0\" standalone=\"yes\" ?>\n"
                    "<FormData GlobalID=6>\n"
                    "<Entry>\n"
                    "   <ID>3</ID>\n"
                    "   <Title>Sales call</Title>\n"
                    "   <Owner>jdoe</Owner>\n"
                    "   <Time>1700000000</Time>\n"
                    "   <LastTotal>75.33</LastTotal>\n"
                    "   <QuestionData>\n"
                    "   <Question>\n"
                    "      <ID>12</ID>\n"
                    "      <Prompt>Did the agent greet?</Prompt>\n"
                    "      <EvenBias>33.33</EvenBias>\n"
                    "      <IsScaledType>TRUE</IsScaledType>\n"
                    "   </Question>\n"
                    "   <Question>\n"
                    "      <ID>10000</ID>\n"
                    "      <Prompt>Closed?</Prompt>\n"
                    "      <EvenBias>66.67</EvenBias>\n"
                    "      <IsScaledType>FALSE</IsScaledType>\n"
                    "   </Question>\n"
                    "   <Question>\n"
                    "      <ID>7</ID>\n"
                    "      <Prompt>Untyped</Prompt>\n"
                    "      <EvenBias>0.00</EvenBias>\n"
                    "      <IsScaledType>FALSE</IsScaledType>\n"
                    "   </Question>\n"
                    "   </QuestionData>\n"
                    "</Entry>\n"
                    "<Entry>\n"
                    "   <ID>5</ID>\n"
                    "   <Title>Empty</Title>\n"
                    "   <Owner>jdoe</Owner>\n"
                    "   <Time>1700000000</Time>\n"
                    "   <LastTotal>0.00</LastTotal>\n"
                    "   <QuestionData>\n"
                    "   </QuestionData>\n"
                    "</Entry>\n"
                    "</FormData>\n"),
              ReadWholeFile(Path()));
}

TEST_F(ScoreFormManagerTest, ReadsBackWhatItWrote) {
    CScoreFormEntry form = MakeForm(3, "Sales call", 0);
    form.SetLastTotal(75.3333);
    form.AddQuestion(MakeQuestion(12, "Greet?", CQuestion::TYPE_SCALE, 40));
    form.AddQuestion(MakeQuestion(10000, "Closed?", CQuestion::TYPE_YESNO, 60));
    m_store->AddForm(form);
    m_store->AddForm(MakeForm(4, "Second", 2));
    SaveAndReload();
    ASSERT_EQ((std::vector<LONG>{3, 4}), FormIds());
    const CScoreFormEntry* read = m_store->FindForm(3);
    EXPECT_STREQ("Sales call", read->GetTitle());
    EXPECT_STREQ("jdoe", read->GetOwner());
    EXPECT_EQ(1700000000, read->GetTime());
    EXPECT_EQ(75.33, read->GetLastTotal());
    ASSERT_EQ(2, read->GetQuestionCount());
    const LONG ids[] = {12, 10000}, types[] = {CQuestion::TYPE_SCALE, CQuestion::TYPE_YESNO};
    const double biases[] = {40, 60};
    const char* prompts[] = {"Greet?", "Closed?"};
    for (int i = 0; i < 2; ++i) {
        const CQuestion* question = read->GetQuestion(i);
        EXPECT_EQ(ids[i], question->GetID());
        EXPECT_STREQ(prompts[i], question->GetPrompt());
        EXPECT_EQ(types[i], question->GetType());
        EXPECT_EQ(biases[i], question->GetBias());
        EXPECT_EQ(0, question->GetValue()) << "answers are not stored";
    }
    EXPECT_EQ(nullptr, read->GetQuestion(2));
    EXPECT_EQ(nullptr, read->GetQuestion(-1));
}

// Every text a user may type comes back as typed, and the rest of the file
// with it.
TEST_F(ScoreFormManagerTest, UserTextsReadBackAsWritten) {
    const char* texts[] = {
        "R&D",
        "A<B",
        ">starts with a bracket",
        "ends with one>",
        "a/>b",
        "-->x",
        "x]]>y",
        "\"quoted\" and 'apostrophes'",
        "&amp; typed as such",
        "&#13; typed as such",
        "<Title>not a tag</Title>",
        "Qualit\xe9 & Co",
        "=equals",
        "Line 1\r\nLine 2",
        "Line 1\nLine 2\rLine 3\r\n\r\nLine 5",
        "tab\tinside",
    };
    LONG id = 0;
    for (const char* text : texts) {
        CScoreFormEntry form(id++);
        form.SetTitle(text);
        form.SetOwner(text);
        form.AddQuestion(MakeQuestion(1, text, CQuestion::TYPE_SCALE, 100));
        m_store->AddForm(form);
    }
    SaveAndReload();
    ASSERT_EQ(static_cast<int>(sizeof texts / sizeof texts[0]), m_store->GetFormCount());
    for (int i = 0; i < m_store->GetFormCount(); ++i) {
        SCOPED_TRACE(texts[i]);
        const CScoreFormEntry* form = m_store->GetFormAt(i);
        EXPECT_STREQ(texts[i], form->GetTitle());
        EXPECT_STREQ(texts[i], form->GetOwner());
        EXPECT_STREQ(texts[i], form->GetQuestion(0)->GetPrompt());
    }
}

// A line break inside a prompt is kept as references, so that the file's own
// line ends (CR CR LF) never reach it: no blank lines gained, no CR lost, and
// saving twice gives the same file.
TEST_F(ScoreFormManagerTest, MultiLinePromptKeepsItsLinesOverSaves) {
    CScoreFormEntry form = MakeForm(1, "Form", 0);
    form.AddQuestion(MakeQuestion(1, "First line\r\nSecond line", CQuestion::TYPE_SCALE, 100));
    m_store->AddForm(form);
    ASSERT_TRUE(m_store->Save(Path().c_str()));
    const std::string first = ReadWholeFile(Path());
    EXPECT_NE(std::string::npos,
              first.find("      <Prompt>First line&#13;&#10;Second line</Prompt>\r\r\n"));
    for (int round = 0; round < 2; ++round)
        SaveAndReload();
    EXPECT_STREQ("First line\r\nSecond line", m_store->FindForm(1)->GetQuestion(0)->GetPrompt());
    EXPECT_EQ(first, ReadWholeFile(Path()));
}

// The reader drops blanks at the ends of every text, so the store does not
// hold them in the first place: what it holds is what a reload gives.
TEST_F(ScoreFormManagerTest, TextsAreKeptWithoutBlanksAtTheEnds) {
    CScoreFormEntry form(1);
    form.SetTitle("  Sales \r\n");
    form.AddQuestion(MakeQuestion(1, "\r\nPrompt\t", CQuestion::TYPE_SCALE, 100));
    EXPECT_STREQ("Sales", form.GetTitle());
    EXPECT_STREQ("Prompt", form.GetQuestion(0)->GetPrompt());
    m_store->AddForm(form);
    SaveAndReload();
    EXPECT_STREQ("Sales", m_store->FindForm(1)->GetTitle());
    EXPECT_STREQ("Prompt", m_store->FindForm(1)->GetQuestion(0)->GetPrompt());
}

TEST_F(ScoreFormManagerTest, LongTextsAreCutTo127Characters) {
    const std::string longText(200, 'T');
    CScoreFormEntry form(1);
    form.SetTitle(longText.c_str());
    form.SetOwner(longText.c_str());
    EXPECT_EQ(longText.substr(0, 127), form.GetTitle());
    EXPECT_EQ(longText.substr(0, 127), form.GetOwner());
    // A file written by hand with a longer title is cut the same way.
    ASSERT_TRUE(LoadContent("<FormData><Entry><Title>" + longText +
                            "</Title><QuestionData><Question/></QuestionData></Entry></FormData>"));
    ASSERT_EQ(1, m_store->GetFormCount());
    EXPECT_EQ(longText.substr(0, 127), m_store->GetFormAt(0)->GetTitle());
}

// Files written by other versions or by hand: what can be read is read.
TEST_F(ScoreFormManagerTest, ReadsTolerantly) {
    struct Case {
        const char* name;
        std::string content;
        std::vector<LONG> ids;       // the forms read, in order
        std::vector<LONG> questions; // the question counts of those forms
    };
    const Case cases[] = {
        {"CR LF line ends",
         "<?xml version=\"1.0\"?>\r\n<FormData GlobalID=2>\r\n<Entry>\r\n<ID>1</ID>\r\n"
         "<QuestionData>\r\n<Question><ID>5</ID></Question>\r\n</QuestionData>\r\n</Entry>\r\n"
         "</FormData>\r\n",
         {1},
         {1}},
        {"element names in any case",
         "<formdata><ENTRY><id>4</id><questiondata><QUESTION/></questiondata></ENTRY></formdata>",
         {4},
         {1}},
        {"an Entry inside an extra wrapper",
         "<FormData><Wrapper><Entry><ID>2</ID><QuestionData><Question/></QuestionData></Entry>"
         "</Wrapper></FormData>",
         {2},
         {1}},
        {"a Question inside an extra element",
         "<FormData><Entry><ID>2</ID><QuestionData><Group><Question/><Question/></Group>"
         "</QuestionData></Entry></FormData>",
         {2},
         {2}},
        {"an Entry without questions is not a form",
         "<FormData><Entry><ID>1</ID><QuestionData></QuestionData></Entry>"
         "<Entry><ID>2</ID></Entry><Entry><ID>3</ID><QuestionData><Question/></QuestionData>"
         "</Entry></FormData>",
         {3},
         {1}},
        {"an Entry at the top level",
         "<Entry><ID>9</ID><QuestionData><Question/></QuestionData></Entry>",
         {9},
         {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(LoadContent(c.content));
        ASSERT_EQ(c.ids, FormIds());
        for (size_t i = 0; i < c.ids.size(); ++i)
            EXPECT_EQ(c.questions[i], m_store->GetFormAt(static_cast<int>(i))->GetQuestionCount());
    }
}

TEST_F(ScoreFormManagerTest, ReadsFieldsAsTheCLibraryDoes) {
    ASSERT_TRUE(LoadContent(
        "<FormData><Entry><ID>12abc</ID><Title>T</Title><Time>x</Time><LastTotal>81.5 pts"
        "</LastTotal><QuestionData>"
        "<Question><ID>3</ID><Prompt>P</Prompt><EvenBias>12.5%</EvenBias>"
        "<IsScaledType>true</IsScaledType></Question>"
        "<Question><IsScaledType>yes</IsScaledType></Question>"
        "<Question><IsScaledType>FALSE</IsScaledType></Question>"
        "<Question><EvenBias>nan</EvenBias></Question>"
        "</QuestionData></Entry></FormData>"));
    ASSERT_EQ(1, m_store->GetFormCount());
    const CScoreFormEntry* form = m_store->GetFormAt(0);
    EXPECT_EQ(12, form->GetID());
    EXPECT_EQ(0, form->GetTime());
    EXPECT_EQ(81.5, form->GetLastTotal());
    ASSERT_EQ(4, form->GetQuestionCount());
    struct Expected {
        LONG id, type;
        double bias;
    } expected[] = {{3, CQuestion::TYPE_SCALE, 12.5},
                    {-1, CQuestion::TYPE_YESNO, 0},
                    {-1, CQuestion::TYPE_YESNO, 0},
                    {-1, CQuestion::TYPE_NONE, 0}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(expected[i].id, form->GetQuestion(i)->GetID());
        EXPECT_EQ(expected[i].type, form->GetQuestion(i)->GetType());
        EXPECT_EQ(expected[i].bias, form->GetQuestion(i)->GetBias());
    }
    // A question without a type behaves as yes/no and is written back so.
    EXPECT_FALSE(form->GetQuestion(3)->IsScaled());
}

TEST_F(ScoreFormManagerTest, AFileThatDoesNotParseAddsNothing) {
    m_store->AddForm(MakeForm(1, "Held"));
    EXPECT_FALSE(m_store->Load(Path("missing.xml").c_str()));
    EXPECT_TRUE(m_store->IsLoaded());
    ASSERT_TRUE(
        WriteWholeFile(Path("broken.xml"), "<FormData><Entry><ID>2</ID><QuestionData><Question>"));
    EXPECT_FALSE(m_store->Load(Path("broken.xml").c_str()));
    EXPECT_EQ((std::vector<LONG>{1}), FormIds());
}

// The user's forms file that could not be read is set aside, never written
// over; one that cannot even be opened is left alone and the save fails.
TEST_F(ScoreFormManagerTest, AnUnreadableFileIsNeverSavedOver) {
    const std::string broken = "<FormData><Entry><Title>My forms";
    ASSERT_TRUE(WriteWholeFile(Path(), broken));
    EXPECT_FALSE(m_store->Load(Path().c_str()));
    m_store->AddForm(MakeForm(1, "New"));
    ASSERT_TRUE(m_store->Save(Path().c_str()));
    std::vector<std::string> backups;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(Path("scoreforms.xml.unreadable-*").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    do
        backups.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    ASSERT_EQ(1u, backups.size());
    EXPECT_TRUE(IsUnreadableBackupOf(backups[0], "scoreforms.xml"));
    EXPECT_EQ(broken, ReadWholeFile(Path(backups[0].c_str())));
    m_store->Clear();
    EXPECT_TRUE(m_store->Load(Path().c_str()));
    EXPECT_EQ((std::vector<LONG>{1}), FormIds());

    const std::string before = ReadWholeFile(Path());
    HANDLE held = CreateFileA(Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_FALSE(m_store->Save(Path().c_str()));
    CloseHandle(held);
    EXPECT_EQ(before, ReadWholeFile(Path()));
}

TEST_F(ScoreFormManagerTest, AFailedSaveLeavesTheOldFile) {
    EXPECT_FALSE(m_store->Save(Path("no such folder\\scoreforms.xml").c_str()));
    ASSERT_TRUE(CreateDirectoryA(Path("a folder").c_str(), nullptr));
    m_store->AddForm(MakeForm(1, "New"));
    EXPECT_FALSE(m_store->Save(Path("a folder").c_str()));
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY,
              GetFileAttributesA(Path("a folder").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    // No temporary file is left behind by any of them.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(Path("*.tmp").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

TEST_F(ScoreFormManagerTest, DeletingEveryFormAndSavingSticks) {
    m_store->AddForm(MakeForm(1, "One"));
    m_store->AddForm(MakeForm(2, "Two"));
    SaveAndReload();
    m_store->RemoveForm(1);
    m_store->RemoveForm(2);
    EXPECT_EQ(0, m_store->GetFormCount());
    SaveAndReload();
    EXPECT_EQ(0, m_store->GetFormCount());
    EXPECT_EQ(Lines("<?xml version=\"1.0\" standalone=\"yes\" ?>\n<FormData GlobalID=3>\n"
                    "</FormData>\n"),
              ReadWholeFile(Path()));
    // The counter survives the empty file: IDs 1 and 2 are not handed out again.
    EXPECT_EQ(3, m_store->GetNextFormID());
}

TEST_F(ScoreFormManagerTest, NextFormIdNeverMeetsAHeldId) {
    struct Case {
        const char* name;
        std::string content;
        LONG next;
    };
    const std::string forms = "<Entry><ID>3</ID><QuestionData><Question/></QuestionData></Entry>"
                              "<Entry><ID>5</ID><QuestionData><Question/></QuestionData></Entry>";
    const Case cases[] = {
        {"the file's counter above the IDs", "<FormData GlobalID=7>" + forms + "</FormData>", 7},
        {"the file's counter below the IDs", "<FormData GlobalID=2>" + forms + "</FormData>", 6},
        {"a quoted counter", "<FormData GlobalID=\"9\">" + forms + "</FormData>", 6},
        {"no counter", "<FormData>" + forms + "</FormData>", 6},
        {"a negative counter", "<FormData GlobalID=-4>" + forms + "</FormData>", 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_store->Clear();
        CScoreFormManager::DeleteInstance();
        m_store = CScoreFormManager::GetInstance();
        ASSERT_TRUE(LoadContent(c.content));
        EXPECT_EQ(c.next, m_store->GetNextFormID());
        EXPECT_EQ(c.next + 1, m_store->GetNextFormID());
    }
}

TEST_F(ScoreFormManagerTest, FormsReadWithAHeldIdGetFreshOnes) {
    ASSERT_TRUE(LoadContent(
        "<FormData GlobalID=4><Entry><ID>1</ID><Title>A</Title><QuestionData><Question/>"
        "</QuestionData></Entry><Entry><ID>1</ID><Title>B</Title><QuestionData><Question/>"
        "</QuestionData></Entry><Entry><Title>C</Title><QuestionData><Question/>"
        "</QuestionData></Entry></FormData>"));
    EXPECT_EQ((std::vector<LONG>{1, 4, 5}), FormIds());
    EXPECT_STREQ("A", m_store->FindForm(1)->GetTitle());
    // An import appends: its forms keep their IDs unless the store holds them.
    ASSERT_TRUE(WriteWholeFile(
        Path("import.xml"), "<FormData GlobalID=3><Entry><ID>1</ID><Title>D</Title><QuestionData>"
                            "<Question/></QuestionData></Entry><Entry><ID>9</ID><Title>E</Title>"
                            "<QuestionData><Question/></QuestionData></Entry></FormData>"));
    ASSERT_TRUE(m_store->Load(Path("import.xml").c_str()));
    EXPECT_EQ((std::vector<LONG>{1, 4, 5, 10, 9}), FormIds());
    EXPECT_STREQ("D", m_store->FindForm(10)->GetTitle());
    EXPECT_EQ(11, m_store->GetNextFormID());
}

TEST_F(ScoreFormManagerTest, AddAndRemoveKeepIdsUnique) {
    EXPECT_EQ(0, m_store->GetNextFormID());
    EXPECT_TRUE(m_store->AddForm(MakeForm(0, "First")));
    EXPECT_FALSE(m_store->AddForm(MakeForm(0, "Same ID")));
    EXPECT_FALSE(m_store->AddForm(MakeForm(-1, "No ID")));
    EXPECT_TRUE(m_store->AddForm(MakeForm(8, "Given")));
    EXPECT_EQ(9, m_store->GetNextFormID());
    m_store->RemoveForm(8);
    EXPECT_EQ(10, m_store->GetNextFormID());
    EXPECT_EQ((std::vector<LONG>{0}), FormIds());
    // The store holds its own copy.
    CScoreFormEntry outside = MakeForm(20, "Outside");
    m_store->AddForm(outside);
    outside.SetTitle("Changed");
    EXPECT_STREQ("Outside", m_store->FindForm(20)->GetTitle());
}

TEST_F(ScoreFormManagerTest, CursorWalksTheFormsInOrder) {
    EXPECT_EQ(nullptr, m_store->GetFirstForm());
    EXPECT_EQ(nullptr, m_store->GetNextForm());
    for (LONG id : {4, 2, 7})
        m_store->AddForm(MakeForm(id, "F"));
    std::vector<LONG> walked;
    for (CScoreFormEntry* form = m_store->GetFirstForm(); form; form = m_store->GetNextForm())
        walked.push_back(form->GetID());
    EXPECT_EQ((std::vector<LONG>{4, 2, 7}), walked);
    EXPECT_EQ(nullptr, m_store->GetNextForm());
    EXPECT_EQ(2, m_store->GetFormAt(1)->GetID());
    EXPECT_EQ(7, m_store->GetNextForm()->GetID());
    EXPECT_EQ(nullptr, m_store->GetFormAt(3));
    EXPECT_EQ(nullptr, m_store->GetFormAt(-1));
    EXPECT_STREQ("", m_store->GetFormTitle(3));
    EXPECT_EQ(-1, m_store->GetFormId(-1));
    EXPECT_EQ(nullptr, m_store->FindForm(5));
}

TEST_F(ScoreFormManagerTest, FormCopiesOwnTheirQuestions) {
    CScoreFormEntry form = MakeForm(1, "F", 3);
    form.SetLastTotal(12.5);
    CScoreFormEntry copy(form);
    EXPECT_EQ(12.5, copy.GetLastTotal());
    EXPECT_STREQ("jdoe", copy.GetOwner());
    ASSERT_EQ(3, copy.GetQuestionCount());
    copy.SetQuestionValue(0, 8);
    copy.RemoveQuestionAt(2);
    EXPECT_EQ(0, form.GetQuestion(0)->GetValue());
    EXPECT_EQ(3, form.GetQuestionCount());
    form.SetQuestionValue(3, 10); // past the end: nothing
    form.SetQuestionValue(-1, 10);
    EXPECT_EQ(8, copy.GetQuestion(0)->GetValue());
    form.RemoveAllQuestions();
    EXPECT_EQ(2, copy.GetQuestionCount());
}

class ScoreFormManagerExitTest : public ::testing::Test {
protected:
    ScoreFormManagerExitTest() : m_folders("ZMScoreForms") {
        LocationSetting location{LocationSetting::MODE_ALL_USERS, CString()};
        CSettings::GetInstance()->SetCallScoreFormLocation(location);
    }
    ~ScoreFormManagerExitTest() override { CScoreFormManager::DeleteInstance(); }

    static std::string DefaultFile() { return CStoreTestFolders::File("scoreforms.xml"); }

    CStoreTestFolders m_folders;
};

// At exit the store writes its forms to the current location's file, but only
// forms it read from there: a store that never loaded (or lost every form)
// leaves the file as it is.
TEST_F(ScoreFormManagerExitTest, ExitSavesOnlyALoadedStoreWithForms) {
    const std::string original =
        "<FormData GlobalID=2><Entry><ID>1</ID><Title>Kept</Title><QuestionData><Question/>"
        "</QuestionData></Entry></FormData>";
    ASSERT_TRUE(WriteWholeFile(DefaultFile(), original));
    CScoreFormManager::GetInstance()->AddForm(MakeForm(5, "Never loaded"));
    CScoreFormManager::DeleteInstance();
    EXPECT_EQ(original, ReadWholeFile(DefaultFile()));

    CScoreFormManager* store = CScoreFormManager::GetInstance();
    ASSERT_TRUE(store->Load(nullptr));
    ASSERT_EQ(1, store->GetFormCount());
    store->FindForm(1)->SetLastTotal(88);
    CScoreFormManager::DeleteInstance();
    EXPECT_NE(std::string::npos, ReadWholeFile(DefaultFile()).find("<LastTotal>88.00</LastTotal>"));

    store = CScoreFormManager::GetInstance();
    ASSERT_TRUE(store->Load(nullptr));
    store->RemoveForm(1);
    const std::string before = ReadWholeFile(DefaultFile());
    CScoreFormManager::DeleteInstance();
    EXPECT_EQ(before, ReadWholeFile(DefaultFile()));
}

} // namespace
