#include "ImportOptions.h"

#include "WholeNumberOption.h"
#include "WorkspaceOptions.h"

#include <optional>
#include <utility>
#include <vector>

#include "core/analysis/AnalysisSettings.h"
#include "core/text/NumberParse.h"

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

const char* OptionOf(FilterField field) {
    switch (field) {
        case FilterField::LowCorner:
        case FilterField::HighCorner:
            return "--corners";
        case FilterField::Order:
            return "--order";
        case FilterField::Band:
            return "--filter";
        case FilterField::Record:
            break;
    }
    return "--filter";
}

// The filter options as settings, or nothing (no filter); a rejection goes to `err` and
// sets `rejected`.
std::optional<FilterSettings> ReadFilter(const ImportOptions& options, std::ostream& err,
                                         bool& rejected) {
    rejected = false;
    if (options.filter == "none") {
        if (!options.corners.empty()) {
            err << "--corners: give the filter with --filter lowpass, highpass or bandpass\n";
            rejected = true;
        }
        return std::nullopt;
    }
    FilterSettings settings;
    settings.band = options.filter == "lowpass"    ? FilterBand::LowPass
                    : options.filter == "highpass" ? FilterBand::HighPass
                                                   : FilterBand::BandPass;
    settings.order = options.order;
    settings.acausal = options.acausal;
    const std::size_t wanted = settings.band == FilterBand::BandPass ? 2 : 1;
    const std::vector<std::string> texts = SplitAtCommas(options.corners);
    if (options.corners.empty() || texts.size() != wanted) {
        err << "--corners: " << options.filter << " takes "
            << (wanted == 2 ? "two corner frequencies F1,F2" : "one corner frequency")
            << " in Hz\n";
        rejected = true;
        return std::nullopt;
    }
    std::vector<double> corners;
    for (const std::string& text : texts) {
        const std::optional<double> value = TryParseNumber(text, kCommandLineDecimalPoint);
        if (!value) {
            err << "--corners: " << NotAValidFloatingNumberMessage(text) << '\n';
            rejected = true;
            return std::nullopt;
        }
        corners.push_back(*value);
    }
    if (settings.band == FilterBand::LowPass) {
        settings.highCorner = corners[0];
    } else {
        settings.lowCorner = corners[0];
        if (wanted == 2) {
            settings.highCorner = corners[1];
        }
    }
    // What can be checked before any record is read.
    if (const auto problem = settings.CheckSettings()) {
        err << OptionOf(problem->field) << ": " << problem->message << '\n';
        rejected = true;
        return std::nullopt;
    }
    return settings;
}

}  // namespace

