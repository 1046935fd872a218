// Hides the macros by which a header recognises Windows, so that a native Linux
// library's header takes its Linux branch inside a winelib build. Always paired
// with restore_win32.h right after the native include; never include anything of
// our own between the two.
#pragma push_macro("_WIN32")
#pragma push_macro("_WIN64")
#pragma push_macro("WIN32")
#pragma push_macro("WIN64")
#pragma push_macro("__WIN32")
#pragma push_macro("__WIN32__")
#pragma push_macro("__WIN64")
#pragma push_macro("__WIN64__")
#pragma push_macro("__WINNT")
#pragma push_macro("__WINNT__")
#undef _WIN32
#undef _WIN64
#undef WIN32
#undef WIN64
#undef __WIN32
#undef __WIN32__
#undef __WIN64
#undef __WIN64__
#undef __WINNT
#undef __WINNT__
