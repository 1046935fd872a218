// ZipExtraField.h: CZipExtraField, an entry's extra field: owned records.
#pragma once

#include "ZipCollections.h"
#include "ZipExtraData.h"

class CZipStorage;

class CZipExtraField : public CZipArray<CZipExtraData*> {
public:
    // Ids that describe the name, comment, sizes or encryption of the entry in
    // forms this program does not write (Unicode path and comment, Zip64, AES).
    enum {
        idZip64 = 0x0001,
        idOwnData = 0x5A4C,
        idUnicodeComment = 0x6375,
        idUnicodePath = 0x7075,
        idAes = 0x9901,
    };

    CZipExtraField() = default;
    CZipExtraField(const CZipExtraField& other);
    CZipExtraField& operator=(const CZipExtraField& other); // deep copy
    ~CZipExtraField() override;

    DWORD GetTotalSize() const;
    bool Validate() const { return GetTotalSize() < 0x10000; }
    // The first record of the id, or none; iIndex takes its place.
    CZipExtraData* Lookup(WORD uHeaderID, int& iIndex) const;
    CZipExtraData* Lookup(WORD uHeaderID) const;
    bool HasHeader(WORD uHeaderID) const { return Lookup(uHeaderID) != nullptr; }
    void RemoveHeaders(const WORD* pIDs, int iCount);
    void Clear();
    // Reads uSize bytes from the storage and parses them; false when the records
    // do not add up to exactly uSize.
    bool Read(CZipStorage* pStorage, WORD uSize);
    // Parses bytes already in memory, with the same rule.
    bool Parse(const char* pBuffer, DWORD uSize);
    // Writes every record at pBuffer (GetTotalSize bytes).
    void Write(char* pBuffer) const;
};
