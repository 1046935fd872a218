// OXParser.cpp: the markup parser's reading, tokens, elements, attributes,
// errors and files. Texts, references and "<!" / "<?" constructs are in
// OXParserText.cpp.
#include "OXParser.h"

#include "OXCharClass.h"
#include "TraceLog.h"

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace {

const char kRootName[] = "[Root]";
const int kEntityBuckets = 67;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

COXParser::COXParser()
    : m_entities(kEntityBuckets, true), m_token(TOKEN_NONE), m_begin(nullptr), m_pos(nullptr),
      m_lineStart(nullptr), m_line(1), m_entityGrowth(0), m_callback(nullptr), m_userData(nullptr) {
    LoadEntities();
    m_root.SetText(kRootName);
}

COXParser::~COXParser() {
    Reset();
}

void COXParser::SetErrorCallback(ErrorCallback callback, void* userData) {
    m_callback = callback;
    m_userData = userData;
}

void COXParser::Reset() {
    m_root.RemoveAll();
    m_root.SetText(kRootName);
    m_token = TOKEN_NONE;
}

const char* COXParser::GetErrorText(int code) const {
    switch (code) {
    case OXERR_NULL_BUFFER:
        return "NULL buffer passed in";
    case OXERR_END_OF_BUFFER:
        return "Unexpected end of buffer";
    case OXERR_OUT_OF_MEMORY:
        return "Out of memory";
    case OXERR_NO_TOKEN:
        return "Unable to retrieve a token";
    case OXERR_ILLEGAL_CHARACTER:
        return "Illegal characters encountered in token";
    case OXERR_UNEXPECTED_TOKEN:
        return "Unexpected token type";
    case OXERR_MISSING_END_TAG:
        return "Missing end tag";
    case OXERR_BAD_ENTITY:
        return "Bad entity string";
    case OXERR_BAD_INTEGER:
        return "Bad integer value";
    case OXERR_MISSING_END_BRACKET:
        return "Missing end bracket in tag";
    case OXERR_UNEXPECTED_END_TAG:
        return "Unexpected end tag";
    default:
        return "Unknown Error";
    }
}

// A null buffer is reported (there is nothing else to tell a reader why the
// parse failed) and, like every parse, leaves no tree of an earlier one behind.
BOOL COXParser::Parse(const char* buffer) {
    Reset();
    if (!buffer) {
        m_line = 1;
        m_pos = m_lineStart = nullptr;
        RaiseError(OXERR_NULL_BUFFER, "NULL buffer supplied.");
        return FALSE;
    }
    m_begin = m_pos = m_lineStart = buffer;
    BeginParse();
    BOOL ok;
    try {
        ok = ParseContent(&m_root, 0);
    } catch (const std::bad_alloc&) {
        RaiseError(OXERR_OUT_OF_MEMORY, "Out of memory while parsing.");
        ok = FALSE;
    }
    EndParse();
    return ok;
}

// A NUL byte would end the buffer early and silently drop the rest of the file,
// so a file holding one is refused where the NUL stands.
BOOL COXParser::ParseFile(const char* path) {
    Reset();
    DWORD size = 0;
    char* buffer = LoadFileBuffer(path, &size);
    if (!buffer)
        return FALSE;
    const char* nul = static_cast<const char*>(memchr(buffer, 0, size));
    BOOL ok = nul ? ReportNulInFile(buffer, nul) : Parse(buffer);
    GlobalFree(buffer);
    return ok;
}

BOOL COXParser::ReportNulInFile(const char* buffer, const char* nul) {
    m_begin = m_pos = m_lineStart = buffer;
    BeginParse();
    while (m_pos < nul)
        NextChar(false);
    ++m_pos; // the NUL itself is the character read
    RaiseError(OXERR_ILLEGAL_CHARACTER, "Illegal character (NUL) encountered.");
    EndParse();
    return FALSE;
}

char* COXParser::LoadFileBuffer(const char* path, DWORD* size) {
    if (size)
        *size = 0;
    if (!path)
        return nullptr;
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_RANDOM_ACCESS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        KWTRACE(("Cannot open %s (%u)", path, GetLastError()));
        return nullptr;
    }
    char* buffer = nullptr;
    LARGE_INTEGER fileSize;
    if (!GetFileSizeEx(file, &fileSize)) {
        KWTRACE_ERROR(("Cannot read the size of %s (%u)", path, GetLastError()));
    } else if (fileSize.QuadPart >= INT_MAX) {
        // Positions in the buffer are 32-bit: no data file of ours comes near.
        KWTRACE_ERROR(("%s is too large to parse (%lld bytes)", path,
                       static_cast<long long>(fileSize.QuadPart)));
    } else {
        DWORD wanted = static_cast<DWORD>(fileSize.QuadPart);
        buffer = static_cast<char*>(GlobalAlloc(GMEM_FIXED, wanted + 1));
        DWORD total = 0, read = 0;
        while (buffer && total < wanted &&
               ReadFile(file, buffer + total, wanted - total, &read, nullptr) && read > 0)
            total += read;
        if (!buffer || total < wanted) {
            KWTRACE_ERROR(("Cannot read %s (%u)", path, GetLastError()));
            if (buffer)
                GlobalFree(buffer);
            buffer = nullptr;
        } else {
            buffer[total] = 0;
            if (size)
                *size = total;
        }
    }
    CloseHandle(file);
    return buffer;
}

