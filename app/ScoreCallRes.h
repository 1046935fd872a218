// ScoreCallRes.h: the ids that only the scoring dialog and its mark buttons
// use. The shared scoring ids are in ScoringRes.h.
#pragma once

// Mark pictures (120 x 16): five stars, as many filled as the mark's half,
// and the mark's word.
#define IDB_MARK_10 235
#define IDB_MARK_8 236
#define IDB_MARK_6 237
#define IDB_MARK_4 238
#define IDB_MARK_2 239
#define IDB_MARK_0 240

// The scoring dialog's controls. A row i (0 to 9) has the controls of its
// first id + i.
#define IDC_SCORE_SAVE 3
#define IDC_SCORE_USER_ICON 1093
#define IDC_SCORE_TOTAL_ICON 1094
#define IDC_SCORE_USER 1112
#define IDC_SCORE_PATH 1118
#define IDC_SCORE_DATE_LENGTH 1119
#define IDC_SCORE_QUESTION_FIRST 1121
#define IDC_SCORE_NA_FIRST 1131
#define IDC_SCORE_MARK_FIRST 1141
#define IDC_SCORE_YES_FIRST 1151
#define IDC_SCORE_NO_FIRST 1161
#define IDC_SCORE_ANSWER_LAST 1170
#define IDC_SCORE_TOTAL 1171
#define IDC_SCORE_TABS 1256
#define IDC_SCORE_FRAME 3770
#define IDC_SCORE_LINE 3771
