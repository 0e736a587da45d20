#pragma once

#include "ui/app/StringGrid.h"

// Widens every column of `grid` to its widest text, the heading in the fixed row included,
// with a little room either side, so that no text is cut at a column's edge ("Not" for
// "Note"). A column already wide enough keeps its width; one the user narrowed is widened
// again only when it is filled again. Reads the stored cells: not for grids whose cells are
// made on demand from a source, which may hold millions of rows.
void WidenColumnsToText(StringGrid& grid);
