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
