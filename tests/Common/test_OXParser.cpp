#include "native/gtest.h"

#include "Common/OXHashTable.h"
#include "Common/OXParser.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

struct Reported {
    int code;
    std::string message;
    int line;
    int column;
};

// A parser that keeps every error it reports.
class CRecordingParser : public COXParser {
public:
    CRecordingParser() { SetErrorCallback(&CRecordingParser::Record, this); }

    std::vector<Reported> errors;
    std::vector<int> Codes() const {
        std::vector<int> codes;
        for (const Reported& e : errors)
            codes.push_back(e.code);
        return codes;
    }
    BOOL ParseText(const std::string& text) {
        errors.clear();
        return Parse(text.c_str());
    }

private:
    static int Record(int code, const char* message, int line, int column, void* self) {
        static_cast<CRecordingParser*>(self)->errors.push_back({code, message, line, column});
        return 0;
    }
};

COXParserElement* AsElement(COXParserObject* object) {
    return object && object->GetType() == COXParserObject::TYPE_ELEMENT
               ? static_cast<COXParserElement*>(object)
               : nullptr;
}

// The text of an element's first text child, as the readers take it; "<none>"
// when it has none.
std::string TextOf(const COXParserElement* element) {
    if (!element)
        return "<no element>";
    for (int i = 0; i < element->GetObjectCount(); ++i) {
        if (element->GetObject(i)->GetType() == COXParserObject::TYPE_TEXT)
            return element->GetObject(i)->GetText();
    }
    return "<none>";
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(bytes.size(), written);
}

// A score file as the scoring dialog writes it: declaration, CR LF lines,
// three spaces per level.
const char kScoreFile[] = "<?xml version=\"1.0\" standalone=\"yes\" ?>\r\n"
                          "<QuestionsScoringData>\r\n"
                          "<Entry>\r\n"
                          "   <ID>3</ID>\r\n"
                          "   <UserName>Ann O'Hara & Co</UserName>\r\n"
                          "   <Value>75.33</Value>\r\n"
                          "   <Time>1712000000</Time>\r\n"
                          "   <ScoredValues>\r\n"
                          "      <Entry>\r\n"
                          "         <ID>11</ID>\r\n"
                          "         <Value>7</Value>\r\n"
                          "      </Entry>\r\n"
                          "      <Entry>\r\n"
                          "         <ID>12</ID>\r\n"
                          "         <Value>-2</Value>\r\n"
                          "      </Entry>\r\n"
                          "   </ScoredValues>\r\n"
                          "</Entry>\r\n"
                          "</QuestionsScoringData>\r\n";

// ---------------------------------------------------------------------------
// The tree

TEST(OXParserTree, ElementsAttributesAndParents) {
    CRecordingParser parser;
    ASSERT_TRUE(parser.ParseText("<a><b x=5 y='t' z=-12 w=\"q r\"/></a>"));
    EXPECT_TRUE(parser.errors.empty());
    COXParserElement* root = parser.GetRoot();
    EXPECT_STREQ("[Root]", root->GetName());
    EXPECT_EQ(nullptr, root->GetParent());
    ASSERT_EQ(1, root->GetObjectCount());
    COXParserElement* a = AsElement(root->GetObject(0));
    ASSERT_NE(nullptr, a);
    EXPECT_STREQ("a", a->GetName());
    EXPECT_EQ(root, a->GetParent());
    ASSERT_EQ(1, a->GetObjectCount());
    COXParserElement* b = AsElement(a->GetObject(0));
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(0, b->GetObjectCount());
    EXPECT_EQ(nullptr, b->GetObject(0));
    EXPECT_EQ(nullptr, a->GetObject(-1));

    COXAttribute* x = b->FindAttribute("X", 0);
    COXAttribute* y = b->FindAttribute("y", 0);
    COXAttribute* z = b->FindAttribute("z", 1);
    COXAttribute* w = b->FindAttribute("w", 0);
    ASSERT_TRUE(x && y && z && w);
    EXPECT_EQ(b, x->GetParent());
    EXPECT_EQ(COXParserObject::TYPE_ATTRIBUTE, x->GetType());
    EXPECT_EQ(COXAttribute::VALUE_INTEGER, x->GetValueType());
    EXPECT_EQ(5, x->GetIntValue());
    EXPECT_EQ(COXAttribute::VALUE_TEXT, y->GetValueType());
    EXPECT_STREQ("t", y->GetValueText());
    EXPECT_EQ(0, y->GetIntValue());
    EXPECT_EQ(-12, z->GetIntValue());
    EXPECT_STREQ("q r", w->GetValueText());
    // Two integer texts held at once stay apart.
    const char* xText = x->GetValueText();
    const char* zText = z->GetValueText();
    EXPECT_STREQ("5", xText);
    EXPECT_STREQ("-12", zText);

    EXPECT_EQ(nullptr, b->FindAttribute("X", 1));
    EXPECT_EQ(nullptr, b->FindAttribute(nullptr, 0));
    EXPECT_EQ(nullptr, b->FindAttribute("v", 0));
}

