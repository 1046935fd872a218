// ZelDorvaneMain.cpp: the program's static objects. The crash handler comes
// first, so that it watches everything the application does, start-up
// included; the framework's WinMain then runs the application object.
#include "ZelDorvane.h"

#include "Common/XCrashHandler.h"

namespace {

CXCrashHandler theCrashHandler;
CZelDorvaneApp theApp;

} // namespace
