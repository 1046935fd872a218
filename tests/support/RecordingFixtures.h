// RecordingFixtures.h: RecordingFields and the functions that build recording
// files (.zel) byte by byte for the tests: headers of versions 1 to 5, clear or
// encrypted with any key-length code, and broken ones.
//
// The bytes are laid out here independently of the product's reader and
// writer, and the encryption calls nettle directly, so a test compares the
// product with a second, separate account of the format.
#pragma once

#include <cstdint>
#include <string>

// The fields of one header record; the defaults are those of a new header.
struct RecordingFields {
    uint32_t version = 4;
    uint32_t headerLength = 1440;
    int32_t format = -1;
    int32_t important = 0;
    std::string callerId;
    std::string comment;
    int32_t startTime = 0;
    int32_t duration = 0;
    std::string userId;
    int32_t recordType = -1;
    std::string recorderType = "Unknown";
    int32_t secondDuration = 0;
};

const size_t kFixtureRecordSize = 1440;

// The 1440-byte record. Texts longer than their field fill it without a
// terminator, which lets tests build unterminated fields.
std::string MakeRecord(const RecordingFields& fields);

// Version 1: the version, then record bytes 8 to 1179 (1176 bytes).
std::string MakeHeaderV1(const RecordingFields& fields);
// Versions 2 to 4: the version, the length field as given, then record bytes 8
// up to the length field (at most the whole record; nothing for a length below 8).
std::string MakeHeaderV2to4(uint32_t version, uint32_t lengthField, const RecordingFields& fields);
// A version no recorder writes (0, 6, ...): the version, then record bytes 4 to
// 1439, so that only the version tells it apart.
std::string MakeHeaderOfUnknownVersion(uint32_t version, const RecordingFields& fields);
// Version 5: the version, the key-length code, the check string with its top
// bits flipped (padded with zeros to 40 bytes), the encrypted record.
std::string MakeHeaderV5(const RecordingFields& fields, const std::string& checkString,
                         int32_t keyLengthCode);

// The check string of a passphrase with every hex digit in lower case, as a
// recorder with another case pattern than ours may have stored it.
std::string LowercaseCheckString(const std::string& passphrase);

// Enciphers data as the recorders do: chunks of 66,560 bytes, each a CBC chain
// from a zero vector, whole blocks only (a shorter tail stays in clear), key =
// the first 16/24/32 characters of keyText by the code; code -1, any other code
// and a key text too short for the code copy the data.
std::string EncryptLikeRecorder(const std::string& data, const std::string& keyText,
                                int32_t keyLengthCode);

// Little-endian 32-bit value at an offset of a byte string.
uint32_t ReadLE32(const std::string& bytes, size_t offset);
