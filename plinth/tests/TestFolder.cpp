#include "plinth/tests/TestFolder.h"

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace plinth::test {

namespace fs = std::filesystem;

TestFolder::TestFolder(std::string_view purpose) {
  static std::atomic<unsigned> serial{0};
  char temp[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof temp, temp);
  if (length == 0 || length > MAX_PATH) throw std::runtime_error("no temporary folder");
  m_path = std::string(temp) + "zr-" + std::string(purpose) + "-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(serial++);
  fs::remove_all(m_path);
  fs::create_directories(m_path);
}

TestFolder::~TestFolder() {
  std::error_code ignored;
  fs::remove_all(m_path, ignored);
}

std::string TestFolder::operator/(std::string_view relative) const { return m_path + "\\" + std::string(relative); }

void TestFolder::MakeFolder(std::string_view relative) const { fs::create_directories(*this / relative); }

void TestFolder::WriteFile(std::string_view relative, std::string_view bytes) const {
  const fs::path path = *this / relative;
  fs::create_directories(path.parent_path());
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path.string());
}

void TestFolder::CopyFileIn(const std::string& source, std::string_view relative) const {
  const fs::path target = *this / relative;
  fs::create_directories(target.parent_path());
  fs::copy_file(source, target, fs::copy_options::overwrite_existing);
}

void TestFolder::CopyTreeIn(const std::string& source, std::string_view relative) const {
  fs::create_directories(*this / relative);
  fs::copy(source, *this / relative, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

void TestFolder::Remove(std::string_view relative) const { fs::remove_all(*this / relative); }

std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string TestProgramFolder() {
  char path[MAX_PATH * 2] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string text(path, length);
  return text.substr(0, text.rfind('\\') + 1);
}

}  // namespace plinth::test
