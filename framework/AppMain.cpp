// AppMain.cpp: the program's entry point, which hands control to the one
// application object (AfxWinMain, WinApp.cpp). In its own file so that only
// programs with an application (not the test programs, which have main) link it.
#include "WinApp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
