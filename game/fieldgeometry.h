// Where the field lies on the screen: 30 columns of 20 cells from the left
// edge, the last row ending at the screen's bottom edge. A cell is as large as
// the black stone's image (20 x 20 in the game's images), so the top edge
// follows from the cell height.
#pragma once

#include "display/screensize.h"

constexpr int FIELD_COLUMNS = 30;
constexpr int FIELD_ROWS = 20;
constexpr int FIELD_CELLS = FIELD_COLUMNS * FIELD_ROWS;

constexpr int FIELD_LEFT = 0;

constexpr int FieldTop(int cellHeight)
{
    return SCREEN_HEIGHT - FIELD_ROWS * cellHeight;
}

constexpr int FieldRight(int cellWidth)
{
    return FIELD_LEFT + FIELD_COLUMNS * cellWidth;
}
