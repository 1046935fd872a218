#include "native/gtest.h"

#include "Common/KWAudioCodec.h"
#include "tests/support/AudioFixtures.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

typedef int32_t (*StreamDecoder)(int16_t**, const uint8_t*, int32_t);

// Bytes laid at the very end of a readable page with an inaccessible page right after
// them: a decoder that reads one byte past the count it was given faults at once.
class CGuardedBytes {
public:
    explicit CGuardedBytes(const std::string& bytes) : m_size(bytes.size()) {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        size_t page = info.dwPageSize;
        size_t readable = std::max<size_t>(1, (bytes.size() + page - 1) / page) * page;
        m_base = static_cast<uint8_t*>(
            VirtualAlloc(nullptr, readable + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD previous;
        VirtualProtect(m_base + readable, page, PAGE_NOACCESS, &previous);
        m_data = m_base + readable - bytes.size();
        std::memcpy(m_data, bytes.data(), bytes.size());
    }
    ~CGuardedBytes() { VirtualFree(m_base, 0, MEM_RELEASE); }
    CGuardedBytes(const CGuardedBytes&) = delete;
    CGuardedBytes& operator=(const CGuardedBytes&) = delete;

    const uint8_t* Data() const { return m_data; }
    int32_t Size() const { return static_cast<int32_t>(m_size); }

private:
    uint8_t* m_base; // owns the pages
    uint8_t* m_data;
    size_t m_size;
};

// Runs a whole-stream decoder and takes over the array it allocates.
std::vector<int16_t> Decode(StreamDecoder decode, const uint8_t* data, int32_t size) {
    int16_t* samples = nullptr;
    int32_t count = decode(&samples, data, size);
    std::unique_ptr<int16_t[]> owner(samples);
    EXPECT_EQ(count > 0, samples != nullptr) << "count " << count;
    if (!samples)
        return {};
    return std::vector<int16_t>(samples, samples + count);
}

std::vector<int16_t> Decode(StreamDecoder decode, const std::string& bytes) {
    CGuardedBytes guarded(bytes);
    return Decode(decode, guarded.Data(), guarded.Size());
}

// What sox decodes from raw bytes of a type ("al", "gsm") as 16-bit samples. sox is
// a native program, so everything here goes through the C library: the bytes to a
// native temporary file, sox started by popen, its output read from the pipe.
std::vector<int16_t> SoxDecode(const char* type, const std::string& bytes) {
    char path[] = "/tmp/zm_codec_XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0) {
        ADD_FAILURE() << "no temporary file for sox";
        return {};
    }
    bool written = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    close(fd);
    std::vector<int16_t> samples;
    if (written) {
        std::string command = std::string("/usr/bin/sox -D -t ") + type + " -r 8000 -c 1 " + path +
                              " -t raw -e signed-integer -b 16 -L - 2>/dev/null";
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe) {
            int16_t block[4096];
            size_t got;
            while ((got = fread(block, sizeof block[0], 4096, pipe)) > 0)
                samples.insert(samples.end(), block, block + got);
            int status = pclose(pipe);
            EXPECT_EQ(0, status) << command;
        }
        EXPECT_TRUE(pipe != nullptr) << command;
    }
    EXPECT_TRUE(written) << "temporary file for sox not written";
    unlink(path);
    return samples;
}

// An IMA ADPCM block: header, then every code byte set to codeByte.
std::string ImaBlock(int16_t predictor, int8_t stepIndex, uint8_t codeByte) {
    std::string block(kImaAdpcmBlockBytes, static_cast<char>(codeByte));
    block[0] = static_cast<char>(predictor & 0xFF);
    block[1] = static_cast<char>((predictor >> 8) & 0xFF);
    block[2] = static_cast<char>(stepIndex);
    block[3] = 0;
    return block;
}

std::vector<int16_t> DecodeBlock(const std::string& block, ImaAdpcmState* state = nullptr) {
    CGuardedBytes guarded(block);
    std::vector<int16_t> samples(kImaAdpcmBlockSamples, 0x5555);
    ImaAdpcmDecodeBlock(samples.data(), guarded.Data(), state);
    return samples;
}

// Signal-to-noise ratio in dB of a decoded signal against the original.
double SnrDb(const std::vector<int16_t>& original, const std::vector<int16_t>& decoded) {
    double signal = 0, noise = 0;
    for (size_t i = 0; i < original.size(); ++i) {
        double error = double(decoded[i]) - original[i];
        signal += double(original[i]) * original[i];
        noise += error * error;
    }
    return 10 * std::log10(signal / std::max(noise, 1.0));
}

