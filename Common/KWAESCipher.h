// KWAESCipher.h: CKWAESCipher, the AES-CBC cipher of protected recordings and the
// check string by which a passphrase is verified.
//
// AES and MD5 come from nettle. The cipher works in chunks of kChunkSize bytes,
// each a CBC chain of its own from a zero initialisation vector; only whole
// 16-byte blocks are enciphered, a shorter tail is stored as it is. The key is
// the check string's text itself, which the recording stores next to the data,
// so this is a gate in the program, not protection of the data.
#pragma once

#include "KWString.h"

#include <cstddef>
#include <cstdint>

class CKWAESCipher {
public:
    // Key-length codes stored in a protected recording.
    enum KeyLengthCode {
        KEY_NONE = -1, // stored as it is
        KEY_128 = 0,
        KEY_192 = 1,
        KEY_256 = 2,
    };
    static constexpr size_t kChunkSize = 0x10400; // 66,560 bytes, one CBC chain
    static constexpr size_t kBlockSize = 16;
    static constexpr int kCheckStringLength = 32; // hex digits of an MD5 digest
    // Seed of the generator that picks the case of each hex digit.
    static constexpr uint32_t kCheckStringSeed = 42;

    CKWAESCipher() = default;
    virtual ~CKWAESCipher() = default;
    CKWAESCipher(const CKWAESCipher&) = delete;
    CKWAESCipher& operator=(const CKWAESCipher&) = delete;

    // The 32-character check string of a passphrase (its 8-bit characters).
    CKWString MakeCheckString(const char* passphrase);
    // True when a stored check string and a computed one are the same text,
    // letter case aside: recorders pick the case of the digits with their own
    // generator, and the case carries nothing of the passphrase.
    static bool CheckStringsMatch(const char* stored, const char* computed);

    // Bytes a key-length code uses of the key text: 16, 24 or 32; 0 for
    // KEY_NONE and for codes that are not valid.
    static size_t KeyBytes(int keyLengthCode);

    // Both return the bytes written to output: count for KEY_NONE and for a
    // valid code, 0 when input or output is null, the code is not valid or the
    // key text is shorter than the code needs. Input and output may be the same
    // buffer. Decrypt writes whole blocks only and returns count rounded down
    // to whole blocks; the output bytes of a tail keep their values.
    size_t Encrypt(const uint8_t* input, uint8_t* output, size_t count, const char* keyText,
                   int keyLengthCode);
    size_t Decrypt(const uint8_t* input, uint8_t* output, size_t count, const char* keyText,
                   int keyLengthCode);

private:
    size_t Run(bool encrypt, const uint8_t* input, uint8_t* output, size_t count,
               const char* keyText, int keyLengthCode);

    char m_checkString[40]; // where MakeCheckString builds its text
};
