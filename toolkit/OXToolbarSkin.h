// OXToolbarSkin.h: the element skins of toolbars and the menu bar:
//   COXToolbarSkin         the interface (abstract);
//   COXToolbarSkinClassic  system colours over the control's own drawing, which
//                          it tints through custom draw with the bar's colours;
//   COXToolbarSkinXP       paints the whole bar itself, flat, in one
//                          off-screen bitmap per paint;
//   COXToolbarSkin2003     as XP with gradients and rounded corners.
//
// Element skins are stateless: every call gets the bar it draws and reads the
// bar's colours, flags and metrics there. The XP and 2003 skins keep a pointer
// to their skin (not owned; the skin owns them).
//
// Status: the combo-box and edit operations draw as the families describe but
// no toolbar of this system routes such controls to them. Under Wine the
// toolbar control still draws its items after a CDRF_SKIPDEFAULT pre-paint,
// and its separators regardless: the XP and 2003 skins skip every item
// (CDRF_NOTIFYITEMDRAW, then CDRF_SKIPDEFAULT per item) and paint the whole bar
// again at post-paint, so the control's drawing never shows.
#pragma once

#include "OXSkins.h"

#include "framework/ComboBox.h"
#include "framework/Edit.h"

#include <commctrl.h>

class COXCoolToolBar;
class COXMenuBar;

// The notification code of the custom-draw record forwarded to the bar's frame
// before a skin draws (OXCUSTOMDRAWFORWARD).
#define OX_TBN_CUSTOMDRAW 0x807B

// Sent with WM_NOTIFY to the bar's parent frame before the skin custom-draws:
// a receiver that clears bDoDefault has drawn itself; its lResult is the
// result of the custom draw.
struct OXCUSTOMDRAWFORWARD {
    NMHDR hdr;                    // the control's window and id, code OX_TBN_CUSTOMDRAW
    LPNMTBCUSTOMDRAW pCustomDraw; // the control's record
    LRESULT lResult;              // the receiver's result
    BOOL bDoDefault;              // TRUE: the skin draws
};

class COXToolbarSkin {
public:
    COXToolbarSkin() = default;
    virtual ~COXToolbarSkin() = default;
    COXToolbarSkin(const COXToolbarSkin&) = delete;
    COXToolbarSkin& operator=(const COXToolbarSkin&) = delete;

    // Nothing for a floating bar.
    virtual void DrawGripper(CDC* pDC, CRect& rect, COXCoolToolBar* pBar) = 0;
    // rectWindow is the window rectangle at (0, 0), on the window DC.
    virtual void DrawNonClient(CDC* pDC, CRect& rectWindow, COXCoolToolBar* pBar) = 0;
    virtual void DrawSeparator(CDC* pDC, CRect& rectItem, COXCoolToolBar* pBar) = 0;
    virtual void DrawCustomizedButton(CDC* pDC, CRect& rectItem, COXCoolToolBar* pBar) = 0;
    // The bar's NM_CUSTOMDRAW; *pResult is the notification's result.
    virtual void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult, COXCoolToolBar* pBar);
    virtual void OnPaintComboBox(CComboBox* pComboBox);
    virtual void DrawComboBox(CComboBox* pComboBox) = 0;
    virtual void DrawEditBorder(CEdit* pEdit) = 0;
    // The close, restore and minimise buttons of a maximised MDI child, on the
    // menu bar's window DC.
    virtual void DrawMenuButtons(CDC* pDC, COXMenuBar* pMenuBar) = 0;
    // TRUE: the toolbar lets the framework erase its background.
    virtual BOOL UseDefaultBackground() = 0;

protected:
    // The forwarding step every family begins with: TRUE when the bar's frame
    // drew the item itself (then *pResult is its answer).
    static BOOL ForwardCustomDraw(NMHDR* pNMHDR, LRESULT* pResult, COXCoolToolBar* pBar);
    // The family's drawing of a custom-draw notification on an attached DC.
    virtual LRESULT CustomDraw(CDC* pDC, LPNMTBCUSTOMDRAW pCustomDraw, COXCoolToolBar* pBar) = 0;
    static BOOL IsMenuBar(const COXCoolToolBar* pBar);
    static BOOL IsHorizontal(const COXCoolToolBar* pBar);
    // A separator whose id names a child control placed on it.
    static BOOL IsWindowButton(COXCoolToolBar* pBar, int nIndex);
    static CRect ItemRect(COXCoolToolBar* pBar, int nIndex);
};

class COXToolbarSkinClassic : public COXToolbarSkin {
public:
    void DrawGripper(CDC* pDC, CRect& rect, COXCoolToolBar* pBar) override;
    void DrawNonClient(CDC* pDC, CRect& rectWindow, COXCoolToolBar* pBar) override;
    void DrawSeparator(CDC* pDC, CRect& rectItem, COXCoolToolBar* pBar) override;
    void DrawCustomizedButton(CDC* pDC, CRect& rectItem, COXCoolToolBar* pBar) override;
    void DrawComboBox(CComboBox* pComboBox) override;
    void DrawEditBorder(CEdit* pEdit) override;
    void DrawMenuButtons(CDC* pDC, COXMenuBar* pMenuBar) override;
    BOOL UseDefaultBackground() override { return TRUE; }

protected:
    LRESULT CustomDraw(CDC* pDC, LPNMTBCUSTOMDRAW pCustomDraw, COXCoolToolBar* pBar) override;
};

