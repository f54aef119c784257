#include "formkit/FilePath.h"

namespace formkit {

std::string ExtractFilePath(const std::string& path) {
  const auto last = path.find_last_of("\\:");
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

}  // namespace formkit
