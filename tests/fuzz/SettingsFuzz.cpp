// The analysis settings check on arbitrary edit texts. Lines of the input are the edits in
// the window's order; the first byte picks the method and the decimal separator. Whatever
// is accepted must satisfy the invariants the integrators and the period list rely on.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzChecks.h"
#include "core/analysis/AnalysisSettings.h"
#include "core/analysis/PeriodList.h"
#include "core/analysis/SpectraComputation.h"

using travik::fuzz::Require;
using travik::fuzz::RequireShowable;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const char separator = (data[0] & 2) != 0 ? ',' : '.';
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::vector<std::string> fields;
    while (fields.size() < 7) {
        const std::size_t end = rest.find('\n');
        fields.emplace_back(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    travik::AnalysisSettingsTexts texts;
    texts.minPeriod = fields[0];
    texts.maxPeriod = fields[1];
    texts.periodStep = fields[2];
    texts.maxDtOverT = fields[3];
    texts.beta = fields[4];
    texts.gamma = fields[5];
    texts.g = fields[6];
    texts.method = (data[0] & 1) != 0 ? travik::IntegrationMethod::Newmark
                                      : travik::IntegrationMethod::PiecewiseExact;

    const travik::AnalysisSettings current;
    const travik::SettingsUpdateResult result =
        travik::UpdateAnalysisSettings(texts, current, separator);
    if (!result.accepted) {
        Require(result.focus != travik::SettingsField::None, "a refusal without a field");
        RequireShowable(result.message, "settings message not showable");
        return 0;
    }
    const travik::AnalysisSettings& s = result.settings;
    Require(s.minPeriod > 0 && s.maxPeriod > s.minPeriod, "period range");
    Require(s.periodStep > 0 && s.periodStep <= s.maxPeriod - s.minPeriod, "period step");
    Require(s.maxDtOverT > 0 && s.g > 0, "ratio and g");
    const std::vector<double> periods = s.Periods();
    Require(periods.size() <= travik::kMaxPeriodCount, "more periods than the limit");
    Require(static_cast<double>(periods.size()) ==
                travik::PeriodCountOf(s.minPeriod, s.maxPeriod, s.periodStep),
            "period count differs from the list");
    for (std::size_t i = 1; i < periods.size(); ++i) {
        Require(periods[i] > periods[i - 1], "periods not ascending");
    }
    return 0;
}
