#pragma once

#include "ui/app/StringGrid.h"
#include "ui/spectra/RotatedJob.h"

// The "Rotated" table: the two-component report's columns and rows (the ground row at
// period 0 first), numbers with the user's decimal separator. Empty without a motion or
// before its spectra are computed.
void FillRotatedTable(StringGrid& grid, const RotatedMotion* motion, char decimalSeparator);
