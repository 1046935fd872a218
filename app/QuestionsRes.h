// QuestionsRes.h: the ids that only the question tree, the question editor
// and the predefined-question dialogs use. The shared scoring ids are in
// ScoringRes.h.
#pragma once

// Commands of the question tree's toolbar beside the shared ones.
#define ID_EXPORT_QUESTIONS 3750
#define ID_IMPORT_QUESTIONS 3751
#define ID_NEW_QUESTION_GROUP 3752

// The question tree's accelerators and its three 16 x 18 item pictures
// (group, scaled question, yes/no question).
#define IDR_QUESTIONS_ACCEL 3753
#define IDB_QUESTION_TREE_IMAGES 3754

// Controls of "Edit question".
#define IDC_QUESTION_TYPE_YESNO 3755
#define IDC_QUESTION_TYPE_SCALE 3756
#define IDC_QUESTION_BIAS 3757
#define IDC_QUESTION_BIAS_SPIN 3758
#define IDC_QUESTION_PROMPT 3759

// The tree of "Edit Predifined Questions".
#define IDC_PREDEFINED_TREE 3760
