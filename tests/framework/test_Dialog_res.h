// Resource ids of test_Dialog.rc, shared with the test.
#pragma once

#define IDD_FORM 100
#define IDD_CHILD 101
#define IDC_NAME 1001
#define IDC_COUNT 1002
#define IDC_RATIO 1003
#define IDC_FLAG 1004
#define IDC_RADIO_A 1005
#define IDC_RADIO_B 1006
#define IDC_RADIO_C 1007
#define IDC_COMBO 1008
#define IDC_LIST 1009
#define IDC_BYTES 1010
#define IDC_AFTER 1011
