// ScoreFormsRes.h: the control and string ids of the score forms manager and
// of the call-score settings dialog. The dialogs, toolbars and commands they
// share with the other scoring windows are in ScoringRes.h.
#pragma once

// "Manage Call Score Forms".
#define IDC_FORMS_TREE 1108
#define IDC_FORM_NAME 1111
#define IDC_FORM_QUESTIONS 1096
#define IDC_FORM_USER 1112
#define IDC_FORM_BIAS 1113
#define IDC_FORM_USER_ICON 1114
#define IDC_FORM_BIAS_ICON 1115
#define IDC_EDIT_PREDEFINED_QUESTIONS 1110
#define IDC_FORM_BIAS_WARNING 1261

// "Call Score Forms Settings": one group of controls per location.
#define IDC_FORMS_LOCATION_USER 3790
#define IDC_FORMS_LOCATION_ALL 3791
#define IDC_FORMS_LOCATION_CUSTOM 3792
#define IDC_FORMS_LOCATION_FOLDER 3793
#define IDC_FORMS_LOCATION_BROWSE 3794
#define IDC_SCORES_LOCATION_USER 3795
#define IDC_SCORES_LOCATION_ALL 3796
#define IDC_SCORES_LOCATION_CUSTOM 3797
#define IDC_SCORES_LOCATION_FOLDER 3798
#define IDC_SCORES_LOCATION_BROWSE 3799
#define IDS_FORMS_LOCATION_BROWSE_TIP 3800
#define IDS_SCORES_LOCATION_BROWSE_TIP 3801
