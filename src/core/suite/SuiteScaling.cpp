#include "core/suite/SuiteScaling.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <utility>

#include "core/text/NumberFormat.h"

namespace travik {
namespace {

// The rule counts as met when the mean falls short of it by no more than rounding.
constexpr double kRuleTolerance = 1e-9;
// ASCE/SEI 7-22 §16.2.3.2 and EN 1998-1 §3.2.3.1.2(4): the mean spectrum at least 90 % of
// the target over the range.
constexpr double kSpectralShare = 0.9;

bool Positive(double x) {
    return std::isfinite(x) && x > 0;
}

void Fail(SuiteScaling& s, ScalingFailure failure, std::string message) {
    s.failure = failure;
    s.message = std::move(message);
}

// Checks that the target and every motion are positive wherever they are used.
bool CheckValues(SuiteScaling& s) {
    for (const std::size_t k : s.range.indices) {
        if (!Positive(s.targetSa[k])) {
            Fail(s, ScalingFailure::BadTarget,
                 "The target " + s.target.Name() + " has no positive value at the period " +
                     FormatGeneral(s.periods[k]) + " s of the range");
            return false;
        }
    }
    if (s.options.rule == SuiteRule::Ec8 && !Positive(s.targetPga)) {
        Fail(s, ScalingFailure::BadTarget,
             "The target " + s.target.Name() + " has no positive value at T = 0 for the PGA check");
        return false;
    }
    for (const SuiteMember& m : s.members) {
        if (m.sa.size() != s.periods.size()) {
            Fail(s, ScalingFailure::BadMotion, "The spectrum of " + m.name + " is incomplete");
            return false;
        }
        for (const std::size_t k : s.range.indices) {
            if (!Positive(m.sa[k])) {
                Fail(s, ScalingFailure::BadMotion,
                     "The spectrum of " + m.name + " is zero at the period " +
                         FormatGeneral(s.periods[k]) + " s: it cannot be scaled");
                return false;
            }
        }
    }
    return true;
}

bool FitMembers(SuiteScaling& s) {
    s.scaled.resize(s.members.size());
    for (std::size_t r = 0; r < s.members.size(); ++r) {
        const SuiteMember& m = s.members[r];
        std::optional<double> atFactor;
        if (s.options.atPeriod) {
            const double t = *s.options.atPeriod;
            atFactor = s.target.Sa(t) / InterpolateLogLog(s.periods, m.sa, t);
            if (!Positive(*atFactor)) {
                Fail(s, ScalingFailure::BadMotion,
                     "The spectrum of " + m.name + " is zero near the scaling period " +
                         FormatGeneral(t) + " s: it cannot be scaled");
                return false;
            }
        }
        const RecordFit fit = FitRecord(m.sa, s.targetSa, s.range, atFactor, s.options);
        s.scaled[r].individualFactor = fit.factor;
        s.scaled[r].mse = fit.mse;
    }
    return true;
}

// Ranks by error and marks the selection; false when the station limit leaves too few.
bool Select(SuiteScaling& s) {
    std::vector<std::size_t> order(s.members.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return s.scaled[a].mse < s.scaled[b].mse;
    });
    const int wanted =
        s.options.selectCount > 0 ? s.options.selectCount : static_cast<int>(s.members.size());
    std::map<std::string, int> perStation;
    int taken = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        ScaledMember& member = s.scaled[order[i]];
        member.rank = static_cast<int>(i) + 1;
        int& fromStation = perStation[s.members[order[i]].station];
        if (taken < wanted &&
            (s.options.maxPerStation == 0 || fromStation < s.options.maxPerStation)) {
            member.selected = true;
            ++fromStation;
            ++taken;
        }
    }
    if (taken < wanted) {
        Fail(s, ScalingFailure::BadOptions,
             "Only " + FormatInteger(taken) + " of the " + FormatInteger(wanted) +
                 " records asked for can be selected with at most " +
                 FormatInteger(s.options.maxPerStation) + " per station");
        return false;
    }
    return true;
}

// The mean over the selected motions of factor * value(member).
template <typename Value>
double SelectedMean(const SuiteScaling& s, bool total, Value value) {
    double sum = 0.0;
    int count = 0;
    for (std::size_t r = 0; r < s.members.size(); ++r) {
        if (s.scaled[r].selected) {
            const ScaledMember& m = s.scaled[r];
            sum += (total ? m.totalFactor : m.individualFactor) * value(s.members[r]);
            ++count;
        }
    }
    return sum / count;
}

