// ScoringRes.h: the ids of the call-scoring resources that more than one
// window uses. Each scoring window keeps the ids only it uses in a header of
// its own.
#pragma once

// Dialog templates.
#define IDD_SCORE_CALL 3720 // "Score Call - Call file name"
#define IDD_MANAGE_CALL_SCORE_FORMS 3721
#define IDD_QUESTION_EDIT 3722        // "Edit question"
#define IDD_PREDEFINED_QUESTIONS 3723 // "Edit Predifined Questions"
#define IDD_CALL_SCORE_SETTINGS 3724  // "Call Score Forms Settings"

// Icons (16 x 16) shown beside the scorer, the bias and the total.
#define IDI_SCORE_USER 230
#define IDI_SCORE_BIAS 231
#define IDI_SCORE_TOTAL 232

// Toolbars.
#define IDR_CALLSCORE_TOOLBAR 228
#define IDR_QUESTIONS_TOOLBAR 243
#define IDR_FORMS_TOOLBAR 247
#define IDR_FORM_QUESTIONS_TOOLBAR 248

// The question commands of the forms manager, which the question tree's
// toolbar shares.
#define ID_NEW_SCORE_FORM 32870
#define ID_NEW_QUESTION 32861
#define ID_EDIT_QUESTION 32862
#define ID_ADD_PREDEFINED_QUESTION 32863
#define ID_DELETE_QUESTION 32864
#define ID_EXPORT_FORMS 32885
#define ID_IMPORT_FORMS 32886
#define ID_SET_SCORE_LOCATION 33095
