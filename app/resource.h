// resource.h: the ids of the application's resources, controls and commands.
// Everything here is compiled into the program from ZelMoxel.rc.
#pragma once

// Images.
#define IDB_TREE_IMAGES 130      // four 16-pixel pictures of the Access Panel's tree items
#define IDB_GROUP_IMAGES 206     // four 25-pixel pictures of the Access Panel's group headers
#define IDI_BROWSE_FOLDER 215    // the browse button of "Select Directory"
#define IDR_HOTLISTS_TOOLBAR 224 // the hot-lists toolbar and its bitmap
#define IDR_TREE_ACCEL 223       // accelerators of the shortcut and hot-lists trees
#define IDR_SHELLTREE_ACCEL 3303 // accelerators of the shell folder tree

// Dialogs and their controls.
#define IDD_HOTLIST 217
#define IDC_HOTLIST_TREE 1107
#define IDD_NEW_SHORTCUT 226
#define IDC_NEWSHORTCUT_TREE 1108
#define IDC_NEWSHORTCUT_NAME 1109
#define IDD_ANNOTATE 3301
#define IDC_PREDEFINED_COMMENTS 1080
#define IDC_COMMENT 1082
#define IDD_SELECT_DIR 3302
#define IDC_SELECTDIR_PATH 1104
#define IDC_SELECTDIR_BROWSE 1106

// Commands of the trees' accelerators and toolbars.
#define ID_EDIT_NAME 32854
#define ID_DELETE_SELECTED 32855
#define ID_SHELLTREE_CREATE_LIST 32857
#define ID_VALIDATE_LINKS 32859
// The hot-lists toolbar's clipboard buttons: the framework's edit commands.
#define ID_EDIT_COPY 57634
#define ID_EDIT_CUT 57635
#define ID_EDIT_PASTE 57637

// Shortcut tree context menu.
#define ID_SHORTCUT_CREATE_LIST 32969
#define ID_SHORTCUT_EXPLORE 32970
#define ID_SHORTCUT_SELECT_ALL 32971
#define ID_SHORTCUT_NEW_GROUP 32972
#define ID_SHORTCUT_NEW_SHORTCUT 32973
#define ID_SHORTCUT_RENAME 32974
#define ID_SHORTCUT_CLEAR 32975
#define ID_SHORTCUT_REMOVE 32976

// Shell folder tree context menu.
#define ID_SHELLTREE_CREATE_RECORDING_LIST 32869
#define ID_SHELLTREE_ADD_TO_SHORTCUTS 32870
#define ID_SHELLTREE_EXPLORE 32871
#define ID_SHELLTREE_CREATE_SHORTCUT_LIST 32872

// Hot-lists tree context menu.
#define ID_HOTLIST_PLAY 33069
#define ID_HOTLIST_SELECT_ALL 33070
#define ID_HOTLIST_COPY 33071
#define ID_HOTLIST_PASTE 33072
#define ID_HOTLIST_DELETE 33073
#define ID_HOTLIST_NEW 33074
#define ID_HOTLIST_RENAME 33075
#define ID_HOTLIST_CLEAR 33076
#define ID_HOTLIST_REMOVE_DUPLICATES 33077
#define ID_HOTLIST_EXPLORE 33078
#define ID_HOTLIST_CREATE_LIST 33079
#define ID_HOTLIST_VALIDATE 33080

// Strings of "Select Directory".
#define IDS_SELECTDIR_BROWSE_TIP 3320   // the browse button's tooltip
#define IDS_SELECTDIR_BROWSE_TITLE 3321 // the text above the folder browser's tree

// ---------------------------------------------------------------------------
// The program itself: the application, the main frame and its menus, the call
// list, the player and their dialogs. Ids that a family invents beyond these
// live in that family's own header (app/<Family>Res.h), in its own range.

