// OXParserObject.cpp: objects of the markup parser's tree.
#include "OXParserObject.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <new>

COXParserObject::COXParserObject(int type)
    : m_type(type), m_parent(nullptr), m_valueKind(COXAttribute::VALUE_NONE) {}

COXParserObject::~COXParserObject() {}

COXAttribute::COXAttribute() : COXParserObject(TYPE_ATTRIBUTE), m_intValue(0) {
    m_intText[0] = 0;
}

int COXAttribute::GetIntValue() const {
    return m_valueKind == VALUE_TEXT ? 0 : m_intValue;
}

// Each attribute formats into its own buffer: two attributes' texts can be held
// at once, and readers on other threads never share it.
const char* COXAttribute::GetValueText() const {
    if (m_valueKind == VALUE_INTEGER) {
        snprintf(m_intText, sizeof m_intText, "%d", m_intValue);
        return m_intText;
    }
    return m_valueText.GetText();
}

void COXAttribute::SetIntValue(int value) {
    m_intValue = value;
    m_valueKind = VALUE_INTEGER;
}

void COXAttribute::SetTextValue(const char* text) {
    m_valueText.SetText(text);
    m_valueKind = VALUE_TEXT;
}

COXParserElement::COXParserElement()
    : COXParserObject(TYPE_ELEMENT), m_children(nullptr), m_childCount(0), m_childCapacity(0),
      m_onlyChild(nullptr) {}

COXParserElement::~COXParserElement() {
    RemoveAll();
}

void COXParserElement::RemoveAll() {
    for (int i = 0; i < m_childCount; ++i)
        delete m_children[i];
    if (m_children != &m_onlyChild)
        delete[] m_children;
    m_children = nullptr;
    m_childCount = m_childCapacity = 0;
    for (COXAttribute* attribute : m_attributes)
        delete attribute;
    m_attributes.clear();
}

COXParserObject* COXParserElement::GetObject(int index) const {
    if (index < 0 || index >= GetObjectCount())
        return nullptr;
    return m_children[index];
}

COXAttribute* COXParserElement::FindAttribute(const char* name, int caseSensitive) const {
    if (!name)
        return nullptr;
    for (COXAttribute* attribute : m_attributes) {
        if (attribute->m_text.IsEqual(name, caseSensitive != 0))
            return attribute;
    }
    return nullptr;
}

// Every name of the path must match, level by level. A lookup that skipped a
// missing level would read "Entry\ID" as the ID of the element itself when no
// Entry exists, and no reader wants that.
COXParserElement* COXParserElement::FindElement(const char* path, int caseSensitive) const {
    if (!path || !*path)
        return nullptr;
    const COXQuickString fields(path);
    const COXParserElement* current = this;
    COXParserElement* found = nullptr;
    for (int n = 0;; ++n) {
        COXQuickString name = fields.GetField(n, '\\');
        if (name.IsEmpty())
            return found;
        found = nullptr;
        for (int i = 0; i < current->m_childCount; ++i) {
            COXParserObject* child = current->m_children[i];
            if (child->m_type == TYPE_ELEMENT &&
                child->m_text.IsEqual(name.GetText(), caseSensitive != 0)) {
                found = static_cast<COXParserElement*>(child);
                break;
            }
        }
        if (!found)
            return nullptr;
        current = found;
    }
}

void COXParserElement::AddChild(COXParserObject* object) {
    if (!object)
        return;
    if (m_childCount == m_childCapacity)
        GrowChildren();
    m_children[m_childCount++] = object;
    object->m_parent = this;
}

// Throws std::bad_alloc, which the parser reports as out of memory.
void COXParserElement::GrowChildren() {
    if (m_childCapacity == 0) {
        m_children = &m_onlyChild;
        m_childCapacity = 1;
        return;
    }
    if (m_childCapacity > INT_MAX / 2)
        throw std::bad_alloc();
    const int capacity = m_childCapacity < 4 ? 4 : m_childCapacity * 2;
    COXParserObject** grown = new COXParserObject*[capacity];
    std::copy(m_children, m_children + m_childCount, grown);
    if (m_children != &m_onlyChild)
        delete[] m_children;
    m_children = grown;
    m_childCapacity = capacity;
}

void COXParserElement::AddAttribute(COXAttribute* attribute) {
    if (!attribute)
        return;
    m_attributes.push_back(attribute);
    attribute->m_parent = this;
}
