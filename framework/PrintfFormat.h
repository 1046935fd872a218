// PrintfFormat.h: AfxVsnprintf, vsnprintf with the conversions of Windows' narrow
// printf family, for the string classes' Format.
//
// Besides the C library's conversions it reads Windows' size prefixes I64 (64-bit),
// I32 (32-bit) and I (pointer-sized), and wide text in a narrow format: %ls, %lS
// and %S are wide strings, %lc and %C wide characters, converted to the ANSI code
// page; %hs, %hS, %hc and %hC stay narrow. wchar_t is 2 bytes in our code while
// the C library's is 4, so wide text must never reach the C library. The other
// integer prefixes keep their C sizes: l is long, 64 bits here. %n writes nothing
// (Windows refuses it).
#pragma once

#include <windows.h>

#include <cstdarg>
#include <cstddef>

// The argument list that Win32's own variadic calls take (FormatMessage's
// argument array, wvsprintf): under Wine on x86-64 it follows the Windows calling
// convention, not the C library's, so it has a type of its own there; on Windows
// it is the C va_list.
#ifdef __ms_va_list
typedef __ms_va_list AfxWin32VaList;
#define AFX_WIN32_VA_START(list, last) __ms_va_start(list, last)
#define AFX_WIN32_VA_END(list) __ms_va_end(list)
#else
typedef va_list AfxWin32VaList;
#define AFX_WIN32_VA_START(list, last) va_start(list, last)
#define AFX_WIN32_VA_END(list) va_end(list)
#endif

// As vsnprintf: the length of the whole result, and at most size - 1 characters of
// it written with a NUL when size is above 0; -1 on an encoding error.
int AfxVsnprintf(char* buffer, size_t size, const char* format, va_list args);
