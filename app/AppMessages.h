// AppMessages.h: the main frame's private messages. Heap data that a message
// carries belongs to its receiver, which frees it.
#pragma once

#include <windows.h>

// wParam: a heap CKWArray<CKWString> of folders; posted.
#define WM_CREATE_RECORDING_LIST (WM_APP + 0x2041)
// wParam: what changed; lParam: a heap text with the recording's path; posted.
#define WM_RECORDING_CHANGED (WM_APP + 0x2042)
// wParam: (end second << 16) | start second, or -1; lParam: a heap path; posted.
#define WM_BOOKMARK_CHANGED (WM_APP + 0x2043)
// No parameters; posted.
#define WM_RELOAD_HOTLISTS (WM_APP + 0x2044)
// No parameters; posted.
#define WM_RELOAD_SHORTCUTS (WM_APP + 0x2045)
// lParam: the scored entry, which stays the sender's; sent.
#define WM_CALL_SCORED (WM_APP + 0x2046)
// wParam: a heap copy of the search criteria; posted.
#define WM_RESCAN_FOLDERS (WM_APP + 0x2047)

static_assert(WM_CREATE_RECORDING_LIST == 0xA041 && WM_RESCAN_FOLDERS == 0xA047,
              "the private messages keep their numbers");
