// ZipHandMadeArchive.h: small ZIP archives built byte by byte for the tests of
// removal, modification and extraction, so that every field is known: stored
// or raw-deflated entries, optional traditional encryption with a fixed
// encryption header, bytes before the archive, any name bytes.
#pragma once

#include "ZipTestFixtures.h"
#include "native/zlib.h"

#include <cstdint>
#include <string>
#include <vector>

namespace HandMade {

struct SEntry {
    std::string name; // raw bytes, '/' separators
    std::string data;
    bool deflate = false;
    std::string password;  // traditional encryption when not empty
    bool wrongCrc = false; // both headers carry a CRC that does not fit
};

// DOS time 12:00:00 on 2021-06-15.
const uint16_t kDosTime = 12 << 11;
const uint16_t kDosDate = ((2021 - 1980) << 9) | (6 << 5) | 15;

using ZipTestFixtures::Crc;
using ZipTestFixtures::Put16;
using ZipTestFixtures::Put32;
using ZipTestFixtures::RawDeflate;

inline uint32_t Get32(const std::string& s, size_t at) {
    return uint32_t(uint8_t(s[at])) | (uint32_t(uint8_t(s[at + 1])) << 8) |
           (uint32_t(uint8_t(s[at + 2])) << 16) | (uint32_t(uint8_t(s[at + 3])) << 24);
}

// The traditional PKWARE stream cipher, as APPNOTE describes it.
class CTraditionalCipher {
public:
    explicit CTraditionalCipher(const std::string& password) {
        for (char c : password)
            Update(uint8_t(c));
    }
    char Encrypt(char plain) {
        const uint8_t k = Stream();
        Update(uint8_t(plain));
        return char(uint8_t(plain) ^ k);
    }

private:
    static uint32_t CrcByte(uint32_t crc, uint8_t b) {
        crc ^= b;
        for (int i = 0; i < 8; i++)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
        return crc;
    }
    uint8_t Stream() const {
        const uint32_t t = (m_keys[2] | 2) & 0xFFFF;
        return uint8_t((t * (t ^ 1)) >> 8);
    }
    void Update(uint8_t b) {
        m_keys[0] = CrcByte(m_keys[0], b);
        m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFF)) * 134775813u + 1;
        m_keys[2] = CrcByte(m_keys[2], uint8_t(m_keys[1] >> 24));
    }
    uint32_t m_keys[3] = {0x12345678u, 0x23456789u, 0x34567890u};
};

// What a password makes of the fixed encryption header's last byte: the
// check byte that a reader compares with the CRC's high byte.
inline uint8_t DecryptedCheckByte(const std::string& rightPassword, const std::string& tryPassword,
                                  uint32_t crc) {
    CTraditionalCipher writer(rightPassword);
    std::string header;
    for (int i = 0; i < 11; i++)
        header += writer.Encrypt(char(0x30 + i));
    header += writer.Encrypt(char(crc >> 24));
    // Decrypting: plain = cipher ^ stream, keys updated with plain; the same
    // cipher object run with the other password gives the plain bytes back
    // through the identity plain = cipher ^ stream.
    CTraditionalCipher reader(tryPassword);
    uint8_t plain = 0;
    for (char c : header) {
        // Encrypt(x) returns x ^ stream and updates with x; decrypting needs the
        // update with the plain byte, so the stream byte is taken from a copy.
        CTraditionalCipher probe = reader;
        const uint8_t stream = uint8_t(probe.Encrypt(0));
        plain = uint8_t(uint8_t(c) ^ stream);
        reader.Encrypt(char(plain));
    }
    return plain;
}

// The local records with their data, the central directory and the end record.
inline std::string Build(const std::vector<SEntry>& entries,
                         const std::string& before = std::string(),
                         const std::string& comment = std::string()) {
    std::string file = before;
    std::string central;
    for (const SEntry& e : entries) {
        const uint32_t offset = uint32_t(file.size() - before.size());
        std::string payload = e.deflate ? RawDeflate(e.data) : e.data;
        uint32_t crc = Crc(e.data);
        if (e.wrongCrc)
            crc ^= 0x5A5A5A5Au;
        const uint16_t flags = e.password.empty() ? 0 : 1;
        if (!e.password.empty()) {
            CTraditionalCipher cipher(e.password);
            std::string sealed;
            for (int i = 0; i < 11; i++)
                sealed += cipher.Encrypt(char(0x30 + i));
            sealed += cipher.Encrypt(char(crc >> 24));
            for (char c : payload)
                sealed += cipher.Encrypt(c);
            payload = sealed;
        }
        std::string fields;
        Put16(fields, 20);
        Put16(fields, flags);
        Put16(fields, e.deflate ? 8 : 0);
        Put16(fields, kDosTime);
        Put16(fields, kDosDate);
        Put32(fields, crc);
        Put32(fields, uint32_t(payload.size()));
        Put32(fields, uint32_t(e.data.size()));
        Put16(fields, uint32_t(e.name.size()));
        Put16(fields, 0);
        file += std::string("PK\x03\x04", 4) + fields + e.name + payload;
        const bool directory = !e.name.empty() && e.name.back() == '/';
        central += std::string("PK\x01\x02", 4);
        Put16(central, 20);
        central += fields;
        Put16(central, 0); // comment
        Put16(central, 0); // volume
        Put16(central, 0); // internal attributes
        Put32(central, directory ? 0x10 : 0x20);
        Put32(central, offset);
        central += e.name;
    }
    const uint32_t directoryOffset = uint32_t(file.size() - before.size());
    file += central;
    file += std::string("PK\x05\x06", 4);
    Put32(file, 0);
    Put16(file, uint32_t(entries.size()));
    Put16(file, uint32_t(entries.size()));
    Put32(file, uint32_t(central.size()));
    Put32(file, directoryOffset);
    Put16(file, uint32_t(comment.size()));
    file += comment;
    return file;
}

// The byte range of each entry's local record with its data, in file order.
inline std::vector<std::string> LocalRecords(const std::vector<SEntry>& entries,
                                             const std::string& before = std::string()) {
    const std::string whole = Build(entries, before);
    std::vector<std::string> records;
    size_t at = before.size();
    for (size_t i = 0; i < entries.size(); i++) {
        const size_t nameLength = uint8_t(whole[at + 26]) | (uint8_t(whole[at + 27]) << 8);
        const size_t length = 30 + nameLength + Get32(whole, at + 18);
        records.push_back(whole.substr(at, length));
        at += length;
    }
    return records;
}

} // namespace HandMade
