#include "native/gtest.h"

#include "Common/KWAESCipher.h"
#include "tests/support/RecordingFixtures.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(tolower(c)); });
    return text;
}

// Bytes that are not all alike, so that a swapped or shifted block shows.
std::string Pattern(size_t count) {
    std::string data(count, '\0');
    for (size_t i = 0; i < count; ++i)
        data[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return data;
}

const uint8_t* Bytes(const std::string& s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}

TEST(KWAESCipherTest, CheckStringIsTheMD5DigestInHex) {
    struct Case {
        const char* passphrase;
        const char* digest; // RFC 1321 test suite and a known value
    };
    const Case cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"secret", "5ebe2294ecd0e0f08eab7690d2a6ee69"},
    };
    CKWAESCipher cipher;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.passphrase);
        const std::string check = static_cast<const char*>(cipher.MakeCheckString(c.passphrase));
        EXPECT_EQ(32u, check.size());
        EXPECT_EQ(c.digest, Lowercase(check));
        EXPECT_EQ(LowercaseCheckString(c.passphrase), Lowercase(check));
    }
}

TEST(KWAESCipherTest, CheckStringsOfEveryPassphraseShareOneCasePattern) {
    CKWAESCipher cipher;
    // Digests chosen so that most positions hold letters in both.
    const std::string a = static_cast<const char*>(cipher.MakeCheckString("secret"));
    const std::string b = static_cast<const char*>(cipher.MakeCheckString("Secret"));
    EXPECT_NE(Lowercase(a), Lowercase(b)); // letter case of the passphrase counts
    int compared = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        if (isalpha(static_cast<unsigned char>(a[i])) &&
            isalpha(static_cast<unsigned char>(b[i]))) {
            EXPECT_EQ(isupper(static_cast<unsigned char>(a[i])) != 0,
                      isupper(static_cast<unsigned char>(b[i])) != 0)
                << "position " << i;
            ++compared;
        }
    }
    EXPECT_GT(compared, 0);
    // Seeded afresh each time: the same passphrase gives the same text again.
    EXPECT_STREQ(a.c_str(), cipher.MakeCheckString("secret"));
}

TEST(KWAESCipherTest, StoredCheckStringsMatchWhateverTheirCase) {
    CKWAESCipher cipher;
    const std::string ours = static_cast<const char*>(cipher.MakeCheckString("secret"));
    std::string upper = ours;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(toupper(c)); });
    EXPECT_TRUE(
        CKWAESCipher::CheckStringsMatch(LowercaseCheckString("secret").c_str(), ours.c_str()));
    EXPECT_TRUE(CKWAESCipher::CheckStringsMatch(upper.c_str(), ours.c_str()));
    EXPECT_FALSE(
        CKWAESCipher::CheckStringsMatch(LowercaseCheckString("Secret").c_str(), ours.c_str()));
    EXPECT_FALSE(CKWAESCipher::CheckStringsMatch(ours.substr(0, 31).c_str(), ours.c_str()));
    EXPECT_FALSE(CKWAESCipher::CheckStringsMatch(nullptr, ours.c_str()));
}

TEST(KWAESCipherTest, KnownAnswerOfTheRecorderKey) {
    const std::string key = LowercaseCheckString("secret");
    ASSERT_EQ("5ebe2294ecd0e0f0", key.substr(0, 16));
    std::vector<uint8_t> zeros(1440, 0), out(1440, 0xEE);
    CKWAESCipher cipher;
    ASSERT_EQ(1440u, cipher.Encrypt(zeros.data(), out.data(), zeros.size(), key.c_str(),
                                    CKWAESCipher::KEY_128));
    const uint8_t expected[] = {0x6c, 0x89, 0x55, 0x8d, 0x65, 0xbe, 0x0d, 0xa6};
    EXPECT_EQ(0, memcmp(expected, out.data(), sizeof expected));
    // The same bytes as the recorders' chain, block after block.
    const std::string recorder = EncryptLikeRecorder(std::string(1440, '\0'), key, 0);
    EXPECT_EQ(0, memcmp(recorder.data(), out.data(), out.size()));
}

