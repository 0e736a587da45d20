#include "ui/suite/ScaleRequest.h"

#include <utility>

#include "core/spectra/TargetSpectrumReader.h"
#include "core/text/NumberParse.h"

namespace {

using travik::ScalingTarget;

ScaleRequest Refuse(std::string message, std::string field) {
    ScaleRequest request;
    request.message = std::move(message);
    request.field = std::move(field);
    return request;
}

// A number from a field's text, or a refusal naming the field.
struct FieldNumber {
    std::optional<double> value;
    std::optional<ScaleRequest> refusal;
};

FieldNumber Number(const std::string& text, const char* name, const char* field,
                   char decimalSeparator) {
    const std::optional<double> value = travik::TryParseNumber(text, decimalSeparator);
    if (!value) {
        return {std::nullopt,
                Refuse(std::string(name) + ": \"" + text + "\" is not a number", field)};
    }
    return {value, std::nullopt};
}

std::optional<ScaleRequest> ReadTarget(const ScaleFields& fields, char separator,
                                       ScalingTarget& target) {
    if (fields.target == ScaleFields::Target::File) {
        if (fields.file.empty()) {
            return Refuse("Target file: choose the file of the target spectrum",
                          "edtScaleTargetFile");
        }
        target.kind = ScalingTarget::Kind::File;
        try {
            target.file = travik::ReadTargetSpectrumFile(fields.file);
        } catch (const travik::TargetSpectrumError& error) {
            return Refuse(error.what(), "edtScaleTargetFile");
        }
        return std::nullopt;
    }
    if (fields.target == ScaleFields::Target::Asce) {
        target.kind = ScalingTarget::Kind::Asce;
        const FieldNumber sds = Number(fields.sds, "S_DS", "edtScaleSds", separator);
        const FieldNumber sd1 = Number(fields.sd1, "S_D1", "edtScaleSd1", separator);
        const FieldNumber tl = Number(fields.longPeriod, "T_L", "edtScaleTl", separator);
        for (const FieldNumber* number : {&sds, &sd1, &tl}) {
            if (number->refusal) {
                return number->refusal;
            }
        }
        target.asce = {*sds.value, *sd1.value, *tl.value};
        if (const std::string problem = target.asce.Check(); !problem.empty()) {
            const char* field = problem.starts_with("T_L")    ? "edtScaleTl"
                                : problem.starts_with("S_D1") ? "edtScaleSd1"
                                                              : "edtScaleSds";
            return Refuse("ASCE/SEI 7-22 target: " + problem, field);
        }
        return std::nullopt;
    }
    target.kind = ScalingTarget::Kind::Eurocode;
    const FieldNumber ag = Number(fields.ag, "a_g", "edtScaleAg", separator);
    const FieldNumber xi = Number(fields.xi, "Damping of the target", "edtScaleXi", separator);
    for (const FieldNumber* number : {&ag, &xi}) {
        if (number->refusal) {
            return number->refusal;
        }
    }
    target.eurocode.type = fields.eurocodeType == 1 ? travik::EurocodeSpectrumType::Type2
                                                    : travik::EurocodeSpectrumType::Type1;
    target.eurocode.ground = static_cast<travik::EurocodeGroundType>(fields.ground);
    target.eurocode.ag = *ag.value;
    target.eurocode.dampingPercent = *xi.value;
    if (const std::string problem = target.eurocode.Check(); !problem.empty()) {
        return Refuse("EN 1998-1 target: " + problem,
                      problem.starts_with("The damping") ? "edtScaleXi" : "edtScaleAg");
    }
    return std::nullopt;
}

std::optional<ScaleRequest> ReadRange(const ScaleFields& fields, char separator,
                                      travik::ScalingOptions& options) {
    if (fields.range == ScaleFields::Range::FundamentalPeriod) {
        const FieldNumber t1 = Number(fields.fundamentalPeriod, "T1", "edtScaleT1", separator);
        if (t1.refusal) {
            return t1.refusal;
        }
        if (!(*t1.value > 0)) {
            return Refuse("T1 must be greater than zero", "edtScaleT1");
        }
        options.minPeriod = kRangeBelowT1 * *t1.value;
        options.maxPeriod = kRangeAboveT1 * *t1.value;
        return std::nullopt;
    }
    const FieldNumber tmin = Number(fields.minPeriod, "Tmin", "edtScaleTmin", separator);
    const FieldNumber tmax = Number(fields.maxPeriod, "Tmax", "edtScaleTmax", separator);
    if (tmin.refusal || tmax.refusal) {
        return tmin.refusal ? tmin.refusal : tmax.refusal;
    }
    options.minPeriod = *tmin.value;
    options.maxPeriod = *tmax.value;
    return std::nullopt;
}

std::optional<ScaleRequest> ReadFactors(const ScaleFields& fields, char separator,
                                        ScaleRequest& request) {
    const FieldNumber damping =
        Number(fields.damping, "Damping of the records", "edtScaleDamping", separator);
    if (damping.refusal) {
        return damping.refusal;
    }
    if (!(*damping.value >= 0 && *damping.value < 100)) {
        return Refuse("Damping of the records: give 0 to less than 100 percent", "edtScaleDamping");
    }
    request.dampingRatio = *damping.value / 100;
    if (fields.limits) {
        const FieldNumber fmin = Number(fields.minFactor, "fmin", "edtScaleFmin", separator);
        const FieldNumber fmax = Number(fields.maxFactor, "fmax", "edtScaleFmax", separator);
        if (fmin.refusal || fmax.refusal) {
            return fmin.refusal ? fmin.refusal : fmax.refusal;
        }
        request.options.minFactor = fmin.value;
        request.options.maxFactor = fmax.value;
    }
    if (fields.atPeriod) {
        const FieldNumber at =
            Number(fields.scalingPeriod, "Scaling period", "edtScaleAtPeriod", separator);
        if (at.refusal) {
            return at.refusal;
        }
        request.options.atPeriod = at.value;
    }
    return std::nullopt;
}

// The control that holds what an options check refused.
const char* FieldOfOptionProblem(const std::string& problem, const ScaleFields& fields) {
    if (problem.starts_with("Cannot select")) {
        return "spnScaleSelect";
    }
    if (problem.starts_with("The records per station")) {
        return "spnScaleMaxPerStation";
    }
    if (problem.starts_with("The scaling period")) {
        return "edtScaleAtPeriod";
    }
    if (problem.find("fmax > 0") != std::string::npos) {
        return "edtScaleFmax";
    }
    if (problem.find("factor") != std::string::npos || problem.find("fmin") != std::string::npos ||
        problem.find("fmax") != std::string::npos) {
        return "edtScaleFmin";
    }
    if (fields.range == ScaleFields::Range::FundamentalPeriod) {
        return "edtScaleT1";
    }
    return problem.starts_with("Tmax") ? "edtScaleTmax" : "edtScaleTmin";
}

}  // namespace