// ---- A-law

TEST(ALawDecode, EveryCodeDecodesAsSoxDecodesIt) {
    std::string codes;
    for (int code = 0; code < 256; ++code)
        codes += static_cast<char>(code);
    std::vector<int16_t> ours = Decode(ALawDecode, codes);
    ASSERT_EQ(256u, ours.size());
    EXPECT_EQ(SoxDecode("al", codes), ours);

    struct {
        uint8_t code;
        int16_t value;
    } const known[] = {{0x55, -8}, {0xD5, 8}, {0x2A, -32256}, {0xAA, 32256}};
    for (const auto& k : known)
        EXPECT_EQ(k.value, ours[k.code]) << std::hex << int(k.code);
}

TEST(ALawDecode, EncodedSignalDecodesAsSoxDecodesIt) {
    std::vector<int16_t> signal = MakeTestSignal(3 * 8000);
    std::string coded = EncodeALaw(signal);
    std::vector<int16_t> ours = Decode(ALawDecode, coded);
    ASSERT_EQ(signal.size(), ours.size());
    EXPECT_EQ(SoxDecode("al", coded), ours);
    // A-law rounds to a step of at most 1/16 of the sample, so its error stays within
    // 1/32 of it (and within 16 near silence).
    for (size_t i = 0; i < signal.size(); ++i)
        ASSERT_LE(std::abs(ours[i] - signal[i]), std::abs(signal[i]) / 32 + 16) << i;
}

// ---- mu-law

TEST(MuLawDecode, EveryCodeGivesTheRecordersValue) {
    std::string codes;
    for (int code = 0; code < 256; ++code)
        codes += static_cast<char>(code);
    std::vector<int16_t> ours = Decode(MuLawDecode, codes);
    ASSERT_EQ(256u, ours.size());
    for (int code = 0; code < 128; ++code) {
        EXPECT_EQ(kFixtureMuLawLowerHalf[code], ours[code]) << std::hex << code;
        EXPECT_EQ(-kFixtureMuLawLowerHalf[code], ours[0x80 + code]) << std::hex << 0x80 + code;
    }
}

TEST(MuLawDecode, EncodedSignalDecodesToTheNearestValue) {
    std::string codes;
    for (int code = 0; code < 256; ++code)
        codes += static_cast<char>(code);
    std::vector<int16_t> table = Decode(MuLawDecode, codes);
    ASSERT_EQ(256u, table.size());

    std::vector<int16_t> signal = MakeTestSignal(2 * 8000, 7);
    std::vector<int16_t> ours = Decode(MuLawDecode, EncodeMuLaw(signal));
    ASSERT_EQ(signal.size(), ours.size());
    for (size_t i = 0; i < signal.size(); ++i) {
        int nearest = 65536;
        for (int16_t value : table)
            nearest = std::min(nearest, std::abs(value - signal[i]));
        ASSERT_EQ(nearest, std::abs(ours[i] - signal[i])) << i;
    }
}

// ---- IMA ADPCM

TEST(ImaAdpcmDecodeBlock, SilentCodesAddAShrinkingStep) {
    const int expectedSteps[] = {2, 3, 4, 5, 6, 7, 8, 9, 9, 9};
    for (int16_t predictor : {int16_t(0), int16_t(-20000), int16_t(0x1234)}) {
        SCOPED_TRACE(predictor);
        ImaAdpcmState state;
        std::vector<int16_t> samples = DecodeBlock(ImaBlock(predictor, 8, 0x00), &state);
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(predictor + expectedSteps[i], samples[i]) << i;
        // The index has reached 0 and step 7 adds nothing from here on.
        for (int i = 10; i < kImaAdpcmBlockSamples; ++i)
            ASSERT_EQ(predictor + 9, samples[i]) << i;
        EXPECT_EQ(predictor + 9, state.predictor);
        EXPECT_EQ(0, state.stepIndex);
    }
}

