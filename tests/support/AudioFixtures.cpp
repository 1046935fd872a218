// AudioFixtures.cpp: the test signal and the independent encoders of the four codings.
#include "AudioFixtures.h"

#include <gsm.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

const int16_t kFixtureMuLawLowerHalf[128] = {
    -32256, -31228, -30200, -29172, -28143, -27115, -26087, -25059, -24031, -23002, -21974, -20946,
    -19918, -18889, -17861, -16833, -16062, -15548, -15033, -14519, -14005, -13491, -12977, -12463,
    -11949, -11435, -10920, -10406, -9892,  -9378,  -8864,  -8350,  -7964,  -7707,  -7450,  -7193,
    -6936,  -6679,  -6422,  -6165,  -5908,  -5651,  -5394,  -5137,  -4880,  -4623,  -4365,  -4108,
    -3916,  -3787,  -3659,  -3530,  -3402,  -3273,  -3144,  -3016,  -2887,  -2759,  -2630,  -2502,
    -2373,  -2245,  -2116,  -1988,  -1891,  -1827,  -1763,  -1698,  -1634,  -1570,  -1506,  -1441,
    -1377,  -1313,  -1249,  -1184,  -1120,  -1056,  -992,   -927,   -879,   -847,   -815,   -783,
    -751,   -718,   -686,   -654,   -622,   -590,   -558,   -526,   -494,   -461,   -429,   -397,
    -373,   -357,   -341,   -325,   -309,   -293,   -277,   -261,   -245,   -228,   -212,   -196,
    -180,   -164,   -148,   -132,   -120,   -112,   -104,   -96,    -88,    -80,    -72,    -64,
    -56,    -48,    -40,    -32,    -24,    -16,    -8,     0};

