// Dialog.h: CDialog, a window made from a dialog template resource, run modally
// (DoModal) or modelessly (Create).
//
// The object is bound to its window when the dialog manager sends
// WM_INITDIALOG: the window is subclassed to the object (CWnd's window
// procedure), then the virtual OnInitDialog runs. Messages before WM_INITDIALOG
// (WM_CREATE, WM_SETFONT) reach only the dialog manager. After binding every
// message passes through the message maps first; what they leave goes to the
// dialog manager (DefDlgProc).
//
// DoModal runs the framework's own modal loop rather than DialogBox's, so that
// PreTranslateMessage of the dialog and its controls sees each message before
// the dialog manager's keyboard handling, and idle updates (WM_KICKIDLE, then
// ContinueModal) run while the dialog waits. The owner (OwnerFor) is disabled
// while the dialog runs and re-enabled and activated before the dialog window
// goes away.
//
// Results: DoModal answers what EndDialog was given (IDOK, IDCANCEL, ...), or
// -1 when the template cannot be found or the window cannot be made. A WM_QUIT
// during the loop ends the dialog with -1 and is posted again for the outer
// loop. Exceptions from OnInitDialog are caught at the dialog procedure and
// end a modal dialog with -1.
#pragma once

#include "AfxString.h"
#include "Wnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)

public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    // A modeless dialog's window is destroyed by CWnd's destructor, after the
    // object has been unbound from it; a modal one is gone when DoModal returns.
    ~CDialog() override;

    // Runs the dialog modally; see the header comment for the results.
    virtual INT_PTR DoModal();
    // Creates the dialog modelessly as a child or owned window of pParentWnd (the
    // main window when null). FALSE when the template or the window fails.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);

    // Ends the dialog: a modal loop returns nResult from DoModal; a modeless
    // dialog is hidden (its window stays until destroyed).
    void EndDialog(int nResult);

    // Moves the focus as the dialog manager does (the default button follows).
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    // The default push button's id; GetDefID answers MAKELONG(id, DC_HASDEFID)
    // or 0.
    void SetDefID(UINT nID);
    DWORD GetDefID() const;
    // Dialog units to pixels, with the dialog's font.
    void MapDialogRect(LPRECT lpRect) const;

    // The window that owns a modal window of pParentWnd: pParentWnd's top-level
    // window, or without one the main window's last active popup; null when
    // there is neither. Also used by the property sheet and common dialogs.
    static HWND OwnerFor(CWnd* pParentWnd);

    // Overridables.
    // Loads the controls (UpdateData(FALSE)); answers TRUE to let the dialog
    // manager focus the first control.
    virtual BOOL OnInitDialog();
    // Saves and validates the controls (UpdateData(TRUE)), then EndDialog(IDOK).
    virtual void OnOK();
    // EndDialog(IDCANCEL).
    virtual void OnCancel();

    // Keyboard navigation (IsDialogMessage) of a top-level dialog inside the
    // thread's loop; a child dialog leaves its keys to its top-level dialog.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The template: an id (MAKEINTRESOURCE) or a name; and the parent given to
    // the constructor or Create (borrowed; may be null).
    LPCTSTR m_lpszTemplateName = nullptr;
    UINT m_nIDHelp = 0;
    CWnd* m_pParentWnd = nullptr;

protected:
    // The dialog procedure of every framework dialog: binds the object at
    // WM_INITDIALOG (lParam is the CDialog*) and leaves everything else to the
    // dialog manager.
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Binds pDialog to hWnd and runs OnInitDialog, catching what it throws;
    // answers the dialog procedure's result for WM_INITDIALOG.
    static INT_PTR HandleInitDialog(CDialog* pDialog, HWND hWnd);
    // The template resource in the resource module, else in the program.
    static LPCDLGTEMPLATE FindTemplate(LPCTSTR lpszTemplateName, HINSTANCE& hInstFound);

    DECLARE_MESSAGE_MAP()
};
