// UnixPath.h: the Unix path that Wine gives a Windows path, so that the framework's
// file classes can work on files with POSIX calls instead of Wine's file objects.
//
// The translation is Wine's own (wine_get_unix_file_name): drive letters through
// the prefix's dosdevices, "\\?\" prefixes, '/' or '\' as separators, paths
// relative to the Win32 current folder, and case-insensitive matching of every
// component that exists on disk (the Unix name keeps the case found there). A
// missing last component is kept as given, so a file about to be created already
// has its Unix name. Cost: a few µs (1.2 µs measured for a short path), no call
// into the Wine server.
#pragma once

#include <windows.h>

#include <string>

// Translates a Windows path in the ANSI code page into its Unix path (in the
// Unix character set, as Wine writes names on disk). Returns false when the path
// has no Unix form; *pError (when given) then holds the Win32 error that Wine
// reported: ERROR_PATH_NOT_FOUND for a missing folder on the way or a file used
// as a folder, ERROR_INVALID_NAME for characters no name may hold (* ? | < > "),
// ERROR_BAD_DEV_TYPE for devices (NUL, CON), pipes and UNC paths, 0 for an empty
// or null path. On success *pError is 0. A drive letter that the prefix does not
// map still translates (into dosdevices/x:/...); the POSIX call then fails.
bool UnixPathFromWindows(LPCSTR windowsPath, std::string& unixPath, DWORD* pError = nullptr);

// As UnixPathFromWindows, for the full path of a file about to be opened; its
// folder becomes the one OpenInLastFolder opens in.
bool UnixPathOfFileToOpen(LPCSTR fullPath, std::string& unixPath, DWORD* pError = nullptr);

// A search opens every file of a folder, and Wine would look the same folder up
// again for each of them. When fullPath lies in the folder of the last path that
// UnixPathOfFileToOpen translated and its name is plain (ASCII, none of the
// characters or endings that Wine's name rules change), the name is opened there
// as written with open(2)'s flags (never O_CREAT), which is where Wine's lookup
// would find it first. True when that open was made: *pFd is its descriptor, or
// -1 with errno. False when the path needs Wine's translation: another folder, a
// name that is not plain, or no such name on disk as written (ENOENT, ENOTDIR),
// which may be the same file with another case or a file still to be created.
bool OpenInLastFolder(LPCSTR fullPath, int flags, int* pFd);

// The Windows path (ANSI code page) under which Wine shows a Unix path: a drive
// letter when a drive of the prefix leads there (Z: maps the root), else a
// "\\?\unix\" path. False when the text cannot be converted.
bool WindowsPathFromUnix(const char* unixPath, std::string& windowsPath);