TEST(OXParserTree, AttributeWithoutValueAndSetters) {
    COXAttribute attribute;
    EXPECT_EQ(COXAttribute::VALUE_NONE, attribute.GetValueType());
    EXPECT_EQ(0, attribute.GetIntValue());
    EXPECT_STREQ("", attribute.GetValueText());
    attribute.SetIntValue(-2147483647 - 1);
    EXPECT_STREQ("-2147483648", attribute.GetValueText());
    attribute.SetTextValue("abc");
    EXPECT_EQ(0, attribute.GetIntValue());
    EXPECT_STREQ("abc", attribute.GetValueText());
}

TEST(OXParserTree, EmptyAndNullBuffers) {
    CRecordingParser parser;
    ASSERT_TRUE(parser.ParseText("<a/>"));
    EXPECT_EQ(1, parser.GetRoot()->GetObjectCount());

    EXPECT_TRUE(parser.ParseText(""));
    EXPECT_EQ(0, parser.GetRoot()->GetObjectCount());
    EXPECT_TRUE(parser.errors.empty());

    ASSERT_TRUE(parser.ParseText("<a/>"));
    parser.errors.clear();
    EXPECT_FALSE(parser.Parse(nullptr));
    EXPECT_EQ(std::vector<int>{101}, parser.Codes());
    EXPECT_EQ(0, parser.GetRoot()->GetObjectCount()); // no tree of the earlier parse left
}

TEST(OXParserTree, OtherObjectKinds) {
    CRecordingParser parser;
    ASSERT_TRUE(parser.ParseText("<?xml version=\"1.0\" standalone=\"yes\" ?>\r\n"
                                 "<!-- a -- b -->\r\n"
                                 "<!ELEMENT r ANY>\r\n"
                                 "<r><![CDATA[x <y> & ]] z]]></r>"));
    COXParserElement* root = parser.GetRoot();
    ASSERT_EQ(4, root->GetObjectCount());
    EXPECT_EQ(COXParserObject::TYPE_PROCESSING_INSTRUCTION, root->GetObject(0)->GetType());
    EXPECT_STREQ("xml version=\"1.0\" standalone=\"yes\" ", root->GetObject(0)->GetText());
    EXPECT_EQ(COXParserObject::TYPE_COMMENT, root->GetObject(1)->GetType());
    EXPECT_STREQ(" a -- b ", root->GetObject(1)->GetText());
    EXPECT_EQ(COXParserObject::TYPE_MARKUP, root->GetObject(2)->GetType());
    EXPECT_STREQ("ELEMENT r ANY", root->GetObject(2)->GetText());
    COXParserElement* r = AsElement(root->GetObject(3));
    ASSERT_NE(nullptr, r);
    ASSERT_EQ(1, r->GetObjectCount());
    EXPECT_EQ(COXParserObject::TYPE_CDATA, r->GetObject(0)->GetType());
    EXPECT_STREQ("x <y> & ]] z", r->GetObject(0)->GetText());
}

// ---------------------------------------------------------------------------
// Texts and references

struct TextCase {
    const char* content;  // placed between <a> and </a>
    const char* expected; // the text child of a
    std::vector<int> codes;
    const char* message; // of the last error, when there is one
};

TEST(OXParserText, ReferencesAndTrimming) {
    const TextCase cases[] = {
        {"&lt;&gt;&amp;&#65;&#x42;&#X43;", "<>&ABC", {}, ""},
        {"&quot;&apos;", "\"'", {}, ""},
        {"&Agrave;&agrave;&iexcl;&yuml;", "\xC0\xE0\xA1\xFF", {}, ""},
        {"&nbsp;x&nbsp;", "x", {}, ""},
        {"a&nbsp;b", "a b", {}, ""},
        {"  one  two  ", "one  two", {}, ""},
        {"=x", "=x", {}, ""},
        {"\"quoted\" 'too'", "\"quoted\" 'too'", {}, ""},
        {"a > b", "a > b", {}, ""},
        {"x &bogus; y", "x &bogus; y", {108}, "Bad character entity '&bogus;' encountered."},
        {"&LT;", "&LT;", {108}, "Bad character entity '&LT;' encountered."},
        {"a &amp b", "a &amp b", {108}, "Missing ';' on character entity '&amp'."},
        {"tail &amp", "tail &amp", {108}, "Missing ';' on character entity '&amp'."},
        // A NUL would end the text; numbers above a byte do not fit one.
        {"a&#0;b", "a&#0;b", {108}, "Bad character entity '&#0;' encountered."},
        {"&#256;&#x141;",
         "&#256;&#x141;",
         {108, 108},
         "Bad character entity '&#x141;' encountered."},
        {"&#;&#x;&#12a;",
         "&#;&#x;&#12a;",
         {108, 108, 108},
         "Bad character entity '&#12a;' encountered."},
        {"&#00065;&#255;", "A\xFF", {}, ""},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.content);
        CRecordingParser parser;
        ASSERT_TRUE(parser.ParseText(std::string("<a>") + c.content + "</a>"));
        EXPECT_EQ(c.expected, TextOf(AsElement(parser.GetRoot()->GetObject(0))));
        EXPECT_EQ(c.codes, parser.Codes());
        if (!parser.errors.empty()) {
            EXPECT_EQ(c.message, parser.errors.back().message);
        }
    }
}

