// OXParserObject.h: the tree that the markup parser builds.
//   COXParserObject  - base of every tree object: text, type, parent; also the
//                      class of texts, comments, CDATA sections, markup
//                      declarations and processing instructions
//   COXParserElement - an element: name, children and attributes, path lookup
//   COXAttribute     - an attribute: name and a text or integer value
//
// An element owns its children and attributes and deletes them with itself.
// Objects belong to one thread at a time.
#pragma once

#include "OXQuickString.h"

// GetObject is a Win32 macro: every user of the class must see the same name.
#include <windows.h>

#include <vector>

class COXParserElement;

class COXParserObject {
public:
    // The type of every tree object.
    enum {
        TYPE_NONE = -1,
        TYPE_ATTRIBUTE = 0,
        TYPE_CDATA = 1,
        TYPE_COMMENT = 2,
        TYPE_ELEMENT = 3,
        TYPE_MARKUP = 4, // "<!" declaration other than a comment or CDATA, such as DOCTYPE
        TYPE_TEXT = 5,   // character data, references resolved, trimmed
        TYPE_PROCESSING_INSTRUCTION = 6,
        TYPE_RAW_TEXT = 7, // never made by the reader
    };

    explicit COXParserObject(int type = TYPE_NONE);
    virtual ~COXParserObject();
    COXParserObject(const COXParserObject&) = delete;
    COXParserObject& operator=(const COXParserObject&) = delete;

    // The name of an element or attribute, the content of the other kinds;
    // "" when empty, never null.
    const char* GetText() const { return m_text.GetText(); }
    void SetText(const char* text) { m_text.SetText(text); }
    int GetType() const { return m_type; }
    // The owning element; null for the root and for objects not yet added.
    COXParserElement* GetParent() const { return m_parent; }

protected:
    friend class COXParserElement;
    friend class COXParser;

    COXQuickString m_text;
    int m_type;
    COXParserElement* m_parent; // not owned
    int m_valueKind;            // COXAttribute's value kind; -1 elsewhere
};

class COXAttribute : public COXParserObject {
public:
    enum { VALUE_NONE = -1, VALUE_TEXT = 0, VALUE_INTEGER = 1 };

    COXAttribute();

    int GetValueType() const { return m_valueKind; }
    // The integer of an integer value, 0 for a text value or no value.
    int GetIntValue() const;
    // The text of a text value, the decimal form of an integer value, "" when
    // there is no value. Valid until the value changes or the attribute goes.
    const char* GetValueText() const;
    void SetIntValue(int value);
    void SetTextValue(const char* text);

private:
    friend class COXParser;

    COXQuickString m_valueText;
    int m_intValue;
    mutable char m_intText[12]; // decimal form of m_intValue, made on request
};

class COXParserElement : public COXParserObject {
public:
    COXParserElement();
    ~COXParserElement() override;

    const char* GetName() const { return GetText(); }
    int GetObjectCount() const { return m_childCount; }
    // The child at index, or null out of range.
    COXParserObject* GetObject(int index) const;

    // Null for a null name or when no attribute matches.
    COXAttribute* FindAttribute(const char* name, int caseSensitive) const;
    // The element at a backslash-separated path of names below this one: each
    // name picks the first child element that matches. Null when any name of
    // the path has no match or the path is empty; a path with an empty name
    // between two backslashes ends there.
    COXParserElement* FindElement(const char* path, int caseSensitive) const;

    // Take ownership of the object and append it; set its parent.
    void AddChild(COXParserObject* object);
    void AddAttribute(COXAttribute* attribute);
    // Deletes every child and attribute.
    void RemoveAll();

private:
    void GrowChildren();

    // The children, owned, in document order, no attributes. Most elements of
    // our files hold one text and nothing else, so the first child is kept in
    // m_onlyChild and an array is allocated only for a second one.
    COXParserObject** m_children; // &m_onlyChild or an owned array; null when empty
    int m_childCount;
    int m_childCapacity;
    COXParserObject* m_onlyChild;
    std::vector<COXAttribute*> m_attributes; // owned, document order
};
