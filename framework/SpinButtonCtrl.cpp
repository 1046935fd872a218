#include "SpinButtonCtrl.h"

IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)

// The HWND, if any, is destroyed by CWnd's destructor.
CSpinButtonCtrl::~CSpinButtonCtrl() = default;
