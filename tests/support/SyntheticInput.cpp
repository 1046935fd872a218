#include "SyntheticInput.h"

#include <cctype>

namespace {

void Send(INPUT* pInputs, UINT nCount) {
    ::SendInput(nCount, pInputs, sizeof(INPUT));
}

INPUT MouseInput(DWORD dwFlags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = dwFlags;
    return input;
}

INPUT KeyInput(WORD wVk, bool bUp) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = wVk;
    input.ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
    return input;
}

} // namespace

void SendMouseMove(POINT ptScreen, DWORD dwButtons) {
    // Absolute coordinates run from 0 to 65535 over the whole primary screen.
    INPUT input = MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | dwButtons);
    input.mi.dx = (ptScreen.x * 65535) / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = (ptScreen.y * 65535) / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    Send(&input, 1);
}

void SendMouseButton(DWORD dwButton) {
    INPUT input = MouseInput(dwButton);
    Send(&input, 1);
}

void SendLeftClick() {
    INPUT inputs[2] = {MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)};
    Send(inputs, 2);
}

void SendKey(WORD wVk, bool bUp) {
    INPUT input = KeyInput(wVk, bUp);
    Send(&input, 1);
}

void SendKeyTap(WORD wVk) {
    INPUT inputs[2] = {KeyInput(wVk, false), KeyInput(wVk, true)};
    Send(inputs, 2);
}

void TypeLetters(const char* pszLetters, void (*pfnTapKey)(WORD wVk)) {
    for (const char* p = pszLetters; *p != '\0'; ++p)
        pfnTapKey(*p == ' ' ? VK_SPACE
                            : static_cast<WORD>(toupper(static_cast<unsigned char>(*p))));
}