// The common factor that meets the rule with equality over the individually scaled
// selection: the largest need over the range (and, for ec8, the PGA's need).
double RuleFactor(const SuiteScaling& s) {
    if (s.options.rule == SuiteRule::None) {
        return 1.0;
    }
    double need = 0.0;
    for (const std::size_t k : s.range.indices) {
        const double mean = SelectedMean(s, false, [k](const SuiteMember& m) { return m.sa[k]; });
        need = std::max(need, kSpectralShare * s.targetSa[k] / mean);
    }
    if (s.options.rule == SuiteRule::Ec8) {
        const double meanPga = SelectedMean(s, false, [](const SuiteMember& m) { return m.pga; });
        need = std::max(need, s.targetPga / meanPga);
    }
    return need;
}

void ApplyRule(SuiteScaling& s) {
    s.suiteFactor = RuleFactor(s);
    for (ScaledMember& m : s.scaled) {
        const double wanted = m.individualFactor * s.suiteFactor;
        m.totalFactor = ClampFactor(wanted, s.options);
        m.suiteFactor = m.totalFactor / m.individualFactor;
        if (m.selected && m.totalFactor != wanted) {
            s.limitsHeld = true;
        }
    }
}

void Tabulate(SuiteScaling& s) {
    for (const std::size_t k : s.range.indices) {
        ScalingRow row{s.periods[k], s.targetSa[k], 0.0, INFINITY, -INFINITY};
        row.mean = SelectedMean(s, true, [k](const SuiteMember& m) { return m.sa[k]; });
        for (std::size_t r = 0; r < s.members.size(); ++r) {
            if (s.scaled[r].selected) {
                const double v = s.scaled[r].totalFactor * s.members[r].sa[k];
                row.smallest = std::min(row.smallest, v);
                row.largest = std::max(row.largest, v);
            }
        }
        s.rows.push_back(row);
        if (s.options.rule != SuiteRule::None &&
            row.mean < kSpectralShare * row.target * (1 - kRuleTolerance)) {
            s.failingPeriods.push_back(row.period);
        }
    }
    s.meanPga = SelectedMean(s, true, [](const SuiteMember& m) { return m.pga; });
    s.pgaFails = s.options.rule == SuiteRule::Ec8 && s.meanPga < s.targetPga * (1 - kRuleTolerance);
    s.ruleMet = s.failingPeriods.empty() && !s.pgaFails;
}

void WarnOfCount(SuiteScaling& s) {
    const int least = MinimumMotions(s.options.rule);
    const int count = s.SelectedCount();
    if (count >= least) {
        return;
    }
    const char* clause =
        s.options.rule == SuiteRule::Asce7 ? "ASCE/SEI 7-22 §16.2.2" : "EN 1998-1 §3.2.3.1.2(4)";
    s.warnings.push_back("The suite holds " + FormatInteger(count) +
                         (count == 1 ? " motion" : " motions") + "; " + clause +
                         " asks for at least " + FormatInteger(least));
}

}  // namespace

int SuiteScaling::SelectedCount() const {
    return static_cast<int>(std::count_if(scaled.begin(), scaled.end(),
                                          [](const ScaledMember& m) { return m.selected; }));
}

SuiteScaling ScaleSuite(const std::vector<double>& periods, std::vector<SuiteMember> members,
                        const ScalingTarget& target, const ScalingOptions& options) {
    SuiteScaling s;
    s.options = options;
    s.target = target;
    s.periods = periods;
    s.members = std::move(members);
    if (const std::string problem = options.Check(periods, static_cast<int>(s.members.size()));
        !problem.empty()) {
        Fail(s, ScalingFailure::BadOptions, problem);
        return s;
    }
    if (s.members.empty()) {
        Fail(s, ScalingFailure::BadOptions, "No record to scale");
        return s;
    }
    for (const double t : periods) {
        s.targetSa.push_back(target.Sa(t));
    }
    s.targetPga = target.Sa(0.0);
    s.range = WeighRange(periods, options.minPeriod, options.maxPeriod, options.weights);
    if (s.range.indices.empty()) {
        Fail(s, ScalingFailure::BadOptions,
             "No analysis period lies inside the range " + FormatGeneral(options.minPeriod) +
                 " to " + FormatGeneral(options.maxPeriod) + " s");
        return s;
    }
    if (!CheckValues(s)) {
        return s;
    }
    if (options.atPeriod && !Positive(target.Sa(*options.atPeriod))) {
        Fail(s, ScalingFailure::BadTarget,
             "The target " + target.Name() + " has no positive value at the scaling period " +
                 FormatGeneral(*options.atPeriod) + " s");
        return s;
    }
    if (!FitMembers(s) || !Select(s)) {
        return s;
    }
    ApplyRule(s);
    Tabulate(s);
    WarnOfCount(s);
    return s;
}

}  // namespace travik
