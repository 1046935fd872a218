// Ole.h: OLE start-up and shutdown, and the framework's OLE classes in one include.
//   AfxOleInit, AfxOleTerm  OLE on the user-interface thread
//   OleData.h               COleDataSource, COleDataObject
//   OleDragDrop.h           COleDropSource, COleDropTarget
#pragma once

#include "OleData.h"
#include "OleDragDrop.h"

// Initialises OLE (OleInitialize) on the calling thread, the user-interface
// thread: drag and drop and the OLE clipboard need it. TRUE when OLE is ready;
// a second call on the thread that initialised it does nothing and returns TRUE.
// FALSE, with nothing initialised, when OLE refuses (a thread already in the
// multi-threaded apartment) or when another thread initialised it first.
BOOL AFXAPI AfxOleInit();
// TRUE on the thread on which AfxOleInit succeeded (and AfxOleTerm has not run).
// Drop targets register only there: OLE drag and drop needs OleInitialize, and
// under Wine a thread that merely made a window is already in a COM apartment,
// so asking COM cannot tell.
BOOL AFXAPI AfxOleIsInitialized();
// Undoes AfxOleInit on the thread that called it: the application calls it once
// at exit, after its windows are gone (so every drop target is revoked). Does
// nothing when AfxOleInit did not succeed, or on any other thread.
void AFXAPI AfxOleTerm();
