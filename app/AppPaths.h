// AppPaths.h: where the program's own folder and the call-scoring files are.
// Every result is built afresh from the settings at each call, so a changed
// storage location takes effect at once.
#pragma once

#include "KWString.h"

// The folder of the program file, without a trailing backslash; empty when the
// system cannot say where the program file is.
CKWString GetModuleDirectory();
// The folder of the per-recording score files: the per-user configuration folder
// (mode 0), the custom folder exactly as stored (mode 2), else the all-users
// configuration folder.
CKWString GetCallScoresFolder();
// "questions.xml" in the all-users configuration folder.
CKWString GetQuestionsFilePath();
// "scoreforms.xml" in the folder the score-form location names (modes as for the
// score files). A custom folder without a trailing separator gets one; a file
// that earlier versions kept at the custom text with the name glued straight on
// is still used while it exists there and not in the folder itself.
CKWString GetScoreFormsFilePath();
