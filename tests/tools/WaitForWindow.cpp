// WaitForWindow: waits for a visible top-level window whose title begins with
// a text and lets it settle; with --close it then asks the window to close.
// The start script uses it around its screenshot of a run without a display.
//   wait_for_window <title prefix> [timeout seconds] [--close]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

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
    if (argc < 2) {
        fprintf(stderr, "usage: wait_for_window <title prefix> [timeout seconds] [--close]\n");
        return 2;
    }
    const DWORD timeout = (argc > 2 ? atoi(argv[2]) : 60) * 1000;
    const bool close = argc > 3 && strcmp(argv[3], "--close") == 0;
    SSearch search{argv[1], nullptr};
    const DWORD start = GetTickCount();
    while (search.found == nullptr && GetTickCount() - start < timeout) {
        EnumWindows(Look, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr)
            Sleep(200);
    }
    if (search.found == nullptr) {
        fprintf(stderr, "wait_for_window: no window \"%s\" appeared\n", argv[1]);
        return 1;
    }
    if (close) {
        PostMessageA(search.found, WM_CLOSE, 0, 0);
        return 0;
    }
    // The window fills its lists and paints its bars after it shows itself.
    Sleep(5000);
    return 0;
}
