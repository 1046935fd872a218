// Tests of CCsvReader: the three split modes, line ends, header rows, and bad
// input (missing or empty files, NULs, very long lines).
#include "native/gtest.h"

#include "Common/CsvReader.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

typedef std::vector<std::string> Row;
typedef std::vector<Row> Rows;

void WriteBytes(const std::string& path, const std::string& content) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, content.size());
}

// Reads the rows the way the phone book's import does: while more remain.
Rows ReadAll(CCsvReader& reader) {
    Rows rows;
    for (int guard = 0; reader.HasMore() && guard < 100000; ++guard)
        rows.push_back(reader.ReadRow());
    return rows;
}

class CsvReaderTest : public ::testing::Test {
protected:
    // Writes content to a new file and opens the reader on it.
    bool OpenWith(const std::string& content) {
        std::string path = m_folder.File("input" + std::to_string(++m_files) + ".csv");
        WriteBytes(path, content);
        return m_reader.Open(path.c_str());
    }

    CTempFolder m_folder;
    CCsvReader m_reader;
    int m_files = 0;
};

} // namespace

TEST_F(CsvReaderTest, SplitsRowsByMode) {
    struct Case {
        const char* name;
        int mode;
        std::string content;
        Rows rows;
    };
    const Case cases[] = {
        {"plain rows", CCsvReader::MODE_PLAIN, "a,b\nc,d\n", {{"a", "b"}, {"c", "d"}}},
        {"plain last line without line end",
         CCsvReader::MODE_PLAIN,
         "x,y\na,b",
         {{"x", "y"}, {"a", "b"}}},
        {"plain CR LF", CCsvReader::MODE_PLAIN, "a,b\r\nc\r\n", {{"a", "b"}, {"c"}}},
        {"plain lone CR stays", CCsvReader::MODE_PLAIN, "a\rb\n", {{"a\rb"}}},
        {"plain empty line", CCsvReader::MODE_PLAIN, "a\n\nb\n", {{"a"}, {""}, {"b"}}},
        {"plain empty fields", CCsvReader::MODE_PLAIN, ",a,,\n", {{"", "a", "", ""}}},
        {"plain keeps quotes", CCsvReader::MODE_PLAIN, "\"a\",b\n", {{"\"a\"", "b"}}},
        {"unquoting name and number",
         CCsvReader::MODE_UNQUOTING,
         "\"Ann Lee\",\"95551234\"\r\n",
         {{"Ann Lee", "95551234"}}},
        {"unquoting separator inside quotes",
         CCsvReader::MODE_UNQUOTING,
         "a,\"b,c\",d\n",
         {{"a", "\"b", "c\"", "d"}}},
        {"unquoting empty quoted field", CCsvReader::MODE_UNQUOTING, "\"\",\"x\"\n", {{"", "x"}}},
        {"unquoting lone quote", CCsvReader::MODE_UNQUOTING, "\",\"ab\n", {{"\"", "\"ab"}}},
        {"unquoting last field without line end",
         CCsvReader::MODE_UNQUOTING,
         "\"Bo\",\"123\"",
         {{"Bo", "123"}}},
        {"unquoting is mode 3 for any other value", 7, "\"a\",\"b\"\n", {{"a", "b"}}},
        {"quoted pairs", CCsvReader::MODE_QUOTED, "\"a\" , \"b c\"\n", {{"a", "b c"}}},
        {"quoted escaped quote", CCsvReader::MODE_QUOTED, "\"a\\\"b\",\"c\"\n", {{"a\\\"b", "c"}}},
        {"quoted without a pair is the whole line",
         CCsvReader::MODE_QUOTED,
         "no \"pair here\n",
         {{"no \"pair here"}}},
        {"quoted open quote after a pair", CCsvReader::MODE_QUOTED, "\"a\",\"bc\n", {{"a", "bc"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCsvReader reader;
        reader.SetQuote('"', c.mode);
        std::string path = m_folder.File("case.csv");
        WriteBytes(path, c.content);
        ASSERT_TRUE(reader.Open(path.c_str()));
        EXPECT_EQ(ReadAll(reader), c.rows);
        EXPECT_EQ(reader.GetRowCount(), static_cast<int>(c.rows.size()));
        EXPECT_TRUE(reader.ReadRow().empty()); // nothing past the end
    }
}

// The phone book's import, on a file saved without a final line end: the last
// number must not be lost.
TEST_F(CsvReaderTest, PhoneBookImportReadsEveryEntry) {
    m_reader.SetHeaderRows(1);
    ASSERT_TRUE(OpenWith("\"Name\",\"Number\"\r\n\"Ann\",\"9555\"\r\n\"Bo Li\",\"0123\""));
    m_reader.SetQuote('"', CCsvReader::MODE_UNQUOTING);
    m_reader.SetSeparator(',');
    m_reader.SetLineEnd('\n');
    Rows expected = {{"Ann", "9555"}, {"Bo Li", "0123"}};
    EXPECT_EQ(ReadAll(m_reader), expected);
    EXPECT_EQ(m_reader.GetRowCount(), 2);
}

TEST_F(CsvReaderTest, HeaderRowsAreSkippedByTheirAbsoluteValue) {
    m_reader.SetHeaderRows(-2);
    ASSERT_TRUE(OpenWith("h1\nh2\nd1\nd2\n"));
    EXPECT_EQ(m_reader.GetRowCount(), 0);
    Rows expected = {{"d1"}, {"d2"}};
    EXPECT_EQ(ReadAll(m_reader), expected);

    // Only the header: no data rows at all.
    for (std::string content : {"Name,Number\n", "Name,Number", "Name\r\n"}) {
        SCOPED_TRACE(content);
        m_reader.SetHeaderRows(1);
        ASSERT_TRUE(OpenWith(content));
        EXPECT_FALSE(m_reader.HasMore());
        EXPECT_TRUE(m_reader.ReadRow().empty());
    }
    // More header rows than the file has.
    m_reader.SetHeaderRows(5);
    ASSERT_TRUE(OpenWith("a\nb\n"));
    EXPECT_FALSE(m_reader.HasMore());
}

TEST_F(CsvReaderTest, SeparatorAndLineEndAreConfigurableAndNulIsIgnored) {
    m_reader.SetSeparator(';');
    m_reader.SetLineEnd('|');
    m_reader.SetSeparator('\0');
    m_reader.SetLineEnd('\0');
    m_reader.SetQuote('\0', CCsvReader::MODE_QUOTED); // ignored: stays plain
    ASSERT_TRUE(OpenWith("a;b,c|d\ne;f|"));
    Rows expected = {{"a", "b,c"}, {"d\ne", "f"}};
    EXPECT_EQ(ReadAll(m_reader), expected);
}

TEST_F(CsvReaderTest, OpenFailuresReportOnStandardErrorAndReadNothing) {
    std::string missing = m_folder.File("missing.csv");
    struct Case {
        const char* path;
        std::string message;
    };
    const Case cases[] = {
        {nullptr, "Fatal error : invalid input file \n"},
        {"", "Fatal error : invalid input file \n"},
        {missing.c_str(), "Fatal error : unable to open input file " + missing + "\n"},
        {m_folder.Path().c_str(),
         "Fatal error : unable to open input file " + m_folder.Path() + "\n"},
        {"C:\\no\\such\\folder\\x.csv",
         "Fatal error : unable to open input file C:\\no\\such\\folder\\x.csv\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path ? c.path : "(null)");
        testing::internal::CaptureStderr();
        bool opened = m_reader.Open(c.path);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.message);
        EXPECT_FALSE(opened);
        EXPECT_FALSE(m_reader.HasMore());
        EXPECT_TRUE(m_reader.ReadRow().empty());
    }
}

TEST_F(CsvReaderTest, BadContentIsReadSafely) {
    // An empty file has no rows.
    ASSERT_TRUE(OpenWith(""));
    EXPECT_FALSE(m_reader.HasMore());
    EXPECT_TRUE(m_reader.ReadRow().empty());
    EXPECT_EQ(m_reader.GetRowCount(), 0);

    // NULs are kept as bytes of their field; they end nothing.
    ASSERT_TRUE(OpenWith(std::string("a\0b,c\n\0,\0\n", 10)));
    Rows withNuls = {{std::string("a\0b", 3), "c"}, {std::string(1, '\0'), std::string(1, '\0')}};
    EXPECT_EQ(ReadAll(m_reader), withNuls);

    // A very long line, with and without its line end.
    std::string longField(3 * 1024 * 1024, 'n');
    for (const char* end : {"\n", ""}) {
        ASSERT_TRUE(OpenWith("x," + longField + end));
        Rows rows = ReadAll(m_reader);
        ASSERT_EQ(rows.size(), 1u);
        ASSERT_EQ(rows[0].size(), 2u);
        EXPECT_EQ(rows[0][1].size(), longField.size());
        EXPECT_EQ(rows[0][1], longField);
    }
}

TEST_F(CsvReaderTest, OpeningAgainStartsOverOnTheNewFile) {
    ASSERT_TRUE(OpenWith("a\nb\n"));
    EXPECT_EQ(m_reader.ReadRow(), Row{"a"});
    ASSERT_TRUE(OpenWith("c\n"));
    EXPECT_EQ(m_reader.GetRowCount(), 0);
    EXPECT_EQ(ReadAll(m_reader), Rows{{"c"}});
}
