// ScoreFile.h: what the files of the score stores ("scoreforms.xml" and the
// "%s_score.xml" files) share: their line end, the escaping of user texts, the
// reading of element texts and numbers, and the replacement of a file.
//
// The files are written byte by byte in the form a text-mode stream on Windows
// gives the templates: every "\r\n" of a template lands as CR CR LF. Texts are
// escaped so that the reader gets back exactly what was written: "&", "<" and
// ">" (a text starting with ">" would otherwise end the parse) become their
// entities, and CR and LF numeric references, since the parser would turn a
// raw CR CR LF into two line feeds.
#pragma once

#include "Common/KWString.h"

#include <windows.h>

#include <string>

class COXParserElement;

namespace ScoreFile {

// One line end as the files hold it: CR CR LF.
extern const char kLineEnd[];
// The first line of every file, its line end included.
extern const char kDeclaration[];

// The text with its ends trimmed of blanks and line breaks: the parser drops
// them from every text it reads, so the stores never hold a text that would
// not read back as it is.
CKWString Trimmed(const char* text);
// The text as element content: see the file comment.
std::string Escape(const char* text);
// Formats a number line (the template without its line end) into the buffer
// and adds the line end.
void AppendLine(std::string& out, const std::string& line);
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The first child element of that name (any case); null when there is none.
COXParserElement* FindChild(const COXParserElement* parent, const char* name);
// The text of the first child element of that name: all its text and CDATA
// pieces joined. False, with text left as it was, when there is no such child
// or it holds no text.
bool ChildText(const COXParserElement* parent, const char* name, std::string& text);
// Numbers as the C library's atoi and atof read them: leading blanks, the
// number's leading characters, 0 when there are none. Integers beyond 32 bits
// are held at the nearest limit; a real that is not finite reads as 0.
LONG ToInteger(const std::string& text);
double ToReal(const std::string& text);

// Writes the content as the whole file at the path, through a temporary file
// in the same folder and a rename, so that a failed write leaves the old file
// whole. A file at the path that does not parse is the user's data the program
// could not read: it is renamed aside ("<name>.unreadable-...") first, never
// overwritten; when it cannot be read at all or not renamed, nothing is
// written. False (traced) when the file was not replaced.
bool Replace(const char* path, const std::string& content);

} // namespace ScoreFile
