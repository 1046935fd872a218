// RecordingFixtures.cpp: recording files built byte by byte for the tests.
#include "RecordingFixtures.h"

#include "native/hide_win32.h"
#include <nettle/aes.h>
#include <nettle/cbc.h>
#include <nettle/md5.h>
#include "native/restore_win32.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

const size_t kChunk = 66560;
const size_t kBlock = 16;

void PutLE32(std::string& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutText(std::string& bytes, size_t offset, size_t width, const std::string& text) {
    memcpy(&bytes[offset], text.data(), text.size() < width ? text.size() : width);
}

std::string LE32(uint32_t value) {
    std::string bytes(4, '\0');
    PutLE32(bytes, 0, value);
    return bytes;
}

} // namespace

std::string MakeRecord(const RecordingFields& f) {
    std::string r(kFixtureRecordSize, '\0');
    PutLE32(r, 0, f.version);
    PutLE32(r, 4, f.headerLength);
    PutLE32(r, 8, static_cast<uint32_t>(f.format));
    PutLE32(r, 12, static_cast<uint32_t>(f.important));
    PutText(r, 16, 128, f.callerId);
    PutText(r, 144, 1024, f.comment);
    PutLE32(r, 1168, static_cast<uint32_t>(f.startTime));
    PutLE32(r, 1172, static_cast<uint32_t>(f.duration));
    PutText(r, 1180, 128, f.userId);
    PutLE32(r, 1308, static_cast<uint32_t>(f.recordType));
    PutText(r, 1312, 120, f.recorderType);
    PutLE32(r, 1432, static_cast<uint32_t>(f.secondDuration));
    return r;
}

std::string MakeHeaderV1(const RecordingFields& fields) {
    return LE32(1) + MakeRecord(fields).substr(8, 1172);
}

std::string MakeHeaderV2to4(uint32_t version, uint32_t lengthField, const RecordingFields& fields) {
    size_t body = lengthField > kFixtureRecordSize ? kFixtureRecordSize : lengthField;
    body = body > 8 ? body - 8 : 0;
    return LE32(version) + LE32(lengthField) + MakeRecord(fields).substr(8, body);
}

std::string MakeHeaderOfUnknownVersion(uint32_t version, const RecordingFields& fields) {
    return LE32(version) + MakeRecord(fields).substr(4);
}

std::string MakeHeaderV5(const RecordingFields& fields, const std::string& checkString,
                         int32_t keyLengthCode) {
    std::string check(40, '\0');
    PutText(check, 0, 40, checkString);
    for (char& c : check)
        c = static_cast<char>(static_cast<unsigned char>(c) ^ 0x80);
    return LE32(5) + LE32(static_cast<uint32_t>(keyLengthCode)) + check +
           EncryptLikeRecorder(MakeRecord(fields), checkString, keyLengthCode);
}

std::string LowercaseCheckString(const std::string& passphrase) {
    md5_ctx md5;
    uint8_t digest[MD5_DIGEST_SIZE];
    md5_init(&md5);
    md5_update(&md5, passphrase.size(), reinterpret_cast<const uint8_t*>(passphrase.data()));
    md5_digest(&md5, sizeof digest, digest);
    std::string text;
    char hex[3];
    for (uint8_t byte : digest) {
        snprintf(hex, sizeof hex, "%02x", byte);
        text += hex;
    }
    return text;
}

std::string EncryptLikeRecorder(const std::string& data, const std::string& keyText,
                                int32_t keyLengthCode) {
    // Codes no recorder writes (3, say) leave the bytes in clear: a reader must
    // refuse them whatever the bytes are.
    if (keyLengthCode < 0 || keyLengthCode > 2)
        return data;
    const size_t keyBytes = 16 + 8 * static_cast<size_t>(keyLengthCode);
    if (keyText.size() < keyBytes)
        return data;
    const uint8_t* key = reinterpret_cast<const uint8_t*>(keyText.data());
    std::string out = data;
    uint8_t* bytes = reinterpret_cast<uint8_t*>(&out[0]);
    const size_t whole = data.size() - data.size() % kBlock;
    for (size_t offset = 0; offset < whole; offset += kChunk) {
        const size_t length = whole - offset < kChunk ? whole - offset : kChunk;
        uint8_t iv[kBlock] = {};
        if (keyBytes == 16) {
            aes128_ctx ctx;
            aes128_set_encrypt_key(&ctx, key);
            cbc_encrypt(&ctx, reinterpret_cast<nettle_cipher_func*>(aes128_encrypt), kBlock, iv,
                        length, bytes + offset, bytes + offset);
        } else if (keyBytes == 24) {
            aes192_ctx ctx;
            aes192_set_encrypt_key(&ctx, key);
            cbc_encrypt(&ctx, reinterpret_cast<nettle_cipher_func*>(aes192_encrypt), kBlock, iv,
                        length, bytes + offset, bytes + offset);
        } else {
            aes256_ctx ctx;
            aes256_set_encrypt_key(&ctx, key);
            cbc_encrypt(&ctx, reinterpret_cast<nettle_cipher_func*>(aes256_encrypt), kBlock, iv,
                        length, bytes + offset, bytes + offset);
        }
    }
    return out;
}

uint32_t ReadLE32(const std::string& bytes, size_t offset) {
    if (offset + 4 > bytes.size())
        return 0;
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}
