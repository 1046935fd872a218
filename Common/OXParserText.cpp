// OXParserText.cpp: the markup parser's character data: texts with their
// references and the entity table, comments, processing instructions, CDATA
// sections and "<!" declarations with a DOCTYPE's internal subset.
#include "OXParser.h"

#include "OXCharClass.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

// The HTML 4 Latin-1 entity names, for the characters 0xA1 to 0xFF in order.
const char* const kLatin1Names[] = {
    "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",
    "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",
    "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",
    "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",
    "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave", "Iacute",
    "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",
    "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",
    "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil", "egrave",
    "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",    "ntilde",
    "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave", "uacute",
    "ucirc",  "uuml",   "yacute", "thorn",  "yuml",
};
static_assert(sizeof kLatin1Names / sizeof kLatin1Names[0] == 0xFF - 0xA1 + 1,
              "one name per character from 0xA1 to 0xFF");

int DigitValue(char c, int base) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (base == 16 && c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool StartsWithNoCase(const char* text, const char* prefix) {
    for (; *prefix; ++text, ++prefix) {
        char a = *text, b = *prefix;
        if (a >= 'A' && a <= 'Z')
            a = static_cast<char>(a + ('a' - 'A'));
        if (b >= 'A' && b <= 'Z')
            b = static_cast<char>(b + ('a' - 'A'));
        if (a != b)
            return false;
    }
    return true;
}

bool IsSpace(char c) {
    return COXCharClass::IsSpace(static_cast<unsigned char>(c));
}

// Bytes that end a run of plain text: the end, a tag, a reference, a line break.
bool EndsTextRun(char c) {
    return c == 0 || c == '<' || c == '&' || c == '\r' || c == '\n';
}

} // namespace

void COXParser::LoadEntities() {
    static const char* const kMarkup[][2] = {
        {"lt", "<"}, {"gt", ">"}, {"amp", "&"}, {"apos", "'"}, {"quot", "\""}, {"nbsp", " "},
    };
    for (const auto& entity : kMarkup)
        m_entities.SetValue(entity[0], entity[1]);
    for (int c = 0xA1; c <= 0xFF; ++c) {
        const char text[2] = {static_cast<char>(c), 0};
        m_entities.SetValue(kLatin1Names[c - 0xA1], text);
    }
}

COXParserObject* COXParser::NewObject(int type) {
    COXParserObject* object = new (std::nothrow) COXParserObject(type);
    if (!object)
        RaiseError(OXERR_OUT_OF_MEMORY, "Unable to create new parser object");
    return object;
}

// Plain runs are copied whole; line breaks go through NextChar so that they
// are counted and read as line feeds.
BOOL COXParser::ParseText(COXParserElement* parent) {
    std::unique_ptr<COXParserObject> object(NewObject(COXParserObject::TYPE_TEXT));
    if (!object)
        return FALSE;
    COXQuickString& text = object->m_text;
    for (;;) {
        const char* run = m_pos;
        while (!EndsTextRun(*m_pos))
            ++m_pos;
        text.AppendN(run, static_cast<int>(m_pos - run));
        char c = *m_pos;
        if (c == 0 || c == '<')
            break;
        if (c == '&') {
            ++m_pos;
            if (!ParseReference(text))
                return FALSE;
        } else {
            text.AppendChar(NextChar(false));
        }
    }
    text.Trim();
    AddObject(parent, object.release());
    return TRUE;
}

// After "&": the name runs to ";", "<", white space or the end. A bad
// reference is reported and kept as written; the character that ended a name
// without ";" is left to be read as text.
BOOL COXParser::ParseReference(COXQuickString& text) {
    const char* start = m_pos;
    while (*m_pos != ';' && *m_pos != '<' && *m_pos != 0 && !IsSpace(*m_pos))
        ++m_pos;
    COXQuickString name;
    name.AppendN(start, static_cast<int>(m_pos - start));
    if (*m_pos != ';') {
        RaiseError(OXERR_BAD_ENTITY, "Missing ';' on character entity '&%s'.", name.GetText());
        text.AppendChar('&');
        text.AppendN(name.GetText(), name.GetLength());
        return TRUE;
    }
    ++m_pos;
    const int before = text.GetLength();
    if (!ResolveEntity(name.GetText(), text)) {
        RaiseError(OXERR_BAD_ENTITY, "Bad character entity '&%s;' encountered.", name.GetText());
        text.AppendChar('&');
        text.AppendN(name.GetText(), name.GetLength());
        text.AppendChar(';');
        return TRUE;
    }
    // A document may declare a long entity and reference it many times over;
    // the growth is bounded so that a small file cannot take all memory.
    const int growth = text.GetLength() - before - (name.GetLength() + 2);
    if (growth > 0)
        m_entityGrowth += growth;
    if (m_entityGrowth > MAX_ENTITY_GROWTH) {
        RaiseError(OXERR_OUT_OF_MEMORY, "Entity references expand beyond %d bytes.",
                   static_cast<int>(MAX_ENTITY_GROWTH));
        return FALSE;
    }
    return TRUE;
}

