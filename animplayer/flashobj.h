// flashobj.dll: the animation player. Each player is a window that plays one movie
// file, runs the movie's functions on XML "invoke" requests and calls its host back
// at the points the movie defines. The program loads it at run time and looks the
// five entry points up by their undecorated names; all use the standard Windows
// calling convention.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstddef>
#include <cstdint>

// The library exports its entry points through its .def file, by undecorated name.
#ifdef FLASHOBJ_BUILDING
#define FLASHOBJ_API extern "C"
#else
#define FLASHOBJ_API extern "C" __declspec(dllimport)
#endif

// The host's call-back: four pointer-sized words, none of which the movies fill in
// (all 0). Always called on the thread that created the player, from its messages.
typedef void(__stdcall* FlashCallCallback)(uintptr_t, uintptr_t, uintptr_t, uintptr_t);

// Argument of flash_callFunction, passed by value. Only `request` is read: the XML
// "invoke" text as a BSTR, owned by the caller.
struct FlashCallArgs {
  uint32_t reserved0;
  uint32_t reserved1;
  BSTR request;
  uint32_t reserved3;
};

#if defined(__i386__)
// The program fills this record at fixed offsets.
static_assert(sizeof(FlashCallArgs) == 16, "FlashCallArgs is 16 bytes");
static_assert(offsetof(FlashCallArgs, request) == 8, "request is the third word");
#endif

// Creates a hidden player window owned by `parent` for the movie file at
// `moviePath`. Returns the window (moved, sized, shown and hidden with
// SetWindowPos), or null when no window could be made.
FLASHOBJ_API HWND __stdcall flash_create(HWND parent, const wchar_t* moviePath);
// Sets the function that receives the movie's calls to the host. Nonzero on success.
FLASHOBJ_API int __stdcall flash_setFlashCallCallbackFunc(HWND player, FlashCallCallback callback);
// Runs the movie function that the request names. Returns at once; animations and
// call-backs follow through the player's messages. Nonzero when the request was
// understood.
FLASHOBJ_API int __stdcall flash_callFunction(HWND player, FlashCallArgs args);
// Resumes / freezes the player's animations. Nonzero on success.
FLASHOBJ_API int __stdcall flash_play(HWND player);
FLASHOBJ_API int __stdcall flash_stop(HWND player);

// Types of the entry points, for GetProcAddress.
typedef HWND(__stdcall* FlashCreateFunc)(HWND parent, const wchar_t* moviePath);
typedef int(__stdcall* FlashSetCallbackFunc)(HWND player, FlashCallCallback callback);
typedef int(__stdcall* FlashCallFunctionFunc)(HWND player, FlashCallArgs args);
typedef int(__stdcall* FlashPlayFunc)(HWND player);
typedef int(__stdcall* FlashStopFunc)(HWND player);