// Frame, document template and the strings the start-up reads.
#define IDR_MAINFRAME 128 // frame menu, accelerators, icon; string: the product name
#define IDR_ZELTYPE 129   // list menu, icon; string: the document template's
#define IDS_COMPANY 1000
#define IDS_PRODUCT 128
#define IDC_ACCESS_PANEL 130 // control id of the Access Panel bar
#define IDC_PLAYER_PANEL 133 // control id of the Player Panel bar
#define IDS_TASK_IN_PROGRESS 143
#define IDS_SCANNING 144
#define IDS_COMPILING_LIST 145
#define IDS_HELP_GUIDE_FILE 166
#define IDS_HELP_REPORTS_FILE 167
#define IDS_ASK_SAVE_LIST 2022
#define IDS_ABOUT_LINK1 1001 // ... up to 1005: the about box's link targets
#define IDS_ABOUT_LINK5 1005

// Menu icons of the frame (16 x 16).
#define IDI_MENU_NEW 186
#define IDI_MENU_CREATE 187
#define IDI_MENU_OPEN 180
#define IDI_MENU_SAVE 192
#define IDI_MENU_SAVE_AS 205
#define IDI_MENU_COPY 193
#define IDI_MENU_PASTE 194
#define IDI_MENU_REMOVE 195
#define IDI_MENU_TRIM 196
#define IDI_MENU_ACCESS_PANEL 188
#define IDI_MENU_PLAYER_PANEL 189
#define IDI_MENU_RUN_SCHEDULED 220
#define IDI_MENU_PLAY_HISTORY 190
#define IDI_MENU_APPEND 198
#define IDI_MENU_CASCADE 199
#define IDI_MENU_TILE 200
#define IDI_MENU_ABOUT 191
#define IDI_MENU_CUSTOM_REPORT 288
#define IDI_MENU_STATISTICS 291
#define IDI_MENU_CHARTS 292
#define IDI_MENU_SCORES 293
#define IDI_MENU_LONGEST_CALLS 287
#define IDI_MENU_AGENT_SUMMARY 294

// Commands of the frame's menus and accelerators.
#ifndef ID_APP_EXIT
#define ID_APP_EXIT 0xE141
#endif
#ifndef ID_APP_ABOUT
#define ID_APP_ABOUT 57664
#endif
#define ID_CREATE_LIST 32771
#define ID_EDIT_REMOVE 32775
#define ID_EDIT_TRIM 32776
#define ID_PLAY_HISTORY_AT_START 32781
#define ID_PLAY_HISTORY_AT_START_NOLIST 32787
#define ID_VIEW_ACCESS_PANEL 59392
#define ID_VIEW_PLAYER_PANEL 32788
#define ID_APPEND 32794
#define ID_SHOW_PLAY_HISTORY 32807
#define ID_ARCHIVE_SETTINGS 32849
#define ID_ARCHIVE_LOGS 32850
#define ID_RUN_SCHEDULED_NOW 32851
#define ID_FORMS_MANAGER 32853
#define ID_PLAY 32856
#define ID_CUSTOM_REPORT 32882
#define ID_ENCRYPTION 33085
#define ID_HELP_GUIDE 57670
#define ID_HELP_ARCHIVING 33087
#define ID_HELP_REPORTS 33089
#define ID_IMPORT_PHONEBOOK 33092
#define ID_REPORT_STATISTICS 33048
#define ID_REPORT_CHARTS 33049
#define ID_REPORT_SCORES_USER 33050
#define ID_REPORT_SCORES_CALLER 33051
#define ID_REPORT_AGENT_SUMMARY 33056
#define ID_REPORT_ASSESS_USER 33058
#define ID_REPORT_ASSESS_CALLER 33066
#define ID_REPORT_TEAM_ASSESS_USER 33069
#define ID_REPORT_LONGEST_CALLS 33072

