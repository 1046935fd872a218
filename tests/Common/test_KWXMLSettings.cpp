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

TEST_F(KWXMLSettingsTest, SavingIntoAMissingFolderFails) {
    m_xml->CreateDocument(m_folder.File("no such folder\\list.xml").c_str(), "list", "1");
    EXPECT_FALSE(m_xml->Save());
    EXPECT_FALSE(FileExists(m_folder.File("no such folder")));
}

} // namespace