TEST(ImaAdpcmDecodeBlock, LoudestCodesDriveThePredictorToTheLimit) {
    struct {
        uint8_t codeByte;
        int limit;
    } const cases[] = {{0x77, 32767}, {0xFF, -32768}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit);
        ImaAdpcmState state;
        std::vector<int16_t> samples = DecodeBlock(ImaBlock(0, 0, c.codeByte), &state);
        int reached = -1;
        for (int i = 0; i < kImaAdpcmBlockSamples; ++i) {
            if (reached < 0 && samples[i] == c.limit)
                reached = i;
            if (i > 0) {
                ASSERT_GE(std::abs(samples[i]), std::abs(samples[i - 1])) << i;
            }
        }
        ASSERT_GE(reached, 0);
        for (int i = reached; i < kImaAdpcmBlockSamples; ++i)
            ASSERT_EQ(c.limit, samples[i]) << i;
        EXPECT_EQ(c.limit, state.predictor);
        EXPECT_EQ(88, state.stepIndex);
    }
}

// A damaged header's step index is taken as the nearest end of the table.
TEST(ImaAdpcmDecodeBlock, StepIndexOutsideTheTableIsClamped) {
    std::string codes = EncodeImaAdpcm(MakeTestSignal(kImaAdpcmBlockSamples, 3)).substr(4);
    struct {
        int8_t stored;
        int8_t used;
    } const cases[] = {{89, 88}, {100, 88}, {127, 88}, {-1, 0}, {-128, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.stored));
        std::string damaged = ImaBlock(1000, c.stored, 0).substr(0, 4) + codes;
        std::string clamped = ImaBlock(1000, c.used, 0).substr(0, 4) + codes;
        ImaAdpcmState state;
        EXPECT_EQ(DecodeBlock(clamped), DecodeBlock(damaged, &state));
        EXPECT_GE(state.stepIndex, 0);
        EXPECT_LE(state.stepIndex, 88);
    }
}

TEST(ImaAdpcmDecode, CountsAndDecodesWholeBlocksOnly) {
    std::string coded = EncodeImaAdpcm(MakeTestSignal(3 * kImaAdpcmBlockSamples));
    ASSERT_EQ(3u * kImaAdpcmBlockBytes, coded.size());
    struct {
        int32_t size;
        int32_t count;
    } const cases[] = {{-5, 0}, {0, 0}, {255, 0}, {256, 504}, {512, 1008}, {700, 1008}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        EXPECT_EQ(c.count, ImaAdpcmDecode(nullptr, nullptr, c.size));
        std::string bytes = coded.substr(0, std::max(c.size, 0));
        std::vector<int16_t> ours = Decode(ImaAdpcmDecode, bytes);
        ASSERT_EQ(size_t(c.count), ours.size());
        for (int32_t b = 0; b * kImaAdpcmBlockSamples < c.count; ++b) {
            std::vector<int16_t> block = DecodeBlock(coded.substr(b * kImaAdpcmBlockBytes, 256));
            EXPECT_TRUE(
                std::equal(block.begin(), block.end(), ours.begin() + b * kImaAdpcmBlockSamples))
                << "block " << b;
        }
    }
}

TEST(ImaAdpcmDecode, EncodedSignalIsReproduced) {
    std::vector<int16_t> signal = MakeTestSignal(3 * 8000, 5);
    std::string coded = EncodeImaAdpcm(signal);
    std::vector<int16_t> ours = Decode(ImaAdpcmDecode, coded);
    int32_t blocks = (3 * 8000 + kImaAdpcmBlockSamples - 1) / kImaAdpcmBlockSamples;
    ASSERT_EQ(size_t(blocks * kImaAdpcmBlockSamples), ours.size());
    // Four bits a sample keep about 20 dB of this signal; a decoder that swaps the
    // nibbles or takes the next step too early falls below 0 dB.
    EXPECT_GT(SnrDb(signal, ours), 18.0);
}

TEST(ImaAdpcmDecode, EveryBlockStartsFromItsOwnHeader) {
    std::string coded = EncodeImaAdpcm(MakeTestSignal(3 * kImaAdpcmBlockSamples, 9));
    std::vector<int16_t> clean = Decode(ImaAdpcmDecode, coded);
    std::string damaged = coded;
    std::fill(damaged.begin() + 4, damaged.begin() + kImaAdpcmBlockBytes, '\x77');
    std::vector<int16_t> ours = Decode(ImaAdpcmDecode, damaged);
    ASSERT_EQ(clean.size(), ours.size());
    EXPECT_NE(clean[kImaAdpcmBlockSamples - 1], ours[kImaAdpcmBlockSamples - 1]);
    EXPECT_TRUE(std::equal(clean.begin() + kImaAdpcmBlockSamples, clean.end(),
                           ours.begin() + kImaAdpcmBlockSamples));
}

// ---- GSM 06.10

