#include "native/gtest.h"
#include "native/tinyxml.h"

#include "Common/KWXMLSettings.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <string>

namespace {

class KWXMLSettingsTest : public ::testing::Test {
protected:
    KWXMLSettingsTest() : m_xml(CKWXMLSettings::GetInstance()) {}
    ~KWXMLSettingsTest() override { CKWXMLSettings::DeleteInstance(); }

    // Loads a document whose root holds one element <value> with the given markup.
    TiXmlElement* LoadValue(const std::string& markup) {
        EXPECT_TRUE(WriteWholeFile(m_folder.File("value.xml"), "<root>" + markup + "</root>"));
        CString name, version;
        EXPECT_TRUE(m_xml->Load(m_folder.File("value.xml").c_str(), name, version)) << markup;
        return CKWXMLSettings::GetChild(m_xml->GetRootElement(), "value");
    }

    CTempFolder m_folder;
    CKWXMLSettings* m_xml;
};

TEST_F(KWXMLSettingsTest, NullNodesGiveNullOrFalseAndTheDefault) {
    EXPECT_EQ(nullptr, m_xml->GetRootElement());
    EXPECT_FALSE(m_xml->Save());
    EXPECT_EQ(nullptr, CKWXMLSettings::GetChild(nullptr, "a"));
    EXPECT_EQ(nullptr, CKWXMLSettings::NextSibling(nullptr, "a"));
    EXPECT_EQ(nullptr, CKWXMLSettings::AddElement(nullptr, "a"));
    EXPECT_FALSE(CKWXMLSettings::AddText(nullptr, "a"));
    EXPECT_FALSE(CKWXMLSettings::AddIntText(nullptr, 1));
    EXPECT_FALSE(CKWXMLSettings::SetAttribute(nullptr, "a", "b"));
    EXPECT_FALSE(CKWXMLSettings::SetAttribute(nullptr, "a", 1));
    int number = 0;
    CString text;
    EXPECT_FALSE(CKWXMLSettings::GetIntValue(nullptr, number, 42));
    EXPECT_EQ(42, number);
    EXPECT_FALSE(CKWXMLSettings::GetStringValue(nullptr, text, "dflt"));
    EXPECT_STREQ("dflt", text);
    EXPECT_FALSE(CKWXMLSettings::GetIntAttribute(nullptr, "a", number, 43));
    EXPECT_EQ(43, number);
    EXPECT_FALSE(CKWXMLSettings::GetStringAttribute(nullptr, "a", text, "dflt2"));
    EXPECT_STREQ("dflt2", text);
}

TEST_F(KWXMLSettingsTest, IntegerValuesReadAsDecimal) {
    struct Case {
        const char* markup;
        bool read;
        int value;
    };
    const Case cases[] = {
        {"<value>12</value>", true, 12},
        {"<value>-7</value>", true, -7},
        {"<value> 34 px</value>", true, 34},
        {"<value>2147483647</value>", true, 2147483647},
        {"<value>abc</value>", false, -1},
        {"<value>99999999999</value>", false, -1},
        {"<value></value>", false, -1},
        {"<value><n>5</n></value>", false, -1},
        {"<value><!-- 5 -->5</value>", false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.markup);
        int value = 0;
        EXPECT_EQ(c.read, CKWXMLSettings::GetIntValue(LoadValue(c.markup), value, -1));
        EXPECT_EQ(c.value, value);
    }
}

TEST_F(KWXMLSettingsTest, StringValuesAndAttributes) {
    CString text;
    EXPECT_TRUE(CKWXMLSettings::GetStringValue(LoadValue("<value>a &amp; b</value>"), text, "d"));
    EXPECT_STREQ("a & b", text);
    EXPECT_FALSE(CKWXMLSettings::GetStringValue(LoadValue("<value/>"), text, "d"));
    EXPECT_STREQ("d", text);

    TiXmlElement* value = LoadValue("<value n=\"8\" bad=\"x8\" s=\"text\"/>");
    int number = 0;
    EXPECT_TRUE(CKWXMLSettings::GetIntAttribute(value, "n", number, -1));
    EXPECT_EQ(8, number);
    EXPECT_FALSE(CKWXMLSettings::GetIntAttribute(value, "bad", number, -1));
    EXPECT_EQ(-1, number);
    EXPECT_FALSE(CKWXMLSettings::GetIntAttribute(value, "missing", number, -2));
    EXPECT_EQ(-2, number);
    EXPECT_TRUE(CKWXMLSettings::GetStringAttribute(value, "s", text, "d"));
    EXPECT_STREQ("text", text);
    EXPECT_FALSE(CKWXMLSettings::GetStringAttribute(value, "missing", text, "d"));
    EXPECT_STREQ("d", text);
}

TEST_F(KWXMLSettingsTest, LoadReportsTheRootAndRejectsWhatIsNoDocument) {
    struct Case {
        const char* content; // null: no file
        bool loaded;
        const char* root;
        const char* version;
    };
    const Case cases[] = {
        {"<?xml version=\"1.0\"?>\r\n<profile version=\"3\">\r\n</profile>\r\n", true, "profile",
         "3"},
        {"<list><item/></list>", true, "list", ""},
        {"<?xml version=\"1.0\"?>\n", false, "", ""},
        {"<list><item></list>", false, "", ""},
        {"", false, "", ""},
        {nullptr, false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content ? c.content : "no file");
        std::string path = m_folder.File("doc.xml");
        if (c.content)
            ASSERT_TRUE(WriteWholeFile(path, c.content));
        else
            DeleteFileA(path.c_str());
        // A document that was there before is dropped either way.
        m_xml->CreateDocument(m_folder.File("other.xml").c_str(), "other", "1");
        CString root = "stale", version = "stale";
        EXPECT_EQ(c.loaded, m_xml->Load(path.c_str(), root, version));
        EXPECT_STREQ(c.root, root);
        EXPECT_STREQ(c.version, version);
        TiXmlElement* element = m_xml->GetRootElement();
        EXPECT_STREQ(c.loaded ? c.root : "(none)", element ? element->Value() : "(none)");
        EXPECT_EQ(c.loaded, m_xml->Save());
    }
}

TEST_F(KWXMLSettingsTest, BuiltDocumentSavesAndLoadsBack) {
    std::string path = m_folder.File("list.xml");
    TiXmlElement* root = m_xml->CreateDocument(path.c_str(), "hotlists", "2");
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(root, m_xml->GetRootElement());
    for (int i = 0; i < 3; ++i) {
        TiXmlElement* item = CKWXMLSettings::AddElement(root, "item");
        CKWXMLSettings::SetAttribute(item, "index", i);
        CKWXMLSettings::SetAttribute(item, "kind", i == 1 ? "a \"quoted\" <kind>" : "plain");
        CKWXMLSettings::AddText(item, i == 2 ? "C:\\calls & <more>" : "text");
    }
    CKWXMLSettings::AddIntText(CKWXMLSettings::AddElement(root, "count"), -3);
    ASSERT_TRUE(m_xml->Save());

    std::string saved = ReadWholeFile(path);
    EXPECT_EQ(0u, saved.find("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>")) << saved;

    CString name, version;
    ASSERT_TRUE(m_xml->Load(path.c_str(), name, version));
    EXPECT_STREQ("hotlists", name);
    EXPECT_STREQ("2", version);
    int i = 0;
    for (TiXmlElement* item = CKWXMLSettings::GetChild(m_xml->GetRootElement(), "item"); item;
         item = CKWXMLSettings::NextSibling(item, "item"), ++i) {
        SCOPED_TRACE(i);
        int index = -1;
        CString kind, text;
        EXPECT_TRUE(CKWXMLSettings::GetIntAttribute(item, "index", index, -1));
        EXPECT_EQ(i, index);
        CKWXMLSettings::GetStringAttribute(item, "kind", kind, "");
        EXPECT_STREQ(i == 1 ? "a \"quoted\" <kind>" : "plain", kind);
        CKWXMLSettings::GetStringValue(item, text, "");
        EXPECT_STREQ(i == 2 ? "C:\\calls & <more>" : "text", text);
    }
    EXPECT_EQ(3, i);
    int count = 0;
    EXPECT_TRUE(CKWXMLSettings::GetIntValue(
        CKWXMLSettings::GetChild(m_xml->GetRootElement(), "count"), count, 0));
    EXPECT_EQ(-3, count);
}

// Texts are in the ANSI code page (1252 here); the files declare UTF-8.
TEST_F(KWXMLSettingsTest, AnsiTextsAreStoredAsUtf8) {
    std::string path = m_folder.File("texts.xml");
    TiXmlElement* root = m_xml->CreateDocument(path.c_str(), "root", "1");
    TiXmlElement* value = CKWXMLSettings::AddElement(root, "value");
    CKWXMLSettings::SetAttribute(value, "folder",
                                 "C:\\Donn\xe9"
                                 "es");
    CKWXMLSettings::AddText(value, "caf\xe9");
    ASSERT_TRUE(m_xml->Save());
    std::string saved = ReadWholeFile(path);
    EXPECT_NE(std::string::npos, saved.find("caf\xc3\xa9<")) << saved;
    EXPECT_NE(std::string::npos, saved.find("Donn\xc3\xa9"
                                            "es"))
        << saved;

    CString name, version, text;
    ASSERT_TRUE(m_xml->Load(path.c_str(), name, version));
    value = CKWXMLSettings::GetChild(m_xml->GetRootElement(), "value");
    EXPECT_TRUE(CKWXMLSettings::GetStringValue(value, text, ""));
    EXPECT_STREQ("caf\xe9", text);
    EXPECT_TRUE(CKWXMLSettings::GetStringAttribute(value, "folder", text, ""));
    EXPECT_STREQ("C:\\Donn\xe9"
                 "es",
                 text);

    // Older files may hold raw ANSI bytes; where they could be read, they still read.
    EXPECT_TRUE(CKWXMLSettings::GetStringValue(LoadValue("<value>caf\xe9</value>"), text, ""));
    EXPECT_STREQ("caf\xe9", text);
}

TEST_F(KWXMLSettingsTest, TextsReadBackExactlyAsWritten) {
    struct Case {
        const char* name;
        const char* text;
    };
    const Case cases[] = {
        {"double blanks", "my  pass word"},
        {"leading and trailing blanks", "  C:\\Scores\\Two  Blanks  "},
        {"tabs", "\tcol\t\tcol\t"},
        {"line feeds", "\nline one\nline two\n"},
        {"carriage returns", "one\r\ntwo\rthree"},
        {"quotes", "\"double\" and 'single'"},
        {"markup characters", "<b> & </b> ]]>"},
        {"references as text", "&amp; &lt; &#65; &#x41; &#x3C;"},
        {"a broken hexadecimal reference", "a &#xZZ; b &#x<c>"},
        {"accents", "Jos\xe9 \xe0 la caf\xe9, Fran\xe7ois"},
        {"blanks alone", "   "},
        {"line ends alone", "\r\n\t\r"},
        {"empty", ""},
    };
    std::string path = m_folder.File("texts.xml");
    TiXmlElement* root = m_xml->CreateDocument(path.c_str(), "root", "1");
    for (const Case& c : cases) {
        TiXmlElement* item = CKWXMLSettings::AddElement(root, "item");
        CKWXMLSettings::SetAttribute(item, "text", c.text);
        CKWXMLSettings::AddText(item, c.text);
    }
    ASSERT_TRUE(m_xml->Save());
    const std::string saved = ReadWholeFile(path);

    CString name, version;
    ASSERT_TRUE(m_xml->Load(path.c_str(), name, version)) << saved;
    TiXmlElement* item = CKWXMLSettings::GetChild(m_xml->GetRootElement(), "item");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(nullptr, item) << saved;
        CString text;
        CKWXMLSettings::GetStringValue(item, text, "");
        EXPECT_STREQ(c.text, text) << saved;
        EXPECT_TRUE(CKWXMLSettings::GetStringAttribute(item, "text", text, "(none)"));
        EXPECT_STREQ(c.text, text) << saved;
        item = CKWXMLSettings::NextSibling(item, "item");
    }
    EXPECT_EQ(nullptr, item);
}

