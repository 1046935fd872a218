// OutputScope.cpp: the player's waveform display: the envelope, the picture
// and the seek by click.
#include "OutputScope.h"

#include "BufferDC.h"
#include "PlaybackManager.h"

#include "framework/Gdi.h"

#include <algorithm>

namespace {

// Margins between the control's edge and the frame it draws.
const int kMarginLeft = 3;
const int kMarginTop = 2;
const int kMarginRight = 4;
const int kMarginBottom = 3;

const int32_t kSamplesPerMinute = 480000;
const int32_t kSamplesPerHour = 28800000;
// Closer grid lines than this would fill the field.
const int kLeastGridSpacing = 3;
// The lowest maximum a column starts from, so a column behind which no sample
// lies yet draws a short tick rather than nothing.
const int16_t kEmptyColumnMax = -16;
// An open bookmark area whose cursor lies left of its start is drawn from
// this many columns left of the cursor.
const int kOpenSpanLead = 3;
const int kCursorWidth = 3;

const COLORREF kFieldColour = RGB(0, 0, 0);
const COLORREF kFrameColour = RGB(0, 128, 0);
const COLORREF kWaveColour = RGB(0, 255, 0);
const COLORREF kSelectionColour = RGB(0, 0, 255);
const COLORREF kCursorColour = RGB(255, 0, 0);

const char kDecodingWaitText[] = "Decompressing - Please wait";
const char kDecodingText[] = "Decompressing";

} // namespace

BEGIN_MESSAGE_MAP(COutputScope, CStatic)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_SETCURSOR()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

COutputScope::COutputScope()
    : m_pMax(nullptr), m_pMin(nullptr), m_nColumns(0), m_nGridSpacing(kDefaultGridSpacing),
      m_nSamplesPerColumn(0), m_nCursorX(0), m_nSelStart(-1), m_nSelEnd(-1), m_nLength(0),
      m_nPosition(0), m_bTracking(FALSE) {}

COutputScope::~COutputScope() {
    FreeColumns();
}

void COutputScope::FreeColumns() {
    delete[] m_pMax;
    delete[] m_pMin;
    m_pMax = nullptr;
    m_pMin = nullptr;
}

// The template's static would ignore clicks without the notify style.
void COutputScope::PreSubclassWindow() {
    CStatic::PreSubclassWindow();
    ModifyStyle(0, SS_NOTIFY);
}

void COutputScope::SetLength(int32_t length) {
    m_nLength = length;
}

void COutputScope::SetSelection(int32_t start, int32_t end) {
    if (end != -1 && end < start)
        std::swap(start, end);
    m_nSelStart = start;
    m_nSelEnd = end;
}

void COutputScope::SetPosition(int32_t position) {
    m_nPosition = std::min(m_nLength, position);
    if (GetSafeHwnd() != nullptr)
        Invalidate(TRUE);
}

int16_t COutputScope::GetColumnMax(int i) const {
    return (m_pMax != nullptr && i >= 0 && i < m_nColumns) ? m_pMax[i] : 0;
}

int16_t COutputScope::GetColumnMin(int i) const {
    return (m_pMin != nullptr && i >= 0 && i < m_nColumns) ? m_pMin[i] : 0;
}

// ---------------------------------------------------------------------------
// The rules of the picture.

CRect COutputScope::CalcInnerRect(const CRect& rcWindow) {
    return CRect(rcWindow.left + kMarginLeft, rcWindow.top + kMarginTop,
                 rcWindow.right - kMarginRight, rcWindow.bottom - kMarginBottom);
}

int COutputScope::CalcGridSpacing(int nColumns, int32_t nLength) {
    int spacing = MulDiv(kSamplesPerMinute, nColumns, nLength);
    if (spacing < kLeastGridSpacing)
        spacing = MulDiv(kSamplesPerHour, nColumns, nLength);
    if (spacing < kLeastGridSpacing)
        spacing = kDefaultGridSpacing;
    return spacing;
}

int COutputScope::CalcCursorX(int32_t nPosition, int32_t nLength, int nColumns, int nLeft,
                              int nRight) {
    int x = nLeft;
    if (nPosition > 0 && nLength > 0)
        x = MulDiv(nPosition, nColumns, nLength);
    if (x > nRight)
        x = nRight;
    else if (x < nLeft)
        x = nLeft;
    return x;
}

