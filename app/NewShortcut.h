// NewShortcut.h: CNewShortcut, the dialog "New Shortcut", in which the user
// picks the group of a new shortcut and names it.
//
// The dialog changes no record itself: after OK its caller adds the shortcut
// with GetParentID and GetName. Its tree is a full shortcut tree attached to
// the template's control, so its context menu edits the store as the Access
// Panel's does; being attached rather than created, it has no accelerators
// and no drop target.
#pragma once

#include "BaseDialog.h"
#include "ShortCutTree.h"

class CNewShortcut : public CBaseShadowedDialog {
public:
    explicit CNewShortcut(CWnd* pParent = nullptr);

    // The name shown when the dialog opens.
    void SetName(LPCTSTR lpszName) { m_strName = lpszName; }
    CString GetName() const { return m_strName; }
    // The ID of the chosen group; -1 while none is chosen.
    int GetParentID() const { return m_nParentID; }

    CShortCutTree& GetTree() { return m_tree; }

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Refuses to close without a name and a group.
    void OnOK() override;
    // Reads the controls and enables OK for a name and a group; TRUE when
    // both are there.
    BOOL UpdateControls();

    afx_msg void OnNameChange();
    afx_msg void OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    CShortCutTree m_tree; // attached to control 1108
    CString m_strName;    // edit box 1109
    int m_nParentID = -1;
};
