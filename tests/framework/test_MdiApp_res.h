// Resource ids of test_MdiApp.rc, shared with the test.
#pragma once

#define IDR_MAINFRAME 700
#define IDR_CALLTYPE 701
#define IDD_NOTE 710
#define IDD_WIZ_CALLER 720
#define IDD_WIZ_SCORE 721
#define IDC_NOTE_TEXT 1101
#define IDC_NOTE_SCORE 1102
#define IDC_WIZ_VALUE 1103

// Commands: each is first handled at the level its name gives.
#define ID_CMD_VIEW 32100
#define ID_CMD_DOC 32101
#define ID_CMD_CHILD 32102
#define ID_CMD_MAIN 32103
#define ID_CMD_APP 32104
#define ID_CMD_NOBODY 32105
#define ID_CMD_FLAGGED 32106
#define ID_CMD_LOCKED 32107
