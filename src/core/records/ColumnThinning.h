#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace travik {

// Columns a records figure is thinned to when its width is not known (the window's
// charts): wider than any screen, so that thinning is never seen.
inline constexpr std::size_t kDefaultFigureColumns = 4096;

// The samples of a series worth drawing across `columns` columns of equal width: per
// column, its first and last sample and its smallest and largest, in the order of the
// series (each once). A line through them covers, in every column, the very range the
// whole series covers, so no peak is lost; at most four samples per column are kept, so
// ten million samples draw as fast as a few thousand. A series of at most four samples
// per column is kept whole. Indices ascending; empty for an empty series.
std::vector<std::size_t> ThinToColumns(std::span<const double> values, std::size_t columns);

}  // namespace travik
