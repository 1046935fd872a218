// OXSizeDockBar.h: COXSizeDockBar, the dock bar on each side of the main frame
// that holds sizeable bars: their lengths along a row are shared out in
// proportion when the frame is resized, splitters lie between neighbouring
// sizeable bars and between rows, one bar of a row can be maximised at the
// expense of the others, bars sharing one place are shown one at a time under
// a tab strip, and a caption drag (or a cool toolbar's own drag) asks which
// dock bar takes a bar at a screen point and docks it there. Sizeable bars and
// cool toolbars never share a dock bar, and a menu bar keeps a row of its own.
//
// Classes: COXSizeDockBar; SRowMetrics.
//
// Words: a dock bar is horizontal on the top and bottom (rows run along x), vertical
// on the left and right (a row is a column). The bar array is the framework's
// (DOCKING.md): bars, place holders (ids below 65536) and null row ends. B2x
// and B2y are the framework's doubled border, by which neighbours overlap.
//
// Files: OXSizeDockBar.cpp (messages, queries, distribution), OXSizeDockBarLayout.cpp
// (CalcFixedLayout), OXSizeDockBarDock.cpp (finding a target and docking at a
// rectangle, maximising, fitting a row), OXSizeDockBarSplit.cpp (splitters).
#pragma once

#include "OXDockAxis.h"
#include "OXDockTabCtrl.h"
#include "OXSplitterRect.h"

#include "framework/DockBar.h"
#include "framework/PtrCollections.h"

class COXCoolToolBar;
class COXDockbarSkin;
class COXSizeControlBar;

// The bars of one row from a start index to the next null entry, counting
// only entries whose windows exist and are visible.
struct SRowMetrics {
    int nSizeableLength; // along-row extents of the sizeable bars
    // Along-row extents of the other bars, plus 8 for every sizeable bar that
    // directly follows a sizeable bar (the splitter between them).
    int nFixedLength;
    int nThickness;      // largest across-row extent of all bars
    int nFixedThickness; // the same of the bars that are not sizeable
    int nSizeableCount;
    int nBarCount;
    int nTotal;          // nFixedLength + nSizeableLength
    int nMinTrackHeight; // largest minimum tracking height (WM_GETMINMAXINFO)
    int nMinTrackWidth;  // the same for the width
};

#define OX_SPLITTER_SIZE 8    // thickness of a splitter
#define OX_TABSTRIP_HEIGHT 28 // the tab strip while it holds a tab
#define OX_IDC_DOCKTABS 3000  // control id of the tab strip

// Made dynamically by CFrameWnd::EnableDocking (dwDockStyle, RUNTIME_CLASS(COXSizeDockBar)).
class COXSizeDockBar : public CDockBar {
    DECLARE_DYNCREATE(COXSizeDockBar)
public:
    COXSizeDockBar();
    ~COXSizeDockBar() override;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

    // The dock bar of the main frame that takes pBar at the screen point, or null.
    static COXSizeDockBar* FindDockBarAt(CPoint ptScreen, CControlBar* pBar);
    // Docks pBar here: at lpRect (screen) or, without one, in a row of its own.
    void DockBarAtRect(CControlBar* pBar, LPCRECT lpRect);
    void MaximizeBar(COXSizeControlBar* pBar, BOOL bMaximize);
    // Shrinks the other bars of pBar's row so that pBar fits.
    void FitRowAroundBar(CControlBar* pBar);
    // Where a bar dropped at (x, y) (client coordinates) enters the array:
    // points just outside the left or top edge snap onto it.
    CPoint FindInsertPoint(int x, int y) const;
    // The same for pBar, after stepping the point past every row (column)
    // that holds a menu bar, or past every row when pBar is the menu bar.
    CPoint FindInsertPoint(CControlBar* pBar, int x, int y) const;
    // The left edge a sizeable bar gets in the row at nTop: past every bar
    // of that row that starts at or before nLeft (and its splitter).
    int GetRowInsertLeft(CControlBar* pBar, int nTop, int nLeft) const;
    // The same down a column at nLeft.
    int GetColumnInsertTop(CControlBar* pBar, int nLeft, int nTop) const;

    // ---- Queries.
    int CountOtherBarsInRow(CControlBar* pBar, const CRect& rectScreen);
    int CountBarsAtSamePlace(CControlBar* pBar);
    int CountOtherSizeBars(CControlBar* pBar);
    COXSizeControlBar* FindOtherSizeBar(CControlBar* pBar);
    COXCoolToolBar* FindOtherCoolToolBar(CControlBar* pBar);
    CControlBar* GetFirstDockedBar() const;
    int GetTabStripHeight() const;
    COXDockbarSkin* GetDockbarSkin();
    void PositionTabCtrl();

