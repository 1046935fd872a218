#include "native/gtest.h"

#include "Common/TraceLog.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <regex>
#include <string>
#include <vector>

namespace {

// Points the process-wide log at a private folder and turns it off again after
// the test, so that no other test writes into it.
class TraceLogTest : public ::testing::Test {
protected:
    TraceLogTest() : m_log(m_folder.File("trace.log")), m_backup(m_folder.File("trace.bak")) {
        g_TraceLog.SetPath(m_log.c_str(), m_backup.c_str());
    }
    ~TraceLogTest() override {
        g_TraceLog.SetLevel(CTraceLog::LEVEL_OFF);
        g_TraceLog.SetPath("", "");
    }

    std::string LogText() const { return ReadWholeFile(m_log); }

    CTempFolder m_folder;
    std::string m_log;
    std::string m_backup;
};

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

// The message part: everything after the second tab.
std::string MessageOf(const std::string& line) {
    size_t tab = line.find('\t', line.find('\t') + 1);
    return tab == std::string::npos ? std::string("<no message>") : line.substr(tab + 1);
}

std::string Today() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[16];
    wsprintfA(text, "%02u/%02u/%02u", now.wMonth, now.wDay, now.wYear % 100);
    return text;
}

// One fixed site, so that every line it writes has the same length.
void TraceFixedLine() {
    KWTRACE(("fixed line of text"));
}

DWORD WINAPI TraceFromOtherThread(void*) {
    KWTRACE(("from another thread"));
    return 0;
}

TEST_F(TraceLogTest, LineNamesFileLineThreadDateTimeAndText) {
    g_TraceLog.SetLevel(CTraceLog::LEVEL_ALL);
    std::string before = Today();
    const int line = __LINE__ + 1;
    KWTRACE(("value %d is %s", 42, "ok"));
    std::string after = Today();

    std::string text = LogText();
    std::smatch match;
    std::regex format("([^(]*)\\(([0-9]+)\\):\t\\(TID ([0-9A-F]+)\\) "
                      "([0-9]{2}/[0-9]{2}/[0-9]{2}) [0-2][0-9]:[0-5][0-9]:[0-5][0-9]\t(.*)\r\n");
    ASSERT_TRUE(std::regex_match(text, match, format)) << text;
    EXPECT_EQ("test_TraceLog.cpp", match[1].str());
    EXPECT_EQ(std::to_string(line), match[2].str());
    char tid[16];
    wsprintfA(tid, "%X", GetCurrentThreadId());
    EXPECT_EQ(tid, match[3].str());
    EXPECT_TRUE(match[4].str() == before || match[4].str() == after) << match[4].str();
    EXPECT_EQ("value 42 is ok", match[5].str());
}

TEST_F(TraceLogTest, LevelDecidesWhichLinesReachTheFile) {
    struct Case {
        int level;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {CTraceLog::LEVEL_OFF, {}},
        {CTraceLog::LEVEL_ERRORS, {"error"}},
        {CTraceLog::LEVEL_ALL, {"info", "error"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        DeleteFileA(m_log.c_str());
        g_TraceLog.SetLevel(c.level);
        KWTRACE(("info"));
        KWTRACE_ERROR(("error"));

        std::vector<std::string> messages;
        for (const std::string& line : SplitLines(LogText()))
            messages.push_back(MessageOf(line));
        EXPECT_EQ(c.expected, messages);

        // Every level leaves the lock: another thread can still trace.
        HANDLE thread = CreateThread(nullptr, 0, TraceFromOtherThread, nullptr, 0, nullptr);
        ASSERT_NE(nullptr, thread);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, INFINITE));
        CloseHandle(thread);
    }
}

TEST_F(TraceLogTest, OneTrailingLineFeedIsDroppedAndPercentSignsSurvive) {
    struct Case {
        const char* format;
        const char* argument;
        const char* expected;
    };
    const Case cases[] = {
        {"text\n", "", "text"}, {"text\n\n", "", "text\n"},      {"\n", "", ""},
        {"", "", ""},           {"100%% done", "", "100% done"}, {"rate %s", "50%", "rate 50%"},
        {"%s", "%d%s", "%d%s"},
    };
    g_TraceLog.SetLevel(CTraceLog::LEVEL_ALL);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        DeleteFileA(m_log.c_str());
        g_TraceLog.Enter();
        g_TraceLog.SetLine(1);
        g_TraceLog.SetFile("site.cpp");
        g_TraceLog.Trace(c.format, c.argument);
        std::string text = LogText();
        ASSERT_GE(text.size(), 2u);
        EXPECT_EQ("\r\n", text.substr(text.size() - 2));
        EXPECT_EQ(c.expected, MessageOf(text.substr(0, text.size() - 2)));
    }
}

