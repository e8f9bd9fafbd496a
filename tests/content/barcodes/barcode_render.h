#pragma once
// Rendering of symbologies into images for the barcode tests.
#include "content/barcodes/barcode.h"

#include <QImage>
#include <string>

namespace bctest {

// 254 pixels per inch: one pixel is 100 micrometres, so a module of
// k x 100 micrometres is exactly k pixels.
constexpr int kRes = 254;

// A host whose box is the given device rectangle at `rotation`.
BarcodeHost MakeHost(int rotation, const RECT& box);

// Draws `text` at `rotation` into a white image with `margin` white pixels
// around the object's box, the box being just large enough for the symbol
// (along: GetWidth; across: `across` pixels). Answers the image and, in
// `result`, what the drawing did.
QImage Render(const CBarcode& b, const std::string& text, int rotation, int across, int margin,
              BarcodeDrawResult* result = nullptr);

// The row of pixels across the middle of a rotation-0 image as '1' (dark)
// and '0', from the first dark pixel to the last.
std::string DarkRow(const QImage& img, int y);

// Turns an image back to rotation 0 (undoes a counter-clockwise turn).
QImage Unrotate(const QImage& img, int rotation);

// zint's --dump text of a module row ('1'/'0'): hex digits of four modules,
// grouped by two with spaces.
std::string DumpHex(const std::string& row);

// Runs a command line; answers its exit code and standard output.
int RunCommand(const std::string& command, std::string* out);
// True when a program is on the PATH.
bool HaveProgram(const char* name);
// A fresh temporary folder for this test program.
std::string TempDir();

} // namespace bctest
