// SyntheticInput.h: real mouse and keyboard input for the tests, sent with
// SendInput. It goes through the X server and reaches the thread's queue a
// little later, so the callers run their messages after sending.
#pragma once

#include <windows.h>

// Moves the cursor to a screen point (an absolute move); dwButtons adds button
// flags (MOUSEEVENTF_LEFTUP, ...) to the same event.
void SendMouseMove(POINT ptScreen, DWORD dwButtons = 0);
// One button event where the cursor is: MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTUP, ...
void SendMouseButton(DWORD dwButton);
// The left button pressed and released where the cursor is, in one call.
void SendLeftClick();

// A key pressed (bUp false) or released.
void SendKey(WORD wVk, bool bUp);
// A key pressed and released, in one call.
void SendKeyTap(WORD wVk);
// Types letters and spaces, one pfnTapKey call for each (the caller's tap,
// which usually runs the messages after it); a letter is its upper-case key.
void TypeLetters(const char* pszLetters, void (*pfnTapKey)(WORD wVk));
