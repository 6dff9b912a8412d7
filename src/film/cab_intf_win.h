#pragma once
// Run-time binding to the system cabinet library (cabinet.dll) and its FDI entry
// points.
#include <windows.h>
// fdi.h after windows.h: it relies on its types.
#include <fdi.h>

using TFDICreate = HFDI(DIAMONDAPI*)(PFNALLOC, PFNFREE, PFNOPEN, PFNREAD, PFNWRITE, PFNCLOSE, PFNSEEK, int, PERF);
using TFDIIsCabinet = BOOL(DIAMONDAPI*)(HFDI, INT_PTR, PFDICABINETINFO);
using TFDICopy = BOOL(DIAMONDAPI*)(HFDI, char*, char*, int, PFNFDINOTIFY, PFNFDIDECRYPT, void*);
using TFDIDestroy = BOOL(DIAMONDAPI*)(HFDI);

struct TCabFunctions {
  TFDICreate FDICreate;
  TFDIIsCabinet FDIIsCabinet;
  TFDICopy FDICopy;
  TFDIDestroy FDIDestroy;
};

// Loads cabinet.dll on the first call and resolves FCICreate, FCIAddFile,
// FCIFlushCabinet, FCIFlushFolder, FCIDestroy, FDICreate, FDIIsCabinet, FDICopy and
// FDIDestroy by name; all nine must exist. Returns the FDI functions, or nullptr with
// *problem set to the text to show: "Cabinet.dll not found" (tried again next time)
// or, on the first failing call only, "Cabinet.dll is invalid" (the library then stays
// loaded and unused; later calls return nullptr with an empty text). The library is
// released when the program ends.
const TCabFunctions* LoadCabinetLibrary(const char** problem);
