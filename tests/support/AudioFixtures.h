// AudioFixtures.h: a deterministic test signal and encoders for the four codings of
// recorded audio (A-law, mu-law, IMA ADPCM, GSM 06.10), for tests that need coded
// audio.
//
// The encoders are written here independently of the product's decoders (GSM goes
// to libgsm directly), so a test that decodes their output with the product checks
// it against a second, separate account of each coding.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The tables of the codings, copied here from their standards and the recorders
// rather than taken from the product:
// the recorders' mu-law values of codes 0x00 to 0x7F (code 0x80 + c is the negated
// value of code c),
extern const int16_t kFixtureMuLawLowerHalf[128];
// the IMA ADPCM step table, and the step-index change of each 3-bit magnitude.
extern const int kFixtureImaSteps[89];
extern const int kFixtureImaIndexShift[8];

// sampleCount samples at 8000 per second: three tones under a slow swell plus a
// little noise. The peaks reach about 27,000 and never clip; the quiet stretches of
// the swell exercise the small codes too. The same seed gives the same samples.
std::vector<int16_t> MakeTestSignal(int32_t sampleCount, uint32_t seed = 1);

// One G.711 A-law byte per sample.
std::string EncodeALaw(const std::vector<int16_t>& samples);

// One byte per sample: the code of the recorders' own mu-law table whose value is
// nearest to the sample.
std::string EncodeMuLaw(const std::vector<int16_t>& samples);

// IMA ADPCM in 256-byte blocks of 504 samples (i16 predictor, i8 step index, one
// reserved byte, then the codes low nibble first). Each block's header carries the
// encoder's running state, so the blocks join without a step. The last block is
// padded with silence; no samples give no blocks.
std::string EncodeImaAdpcm(const std::vector<int16_t>& samples);

// GSM 06.10 full-rate frames of 33 bytes, 160 samples each, through one libgsm state.
// The last frame is padded with zero samples; no samples give no frames.
std::string EncodeGsm(const std::vector<int16_t>& samples);
