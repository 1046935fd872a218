// KWAESCipher.cpp: chunked AES-CBC and the passphrase check string over nettle.
#include "KWAESCipher.h"

#include "TraceLog.h"

#include "native/hide_win32.h"
#include <nettle/aes.h>
#include <nettle/cbc.h>
#include <nettle/md5.h>
#include "native/restore_win32.h"

#include <cstdio>
#include <cstring>

namespace {

// The classic C runtime's linear congruential generator; the recorders pick
// the case of each digit with a generator of this kind.
class CaseGenerator {
public:
    explicit CaseGenerator(uint32_t seed) : m_state(seed) {}
    int Next() {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int>((m_state >> 16) & 0x7FFF);
    }

private:
    uint32_t m_state;
};

// One key schedule of any of the three sizes, with the nettle functions that
// use it.
struct AesKey {
    union {
        aes128_ctx k128;
        aes192_ctx k192;
        aes256_ctx k256;
    } ctx;
    nettle_cipher_func* encrypt = nullptr;
    nettle_cipher_func* decrypt = nullptr;

    void Set(bool forEncrypt, size_t keyBytes, const uint8_t* key) {
        switch (keyBytes) {
        case AES128_KEY_SIZE:
            forEncrypt ? aes128_set_encrypt_key(&ctx.k128, key)
                       : aes128_set_decrypt_key(&ctx.k128, key);
            encrypt = reinterpret_cast<nettle_cipher_func*>(aes128_encrypt);
            decrypt = reinterpret_cast<nettle_cipher_func*>(aes128_decrypt);
            break;
        case AES192_KEY_SIZE:
            forEncrypt ? aes192_set_encrypt_key(&ctx.k192, key)
                       : aes192_set_decrypt_key(&ctx.k192, key);
            encrypt = reinterpret_cast<nettle_cipher_func*>(aes192_encrypt);
            decrypt = reinterpret_cast<nettle_cipher_func*>(aes192_decrypt);
            break;
        default:
            forEncrypt ? aes256_set_encrypt_key(&ctx.k256, key)
                       : aes256_set_decrypt_key(&ctx.k256, key);
            encrypt = reinterpret_cast<nettle_cipher_func*>(aes256_encrypt);
            decrypt = reinterpret_cast<nettle_cipher_func*>(aes256_decrypt);
            break;
        }
    }
};

} // namespace

CKWString CKWAESCipher::MakeCheckString(const char* passphrase) {
    md5_ctx md5;
    uint8_t digest[MD5_DIGEST_SIZE];
    md5_init(&md5);
    if (passphrase)
        md5_update(&md5, strlen(passphrase), reinterpret_cast<const uint8_t*>(passphrase));
    md5_digest(&md5, sizeof digest, digest);

    // Seeded afresh every time, so the case pattern is the same for every passphrase.
    CaseGenerator generator(kCheckStringSeed);
    for (size_t i = 0; i < MD5_DIGEST_SIZE; ++i) {
        const char* form = (generator.Next() & 1) ? "%02x" : "%02X";
        snprintf(m_checkString + 2 * i, sizeof m_checkString - 2 * i, form, digest[i]);
    }
    m_checkString[kCheckStringLength] = '\0';
    return CKWString(m_checkString);
}

bool CKWAESCipher::CheckStringsMatch(const char* stored, const char* computed) {
    if (!stored || !computed)
        return false;
    return strcasecmp(stored, computed) == 0;
}

size_t CKWAESCipher::KeyBytes(int keyLengthCode) {
    switch (keyLengthCode) {
    case KEY_128:
        return AES128_KEY_SIZE;
    case KEY_192:
        return AES192_KEY_SIZE;
    case KEY_256:
        return AES256_KEY_SIZE;
    default:
        return 0;
    }
}

size_t CKWAESCipher::Encrypt(const uint8_t* input, uint8_t* output, size_t count,
                             const char* keyText, int keyLengthCode) {
    return Run(true, input, output, count, keyText, keyLengthCode);
}

size_t CKWAESCipher::Decrypt(const uint8_t* input, uint8_t* output, size_t count,
                             const char* keyText, int keyLengthCode) {
    return Run(false, input, output, count, keyText, keyLengthCode);
}

// Both directions: the recorders encipher whole blocks only and leave a tail
// shorter than a block in clear, so Encrypt copies that tail and Decrypt leaves
// it alone; either way data of any length reads back.
size_t CKWAESCipher::Run(bool encrypt, const uint8_t* input, uint8_t* output, size_t count,
                         const char* keyText, int keyLengthCode) {
    if (!input || !output)
        return 0;
    if (keyLengthCode == KEY_NONE) {
        memmove(output, input, count);
        return count;
    }
    const size_t keyBytes = KeyBytes(keyLengthCode);
    if (keyBytes == 0) {
        KWTRACE_ERROR(("CKWAESCipher: key-length code %d is not valid\n", keyLengthCode));
        return 0;
    }
    if (!keyText || strnlen(keyText, keyBytes) < keyBytes) {
        KWTRACE_ERROR(("CKWAESCipher: the key text is shorter than %u bytes\n",
                       static_cast<unsigned>(keyBytes)));
        return 0;
    }

    AesKey key;
    key.Set(encrypt, keyBytes, reinterpret_cast<const uint8_t*>(keyText));
    const size_t whole = count - count % kBlockSize;
    for (size_t offset = 0; offset < whole; offset += kChunkSize) {
        const size_t length = whole - offset < kChunkSize ? whole - offset : kChunkSize;
        uint8_t iv[kBlockSize] = {};
        if (encrypt)
            cbc_encrypt(&key.ctx, key.encrypt, kBlockSize, iv, length, output + offset,
                        input + offset);
        else
            cbc_decrypt(&key.ctx, key.decrypt, kBlockSize, iv, length, output + offset,
                        input + offset);
    }
    if (!encrypt)
        return whole;
    if (output != input)
        memcpy(output + whole, input + whole, count - whole);
    return count;
}
