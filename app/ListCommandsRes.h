// ListCommandsRes.h: the strings of the call list's commands and folder search
// that the program adds to the ones of resource.h (ids 3660-3679).
#pragma once

// "Failed to write the call's details into %s!..." (a header write that failed).
#define IDS_HEADER_WRITE_FAILED 3660
// "A search is already running. ..." (one search at a time in the process).
#define IDS_SEARCH_RUNNING 3661
// "No recordings found which match your specified criteria."
#define IDS_NO_RECORDINGS_FOUND 3662
// "Falied to start search." (sic: the program's own text).
#define IDS_SEARCH_NOT_STARTED 3663
