// Resource ids of the cool toolbar tests.
#pragma once

#define IDS_OPEN 40001 // a command string with a tooltip part
#define IDS_SAVE 40002 // one without a newline
// 40003 has no string.
