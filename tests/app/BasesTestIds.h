// BasesTestIds.h: ids of the test resources of the window-base and control
// tests (test_*.rc beside them), clear of the application's own ids.
#pragma once

#define IDR_TEST_TOOLBAR 9001 // three buttons, each with a command string
#define ID_TEST_ADD 9101      // string with a line feed
#define ID_TEST_LONG 9102     // string of more than 79 characters before its line feed
#define ID_TEST_REFRESH 9103  // string without a line feed

#define IDD_TEST_WHITE 9201 // a dialog with a text, an edit box and a button
#define IDC_TEST_TEXT 9202
#define IDC_TEST_EDIT 9203
#define IDC_TEST_BUTTON 9204

#define IDS_TEST_TIP 9301   // a button's tooltip
#define IDS_TEST_EMPTY 9302 // no such string: an empty text