TEST(GsmDecode, EncodedSignalDecodesAsSoxDecodesIt) {
    std::vector<int16_t> signal = MakeTestSignal(2 * 8000 + 37, 11);
    std::string coded = EncodeGsm(signal);
    ASSERT_EQ(101u * kGsmFrameBytes, coded.size());
    std::vector<int16_t> sox = SoxDecode("gsm", coded);
    ASSERT_EQ(101u * kGsmFrameSamples, sox.size());

    EXPECT_EQ(sox, Decode(GsmDecode, coded));

    // Frame by frame through one state, as a decoder thread runs it.
    CGuardedBytes guarded(coded);
    CKWGsmState state;
    ASSERT_TRUE(state.IsValid());
    std::vector<int16_t> frames(sox.size());
    for (size_t f = 0; f < 101; ++f)
        EXPECT_TRUE(GsmDecodeFrame(&frames[f * kGsmFrameSamples],
                                   guarded.Data() + f * kGsmFrameBytes, &state));
    EXPECT_EQ(sox, frames);
}

TEST(GsmDecode, CountsAndDecodesWholeFramesOnly) {
    std::string coded = EncodeGsm(MakeTestSignal(4 * kGsmFrameSamples, 13));
    struct {
        int32_t size;
        int32_t count;
    } const cases[] = {{-1, 0}, {0, 0}, {32, 0}, {33, 160}, {100, 480}, {132, 640}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        EXPECT_EQ(c.count, GsmDecode(nullptr, nullptr, c.size));
        std::vector<int16_t> ours = Decode(GsmDecode, coded.substr(0, std::max(c.size, 0)));
        ASSERT_EQ(size_t(c.count), ours.size());
        if (c.count > 0) {
            EXPECT_EQ(SoxDecode("gsm", coded.substr(0, c.count / 160 * 33)), ours);
        }
    }
}

// libgsm rejects a frame whose first nibble is not GSM's signature and writes nothing;
// the samples of such a frame must come out as silence, not as what the buffer held.
TEST(GsmDecodeFrame, RejectedFrameGivesSilence) {
    std::string coded = EncodeGsm(MakeTestSignal(3 * kGsmFrameSamples, 17));
    coded[kGsmFrameBytes] = static_cast<char>(0x00);
    CGuardedBytes guarded(coded);

    std::vector<int16_t> frame(kGsmFrameSamples, 0x5555);
    EXPECT_FALSE(GsmDecodeFrame(frame.data(), guarded.Data() + kGsmFrameBytes));
    EXPECT_EQ(std::vector<int16_t>(kGsmFrameSamples, 0), frame);

    std::vector<int16_t> ours = Decode(GsmDecode, guarded.Data(), guarded.Size());
    ASSERT_EQ(3u * kGsmFrameSamples, ours.size());
    std::vector<int16_t> first = SoxDecode("gsm", coded.substr(0, kGsmFrameBytes));
    EXPECT_TRUE(std::equal(first.begin(), first.end(), ours.begin()));
    EXPECT_TRUE(std::all_of(ours.begin() + kGsmFrameSamples, ours.begin() + 2 * kGsmFrameSamples,
                            [](int16_t s) { return s == 0; }));
    EXPECT_TRUE(std::any_of(ours.begin() + 2 * kGsmFrameSamples, ours.end(),
                            [](int16_t s) { return s != 0; }));
}

TEST(GsmEncode, PadsTheLastFrameWithSilence) {
    std::vector<int16_t> signal = MakeTestSignal(400, 19);
    const int32_t counts[] = {1, 159, 160, 161, 320, 400};
    for (int32_t count : counts) {
        SCOPED_TRACE(count);
        int32_t size = (count + 159) / 160 * 33;
        EXPECT_EQ(size, GsmEncode(nullptr, nullptr, count));
        std::vector<int16_t> samples(signal.begin(), signal.begin() + count);
        uint8_t* frames = nullptr;
        ASSERT_EQ(size, GsmEncode(&frames, samples.data(), count));
        std::unique_ptr<uint8_t[]> owner(frames);
        ASSERT_TRUE(frames != nullptr);
        EXPECT_EQ(EncodeGsm(samples), std::string(frames, frames + size));
    }
    uint8_t* frames = reinterpret_cast<uint8_t*>(1);
    EXPECT_EQ(0, GsmEncode(&frames, signal.data(), 0));
    EXPECT_EQ(nullptr, frames);
}

