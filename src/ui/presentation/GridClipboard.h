#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "ui/app/PlatformServices.h"
#include "ui/app/StringGrid.h"

// The copy and select-all commands of every table of the program.

// The text of the grid's selection: for each selected row from top to bottom, the cell texts
// from left to right separated by TAB, each row ended by LF (no CR, no TAB after the last
// cell). Cells outside the grid count as empty.
QString GridSelectionText(const StringGrid& grid);

// The same text for `selection` from any source of cell texts. `keepGoing` is asked after
// each row with the count of rows done so far; when it answers false the text is abandoned
// and nothing is returned. Safe on any thread if `cell` is.
using CellText = std::function<QString(int column, int row)>;
std::optional<QString> SelectionText(const GridSelection& selection, const CellText& cell,
                                     const std::function<bool(int rowsDone)>& keepGoing);

// Puts GridSelectionText on the clipboard as plain text, replacing its content.
void CopyGridSelection(const StringGrid& grid, PlatformServices& platform);

// Selects every cell, the fixed header row and column included.
void SelectWholeGrid(StringGrid& grid);
