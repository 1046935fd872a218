// AfxResource.h: the module-wide resource handle from which the framework loads
// its resources (strings, menus, dialogs). The application sets it when it loads
// a separate resource library; until then it is the program's own module.
#pragma once

#include <windows.h>

// The current resource handle: the last one set, else GetModuleHandle(nullptr).
HINSTANCE AfxGetResourceHandle();
// Sets the resource handle; null restores the default (the program's module).
void AfxSetResourceHandle(HINSTANCE hInstResource);
