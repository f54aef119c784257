// A folder of its own under the temporary folder, removed with everything in it
// when the object goes.
#pragma once

#include <string>
#include <string_view>

namespace plinth::test {

class TestFolder {
 public:
  explicit TestFolder(std::string_view purpose);
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;
  ~TestFolder();

  // Full path, without a trailing backslash.
  const std::string& Path() const { return m_path; }
  // Path() + "\" + relative.
  std::string operator/(std::string_view relative) const;

  // Makes the folder and its parents under this one.
  void MakeFolder(std::string_view relative) const;
  // Writes bytes as the whole file (made with its folders), replacing what was there.
  void WriteFile(std::string_view relative, std::string_view bytes) const;
  void CopyFileIn(const std::string& source, std::string_view relative) const;
  // Copies the folder tree source into relative.
  void CopyTreeIn(const std::string& source, std::string_view relative) const;
  void Remove(std::string_view relative) const;

 private:
  std::string m_path;
};

// The bytes of a whole file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// The folder of the running test program, with a trailing backslash.
std::string TestProgramFolder();

}  // namespace plinth::test
