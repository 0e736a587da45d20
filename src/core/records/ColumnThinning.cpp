#include "core/records/ColumnThinning.h"

#include <algorithm>
#include <array>

namespace travik {

std::vector<std::size_t> ThinToColumns(std::span<const double> values, std::size_t columns) {
    const std::size_t n = values.size();
    std::vector<std::size_t> kept;
    if (columns == 0 || n <= 4 * columns) {
        kept.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            kept[i] = i;
        }
        return kept;
    }
    kept.reserve(4 * columns);
    for (std::size_t c = 0; c < columns; ++c) {
        const std::size_t first = c * n / columns;
        const std::size_t last = (c + 1) * n / columns - 1;
        std::size_t low = first;
        std::size_t high = first;
        for (std::size_t i = first + 1; i <= last; ++i) {
            if (values[i] < values[low]) {
                low = i;
            }
            if (values[i] > values[high]) {
                high = i;
            }
        }
        std::array<std::size_t, 4> column{first, low, high, last};
        std::sort(column.begin(), column.end());
        for (const std::size_t index : column) {
            if (kept.empty() || kept.back() != index) {
                kept.push_back(index);
            }
        }
    }
    return kept;
}

}  // namespace travik
