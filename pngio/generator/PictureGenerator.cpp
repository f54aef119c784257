// Writes the on-screen display's two pictures into the folder named on the command
// line. Run by the build; the pictures are made, not stored, so that they always
// come out of our own PNG library.
#include "pngio/generator/PictureCanvas.h"
#include "pngio/generator/PngFile.h"
#include "pngio/generator/SmokeBackground.h"
#include "pngio/generator/TurboBadge.h"

#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fputs("usage: picture_generator <output folder>\n", stderr);
    return 2;
  }
  std::wstring folder = argv[1];
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';

  pictures::PictureCanvas smoke(pictures::kSmokeWidth, pictures::kSmokeHeight);
  pictures::PaintSmoke(smoke);
  pictures::PictureCanvas badge(pictures::kBadgeSize, pictures::kBadgeSize);
  pictures::PaintTurboBadge(badge);

  const struct {
    const wchar_t* name;
    const pictures::PictureCanvas& canvas;
  } outputs[] = {{L"bg_smoke01.png", smoke}, {L"turbo_mode.png", badge}};
  for (const auto& output : outputs) {
    const std::wstring path = folder + output.name;
    if (!pictures::SavePng(path.c_str(), output.canvas)) {
      std::fprintf(stderr, "picture_generator: cannot write %ls\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
