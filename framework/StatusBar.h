// StatusBar.h: CStatusBar, the bar along a frame's bottom that shows the
// message line and indicator panes, over the common status-bar control.
//
// Classes: CStatusBar.
//
// Panes: SetIndicators takes one id per pane; a pane's text is the string
// resource of its id, and an ID_SEPARATOR (0) pane starts empty and stretches
// over the width the others leave (SBPS_STRETCH). A pane is as wide as its
// text in the bar's font; the widths are fixed when the indicators are set
// (SetPaneInfo changes them). Pane 0 is the message line: the frame shows
// WM_SETMESSAGESTRING there and the idle text AFX_IDS_IDLEMESSAGE after it.
//
// Layout: the bar sits straight in its frame (not in a dock bar), on the
// bottom by default; its height is the height of its font's text plus the
// control's vertical borders, its width the frame's.
//
// Idle time: every pane whose id has an ON_UPDATE_COMMAND_UI handler in the
// owner's routing gets its text (SetText), enable (a disabled pane shows no
// text) and pop-out (SetCheck) from it; panes without a handler stay as they
// are.
#pragma once

#include "AfxString.h"
#include "ControlBar.h"

#include <vector>

#ifndef ID_SEPARATOR
#define ID_SEPARATOR 0
#endif

// Pane styles.
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS 0x0100 // SBT_NOBORDERS
#define SBPS_POPOUT 0x0200    // SBT_POPOUT
#define SBPS_OWNERDRAW 0x1000 // SBT_OWNERDRAW
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar();
    ~CStatusBar() override;

    // Makes the bar as child nID of pParentWnd; FALSE when the window fails.
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                        UINT nID = AFX_IDW_STATUS_BAR);
    // One pane per id; lpIDArray null makes nIDCount empty panes of id 0.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

    int GetCount() const { return static_cast<int>(m_panes.size()); }
    // The index of the first pane with id nIDFind, else -1.
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    // The pane's rectangle in the bar's client area; empty for a bad index.
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    CString GetPaneText(int nIndex) const;
    // FALSE for a bad index. bUpdate shows the text at once.
    BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    // The message line is pane 0: the window text is its text.
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    struct SPane {
        UINT nID;
        UINT nStyle; // SBPS_*
        int cxText;  // width of the text area; a stretching pane's least width
        CString strText;
    };
    // The width of lpszText in the bar's font.
    int TextWidth(LPCTSTR lpszText) const;
    // Gives the control the panes' right edges for the present width.
    void UpdateParts();
    // Shows pane nIndex's text with its style.
    void UpdatePaneText(int nIndex);

    std::vector<SPane> m_panes;
};