TEST(OXParserText, MissingSemicolonBeforeTagKeepsReferenceAndEndsText) {
    CRecordingParser parser;
    ASSERT_TRUE(parser.ParseText("<a>x&y<b/></a>"));
    COXParserElement* a = AsElement(parser.GetRoot()->GetObject(0));
    ASSERT_EQ(2, a->GetObjectCount());
    EXPECT_STREQ("x&y", a->GetObject(0)->GetText());
    EXPECT_EQ(std::vector<int>{108}, parser.Codes());
}

TEST(OXParserText, LineBreaksAreLineFeedsAndCounted) {
    CRecordingParser parser;
    ASSERT_TRUE(parser.ParseText("<a>\r\none\r\ntwo\rthree\nfour\r\n</a><b v='1\r\n2'/>"));
    EXPECT_EQ("one\ntwo\nthree\nfour", TextOf(AsElement(parser.GetRoot()->GetObject(0))));
    EXPECT_STREQ("1\n2",
                 AsElement(parser.GetRoot()->GetObject(1))->FindAttribute("v", 0)->GetValueText());

    // The '.' is the third character of the third line; the play history ends
    // its lines with CR CR LF, which counts as two line breaks.
    for (const char* text :
         {"<a>\r\n<b>\r\n<c.d/>", "<a>\n<b>\n<c.d/>", "<a>\r<b>\r<c.d/>", "<a>\r\r\n<c.d/>"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(text)));
        ASSERT_FALSE(parser.ParseText(text));
        ASSERT_EQ(std::vector<int>{105}, parser.Codes());
        EXPECT_EQ("Illegal character (.) encountered while parsing name.",
                  parser.errors[0].message);
        EXPECT_EQ(3, parser.errors[0].line);
        EXPECT_EQ(3, parser.errors[0].column);
    }
}

TEST(OXParserText, DoctypeDeclaresEntitiesForTheParsersLife) {
    CRecordingParser parser;
    ASSERT_TRUE(parser.ParseText("<!DOCTYPE r [\r\n"
                                 "  <!-- it's a \"note\" > -->\r\n"
                                 "  <!ENTITY co \"Acme > Corp\">\r\n"
                                 "  <!entity ver 2.1>\r\n"
                                 "  <!ATTLIST r x CDATA #IMPLIED>\r\n"
                                 "] >\r\n"
                                 "<r>&co; &ver;</r>"));
    EXPECT_TRUE(parser.errors.empty());
    COXParserElement* root = parser.GetRoot();
    ASSERT_EQ(2, root->GetObjectCount());
    EXPECT_EQ(COXParserObject::TYPE_MARKUP, root->GetObject(0)->GetType());
    EXPECT_STREQ("DOCTYPE r  ", root->GetObject(0)->GetText());
    EXPECT_EQ("Acme > Corp 2.1", TextOf(AsElement(root->GetObject(1))));

    ASSERT_TRUE(parser.ParseText("<r>&co;</r>"));
    EXPECT_EQ("Acme > Corp", TextOf(AsElement(parser.GetRoot()->GetObject(0))));
    CRecordingParser fresh;
    ASSERT_TRUE(fresh.ParseText("<r>&co;</r>"));
    EXPECT_EQ("&co;", TextOf(AsElement(fresh.GetRoot()->GetObject(0))));
}

TEST(OXParserText, DeclaredEntityExpansionIsBounded) {
    CRecordingParser parser;
    const std::string big(64 * 1024, 'x');
    std::string document = "<!DOCTYPE r [<!ENTITY e \"" + big + "\">]><r>";
    for (int i = 0; i < 300; ++i) // 300 x 64 KB: more than the 16 MB allowed
        document += "&e;";
    document += "</r>";
    EXPECT_FALSE(parser.ParseText(document));
    ASSERT_FALSE(parser.errors.empty());
    EXPECT_EQ(103, parser.errors.back().code);
    EXPECT_EQ("Entity references expand beyond 16777216 bytes.", parser.errors.back().message);

    // A few references are fine.
    ASSERT_TRUE(parser.ParseText("<r>&e;&e;</r>"));
    EXPECT_EQ(big + big, TextOf(AsElement(parser.GetRoot()->GetObject(0))));
}

// ---------------------------------------------------------------------------
// Errors

struct ErrorCase {
    const char* text;
    std::vector<int> codes;
    const char* message; // of the last error
    int line, column;    // of the last error
};

