// DockBar.h: CDockBar, the bar on one side of a frame (or inside a floating
// frame) that holds docked control bars in rows.
//
// Classes: CDockBar.
//
// The bar array (m_arrBars) lists, in order, the bars, the place holders and
// the null entries that end rows; its first entry is always null, and every
// row, the last included, ends with a null entry:
//     [null, A, B, null, C, null]   two rows: A and B, then C
// A place holder is the control id (below 65536) of a bar that left for a
// floating frame, kept where the bar sat so that it can come back there.
// On the top and bottom sides a row runs horizontally and rows stack
// downwards; on the left and right sides a row is a column and columns stack
// to the right.
//
// Layout (CalcFixedLayout): every visible bar gets its CalcDynamicLayout size;
// bars of a row follow each other from (-B2x, -B2y), overlapping by B2x (B2y);
// a row is as thick as its thickest bar and the next row starts that much
// less B2y (B2x) further across. A bar stays further along its row when it
// already sits there (a place the user chose); a bar that would run out of
// the dock bar moves back, and one that would start beyond it begins a new
// row. The dock bar's own size is the extent of its rows plus its border bits;
// stretched, it spans its whole side. A bar laid out on a frame's side has its
// dock context record that place (a floating dock bar records none), and every
// bar's delayed show or hide is applied here.
//
// Ownership: a dock bar whose Create succeeded deletes itself with its window
// (PostNcDestroy); one whose Create failed is the caller's to delete.
//
// A floating dock bar (the one in a CMiniDockFrameWnd) lays out the same way,
// but keeps no place along a row and never wraps: its frame takes its size.
#pragma once

#include "ControlBar.h"
#include "PtrCollections.h"

class CDockBar : public CControlBar {
    DECLARE_DYNAMIC(CDockBar)
public:
    explicit CDockBar(BOOL bFloating = FALSE);
    ~CDockBar() override;

    // Creates the dock bar as child nID of pParentWnd; dwStyle holds its side
    // (CBRS_TOP, CBRS_LEFT, ...). From then on the window owns the object.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    BOOL IsDockBar() const override { return TRUE; }

    // Takes pBar in: at the end in a row of its own without lpRect, else into
    // the row under lpRect (screen coordinates) at its place along the row.
    // The bar leaves its old dock bar, gives up any place holder here, and the
    // docking frame lays out at idle time. A floating frame the bar leaves
    // empty is destroyed.
    void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
    // Takes pBar out (the entry other than nPosExclude); a row left empty goes
    // too. nAddPlaceHolder 1 leaves the bar's place holder in its place, 0
    // removes the bar's other place holders too, -1 leaves them. The bar's
    // m_pDockBar is cleared when it named this one. FALSE when the bar is not here.
    BOOL RemoveControlBar(CControlBar* pBar, int nPosExclude = -1, int nAddPlaceHolder = 0);
    void RemovePlaceHolder(CControlBar* pBar);
    // The index of pBar (or of its place holder, given as its id) other than
    // nPosExclude; -1 when absent.
    int FindBar(CControlBar* pBar, int nPosExclude = -1) const;
    // The bar at nPos; null for row ends and place holders.
    CControlBar* GetDockedControlBar(int nPos) const;
    int GetDockedCount() const;
    int GetDockedVisibleCount() const;
    // Inserts pBar into the row whose band holds ptMid (client coordinates),
    // after the bars that start before rect; a new row after the last when
    // none does. Returns the index.
    int Insert(CControlBar* pBar, CRect rect, CPoint ptMid);

    BOOL m_bFloating;    // the dock bar of a floating frame
    CPtrArray m_arrBars; // bars, place holders and row ends (file comment)
    BOOL m_bLayoutQuery; // set while WM_SIZEPARENT only asks for the size
    CRect m_rectLayout;  // the free space of the last WM_SIZEPARENT
    BOOL m_bAutoDelete;  // set by a successful Create

protected:
    void PostNcDestroy() override;

    // ---- Steps of docking a bar, for dock bars that place bars their own way.
    // Gives this dock bar pBar's window text, which a floating frame shows as
    // its title; a dock bar with CBRS_FLOAT_MULTI keeps its own.
    void TakeTitleOf(CControlBar* pBar);
    // Appends pBar in a row of its own and moves it to the dock bar's origin;
    // returns its index.
    int AddRowAtEnd(CControlBar* pBar);
    // Takes pBar, now at nPosNew here, out of pOld, its dock bar before, and
    // makes this its dock bar. A bar leaving a frame's side for a floating
    // frame leaves a place holder there to come back to.
    void TakeBarFrom(CDockBar* pOld, CControlBar* pBar, int nPosNew);
    // Destroys pOld's floating frame when a bar docked here left it empty.
    void DestroyIfEmptyFloating(CDockBar* pOld);

    // ---- Steps of the row layout.
    // The size pBar takes in a row: a dynamic bar in a floating frame keeps
    // its floating width, others take their docked size.
    static CSize CalcRowBarSize(CControlBar* pBar);
    // Moves pBar to rect in the layout's batch unless it stands at rectBar
    // there already (or the layout only asks).
    static void DeferBarMove(AFX_SIZEPARENTPARAMS& layout, CControlBar* pBar, const CRect& rect,
                             const CRect& rectBar);
    // Advances pt past a bar of sizeBar placed at rect, and widens the row's
    // thickness to the bar's.
    static void StepPastBar(CPoint& pt, int& nThickness, const CRect& rect, CSize sizeBar,
                            BOOL bHorz);

    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
