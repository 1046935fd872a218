// BaseDialog.h: CBaseDialog, a dialog drawn on white, itself and every one of
// its controls, and CBaseShadowedDialog, the same under a drop shadow.
//
// The white brush is made when the dialog is initialised and lives until its
// window is destroyed: a dialog that is closed still repaints while it goes
// (and a modeless one is only hidden, to be shown again), and must not paint
// with a deleted brush then.
//
// A control that colours itself through the reflected colour request (a
// hyperlink, an image button) is asked first and keeps its own colours and
// brush; every other control gets the white brush.
#pragma once

#include "OXShadowedWnd.h"

#include "framework/Dialog.h"
#include "framework/Gdi.h"

class CBaseDialog : public CDialog {
public:
    explicit CBaseDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    BOOL OnInitDialog() override;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CBrush m_brushBackground; // white; empty until the dialog is initialised
};

class CBaseShadowedDialog : public COXShadowedWnd<CBaseDialog> {
public:
    explicit CBaseShadowedDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
};
