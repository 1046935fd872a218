// Resource ids of test_PropertySheet.rc, shared with the test.
#pragma once

#define IDD_PAGE_FIRST 200
#define IDD_PAGE_SECOND 201
#define IDD_PAGE_THIRD 202
#define IDS_CAPTION_FIRST 300
#define IDS_SHEET_TITLE 301
#define IDC_VALUE 2001
