// DataExchange.h: CDataExchange, the context of one dialog data exchange, and
// the DDX_ (exchange) and DDV_ (validation) functions that a DoDataExchange
// calls.
//
// CWnd::UpdateData makes a CDataExchange and calls DoDataExchange with it.
// Loading (m_bSaveAndValidate FALSE) writes member values into the controls;
// saving reads the controls into the members and validates them. A value that
// cannot be read or that fails its DDV_ check is reported to the user with one
// message box, the offending control gets the focus (an edit box with all its
// text selected) and Fail throws CUserException, which UpdateData catches and
// turns into FALSE; the members exchanged after the failing one keep their
// values. DDV_ calls belong right after the DDX_ call of the same control.
//
// A control id that the dialog does not have is a programming error: it is
// asserted and the exchange of that id does nothing.
#pragma once

#include "AfxString.h"
#include "Wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate; // TRUE: controls to members, with validation
    CWnd* m_pDlgWnd;         // borrowed: the window whose controls are exchanged

    // The control's window, remembered as the one a later Fail focuses; null
    // (after an assert) when the dialog has no such control.
    HWND PrepareCtrl(int nIDC);
    // The same for an edit box, whose text Fail also selects.
    HWND PrepareEditCtrl(int nIDC);
    // Focuses the last prepared control and throws CUserException. Only for
    // saving; validation is never asked for while loading.
    [[noreturn]] void Fail();

    UINT m_idLastControl = 0;        // the last prepared control
    BOOL m_bEditLastControl = FALSE; // it is an edit box

    CDataExchange(const CDataExchange&) = delete;
    CDataExchange& operator=(const CDataExchange&) = delete;
};

// Texts of edit boxes (and other windows whose text is the value). Numbers are
// written in decimal; reading accepts blanks around one decimal number that
// fits the member's type, anything else fails with a message.
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, unsigned long& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, double& value);

// Check boxes: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// A group of radio buttons that starts at nIDC (a WS_GROUP button) and runs to
// the next WS_GROUP control: the index of the checked button, -1 for none.
void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// Binds a framework control object to the dialog's control, once (subclassing
// it); both directions do the same.
void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// Combo and list boxes: the selected index (-1: none) or the selected text.
// Loading a text selects the first item that begins with it (case-insensitive);
// a combo box with an edit part shows the text even when no item matches.
void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void AFXAPI DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);

// Validation, right after the DDX_ call of the same control. While loading,
// DDV_MaxChars limits the edit box's text instead.
void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void AFXAPI DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void AFXAPI DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
void AFXAPI DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal);
void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