// The switch that stops TinyXML from condensing blanks is one for the process:
// a reader that parses on its own gets it too, with no CKWXMLSettings in sight.
TEST(TinyXml, EveryReaderKeepsBlanks) {
    TiXmlDocument document;
    document.Parse("<a> my  pass\tword </a>");
    ASSERT_NE(nullptr, document.RootElement());
    EXPECT_STREQ(" my  pass\tword ", document.RootElement()->GetText());
}

// Earlier versions wrote raw ANSI bytes (code page 1252 here) under the UTF-8
// declaration; files that are valid UTF-8 still read as UTF-8.
TEST_F(KWXMLSettingsTest, FilesThatAreNotUtf8AreReadInTheAnsiCodePage) {
    struct Case {
        const char* name;
        std::string content;
    };
    const Case cases[] = {
        {"ANSI under a UTF-8 declaration",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<profile f=\"Fran\xe7ois\">"
         "<value>C:\\Scores\\Jos\xe9</value></profile>\n"},
        {"ANSI without a declaration",
         "<profile f=\"Fran\xe7ois\"><value>C:\\Scores\\Jos\xe9</value></profile>"},
        {"UTF-8", "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<profile f=\"Fran\xc3\xa7ois\">"
                  "<value>C:\\Scores\\Jos\xc3\xa9</value></profile>\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = m_folder.File("old.xml");
        ASSERT_TRUE(WriteWholeFile(path, c.content));
        CString name, version, text;
        ASSERT_TRUE(m_xml->Load(path.c_str(), name, version));
        EXPECT_STREQ("profile", name);
        TiXmlElement* root = m_xml->GetRootElement();
        EXPECT_TRUE(
            CKWXMLSettings::GetStringValue(CKWXMLSettings::GetChild(root, "value"), text, ""));
        EXPECT_STREQ("C:\\Scores\\Jos\xe9", text);
        EXPECT_TRUE(CKWXMLSettings::GetStringAttribute(root, "f", text, ""));
        EXPECT_STREQ("Fran\xe7ois", text);
    }
}

// Neither a file left by a save that was killed midway nor a folder that holds
// the temporary file's name may stop the save; the temporary file is never
// read as the document.
TEST_F(KWXMLSettingsTest, SavingGetsPastWhatHoldsTheTemporaryName) {
    const std::string path = m_folder.File("list.xml");
    const std::string temporary = path + ".new";
    for (bool folder : {false, true}) {
        SCOPED_TRACE(folder ? "a folder" : "a file left behind");
        ASSERT_TRUE(WriteWholeFile(path, "<list version=\"1\"/>"));
        if (folder)
            ASSERT_TRUE(CreateDirectoryA(temporary.c_str(), nullptr));
        else
            ASSERT_TRUE(WriteWholeFile(temporary, "<list version=\"half"));
        CString name, version;
        ASSERT_TRUE(m_xml->Load(path.c_str(), name, version));
        EXPECT_STREQ("1", version);
        m_xml->CreateDocument(path.c_str(), "list", "2");
        EXPECT_TRUE(m_xml->Save());
        ASSERT_TRUE(m_xml->Load(path.c_str(), name, version));
        EXPECT_STREQ("2", version);
        DWORD attributes = GetFileAttributesA(temporary.c_str());
        EXPECT_EQ(folder ? FILE_ATTRIBUTE_DIRECTORY : INVALID_FILE_ATTRIBUTES,
                  attributes == INVALID_FILE_ATTRIBUTES ? attributes
                                                        : attributes & FILE_ATTRIBUTE_DIRECTORY);
        EXPECT_FALSE(FileExists(temporary + "1"));
    }
}

TEST_F(KWXMLSettingsTest, AReadOnlyFileIsNotReplaced) {
    const std::string path = m_folder.File("list.xml");
    const std::string content = "<list version=\"1\"/>";
    ASSERT_TRUE(WriteWholeFile(path, content));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    m_xml->CreateDocument(path.c_str(), "list", "2");
    EXPECT_FALSE(m_xml->Save());
    EXPECT_EQ(content, ReadWholeFile(path));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(m_xml->Save());
}

TEST_F(KWXMLSettingsTest, SavingIntoAMissingFolderFails) {
    m_xml->CreateDocument(m_folder.File("no such folder\\list.xml").c_str(), "list", "1");
    EXPECT_FALSE(m_xml->Save());
    EXPECT_FALSE(FileExists(m_folder.File("no such folder")));
}

} // namespace
