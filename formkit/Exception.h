// The framework's exception class and its file-open error. Exception::Message()
// is the text that TApplication::ShowException displays.
#pragma once

#include <exception>
#include <string>

namespace formkit {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message);

  const std::string& Message() const { return m_message; }
  const char* what() const noexcept override { return m_message.c_str(); }

 private:
  std::string m_message;
};

// Raised when a file stream cannot open its file. The message is
// "Cannot open file " followed by the path as it was given.
class EFOpenError : public Exception {
 public:
  explicit EFOpenError(const std::string& path);
};

}  // namespace formkit