// Create Recording List (dialog 165) and "Search for specific calls" (167).
#define IDD_CREATE_LIST 165
#define IDC_ADD_SOURCE 1058
#define IDC_REMOVE 1059 // also the history dialog's Remove
#define IDC_SUBFOLDERS 1060
#define IDC_DATE_ALL 1061
#define IDC_DATE_YESTERDAY 1062
#define IDC_DATE_7DAYS 1063
#define IDC_DATE_30DAYS 1064
#define IDC_DATE_RANGE 1065
#define IDC_LENGTH_ALL 1066
#define IDC_LENGTH_LARGER 1067
#define IDC_MINUTES 1068
#define IDC_MINUTES_SPIN 1070
#define IDC_FILENAME_MASK 1071
#define IDC_DATE_AFTER 1072
#define IDC_DATE_BEFORE 1073
#define IDC_CALLERID_MASK 1074
#define IDC_SOURCES 1075
#define IDC_DATE_AFTER_LABEL 1076
#define IDC_DATE_BEFORE_LABEL 1077
#define IDC_DATE_AND_LABEL 1078
#define IDS_SELECT_SOURCE_TITLE 142
#define IDD_SEARCH 167
#define IDC_SEARCH_IN 1083
#define IDC_SEARCH_FOR 1084
#define IDC_SEARCH_DIRECTION 1085

// Passphrase dialog (296) and about box (100).
#define IDD_DECRYPTION 296
#define IDC_PASSPHRASE 1262
#define IDC_SAVE_PASSPHRASE 1263
#define IDD_ABOUTBOX 100
#define IDC_ABOUT_VERSION 1088
#define IDC_ABOUT_LINK1 1063
#define IDC_ABOUT_LINK2 1064
#define IDC_ABOUT_LINK3 1065
#define IDC_ABOUT_LINK4 1066
#define IDC_ABOUT_LINK5 1068
#define IDC_ABOUT_LINK6 1069
#define IDC_ABOUT_LINK7 1070
#define IDC_ABOUT_LINK8 1071

// The call-list form (101) and its list.
#define IDD_CALLLIST_FORM 101
#define IDC_PLAY 1025 // also the player's and the history dialog's Play
#define IDC_LIST_REFRESH 1019
#define IDC_LIST_SEARCH 1020
#define IDC_EMAIL_WAV 1022
#define IDC_EMAIL_ZEL 1021
#define IDC_EXPORT_WAV 1023
#define IDC_EXPORT_ZEL 1010
#define IDC_MARK_IMPORTANT 1024
#define IDC_UNMARK_IMPORTANT 1028
#define IDC_ANNOTATE 1018
#define IDC_DELETE_CALLS 1011
#define IDC_REPORTS 1031
#define IDC_SCORE_FORMS 1032
#define IDC_ARCHIVE_MENU 1033
#define IDC_WATCHER 1034
#define IDC_CALL_LIST 1013
#define IDC_LIST_KIND_ICON 1091
#define IDC_LIST_CAPTION 1092
#define IDC_COUNT_CALLS 1026
#define IDC_COUNT_IMPORTANT 1027
#define IDC_COUNT_DURATION 1081
#define IDC_COUNT_SCORED 1082
#define IDC_SEPARATOR1 1029
#define IDC_SEPARATOR2 1030
#define IDC_SEPARATOR3 1035
#define IDC_LEGEND1 1257
#define IDC_LEGEND2 1258
#define IDC_LEGEND3 1259
#define IDC_LEGEND4 1260
#define IDC_LEGEND5 1264
#define IDC_LEGEND6 1265
#define IDB_SORT_DOWN 145
#define IDB_SORT_UP 146
#define IDS_NO_CALLS 130
#define IDS_COL_ENC 163
#define IDS_COL_USER_ID 133
#define IDS_COL_CALLER_ID 134
#define IDS_COL_DATE_TIME 135
#define IDS_COL_DURATION 136
#define IDS_COL_BM 138
#define IDS_COL_COMMENT 139
#define IDS_COL_ARCHIVED 2037
#define IDS_COL_SCORE1 2038
#define IDS_COL_SCORE2 2039
#define IDS_TIP_IMPORTANT 2019
#define IDS_TIP_BOOKMARK 2016
#define IDS_TIP_ENCRYPTED 2023
#define IDS_LONGEST_CALLS 162

