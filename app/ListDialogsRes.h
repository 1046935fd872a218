// ListDialogsRes.h: ids of the dialogs' own resources beyond resource.h: the
// about box's pictures and the program's version.
#pragma once

#define IDB_ABOUT_PRODUCT 3560 // the product's picture in "Application Information"
#define IDB_ABOUT_MAKER 3561   // the maker's picture in "Vendor Information"

// The program's version, as its version resource states it and the about box
// shows it.
#define ZM_VERSION_NUMBERS 1, 0, 14, 0
#define ZM_VERSION_TEXT "1.0.14.0"
