// OXLayoutManager.h: OXSideConstraint and COXWndConstraint, the side
// constraints of one managed control, and COXLayoutManager, which subclasses a
// container window and lays its controls out on every WM_SIZE.
//
// Status:
// - Implemented: same-side, opposite-side and proportional constraints on the
//   container or on another control, cycle detection, subclassing through a
//   process-wide window-to-manager map, deferred positioning with an immediate
//   redraw of every moved control.
// - Not implemented: size limits. The records carry minimum and maximum sizes
//   and the manager a switch for them, but nothing sets them, so a layout runs
//   in one round and the container limits keep their reset values.
// - Differences from a plain anchor layout: a control axis without any
//   constraint keeps the position read at the first layout; the program must not
//   move such a control itself, the next layout puts it back.
#pragma once

#include "PtrCollections.h"
#include "Object.h"
#include "Wnd.h"

#include <windows.h>

// Side flags of SetConstraint and RemoveConstraint; may be combined.
enum {
    OX_LMS_TOP = 1,
    OX_LMS_BOTTOM = 2,
    OX_LMS_LEFT = 4,
    OX_LMS_RIGHT = 8,
    OX_LMS_ANY = OX_LMS_TOP | OX_LMS_BOTTOM | OX_LMS_LEFT | OX_LMS_RIGHT
};

// Side indices inside a record; the opposite of index i is i ^ 1, and indices
// below OX_LMSI_LEFT are vertical sides (measured against heights).
enum {
    OX_LMSI_TOP = 0,
    OX_LMSI_BOTTOM = 1,
    OX_LMSI_LEFT = 2,
    OX_LMSI_RIGHT = 3,
    OX_LMSI_COUNT = 4
};

// Constraint kinds of SetConstraint. Any other kind ties a side to the base's
// near side (top or left) plus the offset.
enum {
    OX_LMT_SAME = 1,        // the base's same side plus the offset
    OX_LMT_OPPOSITE = 2,    // the base's opposite side plus the offset
    OX_LMT_PROPORTIONAL = 3 // offset parts of the proportion base between the base's sides
};

enum {
    OX_LMPOS_NULL = 0x7FFF,   // a value or position that is not set
    OX_LMPOS_TRACING = 0x7FFE // a position being resolved: meeting it again is a cycle
};

// The denominator of proportional constraints.
enum { OX_LM_PROPORTION_BASE = 100 };

// One side of a managed control.
struct OXSideConstraint {
    UINT nBaseWnd;     // dialog id of the base control; 0 is the container
    int nOffset1;      // offset from the base's near side, or a proportion's numerator
    int nOffset2;      // offset from the base's far side, or a proportion's denominator
    int nPos;          // coordinate in container client coordinates from the last resolution
    int nBaseWndIndex; // record index where the base was found last; checked before use

    void Reset();
    BOOL IsSet() const { return nOffset1 != OX_LMPOS_NULL || nOffset2 != OX_LMPOS_NULL; }
};

// The constraints of one managed control; owned by its COXLayoutManager.
class COXWndConstraint {
public:
    explicit COXWndConstraint(UINT nID);

    // Resets every side named by the OX_LMS_* flags.
    void ResetSides(int nSides);
    // Ties every side named by the OX_LMS_* flags to nBaseWnd with the given
    // kind; nProportionBase is the denominator of OX_LMT_PROPORTIONAL.
    void SetSides(int nSides, int nType, int nOffset, UINT nBaseWnd, int nProportionBase);

    UINT nID;
    BOOL bHasMinMax; // size limits: kept as data, never checked (see Status)
    SIZE szMin;
    SIZE szMax;
    OXSideConstraint sc[OX_LMSI_COUNT]; // in side-index order
};

// The managed controls of one container, in the order they were first named.
typedef CTypedPtrArray<CPtrArray, COXWndConstraint*> COXWndConstraintArray;

// Reads the window rectangle of the control nID in container client
// coordinates; FALSE when the container has no such control.
typedef BOOL (*OXReadChildRectProc)(void* pContext, UINT nID, RECT* pRect);

// Keeps the child controls of a container window in place as it is resized.
// Not copyable: it owns its records and the subclassing of one window.
class COXLayoutManager : public CObject {
    DECLARE_DYNAMIC(COXLayoutManager)

public:
    // With a container, Attach runs.
    explicit COXLayoutManager(CWnd* pContainer = NULL);
    ~COXLayoutManager() override;

    BOOL Attach(CWnd* pContainer);
    void Detach();

    // Ties the named sides of control nChildWnd to control nBaseWnd (0: the
    // container). Nothing moves until the next WM_SIZE or RedrawLayout.
    BOOL SetConstraint(UINT nChildWnd, int nSides, int nType, int nOffset = 0, UINT nBaseWnd = 0);
    BOOL RemoveConstraint(UINT nChildWnd, int nSides);

    int AddChild(UINT nChildWnd);
    int FindChild(UINT nChildWnd) const;
    void RemoveAllChildren();

    // Ties the named sides of a control to the container where they are now.
    virtual BOOL TieChild(UINT nChildWnd, int nSides);
    // Lays the controls out for the container's current client size.
    virtual BOOL RedrawLayout();
    // Lays the controls out for a container of cx by cy pixels.
    virtual BOOL OnSize(int cx, int cy);

    // The window-free half of OnSize: resolves every side for a container of
    // cx by cy pixels, reading the current rectangles of controls through
    // pfnRead. FALSE when a side cannot be resolved.
    BOOL CalcLayout(int cx, int cy, OXReadChildRectProc pfnRead, void* pContext);
    // The record of a control, or NULL; its positions hold the last resolution.
    const COXWndConstraint* GetConstraint(UINT nChildWnd) const;

protected:
    void ResetLimits();
    HWND GetContainerHandle() const;

private:
    BOOL SubclassContainer();
    void UnsubclassContainer();
    static BOOL ReadChildRect(void* pContext, UINT nID, RECT* pRect);
    static LRESULT CALLBACK LayoutWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

    CWnd* m_pContainer; // not owned; NULL when detached or once its window is destroyed
    int m_nBase;        // denominator of proportional constraints
    BOOL m_bMinMax;     // switch of the size-limit checks; never set (see Status)
    int m_cx;           // container size of the running layout
    int m_cy;
    int m_nMinWidth;
    int m_nMaxWidth;
    int m_nMinHeight;
    int m_nMaxHeight;
    COXWndConstraintArray m_records; // owns the records
    HWND m_hWnd;                     // the subclassed container, or NULL
    WNDPROC m_pfnOldWndProc;         // its procedure before LayoutWndProc, or NULL
};
