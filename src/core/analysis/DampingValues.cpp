#include "core/analysis/DampingValues.h"

#include <algorithm>
#include <cstddef>
#include <optional>

#include "core/text/NumberParse.h"

namespace travik {

DampingReadResult ReadDampingRatios(const std::vector<std::string>& editTexts, int count,
                                    char decimalSeparator, std::vector<double>& ratios) {
    ratios.clear();
    const int edits = std::min(count, kMaxDampingValues);
    for (int index = 0; index < edits; ++index) {
        const auto position = static_cast<std::size_t>(index);
        // A missing edit reads as an empty one, which is not a number.
        const std::string text = position < editTexts.size() ? editTexts[position] : std::string();
        const std::optional<double> percent = TryParseNumber(text, decimalSeparator);
        if (!percent) {
            return {false, NotAValidFloatingNumberMessage(text), index};
        }
        const double ratio = *percent * 0.01;
        // Only the upper bound is checked: critical damping and beyond have no oscillation
        // to speak of, while zero and negative damping are the user's choice.
        if (!(ratio < 1)) {
            return {false, kDampingRatioTooLargeMessage, index};
        }
        ratios.push_back(ratio);
    }
    return {};
}

void SortAndRemoveRepeatedRatios(std::vector<double>& ratios) {
    std::sort(ratios.begin(), ratios.end());
    ratios.erase(std::unique(ratios.begin(), ratios.end()), ratios.end());
}

}  // namespace travik
