#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/suite/ScalingOptions.h"
#include "core/suite/ScalingTarget.h"

// What the "Scale to Target" dialog edits, as its controls hold it: texts as typed (with
// the window's decimal separator) and the choices' indexes. The member initialisers are the
// dialog's first values.
struct ScaleFields {
    enum class Target { Asce, Eurocode, File };
    enum class Range { Periods, FundamentalPeriod };

    Target target = Target::Asce;
    std::string sds = "1";  // S_DS, g
    std::string sd1 = "0.6";
    std::string longPeriod = "8";  // T_L, s
    int eurocodeType = 0;          // 0: type 1, 1: type 2
    int ground = 1;                // 0 .. 4: A .. E
    std::string ag = "0.25";       // g
    std::string xi = "5";          // the elastic spectrum's damping, percent
    std::string file;              // target spectrum file: period (s) and Sa (g) per line

    Range range = Range::Periods;
    std::string minPeriod = "0.2";  // s
    std::string maxPeriod = "3";
    std::string fundamentalPeriod = "1";  // T1, s: the range 0.2 T1 to 2 T1

    travik::SuiteRule rule = travik::SuiteRule::Asce7;
    // PSa of single records, or a RotD measure of the pairs the checked records form.
    travik::ScalingMeasure measure = travik::ScalingMeasure::Psa;
    std::string damping = "5";  // of the records' spectra, percent
    travik::ScalingWeights weights = travik::ScalingWeights::Uniform;
    bool limits = false;
    std::string minFactor = "0.25";
    std::string maxFactor = "4";
    bool atPeriod = false;
    std::string scalingPeriod = "1";  // s
    int select = 0;                   // 0: every record
    int maxPerStation = 0;            // 0: no limit
};

// The dialog's values read and checked: the target, the scaling options and the damping of
// the records' spectra, or the message of the first refusal and the objectName of the
// control to fix.
struct ScaleRequest {
    std::optional<travik::ScalingTarget> target;
    travik::ScalingOptions options;
    double dampingRatio = 0.05;
    std::string message;
    std::string field;

    bool ok() const { return message.empty(); }
};

// The EN 1998-1 and ASCE/SEI 7-22 ranges from a fundamental period T1: 0.2 T1 to 2 T1.
inline constexpr double kRangeBelowT1 = 0.2;
inline constexpr double kRangeAboveT1 = 2.0;

// Reads `fields` with `decimalSeparator`, checks the target with its own check and the
// options against the analysis `periods` and the `recordCount` motions to scale (records for
// PSa, pairs for a RotD measure). A target
// file is read here (its errors name file and line).
ScaleRequest ReadScaleRequest(const ScaleFields& fields, const std::vector<double>& periods,
                              int recordCount, char decimalSeparator);
