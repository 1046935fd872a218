// KWXMLSettings.h: CKWXMLSettings, the process-wide XML document through which
// the settings files and the application's list stores are read and written.
//
// One current document at a time (TinyXML 1), with the path it belongs to; each
// CreateDocument or Load drops the one before, so users take turns on the
// user-interface thread. Every operation accepts a null node and then returns
// null or false. Files are read and written with POSIX calls on their Unix path
// (TinyXML's own file calls would take the Windows path as a Unix one).
// Values go in and come out in the ANSI code page; the files hold UTF-8, as they
// declare. An older file that is not valid UTF-8 is read in the ANSI code page.
// Every text reads back exactly as it was written, blanks, line breaks and
// markup characters included (a text of blanks alone is stored as CDATA).
#pragma once

#include "AfxString.h"
#include "native/tinyxml.h"

class CKWXMLSettings {
public:
    // Created on first use without a lock; the application deletes it at exit.
    static CKWXMLSettings* GetInstance();
    static void DeleteInstance();
    ~CKWXMLSettings();
    CKWXMLSettings(const CKWXMLSettings&) = delete;
    CKWXMLSettings& operator=(const CKWXMLSettings&) = delete;

    TiXmlElement* CreateDocument(const char* path, const char* rootName, const char* version);
    bool Load(const char* path, CString& rootName, CString& version);
    // Replaces the file at the document's path in one step: a failed save leaves
    // the old file as it was. ownerOnly creates the file readable and writable by
    // its owner alone (for files that hold secrets). A read-only file is not
    // replaced.
    bool Save(bool ownerOnly = false);
    const CString& GetPath() const { return m_path; }

    TiXmlElement* GetRootElement() const;
    static TiXmlElement* GetChild(TiXmlNode* node, const char* name);
    static TiXmlElement* NextSibling(TiXmlNode* node, const char* name);
    static TiXmlElement* AddElement(TiXmlNode* parent, const char* name);
    static bool AddText(TiXmlElement* element, const char* text);
    static bool AddIntText(TiXmlElement* element, int value);
    static bool SetAttribute(TiXmlElement* element, const char* name, const char* text);
    static bool SetAttribute(TiXmlElement* element, const char* name, int value);
    static bool GetIntValue(TiXmlElement* element, int& value, int defaultValue);
    static bool GetStringValue(TiXmlElement* element, CString& value, const char* defaultValue);
    static bool GetIntAttribute(TiXmlElement* element, const char* name, int& value,
                                int defaultValue);
    static bool GetStringAttribute(TiXmlElement* element, const char* name, CString& value,
                                   const char* defaultValue);

private:
    CKWXMLSettings();
    void DropDocument();

    static CKWXMLSettings* s_instance;

    TiXmlDocument* m_document; // owns; null when there is none
    CString m_path;            // the file m_document belongs to
};