class COXToolbarSkinXP : public COXToolbarSkin {
public:
    explicit COXToolbarSkinXP(COXSkinXP* pSkin) : m_pSkin(pSkin) {}

    void DrawGripper(CDC* pDC, CRect& rect, COXCoolToolBar* pBar) override;
    void DrawNonClient(CDC* pDC, CRect& rectWindow, COXCoolToolBar* pBar) override;
    void DrawSeparator(CDC* pDC, CRect& rectItem, COXCoolToolBar* pBar) override;
    void DrawCustomizedButton(CDC* pDC, CRect& rectItem, COXCoolToolBar* pBar) override;
    void OnPaintComboBox(CComboBox* pComboBox) override;
    void DrawComboBox(CComboBox* pComboBox) override;
    void DrawEditBorder(CEdit* pEdit) override;
    void DrawMenuButtons(CDC* pDC, COXMenuBar* pMenuBar) override;
    BOOL UseDefaultBackground() override { return FALSE; }
    // The bar's background over its client area.
    virtual void DrawBackground(CDC* pDC, COXCoolToolBar* pBar);
    // One button in its state at rect (client coordinates); with bBackground
    // also its state's background. The menu skin draws menu-bar items with it.
    virtual void DrawButton(CDC* pDC, const TBBUTTON& button, const CRect& rect,
                            COXCoolToolBar* pBar, BOOL bBackground);
    virtual void EraseButton(CDC* pDC, const CRect& rect);

    // Lines every 2 pixels across rect in GetGripperColor (rows when bHorizontal).
    void DrawGripperLines(CDC* pDC, const CRect& rect, BOOL bHorizontal);

protected:
    LRESULT CustomDraw(CDC* pDC, LPNMTBCUSTOMDRAW pCustomDraw, COXCoolToolBar* pBar) override;
    // How a button state is drawn.
    enum ButtonLook { lookNone, lookErase, lookEraseShort, lookPressed, lookChecked, lookHot };
    // The state's background over rect (not the erase looks).
    virtual void FillButtonLook(CDC* pDC, const CRect& rect, ButtonLook look);
    // Which image flags the family uses for the raised (hot) look: XP raises.
    virtual BOOL RaisesHotImage() const { return TRUE; }
    // The text colour of a disabled button.
    virtual COLORREF GetDisabledTextColor() const { return ::GetSysColor(COLOR_GRAYTEXT); }
    void DrawButtonImage(CDC* pDC, const TBBUTTON& button, CRect rect, COXCoolToolBar* pBar,
                         BOOL bRaised, BOOL bHot, BOOL bDisabled);
    void DrawButtonText(CDC* pDC, const TBBUTTON& button, int nIndex, CRect rect,
                        COXCoolToolBar* pBar, COLORREF crText);
    void DrawInsertMark(CDC* pDC, COXCoolToolBar* pBar);
    // The whole client area, drawn off-screen and copied in one blit.
    void PaintBar(CDC* pDC, COXCoolToolBar* pBar);
    // The arrow part of a drop-down button: its right "Marlett 6" width plus 4.
    static CRect GetDropDownArrowRect(CDC* pDC, const CRect& rectButton);

    COXSkinXP* m_pSkin; // not owned: the skin owns this element skin and outlives it
};

// Its skin pointer refers to a COXSkin2003.
class COXToolbarSkin2003 : public COXToolbarSkinXP {
public:
    explicit COXToolbarSkin2003(COXSkin2003* pSkin) : COXToolbarSkinXP(pSkin) {}

    void DrawGripper(CDC* pDC, CRect& rect, COXCoolToolBar* pBar) override;
    void DrawNonClient(CDC* pDC, CRect& rectWindow, COXCoolToolBar* pBar) override;
    void DrawSeparator(CDC* pDC, CRect& rectItem, COXCoolToolBar* pBar) override;
    void DrawComboBox(CComboBox* pComboBox) override;
    void DrawEditBorder(CEdit* pEdit) override;
    void DrawBackground(CDC* pDC, COXCoolToolBar* pBar) override;
    void EraseButton(CDC* pDC, const CRect& rect) override;

protected:
    void FillButtonLook(CDC* pDC, const CRect& rect, ButtonLook look) override;
    BOOL RaisesHotImage() const override { return FALSE; }
    COLORREF GetDisabledTextColor() const override { return m_pSkin->GetDisabledColor(); }
    COXSkin2003* Skin2003() const { return static_cast<COXSkin2003*>(m_pSkin); }
    // A gradient, line by line on Windows 9x platforms.
    void Gradient(CDC* pDC, const CRect& rect, COLORREF crStart, COLORREF crEnd, int nMode) const;
    // The menu bar's frame-wide band: dark-to-light over the left half of
    // max(screen, frame) width, light after; nLeft is its start in pDC's x.
    void DrawDockAreaBand(CDC* pDC, int nLeft, int nHeight, COXCoolToolBar* pBar) const;
};
