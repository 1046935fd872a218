// PropertySheet.h: CPropertyPage and CPropertySheet, the framework's classes
// over the common controls' property sheet (PropertySheet, PROPSHEETPAGE).
//
// CPropertyPage is a CDialog made by the sheet from m_psp: its dialog procedure
// binds the object at WM_INITDIALOG (from the PROPSHEETPAGE's lParam) and runs
// OnInitDialog. The sheet's PSN_ notifications become the virtual On* calls:
//   PSN_SETACTIVE  OnSetActive    FALSE refuses the page (the sheet moves on)
//   PSN_KILLACTIVE OnKillActive   FALSE keeps the user on the page
//   PSN_APPLY      OnApply        FALSE keeps the sheet open on this page
//   PSN_RESET      OnReset        (Cancel)
//   PSN_QUERYCANCEL OnQueryCancel FALSE refuses the Cancel
//   PSN_WIZBACK / PSN_WIZNEXT  OnWizardBack / OnWizardNext: 0 the neighbour,
//                  -1 stay, or the template id of the page to go to
//   PSN_WIZFINISH  OnWizardFinish FALSE keeps the wizard open
//   PSN_HELP       a WM_COMMAND ID_HELP to the page (a page whose message
//                  map handles ID_HELP gets PSP_HASHELP, its sheet PSH_HASHELP)
// The page's answer goes back both as the message result and in DWLP_MSGRESULT.
//
// CPropertySheet holds the pages (borrowed: the caller owns them and keeps them
// alive while the sheet runs) and m_psh. DoModal runs the platform's modal
// sheet; the sheet window is bound to the object from the sheet's
// PSCB_INITIALIZED callback. Results: IDOK for OK, ID_WIZFINISH for a wizard's
// Finish, IDCANCEL for Cancel or the close box, -1 when the sheet cannot be
// made. Create makes a modeless sheet, whose PreTranslateMessage gives the
// sheet its keyboard handling and destroys its window once OK or Cancel has
// closed it.
//
// Not implemented: Wizard97 headers and watermarks, page icons, and the
// platform's reboot results (ID_PSREBOOTSYSTEM, ID_PSRESTARTWINDOWS).
#pragma once

#include "AfxString.h"
#include "Dialog.h"

#include <commctrl.h>
#include <prsht.h>

#include <vector>

class CTabCtrl;

// Ids of the wizard buttons, which the sheet's own buttons carry.
#ifndef ID_WIZBACK
#define ID_WIZBACK 0x3023
#define ID_WIZNEXT 0x3024
#define ID_WIZFINISH 0x3025
#endif
#ifndef ID_HELP
#define ID_HELP 0xE146
#endif

class CPropertySheet;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)

public:
    CPropertyPage();
    // nIDCaption: string resource of the tab caption (0: the template's caption).
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
    // The window belongs to the sheet, which destroys it when it closes.
    ~CPropertyPage() override;

    // Marks the page changed (enables Apply Now) or unchanged.
    void SetModified(BOOL bChanged = TRUE);
    // After an irreversible change: OK becomes Close and Cancel is disabled.
    void CancelToClose();
    // Sends PSM_QUERYSIBLINGS to every page; the first non-zero answer.
    LRESULT QuerySiblings(WPARAM wParam, LPARAM lParam);

    // Overridables; see the header comment for what the sheet does with them.
    // Loads the controls again when the page is shown another time.
    virtual BOOL OnSetActive();
    // Saves and validates the controls (UpdateData(TRUE)).
    virtual BOOL OnKillActive();
    // OnOK, then TRUE.
    virtual BOOL OnApply();
    // OnCancel.
    virtual void OnReset();
    virtual BOOL OnQueryCancel();
    virtual LRESULT OnWizardBack();
    virtual LRESULT OnWizardNext();
    virtual BOOL OnWizardFinish();
    // A page's OK and Cancel end nothing: the sheet does. These are the hooks
    // that OnApply and OnReset call.
    void OnOK() override;
    void OnCancel() override;

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // Only the tooltip relay: the sheet does the keyboard of its pages.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The page record the sheet makes the page from; pszTitle, hInstance and
    // lParam are filled in when the sheet is built.
    PROPSHEETPAGEA m_psp;

protected:
    // Binds the page at WM_INITDIALOG; the rest is the dialog manager's.
    static INT_PTR CALLBACK PageDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend class CPropertySheet;
    // Fills in the fields of m_psp that can change after construction.
    void PrepareRecord();
    // The sheet window, or null when the page is not shown.
    HWND SheetHwnd() const;

    CString m_strCaption;
    bool m_bFirstSetActive = true;
};

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)

public:
    CPropertySheet();
    // nIDCaption: string resource of the title.
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    // A modeless sheet still open is destroyed by CWnd's destructor.
    ~CPropertySheet() override;

    // Pages are shown in the order added; the page objects are borrowed.
    void AddPage(CPropertyPage* pPage);
    void RemovePage(int nPage);
    void RemovePage(CPropertyPage* pPage);
    int GetPageCount() const { return (int)m_pages.size(); }
    // Null for an index out of range.
    CPropertyPage* GetPage(int nPage) const;
    int GetPageIndex(CPropertyPage* pPage) const;
    // Before the sheet opens: the page to start on; while open: switches pages
    // (the pages' kill-active and set-active checks run). FALSE when refused.
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage);
    int GetActiveIndex() const;
    CPropertyPage* GetActivePage() const;
    void SetTitle(LPCTSTR lpszText, UINT nStyle = 0);
    // The tab control of an open sheet (a typed view), else null.
    CTabCtrl* GetTabControl() const;

    // Wizard mode: Back, Next and Finish instead of tabs, OK and Apply.
    void SetWizardMode();
    BOOL IsWizard() const { return (m_psh.dwFlags & PSH_WIZARD) != 0; }
    // PSWIZB_BACK, PSWIZB_NEXT, PSWIZB_FINISH, PSWIZB_DISABLEDFINISH; posted, so
    // callable from any thread and from OnSetActive.
    void SetWizardButtons(DWORD dwFlags);
    // Replaces Next and Back by one Finish button with this text.
    void SetFinishText(LPCTSTR lpszText);
    // Presses a button (PSBTN_*) as the user would; posted.
    void PressButton(int nButton);

    virtual INT_PTR DoModal();
    // A modeless sheet; dwStyle (DWORD)-1 keeps the default. FALSE on failure.
    virtual BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = (DWORD)-1, DWORD dwExStyle = 0);

    BOOL PreTranslateMessage(MSG* pMsg) override;

    PROPSHEETHEADERA m_psh;

private:
    void CommonConstruct(CWnd* pParentWnd, UINT iSelectPage);
    // Builds m_psh and m_records for the platform call.
    void BuildHeader(bool bModeless);
    // Binds the sheet window to the object being created on this thread.
    static int CALLBACK SheetCallback(HWND hWnd, UINT message, LPARAM lParam);

    std::vector<CPropertyPage*> m_pages;   // borrowed
    std::vector<PROPSHEETPAGEA> m_records; // the copies handed to the platform
    CString m_strCaption;
    CWnd* m_pParentWnd = nullptr; // borrowed
    UINT m_nStartPage = 0;
};
