#include "KWAudioCodec.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace {

struct SampleTable {
    int16_t values[256];
};

// G.711 A-law expanded to 16 bits: the line inverts every even bit; three segment
// bits and four mantissa bits follow the sign, and each segment above the first
// doubles the one before.
constexpr int16_t ExpandALaw(uint8_t code) {
    int value = code ^ 0x55;
    int mantissa = (value & 0x0F) << 4;
    int segment = (value & 0x70) >> 4;
    int magnitude = segment == 0 ? mantissa + 8 : (mantissa + 0x108) << (segment - 1);
    return static_cast<int16_t>((value & 0x80) ? magnitude : -magnitude);
}

constexpr SampleTable MakeALawTable() {
    SampleTable table{};
    for (int code = 0; code < 256; ++code)
        table.values[code] = ExpandALaw(static_cast<uint8_t>(code));
    return table;
}

// The recorders' own mu-law table for codes 0x00 to 0x7F; code 0x80 + c is the
// negated value of code c. Its steps differ from G.711's (0x00 is -32256, not -32124),
// so it cannot be computed from the G.711 formula.
constexpr int16_t kMuLawLowerHalf[128] = {
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

constexpr SampleTable MakeMuLawTable() {
    SampleTable table{};
    for (int code = 0; code < 128; ++code) {
        table.values[code] = kMuLawLowerHalf[code];
        table.values[0x80 + code] = static_cast<int16_t>(-kMuLawLowerHalf[code]);
    }
    return table;
}

constexpr SampleTable kALawTable = MakeALawTable();
constexpr SampleTable kMuLawTable = MakeMuLawTable();

void ExpandInto(int16_t* samples, const uint8_t* data, int32_t count, const SampleTable& table) {
    if (!samples || !data || count <= 0)
        return;
    for (int32_t i = 0; i < count; ++i)
        samples[i] = table.values[data[i]];
}

int32_t ExpandThroughTable(int16_t** samples, const uint8_t* data, int32_t count,
                           const SampleTable& table) {
    if (!samples)
        return 0;
    *samples = nullptr;
    if (!data || count <= 0)
        return 0;
    int16_t* out = new (std::nothrow) int16_t[count];
    if (!out)
        return 0;
    ExpandInto(out, data, count, table);
    *samples = out;
    return count;
}

// The IMA ADPCM step table (89 steps, each about 1.1 times the one before) and the
// index adjustment for the three magnitude bits of a code.
constexpr int kImaMaxStepIndex = 88;
constexpr int16_t kImaStepTable[kImaMaxStepIndex + 1] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
constexpr int kImaIndexAdjust[8] = {-1, -1, -1, -1, 2, 4, 6, 8};

struct ImaAdpcmDecoder {
    int predictor;
    int index;
    int step; // the step of the code to come: the table entry of the index before it

    int16_t Next(unsigned code) {
        index = std::clamp(index + kImaIndexAdjust[code & 7], 0, kImaMaxStepIndex);
        int diff = step >> 3;
        if (code & 4)
            diff += step;
        if (code & 2)
            diff += step >> 1;
        if (code & 1)
            diff += step >> 2;
        predictor = std::clamp((code & 8) ? predictor - diff : predictor + diff,
                               static_cast<int>(INT16_MIN), static_cast<int>(INT16_MAX));
        step = kImaStepTable[index];
        return static_cast<int16_t>(predictor);
    }
};

// Whole units in size bytes, cut so that their samples still fit a 32-bit count.
int32_t WholeUnits(int32_t size, int32_t unitBytes, int32_t unitSamples) {
    if (size <= 0)
        return 0;
    return std::min(size / unitBytes, INT32_MAX / unitSamples);
}

// Decodes the whole units of size bytes into a new array of samples
// (decodeUnit(samples, unit) for each); answers the sample count. Without
// samples or data it only counts; a failed allocation answers 0.
template <typename DecodeUnit>
int32_t DecodeUnits(int16_t** samples, const uint8_t* data, int32_t size, int32_t unitBytes,
                    int32_t unitSamples, DecodeUnit decodeUnit) {
    const int32_t units = WholeUnits(size, unitBytes, unitSamples);
    const int32_t count = units * unitSamples;
    if (!samples || !data)
        return count;
    *samples = nullptr;
    if (count == 0)
        return 0;
    int16_t* out = new (std::nothrow) int16_t[count];
    if (!out)
        return 0;
    for (int32_t i = 0; i < units; ++i)
        decodeUnit(out + i * unitSamples, data + i * unitBytes);
    *samples = out;
    return count;
}

} // namespace

int32_t ALawDecode(int16_t** samples, const uint8_t* data, int32_t count) {
    return ExpandThroughTable(samples, data, count, kALawTable);
}

int32_t MuLawDecode(int16_t** samples, const uint8_t* data, int32_t count) {
    return ExpandThroughTable(samples, data, count, kMuLawTable);
}

