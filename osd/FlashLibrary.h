// The animation player library (flashobj.dll), loaded at run time by its plain
// file name, and the entry points through which every player is driven.
//
// When the library cannot be loaded, or lacks an entry point the overlay uses, the
// players get the silent player's entry points instead (SilentPlayer.h): nothing is
// shown, but each movie still calls back where it would, so every overlay ends.
#pragma once

#include "animplayer/flashobj.h"

struct FlashEntryPoints {
  FlashCreateFunc create;
  FlashSetCallbackFunc setCallback;
  FlashCallFunctionFunc callFunction;
};

// The entry points for the next player: the library's once it has loaded (it then
// stays loaded for the life of the process), else the silent player's, and the
// next call tries the library again. A player keeps the entry points it was made
// with, so players of both kinds can live side by side.
const FlashEntryPoints& LoadFlashLibrary();

// Makes LoadFlashLibrary answer `entries` from now on, instead of the library
// (for tests, before the first player is made). `entries` must stay alive.
void InstallFlashLibrary(const FlashEntryPoints& entries);
