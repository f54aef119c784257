// Keeps the desktop of a Wine prefix in use, so that it stays up between the short
// programs that the build, the tests and the scripts run there.
//
// Wine starts the desktop process (explorer.exe /desktop) when a program first needs
// the desktop and ends it about a second after the last program using it has gone.
// A desktop process started by a test inherits the test's standard handles, so
// whoever reads them (ctest, a pipe) waits for that second as well, test after test.
// Started once with its handles on /dev/null, this program holds the desktop until
// the prefix's server ends it.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (GetDesktopWindow() == nullptr) {
    return 1;
  }
  Sleep(INFINITE);
  return 0;
}
