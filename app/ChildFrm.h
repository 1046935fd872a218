// ChildFrm.h: CChildFrame, the MDI child window of one recording list, made
// by the document template. Every list window opens maximised in the MDI
// client, so the main frame's tabs switch between whole lists.
#pragma once

#include "framework/MDIFrameWnd.h"

class CChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CChildFrame)
public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
};