void COXParser::BeginParse() {
    m_line = 1;
    m_token = TOKEN_NONE;
    m_entityGrowth = 0;
    m_root.SetText(kRootName);
}

void COXParser::EndParse() {
    // The buffer belongs to the caller and may go once the parse returns.
    m_begin = m_pos = m_lineStart = nullptr;
}

int COXParser::OnError(int, const char*, int, int) {
    return 0;
}

// The message goes into a fixed buffer and is cut there: it quotes names and
// texts of the file, which can be of any length.
void COXParser::RaiseError(int code, const char* format, ...) {
    char message[512];
    va_list args;
    va_start(args, format);
    vsnprintf(message, sizeof message, format, args);
    va_end(args);
    long long column = (m_pos && m_lineStart) ? m_pos - m_lineStart : 0;
    int col = column > INT_MAX ? INT_MAX : static_cast<int>(column);
    if (m_callback)
        m_callback(code, message, m_line, col, m_userData);
    else
        OnError(code, message, m_line, col);
}

void COXParser::Unget(int n) {
    while (n-- > 0 && m_pos > m_begin)
        --m_pos;
}

void COXParser::SkipSpace() {
    while (COXCharClass::IsSpace(static_cast<unsigned char>(*m_pos))) {
        if (*m_pos == '\r' || *m_pos == '\n')
            NextChar(false);
        else
            ++m_pos;
    }
}

// Looks at the next characters and consumes the token's own characters only: a
// start tag leaves the name after "<", a "<!" declaration what follows "<!", and
// a name or text token consumes nothing. Every look past the first character
// follows a match of the one before, so it never passes the buffer's NUL.
int COXParser::GetToken(bool reportEnd) {
    SkipSpace();
    const char* p = m_pos;
    int token = TOKEN_NAME;
    int length = 0;
    switch (p[0]) {
    case 0:
        if (reportEnd)
            RaiseError(OXERR_END_OF_BUFFER, "Unexpected end of buffer.");
        token = TOKEN_NONE;
        break;
    case '<':
        if (p[1] == '/')
            token = TOKEN_END_TAG, length = 2;
        else if (p[1] == '?')
            token = TOKEN_PROCESSING, length = 2;
        else if (p[1] == '!' && p[2] == '-' && p[3] == '-')
            token = TOKEN_COMMENT, length = 4;
        else if (p[1] == '!')
            token = TOKEN_MARKUP, length = 2;
        else
            token = TOKEN_START_TAG, length = 1;
        break;
    case '>':
        token = TOKEN_CLOSE, length = 1;
        break;
    case '/':
        if (p[1] == '>')
            token = TOKEN_EMPTY_CLOSE, length = 2;
        break;
    case '-':
        if (p[1] == '-' && p[2] == '>')
            token = TOKEN_COMMENT_END, length = 3;
        break;
    case '=':
        token = TOKEN_EQUALS, length = 1;
        break;
    case '"':
        token = TOKEN_DOUBLE_QUOTE, length = 1;
        break;
    case '\'':
        token = TOKEN_SINGLE_QUOTE, length = 1;
        break;
    }
    m_pos += length;
    m_token = token;
    return token;
}

