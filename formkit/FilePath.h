// File-path helpers over 8-bit paths.
#pragma once

#include <string>

namespace formkit {

// The drive and folder part of `path`: everything up to and including its last
// backslash or colon; empty when it has neither.
std::string ExtractFilePath(const std::string& path);

}  // namespace formkit
