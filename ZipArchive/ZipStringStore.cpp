// ZipStringStore.cpp: a name or comment held as raw bytes and/or decoded text.
#include "ZipStringStore.h"

CZipStringStore::CZipStringStore(const CZipStringStore& other) : m_pString(nullptr) {
    *this = other;
}

CZipStringStore& CZipStringStore::operator=(const CZipStringStore& other) {
    if (this == &other)
        return *this;
    m_buffer = other.m_buffer;
    if (other.m_pString)
        SetString(*other.m_pString);
    else
        ReleaseString();
    return *this;
}

CZipStringStore::~CZipStringStore() {
    ReleaseString();
}

void CZipStringStore::SetString(const CString& szText) {
    if (m_pString)
        *m_pString = szText;
    else
        m_pString = new CString(szText);
}

void CZipStringStore::ReleaseString() {
    delete m_pString;
    m_pString = nullptr;
}

bool CZipStringStore::IsEmpty() const {
    if (m_pString)
        return m_pString->IsEmpty();
    return m_buffer.GetSize() == 0;
}
