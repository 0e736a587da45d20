#pragma once

#include <QString>

#include "app/PlatformServices.h"
#include "app/StringGrid.h"

// The copy and select-all commands of every table of the program.

// The text of the grid's selection: for each selected row from top to bottom, the cell texts
// from left to right separated by TAB, each row ended by LF (no CR, no TAB after the last
// cell). Cells outside the grid count as empty.
QString GridSelectionText(const StringGrid& grid);

// Puts GridSelectionText on the clipboard as plain text, replacing its content.
void CopyGridSelection(const StringGrid& grid, PlatformServices& platform);

// Selects every cell, the fixed header row and column included.
void SelectWholeGrid(StringGrid& grid);