bool COutputScope::CalcSelectionSpan(int32_t nStart, int32_t nEnd, int32_t nPosition,
                                     int32_t nLength, int nColumns, int* pFirst, int* pLast) {
    if (nStart == -1)
        return false;
    int first = MulDiv(nStart, nColumns, nLength);
    int last;
    if (nEnd == -1) {
        last = MulDiv(nPosition, nColumns, nLength);
        if (last < first) {
            first = last - kOpenSpanLead;
            last = MulDiv(nStart, nColumns, nLength);
        }
    } else {
        last = MulDiv(nEnd, nColumns, nLength);
    }
    // An area may start left of the first column (an open area near the
    // start) or end beyond the last (an area past the length, or a length the
    // multiply-divide refused): only columns that exist are drawn.
    first = std::max(first, 0);
    last = std::min(last, nColumns);
    if (first >= last)
        return false;
    *pFirst = first;
    *pLast = last;
    return true;
}

int32_t COutputScope::CalcSeekPosition(int x, int32_t nLength, int nColumns) {
    return MulDiv(x, nLength, nColumns);
}

COutputScope::DisplayState COutputScope::ChooseDisplayState(bool bDecodedEnough, bool bReady,
                                                            bool bOpen, bool bLoaded) {
    if (!bDecodedEnough)
        return SHOW_DECODING_WAIT;
    if (!bReady && bOpen)
        return SHOW_DECODING;
    if (bLoaded && bReady)
        return SHOW_WAVEFORM;
    return SHOW_NOTHING;
}

const char* COutputScope::GetStateText(DisplayState state) {
    switch (state) {
    case SHOW_DECODING_WAIT:
        return kDecodingWaitText;
    case SHOW_DECODING:
        return kDecodingText;
    default:
        return nullptr;
    }
}

// ---------------------------------------------------------------------------
// The envelope.

CRect COutputScope::GetInnerRect() const {
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    ScreenToClient(&rcWindow);
    return CalcInnerRect(rcWindow);
}

void COutputScope::BuildEnvelope() {
    FreeColumns();
    m_nColumns = std::max(GetInnerRect().Width(), 0);
    m_pMax = new int16_t[m_nColumns]();
    m_pMin = new int16_t[m_nColumns]();

    const CKWRecordFile* pRecord = CPlaybackManager::GetInstance()->GetRecordFile();
    if (!pRecord->IsOpen())
        return;
    const int32_t count = pRecord->GetSampleCount();
    if (count <= 0)
        return; // every column stays 0
    if (m_nColumns == 0)
        return;
    m_nSamplesPerColumn = std::max(count / m_nColumns, 1);
    for (int i = 0; i < m_nColumns; ++i) {
        const int16_t* samples = nullptr;
        const int32_t available =
            pRecord->GetSamples(static_cast<int32_t>(static_cast<int64_t>(i) * m_nSamplesPerColumn),
                                m_nSamplesPerColumn, &samples);
        int16_t lowest = 0;
        int16_t highest = kEmptyColumnMax;
        for (int32_t k = 0; k < available; ++k) {
            lowest = std::min(lowest, samples[k]);
            highest = std::max(highest, samples[k]);
        }
        m_pMin[i] = lowest;
        m_pMax[i] = highest;
    }
    m_nGridSpacing = CalcGridSpacing(m_nColumns, m_nLength);
}

// ---------------------------------------------------------------------------
// Painting.

BOOL COutputScope::OnEraseBkgnd(CDC*) {
    // The paint fills every pixel; erasing first would flicker.
    return FALSE;
}

void COutputScope::OnPaint() {
    if (!GetUpdateRect(nullptr, FALSE))
        return;
    BuildEnvelope();

    CBufferDC dc(this);
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    ScreenToClient(&rcWindow);
    dc.FillSolidRect(&rcWindow, kFieldColour);
    const CRect rcInner = CalcInnerRect(rcWindow);

    CPen framePen(PS_SOLID, 1, kFrameColour);
    CPen* pOldPen = dc.SelectObject(&framePen);
    dc.MoveTo(rcInner.left, rcInner.top);
    dc.LineTo(rcInner.right, rcInner.top);
    dc.MoveTo(rcInner.left, rcInner.bottom);
    dc.LineTo(rcInner.right, rcInner.bottom);
    dc.MoveTo(rcInner.left, rcInner.top);
    dc.LineTo(rcInner.left, rcInner.bottom);
    dc.MoveTo(rcInner.right, rcInner.top);
    dc.LineTo(rcInner.right, rcInner.bottom);
    dc.SelectObject(pOldPen);
    dc.SetTextColor(kCursorColour);

    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    const CKWRecordFile* pRecord = pEngine->GetRecordFile();
    const DisplayState state = ChooseDisplayState(pRecord->HasDecodedEnough(), pRecord->IsReady(),
                                                  pRecord->IsOpen(), pEngine->IsLoaded() != FALSE);
    if (const char* text = GetStateText(state)) {
        const int height = rcInner.Height();
        const int middle = (rcInner.top + rcInner.bottom) / 2;
        CRect rcText(rcInner.left, middle - height / 9, rcInner.right, rcInner.bottom);
        dc.DrawText(text, -1, &rcText, DT_CENTER | DT_VCENTER);
    } else if (state == SHOW_WAVEFORM) {
        DrawGrid(&dc, rcInner);
        DrawEnvelope(&dc, rcInner, 0, m_nColumns, kWaveColour);
        int first = 0;
        int last = 0;
        if (CalcSelectionSpan(m_nSelStart, m_nSelEnd, m_nPosition, m_nLength, m_nColumns, &first,
                              &last))
            DrawEnvelope(&dc, rcInner, first, last, kSelectionColour);
        DrawCursor(&dc, rcInner);
    }
}

