#include "Canvas.h"

#include "native/zlib.h"

#include <cstdint>
#include <string>

HBITMAP MakeDib(int w, int h) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    return ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
}

CCanvas::CCanvas(int w, int h, COLORREF fill) : m_w(w), m_h(h) {
    bitmap.Attach(MakeDib(w, h));
    dc.CreateCompatibleDC(nullptr);
    m_pOld = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, w, h, fill);
}

void CCanvas::Release() {
    if (m_pOld != nullptr)
        dc.SelectObject(m_pOld);
    m_pOld = nullptr;
}

int CCanvas::Count(COLORREF color, const RECT& inside, bool bInside) {
    int n = 0;
    for (int y = 0; y < m_h; ++y)
        for (int x = 0; x < m_w; ++x) {
            POINT pt = {x, y};
            if (!!::PtInRect(&inside, pt) == bInside && dc.GetPixel(x, y) == color)
                ++n;
        }
    return n;
}

void CaptureScreen(CCanvas& canvas, const RECT& rect) {
    HDC hScreen = ::GetDC(nullptr);
    ::BitBlt(canvas.dc, 0, 0, rect.right - rect.left, rect.bottom - rect.top, hScreen, rect.left,
             rect.top, SRCCOPY);
    ::ReleaseDC(nullptr, hScreen);
}

namespace {

void PutBigEndian(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

// One chunk: length, type, data and the CRC of type and data.
void PutChunk(std::string& out, const char* type, const std::string& data) {
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.append(type, 4);
    out += data;
    PutBigEndian(out,
                 static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(out.data() + start),
                                             static_cast<uInt>(out.size() - start))));
}

} // namespace

bool SaveScreenPng(const RECT& rect, const char* pszPath) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    CCanvas canvas(w, h);
    CaptureScreen(canvas, rect);
    canvas.Release();
    DIBSECTION section = {};
    if (w <= 0 || h <= 0 || ::GetObjectA(canvas.bitmap, sizeof section, &section) != sizeof section)
        return false;
    // Rows of 8-bit RGB, each after its filter byte (0: none); the DIB holds
    // top-down BGRX.
    std::string raw;
    raw.reserve(static_cast<size_t>(h) * (1 + 3 * w));
    const auto* pBits = static_cast<const uint8_t*>(section.dsBm.bmBits);
    for (int y = 0; y < h; ++y) {
        raw += '\0';
        const uint8_t* pRow = pBits + static_cast<size_t>(y) * section.dsBm.bmWidthBytes;
        for (int x = 0; x < w; ++x) {
            raw += static_cast<char>(pRow[4 * x + 2]);
            raw += static_cast<char>(pRow[4 * x + 1]);
            raw += static_cast<char>(pRow[4 * x]);
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    if (compress(reinterpret_cast<Bytef*>(&packed[0]), &packedSize,
                 reinterpret_cast<const Bytef*>(raw.data()),
                 static_cast<uLong>(raw.size())) != Z_OK)
        return false;
    packed.resize(packedSize);

    std::string header;
    PutBigEndian(header, static_cast<uint32_t>(w));
    PutBigEndian(header, static_cast<uint32_t>(h));
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8 bits, RGB, deflate, no interlace
    std::string file("\x89PNG\r\n\x1a\n", 8);
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", packed);
    PutChunk(file, "IEND", std::string());

    HANDLE hFile = ::CreateFileA(pszPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD nWritten = 0;
    const bool bWritten =
        ::WriteFile(hFile, file.data(), static_cast<DWORD>(file.size()), &nWritten, nullptr) &&
        nWritten == file.size();
    ::CloseHandle(hFile);
    return bWritten;
}
