// CommonDialogs.h: the framework's wrappers of the platform's common dialogs:
// CCommonDialog (their base), CFileDialog (open and save), CColorDialog,
// CPrintDialog and CFindReplaceDialog (modeless find).
//
// Each keeps the platform's request record as a public member (m_ofn, m_cc,
// m_pd, m_fr) that callers may adjust between construction and DoModal; the
// buffers the records point at are members too. DoModal answers IDOK when the
// user confirms and IDCANCEL on Cancel or failure (CommDlgExtendedError is
// logged). Folder browsing is not wrapped: callers use SHBrowseForFolder.
//
// Not implemented: multiple selection in CFileDialog, Explorer hooks and
// templates, the print setup dialog, CFontDialog and CPageSetupDialog.
#pragma once

#include "AfxString.h"
#include "Dialog.h"

#include <commdlg.h>

#include <vector>

class CCommonDialog : public CDialog {
    DECLARE_DYNAMIC(CCommonDialog)

public:
    explicit CCommonDialog(CWnd* pParentWnd) : CDialog((UINT)0, pParentWnd) {}
    ~CCommonDialog() override;

    // OK and Cancel belong to the platform's dialog procedure (Find Next is
    // IDOK in the find dialog): both pass the command on unchanged.
    void OnOK() override;
    void OnCancel() override;

protected:
    // The window that owns the dialog: the parent's top-level window, else the
    // main window's.
    HWND OwnerHwnd() const;
    // After a failed or cancelled platform call: logs a real failure.
    static void LogFailure(LPCSTR pszWho);
};

class CFileDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CFileDialog)

public:
    // lpszFilter: "Text (*.txt)|*.txt|All (*.*)|*.*||"; '|' separates the parts.
    // lpszDefExt: added to a typed name without extension ("wav", no dot).
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr,
                         LPCTSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         LPCTSTR lpszFilter = nullptr, CWnd* pParentWnd = nullptr);
    ~CFileDialog() override;

    INT_PTR DoModal() override;

    // After IDOK: the full path, its file name, the extension (without the
    // dot; empty when none) and the name without extension.
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }

    OPENFILENAMEA m_ofn;

private:
    BOOL m_bOpenFileDialog;
    std::vector<char> m_filter; // the filter with NULs for '|', double-NUL ended
    CString m_strDefExt;
    char m_szFileName[4096]; // the chosen path (in: the suggested name)
    char m_szFileTitle[MAX_PATH];
};

class CColorDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CColorDialog)

public:
    // clrInit: the colour selected at first (with CC_RGBINIT); dwFlags CC_*.
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);
    ~CColorDialog() override;

    INT_PTR DoModal() override;
    COLORREF GetColor() const { return m_cc.rgbResult; }

    CHOOSECOLORA m_cc;

private:
    // The sixteen custom colours, shared by all colour dialogs of the process as
    // the platform's own dialog keeps them between uses.
    static COLORREF s_customColors[16];
};

class CPrintDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CPrintDialog)

public:
    // bPrintSetupOnly is accepted for the signature; the setup dialog is not
    // implemented and the print dialog shows instead.
    explicit CPrintDialog(BOOL bPrintSetupOnly,
                          DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS |
                                          PD_HIDEPRINTTOFILE | PD_NOSELECTION,
                          CWnd* pParentWnd = nullptr);
    // Frees the device-mode and device-name memory and the printer DC.
    ~CPrintDialog() override;

    INT_PTR DoModal() override;
    // The chosen printer's DC (the dialog's; PD_RETURNDC is always asked for);
    // the dialog object keeps owning it. Null when none.
    HDC GetPrinterDC() const { return m_pd.hDC; }
    // Takes the DC over: the caller deletes it (DeleteDC).
    HDC CreatePrinterDC();
    int GetFromPage() const;
    int GetToPage() const;
    BOOL PrintAll() const { return !PrintRange() && !PrintSelection(); }
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
    BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
    int GetCopies() const { return m_pd.nCopies; }
    CString GetDeviceName() const;

    PRINTDLGA m_pd;
};

// Modeless: create it with new, then Create; the object deletes itself when
// its window is destroyed (PostNcDestroy). The owner learns of each request
// through the registered message FINDMSGSTRING ("commdlg_FindReplace"), whose
// lParam GetNotifier turns back into the object.
class CFindReplaceDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CFindReplaceDialog)

public:
    CFindReplaceDialog();
    ~CFindReplaceDialog() override;

    // bFindDialogOnly TRUE: the find dialog (replace is not implemented). The
    // owner pParentWnd receives the messages. FALSE when the dialog fails.
    BOOL Create(BOOL bFindDialogOnly, LPCTSTR lpszFindWhat, LPCTSTR lpszReplaceWith = nullptr,
                DWORD dwFlags = FR_DOWN, CWnd* pParentWnd = nullptr);
    // The dialog that sent a FINDMSGSTRING message (its lParam); null for a
    // record that no framework dialog made.
    static CFindReplaceDialog* PASCAL GetNotifier(LPARAM lParam);

    CString GetFindString() const { return CString(m_szFindWhat); }
    BOOL SearchDown() const { return (m_fr.Flags & FR_DOWN) != 0; }
    BOOL FindNext() const { return (m_fr.Flags & FR_FINDNEXT) != 0; }
    BOOL MatchCase() const { return (m_fr.Flags & FR_MATCHCASE) != 0; }
    BOOL MatchWholeWord() const { return (m_fr.Flags & FR_WHOLEWORD) != 0; }
    // The dialog is closing; the owner must forget it.
    BOOL IsTerminating() const { return (m_fr.Flags & FR_DIALOGTERM) != 0; }

    FINDREPLACEA m_fr;

protected:
    void PostNcDestroy() override;

private:
    // Binds the object at WM_INITDIALOG (lCustData); nothing else.
    static UINT_PTR CALLBACK HookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    char m_szFindWhat[256];
    char m_szReplaceWith[256];
};