TEST(GsmEncodeFrame, EncodesOneFrameAsLibgsmDoes) {
    std::vector<int16_t> signal = MakeTestSignal(kGsmFrameSamples, 23);
    uint8_t frame[kGsmFrameBytes];
    EXPECT_TRUE(GsmEncodeFrame(frame, signal.data()));
    EXPECT_EQ(EncodeGsm(signal), std::string(frame, frame + kGsmFrameBytes));
}

// ---- every decoder

TEST(AudioDecoders, MissingOrEmptyInputGivesNoSamples) {
    const uint8_t byte = 0;
    struct {
        const char* name;
        StreamDecoder decode;
    } const decoders[] = {{"A-law", ALawDecode},
                          {"mu-law", MuLawDecode},
                          {"IMA ADPCM", ImaAdpcmDecode},
                          {"GSM", GsmDecode}};
    for (const auto& d : decoders) {
        SCOPED_TRACE(d.name);
        for (int32_t size : {0, -1, INT32_MIN}) {
            int16_t* samples = reinterpret_cast<int16_t*>(1);
            EXPECT_EQ(0, d.decode(&samples, &byte, size));
            EXPECT_EQ(nullptr, samples);
        }
        EXPECT_EQ(0, d.decode(nullptr, &byte, 1));
    }
    int16_t* samples = reinterpret_cast<int16_t*>(1);
    EXPECT_EQ(0, ALawDecode(&samples, nullptr, 10));
    EXPECT_EQ(nullptr, samples);
}

// The caller's buffer gets exactly count samples, the same as the whole-stream
// decoders give; the guard page stops any read past the codes.
TEST(AudioDecoders, DecodeIntoFillsOnlyTheCallersSamples) {
    std::string codes;
    for (int code = 0; code < 256; ++code)
        codes += static_cast<char>(code);
    codes += EncodeALaw(MakeTestSignal(1001, 5));
    const CGuardedBytes guarded(codes);
    const int16_t kSentinel = 0x5A5A;
    const struct {
        const char* name;
        StreamDecoder decode;
        void (*decodeInto)(int16_t*, const uint8_t*, int32_t);
    } decoders[] = {{"A-law", ALawDecode, ALawDecodeInto},
                    {"mu-law", MuLawDecode, MuLawDecodeInto}};
    for (const auto& d : decoders) {
        SCOPED_TRACE(d.name);
        std::vector<int16_t> buffer(codes.size() + 2, kSentinel);
        d.decodeInto(buffer.data() + 1, guarded.Data(), guarded.Size());
        EXPECT_EQ(kSentinel, buffer.front());
        EXPECT_EQ(kSentinel, buffer.back());
        EXPECT_TRUE(std::vector<int16_t>(buffer.begin() + 1, buffer.end() - 1) ==
                    Decode(d.decode, codes));

        std::vector<int16_t> untouched(4, kSentinel);
        d.decodeInto(untouched.data(), guarded.Data(), 0);
        d.decodeInto(untouched.data(), guarded.Data(), -3);
        d.decodeInto(untouched.data(), nullptr, 4);
        d.decodeInto(nullptr, guarded.Data(), 4);
        EXPECT_EQ(std::vector<int16_t>(4, kSentinel), untouched);
    }
}

// Damaged audio decodes to whatever it decodes to, but never reads past its end
// (the guard page) and never stops the program.
TEST(AudioDecoders, ArbitraryBytesAreDecodedWithinTheirCount) {
    uint32_t random = 12345;
    auto next = [&random]() {
        random = random * 1664525u + 1013904223u;
        return static_cast<char>(random >> 24);
    };
    for (int32_t size : {1, 33 * 7 + 5, 256 * 5 + 13, 10007}) {
        SCOPED_TRACE(size);
        std::string bytes(size, '\0');
        std::generate(bytes.begin(), bytes.end(), next);
        // Give every GSM frame the signature, so libgsm decodes the noise instead of
        // rejecting it.
        std::string gsm = bytes;
        for (int32_t f = 0; f + kGsmFrameBytes <= size; f += kGsmFrameBytes)
            gsm[f] = static_cast<char>(0xD0 | (gsm[f] & 0x0F));

        EXPECT_EQ(size_t(size), Decode(ALawDecode, bytes).size());
        EXPECT_EQ(size_t(size), Decode(MuLawDecode, bytes).size());
        EXPECT_EQ(size_t(size / 256 * 504), Decode(ImaAdpcmDecode, bytes).size());
        EXPECT_EQ(size_t(size / 33 * 160), Decode(GsmDecode, gsm).size());
    }
}

} // namespace
