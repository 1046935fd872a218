// ZipStringStore.h: CZipStringStore, a name or comment as raw bytes (as stored
// in the archive) and as decoded text, either made from the other on demand.
#pragma once

#include "ZipAutoBuffer.h"
#include "framework/AfxString.h"

class CZipStringStore {
public:
    CZipStringStore() : m_pString(nullptr) {}
    CZipStringStore(const CZipStringStore& other);
    CZipStringStore& operator=(const CZipStringStore& other);
    ~CZipStringStore();

    bool HasString() const { return m_pString != nullptr; }
    bool HasBuffer() const { return m_buffer.IsAllocated(); }
    const CString& GetString() const { return *m_pString; }
    void SetString(const CString& szText);
    void ReleaseString();
    void ReleaseBuffer() { m_buffer.Release(); }
    bool IsEmpty() const;

    CZipAutoBuffer m_buffer;

private:
    CString* m_pString;
};
