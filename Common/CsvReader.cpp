#include "CsvReader.h"

#include "framework/UnixPath.h"

#include <cstdlib>

CCsvReader::CCsvReader()
    : m_quote('\0'), m_escape('\\'), m_separator(','), m_lineEnd('\n'), m_rowsToSkip(0),
      m_rowCount(0), m_file(nullptr), m_mode(MODE_PLAIN), m_moreRows(false) {}

CCsvReader::~CCsvReader() {
    Close();
}

void CCsvReader::Close() {
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
    m_moreRows = false;
}

void CCsvReader::SetQuote(char quote, int mode) {
    if (quote == '\0')
        return;
    m_quote = quote;
    m_mode = mode;
}

void CCsvReader::SetSeparator(char separator) {
    if (separator != '\0')
        m_separator = separator;
}

void CCsvReader::SetLineEnd(char lineEnd) {
    if (lineEnd != '\0')
        m_lineEnd = lineEnd;
}

void CCsvReader::SetHeaderRows(int rows) {
    m_rowsToSkip = rows;
}

bool CCsvReader::Open(const char* path) {
    Close();
    if (!path || !*path) {
        std::fprintf(stderr, "Fatal error : invalid input file %s\n", path ? path : "");
        return false;
    }
    // The C runtime here is the host's, which knows only Unix paths.
    std::string unixPath;
    if (UnixPathFromWindows(path, unixPath))
        m_file = std::fopen(unixPath.c_str(), "r");
    // A folder opens on Linux but fails the first read, so the peek tells it.
    int first = m_file ? std::getc(m_file) : EOF;
    if (!m_file || std::ferror(m_file)) {
        std::fprintf(stderr, "Fatal error : unable to open input file %s\n", path);
        Close();
        return false;
    }
    std::ungetc(first, m_file);
    m_moreRows = first != EOF;
    SkipHeaderRows();
    return true;
}

void CCsvReader::SkipHeaderRows() {
    std::string line;
    for (int skip = std::abs(m_rowsToSkip); skip > 0 && m_moreRows; --skip)
        ReadRawLine(line);
    m_rowCount = 0;
}

bool CCsvReader::ReadRawLine(std::string& line) {
    line.clear();
    if (!m_file)
        return false;
    int c;
    while ((c = std::getc(m_file)) != EOF) {
        if (c == '\r') {
            int next = std::getc(m_file);
            if (next == '\n')
                c = next;
            else if (next != EOF)
                std::ungetc(next, m_file);
        }
        line += static_cast<char>(c);
        if (static_cast<char>(c) == m_lineEnd)
            break;
    }
    if (c == EOF) {
        m_moreRows = false;
    } else {
        int next = std::getc(m_file);
        m_moreRows = next != EOF;
        if (m_moreRows)
            std::ungetc(next, m_file);
    }
    return !line.empty();
}

std::vector<std::string> CCsvReader::ReadRow() {
    std::string line;
    if (!ReadRawLine(line))
        return {};
    if (line.back() == m_lineEnd)
        line.pop_back();
    ++m_rowCount;
    switch (m_mode) {
    case MODE_PLAIN:
        return SplitPlain(line);
    case MODE_QUOTED:
        return SplitQuoted(line);
    default:
        return SplitUnquoting(line);
    }
}

std::vector<std::string> CCsvReader::SplitPlain(const std::string& text) const {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t end; (end = text.find(m_separator, start)) != std::string::npos; start = end + 1)
        fields.push_back(text.substr(start, end - start));
    fields.push_back(text.substr(start));
    return fields;
}

// Text outside the pairs (separators, blanks) is dropped. The quote and the
// escape character stay in a field's text as they stand.
std::vector<std::string> CCsvReader::SplitQuoted(const std::string& text) const {
    std::vector<std::string> fields;
    bool inside = false;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != m_quote || (i > 0 && text[i - 1] == m_escape))
            continue;
        if (inside)
            fields.push_back(text.substr(start, i - start));
        else
            start = i + 1;
        inside = !inside;
    }
    if (fields.empty())
        fields.push_back(text);
    else if (inside)
        fields.push_back(text.substr(start));
    return fields;
}

// A field with the quote at one end only is kept as it stands, so a quoted
// text that holds the separator comes back in pieces that show where the quote
// was.
std::vector<std::string> CCsvReader::SplitUnquoting(const std::string& text) const {
    std::vector<std::string> fields = SplitPlain(text);
    for (std::string& field : fields) {
        if (field.size() >= 2 && field.front() == m_quote && field.back() == m_quote)
            field = field.substr(1, field.size() - 2);
    }
    return fields;
}