TEST(OXParserErrors, CodesMessagesAndPositions) {
    const ErrorCase cases[] = {
        {"<a><b></a>", {107}, "Expecting end tag 'b'. Found end tag 'a' instead.", 1, 10},
        {"<a>\r\n   <b>\r\n", {107}, "Missing end tag 'b'.", 3, 0},
        {"<a.b/>", {105}, "Illegal character (.) encountered while parsing name.", 1, 3},
        {"<b x=abc/>",
         {106},
         "Unexpected token while parsing attribute (element b, name abc).",
         1,
         10},
        {"<a>>", {106}, "Unexpected token.", 1, 4},
        {"<a>/></a>", {106}, "Unexpected token.", 1, 5},
        {"<a>--></a>", {106}, "Unexpected token.", 1, 6},
        {"<a x=2147483648/>",
         {109},
         "Integer out of range while parsing attribute (element a, name x).",
         1,
         15},
        {"<a x=\"abc", {102}, "Unexpected end of buffer while parsing string.", 1, 9},
        {"<!-- abc -", {102}, "Unexpected end of buffer while parsing comment.", 1, 10},
        {"<a><![CDATA[ abc ]]", {102}, "Unexpected end of buffer while CDATA.", 1, 19},
        {"<?xml abc ?",
         {102},
         "Unexpected end of buffer while parsing processing instruction.",
         1,
         11},
        {"<!DOCTYPE a [ <!ENTITY b 'c'>",
         {102},
         "Unexpected end of buffer while parsing DOCTYPE entry.",
         1,
         29},
        {"<!foo", {102}, "Unexpected end of buffer while parsing markup.", 1, 5},
        {"<a", {102}, "Unexpected end of buffer while name.", 1, 2},
        {"<a></a", {102}, "Unexpected end of buffer while name.", 1, 6},
        {"<", {102}, "Unexpected end of buffer while searching for tag name.", 1, 1},
        {"< >", {106}, "Expecting tag name - none found.", 1, 3},
        {"<a></a x>", {104}, "Missing end bracket while parsing end tag 'a'.", 1, 7},
        {"<a></>", {106}, "Missing end tag name.", 1, 6},
        {"<a></", {102, 104}, "Unexpected end of buffer while parsing endtag.", 1, 5},
        {"<a x>", {106}, "Unexpected token while parsing attribute (element a, name x).", 1, 5},
        {"<a x=>", {106}, "Unexpected token while parsing attribute (element a, name x).", 1, 6},
        {"<a x=", {102, 104}, "Error while parsing attribute (element a, name x).", 1, 5},
        {"<a x=12", {102}, "Unexpected end of buffer while parsing integer.", 1, 7},
        {"<a x=1 ", {102, 110}, "Closing bracket for start tag 'a' not found.", 1, 7},
        {"<a =1>", {110}, "Closing bracket for start tag 'a' not found.", 1, 4},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.text);
        CRecordingParser parser;
        EXPECT_FALSE(parser.ParseText(c.text));
        EXPECT_EQ(c.codes, parser.Codes());
        if (parser.errors.empty())
            continue;
        EXPECT_EQ(c.message, parser.errors.back().message);
        EXPECT_EQ(c.line, parser.errors.back().line);
        EXPECT_EQ(c.column, parser.errors.back().column);
    }
}

TEST(OXParserErrors, EndTagAtTopLevelIsSkipped) {
    CRecordingParser parser;
    ASSERT_TRUE(parser.ParseText("</x>\r\n<a><b/></A>"));
    ASSERT_EQ(std::vector<int>{201}, parser.Codes());
    EXPECT_EQ("Unexpected end tag 'x'.", parser.errors[0].message);
    ASSERT_EQ(1, parser.GetRoot()->GetObjectCount());
    EXPECT_STREQ("a", parser.GetRoot()->GetObject(0)->GetText());
}

TEST(OXParserErrors, FailureKeepsOnlyCompletedTopLevelObjects) {
    CRecordingParser parser;
    ASSERT_FALSE(parser.ParseText("<?xml version=\"1.0\"?><a/><b><c></b>"));
    COXParserElement* root = parser.GetRoot();
    ASSERT_EQ(2, root->GetObjectCount());
    EXPECT_EQ(COXParserObject::TYPE_PROCESSING_INSTRUCTION, root->GetObject(0)->GetType());
    EXPECT_STREQ("a", root->GetObject(1)->GetText());
}

TEST(OXParserErrors, UnquotedIntegersAtTheirLimits) {
    CRecordingParser parser;
    ASSERT_TRUE(parser.ParseText("<a min=-2147483648 max=+2147483647 none=- zero=000/>"));
    COXParserElement* a = AsElement(parser.GetRoot()->GetObject(0));
    EXPECT_EQ(-2147483647 - 1, a->FindAttribute("min", 0)->GetIntValue());
    EXPECT_EQ(2147483647, a->FindAttribute("max", 0)->GetIntValue());
    EXPECT_EQ(0, a->FindAttribute("none", 0)->GetIntValue());
    EXPECT_EQ(COXAttribute::VALUE_INTEGER, a->FindAttribute("zero", 0)->GetValueType());
    EXPECT_FALSE(parser.ParseText("<a v=-2147483649/>"));
    EXPECT_EQ(std::vector<int>{109}, parser.Codes());
    EXPECT_FALSE(parser.ParseText("<a v=99999999999999999999999999/>"));
    EXPECT_EQ(std::vector<int>{109}, parser.Codes());
}