// 66,560 + 20 bytes: one whole chunk, then one block of a second chain that
// starts again from the zero vector, then a 4-byte tail stored as it is.
TEST(KWAESCipherTest, ChunksAreChainsOfTheirOwnAndTheTailStaysAsStored) {
    const size_t count = CKWAESCipher::kChunkSize + 20;
    ASSERT_EQ(66560u, CKWAESCipher::kChunkSize);
    const std::string plain = Pattern(count);
    const std::string key = LowercaseCheckString("secret");
    for (int code : {0, 1, 2}) {
        SCOPED_TRACE(code);
        const std::string stored = EncryptLikeRecorder(plain, key, code);
        ASSERT_EQ(0, memcmp(stored.data() + count - 4, plain.data() + count - 4, 4));
        // The second chain's first block is the first block of a chain of its own.
        const std::string lone =
            EncryptLikeRecorder(plain.substr(CKWAESCipher::kChunkSize, 16), key, code);
        EXPECT_EQ(lone, stored.substr(CKWAESCipher::kChunkSize, 16));

        CKWAESCipher cipher;
        std::vector<uint8_t> out(count, 0xEE);
        EXPECT_EQ(count - 4, cipher.Decrypt(Bytes(stored), out.data(), count, key.c_str(), code));
        EXPECT_EQ(0, memcmp(plain.data(), out.data(), count - 4));
        for (size_t i = count - 4; i < count; ++i)
            EXPECT_EQ(0xEE, out[i]) << "the tail is not written";

        std::vector<uint8_t> encrypted(count, 0);
        EXPECT_EQ(count, cipher.Encrypt(Bytes(plain), encrypted.data(), count, key.c_str(), code));
        EXPECT_EQ(0, memcmp(stored.data(), encrypted.data(), count));
    }
}

// Encrypt leaves a short tail in clear, as Decrypt expects, so data of any
// length comes back; in place works too.
TEST(KWAESCipherTest, DataOfAnyLengthComesBackInPlace) {
    const std::string key = LowercaseCheckString("a longer passphrase");
    CKWAESCipher cipher;
    for (size_t count : {size_t(0), size_t(5), size_t(16), size_t(20), size_t(1440),
                         size_t(2 * CKWAESCipher::kChunkSize + 33)}) {
        SCOPED_TRACE(count);
        const std::string plain = Pattern(count);
        std::vector<uint8_t> buffer(plain.begin(), plain.end());
        buffer.push_back(0); // data() of an empty vector may be null
        EXPECT_EQ(count, cipher.Encrypt(buffer.data(), buffer.data(), count, key.c_str(), 2));
        if (count >= 16) {
            EXPECT_NE(0, memcmp(plain.data(), buffer.data(), count));
        }
        EXPECT_EQ(count - count % 16,
                  cipher.Decrypt(buffer.data(), buffer.data(), count, key.c_str(), 2));
        EXPECT_EQ(0, memcmp(plain.data(), buffer.data(), count));
    }
}

TEST(KWAESCipherTest, KeyLengthCodesAndMissingBuffers) {
    const std::string key = LowercaseCheckString("secret");
    const std::string plain = Pattern(48);
    CKWAESCipher cipher;
    std::vector<uint8_t> out(48, 0);

    // -1: the bytes are stored as they are.
    EXPECT_EQ(48u, cipher.Decrypt(Bytes(plain), out.data(), 48, key.c_str(), -1));
    EXPECT_EQ(0, memcmp(plain.data(), out.data(), 48));
    EXPECT_EQ(48u, cipher.Encrypt(Bytes(plain), out.data(), 48, nullptr, -1));

    // Each valid code uses its own key length: the three results differ.
    std::string results[3];
    for (int code = 0; code < 3; ++code) {
        ASSERT_EQ(48u, cipher.Encrypt(Bytes(plain), out.data(), 48, key.c_str(), code));
        results[code].assign(out.begin(), out.end());
    }
    EXPECT_NE(results[0], results[1]);
    EXPECT_NE(results[1], results[2]);

    struct Case {
        const char* what;
        const uint8_t* input;
        uint8_t* output;
        const char* keyText;
        int code;
    };
    const Case failures[] = {
        {"code 3", Bytes(plain), out.data(), key.c_str(), 3},
        {"code -2", Bytes(plain), out.data(), key.c_str(), -2},
        {"no input", nullptr, out.data(), key.c_str(), 0},
        {"no output", Bytes(plain), nullptr, key.c_str(), 0},
        {"no key", Bytes(plain), out.data(), nullptr, 0},
        {"key shorter than 32 for code 2", Bytes(plain), out.data(), "0123456789abcdef", 2},
    };
    for (const Case& c : failures) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(0u, cipher.Decrypt(c.input, c.output, 48, c.keyText, c.code));
        EXPECT_EQ(0u, cipher.Encrypt(c.input, c.output, 48, c.keyText, c.code));
    }
}

} // namespace