ScaleRequest ReadScaleRequest(const ScaleFields& fields, const std::vector<double>& periods,
                              int recordCount, char decimalSeparator) {
    ScaleRequest request;
    ScalingTarget target;
    if (std::optional<ScaleRequest> refusal = ReadTarget(fields, decimalSeparator, target)) {
        return std::move(*refusal);
    }
    if (std::optional<ScaleRequest> refusal =
            ReadRange(fields, decimalSeparator, request.options)) {
        return std::move(*refusal);
    }
    if (std::optional<ScaleRequest> refusal = ReadFactors(fields, decimalSeparator, request)) {
        return std::move(*refusal);
    }
    request.options.rule = fields.rule;
    request.options.measure = fields.measure;
    request.options.weights = fields.weights;
    request.options.selectCount = fields.select;
    request.options.maxPerStation = fields.maxPerStation;
    if (const std::string problem = request.options.Check(periods, recordCount); !problem.empty()) {
        const bool fromT1 = fields.range == ScaleFields::Range::FundamentalPeriod &&
                            FieldOfOptionProblem(problem, fields) == std::string("edtScaleT1");
        return Refuse(fromT1 ? "T1 gives the range 0.2 T1 to 2 T1: " + problem : problem,
                      FieldOfOptionProblem(problem, fields));
    }
    request.target = target;
    return request;
}
