// BookmarkRecordFile.h: CBookmarkRecordFile, a second copy of a recording cut to
// its bookmark area, which the player saves or mails (as WAV through the
// inherited exports, or as a new GSM recording).
//
// The copy loads the source's file anew and shares no buffers with it. Its
// header is never written back to the source file; SaveAsZel writes it, with the
// cut samples, into a new file. A copy of a protected recording stays protected:
// its audio is enciphered as the recorders do it, with the source's key.
#pragma once

#include "KWRecordFile.h"

class CBookmarkRecordFile : public CKWRecordFile {
public:
    // Loads the source's path with the passphrase of the settings and waits
    // for the decoder, as LoadAndWait does. source is borrowed.
    explicit CBookmarkRecordFile(CKWRecordFile* source);

    // Cuts the samples to the bookmark area and sets the duration to the part
    // kept; the area is then cleared. False when there is no area (nothing
    // changes) or it starts at or after the last sample (the copy is then left
    // without samples, so that nothing outside the area can be exported).
    bool CropToBookmark();
    // Temporary folder + the recording's base name + extension (".zel").
    CString MakeTempPath(const char* extension) const;
    // Writes the header and the samples as GSM frames into a new file. False,
    // with no file left, when it cannot be written whole.
    bool SaveAsZel(const char* path);
    bool SaveAsZelDlg();
    // Mails the file at path with the recording's subject and body; deletes it
    // afterwards when asked, whether or not the mail went.
    bool Email(const char* path, bool deleteAfterwards);

private:
    CKWRecordFile* m_source; // not owned
};
