// A library named flashobj.dll that offers none of the player's entry points.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
