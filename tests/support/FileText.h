// Small file helpers for logs that other processes write while a test reads them.
#pragma once

#include <string>
#include <vector>

namespace zrtest {

// The file's bytes; empty when it cannot be read. Opens with full sharing, so the
// writer may go on writing.
std::string ReadFileText(const std::string& path);
// The lines of `text` that have their line end ("\n" or "\r\n"), without it; a last
// line still being written is left out.
std::vector<std::string> WholeLines(const std::string& text);
// Writes bytes as the whole file, replacing it; false on failure.
bool WriteFileText(const std::string& path, const std::string& bytes);

}  // namespace zrtest
