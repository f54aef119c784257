// WritePngEx and AllocatePngData, checked by reading back what was written.
#include "pngio/pngio.h"
#include "pngio/tests/MemoryStream.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using pngtest::MemorySink;
using pngtest::MemorySource;

// Owns rows from AllocatePngData or ReadPngEx.
struct Picture {
  PngData data{};
  Picture() = default;
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;
  ~Picture() { FreePngData(&data); }
};

void Fill(const PngData& data) {
  for (uint32_t y = 0; y < data.height; ++y) {
    for (uint32_t i = 0; i < data.rowBytes; ++i) data.rows[y][i] = static_cast<uint8_t>(y * 31 + i * 7 + 1);
  }
}

TEST(PngWrite, WrittenPicturesReadBackUnchanged) {
  const struct {
    const char* name;
    uint32_t width, height, colorType;
  } cases[] = {{"RGBA", 33, 17, 6}, {"RGB", 33, 17, 2}, {"one pixel", 1, 1, 6}, {"one row", 300, 1, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Picture original;
    ASSERT_NE(AllocatePngData(&original.data, c.width, c.height, c.colorType), 0);
    Fill(original.data);
    MemorySink sink;
    ASSERT_NE(WritePngEx(&original.data, MemorySink::Write, &sink), 0);
    MemorySource source(sink.bytes);
    Picture copy;
    ASSERT_NE(ReadPngEx(&copy.data, MemorySource::Read, &source), 0);
    EXPECT_EQ(source.position, sink.bytes.size());
    ASSERT_EQ(copy.data.width, c.width);
    ASSERT_EQ(copy.data.height, c.height);
    ASSERT_EQ(copy.data.colorType, c.colorType);
    for (uint32_t y = 0; y < c.height; ++y) {
      EXPECT_EQ(std::memcmp(copy.data.rows[y], original.data.rows[y], original.data.rowBytes), 0) << "row " << y;
    }
  }
}

TEST(PngWrite, RefusesRecordsItCannotEncode) {
  Picture good;
  ASSERT_NE(AllocatePngData(&good.data, 4, 4, 6), 0);
  const struct {
    const char* name;
    void (*change)(PngData&);
  } cases[] = {
      {"palette colour type", [](PngData& d) { d.colorType = 3; }},
      {"16 bits a sample", [](PngData& d) { d.bitDepth = 16; }},
      {"zero width", [](PngData& d) { d.width = 0; }},
      {"rows shorter than the width", [](PngData& d) { d.rowBytes = 3; }},
      {"no rows", [](PngData& d) { d.rows = nullptr; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PngData changed = good.data;
    c.change(changed);
    MemorySink sink;
    EXPECT_EQ(WritePngEx(&changed, MemorySink::Write, &sink), 0);
  }
  uint8_t* rows[4] = {good.data.rows[0], good.data.rows[1], nullptr, good.data.rows[3]};
  PngData missingRow = good.data;
  missingRow.rows = rows;
  MemorySink sink;
  EXPECT_EQ(WritePngEx(&missingRow, MemorySink::Write, &sink), 0) << "a null row";
  EXPECT_EQ(WritePngEx(nullptr, MemorySink::Write, &sink), 0);
  EXPECT_EQ(WritePngEx(&good.data, nullptr, &sink), 0);
}

TEST(PngWrite, AFailingWriteFunctionIsReported) {
  Picture picture;
  ASSERT_NE(AllocatePngData(&picture.data, 64, 64, 6), 0);
  Fill(picture.data);
  MemorySink sink;
  sink.failAfter = 10;
  EXPECT_EQ(WritePngEx(&picture.data, MemorySink::Write, &sink), 0);
}

TEST(PngAllocate, GivesZeroedRowsOrNothing) {
  const struct {
    const char* name;
    uint32_t width, height, colorType;
    bool accepted;
  } cases[] = {
      {"RGBA", 120, 40, 6, true},      {"RGB", 120, 40, 2, true},         {"largest side", 16384, 1, 6, true},
      {"zero width", 0, 10, 6, false}, {"zero height", 10, 0, 6, false},  {"side too long", 16385, 1, 6, false},
      {"area too large", 8192, 4096, 6, false}, {"grey colour type", 10, 10, 0, false}, {"palette", 10, 10, 3, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Picture picture;
    const int result = AllocatePngData(&picture.data, c.width, c.height, c.colorType);
    EXPECT_EQ(result != 0, c.accepted);
    if (!c.accepted) {
      EXPECT_EQ(picture.data.rows, nullptr);
      continue;
    }
    const uint32_t samples = c.colorType == 6 ? 4 : 3;
    EXPECT_EQ(picture.data.width, c.width);
    EXPECT_EQ(picture.data.height, c.height);
    EXPECT_EQ(picture.data.bitDepth, 8u);
    EXPECT_EQ(picture.data.rowBytes, c.width * samples);
    for (uint32_t y = 0; y < c.height; ++y) {
      for (uint32_t i = 0; i < picture.data.rowBytes; ++i) ASSERT_EQ(picture.data.rows[y][i], 0) << y << "," << i;
    }
  }
}

TEST(PngAllocate, FreeClearsTheRecord) {
  PngData data{};
  ASSERT_NE(AllocatePngData(&data, 8, 8, 2), 0);
  EXPECT_NE(FreePngData(&data), 0);
  EXPECT_EQ(data.rows, nullptr);
  EXPECT_EQ(data.width, 0u);
  EXPECT_NE(FreePngData(&data), 0) << "freeing a cleared record is harmless";
}

}  // namespace