    // ---- Layout support.
    int GetLayoutSignature() const;
    // Makes the next WM_SIZEPARENT share out every row again, as after a
    // change of the rows (a bar docked into them).
    void ShareRowsAtNextLayout() { m_nLayoutSignature = 0; }
    // The metrics of the row from nStart; arrBars defaults to m_arrBars.
    void GetRowMetrics(SRowMetrics& metrics, int nStart, const CPtrArray* pArrBars = nullptr);
    BOOL DistributeRow(int nStart, int nLength, CPtrArray* pArrBars = nullptr);
    BOOL DistributeAllRows(int nLength);
    int FindRowByRect(const CRect& rectScreen);
    int FindRowStart(int nIndex) const;
    BOOL RowHasSizeBar(int nStart) const;
    // The bar at nIndex of arrBars, or null for row ends, place holders and
    // bars whose windows are gone.
    CControlBar* GetValidBar(int nIndex, const CPtrArray* pArrBars = nullptr) const;
    BOOL IsHorizontal() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }
    // The room the rows may take: the last free space offered, else the
    // frame's client area less its top and bottom dock bars.
    CSize CalcMaxSize();

    // ---- Splitters.
    void AddSplitter(int nType, int left, int top, int right, int bottom, int nBarIndex);
    void DeleteSplitters();
    void SetSplitterLengths(int nFirst, int nType, int nValue);
    COXSplitterRect* GetSplitter(int nIndex) const;
    COXSplitterRect* HitTestSplitter(CPoint ptClient) const;
    COXSplitterRect* SetSplitterCursor(CPoint ptClient);
    void TrackSplitter(CPoint ptClient);
    int ShrinkBarsAfter(int nIndex, int nAmount, BOOL bApply, int* pnCount = nullptr);
    int ShrinkBarsBefore(int nIndex, int nAmount, BOOL bApply, int* pnCount = nullptr);
    int FindRowStartBefore(int nIndex) const;

    CObArray m_arrSplitters; // owned COXSplitterRect objects of the last layout
    COXSplitterRect* m_pTrackSplitter;
    HCURSOR m_hcurSizeNS;      // over type-2 splitters, loaded on first use
    HCURSOR m_hcurSizeWE;      // over type-1 splitters
    CSize m_sizeAvail;         // size of the last WM_SIZEPARENT, less the tab strip
    CPtrArray m_arrHiddenBars; // bars hidden at the last WM_SIZEPARENT
    COXDockTabCtrl m_wndTabs;
    COXDockbarSkin* m_pOwnDockbarSkin; // owned: Classic skin of an unskinned application

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnNcPaint();
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    struct SLayoutPass;

    // ---- Steps of CalcFixedLayout.
    // A row end at n: the next row starts one row thickness further across.
    void EndRow(SLayoutPass& pass, int n);
    // The first visible bar of a row, at n: the row splitter owed before it.
    void StartRow(SLayoutPass& pass, int n);
    // Where along the row the bar at n starts, or -1 with bWrap set when it
    // must begin a row instead.
    int FindBarAlong(const SLayoutPass& pass, int n, BOOL bSizeable, int nLength,
                     const CRect& rectBar, BOOL& bWrap) const;
    // The sizeable bar at n, first of its row, takes the whole row; the bars
    // after it move to a row of their own.
    void GiveBarItsOwnRow(const SLayoutPass& pass, int n);
    // A row end goes in before the bar at n, which then begins the next row.
    void BreakRowBefore(const SLayoutPass& pass, int n, BOOL bSizeable);
    // Moves the bar to rect and steps past it.
    void PlaceBar(SLayoutPass& pass, CControlBar* pBar, const CRect& rect, const CRect& rectBar,
                  CSize sizeBar);
    // The row splitter owed after the last row of a top or left dock bar.
    void AddTrailingRowSplitter(SLayoutPass& pass);
    // Row splitters span the whole dock bar.
    void StretchRowSplitters(const SLayoutPass& pass);
    // A splitter of nType from pt, OX_SPLITTER_SIZE thick along or across.
    void AddSplitterFrom(int nType, CPoint pt, CSize sizeStrip, int nBarIndex);
    // Deletes the splitters made after the first nKeep.
    void DeleteSplittersFrom(int nKeep);

    int m_nLayoutSignature; // of the last layout that shared the rows out

    // GetRowInsertLeft (bRow) and GetColumnInsertTop: from nFirst, past every
    // bar in the row or column at nAcross that starts at or before nAlong.
    int GetInsertStart(CControlBar* pBar, BOOL bRow, int nAcross, int nAlong, int nFirst) const;
};
