// ZipExtraField.cpp: an entry's extra field, an array of owned records.
#include "ZipExtraField.h"

#include "ZipStorage.h"

CZipExtraField::CZipExtraField(const CZipExtraField& other) : CZipArray<CZipExtraData*>() {
    *this = other;
}

CZipExtraField& CZipExtraField::operator=(const CZipExtraField& other) {
    if (this == &other)
        return *this;
    Clear();
    for (INT_PTR i = 0; i < other.GetSize(); i++)
        Add(new CZipExtraData(*other[i]));
    return *this;
}

CZipExtraField::~CZipExtraField() {
    Clear();
}

DWORD CZipExtraField::GetTotalSize() const {
    DWORD uTotal = 0;
    for (INT_PTR i = 0; i < GetSize(); i++)
        uTotal += (*this)[i]->GetTotalSize();
    return uTotal;
}

CZipExtraData* CZipExtraField::Lookup(WORD uHeaderID, int& iIndex) const {
    for (INT_PTR i = 0; i < GetSize(); i++) {
        if ((*this)[i]->GetHeaderID() == uHeaderID) {
            iIndex = int(i);
            return (*this)[i];
        }
    }
    return nullptr;
}

CZipExtraData* CZipExtraField::Lookup(WORD uHeaderID) const {
    int iIndex;
    return Lookup(uHeaderID, iIndex);
}

void CZipExtraField::RemoveHeaders(const WORD* pIDs, int iCount) {
    for (INT_PTR i = GetSize() - 1; i >= 0; i--) {
        WORD uID = (*this)[i]->GetHeaderID();
        for (int j = 0; j < iCount; j++) {
            if (pIDs[j] == uID) {
                delete (*this)[i];
                RemoveAt(i);
                break;
            }
        }
    }
}

void CZipExtraField::Clear() {
    for (INT_PTR i = 0; i < GetSize(); i++)
        delete (*this)[i];
    RemoveAll();
}

bool CZipExtraField::Read(CZipStorage* pStorage, WORD uSize) {
    // An empty field still replaces what an earlier read left behind.
    if (uSize == 0) {
        Clear();
        return true;
    }
    CZipAutoBuffer buffer(uSize);
    pStorage->Read(buffer, uSize, true);
    return Parse(buffer, uSize);
}

bool CZipExtraField::Parse(const char* pBuffer, DWORD uSize) {
    Clear();
    DWORD uLeft = uSize;
    while (uLeft > 0) {
        CZipExtraData* pExtra = new CZipExtraData();
        if (!pExtra->Read(pBuffer + (uSize - uLeft), uLeft)) {
            delete pExtra;
            Clear();
            return false;
        }
        Add(pExtra);
    }
    return true;
}

void CZipExtraField::Write(char* pBuffer) const {
    for (INT_PTR i = 0; i < GetSize(); i++)
        pBuffer += (*this)[i]->Write(pBuffer);
}
