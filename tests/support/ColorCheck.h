// ColorCheck.h: helpers of tests that read pixels: a colour as six hex digits
// (so that a failed comparison shows readable values) and a closeness test for
// colours that pass through gradients or dithering.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

inline std::string Hex(COLORREF color) {
    char text[16];
    snprintf(text, sizeof(text), "%06lX", static_cast<unsigned long>(color));
    return text;
}

// Within nTolerance of the expected colour, channel by channel.
inline bool Near(COLORREF actual, COLORREF expected, int nTolerance) {
    return std::abs(GetRValue(actual) - GetRValue(expected)) <= nTolerance &&
           std::abs(GetGValue(actual) - GetGValue(expected)) <= nTolerance &&
           std::abs(GetBValue(actual) - GetBValue(expected)) <= nTolerance;
}
