// test_ToolkitMainFrameDemo_res.h: resources of the toolkit's main-frame demo.
#pragma once

#define IDR_DEMOFRAME 800
#define IDB_FILEBAR 801
#define IDB_EDITBAR 802
#define IDI_ABOUT 803
#define IDI_CASCADE 804
#define IDI_TILE 805

#define ID_DEMO_NEW 0xE100
#define ID_DEMO_OPEN 0xE101
#define ID_DEMO_SAVE 0xE103
#define ID_DEMO_PRINT 0xE107
#define ID_DEMO_COPY 0xE122
#define ID_DEMO_CUT 0xE123
#define ID_DEMO_PASTE 0xE125
#define ID_DEMO_UNDO 0xE12B
#define ID_DEMO_CASCADE 0xE132
#define ID_DEMO_TILE 0xE133
#define ID_DEMO_ABOUT 0xE140
#define ID_DEMO_EXIT 0xE141
