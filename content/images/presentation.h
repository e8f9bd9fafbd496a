#pragma once
// The presentation picture of a legacy embedded (OLE 1) item: the picture
// its server left in the stored stream, drawn into the item's box. The
// picture fills the box, as the embedding's own drawing does.
#include "platform/dc.h"

#include <QImage>

#include <string_view>

// Draws a presentation picture into `box` (device pixels; bitmaps cover the
// right and bottom edges too, metafiles map their window onto a viewport of
// right - left by bottom - top pixels, as the metafile holder does).
// `className` names its format, ignoring case:
//  "METAFILEPICT"  `data` holds the metafile bits;
//  "DIB"           `data` holds a packed DIB;
//  "BITMAP"        `data` holds a device bitmap: int16 type, width, height
//                  and bytes per row, one byte planes and bits per pixel,
//                  then the rows from the top (1, 24 or 32 bits per pixel).
// False when the format is unknown or the data cannot be drawn.
bool DrawOle1Presentation(CDC& dc, const RECT& box, std::string_view className, std::string_view data);

// A device bitmap as described above as an image; null when invalid.
QImage DeviceBitmapToImage(std::string_view data);
