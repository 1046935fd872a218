// FilenameEdit.h: CFilenameEdit, a read-only edit box that shows a full path
// shortened with an ellipsis to fit its width, with the full path as its
// tooltip; and DDX_FilenameEdit, its dialog data exchange.
//
// Status:
// - Implemented: the compaction of the path for the box's formatting
//   rectangle and font, measured when the path is set (a later change of size
//   or font is not followed); the tooltip with the full path, fed by the
//   messages that pass the box's PreTranslateMessage.
// - A tooltip that cannot be made leaves the box without one.
// - Paths are compacted as the shell compacts them, within MAX_PATH (a last
//   name wider than the box is cut with an ellipsis of its own); a longer
//   path is shown from its first MAX_PATH - 1 characters (the tooltip still
//   shows it whole). Paths from the folder browser are never longer.
#pragma once

#include "framework/DataExchange.h"
#include "framework/Edit.h"
#include "framework/ToolTipCtrl.h"

class CFilenameEdit : public CEdit {
public:
    CFilenameEdit();
    // Deletes the tooltip (and its window) before the box's window goes.
    ~CFilenameEdit() override;

    // Stores the full path, puts it into the tooltip and shows it compacted.
    void SetPath(LPCTSTR lpszPath);
    CString GetPath() const { return m_strPath; }

    // Relays every message to the tooltip.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    // A box bound to the object is read-only: it shows the path, it does not
    // take one.
    void PreSubclassWindow() override;

    // Creates the tooltip once; false (and no tooltip) when it cannot be made.
    BOOL EnsureToolTip();
    // The full path compacted for the box's width with its font.
    CString GetCompactPath() const;

    CToolTipCtrl* m_pToolTip; // owns; null until the first SetPath, or when it failed
    CString m_strPath;        // the full path
};

// Loading calls SetPath, saving reads GetPath. A box that no CFilenameEdit
// owns yet is handled through a temporary object; saving from such a box
// reads its text, since only an owning object knows the full path.
void AFXAPI DDX_FilenameEdit(CDataExchange* pDX, int nIDC, CString& strPath);