const int kFixtureImaSteps[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

const int kFixtureImaIndexShift[8] = {-1, -1, -1, -1, 2, 4, 6, 8};

namespace {

const double kSampleRate = 8000.0;
const double kPi = 3.14159265358979323846;

// xorshift32: small, fast and the same on every machine.
class CNoise {
public:
    explicit CNoise(uint32_t seed) : m_state(seed * 2654435761u | 1u) {}
    uint32_t Next() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    // Triangular noise in -range..range.
    int Sample(int range) {
        int a = static_cast<int>(Next() % (range + 1));
        int b = static_cast<int>(Next() % (range + 1));
        return a - b;
    }

private:
    uint32_t m_state;
};

// G.711 A-law: the magnitude (13 bits) goes into a segment of doubling width and four
// mantissa bits; positive samples carry the sign bit, and the line inverts every even
// bit (0x55).
uint8_t LinearToALaw(int16_t sample) {
    int value = sample >> 3; // 13-bit range
    uint8_t sign = 0x80;
    if (value < 0) {
        sign = 0;
        value = -value - 1;
    }
    int segment = 0;
    while (segment < 8 && value >= (0x20 << segment))
        ++segment;
    uint8_t code;
    if (segment >= 8)
        code = 0x7F;
    else if (segment < 2)
        code = static_cast<uint8_t>(segment << 4 | ((value >> 1) & 0x0F));
    else
        code = static_cast<uint8_t>(segment << 4 | ((value >> segment) & 0x0F));
    return static_cast<uint8_t>((code | sign) ^ 0x55);
}

// (value, code) for all 256 codes, sorted by value.
std::vector<std::pair<int, uint8_t>> SortedMuLawCodes() {
    std::vector<std::pair<int, uint8_t>> codes;
    for (int code = 0; code < 128; ++code) {
        codes.emplace_back(kFixtureMuLawLowerHalf[code], static_cast<uint8_t>(code));
        codes.emplace_back(-kFixtureMuLawLowerHalf[code], static_cast<uint8_t>(0x80 + code));
    }
    std::sort(codes.begin(), codes.end());
    return codes;
}

const int kImaBlockBytes = 256;
const int kImaBlockSamples = 504;
const int kImaMaxIndex = 88;

// The encoder keeps the value a decoder will have reconstructed, so that each code
// corrects the decoder's error rather than the encoder's own.
struct ImaEncoder {
    int predictor = 0;
    int index = 0;

    unsigned Encode(int sample) {
        int step = kFixtureImaSteps[index];
        int delta = sample - predictor;
        unsigned code = 0;
        if (delta < 0) {
            code = 8;
            delta = -delta;
        }
        // Quantise delta / step to three bits, the way the decoder adds them back.
        int reconstructed = step >> 3;
        if (delta >= step) {
            code |= 4;
            delta -= step;
            reconstructed += step;
        }
        if (delta >= step >> 1) {
            code |= 2;
            delta -= step >> 1;
            reconstructed += step >> 1;
        }
        if (delta >= step >> 2) {
            code |= 1;
            reconstructed += step >> 2;
        }
        predictor += (code & 8) ? -reconstructed : reconstructed;
        predictor = std::clamp(predictor, -32768, 32767);
        index = std::clamp(index + kFixtureImaIndexShift[code & 7], 0, kImaMaxIndex);
        return code;
    }
};

} // namespace

std::vector<int16_t> MakeTestSignal(int32_t sampleCount, uint32_t seed) {
    std::vector<int16_t> samples(sampleCount > 0 ? sampleCount : 0);
    CNoise noise(seed);
    // The seed moves the tones' phases, so two seeds give two different signals.
    double phase = (seed % 97) * 0.1;
    for (size_t i = 0; i < samples.size(); ++i) {
        double t = i / kSampleRate;
        // Swell from 0.05 to 1 and back every two seconds.
        double swell = 0.05 + 0.95 * (0.5 - 0.5 * std::cos(2 * kPi * 0.5 * t + phase));
        double tones = 13000 * std::sin(2 * kPi * 440 * t + phase) +
                       9000 * std::sin(2 * kPi * 1230 * t + 0.7 + phase) +
                       5500 * std::sin(2 * kPi * 2750 * t + 1.9 + phase);
        samples[i] = static_cast<int16_t>(std::lround(swell * tones) + noise.Sample(300));
    }
    return samples;
}

std::string EncodeALaw(const std::vector<int16_t>& samples) {
    std::string bytes(samples.size(), '\0');
    for (size_t i = 0; i < samples.size(); ++i)
        bytes[i] = static_cast<char>(LinearToALaw(samples[i]));
    return bytes;
}

std::string EncodeMuLaw(const std::vector<int16_t>& samples) {
    static const std::vector<std::pair<int, uint8_t>> codes = SortedMuLawCodes();
    std::string bytes(samples.size(), '\0');
    for (size_t i = 0; i < samples.size(); ++i) {
        int sample = samples[i];
        auto above =
            std::lower_bound(codes.begin(), codes.end(), std::make_pair(sample, uint8_t(0)));
        auto best = above == codes.end() ? above - 1 : above;
        if (above != codes.begin() && sample - (above - 1)->first < best->first - sample)
            best = above - 1;
        bytes[i] = static_cast<char>(best->second);
    }
    return bytes;
}

std::string EncodeImaAdpcm(const std::vector<int16_t>& samples) {
    size_t blocks = (samples.size() + kImaBlockSamples - 1) / kImaBlockSamples;
    std::string bytes(blocks * kImaBlockBytes, '\0');
    ImaEncoder encoder;
    for (size_t b = 0; b < blocks; ++b) {
        char* block = &bytes[b * kImaBlockBytes];
        block[0] = static_cast<char>(encoder.predictor & 0xFF);
        block[1] = static_cast<char>((encoder.predictor >> 8) & 0xFF);
        block[2] = static_cast<char>(encoder.index);
        for (int i = 0; i < kImaBlockSamples; ++i) {
            size_t at = b * kImaBlockSamples + i;
            unsigned code = encoder.Encode(at < samples.size() ? samples[at] : 0);
            char& target = block[4 + i / 2];
            target = static_cast<char>((i % 2) ? (target | code << 4) : code);
        }
    }
    return bytes;
}

std::string EncodeGsm(const std::vector<int16_t>& samples) {
    const size_t frameSamples = 160;
    const size_t frameBytes = sizeof(gsm_frame);
    size_t frames = (samples.size() + frameSamples - 1) / frameSamples;
    std::string bytes(frames * frameBytes, '\0');
    gsm state = gsm_create();
    if (!state)
        return std::string();
    for (size_t f = 0; f < frames; ++f) {
        gsm_signal frame[frameSamples] = {};
        size_t first = f * frameSamples;
        size_t count = std::min(frameSamples, samples.size() - first);
        std::memcpy(frame, samples.data() + first, count * sizeof(gsm_signal));
        gsm_encode(state, frame, reinterpret_cast<gsm_byte*>(&bytes[f * frameBytes]));
    }
    gsm_destroy(state);
    return bytes;
}
