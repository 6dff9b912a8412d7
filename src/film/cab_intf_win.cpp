#include "film/cab_intf_win.h"

#include <initializer_list>

namespace {

class TCabinetLibrary {
public:
  ~TCabinetLibrary() {
    if (FModule) FreeLibrary(FModule);
  }

  const TCabFunctions* Get(const char** problem) {
    *problem = "";
    if (FInvalid) return nullptr;
    if (!FModule) {
      FModule = LoadLibraryW(L"cabinet.dll");
      if (!FModule) {
        *problem = "Cabinet.dll not found";
        return nullptr;
      }
      if (!Resolve()) {
        FInvalid = true;
        *problem = "Cabinet.dll is invalid";
        return nullptr;
      }
    }
    return &FFunctions;
  }

private:
  FARPROC Entry(const char* name) { return GetProcAddress(FModule, name); }

  bool Resolve() {
    // The compression entry points are not used, but a library without them is not
    // the one we expect.
    for (const char* name : {"FCICreate", "FCIAddFile", "FCIFlushCabinet", "FCIFlushFolder", "FCIDestroy"})
      if (!Entry(name)) return false;
    FFunctions.FDICreate = reinterpret_cast<TFDICreate>(reinterpret_cast<void*>(Entry("FDICreate")));
    FFunctions.FDIIsCabinet = reinterpret_cast<TFDIIsCabinet>(reinterpret_cast<void*>(Entry("FDIIsCabinet")));
    FFunctions.FDICopy = reinterpret_cast<TFDICopy>(reinterpret_cast<void*>(Entry("FDICopy")));
    FFunctions.FDIDestroy = reinterpret_cast<TFDIDestroy>(reinterpret_cast<void*>(Entry("FDIDestroy")));
    return FFunctions.FDICreate && FFunctions.FDIIsCabinet && FFunctions.FDICopy && FFunctions.FDIDestroy;
  }

  HMODULE FModule = nullptr;
  bool FInvalid = false;
  TCabFunctions FFunctions{};
};

TCabinetLibrary g_library;

}  // namespace

const TCabFunctions* LoadCabinetLibrary(const char** problem) { return g_library.Get(problem); }
