// OutputScope.h: COutputScope, the player's waveform display: on black, a
// green frame, a dashed grid of one line per minute (or per hour), the lowest
// and highest sample behind every pixel column, the bookmark area over that
// envelope in blue and a red play cursor; a decoding text instead while a
// compressed recording is still being decoded. A click moves the play position.
//
// Classes: COutputScope.
//
// It reads the samples straight from the playback engine's recording and
// recomputes the envelope at every paint, so the picture grows while a
// recording is decoded. It paints into a memory bitmap (CBufferDC) and never
// erases its background, so the player's five repaints a second do not flicker.
//
// Positions and lengths are samples at 8000 per second. Pixel positions come
// from the platform's multiply-divide (MulDiv: rounded, -1 for a zero divisor);
// every column index that drawing derives from them is clipped to the columns
// that exist, since a bookmark area may lie partly outside the recording.
#pragma once

#include "framework/Static.h"

#include <cstdint>

class CDC;

class COutputScope : public CStatic {
public:
    // What the scope shows besides the black field and the frame.
    enum DisplayState {
        SHOW_NOTHING = 0,
        SHOW_DECODING_WAIT, // "Decompressing - Please wait": too little decoded to play
        SHOW_DECODING,      // "Decompressing": playable, the decoder still runs
        SHOW_WAVEFORM
    };

    // The grid spacing when no recording with samples has set one.
    static constexpr int kDefaultGridSpacing = 100;

    COutputScope();
    // Frees the column arrays.
    ~COutputScope() override;
    COutputScope(const COutputScope&) = delete;
    COutputScope& operator=(const COutputScope&) = delete;

    // The recording length the width maps to; no repaint.
    void SetLength(int32_t length);
    // start -1: no area; end -1 with a start: an area open up to the cursor.
    // Two ends in the wrong order are swapped.
    void SetSelection(int32_t start, int32_t end);
    // At most the length; repaints.
    void SetPosition(int32_t position);

    int32_t GetLength() const { return m_nLength; }
    int32_t GetPosition() const { return m_nPosition; }
    int32_t GetSelectionStart() const { return m_nSelStart; }
    int32_t GetSelectionEnd() const { return m_nSelEnd; }
    // The values of the last paint.
    int GetColumnCount() const { return m_nColumns; }
    int GetGridSpacing() const { return m_nGridSpacing; }
    int GetSamplesPerColumn() const { return m_nSamplesPerColumn; }
    int GetCursorX() const { return m_nCursorX; }
    // The envelope of column i; 0 outside the columns.
    int16_t GetColumnMax(int i) const;
    int16_t GetColumnMin(int i) const;

    // ---- The rules of the picture, kept free of the window so they can be
    // checked as numbers.
    // The control's client rectangle less the frame margins (3, 2, 4, 3).
    static CRect CalcInnerRect(const CRect& rcWindow);
    // Pixels between grid lines: a minute (480,000 samples) if that gives at
    // least 3, else an hour, else kDefaultGridSpacing.
    static int CalcGridSpacing(int nColumns, int32_t nLength);
    // The cursor's x (from the control's left edge) inside [left, right].
    static int CalcCursorX(int32_t nPosition, int32_t nLength, int nColumns, int nLeft, int nRight);
    // The columns [*pFirst, *pLast) of the bookmark area, clipped to the
    // columns that exist; false when no area is set or nothing of it is left.
    static bool CalcSelectionSpan(int32_t nStart, int32_t nEnd, int32_t nPosition, int32_t nLength,
                                  int nColumns, int* pFirst, int* pLast);
    // The sample a click at x asks for (the engine clamps it).
    static int32_t CalcSeekPosition(int x, int32_t nLength, int nColumns);
    // What a recording in this decoding state shows.
    static DisplayState ChooseDisplayState(bool bDecodedEnough, bool bReady, bool bOpen,
                                           bool bLoaded);
    // The text of a decoding state; null for the others.
    static const char* GetStateText(DisplayState state);

    // Recomputes the columns from the engine's recording for the control's
    // present size (the first step of every paint).
    void BuildEnvelope();

protected:
    void PreSubclassWindow() override;

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    CRect GetInnerRect() const;
    void FreeColumns();
    void DrawGrid(CDC* pDC, const CRect& rcInner);
    // The envelope of columns [first, last) in the pen's colour.
    void DrawEnvelope(CDC* pDC, const CRect& rcInner, int first, int last, COLORREF crPen);
    void DrawCursor(CDC* pDC, const CRect& rcInner);
    void RedrawNow();

    int16_t* m_pMax; // owns (new[]): the highest sample behind each column
    int16_t* m_pMin; // owns (new[]): the lowest sample behind each column
    int m_nColumns;  // width of the inner rectangle at the last paint
    int m_nGridSpacing;
    int m_nSamplesPerColumn;
    int m_nCursorX; // client pixels, where the cursor was last drawn
    int32_t m_nSelStart;
    int32_t m_nSelEnd;
    int32_t m_nLength;
    int32_t m_nPosition;
    BOOL m_bTracking; // the mouse is over the control and captured
};