TEST_F(TraceLogTest, SourcePathGivesItsLastComponent) {
    struct Case {
        const char* path;
        const char* base;
    };
    const Case cases[] = {
        {"..\\Common\\KWThread.cpp", "KWThread.cpp"},
        {"/work/main/Common/KWThread.cpp", "KWThread.cpp"},
        {"C:\\src/mixed\\Last.cpp", "Last.cpp"},
        {"plain.cpp", "plain.cpp"},
        {"folder\\", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.base, FindFileBaseName(c.path)) << c.path;
    EXPECT_STREQ("", FindFileBaseName(nullptr));

    g_TraceLog.SetLevel(CTraceLog::LEVEL_ERRORS);
    g_TraceLog.Enter();
    g_TraceLog.SetLine(77);
    g_TraceLog.SetFile("..\\Common\\Store.cpp");
    g_TraceLog.TraceError("x");
    EXPECT_EQ(0u, LogText().find("Store.cpp(77):\t(TID ")) << LogText();
}

TEST_F(TraceLogTest, LongMessageIsCutSoTheLineFits) {
    const std::string longName(300, 'n');
    struct Case {
        const char* file;
        size_t messageLength;
    };
    const Case cases[] = {{"short.cpp", 1023}, {"short.cpp", 5000}, {longName.c_str(), 5000}};
    g_TraceLog.SetLevel(CTraceLog::LEVEL_ALL);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.messageLength);
        DeleteFileA(m_log.c_str());
        std::string message(c.messageLength, 'm');
        g_TraceLog.Enter();
        g_TraceLog.SetLine(12345);
        g_TraceLog.SetFile(c.file);
        g_TraceLog.Trace("%s", message.c_str());

        std::string text = LogText();
        EXPECT_EQ(1024u, text.size());
        EXPECT_EQ("\r\n", text.substr(text.size() - 2));
        std::string name = std::string(c.file).substr(0, MAX_PATH - 1);
        EXPECT_EQ(0u, text.find(name + "(12345):\t(TID "));
        std::string written = MessageOf(text.substr(0, text.size() - 2));
        EXPECT_EQ(std::string(written.size(), 'm'), written);
    }
}

TEST_F(TraceLogTest, TracingKeepsTheLastErrorCode) {
    const std::string badPath = m_folder.File("missing\\folder\\trace.log");
    struct Case {
        int level;
        const char* path;
    };
    const Case cases[] = {
        {CTraceLog::LEVEL_OFF, m_log.c_str()},
        {CTraceLog::LEVEL_ALL, m_log.c_str()}, // the second line opens an existing file
        {CTraceLog::LEVEL_ALL, m_log.c_str()},
        {CTraceLog::LEVEL_ALL, badPath.c_str()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        g_TraceLog.SetLevel(c.level);
        g_TraceLog.SetPath(c.path, m_backup.c_str());
        SetLastError(0x1234);
        KWTRACE(("info"));
        EXPECT_EQ(0x1234u, GetLastError());
        SetLastError(0x4321);
        KWTRACE_ERROR(("error"));
        EXPECT_EQ(0x4321u, GetLastError());
    }
    EXPECT_FALSE(FileExists(badPath));
}

TEST_F(TraceLogTest, LogPassingTheLimitBecomesTheBackup) {
    g_TraceLog.SetLevel(CTraceLog::LEVEL_ALL);
    TraceFixedLine();
    const size_t lineLength = LogText().size();
    ASSERT_GT(lineLength, 0u);

    // Fill the log so that the next line ends exactly at the limit.
    HANDLE file = CreateFileA(m_log.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    std::string filler(CTraceLog::SIZE_LIMIT - lineLength, 'f');
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, filler.data(), filler.size(), &written, nullptr));
    CloseHandle(file);
    file = CreateFileA(m_backup.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    ASSERT_TRUE(WriteFile(file, "old backup", 10, &written, nullptr));
    CloseHandle(file);

    TraceFixedLine();
    EXPECT_EQ(size_t(CTraceLog::SIZE_LIMIT), LogText().size());
    EXPECT_EQ("old backup", ReadWholeFile(m_backup));

    TraceFixedLine();
    EXPECT_FALSE(FileExists(m_log));
    EXPECT_EQ(CTraceLog::SIZE_LIMIT + lineLength, ReadWholeFile(m_backup).size());

    TraceFixedLine();
    EXPECT_EQ(lineLength, LogText().size());
}

struct ThreadWork {
    int index;
    int lines;
};

DWORD WINAPI TraceManyLines(void* param) {
    const ThreadWork* work = static_cast<const ThreadWork*>(param);
    char file[32];
    wsprintfA(file, "thread%d.cpp", work->index);
    for (int i = 0; i < work->lines; ++i) {
        g_TraceLog.Enter();
        g_TraceLog.SetLine(i);
        g_TraceLog.SetFile(file);
        g_TraceLog.Trace("thread%d line %d", work->index, i);
    }
    return 0;
}

TEST_F(TraceLogTest, LinesOfConcurrentThreadsNeverMix) {
    g_TraceLog.SetLevel(CTraceLog::LEVEL_ALL);
    const int threadCount = 4, linesEach = 50;
    ThreadWork work[threadCount];
    HANDLE threads[threadCount];
    for (int t = 0; t < threadCount; ++t) {
        work[t] = {t, linesEach};
        threads[t] = CreateThread(nullptr, 0, TraceManyLines, &work[t], 0, nullptr);
        ASSERT_NE(nullptr, threads[t]);
    }
    WaitForMultipleObjects(threadCount, threads, TRUE, INFINITE);
    for (HANDLE thread : threads)
        CloseHandle(thread);

    std::vector<std::string> lines = SplitLines(LogText());
    ASSERT_EQ(size_t(threadCount * linesEach), lines.size());
    std::regex format("thread([0-9])\\.cpp\\(([0-9]+)\\):\t\\(TID [0-9A-F]+\\) [^\t]*\t"
                      "thread([0-9]) line ([0-9]+)");
    for (const std::string& line : lines) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, format)) << line;
        EXPECT_EQ(match[1].str(), match[3].str()) << line;
        EXPECT_EQ(match[2].str(), match[4].str()) << line;
    }
}

} // namespace
