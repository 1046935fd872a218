// MainFrameRes.h: the framework's command and string ids that the main
// frame's resource script names, for the resource compiler, which cannot read
// the framework's C++ headers. The values are the framework's own.
#pragma once

#ifndef ID_FILE_NEW
#define ID_FILE_NEW 0xE100
#endif
#ifndef ID_FILE_OPEN
#define ID_FILE_OPEN 0xE101
#endif
#ifndef ID_FILE_SAVE
#define ID_FILE_SAVE 0xE103
#endif
#ifndef ID_FILE_SAVE_AS
#define ID_FILE_SAVE_AS 0xE104
#endif
#ifndef ID_FILE_MRU_FILE1
#define ID_FILE_MRU_FILE1 0xE110
#endif
#ifndef ID_WINDOW_CASCADE
#define ID_WINDOW_CASCADE 0xE132
#endif
#ifndef ID_WINDOW_TILE_HORZ
#define ID_WINDOW_TILE_HORZ 0xE133
#endif
#ifndef AFX_IDS_APP_TITLE
#define AFX_IDS_APP_TITLE 0xE000
#endif
