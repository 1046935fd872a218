// Decoding one hour of recorded audio (28.8 million samples at 8000 per second) in
// each coding with the product's functions, against a plain loop written here for
// each: a table lookup for A-law and mu-law, the textbook IMA ADPCM loop, and libgsm's
// gsm_decode called frame by frame. Items per second are samples per second.
//
// A-law and mu-law decode into one hour of samples reused by every round, on both
// sides: a fresh 57.6 MB array per round would measure the first touch of its pages,
// not the decoding. The other codings allocate their output the same way on both
// sides. The tables of the plain loops are the test fixtures' own copies, not the
// product's. Compare the pairs with --benchmark_repetitions and their medians.
// Run through scripts/bench.sh.
#include "native/benchmark.h"

#include "Common/KWAudioCodec.h"
#include "tests/support/AudioFixtures.h"

#include <gsm.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

const int32_t kHourSamples = 3600 * 8000;
// An hour is 57,142 whole IMA ADPCM blocks and a little; GSM frames fit it exactly.
const int32_t kImaHourBlocks = kHourSamples / kImaAdpcmBlockSamples;
const int32_t kImaHourBytes = kImaHourBlocks * kImaAdpcmBlockBytes;
const int32_t kImaHourSamples = kImaHourBlocks * kImaAdpcmBlockSamples;
const int32_t kGsmHourBytes = kHourSamples / kGsmFrameSamples * kGsmFrameBytes;

// One byte per sample of noise: the table expanders do not care what the bytes say.
const std::vector<uint8_t>& LawHour() {
    static const std::vector<uint8_t> bytes = [] {
        std::mt19937 random(1);
        std::vector<uint8_t> hour(kHourSamples);
        for (uint8_t& byte : hour)
            byte = static_cast<uint8_t>(random());
        return hour;
    }();
    return bytes;
}

// Blocks of random codes under a header with a valid step index.
const std::vector<uint8_t>& ImaHour() {
    static const std::vector<uint8_t> bytes = [] {
        std::mt19937 random(2);
        std::vector<uint8_t> hour(kImaHourBytes);
        for (uint8_t& byte : hour)
            byte = static_cast<uint8_t>(random());
        for (int32_t at = 0; at < kImaHourBytes; at += kImaAdpcmBlockBytes)
            hour[at + 2] %= 89;
        return hour;
    }();
    return bytes;
}

// Ten seconds of a swelling two-tone signal, encoded once and repeated for the hour:
// libgsm decodes real frames, not the noise it would mostly reject.
const std::vector<uint8_t>& GsmHour() {
    static const std::vector<uint8_t> bytes = [] {
        const int32_t tenSeconds = 80000;
        std::vector<int16_t> signal(tenSeconds);
        for (int32_t i = 0; i < tenSeconds; ++i) {
            double t = i / 8000.0;
            double swell = 0.55 - 0.45 * std::cos(2 * M_PI * 0.5 * t);
            signal[i] = static_cast<int16_t>(swell * (16000 * std::sin(2 * M_PI * 440 * t) +
                                                      8000 * std::sin(2 * M_PI * 1230 * t)));
        }
        uint8_t* frames = nullptr;
        int32_t size = GsmEncode(&frames, signal.data(), tenSeconds);
        std::unique_ptr<uint8_t[]> owner(frames);
        std::vector<uint8_t> hour;
        hour.reserve(kGsmHourBytes);
        while (static_cast<int32_t>(hour.size()) < kGsmHourBytes)
            hour.insert(hour.end(), frames, frames + size);
        hour.resize(kGsmHourBytes);
        return hour;
    }();
    return bytes;
}

template <int32_t (*Decode)(int16_t**, const uint8_t*, int32_t)>
void ProductDecode(benchmark::State& state, const std::vector<uint8_t>& bytes, int32_t expected) {
    for (auto _ : state) {
        int16_t* samples = nullptr;
        int32_t count = Decode(&samples, bytes.data(), static_cast<int32_t>(bytes.size()));
        std::unique_ptr<int16_t[]> owner(samples);
        benchmark::DoNotOptimize(samples);
        if (count != expected)
            state.SkipWithError("wrong sample count");
    }
    state.SetItemsProcessed(state.iterations() * int64_t(expected));
}

// One hour of samples, written by every round of the A-law and mu-law variants.
int16_t* ReusedHour() {
    static const std::unique_ptr<int16_t[]> samples(new int16_t[kHourSamples]());
    return samples.get();
}

template <void (*DecodeInto)(int16_t*, const uint8_t*, int32_t)>
void ProductDecodeInto(benchmark::State& state) {
    const std::vector<uint8_t>& bytes = LawHour();
    int16_t* samples = ReusedHour();
    for (auto _ : state) {
        DecodeInto(samples, bytes.data(), kHourSamples);
        benchmark::DoNotOptimize(samples);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kHourSamples));
}

