// TraceCapture.h: CTraceCapture, the trace log written to a private file of one
// test while the object lives, for tests that look for a diagnostic.
#pragma once

#include "TempFolder.h"

#include "Common/TraceLog.h"

#include <string>

class CTraceCapture {
public:
    CTraceCapture() : m_path(m_folder.File("trace.log")) {
        g_TraceLog.SetPath(m_path.c_str(), "");
        g_TraceLog.SetLevel(CTraceLog::LEVEL_ALL);
    }
    ~CTraceCapture() {
        g_TraceLog.SetLevel(CTraceLog::LEVEL_OFF);
        g_TraceLog.SetPath("", "");
    }
    CTraceCapture(const CTraceCapture&) = delete;
    CTraceCapture& operator=(const CTraceCapture&) = delete;

    std::string Text() const { return ReadWholeFile(m_path); }
    bool Holds(const char* pszText) const { return Text().find(pszText) != std::string::npos; }

private:
    CTempFolder m_folder;
    std::string m_path;
};