// Names come from the file: a message quoting a long one is cut, not overrun.
TEST(OXParserErrors, LongNamesInMessagesAreCut) {
    const std::string name(5000, 'n');
    CRecordingParser parser;
    EXPECT_FALSE(parser.ParseText("<" + name + "><b></" + name + ">"));
    ASSERT_EQ(std::vector<int>{107}, parser.Codes());
    const std::string& message = parser.errors[0].message;
    EXPECT_EQ(511u, message.size());
    EXPECT_EQ("Expecting end tag 'b'. Found end tag 'nnn", message.substr(0, 41));

    EXPECT_FALSE(parser.ParseText("<a " + name + "=>"));
    EXPECT_EQ(511u, parser.errors.back().message.size());
}

TEST(OXParserErrors, NestingIsBounded) {
    auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i)
            text += "<e>";
        text += "x";
        for (int i = 0; i < depth; ++i)
            text += "</e>";
        return text;
    };
    CRecordingParser parser;
    ASSERT_TRUE(parser.ParseText(nested(COXParser::MAX_DEPTH)));
    const COXParserElement* e = parser.GetRoot();
    for (int i = 0; i < COXParser::MAX_DEPTH; ++i)
        e = AsElement(e->GetObject(0));
    EXPECT_EQ("x", TextOf(e));

    EXPECT_FALSE(parser.ParseText(nested(COXParser::MAX_DEPTH + 1)));
    EXPECT_EQ(std::vector<int>{103}, parser.Codes());
    EXPECT_EQ("Elements nested deeper than 256 levels.", parser.errors[0].message);
    EXPECT_EQ(0, parser.GetRoot()->GetObjectCount());
    EXPECT_FALSE(parser.ParseText(nested(100000))); // far beyond: still a clean failure
}

TEST(OXParserErrors, ErrorTexts) {
    COXParser parser;
    const std::pair<int, const char*> texts[] = {
        {101, "NULL buffer passed in"},
        {102, "Unexpected end of buffer"},
        {103, "Out of memory"},
        {104, "Unable to retrieve a token"},
        {105, "Illegal characters encountered in token"},
        {106, "Unexpected token type"},
        {107, "Missing end tag"},
        {108, "Bad entity string"},
        {109, "Bad integer value"},
        {110, "Missing end bracket in tag"},
        {201, "Unexpected end tag"},
        {0, "Unknown Error"},
        {111, "Unknown Error"},
    };
    for (const auto& t : texts)
        EXPECT_STREQ(t.second, parser.GetErrorText(t.first)) << t.first;
}

// Without a callback errors go to OnError.
TEST(OXParserErrors, OnErrorWithoutCallback) {
    class CCounting : public COXParser {
    public:
        int count = 0, lastCode = 0;
        int OnError(int code, const char*, int, int) override {
            ++count;
            lastCode = code;
            return 0;
        }
    } parser;
    EXPECT_FALSE(parser.Parse("<a>"));
    EXPECT_EQ(1, parser.count);
    EXPECT_EQ(107, parser.lastCode);
}

// ---------------------------------------------------------------------------
// Path lookup

class OXParserFind : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_parser.ParseText(kScoreFile)); }
    COXParserElement* Root() { return m_parser.GetRoot(); }
    CRecordingParser m_parser;
};

TEST_F(OXParserFind, PathsBelowTheElement) {
    EXPECT_EQ("3", TextOf(Root()->FindElement("QuestionsScoringData\\Entry\\ID", 0)));
    EXPECT_EQ("Ann O'Hara & Co",
              TextOf(Root()->FindElement("questionsscoringdata\\ENTRY\\username", 0)));
    EXPECT_EQ("7", TextOf(Root()->FindElement(
                       "QuestionsScoringData\\Entry\\ScoredValues\\Entry\\Value", 0)));
    COXParserElement* entry = Root()->FindElement("QuestionsScoringData\\Entry", 0);
    ASSERT_NE(nullptr, entry);
    EXPECT_EQ("75.33", TextOf(entry->FindElement("Value", 0)));
    EXPECT_EQ(entry, Root()->FindElement("QuestionsScoringData\\Entry\\", 0));
    EXPECT_EQ(entry, Root()->FindElement("QuestionsScoringData\\Entry\\\\ID", 0));
}

TEST_F(OXParserFind, EveryComponentMustExist) {
    const char* missing[] = {
        "",
        "\\QuestionsScoringData",
        "Nothing",
        "QuestionsScoringData\\Nothing",
        "QuestionsScoringData\\Missing\\Entry\\ID", // ID exists two levels down
        "QuestionsScoringData\\Entry\\Missing\\Value",
        "Entry", // not a child of the root
    };
    for (const char* path : missing) {
        SCOPED_TRACE(path);
        EXPECT_EQ(nullptr, Root()->FindElement(path, 0));
    }
    EXPECT_EQ(nullptr, Root()->FindElement(nullptr, 0));
    EXPECT_EQ(nullptr, Root()->FindElement("questionsscoringdata", 1));
    EXPECT_NE(nullptr, Root()->FindElement("QuestionsScoringData", 1));
}