void COutputScope::DrawGrid(CDC* pDC, const CRect& rcInner) {
    CPen gridPen(PS_DASH, 1, kFrameColour);
    CPen* pOldPen = pDC->SelectObject(&gridPen);
    // The lines count from the control's edge, not from the frame.
    for (int x = m_nGridSpacing; x < rcInner.right; x += m_nGridSpacing) {
        pDC->MoveTo(x, rcInner.top);
        pDC->LineTo(x, rcInner.bottom);
    }
    const int middle = (rcInner.top + rcInner.bottom) / 2;
    pDC->MoveTo(rcInner.left, middle);
    pDC->LineTo(rcInner.right, middle);
    pDC->SelectObject(pOldPen);
}

void COutputScope::DrawEnvelope(CDC* pDC, const CRect& rcInner, int first, int last,
                                COLORREF crPen) {
    if (m_nColumns <= 0)
        return;
    CPen pen(PS_SOLID, 1, crPen);
    CPen* pOldPen = pDC->SelectObject(&pen);
    const int height = rcInner.Height();
    const int width = rcInner.Width();
    const int middle = (rcInner.top + rcInner.bottom) / 2;
    pDC->MoveTo(rcInner.left + first, middle);
    for (int i = first; i < last; ++i) {
        const int x = width * i / m_nColumns + rcInner.left;
        // Larger samples lie lower on the screen, as the recorders' own
        // players draw them.
        pDC->LineTo(x, middle + ((m_pMax[i] * height) >> 16));
        pDC->LineTo(x, middle + ((m_pMin[i] * height) >> 16));
    }
    pDC->SelectObject(pOldPen);
}

void COutputScope::DrawCursor(CDC* pDC, const CRect& rcInner) {
    CPen pen(PS_SOLID, kCursorWidth, kCursorColour);
    CPen* pOldPen = pDC->SelectObject(&pen);
    m_nCursorX = CalcCursorX(m_nPosition, m_nLength, m_nColumns, rcInner.left, rcInner.right);
    pDC->MoveTo(m_nCursorX, rcInner.top);
    pDC->LineTo(m_nCursorX, rcInner.bottom);
    pDC->SelectObject(pOldPen);
}

// ---------------------------------------------------------------------------
// The mouse.

BOOL COutputScope::OnSetCursor(CWnd*, UINT, UINT) {
    ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
    return TRUE;
}

void COutputScope::RedrawNow() {
    Invalidate(TRUE);
    UpdateWindow();
}

void COutputScope::OnMouseMove(UINT nFlags, CPoint point) {
    CStatic::OnMouseMove(nFlags, point);
    if (!m_bTracking) {
        m_bTracking = TRUE;
        RedrawNow();
        SetCapture();
        return;
    }
    CRect rcClient;
    GetClientRect(&rcClient);
    if (!rcClient.PtInRect(point)) {
        m_bTracking = FALSE;
        ReleaseCapture();
        RedrawNow();
    }
}

void COutputScope::OnLButtonDown(UINT nFlags, CPoint point) {
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    if (pEngine->GetRecordFile()->GetSampleCount() > 0) {
        // The engine ignores a seek while it plays: pause around it, and the
        // resume continues from the new place.
        const bool bWasPlaying = pEngine->IsPlaying() != FALSE;
        if (bWasPlaying)
            pEngine->TogglePause();
        pEngine->SetPosition(CalcSeekPosition(point.x, m_nLength, m_nColumns));
        Invalidate(TRUE);
        if (bWasPlaying)
            pEngine->TogglePause();
    }
    CStatic::OnLButtonDown(nFlags, point);
}
