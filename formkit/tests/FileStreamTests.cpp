// The read-only file stream and its file-open error.
#include "formkit/Exception.h"
#include "formkit/FilePath.h"
#include "formkit/FileStream.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace formkit {
namespace {

// A file in the temporary folder, removed again at the end of the test.
class TempFile {
 public:
  explicit TempFile(const std::string& content) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    char name[MAX_PATH];
    GetTempFileNameA(folder, "fks", 0, name);
    m_path = name;
    FileHandle file(CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  }
  ~TempFile() { DeleteFileA(m_path.c_str()); }
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

TEST(FileStream, ReadsTheFileInPiecesUpToItsEnd) {
  TempFile file("0123456789");
  TFileStream stream(file.Path(), fmOpenRead);
  char buffer[8] = {};
  EXPECT_EQ(stream.Read(buffer, 4), 4);
  EXPECT_EQ(std::string(buffer, 4), "0123");
  EXPECT_EQ(stream.Read(buffer, 8), 6);
  EXPECT_EQ(std::string(buffer, 6), "456789");
  EXPECT_EQ(stream.Read(buffer, 8), 0);
  EXPECT_EQ(stream.Read(buffer, 0), 0);
}

TEST(FileStream, OthersMayReadTheOpenFile) {
  TempFile file("x");
  TFileStream first(file.Path(), fmOpenRead);
  TFileStream second(file.Path(), fmOpenRead);
  char c = 0;
  EXPECT_EQ(second.Read(&c, 1), 1);
}

TEST(FileStream, UnopenableFileRaisesTheFileOpenErrorWithItsPath) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  TempFile locked("y");
  FileHandle exclusive(CreateFileA(locked.Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(exclusive);
  const struct {
    const char* name;
    std::string path;
  } cases[] = {
      {"missing file", std::string(folder) + "Resource\\bg_smoke01.png"},
      {"folder", folder},
      {"file locked by another", locked.Path()},
      {"empty path", ""},
  };
  for (const auto& c : cases) {
    try {
      TFileStream stream(c.path, fmOpenRead);
      ADD_FAILURE() << c.name << ": no error raised";
    } catch (const EFOpenError& error) {
      EXPECT_EQ(error.Message(), "Cannot open file " + c.path) << c.name;
      const Exception& general = error;  // caught as the framework's exception class too
      EXPECT_STREQ(general.what(), error.Message().c_str()) << c.name;
    }
  }
}

TEST(FilePath, ExtractFilePathKeepsTheFolderWithItsDelimiter) {
  const struct {
    const char* path;
    const char* folder;
  } cases[] = {
      {"C:\\Tools\\ZentrikRemote.exe", "C:\\Tools\\"},
      {"C:ZentrikRemote.exe", "C:"},
      {"\\\\server\\share\\a.exe", "\\\\server\\share\\"},
      {"ZentrikRemote.exe", ""},
      {"C:\\Tools\\", "C:\\Tools\\"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ExtractFilePath(c.path), c.folder) << c.path;
}

}  // namespace
}  // namespace formkit