// ---------------------------------------------------------------------------
// Files

TEST(OXParserFile, ScoreFileFromDisk) {
    CTempFolder folder;
    const std::string path = folder.File("0412-2_score.xml");
    WriteFileBytes(path, kScoreFile);
    CRecordingParser parser;
    ASSERT_TRUE(parser.ParseFile(path.c_str()));
    // User texts are written as they stand: the lone "&" is reported and kept.
    ASSERT_EQ(std::vector<int>{108}, parser.Codes());
    EXPECT_EQ("Missing ';' on character entity '&'.", parser.errors[0].message);
    EXPECT_EQ(5, parser.errors[0].line);
    COXParserElement* root = parser.GetRoot();
    EXPECT_EQ("Ann O'Hara & Co",
              TextOf(root->FindElement("QuestionsScoringData\\Entry\\UserName", 0)));
    ASSERT_EQ(2, root->GetObjectCount());
    EXPECT_EQ(COXParserObject::TYPE_PROCESSING_INSTRUCTION, root->GetObject(0)->GetType());
    COXParserElement* values = root->FindElement("QuestionsScoringData\\Entry\\ScoredValues", 0);
    ASSERT_NE(nullptr, values);
    ASSERT_EQ(2, values->GetObjectCount());
    EXPECT_EQ("-2", TextOf(AsElement(values->GetObject(1))->FindElement("value", 0)));

    DWORD size = 0;
    char* buffer = parser.LoadFileBuffer(path.c_str(), &size);
    ASSERT_NE(nullptr, buffer);
    EXPECT_EQ(sizeof kScoreFile - 1, size);
    EXPECT_EQ(std::string(kScoreFile), std::string(buffer, size + 1).c_str());
    EXPECT_EQ(0, buffer[size]);
    GlobalFree(buffer);
}

TEST(OXParserFile, UnreadableFilesFailWithoutATree) {
    CTempFolder folder;
    const std::string path = folder.File("list.reclist");
    WriteFileBytes(path, "<root>\r\n   <rec>C:\\a.zel</rec>\r\n</root>\r\n");
    CRecordingParser parser;
    ASSERT_TRUE(parser.ParseFile(path.c_str()));

    EXPECT_FALSE(parser.ParseFile(folder.File("missing.xml").c_str()));
    EXPECT_EQ(0, parser.GetRoot()->GetObjectCount());
    EXPECT_EQ(nullptr, parser.LoadFileBuffer(folder.File("missing.xml").c_str()));

    // The file is read without sharing: an open handle elsewhere makes it fail.
    HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    EXPECT_FALSE(parser.ParseFile(path.c_str()));
    CloseHandle(other);
    EXPECT_TRUE(parser.ParseFile(path.c_str()));
}

TEST(OXParserFile, NulInsideAFileIsAnError) {
    CTempFolder folder;
    const std::string path = folder.File("history.reclist");
    const std::string text = "<root>\r\r\n   <rec>C:\\a.zel</rec>\r\r\n   <rec>C:\\b";
    WriteFileBytes(path, text + std::string(1, '\0') + ".zel</rec>\r\r\n</root>\r\r\n");
    CRecordingParser parser;
    EXPECT_FALSE(parser.ParseFile(path.c_str()));
    ASSERT_EQ(std::vector<int>{105}, parser.Codes());
    EXPECT_EQ("Illegal character (NUL) encountered.", parser.errors[0].message);
    EXPECT_EQ(5, parser.errors[0].line);
    EXPECT_EQ(13, parser.errors[0].column);
    EXPECT_EQ(0, parser.GetRoot()->GetObjectCount());
}

// ---------------------------------------------------------------------------
// The entity table

TEST(OXHashTable, BucketsAndCaseModes) {
    COXHashTable sensitive(67, true), insensitive(67, false);
    // h = h * 33 + c over signed bytes: "ab" is 97 * 33 + 98 = 3299, 3299 % 67 = 16.
    EXPECT_EQ(16u, sensitive.BucketOf("ab"));
    EXPECT_EQ(16u, insensitive.BucketOf("AB"));
    // A byte above 0x7F counts negative: "\xFF" hashes as -1, 0xFFFFFFFF % 67 = 32.
    EXPECT_EQ(32u, sensitive.BucketOf("\xFF"));

    sensitive.SetValue("Key", "one");
    sensitive.SetValue("Key", "two");
    EXPECT_STREQ("two", sensitive.Lookup("Key"));
    EXPECT_EQ(nullptr, sensitive.Lookup("key"));
    insensitive.SetValue("Key", "one");
    EXPECT_STREQ("one", insensitive.Lookup("KEY"));
    sensitive.Clear();
    EXPECT_EQ(nullptr, sensitive.Lookup("Key"));
    EXPECT_EQ(nullptr, sensitive.Lookup(nullptr));
}

