// CallScoreTreeRes.h: the ids that only the call-score tree uses: its
// keyboard table and the commands of its toolbar, keys and context menu.
// Delete and Validate Links share the ids (and strings) of the other trees.
#pragma once

#define IDR_CALLSCORE_ACCEL 3740       // Delete and Ctrl+P of the call-score tree
#define ID_CALLSCORE_PLAY 3741         // "Play"
#define ID_CALLSCORE_MANAGE_FORMS 3742 // "Manage Call Score Forms"
#define ID_CALLSCORE_CREATE_LIST 3743  // the context menu's "Create Recording List..."
