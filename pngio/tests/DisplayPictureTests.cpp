// The display's two pictures, as the build wrote them, read back through the library.
#include "pngio/pngio.h"

#include "formkit/Handle.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

uint32_t __stdcall ReadFromFile(void* context, void* buffer, uint32_t count) {
  DWORD read = 0;
  return ReadFile(static_cast<HANDLE>(context), buffer, count, &read, nullptr) ? read : 0;
}

// The Resource folder of this build: tests live in build/tests, the program in build/dist.
std::wstring ResourceFile(const wchar_t* name) {
  std::vector<wchar_t> path(MAX_PATH);
  while (GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())) == path.size()) path.resize(path.size() * 2);
  std::wstring folder(path.data());
  folder.resize(folder.find_last_of(L'\\') + 1);
  return folder + L"..\\dist\\Resource\\" + name;
}

TEST(DisplayPictures, AreTranslucentPicturesThatTheLibraryReads) {
  const struct {
    const wchar_t* name;
    uint32_t width, height;
    bool clearCorners;  // a badge on a transparent ground
  } cases[] = {{L"bg_smoke01.png", 1280, 720, false}, {L"turbo_mode.png", 128, 128, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name, c.name + wcslen(c.name)));
    formkit::FileHandle file(CreateFileW(ResourceFile(c.name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file.IsValid());
    PngData data{};
    ASSERT_NE(ReadPngEx(&data, ReadFromFile, file.Get()), 0);
    EXPECT_EQ(data.width, c.width);
    EXPECT_EQ(data.height, c.height);
    EXPECT_EQ(data.colorType, 6u) << "with an alpha channel";
    size_t translucent = 0;
    for (uint32_t y = 0; y < data.height; ++y) {
      for (uint32_t x = 0; x < data.width; ++x) translucent += data.rows[y][x * 4 + 3] < 255;
    }
    EXPECT_GT(translucent, size_t{data.width} * data.height / 10);
    if (c.clearCorners) {
      EXPECT_EQ(data.rows[0][3], 0);
      EXPECT_EQ(data.rows[data.height - 1][(data.width - 1) * 4 + 3], 0);
      EXPECT_EQ(data.rows[data.height / 2][(data.width / 2) * 4 + 3], 255) << "the bolt is opaque";
    }
    FreePngData(&data);
  }
}

}  // namespace
