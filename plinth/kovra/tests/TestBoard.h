// Test helper: a board file of the simulated firmware, written by the test, that the
// firmware library of this process serves while the helper lives (through ZR_BOARD,
// which the library looks at on every operation).
#pragma once

#include <windows.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <string>

namespace zrtest {

class TestBoard {
 public:
  explicit TestBoard(const std::string& text) : m_path(UniquePath()) {
    Rewrite(text);
    SetEnvironmentVariableA("ZR_BOARD", m_path.c_str());
  }
  ~TestBoard() {
    SetEnvironmentVariableA("ZR_BOARD", nullptr);
    DeleteFileA(m_path.c_str());
    DeleteFileA((m_path + ".log").c_str());
  }
  TestBoard(const TestBoard&) = delete;
  TestBoard& operator=(const TestBoard&) = delete;

  // Replaces the board's text; the library sees the change at its next operation.
  void Rewrite(const std::string& text) {
    std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
    out << text;
  }

  // The board's text as it is now (the library rewrites it on every item write).
  std::string Text() const {
    std::ifstream in(m_path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  const std::string& Path() const { return m_path; }

 private:
  // One file per board and process, so that test programs may run side by side.
  static std::string UniquePath() {
    static std::atomic<int> serial{0};
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "zr-board-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++serial) + ".txt";
  }

  std::string m_path;
};

}  // namespace zrtest
