// ZipExtraData.cpp: one record of an extra field.
#include "ZipExtraData.h"

#include <cstring>

bool CZipExtraData::Read(const char* pBuffer, DWORD& iSize) {
    if (iSize < 4)
        return false;
    const BYTE* p = reinterpret_cast<const BYTE*>(pBuffer);
    WORD uHeaderID = WORD(p[0] | (p[1] << 8));
    WORD uDataSize = WORD(p[2] | (p[3] << 8));
    if (DWORD(uDataSize) + 4 > iSize)
        return false;
    m_uHeaderID = uHeaderID;
    m_data.Allocate(uDataSize);
    if (uDataSize)
        memcpy(m_data.GetBuffer(), pBuffer + 4, uDataSize);
    iSize -= DWORD(uDataSize) + 4;
    return true;
}

DWORD CZipExtraData::Write(char* pBuffer) const {
    DWORD uDataSize = m_data.GetSize();
    pBuffer[0] = char(m_uHeaderID & 0xFF);
    pBuffer[1] = char(m_uHeaderID >> 8);
    pBuffer[2] = char(uDataSize & 0xFF);
    pBuffer[3] = char((uDataSize >> 8) & 0xFF);
    if (uDataSize)
        memcpy(pBuffer + 4, m_data.GetBuffer(), uDataSize);
    return uDataSize + 4;
}
