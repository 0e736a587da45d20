#include "ImportOptions.h"

#include <optional>

#include "records/BaselineCorrection.h"
#include "text/NumberParse.h"

namespace travik::cli {
namespace {

std::optional<double> ReadNumber(const std::string& text, std::ostream& err) {
    const std::optional<double> value = TryParseNumber(text, kCommandLineDecimalPoint);
    if (!value) {
        err << NotAValidFloatingNumberMessage(text) << '\n';
    }
    return value;
}

BaselineCorrectionType BaselineFromText(const std::string& text) {
    if (text == "linear") {
        return BaselineCorrectionType::Linear;
    }
    if (text == "parabolic") {
        return BaselineCorrectionType::Parabolic;
    }
    return BaselineCorrectionType::None;
}

}  // namespace

void AddImportOptions(CLI::App& command, ImportOptions& options) {
    command.add_option("--dt", options.timeStep, "Time step of the records in seconds")
        ->capture_default_str();
    command.add_option("--scale", options.scalingFactor, "Factor applied to every value read")
        ->capture_default_str();
    command.add_option("--skip", options.linesToSkip, "Header lines to skip at the top of a file")
        ->capture_default_str()
        ->check(CLI::Range(0, 100));
    command
        .add_option("--delimiter", options.delimiter,
                    "Field separator: comma, or space (blanks and tabs)")
        ->capture_default_str()
        ->check(CLI::IsMember({"comma", "space"}));
    command
        .add_option("--column", options.accelerationColumn,
                    "Field holding the acceleration in g, counted from 1")
        ->capture_default_str()
        ->check(CLI::Range(1, 100));
    command.add_option("--baseline", options.baseline, "Baseline correction of every record")
        ->capture_default_str()
        ->check(CLI::IsMember({"none", "linear", "parabolic"}));
    command.add_option("--g", options.gravity, "Gravitational acceleration in cm/sec^2")
        ->capture_default_str();
    command.add_option("--out", options.outputFolder, "Existing folder the reports are written to")
        ->capture_default_str();
    command.add_option("FILE", options.files, "Record files, read in this order")->required();
}

ImportOutcome ImportRecords(const ImportOptions& options, std::ostream& err) {
    ImportOutcome outcome;
    const std::optional<double> timeStep = ReadNumber(options.timeStep, err);
    const std::optional<double> scalingFactor =
        timeStep ? ReadNumber(options.scalingFactor, err) : std::nullopt;
    const std::optional<double> gravity =
        scalingFactor ? ReadNumber(options.gravity, err) : std::nullopt;
    if (!gravity) {
        outcome.exitCode = kExitBadOption;
        return outcome;
    }
    if (!(*gravity > 0.0)) {
        err << "--g: the gravitational acceleration must be greater than 0\n";
        outcome.exitCode = kExitBadOption;
        return outcome;
    }

    FreeFormatParameters parameters;
    parameters.timeStep = *timeStep;
    parameters.scalingFactor = *scalingFactor;
    parameters.linesToSkip = options.linesToSkip;
    parameters.delimiter = options.delimiter == "space" ? Delimiter::Space : Delimiter::Comma;
    parameters.accelerationColumn = options.accelerationColumn;
    parameters.decimalSeparator = kCommandLineDecimalPoint;

    outcome.readerFailed =
        !ImportRecordFiles(options.files, parameters, *gravity, outcome.records,
                           [&err](const std::string& message) { err << message << '\n'; });

    const BaselineCorrectionType type = BaselineFromText(options.baseline);
    if (type == BaselineCorrectionType::None) {
        return outcome;
    }
    // A record the fit is not defined for (one sample, all zeros) stays uncorrected and is
    // reported as such; the warning names it so the user knows which one.
    for (int i = 0; i < outcome.records.Count(); ++i) {
        TimeHistory& record = outcome.records.At(i);
        if (!ApplyBaselineCorrection(record, type, *gravity)) {
            err << "FILE: " << record.SourceFileName()
                << ", WARNING: " << kBaselineCorrectionFailedMessage << '\n';
            outcome.correctionFailed = true;
        }
    }
    return outcome;
}

}  // namespace travik::cli