void ALawDecodeInto(int16_t* samples, const uint8_t* data, int32_t count) {
    ExpandInto(samples, data, count, kALawTable);
}

void MuLawDecodeInto(int16_t* samples, const uint8_t* data, int32_t count) {
    ExpandInto(samples, data, count, kMuLawTable);
}

void ImaAdpcmDecodeBlock(int16_t* samples, const uint8_t* block, ImaAdpcmState* state) {
    if (!samples || !block)
        return;
    ImaAdpcmDecoder decoder;
    decoder.predictor = static_cast<int16_t>(block[0] | block[1] << 8);
    // The index byte is signed and a damaged header may hold anything; the nearest
    // end of the table keeps the decoder inside it.
    decoder.index =
        std::clamp(static_cast<int>(static_cast<int8_t>(block[2])), 0, kImaMaxStepIndex);
    decoder.step = kImaStepTable[decoder.index];
    const uint8_t* codes = block + kImaAdpcmHeaderBytes;
    for (int32_t i = 0; i < kImaAdpcmBlockSamples / 2; ++i) {
        samples[2 * i] = decoder.Next(codes[i] & 0x0F);
        samples[2 * i + 1] = decoder.Next(codes[i] >> 4);
    }
    if (state) {
        state->predictor = static_cast<int16_t>(decoder.predictor);
        state->stepIndex = static_cast<int8_t>(decoder.index);
    }
}

int32_t ImaAdpcmDecode(int16_t** samples, const uint8_t* data, int32_t size) {
    return DecodeUnits(
        samples, data, size, kImaAdpcmBlockBytes, kImaAdpcmBlockSamples,
        [](int16_t* out, const uint8_t* block) { ImaAdpcmDecodeBlock(out, block, nullptr); });
}

CKWGsmState::CKWGsmState() : m_gsm(gsm_create()) {
    if (m_gsm) {
        int fast = 1;
        gsm_option(m_gsm, GSM_OPT_FAST, &fast);
    }
}

CKWGsmState::~CKWGsmState() {
    if (m_gsm)
        gsm_destroy(m_gsm);
}

bool GsmDecodeFrame(int16_t* samples, const uint8_t* frame, CKWGsmState* state) {
    if (!samples)
        return false;
    if (!state) {
        CKWGsmState own;
        return GsmDecodeFrame(samples, frame, &own);
    }
    // A rejected frame (its signature nibble is not GSM's) leaves libgsm's output
    // untouched; silence is what the player and the scope must see then.
    if (frame && state->IsValid()) {
        // libgsm takes the frame as writable; it gets a copy of its own.
        gsm_frame copy;
        std::memcpy(copy, frame, sizeof copy);
        if (gsm_decode(state->Handle(), copy, samples) == 0)
            return true;
    }
    std::fill(samples, samples + kGsmFrameSamples, int16_t(0));
    return false;
}

int32_t GsmDecode(int16_t** samples, const uint8_t* data, int32_t size) {
    CKWGsmState state;
    return DecodeUnits(
        samples, data, size, kGsmFrameBytes, kGsmFrameSamples,
        [&state](int16_t* out, const uint8_t* frame) { GsmDecodeFrame(out, frame, &state); });
}

bool GsmEncodeFrame(uint8_t* frame, const int16_t* samples, CKWGsmState* state) {
    if (!frame)
        return false;
    if (!state) {
        CKWGsmState own;
        return GsmEncodeFrame(frame, samples, &own);
    }
    if (!samples || !state->IsValid()) {
        std::memset(frame, 0, kGsmFrameBytes);
        return false;
    }
    // libgsm takes the samples as writable; it gets a copy of its own.
    gsm_signal copy[kGsmFrameSamples];
    std::memcpy(copy, samples, sizeof copy);
    gsm_encode(state->Handle(), copy, frame);
    return true;
}

int32_t GsmEncode(uint8_t** frames, const int16_t* samples, int32_t count) {
    if (count <= 0) {
        if (frames)
            *frames = nullptr;
        return 0;
    }
    int64_t frameCount = (int64_t(count) + kGsmFrameSamples - 1) / kGsmFrameSamples;
    int32_t size = static_cast<int32_t>(frameCount * kGsmFrameBytes);
    if (!frames || !samples)
        return size;
    *frames = nullptr;
    uint8_t* out = new (std::nothrow) uint8_t[size];
    if (!out)
        return 0;
    CKWGsmState state;
    int32_t whole = count / kGsmFrameSamples;
    for (int32_t i = 0; i < whole; ++i)
        GsmEncodeFrame(out + i * kGsmFrameBytes, samples + i * kGsmFrameSamples, &state);
    int32_t rest = count - whole * kGsmFrameSamples;
    if (rest > 0) {
        int16_t last[kGsmFrameSamples] = {};
        std::copy(samples + whole * kGsmFrameSamples, samples + count, last);
        GsmEncodeFrame(out + whole * kGsmFrameBytes, last, &state);
    }
    *frames = out;
    return size;
}
