#include "formkit/Exception.h"

#include <utility>

namespace formkit {

Exception::Exception(std::string message) : m_message(std::move(message)) {}

EFOpenError::EFOpenError(const std::string& path) : Exception("Cannot open file " + path) {}

}  // namespace formkit
