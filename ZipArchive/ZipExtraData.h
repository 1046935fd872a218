// ZipExtraData.h: CZipExtraData, one record of an entry's extra field
// (id, data size, data).
#pragma once

#include "ZipAutoBuffer.h"

class CZipExtraData {
public:
    CZipExtraData() : m_uHeaderID(0) {}
    explicit CZipExtraData(WORD uHeaderID) : m_uHeaderID(uHeaderID) {}

    WORD GetHeaderID() const { return m_uHeaderID; }
    // The data length + 4.
    DWORD GetTotalSize() const { return m_data.GetSize() + 4; }
    // Parses one record from the bytes; false when it claims more than iSize.
    // On success iSize is lowered by the bytes taken.
    bool Read(const char* pBuffer, DWORD& iSize);
    // Writes the record at pBuffer; returns the bytes written.
    DWORD Write(char* pBuffer) const;

    CZipAutoBuffer m_data;

private:
    WORD m_uHeaderID;
};
