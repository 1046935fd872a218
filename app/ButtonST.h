// ButtonST.h: CButtonST, the application's owner-drawn push button (an icon,
// an optional caption, a flat look that follows the mouse, a tooltip and a
// check-box mode), and CWizardsStatusButton, the archive wizard's status
// button, which is a CButtonST without behaviour of its own.
//
// - Icons: the inside icon is shown while the mouse is over the button or it
//   is pressed (in check-box mode: while checked), the outside icon otherwise;
//   the outside icon may be made from the inside one as a darker or a grey
//   copy. The button owns its icons and destroys them.
// - Painting draws no face background: what lies behind the button shows
//   through. A change of look therefore repaints the parent's area under the
//   button first, so that a frame drawn while hovered does not stay behind.
// - The button is made owner-drawn when it is subclassed (or created); a
//   default push button keeps answering as the dialog's default button, and a
//   check-box template makes a button that toggles a check on every click.
// - Only the parts the application uses are here: bitmap faces, an attached
//   menu, a cursor of its own and a link target are not.
#pragma once

#include "framework/Button.h"
#include "framework/ToolTipCtrl.h"

class CButtonST : public CButton {
public:
    // Alignments of the image against the caption.
    enum { ST_ALIGN_HORIZ = 0, ST_ALIGN_VERT = 1, ST_ALIGN_HORIZ_RIGHT = 2, ST_ALIGN_OVERLAP = 3 };
    // Answers of the setters.
    enum {
        BTNST_OK = 0,
        BTNST_INVALIDRESOURCE = 1,
        BTNST_INVALIDALIGN = 4,
        BTNST_INVALIDPRESSEDSTYLE = 6
    };
    // Outside icons made from the inside icon (as ids, or cast to HICON).
    enum { BTNST_AUTO_GRAY = -2, BTNST_AUTO_DARKER = -3 };
    // Pressed styles: the shift of image and caption while pressed.
    enum { BTNST_PRESSED_LEFTRIGHT = 0, BTNST_PRESSED_TOPBOTTOM = 1 };
    // The state colours.
    enum {
        BTNST_COLOR_BK_IN = 0, // mouse over or pressed
        BTNST_COLOR_FG_IN,
        BTNST_COLOR_BK_OUT, // otherwise
        BTNST_COLOR_FG_OUT,
        BTNST_COLOR_BK_FOCUS, // focused
        BTNST_COLOR_FG_FOCUS,
        BTNST_MAX_COLORS
    };

    CButtonST();
    ~CButtonST() override;

    // Icon resources at their own size; nIconOut 0 (none), BTNST_AUTO_GRAY or
    // BTNST_AUTO_DARKER. BTNST_INVALIDRESOURCE when an icon cannot be loaded
    // or examined; the button then holds no icon.
    DWORD SetIcon(int nIconIn, int nIconOut);
    // The same with sizes (0: the resource's own).
    DWORD SetIcon(int nIconIn, int cxIconIn, int cyIconIn, int nIconOut, int cxIconOut,
                  int cyIconOut);
    // Takes ownership of both icons; hIconOut may be null or an AUTO value.
    DWORD SetIcon(HICON hIconIn, HICON hIconOut);

    // A string resource; an empty one sets no tooltip.
    DWORD SetTooltipText(int nText, BOOL bActivate = TRUE);
    DWORD SetTooltipText(LPCTSTR lpszText, BOOL bActivate = TRUE);

