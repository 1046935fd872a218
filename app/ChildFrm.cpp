// ChildFrm.cpp: the MDI child window of a recording list.
#include "ChildFrm.h"

IMPLEMENT_DYNCREATE(CChildFrame, CMDIChildWnd)

BOOL CChildFrame::PreCreateWindow(CREATESTRUCT& cs) {
    if (!CMDIChildWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE | WS_MAXIMIZE;
    return TRUE;
}
