// Misuses one plinth class the way only a programming error would, so that a test
// can see the always-on assertion that stops it. The argument names the class.
#include <windows.h>

#include <cstring>

#include "plinth/System/Source/IniAccess.h"
#include "plinth/System/Source/WinRegistry.h"
#include "plinth/fileutl/Source/WinFileFind.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const char* misuse = argv[1];
  if (std::strcmp(misuse, "RegAccessor") == 0) {
    plinth::RegAccessor accessor;
    accessor.Open(HKEY_CURRENT_USER, "Software", false);
    accessor.Open(HKEY_CURRENT_USER, "Software", false);
  } else if (std::strcmp(misuse, "RegReader") == 0) {
    plinth::RegReader reader;
    reader.Open(HKEY_CURRENT_USER, "Software");
    reader.Open(HKEY_CURRENT_USER, "Software");
  } else if (std::strcmp(misuse, "IniAccessor") == 0) {
    plinth::IniAccessor ini;
    ini.Open("misuse.ini");
    ini.Open("misuse.ini");
  } else if (std::strcmp(misuse, "IniAccessorClosed") == 0) {
    plinth::IniAccessor ini;
    std::string out;
    ini.ReadString("S", "K", "", out);
  } else if (std::strcmp(misuse, "WinFileFindA") == 0) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    plinth::WinFileFindA find;
    find.FindFirst((std::string(windows) + "\\*").c_str());
    find.FindFirst((std::string(windows) + "\\*").c_str());
  } else if (std::strcmp(misuse, "WinDirTraverserDone") == 0) {
    plinth::WinDirTraverser walk;
    walk.Start("Z:\\no\\such\\folder\\", false);
    walk.Next();
  }
  return 0;  // not reached when the assertion holds
}
