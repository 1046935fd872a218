// OXParser.h: COXParser, the markup parser with which the program reads its own
// XML data files (score forms and score files, questions, the call-score tree,
// the archive schedule and log, recording lists and the play history).
//
// A reader makes a parser, calls ParseFile (or Parse on a buffer), checks the
// result, walks the tree from GetRoot and deletes the parser. The tree lives
// until the next parse, Reset or the parser's destruction.
//
// What it reads: elements, attributes (quoted values are text, unquoted values
// integers), text with the five markup entities, nbsp (a plain space), the
// Latin-1 entity names and numeric references 1 to 255, comments, CDATA,
// processing instructions and "<!" declarations; a DOCTYPE's internal subset
// declares entities. It forgives an end tag at the top level that closes
// nothing (error 201) and a bad reference (error 108, kept as written); every
// other error fails the parse. Each error is reported with a code, a message,
// and the line and column of the last character read (both from 1; column 0
// before the first character of a line).
//
// Limits, each reported as error 103: elements nest at most MAX_DEPTH deep, and
// entities declared by a document may add at most MAX_ENTITY_GROWTH bytes to
// its texts. A NUL inside a file is error 105; Parse stops at the buffer's NUL.
//
// A parser and its tree belong to one thread at a time.
#pragma once

#include "OXHashTable.h"
#include "OXParserObject.h"

#include <windows.h>

class COXParser {
public:
    // Called for every error with the code, the message, the line, the column
    // and the user pointer; its result is not used.
    typedef int (*ErrorCallback)(int code, const char* message, int line, int column,
                                 void* userData);

    enum {
        OXERR_NULL_BUFFER = 101,
        OXERR_END_OF_BUFFER = 102,
        OXERR_OUT_OF_MEMORY = 103,
        OXERR_NO_TOKEN = 104,
        OXERR_ILLEGAL_CHARACTER = 105,
        OXERR_UNEXPECTED_TOKEN = 106,
        OXERR_MISSING_END_TAG = 107,
        OXERR_BAD_ENTITY = 108,
        OXERR_BAD_INTEGER = 109,
        OXERR_MISSING_END_BRACKET = 110,
        OXERR_UNEXPECTED_END_TAG = 201,
    };
    enum { MAX_DEPTH = 256, MAX_ENTITY_GROWTH = 16 * 1024 * 1024 };

    COXParser();
    virtual ~COXParser();
    COXParser(const COXParser&) = delete;
    COXParser& operator=(const COXParser&) = delete;

    void SetErrorCallback(ErrorCallback callback, void* userData);

    // Parses a NUL-terminated buffer below the root; the buffer is only read
    // and must outlive the call. FALSE for a null buffer or malformed markup.
    BOOL Parse(const char* buffer);
    // Reads the whole file and parses it. FALSE when it cannot be read (another
    // open handle counts) or does not parse.
    BOOL ParseFile(const char* path);
    // The whole file in a fixed global memory block, NUL-terminated; the caller
    // frees it with GlobalFree. Null when it cannot be opened or read. size, when
    // given, receives the number of bytes read.
    char* LoadFileBuffer(const char* path, DWORD* size = nullptr);

    // The document node, named "[Root]": the top-level objects are its children.
    COXParserElement* GetRoot() { return &m_root; }

    // Deletes the tree; the entities declared by documents stay.
    virtual void Reset();
    // The fixed text of an error code.
    virtual const char* GetErrorText(int code) const;

protected:
    // Token kinds.
    enum {
        TOKEN_NONE = -1,
        TOKEN_START_TAG = 0,   // "<" and a character other than "/", "?" or "!"
        TOKEN_END_TAG = 1,     // "</"
        TOKEN_PROCESSING = 2,  // "<?"
        TOKEN_CLOSE = 4,       // ">"
        TOKEN_EMPTY_CLOSE = 5, // "/>"
        TOKEN_COMMENT = 6,     // "<!--"
        TOKEN_MARKUP = 7,      // "<!" not followed by "--"
        TOKEN_COMMENT_END = 8, // "-->"
        TOKEN_EQUALS = 9,
        TOKEN_DOUBLE_QUOTE = 10,
        TOKEN_SINGLE_QUOTE = 11,
        TOKEN_NAME = 12, // anything else; nothing of it is consumed
    };

    virtual void BeginParse();
    virtual void EndParse();
    virtual BOOL ParseProcessingInstruction(COXParserElement* parent);
    virtual BOOL ParseMarkup(COXParserElement* parent);
    virtual BOOL ParseComment(COXParserElement* parent);
    virtual BOOL ParseText(COXParserElement* parent);
    virtual COXParserElement* ParseStartTag(COXParserElement* parent, BOOL& empty);
    virtual void AddObject(COXParserElement* parent, COXParserObject* object);
    virtual BOOL ParseAttributes(COXParserElement* element);
    virtual BOOL ParseContent(COXParserElement* element, int depth);
    virtual BOOL ParseEndTag(COXQuickString& name);
    virtual BOOL ResolveEntity(const char* name, COXQuickString& text);
    virtual int OnError(int code, const char* message, int line, int column);

    void RaiseError(int code, const char* format, ...) __attribute__((format(printf, 3, 4)));

private:
    // Reads one character: CR LF and a lone CR become LF, a line feed moves to
    // the next line. NUL at the end of the buffer, reported as error 102 when
    // reportEnd is set.
    char NextChar(bool reportEnd) {
        char c = *m_pos;
        if (c == 0) {
            if (reportEnd)
                RaiseError(OXERR_END_OF_BUFFER, "Unexpected end of buffer.");
            return 0;
        }
        ++m_pos;
        if (c == '\r') {
            if (*m_pos == '\n')
                ++m_pos;
            c = '\n';
        }
        if (c == '\n') {
            ++m_line;
            m_lineStart = m_pos;
        }
        return c;
    }
    // Steps back over n characters of the current token; tokens never hold a
    // line break.
    void Unget(int n);
    void SkipSpace();
    int GetToken(bool reportEnd);
    BOOL ParseName(COXQuickString& name);
    BOOL ParseInteger(COXAttribute* attribute, const COXParserElement* element);
    BOOL ParseQuoted(char quote, COXQuickString& text);
    BOOL ReadUntil(const char* terminator, COXQuickString& text);
    BOOL ParseDoctype(COXQuickString& text);
    BOOL ParseInternalSubset();
    void DeclareEntity(const COXQuickString& declaration);
    BOOL ParseReference(COXQuickString& text);
    COXParserObject* NewObject(int type); // null, reported, when memory runs out
    BOOL ReportNulInFile(const char* buffer, const char* nul);
    void LoadEntities();

    COXHashTable m_entities; // named references; documents' declarations are added
    COXParserElement m_root; // named "[Root]", no parent
    int m_token;             // kind of the last token read
    const char* m_begin;     // borrowed buffer, valid during a parse only
    const char* m_pos;       // next character to read
    const char* m_lineStart; // first character of the current line
    int m_line;
    long long m_entityGrowth; // bytes that declared entities added in this parse
    ErrorCallback m_callback;
    void* m_userData; // passed to m_callback, not owned
};
