// NewFile.h: WriteNewFile, which creates a file whole or not at all, for the
// exports and copies that write a recording or a WAV file from scratch.
#pragma once

#include <functional>

class CFile;

// Creates the file at path (truncating one that exists) and lets write fill
// it. When write answers false or throws, the partial file is deleted, so
// nothing half-written is left to be mistaken for a recording. Traces why it
// failed; true once the file is written and closed.
bool WriteNewFile(const char* path, const std::function<bool(CFile&)>& write);