// Numeric references give one byte of the code page. 0 is refused, since a NUL
// would end the text for every reader, and so is anything above 255, which no
// byte can hold: both are unknown references and stay as written.
BOOL COXParser::ResolveEntity(const char* name, COXQuickString& text) {
    if (name[0] == '#') {
        const char* p = name + 1;
        int base = 10;
        if (*p == 'x' || *p == 'X') {
            base = 16;
            ++p;
        }
        if (!*p)
            return FALSE;
        int value = 0;
        for (; *p; ++p) {
            int digit = DigitValue(*p, base);
            if (digit < 0)
                return FALSE;
            value = value * base + digit;
            if (value > 0xFF)
                return FALSE;
        }
        if (value == 0)
            return FALSE;
        text.AppendChar(static_cast<char>(value));
        return TRUE;
    }
    const char* replacement = m_entities.Lookup(name);
    if (!replacement)
        return FALSE;
    text.Append(replacement);
    return TRUE;
}

BOOL COXParser::ReadUntil(const char* terminator, COXQuickString& text) {
    const size_t length = strlen(terminator);
    for (;;) {
        char c = *m_pos;
        if (c == 0)
            return FALSE;
        if (c == terminator[0] && strncmp(m_pos, terminator, length) == 0) {
            m_pos += length; // terminators hold no line break
            return TRUE;
        }
        text.AppendChar(NextChar(false));
    }
}

BOOL COXParser::ParseComment(COXParserElement* parent) {
    std::unique_ptr<COXParserObject> object(NewObject(COXParserObject::TYPE_COMMENT));
    if (!object)
        return FALSE;
    if (!ReadUntil("-->", object->m_text)) {
        RaiseError(OXERR_END_OF_BUFFER, "Unexpected end of buffer while parsing comment.");
        return FALSE;
    }
    AddObject(parent, object.release());
    return TRUE;
}

BOOL COXParser::ParseProcessingInstruction(COXParserElement* parent) {
    std::unique_ptr<COXParserObject> object(
        NewObject(COXParserObject::TYPE_PROCESSING_INSTRUCTION));
    if (!object)
        return FALSE;
    if (!ReadUntil("?>", object->m_text)) {
        RaiseError(OXERR_END_OF_BUFFER,
                   "Unexpected end of buffer while parsing processing instruction.");
        return FALSE;
    }
    AddObject(parent, object.release());
    return TRUE;
}

BOOL COXParser::ParseMarkup(COXParserElement* parent) {
    const bool isCData = strncmp(m_pos, "[CDATA[", 7) == 0;
    std::unique_ptr<COXParserObject> object(
        NewObject(isCData ? COXParserObject::TYPE_CDATA : COXParserObject::TYPE_MARKUP));
    if (!object)
        return FALSE;
    if (strncmp(m_pos, "DOCTYPE", 7) == 0) {
        if (!ParseDoctype(object->m_text)) {
            RaiseError(OXERR_END_OF_BUFFER,
                       "Unexpected end of buffer while parsing DOCTYPE entry.");
            return FALSE;
        }
    } else if (isCData) {
        m_pos += 7;
        if (!ReadUntil("]]>", object->m_text)) {
            RaiseError(OXERR_END_OF_BUFFER, "Unexpected end of buffer while CDATA.");
            return FALSE;
        }
    } else if (!ReadUntil(">", object->m_text)) {
        RaiseError(OXERR_END_OF_BUFFER, "Unexpected end of buffer while parsing markup.");
        return FALSE;
    }
    AddObject(parent, object.release());
    return TRUE;
}

// The text is the declaration without its internal subset, which only
// declares entities.
BOOL COXParser::ParseDoctype(COXQuickString& text) {
    for (;;) {
        char c = *m_pos;
        if (c == 0)
            return FALSE;
        if (c == '>') {
            ++m_pos;
            return TRUE;
        }
        if (c == '[') {
            ++m_pos;
            if (!ParseInternalSubset())
                return FALSE;
            continue;
        }
        text.AppendChar(NextChar(false));
    }
}

// Reads up to "]". Each "<...>" is one declaration: a quoted ">" does not end
// it, and a comment ends only at "-->".
BOOL COXParser::ParseInternalSubset() {
    for (;;) {
        char c = NextChar(false);
        if (c == 0)
            return FALSE;
        if (c == ']')
            return TRUE;
        if (c != '<')
            continue;
        if (strncmp(m_pos, "!--", 3) == 0) {
            COXQuickString comment;
            m_pos += 3;
            if (!ReadUntil("-->", comment))
                return FALSE;
            continue;
        }
        COXQuickString declaration;
        char quote = 0;
        for (;;) {
            c = NextChar(false);
            if (c == 0)
                return FALSE;
            if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                break;
            }
            declaration.AppendChar(c);
        }
        DeclareEntity(declaration);
    }
}

// "!ENTITY name replacement": the replacement is the quoted text without its
// quotes, or an unquoted word. Other declarations are ignored.
void COXParser::DeclareEntity(const COXQuickString& declaration) {
    const char* p = declaration.GetText();
    if (!StartsWithNoCase(p, "!ENTITY "))
        return;
    p += 8;
    while (IsSpace(*p))
        ++p;
    const char* name = p;
    while (*p && !IsSpace(*p))
        ++p;
    COXQuickString key;
    key.AppendN(name, static_cast<int>(p - name));
    while (IsSpace(*p))
        ++p;
    const char* value = p;
    if (*p == '"' || *p == '\'') {
        const char* close = strchr(p + 1, *p);
        value = p + 1;
        p = close ? close : p + strlen(p);
    } else {
        while (*p && !IsSpace(*p))
            ++p;
    }
    COXQuickString replacement;
    replacement.AppendN(value, static_cast<int>(p - value));
    if (!key.IsEmpty())
        m_entities.SetValue(key.GetText(), replacement.GetText());
}
