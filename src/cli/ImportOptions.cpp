#include "ImportOptions.h"

#include <new>
#include <optional>

#include "analysis/AnalysisSettings.h"
#include "records/BaselineCorrection.h"
#include "text/NumberParse.h"
#include "text/ShownText.h"

namespace travik::cli {
namespace {

std::optional<double> ReadNumber(const std::string& text, std::ostream& err) {
    const std::optional<double> value = TryParseNumber(text, kCommandLineDecimalPoint);
    if (!value) {
        err << NotAValidFloatingNumberMessage(text) << '\n';
    }
    return value;
}

// Whole-number options take plain decimal digits: CLI11 alone would also take "0x10" as 16,
// "0b11" as 3 and " 1" as 1, which a decimal option must not.
const CLI::Validator kDecimalDigits(
    [](std::string& text) {
        if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
            return "'" + text + "' is not a whole number written in decimal digits";
        }
        return std::string();
    },
    "DIGITS");

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

void AddReadingOptions(CLI::App& command, ImportOptions& options) {
    command
        .add_option("--format", options.format,
                    "Record file format: auto (detected from each file's first lines), free, "
                    "peer (PEER NGA AT2), csmip (CGS V1/V2), smc (USGS SMC), knet "
                    "(K-NET/KiK-net ASCII) or cosmos (COSMOS V1/V2)")
        ->capture_default_str()
        ->check(CLI::IsMember({"auto", "free", "peer", "csmip", "smc", "knet", "cosmos"}));
    options.timeStepOption =
        command
            .add_option("--dt", options.timeStep,
                        "Time step in seconds of free-format records; with a named format it "
                        "replaces the time step of the file's header")
            ->capture_default_str();
    options.scaleOption = command
                              .add_option("--scale", options.scalingFactor,
                                          "Factor applied to every value of a free-format record")
                              ->capture_default_str();
    command.add_option("--skip", options.linesToSkip, "Header lines to skip at the top of a file")
        ->capture_default_str()
        ->check(kDecimalDigits)
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
        ->check(kDecimalDigits)
        ->check(CLI::Range(1, 100));
}

void AddImportOptions(CLI::App& command, ImportOptions& options) {
    AddReadingOptions(command, options);
    command.add_option("--baseline", options.baseline, "Baseline correction of every record")
        ->capture_default_str()
        ->check(CLI::IsMember({"none", "linear", "parabolic"}));
    command.add_option("--g", options.gravity, "Gravitational acceleration in cm/sec^2")
        ->capture_default_str();
    command.add_option("--out", options.outputFolder, "Existing folder the reports are written to")
        ->capture_default_str();
    command.add_option("FILE", options.files, "Record files, read in this order")->required();
}

bool MakeReadOptions(const ImportOptions& options, RecordReadOptions& read, std::ostream& err) {
    const std::optional<double> timeStep = ReadNumber(options.timeStep, err);
    const std::optional<double> scalingFactor =
        timeStep ? ReadNumber(options.scalingFactor, err) : std::nullopt;
    if (!scalingFactor) {
        return false;
    }
    read.format = RecordFormatFromKey(options.format).value_or(RecordFormat::Free);
    read.free.timeStep = *timeStep;
    read.free.scalingFactor = *scalingFactor;
    read.free.linesToSkip = options.linesToSkip;
    read.free.delimiter = options.delimiter == "space" ? Delimiter::Space : Delimiter::Comma;
    read.free.accelerationColumn = options.accelerationColumn;
    read.free.decimalSeparator = kCommandLineDecimalPoint;
    // Named formats take their time step from the file; a given --dt is checked below.
    if (read.format == RecordFormat::Free) {
        if (const std::optional<std::string> problem = read.free.Validate()) {
            err << *problem << '\n';
            return false;
        }
    }
    const bool named = read.format != RecordFormat::Free && read.format != RecordFormat::Automatic;
    const bool timeStepGiven = options.timeStepOption && options.timeStepOption->count() > 0;
    if (read.format != RecordFormat::Free && timeStepGiven) {
        read.timeStepOverride = *timeStep;
        if (const std::string problem = read.Check(); !problem.empty()) {
            err << "--dt: " << problem << '\n';
            return false;
        }
    }
    if (named && options.scaleOption && options.scaleOption->count() > 0) {
        err << "WARNING: --scale applies to free-format files only; " << options.format
            << " files give their own units\n";
    }
    return true;
}

ImportOutcome ImportRecords(const ImportOptions& options, std::ostream& err) {
    ImportOutcome outcome;
    RecordReadOptions read;
    if (!MakeReadOptions(options, read, err)) {
        outcome.exitCode = kExitBadOption;
        return outcome;
    }
    const std::optional<double> gravity = ReadNumber(options.gravity, err);
    if (!gravity) {
        outcome.exitCode = kExitBadOption;
        return outcome;
    }
    if (!(*gravity > 0.0)) {
        err << kGravityNotPositiveMessage << '\n';
        outcome.exitCode = kExitBadOption;
        return outcome;
    }

    const auto print = [&err](const std::string& message) { err << message << '\n'; };
    outcome.readerFailed =
        !ImportRecordFilesAs(options.files, read, *gravity, outcome.records, print, print);

    const BaselineCorrectionType type = BaselineFromText(options.baseline);
    if (type == BaselineCorrectionType::None) {
        return outcome;
    }
    // A record the fit is not defined for (one sample, all zeros) stays uncorrected and is
    // reported as such; the warning names it so the user knows which one.
    for (int i = 0; i < outcome.records.Count(); ++i) {
        TimeHistory& record = outcome.records.At(i);
        bool corrected = false;
        try {
            corrected = ApplyBaselineCorrection(record, type, *gravity);
        } catch (const std::bad_alloc&) {
            err << "FILE: " << ShownText(record.SourceFileName())
                << ", ERROR: Not enough memory to correct the baseline of the record\n";
            outcome.correctionFailed = true;
            continue;
        }
        if (!corrected) {
            err << "FILE: " << ShownText(record.SourceFileName())
                << ", WARNING: " << kBaselineCorrectionFailedMessage << '\n';
            outcome.correctionFailed = true;
        }
    }
    return outcome;
}

}  // namespace travik::cli
