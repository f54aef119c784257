// The display's pictures: where they lie, and decoding them into framework
// bitmaps through the PNG library pngio.dll, which is loaded from the program's
// folder on first use and stays loaded.
//
// When pngio.dll cannot be loaded from there, or lacks ReadPngEx or FreePngData,
// the first decode throws formkit::Exception with a message that names the
// library's full path; start-up lets it pass to the entry point, which shows it
// with TApplication::ShowException and ends. A later decode tries again.
#pragma once

#include <string>

namespace formkit {
class TBitmap;
class TStream;
}  // namespace formkit

// The folder of the program file, with its trailing backslash (or colon), as the
// framework's file-path helpers give it.
std::string ProgramFolder();

// The folder of the display's pictures: the program's folder + "Resource\",
// computed afresh at every call.
std::string ResourceFolder();

// Decodes the PNG file at `path` into `bitmap` as 32 bits a pixel: red, green and
// blue become the bitmap's blue, green and red, alpha is kept (255 for pictures
// without alpha), and fully transparent pixels become black. A file that cannot be
// opened throws formkit::EFOpenError; one that cannot be decoded leaves the bitmap
// as it was, with 32 bits a pixel.
void LoadPng(const std::string& path, formkit::TBitmap& bitmap);

// Decodes a PNG from `stream` into `bitmap`, keeping a 32-bit bitmap at 32 bits
// and making any other one 24 bits (alpha dropped). Returns false, with the
// bitmap untouched, when the data cannot be decoded.
bool ReadPng(formkit::TStream& stream, formkit::TBitmap& bitmap);