// Commands on listed recordings: context menu 202, export and e-mail menu 296,
// archiving menu 281.
#define IDR_CALLLIST_MENU 202
#define IDR_EXPORT_MENU 296
#define IDR_ARCHIVE_MENU 281
#define ID_SCORE 32811
#define ID_LIST_PLAY 32812
#define ID_LIST_COPY 32813
#define ID_LIST_PASTE 32814
#define ID_LIST_REMOVE 32815
#define ID_LIST_TRIM 32816
#define ID_LIST_DELETE 32820
#define ID_LIST_SELECT_ALL 32824
#define ID_LIST_UNMARK 32825
#define ID_LIST_MARK 32826
#define ID_ARCHIVE_ZIP 32865
#define ID_ARCHIVE_DISK 32866
#define ID_ARCHIVE_ISO 32867
#define ID_SCORE_PLAY_MODE 32868
#define ID_EXPORT_WAV_FULL 33076
#define ID_EXPORT_WAV_BOOKMARK 33077
#define ID_EXPORT_ZEL_FULL 33078
#define ID_EXPORT_ZEL_BOOKMARK 33079
#define ID_EMAIL_WAV_FULL 33080
#define ID_EMAIL_WAV_BOOKMARK 33081
#define ID_EMAIL_ZEL_FULL 33082
#define ID_EMAIL_ZEL_BOOKMARK 33083
#define IDS_MAIL_SUBJECT 137
#define IDS_MAIL_BODY 146
#define IDS_PLAYER_URL 147
#define IDS_EXPORT_WAV_FOLDER 148
#define IDS_EXPORTING 149
#define IDS_EXPORT_FAILED 150
#define IDS_EXPORT_ZEL_FOLDER 151
#define IDS_ASK_DELETE 152
#define IDS_DELETING 153
#define IDS_DELETE_FAILED 154

// The player form (103), its File menu (208) and accelerators (274).
#define IDD_PLAYER_FORM 103
#define IDC_BACK30 1033
#define IDC_BACK10 1034
#define IDC_PAUSE 1053
#define IDC_STOP 1036
#define IDC_FORWARD10 1037
#define IDC_FORWARD30 1038
#define IDC_BOOKMARK_START 1044
#define IDC_BOOKMARK_END 1054
#define IDC_BOOKMARK_CLEAR 1055
#define IDC_FILE_MENU 1041
#define IDC_CALLS_FOR_REVIEW 1042
#define IDC_HISTORY 1043
#define IDC_POSITION 1046
#define IDC_DURATION 1045
#define IDC_DURATION_LABEL 1081
#define IDC_DATE_LABEL 1047
#define IDC_DATE 1048
#define IDC_TITLE 1093
#define IDC_ICON_IMPORTANT 1049
#define IDC_ICON_BOOKMARK 1050
#define IDC_ICON_COMMENT 1051
#define IDC_ICON_ENCRYPTED 1056
#define IDC_SCOPE 1052
#define IDR_PLAYER_MENU 208
#define IDR_PLAYER_ACCEL 274
#define ID_PLAYER_MARK 32838
#define ID_PLAYER_UNMARK 32846
#define ID_PLAYER_SEND_ZEL 32841
#define ID_PLAYER_SEND_WAV 32842
#define ID_PLAYER_CONVERT_ZEL 32848
#define ID_PLAYER_CONVERT_WAV 32847
#define ID_PLAYER_DELETE 32844
#define ID_PLAYER_EJECT 32845
#define ID_PLAYER_PAUSE_RESUME 32889
#define ID_PLAYER_BOOKMARK_STEP 32890

// The history dialog (213).
#define IDD_HISTORY 213
#define IDC_HISTORY_LIST 1101
#define IDC_HISTORY_CLEAR 1100
