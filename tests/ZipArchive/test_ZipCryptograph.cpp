// Tests of the traditional PKWARE encryption: data encrypted by Info-ZIP zip
// and 7-Zip decrypts with its password, the password check by time or CRC,
// random encryption headers, and the key stream of an empty password.
#include "native/gtest.h"

#include "ZipCryptograph.h"
#include "ZipException.h"
#include "ZipFileHeader.h"
#include "ZipMemFile.h"
#include "ZipStorage.h"

#include <memory>
#include <string>

namespace {

std::string Hex(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

CZipAutoBuffer Password(const std::string& text) {
    CZipAutoBuffer buffer;
    if (!text.empty()) {
        buffer.Allocate(static_cast<DWORD>(text.size()));
        memcpy(buffer.GetBuffer(), text.data(), text.size());
    }
    return buffer;
}

// A storage that reads the given bytes from a memory file.
class CReadStorage {
public:
    explicit CReadStorage(const std::string& bytes) {
        if (!bytes.empty())
            m_file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        m_storage.OpenOnFile(m_file, CZipStorage::zipOpen, false);
    }
    ~CReadStorage() { m_storage.Close(false); }
    CZipStorage& Storage() { return m_storage; }

private:
    CZipMemFile m_file;
    CZipStorage m_storage;
};

// One stored entry "hello world" encrypted with the password "secret", as a
// real tool wrote it: header fields and the 12-byte header + data.
struct SToolEntry {
    const char* szTool;
    WORD uFlag;
    WORD uModTime;
    DWORD uCrc32;
    const char* szEncrypted;
};

const SToolEntry kToolEntries[] = {
    // zip -0 -P secret: data descriptor flag, checked by the time's high byte.
    {"Info-ZIP zip", 0x0009, 0x9A08, 0x0D4A1185, "2133e2428b540fd246206b0eda60ea86ed3bd5af259dbf"},
    // 7z -tzip -mem=ZipCrypto -mm=Copy: no data descriptor, checked by the CRC.
    {"7-Zip", 0x0001, 0x9A08, 0x0D4A1185, "434809d49ad5af80dc7ca577fc73c111b700449a8eb123"},
};

CZipFileHeader ToolHeader(const SToolEntry& entry) {
    CZipFileHeader header;
    header.m_uFlag = entry.uFlag;
    header.m_uModTime = entry.uModTime;
    header.m_uCrc32 = entry.uCrc32;
    header.m_uEncryptionMethod = CZipFileHeader::encStandard;
    return header;
}

TEST(ZipCryptographFactory, TraditionalForEveryMethodButNone) {
    struct {
        int iMethod;
        bool bMade;
    } const cases[] = {{255, false}, {0, true}, {1, true}, {3, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.iMethod);
        std::unique_ptr<CZipCryptograph> p(CZipCryptograph::CreateCryptographFor(c.iMethod));
        EXPECT_EQ(c.bMade, p != nullptr);
    }
    CZipCrc32Cryptograph crc32;
    EXPECT_TRUE(crc32.HandlesMethod(0));
    EXPECT_FALSE(crc32.HandlesMethod(255));
    EXPECT_FALSE(crc32.HandlesMethod(1));
}

TEST(ZipCryptographDecrypt, ToolEncryptedDataWithItsPassword) {
    for (const SToolEntry& entry : kToolEntries) {
        SCOPED_TRACE(entry.szTool);
        CZipFileHeader header = ToolHeader(entry);
        CReadStorage reader(Hex(entry.szEncrypted));
        CZipCrc32Cryptograph cryptograph;
        CZipAutoBuffer password = Password("secret");
        ASSERT_TRUE(cryptograph.BeginDecryption(password, header, reader.Storage()));
        char data[11];
        ASSERT_EQ(11u, reader.Storage().Read(data, sizeof(data), false));
        cryptograph.DecryptBytes(data, sizeof(data));
        EXPECT_EQ("hello world", std::string(data, sizeof(data)));
    }
}

TEST(ZipCryptographDecrypt, WrongPasswordIsRefused) {
    for (const SToolEntry& entry : kToolEntries) {
        for (const char* szWrong : {"Secret", "secret ", "secre", ""}) {
            SCOPED_TRACE(std::string(entry.szTool) + " / '" + szWrong + "'");
            CZipFileHeader header = ToolHeader(entry);
            CReadStorage reader(Hex(entry.szEncrypted));
            CZipCrc32Cryptograph cryptograph;
            CZipAutoBuffer password = Password(szWrong);
            EXPECT_FALSE(cryptograph.BeginDecryption(password, header, reader.Storage()));
        }
    }
}

TEST(ZipCryptographDecrypt, CheckByteFollowsTheDataDescriptorFlag) {
    // The Info-ZIP header checks by time: with the flag cleared the check moves
    // to the CRC's high byte, which then must be the time's to pass.
    const SToolEntry& entry = kToolEntries[0];
    CZipFileHeader header = ToolHeader(entry);
    header.m_uFlag = CZipFileHeader::flEncrypted;
    header.m_uCrc32 = 0x00FFFFFF;
    CZipAutoBuffer password = Password("secret");
    {
        CReadStorage reader(Hex(entry.szEncrypted));
        CZipCrc32Cryptograph cryptograph;
        EXPECT_FALSE(cryptograph.BeginDecryption(password, header, reader.Storage()));
    }
    header.m_uCrc32 = static_cast<DWORD>(entry.uModTime >> 8) << 24;
    CReadStorage reader(Hex(entry.szEncrypted));
    CZipCrc32Cryptograph cryptograph;
    EXPECT_TRUE(cryptograph.BeginDecryption(password, header, reader.Storage()));
}

TEST(ZipCryptographDecrypt, EmptyPasswordStartsFromTheInitialKeys) {
    // Zero cipher bytes decrypt to the key stream of the three initial keys
    // (APPNOTE 6.1), worked out by hand from the published algorithm.
    const std::string plain = Hex("abdb044b12ce7c663f1094fc2b0cb9ae");
    CZipFileHeader header;
    header.m_uFlag = CZipFileHeader::flEncrypted | CZipFileHeader::flDataDescriptor;
    header.m_uModTime = static_cast<WORD>(static_cast<BYTE>(plain[11]) << 8);
    CReadStorage reader(std::string(12, '\0'));
    CZipCrc32Cryptograph cryptograph;
    CZipAutoBuffer password;
    ASSERT_TRUE(cryptograph.BeginDecryption(password, header, reader.Storage()));
    char rest[4] = {0, 0, 0, 0};
    cryptograph.DecryptBytes(rest, sizeof(rest));
    EXPECT_EQ(plain.substr(12), std::string(rest, sizeof(rest)));
}

TEST(ZipCryptographDecrypt, ShortEncryptionHeaderIsDamage) {
    CZipFileHeader header;
    header.m_uFlag = CZipFileHeader::flEncrypted;
    CReadStorage reader(std::string(5, 'x'));
    CZipCrc32Cryptograph cryptograph;
    CZipAutoBuffer password = Password("secret");
    int iCause = 0;
    try {
        cryptograph.BeginDecryption(password, header, reader.Storage());
    } catch (CZipException* e) {
        iCause = e->m_iCause;
        e->Delete();
    }
    EXPECT_EQ(CZipException::badZipFile, iCause);
}

// Encrypts the plain bytes as one entry (header + data, the data in the given
// pieces) into the memory file, and answers the header written.
std::string EncryptEntry(CZipMemFile& file, CZipFileHeader& header, const std::string& password,
                         const std::string& plain, size_t uPiece) {
    CZipStorage storage;
    storage.OpenOnFile(file, CZipStorage::zipCreate, false);
    CZipCrc32Cryptograph cryptograph;
    CZipAutoBuffer buffer = Password(password);
    cryptograph.BeginEncryption(buffer, header, storage);
    for (size_t i = 0; i < plain.size(); i += uPiece) {
        std::string piece = plain.substr(i, uPiece);
        cryptograph.EncryptBytes(&piece[0], static_cast<DWORD>(piece.size()));
        storage.Write(piece.data(), static_cast<DWORD>(piece.size()), false);
    }
    cryptograph.EndEncryption(header, storage);
    storage.Close(true);
    return std::string(reinterpret_cast<const char*>(file.GetData()), 12);
}

TEST(ZipCryptographEncrypt, RoundTripsAndHeadersDiffer) {
    std::string plain;
    for (int i = 0; i < 5000; i++)
        plain += static_cast<char>(i * 31 % 256);
    struct {
        const char* szPassword;
        size_t uPiece;
    } const cases[] = {{"secret", 5000}, {"secret", 7}, {"", 1000}, {"p\xE4ss w\xF6rd", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.szPassword) + " pieces of " + std::to_string(c.uPiece));
        CZipMemFile first, second;
        CZipFileHeader header;
        header.m_uFlag = CZipFileHeader::flEncrypted | CZipFileHeader::flDataDescriptor;
        header.m_uModTime = 0x7A3C;
        const std::string header1 = EncryptEntry(first, header, c.szPassword, plain, c.uPiece);
        EXPECT_EQ(12u, header.m_uComprSize);
        const std::string header2 = EncryptEntry(second, header, c.szPassword, plain, c.uPiece);
        EXPECT_EQ(24u, header.m_uComprSize);
        EXPECT_NE(header1.substr(0, 10), header2.substr(0, 10));
        ASSERT_EQ(12 + plain.size(), first.GetLength());

        CZipStorage storage;
        storage.OpenOnFile(first, CZipStorage::zipOpen, false);
        CZipCrc32Cryptograph cryptograph;
        CZipAutoBuffer password = Password(c.szPassword);
        ASSERT_TRUE(cryptograph.BeginDecryption(password, header, storage));
        std::string data(plain.size(), '\0');
        storage.Read(&data[0], static_cast<DWORD>(data.size()), false);
        EXPECT_NE(plain, data);
        cryptograph.DecryptBytes(&data[0], static_cast<DWORD>(data.size()));
        EXPECT_EQ(plain, data);
        storage.Close(false);
    }
}

} // namespace
