// AboutDlg.h: CAboutDlg, the about box of the Help menu: the product, its
// version from the program file's version resource, and the maker's
// information with links to its web pages and mail addresses.
//
// Enter and Esc do not close the box: only "Close" and the caption's close
// box do.
#pragma once

#include "OXShadowedWnd.h"
#include "XHyperLink.h"

#include "framework/Dialog.h"
#include "framework/Gdi.h"

class CAboutDlg : public COXShadowedWnd<CDialog> {
public:
    enum { kLinkCount = 8 };
    // The version resource's value that the version line shows.
    static const char kVersionQuery[];

    CAboutDlg();

    // After the box opened: "Version: " and the product version, or empty
    // when the program file has none.
    const CString& GetVersionText() const { return m_strVersion; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    // The file whose version the box shows: the program's own. A test points
    // it elsewhere.
    virtual CString GetProgramPath() const;

    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    // "Version: " and the ProductVersion text of the file, or empty.
    static CString ReadVersionText(LPCTSTR lpszPath);
    bool IsLink(const CWnd* pWnd) const;

    CBrush m_brushBackground; // white; from OnInitDialog until the window is destroyed
    CXHyperLink m_links[kLinkCount];
    CString m_strVersion;
};
