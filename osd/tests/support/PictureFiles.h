// Test pictures, written as real PNG files by pngio.dll's own encoder (the copy
// beside the test program).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace osdtest {

// `samples` holds the rows one after the other: red, green, blue (and alpha for
// colour type 6) for each pixel. Throws std::runtime_error when it cannot write.
void WritePng(const std::string& path, uint32_t width, uint32_t height, uint32_t colorType,
              const std::vector<uint8_t>& samples);

// A picture of one colour.
void WritePlainPng(const std::string& path, uint32_t width, uint32_t height, uint32_t colorType);

// Writes `bytes` as the whole file.
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace osdtest
