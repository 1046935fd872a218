// SaveWindowPng: waits for a visible top-level window whose title begins with
// a text, lets it settle, keeps it as a PNG and asks it to close.
//   save_window_png <title prefix> <png path> [timeout seconds]
#include "tests/support/Canvas.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct SSearch {
    const char* prefix;
    HWND found;
};

BOOL CALLBACK Look(HWND hWnd, LPARAM lParam) {
    auto* search = reinterpret_cast<SSearch*>(lParam);
    char title[256] = "";
    GetWindowTextA(hWnd, title, sizeof(title));
    if (IsWindowVisible(hWnd) && strncmp(title, search->prefix, strlen(search->prefix)) == 0) {
        search->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: save_window_png <title prefix> <png path> [timeout seconds]\n");
        return 2;
    }
    const DWORD timeout = (argc > 3 ? atoi(argv[3]) : 60) * 1000;
    SSearch search{argv[1], nullptr};
    const DWORD start = GetTickCount();
    while (search.found == nullptr && GetTickCount() - start < timeout) {
        EnumWindows(Look, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr)
            Sleep(200);
    }
    if (search.found == nullptr) {
        fprintf(stderr, "save_window_png: no window \"%s\" appeared\n", argv[1]);
        return 1;
    }
    // The window paints its lists and bars after it shows itself.
    Sleep(3000);
    RECT rect;
    GetWindowRect(search.found, &rect);
    const bool saved = SaveScreenPng(rect, argv[2]);
    PostMessageA(search.found, WM_CLOSE, 0, 0);
    if (!saved) {
        fprintf(stderr, "save_window_png: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
