// Tests of a recording's scores: the score file byte by byte, where it lies,
// recording a score from the stored form's answers, tolerant and malformed
// score files, saves that keep what they cannot read, copies and the cursor.
#include "native/gtest.h"

#include "ScoredFileListEntry.h"
#include "Scoring/ScoreFormManager.h"
#include "StoreTestFolders.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <ctime>
#include <string>
#include <utility>
#include <vector>

namespace {

typedef std::vector<std::pair<LONG, LONG>> Answers; // question ID, value

std::string Lines(const std::string& text) {
    return WithLineEnds(text, "\r\r\n");
}

Answers AnswersOf(const ScoreDataList& list) {
    Answers answers;
    for (const ScoreData& answer : list)
        answers.emplace_back(answer.QuestionID, answer.Value);
    return answers;
}

std::vector<LONG> FormIdsOf(CScoredFileListEntry& entry) {
    std::vector<LONG> ids;
    for (auto* score = entry.GetFirstScore(); score; score = entry.GetNextScore())
        ids.push_back(score->FormID);
    return ids;
}

class ScoredFileListEntryTest : public ::testing::Test {
protected:
    ScoredFileListEntryTest() : m_store(CScoreFormManager::GetInstance()) {
        m_store->SetFolder(m_folder.Path().c_str());
        // Form 3 with questions 12, 0 and 7 (a repository question may have ID 0).
        CScoreFormEntry form(3);
        form.SetTitle("Sales");
        for (LONG id : {12, 0, 7}) {
            CQuestion question(id);
            question.SetBias(100 / 3.0);
            form.AddQuestion(question);
        }
        m_store->AddForm(form);
        m_store->AddForm(CScoreFormEntry(4));
    }
    ~ScoredFileListEntryTest() override {
        m_store->Clear();
        CScoreFormManager::DeleteInstance();
    }

    // The answers the scoring dialog would have written into the stored form.
    void Answer(LONG formId, const std::vector<LONG>& values) {
        CScoreFormEntry* form = m_store->FindForm(formId);
        for (size_t i = 0; i < values.size(); ++i)
            form->SetQuestionValue(static_cast<int>(i), values[i]);
    }
    CScoredFileListEntry Recording(const char* path = "D:\\Calls\\0412-2.zel") {
        CScoredFileListEntry entry;
        entry.SetPath(path);
        return entry;
    }
    std::string ScoreFile(const char* name = "0412-2_score.xml") { return m_folder.File(name); }
    // Reads the content, written as the recording's score file, into a new entry.
    CScoredFileListEntry LoadContent(const std::string& content) {
        EXPECT_TRUE(WriteWholeFile(ScoreFile(), content));
        CScoredFileListEntry entry = Recording();
        entry.LoadScores(FALSE);
        return entry;
    }

