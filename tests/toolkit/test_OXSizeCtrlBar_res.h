// test_OXSizeCtrlBar_res.h: the texts the sizeable bar's tests give its context menu.
#pragma once

#define IDS_TEST_ALLOWDOCKING 26431
#define IDS_TEST_HIDE 26432
