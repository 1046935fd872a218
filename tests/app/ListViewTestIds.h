// ListViewTestIds.h: the resources of the call-list test programs' own frame
// and list template (ListViewTestBed.rc).
#pragma once

#define IDR_TEST_FRAME 3670 // the main frame's menu and title
#define IDR_TEST_LIST 3671  // the list template's document string and menu
