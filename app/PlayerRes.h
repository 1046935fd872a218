// PlayerRes.h: the ids of the player's own pictures and texts (range 3580 to
// 3619); the template, menu, accelerator and control ids the rest of the
// program shares are in resource.h.
#pragma once

// Transport and bookmark buttons, 32 x 32, in button order.
#define IDI_PLAYER_BACK30 3580
#define IDI_PLAYER_BACK10 3581
#define IDI_PLAYER_PLAY 3582
#define IDI_PLAYER_PAUSE 3583
#define IDI_PLAYER_STOP 3584
#define IDI_PLAYER_FORWARD10 3585
#define IDI_PLAYER_FORWARD30 3586
#define IDI_PLAYER_BOOKMARK_START 3587
#define IDI_PLAYER_BOOKMARK_END 3588
#define IDI_PLAYER_BOOKMARK_CLEAR 3589
// The top buttons, pictures that hold their captions: 64, 130 and 86 x 16.
#define IDI_PLAYER_FILE 3590
#define IDI_PLAYER_REVIEW 3591
#define IDI_PLAYER_HISTORY 3592
// The status icons, 16 x 16; "off" is the empty one.
#define IDI_STATUS_IMPORTANT 3593
#define IDI_STATUS_BOOKMARK 3594
#define IDI_STATUS_COMMENT 3595
#define IDI_STATUS_ENCRYPTED 3596
#define IDI_STATUS_OFF 3597

// Tooltips of the transport and bookmark buttons.
#define IDS_PLAYER_TIP_BACK30 3600
#define IDS_PLAYER_TIP_BACK10 3601
#define IDS_PLAYER_TIP_PLAY 3602
#define IDS_PLAYER_TIP_PAUSE 3603
#define IDS_PLAYER_TIP_STOP 3604
#define IDS_PLAYER_TIP_FORWARD10 3605
#define IDS_PLAYER_TIP_FORWARD30 3606
#define IDS_PLAYER_TIP_BOOKMARK 3607
// What the player tells the user.
#define IDS_PLAYER_LOAD_FAILED 3608   // %s: the recording's path
#define IDS_PLAYER_HEADER_FAILED 3609 // %s: the recording's path
#define IDS_PLAYER_NO_HOTLIST 3610