// A document may declare hundreds of thousands of entities: the chains must
// stay short, so the table grows with its keys and keeps finding every one.
TEST(OXHashTable, GrowsWithItsKeys) {
    for (bool caseSensitive : {true, false}) {
        SCOPED_TRACE(caseSensitive ? "case-sensitive" : "case-insensitive");
        COXHashTable table(67, caseSensitive);
        EXPECT_EQ(67, table.GetBucketCount());
        const int count = 20000;
        for (int i = 0; i < count; ++i)
            table.SetValue(("Key" + std::to_string(i)).c_str(), std::to_string(i).c_str());
        table.SetValue("Key7", "replaced");
        EXPECT_GE(table.GetBucketCount(), count / 2);
        int found = 0;
        for (int i = 0; i < count; ++i) {
            std::string key = "Key" + std::to_string(i);
            const char* value = table.Lookup(key.c_str());
            found += value && (i == 7 ? std::string("replaced") : std::to_string(i)) == value;
            EXPECT_LT(table.BucketOf(key.c_str()), static_cast<unsigned>(table.GetBucketCount()));
        }
        EXPECT_EQ(count, found);
        EXPECT_EQ(caseSensitive ? nullptr : table.Lookup("Key19999"), table.Lookup("KEY19999"));
        EXPECT_EQ(nullptr, table.Lookup("Key20000"));
        table.Clear();
        EXPECT_EQ(nullptr, table.Lookup("Key0"));
        table.SetValue("Key0", "again");
        EXPECT_STREQ("again", table.Lookup("Key0"));
    }
}

TEST(OXParserText, ManyDeclaredEntitiesAllResolve) {
    const int count = 5000;
    std::string document = "<!DOCTYPE r [";
    for (int i = 0; i < count; ++i)
        document += "<!ENTITY e" + std::to_string(i) + " \"v" + std::to_string(i) + "\">";
    document += "]><r>&e0;,&e2500;,&e4999;,&lt;,&eacute;</r>";
    CRecordingParser parser;
    ASSERT_TRUE(parser.ParseText(document));
    EXPECT_TRUE(parser.errors.empty());
    EXPECT_EQ("v0,v2500,v4999,<,\xe9", TextOf(AsElement(parser.GetRoot()->GetObject(1))));
    ASSERT_TRUE(parser.ParseText("<r>&e1234;</r>"));
    EXPECT_EQ("v1234", TextOf(AsElement(parser.GetRoot()->GetObject(0))));
}

// ---------------------------------------------------------------------------
// Malformed input
//
// Each input is placed so that its NUL is the last byte before an inaccessible
// page: a read past the end faults at once instead of passing unseen.