// A name ends at ">", "/", "=" or white space, which is left for the next
// token. The illegal character is read, so that the error points at it.
BOOL COXParser::ParseName(COXQuickString& name) {
    const char* start = m_pos;
    for (;;) {
        unsigned char c = static_cast<unsigned char>(*m_pos);
        if (COXCharClass::IsLeadByte(c) && static_cast<unsigned char>(m_pos[1]) >= 0x40)
            m_pos += 2;
        else if (COXCharClass::IsNameChar(c))
            ++m_pos;
        else
            break;
    }
    name.AppendN(start, static_cast<int>(m_pos - start));
    char c = *m_pos;
    if (c == 0) {
        RaiseError(OXERR_END_OF_BUFFER, "Unexpected end of buffer while name.");
        return FALSE;
    }
    if (c == '>' || c == '/' || c == '=' || COXCharClass::IsSpace(static_cast<unsigned char>(c)))
        return TRUE;
    NextChar(false);
    RaiseError(OXERR_ILLEGAL_CHARACTER, "Illegal character (%c) encountered while parsing name.",
               c);
    return FALSE;
}

BOOL COXParser::ParseContent(COXParserElement* element, int depth) {
    for (;;) {
        switch (GetToken(false)) {
        case TOKEN_NONE:
            if (depth == 0)
                return TRUE;
            RaiseError(OXERR_MISSING_END_TAG, "Missing end tag '%s'.", element->GetName());
            return FALSE;
        case TOKEN_START_TAG: {
            BOOL empty = FALSE;
            std::unique_ptr<COXParserElement> child(ParseStartTag(element, empty));
            if (!child)
                return FALSE;
            if (!empty) {
                // Nesting is bounded so that neither this recursion nor the
                // tree's destruction can run out of stack.
                if (depth >= MAX_DEPTH) {
                    RaiseError(OXERR_OUT_OF_MEMORY, "Elements nested deeper than %d levels.",
                               static_cast<int>(MAX_DEPTH));
                    return FALSE;
                }
                if (!ParseContent(child.get(), depth + 1))
                    return FALSE;
            }
            AddObject(element, child.release());
            break;
        }
        case TOKEN_END_TAG: {
            COXQuickString name;
            if (!ParseEndTag(name))
                return FALSE;
            if (depth == 0) {
                RaiseError(OXERR_UNEXPECTED_END_TAG, "Unexpected end tag '%s'.", name.GetText());
                break;
            }
            if (COXCharClass::Compare(name.GetText(), element->GetName(), false) == 0)
                return TRUE;
            RaiseError(OXERR_MISSING_END_TAG, "Expecting end tag '%s'. Found end tag '%s' instead.",
                       element->GetName(), name.GetText());
            return FALSE;
        }
        case TOKEN_PROCESSING:
            if (!ParseProcessingInstruction(element))
                return FALSE;
            break;
        case TOKEN_COMMENT:
            if (!ParseComment(element))
                return FALSE;
            break;
        case TOKEN_MARKUP:
            if (!ParseMarkup(element))
                return FALSE;
            break;
        case TOKEN_EQUALS:
        case TOKEN_DOUBLE_QUOTE:
        case TOKEN_SINGLE_QUOTE:
            Unget(1); // a text may begin with "=" or a quote
            if (!ParseText(element))
                return FALSE;
            break;
        case TOKEN_NAME:
            if (!ParseText(element))
                return FALSE;
            break;
        default: // ">", "/>" or "-->" where content was expected
            RaiseError(OXERR_UNEXPECTED_TOKEN, "Unexpected token.");
            return FALSE;
        }
    }
}

COXParserElement* COXParser::ParseStartTag(COXParserElement*, BOOL& empty) {
    int token = GetToken(false);
    if (token == TOKEN_NONE) {
        RaiseError(OXERR_END_OF_BUFFER, "Unexpected end of buffer while searching for tag name.");
        return nullptr;
    }
    if (token != TOKEN_NAME) {
        RaiseError(OXERR_UNEXPECTED_TOKEN, "Expecting tag name - none found.");
        return nullptr;
    }
    std::unique_ptr<COXParserElement> element(new (std::nothrow) COXParserElement);
    if (!element) {
        RaiseError(OXERR_OUT_OF_MEMORY, "Unable to create new parser Element");
        return nullptr;
    }
    if (!ParseName(element->m_text) || !ParseAttributes(element.get()))
        return nullptr;
    if (m_token != TOKEN_CLOSE && m_token != TOKEN_EMPTY_CLOSE) {
        RaiseError(OXERR_MISSING_END_BRACKET, "Closing bracket for start tag '%s' not found.",
                   element->GetName());
        return nullptr;
    }
    empty = m_token == TOKEN_EMPTY_CLOSE;
    return element.release();
}

