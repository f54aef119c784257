// pngio.dll: decodes and encodes PNG pictures through caller-supplied byte streams.
// The program loads it at run time and looks the four entry points up by their
// undecorated names; all use the standard Windows calling convention.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// The library exports its entry points through its .def file, by undecorated name.
#ifdef PNGIO_BUILDING
#define PNGIO_API extern "C"
#else
#define PNGIO_API extern "C" __declspec(dllimport)
#endif

// A decoded picture. Rows hold 8-bit samples: red, green, blue, alpha when
// colorType is 6 (PNG truecolour with alpha), otherwise red, green, blue.
struct PngData {
  uint32_t width;
  uint32_t height;
  uint32_t bitDepth;   // always 8 after decoding
  uint32_t colorType;  // 6 (RGBA) or 2 (RGB) after decoding
  uint32_t rowBytes;   // bytes in one row: width * 4 or width * 3
  uint8_t** rows;      // `height` pointers, each to one row of `rowBytes` bytes
};

#if defined(__i386__)
// The program reads this record at fixed offsets.
static_assert(sizeof(PngData) == 24, "PngData is 24 bytes");
static_assert(offsetof(PngData, colorType) == 12, "colorType at offset 12");
static_assert(offsetof(PngData, rows) == 20, "rows at offset 20");
#endif

// PNG colour types that the library hands out.
constexpr uint32_t kPngColorTypeRgb = 2;
constexpr uint32_t kPngColorTypeRgba = 6;

// Reads up to `count` bytes into `buffer`; returns how many it delivered (0 at the end).
typedef uint32_t(__stdcall* PngReadFunc)(void* context, void* buffer, uint32_t count);
// Writes `count` bytes from `buffer`; returns how many it accepted.
typedef uint32_t(__stdcall* PngWriteFunc)(void* context, const void* buffer, uint32_t count);

// Decodes a whole PNG read through `read`. Nonzero on success, with `data` filled;
// on failure 0 and `data` holds no rows.
PNGIO_API int __stdcall ReadPngEx(PngData* data, PngReadFunc read, void* context);
// Frees the rows that ReadPngEx or AllocatePngData gave `data` and clears it.
PNGIO_API int __stdcall FreePngData(PngData* data);
// Gives `data` zeroed rows for a width x height picture of colour type 2 or 6.
PNGIO_API int __stdcall AllocatePngData(PngData* data, uint32_t width, uint32_t height, uint32_t colorType);
// Encodes `data` as a PNG through `write`. Nonzero on success.
PNGIO_API int __stdcall WritePngEx(const PngData* data, PngWriteFunc write, void* context);

// Types of the entry points, for GetProcAddress.
typedef int(__stdcall* ReadPngExFunc)(PngData* data, PngReadFunc read, void* context);
typedef int(__stdcall* FreePngDataFunc)(PngData* data);
typedef int(__stdcall* AllocatePngDataFunc)(PngData* data, uint32_t width, uint32_t height, uint32_t colorType);
typedef int(__stdcall* WritePngExFunc)(const PngData* data, PngWriteFunc write, void* context);
