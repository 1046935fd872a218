#include "MonitorScreenshots.h"

#include "OwnerOnlyFile.h"
#include "TraceLog.h"

namespace {

const WORD kBitmapSignature = 0x4D42; // "BM"
const DWORD kFileHeaderSize = 14;     // 0x0E
static_assert(sizeof(BITMAPFILEHEADER) == kFileHeaderSize, "packed bitmap file header");
const DWORD kColorMaskSize = 3 * sizeof(DWORD); // red, green, blue masks of BI_BITFIELDS

void* AllocatePages(SIZE_T size) {
    return VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

void FreePages(void* memory) {
    if (memory)
        VirtualFree(memory, 0, MEM_RELEASE);
}

WORD ImageDepth(int deviceDepth, int mode) {
    if (deviceDepth <= 1)
        return 1;
    if (deviceDepth <= 4 || mode == MonitorScreenshots::MODE_COLORS_16)
        return 4;
    if (deviceDepth <= 8 || mode == MonitorScreenshots::MODE_COLORS_256)
        return 8;
    return 16;
}

bool WriteAll(HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

} // namespace

MonitorScreenshots::MonitorScreenshots() : m_shots(nullptr), m_records(0), m_captured(0) {}

void MonitorScreenshots::Free() {
    for (int i = 0; i < m_records; ++i) {
        FreePages(m_shots[i].header);
        FreePages(m_shots[i].bits);
    }
    FreePages(m_shots);
    m_shots = nullptr;
    m_records = m_captured = 0;
}

const MonitorScreenshot* MonitorScreenshots::GetScreenshot(int index) const {
    return index >= 0 && index < m_captured ? &m_shots[index] : nullptr;
}

int MonitorScreenshots::Capture(int mode) {
    Free();
    int monitors = GetSystemMetrics(SM_CMONITORS);
    if (monitors <= 0)
        return 0;
    // Zeroed pages: every record starts empty.
    m_shots = static_cast<MonitorScreenshot*>(AllocatePages(monitors * sizeof(MonitorScreenshot)));
    if (!m_shots)
        return 0;
    m_records = monitors;

    DISPLAY_DEVICEA device = {};
    device.cb = sizeof device;
    for (DWORD i = 0; m_captured < m_records && EnumDisplayDevicesA(nullptr, i, &device, 0); ++i) {
        if (device.StateFlags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP) {
            if (CaptureDevice(device.DeviceName, mode, m_shots[m_captured]))
                ++m_captured;
        }
        device.cb = sizeof device;
    }
    return m_captured;
}

// Fills shot and returns true only when the pixels were read; otherwise shot
// is left empty. Every device context and the bitmap are released either way.
bool MonitorScreenshots::CaptureDevice(LPCSTR deviceName, int mode, MonitorScreenshot& shot) {
    HDC screen = CreateDCA(deviceName, nullptr, nullptr, nullptr);
    if (!screen) {
        KWTRACE_ERROR(("MonitorScreenshots: no device context for <%s>\n", deviceName));
        return false;
    }
    const int width = GetDeviceCaps(screen, HORZRES);
    const int height = GetDeviceCaps(screen, VERTRES);
    const int deviceDepth = GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap =
        width > 0 && height > 0 ? CreateCompatibleBitmap(screen, width, height) : nullptr;
    bool captured = false;
    if (memory && bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        SelectObject(memory, old); // GetDIBits wants the bitmap out of every DC

        const WORD depth = ImageDepth(deviceDepth, mode);
        const DWORD colors = depth <= 8 ? 1u << depth : 0;
        // Room for the largest colour table, or the masks should the platform
        // answer BI_BITFIELDS, whatever the depth.
        BITMAPINFO* header = static_cast<BITMAPINFO*>(
            AllocatePages(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)));
        if (header) {
            BITMAPINFOHEADER& info = header->bmiHeader;
            info.biSize = sizeof(BITMAPINFOHEADER);
            info.biWidth = width;
            info.biHeight = height;
            info.biPlanes = 1;
            info.biBitCount = depth;
            info.biCompression = BI_RGB;
            GetDIBits(memory, bitmap, 0, height, nullptr, header, DIB_RGB_COLORS);

            DWORD headerSize = sizeof(BITMAPINFOHEADER) + colors * sizeof(RGBQUAD);
            if (info.biCompression == BI_BITFIELDS)
                headerSize += kColorMaskSize;
            // Never fewer bytes than the rows need, whatever the platform says.
            const DWORD rowSize = (static_cast<DWORD>(depth) * width + 31) / 32 * 4;
            DWORD bitsSize = rowSize * height;
            if (info.biSizeImage > bitsSize)
                bitsSize = info.biSizeImage;
            info.biHeight = height; // bottom-up rows
            BYTE* bits = static_cast<BYTE*>(AllocatePages(bitsSize));
            if (bits &&
                GetDIBits(memory, bitmap, 0, height, bits, header, DIB_RGB_COLORS) == height) {
                shot.header = header;
                shot.bits = bits;
                shot.headerSize = headerSize;
                shot.bitsSize = bitsSize;
                captured = true;
            } else {
                KWTRACE_ERROR(("MonitorScreenshots: cannot read the pixels of <%s>\n", deviceName));
                FreePages(bits);
                FreePages(header);
            }
        }
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (memory)
        DeleteDC(memory);
    DeleteDC(screen);
    return captured;
}

int MonitorScreenshots::WriteBitmaps(LPCSTR folder, LPCSTR prefix) const {
    for (int i = 0; i < m_captured; ++i) {
        const MonitorScreenshot& shot = m_shots[i];
        if (lstrlenA(folder) + lstrlenA(prefix) + 16 > MAX_PATH)
            return i;
        char path[MAX_PATH + 16];
        wsprintfA(path, "%s%s%d.bmp", folder, prefix, i + 1);

        BITMAPFILEHEADER fileHeader = {};
        fileHeader.bfType = kBitmapSignature;
        fileHeader.bfSize = kFileHeaderSize + shot.headerSize + shot.bitsSize;
        fileHeader.bfOffBits = kFileHeaderSize + shot.headerSize;

        HANDLE file = CreateOwnerOnlyFile(path, FILE_ATTRIBUTE_NORMAL);
        if (file == INVALID_HANDLE_VALUE)
            return i;
        bool written = WriteAll(file, &fileHeader, kFileHeaderSize) &&
                       WriteAll(file, shot.header, shot.headerSize) &&
                       WriteAll(file, shot.bits, shot.bitsSize);
        CloseHandle(file);
        if (!written) {
            // A cut image is no use to anyone; the disk is probably full, so
            // the later ones would fail too.
            KWTRACE_ERROR(
                ("MonitorScreenshots: cannot write <%s>, error %u\n", path, GetLastError()));
            DeleteFileA(path);
            return i;
        }
    }
    return m_captured;
}
