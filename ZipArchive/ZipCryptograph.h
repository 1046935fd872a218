// ZipCryptograph.h: CZipCryptograph, the encryption of entry data, and the
// traditional PKWARE encryption CZipCrc32Cryptograph.
#pragma once

#include "ZipAutoBuffer.h"

class CZipFileHeader;
class CZipStorage;

class CZipCryptograph {
public:
    // A traditional cryptograph for every method but 255 (none); none for 255.
    static CZipCryptograph* CreateCryptographFor(int iEncryptionMethod);

    // False for a wrong password.
    virtual bool BeginDecryption(CZipAutoBuffer& password, CZipFileHeader& currentFile,
                                 CZipStorage& storage) = 0;
    // Writes the encryption header and adds its size to the compressed size.
    virtual void BeginEncryption(CZipAutoBuffer& password, CZipFileHeader& currentFile,
                                 CZipStorage& storage) = 0;
    virtual void DecryptBytes(char* pBuffer, DWORD uSize) = 0;
    virtual void EncryptBytes(char* pBuffer, DWORD uSize) = 0;
    virtual void EndDecryption(CZipFileHeader& currentFile, CZipStorage& storage);
    virtual void EndEncryption(CZipFileHeader& currentFile, CZipStorage& storage);
    virtual bool HandlesMethod(int iEncryptionMethod) const;
    virtual ~CZipCryptograph() = default;
};

class CZipCrc32Cryptograph : public CZipCryptograph {
public:
    bool BeginDecryption(CZipAutoBuffer& password, CZipFileHeader& currentFile,
                         CZipStorage& storage) override;
    void BeginEncryption(CZipAutoBuffer& password, CZipFileHeader& currentFile,
                         CZipStorage& storage) override;
    void DecryptBytes(char* pBuffer, DWORD uSize) override;
    void EncryptBytes(char* pBuffer, DWORD uSize) override;
    bool HandlesMethod(int iEncryptionMethod) const override { return iEncryptionMethod == 0; }

private:
    void CryptInitKeys(CZipAutoBuffer& password);
    void CryptUpdateKeys(char c);
    char CryptDecode() const;

    DWORD m_keys[3];
};
