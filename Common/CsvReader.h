// CsvReader.h: CCsvReader, a reader of delimited 8-bit text files (the phone
// book's CSV import).
//
// Rows end at the line-end character (line feed by default); a CR LF pair
// reads as a line feed, as the C runtime's text mode has it, so no field keeps
// a carriage return. A row is split by one of three modes:
//   MODE_PLAIN      fields end at each separator and at the line end;
//   MODE_QUOTED     fields are the texts between pairs of quote characters (a
//                   quote right after the escape character does not count);
//   MODE_UNQUOTING  split as plain, then a field that begins and ends with the
//                   quote character loses both.
// The last field of a last line without a line end is returned like any other.
// Open reports its failures on the standard error stream only; the caller shows
// its own message.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

class CCsvReader {
public:
    enum { MODE_PLAIN = 1, MODE_QUOTED = 2, MODE_UNQUOTING = 3 };

    // No quote, escape '\\', separator ',', line end '\n', no header rows,
    // MODE_PLAIN; nothing open.
    CCsvReader();
    ~CCsvReader(); // closes the file
    CCsvReader(const CCsvReader&) = delete;
    CCsvReader& operator=(const CCsvReader&) = delete;

    // A NUL character is ignored (and with it the mode). Any mode other than
    // MODE_PLAIN and MODE_QUOTED works as MODE_UNQUOTING.
    void SetQuote(char quote, int mode);
    void SetSeparator(char separator);
    void SetLineEnd(char lineEnd);
    // Rows that Open reads and drops (the absolute value counts).
    void SetHeaderRows(int rows);

    // Opens a Windows path for reading and skips the header rows. False, with a
    // "Fatal error : ..." line on stderr, for an empty path or a file that
    // cannot be opened or read. A file open before is closed first.
    bool Open(const char* path);
    // True while the file has unread characters.
    bool HasMore() const { return m_moreRows; }
    // The next row's fields; an empty line gives one empty field, and no line
    // left (or no file open) gives no fields. Callers check the count before
    // they index.
    std::vector<std::string> ReadRow();
    // Rows read since the header rows were skipped.
    int GetRowCount() const { return m_rowCount; }

private:
    void Close();
    void SkipHeaderRows();
    // The next line up to and including the line end; false when nothing was left.
    bool ReadRawLine(std::string& line);
    // Each takes the line without its line end.
    std::vector<std::string> SplitPlain(const std::string& text) const;
    std::vector<std::string> SplitQuoted(const std::string& text) const;
    std::vector<std::string> SplitUnquoting(const std::string& text) const;

    char m_quote;     // NUL: none
    char m_escape;    // a quote right after it does not count (MODE_QUOTED)
    char m_separator; // field separator
    char m_lineEnd;   // row terminator
    int m_rowsToSkip; // header rows for Open, by absolute value
    int m_rowCount;   // rows read since the header
    FILE* m_file;     // owns; null when nothing is open
    int m_mode;       // MODE_*
    bool m_moreRows;  // the file has unread characters
};