    DWORD DrawTransparent(BOOL bRepaint = FALSE);
    BOOL IsTransparent() const { return m_bDrawTransparent; }
    DWORD SetFlat(BOOL bFlat = TRUE, BOOL bRepaint = TRUE);
    // BTNST_INVALIDALIGN above ST_ALIGN_OVERLAP, leaving the alignment.
    DWORD SetAlign(BYTE byAlign, BOOL bRepaint = TRUE);
    BYTE GetAlign() const { return m_byAlign; }
    // Only in check-box mode; answers BTNST_OK always.
    DWORD SetCheck(int nCheck, BOOL bRepaint = TRUE);
    int GetCheck() const { return m_nCheck; }
    BOOL IsCheckBox() const { return m_bIsCheckBox; }
    BOOL IsDefault() const { return m_bIsDefault; }
    // Button face for backgrounds, button text for texts.
    DWORD SetDefaultColors(BOOL bRepaint = TRUE);
    COLORREF GetColor(int nIndex) const { return m_crColors[nIndex]; }
    // BTNST_INVALIDPRESSEDSTYLE for anything but the two pressed styles.
    DWORD SetPressedStyle(BYTE byStyle, BOOL bRepaint = TRUE);
    // The hover state of a flat button.
    BOOL IsHovered() const { return m_bMouseOnButton; }
    HICON GetIconIn() const { return m_csIcons[0].hIcon; }
    HICON GetIconOut() const { return m_csIcons[1].hIcon; }

    // Copies of an icon with every non-black pixel darkened by a quarter, or
    // turned grey; the icon's own mask is kept. Null when any step fails.
    static HICON CreateDarkerIcon(HICON hIcon);
    static HICON CreateGrayscaleIcon(HICON hIcon);
    // Each channel c becomes c - dFactor * c; factors outside (0, 1] leave it.
    static COLORREF DarkenColor(COLORREF crColor, double dFactor);

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PreSubclassWindow() override;

    virtual void PaintBorder(CDC* pDC, const CRect& rectItem);
    virtual void PaintIcon(CDC* pDC, BOOL bHasTitle, const CRect& rectItem, CRect* pRectTitle,
                           BOOL bIsPressed, BOOL bIsDisabled);
    virtual void PaintCaption(CDC* pDC, const CString& strCaption, const CRect& rectItem,
                              CRect rectTitle);
    // Where the image goes (and how the caption makes room for it).
    void PrepareImageRect(BOOL bHasTitle, const CRect& rectItem, CRect* pRectTitle, BOOL bIsPressed,
                          int nWidth, int nHeight, CRect* pRectImage) const;

    void InitToolTip();
    void CancelHover();
    // Repaints the parent's area under the button, then the button.
    void Repaint();
    void FreeResources();

    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnCancelMode();
    afx_msg void OnMouseLeave();
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnSysColorChange();
    afx_msg BOOL OnClicked();
    afx_msg UINT OnGetDlgCode();
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetCheck(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    struct STRUCT_ICONS {
        HICON hIcon;
        int nWidth;
        int nHeight;
    };

    CPoint m_ptImageOrg;     // margins between edge and image when there is a caption
    CPoint m_ptPressedStyle; // shift of image and caption while pressed
    BOOL m_bIsFlat;
    BOOL m_bMouseOnButton;
    BOOL m_bDrawTransparent;
    BOOL m_bIsPressed; // states of the last drawing
    BOOL m_bIsFocused;
    BOOL m_bIsDisabled;
    BOOL m_bIsDefault;
    BOOL m_bIsCheckBox;
    BYTE m_byAlign;
    BOOL m_bDrawBorder;    // a flat button's frame when hovered or pressed
    BOOL m_bDrawFlatFocus; // the focus rectangle on a flat button too
    COLORREF m_crColors[BTNST_MAX_COLORS];
    CToolTipCtrl m_ToolTip; // made on first need
    BOOL m_bAlwaysTrack;    // hover without an active window of the thread
    int m_nCheck;
    UINT m_nTypeStyle;         // the button type of the template
    DWORD m_dwToolTipStyle;    // style of the tooltip control
    STRUCT_ICONS m_csIcons[2]; // 0 inside, 1 outside

private:
    // Icon size from its information: twice the hot spot; FALSE when unreadable.
    static BOOL GetIconSize(HICON hIcon, int* pWidth, int* pHeight);
    // A copy of hIcon with each non-black pixel mapped by transform.
    static HICON TransformIcon(HICON hIcon, COLORREF (*transform)(COLORREF));
};

class CWizardsStatusButton : public CButtonST {
public:
    CWizardsStatusButton() = default;
    ~CWizardsStatusButton() override = default;
};