void AddReadingOptions(CLI::App& command, ImportOptions& options) {
    command
        .add_option("--format", options.format,
                    "Record file format: auto (detected from each file's first lines), free, "
                    "peer (PEER NGA AT2), csmip (CGS V1/V2), smc (USGS SMC), knet "
                    "(K-NET/KiK-net ASCII), cosmos (COSMOS V1/V2) or bbp (SCEC broadband "
                    "platform acceleration, cm/s^2; velocity and displacement files are not "
                    "told apart and must not be given)")
        ->capture_default_str()
        ->check(CLI::IsMember({"auto", "free", "peer", "csmip", "smc", "knet", "cosmos", "bbp"}));
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
        ->check(PlainWholeNumber())
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
        ->check(PlainWholeNumber())
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
    command
        .add_option("--filter", options.filter,
                    "Butterworth filter after the baseline correction: none, lowpass, "
                    "highpass or bandpass")
        ->capture_default_str()
        ->check(CLI::IsMember({"none", "lowpass", "highpass", "bandpass"}));
    command.add_option("--corners", options.corners,
                       "Corner frequencies in Hz: F for a low- or high-pass, F1,F2 for a "
                       "band-pass");
    command.add_option("--order", options.order, "Filter order per corner, 1 to 8")
        ->capture_default_str()
        ->check(PlainWholeNumber());
    command.add_flag("--acausal", options.acausal,
                     "Filter forward and backward (zero phase) instead of one causal pass");
    CLI::Option* files =
        command.add_option("FILE", options.files, "Record files, read in this order");
    AddWorkspaceOption(
        command, {options.workspacePath, options.files, options.gravity, options.workspace}, files);
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

bool MakeImportPlan(const ImportOptions& options, ImportPlan& plan, std::ostream& err) {
    if (!MakeReadOptions(options, plan.read, err)) {
        return false;
    }
    const std::optional<double> gravity = ReadNumber(options.gravity, err);
    if (!gravity) {
        return false;
    }
    if (const std::optional<std::string> refused = CheckGravity(*gravity)) {
        err << *refused << '\n';
        return false;
    }
    plan.gravity = *gravity;
    bool filterRejected = false;
    plan.filter = ReadFilter(options, err, filterRejected);
    plan.baseline = BaselineFromText(options.baseline);
    return !filterRejected;
}

std::optional<std::string> FilterMisfitLine(const ImportPlan& plan, const TimeHistory& record) {
    const std::optional<FilterProblem> problem = FilterMisfit(plan, record);
    if (!problem) {
        return std::nullopt;
    }
    return std::string(OptionOf(problem->field)) + ": FILE: " + record.SourceFileName() + ", " +
           problem->message;
}

std::string AsLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

ImportOutcome ImportRecords(const ImportOptions& options, std::ostream& err) {
    ImportOutcome outcome;
    ImportPlan plan;
    if (!options.workspace && !MakeImportPlan(options, plan, err)) {
        outcome.exitCode = kExitBadOption;
        return outcome;
    }
    // A workspace's missing files are named first; the others are read all the same.
    outcome.readerFailed = TellWorkspaceNotes(options.workspace.get(), err);

    // File by file, each with its own reading when a workspace gives them; the files after
    // a failing one are not read.
    std::vector<std::pair<std::size_t, std::size_t>> places;  // file, record within it
    for (std::size_t file = 0; file < options.files.size(); ++file) {
        const int before = outcome.records.Count();
        const FileReading reading = ReadRecordFileInto(
            PlanOfFile(options.workspace.get(), plan, file), options.files[file], outcome.records);
        err << AsLines(reading.messages);
        for (int i = before; i < outcome.records.Count(); ++i) {
            places.emplace_back(file, static_cast<std::size_t>(i - before));
            outcome.recordFiles.push_back(file);
        }
        if (!reading.ok) {
            outcome.readerFailed = true;
            outcome.failedFile = file;
            break;
        }
    }
    const auto planOf = [&](int index) -> const ImportPlan& {
        const auto& [file, record] = places[static_cast<std::size_t>(index)];
        return PlanOfRecord(options.workspace.get(), plan, file, record);
    };

    // A filter that does not fit one of the records rejects the run before anything is
    // changed or written.
    for (int i = 0; i < outcome.records.Count(); ++i) {
        if (const std::optional<std::string> misfit =
                FilterMisfitLine(planOf(i), outcome.records.At(i))) {
            err << *misfit << '\n';
            outcome.exitCode = kExitBadOption;
            return outcome;
        }
    }
    for (int i = 0; i < outcome.records.Count(); ++i) {
        const RecordPreparation preparation = PrepareRecord(planOf(i), outcome.records.At(i));
        if (preparation.message) {
            err << *preparation.message << '\n';
        }
        if (preparation.filterWarning) {
            err << *preparation.filterWarning << '\n';
        }
        outcome.correctionFailed = !preparation.corrected || outcome.correctionFailed;
    }
    return outcome;
}

std::vector<std::string> SplitAtCommas(const std::string& text) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    while (true) {
        const std::string::size_type comma = text.find(',', start);
        parts.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos) {
            return parts;
        }
        start = comma + 1;
    }
}

}  // namespace travik::cli