class CGuardedBuffer {
public:
    explicit CGuardedBuffer(size_t capacity) {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        m_page = info.dwPageSize;
        m_size = (capacity + m_page) / m_page * m_page;
        m_base = static_cast<char*>(
            VirtualAlloc(nullptr, m_size + m_page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old;
        VirtualProtect(m_base + m_size, m_page, PAGE_NOACCESS, &old);
    }
    ~CGuardedBuffer() { VirtualFree(m_base, 0, MEM_RELEASE); }
    bool IsValid() const { return m_base != nullptr; }
    const char* Place(const std::string& text) {
        char* start = m_base + m_size - text.size() - 1;
        memcpy(start, text.data(), text.size());
        start[text.size()] = 0;
        return start;
    }

private:
    size_t m_page = 0, m_size = 0;
    char* m_base = nullptr;
};

// Lengths of the lines of a text as the parser counts them: up to its first
// NUL, with CR LF, a lone CR and LF each one line break.
std::vector<int> LineLengths(const char* text) {
    std::vector<int> lengths(1, 0);
    for (const char* p = text; *p; ++p) {
        if (*p == '\r' || *p == '\n') {
            if (p[0] == '\r' && p[1] == '\n')
                ++p;
            lengths.push_back(0);
        } else {
            ++lengths.back();
        }
    }
    return lengths;
}

bool IsFatal(int code) {
    return code != 108 && code != 201;
}

// Parents, types and names of a tree are as the parser promises.
void ExpectWellFormedTree(const COXParserElement* element, int depth) {
    ASSERT_LE(depth, COXParser::MAX_DEPTH);
    for (int i = 0; i < element->GetObjectCount(); ++i) {
        const COXParserObject* child = element->GetObject(i);
        ASSERT_NE(nullptr, child);
        ASSERT_EQ(element, child->GetParent());
        int type = child->GetType();
        ASSERT_TRUE(type >= COXParserObject::TYPE_CDATA &&
                    type <= COXParserObject::TYPE_PROCESSING_INSTRUCTION)
            << type;
        if (type == COXParserObject::TYPE_ELEMENT) {
            ASSERT_STRNE("", child->GetText());
            ExpectWellFormedTree(static_cast<const COXParserElement*>(child), depth + 1);
        }
    }
}

// Success with a tree and only forgiven errors, or failure with a fatal error
// last; every error inside the input.
void ExpectConsistentResult(CRecordingParser& parser, const char* input) {
    BOOL ok = parser.Parse(input);
    const std::vector<int> lines = LineLengths(input);
    for (const Reported& e : parser.errors) {
        ASSERT_GE(e.line, 1);
        ASSERT_LE(e.line, static_cast<int>(lines.size()));
        ASSERT_GE(e.column, 0);
        ASSERT_LE(e.column, lines[e.line - 1]);
        ASSERT_LT(e.message.size(), 512u);
        ASSERT_FALSE(e.message.empty());
    }
    if (ok) {
        for (const Reported& e : parser.errors)
            ASSERT_FALSE(IsFatal(e.code)) << e.code << " " << e.message;
        ExpectWellFormedTree(parser.GetRoot(), 0);
    } else {
        ASSERT_FALSE(parser.errors.empty());
        ASSERT_TRUE(IsFatal(parser.errors.back().code));
    }
}

std::string ReportOf(const std::string& input, const CRecordingParser& parser) {
    std::string report = testing::PrintToString(input.substr(0, 200));
    for (const Reported& e : parser.errors)
        report += "\n  " + std::to_string(e.code) + " " + std::to_string(e.line) + ":" +
                  std::to_string(e.column) + " " + e.message;
    return report;
}

std::vector<std::string> SeedDocuments() {
    std::string reclist = "<root>\r\n";
    for (int i = 0; i < 4; ++i)
        reclist +=
            "   <rec>\\\\server\\calls\\2024\\03\\line " + std::to_string(i) + ".zel</rec>\r\n";
    reclist += "   <Folder>\\\\server\\calls</Folder>\r\n</root>\r\n";
    std::string history = reclist;
    for (size_t at = history.find("\r\n"); at != std::string::npos;
         at = history.find("\r\n", at + 3))
        history.insert(at, "\r");
    return {
        kScoreFile,
        reclist,
        history,
        "<?xml version=\"1.0\"?><!DOCTYPE s [<!ENTITY co 'Acme'>]><!-- c --><s a=1 b='x' c=\"y\">"
        "&co; &lt;&#65;&#x42;<![CDATA[ d ]]><?pi x?><t/><u v=-3>w</u></s></bad>",
    };
}

TEST(OXParserRobustness, MalformedInputsAlwaysGiveAConsistentResult) {
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::string> corpus;
    const char flips[] = {'<', '>', '/',  '!',  '?', '-',  '&', ';', '=',    '"',   '\'',
                          '[', ']', '\r', '\n', ' ', '\0', '#', 'x', '\x80', '\xFF'};
    for (const std::string& seed : SeedDocuments()) {
        for (size_t n = 0; n <= seed.size(); ++n)
            corpus.push_back(seed.substr(0, n));
        for (size_t i = 0; i < seed.size(); ++i) {
            for (char flip : flips) {
                std::string mutated = seed;
                mutated[i] = flip;
                corpus.push_back(mutated);
            }
            std::string removed = seed;
            removed.erase(i, 1);
            corpus.push_back(removed);
        }
    }
    const std::string huge(300000, 'v');
    corpus.push_back("<a x='" + huge + "'/>");
    corpus.push_back("<a x='" + huge);
    corpus.push_back("<a x=" + std::string(100000, '9') + "/>");
    corpus.push_back("<" + huge + "/>");
    corpus.push_back("<a>" + huge + "</a>");
    corpus.push_back("<a>&" + huge + "</a>");
    corpus.push_back("<a>" + std::string(100000, '&') + "</a>");
    corpus.push_back(std::string(100000, '<'));
    corpus.push_back(std::string(100000, '>'));
    corpus.push_back(std::string(100000, '\r'));
    corpus.push_back("<!--" + huge);
    corpus.push_back("<a><![CDATA[" + huge);
    corpus.push_back("<?" + huge);
    corpus.push_back("<!DOCTYPE [" + std::string(10000, '<'));
    corpus.push_back("<!DOCTYPE d [<!ENTITY " + huge);
    std::string deep, attributes = "<a";
    for (int i = 0; i < 20000; ++i)
        deep += "<d>";
    for (int i = 0; i < 5000; ++i)
        attributes += " a" + std::to_string(i) + "=" + std::to_string(i);
    corpus.push_back(deep);
    corpus.push_back(attributes + "/>");

    size_t longest = 0;
    for (const std::string& input : corpus)
        longest = std::max(longest, input.size());
    CGuardedBuffer guarded(longest + 1);
    ASSERT_TRUE(guarded.IsValid());
    CRecordingParser parser;
    for (const std::string& input : corpus) {
        parser.errors.clear();
        const char* placed = guarded.Place(input);
        ExpectConsistentResult(parser, placed);
        if (HasFatalFailure()) {
            ADD_FAILURE() << ReportOf(input, parser);
            return;
        }
    }
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 5.0) << corpus.size() << " inputs";
}

} // namespace
