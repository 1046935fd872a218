// Resource ids of test_OXShadowedWnd.rc, shared with the test.
#pragma once

#define IDD_SHADOWED 100
