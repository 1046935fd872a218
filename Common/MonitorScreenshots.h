// MonitorScreenshots.h: MonitorScreenshots, one device-independent bitmap of
// each display for the crash report, and MonitorScreenshot, one such bitmap.
//
// Capture copies every display attached to the desktop, up to the number of
// monitors the system reports; WriteBitmaps saves them as "<prefix><n>.bmp",
// n from 1, readable by their owner only. The memory comes straight from
// VirtualAlloc, since a crash may have left the heap damaged.
#pragma once

#include <windows.h>

struct MonitorScreenshot {
    BITMAPINFO* header; // owns: the info header and its colour table; null when not captured
    BYTE* bits;         // owns: the bottom-up pixel rows
    DWORD headerSize;
    DWORD bitsSize;
};

class MonitorScreenshots {
public:
    // Image depth: MODE_COLORS_16 gives at most 4 bits per pixel,
    // MODE_COLORS_256 at most 8, any other mode up to 16.
    enum { MODE_COLORS_16 = 1, MODE_COLORS_256 = 2 };

    MonitorScreenshots();
    ~MonitorScreenshots() { Free(); }
    MonitorScreenshots(const MonitorScreenshots&) = delete;
    MonitorScreenshots& operator=(const MonitorScreenshots&) = delete;

    // Replaces earlier captures; returns the number of displays captured.
    int Capture(int mode);
    // folder ends with a backslash. Stops at the first file that cannot be
    // created or written; returns the number of files written.
    int WriteBitmaps(LPCSTR folder, LPCSTR prefix) const;
    void Free();

    int GetCount() const { return m_captured; }
    // Valid until Free or the next Capture; null past the captured count.
    const MonitorScreenshot* GetScreenshot(int index) const;

private:
    bool CaptureDevice(LPCSTR device, int mode, MonitorScreenshot& shot);

    MonitorScreenshot* m_shots; // owns one record per monitor the system reported
    int m_records;
    int m_captured; // leading records that hold an image
};
