#include "osd/FlashLibrary.h"

#include "osd/EntryPoint.h"
#include "osd/SilentPlayer.h"

namespace {

const FlashEntryPoints* g_loaded = nullptr;

// The library's entry points, or null when it is missing or incomplete.
const FlashEntryPoints* TryLoadLibrary() {
  HMODULE module = LoadLibraryA("flashobj.dll");
  if (!module) return nullptr;
  const FlashEntryPoints entries{
      EntryPoint<FlashCreateFunc>(module, "flash_create"),
      EntryPoint<FlashSetCallbackFunc>(module, "flash_setFlashCallCallbackFunc"),
      EntryPoint<FlashCallFunctionFunc>(module, "flash_callFunction"),
  };
  if (!entries.create || !entries.setCallback || !entries.callFunction) {
    FreeLibrary(module);
    return nullptr;
  }
  // Never unloaded: the player windows run the library's code until the process ends.
  static const FlashEntryPoints library = entries;
  return &library;
}

}  // namespace

const FlashEntryPoints& LoadFlashLibrary() {
  if (!g_loaded) g_loaded = TryLoadLibrary();
  return g_loaded ? *g_loaded : SilentPlayerEntryPoints();
}

void InstallFlashLibrary(const FlashEntryPoints& entries) { g_loaded = &entries; }
