// test_OXSizableMiniDockFrameWnd_res.h: the text the floating frame's tests give
// the close item of a bar that only hides.
#pragma once

#define IDS_TEST_HIDEBAR 61457
