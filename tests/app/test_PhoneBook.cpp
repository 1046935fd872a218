// Tests of the phone book: rows as CSV files of many makers write them, rows
// that hold too little, imports that read nothing, and the kept copy
// "phonebook.csv".
#include "native/gtest.h"

#include "PhoneBook.h"
#include "StoreTestFolders.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace {

typedef std::vector<std::pair<std::string, std::string>> Rows;

Rows BookRows() {
    Rows rows;
    CPhoneBook* book = CPhoneBook::GetInstance();
    for (int i = 0; i < book->GetCount(); ++i)
        rows.emplace_back(book->GetEntry(i)->GetName(), book->GetEntry(i)->GetNumber());
    return rows;
}

class PhoneBookTest : public ::testing::Test {
protected:
    PhoneBookTest() : m_folders("ZMPhoneBook") {}
    ~PhoneBookTest() override { delete CPhoneBook::GetInstance(); }

    static std::string Copy() { return CStoreTestFolders::File("phonebook.csv"); }

    // Imports the content from a file of the test's own folder.
    int Import(const std::string& content, const char* name = "import.csv") {
        const std::string path = m_files.File(name);
        EXPECT_TRUE(WriteWholeFile(path, content));
        return CPhoneBook::GetInstance()->ImportCsv(path.c_str());
    }

    CStoreTestFolders m_folders;
    CTempFolder m_files;
};

TEST_F(PhoneBookTest, RowsBecomeEntriesWhateverTheLineEnds) {
    struct Case {
        const char* name;
        std::string content; // with LF line ends
        Rows rows;
    };
    const std::string longName(200, 'n'), longNumber(200, '5');
    const Case cases[] = {
        {"a leading 9 goes, once",
         "Name,Number\nAnn,912\nBob,456\nCid,99\n",
         {{"Ann", "12"}, {"Bob", "456"}, {"Cid", "9"}}},
        {"quoted fields lose their quotes", "h\n\"Smith\",\"555\"\n", {{"Smith", "555"}}},
        {"every comma splits", "h\nSmith,John,555\n", {{"Smith", "John"}}},
        {"further fields are ignored", "h\na,1,2,3,4\n", {{"a", "1"}}},
        {"blanks are kept", "h\n Ann , 912\n", {{" Ann ", " 912"}}},
        {"a last row without a line end is kept",
         "h\nAnn,912\nBob,456",
         {{"Ann", "12"}, {"Bob", "456"}}},
        {"rows of fewer than two fields are passed over",
         "h\n\nlonely\nAnn,912\n\n",
         {{"Ann", "12"}}},
        {"texts are cut to 128 characters",
         "h\n" + longName + ",9" + longNumber + "\n",
         {{std::string(128, 'n'), std::string(128, '5')}}},
    };
    const char* lineEnds[] = {"\n", "\r\n", "\r\r\n"};
    for (const Case& c : cases) {
        for (const char* lineEnd : lineEnds) {
            SCOPED_TRACE(std::string(c.name) + " " + testing::PrintToString(std::string(lineEnd)));
            EXPECT_EQ(static_cast<int>(c.rows.size()), Import(WithLineEnds(c.content, lineEnd)));
            EXPECT_EQ(c.rows, BookRows());
        }
    }
}

TEST_F(PhoneBookTest, ASuccessfulImportReplacesTheBookAndKeepsACopy) {
    const std::string first = "Name,Number\r\nAnn,912\r\nBob,456\r\n";
    ASSERT_EQ(2, Import(first));
    EXPECT_EQ(first, ReadWholeFile(Copy()));

    const std::string second = "Name,Number\nZoe,777";
    ASSERT_EQ(1, Import(second, "second.csv"));
    EXPECT_EQ((Rows{{"Zoe", "777"}}), BookRows());
    EXPECT_EQ(second, ReadWholeFile(Copy()));
    // The copy went through a file beside it, which is gone.
    EXPECT_EQ(std::vector<std::string>{"phonebook.csv"}, CStoreTestFolders::Names());

    // The kept copy itself imports as any other file.
    ASSERT_EQ(1, CPhoneBook::GetInstance()->ImportCsv(Copy().c_str()));
    EXPECT_EQ(second, ReadWholeFile(Copy()));
}

// The user keeps the book they had when a file gives no row: the import
// reports 0, and neither the book nor "phonebook.csv" changes.
TEST_F(PhoneBookTest, AnImportThatReadsNoRowKeepsTheOldBook) {
    const std::string good = "Name,Number\nAnn,912\n";
    ASSERT_EQ(1, Import(good));
    struct Case {
        const char* name;
        const char* content; // null: no such file
    };
    const Case cases[] = {
        {"only its header", "Name,Number\r\n"},
        {"empty", ""},
        {"one-column rows", "Name\nAnn\nBob\n"},
        {"missing", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int read =
            c.content
                ? Import(c.content, "bad.csv")
                : CPhoneBook::GetInstance()->ImportCsv(m_files.File("no such file.csv").c_str());
        EXPECT_EQ(0, read);
        EXPECT_EQ((Rows{{"Ann", "12"}}), BookRows());
        EXPECT_EQ(good, ReadWholeFile(Copy()));
    }
    EXPECT_EQ(0, CPhoneBook::GetInstance()->ImportCsv(""));
    EXPECT_EQ(1, CPhoneBook::GetInstance()->GetCount());
}

TEST_F(PhoneBookTest, EntriesAndRemoveAll) {
    struct Case {
        const char* name;
        const char* number;
        const char* keptName;
        const char* keptNumber;
    };
    const Case cases[] = {
        {"Ann", "912", "Ann", "12"},  {"Bob", "99", "Bob", "9"},  {"Cid", "9", "Cid", ""},
        {"Dee", "190", "Dee", "190"}, {nullptr, nullptr, "", ""}, {"", "", "", ""},
    };
    for (const Case& c : cases) {
        CPhoneBookEntry entry(c.name, c.number);
        EXPECT_STREQ(c.keptName, entry.GetName());
        EXPECT_STREQ(c.keptNumber, entry.GetNumber());
    }

    CPhoneBook* book = CPhoneBook::GetInstance();
    EXPECT_EQ(book, CPhoneBook::GetInstance());
    ASSERT_EQ(2, Import("h\na,1\nb,2\n"));
    EXPECT_EQ(nullptr, book->GetEntry(2));
    EXPECT_EQ(nullptr, book->GetEntry(-1));
    book->RemoveAll();
    EXPECT_EQ(0, book->GetCount());
    EXPECT_EQ(nullptr, book->GetEntry(0));
}

} // namespace