void COXParser::AddObject(COXParserElement* parent, COXParserObject* object) {
    parent->AddChild(object);
}

// Ends at the first token that is not a name, which stays in m_token.
BOOL COXParser::ParseAttributes(COXParserElement* element) {
    while (GetToken(true) == TOKEN_NAME) {
        std::unique_ptr<COXAttribute> attribute(new (std::nothrow) COXAttribute);
        if (!attribute) {
            RaiseError(OXERR_OUT_OF_MEMORY, "Unable to create new attribute (element %s)",
                       element->GetName());
            return FALSE;
        }
        if (!ParseName(attribute->m_text))
            return FALSE;
        int token = GetToken(true);
        const bool afterEquals = token == TOKEN_EQUALS;
        if (afterEquals)
            token = GetToken(true);
        if (token == TOKEN_NONE) {
            RaiseError(OXERR_NO_TOKEN, "Error while parsing attribute (element %s, name %s).",
                       element->GetName(), attribute->GetText());
            return FALSE;
        }
        BOOL ok;
        if (afterEquals && token == TOKEN_NAME) {
            ok = ParseInteger(attribute.get(), element);
        } else if (afterEquals && (token == TOKEN_DOUBLE_QUOTE || token == TOKEN_SINGLE_QUOTE)) {
            ok = ParseQuoted(token == TOKEN_DOUBLE_QUOTE ? '"' : '\'', attribute->m_valueText);
            attribute->m_valueKind = COXAttribute::VALUE_TEXT;
        } else {
            RaiseError(OXERR_UNEXPECTED_TOKEN,
                       "Unexpected token while parsing attribute (element %s, name %s).",
                       element->GetName(), attribute->GetText());
            return FALSE;
        }
        if (!ok)
            return FALSE;
        element->AddAttribute(attribute.release());
    }
    return TRUE;
}

// An optional sign and decimal digits; no digits reads as 0. What follows the
// digits is left for the next token. A value beyond 32 bits is refused rather
// than wrapped into another number.
BOOL COXParser::ParseInteger(COXAttribute* attribute, const COXParserElement* element) {
    bool negative = false;
    if (*m_pos == '-' || *m_pos == '+')
        negative = *m_pos++ == '-';
    long long value = 0;
    while (IsDigit(*m_pos)) {
        if (value <= INT_MAX)
            value = value * 10 + (*m_pos - '0');
        ++m_pos;
    }
    if (*m_pos == 0) {
        RaiseError(OXERR_END_OF_BUFFER, "Unexpected end of buffer while parsing integer.");
        return FALSE;
    }
    if (value > (negative ? -static_cast<long long>(INT_MIN) : INT_MAX)) {
        RaiseError(OXERR_BAD_INTEGER,
                   "Integer out of range while parsing attribute (element %s, name %s).",
                   element->GetName(), attribute->GetText());
        return FALSE;
    }
    attribute->SetIntValue(static_cast<int>(negative ? -value : value));
    return TRUE;
}

BOOL COXParser::ParseQuoted(char quote, COXQuickString& text) {
    for (;;) {
        char c = NextChar(false);
        if (c == 0) {
            RaiseError(OXERR_END_OF_BUFFER, "Unexpected end of buffer while parsing string.");
            return FALSE;
        }
        if (c == quote)
            return TRUE;
        text.AppendChar(c);
    }
}

BOOL COXParser::ParseEndTag(COXQuickString& name) {
    int token = GetToken(true);
    if (token == TOKEN_NONE) {
        RaiseError(OXERR_NO_TOKEN, "Unexpected end of buffer while parsing endtag.");
        return FALSE;
    }
    if (token != TOKEN_NAME) {
        RaiseError(OXERR_UNEXPECTED_TOKEN, "Missing end tag name.");
        return FALSE;
    }
    if (!ParseName(name))
        return FALSE;
    if (GetToken(false) != TOKEN_CLOSE) {
        RaiseError(OXERR_NO_TOKEN, "Missing end bracket while parsing end tag '%s'.",
                   name.GetText());
        return FALSE;
    }
    return TRUE;
}