void BM_ALawDecodeInto(benchmark::State& state) {
    ProductDecodeInto<ALawDecodeInto>(state);
}
void BM_MuLawDecodeInto(benchmark::State& state) {
    ProductDecodeInto<MuLawDecodeInto>(state);
}
void BM_ImaAdpcmDecode(benchmark::State& state) {
    ProductDecode<ImaAdpcmDecode>(state, ImaHour(), kImaHourSamples);
}
void BM_GsmDecode(benchmark::State& state) {
    ProductDecode<GsmDecode>(state, GsmHour(), kHourSamples);
}

// The decoder thread's way: one frame at a time through one state.
void BM_GsmDecodeFrame(benchmark::State& state) {
    const std::vector<uint8_t>& bytes = GsmHour();
    for (auto _ : state) {
        std::unique_ptr<int16_t[]> samples(new int16_t[kHourSamples]);
        CKWGsmState gsmState;
        for (int32_t f = 0; f < kHourSamples / kGsmFrameSamples; ++f)
            GsmDecodeFrame(samples.get() + f * kGsmFrameSamples, &bytes[f * kGsmFrameBytes],
                           &gsmState);
        benchmark::DoNotOptimize(samples.get());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kHourSamples));
}

// ---- native baselines

// The floor under the variants that allocate their output: a fresh hour of
// samples, written once.
void BM_AllocateAndFillHour(benchmark::State& state) {
    for (auto _ : state) {
        std::unique_ptr<int16_t[]> samples(new int16_t[kHourSamples]);
        std::memset(samples.get(), 0, kHourSamples * sizeof(int16_t));
        benchmark::DoNotOptimize(samples.get());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kHourSamples));
}

// A 256-entry table, then one lookup per byte, written as anyone would write it.
void TableLoop(benchmark::State& state, const int16_t (&table)[256]) {
    const std::vector<uint8_t>& bytes = LawHour();
    int16_t* out = ReusedHour();
    for (auto _ : state) {
        for (int32_t i = 0; i < kHourSamples; ++i)
            out[i] = table[bytes[i]];
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kHourSamples));
}

void BM_ALawTableLoop(benchmark::State& state) {
    static int16_t table[256];
    for (int code = 0; code < 256; ++code) {
        int value = code ^ 0x55;
        int segment = (value >> 4) & 7;
        int magnitude = ((value & 0x0F) << 4) + 8;
        if (segment > 0)
            magnitude = (magnitude + 0x100) << (segment - 1);
        table[code] = static_cast<int16_t>((value & 0x80) ? magnitude : -magnitude);
    }
    TableLoop(state, table);
}

void BM_MuLawTableLoop(benchmark::State& state) {
    static int16_t table[256];
    for (int code = 0; code < 128; ++code) {
        table[code] = kFixtureMuLawLowerHalf[code];
        table[0x80 + code] = static_cast<int16_t>(-kFixtureMuLawLowerHalf[code]);
    }
    TableLoop(state, table);
}

void BM_ImaAdpcmTextbookLoop(benchmark::State& state) {
    const std::vector<uint8_t>& bytes = ImaHour();
    for (auto _ : state) {
        std::unique_ptr<int16_t[]> samples(new int16_t[kImaHourSamples]);
        int16_t* out = samples.get();
        for (int32_t at = 0; at < kImaHourBytes; at += kImaAdpcmBlockBytes) {
            const uint8_t* block = &bytes[at];
            int predictor = static_cast<int16_t>(block[0] | block[1] << 8);
            int index = std::min<int>(block[2], 88);
            for (int i = 0; i < 2 * (kImaAdpcmBlockBytes - 4); ++i) {
                int code = (block[4 + i / 2] >> ((i & 1) * 4)) & 0x0F;
                int step = kFixtureImaSteps[index];
                int diff = step >> 3;
                if (code & 4)
                    diff += step;
                if (code & 2)
                    diff += step >> 1;
                if (code & 1)
                    diff += step >> 2;
                predictor += (code & 8) ? -diff : diff;
                predictor = std::clamp(predictor, -32768, 32767);
                index = std::clamp(index + kFixtureImaIndexShift[code & 7], 0, 88);
                *out++ = static_cast<int16_t>(predictor);
            }
        }
        benchmark::DoNotOptimize(samples.get());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kImaHourSamples));
}

void BM_GsmRawLibgsm(benchmark::State& state) {
    const std::vector<uint8_t>& bytes = GsmHour();
    for (auto _ : state) {
        std::unique_ptr<int16_t[]> samples(new int16_t[kHourSamples]);
        gsm handle = gsm_create();
        for (int32_t f = 0; f < kHourSamples / kGsmFrameSamples; ++f)
            gsm_decode(handle, const_cast<gsm_byte*>(&bytes[f * kGsmFrameBytes]),
                       samples.get() + f * kGsmFrameSamples);
        gsm_destroy(handle);
        benchmark::DoNotOptimize(samples.get());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kHourSamples));
}

} // namespace

BENCHMARK(BM_AllocateAndFillHour)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ALawDecodeInto)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ALawTableLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MuLawDecodeInto)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MuLawTableLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImaAdpcmDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImaAdpcmTextbookLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GsmDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GsmDecodeFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GsmRawLibgsm)->Unit(benchmark::kMillisecond);
