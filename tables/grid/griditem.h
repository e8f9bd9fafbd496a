#pragma once
// What a virtual grid asks its owner for one cell: the grid fills every
// field from the cell's default cell, the owner changes what it wants.
#include "platform/windef.h"

#include <cstdint>
#include <string>

struct CGridItem {
    int row = -1;
    int col = -1;
    unsigned mask = ~0u;
    uint32_t state = 0;
    uint32_t format = 0;
    int image = -1;
    COLORREF backClr = 0;
    COLORREF textClr = 0;
    intptr_t data = 0;
    LOGFONTA font;
    int margin = 0;
    std::string text; // bytes in the grid's code page
};
