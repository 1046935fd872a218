// BufferDC.cpp: the double-buffered paint context.
#include "BufferDC.h"

CBufferDC::CBufferDC(CWnd* pWnd) : CPaintDC(pWnd) {
    if (pWnd == nullptr || m_hDC == nullptr)
        return;
    ::GetClientRect(pWnd->GetSafeHwnd(), &m_rcClient);
    const int nWidth = m_rcClient.right - m_rcClient.left;
    const int nHeight = m_rcClient.bottom - m_rcClient.top;
    HDC hMemoryDC = ::CreateCompatibleDC(m_hDC);
    HBITMAP hBitmap =
        hMemoryDC != nullptr ? ::CreateCompatibleBitmap(m_hDC, nWidth, nHeight) : nullptr;
    if (hBitmap == nullptr) {
        if (hMemoryDC != nullptr)
            ::DeleteDC(hMemoryDC);
        return;
    }
    m_hOutputDC = m_hDC;
    m_hAttributeDC = m_hAttribDC;
    m_hMemoryDC = hMemoryDC;
    m_hPaintBitmap = hBitmap;
    m_hOldBitmap = static_cast<HBITMAP>(::SelectObject(m_hMemoryDC, m_hPaintBitmap));
    m_hDC = m_hMemoryDC;
    m_hAttribDC = m_hMemoryDC;
}

CBufferDC::~CBufferDC() {
    if (m_hMemoryDC == nullptr)
        return;
    ::BitBlt(m_hOutputDC, m_rcClient.left, m_rcClient.top, m_rcClient.right - m_rcClient.left,
             m_rcClient.bottom - m_rcClient.top, m_hMemoryDC, 0, 0, SRCCOPY);
    ::SelectObject(m_hMemoryDC, m_hOldBitmap);
    ::DeleteObject(m_hPaintBitmap);
    m_hDC = m_hOutputDC;
    m_hAttribDC = m_hAttributeDC;
    ::DeleteDC(m_hMemoryDC);
    // CPaintDC's destructor ends the paint on the window's own context.
}