    CTempFolder m_folder;
    CScoreFormManager* m_store;
};

TEST_F(ScoredFileListEntryTest, WritesTheScoreFileByteForByte) {
    CScoredFileListEntry entry = Recording();
    Answer(3, {8, -1, -2});
    entry.SetScore(3, "jdoe", 75.3333, 1700000000);
    entry.SetScore(4, "asmith", 100, 1700000500);
    ASSERT_TRUE(entry.SaveScores());
    EXPECT_EQ(Lines("<?xml version=\"1.0\" standalone=\"yes\" ?>\n"
                    "<QuestionsScoringData>\n"
                    "<Entry>\n"
                    "   <ID>3</ID>\n"
                    "   <UserName>jdoe</UserName>\n"
                    "   <Value>75.33</Value>\n"
                    "   <Time>1700000000</Time>\n"
                    "   <ScoredValues>\n"
                    "      <Entry>\n"
                    "         <ID>12</ID>\n"
                    "         <Value>8</Value>\n"
                    "      </Entry>\n"
                    "      <Entry>\n"
                    "         <ID>0</ID>\n"
                    "         <Value>-1</Value>\n"
                    "      </Entry>\n"
                    "      <Entry>\n"
                    "         <ID>7</ID>\n"
                    "         <Value>-2</Value>\n"
                    "      </Entry>\n"
                    "   </ScoredValues>\n"
                    "</Entry>\n"
                    "<Entry>\n"
                    "   <ID>4</ID>\n"
                    "   <UserName>asmith</UserName>\n"
                    "   <Value>100.00</Value>\n"
                    "   <Time>1700000500</Time>\n"
                    "   <ScoredValues>\n"
                    "   </ScoredValues>\n"
                    "</Entry>\n"
                    "</QuestionsScoringData>\n"),
              ReadWholeFile(ScoreFile()));
}

// Every answer comes back, that to question 0 included, with the scorer's
// name as written.
TEST_F(ScoredFileListEntryTest, ReadsBackWhatItWrote) {
    CScoredFileListEntry entry = Recording();
    Answer(3, {10, 0, 6});
    entry.SetScore(3, ">R&D <team>", 73.33, 1700000000);
    ASSERT_TRUE(entry.SaveScores());
    CScoredFileListEntry read = Recording();
    read.LoadScores(FALSE);
    ASSERT_EQ((std::vector<LONG>{3}), FormIdsOf(read));
    const auto* score = read.FindScore(3);
    EXPECT_STREQ(">R&D <team>", score->UserName);
    EXPECT_EQ(73.33, score->Value);
    EXPECT_EQ(1700000000, score->Time);
    EXPECT_EQ((Answers{{12, 10}, {0, 0}, {7, 6}}), AnswersOf(read.GetScoreData(3)));
}

TEST_F(ScoredFileListEntryTest, ScoreFileLiesInTheStoresFolderByBaseName) {
    struct Case {
        const char* name;
        const char* recording;
        const char* folder; // null: the test's folder
        std::string path;
    };
    const Case cases[] = {
        {"base name without extension", "D:\\Calls\\0412-2.zel", nullptr,
         ScoreFile("0412-2_score.xml")},
        {"only the last dot", "D:\\Calls\\a.b.zel", nullptr, ScoreFile("a.b_score.xml")},
        {"a dotted folder", "D:\\Calls.old\\name", nullptr, ScoreFile("name_score.xml")},
        {"forward slashes", "D:/Calls/x.zel", nullptr, ScoreFile("x_score.xml")},
        {"a folder without its separator", "D:\\Calls\\x.zel", "E:\\Scores",
         "E:\\Scores\\x_score.xml"},
        {"no path", "", nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_store->SetFolder(c.folder ? c.folder : m_folder.Path().c_str());
        CScoredFileListEntry entry = Recording(c.recording);
        EXPECT_STREQ(c.path.c_str(), entry.GetScoreFilePath());
    }
    // The file follows the path when the entry is given another one.
    m_store->SetFolder(m_folder.Path().c_str());
    CScoredFileListEntry moved = Recording("D:\\Calls\\first.zel");
    EXPECT_EQ(ScoreFile("first_score.xml"), std::string(moved.GetScoreFilePath()));
    moved.SetPath("D:\\Calls\\second.zel");
    EXPECT_EQ(ScoreFile("second_score.xml"), std::string(moved.GetScoreFilePath()));
    // Without a folder the files go to the current folder.
    m_store->SetFolder("");
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    CScoredFileListEntry entry = Recording();
    EXPECT_EQ(std::string(current) + "\\0412-2_score.xml", std::string(entry.GetScoreFilePath()));
}

TEST_F(ScoredFileListEntryTest, APathTooLongIsRefusedNotCut) {
    m_store->SetFolder((m_folder.Path() + std::string(240, 'f') + "\\").c_str());
    CScoredFileListEntry entry = Recording();
    Answer(3, {10, 10, 10});
    entry.SetScore(3, "jdoe", 100);
    EXPECT_STREQ("", entry.GetScoreFilePath());
    EXPECT_FALSE(entry.SaveScores());
}

TEST_F(ScoredFileListEntryTest, SetScoreRecordsTheFormsAnswers) {
    CScoredFileListEntry entry = Recording();
    entry.SetScore(99, "jdoe", 50, 1000);
    EXPECT_EQ(0, entry.GetScoreCount()) << "the store has no form 99";

    Answer(3, {8, 10, -1});
    const LONG before = static_cast<LONG>(time(nullptr));
    entry.SetScore(3, "jdoe", 75.33);
    const LONG after = static_cast<LONG>(time(nullptr));
    const auto* score = entry.FindScore(3);
    ASSERT_NE(nullptr, score);
    EXPECT_GE(score->Time, before);
    EXPECT_LE(score->Time, after);
    EXPECT_EQ(75.33, entry.GetCurrentScoreValue());
    EXPECT_EQ((Answers{{12, 8}, {0, 10}, {7, -1}}), AnswersOf(entry.GetScoreData(3)));

    // A second score of the form replaces everything of the first.
    entry.SetScore(4, "asmith", 10, 2000);
    Answer(3, {2, 0, 4});
    const std::string longName(200, 'u');
    entry.SetScore(3, longName.c_str(), 33.5, 3000);
    EXPECT_EQ(33.5, entry.GetCurrentScoreValue());
    EXPECT_EQ((std::vector<LONG>{3, 4}), FormIdsOf(entry));
    score = entry.FindScore(3);
    EXPECT_EQ(longName.substr(0, 127), score->UserName);
    EXPECT_EQ(33.5, score->Value);
    EXPECT_EQ(3000, score->Time);
    EXPECT_EQ((Answers{{12, 2}, {0, 0}, {7, 4}}), AnswersOf(entry.GetScoreData(3)));
}

// Score files written by other versions or by hand: what can be read is read.
TEST_F(ScoredFileListEntryTest, ReadsTolerantly) {
    struct Case {
        const char* name;
        std::string content;
        std::vector<LONG> forms;
        Answers firstAnswers;
    };
    const std::string answer = "<ScoredValues><Entry><ID>1</ID><Value>10</Value></Entry>"
                               "</ScoredValues>";
    const Case cases[] = {
        {"CR LF line ends",
         "<?xml version=\"1.0\"?>\r\n<QuestionsScoringData>\r\n<Entry>\r\n<ID>3</ID>\r\n"
         "<ScoredValues>\r\n<Entry>\r\n<ID>5</ID>\r\n<Value>6</Value>\r\n</Entry>\r\n"
         "</ScoredValues>\r\n</Entry>\r\n</QuestionsScoringData>\r\n",
         {3},
         {{5, 6}}},
        {"names in any case",
         "<questionsscoringdata><ENTRY><id>3</id><scoredvalues><entry><ID>1</ID><VALUE>-1</VALUE>"
         "</entry></scoredvalues></ENTRY></questionsscoringdata>",
         {3},
         {{1, -1}}},
        {"the first Entry of a form wins",
         "<QuestionsScoringData><Entry><ID>3</ID><UserName>first</UserName>" + answer +
             "</Entry><Entry><ID>3</ID><UserName>second</UserName>" + answer +
             "</Entry></QuestionsScoringData>",
         {3},
         {{1, 10}}},
        {"an Entry without answers is no score",
         "<QuestionsScoringData><Entry><ID>1</ID><ScoredValues></ScoredValues></Entry>"
         "<Entry><ID>2</ID></Entry><Entry><ID>3</ID>" +
             answer +
             "</Entry>"
             "</QuestionsScoringData>",
         {3},
         {{1, 10}}},
        {"answers without an ID or a value are dropped, ID 0 is kept",
         "<QuestionsScoringData><Entry><ID>3</ID><ScoredValues>"
         "<Entry><Value>4</Value></Entry><Entry><ID>2</ID></Entry>"
         "<Entry><ID>0</ID><Value>8</Value></Entry><Entry><ID>6</ID><Value></Value></Entry>"
         "</ScoredValues></Entry></QuestionsScoringData>",
         {3},
         {{0, 8}}},
        {"answers inside an extra element",
         "<QuestionsScoringData><Entry><ID>3</ID><ScoredValues><Group>"
         "<Entry><ID>1</ID><Value>2</Value></Entry></Group></ScoredValues></Entry>"
         "</QuestionsScoringData>",
         {3},
         {{1, 2}}},
        {"other elements are passed by",
         "<QuestionsScoringData><Other><Entry><ID>7</ID>" + answer +
             "</Entry></Other>"
             "<QuestionsScoringData><Entry><ID>3</ID>" +
             answer +
             "</Entry></QuestionsScoringData>"
             "</QuestionsScoringData>",
         {3},
         {{1, 10}}},
        {"a score for a form the store lacks is kept",
         "<QuestionsScoringData><Entry><ID>42</ID>" + answer + "</Entry></QuestionsScoringData>",
         {42},
         {{1, 10}}},
        {"a file that does not parse adds nothing",
         "<QuestionsScoringData><Entry><ID>3</ID>" + answer,
         {},
         {}},
        {"an empty file adds nothing", "", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CScoredFileListEntry entry = LoadContent(c.content);
        ASSERT_EQ(c.forms, FormIdsOf(entry));
        if (!c.forms.empty()) {
            EXPECT_EQ(c.firstAnswers, AnswersOf(entry.GetScoreData(c.forms[0])));
        }
    }
    CScoredFileListEntry first = LoadContent(cases[2].content);
    EXPECT_STREQ("first", first.FindScore(3)->UserName);
}

TEST_F(ScoredFileListEntryTest, ReadsFieldsAsTheCLibraryDoes) {
    CScoredFileListEntry entry = LoadContent(
        "<QuestionsScoringData><Entry><ID>3x</ID><UserName>  jdoe  </UserName>"
        "<Value>81.5%</Value><Time>17e3</Time><ScoredValues><Entry><ID>+4</ID><Value>-2 "
        "</Value></Entry></ScoredValues></Entry></QuestionsScoringData>");
    const auto* score = entry.FindScore(3);
    ASSERT_NE(nullptr, score);
    EXPECT_STREQ("jdoe", score->UserName);
    EXPECT_EQ(81.5, score->Value);
    EXPECT_EQ(17, score->Time);
    EXPECT_EQ((Answers{{4, -2}}), AnswersOf(entry.GetScoreData(3)));
}

TEST_F(ScoredFileListEntryTest, LoadWithoutForceKeepsHeldScores) {
    const std::string file =
        "<QuestionsScoringData><Entry><ID>3</ID><Value>50</Value><ScoredValues><Entry><ID>1</ID>"
        "<Value>10</Value></Entry></ScoredValues></Entry><Entry><ID>4</ID><ScoredValues><Entry>"
        "<ID>1</ID><Value>0</Value></Entry></ScoredValues></Entry></QuestionsScoringData>";
    CScoredFileListEntry entry = Recording();
    Answer(3, {10, 10, 10});
    entry.SetScore(3, "jdoe", 100, 1000);
    ASSERT_TRUE(WriteWholeFile(ScoreFile(), file));
    entry.LoadScores(FALSE);
    EXPECT_EQ((std::vector<LONG>{3}), FormIdsOf(entry));
    // Forced, the file's scores of forms the entry lacks join those it holds.
    entry.LoadScores(TRUE);
    EXPECT_EQ((std::vector<LONG>{3, 4}), FormIdsOf(entry));
    EXPECT_EQ(100, entry.FindScore(3)->Value);
    entry.ClearScores();
    EXPECT_EQ(nullptr, entry.GetFirstScore());
    EXPECT_EQ(file, ReadWholeFile(ScoreFile())) << "clearing leaves the file";
    entry.LoadScores(TRUE);
    EXPECT_EQ(50, entry.FindScore(3)->Value);
}

TEST_F(ScoredFileListEntryTest, SavesOnlyWhatItHoldsAndNeverOverAnUnreadableFile) {
    const std::string old = "<QuestionsScoringData><Entry><ID>3</ID>";
    ASSERT_TRUE(WriteWholeFile(ScoreFile(), old));
    CScoredFileListEntry entry = Recording();
    entry.LoadScores(FALSE);
    EXPECT_FALSE(entry.SaveScores()) << "no score to write";
    EXPECT_EQ(old, ReadWholeFile(ScoreFile()));

    Answer(3, {10, 10, 10});
    entry.SetScore(3, "jdoe", 100, 1000);
    ASSERT_TRUE(entry.SaveScores());
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(m_folder.File("*").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    do {
        if (found.cFileName[0] != '.')
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    ASSERT_EQ(2u, names.size()) << "the score file and the unreadable one set aside";
    const std::string& aside = names[0] == "0412-2_score.xml" ? names[1] : names[0];
    EXPECT_TRUE(IsUnreadableBackupOf(aside, "0412-2_score.xml")) << aside;
    EXPECT_EQ(old, ReadWholeFile(m_folder.File(aside)));
    CScoredFileListEntry read = Recording();
    read.LoadScores(FALSE);
    EXPECT_EQ((std::vector<LONG>{3}), FormIdsOf(read));
}

// Recordings of one base name in different folders share one score file.
TEST_F(ScoredFileListEntryTest, SameBaseNameSharesTheFile) {
    CScoredFileListEntry first = Recording("D:\\A\\call.zel");
    CScoredFileListEntry second = Recording("E:\\B\\call.zel");
    Answer(3, {10, 10, 10});
    first.SetScore(3, "jdoe", 100, 1000);
    ASSERT_TRUE(first.SaveScores());
    second.LoadScores(FALSE);
    EXPECT_EQ((std::vector<LONG>{3}), FormIdsOf(second));
}

TEST_F(ScoredFileListEntryTest, CopiesAreDeepAndTheBaseCopyHasNoScores) {
    CScoredFileListEntry entry = Recording();
    Answer(3, {8, 8, 8});
    entry.SetScore(3, "jdoe", 80, 1000);
    entry.SetScore(4, "jdoe", 0, 1000);
    CScoredFileListEntry copy(entry);
    EXPECT_STREQ(entry.GetPath(), copy.GetPath());
    EXPECT_EQ((std::vector<LONG>{3, 4}), FormIdsOf(copy));
    copy.FindScore(3)->Answers[0].Value = 2;
    strcpy(copy.FindScore(3)->UserName, "other");
    EXPECT_EQ(8, entry.GetScoreData(3)[0].Value);
    EXPECT_STREQ("jdoe", entry.FindScore(3)->UserName);

    CScoredFileListEntry assigned;
    assigned = copy;
    copy.ClearScores();
    EXPECT_EQ(2, assigned.FindScore(3)->Answers[0].Value);

    CScoredFileListEntry base(static_cast<const CKWFileListEntry&>(entry));
    EXPECT_STREQ(entry.GetPath(), base.GetPath());
    EXPECT_EQ(0, base.GetScoreCount());
}

TEST_F(ScoredFileListEntryTest, CursorAndLookups) {
    CScoredFileListEntry entry = Recording();
    EXPECT_EQ(nullptr, entry.GetFirstScore());
    EXPECT_EQ(nullptr, entry.GetNextScore());
    entry.SetScore(4, "a", 1, 1000);
    entry.SetScore(3, "b", 2, 1000);
    EXPECT_EQ(3, entry.GetScoreAt(1)->FormID);
    EXPECT_EQ(nullptr, entry.GetNextScore());
    EXPECT_EQ(nullptr, entry.GetScoreAt(2));
    EXPECT_EQ(nullptr, entry.GetScoreAt(-1));
    EXPECT_EQ(2, entry.GetCurrentScoreValue()) << "a miss leaves the cursor";
    EXPECT_EQ(1, entry.FindScoreIndex(3));
    EXPECT_EQ(-1, entry.FindScoreIndex(9));
    EXPECT_EQ(1, entry.HasScore(4));
    EXPECT_EQ(0, entry.HasScore(9));
    EXPECT_EQ(&CScoredFileListEntry::GetEmptyScoreData(), &entry.GetScoreData(9));
    EXPECT_TRUE(entry.GetScoreData(9).empty());
}

} // namespace
