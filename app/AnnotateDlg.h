// AnnotateDlg.h: CAnnotateDlg, the modal dialog "Annotate the call", in which
// the user edits the comment of the recording loaded in the playback engine.
//
// The caller hands over the recording's comment (SetComment), runs the
// dialog and, after OK, stores GetComment in the list entry and in the
// recording; the dialog itself writes no file and changes no recording.
//
// The drop-down list offers the lines of "Comments.txt" in the all-users
// configuration folder (read each time the dialog opens, never written), or
// sixteen built-in comments when the file is missing, unreadable or holds no
// non-empty line. Choosing one replaces the whole text; when the loaded
// recording has a bookmark, the text gets the bookmark line before it and the
// system-information block after it, composed on a scratch header so that the
// loaded recording is neither changed nor marked modified (which would make
// the engine rewrite its header when it unloads, even after Cancel).
#pragma once

#include "OXShadowedWnd.h"

#include "framework/ComboBox.h"
#include "framework/Dialog.h"
#include "framework/Edit.h"
#include "framework/Gdi.h"

class CAnnotateDlg : public COXShadowedWnd<CDialog> {
public:
    // The longest comment the edit box takes.
    static const int kMaxCommentLength = 1024;

    CAnnotateDlg();

    void SetComment(LPCTSTR lpszComment) { m_strComment = lpszComment; }
    // After OK: the edit box's final text.
    CString GetComment() const { return m_strComment; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDestroy();
    afx_msg void OnSelChangePredefined();
    DECLARE_MESSAGE_MAP()

    // Fills the drop-down list from "Comments.txt", or with the built-in comments.
    void LoadPredefinedComments();

    CString m_strComment;        // exchanged with the edit box
    CEdit m_editComment;         // box 1082
    CBrush m_brushBackground;    // white; from OnInitDialog until the window is destroyed
    CComboBox m_comboPredefined; // list 1080
};
